#include "bitmap/Bmp32_Transforms.h"

#include <cmath>
#include <limits>
#include <type_traits>
#include <typeinfo>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Spans.h"
#include "rtl/ScopeGuard.h"

namespace {

constexpr Extended PiExt = 3.14159265358979323846264338327950288L;

inline TFixed AddFx(TFixed A, TFixed B) { return TFixed(Cardinal(A) + Cardinal(B)); }
inline TFixed SubSat(TFixed A, Int64 B) {
  const Int64 V = Int64(A) - B;
  if (V > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (V < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return TFixed(V);
}
inline Single S(Extended V) { return Single(V); }
// Round half to even on the extended value, saturated (NaN gives 0); the
// per-pixel form of RoundToInt without saving the floating-point state.
inline Integer RoundFast(Extended V) {
  if (V != V) return 0;
  if (V >= 2147483647.0L) return std::numeric_limits<Integer>::max();
  if (V <= -2147483648.0L) return std::numeric_limits<Integer>::min();
  // Through double (exact for an integer in range): a direct conversion of
  // the extended value reloads the x87 control word per call.
  return Integer(static_cast<double>(__builtin_rintl(V)));
}
inline Integer SatIntSub(Integer A, Integer B) { return SubSat(A, B); }

Single Det32_A(Single A, Single B, Single C, Single D) { return S(Extended(A) * D - Extended(B) * C); }
Single Det32_B(Single A, Single B, Single C, Single D) { return A * D - B * C; }
Double Det64_A(Double A, Double B, Double C, Double D) { return A * D - B * C; }
Double Det64_B(Double A, Double B, Double C, Double D) { return Double(Extended(A) * D - Extended(B) * C); }

}  // namespace

TDet32Proc DET32 = Det32_A;
TDet64Proc DET64 = Det64_A;

const TFloatMatrix MatrixIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// ---------------------------------------------------------------------------
// Matrices

TFloatMatrix MatrixMultiply(const TFloatMatrix& M1, const TFloatMatrix& M2) {
  TFloatMatrix R;
  for (int I = 0; I < 3; ++I)
    for (int J = 0; J < 3; ++J)
      R[I][J] = S(Extended(M1[0][J]) * M2[I][0] + Extended(M1[1][J]) * M2[I][1] + Extended(M1[2][J]) * M2[I][2]);
  return R;
}

TVector3f MatrixTransformVector(const TFloatMatrix& M, const TVector3f& V) {
  TVector3f R;
  for (int J = 0; J < 3; ++J) R[J] = S(Extended(M[0][J]) * V[0] + Extended(M[1][J]) * V[1] + Extended(M[2][J]) * V[2]);
  return R;
}

Single MatrixDeterminant(const TFloatMatrix& M) {
  const Extended a1 = M[0][0], a2 = M[1][0], a3 = M[2][0];
  const Extended b1 = M[0][1], b2 = M[1][1], b3 = M[2][1];
  const Extended c1 = M[0][2], c2 = M[1][2], c3 = M[2][2];
  return S(a1 * (b2 * c3 - b3 * c2) - b1 * (a2 * c3 - a3 * c2) + c1 * (a2 * b3 - a3 * b2));
}

void MatrixAdjoint(TFloatMatrix& M) {
  const TFloatMatrix T = M;
  auto D2 = [](Single A, Single B, Single C, Single D) { return S(Extended(A) * B - Extended(C) * D); };
  M[0][0] = D2(T[1][1], T[2][2], T[1][2], T[2][1]);
  M[0][1] = -D2(T[0][1], T[2][2], T[0][2], T[2][1]);
  M[0][2] = D2(T[0][1], T[1][2], T[0][2], T[1][1]);
  M[1][0] = -D2(T[1][0], T[2][2], T[1][2], T[2][0]);
  M[1][1] = D2(T[0][0], T[2][2], T[0][2], T[2][0]);
  M[1][2] = -D2(T[0][0], T[1][2], T[0][2], T[1][0]);
  M[2][0] = D2(T[1][0], T[2][1], T[1][1], T[2][0]);
  M[2][1] = -D2(T[0][0], T[2][1], T[0][1], T[2][0]);
  M[2][2] = D2(T[0][0], T[1][1], T[0][1], T[1][0]);
}

void MatrixScale(TFloatMatrix& M, Single Factor) {
  for (auto& Row : M.M)
    for (auto& E : Row) E = S(Extended(E) * Factor);
}

bool MatrixInvert(TFloatMatrix& M) {
  const Single D = MatrixDeterminant(M);
  if (!(std::fabs(D) >= 1E-5f)) {
    M = MatrixIdentity;
    return false;
  }
  MatrixAdjoint(M);
  MatrixScale(M, S(1.0L / D));
  return true;
}

TFixedMatrix ToFixedMatrix(const TFloatMatrix& M) {
  TFixedMatrix R;
  for (int I = 0; I < 3; ++I)
    for (int J = 0; J < 3; ++J) R[I][J] = RoundToInt(Extended(M[I][J]) * 65536);
  return R;
}

// ---------------------------------------------------------------------------
// TTransformation

void TTransformation::Changed() {
  FTransformValid = false;
  TNotifiablePersistent::Changed();
}

void TTransformation::SetSrcRect(const TFloatRect& Value) {
  FSrcRect = Value;
  Changed();
}

TFloatRect TTransformation::GetTransformedBounds(const TFloatRect& ASrcRect) { return ASrcRect; }

bool TTransformation::ReverseTransformInt(Integer DstX, Integer DstY, Integer& SrcX, Integer& SrcY) {
  TFixed X, Y;
  if (!ReverseTransformFixed(Shl(DstX, 16), Shl(DstY, 16), X, Y)) return false;
  SrcX = FixedToIntRound(X);
  SrcY = FixedToIntRound(Y);
  return true;
}

bool TTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
  Single X, Y;
  if (!ReverseTransformFloat(Single(DstX) / 65536.0f, Single(DstY) / 65536.0f, X, Y)) return false;
  SrcX = SingleToFixed(X);
  SrcY = SingleToFixed(Y);
  return true;
}

bool TTransformation::ReverseTransformFloat(Single, Single, Single&, Single&) {
  throw ETransformNotImplemented(u"Reverse transformation is not implemented in %s.", {ClassName()});
}

bool TTransformation::TransformInt(Integer SrcX, Integer SrcY, Integer& DstX, Integer& DstY) {
  TFixed X, Y;
  if (!TransformFixed(Shl(SrcX, 16), Shl(SrcY, 16), X, Y)) return false;
  DstX = FixedToIntRound(X);
  DstY = FixedToIntRound(Y);
  return true;
}

bool TTransformation::TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) {
  Single X, Y;
  if (!TransformFloat(Single(SrcX) / 65536.0f, Single(SrcY) / 65536.0f, X, Y)) return false;
  DstX = SingleToFixed(X);
  DstY = SingleToFixed(Y);
  return true;
}

