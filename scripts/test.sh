#!/usr/bin/env bash
# Builds everything and runs every test:
#  1. the native build (g++, AddressSanitizer + UndefinedBehaviorSanitizer) of
#     the portable units and their tests;
#  2. the Winelib build of every layer, the tools and the program;
#  3. ctest of the Winelib build, which runs each test program under Wine (own
#     Xvfb, throwaway prefix in the build tree) and the native test programs.
# Exit status and last lines are ctest's.
# Environment: LUMIGRA_BUILD (build folder, default ./build), JOBS.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LUMIGRA_BUILD:-$root/build}
jobs=${JOBS:-$(nproc)}

bash "$root/scripts/setup.sh" || { echo "test.sh: set-up failed" >&2; exit 1; }

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/lumigra-ccache}"
  export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
  # Paths inside the checkout are hashed relative to it, so several checkouts
  # (work trees) of the project share one cache.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
  export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi

set -e
cmake -S "$root" -B "$build/native" -G Ninja -DLUMIGRA_NATIVE=ON "${launcher[@]}" >/dev/null
ninja -C "$build/native" -j "$jobs"
cmake -S "$root" -B "$build/wine" -G Ninja -DLUMIGRA_NATIVE_TESTS_DIR="$build/native/tests" "${launcher[@]}" >/dev/null
ninja -C "$build/wine" -j "$jobs"
set +e

source "$root/scripts/xvfb.sh"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  lumigra_stop_xvfb
}
trap cleanup EXIT
lumigra_start_xvfb
bash "$root/scripts/prefix.sh" "$WINEPREFIX" || { echo "test.sh: cannot prepare the Wine prefix" >&2; exit 1; }
# Keep one wineserver and Wine's services running for the whole test run, with
# their output detached: a service started by a test program would otherwise
# inherit ctest's pipe and keep ctest waiting after the test has ended.
wineserver -p >/dev/null 2>&1 </dev/null || true
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true

ctest --test-dir "$build/wine" --output-on-failure -j "$jobs"
