// A skinned document parent with skinned children on real windows: the
// window-menu entries, tile and cascade, the maximise / restore / minimise
// messages between children and parent, the client area's scroll bars and
// the parent's client window procedure.
#include "tests/skin/form/win/FormTestUtil.h"

#include <string>

#include "skin/controls/win/SkinScrollBar.h"
#include "skin/form/MdiArrange.h"
#include "skin/controls/win/SkinSpeedButtons.h"
#include "skin/form/win/SkinMDITabsBar.h"
#include "skin/form/win/SkinMainMenuBar.h"

using namespace formtest;

namespace {

class MdiSkin : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    SavedMain = Application->MainForm();
    Parent = new TForm(nullptr);
    Parent->SetName(u"Parent");
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetBounds(20, 20, 700, 500);
    PS = new TspFormSkin(Parent);
    Menu = new TMainMenu(Parent);
    WinItem = new TMenuItem(Menu);
    WinItem->SetCaption(u"&Window");
    Menu->Items()->Add(WinItem);
    Parent->SetWindowMenu(WinItem);
    Application->SetMainForm(Parent);
    Parent->Show();
    Pump();
    Parent->SetClientSize(800, 600);
    Pump();
  }
  void TearDown() override {
    // A child left over would outlive its client window.
    while (Parent->MDIChildCount() > 0) delete Parent->MDIChildren(0);
    delete Parent;
    Application->SetMainForm(SavedMain);
    FormTest::TearDown();
  }
  TForm* NewChild(const char16_t* Name, TRect R = Bounds(10, 10, 220, 160)) {
    auto* C = new TForm(nullptr);
    C->SetName(Name);
    C->SetCaption(Name);
    C->SetFormStyle(fsMDIChild);
    C->SetBoundsRect(R);
    new TspFormSkin(C);
    C->Show();
    Pump();
    return C;
  }
  static TspFormSkin* Skin(TCustomForm* F) { return dynamic_cast<TspFormSkin*>(FindSkinForm(F)); }
  std::string Entries() {
    std::string S;
    for (Integer I = 0; I < WinItem->Count(); ++I) {
      TMenuItem* It = WinItem->Items(I);
      S += ToUtf8(It->Name()) + "=" + ToUtf8(It->Caption()) + (It->Checked() ? "*" : "") + " ";
    }
    return S;
  }
  TCustomForm* SavedMain = nullptr;
  TForm* Parent = nullptr;
  TspFormSkin* PS = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem* WinItem = nullptr;
};

}  // namespace

TEST_F(MdiSkin, ClientAreaIsTheParentsClientAndTheClientWindowHasNoBorder) {
  TRect R(-1, -1, -1, -1);
  PS->GetMDIClientRect(R);
  EXPECT_EQ(R, TRect(0, 0, 800, 600));
  HWND C = Parent->ClientHandle();
  ASSERT_NE(C, nullptr);
  RECT WR{}, CR{};
  GetWindowRect(C, &WR);
  GetClientRect(C, &CR);
  // The client window procedure keeps no border and no system scroll bars.
  EXPECT_EQ(WR.right - WR.left, CR.right);
  EXPECT_EQ(WR.bottom - WR.top, CR.bottom);
  EXPECT_EQ(SendMessageW(C, WM_NCACTIVATE, 0, 0), 1);
  // 1236 is answered by every form: 0 without a maximised child.
  EXPECT_EQ(SendMessageW(Parent->Handle(), FEM_MDI_QUERY_MAXIMIZED, 0, 0), 0);
  TForm* A = NewChild(u"A");
  EXPECT_EQ(SendMessageW(A->Handle(), FEM_MDI_QUERY_MAXIMIZED, 0, 0), 0);
  delete A;
}

TEST_F(MdiSkin, WindowMenuEntriesFollowTheChildren) {
  TForm* A = NewChild(u"A");
  TForm* B = NewChild(u"B");
  EXPECT_EQ(Entries(), "A_DSFCHILDITEM=A B_DSFCHILDITEM=B* ");
  B->SetCaption(u"Second");
  EXPECT_EQ(Entries(), "A_DSFCHILDITEM=A B_DSFCHILDITEM=Second* ");
  A->Show();
  Pump();
  EXPECT_EQ(Entries(), "A_DSFCHILDITEM=A* B_DSFCHILDITEM=Second ");
  // An entry brings back a minimised child and activates it.
  Skin(B)->SetWindowState(wsMinimized);
  Pump();
  EXPECT_EQ(Skin(B)->WindowState(), wsMinimized);
  WinItem->Items(1)->Click();
  Pump();
  EXPECT_EQ(Skin(B)->WindowState(), wsNormal);
  EXPECT_EQ(Parent->ActiveMDIChild(), B);
  // Hidden: its entry goes; an entry of another kind stays.
  auto* Other = new TMenuItem(Menu);
  Other->SetName(u"Arrange");
  WinItem->Add(Other);
  B->Hide();
  Pump();
  EXPECT_EQ(Entries(), "A_DSFCHILDITEM=A* Arrange= ");
  FreeObject(B);
  FreeObject(A);
  Pump();
  EXPECT_EQ(Entries(), "Arrange= ");
}

