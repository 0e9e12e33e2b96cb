// Control descriptions: their key tables and load rules.
#include "skin/data/SkinControlData.h"

// Every class's constructor sets the values of its own table.
#define SKIN_CONTROL_CONSTRUCTOR(C) \
  C::C(const String& AIDName) : TspKeyedDescription(AIDName) { Keys().Init(*this); }

// ---------------------------------------------------------------------------
// Bases

const TSkinKeyTable<TObject>& TspDataSkinControl::Keys() {
  using C = TspDataSkinControl;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"pictureindex", &C::PictureIndex, -1, -1),
      KeyInt(u"maskpictureindex", &C::MaskPictureIndex, -1, -1),
      KeyInt(u"cursorindex", &C::CursorIndex, -1, -1),
      KeyRect(u"skinrect", &C::SkinRect),
  };
  return T;
}

TspDataSkinControl::TspDataSkinControl(const String& AIDName) : IDName(AIDName) { Keys().Init(*this); }

void TspDataSkinControl::LoadFromFile(TCustomIniFile* IniFile) { Keys().Load(*this, IniFile, IDName); }

void TspDataSkinControl::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  Keys().Save(*this, IniFile, IDName);
}

const TSkinKeyTable<TObject>& TspDataSkinCustomControl::Keys() {
  using C = TspDataSkinCustomControl;
  static const TSkinKeyTable<TObject> T{{
                                            KeyPoint(u"lefttoppoint", &C::LTPoint),
                                            KeyPoint(u"righttoppoint", &C::RTPoint),
                                            KeyPoint(u"leftbottompoint", &C::LBPoint),
                                            KeyPoint(u"rightbottompoint", &C::RBPoint),
                                            KeyRect(u"clientrect", &C::ClRect),
                                            KeyBool(u"leftstretch", &C::LeftStretch),
                                            KeyBool(u"topstretch", &C::TopStretch),
                                            KeyBool(u"rightstretch", &C::RightStretch),
                                            KeyBool(u"bottomstretch", &C::BottomStretch),
                                            KeyBool(u"stretcheffect", &C::StretchEffect),
                                            KeyWord(u"stretchtype", &C::StretchType, spstFull),
                                        },
                                        {{u"stretcheffect", u"clientrect"}}};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinCustomControl)

const TSkinKeyTable<TObject>& TspDataSkinFrameControl::Keys() {
  using C = TspDataSkinFrameControl;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"framescount", &C::FramesCount, 1, 1),
      KeyWord(u"framesplacement", &C::FramesPlacement, fpHorizontal),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinFrameControl)

void TspDataSkinFrameControl::LoadFromFile(TCustomIniFile* IniFile) {
  TspKeyedDescription::LoadFromFile(IniFile);
  if (FramesCount < 1) FramesCount = 1;
}

const TSkinKeyTable<TObject>& TspDataSkinFrameRegulator::Keys() {
  using C = TspDataSkinFrameRegulator;
  static const TSkinKeyTable<TObject> T{KeyWord(u"kind", &C::Kind, rkRound)};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinFrameRegulator)

// ---------------------------------------------------------------------------
// Buttons and panels (a new description holds "Arial" and height 12)

