#include "skin/controls/SkinBarGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// The integer nearest to X, a half going to the even neighbour.
Integer Nearest(double X) { return static_cast<Integer>(std::nearbyint(X)); }

// (Position - Min) / (Max - Min), 0 for an empty range.
double PlainRatio(const TspScrollRange& R, Integer Position) {
  return R.Max == R.Min ? 0.0 : double(Position - R.Min) / double(R.Max - R.Min);
}

// (Position - Min) / (Max - PageSize - Min + 1); 0 when the page covers the
// whole range.
double PageRatio(const TspScrollRange& R, Integer Position) {
  const Integer D = R.Max - R.PageSize - R.Min + 1;
  return D > 0 ? double(Position - R.Min) / double(D) : 0.0;
}

// The thumb length of a page: the page's share of the track.
Integer PageThumbLength(const TspScrollRange& R, Integer TrackLength) {
  const Integer D = R.Max - R.Min + 1;
  return D == 0 ? 0 : Nearest(double(TrackLength) * R.PageSize / D);
}

}  // namespace

Integer ScrollClampPosition(const TspScrollRange& R, Integer Value) {
  if (Value < R.Min) return R.Min;
  const Integer Top = R.PageSize != 0 ? R.Max - R.PageSize + 1 : R.Max;
  return Value > Top ? Top : Value;
}

Integer ScrollPositionAfterMax(const TspScrollRange& R, Integer Position) {
  if (R.PageSize == 0) return std::min(Position, R.Max);
  return std::max(std::min(Position, R.Max - R.PageSize + 1), R.Min);
}

bool ScrollPageFits(const TspScrollRange& R, Integer Position, Integer Page) {
  return Int64(Position) - R.Min + Page <= Int64(R.Max) - R.Min + 1;
}

TspScrollLayout ScrollCalcRects(const TspScrollLayoutIn& In) {
  TspScrollLayout L;
  const TspScrollRange& R = In.Range;
  const bool Page = R.PageSize != 0;
  if (!In.Skinned) {
    const Integer W = In.Width, H = In.Height;
    Integer Len = 16;
    double Ratio = PlainRatio(R, In.Position);
    if (Page) {
      const Integer TrackLen = In.Vertical ? H - 34 : (In.Both ? W - In.BothMarkerWidth : W) - 34;
      Len = std::max(PageThumbLength(R, TrackLen), 16);
      Ratio = PageRatio(R, In.Position);
    }
    const Integer h = Len / 2;
    if (!In.Vertical) {
      const Integer w = In.Both ? W - In.BothMarkerWidth : W;
      L.Parts[sbpDown] = TRect(1, 1, 17, H - 1);
      L.Parts[sbpUp] = TRect(w - 17, 1, w - 1, H - 1);
      L.Track = TRect(17, 1, w - 17, H - 1);
      L.Offset1 = L.Track.Left + h;
      L.Offset2 = L.Track.Right - h;
      L.BOffset = Nearest(Ratio * (L.Offset2 - L.Offset1));
      L.Parts[sbpThumb] = TRect(L.Track.Left + L.BOffset, L.Track.Top, L.Track.Left + L.BOffset + 2 * h, L.Track.Bottom);
    } else {
      L.Parts[sbpDown] = TRect(1, 1, W - 1, 17);
      L.Parts[sbpUp] = TRect(1, H - 17, W - 1, H - 1);
      L.Track = TRect(1, 17, W - 1, H - 17);
      L.Offset1 = L.Track.Top + h;
      L.Offset2 = L.Track.Bottom - h;
      L.BOffset = Nearest(Ratio * (L.Offset2 - L.Offset1));
      L.Parts[sbpThumb] = TRect(L.Track.Left, L.Track.Top + L.BOffset, L.Track.Right, L.Track.Top + L.BOffset + 2 * h);
    }
    return L;
  }
  const TspScrollSkin& S = In.Skin;
  const Integer dW = In.Width - S.SkinRect.Width(), dH = In.Height - S.SkinRect.Height();
  const Integer tw = S.ThumbRect.Width(), th = S.ThumbRect.Height();
  L.Track = S.TrackArea;
  L.Parts[sbpUp] = S.UpButtonRect;
  L.Parts[sbpDown] = S.DownButtonRect;
  auto Shift = [](TRect& P, Integer DX, Integer DY) {
    P.Left += DX;
    P.Right += DX;
    P.Top += DY;
    P.Bottom += DY;
  };
  if (!In.Vertical) {
    L.Track.Right += dW;
    for (Integer I : {sbpUp, sbpDown})
      if (L.Parts[I].Left > S.RTPt.X) Shift(L.Parts[I], dW, 0);
  } else {
    L.Track.Bottom += dH;
    for (Integer I : {sbpUp, sbpDown})
      if (L.Parts[I].Top > S.LBPt.Y) Shift(L.Parts[I], 0, dH);
  }
  const Integer TrackLen = In.Vertical ? L.Track.Height() : L.Track.Width();
  Integer Len = S.ThumbMinSize != 0 ? S.ThumbMinSize : (In.Vertical ? th : tw);
  double Ratio;
  if (Page) {
    Len = std::max(PageThumbLength(R, TrackLen), Len);
    Ratio = PageRatio(R, In.Position);
  } else {
    if (S.ThumbMinPageSize != 0) Len = S.ThumbMinPageSize;
    Ratio = PlainRatio(R, In.Position);
  }
  const Integer h = Len / 2;
  if (!In.Vertical) {
    L.Offset1 = L.Track.Left + h;
    L.Offset2 = L.Track.Right - h;
    L.BOffset = Nearest(Ratio * (L.Offset2 - L.Offset1));
    const Integer Top = L.Track.Top + L.Track.Height() / 2 - th / 2;
    L.Parts[sbpThumb] = TRect(L.Offset1 + L.BOffset - h, Top, L.Offset1 + L.BOffset + h, Top + th);
  } else {
    L.Offset1 = L.Track.Top + h;
    L.Offset2 = L.Track.Bottom - h;
    L.BOffset = Nearest(Ratio * (L.Offset2 - L.Offset1));
    const Integer Left = L.Track.Left + L.Track.Width() / 2 - tw / 2;
    L.Parts[sbpThumb] = TRect(Left, L.Offset1 + L.BOffset - h, Left + tw, L.Offset1 + L.BOffset + h);
  }
  return L;
}

