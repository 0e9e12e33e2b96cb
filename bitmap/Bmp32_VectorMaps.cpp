#include "bitmap/Bmp32_VectorMaps.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "rtl/FileIO.h"
#include "rtl/SizeMath.h"

namespace {

inline TFixedPoint LerpV(const TFixedPoint& A, const TFixedPoint& B, TFixed W) {
  return TFixedPoint{FixedLerp(W, B.X, A.X), FixedLerp(W, B.Y, A.Y)};
}

const char16_t MeshId[] = u"yfqLhseM";
constexpr Integer MeshHeaderSize = 32;

void PutLE32(Byte* P, Cardinal V) {
  P[0] = Byte(V);
  P[1] = Byte(V >> 8);
  P[2] = Byte(V >> 16);
  P[3] = Byte(V >> 24);
}
Cardinal GetLE32(const Byte* P) {
  return Cardinal(P[0]) | (Cardinal(P[1]) << 8) | (Cardinal(P[2]) << 16) | (Cardinal(P[3]) << 24);
}
Single FixedToSingleBits(TFixed V) { return Single(V) * 1.52587890625E-5f; }

char16_t UpperAscii(char16_t C) { return (C >= u'a' && C <= u'z') ? char16_t(C - 32) : C; }

// Closes a file handle on every path.
struct THandleGuard {
  THandle H;
  ~THandleGuard() {
    if (H != InvalidFileHandle) FileClose(H);
  }
};

}  // namespace

TVectorMap::~TVectorMap() {
  Lock();
  ChangeMapSize(FWidth, FHeight, 0, 0);
  Unlock();
}

void TVectorMap::ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  TCustomMap::ChangeMapSize(Width, Height, NewWidth, NewHeight);
  TArrayOfFixedVector().swap(FVectors);
  Width = 0;
  Height = 0;
  if (NewWidth > 0 && NewHeight > 0) {
    try {
      FVectors.assign(size_t(NewWidth) * size_t(NewHeight), TFixedPoint{0, 0});
    } catch (const std::bad_alloc&) {
      throw Exception(u"Can't allocate VectorMap!");
    } catch (const std::length_error&) {
      throw Exception(u"Can't allocate VectorMap!");
    }
  }
  Width = NewWidth;
  Height = NewHeight;
}

void TVectorMap::Clear() { std::fill(FVectors.begin(), FVectors.end(), TFixedPoint{0, 0}); }

bool TVectorMap::Empty() const { return FWidth == 0 || FHeight == 0 || FVectors.empty(); }

void TVectorMap::SetVectorCombineMode(TVectorCombineMode Value) {
  if (Value != FVectorCombineMode) {
    FVectorCombineMode = Value;
    Changed();
  }
}

TFixedPoint TVectorMap::GetVectorS(Integer X, Integer Y) const {
  if (X >= 0 && X < FWidth && Y >= 0 && Y < FHeight && !FVectors.empty()) return GetVector(X, Y);
  return TFixedPoint{0, 0};
}

TFixedPoint TVectorMap::GetFixedVector(TFixed X, TFixed Y) const {
  const Integer Cx = X >> 16, Cy = Y >> 16;
  if (X < 0 || Cx > FWidth - 1 || Y < 0 || Cy > FHeight - 1 || FVectors.empty()) return TFixedPoint{0, 0};
  const Integer Nx = Cx < FWidth - 1 ? Cx + 1 : Cx;
  const Integer Ny = Cy < FHeight - 1 ? Cy + 1 : Cy;
  const TFixed Fx = X & 0xFFFF, Fy = Y & 0xFFFF;
  const TFixedPoint Top = LerpV(GetVector(Cx, Cy), GetVector(Nx, Cy), Fx);
  const TFixedPoint Bottom = LerpV(GetVector(Cx, Ny), GetVector(Nx, Ny), Fx);
  return LerpV(Top, Bottom, Fy);
}

