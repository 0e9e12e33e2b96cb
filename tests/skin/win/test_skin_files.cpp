// Skins on disk: an ini skin folder loaded, packed into stored skins two
// ways, written as ".skn" and loaded back, the same content every way; the
// stored block walked by hand; damaged skins refused with the model, its
// forms and its file name as they were.
#include "common/gtest.h"

#include <cstring>
#include <functional>
#include <memory>

#include "classlib/JPEG.h"
#include "gdiplus/ZlibStreams.h"
#include "rtl/test_streams_tempdir.h"
#include "skin/data/SkinData.h"
#include "tests/skin/win/SkinFixture.h"

using namespace skintest;

namespace {

void WriteBytes(const String& Path, const TBytes& B) {
  TFileStream F(Path, fmCreate);
  if (!B.empty()) F.WriteBuffer(B.data(), static_cast<Integer>(B.size()));
}

TBytes ReadBytes(const String& Path) {
  TMemoryStream M;
  M.LoadFromFile(Path);
  return TBytes(static_cast<const Byte*>(M.Memory()), static_cast<size_t>(M.Size()));
}

TBytes Bmp(TBitmap* B) {
  TMemoryStream S;
  B->SaveToStream(&S);
  return TBytes(static_cast<const Byte*>(S.Memory()), static_cast<size_t>(S.Size()));
}

// A 32 x 32 monochrome cursor file with its hot spot at (3, 4).
TBytes CursorFile() {
  TBytes B;
  auto Put = [&](Cardinal V, int N) {
    for (int I = 0; I < N; ++I) B.push_back(Byte(V >> (8 * I)));
  };
  const Cardinal Image = 40 + 8 + 32 * 4 * 2;
  Put(0, 2), Put(2, 2), Put(1, 2);                         // a cursor directory of one image
  Put(32, 1), Put(32, 1), Put(0, 1), Put(0, 1), Put(3, 2), Put(4, 2), Put(Image, 4), Put(22, 4);
  Put(40, 4), Put(32, 4), Put(64, 4), Put(1, 2), Put(1, 2);  // the image header (XOR and AND masks)
  Put(0, 4), Put(0, 4), Put(0, 4), Put(0, 4), Put(2, 4), Put(0, 4);
  Put(0x000000, 4), Put(0xFFFFFF, 4);                      // black, white
  for (int Y = 0; Y < 32; ++Y) Put(Y < 16 ? 0xFFFF0000u : 0, 4);  // XOR
  for (int Y = 0; Y < 32; ++Y) Put(Y < 16 ? 0x0000FFFFu : 0xFFFFFFFFu, 4);  // AND
  return B;
}

TBytes BlockOf(TspCompressedStoredSkin* S) {
  return TBytes(static_cast<const Byte*>(S->CompressedStream()->Memory()),
                static_cast<size_t>(S->CompressedStream()->Size()));
}

Cardinal Le32(const TBytes& B, size_t At) {
  return Cardinal(B[At]) | Cardinal(B[At + 1]) << 8 | Cardinal(B[At + 2]) << 16 | Cardinal(B[At + 3]) << 24;
}

String IniTextOf(TspSkinData* D) {
  TMemIniFile F;
  D->SaveToCustomIniFile(&F);
  TStringList L;
  F.GetStrings(&L);
  return L.Text();
}

// Everything a model holds, as one comparable record.
struct Snapshot {
  String Ini;
  TBytes Pictures[5];
  std::vector<TBytes> Active;
  bool Empty;
  String FileName;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(TspSkinData* D) {
  Snapshot S;
  S.Ini = IniTextOf(D);
  TBitmap* const P[5] = {D->FPicture, D->FInActivePicture, D->FMask, D->FRollUpPicture, D->FRollUpMask};
  for (int I = 0; I < 5; ++I)
    if (!P[I]->Empty()) S.Pictures[I] = Bmp(P[I]);
  for (Integer I = 0; I < D->FActivePictures->Count(); ++I)
    S.Active.push_back(Bmp(static_cast<TBitmap*>(D->FActivePictures->Items(I))));
  S.Empty = D->Empty;
  S.FileName = D->SkinFileName();
  return S;
}

// A small skin folder: the ini text in UTF-8 with a byte-order mark, a 24-bit
// main picture and active picture, an 8-bit palettised mask.
const char* const SkinIni =
    "\xEF\xBB\xBF"
    "[VERSION]\r\nskinname=小皮肤\r\nskinauthor=Corvane\r\n\r\n"
    "[PICTURES]\r\npicture=main.bmp\r\nmask=mask.bmp\r\nactivepicturescount=1\r\n0=parts.bmp\r\n\r\n"
    "[FORMINFO]\r\nlefttoppoint=4,20\r\nrighttoppoint=36,20\r\nleftbottompoint=4,28\r\nrightbottompoint=36,28\r\n"
    "clientrect=3,18,37,29\r\n\r\n"
    "[SKINOBJECTS]\r\ncount=1\r\n0=closebutton:stdbutton\r\n\r\n"
    "[closebutton]\r\nhint=关闭\r\ncommand=cmclose\r\nskinrect=30,2,38,10\r\nactivepictureindex=0\r\n\r\n"
    "[SKINCONTROLS]\r\ncount=2\r\n0=button:button\r\n1=panel:panel\r\n\r\n"
    "[button]\r\npictureindex=0\r\nskinrect=0,0,10,8\r\nfontname=Arial\r\n\r\n"
    "[panel]\r\npictureindex=0\r\nskinrect=10,0,20,8\r\n\r\n";

class SkinFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(Dir.Path("skin.ini"), TBytes(reinterpret_cast<const Byte*>(SkinIni), std::strlen(SkinIni)));
    FlatPicture(40, 30, clSilver, {{TRect(3, 18, 37, 29), clWhite}, {TRect(30, 2, 38, 10), clRed}})
        ->SaveToFile(Dir.Path("main.bmp"));
    FlatPicture(40, 30, clWhite, {{TRect(2, 2, 38, 28), clBlack}}, pf8bit)->SaveToFile(Dir.Path("mask.bmp"));
    FlatPicture(20, 8, clGreen, {{TRect(10, 0, 20, 8), clBlue}})->SaveToFile(Dir.Path("parts.bmp"));
  }
  TTempFolder Dir{"skinfiles"};
};

}  // namespace

