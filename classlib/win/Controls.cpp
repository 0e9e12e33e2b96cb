#include "classlib/Controls.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/win/CoreInternal.h"
#include "rtl/CallbackGuard.h"
#include "rtl/ScopeGuard.h"

namespace {

TControl* GCaptureControl = nullptr;
TControl* GMouseControl = nullptr;
std::vector<TControlCanvas*> GCanvasList;

// Calls a copy of an event: the handler may free the object that holds it.
// Runs Paint with canvas C bound to DC; the canvas is let go on every path.
template <class F>
void PaintOnCanvas(TControlCanvas* C, HDC DC, F Paint) {
  C->Lock();
  C->SetHandle(DC);
  TFinally Done([&] {
    C->SetHandle(nullptr);
    C->Unlock();
  });
  Paint();
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
  CallbackGuard(nullptr, [&] { (*Keep)(M); });
  CallbackGuard(nullptr, [] { FreeDeviceContexts(); });
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

namespace corepriv {

namespace {

struct TWindowBindings {
  std::mutex Lock;
  std::unordered_map<HWND, TWinControl*> Map;
};

TWindowBindings& Bindings() {
  static TWindowBindings* B = new TWindowBindings;  // outlives every window
  return *B;
}

}  // namespace

TWinControl* ControlOfWindow(HWND Wnd) {
  if (!Wnd) return nullptr;
  TWindowBindings& B = Bindings();
  std::lock_guard<std::mutex> G(B.Lock);
  auto It = B.Map.find(Wnd);
  return It == B.Map.end() ? nullptr : It->second;
}

void BindWindow(HWND Wnd, TWinControl* Control) {
  TWindowBindings& B = Bindings();
  std::lock_guard<std::mutex> G(B.Lock);
  B.Map[Wnd] = Control;
}

void UnbindWindow(HWND Wnd) {
  TWindowBindings& B = Bindings();
  std::lock_guard<std::mutex> G(B.Lock);
  B.Map.erase(Wnd);
}

}  // namespace corepriv

// Only windows of this process are ever bound, so a window of another
// process (or a handle that is no window) finds nothing.
TWinControl* FindControl(HWND Wnd) { return corepriv::ControlOfWindow(Wnd); }

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
  FConstraints = new TSizeConstraints(this);
  FConstraints->OnChange = [this](TObject*) { AdjustSize(); };
}

TControl::~TControl() {
  *FAlive = false;
  if (Application) Application->CancelRelease(this);
  corepriv::DragControlFreed(this);
  ForgetMouseControl(this);
  if (GCaptureControl == this) {
    GCaptureControl = nullptr;
    ReleaseCapture();
  }
  if (FParent) FParent->RemoveControl(this);
  delete FConstraints;
  delete FFont;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M{Msg, WParam, LParam, 0};
  FWindowProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& M) {
  if (M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST && M.Msg != WM_MOUSEWHEEL && M.Msg != WM_MOUSEHWHEEL)
    corepriv::SetLastMousePos(ClientToScreen(TPoint(MsgX(M.LParam), MsgY(M.LParam))));
  // The drag in progress takes its source's mouse.
  if (corepriv::DragMouseMsg(this, M)) return;
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A press on a control dragged automatically starts its drag and is
      // nothing else.
      if (FDragMode == dmAutomatic && !DragSource()) {
        auto Alive = FAlive;
        SendCancelMode(this);
        if (*Alive) BeginDrag(false);
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (Application) {
        auto Alive = FAlive;
        Application->HintMouseMessage(this, corepriv::LastMousePos());
        if (!*Alive) return;
      }
      break;
  }
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
    case CM_MOUSEWHEEL: {
      // Offered here, then to each parent up to the form.
      auto Alive = FAlive;
      TPoint Pos(MsgX(M.LParam), MsgY(M.LParam));
      Integer Delta = static_cast<SHORT>(HIWORD(M.WParam));
      if (DoMouseWheel(static_cast<TShiftState>(LOWORD(M.WParam)), Delta, Pos)) {
        M.Result = 1;
        return;
      }
      if (*Alive && FParent) M.Result = FParent->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
      return;
    }
    case WM_CONTEXTMENU:
      WMContextMenu(M);
      return;
    case CM_DRAG:
      CMDrag(M);
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
  // The control's own size rule, then its limits.
  if (FAutoSize && !FComponentState.Contains(csLoading)) {
    Integer W = AWidth, H = AHeight;
    if (CanAutoSize(W, H)) {
      AWidth = W;
      AHeight = H;
    }
  }
  FConstraints->Apply(AWidth, AHeight);
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
  // A window knows where its client area is (a form's frame is not ours to guess).
  if (auto* W = dynamic_cast<TWinControl*>(this); W && W->HandleAllocated()) {
    POINT P{0, 0};
    ::ClientToScreen(W->FHandle, &P);
    return TPoint(P.x, P.y);
  }
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
  // Erased only when neither this control nor its parent paints every pixel.
  InvalidateRect(FParent->FHandle, &R, !(FControlStyle & csOpaque) && !(FParent->FControlStyle & csOpaque));
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
  if (FAutoSize) AdjustSize();
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

// ---------------------------------------------------------------------------
// Size rules

void TSizeConstraints::SetMinWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMinWidth == Value) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && FMaxWidth < Value) FMaxWidth = Value;
  Change();
}

