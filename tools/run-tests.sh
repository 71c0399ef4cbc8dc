#!/usr/bin/env bash
# Runs the test sets of a built tree:  tools/run-tests.sh BUILD_DIR [all|native|win|e2e|release|fuzz]
#   native  the portable core's unit tests (ASan + UBSan)
#   win     the Win32 component tests under Wine
#   e2e     the real program under Wine, driven from outside (tests/e2e/run-e2e.sh)
#   release the installer and the zip of `make release`, installed and run under Wine
#   fuzz    every libFuzzer target for FUZZ_SECONDS seconds (default 10)
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
what=${2:-all}
failed=()

run_native() {
  local bin="$build/native/bin/native_tests"
  [ -x "$bin" ] || { echo "== native: no tests built"; return 0; }
  echo "== native tests"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    "$bin" --gtest_brief=1 || failed+=(native)
}

with_wine() {
  ( . "$here/tools/wine-env.sh" "$build"
    trap vornik_stop_display EXIT
    export VORNIK_WINE && export -f vornik_wine
    vornik_start_display && vornik_prepare_prefix && "$@" )
}

# Runs inside with_wine's subshell, where the wine helpers are defined (a `bash -c` child
# would not see them).
run_win_tests() {
  cd "$build/win/bin" && vornik_wine ./win_tests.exe --gtest_brief=1
}

run_win() {
  local exe="$build/win/bin/win_tests.exe"
  [ -f "$exe" ] || { echo "== win: no tests built"; return 0; }
  echo "== Win32 tests under Wine"
  with_wine run_win_tests || failed+=(win)
}

run_e2e() {
  local script="$here/tests/e2e/run-e2e.sh"
  [ -x "$script" ] || { echo "== e2e: none"; return 0; }
  echo "== end-to-end"
  # A screen large enough for the window at 200 % display scale.
  VORNIK_SCREEN=2880x1800x24 with_wine "$script" "$build" || failed+=(e2e)
}

run_release() {
  local script="$here/tests/release/run-release-test.sh"
  [ -x "$script" ] || { echo "== release: none"; return 0; }
  echo "== release (installer and zip under Wine)"
  "$script" "$build" || failed+=(release)
}

run_fuzz() {
  local seconds=${FUZZ_SECONDS:-10} f name corpus
  shopt -s nullglob
  for f in "$build"/native/bin/fuzz_*; do
    name=$(basename "$f")
    corpus="$build/fuzz-corpus/$name"
    mkdir -p "$corpus"
    local seeds="$build/native/bin/seeds_${name#fuzz_}"
    [ -x "$seeds" ] && "$seeds" "$corpus" >/dev/null 2>&1
    echo "== fuzz $name (${seconds}s)"
    "$f" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>"$build/$name.log"
    local rc=$?
    grep -E 'stat::number_of_executed_units' "$build/$name.log" | sed 's/^/   /'
    [ $rc -eq 0 ] || { tail -n 30 "$build/$name.log"; failed+=("$name"); }
  done
}

case "$what" in
  all) run_native; run_win; run_e2e; run_release; run_fuzz ;;
  native) run_native ;;
  win) run_win ;;
  e2e) run_e2e ;;
  release) run_release ;;
  fuzz) run_fuzz ;;
  *) echo "unknown test set: $what" >&2; exit 2 ;;
esac

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all passed ($what)"
