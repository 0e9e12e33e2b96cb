// Object-row columns: rows of 70 and 100 cells read into a shape's state and
// written back unchanged; the normalised cells (angle, edging width, escaped
// names); tolerant reading of damaged rows; point texts.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <memory>

#include "document/ShapeRows.h"

namespace {

class TRowShape : public TShapeCore {};

std::unique_ptr<TRow> RowOf(const String& Text) {
  auto r = std::make_unique<TRow>(nullptr);
  r->Init(Text, u',');
  return r;
}

String CellsText(Integer From, Integer To, const std::vector<std::pair<Integer, String>>& Cells) {
  String s;
  for (Integer i = From; i <= To; ++i) {
    if (i > From) s += u',';
    for (const auto& c : Cells)
      if (c.first == i) s += c.second;
  }
  return s;
}

String Roundtrip(const String& Text, TRowShape& S) {
  auto row = RowOf(Text);
  ReadCommonColumns(row.get(), S);
  ReadFrameColumns(row.get(), S);
  ReadStyleColumns(row.get(), S, true);
  auto out = RowOf(Text);
  WriteShapeColumns(out.get(), S);
  return out->ToString(true);
}

}  // namespace

TEST(ShapeRows, RowsRoundTripUnchanged) {
  // A rectangle row of 70 cells and a line row of 100 cells, as the table
  // stores them (name, column 44 and unused columns included).
  const String rect70 = CellsText(0, 69, {{0, u"7"}, {1, u"3"}, {2, u"Box"}, {3, u"0"}, {4, u"0"}, {10, u"10"},
                                          {11, u"20"}, {12, u"110"}, {13, u"80"}, {14, u"255"}, {15, u"65535"},
                                          {16, u"200"}, {18, u"3"}, {19, u"12.5"}, {20, u"-1"}, {21, u"-1"},
                                          {22, u"1"}, {24, u"6"}, {25, u"60"}, {26, u"50"}, {27, u"-1"},
                                          {28, u"-1"}, {29, u"-1"}, {30, u"-1"}, {31, u"-1"}, {41, u"28.10.20.80"},
                                          {44, u"1234"}});
  TRowShape r;
  EXPECT_EQ(Roundtrip(rect70, r), rect70);
  EXPECT_EQ(r.SRect(), TRect(10, 20, 110, 80));
  EXPECT_FLOAT_EQ(r.Angle(), 12.5f);
  EXPECT_EQ(r.StyleId(), 6);
  EXPECT_EQ(r.ShadowAngle(), 0) << "a short row carries no style suffix";

  const String line100 =
      CellsText(0, 69, {{0, u"8"}, {1, u"2"}, {10, u"5"}, {11, u"5"}, {12, u"96"}, {13, u"41"}, {14, u"16711680"},
                        {16, u"255"}, {18, u"4"}, {19, u"0"}, {20, u"-1"}, {24, u"11"}, {25, u"50.5"},
                        {26, u"23"}, {27, u"2"}, {28, u"0"}, {29, u"3"}, {40, u"5"}, {41, u"5"}, {42, u"95"},
                        {43, u"40"}, {46, u"5"}, {47, u"22"}, {48, u"95"}, {49, u"22"}, {50, u"1"}}) +
      u"," +
      u"135,4,10,2,8421504,120,,,,,0,9,0,1,0,150,40,21,255,16777215,255/65535,100/50,0/1,,,4,30,"
      u"C:\\tex\x1A"
      u"a\x1B"
      u"b.png,7,-1";
  TRowShape l;
  EXPECT_EQ(Roundtrip(line100, l), line100);
  EXPECT_EQ(l.GradientTextureFileName(), u"C:\\tex,a|b.png");
  EXPECT_FLOAT_EQ(l.CenterPoint().X, 50.5f);
  EXPECT_EQ(l.GradientHatchMode(), 21);
  EXPECT_TRUE(l.GradientGammaCorrected());
  EXPECT_EQ(l.GradientEdgingWidth(), 7);

  // The default style suffix reads and writes back byte for byte.
  const String suffixed = CellsText(0, 69, {{0, u"1"}, {1, u"3"}}) + u"," + DefaultStyleSuffix;
  TRowShape d;
  EXPECT_EQ(Roundtrip(suffixed, d), suffixed);
  EXPECT_EQ(d.ShadowOpacity(), 175);
  EXPECT_EQ(d.ReflectHeight(), 66);
  EXPECT_EQ(d.GradientColor(), u"26367/65535/26367");
}

