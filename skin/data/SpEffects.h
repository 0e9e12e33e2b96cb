// The transitions and effects of the skin engine's effect bitmap on its
// 24-bit pixels: rows top-down of Width pixels (blue, green, red) padded with
// Width mod 4 bytes. TspEffectBmp (skin/data/win/SpEffBmp.h) owns the DIB
// section and calls these.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

struct TspEffectView {
  Byte* Bits = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  static Integer StrideOf(Integer Width) { return Width * 3 + Width % 4; }
  Integer Stride() const { return StrideOf(Width); }
  bool Empty() const { return Bits == nullptr || Width <= 0 || Height <= 0; }
  Byte* Row(Integer Y) const { return Bits + Int64(Y) * Stride(); }
  Byte* Pixel(Integer X, Integer Y) const { return Row(Y) + Int64(X) * 3; }
  bool SameSize(const TspEffectView& B) const { return Width == B.Width && Height == B.Height; }
};

// $00RRGGBB of pixel (x, y) / written from one.
Cardinal EffGetPixel(const TspEffectView& V, Integer X, Integer Y);
void EffSetPixel(const TspEffectView& V, Integer X, Integer Y, Cardinal Value);

// A factor clamped to 0..1; NaN and anything not >= 0 become 0.
double ClampKf(double Kf);

// Transitions from V towards B (factor 0: V unchanged, 1: B). Those of equal
// sizes do nothing when the sizes differ.
void EffMorph(const TspEffectView& V, const TspEffectView& B, double Kf);
// Inside Rct of V, reading B from (StartX, StartY); pixels whose source or
// destination lies outside its bitmap are skipped.
void EffMorphRect(const TspEffectView& V, const TspEffectView& B, double Kf, const TRect& Rct, Integer StartX,
                  Integer StartY);
// Rct with Right and Bottom inclusive after limiting them to the last column
// and row; pixels whose source lies outside B are skipped.
void EffCopyRect(const TspEffectView& V, const TspEffectView& B, TRect Rct, Integer StartX, Integer StartY);
void EffMorphHGrad(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphVGrad(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphGrad(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphLeftGrad(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphRightGrad(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphPush(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphLeftSlide(const TspEffectView& V, const TspEffectView& B, double Kf);
void EffMorphRightSlide(const TspEffectView& V, const TspEffectView& B, double Kf);

// Effects in place.
void EffChangeBrightness(const TspEffectView& V, double Kf);
void EffChangeDarkness(const TspEffectView& V, double Kf);
void EffInvert(const TspEffectView& V);
void EffGrayScale(const TspEffectView& V);
void EffAddMonoNoise(const TspEffectView& V, Integer Amount);
void EffAddColorNoise(const TspEffectView& V, Integer Amount);
void EffSplitBlur(const TspEffectView& V, Integer Amount);
void EffMosaic(const TspEffectView& V, Integer ASize);
void EffWave(const TspEffectView& V, Integer XDiv, Integer YDiv, Integer RatioVal);
void EffResize(const TspEffectView& V, const TspEffectView& Dst);

// Turned or flipped copies into Dst; nothing when Dst has not the turned size.
void EffRotate90_1(const TspEffectView& V, const TspEffectView& Dst);
void EffRotate90_2(const TspEffectView& V, const TspEffectView& Dst);
void EffFlipVert(const TspEffectView& V, const TspEffectView& Dst);

// Masked effects: Msk of V's width and at least its height; a mask pixel of
// exactly white protects the pixel at the same place.
void EffMaskBlur(const TspEffectView& V, const TspEffectView& Msk, Integer Amount);
void EffMaskAntialiasing(const TspEffectView& V, const TspEffectView& Msk, Integer Amount);
// Color is $00BBGGRR already resolved to RGB.
void EffMaskFillColor(const TspEffectView& V, const TspEffectView& Msk, Cardinal Color, double Kf);
