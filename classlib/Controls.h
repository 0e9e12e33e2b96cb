// Controls: the object layer over HWNDs. TControl (bounds, parent, text,
// mouse, alignment), TWinControl (a real window routed to its object),
// TGraphicControl (painted by its parent) and TCustomControl (a window with a
// canvas).
//
// A message travels MainWndProc (the HWND's procedure, which catches
// everything) -> WindowProc (replaceable) -> WndProc (virtual pre-processing)
// -> Dispatch (the most derived handler of the number; a handler's
// "inherited" is its base class's Dispatch) -> DefaultHandler.
// Winelib only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Messages.h"
#include "rtl/Classes.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TMainMenu;

// Shift state: a set of bits.
using TShiftState = Word;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;
inline constexpr TShiftState ssDouble = 0x40;

enum TMouseButton : Byte { mbLeft, mbRight, mbMiddle };
enum TAlign : Byte { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

using TAnchors = Byte;
inline constexpr TAnchors akLeft = 0x01;
inline constexpr TAnchors akTop = 0x02;
inline constexpr TAnchors akRight = 0x04;
inline constexpr TAnchors akBottom = 0x08;

// Control style bits.
using TControlStyle = Cardinal;
inline constexpr TControlStyle csAcceptsControls = 1u << 0;
inline constexpr TControlStyle csCaptureMouse = 1u << 1;
inline constexpr TControlStyle csClickEvents = 1u << 2;
inline constexpr TControlStyle csFramed = 1u << 3;
inline constexpr TControlStyle csSetCaption = 1u << 4;
inline constexpr TControlStyle csOpaque = 1u << 5;
inline constexpr TControlStyle csDoubleClicks = 1u << 6;
inline constexpr TControlStyle csFixedWidth = 1u << 7;
inline constexpr TControlStyle csFixedHeight = 1u << 8;
inline constexpr TControlStyle csNoStdEvents = 1u << 9;
inline constexpr TControlStyle csReplicatable = 1u << 10;

// Control state bits.
using TControlState = Cardinal;
inline constexpr TControlState csLButtonDown = 1u << 0;
inline constexpr TControlState csClicked = 1u << 1;
inline constexpr TControlState csAlignmentNeeded = 1u << 2;
inline constexpr TControlState csFocusing = 1u << 3;
inline constexpr TControlState csCreating = 1u << 4;
inline constexpr TControlState csCustomPaint = 1u << 5;
inline constexpr TControlState csDestroyingHandle = 1u << 6;
// Set while a control's look is painted into another surface (a child's
// background under it), not onto its own window.
inline constexpr TControlState csPaintCopy = 1u << 7;

// Cursors: 0 is the default; negative values are the standard cursors.
using TCursor = SmallInt;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;

using TWndMethod = std::function<void(TMessage&)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
// MousePos: client coordinates, or (-1, -1) when the keyboard asked.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
// MousePos: screen coordinates.
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// In-process drag and drop of controls.
enum TDragMode : Byte { dmManual, dmAutomatic };
enum TDragState : Byte { dsDragEnter, dsDragLeave, dsDragMove };
// What a CM_DRAG message asks (its WParam); LParam points to a TDragRec.
enum TDragMessage : Byte { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop };
struct TDragRec {
  TPoint Pos;            // screen coordinates
  TControl* Source;      // the control being dragged
  TControl* Target;      // the control the message goes to
};
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;

// The drag in progress: its source (nullptr when none), whether it has
// passed its threshold, and the control under the cursor.
TControl* DragSource();
bool DragStarted();
TControl* DragTarget();
// Aborts the drag in progress (as Esc does).
void CancelDrag();

// The short hint (before "|") and the long hint (after it; the whole text
// when there is no "|").
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

// Minimum and maximum sizes of a control (0: no limit), applied whenever its
// bounds are set, by code or by its parent's alignment.
class TSizeConstraints : public TPersistent {
 public:
  explicit TSizeConstraints(TControl* AControl) : FControl(AControl) {}
  Integer MinWidth() const { return FMinWidth; }
  Integer MinHeight() const { return FMinHeight; }
  Integer MaxWidth() const { return FMaxWidth; }
  Integer MaxHeight() const { return FMaxHeight; }
  // A minimum set above the maximum raises the maximum; a maximum set below
  // the minimum lowers the minimum.
  void SetMinWidth(Integer Value);
  void SetMinHeight(Integer Value);
  void SetMaxWidth(Integer Value);
  void SetMaxHeight(Integer Value);
  // Clamps a size to the limits.
  void Apply(Integer& Width, Integer& Height) const;
  void Assign(TPersistent* Source) override;
  TControl* Control() const { return FControl; }
  TNotifyEvent OnChange;

