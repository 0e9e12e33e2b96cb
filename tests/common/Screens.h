// Screenshots of the tests: pictures of windows and bitmaps in their main
// states, saved as PNG for people who review the look. The assertions of a
// test check pixels and state; these pictures decide nothing, and a picture
// that cannot be saved is reported on stderr while the test goes on.
//
// Files: SCREENS/PROGRAM/NAME.png, or SCREENS/PROGRAM/SCHEME/NAME.png for a
// test that draws in several schemes, where PROGRAM is the test program's
// name and SCREENS is $LUMIGRA_SCREENS_DIR (ctest sets it to the build
// folder's screens/) or else the folder "screens" beside the test program.
// Names and schemes are plain file names (letters, digits, "-", "_", ".").
//
// The window variant needs a Winelib test program; the bitmap variant takes
// any 32-bit bitmap of the bitmap engine (ScreensBitmap32.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace lumigra_test {

// Pixels as B, G, R, A bytes, top-down rows Stride bytes apart. Without
// KeepAlpha the picture is opaque (the alpha bytes GDI leaves mean nothing).
void SaveScreenPixels(const std::uint8_t* Pixels, int Width, int Height, int Stride, const std::string& Name,
                      const std::string& Scheme = std::string(), bool KeepAlpha = false);

// The window as it shows, frame and child windows included: pending paints
// are done first, then its pixels are copied from its device context.
void SaveWindowScreen(HWND Wnd, const std::string& Name, const std::string& Scheme = std::string());

// The pixels SaveWindowScreen saves, for a test's own checks: 0x00RRGGBB,
// top-down rows of GetWindowRect's size. Empty when they cannot be copied.
struct TWindowPixels {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;
  std::uint32_t At(int X, int Y) const { return Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)] & 0xFFFFFFu; }
};
TWindowPixels CaptureWindow(HWND Wnd);

// The file a picture of Name (and Scheme) goes to, as a Windows path.
std::u16string ScreenFileName(const std::string& Name, const std::string& Scheme = std::string());

}  // namespace lumigra_test
