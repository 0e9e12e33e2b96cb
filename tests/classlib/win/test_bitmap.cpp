// TBitmap: pixel formats, scan lines, keyed drawing and the BMP stream format.
#include "common/gtest.h"

#include <cstring>
#include <random>

#include "classlib/Graphics.h"

namespace {

Cardinal Px32(TBitmap& B, int X, int Y) { return static_cast<Cardinal*>(B.ScanLine(Y))[X]; }

TBitmap* Make32(int W, int H, const std::vector<Cardinal>& Pixels) {
  auto* B = new TBitmap();
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) std::memcpy(B->ScanLine(Y), &Pixels[size_t(Y) * W], size_t(W) * 4);
  return B;
}

TBytes Save(TBitmap& B) {
  TMemoryStream S;
  B.SaveToStream(&S);
  return TBytes(static_cast<Byte*>(S.Memory()), static_cast<Byte*>(S.Memory()) + S.Size());
}

void PutLE32(TBytes& D, size_t O, Cardinal V) {
  for (int i = 0; i < 4; ++i) D[O + i] = Byte(V >> (8 * i));
}
Cardinal LE32(const TBytes& D, size_t O) {
  return Cardinal(D[O]) | Cardinal(D[O + 1]) << 8 | Cardinal(D[O + 2]) << 16 | Cardinal(D[O + 3]) << 24;
}

// A BMP file assembled by hand: header of HeaderSize bytes (40 or 124),
// bpp 24 or 32, height negative for top-down; Rows given top-down.
TBytes HandBmp(int W, int H, int Bpp, Cardinal HeaderSize, const std::vector<std::vector<Byte>>& RowsTopDown,
               Cardinal Compression = 0) {
  const int AbsH = H < 0 ? -H : H;
  const int Stride = ((W * Bpp + 31) / 32) * 4;
  const Cardinal Off = 14 + HeaderSize;
  TBytes D(Off + size_t(Stride) * AbsH, 0);
  D[0] = 'B';
  D[1] = 'M';
  PutLE32(D, 2, Cardinal(D.size()));
  PutLE32(D, 10, Off);
  PutLE32(D, 14, HeaderSize);
  PutLE32(D, 18, Cardinal(W));
  PutLE32(D, 22, Cardinal(H));
  D[26] = 1;
  D[28] = Byte(Bpp);
  PutLE32(D, 30, Compression);
  if (HeaderSize >= 56) {
    PutLE32(D, 54, 0x00FF0000);
    PutLE32(D, 58, 0x0000FF00);
    PutLE32(D, 62, 0x000000FF);
    PutLE32(D, 66, 0xFF000000);
  }
  for (int R = 0; R < AbsH; ++R) {
    int FileRow = H < 0 ? R : AbsH - 1 - R;
    std::memcpy(&D[Off + size_t(FileRow) * Stride], RowsTopDown[size_t(R)].data(), RowsTopDown[size_t(R)].size());
  }
  return D;
}

}  // namespace

TEST(TBitmapFormat, NewBitmapsAndHandleTypes) {
  TBitmap B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.PixelFormat(), pfDevice);
  EXPECT_EQ(B.HandleType(), bmDDB);
  B.SetSize(3, 2);
  EXPECT_EQ(B.Canvas()->Pixels(2, 1), clWhite) << "new area is white";
  B.SetHandleType(bmDIB);
  EXPECT_EQ(B.PixelFormat(), pf32bit);
  EXPECT_EQ(B.HandleType(), bmDIB);
  B.SetPixelFormat(pfDevice);
  EXPECT_EQ(B.HandleType(), bmDDB);
  EXPECT_EQ(B.Canvas()->Pixels(0, 0), clWhite);
}

