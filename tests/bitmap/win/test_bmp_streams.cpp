// Bitmaps to and from the class library's graphics, and BMP streams.
#include "common/gtest.h"

#include <climits>
#include <cstring>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/GIFImg.h"

namespace {

class BitmapStreams : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TBytes Bytes(TMemoryStream& S) {
  return TBytes(static_cast<Byte*>(S.Memory()), static_cast<Byte*>(S.Memory()) + S.Size());
}

void Put32(TBytes& D, size_t O, Cardinal V) {
  for (int i = 0; i < 4; ++i) D[O + i] = Byte(V >> (8 * i));
}

TMemoryStream* StreamOf(const TBytes& D) {
  auto* S = new TMemoryStream();
  if (!D.empty()) S->WriteBuffer(D.data(), Integer(D.size()));
  S->SetPosition(0);
  return S;
}

String TempFile(const String& Name) {
  WCHAR Dir[MAX_PATH];
  GetTempPathW(MAX_PATH, Dir);
  return String(reinterpret_cast<const char16_t*>(Dir)) + Name;
}

}  // namespace

TEST_F(BitmapStreams, TheSixtyTwoByteExample) {
  TBitmap32 B;
  B.SetSize(2, 1);
  B.SetPixel(0, 0, 0xFF112233u);
  B.SetPixel(1, 0, 0x80445566u);
  for (bool TopDown : {false, true}) {
    TMemoryStream S;
    B.SaveToStream(&S, TopDown);
    TBytes D = Bytes(S);
    TBytes Expected = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0};
    const Byte Height[4] = {Byte(TopDown ? 1 : 0xFF), Byte(TopDown ? 0 : 0xFF), Byte(TopDown ? 0 : 0xFF),
                            Byte(TopDown ? 0 : 0xFF)};
    Expected.insert(Expected.end(), Height, Height + 4);
    const Byte Rest[] = {1, 0, 32, 0, 0, 0, 0, 0, 8, 0, 0, 0};
    Expected.insert(Expected.end(), Rest, Rest + sizeof(Rest));
    Expected.resize(54, 0);
    const Byte Px[] = {51, 34, 17, 255, 102, 85, 68, 128};
    Expected.insert(Expected.end(), Px, Px + 8);
    EXPECT_EQ(D, Expected) << "SaveTopDown " << TopDown;
  }
}

TEST_F(BitmapStreams, RoundTripsAndAnIndependentReader) {
  TBitmap32 B;
  B.SetSize(3, 2);
  for (int i = 0; i < 6; ++i) B.Bits()[i] = 0x01020304u * Cardinal(i + 1) | 0x80000000u;
  for (bool TopDown : {false, true}) {
    TMemoryStream S;
    B.SaveToStream(&S, TopDown);
    if (TopDown) {
      // The file holds the bottom row first.
      EXPECT_EQ(0, std::memcmp(static_cast<Byte*>(S.Memory()) + 54, B.ScanLine(1), 12));
    }
    S.SetPosition(0);
    TBitmap32 L;
    L.LoadFromStream(&S);
    ASSERT_EQ(L.Width(), 3);
    EXPECT_EQ(0, std::memcmp(L.Bits(), B.Bits(), 24)) << TopDown;
    EXPECT_EQ(S.Position(), S.Size());
    // The class library's reader sees the same pixels.
    S.SetPosition(0);
    TBitmap T;
    T.LoadFromStream(&S);
    EXPECT_EQ(T.PixelFormat(), pf32bit);
    for (int Y = 0; Y < 2; ++Y) EXPECT_EQ(0, std::memcmp(T.ScanLine(Y), B.ScanLine(Y), 12)) << TopDown;
  }
}

