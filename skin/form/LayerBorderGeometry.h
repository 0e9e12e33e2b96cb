// The numbers of a form's layered border as pure rules: the sizing bands
// and corner zones taken from the skin's layer-frame description, the outer
// rectangle around the form, how the four window images are cut from the
// source picture, what a point of a border window does, the size and move
// steps of a drag on the border and the steps of its fade-in. The border
// and its windows (skin/form/win/FormLayerBorder.h) keep the state and call
// these. Portable header: no Windows header.
#pragma once

#include <vector>

#include "skin/data/SkinSpecialData.h"
#include "skin/data/SkinTypes.h"

// Which of the four border windows.
enum TspFormLayerBorderType : Byte { spflLeft, spflTop, spflRight, spflBottom };

// What a point of a border window does.
enum TspFormLayerBorderHit : Byte {
  spflhNone,
  spflhLeft,
  spflhTop,
  spflhRight,
  spflhBottom,
  spflhTopLeft,
  spflhTopRight,
  spflhBottomLeft,
  spflhBottomRight,
  spflCaption,
  spflObject
};

// Widths of the sizing bands outside the form and extents of the four
// corner zones, measured from the outer corners of the border rectangle.
struct TspLayerBorderSizes {
  Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
  Integer HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
  Integer HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
};

// The bands and corner zones of description D. An empty BorderRect zeroes
// the four band widths and leaves the corner values as S had them.
void LayerBorderSizes(const TspDataSkinLayerFrame& D, TspLayerBorderSizes& S);

// The outer rectangle of the border around a form at (L, T) of width W whose
// height for the border is FH (already the collapsed height or the height
// with D.HeightOffset), for a source picture of SrcW x SrcH.
TRect LayerOuterRect(const TspDataSkinLayerFrame& D, Integer SrcW, Integer SrcH, Integer L, Integer T, Integer W,
                     Integer FH);

// How the four images of an outer size AWidth x AHeight are cut from a
// source picture of SrcW x SrcH (four-piece mode; RBPoint (0, 0) is the
// single-picture mode, which has no bands).
struct TspLayerBands {
  Integer TopH = 0;        // rows of the top image
  Integer BottomH = 0;     // rows of the bottom image
  Integer BottomSrc = 0;   // first source row of the bottom image (1:1 rows)
  Integer BottomBand = 0;  // the skin's bottom band: c = SrcH - min(LBPoint.Y, RBPoint.Y)
  Integer MidH = 0;        // rows of the side images (0: none)
  Integer StripTop = 0, StripBottom = 0;  // source rows of the side strips
  Integer LeftW = 0, RightW = 0;          // widths of the side images
};
bool LayerSinglePicture(const TspDataSkinLayerFrame& D);
// A short outer height gives a bottom image of AHeight - TopH rows taken
// from the lowest rows of the skin's bottom band (none when AHeight <= TopH);
// a source without rows between the two bands gives no side images.
TspLayerBands LayerBands(const TspDataSkinLayerFrame& D, Integer SrcW, Integer SrcH, Integer AWidth,
                         Integer AHeight);

// One tile of a side image: destination rows [DstTop, DstTop + Rows) take
// the first Rows rows of the strip.
struct TspLayerTile {
  Integer DstTop, Rows;
};
// Tiles of a strip of StripH rows over MidH rows, the last one cut.
std::vector<TspLayerTile> LayerSideTiles(Integer MidH, Integer StripH);

// What point P (screen) of border window Kind (screen rectangle Window) does
// for a form at L, T of W x H that may be sized from its border; frame
// objects and the caption are the window's business.
TspFormLayerBorderHit LayerBorderHitZone(const TspDataSkinLayerFrame& D, const TspLayerBorderSizes& S,
                                         TspFormLayerBorderType Kind, const TPoint& P, Integer L, Integer T,
                                         Integer W, Integer H, const TRect& Window);

// One sizing step of a drag on the border: the form at L, T of W x H within
// the size limits, the cursor moved by DX, DY to P (screen). False when the
// step is skipped; else the new bounds (left, top, width, height).
struct TspLayerDragForm {
  Integer L = 0, T = 0, W = 0, H = 0;
  Integer MinW = 0, MaxW = 0, MinH = 0, MaxH = 0;
};
struct TspLayerBounds {
  Integer L = 0, T = 0, W = 0, H = 0;
};
bool LayerSizeStep(TspFormLayerBorderHit Hit, const TspLayerDragForm& F, const TspLayerBorderSizes& S,
                   Integer HitTestSize, Integer DX, Integer DY, const TPoint& P, TspLayerBounds& Out);

// The constant alpha after each step of the border's fade-in to Target.
std::vector<Integer> LayerFadeSteps(Integer Target);
// An alpha value scaled by the form's own alpha (halves to even).
Integer LayerScaledAlpha(Integer Value, Integer FormAlpha);
