#include "common/gtest.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
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

// A 32-bit top-down DIB section in a memory DC: the surface a TBitmap32 gives.
struct TDibFixture {
  HDC Dc = nullptr;
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  uint32_t* Bits = nullptr;
  int W = 0, H = 0;

  TDibFixture(int Width, int Height, uint32_t Fill, int Bpp = 32, bool TopDown = true) : W(Width), H(Height) {
    BITMAPINFO bi;
    std::memset(&bi, 0, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = W;
    bi.bmiHeader.biHeight = TopDown ? -H : H;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = WORD(Bpp);
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Dc = CreateCompatibleDC(nullptr);
    Bmp = CreateDIBSection(Dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    Old = SelectObject(Dc, Bmp);
    Bits = static_cast<uint32_t*>(bits);
    if (Bpp == 32)
      for (int i = 0; i < W * H; ++i) Bits[i] = Fill;
  }
  ~TDibFixture() {
    SelectObject(Dc, Old);
    DeleteObject(Bmp);
    DeleteDC(Dc);
  }
  uint32_t At(int X, int Y) const { return Bits[Y * W + X]; }
};

GpGraphics* MakeGraphics(const TDibFixture& D) {
  GpGraphics* g = nullptr;
  EXPECT_EQ(Api.GdipCreateFromHDC(D.Dc, &g), Ok);
  EXPECT_NE(g, nullptr);
  return g;
}

void FillRect(GpGraphics* G, ARGB Color, REAL X, REAL Y, REAL W, REAL H) {
  GpBrush* b = nullptr;
  ASSERT_EQ(Api.GdipCreateSolidFill(Color, &b), Ok);
  EXPECT_EQ(Api.GdipFillRectangle(G, b, X, Y, W, H), Ok);
  Api.GdipDeleteBrush(b);
}

int Ch(uint32_t C, int Shift) { return int((C >> Shift) & 0xFF); }

}  // namespace

TEST(GdiPlusLoad, EverySymbolResolvesAndStartupWorks) {
  const char* err = nullptr;
  EXPECT_TRUE(LoadGdiPlus(&err)) << (err ? err : "");
  EXPECT_EQ(err, nullptr);
  EnsureStarted();
  EXPECT_NE(Api.GdipCreateFromHDC, nullptr);
  EXPECT_NE(Api.GdipLoadImageFromDelegate_linux, nullptr);
  // A plain library call through the table works in the native convention.
  GpPen* pen = nullptr;
  ASSERT_EQ(Api.GdipCreatePen1(0xFF102030, 2.5f, 0, &pen), Ok);
  REAL w = 0;
  ARGB c = 0;
  EXPECT_EQ(Api.GdipGetPenWidth(pen, &w), Ok);
  EXPECT_EQ(Api.GdipGetPenColor(pen, &c), Ok);
  EXPECT_FLOAT_EQ(w, 2.5f);
  EXPECT_EQ(c, 0xFF102030u);
  EXPECT_EQ(Api.GdipDeletePen(pen), Ok);
}

TEST(GdiPlusLayouts, RecordsMatchTheLibrary) {
  EnsureStarted();
  UINT count = 0, size = 0;
  ASSERT_EQ(Api.GdipGetImageEncodersSize(&count, &size), Ok);
  ASSERT_GT(count, 0u);
  // The library reports the block as count records plus their strings: the
  // records must be 104 bytes for the first string to follow the last one.
  std::vector<uint8_t> block(size);
  auto* infos = reinterpret_cast<GpImageCodecInfo*>(block.data());
  ASSERT_EQ(Api.GdipGetImageEncoders(count, size, infos), Ok);
  for (UINT i = 0; i < count; ++i) {
    ASSERT_NE(infos[i].MimeType, nullptr);
    EXPECT_EQ(infos[i].MimeType[0], u'i');  // "image/..."
    EXPECT_GE(reinterpret_cast<const uint8_t*>(infos[i].CodecName), block.data() + count * sizeof(GpImageCodecInfo));
  }
  // LockBits writes no further than our declared record.
  GpBitmap* bmp = nullptr;
  ASSERT_EQ(Api.GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  struct {
    GpBitmapData Data;
    uint8_t Guard[32];
  } rec;
  std::memset(&rec, 0xA5, sizeof(rec));
  GpRect r{0, 0, 4, 4};
  ASSERT_EQ(Api.GdipBitmapLockBits(bmp, &r, ImageLockModeRead, PixelFormat32bppARGB, &rec.Data), Ok);
  for (uint8_t g : rec.Guard) EXPECT_EQ(g, 0xA5);
  EXPECT_EQ(rec.Data.Width, 4u);
  EXPECT_EQ(rec.Data.Stride, 16);
  EXPECT_EQ(Api.GdipBitmapUnlockBits(bmp, &rec.Data), Ok);
  Api.GdipDisposeImage(bmp);
}

TEST(GdiPlusBridge, RefusesDcsWithoutA32BitTopDownDib) {
  EnsureStarted();
  HDC dc = CreateCompatibleDC(nullptr);  // holds the 1x1 monochrome stock bitmap
  GpGraphics* g = reinterpret_cast<GpGraphics*>(1);
  EXPECT_EQ(Api.GdipCreateFromHDC(dc, &g), InvalidParameter);
  EXPECT_EQ(g, nullptr);
  DeleteDC(dc);
  TDibFixture bottomUp(4, 4, 0, 32, false);
  EXPECT_EQ(Api.GdipCreateFromHDC(bottomUp.Dc, &g), InvalidParameter);
  EXPECT_EQ(g, nullptr);
  TDibFixture rgb24(4, 4, 0, 24, true);
  EXPECT_EQ(Api.GdipCreateFromHDC(rgb24.Dc, &g), InvalidParameter);
  EXPECT_EQ(g, nullptr);
  EXPECT_EQ(Api.GdipCreateFromHDC(nullptr, &g), InvalidParameter);
  EXPECT_EQ(BridgeSurfaceCount(), 0);
}

TEST(GdiPlusBridge, OpaqueFillExactAndUntouchedPixelsKept) {
  EnsureStarted();
  TDibFixture d(16, 12, 0x00FFFFFF);
  for (INT mode : {3, 4}) {  // none, anti-alias
    for (int i = 0; i < d.W * d.H; ++i) d.Bits[i] = 0x00FFFFFF;
    GpGraphics* g = MakeGraphics(d);
    Api.GdipSetSmoothingMode(g, mode);
    FillRect(g, 0xFF204080, 2, 3, 5, 4);
    // Nothing reaches the DIB before the graphics is released.
    EXPECT_EQ(d.At(3, 4), 0x00FFFFFFu);
    EXPECT_EQ(BridgeSurfaceCount(), 1);
    EXPECT_EQ(Api.GdipDeleteGraphics(g), Ok);
    EXPECT_EQ(BridgeSurfaceCount(), 0);
    for (int y = 0; y < d.H; ++y)
      for (int x = 0; x < d.W; ++x) {
        const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
        EXPECT_EQ(d.At(x, y), inside ? 0xFF204080u : 0x00FFFFFFu) << "mode " << mode << " at " << x << "," << y;
      }
  }
}

TEST(GdiPlusBridge, TranslucentFillGivesStraightColour) {
  EnsureStarted();
  TDibFixture d(8, 8, 0x00FFFFFF);
  d.Bits[7 * 8 + 7] = 0xFF0000FF;  // opaque blue under part of the fill
  GpGraphics* g = MakeGraphics(d);
  FillRect(g, 0x80C03010, 4, 4, 4, 4);
  Api.GdipDeleteGraphics(g);
  const uint32_t p = d.At(5, 5);
  EXPECT_NEAR(Ch(p, 24), 128, 1);
  EXPECT_NEAR(Ch(p, 16), 0xC0, 2);
  EXPECT_NEAR(Ch(p, 8), 0x30, 2);
  EXPECT_NEAR(Ch(p, 0), 0x10, 2);
  // Over an opaque pixel: source-over, opaque result.
  const uint32_t q = d.At(7, 7);
  EXPECT_EQ(Ch(q, 24), 255);
  EXPECT_NEAR(Ch(q, 16), (0xC0 * 128 + 0 * 127) / 255, 2);
  EXPECT_NEAR(Ch(q, 0), (0x10 * 128 + 255 * 127) / 255, 2);
  EXPECT_EQ(d.At(3, 3), 0x00FFFFFFu);
}

TEST(GdiPlusBridge, AntiAliasedEdgeKeepsItsColour) {
  EnsureStarted();
  TDibFixture d(40, 40, 0x00FFFFFF);
  GpGraphics* g = MakeGraphics(d);
  Api.GdipSetSmoothingMode(g, 4);
  GpBrush* b = nullptr;
  Api.GdipCreateSolidFill(0xFFFF0000, &b);
  Api.GdipFillEllipse(g, b, 5.3f, 5.3f, 29.4f, 29.4f);
  Api.GdipDeleteBrush(b);
  Api.GdipDeleteGraphics(g);
  int partial = 0;
  for (int i = 0; i < d.W * d.H; ++i) {
    const uint32_t p = d.Bits[i];
    const int a = Ch(p, 24);
    if (a == 0) {
      EXPECT_EQ(p, 0x00FFFFFFu);
      continue;
    }
    if (a < 255) ++partial;
    // Straight colour: red whatever the coverage (within the rounding of
    // the premultiplied scratch at low alpha).
    const int tol = a >= 64 ? 2 : 255 / a + 1;
    EXPECT_NEAR(Ch(p, 16), 255, tol) << "alpha " << a;
    EXPECT_NEAR(Ch(p, 8), 0, tol) << "alpha " << a;
    EXPECT_NEAR(Ch(p, 0), 0, tol) << "alpha " << a;
  }
  EXPECT_GT(partial, 20);
}

// Pixel centres, as measured on libgdiplus (the pixel offset mode changes
// nothing):
//  - fills: pixel (x, y) is the area [x, x+1) x [y, y+1), its centre the point
//    (x + 0.5, y + 0.5) as in the bitmap engine; anti-aliased integer
//    rectangles are crisp, a rectangle from 7.5 to 9.5 half-covers columns 7
//    and 9;
//  - anti-aliased strokes are shifted by half a pixel: a one-pixel line at the
//    integer y = 8 covers exactly row 8, a line at y = 8.5 half-covers rows 8
//    and 9 (the GDI+ rule that integer coordinates are pixel centres);
//  - without anti-aliasing a one-pixel line at y = 8 or 8.5 lands on row 8 and
//    fill edges are rounded to whole pixels.
TEST(GdiPlusBridge, HalfPixelConvention) {
  EnsureStarted();
  struct TCase {
    REAL LineY;
    INT Smoothing;
    INT PixelOffset;
    int Rows[4];      // alpha of rows 7..10 under the line
    int Cols[4];      // alpha of columns 6..9 under the fill from x = 7.5 to 9.5
  };
  const TCase cases[] = {
      {8.0f, 4, 0, {0, 255, 0, 0}, {0, 128, 255, 128}},
      {8.5f, 4, 0, {0, 128, 128, 0}, {0, 128, 255, 128}},
      {8.0f, 4, 4, {0, 255, 0, 0}, {0, 128, 255, 128}},  // PixelOffsetModeHalf: same
      {8.0f, 3, 0, {0, 255, 0, 0}, {0, 255, 255, 0}},
      {8.5f, 3, 0, {0, 255, 0, 0}, {0, 255, 255, 0}},
  };
  for (const TCase& c : cases) {
    TDibFixture d(12, 12, 0);
    GpGraphics* g = MakeGraphics(d);
    Api.GdipSetSmoothingMode(g, c.Smoothing);
    Api.GdipSetPixelOffsetMode(g, c.PixelOffset);
    GpPen* pen = nullptr;
    Api.GdipCreatePen1(0xFF00FF00, 1, 0, &pen);
    Api.GdipDrawLine(g, pen, 1, c.LineY, 11, c.LineY);
    Api.GdipDeletePen(pen);
    FillRect(g, 0xFFFFFFFF, 2, 2, 3, 3);
    FillRect(g, 0xFFFFFFFF, 7.5f, 2, 2, 3);
    Api.GdipDeleteGraphics(g);
    SCOPED_TRACE(testing::Message() << "line y " << c.LineY << " smoothing " << c.Smoothing);
    for (int r = 0; r < 4; ++r) EXPECT_NEAR(Ch(d.At(5, 7 + r), 24), c.Rows[r], 1) << "row " << 7 + r;
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(Ch(d.At(6 + k, 3), 24), c.Cols[k], 1) << "column " << 6 + k;
    // The integer rectangle (2, 2, 3, 3) is crisp in every mode.
    for (int x = 1; x <= 5; ++x) EXPECT_EQ(d.At(x, 3), (x >= 2 && x < 5) ? 0xFFFFFFFFu : 0u) << x;
  }
}

// Path gradients are shaped by their path (libgdiplus alone paints a circle
// of radius min(w, h) / 2): on a 100 x 20 rectangle, the colour along the
// long axis goes linearly from the centre colour to the surround colour.
TEST(GdiPlusBridge, PathGradientFollowsItsPath) {
  EnsureStarted();
  TDibFixture d(110, 30, 0x00FFFFFF);
  GpGraphics* g = MakeGraphics(d);
  GpPath* path = nullptr;
  ASSERT_EQ(Api.GdipCreatePath(1, &path), Ok);
  Api.GdipAddPathRectangle(path, 0, 0, 100, 20);
  GpBrush* b = nullptr;
  ASSERT_EQ(Api.GdipCreatePathGradientFromPath(path, &b), Ok);
  Api.GdipSetPathGradientCenterColor(b, 0xFFFFFFFF);
  ARGB surround = 0xFF000000;
  INT count = 1;
  Api.GdipSetPathGradientSurroundColorsWithCount(b, &surround, &count);
  GpPointF centre{50, 10};
  Api.GdipSetPathGradientCenterPoint(b, &centre);
  Api.GdipTranslateWorldTransform(g, 5, 5, 0);
  EXPECT_EQ(Api.GdipFillPath(g, b, path), Ok);
  Api.GdipDeleteGraphics(g);
  // FillRectangle with the brush paints the same.
  TDibFixture r(110, 30, 0x00FFFFFF);
  g = MakeGraphics(r);
  Api.GdipTranslateWorldTransform(g, 5, 5, 0);
  EXPECT_EQ(Api.GdipFillRectangle(g, b, 0, 0, 100, 20), Ok);
  Api.GdipDeleteGraphics(g);
  EXPECT_EQ(std::memcmp(r.Bits, d.Bits, size_t(d.W) * d.H * 4), 0);
  // On a rectangle centred at (50, 10) the boundary position of a point is
  // 1 - max(|dx| / 50, |dy| / 10); pixel (x, y) of the DIB is the point
  // (x - 5 + 0.5, y - 5 + 0.5).
  auto pos = [](int X, int Y) {
    const double dx = X - 5 + 0.5 - 50, dy = Y - 5 + 0.5 - 10;
    return 1 - std::max(std::fabs(dx) / 50, std::fabs(dy) / 10);
  };
  for (int y = 5; y < 25; y += 3)
    for (int x = 6; x < 104; x += 7) {
      const uint32_t px = d.At(x, y);
      EXPECT_EQ(Ch(px, 24), 255) << x << "," << y;
      EXPECT_NEAR(Ch(px, 16), 255 * pos(x, y), 3) << x << "," << y;
      EXPECT_EQ(Ch(px, 16), Ch(px, 0));
    }
  EXPECT_EQ(d.At(2, 2), 0x00FFFFFFu);  // outside: untouched
  EXPECT_EQ(d.At(106, 15), 0x00FFFFFFu);

  // Turned by 90 degrees about (0, 0) and moved: the long axis is vertical,
  // and a clip keeps the lower half only.
  TDibFixture v(40, 120, 0x00FFFFFF);
  g = MakeGraphics(v);
  Api.GdipSetClipRectI(g, 0, 60, 40, 60, 0);
  Api.GdipTranslateWorldTransform(g, 30, 5, 0);
  Api.GdipRotateWorldTransform(g, 90, 0);
  Api.GdipFillPath(g, b, path);
  Api.GdipDeleteGraphics(g);
  // Device (x, y) is the path point (y - 5, 30 - x).
  for (int y = 62; y < 104; y += 6) {
    const double px = y + 0.5 - 5, py = 30 - (20 + 0.5);
    const double want = 1 - std::max(std::fabs(px - 50) / 50, std::fabs(py - 10) / 10);
    EXPECT_NEAR(Ch(v.At(20, y), 16), 255 * want, 3) << y;
  }
  EXPECT_EQ(v.At(20, 40), 0x00FFFFFFu);  // clipped away
  EXPECT_EQ(v.At(5, 80), 0x00FFFFFFu);   // beside the turned rectangle

  // A preset blend: red on the boundary, green halfway, blue at the centre.
  TDibFixture e(110, 30, 0x00FFFFFF);
  g = MakeGraphics(e);
  const ARGB colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  const REAL positions[3] = {0, 0.5f, 1};
  Api.GdipSetPathGradientPresetBlend(b, colours, positions, 3);
  Api.GdipFillPath(g, b, path);
  Api.GdipDeleteGraphics(g);
  const uint32_t c = e.At(50, 10), h = e.At(75, 10), edge = e.At(99, 10);
  EXPECT_NEAR(Ch(c, 0), 255 * 0.9, 3);  // position 0.95: nine tenths from green to blue
  EXPECT_GT(Ch(h, 8), 230);
  EXPECT_GT(Ch(edge, 16), 230);
  Api.GdipDeleteBrush(b);
  Api.GdipDeletePath(path);
}

// Gamma-corrected linear gradients (libgdiplus ignores the flag): the colour
// is interpolated in linear light, gamma 2.2.
TEST(GdiPlusBridge, GammaCorrectedLinearGradient) {
  EnsureStarted();
  auto expected = [](double T) { return 255 * std::pow(T, 1 / 2.2); };  // black to white
  for (BOOL gamma : {0, 1}) {
    TDibFixture d(100, 50, 0x00FFFFFF);
    GpGraphics* g = MakeGraphics(d);
    GpBrush* b = nullptr;
    GpRectF r{0, 0, 100, 50};
    ASSERT_EQ(Api.GdipCreateLineBrushFromRect(&r, 0xFF000000, 0xFFFFFFFF, 0, 0, &b), Ok);
    Api.GdipSetLineGammaCorrection(b, gamma);
    Api.GdipFillRectangle(g, b, 0, 0, 100, 50);
    GpBrush* diag = nullptr;
    ASSERT_EQ(Api.GdipCreateLineBrushFromRect(&r, 0xFF000000, 0xFFFFFFFF, 2, 0, &diag), Ok);  // forward diagonal
    Api.GdipSetLineGammaCorrection(diag, gamma);
    GpPath* lower = nullptr;
    Api.GdipCreatePath(0, &lower);
    Api.GdipAddPathRectangle(lower, 0, 25, 100, 25);
    Api.GdipFillPath(g, diag, lower);
    Api.GdipDeletePath(lower);
    Api.GdipDeleteBrush(b);
    Api.GdipDeleteBrush(diag);
    Api.GdipDeleteGraphics(g);
    for (int x : {10, 50, 80}) {
      const double t = (x + 0.5) / 100;
      const uint32_t p = d.At(x, 10);
      EXPECT_EQ(Ch(p, 24), 255);
      EXPECT_NEAR(Ch(p, 16), gamma ? expected(t) : 255 * t, gamma ? 2 : 4) << "x " << x << " gamma " << gamma;
    }
    if (gamma) {
      // Forward diagonal in the rectangle's unit square: t = (u + v) / 2.
      for (int x : {5, 50, 95}) {
        const double t = ((x + 0.5) / 100 + (40 + 0.5) / 50) / 2;
        EXPECT_NEAR(Ch(d.At(x, 40), 16), expected(t), 2) << x;
      }
    }
  }
}

TEST(GdiPlusBridge, PathGradientHonoursGammaCorrection) {
  EnsureStarted();
  auto expected = [](double T) { return 255 * std::pow(T, 1 / 2.2); };
  for (BOOL gamma : {0, 1}) {
    TDibFixture d(101, 101, 0x00FFFFFF);
    GpGraphics* g = MakeGraphics(d);
    const GpPointF square[4] = {{0, 0}, {101, 0}, {101, 101}, {0, 101}};
    GpBrush* b = nullptr;
    ASSERT_EQ(Api.GdipCreatePathGradient(square, 4, 4, &b), Ok);
    Api.GdipSetPathGradientCenterColor(b, 0xFFFFFFFF);
    ARGB black = 0xFF000000;
    INT one = 1;
    Api.GdipSetPathGradientSurroundColorsWithCount(b, &black, &one);
    Api.GdipSetPathGradientGammaCorrection(b, gamma);
    Api.GdipFillRectangle(g, b, 0, 0, 101, 101);
    Api.GdipDeleteBrush(b);
    Api.GdipDeleteGraphics(g);
    // Halfway from the edge to the centre along the middle row.
    const uint32_t p = d.At(25, 50);
    const double t = 1 - (50.5 - 25.5) / 50.5;
    EXPECT_NEAR(Ch(p, 16), gamma ? expected(t) : 255 * t, 4) << "gamma " << gamma;
  }
}

TEST(GdiPlusBridge, ReleaseComposesOnlyInsideTheDcClipRegion) {
  EnsureStarted();
  // A fill over everything, the DC clipped to two rectangles.
  TDibFixture d(60, 40, 0x00FFFFFF);
  HRGN a = CreateRectRgn(5, 5, 20, 20), b = CreateRectRgn(30, 10, 50, 30);
  CombineRgn(a, a, b, RGN_OR);
  SelectClipRgn(d.Dc, a);
  DeleteObject(a);
  DeleteObject(b);
  GpGraphics* g = MakeGraphics(d);
  Api.GdipSetSmoothingMode(g, 4);
  FillRect(g, 0xFF102030, 0.5f, 0.5f, 59, 39);
  Api.GdipDeleteGraphics(g);
  SelectClipRgn(d.Dc, nullptr);
  EXPECT_EQ(d.At(10, 10), 0xFF102030u);
  EXPECT_EQ(d.At(40, 20), 0xFF102030u);
  EXPECT_EQ(d.At(25, 10), 0x00FFFFFFu);
  EXPECT_EQ(d.At(4, 10), 0x00FFFFFFu);
  EXPECT_EQ(d.At(40, 35), 0x00FFFFFFu);
  // Inside the region the pixels are those of an unclipped graphics.
  TDibFixture full(60, 40, 0x00FFFFFF);
  g = MakeGraphics(full);
  Api.GdipSetSmoothingMode(g, 4);
  FillRect(g, 0xFF102030, 0.5f, 0.5f, 59, 39);
  Api.GdipDeleteGraphics(g);
  EXPECT_EQ(d.At(5, 5), full.At(5, 5));
}

TEST(GdiPlusBridge, ReleaseKeepsEverythingThatWasDrawn) {
  // Each call bounded by its geometry (turned and scaled, wide mitred pens,
  // images) composes exactly what a release of the whole surface composes:
  // an arc in a transparent pen (a call without a cheap bound, drawing
  // nothing) makes the whole surface count as drawn for the reference.
  EnsureStarted();
  using TPaint = void (*)(GpGraphics*, GpPen*, GpBrush*);
  const std::pair<const char*, TPaint> calls[] = {
      {"mitred polyline",
       [](GpGraphics* G, GpPen* P, GpBrush*) {
         const GpPointF spike[3] = {{-40, 10}, {0, -5}, {40, 10}};
         Api.GdipDrawLines(G, P, spike, 3);
       }},
      {"line", [](GpGraphics* G, GpPen* P, GpBrush*) { Api.GdipDrawLineI(G, P, -30, 5, 30, 5); }},
      {"rectangle outline", [](GpGraphics* G, GpPen* P, GpBrush*) { Api.GdipDrawRectangle(G, P, -20, -10, 40, 20); }},
      {"path outline",
       [](GpGraphics* G, GpPen* P, GpBrush*) {
         GpPath* path = nullptr;
         Api.GdipCreatePath(0, &path);
         const GpPointF tri[3] = {{-30, 15}, {0, -20}, {30, 15}};
         Api.GdipAddPathPolygon(path, tri, 3);
         Api.GdipDrawPath(G, P, path);
         Api.GdipDeletePath(path);
       }},
      {"polygon fill",
       [](GpGraphics* G, GpPen*, GpBrush* B) {
         const GpPoint tri[3] = {{-50, -30}, {-30, -45}, {-20, -20}};
         Api.GdipFillPolygonI(G, B, tri, 3, 0);
       }},
      {"ellipse fill", [](GpGraphics* G, GpPen*, GpBrush* B) { Api.GdipFillEllipse(G, B, -25, -12.5f, 50, 25); }},
  };
  for (const auto& c : calls) {
    auto paint = [&](GpGraphics* G) {
      Api.GdipSetSmoothingMode(G, 4);
      Api.GdipTranslateWorldTransform(G, 60, 50, 0);
      Api.GdipRotateWorldTransform(G, 33, 0);
      Api.GdipScaleWorldTransform(G, 1.5f, 0.7f, 0);
      GpPen* pen = nullptr;
      Api.GdipCreatePen1(0xFFFF0000, 9, 2, &pen);
      Api.GdipSetPenMiterLimit(pen, 10);
      GpBrush* brush = nullptr;
      Api.GdipCreateSolidFill(0x8000FF00, &brush);
      c.second(G, pen, brush);
      Api.GdipDeleteBrush(brush);
      Api.GdipDeletePen(pen);
    };
    TDibFixture bounded(120, 100, 0x00FFFFFF), whole(120, 100, 0x00FFFFFF);
    GpGraphics* g = MakeGraphics(bounded);
    paint(g);
    Api.GdipDeleteGraphics(g);
    g = MakeGraphics(whole);
    GpPen* clear = nullptr;
    Api.GdipCreatePen1(0x00000000, 1, 2, &clear);
    Api.GdipDrawArc(g, clear, 0, 0, 10, 10, 0, 90);
    Api.GdipDeletePen(clear);
    paint(g);
    Api.GdipDeleteGraphics(g);
    int differ = 0, drawn = 0;
    for (int i = 0; i < 120 * 100; ++i) {
      differ += bounded.Bits[i] != whole.Bits[i];
      drawn += whole.Bits[i] != 0x00FFFFFFu;
    }
    EXPECT_EQ(differ, 0) << c.first;
    EXPECT_GT(drawn, 100) << c.first;
  }
}

// --- Allocation failures ----------------------------------------------------

namespace {

// The program's operator new fails while a TFailingAllocations lives.
std::atomic<bool> FailAllocations{false};

struct TFailingAllocations {
  TFailingAllocations() { FailAllocations = true; }
  ~TFailingAllocations() { FailAllocations = false; }
};

}  // namespace

void* operator new(std::size_t Size) {
  if (FailAllocations) throw std::bad_alloc();
  if (void* p = std::malloc(Size ? Size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }

// What the bridge records of a new surface or brush needs memory. Without it
// the creation answers OutOfMemory with nothing made, and nothing is left
// locked: the bridge goes on working.
TEST(GdiPlusBridge, CreationsWithoutMemoryAreRefusedCleanly) {
  EnsureStarted();
  TDibFixture dib(8, 8, 0xFF102030);
  const GpPointF tri[3] = {{0, 0}, {8, 0}, {0, 8}};
  struct Case {
    const char* What;
    std::function<GpStatus(void*&)> Create;
  } cases[] = {
      {"a graphics on a DC",
       [&](void*& Out) { return Api.GdipCreateFromHDC(dib.Dc, reinterpret_cast<GpGraphics**>(&Out)); }},
      {"a path gradient",
       [&](void*& Out) { return Api.GdipCreatePathGradient(tri, 3, 0, reinterpret_cast<GpBrush**>(&Out)); }},
      {"a linear gradient",
       [&](void*& Out) {
         return Api.GdipCreateLineBrush(&tri[0], &tri[1], 0xFF000000, 0xFFFFFFFF, 0, reinterpret_cast<GpBrush**>(&Out));
       }},
  };
  for (const Case& c : cases) {
    const int surfaces = BridgeSurfaceCount();
    void* made = reinterpret_cast<void*>(1);
    GpStatus st = Ok;
    {
      TFailingAllocations fail;
      try {
        st = c.Create(made);
      } catch (const std::bad_alloc&) {
        ADD_FAILURE() << c.What << ": the failure left the bridge as an exception";
        continue;  // a lock may be held: touch nothing more
      }
    }
    EXPECT_EQ(st, OutOfMemory) << c.What;
    EXPECT_EQ(made, nullptr) << c.What;
    EXPECT_EQ(BridgeSurfaceCount(), surfaces) << c.What;
  }
  // With memory again everything works.
  GpGraphics* g = MakeGraphics(dib);
  FillRect(g, 0xFF00FF00, 0, 0, 8, 8);
  EXPECT_EQ(Api.GdipDeleteGraphics(g), Ok);
  EXPECT_EQ(dib.At(3, 3), 0xFF00FF00u);
}
