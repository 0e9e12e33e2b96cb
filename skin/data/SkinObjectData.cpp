// Frame-object descriptions: their key tables and load rules.
#include "skin/data/SkinObjectData.h"

// ---------------------------------------------------------------------------
// TspDataSkinObject

const TSkinKeyTable<TObject>& TspDataSkinObject::Keys() {
  using C = TspDataSkinObject;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"hint", &C::Hint, u"", u""),
      KeyBool(u"rollup", &C::RollUp),
      KeyInt(u"activepictureindex", &C::ActivePictureIndex, -1, -1),
      KeyInt(u"activemaskpictureindex", &C::ActiveMaskPictureIndex, -1, -1),
      KeyBool(u"skinrectinapicture", &C::SkinRectInAPicture),
      KeyInt(u"cursorindex", &C::CursorIndex, -1, -1),
      KeyRect(u"skinrect", &C::SkinRect),
      KeyRect(u"activeskinrect", &C::ActiveSkinRect),
      KeyRect(u"inactiveskinrect", &C::InActiveSkinRect),
      KeyBool(u"morphing", &C::Morphing),
      KeyWord(u"morphkind", &C::MorphKind, mkDefault),
      KeyInt(u"glowlayerpictureindex", &C::GlowLayerPictureIndex, -1, -1),
      KeyInt(u"glowlayermaskpictureindex", &C::GlowLayerMaskPictureIndex, -1, -1),
      KeyInt(u"glowlayeroffsetx", &C::GlowLayerOffsetX, 0, 0),
      KeyInt(u"glowlayeroffsety", &C::GlowLayerOffsetY, 0, 0),
      KeyInt(u"glowlayeralphablendvalue", &C::GlowLayerAlphaBlendValue, 255, 255),
  };
  return T;
}

TspDataSkinObject::TspDataSkinObject(const String& AIDName) : IDName(AIDName) { Keys().Init(*this); }

void TspDataSkinObject::LoadFromFile(TCustomIniFile* IniFile) { Keys().Load(*this, IniFile, IDName); }

void TspDataSkinObject::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  Keys().Save(*this, IniFile, IDName);
}

// ---------------------------------------------------------------------------
// Buttons

const TSkinKeyTable<TObject>& TspDataSkinButton::Keys() {
  using C = TspDataSkinButton;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"downrect", &C::DownRect),
      KeyRect(u"disableskinrsect", &C::DisableSkinRect),
      KeyInt(u"groupindex", &C::GroupIndex, -1, -1),
      KeyInt(u"alphamaskpictureindex", &C::AlphaMaskPictureIndex, -1, -1),
      KeyInt(u"alphamaskactivepictureindex", &C::AlphaMaskActivePictureIndex, -1, -1),
      KeyInt(u"alphamaskinactivepictureindex", &C::AlphaMaskInActivePictureIndex, -1, -1),
  };
  return T;
}

TspDataSkinButton::TspDataSkinButton(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

String SkinRestoreHint(const String& RestoreHint, const String& Hint, TStdCommand Command) {
  if (!RestoreHint.empty()) return RestoreHint;
  if ((Hint == u"Maximize" && Command == cmMaximize) || (Hint == u"Minimize" && Command == cmMinimize) ||
      ((Hint == u"RollUp" || Hint == u"Roll Up") && Command == cmRollUp))
    return u"Restore";
  return RestoreHint;
}

const TSkinKeyTable<TObject>& TspDataSkinStdButton::Keys() {
  using C = TspDataSkinStdButton;
  static const TSkinKeyTable<TObject> T{
      KeyWord(u"command", &C::Command, cmClose),
      KeyRect(u"restorerect", &C::RestoreRect),
      KeyRect(u"restoreactiverect", &C::RestoreActiveRect),
      KeyRect(u"restoredownrect", &C::RestoreDownRect),
      KeyRect(u"restoreinactiverect", &C::RestoreInActiveRect),
      KeyStr(u"restorehint", &C::RestoreHint, u"", u""),
  };
  return T;
}

TspDataSkinStdButton::TspDataSkinStdButton(const String& AIDName) : TspKeyedDescription(AIDName) {
  Keys().Init(*this);
}

void TspDataSkinStdButton::LoadFromFile(TCustomIniFile* IniFile) {
  TspKeyedDescription::LoadFromFile(IniFile);
  RestoreHint = SkinRestoreHint(RestoreHint, Hint, Command);
}

const TSkinKeyTable<TObject>& TspDataSkinAnimate::Keys() {
  using C = TspDataSkinAnimate;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"countframes", &C::CountFrames, 0, 1),
      KeyBool(u"cycle", &C::Cycle),
      KeyBool(u"buttonstyle", &C::ButtonStyle),
      KeyInt(u"timerinterval", &C::TimerInterval, 0, 50),
      KeyWord(u"command", &C::Command, cmClose),
      KeyRect(u"downskinrect", &C::DownSkinRect),
      KeyRect(u"restorerect", &C::RestoreRect),
      KeyRect(u"restoreactiverect", &C::RestoreActiveRect),
      KeyRect(u"restoredownrect", &C::RestoreDownRect),
      KeyRect(u"restoreinactiverect", &C::RestoreInActiveRect),
      KeyStr(u"restorehint", &C::RestoreHint, u"", u""),
  };
  return T;
}

