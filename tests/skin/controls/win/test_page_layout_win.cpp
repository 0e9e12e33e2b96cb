// The skinned page control's layout over Wine's tab control: the page and
// tab rectangle corrections against Wine's measured rectangles, the room
// the reserve image list makes in every tab as glyphs, close buttons and
// the side change (always the sum of the current inputs), and the tab
// description read from a skin, including an entry of another class.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinTabs.h"

using namespace ctl;

namespace {

// The layout's tab rectangle through the control's handler (the control's
// own field TabRect is the skin's tab picture).
TRect Tab(TspSkinPageControl* P, Integer I) { return P->TCustomTabControl::TabRect(I); }

class PageLayoutWin : public SkinCtlTest {
 protected:
  // Short captions by default (Wine's tabs are at least 54 wide).
  TspSkinPageControl* Make(std::initializer_list<const char16_t*> Captions = {u"One", u"Two", u"Three"}) {
    auto* P = new TspSkinPageControl(Host);
    P->SetParent(Host);
    P->SetBounds(10, 10, 300, 100);
    P->Font()->SetHeight(-14);
    for (const char16_t* C : Captions) {
      auto* S = new TTabSheet(P);
      S->SetCaption(C);
      S->SetPageControl(P);
    }
    P->HandleNeeded();
    P->SetItemSize(0, 20);
    return P;
  }
};

TEST_F(PageLayoutWin, CorrectionsOverWinesRectangles) {
  auto* P = Make();
  // Wine: first tab at (2, 2), 20 high; page rectangle (4, 24, 296, 96).
  const TRect T0 = Tab(P, 0);
  EXPECT_EQ(T0.Left, 0);
  EXPECT_EQ(T0.Top, 0);
  EXPECT_EQ(T0.Bottom, 20);
  EXPECT_EQ(Tab(P, 1).Left, T0.Right) << "tabs still touch";
  EXPECT_EQ(P->GetItemRect(0), T0);
  EXPECT_EQ(P->DisplayRect(), TRect(1, 19 + 2, 299, 99));
}

TEST_F(PageLayoutWin, ReserveRoomFollowsItsInputs) {
  // Captions long enough that no tab is held at Wine's minimum width.
  auto* P = Make({u"A first page caption", u"Second"});
  const Integer W0 = Tab(P, 0).Width();
  auto Glyphs = std::make_unique<TCustomImageList>(nullptr, 16, 16);
  struct Step {
    const char* Name;
    std::function<void()> Act;
    Integer Extra;  // pixels added to every tab on top
    TPoint Reserve;
  };
  const Step Steps[] = {
      {"close buttons", [&] { P->SetShowCloseButtons(true); }, 14, {15, 1}},
      {"and glyphs", [&] { P->SetImages(Glyphs.get()); }, 30, {31, 1}},
      {"tabs on the left: heights", [&] { P->SetTabPosition(tpLeft); }, -1, {1, 31}},
      {"back on top", [&] { P->SetTabPosition(tpTop); }, 30, {31, 1}},
      {"glyphs widened after they were given, then taken away",
       [&] {
         Glyphs->SetSize(24, 24);
         P->SetImages(nullptr);
       },
       14, {15, 1}},
      {"close buttons off", [&] { P->SetShowCloseButtons(false); }, 0, {1, 1}},
  };
  for (const Step& S : Steps) {
    SCOPED_TRACE(S.Name);
    S.Act();
    EXPECT_EQ(TPoint(P->ReserveImages()->Width(), P->ReserveImages()->Height()), S.Reserve);
    if (S.Extra >= 0) {
      EXPECT_EQ(Tab(P, 0).Width(), W0 + S.Extra);
    }
  }
}

skintest::TFixtureSkin TabSkin(const String& Word, std::initializer_list<String> Lines) {
  auto S = CoordSkin();
  S.Control(u"tab", Word, Lines);
  return S;
}

TEST_F(PageLayoutWin, TabDescriptionRead) {
  auto SD = LoadSkin(TabSkin(u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                                      u"tabrect=0,100,40,122", u"closebuttonrect=200,0,12,14"}));
  auto* P = Make();
  P->SetSkinData(SD.get());
  ASSERT_TRUE(P->Skinned());
  EXPECT_NE(P->Picture, nullptr);
  EXPECT_EQ(P->ActiveTabRect, P->TabRect) << "no selected picture: the normal one";
  EXPECT_TRUE(P->FocusTabRect.Width() <= 0 || P->FocusTabRect.Height() <= 0)
      << "neither selected nor focused picture: no focused picture";
  EXPECT_EQ(P->ClosebuttonActiveRect, P->CloseButtonRect);
  EXPECT_EQ(P->CloseButtonDownRect, P->CloseButtonRect);
  // The fallbacks are written back into the shared description.
  auto* D = dynamic_cast<TspDataSkinTabControl*>(
      static_cast<TspDataSkinControl*>(SD->CtrlList->Items(SD->GetControlIndex(u"tab"))));
  ASSERT_NE(D, nullptr);
  EXPECT_EQ(D->CloseButtonDownRect, D->CloseButtonRect);
  // The skinned page rectangle: the tabs take the tab picture's height 22,
  // so Wine's page starts at 2 + 22 + 2; margins 3, 4, 4, 5 from the frame
  // picture.
  EXPECT_EQ(P->DisplayRect(), TRect(3, 26 - 6 + 4 + 2, 296, 95));
  EXPECT_EQ(P->Font()->Color(), 0);
}

TEST_F(PageLayoutWin, TabEntryOfAnotherClassCountsAsNone) {
  auto Good = LoadSkin(TabSkin(u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"tabrect=0,100,40,122"}));
  auto Bad = LoadSkin(TabSkin(u"button", {u"pictureindex=0", u"skinrect=0,0,100,60"}));
  auto* P = Make();
  P->SetSkinData(Good.get());
  ASSERT_TRUE(P->Skinned());
  P->SetSkinData(Bad.get());
  Good.reset();  // the earlier skin's pictures are gone
  EXPECT_FALSE(P->Skinned());
  EXPECT_EQ(P->Picture, nullptr);
  EXPECT_EQ(P->DisplayRect(), TRect(1, 21, 299, 99)) << "the unskinned corrections";
  EXPECT_EQ(P->Font()->Name(), u"Arial");
}

}  // namespace
