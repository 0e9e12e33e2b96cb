// The paint box and the image control: mapping between control and bitmap,
// buffer fitting, paint stages, and a shown control receiving mouse input.
#include "common/gtest.h"

#include <string>
#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/win/Bmp32_Image.h"
#include "classlib/Forms.h"
#include "test_image_controls_util.h"

namespace {

using imgtest::Pump;

class ImageMappingTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TEST_F(ImageMappingTest, ScaledCustomOffsetRoundsHalfToEvenAndFloorsBack) {
  TImage32 I(nullptr);
  I.SetBounds(0, 0, 50, 50);
  I.Bitmap()->SetSize(3, 3);
  I.SetScaleMode(smScale);
  I.SetScale(2);
  I.SetBitmapAlign(baCustom);
  I.SetOffsetHorz(10.5f);
  EXPECT_EQ(I.GetBitmapRect(), TRect(10, 0, 16, 6));
  EXPECT_EQ(I.ControlToBitmap(TPoint(12, 1)), TPoint(1, 0));
  EXPECT_EQ(I.BitmapToControl(TPoint(1, 0)), TPoint(12, 0));
  // Left of the bitmap: floor, not truncation.
  EXPECT_EQ(I.ControlToBitmap(TPoint(9, -1)), TPoint(-1, -1));
  TFloatPoint F = I.ControlToBitmap(TFloatPoint{11, 3});
  EXPECT_FLOAT_EQ(F.X, 0.5f);
  EXPECT_FLOAT_EQ(F.Y, 1.5f);
  // Every setter drops the cache.
  I.SetOffsetHorz(20);
  EXPECT_EQ(I.BitmapToControl(TPoint(1, 0)), TPoint(22, 0));
}

TEST_F(ImageMappingTest, BitmapSizeByScaleMode) {
  struct Case {
    TScaleMode Mode;
    Integer VW, VH, BW, BH;
    Single Scale;
    Integer CX, CY;
  } Cases[] = {
      {smResize, 100, 100, 200, 100, 1, 100, 50}, {smResize, 50, 100, 200, 100, 1, 50, 25},
      {smOptimal, 100, 100, 20, 10, 1, 20, 10},   {smOptimal, 100, 100, 200, 100, 1, 100, 50},
      {smStretch, 70, 30, 5, 5, 1, 70, 30},       {smNormal, 10, 10, 50, 40, 3, 50, 40},
      {smScale, 10, 10, 5, 5, 2.5f, 12, 12},      {smOptimalScaled, 100, 100, 30, 30, 2, 60, 60},
      {smOptimalScaled, 100, 100, 30, 30, 4, 100, 100},
  };
  for (const Case& K : Cases) {
    TImage32 I(nullptr);
    I.SetBounds(0, 0, K.VW, K.VH);
    I.Bitmap()->SetSize(K.BW, K.BH);
    I.SetScale(K.Scale);
    I.SetScaleMode(K.Mode);
    SIZE S = I.GetBitmapSize();
    EXPECT_EQ(S.cx, K.CX) << int(K.Mode) << " " << K.VW << "x" << K.VH;
    EXPECT_EQ(S.cy, K.CY) << int(K.Mode) << " " << K.VW << "x" << K.VH;
  }
}

TEST_F(ImageMappingTest, EmptyBitmapMapsIdentityAndCenterUsesTheWholeControl) {
  TImage32 I(nullptr);
  I.SetBounds(0, 0, 31, 20);
  EXPECT_EQ(I.GetBitmapRect(), TRect(0, 0, 0, 0));
  EXPECT_EQ(I.ControlToBitmap(TPoint(7, -3)), TPoint(7, -3));
  EXPECT_EQ(I.BitmapToControl(TPoint(7, -3)), TPoint(7, -3));
  I.Bitmap()->SetSize(10, 10);
  I.SetBitmapAlign(baCenter);
  EXPECT_EQ(I.GetBitmapRect(), TRect(10, 5, 20, 15));
}

TEST_F(ImageMappingTest, ScaleIsClampedAndFiresOncePerChange) {
  TImage32 I(nullptr);
  int N = 0;
  I.OnScaleChange = [&](TObject*) { ++N; };
  I.SetScale(0);
  EXPECT_FLOAT_EQ(I.Scale(), 0.001f);
  I.SetScale(3);
  I.SetScale(3);
  EXPECT_EQ(N, 2);
  EXPECT_FLOAT_EQ(I.ScaleY(), 3);
}

TEST_F(ImageMappingTest, UpdatesBatchChangesAndAnUnpairedEndAsserts) {
  TImage32 I(nullptr);
  int Changes = 0;
  I.OnChange = [&](TObject*) { ++Changes; };
  I.BeginUpdate();
  I.SetOffsetHorz(3);
  I.SetBitmapAlign(baCenter);
  I.EndUpdate();
  EXPECT_EQ(Changes, 0);  // EndUpdate does not repaint; callers end with Changed
  I.Changed();
  EXPECT_EQ(Changes, 1);
  try {
    I.EndUpdate();
    ADD_FAILURE() << "no exception";
  } catch (EAssertionFailed& E) {
    EXPECT_EQ(E.Message(), String(u"Unpaired EndUpdate call"));
  }
}

TEST_F(ImageMappingTest, BufferGrowsWithSlackAndShrinksPastIt) {
  TPaintBox32 P(nullptr);
  EXPECT_EQ(P.Buffer()->Width(), 232);  // 192 x 192 after creation
  struct Step {
    Integer Size, Buffer;
  } Steps[] = {{1, 1}, {100, 140}, {120, 140}, {140, 140}, {141, 181}, {150, 181}, {140, 140}, {99, 99}};
  for (const Step& S : Steps) {
    P.SetBounds(0, 0, S.Size, S.Size);
    EXPECT_EQ(P.Buffer()->Width(), S.Buffer) << S.Size;
    EXPECT_EQ(P.Buffer()->Height(), S.Buffer) << S.Size;
  }
  P.SetBufferOversize(-4);
  EXPECT_EQ(P.BufferOversize(), 0);
  P.SetBounds(0, 0, 0, 0);
  EXPECT_EQ(P.Buffer()->Width(), 1);
}

TEST_F(ImageMappingTest, PaintStagesListAndPaintTo) {
  TImage32 I(nullptr);
  TPaintStages* S = I.PaintStages();
  ASSERT_EQ(S->Count(), 5);
  EXPECT_EQ(S->Items(0).Stage, PST_CLEAR_BACKGND);
  EXPECT_EQ(S->Items(4).Parameter, LOB_VISIBLE);
  EXPECT_FALSE(S->Items(1).RunTime);
  S->Insert(-3)->Stage = 99;
  EXPECT_EQ(S->Items(0).Stage, 99u);
  S->Insert(100)->Stage = PST_CUSTOM;
  EXPECT_EQ(S->Items(6).Stage, PST_CUSTOM);
  try {
    S->Delete(7);
    ADD_FAILURE();
  } catch (EListError& E) {
    EXPECT_EQ(E.Message(), String(u"Invalid stage index"));
  }
  S->Delete(0);
  // PaintTo renders the run-time stages into another bitmap at DestRect.
  I.SetColor(clRed);
  I.Bitmap()->SetSize(2, 2);
  I.Bitmap()->Clear(0xFF0000FFu);
  std::vector<Cardinal> Custom;
  I.OnPaintStage = [&](TObject*, TBitmap32* B, Cardinal N) {
    Custom.push_back(N);
    B->SetPixel(0, 0, 0xFF00FF00u);
  };
  TBitmap32 D;
  D.SetSize(10, 10);
  I.PaintTo(&D, TRect(2, 2, 6, 6));
  EXPECT_EQ(D.GetPixel(1, 1), 0xFFFF0000u);  // background (clRed)
  EXPECT_EQ(D.GetPixel(2, 2), 0xFF0000FFu);
  EXPECT_EQ(D.GetPixel(5, 5), 0xFF0000FFu);
  EXPECT_EQ(D.GetPixel(6, 6), 0xFFFF0000u);
  EXPECT_EQ(D.GetPixel(0, 0), 0xFF00FF00u);  // custom stage ran last
  EXPECT_EQ(Custom, std::vector<Cardinal>{5});
  EXPECT_FALSE(I.CacheIsValid());
}

// --- a shown image control

class ImageWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeBitmapEngine();
    Form = imgtest::NewShownForm();
    Img = new TImage32(Form);
    Img->SetBounds(10, 10, 120, 100);
    Img->SetParent(Form);
    Img->Bitmap()->SetSize(30, 20);
    Img->Bitmap()->Clear(0xFF102030u);
    Img->SetScaleMode(smScale);
    Img->SetBitmapAlign(baCustom);
    Img->SetScale(2);
    Img->SetOffsetHorz(5);
    Img->SetOffsetVert(7);
    Pump();
  }
  void TearDown() override {
    delete Form;
    Pump();
  }
  LPARAM At(Integer X, Integer Y) { return MAKELPARAM(X, Y); }
  TForm* Form = nullptr;
  TImage32* Img = nullptr;
};

