// Bmp32_Resamplers: where every drawing of one bitmap onto another ends.
// Holds:
//  - the transfers TransferBlock (unscaled) and TransferStretched (scaled),
//    and CombineBlock (rows by draw mode);
//  - the stretch routines StretchNearestNeighbour, StretchBilinear,
//    StretchDraft, and the separable kernel stretch StretchKernel through
//    BuildKernelMapping tables;
//  - the resamplers TNearestResampler, TLinearResampler, TDraftResampler,
//    TKernelResampler (point sampling for transformations and Resample for
//    stretching), ResamplerList (in that order, searched by class name);
//  - the kernels (Bmp32_Kernels.h) and KernelList;
//  - TNestedSampler and TTransformer (the sampler that renders a
//    transformation; implemented with Bmp32_Transforms);
//  - the call slots AverageBlock (id 0) and BilinearInterpolate (id 1) of
//    "Bmp32_Resamplers bindings", usable before start-up (portable binding).
// Units: Bmp32_Transfers.cpp (transfers, nearest and draft stretches, the
// call slots' implementations), Bmp32_StretchBilinear.cpp, the kernel engine
// Bmp32_KernelEngine.cpp with its SSE4.1 and AVX2 passes, and
// Bmp32_Resamplers.cpp (the resampler classes and lists).
// Portable: no Windows header.
#pragma once

#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Containers.h"
#include "bitmap/Bmp32_Kernels.h"
#include "bitmap/Bmp32_OrdinalMaps.h"

// ---------------------------------------------------------------------------
// Call slots

// Per channel the mean S div (W * H) of a W x H block (rows SrcPitch pixels
// apart); W, H >= 1.
using TAverageBlockProc = TColor32 (*)(Integer W, Integer H, const TColor32* Src, Integer SrcPitch);
// C11 points to two neighbouring pixels, C21 to the two below; WX weights the
// left column and WY the upper row (0..256): per channel
// Top = (C12*256 + (C11 - C12)*WX) shr 8, likewise Bottom,
// result (Bottom*256 + (Top - Bottom)*WY) shr 8.
using TBilinearInterpolateProc = TColor32 (*)(Cardinal WX, Cardinal WY, const TColor32* C11, const TColor32* C21);
extern TAverageBlockProc AverageBlock;
extern TBilinearInterpolateProc BilinearInterpolate;
inline constexpr TFunctionID<TAverageBlockProc> FID_AVERAGEBLOCK{0};
inline constexpr TFunctionID<TBilinearInterpolateProc> FID_BILINEARINTERPOLATE{1};
TColor32 AverageBlock_Pas(Integer W, Integer H, const TColor32* Src, Integer SrcPitch);
TColor32 BilinearInterpolate_Pas(Cardinal WX, Cardinal WY, const TColor32* C11, const TColor32* C21);
#if defined(__x86_64__) || defined(__i386__)
TColor32 AverageBlock_SSE2(Integer W, Integer H, const TColor32* Src, Integer SrcPitch);
TColor32 BilinearInterpolate_SSE2(Cardinal WX, Cardinal WY, const TColor32* C11, const TColor32* C21);
#endif

// ---------------------------------------------------------------------------
// Transfers

void TransferBlock(TCustomBitmap32* Dst, Integer DstX, Integer DstY, TRect DstClip, TCustomBitmap32* Src,
                   TRect SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});
void TransferStretched(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                       TCustomResampler* Resampler, TDrawMode CombineOp,
                       const TPixelCombineEvent& CombineCallBack = {});
// DstRect lies inside Dst, the source block of its size at (SrcX, SrcY)
// inside Src. Src may be Dst: overlapping blocks are read from a copy.
void CombineBlock(TCustomBitmap32* Dst, const TRect& DstRect, TCustomBitmap32* Src, Integer SrcX, Integer SrcY,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});

void StretchNearestNeighbour(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                             TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});
void StretchBilinear(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                     TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});
void StretchDraft(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                  TCustomKernel* Kernel, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});

struct TPointRec {
  Integer Pos = 0;
  Integer Weight = 0;
  friend bool operator==(const TPointRec&, const TPointRec&) = default;
};
using TCluster = std::vector<TPointRec>;
using TMappingTable = std::vector<TCluster>;

TMappingTable BuildKernelMapping(Integer DstLo, Integer DstHi, Integer ClipLo, Integer ClipHi, Integer SrcLo,
                                 Integer SrcHi, TCustomKernel* Kernel);
// The vertical pass of StretchKernel: adds W1 * Row1[X] + W2 * Row2[X] per
// channel to Buf (four Integers per column, in memory order blue, green,
// red, alpha) for X < Count. The vector form needs weights within 16 bits.
using TKernelRowsProc = void (*)(const TColor32* Row1, Integer W1, const TColor32* Row2, Integer W2, Integer Count,
                                 Integer* Buf);
void KernelRows_Pas(const TColor32* Row1, Integer W1, const TColor32* Row2, Integer W2, Integer Count, Integer* Buf);
#if defined(__x86_64__) || defined(__i386__)
void KernelRows_SSE2(const TColor32* Row1, Integer W1, const TColor32* Row2, Integer W2, Integer Count, Integer* Buf);
#endif
void StretchKernel(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                   TCustomKernel* Kernel, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});

