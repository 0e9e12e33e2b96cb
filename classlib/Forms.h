// Forms, the application object and the screen. Winelib only.
#pragma once

#include <map>
#include <vector>

#include "classlib/AppHooks.h"
#include "classlib/Controls.h"

class TMenuItem;

// Modal results.
using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = mrNo + 1;
inline constexpr TModalResult mrNoToAll = mrAll + 1;
inline constexpr TModalResult mrYesToAll = mrNoToAll + 1;

enum TCloseAction : Byte { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, Exception& E)>;

using TFormState = Byte;
inline constexpr TFormState fsModal = 0x01;

// Where a form goes when it is shown: as designed, where the system puts new
// windows (size too with poDefault), or centred on the screen, the desktop,
// the main form or the owner form.
enum TPosition : Byte {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TFormBorderStyle : Byte { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = Byte;
inline constexpr TBorderIcons biSystemMenu = 0x01;
inline constexpr TBorderIcons biMinimize = 0x02;
inline constexpr TBorderIcons biMaximize = 0x04;
inline constexpr TBorderIcons biHelp = 0x08;
// fsMDIForm: the window holds a system document client (ClientHandle) whose
// children are the fsMDIChild forms; a child is a child window of the main
// form's client. Both styles take effect when the window is made.
enum TFormStyle : Byte { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
// How the document parent tiles its children: side by side or one above
// another.
enum TTileMode : Byte { tbHorizontal, tbVertical };
enum TWindowState : Byte { wsNormal, wsMinimized, wsMaximized };
// Orientation of scroll bars (the image view's bars and the skinned ones).
enum TScrollBarKind : Byte { sbHorizontal, sbVertical };

// ---------------------------------------------------------------------------

// A top-level window. A form built in code runs its loading phase itself:
// BeginLoading(), create and set up the components, EndLoading() (Loaded on
// each), then DoCreate() (OnCreate).
class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  // OnDestroy (once; an exception goes to Application), then the controls,
  // the window and the owned components.
  void BeforeDestruction() override;

  void Show();
  // Runs the form's own message loop until ModalResult is set; returns it.
  virtual TModalResult ShowModal();
  // Asks OnCloseQuery, then acts on OnClose's action (a modal form only sets
  // ModalResult to mrCancel; the main form ends the application).
  void Close();
  virtual bool CloseQuery();
  // Frees the form after the message being handled (the deferred delete of
  // the application's loops).
  void Release();

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormState FormState() const { return FFormState; }
  bool Active() const { return FActive; }

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // Focuses Control (synchronously).
  void FocusControl(TWinControl* Control);
  // Called when a control of this form receives the focus: CM_EXIT up the
  // old chain, CM_ENTER down the new one, then CM_FOCUSCHANGED. A handler
  // that moves the focus elsewhere ends the walk.
  bool SetFocusedControl(TWinControl* Control);
  void DefocusControl(TControl* Control);
  // Gives the active control CM_CANCELMODE with LParam = Sender.
  void SendCancelMode(TControl* Sender);
  void SetFocus() override;
  bool CanFocus() override;

  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // OnShortCut first, then the form's menu; true when handled.
  virtual bool IsShortCut(MSG& Msg);
  // The form's main menu: data whose short-cuts the form's keys reach (no
  // menu bar is attached to the window).
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);

  // Applied each time the form is shown.
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  // Border and caption buttons; changing them remakes an existing window.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  // --- document (MDI) parent: what its client window holds.
  // The client window (made with the form's window; nullptr otherwise).
  HWND ClientHandle() const { return FClientHandle; }
  // The document children in the client's order (the first is the active
  // one, as the system keeps them).
  Integer MDIChildCount();
  TCustomForm* MDIChildren(Integer Index);
  TCustomForm* ActiveMDIChild();
  // The menu item under which the system lists the children (kept as data:
  // forms have no native menu bar).
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* Value);
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  // Activates the next child; the system's arrangements of the children.
  void Next();
  void Previous();
  void Tile();
  void Cascade();
  void ArrangeIcons();

  // The window's own state (minimised, maximised by the system); a form
  // without a window keeps the request until it is shown.
  TWindowState WindowState();
  void SetWindowState(TWindowState Value);

  // Fires OnCreate.
  void DoCreate();

  // Unhandled messages of a document parent go through the system's frame
  // procedure, a child's through the child procedure.
  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  friend class TWinControl;
  void CreateParams(TCreateParams& Params) override;
  virtual void DoClose(TCloseAction& Action);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Moves the form where Position puts it (before it shows).
  void ApplyPosition();
  // Fires OnDestroy the first time it is called.
  void DoDestroy();

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TModalResult FModalResult = mrNone;
  TFormState FFormState = 0;
  bool FActive = false;
  bool FKeyPreview = false;
  Integer FFocusCount = 0;
  bool FDestroyFired = false;
  TMainMenu* FMenu = nullptr;
  TPosition FPosition = poDesigned;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  HWND FClientHandle = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  TTileMode FTileMode = tbHorizontal;

  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  std::vector<TCustomForm*> MDIChildList();
};

