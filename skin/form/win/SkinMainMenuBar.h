// The skinned main menu bar: a TMainMenu's top-level items as a bar control
// (default look, the skin's "mainmenubar" description, a tool-bar look,
// transparent over its parent) whose items drop their sub-items down through
// the form component's skinned menu, with a marker for the items that do
// not fit, the keyboard's menu mode, a child menu merged by group index and
// the buttons of a maximised document child. The bar's objects (items and
// child buttons) are TspMenuBarObject descendants. Rules that need no window
// are in skin/form/MenuBarLayout.h. Winelib only.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Menus.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/data/SkinData.h"

class TspFormSkin;
class TspSkinMainMenuBar;

using TspItemEnterEvent = std::function<void(TMenuItem* MenuItem)>;
using TspItemLeaveEvent = std::function<void(TMenuItem* MenuItem)>;
using TMainMenuItemClick = std::function<void(const String& IDName)>;

class TspMenuBarObject : public TObject {
 public:
  TspMenuBarObject(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData);
  virtual void ReDraw();
  virtual void Draw(TCanvas* Cnvs) { (void)Cnvs; }
  virtual void DblClick() {}
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button) {
    (void)X, (void)Y, (void)Button;
  }
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button) {
    (void)X, (void)Y, (void)Button;
  }
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool CanMorphing();
  void DoMorphing();
  bool EnableMorphing();
  double MorphKf() const { return FMorphKf; }
  void SetMorphKf(double V) { FMorphKf = V < 0 ? 0 : (V > 1 ? 1 : V); }

  TspSkinMainMenuBar* Parent;
  double FMorphKf = 0;
  bool FMouseIn = false;
  TBitmap* Picture = nullptr;
  bool FDown = false;
  String IDName;
  TRect SkinRect, ActiveSkinRect, DownRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ObjectRect;
  bool Active = false;
  bool Enabled = true;
  bool Visible = true;
};

// A button of the maximised document child: system menu, minimise, restore, close.
class TspSkinMainMenuBarButton : public TspMenuBarObject {
 public:
  TspSkinMainMenuBarButton(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DefaultDraw(TCanvas* Cnvs);
  void ExecuteCommand();

  bool FSkinSupport = false;
  TStdCommand Command = cmClose;
};

// One top-level item of the menu.
class TspSkinMainMenuBarItem : public TspMenuBarObject {
 public:
  TspSkinMainMenuBarItem(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData);
  void ReDraw() override;
  void Draw(TCanvas* Cnvs) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DefaultDraw(TCanvas* Cnvs);
  bool EnableAnimation();
  void SetItemDown(bool Value);
  void OpenMenu();

  // Item rectangles from the caption's width (and the image's).
  TRect CalcDefaultItemRect(TCanvas* C);
  TRect CalcSkinItemRect(TCanvas* C);
  TRect GetAnimateFrameRect() const;

  bool FSkinSupport = false;
  bool OldEnabled = true;
  // The item fits on the bar (the base's Visible stays set).
  bool Visible = true;
  TMenuItem* MenuItem = nullptr;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect TextRct;
  TRect DownRect;
  Integer LO = 0, RO = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Integer CurrentFrame = 0;
  bool InActiveAnimation = false;

 private:
  // Left of this item: the right edge of the item before it, or the area's left.
  Integer ItemLeft();
  // The fit rule: false (and nothing drawn) when the item does not fit.
  bool Fit();
  // The width the menu item's image (or bitmap) takes, 0 without one.
  Integer GlyphWidth();
  // Draws the image or bitmap at X, Y and returns the width it took (+ 5).
  Integer DrawGlyph(TCanvas* C, Integer X, Integer Y, bool CenterY, Integer H);
  void SetFont(TFont* F, bool Skin);
  void DrawCaption(TCanvas* C, TRect R, bool Selected);
  std::unique_ptr<TBitmap> CreateItemImage(const TRect& R, bool AActive, TCanvas* Target);
  std::unique_ptr<TBitmap> CreateToolBarItemImage(bool AActive, bool ADown, TCanvas* Target);
  std::unique_ptr<TBitmap> StaticImage(bool Hot, TCanvas* Target);
};

class TspSkinMainMenuBar : public TspSkinControl {
 public:
  explicit TspSkinMainMenuBar(TComponent* AOwner);
  ~TspSkinMainMenuBar() override;

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void GetSkinData() override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void Dispatch(TMessage& Message) override;

