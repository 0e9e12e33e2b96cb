// TspTrayIcon: an icon in the taskbar's notification area. The shell's mouse
// notifications (message 2048 to the icon's own window) become component
// events, a popup menu opens at the cursor, balloon hints show, the icon
// animates from an image list, and the main form hides to the tray and comes
// back. Every shell call goes through TspTrayIcon::ShellNotify, which tests
// replace. Winelib only.
#pragma once

#include <functional>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinTrayClicks.h"
#include "skin/controls/win/SkinMenus.h"

#include <shellapi.h>

enum TspBalloonHintIcon : Byte { spbitNone, spbitInfo, spbitWarning, spbitError };
using TCycleEvent = std::function<void(TObject* Sender, Integer NextIndex)>;
using TTrayMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;

// The callback message of the icon and the balloon-click notification.
inline constexpr UINT SP_TRAY_CALLBACK = 2048;
inline constexpr UINT SP_TRAY_BALLOON_CLICK = 1029;
// Posted to the main form when it comes back from the tray.
inline constexpr UINT SP_TRAY_RESTORED = WM_USER + 402;

class TspTrayIcon : public TComponent {
 public:
  explicit TspTrayIcon(TComponent* AOwner);
  ~TspTrayIcon() override;

  // The one route to the shell (Shell_NotifyIconW unless replaced).
  static std::function<BOOL(DWORD Message, NOTIFYICONDATAW* Data)> ShellNotify;

  void SetIconVisible(bool Value);
  bool IconVisible() const { return FIconVisible; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TIcon* Icon() const { return FIcon; }
  void SetIcon(TIcon* Value);
  TCustomImageList* IconList() const { return FIconList; }
  void SetIconList(TCustomImageList* Value);
  Integer IconIndex() const { return FIconIndex; }
  // Without a list, or with an empty one, the index is 0 and the icon stays;
  // else limited to the list and that image becomes the icon.
  void SetIconIndex(Integer Value);
  bool CycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool Value);
  Cardinal AnimateTimerInterval() const { return FAnimateTimerInterval; }
  void SetAnimateTimerInterval(Cardinal Value);
  TspSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TspSkinPopupMenu* Value);
  bool PopupByLeftButton() const { return FPopupByLeftButton; }
  void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
  bool MinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
  bool MinimizedOnStart() const { return FMinimizedOnStart; }
  void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }

  void ShowMainForm();
  void HideMainForm();
  void ShowBalloonHint(const String& Title, const String& Text, TspBalloonHintIcon IconType);
  void HideBalloonHint();
  void Refresh() { ModifyIcon(); }
  bool BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor);
  // HideMainForm, then the icon shows (the minimise of the main form with
  // MinimizeToTray set).
  void DoMinimizeToTray();

  // The icon's own window (it gets the shell's notifications and the
  // "TaskbarCreated" broadcast).
  HWND Handle() const { return FHandle; }
  const NOTIFYICONDATAW& IconData() const { return FIconData; }
  TTimer* ClickTimer() const { return FClickTimer; }
  TTimer* AnimateTimer() const { return FAnimateTimer; }
  static UINT TaskbarCreatedMessage();
  // The owner's window is being watched.
  bool WatchingOwner() const { return FOwnerWatched != nullptr; }

  TNotifyEvent OnClick, OnDblClick, OnBalloonHintClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TTrayMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void ShowIcon();
  virtual void HideIcon();
  virtual void ModifyIcon();

 private:
  static LRESULT CALLBACK IconWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
  // The owner's window is watched (activation, showing) through a subclass
  // of its own, removed by identity: no procedure is replaced or restored.
  static LRESULT CALLBACK OwnerWatch(HWND Wnd, UINT Msg, WPARAM W, LPARAM L, UINT_PTR Id, DWORD_PTR Ref);
  void WatchOwner();
  void UnwatchOwner();
  LRESULT HandleMessage(UINT Msg, WPARAM W, LPARAM L);
  void Callback(LPARAM Mouse);
  void PrepareIconData();
  void Notify(DWORD Message);
  void PopupAtCursor();
  void AnimateTick();
  void ClickTick();

  bool FEnabled = true;
  TIcon* FIcon;
  bool FIconVisible = true;
  String FHint;
  bool FShowHint = true;
  TspSkinPopupMenu* FPopupMenu = nullptr;
  bool FPopupByLeftButton = false;
  bool FMinimizedOnStart = false;
  bool FMinimizeToTray = false;
  TspTrayClicks FClicks;
  TTimer* FAnimateTimer;
  TTimer* FClickTimer;
  Integer FIconIndex = 0;
  TCustomImageList* FIconList = nullptr;
  bool FCycleIcons = false;
  Cardinal FAnimateTimerInterval = 0;
  HWND FHandle = nullptr;
  NOTIFYICONDATAW FIconData{};
  // The application's minimise event was free and is ours.
  bool FOwnsMinimize = false;
  // The owner's window while it is watched.
  HWND FOwnerWatched = nullptr;
};