TEST(TBitmapFormat, ConversionsMapToTheChosenPalettes) {
  // Source pixels $AARRGGBB; expected colours after a round trip through the format
  // (GDI nearest colour, no dithering; 5- and 6-bit channels expand by bit replication).
  const std::vector<Cardinal> Src = {0xFF102030u, 0xFFF0E0D0u, 0xFF808080u, 0xFF7F0000u};
  struct Case {
    TPixelFormat Format;
    Cardinal Expected[4];
  };
  const Case Cases[] = {
      {pf1bit, {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}},
      {pf4bit, {0x000000, 0xFFFFFF, 0x808080, 0x800000}},
      {pf8bit, {0x202040, 0xFFFBF0, 0x808080, 0x800000}},
      {pf15bit, {0x102131, 0xF7E7D6, 0x848484, 0x7B0000}},
      {pf16bit, {0x102031, 0xF7E3D6, 0x848284, 0x7B0000}},
      {pf24bit, {0x102030, 0xF0E0D0, 0x808080, 0x7F0000}},
      {pf32bit, {0x102030, 0xF0E0D0, 0x808080, 0x7F0000}},
  };
  std::unique_ptr<TBitmap> S(Make32(4, 1, Src));
  for (const Case& K : Cases) {
    TBitmap D;
    D.Assign(S.get());
    D.SetPixelFormat(K.Format);
    EXPECT_EQ(D.PixelFormat(), K.Format);
    // Through a BMP stream and back: the format and the pixels survive.
    TMemoryStream M;
    D.SaveToStream(&M);
    M.SetPosition(0);
    TBitmap L;
    L.LoadFromStream(&M);
    EXPECT_EQ(L.PixelFormat(), K.Format);
    L.SetPixelFormat(pf32bit);
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Px32(L, X, 0) & 0xFFFFFF, K.Expected[X]) << "format " << int(K.Format) << " x " << X;
  }
}

