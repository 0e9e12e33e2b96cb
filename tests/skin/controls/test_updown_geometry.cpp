// The up-down arrows' arithmetic as tables: the two buttons' places in both
// orientations and from a skin, and which button a point falls on while
// none or one is held.
#include "common/gtest.h"

#include "skin/controls/SkinUpDownGeometry.h"

namespace {

TEST(UpDownLayout, HalvesAndSkinRects) {
  struct Row {
    const char* Name;
    Integer W, H;
    bool Vertical, Skin;
    TRect Up, Down;
  };
  const TRect SkinUp(10, 0, 20, 9), SkinDown(0, 0, 10, 9);
  const Row Rows[] = {
      {"horizontal: increasing on the right", 25, 50, false, false, {12, 0, 25, 50}, {0, 0, 12, 50}},
      {"vertical: increasing on top", 25, 50, true, false, {0, 0, 25, 25}, {0, 25, 25, 50}},
      {"odd height", 20, 11, true, false, {0, 0, 20, 5}, {0, 5, 20, 11}},
      {"skin rects win over the size", 60, 30, false, true, SkinUp, SkinDown},
      {"zero size", 0, 0, false, false, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    const TspUpDownButtons B = UpDownButtonLayout(W.W, W.H, W.Vertical, W.Skin, SkinUp, SkinDown);
    EXPECT_EQ(B[0], W.Up);
    EXPECT_EQ(B[1], W.Down);
  }
}

TEST(UpDownLayout, ButtonUnderPoint) {
  // Vertical 25 x 50: button 0 is (0, 0, 25, 25), button 1 (0, 25, 25, 50).
  const TspUpDownButtons B = UpDownButtonLayout(25, 50, true, false, TRect(), TRect());
  struct Row {
    const char* Name;
    TPoint P;
    Integer Captured, Expected;
  };
  const Row Rows[] = {
      {"upper half", {5, 5}, -1, 0},
      {"lower half", {5, 40}, -1, 1},
      {"shared edge belongs to button 0", {5, 25}, -1, 0},
      {"right and bottom edges included", {25, 50}, -1, 1},
      {"outside", {26, 10}, -1, -1},
      {"held button 0 keeps button 1 from counting", {5, 40}, 0, -1},
      {"held button 0 itself still counts", {5, 5}, 0, 0},
      {"held button 1 over button 0", {5, 5}, 1, -1},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(UpDownButtonAt(B, W.P, W.Captured), W.Expected);
  }
}

}  // namespace