const TSkinKeyTable<TObject>& TspDataSkinButtonControl::Keys() {
  using C = TspDataSkinButtonControl;
  static const TSkinKeyTable<TObject> T{
      {
          KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
          KeyInt(u"fontheight", &C::FontHeight, 12, 14),
          KeyStyle(u"fontstyle", &C::FontStyle),
          KeyInt(u"fontcolor", &C::FontColor, 0, 0),
          KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
          KeyInt(u"disabledfontcolor", &C::DisabledFontColor, 0, 0),
          KeyInt(u"downfontcolor", &C::DownFontColor, 0, 0),
          KeyBool(u"morphing", &C::Morphing),
          KeyWord(u"morphkind", &C::MorphKind, mkDefault),
          KeyRect(u"activeskinrect", &C::ActiveSkinRect),
          KeyRect(u"downskinrect", &C::DownSkinRect),
          KeyRect(u"focusedskinrect", &C::FocusedSkinRect),
          KeyRect(u"disabledskinrect", &C::DisabledSkinRect),
          KeyRect(u"animateskinrect", &C::AnimateSkinRect),
          KeyInt(u"framecount", &C::FrameCount, 0, 0),
          KeyInt(u"animateinterval", &C::AnimateInterval, 0, 25),
          KeyBool(u"showfocus", &C::ShowFocus),
          KeyRect(u"menumarkerflatrect", &C::MenuMarkerFlatRect),
          KeyRect(u"menumarkerrect", &C::MenuMarkerRect),
          KeyRect(u"menumarkeractiverect", &C::MenuMarkerActiveRect),
          KeyRect(u"menumarkerdownrect", &C::MenuMarkerDownRect),
          KeyInt(u"menumarkertransparentcolor", &C::MenuMarkerTransparentColor, 0, 0),
          KeyInt(u"glowlayerpictureindex", &C::GlowLayerPictureIndex, -1, -1),
          KeyInt(u"glowlayermaskpictureindex", &C::GlowLayerMaskPictureIndex, -1, -1),
          KeyInt(u"glowlayeroffsetleft", &C::GlowLayerOffsetLeft, 0, 0),
          KeyInt(u"glowlayeroffsettop", &C::GlowLayerOffsetTop, 0, 0),
          KeyInt(u"glowlayeroffsetright", &C::GlowLayerOffsetRight, 0, 0),
          KeyInt(u"glowlayeroffsetbottom", &C::GlowLayerOffsetBottom, 0, 0),
          KeyInt(u"glowlayershowoffsetx", &C::GlowLayerShowOffsetX, 0, 0),
          KeyInt(u"glowlayershowoffsety", &C::GlowLayerShowOffsetY, 0, 0),
          KeyInt(u"glowlayeralphablendvalue", &C::GlowLayerAlphaBlendValue, 255, 255),
      },
      {{u"disabledfontcolor", u"downfontcolor"}, {u"glowlayeroffsettop", u"glowlayeroffsetright"}}};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinButtonControl)

const TSkinKeyTable<TObject>& TspDataSkinMenuButtonControl::Keys() {
  using C = TspDataSkinMenuButtonControl;
  static const TSkinKeyTable<TObject> T{KeyRect(u"trackbuttonrect", &C::TrackButtonRect)};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinMenuButtonControl)

const TSkinKeyTable<TObject>& TspDataSkinCheckRadioControl::Keys() {
  using C = TspDataSkinCheckRadioControl;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyInt(u"unenabledfontcolor", &C::UnEnabledFontColor, 0, 0),
      KeyInt(u"framefontcolor", &C::FrameFontColor, 0, 0),
      KeyBool(u"morphing", &C::Morphing),
      KeyWord(u"morphkind", &C::MorphKind, mkDefault),
      KeyRect(u"activeskinrect", &C::ActiveSkinRect),
      KeyRect(u"checkimagearea", &C::CheckImageArea),
      KeyRect(u"textarea", &C::TextArea),
      KeyRect(u"checkimagerect", &C::CheckImageRect),
      KeyRect(u"uncheckimagerect", &C::UnCheckImageRect),
      KeyRect(u"activecheckimagerect", &C::ActiveCheckImageRect),
      KeyRect(u"activeuncheckimagerect", &C::ActiveUnCheckImageRect),
      KeyRect(u"unenabledcheckimagerect", &C::UnEnabledCheckImageRect),
      KeyRect(u"unenableduncheckimagerect", &C::UnEnabledUnCheckImageRect),
      KeyRect(u"grayedcheckimagerect", &C::GrayedCheckImageRect),
      KeyRect(u"activegrayedcheckimagerect", &C::ActiveGrayedCheckImageRect),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinCheckRadioControl)

const TSkinKeyTable<TObject>& TspDataSkinPanelControl::Keys() {
  using C = TspDataSkinPanelControl;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"bgpictureindex", &C::BGPictureIndex, -1, -1),
      KeyRect(u"captionrect", &C::CaptionRect),
      KeyWord(u"alignment", &C::Alignment, taCenter),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyRect(u"checkimagerect", &C::CheckImageRect),
      KeyRect(u"uncheckimagerect", &C::UnCheckImageRect),
      KeyRect(u"markframerect", &C::MarkFrameRect),
      KeyRect(u"framerect", &C::FrameRect),
      KeyRect(u"frametextrect", &C::FrameTextRect),
      KeyInt(u"frameleftoffset", &C::FrameLeftOffset, 0, 0),
      KeyInt(u"framerightoffset", &C::FrameRightOffset, 0, 0),
      KeyRect(u"gripperrect", &C::GripperRect),
      KeyBool(u"grippertransparent", &C::GripperTransparent),
      KeyInt(u"grippertransparentcolor", &C::GripperTransparentColor, 0xFF00FF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinPanelControl)

