// The program's small controls: the 3-D frame pixel by pixel, the link
// label's looks and what its click may open, and the hover-trigger button
// on a fake clock (its timer's handler run directly) with the real cursor.
#include "tests/classlib/win/test_controls_util.h"

#include <string>
#include <vector>

#include "classlib/Messages.h"
#include "foundation/app/win/HyStdCtrls.h"
#include "tests/common/Screens.h"

namespace {

std::unique_ptr<TBitmap> White(Integer W, Integer H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

TColor Px(TBitmap* B, Integer X, Integer Y) { return TColor(GetPixel(B->Canvas()->Handle(), X, Y)); }

std::unique_ptr<TBitmap> Render(TGraphicControl* C, TColor Ground = clWhite) {
  auto B = White(C->Width(), C->Height());
  B->Canvas()->Brush()->SetColor(Ground);
  B->Canvas()->FillRect(TRect(0, 0, C->Width(), C->Height()));
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
  return B;
}

void Save(TBitmap* B, const std::string& Name) {
  std::vector<std::uint8_t> Px(size_t(B->Width()) * B->Height() * 4);
  for (Integer Y = 0; Y < B->Height(); ++Y)
    for (Integer X = 0; X < B->Width(); ++X) {
      const COLORREF C = GetPixel(B->Canvas()->Handle(), X, Y);
      std::uint8_t* P = &Px[(size_t(Y) * B->Width() + X) * 4];
      P[0] = GetBValue(C), P[1] = GetGValue(C), P[2] = GetRValue(C), P[3] = 255;
    }
  lumigra_test::SaveScreenPixels(Px.data(), B->Width(), B->Height(), B->Width() * 4, Name, "default");
}

// R red, B blue, . white.
void ExpectPicture(TBitmap* Bm, const std::vector<std::string>& Rows) {
  for (Integer Y = 0; Y < Integer(Rows.size()); ++Y)
    for (Integer X = 0; X < Integer(Rows[Y].size()); ++X) {
      const char c = Rows[Y][X];
      const TColor Want = c == 'R' ? TColor(clRed) : c == 'B' ? TColor(clBlue) : TColor(clWhite);
      EXPECT_EQ(Px(Bm, X, Y), Want) << X << "," << Y;
    }
}

TEST(StdCtrls, DrawFrame3DPixels) {
  auto B = White(5, 4);
  DrawFrame3D(B->Canvas(), TRect(0, 0, 5, 4), clRed, clBlue, 1);
  ExpectPicture(B.get(), {"RRRRB", "R...B", "R...B", "BBBBB"});
  B = White(7, 5);
  DrawFrame3D(B->Canvas(), TRect(0, 0, 7, 5), clRed, clBlue, 2);
  ExpectPicture(B.get(), {"RRRRRRB", "RRRRRBB", "RR...BB", "RBBBBBB", "BBBBBBB"});
  // Offset and odd: only the rectangle is touched.
  B = White(9, 8);
  DrawFrame3D(B->Canvas(), TRect(2, 1, 7, 6), clRed, clBlue, 1);
  ExpectPicture(B.get(), {".........", "..RRRRB..", "..R...B..", "..R...B..", "..R...B..", "..BBBBB..",
                          ".........", "........."});
}

class LinkLabel : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = HyOpenUrl;
    HyOpenUrl = [this](const String& U) { Opened.push_back(U); };
    F = new TForm(nullptr);
    L = new ZEzEduro(F);
    L->SetParent(F);
    L->SetAutoSize(false);
    L->SetBounds(0, 0, 60, 20);
    L->SetCaption(u"Link");
    L->SetTransparent(false);
    L->SetColor(clWhite);
  }
  void TearDown() override {
    delete F;
    HyOpenUrl = Saved;
  }
  std::function<void(const String&)> Saved;
  std::vector<String> Opened;
  TForm* F = nullptr;
  ZEzEduro* L = nullptr;
};

