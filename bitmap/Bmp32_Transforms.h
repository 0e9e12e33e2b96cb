// Bmp32_Transforms: geometric transformations and their rendering.
// Holds the 3 x 3 matrix routines (TFloatMatrix indexed [input][output]),
// TTransformation (forward and reverse mapping in integer, 16.16 and Single
// forms), TAffineTransformation, TProjectiveTransformation (unit square of
// SrcRect onto four corners), TRemapTransformation (displacements from a
// TVectorMap), and Transform / TransformClipped, which render a source bitmap
// through a rasterizer and a TTransformer (Bmp32_Resamplers.h) on the
// source's resampler. A singular transformation (degenerate matrix or
// quadrilateral) renders nothing. The registry "Bmp32_Transforms bindings"
// holds the 2 x 2 determinant slots.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Rasterizers.h"
#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/Bmp32_VectorMaps.h"

struct TFloatMatrix {
  Single M[3][3] = {};
  Single* operator[](int I) { return M[I]; }
  const Single* operator[](int I) const { return M[I]; }
  friend bool operator==(const TFloatMatrix&, const TFloatMatrix&) = default;
};
struct TFixedMatrix {
  TFixed M[3][3] = {};
  TFixed* operator[](int I) { return M[I]; }
  const TFixed* operator[](int I) const { return M[I]; }
  friend bool operator==(const TFixedMatrix&, const TFixedMatrix&) = default;
};
struct TVector3f {
  Single V[3] = {};
  Single& operator[](int I) { return V[I]; }
  Single operator[](int I) const { return V[I]; }
};

extern const TFloatMatrix MatrixIdentity;

TFloatMatrix MatrixMultiply(const TFloatMatrix& M1, const TFloatMatrix& M2);
TVector3f MatrixTransformVector(const TFloatMatrix& M, const TVector3f& V);
Single MatrixDeterminant(const TFloatMatrix& M);
void MatrixAdjoint(TFloatMatrix& M);
void MatrixScale(TFloatMatrix& M, Single Factor);
// |determinant| < 1E-5: M becomes the identity and the result is false.
bool MatrixInvert(TFloatMatrix& M);
// Round(element * 65536), saturated.
TFixedMatrix ToFixedMatrix(const TFloatMatrix& M);

// Call slots of "Bmp32_Transforms bindings": 2 x 2 determinants a*d - b*c.
using TDet32Proc = Single (*)(Single A, Single B, Single C, Single D);
using TDet64Proc = Double (*)(Double A, Double B, Double C, Double D);
extern TDet32Proc DET32;
extern TDet64Proc DET64;
inline constexpr TFunctionID<TDet32Proc> FID_DET32{0};
inline constexpr TFunctionID<TDet64Proc> FID_DET64{1};

class ETransformNotImplemented : public Exception {
 public:
  using Exception::Exception;
};

class TTransformation : public TNotifiablePersistent {
 public:
  void Changed() override;

  const TFloatRect& SrcRect() const { return FSrcRect; }
  void SetSrcRect(const TFloatRect& Value);
  bool TransformValid() const { return FTransformValid; }
  // True when the last BuildTransform found no usable mapping (the reverse
  // mapping then answers the identity and nothing is rendered).
  bool Singular() const { return FSingular; }

  virtual void BuildTransform() {}
  // The mapping slots assume valid derived data. They return false when no
  // output was written (a vanishing projective weight).
  virtual bool ReverseTransformInt(Integer DstX, Integer DstY, Integer& SrcX, Integer& SrcY);
  virtual bool ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY);
  virtual bool ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY);
  virtual bool TransformInt(Integer SrcX, Integer SrcY, Integer& DstX, Integer& DstY);
  virtual bool TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY);
  virtual bool TransformFloat(Single SrcX, Single SrcY, Single& DstX, Single& DstY);
  virtual bool HasTransformedBounds() const { return true; }
  virtual TFloatRect GetTransformedBounds(const TFloatRect& ASrcRect);
  TFloatRect GetTransformedBounds() { return GetTransformedBounds(FSrcRect); }

  // Public forms: build first when needed.
  TPoint ReverseTransform(const TPoint& P);
  TFixedPoint ReverseTransform(const TFixedPoint& P);
  TFloatPoint ReverseTransform(const TFloatPoint& P);
  TPoint Transform(const TPoint& P);
  TFixedPoint Transform(const TFixedPoint& P);
  TFloatPoint Transform(const TFloatPoint& P);

  void EnsureValid() {
    if (!FTransformValid) BuildTransform();
  }

 protected:
  TFloatRect FSrcRect;
  bool FTransformValid = false;
  bool FSingular = false;
};

class TAffineTransformation : public TTransformation {
 public:
  static TClassRef Class();
  TAffineTransformation();

  TFloatMatrix Matrix;

  void Clear();
  void Rotate(Single Alpha);
  void Rotate(Single Cx, Single Cy, Single Alpha);
  void Scale(Single Sx, Single Sy);
  void Scale(Single Value);
  void Skew(Single Fx, Single Fy);
  void Translate(Single Dx, Single Dy);

