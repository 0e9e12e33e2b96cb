// The skinned list box's arithmetic: where the inner list and its own
// scroll bars go, the height that shows a number of rows, whether the bars
// are needed from the inner list's native scroll state, which items one
// paint covers and the tab stops of item text.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/Classes.h"
#include "rtl/System.h"

struct TspListLayoutIn {
  Integer Width = 0, Height = 0;
  bool Skinned = false;
  TRect NewClRect;           // skinned: the client rect at the current size
  bool CaptionMode = false;
  Integer DefaultCaptionHeight = 20;
  Integer Columns = 0;
  bool HBar = false;         // the horizontal-extent bar exists and is visible
  Integer HBarHeight = 0;
  bool MainBar = false;      // the main bar exists and is visible
  Integer MainBarWidth = 0;  // its width (vertical) or height (columns)
};

struct TspListLayout {
  TRect HBarBounds;     // as (left, top, width, height) in a TRect's fields Left, Top, Right = width, Bottom = height
  TRect MainBarBounds;  // likewise
  TRect ListRect;       // (left, top, right, bottom)
};

// Bounds are returned as left, top, width, height (Right holds the width,
// Bottom the height) to match SetBounds; the list rect as a rectangle.
TspListLayout ListBoxLayout(const TspListLayoutIn& In);

// The control height that shows Rows rows.
//   default look: Rows * ItemHeight + 4 (+ DefaultCaptionHeight in caption mode);
//   skinned: SkinHeight + Rows * ItemHeight - SkinClientHeight;
// both plus HBarHeight when the horizontal-extent bar exists (0 otherwise).
Integer ListCalcHeight(Integer Rows, Integer ItemHeight, bool Skinned, bool CaptionMode, Integer CaptionHeight,
                       Integer SkinHeight, Integer SkinClientHeight, Integer HBarHeight);

// The main bar's decision from the inner list's native state.
struct TspListBarState {
  bool Needed = false;
  Integer Min = 0, Max = 0, Position = 0, Page = 0;
};
// Single column: a RowCount equal to the item count never shows the bar;
// page = list height div item height; needed when max > min, position <= max
// and page < count.
TspListBarState ListVerticalBar(Integer NativeMin, Integer NativeMax, Integer NativePos, Integer ListHeight,
                                Integer ItemHeight, Integer Count, Integer RowCount);
// Columns: needed when max > min, position <= max, Columns <= max and
// (list height div item height) * Columns < count; page = Columns.
TspListBarState ListColumnsBar(Integer NativeMin, Integer NativeMax, Integer NativePos, Integer ListHeight,
                               Integer ItemHeight, Integer Count, Integer Columns);

// The horizontal-extent bar: needed when the visible width is below the
// widest item text; range 0 .. Extent with page = the visible width.
// VisibleWidth: default look list width - 4, skinned list width + text rect
// width - item rect width, less (image width + 4) with images.
Integer ListVisibleTextWidth(Integer ListWidth, bool Skinned, Integer ItemTextWidth, Integer SItemWidth,
                             Integer ImagesWidth /* 0 without images */);

// The horizontal offset after the inner list's width changed: it grows by
// (old width - new width), never below 0; an offset of 0 stays 0.
Integer ListOffsetAfterResize(Integer Offset, Integer OldWidth, Integer NewWidth);

// The items one paint draws: from Top, (height div item height) rows,
// times Columns for a multi-column list, the last clipped to Count - 1.
// Last < First when nothing is drawn.
struct TspListPaintRange {
  Integer First = 0, Last = -1;
};
TspListPaintRange ListPaintRange(Integer TopIndex, Integer ListHeight, Integer ItemHeight, Integer Columns,
                                 Integer Count);

// The tab stops of item text: the first ten lines, each the number it
// spells when every character is a decimal digit (and it fits), else 0.
std::vector<Integer> ListTabStops(const TStrings& Lines);
std::vector<Integer> ListTabStops(const std::vector<String>& Lines);

// The caption buttons' places in the default look (caption mode with
// buttons): a = min(CaptionHeight - 3, 17); up, down, check from the right.
struct TspListCaptionButtons {
  TRect Up, Down, Check;
};
TspListCaptionButtons ListDefaultCaptionButtons(Integer Width, Integer CaptionHeight);