TEST_F(ImageWindowTest, PaintsTheScaledBitmapIntoTheBuffer) {
  Img->SetColor(clWhite);
  Img->Repaint();
  Pump();
  TBitmap32* B = Img->Buffer();
  EXPECT_TRUE(Img->BufferValid());
  EXPECT_EQ(B->GetPixel(4, 7), 0xFFFFFFFFu);
  EXPECT_EQ(B->GetPixel(5, 7), 0xFF102030u);
  EXPECT_EQ(B->GetPixel(64, 46), 0xFF102030u);
  EXPECT_EQ(B->GetPixel(65, 46), 0xFFFFFFFFu);
  EXPECT_EQ(B->GetPixel(64, 47), 0xFFFFFFFFu);
  // What reached the window is the buffer.
  HDC DC = GetDC(Img->Handle());
  EXPECT_EQ(GetPixel(DC, 10, 10) & 0xFFFFFF, COLORREF(0x302010));
  EXPECT_EQ(GetPixel(DC, 2, 2) & 0xFFFFFF, COLORREF(0xFFFFFF));
  ReleaseDC(Img->Handle(), DC);
}

TEST_F(ImageWindowTest, LayersGetControlCoordinatesAndTheEventsTheLayer) {
  auto* L = Img->Layers()->Add<TPositionedLayer>();
  L->SetScaled(true);
  L->SetLocation(TFloatRect{10, 10, 20, 15});  // control 25..45 x 27..37
  std::vector<std::string> Log;
  L->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    TPoint P = Img->ControlToBitmap(TPoint(X, Y));
    Log.push_back("L.down " + std::to_string(X) + "," + std::to_string(Y) + " bmp " + std::to_string(P.X) + "," +
                  std::to_string(P.Y));
  };
  L->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    Log.push_back("L.up " + std::to_string(X) + "," + std::to_string(Y));
  };
  Img->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y, TCustomLayer* Layer) {
    Log.push_back("I.down " + std::to_string(X) + "," + std::to_string(Y) + (Layer == L ? " L" : " -"));
  };
  Img->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y, TCustomLayer* Layer) {
    Log.push_back("I.up " + std::to_string(X) + "," + std::to_string(Y) + (Layer == L ? " L" : " -"));
  };
  HWND H = Img->Handle();
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  EXPECT_EQ(GetCapture(), H);
  EXPECT_EQ(Img->Layers()->MouseListener(), L);
  SendMessageW(H, WM_LBUTTONUP, 0, At(100, 90));  // outside: the listener still gets it
  EXPECT_EQ(Img->Layers()->MouseListener(), nullptr);
  EXPECT_NE(GetCapture(), H);
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));  // no layer there
  SendMessageW(H, WM_LBUTTONUP, 0, At(3, 3));
  EXPECT_EQ(Log, (std::vector<std::string>{"L.down 30,30 bmp 12,11", "I.down 30,30 L", "L.up 100,90", "I.up 100,90 L",
                                           "I.down 3,3 -", "I.up 3,3 -"}));
}