TspDataSkinAnimate::TspDataSkinAnimate(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

void TspDataSkinAnimate::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinObject::LoadFromFile(IniFile);
  Morphing = false;
  Keys().Load(*this, IniFile, IDName);
  RestoreHint = SkinRestoreHint(RestoreHint, Hint, Command);
}

const TSkinKeyTable<TObject>& TspDataUserObject::Keys() {
  using C = TspDataUserObject;
  static const TSkinKeyTable<TObject> T{
      KeyBool(u"rollup", &C::RollUp),
      KeyRect(u"skinrect", &C::SkinRect),
      KeyInt(u"cursorindex", &C::CursorIndex, -1, -1),
  };
  return T;
}

void TspDataUserObject::LoadFromFile(TCustomIniFile* IniFile) { Keys().Load(*this, IniFile, IDName); }

void TspDataUserObject::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  Keys().Save(*this, IniFile, IDName);
}

// ---------------------------------------------------------------------------
// Text and menu objects

const TSkinKeyTable<TObject>& TspDataSkinLabel::Keys() {
  using C = TspDataSkinLabel;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"", u"Arial").ReadAs(u"fontName"),
      KeyInt(u"fontheight", &C::FontHeight, 0, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyWord(u"alignment", &C::Alignment, taLeftJustify),
      KeyStr(u"textvalue", &C::TextValue, u"", u""),
  };
  return T;
}

TspDataSkinLabel::TspDataSkinLabel(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

const TSkinKeyTable<TObject>& TspDataSkinBitLabel::Keys() {
  using C = TspDataSkinBitLabel;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"textvalue", &C::TextValue, u"", u""),
      KeyInt(u"symbolwidth", &C::SymbolWidth, 0, 0),
      KeyInt(u"symbolheight", &C::SymbolHeight, 0, 0),
      KeyLines(u"symbols", &C::Symbols),
      KeyBool(u"transparent", &C::Transparent),
      KeyInt(u"transparentcolor", &C::TransparentColor, 0xFF00FF, 0xFF00FF),
  };
  return T;
}

TspDataSkinBitLabel::TspDataSkinBitLabel(const String& AIDName)
    : TspKeyedDescription(AIDName), Symbols(new TStringList()) {
  Keys().Init(*this);
}

TspDataSkinBitLabel::~TspDataSkinBitLabel() { delete Symbols; }

void TspDataSkinBitLabel::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinObject::LoadFromFile(IniFile);
  Morphing = false;
  Keys().Load(*this, IniFile, IDName);
}

