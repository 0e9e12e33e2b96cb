// The combo box's window-free decisions: the fixed style's key table,
// type-ahead and autocompletion on a fake clock, and where the list opens
// against a work area.
#include "common/gtest.h"

#include "skin/boxes/ComboKeys.h"

namespace {

using A = TspComboKeyAction;

TEST(ComboKeys, FixedStyleTable) {
  struct Row {
    const char* Name;
    Word Key;
    bool Alt, Shown;
    Integer Index, Count;
    A Action;
    Integer Result;
  };
  const Row Rows[] = {
      {"prior at 5 with 8 rows", ckPrior, false, false, 5, 20, A::Select, 0},
      {"next at 5 with 8 rows of 20", ckNext, false, false, 5, 20, A::Select, 12},
      {"prior at 15", ckPrior, false, false, 15, 20, A::Select, 6},
      {"next near the end", ckNext, false, false, 17, 20, A::Select, 19},
      {"up", ckUp, false, false, 3, 20, A::Select, 2},
      {"left at the first item", ckLeft, false, false, 0, 20, A::None, -1},
      {"down", ckDown, false, true, 3, 20, A::Select, 4},
      {"right at the last item", ckRight, false, false, 19, 20, A::None, -1},
      {"alt+down opens", ckDown, true, false, 3, 20, A::Open, -1},
      {"alt+down while open", ckDown, true, true, 3, 20, A::None, -1},
      {"alt+up closes cancelling", ckUp, true, true, 3, 20, A::CloseCancel, -1},
      {"alt+left closed", ckLeft, true, false, 3, 20, A::None, -1},
      {"return open", ckReturn, false, true, 3, 20, A::CloseAccept, -1},
      {"return closed", ckReturn, false, false, 3, 20, A::None, -1},
      {"escape open", ckEscape, false, true, 3, 20, A::CloseCancel, -1},
      {"escape closed", ckEscape, false, false, 3, 20, A::None, -1},
      {"next without a selection", ckNext, false, false, -1, 20, A::Select, 6},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    const TspComboKeyResult K = ComboFixedKey(R.Key, R.Alt, R.Shown, R.Index, R.Count, 8);
    EXPECT_EQ(K.Action, R.Action);
    if (R.Action == A::Select) {
      EXPECT_EQ(K.Index, R.Result);
    }
  }
}

TEST(ComboKeys, TypeAheadOnAFakeClock) {
  TspTypeAhead S;
  // "b" then "r" within half a second: a two-letter prefix from the top.
  TspSearch F = ComboTypeAhead(S, u'b', 10000, true, 4);
  EXPECT_EQ(F.Text, u"b");
  EXPECT_EQ(F.FromIndex, 4);
  F = ComboTypeAhead(S, u'r', 10400, true, 6);
  EXPECT_EQ(F.Text, u"br");
  EXPECT_EQ(F.FromIndex, -1);
  // 499 ms later the buffer is kept, 500 ms or more empties it.
  F = ComboTypeAhead(S, u'o', 10899, true, 6);
  EXPECT_EQ(F.Text, u"bro");
  F = ComboTypeAhead(S, u'w', 11398, true, 6);
  EXPECT_EQ(F.Text, u"brow");
  F = ComboTypeAhead(S, u'x', 11900, true, 6);
  EXPECT_EQ(F.Text, u"x");
  EXPECT_EQ(F.FromIndex, 6);
  // Without AutoComplete every character stands alone.
  F = ComboTypeAhead(S, u'y', 11901, false, 2);
  EXPECT_EQ(F.Text, u"y");
  EXPECT_EQ(F.FromIndex, 2);
  // A wrapped tick counter still measures the right difference.
  TspTypeAhead W;
  W.LastTime = 0xFFFFFF00u;
  W.Filter = u"a";
  F = ComboTypeAhead(W, u'b', 0x10u, true, 0);
  EXPECT_EQ(F.Text, u"ab");
}

TEST(ComboKeys, AutoCompletionGate) {
  TspTypeAhead S;
  S.LastTime = 1000;
  EXPECT_FALSE(ComboAutoCompleteDue(S, 1200));
  EXPECT_EQ(S.LastTime, 1000u);
  EXPECT_TRUE(ComboAutoCompleteDue(S, 1201));
  EXPECT_EQ(S.LastTime, 1201u);
  const TspSearch One = ComboCompletionSearch(u"a", 3), More = ComboCompletionSearch(u"ab", 3);
  EXPECT_EQ(One.FromIndex, 3);
  EXPECT_EQ(More.FromIndex, -1);
}

TEST(ComboKeys, DropDownPlacement) {
  const TRect Work(0, 0, 1000, 700);
  struct Row {
    const char* Name;
    TRect Control;
    Integer W, H;
    TPoint Expected;
  };
  const Row Rows[] = {
      {"below", {100, 100, 220, 120}, 120, 164, {100, 120}},
      {"exactly to the bottom", {100, 516, 220, 536}, 120, 164, {100, 536}},
      {"above, flush with the top", {100, 600, 220, 620}, 120, 164, {100, 436}},
      {"wider than the room to the right", {900, 100, 1020, 120}, 300, 164, {700, 120}},
      {"off the left edge", {-50, 100, 70, 120}, 120, 164, {0, 120}},
      {"wider than the work area", {100, 100, 220, 120}, 1200, 164, {0, 120}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(ComboDropDownOrigin(R.Control, R.W, R.H, Work), R.Expected);
  }
  EXPECT_EQ(ComboDropDownRows(3, 8), 3);
  EXPECT_EQ(ComboDropDownRows(30, 8), 8);
}

}  // namespace
