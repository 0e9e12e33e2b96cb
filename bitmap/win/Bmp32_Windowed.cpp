// TBitmap32 on the GDI backend, its text routines, and the start-up seams
// that make the GDI backend the engine's default in the Winelib build.
#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Clipbrd.h"

#include <algorithm>
#include <vector>

#include "bitmap/Bmp32_Resamplers.h"
#include "rtl/ScopeGuard.h"

namespace {

TCustomBackend* NewGDIBackend() { return new TGDIBackend(nullptr); }

bool GraphicSize(TPersistent* Source, Integer& Width, Integer& Height) {
  if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    Width = G->Width();
    Height = G->Height();
    return true;
  }
  if (auto* P = dynamic_cast<TPicture*>(Source)) {
    Width = P->Width();
    Height = P->Height();
    return true;
  }
  return false;
}

// The GDI side of the engine's seams (the Win32 ones are bound in
// Bmp32_SeamsWin.cpp), set when this unit is linked in, i.e. in any program
// that uses TBitmap32. The defaults they replace are constant-initialised.
struct TWindowedSeams {
  TWindowedSeams() {
    DefaultBackendClass = NewGDIBackend;
    SetSizeFromHook = GraphicSize;
  }
} WindowedSeams;

}  // namespace

// ---------------------------------------------------------------------------
// TBitmap32

TBitmap32::TBitmap32() { new TGDIBackend(this); }

TBitmap32::~TBitmap32() = default;

void TBitmap32::SetBackend(TCustomBackend* Value) {
  if (Value && Value != FBackend) {
    if (auto* F = QueryBackendInterface<IFontSupport>(Value, IID_IFontSupport)) F->SetOnFontChange([](TObject*) {});
    if (auto* C = QueryBackendInterface<ICanvasSupport>(Value, IID_ICanvasSupport))
      C->SetCanvasChange([this](TObject*) { Changed(); });
  }
  TCustomBitmap32::SetBackend(Value);
}

void TBitmap32::DetachBackend() {
  if (FBackend) {
    if (auto* F = QueryBackendInterface<IFontSupport>(FBackend, IID_IFontSupport)) F->SetOnFontChange(nullptr);
    if (auto* C = QueryBackendInterface<ICanvasSupport>(FBackend, IID_ICanvasSupport)) C->SetCanvasChange(nullptr);
  }
  TCustomBitmap32::DetachBackend();
}

void TBitmap32::BackendReady(TObject* Sender) {
  TCustomBitmap32::BackendReady(Sender);
  NotifyHandleChanged();
}

void TBitmap32::BackendReleasing(TObject* Sender) {
  TCustomBitmap32::BackendReleasing(Sender);
  if (auto* C = QueryBackendInterface<ICanvasSupport>(FBackend, IID_ICanvasSupport)) C->DeleteCanvas();
}

void TBitmap32::NotifyHandleChanged() {
  if (FOnHandleChanged) FOnHandleChanged(this);
}

void TBitmap32::CopySettingsTo(TCustomBitmap32* Dst) {
  TCustomBitmap32::CopySettingsTo(Dst);
  if (auto* D = dynamic_cast<TBitmap32*>(Dst)) {
    auto* Mine = QueryBackendInterface<IFontSupport>(FBackend, IID_IFontSupport);
    auto* Theirs = QueryBackendInterface<IFontSupport>(D->FBackend, IID_IFontSupport);
    if (Mine && Theirs) Theirs->SetFont(Mine->GetFont());
  }
}

TCanvas* TBitmap32::Canvas() { return RequireBackendInterface<ICanvasSupport>(FBackend, IID_ICanvasSupport)->GetCanvas(); }

bool TBitmap32::CanvasAllocated() {
  return RequireBackendInterface<ICanvasSupport>(FBackend, IID_ICanvasSupport)->CanvasAllocated();
}

void TBitmap32::DeleteCanvas() {
  if (auto* C = QueryBackendInterface<ICanvasSupport>(FBackend, IID_ICanvasSupport)) C->DeleteCanvas();
}

TFont* TBitmap32::Font() { return RequireBackendInterface<IFontSupport>(FBackend, IID_IFontSupport)->GetFont(); }

void TBitmap32::SetFont(TFont* Value) { RequireBackendInterface<IFontSupport>(FBackend, IID_IFontSupport)->SetFont(Value); }

