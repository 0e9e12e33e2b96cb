#include "classlib/ExtCtrls.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "rtl/CallbackGuard.h"
#include "rtl/ScopeGuard.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FAlive(std::make_shared<bool>(true)) {
  FWindowHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
}

TTimer::~TTimer() {
  *FAlive = false;
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);  // safe inside our own OnTimer
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && FOnTimer)
    if (SetTimer(FWindowHandle, 1, FInterval, nullptr) == 0) throw EOutOfResources(u"Not enough timers available");
}

void TTimer::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = std::move(Value);
  UpdateTimer();
}

void TTimer::Timer() {
  if (FOnTimer) {
    TNotifyEvent H = FOnTimer;  // the handler may replace itself or free the timer
    H(this);
  }
}

void TTimer::WndProc(TMessage& M) {
  if (M.Msg != WM_TIMER) {
    M.Result = DefWindowProcW(FWindowHandle, M.Msg, M.WParam, M.LParam);
    return;
  }
  auto Alive = FAlive;
  CallbackGuard([&]() -> TObject* { return *Alive ? this : nullptr; }, [&] { Timer(); });
  // Nothing of this object is touched here: the handler may have freed it.
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle |= csReplicatable;
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = TGraphicControl::Canvas();
  TColor C1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor C2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetMode(pmCopy);
  // Left and top in the first colour, right and bottom in the second (end
  // points not drawn).
  auto Outline = [&](TColor A, TColor B, Integer L, Integer T, Integer R, Integer Bt) {
    C->Pen()->SetColor(A);
    C->Polyline({TPoint(L, Bt), TPoint(L, T), TPoint(R, T)});
    C->Pen()->SetColor(B);
    C->Polyline({TPoint(R, T), TPoint(R, Bt), TPoint(L, Bt)});
  };
  auto Line = [&](TColor A, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetColor(A);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  Integer W = FWidth, H = FHeight;
  switch (FShape) {
    case bsBox:
      Outline(C1, C2, 0, 0, W - 1, H - 1);
      break;
    case bsFrame:
      Outline(C2, C2, 1, 1, W - 1, H - 1);
      Outline(C1, C1, 0, 0, W - 2, H - 2);
      break;
    case bsTopLine:
      Line(C1, 0, 0, W, 0);
      Line(C2, 0, 1, W, 1);
      break;
    case bsBottomLine:
      Line(C1, 0, H - 2, W, H - 2);
      Line(C2, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      Line(C1, 0, 0, 0, H);
      Line(C2, 1, 0, 1, H);
      break;
    case bsRightLine:
      Line(C1, W - 2, 0, W - 2, H);
      Line(C2, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}

// ---------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner), FPen(new TPen), FBrush(new TBrush) {
  FControlStyle |= csReplicatable;
  FPen->SetOnChange([this](TObject*) { Invalidate(); });
  FBrush->SetOnChange([this](TObject*) { Invalidate(); });
  SetBounds(0, 0, 65, 65);
}

TShape::~TShape() {
  delete FPen;
  delete FBrush;
}

void TShape::SetShape(TShapeKind Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

// The outline lies inside the control whatever the pen width.
void TShape::Paint() {
  TCanvas* C = TGraphicControl::Canvas();
  C->SetPen(FPen);
  C->SetBrush(FBrush);
  Integer PW = FPen->Width();
  Integer X = PW / 2, Y = X;
  Integer W = FWidth - PW + 1, H = FHeight - PW + 1;
  if (PW == 0) {
    --W;
    --H;
  }
  Integer S = std::min(W, H);
  if (FShape == stSquare || FShape == stCircle) {
    X += (W - S) / 2;
    Y += (H - S) / 2;
    W = H = S;
  }
  if (FShape == stEllipse || FShape == stCircle)
    C->Ellipse(X, Y, X + W, Y + H);
  else
    C->Rectangle(X, Y, X + W, Y + H);
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture) {
  FPicture->SetOnChange([this](TObject* S) { PictureChanged(S); });
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  FPicture->SetOnChange(nullptr);
  delete FPicture;
}

TCanvas* TImage::Canvas() {
  if (!FPicture->Graphic()) {
    TBitmap* B = FPicture->Bitmap();
    B->SetSize(FWidth, FHeight);
  }
  auto* B = dynamic_cast<TBitmap*>(FPicture->Graphic());
  if (!B) throw EInvalidOperation(u"Can only modify an image if it contains a bitmap");
  return B->Canvas();
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Invalidate();
}

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  Invalidate();
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PictureChanged(this);
}

void TImage::PictureChanged(TObject*) {
  if (FDrawing) return;
  if (TGraphic* G = FPicture->Graphic())
    if (!dynamic_cast<TMetafile*>(G) && G->Transparent() != FTransparent) {
      FDrawing = true;  // the graphic's own change notice comes back here
      G->SetTransparent(FTransparent);
      FDrawing = false;
    }
  Invalidate();
}

TRect TImage::DestRect() {
  Integer W = FPicture->Width(), H = FPicture->Height();
  Integer CW = FWidth, CH = FHeight;
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && W > 0 && H > 0) {
      double Aspect = double(W) / double(H);
      if (W > H) {
        W = CW;
        H = Integer(CW / Aspect);
        if (H > CH) {
          H = CH;
          W = Integer(CH * Aspect);
        }
      } else {
        H = CH;
        W = Integer(CH * Aspect);
        if (W > CW) {
          W = CW;
          H = Integer(CW / Aspect);
        }
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  TRect R(0, 0, W, H);
  if (FCenter) {
    Integer DX = (CW - W) / 2, DY = (CH - H) / 2;
    R = TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
  }
  return R;
}

void TImage::Paint() {
  TGraphic* G = FPicture->Graphic();
  if (!G || G->Empty()) return;
  FDrawing = true;
  TFinally Done([&] { FDrawing = false; });
  TGraphicControl::Canvas()->StretchDraw(DestRect(), G);
}

// ---------------------------------------------------------------------------
// TBalloonHint

namespace {

const WCHAR* const kBalloonClass = reinterpret_cast<const WCHAR*>(u"LumigraBalloonHint");
constexpr Integer kMargin = 8, kStem = 12, kRadius = 10;

const WCHAR* WText(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

// The balloon's outline in window coordinates: a rounded body and a stem.
HRGN BalloonRegion(Integer W, Integer H, bool StemDown, Integer StemX) {
  Integer BodyTop = StemDown ? 0 : kStem, BodyBottom = BodyTop + (H - kStem);
  HRGN Body = CreateRoundRectRgn(0, BodyTop, W + 1, BodyBottom + 1, 2 * kRadius, 2 * kRadius);
  Integer Base = std::clamp<Integer>(StemX, kRadius, std::max<Integer>(kRadius, W - kRadius - kStem));
  POINT Tri[3];
  if (StemDown) {
    Tri[0] = POINT{Base, BodyBottom - 1};
    Tri[1] = POINT{Base + kStem, BodyBottom - 1};
    Tri[2] = POINT{StemX, H};
  } else {
    Tri[0] = POINT{Base, BodyTop + 1};
    Tri[1] = POINT{Base + kStem, BodyTop + 1};
    Tri[2] = POINT{StemX, 0};
  }
  HRGN Stem = CreatePolygonRgn(Tri, 3, WINDING);
  CombineRgn(Body, Body, Stem, RGN_OR);
  DeleteObject(Stem);
  return Body;
}

}  // namespace

LRESULT CALLBACK BalloonWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* B = reinterpret_cast<TBalloonHint*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  switch (Msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse goes on to what lies under it
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT PS{};
      HDC DC = BeginPaint(Wnd, &PS);
      CallbackGuard(B, [&] {
        TFinally End([&] { EndPaint(Wnd, &PS); });  // before the exception is shown
        if (B) B->Paint(DC);
      });
      return 0;
    }
  }
  return DefWindowProcW(Wnd, Msg, W, L);
}

TBalloonHint::TBalloonHint(TComponent* AOwner) : TComponent(AOwner), FTitleFont(new TFont), FFont(new TFont) {
  FTitleFont->SetStyle(fsBold);
}

TBalloonHint::~TBalloonHint() {
  if (FHandle) DestroyWindow(FHandle);
  delete FTitleFont;
  delete FFont;
}

void TBalloonHint::SetTitle(const String& Value) {
  FTitle = Value;
  if (ShowingHint()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TBalloonHint::SetDescription(const String& Value) {
  FDescription = Value;
  if (ShowingHint()) InvalidateRect(FHandle, nullptr, TRUE);
}

bool TBalloonHint::ShowingHint() const { return FHandle && IsWindowVisible(FHandle); }

SIZE TBalloonHint::Measure(HDC DC, TRect& TitleRect, TRect& TextRect) {
  RECT T{0, 0, 400, 0}, D{0, 0, 400, 0};
  HGDIOBJ Old = SelectObject(DC, FTitleFont->Handle());
  if (!FTitle.empty())
    DrawTextW(DC, WText(FTitle), -1, &T, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  else
    T.right = T.bottom = 0;
  SelectObject(DC, FFont->Handle());
  if (!FDescription.empty())
    DrawTextW(DC, WText(FDescription), -1, &D, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  else
    D.right = D.bottom = 0;
  SelectObject(DC, Old);
  Integer Gap = (!FTitle.empty() && !FDescription.empty()) ? 4 : 0;
  Integer W = std::max<Integer>(T.right, D.right) + 2 * kMargin;
  Integer H = T.bottom + Gap + D.bottom + 2 * kMargin;
  W = std::max<Integer>(W, 2 * kRadius + kStem + 8);
  TitleRect = TRect(kMargin, kMargin, kMargin + T.right, kMargin + T.bottom);
  TextRect = TRect(kMargin, TitleRect.Bottom + Gap, kMargin + D.right, TitleRect.Bottom + Gap + D.bottom);
  return SIZE{W, H};
}

void TBalloonHint::Layout(const TPoint& P) {
  TRect TR, DR;
  HDC Screen0 = GetDC(nullptr);
  SIZE S = Measure(Screen0, TR, DR);
  ReleaseDC(nullptr, Screen0);
  Integer W = S.cx, H = S.cy + kStem;
  RECT Work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &Work, 0);
  FStemDown = P.Y - H >= Work.top;
  Integer Top = FStemDown ? P.Y - H : P.Y;
  Integer Left = P.X - kRadius - kStem / 2;
  Left = std::max<Integer>(Work.left, std::min<Integer>(Left, Work.right - W));
  FStemX = std::clamp<Integer>(P.X - Left, 0, W - 1);
  SetWindowRgn(FHandle, BalloonRegion(W, H, FStemDown, FStemX), FALSE);  // the window owns the region
  SetWindowPos(FHandle, HWND_TOPMOST, Left, Top, W, H, SWP_NOACTIVATE);
}

void TBalloonHint::Paint(HDC DC) {
  RECT C{};
  GetClientRect(FHandle, &C);
  HRGN R = BalloonRegion(C.right, C.bottom, FStemDown, FStemX);
  HBRUSH Back = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clInfoBk)));
  HBRUSH Frame = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clInfoText)));
  FillRgn(DC, R, Back);
  FrameRgn(DC, R, Frame, 1, 1);
  DeleteObject(Back);
  DeleteObject(Frame);
  DeleteObject(R);
  TRect TR, DR;
  Measure(DC, TR, DR);
  Integer DY = FStemDown ? 0 : kStem;
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(clInfoText)));
  HGDIOBJ Old = SelectObject(DC, FTitleFont->Handle());
  RECT T{TR.Left, TR.Top + DY, TR.Right, TR.Bottom + DY};
  if (!FTitle.empty()) DrawTextW(DC, WText(FTitle), -1, &T, DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(DC, FFont->Handle());
  RECT D{DR.Left, DR.Top + DY, DR.Right, DR.Bottom + DY};
  if (!FDescription.empty()) DrawTextW(DC, WText(FDescription), -1, &D, DT_NOPREFIX | DT_WORDBREAK);
  SelectObject(DC, Old);
}

void TBalloonHint::ShowHint(const TPoint& Point) {
  if (!FHandle) {
    static const bool Registered = [] {
      WNDCLASSW WC{};
      WC.style = CS_SAVEBITS | CS_DROPSHADOW;
      WC.lpfnWndProc = BalloonWndProc;
      WC.hInstance = GetModuleHandleW(nullptr);
      WC.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      WC.lpszClassName = kBalloonClass;
      return RegisterClassW(&WC) != 0;
    }();
    if (!Registered) throw EOutOfResources(u"Error creating window class");
    FHandle = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kBalloonClass, WText(u""), WS_POPUP, 0, 0,
                              10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!FHandle) throw EOutOfResources(u"Error creating window");
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  Layout(Point);
  InvalidateRect(FHandle, nullptr, TRUE);
  ShowWindow(FHandle, SW_SHOWNOACTIVATE);
  UpdateWindow(FHandle);
}

void TBalloonHint::HideHint() {
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
}
