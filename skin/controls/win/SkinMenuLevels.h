// The skinned menu of a form: the level stack TspSkinMenu, one level
// window TspSkinPopupWindow per open (sub)menu, and the drawing and state
// object TspSkinMenuItem of one item inside a level. A level never takes
// the focus or the activation: it is a tool popup shown without activation
// and answering WM_MOUSEACTIVATE with MA_NOACTIVATE; the form feeds it the
// keys through its message hook. Closed levels are hidden at once and freed
// later by the application (a level may be closing from inside one of its
// own handlers). Winelib only.
#pragma once

#include <memory>

#include "classlib/ExtCtrls.h"
#include "classlib/Menus.h"
#include "skin/data/SkinData.h"

class TspSkinMenu;
class TspSkinPopupWindow;
class TspEffectBmp;

// True for the messages on which an open skinned menu closes: moves, size
// changes, (de)activation, focus loss, cancel mode, presses on the frame or
// the client area, and a child's press (WM_PARENTNOTIFY).
bool IsMenuCloseMessage(UINT Msg);

class TspSkinMenuItem : public TObject {
 public:
  TspSkinMenuItem(TspSkinPopupWindow* AParent, TMenuItem* AMenuItem, TspDataSkinMenuItem* AData);
  ~TspSkinMenuItem() override;

  // A caption exactly "-".
  bool IsSeparator() const;
  // A disabled item whose caption starts and ends with "-" (not a separator).
  bool IsHeader() const;

  void Draw(TCanvas* Cnvs);
  void ResizeDraw(TCanvas* Cnvs);
  void DefaultDraw(TCanvas* Cnvs);
  bool EnableAnimation() const;
  bool EnableMorphing() const;
  // Not a pure query: an item scrolled out of view loses its highlight.
  virtual bool CanMorphing();
  void DoMorphing();
  void ReDraw();
  void MouseDown();
  void MouseEnter(bool Kb);
  void MouseLeave();

  double MorphKf() const { return FMorphKf; }
  void SetMorphKf(double Value);
  // The frame of the skin animation at CurrentFrame; empty without frames.
  TRect AnimationFrameRect() const;

  // The default marks (pen colour Color).
  static void DrawCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
  static void DrawRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
  static void DrawSubMenuArrow(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
  void DrawSkinCheck(TCanvas* Canvas, TRect R, bool AActive);
  void DrawSkinRadio(TCanvas* Canvas, TRect R, bool AActive);
  void DrawSkinArrow(TCanvas* Canvas, TRect R, bool AActive);
  void DrawHeader(TCanvas* Canvas, TRect R, const String& Caption, bool AResized);

  TspSkinPopupWindow* Parent;
  TspDataSkinMenuItem* MI;
  TBitmap* ActivePicture = nullptr;
  double FMorphKf = 0;
  TMenuItem* MenuItem;
  TRect ObjectRect;
  bool Active = false;
  bool Down = false;
  bool FVisible = true;
  bool WaitCommand = false;
  Integer CurrentFrame = 0;

 private:
  void CreateItemImage(TBitmap* B, bool AActive, bool AFrame, bool AResized);
  void DrawSkinPart(TCanvas* Canvas, TRect R, const TRect& Src);
  bool HasImage() const;
  void PutOnParent(TCanvas* Cnvs, TBitmap* B);
  // The cross-fade step of the skinned look drawn on Cnvs: both looks are
  // made (in B) once per fade and kept until it ends. False when the looks
  // differ in size: B then holds the normal look.
  bool CrossFade(TCanvas* Cnvs, TBitmap* B, bool AResized);
  void DrawFromSkin(TCanvas* Cnvs, bool Resized);

  std::unique_ptr<TspEffectBmp> FFadeFrom, FFadeTo;
};

// One open level of a skinned menu.
class TspSkinPopupWindow : public TCustomControl {
 public:
  TspSkinPopupWindow(TComponent* AOwner, TspSkinMenu* AParentMenu, TspDataSkinPopupWindow* AData,
                     bool SupportDirectlyMouseUp);
  ~TspSkinPopupWindow() override;

  void Show(const TRect& R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp);
  void Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool PopupByItem,
             bool PopupUp);
  // Hides the window without activating anything and stops the polls.
  void HideLevel();
  void PaintMenu(HDC DC);
  void PopupKeyDown(Integer CharCode);
  void CollapseLevel();

  // One pointer poll (the 50-ms timer) and one morph tick (the 20-ms timer).
  void MouseTimerTick();
  void MorphTimerTick();
  void HoverAt(Integer X, Integer Y);
  bool PointOnItem(Integer X, Integer Y) const;
  void SelectNextItem();
  void SelectPrevItem();
  bool SelectByAccelerator(Integer CharCode);
  bool CanScroll(Integer ACode) const;
  void ScrollUp(bool AWrap);
  void ScrollDown(bool AWrap);
  void StartScroll();
  void StopScroll();
  // The first index shown after an upward wrap.
  Integer WrapStartIndex() const;
  Integer ItemCount() const { return ItemList->Count(); }
  TspSkinMenuItem* Items(Integer I) const { return static_cast<TspSkinMenuItem*>(ItemList->Items(I)); }
  bool Skinned() const { return PW != nullptr; }
  void DrawItemBackground(TCanvas* Cnvs, const TRect& R);