bool TTransformation::TransformFloat(Single, Single, Single&, Single&) {
  throw ETransformNotImplemented(u"Forward transformation is not implemented in %s.", {ClassName()});
}

TPoint TTransformation::ReverseTransform(const TPoint& P) {
  EnsureValid();
  TPoint R = P;
  ReverseTransformInt(P.X, P.Y, R.X, R.Y);
  return R;
}
TFixedPoint TTransformation::ReverseTransform(const TFixedPoint& P) {
  EnsureValid();
  TFixedPoint R = P;
  ReverseTransformFixed(P.X, P.Y, R.X, R.Y);
  return R;
}
TFloatPoint TTransformation::ReverseTransform(const TFloatPoint& P) {
  EnsureValid();
  TFloatPoint R = P;
  ReverseTransformFloat(P.X, P.Y, R.X, R.Y);
  return R;
}
TPoint TTransformation::Transform(const TPoint& P) {
  EnsureValid();
  TPoint R = P;
  TransformInt(P.X, P.Y, R.X, R.Y);
  return R;
}
TFixedPoint TTransformation::Transform(const TFixedPoint& P) {
  EnsureValid();
  TFixedPoint R = P;
  TransformFixed(P.X, P.Y, R.X, R.Y);
  return R;
}
TFloatPoint TTransformation::Transform(const TFloatPoint& P) {
  EnsureValid();
  TFloatPoint R = P;
  TransformFloat(P.X, P.Y, R.X, R.Y);
  return R;
}

// ---------------------------------------------------------------------------
// TAffineTransformation

TClassRef TAffineTransformation::Class() {
  static const TClassDesc Desc{u"TAffineTransformation",
                               [](TObject*) -> TObject* { return new TAffineTransformation(); }};
  return &Desc;
}

TAffineTransformation::TAffineTransformation() { Clear(); }

void TAffineTransformation::Clear() {
  Matrix = MatrixIdentity;
  Changed();
}

void TAffineTransformation::Apply(const TFloatMatrix& Op) {
  Matrix = MatrixMultiply(Op, Matrix);
  Changed();
}

void TAffineTransformation::Rotate(Single Alpha) {
  const Single A = S(Extended(Alpha) * PiExt / 180);
  Single Sn, Cs;
  SineCosine(A, Sn, Cs);
  TFloatMatrix Op = MatrixIdentity;
  Op[0][0] = Cs;
  Op[1][0] = Sn;
  Op[0][1] = -Sn;
  Op[1][1] = Cs;
  Apply(Op);
}

void TAffineTransformation::Rotate(Single Cx, Single Cy, Single Alpha) {
  const bool Moved = Cx != 0 || Cy != 0;
  if (Moved) Translate(-Cx, -Cy);
  Rotate(Alpha);
  if (Moved) Translate(Cx, Cy);
}

void TAffineTransformation::Scale(Single Sx, Single Sy) {
  TFloatMatrix Op = MatrixIdentity;
  Op[0][0] = Sx;
  Op[1][1] = Sy;
  Apply(Op);
}

void TAffineTransformation::Scale(Single Value) { Scale(Value, Value); }

void TAffineTransformation::Skew(Single Fx, Single Fy) {
  TFloatMatrix Op = MatrixIdentity;
  Op[1][0] = Fx;
  Op[0][1] = Fy;
  Apply(Op);
}

