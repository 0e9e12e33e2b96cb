// Skinned form benchmarks (Winelib, under Xvfb):
//  BM_FramePaint    the frame of a 1920 x 1080 and a 3840 x 2160 skinned form
//                   painted into a memory DC through message 45513 (active,
//                   inactive with the grey effect, the default look), next to
//                   one BitBlt of a full-size 32-bit bitmap to the same DC;
//  BM_WindowRegion  UpdateWindowRegion(true) for a mask with rounded corners
//                   and a jagged mask (a different run on every row), from
//                   the shape of a form 8 pixels smaller, next to one
//                   ExtCreateRegion over the same runs; "with-paint" adds
//                   the paint of what the new shape adds;
//  BM_FadeStep      one opacity step of a shown 1920 x 1080 layered form;
//  BM_CaptionMorphStep  one fade step of the caption of a 3840-wide form;
//  BM_HoverTick     the hover poll over 20 objects with masks;
//  BM_LayerBorderFadeStep  one alpha step of a shown full layered border
//                   around a 1920 x 1080 form (four layered windows
//                   updated; target 5 ms, the fade's steps are 5 ms apart).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/BenchTable.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormSkin.h"

namespace {

String Folder() {
  static String Dir = [] {
    String D = GetTempDirectory() + u"lumigra-bench-skin-form";
    ForceDirectories(D);
    return D;
  }();
  return Dir;
}

void Save(TBitmap* B, const char* Name) { B->SaveToFile(Folder() + u"\\" + AsciiToString(Name)); }

std::unique_ptr<TBitmap> Flat(Integer W, Integer H, TColor C) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(C);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

// A 120 x 90 frame picture with a 30-pixel caption band and 6-pixel edges
// that vary along their length (so tiling and stretching both show), and its
// mask: rounded corners, or a jagged outline with a different run every row.
void WriteSkin(bool Jagged, bool Stretch, bool Grey, const char* IniName) {
  auto P = Flat(120, 90, 0x806040);
  for (Integer X = 0; X < 120; X += 4) {
    P->Canvas()->Brush()->SetColor(TColor(0x203040 + X * 0x010101));
    P->Canvas()->FillRect(TRect(X, 0, X + 2, 30));
  }
  P->Canvas()->Brush()->SetColor(clWhite);
  P->Canvas()->FillRect(TRect(6, 30, 114, 84));
  Save(P.get(), "picture.bmp");
  auto M = Flat(120, 90, clBlack);
  for (Integer Y = 0; Y < 90; ++Y) {
    Integer Cut = 0;
    if (Jagged)
      Cut = (Y * 7) % 5;
    else if (Y < 4 || Y > 85)
      Cut = Y < 4 ? 4 - Y : Y - 85;
    for (Integer X = 0; X < Cut; ++X) {
      M->Canvas()->SetPixels(X, Y, clWhite);
      M->Canvas()->SetPixels(119 - X, Y, clWhite);
    }
  }
  Save(M.get(), "mask.bmp");
  std::string Ini =
      "[VERSION]\r\nskinname=Bench\r\n\r\n[PICTURES]\r\npicture=picture.bmp\r\nmask=mask.bmp\r\n\r\n"
      "[FORMINFO]\r\nlefttoppoint=6,30\r\nrighttoppoint=114,30\r\nleftbottompoint=6,84\r\n"
      "rightbottompoint=114,84\r\nclientrect=6,30,114,84\r\nborderwidth=4\r\n";
  if (Stretch) Ini += "topstretch=1\r\nbottomstretch=1\r\n";
  if (Grey) Ini += "autorenderinginactiveimage=1\r\ninactiveeffect=iegrayscale\r\n";
  Ini += "\r\n[SKINOBJECTS]\r\ncount=0\r\n\r\n[SKINCONTROLS]\r\ncount=0\r\n";
  const String Path = Folder() + u"\\" + AsciiToString(IniName);
  THandle H = FileCreate(Path);
  FileWrite(H, Ini.data(), static_cast<Integer>(Ini.size()));
  FileClose(H);
}

std::unique_ptr<TspSkinData> Skin(bool Jagged, bool Stretch, bool Grey) {
  const char* Name = "skin.ini";
  WriteSkin(Jagged, Stretch, Grey, Name);
  auto D = std::make_unique<TspSkinData>(nullptr);
  D->SetShowLayeredBorders(false);
  D->LoadFromFile(Folder() + u"\\" + AsciiToString(Name));
  return D;
}

void Pump() {
  for (int I = 0; I < 5; ++I) Application->ProcessMessages();
}

struct TBenchForm {
  TBenchForm(TspSkinData* SD, Integer W, Integer H) {
    F = new TForm(nullptr);
    F->SetBounds(0, 0, W, H);
    FS = new TspFormSkin(F);
    FS->FMaxWidth = W;
    FS->FMaxHeight = H;
    if (SD) FS->SetSkinData(SD);
    F->Show();
    F->SetBounds(0, 0, W, H);
    Pump();
  }
  ~TBenchForm() { delete F; }
  TForm* F;
  TspFormSkin* FS;
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

// Args: size (0: 1920 x 1080, 1: 3840 x 2160), mode (0 active, 1 inactive
// grey, 2 default look, 3 reference BitBlt).
void BM_FramePaint(benchmark::State& St) {
  Init();
  const Integer W = St.range(0) ? 3840 : 1920, H = St.range(0) ? 2160 : 1080;
  const int Mode = static_cast<int>(St.range(1));
  auto SD = Skin(false, true, Mode == 1);
  TBenchForm Form(Mode == 2 ? nullptr : SD.get(), W, H);
  std::unique_ptr<TBenchForm> Other;
  if (Mode == 1) Other = std::make_unique<TBenchForm>(nullptr, 200, 100);
  BITMAPINFO BI{};
  BI.bmiHeader = {sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  const HDC DC = CreateCompatibleDC(nullptr);
  const HBITMAP Target = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  SelectObject(DC, Target);
  const HDC SrcDC = CreateCompatibleDC(nullptr);
  void* SrcBits = nullptr;
  const HBITMAP Src = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &SrcBits, nullptr, 0);
  SelectObject(SrcDC, Src);
  for (auto _ : St) {
    if (Mode == 3)
      BitBlt(DC, 0, 0, W, H, SrcDC, 0, 0, SRCCOPY);
    else
      SendMessageW(Form.F->Handle(), FEM_PAINT_FRAME, reinterpret_cast<WPARAM>(DC), 0);
    GdiFlush();
  }
  DeleteDC(SrcDC);
  DeleteObject(Src);
  DeleteDC(DC);
  DeleteObject(Target);
  static const char* Names[] = {"active", "inactive-grey", "default-look", "reference-bitblt"};
  St.SetLabel(Names[Mode]);
}
BENCHMARK(BM_FramePaint)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Args: size, mask (0 rounded, 1 jagged), reference (0 the form, 1 one
// ExtCreateRegion over the same runs, 2 Wine's SetWindowRgn alone).
void BM_WindowRegion(benchmark::State& St) {
  Init();
  const Integer W = St.range(0) ? 3840 : 1920, H = St.range(0) ? 2160 : 1080;
  auto SD = Skin(St.range(1) == 1, false, false);
  TBenchForm Form(SD.get(), W, H);
  TspFormSkin* FS = Form.FS;
  if (St.range(2) == 0 || St.range(2) == 3) {
    // Every step is a real change: before it (untimed) the window gets back
    // the shape of the same mask for a form 8 pixels narrower and lower, as
    // after a step of a resize. Timed: the new region (what Wine repaints
    // inside the change included); with kind 3 also the paint of what the
    // new shape adds and was left invalid for the next paint.
    const HWND Wnd = Form.F->Handle();
    const bool WithPaint = St.range(2) == 3;
    for (auto _ : St) {
      St.PauseTiming();
      FS->FFormWidth = W - 8;
      FS->FFormHeight = H - 8;
      FS->UpdateWindowRegion(true);
      FS->FFormWidth = W;
      FS->FFormHeight = H;
      ValidateRect(Wnd, nullptr);
      St.ResumeTiming();
      FS->UpdateWindowRegion(true);
      if (WithPaint) {
        UpdateWindow(Wnd);
      } else {
        St.PauseTiming();
        UpdateWindow(Wnd);
        St.ResumeTiming();
      }
    }
  } else if (St.range(2) == 2) {
    // Wine's part of the same change: SetWindowRgn alone (no redraw) from
    // the smaller shape to the new one, both built beforehand.
    const HWND Wnd = Form.F->Handle();
    auto Shape = [&](Integer FW, Integer FH) {
      FS->FFormWidth = FW;
      FS->FFormHeight = FH;
      FS->UpdateWindowRegion(true);
      HRGN R = CreateRectRgn(0, 0, 0, 0);
      GetWindowRgn(Wnd, R);
      return R;
    };
    HRGN Smaller = Shape(W - 8, H - 8), Full = Shape(W, H);
    auto Copy = [](HRGN R) {
      HRGN C = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(C, R, nullptr, RGN_COPY);
      return C;
    };
    for (auto _ : St) {
      St.PauseTiming();
      SetWindowRgn(Wnd, Copy(Smaller), FALSE);
      HRGN Next = Copy(Full);
      St.ResumeTiming();
      SetWindowRgn(Wnd, Next, FALSE);
    }
    DeleteObject(Smaller);
    DeleteObject(Full);
  } else {
    // The same runs, one rectangle each, in one region data block.
    std::vector<RECT> Rects;
    FS->UpdateMaskStrips();
    const TRect& A = FS->Frame().NewMaskRectArea;
    Rects.push_back(RECT{A.Left, A.Top, A.Right, A.Bottom});
    auto Add = [&](TBitmap* B, Integer X, Integer Y) {
      void* Data = nullptr;
      const Integer Size = BuildMaskRegionData(B, X, Y, Data);
      if (Size <= 0) return;
      auto* D = static_cast<RGNDATA*>(Data);
      const RECT* R = reinterpret_cast<const RECT*>(D->Buffer);
      Rects.insert(Rects.end(), R, R + D->rdh.nCount);
      FreeRegionData(Data);
    };
    Add(FS->RMTop, 0, 0);
    Add(FS->RMBottom, 0, A.Bottom);
    Add(FS->RMLeft, 0, A.Top);
    Add(FS->RMRight, A.Right, A.Top);
    std::vector<Byte> Buf(sizeof(RGNDATAHEADER) + Rects.size() * sizeof(RECT));
    auto* D = reinterpret_cast<RGNDATA*>(Buf.data());
    D->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(Rects.size()),
              static_cast<DWORD>(Rects.size() * sizeof(RECT)), {0, 0, W, H}};
    memcpy(D->Buffer, Rects.data(), Rects.size() * sizeof(RECT));
    for (auto _ : St) {
      HRGN R = ExtCreateRegion(nullptr, static_cast<DWORD>(Buf.size()), D);
      DeleteObject(R);
    }
    St.counters["runs"] = static_cast<double>(Rects.size());
  }
  static const char* Kinds[] = {"", " reference", " wine-setwindowrgn", " with-paint"};
  St.SetLabel(std::string(St.range(1) ? "jagged" : "rounded") + Kinds[St.range(2)]);
}
BENCHMARK(BM_WindowRegion)
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_FadeStep(benchmark::State& St) {
  Init();
  TBenchForm Form(nullptr, 1920, 1080);
  const HWND Wnd = Form.F->Handle();
  SetWindowLongW(Wnd, GWL_EXSTYLE, GetWindowLongW(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  Byte A = 0;
  for (auto _ : St) {
    A = static_cast<Byte>(A + 17);
    SetWindowAlphaValue(Wnd, A);
    GdiFlush();
  }
}
BENCHMARK(BM_FadeStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One step of the caption's fade on a 3840-pixel-wide form: the normal and
// active looks composed at the caption's size, the transition, one copy to
// the window. The morph timer ticks every 25 ms.
void BM_CaptionMorphStep(benchmark::State& St) {
  Init();
  auto SD = Skin(false, true, false);
  SD->FActivePictures->Add(Flat(120, 30, 0x30A0F0).release());
  TBenchForm Form(SD.get(), 3840, 400);
  TspFormSkin* FS = Form.FS;
  FS->PreviewMode = true;
  FS->ClearObjects();
  TspDataSkinCaption D(u"caption");
  // Inside the caption band, so that the caption stretches along the form's
  // width (a rectangle reaching the band's bottom would be a side piece).
  D.SkinRect = TRect(0, 2, 120, 26);
  D.ActiveSkinRect = TRect(0, 2, 120, 26);
  D.ActivePictureIndex = 0;
  D.Morphing = true;
  D.TextRct = TRect(10, 2, 110, 26);
  D.FontName = u"Arial";
  D.FontHeight = -13;
  auto* C = new TspSkinCaptionObject(FS, &D);
  FS->ObjectList->Add(C);
  C->ObjectRect = TRect(0, 2, 3840, 26);
  C->Active = true;
  for (auto _ : St) {
    C->SetMorphKf(0.4);
    C->DoMorphing();
    GdiFlush();
  }
  // The width of the looks the step blends (the caption's own width when
  // the geometry above makes it stretch).
  St.counters["width"] = C->ObjectRect.Width();
}
BENCHMARK(BM_CaptionMorphStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 50-ms hover poll over a frame of 20 objects with masks, the pointer on
// the last one (the walk tests every object).
void BM_HoverTick(benchmark::State& St) {
  Init();
  auto SD = Skin(false, true, false);
  SD->FActivePictures->Add(Flat(20, 10, clBlack).release());
  TBenchForm Form(SD.get(), 1200, 400);
  TspFormSkin* FS = Form.FS;
  SetForegroundWindow(Form.F->Handle());
  Pump();
  FS->ClearObjects();
  for (Integer I = 0; I < 20; ++I) {
    TspDataSkinObject D(u"object" + IntToStr(I));
    D.SkinRect = TRect(0, 0, 20, 10);
    D.ActiveMaskPictureIndex = 0;
    auto* O = new TspActiveSkinObject(FS, &D);
    O->ObjectRect = TRect(200 + I * 30, 2, 220 + I * 30, 12);
    FS->ObjectList->Add(O);
  }
  RECT W;
  GetWindowRect(Form.F->Handle(), &W);
  const TPoint P(W.left + 200 + 19 * 30 + 5, W.top + 6);
  FS->CursorPosSource = [P] { return P; };
  const HWND Wnd = Form.F->Handle();
  FS->WindowFromPointSource = [Wnd](TPoint) { return Wnd; };
  FS->MouseTimerTick();
  for (auto _ : St) FS->MouseTimerTick();
  St.counters["hot"] = FS->ActiveObject;
}
BENCHMARK(BM_HoverTick)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A full layered border (173 x 133 source with a half-transparent caption
// band) shown around a 1920 x 1080 form; each step re-applies the four
// images with a new constant alpha.
void BM_LayerBorderFadeStep(benchmark::State& St) {
  Init();
  auto SD = Skin(false, false, false);
  auto Src = Flat(173, 133, 0x806040);
  auto Mask = Flat(173, 133, clWhite);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(TRect(18, 46, 155, 115));
  Mask->Canvas()->Brush()->SetColor(TColor(0x808080));
  Mask->Canvas()->FillRect(TRect(31, 14, 140, 46));
  const Integer First = SD->FActivePictures->Count();
  SD->FActivePictures->Add(Src.release());
  SD->FActivePictures->Add(Mask.release());
  TspDataSkinLayerFrame& D = *SD->LayerFrame;
  D.PictureIndex = First;
  D.MaskPictureIndex = First + 1;
  D.LTPoint = TPoint(31, 46);
  D.RTPoint = TPoint(140, 45);
  D.LBPoint = TPoint(21, 113);
  D.RBPoint = TPoint(151, 113);
  D.ClRect = TRect(18, 46, 155, 115);
  D.BorderRect = TRect(14, 14, 158, 118);
  D.CaptionRect = TRect(21, 18, 152, 39);
  D.HitTestEnable = D.FullBorder = true;
  D.HitTestSize = 3;
  TBenchForm Form(SD.get(), 1920, 1080);
  TspFormLayerBorder* B = Form.FS->FBorderLayer;
  if (!B->FData) {
    St.SkipWithError("the layer frame was not taken");
    return;
  }
  B->ShowWithForm();
  Pump();
  Integer A = 0;
  for (auto _ : St) {
    A = (A + 17) % 256;
    B->CheckFormAlpha(A, true);
    GdiFlush();
  }
  B->Hide();
  benchtable::Ours(St, "", "5ms");
}
BENCHMARK(BM_LayerBorderFadeStep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

