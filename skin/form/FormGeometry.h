// The frame geometry of a skinned form as pure rules over rectangles and
// points: the skin's [FORMINFO] geometry mapped to a form size, the default
// look's sizes, the hit-test zones, the mask shape test, the parking place
// of minimised forms and the magnetic snap to the work area. The form
// component (skin/form/win/FormSkin.h) keeps the state and calls these.
// Portable header: no Windows header.
#pragma once

#include <functional>

#include "skin/data/SkinFormInfo.h"
#include "skin/data/SkinTypes.h"
#include "skin/data/SpLayout.h"

// Hit-test answers (the platform's values).
inline constexpr Integer spHTCLIENT = 1;
inline constexpr Integer spHTCAPTION = 2;
inline constexpr Integer spHTLEFT = 10;
inline constexpr Integer spHTRIGHT = 11;
inline constexpr Integer spHTTOP = 12;
inline constexpr Integer spHTTOPLEFT = 13;
inline constexpr Integer spHTTOPRIGHT = 14;
inline constexpr Integer spHTBOTTOM = 15;
inline constexpr Integer spHTBOTTOMLEFT = 16;
inline constexpr Integer spHTBOTTOMRIGHT = 17;
// The frame's own area (objects and the rest of the frame).
inline constexpr Integer spHTOBJECT = 19;

// The geometry of the frame at one form size (window coordinates).
struct TspFrameRects {
  Integer W = 0, H = 0;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect, NewCaptionRect, NewButtonsRect;
  Integer NewButtonsOffset = 0;
  bool NewButtonsInLeft = false;
  TRect NewMaskRectArea;
  TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
  TRect NewIconRect, NewMainMenuRect;
};

// The skin's frame picture size with its geometry.
struct TspFrameSkin {
  const TspSkinFormInfo* Info = nullptr;
  Integer PW = 0, PH = 0;
};

// The picture has stretchable middle parts (RBPoint differs from LTPoint in
// both directions).
bool FrameSkinResizable(const TspSkinFormInfo& S);

// Maps the skin geometry to W x H. ButtonsInLeft is set (never cleared) when
// the skin's button rectangle starts in the left half of the picture.
void CalcFrameRects(const TspFrameSkin& S, Integer W, Integer H, TspFrameRects& R, bool& ButtonsInLeft);
// A rectangle of the frame picture at the size R was computed for: corners
// keep their size, anything in a corner zone moves with its corner, a
// rectangle spanning zones stretches.
TRect MapFrameRect(const TspFrameSkin& S, const TspFrameRects& R, const TRect& Rect);
// The same for a named area; with anchors the anchor flags decide.
TRect MapFrameAreaRect(const TspFrameSkin& S, const TspFrameRects& R, const TRect& Rect, bool UseAnchors,
                       bool AnchorLeft, bool AnchorTop, bool AnchorRight, bool AnchorBottom);

// ---------------------------------------------------------------------------
// The default look

inline constexpr Integer DefaultFrameBorder = 3;
inline Integer DefaultCaptionHeight(bool ToolWindow) { return ToolWindow ? 15 : 19; }
inline Integer DefaultButtonSize(bool ToolWindow) { return ToolWindow ? 13 : 17; }
// Where the caption text starts in the caption bitmap of width Bw with the
// button space L on the left and R on the right, for a text TextW wide.
inline Integer DefaultCaptionTextX(Integer Bw, Integer L, Integer R, Integer TextW) {
  return L + (Bw - L - R) / 2 - (TextW + 5) / 2;
}

// The default hit test. Sizing: the form may be sized here (not maximised,
// minimised, rolled up, and Sizeable). ObjectHot: a frame object is hot.
Integer DefaultFrameHitTest(TPoint P, Integer W, Integer H, bool Sizing, bool ObjectHot, const TRect& CaptionRect,
                            Integer CaptionHeight);

// ---------------------------------------------------------------------------
// Skinned hit testing

// The sizing zone of P (corners inclusive, edges half-open), 0 for none.
Integer FrameSizingZone(TPoint P, const TspFrameRects& R);

// The mask cut into four strips at the current size: the pixel reader
// answers whether (X, Y) of a strip is black; the sizes bound every read.
enum TspMaskStrip : Byte { msTop, msBottom, msLeft, msRight };
struct TspMaskShape {
  TRect MaskRect;  // NewMaskRectArea
  Integer W = 0, H = 0;
  TPoint Strip[4];  // width (X) and height (Y) of the top, bottom, left, right strip
  std::function<bool(TspMaskStrip, Integer, Integer)> Black;
};
// Whether the window point P lies in the mask's shape. A coordinate outside
// the window or outside the strip that holds it counts as outside.
bool PointInMaskShape(TPoint P, const TspMaskShape& M);
// Whether the form's outline (the window rectangle without a mask, else the
// mask's shape) lies within B pixels of P horizontally or vertically.
bool NearFrameEdge(TPoint P, Integer B, const TspMaskShape* Mask);

// ---------------------------------------------------------------------------
// Places

// The first free place of a minimised form w x h in Area: rows from the
// bottom-left corner to the right, rows upward; when the area is full, the
// first place of the bottom row. Always ends (steps are at least 1).
TPoint FindMinimizedPlace(const TRect& Area, Integer w, Integer h, const std::function<bool(TPoint)>& Taken);

// Magnetic snapping of a moving form to the edges of the work area.
struct TspSnapState {
  bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
  TPoint MouseDownCoord{-1, -1};
  void Clear() { HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false; }
};
// Border: the layered border's sizes (left, top, right, bottom) when its
// outer rectangle is snapped, else nullptr.
void SnapToArea(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight, const TRect& Area, Integer M,
                TPoint Cursor, TspSnapState& S, const Integer* Border);

// The left-top corner that centres a AW x AH rectangle on R.
TPoint CentreInArea(const TRect& R, Integer AW, Integer AH);
