#include "classlib/Controls.h"

#include <algorithm>

#include "classlib/Forms.h"

namespace {

const WCHAR* const kControlProp = reinterpret_cast<const WCHAR*>(u"LumigraControl");

TControl* GCaptureControl = nullptr;
TControl* GMouseControl = nullptr;
std::vector<TControlCanvas*> GCanvasList;

// Calls a copy of an event: the handler may free the object that holds it.
template <class F, class... A>
void Fire(const F& Event, A&&... Args) {
  if (Event) {
    F Copy = Event;
    Copy(std::forward<A>(Args)...);
  }
}

// Runs Paint with canvas C bound to DC; the canvas is let go on every path.
template <class F>
void PaintOnCanvas(TControlCanvas* C, HDC DC, F Paint) {
  C->Lock();
  C->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    C->SetHandle(nullptr);
    C->Unlock();
    throw;
  }
  C->SetHandle(nullptr);
  C->Unlock();
}

}  // namespace

void SetMouseControl(TControl* NewControl) {
  if (NewControl == GMouseControl) return;
  TControl* Old = GMouseControl;
  GMouseControl = NewControl;
  if (Old) Old->Perform(CM_MOUSELEAVE, 0, 0);
  if (NewControl && GMouseControl == NewControl) NewControl->Perform(CM_MOUSEENTER, 0, 0);
}

void ForgetMouseControl(TControl* Control) {
  if (Control && GMouseControl == Control) GMouseControl = nullptr;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState S = 0;
  if (Keys & MK_SHIFT) S |= ssShift;
  if (Keys & MK_CONTROL) S |= ssCtrl;
  if (Keys & MK_LBUTTON) S |= ssLeft;
  if (Keys & MK_RBUTTON) S |= ssRight;
  if (Keys & MK_MBUTTON) S |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) S |= ssAlt;
  return S;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState S = 0;
  if (GetKeyState(VK_SHIFT) < 0) S |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) S |= ssCtrl;
  if (KeyData & 0x20000000) S |= ssAlt;
  return S;
}

// ---------------------------------------------------------------------------
// Utility windows

namespace {

using TMethodHolder = std::shared_ptr<TWndMethod>;

LRESULT CALLBACK UtilWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* Holder = reinterpret_cast<TMethodHolder*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (Holder == nullptr) return DefWindowProcW(Wnd, Msg, W, L);
  TMethodHolder Keep = *Holder;  // survives DeallocateHWnd inside the call
  TMessage M{Msg, W, L, 0};
  try {
    (*Keep)(M);
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
  FreeDeviceContexts();
  return M.Result;
}

const WCHAR* UtilClassName() {
  static const WCHAR* Name = [] {
    const WCHAR* N = reinterpret_cast<const WCHAR*>(u"LumigraUtilWindow");
    WNDCLASSW WC{};
    WC.lpfnWndProc = UtilWndProc;
    WC.hInstance = GetModuleHandleW(nullptr);
    WC.lpszClassName = N;
    RegisterClassW(&WC);
    return N;
  }();
  return Name;
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  HWND Wnd = CreateWindowExW(WS_EX_TOOLWINDOW, UtilClassName(), reinterpret_cast<const WCHAR*>(u""), WS_POPUP, 0, 0, 0,
                             0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!Wnd) throw EOutOfResources(u"Error creating window");
  auto* Holder = new TMethodHolder(std::make_shared<TWndMethod>(std::move(Method)));
  SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Holder));
  return Wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto* Holder = reinterpret_cast<TMethodHolder*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
  DestroyWindow(Wnd);
  delete Holder;
}

TWinControl* FindControl(HWND Wnd) {
  if (!Wnd) return nullptr;
  DWORD Pid = 0;
  GetWindowThreadProcessId(Wnd, &Pid);
  if (Pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(Wnd, kControlProp));
}

TControl* GetCaptureControl() {
  HWND W = GetCapture();
  if (GCaptureControl && GCaptureControl->Parent() && GCaptureControl->Parent()->HandleAllocated() &&
      GCaptureControl->Parent()->Handle() == W)
    return GCaptureControl;
  GCaptureControl = nullptr;
  return FindControl(W);
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  GCaptureControl = nullptr;
  if (!Control) return;
  if (auto* W = dynamic_cast<TWinControl*>(Control)) {
    SetCapture(W->Handle());
    return;
  }
  if (Control->Parent()) {
    SetCapture(Control->Parent()->Handle());
    GCaptureControl = Control;
  }
}

TControl* MouseControl() { return GMouseControl; }

