// The bitmap's members that reach the transfers and resamplers: the default
// resampler, the resampler lookup by class name, the sub-pixel readers
// (bilinear interpolation slot) and Draw/DrawTo.
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Resamplers.h"

TCustomResampler* CreateDefaultResampler(TCustomBitmap32* Bitmap) { return new TNearestResampler(Bitmap); }

bool CreateResamplerByName(const String& Name, TCustomBitmap32* Bitmap) {
  if (!ResamplerList) return false;
  TClassRef c = ResamplerList->Find(Name);
  if (!c) return false;
  TObject* r = c->Create(Bitmap);  // installs itself as the bitmap's resampler
  if (Bitmap->Resampler() != r) delete r;
  return true;
}

// --- sub-pixel reads

TColor32 TCustomBitmap32::GetPixel256(Integer X, Integer Y) const {
  Cardinal ux = Cardinal(X), uy = Cardinal(Y);
  const TColor32* p = PixelPtr(Integer(ux >> 8), Integer(uy >> 8));
  return BilinearInterpolate(GammaCurve[255 - (ux & 255)], GammaCurve[255 - (uy & 255)], p, p + FWidth);
}

TColor32 TCustomBitmap32::GetPixel256S(Integer X, Integer Y) const {
  const TRect& c = FClipRect;
  Int64 x = X, y = Y;
  if (x < Int64(c.Left) * 256 || y < Int64(c.Top) * 256) return FOuterColor;
  // A position between the last pixel and the edge reads the edge pixel;
  // OuterColor starts at Right shl 8 / Bottom shl 8.
  if (x >= Int64(c.Right) * 256 || y >= Int64(c.Bottom) * 256) return FOuterColor;
  Int64 R1 = Int64(c.Right - 1) * 256, B1 = Int64(c.Bottom - 1) * 256;
  if (x < R1 && y < B1) return GetPixel256(X, Y);
  if (x >= R1) return GetPixel(c.Right - 1, y >= B1 ? c.Bottom - 1 : Integer(y >> 8));
  return GetPixel(Integer(x >> 8), c.Bottom - 1);
}

TColor32 TCustomBitmap32::GetPixelFixed(TFixed X, TFixed Y) const {
  TColor32 r = GetPixel256(Integer((Cardinal(X) + 127u) >> 8), Integer((Cardinal(Y) + 127u) >> 8));
  EndBlending();
  return r;
}

TColor32 TCustomBitmap32::GetPixelFixedS(TFixed X, TFixed Y) const {
  return GetPixel256S(Integer((Int64(X) + 127) >> 8), Integer((Int64(Y) + 127) >> 8));
}

TColor32 TCustomBitmap32::GetPixelFixedW(TFixed X, TFixed Y) const {
  const TRect& c = FClipRect;
  if (RectIsEmpty(c)) return FOuterColor;  // nothing to wrap into
  Integer xi = X >> 16, yi = Y >> 16;
  Integer X0 = WrapProcHorz(xi, c.Left, c.Right - 1), X1 = WrapProcHorz(xi + 1, c.Left, c.Right - 1);
  Integer Y0 = WrapProcVert(yi, c.Top, c.Bottom - 1), Y1 = WrapProcVert(yi + 1, c.Top, c.Bottom - 1);
  Cardinal WX = (Cardinal(X) >> 8) & 255, WY = (Cardinal(Y) >> 8) & 255;
  TColor32 Top = CombineColors(GetPixel(X1, Y0), GetPixel(X0, Y0), WX);
  TColor32 Bottom = CombineColors(GetPixel(X1, Y1), GetPixel(X0, Y1), WX);
  TColor32 r = CombineColors(Bottom, Top, WY);
  EndBlending();
  return r;
}

// --- drawing onto other bitmaps

void TCustomBitmap32::Draw(Integer DstX, Integer DstY, TCustomBitmap32* Src) {
  if (Src) Src->DrawTo(this, DstX, DstY);
}

void TCustomBitmap32::Draw(Integer DstX, Integer DstY, const TRect& SrcRect, TCustomBitmap32* Src) {
  if (Src) Src->DrawTo(this, DstX, DstY, SrcRect);
}

void TCustomBitmap32::Draw(const TRect& DstRect, const TRect& SrcRect, TCustomBitmap32* Src) {
  if (Src) Src->DrawTo(this, DstRect, SrcRect);
}

void TCustomBitmap32::DrawTo(TCustomBitmap32* Dst) { DrawTo(Dst, 0, 0); }

void TCustomBitmap32::DrawTo(TCustomBitmap32* Dst, Integer DstX, Integer DstY) {
  DrawTo(Dst, DstX, DstY, BoundsRect());
}

void TCustomBitmap32::DrawTo(TCustomBitmap32* Dst, Integer DstX, Integer DstY, const TRect& SrcRect) {
  TRect clip = Dst ? Dst->ClipRect() : TRect();
  TransferBlock(Dst, DstX, DstY, clip, this, SrcRect, FDrawMode, FOnPixelCombine);
}

void TCustomBitmap32::DrawTo(TCustomBitmap32* Dst, const TRect& DstRect) { DrawTo(Dst, DstRect, BoundsRect()); }

void TCustomBitmap32::DrawTo(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& SrcRect) {
  TRect clip = Dst ? Dst->ClipRect() : TRect();
  TransferStretched(Dst, DstRect, clip, this, SrcRect, FResampler, FDrawMode, FOnPixelCombine);
}
