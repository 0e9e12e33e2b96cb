// The picture classes: JPEG, PNG and GIF through their codecs, and TPicture.
#include "common/gtest.h"

#include <cstring>
#include <memory>

#include "classlib/GIFImg.h"
#include "classlib/Graphics.h"
#include "classlib/JPEG.h"
#include "classlib/PngImage.h"

namespace {

TBytes StreamBytes(TMemoryStream& S) {
  return TBytes(static_cast<Byte*>(S.Memory()), static_cast<Byte*>(S.Memory()) + S.Size());
}

template <class G>
TBytes SaveBytes(G& Graphic) {
  TMemoryStream S;
  Graphic.SaveToStream(&S);
  return StreamBytes(S);
}

template <class G>
void LoadBytes(G& Graphic, const TBytes& Data) {
  TMemoryStream S;
  if (!Data.empty()) S.WriteBuffer(Data.data(), Integer(Data.size()));
  S.SetPosition(0);
  Graphic.LoadFromStream(&S);
}

// A 24-bit bitmap with a colour gradient (W * H distinct colours when small).
std::unique_ptr<TBitmap> Gradient(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(B->ScanLine(Y));
    for (int X = 0; X < W; ++X) {
      Row[X * 3 + 0] = Byte(X * 255 / (W - 1));
      Row[X * 3 + 1] = Byte(Y * 255 / (H - 1));
      Row[X * 3 + 2] = Byte((X + Y) * 255 / (W + H - 2));
    }
  }
  return B;
}

// The first value and the last (zig-zag order) of quantisation table Id,
// read from the JPEG's DQT segments without any JPEG library.
bool ReadDqt(const TBytes& J, int Id, int& First, int& Last) {
  size_t P = 2;
  while (P + 4 <= J.size() && J[P] == 0xFF) {
    Byte Marker = J[P + 1];
    size_t Len = size_t(J[P + 2]) << 8 | J[P + 3];
    if (Marker == 0xDB) {
      size_t Q = P + 4, End = P + 2 + Len;
      while (Q < End) {
        int Precision = J[Q] >> 4, Table = J[Q] & 15;
        size_t Size = Precision ? 2 : 1;
        auto Val = [&](int i) { return Precision ? int(J[Q + 1 + i * 2]) << 8 | J[Q + 2 + i * 2] : int(J[Q + 1 + i]); };
        if (Table == Id) {
          First = Val(0);
          Last = Val(63);
          return true;
        }
        Q += 1 + 64 * Size;
      }
    }
    if (Marker == 0xDA) break;
    P += 2 + Len;
  }
  return false;
}

String TempFile(const String& Name) {
  WCHAR Dir[MAX_PATH];
  GetTempPathW(MAX_PATH, Dir);
  return String(reinterpret_cast<const char16_t*>(Dir)) + Name;
}

void WriteFile(const String& Name, const TBytes& Data) {
  TFileStream F(Name, fmCreate);
  F.WriteBuffer(Data.data(), Integer(Data.size()));
}

}  // namespace

TEST(TJPEGImageTest, QualityLevelsGiveTheLibraryTables) {
  // Quality = level * 10; tables scaled from the standard ones (luminance
  // 16 .. 99, chrominance 17 .. 99) by the library's quality formula.
  auto B = Gradient(16, 16);
  for (int Level : {1, 5, 9, 10}) {
    const int Q = Level * 10;
    const int Scale = Q < 50 ? 5000 / Q : 200 - 2 * Q;
    auto Expect = [&](int Base) { return std::max(1, (Base * Scale + 50) / 100); };
    TJPEGImage J;
    J.Assign(B.get());
    J.SetCompressionQuality(Q);
    J.Compress();
    TBytes Data = SaveBytes(J);
    int First = 0, Last = 0;
    ASSERT_TRUE(ReadDqt(Data, 0, First, Last)) << Level;
    EXPECT_EQ(First, Expect(16)) << "luminance, level " << Level;
    EXPECT_EQ(Last, Expect(99)) << "luminance, level " << Level;
    ASSERT_TRUE(ReadDqt(Data, 1, First, Last)) << Level;
    EXPECT_EQ(First, Expect(17)) << "chrominance, level " << Level;
  }
}

