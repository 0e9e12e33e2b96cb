// The tab control and the page control over Wine's SysTabControl32: tab
// rectangles, the one-message scroll of a single row, user-only change
// events, RecreateWnd, and the page control's visible-tab numbering.
#include "tests/classlib/win/test_controls_util.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/ComCtrls.h"

using namespace ctltest;

namespace {

class TabsTest : public AppFixture {
 protected:
  TForm* F = nullptr;
  void SetUp() override {
    AppFixture::SetUp();
    F = NewForm();
    F->SetBounds(40, 40, 420, 260);
  }
  void TearDown() override {
    delete F;
    AppFixture::TearDown();
  }
  TTabControl* NewTabs(std::initializer_list<const char16_t*> Captions, TRect R = Bounds(10, 10, 300, 100)) {
    auto* T = new TTabControl(F);
    T->SetBoundsRect(R);
    T->Font()->SetName(u"Arial");
    T->Font()->SetHeight(-14);
    for (const char16_t* C : Captions) T->Tabs()->Add(C);
    T->SetParent(F);
    return T;
  }
  // The native rectangle, without any correction of the wrapper.
  static RECT NativeRect(HWND H, int I) {
    RECT R{};
    SendMessageW(H, TCM_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&R));
    return R;
  }
  // A press and release of the left button at (X, Y) of the control, the
  // way the mouse would bring them.
  static void Click(HWND H, int X, int Y) {
    SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, Y));
    SendMessageW(H, WM_LBUTTONUP, 0, PointToLParam(X, Y));
  }
};

}  // namespace

// Wine's tab rectangles, measured once (Arial -14, item size 0 x 20, tabs
// "One", "Two", "Three"; client 300 x 100; default padding):
//   top:    tabs (2, 2, 56, 22) (56, 2, 110, 22) (110, 2, 164, 22); TCM_ADJUSTRECT (4, 24, 296, 96)
//   bottom: tabs (2, 78, 56, 98) (56, 78, 110, 98) (110, 78, 164, 98); TCM_ADJUSTRECT (4, 4, 296, 76)
//   left:   tabs (2, 2, 22, 98) (22, 2, 42, 98) (42, 2, 62, 98); TCM_ADJUSTRECT (64, 4, 296, 96)
//   right:  tabs (278, 2, 298, 98) (258, 2, 278, 98) (238, 2, 258, 98); TCM_ADJUSTRECT (4, 4, 236, 96)
// On top and at the bottom this is the common control's geometry as the
// page control's corrections expect it (first tab at (2, 2); the page
// rectangle 2 + tab height + 2 below the top, 4 in from the other edges;
// a scrolled-out tab has Right <= 0), so no padding or size is changed.
// Left and right: Wine gives every tab a column of its own, as long as the
// control is high (Windows stacks them); nothing of the program puts tabs
// there.
TEST_F(TabsTest, TabRectanglesAndPageRectangle) {
  struct Row {
    TTabPosition Pos;
    RECT Tabs[3];
    RECT Adjust;
    TRect Display;
  } Rows[] = {
      {tpTop, {{2, 2, 56, 22}, {56, 2, 110, 22}, {110, 2, 164, 22}}, {4, 24, 296, 96}, TRect(4, 26, 296, 96)},
      {tpBottom, {{2, 78, 56, 98}, {56, 78, 110, 98}, {110, 78, 164, 98}}, {4, 4, 296, 76}, TRect(4, 4, 296, 76)},
      {tpLeft, {{2, 2, 22, 98}, {22, 2, 42, 98}, {42, 2, 62, 98}}, {64, 4, 296, 96}, TRect(64, 4, 296, 96)},
      {tpRight, {{278, 2, 298, 98}, {258, 2, 278, 98}, {238, 2, 258, 98}}, {4, 4, 236, 96}, TRect(4, 4, 236, 96)},
  };
  F->Show();
  for (const Row& Rw : Rows) {
    SCOPED_TRACE(int(Rw.Pos));
    TTabControl* T = NewTabs({u"One", u"Two", u"Three"});
    T->SetTabPosition(Rw.Pos);
    T->SetTabHeight(20);
    HWND H = T->Handle();
    for (int I = 0; I < 3; ++I) {
      RECT R = NativeRect(H, I);
      EXPECT_TRUE(EqualRect(&R, &Rw.Tabs[I])) << "tab " << I << ": " << R.left << "," << R.top << "," << R.right
                                              << "," << R.bottom;
      EXPECT_EQ(T->TabRect(I), TRect(Rw.Tabs[I].left, Rw.Tabs[I].top, Rw.Tabs[I].right, Rw.Tabs[I].bottom));
    }
    RECT A{0, 0, 300, 100};
    SendMessageW(H, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&A));
    EXPECT_TRUE(EqualRect(&A, &Rw.Adjust)) << A.left << "," << A.top << "," << A.right << "," << A.bottom;
    EXPECT_EQ(T->DisplayRect(), Rw.Display);
    delete T;
  }
}

