#include "skin/controls/SkinHintGeometry.h"

#include <algorithm>

String ReplaceLineSeparators(const String& S, const String& Separator) {
  if (Separator.empty()) return S;
  String R;
  R.reserve(S.size());
  size_t I = 0;
  while (I < S.size()) {
    if (S.compare(I, Separator.size(), Separator) == 0) {
      R += u"\r\n";
      I += Separator.size();
    } else {
      R += S[I++];
    }
  }
  return R;
}

namespace {

// Adds the picture's borders to W x H and moves its corners for the size.
TspHintSize FitPicture(Integer W, Integer H, const TspHintPicture& P, Integer Extra) {
  TspHintSize S;
  W += P.ClRect.Left + (P.Width - P.ClRect.Right) + Extra;
  H += P.ClRect.Top + (P.Height - P.ClRect.Bottom);
  Integer dW = W - P.Width, dH = H - P.Height;
  // The right-hand corners never pass the left-hand ones, nor the bottom
  // ones the top ones.
  if (P.RTPoint.X + dW < P.LTPoint.X) {
    W += P.LTPoint.X - (P.RTPoint.X + dW);
    dW = W - P.Width;
  }
  if (P.RBPoint.X + dW < P.LBPoint.X) {
    W += P.LBPoint.X - (P.RBPoint.X + dW);
    dW = W - P.Width;
  }
  if (P.LBPoint.Y + dH < P.LTPoint.Y) {
    H += P.LTPoint.Y - (P.LBPoint.Y + dH);
    dH = H - P.Height;
  }
  if (P.RBPoint.Y + dH < P.RTPoint.Y) {
    H += P.RTPoint.Y - (P.RBPoint.Y + dH);
    dH = H - P.Height;
  }
  S.Width = W;
  S.Height = H;
  S.NewClRect = TRect(P.ClRect.Left, P.ClRect.Top, P.ClRect.Right + dW, P.ClRect.Bottom + dH);
  S.NewLTPoint = P.LTPoint;
  S.NewRTPoint = TPoint(P.RTPoint.X + dW, P.RTPoint.Y);
  S.NewLBPoint = TPoint(P.LBPoint.X, P.LBPoint.Y + dH);
  S.NewRBPoint = TPoint(P.RBPoint.X + dW, P.RBPoint.Y + dH);
  return S;
}

}  // namespace

TspHintSize CalcHintSize(Integer TextW, Integer TextH, const TspHintPicture* Picture) {
  if (!Picture) {
    TspHintSize S;
    S.Width = TextW + 4;
    S.Height = TextH + 4;
    return S;
  }
  return FitPicture(TextW, TextH, *Picture, 5);
}

TspHintSize CalcHintSizeEx(Integer TextW, Integer TextH, Integer TitleW, Integer TitleH, Integer ImageW,
                           Integer ImageH, const TspHintPicture* Picture) {
  Integer W = TextW, H = TextH;
  if (TitleH > 0 || TitleW > 0) {
    H += TitleH + 10;
    W = std::max(W, TitleW);
  }
  if (ImageW > 0 || ImageH > 0) {
    W += ImageW + 10;
    H = std::max(H, ImageH + TitleH + 5);
  }
  if (!Picture) {
    TspHintSize S;
    S.Width = W + 4;
    S.Height = H + 4;
    return S;
  }
  return FitPicture(W + 10, H, *Picture, 0);
}

TRect KeepHintInArea(const TRect& R, const TRect& Area) {
  TRect Out = R;
  const Integer W = R.Width(), H = R.Height();
  if (Out.Right > Area.Right) {
    Out.Left -= W + 2;
    Out.Right -= W + 2;
  }
  if (Out.Bottom > Area.Bottom) {
    Out.Top -= H + 2;
    Out.Bottom -= H + 2;
  }
  return Out;
}

std::vector<Integer> HintFadeSteps(Integer Value) {
  std::vector<Integer> Steps;
  const Integer Step = std::max(1, Value / 10);
  Integer A = 0;
  while (A < Value) {
    A = std::min(A + Step, Value);
    Steps.push_back(A);
  }
  return Steps;
}