void TSizeConstraints::SetMinHeight(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMinHeight == Value) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && FMaxHeight < Value) FMaxHeight = Value;
  Change();
}

void TSizeConstraints::SetMaxWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMaxWidth == Value) return;
  FMaxWidth = Value;
  if (Value > 0 && FMinWidth > Value) FMinWidth = Value;
  Change();
}

void TSizeConstraints::SetMaxHeight(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMaxHeight == Value) return;
  FMaxHeight = Value;
  if (Value > 0 && FMinHeight > Value) FMinHeight = Value;
  Change();
}

void TSizeConstraints::Apply(Integer& Width, Integer& Height) const {
  if (FMaxWidth > 0 && Width > FMaxWidth) Width = FMaxWidth;
  if (FMinWidth > 0 && Width < FMinWidth) Width = FMinWidth;
  if (FMaxHeight > 0 && Height > FMaxHeight) Height = FMaxHeight;
  if (FMinHeight > 0 && Height < FMinHeight) Height = FMinHeight;
}

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinWidth = S->FMinWidth;
    FMinHeight = S->FMinHeight;
    FMaxWidth = S->FMaxWidth;
    FMaxHeight = S->FMaxHeight;
    Change();
    return;
  }
  TPersistent::Assign(Source);
}

void TSizeConstraints::Change() { Fire(OnChange, this); }

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize() {
  if (FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying)) return;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

// ---------------------------------------------------------------------------
// Popup menu, context menu, hints, wheel

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == static_cast<TComponent*>(FPopupMenu)) FPopupMenu = nullptr;
}

bool TControl::ShowHint() const {
  if (FParentShowHint && FParent) return FParent->ShowHint();
  return FShowHint;
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  FParentShowHint = false;
}

String GetShortHint(const String& Hint) {
  size_t I = Hint.find(u'|');
  return I == String::npos ? Hint : Hint.substr(0, I);
}

String GetLongHint(const String& Hint) {
  size_t I = Hint.find(u'|');
  return I == String::npos ? Hint : Hint.substr(I + 1);
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) { Fire(OnContextPopup, this, MousePos, Handled); }

void TControl::WMContextMenu(TMessage& M) {
  if (M.Result != 0) return;
  Integer X = MsgX(M.LParam), Y = MsgY(M.LParam);
  bool FromKeyboard = X == -1 && Y == -1;
  auto Alive = FAlive;
  bool Handled = false;
  DoContextPopup(FromKeyboard ? TPoint(-1, -1) : ScreenToClient(TPoint(X, Y)), Handled);
  if (!*Alive) return;
  if (Handled) {
    M.Result = 1;
    return;
  }
  if (FPopupMenu && FPopupMenu->AutoPopup()) {
    SendCancelMode(nullptr);
    if (!*Alive || !FPopupMenu) return;
    FPopupMenu->SetPopupComponent(this);
    TPoint P = FromKeyboard ? ClientToScreen(TPoint(0, 0)) : TPoint(X, Y);
    M.Result = 1;
    FPopupMenu->Popup(P.X, P.Y);
    return;
  }
  // Nobody took it: the window's default passes it to the parent window.
  DefaultHandler(M);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) {
  auto Alive = FAlive;
  bool Handled = false;
  Fire(OnMouseWheel, this, Shift, WheelDelta, MousePos, Handled);
  if (Handled || !*Alive) return true;
  // Whole notches go to the down and up events; the rest waits for more.
  FWheelAccumulator += WheelDelta;
  while (!Handled && std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
    bool Down = FWheelAccumulator < 0;
    FWheelAccumulator += Down ? WHEEL_DELTA : -WHEEL_DELTA;
    Handled = Down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
    if (!*Alive) return true;
  }
  return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) {
  bool Handled = false;
  Fire(OnMouseWheelDown, this, Shift, MousePos, Handled);
  return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) {
  bool Handled = false;
  Fire(OnMouseWheelUp, this, Shift, MousePos, Handled);
  return Handled;
}
