// The skinned page control TspSkinPageControl and its pages TspSkinTabSheet:
// the skin's tab description read into the control (an entry of another
// class counts as none), the reserve image list that makes room in every
// tab for a glyph and a close button, the corrections laid over the
// platform tab layout's page and tab rectangles, the whole painting (frame,
// strip, tabs with glyphs, captions and close buttons, in the skin's look or
// the default one), hot tracking, closing pages, the wheel, the skinned
// scroll arrows standing in for the layout's own, hidden and centred tabs.
// The platform tab layout places the tabs and never draws. Winelib only.
#pragma once

#include <functional>

#include "classlib/Controls.h"
// After Controls.h: commctrl.h needs the Windows headers before it.
#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/controls/win/SkinTabsBase.h"
#include "skin/data/SkinTypes.h"
#include "skin/data/SpLayout.h"
#include "skin/data/SkinData.h"

class TspSkinPageControl;
class TspSkinUpDown;

using TspCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A page of a TspSkinPageControl. It has no skin of its own: its
// background comes from its page control's skin state or its wallpaper.
class TspSkinCustomTabSheet : public TTabSheet {
 public:
  explicit TspSkinCustomTabSheet(TComponent* AOwner);
  ~TspSkinCustomTabSheet() override;

  TBitmap* WallPaper() const { return FWallPaper; }
  void SetWallPaper(TBitmap* Value);
  // The sheet's background into DC: wallpaper tiled, else the page
  // control's background picture, client piece or clBtnFace.
  void PaintBG(HDC DC);

  // Where this tab's close button was last drawn, in the tab's own
  // rectangle; hot and pressed states. Kept by the page control.
  TRect ButtonRect;
  bool ButtonMouseIn = false;
  bool ButtonMouseDown = false;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TspSkinPageControl* Owner() const;
  TBitmap* FWallPaper;
};

class TspSkinTabSheet : public TspSkinCustomTabSheet {
 public:
  explicit TspSkinTabSheet(TComponent* AOwner) : TspSkinCustomTabSheet(AOwner) {}
};

class TspSkinPageControl : public TspSkinTabsBase<TPageControl> {
 public:
  explicit TspSkinPageControl(TComponent* AOwner);

  const String& ButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
  void SetButtonTabSkinDataName(const String& Value) { FButtonTabSkinDataName = Value; }
  // Reads the description again and applies the close-button room, the
  // font, the tab height and the scroll arrows.
  void ChangeSkinData() override;

  void SetShowCloseButtons(bool Value);
  void SetMultiLine(bool Value);
  Integer TabsOffset() const { return FTabsOffset; }
  void SetTabsOffset(Integer Value);
  bool TabsInCenter() const { return FTabsInCenter; }
  void SetTabsInCenter(bool Value);
  bool MouseWheelSupport() const { return FMouseWheelSupport; }
  void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }
  bool FreeOnClose() const { return FFreeOnClose; }
  void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }

  TspCloseEvent OnClose;
  TNotifyEvent OnAfterClose;

  bool HasVisibleTabs() const;
  Integer GetTabsOffset() const;

  // Hiding the tabs, or the frame and the tabs.
  void HideTabs();
  void ShowTabs();
  void HideBorderAndTabs();
  void ShowBorderAndTabs();
  bool TabsHidden() const { return FHideTabs; }
  bool BorderHidden() const { return FHideBorder; }

  // Hot tab: page index and number among the visible tabs (-1 none).
  Integer HotPage() const { return FActiveTabIndex == -1 ? -1 : FActiveTab; }
  Integer HotTabIndex() const { return FActiveTabIndex; }
  void TrackHotTab(Integer X, Integer Y);
  Integer GetHiddenTabCount() override;
  Integer GetScrolledTabCount() override;
  // Closes the page of visible tab TabNumber (OnClose may refuse).
  void ClosePage(Integer TabNumber);

  // Painting, also used from outside the paint cycle.
  void DrawTabs(TCanvas* Cnvs);
  void DrawSkinTab(Integer TI, const TRect& R, bool Active, bool MouseIn, TCanvas* Cnvs);
  TRect GetActiveTabArea();
  void PaintDefaultFrame(TCanvas* Cnvs);
  void PaintSkinFrame(TCanvas* Cnvs);
  void PaintBackground(HDC DC);

  void Dispatch(TMessage& Message) override;

  // The skin's tab picture; the layout's tab rectangles are
  // TCustomTabControl::TabRect.
  using TspTabSkin::TabRect;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void TabsChanged() override;
  void PaintWindow(HDC DC) override;
  void Change() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  // The frame rectangle: the page rectangle grown by the skin margins.
  TRect FrameRect();
  bool RowMoved() const { return FTabsInCenter || FTabsOffset > 0; }
  // The visible tab numbered V and its page, or nil.
  TTabSheet* VisiblePage(Integer V) const;
  // The corrected rectangles of the visible tabs, in order.
  std::vector<TRect> VisibleTabRects();
  TspSkinCustomTabSheet* SheetOf(Integer PageIndex) const;
  // The close button of the hot tab in client coordinates (row offset taken
  // off when MouseMessage says the X was lowered by it).
  bool HotButtonRect(TRect& B, bool MouseMessage);
  void RedrawTabs();
  void CreateSkinUpDown() override;
  bool ArrowsAllowed() override { return !FHideTabs; }
  TRect ArrowsBeside() override { return DisplayRect(); }
  void MouseLeave();
  void Wheel(bool Next);

  String FButtonTabSkinDataName = u"resizetoolbutton";
  bool FMouseWheelSupport = false;
  bool FFreeOnClose = false;
  bool FHideTabs = false, FHideBorder = false, FTabsInCenter = false;
  TTabPosition FOLdTabPosition = tpTop;
  bool FOldMultiLine = false;
  Integer FOldTabHeight = -1;
  Integer FTabsOffset = 0;
  // The hot tab's number among the visible tabs, before and after the last
  // move (-1 none); FActiveTab holds its page.
  Integer FActiveTabIndex = -1, FOldActiveTabIndex = -1;
  // The close button pressed: its page (-1 none). A release closes only
  // the page whose button took the press.
  TTabSheet* FPressedClosePage = nullptr;
};
