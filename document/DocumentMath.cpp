// Document arithmetic (see DocumentMath.h).
#include "document/DocumentMath.h"

#include <algorithm>
#include <cstdlib>

#include "document/ShapeRows.h"
#include "rtl/Math.h"
#include "rtl/SysUtils.h"

bool CropRateOfIndex(Integer Index, Integer ViewWidth, Integer ViewHeight, Single& Rate) {
  static constexpr Single Fixed[10] = {0, 1.0f, 2.0f / 3, 3.0f / 4, 4.0f / 5, 5.0f / 7, 3.0f / 2, 4.0f / 3,
                                       16.0f / 9, 16.0f / 10};
  if (Index == -1) {
    Rate = -1;
    return true;
  }
  if (Index == 0) {
    Rate = ViewHeight != 0 ? Single(double(ViewWidth) / ViewHeight) : Rate;
    return ViewHeight != 0;
  }
  if (Index < 1 || Index > 9) return false;
  Rate = Fixed[Index];
  return true;
}

Integer CropFixedY2(Integer X1, Integer Y1, Integer X2, Integer Y2, Single Rate) {
  auto span = [&](Integer A, Integer B) {
    return Integer(std::clamp<Int64>(Round((long double)(Int64(A) - B + 1) / Rate), -1000000000, 1000000000));
  };
  if (X2 <= X1 && Y2 <= Y1) return Y1 - span(X1, X2) + 1;
  if (X2 >= X1 && Y2 <= Y1) return Y1 - span(X2, X1) + 1;
  if (X2 >= X1 && Y2 >= Y1) return Y1 + span(X2, X1) - 1;
  return Y1 + span(X1, X2) - 1;
}

Integer GuideSnap(const std::vector<Integer>& Guides, Integer Low, Integer High, Integer Extent, Integer Delta) {
  const Integer t = std::min(Extent / 2, 15);
  if (t <= 0) return 0;
  for (Integer g : Guides) {
    const Int64 candidates[3] = {Int64(g) - (Int64(High) + Delta), Int64(g) - (Int64(Low) + Delta),
                                 Int64(g) - (Int64(Low) + Extent / 2 + Delta)};
    for (int k = 0; k < 3; ++k)
      if (std::llabs(candidates[k]) < (k < 2 ? t : t - 4)) return Integer(candidates[k]);
  }
  return 0;
}

std::vector<Integer> ParseGuides(const String& Text) {
  std::vector<Integer> out;
  for (const String& part : SplitCell(Text, u'.')) {
    Integer v = 0;
    if (!part.empty() && TryStrToInt(part, v)) out.push_back(v);
  }
  return out;
}

String GuidesText(const std::vector<Integer>& Guides) {
  String s;
  for (size_t i = 0; i < Guides.size(); ++i) {
    if (i > 0) s += u'.';
    s += IntToStr(Guides[i]);
  }
  return s;
}

TRulerState ParseRuler(const String& Text) {
  TRulerState r;
  const std::vector<String> parts = SplitCell(Text, u'.');
  if (Text.empty() || parts.size() < 5) return r;
  r.Enabled = CellTextToBool(parts[0]);
  r.P1 = TPoint(CellTextToInt(parts[1]), CellTextToInt(parts[2]));
  r.P2 = TPoint(CellTextToInt(parts[3]), CellTextToInt(parts[4]));
  return r;
}

Integer RulerPick(const TPoint& P1, const TPoint& P2, const TPoint& Pt) {
  if (!(CalcDistanceToSegment(P1, P2, Pt) < 10)) return -1;
  if (CalcDistance(Pt, P1) < 10) return 1;
  if (CalcDistance(Pt, P2) < 10) return 2;
  return 0;
}

TCanvasHandles CanvasHandleRects(const TRect& View, Integer W) {
  TCanvasHandles r{};
  const Integer L = View.Left, T = View.Top, R = View.Right, B = View.Bottom;
  r[1] = Bounds(L - W, T - W, W, W);
  r[2] = Bounds(R, T - W, W, W);
  r[3] = Bounds(R, B, W, W);
  r[4] = Bounds(L - W, B, W, W);
  if (R - L > 20) {
    const Integer x = L + (R - L - W) / 2;
    r[5] = Bounds(x, T - W, W, W);
    r[6] = Bounds(x, B, W, W);
  }
  if (B - T > 20) {
    const Integer y = T + (B - T - W) / 2;
    r[7] = Bounds(L - W, y, W, W);
    r[8] = Bounds(R, y, W, W);
  }
  return r;
}

TRect CanvasDragRect(const TRect& View, Integer Index, Integer Dx, Integer Dy) {
  TRect r = View;
  const bool left = Index == 1 || Index == 4 || Index == 7, right = Index == 2 || Index == 3 || Index == 8;
  const bool top = Index == 1 || Index == 2 || Index == 5, bottom = Index == 3 || Index == 4 || Index == 6;
  if (left) r.Left += Dx;
  if (right) r.Right += Dx;
  if (top) r.Top += Dy;
  if (bottom) r.Bottom += Dy;
  EnsureMinRectSize(r, Index, 1);
  return r;
}

void CanvasDragSize(Integer Index, Integer W, Integer H, Integer Dx, Integer Dy, Integer& NewW, Integer& NewH) {
  NewW = W;
  NewH = H;
  if (Index == 1 || Index == 4 || Index == 7) NewW = W - Dx;
  if (Index == 2 || Index == 3 || Index == 8) NewW = W + Dx;
  if (Index == 1 || Index == 2 || Index == 5) NewH = H - Dy;
  if (Index == 3 || Index == 4 || Index == 6) NewH = H + Dy;
  NewW = std::max(NewW, 1);
  NewH = std::max(NewH, 1);
}

String CanvasSizeLabel(Integer W, Integer H) { return IntToStr(W) + u" \u00D7 " + IntToStr(H); }

std::vector<TPoint> WatermarkTiles(Integer LayerW, Integer LayerH, Integer W, Integer H, Integer SD1, Integer SD2) {
  std::vector<TPoint> tiles;
  const Int64 stepX = std::max<Int64>(1, Int64(W) + SD1), stepY = std::max<Int64>(1, Int64(H) + SD2);
  const Int64 limitX = Int64(LayerW) - W / 3, limitY = Int64(LayerH) - H / 3;
  Int64 x = 0, y = 0;
  while (x < limitX && y < limitY) {
    tiles.push_back(TPoint(Integer(x), Integer(y)));
    x += stepX;
    if (x >= limitX) {
      x = 0;
      y += stepY;
    }
  }
  return tiles;
}

TPoint WatermarkPosition(Integer Location, Integer LayerW, Integer LayerH, Integer W, Integer H, Integer ED1,
                         Integer ED2) {
  const Integer dx = Integer(Round((long double)LayerW * ED1 / 100));
  const Integer dy = Integer(Round((long double)LayerH * ED2 / 100));
  switch (Location) {
    case 0: return TPoint(dx, dy);
    case 1: return TPoint(LayerW - W - dx, dy);
    case 2: return TPoint(dx, LayerH - H - dy);
    case 3: return TPoint(LayerW - W - dx, LayerH - H - dy);
    case 4: return TPoint((LayerW - W) / 2, (LayerH - H) / 2);
    default: return TPoint(0, 0);
  }
}
