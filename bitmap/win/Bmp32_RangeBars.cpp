// The range bars of the image view and the theme service they draw with.
#include "bitmap/win/Bmp32_RangeBars.h"

#include <algorithm>

#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"

// ---------------------------------------------------------------------------
// Theme service: uxtheme loaded by name; a hidden window reopens the theme
// data when the theme changes.

namespace {

using HTHEME_ = HANDLE;
using OpenThemeDataFn = HTHEME_(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME_);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, const RECT*, const RECT*);
using BoolFn = BOOL(WINAPI*)();

class TThemeService {
 public:
  TThemeService() {
    FLib = LoadLibraryW(reinterpret_cast<const WCHAR*>(u"uxtheme.dll"));
    if (!FLib) return;
    FOpen = reinterpret_cast<OpenThemeDataFn>(reinterpret_cast<void*>(GetProcAddress(FLib, "OpenThemeData")));
    FClose = reinterpret_cast<CloseThemeDataFn>(reinterpret_cast<void*>(GetProcAddress(FLib, "CloseThemeData")));
    FDraw = reinterpret_cast<DrawThemeBackgroundFn>(
        reinterpret_cast<void*>(GetProcAddress(FLib, "DrawThemeBackground")));
    FIsThemeActive = reinterpret_cast<BoolFn>(reinterpret_cast<void*>(GetProcAddress(FLib, "IsThemeActive")));
    FIsAppThemed = reinterpret_cast<BoolFn>(reinterpret_cast<void*>(GetProcAddress(FLib, "IsAppThemed")));
    bool HasEnable = GetProcAddress(FLib, "EnableTheming") != nullptr;
    if (!FOpen || !FClose || !FIsThemeActive || !FIsAppThemed || !HasEnable) {
      FreeLibrary(FLib);
      FLib = nullptr;
      return;
    }
    if (!(FIsAppThemed() && FIsThemeActive())) return;
    FInUse = true;
    FWnd = AllocateHWnd([this](TMessage& M) {
      if (M.Msg == WM_THEMECHANGED) {
        CloseAll();
        OpenAll();
      }
      M.Result = DefWindowProcW(FWnd, M.Msg, M.WParam, M.LParam);
    });
    OpenAll();
  }
  bool InUse() const { return FInUse && FScrollBar != nullptr && FDraw != nullptr; }
  void DrawScrollBar(HDC DC, int Part, int State, const RECT& R) {
    if (InUse()) FDraw(FScrollBar, DC, Part, State, &R, nullptr);
  }

 private:
  void OpenAll() {
    FScrollBar = FOpen(FWnd, reinterpret_cast<const WCHAR*>(u"SCROLLBAR"));
    FGlobals = FOpen(FWnd, reinterpret_cast<const WCHAR*>(u"GLOBALS"));
  }
  void CloseAll() {
    if (FScrollBar) FClose(FScrollBar);
    if (FGlobals) FClose(FGlobals);
    FScrollBar = FGlobals = nullptr;
  }
  HMODULE FLib = nullptr;
  OpenThemeDataFn FOpen = nullptr;
  CloseThemeDataFn FClose = nullptr;
  DrawThemeBackgroundFn FDraw = nullptr;
  BoolFn FIsThemeActive = nullptr, FIsAppThemed = nullptr;
  HWND FWnd = nullptr;
  HTHEME_ FScrollBar = nullptr, FGlobals = nullptr;
  bool FInUse = false;
};

TThemeService& Themes() {
  // Lives for the whole run; the process end releases the library.
  static TThemeService* S = new TThemeService();
  return *S;
}

RECT R_(const TRect& R) { return RECT{R.Left, R.Top, R.Right, R.Bottom}; }

}  // namespace

bool RangeBarThemesInUse() { return Themes().InUse(); }

// ---------------------------------------------------------------------------
// TArrowBar

TArrowBar::TArrowBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = (FControlStyle & ~(csAcceptsControls | csDoubleClicks)) | csOpaque;
  FColor = clScrollBar;
  FParentColor = false;
  FTimer = new TTimer(this);
  FTimer->SetEnabled(false);
  FTimer->SetOnTimer([this](TObject*) { TimerHandler(); });
  SetBounds(0, 0, 100, 16);
}