void TAffineTransformation::Translate(Single Dx, Single Dy) {
  TFloatMatrix Op = MatrixIdentity;
  Op[2][0] = Dx;
  Op[2][1] = Dy;
  Apply(Op);
}

void TAffineTransformation::BuildTransform() {
  FInverseMatrix = Matrix;
  FSingular = !MatrixInvert(FInverseMatrix);
  FInverseFixedMatrix = ToFixedMatrix(FInverseMatrix);
  FFixedMatrix = ToFixedMatrix(Matrix);
  FTransformValid = true;
}

namespace {
inline void AffineFloat(const TFloatMatrix& M, Single X, Single Y, Single& OX, Single& OY) {
  OX = S(Extended(X) * M[0][0] + Extended(Y) * M[1][0] + M[2][0]);
  OY = S(Extended(X) * M[0][1] + Extended(Y) * M[1][1] + M[2][1]);
}
inline void AffineFixed(const TFixedMatrix& F, TFixed X, TFixed Y, TFixed& OX, TFixed& OY) {
  OX = AddFx(AddFx(FixedMul(X, F[0][0]), FixedMul(Y, F[1][0])), F[2][0]);
  OY = AddFx(AddFx(FixedMul(X, F[0][1]), FixedMul(Y, F[1][1])), F[2][1]);
}
}  // namespace

bool TAffineTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
  AffineFixed(FInverseFixedMatrix, DstX, DstY, SrcX, SrcY);
  return true;
}
bool TAffineTransformation::ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY) {
  AffineFloat(FInverseMatrix, DstX, DstY, SrcX, SrcY);
  return true;
}
bool TAffineTransformation::TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) {
  AffineFixed(FFixedMatrix, SrcX, SrcY, DstX, DstY);
  return true;
}
bool TAffineTransformation::TransformFloat(Single SrcX, Single SrcY, Single& DstX, Single& DstY) {
  AffineFloat(Matrix, SrcX, SrcY, DstX, DstY);
  return true;
}

TFloatRect TAffineTransformation::GetTransformedBounds(const TFloatRect& R) {
  const TVector3f V1 = MatrixTransformVector(Matrix, TVector3f{{R.Left, R.Top, 1}});
  const TVector3f V2 = MatrixTransformVector(Matrix, TVector3f{{R.Right, R.Top, 1}});
  const TVector3f V3 = MatrixTransformVector(Matrix, TVector3f{{R.Left, R.Bottom, 1}});
  const TVector3f V4 = MatrixTransformVector(Matrix, TVector3f{{R.Right, R.Bottom, 1}});
  TFloatRect Result;
  Result.Left = std::min({V1[0], V2[0], V3[0], V4[0]});
  Result.Right = std::max({V1[0], V2[0], V3[0], V4[0]});
  Result.Top = std::min({V1[1], V2[1], V3[1], V4[1]});
  Result.Bottom = std::max({V1[1], V2[1], V3[1], V4[1]});
  return Result;
}

// ---------------------------------------------------------------------------
// TProjectiveTransformation

void TProjectiveTransformation::BuildTransform() {
  TFloatMatrix M;
  bool Degenerate = false;
  const Single px = S(Extended(Wx0) - Wx1 + Wx2 - Wx3);
  const Single py = S(Extended(Wy0) - Wy1 + Wy2 - Wy3);
  if (px == 0 && py == 0) {
    M[0][0] = Wx1 - Wx0;
    M[1][0] = Wx2 - Wx1;
    M[2][0] = Wx0;
    M[0][1] = Wy1 - Wy0;
    M[1][1] = Wy2 - Wy1;
    M[2][1] = Wy0;
    M[0][2] = 0;
    M[1][2] = 0;
    M[2][2] = 1;
  } else {
    const Single dx1 = Wx1 - Wx2, dx2 = Wx3 - Wx2, dy1 = Wy1 - Wy2, dy2 = Wy3 - Wy2;
    Single k = S(Extended(dx1) * dy2 - Extended(dx2) * dy1);
    if (k == 0) {
      Degenerate = true;  // every element stays 0
    } else {
      k = S(1.0L / k);
      const Single g = S((Extended(px) * dy2 - Extended(py) * dx2) * k);
      const Single h = S((Extended(dx1) * py - Extended(dy1) * px) * k);
      M[0][0] = S(Extended(Wx1) - Wx0 + Extended(g) * Wx1);
      M[1][0] = S(Extended(Wx3) - Wx0 + Extended(h) * Wx3);
      M[2][0] = Wx0;
      M[0][1] = S(Extended(Wy1) - Wy0 + Extended(g) * Wy1);
      M[1][1] = S(Extended(Wy3) - Wy0 + Extended(h) * Wy3);
      M[2][1] = Wy0;
      M[0][2] = g;
      M[1][2] = h;
      M[2][2] = 1;
    }
  }
  TFloatMatrix Sc = MatrixIdentity;
  const Single SW = FSrcRect.Right - FSrcRect.Left, SH = FSrcRect.Bottom - FSrcRect.Top;
  Sc[0][0] = SW != 0 ? S(1.0L / SW) : 0;
  Sc[1][1] = SH != 0 ? S(1.0L / SH) : 0;
  if (SW == 0 || SH == 0) Degenerate = true;
  M = MatrixMultiply(M, Sc);
  TFloatMatrix T = MatrixIdentity;
  T[2][0] = -FSrcRect.Left;
  T[2][1] = -FSrcRect.Top;
  M = MatrixMultiply(M, T);
  FMatrix = M;
  FInverseMatrix = M;
  const bool Inverted = MatrixInvert(FInverseMatrix);
  FFixedMatrix = ToFixedMatrix(FMatrix);
  FInverseFixedMatrix = ToFixedMatrix(FInverseMatrix);
  FSingular = Degenerate || !Inverted;
  FTransformValid = true;
}

