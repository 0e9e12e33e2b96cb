#include "skin/data/SpImagePlan.h"

#include <algorithm>

namespace {

bool Inside(const TRect& Inner, const TRect& Outer) {
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

// Emits the operations of one target bounded by Bounds.
class TPlanWriter {
 public:
  TPlanWriter(TspPlan& Plan, TspTiling Tiling, const TRect& Bounds) : FPlan(Plan), FTiling(Tiling), FBounds(Bounds) {}

  void Copy(const TRect& Src, const TRect& Dst) { FPlan.push_back({poCopy, Src, Dst}); }
  void Stretch(const TRect& Src, const TRect& Dst) { FPlan.push_back({poStretch, Src, Dst}); }

  // The piece Src repeated along x over [A, B), rows Y0..Y1 of the target:
  // pieces at A + i * P for i = 0..(B - A) div P, the last cut at B. A piece
  // length of 0 (or a span or piece with nothing to draw) draws nothing.
  void TileX(const TRect& Src, Integer A, Integer B, Integer Y0, Integer Y1) {
    const Integer P = Src.Width(), L = B - A;
    if (P <= 0 || L <= 0 || Src.Height() <= 0 || Y1 <= Y0) return;
    if (Fast(TRect(A, Y0, B, Y1))) {
      const Integer n0 = std::min(P, L);
      Copy(TRect(Src.Left, Src.Top, Src.Left + n0, Src.Bottom), TRect(A, Y0, A + n0, Y1));
      DoubleX(A, L, P, Y0, Y1);
      return;
    }
    for (Integer i = 0; i <= L / P; ++i) {
      const Integer Start = A + i * P;
      const Integer Len = P - std::max(0, Start + P - B);
      if (Len > 0) Copy(TRect(Src.Left, Src.Top, Src.Left + Len, Src.Bottom), TRect(Start, Y0, Start + Len, Y1));
    }
  }

  // The same down the target: rows [A, B), columns X0..X1.
  void TileY(const TRect& Src, Integer A, Integer B, Integer X0, Integer X1) {
    const Integer P = Src.Height(), L = B - A;
    if (P <= 0 || L <= 0 || Src.Width() <= 0 || X1 <= X0) return;
    if (Fast(TRect(X0, A, X1, B))) {
      const Integer n0 = std::min(P, L);
      Copy(TRect(Src.Left, Src.Top, Src.Right, Src.Top + n0), TRect(X0, A, X1, A + n0));
      DoubleY(A, L, P, X0, X1);
      return;
    }
    for (Integer i = 0; i <= L / P; ++i) {
      const Integer Start = A + i * P;
      const Integer Len = P - std::max(0, Start + P - B);
      if (Len > 0) Copy(TRect(Src.Left, Src.Top, Src.Right, Src.Top + Len), TRect(X0, Start, X1, Start + Len));
    }
  }

  // The piece tiled both ways over Area, each tile cut at Area's right and
  // bottom; nothing for a piece of zero width or height.
  void Tile2D(const TRect& Src, const TRect& Area) {
    const Integer D = Src.Width(), E = Src.Height(), w = Area.Width(), h = Area.Height();
    if (D <= 0 || E <= 0 || w <= 0 || h <= 0) return;
    if (Fast(Area)) {
      const Integer n = std::min(D, w), m = std::min(E, h);
      Copy(TRect(Src.Left, Src.Top, Src.Left + n, Src.Top + m), TRect(Area.Left, Area.Top, Area.Left + n, Area.Top + m));
      DoubleX(Area.Left, w, D, Area.Top, Area.Top + m);
      DoubleY(Area.Top, h, E, Area.Left, Area.Right);
      return;
    }
    for (Integer i = 0; i <= w / D; ++i)
      for (Integer j = 0; j <= h / E; ++j) {
        const Integer cw = D - std::max(0, (i + 1) * D - w), ch = E - std::max(0, (j + 1) * E - h);
        if (cw <= 0 || ch <= 0) continue;
        const Integer x = Area.Left + i * D, y = Area.Top + j * E;
        Copy(TRect(Src.Left, Src.Top, Src.Left + cw, Src.Top + ch), TRect(x, y, x + cw, y + ch));
      }
  }

  // Strips of the piece stretched to Size (D x Area height, or Area width x
  // E) laid across (Horz) or down Area, clipped to it.
  void StretchStrips(const TRect& Src, const TRect& Area, bool Horz) {
    const Integer D = Src.Width(), E = Src.Height(), w = Area.Width(), h = Area.Height();
    if (D <= 0 || E <= 0 || w <= 0 || h <= 0) return;
    FPlan.push_back({poClip, TRect(), Area});
    const bool Doubling = Fast(Area);
    const Integer Count = Doubling ? 0 : (Horz ? w / D : h / E);
    for (Integer i = 0; i <= Count; ++i) {
      if (Horz)
        Stretch(Src, TRect(Area.Left + i * D, Area.Top, Area.Left + i * D + D, Area.Bottom));
      else
        Stretch(Src, TRect(Area.Left, Area.Top + i * E, Area.Right, Area.Top + i * E + E));
    }
    FPlan.push_back({poUnclip, TRect(), TRect()});
    if (!Doubling) return;
    if (Horz)
      DoubleX(Area.Left, w, D, Area.Top, Area.Bottom);
    else
      DoubleY(Area.Top, h, E, Area.Left, Area.Right);
  }

 private:
  bool Fast(const TRect& Span) const { return FTiling == tlDoubling && Inside(Span, FBounds); }
  // [A, A + P) is drawn; copies it onward, doubling, until [A, A + L) is.
  void DoubleX(Integer A, Integer L, Integer P, Integer Y0, Integer Y1) {
    for (Integer s = P; s < L;) {
      const Integer n = std::min(s, L - s);
      FPlan.push_back({poDestCopy, TRect(A, Y0, A + n, Y1), TRect(A + s, Y0, A + s + n, Y1)});
      s += n;
    }
  }
  void DoubleY(Integer A, Integer L, Integer P, Integer X0, Integer X1) {
    for (Integer s = P; s < L;) {
      const Integer n = std::min(s, L - s);
      FPlan.push_back({poDestCopy, TRect(X0, A, X1, A + n), TRect(X0, A + s, X1, A + s + n)});
      s += n;
    }
  }

  TspPlan& FPlan;
  TspTiling FTiling;
  TRect FBounds;
};

TRect Offset(const TRect& R, Integer DX, Integer DY) {
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

}  // namespace

bool PlanNineSlice(const TspNineSlice& A, TspTiling Tiling, TspPlan& Plan) {
  Plan.clear();
  if (A.RBPoint.X == A.LTPoint.X || A.RBPoint.Y == A.LTPoint.Y) return false;
  TPlanWriter W(Plan, Tiling, TRect(0, 0, A.NewWidth, A.NewHeight));
  const TRect& SR = A.SkinRect;
  const TRect& Cl = A.ClRect;
  const TRect& NCl = A.NewClRect;
  const Integer SW = SR.Width(), SH = SR.Height();
  // Edges: top, bottom, left, right.
  const TRect Top(SR.Left + A.LTPoint.X, SR.Top, SR.Left + A.RTPoint.X, SR.Top + Cl.Top);
  if (A.TopStretch)
    W.Stretch(Top, TRect(A.NewLTPoint.X, 0, A.NewRTPoint.X, NCl.Top));
  else
    W.TileX(Top, A.NewLTPoint.X, A.NewRTPoint.X, 0, NCl.Top);
  const TRect Bottom(SR.Left + A.LBPoint.X, SR.Top + Cl.Bottom, SR.Left + A.RBPoint.X, SR.Bottom);
  if (A.BottomStretch)
    W.Stretch(Bottom, TRect(A.NewLBPoint.X, NCl.Bottom, A.NewRBPoint.X, A.NewHeight));
  else
    W.TileX(Bottom, A.NewLBPoint.X, A.NewRBPoint.X, NCl.Bottom, A.NewHeight);
  if (A.LeftStretch)
    W.Stretch(TRect(SR.Left, SR.Top + A.LTPoint.Y, SR.Left + Cl.Left, SR.Top + A.LBPoint.Y),
              TRect(0, A.NewLTPoint.Y, NCl.Left, A.NewLBPoint.Y));
  else
    W.TileY(TRect(SR.Left, SR.Top + A.LTPoint.Y, SR.Left + NCl.Left, SR.Top + A.LBPoint.Y), A.NewLTPoint.Y,
            A.NewLBPoint.Y, 0, NCl.Left);
  const TRect Right(SR.Left + Cl.Right, SR.Top + A.RTPoint.Y, SR.Right, SR.Top + A.RBPoint.Y);
  if (A.RightStretch)
    W.Stretch(Right, TRect(NCl.Right, A.NewRTPoint.Y, A.NewWidth, A.NewRBPoint.Y));
  else
    W.TileY(Right, A.NewRTPoint.Y, A.NewRBPoint.Y, NCl.Right, A.NewWidth);
  // The eight corner pieces, 1:1.
  const struct {
    TRect Src, Dst;
  } Corners[8] = {
      {TRect(0, 0, A.LTPoint.X, Cl.Top), TRect(0, 0, A.NewLTPoint.X, NCl.Top)},
      {TRect(0, Cl.Top, Cl.Left, A.LTPoint.Y), TRect(0, NCl.Top, NCl.Left, A.NewLTPoint.Y)},
      {TRect(A.RTPoint.X, 0, SW, Cl.Top), TRect(A.NewRTPoint.X, 0, A.NewWidth, NCl.Top)},
      {TRect(Cl.Right, Cl.Top, SW, A.RTPoint.Y), TRect(NCl.Right, NCl.Top, A.NewWidth, A.NewRTPoint.Y)},
      {TRect(0, A.LBPoint.Y, Cl.Left, SH), TRect(0, A.NewLBPoint.Y, NCl.Left, A.NewHeight)},
      {TRect(Cl.Left, Cl.Bottom, A.LBPoint.X, SH), TRect(NCl.Left, NCl.Bottom, A.NewLBPoint.X, A.NewHeight)},
      {TRect(A.RBPoint.X, Cl.Bottom, SW, SH), TRect(A.NewRBPoint.X, NCl.Bottom, A.NewWidth, A.NewHeight)},
      {TRect(Cl.Right, A.RBPoint.Y, SW, Cl.Bottom), TRect(NCl.Right, A.NewRBPoint.Y, A.NewWidth, NCl.Bottom)},
  };
  for (const auto& C : Corners) W.Copy(Offset(C.Src, SR.Left, SR.Top), C.Dst);
  // The centre.
  if (A.DrawClient) {
    const TRect Centre = Offset(Cl, SR.Left, SR.Top);
    if (A.StretchEffect) {
      if (NCl.Width() > 0 && NCl.Height() > 0) {
        switch (A.StretchType) {
          case spstFull: W.Stretch(Centre, NCl); break;
          case spstHorz: W.StretchStrips(Centre, NCl, true); break;
          case spstVert: W.StretchStrips(Centre, NCl, false); break;
        }
      }
    } else {
      W.Tile2D(Centre, NCl);
    }
  }
  return true;
}

TspNineSlice ClientStretchArgs(const TRect& SkinRect, const TRect& ClRect, Integer DestWidth, Integer DestHeight,
                               bool DrawClient) {
  TspNineSlice A;
  A.SkinRect = SkinRect;
  A.ClRect = ClRect;
  A.LTPoint = TPoint(ClRect.Left, ClRect.Top);
  A.RTPoint = TPoint(ClRect.Right, ClRect.Top);
  A.LBPoint = TPoint(ClRect.Left, ClRect.Bottom);
  A.RBPoint = TPoint(ClRect.Right, ClRect.Bottom);
  A.NewClRect = ClRect;
  A.NewClRect.Right = DestWidth - (SkinRect.Width() - ClRect.Right);
  A.NewClRect.Bottom = DestHeight - (SkinRect.Height() - ClRect.Bottom);
  A.NewLTPoint = TPoint(A.NewClRect.Left, A.NewClRect.Top);
  A.NewRTPoint = TPoint(A.NewClRect.Right, A.NewClRect.Top);
  A.NewLBPoint = TPoint(A.NewClRect.Left, A.NewClRect.Bottom);
  A.NewRBPoint = TPoint(A.NewClRect.Right, A.NewClRect.Bottom);
  A.NewWidth = DestWidth;
  A.NewHeight = DestHeight;
  A.DrawClient = DrawClient;
  A.LeftStretch = A.TopStretch = A.RightStretch = A.BottomStretch = true;
  A.StretchEffect = true;
  A.StretchType = spstFull;
  return A;
}

void PlanHorzThreeSlice(Integer LeftOffset, Integer RightOffset, const TRect& SkinRect, Integer NewWidth, bool Stretch,
                        TspTiling Tiling, TspPlan& Plan, Integer& DestWidth, Integer& DestHeight) {
  Plan.clear();
  const TRect& SR = SkinRect;
  DestWidth = NewWidth;
  DestHeight = SR.Height();
  TPlanWriter W(Plan, Tiling, TRect(0, 0, DestWidth, DestHeight));
  if (LeftOffset != 0) W.Copy(TRect(SR.Left, SR.Top, SR.Left + LeftOffset, SR.Bottom), TRect(0, 0, LeftOffset, DestHeight));
  if (RightOffset != 0)
    W.Copy(TRect(SR.Right - RightOffset, SR.Top, SR.Right, SR.Bottom),
           TRect(DestWidth - RightOffset, 0, DestWidth, DestHeight));
  // A middle of width 0 counts as one pixel: every tile then copies nothing.
  const TRect Middle(SR.Left + LeftOffset, SR.Top, SR.Right - RightOffset, SR.Bottom);
  if (Stretch)
    W.Stretch(Middle, TRect(LeftOffset, 0, DestWidth - RightOffset, DestHeight));
  else
    W.TileX(Middle, LeftOffset, DestWidth - RightOffset, 0, DestHeight);
}

void PlanVertThreeSlice(Integer TopOffset, Integer BottomOffset, const TRect& SkinRect, Integer NewHeight,
                        bool Stretch, TspTiling Tiling, TspPlan& Plan, Integer& DestWidth, Integer& DestHeight) {
  Plan.clear();
  const TRect& SR = SkinRect;
  DestWidth = SR.Width();
  DestHeight = NewHeight;
  TPlanWriter W(Plan, Tiling, TRect(0, 0, DestWidth, DestHeight));
  if (TopOffset != 0) W.Copy(TRect(SR.Left, SR.Top, SR.Right, SR.Top + TopOffset), TRect(0, 0, DestWidth, TopOffset));
  if (BottomOffset != 0)
    W.Copy(TRect(SR.Left, SR.Bottom - BottomOffset, SR.Right, SR.Bottom),
           TRect(0, DestHeight - BottomOffset, DestWidth, DestHeight));
  const TRect Middle(SR.Left, SR.Top + TopOffset, SR.Right, SR.Bottom - BottomOffset);
  if (Stretch)
    W.Stretch(Middle, TRect(0, TopOffset, DestWidth, DestHeight - BottomOffset));
  else
    W.TileY(Middle, TopOffset, DestHeight - BottomOffset, 0, DestWidth);
}

namespace {

// A side strip W x H from the source columns [X0, X1) of the source rect
// whose rows are offset by SrcTop: the middle rows [MidTop, MidBottom) tiled
// down the whole strip (or stretched into StretchDst), then the rows
// [ClTop, MidTop) copied to its top and [MidBottom, ClBottom) to its bottom.
void SideStrip(TspStripPlan& S, TspTiling Tiling, Integer X0, Integer X1, Integer SrcTop, Integer MidTop,
               Integer MidBottom, Integer ClTop, Integer ClBottom, bool Stretch, const TRect& StretchDst) {
  TPlanWriter W(S.Plan, Tiling, TRect(0, 0, S.Width, S.Height));
  const TRect Mid(X0, SrcTop + MidTop, X1, SrcTop + MidBottom);
  if (Stretch)
    W.Stretch(Mid, StretchDst);
  else
    W.TileY(Mid, 0, S.Height, 0, S.Width);
  if (MidTop - ClTop > 0) W.Copy(TRect(X0, SrcTop + ClTop, X1, SrcTop + MidTop), TRect(0, 0, S.Width, MidTop - ClTop));
  if (ClBottom - MidBottom > 0)
    W.Copy(TRect(X0, SrcTop + MidBottom, X1, SrcTop + ClBottom),
           TRect(0, S.Height - (ClBottom - MidBottom), S.Width, S.Height));
}

}  // namespace

void PlanMaskBorderStrips(const TspNineSlice& A, Integer MaskWidth, Integer MaskHeight, TspTiling Tiling,
                          TspStripPlan (&Strips)[4]) {
  for (auto& S : Strips) S = TspStripPlan();
  const TRect& Cl = A.ClRect;
  const Integer ClH = A.NewClRect.Height();
  // Left and right strips.
  TspStripPlan& L = Strips[siLeft];
  if (Cl.Left > 0 && ClH > 0) {
    L.Produce = true;
    L.Width = Cl.Left;
    L.Height = ClH;
    SideStrip(L, Tiling, 0, Cl.Left, 0, A.LTPoint.Y, A.LBPoint.Y, Cl.Top, Cl.Bottom, false, TRect());
  }
  TspStripPlan& R = Strips[siRight];
  if (MaskWidth - Cl.Right > 0 && ClH > 0) {
    R.Produce = true;
    R.Width = MaskWidth - Cl.Right;
    R.Height = ClH;
    SideStrip(R, Tiling, Cl.Right, MaskWidth, 0, A.RTPoint.Y, A.RBPoint.Y, Cl.Top, Cl.Bottom, false, TRect());
  }
  // Top and bottom strips: the middle tiled from the new left corner point
  // and cut at the new right one, then the two corners.
  auto Band = [&](TspStripPlan& S, Integer H, Integer Y0, Integer LX, Integer RX, Integer NLX, Integer NRX) {
    S.Produce = true;
    S.Width = A.NewWidth;
    S.Height = H;
    TPlanWriter W(S.Plan, Tiling, TRect(0, 0, S.Width, S.Height));
    W.TileX(TRect(LX, Y0, RX, Y0 + H), NLX, NRX, 0, H);
    W.Copy(TRect(0, Y0, LX, Y0 + H), TRect(0, 0, LX, H));
    W.Copy(TRect(RX, Y0, MaskWidth, Y0 + H), TRect(NRX, 0, A.NewWidth, H));
  };
  if (A.NewWidth > 0 && Cl.Top > 0)
    Band(Strips[siTop], Cl.Top, 0, A.LTPoint.X, A.RTPoint.X, A.NewLTPoint.X, A.NewRTPoint.X);
  if (A.NewWidth >= 1 && MaskHeight - Cl.Bottom >= 1)
    Band(Strips[siBottom], MaskHeight - Cl.Bottom, Cl.Bottom, A.LBPoint.X, A.RBPoint.X, A.NewLBPoint.X,
         A.NewRBPoint.X);
}

void PlanPictureBorderStrips(const TspNineSlice& A, Integer TopHeight, Integer BottomHeight, TspTiling Tiling,
                             TspStripPlan (&Strips)[4]) {
  for (auto& S : Strips) S = TspStripPlan();
  const TRect& SR = A.SkinRect;
  const TRect& Cl = A.ClRect;
  const TRect& NCl = A.NewClRect;
  // Top and bottom: the middle stretched between the new corner points or
  // tiled over the whole strip from x = 0, then the two corners.
  auto Band = [&](TspStripPlan& S, Integer H, Integer SrcTop, Integer LX, Integer RX, Integer NLX, Integer NRX,
                  bool Stretch) {
    S.Produce = true;
    S.Width = A.NewWidth;
    S.Height = H;
    TPlanWriter W(S.Plan, Tiling, TRect(0, 0, S.Width, S.Height));
    const TRect Mid(SR.Left + LX, SrcTop, SR.Left + RX, SrcTop + H);
    if (Stretch)
      W.Stretch(Mid, TRect(NLX, 0, NRX, H));
    else
      W.TileX(Mid, 0, S.Width, 0, H);
    W.Copy(TRect(SR.Left, SrcTop, SR.Left + LX, SrcTop + H), TRect(0, 0, NLX, H));
    W.Copy(TRect(SR.Left + RX, SrcTop, SR.Right, SrcTop + H), TRect(NRX, 0, S.Width, H));
  };
  if (A.NewWidth > 0 && NCl.Top > 0 && A.RTPoint.X - A.LTPoint.X > 0) {
    Band(Strips[siTop], NCl.Top, SR.Top, A.LTPoint.X, A.RTPoint.X, A.NewLTPoint.X, A.NewRTPoint.X, A.TopStretch);
    TopHeight = NCl.Top;
  }
  const Integer BH = A.NewHeight - NCl.Bottom;
  if (A.NewWidth > 0 && BH > 0 && A.RBPoint.X - A.LBPoint.X > 0) {
    Band(Strips[siBottom], BH, SR.Bottom - BH, A.LBPoint.X, A.RBPoint.X, A.NewLBPoint.X, A.NewRBPoint.X,
         A.BottomStretch);
    BottomHeight = BH;
  }
  const Integer SideH = A.NewHeight - BottomHeight - TopHeight;
  TspStripPlan& L = Strips[siLeft];
  if (NCl.Left > 0 && SideH > 0 && A.LBPoint.Y - A.LTPoint.Y > 0) {
    L.Produce = true;
    L.Width = NCl.Left;
    L.Height = SideH;
    SideStrip(L, Tiling, SR.Left, SR.Left + NCl.Left, SR.Top, A.LTPoint.Y, A.LBPoint.Y, Cl.Top, Cl.Bottom,
              A.LeftStretch, TRect(0, A.LTPoint.Y - Cl.Top, NCl.Left, SideH + A.LBPoint.Y - Cl.Bottom));
  }
  TspStripPlan& R = Strips[siRight];
  if (A.NewWidth - NCl.Right >= 1 && SideH >= 1 && A.RBPoint.Y - A.RTPoint.Y >= 1) {
    R.Produce = true;
    R.Width = A.NewWidth - NCl.Right;
    R.Height = SideH;
    SideStrip(R, Tiling, SR.Left + Cl.Right, SR.Right, SR.Top, A.RTPoint.Y, A.RBPoint.Y, Cl.Top, Cl.Bottom,
              A.RightStretch, TRect(0, A.RTPoint.Y - Cl.Top, R.Width, SideH + A.RBPoint.Y - Cl.Bottom));
  }
}
