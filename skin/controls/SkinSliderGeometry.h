// The slider's arithmetic: value <-> thumb position along the ruler, the
// stepping of a press or a key, the pieces a ruler image is laid down in,
// the spacing of the tick points and where thumb, ruler and points band go.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

enum TspJumpMode : Byte { jmNone, jmHome, jmEnd, jmNext, jmPrior };

struct TspSliderScale {
  Integer MinValue = 0, MaxValue = 100;
  Integer Increment = 10;
  bool Smooth = true;
  bool Vertical = false;
  // The working rect's leading edge and, vertical, its far edge.
  Integer Start = 0, End = 0;
  // Track length (ruler length minus the thumb's) and the thumb's length.
  Integer L = 0;
  Integer Thumb = 0;
};

// The thumb's leading edge for value V. A track of no length or an empty
// range puts every value at the base (Start + 6).
Integer SliderValueToPos(const TspSliderScale& S, Integer V);
// The value of a thumb leading edge P (snapped unless smooth). A track of no
// length or an empty range gives MinValue.
Integer SliderPosToValue(const TspSliderScale& S, Integer P);
// The value a step leads to: Home, End, the next or the previous multiple of
// Increment (counted from 0), clamped to the range.
Integer SliderJumpTo(TspJumpMode Mode, Integer Value, Integer MinValue, Integer MaxValue, Integer Increment);

// One piece of a ruler: Len pixels of the image from SrcStart drawn at
// DestStart along the ruler.
struct TspRulerPiece {
  Integer SrcStart, Len, DestStart;
  friend bool operator==(const TspRulerPiece&, const TspRulerPiece&) = default;
};
// How an image of ImageLen with ends Edge long is laid down along Length:
// the left part, copies of the middle, and the right end closing the ruler.
// False when the image has no middle (or the ruler is shorter than the
// image's two ends): the image is then stretched over the ruler.
bool SliderRulerPieces(Integer ImageLen, Integer Edge, Integer Length, std::vector<TspRulerPiece>& Pieces);

// The ticks: Count values PointsStep * Multiplier apart (the last at
// MaxValue), Spacing pixels apart.
struct TspSliderTicks {
  Integer Count = 0, Spacing = 0, Multiplier = 1;
};
TspSliderTicks SliderTicks(Integer MinValue, Integer MaxValue, Integer PointsStep, Integer L);

// Where the thumb, the ruler and the points band go in (0, 0, Width, Height).
struct TspSliderLayout {
  TPoint ThumbOrg, RulerOrg;
  TRect PointsRect;
};
// ThumbW x ThumbH the thumb's size, RulerW x RulerH the ruler's; for a
// vertical slider ThumbSourceW is the thumb source's full width divided by
// the number of thumb states (the test that decides the ruler's place).
TspSliderLayout SliderLayout(bool Vertical, Integer Width, Integer Height, Integer ThumbW, Integer ThumbH,
                             Integer RulerW, Integer RulerH, Integer ThumbSourceW);
