// Skinned menu benchmarks (Winelib, under Xvfb):
//  BM_PopupMenu40        from TspSkinPopupMenu::Popup with 40 items (captions,
//                        short-cuts, images) to the first level painted (its
//                        WM_ERASEBKGND handled), in the default look and the
//                        made scheme Dawn; the reference in the same run
//                        creates, shows without activation and paints an empty
//                        popup of the same size (targets: 2.0 and 3.0 times it);
//  BM_MenuItemMorphStep  one 20-ms cross-fade step of a 600-pixel-wide skinned
//                        item (target 1 ms).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/BenchTable.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "skin/controls/win/SkinMenus.h"
#include "skin/data/win/SPUtils.h"

namespace {

class TBenchHost : public TComponent, public TspSkinMenuHost {
 public:
  TBenchHost(TComponent* AOwner, TCustomForm* AForm)
      : TComponent(AOwner), Form(AForm), Menu(new TspSkinMenu(this, AForm)) {}
  TCustomForm* MenuHostForm() override { return Form; }
  TspSkinData* MenuHostSkinData() override { return nullptr; }
  TspSkinData* MenuHostMenusSkinData() override { return nullptr; }
  bool SkinMenuVisible() override { return Menu->Visible(); }
  void SkinMenuOpen() override {}
  void SkinMenuClose() override {}
  TspSkinMenu* MenuHostSkinMenu() override { return Menu; }
  TCustomForm* Form;
  TspSkinMenu* Menu;
};

void Init() {
  static bool Done = [] {
    Application->Initialize();
    InitializeSpBitmapUnit();
    InitializeSPUtils();
    return true;
  }();
  (void)Done;
}

TspSkinData* Dawn() {
  static TspSkinData* D = [] {
    auto* S = new TspSkinData(nullptr);
    TspCompressedStoredSkin Stored(nullptr, GetModuleHandleW(nullptr), u"SkinDawn");
    S->LoadCompressedStoredSkin(&Stored);
    if (S->Empty) std::fprintf(stderr, "bench_skin_menus: Dawn did not load\n");
    return S;
  }();
  return D;
}

struct TBench {
  TBench() {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 800, 600);
    Form->HandleNeeded();
    Host = new TBenchHost(Form, Form);
    Images = new TImageList(Form);
    Images->SetSize(16, 16);
    TBitmap Pic;
    Pic.SetPixelFormat(pf24bit);
    Pic.SetSize(16, 16);
    Pic.Canvas()->Brush()->SetColor(clTeal);
    Pic.Canvas()->FillRect(TRect(0, 0, 16, 16));
    Images->Add(&Pic, nullptr);
    Pm = new TspSkinPopupMenu(Form);
    Pm->SetSkinComponent(Host);
    Pm->SetImages(Images);
    for (Integer I = 0; I < 40; ++I) {
      auto* M = new TMenuItem(Pm);
      M->SetCaption(u"Menu command number " + IntToStr(I));
      M->SetShortCut(ShortCut(Word('A' + I % 26), ssCtrl));
      M->SetImageIndex(0);
      Pm->Items()->Add(M);
    }
  }
  ~TBench() { delete Form; }
  TForm* Form;
  TBenchHost* Host;
  TImageList* Images;
  TspSkinPopupMenu* Pm;
};

TBench& Bench() {
  static TBench B;
  return B;
}

void CloseMenu() {
  Bench().Host->Menu->Hide();
  Application->DoReleaseQueue();
}

LRESULT CALLBACK PlainProc(HWND W, UINT M, WPARAM WP, LPARAM LP) {
  if (M == WM_ERASEBKGND) {
    RECT R;
    GetClientRect(W, &R);
    FillRect(reinterpret_cast<HDC>(WP), &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return 1;
  }
  if (M == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(W, M, WP, LP);
}

const WCHAR* PlainClass() {
  static const WCHAR* Name = [] {
    static const WCHAR N[] = {'B', 'e', 'n', 'c', 'h', 'P', 'o', 'p', 'u', 'p', 0};
    WNDCLASSW C{};
    C.lpfnWndProc = PlainProc;
    C.hInstance = GetModuleHandleW(nullptr);
    C.lpszClassName = N;
    C.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&C);
    return N;
  }();
  return Name;
}

// Args: look (0 default, 1 Dawn), reference (0 the menu, 1 an empty popup of its size).
void BM_PopupMenu40(benchmark::State& St) {
  Init();
  TBench& B = Bench();
  B.Pm->SetSkinData(St.range(0) ? Dawn() : nullptr);
  B.Pm->Popup(100, 100);
  TspSkinPopupWindow* L = B.Host->Menu->Level(0);
  const Integer W = L->Width(), H = L->Height();
  CloseMenu();
  for (auto _ : St) {
    if (St.range(1) == 0) {
      B.Pm->Popup(100, 100);
      UpdateWindow(B.Host->Menu->Level(0)->Handle());
      GdiFlush();
      St.PauseTiming();
      CloseMenu();
      St.ResumeTiming();
    } else {
      HWND P = CreateWindowExW(WS_EX_TOOLWINDOW, PlainClass(), PlainClass(), WS_POPUP, 100, 100, W, H, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
      SetWindowPos(P, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      UpdateWindow(P);
      GdiFlush();
      St.PauseTiming();
      DestroyWindow(P);
      St.ResumeTiming();
    }
  }
  St.counters["width"] = W;
  St.counters["height"] = H;
  const std::string Pair = St.range(0) ? "popup40-dawn" : "popup40-default";
  if (St.range(1))
    benchtable::Reference(St, "popup", Pair);
  else
    benchtable::Ours(St, Pair, St.range(0) ? "3.0x" : "2.0x");
}
BENCHMARK(BM_PopupMenu40)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MenuItemMorphStep(benchmark::State& St) {
  Init();
  TBench& B = Bench();
  B.Pm->SetSkinData(Dawn());
  B.Pm->Popup(100, 100);
  TspSkinPopupWindow* L = B.Host->Menu->Level(0);
  TspSkinMenuItem* It = L->Items(1);
  if (!It->MI) {
    St.SkipWithError("the scheme has no menu item description");
    CloseMenu();
    return;
  }
  const bool WasMorphing = It->MI->Morphing;
  It->MI->Morphing = true;
  L->SetBounds(L->Left(), L->Top(), 600 + L->NewItemsRect.Left * 2, L->Height());
  It->ObjectRect.Right = It->ObjectRect.Left + 600;
  It->Active = true;
  for (auto _ : St) {
    It->FMorphKf = 0.4;
    It->DoMorphing();
    GdiFlush();
  }
  It->MI->Morphing = WasMorphing;
  CloseMenu();
  benchtable::Ours(St, "", "1ms");
}
BENCHMARK(BM_MenuItemMorphStep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