TEST_F(SkinFiles, OneSkinEveryWay) {
  // The mask is an 8-bit picture with a colour table.
  const TBytes MaskFile = ReadBytes(Dir.Path("mask.bmp"));
  ASSERT_EQ(MaskFile[28], 8);

  TspSkinData FromFile(nullptr);
  FromFile.LoadFromFile(Dir.Path("skin.ini"));
  ASSERT_FALSE(FromFile.Empty);
  EXPECT_EQ(FromFile.SkinName, u"小皮肤");
  EXPECT_EQ(FromFile.SkinFileName(), Dir.Path("skin.ini"));
  EXPECT_EQ(FromFile.FPicture->Width(), 40);
  EXPECT_EQ(FromFile.FMask->PixelFormat(), pf8bit);
  EXPECT_EQ(FromFile.FPicture->Canvas()->Pixels(33, 5), clRed);
  EXPECT_EQ(FromFile.FActivePictures->Count(), 1);
  EXPECT_EQ(FromFile.MaskRectArea, TRect(3, 18, 37, 29));  // a mask: the area is the client rect
  auto* Close = dynamic_cast<TspDataSkinStdButton*>(static_cast<TObject*>(FromFile.ObjectList->Items(0)));
  ASSERT_NE(Close, nullptr);
  EXPECT_EQ(Close->Hint, u"关闭");
  const Snapshot Reference = Take(&FromFile);

  TspCompressedStoredSkin FromIni(nullptr), FromModel(nullptr);
  FromIni.LoadFromIniFile(Dir.Path("skin.ini"));
  FromModel.LoadFromSkinData(&FromFile);
  FromModel.SaveToCompressFile(Dir.Path("model.skn"));
  FromFile.SaveToCompressedFile(Dir.Path("model2.skn"));
  EXPECT_EQ(ReadBytes(Dir.Path("model2.skn")), ReadBytes(Dir.Path("model.skn")));
  FromIni.SaveToCompressFile(Dir.Path("ini.skn"));

  auto Loaded = [&](const std::function<void(TspSkinData*)>& Load, const String& FileName) {
    TspSkinData D(nullptr);
    Load(&D);
    Snapshot S = Take(&D);
    EXPECT_EQ(S.FileName, FileName);
    S.FileName = Reference.FileName;
    return S;
  };
  EXPECT_EQ(Loaded([&](TspSkinData* D) { D->LoadCompressedStoredSkin(&FromIni); }, u""), Reference);
  EXPECT_EQ(Loaded([&](TspSkinData* D) { D->LoadCompressedStoredSkin(&FromModel); }, u""), Reference);
  EXPECT_EQ(Loaded([&](TspSkinData* D) { D->LoadFromCompressedFile(Dir.Path("model.skn")); }, Dir.Path("model.skn")),
            Reference);
  EXPECT_EQ(Loaded([&](TspSkinData* D) { D->LoadFromCompressedFile(Dir.Path("ini.skn")); }, Dir.Path("ini.skn")),
            Reference);

  // Written back as an ini skin beside its pictures, it loads the same.
  FromFile.SaveToFile(Dir.Path("saved.ini"));
  EXPECT_EQ(ReadBytes(Dir.Path("saved.ini")).substr(0, 3), (TBytes{0xEF, 0xBB, 0xBF}));
  EXPECT_EQ(Loaded([&](TspSkinData* D) { D->LoadFromFile(Dir.Path("saved.ini")); }, Dir.Path("saved.ini")), Reference);

  // The ".skn" file: 02 00 00 00, the block's length, the block.
  const TBytes Skn = ReadBytes(Dir.Path("model.skn"));
  EXPECT_EQ(Skn.substr(0, 4), (TBytes{2, 0, 0, 0}));
  EXPECT_EQ(Le32(Skn, 4), Skn.size() - 8);
  EXPECT_EQ(Skn.substr(8), BlockOf(&FromModel));
}

