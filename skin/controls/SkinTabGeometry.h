// The arithmetic of the skinned tab controls and the skinned tree: the
// corrections the controls lay over the platform tab layout's page and tab
// rectangles, the reserve image list's size, the centred row's offset, the
// hidden and scrolled tab counts, where the skinned scroll arrows go, the
// close button's rectangle through the quarter turns of a tab image, the
// centred glyph and caption of a tab, the stretch-or-tile copy counts, the
// tree's bar visibility and its fading line. The Winelib controls act on
// what these decide. Portable: no Windows header.
#pragma once

#include <vector>

#include "classlib/UITypes.h"
#include "rtl/System.h"

// ---------------------------------------------------------------------------
// Layout corrections

struct TspPageRectIn {
  TTabPosition Position = tpTop;
  bool Skinned = false;
  bool HideTabs = false;
  bool HideBorder = false;
  Integer ClientWidth = 0, ClientHeight = 0;  // CW, CH
  Integer Width = 0, Height = 0;              // the control's size
  TRect SkinRect, ClRect;                     // the frame picture and its page area
};

// The page rectangle P the tab layout gave (TCM_ADJUSTRECT), corrected so
// the page fits the drawn frame.
TRect CorrectPageRect(const TspPageRectIn& In, TRect P);

// A tab rectangle R the tab layout gave (TCM_GETITEMRECT), corrected for
// tsTabs; button styles keep the layout's. RowOffset moves a top row right
// (the centred or offset row; 0 otherwise).
TRect CorrectTabRect(TTabPosition Position, TTabStyle Style, bool MultiLine, Integer RowOffset, TRect R);

// How far the tab row moves right: TabsOffset when above 0; else centred for
// a fixed TabWidth (never negative); else 0.
Integer TabsRowOffset(Integer TabsOffset, Integer TabWidth, Integer Width, Integer VisibleTabs);

// The reserve image list's size (X width, Y height), made from its three
// inputs every time: one pixel, the glyph of Images (when HasImages) and the
// close button (when ShowCloseButtons). Rows on top or bottom sum the
// widths, rows on the left or right the heights; the other dimension is 1.
TPoint ReserveImageSize(TTabPosition Position, Integer GlyphWidth, Integer GlyphHeight, bool HasImages,
                       bool ShowCloseButtons, Integer CloseSize);

// ---------------------------------------------------------------------------
// The skinned scroll arrows

// Visible tabs not wholly shown: Right > Limit or Right <= 0 (Limit is
// Width - 3, less the arrows' width for the tab control).
Integer HiddenTabCount(const std::vector<TRect>& Tabs, Integer Limit);
// Visible tabs scrolled out to the left (Right <= 0).
Integer ScrolledTabCount(const std::vector<TRect>& Tabs);

struct TspArrowPlaceIn {
  TTabPosition Position = tpTop;
  bool Skinned = false;
  Integer Width = 0, Height = 0;            // the control
  Integer ArrowWidth = 0, ArrowHeight = 0;  // the arrows
  TRect DisplayRect;                        // the corrected page rectangle
  TRect SkinRect, ClRect;
};
// The arrows' top-left corner: at the right end of the strip, on the tabs'
// side, never outside the control.
TPoint TabArrowsPlace(const TspArrowPlaceIn& In);

// ---------------------------------------------------------------------------
// Tab images

// A close button placed at R in a tab image of W x H drawn lying as a top
// tab, in the coordinates of the final image: turned counter-clockwise for
// left tabs, clockwise for right ones, unless TextInHorizontal (the image
// was already turned before the button was drawn).
TRect TabCloseButtonRect(TTabPosition Position, bool TextInHorizontal, const TRect& R, Integer W, Integer H);

struct TspTabContentPlace {
  TPoint Glyph;   // the glyph's top-left corner
  TRect Caption;  // the caption's rectangle (drawn centred)
};
// The glyph of IW x IH and a caption measured TextWidth x TextHeight (an
// empty caption counts 0 wide) centred side by side in a tab of W x H;
// Offset nudges both down (unselected tabs beside a taller selected one).
TspTabContentPlace TabImageAndTextPlace(Integer W, Integer H, Integer Offset, bool EmptyText, Integer TextWidth,
                                        Integer TextHeight, Integer IW, Integer IH);

// How many copies of a Tile (W x H) cover an area from its top-left corner:
// one more than fit whole in each direction, the last cut by the edge. No
// copies for an empty area or an empty tile.
struct TspTileCount {
  Integer Columns = 0, Rows = 0;
};
TspTileCount TileCopies(Integer AreaWidth, Integer AreaHeight, Integer TileWidth, Integer TileHeight);

// ---------------------------------------------------------------------------
// Tree

// Whether the tree's external vertical bar shows: the window's own bar must
// be on (StyleBit; without it the platform keeps a stale range), Max > 0,
// Page <= Max, Max < the item count, and the tree visible.
bool TreeVertBarVisible(bool StyleBit, Integer Max, Integer Page, Integer ItemCount, bool TreeVisible);
// The horizontal one: the window's bar on, Width < Max, the tree visible.
bool TreeHorzBarVisible(bool StyleBit, Integer Max, Integer Width, bool TreeVisible);

// The alphas of a fading line W pixels long: 255 up to its middle
// (h = W div 2, at least 1), then falling per pixel by the integer nearest
// to 255 / h, not below 0. Empty for W <= 0.
std::vector<Byte> FadingLineAlphas(Integer W);
