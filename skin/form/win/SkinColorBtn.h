// The colour button: a skinned tool button that shows the chosen colour and
// drops down a grid of 40 colours with an automatic item, a more-colours
// item (the colour dialog) and a pick item. Winelib only.
#pragma once

#include "classlib/ImgList.h"
#include "skin/controls/win/SkinMenus.h"
#include "skin/controls/win/SkinSpeedButtons.h"
#include "skin/form/win/SkinColorDialog.h"

class TspSkinColorButton : public TspSkinMenuSpeedButton {
 public:
  explicit TspSkinColorButton(TComponent* AOwner);
  ~TspSkinColorButton() override;

  // Rebuilds the menu's items and swatches.
  void InitColors();
  // The first Count user colours (Count clamped to 0..12).
  void SetCustomColors(const TspCustomColorValues& Value, Integer Count);
  // The menu's hover change, forwarded to OnItemIndexChanged.
  void OnItemChanged(TObject* Sender, Integer Index);

  TColor ColorValue() const { return FColorMarkerValue; }
  // Nothing when the value and the marker state are those of the last
  // popup; otherwise stores, repaints and (not while loading) fires
  // OnChangeColor.
  void SetColorValue(TColor Value);
  TColor AutoColor() const { return FAutoColor; }
  void SetAutoColor(TColor Value) { FAutoColor = Value; }
  bool ShowAutoColor() const { return FShowAutoColor; }
  void SetShowAutoColor(bool Value);
  bool ShowMoreColor() const { return FShowMoreColor; }
  void SetShowMoreColor(bool Value);
  bool ShowPickColor() const { return FShowPickColor; }
  void SetShowPickColor(bool Value);
  TspSkinColorDialog* ColorDialog() const { return FColorDialog; }
  void SetColorDialog(TspSkinColorDialog* Value);
  HWND MainWindowHandle() const { return FMainWindowHandle; }
  void SetMainWindowHandle(HWND Value);
  bool MenuUseSkinFont() const { return FColorMenu->UseSkinFont(); }
  void SetMenuUseSkinFont(bool Value) { FColorMenu->SetUseSkinFont(Value); }
  TFont* MenuDefaultFont() const { return FColorMenu->DefaultFont(); }
  void SetMenuDefaultFont(TFont* Value) { FColorMenu->SetDefaultFont(Value); }
  bool MenuAlphaBlend() const { return FColorMenu->AlphaBlend(); }
  void SetMenuAlphaBlend(bool Value) { FColorMenu->SetAlphaBlend(Value); }
  Integer MenuAlphaBlendValue() const { return FColorMenu->AlphaBlendValue(); }
  // A byte: the low 8 bits are kept.
  void SetMenuAlphaBlendValue(Integer Value) { FColorMenu->SetAlphaBlendValue(Value & 0xFF); }
  bool MenuAlphaBlendAnimation() const { return FColorMenu->AlphaBlendAnimation(); }
  void SetMenuAlphaBlendAnimation(bool Value) { FColorMenu->SetAlphaBlendAnimation(Value); }

  TspSkinImagesMenu* ColorMenu() const { return FColorMenu; }
  TCustomImageList* ColorImages() const { return FColorImages; }
  // Item indexes of the two command items (-1 when not shown).
  Integer MoreColorsIndex() const;
  Integer PickColorIndex() const;

  void Loaded() override;

  TNotifyEvent OnChangeColor;
  TNotifyEvent OnStartPickColor;
  TNotifyEvent OnColorDialogClose;
  TMouseMoveItemIndexChangedEvent OnItemIndexChanged;
  Integer DialogFormLeft = 0;
  Integer DialogFormTop = 0;
  TspCustomColorValues CustomColorValues{};
  Integer CustomColorValuesCount = 0;
  // The marker state when the menu last popped up.
  bool FDrawColorMarker_B = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Loading() const;
  String MenuText(const String& Key, Integer Ident) const;
  void SetCommandCaptions();
  void MenuPopup(TObject* Sender);
  void MenuItemClick(TObject* Sender);
  void RunColorDialog();

  TspSkinImagesMenu* FColorMenu;
  TCustomImageList* FColorImages;
  TColor FAutoColor = 0;
  bool FShowAutoColor = true;
  bool FShowMoreColor = true;
  bool FShowPickColor = true;
  TspSkinColorDialog* FColorDialog = nullptr;
  HWND FMainWindowHandle = nullptr;
};