TArrowBar::~TArrowBar() = default;

void TArrowBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  bool Sized = AWidth != Width() || AHeight != Height();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Sized && !HandleAllocated()) Resize();
}

#define LUMIGRA_BAR_SETTER(Name, Type, Field) \
  void TArrowBar::Set##Name(Type Value) {     \
    if (Field == Value) return;               \
    Field = Value;                            \
    Invalidate();                             \
  }
LUMIGRA_BAR_SETTER(Backgnd, TRBBackgnd, FBackgnd)
LUMIGRA_BAR_SETTER(ButtonSize, Integer, FButtonSize)
LUMIGRA_BAR_SETTER(HandleColor, TColor, FHandleColor)
LUMIGRA_BAR_SETTER(ButtonColor, TColor, FButtonColor)
LUMIGRA_BAR_SETTER(HighLightColor, TColor, FHighLightColor)
LUMIGRA_BAR_SETTER(ShadowColor, TColor, FShadowColor)
LUMIGRA_BAR_SETTER(BorderColor, TColor, FBorderColor)
LUMIGRA_BAR_SETTER(ShowArrows, bool, FShowArrows)
LUMIGRA_BAR_SETTER(ShowHandleGrip, bool, FShowHandleGrip)
LUMIGRA_BAR_SETTER(Style, TRBStyle, FStyle)
LUMIGRA_BAR_SETTER(BorderStyle, TRBBorderStyle, FBorderStyle)
#undef LUMIGRA_BAR_SETTER

void TArrowBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  Resize();
  Invalidate();
}

Integer TArrowBar::GetButtonSize() {
  if (!FShowArrows) return 0;
  Integer Thick = FKind == sbHorizontal ? ClientHeight() : ClientWidth();
  Integer Len = BarLength();
  Integer B = FButtonSize != 0 ? FButtonSize : std::min(Thick, 32);
  if (2 * B >= Len) B = Len / 2;
  if (FStyle == rbsMac) --B;
  if (B <= 1) B = 0;
  return B;
}

TRect TArrowBar::GetTrackBoundary() {
  TRect R = ClientRect();
  Integer B = GetButtonSize();
  if (FKind == sbHorizontal) {
    R.Left += B;
    R.Right -= B;
  } else {
    R.Top += B;
    R.Bottom -= B;
  }
  return R;
}

TRBZone TArrowBar::GetZone(Integer X, Integer Y) {
  TRect C = ClientRect();
  if (X < C.Left || X >= C.Right || Y < C.Top || Y >= C.Bottom) return zNone;
  Integer B = GetButtonSize();
  Integer Len = BarLength();
  Integer P = FKind == sbHorizontal ? X : Y;
  if (P < B) return zBtnPrev;
  if (P >= Len - B) return zBtnNext;
  TRect H = GetHandleRect();
  Integer HS = FKind == sbHorizontal ? H.Left : H.Top;
  Integer HE = FKind == sbHorizontal ? H.Right : H.Bottom;
  if (H.Width() > 0 && H.Height() > 0 && P >= HS && P < HE) return zHandle;
  if (P > 0 && P < HS) return zTrackPrev;
  if (P >= HE && P < Len - 1) return zTrackNext;
  return zNone;
}

void TArrowBar::SetTimer(Integer Mode) {
  FTimerMode = Mode;
  FTimer->SetEnabled(false);
  if (Mode == 0) return;
  FTimer->SetInterval(Mode == tmFirstDelay ? 600 : Mode == tmRepeat ? 100 : 150);
  FTimer->SetEnabled(true);
}

void TArrowBar::TimerHandler() {
  switch (FTimerMode) {
    case tmFirstDelay:
      SetTimer(tmRepeat);
      TimerStep();
      break;
    case tmRepeat:
      TimerStep();
      break;
    case tmHover: {
      POINT P{};
      GetCursorPos(&P);
      TPoint C = ScreenToClient(TPoint(P.x, P.y));
      TRect R = ClientRect();
      if (C.X < R.Left || C.X >= R.Right || C.Y < R.Top || C.Y >= R.Bottom) StopHotTracking();
      break;
    }
    default:
      SetTimer(0);
  }
}

