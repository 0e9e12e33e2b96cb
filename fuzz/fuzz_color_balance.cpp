// The colour-balance record: any bytes load or are refused; a loaded record
// saves to a record that loads to the same state, and any loaded values
// rebuild their tables and run over a bitmap.
#include <cstring>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_ColorBalance.h"
#include "bitmap/Bmp32_Engine.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::string Saved(TColorBalance& C) {
  TMemoryStream S;
  C.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.Memory()), size_t(S.Size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitializeBitmapEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  auto S = fuzz::StreamOf(Data, Size);
  TColorBalance A;
  if (!A.LoadFromStream(S.get())) {
    FUZZ_CHECK(Size < size_t(TColorBalance::RecordSize));
    return 0;
  }
  const std::string First = Saved(A);
  TMemoryStream Again;
  Again.WriteBuffer(First.data(), Integer(First.size()));
  Again.SetPosition(0);
  TColorBalance B;
  FUZZ_CHECK(B.LoadFromStream(&Again));
  FUZZ_CHECK(Saved(B) == First);

  TCustomBitmap32 Src, Dst;
  Src.SetSize(4, 2);
  for (Integer I = 0; I < 8; ++I) Src.Bits()[I] = 0x01234567u * Cardinal(I + Data[I % Size]);
  A.SetSourceBitmap(&Src);
  A.Execute(&Dst);
  FUZZ_CHECK(Dst.Width() == 4 && Dst.Height() == 2);
  // Loaded values through the curves: SetCyanRed rebuilds every table.
  A.SetCyanRed(A.CyanRed() + 1);
  A.Execute(&Dst);
  return 0;
}