TEST_F(BitmapStreams, OtherHeadersGoThroughTheClassLibrary) {
  // A 24-bit file: opaque pixels.
  TBitmap T;
  T.SetPixelFormat(pf24bit);
  T.SetSize(2, 1);
  T.Canvas()->SetPixels(0, 0, clRed);
  TMemoryStream S;
  T.SaveToStream(&S);
  S.SetPosition(0);
  TBitmap32 B;
  B.LoadFromStream(&S);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFFFFFFFFu);

  // A 32-bit file with a 124-byte header: pixels from the offset it gives.
  TBytes V5(14 + 124 + 8, 0);
  V5[0] = 'B';
  V5[1] = 'M';
  Put32(V5, 2, Cardinal(V5.size()));
  Put32(V5, 10, 14 + 124);
  Put32(V5, 14, 124);
  Put32(V5, 18, 2);
  Put32(V5, 22, 1);
  V5[26] = 1;
  V5[28] = 32;
  Put32(V5, 30, BI_BITFIELDS);
  Put32(V5, 54, 0x00FF0000);
  Put32(V5, 58, 0x0000FF00);
  Put32(V5, 62, 0x000000FF);
  Put32(V5, 66, 0xFF000000);
  Put32(V5, 138, 0x80102030u);
  Put32(V5, 142, 0xFF405060u);
  std::unique_ptr<TMemoryStream> VS(StreamOf(V5));
  B.LoadFromStream(VS.get());
  EXPECT_EQ(B.Width(), 2);
  EXPECT_EQ(B.GetPixel(0, 0), 0x80102030u);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFF405060u);
}

TEST_F(BitmapStreams, HostileStreamsLeaveTheBitmapAlone) {
  TBitmap32 Src;
  Src.SetSize(2, 2);
  Src.Clear(0xFF0000FFu);
  TMemoryStream Good;
  Src.SaveToStream(&Good, true);
  const TBytes G = Bytes(Good);
  struct Case {
    const char* Name;
    TBytes Data;
  };
  auto With = [&](size_t O, Cardinal V) {
    TBytes D = G;
    Put32(D, O, V);
    return D;
  };
  const Case Cases[] = {
      {"shorter than a header", TBytes(G.begin(), G.begin() + 40)},
      {"truncated pixels", TBytes(G.begin(), G.end() - 4)},
      {"100000 x 100000 with 10 bytes", [&] {
         TBytes D = With(18, 100000);
         Put32(D, 22, 100000);
         D.resize(64);
         return D;
       }()},
      {"negative width", With(18, 0xFFFFFFFFu)},
      {"INT_MIN height", With(22, 0x80000000u)},
      {"pixel offset past the end", With(10, 1000)},
      {"pixel offset inside the header", With(10, 20)},
  };
  for (const Case& K : Cases) {
    TBitmap32 B;
    B.SetSize(1, 1);
    B.SetPixel(0, 0, 0x12345678u);
    Integer Resized = 0;
    B.SetOnResize([&](TObject*) { ++Resized; });
    std::unique_ptr<TMemoryStream> S(StreamOf(K.Data));
    EXPECT_THROW(B.LoadFromStream(S.get()), EReadError) << K.Name;
    EXPECT_EQ(B.Width(), 1) << K.Name;
    EXPECT_EQ(B.GetPixel(0, 0), 0x12345678u) << K.Name;
    EXPECT_EQ(Resized, 0) << K.Name;
  }
  // The binary property form is checked the same way.
  TMemoryStream P;
  Integer WH[2] = {100000, 100000};
  P.WriteBuffer(WH, 8);
  P.SetPosition(0);
  TBitmap32 B;
  B.SetSize(1, 1);
  EXPECT_THROW(B.ReadPixelData(&P), EReadError);
  EXPECT_EQ(B.Width(), 1);
  TMemoryStream Q;
  Src.WritePixelData(&Q);
  Q.SetPosition(0);
  B.ReadPixelData(&Q);
  EXPECT_TRUE(SameBitmap(&B, &Src));
}

TEST_F(BitmapStreams, BitmapImportRules) {
  struct Case {
    const char* Name;
    TPixelFormat Format;
    Cardinal Pixel;  // written into a 32-bit bitmap, or its colour for 24 bits
    bool Transparent;
    TColor32 Expected;
  };
  const Case Cases[] = {
      {"32-bit keeps alpha", pf32bit, 0x80102030u, false, 0x80102030u},
      {"32-bit all-zero alpha comes in opaque", pf32bit, 0x00102030u, false, 0xFF102030u},
      {"24-bit gets alpha 255", pf24bit, 0x00102030u, false, 0xFF102030u},
      {"white key keeps its colour with alpha 0", pf24bit, 0x00FFFFFFu, true, 0x00FFFFFFu},
      {"device bitmap gets alpha 255", pfDevice, 0x00102030u, false, 0xFF102030u},
  };
  for (const Case& K : Cases) {
    TBitmap T;
    T.SetPixelFormat(K.Format);
    T.SetSize(2, 2);
    if (K.Format == pf32bit) {
      for (int Y = 0; Y < 2; ++Y) static_cast<Cardinal*>(T.ScanLine(Y))[0] = static_cast<Cardinal*>(T.ScanLine(Y))[1] = K.Pixel;
    } else {
      T.Canvas()->Brush()->SetColor(WinColor(K.Pixel));
      T.Canvas()->FillRect(TRect(0, 0, 2, 2));
    }
    if (K.Transparent) {
      T.Canvas()->SetPixels(1, 0, clRed);
      T.SetTransparent(true);
      T.SetTransparentColor(clWhite);
    }
    TBitmap32 B;
    B.Assign(&T);
    EXPECT_EQ(B.GetPixel(0, 1), K.Expected) << K.Name;
    if (K.Transparent) {
      EXPECT_EQ(B.GetPixel(1, 0), 0xFFFF0000u) << K.Name;
    }
  }
}

