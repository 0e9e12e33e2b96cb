#include "common/gtest.h"

#include <string>

#include "rtl/SysUtils.h"
#include "tests/gdiplus/win/gdiplus_fixture.h"

TEST(GdiPlusRecords, ConstructorsAndConversions) {
  EXPECT_EQ(MakeGPColor(255, 1, 2, 3).FArgb, 0xFF010203u);
  EXPECT_EQ(GPColorFromRGB(0x10, 0x20, 0x30).FArgb, 0xFF102030u);
  EXPECT_EQ(GPColorToArgb(GPColorFromArgb(0x12345678)), 0x12345678u);
  const TGPRect r = GPRectFromRect(TRect{10, 20, 30, 50});
  EXPECT_EQ(r.X, 10);
  EXPECT_EQ(r.Y, 20);
  EXPECT_EQ(r.Width, 20);
  EXPECT_EQ(r.Height, 30);
  EXPECT_EQ(GPRectRight(r), 30);
  EXPECT_EQ(GPRectBottom(r), 50);
  TGPPointF p{};
  EXPECT_EQ(&MakeGPPointF(p, 1.5f, 2.5f), &p);
  EXPECT_FLOAT_EQ(p.Y, 2.5f);
}

TEST(GdiPlusRefCount, CopiesKeepTheObjectAndTheLastReleaseFreesIt) {
  EnsureGdiPlus();
  IGPPen a(new TGPPen(0xFF000000, 2));
  TGPPen* raw = a.get();
  EXPECT_EQ(raw->RefCount(), 1);
  {
    IGPPen b = a;
    EXPECT_EQ(raw->RefCount(), 2);
    IGdiplusBase base = b;  // a reference to a base interface counts too
    EXPECT_EQ(raw->RefCount(), 3);
  }
  EXPECT_EQ(raw->RefCount(), 1);
  EXPECT_FLOAT_EQ(a->GetWidth(), 2.0f);
}

TEST(GdiPlusRefCount, RefusedCreationLeavesAWorkingNilWrapper) {
  EnsureGdiPlus();
  IGPBitmap bmp(new TGPBitmap(0, 0, gdipflat::PixelFormat32bppARGB));
  EXPECT_EQ(bmp->GetNativeHandle(), nullptr);
  EXPECT_EQ(bmp->GetWidth(), 0u);
  EXPECT_EQ(bmp->GetHeight(), 0u);
  IGPBrush nilBrush(new TGPBrush());
  EXPECT_EQ(nilBrush->GetBrushType(), -1);
  IGPGraphics g = TGPGraphics::FromHDC(nullptr);
  EXPECT_EQ(g->GetNativeHandle(), nullptr);
  g->FillRectangle(IGPBrush(new TGPSolidBrush(0xFFFF0000)), 0, 0, 5, 5);  // refused, harmless
}

// A refused call raises nothing; its status is the thread's last status and,
// while tracing is on, it is recorded with the function's name.
TEST(GdiPlusStatuses, RefusedCallsAreKeptAndTraced) {
  EnsureGdiPlus();
  gdipflat::ClearTracedFailures();
  gdipflat::TraceStatuses(true);
  IGPGraphics g = TGPGraphics::FromHDC(nullptr);
  g->SetSmoothingMode(SmoothingModeAntiAlias);
  EXPECT_EQ(gdipflat::LastStatus(), gdipflat::InvalidParameter);
  IGPPen pen(new TGPPen(0xFF000000, 2));
  EXPECT_FLOAT_EQ(pen->GetWidth(), 2.0f);
  EXPECT_EQ(gdipflat::LastStatus(), gdipflat::Ok);
  gdipflat::TraceStatuses(false);
  g->SetSmoothingMode(SmoothingModeAntiAlias);  // refused again, no longer traced
  const std::vector<std::string> traced = gdipflat::TracedFailures();
  gdipflat::ClearTracedFailures();
  ASSERT_FALSE(traced.empty());
  EXPECT_EQ(traced.back(), "GdipSetSmoothingMode: " + std::to_string(gdipflat::InvalidParameter));
  for (const std::string& T : traced) EXPECT_EQ(T.find("Gdip"), 0u) << T;
}

TEST(GdiPlusArray, CountEnumeratorAndItemPointer) {
  IGPArray<Single> a(new TGPArray<Single>(3));
  a->SetItem(0, 1.5f);
  Single* before = a->GetItemPtr();
  a->SetCount(3);
  EXPECT_EQ(a->GetItemPtr(), before);
  EXPECT_FLOAT_EQ(a->GetItem(0), 1.5f);
  a->SetCount(5);
  EXPECT_EQ(a->GetCount(), 5);
  EXPECT_FLOAT_EQ(a->GetItem(0), 1.5f);
  EXPECT_FLOAT_EQ(a->GetItem(4), 0.0f);
  for (int i = 0; i < 5; ++i) a->SetItem(i, Single(i * 10));
  auto e = a->GetEnumerator();
  std::vector<Single> seen;
  while (e.MoveNext()) seen.push_back(e.GetCurrent());
  EXPECT_EQ(seen, (std::vector<Single>{0, 10, 20, 30, 40}));
  EXPECT_FALSE(e.MoveNext());
  IGPArray<Byte> empty(new TGPArray<Byte>(0));
  auto e2 = empty->GetEnumerator();
  EXPECT_FALSE(e2.MoveNext());
}

