// Bitmap engine: 3x3 sharpening and the recursive exponential blur.
// Both work in place and treat alpha, red, green and blue alike.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"

// One pass; an even Kind uses kernel A (-1 -2 -1 / -2 28 -2 / -1 -2 -1),
// an odd one kernel B (-2 -1 -2 / -1 28 -1 / -2 -1 -2), divisor 16. A
// sample outside the bitmap reads the centre pixel.
void Sharpen(TCustomBitmap32* Bitmap, Integer Kind);
// The blur weight for a radius: round((1 - e^(-2.3 / (Radius + 1))) * 65536).
Integer ExpBlurDecay(Integer Radius);
// Rows forward and back, then columns; Radius <= 0 does nothing.
void ExpBlur(TCustomBitmap32* Bitmap, Integer Radius);
