// Loading the style packs the main window reads while it is created: the
// shipped effects, shadow and reflection packs from Media\ beside the
// program, files cached (budget 150 ms for the three together), and each
// pack alone. Most of the effects pack's time is the first touch of the
// six scene textures' fresh DIB sections (1024 x 768 each): on a machine
// where fresh memory is expensive (docs/platform-wine.md) that, not the
// decoding, decides the figure.
#include "bench/Benchmark.h"

#include "bench/BenchTable.h"
#include "document/win/StylePacks.h"
#include "foundation/app/HyAppUtils.h"
#include "rtl/FileUtils.h"

namespace {

void Setup() {
  static bool done = [] {
    if (!GdiPlusStarted()) GdiPlusStartup();
    char16_t buf[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, reinterpret_cast<LPWSTR>(buf), MAX_PATH);
    ExePath = ExtractFilePath(String(buf));
    return true;
  }();
  (void)done;
}

// Loads with Load into a fresh table and frees it; false when nothing loaded.
bool LoadOnce(void (*Load)(TDataTable*), TStylePackKind Kind) {
  auto* t = new TDataTable();
  Load(t);
  const bool ok = t->ItemCount() > 0 && t->Items(0)->ItemCount() > 1;
  FreeStylePackTable(t, Kind);
  return ok;
}

void BM_PackLoad(benchmark::State& st) {
  Setup();
  if (!LoadOnce(LoadEffectsPack, TStylePackKind::Effects)) {
    st.SkipWithError("no Media\\Effects.dat beside the program");
    return;
  }
  benchtable::Ours(st, "", "150ms");
  for (auto _ : st) {
    benchmark::DoNotOptimize(LoadOnce(LoadEffectsPack, TStylePackKind::Effects));
    benchmark::DoNotOptimize(LoadOnce(LoadShadowPack, TStylePackKind::Shadow));
    benchmark::DoNotOptimize(LoadOnce(LoadReflectionPack, TStylePackKind::Reflection));
  }
}
BENCHMARK(BM_PackLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0): 0 effects, 1 shadow, 2 reflection.
void BM_PackLoadOne(benchmark::State& st) {
  Setup();
  static const std::pair<void (*)(TDataTable*), TStylePackKind> packs[] = {
      {LoadEffectsPack, TStylePackKind::Effects}, {LoadShadowPack, TStylePackKind::Shadow},
      {LoadReflectionPack, TStylePackKind::Reflection}};
  const auto& p = packs[st.range(0)];
  for (auto _ : st) benchmark::DoNotOptimize(LoadOnce(p.first, p.second));
}
BENCHMARK(BM_PackLoadOne)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
