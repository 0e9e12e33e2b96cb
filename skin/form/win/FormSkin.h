// TspFormSkin: the component every skinned form owns. It takes over the
// form's window procedure and draws the whole frame itself (from the skin
// model, or in a plain default look without a skin), answers the frame's hit
// tests, sizes, rolls up, fades and minimises the form by its own rules, and
// walks the form's skinned controls when the skin changes. Winelib only; the
// geometry rules are in skin/form/FormGeometry.h.
#pragma once

#include <memory>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/controls/win/SkinHint.h"
#include "skin/controls/win/SkinMenus.h"
#include "skin/controls/win/SkinTrayIcon.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/FormGeometry.h"
#include "skin/form/win/FormLayerBorder.h"
#include "skin/form/win/FormObjects.h"

// The caption buttons and system-menu items a form shows. The class
// library's own biSystemMenu... are the form's native icons; these live in
// their own scope.
namespace spbi {
enum TspBorderIcon : Byte {
  biSystemMenu = 0x01,
  biMinimize = 0x02,
  biMaximize = 0x04,
  biRollUp = 0x08,
  biMinimizeToTray = 0x10,
};
}  // namespace spbi
using TspBorderIcons = Byte;

enum TspPositionInMonitor : Byte { sppDefault, sppScreenCenter, sppDesktopCenter };

using TspCaptionPaintEvent = std::function<void(TCanvas* Cnvs, TRect R, bool AActive)>;
using TChangeClientRectEvent = std::function<void(TRect NewClientRect)>;
using TspActivateCustomObjectEvent = std::function<void(const String& IDName, bool& ObjectVisible)>;

class TspFormSkin;
class TspSkinMainMenuBar;
class TspSkinScrollBar;
class TspSkinMDITabsBar;

// One quick button drawn by the caption to the left of the caption buttons.
class TspQuickButtonItem : public TCollectionItem {
 public:
  explicit TspQuickButtonItem(TCollection* Collection);
  void Assign(TPersistent* Source) override;
  Integer ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }

  TNotifyEvent OnClick;
  TspSkinPopupMenu* PopupMenu = nullptr;
  TMouseEvent OnMouseDown;
  TRect ItemRect;
  bool Active = false;
  bool Down = false;

 private:
  Integer FImageIndex = -1;
  String FHint;
  bool FEnabled = true;
  bool FVisible = true;
};

class TspQuickButtonItems : public TCollection {
 public:
  explicit TspQuickButtonItems(TspFormSkin* ADSF);
  TspQuickButtonItem* Add() { return static_cast<TspQuickButtonItem*>(TCollection::Add()); }
  TspQuickButtonItem* Insert(Integer Index) { return static_cast<TspQuickButtonItem*>(TCollection::Insert(Index)); }
  TspQuickButtonItem* Items(Integer Index) const {
    return static_cast<TspQuickButtonItem*>(TCollection::Items(Index));
  }
  TspFormSkin* DSF;

 protected:
  void Update(TCollectionItem* Item) override;
};

class TspFormSkin : public TComponent, public TspSkinMenuHost {
 public:
  explicit TspFormSkin(TComponent* AOwner);
  ~TspFormSkin() override;

  // --- the menus' host interface
  TCustomForm* MenuHostForm() override { return FForm; }
  TspSkinData* MenuHostSkinData() override { return FSD; }
  TspSkinData* MenuHostMenusSkinData() override { return FMSD; }
  bool SkinMenuVisible() override { return SkinMenu->Visible(); }
  TspSkinMenu* MenuHostSkinMenu() override { return SkinMenu; }
  void SkinMenuOpen() override;
  void SkinMenuClose() override;

