// The font box and the list box under Wine: the font-name box filled with
// every installed family against a bare EnumFontFamiliesW walk over the same
// screen device context (2x); the family callback path with 2,000 made-up
// families against a plain class-library list box receiving the same names
// sorted (2x); the open font list paging down (16 ms); adding 10,000 items
// to the skinned list box with and without BeginUpdate against a plain
// owner-drawn list box (2x); a list as high as a 4K screen scrolled by line,
// page and thumb jump, each step with the bar update and the full repaint
// (16 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "bench/BenchTable.h"
#include "classlib/Forms.h"
#include "skin/boxes/SkinBoxLists.h"
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

TForm* BenchForm() {
  static TForm* F = [] {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 900, 700);
    Form->Show();
    Application->ProcessMessages();
    return Form;
  }();
  return F;
}

TspSkinFontComboBox* FontBox() {
  static TspSkinFontComboBox* B = [] {
    auto* Box = new TspSkinFontComboBox(BenchForm());
    Box->SetBounds(10, 10, 200, 20);
    Box->SetDropDownCount(12);
    Box->SetParent(BenchForm());
    Box->HandleNeeded();
    return Box;
  }();
  return B;
}

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM Data) {
  ++*reinterpret_cast<int*>(Data);
  return 1;
}

void BM_FontBoxPopulate(benchmark::State& State) {
  Start();
  TspSkinFontComboBox* B = FontBox();
  for (auto _ : State) B->PopulateList();
  State.counters["families"] = B->Items()->Count();
  benchtable::Ours(State, "font-enum", "2x");
}
BENCHMARK(BM_FontBoxPopulate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FontEnumBare(benchmark::State& State) {
  Start();
  int N = 0;
  for (auto _ : State) {
    HDC DC = GetDC(nullptr);
    N = 0;
    EnumFontFamiliesW(DC, nullptr, CountFamily, reinterpret_cast<LPARAM>(&N));
    ReleaseDC(nullptr, DC);
  }
  State.counters["families"] = N;
  benchtable::Reference(State, "gdi32", "font-enum");
}
BENCHMARK(BM_FontEnumBare)->Unit(benchmark::kMillisecond)->UseRealTime();

std::vector<String> MadeFamilies() {
  std::vector<String> Names;
  std::mt19937 Rng(7);
  for (int I = 0; I < 2000; ++I) {
    String S = u"Family ";
    for (int K = 0; K < 8; ++K) S += char16_t(u'a' + Rng() % 26);
    Names.push_back(S);
  }
  return Names;
}

void BM_FontBoxCallback2000(benchmark::State& State) {
  Start();
  TspSkinFontComboBox* B = FontBox();
  const std::vector<String> Names = MadeFamilies();
  for (auto _ : State)
    B->PopulateWith([&] {
      for (const String& S : Names) B->AddFamily(S, 4, 0, 0);
    });
  benchtable::Ours(State, "families-2000", "2x");
}
BENCHMARK(BM_FontBoxCallback2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainSortedList2000(benchmark::State& State) {
  Start();
  static TListBox* L = [] {
    auto* Box = new TListBox(BenchForm());
    Box->SetBounds(300, 10, 200, 200);
    Box->SetSorted(true);
    Box->SetParent(BenchForm());
    Box->HandleNeeded();
    return Box;
  }();
  const std::vector<String> Names = MadeFamilies();
  for (auto _ : State) {
    L->Items()->BeginUpdate();
    L->Items()->Clear();
    for (const String& S : Names) L->Items()->Add(S);
    L->Items()->EndUpdate();
  }
  benchtable::Reference(State, "classlib", "families-2000");
}
BENCHMARK(BM_PlainSortedList2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FontListPageDown(benchmark::State& State) {
  Start();
  TspSkinFontComboBox* B = FontBox();
  // The installed families (another benchmark may have left made-up ones).
  B->PopulateList();
  B->SetItemIndex(0);
  B->DropDown();
  TspListBox* Inner = B->ListBox()->ListBox;
  UpdateWindow(Inner->Handle());
  // Every face once, so the timed pages find them.
  for (Integer I = 0; I < B->Items()->Count(); I += 12) {
    Inner->SetTopIndex(I);
    UpdateWindow(Inner->Handle());
  }
  Integer Top = 0;
  for (auto _ : State) {
    Top = Top + 12 < B->Items()->Count() ? Top + 12 : 0;
    Inner->SetTopIndex(Top);
    B->ListBox()->UpDateScrollBar();
    RedrawWindow(Inner->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  B->CloseUp(false);
  State.counters["families"] = B->Items()->Count();
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_FontListPageDown)->Unit(benchmark::kMillisecond)->UseRealTime();

TspSkinListBox* BigList(Integer Height) {
  auto* L = new TspSkinListBox(BenchForm());
  L->SetBounds(10, 40, 300, Height);
  L->SetParent(BenchForm());
  L->HandleNeeded();
  return L;
}

// Without BeginUpdate every add costs Wine's list box a repaint, and 10,000
// of them take a minute: a smoke run adds 500.
Integer ListAddCount(bool Update) { return !Update && BenchSmoke() ? 500 : 10000; }

void BM_ListAdd10000(benchmark::State& State) {
  Start();
  const bool Update = State.range(0) != 0;
  const Integer Count = ListAddCount(Update);
  TspSkinListBox* L = BigList(400);
  for (auto _ : State) {
    L->Clear();
    if (Update) L->Items()->BeginUpdate();
    for (Integer I = 0; I < Count; ++I) L->Items()->Add(u"Item number " + IntToStr(I));
    if (Update) L->Items()->EndUpdate();
  }
  delete L;
  benchtable::Ours(State, Update ? "add-10000-update" : "add-10000", "2x");
}
BENCHMARK(BM_ListAdd10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainOwnerDrawAdd10000(benchmark::State& State) {
  Start();
  const bool Update = State.range(0) != 0;
  const Integer Count = ListAddCount(Update);
  auto* L = new TListBox(BenchForm());
  L->SetStyle(lbOwnerDrawFixed);
  L->SetBounds(320, 40, 300, 400);
  L->SetParent(BenchForm());
  L->HandleNeeded();
  for (auto _ : State) {
    L->Clear();
    if (Update) L->Items()->BeginUpdate();
    for (Integer I = 0; I < Count; ++I) L->Items()->Add(u"Item number " + IntToStr(I));
    if (Update) L->Items()->EndUpdate();
  }
  delete L;
  benchtable::Reference(State, "classlib", Update ? "add-10000-update" : "add-10000");
}
BENCHMARK(BM_PlainOwnerDrawAdd10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Step kinds: 0 line, 1 page, 2 thumb jump.
void BM_List4KScroll(benchmark::State& State) {
  Start();
  const int Kind = static_cast<int>(State.range(0));
  static TspSkinListBox* L = [] {
    TspSkinListBox* B = BigList(2160);
    B->Items()->BeginUpdate();
    for (Integer I = 0; I < 10000; ++I) B->Items()->Add(u"Item number " + IntToStr(I));
    B->Items()->EndUpdate();
    B->UpDateScrollBar();
    return B;
  }();
  std::mt19937 Rng(3);
  HWND W = L->ListBox->Handle();
  for (auto _ : State) {
    if (Kind == 0)
      SendMessageW(W, WM_VSCROLL, SB_LINEDOWN, 0);
    else if (Kind == 1)
      SendMessageW(W, WM_VSCROLL, SB_PAGEDOWN, 0);
    else if (L->ScrollBar)
      L->ScrollBar->SetPosition(static_cast<Integer>(Rng() % 9000));
    if (L->TopIndex() > 9800) L->SetTopIndex(0);
    L->UpDateScrollBar();
    RedrawWindow(W, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  State.counters["rows"] = L->ListBox->Height() / L->ListBox->ItemHeight();
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_List4KScroll)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
