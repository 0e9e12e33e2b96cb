// Text objects and callouts in a document: frames, plain and path text,
// the text hint, the device context left as it was, text gradients whose
// fill mode has no brush of its own, callout points and pointers, rows.
#include "common/gtest.h"

#include <climits>
#include <cstdlib>

#include "document/win/ImageText.h"
#include "tests/document/win/document_fixture.h"

namespace {

String TextRow(Integer Id, TShapeType Type, Integer Style, const TRect& Box, std::map<Integer, String> More = {}) {
  std::map<Integer, String> cells = {{24, IntToStr(Style)}, {40, u"DejaVu Sans"}, {41, u"20"}, {42, u"0"},
                                     {46, u"1"},            {47, u"1"},            {54, u"Ab"}, {56, u"1"},
                                     {59, u"-1"}};
  for (const auto& c : More) cells[c.first] = c.second;
  return ObjectRow(Id, Type, Box, cells);
}

Integer Dark(TCustomBitmap32* B, const TRect& Area) {
  return CountPixels(B, [](TColor32 c) { return (c & 0xFF) < 80 && ((c >> 8) & 0xFF) < 80 && ((c >> 16) & 0xFF) < 80; },
                     Area);
}

}  // namespace

TEST(TextObjects, FramesAndText) {
  for (Integer style = 0; style <= 5; ++style) {
    TTestDocument d(160, 80);
    d.Add(TextRow(1, TShapeType::shText, style, TRect(10, 10, 150, 70)));
    d->Draw();
    EXPECT_GT(Dark(d->Bitmap(), TRect(40, 20, 120, 60)), 20) << "the text of frame " << style;
    EXPECT_EQ(d->Bitmap()->GetPixel(80, 14), 0xFF00FF00u) << style;
    SaveReviewPicture(u"text_frame" + IntToStr(style), d->Bitmap());
  }
  // Frame style 0 unturned is crisp: its edge pixels are the pen's colour
  // or the fill's, nothing between.
  TTestDocument c(160, 80);
  c.Add(TextRow(1, TShapeType::shText, 0, TRect(10, 10, 150, 70), {{54, u""}}));
  c->Draw();
  Integer mixed = 0;
  for (Integer x = 0; x < 160; ++x) {
    const TColor32 p = c->Bitmap()->GetPixel(x, 10);
    mixed += p != 0xFFFF0000u && p != 0xFF00FF00u && p != 0xFFFFFFFFu;
  }
  EXPECT_EQ(mixed, 0);
}

TEST(TextObjects, HintSpacingAndGradientModes) {
  struct {
    Integer Lang, Size, Hint;
  } hints[] = {{0, 17, 4}, {0, 18, 4}, {2, 17, 4}, {2, 18, 3}};
  for (const auto& h : hints) {
    TTestDocument d(160, 80);
    d->SetLanguageIndex(h.Lang);
    auto* t = static_cast<TImgText*>(d.Add(TextRow(1, TShapeType::shText, 0, TRect(10, 10, 150, 70), {{41, IntToStr(h.Size)}})));
    const int before = GetTextCharacterExtra(d->Bitmap()->Handle());
    d->Draw();
    EXPECT_EQ(t->LastTextHint(), h.Hint) << h.Lang << "/" << h.Size;
    EXPECT_EQ(GetTextCharacterExtra(d->Bitmap()->Handle()), before) << "the spacing is put back";
  }
  // Text gradient fill modes without a brush of their own fill the glyphs
  // with the text brush; stroke width 0 becomes 1 and stays.
  for (Integer mode : {0, 1, 3, 4}) {
    TTestDocument d(160, 80);
    auto* t = static_cast<TImgText*>(d.Add(TextRow(1, TShapeType::shText, 0, TRect(10, 10, 150, 70),
                                                   {{21, u"0"}, {20, u"0"}, {59, u"0"}, {60, u"0/255/0"}, {61, u"100/100/100"},
                                                    {62, u"0/0.5/1"}, {63, IntToStr(mode)}, {64, u"0"}, {41, u"40"}})));
    d->Draw();
    EXPECT_GT(CountPixels(d->Bitmap(), [](TColor32 c) { return c != 0xFFFFFFFFu; }), 100) << "mode " << mode;
    (void)t;
  }
  TTestDocument s(160, 80);
  auto* stroked = static_cast<TImgText*>(
      s.Add(TextRow(1, TShapeType::shText, 0, TRect(10, 10, 150, 70), {{55, u"-1"}, {56, u"0"}, {50, u"255"}, {41, u"40"}})));
  s->Draw();
  EXPECT_EQ(stroked->FFontStrokeWidth, 1);
  EXPECT_GT(CountPixels(s->Bitmap(), [](TColor32 c) { return ((c >> 16) & 0xFF) > 200 && (c & 0xFF) < 100; }), 20)
      << "a red hollow outline";
  SaveReviewPicture(u"text_hollow", s->Bitmap());
}

