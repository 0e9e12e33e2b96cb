// The bitmap object, its memory backend, change reports and pixel access;
// the notifying base classes and maps.
#include "common/gtest.h"

#include <string>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Resamplers.h"
#include "rtl/Classes.h"

namespace {

// Records every report of a bitmap in order, as text.
struct Recorder {
  std::vector<std::string> log;
  void Attach(TCustomBitmap32& B) {
    B.SetOnChange([this](TObject*) { log.push_back("change"); });
    B.SetOnResize([this](TObject* S) {
      auto* b = static_cast<TCustomBitmap32*>(S);
      log.push_back("resize " + std::to_string(b->Width()) + "x" + std::to_string(b->Height()));
    });
    B.SetOnAreaChanged([this](TObject*, const TRect& R, Cardinal Info) { log.push_back(Area(R, Info)); });
  }
  static std::string Area(const TRect& R, Cardinal Info) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "area %d,%d,%d,%d %08X", R.Left, R.Top, R.Right, R.Bottom, Info);
    return buf;
  }
  using L = std::vector<std::string>;
};

std::vector<TColor32> Pixels(const TCustomBitmap32& B) {
  if (!B.Bits()) return {};
  return std::vector<TColor32>(B.Bits(), B.Bits() + size_t(B.Width()) * B.Height());
}

void Fill(TCustomBitmap32& B, std::initializer_list<TColor32> px) {
  size_t i = 0;
  for (TColor32 c : px) B.Bits()[i++] = c;
}

// --- base classes

class TTestMap : public TCustomMap {};

TEST(CustomMap, SetSize) {
  TTestMap m;
  int changes = 0, resizes = 0;
  m.SetOnChange([&](TObject*) { ++changes; });
  m.SetOnResize([&](TObject*) { ++resizes; });
  EXPECT_TRUE(m.SetSize(-5, 10));
  EXPECT_EQ(m.Width(), 0);
  EXPECT_EQ(m.Height(), 10);
  EXPECT_TRUE(m.Empty());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(resizes, 1);
  EXPECT_FALSE(m.SetSize(0, 10));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(resizes, 1);
  m.SetWidth(4);
  EXPECT_EQ(m.Width(), 4);
  m.SetHeight(3);
  EXPECT_FALSE(m.Empty());
  m.Delete();
  EXPECT_TRUE(m.Empty());
  EXPECT_EQ(resizes, 4);
}

TEST(CustomMap, SetSizeFrom) {
  TTestMap m, other;
  other.SetSize(120, 80);
  EXPECT_TRUE(m.SetSizeFrom(&other));
  EXPECT_EQ(m.Width(), 120);
  EXPECT_EQ(m.Height(), 80);
  TStringList sl;
  try {
    m.SetSizeFrom(&sl);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Can't set size from 'TStringList'");
  }
  EXPECT_EQ(m.Width(), 120);
  // the class library's graphics and controls arrive through a hook
  SetSizeFromHook = [](TPersistent* S, Integer& W, Integer& H) {
    if (!dynamic_cast<TStringList*>(S)) return false;
    W = 7;
    H = 9;
    return true;
  };
  EXPECT_TRUE(m.SetSizeFrom(&sl));
  EXPECT_EQ(m.Width(), 7);
  SetSizeFromHook = nullptr;
  EXPECT_TRUE(m.SetSizeFrom(nullptr));
  EXPECT_TRUE(m.Empty());
  EXPECT_EQ(m.Height(), 0);
}

TEST(NotifiablePersistent, UpdateBatching) {
  TTestMap m;
  int changes = 0;
  m.SetOnChange([&](TObject* S) {
    EXPECT_EQ(S, &m);
    ++changes;
  });
  m.BeginUpdate();
  m.BeginUpdate();
  m.Changed();
  m.EndUpdate();
  m.Changed();
  m.EndUpdate();
  EXPECT_EQ(changes, 0);  // nothing deferred
  m.Changed();
  EXPECT_EQ(changes, 1);
  try {
    m.EndUpdate();
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_NE(e.Message().find(u"Unpaired TThreadPersistent.EndUpdate"), String::npos);
  }
  m.Lock();
  m.Lock();  // reentrant
  EXPECT_EQ(m.LockCount(), 2);
  m.Unlock();
  m.Unlock();
  EXPECT_EQ(m.LockCount(), 0);
}

