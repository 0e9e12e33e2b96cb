#!/usr/bin/env bash
# Builds the benchmark programs (bench/bench_*.cpp) and runs every one of them
# under Wine, then prints one table of what they measured.
#
# Usage: scripts/bench.sh [--smoke] [FILTER]
#   FILTER   a regular expression over benchmark names (Google Benchmark's
#            --benchmark_filter); default: every benchmark.
#   --smoke  every benchmark runs for a moment only: proves the programs build
#            and run (CI); the figures mean nothing.
# Environment: LUMIGRA_BUILD (build folder, default ./build), JOBS.
#
# The programs are built in the Winelib tree that scripts/test.sh and
# scripts/run.sh use (build/wine): the optimised configuration the program
# ships with, without sanitizers.
#
# How the table pairs rows. A benchmark row is ours unless its label says
# otherwise; its label (State::SetLabel, written by bench/BenchTable.h) holds
# space-separated key=value words:
#   pair=KEY    the work the row does; rows of one program with the same KEY
#               do the same work on the same input, ours and the reference's;
#   ref=LIB     the row measures library LIB (the reference), not our code;
#   target=T    on our row: "1.5x" = our time at most 1.5 times the
#               reference's; "8ms" (also s, us, ns) = at most that per
#               iteration. Other words are ignored.
# One line per row of ours (and per reference of its pair):
#   routine    the row's name, as Google Benchmark prints it
#   ours       its wall time per iteration
#   reference  the reference's wall time per iteration in the same run
#   ratio      ours / reference
#   target     the target and whether it was met (ok / MISSED)
# A reference row that no row of ours pairs with is listed on its own. Rows
# that were skipped or failed show their message.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LUMIGRA_BUILD:-$root/build}
jobs=${JOBS:-$(nproc)}

smoke=0
filter=
for a in "$@"; do
  case $a in
    --smoke) smoke=1 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    -*) echo "bench.sh: unknown option $a" >&2; exit 2 ;;
    *) filter=$a ;;
  esac
done

bash "$root/scripts/setup.sh" || { echo "bench.sh: set-up failed" >&2; exit 1; }
source "$root/scripts/build-env.sh"
lumigra_configure_wine "$build" || exit 1
ninja -C "$build/wine" -j "$jobs" bench || { echo "bench.sh: the benchmarks do not build" >&2; exit 1; }

out="$build/bench-results"
rm -rf "$out"
mkdir -p "$out"
args=()
[ -n "$filter" ] && args+=("--benchmark_filter=$filter")
# Google Benchmark 1.7 reads a number of seconds here.
[ $smoke = 1 ] && args+=("--benchmark_min_time=0.001")
if [ $smoke = 1 ]; then export LUMIGRA_BENCH_SMOKE=1; else unset LUMIGRA_BENCH_SMOKE; fi

# The programs run in slots like the tests (scripts/wine.sh): an Xvfb and a
# prefix of their own, whatever else runs.
export LUMIGRA_SLOTS="$build/wine-slots"
status=0
shopt -s nullglob
programs=("$build"/wine/bench/bench_*.exe)
if [ ${#programs[@]} = 0 ]; then
  echo "bench.sh: no benchmark programs in $build/wine/bench" >&2
  exit 1
fi
for p in "${programs[@]}"; do
  name=$(basename "$p" .exe)
  echo "== $name"
  bash "$root/scripts/wine.sh" "$p" "${args[@]}" \
    --benchmark_out="$out/$name.json" --benchmark_out_format=json
  rc=$?
  if [ $rc != 0 ]; then
    echo "bench.sh: $name failed (exit status $rc)" >&2
    status=1
  fi
done

echo
for p in "${programs[@]}"; do
  name=$(basename "$p" .exe)
  [ -f "$out/$name.json" ] || continue
  awk -v program="$name" -f "$root/scripts/bench-table.awk" "$out/$name.json"
done
echo
echo "bench.sh: the programs' own output is in $out"
exit $status
