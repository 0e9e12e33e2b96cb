// Drawing helpers of the application unit: the rounded, shaded background of a
// selected or hot list item, and the checkerboard behind transparent images.
// Winelib only (GDI+ on the bitmap's device context, system colours).
#pragma once

#include "rtl/System.h"

class TBitmap32;

// The look of a list item's background.
inline constexpr Integer ItemBackgroundSelected = 1;
inline constexpr Integer ItemBackgroundHot = 2;

// Paints the background of a list item into Bitmap through GDI+: a figure of
// four arcs of 6 x 6 pixels round the rectangle at (Left, Top) of width
// Right - 1 and height Bottom - 1 (its left edge drawn only when it is higher
// than 6 pixels), filled with a vertical gradient and outlined with a 1-pixel
// pen. Kind 1 (selected) adds an inner gradient and an anti-aliased outline;
// Kind 2 (hot) is drawn without anti-aliasing. Other kinds draw nothing.
// Callers pass Left = Top = 0 and the item's width and height.
void DrawItemBackground(TBitmap32* Bitmap, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer Kind);

// Clears the whole bitmap to the system's button-face colour (opaque), then
// lays grey ($FFCCCCCC) and white cells of CellSize pixels from Rect's
// top-left corner (grey first), clipped to Rect and to the bitmap's clip
// rectangle. A CellSize below 1 lays no cells.
void DrawCheckerBoard(TBitmap32* Bitmap, const TRect& Rect, Integer CellSize);
