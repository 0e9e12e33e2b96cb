// The skinned tab controls and the skinned tree under Wine, skinned with
// the program's Dawn.
// Page control: 200 pages in one row of tabs 60 wide, 20 of them shown. A
// full paint of the control and its page (16 ms a frame), the hot tab
// moving to the next tab with the tabs redrawn at once (8 ms), and a resize
// that runs the scroll check again with its repaint (16 ms); 300 pages
// added one at a time to a shown control.
// Tree: 10,000 nodes filled inside BeginUpdate/EndUpdate (at most 1.5 times
// Wine's own tree filled by plain TVM_INSERTITEM); a node with 10,000
// children expanded or collapsed with the bars' synchronisation and the
// repaint (50 ms); one scroll step through the external bar (8 ms; beside
// Wine's own tree scrolled the same way); the bars' synchronisation alone
// (0.2 ms).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/BenchTable.h"
#include "classlib/Forms.h"
#include "skin/controls/SkinCtrls.h"
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

// 300 pages added one at a time to a skinned page control that is shown
// (each one reaches the window as it comes), then freed outside the timing.
void BM_PageControlAddPages(benchmark::State& State) {
  Start();
  static TspSkinPageControl* C = [] {
    auto* F = new TForm(nullptr);
    F->SetBounds(0, 0, 1300, 400);
    auto* P = new TspSkinPageControl(F);
    P->SetParent(F);
    P->SetBounds(10, 10, 20 * 60 + 10, 300);
    P->SetTabWidth(60);
    P->SetSkinData(Dawn());
    F->Show();
    Application->ProcessMessages();
    return P;
  }();
  for (auto _ : State) {
    for (Integer I = 0; I < 300; ++I) {
      auto* S = new TspSkinTabSheet(C->Owner());
      S->SetCaption(u"Page " + IntToStr(I));
      S->SetPageControl(C);
    }
    UpdateWindow(C->Handle());
    State.PauseTiming();
    while (C->PageCount() > 0) delete C->Pages(C->PageCount() - 1);
    Application->ProcessMessages();
    State.ResumeTiming();
  }
  benchtable::Ours(State, "");
}
BENCHMARK(BM_PageControlAddPages)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------------------
// Tree

struct TTreeBench {
  TForm* Form;
  TspSkinCustomTreeView* Tree;
  TspSkinScrollBar* VBar;
};

TTreeBench& TreeForm() {
  static TTreeBench B = [] {
    TTreeBench R;
    R.Form = new TForm(nullptr);
    R.Form->SetBounds(0, 0, 300, 500);
    R.VBar = new TspSkinScrollBar(R.Form);
    R.VBar->SetKind(sbVertical);
    R.VBar->SetParent(R.Form);
    R.VBar->SetWidth(16);
    R.VBar->SetAlign(alRight);
    R.VBar->SetSkinData(Dawn());
    R.Tree = new TspSkinCustomTreeView(R.Form);
    R.Tree->SetParent(R.Form);
    R.Tree->SetAlign(alClient);
    R.Tree->SetSkinData(Dawn());
    R.Tree->SetVScrollBar(R.VBar);
    R.Form->Show();
    Application->ProcessMessages();
    return R;
  }();
  return B;
}

void Fill(TspSkinCustomTreeView* T, TTreeNode* Parent, Integer N) {
  T->Items()->BeginUpdate();
  for (Integer I = 0; I < N; ++I) T->Items()->AddChild(Parent, u"Node " + IntToStr(I));
  T->Items()->EndUpdate();
}

void BM_TreeFill(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  for (auto _ : State) {
    Fill(B.Tree, nullptr, 10000);
    State.PauseTiming();
    B.Tree->Items()->Clear();
    State.ResumeTiming();
  }
  benchtable::Ours(State, "treefill", "1.5x");
}
BENCHMARK(BM_TreeFill)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TreeFillPlatform(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  HWND W = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS, 0, 0, 200,
                           400, B.Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  for (auto _ : State) {
    SendMessageW(W, WM_SETREDRAW, FALSE, 0);
    for (Integer I = 0; I < 10000; ++I) {
      const String S = u"Node " + IntToStr(I);
      TVINSERTSTRUCTW Ins{};
      Ins.hParent = TVI_ROOT;
      Ins.hInsertAfter = TVI_LAST;
      Ins.item.mask = TVIF_TEXT;
      Ins.item.pszText = const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(S.c_str()));
      SendMessageW(W, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&Ins));
    }
    SendMessageW(W, WM_SETREDRAW, TRUE, 0);
    State.PauseTiming();
    SendMessageW(W, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    State.ResumeTiming();
  }
  DestroyWindow(W);
  benchtable::Reference(State, "Wine", "treefill");
}
BENCHMARK(BM_TreeFillPlatform)->Unit(benchmark::kMillisecond)->UseRealTime();

