#include "skin/form/MdiArrange.h"

#include <algorithm>
#include <cmath>

std::vector<TRect> TileHorizontalRects(Integer N, Integer W, Integer H) {
  std::vector<TRect> R(size_t(std::max(N, 0)));
  if (N <= 0) return R;
  const Integer Cols = std::max(1, Integer(std::sqrt(double(N))));
  Integer Rows = N / Cols;
  if (N > Rows * Cols) ++Rows;
  const Integer ColW = W / Cols;
  Integer RowH = H / Rows, Right = W, Bottom = H, C = Cols;
  for (Integer I = N; I >= 1; --I) {
    const Integer L = std::max(Right - ColW, 0), T = std::max(Bottom - RowH, 0);
    R[size_t(I - 1)] = Bounds(L, T, ColW, RowH);
    Bottom -= RowH;
    if (Bottom - RowH < 0) {
      Bottom = H;
      Right -= ColW;
      C = std::max(C - 1, 1);
      Integer K = (I - 1) / C;
      if (I - 1 > K * C) ++K;
      K = std::max(K, 1);
      RowH = H / K;
    }
  }
  return R;
}

std::vector<TRect> TileVerticalRects(Integer N, Integer W, Integer H) {
  std::vector<TRect> R(size_t(std::max(N, 0)));
  if (N <= 0) return R;
  const Integer Rows = std::max(1, Integer(std::sqrt(double(N))));
  const Integer Cols = std::max(1, N / Rows);
  const Integer ColW = W / Cols;
  Integer RowH = H / Rows, X = 0, Y = 0, C = Cols;
  for (Integer K = 1; K <= N; ++K) {
    R[size_t(K - 1)] = Bounds(X, Y, ColW, RowH);
    Y += RowH;
    if (Y + RowH > H) {
      Y = 0;
      X += ColW;
      C = std::max(C - 1, 1);
      const Integer M = std::max((N - K) / C, 1);
      RowH = H / M;
    }
  }
  return R;
}

std::vector<TRect> CascadeRects(const std::vector<TspCascadeChild>& Children, Integer W, Integer H, Integer Step,
                                Integer MinW, Integer MinH) {
  const Integer N = Integer(Children.size());
  std::vector<TRect> R(Children.size());
  if (N == 0) return R;
  Step = std::max(Step, 1);
  const Integer K = (W - Integer(std::nearbyint(W * 0.8))) / Step;
  const Integer Steps = K > N ? N - 1 : K;
  const Integer CW = std::max(W - Step * Steps, MinW), CH = std::max(H - Step * Steps, MinH);
  Integer Offset = 0;
  for (Integer I = N - 1; I >= 0; --I) {
    const TspCascadeChild& C = Children[size_t(I)];
    const Integer CWi = C.KeepSize ? C.W : CW, CHi = C.KeepSize ? C.H : CH;
    if (Offset + CWi > W || Offset + CHi > H) Offset = 0;
    R[size_t(I)] = Bounds(Offset, Offset, CWi, CHi);
    Offset += Step;
  }
  return R;
}

TspMdiScrollState MdiScrollState(const std::vector<TRect>& Children, Integer W, Integer H, Integer VBarW,
                                 Integer HBarH) {
  Integer MinLeft = 100000, MinTop = 100000, MaxRight = -100000, MaxBottom = -100000;
  for (const TRect& C : Children) {
    MinLeft = std::min(MinLeft, C.Left);
    MinTop = std::min(MinTop, C.Top);
    MaxRight = std::max(MaxRight, C.Right);
    MaxBottom = std::max(MaxBottom, C.Bottom);
  }
  TspMdiScrollState S;
  S.NeedH = MinLeft < 0 || MaxRight > W;
  S.NeedV = MinTop < 0 || MaxBottom > H;
  if (S.NeedV && !S.NeedH) S.NeedH = MinLeft < 0 || MaxRight > W - VBarW;
  if (S.NeedH && !S.NeedV) S.NeedV = MinTop < 0 || MaxBottom > H - HBarH;
  if (S.NeedH) {
    const Integer L = std::min(MinLeft, 0), R = std::max(MaxRight, W);
    S.HMax = R - L - 1;
    S.HPos = -L;
    S.HPage = W - (S.NeedV ? VBarW : 0);
  }
  if (S.NeedV) {
    const Integer T = std::min(MinTop, 0), B = std::max(MaxBottom, H);
    S.VMax = B - T - 1;
    S.VPos = -T;
    S.VPage = H - (S.NeedH ? HBarH : 0);
  }
  return S;
}

TspMdiTabsLayout MdiTabsLayout(Integer N, Integer Width, Integer H, Integer DefaultTabWidth, Integer MinTabWidth) {
  TspMdiTabsLayout L;
  if (N <= 0) return L;
  L.Rects.assign(size_t(N), TRect());
  L.Visible.assign(size_t(N), false);
  Integer TW = (Width - 15) / N;
  if (TW > DefaultTabWidth) TW = DefaultTabWidth;
  Integer X = 15;
  if (MinTabWidth != 0 && TW < MinTabWidth) {
    TW = MinTabWidth;
    const Integer Capacity = (Width - 30) / TW;
    for (Integer I = 0; I < N; ++I) {
      if (I < Capacity) {
        L.Rects[size_t(I)] = TRect(X, 0, X + TW, H);
        L.Visible[size_t(I)] = true;
      } else {
        ++L.InVisibleCount;
      }
      X += TW;
    }
    L.DragLimit = Width - 15;
    return L;
  }
  for (Integer I = 0; I < N; ++I) {
    L.Rects[size_t(I)] = TRect(X, 0, X + TW, H);
    L.Visible[size_t(I)] = true;
    X += TW;
  }
  if (TW < DefaultTabWidth) L.Rects.back().Right = Width;
  L.DragLimit = Width;
  return L;
}

TRect DraggedTabRect(TRect R, Integer TabDX, Integer Limit) {
  auto Shift = [&R](Integer D) {
    R.Left += D;
    R.Right += D;
  };
  Shift(TabDX);
  if (R.Right > Limit) Shift(Limit - R.Right);
  if (R.Left < 0) Shift(-R.Left);
  return R;
}

Integer MdiTabDropIndex(const std::vector<TRect>& Rects, const std::vector<bool>& Visible, Integer DragIndex,
                        Integer TabDX) {
  const Integer N = Integer(Rects.size());
  if (N == 0 || TabDX == 0 || DragIndex < 0 || DragIndex >= N) return -1;
  auto Middle = [&](Integer I) { return Rects[size_t(I)].Left + Rects[size_t(I)].Width() / 2; };
  Integer Result = -1;
  if (TabDX > 0) {
    const Integer E = Rects[size_t(DragIndex)].Right;
    for (Integer I = DragIndex + 1; I < N; ++I)
      if (Visible[size_t(I)] && Middle(I) < E) Result = I;
  } else {
    const Integer E = Rects[size_t(DragIndex)].Left;
    for (Integer I = DragIndex - 1; I >= 0; --I)
      if (Visible[size_t(I)] && Middle(I) > E) Result = I;
  }
  return Result;
}
