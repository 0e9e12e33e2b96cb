// Text on TBitmap32 through GDI.
#include "common/gtest.h"

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/win/Bmp32_Windowed.h"
#include "common/ScreensBitmap32.h"
#include "rtl/Thread.h"

#include <memory>
#include <vector>

namespace {

class BitmapText : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
  static void UseArial(TBitmap32& B, Integer Height = -14) {
    B.Font()->SetName(u"Arial");
    B.Font()->SetHeight(Height);
    B.Font()->SetColor(clWhite);
  }
  static std::vector<TColor32> Pixels(TBitmap32& B) {
    return std::vector<TColor32>(B.Bits(), B.Bits() + size_t(B.Width()) * B.Height());
  }
};

}  // namespace

TEST_F(BitmapText, ExtentsAndLineHeight) {
  TBitmap32 B;
  B.SetSize(20, 20);
  UseArial(B);
  EXPECT_EQ(B.TextWidth(u""), 0);
  B.UpdateFont();
  TEXTMETRICW TM{};
  GetTextMetricsW(B.Handle(), &TM);
  EXPECT_EQ(B.TextHeight(u"A"), TM.tmHeight);
  // Without a DC (empty bitmap) the shared measuring bitmap answers the same.
  TBitmap32 E;
  UseArial(E);
  EXPECT_EQ(E.TextExtent(u"Hello").cx, B.TextExtent(u"Hello").cx);
  EXPECT_EQ(E.TextHeightW(u"A"), TM.tmHeight);
}

TEST_F(BitmapText, TextoutClipsMeasuresAndReports) {
  struct Case {
    const char* Name;
    bool Clip;
    bool Measure;
  };
  const Case Cases[] = {{"plain", false, false}, {"clipping bitmap", true, false}, {"measuring", false, true}};
  for (const Case& K : Cases) {
    TBitmap32 B;
    B.SetSize(60, 20);
    UseArial(B);
    const TRect Clip(0, 0, 10, 20);
    if (K.Clip) B.SetClipRect(Clip);
    std::vector<TRect> Areas;
    auto Record = [&](TObject*, const TRect& R, Cardinal) { Areas.push_back(R); };
    if (K.Measure)
      B.BeginMeasuring(Record);
    else
      B.SetOnAreaChanged(Record);
    B.Textout(2, 3, u"WWWWW");
    if (K.Measure) B.EndMeasuring();
    SIZE S = B.TextExtent(u"WWWWW");
    ASSERT_EQ(Areas.size(), 1u) << K.Name;
    EXPECT_EQ(Areas[0], TRect(2, 3, 2 + S.cx + 1, 3 + S.cy + 1)) << K.Name;
    Integer Inside = 0, Outside = 0;
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 60; ++X) (X < 10 ? Inside : Outside) += B.GetPixel(X, Y) != 0;
    if (K.Measure) {
      EXPECT_EQ(Inside + Outside, 0) << K.Name;
    } else if (K.Clip) {
      EXPECT_GT(Inside, 0) << K.Name;
      EXPECT_EQ(Outside, 0) << K.Name;
    } else {
      EXPECT_GT(Outside, 0) << K.Name;
    }
  }
}

TEST_F(BitmapText, RectTextoutLeavesTheCallersRectangle) {
  TBitmap32 B;
  B.SetSize(40, 20);
  UseArial(B);
  const TRect R(1, 1, 30, 15);
  TRect Copy = R;
  B.Textout(Copy, DT_CALCRECT | DT_SINGLELINE, u"Wide text here");
  EXPECT_EQ(Copy, R);
  B.Textout(Copy, DT_SINGLELINE, u"ab");
  EXPECT_EQ(Copy, R);
}

