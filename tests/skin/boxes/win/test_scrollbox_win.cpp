// The scroll box on a shown form: bar ranges and visibility from the
// children, scrolling by the bar, growth while scrolled past the end, the
// scroll requests that move the children once, the frame of each border
// style and its non-client size, and the click that focuses.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/SkinMessages.h"

namespace ctl {
namespace {

class ScrollBoxTest : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    Box = new TspSkinScrollBox(Host);
    Box->SetBounds(0, 0, 150, 150);
    Box->SetColor(clWhite);
    Box->SetParent(Host);
    VBar = new TspSkinScrollBar(Host);
    VBar->SetKind(sbVertical);
    VBar->SetBounds(150, 0, 19, 150);
    VBar->SetParent(Host);
    Pump();
  }
  // A windowed child of the box at client (L, T) of size W x H.
  THost* Child(Integer L, Integer T, Integer W, Integer H) {
    auto* C = new THost(Box);
    C->SetBounds(L, T, W, H);
    C->SetParent(Box);
    return C;
  }
  TspSkinScrollBox* Box = nullptr;
  TspSkinScrollBar* VBar = nullptr;
};

TEST_F(ScrollBoxTest, RangeFollowsTheChildrenAndTheBarScrollsThem) {
  // Without bars range updates do nothing.
  THost* C = Child(0, 0, 100, 500);
  Box->UpdateScrollRange();
  EXPECT_EQ(C->Top(), 0);

  Box->SetVScrollBar(VBar);
  const Integer CH = Box->ClientHeight();
  EXPECT_EQ(CH, 148);  // the 1-pixel default frame
  EXPECT_TRUE(VBar->Visible());
  EXPECT_EQ(VBar->Max(), 499);
  EXPECT_EQ(VBar->PageSize(), CH);
  EXPECT_EQ(VBar->Position(), 0);

  VBar->SetPosition(100);
  Pump();
  EXPECT_EQ(C->Top(), -100);
  EXPECT_EQ(Box->FOldVScrollBarPos, 100);

  // The children shrink to fit: back to the origin, bar hidden and emptied.
  C->SetHeight(120);
  Box->UpdateScrollRange();
  EXPECT_EQ(C->Top(), 0);
  EXPECT_FALSE(VBar->Visible());
  EXPECT_EQ(VBar->Max(), 0);
  EXPECT_EQ(VBar->PageSize(), 0);
  EXPECT_EQ(VBar->Position(), 0);

  // Removing the last child while scrolled scrolls back and hides the bar.
  C->SetHeight(900);
  Box->UpdateScrollRange();
  VBar->SetPosition(500);
  Pump();
  EXPECT_EQ(C->Top(), -500);
  delete C;
  Box->UpdateScrollRange();
  EXPECT_FALSE(VBar->Visible());
  EXPECT_EQ(Box->FOldVScrollBarPos, 0);
}

TEST_F(ScrollBoxTest, GrowingWhileScrolledPastTheEndLeavesNoGap) {
  Box->SetAlign(alLeft);
  Box->SetVScrollBar(VBar);
  THost* C = Child(0, 0, 100, 400);
  Box->UpdateScrollRange();
  const Integer CH0 = Box->ClientHeight();
  VBar->SetPosition(400 - CH0);
  Pump();
  ASSERT_EQ(C->Top() + C->Height(), CH0);
  // The host grows by 40: the box (aligned) grows with it.
  Host->SetHeight(Host->Height() + 40);
  Pump();
  const Integer CH = Box->ClientHeight();
  ASSERT_EQ(CH, CH0 + 40);
  EXPECT_EQ(C->Top() + C->Height(), CH);
  EXPECT_EQ(-C->Top(), VBar->Position());
  EXPECT_EQ(VBar->Position(), 400 - CH);
}