namespace {

template <class F>
void ExpectAssertion(F&& Fn, const char* What) {
  try {
    Fn();
    ADD_FAILURE() << What << ": no assertion";
  } catch (const EAssertionFailed& e) {
    const String msg = e.Message();
    EXPECT_EQ(msg.rfind(u"Assertion failure (GdiPlus, line ", 0), 0u) << What;
  }
}

}  // namespace

TEST(GdiPlusAssertions, MisuseRaisesBeforeGdiPlusIsCalled) {
  TTestSurface s(8, 8);
  IGPGraphics g = TGPGraphics::FromHDC(s.Dc);
  IGPPen pen(new TGPPen(0xFF000000, 1));
  IGPBrush brush(new TGPSolidBrush(0xFF000000));
  const std::vector<TGPPoint> none;
  const std::vector<TGPPoint> two{{0, 0}, {5, 5}};
  ExpectAssertion([&] { g->DrawLines(pen, none); }, "empty DrawLines");
  ExpectAssertion([&] { g->DrawLines(pen, two, 3); }, "Count past the array");
  ExpectAssertion([&] { g->DrawPolygon(pen, two, 0); }, "Count 0");
  ExpectAssertion([&] { g->FillPolygon(brush, none); }, "empty FillPolygon");
  ExpectAssertion([&] { g->DrawLine(nullptr, 0, 0, 1, 1); }, "nil pen");
  ExpectAssertion([&] { g->FillRectangle(nullptr, 0, 0, 1, 1); }, "nil brush");
  ExpectAssertion([&] { TGPColorBlend b({0xFF000000, 0xFFFFFFFF, 0xFF00FF00}, {0.0f, 1.0f}); }, "colour blend lengths");
  ExpectAssertion([&] { TGPBlend b({}, {}); }, "empty blend");
  ExpectAssertion([&] { pen->SetDashPattern(std::vector<Single>{}); }, "empty dash pattern");
  ExpectAssertion([&] { pen->SetDashPattern(IGPArray<Single>()); }, "nil dash array");
  ExpectAssertion([&] { TGPGraphics x{IGPImage()}; }, "graphics on nil image");
  ExpectAssertion([&] { IGPPathGradientBrush(new TGPPathGradientBrush(std::vector<TGPPoint>{})); }, "empty gradient points");
  ExpectAssertion([&] { TGPGraphicsPath p(std::vector<TGPPoint>{{0, 0}}, std::vector<Byte>{}); }, "path lengths");
  IGPLinearGradientBrush lin(new TGPLinearGradientBrush(TGPPoint{0, 0}, TGPPoint{1, 0}, 0xFF000000, 0xFFFFFFFF));
  ExpectAssertion([&] { lin->SetInterpolationColors(nullptr); }, "nil colour blend");
  g = nullptr;
  // Nothing was drawn by the refused calls.
  EXPECT_EQ(s.CountWhere([](uint32_t c) { return c != 0x00FFFFFFu; }), 0);
}

// Start-up and shut-down: the cached shared objects are released at
// shut-down, and GDI+ can be started again afterwards. Runs last.
TEST(GdiPlusZLifecycle, ShutdownReleasesSharedObjectsAndRestartWorks) {
  EnsureGdiPlus();
  IGPFontFamily sans = TGPFontFamily::GenericSansSerif();
  EXPECT_EQ(sans, TGPFontFamily::GenericSansSerif());  // one shared object
  TGPFontFamily* raw = sans.get();
  EXPECT_EQ(raw->RefCount(), 2);  // the cache and ours
  IGPImageFormat png = TGPImageFormat::PngFormat();
  TGPImageFormat* rawPng = png.get();
  EXPECT_EQ(rawPng->RefCount(), 2);
  sans = nullptr;
  png = nullptr;
  EXPECT_EQ(raw->RefCount(), 1);
  GdiPlusShutdown();
  EXPECT_FALSE(GdiPlusStarted());
  GdiPlusStartup();
  ASSERT_TRUE(GdiPlusStarted());
  IGPFontFamily again = TGPFontFamily::GenericSansSerif();
  EXPECT_TRUE(again->IsAvailable());
  EXPECT_FALSE(again->GetFamilyName().empty());
  TTestSurface s(4, 4);
  s.Draw([](const IGPGraphics& g) { g->FillRectangle(IGPBrush(new TGPSolidBrush(0xFF00FF00)), 0, 0, 4, 4); });
  EXPECT_EQ(s.At(2, 2), 0xFF00FF00u);
}
