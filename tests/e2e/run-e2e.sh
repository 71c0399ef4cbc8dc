#!/usr/bin/env bash
# End-to-end run of the real program under Wine:  tests/e2e/run-e2e.sh BUILD_DIR
# Copies VornikDesktop.exe and its files into a fresh folder, lets e2e_driver.exe drive it
# and keeps the screenshots as BUILD_DIR/e2e/*.png (main window, the add button before and
# under the pointer, time-limit dialog, red row,
# window restored from the tray, the tray menu, the window, its menu and the dialog in Quarn
# Night, the skinned error box and save dialog), then reads the CSV export back with Python's
# CSV reader (tests/e2e/check-export.py).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)
. "$here/tools/wine-env.sh" "$build"
vornik_start_display
bin="$build/win/bin"
out="$build/e2e"
run="$out/run"
rm -rf "$run"
mkdir -p "$run"
cp "$bin/VornikDesktop.exe" "$bin/notok.ico" "$bin/ok.ico" "$bin/yellow.ico" "$bin/red.ico" \
   "$bin/sound.wav" "$bin/e2e_driver.exe" "$run/"
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
for bmp in *.bmp; do
  [ -f "$bmp" ] || continue
  png="$out/${bmp%.bmp}.png"
  convert "$bmp" "$png" && echo "screenshot: $png"
done
exit $rc
