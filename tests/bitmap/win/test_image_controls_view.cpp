// The scrolled image view and its range bars: ranges, offsets, centring,
// scrolling, zoomed pixels in the buffer, layers under a scrolled view, and
// the bars' geometry, position rules and mouse stepping.
#include "common/gtest.h"

#include <memory>
#include <string>
#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/win/Bmp32_ImgView.h"
#include "classlib/Forms.h"
#include "common/Screens.h"
#include "rtl/Math.h"
#include "test_image_controls_util.h"

namespace {

using imgtest::Pump;

// A view on a shown form, built in its loading phase.
class ImgViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeBitmapEngine();
    Form = imgtest::NewShownForm();
  }
  void TearDown() override {
    delete View;
    delete Form;
    Pump();
  }
  // ViewportW x ViewportH is the area inside the bars (Size 17, svAlways)
  // or the whole view (svAuto with hidden bars).
  void Make(Integer BW, Integer BH, Single Scale, Integer OverSize, Integer W, Integer H,
            TScrollBarVisibility Vis = svAlways) {
    View = new TImgView32(nullptr);
    View->BeginLoading();
    View->SetBounds(0, 0, W, H);
    View->ScrollBars()->SetSize(17);
    View->ScrollBars()->SetVisibility(Vis);
    View->SetOverSize(OverSize);
    View->SetColor(clWhite);
    View->Bitmap()->SetResamplerClassName(u"TNearestResampler");
    View->Bitmap()->SetSize(BW, BH);
    for (Integer Y = 0; Y < BH; ++Y)
      for (Integer X = 0; X < BW; ++X) View->Bitmap()->SetPixel(X, Y, 0xFF000000u | TColor32(X << 8) | TColor32(Y));
    View->SetScale(Scale);
    View->SetParent(Form);
    View->EndLoading();
    Pump();
  }
  void Paint() {
    View->Repaint();
    Pump();
  }
  TForm* Form = nullptr;
  TImgView32* View = nullptr;
};

TEST_F(ImgViewTest, SmallBitmapIsCentredWithHiddenAutoBars) {
  Make(100, 100, 1, 30, 500, 400, svAuto);
  EXPECT_EQ(View->HorzBar()->Range(), 160);
  EXPECT_EQ(View->VertBar()->Range(), 160);
  EXPECT_FALSE(View->GetScrollBarsVisible());
  EXPECT_FALSE(View->HorzBar()->Visible());
  EXPECT_EQ(View->GetViewportRect(), TRect(0, 0, 500, 400));
  EXPECT_FLOAT_EQ(View->OffsetHorz(), 200);
  EXPECT_FLOAT_EQ(View->OffsetVert(), 150);
  Paint();
  TBitmap32* B = View->Buffer();
  EXPECT_EQ(B->GetPixel(199, 150), 0xFFFFFFFFu);
  EXPECT_EQ(B->GetPixel(200, 150), 0xFF000000u);
  EXPECT_EQ(B->GetPixel(299, 249), 0xFF006363u);
  EXPECT_EQ(B->GetPixel(300, 249), 0xFFFFFFFFu);
}

TEST_F(ImgViewTest, ZoomedBitmapScrollsToTheCentre) {
  Make(100, 100, 8, 30, 517, 417);
  EXPECT_EQ(View->GetViewportRect(), TRect(0, 0, 500, 400));
  EXPECT_EQ(View->HorzBar()->Range(), 1280);
  EXPECT_EQ(View->VertBar()->Range(), 1280);
  EXPECT_EQ(View->HorzBar()->BoundsRect(), TRect(0, 400, 500, 417));
  EXPECT_EQ(View->VertBar()->BoundsRect(), TRect(500, 0, 517, 400));
  View->ScrollToCenter(50, 50);
  EXPECT_FLOAT_EQ(View->HorzBar()->Position(), 390);
  EXPECT_FLOAT_EQ(View->VertBar()->Position(), 440);
  EXPECT_FLOAT_EQ(View->OffsetHorz(), -150);
  EXPECT_FLOAT_EQ(View->OffsetVert(), -200);
  EXPECT_EQ(View->BitmapToControl(TPoint(50, 50)), TPoint(250, 200));
  EXPECT_EQ(View->ControlToBitmap(TPoint(257, 207)), TPoint(50, 50));
  Paint();
  EXPECT_EQ(View->Buffer()->GetPixel(250, 200), 0xFF003232u);
  EXPECT_EQ(View->Buffer()->GetPixel(257, 207), 0xFF003232u);
  EXPECT_EQ(View->Buffer()->GetPixel(258, 200), 0xFF003332u);
  EXPECT_EQ(View->Buffer()->GetPixel(249, 199), 0xFF003131u);
}

