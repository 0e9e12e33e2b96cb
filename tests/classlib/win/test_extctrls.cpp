// The graphic controls of ExtCtrls checked by their pixels (TBevel, TShape,
// TImage), and TBalloonHint shown without taking the activation.
#include "tests/classlib/win/test_controls_util.h"

#include "classlib/ExtCtrls.h"
#include "common/Screens.h"

using namespace ctltest;

namespace {

constexpr TColor kBack = clFuchsia;

// Paints a graphic control into a bitmap of its size filled with kBack.
struct Rendered {
  TBitmap B;
  explicit Rendered(TControl* C) {
    B.SetPixelFormat(pf24bit);
    B.SetSize(C->Width(), C->Height());
    B.Canvas()->Brush()->SetColor(kBack);
    B.Canvas()->FillRect(TRect(0, 0, C->Width(), C->Height()));
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0);
  }
  TColor At(int X, int Y) { return B.Canvas()->Pixels(X, Y); }
};

TColor RGBOf(TColor C) { return ColorToRGB(C); }

struct Probe {
  int X, Y;
  TColor Want;
};

}  // namespace

TEST(ExtBevel, ShapesAndStylesDrawTheirLines) {
  const TColor Sh = RGBOf(clBtnShadow), Hi = RGBOf(clBtnHighlight), Bk = RGBOf(kBack);
  struct Row {
    TBevelShape Shape;
    TBevelStyle Style;
    std::vector<Probe> Probes;
  } Rows[] = {
      {bsBox, bsLowered, {{0, 5, Sh}, {5, 0, Sh}, {19, 5, Hi}, {5, 9, Hi}, {5, 5, Bk}}},
      {bsBox, bsRaised, {{0, 5, Hi}, {5, 0, Hi}, {19, 5, Sh}, {5, 9, Sh}}},
      {bsFrame, bsLowered, {{0, 5, Sh}, {1, 5, Hi}, {18, 5, Sh}, {19, 5, Hi}, {5, 8, Sh}, {5, 9, Hi}, {5, 5, Bk}}},
      {bsTopLine, bsLowered, {{5, 0, Sh}, {5, 1, Hi}, {5, 2, Bk}, {19, 0, Sh}}},
      {bsBottomLine, bsRaised, {{5, 8, Hi}, {5, 9, Sh}, {5, 7, Bk}}},
      {bsLeftLine, bsLowered, {{0, 5, Sh}, {1, 5, Hi}, {2, 5, Bk}, {0, 9, Sh}}},
      {bsRightLine, bsLowered, {{18, 5, Sh}, {19, 5, Hi}, {17, 5, Bk}}},
      {bsSpacer, bsLowered, {{0, 0, Bk}, {0, 5, Bk}, {19, 9, Bk}}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(int(R.Shape) * 10 + int(R.Style));
    TBevel B(nullptr);
    B.SetBounds(0, 0, 20, 10);
    B.SetShape(R.Shape);
    B.SetStyle(R.Style);
    Rendered Img(&B);
    for (const Probe& P : R.Probes) EXPECT_EQ(Img.At(P.X, P.Y), P.Want) << P.X << "," << P.Y;
  }
}

TEST(ExtShape, OutlineInsideAndFill) {
  const TColor Bk = RGBOf(kBack), Ln = RGBOf(clBlack), Fl = RGBOf(clLime);
  struct Row {
    TShapeKind Kind;
    int PenWidth, W, H;
    std::vector<Probe> Probes;
  } Rows[] = {
      {stRectangle, 1, 20, 20, {{0, 0, Ln}, {19, 19, Ln}, {19, 10, Ln}, {1, 10, Fl}, {10, 10, Fl}}},
      // A wide pen stays inside the control.
      {stRectangle, 3, 20, 20, {{0, 10, Ln}, {2, 10, Ln}, {3, 10, Fl}, {17, 10, Ln}, {19, 10, Ln}, {10, 19, Ln}}},
      {stSquare, 1, 30, 20, {{4, 10, Bk}, {5, 10, Ln}, {6, 10, Fl}, {24, 10, Ln}, {25, 10, Bk}}},
      {stEllipse, 1, 30, 20, {{1, 1, Bk}, {28, 18, Bk}, {15, 10, Fl}, {0, 10, Ln}, {15, 0, Ln}}},
      {stCircle, 1, 30, 20, {{3, 10, Bk}, {15, 10, Fl}, {5, 10, Ln}, {15, 19, Ln}}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(int(R.Kind) * 10 + R.PenWidth);
    TShape S(nullptr);
    S.SetBounds(0, 0, R.W, R.H);
    S.SetShape(R.Kind);
    S.Pen()->SetWidth(R.PenWidth);
    S.Brush()->SetColor(clLime);
    Rendered Img(&S);
    for (const Probe& P : R.Probes) EXPECT_EQ(Img.At(P.X, P.Y), P.Want) << P.X << "," << P.Y;
  }
}

namespace {

// W x H, left half red, right half blue.
void FillHalves(TBitmap* B, int W, int H) {
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(TRect(0, 0, W / 2, H));
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(TRect(W / 2, 0, W, H));
}

}  // namespace

TEST(ExtImage, PlacementByStretchCenterProportionalTransparent) {
  const TColor Bk = RGBOf(kBack), Rd = RGBOf(clRed), Bl = RGBOf(clBlue);
  struct Row {
    bool Stretch, Center, Proportional, Transparent;
    int PW, PH, W, H;
    TRect Dest;
    std::vector<Probe> Probes;
  } Rows[] = {
      {false, false, false, false, 4, 2, 20, 10, TRect(0, 0, 4, 2), {{1, 1, Rd}, {3, 1, Bl}, {5, 5, Bk}}},
      {true, false, false, false, 4, 2, 20, 10, TRect(0, 0, 20, 10), {{9, 5, Rd}, {10, 5, Bl}, {19, 9, Bl}}},
      {false, true, false, false, 4, 2, 20, 10, TRect(8, 4, 12, 6), {{8, 4, Rd}, {11, 5, Bl}, {1, 1, Bk}}},
      // Proportional shrinks a larger picture only, keeping its aspect.
      {false, false, true, false, 4, 2, 20, 10, TRect(0, 0, 4, 2), {{5, 5, Bk}}},
      {false, false, true, false, 40, 20, 20, 20, TRect(0, 0, 20, 10), {{5, 5, Rd}, {15, 5, Bl}, {10, 15, Bk}}},
      {false, true, true, false, 40, 20, 20, 20, TRect(0, 5, 20, 15), {{10, 2, Bk}, {5, 10, Rd}, {10, 17, Bk}}},
      {true, false, true, false, 2, 4, 20, 20, TRect(0, 0, 10, 20), {{2, 10, Rd}, {7, 10, Bl}, {15, 10, Bk}}},
      // Transparent: the bottom-left colour (red) lets the background through.
      {false, false, false, true, 4, 2, 20, 10, TRect(0, 0, 4, 2), {{1, 1, Bk}, {3, 1, Bl}}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::to_string(R.Stretch) + std::to_string(R.Center) + std::to_string(R.Proportional) +
                 std::to_string(R.Transparent) + " " + std::to_string(R.PW));
    TImage I(nullptr);
    I.SetBounds(0, 0, R.W, R.H);
    FillHalves(I.Picture()->Bitmap(), R.PW, R.PH);
    I.SetStretch(R.Stretch);
    I.SetCenter(R.Center);
    I.SetProportional(R.Proportional);
    I.SetTransparent(R.Transparent);
    EXPECT_EQ(I.DestRect(), R.Dest);
    Rendered Img(&I);
    for (const Probe& P : R.Probes) EXPECT_EQ(Img.At(P.X, P.Y), P.Want) << P.X << "," << P.Y;
  }
}

// Canvas of an empty image makes a bitmap of the control's size; an image
// holding another kind of graphic has no canvas.
TEST(ExtImage, CanvasMakesABitmap) {
  TImage I(nullptr);
  I.SetBounds(0, 0, 30, 12);
  I.Canvas()->Brush()->SetColor(clGreen);
  I.Canvas()->FillRect(TRect(0, 0, 30, 12));
  EXPECT_EQ(I.Picture()->Width(), 30);
  EXPECT_EQ(I.Picture()->Height(), 12);
  Rendered Img(&I);
  EXPECT_EQ(Img.At(29, 11), RGBOf(clGreen));
  TIcon Icon;
  I.Picture()->SetGraphic(&Icon);
  EXPECT_THROW(I.Canvas(), EInvalidOperation);
}

class ExtBalloon : public AppFixture {};

// The balloon shows with its stem at the point, above it (or below it near
// the top of the screen), never takes the activation nor the mouse, and
// hides again.
TEST_F(ExtBalloon, ShowsWithoutActivationAndHides) {
  TForm* F = NewForm();
  F->Show();
  SetForegroundWindow(F->Handle());
  Pump();
  HWND Active = GetActiveWindow();
  ASSERT_EQ(Active, F->Handle());
  TBalloonHint Hint(nullptr);
  Hint.SetTitle(u"Close this image");
  Hint.SetDescription(u"WWWW");
  EXPECT_FALSE(Hint.ShowingHint());
  TPoint P = F->ClientToScreen(TPoint(150, 120));
  Hint.ShowHint(P);
  Pump();
  ASSERT_TRUE(Hint.ShowingHint());
  HWND H = Hint.Handle();
  EXPECT_TRUE(GetWindowLongW(H, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(GetActiveWindow(), Active);
  EXPECT_EQ(GetForegroundWindow(), Active);
  EXPECT_TRUE(F->Active());
  RECT R{};
  GetWindowRect(H, &R);
  EXPECT_EQ(R.bottom, P.Y) << "the stem ends at the point";
  EXPECT_LE(R.left, P.X);
  EXPECT_GT(R.right, P.X);
  // The body: info background, dark title text.
  HDC DC = GetDC(H);
  EXPECT_EQ(TColor(GetPixel(DC, 4, (R.bottom - R.top) / 2)), RGBOf(clInfoBk));
  int Ink = 0;
  for (int Y = 6; Y < 24; ++Y)
    for (int X = 6; X < R.right - R.left - 6; ++X) Ink += TColor(GetPixel(DC, X, Y)) == RGBOf(clInfoText);
  ReleaseDC(H, DC);
  EXPECT_GT(Ink, 10);
  lumigra_test::SaveWindowScreen(H, "balloon-hint");
  // The mouse goes through to the form.
  POINT Mid{(R.left + R.right) / 2, R.top + 10};
  EXPECT_NE(WindowFromPoint(Mid), H);
  // A click on it does not activate it either.
  SendMessageW(H, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(F->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(GetActiveWindow(), Active);

  Hint.HideHint();
  EXPECT_FALSE(Hint.ShowingHint());
  EXPECT_FALSE(IsWindowVisible(H));
  EXPECT_EQ(GetActiveWindow(), Active);

  // Near the top of the screen it opens below the point.
  Hint.ShowHint(TPoint(200, 3));
  GetWindowRect(H, &R);
  EXPECT_EQ(R.top, 3);
  Hint.HideHint();
  delete F;
}
