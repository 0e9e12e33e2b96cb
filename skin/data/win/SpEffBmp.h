// The skin engine's effect bitmap TspEffectBmp: a 24-bit top-down DIB
// section (rows padded to 4 bytes) on which the transitions between two
// looks and the inactive-form effects are computed (skin/data/SpEffects.h),
// then drawn onto a device context. Winelib only.
#pragma once

#include "classlib/Graphics.h"
#include "skin/data/SpEffects.h"

class TspEffectBmp : public TObject {
 public:
  // Sizes of 0 or less, or beyond what memory holds, raise EOutOfMemory, as
  // does a failed DIB section: an effect bitmap always has pixels.
  TspEffectBmp(Integer cx, Integer cy);
  // A copy of the bitmap hBmp's pixels (read through a display DC in 24
  // bits; a 32-bit source loses its alpha).
  static TspEffectBmp* CreateFromhWnd(HBITMAP hBmp);
  static TspEffectBmp* CreateCopy(TspEffectBmp* hBmp);
  ~TspEffectBmp() override;

  HBITMAP Handle() const { return FHandle; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  Integer Size() const { return FSize; }
  Byte* Bits() const { return FBits; }
  const BITMAPINFO& BmpInfo() const { return FBmpInfo; }
  TspEffectView View() const { return TspEffectView{FBits, FWidth, FHeight}; }

  void GetScanLine(Integer y, void* Line) const;
  void SetScanLine(Integer y, const void* Line);
  Byte* GetRowPtr(Integer y) const { return View().Row(y); }
  Cardinal GetPixel(Integer x, Integer y) const { return EffGetPixel(View(), x, y); }
  void SetPixel(Integer x, Integer y, Cardinal Value) { EffSetPixel(View(), x, y, Value); }

  void Draw(HDC hDC, Integer x, Integer y);
  void Stretch(HDC hDC, Integer x, Integer y, Integer cx, Integer cy);
  void DrawRect(HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy);
  void Resize(TspEffectBmp* Dst);
  void CopyRect(TspEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY);

  void Morph(TspEffectBmp* BMP, double Kf);
  void MorphRect(TspEffectBmp* BMP, double Kf, const TRect& Rct, Integer StartX, Integer StartY);
  void MorphHGrad(TspEffectBmp* BMP, double Kf);
  void MorphVGrad(TspEffectBmp* BMP, double Kf);
  void MorphGrad(TspEffectBmp* BMP, double Kf);
  void MorphLeftGrad(TspEffectBmp* BMP, double Kf);
  void MorphRightGrad(TspEffectBmp* BMP, double Kf);
  void MorphPush(TspEffectBmp* BMP, double Kf);
  void MorphLeftSlide(TspEffectBmp* BMP, double Kf);
  void MorphRightSlide(TspEffectBmp* BMP, double Kf);

  void ChangeBrightness(double Kf);
  void ChangeDarkness(double Kf);
  void GrayScale();
  void Invert();
  void SplitBlur(Integer Amount);
  void AddMonoNoise(Integer Amount);
  void AddColorNoise(Integer Amount);
  void Mosaic(Integer ASize);
  void Wave(Integer XDIV, Integer YDIV, Integer RatioVal);
  void Rotate90_1(TspEffectBmp* Dst);
  void Rotate90_2(TspEffectBmp* Dst);
  void FlipVert(TspEffectBmp* Dst);
  void MaskAntialiasing(TspEffectBmp* Msk, Integer Amount);
  void MaskBlur(TspEffectBmp* Msk, Integer Amount);
  void MaskFillColor(TspEffectBmp* Msk, TColor Color, double kf);

 private:
  TspEffectBmp() = default;
  void CreateSection(Integer cx, Integer cy);

  HBITMAP FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FSize = 0;
  Byte* FBits = nullptr;
  BITMAPINFOHEADER FBmpHeader{};
  BITMAPINFO FBmpInfo{};
};
