#!/usr/bin/env bash
# End-to-end run of the real program under Wine:  tests/e2e/run-e2e.sh BUILD_DIR
# Copies VornikDesktop.exe and its files into a fresh folder, lets e2e_driver.exe drive it
# and keeps the screenshots as BUILD_DIR/e2e/*.png (main window, the add button before and
# under the pointer, time-limit dialog, red row,
# window restored from the tray, the tray menu, the window, its menu and the dialog in Quarn
# Night, the skinned error box and save dialog), then reads the CSV export back with Python's
# CSV reader (tests/e2e/check-export.py). Last, the program at 100, 125, 150 and 200 % display
# scale: BUILD_DIR/e2e/scale-PERCENT-{main,menu,dialog,message}.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)
. "$here/tools/wine-env.sh" "$build"
# A screen large enough for the window at 200 % display scale (when this starts the display).
export VORNIK_SCREEN=${VORNIK_SCREEN:-2880x1800x24}
vornik_start_display
bin="$build/win/bin"
out="$build/e2e"
run="$out/run"

# A fresh folder DIR holding the program, its files and the driver.
copy_program() {
  rm -rf "$1"
  mkdir -p "$1"
  cp "$bin/VornikDesktop.exe" "$bin/notok.ico" "$bin/ok.ico" "$bin/yellow.ico" "$bin/red.ico" \
     "$bin/sound.wav" "$bin/e2e_driver.exe" "$1/"
}

# The driver's screenshots (BMP files) kept as PNG files in the output folder.
keep_screenshots() {
  local bmp png
  for bmp in "$@"; do
    [ -f "$bmp" ] || continue
    png="$out/$(basename "${bmp%.bmp}").png"
    convert "$bmp" "$png" && echo "screenshot: $png"
  done
}

copy_program "$run"
cd "$run"
rc=0
timeout 300 "$VORNIK_WINE" ./e2e_driver.exe VornikDesktop.exe main-window.bmp || rc=$?
# The CSV export the driver made, read back by a real CSV reader.
if [ -f export.csv ] && [ -f export-expected.txt ]; then
  python3 "$here/tests/e2e/check-export.py" export.csv export-expected.txt || rc=1
else
  echo "  FAIL the driver made no CSV export to read back"
  rc=1
fi
keep_screenshots *.bmp

# The program at every usual display scale. Wine takes the scale from the LogPixels value a
# process reads when it starts; the user's value wins over the machine's, so it is set before
# each start and the one found is put back at the end, whatever happens.
desktop='HKCU\Control Panel\Desktop'
old_dpi=$("$VORNIK_WINE" reg query "$desktop" /v LogPixels 2>/dev/null | tr -d '\r' |
          awk '$1 == "LogPixels" {print $3}' || true)
# (Deleting a value already gone fails; under `set -e` that would end the script with an error.)
restore_dpi() {
  if [ -n "$old_dpi" ]; then
    "$VORNIK_WINE" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((old_dpi))" /f >/dev/null 2>&1 || true
  else
    "$VORNIK_WINE" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
trap restore_dpi EXIT
scale_run="$out/scale-run"
for dpi in 96 120 144 192; do
  copy_program "$scale_run"
  "$VORNIK_WINE" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  (cd "$scale_run" && timeout 180 "$VORNIK_WINE" ./e2e_driver.exe --scale VornikDesktop.exe .\\) || rc=1
  keep_screenshots "$scale_run"/scale-*.bmp
done
exit $rc