// The block LoadFromIniFile makes, inflated with zlib and walked by hand.
TEST_F(SkinFiles, BlockWalkedByHand) {
  TspCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromIniFile(Dir.Path("skin.ini"));
  const TBytes Block = BlockOf(&Stored);
  std::vector<uint8_t> Out;
  ASSERT_EQ(ZlibInflate(Block.data(), Block.size(), size_t(1) << 26, Out), TZlibInflateResult::Ok);
  const TBytes L(Out.begin(), Out.end());
  size_t P = 0;
  EXPECT_EQ(Le32(L, P), 2u);
  P += 4;
  Cardinal Sum = 0;
  auto Picture = [&](int Width, int Bits) {
    EXPECT_EQ(L[P++], 0);
    EXPECT_EQ(L[P], 'B');
    EXPECT_EQ(L[P + 1], 'M');
    const Cardinal Size = Le32(L, P + 2);
    EXPECT_EQ(Le32(L, P + 18), Cardinal(Width));
    EXPECT_EQ(L[P + 28], Bits);
    Sum += Size;
    P += Size;
  };
  Picture(40, 24);        // main
  EXPECT_EQ(L[P++], 1);   // no inactive picture
  Picture(40, 8);         // mask
  EXPECT_EQ(L[P++], 1);   // no roll-up picture
  EXPECT_EQ(L[P++], 1);   // no roll-up mask
  EXPECT_EQ(Le32(L, P), 1u);
  P += 4;
  const Cardinal Before = Sum;
  EXPECT_EQ(L[P], 'B');
  Sum += Le32(L, P + 2);
  P += Le32(L, P + 2);
  EXPECT_GT(Sum, Before);
  const std::string Text(L.begin() + P, L.end());
  EXPECT_EQ(Text, SkinIni);  // the file's own lines, its byte-order mark again
  EXPECT_EQ(L.size(), 4 + 5 + 4 + Sum + Text.size());
}