void TBitmap32::UpdateFont() { RequireBackendInterface<IFontSupport>(FBackend, IID_IFontSupport)->UpdateFont(); }

HDC TBitmap32::Handle() {
  return RequireBackendInterface<IDeviceContextSupport>(FBackend, IID_IDeviceContextSupport)->GetHandle();
}

HBITMAP TBitmap32::BitmapHandle() {
  return RequireBackendInterface<IBitmapContextSupport>(FBackend, IID_IBitmapContextSupport)->GetBitmapHandle();
}

BITMAPINFO TBitmap32::BitmapInfo() {
  return RequireBackendInterface<IBitmapContextSupport>(FBackend, IID_IBitmapContextSupport)->GetBitmapInfo();
}

void TBitmap32::Draw(const TRect& DstRect, const TRect& SrcRect, HDC hSrc) {
  RequireBackendInterface<IDeviceContextSupport>(FBackend, IID_IDeviceContextSupport)->Draw(DstRect, SrcRect, hSrc);
}

void TBitmap32::DrawTo(HDC hDst, Integer DstX, Integer DstY) {
  if (Empty()) return;
  RequireBackendInterface<IDeviceContextSupport>(FBackend, IID_IDeviceContextSupport)->DrawTo(hDst, DstX, DstY);
}

void TBitmap32::DrawTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect) {
  if (Empty()) return;
  RequireBackendInterface<IDeviceContextSupport>(FBackend, IID_IDeviceContextSupport)->DrawTo(hDst, DstRect, SrcRect);
}

void TBitmap32::TileTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect) {
  const Integer W = DstRect.Width(), H = DstRect.Height();
  if (W <= 0 || H <= 0) return;
  const Integer Cols = (W + 1023) / 1024, Rows = (H + 1023) / 1024;
  TBitmap32 Tile;
  for (Integer R = 0; R < Rows; ++R) {
    for (Integer C = 0; C < Cols; ++C) {
      const Integer L = C * 1024, T = R * 1024;
      const Integer Rt = std::min((C + 1) * 1024, W), Bt = std::min((R + 1) * 1024, H);
      Tile.SetSize(Rt - L, Bt - T);
      TransferStretched(&Tile, TRect(-L, -T, W - L, H - T), TRect(0, 0, Rt - L, Bt - T), this, SrcRect, FResampler,
                        FDrawMode, FOnPixelCombine);
      Tile.DrawTo(hDst, DstRect.Left + L, DstRect.Top + T);
    }
  }
}

// ---------------------------------------------------------------------------
// Text

void TBitmap32::Textout(Integer X, Integer Y, const String& Text) {
  RequireBackendInterface<ITextSupport>(FBackend, IID_ITextSupport)->Textout(X, Y, Text);
}

void TBitmap32::Textout(Integer X, Integer Y, const TRect& ClipRect, const String& Text) {
  RequireBackendInterface<ITextSupport>(FBackend, IID_ITextSupport)->Textout(X, Y, ClipRect, Text);
}

void TBitmap32::Textout(const TRect& DstRect, Cardinal Flags, const String& Text) {
  TRect R = DstRect;
  RequireBackendInterface<ITextSupport>(FBackend, IID_ITextSupport)->Textout(R, Flags, Text);
}

SIZE TBitmap32::TextExtent(const String& Text) {
  return RequireBackendInterface<ITextSupport>(FBackend, IID_ITextSupport)->TextExtent(Text);
}

