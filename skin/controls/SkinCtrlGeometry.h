// The arithmetic of the skinned controls: resize modes and the stretchable
// geometry at a control's size, the mapping of skin rectangles, the choice of
// state images and glyph frames, animation frames and the cross-fade step,
// the drop-down part of the menu buttons, the ArrowMode mark, the panel's
// client rectangle, paint path and caption places, the flat check box's
// layout and the bevel's lines. The Winelib controls draw what these decide.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"
#include "skin/data/SkinTypes.h"

// ---------------------------------------------------------------------------
// Stretchable geometry

// A control's description geometry (skin-rect coordinates) and the same
// moved to the control's current size.
struct TspSkinGeometry {
  TPoint LTPt, RTPt, LBPt, RBPt;
  TRect SkinRect;
  TRect ClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
  // -1 no usable skin rect; 0 fixed size; 1 nine-slice; 2 horizontal
  // three-slice (free width); 3 vertical three-slice (free height).
  Integer ResizeMode = 0;
  bool StretchEffect = false;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  TspStretchType StretchType = spstFull;
};

// -1 for an empty SkinRect; 1 when both coordinates of RBPt are non-zero;
// else 2 when a coordinate of RTPt is; else 3 when one of LBPt is; else 0.
Integer CalcResizeMode(const TRect& SkinRect, const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt,
                       const TPoint& RBPt);
inline Integer CalcResizeMode(const TspSkinGeometry& G) {
  return CalcResizeMode(G.SkinRect, G.LTPt, G.RTPt, G.LBPt, G.RBPt);
}

// Adjusts a proposed size to the skin and moves the points and the client
// rect for it (dW, dH from the size passed in). Mode 0 fixes both sides
// (only when Skinned), 2 the height, 3 the width; points a mode does not
// name keep their values.
void CalcSkinSize(TspSkinGeometry& G, bool Skinned, Integer& AWidth, Integer& AHeight);

// The client rect of a look that keeps any size and stretches its image:
// ClRect with its right and bottom edges moved by the size difference.
TRect FreeSizeClientRect(const TRect& ClRect, const TRect& SkinRect, Integer AWidth, Integer AHeight);

// A rect in skin-rect coordinates moved to the control's size Width x Height.
TRect MapSkinRect(const TspSkinGeometry& G, Integer Width, Integer Height, const TRect& R);

// ---------------------------------------------------------------------------
// Button looks

// Which of a button's skin images a paint uses.
enum TspButtonImage : Byte { biNormal, biActive, biDown, biDisabled, biFocused };

struct TspPushButtonLook {
  bool Enabled = true;
  bool HasDisabledRect = false;
  bool PressedLook = false;
  bool Focused = false;
  bool HasFocusedRect = false;
  bool AnimationRunning = false;
  bool MouseIn = false;
  bool MorphPossible = false;
  double MorphKf = 0;
};
// The push button's single image (without a cross-fade under way).
TspButtonImage ChoosePushButtonImage(const TspPushButtonLook& L);
// The speed button's: disabled, pressed, hot (or faded in), normal.
TspButtonImage ChooseSpeedButtonImage(bool Enabled, bool HasDisabledRect, bool PressedLook, bool MouseIn,
                                      bool MorphActive, double MorphKf);

// The 1-based frame of a glyph strip of NumGlyphs frames.
Integer ButtonGlyphNumber(bool Down, bool MouseIn, bool Enabled, Integer NumGlyphs);

// A cross-fade is under way (the factor strictly between 0 and 1).
inline bool MorphInProgress(double Kf) { return Kf > 0 && Kf < 1; }
// One 20 ms step of a cross-fade towards 1 (Active) or 0, with the system's
// comparisons: a step of 0.2 while below 1 (above 0); otherwise the factor
// is set to 1 (0) and false is returned (the timer stops).
bool MorphTick(double& Kf, bool Active);

// One step of a frame animation of FrameCount frames, forward or back:
// Frame moves by one while it is inside the strip (Repaint tells whether it
// moved); false is returned once it has run past the end (the timer stops).
bool AnimationTick(Integer& Frame, bool Forward, Integer FrameCount, bool& Repaint);
// A frame animation needs a strip, at least one frame and an interval.
bool FrameAnimationUsable(const TRect& AnimateSkinRect, Integer FrameCount, Integer AnimateInterval);
// Frame Frame (1-based) of the strip: side by side when the strip is wider
// than SkinRect, else one under the other. Empty when FrameCount < 1.
TRect AnimationFrameRect(const TRect& AnimateSkinRect, const TRect& SkinRect, Integer FrameCount, Integer Frame);

// ---------------------------------------------------------------------------
// Drop-down buttons

// The drop-down part is 15 pixels wide (or high).
inline constexpr Integer DropDownPartSize = 15;

// The skin names whose looks draw their own 15-pixel drop-down part.
bool IsToolLookName(const String& SkinDataName);