namespace {

bool ProjectiveFloat(const TFloatMatrix& M, Single X, Single Y, Single& OX, Single& OY) {
  Single W = S(Extended(M[0][2]) * X + Extended(M[1][2]) * Y + M[2][2]);
  if (W == 0) return false;
  if (W == 1) {
    AffineFloat(M, X, Y, OX, OY);
    return true;
  }
  W = S(1.0L / W);
  OX = S((Extended(M[0][0]) * X + Extended(M[1][0]) * Y + M[2][0]) * W);
  OY = S((Extended(M[0][1]) * X + Extended(M[1][1]) * Y + M[2][1]) * W);
  return true;
}

bool ProjectiveFixed(const TFixedMatrix& F, TFixed X, TFixed Y, TFixed& OX, TFixed& OY) {
  const TFixed W = AddFx(AddFx(FixedMul(F[0][2], X), FixedMul(F[1][2], Y)), F[2][2]);
  if (W == 0) return false;
  AffineFixed(F, X, Y, OX, OY);
  if (W != 0x10000) {
    const Single Q = Single(65536.0f / Single(W));
    OX = RoundFast(Extended(OX) * Q);
    OY = RoundFast(Extended(OY) * Q);
  }
  return true;
}

}  // namespace

bool TProjectiveTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
  return ProjectiveFixed(FInverseFixedMatrix, DstX, DstY, SrcX, SrcY);
}
bool TProjectiveTransformation::ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY) {
  return ProjectiveFloat(FInverseMatrix, DstX, DstY, SrcX, SrcY);
}
bool TProjectiveTransformation::TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) {
  return ProjectiveFixed(FFixedMatrix, SrcX, SrcY, DstX, DstY);
}
bool TProjectiveTransformation::TransformFloat(Single SrcX, Single SrcY, Single& DstX, Single& DstY) {
  return ProjectiveFloat(FMatrix, SrcX, SrcY, DstX, DstY);
}

TFloatRect TProjectiveTransformation::GetTransformedBounds(const TFloatRect&) {
  TFloatRect R;
  R.Left = std::min({Wx0, Wx1, Wx2, Wx3});
  R.Right = std::max({Wx0, Wx1, Wx2, Wx3});
  R.Top = std::min({Wy0, Wy1, Wy2, Wy3});
  R.Bottom = std::max({Wy0, Wy1, Wy2, Wy3});
  return R;
}

// ---------------------------------------------------------------------------
// TRemapTransformation

TClassRef TRemapTransformation::Class() {
  static const TClassDesc Desc{u"TRemapTransformation",
                               [](TObject*) -> TObject* { return new TRemapTransformation(); }};
  return &Desc;
}

TRemapTransformation::TRemapTransformation() {
  FScalingFixed = TFixedPoint{0x10000, 0x10000};
  FScalingFloat = TFloatPoint{1, 1};
  FOffset = TFloatPoint{0, 0};
  FVectorMap = new TVectorMap();
  FVectorMap->SetSize(1, 1);
}

TRemapTransformation::~TRemapTransformation() { delete FVectorMap; }

void TRemapTransformation::Scale(Single Sx, Single Sy) {
  FScalingFixed = TFixedPoint{SingleToFixed(Sx), SingleToFixed(Sy)};
  FScalingFloat = TFloatPoint{Sx, Sy};
  Changed();
}

void TRemapTransformation::SetOffset(const TFloatPoint& Value) {
  FOffset = Value;
  FOffsetInt = RoundFloatPoint(Value);
  FOffsetFixed = FloatPointToFixed(Value);
  Changed();
}

void TRemapTransformation::SetMappingRect(const TFloatRect& Value) {
  FMappingRect = Value;
  Changed();
}

