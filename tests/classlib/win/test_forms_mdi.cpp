// Document (MDI) forms over the system's document client: the client
// window, children inside it, their order and activation, the window menu
// reference, and what the system's arrangements do.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

#include "classlib/Menus.h"

using namespace ctltest;

namespace {

class MdiForms : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    SavedMain = Application->MainForm();
    Parent = new TForm(nullptr);
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetBounds(30, 30, 640, 480);
    Application->SetMainForm(Parent);
    Parent->Show();
    Pump();
  }
  void TearDown() override {
    // A child left over would outlive its client window.
    while (Parent->MDIChildCount() > 0) delete Parent->MDIChildren(0);
    delete Parent;
    Application->SetMainForm(SavedMain);
    AppFixture::TearDown();
  }
  TForm* NewChild(const char16_t* Name, TRect R = Bounds(10, 10, 200, 150)) {
    auto* C = new TForm(nullptr);
    C->SetName(Name);
    C->SetFormStyle(fsMDIChild);
    C->SetBoundsRect(R);
    C->Show();
    Pump();
    return C;
  }
  TForm* Parent = nullptr;
  TCustomForm* SavedMain = nullptr;
};

}  // namespace

TEST_F(MdiForms, ClientFillsTheFormLessAlignedControlsAndChildrenLiveInIt) {
  HWND Client = Parent->ClientHandle();
  ASSERT_NE(Client, nullptr);
  EXPECT_EQ(GetParent(Client), Parent->Handle());
  char Cls[32]{};
  GetClassNameA(Client, Cls, 32);
  EXPECT_STRCASEEQ(Cls, "MDIClient");
  RECT CR{};
  GetClientRect(Parent->Handle(), &CR);
  RECT R{};
  GetWindowRect(Client, &R);
  EXPECT_EQ(R.right - R.left, CR.right);
  EXPECT_EQ(R.bottom - R.top, CR.bottom);

  // A control on top: the client starts below it, and the control lies
  // above the client in the windows' order.
  auto* Top = new TProbe(Parent, Parent);
  Top->SetAlign(alTop);
  Top->SetHeight(30);
  Pump();
  EXPECT_EQ(GetWindow(Parent->Handle(), GW_CHILD), Top->Handle());
  GetWindowRect(Client, &R);
  MapWindowPoints(HWND_DESKTOP, Parent->Handle(), reinterpret_cast<POINT*>(&R), 2);
  GetClientRect(Parent->Handle(), &CR);
  EXPECT_EQ(R.top, 30);
  EXPECT_EQ(R.bottom, CR.bottom);

  TForm* A = NewChild(u"A", Bounds(20, 25, 200, 150));
  EXPECT_EQ(GetParent(A->Handle()), Client);
  EXPECT_TRUE(GetWindowLongW(A->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_TRUE(GetWindowLongW(A->Handle(), GWL_STYLE) & WS_CHILD);
  // Bounds are the client's coordinates.
  EXPECT_EQ(A->Left(), 20);
  EXPECT_EQ(A->Top(), 25);
  delete A;
  EXPECT_EQ(Parent->MDIChildCount(), 0);
}

TEST_F(MdiForms, ChildrenOrderActivationNextAndEvents) {
  std::string Log;
  TForm* A = NewChild(u"A");
  A->OnActivate = [&](TObject*) { Log += "A+ "; };
  A->OnDeactivate = [&](TObject*) { Log += "A- "; };
  TForm* B = NewChild(u"B");
  EXPECT_EQ(Log, "A- ");
  ASSERT_EQ(Parent->MDIChildCount(), 2);
  // The active child comes first.
  EXPECT_EQ(Parent->MDIChildren(0), B);
  EXPECT_EQ(Parent->MDIChildren(1), A);
  EXPECT_EQ(Parent->MDIChildren(2), nullptr);
  EXPECT_EQ(Parent->ActiveMDIChild(), B);
  EXPECT_TRUE(B->Active());
  EXPECT_FALSE(A->Active());

  Parent->Next();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), A);
  EXPECT_TRUE(A->Active());
  EXPECT_EQ(Log, "A- A+ ");
  A->Show();  // already active: nothing changes
  EXPECT_EQ(Log, "A- A+ ");
  B->Show();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), B);
  EXPECT_EQ(Log, "A- A+ A- ");

  // Hiding the active child activates the next; the last one hidden
  // leaves no active child.
  B->Hide();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), A);
  EXPECT_EQ(Log, "A- A+ A- A+ ");
  A->Hide();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), nullptr);
  EXPECT_EQ(Parent->MDIChildCount(), 2);  // hidden children still count
  delete B;
  Pump();
  EXPECT_EQ(Parent->MDIChildCount(), 1);
  delete A;
  EXPECT_EQ(Parent->ActiveMDIChild(), nullptr);
}

