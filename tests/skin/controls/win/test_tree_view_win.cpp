// The skinned tree on Wine's tree view: the skin's colours reach the
// window, and the external skinned bars follow the window's scroll state as
// the tree is filled, expanded, collapsed, scrolled and resized; an aligned
// tree takes the room a hidden bar frees.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinMessages.h"

using namespace ctl;

namespace {

class TreeViewWin : public SkinCtlTest {
 protected:
  THost* Box = nullptr;
  TspSkinCustomTreeView* Tree = nullptr;
  TspSkinScrollBar* VBar = nullptr;
  TspSkinScrollBar* HBar = nullptr;

  void Build(Integer Height = 100) {
    Box = new THost(Host);
    Box->SetParent(Host);
    Box->SetBounds(10, 10, 200, Height);
    VBar = new TspSkinScrollBar(Host);
    VBar->SetKind(sbVertical);
    VBar->SetParent(Box);
    VBar->SetWidth(16);
    VBar->SetAlign(alRight);
    HBar = new TspSkinScrollBar(Host);
    HBar->SetParent(Box);
    HBar->SetHeight(16);
    HBar->SetAlign(alBottom);
    Tree = new TspSkinCustomTreeView(Host);
    Tree->SetParent(Box);
    Tree->SetAlign(alClient);
    Tree->HandleNeeded();
    Tree->SetVScrollBar(VBar);
    Tree->SetHScrollBar(HBar);
    Tree->ChangeSkinData();
    Pump();
  }
  void Settle() {
    Tree->Invalidate();
    Pump();
    UpdateWindow(Tree->Handle());
    Pump();
  }
  Integer TopIndex() {
    TTreeNode* T = Tree->TopItem();
    return T ? T->AbsoluteIndex() : -1;
  }
};

TEST_F(TreeViewWin, UnskinnedLook) {
  Build();
  EXPECT_EQ(Tree->Color(), clWindow);
  EXPECT_EQ(Tree->Font()->Name(), u"Arial");
  EXPECT_EQ(Tree->Font()->Height(), 14);
  EXPECT_EQ(Tree->LineColor(), TColor(0x808080));
  EXPECT_EQ(SendMessageW(Tree->Handle(), FEM_PAINT_FRAME, 0, 0), SP_FRAME_PAINTED);
  const TPoint S = Tree->ClientToScreen(TPoint(5, 5));
  EXPECT_EQ(SendMessageW(Tree->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y)), HTCLIENT);
}

TEST_F(TreeViewWin, SkinColoursReachTheWindow) {
  auto S = CoordSkin();
  S.Control(u"treeview", u"treeview", {u"pictureindex=0", u"fontcolor=0", u"bgcolor=16777215",
                                       u"expandimagerect=0,0,9,9", u"noexpandimagerect=10,0,19,9",
                                       u"fontname=Arial", u"fontheight=13"});
  auto SD = LoadSkin(S);
  Build();
  Tree->SetSkinData(SD.get());
  ASSERT_TRUE(Tree->Skinned());
  EXPECT_EQ(SendMessageW(Tree->Handle(), TVM_GETBKCOLOR, 0, 0), 0xFFFFFF);
  EXPECT_EQ(SendMessageW(Tree->Handle(), TVM_GETTEXTCOLOR, 0, 0), 0);
  EXPECT_EQ(Tree->LineColor(), TColor(0xBFBFBF));
  EXPECT_EQ(Tree->ButtonColor(), TColor(0x7F7F7F));
  EXPECT_EQ(Tree->ExpandImage()->Width(), 9);
  EXPECT_EQ(Tree->Font()->Height(), 13);
  // A description of another class changes only the font's character set.
  auto Bad = CoordSkin();
  Bad.Control(u"treeview", u"panel", {u"pictureindex=0"});
  auto BD = LoadSkin(Bad);
  Tree->SetSkinData(BD.get());
  EXPECT_EQ(Tree->Color(), TColor(0xFFFFFF));
}

TEST_F(TreeViewWin, BarsFollowTheWindow) {
  Build();
  // Filled past the visible rows.
  TTreeNode* Parent = Tree->Items()->Add(nullptr, u"Root");
  for (Integer I = 0; I < 40; ++I) Tree->Items()->AddChild(Parent, u"Child " + IntToStr(I));
  Parent->Expand(false);
  Settle();
  ASSERT_TRUE(VBar->Visible());
  const Integer Page = Integer(SendMessageW(Tree->Handle(), TVM_GETVISIBLECOUNT, 0, 0));
  EXPECT_EQ(VBar->PageSize(), Page);
  EXPECT_EQ(VBar->Max(), 40) << "41 rows: range 0 .. 40";
  EXPECT_EQ(Tree->Width(), 200 - 16) << "the bar takes its place";

  // The bar's position scrolls the tree.
  VBar->SetPosition(5);
  Pump();
  EXPECT_EQ(TopIndex(), 5);
  // Keys scroll the tree, and the bar follows.
  Tree->SetSelected(Parent->Item(39));
  Tree->SetFocus();
  SendKey(Tree->Handle(), WM_KEYDOWN, VK_HOME);
  Pump();
  EXPECT_EQ(TopIndex(), 0);
  EXPECT_EQ(VBar->Position(), 0);

  // Collapsed until everything fits: the bar goes, the tree takes its room.
  Parent->Collapse(false);
  Settle();
  EXPECT_FALSE(VBar->Visible());
  EXPECT_EQ(Tree->Width(), 200);
  // Expanded again, then resized tall enough.
  Parent->Expand(false);
  Settle();
  EXPECT_TRUE(VBar->Visible());
  const Integer RowHeight = Integer(SendMessageW(Tree->Handle(), TVM_GETITEMHEIGHT, 0, 0));
  Box->SetHeight(RowHeight * 41 + 40);
  Settle();
  EXPECT_FALSE(VBar->Visible());
}

TEST_F(TreeViewWin, NoRecursionAndBothBars) {
  Build(80);
  TTreeNode* Parent = Tree->Items()->Add(nullptr, u"Root");
  for (Integer I = 0; I < 30; ++I)
    Tree->Items()->AddChild(Parent, u"A child with a caption far wider than the tree is " + IntToStr(I));
  Parent->Expand(false);
  Settle();
  const Integer Before = Tree->ScrollBarUpdates();
  Tree->Invalidate();
  UpdateWindow(Tree->Handle());
  EXPECT_LE(Tree->ScrollBarUpdates() - Before, 2) << "one paint, one synchronisation (and its re-alignment)";
  EXPECT_TRUE(VBar->Visible());
  EXPECT_TRUE(HBar->Visible());
  EXPECT_TRUE(HBar->Both()) << "beside a vertical bar";
  Parent->Collapse(false);
  Settle();
  EXPECT_FALSE(VBar->Visible());
  if (HBar->Visible()) EXPECT_FALSE(HBar->Both());
}

}  // namespace
