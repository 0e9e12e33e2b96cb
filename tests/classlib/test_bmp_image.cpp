// The BMP reader of the class library's TBitmap, in plain values: the header
// forms, colour tables, masks and row order, and damaged sizes refused before
// anything is allocated (also where the size product would not fit 64 bits).
#include "common/gtest.h"

#include <cstring>
#include <memory>
#include <vector>

#include "classlib/BmpImage.h"

namespace {

using TBytes = std::vector<Byte>;

void Put16(TBytes& D, size_t O, unsigned V) {
  D[O] = Byte(V);
  D[O + 1] = Byte(V >> 8);
}
void Put32(TBytes& D, size_t O, Cardinal V) {
  for (int i = 0; i < 4; ++i) D[O + i] = Byte(V >> (8 * i));
}

// A BMP with a header of HeaderSize bytes (12: the OS/2 core form), Extra
// bytes after it (masks, colour table), then the pixel bytes.
TBytes Bmp(Cardinal HeaderSize, Integer W, Integer H, unsigned Bpp, Cardinal Compression, const TBytes& Extra,
           const TBytes& Pixels) {
  TBytes D(14 + HeaderSize, 0);
  D[0] = 'B';
  D[1] = 'M';
  Put32(D, 14, HeaderSize);
  if (HeaderSize == 12) {
    Put16(D, 18, unsigned(W));
    Put16(D, 20, unsigned(H));
    Put16(D, 22, 1);
    Put16(D, 24, Bpp);
  } else {
    Put32(D, 18, Cardinal(W));
    Put32(D, 22, Cardinal(H));
    Put16(D, 26, 1);
    Put16(D, 28, Bpp);
    Put32(D, 30, Compression);
  }
  D.insert(D.end(), Extra.begin(), Extra.end());
  Put32(D, 10, Cardinal(D.size()));
  D.insert(D.end(), Pixels.begin(), Pixels.end());
  Put32(D, 2, Cardinal(D.size()));
  return D;
}

bool Read(const TBytes& D, TBmpImage& Image) {
  TMemoryStream S;
  if (!D.empty()) S.WriteBuffer(D.data(), Integer(D.size()));
  S.SetPosition(0);
  return ReadBmpImage(&S, Image);
}

TEST(BmpImage, HeaderFormsColourTablesAndMasks) {
  const TBytes TwoColours = {0, 0, 0, 0, 255, 255, 255, 0};
  {
    // 1 bit, 2 x 2, bottom-up: the bottom row first, as a DIB keeps it.
    TBmpImage I;
    ASSERT_TRUE(Read(Bmp(40, 2, 2, 1, 0, TwoColours, {0x80, 0, 0, 0, 0x40, 0, 0, 0}), I));
    EXPECT_EQ(I.Width, 2);
    EXPECT_EQ(I.Height, 2);
    EXPECT_EQ(I.Stride, 4);
    EXPECT_EQ(I.ColorCount, 2);
    EXPECT_EQ(I.Colors[1][0], 255);
    EXPECT_EQ(I.Pixels, (TBytes{0x80, 0, 0, 0, 0x40, 0, 0, 0}));
  }
  {
    // 24 bits, top-down: rows turned into bottom-up order.
    TBmpImage I;
    ASSERT_TRUE(Read(Bmp(40, 1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), I));
    EXPECT_EQ(I.Height, 2);
    EXPECT_EQ(I.Pixels, (TBytes{4, 5, 6, 0, 1, 2, 3, 0}));
  }
  {
    // The OS/2 core header: 3-byte colour entries.
    TBmpImage I;
    ASSERT_TRUE(Read(Bmp(12, 1, 1, 1, 0, {10, 20, 30, 40, 50, 60}, {0x80, 0, 0, 0}), I));
    EXPECT_EQ(I.ColorCount, 2);
    EXPECT_EQ(I.Colors[1][0], 40);
    EXPECT_EQ(I.Colors[1][2], 60);
    EXPECT_EQ(I.Colors[1][3], 0);
  }
  {
    // 16-bit bit fields after a 40-byte header, and inside a 124-byte one.
    TBytes Masks(12, 0);
    Put32(Masks, 0, 0xF800);
    Put32(Masks, 4, 0x07E0);
    Put32(Masks, 8, 0x001F);
    TBmpImage I;
    ASSERT_TRUE(Read(Bmp(40, 2, 1, 16, 3, Masks, {1, 2, 3, 4}), I));
    EXPECT_TRUE(I.BitFields);
    EXPECT_EQ(I.Masks[1], 0x07E0u);
    TBytes V5 = Bmp(124, 1, 1, 32, 3, {}, {9, 8, 7, 6});
    Put32(V5, 54, 0xFF0000);
    Put32(V5, 58, 0xFF00);
    Put32(V5, 62, 0xFF);
    TBmpImage J;
    ASSERT_TRUE(Read(V5, J));
    EXPECT_EQ(J.Masks[0], 0xFF0000u);
    EXPECT_EQ(J.Pixels, (TBytes{9, 8, 7, 6}));
  }
  {
    // A side of 0: no pixels, nothing read past the header.
    TBmpImage I;
    ASSERT_TRUE(Read(Bmp(40, 0, 5, 24, 0, {}, {}), I));
    EXPECT_EQ(I.Width, 0);
    EXPECT_TRUE(I.Pixels.empty());
  }
}

TEST(BmpImage, ItsSizeFromTheFileHeaderLetsBitmapsFollowEachOther) {
  TBytes A = Bmp(40, 1, 1, 24, 0, {}, {1, 2, 3, 0});
  const size_t First = A.size();
  Put32(A, 2, Cardinal(First + 4));  // bfSize counts 4 trailing bytes
  A.insert(A.end(), 4, 0xEE);
  const TBytes B = Bmp(40, 1, 1, 24, 0, {}, {7, 8, 9, 0});
  A.insert(A.end(), B.begin(), B.end());
  TMemoryStream S;
  S.WriteBuffer(A.data(), Integer(A.size()));
  S.SetPosition(0);
  TBmpImage I, J;
  ASSERT_TRUE(ReadBmpImage(&S, I));
  EXPECT_EQ(I.Size, Int64(First + 4));
  S.SetPosition(I.Size);
  ASSERT_TRUE(ReadBmpImage(&S, J));
  EXPECT_EQ(J.Pixels[0], 7);
}

TEST(BmpImage, DamagedHeadersAndSizesAreRefused) {
  const TBytes Good = Bmp(40, 2, 2, 32, 0, {}, TBytes(16, 0x55));
  auto With = [&](size_t At, Cardinal V) {
    TBytes D = Good;
    Put32(D, At, V);
    return D;
  };
  auto With16 = [&](size_t At, unsigned V) {
    TBytes D = Good;
    Put16(D, At, V);
    return D;
  };
  auto Sides = [&](Cardinal W, Cardinal H) {
    TBytes D = With(18, W);
    Put32(D, 22, H);
    return D;
  };
  struct Case {
    const char* Name;
    TBytes Data;
  } Cases[] = {
      {"empty", {}},
      {"not BM", With16(0, 'X' | 'Y' << 8)},
      {"shorter than the file header", TBytes(Good.begin(), Good.begin() + 10)},
      {"shorter than its info header", TBytes(Good.begin(), Good.begin() + 40)},
      {"header size 39", With(14, 39)},
      {"header size past 124", With(14, 125)},
      {"two planes", With16(26, 2)},
      {"2 bits", With16(28, 2)},
      {"an unknown compression", With(30, 99)},
      {"bit fields at 24 bits", [&] { TBytes D = With16(28, 24); Put32(D, 30, 3); return D; }()},
      {"negative width", With(18, 0xFFFFFFFFu)},
      {"INT_MIN height", With(22, 0x80000000u)},
      {"truncated pixels", TBytes(Good.begin(), Good.end() - 1)},
      {"pixel offset past the end", With(10, 1000)},
      {"100000 x 100000 with 16 pixel bytes", Sides(100000, 100000)},
      {"row bytes x rows past 64 bits", Sides(0x7FFFFFFF, 0x7FFFFFFF)},
      {"the same top-down", Sides(0x7FFFFFFF, 0x80000001u)},
      {"a colour table past the end", Bmp(40, 1, 1, 8, 0, TBytes(20, 0), {})},
      {"masks past the end", [&] { TBytes D(Good.begin(), Good.begin() + 60); Put32(D, 30, 3); return D; }()},
  };
  for (const Case& K : Cases) {
    TBmpImage I;
    EXPECT_FALSE(Read(K.Data, I)) << K.Name;
  }
}

}  // namespace
