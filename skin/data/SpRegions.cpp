#include "skin/data/SpRegions.h"

#include <algorithm>
#include <cstring>

void ScanMaskRuns(const Byte* Bits, Integer Width, Integer Height, Integer RowInc, Integer XOffset, Integer YOffset,
                  std::vector<TRect>& Runs) {
  Runs.clear();
  if (!Bits || Width <= 0 || Height <= 0) return;
  for (Integer y = 0; y < Height; ++y) {
    const Byte* Row = Bits + Int64(y) * RowInc;
    auto Black = [Row](Integer x) { return (Row[x * 3] | Row[x * 3 + 1] | Row[x * 3 + 2]) == 0; };
    Integer x = 0;
    while (x < Width) {
      if (!Black(x)) {
        ++x;
        continue;
      }
      Integer x1 = x;
      while (x1 < Width && Black(x1)) ++x1;
      Runs.push_back(TRect(XOffset + x, YOffset + y, XOffset + x1, YOffset + y + 1));
      x = x1;
    }
  }
}

namespace {

void Put32(Byte* P, Int64 V) {
  const Cardinal u = Cardinal(V);
  std::memcpy(P, &u, 4);
}

Integer Get32(const Byte* P) {
  Integer v;
  std::memcpy(&v, P, 4);
  return v;
}

void PutRect(Byte* P, const TRect& R) {
  Put32(P, R.Left);
  Put32(P + 4, R.Top);
  Put32(P + 8, R.Right);
  Put32(P + 12, R.Bottom);
}

}  // namespace

std::vector<Byte> MakeRegionData(const std::vector<TRect>& Rects, const TRect& Bound) {
  std::vector<Byte> D(size_t(RegionHeaderSize) + Rects.size() * RegionRectSize, 0);
  Put32(D.data(), RegionHeaderSize);
  Put32(D.data() + 4, 1);
  Put32(D.data() + 8, Int64(Rects.size()));
  Put32(D.data() + 12, 0);
  PutRect(D.data() + 16, Bound);
  for (size_t i = 0; i < Rects.size(); ++i) PutRect(D.data() + RegionHeaderSize + i * RegionRectSize, Rects[i]);
  return D;
}

bool ReadRegionData(const Byte* Data, size_t Size, std::vector<TRect>& Rects) {
  Rects.clear();
  if (!Data || Size < size_t(RegionHeaderSize)) return false;
  const Integer HeaderSize = Get32(Data), Type = Get32(Data + 4);
  const Cardinal Count = Cardinal(Get32(Data + 8));
  if (HeaderSize < RegionHeaderSize || Type != 1 || size_t(HeaderSize) > Size) return false;
  if (UInt64(Count) * RegionRectSize > Size - size_t(HeaderSize)) return false;
  Rects.resize(Count);
  for (Cardinal i = 0; i < Count; ++i) {
    const Byte* P = Data + HeaderSize + size_t(i) * RegionRectSize;
    Rects[i] = TRect(Get32(P), Get32(P + 4), Get32(P + 8), Get32(P + 12));
  }
  return true;
}

void MergeVerticalRuns(std::vector<TRect> Rects, std::vector<TRect>& Out) {
  Out.clear();
  std::erase_if(Rects, [](const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; });
  std::sort(Rects.begin(), Rects.end(), [](const TRect& A, const TRect& B) {
    if (A.Left != B.Left) return A.Left < B.Left;
    if (A.Right != B.Right) return A.Right < B.Right;
    return A.Top < B.Top;
  });
  for (const TRect& R : Rects) {
    if (!Out.empty()) {
      TRect& L = Out.back();
      if (L.Left == R.Left && L.Right == R.Right && R.Top <= L.Bottom) {
        L.Bottom = std::max(L.Bottom, R.Bottom);
        continue;
      }
    }
    Out.push_back(R);
  }
  std::sort(Out.begin(), Out.end(), [](const TRect& A, const TRect& B) {
    return A.Top != B.Top ? A.Top < B.Top : A.Left < B.Left;
  });
}
