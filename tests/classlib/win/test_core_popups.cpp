// Parented pop-up controls: a control whose window parameters give WS_POPUP
// while its Parent is a windowed control (the skinned edits' pop-up track
// bar, the combo box's drop-down list). Its window is owned by the parent's
// form, its bounds are screen coordinates, the parent neither aligns nor
// frees it apart from itself, the form is reached through Parent, and it
// shows without taking the activation.
#include "tests/classlib/win/test_controls_util.h"

using namespace ctltest;

namespace {

class TPopupProbe : public TCustomControl {
 public:
  explicit TPopupProbe(TComponent* AOwner) : TCustomControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& P) override {
    TCustomControl::CreateParams(P);
    P.Style = WS_POPUP;
    P.ExStyle = WS_EX_TOOLWINDOW;
  }
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_MOUSEACTIVATE) {
      M.Result = MA_NOACTIVATE;
      return;
    }
    TCustomControl::Dispatch(M);
  }
};

}  // namespace

class CorePopups : public AppFixture {};

TEST_F(CorePopups, ParentedPopupIsOwnedPlacedOnTheScreenAndFreedWithItsParent) {
  TForm* F = NewForm();
  F->Show();
  Pump();
  auto* Box = new TProbe(F, F, Bounds(10, 10, 100, 60));
  Box->SetAlign(alClient);
  auto* P = new TPopupProbe(Box);
  P->SetVisible(false);
  P->SetParent(Box);
  P->HandleNeeded();
  EXPECT_EQ(GetWindow(P->Handle(), GW_OWNER), F->Handle());
  EXPECT_EQ(GetWindowLongW(P->Handle(), GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(GetParentForm(P), F);
  SetForegroundWindow(F->Handle());
  Pump();
  SetWindowPos(P->Handle(), HWND_TOP, 500, 400, 80, 30, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  P->SetVisible(true);
  Pump();
  EXPECT_TRUE(IsWindowVisible(P->Handle()));
  EXPECT_EQ(P->Left(), 500);
  EXPECT_EQ(P->Top(), 400);
  EXPECT_EQ(GetActiveWindow(), F->Handle());
  // A new size of the parent neither aligns nor moves it.
  F->SetBounds(40, 40, 360, 240);
  Pump();
  RECT R{};
  GetWindowRect(P->Handle(), &R);
  EXPECT_EQ(R.left, 500);
  EXPECT_EQ(R.top, 400);
  // Set as a control's bounds, they stay screen coordinates.
  P->SetBounds(520, 410, 80, 30);
  GetWindowRect(P->Handle(), &R);
  EXPECT_EQ(R.left, 520);
  EXPECT_EQ(R.top, 410);
  const HWND Wnd = P->Handle();
  delete Box;
  EXPECT_FALSE(IsWindow(Wnd));
  delete F;
}
