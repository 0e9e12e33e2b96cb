#include "skin/form/LayerBorderGeometry.h"

#include <algorithm>
#include <cmath>

#include "skin/data/SpLayout.h"

namespace {

// PtInRect: the right and bottom edges lie outside.
bool InRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// The minimum first, then the maximum.
Integer Limit(Integer V, Integer Min, Integer Max) {
  if (V < Min) V = Min;
  if (V > Max) V = Max;
  return V;
}

}  // namespace

void LayerBorderSizes(const TspDataSkinLayerFrame& D, TspLayerBorderSizes& S) {
  if (RectIsEmpty(D.BorderRect)) {
    S.LeftSize = S.TopSize = S.RightSize = S.BottomSize = 0;
    return;
  }
  const TRect& B = D.BorderRect;
  const TRect& K = D.ClRect;
  S.LeftSize = K.Left - B.Left;
  S.TopSize = K.Top - B.Top;
  S.RightSize = B.Right - K.Right;
  S.BottomSize = B.Bottom - K.Bottom;
  S.HitTopLeftX = D.HitTestLTPoint.X - B.Left;
  S.HitTopLeftY = D.HitTestLTPoint.Y - B.Top;
  S.HitTopRightX = B.Right - D.HitTestRTPoint.X;
  S.HitTopRightY = D.HitTestRTPoint.Y - B.Top;
  S.HitBottomLeftX = D.HitTestLBPoint.X - B.Left;
  S.HitBottomLeftY = B.Bottom - D.HitTestLBPoint.Y;
  S.HitBottomRightX = B.Right - D.HitTestRBPoint.X;
  S.HitBottomRightY = B.Bottom - D.HitTestRBPoint.Y;
}

TRect LayerOuterRect(const TspDataSkinLayerFrame& D, Integer SrcW, Integer SrcH, Integer L, Integer T, Integer W,
                     Integer FH) {
  const Integer X = L + D.LeftOffset - D.ClRect.Left;
  const Integer Y = T + D.TopOffset - D.ClRect.Top;
  const Integer AW = W + D.WidthOffset + SrcW - D.ClRect.Width();
  const Integer AH = FH + SrcH - D.ClRect.Height();
  return Bounds(X, Y, AW, AH);
}

bool LayerSinglePicture(const TspDataSkinLayerFrame& D) { return D.RBPoint.X == 0 && D.RBPoint.Y == 0; }

TspLayerBands LayerBands(const TspDataSkinLayerFrame& D, Integer SrcW, Integer SrcH, Integer AWidth,
                         Integer AHeight) {
  TspLayerBands B;
  // A description whose points lie outside its picture reads only rows the
  // picture has.
  B.TopH = Limit(std::max(D.LTPoint.Y, D.RTPoint.Y), 0, SrcH);
  B.BottomBand = Limit(SrcH - std::min(D.LBPoint.Y, D.RBPoint.Y), 0, SrcH);
  B.BottomH = B.BottomBand;
  if (AHeight < B.BottomBand + B.TopH) B.BottomH = std::max(0, AHeight - B.TopH);
  B.BottomSrc = SrcH - B.BottomH;
  B.MidH = std::max(0, AHeight - B.TopH - B.BottomH);
  B.StripTop = B.TopH;
  B.StripBottom = std::max(B.TopH, SrcH - B.BottomBand);
  if (B.StripBottom <= B.StripTop) B.MidH = 0;  // no rows between the bands
  B.LeftW = Limit(D.ClRect.Left, 0, SrcW);
  B.RightW = Limit(SrcW - D.ClRect.Right, 0, SrcW);
  (void)AWidth;
  return B;
}

std::vector<TspLayerTile> LayerSideTiles(Integer MidH, Integer StripH) {
  std::vector<TspLayerTile> Tiles;
  if (MidH <= 0 || StripH <= 0) return Tiles;
  for (Integer K = 0; K <= MidH / StripH; ++K) {
    const Integer Top = K * StripH;
    const Integer Rows = std::min(StripH, MidH - Top);
    if (Rows > 0) Tiles.push_back({Top, Rows});
  }
  return Tiles;
}

