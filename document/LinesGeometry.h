// The geometry of the free-hand stroke (the pencil's object): thinning a
// finished stroke, its box, the per-point ratios that make its points
// follow a resized box, the point and ratio texts of its row, and its hit
// test. Portable: no Windows header; TImgLines (document/win/ImageLines.h)
// draws what these describe.
#pragma once

#include <vector>

#include "document/DuVura.h"

// A stroke: points in image coordinates and each point's place in the box
// as fractions of its width and height (one entry per point, or none).
struct TStrokePoints {
  TArrayOfGPPoint Points;
  std::vector<Single> RX, RY;
};

// The points a finished stroke keeps (first and last always): points nearer
// than 3 pixels to the last kept point go, far ones stay, the others stay
// only where the direction turns by 15 degrees (6 from 10 pixels on).
// BoxW x BoxH is the stroke's box.
TArrayOfGPPoint StrokeThin(const TArrayOfGPPoint& Points, Integer BoxW, Integer BoxH);

// The box: for nibs 0 and 1 with one point the dot's square of side
// OutWidth, otherwise the points' bounds with right and bottom + 1. No
// points give an empty box at (0, 0).
TRect StrokeRect(const TArrayOfGPPoint& Points, Integer StyleId, Integer OutWidth);

// One ratio pair per point: (0.49, 0.49) for one point, otherwise the
// point's place in Box (0 along an empty extent).
void StrokeCalcRatios(const TRect& Box, TStrokePoints& S);
// Each point at (Round(width x RX) + Left, Round(height x RY) + Top); the
// ratios are computed from the points first when their count differs.
void StrokeCalcPoints(const TRect& Box, TStrokePoints& S);

// "X/X/.../Y/Y/..." with 15 significant digits of each ratio.
String StrokeRatioText(const TStrokePoints& S);
// The ratios of such a text for the current points; an empty text, a bad
// number or another count than the points have computes them from the
// points in Box instead. False when the text was not used.
bool StrokeSetRatioText(const String& Text, const TRect& Box, TStrokePoints& S);

// Whether the stroke draws anything: nibs 2 and 3 need two points, the
// others one.
bool StrokeDrawable(const TArrayOfGPPoint& Points, Integer StyleId);
// Hit test within t = OutWidth div 2 + 1: a dot within t of its point; a
// stroke within t of a segment, inside its box grown by t on every side (so
// a flat stroke is hit off its one row); a stroke with an empty box within
// t of its diagonal.
bool StrokeHitTest(const TArrayOfGPPoint& Points, Integer StyleId, const TRect& Box, Integer OutWidth,
                   const TPoint& P);