// ---------------------------------------------------------------------------
// Resamplers

class TNearestResampler : public TCustomResampler {
 public:
  static TClassRef Class();
  TNearestResampler() = default;
  explicit TNearestResampler(TCustomBitmap32* ABitmap) : TCustomResampler(ABitmap) {}

  Single GetWidth() const override { return 1; }
  void Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TCustomBitmap32* Src,
                const TRect& SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;
  void PrepareSampling() override;
  TColor32 GetSampleInt(Integer X, Integer Y) override;
  TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
  TColor32 GetSampleFloat(Single X, Single Y) override;

 private:
  TColor32 GetPixelTransparentEdge(Integer X, Integer Y) const;
  TPixelAccessMode FBoundMode = pamSafe;  // the reader bound by PrepareSampling
};

class TLinearResampler : public TCustomResampler {
 public:
  static TClassRef Class();
  TLinearResampler();
  explicit TLinearResampler(TCustomBitmap32* ABitmap);
  ~TLinearResampler() override;

  Single GetWidth() const override { return 1; }
  void Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TCustomBitmap32* Src,
                const TRect& SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;
  void PrepareSampling() override;
  TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
  TColor32 GetSampleFloat(Single X, Single Y) override;

 protected:
  TColor32 GetPixelTransparentEdge(TFixed X, TFixed Y) const;
  TLinearKernel* FLinearKernel = nullptr;
  TPixelAccessMode FBoundMode = pamSafe;
};

class TDraftResampler : public TLinearResampler {
 public:
  static TClassRef Class();
  TDraftResampler() = default;
  explicit TDraftResampler(TCustomBitmap32* ABitmap) : TLinearResampler(ABitmap) {}
  void Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TCustomBitmap32* Src,
                const TRect& SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;
};

enum TKernelMode : Integer { kmDynamic = 0, kmTableNearest = 1, kmTableLinear = 2 };

class TKernelResampler : public TCustomResampler {
 public:
  static TClassRef Class();
  TKernelResampler();
  explicit TKernelResampler(TCustomBitmap32* ABitmap);
  ~TKernelResampler() override;

  Single GetWidth() const override;
  void Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TCustomBitmap32* Src,
                const TRect& SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;
  void PrepareSampling() override;
  void FinalizeSampling() override;
  TColor32 GetSampleFloat(Single X, Single Y) override;

  TCustomKernel* Kernel() const { return FKernel; }
  // Takes ownership; nil or the current kernel is ignored.
  void SetKernel(TCustomKernel* Value);
  String KernelClassName() const;
  // Unknown names and the current name change nothing.
  void SetKernelClassName(const String& Value);
  TKernelMode KernelMode() const { return FKernelMode; }
  void SetKernelMode(TKernelMode Value);
  Integer TableSize() const { return FTableSize; }
  // Values below 2 become 2.
  void SetTableSize(Integer Value);
  // Present between PrepareSampling and FinalizeSampling in the table modes.
  TIntegerMap* WeightTable() const { return FWeightTable; }

  const TPublishedProperties& PublishedProperties() const override;

 private:
  void Init();
  TCustomKernel* FKernel = nullptr;
  TKernelMode FKernelMode = kmDynamic;
  Integer FTableSize = 32;
  TIntegerMap* FWeightTable = nullptr;
  TKernelMode FPreparedMode = kmDynamic;  // the mode the table (if any) was built for
  TColor32 FOuterColor = 0;
};

extern TClassList* ResamplerList;
void AddResamplerClass(TClassRef ResamplerClass);

// ---------------------------------------------------------------------------
// Samplers over samplers (rendering of transformations)

class TTransformation;

class ENestedException : public Exception {
 public:
  using Exception::Exception;
};

class TNestedSampler : public TCustomSampler, public IPublishedProperties {
 public:
  TNestedSampler() = default;
  explicit TNestedSampler(TCustomSampler* ASampler) { SetSampler(ASampler); }

  TCustomSampler* Sampler() const { return FSampler; }
  void SetSampler(TCustomSampler* Value) { FSampler = Value; }

  // Forwarded to the nested sampler; "Nested sampler is nil" without one.
  void PrepareSampling() override;
  void FinalizeSampling() override;
  bool HasBounds() const override;
  TFloatRect GetSampleBounds() const override;

  const TPublishedProperties& PublishedProperties() const override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  TCustomSampler* FSampler = nullptr;
};

class TTransformer : public TNestedSampler {
 public:
  TTransformer(TCustomSampler* ASampler, TTransformation* ATransformation);

  TTransformation* Transformation() const { return FTransformation; }
  void SetTransformation(TTransformation* Value) { FTransformation = Value; }

  void PrepareSampling() override;
  bool HasBounds() const override;
  TFloatRect GetSampleBounds() const override;
  // Pixel centres are mapped: (X, Y) + $7FFF back through the reverse mapping,
  // then - $7FFF. Where a projective weight vanishes the source's OuterColor.
  TColor32 GetSampleInt(Integer X, Integer Y) override;
  TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
  TColor32 GetSampleFloat(Single X, Single Y) override;

 private:
  TColor32 OuterSample() const;
  TTransformation* FTransformation = nullptr;
};

// Unit start-up (registry, resampler and kernel classes in their fixed
// order) and shut-down; run by the engine start-up.
void InitResamplers();
void DoneResamplers();
