// The skinned page control TspSkinPageControl, as far as it is built: the
// skin's tab description read into the control (an entry of another class
// counts as none), the reserve image list that makes room in every tab for
// a glyph and a close button, and the corrections laid over the platform
// tab layout's page and tab rectangles. Painting and interaction are not
// built yet: the tab layout still draws itself. Winelib only.
#pragma once

#include "classlib/Controls.h"
// After Controls.h: commctrl.h needs the Windows headers before it.
#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/data/SkinData.h"

class TspSkinPageControl : public TPageControl {
 public:
  explicit TspSkinPageControl(TComponent* AOwner);
  ~TspSkinPageControl() override;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  // Reads the description again and applies the close-button room, the
  // font and the tab height.
  void ChangeSkinData();
  // FIndex and the description fields from the skin.
  void GetSkinData();
  bool Skinned() const { return FIndex != -1; }

  // Glyphs of the tabs (each page's ImageIndex); the tab layout is given the
  // reserve list instead.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool ShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value);
  void SetTabPosition(TTabPosition Value);
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  Integer TabsOffset() const { return FTabsOffset; }
  bool TabsInCenter() const { return FTabsInCenter; }
  TFont* DefaultFont() const { return FDefaultFont; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

  // 14 unskinned or without a close-button picture, else its width.
  Integer GetCloseSize() const;
  Integer CloseSize() const { return FCloseSize; }
  // The reserve list the tab layout is told to use.
  TCustomImageList* ReserveImages() const { return FTempImages; }
  bool HasVisibleTabs() const;
  Integer GetTabsOffset() const;
  TRect GetItemRect(Integer I);
  void SetItemSize(Integer W, Integer H);

  void Dispatch(TMessage& Message) override;

  Integer FIndex = -1;
  // The description's fields (meaningful while skinned).
  TBitmap* Picture = nullptr;
  TRect SkinRect, ClRect, TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
  TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
  Integer BGPictureIndex = -1;
  String UpDown;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

 private:
  // The reserve list's size from its inputs (glyphs, close buttons, side).
  void UpdateReserveImages();

  TspSkinData* FSD = nullptr;
  String FSkinDataName = u"tab";
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FTempImages;
  TFont* FDefaultFont;
  bool FShowCloseButtons = false;
  bool FUseSkinFont = true;
  bool FHideTabs = false, FHideBorder = false, FTabsInCenter = false;
  Integer FTabsOffset = 0;
  Integer FCloseSize = 14;
  Integer FDefaultItemHeight = 20;
};
