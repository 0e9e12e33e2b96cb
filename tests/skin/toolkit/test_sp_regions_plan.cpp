// Mask runs and region data, and the plans of the image builders run on a
// picture whose pixels name their own (x, y).
#include "common/gtest.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "skin/data/SpImagePlan.h"
#include "skin/data/SpRegions.h"

namespace {

// A 32-bit mask, top-down, white, its rows three pixels longer than the
// mask is wide; Black(x, y) marks the shape.
struct Mask {
  Integer W, H, Stride;
  std::vector<Cardinal> B;
  Mask(Integer w, Integer h) : W(w), H(h), Stride(w + 3), B(size_t(Stride) * size_t(h), 0x00FFFFFFu) {}
  void Set(Integer x, Integer y, Cardinal c) { B[size_t(y) * size_t(Stride) + size_t(x)] = c; }
  void Black(Integer x, Integer y) { Set(x, y, 0); }
  void Scan(Integer XOffset, Integer YOffset, std::vector<TRect>& Runs) const {
    ScanMaskRuns(B.data(), W, H, Stride, XOffset, YOffset, Runs);
  }
};

std::set<std::pair<Integer, Integer>> Points(const std::vector<TRect>& Rects) {
  std::set<std::pair<Integer, Integer>> S;
  for (const TRect& R : Rects)
    for (Integer y = R.Top; y < R.Bottom; ++y)
      for (Integer x = R.Left; x < R.Right; ++x) S.insert({x, y});
  return S;
}

TEST(SpRegions, RunsAndTheirData) {
  Mask M(5, 3);
  for (Integer x = 3; x < 5; ++x) M.Black(x, 0);  // a run to the last column
  M.Set(1, 1, 0xFF000000u);                        // a single pixel: alpha does not count
  M.Set(2, 2, 0x00000001u);                        // b = 1 is not black
  M.Set(3, 2, 0x00010000u);                        // nor r = 1
  for (Integer y = 0; y < 3; ++y) M.B[size_t(y) * size_t(M.Stride) + 5] = 0;  // beyond the width: not read
  std::vector<TRect> Runs;
  M.Scan(10, 20, Runs);
  ASSERT_EQ(Runs.size(), 2u);
  EXPECT_EQ(Runs[0], TRect(13, 20, 15, 21));
  EXPECT_EQ(Runs[1], TRect(11, 21, 12, 22));
  const std::vector<Byte> D = MakeRegionData(Runs, TRect(10, 20, 15, 23));
  const Integer Want[] = {32, 1, 2, 0, 10, 20, 15, 23, 13, 20, 15, 21, 11, 21, 12, 22};
  ASSERT_EQ(D.size(), sizeof(Want));
  EXPECT_EQ(std::memcmp(D.data(), Want, sizeof(Want)), 0);
  std::vector<TRect> Back;
  ASSERT_TRUE(ReadRegionData(D.data(), D.size(), Back));
  EXPECT_EQ(Back, Runs);
  // Truncated or foreign data is refused.
  EXPECT_FALSE(ReadRegionData(D.data(), D.size() - 1, Back));
  std::vector<Byte> Bad = D;
  Bad[4] = 2;
  EXPECT_FALSE(ReadRegionData(Bad.data(), Bad.size(), Back));
}

TEST(SpRegions, AllWhiteGivesAnEmptyBlock) {
  Mask M(4, 2);
  std::vector<TRect> Runs;
  M.Scan(0, 0, Runs);
  EXPECT_TRUE(Runs.empty());
  const std::vector<Byte> D = MakeRegionData(Runs, TRect(0, 0, 4, 2));
  EXPECT_EQ(D.size(), 32u);
}

TEST(SpRegions, CheckerboardOfManyRuns) {
  Mask M(300, 300);
  for (Integer y = 0; y < 300; ++y)
    for (Integer x = (y & 1); x < 300; x += 2) M.Black(x, y);
  std::vector<TRect> Runs, Merged;
  M.Scan(0, 0, Runs);
  EXPECT_EQ(Runs.size(), 45000u);
  MergeVerticalRuns(Runs, Merged);
  EXPECT_EQ(Points(Merged), Points(Runs));
}

TEST(SpRegions, MergingKeepsThePointSet) {
  Cardinal s = 7;
  for (int Round = 0; Round < 20; ++Round) {
    Mask M(23, 17);
    for (Integer y = 0; y < 17; ++y)
      for (Integer x = 0; x < 23; ++x)
        if (((s = s * 1103515245u + 12345u) >> 16) % 3 != 0) M.Black(x, y);
    std::vector<TRect> Runs, Merged;
    M.Scan(0, 0, Runs);
    MergeVerticalRuns(Runs, Merged);
    EXPECT_EQ(Points(Merged), Points(Runs));
    EXPECT_LE(Merged.size(), Runs.size());
  }
}

// ---- plans -----------------------------------------------------------------

// Runs a plan on integer pictures: copies and stretches nearest-neighbour
// with the platform's mapping for equal sizes (identity); clips honoured.
struct Canvas {
  Integer W, H;
  std::vector<Integer> P;
  Canvas(Integer w, Integer h, Integer Fill = -1) : W(w), H(h), P(size_t(w) * size_t(h), Fill) {}
  Integer& At(Integer x, Integer y) { return P[size_t(y) * size_t(W) + size_t(x)]; }
};

Integer Code(Integer x, Integer y) { return y * 1000 + x; }

void RunPlan(const TspPlan& Plan, Canvas& D, Integer PicW, Integer PicH) {
  std::vector<TRect> Clips;
  auto Put = [&](Integer x, Integer y, Integer v) {
    if (x < 0 || y < 0 || x >= D.W || y >= D.H) return;
    for (const TRect& C : Clips)
      if (x < C.Left || x >= C.Right || y < C.Top || y >= C.Bottom) return;
    D.At(x, y) = v;
  };
  for (const TspPlanOp& Op : Plan) {
    const TRect &s = Op.Src, &d = Op.Dst;
    switch (Op.Kind) {
      case poCopy:
      case poStretch:
        if (s.Width() <= 0 || s.Height() <= 0 || d.Width() <= 0 || d.Height() <= 0) break;
        for (Integer y = 0; y < d.Height(); ++y)
          for (Integer x = 0; x < d.Width(); ++x) {
            const Integer sx = s.Left + x * s.Width() / d.Width(), sy = s.Top + y * s.Height() / d.Height();
            if (sx >= 0 && sy >= 0 && sx < PicW && sy < PicH) Put(d.Left + x, d.Top + y, Code(sx, sy));
          }
        break;
      case poDestCopy: {
        Canvas Snap = D;
        for (Integer y = 0; y < d.Height(); ++y)
          for (Integer x = 0; x < d.Width(); ++x) {
            const Integer sx = s.Left + x, sy = s.Top + y;
            if (sx >= 0 && sy >= 0 && sx < D.W && sy < D.H) Put(d.Left + x, d.Top + y, Snap.At(sx, sy));
          }
        break;
      }
      case poClip: Clips.push_back(d); break;
      case poUnclip: Clips.pop_back(); break;
    }
  }
}

TspNineSlice Geometry(Integer NewW, Integer NewH) {
  // A 20 x 16 skin rect at (5, 7) of the picture: borders 3 left, 2 top, 4
  // right, 3 bottom; corners 2 px further along each edge.
  TspNineSlice A;
  A.SkinRect = TRect(5, 7, 25, 23);
  A.ClRect = TRect(3, 2, 16, 13);
  A.LTPoint = TPoint(5, 4);
  A.RTPoint = TPoint(14, 4);
  A.LBPoint = TPoint(5, 11);
  A.RBPoint = TPoint(14, 11);
  A.NewWidth = NewW;
  A.NewHeight = NewH;
  const Integer dx = NewW - 20, dy = NewH - 16;
  A.NewClRect = TRect(3, 2, 16 + dx, 13 + dy);
  A.NewLTPoint = A.LTPoint;
  A.NewRTPoint = TPoint(14 + dx, 4);
  A.NewLBPoint = TPoint(5, 11 + dy);
  A.NewRBPoint = TPoint(14 + dx, 11 + dy);
  A.DrawClient = true;
  return A;
}

TEST(SpPlan, IdentitySizeReproducesTheSkinRect) {
  for (bool Stretch : {false, true})
    for (TspTiling T : {tlEachTile, tlDoubling}) {
      TspNineSlice A = Geometry(20, 16);
      A.LeftStretch = A.TopStretch = A.RightStretch = A.BottomStretch = A.StretchEffect = Stretch;
      TspPlan Plan;
      ASSERT_TRUE(PlanNineSlice(A, T, Plan));
      Canvas D(20, 16);
      RunPlan(Plan, D, 40, 40);
      for (Integer y = 0; y < 16; ++y)
        for (Integer x = 0; x < 20; ++x) ASSERT_EQ(D.At(x, y), Code(5 + x, 7 + y)) << x << "," << y;
    }
}

TEST(SpPlan, DoublingGivesTheSamePixelsAsEachTile) {
  for (auto [W, H] : {std::pair{20, 16}, std::pair{57, 16}, std::pair{20, 61}, std::pair{111, 93}, std::pair{12, 9}})
    for (TspStretchType ST : {spstFull, spstHorz, spstVert})
      for (bool SE : {false, true}) {
        TspNineSlice A = Geometry(W, H);
        A.StretchEffect = SE;
        A.StretchType = ST;
        TspPlan P1, P2;
        PlanNineSlice(A, tlEachTile, P1);
        PlanNineSlice(A, tlDoubling, P2);
        Canvas D1(W, H), D2(W, H);
        RunPlan(P1, D1, 40, 40);
        RunPlan(P2, D2, 40, 40);
        EXPECT_EQ(D1.P, D2.P) << W << "x" << H << " type " << int(ST) << " effect " << SE;
        if (W > 60) {
          EXPECT_LT(P2.size(), P1.size());
        }
      }
}

TEST(SpPlan, TiledEdgeCuts) {
  // Top edge: piece 9 (LTPoint.X 5 .. RTPoint.X 14) over a span of 18 (exact
  // multiple: a final piece of length 0 draws nothing) and of 4 (one cut piece).
  for (auto [Span, Pieces] : {std::pair{18, 2}, std::pair{4, 1}}) {
    TspNineSlice A = Geometry(20, 16);
    A.NewRTPoint.X = A.NewLTPoint.X + Span;
    A.DrawClient = false;
    TspPlan Plan;
    PlanNineSlice(A, tlEachTile, Plan);
    std::vector<TspPlanOp> Top;
    for (const TspPlanOp& Op : Plan) {  // the top edge comes first
      if (Op.Dst.Top != 0) break;
      Top.push_back(Op);
    }
    ASSERT_EQ(Integer(Top.size()), Pieces) << Span;
    EXPECT_EQ(Top.back().Dst.Right, 5 + Span);
    EXPECT_EQ(Top.back().Src.Width(), Top.back().Dst.Width());
  }
}

TEST(SpPlan, ZeroLengthPiecesDrawNothing) {
  // Equal corner points along a tiled edge, a centre of width 0, a client
  // rect of zero height: no division, and none of those pieces drawn.
  TspNineSlice A = Geometry(40, 30);
  A.RTPoint.X = A.LTPoint.X;
  A.ClRect.Right = A.ClRect.Left;
  A.NewClRect.Bottom = A.NewClRect.Top;
  for (TspTiling T : {tlEachTile, tlDoubling}) {
    TspPlan Plan;
    ASSERT_TRUE(PlanNineSlice(A, T, Plan));
    for (const TspPlanOp& Op : Plan) {
      EXPECT_FALSE(Op.Src.Width() == 0 && Op.Dst.Width() > 0 && Op.Kind == poCopy && Op.Dst.Top == 0)
          << "a piece of the empty top edge";
    }
  }
  TspNineSlice B = Geometry(40, 30);
  B.RBPoint.X = B.LTPoint.X;
  TspPlan Plan;
  EXPECT_FALSE(PlanNineSlice(B, tlDoubling, Plan));
  EXPECT_TRUE(Plan.empty());
}

TEST(SpPlan, StretchedStripsAcrossTheCentre) {
  TspNineSlice A = Geometry(20, 16);
  A.ClRect = TRect(3, 2, 13, 13);  // centre 10 wide
  A.NewClRect = TRect(3, 2, 28, 13);  // 25 wide
  A.NewWidth = 35;
  A.StretchEffect = true;
  A.StretchType = spstHorz;
  TspPlan Plan;
  PlanNineSlice(A, tlEachTile, Plan);
  std::vector<TRect> Strips;
  bool Clipped = false;
  for (const TspPlanOp& Op : Plan) {
    if (Op.Kind == poClip) Clipped = Op.Dst == A.NewClRect;
    if (Op.Kind == poStretch && Clipped) Strips.push_back(Op.Dst);
    if (Op.Kind == poUnclip) Clipped = false;
  }
  EXPECT_EQ(Strips, (std::vector<TRect>{TRect(3, 2, 13, 13), TRect(13, 2, 23, 13), TRect(23, 2, 33, 13)}));
}

TEST(SpPlan, ThreeSliceMiddles) {
  TspPlan Plan;
  Integer W, H;
  // Horizontal middle of width 0: every tile copies nothing.
  PlanHorzThreeSlice(4, 6, TRect(0, 0, 10, 5), 30, false, tlEachTile, Plan, W, H);
  EXPECT_EQ(W, 30);
  EXPECT_EQ(H, 5);
  ASSERT_EQ(Plan.size(), 2u);
  EXPECT_EQ(Plan[1].Dst, TRect(24, 0, 30, 5));
  // Vertical middle of height 0: nothing in the middle.
  PlanVertThreeSlice(3, 2, TRect(0, 0, 7, 5), 20, false, tlEachTile, Plan, W, H);
  EXPECT_EQ(W, 7);
  EXPECT_EQ(H, 20);
  EXPECT_EQ(Plan.size(), 2u);
  // A zero offset copies no end piece.
  PlanHorzThreeSlice(0, 0, TRect(0, 0, 10, 5), 25, false, tlEachTile, Plan, W, H);
  ASSERT_EQ(Plan.size(), 3u);
  EXPECT_EQ(Plan[2].Dst, TRect(20, 0, 25, 5));
  EXPECT_EQ(Plan[2].Src, TRect(0, 0, 5, 5));
}

TEST(SpPlan, BorderStrips) {
  TspNineSlice A = Geometry(40, 30);
  A.NewClRect.Left = 0;
  TspStripPlan S[4];
  PlanPictureBorderStrips(A, 0, 0, tlDoubling, S);
  EXPECT_FALSE(S[siLeft].Produce);  // left strip untouched
  EXPECT_TRUE(S[siTop].Produce);
  EXPECT_EQ(S[siTop].Width, 40);
  EXPECT_EQ(S[siTop].Height, 2);
  EXPECT_TRUE(S[siBottom].Produce);
  EXPECT_EQ(S[siBottom].Height, 30 - A.NewClRect.Bottom);
  EXPECT_EQ(S[siRight].Height, 30 - 2 - S[siBottom].Height);
  // The mask variant: side strips as wide as the old borders and as high as
  // the new client rect; the top strip's middle tiled from the new corner point.
  TspNineSlice M = Geometry(40, 30);
  PlanMaskBorderStrips(M, 20, 16, tlEachTile, S);
  EXPECT_EQ(S[siLeft].Width, 3);
  EXPECT_EQ(S[siLeft].Height, M.NewClRect.Height());
  EXPECT_EQ(S[siRight].Width, 4);
  ASSERT_FALSE(S[siTop].Plan.empty());
  EXPECT_EQ(S[siTop].Plan.front().Dst.Left, M.NewLTPoint.X);
}

// ---- plans run in memory ----------------------------------------------------

// A picture of W x H whose pixel is the code of its (x, y).
std::vector<Cardinal> CodedPicture(Integer W, Integer H) {
  std::vector<Cardinal> P(size_t(W) * size_t(H));
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) P[size_t(y) * size_t(W) + size_t(x)] = Cardinal(Code(x, y));
  return P;
}

