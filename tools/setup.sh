#!/usr/bin/env bash
# Installs whatever the build and the tests need and is missing; does nothing when all is
# present, so `make run` and `make test` call it every time.
#   tools/setup.sh BUILD_DIR
# Debian packages come from apt; libjpeg-turbo for mingw is built from Debian's source
# package into BUILD_DIR/deps/mingw (there is no Debian package of it for mingw).
set -euo pipefail

build_dir=${1:-build}
mkdir -p "$build_dir"
build_dir=$(cd "$build_dir" && pwd)
deps="$build_dir/deps"

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev zlib1g-dev libjpeg62-turbo-dev libpng-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 xvfb xauth imagemagick dpkg-dev fonts-wine nsis zip unzip python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

apt_updated=0
apt_update() {
  [ "$apt_updated" -eq 1 ] && return
  "${sudo_cmd[@]}" apt-get update -q
  apt_updated=1
}

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Runs one step of the set-up quietly into $log; when it fails, says which step and shows the
# end of what it printed, then stops.
step() {
  local what=$1
  shift
  echo "setup: $what" >>"$log"
  if ! "$@" >>"$log" 2>&1; then
    echo "setup: failed while $what; the last lines of $log:" >&2
    tail -n 25 "$log" >&2
    exit 1
  fi
}

# --- libjpeg-turbo for mingw, from Debian's source package -------------------------------
jpeg_prefix="$deps/mingw"
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  src_list=/etc/apt/sources.list.d/vornik-deb-src.sources
  if ! apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1; then
    # Derive a deb-src entry from the machine's own apt sources.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        "${sudo_cmd[@]}" tee "$src_list" >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/vornik-deb-src.list >/dev/null
    fi
    apt_updated=0
    apt_update
  fi
  rm -rf "$deps/src/jpeg" && mkdir -p "$deps/src/jpeg"
  log="$deps/src/jpeg/setup.log"
  here=$(cd "$(dirname "$0")/.." && pwd)
  step "fetching Debian's libjpeg-turbo source package" \
    bash -c 'cd "$1" && apt-get source -q --download-only libjpeg-turbo' _ "$deps/src/jpeg"
  step "unpacking it" \
    bash -c 'cd "$1" && dpkg-source -x --skip-patches ./*.dsc tree' _ "$deps/src/jpeg"
  step "configuring libjpeg-turbo for mingw" \
    cmake -S "$deps/src/jpeg/tree" -B "$deps/src/jpeg/build" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
      -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -Wno-dev
  step "building and installing it" cmake --build "$deps/src/jpeg/build" --target install
  rm -rf "$deps/src/jpeg/tree"
  echo "setup: libjpeg-turbo for mingw is in $jpeg_prefix"
fi