TEST_F(BitmapText, RenderTextLevelsStrengthAndLimits) {
  auto Render = [](Integer Level, TColor32 Color, Integer W = 80, Integer H = 30) {
    TBitmap32 B;
    B.SetSize(W, H);
    B.Clear(0xFF000000u);
    UseArial(B, -18);
    B.RenderText(2, 2, u"Abc", Level, Color);
    EXPECT_EQ(B.Font()->Quality(), 0) << "quality restored";
    LOGFONTW LF{};
    GetObjectW(B.Font()->Handle(), sizeof(LF), &LF);
    EXPECT_EQ(LF.lfQuality, 0);
    return Pixels(B);
  };
  {
    TBitmap32 Shown;
    Shown.SetSize(80, 30);
    Shown.Clear(0xFF000000u);
    UseArial(Shown, -18);
    Shown.RenderText(2, 2, u"Abc", 2, 0xFFFF0000u);
    lumigra_test::SaveBitmapScreen(Shown, "render-text-level-2");
  }
  EXPECT_EQ(Render(7, 0xFFFF0000u), Render(4, 0xFFFF0000u));
  EXPECT_EQ(Render(-3, 0xFFFF0000u), Render(-1, 0xFFFF0000u));
  for (Integer Level : {-1, 0, 2}) {
    std::vector<TColor32> Full = Render(Level, 0xFFFF0000u), Half = Render(Level, 0x80FF0000u);
    Integer SumFull = 0, SumHalf = 0;
    for (size_t i = 0; i < Full.size(); ++i) {
      EXPECT_EQ(Full[i] & 0xFFFFu, 0u) << "only red";
      SumFull += (Full[i] >> 16) & 0xFF;
      SumHalf += (Half[i] >> 16) & 0xFF;
    }
    EXPECT_GT(SumFull, 0) << Level;
    EXPECT_NEAR(double(SumHalf) / SumFull, 128.0 / 255.0, 0.03) << Level;
  }
  // Level 0 of a text longer than the bitmap: cut at the right edge.
  TBitmap32 Narrow;
  Narrow.SetSize(12, 8);
  Narrow.Clear(0xFF000000u);
  UseArial(Narrow, -18);
  Narrow.RenderText(0, 0, u"WWWWWWWW", 0, 0xFFFFFFFFu);
  Integer Lit = 0;
  for (int i = 0; i < 12 * 8; ++i) Lit += Narrow.Bits()[i] != 0xFF000000u;
  EXPECT_GT(Lit, 0);
  // Oversampling a huge font stays within the bitmap's own size.
  TBitmap32 Small;
  Small.SetSize(20, 10);
  UseArial(Small, -300);
  Small.RenderText(0, 0, u"W", 4, 0xFFFFFFFFu);
  EXPECT_EQ(Small.Width(), 20);
}

namespace {

// Measures text on bitmaps without a DC, which share one measuring canvas.
class TMeasurer : public TThread {
 public:
  TMeasurer() : TThread(true) {}
  ~TMeasurer() override { TerminateAndWait(); }
  Integer Mismatches = 0;
  Integer Expected = 0;

 protected:
  void Execute() override {
    for (int i = 0; i < 200; ++i) {
      TBitmap32 B;
      B.Font()->SetName(u"Arial");
      B.Font()->SetHeight(-14);
      if (B.TextWidth(u"Measure me") != Expected) ++Mismatches;
    }
  }
};

}  // namespace

TEST_F(BitmapText, WorkersMeasureThroughTheSharedCanvas) {
  TBitmap32 Ref;
  UseArial(Ref);
  const Integer Expected = Ref.TextWidth(u"Measure me");
  ASSERT_GT(Expected, 0);
  std::vector<std::unique_ptr<TMeasurer>> Workers;
  for (int i = 0; i < 4; ++i) {
    Workers.emplace_back(new TMeasurer());
    Workers.back()->Expected = Expected;
  }
  for (auto& W : Workers) W->Start();
  for (auto& W : Workers) W->WaitFor();
  for (auto& W : Workers) EXPECT_EQ(W->Mismatches, 0);
}
