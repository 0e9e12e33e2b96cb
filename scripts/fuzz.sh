#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer; a build tree of its own) and runs them.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]   run TARGET (or every target) for
#                                            SECONDS each (default: all, 60)
#   scripts/fuzz.sh seeds                    write the seed inputs anew into
#                                            fuzz/corpus with the project's writers
#
# Every target starts from its checked-in seeds (fuzz/corpus/TARGET, read
# only) and keeps what it finds in build/fuzz/corpus/TARGET; a crashing or
# invariant-breaking input lands in build/fuzz/artifacts/TARGET/ and makes the
# exit status 1. Targets run side by side, FUZZ_JOBS at a time (default: the
# number of processors). Ends with one line per target: executions, seconds,
# and what it found.
# Environment: LUMIGRA_BUILD (build folder, default ./build), JOBS, FUZZ_JOBS.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LUMIGRA_BUILD:-$root/build}/fuzz
jobs=${JOBS:-$(nproc)}
fuzz_jobs=${FUZZ_JOBS:-$(nproc)}
what=${1:-all}
seconds=${2:-60}

bash "$root/scripts/setup.sh" || { echo "fuzz.sh: set-up failed" >&2; exit 1; }

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/lumigra-ccache}"
  export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
  export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi

cmake -S "$root" -B "$build" -G Ninja -DLUMIGRA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  "${launcher[@]}" >/dev/null || { echo "fuzz.sh: cannot configure $build" >&2; exit 1; }

if [ "$what" = seeds ]; then
  ninja -C "$build" -j "$jobs" fuzz_make_seeds || exit 1
  exec "$build/fuzz/fuzz_make_seeds" "$root/fuzz/corpus"
fi

ninja -C "$build" -j "$jobs" fuzzers || exit 1

if [ "$what" = all ]; then
  targets=$(sed -n 's/^lumigra_fuzzer(\(fuzz_[a-z0-9_]*\).*/\1/p' "$root/fuzz/CMakeLists.txt")
else
  targets=fuzz_${what#fuzz_}
  [ -x "$build/fuzz/$targets" ] || { echo "fuzz.sh: no target $targets" >&2; exit 2; }
fi

# One target: its own corpus, artifacts and log; the summary line on stdout.
run_one() {
  local t=$1 seeds="$root/fuzz/corpus/$1" dict="$root/fuzz/dict/$1.dict"
  local work="$build/corpus/$t" art="$build/artifacts/$t/" log="$build/logs/$t.log"
  mkdir -p "$work" "$art" "$build/logs" "$seeds"
  local args=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$art")
  [ -f "$dict" ] && args+=(-dict="$dict")
  # The targets that read files write them to a scratch folder of their own
  # under TMPDIR: in memory when the machine has a tmpfs for it.
  local tmp=${TMPDIR:-/tmp}
  [ -d /dev/shm ] && [ -w /dev/shm ] && tmp=/dev/shm
  TMPDIR=$tmp "$build/fuzz/$t" "${args[@]}" "$work" "$seeds" >"$log" 2>&1
  local rc=$?
  local execs secs found
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  if [ $rc = 0 ]; then
    found="nothing"
  else
    found="FAULT (exit $rc): $(grep -m1 -E 'ERROR:|invariant broken|runtime error|deadly signal' "$log" | cut -c1-160); input in $art, log $log"
  fi
  echo "$t: ${execs:-?} executions in ${secs:-?} s; found: $found"
  return $rc
}
export -f run_one
export root build seconds

status=0
echo "$targets" | xargs -P "$fuzz_jobs" -I{} bash -c 'run_one "$@"' _ {} || status=1
exit $status