TEST_F(MdiSkin, TileAndCascadeFollowTheArrangementRules) {
  std::vector<TForm*> Kids;
  for (const char16_t* N : {u"A", u"B", u"C", u"D"}) Kids.push_back(NewChild(N, Bounds(30, 30, 200, 150)));
  auto Place = [&](Integer I) { return Parent->MDIChildren(I)->BoundsRect(); };
  PS->Tile();
  Pump();
  // Four children on 800 x 600: 2 x 2 of 400 x 300.
  EXPECT_EQ(Place(0), Bounds(0, 0, 400, 300));
  EXPECT_EQ(Place(1), Bounds(0, 300, 400, 300));
  EXPECT_EQ(Place(2), Bounds(400, 0, 400, 300));
  EXPECT_EQ(Place(3), Bounds(400, 300, 400, 300));
  PS->SetTileMode(tbVertical);
  PS->Tile();
  Pump();
  auto V = TileVerticalRects(4, 800, 600);
  for (Integer I = 0; I < 4; ++I) EXPECT_EQ(Place(I), V[static_cast<size_t>(I)]) << I;
  // Unskinned parent, sizeable border: the step is 19 + 3; the last child
  // sits at the origin.
  delete Kids.back();
  Kids.pop_back();
  PS->Cascade();
  Pump();
  EXPECT_EQ(Place(0), Bounds(44, 44, 756, 556));
  EXPECT_EQ(Place(1), Bounds(22, 22, 756, 556));
  EXPECT_EQ(Place(2), Bounds(0, 0, 756, 556));
  // A child's own component arranges nothing: its form is no parent.
  Skin(Kids[0])->Tile();
  Pump();
  EXPECT_EQ(Place(0), Bounds(44, 44, 756, 556));
  for (TForm* K : Kids) delete K;
}

TEST_F(MdiSkin, MaximiseRestoreAndMinimiseGoThroughTheParent) {
  TForm* A = NewChild(u"A", Bounds(10, 10, 220, 160));
  TForm* B = NewChild(u"B", Bounds(40, 40, 220, 160));
  Skin(A)->SetWindowState(wsMaximized);
  Pump();
  EXPECT_TRUE(PS->MDIChildMaximized());
  EXPECT_EQ(A->BoundsRect(), Bounds(0, 0, 800, 600));
  // Maximised, it shows no frame: all of it is client area.
  EXPECT_EQ(A->ClientWidth(), 800);
  EXPECT_EQ(A->ClientHeight(), 600);
  // The other child maximises with it.
  EXPECT_EQ(Skin(B)->WindowState(), wsMaximized);
  EXPECT_EQ(B->BoundsRect(), Bounds(0, 0, 800, 600));
  EXPECT_NE(FindMaximizedMDIChildSkinForm(), nullptr);
  // The parent's caption carries the maximised child's.
  Parent->SetCaption(u"Parent");
  EXPECT_EQ(PS->FormCaptionText(), u"Parent - [" + Parent->ActiveMDIChild()->Caption() + u"]");
  // A child shown now asks the parent and maximises too.
  TForm* C = NewChild(u"C");
  EXPECT_EQ(Skin(C)->WindowState(), wsMaximized);
  EXPECT_EQ(FindActiveMDIChildSkinForm(), Skin(C));
  // The parent's client grows: maximised children follow.
  Parent->SetClientSize(820, 610);
  Pump();
  EXPECT_EQ(A->BoundsRect(), Bounds(0, 0, 820, 610));
  Parent->SetClientSize(800, 600);
  Pump();
  // Restoring one restores all and clears the mark.
  Skin(A)->SetWindowState(wsNormal);
  Pump();
  EXPECT_FALSE(PS->MDIChildMaximized());
  EXPECT_EQ(PS->FormCaptionText(), u"Parent");
  EXPECT_EQ(A->BoundsRect(), Bounds(10, 10, 220, 160));
  EXPECT_LT(A->ClientWidth(), 220);  // the frame is back
  EXPECT_EQ(Skin(B)->WindowState(), wsNormal);
  EXPECT_EQ(B->BoundsRect(), Bounds(40, 40, 220, 160));
  EXPECT_EQ(Skin(C)->WindowState(), wsNormal);
  EXPECT_EQ(FindMaximizedMDIChildSkinForm(), nullptr);
  // Maximised again, then one minimised: the others are restored, the
  // minimised one goes to the bottom-left corner of the client area.
  Skin(B)->SetWindowState(wsMaximized);
  Pump();
  ASSERT_TRUE(PS->MDIChildMaximized());
  Skin(B)->SetWindowState(wsMinimized);
  Pump();
  EXPECT_FALSE(PS->MDIChildMaximized());
  EXPECT_EQ(Skin(A)->WindowState(), wsNormal);
  EXPECT_EQ(Skin(C)->WindowState(), wsNormal);
  EXPECT_EQ(Skin(B)->WindowState(), wsMinimized);
  EXPECT_EQ(B->Left(), 0);
  EXPECT_EQ(B->Top(), 600 - Skin(B)->GetMinHeight());
  // A second one minimised takes the next place along the row.
  Skin(A)->SetWindowState(wsMinimized);
  Pump();
  EXPECT_EQ(A->Left(), Skin(A)->GetMinWidth());
  EXPECT_EQ(A->Top(), 600 - Skin(A)->GetMinHeight());
  delete C;
  delete B;
  delete A;
}