TEST(TextObjects, CalloutsPointsAndRows) {
  TTestDocument d(240, 200);
  auto* five = static_cast<TImgText*>(d.Add(TextRow(1, TShapeType::shCallout, 5, TRect(10, 20, 110, 120), {{53, u""}})));
  EXPECT_EQ(five->GetPoints(), u"85.10.20.45.33.70") << "an empty point text gives the initial points";
  auto* one = static_cast<TImgText*>(
      d.Add(TextRow(2, TShapeType::shCallout, 1, TRect(130, 20, 230, 100), {{53, u""}, {54, EscapeTableText(u"a,b|c\r\nd")}})));
  d->Draw();
  // The pointer triangle of style 1 is hit below the frame.
  // Tip (185, 124), base (215, 100) and (195, 100).
  const auto& pts = one->CalloutPoints().Points;
  const TPoint centroid((pts[0].X + pts[1].X + pts[2].X) / 3, (pts[0].Y + pts[1].Y + pts[2].Y) / 3);
  EXPECT_TRUE(one->PtInShape(centroid.X, centroid.Y));
  EXPECT_FALSE(one->PtInShape(centroid.X + 40, centroid.Y));
  EXPECT_EQ(one->GetMaxLengthOfOutPoint(), 38);
  SaveReviewPicture(u"callouts", d->Bitmap());

  // Every style draws; rows read back the same, the text's "," and "|"
  // and line break included.
  for (Integer style = 0; style <= 11; ++style)
    d.Add(TextRow(3 + style, TShapeType::shCallout, style, TRect(10 + 15 * style, 130, 50 + 15 * style, 170), {{53, u""}}));
  d->Draw();
  d->StoreShapeObjects();
  String first;
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) first += d->DT()->Items(i)->ToString(true) + u"|";
  TTestDocument b(240, 200);
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) b->DT()->AddItem(d->DT()->Items(i)->ToString(true));
  b->CreateShapeObjects(-1);
  b->Draw();
  b->StoreShapeObjects();
  String second;
  for (Integer i = 0; i < b->DT()->ItemCount(); ++i) second += b->DT()->Items(i)->ToString(true) + u"|";
  EXPECT_EQ(second, first);
  EXPECT_EQ(static_cast<TImgText*>(b->DT()->Items(1)->Data())->FText, u"a,b|c\r\nd");
  EXPECT_EQ(Pixels(b->Bitmap()), Pixels(d->Bitmap()));
  EXPECT_EQ(first.find(u"nan"), String::npos);
}