TEST(PlainInterfacedPersistent, ReferenceCounting) {
  TTestMap plain;
  EXPECT_EQ(plain._AddRef(), -1);
  EXPECT_EQ(plain._Release(), -1);
  auto* b = new TMemoryBackend(nullptr);
  EXPECT_TRUE(b->RefCounted());
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_EQ(b->_AddRef(), 2);
  EXPECT_THROW(FreeObject(b), Exception);  // count not 0: not freed
  EXPECT_EQ(b->_Release(), 1);
  EXPECT_EQ(b->_Release(), 0);  // freed here (LeakSanitizer checks)
}

// --- the bitmap

TEST(Bitmap32, NewBitmap) {
  TCustomBitmap32 b;
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.DrawMode(), dmOpaque);
  EXPECT_EQ(b.CombineMode(), cmBlend);
  EXPECT_EQ(b.WrapMode(), wmClamp);
  EXPECT_EQ(b.MasterAlpha(), 255u);
  EXPECT_EQ(b.OuterColor(), 0u);
  EXPECT_EQ(b.PenColor(), 0xFFFFFFFFu);
  EXPECT_EQ(b.StippleStep(), 1.0f);
  EXPECT_EQ(b.Bits(), nullptr);
  EXPECT_EQ(b.ResamplerClassName(), u"TNearestResampler");
  EXPECT_EQ(b.ClassName(), u"TCustomBitmap32");
  EXPECT_EQ(b.Backend()->ClassName(), u"TMemoryBackend");
  EXPECT_EQ(b.Backend()->RefCount(), 1);
}

TEST(Bitmap32, SizeReports) {
  struct Case { Integer w, h; Recorder::L log; bool empty; bool bits; } cases[] = {
      {3, 2, {"area 0,0,3,2 80000000", "change", "resize 3x2"}, false, true},
      {-5, 10, {"area 0,0,0,10 80000000", "change", "resize 0x10"}, true, false},
      {10, 0, {"area 0,0,10,0 80000000", "change", "resize 10x0"}, true, false},
      {0, 0, {}, true, false}};
  for (auto& c : cases) {
    Recorder r;
    TCustomBitmap32 b;
    r.Attach(b);
    b.SetSize(c.w, c.h);
    EXPECT_EQ(r.log, c.log) << c.w << "x" << c.h;
    EXPECT_EQ(b.Empty(), c.empty);
    EXPECT_EQ(b.Bits() != nullptr, c.bits);
    EXPECT_EQ(b.ClipRect(), b.BoundsRect());
    EXPECT_FALSE(b.Clipping());
  }
  TCustomBitmap32 b;
  b.SetSize(3, 2);
  EXPECT_EQ(Pixels(b), std::vector<TColor32>(6, 0xFF000000u));
  b.Clear(0xFF123456u);
  b.SetSize(2, 3);  // pixels are not kept
  EXPECT_EQ(Pixels(b), std::vector<TColor32>(6, 0xFF000000u));
  EXPECT_EQ(b.Width(), 2);
}

TEST(Bitmap32, OutOfMemoryLeavesEmptyBitmap) {
  Recorder r;
  TCustomBitmap32 b;
  b.SetSize(4, 4);
  r.Attach(b);
  EXPECT_THROW(b.SetSize(0x7FFFFFFF, 0x7FFFFFFF), EOutOfMemory);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_EQ(b.Bits(), nullptr);
  EXPECT_TRUE(b.Empty());
  b.SetSize(2, 2);  // usable afterwards
  EXPECT_EQ(b.GetPixel(1, 1), 0xFF000000u);
}

TEST(Bitmap32, ClipRect) {
  Recorder r;
  TCustomBitmap32 b;
  b.SetSize(3, 2);
  r.Attach(b);
  struct Case { TRect in, out; bool clipping; } cases[] = {
      {{-5, -5, 2, 2}, {0, 0, 2, 2}, true}, {{5, 5, 8, 8}, {0, 0, 0, 0}, true},
      {{0, 0, 3, 2}, {0, 0, 3, 2}, false},  {{-1, -1, 9, 9}, {0, 0, 3, 2}, false},
      {{1, 0, 3, 1}, {1, 0, 3, 1}, true}};
  for (auto& c : cases) {
    b.SetClipRect(c.in);
    EXPECT_EQ(b.ClipRect(), c.out);
    EXPECT_EQ(b.Clipping(), c.clipping);
  }
  EXPECT_TRUE(r.log.empty());  // the clip setter reports nothing
  b.SetSize(5, 5);             // a resize resets the clip rectangle
  EXPECT_EQ(b.ClipRect(), TRect(0, 0, 5, 5));
}

