// The highlight rectangle's tint against its formula: w = (255 x opacity)
// shr 8; each channel d := d + ((d x s div 256 - d) x w) shr 8; alpha kept.
#include "common/gtest.h"

#include <vector>

#include "bitmap/Bmp32_Add_BlendModes.h"
#include "document/HighlightBlend.h"

namespace {

Integer Expected(Integer D, Integer S, Integer Opacity) {
  const Integer w = (255 * Opacity) >> 8;
  if (w == 0) return D;
  const Integer diff = (D * S / 256 - D) * w;
  return D + (diff >> 8);  // an arithmetic shift: floor for negative values
}

}  // namespace

TEST(HighlightBlend, EveryChannelValueAgainstTheFormula) {
  InitializeBlendModes();
  for (Integer opacity : {0, 1, 128, 255}) {
    for (Integer s : {0, 1, 128, 200, 255}) {
      // One row of every channel value d, with alphas that must survive.
      std::vector<TColor32> px(256);
      for (Integer d = 0; d < 256; ++d) px[size_t(d)] = TColor32((d * 7 % 256) << 24 | d << 16 | d << 8 | d);
      const TColor32 fill = TColor32(s << 16 | (255 - s) << 8 | s);
      HighlightPixels(px.data(), 256, 1, TRect(0, 0, 256, 1), fill, opacity);
      for (Integer d = 0; d < 256; ++d) {
        const TColor32 c = px[size_t(d)];
        ASSERT_EQ(Integer(c >> 24), d * 7 % 256) << "alpha kept";
        ASSERT_EQ(Integer((c >> 16) & 0xFF), Expected(d, s, opacity)) << "d " << d << " s " << s << " o " << opacity;
        ASSERT_EQ(Integer((c >> 8) & 0xFF), Expected(d, 255 - s, opacity)) << "d " << d;
        ASSERT_EQ(Integer(c & 0xFF), Expected(d, s, opacity)) << "d " << d;
      }
    }
  }
}

TEST(HighlightBlend, ClipsToThePicture) {
  InitializeBlendModes();
  std::vector<TColor32> px(4 * 3, 0x80FFFFFFu);
  HighlightPixels(px.data(), 4, 3, TRect(-5, 2, 2, 9), 0x000000u, 255);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 4; ++x) {
      const bool covered = y == 2 && x < 2;
      // Black at full strength: w = 254, so 255 becomes 1.
      EXPECT_EQ(px[size_t(y * 4 + x)], covered ? 0x80010101u : 0x80FFFFFFu) << x << "," << y;
    }
  HighlightPixels(px.data(), 4, 3, TRect(3, 1, 3, 2), 0, 255);  // empty: nothing
  EXPECT_EQ(px[7], 0x80FFFFFFu);
}