// Frame gradients of callouts: the linear one of style 1 spreads to the
// pointer's tip (its colours run on below the frame), and style 8 fills each
// of its three bubbles with a path gradient of its own (every bubble's
// centre takes the centre colour).
TEST(TextObjects, CalloutGradientsReachThePointer) {
  const std::map<Integer, String> red_to_blue = {{53, u""}, {54, u""}, {29, u"0"}, {90, u"255/16711680"},
                                                 {91, u"100/100"}, {92, u"0/1"}, {96, u"90"}, {20, u"0"}};
  auto cells = red_to_blue;
  cells[95] = u"0";
  TTestDocument d(240, 160);
  auto* one = static_cast<TImgText*>(d.Add(TextRow(1, TShapeType::shCallout, 1, TRect(130, 20, 230, 100), cells)));
  d->Draw();
  SaveReviewPicture(u"callout_linear_gradient", d->Bitmap());
  const TGPPoint tip = one->CalloutPoints().Points.at(1);
  ASSERT_GT(tip.Y, 110) << "the pointer points below the frame";
  // Just above the frame's bottom the gradient is still short of its end
  // colour: it ends at the tip, 24 pixels further down.
  const TColor32 low = d->Bitmap()->GetPixel(150, 97);
  EXPECT_GT(Integer((low >> 16) & 0xFF), 40) << std::hex << low;
  EXPECT_GT(Integer(low & 0xFF), 120) << std::hex << low;

  cells = red_to_blue;
  cells[95] = u"1";
  TTestDocument e(400, 300);
  const TRect box(20, 20, 170, 110);
  auto* eight = static_cast<TImgText*>(e.Add(TextRow(1, TShapeType::shCallout, 8, box, cells)));
  e->Draw();
  SaveReviewPicture(u"callout_bubble_gradients", e->Bitmap());
  // Each bubble has the gradient's centre colour at its own centre and the
  // rim colour near its edge.
  Integer bubbles = 0;
  TColor32 centre = 0;
  auto alike = [](TColor32 A, TColor32 B) {
    for (int k = 0; k < 24; k += 8)
      if (std::abs(Integer((A >> k) & 0xFF) - Integer((B >> k) & 0xFF)) > 40) return false;
    return true;
  };
  for (const TPathOp& o : CalloutFramePath(8, eight->SRect(), eight->CalloutPoints())) {
    if (o.Kind != TPathOpKind::Ellipse) continue;
    ++bubbles;
    const TPoint c((o.Box.Left + o.Box.Right) / 2, (o.Box.Top + o.Box.Bottom) / 2);
    ASSERT_TRUE(PointInRect(e->Bitmap()->BoundsRect(), c)) << "bubble " << bubbles + 1;
    const TColor32 middle = e->Bitmap()->GetPixelS(c.X, c.Y), rim = e->Bitmap()->GetPixelS(o.Box.Right - 3, c.Y);
    if (bubbles == 1) centre = middle;
    EXPECT_TRUE(alike(middle, centre)) << "bubble " << bubbles << std::hex << " " << middle << " " << centre;
    EXPECT_FALSE(alike(rim, centre)) << "bubble " << bubbles << std::hex << " " << rim;
  }
  EXPECT_EQ(bubbles, 3);
}

namespace {

// The dark pixels' bounding box and the longest dark run of any row.
struct TInk {
  TRect Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  Integer Count = 0, LongestRun = 0;
};
TInk InkOf(TCustomBitmap32* B) {
  TInk k;
  for (Integer y = 0; y < B->Height(); ++y) {
    Integer run = 0;
    for (Integer x = 0; x < B->Width(); ++x) {
      const bool dark = ((B->GetPixel(x, y) >> 8) & 0xFF) < 128;
      run = dark ? run + 1 : 0;
      k.LongestRun = std::max(k.LongestRun, run);
      if (!dark) continue;
      ++k.Count;
      k.Box = TRect(std::min(k.Box.Left, x), std::min(k.Box.Top, y), std::max(k.Box.Right, x + 1),
                    std::max(k.Box.Bottom, y + 1));
    }
  }
  return k;
}

}  // namespace

