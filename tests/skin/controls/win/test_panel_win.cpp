// The skinned panel: where its children go, the paint paths the program's
// panels take, the default caption strip with its check box, the group-box
// outline, the check box of the caption and the roll-up cycle.
#include "tests/skin/controls/win/CtlTestUtil.h"

using namespace ctl;

namespace {

class Panel : public SkinCtlTest {};

// A "panel" description: a 40 x 40 nine-slice at (0, 150) with 6-pixel
// borders, client piece (6, 6)-(34, 34), caption rect (6, 1)-(34, 5).
skintest::TFixtureSkin PanelSkin() {
  auto S = CoordSkin();
  S.Control(u"panel", u"panel",
            {u"pictureindex=0", u"skinrect=0,150,40,190", u"lefttoppoint=6,6", u"righttoppoint=34,6",
             u"leftbottompoint=6,34", u"rightbottompoint=34,34", u"clientrect=6,6,34,34", u"captionrect=6,1,34,5",
             u"fontcolor=255"});
  return S;
}

TEST_F(Panel, ChildrenFollowTheClientRectAndTheSkin) {
  auto SD = LoadSkin(PanelSkin());
  auto* P = new TspSkinPanel(Host);
  P->SetParent(Host);
  P->SetBounds(0, 0, 200, 120);
  auto* Child = new THost(P);
  Child->SetParent(P);
  Child->SetAlign(alClient);
  EXPECT_EQ(Child->BoundsRect(), TRect(1, 1, 199, 119));  // unskinned bvFrame: inset by 1
  P->SetBorderStyle(bvNone);
  EXPECT_EQ(Child->BoundsRect(), TRect(0, 0, 200, 120));
  P->SetBorderStyle(bvFrame);
  P->SetCaptionMode(true);
  EXPECT_EQ(Child->BoundsRect(), TRect(1, 23, 199, 119));
  P->SetCaptionMode(false);
  P->SetSkinData(SD.get());  // the skin change realigns: the skin's client area
  EXPECT_EQ(Child->BoundsRect(), TRect(6, 6, 194, 114));
  P->SetBorderStyle(bvNone);
  P->Realign();
  EXPECT_EQ(Child->BoundsRect(), TRect(0, 0, 200, 120));  // borderless tiled: everything
  P->SetBorderStyle(bvFrame);
  P->SetUseSkinSize(false);
  P->SetCaptionMode(true);
  EXPECT_EQ(Child->BoundsRect(), TRect(6, 22, 194, 114));
  EXPECT_EQ(P->GetSkinClientRect(), TRect(6, 22, 194, 114));
}

TEST_F(Panel, FramedSkinnedPanelPaintsFrameAndClientFromTheSkin) {
  auto SD = LoadSkin(PanelSkin());
  auto* P = new TspSkinPanel(Host);
  P->SetParent(Host);
  P->SetBounds(0, 0, 100, 70);
  P->SetSkinData(SD.get());
  auto Img = Render(P);
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(0, 150));
  EXPECT_EQ(Px(Img.get(), 99, 69), Coord(39, 189));
  EXPECT_EQ(Px(Img.get(), 6, 6), Coord(6, 156));    // first client tile
  EXPECT_EQ(Px(Img.get(), 34, 6), Coord(6, 156));   // second one (tiles of 28)
  EXPECT_EQ(Px(Img.get(), 93, 63), Coord(9, 157));  // last, clipped at the bottom strip
  EXPECT_EQ(Px(Img.get(), 93, 64), Coord(15, 184)); // the bottom strip
  SaveScreen(u"test", u"panel", u"framed", Img.get());
  // Borderless: the client piece tiled over the whole panel.
  P->SetBorderStyle(bvNone);
  Img = Render(P);
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(6, 156));
  EXPECT_EQ(Px(Img.get(), 29, 29), Coord(7, 157));
  SaveScreen(u"test", u"panel", u"borderless", Img.get());
  // ShowCaption: the caption centred over the client area in DefaultFont.
  P->SetBorderStyle(bvFrame);
  P->DefaultFont()->SetColor(clLime);
  P->SetShowCaption(true);
  P->SetCaption(u"Centre");
  Img = Render(P);
  Integer MinX = 100, MaxX = 0;
  for (Integer X = 0; X < 100; ++X)
    for (Integer Y = 0; Y < 70; ++Y)
      if (Px(Img.get(), X, Y) == TColor(clLime)) {
        MinX = std::min(MinX, X);
        MaxX = std::max(MaxX, X);
      }
  ASSERT_LT(MinX, MaxX);
  EXPECT_LE(std::abs((MinX + MaxX) / 2 - 50), 2);
  // A text change repaints a ShowCaption panel too.
  int Paints = 0;
  TWndMethod Old = P->WindowProc();
  P->SetWindowProc([&Paints, Old](TMessage& M) {
    Paints += M.Msg == WM_PAINT;
    Old(M);
  });
  UpdateWindow(Host->Handle());
  Pump();
  Paints = 0;
  P->SetCaption(u"Other");
  Pump();
  EXPECT_GE(Paints, 1);
}