  // --- skin
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  TspSkinData* MenusSkinData() const { return FMSD; }
  void SetMenusSkinData(TspSkinData* Value);
  bool SkinnableForm() const { return FSkinnableForm; }
  bool GetSkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  void ApplySkinData();
  bool CanShowLayeredBorder();
  void NudgeFormWidth();
  void RestoreBoundsAfterBorderChange();
  // FOldFormBounds and FOldFullBorder before a skin or border change (a
  // shown full border counts with its bands).
  void SaveBoundsForBorderChange();
  void CreateSkinObjects();
  void CreateMainMenuItems();
  void UpdateMainMenu(bool ARedraw);
  void CreateDefaultButtons();
  void UpdateStdButtons();
  void SetDefaultButtonHints();
  void ClearObjects();
  void LinkAreaControls();
  void Move(Integer AX, Integer AY);
  void SetBounds(Integer AX, Integer AY, Integer AWidth, Integer AHeight);
  bool IsSizeAble();
  void BringStayOnTopFormsToFront();

  // --- window procedure
  void SkinFormWndProc(TMessage& Message);
  void CloseMenusOnMessage(TMessage& Message);
  // A document parent cancels the pressed and tracking states of its
  // skinned controls.
  void CancelMDIControlModes();
  TWndMethod OldWindowProc;

  // --- frame layout and painting
  bool HasSkinFrame();
  bool IsSkinResizable();
  bool IsObjectShown(bool RollUpFlag);
  void CalcSkinRects();
  TRect MapSkinRect(const TRect& R);
  TRect MapAreaRect(const TRect& R, bool UseAnchors, bool AnchorLeft, bool AnchorTop, bool AnchorRight,
                    bool AnchorBottom);
  void LayoutObjects();
  void ApplyFrameSize(bool Full);
  void PaintNCSkin(HDC ADC, bool AUseExternalDC);
  void DrawSkinObject(TspActiveSkinObject* AObject);
  void UpdateCaptionText();
  void CalcDefRects();
  TRect GetDefCaptionRect();
  void PaintNCDefault(HDC ADC, bool AUseExternalDC);
  void PaintBG(HDC DC);
  void PaintBG2(HDC DC);
  void PaintBG3(HDC DC);
  void PaintBGDefault(HDC DC);
  void PaintMDIBGDefault(HDC DC);
  void Paint(HDC DC);
  void BuildSkinImage(TBitmap* B);
  void DrawSizeGrip(TBitmap* B);
  Integer DefCaptionHeight();
  Integer DefButtonSize();