TEST_F(BitmapStreams, ExportGivesA32BitDibWithAllBytes) {
  TBitmap32 B;
  B.SetSize(2, 1);
  B.SetPixel(0, 0, 0x80112233u);
  B.SetPixel(1, 0, 0x00445566u);
  TBitmap T;
  T.Assign(&B);
  EXPECT_EQ(T.PixelFormat(), pf32bit);
  EXPECT_EQ(T.HandleType(), bmDIB);
  EXPECT_EQ(static_cast<Cardinal*>(T.ScanLine(0))[0], 0x80112233u);
  EXPECT_EQ(static_cast<Cardinal*>(T.ScanLine(0))[1], 0x00445566u);
  TPicture P;
  P.Assign(&B);  // the bitmap exports itself into the picture's bitmap
  ASSERT_NE(dynamic_cast<TBitmap*>(P.Graphic()), nullptr);
  EXPECT_EQ(static_cast<Cardinal*>(P.Bitmap()->ScanLine(0))[0], 0x80112233u);
}

TEST_F(BitmapStreams, IconImport) {
  // An icon with alpha keeps it; one without alpha takes its mask.
  for (bool WithAlpha : {true, false}) {
    void* Bits = nullptr;
    HBITMAP Col = CreateDIB32(2, 1, &Bits);
    static_cast<Cardinal*>(Bits)[0] = WithAlpha ? 0x80FF0000u : 0x00FF0000u;
    static_cast<Cardinal*>(Bits)[1] = WithAlpha ? 0xFF00FF00u : 0x00000000u;
    const WORD MaskBits[2] = {WithAlpha ? WORD(0) : WORD(0x40), 0};  // pixel 1 transparent without alpha
    HBITMAP Mask = CreateBitmap(2, 1, 1, 1, MaskBits);
    ICONINFO II{TRUE, 0, 0, Mask, Col};
    TIcon I;
    I.SetHandle(CreateIconIndirect(&II));
    DeleteObject(Col);
    DeleteObject(Mask);
    TBitmap32 B;
    B.Assign(&I);
    ASSERT_EQ(B.Width(), 2);
    if (WithAlpha) {
      EXPECT_EQ(B.GetPixel(0, 0) >> 24, 0x80u);
      EXPECT_EQ(B.GetPixel(1, 0), 0xFF00FF00u);
    } else {
      EXPECT_EQ(B.GetPixel(0, 0), 0xFFFF0000u);
      EXPECT_EQ(B.GetPixel(1, 0) >> 24, 0u);
    }
  }
}

TEST_F(BitmapStreams, NilSameBitmapAndShortFiles) {
  TBitmap32 B;
  B.SetSize(2, 2);
  Integer Changes = 0;
  B.SetOnChange([&](TObject*) { ++Changes; });
  B.Assign(nullptr);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(Changes, 1);

  TBitmap32 E1;
  TCustomBitmap32 E2;
  EXPECT_TRUE(SameBitmap(&E1, &E2)) << "two empty bitmaps of different classes";
  TBitmap32 One, Two;
  One.SetSize(1, 1);
  Two.SetSize(2, 2);
  EXPECT_FALSE(SameBitmap(&One, &Two));
  TBitmap32 Copy;
  Copy.Assign(&Two);
  EXPECT_TRUE(SameBitmap(&Copy, &Two));
  Copy.SetPixel(1, 1, 1);
  EXPECT_FALSE(SameBitmap(&Copy, &Two));

  // A GIF shorter than a BMP header loads through the picture classes.
  TBitmap T;
  T.SetPixelFormat(pf24bit);
  T.SetSize(1, 1);
  T.Canvas()->SetPixels(0, 0, clBlue);
  TGIFImage G;
  G.Assign(&T);
  const String Name = TempFile(u"lumigra_tiny.gif");
  G.SaveToFile(Name);
  {
    TFileStream F(Name, fmOpenRead);
    EXPECT_LT(F.Size(), 54);
  }
  TBitmap32 L;
  L.LoadFromFile(Name);
  EXPECT_EQ(L.Width(), 1);
  EXPECT_EQ(L.GetPixel(0, 0), 0xFF0000FFu);
  DeleteFileW(reinterpret_cast<const WCHAR*>(Name.c_str()));
}

