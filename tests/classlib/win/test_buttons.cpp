// The speed button: groups with one button down, the press and the click,
// the raised, sunken and flat looks; and FindDragTarget over graphic and
// disabled controls.
#include "tests/classlib/win/test_controls_util.h"

#include "classlib/Buttons.h"
#include "classlib/Messages.h"

namespace {

TColor PaintPx(TGraphicControl* C, Integer X, Integer Y) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(C->Width(), C->Height());
  B.Canvas()->Brush()->SetColor(clFuchsia);
  B.Canvas()->FillRect(TRect(0, 0, B.Width(), B.Height()));
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0);
  return TColor(GetPixel(B.Canvas()->Handle(), X, Y));
}

void ClickAt(TControl* C, Integer X, Integer Y) {
  C->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
  C->Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
}

TEST(SpeedButton, GroupKeepsOneDown) {
  TForm F(nullptr);
  TSpeedButton* B[3];
  for (auto*& b : B) {
    b = new TSpeedButton(&F);
    b->SetParent(&F);
    b->SetGroupIndex(1);
  }
  auto* Other = new TSpeedButton(&F);
  Other->SetParent(&F);
  Other->SetGroupIndex(2);
  Other->SetDown(true);
  B[0]->SetDown(true);
  B[1]->SetDown(true);
  EXPECT_FALSE(B[0]->Down());
  EXPECT_TRUE(B[1]->Down());
  EXPECT_TRUE(Other->Down());  // another group
  B[1]->SetDown(false);        // not without AllowAllUp
  EXPECT_TRUE(B[1]->Down());
  B[1]->SetAllowAllUp(true);
  EXPECT_TRUE(B[2]->AllowAllUp());  // the whole group
  B[1]->SetDown(false);
  EXPECT_FALSE(B[1]->Down());
  // Outside any group a button never stays down.
  auto* Plain = new TSpeedButton(&F);
  Plain->SetDown(true);
  EXPECT_FALSE(Plain->Down());
}

TEST(SpeedButton, PressAndClick) {
  TForm F(nullptr);
  auto* B = new TSpeedButton(&F);
  B->SetParent(&F);
  B->SetBounds(0, 0, 30, 20);
  B->SetGroupIndex(3);
  B->SetAllowAllUp(true);
  int Clicks = 0;
  B->OnClick = [&](TObject*) { ++Clicks; };
  ClickAt(B, 5, 5);
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(B->Down());
  ClickAt(B, 5, 5);
  EXPECT_FALSE(B->Down());
  // Released outside: no click.
  B->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(B->Pressed());
  B->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
  EXPECT_EQ(Clicks, 2);
  EXPECT_FALSE(B->Pressed());
  B->SetEnabled(false);
  ClickAt(B, 5, 5);
  EXPECT_EQ(Clicks, 2);
}

TEST(SpeedButton, Looks) {
  TForm F(nullptr);
  auto* B = new TSpeedButton(&F);
  B->SetParent(&F);
  B->SetBounds(0, 0, 30, 20);
  const TColor Face = ColorToRGB(clBtnFace);
  // Raised: light top-left, dark bottom-right; down: the other way round.
  EXPECT_EQ(PaintPx(B, 0, 0), ColorToRGB(cl3DLight));
  EXPECT_EQ(PaintPx(B, 1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PaintPx(B, 29, 19), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(PaintPx(B, 15, 10), Face);
  B->SetGroupIndex(1);
  B->SetDown(true);
  EXPECT_EQ(PaintPx(B, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PaintPx(B, 29, 19), ColorToRGB(clBtnHighlight));
  B->SetAllowAllUp(true);
  B->SetDown(false);
  // Flat and transparent: no frame and no fill until the mouse is over it.
  B->SetFlat(true);
  EXPECT_EQ(PaintPx(B, 0, 0), TColor(clFuchsia));
  EXPECT_EQ(PaintPx(B, 15, 10), TColor(clFuchsia));
  B->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(B->MouseInControl());
  EXPECT_EQ(PaintPx(B, 0, 0), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PaintPx(B, 29, 19), ColorToRGB(clBtnShadow));
  B->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(B->MouseInControl());
  EXPECT_EQ(PaintPx(B, 0, 0), TColor(clFuchsia));
  B->SetDown(true);
  EXPECT_EQ(PaintPx(B, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PaintPx(B, 29, 19), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PaintPx(B, 15, 10), TColor(clFuchsia));
  // A caption is drawn in the middle.
  B->SetFlat(false);
  B->SetDown(false);
  B->SetCaption(u"W");
  B->Font()->SetColor(clRed);
  bool Red = false;
  for (Integer X = 8; X < 22; ++X)
    for (Integer Y = 4; Y < 16; ++Y) Red = Red || PaintPx(B, X, Y) == TColor(clRed);
  EXPECT_TRUE(Red);
}

TEST(SpeedButton, FindDragTargetFindsGraphicAndDisabledControls) {
  auto* F = new TForm(nullptr);
  F->SetBounds(40, 40, 200, 150);
  auto* B = new TSpeedButton(F);
  B->SetParent(F);
  B->SetBounds(10, 10, 40, 30);
  F->Show();
  ctltest::Pump();
  const TPoint P = B->ClientToScreen(TPoint(5, 5));
  EXPECT_EQ(FindDragTarget(P, false), B);
  B->SetEnabled(false);
  EXPECT_EQ(FindDragTarget(P, true), B);
  EXPECT_EQ(FindDragTarget(P, false), F);
  EXPECT_EQ(FindDragTarget(F->ClientToScreen(TPoint(150, 100)), true), F);
  delete F;
}

}  // namespace