// A small top-level window that shows a hint without taking activation and
// lets the mouse through.
class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  // The window's size for a hint text (at most MaxWidth wide, wrapped).
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint);
  // Shows AHint at Rect (screen coordinates).
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  // Hides the window.
  void ReleaseHandle();
  bool HintShown() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
};

// The factory by which the application makes its hint window. Replaced by a
// skinned hint component; switching Application->ShowHint off and on makes
// the window again in the class it names then.
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
extern THintWindowClass HintWindowClass;

// What a hint about to show is made of; OnShowHint may change it.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;  // screen point of the window's top-left
  Integer HintMaxWidth = 300;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // the hint control's client rect
  TPoint CursorPos;  // the mouse in the hint control's coordinates
  Integer HideTimeout = 0;
  String HintStr;
};
// CanShow false keeps the hint away.
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// ---------------------------------------------------------------------------

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Common controls, the GUI thread's id and the wake-up of Synchronize.
  void Initialize();
  // The hidden utility window: wake-ups and synchronised calls.
  HWND Handle();
  TCustomForm* MainForm() const { return FMainForm; }
  // The first form created through CreateForm becomes the main form.
  template <class T>
  T* CreateForm() {
    T* F = new T(this);
    if (FMainForm == nullptr) FMainForm = F;
    return F;
  }
  void SetMainForm(TCustomForm* Form) { FMainForm = Form; }

  // Shows the main form and loops HandleMessage until Terminated.
  void Run();
  // One message through the queue path, else Idle; then the deferred deletes.
  void HandleMessage();
  // Drains the queue through the queue path, without Idle and without the
  // deferred deletes.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return FTerminate; }

  // Call inside a catch block: shows the exception being handled through
  // OnException or a message box; never rethrows. EAbort is silent.
  void HandleException(TObject* Sender);
  void ShowException(Exception& E);

  // Deferred delete: Obj is freed by the main or a modal loop between
  // messages (a modal form once its loop has ended). Cancelled when Obj is
  // freed before.
  void ReleaseObject(TObject* Obj);
  void CancelRelease(TObject* Obj);
  void DoReleaseQueue();

  // The message hooks; the newest one runs instead of OnMessage.
  TMessageHooks& MessageHooks() { return FHooks; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  // --- hints: shown HintPause ms after the mouse comes to rest over a
  // control with ShowHint and a hint (HintShortPause when moving from one
  // hint to the next), hidden after HintHidePause ms, on a press, a key or
  // when the mouse leaves the control.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer Value) { FHintPause = Value; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer Value) { FHintShortPause = Value; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer Value) { FHintHidePause = Value; }
  // The long hint of the control under the mouse; OnHint fires on a change.
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  void CancelHint();
  // The hint window (made on first use).
  THintWindow* HintWindow();
  TControl* HintControl() const;
  // A mouse move over Control at the screen point Pos.
  void HintMouseMessage(TControl* Control, const TPoint& Pos);

  // --- minimising the program (its main form)
  void Minimize();
  void Restore();
  bool Minimized() const { return FMinimized; }
  // The main form's window was minimised or restored (by code or the user).
  void MainFormSized(bool Minimized);
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }

  // The queue path's first step (when no hook is installed). Handled, or a
  // message id set to 0, stops the message.
  TMessageEvent OnMessage;
  // Done starts true; left true, the loop waits for the next message.
  TIdleEvent OnIdle;
  // Replaces the message box of HandleException.
  TExceptionEvent OnException;
  TNotifyEvent OnHint;
  // Fired before a hint shows, with its text and place.
  TShowHintEvent OnShowHint;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  void FormDestroyed(TCustomForm* Form);

 private:
  bool ProcessMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  void IsHintMsg(MSG& Msg);
  void Idle();
  void WndProc(TMessage& Message);
  void HintTimerExpired();
  void StartHintTimer(Integer Pause, bool ToShow);
  void StopHintTimer();
  void HideHint();

  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  bool FTerminate = false;
  TMessageHooks FHooks;
  std::vector<TObject*> FReleaseQueue;
  String FTitle;
  Integer FHintHidePause = 2500;
  Integer FHintPause = 500;
  Integer FHintShortPause = 50;
  bool FShowHint = true;
  String FHint;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  std::shared_ptr<bool> FHintControlAlive;
  TPoint FHintPos;
  Integer FHintTimer = 0;  // 0: none, 1: to show, 2: to hide
  bool FMinimized = false;
  bool FShowMainForm = true;
};

// ---------------------------------------------------------------------------

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  Integer FormCount() const { return static_cast<Integer>(FForms.size()); }
  TCustomForm* Forms(Integer Index) const { return FForms.at(static_cast<size_t>(Index)); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const;

  // One global cursor: while it is not crDefault every control shows it.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor handle of a slot; an unset slot reads as the default cursor.
  HCURSOR Cursors(Integer Index);
  // Replaces (and destroys) the slot's handle.
  void SetCursors(Integer Index, HCURSOR Handle);

  TRect WorkAreaRect() const;
  Integer Width() const;
  Integer Height() const;
  // The installed font families, sorted.
  TStrings* Fonts();

  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form) { FActiveForm = Form; }

 private:
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
  std::map<Integer, HCURSOR> FCursors;
  std::map<Integer, HCURSOR> FDrawnCursors;  // standard cursors the system lacks
  TStringList* FFonts = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;
