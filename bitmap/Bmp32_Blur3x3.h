// Bitmap engine: a light 3x3 blur (weights 1 2 1 / 2 4 2 / 1 2 1, shr 4, all
// four channels). The filter routine is a procedure variable bound at
// start-up; the border pixels keep their values.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"

using TBlur3x3Proc = void (*)(TCustomBitmap32* Dst, TCustomBitmap32* Src);
// Dst := Src, then every inner pixel recomputed from Src (Src at least 3 x 3).
extern TBlur3x3Proc Blur3x3Filter;
void Blur3x3Portable(TCustomBitmap32* Dst, TCustomBitmap32* Src);

// Copies the bitmap and runs the filter from the copy into it.
void Blur3x3(TCustomBitmap32* Bitmap);

void InitializeBlur3x3();
