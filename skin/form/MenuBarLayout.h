// The rules of a skinned main menu bar that need no window: which top-level
// items a merged bar shows (main menu and an MDI child's menu by group
// index), where the items and the child-window buttons go, which items fit
// and where the marker of the hidden ones sits, and the keyboard's walk over
// the items. The bar control keeps the state and calls these. Portable
// header: no Windows header.
#pragma once

#include <vector>

#include "skin/data/SkinTypes.h"

// A top-level menu item as merging sees it. Id is the caller's handle.
struct TspMenuBarEntry {
  Integer GroupIndex = 0;
  bool Visible = true;
  Integer Id = 0;
};

// The bar's items of a main menu merged with a child's menu: the main items
// of a group the child has no item of, then all child items, sorted by
// group index; equal group indexes keep main items before child items, each
// in menu order. Items whose Visible is off are left out.
std::vector<TspMenuBarEntry> MergeMenuBarEntries(const std::vector<TspMenuBarEntry>& Main,
                                                 const std::vector<TspMenuBarEntry>& Child);

// The item area of a bar of W x H. With a description (SkinRect and its
// ItemsRect), the right margin of the skin image stays; without UseSkinSize
// the bottom margin too. Without one: 2 pixels all round.
TRect MenuBarItemsRect(bool Skinned, const TRect& SkinRect, const TRect& ItemsRect, bool UseSkinSize, Integer W,
                       Integer H);

// Places the four child-window buttons (system menu, close, maximise,
// minimise; a size of (0, 0) means no description: a square of the area's
// height) and shrinks Area by what they take. Returns their rectangles in
// that order.
std::vector<TRect> PlaceMenuBarButtons(TRect& Area, const std::vector<TPoint>& Sizes);

// Items laid out left to right from Area.Left with the given widths: each
// item's rectangle and whether it fits (its right edge not past
// Area.Right - 5 with the marker, Area.Right without); Scroll tells whether
// one did not fit.
struct TspMenuBarLayout {
  std::vector<TRect> Rects;
  std::vector<bool> Fits;
  bool Scroll = false;
};
TspMenuBarLayout LayoutMenuBarItems(const TRect& Area, const std::vector<Integer>& Widths, bool ScrollMenu);
// The marker of the hidden items: the last 5 pixels of the area.
TRect MenuBarMarkerRect(const TRect& Area);

// The keyboard's walk: the item after (or before) Current among the
// available ones, wrapping around; the first (last) available one when
// Current is -1 or not available; -1 when none is available.
Integer NextMenuBarItem(const std::vector<bool>& Available, Integer Current);
Integer PrevMenuBarItem(const std::vector<bool>& Available, Integer Current);
