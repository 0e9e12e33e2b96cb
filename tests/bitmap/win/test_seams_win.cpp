// The engine's platform seams reach Win32 in the Winelib build.
#include "common/gtest.h"

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_System.h"

#include <windows.h>


namespace {

TEST(PlatformSeams, BoundToWin32) {
  InitializeBitmapEngine();
  Cardinal w = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(Color32(TColor(0x80000000 | COLOR_BTNFACE)),
            0xFF000000u | ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF));
  Cardinal t = ::GetTickCount();
  EXPECT_LE(TickCount() - t, 1000u);
  SYSTEM_INFO si;
  ::GetSystemInfo(&si);
  EXPECT_EQ(ProcessorCount(), Integer(si.dwNumberOfProcessors));
  TPerfTimer timer;
  timer.Start();
  ::Sleep(20);
  Int64 us = timer.ReadValue();
  EXPECT_GE(us, 15000);
  EXPECT_LT(us, 5000000);
  ASSERT_FALSE(TempFolderPath.empty());
  EXPECT_EQ(TempFolderPath.back(), u'\\');
}

}  // namespace
