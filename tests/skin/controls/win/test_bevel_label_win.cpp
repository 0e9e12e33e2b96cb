// The skinned bevel's lines and colours and the standard label's text
// flags, fonts and embossed disabled text.
#include "tests/skin/controls/win/CtlTestUtil.h"

using namespace ctl;

namespace {

class BevelLabel : public SkinCtlTest {};

TEST_F(BevelLabel, DividerLinesAndSkinColours) {
  auto* B = new TspSkinBevel(Host);
  B->SetParent(Host);
  B->SetBounds(0, 0, 8, 22);
  B->SetShape(bsLeftLine);
  B->SetDividerMode(true);
  auto Img = Render(B);
  for (Integer Y = 2; Y <= 20; ++Y) {
    EXPECT_EQ(Px(Img.get(), 3, Y), Sys(clBtnShadow)) << Y;
    EXPECT_EQ(Px(Img.get(), 4, Y), Sys(clBtnHighlight)) << Y;
  }
  EXPECT_EQ(Px(Img.get(), 3, 1), TColor(clFuchsia));
  EXPECT_EQ(Px(Img.get(), 3, 21), TColor(clFuchsia));
  EXPECT_EQ(Px(Img.get(), 2, 10), TColor(clFuchsia));
  // The skin's colours; a skin without "bevel" gives the system's back; a
  // "bevel" of another kind keeps what there is.
  auto S = CoordSkin();
  S.Control(u"bevel", u"bevel", {u"lightcolor=65280", u"darkcolor=255"});
  auto SD = LoadSkin(S);
  B->SetSkinData(SD.get());
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 3, 10), TColor(clRed));
  EXPECT_EQ(Px(Img.get(), 4, 10), TColor(clLime));
  auto Other = CoordSkin();
  Other.Control(u"bevel", u"stdlabel", {u"fontcolor=0"});
  auto OtherSD = LoadSkin(Other);
  B->SetSkinData(OtherSD.get());
  EXPECT_EQ(B->DarkColor, TColor(clRed));
  auto None = LoadSkin(CoordSkin());
  B->SetSkinData(None.get());
  EXPECT_EQ(B->DarkColor, clBtnShadow);
  EXPECT_EQ(B->LightColor, clBtnHighlight);
  // Raised swaps them; a horizontal divider for the line shapes.
  B->SetStyle(bsRaised);
  B->SetShape(bsTopLine);
  B->SetBounds(0, 0, 30, 8);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 10, 3), Sys(clBtnHighlight));
  EXPECT_EQ(Px(Img.get(), 10, 4), Sys(clBtnShadow));
}

TEST_F(BevelLabel, LabelFontsAndFlags) {
  auto* L = new TspSkinStdLabel(Host);
  L->SetParent(Host);
  L->SetAutoSize(false);
  L->SetBounds(0, 0, 60, 20);
  L->SetCaption(u"A somewhat long caption");
  L->Font()->SetColor(clBlue);
  L->DefaultFont()->SetColor(clRed);
  auto Count = [](TBitmap* B, TColor C) {
    Integer N = 0;
    for (Integer X = 0; X < B->Width(); ++X)
      for (Integer Y = 0; Y < B->Height(); ++Y) N += Px(B, X, Y) == C;
    return N;
  };
  // Unskinned with UseSkinFont: DefaultFont, not Font.
  auto Img = Render(L);
  EXPECT_GT(Count(Img.get(), clRed), 0);
  EXPECT_EQ(Count(Img.get(), clBlue), 0);
  L->SetUseSkinFont(false);
  Img = Render(L);
  EXPECT_GT(Count(Img.get(), clBlue), 0);
  // A skin: its font and colour; with UseSkinColor off the label's own colour.
  auto S = CoordSkin();
  S.Control(u"stdlabel", u"stdlabel", {u"fontname=Arial", u"fontheight=20", u"fontcolor=65280"});
  auto SD = LoadSkin(S);
  L->SetUseSkinFont(true);
  L->SetSkinData(SD.get());
  Img = Render(L);
  EXPECT_GT(Count(Img.get(), clLime), 0);
  L->SetUseSkinColor(false);
  Img = Render(L);
  EXPECT_GT(Count(Img.get(), clBlue), 0);
  EXPECT_EQ(Count(Img.get(), clLime), 0);
  // An end ellipsis keeps the text inside and ends it in dots.
  L->SetSkinData(nullptr);
  L->SetUseSkinFont(false);
  L->SetEllipsType(spetEndEllips);
  Img = Render(L);
  EXPECT_GT(Count(Img.get(), clBlue), 0);
  // Disabled: the highlight one pixel down and right, the shadow over it.
  L->SetEllipsType(spetNone);
  L->SetEnabled(false);
  Img = Render(L);
  EXPECT_GT(Count(Img.get(), Sys(clBtnHighlight)), 0);
  EXPECT_GT(Count(Img.get(), Sys(clBtnShadow)), 0);
  EXPECT_EQ(Count(Img.get(), clBlue), 0);
}

// The label measures with the flags it draws with: an empty caption is one
// line high, "&" with ShowAccelChar too; without ShowAccelChar "&&" shows both.
TEST_F(BevelLabel, LabelMeasuring) {
  auto* L = new TspSkinStdLabel(Host);
  L->SetParent(Host);
  L->SetCaption(u"");
  EXPECT_GT(L->Height(), 5);
  const Integer OneLine = L->Height();
  L->SetCaption(u"&");
  EXPECT_EQ(L->Height(), OneLine);
  L->SetCaption(u"a&&b");
  const Integer WithPrefix = L->Width();
  L->SetShowAccelChar(false);
  EXPECT_GT(L->Width(), WithPrefix);
  L->SetWordWrap(true);
  L->SetAutoSize(false);
  L->SetWidth(20);
  L->SetAutoSize(true);
  L->SetCaption(u"one two three four");
  EXPECT_GT(L->Height(), OneLine);
}

}  // namespace
