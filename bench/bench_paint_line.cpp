// The brush held on a Shift-locked line:
//   BM_PaintShiftLine   a 1000-px soft brush (flow 50) pressed with Shift held
//                       on a 3840 x 2160 raster and dragged 3000 px to the
//                       right in 150 move events of 20 px, each event as the
//                       canvas calls it (ProcessBitmap: the dabs, the raster's
//                       recomposition and Draw). Counters: the mean of the first and of
//                       the last 15 events, p99 and the largest event (ms);
//                       the target holds for the largest.
// A Winelib program: run it through scripts/wine.sh.
#include "bench/Benchmark.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <vector>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"
#include "document/win/ImageDraw.h"
#include "document/win/StylePacks.h"

namespace {

void Start() {
  static bool started = false;
  if (started) return;
  InitializeBitmapEngine();
  GdiPlusStartup();
  Application->Initialize();
  started = true;
}

// Row 0 of a brush pack: a soft round tip, spacing a quarter of the width.
void FillBrushPack(TDataTable& Pack) {
  TRow* r = Pack.AddItem(String(u",,,,,,,,False,4,0,"));
  auto* tip = new TBitmap32();
  tip->SetSize(64, 64);
  for (Integer y = 0; y < 64; ++y)
    for (Integer x = 0; x < 64; ++x) {
      const Integer d2 = (x - 32) * (x - 32) + (y - 32) * (y - 32);
      const Byte v = Byte(std::min(255, d2 * 255 / 1024));
      tip->SetPixel(x, y, 0xFF000000u | TColor32(v) << 16 | TColor32(v) << 8 | v);
    }
  r->SetData(tip);
}

double Mean(const std::vector<double>& V, size_t From, size_t To) {
  return To > From ? std::accumulate(V.begin() + From, V.begin() + To, 0.0) / double(To - From) : 0;
}

void BM_PaintShiftLine(benchmark::State& State) {
  Start();
  constexpr Integer W = 3840, H = 2160, Events = 150, StepPx = 20;
  auto* view = new TImgView32(nullptr);
  view->SetCentered(false);
  auto* doc = new TImageDraw(view, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr, W, H,
                             0xFFFFFF, false, -1);
  doc->InitBitmap();
  for (Integer y = 0; y < H; ++y) {
    TColor32* row = doc->SrcBmp()->ScanLine(y);
    for (Integer x = 0; x < W; ++x) row[x] = 0xFF000000u | TColor32((x / 16) & 0xFF) << 16 | TColor32((y / 9) & 0xFF) << 8 | 0x60;
  }
  TDataTable pack;
  FillBrushPack(pack);
  BrushPackDT = &pack;
  doc->SetProcessMode(TProcessBitmapMode::pbmBrush);
  doc->SetProcessWidth(1000);
  doc->SetProcessBrushFlow(50);
  std::vector<double> all, first, last;
  for (auto _ : State) {
    std::vector<double> times;
    const TPoint down(300, 600);
    doc->SetProcessX(UnsetPosition);
    doc->SetPressSht(true);
    doc->ProcessBitmapBegin(down.X, down.Y, 255, 0x3050A0, 0);
    doc->SetLeftMouseDown(true);
    doc->ProcessBitmap(false, down.X, down.Y);
    for (Integer e = 1; e <= Events; ++e) {
      // A hand is not quite level: the lock keeps the line horizontal.
      const TPoint p(down.X + e * StepPx, down.Y + (e % 3) - 1);
      const auto t0 = std::chrono::steady_clock::now();
      doc->ProcessBitmap(true, p.X, p.Y);
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    doc->SetLeftMouseDown(false);
    doc->ProcessBitmapEnd();
    doc->SetPressSht(false);
    first.push_back(Mean(times, 0, 15));
    last.push_back(Mean(times, times.size() - 15, times.size()));
    all.insert(all.end(), times.begin(), times.end());
  }
  std::sort(all.begin(), all.end());
  State.counters["first15_ms"] = Mean(first, 0, first.size());
  State.counters["last15_ms"] = Mean(last, 0, last.size());
  State.counters["p99_ms"] = all.empty() ? 0 : all[std::min(all.size() - 1, size_t(double(all.size()) * 0.99))];
  State.counters["max_ms"] = all.empty() ? 0 : all.back();
  benchtable::Ours(State, "");
  BrushPackDT = nullptr;
  for (Integer i = 0; i < pack.ItemCount(); ++i) delete static_cast<TBitmap32*>(pack.Items(i)->Data());
  delete doc;
  delete view;
}
BENCHMARK(BM_PaintShiftLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
