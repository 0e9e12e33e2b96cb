// The skinned tab control under Wine: where it differs from the page
// control (a caption nudge of 1, close-button state per tab entry, closing
// the tab whose button took press and release, no answer to the frame
// request), its client background for children, the transparent strip over
// a patterned parent, the font after a skin change, and 300 tabs with close
// buttons.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinMessages.h"

using namespace ctl;

namespace {

class TabControlWin : public SkinCtlTest {
 protected:
  TspSkinTabControl* Make(std::initializer_list<const char16_t*> Captions = {u"One", u"Two", u"Three"},
                          Integer W = 300, Integer H = 120) {
    auto* T = new TspSkinTabControl(Host);
    T->SetParent(Host);
    T->SetBounds(10, 10, W, H);
    T->HandleNeeded();
    auto L = std::make_unique<TStringList>();
    for (const char16_t* C : Captions) L->Add(C);
    T->SetTabs(L.get());
    T->SetItemSize(0, 20);
    Pump();
    return T;
  }
  TPoint Mid(TspSkinTabControl* T, Integer I) {
    const TRect R = T->GetItemRect(I);
    return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  }
  TPoint CloseButton(TspSkinTabControl* T, Integer I) {
    Render(T);
    const TRect R = T->GetItemRect(I), B = T->TabButtonRect(I);
    return TPoint(R.Left + (B.Left + B.Right) / 2, R.Top + (B.Top + B.Bottom) / 2);
  }
};

skintest::TFixtureSkin TabSkin(std::initializer_list<String> Extra = {}) {
  auto S = CoordSkin();
  std::initializer_list<String> Base = {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                                        u"lefttoppoint=3,4", u"righttoppoint=96,4", u"leftbottompoint=3,55",
                                        u"rightbottompoint=96,55", u"tabrect=0,100,40,122",
                                        u"activetabrect=50,100,90,125", u"fontcolor=255"};
  std::vector<String> Lines(Base);
  Lines.insert(Lines.end(), Extra.begin(), Extra.end());
  S.Control(u"tab", u"tab", {});
  for (const String& L : Lines) S.Keys(u"tab", {L});
  return S;
}

TEST_F(TabControlWin, DefaultLookAndTheFrameRequest) {
  auto* T = Make();
  T->SetTabIndex(0);
  auto B = Render(T);
  SaveScreen(u"default", u"tabcontrol", u"selected", B.get());
  const TRect T0 = T->GetItemRect(0), T1 = T->GetItemRect(1);
  EXPECT_EQ(Px(B.get(), T0.Left, T0.Top + 5), clNavy);
  EXPECT_EQ(Px(B.get(), T1.Left + 3, T1.Top + 3), Sys(clBtnFace));
  const TRect D = T->AdjustedClientRect();
  EXPECT_EQ(Px(B.get(), D.Left - 1, D.Top + 10), Sys(clBtnShadow));
  EXPECT_EQ(SendMessageW(T->Handle(), FEM_PAINT_FRAME, 0, 0), 0) << "the tab control does not answer it";
  // The mouse over the client area reaches the control.
  const TPoint S = T->ClientToScreen(TPoint(D.Left + 20, D.Top + 20));
  EXPECT_EQ(SendMessageW(T->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y)), HTCLIENT);
}

TEST_F(TabControlWin, UnselectedCaptionsMoveOnePixel) {
  auto SD = LoadSkin(TabSkin({u"closebuttonrect=200,0,212,12"}));
  auto* T = Make();
  auto Glyphs = std::make_unique<TCustomImageList>(nullptr, 8, 8);
  auto G = std::make_unique<TBitmap>();
  G->SetSize(8, 8);
  for (Integer I = 0; I < 3; ++I) Glyphs->Add(G.get(), nullptr);
  T->SetImages(Glyphs.get());
  T->SetShowCloseButtons(true);
  T->SetSkinData(SD.get());
  ASSERT_TRUE(T->Skinned());
  T->SetTabIndex(1);
  auto B = Render(T);
  SaveScreen(u"fixture", u"tabcontrol", u"close-buttons", B.get());
  // The close button is centred in the caption area, which starts 1 lower
  // on an unselected tab, plus the glyph offset 2: half of 3 is 1.
  EXPECT_EQ(T->TabButtonRect(0).Top - T->TabButtonRect(1).Top, 1);
  T->SetImages(nullptr);
}

TEST_F(TabControlWin, CloseButtonsCloseTheTabTheyBelongTo) {
  struct Case {
    const char* Name;
    bool RefuseChange;
    bool PressElsewhere;
    Integer Closed;  // -1 none
  };
  const Case Cases[] = {
      {"press and release on tab 2's button", false, false, 2},
      {"press elsewhere", false, true, -1},
      {"selection refused: still tab 2", true, false, 2},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* T = Make({u"A", u"B", u"C", u"D", u"E"}, 380);
    T->SetShowCloseButtons(true);
    T->SetTabIndex(0);
    if (C.RefuseChange) T->OnChanging = [](TObject*, bool& Allow) { Allow = false; };
    std::vector<Integer> Asked;
    T->OnClose = [&](Integer I, bool&) { Asked.push_back(I); };
    const TPoint B = CloseButton(T, 2);
    if (C.PressElsewhere) {
      Press(T, Mid(T, 4).X, Mid(T, 4).Y);
      Move(T, B.X, B.Y);
    } else {
      Press(T, B.X, B.Y);
      EXPECT_TRUE(T->TabButtonDown(2));
    }
    Release(T, B.X, B.Y);
    Pump();
    if (C.Closed < 0) {
      EXPECT_TRUE(Asked.empty());
      EXPECT_EQ(T->Tabs()->Count(), 5);
      continue;
    }
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0], 2);
    ASSERT_EQ(T->Tabs()->Count(), 4);
    EXPECT_EQ(T->Tabs()->Strings(2), u"D");
    EXPECT_EQ(T->Tabs()->Strings(0), u"A");
  }
}

