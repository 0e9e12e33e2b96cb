// The style-pack loaders on files in Media\: real pictures through the real
// decoders into their slots, missing files, damaged packs refused with one
// log line, and the table text read in the system's code page.
#include "common/gtest.h"


#include <cstdlib>
#include <functional>
#include <memory>

#include "tests/document/packs/win/pack_test_util.h"

using namespace packtest;

namespace {

TCustomBitmap32* Slot(TDataTable* T, int Row, int Slot) {
  TRow* r = T->Items(Row);
  return static_cast<TCustomBitmap32*>(Slot == 1 ? r->Data() : Slot == 2 ? r->Data2() : r->Data3());
}

// The picture in the slot: its size, its colour at the centre within Tolerance
// of TagColor(Tag) with alpha Alpha, and its draw mode.
void ExpectPicture(TCustomBitmap32* B, int W, int H, std::uint8_t Tag, int Alpha, TDrawMode Mode, int Tolerance = 0) {
  ASSERT_NE(B, nullptr);
  ASSERT_NE(dynamic_cast<TBitmap32*>(B), nullptr);  // the program's bitmap class
  EXPECT_EQ(B->Width(), W);
  EXPECT_EQ(B->Height(), H);
  const TColor32 c = B->GetPixel(W / 2, H / 2), want = TagColor(Tag);
  EXPECT_EQ(int(c >> 24), Alpha);
  for (int shift : {0, 8, 16}) EXPECT_NEAR(int((c >> shift) & 0xFF), int((want >> shift) & 0xFF), Tolerance) << std::hex << c;
  EXPECT_EQ(B->DrawMode(), Mode);
}

TEST(PackLoaders, RealPicturesInTheirSlots) {
  TMediaFolder media;
  const int jpegTol = 3;
  // Effects: texture and its copy; a row without pictures; a second picture of length 0.
  Bytes e1 = Z(MakeJpeg(64, 48, 1)), e2 = Z(MakeJpeg(16, 16, 2)), e3 = Z(MakeJpeg(8, 8, 3));
  media.Write(u"Effects.dat",
              mediagen::AssemblePack({e1, e2, e3}, Text("基本.风格,,x", {Row({{5, "27"}, {14, "a.jpg"}, {15, Len(e1)}, {16, Len(e2)}}, 17),
                                                                  Row({{5, "9"}}, 17), Row({{5, "28"}, {14, "b.jpg"}, {15, Len(e3)}, {16, "0"}}, 17)}),
                                     false));
  auto t = std::make_unique<TDataTable>();
  LoadEffectsPack(t.get());
  ASSERT_EQ(t->ItemCount(), 3);
  ExpectPicture(Slot(t.get(), 0, 2), 64, 48, 1, 255, dmOpaque, jpegTol);
  ExpectPicture(Slot(t.get(), 0, 3), 16, 16, 2, 255, dmOpaque, jpegTol);
  EXPECT_EQ(Slot(t.get(), 1, 2), nullptr);
  ExpectPicture(Slot(t.get(), 2, 2), 8, 8, 3, 255, dmOpaque, jpegTol);
  EXPECT_EQ(Slot(t.get(), 2, 3), nullptr);
  TDataTable* raw = t.release();
  FreeStylePackTable(raw, TStylePackKind::Effects);

  // Brush: a 24-bit tip through the class library's bitmap, the preview through GDI+ (alpha kept).
  Bytes tip = Z(MakeBmp(256, 256, 4, 24)), prev = MakePng(32, 32, 5, true);
  media.Write(u"Brush.dat", mediagen::AssemblePack({tip, prev}, Text("", {Row({{14, "1"}, {15, Len(tip)}, {16, Len(prev)}})}), false));
  raw = new TDataTable();
  LoadBrushPack(raw);
  ASSERT_EQ(raw->ItemCount(), 1);
  ExpectPicture(Slot(raw, 0, 1), 256, 256, 4, 255, dmOpaque);
  ExpectPicture(Slot(raw, 0, 2), 32, 32, 5, 0x80, dmBlend, 1);
  FreeStylePackTable(raw, TStylePackKind::Brush);

  // Shadow: cell 15 not consumed, cell 16 = 0 reads nothing.
  Bytes s1 = MakePng(32, 32, 6, true);
  media.Write(u"Shadow.dat",
              mediagen::AssemblePack({s1}, Text("", {Row({{14, "1"}, {16, "0"}}), Row({{14, "1"}, {15, "5"}, {16, Len(s1)}})}), false));
  raw = new TDataTable();
  LoadShadowPack(raw);
  ASSERT_EQ(raw->ItemCount(), 2);
  EXPECT_EQ(Slot(raw, 0, 2), nullptr);
  ExpectPicture(Slot(raw, 1, 2), 32, 32, 6, 0x80, dmBlend, 1);
  FreeStylePackTable(raw, TStylePackKind::Shadow);

  // Pattern.
  Bytes p1 = Z(MakeJpeg(64, 64, 7));
  media.Write(u"Pattern.dat", mediagen::AssemblePack({p1}, Text("", {Row({{14, "1"}, {15, Len(p1)}})}), false));
  raw = new TDataTable();
  LoadPatternPack(raw);
  ExpectPicture(Slot(raw, 0, 1), 64, 64, 7, 255, dmOpaque, jpegTol);
  FreeStylePackTable(raw, TStylePackKind::Pattern);

  // Frame packs 0 and 1: the bitmap form keeps its alpha; every row is read.
  Bytes f1 = Z(MakeBmp(78, 66, 8, 32)), f2 = Z(MakeJpeg(10, 10, 9));
  media.Write(u"frame0.dat", mediagen::AssemblePack({f1, f2}, Text("", {Row({{1, "0"}, {5, "1"}, {15, Len(f1)}, {17, Len(f2)}})}),
                                                    true, {9, 9, 9, 9, 9, 9, 9}));
  raw = new TDataTable();
  EXPECT_TRUE(LoadStylePack(raw, FramePackFileName(0)));
  ExpectPicture(Slot(raw, 0, 2), 78, 66, 8, 0x80, dmOpaque);
  ExpectPicture(Slot(raw, 0, 3), 10, 10, 9, 255, dmOpaque, jpegTol);
  FreeStylePackTable(raw, TStylePackKind::FrameStyle);

  // Frame pack 2: the layer table with its texture and preview, and the row's copy.
  Bytes tex = Z(MakeBmp(16, 16, 10, 32)), lprev = Z(MakeJpeg(20, 18, 11));
  Bytes layers = Z(mediagen::AssemblePack({tex, lprev}, Text(",,,,,,,,," + Len(lprev), {Row({{0, "-1"}, {1, "-1"}}), Row({{0, "-1"}, {1, "0"}, {19, Len(tex)}})}), false));
  media.Write(u"frame2.dat", mediagen::AssemblePack({layers}, Text("", {Row({{1, "2"}, {14, "1"}, {15, Len(layers)}})}), true));
  raw = new TDataTable();
  EXPECT_TRUE(LoadNestedStylePack(raw, FramePackFileName(2)));
  auto* lt = static_cast<TDataTable*>(raw->Items(0)->Data3());
  ASSERT_NE(lt, nullptr);
  ExpectPicture(static_cast<TCustomBitmap32*>(lt->Items(1)->Data()), 16, 16, 10, 0x80, dmOpaque);
  ExpectPicture(static_cast<TCustomBitmap32*>(lt->Data()), 20, 18, 11, 255, dmOpaque, jpegTol);
  ExpectPicture(Slot(raw, 0, 2), 20, 18, 11, 255, dmOpaque, jpegTol);
  FreeStylePackTable(raw, TStylePackKind::FrameNested);

  // Frame pack 3: a deflated PNG through GDI+.
  Bytes mask = Z(MakePng(40, 30, 12, false));
  media.Write(u"frame3.dat", mediagen::AssemblePack({mask}, Text("", {Row({{1, "3"}, {14, "1"}, {15, Len(mask)}})}), true));
  raw = new TDataTable();
  EXPECT_TRUE(LoadImageStylePack(raw, FramePackFileName(3)));
  ExpectPicture(Slot(raw, 0, 2), 40, 30, 12, 255, dmOpaque);
  FreeStylePackTable(raw, TStylePackKind::FrameImage);

  EXPECT_TRUE(media.Log.empty());
}

// Every loader, by the kind of its pack.
struct TLoader {
  TStylePackKind Kind;
  const char16_t* File;
  std::function<bool(TDataTable*)> Load;
};

std::vector<TLoader> Loaders() {
  auto fixed = [](void (*F)(TDataTable*)) {
    return [F](TDataTable* T) {
      F(T);
      return true;
    };
  };
  return {{TStylePackKind::Effects, u"Effects.dat", fixed(LoadEffectsPack)},
          {TStylePackKind::Pattern, u"Pattern.dat", fixed(LoadPatternPack)},
          {TStylePackKind::Brush, u"Brush.dat", fixed(LoadBrushPack)},
          {TStylePackKind::Shadow, u"Shadow.dat", fixed(LoadShadowPack)},
          {TStylePackKind::Reflection, u"Reflection.dat", fixed(LoadReflectionPack)},
          {TStylePackKind::FrameStyle, u"frame0.dat", [](TDataTable* T) { return LoadStylePack(T, FramePackFileName(0)); }},
          {TStylePackKind::FrameNested, u"frame2.dat", [](TDataTable* T) { return LoadNestedStylePack(T, FramePackFileName(2)); }},
          {TStylePackKind::FrameImage, u"frame3.dat", [](TDataTable* T) { return LoadImageStylePack(T, FramePackFileName(3)); }}};
}

TEST(PackLoaders, MissingFileLeavesTheTable) {
  TMediaFolder media;
  for (const TLoader& l : Loaders()) {
    TDataTable t;
    t.Init(u"#p#a,b|c");
    const bool frame = StylePackHasLayoutB(l.Kind);
    EXPECT_EQ(l.Load(&t), !frame) << UTF8Encode(l.File);  // frame loaders report False
    EXPECT_EQ(t.ToString(true), u"#p#a,b|c");
  }
  EXPECT_TRUE(media.Log.empty());  // a missing pack is not an error
}

// The damaged packs of the container tests, and faults only real decoders
// find, through every loader of their kind: refused, the table as it was, no
// exception, one log line naming the file.
TEST(PackLoaders, DamagedPacksThroughTheFiles) {
  std::vector<TDamaged> cases = DamagedPacks();
  Bytes badJpeg = MakeJpeg(32, 32, 1);
  for (size_t i = badJpeg.size() / 2; i < badJpeg.size() - 2; ++i) badJpeg[i] = std::uint8_t(i * 7);
  Bytes badPng = MakePng(16, 16, 1, true);
  for (size_t i = 41; i < badPng.size() - 12; ++i) badPng[i] ^= 0x5A;  // inside the image data
  Bytes shortBmp = MakeBmp(300, 300, 1, 24);
  shortBmp.resize(shortBmp.size() / 2);
  Bytes shortForm = MakeBmp(78, 66, 1, 32);
  shortForm.resize(100);
  auto one = [](TStylePackKind Kind, const Bytes& Blob, int Cell) {
    return mediagen::AssemblePack({Blob}, Text("", {Row({{1, "0"}, {14, "1"}, {Cell, Len(Blob)}})}), StylePackHasLayoutB(Kind));
  };
  cases.push_back({"a damaged JPEG", TStylePackKind::Pattern, one(TStylePackKind::Pattern, Z(badJpeg), 15), ""});
  cases.push_back({"a damaged PNG", TStylePackKind::Shadow, one(TStylePackKind::Shadow, badPng, 16), ""});
  cases.push_back({"a BMP cut in half", TStylePackKind::Brush, one(TStylePackKind::Brush, Z(shortBmp), 15), ""});
  cases.push_back({"a bitmap form cut short", TStylePackKind::FrameStyle, one(TStylePackKind::FrameStyle, Z(shortForm), 15), ""});
  cases.push_back({"a damaged mask", TStylePackKind::FrameImage, one(TStylePackKind::FrameImage, Z(badPng), 15), ""});
  for (const TDamaged& c : cases) {
    SCOPED_TRACE(c.Name);
    TMediaFolder media;
    for (const TLoader& l : Loaders()) {
      if (l.Kind != c.Kind) continue;
      media.Write(l.File, c.Pack);
      auto* t = new TDataTable();
      t->Init(u"#keep#a,b|c,d,e");
      auto* sentinel = new TBitmap32();
      t->Items(0)->SetData2(sentinel);
      bool result = true;
      EXPECT_NO_THROW(result = l.Load(t));
      if (StylePackHasLayoutB(l.Kind)) {
        EXPECT_FALSE(result);
      }
      EXPECT_EQ(t->ToString(true), u"#keep#a,b|c,d,e");
      EXPECT_EQ(t->Items(0)->Data2(), sentinel);
      ASSERT_EQ(media.Log.size(), 1u);
      EXPECT_NE(media.Log[0].find(media.Media() + l.File), String::npos) << UTF8Encode(media.Log[0]);
      EXPECT_NE(media.Log[0].find(u"refused"), String::npos);
      FreeStylePackTable(t, TStylePackKind::Effects);
    }
  }
}

TEST(PackLoaders, NestedStreamInMemory) {
  TMediaFolder media;
  Bytes tex = Z(MakeBmp(8, 8, 3, 32)), prev = Z(MakeJpeg(8, 8, 4));
  Bytes pack = mediagen::AssemblePack({tex, prev}, Text(",,,,,,,,," + Len(prev), {Row({{0, "-1"}, {1, "0"}, {19, Len(tex)}})}), false);
  TMemoryStream ms;
  ms.WriteBuffer(pack.data(), Integer(pack.size()));
  auto* t = new TDataTable();
  ASSERT_TRUE(ReadNestedPackStream(t, &ms));
  ExpectPicture(static_cast<TCustomBitmap32*>(t->Data()), 8, 8, 4, 255, dmOpaque, 3);
  FreeStylePackTable(t, TStylePackKind::LayerTable);
  // A damaged one: refused, logged once.
  TMemoryStream bad;
  bad.WriteBuffer(pack.data(), Integer(pack.size() - 1));
  t = new TDataTable();
  EXPECT_FALSE(ReadNestedPackStream(t, &bad));
  EXPECT_EQ(t->ItemCount(), 0);
  EXPECT_EQ(media.Log.size(), 1u);
  FreeStylePackTable(t, TStylePackKind::LayerTable);
}

// The table text is read in the system's code page: the test runs under a
// Chinese locale (936) and an English one (1252); the cells split the same.
TEST(PackCodePage, NamesInTheSystemCodePage) {
  const char* expect = std::getenv("LUMIGRA_EXPECT_CODEPAGE");
  const UINT acp = GetACP();
  if (expect) {
    EXPECT_EQ(acp, std::string(expect) == "zh" ? 936u : 1252u);
  }
  TMediaFolder media;
  // "补光" in code page 936 and an English name.
  const std::string gbk = "\xB2\xB9\xB9\xE2";
  media.Write(u"Pattern.dat", mediagen::AssemblePack({}, "#" + gbk + "#0,0," + gbk + ",,Increase light,9", false));
  TDataTable t;
  LoadPatternPack(&t);
  ASSERT_EQ(t.ItemCount(), 1);
  ASSERT_EQ(t.Items(0)->ItemCount(), 6);
  EXPECT_EQ(t.Items(0)->Items(4)->Text(), u"Increase light");
  EXPECT_EQ(t.Items(0)->Items(5)->Text(), u"9");
  if (acp == 936) {
    EXPECT_EQ(t.Items(0)->Items(2)->Text(), u"补光");
    EXPECT_EQ(t.Props(0)->Text(), u"补光");
  } else if (acp == 1252) {
    EXPECT_EQ(t.Items(0)->Items(2)->Text(), u"\u00B2\u00B9\u00B9\u00E2");  // unreadable, never shown
  }
}

}  // namespace