TEST_F(MdiSkin, ScrollBarsFollowTheChildrenAndMoveThem) {
  TspSkinScrollBar* HB = PS->MDIHScrollBar();
  TspSkinScrollBar* VB = PS->MDIVScrollBar();
  ASSERT_NE(HB, nullptr);
  ASSERT_NE(VB, nullptr);
  TForm* A = NewChild(u"A", Bounds(100, 100, 220, 160));
  TForm* B = NewChild(u"B", Bounds(300, 200, 220, 160));
  EXPECT_FALSE(HB->Visible());
  EXPECT_FALSE(VB->Visible());
  A->SetLeft(-50);
  Pump();
  ASSERT_TRUE(HB->Visible());
  EXPECT_FALSE(VB->Visible());
  EXPECT_EQ(HB->BoundsRect(), Bounds(0, 600 - 17, 800, 17));
  EXPECT_EQ(HB->Position(), 50);
  EXPECT_EQ(HB->Max(), 849);
  EXPECT_EQ(HB->PageSize(), 800);
  // The down button moves every visible child 10 pixels right, the up
  // button back.
  HB->OnDownButtonClick(HB);
  Pump();
  EXPECT_EQ(A->Left(), -40);
  EXPECT_EQ(B->Left(), 310);
  HB->OnUpButtonClick(HB);
  Pump();
  EXPECT_EQ(A->Left(), -50);
  EXPECT_EQ(B->Left(), 300);
  // Below the bottom too: both bars, the horizontal one beside the
  // vertical one.
  B->SetTop(500);
  Pump();
  ASSERT_TRUE(VB->Visible());
  EXPECT_TRUE(HB->Both());
  EXPECT_EQ(VB->BoundsRect(), Bounds(800 - 17, 0, 17, 600 - 17));
  // Switched off: both hidden whatever the places.
  PS->SetShowMDIScrollBars(false);
  EXPECT_FALSE(HB->Visible());
  EXPECT_FALSE(VB->Visible());
  PS->SetShowMDIScrollBars(true);
  EXPECT_TRUE(HB->Visible());
  // Back inside: no bars; a destroyed child leaves the range at once.
  A->SetLeft(10);
  Pump();
  EXPECT_FALSE(HB->Visible());
  EXPECT_TRUE(VB->Visible());
  FreeObject(B);
  Pump();
  EXPECT_FALSE(VB->Visible());
  delete A;
}

TEST_F(MdiSkin, CloseAllClosesFromTheLastChild) {
  std::string Log;
  std::vector<TForm*> Kids;
  for (const char16_t* N : {u"A", u"B", u"C"}) {
    TForm* K = NewChild(N);
    K->OnClose = [&Log, N](TObject*, TCloseAction& Action) {
      Log += ToUtf8(N);
      Action = caHide;
    };
    Kids.push_back(K);
  }
  std::string Order;
  for (Integer I = 2; I >= 0; --I) Order += ToUtf8(Parent->MDIChildren(I)->Name());
  PS->CloseAll();
  Pump();
  EXPECT_EQ(Log, Order);
  for (TForm* K : Kids) EXPECT_FALSE(K->Visible());
  EXPECT_EQ(Entries(), "");
  for (TForm* K : Kids) delete K;
}

// The parent's menu bar shows the maximised child's buttons and acts on
// that child: restore, minimise, close.
TEST_F(MdiSkin, MenuBarChildButtonsActOnTheMaximisedChild) {
  auto* Bar = new TspSkinMainMenuBar(Parent);
  Bar->SetParent(Parent);
  PS->SetMainMenuBar(Bar);
  Bar->SetMainMenu(Menu);
  Pump();
  TRect R;
  PS->GetMDIClientRect(R);
  // The aligned bar takes the top of the client area.
  EXPECT_EQ(R.Top, Bar->Height());
  TForm* A = NewChild(u"A", Bounds(10, 10, 220, 160));
  TForm* B = NewChild(u"B", Bounds(40, 40, 220, 160));
  Skin(B)->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  EXPECT_EQ(B->BoundsRect(), Bounds(0, 0, R.Width(), R.Height()));
  auto Button = [&](TStdCommand Cmd) -> TspSkinMainMenuBarButton* {
    for (Integer I = 0; I < Bar->ButtonsCount; ++I) {
      auto* Btn = static_cast<TspSkinMainMenuBarButton*>(Bar->ObjectList->Items(I));
      if (Btn->Command == Cmd) return Btn;
    }
    return nullptr;
  };
  ASSERT_NE(Button(cmMaximize), nullptr);
  Button(cmMaximize)->ExecuteCommand();  // restores
  Pump();
  EXPECT_FALSE(PS->MDIChildMaximized());
  EXPECT_EQ(Bar->ButtonsCount, 0);
  EXPECT_EQ(A->BoundsRect(), Bounds(10, 10, 220, 160));
  EXPECT_EQ(B->BoundsRect(), Bounds(40, 40, 220, 160));
  // Maximised again: close takes the child away and the buttons with it.
  Skin(A)->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  bool Closed = false;
  TspFormSkin* Max = FindMaximizedMDIChildSkinForm();
  ASSERT_NE(Max, nullptr);
  Max->FForm->OnClose = [&](TObject*, TCloseAction& Action) {
    Closed = true;
    Action = caFree;
  };
  Button(cmClose)->ExecuteCommand();
  Application->DoReleaseQueue();
  Pump();
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Parent->MDIChildCount(), 1);
  // The one left is still maximised with the others: the buttons stay.
  EXPECT_TRUE(PS->MDIChildMaximized());
  EXPECT_EQ(Bar->ButtonsCount, 4);
  FreeObject(Parent->MDIChildren(0));
  Pump();
  EXPECT_FALSE(PS->MDIChildMaximized());
  EXPECT_EQ(Bar->ButtonsCount, 0);
}

// A child's system menu is the main form's component's menu: its state and
// key hook, never the child's, so nothing of the child is left behind when
// the main form's menu closes.
TEST_F(MdiSkin, ChildSystemMenuRunsOnTheMainFormsComponent) {
  TForm* A = NewChild(u"A");
  TspFormSkin* CS = Skin(A);
  CS->PopupSystemMenu(A->Left() + 60, A->Top() + 60);
  Pump();
  EXPECT_TRUE(PS->SkinMenu->Visible());
  EXPECT_TRUE(PS->InMenu);
  EXPECT_TRUE(Application->MessageHooks().Installed(PS));
  EXPECT_FALSE(CS->InMenu);
  EXPECT_FALSE(CS->SkinMenu->Visible());
  EXPECT_FALSE(Application->MessageHooks().Installed(CS));
  // Its items are the child's: Ctrl+F4 on Close.
  TMenuItem* Items = CS->GetSystemMenuItems();
  TMenuItem* Close = nullptr;
  for (Integer I = 0; I < Items->Count(); ++I)
    if (Items->Items(I)->Name() == u"DSF_CLOSE") Close = Items->Items(I);
  ASSERT_NE(Close, nullptr);
  EXPECT_EQ(Close->ShortCut(), TextToShortCut(u"Ctrl+F4"));
  PS->SkinMenu->Hide();
  Pump();
  EXPECT_FALSE(PS->InMenu);
  EXPECT_FALSE(Application->MessageHooks().Installed(PS));
  EXPECT_FALSE(Application->MessageHooks().Installed(CS));
  delete A;
}