const TSkinKeyTable<TObject>& TspDataSkinExPanelControl::Keys() {
  using C = TspDataSkinExPanelControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"rollhskinrect", &C::RollHSkinRect),
      KeyRect(u"rollvskinrect", &C::RollVSkinRect),
      KeyInt(u"rollleftoffset", &C::RollLeftOffset, 0, 0),
      KeyInt(u"rollrightoffset", &C::RollRightOffset, 0, 0),
      KeyInt(u"rolltopoffset", &C::RollTopOffset, 0, 0),
      KeyInt(u"rollbottomoffset", &C::RollBottomOffset, 0, 0),
      KeyRect(u"rollvcaptionrect", &C::RollVCaptionRect),
      KeyRect(u"rollhcaptionrect", &C::RollHCaptionRect),
      KeyRect(u"closebuttonrect", &C::CloseButtonRect),
      KeyRect(u"closebuttonactiverect", &C::CloseButtonActiveRect),
      KeyRect(u"closebuttondownrect", &C::CloseButtonDownRect),
      KeyRect(u"hrollbuttonrect", &C::HRollButtonRect),
      KeyRect(u"hrollbuttonactiverect", &C::HRollButtonActiveRect),
      KeyRect(u"hrollbuttondownrect", &C::HRollButtonDownRect),
      KeyRect(u"hrestorebuttonrect", &C::HRestoreButtonRect),
      KeyRect(u"hrestorebuttonactiverect", &C::HRestoreButtonActiveRect),
      KeyRect(u"hrestorebuttondownrect", &C::HRestoreButtonDownRect),
      KeyRect(u"vrollbuttonrect", &C::VRollButtonRect),
      KeyRect(u"vrollbuttonactiverect", &C::VRollButtonActiveRect),
      KeyRect(u"vrollbuttondownrect", &C::VRollButtonDownRect),
      KeyRect(u"vrestorebuttonrect", &C::VRestoreButtonRect),
      KeyRect(u"vrestorebuttonactiverect", &C::VRestoreButtonActiveRect),
      KeyRect(u"vrestorebuttondownrect", &C::VRestoreButtonDownRect),
      KeyRect(u"captionrect", &C::CaptionRect),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyBool(u"buttonstransparent", &C::ButtonsTransparent),
      KeyInt(u"buttonstransparentcolor", &C::ButtonsTransparentColor, 0xFF00FF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinExPanelControl)

// ---------------------------------------------------------------------------
// Bars, gauges and dividers

const TSkinKeyTable<TObject>& TspDataSkinScrollBarControl::Keys() {
  using C = TspDataSkinScrollBarControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"trackarea", &C::TrackArea),
      KeyRect(u"upbuttonrect", &C::UpButtonRect),
      KeyRect(u"activeupbuttonrect", &C::ActiveUpButtonRect),
      KeyRect(u"downupbuttonrect", &C::DownUpButtonRect),
      KeyRect(u"downbuttonrect", &C::DownButtonRect),
      KeyRect(u"activedownbuttonrect", &C::ActiveDownButtonRect),
      KeyRect(u"downdownbuttonrect", &C::DownDownButtonRect),
      KeyRect(u"thumbrect", &C::ThumbRect),
      KeyRect(u"activethumbrect", &C::ActiveThumbRect),
      KeyRect(u"downthumbrect", &C::DownThumbRect),
      KeyInt(u"thumboffset1", &C::ThumbOffset1, 0, 0),
      KeyInt(u"thumboffset2", &C::ThumbOffset2, 0, 0),
      KeyBool(u"thumbtransparent", &C::ThumbTransparent),
      KeyInt(u"thumbtransparentcolor", &C::ThumbTransparentColor, 0xFF00FF, 0),
      KeyBool(u"thumbstretcheffect", &C::ThumbStretchEffect),
      KeyInt(u"thumbminsize", &C::ThumbMinSize, 0, 0),
      KeyInt(u"thumbminpagesize", &C::ThumbMinPageSize, 0, 0),
      KeyRect(u"glyphrect", &C::GlyphRect),
      KeyRect(u"activeglyphrect", &C::ActiveGlyphRect),
      KeyRect(u"downglyphrect", &C::DownGlyphRect),
      KeyBool(u"glyphtransparent", &C::GlyphTransparent),
      KeyInt(u"glyphtransparentcolor", &C::GlyphTransparentColor, 0xFF00FF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinScrollBarControl)

