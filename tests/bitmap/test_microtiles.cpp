#include "common/gtest.h"

#include <random>

#include "bitmap/Bmp32_MicroTiles.h"
#include "bitmap/resample_test_helpers.h"

namespace {

// A grid released on every path.
struct TGrid {
  TMicroTiles M;
  explicit TGrid(const TRect& R) { SizeTileGrid(M, R); }
  ~TGrid() { MicroTilesDestroy(M); }
  TMicroTile At(Integer C, Integer R) const { return M.Tiles[C + R * M.Columns]; }
};

std::vector<TRect> Rects(const TMicroTiles& M, bool Whole = false) {
  TRectList L;
  TilesToRects(M, &L, false, Whole);
  std::vector<TRect> R;
  for (Integer I = 0; I < L.Count(); ++I) R.push_back(L[I]);
  return R;
}

TEST(MicroTiles, SizeTileGrid) {
  TGrid G(TRect(0, 0, 100, 50));
  EXPECT_EQ(G.M.Columns, 4);
  EXPECT_EQ(G.M.Rows, 2);
  EXPECT_EQ(G.M.Count, 15);
  EXPECT_EQ(G.M.BoundsUsedTiles, TRect(4, 2, 0, 0));
  for (Integer I = 0; I < G.M.Count; ++I) EXPECT_EQ(G.M.Tiles[I], 0u);
}

TEST(MicroTiles, UniteTileRules) {
  struct Case {
    TMicroTile D, S, Expected;
  } Cases[] = {
      {MICROTILE_FULL, PackMicroTile(1, 1, 2, 2), MICROTILE_FULL},
      {PackMicroTile(1, 1, 2, 2), 0, PackMicroTile(1, 1, 2, 2)},
      {PackMicroTile(1, 1, 2, 2), PackMicroTile(5, 5, 5, 9), PackMicroTile(1, 1, 2, 2)},  // empty source
      {0, PackMicroTile(3, 4, 5, 6), PackMicroTile(3, 4, 5, 6)},
      {PackMicroTile(1, 1, 2, 2), MICROTILE_FULL, MICROTILE_FULL},
      {PackMicroTile(10, 2, 12, 20), PackMicroTile(4, 8, 30, 9), PackMicroTile(4, 2, 30, 20)},
  };
  for (const auto& C : Cases) {
    TMicroTile D = C.D;
    UniteTile(D, C.S);
    EXPECT_EQ(D, C.Expected);
    TMicroTile P = C.D;
    UniteTile_Pas(P, C.S);
    EXPECT_EQ(P, C.Expected);
  }
}

TEST(MicroTiles, MarkRectWithinOneTile) {
  TGrid G(TRect(0, 0, 100, 50));
  MarkRectInTiles(G.M, TRect(10, 10, 20, 20));
  EXPECT_EQ(G.At(0, 0), PackMicroTile(10, 10, 20, 20));
  EXPECT_EQ(G.M.BoundsUsedTiles, TRect(0, 0, 0, 0));
  EXPECT_EQ(Rects(G.M), std::vector<TRect>{TRect(10, 10, 20, 20)});
}

TEST(MicroTiles, RectEndingOnATileBoundaryNamesTheNextTile) {
  TGrid G(TRect(0, 0, 100, 50));
  MarkRectInTiles(G.M, TRect(0, 0, 32, 32));
  EXPECT_EQ(G.At(0, 0), MICROTILE_FULL);
  EXPECT_EQ(G.At(1, 1), 0u);
  EXPECT_EQ(G.At(1, 0), 0u);
  EXPECT_EQ(G.M.BoundsUsedTiles, TRect(0, 0, 1, 1));
  EXPECT_EQ(Rects(G.M), std::vector<TRect>{TRect(0, 0, 32, 32)});
}

TEST(MicroTiles, RectAcrossTwoTilesBecomesOneRectangle) {
  TGrid G(TRect(0, 0, 100, 50));
  MarkRectInTiles(G.M, TRect(30, 5, 40, 6));
  EXPECT_EQ(G.At(0, 0), PackMicroTile(30, 5, 32, 6));
  EXPECT_EQ(G.At(1, 0), PackMicroTile(0, 5, 8, 6));
  EXPECT_EQ(Rects(G.M), std::vector<TRect>{TRect(30, 5, 40, 6)});
}

TEST(MicroTiles, RectsOfAdjacentTileRowsMergeDownwards) {
  TGrid G(TRect(0, 0, 200, 200));
  MarkRectInTiles(G.M, TRect(40, 0, 90, 64));
  EXPECT_EQ(Rects(G.M), std::vector<TRect>{TRect(40, 0, 90, 64)});
  // A large rectangle over several whole tiles (middle rows written full).
  TGrid H(TRect(0, 0, 200, 200));
  MarkRectInTiles(H.M, TRect(5, 7, 150, 140));
  EXPECT_EQ(H.At(2, 2), MICROTILE_FULL);
  EXPECT_EQ(H.At(0, 0), PackMicroTile(5, 7, 32, 32));
  EXPECT_EQ(H.At(4, 4), PackMicroTile(0, 0, 22, 12));
  // Runs: first row, middle rows and last row have different tops/bottoms.
  std::vector<TRect> R = Rects(H.M);
  Integer Area = 0;
  for (const auto& X : R) Area += (X.Right - X.Left) * (X.Bottom - X.Top);
  EXPECT_EQ(Area, 145 * 133);
}

TEST(MicroTiles, WholeTilesAndClip) {
  TGrid G(TRect(0, 0, 100, 50));
  MarkRectInTiles(G.M, TRect(10, 10, 12, 12), true);
  EXPECT_EQ(G.At(0, 0), MICROTILE_FULL);
  EXPECT_EQ(Rects(G.M, true), std::vector<TRect>{TRect(0, 0, 32, 32)});
  // Every slot full: the clip limits the runs to the buffer.
  TGrid F(TRect(0, 0, 100, 50));
  FillTileGrid(F.M, MICROTILE_FULL);
  F.M.BoundsUsedTiles = TRect(0, 0, F.M.Columns, F.M.Rows);
  EXPECT_EQ(Rects(F.M, true), std::vector<TRect>{TRect(0, 0, 100, 50)});
}

TEST(MicroTiles, JustCountLeavesTheListAlone) {
  TGrid G(TRect(0, 0, 100, 100));
  MarkRectInTiles(G.M, TRect(1, 1, 2, 2));
  MarkRectInTiles(G.M, TRect(70, 70, 80, 80));
  TRectList L;
  L.Add(TRect(9, 9, 9, 9));
  EXPECT_EQ(TilesToRects(G.M, &L, true, false), 2);
  EXPECT_EQ(L.Count(), 1);
}

TEST(MicroTiles, ClearCopyAndUnite) {
  TGrid A(TRect(0, 0, 128, 128)), B(TRect(0, 0, 128, 128));
  MarkRectInTiles(A.M, TRect(40, 40, 50, 50));
  MarkRectInTiles(B.M, TRect(45, 35, 60, 45));
  UniteTileGrids(A.M, B.M, false);
  EXPECT_EQ(A.At(1, 1), PackMicroTile(8, 3, 28, 18));
  EXPECT_EQ(A.At(1, 0), 0u);
  TGrid C(TRect(0, 0, 10, 10));
  CopyTileGrid(C.M, A.M);
  EXPECT_EQ(C.M.Columns, A.M.Columns);
  EXPECT_EQ(C.At(1, 1), A.At(1, 1));
  EXPECT_EQ(C.M.BoundsUsedTiles, A.M.BoundsUsedTiles);
  UniteTileGrids(C.M, B.M, true);
  EXPECT_EQ(C.At(1, 1), MICROTILE_FULL);
  ClearUsedTiles(C.M);
  for (Integer I = 0; I < C.M.Count; ++I) EXPECT_EQ(C.M.Tiles[I], 0u);
  EXPECT_EQ(C.M.BoundsUsedTiles, TRect(C.M.Columns, C.M.Rows, 0, 0));
  // A full tile stays full; uniting an empty grid changes nothing.
  TGrid E(TRect(0, 0, 128, 128));
  UniteTileGrids(A.M, E.M, false);
  EXPECT_EQ(A.At(1, 1), PackMicroTile(8, 3, 28, 18));
}

TEST(MicroTiles, GrowAreaRespectsOrientation) {
  TRect R(10, 10, 20, 20);
  GrowArea(R, 2, 3);
  EXPECT_EQ(R, TRect(8, 7, 22, 23));
  TRect Flipped(20, 20, 10, 10);
  GrowArea(Flipped, 2, 3);
  EXPECT_EQ(Flipped, TRect(22, 23, 8, 7));
  TRect Huge(0x7FFFFFFE, 0, 0x7FFFFFFF, 1);
  GrowArea(Huge, 10, 0);
  EXPECT_EQ(Huge.Right, 0x7FFFFFFF);
}

// Reference: which tiles a thick segment can touch.
bool SegmentNearTile(double X1, double Y1, double X2, double Y2, double Grow, Integer C, Integer R) {
  const double L = C * 32.0 - Grow, T = R * 32.0 - Grow, Rt = C * 32.0 + 32 + Grow, B = R * 32.0 + 32 + Grow;
  for (int I = 0; I <= 2000; ++I) {
    const double X = X1 + (X2 - X1) * I / 2000.0, Y = Y1 + (Y2 - Y1) * I / 2000.0;
    if (X >= L && X <= Rt && Y >= T && Y <= B) return true;
  }
  return false;
}

TEST(MicroTiles, LongDiagonalLinesAreMarked) {
  // 40000 px diagonals (the shift of 16 bits no longer fits 32 bits there).
  struct Case {
    Integer X1, Y1, X2, Y2;
  } Cases[] = {
      {-20000, -20000, 20000, 20000},
      {20000, -20000, -20000, 20000},
      {-39000, 100, 1000, 140},
      {300, -40000, 310, 40000},
  };
  for (const auto& C : Cases) {
    TGrid G(TRect(0, 0, 640, 480));
    MarkLineInTiles(G.M, C.X1, C.Y1, C.X2, C.Y2, 1);
    Integer Marked = 0;
    for (Integer R = 0; R < G.M.Rows; ++R)
      for (Integer Col = 0; Col < G.M.Columns; ++Col)
        if (G.At(Col, R) != 0) ++Marked;
    EXPECT_GT(Marked, 0) << C.X1 << "," << C.Y1;
    // Tiles crossed by the core of the line are marked; nothing far away is.
    for (Integer R = 0; R < G.M.Rows; ++R)
      for (Integer Col = 0; Col < G.M.Columns; ++Col) {
        if (SegmentNearTile(C.X1, C.Y1, C.X2, C.Y2, -4, Col, R)) {
          EXPECT_NE(G.At(Col, R), 0u) << Col << "," << R;
        }
        if (!SegmentNearTile(C.X1, C.Y1, C.X2, C.Y2, 40, Col, R)) {
          EXPECT_EQ(G.At(Col, R), 0u) << Col << "," << R;
        }
      }
  }
}

TEST(MicroTiles, ShortLinesMatchTheirSteps) {
  TGrid G(TRect(0, 0, 256, 256));
  MarkLineInTiles(G.M, 10, 10, 100, 40, 1);  // 3 steps of 32 along x
  EXPECT_NE(G.At(0, 0), 0u);
  EXPECT_NE(G.At(2, 0), 0u);
  EXPECT_NE(G.At(3, 1), 0u);
  EXPECT_EQ(G.At(0, 2), 0u);
  // A horizontal line is one grown rectangle.
  TGrid H(TRect(0, 0, 256, 256));
  MarkLineInTiles(H.M, 10, 100, 200, 100, 2);
  EXPECT_EQ(Rects(H.M), std::vector<TRect>{TRect(6, 96, 204, 104)});
}

TEST(MicroTilesMap, EntriesAreFreedOnRemoveAndClear) {
  // LeakSanitizer checks that every record and tile block is released.
  auto* Map = new TMicroTilesMap();
  int Keys[4];
  for (auto& K : Keys) {
    PPData Slot = Map->Add(&K);
    ASSERT_NE(*Slot, nullptr);
    SizeTileGrid(*static_cast<PMicroTiles>(*Slot), TRect(0, 0, 64, 64));
  }
  EXPECT_EQ(Map->Add(&Keys[0]), Map->Add(&Keys[0]));
  EXPECT_EQ(Map->Data(&Keys[1])->Columns, 3);
  Map->Delete(&Keys[1]);
  EXPECT_EQ(Map->Count(), 3);
  EXPECT_THROW(Map->Data(&Keys[1]), EListError);
  Map->Clear();
  EXPECT_EQ(Map->Count(), 0);
  Map->Add(&Keys[2]);
  delete Map;  // frees the remaining record
}

}  // namespace
