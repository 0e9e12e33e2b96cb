// Whitening the transparent margins of a 32-bit picture by its mask.
#include "common/gtest.h"

#include <memory>
#include <vector>

#include "classlib/Graphics.h"
#include "foundation/app/win/HyAppWin.h"

namespace {

std::unique_ptr<TBitmap> Bitmap32(Integer W, Integer H, TPixelFormat Format = pf32bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(W, H);
  return b;
}

TEST(AppWhitenEdges, RowsWhitenFromBothEndsUpToTheMask) {
  // mask rows by blue byte; 'x' = opaque (blue 1), '.' = 0 (other bytes set, ignored)
  const char* maskRows[] = {"......", "x....x", "..xx..", ".x..x.", "x.....", ".....x"};
  const char* expected[] = {"WWWWWW", "------", "WW--WW", "W----W", "-WWWWW", "WWWWW-"};
  const Integer w = 6, h = 6;
  auto bmp = Bitmap32(w, h);
  auto mask = Bitmap32(w, h);
  for (Integer y = 0; y < h; ++y) {
    auto* p = static_cast<Cardinal*>(bmp->ScanLine(y));
    auto* m = static_cast<Cardinal*>(mask->ScanLine(y));
    for (Integer x = 0; x < w; ++x) {
      p[x] = 0xFF102030u + static_cast<Cardinal>(x);
      m[x] = maskRows[y][x] == 'x' ? 0x00000001u : 0xFFFFFF00u;
    }
  }
  WhitenTransparentEdges(bmp.get(), mask.get());
  for (Integer y = 0; y < h; ++y) {
    const auto* p = static_cast<const Cardinal*>(bmp->ScanLine(y));
    for (Integer x = 0; x < w; ++x) {
      const Cardinal want = expected[y][x] == 'W' ? 0x00FFFFFFu : 0xFF102030u + static_cast<Cardinal>(x);
      EXPECT_EQ(p[x], want) << "row " << y << " col " << x;
    }
  }
}

TEST(AppWhitenEdges, MismatchedSizesOrFormatsChangeNothing) {
  struct Case {
    Integer MaskW;
    TPixelFormat MaskFormat;
  } cases[] = {{5, pf32bit}, {4, pf24bit}};
  for (const Case& c : cases) {
    auto bmp = Bitmap32(4, 2);
    auto mask = Bitmap32(c.MaskW, 2, c.MaskFormat);
    for (Integer y = 0; y < 2; ++y) {
      auto* p = static_cast<Cardinal*>(bmp->ScanLine(y));
      for (Integer x = 0; x < 4; ++x) p[x] = 0xFF00FF00u;
    }
    WhitenTransparentEdges(bmp.get(), mask.get());
    for (Integer y = 0; y < 2; ++y) {
      const auto* p = static_cast<const Cardinal*>(bmp->ScanLine(y));
      for (Integer x = 0; x < 4; ++x) EXPECT_EQ(p[x], 0xFF00FF00u);
    }
  }
}

}  // namespace
