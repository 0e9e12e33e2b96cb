// The skinned colour dialog: a form built at every Execute with the basic
// and custom colour grids, a hue ring with a saturation/lightness square,
// R, G, B and H, S, V track edits and a swatch of the new and the old
// colour. Winelib only.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "skin/boxes/SkinBoxCtrls.h"
#include "skin/boxes/spColorCtrls.h"
#include "skin/controls/win/SkinButtons.h"
#include "skin/controls/win/SkinStdCtrls.h"
#include "skin/form/win/FormSkin.h"

enum TClickZonePSP : Byte { czpspPnone, czpspPCircle, czpspPCar };

// The top that asks the dialog to centre its form on the screen.
inline constexpr Integer ColorDialogCentred = -100000;

class TspSkinColorDialog : public TComponent {
 public:
  explicit TspSkinColorDialog(TComponent* AOwner);
  ~TspSkinColorDialog() override;

  // Builds the form, shows it modally and frees it; True when it was closed
  // with OK (then Color and the user colours hold the result).
  bool Execute();
  // The first Count user colours (Count clamped to 0..12).
  void SetCustomColors(const TspCustomColorValues& Value, Integer Count);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  bool GroupBoxTransparentMode() const { return FGroupBoxTransparentMode; }
  void SetGroupBoxTransparentMode(bool Value) { FGroupBoxTransparentMode = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  TspSkinData* CtrlSkinData() const { return FCtrlFSD; }
  void SetCtrlSkinData(TspSkinData* Value);
  const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const String& Value) { FButtonSkinDataName = Value; }
  const String& LabelSkinDataName() const { return FLabelSkinDataName; }
  void SetLabelSkinDataName(const String& Value) { FLabelSkinDataName = Value; }
  const String& EditSkinDataName() const { return FEditSkinDataName; }
  void SetEditSkinDataName(const String& Value) { FEditSkinDataName = Value; }
  TFont* DefaultLabelFont() const { return FDefaultLabelFont; }
  void SetDefaultLabelFont(TFont* Value) { FDefaultLabelFont->Assign(Value); }
  TFont* DefaultButtonFont() const { return FDefaultButtonFont; }
  void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
  TFont* DefaultEditFont() const { return FDefaultEditFont; }
  void SetDefaultEditFont(TFont* Value) { FDefaultEditFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

  HWND MainWindowHandle = nullptr;
  Integer DialogFormLeft = 0;
  Integer DialogFormTop = 0;

  // The built form and its controls: valid only during Execute.
  TForm* Form = nullptr;
  TspFormSkin* FormSkin = nullptr;
  TspSkinColorGrid* ColorGrid = nullptr;
  TspSkinCustomColorGrid* CustomColorGrid = nullptr;
  TspSkinButton* OkButton = nullptr;
  TspSkinButton* CancelButton = nullptr;
  TspSkinButton* AddCustomColorButton = nullptr;
  TspColorViewer* ColorViewer = nullptr;
  TspSkinTrackEdit *REdit = nullptr, *GEdit = nullptr, *BEdit = nullptr;
  TspSkinTrackEdit *HEdit = nullptr, *SEdit = nullptr, *LEdit = nullptr;
  TspSkinStdLabel *RLabel = nullptr, *GLabel = nullptr, *BLabel = nullptr;
  TspSkinStdLabel *HLabel = nullptr, *SLabel = nullptr, *LLabel = nullptr;
  TspEmptyControl* PalettePSPPanel = nullptr;
  TImage* PalettePSP = nullptr;
  Integer PosCircle = 0;
  Integer PosCar = 0;
  TClickZonePSP ClickImg = czpspPnone;
  TPSPColor* PSPColor;
  bool RGBStopCheck = false;
  bool HSLStopCheck = false;
  bool FromPSP = false;

  TspCustomColorValues CustomColorValues;
  Integer CustomColorValuesCount = 0;

  // The palette's drawing steps (Execute draws it whole once; a colour
  // change redraws the square and the markers).
  void DrawPalette();
  void DrawSquare();
  void DrawMarkers();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Every control of the form exists (handlers ignore changes before).
  bool Built() const { return Form && AddCustomColorButton && PalettePSP; }
  void BuildForm();
  void RGBEditChange(TObject* Sender);
  void HSVEditChange(TObject* Sender);
  void GridChange(TObject* Sender);
  void AddColorClick(TObject* Sender);
  void PaletteMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void PaletteMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void PaletteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void ZoneAction(Integer X, Integer Y);
  void RingAction(Integer X, Integer Y);
  void SquareAction(Integer X, Integer Y);
  // The palette follows the bytes: markers off, new colour, square and
  // markers drawn again.
  void PaletteFollows(Byte R, Byte G, Byte B);
  // R, G, B edits := the palette colour, with FromPSP raised.
  void EditsFromPalette();
  // The HSV values of the bytes into the H, S, L edits (HSLStopCheck up);
  // a grey colour keeps the hue shown.
  void ShowHSV(Byte R, Byte G, Byte B);
  String SkinText(TspSkinData* SD, const String& Key, const String& Fallback) const;

  bool FGroupBoxTransparentMode = false;
  TColor FColor = 0;
  String FCaption = u"Set color";
  TspSkinData* FSD = nullptr;
  TspSkinData* FCtrlFSD = nullptr;
  String FButtonSkinDataName = u"button";
  String FEditSkinDataName = u"edit";
  String FLabelSkinDataName = u"stdlabel";
  TFont* FDefaultLabelFont;
  TFont* FDefaultEditFont;
  TFont* FDefaultButtonFont;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  bool FUseSkinFont = true;
  // While the palette sets the R, G, B edits one by one, the H, S, L values
  // each of them would show are worked out here and shown once at the end.
  bool FHoldHSV = false, FHeldHSVChanged = false;
  Integer FHeldH = 0, FHeldS = 0, FHeldV = 0;
};