// The padding around a caption goes to the native control and widens each
// tab on both sides (Wine's default horizontal padding is 6).
TEST_F(TabsTest, PaddingWidensTheTabs) {
  TTabControl* T = NewTabs({u"One", u"Two"});
  T->SetTabHeight(20);
  F->Show();
  int W0 = T->TabRect(0).Width();
  T->SetTabPadding(TPoint(10, 3));
  EXPECT_EQ(T->TabRect(0).Width(), W0 + 8);
  T->RecreateWnd();
  EXPECT_EQ(T->TabRect(0).Width(), W0 + 8);
  EXPECT_EQ(T->TabRect(1).Left, T->TabRect(0).Right);
}

// A derived control's own TCM_GETITEMRECT / TCM_ADJUSTRECT answer is what
// TabRect and DisplayRect give (the skinned controls correct them there).
TEST_F(TabsTest, TabRectAndDisplayRectGoThroughTheControlsOwnHandler) {
  struct TShifted : TTabControl {
    using TTabControl::TTabControl;
    void Dispatch(TMessage& M) override {
      TTabControl::Dispatch(M);
      if (M.Msg == TCM_GETITEMRECT) OffsetRect(reinterpret_cast<RECT*>(M.LParam), -2, -2);
      if (M.Msg == TCM_ADJUSTRECT) reinterpret_cast<RECT*>(M.LParam)->top -= 5;
    }
  };
  auto* T = new TShifted(F);
  T->SetBoundsRect(Bounds(10, 10, 300, 100));
  T->Font()->SetName(u"Arial");
  T->Font()->SetHeight(-14);
  T->Tabs()->Add(u"One");
  T->SetParent(F);
  T->SetTabHeight(20);
  F->Show();
  EXPECT_EQ(T->TabRect(0), TRect(0, 0, 54, 20));
  EXPECT_EQ(T->DisplayRect().Top, 24 - 5 + 2);
}

// The mouse over the frame, the empty strip beside the tabs and the page
// area belongs to the control (Wine's own answer there is HTTRANSPARENT),
// so WindowFromPoint finds it; over a tab it stays HTCLIENT as well.
TEST_F(TabsTest, WholeControlAnswersHitTests) {
  auto* T = NewTabs({u"One", u"Two"});
  T->SetTabHeight(20);
  F->Show();
  Pump();
  struct Row {
    const char* Name;
    int X, Y;
  };
  const Row Rows[] = {{"on a tab", 20, 10}, {"beside the tabs", 250, 10}, {"page area", 150, 60}, {"frame", 1, 90}};
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    const TPoint S = T->ClientToScreen(TPoint(W.X, W.Y));
    EXPECT_EQ(SendMessageW(T->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y)), HTCLIENT);
    EXPECT_EQ(WindowFromPoint(POINT{S.X, S.Y}), T->Handle());
  }
}