const TSkinKeyTable<TObject>& TspDataSkinCaption::Keys() {
  using C = TspDataSkinCaption;
  static const TSkinKeyTable<TObject> T{
      {
          KeyBool(u"defaultcaption", &C::DefaultCaption),
          KeyRect(u"textrect", &C::TextRct),
          KeyStr(u"fontname", &C::FontName, u"", u"Arial"),
          KeyInt(u"fontheight", &C::FontHeight, 0, 14),
          KeyStyle(u"fontstyle", &C::FontStyle),
          KeyInt(u"fontcolor", &C::FontColor, 0, 0),
          KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
          KeyWord(u"alignment", &C::Alignment, taLeftJustify),
          KeyBool(u"shadow", &C::Shadow),
          KeyInt(u"shadowcolor", &C::ShadowColor, 0, 0),
          KeyBool(u"light", &C::Light),
          KeyInt(u"lightcolor", &C::LightColor, 0, 0),
          KeyInt(u"activelightcolor", &C::ActiveLightColor, 0, 0),
          KeyInt(u"activeshadowcolor", &C::ActiveShadowColor, 0, 0),
          KeyRect(u"framerect", &C::FrameRect),
          KeyRect(u"activeframerect", &C::ActiveFrameRect),
          KeyRect(u"frametextrect", &C::FrameTextRect),
          KeyInt(u"frameleftoffset", &C::FrameLeftOffset, 0, 0),
          KeyInt(u"framerightoffset", &C::FrameRightOffset, 0, 0),
          KeyBool(u"stretcheffect", &C::StretchEffect),
          KeyRect(u"animateskinrect", &C::AnimateSkinRect),
          KeyInt(u"framecount", &C::FrameCount, 0, 0),
          KeyInt(u"animateinterval", &C::AnimateInterval, 0, 25),
          KeyBool(u"inactiveanimation", &C::InActiveAnimation),
          KeyBool(u"fullframe", &C::FullFrame),
          KeyBool(u"vistagloweffect", &C::VistaGlowEffect),
          KeyBool(u"vistaglowinactiveeffect", &C::VistaGlowInActiveEffect),
          KeyBool(u"gloweffect", &C::GlowEffect),
          KeyBool(u"glowinactiveeffect", &C::GlowInActiveEffect),
          KeyInt(u"glowsize", &C::GlowSize, 0, 3),
          KeyInt(u"glowcolor", &C::GlowColor, 0, 0),
          KeyInt(u"glowactivecolor", &C::GlowActiveColor, 0, 0),
          KeyInt(u"glowoffset", &C::GlowOffset, 0, 0),
          KeyBool(u"reflectioneffect", &C::ReflectionEffect),
          KeyInt(u"reflactioncolor", &C::ReflectionColor, 0, 0),
          KeyInt(u"reflactionactivecolor", &C::ReflectionActiveColor, 0, 0),
          KeyInt(u"reflectionoffset", &C::ReflectionOffset, 0, 0),
          KeyRect(u"dividerrect", &C::DividerRect),
          KeyRect(u"inactivedividerrect", &C::InActiveDividerRect),
          KeyBool(u"dividertransparent", &C::DividerTransparent),
          KeyInt(u"dividertransparentcolor", &C::DividerTransparentColor, 0, 0),
          KeyInt(u"quickbuttonalphamaskpictureindex", &C::QuickButtonAlphaMaskPictureIndex, 0, -1),
      },
      // Written: the light keys right after "alignment", then the shadow keys.
      {{u"light", u"alignment"},
       {u"lightcolor", u"light"},
       {u"activelightcolor", u"lightcolor"},
       {u"activeshadowcolor", u"shadowcolor"}}};
  return T;
}

TspDataSkinCaption::TspDataSkinCaption(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

const TSkinKeyTable<TObject>& TspDataSkinMenuItem::Keys() {
  using C = TspDataSkinMenuItem;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"itemleftoffset", &C::ItemLO, 0, 0),
      KeyInt(u"itemrightoffset", &C::ItemRO, 0, 0),
      KeyRect(u"dividerrect", &C::DividerRect),
      KeyInt(u"dividerleftoffset", &C::DividerLO, 0, 0),
      KeyInt(u"dividerrightoffset", &C::DividerRO, 0, 0),
      KeyRect(u"textrect", &C::TextRct),
      KeyRect(u"imagerect", &C::ImageRct),
      KeyStr(u"fontname", &C::FontName, u"", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 0, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyInt(u"unenabledfontcolor", &C::UnEnabledFontColor, 0, 0),
      KeyBool(u"stretcheffect", &C::StretchEffect),
      KeyBool(u"inactivestretcheffect", &C::InActiveStretchEffect),
      KeyBool(u"dividerstretcheffect", &C::DividerStretchEffect),
      KeyRect(u"animateskinrect", &C::AnimateSkinRect),
      KeyInt(u"framecount", &C::FrameCount, 0, 0),
      KeyInt(u"animateinterval", &C::AnimateInterval, 0, 25),
      KeyBool(u"inactiveanimation", &C::InActiveAnimation),
      KeyBool(u"useimagecolor", &C::UseImageColor),
      KeyInt(u"imagecolor", &C::ImageColor, 0, 0),
      KeyInt(u"activeimagecolor", &C::ActiveImageColor, 0, 0),
      KeyBool(u"inactivetransparent", &C::InActiveTransparent),
      KeyRect(u"checkimagerect", &C::CheckImageRect),
      KeyRect(u"activecheckimagerect", &C::ActiveCheckImageRect),
      KeyRect(u"radioimagerect", &C::RadioImageRect),
      KeyRect(u"activeradioimagerect", &C::ActiveRadioImageRect),
      KeyRect(u"arrowimagerect", &C::ArrowImageRect),
      KeyRect(u"activearrowimagerect", &C::ActiveArrowImageRect),
  };
  return T;
}