void TRemapTransformation::BuildTransform() {
  if (FloatRectIsEmpty(FSrcRect)) throw Exception(u"SrcRect is empty!");
  if (FloatRectIsEmpty(FMappingRect)) throw Exception(u"MappingRect is empty!");
  const Integer W = FVectorMap->Width(), H = FVectorMap->Height();
  FSrcTranslationFloat = TFloatPoint{FSrcRect.Left, FSrcRect.Top};
  FDstTranslationFloat = TFloatPoint{FMappingRect.Left, FMappingRect.Top};
  // A map one cell wide (or high) has no spacing to scale by: scale 1 there.
  if (W > 1) {
    FSrcScaleFloat.X = S(Extended(FSrcRect.Right - FSrcRect.Left) / (W - 1));
    FDstScaleFloat.X = S(Extended(W - 1) / (FMappingRect.Right - FMappingRect.Left));
  } else {
    FSrcScaleFloat.X = 1;
    FDstScaleFloat.X = 1;
  }
  if (H > 1) {
    FSrcScaleFloat.Y = S(Extended(FSrcRect.Bottom - FSrcRect.Top) / (H - 1));
    FDstScaleFloat.Y = S(Extended(H - 1) / (FMappingRect.Bottom - FMappingRect.Top));
  } else {
    FSrcScaleFloat.Y = 1;
    FDstScaleFloat.Y = 1;
  }
  FCombinedScalingFloat = TFloatPoint{FDstScaleFloat.X * FScalingFloat.X, FDstScaleFloat.Y * FScalingFloat.Y};
  FSrcTranslationFixed = FloatPointToFixed(FSrcTranslationFloat);
  FSrcScaleFixed = FloatPointToFixed(FSrcScaleFloat);
  FDstTranslationFixed = FloatPointToFixed(FDstTranslationFloat);
  FDstScaleFixed = FloatPointToFixed(FDstScaleFloat);
  FCombinedScalingFixed = FloatPointToFixed(FCombinedScalingFloat);
  FSingular = false;
  FTransformValid = true;
}

bool TRemapTransformation::ReverseTransformFloat(Single DstX, Single DstY, Single& SrcX, Single& SrcY) {
  const TFloatPoint V = FVectorMap->GetFloatVector(DstX - FOffset.X, DstY - FOffset.Y);
  SrcX = S(S(S(S(S(DstX - FDstTranslationFloat.X) * FDstScaleFloat.X) + S(V.X * FCombinedScalingFloat.X)) *
             FSrcScaleFloat.X) + FSrcTranslationFloat.X);
  SrcY = S(S(S(S(S(DstY - FDstTranslationFloat.Y) * FDstScaleFloat.Y) + S(V.Y * FCombinedScalingFloat.Y)) *
             FSrcScaleFloat.Y) + FSrcTranslationFloat.Y);
  return true;
}

bool TRemapTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
  const TFixedPoint V = FVectorMap->GetFixedVector(TFixed(Cardinal(DstX) - Cardinal(FOffsetFixed.X)),
                                                   TFixed(Cardinal(DstY) - Cardinal(FOffsetFixed.Y)));
  SrcX = AddFx(FixedMul(AddFx(FixedMul(TFixed(Cardinal(DstX) - Cardinal(FDstTranslationFixed.X)), FDstScaleFixed.X),
                              FixedMul(V.X, FCombinedScalingFixed.X)),
                        FSrcScaleFixed.X),
               FSrcTranslationFixed.X);
  SrcY = AddFx(FixedMul(AddFx(FixedMul(TFixed(Cardinal(DstY) - Cardinal(FDstTranslationFixed.Y)), FDstScaleFixed.Y),
                              FixedMul(V.Y, FCombinedScalingFixed.Y)),
                        FSrcScaleFixed.Y),
               FSrcTranslationFixed.Y);
  return true;
}

bool TRemapTransformation::ReverseTransformInt(Integer DstX, Integer DstY, Integer& SrcX, Integer& SrcY) {
  // Outside the map the displacement is zero.
  const TFixedPoint V = FVectorMap->GetVectorS(SatIntSub(DstX, FOffsetInt.X), SatIntSub(DstY, FOffsetInt.Y));
  const TFixed FX = Shl(DstX, 16), FY = Shl(DstY, 16);
  const TFixed U = AddFx(FixedMul(AddFx(FixedMul(TFixed(Cardinal(FX) - Cardinal(FDstTranslationFixed.X)), FDstScaleFixed.X),
                                        FixedMul(V.X, FCombinedScalingFixed.X)),
                                  FSrcScaleFixed.X),
                         FSrcTranslationFixed.X);
  const TFixed W = AddFx(FixedMul(AddFx(FixedMul(TFixed(Cardinal(FY) - Cardinal(FDstTranslationFixed.Y)), FDstScaleFixed.Y),
                                        FixedMul(V.Y, FCombinedScalingFixed.Y)),
                                  FSrcScaleFixed.Y),
                         FSrcTranslationFixed.Y);
  SrcX = FixedToIntRound(U);
  SrcY = FixedToIntRound(W);
  return true;
}

TFloatRect TRemapTransformation::GetTransformedBounds(const TFloatRect&) {
  const Single Inf = std::numeric_limits<Single>::infinity();
  return TFloatRect{-Inf, -Inf, Inf, Inf};
}

// ---------------------------------------------------------------------------
// TNestedSampler / TTransformer

void TNestedSampler::PrepareSampling() {
  if (FSampler == nullptr) throw ENestedException(u"Nested sampler is nil");
  FSampler->PrepareSampling();
}

void TNestedSampler::FinalizeSampling() {
  if (FSampler == nullptr) throw ENestedException(u"Nested sampler is nil");
  FSampler->FinalizeSampling();
}

bool TNestedSampler::HasBounds() const {
  if (FSampler == nullptr) throw ENestedException(u"Nested sampler is nil");
  return FSampler->HasBounds();
}

