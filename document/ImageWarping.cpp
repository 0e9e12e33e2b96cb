#include "document/ImageWarping.h"

#include <algorithm>
#include <cmath>

#include "bitmap/Bmp32_Math.h"
#include "bitmap/Bmp32_Resamplers.h"

namespace {

Integer RoundS(double V) { return Integer(std::nearbyint(V)); }

Single ToolAmount(TBrushTool T) { return T == btZoom ? 0.8f : T == btFlower ? 4.0f : 0.2f; }

void ApplyTool(TBrushTool T, TBrushToolMode M, double Amount, double& R, double& Theta) {
  switch (T) {
    case btZoom:
      R += (M == btmLeft ? -0.1 : 0.1) * (1 - (1 - R) * Amount);
      break;
    case btTwirl:
      Theta += M == btmLeft ? Amount : -Amount;
      break;
    case btFlower:
      R = M == btmLeft ? R * std::sin(Theta * Amount) : R * std::max(std::sin(Theta * Amount), 0.0);
      break;
    default:
      break;
  }
}

}  // namespace

void TGenericBrush::SetPressure(Single V) { FPressure = std::clamp(V, 0.0f, 1.0f); }
void TGenericBrush::SetPinch(Single V) { FPinch = std::clamp(V, -1.0f, 1.0f); }
void TGenericBrush::SetFeather(Single V) { FFeather = std::clamp(V, 0.0f, 1.0f); }

Single TGenericBrush::Weight(Single X, Single Y) const {
  const double d = std::sqrt(double(X) * X + double(Y) * Y);
  double f;
  if (d <= -1 || d >= 1) {
    f = 0;
  } else if (FPinch == 1) {
    f = 1;
  } else if (FPinch == -1) {
    f = RoundS(d * 65536) == 0 ? 1 : 0;
  } else {
    const double p = FPinch > 0 ? 1 / (1 - double(FPinch)) : 1 + double(FPinch);
    f = std::pow(std::fabs(1 - std::fabs(std::pow(d, p))), 1 / p);
  }
  double g = 1;
  if (FFeather > 0) g = std::clamp((1 - d) * (1 / double(FFeather)), 0.0, 1.0);
  return Single(std::clamp(f * g * FPressure, 0.0, 1.0));
}

TImgWarping::TImgWarping(TCustomBitmap32* SrcBitmap, TCustomBitmap32* DestBitmap, TBrushTool Tool)
    : FDst(DestBitmap), FRemapper(std::make_unique<TRemapTransformation>()), FBrushTool(Tool) {
  FSrc.Assign(SrcBitmap);
  new TLinearResampler(&FSrc);  // the bitmap owns it
  FRemapper->VectorMap()->SetSize(FSrc.Width(), FSrc.Height());
  FRemapper->VectorMap()->Clear();
  const TFloatRect r{0, 0, Single(FSrc.Width()), Single(FSrc.Height())};
  FRemapper->SetSrcRect(r);
  FRemapper->SetMappingRect(r);
}

TImgWarping::~TImgWarping() = default;

void TImgWarping::UpdateBrush(Integer BrushSize, Integer Pressure) {
  const Integer size = std::max(BrushSize, 2);  // the normalisation needs two cells
  FGenericBrush.SetPressure(Single(Pressure) / 100);
  FGenericBrush.SetPinch(0);
  FGenericBrush.SetFeather(0.12f);
  for (TVectorMap& m : FCurrentBrush) {
    m.SetSize(size, size);
    m.Clear();
  }
  FTempMap.SetSize(size, size);
  FTempMap.Clear();
  BuildBrush(btmLeft);
  if (FBrushTool != btWarp) BuildBrush(btmRight);
}

