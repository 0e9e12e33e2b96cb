// The arithmetic of the skinned up-down arrows: where the two buttons lie
// and which one a point falls on. Button 0 increases the position (top half
// when vertical, right half when horizontal), button 1 decreases it.
// Portable: no Windows header.
#pragma once

#include <array>

#include "rtl/System.h"
#include "skin/data/SkinTypes.h"  // IWYU pragma: keep

using TspUpDownButtons = std::array<TRect, 2>;

// With SkinLayout (a skin read and UseSkinSize on) the skin's own button
// rects; otherwise the control split in two halves.
TspUpDownButtons UpDownButtonLayout(Integer Width, Integer Height, bool Vertical, bool SkinLayout,
                                    const TRect& UpButtonRect, const TRect& DownButtonRect);

// The first button (0, then 1) whose rect holds P, edges included, else -1.
// While Captured is a button, the other one never counts (-1 instead).
Integer UpDownButtonAt(const TspUpDownButtons& B, const TPoint& P, Integer Captured);

// Whether the up-down takes Value as its position (no clamping).
inline bool UpDownAccepts(Integer Min, Integer Max, Integer Value) { return Value >= Min && Value <= Max; }