TEST_F(ImageWindowTest, DoubleClickReleasesTheLayerWithoutAStrayMouseUp) {
  auto* L = Img->Layers()->Add<TPositionedLayer>();
  L->SetLocation(TFloatRect{0, 0, 120, 100});
  std::vector<std::string> Log;
  L->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    Log.push_back("L.up " + std::to_string(X) + "," + std::to_string(Y));
  };
  Img->OnMouseDown = [&](TObject*, TMouseButton, TShiftState S, Integer X, Integer Y, TCustomLayer*) {
    Log.push_back(std::string((S & ssDouble) ? "dbl-down " : "down ") + std::to_string(X) + "," + std::to_string(Y));
  };
  Img->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y, TCustomLayer*) {
    Log.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
  };
  Img->OnDblClick = [&](TObject*) {
    Log.push_back("dblclick");
    EXPECT_EQ(Img->Layers()->MouseListener(), nullptr);
  };
  HWND H = Img->Handle();
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, At(40, 30));
  SendMessageW(H, WM_LBUTTONUP, 0, At(40, 30));
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, At(40, 30));  // the listener holds the button again
  SendMessageW(H, WM_LBUTTONDBLCLK, MK_LBUTTON, At(41, 30));
  SendMessageW(H, WM_LBUTTONUP, 0, At(41, 30));
  // Control handlers: no up at (0, 0); the layer's release comes from the
  // double click.
  EXPECT_EQ(Log, (std::vector<std::string>{"down 40,30", "L.up 40,30", "up 40,30", "down 40,30", "L.up 0,0",
                                           "dblclick", "dbl-down 41,30", "L.up 41,30", "up 41,30"}));
  EXPECT_EQ(Img->Layers()->MouseListener(), nullptr);
  EXPECT_NE(GetCapture(), H);
}

