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
  auto Draw = [&] {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Bar->Width(), Bar->Height());
    Bar->GetSkinData();
    Bar->CreateControlSkinImage(B.get());
    return B;
  };
  auto B = Draw();
  EXPECT_EQ(Px(B.get(), 5, 5), Sys(BG));
  EXPECT_EQ(Px(B.get(), 40, 10), Sys(TN));    // tab 0 (15..110)
  EXPECT_EQ(Px(B.get(), 250, 10), Sys(TA));   // tab 2, the active child's
  EXPECT_EQ(Px(B.get(), 150, 22), Sys(PF));   // the page frame's strip
  // Close buttons: the skin's picture at the right of each tab.
  Bar->ShowCloseButtons = true;
  B = Draw();
  const TspMDITab* T0 = Bar->Tabs(0);
  EXPECT_EQ(T0->ButtonRect.Width(), 12);
  const TRect CR(T0->ObjectRect.Left + T0->ButtonRect.Left, T0->ButtonRect.Top, 0, 0);
  EXPECT_EQ(Px(B.get(), CR.Left + 6, CR.Top + 6), Sys(CB));
  // Resized look (the skin's size off): the same faces, stretched.
  Bar->UseSkinSize = false;
  Bar->ShowCloseButtons = false;
  B = Draw();
  EXPECT_EQ(Px(B.get(), 40, 10), Sys(TN));
  EXPECT_EQ(Px(B.get(), 250, 10), Sys(TA));
  // Button kind without a "resizebutton" description: no faces drawn.
  Bar->UseSkinSize = true;
  Bar->SetTabKind(sptkButton);
  B = Draw();
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