TEST_F(Panel, DefaultCaptionWithCheckBox) {
  auto* P = new TspSkinPanel(Host);
  P->SetParent(Host);
  P->SetBounds(0, 0, 160, 60);
  P->SetCaptionMode(true);
  P->SetCheckedMode(true);
  P->SetCaption(u"Title");
  P->DefaultFont()->SetColor(clRed);
  auto Img = Render(P);
  // The box spans x 5..19 (a frame in the shadow colour), the text starts at 24.
  const Integer BoxTop = 2 + 18 / 2 - 7;
  EXPECT_EQ(Px(Img.get(), 5, BoxTop + 5), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 18, BoxTop + 5), Sys(clBtnShadow));
  EXPECT_NE(Px(Img.get(), 19, BoxTop + 5), Sys(clBtnShadow));
  Integer MinX = 200;
  for (Integer X = 0; X < 160; ++X)
    for (Integer Y = 0; Y < 22; ++Y)
      if (Px(Img.get(), X, Y) == TColor(clRed)) MinX = std::min(MinX, X);
  EXPECT_GE(MinX, 24);
  EXPECT_LE(MinX, 26);
  // A click on the caption toggles the check box, which fires OnChecked.
  int Checks = 0;
  P->OnChecked = [&](TObject*) { ++Checks; };
  auto* Child = new THost(P);
  Child->SetParent(P);
  Click(P);  // the middle is not the caption
  EXPECT_EQ(Checks, 0);
  Press(P, 60, 10);
  Release(P, 60, 10);
  EXPECT_TRUE(P->Checked());
  EXPECT_EQ(Checks, 1);
  EXPECT_TRUE(Child->Enabled());
  P->SetChecked(false);
  EXPECT_FALSE(Child->Enabled());  // AutoEnabledControls with CheckedMode
  EXPECT_EQ(Checks, 2);
  P->SetCheckedMode(false);
  P->SetChecked(true);
  EXPECT_FALSE(Child->Enabled());  // only in CheckedMode
  EXPECT_EQ(Checks, 3);
  P->SetCheckedMode(true);
}

