// The document's own arithmetic: crop ratios and the fixed-ratio drag,
// snapping to guides, the canvas handles and the resize label, watermark
// placement, the ruler pick, and the guide and ruler texts of the document
// properties. Portable: no Windows header.
#pragma once

#include <array>
#include <vector>

#include "document/DuVura.h"
#include "foundation/data/HyDataTable.h"

// --- crop

// The width / height rate of a crop-ratio index: 0 the view's own
// (ViewWidth / ViewHeight), 1..9 the fixed ratios, -1 free (-1); false for
// any other index.
bool CropRateOfIndex(Integer Index, Integer ViewWidth, Integer ViewHeight, Single& Rate);
// The drag end's Y for a crop of fixed Rate dragged from (X1, Y1) to
// (X2, Y2), by quadrant.
Integer CropFixedY2(Integer X1, Integer Y1, Integer X2, Integer Y2, Single Rate);

// --- guides

// The correction that snaps a dragged edge to the first guide that
// catches: with t = min(Extent div 2, 15) (nothing when t <= 0), per guide
// in order the far edge (High + Delta), then the near edge (Low + Delta)
// within t, then the centre (Low + Extent div 2 + Delta) within t - 4.
// 0 when no guide catches.
Integer GuideSnap(const std::vector<Integer>& Guides, Integer Low, Integer High, Integer Extent, Integer Delta);

// Positions of a "."-separated guide text; empty and non-numeric parts are
// skipped.
std::vector<Integer> ParseGuides(const String& Text);
String GuidesText(const std::vector<Integer>& Guides);

struct TRulerState {
  bool Enabled = false;
  TPoint P1, P2;
};
// The ruler of its property text ("enabled.x1.y1.x2.y2"); a text of fewer
// than five parts leaves the ruler off at (0, 0).
TRulerState ParseRuler(const String& Text);
// Which part of the ruler (view pixels) lies under Pt: 1 the first end, 2
// the second, 0 the line, -1 none (nearer than 10 pixels counts).
Integer RulerPick(const TPoint& P1, const TPoint& P2, const TPoint& Pt);

// --- canvas handles

// Entries 1..8 of the eight canvas handles around the image's view
// rectangle View, each W x W; the middle handles only when their side is
// over 20 pixels (the others stay empty). Entry 0 unused.
using TCanvasHandles = std::array<TRect, 9>;
TCanvasHandles CanvasHandleRects(const TRect& View, Integer W);
// The view rectangle with the edges handle Index moves shifted by
// (Dx, Dy), kept 1 pixel from the opposite ones.
TRect CanvasDragRect(const TRect& View, Integer Index, Integer Dx, Integer Dy);
// The new image size of a canvas drag, each side at least 1.
void CanvasDragSize(Integer Index, Integer W, Integer H, Integer Dx, Integer Dy, Integer& NewW, Integer& NewH);
// "W × H".
String CanvasSizeLabel(Integer W, Integer H);

// --- watermark

// The tile positions over a LayerW x LayerH layer of a W x H picture with
// spacings SD1, SD2; the step is at least one pixel.
std::vector<TPoint> WatermarkTiles(Integer LayerW, Integer LayerH, Integer W, Integer H, Integer SD1, Integer SD2);
// The position of a single W x H picture by location (0 top left, 1 top
// right, 2 bottom left, 3 bottom right, 4 centre, else (0, 0)) with edge
// distances ED1, ED2 in percent of the layer.
TPoint WatermarkPosition(Integer Location, Integer LayerW, Integer LayerH, Integer W, Integer H, Integer ED1,
                         Integer ED2);
