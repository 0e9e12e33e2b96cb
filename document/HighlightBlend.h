// The highlight rectangle's tint: every covered pixel multiplied by the
// fill colour at the rectangle's opacity through the engine's multiply
// combiner, in its row form; the alpha channel is kept. Portable: no
// Windows header; TImgHLRect (document/win/ImageHLRect.h) calls it on its
// target's pixels.
#pragma once

#include "bitmap/Bmp32.h"

// Tints Area (clipped to the Width x Height pixels at Bits) with the opaque
// colour Fill at strength Opacity (0..255).
void HighlightPixels(TColor32* Bits, Integer Width, Integer Height, const TRect& Area, TColor32 Fill,
                     Integer Opacity);