// The document tabs bar on the parent: a tab per shown child, the row's
// layout, choosing, dragging and closing with the mouse, the hidden-tabs
// button and a child that refuses its tab.
class MdiTabs : public MdiSkin {
 protected:
  void SetUp() override {
    MdiSkin::SetUp();
    Bar = new TspSkinMDITabsBar(Parent);
    Bar->SetAlign(alTop);
    Bar->SetParent(Parent);
    Bar->SetFormSkin(PS);
    PS->SetMDITabsBar(Bar);
    Pump();
  }
  // Mouse messages straight to the bar, in its client coordinates.
  void Press(Integer X, Integer Y, UINT Msg = WM_LBUTTONDOWN) {
    SendMessageW(Bar->Handle(), Msg, Msg == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(X, Y));
  }
  void MoveTo(Integer X, Integer Y) { SendMessageW(Bar->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X, Y)); }
  void Release(Integer X, Integer Y) { SendMessageW(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
  std::string Order() {
    std::string S;
    for (Integer I = 0; I < Bar->TabCount(); ++I) S += ToUtf8(Bar->Tabs(I)->Child->Name());
    return S;
  }
  std::unique_ptr<TBitmap> Picture() {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Bar->Width(), Bar->Height());
    Bar->CreateControlDefaultImage(B.get());
    return B;
  }
  // The bar's skinned image at its size.
  std::unique_ptr<TBitmap> SkinPicture() {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Bar->Width(), Bar->Height());
    Bar->GetSkinData();
    Bar->CreateControlSkinImage(B.get());
    return B;
  }
  // Children A, B, C with tabs at 15..60, 60..105 and 105..150 (C active).
  std::vector<TForm*> ThreeTabs() {
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 0, 150, 21);
    std::vector<TForm*> K{NewChild(u"A"), NewChild(u"B"), NewChild(u"C")};
    Bar->Repaint();
    Pump();
    return K;
  }
  static void FreeChildren(const std::vector<TForm*>& K) {
    for (auto I = K.rbegin(); I != K.rend(); ++I) delete *I;
  }
  TspSkinMDITabsBar* Bar = nullptr;
};

TEST_F(MdiTabs, TabsFollowTheChildrenAndLayOutInARow) {
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 150, 21);
  TForm* A = NewChild(u"A");
  TForm* B = NewChild(u"B");
  TForm* C = NewChild(u"C");
  ASSERT_EQ(Order(), "ABC");
  ASSERT_NE(Bar->ListButton(), nullptr);
  Bar->CalcTabRects();
  EXPECT_EQ(Bar->Tabs(0)->ObjectRect, TRect(15, 0, 60, 21));
  EXPECT_EQ(Bar->Tabs(1)->ObjectRect, TRect(60, 0, 105, 21));
  EXPECT_EQ(Bar->Tabs(2)->ObjectRect, TRect(105, 0, 150, 21));
  // The active child's tab: its fill and no other.
  EXPECT_TRUE(Bar->Tabs(2)->Active);
  EXPECT_FALSE(Bar->Tabs(0)->Active);
  auto P = Picture();
  EXPECT_EQ(Px(P.get(), 107, 2), TColor(0xB59385));
  EXPECT_EQ(Px(P.get(), 17, 2), Sys(clBtnFace));
  // A click on a tab activates its child.
  Press(20, 10);
  Release(20, 10);
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), A);
  EXPECT_TRUE(Bar->Tabs(0)->Active);
  // Crowded: minimum 60 on 200 pixels with four tabs; two hidden, listed
  // by the hidden-tabs button.
  TForm* D = NewChild(u"D");
  Bar->SetBounds(0, 0, 200, 21);
  Bar->MinTabWidth = 60;
  Bar->Repaint();
  Pump();
  EXPECT_EQ(Bar->InVisibleCount(), 2);
  ASSERT_NE(Bar->HideListButton(), nullptr);
  Bar->FillHideListMenu();
  ASSERT_EQ(Bar->HideListMenu()->Items()->Count(), 2);
  EXPECT_EQ(Bar->HideListMenu()->Items()->Items(0)->Name(), u"C_DSFCHILDITEMBARHIDE");
  // Its item brings that child to the front.
  Bar->HideListMenu()->Items()->Items(0)->Click();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), C);
  Bar->FillListMenu();
  EXPECT_EQ(Bar->ListMenu()->Items()->Count(), 4);
  Bar->MinTabWidth = 0;
  Bar->Repaint();
  Pump();
  EXPECT_EQ(Bar->HideListButton(), nullptr);
  // A hidden child loses its tab; the last one gone takes the list button.
  B->Hide();
  Pump();
  EXPECT_EQ(Order(), "ACD");
  FreeObject(A);
  FreeObject(C);
  FreeObject(D);
  Pump();
  EXPECT_EQ(Bar->TabCount(), 0);
  EXPECT_EQ(Bar->ListButton(), nullptr);
  delete B;
}

