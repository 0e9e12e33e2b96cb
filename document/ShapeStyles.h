// The arithmetic of the object styles: gradient stops from the three
// "/"-separated lists, the edging band (a soft edge inside the outline),
// the shadow's offsets and margins, and the reflection's fade. The pictures
// are memory bitmaps; the rendering of objects into them is the shape
// base's (document/win/ImageDraw.h).
// Portable: no Windows header.
#pragma once

#include <vector>

#include "bitmap/Bmp32.h"
#include "foundation/data/HyDataTable.h"

// --- gradients

// One stop per stop of the lists: colour ("ForeColor", "BackColor" or a
// Windows colour number), alpha Round(Opacity / 255 x opacity% x 255 / 100)
// clamped to 0..255, position as a float (0 when it is not a number). A
// stop at 0 is put in front when the first position text is not "0", one
// at 1 appended when the last is not "1". Lists of unequal length use the
// shortest; no stops at all give empty arrays.
void BuildGradientBlend(TRow* ColorRow, TRow* OpacityRow, TRow* PositionRow, Integer Opacity,
                        std::vector<TColor32>& Colors, TArrayOfSingle& Positions, TColor ForeColor, TColor BackColor);
// The same from the lists' texts.
void BuildGradientStops(const String& ColorList, const String& OpacityList, const String& PositionList,
                        Integer Opacity, std::vector<TColor32>& Colors, TArrayOfSingle& Positions,
                        TColor ForeColor = 0, TColor BackColor = 0);

// --- edging

// The edging width the band uses: W, or 15 when W is not positive.
Integer EdgingWidthOf(Integer W);
// Turns Band (the object's filled interior in the outline colour) into the
// edging: every pixel that Band and Wide (the outline drawn 2W wide) both
// cover gets alpha 255 - Round(d x 255 / W) where d, the distance to the
// nearest pixel of Outline (the 1-pixel outline), is at most W; every other
// pixel alpha 0. Colour channels are kept. The three bitmaps have one size.
void BuildEdgingBand(TCustomBitmap32* Outline, TCustomBitmap32* Wide, TCustomBitmap32* Band, Integer W);
// The same by comparing each band pixel with every outline pixel inside the
// window of +-(W + 1): slow, the reference for the routine above.
void BuildEdgingBandLiteral(TCustomBitmap32* Outline, TCustomBitmap32* Wide, TCustomBitmap32* Band, Integer W);

// --- shadow and reflection

// Round(StyleOpacity x Opacity / 255).
Integer ScaledOpacity(Integer StyleOpacity, Integer Opacity);
// (Round(cos a x Distance), Round(sin a x Distance)); (0, 0) for distance 0.
TPoint ShadowOffsets(Integer Angle, Integer Distance);
// A negative offset moves one pixel toward zero.
Integer NudgeNegative(Integer Offset);
// Round(Size x Zoom / 200), less one when odd and positive.
Integer ShadowZoomMargin(Integer Size, Integer Zoom);
// The margin of a shadow or reflection picture: OutWidth div 2 + blur + 9
// (+ Extra, a callout's pointer).
Integer StyleMargin(Integer OutWidth, Integer BlurSize, Integer Extra);
// The offsets that centre the frame Rect in a BW x BH picture.
TPoint CentringOffset(const TRect& Frame, Integer BW, Integer BH);
// The fade of a flipped reflection picture of height H: rows past
// h = Trunc(H x HeightPercent / 100) transparent, row i losing
// Round(i x 255 / h) of its alpha; nothing for h <= 0.
void FadeReflection(TCustomBitmap32* Bitmap, Integer HeightPercent);