TEST_F(TabControlWin, ThreeHundredTabsWithCloseButtons) {
  auto* T = Make({});
  auto L = std::make_unique<TStringList>();
  for (Integer I = 0; I < 300; ++I) L->Add(u"Tab " + IntToStr(I));
  T->SetShowCloseButtons(true);
  T->SetTabs(L.get());
  Pump();
  EXPECT_GE(T->ButtonEntries(), 300) << "an entry for every tab";
  ASSERT_NE(T->SkinUpDown(), nullptr);
  T->SetTabIndex(299);
  Pump();
  EXPECT_EQ(T->SkinUpDown()->Position(), T->GetScrolledTabCount());
  const Integer First = T->GetScrolledTabCount();
  const TPoint B = CloseButton(T, First);
  Move(T, B.X, B.Y, false);
  EXPECT_TRUE(T->TabButtonHot(First));
  Press(T, B.X, B.Y);
  Release(T, B.X, B.Y);
  EXPECT_EQ(T->Tabs()->Count(), 299);
  T->SetTabIndex(-1);
  Render(T);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(TabControlWin, ChildrenGetTheClientBackground) {
  auto SD = LoadSkin(TabSkin());
  auto* T = Make();
  T->SetSkinData(SD.get());
  auto* Child = new THost(Host);
  Child->SetParent(T);
  Child->SetBounds(30, 50, 40, 30);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(40, 30);
  PaintParentBackground(Child, B->Canvas());
  // The 93 x 51 client piece from (3, 4), tiled from the control's corner:
  // never the frame or a tab.
  for (const TPoint& P : {TPoint(0, 0), TPoint(39, 29), TPoint(10, 5)}) {
    const Integer X = (30 + P.X) % 93, Y = (50 + P.Y) % 51;
    EXPECT_EQ(Px(B.get(), P.X, P.Y), Coord(3 + X, 4 + Y)) << P.X << "," << P.Y;
  }
}

TEST_F(TabControlWin, TransparentStripOverAPatternedParent) {
  auto SD = LoadSkin(TabSkin());
  Host->Ground = clWhite;
  Host->Check = clBlack;
  auto* T = Make({u"Effects"});
  T->SetSkinData(SD.get());
  T->SetTabsBGTransparent(true);
  T->SetTabIndex(0);
  auto B = Render(T);
  SaveScreen(u"fixture", u"tabcontrol", u"transparent-strip", B.get());
  for (Integer X = T->GetItemRect(0).Right + 8; X < T->Width() - 4; X += 7) {
    const Integer HX = X + 10, HY = 2 + 10;
    const TColor Want = ((HX / 4) % 2) == ((HY / 4) % 2) ? clBlack : clWhite;
    EXPECT_EQ(Px(B.get(), X, 2), Want) << "x " << X;
  }
}

TEST_F(TabControlWin, FontColourAfterASkinChange) {
  auto SD = LoadSkin(TabSkin());
  auto* T = Make();
  T->DefaultFont()->SetColor(clGreen);
  T->SetUseSkinFont(true);
  T->SetSkinData(SD.get());
  EXPECT_EQ(T->Font()->Color(), TColor(255)) << "the description's colour";
  T->SetUseSkinFont(false);
  T->ChangeSkinData();
  EXPECT_EQ(T->Font()->Color(), clGreen) << "the default font's";
}

TEST_F(TabControlWin, HotSelectedTabStaysHotWhenTheMouseLeaves) {
  auto* T = Make();
  T->SetTabIndex(1);
  Move(T, Mid(T, 1).X, Mid(T, 1).Y, false);
  EXPECT_EQ(T->HotTab(), 1);
  Move(Host, 380, 280, false);
  EXPECT_EQ(T->HotTab(), 1);
  Move(T, Mid(T, 2).X, Mid(T, 2).Y, false);
  EXPECT_EQ(T->HotTab(), 2);
  Move(Host, 380, 280, false);
  EXPECT_EQ(T->HotTab(), -1);
}

// The main window's effect tabs over a patterned parent, in each made
// scheme and the default look: tabs replaced and selected from code.
TEST_F(TabControlWin, ScreensOfTheEffectTabs) {
  std::vector<String> Schemes{u"default"};
  for (const String& N : MadeSchemeNames()) Schemes.push_back(N);
  Host->Ground = clWhite;
  Host->Check = TColor(0xC0C0C0);
  for (const String& Scheme : Schemes) {
    SCOPED_TRACE(ToUtf8(Scheme));
    std::unique_ptr<TspSkinData> SD = Scheme == u"default" ? nullptr : MadeScheme(Scheme);
    auto* T = Make({u"A", u"B", u"C"}, 240, 200);
    T->SetTabHeight(20);
    T->SetUseSkinFont(false);
    T->SetTabsBGTransparent(true);
    if (SD) T->SetSkinData(SD.get());
    auto L = std::make_unique<TStringList>();
    for (const char16_t* C : {u"Artistic", u"Colour", u"Blur"}) L->Add(C);
    T->SetTabs(L.get());
    T->SetTabIndex(1);
    Pump();
    EXPECT_EQ(T->TabIndex(), 1);
    auto B = Grab(T);
    SaveScreen(Scheme, u"tabcontrol", u"effect-tabs", B.get());
    delete T;
  }
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
