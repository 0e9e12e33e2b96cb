// Channel filters and the masking row routines.
#include "bitmap/Bmp32_Filters.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Engine.h"
#include "rtl/ScopeGuard.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

TLogicalOperatorRow AndRow = nullptr;
TLogicalOperatorRow OrRow = nullptr;
TLogicalOperatorRow XorRow = nullptr;
TLogicalOperatorRowTo AndRowTo = nullptr;
TLogicalOperatorRowTo OrRowTo = nullptr;
TLogicalOperatorRowTo XorRowTo = nullptr;

namespace filters_impl {

namespace {
struct OpAnd { static TColor32 Do(TColor32 a, TColor32 m) { return a & m; } };
struct OpOr { static TColor32 Do(TColor32 a, TColor32 m) { return a | m; } };
struct OpXor { static TColor32 Do(TColor32 a, TColor32 m) { return a ^ m; } };

template <class Op>
void RowSimple(PColor32 Dst, TColor32 Mask, Integer Count) {
  for (Integer i = 0; i < Count; ++i) Dst[i] = Op::Do(Dst[i], Mask);
}
template <class Op>
void RowUnrolled(PColor32 Dst, TColor32 Mask, Integer Count) {
  Integer i = 0;
  for (; i + 16 <= Count; i += 16)
    for (Integer k = 0; k < 16; ++k) Dst[i + k] = Op::Do(Dst[i + k], Mask);
  for (; i < Count; ++i) Dst[i] = Op::Do(Dst[i], Mask);
}
template <class Op>
void RowToSimple(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask) {
  for (Integer i = 0; i < Count; ++i) Dst[i] = Op::Do(Src[i], Mask);
}
// Sixteen pixels per pass in 64-bit steps (two pixels each, the mask in both
// halves), then the rest one by one.
template <class Op>
void RowToWide(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask) {
  uint64_t m2 = (uint64_t(Mask) << 32) | Mask;
  Integer i = 0;
  for (; i + 16 <= Count; i += 16)
    for (Integer k = 0; k < 16; k += 2) {
      uint64_t v;
      std::memcpy(&v, Src + i + k, 8);
      if constexpr (std::is_same_v<Op, OpAnd>) v &= m2;
      else if constexpr (std::is_same_v<Op, OpOr>) v |= m2;
      else v ^= m2;
      std::memcpy(Dst + i + k, &v, 8);
    }
  for (; i < Count; ++i) Dst[i] = Op::Do(Src[i], Mask);
}

#if defined(__SSE2__)
// For destinations far larger than the caches: four pixels a step written
// past the caches (no read of the destination's old lines), the same values
// as the row routines. The caller fences once after its rows.
template <class Op>
void RowToStream(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask) {
  Integer i = 0;
  for (; i < Count && (reinterpret_cast<uintptr_t>(Dst + i) & 15) != 0; ++i) Dst[i] = Op::Do(Src[i], Mask);
  const __m128i m = _mm_set1_epi32(int(Mask));
  for (; i + 4 <= Count; i += 4) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    if constexpr (std::is_same_v<Op, OpAnd>) v = _mm_and_si128(v, m);
    else if constexpr (std::is_same_v<Op, OpOr>) v = _mm_or_si128(v, m);
    else v = _mm_xor_si128(v, m);
    _mm_stream_si128(reinterpret_cast<__m128i*>(Dst + i), v);
  }
  for (; i < Count; ++i) Dst[i] = Op::Do(Src[i], Mask);
}
#endif

// The streaming form of a row-to operation, or nil where there is none.
TLogicalOperatorRowTo StreamingRowTo(TMaskOperation Operation) {
#if defined(__SSE2__)
  switch (Operation) {
    case moXor: return RowToStream<OpXor>;
    case moAnd: return RowToStream<OpAnd>;
    case moOr: return RowToStream<OpOr>;
  }
#endif
  (void)Operation;
  return nullptr;
}
void StreamingDone() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}
}  // namespace