  void BuildTransform() override;
  bool ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) override;
  bool ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY) override;
  bool TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) override;
  bool TransformFloat(Single SrcX, Single SrcY, Single& DstX, Single& DstY) override;
  TFloatRect GetTransformedBounds(const TFloatRect& ASrcRect) override;
  using TTransformation::GetTransformedBounds;

  const TFloatMatrix& InverseMatrix() const { return FInverseMatrix; }
  const TFixedMatrix& FixedMatrix() const { return FFixedMatrix; }
  const TFixedMatrix& InverseFixedMatrix() const { return FInverseFixedMatrix; }

 private:
  void Apply(const TFloatMatrix& Op);
  TFloatMatrix FInverseMatrix;
  TFixedMatrix FFixedMatrix;
  TFixedMatrix FInverseFixedMatrix;
};

class TProjectiveTransformation : public TTransformation {
 public:
  Single X0() const { return Wx0; }
  Single X1() const { return Wx1; }
  Single X2() const { return Wx2; }
  Single X3() const { return Wx3; }
  Single Y0() const { return Wy0; }
  Single Y1() const { return Wy1; }
  Single Y2() const { return Wy2; }
  Single Y3() const { return Wy3; }
  void SetX0(Single V) { Wx0 = V; Changed(); }
  void SetX1(Single V) { Wx1 = V; Changed(); }
  void SetX2(Single V) { Wx2 = V; Changed(); }
  void SetX3(Single V) { Wx3 = V; Changed(); }
  void SetY0(Single V) { Wy0 = V; Changed(); }
  void SetY1(Single V) { Wy1 = V; Changed(); }
  void SetY2(Single V) { Wy2 = V; Changed(); }
  void SetY3(Single V) { Wy3 = V; Changed(); }

  void BuildTransform() override;
  bool ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) override;
  bool ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY) override;
  bool TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) override;
  bool TransformFloat(Single SrcX, Single SrcY, Single& DstX, Single& DstY) override;
  TFloatRect GetTransformedBounds(const TFloatRect& ASrcRect) override;
  using TTransformation::GetTransformedBounds;

  const TFloatMatrix& Matrix() const { return FMatrix; }
  const TFloatMatrix& InverseMatrix() const { return FInverseMatrix; }

 private:
  Single Wx0 = 0, Wx1 = 0, Wx2 = 0, Wx3 = 0, Wy0 = 0, Wy1 = 0, Wy2 = 0, Wy3 = 0;
  TFloatMatrix FMatrix, FInverseMatrix;
  TFixedMatrix FFixedMatrix, FInverseFixedMatrix;
};

class TRemapTransformation : public TTransformation {
 public:
  static TClassRef Class();
  TRemapTransformation();
  ~TRemapTransformation() override;

  TVectorMap* VectorMap() const { return FVectorMap; }
  void Scale(Single Sx, Single Sy);
  const TFloatPoint& Offset() const { return FOffset; }
  void SetOffset(const TFloatPoint& Value);
  const TFloatRect& MappingRect() const { return FMappingRect; }
  void SetMappingRect(const TFloatRect& Value);

  // Raises "SrcRect is empty!" / "MappingRect is empty!". A map side of one
  // cell uses scale 1 on that axis.
  void BuildTransform() override;
  bool ReverseTransformInt(Integer DstX, Integer DstY, Integer& SrcX, Integer& SrcY) override;
  bool ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) override;
  bool ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY) override;
  bool HasTransformedBounds() const override { return false; }
  TFloatRect GetTransformedBounds(const TFloatRect& ASrcRect) override;
  using TTransformation::GetTransformedBounds;

 private:
  TVectorMap* FVectorMap = nullptr;
  TFixedPoint FScalingFixed{0x10000, 0x10000};
  TFloatPoint FScalingFloat{1, 1};
  TFixedPoint FCombinedScalingFixed;
  TFloatPoint FCombinedScalingFloat;
  TFixedPoint FSrcTranslationFixed;
  TFloatPoint FSrcTranslationFloat;
  TFixedPoint FSrcScaleFixed;
  TFloatPoint FSrcScaleFloat;
  TFixedPoint FDstTranslationFixed;
  TFloatPoint FDstTranslationFloat;
  TFixedPoint FDstScaleFixed;
  TFloatPoint FDstScaleFloat;
  TFloatPoint FOffset;
  TPoint FOffsetInt;
  TFixedPoint FOffsetFixed;
  TFloatRect FMappingRect;
};

// Rendering of Src through Transformation into Dst (clipped to Dst's clip
// rectangle and DstClip); Dst reports the clipped destination rectangle.
void Transform(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation);
void Transform(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation, TRasterizer* Rasterizer);
void TransformClipped(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation,
                      const TRect& DstClip);
void TransformClipped(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation,
                      TRasterizer* Rasterizer, const TRect& DstClip);

void InitTransforms();
void DoneTransforms();
