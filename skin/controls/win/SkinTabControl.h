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
#include "skin/controls/win/SkinTabsBase.h"

using TspCloseEvent2 = std::function<void(Integer Index, bool& CanClose)>;

class TspSkinTabControl : public TspSkinTabsBase<TTabControl> {
 public:
  explicit TspSkinTabControl(TComponent* AOwner);

  void ChangeSkinData() override;

  void SetShowCloseButtons(bool Value);

  TspCloseEvent2 OnClose;
  TNotifyEvent OnAfterClose;

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

  Integer GetHiddenTabCount() override;
  Integer GetScrolledTabCount() override;

  void DrawTabs(TCanvas* Cnvs);
  void DrawSkinTab(Integer TI, const TRect& R, bool Active, bool MouseIn, TCanvas* Cnvs);
  TRect GetActiveTabArea();

  void Dispatch(TMessage& Message) override;

  using TspTabSkin::TabRect;

  bool FromWMPaint = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void Change() override;
  void TabsChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  // The entries of the close-button state reach tab I.
  void EnsureEntries(Integer I);
  bool HotButtonRect(TRect& B);
  void RedrawTabs();
  void CreateSkinUpDown() override;
  TRect ArrowsBeside() override { return AdjustedClientRect(); }
  void MouseLeave();

  std::vector<char> TabButtonMouseDown, TabButtonMouseIn;
  std::vector<TRect> TabButtonR;
  // The tab whose close button took the press (-1 none).
  Integer FPressedCloseTab = -1;
};