TFloatRect TNestedSampler::GetSampleBounds() const {
  if (FSampler == nullptr) throw ENestedException(u"Nested sampler is nil");
  return FSampler->GetSampleBounds();
}

void TNestedSampler::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TNestedSampler*>(Dest) != nullptr)
    AssignPublishedProperties(this, Dest, tkProperties);
  else
    TCustomSampler::AssignTo(Dest);
}

const TPublishedProperties& TNestedSampler::PublishedProperties() const {
  static const TPublishedProperties Props = [] {
    TPublishedProperty P;
    P.Name = u"Sampler";
    P.Kind = tkClass;
    P.GetObject = [](TObject* O) -> TObject* { return dynamic_cast<TNestedSampler*>(O)->Sampler(); };
    return TPublishedProperties{P};
  }();
  return Props;
}

TTransformer::TTransformer(TCustomSampler* ASampler, TTransformation* ATransformation) : TNestedSampler(ASampler) {
  SetTransformation(ATransformation);
}

void TTransformer::PrepareSampling() {
  TNestedSampler::PrepareSampling();
  if (FTransformation != nullptr && !FTransformation->TransformValid()) FTransformation->BuildTransform();
}

bool TTransformer::HasBounds() const { return FTransformation->HasTransformedBounds() && TNestedSampler::HasBounds(); }

TFloatRect TTransformer::GetSampleBounds() const {
  TFloatRect R;
  IntersectRects(R, TNestedSampler::GetSampleBounds(), FTransformation->SrcRect());
  return FTransformation->GetTransformedBounds(R);
}

TColor32 TTransformer::OuterSample() const {
  if (auto* R = dynamic_cast<TCustomResampler*>(FSampler))
    if (R->Bitmap() != nullptr) return R->Bitmap()->OuterColor();
  return 0;
}

TColor32 TTransformer::GetSampleInt(Integer X, Integer Y) {
  TFixed U, V;
  if (!FTransformation->ReverseTransformFixed(AddFx(Shl(X, 16), 0x7FFF), AddFx(Shl(Y, 16), 0x7FFF), U, V))
    return OuterSample();
  return FSampler->GetSampleFixed(SubSat(U, 0x7FFF), SubSat(V, 0x7FFF));
}

TColor32 TTransformer::GetSampleFixed(TFixed X, TFixed Y) {
  TFixed U, V;
  if (!FTransformation->ReverseTransformFixed(AddFx(X, 0x7FFF), AddFx(Y, 0x7FFF), U, V)) return OuterSample();
  return FSampler->GetSampleFixed(SubSat(U, 0x7FFF), SubSat(V, 0x7FFF));
}

TColor32 TTransformer::GetSampleFloat(Single X, Single Y) {
  Single U, V;
  if (!FTransformation->ReverseTransformFloat(X + 0.5f, Y + 0.5f, U, V)) return OuterSample();
  return FSampler->GetSampleFloat(U - 0.5f, V - 0.5f);
}

// ---------------------------------------------------------------------------
// Rows of transformer samples

namespace {

// The reverse mapping of one exact transformation class, called without
// virtual dispatch (the inlined body of its ReverseTransformFixed); the base
// class stands for any other transformation.
template <class TMap>
inline bool MapPoint(TTransformation* T, TFixed X, TFixed Y, TFixed& U, TFixed& V) {
  if constexpr (std::is_same_v<TMap, TTransformation>)
    return T->ReverseTransformFixed(X, Y, U, V);
  else
    return static_cast<TMap*>(T)->TMap::ReverseTransformFixed(X, Y, U, V);
}

#if defined(__x86_64__)
// The numbers of the BilinearInterpolate slot's implementations (the
// weighted sums stay within 16 bits, so 16-bit lanes are exact).
inline TColor32 Bilinear(Cardinal WX, Cardinal WY, const TColor32* C11,
                                                          const TColor32* C21) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i Top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(C11)), Zero);
  const __m128i Bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(C21)), Zero);
  // Left pixels of both rows in the low half, right ones in the high half.
  const __m128i Left = _mm_unpacklo_epi64(Top, Bottom), Right = _mm_unpackhi_epi64(Top, Bottom);
  __m128i H = _mm_add_epi16(_mm_slli_epi16(Right, 8), _mm_mullo_epi16(_mm_sub_epi16(Left, Right), _mm_set1_epi16(short(WX))));
  H = _mm_srli_epi16(H, 8);
  const __m128i B = _mm_unpackhi_epi64(H, H);
  __m128i V = _mm_add_epi16(_mm_slli_epi16(B, 8), _mm_mullo_epi16(_mm_sub_epi16(H, B), _mm_set1_epi16(short(WY))));
  V = _mm_srli_epi16(V, 8);
  return TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(V, V)));
}
constexpr bool HaveInlineBilinear = true;
#else
inline TColor32 Bilinear(Cardinal WX, Cardinal WY, const TColor32* C11, const TColor32* C21) {
  return BilinearInterpolate_Pas(WX, WY, C11, C21);
}
constexpr bool HaveInlineBilinear = false;
#endif

