// The drawing objects' hot paths at 4K size:
//   BM_PictureDrag/rotated:0|1   a 3000 x 2000 picture object on a 3840 x
//                                2160 document: one drag step (MoveShape and
//                                the object's Draw into the view bitmap),
//                                unturned and turned by 30 degrees; the
//                                scaled picture's rebuilds are counted
//   BM_HighlightRect             a 3840 x 2160 highlight rectangle's Draw,
//   BM_HighlightRectRows         against the engine's multiply row routine
//                                over the same pixels
//   BM_FreeShapeHit/...          a Bezier path of 1,000 segments: PtInShape,
//                                PtInPath, and the samples after a node drag
//   BM_TextDraw                  three lines of 200-px path text with a
//                                linear text gradient and a stroke on a
//                                3840 x 2160 view bitmap, one Draw
// A Winelib program: run it through scripts/wine.sh.
#include "bench/Benchmark.h"

#include <map>
#include <vector>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageFreeShape.h"
#include "document/win/ImageSmall.h"
#include "document/win/ImageText.h"
#include "rtl/SysUtils.h"

namespace {

String Row(Integer Id, TShapeType Type, const TRect& R, const std::map<Integer, String>& Cells) {
  std::map<Integer, String> c = {{0, IntToStr(Id)},     {1, IntToStr(Ord(Type))}, {10, IntToStr(R.Left)},
                                 {11, IntToStr(R.Top)}, {12, IntToStr(R.Right)}, {13, IntToStr(R.Bottom)},
                                 {14, u"255"},          {15, u"65535"},           {16, u"255"},
                                 {18, u"2"},            {20, u"-1"},              {21, u"0"},
                                 {27, u"-1"},           {28, u"-1"},              {29, u"-1"},
                                 {25, IntToStr((R.Left + R.Right) / 2)},          {26, IntToStr((R.Top + R.Bottom) / 2)}};
  for (const auto& x : Cells) c[x.first] = x.second;
  String s;
  for (Integer i = 0; i < 100; ++i) {
    if (i > 0) s += u',';
    auto it = c.find(i);
    if (it != c.end()) s += it->second;
  }
  return s;
}

struct TDoc {
  TImgView32* View;
  TImageDraw* Doc;
  TDoc() {
    static bool started = false;
    if (!started) {
      InitializeBitmapEngine();
      GdiPlusStartup();
      Application->Initialize();
      started = true;
    }
    View = new TImgView32(nullptr);
    Doc = new TImageDraw(View, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr, 3840, 2160,
                         0xF4EEE8, false, -1);
    Doc->InitBitmap();
  }
  ~TDoc() {
    delete Doc;
    delete View;
  }
  TImgShape* Add(const String& S) {
    Doc->DT()->AddItem(S);
    Doc->CreateShapeObjects(Doc->DT()->ItemCount() - 1);
    return static_cast<TImgShape*>(Doc->DT()->Items(Doc->DT()->ItemCount() - 1)->Data());
  }
};

void BM_PictureDrag(benchmark::State& State) {
  TDoc d;
  const bool rotated = State.range(0) != 0;
  auto* s = static_cast<TImgSmall*>(
      d.Add(Row(1, TShapeType::shSmall, TRect(400, 80, 3400, 2080), {{19, rotated ? u"30" : u"0"}})));
  s->SrcBmp()->SetSize(3000, 2000);
  for (Integer y = 0; y < 2000; ++y)
    for (Integer x = 0; x < 3000; ++x) s->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 7 ^ y * 13));
  s->SetChanged2(true);
  s->Draw(d.Doc->Bitmap());
  s->SetChanged2(false);
  const Integer before = s->RebuildCount();
  Integer x = 0;
  s->SetStartX(0);
  s->SetStartY(0);
  for (auto _ : State) {
    const Integer step = (x++ % 2 == 0) ? 3 : -3;
    s->MoveShape(s->StartX(), 0, s->StartX() + step, 0);
    s->Draw(d.Doc->Bitmap());
  }
  State.counters["rebuilds"] = double(s->RebuildCount() - before);
  benchtable::Ours(State, "", rotated ? "33ms" : "10ms");
}
BENCHMARK(BM_PictureDrag)->ArgName("rotated")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HighlightRect(benchmark::State& State) {
  TDoc d;
  TImgShape* h = d.Add(Row(1, TShapeType::shHLRect, TRect(0, 0, 3840, 2160), {{16, u"200"}}));
  d.Doc->Bitmap()->Clear(0xFF808080u);
  for (auto _ : State) h->Draw(d.Doc->Bitmap());
  benchtable::Ours(State, "highlight", "1.5x");
}
BENCHMARK(BM_HighlightRect)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HighlightRectRows(benchmark::State& State) {
  TDoc d;
  d.Doc->Bitmap()->Clear(0xFF808080u);
  const TBlendModeRow row = FindBlendModeRow(TPixelCombineEvent(BlendMultiply));
  const std::vector<TColor32> fill(3840, 0xFFFFFF00u);
  for (auto _ : State)
    for (Integer y = 0; y < 2160; ++y) row(fill.data(), d.Doc->Bitmap()->ScanLine(y), 3840, 200);
  benchtable::Reference(State, "engine-row", "highlight");
}
BENCHMARK(BM_HighlightRectRows)->Unit(benchmark::kMillisecond)->UseRealTime();

