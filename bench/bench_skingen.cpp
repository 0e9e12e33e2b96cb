// The skin generator's share of the build: making the four schemes from
// assets/skins, checks included (budget 2 s in all, as the build runs it
// natively without sanitizers).
#include "bench/Benchmark.h"
#include "bench/BenchTable.h"

#include "rtl/Classes.h"
#include "rtl/SysUtils.h"
#include "tools/skingen/SkinGen.h"

namespace {

std::string Read(const std::string& Path) {
  TMemoryStream S;
#if defined(_WIN32)
  std::string P = Path;
  for (char& C : P)
    if (C == '/') C = '\\';
  S.LoadFromFile(u"Z:" + ToString(P));
#else
  S.LoadFromFile(ToString(Path));
#endif
  return std::string(static_cast<const char*>(S.Memory()), size_t(S.Size()));
}

std::string Asset(const char* Name) { return std::string(LUMIGRA_SKIN_ASSETS) + "/" + Name; }

void BM_MakeSchemes(benchmark::State& St) {
  benchtable::Ours(St, "", "2s");
  const skingen::TSourceFile Layout{Asset("Layout.txt"), Read(Asset("Layout.txt"))};
  const skingen::TSourceFile Palette{Asset("Palette.txt"), Read(Asset("Palette.txt"))};
  std::vector<skingen::TSourceFile> Schemes;
  for (const char* N : {"Dawn.scheme", "Charm.scheme", "Laconic.scheme", "Cool.scheme"}) Schemes.push_back({Asset(N), Read(Asset(N))});
  const std::string Lookups = Read(LUMIGRA_SKIN_LOOKUPS);
  size_t Faults = 0;
  for (auto _ : St) {
    const auto R = skingen::BuildSchemes(Layout, Palette, Schemes, LUMIGRA_SKIN_LOOKUPS, Lookups);
    Faults = R.Faults.size();
    benchmark::DoNotOptimize(R.Schemes.size());
  }
  St.counters["faults"] = double(Faults);
}
BENCHMARK(BM_MakeSchemes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