void TArrowBar::StopHotTracking() {
  SetTimer(0);
  FHotZone = zNone;
  Invalidate();
}

void TArrowBar::DoChange() {
  auto Alive = LivenessToken();
  if (OnChange) OnChange(this);
  if (!*Alive) return;
  if (GenChange && OnUserChange) OnUserChange(this);
}

void TArrowBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (!CanPress()) {
    FDragZone = zNone;
    return;
  }
  FDragZone = GetZone(X, Y);
  Invalidate();
  StoredX = X;
  StoredY = Y;
  if (FDragZone == zHandle) {
    SetTimer(tmHover);
    StartDragTracking();
  } else if (FDragZone != zNone) {
    auto Alive = LivenessToken();
    SetTimer(tmFirstDelay);
    TimerStep();
    if (!*Alive) return;
  }
}

void TArrowBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragZone == zHandle) {
    UpdateDragTracking(FKind == sbHorizontal ? X - StoredX : Y - StoredY);
  } else if (FDragZone == zNone && DrawEnabled()) {
    TRBZone Z = GetZone(X, Y);
    if (Z != FHotZone) {
      FHotZone = Z;
      if (Z != zNone) SetTimer(tmHover);
      Invalidate();
    }
  }
}

void TArrowBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  FDragZone = zNone;
  Invalidate();
  SetTimer(tmHover);
}

void TArrowBar::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_ERASEBKGND:
      M.Result = 1;
      return;
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(M);
      if (FDragZone == zNone) StopHotTracking();
      return;
    case WM_MOUSEWHEEL:
      DoWheel(static_cast<SHORT>(HIWORD(M.WParam)));
      M.Result = 0;
      return;
    default:
      TCustomControl::Dispatch(M);
  }
}

void TArrowBar::DoDrawButton(TRect R, Integer Direction, bool Pushed, bool Enabled, bool Hot) {
  HDC DC = Canvas()->Handle();
  RECT Rc = R_(R);
  if (Themes().InUse()) {
    static const int Base[4] = {9, 1, 13, 5};
    int State = Base[Direction] + (!Enabled ? 3 : Pushed ? 2 : Hot ? 1 : 0);
    Themes().DrawScrollBar(DC, 1, State, Rc);
    return;
  }
  static const UINT Dir[4] = {DFCS_SCROLLLEFT, DFCS_SCROLLUP, DFCS_SCROLLRIGHT, DFCS_SCROLLDOWN};
  UINT Flags = Dir[Direction];
  if (!Enabled) Flags |= DFCS_INACTIVE;
  if (Pushed) Flags |= DFCS_PUSHED | DFCS_FLAT;
  DrawFrameControl(DC, &Rc, DFC_SCROLL, Flags);
}

void TArrowBar::DoDrawHandle(TRect R, bool Horz, bool Pushed, bool Hot) {
  HDC DC = Canvas()->Handle();
  RECT Rc = R_(R);
  if (Themes().InUse()) {
    int State = !Enabled() ? 4 : Pushed ? 3 : Hot ? 2 : 1;
    Themes().DrawScrollBar(DC, Horz ? 2 : 3, State, Rc);
    if (FShowHandleGrip) Themes().DrawScrollBar(DC, Horz ? 8 : 9, 0, Rc);
    return;
  }
  DrawEdge(DC, &Rc, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void TArrowBar::DoDrawTrack(TRect R, Integer Direction, bool Pushed, bool Enabled, bool Hot) {
  (void)Enabled;
  (void)Hot;
  if (R.Width() <= 0 || R.Height() <= 0) return;
  HDC DC = Canvas()->Handle();
  RECT Rc = R_(R);
  if (Themes().InUse()) {
    static const int Part[4] = {4, 6, 5, 7};
    Themes().DrawScrollBar(DC, Part[Direction], Pushed ? 3 : 1, Rc);
    return;
  }
  if (Pushed) {
    HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(cl3DDkShadow)));
    FillRect(DC, &Rc, B);
    DeleteObject(B);
    return;
  }
  // A checker of the highlight colour and the bar's colour.
  static const WORD Bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP Pat = CreateBitmap(8, 8, 1, 1, Bits);
  HBRUSH B = CreatePatternBrush(Pat);
  COLORREF OldText = SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
  COLORREF OldBk = SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(FColor)));
  FillRect(DC, &Rc, B);
  SetTextColor(DC, OldText);
  SetBkColor(DC, OldBk);
  DeleteObject(B);
  DeleteObject(Pat);
}

