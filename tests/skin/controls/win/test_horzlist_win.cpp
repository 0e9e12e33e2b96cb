// The horizontal item list in a real window: its scroll bar made and freed
// with the row's length, the current item by code (refused indexes change
// nothing), by the mouse and by the keys, the redraw pair, and the row
// pulled back after a widening; the current item's glow.
#include <algorithm>

#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/win/SkinHorzListBox.h"

using namespace ctl;

namespace {

class HorzListWin : public SkinCtlTest {
 protected:
  TspSkinHorzListBox* Make(Integer Count) {
    auto* L = new TspSkinHorzListBox(Host);
    L->SetParent(Host);
    L->SetBounds(10, 10, 250, 100);
    L->HandleNeeded();
    for (Integer I = 0; I < Count; ++I) {
      TspSkinHorzItem* It = L->Items()->Add();
      It->SetCaption(u"Item " + IntToStr(I));
      It->OnClick = [this, I](TObject*) { Events.push_back("item" + std::to_string(I)); };
    }
    L->OnItemClick = [this](TObject*) { Events.push_back("list"); };
    Pump();
    return L;
  }
  std::vector<std::string> Events;
};

TEST_F(HorzListWin, ScrollBarComesAndGoesWithTheRow) {
  auto* L = Make(4);
  TspSkinScrollBar* SB = L->ScrollBar();
  ASSERT_NE(SB, nullptr);
  EXPECT_EQ(SB->Height(), 19);
  EXPECT_EQ(SB->BoundsRect(), TRect(2, 98 - 19, 248, 98));
  EXPECT_EQ(SB->SkinDataName(), u"hscrollbar");
  Integer Min = -1, Max = -1, Page = -1, Pos = -1;
  L->GetScrollInfo(Min, Max, Page, Pos);
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 280);
  EXPECT_EQ(Page, 246);
  EXPECT_EQ(SB->Max(), 280);
  EXPECT_EQ(SB->PageSize(), 246);
  EXPECT_EQ(L->ItemsRect().Bottom, 98 - 19) << "the items lose the bar's height";
  auto Img = Render(L);
  SaveScreen(u"default", u"horzlist", u"scrollbar", Grab(L).get());
  L->Items()->Delete(3);
  EXPECT_EQ(L->ScrollBar(), nullptr) << "the row fits again";
  EXPECT_EQ(L->ItemsRect().Bottom, 98);
}

