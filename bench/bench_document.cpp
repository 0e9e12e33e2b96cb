// The document's hot paths on a 3840 x 2160 document of 100 objects (50
// rectangles of mixed outlines and fills, 10 with shadows, 5 with
// reflections, 5 with edging; 50 lines and arrows of mixed styles, some with
// gradients):
//   BM_DocumentDraw4K/cached   a full composition, style pictures kept
//   BM_DocumentDraw4K/cold     the same with every style picture rebuilt
//   BM_DocumentDragStep        one step of dragging a 400 x 300 object, and
//                              the view's repaint of its 1920 x 1080 viewport
//   BM_DocumentViewRepaint     a full repaint of the view at zoom 0.5 with 10
//                              selected objects, canvas handles, guides, ruler
//   BM_DocumentControlLayer    the control layer's paint alone, same state
//   BM_DocumentHitTest1000     the cursor and the pick among 1,000 objects,
//                              over empty space and over the bottom object
//   BM_BuildEdging             the edging of a 1000 x 800 rectangle, W = 15
//   BM_EdgingBand / BM_EdgingBandLiteral   its distance band alone, beside
//                              the literal search it replaces
// A Winelib program: run it through scripts/wine.sh (a display is needed for
// the view's window).
#include "bench/Benchmark.h"

#include <map>
#include <memory>
#include <vector>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"
#include "document/ShapeStyles.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageLine.h"
#include "rtl/SysUtils.h"

namespace {

String Row(Integer Id, TShapeType Type, const TRect& R, const std::map<Integer, String>& Cells) {
  std::map<Integer, String> c = {{0, IntToStr(Id)},     {1, IntToStr(Ord(Type))}, {10, IntToStr(R.Left)},
                                 {11, IntToStr(R.Top)}, {12, IntToStr(R.Right)}, {13, IntToStr(R.Bottom)},
                                 {14, u"255"},          {15, u"3381759"},         {16, u"255"},
                                 {18, u"3"},            {20, u"-1"},              {21, u"-1"},
                                 {27, u"-1"},           {28, u"-1"},              {29, u"-1"},
                                 {25, IntToStr((R.Left + R.Right) / 2)},          {26, IntToStr((R.Top + R.Bottom) / 2)},
                                 {70, u"45"},           {71, u"6"},               {73, u"4"},
                                 {75, u"175"},          {85, u"175"},             {86, u"66"},
                                 {90, u"255/65535/16711680"}, {91, u"100/100/100"}, {92, u"0/0.5/1"},
                                 {96, u"45"},           {98, u"15"}};
  for (const auto& x : Cells) c[x.first] = x.second;
  String s;
  for (Integer i = 0; i < 100; ++i) {
    if (i > 0) s += u',';
    auto it = c.find(i);
    if (it != c.end()) s += it->second;
  }
  return s;
}

String LineRow(Integer Id, TShapeType Type, TPoint A, TPoint B, std::map<Integer, String> Cells) {
  Cells[40] = IntToStr(A.X);
  Cells[41] = IntToStr(A.Y);
  Cells[42] = IntToStr(B.X);
  Cells[43] = IntToStr(B.Y);
  Cells[46] = IntToStr(A.X + (B.X - A.X) / 4);
  Cells[47] = IntToStr(A.Y - 80);
  Cells[48] = IntToStr(A.X + 3 * (B.X - A.X) / 4);
  Cells[49] = IntToStr(B.Y + 80);
  return Row(Id, Type, RectFromPoints(A, B), Cells);
}

void Start() {
  static bool started = false;
  if (started) return;
  InitializeBitmapEngine();
  GdiPlusStartup();
  Application->Initialize();
  started = true;
}

// A document on a view in a shown form of ViewW x ViewH.
struct TBenchDocument {
  TForm* Form = nullptr;
  TImgView32* View = nullptr;
  TImageDraw* Doc = nullptr;

