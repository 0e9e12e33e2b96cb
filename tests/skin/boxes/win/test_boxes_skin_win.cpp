// The scroll box and the list box from a fixture skin whose picture names
// its own coordinates: the scroll box's frame widths, frame strips and
// tiled background, the list box's item pictures and item height, and a
// description of the wrong class giving the default look.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/SkinMessages.h"

namespace ctl {
namespace {

skintest::TFixtureSkin BoxesSkin(bool Background) {
  auto S = CoordSkin();
  S.Control(u"scrollbox", u"scrollbox",
            {u"pictureindex=0", u"skinrect=0,150,40,190", u"lefttoppoint=6,6", u"righttoppoint=34,6",
             u"leftbottompoint=6,34", u"rightbottompoint=34,34", u"clientrect=6,6,34,34",
             Background ? u"bgpictureindex=0" : u"bgpictureindex=-1"});
  S.Control(u"listbox", u"listbox",
            {u"pictureindex=0", u"skinrect=0,0,60,60", u"lefttoppoint=3,3", u"righttoppoint=57,3",
             u"leftbottompoint=3,57", u"rightbottompoint=57,57", u"clientrect=3,3,57,57",
             u"itemrect=0,200,60,220", u"activeitemrect=60,200,120,220", u"focusitemrect=120,200,180,220",
             u"itemleftoffset=2", u"itemrightoffset=2", u"itemtextrect=4,2,56,18", u"fontcolor=0"});
  return S;
}

class BoxesSkinTest : public SkinCtlTest {};

TEST_F(BoxesSkinTest, ScrollBoxFrameAndBackground) {
  auto SD = LoadSkin(BoxesSkin(false));
  auto* Box = new TspSkinScrollBox(Host);
  Box->SetBounds(0, 0, 150, 150);
  Box->SetParent(Host);
  Box->SetSkinData(SD.get());
  Pump();
  ASSERT_TRUE(Box->Skinned());
  EXPECT_EQ(Box->ClientWidth(), 150 - 12);
  EXPECT_EQ(Box->ClientHeight(), 150 - 12);
  // The frame strips from the skin rect, the corners at their places.
  TBitmap F;
  F.SetPixelFormat(pf24bit);
  F.SetSize(150, 150);
  SendMessageW(Box->Handle(), FEM_PAINT_FRAME, reinterpret_cast<WPARAM>(F.Canvas()->Handle()), 0);
  EXPECT_EQ(Px(&F, 0, 0), Coord(0, 150));
  EXPECT_EQ(Px(&F, 149, 149), Coord(39, 189));
  EXPECT_EQ(Px(&F, 2, 149), Coord(2, 189));
  // The client area tiles the client part of the skin rect from its corner.
  auto B = Render(Box);
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(6, 156));
  EXPECT_EQ(Px(B.get(), 27, 27), Coord(33, 183));
  EXPECT_EQ(Px(B.get(), 28, 28), Coord(6, 156));
  SaveScreen(u"fixture", u"scrollbox", u"skinned", B.get());

  // A background picture: no frame at all.
  auto SD2 = LoadSkin(BoxesSkin(true));
  Box->SetSkinData(SD2.get());
  Pump();
  EXPECT_EQ(Box->ClientWidth(), 150);
  EXPECT_EQ(SendMessageW(Box->Handle(), FEM_PAINT_FRAME, reinterpret_cast<WPARAM>(F.Canvas()->Handle()), 0), 0);
}

TEST_F(BoxesSkinTest, ListItemsFromTheSkin) {
  auto SD = LoadSkin(BoxesSkin(false));
  auto* L = new TspSkinListBox(Host);
  L->SetBounds(0, 0, 120, 120);
  L->SetParent(Host);
  for (const char16_t* S : {u"one", u"two", u"three"}) L->Items()->Add(S);
  L->SetSkinData(SD.get());
  Pump();
  // The item height is the item picture's; the inner list fills the grown client rect.
  EXPECT_EQ(L->ListBox->ItemHeight(), 20);
  EXPECT_EQ(L->ListBox->BoundsRect(), TRect(3, 3, 117, 117));
  L->SetItemIndex(1);
  auto B = Render(L->ListBox);
  // Plain item: the left part copied, then the middle tiled.
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 200));
  EXPECT_EQ(Px(B.get(), 1, 5), Coord(1, 205));
  // Selected item: the active picture.
  EXPECT_EQ(Px(B.get(), 0, 20), Coord(60, 200));
  // Below the items: the client part of the skin picture, tiled.
  EXPECT_EQ(Px(B.get(), 0, 60), Coord(3, 3 + 60 % 54));
  SaveScreen(u"fixture", u"listbox", u"skinned", B.get());

  // A "listbox" description of another class: the default look.
  auto S = CoordSkin();
  S.Control(u"listbox", u"panel", {u"pictureindex=0", u"skinrect=0,150,40,190", u"clientrect=6,6,34,34"});
  auto Wrong = LoadSkin(S);
  L->SetSkinData(Wrong.get());
  Pump();
  EXPECT_EQ(L->ListBox->ItemHeight(), 20);
  EXPECT_EQ(L->ItemIndex(), 1);
  EXPECT_FALSE(L->Skinned());
  auto D = Render(L->ListBox);
  EXPECT_EQ(Px(D.get(), 80, 25), Sys(clHighlight));
  EXPECT_EQ(Px(D.get(), 80, 5), Sys(clWindow));
}

TEST_F(BoxesSkinTest, ComboFromTheSkin) {
  auto S = CoordSkin();
  S.Control(u"combobox", u"combobox",
            {u"pictureindex=0", u"skinrect=0,230,100,250", u"lefttoppoint=3,0", u"righttoppoint=97,0",
             u"clientrect=3,3,80,17", u"buttonrect=80,2,98,18", u"activebuttonrect=100,230,118,246",
             u"downbuttonrect=120,230,138,246", u"itemrect=140,230,200,244", u"focusitemrect=140,246,200,260",
             u"itemleftoffset=2", u"itemrightoffset=2", u"itemtextrect=2,1,58,13", u"fontcolor=0"});
  auto SD = LoadSkin(S);
  auto* CB = new TspSkinComboBox(Host);
  CB->SetBounds(0, 0, 120, 30);
  CB->SetParent(Host);
  CB->Items()->Add(u"x");
  CB->SetSkinData(SD.get());
  Pump();
  // The skin keeps its height; the button moves with the width.
  EXPECT_EQ(CB->Height(), 20);
  EXPECT_EQ(CB->Button.R, TRect(100, 2, 118, 18));
  EXPECT_EQ(CB->CBItem.R, TRect(3, 3, 100, 17));
  auto B = Render(CB);
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 230));
  EXPECT_EQ(Px(B.get(), 119, 0), Coord(99, 230));
  EXPECT_EQ(Px(B.get(), 3, 3), Coord(140, 230));  // the item picture's left part
  // The pointer over the button: its hot picture.
  Move(CB, 105, 10, false);
  auto H = Render(CB);
  EXPECT_EQ(Px(H.get(), 100, 2), Coord(100, 230));
  // Focused: the focus item picture.
  CB->SetFocus();
  Pump();
  auto F = Render(CB);
  EXPECT_EQ(Px(F.get(), 3, 3), Coord(140, 246));
  SaveScreen(u"fixture", u"combobox", u"focused", F.get());
}

}  // namespace
}  // namespace ctl