const TSkinKeyTable<TObject>& TspDataSkinTrackBarControl::Keys() {
  using C = TspDataSkinTrackBarControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"activeskinrect", &C::ActiveSkinRect),
      KeyRect(u"trackarea", &C::TrackArea),
      KeyRect(u"buttonrect", &C::ButtonRect),
      KeyRect(u"activebuttonrect", &C::ActiveButtonRect),
      KeyBool(u"vertical", &C::Vertical),
      KeyBool(u"buttontransparent", &C::ButtonTransparent),
      KeyInt(u"buttontransparentcolor", &C::ButtonTransparentColor, 0xFF00FF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinTrackBarControl)

const TSkinKeyTable<TObject>& TspDataSkinSlider::Keys() {
  using C = TspDataSkinSlider;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"bgcolor", &C::BGColor, 0, 0),
      KeyRect(u"hrulerrect", &C::HRulerRect),
      KeyRect(u"hthumbrect", &C::HThumbRect),
      KeyRect(u"vrulerrect", &C::VRulerRect),
      KeyRect(u"vthumbrect", &C::VThumbRect),
      KeyInt(u"edgesize", &C::EdgeSize, 0, 0),
      KeyInt(u"pointscolor", &C::PointsColor, 0, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinSlider)

const TSkinKeyTable<TObject>& TspDataSkinGaugeControl::Keys() {
  using C = TspDataSkinGaugeControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"progressarea", &C::ProgressArea),
      KeyRect(u"progressrect", &C::ProgressRect),
      KeyInt(u"beginoffset", &C::BeginOffset, 0, 0),
      KeyInt(u"endoffset", &C::EndOffset, 0, 0),
      KeyBool(u"vertical", &C::Vertical),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyBool(u"progresstransparent", &C::ProgressTransparent),
      KeyInt(u"progresstransparentcolor", &C::ProgressTransparentColor, 0xFF00FF, 0),
      KeyBool(u"progressstretch", &C::ProgressStretch),
      KeyRect(u"animationskinrect", &C::AnimationSkinRect),
      KeyInt(u"animationcountframes", &C::AnimationCountFrames, 0, 0),
      KeyInt(u"animationtimerinterval", &C::AnimationTimerInterval, 0, 0),
      KeyRect(u"progressanimationskinrect", &C::ProgressAnimationSkinRect),
      KeyInt(u"progressanimationcountframes", &C::ProgressAnimationCountFrames, 0, 0),
      KeyInt(u"progressanimationtimerinterval", &C::ProgressAnimationTimerInterval, 0, 0),
      KeyInt(u"animationbeginoffset", &C::AnimationBeginOffset, 0, 0),
      KeyInt(u"animationendoffset", &C::AnimationEndOffset, 0, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinGaugeControl)

const TSkinKeyTable<TObject>& TspDataSkinSplitterControl::Keys() {
  using C = TspDataSkinSplitterControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"gripperrect", &C::GripperRect),
      KeyBool(u"grippertransparent", &C::GripperTransparent),
      KeyInt(u"grippertransparentcolor", &C::GripperTransparentColor, 0xFF00FF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinSplitterControl)

const TSkinKeyTable<TObject>& TspDataSkinBevel::Keys() {
  using C = TspDataSkinBevel;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"lightcolor", &C::LightColor, 0, 0),
      KeyInt(u"darkcolor", &C::DarkColor, 0, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinBevel)

