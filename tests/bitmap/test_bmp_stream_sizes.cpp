// The plain 32-bit BMP stream and the binary property form under damaged
// sizes: every size product is checked before the bitmap changes, also where
// it would not fit 64 bits.
#include "common/gtest.h"

#include <cstring>
#include <memory>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_BmpStreams.h"
#include "bitmap/Bmp32_Engine.h"

namespace {

using TBytes = std::vector<Byte>;

class BmpStreamSizes : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

void Put32(TBytes& D, size_t O, Cardinal V) {
  for (int i = 0; i < 4; ++i) D[O + i] = Byte(V >> (8 * i));
}

std::unique_ptr<TMemoryStream> StreamOf(const TBytes& D) {
  auto S = std::make_unique<TMemoryStream>();
  if (!D.empty()) S->WriteBuffer(D.data(), Integer(D.size()));
  S->SetPosition(0);
  return S;
}

TBytes Saved(TCustomBitmap32& B, bool TopDown) {
  TMemoryStream S;
  SaveBitmap32ToStream(&B, &S, TopDown);
  return TBytes(static_cast<Byte*>(S.Memory()), static_cast<Byte*>(S.Memory()) + S.Size());
}

// A 1 x 1 bitmap of a known pixel that counts its resizes.
struct Watched {
  TCustomBitmap32 B;
  Integer Resized = 0;
  Watched() {
    B.SetSize(1, 1);
    B.SetPixel(0, 0, 0x12345678u);
    B.SetOnResize([this](TObject*) { ++Resized; });
  }
  ~Watched() { B.SetOnResize(nullptr); }
  bool Unchanged() const { return B.Width() == 1 && B.Height() == 1 && B.GetPixel(0, 0) == 0x12345678u && !Resized; }
};

TEST_F(BmpStreamSizes, PlainStreamRoundTripsInBothRowOrders) {
  TCustomBitmap32 Src;
  Src.SetSize(3, 2);
  for (int i = 0; i < 6; ++i) Src.Bits()[i] = 0x01020304u * Cardinal(i + 1);
  for (bool TopDown : {false, true}) {
    const TBytes D = Saved(Src, TopDown);
    auto S = StreamOf(D);
    TCustomBitmap32 L;
    ASSERT_TRUE(LoadPlainBitmap32FromStream(&L, S.get()));
    ASSERT_EQ(L.Width(), 3);
    ASSERT_EQ(L.Height(), 2);
    EXPECT_EQ(std::memcmp(L.Bits(), Src.Bits(), 24), 0) << TopDown;
    EXPECT_EQ(S->Position(), S->Size());
  }
}

TEST_F(BmpStreamSizes, OtherHeadersAreLeftToTheCaller) {
  TCustomBitmap32 Src;
  Src.SetSize(2, 2);
  const TBytes G = Saved(Src, true);
  struct Case {
    const char* Name;
    size_t At;
    Byte Value;
  } Cases[] = {{"24 bits", 28, 24}, {"bit fields", 30, 3}, {"a 124-byte header", 14, 124}, {"not BM", 0, 'X'}};
  for (const Case& K : Cases) {
    TBytes D = G;
    D[K.At] = K.Value;
    auto S = StreamOf(D);
    S->SetPosition(0);
    Watched W;
    EXPECT_FALSE(LoadPlainBitmap32FromStream(&W.B, S.get())) << K.Name;
    EXPECT_EQ(S->Position(), 0) << K.Name;
    EXPECT_TRUE(W.Unchanged()) << K.Name;
  }
}

TEST_F(BmpStreamSizes, SizesTheStreamCannotHoldRaiseAndKeepTheBitmap) {
  TCustomBitmap32 Src;
  Src.SetSize(2, 2);
  const TBytes G = Saved(Src, true);
  struct Case {
    const char* Name;
    Cardinal W, H;
    size_t Keep;  // bytes of the stream kept (0: all)
    Cardinal Offset;
  } Cases[] = {
      {"shorter than a header", 2, 2, 40, 54},
      {"truncated pixels", 2, 2, 54 + 12, 54},
      {"100000 x 100000 with 10 bytes", 100000, 100000, 64, 54},
      {"negative width", 0xFFFFFFFFu, 2, 0, 54},
      {"INT_MIN height", 2, 0x80000000u, 0, 54},
      {"width x height x 4 past 64 bits", 0x7FFFFFFF, 0x7FFFFFFF, 0, 54},
      {"the same bottom-up", 0x7FFFFFFF, 0x80000001u, 0, 54},
      {"a row past what one read takes", 0x20000000, 0, 0, 54},
      {"pixel offset past the end", 2, 2, 0, 1000},
      {"pixel offset inside the header", 2, 2, 0, 20},
  };
  for (const Case& K : Cases) {
    TBytes D = G;
    Put32(D, 18, K.W);
    Put32(D, 22, K.H);
    Put32(D, 10, K.Offset);
    if (K.Keep) D.resize(K.Keep);
    auto S = StreamOf(D);
    Watched W;
    EXPECT_THROW(LoadPlainBitmap32FromStream(&W.B, S.get()), EReadError) << K.Name;
    EXPECT_TRUE(W.Unchanged()) << K.Name;
  }
}

TEST_F(BmpStreamSizes, PixelDataFormChecksItsSizes) {
  const Integer Cases[][2] = {{100000, 100000}, {-1, 2}, {2, -1}, {0x7FFFFFFF, 0x7FFFFFFF}, {0x40000000, 0}, {3, 3}};
  for (const auto& WH : Cases) {
    TMemoryStream P;
    P.WriteBuffer(WH, 8);
    const Byte Pixels[32] = {};
    P.WriteBuffer(Pixels, 32);  // 8 pixels: one short of 3 x 3
    P.SetPosition(0);
    Watched W;
    Integer Changes = 0;
    W.B.SetOnChange([&](TObject*) { ++Changes; });
    EXPECT_THROW(ReadBitmap32PixelData(&W.B, &P), EReadError) << WH[0] << " x " << WH[1];
    EXPECT_TRUE(W.Unchanged()) << WH[0] << " x " << WH[1];
    EXPECT_EQ(Changes, 1);  // reported on the error path too
    W.B.SetOnChange(nullptr);
  }
  TCustomBitmap32 Src, Back;
  Src.SetSize(2, 3);
  for (int i = 0; i < 6; ++i) Src.Bits()[i] = Cardinal(i) * 0x11111111u;
  TMemoryStream Q;
  WriteBitmap32PixelData(&Src, &Q);
  Q.SetPosition(0);
  ReadBitmap32PixelData(&Back, &Q);
  ASSERT_EQ(Back.Height(), 3);
  EXPECT_EQ(std::memcmp(Back.Bits(), Src.Bits(), 24), 0);
}

}  // namespace