TEST_F(ImgViewTest, ZoomLevelsShowTheBitmapPixelsAtTheirPlace) {
  Make(40, 30, 1, 0, 117, 117);
  struct Case {
    Single Scale;
    const char* Screen;
  } Cases[] = {{1, "imgview-zoom-1"}, {2, "imgview-zoom-2"}, {0.5f, "imgview-zoom-0.5"}};
  for (const Case& K : Cases) {
    View->SetScale(K.Scale);
    Paint();
    lumigra_test::SaveWindowScreen(View->Handle(), K.Screen);
    TRect R = View->GetBitmapRect();
    EXPECT_EQ(R.Width(), Integer(Round(40 * K.Scale))) << K.Scale;
    // Every sampled control pixel inside the viewport shows the bitmap pixel
    // ControlToBitmap names, and the background elsewhere.
    Integer Bad = 0;
    for (Integer Y = 0; Y < 100; Y += 3)
      for (Integer X = 0; X < 100; X += 3) {
        TPoint P = View->ControlToBitmap(TPoint(X, Y));
        TColor32 Want = (P.X >= 0 && P.X < 40 && P.Y >= 0 && P.Y < 30) ? View->Bitmap()->GetPixel(P.X, P.Y)
                                                                        : 0xFFFFFFFFu;
        if (View->Buffer()->GetPixel(X, Y) != Want) ++Bad;
      }
    EXPECT_EQ(Bad, 0) << K.Scale;
  }
  // Scale 4 does not fit: the view scrolls and fires OnScroll.
  View->SetScale(4);
  int Scrolls = 0;
  View->OnScroll = [&](TObject*) { ++Scrolls; };
  Single Before = View->OffsetHorz();
  View->Scroll(10, 0);
  EXPECT_EQ(Scrolls, 1);
  EXPECT_FLOAT_EQ(View->OffsetHorz(), Before - 10);
  Paint();
  lumigra_test::SaveWindowScreen(View->Handle(), "imgview-zoom-4-scrolled");
  TPoint P = View->ControlToBitmap(TPoint(20, 20));
  EXPECT_EQ(View->Buffer()->GetPixel(20, 20), View->Bitmap()->GetPixel(P.X, P.Y));
}

TEST_F(ImgViewTest, RangeMarginRoundsOnceAndScrollFiresEvenWhenClamped) {
  Make(100, 100, 1.25f, 30, 117, 117);
  EXPECT_EQ(View->HorzBar()->Range(), 125 + 75);
  View->ScrollToCenter(0, 0);
  // D = Round(37.5) = 38: the bitmap's left edge at 38 - position.
  EXPECT_FLOAT_EQ(View->OffsetHorz(), 38 - View->HorzBar()->Position());
  int Scrolls = 0;
  View->OnScroll = [&](TObject*) { ++Scrolls; };
  View->Scroll(0, 100000);
  Single End = View->VertBar()->Position();
  EXPECT_FLOAT_EQ(End, 200 - 100);
  View->Scroll(0, 50);
  EXPECT_FLOAT_EQ(View->VertBar()->Position(), End);
  EXPECT_EQ(Scrolls, 2);
}