TEST(Bitmap32, ClearReports) {
  {
    Recorder r;
    TCustomBitmap32 b;
    r.Attach(b);
    b.Clear();
    EXPECT_TRUE(r.log.empty());  // empty bitmap: no handler at all
  }
  Recorder r, m;
  TCustomBitmap32 b;
  b.SetSize(3, 2);
  r.Attach(b);
  b.SetClipRect(TRect(0, 0, 2, 2));
  b.Clear(0xFFFF0000u);
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{0xFFFF0000u, 0xFFFF0000u, 0xFF000000u, 0xFFFF0000u, 0xFFFF0000u,
                                              0xFF000000u}));
  EXPECT_EQ(r.log, (Recorder::L{"area 0,0,2,2 80000000", "change", "area 0,0,3,2 80000000", "change"}));
  r.log.clear();
  b.BeginUpdate();
  b.Clear(0xFF00FF00u);
  b.EndUpdate();
  EXPECT_TRUE(r.log.empty());
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF00FF00u);
  // measuring: areas reported even inside an update, no pixel, no OnChange
  b.BeginUpdate();
  b.BeginMeasuring([&](TObject*, const TRect& R, Cardinal I) { m.log.push_back(Recorder::Area(R, I)); });
  b.Clear(0xFF0000FFu);
  b.EndMeasuring();
  b.EndUpdate();
  EXPECT_EQ(m.log, (Recorder::L{"area 0,0,3,2 80000000"}));
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF00FF00u);
  EXPECT_TRUE(r.log.empty());
  b.ResetClipRect();
  b.Clear(0xFF0000FFu);
  EXPECT_EQ(r.log, (Recorder::L{"area 0,0,3,2 80000000", "change"}));  // the saved handler is back
  EXPECT_EQ(Pixels(b), std::vector<TColor32>(6, 0xFF0000FFu));
}

TEST(Bitmap32, SettingsReportChanges) {
  Recorder r;
  TCustomBitmap32 b;
  b.SetSize(2, 2);
  r.Attach(b);
  b.SetDrawMode(dmBlend);
  b.SetDrawMode(dmBlend);
  b.SetMasterAlpha(10);
  b.SetCombineMode(cmMerge);
  b.SetWrapMode(wmRepeat);
  b.SetOuterColor(5);
  EXPECT_EQ(r.log.size(), 8u);  // four changes, each an area and an OnChange
  EXPECT_EQ(b.BlendProc(), MergeInto);
  EXPECT_EQ(b.WrapProcHorz, WrapRangePow2);  // range 0..1
  b.SetSize(3, 3);
  EXPECT_EQ(b.WrapProcHorz, WrapRange);
}

TEST(Bitmap32, ResamplerByClassName) {
  int changes = 0;
  TCustomBitmap32 b;
  TCustomResampler* first = b.Resampler();
  b.SetOnChange([&](TObject*) { ++changes; });
  b.SetResamplerClassName(u"TNoSuchResampler");
  EXPECT_EQ(b.Resampler(), first);
  b.SetResamplerClassName(u"TNearestResampler");  // current name: not recreated
  EXPECT_EQ(b.Resampler(), first);
  EXPECT_EQ(changes, 0);
  b.SetResamplerClassName(u"TLinearResampler");
  EXPECT_EQ(b.ResamplerClassName(), u"TLinearResampler");
  EXPECT_EQ(b.Resampler()->Bitmap(), &b);
  EXPECT_GE(changes, 1);
  new TDraftResampler(&b);  // installs itself, the bitmap frees the previous one
  EXPECT_EQ(b.ResamplerClassName(), u"TDraftResampler");
  b.SetResampler(nullptr);
  EXPECT_EQ(b.ResamplerClassName(), u"TDraftResampler");
}