TEST_F(MdiTabs, DragSwapsPastTheMiddleAndCloseButtonClosesOnRelease) {
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 150, 21);
  TForm* A = NewChild(u"A");
  TForm* B = NewChild(u"B");
  TForm* C = NewChild(u"C");
  Bar->Repaint();
  Pump();
  // A one-pixel move starts the drag; released before any middle: no change.
  Press(30, 10);
  MoveTo(31, 10);
  EXPECT_TRUE(Bar->IsDrag);
  Release(31, 10);
  EXPECT_EQ(Order(), "ABC");
  EXPECT_EQ(Bar->DragIndex, -1);
  // Past the middle of the next tab: the two change places.
  Press(30, 10);
  MoveTo(54, 10);
  Release(54, 10);
  EXPECT_EQ(Order(), "BAC");
  // Dragged far left it stays on the bar, and drops at the start.
  Press(140, 10);
  MoveTo(20, 10);
  Bar->CalcTabRects();
  EXPECT_EQ(Bar->Tabs(2)->ObjectRect.Left, 0);
  Release(20, 10);
  EXPECT_EQ(Order(), "CBA");
  // With close buttons: a 14 x 14 square at the tab's right, centred.
  Bar->ShowCloseButtons = true;
  Bar->Repaint();
  Pump();
  TspMDITab* T = Bar->Tabs(1);  // B
  ASSERT_EQ(T->Child, B);
  const Integer CloseX = T->ObjectRect.Left + T->ObjectRect.Width() - 14 - 5;
  EXPECT_EQ(T->ButtonRect, TRect(T->ObjectRect.Width() - 19, 3, T->ObjectRect.Width() - 5, 17));
  bool Closed = false;
  B->OnClose = [&](TObject*, TCloseAction& Action) {
    Closed = true;
    Action = caHide;
  };
  // Pressed on the button: no drag; released on it: closed.
  Press(CloseX + 3, 10);
  EXPECT_FALSE(Bar->FDown);
  EXPECT_TRUE(T->ButtonMouseDown);
  MoveTo(CloseX + 4, 10);
  EXPECT_FALSE(Bar->IsDrag);
  Release(CloseX + 4, 10);
  Pump();
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Order(), "CA");
  // Pressed elsewhere on the tab, released on the button: closed too.
  Closed = false;
  A->OnClose = [&](TObject*, TCloseAction& Action) {
    Closed = true;
    Action = caHide;
  };
  Bar->MoveTabs = false;
  TspMDITab* TA = Bar->Tabs(1);
  Bar->Repaint();
  Pump();
  const Integer AX = TA->ObjectRect.Left + TA->ButtonRect.Left + 3;
  Press(TA->ObjectRect.Left + 5, 10);
  Release(AX, 10);
  Pump();
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Order(), "C");
  SaveForReview(Bar->Handle(), "mdi_tabs", "one_tab_close_button");
  delete C;
  delete B;
  delete A;
}

TEST_F(MdiTabs, RefusedChildGetsNoTabAndRightClickDropsTheChildsSystemMenu) {
  auto* A = new TForm(nullptr);
  A->SetName(u"A");
  A->SetFormStyle(fsMDIChild);
  A->SetBounds(10, 10, 220, 160);
  auto* AS = new TspFormSkin(A);
  AS->OnAcceptToMDITabsBar = [](bool& Accept) { Accept = false; };
  A->Show();
  Pump();
  EXPECT_EQ(Bar->TabCount(), 0);
  TForm* B = NewChild(u"B");
  ASSERT_EQ(Bar->TabCount(), 1);
  Bar->Repaint();
  Pump();
  std::string Log;
  Bar->OnTabMouseDown = [&](TMouseButton Btn, TShiftState, TspMDITab* T) {
    Log += (Btn == mbRight ? "R:" : "L:") + ToUtf8(T->Child->Name()) + " ";
  };
  Press(20, 10, WM_RBUTTONDOWN);
  Pump();
  EXPECT_EQ(Log, "R:B ");
  EXPECT_TRUE(PS->SkinMenu->Visible());
  EXPECT_TRUE(PS->InMenu);
  PS->SkinMenu->Hide();
  Pump();
  delete B;
  delete A;
}

