#include "skin/controls/SkinUpDownGeometry.h"

#include "skin/data/SpLayout.h"

TspUpDownButtons UpDownButtonLayout(Integer Width, Integer Height, bool Vertical, bool SkinLayout,
                                    const TRect& UpButtonRect, const TRect& DownButtonRect) {
  if (SkinLayout) return {UpButtonRect, DownButtonRect};
  if (Vertical) return {TRect(0, 0, Width, Height / 2), TRect(0, Height / 2, Width, Height)};
  return {TRect(Width / 2, 0, Width, Height), TRect(0, 0, Width / 2, Height)};
}

Integer UpDownButtonAt(const TspUpDownButtons& B, const TPoint& P, Integer Captured) {
  Integer Hit = -1;
  for (Integer I = 0; I < 2 && Hit < 0; ++I)
    if (PointWithinRect(B[I], P)) Hit = I;
  if (Captured != -1 && Hit != -1 && Hit != Captured) return -1;
  return Hit;
}