TspDataSkinMenuItem::TspDataSkinMenuItem(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

void TspDataSkinMenuItem::LoadFromFile(TCustomIniFile* IniFile) {
  TspKeyedDescription::LoadFromFile(IniFile);
  if (IsSkinRectEmpty(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
  if (IsSkinRectEmpty(ActiveRadioImageRect)) ActiveRadioImageRect = RadioImageRect;
  if (IsSkinRectEmpty(ActiveArrowImageRect)) ActiveArrowImageRect = ArrowImageRect;
}

const TSkinKeyTable<TObject>& TspDataSkinMainMenuItem::Keys() {
  using C = TspDataSkinMainMenuItem;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"itemleftoffset", &C::ItemLO, 0, 0),
      KeyInt(u"itemrightoffset", &C::ItemRO, 0, 0),
      KeyRect(u"downrect", &C::DownRect),
      KeyRect(u"textrect", &C::TextRct),
      KeyStr(u"fontname", &C::FontName, u"", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 0, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyInt(u"downfontcolor", &C::DownFontColor, 0, 0),
      KeyInt(u"unenabledfontColor", &C::UnEnabledFontColor, 0, 0),
      KeyBool(u"stretcheffect", &C::StretchEffect),
      KeyRect(u"animateskinrect", &C::AnimateSkinRect),
      KeyInt(u"framecount", &C::FrameCount, 0, 0),
      KeyInt(u"animateinterval", &C::AnimateInterval, 0, 25),
      KeyBool(u"inactiveanimation", &C::InActiveAnimation),
  };
  return T;
}

TspDataSkinMainMenuItem::TspDataSkinMainMenuItem(const String& AIDName) : TspKeyedDescription(AIDName) {
  Keys().Init(*this);
}

// ---------------------------------------------------------------------------
// Value objects

const TSkinKeyTable<TObject>& TspDataSkinTrackBar::Keys() {
  using C = TspDataSkinTrackBar;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"buttonrect", &C::ButtonRect),
      KeyRect(u"activebuttonrect", &C::ActiveButtonRect),
      KeyPoint(u"beginpoint", &C::BeginPoint),
      KeyPoint(u"endpoint", &C::EndPoint),
      KeyInt(u"minvalue", &C::MinValue, 0, 0),
      KeyInt(u"maxvalue", &C::MaxValue, 0, 0),
      KeyBool(u"mousedownchangevalue", &C::MouseDownChangeValue),
      KeyBool(u"buttontransparent", &C::ButtonTransparent),
      KeyInt(u"buttontransparentcolor", &C::ButtonTransparentColor, 0, 0),
  };
  return T;
}

TspDataSkinTrackBar::TspDataSkinTrackBar(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

void TspDataSkinTrackBar::LoadFromFile(TCustomIniFile* IniFile) {
  TspKeyedDescription::LoadFromFile(IniFile);
  Morphing = false;
}

const TSkinKeyTable<TObject>& TspDataSkinGauge::Keys() {
  using C = TspDataSkinGauge;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"minvalue", &C::MinValue, 0, 0),
      KeyInt(u"maxvalue", &C::MaxValue, 0, 0),
      KeyWord(u"kind", &C::Kind, gkHorizontal),
  };
  return T;
}

TspDataSkinGauge::TspDataSkinGauge(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

const TSkinKeyTable<TObject>& TspDataSkinFrameGaugeObject::Keys() {
  using C = TspDataSkinFrameGaugeObject;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"minvalue", &C::MinValue, 0, 0),
      KeyInt(u"maxvalue", &C::MaxValue, 0, 0),
      KeyInt(u"countframes", &C::CountFrames, 0, 0),
      KeyWord(u"framesplacement", &C::FramesPlacement, fpHorizontal),
  };
  return T;
}

TspDataSkinFrameGaugeObject::TspDataSkinFrameGaugeObject(const String& AIDName) : TspKeyedDescription(AIDName) {
  Keys().Init(*this);
}

const TSkinKeyTable<TObject>& TspDataSkinFrameRegulatorObject::Keys() {
  using C = TspDataSkinFrameRegulatorObject;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"minvalue", &C::MinValue, 0, 0),
      KeyInt(u"maxvalue", &C::MaxValue, 0, 0),
      KeyInt(u"countframes", &C::CountFrames, 0, 0),
      KeyWord(u"framesplacement", &C::FramesPlacement, fpHorizontal),
      KeyWord(u"kind", &C::Kind, rkRound),
  };
  return T;
}

TspDataSkinFrameRegulatorObject::TspDataSkinFrameRegulatorObject(const String& AIDName)
    : TspKeyedDescription(AIDName) {
  Keys().Init(*this);
}