// A skin with a "tab" description over a 100 x 60 picture: the row's
// background cell, a normal and an active tab face, the page frame and a
// close button.
TEST_F(MdiTabs, SkinnedLookFromTheTabDescription) {
  constexpr TColor BG = 0x30A0A0, TN = 0x2020C0, TA = 0xC02020, PF = 0x208020, CB = 0x404040;
  TTempFolder Dir("mditabs");
  auto SD = LoadFixtureSkin(Dir);
  const Integer Pic = SD->FActivePictures->Count();
  SD->FActivePictures->Add(skintest::FlatPicture(100, 60, PF,
                                                 {{TRect(0, 0, 10, 20), BG},
                                                  {TRect(10, 0, 50, 20), TN},
                                                  {TRect(50, 0, 90, 20), TA},
                                                  {TRect(88, 40, 100, 52), CB}})
                               .release());
  auto* D = new TspDataSkinTabControl(u"tab");
  D->PictureIndex = Pic;
  D->TabsBGRect = TRect(0, 0, 10, 20);
  D->TabRect = TRect(10, 0, 50, 20);
  D->ActiveTabRect = TRect(50, 0, 90, 20);
  D->TabLeftOffset = D->TabRightOffset = 4;
  D->SkinRect = TRect(0, 20, 100, 60);
  D->ClRect = TRect(4, 6, 96, 56);
  D->LTPoint = TPoint(4, 0);
  D->RTPoint = TPoint(96, 0);
  D->CloseButtonRect = TRect(88, 40, 100, 52);
  D->FontName = u"Arial";
  D->FontHeight = 13;
  SD->CtrlList->Add(D);
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 300, 21);
  Bar->SetSkinData(SD.get());
  // The tab row plus the page frame's strip.
  EXPECT_EQ(Bar->Height(), 26);
  EXPECT_EQ(Bar->FBottomOffset, 6);
  EXPECT_EQ(Bar->GetCloseSize(), 12);
  // Missing active and pressed close-button looks take the normal one.
  EXPECT_EQ(D->CloseButtonActiveRect, D->CloseButtonRect);
  EXPECT_EQ(D->CloseButtonDownRect, D->CloseButtonRect);
  std::vector<TForm*> Kids{NewChild(u"A"), NewChild(u"B"), NewChild(u"C")};
  auto B = SkinPicture();
  EXPECT_EQ(Px(B.get(), 5, 5), Sys(BG));
  EXPECT_EQ(Px(B.get(), 40, 10), Sys(TN));    // tab 0 (15..110)
  EXPECT_EQ(Px(B.get(), 250, 10), Sys(TA));   // tab 2, the active child's
  EXPECT_EQ(Px(B.get(), 150, 22), Sys(PF));   // the page frame's strip
  // Close buttons: the skin's picture at the right of each tab.
  Bar->ShowCloseButtons = true;
  B = SkinPicture();
  const TspMDITab* T0 = Bar->Tabs(0);
  EXPECT_EQ(T0->ButtonRect.Width(), 12);
  const TRect CR(T0->ObjectRect.Left + T0->ButtonRect.Left, T0->ButtonRect.Top, 0, 0);
  EXPECT_EQ(Px(B.get(), CR.Left + 6, CR.Top + 6), Sys(CB));
  // Resized look (the skin's size off): the same faces, stretched.
  Bar->UseSkinSize = false;
  Bar->ShowCloseButtons = false;
  B = SkinPicture();
  EXPECT_EQ(Px(B.get(), 40, 10), Sys(TN));
  EXPECT_EQ(Px(B.get(), 250, 10), Sys(TA));
  // Button kind without a "resizebutton" description: no faces drawn.
  Bar->UseSkinSize = true;
  Bar->SetTabKind(sptkButton);
  B = SkinPicture();
  EXPECT_EQ(Px(B.get(), 40, 10), Sys(BG));
  Bar->SetTabKind(sptkTab);
  Bar->Repaint();
  Pump();
  // The bar lies over the client window, not under it.
  POINT Q{150, 10};
  ClientToScreen(Parent->Handle(), &Q);
  EXPECT_EQ(WindowFromPoint(Q), Bar->Handle());
  SaveForReview(Parent->Handle(), "mdi_tabs", "fixture_skin_three_tabs");
  Bar->SetSkinData(nullptr);
  for (TForm* K : Kids) delete K;
  EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? std::string() : ToUtf8(Errors[0]));
}

// While a tab is dragged the bar shows where it would drop: three inverted
// columns at the edge of the drop tab and two small open triangles beside
// them at half height; the marker goes with the release.
TEST_F(MdiTabs, DragShowsTheDropMarkerAtTheDropTabsEdge) {
  const std::vector<TForm*> Kids = ThreeTabs();
  // Tabs at 15..60, 60..105, 105..150; tab A dragged 24 pixels right, past
  // the middle of B: the drop is B's place, the marker at B's right edge.
  Press(30, 10);
  MoveTo(54, 10);
  ASSERT_TRUE(Bar->IsDrag);
  auto P = Picture();
  ASSERT_EQ(Bar->GetDropIndex(), 1);
  const Integer X = Bar->Tabs(1)->ObjectRect.Right;
  ASSERT_EQ(X, 105);
  const Integer H = Bar->Height() / 2;
  auto Inv = [](TColor C) { return TColor(ColorToRGB(C) ^ 0xFFFFFF); };
  // Flat fills: B's at X - 3 and C's at X + 3 on the top row (no text).
  const TColor FillB = Px(P.get(), X - 3, 0), FillC = Px(P.get(), X + 3, 0);
  const struct {
    Integer DX, Y;
    bool LeftTab, Inverted;
  } Rows[] = {{-2, 0, true, false}, {-1, 0, true, true},  {0, 0, false, true},  {1, 0, false, true},
              {2, 0, false, false}, {-1, 20, true, true}, {1, 20, false, true}, {5, H, false, true},
              {-5, H, true, true},  {6, H, false, false}, {-6, H, true, false}};
  for (const auto& R : Rows) {
    const TColor Fill = R.LeftTab ? FillB : FillC;
    EXPECT_EQ(Px(P.get(), X + R.DX, R.Y), R.Inverted ? Inv(Fill) : Fill) << "dx " << R.DX << " y " << R.Y;
  }
  SaveForReview(Bar->Handle(), "mdi_tabs", "drag_drop_marker");
  Release(54, 10);
  EXPECT_EQ(Order(), "BAC");
  P = Picture();
  // After the drop nothing is inverted at the old marker's place.
  for (Integer DX : {-2, -1}) EXPECT_EQ(Px(P.get(), X + DX, 0), Px(P.get(), X - 3, 0)) << DX;
  for (Integer DX : {0, 1}) EXPECT_EQ(Px(P.get(), X + DX, 0), Px(P.get(), X + 2, 0)) << DX;
  FreeChildren(Kids);
}