TEST(TJPEGImageTest, RoundTripAndScale) {
  auto B = Gradient(16, 16);
  TJPEGImage J;
  J.Assign(B.get());
  J.SetCompressionQuality(100);
  TBytes Data = SaveBytes(J);
  TJPEGImage L;
  LoadBytes(L, Data);
  ASSERT_EQ(L.Width(), 16);
  ASSERT_EQ(L.Height(), 16);
  int MaxDiff = 0;
  for (int Y = 0; Y < 16; ++Y) {
    auto* Row = static_cast<Byte*>(B->ScanLine(Y));
    for (int X = 0; X < 16 * 3; ++X) MaxDiff = std::max(MaxDiff, std::abs(int(Row[X]) - int(L.Pixels()[size_t(Y) * 48 + X])));
  }
  EXPECT_LE(MaxDiff, 24) << "4:2:0 chroma on a colour gradient";
  L.SetScale(jsHalf);
  EXPECT_EQ(L.Width(), 8);
  L.SetScale(jsEighth);
  EXPECT_EQ(L.Height(), 2);
  // Drawn through TPicture's import path into a bitmap.
  TBitmap Dst;
  Dst.Assign(&L);
  EXPECT_EQ(Dst.Width(), 2);
}

TEST(TPngImageTest, RGBAlphaRoundTripIsExact) {
  TPngImage P;
  P.CreateBlank(COLOR_RGBALPHA, 8, 3, 2);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) {
      Byte* S = P.Scanline(Y) + X * 3;
      S[0] = Byte(10 + X);
      S[1] = Byte(20 + Y);
      S[2] = Byte(200 + X + Y);
      P.AlphaScanline(Y)[X] = Byte(X * 100 + Y);
    }
  TPngImage L;
  LoadBytes(L, SaveBytes(P));
  ASSERT_EQ(L.ColorType(), COLOR_RGBALPHA);
  ASSERT_EQ(L.Width(), 3);
  for (int Y = 0; Y < 2; ++Y) {
    EXPECT_EQ(0, std::memcmp(L.Scanline(Y), P.Scanline(Y), 9)) << Y;
    EXPECT_EQ(0, std::memcmp(L.AlphaScanline(Y), P.AlphaScanline(Y), 3)) << Y;
  }
}

TEST(TPngImageTest, RGBIsOpaqueAndAlphaComposesOverTheCanvas) {
  TPngImage P;
  P.CreateBlank(COLOR_RGB, 8, 2, 1);
  P.Scanline(0)[2] = 255;  // red, black
  TPngImage L;
  LoadBytes(L, SaveBytes(P));
  EXPECT_EQ(L.ColorType(), COLOR_RGB);
  EXPECT_EQ(L.AlphaScanline(0), nullptr);

  TPngImage A;
  A.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
  A.Scanline(0)[2] = 255;  // pixel 0: red, opaque
  A.AlphaScanline(0)[0] = 255;
  A.Scanline(0)[5] = 255;  // pixel 1: red, fully transparent
  TBitmap Dst;
  Dst.SetPixelFormat(pf32bit);
  Dst.SetSize(2, 1);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(TRect(0, 0, 2, 1));
  Dst.Canvas()->Draw(0, 0, &A);
  EXPECT_EQ(Dst.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(Dst.Canvas()->Pixels(1, 0), clBlue);
  EXPECT_THROW(A.CreateBlank(COLOR_PALETTE, 8, 1, 1), EPNGError);
}

TEST(TGIFImageTest, FewColoursAreKeptExactly) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(4, 2);
  const TColor Colors[] = {clRed, clLime, clBlue, clWhite};
  for (int X = 0; X < 4; ++X) {
    B.Canvas()->SetPixels(X, 0, Colors[X]);
    B.Canvas()->SetPixels(X, 1, Colors[3 - X]);
  }
  TGIFImage G;
  G.Assign(&B);
  ASSERT_EQ(G.ImageCount(), 1);
  EXPECT_EQ(G.Images(0)->ColorMap.size(), 4u);
  TGIFImage L;
  LoadBytes(L, SaveBytes(G));
  ASSERT_EQ(L.Width(), 4);
  EXPECT_EQ(L.Images(0)->Data, G.Images(0)->Data);
  TBitmap D;
  D.Assign(&L);
  for (int X = 0; X < 4; ++X) {
    EXPECT_EQ(D.Canvas()->Pixels(X, 0), Colors[X]);
    EXPECT_EQ(D.Canvas()->Pixels(X, 1), Colors[3 - X]);
  }
}

