// The packs the build lays out in Media\ beside the test programs, read by
// the real loaders: row counts, the cells the program reads and every slot
// it needs filled.
#include "common/gtest.h"


#include <cstdlib>
#include <memory>
#include <set>

#include "document/FrameGeometry.h"
#include "foundation/app/HyAppUtils.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileUtils.h"
#include "tests/document/packs/win/pack_test_util.h"

using namespace packtest;

namespace {

class ShippedPacks : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGdiPlusStarted();
    FOldExePath = ExePath;
    ExePath = ProgramFolder();
    FOldLog = SetStylePackLogHandler([this](const String& L) { Log.push_back(L); });
  }
  void TearDown() override {
    EXPECT_TRUE(Log.empty()) << (Log.empty() ? "" : UTF8Encode(Log[0]));
    SetStylePackLogHandler(FOldLog);
    ExePath = FOldExePath;
    for (auto& [t, k] : Tables) FreeStylePackTable(t, k);
  }
  TDataTable* Keep(TDataTable* T, TStylePackKind K) {
    Tables.push_back({T, K});
    return T;
  }
  static TCustomBitmap32* Bmp(void* P) { return static_cast<TCustomBitmap32*>(P); }
  static Integer Cell(TRow* R, Integer I) { return R->Items(I)->Value(); }

  std::vector<String> Log;
  std::vector<std::pair<TDataTable*, TStylePackKind>> Tables;

 private:
  String FOldExePath;
  TStylePackLogHandler FOldLog;
};

TEST_F(ShippedPacks, Effects) {
  TDataTable* t = Keep(new TDataTable(), TStylePackKind::Effects);
  LoadEffectsPack(t);
  ASSERT_EQ(t->ItemCount(), 31);
  EXPECT_EQ(t->Props(2)->Text(), u" Basic.Stylize. Color.Scene");
  EXPECT_TRUE(t->Props(9)->AsBool());
  std::set<Integer> kinds, groups;
  for (Integer i = 0; i < t->ItemCount(); ++i) {
    TRow* r = t->Items(i);
    SCOPED_TRACE(i);
    ASSERT_EQ(r->ItemCount(), 17);
    EXPECT_EQ(r->Items(0)->Text(), u"0");
    groups.insert(Cell(r, 1));
    EXPECT_TRUE(kinds.insert(Cell(r, 5)).second) << "kind " << Cell(r, 5) << " twice";
    EXPECT_FALSE(r->Items(4)->Text().empty());
    const Integer k = Cell(r, 5);
    if (k >= 27 && k <= 32) {
      EXPECT_EQ(Cell(r, 1), 3);
      ASSERT_NE(r->Data2(), nullptr);
      EXPECT_GE(std::max(Bmp(r->Data2())->Width(), Bmp(r->Data2())->Height()), 1024);
      ASSERT_NE(r->Data3(), nullptr);
      EXPECT_EQ(Bmp(r->Data3())->Width(), 78);
      // The same texture ships beside the pack for the catalogue without it.
      bool alpha = false;
      Integer depth = 0;
      std::unique_ptr<TBitmap32> file(LoadImageToBitmap32(ExePath + u"Media\\" + r->Items(14)->Text(), alpha, depth));
      EXPECT_EQ(file->Width(), Bmp(r->Data2())->Width());
      EXPECT_EQ(file->Height(), Bmp(r->Data2())->Height());
    } else {
      EXPECT_TRUE(r->Items(14)->Text().empty());
      EXPECT_EQ(r->Data2(), nullptr);
    }
  }
  EXPECT_EQ(groups, (std::set<Integer>{0, 1, 2, 3}));
  for (Integer k : {5, 6, 26, 27, 28, 29, 30, 31, 32, 1, 24}) EXPECT_TRUE(kinds.count(k)) << k;
  // The names in the language of the code page; the English cell always.
  EXPECT_EQ(t->Items(0)->Items(4)->Text(), u"Increase light");
  if (GetACP() == 936) {
    EXPECT_EQ(t->Items(0)->Items(2)->Text(), u"补光");
    EXPECT_EQ(t->Props(0)->Text(), u"基本.风格.色彩.场景");
  }
  if (const char* e = std::getenv("LUMIGRA_EXPECT_CODEPAGE")) {
    EXPECT_EQ(GetACP(), std::string(e) == "zh" ? 936u : 1252u);
  }
}

