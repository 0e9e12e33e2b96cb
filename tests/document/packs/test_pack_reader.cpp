// The style-pack container reader on writer-made packs: the tail of both
// layouts, picture headers, what each loader reads into which slot, and the
// damaged packs it refuses as a whole (the caller's table untouched,
// everything decoded so far freed: the sanitizers see any leak).
#include "common/gtest.h"

#include <functional>
#include <memory>

#include "tests/document/packs/pack_fixtures.h"

using namespace packtest;

namespace {

// --- the tail -------------------------------------------------------------

TEST(PackContainer, TailOfBothLayouts) {
  struct TCase {
    const char* Name;
    Bytes Data;
    bool LayoutB;
    bool Ok;
    std::string Text;
  };
  Bytes seven = {1, 2, 3, 4, 5, 6, 7};
  auto withL = [](Bytes B, int32_t L) {
    Le32(B, uint32_t(L));
    return B;
  };
  auto plus = [](Bytes A, const Bytes& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
  };
  const TCase cases[] = {
      {"A: only L = 0", withL({}, 0), false, true, ""},
      {"A: blobs, text", withL({'x', 'y', '#', 'a', '#'}, 3), false, true, "#a#"},
      {"A: the whole file is text", withL({'a', 'b'}, 2), false, true, "ab"},
      {"A: 3 bytes", {0, 0, 0}, false, false, ""},
      {"A: negative L", withL({'a'}, -1), false, false, ""},
      {"A: L past the file", withL({'a', 'b'}, 3), false, false, ""},
      {"A: L of the largest int", withL({'a'}, 0x7FFFFFFF), false, false, ""},
      {"B: 7 bytes of anything after L", plus(withL({'z', '#', 'p', '#'}, 3), seven), true, true, "#p#"},
      {"B: 10 bytes", Bytes(10, 0), true, false, ""},
      {"B: L counted without the 7 bytes", plus(withL({'a', 'b'}, 9), seven), true, false, ""},
  };
  for (const TCase& c : cases) {
    TPackContainer out;
    String err;
    const bool ok = SplitStylePack(c.Data.data(), c.Data.size(), c.LayoutB, out, err);
    EXPECT_EQ(ok, c.Ok) << c.Name;
    if (ok) {
      EXPECT_EQ(out.Text, c.Text) << c.Name;
      EXPECT_EQ(out.BlobEnd, c.Data.size() - (c.LayoutB ? 11 : 4) - c.Text.size()) << c.Name;
    } else {
      EXPECT_FALSE(err.empty()) << c.Name;
    }
  }
}

// --- picture headers ------------------------------------------------------

TEST(PackContainer, PictureHeaders) {
  struct TCase {
    const char* Name;
    Bytes Data;
    bool Ok;
    TPictureFormat Format;
    Int64 W, H;
  };
  Bytes sosFirst = {0xFF, 0xD8, 0xFF, 0xDA, 0, 2};
  Bytes cut = HeaderJpeg(64, 48, 0);
  cut.resize(16);
  Bytes os2 = {'B', 'M'};
  Le32(os2, 26);
  Le32(os2, 0);
  Le32(os2, 26);
  Le32(os2, 12);
  os2.insert(os2.end(), {0x20, 0x01, 0x10, 0x00, 1, 0, 24, 0});
  Bytes badBmp = HeaderBmp(4, 4, 0);
  badBmp[14] = 7;
  Bytes pngCut = HeaderPng(5, 6, 0);
  pngCut.resize(20);
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0x40, 0x01, 0xF0, 0x00};
  const TCase cases[] = {
      {"JPEG after APP0 and a fill byte", HeaderJpeg(640, 480, 1), true, TPictureFormat::Jpeg, 640, 480},
      {"JPEG scan before the frame header", sosFirst, false, TPictureFormat::Jpeg, 0, 0},
      {"JPEG cut inside a segment", cut, false, TPictureFormat::Jpeg, 0, 0},
      {"PNG", HeaderPng(33, 7, 0), true, TPictureFormat::Png, 33, 7},
      {"PNG without its header chunk", pngCut, false, TPictureFormat::Png, 0, 0},
      {"BMP bottom-up", HeaderBmp(40000, 40000, 0), true, TPictureFormat::Bmp, 40000, 40000},
      {"BMP top-down", HeaderBmp(3, -9, 0), true, TPictureFormat::Bmp, 3, 9},
      {"BMP with the 12-byte header", os2, true, TPictureFormat::Bmp, 288, 16},
      {"BMP of an unknown header size", badBmp, false, TPictureFormat::Bmp, 0, 0},
      {"GIF", gif, true, TPictureFormat::Gif, 320, 240},
      {"text", {'h', 'e', 'l', 'l', 'o'}, false, TPictureFormat::Unknown, 0, 0},
      {"nothing", {}, false, TPictureFormat::Unknown, 0, 0},
  };
  for (const TCase& c : cases) {
    TPictureFormat f;
    Int64 w = -1, h = -1;
    String err;
    const bool ok = ReadPictureHeader(c.Data.data(), c.Data.size(), f, w, h, err);
    EXPECT_EQ(ok, c.Ok) << c.Name;
    EXPECT_EQ(f, c.Format) << c.Name;
    if (ok) {
      EXPECT_EQ(w, c.W) << c.Name;
      EXPECT_EQ(h, c.H) << c.Name;
    } else {
      EXPECT_FALSE(err.empty()) << c.Name;
    }
  }
}