TEST(TGIFImageTest, QuantisationDithersManyColoursTo256) {
  auto B = Gradient(96, 96);  // 9216 colours
  for (TDitherMode Mode : {dmNearest, dmFloydSteinberg}) {
    TGIFImage G;
    G.SetDitherMode(Mode);
    G.Assign(B.get());
    const TGIFFrame* F = G.Images(0);
    ASSERT_LE(F->ColorMap.size(), 256u);
    EXPECT_GT(F->ColorMap.size(), 128u);
    // The mean colour of 8 x 8 blocks stays close to the source's; dithering
    // keeps it closer than plain nearest mapping on smooth gradients.
    double Err = 0;
    for (int BY = 0; BY < 96; BY += 8)
      for (int BX = 0; BX < 96; BX += 8)
        for (int C = 0; C < 3; ++C) {
          double Want = 0, Got = 0;
          for (int Y = BY; Y < BY + 8; ++Y)
            for (int X = BX; X < BX + 8; ++X) {
              Want += static_cast<Byte*>(B->ScanLine(Y))[X * 3 + C];
              const TGIFColor& P = F->ColorMap[F->Data[size_t(Y) * 96 + X]];
              Got += C == 0 ? P.Blue : C == 1 ? P.Green : P.Red;
            }
          Err += std::abs(Want - Got) / 64;
        }
    Err /= 12 * 12 * 3;
    if (Mode == dmFloydSteinberg)
      EXPECT_LT(Err, 1.0);
    else
      EXPECT_LT(Err, 4.0);
    // Written and read back by giflib: the same indexes and colours.
    TGIFImage L;
    LoadBytes(L, SaveBytes(G));
    EXPECT_EQ(L.Images(0)->Data, F->Data);
    for (size_t i = 0; i < F->ColorMap.size(); ++i) EXPECT_EQ(L.Images(0)->ColorMap[i], F->ColorMap[i]);
  }
}

TEST(TGIFImageTest, TransparentIndexSurvivesAndDrawsOver) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(2, 1);
  B.Canvas()->SetPixels(0, 0, clRed);
  B.Canvas()->SetPixels(1, 0, clLime);
  TGIFImage G;
  G.Assign(&B);
  TGIFFrame* F = G.Images(0);
  F->Transparent = true;
  F->TransparentColorIndex = F->Data[1];
  TGIFImage L;
  LoadBytes(L, SaveBytes(G));
  EXPECT_TRUE(L.Images(0)->Transparent);
  EXPECT_EQ(L.Images(0)->TransparentColorIndex, F->Data[1]);
  TBitmap Dst;
  Dst.SetPixelFormat(pf32bit);
  Dst.SetSize(2, 1);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(TRect(0, 0, 2, 1));
  Dst.Canvas()->Draw(0, 0, &L);
  EXPECT_EQ(Dst.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(Dst.Canvas()->Pixels(1, 0), clBlue);
}

TEST(PictureCodecs, BrokenAndTruncatedFilesRaiseClearErrors) {
  auto B = Gradient(16, 16);
  TJPEGImage J;
  J.Assign(B.get());
  TPngImage P;
  P.CreateBlank(COLOR_RGB, 8, 16, 16);
  TGIFImage G;
  G.Assign(B.get());
  const TBytes Jpg = SaveBytes(J), Png = SaveBytes(P), Gif = SaveBytes(G);
  const TBytes Garbage(200, 0x5A);
  auto Half = [](const TBytes& D) { return TBytes(D.begin(), D.begin() + std::ptrdiff_t(D.size() / 2)); };
  auto Flip = [](TBytes D, size_t From) {
    for (size_t i = From; i < D.size(); i += 7) D[i] ^= 0xFF;
    return D;
  };
  struct Case {
    const char* Name;
    std::function<void(const TBytes&)> Load;
    TBytes Data;
  };
  auto LoadJ = [](const TBytes& D) { TJPEGImage X; LoadBytes(X, D); };
  auto LoadP = [](const TBytes& D) { TPngImage X; LoadBytes(X, D); };
  auto LoadG = [](const TBytes& D) { TGIFImage X; LoadBytes(X, D); };
  const Case Cases[] = {
      {"jpeg garbage", LoadJ, Garbage},      {"jpeg truncated", LoadJ, Half(Jpg)},
      {"jpeg header only", LoadJ, TBytes(Jpg.begin(), Jpg.begin() + 20)}, {"jpeg empty", LoadJ, TBytes()},
      {"png garbage", LoadP, Garbage},       {"png truncated", LoadP, Half(Png)},
      {"png corrupt data", LoadP, Flip(Png, 40)}, {"png empty", LoadP, TBytes()},
      {"gif garbage", LoadG, Garbage},       {"gif truncated", LoadG, Half(Gif)},
      {"gif header only", LoadG, TBytes(Gif.begin(), Gif.begin() + 13)}, {"gif empty", LoadG, TBytes()},
  };
  for (const Case& K : Cases) {
    try {
      K.Load(K.Data);
      ADD_FAILURE() << K.Name << ": loaded";
    } catch (EInvalidGraphic& E) {
      EXPECT_FALSE(E.Message().empty()) << K.Name;
    }
  }
}

