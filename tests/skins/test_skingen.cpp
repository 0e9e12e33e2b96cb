// The skin generator on its real sources and on deliberately broken ones:
// faulty sources are refused naming the file and line, broken rules are
// reported naming the scheme, the description and the rule, and the same
// sources give the same bytes.
#include "common/gtest.h"

#include <algorithm>

#include "skin/data/StoredSkin.h"
#include "tests/skins/SkinsTestUtil.h"
#include "tools/skingen/SkinRules.h"

namespace {

using skingen::ESkinSource;
using skinstest::TSources;

// Text with the first occurrence of From after Anchor replaced by To; the
// test fails when either is missing, so a changed layout shows here.
std::string Replace(const std::string& Text, const std::string& Anchor, const std::string& From, const std::string& To) {
  const size_t A = Text.find(Anchor);
  EXPECT_NE(A, std::string::npos) << "anchor not found: " << Anchor;
  const size_t At = Text.find(From, A == std::string::npos ? 0 : A);
  EXPECT_NE(At, std::string::npos) << "text not found: " << From;
  if (At == std::string::npos) return Text;
  return Text.substr(0, At) + To + Text.substr(At + From.size());
}

// The 1-based line of Text that holds Needle.
int LineOf(const std::string& Text, const std::string& Needle) {
  const size_t At = Text.find(Needle);
  return At == std::string::npos ? -1 : int(std::count(Text.begin(), Text.begin() + long(At), '\n')) + 1;
}

std::string Joined(const std::vector<std::string>& V) {
  std::string S;
  for (const auto& L : V) S += L + "\n";
  return S;
}

TEST(SkinGen, RealSourcesMakeFourSchemesThatKeepEveryRule) {
  const TSources Src;
  const auto R = Src.Build({"Dawn", "Charm", "Laconic", "Cool"});
  EXPECT_TRUE(R.Faults.empty()) << Joined(R.Faults);
  ASSERT_EQ(R.Schemes.size(), 4u);
  for (const auto& S : R.Schemes) {
    EXPECT_EQ(S.Stored, S.Name == "Dawn") << S.Name;
    EXPECT_LT(S.InflatedSize, size_t(1) << 20) << S.Name;
    EXPECT_EQ(ToUtf8(S.Content->SkinName), S.Name);
    // The ini text is UTF-8 with a byte-order mark and CR LF lines.
    EXPECT_EQ(S.IniText.compare(0, 3, "\xEF\xBB\xBF"), 0);
    EXPECT_NE(S.IniText.find("[VERSION]\r\n"), std::string::npos);
  }
}

TEST(SkinGen, TwoRunsGiveIdenticalBytes) {
  const TSources Src;
  const auto A = Src.Build({"Dawn", "Cool"}), B = Src.Build({"Dawn", "Cool"});
  ASSERT_EQ(A.Schemes.size(), B.Schemes.size());
  for (size_t I = 0; I < A.Schemes.size(); ++I) {
    EXPECT_EQ(A.Schemes[I].IniText, B.Schemes[I].IniText);
    EXPECT_EQ(A.Schemes[I].Block, B.Schemes[I].Block);
    EXPECT_EQ(A.Schemes[I].Skn, B.Schemes[I].Skn);
  }
}

// The stored scheme is the block alone, the others the ".skn" envelope
// (version 2, the block's length, the block) around the same kind of block.
TEST(SkinGen, OutputsInflateToTheStoredLayout) {
  const TSources Src;
  const auto R = Src.Build({"Dawn", "Charm"});
  ASSERT_EQ(R.Schemes.size(), 2u);
  const auto& Charm = R.Schemes[1];
  ASSERT_GE(Charm.Skn.size(), 8u);
  EXPECT_EQ(Charm.Skn[0], 2);
  EXPECT_EQ(Charm.Skn[1] | Charm.Skn[2] | Charm.Skn[3], 0);
  EXPECT_EQ(size_t(Charm.Skn[4] | (Charm.Skn[5] << 8) | (Charm.Skn[6] << 16) | (Charm.Skn[7] << 24)),
            Charm.Skn.size() - 8);
  for (const auto& S : R.Schemes) {
    const auto Inflated = InflateSkinBlock(S.Block.data(), S.Block.size());
    TspStoredSkinView V;
    ASSERT_TRUE(ReadStoredSkinLayout(Inflated.data(), Inflated.size(), V));
    EXPECT_EQ(V.Version, 2);
    EXPECT_FALSE(V.Pictures[0].Empty());                      // the frame picture
    for (int P = 1; P < 5; ++P) EXPECT_TRUE(V.Pictures[P].Empty());  // no inactive, mask or roll-up picture
    EXPECT_EQ(V.ActivePictures.size(), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(V.IniText.Data), V.IniText.Size), S.IniText);
  }
}

