// Bmp32_OrdinalMaps: TIntegerMap, a Width x Height grid of Integers stored
// row-major (cell X, Y at X + Y * Width); the kernel resampler keeps its
// weight table in one.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "bitmap/Bmp32.h"

class TIntegerMap : public TCustomMap {
 public:
  TIntegerMap() = default;
  TIntegerMap(Integer Width, Integer Height) { SetSize(Width, Height); }
  ~TIntegerMap() override = default;

  // Fills every cell, then Changed.
  void Clear(Integer FillValue = 0);
  // True when no cells are allocated.
  bool Empty() const override { return FBits.empty(); }

  PIntegerArray Bits() { return FBits.data(); }
  Integer Value(Integer X, Integer Y) const { return FBits[size_t(X) + size_t(Y) * size_t(FWidth)]; }
  void SetValue(Integer X, Integer Y, Integer V) { FBits[size_t(X) + size_t(Y) * size_t(FWidth)] = V; }
  Integer* ValPtr(Integer X, Integer Y) { return &FBits[size_t(X) + size_t(Y) * size_t(FWidth)]; }

 protected:
  void ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) override;

 private:
  std::vector<Integer> FBits;
};
