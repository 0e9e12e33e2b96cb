// The class library's BMP reader: any bytes read or are refused; what reads
// holds exactly the rows its sizes say, within the bytes given.
#include "classlib/BmpImage.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  auto S = fuzz::StreamOf(Data, Size);
  TBmpImage I;
  if (!ReadBmpImage(S.get(), I)) return 0;
  FUZZ_CHECK(I.Width >= 0 && I.Height >= 0 && I.Size <= Int64(Size));
  FUZZ_CHECK(I.Stride % 4 == 0 && Int64(I.Stride) * 8 >= Int64(I.Width) * I.BitCount);
  FUZZ_CHECK(I.ColorCount >= 0 && I.ColorCount <= 256);
  if (I.Width > 0 && I.Height > 0)
    FUZZ_CHECK(I.Pixels.size() == size_t(I.Stride) * size_t(I.Height) && I.Pixels.size() <= Size);
  else
    FUZZ_CHECK(I.Pixels.empty());
  return 0;
}