TEST(TBitmapFormat, ScanLineOfOddWidth24BitRows) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(3, 4);
  auto* R0 = static_cast<Byte*>(B.ScanLine(0));
  auto* R1 = static_cast<Byte*>(B.ScanLine(1));
  EXPECT_EQ(R0 - R1, 12) << "rows padded to 4 bytes, stored bottom-up";
  R1[6] = 0x11;  // pixel (2, 1): blue
  R1[7] = 0x22;
  R1[8] = 0x33;
  EXPECT_EQ(B.Canvas()->Pixels(2, 1), TColor(0x112233));
  EXPECT_THROW(B.ScanLine(4), EInvalidGraphicOperation);
  EXPECT_THROW(B.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(TBitmapDraw, KeyedDrawUsesTheBottomLeftPixel) {
  TBitmap Src;
  Src.SetPixelFormat(pf24bit);
  Src.SetSize(2, 2);
  Src.Canvas()->Brush()->SetColor(clLime);
  Src.Canvas()->FillRect(TRect(0, 0, 2, 2));
  Src.Canvas()->SetPixels(0, 1, clRed);  // the key
  Src.Canvas()->SetPixels(1, 0, clRed);
  Src.SetTransparent(true);
  EXPECT_EQ(Src.TransparentColor(), clRed);
  TBitmap Dst;
  Dst.SetPixelFormat(pf32bit);
  Dst.SetSize(2, 2);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(TRect(0, 0, 2, 2));
  Dst.Canvas()->Draw(0, 0, &Src);
  EXPECT_EQ(Dst.Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(Dst.Canvas()->Pixels(1, 0), clBlue);
  EXPECT_EQ(Dst.Canvas()->Pixels(0, 1), clBlue);
  // A fixed colour instead.
  Src.SetTransparentColor(clLime);
  EXPECT_EQ(Src.TransparentMode(), tmFixed);
  Dst.Canvas()->FillRect(TRect(0, 0, 2, 2));
  Dst.Canvas()->Draw(0, 0, &Src);
  EXPECT_EQ(Dst.Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(Dst.Canvas()->Pixels(1, 0), clRed);
}

TEST(TBitmapAssign, CopiesAllFourBytesAndTheTransparency) {
  std::unique_ptr<TBitmap> S(Make32(2, 1, {0x80112233u, 0x00445566u}));
  S->SetTransparent(true);
  TBitmap D;
  D.Assign(S.get());
  EXPECT_EQ(D.PixelFormat(), pf32bit);
  EXPECT_EQ(D.HandleType(), bmDIB);
  EXPECT_EQ(Px32(D, 0, 0), 0x80112233u);
  EXPECT_EQ(Px32(D, 1, 0), 0x00445566u);
  EXPECT_TRUE(D.Transparent());
  EXPECT_NE(D.Handle(), S->Handle());
  D.Assign(nullptr);
  EXPECT_TRUE(D.Empty());
}

TEST(TBitmapStream, SavesBottomUpWithFileHeader) {
  std::unique_ptr<TBitmap> B(Make32(2, 2, {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u}));
  TBytes D = Save(*B);
  ASSERT_EQ(D.size(), 14u + 40u + 16u);
  EXPECT_EQ(D[0], 'B');
  EXPECT_EQ(LE32(D, 2), Cardinal(D.size()));
  EXPECT_EQ(LE32(D, 10), 54u);
  EXPECT_EQ(LE32(D, 22), 2u) << "positive height";
  EXPECT_EQ(LE32(D, 54), 0xFF000003u) << "bottom row first";
  EXPECT_EQ(LE32(D, 62), 0xFF000001u);
}

TEST(TBitmapStream, TwoBitmapsBackToBackLoadExactly) {
  TBitmap A;
  A.SetPixelFormat(pf8bit);
  A.SetSize(5, 3);
  A.Canvas()->Brush()->SetColor(clRed);
  A.Canvas()->FillRect(TRect(0, 0, 5, 3));
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(3, 2);
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->FillRect(TRect(0, 0, 3, 2));
  TMemoryStream S;
  A.SaveToStream(&S);
  const Int64 FirstEnd = S.Position();
  B.SaveToStream(&S);
  Byte Tail = 0x5A;
  S.WriteBuffer(&Tail, 1);
  S.SetPosition(0);
  TBitmap LA, LB;
  LA.LoadFromStream(&S);
  EXPECT_EQ(S.Position(), FirstEnd);
  LB.LoadFromStream(&S);
  EXPECT_EQ(S.Position(), S.Size() - 1);
  EXPECT_EQ(LA.PixelFormat(), pf8bit);
  EXPECT_EQ(LA.Width(), 5);
  EXPECT_EQ(LA.Canvas()->Pixels(4, 2), clRed);
  EXPECT_EQ(LB.PixelFormat(), pf24bit);
  EXPECT_EQ(LB.Canvas()->Pixels(2, 1), clBlue);
}

TEST(TBitmapStream, ReadsHeaderKindsDirectionsAndBitfields) {
  const std::vector<std::vector<Byte>> Rows32 = {{1, 2, 3, 0x80, 4, 5, 6, 0x81}, {7, 8, 9, 0x82, 10, 11, 12, 0x83}};
  struct Case {
    const char* Name;
    TBytes File;
    TPixelFormat Format;
  };
  // 16-bit rows: 5-6-5 white and pure red; 5-5-5 pure green.
  TBytes Bf565 = HandBmp(2, 1, 16, 40, {{0xFF, 0xFF, 0x00, 0xF8, 0, 0}}, BI_BITFIELDS);
  Bf565.insert(Bf565.begin() + 54, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
  PutLE32(Bf565, 10, 66);
  PutLE32(Bf565, 2, Cardinal(Bf565.size()));
  const Case Cases[] = {
      {"40-byte header, bottom-up", HandBmp(2, 2, 32, 40, Rows32), pf32bit},
      {"40-byte header, top-down", HandBmp(2, -2, 32, 40, Rows32), pf32bit},
      {"124-byte header with masks", HandBmp(2, 2, 32, 124, Rows32, BI_BITFIELDS), pf32bit},
      {"16-bit 5-6-5 bitfields", Bf565, pf16bit},
  };
  for (const Case& K : Cases) {
    TMemoryStream S;
    S.WriteBuffer(K.File.data(), Integer(K.File.size()));
    S.SetPosition(0);
    TBitmap B;
    ASSERT_NO_THROW(B.LoadFromStream(&S)) << K.Name;
    EXPECT_EQ(B.PixelFormat(), K.Format) << K.Name;
    EXPECT_EQ(S.Position(), S.Size()) << K.Name;
    if (K.Format == pf32bit) {
      EXPECT_EQ(Px32(B, 0, 0), 0x80030201u) << K.Name;
      EXPECT_EQ(Px32(B, 1, 1), 0x830C0B0Au) << K.Name;
    } else {
      EXPECT_EQ(B.Canvas()->Pixels(0, 0), clWhite) << K.Name;
      EXPECT_EQ(B.Canvas()->Pixels(1, 0), clRed) << K.Name;
    }
  }
}

TEST(TBitmapStream, RefusesBadDataAndStaysUnchanged) {
  const TBytes Good = HandBmp(2, 2, 24, 40, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
  struct Case {
    const char* Name;
    TBytes File;
  };
  auto With = [&](size_t O, Cardinal V) {
    TBytes D = Good;
    PutLE32(D, O, V);
    return D;
  };
  const Case Cases[] = {
      {"empty", TBytes()},
      {"not BM", TBytes(Good.begin() + 1, Good.end())},
      {"truncated header", TBytes(Good.begin(), Good.begin() + 30)},
      {"truncated pixels", TBytes(Good.begin(), Good.end() - 1)},
      {"huge size, few bytes", With(18, 100000) /* width */},
      {"huge both", [&] { TBytes D = With(18, 100000); PutLE32(D, 22, 100000); return D; }()},
      {"negative width", With(18, 0xFFFFFFFEu)},
      {"INT_MIN height", With(22, 0x80000000u)},
      {"offset past the end", With(10, 0x7FFFFFF0u)},
      {"bad header size", With(14, 7)},
      {"bad bit count", [&] { TBytes D = Good; D[28] = 7; return D; }()},
      {"RLE compression", With(30, 1)},
  };
  for (const Case& K : Cases) {
    std::unique_ptr<TBitmap> B(Make32(1, 1, {0x11223344u}));
    TMemoryStream S;
    if (!K.File.empty()) S.WriteBuffer(K.File.data(), Integer(K.File.size()));
    S.SetPosition(0);
    EXPECT_THROW(B->LoadFromStream(&S), EInvalidGraphic) << K.Name;
    EXPECT_EQ(B->Width(), 1) << K.Name;
    EXPECT_EQ(Px32(*B, 0, 0), 0x11223344u) << K.Name;
    EXPECT_EQ(S.Position(), 0) << K.Name;
  }
}

TEST(TBitmapStream, FuzzedInputNeverCrashes) {
  // Valid files of several kinds, mutated at random: each load either succeeds
  // with a sane size or raises EInvalidGraphic.
  std::vector<TBytes> Seeds;
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap B;
    B.SetPixelFormat(F);
    B.SetSize(5, 3);
    Seeds.push_back(Save(B));
  }
  Seeds.push_back(HandBmp(2, -2, 32, 124, {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}}, BI_BITFIELDS));
  std::mt19937 Rng(12345);
  Integer Loaded = 0, Refused = 0;
  for (int Iter = 0; Iter < 3000; ++Iter) {
    TBytes D = Seeds[Rng() % Seeds.size()];
    const int Edits = 1 + int(Rng() % 4);
    for (int e = 0; e < Edits; ++e) {
      switch (Rng() % 4) {
        case 0: D[Rng() % D.size()] = Byte(Rng()); break;
        case 1: if (D.size() > 14) PutLE32(D, 2 + 4 * (Rng() % 8), Cardinal(Rng())); break;  // header fields
        case 2: D.resize(Rng() % (D.size() + 1)); break;
        case 3: D.push_back(Byte(Rng())); break;
      }
      if (D.empty()) break;
    }
    TMemoryStream S;
    if (!D.empty()) S.WriteBuffer(D.data(), Integer(D.size()));
    S.SetPosition(0);
    TBitmap B;
    try {
      B.LoadFromStream(&S);
      ++Loaded;
      EXPECT_LE(Int64(B.Width()) * B.Height(), Int64(D.size()) * 8);
      EXPECT_LE(S.Position(), S.Size());
    } catch (EInvalidGraphic&) {
      ++Refused;
    }
  }
  EXPECT_GT(Loaded, 0);
  EXPECT_GT(Refused, 0);
}

TEST(TBitmapFormat, PaletteOfPalettisedBitmaps) {
  TBitmap B;
  B.SetPixelFormat(pf4bit);
  B.SetSize(2, 1);
  HPALETTE P = B.Palette();
  ASSERT_NE(P, nullptr);
  PALETTEENTRY E[16];
  ASSERT_EQ(GetPaletteEntries(P, 0, 16, E), 16u);
  EXPECT_EQ(E[9].peRed, 255);  // VGA red
  EXPECT_EQ(E[9].peGreen, 0);
  // A palette of our own: pixels of index 0 take its first colour.
  std::vector<Byte> Buf(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY));
  auto* LP = reinterpret_cast<LOGPALETTE*>(Buf.data());
  LP->palVersion = 0x300;
  LP->palNumEntries = 16;
  for (int i = 0; i < 16; ++i) LP->palPalEntry[i] = PALETTEENTRY{Byte(i * 16), 7, 9, 0};
  HPALETTE Mine = CreatePalette(LP);
  static_cast<Byte*>(B.ScanLine(0))[0] = 0x00;
  B.SetPalette(Mine);
  DeleteObject(Mine);
  EXPECT_EQ(B.Canvas()->Pixels(0, 0), TColor(0x090700));
  TBitmap C;
  C.SetPixelFormat(pf24bit);
  C.SetSize(1, 1);
  EXPECT_EQ(C.Palette(), nullptr);
}

TEST(TBitmapDraw, KeyIgnoresTheAlphaByte) {
  std::unique_ptr<TBitmap> Src(Make32(2, 1, {0x80FF0000u, 0x0000FF00u}));  // red (alpha $80), lime
  Src->SetTransparent(true);
  Src->SetTransparentColor(clRed);
  TBitmap Dst;
  Dst.SetPixelFormat(pf32bit);
  Dst.SetSize(2, 1);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(TRect(0, 0, 2, 1));
  Dst.Canvas()->Draw(0, 0, Src.get());
  EXPECT_EQ(Dst.Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(Dst.Canvas()->Pixels(1, 0), clLime);
}
