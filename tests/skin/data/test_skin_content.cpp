// The skin content: entry lists, the whole ini text in the model's order, the
// stored-skin layout, its compressed block and the ".skn" envelope, with the
// damaged inputs each is refused for.
#include "common/gtest.h"

#include <cstring>

#include "gdiplus/ZlibStreams.h"
#include "skin/data/SkinContent.h"
#include "skin/data/StoredSkin.h"
#include "tests/skin/data/SkinTestUtil.h"

using namespace skintest;

namespace {

// A bottom-up 24-bit BMP file image of W x H pixels of one grey level.
TBytes Bmp(int W, int H, Byte Level) {
  const int Stride = (W * 3 + 3) & ~3;
  const Cardinal Size = 54 + Cardinal(Stride * H);
  TBytes B(Size, 0);
  auto Put = [&](size_t At, Cardinal V, int N) {
    for (int I = 0; I < N; ++I) B[At + I] = Byte(V >> (8 * I));
  };
  B[0] = 'B';
  B[1] = 'M';
  Put(2, Size, 4);
  Put(10, 54, 4);
  Put(14, 40, 4);
  Put(18, Cardinal(W), 4);
  Put(22, Cardinal(H), 4);
  Put(26, 1, 2);
  Put(28, 24, 2);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W * 3; ++X) B[54 + Y * Stride + X] = Level;
  return B;
}

// A skin text with the required sections; each part holds the keys of its
// section, and Extra any further sections.
String SkinText(const String& Pictures = String(), const String& Objects = u"count=0\n",
                const String& Controls = u"count=0\n", const String& Extra = String()) {
  return u"[VERSION]\nskinname=Small\n[PICTURES]\npicture=main.bmp\nmask=mask.bmp\n" + Pictures +
         u"[FORMINFO]\nclientrect=2,2,20,20\n[SKINOBJECTS]\n" + Objects + u"[SKINCONTROLS]\n" + Controls + Extra;
}
const String MinimalSkin = SkinText();

TBytes Inflate(const TBytes& Block) {
  std::vector<uint8_t> Out;
  EXPECT_EQ(ZlibInflate(Block.data(), Block.size(), size_t(1) << 30, Out), TZlibInflateResult::Ok);
  return TBytes(Out.begin(), Out.end());
}

Integer Le32(const TBytes& B, size_t At) {
  return Integer(Cardinal(B[At]) | Cardinal(B[At + 1]) << 8 | Cardinal(B[At + 2]) << 16 | Cardinal(B[At + 3]) << 24);
}

}  // namespace

TEST(SkinContent, EntryLists) {
  auto F = Ini(SkinText(String(), u"count=5\n0=odd:nosuchword\n1=close:stdbutton\n2=noentry\n3=:caption\n4=cap:caption:x\n",
                        u"count=4\n0=button:button\n1=button:panel\n2=:edit\n3=Button:checkradio\n",
                        u"[button]\nfontheight=20\n"));
  TspSkinContent C;
  C.LoadFromIni(F.get(), true);
  ASSERT_EQ(C.ObjectList->Count(), 2);
  EXPECT_EQ(C.GetIndex(u"close"), 0);
  EXPECT_EQ(C.GetIndex(u""), 1);  // an empty name is a name
  EXPECT_EQ(C.GetIndex(u"odd"), -1);
  EXPECT_EQ(C.GetIndex(u"noentry"), -1);
  // Split at the first ":": "cap" with the word "caption:x", which is none.
  EXPECT_EQ(C.GetIndex(u"cap"), -1);
  EXPECT_EQ(C.GetIndex(u"cap:caption"), -1);
  ASSERT_EQ(C.CtrlList->Count(), 4);
  EXPECT_EQ(C.GetControlIndex(u"button"), 0);
  EXPECT_TRUE(Is<TspDataSkinButtonControl>(static_cast<TObject*>(C.CtrlList->Items(0))));
  EXPECT_EQ(C.GetControlIndex(u"Button"), 3);  // names compare case and all
  EXPECT_EQ(C.GetControlIndex(u""), 2);
  EXPECT_EQ(static_cast<TspDataSkinButtonControl*>(C.CtrlList->Items(0))->FontHeight, 20);
  EXPECT_EQ(C.GetAreaIndex(u"x"), -1);
}

