// The bitmap engine's BMP stream and binary pixel form: any bytes load or are
// refused with the stream error (the bitmap kept); what loads saves and loads
// back pixel for pixel.
#include <cstring>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_BmpStreams.h"
#include "bitmap/Bmp32_Engine.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool SamePixels(TCustomBitmap32& A, TCustomBitmap32& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  return A.Empty() || std::memcmp(A.Bits(), B.Bits(), size_t(A.Width()) * size_t(A.Height()) * 4) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitializeBitmapEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  // Byte 0: bit 0 picks the binary pixel form, bit 1 the saved row order.
  const bool PixelForm = Data[0] & 1;
  const bool TopDown = Data[0] & 2;
  auto S = fuzz::StreamOf(Data, Size, 1);
  TCustomBitmap32 A;
  A.SetSize(1, 1);
  A.SetPixel(0, 0, 0x12345678u);
  try {
    if (PixelForm) {
      ReadBitmap32PixelData(&A, S.get());
    } else if (!LoadPlainBitmap32FromStream(&A, S.get())) {
      FUZZ_CHECK(S->Position() == 0);
      FUZZ_CHECK(A.Width() == 1 && A.GetPixel(0, 0) == 0x12345678u);
      return 0;
    }
  } catch (const EReadError&) {
    FUZZ_CHECK(A.Width() == 1 && A.Height() == 1 && A.GetPixel(0, 0) == 0x12345678u);
    return 0;
  }
  TMemoryStream Out;
  if (PixelForm)
    WriteBitmap32PixelData(&A, &Out);
  else
    SaveBitmap32ToStream(&A, &Out, TopDown);
  Out.SetPosition(0);
  TCustomBitmap32 B;
  if (PixelForm)
    ReadBitmap32PixelData(&B, &Out);
  else
    FUZZ_CHECK(LoadPlainBitmap32FromStream(&B, &Out));
  FUZZ_CHECK(SamePixels(A, B));
  return 0;
}