void TImgWarping::BuildBrush(TBrushToolMode M) {
  TVectorMap& map = FCurrentBrush[M];
  const Integer w = map.Width(), h = map.Height();
  const double sx = 2.0 / (w - 1), sy = 2.0 / (h - 1);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      const double u = x * sx - 1, v = y * sy - 1;
      const double wt = FGenericBrush.Weight(Single(u), Single(v));
      if (FBrushTool == btWarp) {
        const TFixed k = RoundS(wt * 65536);
        map.SetVector(x, y, TFixedPoint{k, k});
        continue;
      }
      double r = std::sqrt(u * u + v * v), theta = std::atan2(v, u);
      ApplyTool(FBrushTool, M, ToolAmount(FBrushTool), r, theta);
      const double u2 = r * std::cos(theta), v2 = r * std::sin(theta);
      const double dx = (u2 + 1) * (w - 1) * 0.5 - x, dy = (v2 + 1) * (h - 1) * 0.5 - y;
      map.SetVector(x, y, TFixedPoint{RoundS(dx * wt * 65536), RoundS(dy * wt * 65536)});
    }
}

bool TImgWarping::TakeButton(Word Shift) {
  if ((Shift & (WarpShiftLeft | WarpShiftRight)) == 0) return false;
  FBrushMode = (Shift & WarpShiftLeft) ? btmLeft : btmRight;
  return true;
}

void TImgWarping::MouseDown(Word Shift, Integer X, Integer Y) {
  if (!TakeButton(Shift)) return;
  const TVectorMap& b = FCurrentBrush[FBrushMode];
  FLastPos = TPoint(X - b.Width() / 2, Y - b.Height() / 2);
  FLastDelta = TFixedPoint{0, 0};
}

void TImgWarping::MouseMove(Word Shift, Integer X, Integer Y) {
  if (!TakeButton(Shift)) return;
  const TVectorMap& brush = FCurrentBrush[FBrushMode];
  const Integer w = brush.Width(), h = brush.Height();
  if (w <= 0 || h <= 0) return;
  TVectorMap* m = FRemapper->VectorMap();
  const TPoint p(X - w / 2, Y - h / 2);
  TFixed fx = 65536, fy = 65536;
  if (FBrushTool == btWarp) {
    fx = RoundS((double(FLastPos.X - p.X) * 65536 + FLastDelta.X) * 0.5);
    fy = RoundS((double(FLastPos.Y - p.Y) * 65536 + FLastDelta.Y) * 0.5);
    FLastDelta = TFixedPoint{fx, fy};
  }
  const Integer c0 = std::max(-p.X, 0), c1 = std::min(p.X + w - 1, m->Width() - 1) - p.X;
  const Integer r0 = std::max(-p.Y, 0), r1 = std::min(p.Y + h - 1, m->Height() - 1) - p.Y;
  for (Integer r = r0; r <= r1; ++r)
    for (Integer c = c0; c <= c1; ++c) {
      const TFixedPoint b = brush.GetVector(c, r);
      const TFixedPoint v{FixedMul(fx, b.X), FixedMul(fy, b.Y)};
      const TFixedPoint s = m->GetFixedVectorS((p.X + c) * 65536 + v.X, (p.Y + r) * 65536 + v.Y);
      FTempMap.SetVector(c, r, TFixedPoint{s.X + v.X, s.Y + v.Y});
    }
  for (Integer r = r0; r <= r1; ++r)
    for (Integer c = c0; c <= c1; ++c) m->SetVector(p.X + c, p.Y + r, FTempMap.GetVector(c, r));
  FDstClip = TRect(p.X, p.Y, p.X + w, p.Y + h);
  if (FDst) {
    FDst->FillRectS(FDstClip, 0);
    TransformClipped(FDst, &FSrc, FRemapper.get(), FDstClip);
  }
  FSampleClipRect = TRect(std::min(FSampleClipRect.Left, FDstClip.Left), std::min(FSampleClipRect.Top, FDstClip.Top),
                          std::max(FSampleClipRect.Right, FDstClip.Right),
                          std::max(FSampleClipRect.Bottom, FDstClip.Bottom));
  FLastPos = p;
}
