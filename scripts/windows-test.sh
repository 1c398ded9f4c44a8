#!/usr/bin/env bash
# Cross-builds the program and its tests for Windows and runs them under Wine, in Xvfb:
# the test programs against Wine's real controls, then a smoke run of the .exe.
#   scripts/windows-test.sh [build folder, default build-windows]
# Results go to <build>/test-results: GoogleTest reports (*.xml), logs, and the smoke run's
# screenshot (smoke.png) for a person to look at.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# Tests that cannot run on Windows: "program  GoogleTest pattern  reason", one a line; the
# pattern * names a whole program, which the build leaves out on Windows. Everything not
# listed runs.
exclusions='
test_app  *  drives the headless device of our layer (screen as text, clicks by cell); test_shell runs the same commands on Windows
test_reliability  *  drives the program through the headless device of our layer, as test_app does; the file layer and reader tests run on Windows
'

filter_for() {
  local program=$1 patterns=""
  while read -r p pattern reason; do
    [ "$p" = "$program" ] || continue
    patterns+="${patterns:+:}$pattern"
  done <<<"$exclusions"
  echo "*${patterns:+-$patterns}"
}

report_exclusions() {
  while read -r p pattern reason; do
    [ -n "$p" ] && echo "   excluded: $p $pattern ($reason)"
  done <<<"$exclusions"
  return 0
}

# Inside the X server: every test program with its own timeout, then the smoke run.
run_inside_display() {
  local build=$1 results=$2 status=0 program exe log rc summary
  # Every test program the build made runs; a whole program listed as excluded must not
  # have been built.
  while read -r program _ _; do
    [ -n "$program" ] && [ "$(filter_for "$program")" = "*-*" ] || continue
    if [ -n "$(find "$build/tests" -name "$program.exe")" ]; then
      echo "-- $program is built for Windows but listed as excluded"
      status=1
    fi
  done <<<"$exclusions"
  for exe in $(find "$build/tests" -name 'test_*.exe' | sort); do
    program=$(basename "$exe" .exe)
    [ "$(filter_for "$program")" = "*-*" ] && continue
    log="$results/$program.log"
    echo "== $program"
    rc=0
    scripts/windows-run.sh "$exe" --gtest_filter="$(filter_for "$program")" \
      --gtest_output="xml:Z:$results/$program.xml" >"$log" 2>&1 || rc=$?
    if [ $rc -eq 0 ]; then
      grep -E '^\[  (PASSED|SKIPPED) ' "$log" || true
    else
      status=1
      echo "-- $program failed (exit $rc$([ $rc -eq 124 ] && echo ": timed out")), log $log:"
      summary=$(grep -E '^\[  FAILED  \]|Failure$|^wine:|rror' "$log" | head -40 || true)
      if [ -n "$summary" ]; then echo "$summary"; else tail -20 "$log"; fi
    fi
  done
  echo "== smoke run of tarnholm.exe"
  tests/windows/smoke.sh "$build/src/app/tarnholm.exe" "$results" || status=1
  # Wine's own processes end before the X server does.
  timeout 60 wineserver -w || true
  return $status
}

if [ "${1:-}" = --inside-display ]; then
  run_inside_display "$2" "$3"
  exit
fi

build=${1:-build-windows}
scripts/windows-build.sh --tests "$build"
build=$(cd "$build" && pwd)
results="$build/test-results"
rm -rf "$results"
mkdir -p "$results"

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINE_TIMEOUT=${WINE_TIMEOUT:-300}
echo "== Wine prefix $WINEPREFIX"
scripts/windows-run.sh --setup
report_exclusions

# One X server for the whole run. Wine's desktop process, started with the first program,
# keeps the display it was started on for as long as the prefix's wineserver lives; so
# nothing ran before on another display.
timeout --kill-after=30 1800 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$0" --inside-display "$build" "$results"