TEST_F(LinkLabel, OpensOnlyWebAddresses) {
  struct Row {
    const char16_t* Url;
    bool Open;
  };
  const Row Rows[] = {{u"http://a", true},    {u"HTTPS://a", true},     {u"https://a/b?c", true},
                      {u"file:///etc", false}, {u"C:\\x.exe", false},    {u"javascript:x", false},
                      {u"", false},            {u" http://a", false},    {u"file:///etc/passwd", false}};
  int Clicks = 0;
  L->OnClick = [&](TObject*) { ++Clicks; };
  for (const Row& R : Rows) {
    Opened.clear();
    L->SetUrl(R.Url);
    L->Click();
    ASSERT_EQ(Opened.size(), R.Open ? 1u : 0u);
    if (R.Open) EXPECT_EQ(Opened[0], String(R.Url));
  }
  EXPECT_EQ(Clicks, int(std::size(Rows)));
}

TEST_F(LinkLabel, LooksFrameHotAndDisabled) {
  auto B = Render(L);
  EXPECT_EQ(Px(B.get(), 0, 0), 0x008396A0);
  EXPECT_EQ(Px(B.get(), 59, 19), 0x008396A0);
  L->SetColorHighLight(clRed);
  L->SetColorShadow(clBlue);
  B = Render(L);
  EXPECT_EQ(Px(B.get(), 0, 0), TColor(clRed));
  EXPECT_EQ(Px(B.get(), 59, 19), TColor(clBlue));
  Save(B.get(), "zezeduro-normal");
  L->SetDrawBorder(false);
  B = Render(L);
  EXPECT_EQ(Px(B.get(), 0, 0), TColor(clWhite));
  auto Count = [&](TBitmap* Bm, TColor C) {
    int N = 0;
    for (Integer Y = 0; Y < 20; ++Y)
      for (Integer X = 0; X < 60; ++X) N += Px(Bm, X, Y) == C;
    return N;
  };
  // Hot look only with a Url: the active colour under the mouse.
  L->SetUseActiveColor(true);
  L->SetActiveColor(clLime);
  L->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(L->MouseIn());
  B = Render(L);
  EXPECT_EQ(Count(B.get(), clLime), 0);
  L->SetUrl(u"http://a");
  B = Render(L);
  EXPECT_GT(Count(B.get(), clLime), 0);
  Save(B.get(), "zezeduro-hot-link");
  L->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(L->MouseIn());
  B = Render(L);
  EXPECT_EQ(Count(B.get(), clLime), 0);
  // Disabled: embossed, highlight one pixel right and down of the shadow.
  L->SetEnabled(false);
  B = Render(L);
  EXPECT_GT(Count(B.get(), ColorToRGB(clBtnShadow)), 0);
  EXPECT_GT(Count(B.get(), ColorToRGB(clBtnHighlight)), 0);
  Save(B.get(), "zezeduro-disabled");
}

TEST_F(LinkLabel, MeasuresASpaceForNoText) {
  L->SetAutoSize(true);
  L->SetCaption(u" ");
  const Integer SpaceW = L->Width();
  EXPECT_GT(SpaceW, 0);
  L->SetCaption(u"");
  EXPECT_EQ(L->Width(), SpaceW);
  L->SetCaption(u"&");
  EXPECT_EQ(L->Width(), SpaceW);
  L->SetShowAccelChar(false);
  L->SetCaption(u"&&");
  L->SetShowAccelChar(true);
  const Integer OneAmp = L->Width();
  L->SetShowAccelChar(false);
  EXPECT_GT(L->Width(), OneAmp);  // both ampersands shown
}

