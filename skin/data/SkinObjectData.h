// Descriptions of the objects on a skinned form's frame ([SKINOBJECTS]):
// the base with its load/save protocol, the buttons, the text and menu
// objects and the value objects. Each reads the section named by its IDName.
// Portable header: no Windows header.
#pragma once

#include "skin/data/SkinDescBase.h"

class TspDataSkinObject : public TObject {
 public:
  explicit TspDataSkinObject(const String& AIDName);
  // Reads the section IDName (missing keys take their defaults).
  virtual void LoadFromFile(TCustomIniFile* IniFile);
  // Erases the section IDName and writes it.
  virtual void SaveToFile(TCustomIniFile* IniFile);
  static const TSkinKeyTable<TObject>& Keys();

  String IDName;
  String Hint;
  bool SkinRectInAPicture = false;
  TRect SkinRect;
  TRect ActiveSkinRect;
  TRect InActiveSkinRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  Integer ActivePictureIndex = -1;
  Integer ActiveMaskPictureIndex = -1;
  Integer CursorIndex = -1;
  bool RollUp = false;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0;
  Integer GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

// ---------------------------------------------------------------------------
// Buttons

class TspDataSkinButton : public TspKeyedDescription<TspDataSkinButton, TspDataSkinObject> {
 public:
  explicit TspDataSkinButton(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  Integer GroupIndex = -1;
  TRect DownRect;
  TRect DisableSkinRect;
  Integer AlphaMaskPictureIndex = -1;
  Integer AlphaMaskActivePictureIndex = -1;
  Integer AlphaMaskInActivePictureIndex = -1;
};

// Caption buttons.
class TspDataSkinStdButton : public TspKeyedDescription<TspDataSkinStdButton, TspDataSkinButton> {
 public:
  explicit TspDataSkinStdButton(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();

  TStdCommand Command = cmClose;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreDownRect;
  TRect RestoreInActiveRect;
  String RestoreHint;
};

class TspDataSkinMainMenuBarButton : public TspDataSkinStdButton {
 public:
  using TspDataSkinStdButton::TspDataSkinStdButton;
};

class TspDataSkinAnimate : public TspKeyedDescription<TspDataSkinAnimate, TspDataSkinObject> {
 public:
  explicit TspDataSkinAnimate(const String& AIDName);
  // Morphing is off whatever the section says.
  void LoadFromFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();

  Integer CountFrames = 0;
  bool Cycle = false;
  bool ButtonStyle = false;
  Integer TimerInterval = 0;
  TStdCommand Command = cmClose;
  TRect DownSkinRect;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreDownRect;
  TRect RestoreInActiveRect;
  String RestoreHint;
};

class TspDataSkinSwitch : public TspDataSkinObject {
 public:
  using TspDataSkinObject::TspDataSkinObject;
};

// Reads and writes only "rollup", "skinrect" and "cursorindex".
class TspDataUserObject : public TspDataSkinObject {
 public:
  using TspDataSkinObject::TspDataSkinObject;
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();
};

// A restore hint the section leaves empty becomes "Restore" for the exact
// hints "Maximize", "Minimize", "RollUp"/"Roll Up" with their commands.
String SkinRestoreHint(const String& RestoreHint, const String& Hint, TStdCommand Command);

// ---------------------------------------------------------------------------
// Text and menu objects

class TspDataSkinLabel : public TspKeyedDescription<TspDataSkinLabel, TspDataSkinObject> {
 public:
  explicit TspDataSkinLabel(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TAlignment Alignment = taLeftJustify;
  String TextValue;
};

// Text drawn from a strip of symbol images; every load appends to Symbols.
class TspDataSkinBitLabel : public TspKeyedDescription<TspDataSkinBitLabel, TspDataSkinObject> {
 public:
  explicit TspDataSkinBitLabel(const String& AIDName);
  ~TspDataSkinBitLabel() override;
  // Morphing is off whatever the section says.
  void LoadFromFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();