TFixedPoint TVectorMap::GetFixedVectorS(TFixed X, TFixed Y) const {
  const Integer Cx = X >> 16, Cy = Y >> 16;
  const TFixed Fx = X & 0xFFFF, Fy = Y & 0xFFFF;
  // Cx + 1 and Cy + 1 in 64 bits: no overflow at the Integer limit.
  auto At = [this](Int64 PX, Int64 PY) {
    if (PX < 0 || PX >= FWidth || PY < 0 || PY >= FHeight) return TFixedPoint{0, 0};
    return GetVectorS(Integer(PX), Integer(PY));
  };
  const TFixedPoint Bottom = LerpV(At(Cx, Int64(Cy) + 1), At(Int64(Cx) + 1, Int64(Cy) + 1), Fx);
  const TFixedPoint Top = LerpV(At(Cx, Cy), At(Int64(Cx) + 1, Cy), Fx);
  return LerpV(Top, Bottom, Fy);
}

TFloatPoint TVectorMap::GetFloatVector(Single X, Single Y) const {
  return FixedPointToFloat(GetFixedVector(SingleToFixed(X), SingleToFixed(Y)));
}

void TVectorMap::Merge(Integer DstLeft, Integer DstTop, TVectorMap* Src, TRect SrcRect) {
  if (Src == nullptr || Src->Empty()) throw Exception(u"Src is empty!");
  if (Empty()) throw Exception(u"Base is empty!");
  IntersectRects(SrcRect, SrcRect, Src->BoundsRect());
  TRect DstRect(DstLeft, DstTop, DstLeft + (SrcRect.Right - SrcRect.Left), DstTop + (SrcRect.Bottom - SrcRect.Top));
  IntersectRects(DstRect, DstRect, BoundsRect());
  if (RectIsEmpty(DstRect)) return;

  const TVectorCombineMode Mode = Src->VectorCombineMode();
  TFixed ProgressX = 0, ProgressY = 0;
  if (Mode == vcmCustom) {
    const Integer DW = DstRect.Right - DstRect.Left - 1, DH = DstRect.Bottom - DstRect.Top - 1;
    ProgressX = DW != 0 ? SingleToFixed(2.0f / Single(DW)) : 0;
    ProgressY = DH != 0 ? SingleToFixed(2.0f / Single(DH)) : 0;
  }
  TFixedPoint Weight{-0x10000, -0x10000};
  for (Integer Y = DstRect.Top; Y < DstRect.Bottom; ++Y) {
    Weight.X = -0x10000;
    const Integer SY = SrcRect.Top + Y - DstRect.Top;
    for (Integer X = DstRect.Left; X < DstRect.Right; ++X) {
      const Integer SX = SrcRect.Left + X - DstRect.Left;
      const TFixedPoint F = Src->GetVector(SX, SY);
      TFixedPoint& B = FVectors[size_t(X) + size_t(Y) * size_t(FWidth)];
      switch (Mode) {
        case vcmAdd:
          B.X = TFixed(Cardinal(B.X) + Cardinal(F.X));
          B.Y = TFixed(Cardinal(B.Y) + Cardinal(F.Y));
          break;
        case vcmReplace:
          B = F;
          break;
        case vcmCustom:
          if (Src->OnVectorCombine()) Src->OnVectorCombine()(F, Weight, B);
          Weight.X = TFixed(Cardinal(Weight.X) + Cardinal(ProgressX));
          break;
      }
    }
    Weight.Y = TFixed(Cardinal(Weight.Y) + Cardinal(ProgressY));
  }
}

