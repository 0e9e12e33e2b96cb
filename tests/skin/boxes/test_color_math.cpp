// The colour model, the grid cell geometry and the palette formulas.
// Reference values come from an independent evaluation (Python's colorsys
// with its half-to-even round) or are worked out by hand in the comments.
#include "common/gtest.h"

#include <cmath>
#include <cstdlib>

#include "skin/boxes/ColorMath.h"

namespace {

TEST(ColorMath, HSVOfBytes) {
  struct Row {
    Byte R, G, B;
    Integer H, S, V;
  };
  const Row Rows[] = {
      {255, 0, 0, 0, 100, 100},
      {0, 255, 0, 120, 100, 100},
      {0, 0, 255, 240, 100, 100},  // 239 with a 359-step hue scale
      {0, 64, 128, 210, 100, 50},
      {51, 51, 53, 240, 4, 21},
      {255, 128, 0, 30, 100, 100},
  };
  for (const Row& r : Rows) {
    Integer H = -7, S = -7, V = -7;
    RGBBytesToHSV(r.R, r.G, r.B, H, S, V);
    EXPECT_EQ(H, r.H) << int(r.R) << "," << int(r.G) << "," << int(r.B);
    EXPECT_EQ(S, r.S);
    EXPECT_EQ(V, r.V);
  }
}

TEST(ColorMath, GreyKeepsTheHuePassedIn) {
  for (Integer Passed : {0, 123, 359}) {
    Integer H = Passed, S = -1, V = -1;
    RGBBytesToHSV(128, 128, 128, H, S, V);
    EXPECT_EQ(H, Passed);
    EXPECT_EQ(S, 0);
    EXPECT_EQ(V, 50);
  }
}

TEST(ColorMath, BytesOfHSV) {
  Byte R, G, B;
  HSVToRGBBytes(R, G, B, 77, 0, 100);
  EXPECT_EQ(TRGB({R, G, B}), TRGB({255, 255, 255}));
  HSVToRGBBytes(R, G, B, 0, 100, 100);
  EXPECT_EQ(TRGB({R, G, B}), TRGB({255, 0, 0}));
  // H 359: sector 5, (v, p, q) with f = 359/60 - 5 = 0.9833, q = 255 * 0.01667.
  HSVToRGBBytes(R, G, B, 359, 100, 100);
  EXPECT_EQ(TRGB({R, G, B}), TRGB({255, 0, 4}));
  HSVToRGBBytes(R, G, B, 240, 100, 100);
  EXPECT_EQ(TRGB({R, G, B}), TRGB({0, 0, 255}));
  // Out-of-range input from a caller saturates instead of wrapping.
  HSVToRGBBytes(R, G, B, 0, 300, 100);
  EXPECT_EQ(TRGB({R, G, B}), TRGB({255, 0, 0}));
}

// Editing S or V recomputes RGB from the three edits: the round trip over
// every table colour must stay within the integer percentages.
TEST(ColorMath, HSVRoundTripOverTheTables) {
  auto Check = [](TColor C) {
    Byte R, G, B, R2, G2, B2;
    ColorToRGBBytes(C, R, G, B);
    Integer H = 0, S = 0, V = 0;
    RGBBytesToHSV(R, G, B, H, S, V);
    HSVToRGBBytes(R2, G2, B2, H, S, V);
    EXPECT_LE(std::abs(R - R2), 1) << std::hex << C;
    EXPECT_LE(std::abs(G - G2), 1) << std::hex << C;
    EXPECT_LE(std::abs(B - B2), 1) << std::hex << C;
  };
  for (TColor C : BasicColorTable) Check(C);
  for (TColor C : ButtonColorTable) Check(C);
  // Primaries and secondaries come back exactly.
  for (TColor C : {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF}) {
    Byte R, G, B, R2, G2, B2;
    ColorToRGBBytes(C, R, G, B);
    Integer H = 0, S = 0, V = 0;
    RGBBytesToHSV(R, G, B, H, S, V);
    HSVToRGBBytes(R2, G2, B2, H, S, V);
    EXPECT_EQ(RGBBytesToColor(R2, G2, B2), C);
  }
}

TEST(ColorMath, HSLBothWays) {
  struct Row {
    Byte R, G, B;
    double H, S, L;
  };
  const Row Rows[] = {
      {255, 0, 0, 0.0, 1.0, 0.5},
      {0, 64, 128, 0.5833333333333334, 1.0, 0.25098039215686274},
      {51, 51, 53, 0.6666666666666666, 0.019230769230769232, 0.20392156862745098},
      {200, 100, 50, 0.05555555555555556, 0.6, 0.49019607843137253},
      {90, 90, 90, 0.0, 0.0, 90 / 255.0},
  };
  for (const Row& r : Rows) {
    double H, S, L;
    RGBBytesToHSL(r.R, r.G, r.B, H, S, L);
    EXPECT_NEAR(H, r.H, 1e-12);
    EXPECT_NEAR(S, r.S, 1e-12);
    EXPECT_NEAR(L, r.L, 1e-12);
    EXPECT_EQ(HSLToRGB(THSL{H, S, L}), TRGB({r.R, r.G, r.B}));
  }
  EXPECT_EQ(HSLToRGB(THSL{0.5, 0.5, 0.25}), TRGB({32, 96, 96}));
  EXPECT_EQ(HSLToRGB(THSL{0.1, 0.9, 0.7}), TRGB({247, 192, 110}));
  EXPECT_EQ(HSLToRGB(THSL{2.0 / 3.0, 1.0, 0.47}), TRGB({0, 0, 240}));
}

TEST(ColorMath, PSPColorViews) {
  TPSPColor C;
  EXPECT_EQ(C.GetRGB(), TRGB{});
  EXPECT_EQ(C.HSLPSP(), THSLPSP{});
  C.SetRGB(TRGB{255, 0, 0});
  EXPECT_EQ(C.HSL(), (THSL{0, 1, 0.5}));
  EXPECT_EQ(C.HSLPSP(), (THSLPSP{0, 255, 128}));  // 127.5 to even
  // The byte view keeps exactly what was passed; the reals are bytes / 255.
  C.SetHSLPSP(THSLPSP{170, 255, 128});
  EXPECT_EQ(C.HSLPSP(), (THSLPSP{170, 255, 128}));
  EXPECT_DOUBLE_EQ(C.HSL().H, 170 / 255.0);
  EXPECT_EQ(C.GetRGB(), TRGB({1, 1, 255}));  // m1 = 2/255 from L = 128/255
  C.SetHSL(THSL{0.5, 0.5, 0.25});
  EXPECT_EQ(C.GetRGB(), TRGB({32, 96, 96}));
  EXPECT_EQ(C.HSLPSP(), (THSLPSP{128, 128, 64}));
  TPSPColor D;
  D.Assign(C);
  EXPECT_EQ(D.GetRGB(), C.GetRGB());
  EXPECT_EQ(D.HSL(), C.HSL());
  EXPECT_EQ(D.HSLPSP(), C.HSLPSP());
}

TEST(ColorMath, Tables) {
  EXPECT_EQ(ButtonColorTable[6], 0x353333);
  EXPECT_EQ(BasicColorTable[37], 0x4F4280);
  for (size_t i = 0; i < BasicColorTable.size(); ++i)
    for (size_t j = i + 1; j < BasicColorTable.size(); ++j) EXPECT_NE(BasicColorTable[i], BasicColorTable[j]);
}

TEST(ColorMath, CustomColorsCopyClampsTheCount) {
  TspCustomColorValues Src;
  for (Integer i = 0; i < 12; ++i) Src[i] = 0x100 + i;
  struct Row {
    Integer Count, Stored, Copied;
  };
  for (const Row& r : {Row{3, 3, 3}, Row{12, 12, 12}, Row{13, 12, 12}, Row{100, 12, 12}, Row{-1, 0, 0}}) {
    TspCustomColorValues Dest;
    Dest.fill(0xFFFFFF);
    EXPECT_EQ(CopyCustomColors(Dest, Src, r.Count), r.Stored);
    for (Integer i = 0; i < 12; ++i) EXPECT_EQ(Dest[i], i < r.Copied ? 0x100 + i : 0xFFFFFF) << r.Count;
  }
  // The next slot wraps whenever the count is outside 0..11.
  EXPECT_EQ(NextCustomColorSlot(0), 0);
  EXPECT_EQ(NextCustomColorSlot(11), 11);
  EXPECT_EQ(NextCustomColorSlot(12), 0);
  EXPECT_EQ(NextCustomColorSlot(100), 0);
  EXPECT_EQ(NextCustomColorSlot(-3), 0);
}

TEST(ColorMath, GridCells) {
  struct Row {
    TRect Client;
    Integer Cols, Rows, Table, Index;
    TRect Outer, Patch, Selected, Hit;
  };
  // 6 x 8 in 167 x 195: cellW (167 - 12) div 6 = 25, cellH (195 - 16) div 8
  // = 22, block 162 x 192, left 83 - 81 = 2, top 97 - 96 = 1.
  // 12 x 4 in 280 x 115: cellW 21, cellH 26, block 276 x 112, left 2, top 1.
  const Row Rows[] = {
      {TRect(0, 0, 167, 195), 6, 8, 48, 0, TRect(2, 1, 29, 25), TRect(6, 5, 25, 21), TRect(7, 6, 24, 20), TRect(3, 2, 28, 24)},
      {TRect(0, 0, 167, 195), 6, 8, 48, 7, TRect(29, 25, 56, 49), TRect(33, 29, 52, 45), TRect(34, 30, 51, 44), TRect(30, 26, 55, 48)},
      {TRect(0, 0, 280, 115), 12, 4, 48, 13, TRect(25, 29, 48, 57), TRect(29, 33, 44, 53), TRect(30, 34, 43, 52), TRect(26, 30, 47, 56)},
      // An offset client (caption strip above).
      // 165 x 47: cellW 25, cellH 21, left 1 + 82 - 81 = 2, top 20 + 23 - 23 = 20.
      {TRect(1, 20, 166, 67), 6, 2, 12, 0, TRect(2, 20, 29, 43), TRect(6, 24, 25, 39), TRect(7, 25, 24, 38), TRect(3, 21, 28, 42)},
  };
  for (const Row& r : Rows) {
    TColorGridGeometry G(r.Client, r.Cols, r.Rows, r.Table);
    EXPECT_EQ(G.OuterRect(r.Index), r.Outer) << r.Index;
    EXPECT_EQ(G.PatchRect(r.Index, false), r.Patch) << r.Index;
    EXPECT_EQ(G.PatchRect(r.Index, true), r.Selected) << r.Index;
    EXPECT_EQ(G.HitRect(r.Index), r.Hit) << r.Index;
    EXPECT_EQ(G.CellAt(r.Hit.Left, r.Hit.Top), r.Index);
    EXPECT_EQ(G.CellAt(r.Hit.Right - 1, r.Hit.Bottom - 1), r.Index);
    // The one-pixel gutter between cells belongs to none.
    EXPECT_EQ(G.CellAt(r.Hit.Right, r.Hit.Top), -1);
  }
}

TEST(ColorMath, GridCountsThatDoNotFit) {
  const TRect Client(0, 0, 280, 115);
  // No rows or columns: no cells, nothing divides by zero, nothing is hit.
  for (Integer Rows : {0, -3}) {
    TColorGridGeometry G(Client, 12, Rows, 48);
    EXPECT_EQ(G.CellCount(), 0);
    EXPECT_EQ(G.CellAt(10, 10), -1);
  }
  // 8 x 8 on the basic table: only its 48 colours have cells.
  TColorGridGeometry Big(Client, 8, 8, 48);
  EXPECT_EQ(Big.CellCount(), 48);
  const TRect Last = Big.HitRect(48);  // the first cell without a colour
  EXPECT_EQ(Big.CellAt(Last.Left, Last.Top), -1);
  EXPECT_EQ(Big.CellAt(Big.HitRect(47).Left, Big.HitRect(47).Top), 47);
  TColorGridGeometry Custom(Client, 6, 3, 12);
  EXPECT_EQ(Custom.CellCount(), 12);
  // A huge product does not overflow.
  TColorGridGeometry Huge(Client, 100000, 100000, 12);
  EXPECT_EQ(Huge.CellCount(), 12);
}

TEST(ColorMath, PaletteAngles) {
  EXPECT_EQ(PaletteDirection(98, 98, 98, 98), 0.0);
  EXPECT_NEAR(PaletteDirection(98, 0, 98, 98), 270.0, 1e-6);
  struct Row {
    Integer X, Y, Angle;
  };
  // Clockwise from straight up about (98, 98).
  for (const Row& r : {Row{98, 5, 0}, Row{190, 98, 90}, Row{98, 190, 180}, Row{5, 98, 270}, Row{97, 5, 359},
                       Row{150, 46, 45}, Row{40, 5, 328}}) {
    EXPECT_EQ(PaletteRoundedAngle(r.X, r.Y, 98, 98), r.Angle) << r.X << "," << r.Y;
  }
  // Just left of the top rounds to 360, taken as 0.
  EXPECT_EQ(PaletteRoundedAngle(97.99, -1000, 98, 98), 0);
}

TEST(ColorMath, PalettePixels) {
  // Top of the ring: entry 359, HSL(1, 1, 0.47), red.
  EXPECT_EQ(PaletteRingPixel(98, 8), TRGB({240, 0, 0}));
  // A quarter turn clockwise (right): entry 269, hue 269/359.
  EXPECT_EQ(PaletteRingPixel(188, 98), HSLToRGB(THSL{269 / 359.0, 1, 0.47}));
  EXPECT_EQ(HSLToRGB(THSL{269 / 359.0, 1, 0.47}), TRGB({119, 0, 240}));
  for (double H : {0.0, 0.3, 0.8}) {
    EXPECT_EQ(PaletteSquarePixel(H, 44, 44), TRGB({0, 0, 0}));
    EXPECT_EQ(PaletteSquarePixel(H, 150, 150), TRGB({255, 255, 255}));
    for (Integer Y = 44; Y <= 150; Y += 53) {
      const Byte g = Byte(std::nearbyint((Y - 44) / 106.0 * 255));
      EXPECT_EQ(PaletteSquarePixel(H, 44, Y), TRGB({g, g, g}));
    }
  }
}

TEST(ColorMath, PaletteMarkersAndActions) {
  // Black: square marker top-left, hue marker at the top of the ring.
  EXPECT_EQ(PaletteSquareMarker(THSL{0, 0, 0}, 0), TPoint(44, 44));
  EXPECT_EQ(PaletteHueMarker(THSL{0, 0, 0}, 0), TPoint(97, 10));
  // Hue 1/4 (counter-clockwise a quarter): a = 180, left of the centre.
  EXPECT_EQ(PaletteHueMarker(THSL{0.25, 1, 0.5}, 0), TPoint(10, 97));
  // Hue 1/2: a = 90, bottom (the 1e-8 rule makes cos exactly 0).
  EXPECT_EQ(PaletteHueMarker(THSL{0.5, 1, 0.5}, 3), TPoint(100, 184));
  EXPECT_EQ(PaletteSquareMarker(THSL{0.3, 1, 0.5}, 0), TPoint(150, 97));
  // Ring: top gives byte 255; a quarter clockwise gives Round(269/359*255).
  EXPECT_EQ(PaletteRingHueByte(97, 5, 0), 255);
  EXPECT_EQ(PaletteRingHueByte(190, 97, 0), Byte(std::nearbyint(269 / 359.0 * 255)));
  // Square: clamped at its edges.
  Byte S, L;
  PaletteSquareBytes(0, 0, 0, S, L);
  EXPECT_EQ(S, 0);
  EXPECT_EQ(L, 0);
  PaletteSquareBytes(400, 97, 0, S, L);
  EXPECT_EQ(S, 255);
  EXPECT_EQ(L, 128);  // 53/106 * 255 = 127.5, to even
  PaletteSquareBytes(97, 500, 0, S, L);
  EXPECT_EQ(S, 128);
  EXPECT_EQ(L, 255);
}

}  // namespace
