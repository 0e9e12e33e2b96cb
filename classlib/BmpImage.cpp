#include "classlib/BmpImage.h"

#include <climits>
#include <cstring>

#include "rtl/SizeMath.h"

namespace {

constexpr Cardinal kRgb = 0;        // BI_RGB
constexpr Cardinal kBitFields = 3;  // BI_BITFIELDS

Cardinal LE32(const Byte* P) { return Cardinal(P[0]) | Cardinal(P[1]) << 8 | Cardinal(P[2]) << 16 | Cardinal(P[3]) << 24; }
unsigned LE16(const Byte* P) { return unsigned(P[0]) | unsigned(P[1]) << 8; }

}  // namespace

bool ReadBmpImage(TStream* Stream, TBmpImage& Image, const TBmpPixelTarget& Target) {
  const Int64 Start = Stream->Position();
  const Int64 Avail = Stream->Size() - Start;
  bool Ok = true;
  auto ReadAt = [&](Int64 Offset, void* Buf, Int64 Count) {
    if (!Ok || Offset < 0 || Count < 0 || Offset > Avail || Count > Avail - Offset || Count > INT_MAX) {
      Ok = false;
      return false;
    }
    Stream->SetPosition(Start + Offset);
    Ok = Stream->Read(Buf, Integer(Count)) == Integer(Count);
    return Ok;
  };
  Byte FH[14];
  if (!ReadAt(0, FH, 14) || FH[0] != 'B' || FH[1] != 'M') return false;
  const Int64 FileSize = LE32(FH + 2);
  const Int64 OffBits = LE32(FH + 10);
  Byte HS[4];
  if (!ReadAt(14, HS, 4)) return false;
  const Cardinal HeaderSize = LE32(HS);
  Int64 Width, Height;
  unsigned Bpp;
  Cardinal Compression = kRgb, ClrUsed = 0;
  Int64 HeaderEnd;
  bool Core = false;
  if (HeaderSize == 12) {
    // OS/2 core header: 16-bit sizes, 3-byte colour entries.
    Byte H[12];
    if (!ReadAt(14, H, 12)) return false;
    Width = LE16(H + 4);
    Height = LE16(H + 6);
    if (LE16(H + 8) != 1) return false;
    Bpp = LE16(H + 10);
    HeaderEnd = 26;
    Core = true;
  } else {
    if (HeaderSize < 40 || HeaderSize > 124) return false;
    Byte H[124] = {};
    if (!ReadAt(14, H, HeaderSize)) return false;
    Width = Int64(Integer(LE32(H + 4)));
    Height = Int64(Integer(LE32(H + 8)));
    if (LE16(H + 12) != 1) return false;
    Bpp = LE16(H + 14);
    Compression = LE32(H + 16);
    ClrUsed = LE32(H + 32);
    HeaderEnd = 14 + Int64(HeaderSize);
    if (Compression == kBitFields) {
      if (HeaderSize >= 52) {
        for (int i = 0; i < 3; ++i) Image.Masks[i] = LE32(H + 40 + 4 * i);
      } else {
        Byte M[12];
        if (!ReadAt(HeaderEnd, M, 12)) return false;
        for (int i = 0; i < 3; ++i) Image.Masks[i] = LE32(M + 4 * i);
        HeaderEnd += 12;
      }
    }
  }
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) return false;
  if (Compression != kRgb && !(Compression == kBitFields && (Bpp == 16 || Bpp == 32))) return false;
  if (Width < 0 || Height == Int64(INT_MIN)) return false;
  const Int64 AbsH = Height < 0 ? -Height : Height;
  if (Bpp <= 8) {
    const Cardinal Max = 1u << Bpp;
    Image.ColorCount = Integer(ClrUsed == 0 || ClrUsed > Max ? Max : ClrUsed);
    const Int64 Entry = Core ? 3 : 4;
    Byte Pal[256 * 4];
    if (!ReadAt(HeaderEnd, Pal, Image.ColorCount * Entry)) return false;
    for (Integer i = 0; i < Image.ColorCount; ++i) {
      std::memcpy(Image.Colors[i], Pal + i * Entry, 3);
      Image.Colors[i][3] = 0;
    }
    HeaderEnd += Image.ColorCount * Entry;
  }
  // Rows of Width * Bpp bits padded to 32 bits; all of them within the
  // stream (the product checked before it is formed).
  const Int64 Stride = ((Width * Bpp + 31) / 32) * 4;
  const Int64 PixOff = OffBits >= HeaderEnd ? OffBits : HeaderEnd;
  Int64 Need = 0;
  if (PixOff > Avail || Stride > INT_MAX || !CheckedProduct({Stride, AbsH}, Avail - PixOff, Need)) return false;
  Int64 End = PixOff + Need;
  if (FileSize >= End && FileSize <= Avail) End = FileSize;

  Image.Width = Integer(Width);
  Image.Height = Integer(AbsH);
  Image.BitCount = Integer(Bpp);
  Image.BitFields = Compression == kBitFields;
  Image.Stride = Integer(Stride);
  Image.Size = End;
  Image.Pixels.clear();
  if (Width > 0 && AbsH > 0) {
    Byte* Dest;
    if (Target) {
      Dest = Target(Image);
    } else {
      Image.Pixels.resize(size_t(Need));
      Dest = Image.Pixels.data();
    }
    if (Height > 0) return ReadAt(PixOff, Dest, Need);
    // A top-down file: each row to its place in DIB order, the bottom row first.
    for (Int64 Y = 0; Y < AbsH; ++Y)
      if (!ReadAt(PixOff + Y * Stride, Dest + (AbsH - 1 - Y) * Stride, Stride)) return false;
  }
  return true;
}
