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

// An edit-style combo through skin changes: the skin's height, the inner
// edit in the item rect at its font's height (the skin font), and back in
// the default layout when the skin goes.
TEST_F(BoxesSkinTest, EditComboFollowsSkinChanges) {
  auto S = CoordSkin();
  S.Control(u"combobox", u"combobox",
            {u"pictureindex=0", u"skinrect=0,230,100,250", u"lefttoppoint=3,0", u"righttoppoint=97,0",
             u"clientrect=3,3,80,17", u"buttonrect=80,2,98,18", u"itemrect=140,230,200,244",
             u"itemtextrect=2,1,58,13", u"fontname=Liberation Sans", u"fontheight=9", u"fontcolor=0"});
  auto SD = LoadSkin(S);
  auto* CB = new TspSkinComboBox(Host);
  CB->SetBounds(0, 0, 120, 30);
  CB->SetParent(Host);
  CB->SetStyle(spcbEditStyle);
  CB->Items()->Add(u"x");
  Pump();
  TspCustomEdit* E = CB->EditObject();
  ASSERT_NE(E, nullptr);
  const TRect DefaultEdit = E->BoundsRect();
  CB->SetSkinData(SD.get());
  Pump();
  EXPECT_EQ(CB->Height(), 20);
  EXPECT_EQ(E->Font()->Height(), 9);
  const Integer EH = FontCellHeight(E->Font());
  EXPECT_EQ(E->BoundsRect(), TRect(3, 3 + 14 / 2 - EH / 2, 100, 3 + 14 / 2 - EH / 2 + EH));
  SaveScreen(u"fixture", u"combobox", u"edit-style", Render(CB).get());
  // Without the skin (the form's walk sends the change): the default layout
  // and font again.
  CB->SetSkinData(nullptr);
  CB->ChangeSkinData();
  CB->SetBounds(0, 0, 120, 30);
  Pump();
  EXPECT_EQ(E->Left(), DefaultEdit.Left);
  EXPECT_EQ(E->Width(), DefaultEdit.Width());
  EXPECT_EQ(E->Font()->Height(), CB->DefaultFont()->Height());
}

TEST_F(BoxesSkinTest, ComboToolButtonAndStretchedButtonFromButtonDescriptions) {
  auto S = CoordSkin();
  S.Control(u"combobox", u"combobox",
            {u"pictureindex=0", u"skinrect=0,230,100,250", u"lefttoppoint=3,0", u"righttoppoint=97,0",
             u"clientrect=3,3,80,17", u"buttonrect=80,2,98,18", u"itemrect=140,230,200,244",
             u"itemtextrect=2,1,58,13"});
  S.Control(u"resizetoolbutton", u"button",
            {u"pictureindex=0", u"skinrect=0,100,30,120", u"activeskinrect=30,100,60,120",
             u"downskinrect=60,100,90,120", u"lefttoppoint=4,4", u"righttoppoint=26,4", u"leftbottompoint=4,16",
             u"rightbottompoint=26,16", u"clientrect=4,4,26,16", u"fontcolor=0", u"downfontcolor=255"});
  S.Control(u"combobutton", u"button",
            {u"pictureindex=0", u"skinrect=100,100,120,120", u"activeskinrect=120,100,140,120",
             u"lefttoppoint=3,3", u"righttoppoint=17,3", u"leftbottompoint=3,17", u"rightbottompoint=17,17",
             u"clientrect=3,3,17,17", u"fontcolor=0", u"activefontcolor=255"});
  auto SD = LoadSkin(S);
  auto* CB = new TspSkinComboBox(Host);
  CB->SetBounds(0, 0, 120, 30);
  CB->SetParent(Host);
  CB->Items()->Add(u"x");
  CB->SetSkinData(SD.get());
  // Tool-button style: the whole control is the button picture, stretched.
  CB->SetToolButtonStyle(true);
  CB->SetBounds(0, 0, 120, 30);
  Pump();
  EXPECT_EQ(CB->Height(), 30);
  auto T = Render(CB);
  EXPECT_EQ(Px(T.get(), 0, 0), Coord(0, 100));
  EXPECT_EQ(Px(T.get(), 119, 29), Coord(29, 119));
  CB->DropDown();
  auto O = Render(CB);
  EXPECT_EQ(Px(O.get(), 0, 0), Coord(60, 100));  // open: the pressed picture
  CB->CloseUp(false);
  SaveScreen(u"fixture", u"combobox", u"toolbutton-open", O.get());

  // Free size: the arrow button nine-sliced from "combobutton".
  CB->SetToolButtonStyle(false);
  CB->SetUseSkinSize(false);
  CB->SetBounds(0, 0, 120, 30);
  Pump();
  auto F = Render(CB);
  EXPECT_EQ(CB->Button.R.Bottom - CB->Button.R.Top, 16 + 10);
  EXPECT_EQ(Px(F.get(), CB->Button.R.Left, CB->Button.R.Top), Coord(100, 100));
  Move(CB, CB->Button.R.Left + 3, CB->Button.R.Top + 3, false);
  auto H = Render(CB);
  EXPECT_EQ(Px(H.get(), CB->Button.R.Left, CB->Button.R.Top), Coord(120, 100));
}

TEST_F(BoxesSkinTest, ListCaptionButtonsFromTheSkin) {
  auto S = CoordSkin();
  S.Control(u"listbox", u"listbox",
            {u"pictureindex=0", u"skinrect=0,0,60,80", u"lefttoppoint=3,20", u"righttoppoint=30,20",
             u"leftbottompoint=3,77", u"rightbottompoint=57,77", u"clientrect=3,20,57,77",
             u"captionrect=3,2,30,18", u"upbuttonrect=44,2,56,18", u"activeupbuttonrect=200,0,212,16",
             u"downbuttonrect=32,2,43,18", u"itemrect=0,200,60,220", u"itemtextrect=4,2,56,18"});
  auto SD = LoadSkin(S);
  auto* L = new TspSkinListBox(Host);
  L->SetBounds(0, 0, 120, 120);
  L->SetParent(Host);
  for (const char16_t* T : {u"one", u"two", u"three"}) L->Items()->Add(T);
  L->SetCaptionMode(true);
  L->SetCaption(u"List");
  L->SetSkinData(SD.get());
  Pump();
  auto B = Render(L);
  // Buttons right of the right-top corner point move with the width.
  EXPECT_EQ(L->Buttons[0].R, TRect(104, 2, 116, 18));
  EXPECT_EQ(L->Buttons[1].R, TRect(92, 2, 103, 18));
  EXPECT_TRUE(RectIsEmpty(L->Buttons[2].R));
  EXPECT_EQ(L->NewCaptionRect, TRect(3, 2, 90, 18));
  EXPECT_EQ(Px(B.get(), 104, 2), Coord(44, 2));
  // The pointer over the up button: its hot picture; a click selects the previous item.
  L->SetItemIndex(2);
  Move(L, 106, 6, false);
  auto H = Render(L);
  EXPECT_EQ(Px(H.get(), 104, 2), Coord(200, 0));
  Press(L, 106, 6);
  Release(L, 106, 6);
  EXPECT_EQ(L->ItemIndex(), 1);
  SaveScreen(u"fixture", u"listbox", u"caption", H.get());
}

}  // namespace
}  // namespace ctl