// A closed wavy path of 1,000 segments over the 4K document.
TImgFreeShape* WavyPath(TDoc& D) {
  TBezierPath p;
  const Integer n = 1000;
  for (Integer i = 0; i < n; ++i) {
    const Integer x0 = 100 + (i % 100) * 36, y0 = 100 + (i / 100) * 190;
    const Integer x1 = 100 + ((i + 1) % 100) * 36, y1 = 100 + ((i + 1) / 100) * 190;
    TBezierRow r;
    r.P = {TPoint(x0, y0), TPoint(x0 + 12, y0 - 40), TPoint(x1 - 12, y1 + 40), TPoint(x1, y1)};
    p.Rows.push_back(r);
  }
  p.SelectPointIndex = -1;
  auto* f = static_cast<TImgFreeShape*>(
      D.Add(Row(1, TShapeType::shFreeShape, TRect(0, 0, 3840, 2160), {{42, BezierPathText(p)}})));
  f->CalcRect();
  return f;
}

void BM_FreeShapeHit(benchmark::State& State) {
  TDoc d;
  TImgFreeShape* f = WavyPath(d);
  const Integer what = Integer(State.range(0));
  // Node 500 picked as a drag starts.
  f->Select();
  f->SetCurrentCtrIndex(1000);
  f->Click();
  Integer k = 0;
  for (auto _ : State) {
    switch (what) {
      case 0: benchmark::DoNotOptimize(f->PtInShape(1900, 1200 + (k++ % 7))); break;
      case 1: benchmark::DoNotOptimize(f->PtInPath(1900, 1200 + (k++ % 7))); break;
      default:  // a drag step of the node, then the samples
        f->AdjustShape(0, 0, 1 + (k++ % 2), 0);
        f->CalcBezierPoints();
        break;
    }
  }
  benchtable::Ours(State, "", what == 2 ? "10ms" : "500us");
}
BENCHMARK(BM_FreeShapeHit)->ArgName("ptinshape_ptinpath_samples")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TextDraw(benchmark::State& State) {
  TDoc d;
  TImgShape* t = d.Add(Row(1, TShapeType::shText, TRect(100, 100, 3700, 2000),
                           {{24, u"0"}, {20, u"0"}, {40, u"DejaVu Sans"}, {41, u"200"}, {42, u"0"}, {46, u"1"},
                            {47, u"1"}, {49, u"-1"}, {50, u"255"}, {54, u"Lumigra\r\nBasic\r\nText"}, {56, u"3"},
                            {59, u"0"}, {60, u"255/65535/16711680"}, {61, u"100/100/100"}, {62, u"0/0.5/1"},
                            {63, u"0"}, {64, u"45"}}));
  for (auto _ : State) t->Draw(d.Doc->Bitmap());
  benchtable::Ours(State, "", "25ms");
}
BENCHMARK(BM_TextDraw)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