void TArrowBar::Paint() {
  TRect C = ClientRect();
  bool En = DrawEnabled();
  bool Horz = FKind == sbHorizontal;
  Integer B = GetButtonSize();
  if (FShowArrows && B > 0) {
    TRect R1 = Horz ? TRect(C.Left, C.Top, C.Left + B, C.Bottom) : TRect(C.Left, C.Top, C.Right, C.Top + B);
    TRect R2 = Horz ? TRect(C.Right - B, C.Top, C.Right, C.Bottom) : TRect(C.Left, C.Bottom - B, C.Right, C.Bottom);
    DoDrawButton(R1, Horz ? drLeft : drUp, FDragZone == zBtnPrev, En, FHotZone == zBtnPrev);
    DoDrawButton(R2, Horz ? drRight : drDown, FDragZone == zBtnNext, En, FHotZone == zBtnNext);
  }
  TRect T = GetTrackBoundary();
  TRect H = GetHandleRect();
  bool NoHandle = H.Width() <= 0 || H.Height() <= 0;
  TRect P1 = T, P2 = T;
  if (Horz) {
    Integer Split1 = NoHandle ? (T.Left + T.Right) / 2 : H.Left;
    Integer Split2 = NoHandle ? Split1 : H.Right;
    P1.Right = Split1;
    P2.Left = Split2;
  } else {
    Integer Split1 = NoHandle ? (T.Top + T.Bottom) / 2 : H.Top;
    Integer Split2 = NoHandle ? Split1 : H.Bottom;
    P1.Bottom = Split1;
    P2.Top = Split2;
  }
  DoDrawTrack(P1, Horz ? drLeft : drUp, FDragZone == zTrackPrev, En, FHotZone == zTrackPrev);
  DoDrawTrack(P2, Horz ? drRight : drDown, FDragZone == zTrackNext, En, FHotZone == zTrackNext);
  if (!NoHandle) DoDrawHandle(H, Horz, FDragZone == zHandle, FHotZone == zHandle);
}

// ---------------------------------------------------------------------------
// TCustomRangeBar

TCustomRangeBar::TCustomRangeBar(TComponent* AOwner) : TArrowBar(AOwner) { UpdateEffectiveWindow(); }

void TCustomRangeBar::UpdateEffectiveWindow() {
  FEffectiveWindow = FWindow > 0 ? FWindow : (FKind == sbHorizontal ? Width() : Height());
}

void TCustomRangeBar::AdjustPosition() {
  Single Max = static_cast<Single>(FRange - FEffectiveWindow);
  if (FPosition > Max) FPosition = Max;
  if (FPosition < 0) FPosition = 0;
}

bool TCustomRangeBar::DrawEnabled() { return Enabled() && FEffectiveWindow < FRange; }

void TCustomRangeBar::SetParams(Integer NewRange, Integer NewWindow) {
  if (NewRange < 0) NewRange = 0;
  if (NewWindow < 0) NewWindow = 0;
  if (NewRange == FRange && NewWindow == FEffectiveWindow) return;
  Integer OldRange = FRange, OldWindow = FEffectiveWindow;
  FRange = NewRange;
  FWindow = NewWindow;
  UpdateEffectiveWindow();
  if (FCentered && FEffectiveWindow < FRange) {
    Single F = (OldWindow < OldRange && OldRange != 0)
                   ? (static_cast<Single>(OldWindow) * 0.5f + FPosition) / static_cast<Single>(OldRange)
                   : 0.5f;
    FPosition = static_cast<Single>(FRange) * F - static_cast<Single>(FEffectiveWindow) * 0.5f;
  }
  AdjustPosition();
  Invalidate();
}

