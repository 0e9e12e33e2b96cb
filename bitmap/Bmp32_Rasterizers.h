// Bmp32_Rasterizers: filling a rectangle of a destination bitmap pixel by
// pixel from a sampler, writing each sample the way a draw mode says (copy,
// blend by the combine mode, custom callback, colour key).
// Holds TCombineInfo/MakeCombineInfo, TRasterizer, TRegularRasterizer (row by
// row, optional change reports every UpdateRowCount rows) and
// DefaultRasterizer (the class Transform creates).
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Containers.h"

struct TCombineInfo {
  Integer SrcAlpha = 255;
  TDrawMode DrawMode = dmOpaque;
  TCombineMode CombineMode = cmBlend;
  TPixelCombineEvent CombineCallBack;
  TColor32 TransparentColor = 0xFF000000u;
};

// The bitmap's master alpha, modes, pixel-combine event and outer colour;
// dmCustom without an event becomes dmOpaque.
void MakeCombineInfo(TCustomBitmap32* Bitmap, TCombineInfo& Info);
TCombineInfo MakeCombineInfo(TCustomBitmap32* Bitmap);

class TRasterizer : public TThreadPersistent, public IPublishedProperties {
 public:
  TRasterizer();

  TCustomSampler* Sampler() const { return FSampler; }
  // Not owned; a different value is stored and reported with Changed.
  void SetSampler(TCustomSampler* Value);

  void Rasterize(TCustomBitmap32* Dst);
  void Rasterize(TCustomBitmap32* Dst, const TRect& DstRect);
  void Rasterize(TCustomBitmap32* Dst, const TRect& DstRect, const TCombineInfo& CombineInfo);
  void Rasterize(TCustomBitmap32* Dst, const TRect& DstRect, TCustomBitmap32* Src);

  void Assign(TPersistent* Source) override;
  void ApplyCombineInfo(const TCombineInfo& CombineInfo);

  const TPublishedProperties& PublishedProperties() const override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void RasterizeArea(TCustomBitmap32* Dst, const TRect& DstRect) = 0;
  // The per-pixel writer chosen by ApplyCombineInfo.
  inline void AssignColor(TColor32& Dst, TColor32 Src) const {
    switch (FWriteMode) {
      case dmOpaque: Dst = Src; break;
      case dmBlend:
        FBlendMemEx(Src, Dst, TColor32(FSrcAlpha));
        EndBlending();
        break;
      case dmTransparent:
        if (Src != FTransparentColor) Dst = Src;
        break;
      case dmCustom: FCombineCallBack(Src, Dst, TColor32(FSrcAlpha)); break;
    }
  }

  TCustomSampler* FSampler = nullptr;
  Integer FSrcAlpha = 255;
  TBlendMemEx FBlendMemEx = nullptr;
  TPixelCombineEvent FCombineCallBack;
  TDrawMode FWriteMode = dmOpaque;
  TColor32 FTransparentColor = 0xFF000000u;
};

class TRegularRasterizer : public TRasterizer {
 public:
  static TClassRef Class();
  TRegularRasterizer() = default;
  Integer UpdateRowCount() const { return FUpdateRowCount; }
  void SetUpdateRowCount(Integer Value) { FUpdateRowCount = Value; }
  const TPublishedProperties& PublishedProperties() const override;

 protected:
  void RasterizeArea(TCustomBitmap32* Dst, const TRect& DstRect) override;

 private:
  Integer FUpdateRowCount = 0;
};

// The rasterizer class Transform creates (TRegularRasterizer).
extern TClassRef DefaultRasterizer;
TRasterizer* CreateRasterizer(TClassRef RasterizerClass);