 private:
  void Change();
  TControl* FControl;
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// The shift state of a mouse message's key flags / of a key message.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);

// A hidden utility window whose messages go to Method (timers, the
// application's wake-ups). Exceptions from Method are handed to
// Application.HandleException. DeallocateHWnd may be called from inside Method.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// The class-library control that owns a window of this process, or nullptr.
TWinControl* FindControl(HWND Wnd);

// The control that holds the mouse capture: a graphic control through its
// parent window during a press, or the windowed control that holds it.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the mouse is over, as the enter/leave notices last said.
TControl* MouseControl();
// Moves the mouse to NewControl: CM_MOUSELEAVE to the old one, CM_MOUSEENTER
// to the new one. ForgetMouseControl drops a control without notices.
void SetMouseControl(TControl* NewControl);
void ForgetMouseControl(TControl* Control);

// A canvas on a control's window: the DC is taken on first use and given
// back after the message that used it.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* AControl) : FControl(AControl) {}
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// Gives back every DC that control canvases took outside painting.
void FreeDeviceContexts();

// ---------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- messages
  // Straight into WindowProc: no window needed; exceptions reach the caller.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  const TWndMethod& WindowProc() const { return FWindowProc; }
  void SetWindowProc(TWndMethod Value) { FWindowProc = std::move(Value); }
  // The default WindowProc: what SetWindowProc replaces and a hook calls on.
  TWndMethod DefaultWindowProc() {
    return [this](TMessage& M) { WndProc(M); };
  }
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // A token that turns false when the object is freed: code that calls out
  // (to handlers that may free this object) copies it first.
  std::shared_ptr<bool> LivenessToken() const { return FAlive; }

  // --- geometry
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer V) { SetBounds(V, FTop, FWidth, FHeight); }
  void SetTop(Integer V) { SetBounds(FLeft, V, FWidth, FHeight); }
  void SetWidth(Integer V) { SetBounds(FLeft, FTop, V, FHeight); }
  void SetHeight(Integer V) { SetBounds(FLeft, FTop, FWidth, V); }
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  virtual TRect ClientRect();
  Integer ClientWidth() { return ClientRect().Width(); }
  Integer ClientHeight() { return ClientRect().Height(); }
  virtual void SetClientSize(Integer W, Integer H);
  void SetClientWidth(Integer V) { SetClientSize(V, ClientHeight()); }
  void SetClientHeight(Integer V) { SetClientSize(ClientWidth(), V); }
  TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& P);
  TPoint ScreenToClient(const TPoint& P);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);

  // --- parent, state
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  // Text and caption are one value: the window text once a window exists.
  String Text();
  void SetText(const String& Value);
  String Caption() { return Text(); }
  void SetCaption(const String& Value) { SetText(Value); }

  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

  // --- painting
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // --- size rules
  TSizeConstraints* Constraints() const { return FConstraints; }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  // With AutoSize the control's own size rule (CanAutoSize) decides its
  // width and height whenever its bounds are set.
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  // Applies the size rules again (after what they depend on has changed).
  virtual void AdjustSize();

  // --- menus and hints
  // The context menu of the control; its short-cuts work while the control
  // or a child of it has the focus.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // With ParentShowHint the parent's ShowHint counts (a form's own value at
  // the top); setting ShowHint clears ParentShowHint.
  bool ShowHint() const;
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }

  // --- drag and drop
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  // Starts dragging this control: at once when Immediate, else once the
  // mouse has moved Threshold pixels (-1: 5) from where it was pressed. The
  // control keeps the mouse capture until the drag ends.
  void BeginDrag(bool Immediate, Integer Threshold = -1);
  bool Dragging() const;
  // Ends this control's drag: a drop on the control under the cursor when
  // Drop (and it accepts), else a cancel.
  void EndDrag(bool Drop);

  // --- mouse capture (the parent window holds it for a graphic control)
  bool MouseCapture();
  void SetMouseCapture(bool Value);

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TNotifyEvent OnStartDrag;

 protected:
  friend class TWinControl;
  friend class TCustomForm;
  friend class TApplication;
  friend class TDragMachine;

  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The size the control wants under AutoSize; false keeps the given one.
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
    (void)NewWidth;
    (void)NewHeight;
    return false;
  }
  // The context-menu request: OnContextPopup.
  virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
  // The wheel: OnMouseWheel, else OnMouseWheelDown/Up once per full notch
  // (partial deltas add up). True when handled.
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos);
  // Drag events. Accept starts true only when OnDragOver is set.
  virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, Integer X, Integer Y);
  virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
  virtual void DoStartDrag();
  // CM_DRAG: the drag messages of a target.
  void CMDrag(TMessage& Message);
  // WM_CONTEXTMENU for this control itself (popup menu, else unhandled).
  void WMContextMenu(TMessage& Message);

  void Loaded() override;
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void Resize();
  // Asks the parent to realign (when this control is aligned or anchored).
  void RequestAlign();
  // Remembers the distances to the parent's right and bottom edges.
  void UpdateAnchorRules();
  // Tells the parent form to cancel the modes of its active control.
  void SendCancelMode(TControl* Sender);
  void DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& M, TMouseButton Button);
  void FontChanged(TObject* Sender);
  virtual void SetBoundsCore(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  bool FParentFont = true;
  bool FParentColor = false;
  TAlign FAlign = alNone;
  TAnchors FAnchors = akLeft | akTop;
  Integer FAnchorRight = 0, FAnchorBottom = 0;  // distances to the parent's edges
  TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState FControlState = 0;
  TCursor FCursor = crDefault;
  TColor FColor = clWindow;
  String FText;
  TFont* FFont = nullptr;
  TWndMethod FWindowProc;
  std::shared_ptr<bool> FAlive;
  TSizeConstraints* FConstraints = nullptr;
  bool FAutoSize = false;
  TPopupMenu* FPopupMenu = nullptr;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
  Integer FWheelAccumulator = 0;
};

