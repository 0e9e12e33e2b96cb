// Line clipping (outcodes, vertical bounds first).
#include "bitmap/Bmp32_DrawingEx.h"

namespace {

// A * B / D, remainders of at least half rounded away from zero; D != 0.
// The caller guarantees that the result lies between two Integer values.
Int64 MulDivRound128(Int64 A, Int64 B, Int64 D) {
  __int128 n = __int128(A) * B;
  __int128 q = n / D, r = n % D;
  if (r < 0) r = -r;
  __int128 ad = D < 0 ? -__int128(D) : __int128(D);
  if (r * 2 >= ad) q += ((n < 0) != (D < 0)) ? -1 : 1;
  return Int64(q);
}

Integer Code(Integer X, Integer Y, Integer MinX, Integer MinY, Integer MaxX, Integer MaxY) {
  Integer c = 0;
  if (X < MinX) c |= 1;
  else if (X > MaxX) c |= 2;
  if (Y < MinY) c |= 4;
  else if (Y > MaxY) c |= 8;
  return c;
}

Integer HorzCode(Integer X, Integer MinX, Integer MaxX) { return X < MinX ? 1 : (X > MaxX ? 2 : 0); }

}  // namespace

bool ClipLine(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, Integer MinX, Integer MinY, Integer MaxX,
              Integer MaxY) {
  Integer C1 = Code(X1, Y1, MinX, MinY, MaxX, MaxY);
  Integer C2 = Code(X2, Y2, MinX, MinY, MaxX, MaxY);
  if ((C1 | C2) == 0) return true;
  if (C1 & C2) return false;

  // vertical bounds, end 1 then end 2
  if (C1 & 12) {
    Integer NewY = (C1 & 8) ? MaxY : MinY;
    X1 = Integer(Int64(X1) + MulDivRound128(Int64(NewY) - Y1, Int64(X2) - X1, Int64(Y2) - Y1));
    Y1 = NewY;
    C1 = HorzCode(X1, MinX, MaxX);
  }
  if (C2 & 12) {
    Integer NewY = (C2 & 8) ? MaxY : MinY;
    X2 = Integer(Int64(X2) + MulDivRound128(Int64(NewY) - Y2, Int64(X2) - X1, Int64(Y2) - Y1));
    Y2 = NewY;
    C2 = HorzCode(X2, MinX, MaxX);
  }
  C1 &= 3;
  C2 &= 3;
  if (C1 & C2) return false;
  if ((C1 | C2) == 0) return true;

  // horizontal bounds
  if (C1) {
    Integer NewX = (C1 & 1) ? MinX : MaxX;
    Y1 = Integer(Int64(Y1) + MulDivRound128(Int64(NewX) - X1, Int64(Y2) - Y1, Int64(X2) - X1));
    X1 = NewX;
  }
  if (C2) {
    Integer NewX = (C2 & 1) ? MinX : MaxX;
    Y2 = Integer(Int64(Y2) + MulDivRound128(Int64(NewX) - X2, Int64(Y2) - Y1, Int64(X2) - X1));
    X2 = NewX;
  }
  return true;
}
