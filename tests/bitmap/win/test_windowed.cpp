// TBitmap32 on the GDI backend: handles, canvas, blits and tiles.
#include "common/gtest.h"

#include <utility>
#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/win/Bmp32_Windowed.h"

namespace {

class WindowedBitmap : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

}  // namespace

TEST_F(WindowedBitmap, NewBitmapHasDcInfoAndZeroPixels) {
  TBitmap32 B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.Handle(), nullptr);
  B.SetSize(4, 3);
  EXPECT_NE(B.Handle(), nullptr);
  EXPECT_NE(B.BitmapHandle(), nullptr);
  BITMAPINFO BI = B.BitmapInfo();
  EXPECT_EQ(BI.bmiHeader.biSize, 40u);
  EXPECT_EQ(BI.bmiHeader.biWidth, 4);
  EXPECT_EQ(BI.bmiHeader.biHeight, -3);
  EXPECT_EQ(BI.bmiHeader.biBitCount, 32);
  EXPECT_EQ(BI.bmiHeader.biSizeImage, 48u);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(B.Bits()[i], 0u);
  EXPECT_EQ(GetCurrentObject(B.Handle(), OBJ_BITMAP), B.BitmapHandle());
}

TEST_F(WindowedBitmap, CanvasDrawingReachesBitsAndReportsFullBounds) {
  TBitmap32 B;
  B.SetSize(5, 4);
  Integer Changes = 0;
  std::vector<TRect> Areas;
  B.SetOnChange([&](TObject*) { ++Changes; });
  B.SetOnAreaChanged([&](TObject*, const TRect& R, Cardinal) { Areas.push_back(R); });
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(TRect(1, 1, 3, 2));
  EXPECT_EQ(B.GetPixel(1, 1) & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(B.GetPixel(3, 1), 0u);
  EXPECT_EQ(Changes, 1);
  ASSERT_EQ(Areas.size(), 1u);
  EXPECT_EQ(Areas[0], TRect(0, 0, 5, 4));
}

TEST_F(WindowedBitmap, ResizeReplacesHandlesAndCanvas) {
  TBitmap32 B;
  B.SetSize(4, 4);
  Integer HandleChanges = 0;
  B.SetOnHandleChanged([&](TObject*) { ++HandleChanges; });
  TCanvas* C1 = B.Canvas();
  C1->Pixels(0, 0);
  HDC Old = B.Handle();
  B.SetSize(8, 2);
  EXPECT_FALSE(B.CanvasAllocated());
  EXPECT_GE(HandleChanges, 1);
  TCanvas* C2 = B.Canvas();
  EXPECT_EQ(C2->Handle(), B.Handle());
  EXPECT_NE(B.Handle(), Old);
  C2->Brush()->SetColor(clBlue);
  C2->FillRect(TRect(0, 0, 8, 2));
  EXPECT_EQ(B.GetPixel(7, 1) & 0xFFFFFFu, 0x0000FFu);
  B.SetSize(0, 0);
  EXPECT_EQ(B.Handle(), nullptr);
}

TEST_F(WindowedBitmap, ASizeNoDibCanHoldIsRefusedAndLeavesAnEmptyBitmap) {
  TBitmap32 B;
  B.SetSize(4, 4);
  for (auto WH : {std::pair{0x7FFFFFFF, 0x7FFFFFFF}, std::pair{0x10000, 0x10000}}) {
    EXPECT_THROW(B.SetSize(WH.first, WH.second), EOutOfMemory) << WH.first;
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Handle(), nullptr);
  }
  B.SetSize(2, 2);  // usable afterwards
  EXPECT_NE(B.Handle(), nullptr);
}

TEST_F(WindowedBitmap, DrawToOfAnEmptyBitmapLeavesTheTarget) {
  TBitmap32 Target, Empty;
  Target.SetSize(2, 2);
  Target.Clear(0xFF123456u);
  Empty.DrawTo(Target.Handle(), 0, 0);
  Empty.DrawTo(Target.Handle(), TRect(0, 0, 2, 2), TRect(0, 0, 2, 2));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Target.Bits()[i], 0xFF123456u);
}

