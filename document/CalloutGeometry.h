// The geometry of the callout frames (twelve styles): their points as
// fractions of the rectangle, the pointer zones of the two balloons, the
// burst, the point drags and their limits, the frame path of each style,
// the stored point text and how far a pointer reaches beyond the frame.
// Portable: no Windows header; TImgText (document/win/ImageText.h) draws
// the paths these describe.
#pragma once

#include <vector>

#include "document/DuVura.h"

struct TCalloutPoints {
  Integer Zone = 0;                       // styles 1 and 9: the half-side carrying the pointer
  std::vector<Single> RX, RY;             // fractions of the rectangle
  std::vector<Single> R1, R2, R3, R4;     // clouds: control points of each segment
  TArrayOfGPPoint Points;                 // image coordinates, unrotated
};

// The number of points of a style (a burst has 40 in a preview); 0 above 11.
Integer CalloutPointCount(Integer StyleId, bool IsDrawStyle);
// Counts and initial fractions; style 1 zone 5, style 9 zone 6.
void CalloutInitPoints(Integer StyleId, bool IsDrawStyle, TCalloutPoints& C);
// The zone of a tip seen from the centre of Box (1..8 clockwise from the
// top edge's left half).
Integer CalloutZone(const TPoint& Tip, const TRect& Box);
// The points from the fractions and Box (styles 1 and 9 find the pointer's
// zone first; the burst is generated). DraggingTip: the burst's point 1 is
// being dragged and sets its phase and inner radius.
void CalloutCalcPoints(Integer StyleId, const TRect& Box, bool IsForceCalc, bool Creating, bool DraggingTip,
                       TCalloutPoints& C);
// Point K dragged to U (unrotated image coordinates), within its style's
// limits.
void CalloutAdjustPoint(Integer StyleId, Integer K, const TPoint& U, const TRect& Box, TCalloutPoints& C);
// Raises V to Lo, then lowers it to Hi: Hi wins when Lo > Hi.
Single CalloutClamp(Single V, Single Lo, Single Hi);
// "X.X...Y.Y..." ("" for the clouds 2 and 4).
String CalloutPointsText(Integer StyleId, const TCalloutPoints& C);
// The points of such a text, fractions from Box; the clouds, a text that
// does not parse or whose count does not fit the style get the style's
// initial points, calculated. False when the text was not used.
bool CalloutSetPointsText(const String& Text, Integer StyleId, const TRect& Box, TCalloutPoints& C);
// Points stored relative to the rectangle's corner by old files moved into
// image coordinates (not for the clouds).
void CalloutUpgradePoints(Integer StyleId, const TRect& Box, TCalloutPoints& C);
// How far the pointer reaches beyond the frame: styles 1 and 9 the longer
// side of the pointer, style 8 the tip's distance from the centre, else 0.
Integer CalloutMaxOutLength(Integer StyleId, const TRect& Box, const TCalloutPoints& C);

// --- frame paths

enum class TPathOpKind { StartFigure, CloseFigure, Polygon, Line, Arc, Bezier, Ellipse, Outline };
struct TPathOp {
  TPathOpKind Kind = TPathOpKind::StartFigure;
  std::vector<TPoint> Points;   // polygon, line (2), Bezier (4)
  TRect Box;                    // arc and ellipse: (x, y, width, height) in Left..Bottom
  Single Start = 0, Sweep = 0;  // arc, degrees clockwise
};
using TPathOps = std::vector<TPathOp>;
// The corner arc diameter of the rounded balloon: min(Round((W + H) x 0.1), W, H).
Integer CalloutCornerDiameter(Integer W, Integer H);
// The frame path of a callout style over Box; empty above 11.
TPathOps CalloutFramePath(Integer StyleId, const TRect& Box, const TCalloutPoints& C);

// The exact product V x Num / Den rounded half to even (a decimal constant
// times an integer: binary floating point misses true halves).
Integer RoundRatio(Int64 V, Int64 Num, Int64 Den);

// The frame of a text object (styles 0 rectangle, 1 rounded, 2 ellipse, 3
// diamond, 4 octagon, 5 hexagon) over Box; empty for another style.
TPathOps TextFramePath(Integer StyleId, const TRect& Box);
// The rounded frame's corner diameter: min(Round((W + H) x 0.15), W, H).
Integer TextFrameCornerDiameter(Integer W, Integer H);

// Gradient areas of text frames. A callout of style 1 or 9 points at its
// point 1, style 8 at its point 0: those callouts' gradients reach the tip.
bool CalloutTip(Integer StyleId, const TCalloutPoints& C, TPoint& Tip);
// The linear gradient's rectangle (left, top, right, bottom): the frame,
// grown to take in the tip; style 8 then by (W div 6, H div 6) on every side.
TRect TextLinearGradientRect(bool IsCallout, Integer StyleId, const TRect& Box, const TCalloutPoints& C);
// The box of the radial gradient's ellipse about Centre: from Box (widened
// symmetrically to a tip outside it), grown by 10 on every side until Box's
// top-left corner (and that tip) lie inside the inscribed ellipse, at least
// once; style 8 then by (W div 6, H div 6). Plain text passes IsCallout false.
TFloatRect TextRadialGradientRect(bool IsCallout, Integer StyleId, const TRect& Box, const TFloatPoint& Centre,
                                  const TCalloutPoints& C);