TEST_F(HorzListWin, ScrollingByTheBarAndTheWheel) {
  auto* L = Make(6);
  ASSERT_NE(L->ScrollBar(), nullptr);
  L->ScrollBar()->SetPosition(70);
  EXPECT_EQ(L->ScrollOffset(), 70);
  SendMessageW(L->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
  EXPECT_EQ(L->ScrollOffset(), 140);
  SendMessageW(L->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(L->ScrollOffset(), 70);
}

TEST_F(HorzListWin, ItemIndexByCode) {
  auto* L = Make(4);
  L->SetItemIndex(1);
  EXPECT_EQ(Events, (std::vector<std::string>{"item1", "list"}));
  EXPECT_TRUE(L->Items()->Items(1)->Active);
  Events.clear();
  L->SetItemIndex(-1);
  EXPECT_EQ(L->ItemIndex(), -1);
  EXPECT_TRUE(L->Items()->Items(1)->Active) << "the old item stays drawn as current";
  EXPECT_TRUE(Events.empty());
  // An index past the list is refused before anything changes.
  L->SetItemIndex(2);
  Events.clear();
  EXPECT_THROW(L->SetItemIndex(4), EListError);
  EXPECT_EQ(L->ItemIndex(), 2);
  EXPECT_TRUE(L->Items()->Items(2)->Active);
  EXPECT_TRUE(Events.empty());
  // While loading nothing fires.
  L->BeginLoading();
  L->SetItemIndex(3);
  EXPECT_TRUE(Events.empty());
  L->EndLoading();
  EXPECT_EQ(L->ItemIndex(), 3);
  EXPECT_GT(L->ScrollOffset(), 0) << "loading brings the current item into view";
}

TEST_F(HorzListWin, MousePressIsSilentReleaseChooses) {
  auto* L = Make(3);
  L->Items()->Items(2)->SetEnabled(false);
  Press(L, 100, 20);  // item 1
  EXPECT_EQ(L->ItemIndex(), 1);
  EXPECT_TRUE(Events.empty());
  Release(L, 100, 20);
  EXPECT_EQ(Events, (std::vector<std::string>{"item1", "list"}));
  Events.clear();
  // Released over the disabled item: nothing.
  Press(L, 30, 20);
  Move(L, 170, 20);
  Release(L, 170, 20);
  EXPECT_EQ(Events, std::vector<std::string>{});
  EXPECT_EQ(L->ItemIndex(), 0);
  // Moving without a button changes the item silently when asked to.
  L->SetMouseMoveChangeIndex(true);
  Move(L, 100, 20, false);
  EXPECT_EQ(L->ItemIndex(), 1);
  Move(L, 30, 20, false);
  EXPECT_EQ(L->ItemIndex(), 0);
  EXPECT_TRUE(Events.empty());
}

TEST_F(HorzListWin, KeysFindEnabledItems) {
  auto* L = Make(6);
  L->Items()->Items(3)->SetEnabled(false);
  L->SetFocus();
  Pump();
  struct Row {
    WPARAM Key;
    Integer Index;
  };
  // The area holds three items (246 / 70): Page Down from none goes up to 3,
  // which is disabled, so 2.
  for (const Row& R : {Row{VK_NEXT, 2}, Row{VK_RIGHT, 4}, Row{VK_LEFT, 2}, Row{VK_PRIOR, 0}, Row{VK_UP, 0},
                       Row{VK_END, 0}}) {
    SendKey(L->Handle(), WM_KEYDOWN, R.Key);
    EXPECT_EQ(L->ItemIndex(), R.Index) << R.Key;
  }
  EXPECT_EQ(L->Perform(WM_GETDLGCODE, 0, 0), LRESULT(DLGC_WANTARROWS));
  SharedForm()->SetFocus();
  Pump();
}

TEST_F(HorzListWin, RedrawPairKeepsTheControlVisible) {
  auto* L = Make(2);
  L->BeginUpdateItems();
  EXPECT_TRUE(L->Visible());
  EXPECT_TRUE(L->Showing());
  for (int I = 0; I < 5; ++I) L->Items()->Add();
  EXPECT_EQ(L->ScrollBar(), nullptr) << "no scroll bar work while updating";
  L->EndUpdateItems();
  EXPECT_TRUE(L->Visible());
  EXPECT_TRUE(IsWindowVisible(L->Handle()));
  EXPECT_NE(L->ScrollBar(), nullptr);
}

TEST_F(HorzListWin, WideningAfterScrollingToTheEndPullsTheRowBack) {
  auto* L = Make(5);
  L->SetItemIndex(4);
  const Integer Scrolled = L->ScrollOffset();
  EXPECT_GT(Scrolled, 0);
  L->SetWidth(300);
  EXPECT_LT(L->ScrollOffset(), Scrolled);
  EXPECT_GE(L->ScrollOffset(), 0);
  L->SetWidth(400);
  EXPECT_EQ(L->ScrollOffset(), 0);
  EXPECT_EQ(L->ScrollBar(), nullptr);
}

TEST_F(HorzListWin, DefaultLookOfTheCurrentItem) {
  auto* L = Make(3);
  L->SetItemIndex(1);
  auto Img = Render(L);
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 75, 5), Sys(clHighlight)) << "the current item";
  EXPECT_EQ(Px(Img.get(), 5, 5), Sys(clWindow));
  SaveScreen(u"default", u"horzlist", u"current", Img.get());
}

// A frame of the coordinate picture for the list, and a "listbox"
// description whose current item comes from the rect at (100, 100).
skintest::TFixtureSkin ListSkin(const String& FrameName) {
  auto S = CoordSkin();
  S.Control(FrameName, u"panel",
            {u"pictureindex=0", u"skinrect=0,0,60,40", u"lefttoppoint=5,5", u"righttoppoint=55,5",
             u"leftbottompoint=5,35", u"rightbottompoint=55,35", u"clientrect=5,5,55,35"});
  if (FrameName != u"listbox")
    S.Control(u"listbox", u"listbox",
              {u"pictureindex=0", u"skinrect=0,0,60,40", u"activeitemrect=100,100,140,120",
               u"focusitemrect=100,130,140,150", u"itemtextrect=2,2,38,18", u"fontcolor=255"});
  return S;
}

TEST_F(HorzListWin, SkinnedItemsUseTheListBoxDescription) {
  auto SD = LoadSkin(ListSkin(u"resizetoolpanel"));
  auto* L = Make(3);
  L->SetSkinDataName(u"resizetoolpanel");
  L->SetSkinData(SD.get());
  ASSERT_TRUE(L->Skinned());
  EXPECT_EQ(L->ItemsRect().Left, 5) << "the items area is the frame's client area";
  L->SetItemIndex(1);
  auto Img = Render(L);
  const TRect R = L->Items()->Items(1)->ItemRect;
  // The current item's background is the description's active item rect,
  // stretched over the item; the frame shows elsewhere.
  EXPECT_EQ(Px(Img.get(), R.Left, R.Top), Coord(100, 100));
  EXPECT_EQ(Px(Img.get(), 1, 1), Coord(1, 1));
  // Captions are drawn on a clear ground, also those drawn after the current
  // item (the coordinate picture has no white).
  Integer White = 0;
  for (Integer Y = 0; Y < Img->Height(); ++Y)
    for (Integer X = 0; X < Img->Width(); ++X) White += Px(Img.get(), X, Y) == clWhite;
  EXPECT_EQ(White, 0);
  SaveScreen(u"test", u"horzlist", u"current", Img.get());
  // Without a "listbox" description the items are left undrawn, the frame stays.
  auto NoList = CoordSkin();
  NoList.Control(u"resizetoolpanel", u"panel",
                 {u"pictureindex=0", u"skinrect=0,0,60,40", u"lefttoppoint=5,5", u"righttoppoint=55,5",
                  u"leftbottompoint=5,35", u"rightbottompoint=55,35", u"clientrect=5,5,55,35"});
  auto SD2 = LoadSkin(NoList);
  L->SetSkinData(SD2.get());
  Img = Render(L);
  EXPECT_NE(Px(Img.get(), R.Left, R.Top), Coord(100, 100));
  EXPECT_EQ(Px(Img.get(), 1, 1), Coord(1, 1));
}

