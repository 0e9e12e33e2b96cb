// The selection's arithmetic: the region of every selection kind, the
// ellipse pixel set, pixel runs, the node lasso's nodes, combining and
// inverting, the outline lines at view scale and the ants along them, the
// region as text, moving, and the pictures of a region (RegionToBitmap,
// trimming a lifted picture). TSelectionCore holds the state a selection
// object keeps beside its shape frame; the object (TImgSelection,
// document/win/ImageSelection.h) adds the timer, the drawing and the lifted
// picture.
//
// Coordinates: points, nodes, the region and the alias points are image
// pixels; the outline lines are image pixels times the view's Scale,
// without the view offset.
//
// Portable: no Windows header.
#pragma once

#include <vector>

#include "bitmap/Bmp32.h"
#include "document/EdgeSmoothing.h"
#include "document/Region.h"
#include "document/ShapeTypes.h"

// Selection kinds (the selection object's style number).
namespace SelKind {
inline constexpr Integer Rectangle = 0;
inline constexpr Integer Ellipse = 1;
inline constexpr Integer PolygonLasso = 2;
inline constexpr Integer FreeLasso = 3;
inline constexpr Integer NodeLasso = 4;
inline constexpr Integer PixelList = 5;
inline constexpr Integer MoveTool = 7;
inline constexpr Integer Row = 9;
inline constexpr Integer Column = 10;
}  // namespace SelKind

// One outline segment; both ends belong to it.
struct TLine {
  TPoint StartPoint, EndPoint;
  friend bool operator==(const TLine&, const TLine&) = default;
};
using TArrayOfLine = std::vector<TLine>;

// What a selection gathers while it is drawn.
struct TSelectionInput {
  // Kinds 2, 3, 4: the points; a point equal to the last is not added.
  std::vector<TPoint> Points;
  // Kind 5: the listed pixels as row runs, in the order they came (a run
  // grows while pixels continue it on the same row).
  std::vector<TRegionRun> Runs;
  // The pointer while creating; X = UnsetPosition: none yet.
  TPoint PointMoved{UnsetPosition, 0};

  void AddPoint(Integer Kind, Integer X, Integer Y);
  // A run of pixels X0 .. X1 - 1 of row Y for kind 5.
  void AddRun(Integer Y, Integer X0, Integer X1);
  // Drops the last point while more than one remains.
  void DeleteLastPoint();
  Integer PointsCount() const { return Integer(Points.size()); }
  // At least one point, and the last point's X equals the pointer's.
  bool IsTest() const { return !Points.empty() && Points.back().X == PointMoved.X; }
  void Clear();
};

// --- pixel sets

// The ellipse pixel set of a rectangle as row runs, row by row.
std::vector<TRegionRun> EllipseRuns(const TRect& R);
// The region of a selection kind (ImageRect: the raster's rectangle, for
// the row and column kinds); kinds without one give an empty region.
TRegion KindRegion(Integer Kind, const TRect& R, const TSelectionInput& In, const TRect& ImageRect);

// The nodes of a node lasso from its points and the region built from them.
std::vector<TPoint> DeriveNodePoints(const TRegion& Region, const std::vector<TPoint>& Points);
// Where a new node at P goes: the index it takes in the node list (after the
// first node of the nearest edge; the closing edge, tested last, puts it
// after the last node).
Integer NodeInsertIndex(const std::vector<TPoint>& Nodes, const TPoint& P);

// --- outline

// The outline of Region at view scale (Algorithms of the outline: bands,
// the gaps of the band above, the lower edges over gaps below). The lists
// grow as lines are made.
void CalcOutlineLines(const TRegion& Region, Single Scale, TArrayOfLine& Horz, TArrayOfLine& Vert);

// An outline that is moved by image pixels at a view scale: the unrounded
// total move is kept in view units and the lines move by the change of its
// rounded value, so they stay on the region at any zoom.
class TOutlineShift {
 public:
  void Reset() { *this = TOutlineShift(); }
  // The view move for an image move of (DX, DY).
  TPoint Step(Integer DX, Integer DY, Single Scale);

 private:
  double FTotalX = 0, FTotalY = 0;
  Int64 FAppliedX = 0, FAppliedY = 0;
};
void OffsetLines(TArrayOfLine& Lines, Integer DX, Integer DY);

// The ants: every pixel of every line, moved by (OffsetX, OffsetY) and
// clipped to Target, takes Pattern's pixel at column x mod 8 and row
// (y - Phase + 8) mod 8 (Pattern: 8 x 8).
void DrawAnts(TCustomBitmap32* Target, const TArrayOfLine& Horz, const TArrayOfLine& Vert, Integer OffsetX,
              Integer OffsetY, const TCustomBitmap32* Pattern, Integer Phase);