// The in-memory run against the reference runner above, which checks each
// pixel on its own: sources outside the picture, targets outside the bitmap
// or the clips, copies inside the target that overlap.
void ExpectSameAsReference(const TspPlan& Plan, Integer W, Integer H, Integer PicW, Integer PicH) {
  const std::vector<Cardinal> Pic = CodedPicture(PicW, PicH);
  std::vector<Cardinal> Got(size_t(W) * size_t(H), 0xFFFFFFFFu);
  ASSERT_TRUE(RunCopyPlan(Plan, Got.data(), W, H, Pic.data(), PicW, PicH));
  Canvas Want(W, H);
  RunPlan(Plan, Want, PicW, PicH);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x)
      ASSERT_EQ(Integer(Got[size_t(y) * size_t(W) + size_t(x)]), Want.At(x, y)) << x << "," << y;
}

TEST(SpPlanInMemory, CopyPlansAsTheReferenceRunsThem) {
  // The nine-slice plans without stretches, both tilings, at several sizes,
  // from a picture that cuts the skin rect short (sources partly outside).
  for (auto [W, H] : {std::pair{20, 16}, std::pair{57, 16}, std::pair{111, 93}, std::pair{12, 9}})
    for (TspTiling T : {tlEachTile, tlDoubling})
      for (Integer PicW : {40, 22}) {
        TspNineSlice A = Geometry(W, H);
        TspPlan Plan;
        ASSERT_TRUE(PlanNineSlice(A, T, Plan));
        ExpectSameAsReference(Plan, W, H, PicW, 40);
      }
  // Clips (nested, partly outside the target), copies partly outside the
  // target, and copies inside the target that overlap their source.
  const TspPlan Hand = {
      {poCopy, TRect(0, 0, 10, 10), TRect(-3, -2, 7, 8)},
      {poClip, TRect(), TRect(2, 1, 30, 7)},
      {poClip, TRect(), TRect(-5, 3, 9, 20)},
      {poCopy, TRect(10, 10, 20, 20), TRect(0, 0, 10, 10)},
      {poUnclip, TRect(), TRect()},
      {poCopy, TRect(20, 0, 30, 10), TRect(6, 0, 16, 10)},
      {poUnclip, TRect(), TRect()},
      {poDestCopy, TRect(0, 0, 8, 6), TRect(3, 2, 11, 8)},
      {poDestCopy, TRect(4, 4, 12, 12), TRect(2, 3, 10, 11)},
      {poCopy, TRect(35, 35, 45, 45), TRect(9, 9, 19, 19)},
  };
  ExpectSameAsReference(Hand, 14, 12, 40, 40);
}

