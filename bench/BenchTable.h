// The labels scripts/bench.sh reads to build its table (bench/README.md):
// a row of ours names the work it does (its pair) and, where one is set, its
// target; a reference row names the library and the same pair. Call either
// anywhere in the benchmark function.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace benchtable {

// Our routine doing the work Pair (empty: no reference to compare with).
// Target: "1.5x" (our time at most 1.5 times the reference's) or a time per
// iteration ("8ms", "200us"); empty for none.
inline void Ours(benchmark::State& State, const std::string& Pair, const std::string& Target = std::string()) {
  std::string Label;
  if (!Pair.empty()) Label = "pair=" + Pair;
  if (!Target.empty()) Label += (Label.empty() ? "" : " ") + std::string("target=") + Target;
  State.SetLabel(Label);
}

// Library Lib doing the work Pair: the reference our rows of Pair are
// measured against.
inline void Reference(benchmark::State& State, const std::string& Lib, const std::string& Pair) {
  State.SetLabel("ref=" + Lib + " pair=" + Pair);
}

}  // namespace benchtable

// True in a smoke run (scripts/bench.sh --smoke), which only proves that the
// programs build and run: a benchmark whose one iteration takes many seconds
// may then work on a smaller input.
inline bool BenchSmoke() {
  const char* S = std::getenv("LUMIGRA_BENCH_SMOKE");
  return S && S[0] == '1';
}
