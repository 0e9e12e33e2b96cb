// Size rules (constraints, AutoSize), the form's Position, border styles and
// minimising the application.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

using namespace ctltest;

namespace {

// A control whose own size rule is a fixed size.
class TAutoProbe : public TProbe {
 public:
  using TProbe::TProbe;
  Integer WantW = 33, WantH = 17;

 protected:
  bool CanAutoSize(Integer& W, Integer& H) override {
    W = WantW;
    H = WantH;
    return true;
  }
};

}  // namespace

class CoreSize : public AppFixture {};

TEST_F(CoreSize, ConstraintsInSetBoundsAndAlignment) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F, Bounds(0, 0, 40, 40));
  P->Constraints()->SetMinWidth(50);
  EXPECT_EQ(P->Width(), 50);  // applied at once
  P->Constraints()->SetMaxHeight(30);
  EXPECT_EQ(P->Height(), 30);
  struct Row {
    Integer W, H, WantW, WantH;
  } Rows[] = {{10, 10, 50, 10}, {80, 100, 80, 30}, {50, 30, 50, 30}, {0, 0, 50, 0}};
  for (const Row& R : Rows) {
    P->SetBounds(1, 2, R.W, R.H);
    EXPECT_EQ(P->BoundsRect(), Bounds(1, 2, R.WantW, R.WantH)) << R.W << "x" << R.H;
  }
  // A maximum below the minimum pulls the minimum down.
  P->Constraints()->SetMaxWidth(20);
  EXPECT_EQ(P->Constraints()->MinWidth(), 20);
  EXPECT_EQ(P->Width(), 20);
  // Alignment goes through the same rule; the next aligned control starts
  // where the constrained one ends.
  auto* Top = new TProbe(F, F, Bounds(0, 0, 10, 10));
  Top->Constraints()->SetMinHeight(40);
  Top->SetAlign(alTop);
  auto* Client = new TProbe(F, F, Bounds(0, 0, 10, 10));
  Client->Constraints()->SetMaxWidth(100);
  Client->SetAlign(alClient);
  F->Show();
  EXPECT_EQ(Top->Height(), 40);
  EXPECT_EQ(Client->Top(), 40);
  EXPECT_EQ(Client->Width(), 100);
  EXPECT_EQ(Client->Height(), F->ClientHeight() - 40);
  // A form's window reports its limits for the user's sizing.
  F->Constraints()->SetMinWidth(200);
  F->Constraints()->SetMaxHeight(400);
  MINMAXINFO MM{};
  MM.ptMaxTrackSize = {5000, 5000};
  SendMessageW(F->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&MM));
  EXPECT_EQ(MM.ptMinTrackSize.x, 200);
  EXPECT_EQ(MM.ptMaxTrackSize.y, 400);
  EXPECT_EQ(MM.ptMaxTrackSize.x, 5000);
  delete F;
}

TEST_F(CoreSize, AutoSizeAsksTheControlAndWaitsForLoading) {
  TForm* F = NewForm();
  auto* P = new TAutoProbe(F, F, Bounds(5, 5, 100, 100));
  P->SetAutoSize(true);
  EXPECT_EQ(P->BoundsRect(), Bounds(5, 5, 33, 17));
  P->SetBounds(7, 8, 200, 200);  // moves, keeps its own size
  EXPECT_EQ(P->BoundsRect(), Bounds(7, 8, 33, 17));
  P->WantW = 60;
  P->AdjustSize();
  EXPECT_EQ(P->Width(), 60);
  P->Constraints()->SetMaxWidth(40);  // limits beat the size rule
  EXPECT_EQ(P->Width(), 40);
  P->SetAutoSize(false);
  P->SetBounds(7, 8, 200, 20);
  EXPECT_EQ(P->Width(), 40);
  P->Constraints()->SetMaxWidth(0);
  P->SetBounds(7, 8, 200, 20);
  EXPECT_EQ(P->Width(), 200);
  delete F;
  // While loading the size rule waits for Loaded.
  TForm* G = NewForm();
  G->BeginLoading();
  auto* Q = new TAutoProbe(G, G, Bounds(0, 0, 90, 90));
  Q->SetAutoSize(true);
  EXPECT_EQ(Q->Width(), 90);
  G->EndLoading();
  EXPECT_EQ(Q->BoundsRect(), Bounds(0, 0, 33, 17));
  delete G;
}

class CoreFormPos : public AppFixture {};

