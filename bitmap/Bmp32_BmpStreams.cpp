#include "bitmap/Bmp32_BmpStreams.h"

#include <climits>

#include "rtl/ScopeGuard.h"
#include "rtl/SizeMath.h"

namespace {

[[noreturn]] void ReadError() { throw EReadError(u"Stream read error"); }

void Put32(Byte* P, Cardinal V) {
  for (int i = 0; i < 4; ++i) P[i] = Byte(V >> (8 * i));
}
Cardinal Get32(const Byte* P) {
  return Cardinal(P[0]) | Cardinal(P[1]) << 8 | Cardinal(P[2]) << 16 | Cardinal(P[3]) << 24;
}

// Width * Height * 4 pixel bytes within Avail, and one row within what a
// single read takes.
bool PixelBytesFit(Int64 W, Int64 H, Int64 Avail) {
  Int64 Row = 0, All = 0;
  return CheckedProduct({W, 4}, INT_MAX, Row) && CheckedProduct({Row, H}, Avail, All);
}

}  // namespace

void SaveBitmap32ToStream(TCustomBitmap32* Bitmap, TStream* Stream, bool SaveTopDown) {
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  const Int64 Size = Int64(W) * H * 4;
  Byte Hd[54] = {};
  Hd[0] = 'B';
  Hd[1] = 'M';
  Put32(Hd + 2, Cardinal(Size + 54));
  Put32(Hd + 10, 54);
  Put32(Hd + 14, 40);
  Put32(Hd + 18, Cardinal(W));
  Put32(Hd + 22, Cardinal(SaveTopDown ? H : -H));
  Hd[26] = 1;
  Hd[28] = 32;
  Put32(Hd + 34, Cardinal(Size));
  Stream->WriteBuffer(Hd, 54);
  if (Bitmap->Empty()) return;
  if (SaveTopDown) {
    for (Integer Y = H - 1; Y >= 0; --Y) Stream->WriteBuffer(Bitmap->ScanLine(Y), W * 4);
  } else {
    for (Integer Y = 0; Y < H; ++Y) Stream->WriteBuffer(Bitmap->ScanLine(Y), W * 4);
  }
}

bool LoadPlainBitmap32FromStream(TCustomBitmap32* Bitmap, TStream* Stream) {
  const Int64 Start = Stream->Position();
  const Int64 Avail = Stream->Size() - Start;
  if (Avail < 54) ReadError();
  Byte Hd[54];
  Stream->ReadBuffer(Hd, 54);
  const bool Plain = Hd[0] == 'B' && Hd[1] == 'M' && Get32(Hd + 14) == 40 && Hd[26] == 1 && Hd[27] == 0 &&
                     Hd[28] == 32 && Hd[29] == 0 && Get32(Hd + 30) == 0;
  if (!Plain) {
    Stream->SetPosition(Start);
    return false;
  }
  const Int64 W = Integer(Get32(Hd + 18)), H = Integer(Get32(Hd + 22));
  const Int64 Off = Get32(Hd + 10);
  if (W < 0 || H == Int64(INT_MIN) || Off < 54 || Off > Avail) ReadError();
  const Int64 AbsH = H < 0 ? -H : H;
  if (!PixelBytesFit(W, AbsH, Avail - Off)) ReadError();
  Stream->SetPosition(Start + Off);
  Bitmap->SetSize(Integer(W), Integer(AbsH));
  if (!Bitmap->Empty()) {
    if (H > 0) {
      for (Integer Y = Integer(AbsH) - 1; Y >= 0; --Y) Stream->ReadBuffer(Bitmap->ScanLine(Y), Integer(W) * 4);
    } else {
      for (Integer Y = 0; Y < Integer(AbsH); ++Y) Stream->ReadBuffer(Bitmap->ScanLine(Y), Integer(W) * 4);
    }
  }
  return true;
}

void WriteBitmap32PixelData(TCustomBitmap32* Bitmap, TStream* Stream) {
  Integer WH[2] = {Bitmap->Width(), Bitmap->Height()};
  Stream->WriteBuffer(WH, 8);
  if (!Bitmap->Empty()) {
    for (Integer Y = 0; Y < WH[1]; ++Y) Stream->WriteBuffer(Bitmap->ScanLine(Y), WH[0] * 4);
  }
}

void ReadBitmap32PixelData(TCustomBitmap32* Bitmap, TStream* Stream) {
  TFinally changed([&] { Bitmap->Changed(); });
  Integer WH[2];
  Stream->ReadBuffer(WH, 8);
  const Int64 W = WH[0], H = WH[1];
  if (!PixelBytesFit(W, H, Stream->Size() - Stream->Position())) ReadError();
  Bitmap->SetSize(Integer(W), Integer(H));
  if (!Bitmap->Empty())
    for (Integer Y = 0; Y < Integer(H); ++Y) Stream->ReadBuffer(Bitmap->ScanLine(Y), Integer(W) * 4);
}
