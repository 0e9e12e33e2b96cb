// The bridge between Win32 and libgdiplus: loads the library, then puts our
// own functions into the slots of the flat functions that take or return a
// Win32 handle (libgdiplus would read a Wine handle as a pointer to one of
// its own objects).
//
// A graphics made on a DC (GdipCreateFromHDC) draws on the 32-bit top-down
// DIB section selected into that DC:
//  - it draws into a zeroed premultiplied (PARGB) scratch bitmap of the DIB's
//    size; GdipDeleteGraphics composes the scratch onto the DIB with
//    straight-alpha source-over, skipping scratch pixels of alpha 0, so
//    untouched DIB pixels stay byte-identical and drawn pixels hold straight
//    (non-premultiplied) ARGB, like every bitmap of the engine;
//  - the results are in the DIB once GdipDeleteGraphics has returned, not
//    before; the DIB must stay alive and unresized until then;
//  - drawing composes source-over: a compositing mode other than SourceOver,
//    or a Clear with a translucent colour, do not replace the DIB's pixels;
//  - the release composes only what the graphics' drawing calls can have
//    touched: each drawing call records the device bounds of its geometry
//    (through the world transform, grown by its pen's reach and two pixels
//    of smoothing; calls without a cheap bound, such as text, arcs, curves,
//    regions and Clear, record the whole surface), so its cost follows the
//    drawn area, not the DIB's size. Pixels are the same as composing all;
//  - when the DC has a clip region (SelectClipRgn) at creation, only pixels
//    inside it are composed; the drawing itself is not clipped, so the
//    pixels inside are exactly those of an unclipped graphics.
// Any other DC (no DIB section, not 32 bits, bottom-up) gives a nil graphics
// and InvalidParameter.
//
// Functions whose slot holds ours because libgdiplus stubs or approximates
// them:
//  - GdipWidenPath strokes the flattened figures with the pen (width, pen
//    transform as its mean scale, start, end and dash caps flat, square,
//    round or triangle, miter, bevel and round joins with the miter limit,
//    dash styles and custom dashes with their offset) into polygons filled
//    with the winding rule (libgdiplus only flattens);
//  - path gradient brushes are painted by the bridge on DC surfaces
//    (GdipFillPath, FillRectangle, FillEllipse, FillPolygon): the colour runs
//    from the centre to the brush's own outline, with surround colours,
//    focus scales and factor or preset blends (libgdiplus paints a circle of
//    radius min(w, h) / 2 about the centre whatever the path), mixed in
//    linear light (gamma 2.2) when the brush's gamma correction is on. The
//    brush's outline is recorded when the brush is created from points or a
//    path;
//  - linear gradient brushes with gamma correction on are painted the same
//    way (libgdiplus ignores the flag): the axis is recorded at creation
//    (two points, a rectangle with a mode, or a rectangle with an angle,
//    scalable angles taken in the rectangle's unit square), colours, factor
//    and preset blends are interpolated in linear light (gamma 2.2), tiles
//    and flipped tiles as the wrap mode says; the brush transform is not
//    applied;
//  - GdipWindingModeOutline replaces the path by the outline of the area its
//    figures cover under the winding rule (closed loops, no inner edges);
//    libgdiplus flattens and answers NotImplemented;
//  - GdipAddPathEllipse(I) adds the ellipse clockwise on the screen, as GDI+
//    does and as rectangles run (libgdiplus runs it the other way, so an
//    ellipse and an overlapping polygon cancel in a winding path).
#pragma once

#include "platform/GdiPlusFlat.h"

namespace gdipflat {

// Loads libgdiplus (once) and installs the bridge functions. False with a
// one-line message when the library or one of its functions is missing.
bool LoadGdiPlus(const char** Error);

// Number of DC surfaces alive (graphics made by GdipCreateFromHDC and not
// yet deleted).
int BridgeSurfaceCount();

// The threads the bridge's own gradient painting may use for one fill: 0
// (the default) one per processor, at most 8; 1 the calling thread alone.
// Returns the previous setting. The pixels are the same either way.
int SetBridgePaintThreads(int N);

}  // namespace gdipflat