TEST_F(ShippedPacks, Patterns) {
  TDataTable* t = Keep(new TDataTable(), TStylePackKind::Pattern);
  LoadPatternPack(t);
  ASSERT_GE(t->ItemCount(), 6);
  for (Integer i = 0; i < t->ItemCount(); ++i) {
    TCustomBitmap32* b = Bmp(t->Items(i)->Data());
    ASSERT_NE(b, nullptr) << i;
    EXPECT_EQ(b->Width(), b->Height());
    EXPECT_GE(b->Width(), 64);
    EXPECT_LE(b->Width(), 128);
  }
}

TEST_F(ShippedPacks, Brushes) {
  TDataTable* t = Keep(new TDataTable(), TStylePackKind::Brush);
  LoadBrushPack(t);
  ASSERT_GE(t->ItemCount(), 2);
  for (Integer i = 0; i < t->ItemCount(); ++i) {
    TRow* r = t->Items(i);
    SCOPED_TRACE(i);
    TCustomBitmap32* tip = Bmp(r->Data());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->Width(), tip->Height());
    EXPECT_GE(tip->Width(), 256);
    EXPECT_EQ(tip->GetPixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);  // white where the brush does not paint
    ASSERT_NE(r->Data2(), nullptr);
    EXPECT_LE(Bmp(r->Data2())->Width(), 32);
    EXPECT_EQ(Bmp(r->Data2())->DrawMode(), dmBlend);
    EXPECT_GT(Cell(r, 9), 0);
    EXPECT_GE(Cell(r, 10), 1);
  }
  // Row 0 hard: black to near its edge. Row 1 soft: black in the middle, a
  // feather that reaches past the nominal circle (the inner 1 / 1.6).
  auto grey = [](TCustomBitmap32* B, double Fx) { return Integer(B->GetPixel(Integer(B->Width() * Fx), B->Height() / 2) & 0xFF); };
  TCustomBitmap32* hard = Bmp(t->Items(0)->Data());
  TCustomBitmap32* soft = Bmp(t->Items(1)->Data());
  EXPECT_EQ(grey(hard, 0.5), 0);
  EXPECT_LT(grey(hard, 0.05), 16);
  EXPECT_EQ(grey(soft, 0.5), 0);
  const double nominalEdge = 0.5 - 0.5 / 1.6;
  EXPECT_GT(grey(soft, nominalEdge), 16);
  EXPECT_LT(grey(soft, nominalEdge), 240);
  EXPECT_LT(grey(soft, nominalEdge - 0.05), 255);  // still some ink outside the nominal size
}

TEST_F(ShippedPacks, ShadowsAndReflections) {
  for (auto [load, kind] : {std::pair{&LoadShadowPack, TStylePackKind::Shadow}, std::pair{&LoadReflectionPack, TStylePackKind::Reflection}}) {
    TDataTable* t = Keep(new TDataTable(), kind);
    load(t);
    ASSERT_EQ(t->ItemCount(), 8);
    for (Integer i = 0; i < 8; ++i) {
      TCustomBitmap32* b = Bmp(t->Items(i)->Data2());
      ASSERT_NE(b, nullptr) << i;
      EXPECT_EQ(b->Width(), 32);
      EXPECT_EQ(b->Height(), 32);
      EXPECT_EQ(b->DrawMode(), dmBlend);
      EXPECT_EQ(b->GetPixel(0, 0) >> 24, 0u);  // transparent round the picture
      EXPECT_TRUE(t->Items(i)->Items(15)->Text().empty());
    }
  }
}

