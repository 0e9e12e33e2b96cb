// How a document parent arranges its children and what its client area's
// scroll bars show, as pure rules over sizes: tile across and down, cascade,
// and the need, range, position and page of the two bars for the children's
// places. The form component keeps the windows and calls these. Portable
// header: no Windows header.
#pragma once

#include <vector>

#include "skin/data/SkinTypes.h"

// Bounds of children 0 .. N-1 tiled over a client area of W x H: columns
// fill from the right, bottom to top (the last child lands bottom right).
std::vector<TRect> TileHorizontalRects(Integer N, Integer W, Integer H);
// Columns fill from the left, top to bottom (the first child top left).
std::vector<TRect> TileVerticalRects(Integer N, Integer W, Integer H);

// One child to cascade: its own size, kept when KeepSize (a single border).
struct TspCascadeChild {
  Integer W = 0, H = 0;
  bool KeepSize = false;
};
// Bounds of the children cascaded Step pixels apart (a step below 1 counts
// as 1: a skin whose client area touches the top gives 0), no smaller than
// MinW x MinH; the last child goes to (0, 0).
std::vector<TRect> CascadeRects(const std::vector<TspCascadeChild>& Children, Integer W, Integer H, Integer Step,
                                Integer MinW, Integer MinH);

// What the client area's scroll bars show for visible children at the
// given bounds in a client area of W x H, with a vertical bar VBarW wide
// and a horizontal bar HBarH high.
struct TspMdiScrollState {
  bool NeedH = false, NeedV = false;
  Integer HMax = 0, HPos = 0, HPage = 0;
  Integer VMax = 0, VPos = 0, VPage = 0;
};
TspMdiScrollState MdiScrollState(const std::vector<TRect>& Children, Integer W, Integer H, Integer VBarW,
                                 Integer HBarH);

// The document tabs bar's layout: N tabs on a bar Width wide, H high
// (the row above a page-frame strip). Tabs start after the 15-pixel list
// button; they get (Width - 15) div N, at most DefaultTabWidth. With
// MinTabWidth (not 0) above that width, tabs are MinTabWidth wide and only
// (Width - 30) div MinTabWidth of them show (the rest get an empty place);
// otherwise a squeezed row stretches its last tab to Width.
struct TspMdiTabsLayout {
  std::vector<TRect> Rects;
  std::vector<bool> Visible;
  Integer InVisibleCount = 0;
  // How far right a dragged tab may go.
  Integer DragLimit = 0;
};
TspMdiTabsLayout MdiTabsLayout(Integer N, Integer Width, Integer H, Integer DefaultTabWidth, Integer MinTabWidth);
// A dragged tab moved by TabDX, kept between 0 and Limit.
TRect DraggedTabRect(TRect R, Integer TabDX, Integer Limit);
// Where the dragged tab (index DragIndex, its place in Rects already moved)
// drops: right, the last visible tab after it whose middle lies left of its
// right edge; left, the first visible tab before it whose middle lies right
// of its left edge; -1 for none or no movement.
Integer MdiTabDropIndex(const std::vector<TRect>& Rects, const std::vector<bool>& Visible, Integer DragIndex,
                        Integer TabDX);
