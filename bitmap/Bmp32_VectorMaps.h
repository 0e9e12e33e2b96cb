// Bmp32_VectorMaps: TVectorMap, a Width x Height grid of 16.16 displacement
// vectors (row-major) with bilinear reads, merging of maps and the mesh file
// (".msh": 32-byte header with the identifier "yfqLhseM", the vectors as
// Singles, eight zero bytes). It drives TRemapTransformation and the warping
// tool.
// Portable: no Windows header.
#pragma once

#include <functional>
#include <vector>

#include "bitmap/Bmp32.h"

enum TVectorCombineMode : Integer { vcmAdd = 0, vcmReplace = 1, vcmCustom = 2 };
// F: the source vector, P: the position weights (-1..1 in 16.16), B: this map's vector.
using TVectorCombineEvent = std::function<void(const TFixedPoint& F, const TFixedPoint& P, TFixedPoint& B)>;
using TArrayOfFixedVector = std::vector<TFixedPoint>;
using PFixedPointArrayV = TFixedPoint*;

class TVectorMap : public TCustomMap {
 public:
  TVectorMap() = default;
  ~TVectorMap() override;

  // Zeroes every vector; no change report.
  void Clear();
  bool Empty() const override;
  TRect BoundsRect() const { return TRect(0, 0, FWidth, FHeight); }
  // A rectangle around the non-zero vectors, one past the last non-zero
  // column and row; (0, 0, 0, 0) when every vector is zero.
  TRect GetTrimmedBounds() const;

  // Unchecked cell access.
  TFixedPoint GetVector(Integer X, Integer Y) const { return FVectors[size_t(X) + size_t(Y) * size_t(FWidth)]; }
  void SetVector(Integer X, Integer Y, const TFixedPoint& V) { FVectors[size_t(X) + size_t(Y) * size_t(FWidth)] = V; }
  TFixedPoint* Vectors() { return FVectors.data(); }
  // (0, 0) outside the map.
  TFixedPoint GetVectorS(Integer X, Integer Y) const;
  // Bilinear reads at 16.16 / Single positions.
  TFixedPoint GetFixedVector(TFixed X, TFixed Y) const;
  TFixedPoint GetFixedVectorS(TFixed X, TFixed Y) const;
  TFloatPoint GetFloatVector(Single X, Single Y) const;

  void Merge(Integer DstLeft, Integer DstTop, TVectorMap* Src, TRect SrcRect);

  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  TVectorCombineMode VectorCombineMode() const { return FVectorCombineMode; }
  void SetVectorCombineMode(TVectorCombineMode Value);
  const TVectorCombineEvent& OnVectorCombine() const { return FOnVectorCombine; }
  void SetOnVectorCombine(TVectorCombineEvent Value) { FOnVectorCombine = std::move(Value); }

 protected:
  void ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) override;

 private:
  TArrayOfFixedVector FVectors;
  TVectorCombineMode FVectorCombineMode = vcmAdd;
  TVectorCombineEvent FOnVectorCombine;
};