TEST(PackContainer, InflationIsBounded) {
  Bytes small = Z(Bytes(1000, 7));
  std::vector<std::uint8_t> out;
  String err;
  ASSERT_TRUE(InflatePackBlob(small.data(), small.size(), out, err));
  EXPECT_EQ(out, std::vector<std::uint8_t>(1000, 7));
  // A bomb: a little over the bound of zeros in about 120 KB.
  Bytes bomb = Z(Bytes(PackMaxInflated + 1, 0));
  EXPECT_LT(bomb.size(), size_t(1) << 20);
  EXPECT_FALSE(InflatePackBlob(bomb.data(), bomb.size(), out, err));
  EXPECT_NE(err.find(u"inflates past"), String::npos) << UTF8Encode(err);
  Bytes cut(small.begin(), small.begin() + small.size() / 2);
  EXPECT_FALSE(InflatePackBlob(cut.data(), cut.size(), out, err));
}

// --- what each loader reads -----------------------------------------------

struct TSlotWant {
  int Row;
  int Slot;  // 1 FData, 2 FData2, 3 FData3
  std::uint8_t Tag;
  int W, H;
  bool Blend = false;
};

TCustomBitmap32* SlotBitmap(TDataTable* T, int Row, int Slot) {
  TRow* r = T->Items(Row);
  return static_cast<TCustomBitmap32*>(Slot == 1 ? r->Data() : Slot == 2 ? r->Data2() : r->Data3());
}

// Loads Pack into a fresh table and checks the rows and every slot: the
// wanted ones hold their picture, all others stay empty.
void ExpectLoad(const char* Name, TStylePackKind Kind, const Bytes& Pack, int Rows, const std::vector<TSlotWant>& Want) {
  SCOPED_TRACE(Name);
  TFakeHooks fake;
  auto* t = new TDataTable();
  String err;
  ASSERT_TRUE(LoadStylePackBytes(t, Kind, Pack.data(), Pack.size(), fake.Hooks(), err)) << UTF8Encode(err);
  ASSERT_EQ(t->ItemCount(), Rows);
  int filled = 0;
  for (int i = 0; i < Rows; ++i)
    for (int s = 1; s <= 3; ++s) {
      if (Kind == TStylePackKind::FrameNested && s == 3) continue;  // the layer table
      TCustomBitmap32* b = SlotBitmap(t, i, s);
      auto want = std::find_if(Want.begin(), Want.end(), [&](const TSlotWant& w) { return w.Row == i && w.Slot == s; });
      if (want == Want.end()) {
        EXPECT_EQ(b, nullptr) << "row " << i << " slot " << s;
        continue;
      }
      ++filled;
      ASSERT_NE(b, nullptr) << "row " << i << " slot " << s;
      EXPECT_EQ(b->Width(), want->W);
      EXPECT_EQ(b->Height(), want->H);
      EXPECT_EQ(b->GetPixel(0, 0), TagColor(want->Tag)) << "row " << i << " slot " << s;
      EXPECT_EQ(b->DrawMode(), want->Blend ? dmBlend : dmOpaque);
    }
  EXPECT_EQ(filled, int(Want.size()));
  FreeStylePackTable(t, Kind);
  EXPECT_EQ(t, nullptr);
}