void AndRow_Simple(PColor32 D, TColor32 M, Integer C) { RowSimple<OpAnd>(D, M, C); }
void AndRow_Unrolled(PColor32 D, TColor32 M, Integer C) { RowUnrolled<OpAnd>(D, M, C); }
void OrRow_Simple(PColor32 D, TColor32 M, Integer C) { RowSimple<OpOr>(D, M, C); }
void OrRow_Unrolled(PColor32 D, TColor32 M, Integer C) { RowUnrolled<OpOr>(D, M, C); }
void XorRow_Simple(PColor32 D, TColor32 M, Integer C) { RowSimple<OpXor>(D, M, C); }
void XorRow_Unrolled(PColor32 D, TColor32 M, Integer C) { RowUnrolled<OpXor>(D, M, C); }
void AndRowTo_Simple(PColor32 S, PColor32 D, Integer C, TColor32 M) { RowToSimple<OpAnd>(S, D, C, M); }
void AndRowTo_Wide(PColor32 S, PColor32 D, Integer C, TColor32 M) { RowToWide<OpAnd>(S, D, C, M); }
void OrRowTo_Simple(PColor32 S, PColor32 D, Integer C, TColor32 M) { RowToSimple<OpOr>(S, D, C, M); }
void OrRowTo_Wide(PColor32 S, PColor32 D, Integer C, TColor32 M) { RowToWide<OpOr>(S, D, C, M); }
void XorRowTo_Simple(PColor32 S, PColor32 D, Integer C, TColor32 M) { RowToSimple<OpXor>(S, D, C, M); }
void XorRowTo_Wide(PColor32 S, PColor32 D, Integer C, TColor32 M) { RowToWide<OpXor>(S, D, C, M); }

}  // namespace filters_impl

namespace {

TLogicalOperatorRow* const InPlaceSlots[3] = {&XorRow, &AndRow, &OrRow};
TLogicalOperatorRowTo* const RowToSlots[3] = {&XorRowTo, &AndRowTo, &OrRowTo};
// From this many destination pixels (32 MB) on, row-to masking streams.
constexpr Int64 kStreamingPixels = Int64(1) << 23;

void DoneFilters() {
  AndRow = OrRow = XorRow = nullptr;
  AndRowTo = OrRowTo = XorRowTo = nullptr;
}

const bool FiltersRegistered = (RegisterEngineUnit("Bmp32_Filters", InitializeBmp32Filters, DoneFilters), true);

// Runs Body between BeginUpdate and EndUpdate (EndUpdate also on failure).
template <class Body>
void InUpdate(TCustomBitmap32* B, Body body) {
  TUpdateLock Updating(*B);
  body();
}

}  // namespace

void InitializeBmp32Filters() {
  using namespace filters_impl;
  (void)FiltersRegistered;
  TFunctionRegistry* R = CreateRegistry(u"Bmp32_Filters bindings");
  R->RegisterBinding(FID_ANDROW, &AndRow);
  R->RegisterBinding(FID_ORROW, &OrRow);
  R->RegisterBinding(FID_XORROW, &XorRow);
  R->RegisterBinding(FID_ANDROWTO, &AndRowTo);
  R->RegisterBinding(FID_ORROWTO, &OrRowTo);
  R->RegisterBinding(FID_XORROWTO, &XorRowTo);
  R->Add(FID_ANDROW, AndRow_Simple);
  R->Add(FID_ANDROW, AndRow_Unrolled);
  R->Add(FID_ORROW, OrRow_Simple);
  R->Add(FID_ORROW, OrRow_Unrolled);
  R->Add(FID_XORROW, XorRow_Simple);
  R->Add(FID_XORROW, XorRow_Unrolled);
  R->Add(FID_ANDROWTO, AndRowTo_Simple);
  R->Add(FID_ANDROWTO, AndRowTo_Wide, {ciMMX});
  R->Add(FID_ORROWTO, OrRowTo_Simple);
  R->Add(FID_ORROWTO, OrRowTo_Wide, {ciMMX});
  R->Add(FID_XORROWTO, XorRowTo_Simple);
  R->Add(FID_XORROWTO, XorRowTo_Wide, {ciMMX});
  R->RebindAll();
}

void CheckFilterParams(TCustomBitmap32* Dst, TCustomBitmap32* Src, bool ResizeDst) {
  if (!Src) throw Exception(u"The source is nil");
  if (!Dst) throw Exception(u"Destination is nil");
  if (ResizeDst) Dst->SetSize(Src->Width(), Src->Height());
}

void IntensityToAlpha(TCustomBitmap32* Dst, TCustomBitmap32* Src) {
  CheckFilterParams(Dst, Src, true);
  size_t n = size_t(Src->Width()) * size_t(Src->Height());
  const TColor32* s = Src->Bits();
  TColor32* d = Dst->Bits();
  for (size_t i = 0; i < n; ++i) d[i] = (d[i] & 0x00FFFFFFu) | (TColor32(ColorIntensity(s[i])) << 24);
  Dst->Changed();
}

void InvertChannels(TCustomBitmap32* Dst, TCustomBitmap32* Src, TColorChannels Channels) {
  if ((Channels & 15) == 0) return;
  TColor32 mask = ChannelMask(Channels);
  if (Dst == Src) {
    CheckFilterParams(Dst, Src, false);
    MaskChannels(Dst, Dst->BoundsRect(), mask, moXor);
  } else {
    CheckFilterParams(Dst, Src, true);
    MaskChannels(Dst, 0, 0, Src, Src->BoundsRect(), mask, moXor);
  }
}

