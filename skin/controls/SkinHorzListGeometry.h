// The horizontal item list's arithmetic: item rectangles in one scrolled
// row, the scroll range, bringing an item into view, pulling the row back
// after a widening, and the keyboard's searches over enabled items.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

struct TspHorzRow {
  TRect Area;          // the items area
  Integer ItemWidth = 70;
  Integer Count = 0;
  Integer Offset = 0;  // scroll offset in pixels
};

// Item I's rectangle, shifted by the scroll offset.
TRect HorzItemRect(const TspHorzRow& R, Integer I);
// The rectangle meets the area horizontally.
bool HorzItemVisible(const TRect& Item, const TRect& Area);
// The right edge of the last visible item (0 when none).
Integer HorzRealMax(const TspHorzRow& R);

struct TspHorzScroll {
  Integer Min = 0, Max = 0, Page = 0, Position = 0;
};
// Range 0 .. row length, page the area's width; both 0 when the page holds
// the whole row.
TspHorzScroll HorzScrollInfo(const TspHorzRow& R);
// The offset that brings item I into view (unchanged when it is inside).
Integer HorzScrollToItem(const TspHorzRow& R, Integer I, Integer ControlWidth);
// After the width changed: the offset that leaves no empty space at the
// right, never below 0.
Integer HorzPullBack(const TspHorzRow& R);

// The keyboard's searches; -1 when nothing is found. Page: items per area.
Integer HorzFindUp(const std::vector<bool>& Enabled, Integer ItemIndex);
Integer HorzFindDown(const std::vector<bool>& Enabled, Integer ItemIndex);
Integer HorzFindPageUp(const std::vector<bool>& Enabled, Integer ItemIndex, Integer Page);
Integer HorzFindPageDown(const std::vector<bool>& Enabled, Integer ItemIndex, Integer Page);