TEST(SpPlanInMemory, StretchesAreLeftToCanvases) {
  const std::vector<Cardinal> Pic = CodedPicture(10, 10);
  std::vector<Cardinal> Got(100, 7u);
  const TspPlan Plans[] = {
      {{poCopy, TRect(0, 0, 2, 2), TRect(0, 0, 4, 4)}},
      {{poCopy, TRect(0, 0, 5, 5), TRect(0, 0, 5, 5)}, {poStretch, TRect(0, 0, 1, 1), TRect(0, 0, 1, 1)}},
  };
  for (const TspPlan& P : Plans) {
    EXPECT_FALSE(RunCopyPlan(P, Got.data(), 10, 10, Pic.data(), 10, 10));
    EXPECT_EQ(Got, std::vector<Cardinal>(100, 7u));  // nothing written
  }
}

// The frame strips' runs against each strip drawn by the reference runner:
// a pixel is in the region when the mask pixel it came from is black.
TEST(SpPlanInMemory, FrameStripRunsAreTheStripsBlackPixels) {
  // A 20 x 16 mask: black frame, the four corner pixels cut away, a white
  // dot on the top edge so tiles show.
  Mask M(20, 16);
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 20; ++x) {
      const bool Corner = (x == 0 || x == 19) && (y == 0 || y == 15);
      const bool Client = x >= 3 && x < 16 && y >= 2 && y < 13;
      if (!Corner && !Client && !(x == 9 && y == 0)) M.Black(x, y);
    }
  std::vector<Cardinal> Packed(20 * 16);
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 20; ++x) Packed[size_t(y * 20 + x)] = M.B[size_t(y * M.Stride + x)];
  for (auto [W, H] : {std::pair{20, 16}, std::pair{73, 41}, std::pair{21, 17}}) {
    const TspNineSlice A = Geometry(W, H);
    std::vector<TRect> Runs;
    Integer Strips = -1;
    ASSERT_TRUE(FrameStripRuns(A, Packed.data(), 20, 16, Runs, Strips));
    EXPECT_EQ(Strips, 4);
    TspStripPlan S[4];
    PlanMaskBorderStrips(A, 20, 16, tlEachTile, S);
    const TPoint At[4] = {TPoint(0, 0), TPoint(0, A.NewClRect.Top), TPoint(A.NewClRect.Right, A.NewClRect.Top),
                          TPoint(0, A.NewClRect.Bottom)};
    std::set<std::pair<Integer, Integer>> Want;
    for (int i = 0; i < 4; ++i) {
      Canvas C(S[i].Width, S[i].Height);
      RunPlan(S[i].Plan, C, 20, 16);
      for (Integer y = 0; y < C.H; ++y)
        for (Integer x = 0; x < C.W; ++x) {
          const Integer v = C.At(x, y);
          if (v >= 0 && M.B[size_t((v / 1000) * M.Stride + v % 1000)] == 0) Want.insert({At[i].X + x, At[i].Y + y});
        }
    }
    EXPECT_EQ(Points(Runs), Want) << W << "x" << H;
  }
  // Corner pieces of another size than the new geometry gives them would be
  // stretched: left to canvases.
  TspNineSlice Odd = Geometry(40, 30);
  Odd.NewRTPoint.X += 3;
  std::vector<TRect> Runs;
  Integer Strips = 0;
  EXPECT_FALSE(FrameStripRuns(Odd, Packed.data(), 20, 16, Runs, Strips));
}

}  // namespace
