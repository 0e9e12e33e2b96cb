// The stack blur behind every glow of the skin engine, and per-pixel alpha
// from a grey mask, on top-down unpadded 32-bit pixels.
// Portable: no Windows header.
#pragma once

#include "skin/data/SpPixels.h"

// Radii come from skin data: above this the blur is done with this radius.
// 255 * (254 + 1)^2 < 2^24, so every weighted sum fits 32 bits and the
// division by (r + 1)^2 is one multiply by a 64-bit reciprocal.
inline constexpr Integer MaxStackBlurRadius = 254;

// Red, green and blue blurred in place with a stack (triangle) kernel of the
// radius; every pixel becomes opaque. Nothing for Radius <= 0 or no pixels.
void StackBlurPixels(TspColor* Bits, Integer Width, Integer Height, Integer Radius);

// floor(N / D) for 0 <= N < 2^24 and 1 <= D <= 2^16, as (N * M) >> S.
struct TspReciprocal {
  UInt64 M = 1;
  Integer S = 0;
  explicit TspReciprocal(Cardinal D);
  Cardinal Div(Cardinal N) const { return Cardinal((UInt64(N) * M) >> S); }
};

// Alpha of each pixel := trunc((r + g + b) / 3) of the mask pixel at the
// same place, over the area both bitmaps have.
void AlphaFromGrayPixels(TspColor* Bits, Integer Width, Integer Height, const TspColor* Mask, Integer MaskWidth,
                         Integer MaskHeight);
