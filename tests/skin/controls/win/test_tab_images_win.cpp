// The tab image routines on a picture whose pixels name their coordinates:
// the quarter turns (drawn and in place) and the flip of a 60 x 20 tab, the
// stretch-or-tile fill tiled, stretched whole and in strips, and sources of
// zero size drawing nothing.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinTabs.h"

using namespace ctl;

namespace {

std::unique_ptr<TBitmap> Canvas(Integer W, Integer H, TColor Fill = clFuchsia) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Fill);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

// Where pixel (u, v) of the result came from in the 60 x 20 source.
struct TTurnCase {
  const char* Name;
  std::function<TPoint(Integer U, Integer V)> From;
};

const TTurnCase CCW = {"counter-clockwise", [](Integer U, Integer V) { return TPoint(59 - V, U); }};
const TTurnCase CW = {"clockwise", [](Integer U, Integer V) { return TPoint(V, 19 - U); }};
const TTurnCase Flip = {"flip", [](Integer U, Integer V) { return TPoint(U, 19 - V); }};

void ExpectFrom(TBitmap* B, Integer X0, Integer Y0, Integer W, Integer H, const TTurnCase& C) {
  for (Integer V = 0; V < H; ++V)
    for (Integer U = 0; U < W; ++U) {
      const TPoint F = C.From(U, V);
      if (Px(B, X0 + U, Y0 + V) != Coord(F.X, F.Y)) {
        ADD_FAILURE() << C.Name << ": pixel " << U << "," << V;
        return;
      }
    }
}

TEST(TabImages, TurnsInPlace) {
  struct Row {
    TTurnCase Case;
    void (*Turn)(TBitmap*);
    Integer W, H;
  };
  const Row Rows[] = {{CCW, RotateTabImageCCW, 20, 60}, {CW, RotateTabImageCW, 20, 60}, {Flip, FlipTabImage, 60, 20}};
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Case.Name);
    auto B = CoordPicture(60, 20);
    R.Turn(B.get());
    ASSERT_EQ(B->Width(), R.W);
    ASSERT_EQ(B->Height(), R.H);
    ExpectFrom(B.get(), 0, 0, R.W, R.H, R.Case);
  }
  // The former top edge runs up the left side after the counter-clockwise
  // turn: the source's (0, 0) is at the bottom left.
  auto B = CoordPicture(60, 20);
  RotateTabImageCCW(B.get());
  EXPECT_EQ(Px(B.get(), 0, 59), Coord(0, 0));
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(59, 0));
}

TEST(TabImages, TurnsDrawnLeaveTheSource) {
  struct Row {
    TTurnCase Case;
    void (*Draw)(TCanvas*, TBitmap*, Integer, Integer);
  };
  const Row Rows[] = {{CCW, DrawTabImageRotatedCCW}, {CW, DrawTabImageRotatedCW}};
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Case.Name);
    auto Src = CoordPicture(60, 20);
    auto Dst = Canvas(40, 80);
    R.Draw(Dst->Canvas(), Src.get(), 7, 9);
    ExpectFrom(Dst.get(), 7, 9, 20, 60, R.Case);
    EXPECT_EQ(Px(Dst.get(), 6, 9), clFuchsia);
    EXPECT_EQ(Px(Dst.get(), 27, 9), clFuchsia);
    EXPECT_EQ(Src->Width(), 60);
    EXPECT_EQ(Px(Src.get(), 10, 5), Coord(10, 5));
    SaveScreen(u"default", u"tabimage", R.Case.Name == CCW.Name ? u"ccw" : u"cw", Dst.get());
  }
}

TEST(TabImages, StretchOrTile) {
  auto S = CoordPicture(30, 20);
  struct Row {
    const char* Name;
    bool Stretch;
    TspStretchType Type;
    std::vector<std::pair<TPoint, TColor>> Pixels;
  };
  const Row Rows[] = {
      {"tiled, the last copies cut by the edge",
       false,
       spstFull,
       {{{0, 0}, Coord(0, 0)}, {{95, 45}, Coord(5, 5)}, {{61, 21}, Coord(1, 1)}, {{99, 49}, Coord(9, 9)}}},
      {"stretched whole", true, spstFull, {{{0, 0}, Coord(0, 0)}, {{99, 49}, Coord(29, 19)}}},
      {"stretched down, repeated across",
       true,
       spstHorz,
       {{{0, 0}, Coord(0, 0)}, {{31, 0}, Coord(1, 0)}, {{95, 49}, Coord(5, 19)}}},
      {"stretched across, repeated down",
       true,
       spstVert,
       {{{0, 0}, Coord(0, 0)}, {{0, 21}, Coord(0, 1)}, {{99, 45}, Coord(29, 5)}}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    auto Dst = Canvas(100, 50);
    DrawStretchOrTile(Dst->Canvas(), 100, 50, S.get(), W.Stretch, W.Type);
    for (const auto& [P, C] : W.Pixels) EXPECT_EQ(Px(Dst.get(), P.X, P.Y), C) << P.X << "," << P.Y;
  }
}

TEST(TabImages, EmptySourcesDrawNothing) {
  auto Empty = std::make_unique<TBitmap>();
  auto Thin = std::make_unique<TBitmap>();
  Thin->SetSize(0, 20);
  for (TBitmap* S : {Empty.get(), Thin.get(), static_cast<TBitmap*>(nullptr)})
    for (bool Stretch : {false, true}) {
      auto Dst = Canvas(40, 30);
      DrawStretchOrTile(Dst->Canvas(), 40, 30, S, Stretch, spstHorz);
      EXPECT_EQ(Px(Dst.get(), 0, 0), clFuchsia);
      EXPECT_EQ(Px(Dst.get(), 39, 29), clFuchsia);
    }
  auto E = std::make_unique<TBitmap>();
  RotateTabImageCW(E.get());
  FlipTabImage(E.get());
  EXPECT_TRUE(E->Empty());
}

}  // namespace
