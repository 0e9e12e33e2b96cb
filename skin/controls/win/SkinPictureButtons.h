// Picture-menu buttons: a menu speed button that owns its picture grid menu
// and image list and shows the chosen picture (TspSkinGraphicButton), and
// the pen-style picker built on it (TspSkinPenStyleButton) with the five
// line styles of the program's bitmap resources. Winelib only.
#pragma once

#include "skin/controls/win/SkinSpeedButtons.h"

class TspSkinGraphicButton : public TspSkinMenuSpeedButton {
 public:
  explicit TspSkinGraphicButton(TComponent* AOwner);
  ~TspSkinGraphicButton() override;

  // The owned menu's ItemIndex; the setter writes it without a range check
  // and without the menu's events, then repaints.
  Integer ItemIndex() const { return GetItemIndex(); }
  Integer GetItemIndex() const;
  void SetItemIndex(Integer Value);
  TspImagesMenuItem* SelectedItem() const { return FGraphicMenu->GetSelectedItem(); }
  TspImagesMenuItems* GraphicItems() const { return FGraphicMenu->ImagesItems(); }
  bool MenuShowHints() const { return FGraphicMenu->ShowHints(); }
  void SetMenuShowHints(bool Value) { FGraphicMenu->SetShowHints(Value); }
  TspSkinHint* MenuSkinHint() const { return FGraphicMenu->SkinHint(); }
  void SetMenuSkinHint(TspSkinHint* Value) { FGraphicMenu->SetSkinHint(Value); }
  TFont* MenuDefaultFont() const { return FGraphicMenu->DefaultFont(); }
  void SetMenuDefaultFont(TFont* Value) { FGraphicMenu->SetDefaultFont(Value); }
  bool MenuUseSkinFont() const { return FGraphicMenu->UseSkinFont(); }
  void SetMenuUseSkinFont(bool Value) { FGraphicMenu->SetUseSkinFont(Value); }
  bool MenuAlphaBlend() const { return FGraphicMenu->AlphaBlend(); }
  void SetMenuAlphaBlend(bool Value) { FGraphicMenu->SetAlphaBlend(Value); }
  bool MenuAlphaBlendAnimation() const { return FGraphicMenu->AlphaBlendAnimation(); }
  void SetMenuAlphaBlendAnimation(bool Value) { FGraphicMenu->SetAlphaBlendAnimation(Value); }
  Integer MenuAlphaBlendValue() const { return FGraphicMenu->AlphaBlendValue(); }
  void SetMenuAlphaBlendValue(Integer Value) { FGraphicMenu->SetAlphaBlendValue(Value & 0xFF); }

  TspSkinImagesMenu* GraphicMenu() const { return FGraphicMenu; }
  TCustomImageList* GraphicImages() const { return FGraphicImages; }

 protected:
  void Loaded() override;
  // Fill the image list and the menu's items (empty here); called by the
  // constructor of each concrete button.
  virtual void LoadGraphicImages() {}
  virtual void LoadGraphicItems() {}
  // The constructor's last step, once the concrete class is complete.
  void LoadGraphics();

  TspSkinImagesMenu* FGraphicMenu;
  TCustomImageList* FGraphicImages;
};

class TspSkinPenStyleButton : public TspSkinGraphicButton {
 public:
  explicit TspSkinPenStyleButton(TComponent* AOwner);

 protected:
  // "SP_PEN_SOLID", "SP_PEN_DASH", "SP_PEN_DOT", "SP_PEN_DASHDOT",
  // "SP_PEN_DASHDOTDOT" of the program's module, 44 x 15, their white
  // ground transparent.
  void LoadGraphicImages() override;
  // Five items for the five pictures, one column, the first selected.
  void LoadGraphicItems() override;
};
