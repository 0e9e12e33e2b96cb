// Layered windows, the layer manager's fade, and the glow and reflection texts.
#include "skin/data/win/SPUtils.h"

#include <algorithm>
#include <cmath>

using namespace sppix;

// ---------------------------------------------------------------------------
// Layer window and manager

TspLayerWindow::TspLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {}

void TspLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
  Params.WndParent = nullptr;
  Params.ClassStyle |= CS_SAVEBITS;
}

void TspLayerWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::Dispatch(Message);
}

TspLayerManager::TspLayerManager(TComponent* AOwner) : TComponent(AOwner) {
  FTimer = new TTimer(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(25);
  FTimer->SetOnTimer([this](TObject* Sender) { TimerStep(Sender); });
}

TspLayerManager::~TspLayerManager() {
  FTimer->SetEnabled(false);
  delete FLayerWindow;
  FLayerWindow = nullptr;
  delete FBmp;
  FBmp = nullptr;
}

void TspLayerManager::Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue) {
  if (!IsWin2000OrLater() || !AImage) return;
  if (FLayerWindow) Hide();
  FIsVisible = true;
  FLayerWindow = new TspLayerWindow(this);
  FLayerWindow->SetVisible(false);
  FLayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
  const HWND Wnd = FLayerWindow->Handle();
  SetWindowLongPtrW(Wnd, GWL_EXSTYLE, GetWindowLongPtrW(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  delete FBmp;
  FBmp = nullptr;
  FBmp = new TspBitmap();
  BuildAlphaBitmapFromMask(AImage, AImageMask, FBmp);
  UpdateLayeredControl(FBmp, 0, FLayerWindow);
  SetWindowPos(Wnd, FTopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FEndAlphaBlendValue = AAlphaBlendValue;
  FStepAlphaBlendValue = std::max(1, AAlphaBlendValue / 10);
  StartTimer();
}

void TspLayerManager::TimerStep(TObject*) {
  if (!FBmp || !FLayerWindow) return;
  FBeginAlphaBlendValue = std::min(FBeginAlphaBlendValue + FStepAlphaBlendValue, FEndAlphaBlendValue);
  UpdateLayeredControl(FBmp, Byte(std::clamp(FBeginAlphaBlendValue, 0, 255)), FLayerWindow);
  if (FBeginAlphaBlendValue == FEndAlphaBlendValue) StopTimer();
}

void TspLayerManager::Hide() {
  if (!IsWin2000OrLater()) return;
  StopTimer();
  delete FBmp;
  FBmp = nullptr;
  FIsVisible = false;
  if (FLayerWindow) {
    if (FLayerWindow->HandleAllocated())
      SetWindowPos(FLayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    TspLayerWindow* W = FLayerWindow;
    FLayerWindow = nullptr;
    delete W;
  }
}

void TspLayerManager::Update() {
  if (!FIsVisible || !FLayerWindow) return;
  SetWindowPos(FLayerWindow->Handle(), FTopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, FLayerWindow->Left(),
               FLayerWindow->Top(), 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TspLayerManager::StartTimer() {
  FBeginAlphaBlendValue = 0;
  FTimer->SetEnabled(true);
}

void TspLayerManager::StopTimer() { FTimer->SetEnabled(false); }

void UpdateLayeredControl(TspBitmap* Bmp, Byte Alpha, TWinControl* Control) {
  if (!spUpdateLayeredWindow || !Bmp || !Control) return;
  POINT Dst{Control->Left(), Control->Top()};
  SIZE Size{Bmp->Width(), Bmp->Height()};
  POINT Src{0, 0};
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  GdiFlush();
  spUpdateLayeredWindow(Control->Handle(), nullptr, &Dst, &Size, Bmp->DC(), &Src, 0, &Blend, ULW_ALPHA);
}

void SetWindowAlphaValue(HWND Wnd, Byte Alpha) {
  if (spSetLayeredWindowAttributes) spSetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
}

void BuildAlphaBitmapFromMask(TBitmap* AImage, TBitmap* AImageMask, TspBitmap* Target) {
  Target->Assign(AImage);
  if (AImageMask) {
    TspBitmap Mask;
    Mask.Assign(AImageMask);
    AlphaFromGrayBitmap(Target, &Mask);
  }
  Target->CheckRGBA();
}

// ---------------------------------------------------------------------------
// Glow and reflection

namespace {

Integer GlowRadius(Integer Size) { return std::clamp(Size, 0, MaxStackBlurRadius); }

// A zeroed work bitmap of W x H whose canvas has the font of Canvas in red
// and a clear brush; nullptr-free: false when it has no pixels.
bool PrepareWork(TspBitmap& Work, TCanvas* Canvas, Integer W, Integer H) {
  if (W <= 0 || H <= 0) return false;
  Work.SetSize(W, H);
  TCanvas* C = Work.Canvas();
  C->Font()->Assign(Canvas->Font());
  C->Font()->SetColor(TColor(255));
  C->Brush()->SetStyle(bsClear);
  return true;
}

Integer RedText(TspBitmap& Work, const WideString& Text, TRect R, UINT Flags) {
  return DrawWideText(Work.Canvas(), Text, R, Flags);
}

TRect Moved(const TRect& R, Integer DX, Integer DY) { return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

// Alpha := red, colour := GlowColor; marked for blending.
void Tint(TspBitmap& Work, TColor GlowColor) {
  GdiFlush();
  const TspColor C = RGBToSpColor(Cardinal(GlowColor)) & 0x00FFFFFFu;
  TspColor* P = Work.Bits();
  for (Int64 i = 0; i < Work.PixelCount(); ++i) P[i] = C | (((P[i] >> 16) & 0xFF) << 24);
  Work.SetAlphaBlend(true);
}

Integer PlainText(TCanvas* Canvas, const WideString& Text, TRect R, UINT Flags) {
  Canvas->Brush()->SetStyle(bsClear);
  return DrawWideText(Canvas, Text, R, Flags);
}

Integer GlowText(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, Integer Offset, TColor GlowColor,
                 Integer GlowSize, bool Bold) {
  const Integer S = GlowRadius(GlowSize);
  TspBitmap Work;
  if (PrepareWork(Work, Canvas, R.Width() + 2 * S, R.Height() + 2 * S)) {
    const TRect T(S, S, Work.Width() - S, Work.Height() - S);
    RedText(Work, Text, T, Flags);
    if (Bold) {
      RedText(Work, Text, Moved(T, -1, 0), Flags);
      RedText(Work, Text, Moved(T, 1, 0), Flags);
      RedText(Work, Text, Moved(T, 0, -1), Flags);
      RedText(Work, Text, Moved(T, 0, 1), Flags);
    }
    StackBlurBitmap(&Work, S);
    Tint(Work, GlowColor);
    Work.Draw(Canvas, R.Left + Offset - S, R.Top + Offset - S);
  }
  return PlainText(Canvas, Text, R, Flags);
}

Integer VistaGlow(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, TColor GlowColor, Integer M,
                  bool Narrow) {
  TspBitmap Work;
  if (PrepareWork(Work, Canvas, R.Width() + 2 * M, R.Height() + 2 * M)) {
    const TRect T(M, M, Work.Width() - M, Work.Height() - M);
    TCanvas* C = Work.Canvas();
    C->Brush()->SetColor(TColor(255));
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(Narrow ? TRect(T.Left + 3, T.Top + 3, T.Right - 3, T.Bottom - 3)
                       : TRect(T.Left - 3, T.Top + 2, T.Right + 3, T.Bottom - 2));
    C->Brush()->SetStyle(bsClear);
    static const TPoint Offsets[9] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 0}};
    for (const TPoint& O : Offsets) RedText(Work, Text, Moved(T, O.X, O.Y), Flags);
    StackBlurBitmap(&Work, M / 2);
    StackBlurBitmap(&Work, M / 2);
    Tint(Work, GlowColor);
    Work.Draw(Canvas, R.Left - M, R.Top - M);
  }
  return PlainText(Canvas, Text, R, Flags);
}

}  // namespace

Integer DrawGlowText(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, Integer Offset, TColor GlowColor,
                     Integer GlowSize) {
  return GlowText(Canvas, R, Text, Flags, Offset, GlowColor, GlowSize, false);
}

Integer DrawGlowTextBold(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, Integer Offset, TColor GlowColor,
                         Integer GlowSize) {
  return GlowText(Canvas, R, Text, Flags, Offset, GlowColor, GlowSize, true);
}

Integer DrawVistaGlowText(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, TColor GlowColor) {
  return VistaGlow(Canvas, R, Text, Flags, GlowColor, 12, false);
}

Integer DrawVistaGlowTextNarrow(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, TColor GlowColor) {
  return VistaGlow(Canvas, R, Text, Flags, GlowColor, 10, true);
}

Integer DrawReflectionText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, Integer Offset,
                           TColor ReflectionColor) {
  const Integer W = R.Width(), H = R.Height();
  TspBitmap Work;
  if (PrepareWork(Work, Canvas, W, H)) {
    RedText(Work, Text, TRect(0, 0, W, H), Flags);
    TRect T(0, 0, W, H);
    DrawWideText(Work.Canvas(), Text, T, Flags | DT_CALCRECT);
    TRect R2 = R;
    DrawWideText(Canvas, Text, R2, Flags | DT_CALCRECT);
    if (T.Height() > 0) {
      GdiFlush();
      const TspColor C = RGBToSpColor(Cardinal(ReflectionColor)) & 0x00FFFFFFu;
      for (Integer y = 0; y < H; ++y) {
        TspColor* Row = Work.GetRowPtr(y);
        if (y < T.Top || y > T.Bottom) {
          std::fill(Row, Row + W, 0u);
          continue;
        }
        const double k = std::max(0.0, 0.7 - double(T.Bottom - y + T.Top) / double(T.Bottom - T.Top));
        for (Integer x = 0; x < W; ++x) {
          const Cardinal a = Cardinal(std::trunc(((Row[x] >> 16) & 0xFF) * k));
          Row[x] = C | (a << 24);
        }
      }
      Work.FlipVert();
      Work.SetAlphaBlend(true);
      Work.Draw(Canvas, R.Left, R2.Bottom - (H - T.Bottom) + Offset);
    }
  }
  return PlainText(Canvas, Text, R, Flags);
}

void DrawGlyphSilhouette(TspBitmap* Target, TCustomImageList* ImageList, Integer Index, Integer Offset) {
  if (!Target || !ImageList) return;
  TBitmap Image;
  Image.SetSize(ImageList->Width(), ImageList->Height());
  if (Image.Empty()) return;
  Image.Canvas()->Brush()->SetColor(clWhite);
  Image.Canvas()->FillRect(TRect(0, 0, Image.Width(), Image.Height()));
  ImageList->Draw(Image.Canvas(), 0, 0, Index, true);
  TspBitmap S;
  S.Assign(&Image);
  if (S.Empty()) return;
  const TspColor Key = S.GetPixel(0, 0);
  TspColor* P = S.Bits();
  for (Int64 i = 0; i < S.PixelCount(); ++i)
    if (((P[i] ^ Key) & 0x00FFFFFFu) != 0) P[i] = 0xFFFF0000u;
  S.CheckingTransparent(Key);
  S.Draw(Target->Canvas(), Offset, Offset);
  S.Draw(Target->Canvas(), Offset - 1, Offset - 1);
  S.Draw(Target->Canvas(), Offset + 1, Offset + 1);
}

void DrawImageAndTextGlow(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                          const String& Caption, Integer ImageIndex, TCustomImageList* ImageList, bool ButtonDown,
                          bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue, TColor GlowColor,
                          Integer GlowSize) {
  const bool HasGlyph = ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count();
  const Integer GW = HasGlyph ? ImageList->Width() : 0, GH = HasGlyph ? ImageList->Height() : 0;
  Integer TW = 0, TH = 0;
  if (!Caption.empty()) {
    RECT M{0, 0, R.Width(), R.Height()};
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
      M.right -= GW;
    else
      M.bottom -= GH;
    DrawTextW(Canvas->Handle(), reinterpret_cast<const WCHAR*>(Caption.c_str()), Integer(Caption.size()), &M,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    TW = M.right - M.left;
    TH = M.bottom - M.top;
  }
  Canvas->Brush()->SetStyle(bsClear);
  Integer TX, TY, GX, GY;
  CalcGlyphTextPos(Layout, R, GW, GH, TW, TH, Spacing, Margin, TX, TY, GX, GY);
  if (ButtonDown) {
    ++GX;
    ++GY;
    ++TX;
    ++TY;
  }
  const Integer S = GlowRadius(GlowSize);
  if (HasGlyph) {
    TspBitmap Work;
    Work.SetSize(GW + 2 * S, GH + 2 * S);
    DrawGlyphSilhouette(&Work, ImageList, ImageIndex, S);
    StackBlurBitmap(&Work, S);
    Tint(Work, GlowColor);
    Work.Draw(Canvas, GX - S, GY - S);
  }
  TRect T(TX, TY, TX + TW, TY + TH);
  if (Canvas->Font()->Height() % 2 != 0) --T.Top;
  T.Right += 2;
  if (!Caption.empty())
    DrawGlowTextBold(Canvas, T, Caption, DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS, 0, GlowColor, GlowSize);
  if (HasGlyph) {
    ImageList->Draw(Canvas, GX, GY, ImageIndex, Enabled);
    if (DrawColorMarker) {
      Canvas->Pen()->SetColor(ColorMarkerValue);
      for (Integer y = GY + GH - 2; y <= GY + GH; ++y) {
        Canvas->MoveTo(GX, y);
        Canvas->LineTo(GX + GW, y);
      }
    }
  } else if (DrawColorMarker) {
    if (!Caption.empty()) {
      Canvas->Pen()->SetColor(ColorMarkerValue);
      for (Integer y = T.Bottom - 1; y <= T.Bottom + 1; ++y) {
        Canvas->MoveTo(T.Left, y);
        Canvas->LineTo(T.Right, y);
      }
    } else {
      Canvas->Brush()->SetColor(ColorMarkerValue);
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->FillRect(TRect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
    }
  }
}
