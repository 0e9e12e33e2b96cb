// The arithmetic of the skinned bars: the scroll bar's value clamps, its
// part rectangles and thumb, and the pixel offset of a drag turned back into
// a position; the track bar's button rectangle and the value of a button
// position; the status bar's grip; the splitter's neighbour and sizes. The Winelib controls draw and act on what these decide.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"
#include "skin/data/SkinTypes.h"

// ---------------------------------------------------------------------------
// Scroll bar values

struct TspScrollRange {
  Integer Min = 0;
  Integer Max = 100;
  Integer PageSize = 0;
};

// Value below Min gives Min; otherwise at most Max - PageSize + 1 with a
// page, at most Max without one.
Integer ScrollClampPosition(const TspScrollRange& R, Integer Value);
// The position kept when Max changes to R.Max: with a page it is held in
// Min .. Max - PageSize + 1 (Min wins when the page is larger than the
// range), without one it is lowered to Max.
Integer ScrollPositionAfterMax(const TspScrollRange& R, Integer Position);
// A page fits when (Position - Min) + Page <= Max - Min + 1.
bool ScrollPageFits(const TspScrollRange& R, Integer Position, Integer Page);

// ---------------------------------------------------------------------------
// Scroll bar parts

// Part indexes: the thumb, the up button (increases the position; right or
// bottom end of the default look) and the down button.
inline constexpr Integer sbpThumb = 0, sbpUp = 1, sbpDown = 2;

// What the part layout of a skinned bar reads from its description.
struct TspScrollSkin {
  TRect SkinRect;
  TRect TrackArea;
  TRect UpButtonRect, DownButtonRect;
  TPoint RTPt, LBPt;
  TRect ThumbRect;
  Integer ThumbMinSize = 0;
  Integer ThumbMinPageSize = 0;
};

struct TspScrollLayoutIn {
  Integer Width = 0, Height = 0;
  bool Vertical = false;
  bool Both = false;
  Integer BothMarkerWidth = 0;
  TspScrollRange Range;
  Integer Position = 0;
  bool Skinned = false;
  TspScrollSkin Skin;
};

struct TspScrollLayout {
  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
  TRect Track;       // NewTrackArea
  TRect Parts[3];    // thumb, up button, down button (control coordinates)
};

// Places the three parts and the thumb.
TspScrollLayout ScrollCalcRects(const TspScrollLayoutIn& In);

// Position of a drag's pixel offset D along the track, the thumb being
// Thumb (its current rect) in the track Track.
Integer ScrollOffsetToPosition(const TspScrollRange& R, const TspScrollLayout& L, bool Vertical, Integer D);

// ---------------------------------------------------------------------------
// Track bar

struct TspTrackButton {
  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
  TRect Button;
};

// The button in track rect R. ButtonW x ButtonH: the skin's button size, or
// 0 x 0 for the default look (sized from Width, Height).
TspTrackButton TrackButtonRect(const TRect& R, bool Vertical, Integer MinValue, Integer MaxValue, Integer Value,
                               Integer ButtonW, Integer ButtonH, Integer Width, Integer Height);
// The value of a button centre P pixels from the minimum end.
Integer TrackValueOfPos(Integer MinValue, Integer MaxValue, Integer Offset1, Integer Offset2, Integer P);
// SetValue's limit: above MaxValue gives MaxValue, else below MinValue gives
// MinValue (the maximum is tested first).
Integer TrackClampValue(Integer MinValue, Integer MaxValue, Integer Value);
// Where a click at (X, Y) jumps to: the button centred under it. A is the
// track's start margin (2 for the default look; the skinned track's left
// edge, or for a vertical bar the distance of its bottom from the bottom).
Integer TrackJumpPos(bool Vertical, Integer X, Integer Y, Integer Height, const TRect& BR, Integer A);

// ---------------------------------------------------------------------------
// Status bar

// The size grip next to the client rect S (which already lost the grip's
// width): the skin's gripper image (GripW x GripH, 0 x 0 for none) at the
// bottom right, else a square of the client height, 2 in from the edges.
TRect StatusGripRect(const TRect& S, Integer GripW, Integer GripH);
// The diagonal stripes of a grip in G: dark and light lines in turn, each
// from (X1, Y1) to (X2, Y2), the end point excluded.
struct TspGripLine {
  Integer X1, Y1, X2, Y2;
  bool Dark;
  friend bool operator==(const TspGripLine&, const TspGripLine&) = default;
};
std::vector<TspGripLine> StatusGripStripes(const TRect& G);

// ---------------------------------------------------------------------------
// Splitter

enum TspSplitAlign : Byte { saNone, saTop, saBottom, saLeft, saRight, saClient };

// One control of the splitter's parent, in the parent's control order.
struct TspSplitSibling {
  TRect Bounds;
  bool Visible = true, Enabled = true;
  TspSplitAlign Align = saNone;
};

// The neighbour a bar at Bar (aligned A) resizes: the first visible and
// enabled sibling holding the point one pixel outside the bar (a zero-size
// sibling counts one pixel wide, toward the bar's side). -1 for none.
Integer SplitterNeighbour(TspSplitAlign A, const TRect& Bar, const std::vector<TspSplitSibling>& Siblings);
// The largest size the neighbour N may take: the parent's client length
// less MinSize and the lengths of the visible siblings aligned on the same
// axis, plus the neighbour's own.
Integer SplitterMaxSize(TspSplitAlign A, Integer ClientW, Integer ClientH, Integer MinSize,
                        const std::vector<TspSplitSibling>& Siblings, Integer N);
// The size for a mouse offset Split from the press (clamped to
// MinSize..MaxSize); Split is corrected to match a clamped size.
Integer SplitterNewSize(TspSplitAlign A, Integer ControlW, Integer ControlH, Integer MinSize, Integer MaxSize,
                        Integer& Split);