  // The top-left of a level of W by H against the screen rect R in the work
  // area WA (IT: the items area's top margin). Beside reports a level put
  // beside R.
  static TPoint PlaceLevel(const TRect& WA, const TRect& R, Integer W, Integer H, Integer IT, bool AScroll,
                           bool AScroll2, bool PopupByItem, bool PopupUp);

  TspDataSkinMenuItem* DSMI = nullptr;
  Integer VisibleCount = 0;
  Integer VisibleStartIndex = 0;
  bool Scroll = false;
  bool Scroll2 = false;
  Integer ScrollCode = 0;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewItemsRect;
  HRGN FRgn = nullptr;
  Integer ShowX = 0, ShowY = 0;
  Integer OMX = -1, OMY = -1;
  bool FSupportDirectlyMouseUp = false;
  TCustomImageList* ImgL = nullptr;
  Integer GlyphWidth = 16;
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  Integer OldActiveItem = -1;
  TTimer* MouseTimer;
  TTimer* MorphTimer;
  TspSkinMenu* ParentMenu;
  TspSkinData* SD = nullptr;
  TspDataSkinPopupWindow* PW = nullptr;
  bool AlphaBlend = false;
  Byte AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;
  TList* ItemList;
  Integer ActiveItem = -1;
  TBitmap* FPaintBuffer = nullptr;
  // Where the items compose their looks before they go on the level.
  TBitmap* FItemBuffer = nullptr;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void SetupFont(bool ForTwo);
  void CreateItems(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex);
  Integer ItemHeight() const;
  Integer EntryHeight(TspSkinMenuItem* It) const;
  void CalcSize();
  void CalcItemRects();
  void CreateWindowImage(TBitmap* B, bool ADrawCentre);
  void DrawScrollMarker(TCanvas* Cnvs, bool AUp, bool AActive);
  void RedrawMarkers();
  void Repaint();
  void ShowAt(const TRect& R, bool PopupByItem, bool PopupUp);
  TspDataSkinObject* MenuItemObject() const;
};

// The level stack of a form's skinned menu.
class TspSkinMenu : public TComponent {
 public:
  TspSkinMenu(TComponent* AOwner, TCustomForm* AForm);
  ~TspSkinMenu() override;

  // Opens the sub-items of AItem from StartIndex against the screen rect R.
  void Popup(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R, TMenuItem* AItem,
             bool PopupUp, bool SupportDirectlyMouseUp);
  // The same with the sub-items of AItem followed by those of AItem2.
  void Popup2(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R, TMenuItem* AItem,
              TMenuItem* AItem2, bool PopupUp, bool SupportDirectlyMouseUp);
  // Closes the whole menu and tells the form (1228).
  void Hide();
  void CloseLevels(Integer AFrom);
  Integer LevelIndex(TspSkinPopupWindow* APopupWindow) const;
  void ItemAction(TspSkinPopupWindow* APopupWindow, TspSkinMenuItem* AItem, bool Kb, bool Execute);
  // The wait timer's tick.
  void WaitTimerTick();

  bool Visible() const { return FVisible; }
  bool First() const { return FFirst; }
  Integer LevelCount() const { return FPopupList->Count(); }
  TspSkinPopupWindow* Level(Integer I) const { return static_cast<TspSkinPopupWindow*>(FPopupList->Items(I)); }
  TspSkinPopupWindow* DeepestLevel() const { return LevelCount() ? Level(LevelCount() - 1) : nullptr; }
  TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont; }
  void SetDefaultMenuItemFont(TFont* Value) { FDefaultMenuItemFont->Assign(Value); }
  Integer DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
  void SetDefaultMenuItemHeight(Integer Value) { FDefaultMenuItemHeight = Value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  TNotifyEvent OnMenuClose;

  TControl* PopupCtrl = nullptr;
  TControl* DCtrl = nullptr;
  TTimer* WaitTimer;
  TspSkinMenuItem* WItem = nullptr;
  TRect WorkArea;
  TspSkinData* SkinData = nullptr;
  bool FFirst = false;
  bool FSupportDirectlyMouseUp = false;
  TList* FPopupList;
  bool AlphaBlend = false;
  Byte AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;
  Integer MaxMenuItemsInWindow = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void OpenLevel(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool ByItem, bool PopupUp);
  void Start(TControl* APopupCtrl, TspSkinData* ASkinData, bool SupportDirectlyMouseUp);

  TCustomForm* FForm;
  bool FUseSkinFont = true;
  bool FUseSkinSize = true;
  Integer FDefaultMenuItemHeight = 20;
  TFont* FDefaultMenuItemFont;
  bool FVisible = false;
  std::shared_ptr<bool> FAlive;
};

// Sends Msg (1228, 1229) to a control: to its window when it is a windowed
// control with a window, else through Perform.
void SendMenuMessage(TControl* C, UINT Msg);
