// The mesh file: any bytes load or raise the loader's error (or a read error
// of a file cut short), and a map that fails to load keeps its size and cells.
#include "bitmap/Bmp32_VectorMaps.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const String Name = fuzz::ScratchDir() + u"mesh.msh";
  fuzz::WriteFile(Name, Data, Size);
  TVectorMap M;
  M.SetSize(2, 3);
  M.SetVector(1, 2, TFixedPoint{5, 6});
  bool Loaded = false;
  try {
    M.LoadFromFile(Name);
    Loaded = true;
  } catch (const Exception&) {
  }
  if (!Loaded) {
    FUZZ_CHECK(M.Width() == 2 && M.Height() == 3 && M.GetVector(1, 2).X == 5);
    return 0;
  }
  FUZZ_CHECK(M.Width() >= 0 && M.Height() >= 0);
  FUZZ_CHECK(32 + Int64(M.Width()) * M.Height() * 8 <= Int64(Size));
  const TRect B = M.GetTrimmedBounds();
  FUZZ_CHECK(B.Left >= 0 && B.Top >= 0 && B.Right <= M.Width() && B.Bottom <= M.Height());
  (void)M.GetFixedVector(0x18000, 0x8000);
  (void)M.GetFixedVectorS(-0x8000, 0x7FFFFFFF);
  return 0;
}