// The BMP file images are 24-bit, bottom-up, rows padded to 4 bytes, with an
// exact bfSize, as the class library writes them.
TEST(SkinGen, PicturesAreClassLibraryBmpImages) {
  TCustomBitmap32 B;
  B.SetSize(3, 2);
  B.Clear(0xFF112233u);
  B.SetPixel(0, 0, 0xFFAABBCCu);  // top-left
  const TBytes Bmp = skingen::EncodeBmp24(B);
  const size_t Stride = 12;  // 3 * 3 bytes padded to 4
  ASSERT_EQ(Bmp.size(), 54 + 2 * Stride);
  auto U32 = [&](size_t At) { return Cardinal(Bmp[At] | (Bmp[At + 1] << 8) | (Bmp[At + 2] << 16) | (Bmp[At + 3] << 24)); };
  EXPECT_EQ(Bmp[0], 'B');
  EXPECT_EQ(U32(2), Bmp.size());   // bfSize
  EXPECT_EQ(U32(10), 54u);         // bfOffBits
  EXPECT_EQ(U32(14), 40u);         // biSize
  EXPECT_EQ(U32(18), 3u);
  EXPECT_EQ(U32(22), 2u);          // positive height: bottom-up rows
  EXPECT_EQ(Bmp[28], 24);
  EXPECT_EQ(U32(34), 2 * Stride);  // biSizeImage
  // The top-left pixel is in the last row, blue first.
  EXPECT_EQ(Bmp[54 + Stride], 0xCC);
  EXPECT_EQ(Bmp[54 + Stride + 2], 0xAA);
  EXPECT_EQ(Bmp[54], 0x33);
  const auto Back = skinrules::DecodeBmp(Bmp);
  EXPECT_EQ(Back.At(0, 0), 0xCCBBAA);
  EXPECT_EQ(Back.At(2, 1), 0x332211);
}

// --- faulty sources -----------------------------------------------------------

struct TSourceCase {
  const char* Name;
  const char* File;      // "layout", "palette", "scheme"
  const char* Anchor;
  const char* From;
  const char* To;
  const char* LineOf;    // the text whose line the message names
  const char* Message;
};

const TSourceCase SourceCases[] = {
    {"unknown key", "layout", "control edit edit", "  picture 0", "  frobnicate = 1\n  picture 0", "frobnicate = 1",
     "\"frobnicate\" is no key of [edit] (edit)"},
    {"unknown type word", "layout", "control bevel", "control bevel bevel", "control bevel bevvel", "bevvel",
     "unknown type word \"bevvel\""},
    {"place outside its piece", "layout", "control button button", "clientrect = 2,2,62,22",
     "clientrect = 2,2,70,22", "clientrect = 2,2,70,22", "clientrect 2,2,70,22 lies outside the 64x24 piece"},
    {"value the reader refuses", "layout", "control tab tab", "  updown = hupdown",
     "  updown = hupdown\n  tableftbottomactiverect = 1,2,x", "tableftbottomactiverect", "tableftbottomactiverect = 1,2,x"},
    {"palette entry missing at a key", "layout", "control edit edit", "disabledfontcolor = @textdim",
     "disabledfontcolor = @nosuch", "@nosuch", "palette entry \"nosuch\" is missing"},
    {"key given twice", "layout", "control edit edit", "  fontname = Arial", "  fontname = Arial\n  fontname = Tahoma",
     "fontname = Tahoma", "key \"fontname\" is given twice"},
    {"colour left to the reader", "layout", "control edit edit", "  disabledfontcolor = @textdim\n", "",
     "control edit edit", "[edit] must give \"disabledfontcolor\""},
    {"piece wider than its atlas", "layout", "picture 0", "atlas 384", "atlas 64", "image skinrect 80,20 framed",
     "the piece is wider than its picture"},
    {"picture above 512 x 512", "layout", "picture 0", "atlas 384", "atlas 600", "picture 0 controls.bmp",
     "above 512x512"},
    {"line outside a section", "layout", "picture frame", "picture frame", "fontname = Arial\npicture frame",
     "fontname = Arial", "a line outside any section"},
    {"unknown painter state", "layout", "control button button", "64,24 focused", "64,24 shiny", "64,24 shiny",
     "cannot draw \"shiny\""},
    {"bad colour", "palette", "closehot", "$3030D8", "$3030D", "closehot", "bad colour \"$3030D\""},
    {"bad expression", "palette", "text =", "mix(header, $000000, 84)", "mux(header, $000000, 84)", "text =",
     "bad colour expression"},
    {"entry refers to itself", "palette", "face =", "face = panel", "face = face", "face = face", "refers to itself"},
    {"scheme named otherwise", "scheme", "skinname", "skinname = Dawn", "skinname = Dusk", "", "named after its skinname"},
};

