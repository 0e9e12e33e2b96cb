// The project sidecar: round trips of files and in-memory streams, the
// layout as an outside reader sees it, old layouts and their upgrades,
// damaged files (every length and boundary), saved-selection names.
#include "common/gtest.h"

#include <functional>

#include "document/ShapeRows.h"
#include "tests/document/sidecar_fixtures.h"

using namespace sidecar_fixtures;

namespace {

// A document's tables and pictures.
struct TDoc {
  TDataTable Objects, FileInfo, Selections;
  std::unique_ptr<TCustomBitmap32> Ori = Picture(7, 5, 1), Src = Picture(9, 6, 2);
  std::vector<std::unique_ptr<TCustomBitmap32>> Pics;
  RawByteString OriginalFile;

  TDoc() {
    InitFileInfo(&FileInfo);
    Objects.SetPropCount(50);
    Objects.Props(SidecarProp::CanvasColor)->SetText(u"255");
    Objects.Props(SidecarProp::Transparent)->SetText(u"-1");
    Objects.Props(SidecarProp::HorzGuides)->SetText(u"10.20");
    Objects.AddItem(u"1,3,rect 中文,0,0,,,,,,10,20,30,40");
    Objects.AddItem(u"2,8,picture,0,0,,,,,,1,1,5,4");
    Objects.AddItem(u"3,5,line,0,0");
    Objects.AddItem(u"4,8,picture 2,0,0");
    Pics.push_back(Picture(4, 3, 7));
    Pics.push_back(Picture(1, 1, 9));
    AddSavedSelection(&Selections, u"a,b", u"1.2.3.4");
    AddSavedSelection(&Selections, u"x|y", u"5.6.7.8");
    AddSavedSelection(&Selections, u"中文, 名", u"0.0.1.1");
    AddSavedSelection(&Selections, u"plain", u"2.2.9.9");
  }

  TSidecarSource Source() {
    TSidecarSource s;
    s.Objects = &Objects;
    s.FileInfo = &FileInfo;
    s.Selections = &Selections;
    s.OriginalFile = OriginalFile.data();
    s.OriginalFileSize = OriginalFile.size();
    s.OriBmp = Ori.get();
    s.SrcBmp = Src.get();
    s.PictureOfRow = [this](Integer Index) -> TCustomBitmap32* {
      return Pics.at(Index == 1 ? 0 : 1).get();
    };
    return s;
  }