TEST(PackLoaders, RowsSlotsAndOrder) {
  // Effects: a scene row with two pictures, a row without cell 14, a row
  // whose second picture has length 0 (the next row's blob follows at once).
  Bytes e1 = Z(HeaderJpeg(1024, 768, 1)), e2 = Z(HeaderJpeg(78, 78, 2)), e3 = Z(HeaderJpeg(64, 64, 3)),
         e4 = Z(HeaderJpeg(8, 8, 4));
  ExpectLoad("effects", TStylePackKind::Effects,
             mediagen::AssemblePack({e1, e2, e3, e4},
                                    Text("a,,b,,,,,,,-1",
                                         {Row({{1, "3"}, {5, "27"}, {14, "sunshine.jpg"}, {15, Len(e1)}, {16, Len(e2)}}, 17),
                                          Row({{5, "9"}, {15, "999"}, {16, "999"}}, 17),
                                          Row({{14, "x"}, {15, Len(e3)}, {16, "0"}}, 17),
                                          Row({{14, "y"}, {15, Len(e4)}}, 17)}),
                                    false),
             4, {{0, 2, 1, 1024, 768}, {0, 3, 2, 78, 78}, {2, 2, 3, 64, 64}, {3, 2, 4, 8, 8}});

  Bytes p1 = Z(HeaderJpeg(96, 96, 5)), p2 = Z(HeaderJpeg(64, 64, 6));
  ExpectLoad("pattern", TStylePackKind::Pattern,
             mediagen::AssemblePack({p1, p2}, Text("", {Row({{14, "1"}, {15, Len(p1)}}), Row({}), Row({{14, "1"}, {15, Len(p2)}})}), false),
             3, {{0, 1, 5, 96, 96}, {2, 1, 6, 64, 64}});

  Bytes tip = Z(HeaderBmp(256, 256, 7, 24)), prev = HeaderPng(32, 32, 8), tip2 = Z(HeaderBmp(300, 300, 9, 24));
  ExpectLoad("brush", TStylePackKind::Brush,
             mediagen::AssemblePack({tip, prev, tip2},
                                    Text("", {Row({{14, "1"}, {15, Len(tip)}, {16, Len(prev)}}), Row({{14, "1"}, {15, Len(tip2)}})}),
                                    false),
             2, {{0, 1, 7, 256, 256}, {0, 2, 8, 32, 32, true}, {1, 1, 9, 300, 300}});

  // Shadow: cell 15 is never consumed; cell 16 = 0 reads nothing.
  Bytes s1 = HeaderPng(32, 32, 10), s2 = HeaderPng(32, 32, 11);
  for (TStylePackKind k : {TStylePackKind::Shadow, TStylePackKind::Reflection})
    ExpectLoad("shadow and reflection", k,
               mediagen::AssemblePack({s1, s2},
                                      Text("", {Row({{14, "1"}, {15, "12345"}, {16, Len(s1)}}), Row({{14, "1"}, {16, "0"}}),
                                                Row({{16, "77"}}), Row({{14, "1"}, {16, Len(s2)}})}),
                                      false),
               4, {{0, 2, 10, 32, 32, true}, {3, 2, 11, 32, 32, true}});

  // Frame packs 0 and 1: every row read, cell 14 or not; 7 trailing bytes
  // of anything.
  Bytes f1 = Z(HeaderBmp(78, 66, 12)), f2 = Z(HeaderBmp(70, 60, 13)), f3 = Z(HeaderJpeg(10, 10, 14));
  ExpectLoad("frame style", TStylePackKind::FrameStyle,
             mediagen::AssemblePack({f1, f2, f3},
                                    Text("", {Row({{1, "0"}, {5, "1"}, {15, Len(f1)}, {17, "0"}}),
                                              Row({{1, "0"}, {5, "2"}, {14, "1"}, {15, Len(f2)}, {17, Len(f3)}})}),
                                    true, {0xFF, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A}),
             2, {{0, 2, 12, 78, 66}, {1, 2, 13, 70, 60}, {1, 3, 14, 10, 10}});

  Bytes m1 = Z(HeaderPng(1024, 768, 15));
  ExpectLoad("frame image", TStylePackKind::FrameImage,
             mediagen::AssemblePack({m1}, Text("", {Row({{1, "3"}}), Row({{1, "3"}, {14, "1"}, {15, Len(m1)}})}), true), 2,
             {{1, 2, 15, 1024, 768}});
}

