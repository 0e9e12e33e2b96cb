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
