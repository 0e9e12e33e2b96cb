// The scroll box's range update along one axis as a table, and an invariant
// run over random adds, removes, resizes, bar moves and scroll requests: the
// children always sit scrolled by exactly the bar's position.
#include "common/gtest.h"

#include <algorithm>
#include <random>
#include <vector>

#include "skin/boxes/ScrollBoxRange.h"
#include "skin/controls/SkinBarGeometry.h"

namespace {

TEST(ScrollBoxRange, UpdateTable) {
  struct Row {
    const char* Name;
    TspScrollBoxAxisIn In;
    bool Show;
    Integer MoveBy, Max, Position, Page;
  };
  const Row Rows[] = {
      // ClientSize, ChildrenEnd, Position, BarMax, SizeOffset
      {"everything fits: empty range, hidden", {200, 150, 0, 0, 0}, false, 0, 0, 0, 0},
      {"fits after scrolling: back to the origin", {200, 100, 50, 399, 0}, false, 50, 0, 0, 0},
      {"no children while scrolled past a client: back and hidden", {200, 0, 300, 699, 0, true}, false, 300, 0, 0,
       0},
      {"500 high in 200: max 499, page 200", {200, 500, 0, 0, 0}, true, 0, 499, 0, 200},
      {"scrolled, still no gap", {200, 300, 100, 399, 0}, true, 0, 399, 100, 200},
      {"grew while scrolled past the end: pulled down by the growth", {250, 200, 200, 399, 50}, true, 50, 399, 150,
       250},
      {"growth larger than the position: down by the position", {250, 200, 80, 399, 100}, true, 80, 279, 0, 250},
      {"shrunk extent leaves a gap: D = CH - B", {200, 150, 100, 399, 0}, true, 50, 249, 50, 200},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    const TspScrollBoxAxisOut O = ScrollBoxAxisUpdate(R.In);
    EXPECT_EQ(O.Show, R.Show);
    EXPECT_EQ(O.MoveBy, R.MoveBy);
    EXPECT_EQ(O.Min, 0);
    EXPECT_EQ(O.Max, R.Max);
    EXPECT_EQ(O.Position, R.Position);
    EXPECT_EQ(O.PageSize, R.Page);
    EXPECT_EQ(O.OldPos, O.Position);
    EXPECT_EQ(O.SizeOffset, 0);
  }
}

TEST(ScrollBoxRange, ClampedPositionMovesTheChildrenToo) {
  // The extent did not shrink (E - 1 = BarMax), yet the view is past the end
  // (the box grew while aligned alNone): the bar can keep at most E - CH,
  // and the children follow it so no empty band is left.
  const TspScrollBoxAxisOut O = ScrollBoxAxisUpdate({250, 200, 200, 399, 0});
  EXPECT_EQ(O.Position, 150);
  EXPECT_EQ(O.MoveBy, 50);
}

TEST(ScrollBoxRange, RequestsAndScrollToControl) {
  // VScroll limits to Max - PageSize first; HScroll only to the bar's clamp.
  EXPECT_EQ(ScrollBoxRequestPosition(0, 499, 200, 1000, true), 299);
  EXPECT_EQ(ScrollBoxRequestPosition(0, 499, 200, 1000, false), 300);
  EXPECT_EQ(ScrollBoxRequestPosition(0, 499, 200, -5, true), 0);
  // A child wholly inside: no change; above: up by its distance; below: its
  // bottom edge brought to the client's bottom.
  EXPECT_EQ(ScrollBoxPositionForChild(100, 10, 50, 200, 0), 100);
  EXPECT_EQ(ScrollBoxPositionForChild(100, -40, 10, 200, 0), 60);
  EXPECT_EQ(ScrollBoxPositionForChild(100, 180, 260, 200, 0), 160);
}

// A model of one axis of the box: children spans in content coordinates,
// the offset they are scrolled by, the bar's range and position.
struct Model {
  std::vector<std::pair<Integer, Integer>> Children;  // content top, height
  Integer Offset = 0;                                 // how far the children are scrolled up
  Integer ClientSize = 200;
  Integer SizeOffset = 0;
  TspScrollRange Bar{0, 0, 0};
  Integer BarPos = 0;
  bool Shown = false;

  Integer ChildrenEnd() const {
    // Children scrolled wholly above the client give a negative end.
    if (Children.empty()) return 0;
    Integer B = Children.front().first + Children.front().second - Offset;
    for (auto& [T, H] : Children) B = std::max(B, T + H - Offset);
    return B;
  }
  void Update() {
    const TspScrollBoxAxisOut O =
        ScrollBoxAxisUpdate({ClientSize, ChildrenEnd(), BarPos, Bar.Max, SizeOffset, Children.empty()});
    Offset -= O.MoveBy;
    Bar = TspScrollRange{O.Min, O.Max, O.PageSize};
    BarPos = O.Position;
    SizeOffset = O.SizeOffset;
    Shown = O.Show;
  }
  // The bar's change event scrolls by the difference.
  void MoveBar(Integer P) {
    const Integer NewPos = ScrollClampPosition(Bar, P);
    Offset += NewPos - BarPos;
    BarPos = NewPos;
  }
};

TEST(ScrollBoxRange, ChildrenFollowTheBarOverRandomOperations) {
  std::mt19937 Rng(12345);
  for (int Run = 0; Run < 50; ++Run) {
    Model M;
    for (int Step = 0; Step < 200; ++Step) {
      switch (Rng() % 6) {
        case 0:
          M.Children.push_back({static_cast<Integer>(Rng() % 800), static_cast<Integer>(Rng() % 150 + 1)});
          break;
        case 1:
          if (!M.Children.empty()) M.Children.erase(M.Children.begin() + Rng() % M.Children.size());
          break;
        case 2: {
          const Integer NewSize = static_cast<Integer>(Rng() % 400 + 20);
          M.SizeOffset = NewSize > M.ClientSize ? NewSize - M.ClientSize : 0;
          M.ClientSize = NewSize;
          break;
        }
        case 3:
          if (M.Shown) M.MoveBar(static_cast<Integer>(Rng() % (M.Bar.Max + 1)));
          break;
        case 4:
          // VScroll: only the bar position is set; its change event scrolls.
          if (M.Shown)
            M.MoveBar(ScrollBoxRequestPosition(M.Bar.Min, M.Bar.Max, M.Bar.PageSize,
                                               static_cast<Integer>(Rng() % 1000), true));
          break;
        default:
          break;
      }
      M.Update();
      ASSERT_EQ(M.Offset, M.BarPos) << "run " << Run << " step " << Step;
      // Scrolled content never leaves an empty band below while it extends past the client.
      if (M.Shown) {
        ASSERT_GE(M.ChildrenEnd(), M.ClientSize) << "run " << Run << " step " << Step;
      } else {
        ASSERT_EQ(M.Offset, 0);
      }
    }
  }
}

}  // namespace