// Position is applied when the form is shown.
TEST_F(CoreFormPos, CentringKinds) {
  TForm* Main = NewForm();
  Main->SetBounds(100, 80, 400, 300);
  Application->SetMainForm(Main);
  Main->Show();
  TForm* Owner = NewForm();
  Owner->SetBounds(300, 200, 200, 100);
  Owner->Show();
  Integer SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  struct Row {
    TPosition P;
    TComponent* Own;
    TPoint Want;
  } Rows[] = {
      {poDesigned, nullptr, TPoint(7, 9)},
      {poScreenCenter, nullptr, TPoint((SW - 120) / 2, (SH - 60) / 2)},
      {poDesktopCenter, nullptr, TPoint((SW - 120) / 2, (SH - 60) / 2)},
      {poMainFormCenter, nullptr, TPoint(100 + (400 - 120) / 2, 80 + (300 - 60) / 2)},
      {poOwnerFormCenter, Owner, TPoint(300 + (200 - 120) / 2, 200 + (100 - 60) / 2)},
      {poOwnerFormCenter, nullptr, TPoint(100 + (400 - 120) / 2, 80 + (300 - 60) / 2)},  // no owner form: main
  };
  // One dialog per owner, shown again for each row.
  auto* Owned = new TForm(Owner);
  auto* Unowned = new TForm(nullptr);
  for (const Row& R : Rows) {
    SCOPED_TRACE(static_cast<int>(R.P));
    TForm* D = R.Own ? Owned : Unowned;
    D->Hide();
    D->SetBounds(7, 9, 120, 60);
    D->SetPosition(R.P);
    D->Show();
    EXPECT_EQ(TPoint(D->Left(), D->Top()), R.Want);
    RECT W{};
    GetWindowRect(D->Handle(), &W);
    EXPECT_EQ(TPoint(W.left, W.top), R.Want);
  }
  delete Owned;
  // Centred on a form near the corner: not off the work area.
  Main->SetBounds(0, 0, 60, 40);
  TForm* D = Unowned;
  D->Hide();
  D->SetBounds(7, 9, 200, 100);
  D->SetPosition(poMainFormCenter);
  D->Show();
  TRect Work = Screen->WorkAreaRect();
  EXPECT_EQ(D->Left(), std::max(Work.Left, -70));
  EXPECT_EQ(D->Top(), std::max(Work.Top, -30));
  delete D;
  // The system's position keeps the size; the system's size replaces it.
  D = new TForm(nullptr);
  D->SetBounds(7, 9, 123, 45);
  D->SetPosition(poDefaultPosOnly);
  D->Show();
  EXPECT_EQ(D->Width(), 123);
  EXPECT_EQ(D->Height(), 45);
  delete D;
  D = new TForm(nullptr);
  D->SetBounds(7, 9, 123, 45);
  D->SetPosition(poDefault);
  D->Show();
  EXPECT_NE(TPoint(D->Width(), D->Height()), TPoint(123, 45));
  delete D;
  Application->SetMainForm(nullptr);
  delete Owner;
  delete Main;
}