  TBenchDocument(Integer W, Integer H, Integer ViewW, Integer ViewH, bool Shown) {
    Start();
    if (Shown) {
      Form = new TForm(nullptr);
      Form->BeginLoading();
      Form->SetBounds(0, 0, ViewW + 40, ViewH + 60);
      Form->EndLoading();
    }
    View = new TImgView32(Form);
    View->BeginLoading();
    View->SetBounds(0, 0, ViewW, ViewH);
    View->SetCentered(false);
    View->SetRepaintMode(rmOptimizer);
    if (Form) View->SetParent(Form);
    View->EndLoading();
    Doc = new TImageDraw(View, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr, W, H, 0xF4EEE8,
                         false, -1);
    Doc->InitBitmap();
    if (Form) {
      Form->Show();
      Pump();
    }
  }
  ~TBenchDocument() {
    delete Doc;
    if (Form) {
      delete Form;
    } else {
      delete View;
    }
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
  }
  TImgShape* Add(const String& S) {
    Doc->DT()->AddItem(S);
    Doc->CreateShapeObjects(Doc->DT()->ItemCount() - 1);
    return Doc->ShapeOfRow(Doc->DT()->ItemCount() - 1);
  }
  // The 100 objects of the 4K document.
  void AddMixed() {
    Integer id = 1;
    for (Integer i = 0; i < 50; ++i) {
      std::map<Integer, String> c = {{24, IntToStr(i % 12)}, {41, u""}, {19, i % 5 == 4 ? u"20" : u"0"}};
      switch (i % 4) {
        case 1: c[29] = u"0"; c[95] = u"0"; break;
        case 2: c[29] = u"0"; c[95] = u"1"; break;
        case 3: c[29] = u"0"; c[95] = u"4"; c[87] = u"5"; c[88] = u"0"; c[89] = u"16777215"; break;
        default: break;
      }
      if (i < 10) c[27] = u"0";
      if (i >= 10 && i < 15) c[28] = u"0";
      if (i >= 15 && i < 20) {
        c[29] = u"0";
        c[95] = u"3";
      }
      const Integer x = 60 + (i % 10) * 370, y = 60 + (i / 10) * 410;
      Add(Row(id++, TShapeType::shRectangle, Bounds(x, y, 200 + (i % 3) * 60, 150 + (i % 5) * 30), c));
    }
    for (Integer i = 0; i < 50; ++i) {
      const TShapeType t = i % 2 ? TShapeType::shArrow : TShapeType::shLine;
      std::map<Integer, String> c = {{24, IntToStr(i % (t == TShapeType::shArrow ? 15 : 12))},
                                     {18, IntToStr(1 + i % 6)}, {50, IntToStr(i % 3)}};
      if (i % 5 == 0) {
        c[29] = u"0";
        c[95] = u"0";
      }
      const Integer x = 100 + (i % 10) * 370, y = 260 + (i / 10) * 410;
      Add(LineRow(id++, t, TPoint(x, y), TPoint(x + 300, y + 60), c));
    }
  }
  void MarkAllChanged() {
    for (Integer i = 0; i < Doc->DT()->ItemCount(); ++i) Doc->ShapeOfRow(i)->SetChanged2(true);
  }
};

void BM_DocumentDraw4K(benchmark::State& State) {
  TBenchDocument d(3840, 2160, 200, 200, false);
  d.AddMixed();
  const bool cold = State.range(0) != 0;
  d.Doc->Draw();
  for (auto _ : State) {
    if (cold) d.MarkAllChanged();
    d.Doc->Draw();
  }
  benchtable::Ours(State, "", cold ? "600ms" : "100ms");
}
BENCHMARK(BM_DocumentDraw4K)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DocumentDragStep(benchmark::State& State) {
  TBenchDocument d(3840, 2160, 1920, 1080, true);
  d.AddMixed();
  TImgShape* s = d.Add(Row(1000, TShapeType::shRectangle, Bounds(700, 400, 400, 300), {{29, u"0"}, {95, u"0"}}));
  d.Doc->Draw();
  d.View->Repaint();
  d.Pump();
  d.Doc->ClickShape(TSelectMode::selOne, s->Id());
  s->ResetMoveStart();
  Integer x = 800, step = 1;
  for (auto _ : State) {
    d.Doc->MoveShape(800, 500, x + step, 500);
    x += step;
    if (x > 1000 || x < 600) step = -step;
    d.View->Repaint();
  }
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_DocumentDragStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// The view at zoom 0.5 with 10 selected objects, guides and the ruler.
void ViewState(TBenchDocument& D) {
  D.AddMixed();
  for (Integer i = 0; i < 100; i += 10) D.Doc->ShapeOfRow(i)->Select();
  D.Doc->CreateGuides(0, 700, true);
  D.Doc->CreateGuides(1500, 0, false);
  D.Doc->CreateRuler(200, 1900, 3000, 1900);
  D.Doc->SetScale(0.5f);
  D.View->SetScale(0.5f);
  D.Doc->Draw();
}

void BM_DocumentViewRepaint(benchmark::State& State) {
  TBenchDocument d(3840, 2160, 1920, 1080, true);
  ViewState(d);
  d.View->Repaint();
  d.Pump();
  for (auto _ : State) {
    d.View->ForceFullInvalidate();
    d.View->Repaint();
  }
  benchtable::Ours(State, "", "8ms");
}
BENCHMARK(BM_DocumentViewRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DocumentControlLayer(benchmark::State& State) {
  TBenchDocument d(3840, 2160, 200, 200, false);
  ViewState(d);
  TBitmap32 buffer;
  buffer.SetSize(1920, 1080);
  buffer.Clear(0xFF808080u);
  for (auto _ : State) d.Doc->PaintControlLayer(nullptr, &buffer);
  benchtable::Ours(State, "");
}
BENCHMARK(BM_DocumentControlLayer)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DocumentHitTest1000(benchmark::State& State) {
  TBenchDocument d(3840, 2160, 200, 200, false);
  Integer id = 1;
  for (Integer i = 0; i < 1000; ++i) {
    const Integer x = 40 + (i % 40) * 94, y = 40 + (i / 40) * 84;
    if (i % 2 == 0)
      d.Add(Row(id++, TShapeType::shRectangle, Bounds(x, y, 70, 50),
                {{24, IntToStr(i % 12)}, {41, u""}, {19, i % 4 == 0 ? u"30" : u"0"}, {21, i % 3 ? u"-1" : u"0"}}));
    else
      d.Add(LineRow(id++, i % 3 ? TShapeType::shArrow : TShapeType::shLine, TPoint(x, y), TPoint(x + 70, y + 40),
                    {{24, i % 4 == 1 ? u"3" : u"0"}}));
  }
  d.Doc->Draw();  // as after opening: the curves sampled, the changes drawn
  d.Doc->ShapeOfRow(500)->Select();
  TBitmap32 buffer;
  buffer.SetSize(400, 400);
  d.Doc->PaintControlLayer(nullptr, &buffer);
  // Empty space between the objects, or the body of the bottom object.
  const TPoint at = State.range(0) ? TPoint(75, 65) : TPoint(3830, 2150);
  for (auto _ : State) {
    benchmark::DoNotOptimize(d.Doc->GetShapeCursor(at.X, at.Y, at.X, at.Y));
    benchmark::DoNotOptimize(d.Doc->LocateShape(at.X, at.Y, at.X, at.Y));
  }
  benchtable::Ours(State, "", "1ms");
}
BENCHMARK(BM_DocumentHitTest1000)->ArgName("bottom")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BuildEdging(benchmark::State& State) {
  TBenchDocument d(1200, 1000, 200, 200, false);
  TImgShape* s = d.Add(Row(1, TShapeType::shRectangle, Bounds(100, 100, 1000, 800), {{29, u"0"}, {95, u"3"}}));
  for (auto _ : State) {
    s->SetChanged2(true);
    s->BuildEdging();
  }
  benchtable::Ours(State, "", "30ms");
}
BENCHMARK(BM_BuildEdging)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three masks of the 1000 x 800 rectangle's edging.
struct TEdgingMasks {
  std::unique_ptr<TBitmap32> Outline, Wide, Fill;
  TEdgingMasks() {
    TBenchDocument d(1200, 1000, 200, 200, false);
    TImgShape* s = d.Add(Row(1, TShapeType::shRectangle, Bounds(1, 1, 1000, 800), {{29, u"0"}, {95, u"3"}}));
    auto mask = [&](Integer Pass) {
      auto b = std::make_unique<TBitmap32>();
      b->SetSize(1002, 802);
      b->Clear(0);
      s->SetDrawMode2(Pass);
      s->Draw(b.get());
      return b;
    };
    Outline = mask(1);
    Wide = mask(2);
    Fill = mask(3);
  }
};

template <bool Literal>
void EdgingBand(benchmark::State& State) {
  TEdgingMasks m;
  TCustomBitmap32 band;
  for (auto _ : State) {
    State.PauseTiming();
    band.Assign(m.Fill.get());
    State.ResumeTiming();
    if (Literal)
      BuildEdgingBandLiteral(m.Outline.get(), m.Wide.get(), &band, 15);
    else
      BuildEdgingBand(m.Outline.get(), m.Wide.get(), &band, 15);
  }
  if (Literal)
    benchtable::Reference(State, "literal", "edging-band");
  else
    benchtable::Ours(State, "edging-band");
}
void BM_EdgingBand(benchmark::State& State) { EdgingBand<false>(State); }
void BM_EdgingBandLiteral(benchmark::State& State) { EdgingBand<true>(State); }
BENCHMARK(BM_EdgingBand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EdgingBandLiteral)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
