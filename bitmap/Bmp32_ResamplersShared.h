// The pieces the units of the resampling code share (transfers, stretch
// routines, the kernel engine, the resamplers): saturating integer helpers,
// the per-pixel writer of the stretch routines. Seen by those units only.
// Portable: no Windows header.
#pragma once

#include <limits>

#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/Bmp32_System.h"

namespace resampler_detail {

inline Integer SatInt(Int64 V) {
  if (V > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (V < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return static_cast<Integer>(V);
}

inline void OffsetRectSat(TRect& R, Int64 Dx, Int64 Dy) {
  R.Left = SatInt(R.Left + Dx);
  R.Top = SatInt(R.Top + Dy);
  R.Right = SatInt(R.Right + Dx);
  R.Bottom = SatInt(R.Bottom + Dy);
}

// RoundToInt, FloorToInt and CeilToInt of the per-column set-up, with their
// results (half to even on the extended value, saturated, NaN gives 0) but
// without saving the floating-point environment per call.
inline Integer SatIntegral(Extended V) {
  if (V != V) return 0;
  if (V >= 2147483647.0L) return std::numeric_limits<Integer>::max();
  if (V <= -2147483648.0L) return std::numeric_limits<Integer>::min();
  return Integer(static_cast<double>(V));  // integral and in range: exact
}
inline Integer RoundInt(Extended X) { return SatIntegral(__builtin_rintl(X)); }
inline Integer FloorInt(Extended X) {
  Extended R = __builtin_rintl(X);
  if (R > X) R -= 1;
  return SatIntegral(R);
}
inline Integer CeilInt(Extended X) {
  Extended R = __builtin_rintl(X);
  if (R < X) R += 1;
  return SatIntegral(R);
}

inline Int64 RW(const TRect& R) { return Int64(R.Right) - R.Left; }
inline Int64 RH(const TRect& R) { return Int64(R.Bottom) - R.Top; }

// The per-pixel write of the stretch routines.
class TPixelWriter {
 public:
  TPixelWriter(TCustomBitmap32* Src, TDrawMode Mode, const TPixelCombineEvent& CB)
      : FMode(Mode), FCB(CB), FMaster(Src->MasterAlpha()), FOuter(Src->OuterColor()),
        FBlend(BlendIntoExByMode[Src->CombineMode()]) {
    if (FMode == dmCustom && !FCB) FMode = dmOpaque;
  }
  inline void Put(TColor32 Col, TColor32& Pix) const {
    switch (FMode) {
      case dmOpaque: Pix = Col; break;
      case dmBlend: FBlend(Col, Pix, FMaster); break;
      case dmTransparent:
        if (Col != FOuter) Pix = Col;
        break;
      case dmCustom: FCB(Col, Pix, FMaster); break;
    }
  }

 private:
  TDrawMode FMode;
  const TPixelCombineEvent& FCB;
  TColor32 FMaster;
  TColor32 FOuter;
  TBlendMemEx FBlend;
};

// Combines a row of W source pixels with a destination row by draw mode
// (the row forms of CombineBlock).
void CombineRowByMode(const TColor32* S, TColor32* D, Integer W, TCustomBitmap32* Src, TDrawMode Mode,
                      const TPixelCombineEvent& CB);

struct TEndBlendingGuard {
  ~TEndBlendingGuard() { EndBlending(); }
};

}  // namespace resampler_detail