  void CreateMenu();
  void UpDateItems();
  void UpDateEnabledItems();
  void Merge(TMainMenu* Menu);
  void UnMerge();
  TMainMenu* GetChildMainMenu();
  TMainMenu* MainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  TspFormSkin* FormSkin() const { return DSF; }
  void SetFormSkin(TspFormSkin* Value);
  TFont* DefItemFont() const { return FDefItemFont; }
  void SetDefItemFont(TFont* Value);
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);

  // Keyboard menu mode (the form component hands these over).
  void EnterMainMenu();
  void CloseMainMenu();
  void SkinMainMenuClose();
  bool OpenMainMenuItem();
  bool FindMainMenuItemByAccel(Word Key);
  void NextMainMenuItem();
  void PrevMainMenuItem();
  // The document child's buttons.
  void MDIChildMaximize();
  void MDIChildRestore();

  // Drawing.
  void PaintBar(TCanvas* Cnvs);
  void CalcItemsRect();
  TRect GetMarkerRect() const;
  void DrawMarker(TCanvas* Cnvs);
  void DrawSkinObject(TspMenuBarObject* AObject);
  void TestActive(Integer X, Integer Y);
  void PopupHiddenItems();
  // The items of ObjectList (after the buttons).
  TspSkinMainMenuBarItem* ItemAt(Integer I) const;

  bool FToolBarMode = false;
  bool FToolBarModeItemTransparent = false;
  bool FUseSkinFont = true;
  bool FUseSkinSize = true;
  TspItemEnterEvent FOnItemMouseEnter;
  TspItemLeaveEvent FOnItemMouseLeave;
  bool FScrollMenu = true;
  TFont* FDefItemFont;
  bool FSkinSupport = false;
  Integer ButtonsCount = 0;
  bool FMDIChildMax = false;
  TMainMenuItemClick FOnMainMenuItemClick;
  bool FPopupToUp = false;
  bool MenuActive = false;
  bool Scroll = false;
  bool MarkerActive = false;
  TspFormSkin* DSF = nullptr;
  TMainMenu* FMainMenu = nullptr;
  TTimer* MorphTimer = nullptr;
  TTimer* MouseTimer = nullptr;
  TTimer* AnimateTimer = nullptr;
  Integer ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
  TNotifyEvent FOnMouseEnter, FOnMouseLeave;
  TRect NewItemsRect;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 22;
  TMainMenu* FMergeMenu = nullptr;
  TRect SkinRect, ItemsRect;
  String MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
  TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
  TBitmap* Picture = nullptr;
  bool StretchEffect = false;
  bool ItemTransparent = false;
  TList* ObjectList;
  bool ChildMenuIn = false;
  // The bar's background without its objects, as the last paint made it:
  // items that show the background under them take it from here (the
  // window may still show an earlier step of a fade).
  std::unique_ptr<TBitmap> FBackground;
  // The cursor for the pointer poll (tests put their own).
  std::function<TPoint()> CursorPosSource;

 protected:
  void Paint() override {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

 private:
  void ClearObjects();
  void AddChildButtons();
  void DeleteChildButtons();
  void CheckChildButtons(Byte Icons);
  void MouseTimerTick();
  void MorphTimerTick();
  void AnimateTimerTick();
  TspDataSkinObject* SkinObject(const String& Name);
};

// The form component of the first maximised document child of the
// application's main form (in the children's order), or nullptr.
TspFormSkin* FindMaximizedMDIChildSkinForm();
// The form component of the main form's active document child, or nullptr.
TspFormSkin* FindActiveMDIChildSkinForm();