TEST(TPictureTest, LoadsByExtensionWithoutCase) {
  auto B = Gradient(8, 8);
  TJPEGImage J;
  J.Assign(B.get());
  const String JpgName = TempFile(u"lumigra_pic_test.JPG");
  WriteFile(JpgName, SaveBytes(J));
  TPicture Pic;
  Integer Changes = 0;
  Pic.SetOnChange([&](TObject*) { ++Changes; });
  Pic.LoadFromFile(JpgName);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(Pic.Graphic()), nullptr);
  EXPECT_EQ(Pic.Width(), 8);
  EXPECT_GE(Changes, 1);
  DeleteFileW(reinterpret_cast<const WCHAR*>(JpgName.c_str()));

  // A one-pixel GIF is shorter than a BMP header.
  TBitmap One;
  One.SetPixelFormat(pf24bit);
  One.SetSize(1, 1);
  TGIFImage G;
  G.Assign(&One);
  const TBytes Gif = SaveBytes(G);
  EXPECT_LT(Gif.size(), 54u);
  const String GifName = TempFile(u"lumigra_pic_test.gif");
  WriteFile(GifName, Gif);
  Pic.LoadFromFile(GifName);
  EXPECT_NE(dynamic_cast<TGIFImage*>(Pic.Graphic()), nullptr);
  DeleteFileW(reinterpret_cast<const WCHAR*>(GifName.c_str()));

  try {
    Pic.LoadFromFile(u"C:\\nowhere\\picture.xyz");
    ADD_FAILURE() << "unknown extension loaded";
  } catch (EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), u"Unknown picture file extension (.xyz)");
  }
}

TEST(TPictureTest, BitmapReplacesOtherGraphicsAndAssignCopies) {
  TPicture Pic;
  TPngImage P;
  P.CreateBlank(COLOR_RGB, 8, 3, 3);
  Pic.SetGraphic(&P);
  ASSERT_NE(Pic.Graphic(), &P) << "a copy";
  EXPECT_EQ(Pic.Width(), 3);
  TBitmap* B = Pic.Bitmap();
  EXPECT_TRUE(B->Empty()) << "a new empty bitmap";
  EXPECT_EQ(Pic.Graphic(), B);
  EXPECT_EQ(Pic.Bitmap(), B);
  TPicture Other;
  B->SetSize(5, 4);
  Other.Assign(&Pic);
  EXPECT_EQ(Other.Height(), 4);
  Other.Assign(nullptr);
  EXPECT_EQ(Other.Graphic(), nullptr);
}

TEST(TIconTest, LoadsTheFirstImageOfAnIcoFile) {
  // ICONDIR, one entry, then a 2 x 2 32-bit image (height doubled for the
  // AND mask), rows bottom-up, then the mask rows.
  TBytes Ico = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 32, 0, 64, 0, 0, 0, 22, 0, 0, 0};
  const Byte Header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0};
  Ico.insert(Ico.end(), Header, Header + 40);
  const Cardinal Px[4] = {0xFF0000FFu, 0xFF00FF00u, 0x80FF0000u, 0xFFFFFFFFu};  // bottom row first
  Ico.insert(Ico.end(), reinterpret_cast<const Byte*>(Px), reinterpret_cast<const Byte*>(Px) + 16);
  Ico.insert(Ico.end(), 8, Byte(0));
  TIcon I;
  LoadBytes(I, Ico);
  EXPECT_EQ(I.Width(), 2);
  EXPECT_EQ(I.Height(), 2);
  TBitmap D;
  D.SetPixelFormat(pf32bit);
  D.SetSize(2, 2);
  D.Canvas()->Brush()->SetColor(clBlack);
  D.Canvas()->FillRect(TRect(0, 0, 2, 2));
  D.Canvas()->Draw(0, 0, &I);
  EXPECT_EQ(D.Canvas()->Pixels(0, 1), clBlue);   // $FF0000FF is blue, bottom-left
  EXPECT_EQ(D.Canvas()->Pixels(1, 0), clWhite);
  TIcon Copy;
  Copy.Assign(&I);
  EXPECT_NE(Copy.Handle(), I.Handle());
  EXPECT_EQ(Copy.Width(), 2);
  EXPECT_EQ(SaveBytes(Copy), Ico);
  TBytes Bad = Ico;
  Bad[18] = 200;  // image offset past the end
  TIcon B;
  EXPECT_THROW(LoadBytes(B, Bad), EInvalidGraphic);
}
