// The value syntax of skin texts and the ini behaviour the skin relies on.
#include "common/gtest.h"

#include "skin/data/SkinIni.h"
#include "tests/skin/data/SkinTestUtil.h"

using namespace skintest;

namespace {

struct RectCase {
  const char16_t* Text;
  bool Raises;
  TRect Expected;
};

}  // namespace

TEST(SkinValues, RectAndPointTexts) {
  const RectCase Cases[] = {
      {u"3,3,20,18", false, TRect(3, 3, 20, 18)},
      {u" 3 , 3 , 20 , 18 ", false, TRect(3, 3, 20, 18)},
      {u"-3,4,-5,6", false, TRect(3, 4, 5, 6)},         // signs are dropped
      {u"1.5,2,3,4", false, TRect(15, 2, 3, 4)},        // so are decimal points
      {u"1,2,3,4,5", false, TRect(1, 2, 3, 4)},         // surplus fields are ignored
      {u"1,2,3,4,x,,", false, TRect(1, 2, 3, 4)},
      {u"0012,7,8,9", false, TRect(12, 7, 8, 9)},
      {u"2147483647,0,0,0", false, TRect(2147483647, 0, 0, 0)},
      {u"", true, {}},
      {u"1,2,3", true, {}},                            // the fourth field is missing
      {u"1,2,,4", true, {}},
      {u"a,b,c,d", true, {}},
      {u"2147483648,0,0,0", true, {}},                 // beyond a 32-bit integer
  };
  for (const RectCase& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Text));
    if (C.Raises) EXPECT_THROW(TextToRect(C.Text), EConvertError);
    else EXPECT_EQ(TextToRect(C.Text), C.Expected);
  }
  EXPECT_EQ(TextToPoint(u"-2,5"), TPoint(2, 5));
  EXPECT_EQ(TextToPoint(u"7,8,9"), TPoint(7, 8));
  EXPECT_THROW(TextToPoint(u"7"), EConvertError);
  EXPECT_EQ(RectToText(TRect(-1, 2, 3, -4)), u"-1,2,3,-4");

  auto F = Ini(u"[s]\nr=3,3,20,18\np=4,5\nempty=\n");
  EXPECT_EQ(ReadRectKey(F.get(), u"s", u"r"), TRect(3, 3, 20, 18));
  EXPECT_EQ(ReadRectKey(F.get(), u"s", u"missing"), TRect());
  EXPECT_EQ(ReadPointKey(F.get(), u"s", u"p"), TPoint(4, 5));
  EXPECT_EQ(ReadPointKey(F.get(), u"s", u"missing"), TPoint());
  EXPECT_THROW(ReadRectKey(F.get(), u"s", u"empty"), EConvertError);
  WriteRectKey(F.get(), u"s", u"r", TRect(3, 3, 20, 18));
  WritePointKey(F.get(), u"s", u"p", TPoint(-1, 2));
  EXPECT_EQ(F->ReadString(u"s", u"r", u""), u"3,3,20,18");
  EXPECT_EQ(F->ReadString(u"s", u"p", u""), u"-1,2");
}

TEST(SkinValues, IntegersAndBooleans) {
  auto F = Ini(u"[s]\na=12\nb=$1F\nc=0x1f\nd=12abc\ne=\nt1=1\nt2=01\nt3=$1\nf1=2\nf2=-1\nf3=true\nf4=0\n");
  const std::pair<const char16_t*, Integer> Ints[] = {{u"a", 12}, {u"b", 31}, {u"c", 31}, {u"d", -7}, {u"e", -7},
                                                      {u"missing", -7}};
  for (auto [Key, V] : Ints) EXPECT_EQ(F->ReadInteger(u"s", Key, -7), V) << ToUtf8(Key);
  for (const char16_t* Key : {u"t1", u"t2", u"t3"}) EXPECT_TRUE(ReadBoolKey(F.get(), u"s", Key)) << ToUtf8(Key);
  for (const char16_t* Key : {u"f1", u"f2", u"f3", u"f4", u"missing"})
    EXPECT_FALSE(ReadBoolKey(F.get(), u"s", Key)) << ToUtf8(Key);
  WriteBoolKey(F.get(), u"s", u"w1", true);
  WriteBoolKey(F.get(), u"s", u"w0", false);
  EXPECT_EQ(F->ReadString(u"s", u"w1", u""), u"1");
  EXPECT_EQ(F->ReadString(u"s", u"w0", u""), u"0");
}

