#!/usr/bin/env bash
# Makes the release files of a built tree into dist/ (called by `make release`):
#   tools/make-release.sh BUILD_DIR
#   dist/VornikDesktop-VERSION-win64.zip    the program and its files, ready to run
#   dist/VornikDesktop-VERSION-setup.exe    the per-user installer (NSIS)
#   dist/SHA256SUMS                         checksums of both
# Every file time is the time of the commit the tree is at, so building twice from the same
# commit gives the same bytes.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
version=$(head -n 1 "$here/VERSION")
bin="$build/win/bin"
dist="$here/dist"
name="VornikDesktop-$version"
stage="$build/release/$name"
epoch=$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 1767225600)

rm -rf "$build/release" && mkdir -p "$stage" "$dist"
cp "$bin/VornikDesktop.exe" "$bin/notok.ico" "$bin/ok.ico" "$bin/yellow.ico" "$bin/red.ico" \
   "$bin/sound.wav" "$stage/"
# Text files as Windows editors read them: UTF-8 with a byte-order mark, CR LF lines.
for f in "$here/tools/release/README.txt" "$here/LICENSE"; do
  { printf '\357\273\277'; sed 's/\r$//; s/$/\r/' "$f"; } > "$stage/$(basename "$f")"
done
# The installer's icon (not part of the zip).
icon_dir="$build/release/installer"
mkdir -p "$icon_dir"
cp "$bin/VornikDesktop.ico" "$icon_dir/"
find "$build/release" -exec touch -h -d "@$epoch" {} +

zip_file="$dist/$name-win64.zip"
rm -f "$zip_file"
( cd "$build/release" && find "$name" -type f | LC_ALL=C sort |
    TZ=UTC zip -X -D -q -9 "$zip_file" -@ )
touch -d "@$epoch" "$zip_file"

# NSIS reads the program's files from the stage and the icon beside them.
cp "$icon_dir/VornikDesktop.ico" "$stage/VornikDesktop.ico"
touch -h -d "@$epoch" "$stage/VornikDesktop.ico"
setup_file="$dist/$name-setup.exe"
SOURCE_DATE_EPOCH=$epoch makensis -V2 -INPUTCHARSET UTF8 \
  "-DVERSION=$version" "-DSTAGE=$stage" "-DOUTFILE=$setup_file" \
  "$here/tools/release/VornikDesktop.nsi"
touch -d "@$epoch" "$setup_file"

( cd "$dist" && sha256sum "$name-win64.zip" "$name-setup.exe" > SHA256SUMS )
touch -d "@$epoch" "$dist/SHA256SUMS"
echo "release: $(cd "$dist" && ls -l "$name-win64.zip" "$name-setup.exe" | awk '{print $5, $9}' | tr '\n' ';')"
