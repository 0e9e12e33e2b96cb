#include "document/RasterGeometry.h"

#include <algorithm>
#include <cmath>

#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/Bmp32_Transforms.h"

TPoint CanvasOffset(Integer OldW, Integer OldH, Integer W, Integer H) {
  return TPoint((W - OldW) / 2, (H - OldH) / 2);  // C++ division truncates toward zero
}

bool ExtendCanvasSize(Integer OldW, Integer OldH, Integer& ILeft, Integer IRight, Integer& ITop, Integer IBottom,
                      Integer& NewW, Integer& NewH) {
  if (ILeft == 0 && IRight == 0 && ITop == 0 && IBottom == 0) return false;
  ILeft = std::max(ILeft, 1 - OldW);
  ITop = std::max(ITop, 1 - OldH);
  NewW = OldW + std::max(ILeft + IRight, 1 - OldW);
  NewH = OldH + std::max(ITop + IBottom, 1 - OldH);
  return true;
}

bool CropArea(const TRect& Frame, const TRect& Raster, TRect& R) {
  R = TRect();
  TRect r;
  if (!IntersectRects(r, Frame, Raster) || r.Width() <= 0 || r.Height() <= 0) return false;
  R = r;
  return true;
}

bool CropLeavesSmallPart(Int64 OriginalPixels, Int64 NewPixels) {
  return OriginalPixels > 2560000 && NewPixels < OriginalPixels / 2;
}

TRect RoundedBounds(const TFloatRect& R) {
  auto rnd = [](Single V) { return Integer(std::nearbyint(V)); };
  return TRect(rnd(R.Left), rnd(R.Top), rnd(R.Right), rnd(R.Bottom));
}

namespace {

// A copy of Src sampled by the draft resampler, transparent beyond its edges.
void PrepareSource(TCustomBitmap32& Source, TCustomBitmap32* Src) {
  Source.Assign(Src);
  auto* r = new TDraftResampler(&Source);  // the bitmap owns it
  r->SetPixelAccessMode(pamTransparentEdge);
  Source.SetDrawMode(dmOpaque);
}

TFloatRect ImageBounds(const TCustomBitmap32* B) { return TFloatRect{0, 0, Single(B->Width()), Single(B->Height())}; }

void Render(TCustomBitmap32* Dst, Integer W, Integer H, TColor32 Fill, TCustomBitmap32& Source,
            TTransformation& T) {
  Dst->SetSize(std::max(W, 1), std::max(H, 1));
  Dst->Clear(Fill);
  Transform(Dst, &Source, &T);
}

}  // namespace

void RotateByAngle(TCustomBitmap32* Src, TCustomBitmap32* Dst, Single Angle) {
  TCustomBitmap32 source;
  PrepareSource(source, Src);
  const Single w = Single(Src->Width()), h = Single(Src->Height());
  TAffineTransformation t;
  t.SetSrcRect(ImageBounds(Src));
  t.Translate(-w / 2, -h / 2);
  t.Rotate(Angle);
  t.Translate(w / 2, h / 2);
  const TRect b = RoundedBounds(t.GetTransformedBounds());
  t.Translate(Single(b.Width()) / 2 - w / 2, Single(b.Height()) / 2 - h / 2);
  Render(Dst, b.Width(), b.Height(), 0, source, t);
}

void SkewByPercent(TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer SkewX, Integer SkewY) {
  TCustomBitmap32 source;
  PrepareSource(source, Src);
  TAffineTransformation t;
  t.SetSrcRect(ImageBounds(Src));
  t.Skew(Single(SkewX) / 100, Single(SkewY) / 100);
  const TRect b = RoundedBounds(t.GetTransformedBounds());
  if (b.Left < 0) t.Translate(Single(-b.Left), 0);
  Render(Dst, std::max(1, b.Width()), std::max(1, b.Height()), 0, source, t);
}

void TransformCorners(TCustomBitmap32* Src, TCustomBitmap32* Dst, const Single X[4], const Single Y[4],
                      Integer ScaleX, Integer ScaleY) {
  TCustomBitmap32 source;
  PrepareSource(source, Src);
  const Single w = Single(Src->Width()), h = Single(Src->Height());
  TProjectiveTransformation t;
  t.SetSrcRect(ImageBounds(Src));
  t.SetX0(X[0] * w), t.SetY0(Y[0] * h);
  t.SetX1(X[1] * w), t.SetY1(Y[1] * h);
  t.SetX2(X[2] * w), t.SetY2(Y[2] * h);
  t.SetX3(X[3] * w), t.SetY3(Y[3] * h);
  const TRect b = RoundedBounds(t.GetTransformedBounds());
  Integer width = std::max(1, b.Width()), height = std::max(1, b.Height());
  if (X[0] * w > 0 && X[3] * w > 0) width += Integer(std::nearbyint(std::min(X[0] * w, X[3] * w)));
  if (Y[0] * h > 0 && Y[1] * h > 0) height += Integer(std::nearbyint(std::min(Y[0] * h, Y[1] * h)));
  Render(Dst, width, height, 0x00FFFFFFu, source, t);
  if (ScaleX == 100 && ScaleY == 100) return;
  TCustomBitmap32 second;
  PrepareSource(second, Dst);
  TAffineTransformation s;
  s.SetSrcRect(ImageBounds(&second));
  s.Scale(Single(ScaleX) / 100, Single(ScaleY) / 100);
  const TRect sb = RoundedBounds(s.GetTransformedBounds());
  Render(Dst, sb.Width(), sb.Height(), 0x00FFFFFFu, second, s);
}