TEST(Bitmap32, PlainPixelAccess) {
  TCustomBitmap32 b;
  b.SetSize(3, 2);
  Fill(b, {1, 2, 3, 4, 5, 6});
  b.SetOuterColor(0xAB);
  EXPECT_EQ(b.GetPixel(2, 1), 6u);
  EXPECT_EQ(*b.GetPixelPtr(1, 1), 5u);
  EXPECT_EQ(b.GetScanLine(1)[0], 4u);
  b.SetClipRect(TRect(1, 0, 3, 2));
  EXPECT_EQ(b.GetPixelS(0, 0), 0xABu);
  EXPECT_EQ(b.GetPixelS(1, 0), 2u);
  EXPECT_EQ(b.GetPixelS(3, 0), 0xABu);
  EXPECT_EQ(b.GetPixelS(1, -1), 0xABu);
  b.SetPixelS(0, 0, 99);
  b.SetPixelS(2, 2, 99);
  b.SetPixelS(2, 1, 99);
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 99}));
  // wrapped reads inside the clip rectangle 1..2 x 0..1
  EXPECT_EQ(b.GetPixelW(0, 0), 2u);  // clamp
  EXPECT_EQ(b.GetPixelW(7, 5), 99u);
  b.SetWrapMode(wmRepeat);
  EXPECT_EQ(b.GetPixelW(0, 0), 3u);
  EXPECT_EQ(b.GetPixelW(3, 2), 2u);
  b.SetWrapMode(wmMirror);
  EXPECT_EQ(b.GetPixelW(0, 0), 2u);
  EXPECT_EQ(b.GetPixelW(-1, 0), 3u);
  b.SetClipRect(TRect(5, 5, 6, 6));  // empty clip: nothing to wrap into
  EXPECT_EQ(b.GetPixelW(0, 0), 0xABu);
  TCustomBitmap32 e;
  EXPECT_EQ(e.GetPixelW(3, 3), 0u);
  EXPECT_EQ(e.GetPixelS(0, 0), 0u);
}

TEST(Bitmap32, BlendedPixelWrites) {
  TCustomBitmap32 b;
  b.SetSize(2, 1);
  Fill(b, {0xFF102030u, 0xFF102030u});
  b.SetPixelT(0, 0, 0x00FFFFFFu);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF102030u);  // alpha 0: unchanged
  b.SetPixelT(0, 0, 0xFFFFFFFFu);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFFFFFFFFu);  // alpha 255: copied
  PColor32 p = b.GetPixelPtr(0, 0);
  b.SetPixelT(p, 0x80000000u);
  EXPECT_EQ(p, b.GetPixelPtr(1, 0));
  EXPECT_EQ(b.GetPixel(0, 0), BlendOver(0x80000000u, 0xFFFFFFFFu));
  b.SetCombineMode(cmMerge);
  b.SetPixelTS(1, 0, 0x80FF0000u);
  b.SetPixelTS(2, 0, 0x80FF0000u);
  EXPECT_EQ(b.GetPixel(1, 0), MergeOver(0x80FF0000u, 0xFF102030u));
}

TEST(Bitmap32, SetPixel256Weights) {
  TCustomBitmap32 b;
  b.SetSize(3, 3);
  b.Clear(0xFF000000u);
  b.SetPixel256(1 << 8, 1 << 8, 0xFFFFFFFFu);  // exact position
  std::vector<TColor32> px = Pixels(b);
  EXPECT_EQ(px[4], CombineColors(0xFFFFFFFFu, 0xFF000000u, 253));
  EXPECT_EQ(px[5], 0xFF000000u);  // weight 0 to the neighbours
  EXPECT_EQ(px[7], 0xFF000000u);
  EXPECT_EQ(px[8], 0xFF000000u);
  // half way between four pixels: each gets A * g * g >> 16
  b.Clear(0xFF000000u);
  b.SetPixel256(128, 128, 0xFFFFFFFFu);
  Cardinal g1 = GammaCurve[127], g2 = GammaCurve[128];
  px = Pixels(b);
  EXPECT_EQ(px[0], CombineColors(0xFFFFFFFFu, 0xFF000000u, (255 * g1 * g1) >> 16));
  EXPECT_EQ(px[1], CombineColors(0xFFFFFFFFu, 0xFF000000u, (255 * g2 * g1) >> 16));
  EXPECT_EQ(px[4], CombineColors(0xFFFFFFFFu, 0xFF000000u, (255 * g2 * g2) >> 16));
  // merge mode: weights without the alpha, shifted by 8
  b.SetCombineMode(cmMerge);
  b.Clear(0x00000000u);
  b.SetPixel256(0, 0, 0x80FF0000u);
  EXPECT_EQ(b.GetPixel(0, 0), CombineColors(MergeOver(0x80FF0000u, 0), 0, (255 * 255) >> 8));
  // clipped form: positions outside do nothing, partial squares only touch inside pixels
  b.SetCombineMode(cmBlend);
  b.Clear(0xFF000000u);
  b.SetClipRect(TRect(1, 1, 3, 3));
  b.SetPixel256S(128, 128, 0xFFFFFFFFu);  // only (1, 1) lies inside
  px = Pixels(b);
  EXPECT_EQ(px[0], 0xFF000000u);
  EXPECT_EQ(px[1], 0xFF000000u);
  EXPECT_NE(px[4], 0xFF000000u);
  b.Clear(0xFF000000u);
  b.SetPixel256S(-1000, 0, 0xFFFFFFFFu);
  b.SetPixel256S(3 << 8, 1 << 8, 0xFFFFFFFFu);
  b.SetPixel256S((2 << 8) + 128, (2 << 8) + 128, 0xFFFFFFFFu);  // only (2, 2)
  px = Pixels(b);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(px[i], 0xFF000000u) << i;
  EXPECT_NE(px[8], 0xFF000000u);
}