// The drop-down part in client coordinates: with UseTrackRect the
// description's TrackButtonRect moved to the size (right by the width
// difference in mode 2, down by the height difference in mode 3); else the
// bottom 15 pixels (Bottom) or the right 15.
TRect DropDownPartRect(bool UseTrackRect, const TRect& TrackButtonRect, Integer ResizeMode, const TRect& SkinRect,
                       bool Bottom, Integer Width, Integer Height);

// The ArrowMode mark of a speed button: the triangle's three points. False
// (no mark) when ArrowMode is not positive. TextWidth: the caption's width.
bool ArrowModeTriangle(Integer ArrowMode, Integer Width, Integer Height, Integer TextWidth, TPoint (&P)[3]);

// ---------------------------------------------------------------------------
// Panel

struct TspPanelFrame {
  bool Skinned = false;
  bool TransparentMode = false;
  bool CaptionMode = false;
  bool RibbonStyle = false;
  bool UseSkinSize = true;
  bool HasBackgroundPicture = false;
  bool BorderNone = false;  // BorderStyle bvNone
  bool ForceBackground = true;
  bool StretchEffect = false;
  bool AlphaBlend = false;
  Integer ResizeMode = 0;
  Integer Width = 0, Height = 0;
  Integer DefaultCaptionHeight = 22;
  Integer CaptionTextHeight = 0;  // of Caption in the caption font
  TRect NewClRect;
};

// The rect the children are laid out in, from the rect passed in.
TRect PanelClientRect(const TspPanelFrame& P, const TRect& Rect);

// The six paint paths, first match wins.
enum TspPanelPaintPath : Byte {
  ppCaptionStrip = 1,  // skinned caption strip over the "panel" image
  ppTransparent,       // what lies behind, a thin frame
  ppGroupBox,          // what lies behind, a group-box outline
  ppBase,              // the stretchable base's paint
  ppBorderless,        // the skin's client piece tiled, straight on the canvas
  ppSkinned            // base paint (or background picture), then ShowCaption
};
TspPanelPaintPath PanelPaintPath(const TspPanelFrame& P);

// The default caption strip: the rect its two frames go around.
TRect PanelCaptionStripRect(bool BorderFrame, bool RibbonStyle, Integer Width, Integer Height,
                            Integer DefaultCaptionHeight);
// Text x of a panel caption in R: Indent (2 for the default look, 0 for the
// skinned one) after the left edge or the centre; right aligned at R.Right.
// W: the caption's width with its image and spacing.
Integer PanelCaptionTextX(const TRect& R, TAlignment Align, Integer W, Integer Indent);
// Vertical centre of an item of height H in R.
inline Integer CentredTop(const TRect& R, Integer H) { return R.Height() / 2 + R.Top - H / 2; }

// ---------------------------------------------------------------------------
// Check and radio box

// The box of the default looks: 14 x 14 at x 3, centred.
inline TRect CheckBoxFrameRect(Integer H) { return TRect(3, H / 2 - 7, 17, H / 2 + 7); }
inline TPoint CheckMarkPos(Integer H) { return TPoint(7, H / 2 - 4); }
inline TPoint RadioDotPos(Integer H) { return TPoint(7, H / 2 - 3); }
// Where the caption of a flat box starts (default look 22; skinned, the
// check image's width + 7).
inline constexpr Integer FlatCheckTextLeft = 22;
// The single-line caption rect of a flat box: the text's size at Left,
// centred vertically, its right edge cut to Width - 2.
TRect FlatCheckTextRect(Integer Left, Integer TextWidth, Integer TextHeight, Integer Width, Integer Height);
// The focus frame around a caption rect: 2 wider and 1 higher on each side,
// one more on the right.
inline TRect CheckFocusRect(const TRect& T) { return TRect(T.Left - 2, T.Top - 1, T.Right + 3, T.Bottom + 1); }

// Which check image a state shows.
enum TspCheckImage : Byte {
  ciCheck,
  ciUnCheck,
  ciActiveCheck,
  ciActiveUnCheck,
  ciUnEnabledCheck,
  ciUnEnabledUnCheck
};
// The image a box state draws; Grayed states take the checked image of the
// same row (brightened or replaced by a grayed image by the caller).
TspCheckImage ChooseCheckImage(bool Enabled, bool MouseIn, bool Checked, bool Grayed);

// ---------------------------------------------------------------------------
// Bevel

// One line of a bevel: points in order (the last one not drawn) and its
// colour: 1 the left-and-top colour, 2 the right-and-bottom one.
struct TspBevelLine {
  std::vector<TPoint> Points;
  Integer Colour;
  friend bool operator==(const TspBevelLine&, const TspBevelLine&) = default;
};
// Shape in the class library's order: box, frame, top line, bottom line,
// left line, right line, spacer.
void BevelLines(Integer Shape, bool DividerMode, Integer Width, Integer Height, std::vector<TspBevelLine>& Lines);