class HoverButton : public ::testing::Test {
 protected:
  void SetUp() override {
    F = new TForm(nullptr);
    F->SetBounds(60, 60, 220, 140);
    B = new VIvAzovoVodivo(F);
    B->SetParent(F);
    B->SetBounds(10, 10, 50, 30);
    B->SetTriggerCount(3);
    B->OnMouseEnter = [this](TObject*) { ++Enters; };
    B->OnMouseLeave = [this](TObject*) { ++Leaves; };
    B->OnTimerTrigger = [this](TObject*) { ++Triggers; };
    B->OnClick = [this](TObject*) { ++Clicks; };
    // The cursor away first: a stay must start when a test says so.
    SetCursorPos(0, 0);
    F->Show();
    ctltest::Pump();
    if (B->MouseEntered()) B->Perform(CM_MOUSELEAVE);
    ASSERT_FALSE(B->MouseEntered());
    Enters = Leaves = Triggers = Clicks = 0;
  }
  void TearDown() override { delete F; }
  void CursorOver() {
    const TPoint P = B->ClientToScreen(TPoint(20, 10));
    SetCursorPos(P.X, P.Y);
  }
  void CursorAway() {
    const TPoint P = F->ClientToScreen(TPoint(150, 100));
    SetCursorPos(P.X, P.Y);
  }
  void Tick(int N = 1) {
    for (int i = 0; i < N; ++i) B->Timer()->OnTimer()(B->Timer());
  }
  TForm* F = nullptr;
  VIvAzovoVodivo* B = nullptr;
  int Enters = 0, Leaves = 0, Triggers = 0, Clicks = 0;
};

TEST_F(HoverButton, AtMostTriggerCountPerStay) {
  EXPECT_EQ(B->TimerInterval(), 100);
  EXPECT_EQ(B->Timer()->Interval(), 100u);
  CursorOver();
  B->Perform(CM_MOUSEENTER);
  B->Perform(CM_MOUSEENTER);  // one enter per stay
  EXPECT_EQ(Enters, 1);
  EXPECT_TRUE(B->Timer()->Enabled());
  Tick(5);
  EXPECT_EQ(Triggers, 3);
  EXPECT_EQ(Clicks, 0);  // no simulated clicks without SimulateClick
  CursorAway();
  Tick();
  EXPECT_FALSE(B->Timer()->Enabled());
  EXPECT_EQ(Leaves, 1);
  EXPECT_FALSE(B->MouseEntered());
  // A new stay counts again.
  CursorOver();
  B->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Enters, 2);
  Tick(4);
  EXPECT_EQ(Triggers, 6);
  B->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Leaves, 2);
  EXPECT_FALSE(B->Timer()->Enabled());
}

TEST_F(HoverButton, ForbiddenTriggersKeepSimulatedClicks) {
  B->SetSimulateClick(true);
  B->SetGroupIndex(4);
  B->SetAllowAllUp(true);
  B->OnTriggerStart = [](TObject*, bool& IsTrigger) { IsTrigger = false; };
  CursorOver();
  B->Perform(CM_MOUSEENTER);
  Tick(3);
  EXPECT_EQ(Clicks, 3);
  EXPECT_EQ(Triggers, 0);
  EXPECT_TRUE(B->Down());  // toggled three times
  B->Perform(CM_MOUSELEAVE);
}

TEST_F(HoverButton, DisabledDuringAStayStartsAgainWhenEnabled) {
  CursorOver();
  B->Perform(CM_MOUSEENTER);
  Tick();
  EXPECT_EQ(Triggers, 1);
  B->SetEnabled(false);
  Tick();  // under the cursor, disabled: nothing fires
  EXPECT_EQ(Triggers, 1);
  EXPECT_TRUE(B->MouseEntered());
  CursorAway();
  Tick();
  EXPECT_FALSE(B->Timer()->Enabled());
  EXPECT_EQ(Leaves, 0);  // no leave notice while disabled
  EXPECT_FALSE(B->MouseEntered());
  B->SetEnabled(true);
  CursorOver();
  B->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Enters, 2);
  Tick(3);
  EXPECT_EQ(Triggers, 4);
  B->Perform(CM_MOUSELEAVE);
}

TEST_F(HoverButton, FlatTransparentPaintsItsColour) {
  B->SetFlat(true);
  B->SetColor(clYellow);
  auto Bm = Render(B, clFuchsia);
  EXPECT_EQ(Px(Bm.get(), 25, 15), TColor(clYellow));
  Save(Bm.get(), "vivazovovodivo-flat-colour");
  B->SetColor(clBtnFace);
  Bm = Render(B, clFuchsia);
  EXPECT_EQ(Px(Bm.get(), 25, 15), TColor(clFuchsia));
}

}  // namespace