const TSkinKeyTable<TObject>& TspDataSkinUpDownControl::Keys() {
  using C = TspDataSkinUpDownControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"upbuttonrect", &C::UpButtonRect),
      KeyRect(u"activeupbuttonrect", &C::ActiveUpButtonRect),
      KeyRect(u"downupbuttonrect", &C::DownUpButtonRect),
      KeyRect(u"downbuttonrect", &C::DownButtonRect),
      KeyRect(u"activedownbuttonrect", &C::ActiveDownButtonRect),
      KeyRect(u"downdownbuttonrect", &C::DownDownButtonRect),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinUpDownControl)

// ---------------------------------------------------------------------------
// Edits and lists

const TSkinKeyTable<TObject>& TspDataSkinEditControl::Keys() {
  using C = TspDataSkinEditControl;
  static const TSkinKeyTable<TObject> T{{
                                            KeyRect(u"activeskinrect", &C::ActiveSkinRect),
                                            KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
                                            KeyInt(u"fontheight", &C::FontHeight, 12, 14),
                                            KeyStyle(u"fontstyle", &C::FontStyle),
                                            KeyInt(u"fontcolor", &C::FontColor, 0, 0),
                                            KeyInt(u"disabledfontcolor", &C::DisabledFontColor, 0, 0),
                                            KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
                                            KeyRect(u"buttonrect", &C::ButtonRect),
                                            KeyRect(u"activebuttonrect", &C::ActiveButtonRect),
                                            KeyRect(u"downbuttonrect", &C::DownButtonRect),
                                            KeyRect(u"unenabledbuttonrect", &C::UnEnabledButtonRect),
                                        },
                                        {{u"disabledfontcolor", u"activefontcolor"}}};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinEditControl)

const TSkinKeyTable<TObject>& TspDataSkinMemoControl::Keys() {
  using C = TspDataSkinMemoControl;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"bgcolor", &C::BGColor, 0, 0),
      KeyInt(u"activebgcolor", &C::ActiveBGColor, 0, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinMemoControl)

const TSkinKeyTable<TObject>& TspDataSkinSpinEditControl::Keys() {
  using C = TspDataSkinSpinEditControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"activeskinrect", &C::ActiveSkinRect),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyInt(u"disabledfontcolor", &C::DisabledFontColor, 0, 0),
      KeyRect(u"upbuttonrect", &C::UpButtonRect),
      KeyRect(u"activeupbuttonrect", &C::ActiveUpButtonRect),
      KeyRect(u"downupbuttonrect", &C::DownUpButtonRect),
      KeyRect(u"downbuttonrect", &C::DownButtonRect),
      KeyRect(u"activedownbuttonrect", &C::ActiveDownButtonRect),
      KeyRect(u"downdownbuttonrect", &C::DownDownButtonRect),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinSpinEditControl)

const TSkinKeyTable<TObject>& TspDataSkinListBox::Keys() {
  using C = TspDataSkinListBox;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"itemrect", &C::SItemRect),
      KeyRect(u"activeitemrect", &C::ActiveItemRect),
      KeyRect(u"focusitemrect", &C::FocusItemRect),
      KeyInt(u"itemleftoffset", &C::ItemLeftOffset, 0, 0),
      KeyInt(u"itemrightoffset", &C::ItemRightOffset, 0, 0),
      KeyRect(u"itemtextrect", &C::ItemTextRect),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyInt(u"focusfontcolor", &C::FocusFontColor, 0, 0),
      KeyRect(u"captionrect", &C::CaptionRect),
      KeyStr(u"captionfontname", &C::CaptionFontName, u"Arial", u"Arial"),
      KeyInt(u"captionfontheight", &C::CaptionFontHeight, 14, 14),
      KeyStyle(u"captionfontstyle", &C::CaptionFontStyle),
      KeyInt(u"captionfontcolor", &C::CaptionFontColor, 0, 0),
      KeyRect(u"upbuttonrect", &C::UpButtonRect),
      KeyRect(u"activeupbuttonrect", &C::ActiveUpButtonRect),
      KeyRect(u"downupbuttonrect", &C::DownUpButtonRect),
      KeyRect(u"downbuttonrect", &C::DownButtonRect),
      KeyRect(u"activedownbuttonrect", &C::ActiveDownButtonRect),
      KeyRect(u"downdownbuttonrect", &C::DownDownButtonRect),
      KeyRect(u"checkbuttonrect", &C::CheckButtonRect),
      KeyRect(u"activecheckbuttonrect", &C::ActiveCheckButtonRect),
      KeyRect(u"downcheckbuttonrect", &C::DownCheckButtonRect),
      KeyStr(u"vscrollbarname", &C::VScrollBarName, u"", u"vscrollbar"),
      KeyStr(u"hscrollbarname", &C::HScrollBarName, u"", u"hscrollbar"),
      KeyStr(u"bothhscrollbarname", &C::BothScrollBarName, u"", u"bothhscrollbar"),
      KeyBool(u"showfocus", &C::ShowFocus),
      KeyRect(u"disabledbuttonsrect", &C::DisabledButtonsRect),
      KeyRect(u"buttonsarea", &C::ButtonsArea),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinListBox)

