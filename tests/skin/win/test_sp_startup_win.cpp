// The toolkit's and the bitmap unit's start-up under the test prefix, and the
// desktop-composition routines. The environment below starts both units for
// the whole test program (explicit calls; no static start-up in the library).
#include "common/gtest.h"

#include "skin/data/win/SPUtils.h"

namespace {

class SkinToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InitializeSpBitmapUnit();
    InitializeSPUtils();
  }
  void TearDown() override {
    FinalizeSPUtils();
    FinalizeSpBitmapUnit();
  }
};
[[maybe_unused]] auto* const gToolkitEnv = ::testing::AddGlobalTestEnvironment(new SkinToolkitEnvironment);

TEST(SkinToolkitStartup, PrefixFacts) {
  // The prefix is Windows 7: a change of it changes the composition paths.
  Integer Major, Minor;
  GetWindowsVersion(Major, Minor);
  ASSERT_EQ(Major, 6) << "the test prefix's Windows version changed";
  ASSERT_EQ(Minor, 1) << "the test prefix's Windows version changed";
  EXPECT_TRUE(IsWindows7());
  EXPECT_TRUE(IsVistaOrLater());
  EXPECT_TRUE(IsXPOrLater());
  EXPECT_TRUE(IsWin2000OrLater());
  EXPECT_TRUE(CheckWindowsVersion());
  EXPECT_FALSE(IsDwmCompositionOn());
  EXPECT_NE(spMonitorFromWindow, nullptr);
  EXPECT_NE(spGetMonitorInfoA, nullptr);
  EXPECT_NE(spSetLayeredWindowAttributes, nullptr);
  EXPECT_NE(spUpdateLayeredWindow, nullptr);
  EXPECT_TRUE(spIsNTPlatform);
  EXPECT_TRUE(AlphaBlendApiLoaded());
  EXPECT_NE(spTransparentBlt, nullptr);
  EXPECT_NE(spAlphaBlend, nullptr);
  EXPECT_TRUE(MMXAvailable);
  EXPECT_TRUE(IsTrueColorScreen()) << "tests run Xvfb at depth 24";
  EXPECT_FALSE(HasMultipleMonitors());
  TRect Work, Screen, Mon;
  GetScreenArea(true, Work);
  GetScreenArea(false, Screen);
  GetMonitorArea(GetDesktopWindow(), false, Mon);
  EXPECT_EQ(Mon, Screen);
  EXPECT_GT(Screen.Width(), 0);
  EXPECT_GT(Work.Height(), 0);
}

// Fakes that record what the composition routines pass.
Integer GAttrValue = 12345;
DWORD GAttr = 0, GAttrSize = 0;
TspDwmBlurBehind GBlur{};
HRESULT WINAPI FakeSetAttribute(HWND, DWORD Attr, LPCVOID Value, DWORD Size) {
  GAttr = Attr;
  GAttrSize = Size;
  GAttrValue = *static_cast<const Integer*>(Value);
  return 0;
}
HRESULT WINAPI FakeBlur(HWND, const TspDwmBlurBehind* B) {
  GBlur = *B;
  return 0;
}

TEST(SkinToolkitStartup, CompositionRoutinesPassTheirValues) {
  ASSERT_NE(spDwmLibrary, nullptr);
  const auto SavedAttr = spDwmSetWindowAttribute;
  const auto SavedBlur = spDwmEnableBlurBehindWindow;
  spDwmSetWindowAttribute = FakeSetAttribute;
  spDwmEnableBlurBehindWindow = FakeBlur;
  SetDwmTransitions(nullptr, false);
  EXPECT_EQ(GAttr, 3u);
  EXPECT_EQ(GAttrSize, 4u);
  EXPECT_EQ(GAttrValue, -1);
  SetDwmTransitions(nullptr, true);
  EXPECT_EQ(GAttrValue, 0);
  EnableDwmBlurBehind(nullptr, true, nullptr);
  EXPECT_EQ(GBlur.dwFlags, 1u);
  EXPECT_EQ(GBlur.fEnable, -1);
  EXPECT_EQ(GBlur.hRgnBlur, nullptr);
  HRGN R = CreateRectRgn(0, 0, 5, 5);
  EnableDwmBlurBehind(nullptr, false, R);
  EXPECT_EQ(GBlur.dwFlags, 3u);
  EXPECT_EQ(GBlur.fEnable, 0);
  EXPECT_EQ(GBlur.hRgnBlur, R);
  DeleteObject(R);
  spDwmSetWindowAttribute = SavedAttr;
  spDwmEnableBlurBehindWindow = SavedBlur;
}

}  // namespace