TEST_F(Panel, RollUpKeepsLimitsAndHiddenChildren) {
  auto* P = new TspSkinPanel(Host);
  P->SetParent(Host);
  P->SetBounds(0, 0, 160, 120);
  P->SetCaptionMode(true);
  P->Constraints()->SetMinHeight(100);
  auto* Shown = new THost(P);
  Shown->SetParent(P);
  auto* Hidden = new THost(P);
  Hidden->SetParent(P);
  Hidden->Hide();
  int Changes = 0;
  P->OnChangeRollUpState = [&](TObject*) { ++Changes; };
  P->SetRollUpState(true);  // without RollUpMode: nothing, the form's limits stay
  EXPECT_FALSE(P->RollUpState());
  EXPECT_EQ(P->Height(), 120);
  EXPECT_EQ(P->Constraints()->MinHeight(), 100);
  P->SetRollUpMode(true);
  P->SetRollUpState(true);
  EXPECT_TRUE(P->RollUpState());
  EXPECT_EQ(P->Height(), 23);
  EXPECT_EQ(P->RealHeight(), 120);
  EXPECT_FALSE(Shown->Visible());
  EXPECT_EQ(P->Constraints()->MinHeight(), 0);
  P->SetRollUpState(false);
  EXPECT_EQ(P->Height(), 120);
  EXPECT_EQ(P->RealHeight(), -1);
  EXPECT_TRUE(Shown->Visible());
  EXPECT_FALSE(Hidden->Visible());                  // hidden on purpose stays hidden
  EXPECT_EQ(P->Constraints()->MinHeight(), 100);   // the limits come back
  EXPECT_EQ(Changes, 2);
  // A click on the caption rolls up too; a second cycle keeps the limits.
  Press(P, 60, 10);
  Release(P, 60, 10);
  EXPECT_TRUE(P->RollUpState());
  P->SetRollUpState(false);
  EXPECT_EQ(P->Constraints()->MinHeight(), 100);
}

TEST_F(Panel, GroupBoxOutlineLeavesAGapForTheCaption) {
  Host->Ground = clYellow;
  auto S = PanelSkin();
  auto SD = LoadSkin(S);
  auto* P = new TspSkinPanel(Host);
  P->SetParent(Host);
  P->SetBounds(0, 0, 160, 80);
  P->SetSkinData(SD.get());
  P->SetTransparentMode(true);
  P->SetCaptionMode(true);
  P->SetCaption(u"Group");
  auto Img = Render(P);
  TBitmap Measure(1, 1);
  Measure.Canvas()->Font()->Assign(P->DefaultFont());
  const Integer TH = Measure.Canvas()->TextHeight(u"Group");
  const Integer TW = Measure.Canvas()->TextWidth(u"Group");
  const Integer Mid = (TH + 5) / 2;
  const TColor Line = Sys(SD->SkinColors()->cBtnShadow());
  EXPECT_EQ(Px(Img.get(), 0, Mid), Line);
  EXPECT_EQ(Px(Img.get(), 3, Mid), Line);
  EXPECT_EQ(Px(Img.get(), 4, Mid), TColor(clYellow));       // the gap starts at 4
  EXPECT_EQ(Px(Img.get(), 5 + TW + 2, Mid), TColor(clYellow));
  EXPECT_EQ(Px(Img.get(), 5 + TW + 3, Mid), Line);          // and ends 3 after the text
  EXPECT_EQ(Px(Img.get(), 159, 40), Line);
  EXPECT_EQ(Px(Img.get(), 80, 79), Line);
  EXPECT_EQ(Px(Img.get(), 80, 40), TColor(clYellow));       // what lies behind
  SaveScreen(u"test", u"panel", u"groupbox", Img.get());
  auto* Child = new THost(P);
  Child->SetParent(P);
  Child->SetAlign(alClient);
  EXPECT_EQ(Child->BoundsRect(), TRect(2, TH, 158, 78));
}

TEST_F(Panel, PaintPanelHandsItsContentToTheOwner) {
  auto* P = new TspSkinPaintPanel(Host);
  P->SetParent(Host);
  P->SetBounds(0, 0, 80, 50);
  TRect Got;
  P->OnPanelPaint = [&](TCanvas* C, const TRect& R) {
    Got = R;
    C->Brush()->SetColor(clLime);
    C->FillRect(R);
  };
  auto Img = Render(P);
  EXPECT_EQ(Got, TRect(1, 1, 79, 49));
  EXPECT_EQ(Px(Img.get(), 40, 25), TColor(clLime));
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
}

}  // namespace
