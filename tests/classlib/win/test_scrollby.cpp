// TWinControl::ScrollBy: the child windows move with the pixels, every
// child's bounds follow (graphic children are moved by the box), and aligned
// children are placed again afterwards; a box without a shown window only
// moves the bounds.
#include "test_controls_util.h"

using namespace ctltest;

namespace {

class CtlScrollBy : public AppFixture {};

TRect WindowRectIn(HWND Child, HWND Parent) {
  RECT R{};
  GetWindowRect(Child, &R);
  MapWindowPoints(HWND_DESKTOP, Parent, reinterpret_cast<POINT*>(&R), 2);
  return TRect(R.left, R.top, R.right, R.bottom);
}

TEST_F(CtlScrollBy, ChildrenFollowAndAlignedOnesArePlacedAgain) {
  TForm* F = NewForm();
  auto* Box = new TProbe(F, F, Bounds(0, 0, 200, 150));
  auto* Win = new TProbe(F, Box, Bounds(10, 40, 50, 20));
  auto* Hidden = new TProbe(F, Box, Bounds(70, 40, 50, 20));
  Hidden->SetVisible(false);
  auto* G = new TGProbe(F, Box, Bounds(20, 80, 30, 15));
  auto* Top = new TProbe(F, Box, Bounds(0, 0, 10, 12));
  Top->SetAlign(alTop);
  F->Show();
  Pump();
  ASSERT_TRUE(IsWindowVisible(Box->Handle()));
  HWND HiddenWnd = Hidden->Handle();

  Box->ScrollBy(5, -30);
  Pump();
  EXPECT_EQ(Win->BoundsRect(), Bounds(15, 10, 50, 20));
  EXPECT_EQ(WindowRectIn(Win->Handle(), Box->Handle()), Bounds(15, 10, 50, 20));
  EXPECT_EQ(Hidden->BoundsRect(), Bounds(75, 10, 50, 20));
  EXPECT_EQ(WindowRectIn(HiddenWnd, Box->Handle()), Bounds(75, 10, 50, 20));
  EXPECT_EQ(G->BoundsRect(), Bounds(25, 50, 30, 15));
  // The aligned child was scrolled, then aligned back to the top.
  EXPECT_EQ(Top->BoundsRect(), Bounds(0, 0, 200, 12));
  EXPECT_EQ(WindowRectIn(Top->Handle(), Box->Handle()), Bounds(0, 0, 200, 12));
  delete F;
}

TEST_F(CtlScrollBy, WithoutAShownWindowOnlyTheBoundsMove) {
  TForm* F = NewForm();
  auto* Box = new TProbe(F, F, Bounds(0, 0, 200, 150));
  auto* Win = new TProbe(F, Box, Bounds(10, 40, 50, 20));
  auto* G = new TGProbe(F, Box, Bounds(20, 80, 30, 15));
  // No window yet.
  Box->ScrollBy(0, -25);
  EXPECT_EQ(Win->BoundsRect(), Bounds(10, 15, 50, 20));
  EXPECT_EQ(G->BoundsRect(), Bounds(20, 55, 30, 15));
  // Windows made, the form hidden: the child window is moved by hand.
  HWND W = Win->Handle();
  ASSERT_FALSE(IsWindowVisible(Box->Handle()));
  Box->ScrollBy(-10, 5);
  EXPECT_EQ(Win->BoundsRect(), Bounds(0, 20, 50, 20));
  EXPECT_EQ(WindowRectIn(W, Box->Handle()), Bounds(0, 20, 50, 20));
  EXPECT_EQ(G->BoundsRect(), Bounds(10, 60, 30, 15));
  delete F;
}

}  // namespace
