#include "skin/data/SpRegions.h"

#include <algorithm>
#include <cstring>

void ScanMaskRuns(const Cardinal* Pixels, Integer Width, Integer Height, Integer Stride, Integer XOffset,
                    Integer YOffset, std::vector<TRect>& Runs) {
  Runs.clear();
  if (!Pixels || Width <= 0 || Height <= 0) return;
  for (Integer y = 0; y < Height; ++y) {
    const Cardinal* Row = Pixels + Int64(y) * Stride;
    Integer x = 0;
    for (;;) {
      while (x < Width && (Row[x] & 0xFFFFFFu) != 0) ++x;
      if (x == Width) break;
      Integer x1 = x + 1;
      while (x1 < Width && (Row[x1] & 0xFFFFFFu) == 0) ++x1;
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

namespace {

bool CopyOnly(const TspPlan& Plan) {
  for (const TspPlanOp& Op : Plan) {
    if (Op.Kind == poStretch) return false;
    if (Op.Kind == poCopy && Op.Src.Width() > 0 && Op.Src.Height() > 0 && Op.Dst.Width() > 0 &&
        Op.Dst.Height() > 0 && (Op.Src.Width() != Op.Dst.Width() || Op.Src.Height() != Op.Dst.Height()))
      return false;
  }
  return true;
}

TRect Intersect(const TRect& A, const TRect& B) {
  return TRect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
               std::min(A.Bottom, B.Bottom));
}

// The block S (of a bitmap SW x SH) to D (same size) of the target, within
// Clip (inside the target): the offsets (i, j) for which both ends are inside.
void Block(Cardinal* Dst, Integer DW, const TRect& Clip, const Cardinal* Src, Integer SW, Integer SH, const TRect& S,
           const TRect& D) {
  const Int64 i0 = std::max<Int64>({0, -Int64(S.Left), Int64(Clip.Left) - D.Left});
  const Int64 i1 = std::min<Int64>({Int64(S.Width()), Int64(SW) - S.Left, Int64(Clip.Right) - D.Left});
  const Int64 j0 = std::max<Int64>({0, -Int64(S.Top), Int64(Clip.Top) - D.Top});
  const Int64 j1 = std::min<Int64>({Int64(S.Height()), Int64(SH) - S.Top, Int64(Clip.Bottom) - D.Top});
  if (i1 <= i0 || j1 <= j0) return;
  const size_t n = size_t(i1 - i0) * sizeof(Cardinal);
  auto Row = [&](Int64 j) {
    std::memmove(Dst + (D.Top + j) * DW + D.Left + i0, Src + (S.Top + j) * SW + S.Left + i0, n);
  };
  // Rows in the order that survives an overlap inside one bitmap.
  if (Dst == Src && D.Top > S.Top)
    for (Int64 j = j1 - 1; j >= j0; --j) Row(j);
  else
    for (Int64 j = j0; j < j1; ++j) Row(j);
}

}  // namespace

bool RunCopyPlan(const TspPlan& Plan, Cardinal* Dst, Integer DstWidth, Integer DstHeight, const Cardinal* Src,
                 Integer SrcWidth, Integer SrcHeight) {
  if (!CopyOnly(Plan)) return false;
  if (!Dst || DstWidth <= 0 || DstHeight <= 0) return true;
  std::vector<TRect> Clips{TRect(0, 0, DstWidth, DstHeight)};
  for (const TspPlanOp& Op : Plan) {
    const TRect &S = Op.Src, &D = Op.Dst;
    switch (Op.Kind) {
      case poCopy:
        if (Src && S.Width() > 0 && S.Height() > 0)
          Block(Dst, DstWidth, Clips.back(), Src, SrcWidth, SrcHeight, S, D);
        break;
      case poDestCopy:
        if (S.Width() > 0 && S.Height() > 0 && S.Width() == D.Width() && S.Height() == D.Height())
          Block(Dst, DstWidth, Clips.back(), Dst, DstWidth, DstHeight, S, D);
        break;
      case poClip: Clips.push_back(Intersect(Clips.back(), D)); break;
      case poUnclip:
        if (Clips.size() > 1) Clips.pop_back();
        break;
      case poStretch: break;
    }
  }
  return true;
}

bool FrameStripRuns(const TspNineSlice& A, const Cardinal* Mask, Integer MaskWidth, Integer MaskHeight,
                    std::vector<TRect>& Runs, Integer& Strips) {
  Runs.clear();
  Strips = 0;
  TspStripPlan Plans[4];
  PlanMaskBorderStrips(A, MaskWidth, MaskHeight, tlDoubling, Plans);
  // (Strips beyond a quarter of a gigabyte are left to canvases too.)
  for (const TspStripPlan& P : Plans)
    if (P.Produce && (!CopyOnly(P.Plan) || Int64(P.Width) * P.Height > (Int64(1) << 26))) return false;
  const TPoint At[4] = {TPoint(0, 0), TPoint(0, A.NewClRect.Top), TPoint(A.NewClRect.Right, A.NewClRect.Top),
                        TPoint(0, A.NewClRect.Bottom)};  // by TspStripIndex
  std::vector<Cardinal> Pixels;
  std::vector<TRect> Part;
  // The frame region's order: top, bottom, left, right.
  for (TspStripIndex i : {siTop, siBottom, siLeft, siRight}) {
    const TspStripPlan& P = Plans[i];
    if (!P.Produce || P.Width <= 0 || P.Height <= 0) continue;
    ++Strips;
    Pixels.assign(size_t(P.Width) * size_t(P.Height), 0x00FFFFFFu);
    RunCopyPlan(P.Plan, Pixels.data(), P.Width, P.Height, Mask, MaskWidth, MaskHeight);
    ScanMaskRuns(Pixels.data(), P.Width, P.Height, P.Width, At[i].X, At[i].Y, Part);
    Runs.insert(Runs.end(), Part.begin(), Part.end());
  }
  return true;
}
