#!/usr/bin/env bash
# The release as a Windows user gets it, under Wine in a prefix of its own:
#   tests/release/run-release-test.sh BUILD_DIR     (after `make release`)
# installs dist/VornikDesktop-VERSION-setup.exe silently, checks the installed files, the
# Start-menu shortcut and the uninstall entry, starts the installed program and adds a task,
# installs the same version over it (the task is kept), uninstalls silently (the program goes,
# save.txt stays), then unpacks the zip and starts the program from there.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)
. "$here/tools/wine-env.sh" "$build"
export WINEPREFIX="$build/release-prefix"
# No desktop menu entries on the Linux side for the installer's shortcuts.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
trap vornik_stop_display EXIT
vornik_start_display
rm -rf "$WINEPREFIX"
vornik_prepare_prefix

version=$(head -n 1 "$here/VERSION")
setup="$here/dist/VornikDesktop-$version-setup.exe"
zip="$here/dist/VornikDesktop-$version-win64.zip"
driver="$build/win/bin/e2e_driver.exe"
failed=0
passed=0
check() {  # check WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then echo "  ok   $what"; passed=$((passed + 1))
  else echo "  FAIL $what"; failed=$((failed + 1)); fi
}
wine_run() { "$VORNIK_WINE" "$@"; local rc=$?; wineserver -w; return $rc; }
unix_path() { "$VORNIK_WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
win_env() { "$VORNIK_WINE" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }

[ -f "$setup" ] && [ -f "$zip" ] || { echo "no release in dist/ (make release)"; exit 1; }
( cd "$here/dist" && sha256sum --quiet -c SHA256SUMS ) || { echo "SHA256SUMS does not match"; exit 1; }

echo "install"
local_app=$(win_env LOCALAPPDATA)
win_dir="$local_app\\Programs\\Vornik Desktop"
dir=$(unix_path "$win_dir")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\VornikDesktop'
check "the installer runs silently" wine_run "$setup" /S
for f in VornikDesktop.exe notok.ico ok.ico yellow.ico red.ico sound.wav README.txt LICENSE Uninstall.exe; do
  check "$f is installed" test -f "$dir/$f"
done
check "the installed program is the built one" cmp -s "$dir/VornikDesktop.exe" "$build/win/bin/VornikDesktop.exe"
menu=$(unix_path "$(win_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
check "the Start-menu shortcut exists" test -f "$menu/Vornik Desktop.lnk"
check "there is no desktop shortcut unless asked for" test ! -e "$(unix_path "$(win_env USERPROFILE)\\Desktop")/Vornik Desktop.lnk"
entry=$("$VORNIK_WINE" reg query "$key" 2>/dev/null | tr -d '\r')
check "the uninstall entry names the program" grep -q 'DisplayName.*Vornik Desktop' <<<"$entry"
check "and its version" grep -q "DisplayVersion.*$version" <<<"$entry"
check "and its uninstaller" grep -q 'UninstallString.*Uninstall.exe' <<<"$entry"

echo "the installed program"
check "it starts with the skin and keeps a task" wine_run "$driver" --smoke "$win_dir\\VornikDesktop.exe" "Installed task"
cp "$dir/save.txt" "$build/release/save-before.txt" 2>/dev/null

echo "install over it"
check "the installer runs again over the installed program" wine_run "$setup" /S
check "save.txt is kept" cmp -s "$dir/save.txt" "$build/release/save-before.txt"
check "and the program is still there" test -f "$dir/VornikDesktop.exe"

echo "uninstall"
check "the uninstaller runs silently" wine_run "$dir/Uninstall.exe" /S
for f in VornikDesktop.exe notok.ico sound.wav README.txt Uninstall.exe; do
  check "$f is gone" test ! -e "$dir/$f"
done
check "save.txt is kept" cmp -s "$dir/save.txt" "$build/release/save-before.txt"
check "the Start-menu shortcut is gone" test ! -e "$menu/Vornik Desktop.lnk"
check "the uninstall entry is gone" bash -c "! '$VORNIK_WINE' reg query '$key' >/dev/null 2>&1"

echo "the portable zip"
unpacked="$WINEPREFIX/drive_c/portable"
rm -rf "$unpacked" && mkdir -p "$unpacked"
check "the zip unpacks" unzip -q "$zip" -d "$unpacked"
check "the unpacked program starts with the skin and keeps a task" \
  wine_run "$driver" --smoke "C:\\portable\\VornikDesktop-$version\\VornikDesktop.exe" "Portable task"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
