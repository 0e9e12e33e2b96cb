// The document tabs bar: one tab per document child of the application's
// main form. A click brings the child to the front, a tab can carry a close
// button, a right click drops the child's system menu, tabs are dragged to
// a new order, and list buttons at the edges list all children and those
// that did not fit. Drawn in a default look or from the skin's tab-control
// description. Winelib only.
#pragma once

#include <functional>

#include "classlib/Forms.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinMenus.h"

class TspFormSkin;
class TspSkinMDITabsBar;
class TspSkinMenuSpeedButton;

enum TspSkinMDITabKind : Byte { sptkTab, sptkButton };

// One tab; the bar makes, owns and frees it.
class TspMDITab : public TObject {
 public:
  TspMDITab(TspSkinMDITabsBar* AParentBar, TCustomForm* AChild);

  // Chooses the look and draws the tab at its place on Cnvs.
  void Draw(TCanvas* Cnvs);
  void ResizeDraw(TCanvas* Cnvs);
  void ButtonDraw(TCanvas* Cnvs);
  // R in the tab image's coordinates; sets ButtonRect.
  void DrawCloseButton(TCanvas* Cnvs, TRect R);

  TspSkinMDITabsBar* TabsBar;
  bool Active = false;
  bool MouseIn = false;
  TRect ObjectRect;
  TCustomForm* Child;
  bool Visible = false;
  // Relative to the tab's top-left.
  TRect ButtonRect;
  bool ButtonMouseIn = false;
  bool ButtonMouseDown = false;

 private:
  // Caption in R of B's canvas, shortened to fit, centred on one line.
  void DrawCaption(TBitmap* B, TRect R, bool FireDrawParams);
  void SetTabFont(TCanvas* C, TColor Color);
};

using TspMDITabEvent = std::function<void(TspMDITab* MDITab)>;
using TspMDITabMouseEvent = std::function<void(TMouseButton Button, TShiftState Shift, TspMDITab* MDITab)>;
using TspMDITabGetDrawParamsEvent = std::function<void(TspMDITab* MDITab, TCanvas* Cnvs)>;

class TspSkinMDITabsBar : public TspSkinControl {
 public:
  explicit TspSkinMDITabsBar(TComponent* AOwner);
  ~TspSkinMDITabsBar() override;

  void AddTab(TCustomForm* Child);
  void DeleteTab(TCustomForm* Child);
  void ClearTabs();
  void UpdateActiveTab();
  Integer TabCount() const { return ObjectList->Count(); }
  TspMDITab* Tabs(Integer Index) const { return static_cast<TspMDITab*>(ObjectList->Items(Index)); }
  // The first visible tab whose place holds (X, Y), edges included; -1.
  Integer GetTabIndex(Integer X, Integer Y);
  TspMDITab* GetTab(Integer X, Integer Y);
  Integer GetCloseSize();
  // Places the tabs for the current size (every paint runs it).
  void CalcTabRects();
  Integer GetDropIndex();

  TspSkinMDITabKind TabKind() const { return FTabKind; }
  void SetTabKind(TspSkinMDITabKind Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TspFormSkin* FormSkin() const { return DSF; }
  void SetFormSkin(TspFormSkin* Value);
  TspSkinMenuSpeedButton* ListButton() const { return FListButton; }
  TspSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
  TspSkinPopupMenu* ListMenu() const { return FListMenu; }
  TspSkinPopupMenu* HideListMenu() const { return FHideListMenu; }
  void FillListMenu();
  void FillHideListMenu();
  Integer InVisibleCount() const { return FInVisibleCount; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

  bool DblClickChildMove = false;
  bool ShowCloseButtons = false;
  Integer MinTabWidth = 0;
  bool SupportChildMenus = true;
  Integer DefaultTabWidth = 100;
  bool MoveTabs = true;
  bool UseSkinSize = true;
  bool UseSkinFont = true;
  TspMDITabEvent OnTabMouseEnter, OnTabMouseLeave;
  TspMDITabMouseEvent OnTabMouseUp, OnTabMouseDown;
  TspMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

  // The drag and the pointer.
  bool IsDrag = false;
  Integer DX = 0, TabDX = 0;
  bool FDown = false;
  Integer DragIndex = -1;
  Integer ActiveTabIndex = -1, OldTabIndex = -1;
  Integer FCloseSize = 14;
  Integer FBottomOffset = 0;
  Integer FActiveTabOffset = 0;
  TList* ObjectList;
  // The description's values.
  TBitmap* Picture = nullptr;
  TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect;
  Integer TabLeftOffset = 0, TabRightOffset = 0;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
  bool TabStretchEffect = false;
  TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TPoint LTPoint, RTPoint;
  TRect SkinRect, ClRect;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void TestActive(Integer X, Integer Y);
  void DrawTabs(TBitmap* B);
  void CreateListButton();
  void DeleteListButton();
  void CreateHideListButton();
  void DeleteHideListButton();
  // A list button at the bar's AAlign edge dropping AMenu, filled with all
  // children or only those whose tabs did not fit.
  TspSkinMenuSpeedButton* MakeListButton(TAlign AAlign, TspSkinPopupMenu* AMenu, Integer AArrowType, bool AHiddenOnly);
  void ReleaseListButton(TspSkinMenuSpeedButton*& AButton);
  void FillChildrenMenu(TspSkinPopupMenu* AMenu, bool AHiddenOnly, const char16_t* ASuffix);
  void ChildItemClick(TObject* Sender, const char16_t* Suffix);

  TspSkinMDITabKind FTabKind = sptkTab;
  Integer FDefaultHeight = 21;
  TFont* FDefaultFont;
  TspFormSkin* DSF = nullptr;
  TspSkinMenuSpeedButton* FListButton = nullptr;
  TspSkinMenuSpeedButton* FHideListButton = nullptr;
  TspSkinPopupMenu* FListMenu;
  TspSkinPopupMenu* FHideListMenu;
  Integer FInVisibleCount = 0;
  Integer FDragLimit = 0;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