const TSkinKeyTable<TObject>& TspDataSkinCheckListBox::Keys() {
  using C = TspDataSkinCheckListBox;
  static const TSkinKeyTable<TObject> T{{
                                            KeyRect(u"checkimagerect", &C::CheckImageRect),
                                            KeyRect(u"itemcheckrect", &C::ItemCheckRect),
                                            KeyRect(u"uncheckimagerect", &C::UnCheckImageRect),
                                        },
                                        {{u"checkimagerect", u"uncheckimagerect"}}};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinCheckListBox)

const TSkinKeyTable<TObject>& TspDataSkinComboBox::Keys() {
  using C = TspDataSkinComboBox;
  static const TSkinKeyTable<TObject> T{{
                                            KeyRect(u"activeskinrect", &C::ActiveSkinRect),
                                            KeyRect(u"itemrect", &C::SItemRect),
                                            KeyRect(u"activeitemrect", &C::ActiveItemRect),
                                            KeyRect(u"focusitemrect", &C::FocusItemRect),
                                            KeyInt(u"itemleftoffset", &C::ItemLeftOffset, 0, 0),
                                            KeyInt(u"itemrightoffset", &C::ItemRightOffset, 0, 0),
                                            KeyRect(u"itemtextrect", &C::ItemTextRect),
                                            KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
                                            KeyInt(u"fontheight", &C::FontHeight, 14, 14),
                                            KeyStyle(u"fontstyle", &C::FontStyle),
                                            KeyInt(u"fontcolor", &C::FontColor, 0, 0),
                                            KeyInt(u"focusfontcolor", &C::FocusFontColor, 0, 0),
                                            KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
                                            KeyStr(u"listboxname", &C::ListBoxName, u"", u""),
                                            KeyRect(u"buttonrect", &C::ButtonRect),
                                            KeyRect(u"activebuttonrect", &C::ActiveButtonRect),
                                            KeyRect(u"downbuttonrect", &C::DownButtonRect),
                                            KeyRect(u"unenabledbuttonrect", &C::UnEnabledButtonRect),
                                            KeyBool(u"itemstretcheffect", &C::ItemStretchEffect),
                                            KeyBool(u"focusitemstretcheffect", &C::FocusItemStretchEffect),
                                            KeyBool(u"showfocus", &C::ShowFocus),
                                        },
                                        {{u"listboxname", u"unenabledbuttonrect"}}};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinComboBox)

const TSkinKeyTable<TObject>& TspDataSkinScrollBoxControl::Keys() {
  using C = TspDataSkinScrollBoxControl;
  static const TSkinKeyTable<TObject> T{KeyInt(u"bgpictureindex", &C::BGPictureIndex, -1, -1)};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinScrollBoxControl)

const TSkinKeyTable<TObject>& TspDataSkinRichEdit::Keys() {
  using C = TspDataSkinRichEdit;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"bgcolor", &C::BGColor, 0xFFFFFF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinRichEdit)

// ---------------------------------------------------------------------------
// Tabs, grid, tree, view and bars

