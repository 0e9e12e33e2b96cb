// Descriptions of skinned controls ([SKINCONTROLS]): the three bases (root,
// stretchable image, strip of equal frames) and one class per control kind.
// A control finds its description by name and checks its class before it
// copies what it needs. Each reads the section named by its IDName.
// Portable header: no Windows header.
#pragma once

#include "skin/data/SkinDescBase.h"

// ---------------------------------------------------------------------------
// Bases

class TspDataSkinControl : public TObject {
 public:
  explicit TspDataSkinControl(const String& AIDName);
  // Reads the section IDName (missing keys take their defaults).
  virtual void LoadFromFile(TCustomIniFile* IniFile);
  // Erases the section IDName and writes it.
  virtual void SaveToFile(TCustomIniFile* IniFile);
  static const TSkinKeyTable<TObject>& Keys();

  String IDName;
  Integer PictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TRect SkinRect;
  Integer CursorIndex = -1;
};

// An image that stretches to any size: corner points and client rect
// relative to SkinRect's top-left corner.
class TspDataSkinCustomControl : public TspKeyedDescription<TspDataSkinCustomControl, TspDataSkinControl> {
 public:
  explicit TspDataSkinCustomControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ClRect;
  bool StretchEffect = false;
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  TspStretchType StretchType = spstFull;
};

// SkinRect holds FramesCount equal frames; a count below 1 is read as 1.
class TspDataSkinFrameControl : public TspKeyedDescription<TspDataSkinFrameControl, TspDataSkinControl> {
 public:
  explicit TspDataSkinFrameControl(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  static const TSkinKeyTable<TObject>& Keys();

  Integer FramesCount = 1;
  TFramesPlacement FramesPlacement = fpHorizontal;
};

class TspDataSkinFrameGauge : public TspDataSkinFrameControl {
 public:
  using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinAnimateControl : public TspDataSkinFrameControl {
 public:
  using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinSwitchControl : public TspDataSkinFrameControl {
 public:
  using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameRegulator : public TspKeyedDescription<TspDataSkinFrameRegulator, TspDataSkinFrameControl> {
 public:
  explicit TspDataSkinFrameRegulator(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRegulatorKind Kind = rkRound;
};

// ---------------------------------------------------------------------------
// Buttons and panels

class TspDataSkinButtonControl : public TspKeyedDescription<TspDataSkinButtonControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinButtonControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DisabledFontColor = 0;
  TColor DownFontColor = 0;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ActiveSkinRect;
  TRect DownSkinRect;
  TRect FocusedSkinRect;
  TRect DisabledSkinRect;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect;
  TRect MenuMarkerRect;
  TRect MenuMarkerActiveRect;
  TRect MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0;
  Integer GlowLayerOffsetTop = 0;
  Integer GlowLayerOffsetRight = 0;
  Integer GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0;
  Integer GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

class TspDataSkinMenuButtonControl
    : public TspKeyedDescription<TspDataSkinMenuButtonControl, TspDataSkinButtonControl> {
 public:
  explicit TspDataSkinMenuButtonControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect TrackButtonRect;
};

class TspDataSkinCheckRadioControl
    : public TspKeyedDescription<TspDataSkinCheckRadioControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinCheckRadioControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor UnEnabledFontColor = 0;
  TColor FrameFontColor = 0;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ActiveSkinRect;
  TRect CheckImageArea;
  TRect TextArea;
  TRect CheckImageRect;
  TRect UnCheckImageRect;
  TRect ActiveCheckImageRect;
  TRect ActiveUnCheckImageRect;
  TRect UnEnabledCheckImageRect;
  TRect UnEnabledUnCheckImageRect;
  TRect GrayedCheckImageRect;
  TRect ActiveGrayedCheckImageRect;
};

class TspDataSkinPanelControl : public TspKeyedDescription<TspDataSkinPanelControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinPanelControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  Integer BGPictureIndex = -1;
  TRect CaptionRect;
  TAlignment Alignment = taCenter;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TRect CheckImageRect;
  TRect UnCheckImageRect;
  TRect MarkFrameRect;
  TRect FrameRect;
  TRect FrameTextRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

class TspDataSkinExPanelControl : public TspKeyedDescription<TspDataSkinExPanelControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinExPanelControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect RollHSkinRect;
  TRect RollVSkinRect;
  Integer RollLeftOffset = 0;
  Integer RollRightOffset = 0;
  Integer RollTopOffset = 0;
  Integer RollBottomOffset = 0;
  TRect RollVCaptionRect;
  TRect RollHCaptionRect;
  TRect CloseButtonRect;
  TRect CloseButtonActiveRect;
  TRect CloseButtonDownRect;
  TRect HRollButtonRect;
  TRect HRollButtonActiveRect;
  TRect HRollButtonDownRect;
  TRect HRestoreButtonRect;
  TRect HRestoreButtonActiveRect;
  TRect HRestoreButtonDownRect;
  TRect VRollButtonRect;
  TRect VRollButtonActiveRect;
  TRect VRollButtonDownRect;
  TRect VRestoreButtonRect;
  TRect VRestoreButtonActiveRect;
  TRect VRestoreButtonDownRect;
  TRect CaptionRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  bool ButtonsTransparent = false;
  TColor ButtonsTransparentColor = 0;
};

// ---------------------------------------------------------------------------
// Bars, gauges and dividers

class TspDataSkinScrollBarControl
    : public TspKeyedDescription<TspDataSkinScrollBarControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinScrollBarControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect TrackArea;
  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
  TRect ThumbRect;
  TRect ActiveThumbRect;
  TRect DownThumbRect;
  Integer ThumbOffset1 = 0;
  Integer ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0;
  Integer ThumbMinPageSize = 0;
  TRect GlyphRect;
  TRect ActiveGlyphRect;
  TRect DownGlyphRect;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;
};

class TspDataSkinTrackBarControl
    : public TspKeyedDescription<TspDataSkinTrackBarControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinTrackBarControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ActiveSkinRect;
  TRect TrackArea;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  bool Vertical = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

class TspDataSkinSlider : public TspKeyedDescription<TspDataSkinSlider, TspDataSkinControl> {
 public:
  explicit TspDataSkinSlider(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TColor BGColor = 0;
  TRect HRulerRect;
  TRect HThumbRect;
  TRect VRulerRect;
  TRect VThumbRect;
  Integer EdgeSize = 0;
  TColor PointsColor = 0;
};

class TspDataSkinGaugeControl : public TspKeyedDescription<TspDataSkinGaugeControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinGaugeControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ProgressArea;
  TRect ProgressRect;
  Integer BeginOffset = 0;
  Integer EndOffset = 0;
  bool Vertical = false;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  bool ProgressTransparent = false;
  TColor ProgressTransparentColor = 0;
  bool ProgressStretch = false;
  TRect AnimationSkinRect;
  Integer AnimationCountFrames = 0;
  Integer AnimationTimerInterval = 0;
  TRect ProgressAnimationSkinRect;
  Integer ProgressAnimationCountFrames = 0;
  Integer ProgressAnimationTimerInterval = 0;
  Integer AnimationBeginOffset = 0;
  Integer AnimationEndOffset = 0;
};

class TspDataSkinSplitterControl
    : public TspKeyedDescription<TspDataSkinSplitterControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinSplitterControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

class TspDataSkinBevel : public TspKeyedDescription<TspDataSkinBevel, TspDataSkinControl> {
 public:
  explicit TspDataSkinBevel(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TColor LightColor = 0;
  TColor DarkColor = 0;
};

// The up button is the increasing one: right half when horizontal, top half
// when vertical.
class TspDataSkinUpDownControl : public TspKeyedDescription<TspDataSkinUpDownControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinUpDownControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
};

// ---------------------------------------------------------------------------
// Edits and lists

class TspDataSkinEditControl : public TspKeyedDescription<TspDataSkinEditControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinEditControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ActiveSkinRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor DisabledFontColor = 0;
  TColor ActiveFontColor = 0;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  TRect DownButtonRect;
  TRect UnEnabledButtonRect;
};

class TspDataSkinMemoControl : public TspKeyedDescription<TspDataSkinMemoControl, TspDataSkinEditControl> {
 public:
  explicit TspDataSkinMemoControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TColor BGColor = 0;
  TColor ActiveBGColor = 0;
};

class TspDataSkinSpinEditControl
    : public TspKeyedDescription<TspDataSkinSpinEditControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinSpinEditControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ActiveSkinRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DisabledFontColor = 0;
  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
};

