// The document's arithmetic: crop ratios and fixed-ratio drags, snapping to
// guides, canvas handles and the resize label, watermark placement, the
// ruler pick and the guide and ruler texts.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include "document/DocumentMath.h"

TEST(DocumentMath, CropRatios) {
  struct {
    Integer Index;
    bool Known;
    Single Rate;
  } table[] = {{0, true, 2.0f},     {1, true, 1},          {2, true, 2.0f / 3},  {3, true, 0.75f},
               {4, true, 0.8f},     {5, true, 5.0f / 7},   {6, true, 1.5f},      {7, true, 4.0f / 3},
               {8, true, 16.0f / 9}, {9, true, 1.6f},      {-1, true, -1},       {10, false, 0},
               {-2, false, 0}};
  for (const auto& c : table) {
    Single r = 0;
    EXPECT_EQ(CropRateOfIndex(c.Index, 800, 400, r), c.Known) << c.Index;
    if (c.Known) EXPECT_FLOAT_EQ(r, c.Rate) << c.Index;
  }
  // 16:9 from (100, 100) to (260, 300): bottom 100 + round(161 / 1.78) - 1.
  struct {
    Integer X2, Y2, Expected;
  } drags[] = {{260, 300, 190}, {260, 20, 10}, {-60, 20, 10}, {-60, 300, 190}, {100, 100, 100}};
  for (const auto& d : drags) EXPECT_EQ(CropFixedY2(100, 100, d.X2, d.Y2, 16.0f / 9), d.Expected) << d.X2 << "," << d.Y2;
}

TEST(DocumentMath, GuideSnapping) {
  // Objects dragged by Delta with their start edges Low and High: t =
  // min(height div 2, 15).
  struct {
    std::vector<Integer> Guides;
    Integer Low, High, Delta, Correction;
  } table[] = {
      {{154}, 100, 140, 0, 14},       // bottom edge 14 away: caught
      {{155}, 100, 140, 0, 0},        // 15 away: not
      {{86}, 100, 140, 0, -14},       // top edge
      {{139}, 100, 160, 0, 9},        // centre 130 within t - 4 = 11
      {{141}, 100, 160, 0, 0},        // centre 11 away: not
      {{145, 98}, 100, 140, 0, 5},    // the first guide that catches wins
      {{142}, 100, 140, 0, 2},        // bottom (2) before top (42)
      {{125}, 100, 140, 0, 5},        // bottom 15 and top 25 away: the centre (5) catches
      {{170}, 100, 140, 20, 10},      // the drag moves the edges first
      {{106}, 100, 110, 0, -4},       // t = 5: bottom -4 caught
  };
  for (const auto& c : table)
    EXPECT_EQ(GuideSnap(c.Guides, c.Low, c.High, c.High - c.Low, c.Delta), c.Correction) << c.Guides[0];
  EXPECT_EQ(GuideSnap({101}, 100, 101, 1, 0), 0) << "t = 0 snaps nothing";
  EXPECT_EQ(GuideSnap({}, 100, 140, 40, 0), 0);
}

TEST(DocumentMath, CanvasHandlesAndLabel) {
  // A 15-pixel-wide image at 100 %: no middle handles on top and bottom.
  TCanvasHandles h = CanvasHandleRects(TRect(30, 40, 45, 140), 6);
  EXPECT_EQ(h[1], TRect(24, 34, 30, 40));
  EXPECT_EQ(h[3], TRect(45, 140, 51, 146));
  EXPECT_EQ(h[5], TRect());
  EXPECT_EQ(h[6], TRect());
  EXPECT_EQ(h[7], TRect(24, 87, 30, 93));
  h = CanvasHandleRects(TRect(0, 0, 100, 20), 6);
  EXPECT_EQ(h[5], TRect(47, -6, 53, 0));
  EXPECT_EQ(h[7], TRect());
  // Dragging the top-left handle by (-10, -10) on 100 x 80: 110 x 90.
  Integer w = 0, hh = 0;
  CanvasDragSize(1, 100, 80, -10, -10, w, hh);
  EXPECT_EQ(CanvasSizeLabel(w, hh), u"110 \u00D7 90");
  CanvasDragSize(6, 100, 80, 5, -200, w, hh);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(hh, 1);
  EXPECT_EQ(CanvasDragRect(TRect(10, 10, 110, 90), 1, -10, -10), TRect(0, 0, 110, 90));
  EXPECT_EQ(CanvasDragRect(TRect(10, 10, 110, 90), 8, -500, 0), TRect(10, 10, 11, 90));
}

TEST(DocumentMath, WatermarkPlacement) {
  // 200 x 100 tiles with spacings 20 and 30 on 1000 x 800: 5 per row, 6 rows.
  const std::vector<TPoint> tiles = WatermarkTiles(1000, 800, 200, 100, 20, 30);
  ASSERT_EQ(tiles.size(), 30u);
  EXPECT_EQ(tiles[4], TPoint(880, 0));
  EXPECT_EQ(tiles[5], TPoint(0, 130));
  EXPECT_EQ(tiles.back(), TPoint(880, 650));
  // A spacing of -w or less steps one pixel and still ends.
  const std::vector<TPoint> dense = WatermarkTiles(30, 10, 9, 9, -50, -50);
  EXPECT_EQ(dense.size(), 27u * 7u);
  EXPECT_EQ(WatermarkTiles(100, 100, 400, 400, 0, 0).size(), 0u);
  struct {
    Integer Location;
    TPoint Expected;
  } table[] = {{0, TPoint(100, 40)},   {1, TPoint(700, 40)},  {2, TPoint(100, 660)},
               {3, TPoint(700, 660)},  {4, TPoint(400, 350)}, {9, TPoint(0, 0)}};
  for (const auto& c : table) EXPECT_EQ(WatermarkPosition(c.Location, 1000, 800, 200, 100, 10, 5), c.Expected);
}

TEST(DocumentMath, RulerAndGuideTexts) {
  struct {
    TPoint Pt;
    Integer Mode;
  } picks[] = {{TPoint(50, 5), 0}, {TPoint(3, 4), 1}, {TPoint(50, 12), -1}, {TPoint(96, -2), 2}, {TPoint(109, 0), 2}};
  for (const auto& p : picks) EXPECT_EQ(RulerPick(TPoint(0, 0), TPoint(100, 0), p.Pt), p.Mode) << p.Pt.X;
  // An empty guide text gives no guide (not one at 0); empty parts skip.
  EXPECT_TRUE(ParseGuides(u"").empty());
  EXPECT_EQ(ParseGuides(u"10..20.x.-5"), (std::vector<Integer>{10, 20, -5}));
  EXPECT_EQ(GuidesText({10, 20}), u"10.20");
  const TRulerState r = ParseRuler(u"-1.1.2.3.4");
  EXPECT_TRUE(r.Enabled);
  EXPECT_EQ(r.P2, TPoint(3, 4));
  for (const char16_t* off : {u"", u"-1.1.2.3", u"-1"}) {
    const TRulerState o = ParseRuler(off);
    EXPECT_FALSE(o.Enabled);
    EXPECT_EQ(o.P1, TPoint());
  }
}