const TSkinKeyTable<TObject>& TspDataSkinTabControl::Keys() {
  using C = TspDataSkinTabControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"tabrect", &C::TabRect),
      KeyRect(u"activetabrect", &C::ActiveTabRect),
      KeyRect(u"focustabrect", &C::FocusTabRect),
      KeyRect(u"mouseintabrect", &C::MouseInTabRect),
      KeyRect(u"clientrect", &C::ClRect),
      KeyInt(u"bgpictureindex", &C::BGPictureIndex, -1, -1),
      KeyPoint(u"lefttoppoint", &C::LTPoint),
      KeyPoint(u"righttoppoint", &C::RTPoint),
      KeyPoint(u"leftbottompoint", &C::LBPoint),
      KeyPoint(u"rightbottompoint", &C::RBPoint),
      KeyInt(u"tableftoffset", &C::TabLeftOffset, 0, 0),
      KeyInt(u"tabrightoffset", &C::TabRightOffset, 0, 0),
      KeyRect(u"tabsbgrect", &C::TabsBGRect),
      KeyBool(u"tabstretcheffect", &C::TabStretchEffect),
      KeyBool(u"leftstretch", &C::LeftStretch),
      KeyBool(u"topstretch", &C::TopStretch),
      KeyBool(u"rightstretch", &C::RightStretch),
      KeyBool(u"bottomstretch", &C::BottomStretch),
      KeyBool(u"stretcheffect", &C::StretchEffect),
      KeyWord(u"stretchtype", &C::StretchType, spstFull),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0, 0),
      KeyInt(u"focusfontcolor", &C::FocusFontColor, 0, 0),
      KeyInt(u"mouseinfontcolor", &C::MouseInFontColor, 0, 0),
      KeyStr(u"updown", &C::UpDown, u"", u""),
      KeyBool(u"showfocus", &C::ShowFocus),
      KeyInt(u"focusoffsetx", &C::FocusOffsetX, 0, 0),
      KeyInt(u"focusoffsety", &C::FocusOffsetY, 0, 0),
      KeyRect(u"closebuttonrect", &C::CloseButtonRect),
      KeyRect(u"closebuttonactiverect", &C::CloseButtonActiveRect),
      KeyRect(u"closebuttondownrect", &C::CloseButtonDownRect),
      KeyBool(u"buttontransparent", &C::ButtonTransparent),
      KeyInt(u"buttontransparentcolor", &C::ButtonTransparentColor, 0xFF00FF, 0),
      KeyRect(u"tableftbottomactiverect", &C::TabLeftBottomActiveRect),
      KeyRect(u"tableftbottomfocusrect", &C::TabLeftBottomFocusRect),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinTabControl)

const TSkinKeyTable<TObject>& TspDataSkinGridControl::Keys() {
  using C = TspDataSkinGridControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"fixedcellrect", &C::FixedCellRect),
      KeyRect(u"selectcellrect", &C::SelectCellRect),
      KeyRect(u"focuscellrect", &C::FocusCellRect),
      KeyInt(u"fixedcellleftoffset", &C::FixedCellLeftOffset, 0, 0),
      KeyInt(u"fixedcellrightoffset", &C::FixedCellRightOffset, 0, 0),
      KeyRect(u"fixedcelltextrect", &C::FixedCellTextRect),
      KeyInt(u"cellleftoffset", &C::CellLeftOffset, 0, 0),
      KeyInt(u"cellrightoffset", &C::CellRightOffset, 0, 0),
      KeyRect(u"celltextrect", &C::CellTextRect),
      KeyInt(u"linescolor", &C::LinesColor, 0, 0),
      KeyInt(u"bgcolor", &C::BGColor, 0, 0),
      KeyInt(u"bgpictureindex", &C::BGPictureIndex, -1, -1),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"selectfontcolor", &C::SelectFontColor, 0, 0),
      KeyInt(u"focusfontcolor", &C::FocusFontColor, 0, 0),
      KeyStr(u"fixedfontname", &C::FixedFontName, u"Arial", u"Arial"),
      KeyInt(u"fixedfontheight", &C::FixedFontHeight, 14, 14),
      KeyStyle(u"fixedfontstyle", &C::FixedFontStyle),
      KeyInt(u"fixedfontcolor", &C::FixedFontColor, 0, 0),
      KeyBool(u"cellstretcheffect", &C::CellStretchEffect),
      KeyBool(u"fixedcellstretcheffect", &C::FixedCellStretchEffect),
      KeyBool(u"showfocus", &C::ShowFocus),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinGridControl)

