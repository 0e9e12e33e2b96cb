// The toolkit's drawing helpers: glyph and caption layout, wide text, marks
// and default glyphs, the parent background, versions, screen and monitors.
#include "skin/data/win/SPUtils.h"

#include "classlib/Forms.h"
#include "classlib/JPEG.h"

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

bool OddFontHeight(TCanvas* Canvas) { return Canvas->Font()->Height() % 2 != 0; }

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

// The caption's measured size for a layout within R beside a glyph of GW x GH.
void MeasureCaption(TCanvas* Canvas, const String& Caption, const TRect& R, TspButtonLayout Layout, Integer GW,
                    Integer GH, Integer& TW, Integer& TH) {
  TW = TH = 0;
  if (Caption.empty()) return;
  RECT M{0, 0, R.Width(), R.Height()};
  if (Layout == blGlyphLeft || Layout == blGlyphRight)
    M.right -= GW;
  else
    M.bottom -= GH;
  DrawTextW(Canvas->Handle(), W(Caption), Integer(Caption.size()), &M, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  TW = M.right - M.left;
  TH = M.bottom - M.top;
}

// The caption's text rectangle at (TextX, TextY): one row higher with an odd
// font height, two pixels wider.
TRect CaptionRect(TCanvas* Canvas, Integer TextX, Integer TextY, Integer TW, Integer TH) {
  TRect T(TextX, TextY, TextX + TW, TextY + TH);
  if (OddFontHeight(Canvas)) --T.Top;
  T.Right += 2;
  return T;
}

void DrawCaption(TCanvas* Canvas, const String& Caption, const TRect& T) {
  RECT RR{T.Left, T.Top, T.Right, T.Bottom};
  DrawTextW(Canvas->Handle(), W(Caption), Integer(Caption.size()), &RR,
            DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS);
}

// Three marker lines from x to x + Width at the rows Bottom - 2 .. Bottom.
void MarkerLines(TCanvas* Canvas, TColor Color, Integer X1, Integer X2, Integer Y) {
  Canvas->Pen()->SetColor(Color);
  for (Integer y = Y - 2; y <= Y; ++y) Line(Canvas, X1, y, X2, y);
}

TspParentBackgroundPainter GParentPainter = nullptr;

// Sets a control-state bit for its lifetime (also when a paint raises).
class TPaintCopyGuard {
 public:
  explicit TPaintCopyGuard(TControl* C) : FControl(C) { C->SetControlState(C->ControlState() | csPaintCopy); }
  ~TPaintCopyGuard() { FControl->SetControlState(FControl->ControlState() & ~csPaintCopy); }
  TPaintCopyGuard(const TPaintCopyGuard&) = delete;
  TPaintCopyGuard& operator=(const TPaintCopyGuard&) = delete;

 private:
  TControl* FControl;
};

class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(FDC, FSaved); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

void PaintBackground(TControl* Control, const TPoint& Shift, TCanvas* Canvas) {
  if (!Control || !Control->Parent()) return;
  TWinControl* Parent = Control->Parent();
  const HDC DC = Canvas->Handle();
  TPaintCopyGuard ParentCopy(Parent);
  const TRect B = Control->BoundsRect();
  POINT Base{};
  GetViewportOrgEx(DC, &Base);
  {
    TSavedDC Saved(DC);
    SetViewportOrgEx(DC, Base.x - Control->Left() - Shift.X, Base.y - Control->Top() - Shift.Y, nullptr);
    IntersectClipRect(DC, 0, 0, Parent->ClientWidth(), Parent->ClientHeight());
    if (GParentPainter && GParentPainter(Parent, DC)) {
    } else {
      Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
      if (!dynamic_cast<TCustomForm*>(Parent)) Parent->PaintContentTo(DC);
    }
  }
  for (Integer i = 0; i < Parent->ControlCount(); ++i) {
    TControl* C = Parent->Controls(i);
    if (C == Control) break;
    if (!dynamic_cast<TGraphicControl*>(C) || !C->Visible()) continue;
    const TRect CB = C->BoundsRect();
    if (std::max(CB.Left, B.Left) >= std::min(CB.Right, B.Right) ||
        std::max(CB.Top, B.Top) >= std::min(CB.Bottom, B.Bottom))
      continue;
    TPaintCopyGuard Copy(C);
    TSavedDC Saved(DC);
    SetViewportOrgEx(DC, Base.x + C->Left() - Control->Left() - Shift.X, Base.y + C->Top() - Control->Top() - Shift.Y,
                     nullptr);
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Glyph and caption

void DrawImageAndText(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                      const String& Caption, Integer ImageIndex, TCustomImageList* ImageList, bool ButtonDown,
                      bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue) {
  const bool HasGlyph = ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count();
  const Integer GW = HasGlyph ? ImageList->Width() : 0, GH = HasGlyph ? ImageList->Height() : 0;
  Integer TW, TH;
  MeasureCaption(Canvas, Caption, R, Layout, GW, GH, TW, TH);
  Canvas->Brush()->SetStyle(bsClear);
  Integer TX, TY, GX, GY;
  CalcGlyphTextPos(Layout, R, GW, GH, TW, TH, Spacing, Margin, TX, TY, GX, GY);
  if (ButtonDown) {
    ++GX;
    ++GY;
    ++TX;
    ++TY;
  }
  const TRect T = CaptionRect(Canvas, TX, TY, TW, TH);
  if (!Caption.empty()) DrawCaption(Canvas, Caption, T);
  if (HasGlyph) {
    ImageList->Draw(Canvas, GX, GY, ImageIndex, Enabled);
    if (DrawColorMarker) MarkerLines(Canvas, ColorMarkerValue, GX, GX + ImageList->Width(), GY + GH);
  } else if (DrawColorMarker) {
    if (!Caption.empty()) {
      Canvas->Pen()->SetColor(ColorMarkerValue);
      for (Integer y = T.Bottom - 1; y <= T.Bottom + 1; ++y) Line(Canvas, T.Left, y, T.Right, y);
    } else {
      Canvas->Brush()->SetColor(ColorMarkerValue);
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->FillRect(ButtonDown ? TRect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3)
                                  : TRect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
    }
  }
}

void DrawGlyphAndText(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                      const String& Caption, TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum, bool ButtonDown,
                      bool DrawColorMarker, TColor ColorMarkerValue) {
  const bool HasGlyph = Glyph && !Glyph->Empty() && NumGlyphs > 0;
  const Integer GW = HasGlyph ? Glyph->Width() / NumGlyphs : 0, GH = HasGlyph ? Glyph->Height() : 0;
  Integer TW, TH;
  MeasureCaption(Canvas, Caption, R, Layout, GW, GH, TW, TH);
  if (!Caption.empty()) Canvas->Brush()->SetStyle(bsClear);
  Integer TX, TY, GX, GY;
  CalcGlyphTextPos(Layout, R, GW, GH, TW, TH, Spacing, Margin, TX, TY, GX, GY);
  if (ButtonDown) {
    ++GX;
    ++GY;
    ++TX;
    ++TY;
  }
  const TRect T = CaptionRect(Canvas, TX, TY, TW, TH);
  if (!Caption.empty()) DrawCaption(Canvas, Caption, T);
  if (HasGlyph) {
    DrawStripGlyph(Canvas, GX, GY, Glyph, NumGlyphs, GlyphNum);
    if (DrawColorMarker) MarkerLines(Canvas, ColorMarkerValue, GX, GX + GW, GY + GH);
  } else if (DrawColorMarker) {
    if (!Caption.empty()) {
      Canvas->Pen()->SetColor(ColorMarkerValue);
      for (Integer y = T.Bottom - 1; y <= T.Bottom + 1; ++y) Line(Canvas, T.Left, y, T.Right, y);
    } else if (ButtonDown) {
      Canvas->Brush()->SetColor(ColorMarkerValue);
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->FillRect(TRect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3));
    } else {
      Canvas->Brush()->SetColor(ColorMarkerValue);
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Pen()->SetColor(clBtnFace);
      Canvas->Rectangle(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4);
    }
  }
}

void DrawStripGlyph(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum) {
  if (!Glyph || Glyph->Empty() || NumGlyphs <= 0) return;
  const Integer FW = Glyph->Width() / NumGlyphs, H = Glyph->Height();
  if (FW <= 0) return;
  TBitmap Frame;
  Frame.SetSize(FW, H);
  Frame.Canvas()->CopyRect(TRect(0, 0, FW, H), Glyph->Canvas(), TRect(FW * (GlyphNum - 1), 0, FW * GlyphNum, H));
  Frame.SetTransparent(true);
  Canvas->Draw(X, Y, &Frame);
}

// ---------------------------------------------------------------------------
// Text

bool spIsNTPlatform = true;

Integer DrawWideText(TCanvas* Canvas, const WideString& S, TRect& R, UINT Flags) {
  RECT RR{R.Left, R.Top, R.Right, R.Bottom};
  // Off the NT platform the text ends at its first null character.
  const Integer Len = spIsNTPlatform ? Integer(S.size()) : Integer(std::char_traits<char16_t>::length(S.c_str()));
  const Integer Result = DrawTextW(Canvas->Handle(), W(S), Len, &RR, Flags);
  R = TRect(RR.left, RR.top, RR.right, RR.bottom);
  return Result;
}

Integer WideTextWidth(TCanvas* Canvas, const WideString& S) {
  TRect R;
  DrawWideText(Canvas, S, R, DT_CALCRECT);
  return R.Width();
}

Integer WideTextHeight(TCanvas* Canvas, const WideString& S) {
  TRect R;
  DrawWideText(Canvas, S, R, DT_CALCRECT);
  return R.Height();
}

void EllipsizeWideText(TCanvas* Canvas, WideString& S, Integer MaxWidth) {
  EllipsizeText(S, MaxWidth, [Canvas](const String& T) { return WideTextWidth(Canvas, T); });
}

void DrawVCenteredText(TCanvas* Canvas, const String& S, TRect R) {
  if (S.empty()) return;
  if (OddFontHeight(Canvas)) --R.Top;
  RECT RR{R.Left, R.Top, R.Right, R.Bottom};
  DrawTextW(Canvas->Handle(), W(S), Integer(S.size()), &RR, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

void DrawClippedTextIndent(TCanvas* Canvas, const String& S, TRect R, Integer Indent) {
  if (S.empty()) return;
  Integer Y = R.Top + R.Height() / 2 - Canvas->TextHeight(S) / 2;
  if (OddFontHeight(Canvas)) --Y;
  Canvas->TextRect(R, R.Left + Indent + 2, Y, S);
}

void DrawClippedText(TCanvas* Canvas, const String& S, TRect R) { DrawClippedTextIndent(Canvas, S, R, 0); }

// ---------------------------------------------------------------------------
// Marks, glyphs, focus, colour

TColor AverageColor(TColor C1, TColor C2) {
  const Integer A = ColorToRGB(C1), B = ColorToRGB(C2);
  const Integer R = ((A & 0xFF) + (B & 0xFF)) >> 1, G = (((A >> 8) & 0xFF) + ((B >> 8) & 0xFF)) >> 1,
                Bl = (((A >> 16) & 0xFF) + ((B >> 16) & 0xFF)) >> 1;
  return TColor(R | (G << 8) | (Bl << 16));
}

void DrawDottedFocusRect(TCanvas* Canvas, TRect R) {
  const TColor C = Canvas->Font()->Color();
  Canvas->Pen()->SetColor(C);
  std::vector<TPoint> Dots;
  DottedFocusDots(R, Dots);
  const HDC DC = Canvas->Handle();
  const COLORREF Ref = COLORREF(ColorToRGB(C));
  for (const TPoint& P : Dots) ::SetPixel(DC, P.X, P.Y, Ref);
}

void DrawDropDownMark(TCanvas* Canvas, TRect R, TColor Color) {
  const Integer cx = R.Left + R.Width() / 2, y0 = R.Top + R.Height() / 2 + 2;
  Canvas->Pen()->SetColor(Color);
  for (Integer i = 2; i >= 0; --i) Line(Canvas, cx - i, y0 - i, cx + i + 1, y0 - i);
}

void DrawDirectionArrow(TCanvas* Canvas, TRect R, TColor Color, Integer Direction) {
  const Integer cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
  Canvas->Pen()->SetColor(Color);
  switch (Direction) {
    case 1:
      for (Integer i = 0; i <= 3; ++i) Line(Canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1);
      break;
    case 2:
      for (Integer i = 3; i >= 0; --i) Line(Canvas, cx + 2 - i, cy + i, cx + 2 - i, cy - i - 1);
      break;
    case 3:
      for (Integer i = 0; i <= 3; ++i) Line(Canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i);
      break;
    case 4:
      for (Integer i = 3; i >= 0; --i) Line(Canvas, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i);
      break;
    default: break;
  }
}

void DrawRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetColor(Color);
  Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  for (Integer i = 0; i <= 2; ++i) {
    Canvas->MoveTo(X, Y + 5 - i);
    Canvas->LineTo(X + 2, Y + 7 - i);
    Canvas->LineTo(X + 7, Y + 2 - i);
  }
}

void DrawCloseGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
  Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
  Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
  Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(X + 1, Y + 3, X + 9, Y + 6);
}

void DrawMinimizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
  Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(X, Y, X + 11, Y + 10);
  Canvas->Rectangle(X, Y, X + 11, Y + 2);
}

void DrawRestoreGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(X + 2, Y, X + 10, Y + 6);
  Canvas->Rectangle(X + 2, Y, X + 10, Y + 2);
  Canvas->Rectangle(X, Y + 4, X + 7, Y + 10);
  Canvas->Rectangle(X, Y + 4, X + 7, Y + 6);
}

void DrawRollDownGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Line(Canvas, X + 5, Y + 6, X + 5, Y + 6);
  Line(Canvas, X + 4, Y + 5, X + 6, Y + 5);
  Line(Canvas, X + 3, Y + 4, X + 7, Y + 4);
  Line(Canvas, X + 2, Y + 3, X + 8, Y + 3);
  Line(Canvas, X + 1, Y + 2, X + 9, Y + 2);
}

void DrawRollUpGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Line(Canvas, X + 5, Y + 2, X + 5, Y + 2);
  Line(Canvas, X + 4, Y + 3, X + 6, Y + 3);
  Line(Canvas, X + 3, Y + 4, X + 7, Y + 4);
  Line(Canvas, X + 2, Y + 5, X + 8, Y + 5);
  Line(Canvas, X + 1, Y + 6, X + 9, Y + 6);
}

void DrawMinimizeToTrayGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetColor(Color);
  Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

// ---------------------------------------------------------------------------
// Background

void PaintParentBackground(TControl* Control, TCanvas* Canvas) { PaintBackground(Control, TPoint(0, 0), Canvas); }

void PaintParentBackgroundOffset(TControl* Control, TRect R, TCanvas* Canvas) {
  PaintBackground(Control, TPoint(R.Left, R.Top), Canvas);
}

