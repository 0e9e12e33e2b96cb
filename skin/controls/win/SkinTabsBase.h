// What the skinned page control and the skinned tab control keep alike over
// their different class-library bases: the skin, fonts and reserve image
// list, the tab settings and their setters, the tab size given to the
// platform layout, the skinned scroll arrows' life, the look lent to every
// tab and the selected tab's deeper area. TBase is the class library's
// TPageControl or TTabControl. Winelib only.
#pragma once

#include <algorithm>

#include "classlib/Controls.h"
// After Controls.h: commctrl.h needs the Windows headers before it.
#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/controls/win/SkinTabPainter.h"
#include "skin/controls/win/SkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/data/SpLayout.h"

template <class TBase>
class TspSkinTabsBase : public TBase, public TspTabSkin {
 public:
  explicit TspSkinTabsBase(TComponent* AOwner)
      : TBase(AOwner), FTempImages(new TCustomImageList(this, 1, 1)), FDefaultFont(new TFont()) {
    this->FHideNativeArrows = true;
    for (TFont* F : {this->Font(), FDefaultFont}) {
      F->SetName(u"Arial");
      F->SetStyle(0);
      F->SetColor(clBtnText);
      F->SetHeight(14);
    }
    TBase::SetImages(FTempImages);
  }
  ~TspSkinTabsBase() override { delete FDefaultFont; }

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value) {
    FSD = Value;
    if (Value) Value->FreeNotification(this);
    if (Value && !Value->Empty && !this->ComponentState().Contains(csDesigning)) ChangeSkinData();
  }
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  // Reads the description again and applies it.
  virtual void ChangeSkinData() = 0;
  // FIndex and the description fields from the skin.
  void GetSkinData() { ReadTabSkin(FSD, FSkinDataName); }

  // Glyphs of the tabs; the tab layout is given the reserve list instead.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    UpdateReserveImages();
    this->Invalidate();
  }
  bool ShowCloseButtons() const { return FShowCloseButtons; }
  void SetTabPosition(TTabPosition Value) {
    TBase::SetTabPosition(Value);
    UpdateReserveImages();
  }
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value) {
    FDefaultItemHeight = Value;
    if (Skinned()) return;
    SetItemSize(this->TabWidth(), Value);
    SyncSkinUpDown();
    this->Realign();
  }
  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool TabExtededDraw() const { return FTabExtendedDraw; }
  void SetTabExtededDraw(bool Value) {
    FTabExtendedDraw = Value;
    this->Invalidate();
  }
  Integer TabMargin() const { return FTabMargin; }
  void SetTabMargin(Integer Value) {
    if (Value < -1 || Value == FTabMargin) return;
    FTabMargin = Value;
    this->Repaint();
  }
  Integer TabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(Integer Value) {
    if (Value == FTabSpacing) return;
    FTabSpacing = Value;
    this->Repaint();
  }
  TspButtonLayout TabLayout() const { return FTabLayout; }
  void SetTabLayout(TspButtonLayout Value) {
    if (Value == FTabLayout) return;
    FTabLayout = Value;
    this->Repaint();
  }
  bool TextInHorizontal() const { return FTextInHorizontal; }
  void SetTextInHorizontal(bool Value) {
    FTextInHorizontal = Value;
    this->Invalidate();
  }
  bool TabsBGTransparent() const { return FTabsBGTransparent; }
  void SetTabsBGTransparent(bool Value) {
    if (Value == FTabsBGTransparent) return;
    FTabsBGTransparent = Value;
    this->Invalidate();
  }

  TspDrawSkinTabEvent OnDrawSkinTab;

  // 14 unskinned or without a close-button picture, else its width.
  Integer GetCloseSize() const {
    if (!Skinned() || RectIsEmpty(CloseButtonRect)) return 14;
    return CloseButtonRect.Width();
  }
  Integer CloseSize() const { return FCloseSize; }
  // The reserve list the tab layout is told to use.
  TCustomImageList* ReserveImages() const { return FTempImages; }
  // Tab I as the platform layout places it (with the controls' corrections).
  TRect GetItemRect(Integer I) {
    RECT R{};
    if (this->HandleAllocated()) SendMessageW(this->Handle(), TCM_GETITEMRECT, WPARAM(I), reinterpret_cast<LPARAM>(&R));
    return TRect(R.left, R.top, R.right, R.bottom);
  }
  // The tab size the layout uses, kept for a new window.
  void SetItemSize(Integer W, Integer H) {
    FItemHeight = H;
    if (this->HandleAllocated()) SendMessageW(this->Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(W, H));
  }
  void UpDateTabs() {
    Integer H = this->TabHeight();
    if (H <= 0) H = Skinned() ? TabRect.Height() : FDefaultItemHeight;
    SetItemSize(this->TabWidth(), H);
    if (this->MultiLine()) FreeSkinUpDown();
    this->Realign();
  }

  // The skinned scroll arrows while a single row does not fit, else nil.
  TspSkinUpDown* SkinUpDown() const { return FSkinUpDown; }
  virtual Integer GetHiddenTabCount() = 0;
  virtual Integer GetScrolledTabCount() = 0;
  void SyncSkinUpDown() {
    if (FSkinUpDown) FSkinUpDown->SetPosition(GetScrolledTabCount());
    this->Invalidate();
  }
  // The arrows made, freed or placed for the tabs that do not fit now.
  void UpdateSkinUpDown() {
    if (!this->HandleAllocated() || !ArrowsAllowed()) return;
    const Integer N = GetHiddenTabCount();
    if (N == 0 || this->MultiLine()) {
      FreeSkinUpDown();
    } else if (!FSkinUpDown) {
      CreateSkinUpDown();
    }
    if (!FSkinUpDown) return;
    FSkinUpDown->SetMax(N);
    const TPoint P = TabArrowsPlace(ArrowPlace(FSkinUpDown, ArrowsBeside()));
    FSkinUpDown->SetBounds(P.X, P.Y, FSkinUpDown->Width(), FSkinUpDown->Height());
  }

  using TspTabSkin::TabRect;

 protected:
  void Loaded() override {
    TBase::Loaded();
    if (Skinned()) return;
    SetItemSize(this->TabWidth(), this->TabHeight() > 0 ? this->TabHeight() : FDefaultItemHeight);
    SyncSkinUpDown();
    this->Realign();
  }

  // A removed component the control refers to is forgotten.
  void ForgetRemoved(TComponent* AComponent) {
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FSkinUpDown) FSkinUpDown = nullptr;
    if (AComponent == FImages) {
      FImages = nullptr;
      UpdateReserveImages();
    }
  }

  // The reserve list's size from its inputs (glyphs, close buttons, side).
  void UpdateReserveImages() {
    const Integer GW = FImages ? FImages->Width() : 0, GH = FImages ? FImages->Height() : 0;
    const TPoint S =
        ReserveImageSize(this->TabPosition(), GW, GH, FImages != nullptr, FShowCloseButtons, FCloseSize);
    if (FTempImages->Width() == S.X && FTempImages->Height() == S.Y) return;
    FTempImages->SetSize(S.X, S.Y);
    // The tab layout measures the list when it is given one.
    TBase::SetImages(FTempImages);
  }

  // The selected tab's rectangle R grown towards the page by the depth the
  // selected look adds.
  TRect GrowActiveTab(TRect R) const {
    const Integer d = Skinned() ? ActiveTabRect.Height() - TabRect.Height() : 0;
    switch (this->TabPosition()) {
      case tpTop:
        R.Bottom += d;
        break;
      case tpBottom:
        R.Top -= d;
        break;
      case tpLeft:
        R.Right += d;
        break;
      case tpRight:
        R.Left -= d;
        break;
    }
    return R;
  }

  // What the control lends to every tab it draws.
  TspTabLook TabLook(bool ButtonStyle, Integer CaptionNudge) {
    TspTabLook L;
    L.SD = FSD;
    L.Font = this->Font();
    L.Focused = this->Focused();
    L.Position = this->TabPosition();
    L.ButtonStyle = ButtonStyle;
    L.MultiLine = this->MultiLine();
    L.TabHeight = this->TabHeight();
    L.UseSkinFont = FUseSkinFont;
    L.ShowCloseButtons = FShowCloseButtons;
    L.CloseSize = FCloseSize;
    L.TextInHorizontal = FTextInHorizontal;
    L.ExtendedDraw = FTabExtendedDraw;
    L.Margin = FTabMargin;
    L.Spacing = FTabSpacing;
    L.Layout = FTabLayout;
    L.CaptionNudge = CaptionNudge;
    L.Images = FImages;
    L.OnDrawSkinTab = &OnDrawSkinTab;
    return L;
  }

  // The arrows' placing inputs: arrows U beside the page rectangle Display.
  TspArrowPlaceIn ArrowPlace(TControl* U, const TRect& Display) {
    TspArrowPlaceIn In;
    In.Position = this->TabPosition();
    In.Skinned = Skinned();
    In.Width = this->Width();
    In.Height = this->Height();
    In.ArrowWidth = U->Width();
    In.ArrowHeight = U->Height();
    In.DisplayRect = Display;
    In.SkinRect = SkinRect;
    In.ClRect = ClRect;
    return In;
  }

  // Whether the control shows arrows at all (its tabs may be hidden).
  virtual bool ArrowsAllowed() { return true; }
  // The page rectangle the arrows are placed beside.
  virtual TRect ArrowsBeside() = 0;
  virtual void CreateSkinUpDown() = 0;
  void FreeSkinUpDown() {
    TspSkinUpDown* U = FSkinUpDown;
    FSkinUpDown = nullptr;
    delete U;
  }
  // The arrows moved: the layout scrolls its row to their position.
  void SkinUpDownChange(TObject*) {
    if (!FSkinUpDown) return;
    FSkinUpDown->SetMax(GetHiddenTabCount());
    SendMessageW(this->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FSkinUpDown->Position()), 0);
  }

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
  // The tab height last given to the layout (-1: none), given again to a
  // new window.
  Integer FItemHeight = -1;
  // The hot tab before and after the last move (-1 none).
  Integer FActiveTab = -1, FOldActiveTab = -1;
};