// TLinearResampler::GetSampleFixed in the safe access mode: the bitmap's
// GetPixelFixedS. Inline: the interpolation inlined (the slot holds one of
// the implementations with its numbers), else through the slot.
template <bool Inline>
struct TLinearSafeReader {
  const TColor32* Bits;
  Integer Width;
  TRect C;
  TColor32 Outer;
  TBilinearInterpolateProc Interp;
  inline TColor32 operator()(TFixed FX, TFixed FY) const {
    const Int64 X = Integer((Int64(FX) + 127) >> 8), Y = Integer((Int64(FY) + 127) >> 8);
    if (X < Int64(C.Left) * 256 || Y < Int64(C.Top) * 256) return Outer;
    if (X >= Int64(C.Right) * 256 || Y >= Int64(C.Bottom) * 256) return Outer;
    const Int64 R1 = Int64(C.Right - 1) * 256, B1 = Int64(C.Bottom - 1) * 256;
    if (X < R1 && Y < B1) {
      const TColor32* P = Bits + (ptrdiff_t(Y >> 8) * Width + (X >> 8));
      if constexpr (Inline)
        return Bilinear(GammaCurve[255 - (X & 255)], GammaCurve[255 - (Y & 255)], P, P + Width);
      else
        return Interp(GammaCurve[255 - (X & 255)], GammaCurve[255 - (Y & 255)], P, P + Width);
    }
    if (X >= R1) return Bits[ptrdiff_t(Y >= B1 ? C.Bottom - 1 : Integer(Y >> 8)) * Width + (C.Right - 1)];
    return Bits[ptrdiff_t(C.Bottom - 1) * Width + Integer(X >> 8)];
  }
};

// TLinearResampler::GetSampleFixed in the transparent-edge access mode:
// inside the clip rectangle less its last column and row, the bitmap's
// GetPixel256 inlined; beyond one pixel around it, transparent black; the
// band between, the resampler itself.
struct TLinearEdgeReader {
  const TColor32* Bits;
  Integer Width;
  TRect C;
  TCustomSampler* S;
  inline TColor32 operator()(TFixed FX, TFixed FY) const {
    const Integer Cx = FX >> 16, Cy = FY >> 16;
    if (C.Left <= Cx && Cx < C.Right - 1 && C.Top <= Cy && Cy < C.Bottom - 1) {
      const Cardinal UX = Cardinal(FX) >> 8, UY = Cardinal(FY) >> 8;
      const TColor32* P = Bits + (ptrdiff_t(UY >> 8) * Width + ptrdiff_t(UX >> 8));
      return Bilinear(GammaCurve[255 - (UX & 255)], GammaCurve[255 - (UY & 255)], P, P + Width);
    }
    if (Int64(Cx) < Int64(C.Left) - 1 || Int64(Cy) < Int64(C.Top) - 1 || Cx > C.Right - 1 || Cy > C.Bottom - 1)
      return 0;
    return S->GetSampleFixed(FX, FY);
  }
};

// TNearestResampler::GetSampleFixed in the safe access mode: rounded
// position, the bitmap's GetPixelS.
struct TNearestSafeReader {
  const TColor32* Bits;
  Integer Width;
  TRect C;
  TColor32 Outer;
  inline TColor32 operator()(TFixed FX, TFixed FY) const {
    const Integer X = FixedToIntRound(FX), Y = FixedToIntRound(FY);
    if (X >= C.Left && X < C.Right && Y >= C.Top && Y < C.Bottom) return Bits[ptrdiff_t(Y) * Width + X];
    return Outer;
  }
};

// Any sampler: its own GetSampleFixed.
struct TSamplerReader {
  TCustomSampler* S;
  inline TColor32 operator()(TFixed X, TFixed Y) const { return S->GetSampleFixed(X, Y); }
};

template <class TMap, class TRead>
void SampleRow(TTransformation* T, const TRead& Read, TColor32 Outer, Integer X, Integer Y, Integer Count,
               TColor32* Out) {
  const TFixed FY = AddFx(Shl(Y, 16), 0x7FFF);
  for (Integer I = 0; I < Count; ++I) {
    TFixed U, V;
    if (!MapPoint<TMap>(T, AddFx(Shl(X + I, 16), 0x7FFF), FY, U, V))
      Out[I] = Outer;
    else
      Out[I] = Read(SubSat(U, 0x7FFF), SubSat(V, 0x7FFF));
  }
}

