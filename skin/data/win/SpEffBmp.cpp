#include "skin/data/win/SpEffBmp.h"

#include <cstring>

#include "rtl/ScopeGuard.h"
#include "rtl/SizeMath.h"

void TspEffectBmp::CreateSection(Integer cx, Integer cy) {
  Int64 Bytes = 0;
  if (cx <= 0 || cy <= 0 || !CheckedProduct({TspEffectView::StrideOf(cx), cy}, 0x7FFFFFFF, Bytes))
    throw EOutOfMemory(SOutOfMemory);
  FWidth = cx;
  FHeight = cy;
  FSize = Integer(Bytes);
  FBmpHeader = BITMAPINFOHEADER{};
  FBmpHeader.biSize = sizeof(BITMAPINFOHEADER);
  FBmpHeader.biWidth = cx;
  FBmpHeader.biHeight = -cy;
  FBmpHeader.biPlanes = 1;
  FBmpHeader.biBitCount = 24;
  FBmpHeader.biCompression = BI_RGB;
  FBmpInfo = BITMAPINFO{};
  FBmpInfo.bmiHeader = FBmpHeader;
  void* Bits = nullptr;
  FHandle = CreateDIBSection(nullptr, &FBmpInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!FHandle || !Bits) {
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    throw EOutOfMemory(SOutOfMemory);
  }
  FBits = static_cast<Byte*>(Bits);
}

TspEffectBmp::TspEffectBmp(Integer cx, Integer cy) { CreateSection(cx, cy); }

TspEffectBmp* TspEffectBmp::CreateFromhWnd(HBITMAP hBmp) {
  BITMAP BM{};
  if (!hBmp || !GetObjectW(hBmp, sizeof(BM), &BM)) throw EOutOfMemory(SOutOfMemory);
  auto* E = new TspEffectBmp();
  {
    TFinally drop([&] { delete E; });
    E->CreateSection(BM.bmWidth, BM.bmHeight < 0 ? -BM.bmHeight : BM.bmHeight);
    drop.Dismiss();
  }
  HDC DC = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  GetDIBits(DC, hBmp, 0, UINT(E->FHeight), E->FBits, &E->FBmpInfo, DIB_RGB_COLORS);
  DeleteDC(DC);
  return E;
}

TspEffectBmp* TspEffectBmp::CreateCopy(TspEffectBmp* hBmp) {
  auto* E = new TspEffectBmp(hBmp->FWidth, hBmp->FHeight);
  std::memcpy(E->FBits, hBmp->FBits, size_t(E->FSize));
  return E;
}

TspEffectBmp::~TspEffectBmp() {
  if (FHandle) DeleteObject(FHandle);
}

void TspEffectBmp::GetScanLine(Integer y, void* Line) const {
  GdiFlush();
  std::memcpy(Line, GetRowPtr(y), size_t(FWidth) * 3);
}

void TspEffectBmp::SetScanLine(Integer y, const void* Line) {
  GdiFlush();
  std::memcpy(GetRowPtr(y), Line, size_t(FWidth) * 3);
}

void TspEffectBmp::Draw(HDC hDC, Integer x, Integer y) {
  SetDIBitsToDevice(hDC, x, y, DWORD(FWidth), DWORD(FHeight), 0, 0, 0, UINT(FHeight), FBits, &FBmpInfo,
                    DIB_RGB_COLORS);
}

void TspEffectBmp::Stretch(HDC hDC, Integer x, Integer y, Integer cx, Integer cy) {
  StretchDIBits(hDC, x, y, cx, cy, 0, 0, FWidth, FHeight, FBits, &FBmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TspEffectBmp::DrawRect(HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy) {
  StretchDIBits(hDC, hx, hy + cy - 1, cx, 1 - cy, x, FHeight - y, cx, 1 - cy, FBits, &FBmpInfo, DIB_RGB_COLORS,
                SRCCOPY);
}

namespace {
// Effect work reads and writes the section's memory: pending GDI drawing on
// it is finished first.
TspEffectView Ready(TspEffectBmp* B) {
  GdiFlush();
  return B ? B->View() : TspEffectView();
}
}  // namespace

void TspEffectBmp::Resize(TspEffectBmp* Dst) { EffResize(Ready(this), Ready(Dst)); }
void TspEffectBmp::CopyRect(TspEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY) {
  EffCopyRect(Ready(this), Ready(BMP), Rct, StartX, StartY);
}
void TspEffectBmp::Morph(TspEffectBmp* BMP, double Kf) { EffMorph(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphRect(TspEffectBmp* BMP, double Kf, const TRect& Rct, Integer StartX, Integer StartY) {
  EffMorphRect(Ready(this), Ready(BMP), Kf, Rct, StartX, StartY);
}
void TspEffectBmp::MorphHGrad(TspEffectBmp* BMP, double Kf) { EffMorphHGrad(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphVGrad(TspEffectBmp* BMP, double Kf) { EffMorphVGrad(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphGrad(TspEffectBmp* BMP, double Kf) { EffMorphGrad(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphLeftGrad(TspEffectBmp* BMP, double Kf) { EffMorphLeftGrad(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphRightGrad(TspEffectBmp* BMP, double Kf) { EffMorphRightGrad(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphPush(TspEffectBmp* BMP, double Kf) { EffMorphPush(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphLeftSlide(TspEffectBmp* BMP, double Kf) { EffMorphLeftSlide(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::MorphRightSlide(TspEffectBmp* BMP, double Kf) { EffMorphRightSlide(Ready(this), Ready(BMP), Kf); }
void TspEffectBmp::ChangeBrightness(double Kf) { EffChangeBrightness(Ready(this), Kf); }
void TspEffectBmp::ChangeDarkness(double Kf) { EffChangeDarkness(Ready(this), Kf); }
void TspEffectBmp::GrayScale() { EffGrayScale(Ready(this)); }
void TspEffectBmp::Invert() { EffInvert(Ready(this)); }
void TspEffectBmp::SplitBlur(Integer Amount) { EffSplitBlur(Ready(this), Amount); }
void TspEffectBmp::AddMonoNoise(Integer Amount) { EffAddMonoNoise(Ready(this), Amount); }
void TspEffectBmp::AddColorNoise(Integer Amount) { EffAddColorNoise(Ready(this), Amount); }
void TspEffectBmp::Mosaic(Integer ASize) { EffMosaic(Ready(this), ASize); }
void TspEffectBmp::Wave(Integer XDIV, Integer YDIV, Integer RatioVal) { EffWave(Ready(this), XDIV, YDIV, RatioVal); }
void TspEffectBmp::Rotate90_1(TspEffectBmp* Dst) { EffRotate90_1(Ready(this), Ready(Dst)); }
void TspEffectBmp::Rotate90_2(TspEffectBmp* Dst) { EffRotate90_2(Ready(this), Ready(Dst)); }
void TspEffectBmp::FlipVert(TspEffectBmp* Dst) { EffFlipVert(Ready(this), Ready(Dst)); }
void TspEffectBmp::MaskAntialiasing(TspEffectBmp* Msk, Integer Amount) {
  EffMaskAntialiasing(Ready(this), Ready(Msk), Amount);
}
void TspEffectBmp::MaskBlur(TspEffectBmp* Msk, Integer Amount) { EffMaskBlur(Ready(this), Ready(Msk), Amount); }
void TspEffectBmp::MaskFillColor(TspEffectBmp* Msk, TColor Color, double kf) {
  EffMaskFillColor(Ready(this), Ready(Msk), Cardinal(ColorToRGB(Color)), kf);
}