// Wine moves a single row one tab per WM_HSCROLL/SB_THUMBPOSITION; the
// wrapper steps until the row starts at the asked tab, both ways, and stops
// where the row can go no further.
TEST_F(TabsTest, OneMessageScrollsTheRowToTheGivenTab) {
  TTabControl* T = NewTabs({u"Tab 0", u"Tab 1", u"Tab 2", u"Tab 3", u"Tab 4", u"Tab 5", u"Tab 6", u"Tab 7", u"Tab 8",
                            u"Tab 9"},
                           Bounds(10, 10, 160, 80));
  T->SetTabHeight(20);
  F->Show();
  HWND H = T->Handle();
  ASSERT_EQ(T->FirstShownTab(), 0);
  WNDCLASSW Sys{};
  GetClassInfoW(nullptr, WC_TABCONTROLW, &Sys);
  CallWindowProcW(Sys.lpfnWndProc, H, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
  ASSERT_EQ(T->FirstShownTab(), 1) << "Wine's own step";
  RECT Out = NativeRect(H, 0);
  EXPECT_LE(Out.right, 0) << "a tab scrolled out lies at Right <= 0";
  struct Row {
    int Pos, Want;
  } Rows[] = {{5, 5}, {2, 2}, {9, 9}, {0, 0}, {7, 7}};
  for (const Row& R : Rows) {
    SendMessageW(H, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, R.Pos), 0);
    EXPECT_EQ(T->FirstShownTab(), R.Want) << "to " << R.Pos;
    RECT First = NativeRect(H, R.Want);
    EXPECT_EQ(First.left, 2);
  }
  // Past the last tab: the row stops at the last one (Wine alone would step
  // on and leave no tab shown).
  SendMessageW(H, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
  EXPECT_EQ(T->FirstShownTab(), 9);
  // The skinned controls destroy the native arrows and scroll through this
  // message alone: it still works, and a resize does not bring them back.
  HWND UpDown = FindWindowExW(H, nullptr, reinterpret_cast<const WCHAR*>(u"msctls_updown32"), nullptr);
  ASSERT_TRUE(UpDown);
  DestroyWindow(UpDown);
  SendMessageW(H, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
  EXPECT_EQ(T->FirstShownTab(), 3);
  T->SetWidth(150);
  EXPECT_FALSE(FindWindowExW(H, nullptr, reinterpret_cast<const WCHAR*>(u"msctls_updown32"), nullptr));
}

// OnChanging and OnChange come from the user's change only; TabIndex set in
// code fires nothing; a refusal keeps the tab.
TEST_F(TabsTest, ChangeEventsOnlyFromTheUser) {
  TTabControl* T = NewTabs({u"One", u"Two", u"Three"});
  T->SetTabHeight(20);
  std::vector<std::string> Log;
  bool Allow = true;
  T->OnChanging = [&](TObject*, bool& A) {
    Log.push_back("changing " + std::to_string(T->TabIndex()));
    A = Allow;
  };
  T->OnChange = [&](TObject*) { Log.push_back("change " + std::to_string(T->TabIndex())); };
  T->SetTabIndex(1);
  F->Show();
  HWND H = T->Handle();
  EXPECT_EQ(T->TabIndex(), 1);
  T->SetTabIndex(0);
  EXPECT_TRUE(Log.empty());
  TRect R = T->TabRect(2);
  Click(H, R.Left + 5, R.Top + 5);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing 0", "change 2"}));
  Log.clear();
  Allow = false;
  R = T->TabRect(1);
  Click(H, R.Left + 5, R.Top + 5);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing 2"}));
  EXPECT_EQ(T->TabIndex(), 2);
}

// Tabs and TabIndex live in the object without a window and survive
// RecreateWnd, as do the tab size and the changes made meanwhile.
TEST_F(TabsTest, RecreateKeepsTabsAndIndex) {
  TTabControl* T = NewTabs({u"One", u"Two", u"Three"});
  T->SetTabIndex(2);
  T->Tabs()->Insert(0, u"Zero");  // no window yet
  EXPECT_EQ(T->TabIndex(), 2);
  F->Show();
  HWND H = T->Handle();
  EXPECT_EQ(SendMessageW(H, TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(T->TabIndex(), 2);
  T->SetTabHeight(24);
  T->SetTabIndex(3);
  T->Tabs()->SetStrings(1, u"Uno");
  T->RecreateWnd();
  HWND H2 = T->Handle();
  EXPECT_NE(H2, H);
  ASSERT_EQ(SendMessageW(H2, TCM_GETITEMCOUNT, 0, 0), 4);
  const char16_t* Want[] = {u"Zero", u"Uno", u"Two", u"Three"};
  for (int I = 0; I < 4; ++I) {
    char16_t Buf[32]{};
    TCITEMW It{};
    It.mask = TCIF_TEXT;
    It.pszText = reinterpret_cast<WCHAR*>(Buf);
    It.cchTextMax = 32;
    SendMessageW(H2, TCM_GETITEMW, I, reinterpret_cast<LPARAM>(&It));
    EXPECT_EQ(String(Buf), String(Want[I]));
  }
  EXPECT_EQ(T->TabIndex(), 3);
  EXPECT_EQ(T->TabRect(0).Height(), 24);
  // Deleting the selected last tab leaves a valid selection.
  T->Tabs()->Delete(3);
  EXPECT_EQ(T->TabIndex(), 2);
}

// The page control numbers only the pages whose tab is shown; a user's tab
// change shows that page; hiding the active page's tab moves to the next
// page; pages fill the page rectangle; RecreateWnd keeps the active page.
TEST_F(TabsTest, PageControlCountsVisibleTabs) {
  auto* PC = new TPageControl(F);
  PC->SetBoundsRect(Bounds(10, 10, 300, 150));
  PC->SetParent(F);
  TTabSheet* P[3];
  const char16_t* Names[] = {u"First", u"Second", u"Third"};
  for (int I = 0; I < 3; ++I) {
    P[I] = new TTabSheet(F);
    P[I]->SetCaption(Names[I]);
    P[I]->SetPageControl(PC);
  }
  EXPECT_EQ(PC->ActivePage(), P[0]);
  P[1]->SetTabVisible(false);
  int Changes = 0;
  PC->OnChange = [&](TObject*) { ++Changes; };
  F->Show();
  HWND H = PC->Handle();
  EXPECT_EQ(SendMessageW(H, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(P[2]->TabIndex(), 1);
  EXPECT_EQ(P[1]->TabIndex(), -1);
  PC->SetActivePage(P[2]);
  EXPECT_EQ(PC->TabIndex(), 1);
  EXPECT_EQ(Changes, 0);
  EXPECT_TRUE(P[2]->Visible());
  EXPECT_FALSE(P[0]->Visible());
  EXPECT_EQ(P[2]->BoundsRect(), PC->DisplayRect());
  // The user picks the first tab.
  TRect R = PC->TabRect(0);
  Click(H, R.Left + 5, R.Top + 5);
  EXPECT_EQ(PC->ActivePage(), P[0]);
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(P[0]->Visible());
  EXPECT_FALSE(P[2]->Visible());
  // Showing the middle tab renumbers; the active page keeps its tab.
  P[1]->SetTabVisible(true);
  PC->SetActivePage(P[2]);
  EXPECT_EQ(PC->TabIndex(), 2);
  PC->RecreateWnd();
  EXPECT_EQ(PC->ActivePage(), P[2]);
  EXPECT_EQ(PC->TabIndex(), 2);
  EXPECT_EQ(SendMessageW(PC->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
  // Hiding the active page's tab: the next page with a tab becomes active.
  P[2]->SetTabVisible(false);
  EXPECT_EQ(PC->ActivePage(), P[0]);
  EXPECT_EQ(PC->TabIndex(), 0);
  // A page's caption is its tab's text.
  P[0]->SetCaption(u"Renamed");
  char16_t Buf[32]{};
  TCITEMW It{};
  It.mask = TCIF_TEXT;
  It.pszText = reinterpret_cast<WCHAR*>(Buf);
  It.cchTextMax = 32;
  SendMessageW(PC->Handle(), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&It));
  EXPECT_EQ(String(Buf), u"Renamed");
  // Freeing a page takes it out.
  delete P[0];
  EXPECT_EQ(PC->PageCount(), 2);
  EXPECT_EQ(PC->ActivePage(), P[1]);
  EXPECT_EQ(PC->TabIndex(), 0);
}

// The window's tabs follow every change of the pages (added into a shown
// control, moved, renamed, hidden, given an image, freed) and of a tab
// control's strings, while each change sends the window only the tabs that
// differ: adding a page to twenty inserts one tab, and nothing deletes all.
TEST_F(TabsTest, TabChangesReachTheWindowOneTabEach) {
  auto* PC = new TPageControl(F);
  PC->SetBoundsRect(Bounds(10, 10, 300, 150));
  PC->SetParent(F);
  F->Show();
  std::vector<TTabSheet*> P;
  auto Add = [&](const String& Name) {
    auto* S = new TTabSheet(F);
    S->SetCaption(Name);
    S->SetPageControl(PC);
    P.push_back(S);
  };
  for (int I = 0; I < 20; ++I) Add(u"Page " + IntToStr(I));
  // What the window holds, "caption:image" per tab.
  auto Held = [](HWND H) {
    std::vector<String> R;
    Integer N = static_cast<Integer>(SendMessageW(H, TCM_GETITEMCOUNT, 0, 0));
    for (Integer I = 0; I < N; ++I) {
      char16_t Buf[64]{};
      TCITEMW It{};
      It.mask = TCIF_TEXT | TCIF_IMAGE;
      It.pszText = reinterpret_cast<WCHAR*>(Buf);
      It.cchTextMax = 64;
      SendMessageW(H, TCM_GETITEMW, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&It));
      R.push_back(String(Buf) + u":" + IntToStr(It.iImage));
    }
    return R;
  };
  auto Expected = [&] {
    std::vector<String> R;
    for (Integer I = 0; I < PC->PageCount(); ++I) {
      TTabSheet* S = PC->Pages(I);
      if (S->TabVisible()) R.push_back(S->Caption() + u":" + IntToStr(S->ImageIndex()));
    }
    return R;
  };
  std::vector<UINT> Sent;
  TWndMethod Saved = PC->WindowProc();
  PC->SetWindowProc([&](TMessage& M) {
    if (M.Msg == TCM_INSERTITEMW || M.Msg == TCM_DELETEITEM || M.Msg == TCM_DELETEALLITEMS || M.Msg == TCM_SETITEMW)
      Sent.push_back(M.Msg);
    Saved(M);
  });
  Add(u"Added");
  EXPECT_EQ(Sent, std::vector<UINT>{TCM_INSERTITEMW});
  EXPECT_EQ(Held(PC->Handle()), Expected());
  PC->SetActivePage(P[5]);
  struct TStep {
    const char* Name;
    std::function<void()> Do;
  };
  TStep Steps[] = {
      {"move forward", [&] { P[3]->SetPageIndex(9); }},
      {"move back", [&] { P[12]->SetPageIndex(0); }},
      {"rename", [&] { P[7]->SetCaption(u"Renamed"); }},
      {"hide", [&] { P[4]->SetTabVisible(false); }},
      {"hide the active", [&] { P[5]->SetTabVisible(false); }},
      {"show", [&] { P[4]->SetTabVisible(true); }},
      {"image", [&] { P[8]->SetImageIndex(3); }},
      {"free the first", [&] { delete P[0]; }},
      {"free the last", [&] { delete P[20]; }},
  };
  for (TStep& St : Steps) {
    SCOPED_TRACE(St.Name);
    Sent.clear();
    St.Do();
    EXPECT_EQ(Held(PC->Handle()), Expected());
    EXPECT_EQ(PC->TabIndex(), PC->ActivePage() ? PC->ActivePage()->TabIndex() : -1);
    EXPECT_TRUE(std::find(Sent.begin(), Sent.end(), UINT(TCM_DELETEALLITEMS)) == Sent.end());
  }
  // Items changed behind the control: the next change sends them all again.
  SendMessageW(PC->Handle(), TCM_DELETEITEM, 0, 0);
  P[9]->SetCaption(u"Again");
  EXPECT_EQ(Held(PC->Handle()), Expected());
  PC->SetWindowProc(Saved);
  // A tab control's strings: insert, replace, delete in the middle.
  TTabControl* T = NewTabs({u"A", u"B", u"C", u"D"});
  auto Strings = [&] {
    std::vector<String> R;
    for (Integer I = 0; I < T->Tabs()->Count(); ++I) R.push_back(T->Tabs()->Strings(I) + u":" + IntToStr(I));
    return R;
  };
  T->HandleNeeded();
  T->Tabs()->Insert(1, u"X");
  EXPECT_EQ(Held(T->Handle()), Strings());
  T->Tabs()->SetStrings(2, u"Y");
  EXPECT_EQ(Held(T->Handle()), Strings());
  T->Tabs()->Delete(1);
  EXPECT_EQ(Held(T->Handle()), Strings());
}

// Wine's own arrows of a single row, measured: an overflowing row gets a
// "msctls_updown32" child, shown at the row's right end; the same window
// stays (hidden) when the row fits again and is shown again on the next
// overflow; a row of several lines never has one.
TEST_F(TabsTest, NativeArrowsOfAnOverflowingRow) {
  auto* T = NewTabs({u"First", u"Second", u"Third", u"Fourth", u"Fifth", u"Sixth"}, Bounds(10, 10, 150, 100));
  T->SetTabHeight(20);
  F->Show();
  Pump();
  auto Arrows = [&] { return FindWindowExW(T->Handle(), nullptr, reinterpret_cast<const WCHAR*>(u"msctls_updown32"), nullptr); };
  HWND U = Arrows();
  ASSERT_NE(U, nullptr);
  EXPECT_TRUE(IsWindowVisible(U));
  RECT R{};
  GetWindowRect(U, &R);
  const TPoint TL = T->ScreenToClient(TPoint(R.left, R.top));
  EXPECT_EQ(TL.X + (R.right - R.left), 150) << "at the right end";
  T->SetWidth(600);
  Pump();
  EXPECT_EQ(Arrows(), U) << "the window is kept";
  EXPECT_FALSE(IsWindowVisible(U));
  T->SetWidth(150);
  Pump();
  EXPECT_EQ(Arrows(), U);
  EXPECT_TRUE(IsWindowVisible(U));
  auto* M = NewTabs({u"First", u"Second", u"Third", u"Fourth", u"Fifth", u"Sixth"}, Bounds(10, 120, 150, 100));
  M->SetMultiLine(true);
  Pump();
  HWND MU = FindWindowExW(M->Handle(), nullptr, reinterpret_cast<const WCHAR*>(u"msctls_updown32"), nullptr);
  EXPECT_TRUE(MU == nullptr || !IsWindowVisible(MU));
}