Integer ScrollOffsetToPosition(const TspScrollRange& R, const TspScrollLayout& L, bool Vertical, Integer D) {
  Integer O1 = L.Offset1, O2 = L.Offset2;
  if (R.PageSize != 0) {
    const TRect& T = L.Parts[sbpThumb];
    const Integer Half = (Vertical ? T.Height() : T.Width()) / 2;
    O1 = (Vertical ? L.Track.Top : L.Track.Left) + Half;
    O2 = (Vertical ? L.Track.Bottom : L.Track.Right) - Half;
  }
  double F = O2 - O1 <= 0 ? 0.0 : double(D) / double(O2 - O1);
  F = std::clamp(F, 0.0, 1.0);
  if (R.PageSize != 0) return R.Min + Nearest(double(R.Max - R.Min - R.PageSize + 1) * F);
  return R.Min + Nearest(double(R.Max - R.Min) * F);
}

// ---------------------------------------------------------------------------

TspTrackButton TrackButtonRect(const TRect& R, bool Vertical, Integer MinValue, Integer MaxValue, Integer Value,
                               Integer ButtonW, Integer ButtonH, Integer Width, Integer Height) {
  TspTrackButton T;
  const double K = MaxValue == MinValue ? 0.0 : double(Value - MinValue) / double(MaxValue - MinValue);
  Integer bw = ButtonW, bh = ButtonH;
  if (bw <= 0 && bh <= 0) {
    if (Vertical) {
      bw = Width - 4;
      bh = bw / 2;
    } else {
      bh = Height - 4;
      bw = bh / 2;
    }
  }
  if (!Vertical) {
    T.Offset1 = R.Left + bw / 2;
    T.Offset2 = R.Right - bw / 2;
    T.BOffset = Nearest((T.Offset2 - T.Offset1) * K);
    const Integer X = T.Offset1 + T.BOffset - bw / 2, Y = R.Height() / 2 + R.Top - bh / 2;
    T.Button = TRect(X, Y, X + bw, Y + bh);
  } else {
    T.Offset1 = R.Top + bh / 2;
    T.Offset2 = R.Bottom - bh / 2;
    T.BOffset = Nearest((T.Offset2 - T.Offset1) * K);
    const Integer X = R.Width() / 2 + R.Left - bw / 2, Y = T.Offset2 - T.BOffset - bh / 2;
    T.Button = TRect(X, Y, X + bw, Y + bh);
  }
  return T;
}