TEST(PackLoaders, NestedLayerTables) {
  Bytes l1 = Z(LayerPack(20, 21)), l2 = Z(LayerPack(22, 23));
  Bytes pack = mediagen::AssemblePack(
      {l1, l2}, Text("", {Row({{1, "2"}, {14, "1"}, {15, Len(l1)}}), Row({{1, "2"}}), Row({{1, "2"}, {14, "1"}, {15, Len(l2)}})}), true);
  ExpectLoad("frame nested", TStylePackKind::FrameNested, pack, 3, {{0, 2, 21, 78, 71}, {2, 2, 23, 78, 71}});

  TFakeHooks fake;
  auto* t = new TDataTable();
  String err;
  ASSERT_TRUE(LoadStylePackBytes(t, TStylePackKind::FrameNested, pack.data(), pack.size(), fake.Hooks(), err));
  auto* layers = static_cast<TDataTable*>(t->Items(0)->Data3());
  ASSERT_NE(layers, nullptr);
  EXPECT_EQ(t->Items(1)->Data3(), nullptr);
  ASSERT_EQ(layers->ItemCount(), 3);
  // Only the texture row (cell 1 false) reads a texture, even with cell 19 set elsewhere.
  EXPECT_EQ(layers->Items(0)->Data(), nullptr);
  auto* tex = static_cast<TCustomBitmap32*>(layers->Items(1)->Data());
  ASSERT_NE(tex, nullptr);
  EXPECT_EQ(tex->GetPixel(0, 0), TagColor(20));
  EXPECT_EQ(layers->Items(2)->Data(), nullptr);
  // The preview is the layer table's own; the row holds a copy.
  auto* own = static_cast<TCustomBitmap32*>(layers->Data());
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, t->Items(0)->Data2());
  EXPECT_EQ(fake.Decoded, 4);
  FreeStylePackTable(t, TStylePackKind::FrameNested);

  // Without a preview (property 9 = 0) the row's FData2 stays empty.
  Bytes tex8 = Z(HeaderBmp(8, 8, 30));
  Bytes noPreview = Z(mediagen::AssemblePack({tex8}, Text(",,,,,,,,,0", {Row({{0, "-1"}, {19, Len(tex8)}})}), false));
  Bytes pack2 = mediagen::AssemblePack({noPreview}, Text("", {Row({{14, "1"}, {15, Len(noPreview)}})}), true);
  ExpectLoad("no preview", TStylePackKind::FrameNested, pack2, 1, {});
}

