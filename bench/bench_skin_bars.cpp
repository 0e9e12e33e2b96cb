// The skinned bars under Wine, skinned with the program's "Dawn": one mouse
// move of a drag (new position, OnChange, repaint) of the scroll bar (1 ms),
// the track bar (1 ms) and a transparent slider over a skinned panel
// (2 ms); one scroll step of a horizontal list of 1,000 items (bar position,
// scroll, repaint, scroll range: 2 ms); a skinned hint from ActivateHint to
// shown (5 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchTable.h"
#include "classlib/Forms.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinHint.h"
#include "skin/controls/win/SkinHorzListBox.h"
#include "skin/data/win/SPUtils.h"

namespace {

void Start() {
  static bool Done = [] {
    Application->Initialize();
    InitializeSpBitmapUnit();
    InitializeSPUtils();
    return true;
  }();
  (void)Done;
}

TspSkinData* Dawn() {
  static auto SD = [] {
    auto D = std::make_unique<TspSkinData>(nullptr);
    TspCompressedStoredSkin Stored(nullptr, GetModuleHandleW(nullptr), u"SkinDawn");
    D->LoadCompressedStoredSkin(&Stored);
    return D;
  }();
  return SD.get();
}

TForm* BenchForm() {
  static TForm* F = [] {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 800, 600);
    Form->Show();
    Application->ProcessMessages();
    return Form;
  }();
  return F;
}

LPARAM At(Integer X, Integer Y) { return MAKELPARAM(WORD(X), WORD(Y)); }

// Presses at (X, Y) and moves back and forth by Span along the bar.
template <class TCtl>
void DragLoop(benchmark::State& State, TCtl* C, Integer X, Integer Y, Integer Span, bool Vertical = false) {
  SendMessageW(C->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(X, Y));
  Integer I = 0;
  for (auto _ : State) {
    const Integer D = (I++ % 2) ? Span : 0;
    SendMessageW(C->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Vertical ? At(X, Y + D) : At(X + D, Y));
    UpdateWindow(C->Handle());  // a control that only invalidates paints here
  }
  SendMessageW(C->Handle(), WM_LBUTTONUP, 0, At(X, Y));
}

void BM_ScrollBarDragMove(benchmark::State& State) {
  Start();
  auto* B = new TspSkinScrollBar(BenchForm());
  B->SetParent(BenchForm());
  B->SetBounds(10, 10, 300, 19);
  B->SetSkinData(Dawn());
  int Changes = 0;
  B->OnChange = [&](TObject*) { ++Changes; };
  B->HandleNeeded();
  B->CalcRects();
  const TRect T = B->PartRect(sbpThumb);
  DragLoop(State, B, T.Left + T.Width() / 2, T.Top + T.Height() / 2, 60);
  State.counters["changes"] = Changes;
  benchtable::Ours(State, "", "1ms");
  delete B;
}
BENCHMARK(BM_ScrollBarDragMove)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TrackBarDragMove(benchmark::State& State) {
  Start();
  auto* T = new TspSkinTrackBar(BenchForm());
  T->SetParent(BenchForm());
  T->SetBounds(10, 40, 125, 16);
  T->SetSkinData(Dawn());
  T->HandleNeeded();
  T->CalcButton();
  const TRect R = T->ButtonRectNow();
  DragLoop(State, T, R.Left + R.Width() / 2, R.Top + R.Height() / 2, 40);
  benchtable::Ours(State, "", "1ms");
  delete T;
}
BENCHMARK(BM_TrackBarDragMove)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TransparentSliderDragMove(benchmark::State& State) {
  Start();
  auto* P = new TspSkinPanel(BenchForm());
  P->SetParent(BenchForm());
  P->SetBounds(10, 70, 300, 60);
  P->SetSkinData(Dawn());
  auto* S = new TspSkinSlider(P);
  S->SetParent(P);
  S->SetBounds(10, 10, 244, 26);
  S->SetTransparent(true);
  S->SetOptions(0);
  S->SetSkinData(Dawn());
  S->HandleNeeded();
  const TRect R = S->ThumbRect();
  DragLoop(State, S, R.Left + 2, R.Top + 2, 80);
  benchtable::Ours(State, "", "2ms");
  delete P;
}
BENCHMARK(BM_TransparentSliderDragMove)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_HorzListScrollStep(benchmark::State& State) {
  Start();
  auto* L = new TspSkinHorzListBox(BenchForm());
  L->SetParent(BenchForm());
  L->SetBounds(10, 140, 367, 60);
  L->SetSkinData(Dawn());
  L->BeginUpdateItems();
  for (Integer I = 0; I < 1000; ++I) L->Items()->Add()->SetCaption(u"Item");
  L->EndUpdateItems();
  Integer I = 0;
  for (auto _ : State) {
    L->ScrollBar()->SetPosition((I++ % 2) ? 700 : 0);
    UpdateWindow(L->Handle());
  }
  benchtable::Ours(State, "", "2ms");
  delete L;
}
BENCHMARK(BM_HorzListScrollStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SkinnedHintActivate(benchmark::State& State) {
  Start();
  Application->SetMainForm(BenchForm());
  auto* H = new TspSkinHint(BenchForm());
  H->SetSkinData(Dawn());
  for (auto _ : State) H->ActivateHint(TPoint(200, 200), u"A hint of the bench@on two lines");
  H->HideHint();
  benchtable::Ours(State, "", "5ms");
  delete H;
}
BENCHMARK(BM_SkinnedHintActivate)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
