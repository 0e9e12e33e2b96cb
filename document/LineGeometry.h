// The geometry of the line and arrow object: the four points (1 start,
// 4 end, 2 and 3 the middle points), the middle points each style places,
// the sampled Bezier curve, the bounding rectangle, the figures, heads and
// dots that make up the drawn outline, hit tests and handle drags.
// Portable: no Windows header; TImgLine (document/win/ImageLine.h) draws
// what these describe.
#pragma once

#include <array>
#include <vector>

#include "document/DuVura.h"

// Styles come in five groups of three: the group decides the path, the
// member the decoration.
enum class TLinePath { Straight, Bezier, Bent, Elbow, MiddleHead, None };
TLinePath LinePathOf(Integer StyleId);

// Points 1..4 (index 0 unused).
using TLinePoints = std::array<TPoint, 5>;

struct TLineHead {
  std::vector<TFloatPoint> Points;  // 3 (triangle), 4 (notched) or 6 (chevron)
};

// Everything a line draws, in image coordinates.
struct TLineOutline {
  TLinePath Path = TLinePath::None;
  // The line figure before widening: a polyline, or the four Bezier points.
  std::vector<TFloatPoint> Figure;
  std::vector<TLineHead> Heads;
  // Dot boxes (Left, Top, Left + D, Top + D) of the ellipses.
  std::vector<TRect> Dots;
};

// The head polygon aimed from From with its tip at Tip for a head kind
// (0 triangle 4w, 1 notched 5w, 2 chevron 2w deep 5w); empty for another
// kind.
TLineHead LineHead(Integer ArrowType, const TPoint& From, const TPoint& Tip, Integer W);
// The dot box around P for pen width W.
TRect LineDotBox(const TPoint& P, Integer W);

// Places the middle points from the ends. Straight and middle-head styles
// always; Bezier and bent styles only while creating or forced; elbows
// unless their middle handle (2 or 3) is being dragged.
void LineCalcPoints(TLinePoints& P, Integer StyleId, bool Creating, bool Force, bool MiddleDragged);
// The cubic curve through 1, 2, 3, 4 sampled at 101 points, or at n + 1
// points when its larger extent n exceeds 101; each coordinate rounded.
void LineSampleBezier(const TLinePoints& P, TArrayOfPoint& Samples);
// The bounding rectangle by style (Bezier: inclusive bounds of the
// samples); Old for a style above 14.
TRect LineCalcRect(const TLinePoints& P, Integer StyleId, const TArrayOfPoint& Samples, const TRect& Old);
// The figures, heads and dots of a line or arrow of pen width W.
TLineOutline LineBuildOutline(const TLinePoints& P, Integer StyleId, bool IsArrow, Integer ArrowType, Integer W);
// Hit test with tolerance OutWidth div 2 + 1. A Bezier style tests its
// samples inside SRect grown by the tolerance, so a flat curve is
// reachable.
bool LineHitTest(const TLinePoints& P, Integer StyleId, const TRect& SRect, const TArrayOfPoint& Samples,
                 Integer OutWidth, const TPoint& Pt);
// A handle drag: handle K follows the mouse from its start; the elbow's
// middle handle (2) moves the middle segment; Shift snaps the dragged end
// of straight, bent and middle-head styles to horizontal or vertical.
void LineAdjust(TLinePoints& P, Integer StyleId, Integer Handle, Integer X1, Integer Y1, Integer X2, Integer Y2,
                Integer StartX, Integer StartY, bool Shift);
// The elbow's middle handle between the view points of 2 and 3.
TPoint LineElbowHandle(const TPoint& V2, const TPoint& V3);
// A rectangle that holds every pixel the line can paint (the curve lies in
// the hull of its points; heads, dots, joins and smoothing added).
TRect LinePaintBounds(const TLinePoints& P, Integer W);