// ---------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  HDC DC = nullptr;
  if (auto* W = dynamic_cast<TWinControl*>(FControl)) {
    FWindowHandle = W->Handle();
    DC = GetDC(FWindowHandle);
  } else if (FControl->Parent()) {
    FWindowHandle = FControl->Parent()->Handle();
    DC = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    SetViewportOrgEx(DC, FControl->Left(), FControl->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, FControl->Width(), FControl->Height());
  }
  if (!DC) return;
  FDeviceContext = DC;
  GCanvasList.push_back(this);
  SetHandle(DC);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  GCanvasList.erase(std::remove(GCanvasList.begin(), GCanvasList.end(), this), GCanvasList.end());
}

void FreeDeviceContexts() {
  auto List = GCanvasList;
  for (TControlCanvas* C : List)
    if (C->LockCount() == 0) C->FreeHandle();
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FAlive(std::make_shared<bool>(true)) {
  // Made inside an owner's loading phase: loading too.
  if (AOwner && AOwner->ComponentState().Contains(csLoading)) FComponentState.Include(csLoading);
  FWindowProc = DefaultWindowProc();
  FFont = new TFont();
  FFont->SetOnChange([this](TObject* Sender) { FontChanged(Sender); });
}

TControl::~TControl() {
  *FAlive = false;
  if (Application) Application->CancelRelease(this);
  ForgetMouseControl(this);
  if (GCaptureControl == this) {
    GCaptureControl = nullptr;
    ReleaseCapture();
  }
  if (FParent) FParent->RemoveControl(this);
  delete FFont;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M{Msg, WParam, LParam, 0};
  FWindowProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& M) {
  if (!(FControlStyle & csDoubleClicks)) {
    switch (M.Msg) {
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        M.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        break;
    }
  }
  Dispatch(M);
}

void TControl::DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift) {
  MouseDown(Button, KeysToShiftState(M.WParam) | Shift, MsgX(M.LParam), MsgY(M.LParam));
}

void TControl::DoMouseUp(TMessage& M, TMouseButton Button) {
  MouseUp(Button, KeysToShiftState(M.WParam), MsgX(M.LParam), MsgY(M.LParam));
}

void TControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      auto Alive = FAlive;
      SendCancelMode(this);
      if (!*Alive) return;
      bool Dbl = M.Msg == WM_LBUTTONDBLCLK || M.Msg == WM_RBUTTONDBLCLK || M.Msg == WM_MBUTTONDBLCLK;
      TMouseButton B = (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK)   ? mbLeft
                       : (M.Msg == WM_RBUTTONDOWN || M.Msg == WM_RBUTTONDBLCLK) ? mbRight
                                                                                 : mbMiddle;
      if (B == mbLeft) {
        if (FControlStyle & csCaptureMouse) SetMouseCapture(true);
        if (FControlStyle & csClickEvents) {
          if (Dbl)
            DblClick();
          else
            FControlState |= csClicked;
        }
        if (!*Alive) return;
      }
      DefaultHandler(M);
      if (!*Alive) return;
      DoMouseDown(M, B, Dbl ? ssDouble : 0);
      return;
    }
    case WM_LBUTTONUP: {
      auto Alive = FAlive;
      DefaultHandler(M);
      if (!*Alive) return;
      if (FControlStyle & csCaptureMouse) SetMouseCapture(false);
      if (FControlState & csClicked) {
        FControlState &= ~csClicked;
        TRect R = ClientRect();
        Integer X = MsgX(M.LParam), Y = MsgY(M.LParam);
        if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) Click();
        if (!*Alive) return;
      }
      DoMouseUp(M, mbLeft);
      return;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      auto Alive = FAlive;
      DefaultHandler(M);
      if (!*Alive) return;
      DoMouseUp(M, M.Msg == WM_RBUTTONUP ? mbRight : mbMiddle);
      return;
    }
    case WM_MOUSEMOVE: {
      auto Alive = FAlive;
      DefaultHandler(M);
      if (!*Alive) return;
      MouseMove(KeysToShiftState(M.WParam), MsgX(M.LParam), MsgY(M.LParam));
      return;
    }
    case WM_CANCELMODE:
      if (GetCaptureControl() == this) SetCaptureControl(nullptr);
      DefaultHandler(M);
      return;
    case CM_MOUSEENTER:
      Fire(OnMouseEnter, this);
      return;
    case CM_MOUSELEAVE:
      Fire(OnMouseLeave, this);
      return;
    case CM_HITTEST:
      M.Result = HTCLIENT;
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED:
      if (FParentFont && FParent) {
        FFont->Assign(FParent->Font());
        FParentFont = true;
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (FParentColor && FParent) {
        SetColor(FParent->Color());
        FParentColor = true;
      }
      return;
    default:
      DefaultHandler(M);
  }
}