// The 8 x 8 ants pattern: black where (x + y) mod 8 < 4, white elsewhere.
void MakeAntsPattern(TCustomBitmap32* Pattern);

// --- text

// "L.T.R.B" of every rectangle in banded order, joined by ".".
String RegionToText(const TRegion& Region);
// The rectangles of such a text: groups of four numbers; a trailing partial
// group, a group with a non-number and a group with Right <= Left or
// Bottom <= Top are skipped. False when nothing is left.
bool TextToRects(const String& Text, std::vector<TRect>& Rects);

// --- pictures of a region

// UseSrcSize: a full-size copy of Src with every pixel outside the region
// (or outside the region's box clipped to Src) set to 0. Otherwise a bitmap
// of the clipped box's size copied from Src at the box, OriginPoint its
// top-left, with IsClearOutRegion every pixel outside the region set to 0.
// nullptr when the clipped box is empty (and not UseSrcSize).
TCustomBitmap32* RegionToBitmap(const TRegion& Region, TCustomBitmap32* Src, bool UseSrcSize, bool IsClearOutRegion,
                                TPoint& OriginPoint);
// A lifted picture that covered OldBox cut to NewBox after a subtraction:
// the old pixels at their image positions, the subtracted pixels 0, draw
// mode blend and combine mode merge.
void TrimLiftedPicture(TCustomBitmap32* Picture, const TRect& OldBox, const TRect& NewBox,
                       const TRegion& Subtracted);

// ---------------------------------------------------------------------------

// The state of a selection beside its frame.
class TSelectionCore {
 public:
  TSelectionInput Input;

  bool HasRegion() const { return !FRegion.Empty(); }
  const TRegion& Region() const { return FRegion; }
  // Replaces the region (undo); the outline is not rebuilt.
  void SetRegion(const TRegion& R) { FRegion = R; }
  void ClearRegion() { FRegion.Clear(); }

  const std::vector<TPoint>& AliasPoints() const { return FAliasPoints; }
  void SetAliasPoints(const TPoint* P, Integer Count) { FAliasPoints.assign(P, P + Count); }
  const std::vector<TPoint>& NodePoints() const { return FNodePoints; }
  void SetNodePoints(const TPoint* P, Integer Count) { FNodePoints.assign(P, P + Count); }
  bool NodeAntialiasing() const { return FNodeAntialiasing; }
  void SetNodeAntialiasing(bool V) { FNodeAntialiasing = V; }

  const TArrayOfLine& HorzLines() const { return FHorzLines; }
  const TArrayOfLine& VertLines() const { return FVertLines; }

  // The region of the kind from the gathered input; the node lasso derives
  // its nodes (its alias points come later, when pixels are cut); the
  // outline is rebuilt; the others update their alias points (add mode).
  // False, and no region, when it is empty.
  bool CreateRegion(Integer Kind, const TRect& R, const TRect& ImageRect, bool IsAntialiasing, Single Scale);
  // The union of the rectangles. False, no region, when it is empty.
  bool CreateRegionFromRects(bool IsAntialiasing, const std::vector<TRect>& Rects, Single Scale);
  // Adds (Expanding) or subtracts the region of a second selection. False
  // when nothing changed: a node lasso as the second selection, or a
  // subtraction that would leave nothing (the region stays). Subtracted
  // receives what a subtraction took away.
  bool CombineRegion(bool Expanding, bool IsAntialiasing, Integer Kind, const TRect& R, const TSelectionInput& In,
                     const TRect& ImageRect, Single Scale, TRegion* Subtracted);
  // The whole image (All) or the image minus the region; alias points
  // cleared first. False, no region, when the result is empty.
  bool CombineRegionAuto(bool IsAntialiasing, bool All, const TRect& ImageRect, Single Scale);
  // Alias points after a region change (RH: the region that was built,
  // added or subtracted).
  void UpdateAliasPoints(const TRegion& RH, TAliasMode Mode, bool IsAntialiasing);

  // Node lasso: inserts a node, moves one; the region follows.
  void AddNodePoint(Integer X, Integer Y, Single Scale);
  void MoveNode(Integer Index, Integer X, Integer Y, Single Scale);

  // Moves region, alias points and nodes by (DX, DY) image pixels and the
  // outline by the matching view pixels.
  void Offset(Integer DX, Integer DY, Single Scale);
  // Rebuilds the outline at Scale.
  void CalcRegionRects(Single Scale);

 private:
  void RegionFromNodes();

  TRegion FRegion;
  std::vector<TPoint> FAliasPoints;
  std::vector<TPoint> FNodePoints;
  bool FNodeAntialiasing = false;
  TArrayOfLine FHorzLines, FVertLines;
  TOutlineShift FShift;
};