// The pointer over the tabs: the hot tab follows it, each change leaves the
// old tab and enters the new one (in that order), the hot tab takes the hot
// fill, and the pointer leaving the bar leaves the tab.
TEST_F(MdiTabs, HoverEntersAndLeavesTabsInOrder) {
  const std::vector<TForm*> Kids = ThreeTabs();
  std::string Log;
  Bar->OnTabMouseEnter = [&](TspMDITab* T) { Log += "enter:" + ToUtf8(T->Child->Name()) + " "; };
  Bar->OnTabMouseLeave = [&](TspMDITab* T) { Log += "leave:" + ToUtf8(T->Child->Name()) + " "; };
  auto Hover = [&](Integer X) { SendMessageW(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, 10)); };
  const struct {
    Integer X;
    const char* Log;
    Integer Hot;
  } Rows[] = {{20, "enter:A ", 0},  {40, "", 0},  {70, "leave:A enter:B ", 1},
              {120, "leave:B enter:C ", 2}, {121, "", 2}, {30, "leave:C enter:A ", 0}};
  for (const auto& R : Rows) {
    Log.clear();
    Hover(R.X);
    EXPECT_EQ(Log, R.Log) << "x " << R.X;
    EXPECT_EQ(Bar->ActiveTabIndex, R.Hot) << "x " << R.X;
    for (Integer I = 0; I < Bar->TabCount(); ++I) EXPECT_EQ(Bar->Tabs(I)->MouseIn, I == R.Hot) << "x " << R.X;
  }
  // The hot tab (not the active one) takes the hot fill.
  ASSERT_FALSE(Bar->Tabs(0)->Active);
  auto P = Picture();
  EXPECT_EQ(Px(P.get(), 17, 2), TColor(0xD2BDB6));
  EXPECT_EQ(Px(P.get(), 62, 2), Sys(clBtnFace));
  Log.clear();
  SendMessageW(Bar->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Log, "leave:A ");
  EXPECT_EQ(Bar->ActiveTabIndex, -1);
  EXPECT_FALSE(Bar->Tabs(0)->MouseIn);
  FreeChildren(Kids);
}

// A double click on a tab puts a child in its normal state at the client's
// origin when DblClickChildMove is set; a single click, the option off or a
// maximised child move nothing.
TEST_F(MdiTabs, DoubleClickMovesANormalChildToTheOriginWhenAsked) {
  TForm* A = NewChild(u"A", Bounds(40, 30, 220, 160));
  Bar->Repaint();
  Pump();
  const TRect Tab = Bar->Tabs(0)->ObjectRect;
  const Integer TX = Tab.Left + 5, TY = Tab.Top + 5;
  const struct {
    bool Option, Double, Maximised, Moved;
  } Rows[] = {{true, true, false, true},
              {false, true, false, false},
              {true, false, false, false},
              {true, true, true, false}};
  for (const auto& R : Rows) {
    SCOPED_TRACE(testing::Message() << "option " << R.Option << " double " << R.Double << " max " << R.Maximised);
    A->SetBounds(40, 30, 220, 160);
    if (R.Maximised) Skin(A)->SetWindowState(wsMaximized);
    Pump();
    Bar->DblClickChildMove = R.Option;
    Press(TX, TY);
    Release(TX, TY);
    if (R.Double) {
      Press(TX, TY, WM_LBUTTONDBLCLK);
      Release(TX, TY);
    }
    Pump();
    if (R.Maximised) {
      EXPECT_EQ(Skin(A)->WindowState(), wsMaximized);
      Skin(A)->SetWindowState(wsNormal);
      Pump();
    }
    EXPECT_EQ(A->Left() == 0 && A->Top() == 0, R.Moved) << A->Left() << "," << A->Top();
    EXPECT_EQ(A->Width(), 220);
  }
  delete A;
}