TEST(SkinContent, HugeCountsReadOnlyTheKeysThere) {
  auto F = Ini(SkinText(u"activepicturescount=2000000000\n0=a.bmp\n", u"count=0\n", u"count=2000000000\n0=b:bevel\n",
                        u"[SKINAREAS]\ncount=2147483647\n0=a:1,2,3,4;1,1,1,1,1\n"));
  TspSkinContent C;
  C.LoadFromIni(F.get(), false);
  EXPECT_LE(C.FActivePicturesNames->Count(), 8);
  EXPECT_LE(C.CtrlList->Count(), 2);
  EXPECT_EQ(C.GetControlIndex(u"b"), 0);
  EXPECT_EQ(C.GetAreaIndex(u"a"), 0);
}

TEST(SkinContent, StartCursorIndexAtLeastOne) {
  auto F = Ini(MinimalSkin + u"[CURSORS]\nstartcursorindex=-4\ncursorscount=1\n0=hand.cur\n");
  TspSkinContent C;
  C.LoadFromIni(F.get(), true);
  EXPECT_EQ(C.StartCursorIndex, 1);
  EXPECT_EQ(C.FCursorsNames->ToStringArray(), std::vector<String>{u"hand.cur"});
  TspSkinContent NoCursors;
  NoCursors.LoadFromIni(F.get(), false);
  EXPECT_EQ(NoCursors.FCursorsNames->Count(), 0);
}

TEST(SkinContent, WholeTextInTheModelsOrder) {
  auto F = Ini(SkinText(String(), u"count=2\n0=close:stdbutton\n1=bar:mainmenubarbutton\n",
                        u"count=2\n0=edit:memo\n1=panel:panel\n",
                        u"[SKINAREAS]\ncount=1\n0=a:1,2,3,4;0,1,0,1,0\n[unrelated]\nkept=1\n"));
  TspSkinContent C;
  C.LoadFromIni(F.get(), true);
  TMemIniFile Out;
  Out.WriteString(u"unrelated", u"kept", u"1");  // sections it does not write stay
  C.SaveToCustomIniFile(&Out);
  TStringList Sections;
  Out.ReadSections(&Sections);
  EXPECT_EQ(Sections.ToStringArray(),
            (std::vector<String>{u"unrelated", u"VERSION", u"PICTURES", u"CURSORS", u"FORMINFO", u"POPUPWINDOW",
                                 u"LAYERFRAME", u"HINTWINDOW", u"SKINAREAS", u"SKINCOLORS", u"SKINOBJECTS", u"close",
                                 u"bar", u"SKINCONTROLS", u"edit", u"panel"}));
  EXPECT_EQ(Section(&Out, u"VERSION"),
            (std::vector<String>{u"ver=2", u"skinname=Small", u"skinauthor=", u"authoremail=", u"authorurl=",
                                 u"skincomments="}));
  EXPECT_EQ(Section(&Out, u"PICTURES"),
            (std::vector<String>{u"picture=main.bmp", u"inactivepicture=", u"mask=mask.bmp", u"rolluppicture=",
                                 u"rollupmask=", u"activepicturescount=0"}));
  EXPECT_EQ(Section(&Out, u"SKINOBJECTS"),
            (std::vector<String>{u"count=2", u"0=close:stdbutton", u"1=bar:mainmenubarbutton"}));
  EXPECT_EQ(Section(&Out, u"SKINCONTROLS"), (std::vector<String>{u"count=2", u"0=edit:memo", u"1=panel:panel"}));
  EXPECT_EQ(Section(&Out, u"SKINAREAS"), (std::vector<String>{u"count=1", u"0=a:1,2,3,4;0,1,0,1,0"}));
  // A skin without [SKINCOLORS] reads ten black colours and writes them.
  EXPECT_EQ(Out.ReadString(u"SKINCOLORS", u"cbtnface", u"?"), u"0");
}

