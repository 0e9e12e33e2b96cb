// The scroll box's range update along one axis: from the children's extent,
// the client size and the bar's position it decides the bar's range, page
// and position, whether the bar shows, and how far the children move so
// that they stay scrolled by exactly the bar's position.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

struct TspScrollBoxAxisIn {
  Integer ClientSize = 0;  // CH (or the client width)
  Integer ChildrenEnd = 0; // B: the largest Top + Height of the visible children, 0 when none
  Integer Position = 0;    // P: the bar's position (the children's current offset)
  Integer BarMax = 0;      // the bar's Max before the update
  Integer SizeOffset = 0;  // how much the box grew at its last SetBounds
  bool NoChildren = false; // no visible child: the extent is 0, whatever the position
};

struct TspScrollBoxAxisOut {
  bool Show = false;    // the bar is to be visible
  Integer MoveBy = 0;   // the children move down (right) by this many pixels
  Integer Min = 0, Max = 0, Position = 0, PageSize = 0;  // the bar's new range
  Integer SizeOffset = 0;  // the size offset after the update (always 0)
  Integer OldPos = 0;      // the remembered position (= Position)
};

// The update as the box runs it. The position handed to the bar is the one
// the bar keeps after its own clamp (ScrollClampPosition); when the clamp
// lowers it, the children move down by the same amount, so the children's
// offset and the bar's position never disagree.
TspScrollBoxAxisOut ScrollBoxAxisUpdate(const TspScrollBoxAxisIn& In);

// The position a VScroll/HScroll request ends at: limited to Max - PageSize
// when LimitToPage (the vertical request), then to the bar's clamp.
Integer ScrollBoxRequestPosition(Integer Min, Integer Max, Integer PageSize, Integer Request, bool LimitToPage);

// ScrollToControl along one axis: the bar position that brings a child
// spanning [Start, End) (client coordinates) into a client of size
// ClientSize; Position unchanged when the child lies wholly inside.
Integer ScrollBoxPositionForChild(Integer Position, Integer Start, Integer End, Integer ClientSize,
                                  Integer SizeOffset);
