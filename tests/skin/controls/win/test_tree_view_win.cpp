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
  EXPECT_EQ(GetScrollPos(Tree->Handle(), SB_VERT), 5);
  UpdateWindow(Tree->Handle());
  EXPECT_EQ(VBar->Position(), 5);
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
  // A paint that changed nothing repaints neither bar; a scroll repaints the
  // bar that moved, which then shows the window's position.
  Integer BarPaints = 0;
  TWndMethod Saved = VBar->WindowProc();
  VBar->SetWindowProc([&](TMessage& M) {
    if (M.Msg == WM_PAINT) ++BarPaints;
    Saved(M);
  });
  Tree->Invalidate();
  UpdateWindow(Tree->Handle());
  EXPECT_EQ(BarPaints, 0);
  SendMessageW(Tree->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  UpdateWindow(Tree->Handle());
  EXPECT_GE(BarPaints, 1);
  EXPECT_EQ(VBar->Position(), GetScrollPos(Tree->Handle(), SB_VERT));
  EXPECT_EQ(VBar->Position(), 1);
  VBar->SetWindowProc(Saved);
  EXPECT_TRUE(VBar->Visible());
  EXPECT_TRUE(HBar->Visible());
  EXPECT_TRUE(HBar->Both()) << "beside a vertical bar";
  Parent->Collapse(false);
  Settle();
  EXPECT_FALSE(VBar->Visible());
  if (HBar->Visible()) {
    EXPECT_FALSE(HBar->Both());
  }
}

TEST_F(TreeViewWin, DrawSkinKeepsTheUsersHandler) {
  auto S = CoordSkin();
  S.Control(u"treeview", u"treeview", {u"pictureindex=0", u"fontcolor=0", u"bgcolor=16777215"});
  S.Control(u"listbox", u"listbox", {u"pictureindex=0", u"skinrect=0,0,100,100", u"activeitemrect=20,120,80,140",
                                     u"focusitemrect=20,120,80,140", u"itemtextrect=4,4,56,16",
                                     u"activefontcolor=0", u"focusfontcolor=0"});
  auto SD = LoadSkin(S);
  auto NoList = CoordSkin();
  NoList.Control(u"treeview", u"treeview", {u"pictureindex=0", u"fontcolor=0", u"bgcolor=16777215"});
  auto SDNoList = LoadSkin(NoList);
  Build(160);
  Tree->SetSkinData(SD.get());
  TTreeNode* Root = Tree->Items()->Add(nullptr, u"Pictures");
  for (Integer I = 0; I < 4; ++I) Tree->Items()->AddChild(Root, u"Album " + IntToStr(I));
  Root->Expand(false);
  Tree->SetSelected(Root->Item(1));
  int UserCalls = 0;
  Tree->OnAdvancedCustomDrawItem = [&](TCustomTreeView*, TTreeNode*, TCustomDrawState, TCustomDrawStage, bool&,
                                       bool&) { ++UserCalls; };
  auto Paint = [&] {
    UserCalls = 0;
    Tree->Invalidate();
    UpdateWindow(Tree->Handle());
    Pump();
    return Grab(Tree);
  };
  auto Off = Paint();
  SaveScreen(u"fixture", u"treeview", u"platform-drawing", Off.get());
  EXPECT_GT(UserCalls, 0) << "the user's handler draws";

  Tree->SetDrawSkin(true);
  auto On = Paint();
  SaveScreen(u"fixture", u"treeview", u"skinned-painter", On.get());
  EXPECT_EQ(UserCalls, 0) << "the painter stands in for it";
  const TRect T = Root->Item(1)->DisplayRect(true);
  EXPECT_EQ(Px(On.get(), T.Left, T.Top), Coord(20, 120)) << "the selected item on the item picture";

  Tree->SetDrawSkin(false);
  Paint();
  EXPECT_GT(UserCalls, 0) << "switched off: the user's handler again";

  // No item description: the platform's drawing, also with DrawSkin on.
  Tree->OnAdvancedCustomDrawItem = nullptr;
  Tree->SetSkinData(SDNoList.get());
  Tree->SetDrawSkin(true);
  auto Plain = Paint();
  EXPECT_NE(Px(Plain.get(), T.Left, T.Top), Coord(20, 120));
  EXPECT_TRUE(Errors.empty());
}

// The gallery's tree with its bars in each made scheme: the platform's
// drawing in the skin's colours, and the skinned painter.
TEST_F(TreeViewWin, ScreensOfTheGalleryTree) {
  Build(120);
  TTreeNode* Root = Tree->Items()->Add(nullptr, u"Clip art");
  for (Integer I = 0; I < 12; ++I) {
    TTreeNode* N = Tree->Items()->AddChild(Root, u"Category " + IntToStr(I));
    if (I == 1)
      for (Integer K = 0; K < 3; ++K) Tree->Items()->AddChild(N, u"Set " + IntToStr(K));
  }
  Root->Expand(false);
  Root->Item(1)->Expand(false);
  Tree->SetSelected(Root->Item(2));
  Tree->SetUseSkinFont(false);
  std::vector<String> Schemes{u"default"};
  for (const String& N : MadeSchemeNames()) Schemes.push_back(N);
  for (const String& Scheme : Schemes) {
    SCOPED_TRACE(ToUtf8(Scheme));
    std::unique_ptr<TspSkinData> SD = Scheme == u"default" ? nullptr : MadeScheme(Scheme);
    if (SD) VBar->SetSkinData(SD.get());
    Tree->SetSkinData(SD.get());
    Tree->ChangeSkinData();
    for (bool On : {false, true}) {
      Tree->SetDrawSkin(On);
      Tree->Invalidate();
      Pump();
      UpdateWindow(Tree->Handle());
      Pump();
      EXPECT_TRUE(VBar->Visible());
      auto B = Grab(Box);
      SaveScreen(Scheme, u"treeview", On ? u"skinned-painter" : u"bars", B.get());
    }
  }
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