void SetParentBackgroundPainter(TspParentBackgroundPainter Painter) { GParentPainter = Painter; }

// ---------------------------------------------------------------------------
// Versions, files, screen

void GetWindowsVersion(Integer& Major, Integer& Minor) {
  const DWORD V = GetVersion();
  Major = LOBYTE(LOWORD(V));
  Minor = HIBYTE(LOWORD(V));
}

namespace {
template <bool (*Test)(Integer, Integer)>
bool VersionIs() {
  Integer Major, Minor;
  GetWindowsVersion(Major, Minor);
  return Test(Major, Minor);
}
}  // namespace

bool IsWindows7() { return VersionIs<IsWindows7Version>(); }
bool IsVistaOrLater() { return VersionIs<IsVistaOrLaterVersion>(); }
bool IsXPOrLater() { return VersionIs<IsXPOrLaterVersion>(); }
bool IsWin2000OrLater() { return VersionIs<IsWin2000OrLaterVersion>(); }

void LoadJpegToBitmap(TBitmap* Bitmap, const String& FileName) {
  TJPEGImage J;
  J.LoadFromFile(FileName);
  Bitmap->SetSize(J.Width(), J.Height());
  Bitmap->Canvas()->Draw(0, 0, &J);
}

void CopyScreenArea(Integer X, Integer Y, TBitmap* Bitmap) {
  HDC Screen = GetDC(nullptr);
  BitBlt(Bitmap->Canvas()->Handle(), 0, 0, Bitmap->Width(), Bitmap->Height(), Screen, X, Y, SRCCOPY);
  ReleaseDC(nullptr, Screen);
}

bool HasMultipleMonitors() { return GetSystemMetrics(SM_CMONITORS) > 1 && spGetMonitorInfoA != nullptr; }

void GetScreenArea(bool WorkArea, TRect& R) {
  if (WorkArea) {
    RECT RR{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &RR, 0);
    R = TRect(RR.left, RR.top, RR.right, RR.bottom);
  } else {
    R = TRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
}

void GetMonitorArea(HWND Wnd, bool WorkArea, TRect& R) {
  if (!HasMultipleMonitors() || !spMonitorFromWindow) {
    GetScreenArea(WorkArea, R);
    return;
  }
  HMONITOR M = spMonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO MI{};
  MI.cbSize = 40;
  if (!spGetMonitorInfoA(M, &MI)) return;
  const RECT& S = WorkArea ? MI.rcWork : MI.rcMonitor;
  R = TRect(S.left, S.top, S.right, S.bottom);
}