class SkinGenSources : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(SkinGenSources, RefusedNamingFileAndLine) {
  const TSourceCase& C = GetParam();
  TSources Src;
  skingen::TSourceFile Scheme = Src.Scheme("Dawn");
  skingen::TSourceFile* F = std::string(C.File) == "layout" ? &Src.Layout : std::string(C.File) == "palette" ? &Src.Palette : &Scheme;
  F->Text = Replace(F->Text, C.Anchor, C.From, C.To);
  const int Line = *C.LineOf ? LineOf(F->Text, C.LineOf) : 1;
  try {
    skingen::BuildSchemes(Src.Layout, Src.Palette, {Scheme}, Src.LookupsFile, Src.Lookups);
    ADD_FAILURE() << "accepted";
  } catch (const ESkinSource& E) {
    const std::string Want = F->File + ":" + std::to_string(Line) + ": ";
    EXPECT_EQ(std::string(E.what()).rfind(Want, 0), 0u) << E.what() << "\nwanted the start " << Want;
    EXPECT_NE(std::string(E.what()).find(C.Message), std::string::npos) << E.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SkinGenSources, ::testing::ValuesIn(SourceCases),
                         [](const auto& I) {
                           std::string N = I.param.Name;
                           std::replace_if(N.begin(), N.end(), [](char C) { return !std::isalnum(static_cast<unsigned char>(C)); }, '_');
                           return N;
                         });

// --- broken rules ---------------------------------------------------------------

struct TRuleCase {
  const char* Name;
  const char* File;  // "layout", "palette", "lookups"
  const char* Anchor;
  const char* From;
  const char* To;
  const char* Fault;  // a line of the report holds this
};

const TRuleCase RuleCases[] = {
    {"state image of another size", "layout", "control button button", "activeskinrect 64,24 hot",
     "activeskinrect 64,25 hot", "Dawn: button: rule 1 (pieces in their picture): activeskinrect is 64x25, skinrect 64x24"},
    {"tiled piece of length 0", "layout", "control button button", "righttoppoint = 61,3", "righttoppoint = 3,3",
     "Dawn: button: rule 3 (no piece of length 0): skinrect: an edge piece of length 0"},
    {"caption row ending on the zone edge", "layout", "forminfo", "captionrect = 4,3,156,19", "captionrect = 4,3,156,22",
     "Dawn: [FORMINFO]: rule 4 (zones): captionrect 4,3,156,22 must span"},
    {"caption buttons below the top strip", "layout", "forminfo", "captionrect = 4,3,156,19",
     "captionrect = 4,8,156,21", "Dawn: closebutton: rule 5 (frame objects in the top strip)"},
    {"key pixel inside a mark", "palette", "field =", "field = white", "field = key",
     "Dawn: checkbox: rule 6 (transparency): uncheckimagerect: the key colour lies inside the shape"},
    {"transparent colour not a key", "layout", "control htrackbar", "buttontransparentcolor = @key",
     "buttontransparentcolor = @text", "Dawn: htrackbar: rule 6 (transparency): buttonrect: its transparent colour is not a key colour"},
    {"colour reading black", "layout", "control edit edit", "  fontcolor = @text", "  fontcolor = 0",
     "Dawn: edit: rule 7 (explicit colours and heights): fontcolor reads black (0)"},
    {"edit band that smears", "layout", "control edit edit", "paint field radius:2", "paint field radius:6",
     "Dawn: edit: rule 8 (uniform edit bands): skinrect: the top band changes along its length"},
    {"tool button client without an inset", "layout", "control toolbutton button", "clientrect = 2,2,22,22",
     "clientrect = 0,2,22,22", "Dawn: toolbutton: rule 3 (no piece of length 0): clientrect 0,2,22,22 must keep"},
    {"gradient on a tiled piece", "layout", "control button button", "  leftstretch = 1", "  leftstretch = 0",
     "Dawn: button: rule 10 (uniform tiles): skinrect: the left edge is tiled down but changes along it"},
    {"panel face off the panel colour", "layout", "colors", "cbtnface = @face", "cbtnface = @field",
     "Dawn: panel: panel colour: the face differs from cbtnface"},
    {"tab scroll buttons off the tab row", "layout", "control tab tab", "image tabrect 48,22 tab", "image tabrect 48,21 tab",
     "Dawn: hupdown: tab row: the image is 22 high, a tab 21"},
    {"scroll bar buttons swapped", "layout", "control hscrollbar", "upbuttonrect = 57,0,76,19",
     "upbuttonrect = 0,0,19,19", "Dawn: hscrollbar: rule 4 (zones): upbuttonrect (the increasing button)"},
    {"name the program needs", "lookups", "# Panels", "# Panels", "# Panels\ncontrol nosuch panel R",
     "Dawn: nosuch: names: missing"},
    {"description of another class", "lookups", "control edit ", "control edit              edit",
     "control edit              spinedit", "Dawn: edit: names: is a edit description; the program reads a spinedit"},
    {"height the forms are laid out with", "lookups", "control htrackbar", "height=20", "height=22",
     "Dawn: htrackbar: rule 2 (resize mode and size): the image is 60x20; the program lays it out at anyx22"},
    {"name that must be left out", "layout", "control bevel", "control bevel bevel", "control statusbar panel like panel\ncontrol bevel bevel",
     "Dawn: statusbar: names: must be left out"},
};

class SkinGenRules : public ::testing::TestWithParam<TRuleCase> {};

TEST_P(SkinGenRules, BrokenLayoutIsReported) {
  const TRuleCase& C = GetParam();
  TSources Src;
  std::string* T = std::string(C.File) == "layout" ? &Src.Layout.Text : std::string(C.File) == "palette" ? &Src.Palette.Text : &Src.Lookups;
  *T = Replace(*T, C.Anchor, C.From, C.To);
  const auto R = Src.Build({"Dawn"});
  const std::string All = Joined(R.Faults);
  EXPECT_NE(All.find(C.Fault), std::string::npos) << "wanted: " << C.Fault << "\ngot:\n" << All;
}

INSTANTIATE_TEST_SUITE_P(Cases, SkinGenRules, ::testing::ValuesIn(RuleCases),
                         [](const auto& I) {
                           std::string N = I.param.Name;
                           std::replace_if(N.begin(), N.end(), [](char C) { return !std::isalnum(static_cast<unsigned char>(C)); }, '_');
                           return N;
                         });

// The schemes share one layout: the text masked of its colours is the same
// for two palettes, and any other difference shows.
TEST(SkinGen, MaskedTextHidesColoursOnly) {
  const TSources Src;
  auto R = Src.Build({"Dawn", "Charm"});
  ASSERT_EQ(R.Schemes.size(), 2u);
  TspSkinContent& Dawn = *R.Schemes[0].Content;
  TspSkinContent& Charm = *R.Schemes[1].Content;
  EXPECT_NE(R.Schemes[0].IniText, R.Schemes[1].IniText);
  EXPECT_EQ(skinrules::MaskedIniText(Dawn), skinrules::MaskedIniText(Charm));
  Charm.FormMinWidth += 1;
  EXPECT_NE(skinrules::MaskedIniText(Dawn), skinrules::MaskedIniText(Charm));
}

TEST(SkinGen, ConsumerListRefusesMalformedLines) {
  const struct {
    const char* Text;
    const char* Message;
  } Cases[] = {{"control edit edit Q\n", "t.txt:1: need R, F, O or X"},
               {"# c\ncontrol edit edit F\n", "t.txt:2: F needs fallback=NAME"},
               {"control edit edit R mode=wide\n", "mode=nine|horz|vert|fixed"},
               {"control edit edit R height=x\n", "bad number"},
               {"widget edit edit R\n", "expected"}};
  for (const auto& C : Cases) {
    try {
      skinrules::ParseLookups("t.txt", C.Text);
      ADD_FAILURE() << "accepted: " << C.Text;
    } catch (const std::runtime_error& E) {
      EXPECT_NE(std::string(E.what()).find(C.Message), std::string::npos) << E.what();
    }
  }
}

}  // namespace
