#!/usr/bin/env bash
# Starts the built program: natively on Windows, under Wine elsewhere.
set -euo pipefail
build=${1:-build}
exe="$build/win/bin/VornikDesktop.exe"
[ -f "$exe" ] || { echo "not built: $exe" >&2; exit 1; }
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) exec "$exe" ;;
esac
. "$(dirname "$0")/wine-env.sh" "$build"
trap vornik_stop_display EXIT
vornik_start_display
vornik_prepare_prefix
vornik_wine "$exe"