// Only a main picture and a mask: 2, byte 0 and the picture, byte 1, byte 0
// and the mask, byte 1, byte 1, Integer 0, the ini text with its BOM.
TEST(SkinContent, StoredLayoutWalkedByHand) {
  TspSkinContent C;
  auto F = Ini(MinimalSkin);
  C.LoadFromIni(F.get(), false);
  C.Pictures[TspSkinContent::spMain] = Bmp(3, 2, 10);
  C.Pictures[TspSkinContent::spMask] = Bmp(3, 2, 0);
  TBytes L = Inflate(C.SaveToStoredSkinBlock());
  size_t P = 0;
  EXPECT_EQ(Le32(L, P), 2);
  P += 4;
  EXPECT_EQ(L[P++], 0);
  EXPECT_EQ(L.substr(P, C.Pictures[0].size()), C.Pictures[0]);
  P += C.Pictures[0].size();
  EXPECT_EQ(L[P++], 1);  // inactive
  EXPECT_EQ(L[P++], 0);  // mask
  P += static_cast<size_t>(Le32(L, P + 2));
  EXPECT_EQ(L[P++], 1);  // roll-up
  EXPECT_EQ(L[P++], 1);  // roll-up mask
  EXPECT_EQ(Le32(L, P), 0);
  P += 4;
  const std::string Ini(L.begin() + P, L.end());
  EXPECT_EQ(Ini.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(Ini.substr(3, 11), "[VERSION]\r\n");
  EXPECT_NE(Ini.find("\r\n\r\n[PICTURES]\r\n"), std::string::npos);
}

TEST(SkinContent, StoredRoundTripKeepsEverything) {
  auto F = Ini(SkinText(u"activepicturescount=2\n0=a.bmp\n1=b.bmp\n", u"count=1\n0=close:stdbutton\n",
                        u"count=1\n0=button:button\n",
                        u"[close]\nhint=关闭\nskinrect=1,2,3,4\n[button]\nfontname=宋体\n"));
  TspSkinContent C;
  C.LoadFromIni(F.get(), false);
  C.Pictures[0] = Bmp(4, 4, 1);
  C.Pictures[1] = Bmp(4, 4, 2);
  C.Pictures[2] = Bmp(4, 4, 3);
  C.Pictures[3] = Bmp(4, 1, 4);
  C.Pictures[4] = Bmp(4, 1, 5);
  C.ActivePictures = {Bmp(1, 1, 6), Bmp(2, 3, 7)};
  TBytes Block = C.SaveToStoredSkinBlock();
  TspSkinContent Back;
  ASSERT_TRUE(Back.LoadFromStoredSkinBlock(Block.data(), Block.size()));
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Back.Pictures[I], C.Pictures[I]) << I;
  EXPECT_EQ(Back.ActivePictures, C.ActivePictures);
  EXPECT_EQ(static_cast<TspDataSkinObject*>(Back.ObjectList->Items(0))->Hint, u"关闭");
  EXPECT_EQ(static_cast<TspDataSkinButtonControl*>(Back.CtrlList->Items(0))->FontName, u"宋体");
  TMemIniFile A, B;
  C.SaveToCustomIniFile(&A);
  Back.SaveToCustomIniFile(&B);
  EXPECT_EQ(Text(&B), Text(&A));
}

TEST(SkinContent, LayoutVersionsCarryTheirPictures) {
  const TBytes P[5] = {Bmp(1, 1, 1), Bmp(1, 1, 2), Bmp(1, 1, 3), Bmp(1, 1, 4), Bmp(1, 1, 5)};
  // main, inactive, mask, roll-up, roll-up mask
  const bool Carried[4][5] = {{1, 0, 1, 0, 0}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 0, 0}};
  for (Integer V = 0; V <= 3; ++V) {
    SCOPED_TRACE(V);
    TspStoredSkinLayout L;
    L.Version = V;
    for (int I = 0; I < 5; ++I) L.Pictures[I] = P[I];
    L.IniText = "[x]\r\ny=1\r\n";
    TBytes Bytes = WriteStoredSkinLayout(L);
    TspStoredSkinView R;
    ASSERT_TRUE(ReadStoredSkinLayout(Bytes.data(), Bytes.size(), R));
    for (int I = 0; I < 5; ++I) {
      EXPECT_EQ(!R.Pictures[I].Empty(), Carried[V][I]) << I;
      if (Carried[V][I]) {
        EXPECT_EQ(R.Pictures[I].Bytes(), P[I]) << I;
      }
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(R.IniText.Data), R.IniText.Size), L.IniText);
  }
  TspStoredSkinLayout L;
  L.Version = 4;
  TBytes Bytes = WriteStoredSkinLayout(L);
  TspStoredSkinView R;
  R.Version = 9;
  EXPECT_FALSE(ReadStoredSkinLayout(Bytes.data(), Bytes.size(), R));
  EXPECT_EQ(R.Version, 9);
}

TEST(SkinContent, StoredTextEncodings) {
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const std::string Body = "[VERSION]\r\nskinname=Cool\r\n";
  std::string Utf16 = "\xFF\xFE";
  for (char Ch : Body) {
    Utf16 += Ch;
    Utf16 += '\0';
  }
  const Case Cases[] = {{"ANSI", Body}, {"UTF-8 BOM", "\xEF\xBB\xBF" + Body}, {"UTF-16 BOM", Utf16}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TStringList Lines;
    DecodeSkinLines({reinterpret_cast<const Byte*>(C.Bytes.data()), C.Bytes.size()}, &Lines);
    EXPECT_EQ(Lines.ToStringArray(), (std::vector<String>{u"[VERSION]", u"skinname=Cool"}));
  }
}