class TspDataSkinListBox : public TspKeyedDescription<TspDataSkinListBox, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinListBox(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect SItemRect;
  TRect ActiveItemRect;
  TRect FocusItemRect;
  Integer ItemLeftOffset = 0;
  Integer ItemRightOffset = 0;
  TRect ItemTextRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor FocusFontColor = 0;
  TRect CaptionRect;
  String CaptionFontName;
  Integer CaptionFontHeight = 0;
  TFontStyles CaptionFontStyle = 0;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
  TRect CheckButtonRect;
  TRect ActiveCheckButtonRect;
  TRect DownCheckButtonRect;
  String VScrollBarName;
  String HScrollBarName;
  String BothScrollBarName;
  bool ShowFocus = false;
  TRect DisabledButtonsRect;
  TRect ButtonsArea;
};

class TspDataSkinCheckListBox : public TspKeyedDescription<TspDataSkinCheckListBox, TspDataSkinListBox> {
 public:
  explicit TspDataSkinCheckListBox(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect CheckImageRect;
  TRect ItemCheckRect;
  TRect UnCheckImageRect;
};

class TspDataSkinComboBox : public TspKeyedDescription<TspDataSkinComboBox, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinComboBox(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ActiveSkinRect;
  TRect SItemRect;
  TRect ActiveItemRect;
  TRect FocusItemRect;
  Integer ItemLeftOffset = 0;
  Integer ItemRightOffset = 0;
  TRect ItemTextRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor FocusFontColor = 0;
  TColor ActiveFontColor = 0;
  String ListBoxName;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  TRect DownButtonRect;
  TRect UnEnabledButtonRect;
  bool ItemStretchEffect = false;
  bool FocusItemStretchEffect = false;
  bool ShowFocus = false;
};

class TspDataSkinScrollBoxControl
    : public TspKeyedDescription<TspDataSkinScrollBoxControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinScrollBoxControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  Integer BGPictureIndex = -1;
};

