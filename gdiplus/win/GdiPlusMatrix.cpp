// Matrices.
#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"

using namespace gdipflat;

TGPMatrix::TGPMatrix() {
  GpMatrix* m = nullptr;
  Gp.GdipCreateMatrix(&m);
  FNativeHandle = m;
}

TGPMatrix::TGPMatrix(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY) {
  GpMatrix* m = nullptr;
  Gp.GdipCreateMatrix2(M11, M12, M21, M22, DX, DY, &m);
  FNativeHandle = m;
}

TGPMatrix::TGPMatrix(const TGPRectF& Rect, const TGPPlgPointsF& DstPlg) {
  GpMatrix* m = nullptr;
  Gp.GdipCreateMatrix3(&Rect, &DstPlg.UpperLeft, &m);
  FNativeHandle = m;
}

TGPMatrix::TGPMatrix(const TGPRect& Rect, const TGPPlgPoints& DstPlg) {
  GpMatrix* m = nullptr;
  Gp.GdipCreateMatrix3I(&Rect, &DstPlg.UpperLeft, &m);
  FNativeHandle = m;
}

TGPMatrix* TGPMatrix::Wrap(GpMatrix* Handle) { return new TGPMatrix(TWrapTag{}, Handle); }

TGPMatrix::~TGPMatrix() { Gp.GdipDeleteMatrix(Native()); }

void TGPMatrix::GetElements(TGPMatrixElements& E) { Gp.GdipGetMatrixElements(Native(), &E.M11); }
void TGPMatrix::SetElements(const TGPMatrixElements& E) { SetElements(E.M11, E.M12, E.M21, E.M22, E.DX, E.DY); }

Single TGPMatrix::OffsetX() {
  TGPMatrixElements e{};
  GetElements(e);
  return e.DX;
}

Single TGPMatrix::OffsetY() {
  TGPMatrixElements e{};
  GetElements(e);
  return e.DY;
}

bool TGPMatrix::IsInvertible() {
  BOOL r = 0;
  Gp.GdipIsMatrixInvertible(Native(), &r);
  return r != 0;
}

bool TGPMatrix::IsIdentity() {
  BOOL r = 0;
  Gp.GdipIsMatrixIdentity(Native(), &r);
  return r != 0;
}

IGPMatrix TGPMatrix::Clone() {
  GpMatrix* m = nullptr;
  Gp.GdipCloneMatrix(Native(), &m);
  return Wrap(m);
}

void TGPMatrix::Reset() { Gp.GdipSetMatrixElements(Native(), 1, 0, 0, 1, 0, 0); }

void TGPMatrix::SetElements(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY) {
  Gp.GdipSetMatrixElements(Native(), M11, M12, M21, M22, DX, DY);
}

void TGPMatrix::Multiply(const IGPMatrix& Matrix, Integer Order) {
  GP_ASSERT(Matrix);
  Gp.GdipMultiplyMatrix(Native(), Matrix->Native(), Order);
}

void TGPMatrix::Translate(Single X, Single Y, Integer Order) { Gp.GdipTranslateMatrix(Native(), X, Y, Order); }
void TGPMatrix::Scale(Single X, Single Y, Integer Order) { Gp.GdipScaleMatrix(Native(), X, Y, Order); }
void TGPMatrix::Rotate(Single Angle, Integer Order) { Gp.GdipRotateMatrix(Native(), Angle, Order); }

void TGPMatrix::RotateAt(Single Angle, const TGPPointF& Center, Integer Order) {
  if (Order != MatrixOrderPrepend) {
    Translate(-Center.X, -Center.Y, Order);
    Rotate(Angle, Order);
    Translate(Center.X, Center.Y, Order);
  } else {
    Translate(Center.X, Center.Y, Order);
    Rotate(Angle, Order);
    Translate(-Center.X, -Center.Y, Order);
  }
}

void TGPMatrix::Shear(Single X, Single Y, Integer Order) { Gp.GdipShearMatrix(Native(), X, Y, Order); }
void TGPMatrix::Invert() { Gp.GdipInvertMatrix(Native()); }
void TGPMatrix::TransformPoint(TGPPointF& P) { Gp.GdipTransformMatrixPoints(Native(), &P, 1); }
void TGPMatrix::TransformPoint(TGPPoint& P) { Gp.GdipTransformMatrixPointsI(Native(), &P, 1); }

void TGPMatrix::TransformPoints(TGPPointF* Points, Integer Count) {
  GP_ASSERT(Points != nullptr && Count > 0);
  Gp.GdipTransformMatrixPoints(Native(), Points, Count);
}

void TGPMatrix::TransformPoints(TGPPoint* Points, Integer Count) {
  GP_ASSERT(Points != nullptr && Count > 0);
  Gp.GdipTransformMatrixPointsI(Native(), Points, Count);
}

void TGPMatrix::TransformVector(TGPPointF& P) { Gp.GdipVectorTransformMatrixPoints(Native(), &P, 1); }
void TGPMatrix::TransformVector(TGPPoint& P) { Gp.GdipVectorTransformMatrixPointsI(Native(), &P, 1); }

void TGPMatrix::TransformVectors(TGPPointF* Points, Integer Count) {
  GP_ASSERT(Points != nullptr && Count > 0);
  Gp.GdipVectorTransformMatrixPoints(Native(), Points, Count);
}

void TGPMatrix::TransformVectors(TGPPoint* Points, Integer Count) {
  GP_ASSERT(Points != nullptr && Count > 0);
  Gp.GdipVectorTransformMatrixPointsI(Native(), Points, Count);
}

bool TGPMatrix::Equals(const IGPMatrix& Matrix) {
  GP_ASSERT(Matrix);
  BOOL r = 0;
  Gp.GdipIsMatrixEqual(Native(), Matrix->Native(), &r);
  return r != 0;
}