TEST(SkinValues, FontStyles) {
  auto F = Ini(u"[s]\na=fsbold,fsitalic\nb=fsitalic,fsbold\nc=xfsunderlinex fsstrikeout\nd=FSBOLD\n");
  EXPECT_EQ(ReadFontStyleKey(F.get(), u"s", u"a"), fsBold | fsItalic);
  EXPECT_EQ(ReadFontStyleKey(F.get(), u"s", u"b"), fsBold | fsItalic);
  EXPECT_EQ(ReadFontStyleKey(F.get(), u"s", u"c"), fsUnderline | fsStrikeOut);  // substrings count
  EXPECT_EQ(ReadFontStyleKey(F.get(), u"s", u"d"), 0);                          // case counts
  EXPECT_EQ(ReadFontStyleKey(F.get(), u"s", u"missing"), 0);
  WriteFontStyleKey(F.get(), u"s", u"b", fsItalic | fsBold);
  EXPECT_EQ(F->ReadString(u"s", u"b", u"?"), u"fsbold,fsitalic");
  WriteFontStyleKey(F.get(), u"s", u"all", fsStrikeOut | fsUnderline | fsItalic | fsBold);
  EXPECT_EQ(F->ReadString(u"s", u"all", u"?"), u"fsbold,fsitalic,fsunderline,fsstrikeout");
  WriteFontStyleKey(F.get(), u"s", u"none", 0);
  EXPECT_EQ(F->ReadString(u"s", u"none", u"?"), u"");
}

// Each word reader on a missing key, an empty value, an exact word, the word
// in capitals and an unknown word.
TEST(SkinValues, WordReadersFallToTheLastWord) {
  auto F = Ini(
      u"[s]\n"
      u"st_empty=\nst_exact=stvert\nst_upper=STFULL\nst_other=sthorz2\n"
      u"mk_empty=\nmk_exact=mkpush\nmk_upper=MKPUSH\nmk_other=push\n"
      u"ie_empty=\nie_exact=ienoise\nie_upper=IENOISE\nie_other=noise\n"
      u"al_empty=\nal_exact=taleftjustify\nal_upper=TACENTER\nal_other=center\n"
      u"cm_empty=\ncm_exact=cmclose\ncm_upper=CMCLOSE\ncm_other=close\ncm_tray=cmminimizetotray\n"
      u"gk_empty=\ngk_exact=gkhorizontal\ngk_upper=GKHORIZONTAL\ngk_other=horizontal\n"
      u"rk_empty=\nrk_exact=rkhorizontal\nrk_upper=RKROUND\nrk_other=rkvertical\n"
      u"fp_empty=\nfp_exact=fphorizontal\nfp_upper=FPHORIZONTAL\nfp_other=vertical\n");
  auto* I = F.get();
  struct Case {
    const char16_t* Prefix;
    std::function<int(const String&)> Read;
    int Missing, Empty, Exact, Upper, Other;
  };
  const Case Cases[] = {
      {u"st", [&](const String& K) { return int(ReadStretchTypeKey(I, u"s", K)); }, spstFull, spstHorz, spstVert,
       spstHorz, spstHorz},
      {u"mk", [&](const String& K) { return int(ReadMorphKindKey(I, u"s", K)); }, mkDefault, mkDefault, mkPush,
       mkDefault, mkDefault},
      {u"ie", [&](const String& K) { return int(ReadInActiveEffectKey(I, u"s", K)); }, ieBrightness, ieGrayScale,
       ieNoise, ieGrayScale, ieGrayScale},
      {u"al", [&](const String& K) { return int(ReadAlignmentKey(I, u"s", K)); }, taCenter, taRightJustify,
       taLeftJustify, taRightJustify, taRightJustify},
      {u"cm", [&](const String& K) { return int(ReadStdCommandKey(I, u"s", K)); }, cmDefault, cmMinimizeToTray,
       cmClose, cmMinimizeToTray, cmMinimizeToTray},
      {u"gk", [&](const String& K) { return int(ReadGaugeKindKey(I, u"s", K)); }, gkHorizontal, gkVertical,
       gkHorizontal, gkVertical, gkVertical},
      {u"rk", [&](const String& K) { return int(ReadRegulatorKindKey(I, u"s", K)); }, rkRound, rkVertical,
       rkHorizontal, rkVertical, rkVertical},
      {u"fp", [&](const String& K) { return int(ReadFramesPlacementKey(I, u"s", K)); }, fpHorizontal, fpVertical,
       fpHorizontal, fpVertical, fpVertical},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Prefix));
    const String P = String(C.Prefix) + u"_";
    EXPECT_EQ(C.Read(P + u"missing"), C.Missing);
    EXPECT_EQ(C.Read(P + u"empty"), C.Empty);
    EXPECT_EQ(C.Read(P + u"exact"), C.Exact);
    EXPECT_EQ(C.Read(P + u"upper"), C.Upper);
    EXPECT_EQ(C.Read(P + u"other"), C.Other);
  }
  EXPECT_EQ(ReadStdCommandKey(I, u"s", u"cm_tray"), cmMinimizeToTray);  // never tested by the reader
}