// ---------------------------------------------------------------------------
// TWinControl

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  UINT ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  String WinClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  // A destructor of a class that keeps data its window or its child
  // controls use calls Destroying(); DestroyChildControls(); DestroyHandle();
  // first: after a plain delete that is where they go. Freed through
  // FreeObject they are gone already (BeforeDestruction).
  ~TWinControl() override;
  // Child controls and the window go while the whole control still exists,
  // then the owned components.
  void BeforeDestruction() override;

  // Reading the handle makes the window (and its parents').
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys the window and makes it again at once when the control is
  // showing; text, bounds, children and focus survive.
  void RecreateWnd();
  // Visible here and in every parent, up to a shown form.
  bool Showing() const { return FShowing; }

  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  // The HWND's procedure calls this: WindowProc with every exception caught.
  void MainWndProc(TMessage& Message);

  // --- children: the non-windowed ones first, then the windowed ones.
  Integer ControlCount() const { return static_cast<Integer>(FControls.size() + FWinControls.size()); }
  TControl* Controls(Integer Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // The visible child at P (client coordinates); non-windowed children are
  // searched last-first, windowed ones only when AllowWinControls.
  TControl* ControlAtPos(const TPoint& P, bool AllowDisabled, bool AllowWinControls = false);
  // Hands Message to each child until one answers non-zero.
  void Broadcast(TMessage& Message);

  // --- alignment
  void DisableAlign();
  void EnableAlign();
  void Realign();
  // Moves the window's pixels and child windows by (DeltaX, DeltaY), updates
  // the bounds of every child control (graphic ones are moved), then
  // realigns. A hidden window or one not made yet only moves the bounds.
  void ScrollBy(Integer DeltaX, Integer DeltaY);
  virtual void AdjustClientRect(TRect& Rect) { (void)Rect; }
  TRect ClientRect() override;
  // Before the window exists the client size is kept and applied against
  // the real frame once the window is made.
  void SetClientSize(Integer W, Integer H) override;

  // --- focus and tab order
  virtual bool CanFocus();
  bool Focused();
  // Synchronous; raises EInvalidOperation when the control cannot take focus.
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  Integer TabOrder() const;
  void SetTabOrder(Integer Value);
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the control's own content (what its WM_PAINT draws before the
  // graphic children) into DC, as a child's background painter needs.
  void PaintContentTo(HDC DC) { PaintWindow(DC); }

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  friend class TControl;
  friend class TCustomForm;
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);

  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  // Saves what the window holds (its text) and destroys it.
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  void UpdateShowing();
  void Loaded() override;
  void SetBoundsCore(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // Reads the bounds back from the window.
  void UpdateBounds();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void DoAlign(TControl* AControl);
  // Frees the child controls (derived destructors call it while they are
  // still whole).
  void DestroyChildControls();

  virtual void PaintWindow(HDC DC) { (void)DC; }
  void PaintHandler(TMessage& Message);
  void PaintControls(HDC DC, TControl* First);

  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(Char& Key);
  bool DoKeyDown(TMessage& M);
  bool DoKeyUp(TMessage& M);
  bool DoKeyPress(TMessage& M);
  virtual void DoEnter();
  virtual void DoExit();

  // Sends a reflected notification to the child control owning Wnd.
  bool DoControlMsg(HWND Wnd, TMessage& Message);
  // Routes a mouse message to the graphic child under the point or holding
  // the capture; true when one took it.
  bool IsControlMouseMsg(TMessage& Message);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = DefWindowProcW;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FWinControls;
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  bool FShowing = false;
  Integer FAlignLevel = 0;
  Integer FPendingClientWidth = -1, FPendingClientHeight = -1;
};

// ---------------------------------------------------------------------------

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}
  TControlCanvas* FCanvas;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  TControlCanvas* FCanvas;
};

// Superclassing: registers Params.WinClassName (once) with the class data of
// the system class SystemClass ("EDIT", "LISTBOX", "SysTreeView32"; the common
// controls are initialised when the class is not registered yet) and our window procedure;
// returns the system procedure, the control's default handler.
// Params.ClassStyle is the style registered.
WNDPROC RegisterSuperclass(const TCreateParams& Params, const char16_t* SystemClass);
// The system class's style without the bits a control of ours never keeps
// (CS_PARENTDC, CS_OWNDC, CS_CLASSDC, CS_GLOBALCLASS).
UINT SuperclassStyle(const char16_t* SystemClass);

// The form a control sits on (the top of its parent chain), or nullptr.
TCustomForm* GetParentForm(TControl* Control);
