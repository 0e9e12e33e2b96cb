// Hints: shown after the pause over a control with a hint, hidden after the
// hide pause, on a press and when the mouse leaves; the long hint for OnHint.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

#include "common/Screens.h"

using namespace ctltest;

namespace {

// Runs the application loop (Idle included) until Done or the time is up.
bool RunUntil(const std::function<bool()>& Done, DWORD Ms = 3000) {
  DWORD Start = GetTickCount();
  while (!Done()) {
    if (GetTickCount() - Start > Ms) return false;
    Application->HandleMessage();
  }
  return true;
}

}  // namespace

class CoreHints : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    SavedPause = Application->HintPause();
    SavedHide = Application->HintHidePause();
    Application->SetHintPause(80);
    Application->SetHintHidePause(400);
    F = NewForm();
    A = new TProbe(F, F, Bounds(10, 10, 60, 30));
    A->SetHint(u"Short|The long hint");
    A->SetShowHint(true);
    Panel = new TProbe(F, F, Bounds(100, 10, 150, 100));
    Panel->SetTabStop(false);
    Panel->SetShowHint(true);
    C = new TGProbe(F, Panel, Bounds(10, 10, 40, 30));  // ShowHint from its parent
    C->SetHint(u"From C");
    None = new TProbe(F, F, Bounds(10, 120, 60, 30));  // no hint
    None->SetShowHint(true);
    F->Show();
    Pump();
  }
  void TearDown() override {
    Application->CancelHint();
    Application->OnHint = nullptr;
    Application->SetShowHint(true);
    Application->SetHintPause(SavedPause);
    Application->SetHintHidePause(SavedHide);
    delete F;
    EXPECT_TRUE(Errors.empty());
    AppFixture::TearDown();
  }
  // Puts the real pointer at a form client point and tells the control there.
  void MoveTo(TControl* Ctl, Integer X, Integer Y) {
    TPoint S = F->ClientToScreen(TPoint(X, Y));
    SetCursorPos(S.X, S.Y);
    HWND W = WindowFromPoint(POINT{S.X, S.Y});
    POINT P{S.X, S.Y};
    ScreenToClient(W, &P);
    (void)Ctl;
    PostMessageW(W, WM_MOUSEMOVE, 0, PointToLParam(P.x, P.y));
    Pump();
  }
  bool Shown() { return Application->HintWindow()->HintShown(); }
  String ShownText() { return Application->HintWindow()->Caption(); }
  Integer SavedPause = 0, SavedHide = 0;
  TForm* F = nullptr;
  TProbe* A = nullptr;
  TProbe* Panel = nullptr;
  TGProbe* C = nullptr;
  TProbe* None = nullptr;
};

TEST_F(CoreHints, ShownAfterThePauseHiddenAfterTheHidePause) {
  std::vector<String> Hints;
  Application->OnHint = [&](TObject*) { Hints.push_back(Application->Hint()); };
  DWORD Start = GetTickCount();
  MoveTo(A, 20, 20);
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  EXPECT_GE(GetTickCount() - Start, 70u);
  EXPECT_EQ(ShownText(), u"Short");
  EXPECT_EQ(Application->Hint(), u"The long hint");
  // The text is drawn on the hint colour.
  {
    HWND HW = Application->HintWindow()->Handle();
    RECT CR{};
    GetClientRect(HW, &CR);
    HDC DC = GetDC(HW);
    COLORREF Back = static_cast<COLORREF>(ColorToRGB(clInfoBk));
    int Ink = 0, Paper = 0;
    for (int Y = 0; Y < CR.bottom; ++Y)
      for (int X = 0; X < CR.right; ++X) {
        COLORREF Px = GetPixel(DC, X, Y);
        (Px == Back ? Paper : Ink) += 1;
      }
    ReleaseDC(HW, DC);
    EXPECT_GT(Paper, Ink);
    EXPECT_GT(Ink, 10);
    lumigra_test::SaveWindowScreen(HW, "hint-window");
  }
  // It takes neither activation nor the mouse.
  EXPECT_EQ(GetActiveWindow(), F->Handle());
  HWND H = Application->HintWindow()->Handle();
  EXPECT_NE(GetWindowLongW(H, GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);
  RECT R{};
  GetWindowRect(H, &R);
  EXPECT_NE(WindowFromPoint(POINT{R.left + 2, R.top + 2}), H);
  // Gone after the hide pause, and back only after the mouse has moved on.
  Start = GetTickCount();
  ASSERT_TRUE(RunUntil([&] { return !Shown(); }));
  EXPECT_GE(GetTickCount() - Start, 300u);
  MoveTo(A, 25, 20);
  RunUntil([] { return false; }, 200);
  EXPECT_FALSE(Shown());
  // A graphic child takes ShowHint from its parent; the next hint comes at once.
  MoveTo(C, 115, 25);
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  EXPECT_EQ(ShownText(), u"From C");
  EXPECT_EQ(Hints, (std::vector<String>{u"The long hint", u"From C"}));
}

TEST_F(CoreHints, PressLeaveAndNoHint) {
  MoveTo(A, 20, 20);
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  // A press hides it.
  PostMessageW(A->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(10, 10));
  PostMessageW(A->Handle(), WM_LBUTTONUP, 0, PointToLParam(10, 10));
  Pump();
  EXPECT_FALSE(Shown());
  // Leaving the control (to one without a hint) before the pause: nothing shows.
  MoveTo(A, 20, 21);
  MoveTo(None, 20, 130);
  RunUntil([] { return false; }, 250);
  EXPECT_FALSE(Shown());
  // The mouse leaving the program's windows takes a shown hint away (idle).
  MoveTo(A, 20, 20);
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  TPoint Out = F->ClientToScreen(TPoint(F->ClientWidth() + 40, F->ClientHeight() + 40));
  SetCursorPos(Out.X, Out.Y);
  EXPECT_TRUE(RunUntil([&] { return !Shown(); }, 1000));
  // Hints switched off.
  Application->SetShowHint(false);
  MoveTo(None, 20, 130);
  MoveTo(A, 20, 20);
  RunUntil([] { return false; }, 250);
  EXPECT_FALSE(Shown());
}