  TStrings* Symbols;
  String TextValue;
  Integer SymbolWidth = 0;
  Integer SymbolHeight = 0;
  bool Transparent = false;
  TColor TransparentColor = 0;
};

class TspDataSkinCaption : public TspKeyedDescription<TspDataSkinCaption, TspDataSkinObject> {
 public:
  explicit TspDataSkinCaption(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor ShadowColor = 0;
  TColor ActiveShadowColor = 0;
  bool Shadow = false;
  TAlignment Alignment = taLeftJustify;
  TRect TextRct;
  bool DefaultCaption = false;
  TRect FrameRect;
  TRect ActiveFrameRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect FrameTextRect;
  bool Light = false;
  TColor LightColor = 0;
  TColor ActiveLightColor = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
  bool FullFrame = false;
  bool VistaGlowEffect = false;
  bool VistaGlowInActiveEffect = false;
  bool GlowEffect = false;
  bool GlowInActiveEffect = false;
  Integer GlowSize = 0;
  TColor GlowColor = 0;
  TColor GlowActiveColor = 0;
  Integer GlowOffset = 0;
  bool ReflectionEffect = false;
  TColor ReflectionColor = 0;
  TColor ReflectionActiveColor = 0;
  Integer ReflectionOffset = 0;
  TRect DividerRect;
  TRect InActiveDividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
  Integer QuickButtonAlphaMaskPictureIndex = 0;
};

// Items of skinned popup menus. An empty active check, radio or arrow image
// takes the plain one when read.
class TspDataSkinMenuItem : public TspKeyedDescription<TspDataSkinMenuItem, TspDataSkinObject> {
 public:
  explicit TspDataSkinMenuItem(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();

  TRect DividerRect;
  Integer DividerLO = 0;
  Integer DividerRO = 0;
  Integer ItemLO = 0;
  Integer ItemRO = 0;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor UnEnabledFontColor = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TRect TextRct;
  bool StretchEffect = false;
  bool DividerStretchEffect = false;
  bool InActiveStretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
  TRect ImageRct;
  bool UseImageColor = false;
  TColor ImageColor = 0;
  TColor ActiveImageColor = 0;
  bool InActiveTransparent = false;
  TRect CheckImageRect;
  TRect ActiveCheckImageRect;
  TRect RadioImageRect;
  TRect ActiveRadioImageRect;
  TRect ArrowImageRect;
  TRect ActiveArrowImageRect;
};

// Items of the main menu bar.
class TspDataSkinMainMenuItem : public TspKeyedDescription<TspDataSkinMainMenuItem, TspDataSkinObject> {
 public:
  explicit TspDataSkinMainMenuItem(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect DownRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DownFontColor = 0;
  TColor UnEnabledFontColor = 0;
  TRect TextRct;
  Integer ItemLO = 0;
  Integer ItemRO = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
};

class TspDataSkinMainMenuBarItem : public TspDataSkinMainMenuItem {
 public:
  using TspDataSkinMainMenuItem::TspDataSkinMainMenuItem;
};

// ---------------------------------------------------------------------------
// Value objects

// Morphing is off after a load whatever the section says.
class TspDataSkinTrackBar : public TspKeyedDescription<TspDataSkinTrackBar, TspDataSkinObject> {
 public:
  explicit TspDataSkinTrackBar(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();

  TRect ButtonRect;
  TRect ActiveButtonRect;
  TPoint BeginPoint;
  TPoint EndPoint;
  Integer MinValue = 0;
  Integer MaxValue = 0;
  bool MouseDownChangeValue = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

class TspDataSkinGauge : public TspKeyedDescription<TspDataSkinGauge, TspDataSkinObject> {
 public:
  explicit TspDataSkinGauge(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  Integer MinValue = 0;
  Integer MaxValue = 0;
  TGaugeKind Kind = gkHorizontal;
};

class TspDataSkinFrameGaugeObject : public TspKeyedDescription<TspDataSkinFrameGaugeObject, TspDataSkinObject> {
 public:
  explicit TspDataSkinFrameGaugeObject(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  Integer MinValue = 0;
  Integer MaxValue = 0;
  Integer CountFrames = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;
};

class TspDataSkinFrameRegulatorObject
    : public TspKeyedDescription<TspDataSkinFrameRegulatorObject, TspDataSkinObject> {
 public:
  explicit TspDataSkinFrameRegulatorObject(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  Integer MinValue = 0;
  Integer MaxValue = 0;
  Integer CountFrames = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;
  TRegulatorKind Kind = rkRound;
};
