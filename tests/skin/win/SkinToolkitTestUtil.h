// Shared by the toolkit's window tests: pictures for review, pixel reads and
// a synthetic skin picture whose pixels name their own (x, y).
#pragma once

#include "common/gtest.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Forms.h"
#include "common/Screens.h"
#include "skin/data/win/SPUtils.h"

namespace sptest {

// Pictures of main states for people to review, saved through the tests'
// screenshot routine as build/screens/<test program>/<Name>.png. They decide
// nothing. A picture of at most 64 pixels a side is saved magnified eight
// times (each pixel a square), so that single pixels show. Pixels: $AARRGGBB,
// top-down; KeepAlpha saves the alpha channel (a layer), else the picture is
// opaque.
inline void SaveReviewPixels(const String& Name, const std::vector<Cardinal>& Pixels, Integer W, Integer H,
                             bool KeepAlpha = false) {
  if (W <= 0 || H <= 0 || Pixels.size() < size_t(W) * size_t(H)) return;
  std::string N;
  for (char16_t c : Name) N += c < 128 ? char(c) : '_';
  const Integer Zoom = (W <= 64 && H <= 64) ? 8 : 1;
  std::vector<Cardinal> Big(size_t(W) * Zoom * size_t(H) * Zoom);
  for (Integer y = 0; y < H * Zoom; ++y)
    for (Integer x = 0; x < W * Zoom; ++x)
      Big[size_t(y) * size_t(W * Zoom) + size_t(x)] = Pixels[size_t(y / Zoom) * size_t(W) + size_t(x / Zoom)];
  lumigra_test::SaveScreenPixels(reinterpret_cast<const std::uint8_t*>(Big.data()), W * Zoom, H * Zoom, W * Zoom * 4,
                                 N, std::string(), KeepAlpha);
}

// The pixels of any bitmap as 32-bit colours, top-down.
inline std::vector<Cardinal> PixelsOf(TBitmap* Bitmap) {
  std::vector<Cardinal> P;
  if (!Bitmap || Bitmap->Empty()) return P;
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  P.assign(size_t(W) * size_t(H), 0);
  HDC Screen = GetDC(nullptr);
  const int Read = GetDIBits(Screen, Bitmap->Handle(), 0, UINT(H), P.data(), &Info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, Screen);
  if (Read != H) P.clear();
  return P;
}

inline void SaveReviewPicture(const String& Name, TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  SaveReviewPixels(Name, PixelsOf(Bitmap), Bitmap->Width(), Bitmap->Height());
}

inline void SaveReviewPicture(const String& Name, TspBitmap* Bitmap, bool KeepAlpha = false) {
  if (!Bitmap || Bitmap->Empty()) return;
  GdiFlush();
  std::vector<Cardinal> P(Bitmap->Bits(), Bitmap->Bits() + Bitmap->PixelCount());
  SaveReviewPixels(Name, P, Bitmap->Width(), Bitmap->Height(), KeepAlpha);
}

// The colour of a pixel of a bitmap as $00RRGGBB (alpha dropped).
inline Cardinal Rgb(TBitmap* B, Integer X, Integer Y) {
  const COLORREF C = GetPixel(B->Canvas()->Handle(), X, Y);
  return (Cardinal(GetRValue(C)) << 16) | (Cardinal(GetGValue(C)) << 8) | GetBValue(C);
}

// A 32-bit picture (at most 42 pixels a side) whose pixel (x, y) names its
// place: red 6x, green 6y, blue $55 (spread so that reviewers see it).
inline Cardinal Numbered(Integer X, Integer Y) { return (Cardinal(X * 6) << 16) | (Cardinal(Y * 6) << 8) | 0x55; }

inline TBitmap* NumberedPicture(Integer W, Integer H) {
  auto* B = new TBitmap();
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  for (Integer y = 0; y < H; ++y) {
    auto* Row = static_cast<Cardinal*>(B->ScanLine(y));
    for (Integer x = 0; x < W; ++x) Row[x] = Numbered(x, y);
  }
  return B;
}

// The pixels of a bitmap that are not Background, as points.
inline std::set<std::pair<Integer, Integer>> SetPixels(TBitmap* B, Cardinal Background) {
  std::set<std::pair<Integer, Integer>> S;
  for (Integer y = 0; y < B->Height(); ++y)
    for (Integer x = 0; x < B->Width(); ++x)
      if (Rgb(B, x, y) != Background) S.insert({x, y});
  return S;
}

inline TBitmap* WhiteBitmap(Integer W, Integer H) {
  auto* B = new TBitmap();
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

}  // namespace sptest
