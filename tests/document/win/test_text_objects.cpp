// Text objects and callouts in a document: frames, plain and path text,
// the text hint, the device context left as it was, text gradients whose
// fill mode has no brush of its own, callout points and pointers, rows.
#include "common/gtest.h"

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