template <class TMap>
void SampleRowByReader(TTransformation* T, TCustomSampler* S, Integer X, Integer Y, Integer Count, TColor32* Out) {
  auto* R = dynamic_cast<TCustomResampler*>(S);
  TCustomBitmap32* B = R != nullptr ? R->Bitmap() : nullptr;
  const TColor32 Outer = B != nullptr ? B->OuterColor() : 0;
  if (B != nullptr && !B->Empty() && R->PixelAccessMode() == pamTransparentEdge && HaveInlineBilinear &&
      typeid(*R) == typeid(TLinearResampler) && !RectIsEmpty(B->ClipRect())) {
    bool Known = BilinearInterpolate == BilinearInterpolate_Pas;
#if defined(__x86_64__) || defined(__i386__)
    Known = Known || BilinearInterpolate == BilinearInterpolate_SSE2;
#endif
    if (Known) {
      SampleRow<TMap>(T, TLinearEdgeReader{B->Bits(), B->Width(), B->ClipRect(), S}, Outer, X, Y, Count, Out);
      return;
    }
  }
  if (B != nullptr && !B->Empty() && R->PixelAccessMode() == pamSafe) {
    const std::type_info& Kind = typeid(*R);
    if (Kind == typeid(TLinearResampler) || Kind == typeid(TDraftResampler)) {
      bool Known = BilinearInterpolate == BilinearInterpolate_Pas;
#if defined(__x86_64__) || defined(__i386__)
      Known = Known || BilinearInterpolate == BilinearInterpolate_SSE2;
#endif
      if (HaveInlineBilinear && Known) {
        const TLinearSafeReader<true> Read{B->Bits(), B->Width(), B->ClipRect(), B->OuterColor(), BilinearInterpolate};
        SampleRow<TMap>(T, Read, Outer, X, Y, Count, Out);
      } else {
        const TLinearSafeReader<false> Read{B->Bits(), B->Width(), B->ClipRect(), B->OuterColor(), BilinearInterpolate};
        SampleRow<TMap>(T, Read, Outer, X, Y, Count, Out);
      }
      return;
    }
    if (Kind == typeid(TNearestResampler)) {
      const TNearestSafeReader Read{B->Bits(), B->Width(), B->ClipRect(), B->OuterColor()};
      SampleRow<TMap>(T, Read, Outer, X, Y, Count, Out);
      return;
    }
  }
  SampleRow<TMap>(T, TSamplerReader{S}, Outer, X, Y, Count, Out);
}

}  // namespace

void TransformerSampleRow(TTransformer* Transformer, Integer X, Integer Y, Integer Count, TColor32* Out) {
  TTransformation* T = Transformer->Transformation();
  TCustomSampler* S = Transformer->Sampler();
  if (T == nullptr || S == nullptr) {
    for (Integer I = 0; I < Count; ++I) Out[I] = Transformer->GetSampleInt(X + I, Y);
    return;
  }
  const std::type_info& Kind = typeid(*T);
  if (Kind == typeid(TAffineTransformation))
    SampleRowByReader<TAffineTransformation>(T, S, X, Y, Count, Out);
  else if (Kind == typeid(TProjectiveTransformation))
    SampleRowByReader<TProjectiveTransformation>(T, S, X, Y, Count, Out);
  else if (Kind == typeid(TRemapTransformation))
    SampleRowByReader<TRemapTransformation>(T, S, X, Y, Count, Out);
  else
    SampleRowByReader<TTransformation>(T, S, X, Y, Count, Out);
}

// ---------------------------------------------------------------------------
// Rendering

void Transform(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation) {
  TransformClipped(Dst, Src, Transformation, Dst->BoundsRect());
}

void Transform(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation, TRasterizer* Rasterizer) {
  TransformClipped(Dst, Src, Transformation, Rasterizer, Dst->BoundsRect());
}

void TransformClipped(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation,
                      const TRect& DstClip) {
  TRasterizer* Rasterizer = CreateRasterizer(DefaultRasterizer);
  TFinally Done([&] { delete Rasterizer; });
  TransformClipped(Dst, Src, Transformation, Rasterizer, DstClip);
}

void TransformClipped(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* Transformation,
                      TRasterizer* Rasterizer, const TRect& DstClip) {
  TRect DstRect;
  IntersectRects(DstRect, DstClip, Dst->ClipRect());
  if (DstRect.Right < DstRect.Left || DstRect.Bottom < DstRect.Top) return;
  if (!Dst->MeasuringMode()) {
    Transformation->EnsureValid();
    if (!Transformation->Singular()) {
      TTransformer* Transformer = new TTransformer(Src->Resampler(), Transformation);
      auto Cleanup = [&] {
        EndBlending();
        if (Rasterizer->Sampler() == Transformer) Rasterizer->SetSampler(nullptr);
        delete Transformer;
      };
      TFinally Done([&] { Cleanup(); });
      Rasterizer->SetSampler(Transformer);
      Rasterizer->Rasterize(Dst, DstRect, Src);
    }
  }
  Dst->Changed(DstRect, AreaInfoRect);
}

// ---------------------------------------------------------------------------
// Start-up

void InitTransforms() {
  TFunctionRegistry* R = CreateRegistry(u"Bmp32_Transforms bindings");
  R->RegisterBinding(FID_DET32, &DET32);
  R->RegisterBinding(FID_DET64, &DET64);
  R->Add(FID_DET32, &Det32_A);
  R->Add(FID_DET32, &Det32_B);
  R->Add(FID_DET64, &Det64_A);
  R->Add(FID_DET64, &Det64_B);
  R->RebindAll();
}

void DoneTransforms() {
  DET32 = Det32_A;
  DET64 = Det64_A;
}

namespace {
const bool TransformsRegistered = (RegisterEngineUnit("Bmp32_Transforms", InitTransforms, DoneTransforms), true);
}