TEST_F(MdiForms, StylesNeedAParentAndCannotChangeOnAWindow) {
  // A child without a document parent has no window to live in.
  Application->SetMainForm(nullptr);
  auto* Orphan = new TForm(nullptr);
  Orphan->SetFormStyle(fsMDIChild);
  EXPECT_THROW(Orphan->Handle(), EInvalidOperation);
  delete Orphan;
  Application->SetMainForm(Parent);
  EXPECT_THROW(Parent->SetFormStyle(fsNormal), EInvalidOperation);
  EXPECT_EQ(Parent->FormStyle(), fsMDIForm);
  // A plain form has no client and no children.
  TForm* Plain = NewForm();
  Plain->Show();
  EXPECT_EQ(Plain->ClientHandle(), nullptr);
  EXPECT_EQ(Plain->MDIChildCount(), 0);
  EXPECT_EQ(Plain->ActiveMDIChild(), nullptr);
  Plain->Tile();  // nothing to arrange
  delete Plain;
}

TEST_F(MdiForms, WindowMenuIsForgottenWhenFreed) {
  auto* Menu = new TMainMenu(nullptr);
  auto* Item = new TMenuItem(Menu);
  Parent->SetWindowMenu(Item);
  EXPECT_EQ(Parent->WindowMenu(), Item);
  delete Item;
  EXPECT_EQ(Parent->WindowMenu(), nullptr);
  delete Menu;
}

// What the system does with the children: tiling puts them side by side
// inside the client, cascading stacks them with an offset, and the frame's
// procedure keeps the client over the form's client area.
TEST_F(MdiForms, SystemArrangementsPlaceEveryChildInsideTheClient) {
  TForm* A = NewChild(u"A", Bounds(300, 200, 100, 80));
  TForm* B = NewChild(u"B", Bounds(5, 5, 100, 80));
  RECT CR{};
  GetClientRect(Parent->ClientHandle(), &CR);
  Parent->SetTileMode(tbVertical);
  Parent->Tile();
  Pump();
  for (TForm* C : {A, B}) {
    EXPECT_GE(C->Left(), 0);
    EXPECT_GE(C->Top(), 0);
    EXPECT_LE(C->Left() + C->Width(), CR.right);
    EXPECT_LE(C->Top() + C->Height(), CR.bottom);
  }
  // Side by side: the same top, different lefts.
  EXPECT_EQ(A->Top(), B->Top());
  EXPECT_NE(A->Left(), B->Left());
  Parent->Cascade();
  Pump();
  EXPECT_NE(A->Left(), B->Left());
  EXPECT_NE(A->Top(), B->Top());
  delete A;
  delete B;
}

// The system shows and activates a document child when it makes its
// window; a form that is not shown yet stays out of sight and leaves the
// active child as it was.
TEST_F(MdiForms, MakingAChildsWindowDoesNotShowIt) {
  TForm* A = NewChild(u"A");
  auto* C = new TForm(nullptr);
  C->SetFormStyle(fsMDIChild);
  int Shows = 0;
  TWndMethod Inner = C->WindowProc();
  C->SetWindowProc([&Shows, Inner](TMessage& M) {
    if (M.Msg == WM_SHOWWINDOW && M.WParam) ++Shows;
    Inner(M);
  });
  C->HandleNeeded();
  Pump();
  EXPECT_FALSE(IsWindowVisible(C->Handle()));
  EXPECT_FALSE(C->Visible());
  EXPECT_EQ(Parent->ActiveMDIChild(), A);
  C->Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(C->Handle()));
  EXPECT_EQ(Parent->ActiveMDIChild(), C);
  // One showing at the making (taken back), one by Show.
  EXPECT_EQ(Shows, 2);
  delete C;
  delete A;
}
