// The bridge's own gradient painting on large surfaces, where the rows are
// shared out among threads: the pixels equal those painted by the calling
// thread alone, for the radial (an ellipse path) and the diamond (a polygon)
// shapes the gradient tool paints, with a preset blend holding a
// half-transparent stop, under a world transform and a clip.
#include "common/gtest.h"

#include <cstring>
#include <vector>

#include <windows.h>

#include "platform/GdiPlusBridge.h"

using namespace gdipflat;

namespace {

void EnsureStarted() {
  static bool started = false;
  if (started) return;
  const char* err = nullptr;
  ASSERT_TRUE(LoadGdiPlus(&err)) << (err ? err : "");
  GdiplusStartupInput in{1, nullptr, 0, 0};
  uintptr_t token = 0;
  ASSERT_EQ(Api.GdiplusStartup(&token, &in, nullptr), Ok);
  started = true;
}

// A 32-bit top-down DIB section in a memory DC, filled with a pattern so
// that the composition over it shows too.
struct TDib {
  HDC Dc = nullptr;
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  uint32_t* Bits = nullptr;
  int W, H;
  TDib(int Width, int Height) : W(Width), H(Height) {
    BITMAPINFO bi;
    std::memset(&bi, 0, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = W;
    bi.bmiHeader.biHeight = -H;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Dc = CreateCompatibleDC(nullptr);
    Bmp = CreateDIBSection(Dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    Old = SelectObject(Dc, Bmp);
    Bits = static_cast<uint32_t*>(bits);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) Bits[y * W + x] = 0xFF000000u | uint32_t((x / 7) & 0xFF) << 16 | uint32_t(y & 0xFF);
  }
  ~TDib() {
    SelectObject(Dc, Old);
    DeleteObject(Bmp);
    DeleteDC(Dc);
  }
};

struct TCase {
  const char* Name;
  bool Diamond;
  bool Turned;  // a rotated world transform and a clip
};

// Paints the case on a fresh surface with at most Threads threads.
std::vector<uint32_t> Paint(const TCase& C, int Threads) {
  const int previous = SetBridgePaintThreads(Threads);
  TDib d(1500, 1000);
  GpGraphics* g = nullptr;
  EXPECT_EQ(Api.GdipCreateFromHDC(d.Dc, &g), Ok);
  Api.GdipSetSmoothingMode(g, 4);  // anti-aliased: partly covered edge pixels
  if (C.Turned) {
    Api.GdipSetClipRectI(g, 100, 50, 1200, 800, 0);
    Api.GdipTranslateWorldTransform(g, 750, 500, 0);
    Api.GdipRotateWorldTransform(g, 17, 0);
    Api.GdipTranslateWorldTransform(g, -750, -500, 0);
  }
  GpBrush* b = nullptr;
  GpPath* path = nullptr;
  if (C.Diamond) {
    const GpPointF corners[4] = {{750, -300}, {1900, 520}, {760, 1350}, {-350, 480}};
    EXPECT_EQ(Api.GdipCreatePathGradient(corners, 4, 0, &b), Ok);
    EXPECT_EQ(Api.GdipCreatePath(0, &path), Ok);
    Api.GdipAddPathPolygon(path, corners, 4);
  } else {
    EXPECT_EQ(Api.GdipCreatePath(0, &path), Ok);
    Api.GdipAddPathEllipse(path, -200, -450, 1900, 1900);
    EXPECT_EQ(Api.GdipCreatePathGradientFromPath(path, &b), Ok);
  }
  const GpPointF centre{640, 470};
  Api.GdipSetPathGradientCenterPoint(b, &centre);
  const ARGB colours[3] = {0xFF0000FFu, 0x8000FF00u, 0xFFFF0000u};
  const REAL positions[3] = {0, 0.5f, 1};
  EXPECT_EQ(Api.GdipSetPathGradientPresetBlend(b, colours, positions, 3), Ok);
  EXPECT_EQ(Api.GdipFillPath(g, b, path), Ok);
  Api.GdipDeleteBrush(b);
  Api.GdipDeletePath(path);
  Api.GdipDeleteGraphics(g);
  SetBridgePaintThreads(previous);
  return std::vector<uint32_t>(d.Bits, d.Bits + size_t(d.W) * d.H);
}

TEST(GdiPlusBridgeGradientThreads, ThreadedPaintEqualsOneThread) {
  EnsureStarted();
  const TCase cases[] = {{"radial", false, false}, {"diamond", true, false}, {"radial turned", false, true},
                         {"diamond turned", true, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<uint32_t> one = Paint(c, 1), many = Paint(c, 8);
    ASSERT_EQ(one.size(), many.size());
    size_t differ = 0, first = one.size();
    for (size_t i = 0; i < one.size(); ++i)
      if (one[i] != many[i]) {
        if (differ++ == 0) first = i;
      }
    EXPECT_EQ(differ, 0u) << "first at (" << first % 1500 << ", " << first / 1500 << ")";
    // The gradient was painted: the centre is red (the last stop), the pixel
    // halfway out is the half-transparent green over the pattern.
    const uint32_t atCentre = one[size_t(470) * 1500 + 640];
    EXPECT_GE((atCentre >> 16) & 0xFF, 200u);
    EXPECT_LE(atCentre & 0xFFFF, 0x2020u);
    // Outside the clip the pattern is untouched.
    if (c.Turned) EXPECT_EQ(one[size_t(10) * 1500 + 10], 0xFF000000u | uint32_t(10 / 7) << 16 | 10u);
  }
}

}  // namespace