TEST(ShapeRows, NormalisedCells) {
  auto row = RowOf(CellsText(0, 99, {{19, u"0"}, {98, u""}}));
  TRowShape s;
  ReadStyleColumns(row.get(), s, true);
  EXPECT_EQ(s.GradientEdgingWidth(), 15) << "an empty edging width reads as 15";
  SetCellText(row.get(), ShapeCol::EdgingWidth, u"0");
  ReadStyleColumns(row.get(), s, true);
  EXPECT_EQ(s.GradientEdgingWidth(), 15) << "so does 0";
  ReadStyleColumns(row.get(), s, false);
  EXPECT_EQ(s.GradientEdgingWidth(), 0) << "a preset's 0 is taken unchanged";

  s.SetAngle(12.34567f);
  WriteShapeColumns(row.get(), s);
  EXPECT_EQ(CellText(row.get(), ShapeCol::Angle), u"12.346");
  EXPECT_EQ(CellText(row.get(), ShapeCol::EdgingWidth), u"0");
  s.SetAngle(-0.0004f);
  WriteShapeColumns(row.get(), s);
  EXPECT_EQ(CellText(row.get(), ShapeCol::Angle), u"0");

  struct {
    Single Value;
    const char16_t* Text;
  } floats[] = {{50.5f, u"50.5"}, {0.1f, u"0.1"}, {-3, u"-3"}, {1234567.5f, u"1234567.5"}, {12.3f, u"12.3"}};
  for (const auto& f : floats) {
    EXPECT_EQ(SingleToText(f.Value), f.Text);
    EXPECT_EQ(TextToSingle(f.Text), f.Value);
  }
  EXPECT_EQ(TextToSingle(u"abc"), 0);
  EXPECT_EQ(TextToSingle(u"1e999"), 0);
}

TEST(ShapeRows, DamagedRowsReadAsZero) {
  // Three cells, words where numbers belong: nothing raises.
  auto row = RowOf(u"x,3,Name");
  TRowShape s;
  ReadCommonColumns(row.get(), s);
  ReadFrameColumns(row.get(), s);
  ReadStyleColumns(row.get(), s, true);
  EXPECT_EQ(s.Opacity(), 0);
  EXPECT_EQ(s.SRect(), TRect());
  EXPECT_EQ(CellInt(row.get(), 0), 0);
  EXPECT_EQ(CellInt(row.get(), 1), 3);
  EXPECT_EQ(CellInt(nullptr, 1), 0);
  // Writing pads the short row to 70 cells and keeps the name.
  WriteShapeColumns(row.get(), s);
  EXPECT_EQ(row->ItemCount(), 70);
  EXPECT_EQ(CellText(row.get(), 2), u"Name");
  EXPECT_EQ(CellText(row.get(), 0), u"x") << "columns the writer does not own stay";
}

TEST(ShapeRows, PointTexts) {
  TArrayOfGPPoint pts;
  EXPECT_TRUE(TextToPoints(u"10.0.0.40", pts));
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_EQ(pts[0].X, 10);
  EXPECT_EQ(pts[0].Y, 0);
  EXPECT_EQ(pts[1].X, 0);
  EXPECT_EQ(pts[1].Y, 40);
  EXPECT_EQ(PointsToText(pts), u"10.0.0.40");
  EXPECT_TRUE(TextToPoints(u"-5.7", pts));
  EXPECT_EQ(pts[0].X, -5);
  struct {
    const char16_t* Text;
  } bad[] = {{u"10.0.40"}, {u"10.a.0.40"}, {u"10..0.40"}, {u"1.5e3.0"}, {u"99999999999.0"}, {u" 1.2"}};
  for (const auto& b : bad) {
    EXPECT_FALSE(TextToPoints(b.Text, pts)) << std::u16string(b.Text).size();
    EXPECT_TRUE(pts.empty());
  }
  EXPECT_TRUE(TextToPoints(u"", pts));
  EXPECT_TRUE(pts.empty());
  EXPECT_EQ(SplitCell(u"", u'/').size(), 1u);
  EXPECT_EQ(SplitCell(u"a//b", u'/'), (std::vector<String>{u"a", u"", u"b"}));
}
