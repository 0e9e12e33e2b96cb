// The skinned page control under Wine, skinned with the program's Dawn: 200
// pages in one row of tabs 60 wide, 20 of them shown. A full paint of the
// control and its page (16 ms a frame), the hot tab moving to the next tab
// with the tabs redrawn at once (8 ms), and a resize that runs the scroll
// check again with its repaint (16 ms).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/BenchTable.h"
#include "classlib/Forms.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

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
    if (D->Empty) std::fprintf(stderr, "bench_skin_tabs: Dawn did not load\n");
    return D;
  }();
  return SD.get();
}

TspSkinPageControl* Pages() {
  static TspSkinPageControl* P = [] {
    auto* F = new TForm(nullptr);
    F->SetBounds(0, 0, 1300, 400);
    auto* C = new TspSkinPageControl(F);
    C->SetParent(F);
    C->SetBounds(10, 10, 20 * 60 + 10, 300);
    C->SetTabWidth(60);
    for (Integer I = 0; I < 200; ++I) {
      auto* S = new TspSkinTabSheet(F);
      S->SetCaption(u"Page " + IntToStr(I));
      S->SetPageControl(C);
    }
    C->SetSkinData(Dawn());
    F->Show();
    Application->ProcessMessages();
    return C;
  }();
  return P;
}

void BM_PageControlFullPaint(benchmark::State& State) {
  Start();
  TspSkinPageControl* P = Pages();
  for (auto _ : State)
    RedrawWindow(P->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  State.counters["tabs"] = double(P->PageCount());
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_PageControlFullPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageControlHotTab(benchmark::State& State) {
  Start();
  TspSkinPageControl* P = Pages();
  bool Next = false;
  for (auto _ : State) {
    Next = !Next;
    const TRect R = P->GetItemRect(Next ? 2 : 1);
    P->Perform(WM_MOUSEMOVE, 0, MAKELPARAM((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  }
  benchtable::Ours(State, "", "8ms");
}
BENCHMARK(BM_PageControlHotTab)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PageControlResize(benchmark::State& State) {
  Start();
  TspSkinPageControl* P = Pages();
  bool Narrow = false;
  for (auto _ : State) {
    Narrow = !Narrow;
    P->SetWidth(Narrow ? 20 * 60 - 50 : 20 * 60 + 10);
    UpdateWindow(P->Handle());
  }
  State.counters["arrows"] = P->SkinUpDown() ? 1 : 0;
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_PageControlResize)->Unit(benchmark::kMillisecond)->UseRealTime();

// The class library's own page control with 200 plain pages, resized the
// same way (Wine draws it): what the platform layout and the alignment of
// 200 page windows cost before any skinned drawing.
void BM_PageControlResizePlatformOnly(benchmark::State& State) {
  Start();
  static TPageControl* P = [] {
    auto* F = new TForm(nullptr);
    F->SetBounds(0, 0, 1300, 400);
    auto* C = new TPageControl(F);
    C->SetParent(F);
    C->SetBounds(10, 10, 20 * 60 + 10, 300);
    C->SetTabWidth(60);
    for (Integer I = 0; I < 200; ++I) {
      auto* S = new TTabSheet(F);
      S->SetCaption(u"Page " + IntToStr(I));
      S->SetPageControl(C);
    }
    F->Show();
    Application->ProcessMessages();
    return C;
  }();
  bool Narrow = false;
  for (auto _ : State) {
    Narrow = !Narrow;
    P->SetWidth(Narrow ? 20 * 60 - 50 : 20 * 60 + 10);
    UpdateWindow(P->Handle());
  }
  benchtable::Ours(State, "");
}
BENCHMARK(BM_PageControlResizePlatformOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