TEST_F(ImageWindowTest, LeavingResetsTheLayerCursorAndArrowKeysFollowTheOption) {
  auto* L = Img->Layers()->Add<TPositionedLayer>();
  L->SetLocation(TFloatRect{0, 0, 50, 50});
  L->SetCursor(crCross);
  HWND H = Img->Handle();
  SendMessageW(H, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(Screen->Cursor(), crCross);
  Img->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_FALSE(Img->MouseInControl());
  // While a layer holds the mouse, leaving keeps its cursor.
  SendMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  L->SetAsMouseListener();
  Img->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Screen->Cursor(), crCross);
  SendMessageW(H, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(Img->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
  Img->SetOptions(pboWantArrowKeys);
  EXPECT_NE(Img->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
}

TEST_F(ImageWindowTest, DirectModeRepaintsTheChangedAreaAtOnce) {
  Img->SetRepaintMode(rmDirect);
  Img->Repaint();
  Pump();
  int Changes = 0;
  Img->OnChange = [&](TObject*) { ++Changes; };
  Img->Buffer()->SetPixel(100, 90, 0xFF00FF00u);
  Img->Bitmap()->SetPixel(29, 19, 0xFFFF0000u);  // bitmap's last pixel: control 63..64 x 45..46
  Img->Bitmap()->Changed(TRect(29, 19, 30, 20));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Img->Buffer()->GetPixel(64, 46), 0xFFFF0000u);  // no pump needed
  EXPECT_EQ(Img->Buffer()->GetPixel(100, 90), 0xFF00FF00u);
  EXPECT_EQ(Img->InvalidRects()->Count(), 0);
}

TEST_F(ImageWindowTest, OptimizerRepaintsOnlyTheChangedArea) {
  Img->SetRepaintMode(rmOptimizer);
  Img->Repaint();
  Pump();
  ASSERT_TRUE(Img->BufferValid());
  // A change drawn straight into the buffer outside the bitmap's change
  // stays: only the grown, mapped area of the bitmap change is repainted.
  Img->Buffer()->SetPixel(100, 90, 0xFF00FF00u);
  Img->Bitmap()->FillRectS(0, 0, 2, 2, 0xFFFF0000u);
  Pump();
  EXPECT_EQ(Img->Buffer()->GetPixel(5, 7), 0xFFFF0000u);
  EXPECT_EQ(Img->Buffer()->GetPixel(8, 10), 0xFFFF0000u);
  EXPECT_EQ(Img->Buffer()->GetPixel(9, 11), 0xFF102030u);
  EXPECT_EQ(Img->Buffer()->GetPixel(100, 90), 0xFF00FF00u);
}

}  // namespace