const TSkinKeyTable<TObject>& TspDataSkinTreeView::Keys() {
  using C = TspDataSkinTreeView;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"bgcolor", &C::BGColor, 0xFFFFFF, 0),
      KeyRect(u"expandimagerect", &C::ExpandImageRect),
      KeyRect(u"noexpandimagerect", &C::NoExpandImageRect),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinTreeView)

const TSkinKeyTable<TObject>& TspDataSkinListView::Keys() {
  using C = TspDataSkinListView;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 14, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"bgcolor", &C::BGColor, 0xFFFFFF, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinListView)

const TSkinKeyTable<TObject>& TspDataSkinMainMenuBar::Keys() {
  using C = TspDataSkinMainMenuBar;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"itemsrect", &C::ItemsRect),
      KeyStr(u"menubaritem", &C::MenuBarItem, u"", u""),
      KeyStr(u"closebutton", &C::CloseButton, u"", u""),
      KeyStr(u"minbutton", &C::MinButton, u"", u""),
      KeyStr(u"maxbutton", &C::MaxButton, u"", u""),
      KeyStr(u"sysmenubutton", &C::SysMenuButton, u"", u""),
      KeyInt(u"trackmarkcolor", &C::TrackMarkColor, 0, 0),
      KeyInt(u"trackmarkactivecolor", &C::TrackMarkActiveColor, 0, 0),
      KeyBool(u"stretcheffect", &C::StretchEffect),
      KeyBool(u"itemtransparent", &C::ItemTransparent),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinMainMenuBar)

const TSkinKeyTable<TObject>& TspDataSkinControlBar::Keys() {
  using C = TspDataSkinControlBar;
  static const TSkinKeyTable<TObject> T{{
                                            KeyRect(u"itemrect", &C::ItemRect),
                                            KeyInt(u"bgpictureindex", &C::BGPictureIndex, -1, -1),
                                            KeyRect(u"hgriprect", &C::HGripRect),
                                            KeyRect(u"vgriprect", &C::VGripRect),
                                            KeyInt(u"gripoffset1", &C::GripOffset1, 0, 0),
                                            KeyInt(u"gripoffset2", &C::GripOffset2, 0, 0),
                                            KeyBool(u"itemstretcheffect", &C::ItemStretchEffect),
                                            KeyInt(u"itemoffset1", &C::ItemOffset1, 0, 3),
                                            KeyInt(u"itemoffset2", &C::ItemOffset2, 0, 3),
                                            KeyBool(u"itemtransparent", &C::ItemTransparent),
                                            KeyInt(u"itemtransparentcolor", &C::ItemTransparentColor, 0, 0),
                                            KeyBool(u"griptransparent", &C::GripTransparent),
                                            KeyInt(u"griptransparentcolor", &C::GripTransparentColor, 0, 0),
                                        },
                                        {{u"itemstretcheffect", u"itemoffset2"}}};
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinControlBar)

// ---------------------------------------------------------------------------
// Labels

const TSkinKeyTable<TObject>& TspDataSkinStdLabelControl::Keys() {
  using C = TspDataSkinStdLabelControl;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyInt(u"activefontcolor", &C::ActiveFontColor, 0xFF0000, 0xFF0000),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinStdLabelControl)

const TSkinKeyTable<TObject>& TspDataSkinLabelControl::Keys() {
  using C = TspDataSkinLabelControl;
  static const TSkinKeyTable<TObject> T{
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
  };
  return T;
}

SKIN_CONTROL_CONSTRUCTOR(TspDataSkinLabelControl)

const TSkinKeyTable<TObject>& TspDataSkinBitLabelControl::Keys() {
  using C = TspDataSkinBitLabelControl;
  static const TSkinKeyTable<TObject> T{
      KeyRect(u"skintextrect", &C::SkinTextRect),
      KeyInt(u"symbolwidth", &C::SymbolWidth, 0, 0),
      KeyInt(u"symbolheight", &C::SymbolHeight, 0, 0),
      KeyLines(u"symbols", &C::Symbols),
  };
  return T;
}

TspDataSkinBitLabelControl::TspDataSkinBitLabelControl(const String& AIDName)
    : TspKeyedDescription(AIDName), Symbols(new TStringList()) {
  Keys().Init(*this);
}

TspDataSkinBitLabelControl::~TspDataSkinBitLabelControl() { delete Symbols; }