// Chinese in a Latin face falls back to a face that has it: "一" is one
// flat stroke, not a missing-glyph box; plain and as a path alike. Path text
// keeps its underline: one dark run under both letters.
TEST(TextObjects, ChineseInALatinFaceAndUnderlinedPathText) {
  const std::map<Integer, String> bare = {{20, u"0"}, {21, u"0"}, {41, u"48"}, {40, u"DejaVu Sans"}};
  for (bool path : {false, true}) {
    SCOPED_TRACE(path ? "path text" : "plain text");
    auto cells = bare;
    cells[54] = u"一";
    if (path) cells[49] = u"-1";  // stroked: drawn as a path
    TTestDocument d(200, 100);
    d.Add(TextRow(1, TShapeType::shText, 0, TRect(0, 0, 200, 100), cells));
    d->Draw();
    SaveReviewPicture(path ? u"text_chinese_latin_face_path" : u"text_chinese_latin_face", d->Bitmap());
    const TInk k = InkOf(d->Bitmap());
    ASSERT_GT(k.Count, 30);
    EXPECT_GT(k.Box.Width(), 30);
    EXPECT_LT(k.Box.Height() * 3, k.Box.Width()) << "a flat stroke";
  }
  TInk ink[2];
  for (bool underline : {false, true}) {
    auto cells = bare;
    cells[54] = u"wo";
    cells[49] = u"-1";
    cells[45] = underline ? u"-1" : u"0";
    TTestDocument d(200, 100);
    d.Add(TextRow(1, TShapeType::shText, 0, TRect(0, 0, 200, 100), cells));
    d->Draw();
    SaveReviewPicture(underline ? u"text_path_underlined" : u"text_path", d->Bitmap());
    ink[underline] = InkOf(d->Bitmap());
  }
  ASSERT_GT(ink[0].Count, 30);
  EXPECT_LT(ink[0].LongestRun * 10, ink[0].Box.Width() * 8) << "the letters alone leave gaps in every row";
  EXPECT_GE(ink[1].LongestRun * 10, ink[0].Box.Width() * 9) << "the underline runs under both letters";
  EXPECT_GT(ink[1].Box.Bottom, ink[0].Box.Bottom - 2);
}

// Vertical text: the line is a column read from top to bottom, Chinese
// glyphs upright.
TEST(TextObjects, VerticalText) {
  std::map<Integer, String> cells = {{20, u"0"}, {21, u"0"}, {41, u"28"}, {40, u"DejaVu Sans"}, {48, u"-1"},
                                     {46, u"0"}, {47, u"0"}, {54, u"ABCD"}};
  TTestDocument d(200, 200);
  d.Add(TextRow(1, TShapeType::shText, 0, TRect(0, 0, 200, 200), cells));
  d->Draw();
  SaveReviewPicture(u"text_vertical", d->Bitmap());
  const TInk latin = InkOf(d->Bitmap());
  ASSERT_GT(latin.Count, 30);
  EXPECT_GT(latin.Box.Height(), 2 * latin.Box.Width()) << "one column";
  cells[54] = u"一一";
  TTestDocument c(200, 200);
  c.Add(TextRow(1, TShapeType::shText, 0, TRect(0, 0, 200, 200), cells));
  c->Draw();
  SaveReviewPicture(u"text_vertical_chinese", c->Bitmap());
  const TInk chinese = InkOf(c->Bitmap());
  ASSERT_GT(chinese.Count, 30);
  EXPECT_GT(chinese.LongestRun, 15) << "upright: each glyph a flat stroke";
  EXPECT_GT(chinese.Box.Height(), 28) << "the two glyphs one under the other";
}