Integer TrackValueOfPos(Integer MinValue, Integer MaxValue, Integer Offset1, Integer Offset2, Integer P) {
  const Integer N = Offset2 - Offset1;
  const double K = N <= 0 ? 0.0 : std::clamp(double(P) / N, 0.0, 1.0);
  return MinValue + Nearest(double(MaxValue - MinValue) * K);
}

Integer TrackClampValue(Integer MinValue, Integer MaxValue, Integer Value) {
  if (Value > MaxValue) return MaxValue;
  if (Value < MinValue) return MinValue;
  return Value;
}

Integer TrackJumpPos(bool Vertical, Integer X, Integer Y, Integer Height, const TRect& BR, Integer A) {
  return Vertical ? Height - Y - BR.Height() / 2 - A : X - BR.Width() / 2 - A;
}

// ---------------------------------------------------------------------------

TRect StatusGripRect(const TRect& S, Integer GripW, Integer GripH) {
  if (GripW > 0 && GripH > 0) return TRect(S.Right, S.Bottom - GripH, S.Right + GripW, S.Bottom);
  return TRect(S.Right + 2, S.Top, S.Right + S.Height(), S.Bottom - 2);
}

std::vector<TspGripLine> StatusGripStripes(const TRect& G) {
  std::vector<TspGripLine> L;
  Integer D = 3;
  for (Integer K = 0; K <= G.Width() / 3; ++K) {
    if (G.Left + D + 2 <= G.Right) {
      L.push_back({G.Left + D, G.Bottom, G.Right, G.Top + D, true});
      L.push_back({G.Left + D + 1, G.Bottom, G.Right, G.Top + D + 1, false});
      D += 3;
    }
  }
  return L;
}

// ---------------------------------------------------------------------------

namespace {

bool Horizontal(TspSplitAlign A) { return A == saLeft || A == saRight; }

}  // namespace

Integer SplitterNeighbour(TspSplitAlign A, const TRect& Bar, const std::vector<TspSplitSibling>& Siblings) {
  TPoint P(Bar.Left, Bar.Top);
  switch (A) {
    case saTop:
      P.Y -= 1;
      break;
    case saBottom:
      P.Y = Bar.Bottom;
      break;
    case saLeft:
      P.X -= 1;
      break;
    case saRight:
      P.X = Bar.Right;
      break;
    default:
      return -1;
  }
  const bool Before = A == saTop || A == saLeft;
  for (size_t I = 0; I < Siblings.size(); ++I) {
    const TspSplitSibling& S = Siblings[I];
    if (!S.Visible || !S.Enabled) continue;
    TRect R = S.Bounds;
    if (R.Width() == 0) {
      if (Before)
        R.Left -= 1;
      else
        R.Right += 1;
    }
    if (R.Height() == 0) {
      if (Before)
        R.Top -= 1;
      else
        R.Bottom += 1;
    }
    if (P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) return Integer(I);
  }
  return -1;
}

Integer SplitterMaxSize(TspSplitAlign A, Integer ClientW, Integer ClientH, Integer MinSize,
                        const std::vector<TspSplitSibling>& Siblings, Integer N) {
  const bool H = Horizontal(A);
  Integer M = (H ? ClientW : ClientH) - MinSize;
  for (const TspSplitSibling& S : Siblings) {
    if (!S.Visible) continue;
    if (H && (S.Align == saLeft || S.Align == saRight)) M -= S.Bounds.Width();
    if (!H && (S.Align == saTop || S.Align == saBottom)) M -= S.Bounds.Height();
  }
  if (N >= 0 && N < Integer(Siblings.size())) M += H ? Siblings[N].Bounds.Width() : Siblings[N].Bounds.Height();
  return M;
}

Integer SplitterNewSize(TspSplitAlign A, Integer ControlW, Integer ControlH, Integer MinSize, Integer MaxSize,
                        Integer& Split) {
  Integer S = 0;
  switch (A) {
    case saTop:
      S = ControlH + Split;
      break;
    case saBottom:
      S = ControlH - Split;
      break;
    case saLeft:
      S = ControlW + Split;
      break;
    case saRight:
      S = ControlW - Split;
      break;
    default:
      S = ControlH + Split;
      break;
  }
  const Integer Unclamped = S;
  if (S < MinSize) S = MinSize;
  if (S > MaxSize) S = MaxSize;
  if (S != Unclamped) {
    if (A == saBottom || A == saRight)
      Split += Unclamped - S;
    else
      Split += S - Unclamped;
  }
  return S;
}