TEST_F(SkinFiles, PicturesAndCursorsOfAnIniSkin) {
  // A ".jpg" picture loads through the JPEG class; the stored skin takes BMP only.
  auto Jpg = FlatPicture(16, 16, clYellow);
  TJPEGImage J;
  J.Assign(Jpg.get());
  J.SaveToFile(Dir.Path("back.jpg"));
  std::string Ini = SkinIni;
  const std::string From = "0=parts.bmp";
  Ini.replace(Ini.find(From), From.size(), "0=back.jpg");
  Ini += "[CURSORS]\r\nstartcursorindex=0\r\ncursorscount=2\r\n0=missing.cur\r\n1=hand.cur\r\n";
  WriteBytes(Dir.Path("jpg.ini"), TBytes(reinterpret_cast<const Byte*>(Ini.data()), Ini.size()));
  WriteBytes(Dir.Path("hand.cur"), CursorFile());
  const Integer Slot = 1 + 1;  // start 0 is raised to 1; the second cursor
  Screen->SetCursors(Slot, nullptr);
  const HCURSOR Default = Screen->Cursors(Slot);
  {
    TspSkinData Build(nullptr);
    Build.BuildMode = true;  // loads no cursor
    Build.LoadFromFile(Dir.Path("jpg.ini"));
    EXPECT_EQ(Screen->Cursors(Slot), Default);
  }
  TspSkinData D(nullptr);
  D.LoadFromFile(Dir.Path("jpg.ini"));
  ASSERT_EQ(D.FActivePictures->Count(), 1);
  EXPECT_EQ(static_cast<TBitmap*>(D.FActivePictures->Items(0))->Width(), 16);
  EXPECT_EQ(D.StartCursorIndex, 1);
  EXPECT_EQ(D.FCursorsNames->ToStringArray(), (std::vector<String>{u"missing.cur", u"hand.cur"}));
  const HCURSOR Hand = Screen->Cursors(Slot);
  EXPECT_NE(Hand, Default);
  ICONINFO Info{};
  ASSERT_TRUE(GetIconInfo(Hand, &Info));
  EXPECT_EQ(Info.xHotspot, 3u);
  EXPECT_EQ(Info.yHotspot, 4u);
  if (Info.hbmMask) DeleteObject(Info.hbmMask);
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
  Screen->SetCursors(Slot, nullptr);
  TspCompressedStoredSkin Stored(nullptr);
  const TBytes Before = {1, 2, 3};
  Stored.CompressedStream()->WriteBuffer(Before.data(), 3);
  EXPECT_THROW(Stored.LoadFromIniFile(Dir.Path("jpg.ini")), Exception);
  EXPECT_TRUE(Stored.Empty());
  // A text without the required sections keeps the block.
  WriteBytes(Dir.Path("partial.ini"), TBytes(reinterpret_cast<const Byte*>("[VERSION]\r\nver=2\r\n"), 18));
  Stored.LoadFromIniFile(Dir.Path("skin.ini"));
  const TBytes Kept = BlockOf(&Stored);
  Stored.LoadFromIniFile(Dir.Path("partial.ini"));
  EXPECT_EQ(BlockOf(&Stored), Kept);
  // An empty stored skin writes no file.
  TspCompressedStoredSkin Nothing(nullptr);
  Nothing.SaveToCompressFile(Dir.Path("none.skn"));
  EXPECT_FALSE(FileExists(Dir.Path("none.skn")));
}

TEST_F(SkinFiles, CompressStreamReadsFromItsStart) {
  TspCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromIniFile(Dir.Path("skin.ini"));
  TMemoryStream S;
  Stored.SaveToCompressStream(&S);
  S.SetPosition(S.Size() - 3);
  TspCompressedStoredSkin Back(nullptr);
  Back.LoadFromCompressStream(&S);
  EXPECT_EQ(BlockOf(&Back), BlockOf(&Stored));
  TMemoryStream Layout;
  Back.DeCompressToStream(&Layout);
  EXPECT_EQ(static_cast<const Byte*>(Layout.Memory())[0], 2);
}

namespace {

// Counts the skin messages a form receives.
class TCountingForm : public TForm {
 public:
  TCountingForm() : TForm(nullptr) {}
  int Count = 0;

 protected:
  void WndProc(TMessage& M) override {
    if (M.Msg >= FEM_SKIN_BEFORE_CHANGE && M.Msg <= FEM_SKIN_CHANGED_MDI) ++Count;
    TForm::WndProc(M);
  }
};

TBytes Patch32(TBytes B, size_t At, Cardinal V) {
  for (int I = 0; I < 4; ++I) B[At + I] = Byte(V >> (8 * I));
  return B;
}

}  // namespace