TEST_F(BitmapStreams, FuzzedStreamsNeverCrash) {
  // Valid 32-bit (fast path) and 8/24-bit (class-library path) files, mutated
  // at random: every load either succeeds or raises a stream or graphic error,
  // and a refused load leaves the bitmap as it was.
  std::vector<TBytes> Seeds;
  {
    TBitmap32 B;
    B.SetSize(4, 3);
    for (int i = 0; i < 12; ++i) B.Bits()[i] = 0x9E3779B9u * Cardinal(i + 1);
    for (bool TopDown : {false, true}) {
      TMemoryStream S;
      B.SaveToStream(&S, TopDown);
      Seeds.push_back(Bytes(S));
    }
    for (TPixelFormat F : {pf8bit, pf24bit}) {
      TBitmap T;
      T.SetPixelFormat(F);
      T.SetSize(3, 2);
      TMemoryStream S;
      T.SaveToStream(&S);
      Seeds.push_back(Bytes(S));
    }
  }
  uint32_t State = 2463534242u;
  auto Rng = [&]() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
  };
  Integer Loaded = 0, Refused = 0;
  for (int Iter = 0; Iter < 2000; ++Iter) {
    TBytes D = Seeds[Rng() % Seeds.size()];
    for (int e = 0, n = 1 + int(Rng() % 3); e < n && !D.empty(); ++e) {
      switch (Rng() % 4) {
        case 0: D[Rng() % D.size()] = Byte(Rng()); break;
        case 1: if (D.size() >= 34) Put32(D, 2 + 4 * (Rng() % 8), Rng()); break;
        case 2: D.resize(Rng() % (D.size() + 1)); break;
        case 3: D.push_back(Byte(Rng())); break;
      }
    }
    std::unique_ptr<TMemoryStream> S(StreamOf(D));
    TBitmap32 B;
    B.SetSize(1, 1);
    B.SetPixel(0, 0, 0x01020304u);
    try {
      B.LoadFromStream(S.get());
      ++Loaded;
      EXPECT_LE(Int64(B.Width()) * B.Height() * 4, Int64(D.size()) * 32);
    } catch (EReadError&) {
      ++Refused;
      EXPECT_EQ(B.Width(), 1);
      EXPECT_EQ(B.GetPixel(0, 0), 0x01020304u);
    } catch (EInvalidGraphic&) {
      ++Refused;
      EXPECT_EQ(B.Width(), 1);
    }
  }
  EXPECT_GT(Loaded, 0);
  EXPECT_GT(Refused, 0);
}

TEST_F(BitmapStreams, MetafileImportMakesUndrawnPixelsTransparent) {
  HDC Ref = GetDC(nullptr);
  RECT Frame{0, 0, 1058, 1058};  // 40 x 40 pixels at 96 DPI, in 0.01 mm
  HDC Rec = CreateEnhMetaFileW(Ref, nullptr, &Frame, nullptr);
  ReleaseDC(nullptr, Ref);
  RECT Box{8, 8, 24, 24};
  HBRUSH Blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(Rec, &Box, Blue);
  DeleteObject(Blue);
  TMetafile M;
  M.SetHandle(CloseEnhMetaFile(Rec));
  ASSERT_FALSE(M.Empty());
  TBitmap32 B;
  B.Assign(&M);
  ASSERT_GT(B.Width(), 30);
  EXPECT_EQ(B.GetPixel(14, 14), 0xFF0000FFu) << "drawn: opaque";
  EXPECT_EQ(B.GetPixel(B.Width() - 2, B.Height() - 2), 0x00FFFFFFu) << "not drawn: white, transparent";
}
