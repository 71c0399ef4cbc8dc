#!/usr/bin/env bash
# Runs the benchmarks: the optimised native program, then the Win32 one under Wine.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
rc=0

# Painting under Wine takes three processes (the program, the Wine server and the X server) on
# a machine that may have two cores: anything else busy slows the painting figures two to
# four times while the computing ones stay put. Say how busy the machine was around the run.
machine_load() {
  local busy
  # The second of two samples half a second apart gives the processes' current share.
  busy=$(top -b -n 2 -d 0.5 -w 200 2>/dev/null |
         awk '/^top -/ {n++} n == 2 && $1 ~ /^[0-9]+$/ && $9 + 0 >= 20 {printf "%s %s%%, ", $12, $9}')
  echo "machine ($1): $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)${busy:+; busy: ${busy%, }}"
}
machine_load before
trap 'machine_load after' EXIT
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
