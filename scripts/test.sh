#!/usr/bin/env bash
# Builds everything and runs every test:
#  1. the native build (g++, AddressSanitizer + UndefinedBehaviorSanitizer) of
#     the portable units and their tests;
#  2. the Winelib build of every layer, the tools and the program;
#  3. ctest of the Winelib build, JOBS tests at a time: the native test
#     programs, and each Wine program in a slot of its own (scripts/slots.sh:
#     its own Xvfb and throwaway prefix in the build tree).
# Exit status and last lines are ctest's; then where the screenshots are.
# Environment: LUMIGRA_BUILD (build folder, default ./build), JOBS.
# Arguments go to ctest: scripts/test.sh -R test_skin runs only those tests.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LUMIGRA_BUILD:-$root/build}
jobs=${JOBS:-$(nproc)}

bash "$root/scripts/setup.sh" || { echo "test.sh: set-up failed" >&2; exit 1; }
source "$root/scripts/build-env.sh"

set -e
lumigra_configure_native "$build"
ninja -C "$build/native" -j "$jobs"
# The Winelib build runs the native build's test programs and build-time
# tools (the language table's generator) instead of compiling them again.
lumigra_configure_wine "$build" -DLUMIGRA_NATIVE_TESTS_DIR="$build/native/tests" \
  -DLUMIGRA_HOST_BUILD_DIR="$build/native"
ninja -C "$build/wine" -j "$jobs"
set +e

source "$root/scripts/xvfb.sh"
source "$root/scripts/slots.sh"
slots="$build/wine-slots"
export LUMIGRA_SLOTS="$slots"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
  local s
  for s in "$slots"/[0-9]*/; do [ -d "$s" ] && lumigra_slot_stop "${s%/}"; done
}
trap cleanup EXIT
cleanup

# The template prefix (made once, kept between runs), then one slot per job:
# a fresh copy of the template, an Xvfb, and a wineserver with Wine's
# services and its desktop process kept running for the whole test run, their
# output detached. Started by a test program instead, they would inherit
# ctest's pipe and keep ctest waiting after the test has ended (the desktop
# process lives on about a second after its last program: every run of a
# tool test paid that).
(
  lumigra_start_xvfb && lumigra_slots_template "$slots"
  rc=$?
  lumigra_stop_xvfb
  exit $rc
) || { echo "test.sh: cannot prepare the Wine prefix" >&2; exit 1; }
for k in $(seq 0 $((jobs - 1))); do
  (
    lumigra_slot_prefix "$slots" "$k" 1 || exit 1
    lumigra_start_xvfb || exit 1
    echo "$LUMIGRA_XVFB_PID" > "$slots/$k/xvfb.pid"
    echo "$DISPLAY" > "$slots/$k/display"
    export WINEPREFIX="$slots/$k/prefix"
    wineserver -p >/dev/null 2>&1 </dev/null || true
    wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
    wine explorer.exe /desktop >/dev/null 2>&1 </dev/null &
  ) &
done
wait

rm -rf "$build/screens"
ctest --test-dir "$build/wine" --output-on-failure -j "$jobs" "$@"
rc=$?
if [ -d "$build/screens" ]; then
  echo "test.sh: screenshots of the tests are in $build/screens"
fi
exit $rc
