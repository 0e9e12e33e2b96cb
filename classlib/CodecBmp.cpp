// BMP decoding behind the plain interface of CodecBmp.h.
#include "classlib/CodecBmp.h"

#include <climits>
#include <cstring>

#include "rtl/SizeMath.h"

namespace codec {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t LE32(const std::uint8_t* P) {
  return std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 | std::uint32_t(P[3]) << 24;
}
unsigned LE16(const std::uint8_t* P) { return unsigned(P[0]) | unsigned(P[1]) << 8; }

// One channel of a bit-field pixel: where its bits sit and how they widen
// to 8 bits (the bits repeated downwards, as 5 bits b4..b0 give
// b4 b3 b2 b1 b0 b4 b3 b2; wider fields keep their top 8 bits).
struct TChannel {
  unsigned Shift = 0;
  unsigned Bits = 0;
  std::uint32_t Mask = 0;
  std::uint8_t Widen[256] = {};

  bool Set(std::uint32_t M) {
    Mask = M;
    if (M == 0) return true;
    Shift = unsigned(__builtin_ctz(M));
    const std::uint32_t v = M >> Shift;
    if ((v & (v + 1)) != 0) return false;  // not one run of bits
    Bits = unsigned(__builtin_popcount(M));
    if (Bits <= 8) {
      for (unsigned x = 0; x < (1u << Bits); ++x) {
        unsigned out = 0;
        for (int have = 0; have < 8; have += int(Bits)) out = (out << Bits) | x;
        Widen[x] = std::uint8_t(out >> (((8 + Bits - 1) / Bits) * Bits - 8));
      }
    }
    return true;
  }
  std::uint32_t Get(std::uint32_t Pixel) const {
    const std::uint32_t v = (Pixel & Mask) >> Shift;
    return Bits <= 8 ? Widen[v] : v >> (Bits - 8);
  }
};

// RLE8 and RLE4 pixel data. Rows start as palette entry 0; the stream ends
// at its end-of-bitmap code, past the last row, or where the data ends.
void DecodeRle(const std::uint8_t* P, std::size_t N, const BmpInfo& Info, std::uint8_t* First, std::ptrdiff_t Stride) {
  const int W = Info.Width, H = Info.Height;
  const bool Four = Info.Compression == kRle4;
  auto colour = [&](unsigned Index) { return Index < unsigned(Info.ColorCount) ? Info.Palette[Index] : kOpaque; };
  for (int y = 0; y < H; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(First + std::ptrdiff_t(y) * Stride);
    for (int x = 0; x < W; ++x) row[x] = colour(0);
  }
  std::size_t i = 0;
  int x = 0, y = 0;  // y counts file rows, from the bottom
  auto put = [&](unsigned Index) {
    if (x < W && y < H) {
      auto* row = reinterpret_cast<std::uint32_t*>(First + std::ptrdiff_t(H - 1 - y) * Stride);
      row[x] = colour(Index);
    }
    ++x;
  };
  while (i + 1 < N && y < H) {
    const unsigned count = P[i], value = P[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count && x < W; ++k) put(Four ? ((k & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (i + 1 >= N) break;
      x += P[i];
      y += P[i + 1];
      i += 2;
    } else {  // absolute: value indexes follow, padded to a 16-bit boundary
      const std::size_t bytes = Four ? (value + 1) / 2 : value;
      if (i + bytes > N) break;
      for (unsigned k = 0; k < value; ++k) put(Four ? ((k & 1) ? P[i + k / 2] & 15 : P[i + k / 2] >> 4) : P[i + k]);
      i += bytes + (bytes & 1);
    }
  }
}

}  // namespace

std::string BmpReadHeader(const std::uint8_t* Data, std::size_t Size, BmpInfo& Info) {
  return BmpReadHeader(Data, Size, Size, Info);
}

std::string BmpReadHeader(const std::uint8_t* Data, std::size_t Available, std::size_t FileSize, BmpInfo& Info) {
  Info = BmpInfo();
  // Headers and palette are read from the first Available bytes; sizes and
  // offsets are checked against the whole file.
  const std::size_t Size = Available < FileSize ? Available : FileSize;
  if (!Data || Size < 18 || Data[0] != 'B' || Data[1] != 'M') return "BMP error: not a BMP file";
  const std::size_t OffBits = LE32(Data + 10);
  const std::size_t HeaderSize = LE32(Data + 14);
  std::size_t HeaderEnd = 14 + HeaderSize;
  std::int64_t Width = 0, Height = 0;
  unsigned Planes = 0;
  std::uint32_t ClrUsed = 0;
  std::size_t Entry = 4;
  if (HeaderSize == 12) {
    if (Size < HeaderEnd) return "BMP error: header cut short";
    Width = LE16(Data + 18);
    Height = LE16(Data + 20);
    Planes = LE16(Data + 22);
    Info.BitCount = int(LE16(Data + 24));
    Entry = 3;
  } else if (HeaderSize == 40 || HeaderSize == 52 || HeaderSize == 56 || HeaderSize == 108 || HeaderSize == 124) {
    if (Size < HeaderEnd) return "BMP error: header cut short";
    Width = std::int32_t(LE32(Data + 18));
    Height = std::int32_t(LE32(Data + 22));
    Planes = LE16(Data + 26);
    Info.BitCount = int(LE16(Data + 28));
    Info.Compression = LE32(Data + 30);
    ClrUsed = LE32(Data + 46);
    if (Info.Compression == kBitFields) {
      const std::uint8_t* M = Data + 54;
      if (HeaderSize == 40) {
        if (Size < HeaderEnd + 12) return "BMP error: masks cut short";
        HeaderEnd += 12;
      }
      for (int c = 0; c < 3; ++c) Info.Masks[c] = LE32(M + 4 * c);
      if (HeaderSize >= 56) Info.Masks[3] = LE32(M + 12);
    }
  } else {
    return "BMP error: header of an unknown size";
  }
  if (Planes != 1) return "BMP error: planes other than 1";
  const int Bpp = Info.BitCount;
  const std::uint32_t Comp = Info.Compression;
  const bool Ok = (Comp == kRgb && (Bpp == 1 || Bpp == 4 || Bpp == 8 || Bpp == 16 || Bpp == 24 || Bpp == 32)) ||
                  (Comp == kRle8 && Bpp == 8) || (Comp == kRle4 && Bpp == 4) ||
                  (Comp == kBitFields && (Bpp == 16 || Bpp == 32));
  if (!Ok) return "BMP error: compression or bit count not decoded here";
  if (Width <= 0 || Height == 0 || Height == std::int64_t(INT_MIN)) return "BMP error: bad size";
  Info.TopDown = Height < 0;
  if (Info.TopDown && (Comp == kRle8 || Comp == kRle4)) return "BMP error: top-down RLE";
  if (Info.TopDown) Height = -Height;
  std::int64_t Pixels = 0;
  if (!CheckedProduct({Width, Height, 4}, INT_MAX, Pixels)) return "BMP error: picture too large";
  Info.Width = int(Width);
  Info.Height = int(Height);

  if (Comp == kRgb && Bpp == 16) {
    Info.Masks[0] = 0x7C00, Info.Masks[1] = 0x03E0, Info.Masks[2] = 0x001F;
  } else if (Comp == kRgb && Bpp == 32) {
    Info.Masks[0] = 0x00FF0000, Info.Masks[1] = 0x0000FF00, Info.Masks[2] = 0x000000FF;
  } else if (Comp == kBitFields) {
    const std::uint32_t Width32 = Bpp == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::uint32_t Seen = 0;
    for (int c = 0; c < 4; ++c) {
      const std::uint32_t M = Info.Masks[c];
      if ((M & ~Width32) != 0 || (M & Seen) != 0 || (c < 3 && M == 0)) return "BMP error: bad bit-field masks";
      Seen |= M;
      TChannel Probe;
      if (!Probe.Set(M)) return "BMP error: bad bit-field masks";
    }
  }

  if (Bpp <= 8) {
    // The declared count (all 2^bits when none is given), no more than fit
    // before the pixels: some writers keep the palette short.
    const std::uint32_t Max = 1u << Bpp;
    std::size_t Count = ClrUsed == 0 || ClrUsed > Max ? Max : ClrUsed;
    if (OffBits > HeaderEnd && (OffBits - HeaderEnd) / Entry < Count) Count = (OffBits - HeaderEnd) / Entry;
    Info.ColorCount = int(Count);
    if (HeaderEnd + std::size_t(Info.ColorCount) * Entry > Size) return "BMP error: palette cut short";
    for (int i = 0; i < Info.ColorCount; ++i) {
      const std::uint8_t* E = Data + HeaderEnd + std::size_t(i) * Entry;
      Info.Palette[i] = kOpaque | std::uint32_t(E[2]) << 16 | std::uint32_t(E[1]) << 8 | E[0];
    }
    HeaderEnd += std::size_t(Info.ColorCount) * Entry;
  }
  if (OffBits < HeaderEnd || OffBits >= FileSize) return "BMP error: bad pixel offset";
  Info.PixelOffset = OffBits;
  Info.PixelBytes = FileSize - OffBits;
  if (Comp != kRle8 && Comp != kRle4) {
    std::int64_t Stride = 0, Need = 0;
    if (!CheckedProduct({(Width * Bpp + 31) / 32, 4}, INT_MAX, Stride) ||
        !CheckedProduct({Stride, Height}, std::int64_t(Info.PixelBytes), Need))
      return "BMP error: pixel data cut short";
    Info.PixelBytes = std::size_t(Need);
  }
  Info.Depth = Bpp == 16 && Info.Masks[3] != 0 ? 32 : Bpp;
  return std::string();
}

std::size_t BmpFileStride(const BmpInfo& Info) {
  return std::size_t((std::int64_t(Info.Width) * Info.BitCount + 31) / 32) * 4;
}

void BmpDecodeRows(const BmpInfo& Info, const std::uint8_t* Rows, int FirstRow, int Count, std::uint8_t* First,
                   std::ptrdiff_t Stride, std::uint32_t& AlphaSeen) {
  const int W = Info.Width, H = Info.Height, Bpp = Info.BitCount;
  const std::size_t FileStride = BmpFileStride(Info);
  TChannel Ch[4];
  if (Bpp == 16 || Bpp == 32)
    for (int c = 0; c < 4; ++c) Ch[c].Set(Info.Masks[c]);
  const bool Alpha = Info.Masks[3] != 0 && Info.Compression == kBitFields;
  const bool Plain32 = Bpp == 32 && Info.Masks[0] == 0x00FF0000 && Info.Masks[1] == 0x0000FF00 &&
                       Info.Masks[2] == 0x000000FF && (!Alpha || Info.Masks[3] == 0xFF000000u);
  for (int i = 0; i < Count; ++i) {
    const int r = FirstRow + i;
    if (r < 0 || r >= H) continue;
    const std::uint8_t* S = Rows + std::size_t(i) * FileStride;
    auto* D = reinterpret_cast<std::uint32_t*>(First + std::ptrdiff_t(Info.TopDown ? r : H - 1 - r) * Stride);
    switch (Bpp) {
      case 1:
      case 4:
      case 8: {
        const unsigned PerByte = unsigned(8 / Bpp), Mask = (1u << Bpp) - 1;
        for (int x = 0; x < W; ++x) {
          const unsigned Shift = unsigned(8 - Bpp) - unsigned(x % int(PerByte)) * unsigned(Bpp);
          const unsigned Index = (S[unsigned(x) / PerByte] >> Shift) & Mask;
          D[x] = Index < unsigned(Info.ColorCount) ? Info.Palette[Index] : kOpaque;
        }
        break;
      }
      case 24:
        for (int x = 0; x < W; ++x, S += 3) D[x] = kOpaque | std::uint32_t(S[2]) << 16 | std::uint32_t(S[1]) << 8 | S[0];
        break;
      case 32:
        if (Plain32) {
          std::memcpy(D, S, std::size_t(W) * 4);
          if (!Alpha) {
            for (int x = 0; x < W; ++x) D[x] |= kOpaque;
          } else {
            for (int x = 0; x < W; ++x) AlphaSeen |= D[x];
          }
          break;
        }
        [[fallthrough]];
      case 16:
        for (int x = 0; x < W; ++x) {
          const std::uint32_t Px = Bpp == 16 ? std::uint32_t(LE16(S + 2 * x)) : LE32(S + 4 * x);
          const std::uint32_t A = Alpha ? Ch[3].Get(Px) : 255u;
          AlphaSeen |= A << 24;
          D[x] = A << 24 | Ch[0].Get(Px) << 16 | Ch[1].Get(Px) << 8 | Ch[2].Get(Px);
        }
        break;
    }
  }
}

bool BmpFinish(const BmpInfo& Info, std::uint8_t* First, std::ptrdiff_t Stride, std::uint32_t AlphaSeen) {
  if (Info.Masks[3] == 0 || Info.Compression != kBitFields) return false;
  if ((AlphaSeen & kOpaque) != 0) return true;
  for (int y = 0; y < Info.Height; ++y) {
    auto* D = reinterpret_cast<std::uint32_t*>(First + std::ptrdiff_t(y) * Stride);
    for (int x = 0; x < Info.Width; ++x) D[x] |= kOpaque;
  }
  return false;
}

void BmpDecodeRle(const BmpInfo& Info, const std::uint8_t* Pixels, std::size_t Count, std::uint8_t* First,
                  std::ptrdiff_t Stride) {
  DecodeRle(Pixels, Count, Info, First, Stride);
}

std::string BmpDecode(const std::uint8_t* Data, std::size_t Size, const BmpInfo& Info, std::uint8_t* First,
                      std::ptrdiff_t Stride, bool& HasAlpha) {
  HasAlpha = false;
  if (!Data || !First || Info.Width <= 0 || Info.Height <= 0 || Info.PixelOffset >= Size ||
      Info.PixelBytes > Size - Info.PixelOffset)
    return "BMP error: nothing to decode";
  const std::uint8_t* P = Data + Info.PixelOffset;
  if (Info.Compression == kRle8 || Info.Compression == kRle4) {
    DecodeRle(P, Info.PixelBytes, Info, First, Stride);
    return std::string();
  }
  std::uint32_t AlphaSeen = 0;
  BmpDecodeRows(Info, P, 0, Info.Height, First, Stride, AlphaSeen);
  HasAlpha = BmpFinish(Info, First, Stride, AlphaSeen);
  return std::string();
}

}  // namespace codec
