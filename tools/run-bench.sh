#!/usr/bin/env bash
# Runs the benchmarks: the optimised native program, then the Win32 one under Wine.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
rc=0
if [ -x "$build/bench/bin/vornik_bench" ]; then
  "$build/bench/bin/vornik_bench" --benchmark_counters_tabular=true || rc=1
fi
if [ -f "$build/win/bin/win_bench.exe" ]; then
  ( . "$here/tools/wine-env.sh" "$build"
    trap vornik_stop_display EXIT
    vornik_start_display && vornik_prepare_prefix &&
      cd "$build/win/bin" && vornik_wine ./win_bench.exe ) || rc=1
fi
exit $rc
