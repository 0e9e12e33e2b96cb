// The photo frames on the largest image the program accepts (6000 x 5000,
// 30,000,000 pixels): one run of the frames dialog (a slider released) of
//   BM_Frame/kind:0   the drawn frame with the rounded cut-out (mode 3)
//   BM_Frame/kind:1   the heart cut out (mode 12)
//   BM_Frame/kind:2   three layers: solid, a tiled 64 x 64 texture, shaded solid
//   BM_Frame/kind:3   a 1024 x 768 mask stretched over the image
// Budget 1 s each. Every row also reports vs_blend: its time over that of a
// plain source-over of a 6000 x 5000 bitmap onto the image, measured in the
// same benchmark (a region test per pixel would take minutes); the table's
// ratio column compares them with BM_FrameSourceOver, the same source-over
// as a row of its own.
// A Winelib program: run it through scripts/wine.sh.
#include "bench/Benchmark.h"

#include <chrono>
#include <memory>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"
#include "document/win/ImageDraw.h"
#include "rtl/SysUtils.h"

namespace {

constexpr Integer W = 6000, H = 5000;

void Start() {
  static bool started = false;
  if (started) return;
  InitializeBitmapEngine();
  GdiPlusStartup();
  Application->Initialize();
  started = true;
}

void PaintPhoto(TCustomBitmap32* B) {
  for (Integer y = 0; y < B->Height(); ++y) {
    TColor32* p = B->ScanLine(y);
    for (Integer x = 0; x < B->Width(); ++x)
      p[x] = 0xFF000000u | TColor32((x / 24) & 0xFF) << 16 | TColor32((y / 20) & 0xFF) << 8 | TColor32((x ^ y) & 0x7F);
  }
}

// Seconds of one plain source-over of a W x H half-transparent bitmap onto
// Target (the best of three).
double SourceOverSeconds(TCustomBitmap32* Target) {
  TCustomBitmap32 over;
  over.SetSize(W, H);
  over.Clear(0x80336699u);
  over.SetDrawMode(dmBlend);
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    Target->Draw(0, 0, &over);
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

String LayerRow(bool Solid, TColor Color, Integer Width, bool Shaded) {
  String s;
  for (Integer i = 0; i < 20; ++i) {
    if (i > 0) s += u',';
    switch (i) {
      case 0: s += u"-1"; break;
      case 1: s += Solid ? u"-1" : u"0"; break;
      case 2: s += IntToStr(Integer(Color)); break;
      case 5: s += Shaded ? u"-1" : u"0"; break;
      case 6: s += u"3"; break;
      case 10: case 11: case 12: case 13: s += IntToStr(Width); break;
      default: s += u"0"; break;
    }
  }
  return s;
}

void BM_Frame(benchmark::State& State) {
  Start();
  const Integer kind = Integer(State.range(0));
  auto view = std::make_unique<TImgView32>(nullptr);
  view->SetCentered(false);
  auto doc = std::make_unique<TImageDraw>(view.get(), nullptr, nullptr, nullptr, nullptr, String(), 2, false, false,
                                          nullptr, W, H, 0xF4EEE8, false, -1);
  PaintPhoto(doc->SrcBmp());
  doc->InitBitmap();
  TDataTable layers;
  TCustomBitmap32 texture;
  TBitmap32 mask;
  if (kind == 2) {
    texture.SetSize(64, 64);
    for (Integer y = 0; y < 64; ++y)
      for (Integer x = 0; x < 64; ++x) texture.SetPixel(x, y, 0xFF000000u | TColor32(x * 4) << 8 | TColor32(y * 4));
    layers.AddItem(LayerRow(true, 0x3355AA, 20, false));
    layers.AddItem(LayerRow(false, 0, 60, false));
    layers.Items(1)->SetData(static_cast<TCustomBitmap32*>(&texture));
    layers.AddItem(LayerRow(true, 0x224466, 30, true));
  } else if (kind == 3) {
    mask.SetSize(1024, 768);
    for (Integer y = 0; y < 768; ++y)
      for (Integer x = 0; x < 1024; ++x) {
        const Integer edge = std::min({x, y, 1023 - x, 767 - y});
        const Byte v = Byte(std::min(255, edge * 4));
        mask.SetPixel(x, y, Color32FromRGBA(v, v, v, 255));
      }
    doc->SetFrameMaskBmp(&mask);
  }
  doc->SetFrameType(kind);
  doc->SetFrameMode(kind == 0 ? 3 : kind == 1 ? 12 : 1);
  doc->FrameBegin();
  auto run = [&] {
    switch (kind) {
      case 0: doc->FrameDo0(1, 16711680, 10, 13421619, 20, 0, true); break;
      case 1: doc->FrameDo1(5, 65535, 0, false); break;
      case 2: doc->FrameDo2(&layers); break;
      default: doc->FrameDo3(100, 0xFFFFFF); break;
    }
  };
  double total = 0;
  for (auto _ : State) {
    const auto t0 = std::chrono::steady_clock::now();
    run();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  doc->FrameEnd(false);
  const double over = SourceOverSeconds(doc->SrcBmp());
  if (State.iterations() > 0 && over > 0) State.counters["vs_blend"] = total / double(State.iterations()) / over;
  State.counters["blend_ms"] = over * 1000;
  benchtable::Ours(State, "frame-30mp", "1s");
}
BENCHMARK(BM_Frame)->ArgName("kind")->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The measure the frames are compared with in the table: a plain
// source-over of a 6000 x 5000 half-transparent bitmap onto the image.
void BM_FrameSourceOver(benchmark::State& State) {
  Start();
  TCustomBitmap32 image, over;
  image.SetSize(W, H);
  PaintPhoto(&image);
  over.SetSize(W, H);
  over.Clear(0x80336699u);
  over.SetDrawMode(dmBlend);
  for (auto _ : State) image.Draw(0, 0, &over);
  benchtable::Reference(State, "engine source-over", "frame-30mp");
}
BENCHMARK(BM_FrameSourceOver)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
