// Whole-bitmap operations: ResetAlpha, Roll, flips and quarter turns.
#include <algorithm>
#include <cstring>
#include <vector>

#include "bitmap/Bmp32.h"
#include "rtl/ScopeGuard.h"

namespace {

// Fills a rectangle (inside the bitmap) without blending or reporting.
void FillBlock(TColor32* Bits, Integer Width, const TRect& R, TColor32 Color) {
  if (R.Right <= R.Left) return;
  for (Integer y = R.Top; y < R.Bottom; ++y) FillWords32(Bits + ptrdiff_t(y) * Width + R.Left, R.Right - R.Left, Color);
}

// Quarter turn of a W x H pixel block into Dst (H x W), in cache-sized tiles.
// Clockwise: source (x, y) -> target (H - 1 - y, x); otherwise (y, W - 1 - x).
void TurnQuarter(const TColor32* Src, TColor32* Dst, Integer W, Integer H, bool Clockwise) {
  const Integer T = 64;
  for (Integer y0 = 0; y0 < H; y0 += T) {
    Integer y1 = std::min(H, y0 + T);
    for (Integer x0 = 0; x0 < W; x0 += T) {
      Integer x1 = std::min(W, x0 + T);
      for (Integer x = x0; x < x1; ++x) {
        if (Clockwise) {
          TColor32* row = Dst + ptrdiff_t(x) * H + (H - 1);
          for (Integer y = y0; y < y1; ++y) row[-y] = Src[ptrdiff_t(y) * W + x];
        } else {
          TColor32* row = Dst + ptrdiff_t(W - 1 - x) * H;
          for (Integer y = y0; y < y1; ++y) row[y] = Src[ptrdiff_t(y) * W + x];
        }
      }
    }
  }
}

}  // namespace

void TCustomBitmap32::ResetAlpha(Byte AlphaValue) {
  if (!FMeasuringMode && FBits) {
    size_t n = size_t(FWidth) * size_t(FHeight);
    Byte* p = reinterpret_cast<Byte*>(FBits) + 3;
    size_t i = 0;
    // 16 pixels per step, then the tail
    for (; i + 16 <= n; i += 16, p += 64)
      for (int k = 0; k < 64; k += 4) p[k] = AlphaValue;
    for (; i < n; ++i, p += 4) *p = AlphaValue;
  }
  Changed();
}

void TCustomBitmap32::Roll(Integer Dx, Integer Dy, bool FillBack, TColor32 FillColor) {
  if (Empty() || (Dx == 0 && Dy == 0)) return;
  if (std::abs(Int64(Dx)) >= FWidth || std::abs(Int64(Dy)) >= FHeight) {
    if (FillBack) Clear(FillColor);
    return;
  }
  Int64 S = Int64(Dx) + Int64(Dy) * FWidth;
  Int64 N = Int64(FWidth) * FHeight;
  if (S > 0) std::memmove(FBits + S, FBits, size_t(N - S) * 4);
  else if (S < 0) std::memmove(FBits, FBits - S, size_t(N + S) * 4);
  if (FillBack) {
    TRect R;
    IntersectRects(R, TRect(Dx, Dy, Dx + FWidth, Dy + FHeight), BoundsRect());
    if (R.Top > 0) FillBlock(FBits, FWidth, TRect(0, 0, FWidth, R.Top), FillColor);
    else FillBlock(FBits, FWidth, TRect(0, R.Bottom, FWidth, FHeight), FillColor);
    if (R.Left > 0) FillBlock(FBits, FWidth, TRect(0, R.Top, R.Left, R.Bottom), FillColor);
    else FillBlock(FBits, FWidth, TRect(R.Right, R.Top, FWidth, R.Bottom), FillColor);
  }
  Changed();
}

void TCustomBitmap32::FlipHorz(TCustomBitmap32* Dst) {
  if (!Dst || Dst == this) {
    if (FBits)
      for (Integer y = 0; y < FHeight; ++y) std::reverse(ScanLine(y), ScanLine(y) + FWidth);
    Changed();
    return;
  }
  {
    TUpdateLock Updating(*Dst);
    Dst->SetSize(FWidth, FHeight);
    if (FBits && Dst->FBits)
      for (Integer y = 0; y < FHeight; ++y) std::reverse_copy(ScanLine(y), ScanLine(y) + FWidth, Dst->ScanLine(y));
  }
  Dst->Changed();
}

void TCustomBitmap32::FlipVert(TCustomBitmap32* Dst) {
  if (!Dst || Dst == this) {
    if (FBits)
      for (Integer y = 0; y < FHeight / 2; ++y)
        std::swap_ranges(ScanLine(y), ScanLine(y) + FWidth, ScanLine(FHeight - 1 - y));
    Changed();
    return;
  }
  Dst->SetSize(FWidth, FHeight);
  if (FBits && Dst->FBits)
    for (Integer y = 0; y < FHeight; ++y)
      std::memcpy(Dst->ScanLine(FHeight - 1 - y), ScanLine(y), size_t(FWidth) * 4);
  Dst->Changed();
}

namespace {
void RotateQuarter(TCustomBitmap32* Self, TCustomBitmap32* Dst, bool Clockwise) {
  Integer W = Self->Width(), H = Self->Height();
  if (!Dst || Dst == Self) {
    // In place through a buffer: one change report once the pixels are in
    // their new places, whatever the shape.
    std::vector<TColor32> tmp;
    if (Self->Bits()) {
      tmp.resize(size_t(W) * size_t(H));
      TurnQuarter(Self->Bits(), tmp.data(), W, H, Clockwise);
    }
    {
      TUpdateLock Updating(*Self);
      Self->SetSize(H, W);
      if (Self->Bits() && !tmp.empty()) std::memcpy(Self->Bits(), tmp.data(), tmp.size() * 4);
    }
    Self->Changed();
    return;
  }
  {
    TUpdateLock Updating(*Dst);
    Dst->SetSize(H, W);
    if (Self->Bits() && Dst->Bits()) TurnQuarter(Self->Bits(), Dst->Bits(), W, H, Clockwise);
  }
  Dst->Changed();
}
}  // namespace

void TCustomBitmap32::Rotate90(TCustomBitmap32* Dst) { RotateQuarter(this, Dst, true); }

void TCustomBitmap32::Rotate270(TCustomBitmap32* Dst) { RotateQuarter(this, Dst, false); }

void TCustomBitmap32::Rotate180(TCustomBitmap32* Dst) {
  size_t N = size_t(FWidth) * size_t(FHeight);
  if (!Dst || Dst == this) {
    if (FBits) std::reverse(FBits, FBits + N);
    Changed();
    return;
  }
  Dst->SetSize(FWidth, FHeight);
  if (FBits && Dst->FBits) std::reverse_copy(FBits, FBits + N, Dst->FBits);
  Dst->Changed();
}
