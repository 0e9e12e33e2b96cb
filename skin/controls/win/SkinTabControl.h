// The skinned tab control TspSkinTabControl: a row of tabs given as strings
// over a framed client area for the program's own children. It shares the
// page control's look (SkinTabPainter.h), close buttons and skinned arrows;
// it fills its client area from the skin and paints that background for
// its children (PaintBG, also reached through PaintParentBackground).
// Winelib only.
#pragma once

#include <vector>

#include "classlib/Controls.h"
// After Controls.h: commctrl.h needs the Windows headers before it.
#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/controls/win/SkinTabPainter.h"
#include "skin/controls/win/SkinUpDown.h"

using TspCloseEvent2 = std::function<void(Integer Index, bool& CanClose)>;

class TspSkinTabControl : public TTabControl, public TspTabSkin {
 public:
  explicit TspSkinTabControl(TComponent* AOwner);
  ~TspSkinTabControl() override;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  virtual void ChangeSkinData();
  void GetSkinData() { ReadTabSkin(FSD, FSkinDataName); }

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool ShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value);
  void SetTabPosition(TTabPosition Value);
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool TabExtededDraw() const { return FTabExtendedDraw; }
  void SetTabExtededDraw(bool Value);
  Integer TabMargin() const { return FTabMargin; }
  void SetTabMargin(Integer Value);
  Integer TabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(Integer Value);
  TspButtonLayout TabLayout() const { return FTabLayout; }
  void SetTabLayout(TspButtonLayout Value);
  bool TextInHorizontal() const { return FTextInHorizontal; }
  void SetTextInHorizontal(bool Value);
  bool TabsBGTransparent() const { return FTabsBGTransparent; }
  void SetTabsBGTransparent(bool Value);

  TspCloseEvent2 OnClose;
  TNotifyEvent OnAfterClose;
  TspDrawSkinTabEvent OnDrawSkinTab;

  Integer GetCloseSize() const;
  Integer CloseSize() const { return FCloseSize; }
  TCustomImageList* ReserveImages() const { return FTempImages; }
  TRect GetItemRect(Integer I);
  void SetItemSize(Integer W, Integer H);
  void UpDateTabs();
  // The client area as the frame and the tabs take it: the corrected page
  // rectangle, its Top 2 lower for every side.
  TRect AdjustedClientRect();

  // The control's background into any device context: the skin's client
  // piece (or background picture) over the whole control, or clBtnFace.
  void PaintBG(HDC DC);

  Integer HotTab() const { return FActiveTab; }
  void TrackHotTab(Integer X, Integer Y);
  // Close-button state of tab I (false outside the entries).
  bool TabButtonHot(Integer I) const;
  bool TabButtonDown(Integer I) const;
  TRect TabButtonRect(Integer I) const;
  Integer ButtonEntries() const { return Integer(TabButtonMouseIn.size()); }
  // Closes tab I (OnClose may refuse).
  void CloseTab(Integer I);

  TspSkinUpDown* SkinUpDown() const { return FSkinUpDown; }
  Integer GetHiddenTabCount();
  Integer GetScrolledTabCount();
  void UpdateSkinUpDown();
  void SyncSkinUpDown();

  void DrawTabs(TCanvas* Cnvs);
  void DrawSkinTab(Integer TI, const TRect& R, bool Active, bool MouseIn, TCanvas* Cnvs);
  TRect GetActiveTabArea();

  void Dispatch(TMessage& Message) override;

  using TspTabSkin::TabRect;

  bool FromWMPaint = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void Change() override;
  void TabsChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void UpdateReserveImages();
  // The entries of the close-button state reach tab I.
  void EnsureEntries(Integer I);
  bool HotButtonRect(TRect& B);
  void RedrawTabs();
  void CreateSkinUpDown();
  void FreeSkinUpDown();
  void SkinUpDownChange(TObject* Sender);
  void MouseLeave();
  TspArrowPlaceIn ArrowPlace(TControl* U);

  std::vector<char> TabButtonMouseDown, TabButtonMouseIn;
  std::vector<TRect> TabButtonR;
  TspSkinData* FSD = nullptr;
  String FSkinDataName = u"tab";
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FTempImages;
  TFont* FDefaultFont;
  TspSkinUpDown* FSkinUpDown = nullptr;
  bool FShowCloseButtons = false;
  bool FUseSkinFont = true;
  bool FTabExtendedDraw = false;
  Integer FTabMargin = -1;
  Integer FTabSpacing = 1;
  TspButtonLayout FTabLayout = blGlyphLeft;
  bool FTextInHorizontal = false;
  bool FTabsBGTransparent = false;
  Integer FCloseSize = 14;
  Integer FDefaultItemHeight = 20;
  Integer FItemHeight = -1;
  Integer FActiveTab = -1, FOldActiveTab = -1;
  // The tab whose close button took the press (-1 none).
  Integer FPressedCloseTab = -1;
};
