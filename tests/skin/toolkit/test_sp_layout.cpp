// Glyph and caption placement, rectangle and version questions, ellipsis and
// the dotted focus frame.
#include "common/gtest.h"

#include <vector>

#include "skin/data/SpLayout.h"

namespace {

TEST(SpLayout, GlyphAndCaptionPlacement) {
  struct Case {
    TspButtonLayout L;
    Integer Margin;
    Integer TX, TY, GX, GY;
  } Cases[] = {
      // R (0, 0, 100, 40), glyph 16 x 16, text 25 x 13, spacing 1.
      {blGlyphLeft, -1, 46, 14, 29, 12},   {blGlyphRight, -1, 29, 14, 55, 12},
      {blGlyphTop, -1, 38, 22, 42, 5},     {blGlyphBottom, -1, 38, 5, 42, 19},
      {blGlyphLeft, 4, 21, 14, 4, 12},     {blGlyphRight, 4, 54, 14, 80, 12},
      {blGlyphTop, 4, 38, 21, 42, 4},      {blGlyphBottom, 4, 38, 6, 42, 20},
  };
  for (const Case& C : Cases) {
    Integer TX, TY, GX, GY;
    CalcGlyphTextPos(C.L, TRect(0, 0, 100, 40), 16, 16, 25, 13, 1, C.Margin, TX, TY, GX, GY);
    EXPECT_EQ((std::vector<Integer>{TX, TY, GX, GY}), (std::vector<Integer>{C.TX, C.TY, C.GX, C.GY}))
        << int(C.L) << " margin " << C.Margin;
  }
  // No glyph: no spacing; a centred 40 x 10 caption in (0, 0, 100, 20).
  Integer TX, TY, GX, GY;
  CalcGlyphTextPos(blGlyphLeft, TRect(0, 0, 100, 20), 0, 0, 40, 10, 7, -1, TX, TY, GX, GY);
  EXPECT_EQ(TX, 30);
  EXPECT_EQ(TY, 5);
  // Odd sums and negative halves truncate toward zero.
  CalcGlyphTextPos(blGlyphTop, TRect(0, 0, 1, 1), 3, 7, 5, 9, 0, -1, TX, TY, GX, GY);
  EXPECT_EQ(GY, 0 - 8);
  EXPECT_EQ(GX, 0 - 1);
}

TEST(SpLayout, RectanglePredicates) {
  const TRect R(0, 0, 10, 10);
  EXPECT_TRUE(PointWithinRect(R, TPoint(10, 10)));
  EXPECT_FALSE(RectInsideRect(TRect(2, 2, 10, 5), R));
  EXPECT_TRUE(RectInsideRect(TRect(2, 2, 9, 9), R));
  EXPECT_TRUE(RectIsEmpty(TRect(5, 5, 5, 9)));
  EXPECT_TRUE(PointHasZeroCoord(TPoint(0, 3)));
  EXPECT_TRUE(RectOverlapsVert(TRect(0, 3, 1, 20), R));
  EXPECT_FALSE(RectOverlapsVert(TRect(0, 12, 1, 20), R));
}

TEST(SpLayout, VersionTable) {
  struct Case {
    Integer Major, Minor;
    bool Win7, Vista, XP, W2000, Check;
  } Cases[] = {{4, 10, false, false, false, false, false}, {5, 0, false, false, false, true, true},
               {5, 1, false, false, true, true, true},      {5, 2, false, false, false, true, true},
               {5, 3, false, false, false, false, false},   {6, 0, false, true, true, true, true},
               {6, 1, true, true, true, true, true},         {6, 2, false, true, true, true, true}};
  for (const Case& C : Cases) {
    EXPECT_EQ(IsWindows7Version(C.Major, C.Minor), C.Win7) << C.Major << "." << C.Minor;
    EXPECT_EQ(IsVistaOrLaterVersion(C.Major, C.Minor), C.Vista) << C.Major << "." << C.Minor;
    EXPECT_EQ(IsXPOrLaterVersion(C.Major, C.Minor), C.XP) << C.Major << "." << C.Minor;
    EXPECT_EQ(IsWin2000OrLaterVersion(C.Major, C.Minor), C.W2000) << C.Major << "." << C.Minor;
    EXPECT_EQ(CheckWindowsVersionOf(C.Major, C.Minor), C.Check) << C.Major << "." << C.Minor;
  }
}

TEST(SpLayout, Ellipsis) {
  auto Width = [](const String& S) { return Integer(S.size()) * 10; };  // 10 px a code unit
  String S = u"abcdef";
  EllipsizeText(S, 60, Width);
  EXPECT_EQ(S, u"abcdef");
  EllipsizeText(S, 55, Width);
  EXPECT_EQ(S, u"ab...");
  S = u"abc";
  EllipsizeText(S, 20, Width);
  EXPECT_EQ(S, u"...");
  // A surrogate pair comes off whole.
  S = u"a\U0001F600bcd";
  EllipsizeText(S, 50, Width);  // half a pair would fit: "a" + high surrogate + "..."
  EXPECT_EQ(S, u"a...");
}

TEST(SpLayout, DottedFrame) {
  std::vector<TPoint> Dots;
  DottedFocusDots(TRect(0, 0, 11, 11), Dots);
  EXPECT_TRUE(std::find(Dots.begin(), Dots.end(), TPoint(0, 0)) == Dots.end());
  DottedFocusDots(TRect(0, 0, 10, 11), Dots);
  EXPECT_TRUE(std::find(Dots.begin(), Dots.end(), TPoint(0, 0)) != Dots.end());
  for (const TPoint& P : Dots) {
    EXPECT_TRUE(P.X == 0 || P.X == 9 || P.Y == 0 || P.Y == 10);
  }
  EXPECT_TRUE(IsJpegFileName(u"a.jpeg"));
  EXPECT_FALSE(IsJpegFileName(u"a.JPG"));
}

}  // namespace