// A modal form is centred when shown; where it was when it closed can be read
// afterwards.
TEST_F(CoreFormPos, ModalCentredAndPositionReadBackAfterClose) {
  auto* D = NewForm();
  D->SetBounds(7, 9, 150, 80);
  D->SetPosition(poScreenCenter);
  Integer SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  TPoint AtShow;
  auto* T = new TTimer(nullptr);
  T->SetInterval(30);
  T->SetOnTimer([&](TObject*) {
    T->SetEnabled(false);
    AtShow = TPoint(D->Left(), D->Top());
    SetWindowPos(D->Handle(), nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // the user moves it
    D->SetModalResult(mrOk);
  });
  EXPECT_EQ(D->ShowModal(), mrOk);
  EXPECT_EQ(AtShow, TPoint((SW - 150) / 2, (SH - 80) / 2));
  EXPECT_FALSE(D->Visible());
  EXPECT_EQ(TPoint(D->Left(), D->Top()), TPoint(33, 44));
  delete T;
  delete D;
}

class CoreFormStyle : public AppFixture {};

TEST_F(CoreFormStyle, BorderStylesIconsAndStayOnTop) {
  struct Row {
    TFormBorderStyle B;
    TBorderIcons I;
    DWORD Want, NotWant, WantEx, NotWantEx;
  } Rows[] = {
      {bsSizeable, biSystemMenu | biMinimize | biMaximize, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_POPUP, 0, WS_EX_TOOLWINDOW},
      {bsSingle, biSystemMenu, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0},
      {bsDialog, biSystemMenu | biMinimize | biHelp, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, 0},
      {bsNone, biSystemMenu, WS_POPUP, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, 0},
      {bsToolWindow, 0, WS_CAPTION, WS_THICKFRAME | WS_SYSMENU, WS_EX_TOOLWINDOW, 0},
      {bsSizeToolWin, biSystemMenu, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, WS_EX_TOOLWINDOW, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(static_cast<int>(R.B));
    TForm* F = NewForm();
    F->SetBorderStyle(R.B);
    F->SetBorderIcons(R.I);
    DWORD S = static_cast<DWORD>(GetWindowLongW(F->Handle(), GWL_STYLE));
    DWORD X = static_cast<DWORD>(GetWindowLongW(F->Handle(), GWL_EXSTYLE));
    EXPECT_EQ(S & R.Want, R.Want);
    EXPECT_EQ(S & R.NotWant, 0u);
    EXPECT_EQ(X & R.WantEx, R.WantEx);
    EXPECT_EQ(X & R.NotWantEx, 0u);
    delete F;
  }
  // Changed on a live window: the window is made again, keeping its text.
  TForm* F = NewForm();
  F->SetCaption(u"Kept");
  F->Show();
  HWND Old = F->Handle();
  F->SetBorderStyle(bsDialog);
  EXPECT_NE(GetWindowLongW(F->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
  EXPECT_EQ(F->Caption(), u"Kept");
  EXPECT_FALSE(IsWindow(Old));
  EXPECT_TRUE(IsWindowVisible(F->Handle()));
  F->SetFormStyle(fsStayOnTop);
  EXPECT_NE(GetWindowLongW(F->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  F->SetFormStyle(fsNormal);
  EXPECT_EQ(GetWindowLongW(F->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  delete F;
}

TEST_F(CoreFormStyle, MinimizeAndRestoreTheApplication) {
  TForm* Main = NewForm();
  Application->SetMainForm(Main);
  Main->Show();
  std::string Log;
  Application->OnMinimize = [&](TObject*) { Log += "min "; };
  Application->OnRestore = [&](TObject*) { Log += "restore "; };
  Application->Minimize();
  Pump();
  EXPECT_TRUE(Application->Minimized());
  EXPECT_TRUE(IsIconic(Main->Handle()));
  Application->Minimize();  // once only
  Application->Restore();
  Pump();
  EXPECT_FALSE(Application->Minimized());
  EXPECT_FALSE(IsIconic(Main->Handle()));
  // The window minimised and restored by others (the user, the taskbar).
  ShowWindow(Main->Handle(), SW_MINIMIZE);
  Pump();
  EXPECT_TRUE(Application->Minimized());
  ShowWindow(Main->Handle(), SW_RESTORE);
  Pump();
  EXPECT_EQ(Log, "min restore min restore ");
  Application->OnMinimize = nullptr;
  Application->OnRestore = nullptr;
  Application->SetMainForm(nullptr);
  delete Main;
}

class CorePaint : public AppFixture {};

// A windowed control's Invalidate goes through CM_INVALIDATE (a control may
// take it over); a graphic control's area is erased only when neither it nor
// its parent is opaque.
TEST_F(CorePaint, InvalidateThroughTheMessageAndEraseRules) {
  TForm* F = NewForm();
  auto* Panel = new TProbe(F, F, Bounds(0, 0, 200, 100));
  Panel->SetTabStop(false);
  auto* G = new TGProbe(F, Panel, Bounds(10, 10, 30, 30));
  F->Show();
  UpdateWindow(F->Handle());
  UpdateWindow(Panel->Handle());
  bool Take = true;
  Panel->On = [&](TMessage& M) { return M.Msg == CM_INVALIDATE && Take; };
  int Paints = Panel->Paints;
  Panel->Seen.clear();
  Panel->Invalidate();
  Panel->Update();
  EXPECT_EQ(Panel->Paints, Paints);
  EXPECT_EQ(Panel->Count(CM_INVALIDATE), 1);
  Take = false;
  Panel->Repaint();
  EXPECT_EQ(Panel->Paints, Paints + 1);
  int Erases = 0;
  TWndMethod Saved = Panel->WindowProc();
  Panel->SetWindowProc([&](TMessage& M) {
    if (M.Msg == WM_ERASEBKGND) ++Erases;
    Saved(M);
  });
  struct Row {
    bool ChildOpaque, ParentOpaque;
    int Want;
  } Rows[] = {{false, false, 1}, {true, false, 0}, {false, true, 0}, {true, true, 0}};
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::to_string(R.ChildOpaque) + std::to_string(R.ParentOpaque));
    G->SetControlStyle(R.ChildOpaque ? G->ControlStyle() | csOpaque : G->ControlStyle() & ~csOpaque);
    Panel->SetControlStyle(R.ParentOpaque ? Panel->ControlStyle() | csOpaque : Panel->ControlStyle() & ~csOpaque);
    Erases = 0;
    G->Invalidate();
    UpdateWindow(Panel->Handle());
    EXPECT_EQ(Erases, R.Want);
  }
  delete F;
}
