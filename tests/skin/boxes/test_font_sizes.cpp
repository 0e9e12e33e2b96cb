// The font boxes' window-free rules: the filter over fixed enumeration rows,
// the number kept per family, raster sizes and their ascending insert, the
// TrueType sizes, and SizeValue over good and bad texts.
#include "common/gtest.h"

#include "skin/boxes/FontSizes.h"

namespace {

TEST(FontFilter, OptionsTable) {
  struct Row {
    const char* Name;
    TspFontListOptions Options;
    Integer Type;
    Byte CharSet, Pitch;
    bool Listed;
  };
  const auto O = FontOption;
  const Row Rows[] = {
      {"no options", 0, sfRasterType, sfOemCharset, 0, true},
      {"ansi only: ansi", O(foAnsiOnly), sfTrueTypeType, sfAnsiCharset, 0, true},
      {"ansi only: chinese", O(foAnsiOnly), sfTrueTypeType, 134, 0, false},
      {"truetype only: raster", O(foTrueTypeOnly), sfRasterType, 0, 0, false},
      {"truetype only: truetype", O(foTrueTypeOnly), sfTrueTypeType, 0, 0, true},
      {"fixed pitch: variable", O(foFixedPitchOnly), sfTrueTypeType, 0, 2, false},
      {"fixed pitch: fixed", O(foFixedPitchOnly), sfTrueTypeType, 0, 0x31, true},
      {"oem only: ansi", O(foOEMFontsOnly), sfRasterType, 0, 0, false},
      {"oem only: oem", O(foOEMFontsOnly), sfRasterType, sfOemCharset, 0, true},
      {"no oem: oem", O(foNoOEMFonts), sfRasterType, sfOemCharset, 0, false},
      {"no symbol: symbol", O(foNoSymbolFonts), sfTrueTypeType, sfSymbolCharset, 0, false},
      {"scalable only: raster", O(foScalableOnly), sfRasterType, 0, 0, false},
      {"scalable only: device", O(foScalableOnly), sfDeviceType, 0, 0, true},
      {"two options, one fails", O(foTrueTypeOnly) | O(foAnsiOnly), sfTrueTypeType, 134, 0, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(FontPassesOptions(R.Options, R.Type, R.CharSet, R.Pitch), R.Listed);
  }
  EXPECT_EQ(FontItemData(sfTrueTypeType, sfAnsiCharset), 260);
  EXPECT_EQ(FontItemData(sfTrueTypeType, sfSymbolCharset), 4);
  EXPECT_EQ(FontItemData(sfRasterType, sfOemCharset), 257);
}

TEST(FontSizeList, RasterAndTrueType) {
  // (lfHeight - tmInternalLeading) * 72 / 96, halves to even.
  EXPECT_EQ(RasterFontSize(16, 3, 96), 10);  // 9.75
  EXPECT_EQ(RasterFontSize(13, 3, 96), 8);   // 7.5 -> 8
  EXPECT_EQ(RasterFontSize(15, 3, 96), 9);   // 9
  EXPECT_EQ(RasterFontSize(17, 3, 96), 10);  // 10.5 -> 10
  EXPECT_EQ(RasterFontSize(12, 0, 120), 7);  // 7.2
  EXPECT_EQ(RasterFontSize(12, 0, 0), 0);

  std::vector<Integer> Sizes;
  for (Integer S : {12, 8, 10, 8, 14, 10, 9}) {
    const Integer At = SizeInsertIndex(Sizes, S);
    if (At >= 0) Sizes.insert(Sizes.begin() + At, S);
  }
  EXPECT_EQ(Sizes, (std::vector<Integer>{8, 9, 10, 12, 14}));

  const auto& TT = TrueTypeFontSizes();
  ASSERT_EQ(TT.size(), 16u);
  EXPECT_EQ(TT.front(), u"8");
  EXPECT_EQ(TT[5], u"14");
  EXPECT_EQ(TT.back(), u"72");
}

TEST(FontSizeValue, Texts) {
  struct Row {
    const char16_t* Text;
    Integer Value;
  };
  const Row Rows[] = {
      {u"12", 12},          {u"-12", -12}, {u"", 0},          {u"-", 0},           {u"1-2", 0},
      {u"a", 0},            {u"12a", 0},   {u"--1", 0},       {u"12345678901", 0}, {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},         {u"2147483648", 0}, {u" 12", 0},        {u"012", 12},
  };
  for (const Row& R : Rows) EXPECT_EQ(SizeValueOf(R.Text), R.Value) << static_cast<int>(R.Text[0]);
}

}  // namespace
