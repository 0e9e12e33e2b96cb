// The skinned hint's arithmetic: the separator-to-line-break rewrite, the
// window size for a text (plain and with title and image) with the hint
// picture's corners kept apart, the move back into the work area, and the
// steps of the fade-in. Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

// Every Separator in S becomes a line break (CR LF). An empty separator
// changes nothing.
String ReplaceLineSeparators(const String& S, const String& Separator);

// The hint picture's geometry (picture size and the description's points).
struct TspHintPicture {
  Integer Width = 0, Height = 0;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClRect;
};

struct TspHintSize {
  Integer Width = 0, Height = 0;
  TRect NewClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
};

// The window size of a plain hint whose text measures TextW x TextH;
// Picture nullptr for the default look.
TspHintSize CalcHintSize(Integer TextW, Integer TextH, const TspHintPicture* Picture);

// The extended hint: the text, an optional title (TitleW x TitleH, 0 x 0
// for none) above it and an optional image (ImageW x ImageH, 0 x 0 for
// none) at its left.
TspHintSize CalcHintSizeEx(Integer TextW, Integer TextH, Integer TitleW, Integer TitleH, Integer ImageW,
                           Integer ImageH, const TspHintPicture* Picture);

// The hint rect R kept inside Area: moved left by its width + 2 when it
// passes the right edge, up by its height + 2 when it passes the bottom.
TRect KeepHintInArea(const TRect& R, const TRect& Area);

// The alpha values of a fade-in to Value: steps of Value div 10 (at least
// 1), the last one capped at Value.
std::vector<Integer> HintFadeSteps(Integer Value);