TEST_F(WindowedBitmap, DrawAndDrawToCopyAllFourBytes) {
  TBitmap32 A, B;
  A.SetSize(3, 2);
  for (int i = 0; i < 6; ++i) A.Bits()[i] = 0x10203040u * Cardinal(i + 1);
  B.SetSize(3, 2);
  A.DrawTo(B.Handle(), 0, 0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(B.Bits()[i], A.Bits()[i]) << i;
  TBitmap32 C;
  C.SetSize(3, 2);
  std::vector<TRect> Areas;
  C.SetOnAreaChanged([&](TObject*, const TRect& R, Cardinal) { Areas.push_back(R); });
  C.Draw(TRect(0, 0, 3, 2), TRect(0, 0, 3, 2), A.Handle());
  EXPECT_EQ(C.Bits()[5], A.Bits()[5]);
  ASSERT_FALSE(Areas.empty());
  EXPECT_EQ(Areas.back(), TRect(0, 0, 3, 2));
}

TEST_F(WindowedBitmap, TileToMatchesOneStretchedDraw) {
  TBitmap32 Src;
  Src.SetSize(37, 5);
  for (int i = 0; i < 37 * 5; ++i) Src.Bits()[i] = 0xFF000000u | Cardinal(i * 2654435761u >> 8);
  const TRect Dst(0, 0, 3000, 100);
  TBitmap32 Tiled, Single;
  Tiled.SetSize(3000, 100);
  Single.SetSize(3000, 100);
  Src.TileTo(Tiled.Handle(), Dst, Src.BoundsRect());
  TBitmap32 Whole;
  Whole.SetSize(3000, 100);
  TransferStretched(&Whole, Dst, Dst, &Src, Src.BoundsRect(), Src.Resampler(), Src.DrawMode());
  Whole.DrawTo(Single.Handle(), 0, 0);
  size_t Diff = 0;
  for (int i = 0; i < 3000 * 100; ++i) Diff += Tiled.Bits()[i] != Single.Bits()[i];
  EXPECT_EQ(Diff, 0u);
  EXPECT_EQ(Tiled.Bits()[2999 + 99 * 3000], Src.Bits()[36 + 4 * 37]);
}

TEST_F(WindowedBitmap, FontIsCopiedWithSettings) {
  TBitmap32 A, B;
  A.Font()->SetName(u"Arial");
  A.Font()->SetHeight(-20);
  A.SetMasterAlpha(100);
  A.CopySettingsTo(&B);
  EXPECT_EQ(B.Font()->Name(), u"Arial");
  EXPECT_EQ(B.Font()->Height(), -20);
  EXPECT_EQ(B.MasterAlpha(), 100u);
}

TEST_F(WindowedBitmap, PlainMemoryBitmapsSwitchToGdiForImport) {
  TCustomBitmap32 Plain;  // memory backend
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(2, 1);
  Bmp.Canvas()->SetPixels(1, 0, clRed);
  AssignFromGraphic(&Plain, &Bmp);
  EXPECT_NE(dynamic_cast<TMemoryBackend*>(Plain.Backend()), nullptr) << "back in plain memory";
  EXPECT_EQ(Plain.GetPixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(Plain.GetPixel(0, 0), 0xFFFFFFFFu);
}

TEST_F(WindowedBitmap, DoPaintCopiesTheInvalidRectangles) {
  TBitmap32 Buffer;
  Buffer.SetSize(4, 4);
  Buffer.Clear(0xFF00FF00u);
  TBitmap Target;
  Target.SetPixelFormat(pf32bit);
  Target.SetSize(4, 4);
  auto* Paint = RequireBackendInterface<IPaintSupport>(Buffer.Backend(), IID_IPaintSupport);
  TRectList Rects;
  Rects.Add(TRect(1, 1, 2, 3));
  Paint->DoPaint(&Buffer, &Rects, Target.Canvas(), TRect(0, 0, 4, 4));
  EXPECT_EQ(Target.Canvas()->Pixels(1, 2), clLime);
  EXPECT_EQ(Target.Canvas()->Pixels(0, 0), clWhite);
  EXPECT_EQ(Target.Canvas()->Pixels(2, 1), clWhite);
  Rects.Clear();
  Paint->DoPaint(&Buffer, &Rects, Target.Canvas(), TRect(0, 0, 4, 4));
  EXPECT_EQ(Target.Canvas()->Pixels(3, 3), clLime);
}

TEST_F(WindowedBitmap, EveryFeatureIsOffered) {
  TBitmap32 B;
  for (TInterfaceID IID : {IID_ICanvasSupport, IID_IFontSupport, IID_ITextSupport, IID_IDeviceContextSupport,
                           IID_IBitmapContextSupport, IID_IPaintSupport}) {
    void* Obj = nullptr;
    EXPECT_TRUE(B.QueryInterface(IID, Obj));
    EXPECT_NE(Obj, nullptr);
  }
  // A plain-memory backend offers none: the features raise the invalid-cast error.
  TBitmap32 Plain;
  Plain.SetBackend(new TMemoryBackend(nullptr));
  EXPECT_THROW(Plain.Canvas(), EInvalidCast);
  EXPECT_THROW(Plain.TextExtent(u"x"), EInvalidCast);
  Plain.DrawTo(static_cast<HDC>(nullptr), 0, 0);  // empty: nothing to draw, no error
}