TEST(SkinValues, WordWriters) {
  TMemIniFile F;
  auto W = [&](const std::function<void(const String&)>& Write) {
    Write(u"k");
    return F.ReadString(u"s", u"k", u"?");
  };
  EXPECT_EQ(W([&](const String& K) { WriteStretchTypeKey(&F, u"s", K, spstHorz); }), u"sthorz");
  EXPECT_EQ(W([&](const String& K) { WriteStretchTypeKey(&F, u"s", K, TspStretchType(7)); }), u"");
  EXPECT_EQ(W([&](const String& K) { WriteMorphKindKey(&F, u"s", K, mkRightSlide); }), u"mkrightslide");
  EXPECT_EQ(W([&](const String& K) { WriteMorphKindKey(&F, u"s", K, TMorphKind(9)); }), u"");
  EXPECT_EQ(W([&](const String& K) { WriteInActiveEffectKey(&F, u"s", K, ieSplitBlur); }), u"iesplitblur");
  EXPECT_EQ(W([&](const String& K) { WriteInActiveEffectKey(&F, u"s", K, TspInActiveEffect(6)); }), u"");
  EXPECT_EQ(W([&](const String& K) { WriteAlignmentKey(&F, u"s", K, taCenter); }), u"tacenter");
  EXPECT_EQ(W([&](const String& K) { WriteAlignmentKey(&F, u"s", K, TAlignment(5)); }), u"tarightjustify");
  EXPECT_EQ(W([&](const String& K) { WriteStdCommandKey(&F, u"s", K, cmRollUp); }), u"cmrollup");
  EXPECT_EQ(W([&](const String& K) { WriteStdCommandKey(&F, u"s", K, TStdCommand(12)); }), u"cmminimizetotray");
  EXPECT_EQ(W([&](const String& K) { WriteGaugeKindKey(&F, u"s", K, gkVertical); }), u"gkvertical");
  EXPECT_EQ(W([&](const String& K) { WriteRegulatorKindKey(&F, u"s", K, rkVertical); }), u"rkvertical");
  EXPECT_EQ(W([&](const String& K) { WriteFramesPlacementKey(&F, u"s", K, fpVertical); }), u"fpvertical");
}

