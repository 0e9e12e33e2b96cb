// The tree view over Wine's SysTreeView32: nodes kept without a window and
// across RecreateWnd, item operations, custom draw, label editing, scroll
// state with the bars removed, the drop highlight and the class library's
// drag.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"

using namespace ctltest;

namespace {

class TreeTest : public AppFixture {
 protected:
  TForm* F = nullptr;
  void SetUp() override {
    AppFixture::SetUp();
    F = NewForm();
    F->SetBounds(40, 40, 320, 300);
  }
  void TearDown() override {
    delete F;
    AppFixture::TearDown();
  }
  TTreeView* NewTree(TRect R = Bounds(10, 10, 200, 200)) {
    auto* T = new TTreeView(F);
    T->SetBoundsRect(R);
    T->Font()->SetName(u"Arial");
    T->Font()->SetHeight(-12);
    T->SetParent(F);
    return T;
  }
  // The window's own view of an item.
  static String ItemText(HWND H, HTREEITEM I) {
    char16_t Buf[64]{};
    TVITEMW It{};
    It.mask = TVIF_TEXT;
    It.hItem = I;
    It.pszText = reinterpret_cast<WCHAR*>(Buf);
    It.cchTextMax = 64;
    SendMessageW(H, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&It));
    return Buf;
  }
  // The texts of the window's items in tree order, children in brackets.
  static std::string Outline(HWND H, HTREEITEM First) {
    std::string S;
    for (HTREEITEM I = First; I;
         I = reinterpret_cast<HTREEITEM>(SendMessageW(H, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(I)))) {
      if (!S.empty()) S += " ";
      S += ToUtf8(ItemText(H, I));
      HTREEITEM C =
          reinterpret_cast<HTREEITEM>(SendMessageW(H, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(I)));
      if (C) S += " [" + Outline(H, C) + "]";
    }
    return S;
  }
  static std::string Outline(HWND H) {
    return Outline(H, reinterpret_cast<HTREEITEM>(SendMessageW(H, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
  }
  static bool Dark(TColor C) { return (C & 0xFF) < 0x40 && ((C >> 8) & 0xFF) < 0x40 && ((C >> 16) & 0xFF) < 0x40; }
  static bool WindowExpanded(HWND H, TTreeNode* N) {
    return SendMessageW(H, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(N->ItemId()), TVIS_EXPANDED) & TVIS_EXPANDED;
  }
};

}  // namespace

// Nodes made before the window exists appear when it is made, with their
// data, images, selection and expansion; RecreateWnd keeps what the window
// held (selection, expansion, top item, drop highlight, edited text) and
// fires no event on the way.
TEST_F(TreeTest, NodesKeptWithoutWindowAndAcrossRecreate) {
  TTreeView* T = NewTree();
  int Data[3] = {};
  TTreeNodes* N = T->Items();
  TTreeNode* A = N->AddObject(nullptr, u"A", &Data[0]);
  TTreeNode* B = N->Add(A, u"B");
  TTreeNode* A1 = N->AddChildObject(A, u"A1", &Data[1]);
  TTreeNode* A2 = N->AddChild(A, u"A2");
  TTreeNode* A1a = N->AddChildObject(A1, u"A1a", &Data[2]);
  A->SetImageIndex(2);
  A->SetSelectedIndex(3);
  A->Expand(false);
  A2->SetSelected(true);
  int Events = 0;
  T->OnChange = [&](TObject*, TTreeNode*) { ++Events; };
  T->OnExpanded = [&](TObject*, TTreeNode*) { ++Events; };
  T->OnDeletion = [&](TObject*, TTreeNode*) { ++Events; };
  ASSERT_FALSE(T->HandleAllocated());
  EXPECT_EQ(N->Count(), 5);
  EXPECT_EQ(T->Selected(), A2);

  F->Show();
  HWND H = T->Handle();
  EXPECT_EQ(Outline(H), "A [A1 [A1a] A2] B");
  EXPECT_EQ(SendMessageW(H, TVM_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(T->Selected(), A2);
  EXPECT_TRUE(WindowExpanded(H, A));
  EXPECT_FALSE(WindowExpanded(H, A1));
  EXPECT_EQ(Events, 0);

  // What the user and the code change in the window.
  A1->Expand(false);
  A1a->SetSelected(true);
  T->SetDropTarget(B);
  A1a->SetText(u"A1a*");
  Events = 0;
  T->RecreateWnd();
  HWND H2 = T->Handle();
  ASSERT_NE(H2, H);
  EXPECT_EQ(Events, 0);
  EXPECT_EQ(Outline(H2), "A [A1 [A1a*] A2] B");
  EXPECT_EQ(T->Selected(), A1a);
  EXPECT_TRUE(WindowExpanded(H2, A));
  EXPECT_TRUE(WindowExpanded(H2, A1));
  EXPECT_EQ(T->DropTarget(), B);
  EXPECT_EQ(A->Data(), &Data[0]);
  EXPECT_EQ(A1a->Data(), &Data[2]);
  TVITEMW It{};
  It.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  It.hItem = A->ItemId();
  SendMessageW(H2, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&It));
  EXPECT_EQ(It.iImage, 2);
  EXPECT_EQ(It.iSelectedImage, 3);
  EXPECT_EQ(reinterpret_cast<TTreeNode*>(It.lParam), A);
  // A collapse made in the window also survives.
  A->Collapse(false);
  T->RecreateWnd();
  EXPECT_FALSE(WindowExpanded(T->Handle(), A));
  EXPECT_FALSE(A->Expanded());
}

// A tree on a page of a page control whose window is made again (a new tab
// position) keeps its nodes, selection and expansion with it.
TEST_F(TreeTest, RecreatingTheParentKeepsTheTree) {
  auto* PC = new TPageControl(F);
  PC->SetBoundsRect(Bounds(5, 5, 280, 250));
  PC->SetParent(F);
  auto* Page = new TTabSheet(F);
  Page->SetCaption(u"Page");
  Page->SetPageControl(PC);
  auto* T = new TTreeView(F);
  T->SetBoundsRect(Bounds(5, 5, 150, 150));
  T->SetParent(Page);
  TTreeNode* A = T->Items()->Add(nullptr, u"A");
  TTreeNode* A1 = T->Items()->AddChild(A, u"A1");
  F->Show();
  A->Expand(false);
  A1->SetSelected(true);
  HWND Old = T->Handle();
  PC->SetTabPosition(tpBottom);
  ASSERT_TRUE(T->HandleAllocated());
  EXPECT_NE(T->Handle(), Old);
  EXPECT_EQ(Outline(T->Handle()), "A [A1]");
  EXPECT_TRUE(WindowExpanded(T->Handle(), A));
  EXPECT_EQ(T->Selected(), A1);
}

// Add, AddChild, AddFirst, Insert, Delete, Clear and MoveTo keep the window's
// items in the nodes' order; deleting takes the children along; OnDeletion
// names every node freed.
TEST_F(TreeTest, ItemOperationsFollowTheNodes) {
  TTreeView* T = NewTree();
  F->Show();
  HWND H = T->Handle();
  TTreeNodes* N = T->Items();
  TTreeNode* A = N->Add(nullptr, u"A");
  TTreeNode* C = N->Add(A, u"C");
  TTreeNode* B = N->Insert(C, u"B");
  TTreeNode* Z = N->AddFirst(A, u"Z");
  TTreeNode* A2 = N->AddChild(A, u"A2");
  TTreeNode* A1 = N->AddChildFirst(A, u"A1");
  TTreeNode* A1x = N->AddChild(A1, u"A1x");
  EXPECT_EQ(Outline(H), "Z A [A1 [A1x] A2] B C");
  EXPECT_EQ(A1x->Level(), 2);
  EXPECT_EQ(A1x->AbsoluteIndex(), 3);
  EXPECT_EQ(N->Item(3), A1x);
  EXPECT_EQ(A2->GetPrevSibling(), A1);
  EXPECT_TRUE(A1x->HasAsParent(A));

  // MoveTo as a drop places it: in front of, after, or as last child.
  A->Expand(true);
  A1->MoveTo(C, naAddChild);
  EXPECT_EQ(Outline(H), "Z A [A2] B C [A1 [A1x]]");
  EXPECT_EQ(A1->Parent(), C);
  EXPECT_TRUE(WindowExpanded(H, A1)) << "expansion moves with the node";
  Z->MoveTo(B, naInsert);
  EXPECT_EQ(Outline(H), "A [A2] Z B C [A1 [A1x]]");
  A->MoveTo(C, naAdd);
  EXPECT_EQ(Outline(H), "Z B C [A1 [A1x]] A [A2]");
  A->MoveTo(A2, naAddChild);  // into its own child: refused
  EXPECT_EQ(Outline(H), "Z B C [A1 [A1x]] A [A2]");

  std::vector<String> Deleted;
  T->OnDeletion = [&](TObject*, TTreeNode* Nd) { Deleted.push_back(Nd->Text()); };
  A1->SetSelected(true);
  C->Delete();
  EXPECT_EQ(Outline(H), "Z B A [A2]");
  EXPECT_EQ(Deleted.size(), 3u);
  EXPECT_NE(T->Selected(), A1);
  EXPECT_EQ(N->Count(), 4);
  N->Clear();
  EXPECT_EQ(SendMessageW(H, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(N->Count(), 0);
  EXPECT_EQ(Deleted.size(), 7u);
}

// Custom draw: the whole-control and item stages reach the handlers with the
// canvas on the drawing DC; DefaultDraw false for an item leaves it to the
// handler (the native text is not drawn), other items draw as usual.
TEST_F(TreeTest, CustomDrawStagesAndDefaultDraw) {
  TTreeView* T = NewTree(Bounds(10, 10, 200, 120));
  T->SetShowLines(false);
  T->SetShowButtons(false);
  T->SetShowRoot(false);
  TTreeNode* First = T->Items()->Add(nullptr, u"WWWWWW");
  TTreeNode* Second = T->Items()->Add(nullptr, u"WWWWWW");
  std::vector<std::string> Log;
  T->OnCustomDraw = [&](TCustomTreeView*, const TRect&, bool&) { Log.push_back("tree"); };
  T->OnCustomDrawItem = [&](TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState, bool& DefaultDraw) {
    Log.push_back("item " + std::to_string(Node->Index()));
    if (Node == Second) {
      TRect R = Node->DisplayRect(false);
      Sender->Canvas()->Brush()->SetColor(clLime);
      Sender->Canvas()->FillRect(R);
      DefaultDraw = false;
    }
  };
  T->OnAdvancedCustomDrawItem = [&](TCustomTreeView*, TTreeNode* Node, TCustomDrawState, TCustomDrawStage Stage,
                                    bool&, bool&) {
    if (Stage == cdPostPaint) Log.push_back("post " + std::to_string(Node->Index()));
  };
  F->Show();
  HWND H = T->Handle();
  // Paint into a bitmap through WM_PRINTCLIENT.
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf32bit);
  Bmp.SetSize(T->ClientWidth(), T->ClientHeight());
  SendMessageW(H, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Bmp.Canvas()->Handle()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(Log, (std::vector<std::string>{"tree", "item 0", "post 0", "item 1"}));
  TRect R0 = First->DisplayRect(true), R1 = Second->DisplayRect(false);
  int Dark0 = 0, Lime1 = 0, Dark1 = 0;
  for (int Y = R0.Top; Y < R0.Bottom; ++Y)
    for (int X = R0.Left; X < R0.Right; ++X) Dark0 += Dark(Bmp.Canvas()->Pixels(X, Y));
  for (int Y = R1.Top; Y < R1.Bottom; ++Y)
    for (int X = R1.Left; X < R1.Right; ++X) {
      TColor P = Bmp.Canvas()->Pixels(X, Y) & 0xFFFFFF;
      Lime1 += P == 0x00FF00;
      Dark1 += Dark(P);
    }
  EXPECT_GT(Dark0, 10) << "the first item's text drawn natively";
  EXPECT_EQ(Lime1, R1.Width() * R1.Height()) << "the second item is the handler's alone";
  EXPECT_EQ(Dark1, 0);
  // DefaultDraw false at the control's stage skips all items.
  Log.clear();
  T->OnCustomDraw = [&](TCustomTreeView*, const TRect&, bool& D) {
    Log.push_back("tree");
    D = false;
  };
  SendMessageW(H, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Bmp.Canvas()->Handle()), PRF_CLIENT);
  EXPECT_EQ(Log, (std::vector<std::string>{"tree"}));
}

// Label editing through the tree's EDIT child: OnEditing may refuse,
// ReadOnly refuses, OnEdited gets the text and may change it, a cancel
// edits nothing, and Enter typed into the EDIT ends the edit (it is not
// taken as the form's dialog key).
TEST_F(TreeTest, LabelEditing) {
  TTreeView* T = NewTree();
  TTreeNode* A = T->Items()->Add(nullptr, u"Alpha");
  bool Allow = true;
  std::vector<std::string> Log;
  T->OnEditing = [&](TObject*, TTreeNode* Node, bool& AllowEdit) {
    Log.push_back("editing " + ToUtf8(Node->Text()));
    AllowEdit = Allow;
  };
  T->OnEdited = [&](TObject*, TTreeNode* Node, String& S) {
    Log.push_back("edited " + ToUtf8(Node->Text()) + " -> " + ToUtf8(S));
    if (S.size() > 30) S = Node->Text();  // refused: the old text stays
  };
  F->Show();
  HWND H = T->Handle();
  T->SetFocus();

  Allow = false;
  EXPECT_FALSE(A->EditText());
  EXPECT_FALSE(T->IsEditing());
  Allow = true;
  T->SetReadOnly(true);
  EXPECT_FALSE(A->EditText());
  T->SetReadOnly(false);
  EXPECT_EQ(Log, (std::vector<std::string>{"editing Alpha"}));
  Log.clear();

  ASSERT_TRUE(A->EditText());
  HWND Edit = reinterpret_cast<HWND>(SendMessageW(H, TVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(Edit);
  SetWindowTextW(Edit, reinterpret_cast<const WCHAR*>(u"Beta"));
  A->EndEdit(false);
  EXPECT_FALSE(T->IsEditing());
  EXPECT_EQ(A->Text(), u"Beta");
  EXPECT_EQ(Log, (std::vector<std::string>{"editing Alpha", "edited Alpha -> Beta"})) << "one end per edit";
  EXPECT_EQ(ItemText(H, A->ItemId()), u"Beta");

  ASSERT_TRUE(A->EditText());
  Edit = reinterpret_cast<HWND>(SendMessageW(H, TVM_GETEDITCONTROL, 0, 0));
  SetWindowTextW(Edit, reinterpret_cast<const WCHAR*>(u"0123456789012345678901234567890"));
  A->EndEdit(false);
  EXPECT_EQ(A->Text(), u"Beta");
  EXPECT_EQ(ItemText(H, A->ItemId()), u"Beta");

  ASSERT_TRUE(A->EditText());
  Edit = reinterpret_cast<HWND>(SendMessageW(H, TVM_GETEDITCONTROL, 0, 0));
  SetWindowTextW(Edit, reinterpret_cast<const WCHAR*>(u"Gamma"));
  Log.clear();
  A->EndEdit(true);
  EXPECT_EQ(A->Text(), u"Beta");
  EXPECT_TRUE(Log.empty()) << Log.front();

  // Enter typed into the EDIT, through the message queue.
  int DialogKeys = 0;
  auto* Probe = new TProbe(F, F, Bounds(250, 10, 20, 20));
  Probe->On = [&](TMessage& M) {
    if (M.Msg == CM_DIALOGKEY) ++DialogKeys;
    return false;
  };
  ASSERT_TRUE(A->EditText());
  Edit = reinterpret_cast<HWND>(SendMessageW(H, TVM_GETEDITCONTROL, 0, 0));
  SetWindowTextW(Edit, reinterpret_cast<const WCHAR*>(u"Delta"));
  ::SetFocus(Edit);
  PostMessageW(Edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageW(Edit, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
  PumpUntil([&] { return !T->IsEditing(); }, 1000);
  EXPECT_FALSE(T->IsEditing());
  EXPECT_EQ(A->Text(), u"Delta");
  EXPECT_EQ(DialogKeys, 0);
  EXPECT_EQ(Log.back(), "edited Beta -> Delta");
}

// With WS_VSCROLL/WS_HSCROLL removed and no non-client area, Wine keeps and
// reports the scroll state; SetScrollInfo plus WM_VSCROLL/SB_THUMBPOSITION
// with a 16-bit position scroll the items.
TEST_F(TreeTest, ScrollStateWithTheBarsRemoved) {
  struct TBare : TTreeView {
    using TTreeView::TTreeView;
    void CreateParams(TCreateParams& P) override {
      TTreeView::CreateParams(P);
      P.Style &= ~(WS_VSCROLL | WS_HSCROLL);
    }
    void Dispatch(TMessage& M) override {
      if (M.Msg == WM_NCCALCSIZE || M.Msg == WM_NCPAINT) return;
      TTreeView::Dispatch(M);
    }
  };
  auto* T = new TBare(F);
  T->SetBoundsRect(Bounds(10, 10, 120, 100));
  T->Font()->SetName(u"Arial");
  T->Font()->SetHeight(-12);
  T->SetParent(F);
  std::vector<TTreeNode*> Nodes;
  for (int I = 0; I < 60; ++I)
    Nodes.push_back(T->Items()->Add(nullptr, u"Item number " + IntToStr(I) + u" with a long text"));
  F->Show();
  HWND H = T->Handle();
  RECT C{};
  GetClientRect(H, &C);
  EXPECT_EQ(C.right, 120) << "no frame, no bars";
  SCROLLINFO SI{};
  SI.cbSize = sizeof(SI);
  SI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(H, SB_VERT, &SI));
  int Visible = static_cast<int>(SendMessageW(H, TVM_GETVISIBLECOUNT, 0, 0));
  EXPECT_EQ(SI.nMin, 0);
  EXPECT_EQ(SI.nMax, 59);
  EXPECT_EQ(static_cast<int>(SI.nPage), Visible);
  EXPECT_EQ(SI.nPos, 0);
  SCROLLINFO HI{};
  HI.cbSize = sizeof(HI);
  HI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(H, SB_HORZ, &HI));
  EXPECT_GT(HI.nMax, 120) << "the long texts make a horizontal range";
  // The way the skinned tree follows its external bar.
  SCROLLINFO Set{};
  Set.cbSize = sizeof(Set);
  Set.fMask = SIF_POS;
  Set.nPos = 20;
  SetScrollInfo(H, SB_VERT, &Set, TRUE);
  SendMessageW(H, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
  EXPECT_EQ(T->TopItem(), Nodes[20]);
  SI.fMask = SIF_POS;
  GetScrollInfo(H, SB_VERT, &SI);
  EXPECT_EQ(SI.nPos, 20);
  // TopItem survives RecreateWnd too.
  T->RecreateWnd();
  EXPECT_EQ(T->TopItem(), Nodes[20]);
}

// Selecting in code fires OnChanging and OnChange (the owner shows the new
// node through it); OnChanging may refuse, then the selection stays. A click
// on a node selects it the same way.
TEST_F(TreeTest, SelectionEvents) {
  TTreeView* T = NewTree();
  TTreeNode* A = T->Items()->Add(nullptr, u"Alpha");
  TTreeNode* B = T->Items()->Add(nullptr, u"Beta");
  TTreeNode* C = T->Items()->Add(nullptr, u"Gamma");
  F->Show();
  T->SetSelected(A);
  std::vector<std::string> Log;
  bool Allow = true;
  T->OnChanging = [&](TObject*, TTreeNode* N, bool& AllowChange) {
    Log.push_back("changing " + ToUtf8(N->Text()));
    AllowChange = Allow;
  };
  T->OnChange = [&](TObject*, TTreeNode* N) { Log.push_back("change " + ToUtf8(N->Text())); };
  B->SetSelected(true);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Beta", "change Beta"}));
  Log.clear();
  Allow = false;
  C->SetSelected(true);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Gamma"}));
  EXPECT_EQ(T->Selected(), B);
  Log.clear();
  Allow = true;
  TRect R = C->DisplayRect(true);
  // The native press runs its own loop until a button message is queued.
  PostMessageW(T->Handle(), WM_LBUTTONUP, 0, PointToLParam(R.Left + 2, R.Top + 2));
  SendMessageW(T->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(R.Left + 2, R.Top + 2));
  Pump();
  EXPECT_EQ(T->Selected(), C);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Gamma", "change Gamma"}));
}

// The drop highlight: set, moved, cleared; kept without a window.
TEST_F(TreeTest, DropTargetHighlight) {
  TTreeView* T = NewTree();
  TTreeNode* A = T->Items()->Add(nullptr, u"A");
  TTreeNode* B = T->Items()->Add(nullptr, u"B");
  B->SetDropTarget(true);
  EXPECT_TRUE(B->DropTarget());
  F->Show();
  HWND H = T->Handle();
  auto State = [&](TTreeNode* N) {
    return SendMessageW(H, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(N->ItemId()), TVIS_DROPHILITED) &
           TVIS_DROPHILITED;
  };
  EXPECT_TRUE(State(B));
  T->SetDropTarget(A);
  EXPECT_TRUE(State(A));
  EXPECT_FALSE(State(B));
  EXPECT_TRUE(A->DropTarget());
  A->SetDropTarget(false);
  EXPECT_EQ(T->DropTarget(), nullptr);
  EXPECT_FALSE(State(A));
}

// The native drawing uses Color and Font.Color, also when they change later.
TEST_F(TreeTest, ColorAndFontColorReachTheNativeDrawing) {
  TTreeView* T = NewTree(Bounds(10, 10, 150, 80));
  TTreeNode* A = T->Items()->Add(nullptr, u"WWWWWW");
  T->SetColor(clYellow);
  F->Show();
  HWND H = T->Handle();
  T->Font()->SetColor(clRed);
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(T->ClientWidth(), T->ClientHeight());
  SendMessageW(H, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Bmp.Canvas()->Handle()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(Bmp.Canvas()->Pixels(T->ClientWidth() - 3, T->ClientHeight() - 3), ColorToRGB(clYellow));
  TRect R = A->DisplayRect(true);
  int Red = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) Red += Bmp.Canvas()->Pixels(X, Y) == ColorToRGB(clRed);
  EXPECT_GT(Red, 10);
}

// Images: the image list's handle goes to the window (and again after
// RecreateWnd); freeing the list takes it off.
TEST_F(TreeTest, ImagesGoToTheWindow) {
  TTreeView* T = NewTree();
  auto* IL = new TImageList(F);
  T->SetImages(IL);
  F->Show();
  HWND H = T->Handle();
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(H, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), IL->Handle());
  T->RecreateWnd();
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(T->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), IL->Handle());
  delete IL;
  EXPECT_EQ(T->Images(), nullptr);
  EXPECT_EQ(SendMessageW(T->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

// DragMode dmAutomatic: a press on a node selects it and starts the class
// library's drag (no native drag notice); a press on empty space does not.
TEST_F(TreeTest, AutomaticDragStartsTheClassLibrarysDrag) {
  TTreeView* T = NewTree();
  TTreeNode* A = T->Items()->Add(nullptr, u"Alpha");
  TTreeNode* B = T->Items()->Add(nullptr, u"Beta");
  T->SetDragMode(dmAutomatic);
  int Native = 0;
  TWndMethod Saved = T->WindowProc();
  T->SetWindowProc([&](TMessage& M) {
    if (M.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(M.LParam)->code == TVN_BEGINDRAGW) ++Native;
    Saved(M);
  });
  F->Show();
  HWND H = T->Handle();
  (void)A;
  TRect R = B->DisplayRect(true);
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(R.Left + 3, R.Top + 3));
  EXPECT_EQ(T->Selected(), B);
  EXPECT_TRUE(T->Dragging());
  T->EndDrag(false);
  EXPECT_FALSE(T->Dragging());
  SendMessageW(H, WM_LBUTTONUP, 0, PointToLParam(R.Left + 3, R.Top + 3));
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(150, 180));
  SendMessageW(H, WM_LBUTTONUP, 0, PointToLParam(150, 180));
  EXPECT_FALSE(T->Dragging());
  EXPECT_EQ(Native, 0);
  T->SetWindowProc(Saved);  // the hook's locals end here
}

// The node count and the sibling steps are kept as the tree changes (they
// are remembered, not searched): after inserts in the middle and at the
// front, moves, deletions and a clear, Count, Index, GetNextSibling and
// GetPrevSibling still agree with the window's own outline.
TEST_F(TreeTest, NodeCountAndSiblingStepsFollowEveryChange) {
  auto* T = NewTree();
  TTreeNodes* N = T->Items();
  // The object model's outline, walked by sibling steps, checking Index and
  // the backward steps on the way.
  std::function<std::string(TTreeNode*)> Walk = [&](TTreeNode* First) {
    std::string S;
    Integer I = 0;
    TTreeNode* Prev = nullptr;
    for (TTreeNode* P = First; P; Prev = P, P = P->GetNextSibling(), ++I) {
      EXPECT_EQ(P->Index(), I) << ToUtf8(P->Text());
      EXPECT_EQ(P->GetPrevSibling(), Prev) << ToUtf8(P->Text());
      if (!S.empty()) S += " ";
      S += ToUtf8(P->Text());
      if (P->HasChildren()) S += " [" + Walk(P->GetFirstChild()) + "]";
    }
    return S;
  };
  TTreeNode *A = nullptr, *B = nullptr, *C = nullptr;
  struct Step {
    const char* Name;
    std::function<void()> Act;
    Integer Count;
    const char* Outline;
  };
  const Step Steps[] = {
      {"three roots",
       [&] {
         A = N->Add(nullptr, u"a");
         B = N->Add(nullptr, u"b");
         C = N->Add(nullptr, u"c");
       },
       3, "a b c"},
      {"children of b", [&] { for (const char16_t* S : {u"b1", u"b2", u"b3"}) N->AddChild(B, S); }, 6, "a b [b1 b2 b3] c"},
      {"insert before b", [&] { N->Insert(B, u"x"); }, 7, "a x b [b1 b2 b3] c"},
      {"first child of b", [&] { N->AddChildFirst(B, u"b0"); }, 8, "a x b [b0 b1 b2 b3] c"},
      {"move c under a", [&] { C->MoveTo(A, naAddChild); }, 8, "a [c] x b [b0 b1 b2 b3]"},
      {"delete the middle child", [&] { B->Item(2)->Delete(); }, 7, "a [c] x b [b0 b1 b3]"},
      {"delete b with its children", [&] { B->Delete(); }, 3, "a [c] x"},
      {"clear", [&] { N->Clear(); }, 0, ""},
  };
  for (const Step& S : Steps) {
    SCOPED_TRACE(S.Name);
    S.Act();
    EXPECT_EQ(N->Count(), S.Count);
    EXPECT_EQ(Walk(N->GetFirstNode()), S.Outline);
    EXPECT_EQ(Outline(T->Handle()), S.Outline);
  }
}