TEST_F(ImgViewTest, LayersUnderAScrolledZoomedViewGetTheRightBitmapPoint) {
  Make(100, 100, 4, 0, 217, 217);
  View->ScrollToCenter(30, 60);
  auto* L = View->Layers()->Add<TPositionedLayer>();
  L->SetScaled(true);
  L->SetLocation(TFloatRect{25, 55, 35, 65});
  std::vector<TPoint> Hits;
  L->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    Hits.push_back(View->ControlToBitmap(TPoint(X, Y)));
  };
  TCustomLayer* Seen = nullptr;
  View->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer, TCustomLayer* Layer) { Seen = Layer; };
  TPoint C = View->BitmapToControl(TPoint(31, 62));
  HWND H = View->Handle();
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(C.X + 1, C.Y + 2));
  SendMessageW(H, WM_LBUTTONUP, 0, MAKELPARAM(C.X + 1, C.Y + 2));
  ASSERT_EQ(Hits.size(), 1u);
  EXPECT_EQ(Hits[0], TPoint(31, 62));
  EXPECT_EQ(Seen, L);
  // Outside the layer's location: no layer.
  TPoint Out = View->BitmapToControl(TPoint(10, 60));
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Out.X, Out.Y));
  SendMessageW(H, WM_LBUTTONUP, 0, MAKELPARAM(Out.X, Out.Y));
  EXPECT_EQ(Seen, nullptr);
  EXPECT_EQ(Hits.size(), 1u);
}

TEST_F(ImgViewTest, UserMovedBarScrollsTheView) {
  Make(100, 100, 4, 0, 217, 217);
  int Scrolls = 0;
  View->OnScroll = [&](TObject*) { ++Scrolls; };
  TCustomRangeBar* HB = View->HorzBar();
  Single P0 = HB->Position();
  // A press on the right arrow steps once at once.
  HWND H = HB->Handle();
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(195, 8));
  SendMessageW(H, WM_LBUTTONUP, 0, MAKELPARAM(195, 8));
  EXPECT_FLOAT_EQ(HB->Position(), P0 + 8);
  EXPECT_EQ(Scrolls, 1);
  EXPECT_FLOAT_EQ(View->OffsetHorz(), -HB->Position());
  // Programmatic positions are not the user's: the view stays.
  HB->SetPosition(0);
  EXPECT_EQ(Scrolls, 1);
}

// --- range bars on their own

class RangeBarTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TEST_F(RangeBarTest, HandleGeometry) {
  struct Case {
    Integer Len, Range, Window;
    Single Pos;
    TRect Handle;
  } Cases[] = {
      // 100 long, 16 thick: buttons 16, track 68.
      {100, 200, 0, 0, TRect(16, 0, 50, 16)},       // h = Round(68 * 100 / 200) = 34
      {100, 200, 0, 100, TRect(50, 0, 84, 16)},     // p = Round(68 * 100 / 200)
      {100, 100, 0, 0, TRect(16, 0, 84, 16)},       // window covers the range: whole track
      {100, 10000, 0, 9900, TRect(67, 0, 84, 16)},  // short handle: 17, p = 51
      {100, 10000, 0, 0, TRect(16, 0, 33, 16)},
      {49, 1000, 0, 0, TRect(0, 0, 0, 0)},  // track 17: no handle
  };
  for (const Case& K : Cases) {
    TRangeBar B(nullptr);
    B.SetBounds(0, 0, K.Len, 16);
    B.SetParams(K.Range, K.Window);
    B.SetPosition(K.Pos);
    EXPECT_EQ(B.GetHandleRect(), K.Handle) << K.Len << " " << K.Range << " " << K.Pos;
  }
  TRangeBar B(nullptr);
  B.SetBounds(0, 0, 49, 16);
  B.SetRange(1000);
  EXPECT_EQ(B.GetZone(20, 5), zTrackNext);  // no handle: the track pages forward
  EXPECT_EQ(B.GetZone(5, 5), zBtnPrev);
  EXPECT_EQ(B.GetZone(40, 5), zBtnNext);
  EXPECT_EQ(B.GetZone(60, 5), zNone);
  B.SetButtonSize(40);  // twice that is not below the length: half the length
  EXPECT_EQ(B.GetButtonSize(), 24);
  B.SetShowArrows(false);
  EXPECT_EQ(B.GetButtonSize(), 0);
}

