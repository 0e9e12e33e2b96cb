// Colour conversions of the skin engine's alpha bitmap: TColor ($00BBGGRR)
// to TspColor ($AARRGGBB), the hue, saturation and lightness model and the
// per-colour adjusters the bitmap re-colouring uses.
// Portable: no Windows header.
#pragma once

#include "skin/data/SpPixels.h"

// Red and blue exchanged, alpha 255.
inline TspColor RGBToSpColor(Cardinal Color) {
  return 0xFF000000u | ((Color & 0xFF) << 16) | (Color & 0xFF00) | ((Color >> 16) & 0xFF);
}
// $AARRGGBB with red, green and blue clamped to 0..255 (alpha taken as a byte).
TspColor PackSpColor(Integer R, Integer G, Integer B, Integer A);
// Each limited to 0..255.
void ClampRGB(Integer& R, Integer& G, Integer& B);

// Hue, saturation, lightness in 0..1 (hue 1 = hue 0); the alpha is ignored.
void SpColorToHSL(TspColor Color, Single& H, Single& S, Single& L);
// Alpha 255; rounding half to even.
TspColor HSLToSpColor(Single L, Single S, Single H);

TspColor SetHueOfColor(TspColor Color, Integer Hue);
TspColor ChangeHueOfColor(TspColor Color, Integer Delta);
TspColor ChangeSatOfColor(TspColor Color, Integer Delta);
TspColor ChangeBrightnessOfColor(TspColor Color, Integer Delta);

// Every pixel with alpha other than 0 re-coloured, its alpha kept.
enum TspColorOp : Byte { coSetHue, coChangeHue, coChangeSat, coChangeBrightness };
void AdjustPixels(TspColor* Bits, Int64 Count, TspColorOp Op, Integer Value);