// The ink of the glyph used below: a square inside a white border (the
// border's colour is what the glow's silhouette leaves out).
constexpr TColor GlyphInk = TColor(0x204080);

// C moved from From toward To: different, and channel by channel between them
// (one step of rounding allowed).
bool TintedToward(TColor C, TColor From, TColor To) {
  if (C == From) return false;
  for (int Shift : {0, 8, 16}) {
    const int c = (C >> Shift) & 0xFF, f = (From >> Shift) & 0xFF, t = (To >> Shift) & 0xFF;
    if (c < std::min(f, t) - 1 || c > std::max(f, t) + 1) return false;
  }
  return true;
}

TEST_F(HorzListWin, ShowGlowHaloesOnlyTheCurrentItem) {
  auto Skin = ListSkin(u"resizetoolpanel");
  Skin.Keys(u"SKINCOLORS", {u"chighlight=65280"});
  auto SD = LoadSkin(Skin);
  auto Glyph = skintest::FlatPicture(16, 16, clWhite, {{TRect(2, 2, 14, 14), GlyphInk}});
  auto* IL = new TCustomImageList(Host, 16, 16);
  IL->Add(Glyph.get(), nullptr);
  struct Case {
    const char16_t* Scheme;
    bool Skinned;
    TColor Glow;
    // The default look draws the glyph as enabled as the item, the skinned
    // one as enabled as the control.
    bool InkWhileControlDisabled;
  };
  for (const Case& K : {Case{u"default", false, TColor(0xFFFF00), true}, Case{u"test", true, TColor(0x00FF00), false}}) {
    SCOPED_TRACE(ToUtf8(K.Scheme));
    auto* L = Make(3);
    L->SetImages(IL);
    for (Integer I = 0; I < 3; ++I) L->Items()->Items(I)->SetImageIndex(0);
    // Wider than the item: its glow would reach the neighbours unclipped.
    L->Items()->Items(1)->SetCaption(u"WWWWWWWWWWWWWWWW");
    if (K.Skinned) {
      L->SetSkinDataName(u"resizetoolpanel");
      L->SetSkinData(SD.get());
      ASSERT_TRUE(L->Skinned());
    }
    L->SetShowGlow(true);
    auto Plain = Render(L);
    L->SetItemIndex(1);
    auto Glow = Render(L);
    SaveScreen(K.Scheme, u"horzlist", u"glow", Glow.get());
    const TRect R = L->Items()->Items(1)->ItemRect;
    Integer Outside = 0;
    TRect Ink(R.Right, R.Bottom, R.Left, R.Top);
    for (Integer Y = 0; Y < L->Height(); ++Y)
      for (Integer X = 0; X < L->Width(); ++X) {
        const bool In = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
        if (!In && Px(Glow.get(), X, Y) != Px(Plain.get(), X, Y)) ++Outside;
        if (In && Px(Glow.get(), X, Y) == GlyphInk) {
          Ink.Left = std::min(Ink.Left, X);
          Ink.Top = std::min(Ink.Top, Y);
          Ink.Right = std::max(Ink.Right, X + 1);
          Ink.Bottom = std::max(Ink.Bottom, Y + 1);
        }
      }
    EXPECT_EQ(Outside, 0) << "the other items get no glow and the current one's stays inside it";
    ASSERT_EQ(Ink.Width(), 12) << "the glyph is drawn over its glow";
    ASSERT_EQ(Ink.Height(), 12);
    // Near the glyph the ground takes the glow's colour; past the glow's
    // reach it stays as it was.
    const TPoint Near[] = {TPoint(Ink.Left - 4, Ink.Top + 6), TPoint(Ink.Left + 6, Ink.Top - 4)};
    for (const TPoint& P : Near)
      EXPECT_TRUE(TintedToward(Px(Glow.get(), P.X, P.Y), Px(Plain.get(), P.X, P.Y), K.Glow))
          << P.X << "," << P.Y << ": " << std::hex << Px(Glow.get(), P.X, P.Y) << " over "
          << Px(Plain.get(), P.X, P.Y);
    EXPECT_EQ(Px(Glow.get(), Ink.Left + 6, Ink.Top - 10), Px(Plain.get(), Ink.Left + 6, Ink.Top - 10));
    L->SetEnabled(false);
    auto Disabled = Render(L);
    EXPECT_EQ(Px(Disabled.get(), Ink.Left + 6, Ink.Top + 6) == GlyphInk, K.InkWhileControlDisabled);
    delete L;
  }
}

}  // namespace