TEST_F(RangeBarTest, PositionIsClampedAndNotifiesOnlyOnChange) {
  TRangeBar B(nullptr);
  B.SetBounds(0, 0, 100, 16);
  int Changes = 0, User = 0;
  B.OnChange = [&](TObject*) { ++Changes; };
  B.OnUserChange = [&](TObject*) { ++User; };
  B.SetParams(300, 0);
  EXPECT_EQ(Changes, 0);  // SetParams notifies nobody
  B.SetPosition(500);
  EXPECT_FLOAT_EQ(B.Position(), 200);
  B.SetPosition(400);  // clamps to the same place: nothing
  B.SetPosition(-3);
  EXPECT_FLOAT_EQ(B.Position(), 0);
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(User, 0);
  B.SetParams(-5, -1);
  EXPECT_EQ(B.Range(), 0);
  EXPECT_EQ(B.EffectiveWindow(), 100);
}

TEST_F(RangeBarTest, CenteredBarKeepsTheMiddleWhenRangeOrWindowChanges) {
  TRangeBar B(nullptr);
  B.SetBounds(0, 0, 100, 16);
  B.SetCentered(true);
  B.SetParams(400, 0);  // first range: the middle
  EXPECT_FLOAT_EQ(B.Position(), 150);
  B.SetPosition(50);  // window 50..150, centre 100 = 1/4
  B.SetParams(800, 0);
  EXPECT_FLOAT_EQ(B.Position(), 150);  // 800 / 4 - 50
  B.SetBounds(0, 0, 200, 16);          // window grows around the same centre
  EXPECT_FLOAT_EQ(B.Position(), 100);
}

TEST_F(RangeBarTest, DraggingAShortHandleCoversTheWholeRange) {
  std::unique_ptr<TForm> F(imgtest::NewShownForm());
  TRangeBar B(nullptr);
  B.SetBounds(0, 480, 100, 16);
  B.SetParent(F.get());
  B.SetParams(10000, 0);
  Pump();
  HWND H = B.Handle();
  TRect R = B.GetHandleRect();
  ASSERT_EQ(R.Width(), 17);
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(R.Left + 3, 8));
  EXPECT_EQ(B.DragZone(), zHandle);
  EXPECT_EQ(B.TimerMode(), tmHover);
  // The free track of a bar with a single border: 100 - 2 x 16 - 2 - 17 = 49.
  SendMessageW(H, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(R.Left + 3 + 49, 8));
  EXPECT_FLOAT_EQ(B.Position(), 9900);
  SendMessageW(H, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(R.Left + 3 + 20, 8));
  EXPECT_FLOAT_EQ(B.Position(), Single(Round(9900.0 * 20 / 49)));
  SendMessageW(H, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(R.Left + 3 + 48, 8));
  EXPECT_LT(B.Position(), 9900);
  SendMessageW(H, WM_LBUTTONUP, 0, MAKELPARAM(R.Left + 3, 8));
  EXPECT_EQ(B.DragZone(), zNone);
  B.SetParent(nullptr);
}

TEST_F(RangeBarTest, HeldButtonAtTheEndFallsBackToHoverPoll) {
  std::unique_ptr<TForm> F(imgtest::NewShownForm());
  TRangeBar B(nullptr);
  B.SetBounds(0, 480, 100, 16);
  B.SetParent(F.get());
  B.SetParams(120, 0);
  Pump();
  HWND H = B.Handle();
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(95, 8));
  EXPECT_FLOAT_EQ(B.Position(), 8);
  EXPECT_EQ(B.TimerMode(), tmFirstDelay);
  B.Step();
  B.Step();
  EXPECT_FLOAT_EQ(B.Position(), 20);  // the end
  EXPECT_EQ(B.TimerMode(), tmFirstDelay);
  B.Step();  // no move: repeating stops
  EXPECT_EQ(B.TimerMode(), tmHover);
  SendMessageW(H, WM_LBUTTONUP, 0, MAKELPARAM(95, 8));
  B.SetParent(nullptr);
}

}  // namespace
