// The geometry of the polygon object: drawn polygons (style 0) and open
// polylines (5), the diamond (1), regular polygons and stars generated
// around a centre (the others up to 14), vertex drags, the vertex text and
// the hit test. Portable: no Windows header; TImgPolygon
// (document/win/ImagePolygon.h) draws what these describe.
#pragma once

#include "document/DuVura.h"

// The generation of a style: Count vertices from Start degrees (0 right, 90
// down); Inner > 0 makes a star whose odd vertices lie at Inner x R.
struct TPolygonKind {
  Integer Count = 0;
  Single Start = 0;
  Single Inner = 0;
};
// False for styles 0, 1, 5 and unknown styles.
bool PolygonKindOf(Integer StyleId, TPolygonKind& K);
bool PolygonIsDrawn(Integer StyleId);  // styles 0 and 5

// What a generation starts from.
struct TPolygonGen {
  TRect Box;
  TFloatPoint Centre;
  bool Fresh = true;          // creating, or forced: radius and angle from the box
  TPoint Adjusted;            // else: the dragged vertex's position
  Integer Dragged = 0;        // and its index
  TArrayOfGPPoint Current;    // the vertices before the drag
};
// The vertices of a diamond or a generated style (empty for another
// style; Current for drawn styles).
TArrayOfGPPoint PolygonGenerate(Integer StyleId, const TPolygonGen& G);

// Appends P unless it equals the last vertex.
void PolygonAddPoint(TArrayOfGPPoint& Points, const TPoint& P);
// The box of the vertices (inclusive bounds); the diamond keeps Box.
TRect PolygonRect(Integer StyleId, const TArrayOfGPPoint& Points, const TRect& Box);
// Vertices from a row's text; a text that does not parse gives none, and a
// diamond or generated style whose count differs from its own is generated
// afresh from Box (fresh). False when the text was not used.
bool PolygonSetPointsText(const String& Text, Integer StyleId, const TRect& Box, const TFloatPoint& Centre,
                          TArrayOfGPPoint& Points);
// Whether the style's path can be drawn: two vertices for the open
// polyline, three for a closed polygon.
bool PolygonDrawable(Integer StyleId, const TArrayOfGPPoint& Points);
// Filled: inside Box (right and bottom + 1) and inside the polygon by the
// even-odd rule. Otherwise within OutWidth div 2 + 1 of an edge (the open
// polyline has no closing edge) inside Box grown by that tolerance.
bool PolygonHitTest(Integer StyleId, const TArrayOfGPPoint& Points, const TRect& Box, bool Filled, Integer OutWidth,
                    const TPoint& P);