// Vertical text, plain and in the path modes (stroke, hollow, text
// gradient): one column per line, the first on the right, read from top to
// bottom, Latin turned on its side and Chinese upright; the alignment places
// a column along the height (near = top), the line alignment the columns
// across the width (near = right). The path modes' ink covers the plain
// mode's.
TEST(TextObjects, VerticalTextPlacementAndPathModes) {
  TInk (*const inkIn)(TCustomBitmap32*, const TRect&) = [](TCustomBitmap32* B, const TRect& Area) {
    TInk k;
    for (Integer y = Area.Top; y < Area.Bottom; ++y)
      for (Integer x = Area.Left; x < Area.Right; ++x)
        if (((B->GetPixel(x, y) >> 8) & 0xFF) < 128) {
          ++k.Count;
          k.Box = TRect(std::min(k.Box.Left, x), std::min(k.Box.Top, y), std::max(k.Box.Right, x + 1),
                        std::max(k.Box.Bottom, y + 1));
        }
    return k;
  };
  const auto where = [](const TRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
  };
  // Where the ink must sit in the 200 x 200 frame: its top, middle or bottom
  // (alignment) and its right, middle or left (line alignment), within 8 px.
  struct {
    const char16_t* Text;
    Integer Alignment, Layout;
    bool Chinese;
  } cases[] = {
      // Chinese columns begin or end with a glyph whose ink reaches its top
      // or bottom (田), so the ink box shows the column's ends.
      {u"ABCD", 0, 0, false},           {u"ABCD", 1, 1, false},           {u"ABCD", 2, 2, false},
      {u"\u7530\u4E00\u4E8C", 0, 0, true}, {u"\u4E00\u4E8C\u7530", 2, 1, true}, {u"Ab\n\u4E00\u4E8C", 1, 0, false},
      {u"Hi\nthere", 0, 2, false},      {u"A\u4E00B", 1, 1, false},
  };
  struct {
    const char* Name;
    std::map<Integer, String> Cells;
  } modes[] = {
      {"plain", {}},
      {"stroke", {{49, u"-1"}, {50, u"0"}, {56, u"1"}}},
      {"hollow", {{55, u"-1"}, {50, u"0"}, {56, u"1"}}},
      {"gradient", {{59, u"0"}, {60, u"0/8388608/0"}, {61, u"100/100/100"}, {62, u"0/0.5/1"}, {63, u"0"}, {64, u"0"}}},
  };
  Integer n = 0;
  for (const auto& c : cases) {
    TInk plain;
    for (const auto& m : modes) {
      std::map<Integer, String> cells = {{20, u"0"}, {21, u"0"}, {41, u"28"}, {40, u"DejaVu Sans"}, {48, u"-1"},
                                         {46, IntToStr(c.Alignment)}, {47, IntToStr(c.Layout)}, {54, c.Text}};
      for (const auto& k : m.Cells) cells[k.first] = k.second;
      TTestDocument d(200, 200);
      d.Add(TextRow(1, TShapeType::shText, 0, TRect(0, 0, 200, 200), cells));
      d->Draw();
      SaveReviewPicture(u"text_vertical_case" + IntToStr(n) + u"_" + AsciiToString(m.Name), d->Bitmap());
      const TInk ink = InkOf(d->Bitmap());
      ASSERT_GT(ink.Count, 30) << "case " << n << " " << m.Name;
      const TRect& b = ink.Box;
      const std::string at = "case " + std::to_string(n) + " " + m.Name + ": ink " + where(b);
      const Integer along[] = {b.Top, (b.Top + b.Bottom) / 2, b.Bottom}, aim[] = {0, 100, 200};
      const Integer across[] = {b.Right, (b.Left + b.Right) / 2, b.Left}, aimX[] = {200, 100, 0};
      EXPECT_LE(std::abs(along[c.Alignment] - aim[c.Alignment]), 8) << at;
      EXPECT_LE(std::abs(across[c.Layout] - aimX[c.Layout]), 8) << at;
      if (m.Name == std::string("plain")) {
        plain = ink;
        const bool twoLines = String(c.Text).find(u'\n') != String::npos;
        if (!twoLines && !c.Chinese) EXPECT_GT(b.Height(), 2 * b.Width()) << at << ": one turned column";
        if (c.Chinese) EXPECT_GT(ink.LongestRun, 15) << at << ": upright, each glyph a flat stroke";
        if (twoLines) {
          // The first line is the right-hand column: "Ab" is shorter than
          // "there", "Hi" shorter than "there".
          const Integer mid = (b.Left + b.Right) / 2;
          const TInk left = inkIn(d->Bitmap(), TRect(b.Left, 0, mid, 200));
          const TInk right = inkIn(d->Bitmap(), TRect(mid, 0, b.Right, 200));
          if (c.Text[0] == u'H') EXPECT_LT(right.Box.Height(), left.Box.Height()) << at;
          EXPECT_GT(left.Count, 10) << at;
          EXPECT_GT(right.Count, 10) << at;
        }
      } else {
        const Integer slack = 4;
        EXPECT_TRUE(std::abs(b.Left - plain.Box.Left) <= slack && std::abs(b.Top - plain.Box.Top) <= slack &&
                    std::abs(b.Right - plain.Box.Right) <= slack && std::abs(b.Bottom - plain.Box.Bottom) <= slack)
            << at << ", plain ink " << where(plain.Box);
      }
    }
    ++n;
  }
}