void TBitmap32::RenderText(Integer X, Integer Y, const String& Text, Integer AALevel, TColor32 Color) {
  if (Empty()) return;
  RequireBackendInterface<ITextSupport>(FBackend, IID_ITextSupport);
  TFont* F = Font();
  const Cardinal Alpha = Color >> 24;
  const TColor32 RGB = Color & 0x00FFFFFFu;
  AALevel = LimitRange(AALevel, -1, 4);
  const String Measuring = Text + u" ";
  SetFontQuality(F, AALevel < 0 ? 4 : 3);
  TFinally Done([&] { SetFontQuality(F, 0); });
  TBitmap32 S;
  if (AALevel > 0) {
    const Integer N = 1 << AALevel;
    TBitmap32 B;
    B.SetFont(F);
    B.Font()->SetSize(F->Size() * N);
    B.Font()->SetColor(clWhite);
    SIZE Sz = B.TextExtent(Measuring);
    // The scratch box never exceeds this bitmap's size, oversampled.
    Integer Cx = std::min<Int64>(Int64(Sz.cx) + N, Int64(Width()) * N);
    Integer Cy = std::min<Int64>(Int64(Sz.cy) + N, Int64(Height()) * N);
    B.SetSize(Cx, Cy);
    B.Clear(0);
    B.Textout(0, 0, Text);
    const Integer Sw = Cx >> AALevel, Sh = Cy >> AALevel;
    S.SetSize(Sw, Sh);
    for (Integer Yy = 0; Yy < Sh; ++Yy)
      for (Integer Xx = 0; Xx < Sw; ++Xx) {
        Cardinal Sum = 0;
        for (Integer j = 0; j < N; ++j) {
          const TColor32* Row = B.ScanLine(Yy * N + j) + Xx * N;
          for (Integer i = 0; i < N; ++i) Sum += Row[i] & 0xFFu;
        }
        S.SetPixel(Xx, Yy, RGB | (TColor32(Sum >> (2 * AALevel)) << 24));
      }
  } else {
    SIZE Sz = TextExtent(Measuring);
    const Integer Cx = std::min<Integer>(Sz.cx, Width()), Cy = std::min<Integer>(Sz.cy, Height());
    S.SetSize(Cx, Cy);
    S.SetFont(F);
    S.Clear(0);
    S.Font()->SetColor(clWhite);
    S.Textout(0, 0, Text);
    if (!S.Empty()) {
      TColor32* P = S.Bits();
      for (Int64 i = 0, n = Int64(Cx) * Cy; i < n; ++i)
        if (P[i] != 0) P[i] = RGB | ((P[i] & 0xFFu) << 24);
    }
  }
  S.SetDrawMode(dmBlend);
  S.SetMasterAlpha(Alpha);
  S.SetCombineMode(FCombineMode);
  S.DrawTo(this, X, Y);
}

// ---------------------------------------------------------------------------
// Conversion and streams (members forward to the free functions)

void TBitmap32::Assign(TPersistent* Source) {
  auto* G = dynamic_cast<TGraphic*>(Source);
  auto* P = dynamic_cast<TPicture*>(Source);
  auto* C = dynamic_cast<TClipboard*>(Source);
  if (!G && !P && !C) {
    TCustomBitmap32::Assign(Source);
    return;
  }
  TUpdateLock Updating(*this, ReportChange);
  if (C)
    AssignFromClipboard(this, C);
  else
    AssignFromGraphic(this, G ? G : P->Graphic());
}

void TBitmap32::AssignTo(TPersistent* Dest) {
  if (auto* P = dynamic_cast<TPicture*>(Dest)) {
    AssignToBitmap(this, P->Bitmap());
  } else if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    AssignToBitmap(this, B);
  } else if (auto* C = dynamic_cast<TClipboard*>(Dest)) {
    AssignToClipboard(this, C);
  } else {
    TCustomBitmap32::AssignTo(Dest);
  }
}

void TBitmap32::SaveToStream(TStream* Stream, bool SaveTopDown) { SaveBitmap32ToStream(this, Stream, SaveTopDown); }
void TBitmap32::LoadFromStream(TStream* Stream) { LoadBitmap32FromStream(this, Stream); }
void TBitmap32::SaveToFile(const String& FileName, bool SaveTopDown) { SaveBitmap32ToFile(this, FileName, SaveTopDown); }
void TBitmap32::LoadFromFile(const String& FileName) { LoadBitmap32FromFile(this, FileName); }
void TBitmap32::ReadPixelData(TStream* Stream) { ReadBitmap32PixelData(this, Stream); }
void TBitmap32::WritePixelData(TStream* Stream) { WriteBitmap32PixelData(this, Stream); }

void TBitmap32::LoadFromResourceID(HINSTANCE Instance, Integer ResID) {
  TBitmap B;
  TFinally Done([&] { Changed(); });
  B.LoadFromResourceID(Instance, ResID);
  Assign(&B);
}

void TBitmap32::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  TBitmap B;
  TFinally Done([&] { Changed(); });
  B.LoadFromResourceName(Instance, ResName);
  Assign(&B);
}