class TspDataSkinRichEdit : public TspKeyedDescription<TspDataSkinRichEdit, TspDataSkinControl> {
 public:
  explicit TspDataSkinRichEdit(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor BGColor = 0;
};

// ---------------------------------------------------------------------------
// Tabs, grid, tree, view and bars

// Carries its own corner points, client rect and stretch settings.
class TspDataSkinTabControl : public TspKeyedDescription<TspDataSkinTabControl, TspDataSkinControl> {
 public:
  explicit TspDataSkinTabControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect TabRect;
  TRect ActiveTabRect;
  TRect FocusTabRect;
  TRect MouseInTabRect;
  TRect ClRect;
  Integer BGPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  Integer TabLeftOffset = 0;
  Integer TabRightOffset = 0;
  TRect TabsBGRect;
  bool TabStretchEffect = false;
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor FocusFontColor = 0;
  TColor MouseInFontColor = 0;
  String UpDown;
  bool ShowFocus = false;
  Integer FocusOffsetX = 0;
  Integer FocusOffsetY = 0;
  TRect CloseButtonRect;
  TRect CloseButtonActiveRect;
  TRect CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TRect TabLeftBottomActiveRect;
  TRect TabLeftBottomFocusRect;
};

class TspDataSkinGridControl : public TspKeyedDescription<TspDataSkinGridControl, TspDataSkinControl> {
 public:
  explicit TspDataSkinGridControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect FixedCellRect;
  TRect SelectCellRect;
  TRect FocusCellRect;
  Integer FixedCellLeftOffset = 0;
  Integer FixedCellRightOffset = 0;
  TRect FixedCellTextRect;
  Integer CellLeftOffset = 0;
  Integer CellRightOffset = 0;
  TRect CellTextRect;
  TColor LinesColor = 0;
  TColor BGColor = 0;
  Integer BGPictureIndex = -1;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor SelectFontColor = 0;
  TColor FocusFontColor = 0;
  String FixedFontName;
  Integer FixedFontHeight = 0;
  TFontStyles FixedFontStyle = 0;
  TColor FixedFontColor = 0;
  bool CellStretchEffect = false;
  bool FixedCellStretchEffect = false;
  bool ShowFocus = false;
};

class TspDataSkinTreeView : public TspKeyedDescription<TspDataSkinTreeView, TspDataSkinControl> {
 public:
  explicit TspDataSkinTreeView(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor BGColor = 0;
  TRect ExpandImageRect;
  TRect NoExpandImageRect;
};

class TspDataSkinListView : public TspKeyedDescription<TspDataSkinListView, TspDataSkinControl> {
 public:
  explicit TspDataSkinListView(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor BGColor = 0;
};

// The names name [SKINOBJECTS] descriptions, not control descriptions.
class TspDataSkinMainMenuBar : public TspKeyedDescription<TspDataSkinMainMenuBar, TspDataSkinControl> {
 public:
  explicit TspDataSkinMainMenuBar(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ItemsRect;
  String MenuBarItem;
  String CloseButton;
  String MinButton;
  String MaxButton;
  String SysMenuButton;
  TColor TrackMarkColor = 0;
  TColor TrackMarkActiveColor = 0;
  bool StretchEffect = false;
  bool ItemTransparent = false;
};

class TspDataSkinControlBar : public TspKeyedDescription<TspDataSkinControlBar, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinControlBar(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  TRect ItemRect;
  Integer BGPictureIndex = -1;
  TRect HGripRect;
  TRect VGripRect;
  Integer GripOffset1 = 0;
  Integer GripOffset2 = 0;
  bool ItemStretchEffect = false;
  Integer ItemOffset1 = 0;
  Integer ItemOffset2 = 0;
  bool ItemTransparent = false;
  TColor ItemTransparentColor = 0;
  bool GripTransparent = false;
  TColor GripTransparentColor = 0;
};

// ---------------------------------------------------------------------------
// Labels

class TspDataSkinStdLabelControl : public TspKeyedDescription<TspDataSkinStdLabelControl, TspDataSkinControl> {
 public:
  explicit TspDataSkinStdLabelControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
};

class TspDataSkinLabelControl : public TspKeyedDescription<TspDataSkinLabelControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinLabelControl(const String& AIDName);
  static const TSkinKeyTable<TObject>& Keys();

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
};

// Every load appends to Symbols.
class TspDataSkinBitLabelControl
    : public TspKeyedDescription<TspDataSkinBitLabelControl, TspDataSkinCustomControl> {
 public:
  explicit TspDataSkinBitLabelControl(const String& AIDName);
  ~TspDataSkinBitLabelControl() override;
  static const TSkinKeyTable<TObject>& Keys();

  TRect SkinTextRect;
  Integer SymbolWidth = 0;
  Integer SymbolHeight = 0;
  TStrings* Symbols;
};