TEST(Bitmap32, SubPixelReads) {
  TCustomBitmap32 b;
  b.SetSize(3, 2);
  Fill(b, {0xFF000000u, 0xFF0000FFu, 0xFFFF0000u, 0xFF00FF00u, 0xFFFFFFFFu, 0xFF808080u});
  b.SetOuterColor(0x11223344u);
  // exact positions read the pixel (weights GammaCurve[255] = 255 of 256)
  for (Integer y = 0; y < 1; ++y)
    for (Integer x = 0; x < 2; ++x) {
      TColor32 c = b.GetPixel256(x << 8, y << 8);
      TColor32 p = b.GetPixel(x, y);
      for (int s = 0; s < 32; s += 8) EXPECT_NEAR(int((c >> s) & 255), int((p >> s) & 255), 1);
    }
  EXPECT_EQ(b.GetPixel256S(-1, 0), 0x11223344u);
  EXPECT_EQ(b.GetPixel256S(0, -1), 0x11223344u);
  EXPECT_EQ(b.GetPixel256S(2 << 8, 0), 0xFFFF0000u);        // last column, exact
  EXPECT_EQ(b.GetPixel256S((2 << 8) + 1, 0), 0xFFFF0000u);  // past it but before the edge
  EXPECT_EQ(b.GetPixel256S((2 << 8) + 255, 128), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixel256S(3 << 8, 0), 0x11223344u);        // the edge itself
  EXPECT_EQ(b.GetPixel256S(128, (1 << 8) + 200), 0xFF00FF00u);  // last row, column 0
  EXPECT_EQ(b.GetPixel256S(128, 2 << 8), 0x11223344u);
  EXPECT_EQ(b.GetPixel256S((2 << 8) + 7, (1 << 8) + 7), 0xFF808080u);
  EXPECT_EQ(b.GetPixel256S(128, 128), b.GetPixel256(128, 128));
  EXPECT_EQ(b.GetPixelFixed(0x10000, 0), b.GetPixel256(0x100, 0));
  EXPECT_EQ(b.GetPixelFixedS(0x10000 - 128, 0), b.GetPixel256(0xFF, 0));
  EXPECT_EQ(b.GetPixelFixedS(0x10000 - 127, 0), b.GetPixel256(0x100, 0));
  EXPECT_EQ(b.GetPixelFixedS(-0x10000, 0), 0x11223344u);
  // wrapped bilinear read
  EXPECT_EQ(b.GetPixelFixedW(0, 0), 0xFF000000u);
  EXPECT_EQ(b.GetPixelFixedW(0x8000, 0), CombineColors(CombineColors(0xFFFFFFFFu, 0xFF00FF00u, 128),
                                                       CombineColors(0xFF0000FFu, 0xFF000000u, 128), 0));
  b.SetWrapMode(wmRepeat);
  EXPECT_EQ(b.GetPixelFixedW(3 << 16, 2 << 16), 0xFF000000u);
  EXPECT_EQ(b.GetPixelFixedW(-(1 << 16), 0), 0xFFFF0000u);
}

