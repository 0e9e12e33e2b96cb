// The 3x3 blur.
#include "bitmap/Bmp32_Blur3x3.h"

#include "bitmap/Bmp32_Engine.h"

TBlur3x3Proc Blur3x3Filter = nullptr;

namespace {
const bool Blur3x3Registered = (RegisterEngineUnit("Bmp32_Blur3x3", InitializeBlur3x3, nullptr), true);
}

void InitializeBlur3x3() {
  (void)Blur3x3Registered;
  // The vector form would compute the same sums; one routine serves every processor.
  Blur3x3Filter = Blur3x3Portable;
}

void Blur3x3Portable(TCustomBitmap32* Dst, TCustomBitmap32* Src) {
  if (!Dst || !Src) return;
  Dst->Assign(Src);
  Integer W = Src->Width(), H = Src->Height();
  if (W < 3 || H < 3) return;
  for (Integer y = 1; y <= H - 2; ++y) {
    const TColor32* t = Src->ScanLine(y - 1);
    const TColor32* m = Src->ScanLine(y);
    const TColor32* b = Src->ScanLine(y + 1);
    TColor32* d = Dst->ScanLine(y);
    for (Integer x = 1; x <= W - 2; ++x) {
      TColor32 r = 0;
      for (int s = 0; s < 32; s += 8) {
        auto c = [&](const TColor32* row, Integer i) { return (row[i] >> s) & 0xFF; };
        Cardinal sum = c(t, x - 1) + 2 * c(t, x) + c(t, x + 1) + 2 * c(m, x - 1) + 4 * c(m, x) + 2 * c(m, x + 1) +
                       c(b, x - 1) + 2 * c(b, x) + c(b, x + 1);
        r |= (sum >> 4) << s;
      }
      d[x] = r;
    }
  }
  Dst->Changed();
}

void Blur3x3(TCustomBitmap32* Bitmap) {
  if (!Bitmap) return;
  TCustomBitmap32 copy;
  copy.Assign(Bitmap);
  (Blur3x3Filter ? Blur3x3Filter : Blur3x3Portable)(Bitmap, &copy);
}