// Every damaged skin raises (or, for a version above 3 and a text without the
// required sections, is refused silently); either way the model keeps its
// skin and file name and no form hears of it; a good load works afterwards.
TEST_F(SkinFiles, DamagedSkinsChangeNothing) {
  TCountingForm Form;
  TspSkinData D(&Form);
  D.SetShowLayeredBorders(false);
  D.LoadFromFile(Dir.Path("skin.ini"));
  const Snapshot Good = Take(&D);
  ASSERT_FALSE(Good.Empty);

  // A stored skin to damage: its layout, block and ".skn" file.
  TspCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromSkinData(&D);
  const TBytes Block = BlockOf(&Stored);
  std::vector<uint8_t> Inflated;
  ASSERT_EQ(ZlibInflate(Block.data(), Block.size(), size_t(1) << 26, Inflated), TZlibInflateResult::Ok);
  const TBytes Layout(Inflated.begin(), Inflated.end());
  const size_t MainSize = Le32(Layout, 5 + 2);
  const size_t MaskAt = 4 + 1 + MainSize + 1 + 1;
  const size_t CountAt = MaskAt + Le32(Layout, MaskAt + 2) + 2;
  ASSERT_EQ(Le32(Layout, CountAt), 1u);
  auto Skn = [&](const TBytes& L) { return WriteSknEnvelope(CompressSkinBlock(L)); };
  TBytes Cut = WriteSknEnvelope(TBytes(Block.begin(), Block.end() - 1));
  std::vector<uint8_t> Bomb;
  ASSERT_TRUE(ZlibDeflate(std::vector<uint8_t>(size_t(65) << 20).data(), size_t(65) << 20, 1, Bomb));

  std::string Ini = SkinIni;
  auto IniWith = [&](const std::string& From, const std::string& To) {
    std::string S = Ini;
    S.replace(S.find(From), From.size(), To);
    return TBytes(reinterpret_cast<const Byte*>(S.data()), S.size());
  };

  struct Case {
    const char* Name;
    TBytes File;  // written as "bad.skn" or "bad.ini"
    bool IsIni;
    bool Raises;
  };
  const Case Cases[] = {
      {"a rect with an empty field", IniWith("skinrect=0,0,10,8", "skinrect=1,2,,4"), true, true},
      {"a picture file missing", IniWith("mask=mask.bmp", "mask=gone.bmp"), true, true},
      {"no [SKINCONTROLS]", IniWith("[SKINCONTROLS]\r\ncount=2", "[OTHER]\r\ncount=2"), true, false},
      {"a block cut by one byte", Cut, false, true},
      {"an inner version 4", Skn(Patch32(Layout, 0, 4)), false, false},
      {"an envelope version 4", Patch32(Skn(Layout), 0, 4), false, false},
      {"an envelope longer than the file", Patch32(Skn(Layout), 4, Cardinal(Skn(Layout).size())), false, true},
      {"an envelope length below 0", Patch32(Skn(Layout), 4, 0xFFFFFFF0u), false, true},
      {"an inflate bomb", WriteSknEnvelope(TBytes(Bomb.begin(), Bomb.end())), false, true},
      {"a bfSize past the end", Skn(Patch32(Layout, 5 + 2, Cardinal(Layout.size()))), false, true},
      {"a picture the bitmap reader refuses", Skn(Patch32(Layout, 5 + 26, 0x00070001u)), false, true},
      {"a count of 2,000,000,000", Skn(Patch32(Layout, CountAt, 2000000000u)), false, true},
      {"an empty file", TBytes(), false, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const String Path = Dir.Path(C.IsIni ? "bad.ini" : "bad.skn");
    WriteBytes(Path, C.File);
    Form.Count = 0;
    auto Load = [&] {
      if (C.IsIni) D.LoadFromFile(Path);
      else D.LoadFromCompressedFile(Path);
    };
    if (C.Raises) EXPECT_THROW(Load(), Exception);
    else EXPECT_NO_THROW(Load());
    EXPECT_EQ(Form.Count, 0);
    EXPECT_FALSE(D.ChangeSkinDataProcess);
    EXPECT_TRUE(Take(&D) == Good);
  }
  EXPECT_THROW(D.LoadFromCompressedFile(Dir.Path("nothing-here.skn")), EFOpenError);
  EXPECT_TRUE(Take(&D) == Good);

  // A good load still works and is heard.
  Form.Count = 0;
  WriteBytes(Dir.Path("good.skn"), Skn(Layout));
  D.LoadFromCompressedFile(Dir.Path("good.skn"));
  EXPECT_EQ(Form.Count, 3);
  EXPECT_EQ(D.SkinFileName(), Dir.Path("good.skn"));
  EXPECT_EQ(Take(&D).Ini, Good.Ini);
}