TRect TVectorMap::GetTrimmedBounds() const {
  if (Empty()) return TRect();
  const size_t N = FVectors.size();
  size_t First = N, Last = 0;
  for (size_t I = 0; I < N; ++I)
    if (FVectors[I].X != 0 || FVectors[I].Y != 0) {
      if (First == N) First = I;
      Last = I;
    }
  if (First == N) return TRect();
  const Integer Top = Integer(First / size_t(FWidth)), Bottom = Integer(Last / size_t(FWidth)) + 1;
  Integer Left = FWidth, Right = 0;
  for (Integer Y = Top; Y < Bottom; ++Y)
    for (Integer X = 0; X < FWidth; ++X) {
      const TFixedPoint V = GetVector(X, Y);
      if (V.X != 0 || V.Y != 0) {
        if (X < Left) Left = X;
        if (X + 1 > Right) Right = X + 1;
      }
    }
  return TRect(Left, Top, Right, Bottom);
}

void TVectorMap::LoadFromFile(const String& FileName) {
  THandleGuard G{FileOpen(FileName, fmOpenRead | fmShareDenyWrite)};
  if (G.H == InvalidFileHandle) throw Exception(u"File not found!");
  THandleStream S(G.H);
  Byte Header[MeshHeaderSize];
  S.ReadBuffer(Header, MeshHeaderSize);
  for (Integer I = 0; I < 8; ++I) {
    const char16_t C = char16_t(Header[4 + 2 * I] | (Header[5 + 2 * I] << 8));
    if (UpperAscii(C) != UpperAscii(MeshId[I])) throw Exception(u"Bad format - Photoshop .msh expected!");
  }
  const Integer W = Integer(GetLE32(Header + 24)), H = Integer(GetLE32(Header + 28));
  // The size must fit what the file holds: no negative sides, no product
  // past the bytes left (checked before anything is allocated or resized).
  const Int64 Left = std::min<Int64>(S.Size() - MeshHeaderSize, 0x7FFFFFFF);
  Int64 Bytes = 0;
  if (!CheckedProduct({W, H, 8}, Left, Bytes)) throw Exception(u"Bad format - Photoshop .msh expected!");
  std::vector<Byte> Data(static_cast<size_t>(Bytes));
  if (Bytes > 0) S.ReadBuffer(Data.data(), Integer(Bytes));
  SetSize(W, H);
  if (FVectors.size() != size_t(W) * size_t(H)) ChangeMapSize(FWidth, FHeight, W, H);
  for (size_t I = 0; I < FVectors.size(); ++I) {
    Single X, Y;
    const Cardinal BX = GetLE32(&Data[I * 8]), BY = GetLE32(&Data[I * 8 + 4]);
    std::memcpy(&X, &BX, 4);
    std::memcpy(&Y, &BY, 4);
    FVectors[I] = TFixedPoint{SingleToFixed(X), SingleToFixed(Y)};
  }
}

void TVectorMap::SaveToFile(const String& FileName) {
  TFileStream S(FileName, fmCreate);
  Byte Header[MeshHeaderSize];
  PutLE32(Header, 0x02000000u);
  for (Integer I = 0; I < 8; ++I) {
    Header[4 + 2 * I] = Byte(MeshId[I]);
    Header[5 + 2 * I] = Byte(MeshId[I] >> 8);
  }
  PutLE32(Header + 20, 2);
  PutLE32(Header + 24, Cardinal(FWidth));
  PutLE32(Header + 28, Cardinal(FHeight));
  S.WriteBuffer(Header, MeshHeaderSize);
  const size_t N = FVectors.size();
  std::vector<Byte> Data(N * 8);
  for (size_t I = 0; I < N; ++I) {
    const Single X = FixedToSingleBits(FVectors[I].X), Y = FixedToSingleBits(FVectors[I].Y);
    Cardinal BX, BY;
    std::memcpy(&BX, &X, 4);
    std::memcpy(&BY, &Y, 4);
    PutLE32(&Data[I * 8], BX);
    PutLE32(&Data[I * 8 + 4], BY);
    // The map keeps the values as they were written (24 significant bits).
    FVectors[I] = TFixedPoint{SingleToFixed(X), SingleToFixed(Y)};
  }
  if (!Data.empty()) S.WriteBuffer(Data.data(), Integer(Data.size()));
  const Byte Zeros[8] = {};
  S.WriteBuffer(Zeros, 8);
}
