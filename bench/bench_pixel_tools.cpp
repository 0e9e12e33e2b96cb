// The document's pixel tools:
//   BM_GradientDo/<type>/<selection>  the gradient tool once on a 6000 x 4000
//                                     raster, types 0, 1, 3, 4, without and
//                                     with an ellipse selection
//   BM_PaintStroke/<tool>/<draw>      600 scripted moves of up to 40 px on a
//                                     3840 x 2160 raster: pencil 20 px,
//                                     eraser, brush 100 px soft at flow 50,
//                                     clone stamp 100 px; the counters give
//                                     the 99th percentile of one move's work
//                                     (draw 0: the dabs and the raster's
//                                     recomposition; 1: with the view's
//                                     composition as the canvas calls it)
// A Winelib program: run it through scripts/wine.sh.
#include "bench/Benchmark.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"
#include "document/ShapeRows.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"
#include "document/win/StylePacks.h"
#include "rtl/SysUtils.h"

namespace {

void Start() {
  static bool started = false;
  if (started) return;
  InitializeBitmapEngine();
  GdiPlusStartup();
  Application->Initialize();
  started = true;
}

struct TBenchDocument {
  TImgView32* View = nullptr;
  TImageDraw* Doc = nullptr;
  TBenchDocument(Integer W, Integer H) {
    Start();
    View = new TImgView32(nullptr);
    View->SetCentered(false);
    Doc = new TImageDraw(View, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr, W, H, 0xFFFFFF,
                         false, -1);
    Doc->InitBitmap();
    for (Integer y = 0; y < H; ++y) {
      TColor32* row = Doc->SrcBmp()->ScanLine(y);
      for (Integer x = 0; x < W; ++x) row[x] = 0xFF000000u | TColor32((x / 16) & 0xFF) << 16 | TColor32((y / 9) & 0xFF) << 8 | 0x60;
    }
  }
  ~TBenchDocument() {
    delete Doc;
    delete View;
  }
};

String SelectionRow(const TRect& R) {
  std::map<Integer, String> c = {{0, u"70"},  {1, IntToStr(Ord(TShapeType::shSelection))}, {10, IntToStr(R.Left)},
                                 {11, IntToStr(R.Top)}, {12, IntToStr(R.Right)}, {13, IntToStr(R.Bottom)}, {24, u"1"}};
  String s;
  for (Integer i = 0; i < 100; ++i) {
    if (i > 0) s += u',';
    if (auto it = c.find(i); it != c.end()) s += it->second;
  }
  return s;
}

void BM_GradientDo(benchmark::State& State) {
  const Integer type = Integer(State.range(0));
  const bool withSelection = State.range(1) != 0;
  TBenchDocument d(6000, 4000);
  if (withSelection) {
    d.Doc->DT()->AddItem(SelectionRow(TRect(800, 600, 5200, 3400)));
    d.Doc->CreateShapeObjects(-1);
    auto* s = dynamic_cast<TImgSelection*>(d.Doc->ShapeOfRow(d.Doc->DT()->ItemCount() - 1));
    s->SetSRect(TRect(800, 600, 5200, 3400));
    s->CreateRegion(false);
  }
  const TArrayOfGPColor colors = {TGPColor(0xFFFF0000u), TGPColor(0x8000FF00u), TGPColor(0xFF0000FFu)};
  const TArrayOfSingle positions = {0, 0.5f, 1};
  d.Doc->SetGradientStartX(2400);
  d.Doc->SetGradientStartY(1800);
  d.Doc->SetMovedX(3600);
  d.Doc->SetMovedY(2300);
  for (auto _ : State) d.Doc->GradientDo(type, colors, positions);
  benchtable::Ours(State, "", "1.5s");
}
BENCHMARK(BM_GradientDo)
    ->ArgsProduct({{0, 1, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// A brush pack in memory: row 0 a soft round tip.
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

void BM_PaintStroke(benchmark::State& State) {
  const Integer tool = Integer(State.range(0));
  const bool withDraw = State.range(1) != 0;
  TBenchDocument d(3840, 2160);
  TDataTable pack;
  FillBrushPack(pack);
  BrushPackDT = &pack;
  TBitmap32 source;
  source.Assign(d.Doc->SrcBmp());
  StampSourceBmp = &source;
  StampSourcePoint = TPoint(500, 400);
  const TProcessBitmapMode modes[] = {TProcessBitmapMode::pbmPencil, TProcessBitmapMode::pbmEraser,
                                      TProcessBitmapMode::pbmBrush, TProcessBitmapMode::pbmStamp};
  const Integer widths[] = {20, 20, 100, 100};
  d.Doc->SetProcessMode(modes[tool]);
  d.Doc->SetProcessWidth(widths[tool]);
  d.Doc->SetProcessBrushFlow(50);
  std::vector<double> times;
  for (auto _ : State) {
    std::mt19937 rng(11);
    TPoint p(1900, 1000);
    d.Doc->SetProcessX(UnsetPosition);
    d.Doc->SetProcessStampStartX(UnsetPosition);
    d.Doc->ProcessBitmapBegin(p.X, p.Y, 255, 0x3050A0, 0);
    d.Doc->SetLeftMouseDown(true);
    d.Doc->ProcessBitmap(false, p.X, p.Y);
    for (Integer e = 0; e < 600; ++e) {
      p.X = std::clamp(p.X + Integer(rng() % 81) - 40, 0, 3700);
      p.Y = std::clamp(p.Y + Integer(rng() % 81) - 40, 0, 2050);
      const auto t0 = std::chrono::steady_clock::now();
      if (withDraw) {
        d.Doc->ProcessBitmap(true, p.X, p.Y);
      } else {
        d.Doc->ProcessBitmapByLine(p.X, p.Y);
      }
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    d.Doc->SetLeftMouseDown(false);
    d.Doc->ProcessBitmapEnd();
  }
  std::sort(times.begin(), times.end());
  State.counters["p99_ms"] = times.empty() ? 0 : times[std::min(times.size() - 1, size_t(times.size() * 0.99))];
  State.counters["max_ms"] = times.empty() ? 0 : times.back();
  benchtable::Ours(State, "");
  BrushPackDT = nullptr;
  StampSourceBmp = nullptr;
  for (Integer i = 0; i < pack.ItemCount(); ++i) delete static_cast<TBitmap32*>(pack.Items(i)->Data());
}
BENCHMARK(BM_PaintStroke)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