// Tabs as buttons from a "resizebutton" description, and close buttons from
// a "resizetoolbutton" one when the tab description has no close-button
// picture: each state takes its face (a missing pressed face takes the hot
// one) and the close cross takes the state's font colour.
TEST_F(MdiTabs, ButtonAndCloseLooksFromTheResizeButtonDescriptions) {
  constexpr TColor BG = 0x30A0A0, TN = 0x2020C0, TA = 0xC02020;
  constexpr TColor RN = 0x606060, RA = 0x60C060, RD = 0x6060C0;
  constexpr TColor CN = 0x909090, CA = 0x90E090, CD = 0x9090E0;
  constexpr TColor FN = 0x010101, FA = 0x0000FF, FD = 0x00FF00;
  TTempFolder Dir("mditabs-buttons");
  auto SD = LoadFixtureSkin(Dir);
  const Integer Pic = SD->FActivePictures->Count();
  SD->FActivePictures->Add(skintest::FlatPicture(100, 60, BG,
                                                 {{TRect(10, 0, 50, 20), TN},
                                                  {TRect(50, 0, 90, 20), TA},
                                                  {TRect(0, 20, 30, 40), RN},
                                                  {TRect(30, 20, 60, 40), RA},
                                                  {TRect(60, 20, 90, 40), RD},
                                                  {TRect(0, 40, 14, 54), CN},
                                                  {TRect(14, 40, 28, 54), CA},
                                                  {TRect(28, 40, 42, 54), CD}})
                               .release());
  auto* T = new TspDataSkinTabControl(u"tab");
  T->PictureIndex = Pic;
  T->TabsBGRect = TRect(0, 0, 10, 20);
  T->TabRect = TRect(10, 0, 50, 20);
  T->ActiveTabRect = TRect(50, 0, 90, 20);
  T->TabLeftOffset = T->TabRightOffset = 4;
  T->FontName = u"Arial";
  T->FontHeight = 13;
  SD->CtrlList->Add(T);
  auto Button = [&](const char16_t* Name, TRect Normal, TRect Hot, TRect Down, TRect Cl) {
    auto* D = new TspDataSkinButtonControl(Name);
    D->PictureIndex = Pic;
    D->SkinRect = Normal;
    D->ActiveSkinRect = Hot;
    D->DownSkinRect = Down;
    D->ClRect = Cl;
    D->LTPoint = Cl.TopLeft();
    D->RTPoint = TPoint(Cl.Right, Cl.Top);
    D->LBPoint = TPoint(Cl.Left, Cl.Bottom);
    D->RBPoint = Cl.BottomRight();
    D->FontColor = FN;
    D->ActiveFontColor = FA;
    D->DownFontColor = FD;
    SD->CtrlList->Add(D);
    return D;
  };
  TspDataSkinButtonControl* RB =
      Button(u"resizebutton", TRect(0, 20, 30, 40), TRect(30, 20, 60, 40), TRect(60, 20, 90, 40), TRect(3, 3, 27, 17));
  Button(u"resizetoolbutton", TRect(0, 40, 14, 54), TRect(14, 40, 28, 54), TRect(28, 40, 42, 54), TRect(3, 3, 11, 11));
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 300, 21);
  Bar->SetSkinData(SD.get());
  std::vector<TForm*> Kids{NewChild(u"A"), NewChild(u"B")};
  // Buttons: the face by state; the corner pixel shows it (no text there).
  Bar->SetTabKind(sptkButton);
  TspMDITab* T0 = Bar->Tabs(0);
  const struct {
    bool Active, MouseIn, NoDownFace;
    TColor Face;
  } Faces[] = {{false, false, false, RN}, {false, true, false, RA}, {true, false, false, RD},
               {true, true, false, RD},   {true, false, true, RA}};
  for (const auto& F : Faces) {
    RB->DownSkinRect = F.NoDownFace ? TRect() : TRect(60, 20, 90, 40);
    Bar->CalcTabRects();
    T0->Active = F.Active;
    T0->MouseIn = F.MouseIn;
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Bar->Width(), Bar->Height());
    B->Canvas()->Brush()->SetColor(clBlack);
    B->Canvas()->FillRect(TRect(0, 0, B->Width(), B->Height()));
    T0->Draw(B->Canvas());
    EXPECT_EQ(Px(B.get(), T0->ObjectRect.Left + 1, T0->ObjectRect.Top + 1), Sys(F.Face))
        << "active " << F.Active << " hot " << F.MouseIn << " no down face " << F.NoDownFace;
  }
  RB->DownSkinRect = TRect(60, 20, 90, 40);
  T0->Active = T0->MouseIn = false;
  Bar->SetTabKind(sptkTab);
  // Close buttons: the tool button's face and the cross in its font colour.
  Bar->ShowCloseButtons = true;
  ASSERT_EQ(Bar->GetCloseSize(), 14);
  const struct {
    bool In, Down;
    TColor Face, Cross;
  } Closes[] = {{false, false, CN, FN}, {true, false, CA, FA}, {true, true, CD, FD}, {false, true, CN, FN}};
  for (const auto& C : Closes) {
    T0->ButtonMouseIn = C.In;
    T0->ButtonMouseDown = C.Down;
    auto B = SkinPicture();
    const TPoint O(T0->ObjectRect.Left + T0->ButtonRect.Left, T0->ObjectRect.Top + T0->ButtonRect.Top);
    EXPECT_EQ(T0->ButtonRect.Width(), 14);
    EXPECT_EQ(Px(B.get(), O.X, O.Y), Sys(C.Face)) << "in " << C.In << " down " << C.Down;
    EXPECT_EQ(Px(B.get(), O.X + 7, O.Y + 7), Sys(C.Cross)) << "in " << C.In << " down " << C.Down;
  }
  SaveForReview(Parent->Handle(), "mdi_tabs", "resize_button_close_buttons");
  Bar->SetSkinData(nullptr);
  for (TForm* K : Kids) delete K;
  EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? std::string() : ToUtf8(Errors[0]));
}

// The document client's background: the system's application work space in
// the default look; with a skin, its document background picture tiled, else
// its form background picture, else the skin's client part.
TEST_F(MdiSkin, ClientBackgroundFollowsTheSkinsPictures) {
  constexpr TColor M1 = 0x2060A0, M2 = 0xA06020, G1 = 0x40C040, G2 = 0xC040C0;
  TTempFolder Dir("mdibg");
  auto SD = LoadFixtureSkin(Dir);
  const Integer First = SD->FActivePictures->Count();
  SD->FActivePictures->Add(skintest::FlatPicture(10, 10, M1, {{TRect(5, 5, 10, 10), M2}}).release());
  SD->FActivePictures->Add(skintest::FlatPicture(8, 8, G1, {{TRect(4, 0, 8, 8), G2}}).release());
  const HWND Client = Parent->ClientHandle();
  ASSERT_NE(Client, nullptr);
  auto Erase = [&] {
    RECT R;
    GetClientRect(Client, &R);
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(R.right, R.bottom);
    B->Canvas()->Brush()->SetColor(clBlack);
    B->Canvas()->FillRect(TRect(0, 0, R.right, R.bottom));
    SendMessageW(Client, WM_ERASEBKGND, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
    return B;
  };
  const struct {
    const char* Look;
    bool Skinned;
    Integer MDIBG, BG;
    // Pixels at (2, 2), (7, 7), (12, 12) and (6, 1).
    TColor At2, At7, At12, At61;
  } Rows[] = {
      {"default", false, -1, -1, clAppWorkSpace, clAppWorkSpace, clAppWorkSpace, clAppWorkSpace},
      {"document picture", true, First, First + 1, M1, M2, M1, M1},
      {"form picture", true, -1, First + 1, G1, G2, G2, G2},
      {"client part", true, -1, -1, ClientColor, ClientColor, ClientColor, ClientColor},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Look);
    SD->MDIBGPictureIndex = R.MDIBG;
    SD->BGPictureIndex = R.BG;
    PS->SetSkinData(R.Skinned ? SD.get() : nullptr);
    Pump();
    auto B = Erase();
    EXPECT_EQ(Px(B.get(), 2, 2), Sys(R.At2));
    EXPECT_EQ(Px(B.get(), 7, 7), Sys(R.At7));
    EXPECT_EQ(Px(B.get(), 12, 12), Sys(R.At12));
    EXPECT_EQ(Px(B.get(), 6, 1), Sys(R.At61));
    // The whole client is painted, to its far corner.
    EXPECT_NE(Px(B.get(), B->Width() - 1, B->Height() - 1), TColor(0));
  }
  PS->SetSkinData(nullptr);
  EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? std::string() : ToUtf8(Errors[0]));
}