TEST(Bitmap32, DestroyFiresOnResizeOnly) {
  std::vector<std::string> log;
  {
    auto* b = new TCustomBitmap32;
    b->SetSize(2, 2);
    b->SetOnChange([&](TObject*) { log.push_back("change"); });
    b->SetOnAreaChanged([&](TObject*, const TRect&, Cardinal) { log.push_back("area"); });
    b->SetOnResize([&](TObject*) { log.push_back("resize"); });
    delete b;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"resize"}));
}

TEST(Bitmap32, BackendSwitchKeepsPixels) {
  Recorder r;
  TCustomBitmap32 b;
  b.SetSize(3, 2);
  Fill(b, {1, 2, 3, 4, 5, 6});
  r.Attach(b);
  TCustomBackend* old = b.ReleaseBackend();  // keep it alive
  EXPECT_EQ(old->RefCount(), 2);
  auto* nb = new TMemoryBackend(&b);
  EXPECT_EQ(b.Backend(), nb);
  EXPECT_EQ(old->RefCount(), 1);
  EXPECT_EQ(old->Owner(), nullptr);
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Bits(), nb->Bits());
  EXPECT_EQ(r.log, (Recorder::L{"area 0,0,3,2 80000000", "change"}));
  b.SetBackend(old);  // back: pixels travel again
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(b.Backend(), old);
  EXPECT_EQ(old->RefCount(), 1);
  // EnsureBackendSupport with an interface the memory backend lacks
  static const int kTag = 0;
  TCustomBackend* released = nullptr;
  EnsureBackendSupport(&b, {&kTag}, rqAll, false, released);
  ASSERT_EQ(released, old);
  EXPECT_NE(b.Backend(), old);
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 6}));
  ReinstateBackend(&b, released);
  EXPECT_EQ(b.Backend(), old);
  EXPECT_EQ(old->RefCount(), 1);
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 6}));
  TStringList sl;
  EXPECT_THROW(old->Assign(&sl), EConvertError);
}

TEST(Bitmap32, AssignCopiesPixelsAndSettings) {
  int changes = 0;
  TCustomBitmap32 a, b;
  a.SetSize(2, 1);
  Fill(a, {7, 8});
  a.SetDrawMode(dmBlend);
  a.SetCombineMode(cmMerge);
  a.SetWrapMode(wmMirror);
  a.SetMasterAlpha(99);
  a.SetOuterColor(0x55);
  a.SetResamplerClassName(u"TLinearResampler");
  a.Resampler()->SetPixelAccessMode(pamWrap);
  b.SetOnChange([&](TObject*) { ++changes; });
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Pixels(b), (std::vector<TColor32>{7, 8}));
  EXPECT_EQ(b.DrawMode(), dmBlend);
  EXPECT_EQ(b.CombineMode(), cmMerge);
  EXPECT_EQ(b.WrapMode(), wmMirror);
  EXPECT_EQ(b.MasterAlpha(), 99u);
  EXPECT_EQ(b.OuterColor(), 0x55u);
  EXPECT_EQ(b.ResamplerClassName(), u"TLinearResampler");
  EXPECT_EQ(b.Resampler()->PixelAccessMode(), pamWrap);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  TStringList sl;
  EXPECT_THROW(b.Assign(&sl), EConvertError);
  EXPECT_EQ(b.UpdateCount(), 0);
}

TEST(Samplers, BaseDefaultsAndBounds) {
  TCustomBitmap32 b;
  b.SetSize(4, 3);
  b.SetClipRect(TRect(1, 1, 3, 3));
  TCustomResampler* r = b.Resampler();
  EXPECT_EQ(r->PixelAccessMode(), pamSafe);
  EXPECT_TRUE(r->HasBounds());
  EXPECT_EQ(r->GetSampleBounds(), (TFloatRect{1, 1, 3, 3}));
  r->SetPixelAccessMode(pamTransparentEdge);
  EXPECT_EQ(r->GetSampleBounds(), (TFloatRect{0, 0, 4, 4}));
  r->SetPixelAccessMode(pamWrap);
  EXPECT_FALSE(r->HasBounds());
  r->PrepareSampling();
  EXPECT_EQ(r->ClipRect(), TRect(1, 1, 3, 3));
  // assigning a resampler to something else is the conversion error
  TStringList sl;
  EXPECT_THROW(sl.Assign(r), EConvertError);
}

}  // namespace