TspFormLayerBorderHit LayerBorderHitZone(const TspDataSkinLayerFrame& D, const TspLayerBorderSizes& S,
                                         TspFormLayerBorderType Kind, const TPoint& P, Integer L, Integer T,
                                         Integer W, Integer H, const TRect& Window) {
  const Integer LS = S.LeftSize, TS = S.TopSize, RS = S.RightSize, BS = S.BottomSize;
  const Integer HTS = D.HitTestSize;
  TRect Cap(D.CaptionRect.Left, D.BorderRect.Top + HTS, D.CaptionRect.Right + W - D.ClRect.Width(),
            D.CaptionRect.Bottom);
  Cap = TRect(Cap.Left + Window.Left, Cap.Top + Window.Top, Cap.Right + Window.Left, Cap.Bottom + Window.Top);
  switch (Kind) {
    case spflLeft: return P.X >= L - LS ? spflhLeft : spflhNone;
    case spflRight: return P.X > L + W + RS ? spflhNone : spflhRight;
    case spflTop: {
      const TRect TL(L - LS, T - TS, L - LS + S.HitTopLeftX, T - TS + S.HitTopLeftY);
      const TRect TR(L + W + RS - S.HitTopRightX, T - TS, L + W + RS, T - TS + S.HitTopRightY);
      const TRect Edge(TL.Right, TL.Top, TR.Left, TL.Top + HTS);
      const TRect LSide(TL.Left, TL.Bottom, TL.Left + HTS, Window.Bottom);
      const TRect RSide(TR.Left, TR.Bottom, TR.Right, Window.Bottom);
      const bool InCap = InRect(Cap, P);
      if (InRect(TL, P) && !InCap) return spflhTopLeft;
      if (InRect(Edge, P)) return spflhTop;
      if (InRect(TR, P) && !InCap) return spflhTopRight;
      if (InRect(LSide, P) && !InCap) return spflhLeft;
      if (InRect(RSide, P) && !InCap) return spflhRight;
      return spflhNone;
    }
    case spflBottom: {
      const TRect BL(L - LS, T + H + BS - S.HitBottomLeftY, L - LS + S.HitBottomLeftX, T + H + BS);
      const TRect BR(L + W + RS - S.HitBottomRightX, T + H + BS - S.HitBottomRightY, L + W + RS, T + H + BS);
      const TRect Edge(BL.Right, BL.Top, BR.Left, T + H + BS);
      const TRect LSide(BL.Left, Window.Top, L, BL.Top);
      const TRect RSide(L + W, Window.Top, L + W + RS, BR.Top);
      if (InRect(BL, P)) return spflhBottomLeft;
      if (InRect(Edge, P)) return spflhBottom;
      if (InRect(BR, P)) return spflhBottomRight;
      if (InRect(LSide, P)) return spflhLeft;
      if (InRect(RSide, P)) return spflhRight;
      return spflhNone;
    }
  }
  return spflhNone;
}

bool LayerSizeStep(TspFormLayerBorderHit Hit, const TspLayerDragForm& F, const TspLayerBorderSizes& S,
                   Integer HTS, Integer DX, Integer DY, const TPoint& P, TspLayerBounds& Out) {
  const Integer L = F.L, T = F.T, W = F.W, H = F.H;
  auto LimW = [&](Integer V) { return Limit(V, F.MinW, F.MaxW); };
  auto LimH = [&](Integer V) { return Limit(V, F.MinH, F.MaxH); };
  // The cursor may grow the form only from inside these zones.
  const bool GrowLeft = P.X <= L - S.LeftSize + HTS;
  const bool GrowUp = P.Y <= T - S.TopSize + HTS;
  const bool GrowRight = P.X >= L + W + S.RightSize - HTS;
  const bool GrowDown = P.Y >= T + H + S.BottomSize - HTS;
  Out = {L, T, W, H};
  switch (Hit) {
    case spflhLeft: {
      const Integer NW = LimW(W - DX);
      if (L + W != L + DX + NW || DX == 0 || NW == W || (DX < 0 && !GrowLeft)) return false;
      Out = {L + DX, T, NW, H};
      return true;
    }
    case spflhRight: {
      const Integer NW = LimW(W + DX);
      if (DX == 0 || NW == W || (DX > 0 && !GrowRight)) return false;
      Out = {L, T, NW, H};
      return true;
    }
    case spflhTop: {
      const Integer NH = LimH(H - DY);
      if (T + H != T + DY + NH || DY == 0 || NH == H || (DY < 0 && !GrowUp)) return false;
      Out = {L, T + DY, W, NH};
      return true;
    }
    case spflhBottom: {
      const Integer NH = LimH(H + DY);
      if (DY == 0 || NH == H || (DY > 0 && !GrowDown)) return false;
      Out = {L, T, W, NH};
      return true;
    }
    case spflhTopLeft:
    case spflhTopRight:
    case spflhBottomLeft:
    case spflhBottomRight: {
      const bool Left = Hit == spflhTopLeft || Hit == spflhBottomLeft;
      const bool Top = Hit == spflhTopLeft || Hit == spflhTopRight;
      Integer X = DX, Y = DY;
      // Each axis: no movement, or growth from outside its zone, keeps it.
      if (X == 0 || (Left ? (X < 0 && !GrowLeft) : (X > 0 && !GrowRight))) X = 0;
      if (Y == 0 || (Top ? (Y < 0 && !GrowUp) : (Y > 0 && !GrowDown))) Y = 0;
      if (X == 0 && Y == 0) return false;
      const Integer NW = X == 0 ? W : LimW(Left ? W - X : W + X);
      const Integer NH = Y == 0 ? H : LimH(Top ? H - Y : H + Y);
      const Integer NL = Left ? L + X : L;
      const Integer NT = Top ? T + Y : T;
      if (Left && NL + NW != L + W) return false;   // the right edge would move
      if (Top && NT + NH != T + H) return false;    // the bottom edge would move
      if (NW == W && NH == H) return false;
      Out = {NL, NT, NW, NH};
      return true;
    }
    default: return false;
  }
}

std::vector<Integer> LayerFadeSteps(Integer Target) {
  std::vector<Integer> Steps;
  const Integer Step = std::max(1, Target / 15);
  Integer V = 0;
  do {
    V = std::min(V + Step, Target);
    Steps.push_back(V);
  } while (V < Target);
  return Steps;
}

Integer LayerScaledAlpha(Integer Value, Integer FormAlpha) {
  return Integer(std::nearbyint(double(Value) * (double(FormAlpha) / 255.0)));
}