// Rows that stop early: a cell past a row's last stored cell reads as empty,
// so each optional picture is simply absent, nothing raises, and the rows
// after it load as usual.
TEST(PackLoaders, RowsThatStopEarly) {
  Bytes j1 = Z(HeaderJpeg(8, 8, 1)), j2 = Z(HeaderJpeg(6, 6, 2)), j3 = Z(HeaderJpeg(4, 4, 3));
  // Effects: cut after cell 15 (no second picture), after cell 13 (no cell 14 at all), then a whole row.
  ExpectLoad("effects", TStylePackKind::Effects,
             mediagen::AssemblePack({j1, j2, j3},
                                    Text("", {Row({{14, "a"}, {15, Len(j1)}}, 16), Row({{5, "9"}}, 14),
                                              Row({{14, "b"}, {15, Len(j2)}, {16, Len(j3)}}, 17)}),
                                    false),
             3, {{0, 2, 1, 8, 8}, {2, 2, 2, 6, 6}, {2, 3, 3, 4, 4}});

  Bytes tip = Z(HeaderBmp(5, 5, 4, 24)), prev = HeaderPng(3, 3, 5), tip2 = Z(HeaderBmp(7, 7, 6, 24));
  ExpectLoad("brush cut after the tip", TStylePackKind::Brush,
             mediagen::AssemblePack({tip, tip2, prev},
                                    Text("", {Row({{14, "1"}, {15, Len(tip)}}, 16),
                                              Row({{14, "1"}, {15, Len(tip2)}, {16, Len(prev)}}, 17)}),
                                    false),
             2, {{0, 1, 4, 5, 5}, {1, 1, 6, 7, 7}, {1, 2, 5, 3, 3, true}});

  Bytes s1 = HeaderPng(4, 4, 7);
  for (TStylePackKind k : {TStylePackKind::Shadow, TStylePackKind::Reflection})
    ExpectLoad("shadow cut after cell 14", k,
               mediagen::AssemblePack({s1}, Text("", {Row({{14, "1"}}, 15), Row({{14, "1"}, {16, Len(s1)}}, 17)}), false), 2,
               {{1, 2, 7, 4, 4, true}});

  Bytes f1 = Z(HeaderBmp(9, 9, 8)), f2 = Z(HeaderBmp(5, 5, 9)), f3 = Z(HeaderJpeg(3, 3, 10));
  ExpectLoad("frame style cut after its frame", TStylePackKind::FrameStyle,
             mediagen::AssemblePack({f1, f2, f3},
                                    Text("", {Row({{1, "0"}, {15, Len(f1)}}, 16), Row({{1, "0"}, {15, Len(f2)}, {17, Len(f3)}}, 18)}),
                                    true),
             2, {{0, 2, 8, 9, 9}, {1, 2, 9, 5, 5}, {1, 3, 10, 3, 3}});

  Bytes m1 = Z(HeaderPng(6, 6, 11));
  ExpectLoad("frame image cut after cell 1", TStylePackKind::FrameImage,
             mediagen::AssemblePack({m1}, Text("", {Row({{1, "3"}}, 2), Row({{1, "3"}, {14, "1"}, {15, Len(m1)}}, 16)}), true), 2,
             {{1, 2, 11, 6, 6}});

  // A layer table of nine properties (no preview length) whose picture row
  // stops after cell 1, and a texture row ending at its texture.
  Bytes tex = Z(HeaderBmp(4, 4, 12));
  Bytes layers = Z(mediagen::AssemblePack(
      {tex}, Text(",,,,,,,,", {Row({{0, "-1"}, {1, "-1"}}, 2), Row({{0, "-1"}, {1, "0"}, {19, Len(tex)}}, 20)}), false));
  Bytes nested = mediagen::AssemblePack({layers}, Text("", {Row({{1, "2"}}, 2), Row({{1, "2"}, {14, "1"}, {15, Len(layers)}}, 16)}), true);
  ExpectLoad("frame nested, short rows and a short layer table", TStylePackKind::FrameNested, nested, 2, {});
  TFakeHooks fake;
  auto* t = new TDataTable();
  String err;
  ASSERT_TRUE(LoadStylePackBytes(t, TStylePackKind::FrameNested, nested.data(), nested.size(), fake.Hooks(), err))
      << UTF8Encode(err);
  EXPECT_EQ(t->Items(0)->Data3(), nullptr);
  auto* lt = static_cast<TDataTable*>(t->Items(1)->Data3());
  ASSERT_NE(lt, nullptr);
  ASSERT_EQ(lt->ItemCount(), 2);
  EXPECT_EQ(lt->Items(0)->Data(), nullptr);
  auto* texture = static_cast<TCustomBitmap32*>(lt->Items(1)->Data());
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->GetPixel(0, 0), TagColor(12));
  EXPECT_EQ(lt->Data(), nullptr);
  FreeStylePackTable(t, TStylePackKind::FrameNested);
}

