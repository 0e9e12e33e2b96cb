// Absolute time budgets of the image view (wall time per iteration):
//  - a 3840 x 2160 nearest repaint: the background FillRect plus
//    StretchNearestNeighbour of the image into the buffer (budget 8 ms);
//  - PerformOptimization of the micro-tiles repaint optimiser with 200
//    marked areas on a 3840 x 2160 buffer (budget 0.2 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Containers.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_RepaintOpt.h"
#include "bitmap/Bmp32_Resamplers.h"

namespace {

const Integer BW = 3840, BH = 2160;

void Engine() {
  static bool done = (InitializeBitmapEngine(), true);
  (void)done;
}

void FillNoise(TCustomBitmap32& B, Integer W, Integer H, unsigned Seed) {
  B.SetSize(W, H);
  std::mt19937 rng(Seed);
  TColor32* p = B.Bits();
  for (size_t i = 0, n = size_t(W) * H; i < n; ++i) p[i] = rng() | 0xFF000000u;
}

// range(0): 0 = a 1920 x 1080 image zoomed x2 (fills the buffer), 1 = a
// 6000 x 4000 image fitted (3240 x 2160, centred, margins filled).
void BM_NearestRepaint4K(benchmark::State& st) {
  Engine();
  benchtable::Ours(st, "", "8ms");
  TCustomBitmap32 buf, img;
  buf.SetSize(BW, BH);
  const bool fit = st.range(0) != 0;
  if (fit)
    FillNoise(img, 6000, 4000, 1);
  else
    FillNoise(img, 1920, 1080, 1);
  const Integer dw = fit ? 3240 : BW;
  const TRect dst((BW - dw) / 2, 0, (BW - dw) / 2 + dw, BH);
  const TRect bounds(0, 0, BW, BH);
  const TRect src(0, 0, img.Width(), img.Height());
  for (auto _ : st) {
    buf.FillRect(0, 0, BW, BH, 0xFF808080u);
    StretchNearestNeighbour(&buf, dst, bounds, &img, src, dmOpaque);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * BW * BH);
}
BENCHMARK(BM_NearestRepaint4K)->ArgNames({"fit"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A layer collection stand-in: the optimiser reaches layers only through
// LayerAccess; this one has no layers and reports areas directly.
struct FakeCollection {
  TLayerListNotifyEvent OnListNotify;
  TLayerUpdateEvent OnLayerUpdated;
  TAreaChangedEvent OnAreaUpdated;
  static FakeCollection* Of(TLayerCollection* L) { return reinterpret_cast<FakeCollection*>(L); }
};

TLayerAccess FakeAccess() {
  TLayerAccess A;
  A.Count = [](TLayerCollection*) { return Integer(0); };
  A.Items = [](TLayerCollection*, Integer) { return static_cast<TCustomLayer*>(nullptr); };
  A.SetOnListNotify = [](TLayerCollection* L, TLayerListNotifyEvent E) { FakeCollection::Of(L)->OnListNotify = E; };
  A.SetOnLayerUpdated = [](TLayerCollection* L, TLayerUpdateEvent E) { FakeCollection::Of(L)->OnLayerUpdated = E; };
  A.SetOnAreaUpdated = [](TLayerCollection* L, TAreaChangedEvent E) { FakeCollection::Of(L)->OnAreaUpdated = E; };
  A.GetInvalid = [](TCustomLayer*) { return false; };
  A.SetInvalid = [](TCustomLayer*, bool) {};
  A.Paint = [](TCustomLayer*, TCustomBitmap32*) {};
  return A;
}

// 200 areas (small rectangles and some lines) marked between repaints; only
// PerformOptimization is timed. range(0) = largest rectangle side.
void BM_PerformOptimization200(benchmark::State& st) {
  Engine();
  benchtable::Ours(st, "", "200us");
  TLayerAccess saved = LayerAccess;
  LayerAccess = FakeAccess();
  {
    FakeCollection coll;
    TCustomBitmap32 buf;
    buf.SetSize(BW, BH);
    TRectList rects;
    TMicroTilesRepaintOptimizer opt(&buf, &rects);
    TRepaintTiming t;
    t.TickCount = [] { return Cardinal(100000); };
    t.StartTimer = [] {};
    t.ReadTimer = [] { return Int64(0); };
    opt.SetTiming(t);
    auto* handle = reinterpret_cast<TLayerCollection*>(&coll);
    opt.RegisterLayerCollection(handle);
    opt.SetEnabled(true);
    auto cycle = [&] {
      rects.SetCount(0);
      if (opt.UpdatesAvailable()) opt.PerformOptimization();
      opt.BeginPaintBuffer();
      opt.EndPaintBuffer();
    };
    cycle();  // the first repaint after enabling is a full one
    std::mt19937 rng(7);
    const Integer side = Integer(st.range(0));
    std::vector<std::pair<TRect, Cardinal>> marks(200);
    for (size_t k = 0; k < marks.size(); ++k) {
      Integer x = Integer(rng() % (BW - side)), y = Integer(rng() % (BH - side));
      Integer w = 1 + Integer(rng() % side), h = 1 + Integer(rng() % side);
      if (k % 10 == 9)
        marks[k] = {TRect(x, y, x + w, y + h), AreaInfoLine | 2};
      else
        marks[k] = {TRect(x, y, x + w, y + h), AreaInfoRect};
    }
    Integer lastCount = 0;
    for (auto _ : st) {
      rects.SetCount(0);
      for (auto& m : marks) coll.OnAreaUpdated(nullptr, m.first, m.second);
      auto t0 = std::chrono::steady_clock::now();
      if (opt.UpdatesAvailable()) opt.PerformOptimization();
      auto t1 = std::chrono::steady_clock::now();
      st.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
      lastCount = rects.Count();
      opt.BeginPaintBuffer();
      opt.EndPaintBuffer();
    }
    st.counters["rects"] = double(lastCount);
    opt.UnregisterLayerCollection(handle);
  }
  LayerAccess = saved;
}
BENCHMARK(BM_PerformOptimization200)
    ->ArgNames({"side"})
    ->Arg(16)
    ->Arg(64)
    ->Arg(256)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