TEST(SkinValues, ListsAppendAndTrustNoCount) {
  auto F = Ini(
      u"[a]\nactivepicturescount=2\n0=one.bmp\n1=two.bmp\n"
      u"[b]\nsymbolslinecount=2\nsymbolsline0=abc\nsymbolsline1=def\n"
      u"[huge]\ncount=2147483647\n0=x\n1=y\n"
      u"[neg]\ncount=-5\n0=x\n");
  TStringList L;
  L.Add(u"kept");
  ReadCountedStringsKey(F.get(), u"a", u"activepictures", &L);
  EXPECT_EQ(L.ToStringArray(), (std::vector<String>{u"kept", u"one.bmp", u"two.bmp"}));
  ReadLinesKey(F.get(), u"b", u"symbols", &L);
  EXPECT_EQ(L.Count(), 5);
  EXPECT_EQ(L.Strings(4), u"def");
  // A count far beyond the keys reads only the keys the section has (the
  // count key among them, read as an empty entry), and at once.
  TStringList H;
  ReadCountedStringsKey(F.get(), u"huge", u"", &H);
  EXPECT_EQ(H.ToStringArray(), (std::vector<String>{u"x", u"y", u""}));
  TStringList N;
  ReadCountedStringsKey(F.get(), u"neg", u"", &N);
  EXPECT_EQ(N.Count(), 0);

  TMemIniFile Out;
  WriteCountedStringsKey(&Out, u"p", u"cursors", &L);
  WriteLinesKey(&Out, u"q", u"symbols", &L);
  EXPECT_EQ(Section(&Out, u"p").front(), u"cursorscount=5");
  EXPECT_EQ(Section(&Out, u"p")[1], u"0=kept");
  EXPECT_EQ(Section(&Out, u"q")[5], u"symbolsline4=def");
}

TEST(SkinValues, RequiredSections) {
  const String Full =
      u"[VERSION]\nver=2\n[PICTURES]\npicture=a.bmp\n[FORMINFO]\nclientrect=1,1,2,2\n"
      u"[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n";
  EXPECT_TRUE(HasRequiredSkinSections(Ini(Full).get()));
  EXPECT_TRUE(HasRequiredSkinSections(Ini(u"[version]\nx=1\n[pictures]\nx=1\n[forminfo]\nx=1\n"
                                          u"[skinobjects]\nx=1\n[skincontrols]\nx=1\n")
                                          .get()));
  for (const char16_t* Drop : {u"VERSION", u"PICTURES", u"FORMINFO", u"SKINOBJECTS", u"SKINCONTROLS"}) {
    auto F = Ini(Full);
    F->EraseSection(Drop);
    EXPECT_FALSE(HasRequiredSkinSections(F.get())) << ToUtf8(Drop);
  }
  // A section without a key is no section.
  auto Empty = Ini(u"[VERSION]\nver=2\n[PICTURES]\npicture=a.bmp\n[FORMINFO]\nclientrect=1,1,2,2\n"
                   u"[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\n; only a comment\n");
  EXPECT_FALSE(HasRequiredSkinSections(Empty.get()));
}

// What the skin texts rely on in the ini object that holds them.
TEST(SkinValues, IniBehaviourTheSkinReliesOn) {
  auto F = Ini(
      u"; a comment\n"
      u"[First]\n"
      u"  Key = value with spaces  \n"
      u"dup=first\n"
      u"dup=second\n"
      u";commented=1\n"
      u"[Empty]\n"
      u"[Third]\n"
      u"a=1\n");
  EXPECT_EQ(F->ReadString(u"FIRST", u"KEY", u"?"), u"value with spaces");
  EXPECT_EQ(F->ReadString(u"first", u"Dup", u"?"), u"first");
  EXPECT_EQ(F->ReadString(u"First", u";commented", u"?"), u"?");
  EXPECT_FALSE(F->SectionExists(u"Empty"));
  EXPECT_TRUE(F->SectionExists(u"third"));
  F->EraseSection(u"First");
  F->WriteString(u"Third", u"b", u"2");
  F->WriteString(u"New", u"c", u"3");
  EXPECT_EQ(Text(F.get()), u"[Empty]\r\n\r\n[Third]\r\na=1\r\nb=2\r\n\r\n[New]\r\nc=3\r\n\r\n");
}