void TCustomRangeBar::Resize() {
  Integer OldWindow = FEffectiveWindow;
  UpdateEffectiveWindow();
  if (FCentered && FEffectiveWindow < FRange) {
    Single F = (OldWindow < FRange && FRange != 0)
                   ? (static_cast<Single>(OldWindow) * 0.5f + FPosition) / static_cast<Single>(FRange)
                   : 0.5f;
    FPosition = static_cast<Single>(FRange) * F - static_cast<Single>(FEffectiveWindow) * 0.5f;
  }
  AdjustPosition();
  TArrowBar::Resize();
}

void TCustomRangeBar::SetPosition(Single Value) {
  if (Value == FPosition) return;
  Single Old = FPosition;
  FPosition = Value;
  AdjustPosition();
  if (FPosition != Old) {
    Invalidate();
    DoChange();
  }
}

void TCustomRangeBar::UserPosition(Single Value) {
  GenChange = true;
  TFinally Done([&] { GenChange = false; });
  SetPosition(Value);
}

TRect TCustomRangeBar::GetHandleRect() {
  TRect T = GetTrackBoundary();
  bool Horz = FKind == sbHorizontal;
  Integer L = Horz ? T.Width() : T.Height();
  if (L < 18) return TRect(0, 0, 0, 0);
  Integer P = 0, H = L;
  if (FEffectiveWindow < FRange) {
    H = static_cast<Integer>(Round(static_cast<double>(L) * FEffectiveWindow / FRange));
    if (H >= 17) {
      P = static_cast<Integer>(Round(static_cast<double>(L) * FPosition / FRange));
    } else {
      H = 17;
      P = static_cast<Integer>(Round(static_cast<double>(L - 17) * FPosition / (FRange - FEffectiveWindow)));
    }
  }
  if (Horz) return TRect(T.Left + P, T.Top, T.Left + P + H, T.Bottom);
  return TRect(T.Left, T.Top + P, T.Right, T.Top + P + H);
}

void TCustomRangeBar::UpdateDragTracking(Integer Delta) {
  Integer T = BarLength() - 2 * GetButtonSize();
  if (FBorderStyle == bsSingle) T -= 2;
  if (T <= 0 || FRange <= 0) return;
  Single NewPos;
  if (Round(static_cast<double>(T) * FEffectiveWindow / FRange) >= 17)
    NewPos = PosBeforeDrag + static_cast<Single>(FRange) * static_cast<Single>(Delta) / static_cast<Single>(T);
  else if (T > 17)
    NewPos = PosBeforeDrag + static_cast<Single>(Round(static_cast<double>(FRange - FEffectiveWindow) * Delta / (T - 17)));
  else
    return;
  UserPosition(NewPos);
}

void TCustomRangeBar::TimerStep() {
  auto UnderCursor = [this]() {
    POINT SP{};
    GetCursorPos(&SP);
    TPoint C = ScreenToClient(TPoint(SP.x, SP.y));
    TRect R = ClientRect();
    C.X = std::clamp(C.X, R.Left, std::max(R.Left, R.Right - 1));
    C.Y = std::clamp(C.Y, R.Top, std::max(R.Top, R.Bottom - 1));
    return GetZone(C.X, C.Y);
  };
  Single Old = FPosition;
  switch (FDragZone) {
    case zBtnPrev:
      UserPosition(FPosition - static_cast<Single>(FIncrement));
      if (FPosition == Old) SetTimer(tmHover);
      break;
    case zBtnNext:
      UserPosition(FPosition + static_cast<Single>(FIncrement));
      if (FPosition == Old) SetTimer(tmHover);
      break;
    case zTrackPrev: {
      TRBZone Z = UnderCursor();
      if (Z == zBtnPrev || Z == zTrackPrev) UserPosition(FPosition - static_cast<Single>(FEffectiveWindow));
      break;
    }
    case zTrackNext: {
      TRBZone Z = UnderCursor();
      if (Z == zTrackNext || Z == zBtnNext) UserPosition(FPosition + static_cast<Single>(FEffectiveWindow));
      break;
    }
    default:
      break;
  }
}

void TCustomRangeBar::DoWheel(Integer Delta) {
  UserPosition(FPosition + static_cast<Single>(Delta) * static_cast<Single>(FIncrement) / 120.0f);
}