TEST(SkinContent, DamagedLayoutsAreRefused) {
  TspStoredSkinLayout Good;
  Good.Pictures[0] = Bmp(2, 2, 9);
  Good.ActivePictures = {Bmp(1, 1, 1)};
  Good.IniText = "[x]\r\ny=1\r\n";
  const TBytes G = WriteStoredSkinLayout(Good);
  auto Patch32 = [](TBytes B, size_t At, Cardinal V) {
    for (int I = 0; I < 4; ++I) B[At + I] = Byte(V >> (8 * I));
    return B;
  };
  const size_t Main = 5, MainSize = Good.Pictures[0].size();
  const size_t Count = Main + MainSize + 4;  // after the inactive, mask and roll-up flags
  struct Case {
    const char* Name;
    TBytes Bytes;
  };
  const Case Cases[] = {
      {"no version", TBytes(G.begin(), G.begin() + 3)},
      {"cut in the flags", TBytes(G.begin(), G.begin() + 4)},
      {"bfSize past the end", Patch32(G, Main + 2, Cardinal(G.size()))},
      {"bfSize below its headers", Patch32(G, Main + 2, 40)},
      {"not a bitmap", Patch32(G, Main, 0x12345678)},
      {"count of 2,000,000,000", Patch32(G, Count, 2000000000u)},
      {"count past the images", Patch32(G, Count, 3)},
      {"cut inside a picture", TBytes(G.begin(), G.begin() + Main + 20)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TspStoredSkinView R;
    EXPECT_THROW(ReadStoredSkinLayout(C.Bytes.data(), C.Bytes.size(), R), EspSkinError);
  }
  // A negative count reads no picture; the rest is the ini text.
  TBytes Neg = Patch32(G, Count, Cardinal(-1));
  TspStoredSkinView R;
  ASSERT_TRUE(ReadStoredSkinLayout(Neg.data(), Neg.size(), R));
  EXPECT_TRUE(R.ActivePictures.empty());
  EXPECT_EQ(R.IniText.Size, Good.ActivePictures[0].size() + Good.IniText.size());
}

TEST(SkinContent, DamagedBlocksAreRefused) {
  TspSkinContent C;
  auto F = Ini(MinimalSkin);
  C.LoadFromIni(F.get(), false);
  const TBytes Block = C.SaveToStoredSkinBlock();
  TBytes Cut(Block.begin(), Block.end() - 1);
  TBytes Trailing = Block + TBytes(1, 0);
  TBytes Garbage = Block;
  Garbage[Garbage.size() / 2] ^= 0x55;
  // 65 MB of zeros compress to a small block.
  std::vector<uint8_t> Packed;
  ASSERT_TRUE(ZlibDeflate(std::vector<uint8_t>(size_t(65) << 20).data(), size_t(65) << 20, 1, Packed));
  TBytes Bomb(Packed.begin(), Packed.end());
  for (const TBytes* B : {&Cut, &Trailing, &Garbage, &Bomb}) {
    TspSkinContent Staged;
    EXPECT_THROW(Staged.LoadFromStoredSkinBlock(B->data(), B->size()), EspSkinError);
  }
  TspSkinContent Ok;
  EXPECT_TRUE(Ok.LoadFromStoredSkinBlock(Block.data(), Block.size()));
  EXPECT_EQ(Ok.SkinName, u"Small");
}

TEST(SkinContent, SknEnvelope) {
  const TBytes Block = {1, 2, 3, 4, 5};
  const TBytes Skn = WriteSknEnvelope(Block);
  EXPECT_EQ(Skn.substr(0, 8), (TBytes{2, 0, 0, 0, 5, 0, 0, 0}));
  EXPECT_EQ(Skn.size() - 8, 5u);
  TBytes Back;
  ASSERT_TRUE(ReadSknEnvelope(Skn.data(), Skn.size(), Back));
  EXPECT_EQ(Back, Block);

  TBytes V4 = Skn;
  V4[0] = 4;
  Back = {9};
  EXPECT_FALSE(ReadSknEnvelope(V4.data(), V4.size(), Back));
  EXPECT_TRUE(Back.empty());
  TBytes V3 = Skn;
  V3[0] = 3;
  EXPECT_TRUE(ReadSknEnvelope(V3.data(), V3.size(), Back));

  TBytes Long = Skn;
  Long[4] = 6;  // one byte more than the file holds
  TBytes Negative = Skn;
  Negative[7] = 0x80;
  TBytes Short(Skn.begin(), Skn.begin() + 6);
  for (const TBytes* B : {&Long, &Negative, &Short}) {
    EXPECT_THROW(ReadSknEnvelope(B->data(), B->size(), Back), EspSkinError);
    EXPECT_TRUE(Back.empty());
  }
}