TEST_F(ScrollBoxTest, ScrollRequestsMoveTheChildrenOnce) {
  auto* HBar = new TspSkinScrollBar(Host);
  HBar->SetBounds(0, 150, 150, 19);
  HBar->SetParent(Host);
  Box->SetVScrollBar(VBar);
  Box->SetHScrollBar(HBar);
  THost* C = Child(0, 0, 400, 600);
  THost* D = Child(10, 550, 20, 30);
  Box->UpdateScrollRange();
  ASSERT_TRUE(VBar->Visible());
  ASSERT_TRUE(HBar->Visible());
  // The horizontal bar shows its both-buttons look while the vertical one shows.
  EXPECT_TRUE(HBar->Both());

  Box->VScroll(50);
  Pump();
  EXPECT_EQ(VBar->Position(), 50);
  EXPECT_EQ(C->Top(), -50);
  Box->HScroll(30);
  Pump();
  EXPECT_EQ(C->Left(), -30);
  EXPECT_EQ(D->Left(), -20);
  // VScroll is limited to Max - PageSize.
  Box->VScroll(10000);
  Pump();
  EXPECT_EQ(VBar->Position(), VBar->Max() - VBar->PageSize());
  EXPECT_EQ(-C->Top(), VBar->Position());
  // ScrollToControl brings a child wholly into view, the children following the bars.
  Box->VScroll(0);
  Box->ScrollToControl(D);
  Pump();
  EXPECT_EQ(-C->Top(), VBar->Position());
  EXPECT_GE(D->Top(), 0);
  EXPECT_LE(D->Top() + D->Height(), Box->ClientHeight());

  // Vertical bar hidden: the horizontal one loses the both-buttons look.
  Box->VScroll(0);
  Pump();
  C->SetHeight(50);
  D->SetTop(0);
  Box->UpdateScrollRange();
  EXPECT_FALSE(VBar->Visible());
  EXPECT_FALSE(HBar->Both());
}

TEST_F(ScrollBoxTest, FramePerBorderStyle) {
  struct Row {
    const char* Name;
    TspSkinBorderStyle Style;
    TColor TopLeft, BottomRight;
    Integer Client;
  };
  const Row Rows[] = {
      {"frame", bvFrame, Sys(clBtnShadow), Sys(clBtnShadow), 148},
      {"raised", bvRaised, Sys(clBtnShadow), Sys(clBtnHighlight), 148},
      {"lowered", bvLowered, Sys(clBtnHighlight), Sys(clBtnShadow), 148},
      {"none", bvNone, clNone, clNone, 150},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    Box->SetBorderStyle(R.Style);
    Pump();
    EXPECT_EQ(Box->ClientWidth(), R.Client);
    EXPECT_EQ(Box->ClientHeight(), R.Client);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(150, 150);
    B.Canvas()->Brush()->SetColor(clFuchsia);
    B.Canvas()->FillRect(TRect(0, 0, 150, 150));
    const LRESULT Res = SendMessageW(Box->Handle(), FEM_PAINT_FRAME, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0);
    if (R.Style == bvNone) {
      EXPECT_EQ(Res, 0);
      EXPECT_EQ(Px(&B, 0, 0), clFuchsia);
    } else {
      EXPECT_EQ(Res, SP_FRAME_PAINTED);
      EXPECT_EQ(Px(&B, 0, 0), R.TopLeft);
      EXPECT_EQ(Px(&B, 75, 0), R.TopLeft);
      EXPECT_EQ(Px(&B, 0, 75), R.TopLeft);
      EXPECT_EQ(Px(&B, 149, 75), R.BottomRight);
      EXPECT_EQ(Px(&B, 75, 149), R.BottomRight);
      EXPECT_EQ(Px(&B, 1, 1), clFuchsia);
    }
    // The extended request answers its magic number only with its LParam.
    EXPECT_EQ(SendMessageW(Box->Handle(), FEM_PAINT_FRAME_EX, 0, SP_PAINT_EX_MAGIC), SP_PAINT_EX_MAGIC);
    auto Shot = boxtest::WindowPixels(Box);
    EXPECT_EQ(Px(Shot.get(), 75, 75), clWhite);
    if (R.Style != bvNone) {
      EXPECT_EQ(Px(Shot.get(), 0, 75), R.TopLeft);
      EXPECT_EQ(Px(Shot.get(), 149, 75), R.BottomRight);
    }
    SaveScreen(u"default", u"scrollbox", ToString(R.Name), Shot.get());
    EXPECT_EQ(SendMessageW(Box->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Box->ClientOrigin().X, Box->ClientOrigin().Y)),
              HTCLIENT);
  }
}

TEST_F(ScrollBoxTest, ClickFocusesOnlyWithCanFocused) {
  auto* Other = new TspSkinScrollBar(Host);
  Other->SetBounds(200, 200, 100, 19);
  Other->SetParent(Host);
  Other->SetCanFocused(true);
  Other->SetFocus();
  ASSERT_TRUE(Other->Focused());
  Click(Box);
  EXPECT_FALSE(Box->Focused());
  Box->SetCanFocused(true);
  Click(Box);
  EXPECT_TRUE(Box->Focused());
}

}  // namespace
}  // namespace ctl
