// The highlight rectangle's tint (see HighlightBlend.h).
#include "document/HighlightBlend.h"

#include <algorithm>
#include <vector>

#include "bitmap/Bmp32_Add_BlendModes.h"

void HighlightPixels(TColor32* Bits, Integer Width, Integer Height, const TRect& Area, TColor32 Fill,
                     Integer Opacity) {
  const Integer l = std::max(Area.Left, 0), t = std::max(Area.Top, 0);
  const Integer r = std::min(Area.Right, Width), b = std::min(Area.Bottom, Height);
  if (l >= r || t >= b || Bits == nullptr) return;
  const TBlendModeRow row = FindBlendModeRow(TPixelCombineEvent(BlendMultiply));
  const TColor32 m = TColor32(std::clamp(Opacity, 0, 255));
  const std::vector<TColor32> fill(size_t(r - l), Fill | 0xFF000000u);
  for (Integer y = t; y < b; ++y) row(fill.data(), Bits + ptrdiff_t(y) * Width + l, r - l, m);
}