// The class library's own tree filled the same way: the wrapper's share.
void BM_TreeFillClassLibrary(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  static TTreeView* T = [&] {
    auto* V = new TTreeView(B.Form);
    V->SetParent(B.Form);
    V->SetBounds(0, 0, 100, 400);
    V->HandleNeeded();
    return V;
  }();
  for (auto _ : State) {
    T->Items()->BeginUpdate();
    for (Integer I = 0; I < 10000; ++I) T->Items()->AddChild(nullptr, u"Node " + IntToStr(I));
    T->Items()->EndUpdate();
    State.PauseTiming();
    T->Items()->Clear();
    State.ResumeTiming();
  }
  benchtable::Ours(State, "");
}
BENCHMARK(BM_TreeFillClassLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

TTreeNode* BigNode() {
  static TTreeNode* N = [] {
    TTreeBench& B = TreeForm();
    B.Tree->Items()->Clear();
    TTreeNode* P = B.Tree->Items()->Add(nullptr, u"Big");
    Fill(B.Tree, P, 10000);
    return P;
  }();
  return N;
}

void BM_TreeExpandCollapse(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  TTreeNode* P = BigNode();
  bool Open = P->Expanded();
  for (auto _ : State) {
    Open = !Open;
    if (Open)
      P->Expand(false);
    else
      P->Collapse(false);
    UpdateWindow(B.Tree->Handle());
  }
  benchtable::Ours(State, "", "50ms");
}
BENCHMARK(BM_TreeExpandCollapse)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TreeScrollStep(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  TTreeNode* P = BigNode();
  P->Expand(false);
  UpdateWindow(B.Tree->Handle());
  Integer Pos = 0;
  for (auto _ : State) {
    Pos = (Pos + 1) % 5000;
    B.VBar->SetPosition(Pos);
    UpdateWindow(B.Tree->Handle());
  }
  State.counters["bar"] = B.VBar->Visible() ? 1 : 0;
  benchtable::Ours(State, "treescroll", "8ms");
}
BENCHMARK(BM_TreeScrollStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Wine's own tree of the same rows, scrolled one row and repainted the same
// way: what the platform's scroll and paint cost on this machine.
void BM_TreeScrollStepPlatform(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  HWND W = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS, 0, 0, 284,
                           500, B.Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(W, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  TVINSERTSTRUCTW Ins{};
  Ins.hParent = TVI_ROOT;
  Ins.hInsertAfter = TVI_LAST;
  Ins.item.mask = TVIF_TEXT;
  Ins.item.pszText = const_cast<WCHAR*>(L"Big");
  HTREEITEM P = reinterpret_cast<HTREEITEM>(SendMessageW(W, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&Ins)));
  for (Integer I = 0; I < 10000; ++I) {
    const String S = u"Node " + IntToStr(I);
    Ins.hParent = P;
    Ins.item.pszText = const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(S.c_str()));
    SendMessageW(W, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&Ins));
  }
  SendMessageW(W, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(P));
  UpdateWindow(W);
  Integer Pos = 0;
  for (auto _ : State) {
    Pos = (Pos + 1) % 5000;
    SendMessageW(W, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Pos), 0);
    UpdateWindow(W);
  }
  DestroyWindow(W);
  benchtable::Reference(State, "Wine", "treescroll");
}
BENCHMARK(BM_TreeScrollStepPlatform)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TreeUpdateScrollBars(benchmark::State& State) {
  Start();
  TTreeBench& B = TreeForm();
  BigNode()->Expand(false);
  for (auto _ : State) B.Tree->UpDateScrollBars();
  benchtable::Ours(State, "", "0.2ms");
}
BENCHMARK(BM_TreeUpdateScrollBars)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