  RawByteString Write(bool InMemory) {
    TMemoryStream ms;
    WriteSidecar(&ms, Source(), InMemory);
    return RawByteString(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
  }
};

void Read(const RawByteString& Bytes, bool InMemory, TSidecarData& D) {
  TMemoryStream ms;
  ms.WriteBuffer(Bytes.data(), Integer(Bytes.size()));
  ReadSidecar(&ms, InMemory, D);
}

}  // namespace

TEST(ProjectSidecar, FileAndMemoryRoundTrips) {
  for (bool inMemory : {false, true})
    for (bool keepsFile : {false, true}) {
      SCOPED_TRACE(std::string(inMemory ? "memory" : "file") + (keepsFile ? ", original file" : ", original raster"));
      TDoc doc;
      if (keepsFile) {
        doc.OriginalFile = "\x89PNG not decoded here";
        doc.Objects.Props(SidecarProp::OriginalName)->SetText(EscapeOriginalName(u"图片#1,a.png"));
      }
      const RawByteString bytes = doc.Write(inMemory);
      TSidecarData d;
      Read(bytes, inMemory, d);
      EXPECT_EQ(d.Objects->ToString(true), doc.Objects.ToString(true));
      EXPECT_EQ(d.FileInfo->ToString(true), doc.FileInfo.ToString(true));
      ASSERT_EQ(d.Selections->ItemCount(), 4);
      EXPECT_EQ(SavedSelectionName(d.Selections->Items(0)), u"a,b");
      EXPECT_EQ(SavedSelectionName(d.Selections->Items(1)), u"x|y");
      EXPECT_EQ(SavedSelectionName(d.Selections->Items(2)), u"中文, 名");
      EXPECT_EQ(SavedSelectionRegion(d.Selections->Items(2)), u"0.0.1.1");
      EXPECT_TRUE(SamePixels(d.SrcBmp.get(), doc.Src.get()));
      if (keepsFile) {
        EXPECT_EQ(d.OriginalFile, doc.OriginalFile);
        EXPECT_EQ(d.OriBmp, nullptr);
        EXPECT_EQ(UnescapeOriginalName(d.Objects->Props(SidecarProp::OriginalName)->Text()), u"图片#1,a.png");
      } else {
        EXPECT_TRUE(SamePixels(d.OriBmp.get(), doc.Ori.get()));
      }
      ASSERT_EQ(d.Pictures.size(), 2u);
      EXPECT_EQ(d.Pictures[0].first, 2);
      EXPECT_TRUE(SamePixels(d.Pictures[0].second.get(), doc.Pics[0].get()));
      EXPECT_EQ(d.Pictures[1].first, 4);
      EXPECT_TRUE(SamePixels(d.Pictures[1].second.get(), doc.Pics[1].get()));
      EXPECT_EQ(d.Version, inMemory ? 0 : 18);
      EXPECT_FALSE(d.FileInfoRebuilt);
      // The first-save cells are set once and kept by the next save.
      if (!inMemory) {
        TRow* info = d.FileInfo->Items(0);
        EXPECT_GT(info->Items(FileInfoCell::Year)->Value(), 2000);
        const String first = info->Items(FileInfoCell::FirstSaved)->Text();
        EXPECT_FALSE(first.empty());
        EXPECT_EQ(first.find(u','), String::npos);
        doc.FileInfo.Items(0)->Items(FileInfoCell::FirstSaved)->SetText(u"1.5");
        TSidecarData again;
        Read(doc.Write(false), false, again);
        EXPECT_EQ(again.FileInfo->Items(0)->Items(FileInfoCell::FirstSaved)->Text(), u"1.5");
      }
    }
}

// The saved selections keep their names, however they are written, over
// several save and load cycles; the text between the markers is taken
// whole.
TEST(ProjectSidecar, SelectionNamesSurviveRepeatedCycles) {
  TDoc doc;
  RawByteString bytes = doc.Write(false);
  for (int cycle = 0; cycle < 3; ++cycle) {
    TSidecarData d;
    Read(bytes, false, d);
    ASSERT_EQ(d.Selections->ItemCount(), 4);
    EXPECT_EQ(SavedSelectionName(d.Selections->Items(2)), u"中文, 名");
    EXPECT_EQ(SavedSelectionRegion(d.Selections->Items(3)), u"2.2.9.9");
    doc.Selections.CopyFrom(d.Selections.get(), true, -1);
    bytes = doc.Write(false);
  }
  // An old-style row, written without escaping, reads as before.
  TDataTable old;
  old.Init(u"old one,1.1.4.4|second,2.2.3.3");
  EXPECT_EQ(SavedSelectionName(old.Items(1)), u"second");
  EXPECT_EQ(SavedSelectionRegion(old.Items(0)), u"1.1.4.4");
}

// Read by the byte layout alone: magic, lengths from the end, the deciphered
// file information, the UTF-8 objects text, zlib blocks holding 32-bit BMPs
// with their alpha, the selections block in front of the objects.
TEST(ProjectSidecar, LayoutAsAnOutsideReaderSeesIt) {
  TDoc doc;
  const RawByteString b = doc.Write(false);
  const size_t n = b.size();
  ASSERT_GT(n, 12u);
  EXPECT_EQ(uint8_t(b[n - 4]), 0xFF);
  EXPECT_EQ(uint8_t(b[n - 3]), 0xC9);
  EXPECT_EQ(uint8_t(b[n - 2]), 0x9A);
  EXPECT_EQ(uint8_t(b[n - 1]), 0x3B);
  const size_t f = size_t(Int32At(b, n - 8));
  const String info = DecryptStr(AnsiBytesToString(b.data() + n - 8 - f, f), String());
  TDataTable fi;
  fi.Init(info);
  EXPECT_EQ(fi.Items(0)->Items(0)->Text(), u"18");
  const size_t o = size_t(Int32At(b, n - 12 - f));
  const size_t objStart = n - 12 - f - o;
  TDataTable objects;
  objects.Init(UTF8Decode(std::string_view(b.data() + objStart, o)));
  EXPECT_EQ(objects.Items(0)->Items(2)->Text(), u"rect 中文");
  const size_t s = size_t(objects.Props(47)->Value());
  EXPECT_EQ(UTF8Decode(std::string_view(b.data() + objStart - s, 11)), u"<Selection>");
  // Blocks 1, 2 and the pictures, in order from the start, fill the space
  // in front of the selections exactly.
  size_t at = 0;
  auto inflate = [&](size_t Len, TCustomBitmap32* Expect) {
    std::vector<uint8_t> plain;
    ASSERT_EQ(ZlibInflate(b.data() + at, Len, 1 << 24, plain), TZlibInflateResult::Ok);
    ASSERT_GE(plain.size(), 54u);
    EXPECT_EQ(plain[0], 'B');
    EXPECT_EQ(plain[28], 32);  // bits per pixel
    const Integer w = Integer(plain[18]), h = Integer(plain[22]);
    EXPECT_EQ(w, Expect->Width());
    EXPECT_EQ(h, Expect->Height());
    // Bottom-up rows, alpha kept.
    const size_t firstOfTop = 54 + size_t(4 * w * (h - 1));
    uint32_t px = 0;
    std::memcpy(&px, plain.data() + firstOfTop, 4);
    EXPECT_EQ(px, Expect->GetPixel(0, 0));
    at += Len;
  };
  inflate(size_t(objects.Props(3)->Value()), doc.Ori.get());
  inflate(size_t(objects.Props(2)->Value()), doc.Src.get());
  inflate(size_t(objects.Items(1)->Items(44)->Value()), doc.Pics[0].get());
  inflate(size_t(objects.Items(3)->Items(44)->Value()), doc.Pics[1].get());
  EXPECT_EQ(at, objStart - s);
}

// Old layouts and the ANSI version 17 open with their upgrades.
TEST(ProjectSidecar, OldLayoutsOpenWithTheirUpgrades) {
  struct TCase {
    Integer Version;
    bool HasOriginal;
  } cases[] = {{10, false}, {12, true}, {14, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Version);
    TDataTable objects;
    objects.SetPropCount(50);
    objects.Props(SidecarProp::Bpp)->SetText(u"24");
    objects.Props(SidecarProp::JpegLevel)->SetText(u"8");
    objects.Props(SidecarProp::BmpBpp)->SetText(u"32");
    // An arrow whose old cells 30 (P) and 35 (B) are 4 and 1; a text row; a
    // rectangle. Cell 9 of the arrow moves to 50.
    String arrow = u"1,2,arrow,0,0,,,,,77,10,20,30,41";
    for (Integer i = 14; i < 60; ++i) arrow += i == 30 ? u",4" : i == 35 ? u",1" : i == 25 ? u",x25" : u",";
    objects.AddItem(arrow);
    objects.AddItem(u"2,9,text,0,0,,,,,,0,0,10,10");
    objects.AddItem(u"3,3,rect,0,0,,,,,,1,2,3,4");
    auto ori = Picture(3, 3, 5), src = Picture(4, 2, 6);
    const RawByteString b = OldSidecar(&objects, c.Version, ori.get(), src.get(), {}, u"name,1.1.2.2");
    TSidecarData d;
    Read(b, false, d);
    EXPECT_EQ(d.Version, c.Version);
    EXPECT_EQ(d.FileInfo->Items(0)->Items(FileInfoCell::Bpp)->Text(), u"24");
    EXPECT_EQ(d.FileInfo->Items(0)->Items(FileInfoCell::JpegLevel)->Text(), u"8");
    EXPECT_EQ(d.FileInfo->Items(0)->Items(FileInfoCell::BmpBpp)->Text(), u"32");
    EXPECT_TRUE(SamePixels(d.SrcBmp.get(), src.get()));
    if (c.HasOriginal)
      EXPECT_TRUE(SamePixels(d.OriBmp.get(), ori.get()));
    else
      EXPECT_EQ(d.OriBmp, nullptr);
    EXPECT_EQ(SavedSelectionName(d.Selections->Items(0)), u"name");
    EXPECT_EQ(PrepareLoadedRows(d, true), 16);
    EXPECT_EQ(d.FileInfo->Items(0)->Items(0)->Text(), u"16");
    TRow* a = d.Objects->Items(0);
    EXPECT_EQ(a->ItemCount(), 100);
    EXPECT_EQ(a->Items(ShapeCol::StyleId)->Text(), u"5");  // B 1, P 4
    EXPECT_EQ(a->Items(50)->Text(), u"77");
    EXPECT_EQ(a->Items(9)->Text(), u"");
    EXPECT_EQ(a->Items(45)->Text(), u"");
    EXPECT_EQ(a->Items(40)->Text(), u"x25");  // the old cell 25
    EXPECT_EQ(a->Items(25)->Text(), u"20");
    EXPECT_EQ(a->Items(26)->Text(), u"30.5");
    EXPECT_EQ(a->Items(27)->Text(), u"-1");
    EXPECT_EQ(a->Items(70)->Text(), u"45");
    TRow* t = d.Objects->Items(1);
    EXPECT_EQ(t->Items(55)->Text(), u"0");
    EXPECT_EQ(t->Items(56)->Text(), u"1");
    EXPECT_EQ(t->Items(60)->Text(), u"26367/65535/26367");
    EXPECT_EQ(t->Items(65)->Text(), u"15");
  }
  // Version 17: magic and enciphered file information, ANSI text.
  TDataTable objects, fi;
  InitFileInfo(&fi);
  objects.SetPropCount(50);
  objects.AddItem(u"1,3,plain,0,0,,,,,,1,2,3,4");
  auto ori = Picture(2, 2, 3), src = Picture(2, 2, 4);
  TSidecarData d;
  Read(Version17Sidecar(&objects, &fi, ori.get(), src.get(), u"s,1.1.2.2"), false, d);
  EXPECT_EQ(d.Version, 17);
  EXPECT_EQ(PrepareLoadedRows(d, true), 17);
  EXPECT_EQ(d.Objects->Items(0)->Items(2)->Text(), u"plain");
  EXPECT_TRUE(SamePixels(d.OriBmp.get(), ori.get()));
}

// A trailing selection row goes only when the rows came from a file; a
// "Watermark" always goes.
TEST(ProjectSidecar, LoadedRowsDropSelectionAndWatermark) {
  for (bool fromFile : {true, false}) {
    TDoc doc;
    doc.Objects.AddItem(u"9,3,Watermark,0,0");
    doc.Objects.AddItem(u"8,14,selection,0,0");
    TSidecarData d;
    Read(doc.Write(!fromFile), !fromFile, d);
    PrepareLoadedRows(d, fromFile);
    EXPECT_EQ(d.Objects->IndexOfText(2, u"Watermark"), -1);
    EXPECT_EQ(d.Objects->IndexOfValue(1, 14) >= 0, !fromFile);
  }
}

// Damaged files never read beyond their bytes, never allocate beyond what a
// checked length or BMP header announces, and say why.
TEST(ProjectSidecar, DamagedFilesAreRefusedWithAReason) {
  TDoc doc;
  const RawByteString good = doc.Write(false);
  const size_t n = good.size();
  const size_t f = size_t(Int32At(good, n - 8));
  const size_t o = size_t(Int32At(good, n - 12 - f));
  auto refused = [](const RawByteString& B, bool InMemory) {
    TSidecarData d;
    try {
      Read(B, InMemory, d);
    } catch (const ESidecarError& e) {
      return !e.Message().empty();
    } catch (const EReadError&) {
      return false;  // must not come through
    }
    return false;
  };
  // Truncated at every byte boundary that matters and in between: from the
  // start (the end marker is lost) and cut from the front.
  for (size_t len = 0; len < n; len += (len < 64 || n - len < 64 ? 1 : 97)) {
    EXPECT_TRUE(refused(good.substr(0, len), false)) << "kept " << len;
    if (len > 0) EXPECT_TRUE(refused(good.substr(len), false)) << "dropped " << len;
  }
  // Each length field set to negative, huge, and one off.
  struct TField {
    const char* Name;
    size_t At;
  } fields[] = {{"file information", n - 8}, {"objects", n - 12 - f}};
  for (const TField& fl : fields)
    for (Integer v : {-1, INT32_MIN, INT32_MAX, Integer(n)}) {
      RawByteString b = good;
      b.replace(fl.At, 4, Int32(v));
      EXPECT_TRUE(refused(b, false)) << fl.Name << " " << v;
    }
  // Lengths inside the objects text: negative, huge, not a number, too long.
  const size_t objStart = n - 12 - f - o;
  for (const char16_t* cell : {u"#2#", u"#3#", u"#47#", u"row 1 cell 44"})
    for (const char16_t* v : {u"-5", u"99999999999", u"12x", u"2000000"}) {
      TDataTable objects;
      objects.Init(UTF8Decode(std::string_view(good.data() + objStart, o)));
      const String c = cell;
      if (c == u"row 1 cell 44")
        objects.Items(1)->Items(44)->SetText(v);
      else
        objects.Props(c == u"#2#" ? 2 : c == u"#3#" ? 3 : 47)->SetText(v);
      const std::string text = UTF8Encode(objects.ToString(true));
      RawByteString b = good.substr(0, objStart) + RawByteString(text) + Int32(Integer(text.size())) +
                        good.substr(n - 8 - f);
      EXPECT_TRUE(refused(b, false)) << UTF8Encode(c) << " = " << UTF8Encode(String(v));
    }
  // A raster block whose BMP header announces more than it inflates to, or
  // a huge size: refused without the allocation.
  {
    auto big = Picture(2, 2, 1);
    RawByteString bmp = Bmp(big.get());
    bmp.replace(18, 4, Int32(60000));
    bmp.replace(22, 4, Int32(60000));
    TDataTable objects;
    objects.SetPropCount(50);
    RawByteString raster = Zip(bmp);
    objects.Props(2)->SetText(IntToStr(Integer(raster.size())));
    objects.Props(3)->SetText(u"0");
    const std::string text = UTF8Encode(objects.ToString(true));
    const RawByteString b = raster + RawByteString(text) + Int32(Integer(text.size()));
    EXPECT_TRUE(refused(b, false));
  }
  // Garbage, and garbage in the compressed blocks.
  RawByteString junk(4096, '\0');
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = char(i * 131 + 7);
  EXPECT_TRUE(refused(junk, false));
  EXPECT_TRUE(refused(junk, true));
  RawByteString scrambled = good;
  for (size_t i = 0; i < 30; ++i) scrambled[i] = char(~scrambled[i]);
  EXPECT_TRUE(refused(scrambled, false));
}

// A file information that does not decipher is made anew (5 x 20) and the
// objects still load: version 18 for UTF-8 objects text, 17 for ANSI.
TEST(ProjectSidecar, UndecipherableFileInformationIsRebuilt) {
  TDoc doc;
  const RawByteString good = doc.Write(false);
  const size_t n = good.size();
  const size_t f = size_t(Int32At(good, n - 8));
  RawByteString b = good;
  for (size_t i = n - 8 - f; i < n - 8; ++i) b[i] = 'A';
  TSidecarData d;
  Read(b, false, d);
  EXPECT_TRUE(d.FileInfoRebuilt);
  EXPECT_EQ(d.FileInfo->ItemCount(), 5);
  EXPECT_EQ(d.FileInfo->Items(0)->ItemCount(), 20);
  EXPECT_EQ(d.Version, 18);
  EXPECT_EQ(d.Objects->Items(0)->Items(2)->Text(), u"rect 中文");
}

TEST(ProjectSidecar, OriginalNamesWithHashKeepThePropertyRow) {
  TDataTable t;
  t.SetPropCount(50);
  t.Props(SidecarProp::OriginalName)->SetText(EscapeOriginalName(u"a#1,|.png"));
  t.Props(SidecarProp::CanvasColor)->SetText(u"123");
  t.AddItem(u"1,3,first");
  TDataTable back;
  back.Init(t.ToString(true));
  EXPECT_EQ(UnescapeOriginalName(back.Props(SidecarProp::OriginalName)->Text()), u"a#1,|.png");
  EXPECT_EQ(back.Props(SidecarProp::CanvasColor)->Text(), u"123");
  ASSERT_EQ(back.ItemCount(), 1);
  EXPECT_EQ(back.Items(0)->Items(2)->Text(), u"first");
}

TEST(ProjectSidecar, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain \xe4\xb8\xad", 9));
  EXPECT_FALSE(IsValidUtf8("\xe4\xb8", 2));       // cut
  EXPECT_FALSE(IsValidUtf8("\xc0\x80", 2));       // overlong
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80", 3));   // surrogate
  EXPECT_FALSE(IsValidUtf8("\xd6\xd0\xce\xc4", 4));  // GBK
}