TEST(PackLoaders, EmptyTableText) {
  // Only the tail: one row of one empty cell, no blob read.
  for (TStylePackKind k : {TStylePackKind::Effects, TStylePackKind::Pattern, TStylePackKind::Brush, TStylePackKind::Shadow,
                           TStylePackKind::Reflection}) {
    Bytes pack = mediagen::AssemblePack({}, "", false);
    TFakeHooks fake;
    auto* t = new TDataTable();
    t->Init(u"#x#a,b|c");
    String err;
    ASSERT_TRUE(LoadStylePackBytes(t, k, pack.data(), pack.size(), fake.Hooks(), err)) << UTF8Encode(err);
    ASSERT_EQ(t->ItemCount(), 1);
    EXPECT_EQ(t->Items(0)->ItemCount(), 1);
    EXPECT_EQ(t->Items(0)->Items(0)->Text(), u"");
    EXPECT_EQ(fake.Decoded, 0);
    FreeStylePackTable(t, k);
  }
}

// --- damaged packs --------------------------------------------------------

TEST(PackLoaders, DamagedPacksAreRefusedAsAWhole) {
  for (const TDamaged& c : DamagedPacks()) {
    SCOPED_TRACE(c.Name);
    TFakeHooks fake;
    auto* t = new TDataTable();
    t->Init(u"#keep#a,b|c,d,e");
    auto* sentinel = new TCustomBitmap32();
    t->Items(1)->SetData2(sentinel);
    const String before = t->ToString(true);
    String err;
    bool ok = true;
    EXPECT_NO_THROW(ok = LoadStylePackBytes(t, c.Kind, c.Pack.data(), c.Pack.size(), fake.Hooks(), err));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(err.empty());
    EXPECT_NE(UTF8Encode(err).find(c.Reason), std::string::npos) << UTF8Encode(err);
    EXPECT_EQ(t->ToString(true), before);
    EXPECT_EQ(t->Items(1)->Data2(), sentinel);
    EXPECT_EQ(t->Items(0)->Data(), nullptr);
    EXPECT_EQ(t->Data(), nullptr);
    FreeStylePackTable(t, TStylePackKind::Effects);
  }
}

// The reason names the place: the row and the cell.
TEST(PackLoaders, ReasonNamesRowAndCell) {
  Bytes j = Z(HeaderJpeg(4, 4, 1));
  Bytes pack = mediagen::AssemblePack({j}, Text("", {Row({}), Row({{14, "1"}, {15, "-3"}})}), false);
  TFakeHooks fake;
  auto* t = new TDataTable();
  String err;
  EXPECT_FALSE(LoadStylePackBytes(t, TStylePackKind::Pattern, pack.data(), pack.size(), fake.Hooks(), err));
  EXPECT_EQ(UTF8Encode(err), "row 1, cell 15: length \"-3\" is not a number above 0");
  FreeStylePackTable(t, TStylePackKind::Pattern);
}

TEST(PackLoaders, LogHandler) {
  std::vector<String> lines;
  TStylePackLogHandler old = SetStylePackLogHandler([&](const String& L) { lines.push_back(L); });
  LogStylePack(u"one");
  SetStylePackLogHandler(old);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], u"one");
}

}  // namespace
