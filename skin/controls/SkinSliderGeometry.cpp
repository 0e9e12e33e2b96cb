#include "skin/controls/SkinSliderGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

Integer Nearest(double X) { return static_cast<Integer>(std::nearbyint(X)); }

// floor(A / B) and ceil(A / B) for B > 0.
Integer FloorDiv(Integer A, Integer B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }
Integer CeilDiv(Integer A, Integer B) { return -FloorDiv(-A, B); }

}  // namespace

Integer SliderValueToPos(const TspSliderScale& S, Integer V) {
  const Integer Base = S.Start + 6;
  const Integer Range = S.MaxValue - S.MinValue;
  if (S.L <= 0 || Range == 0) return Base;
  Integer P = Base + Nearest(double(S.L) * (V - S.MinValue) / Range);
  if (S.Vertical) P = S.Start + S.End - P - S.Thumb;
  return std::max(P, Base);
}

Integer SliderPosToValue(const TspSliderScale& S, Integer P) {
  const Integer Range = S.MaxValue - S.MinValue;
  if (S.L <= 0 || Range == 0) return S.MinValue;
  if (S.Vertical) P = S.End - P - S.Thumb;
  Integer X = Nearest(double(P - 6) * Range / S.L);
  if (!S.Smooth && S.Increment > 0) X = Nearest(double(X) / S.Increment) * S.Increment;
  return std::min(std::max(X, 0) + S.MinValue, S.MaxValue);
}

Integer SliderJumpTo(TspJumpMode Mode, Integer Value, Integer MinValue, Integer MaxValue, Integer Increment) {
  const Integer Inc = std::max(1, Increment);
  Integer V = Value;
  switch (Mode) {
    case jmHome:
      V = MinValue;
      break;
    case jmEnd:
      V = MaxValue;
      break;
    case jmNext:
      V = (FloorDiv(Value, Inc) + 1) * Inc;
      break;
    case jmPrior:
      V = (CeilDiv(Value, Inc) - 1) * Inc;
      break;
    case jmNone:
      break;
  }
  return std::min(std::max(V, MinValue), MaxValue);
}

bool SliderRulerPieces(Integer ImageLen, Integer Edge, Integer Length, std::vector<TspRulerPiece>& Pieces) {
  Pieces.clear();
  const Integer S = ImageLen - 2 * Edge;
  if (S <= 0 || Edge < 0 || Length < 2 * Edge) return false;
  if (Length <= ImageLen) {
    // Shorter than the image: its left part up to the right end, then the end.
    if (Length - Edge > 0) Pieces.push_back({0, Length - Edge, 0});
    if (Edge > 0) Pieces.push_back({ImageLen - Edge, Edge, Length - Edge});
    return true;
  }
  Integer Pos = ImageLen - Edge;
  Pieces.push_back({0, Pos, 0});
  const Integer Rest = Length - ImageLen;  // to fill before the closing end
  for (Integer I = 0; I < Rest / S; ++I, Pos += S) Pieces.push_back({Edge, S, Pos});
  const Integer Last = Edge + Rest % S;
  Pieces.push_back({ImageLen - Last, Last, Pos});
  return true;
}

TspSliderTicks SliderTicks(Integer MinValue, Integer MaxValue, Integer PointsStep, Integer L) {
  TspSliderTicks T;
  const Integer Range = MaxValue - MinValue;
  if (PointsStep <= 0 || Range <= 0 || L <= 0) return T;
  for (Integer H = 1;; ++H) {
    const Integer Count = Nearest(double(Range) / (double(PointsStep) * H)) + 1;
    const Integer Spacing = Count <= 1 ? L : L / (Count - 1);
    if (Spacing >= 4 || Spacing >= L || Count <= 2) {
      T.Count = Count;
      T.Spacing = Spacing;
      T.Multiplier = H;
      return T;
    }
  }
}

TspSliderLayout SliderLayout(bool Vertical, Integer Width, Integer Height, Integer ThumbW, Integer ThumbH,
                             Integer RulerW, Integer RulerH, Integer ThumbSourceW) {
  TspSliderLayout Lo;
  const Integer T = 6, Lf = 6;
  if (!Vertical) {
    if (ThumbH > RulerH) {
      Lo.ThumbOrg = TPoint(Lf, T);
      Lo.RulerOrg = TPoint(Lf, T + (ThumbH - RulerH) / 2);
      Lo.PointsRect = TRect(Lf, T + ThumbH + 1, Lf + RulerW, Height - 1);
    } else {
      Lo.ThumbOrg = TPoint(Lf, T + (RulerH - ThumbH) / 2);
      Lo.RulerOrg = TPoint(Lf, T);
      Lo.PointsRect = TRect(Lf, T + RulerH + 1, Lf + RulerW, Height - 1);
    }
  } else if (ThumbSourceW > RulerW) {
    Lo.ThumbOrg = TPoint(Lf, T);
    Lo.RulerOrg = TPoint(Lf + (ThumbW - RulerW) / 2, T);
    Lo.PointsRect = TRect(Lf + ThumbW + 1, T, Width - 1, T + RulerH);
  } else {
    Lo.ThumbOrg = TPoint(Lf + (RulerW - ThumbW) / 2, T);
    Lo.RulerOrg = TPoint(Lf, T);
    Lo.PointsRect = TRect(Lf + RulerW + 1, T, Width - 1, T + RulerH);
  }
  return Lo;
}