void InvertRGB(TCustomBitmap32* Dst, TCustomBitmap32* Src) {
  InvertChannels(Dst, Src, ChannelSet({ccRed, ccGreen, ccBlue}));
}

void ColorToGrayscale(TCustomBitmap32* Dst, TCustomBitmap32* Src, bool PreserveAlpha) {
  CheckFilterParams(Dst, Src, true);
  size_t n = size_t(Src->Width()) * size_t(Src->Height());
  const TColor32* s = Src->Bits();
  TColor32* d = Dst->Bits();
  for (size_t i = 0; i < n; ++i) {
    TColor32 c = s[i];
    d[i] = GrayColor32(Byte(ColorIntensity(c)), PreserveAlpha ? Byte(c >> 24) : Byte(255));
  }
  Dst->Changed();
}

void ChromaKey(TCustomBitmap32* Bitmap, TColor32 KeyColor) {
  if (!Bitmap) return;
  size_t n = size_t(Bitmap->Width()) * size_t(Bitmap->Height());
  TColor32* p = Bitmap->Bits();
  TColor32 key = KeyColor & 0x00FFFFFFu;
  for (size_t i = 0; i < n; ++i)
    if ((p[i] & 0x00FFFFFFu) == key) p[i] &= 0x00FFFFFFu;
  Bitmap->Changed();
}

void MaskChannels(TCustomBitmap32* Bitmap, const TRect& Rect, TColor32 Mask, TMaskOperation Operation) {
  if (!Bitmap) throw Exception(u"The bitmap is nil");
  TLogicalOperatorRow proc = *InPlaceSlots[Operation];
  TRect r;
  IntersectRects(r, Rect, Bitmap->BoundsRect());
  IntersectRects(r, r, Bitmap->ClipRect());
  if (RectIsEmpty(r)) return;
  if (!Bitmap->MeasuringMode()) {
    InUpdate(Bitmap, [&] {
      Int64 w = r.Right - r.Left, h = r.Bottom - r.Top;
      if (w == Bitmap->Width() && w * h <= 0x7FFFFFFF) {
        proc(Bitmap->PixelPtr(r.Left, r.Top), Mask, Integer(w * h));
      } else {
        for (Integer y = r.Top; y < r.Bottom; ++y) proc(Bitmap->PixelPtr(r.Left, y), Mask, Integer(w));
      }
    });
  }
  Bitmap->Changed(r, AreaInfoRect);
}

void MaskChannels(TCustomBitmap32* Dst, Integer DstX, Integer DstY, TCustomBitmap32* Src, const TRect& SrcRect,
                  TColor32 Mask, TMaskOperation Operation) {
  CheckFilterParams(Dst, Src, false);
  TLogicalOperatorRowTo proc = *RowToSlots[Operation];
  TRect sr;
  IntersectRects(sr, SrcRect, Src->BoundsRect());
  if (RectIsEmpty(sr)) return;
  // a destination position left of or above Dst cuts the same amount off the source
  if (DstX < 0) {
    sr.Left = Integer(std::min<Int64>(Int64(sr.Left) - DstX, sr.Right));
    DstX = 0;
  }
  if (DstY < 0) {
    sr.Top = Integer(std::min<Int64>(Int64(sr.Top) - DstY, sr.Bottom));
    DstY = 0;
  }
  if (DstX > Dst->Width()) DstX = Dst->Width();
  if (DstY > Dst->Height()) DstY = Dst->Height();
  if (RectIsEmpty(sr)) return;
  TRect dr(DstX, DstY, DstX + (sr.Right - sr.Left), DstY + (sr.Bottom - sr.Top));
  TRect placed = dr;
  IntersectRects(dr, dr, Dst->BoundsRect());
  IntersectRects(dr, dr, Dst->ClipRect());
  if (RectIsEmpty(dr)) return;
  // the clip rectangle may cut the destination's left or top: the source follows
  Integer sx = sr.Left + (dr.Left - placed.Left), sy = sr.Top + (dr.Top - placed.Top);
  if (!Dst->MeasuringMode()) {
    // A destination of its own far larger than the caches is written past
    // them: the same pixels without first reading the old ones.
    const Int64 area = Int64(dr.Right - dr.Left) * (dr.Bottom - dr.Top);
    const TLogicalOperatorRowTo stream =
        Src != Dst && area >= kStreamingPixels ? filters_impl::StreamingRowTo(Operation) : nullptr;
    InUpdate(Dst, [&] {
      for (Integer r = 0; r < dr.Bottom - dr.Top; ++r)
        (stream ? stream : proc)(Src->PixelPtr(sx, sy + r), Dst->PixelPtr(dr.Left, dr.Top + r), dr.Right - dr.Left,
                                 Mask);
      if (stream) filters_impl::StreamingDone();
    });
  }
  Dst->Changed(dr, AreaInfoRect);
}
