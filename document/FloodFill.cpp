#include "document/FloodFill.h"

#include <algorithm>
#include <cstdlib>

#include "bitmap/VaZU32Vudover.h"

namespace {

// The tolerance test of the engine, inlined for the search's inner loop.
struct TTolerance {
  TColor32 S;
  Integer T;
  Integer SR, SG, SB;
  TTolerance(TColor32 Source, Integer Tolerance)
      : S(Source), T(Tolerance), SR(Integer((Source >> 16) & 0xFF)), SG(Integer((Source >> 8) & 0xFF)),
        SB(Integer(Source & 0xFF)) {}
  bool Passes(TColor32 P) const {
    if (T == 0) return P == S;
    if (T >= 510) return true;
    const Integer dr = Integer((P >> 16) & 0xFF) - SR, dg = Integer((P >> 8) & 0xFF) - SG,
                  db = Integer(P & 0xFF) - SB;
    return std::abs(dr) <= T && std::abs(dg) <= T && std::abs(db) <= T && std::abs(dr - dg) <= T &&
           std::abs(dr - db) <= T && std::abs(dg - db) <= T;
  }
};

// A first-in first-out queue of pixel indices whose storage is reused.
class TIndexQueue {
 public:
  bool Empty() const { return FHead == FItems.size(); }
  void Push(uint32_t V) {
    if (FHead > 4096 && FHead * 2 > FItems.size()) {  // drop the taken half
      FItems.erase(FItems.begin(), FItems.begin() + std::ptrdiff_t(FHead));
      FHead = 0;
    }
    FItems.push_back(V);
    FPeak = std::max(FPeak, FItems.size() - FHead);
  }
  uint32_t Pop() { return FItems[FHead++]; }
  size_t Peak() const { return FPeak; }

 private:
  std::vector<uint32_t> FItems;
  size_t FHead = 0;
  size_t FPeak = 0;
};

void AppendRunsOfRow(const uint64_t* Bits, Integer W, Integer Y, std::vector<TRegionRun>& Runs) {
  const size_t base = size_t(Y) * size_t(W);
  auto bit = [&](Integer X) { return ((Bits[(base + size_t(X)) >> 6] >> ((base + size_t(X)) & 63)) & 1) != 0; };
  Integer x = 0;
  while (x < W) {
    const size_t i = base + size_t(x);
    const uint64_t word = Bits[i >> 6] >> (i & 63);
    if (word == 0) {  // the rest of this word is clear
      x += Integer(64 - (i & 63));
      continue;
    }
    x += Integer(__builtin_ctzll(word));
    if (x >= W) break;
    const Integer x0 = x;
    while (x < W && bit(x)) ++x;
    Runs.push_back(TRegionRun{Y, x0, x});
  }
}

}  // namespace

void FloodFillSearch(TCustomBitmap32* B, Integer X0, Integer Y0, TColor32 SourceColor, TColor32 FillColor,
                     Integer Tolerance, TFillSearch& Result) {
  Result.Runs.clear();
  Result.Count = 0;
  Result.PeakQueue = 0;
  const Integer w = B->Width(), h = B->Height();
  if (X0 < 0 || Y0 < 0 || X0 >= w || Y0 >= h) return;
  const size_t n = size_t(w) * size_t(h);
  std::vector<uint64_t> visited((n + 63) / 64, 0);
  TColor32* bits = B->Bits();
  const TTolerance tol(SourceColor, Tolerance);
  TIndexQueue queue;
  auto take = [&](uint32_t i) {
    visited[i >> 6] |= uint64_t(1) << (i & 63);
    bits[i] = FillColor;
    if (Result.PaintOrder) Result.PaintOrder->push_back(i);
    queue.Push(i);
    ++Result.Count;
  };
  auto consider = [&](uint32_t i) {
    if ((visited[i >> 6] >> (i & 63)) & 1) return;
    if (tol.Passes(bits[i])) take(i);
  };
  take(uint32_t(size_t(Y0) * size_t(w) + size_t(X0)));
  while (!queue.Empty()) {
    const uint32_t i = queue.Pop();
    const Integer y = Integer(i / uint32_t(w)), x = Integer(i % uint32_t(w));
    if (x > 0) consider(i - 1);
    if (y > 0) consider(i - uint32_t(w));
    if (x + 1 < w) consider(i + 1);
    if (y + 1 < h) consider(i + uint32_t(w));
  }
  Result.PeakQueue = queue.Peak();
  for (Integer y = 0; y < h; ++y) AppendRunsOfRow(visited.data(), w, y, Result.Runs);
}

std::vector<TRegionRun> MatchingRuns(const TCustomBitmap32* B, TColor32 SourceColor, Integer Tolerance) {
  std::vector<TRegionRun> runs;
  const TTolerance tol(SourceColor, Tolerance);
  for (Integer y = 0; y < B->Height(); ++y) {
    const TColor32* row = B->ScanLine(y);
    Integer x = 0;
    while (x < B->Width()) {
      if (!tol.Passes(row[x])) {
        ++x;
        continue;
      }
      const Integer x0 = x;
      while (x < B->Width() && tol.Passes(row[x])) ++x;
      runs.push_back(TRegionRun{y, x0, x});
    }
  }
  return runs;
}

void FillRegionPixels(TCustomBitmap32* B, const TRegion& Region, TColor32 Color) {
  const TRect bounds = B->BoundsRect();
  for (const TRect& q : Region.Rects()) {
    TRect r;
    if (!IntersectRects(r, q, bounds) || r.Width() <= 0 || r.Height() <= 0) continue;
    for (Integer y = r.Top; y < r.Bottom; ++y) std::fill_n(B->PixelPtr(r.Left, y), r.Width(), Color);
  }
}

void RunsToPoints(const std::vector<TRegionRun>& Runs, std::vector<TPoint>& Points) {
  Points.clear();
  for (const TRegionRun& r : Runs)
    for (Integer x = r.X0; x < r.X1; ++x) Points.push_back(TPoint(x, r.Y));
}