// Without a window the text lives in the object.
void TControl::DefaultHandler(TMessage& M) {
  switch (M.Msg) {
    case WM_GETTEXT: {
      if (M.WParam == 0) return;
      size_t N = std::min<size_t>(FText.size(), M.WParam - 1);
      auto* Buf = reinterpret_cast<char16_t*>(M.LParam);
      std::copy_n(FText.data(), N, Buf);
      Buf[N] = 0;
      M.Result = static_cast<LRESULT>(N);
      return;
    }
    case WM_GETTEXTLENGTH:
      M.Result = static_cast<LRESULT>(FText.size());
      return;
    case WM_SETTEXT:
      FText = M.LParam ? String(reinterpret_cast<const char16_t*>(M.LParam)) : String();
      M.Result = 1;
      return;
  }
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool Sized = AWidth != FWidth || AHeight != FHeight;
  SetBoundsCore(ALeft, ATop, AWidth, AHeight);
  // A move by the parent's alignment keeps the anchor distances.
  if (!FParent || FParent->FAlignLevel == 0) UpdateAnchorRules();
  RequestAlign();
  if (Sized && !dynamic_cast<TWinControl*>(this)) Resize();
}

void TControl::SetBoundsCore(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (FParent && FVisible) Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FParent && FVisible) Invalidate();
}

TRect TControl::ClientRect() { return TRect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(Integer W, Integer H) {
  TRect R = ClientRect();
  SetBounds(FLeft, FTop, FWidth - R.Width() + W, FHeight - R.Height() + H);
}

TPoint TControl::ClientOrigin() {
  if (!FParent) return TPoint(FLeft, FTop);
  TPoint P = FParent->ClientOrigin();
  return TPoint(P.X + FLeft, P.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P) {
  TPoint O = ClientOrigin();
  return TPoint(P.X + O.X, P.Y + O.Y);
}

TPoint TControl::ScreenToClient(const TPoint& P) {
  TPoint O = ClientOrigin();
  return TPoint(P.X - O.X, P.Y - O.Y);
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  TAlign Old = FAlign;
  FAlign = Value;
  if (Old == alNone || Value == alNone) FAnchors = akLeft | akTop;
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent || FComponentState.Contains(csLoading)) return;
  TRect R = FParent->ClientRect();
  FAnchorRight = R.Width() - (FLeft + FWidth);
  FAnchorBottom = R.Height() - (FTop + FHeight);
}

void TControl::RequestAlign() {
  if (FParent) FParent->DoAlign(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (FParent && FVisible) Invalidate();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  if (FVisible) Invalidate();
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

String TControl::Text() {
  LRESULT Len = Perform(WM_GETTEXTLENGTH, 0, 0);
  if (Len <= 0) return String();
  String S(static_cast<size_t>(Len) + 1, u'\0');
  LRESULT Got = Perform(WM_GETTEXT, S.size(), reinterpret_cast<LPARAM>(S.data()));
  S.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(Got, Len))));
  return S;
}

void TControl::SetText(const String& Value) {
  if (Text() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  RECT R{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
  InvalidateRect(FParent->FHandle, &R, !(FControlStyle & csOpaque));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

bool TControl::MouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::Click() { Fire(OnClick, this); }

void TControl::DblClick() { Fire(OnDblClick, this); }

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  Fire(OnMouseDown, this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  Fire(OnMouseUp, this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) { Fire(OnMouseMove, this, Shift, X, Y); }

void TControl::Resize() { Fire(OnResize, this); }

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::SendCancelMode(TControl* Sender) {
  if (TCustomForm* F = GetParentForm(this)) F->SendCancelMode(Sender);
}

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

// ---------------------------------------------------------------------------
// TGraphicControl, TCustomControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas(this)) {}

TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_PAINT) {
    PaintOnCanvas(FCanvas, reinterpret_cast<HDC>(M.WParam), [this] { Paint(); });
    return;
  }
  TControl::Dispatch(M);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas(this)) {}

TCustomControl::~TCustomControl() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  delete FCanvas;
}

void TCustomControl::PaintWindow(HDC DC) {
  PaintOnCanvas(FCanvas, DC, [this] { Paint(); });
}
