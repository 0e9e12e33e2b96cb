// Shared by the toolkit's window tests: pictures for review, pixel reads and
// a synthetic skin picture whose pixels name their own (x, y).
#pragma once

#include "common/gtest.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/PngImage.h"
#include "skin/data/win/SPUtils.h"

namespace sptest {

// Saves a picture of a main state for people to review. For now it writes
// only when LUMIGRA_SCREEN_DIR names a folder (as "<folder>\<name>.png").
inline void SaveReviewPicture(const String& Name, TBitmap* Bitmap) {
  const char* Dir = std::getenv("LUMIGRA_SCREEN_DIR");
  if (!Dir || !*Dir || !Bitmap || Bitmap->Empty()) return;
  String Path;
  for (const char* p = Dir; *p; ++p) Path += char16_t(Byte(*p));
  TPngImage Png;
  Png.Assign(Bitmap);
  Png.SaveToFile(Path + u"\\" + Name + u".png");
}

inline void SaveReviewPicture(const String& Name, TspBitmap* Bitmap) {
  TBitmap B;
  B.SetPixelFormat(pf32bit);
  B.SetSize(Bitmap->Width(), Bitmap->Height());
  for (Integer y = 0; y < B.Height(); ++y)
    std::memcpy(B.ScanLine(y), Bitmap->GetRowPtr(y), size_t(B.Width()) * 4);
  SaveReviewPicture(Name, &B);
}

// The colour of a pixel of a bitmap as $00RRGGBB (alpha dropped).
inline Cardinal Rgb(TBitmap* B, Integer X, Integer Y) {
  const COLORREF C = GetPixel(B->Canvas()->Handle(), X, Y);
  return (Cardinal(GetRValue(C)) << 16) | (Cardinal(GetGValue(C)) << 8) | GetBValue(C);
}

// A 32-bit picture whose pixel (x, y) is $00xxyy7F... : red = x, green = y, blue 0x55.
inline TBitmap* NumberedPicture(Integer W, Integer H) {
  auto* B = new TBitmap();
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  for (Integer y = 0; y < H; ++y) {
    auto* Row = static_cast<Cardinal*>(B->ScanLine(y));
    for (Integer x = 0; x < W; ++x) Row[x] = (Cardinal(x) << 16) | (Cardinal(y) << 8) | 0x55;
  }
  return B;
}

inline Cardinal Numbered(Integer X, Integer Y) { return (Cardinal(X) << 16) | (Cardinal(Y) << 8) | 0x55; }

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