TEST_F(ShippedPacks, DrawnAndCutFrames) {
  for (Integer kind : {0, 1}) {
    TDataTable* t = Keep(new TDataTable(), TStylePackKind::FrameStyle);
    ASSERT_TRUE(LoadStylePack(t, FramePackFileName(kind)));
    std::set<Integer> modes;
    for (Integer i = 0; i < t->ItemCount(); ++i) {
      TRow* r = t->Items(i);
      EXPECT_EQ(Cell(r, 1), kind);
      EXPECT_TRUE(modes.insert(Cell(r, 5)).second);
      TCustomBitmap32* b = Bmp(r->Data2());
      ASSERT_NE(b, nullptr);
      EXPECT_LE(b->Width(), 78);
      EXPECT_LE(b->Height(), 66);
      EXPECT_EQ(r->Data3(), nullptr);
      // The panel keys these colours out; the drawing has none of them.
      for (Integer y = 0; y < b->Height(); ++y)
        for (Integer x = 0; x < b->Width(); ++x) {
          const TColor32 c = b->GetPixel(x, y) & 0xFFFFFF;
          ASSERT_TRUE(c != 0xFFFFFF && c != 0xF9FDFD && c != 0xE6E6E6) << x << "," << y;
        }
    }
    std::set<Integer> all;
    for (Integer m = 1; m <= (kind == 0 ? 10 : 16); ++m) all.insert(m);
    EXPECT_EQ(modes, all);
  }
}

TEST_F(ShippedPacks, LayeredFrames) {
  TDataTable* t = Keep(new TDataTable(), TStylePackKind::FrameNested);
  ASSERT_TRUE(LoadNestedStylePack(t, FramePackFileName(2)));
  ASSERT_GE(t->ItemCount(), 1);
  std::set<Integer> numbers;
  for (Integer i = 0; i < t->ItemCount(); ++i) {
    TRow* r = t->Items(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(Cell(r, 1), 2);
    EXPECT_TRUE(numbers.insert(Cell(r, 5)).second);
    auto* layers = static_cast<TDataTable*>(r->Data3());
    ASSERT_NE(layers, nullptr);
    ASSERT_GE(layers->ItemCount(), 3);
    std::vector<TFrameLayerWidths> widths;
    Integer enabled = 0;
    for (Integer k = 0; k < layers->ItemCount(); ++k) {
      TRow* l = layers->Items(k);
      enabled += l->Items(0)->AsBool();
      if (!l->Items(1)->AsBool()) {
        EXPECT_NE(l->Data(), nullptr) << "texture of layer " << k;
      }
      EXPECT_GE(Cell(l, 6), 1);
      EXPECT_LE(Cell(l, 6), 9);
      widths.push_back({l->Items(0)->AsBool(), Cell(l, 10), Cell(l, 11), Cell(l, 12), Cell(l, 13)});
    }
    EXPECT_LE(enabled, FrameMaxLayers);
    // The dialog edits rows 0 to 2: colours on rows 0 and 2, a texture on row 1.
    EXPECT_TRUE(layers->Items(0)->Items(1)->AsBool());
    EXPECT_FALSE(layers->Items(1)->Items(1)->AsBool());
    EXPECT_TRUE(layers->Items(2)->Items(1)->AsBool());
    const TFrame2Layout lay = Frame2Layout(300, 200, widths);
    EXPECT_GT(lay.Width, 300);
    EXPECT_FALSE(lay.Painted.empty());
    ASSERT_NE(r->Data2(), nullptr);
    EXPECT_LE(Bmp(r->Data2())->Width(), 78);
    EXPECT_LE(Bmp(r->Data2())->Height(), 71);
  }
}

TEST_F(ShippedPacks, MaskFrames) {
  TDataTable* t = Keep(new TDataTable(), TStylePackKind::FrameImage);
  ASSERT_TRUE(LoadImageStylePack(t, FramePackFileName(3)));
  ASSERT_GE(t->ItemCount(), 1);
  for (Integer i = 0; i < t->ItemCount(); ++i) {
    TCustomBitmap32* m = Bmp(t->Items(i)->Data2());
    ASSERT_NE(m, nullptr) << i;
    EXPECT_EQ(m->Width(), 1024);
    EXPECT_EQ(m->Height(), 768);
    // White where the picture shows (the middle), dark where the frame covers.
    EXPECT_GT(m->GetPixel(512, 384) & 0xFF, 0xF0u) << i;
    EXPECT_LT(m->GetPixel(2, 2) & 0xFF, 0x40u) << i;
  }
}

}  // namespace