  // --- hit testing, mouse, sizes
  void PointToFrame(TPoint& P);
  Integer DefaultHitTest(TPoint P);
  Integer SkinHitTest(TPoint P);
  Integer ClientHitTest(TPoint P);
  bool IsCaptionPoint(TPoint P);
  bool IsNearFrameEdge(TPoint P);
  bool PointInWindowShape(TPoint P);
  void FrameMouseDown(TMouseButton Button, Integer X, Integer Y);
  void FrameMouseUp(TMouseButton Button, Integer X, Integer Y);
  void FrameMouseMove(Integer X, Integer Y);
  void FrameDblClick();
  Integer GetMinWidth();
  Integer GetMinHeight();
  Integer GetMaxWidth();
  Integer GetMaxHeight();
  void GetMinimizedPosition(TPoint& P);
  void SnapToWorkArea(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight);
  bool IsFullDragEnabled();
  // --- frame objects: tracking, timers, named objects, linked areas
  void UpdateActiveObject(Integer X, Integer Y, bool AActivate);
  void ApplyObjectCursor();
  void MouseTimerTick(TObject* Sender = nullptr);
  void AnimateTimerTick(TObject* Sender = nullptr);
  void MorphTimerTick(TObject* Sender = nullptr);
  void ResetObjectStates();
  bool IsCursorOverForm(const TPoint& P);
  void BeginFormDrag(Integer X, Integer Y);
  void EndFormDrag();
  void LinkControlToArea(const String& AreaName, TControl* Control);
  void UnLinkControlFromArea(TControl* Control);
  TRect GetAreaRect(const String& AIDName);
  void UpdateLinkedControls();
  Integer LinkedControlCount() const { return AreaList->Count(); }
  void ClearAreaLinks();
  void DropAreaLinksOf(TComponent* AComponent);
  Integer GetIndex(const String& AIDName);
  void UserObjectDraw(const String& AIDName);
  void SetEnabled(const String& AIDName, bool Value);
  void CaptionSetText(const String& AIDName, const String& AText);
  Integer TrackBarGetValue(const String& AIDName);
  void TrackBarSetValue(const String& AIDName, Integer AValue);
  void LabelSetText(const String& AIDName, const String& ATextValue);
  void BitLabelSetText(const String& AIDName, const String& AValue);
  void GaugeSetValue(const String& AIDName, Integer AValue);
  void FrameGaugeSetValue(const String& AIDName, Integer AValue);
  void SwitchSetState(const String& AIDName, spobj::TSwitchState AState);
  spobj::TSwitchState SwitchGetState(const String& AIDName);
  void AnimateStart(const String& AIDName);
  void AnimateStop(const String& AIDName);
  Integer FrameRegulatorGetValue(const String& AIDName);
  void FrameRegulatorSetValue(const String& AIDName, Integer AValue);
  // Links menu AMenu to the push button or button-style animation AIDName.
  void LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp);
  TMainMenu* MainMenu() const { return FMainMenu; }
  // Rebuilds the frame's main-menu items when the form has a skin.
  void SetMainMenu(TMainMenu* Value);
  bool ButtonGetDown(const String& AIDName);
  void ButtonSetDown(const String& AIDName, bool ADown);
  void DoMouseEnterEvent(const String& IDName);
  void DoMouseLeaveEvent(const String& IDName);
  void DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& R, TMouseButton Button);
  void DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& R, TMouseButton Button);
  void DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& R);
  void DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& R);
  void DoSwitchChangeStateEvent(const String& IDName, spobj::TSwitchState State);
  void DoTrackBarChangeValueEvent(const String& IDName, Integer Value);
  void DoFrameRegulatorChangeValueEvent(const String& IDName, Integer Value);
  // The one place where object and quick-button hints are shown and hidden
  // (the class library's hint window for now).
  void ActivateObjectHint(const String& AHint);
  void HideObjectHint();
  bool ObjectHintShown() const { return !FObjectHintText.empty(); }
  const String& ObjectHintText() const { return FObjectHintText; }
  // The system menu's "minimise to tray" command.
  void MinimizeToTray();
  void RestoreFromTray();
  // The window origin on the screen (glow layers, menus of frame objects).
  TPoint FrameScreenOrigin(bool WithLayeredBorder);
  // Where the hover poll reads the cursor and the window under it (a test
  // puts a fake cursor here); default: the system's.
  std::function<TPoint()> CursorPosSource;
  std::function<HWND(TPoint)> WindowFromPointSource;
  TPoint CursorPos();
  HWND WindowAt(TPoint P);

  // --- region, roll-up, fade, activity
  void UpdateWindowRegion(bool Full);
  bool IsBorderCollapsed();
  bool RollUpState() const { return FRollUpState; }
  void SetRollUpState(bool Value);
  void ShrinkToRollUpHeight();
  void RestoreRollUpHeight();
  void RollUpToPicture();
  void RollDownFromPicture();
  void SetRollUpRegion();
  void FitClientToPicture();
  bool GetFormActive();
  void UpdateActiveState(bool AUpdate);
  bool NeedsBorderShowStep();
  // The fade's ramp after the first tick of window timer 1.
  void FadeTimerTick();
  // Where each opacity step goes (a test records them); default: the window.
  std::function<void(HWND, Byte)> AlphaSink;

  // --- skin walk and options
  void NotifyBeforeChangeSkin(TspSkinData* ASkinData, TControl* AControl);
  void NotifyChangeSkin(TspSkinData* ASkinData, TControl* AControl);
  void SetFormBorderStyle(TFormBorderStyle BS);
  void SetFormStyle(TFormStyle FS);
  void UpDateFormNC();
  void CheckAppLayeredBorders();
  void ApplyPositionInMonitor();
  TPoint GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH);
  void EnableShadow(bool AShowShadow, bool AHideFormBefore);
  void GetSmallIconSize(Integer& W, Integer& H);
  void DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y);
  bool IconHasAlpha();
  void DrawLogo(TCanvas* Canvas);
  String GetProductVersion() const { return u"12.22"; }
  void ApplyFormBorderIcons();
  void ApplicationRestore(TObject* Sender);
  // The dimmed or blurred still picture over an inactive form's client area.
  void ShowClientInActiveEffect();
  void HideClientInActiveEffect();
  bool ClientInActiveEffect() const { return FClientInActiveEffect; }
  void SetClientInActiveEffect(bool Value) { FClientInActiveEffect = Value; }
  TspClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
  void SetClientInActiveEffectType(TspClientInActiveEffect Value) { FClientInActiveEffectType = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  TspBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TspBorderIcons Value);
  bool ShowIcon() const { return FShowIcon; }
  void SetShowIcon(bool Value);
  bool UseRibbon() const { return FUseRibbon; }
  void SetUseRibbon(bool Value);
  TFont* DefCaptionFont() const { return FDefCaptionFont; }
  void SetDefCaptionFont(TFont* Value);
  TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont; }
  void SetDefInActiveCaptionFont(TFont* Value);
  TBitmap* LogoBitMap() const { return FLogoBitMap; }
  void SetLogoBitMap(TBitmap* Value) { FLogoBitMap->Assign(Value); }
  TspQuickButtonItems* QuickButtons() const { return FQuickButtons; }
  void SetQuickButtons(TspQuickButtonItems* Value) { FQuickButtons->Assign(Value); }

  // --- window states
  TWindowState WindowState() const { return FWindowStateInit; }
  void SetWindowState(TWindowState Value);
  void Loaded() override;
  void ChangeWindowState(TWindowState Value);
  void DoMinimize();
  void DoMaximize();
  void DoRestore();
  void CaptionDblClick();
  Integer RealHeight() { return FRollUpState ? OldHeight : FFormHeight; }
  // The shortcut handler installed on the form.
  void FormShortCut(MSG& Msg, bool& Handled);
  // The keyboard of an open menu: an entry of the application's message
  // hooks while a menu of this form is open.
  void HookAppMessage();
  void UnHookAppMessage();
  // Main-menu mode: with a main menu bar these hand over to the bar.
  bool EnterMainMenu();
  void CloseMainMenu();
  void SkinMainMenuClose();
  bool OpenMainMenuItem();
  bool FindMainMenuItemByAccel(Word Key);
  void NextMainMenuItem();
  void PrevMainMenuItem();
  bool CanMainMenuGoLeft();
  bool CanMainMenuGoRight();
  // The main menu bar (nullptr: none).
  TspSkinMainMenuBar* MainMenuBar() const;
  void SetMainMenuBar(TspSkinMainMenuBar* Value);
  TNotifyEvent OnMainMenuEnter, OnMainMenuExit;
  void MenuAppMessage(MSG& Msg, bool& Handled);
  void MenuKeyDown(TMessage& Message);
  // Menus shown through this form's skinned menu.
  void PopupSkinMenu(TMenu* Menu, const TPoint& P);
  void PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp);
  void DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y);
  // The system menu: the component's own, built for the form's state, or
  // SystemMenu with the standard items merged in.
  TMenuItem* GetSystemMenuItems();
  void BuildSystemMenu();
  void MergeSystemMenu();
  void PopupSystemMenu(Integer X, Integer Y);
  void PopupSystemMenuAt(const TRect& R);
  // Alt+Space: at the first enabled system-menu button of the frame.
  void PopupSystemMenuFromButton();
  TPopupMenu* SystemMenu() const { return FSystemMenu; }
  void SetSystemMenu(TPopupMenu* Value);
  bool DisableSystemMenu() const { return FDisableSystemMenu; }
  void SetDisableSystemMenu(bool Value) { FDisableSystemMenu = Value; }
  bool UseDefaultSysMenu() const { return FUseDefaultSysMenu; }
  void SetUseDefaultSysMenu(bool Value) { FUseDefaultSysMenu = Value; }
  TPopupMenu* SysTrayMenu() const { return FSysTrayMenu; }
  // The skinned menu's settings, read from and written to it.
  bool UseSkinFontInMenu() const { return SkinMenu->UseSkinFont(); }
  void SetUseSkinFontInMenu(bool Value) { SkinMenu->SetUseSkinFont(Value); }
  bool UseSkinSizeInMenu() const { return SkinMenu->UseSkinSize(); }
  void SetUseSkinSizeInMenu(bool Value) { SkinMenu->SetUseSkinSize(Value); }
  Integer DefMenuItemHeight() const { return SkinMenu->DefaultMenuItemHeight(); }
  // 0 or less is ignored.
  void SetDefMenuItemHeight(Integer Value) {
    if (Value > 0) SkinMenu->SetDefaultMenuItemHeight(Value);
  }
  TFont* DefMenuItemFont() const { return SkinMenu->DefaultMenuItemFont(); }
  void SetDefMenuItemFont(TFont* Value) { SkinMenu->SetDefaultMenuItemFont(Value); }
  bool MenusAlphaBlend() const { return SkinMenu->AlphaBlend; }
  void SetMenusAlphaBlend(bool Value) { SkinMenu->AlphaBlend = Value; }
  Byte MenusAlphaBlendValue() const { return SkinMenu->AlphaBlendValue; }
  void SetMenusAlphaBlendValue(Byte Value) { SkinMenu->AlphaBlendValue = Value; }
  bool MenusAlphaBlendAnimation() const { return SkinMenu->AlphaBlendAnimation; }
  void SetMenusAlphaBlendAnimation(bool Value) { SkinMenu->AlphaBlendAnimation = Value; }
  Integer MaxMenuItemsInWindow() const { return SkinMenu->MaxMenuItemsInWindow; }
  // A negative value is ignored.
  void SetMaxMenuItemsInWindow(Integer Value) {
    if (Value >= 0) SkinMenu->MaxMenuItemsInWindow = Value;
  }
  // Restore, a separator and Close, with the built-in texts.
  void BuildTrayMenu();

  // --- plain properties
  bool SupportNCArea() const { return FSupportNCArea; }
  void SetSupportNCArea(bool Value) { FSupportNCArea = Value; }
  TspPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
  void SetPositionInMonitor(TspPositionInMonitor Value) { FPositionInMonitor = Value; }

  // Fields (the names the design gives them).
  TCustomForm* FForm = nullptr;
  TList* ObjectList;
  TList* AreaList;
  TspSkinMenu* SkinMenu = nullptr;
  TspFormLayerBorder* FBorderLayer = nullptr;
  TspLayerManager* FLayerManager = nullptr;
  TspLayerManager* FMenuLayerManager = nullptr;
  TspQuickButtonItems* FQuickButtons = nullptr;
  TCustomImageList* FQuickImageList = nullptr;
  TPopupMenu* FSysMenu = nullptr;
  TspSkinPopupMenu* FSysTrayMenu = nullptr;
  TTimer* MorphTimer = nullptr;
  TTimer* AnimateTimer = nullptr;
  TTimer* MouseTimer = nullptr;
  // The mask's border strips at the window region's size (black = inside);
  // UpdateMaskStrips makes them after a region update.
  TBitmap *RMTop, *RMBottom, *RMLeft, *RMRight;
  void UpdateMaskStrips();
  TColor BlackColor = 0;
  TList* VisibleControls;

  TWindowState FWindowStateInit = wsNormal;
  TWindowState FWindowState = wsNormal;
  TWindowState OldWindowState = wsNormal;
  Integer FOldFullBorder = -1;
  TRect FOldFormBounds;
  bool FUseRibbon = false;
  bool FClientInActiveEffect = false;
  TspClientInActivePanel* FInActivePanel = nullptr;
  bool FClientInActiveDraw = false;
  TspClientInActiveEffect FClientInActiveEffectType = spieSemiTransparent;
  bool FSmartEffectsShow = false;
  bool FDisableSystemMenu = false;
  bool FInAppHook = false;
  bool FSkinnableForm = true;
  bool FIsW7 = false, FIsVistaOS = false, FIsLayerEnabled = false;
  bool FHaveShadow = false;
  bool FRollUpBeforeMaximize = false;
  bool FStopPainting = false;
  bool FStartShow = true;
  TspPositionInMonitor FPositionInMonitor = sppDefault;
  TspSnapState FSnap;
  bool FMinimizeDefault = false;
  TComponent* FStatusBar = nullptr;  // the skinned status bar
  bool FUseFormCursorInNCArea = false;
  Integer FClientWidth = 0, FClientHeight = 0;
  bool FHideCaptionButtons = false;
  bool FLogoBitMapTransparent = false;
  TBitmap* FLogoBitMap;
  TIcon* FIcon = nullptr;
  bool FShowIcon = false;
  bool ButtonsInLeft = false;
  bool FMaximizeOnFullScreen = false;
  TspSkinHint* FSkinHint = nullptr;  // the skinned hint
  bool FShowObjectHint = false;
  bool FUseDefaultObjectHint = true;
  bool FSkinSupport = false;
  TFont* FDefCaptionFont;
  TFont* FDefInActiveCaptionFont;
  bool FFormActive = false;
  TspTrayIcon* FTrayIcon = nullptr;  // the notification-area icon
  bool FAlwaysShowInTray = false;
  bool FUseDefaultSysMenu = true;
  TComponent* FMainMenuBar = nullptr;
  TComponent* FMDITabsBar = nullptr;
  bool FFullDrag = false;
  Integer FFormWidth = 0, FFormHeight = 0, FFormLeft = 0, FFormTop = 0, FOldFormLeft = 0, FOldFormTop = 0;
  bool FSizeMove = false;
  bool FSizing = false;
  bool FSupportNCArea = true;
  bool FRollUpState = false;
  bool MaxRollUpState = false;
  TspBorderIcons FBorderIcons = spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize | spbi::biRollUp;
  bool MouseIn = false;
  TRect OldBoundsRect;
  Integer OldHeight = 0;
  TspFrameRects FR;  // NewLTPoint ... NewMainMenuRect
  TRect NewDefCaptionRect;
  bool FSizeable = true;
  Integer FMinHeight = 0, FMinWidth = 0, FMaxHeight = 0, FMaxWidth = 0;
  TspSkinData* FSD = nullptr;
  TspSkinData* FMSD = nullptr;
  TMainMenu* FMainMenu = nullptr;
  TPopupMenu* FSystemMenu = nullptr;
  bool FDraggAble = false;
  bool FNCDraggAble = true;
  bool FIsDragging = false;
  Integer FOldX = 0, FOldY = 0;
  bool FInChangeSkinData = false;
  Byte FMagneticSize = 10;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  bool OldActive = false;
  bool InMenu = false, InMainMenu = false;
  HRGN FRgn = nullptr;
  bool FMagnetic = false;
  TRect FSizeGripArea;
  Integer ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
  bool FMouseDownControl = false;
  bool PreviewMode = false;
  bool FBorderLayerChangeSize = false;
  bool AlwaysDisableLayeredFrames = false;
  bool IsAlphaIcon = false;
  bool FDestroying = false;

  TspCaptionPaintEvent OnCaptionPaint;
  TChangeClientRectEvent OnChangeClientRect;
  TNotifyEvent OnChangeSkinData, OnActivate, OnDeActivate, OnChangeRollUpState;
  TNotifyEvent OnMinimize, OnRestore, OnMaximize;
  TNotifyEvent OnSkinMenuOpen, OnSkinMenuClose;
  TspActivateCustomObjectEvent OnActivateCustomObject;
  spobj::TMouseEnterEvent OnMouseEnterEvent;
  spobj::TMouseLeaveEvent OnMouseLeaveEvent;
  spobj::TMouseUpEvent OnMouseUpEvent;
  spobj::TMouseDownEvent OnMouseDownEvent;
  spobj::TMouseMoveEvent OnMouseMoveEvent;
  spobj::TPaintEvent OnPaintEvent;
  spobj::TSwitchChangeStateEvent OnSwitchChangeStateEvent;
  spobj::TValueChangeEvent OnTrackBarChangeValueEvent;
  spobj::TValueChangeEvent OnFrameRegulatorChangeValueEvent;
  TNotifyEvent OnMinimizeToTray, OnRestoreFromTray;
  bool FUseSkinCursors = false;
  bool FUseSkinFontInCaption = true;
  bool FAlwaysMinimizeToTray = false;
  bool FQuickButtonsShowHint = false;
  TCustomImageList* QuickImageList() const { return FQuickImageList; }
  void SetQuickImageList(TCustomImageList* Value) { FQuickImageList = Value; }
  bool ShowObjectHint() const { return FShowObjectHint; }
  void SetShowObjectHint(bool Value) { FShowObjectHint = Value; }
  TspSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TspSkinHint* Value);
  TspTrayIcon* TrayIcon() const { return FTrayIcon; }
  void SetTrayIcon(TspTrayIcon* Value);
  bool AlwaysShowInTray() const { return FAlwaysShowInTray; }
  void SetAlwaysShowInTray(bool Value) { FAlwaysShowInTray = Value; }
  TShortCutEvent OnShortCut;

  // --- document parent (MDI): the application's main form when it is a
  // document parent, and its children. The arrangements do nothing unless
  // this component's form is the parent.
  void Tile();
  void Cascade();
  void MinimizeAll();
  void MaximizeAll();
  void CloseAll();
  void RestoreAll();
  void RestoreAllExcept(HWND AFormHandle);
  // The window menu of the parent form: one item per shown child.
  void AddChildToMenu(TCustomForm* Child);
  void DeleteChildFromMenu(TCustomForm* Child);
  void UpDateChildCaptionInMenu(TCustomForm* Child);
  void UpDateChildActiveInMenu();
  void MDIItemClick(TObject* Sender);
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  bool ShowMDIScrollBars() const { return FShowMDIScrollBars; }
  void SetShowMDIScrollBars(bool Value);
  bool MDIChildMaximized() const { return FMDIChildMaximized; }
  // The form's caption; a document parent with a maximised child adds
  // " - [" the child's caption "]".
  String FormCaptionText();
  // The document tabs bar of the parent form (nullptr: none).
  TspSkinMDITabsBar* MDITabsBar() const;
  void SetMDITabsBar(TspSkinMDITabsBar* Value);
  // A child about to get its tab may refuse it.
  std::function<void(bool& Accept)> OnAcceptToMDITabsBar;
  void AddChildToBar(TCustomForm* Child);
  void DeleteChildFromBar(TCustomForm* Child);
  void RefreshMDIBarTab(TCustomForm* Child);
  void UpdateMDITabsBar();
  TspSkinScrollBar* MDIHScrollBar() const { return FMDIHScrollBar; }
  TspSkinScrollBar* MDIVScrollBar() const { return FMDIVScrollBar; }
  // The parent's client area less the controls aligned to its edges, in its
  // client coordinates; R is kept without a main form.
  void GetMDIClientRect(TRect& R);
  void UpdateMDIScrollBars(bool AUpdateRange);
  void LayoutMDIScrollBars();
  void SyncMDIHScroll();
  void SyncMDIVScroll();
  void TileHorizontal();
  void TileVertical();
  TCustomForm* FindMaximizedMDIChild();
  void RefitMDIChildren();
  void ArrangeMinimizedMDIChildren();
  void UpdateMDIMenuBar();
  // The procedure installed on the parent's document client window.
  void MDIClientWndProc(TMessage& Message);
  bool IsMDIParent() const { return FForm && FForm->FormStyle() == fsMDIForm; }
  bool IsMDIChild() const { return FForm && FForm->FormStyle() == fsMDIChild; }

  // Convenience reads of the mapped geometry.
  const TspFrameRects& Frame() const { return FR; }
  TspSkinData* Skin() const { return FSD && !FSD->Empty ? FSD : nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TspFrameSkin FrameSkin() const;
  TspMaskShape MaskShape();
  void TakeFormSize();
  bool IsMaximizedMDIChild() const { return IsMDIChild() && FWindowState == wsMaximized; }
  // The document parts: the protocol between children and parent, the
  // client window's subclassing, the children's own window-procedure steps.
  void CreateMDIScrollBars();
  void HookMDIClient();
  void UnhookMDIClient();
  bool MDIMessage(TMessage& M);
  void MDIChildShown(bool Shown);
  void MDIChildDestroyed();
  void MDIChildMoved();
  // 1232, then Msg (1234 or 1235 with the child's handle) to the main form.
  void TellMDIParent(UINT Msg);
  TspFormSkin* MainFormSkin();
  TspSkinScrollBar* FMDIHScrollBar = nullptr;
  TspSkinScrollBar* FMDIVScrollBar = nullptr;
  HWND ChangeVisibleChildHanle = nullptr;
  bool FStopCheckChildMove = false;
  Integer FOldHSrollBarPosition = 0, FOldVSrollBarPosition = 0;
  bool FShowMDIScrollBars = true;
  bool FMDIChildShown = false;  // shown once as a document child, not yet destroyed
  bool FMDIChildListed = false;  // its window-menu entry and tab are in place
  bool FInMaximizeAll = false;
  bool FInRestoreAll = false;
  TTileMode FTileMode = tbHorizontal;
  bool FMDIChildMaximized = false;
  HWND FClientWnd = nullptr;
  WNDPROC FPrevClientProc = nullptr;
  static LRESULT CALLBACK MDIClientProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
  // The window procedure's stages.
  void FirstStage(TMessage& M, bool& PassOn);
  void SecondStage(TMessage& M);
  void OnShowWindow(TMessage& M, bool& PassOn);
  void OnSize(TMessage& M, bool& PassOn);
  void OnNCActivate(TMessage& M);
  void CallOld(TMessage& M);
  void PaintFrameToDC(HDC DC);
  void FillClient(HDC DC, TColor Color);
  void DrawBackground(HDC DC, TBitmap* S, bool Stretch, TspStretchType Type);
  void StripRegion(HRGN& Rgn, TBitmap* Strip, Integer X, Integer Y);
  // Gives the window the region R (nullptr: none; R then belongs to the
  // window) unless it has that shape already, and has what the new shape
  // shows beyond the old one repainted.
  void ChangeWindowRegion(HWND Wnd, HRGN R);
  // A copy of the region last given to FShapeWnd (nullptr: none): Wine
  // answers GetWindowRgn by rebuilding the region rectangle by rectangle,
  // which for a shape of thousands of rectangles takes far longer than
  // building it.
  HRGN FShape = nullptr;
  HWND FShapeWnd = nullptr;
  // The last UpdateWindowRegion had Wine repaint the whole window.
  bool FRegionRepainted = false;
  // The geometry of the last region built from the mask's strips.
  TspFrameRects FMaskStripsFR;
  TPoint FMaskStripsSize;
  bool FMaskStripsStale = false;

  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  THintWindow* FObjectHintWindow = nullptr;
  String FObjectHintText;
};
