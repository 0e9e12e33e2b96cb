// The gradient tool's plan: brush ends, circle and square, and the stops
// of every type for short and long drags over a 100 x 60 raster.
#include "common/gtest.h"

#include <cmath>
#include <vector>

#include "document/GradientPlan.h"

namespace {

constexpr Cardinal A = 0xFFFF0000u, B = 0x8000FF00u, C = 0xFF0000FFu;
const std::vector<Cardinal> kColors = {A, B, C};
const std::vector<Single> kPositions = {0, 0.5f, 1};

struct TStop {
  Cardinal Color;
  double Position;
};

struct TPlanCase {
  const char* Name;
  Integer Type;
  TPoint S, E;
  std::vector<TStop> Stops;
  TFloatPoint From, To;  // linear types
  double Radius;         // radial and diamond
  std::vector<TPoint> Corners;
};

// The largest distance from (50, 30) to a corner pixel of 100 x 60.
const double kO = std::hypot(50.0, 30.0);

}  // namespace

TEST(GradientPlan, StopsAndExtentsPerTypeAndDrag) {
  const double o4 = 88;  // Round(kO x 1.5 + 0.5)
  const std::vector<TPlanCase> cases = {
      {"linear edge to edge: stops unchanged", 0, TPoint(0, 30), TPoint(100, 30), {{A, 0}, {B, 0.5}, {C, 1}},
       TFloatPoint{0, 30}, TFloatPoint{100, 30}, 0, {}},
      {"linear short in the middle: both ends padded", 0, TPoint(40, 30), TPoint(60, 30),
       {{A, 0}, {A, 0.4}, {B, 0.5}, {C, 0.6}, {C, 1}}, TFloatPoint{0, 30}, TFloatPoint{100, 30}, 0, {}},
      {"linear from the left edge: only the end padded", 0, TPoint(0, 30), TPoint(50, 30),
       {{A, 0}, {B, 0.25}, {C, 0.5}, {C, 1}}, TFloatPoint{0, 30}, TFloatPoint{100, 30}, 0, {}},
      {"linear downwards", 0, TPoint(50, 10), TPoint(50, 50),
       {{A, 0}, {A, 10.0 / 60}, {B, 0.5}, {C, 50.0 / 60}, {C, 1}}, TFloatPoint{50, 0}, TFloatPoint{50, 60}, 0, {}},
      {"linear leftwards", 0, TPoint(60, 30), TPoint(40, 30),
       {{A, 0}, {A, 0.4}, {B, 0.5}, {C, 0.6}, {C, 1}}, TFloatPoint{100, 30}, TFloatPoint{0, 30}, 0, {}},
      {"reflected short: first colour at S, last at E and its mirror", 3, TPoint(50, 30), TPoint(70, 30),
       {{C, 0}, {C, 0.3}, {B, 0.4}, {A, 0.5}, {B, 0.6}, {C, 0.7}, {C, 1}}, TFloatPoint{0, 30},
       TFloatPoint{100, 30}, 0, {}},
      {"reflected from the middle to the edge", 3, TPoint(50, 30), TPoint(100, 30),
       {{C, 0}, {B, 0.25}, {A, 0.5}, {B, 0.75}, {C, 1}}, TFloatPoint{0, 30}, TFloatPoint{100, 30}, 0, {}},
      {"radial short: the outer colour held to the farthest corner", 1, TPoint(50, 30), TPoint(60, 30),
       {{C, 0}, {C, (kO - 10) / kO}, {B, (5 + kO - 10) / kO}, {A, 1}}, {}, {}, kO, {}},
      {"radial past every corner: reversed only", 1, TPoint(50, 30), TPoint(50, 130),
       {{C, 0}, {B, 0.5}, {A, 1}}, {}, {}, 100, {}},
      {"diamond short: the tip on the ray at O", 4, TPoint(50, 30), TPoint(60, 30),
       {{C, 0}, {C, (o4 - 10) / o4}, {B, (5 + o4 - 10) / o4}, {A, 1}}, {}, {}, o4,
       {TPoint(138, 30), TPoint(50, 118), TPoint(-38, 30), TPoint(50, -58)}},
      {"diamond long: the tip at E", 4, TPoint(50, 30), TPoint(50, 200), {{C, 0}, {B, 0.5}, {A, 1}}, {}, {}, 170,
       {TPoint(50, 200), TPoint(-120, 30), TPoint(50, -140), TPoint(220, 30)}},
  };
  for (const TPlanCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TGradientPlan p = PlanGradient(c.Type, c.S, c.E, 100, 60, kColors, kPositions);
    ASSERT_TRUE(p.Paints);
    ASSERT_EQ(p.Colors.size(), c.Stops.size());
    ASSERT_EQ(p.Positions.size(), c.Stops.size());
    for (size_t i = 0; i < c.Stops.size(); ++i) {
      EXPECT_EQ(p.Colors[i], c.Stops[i].Color) << i;
      EXPECT_NEAR(p.Positions[i], c.Stops[i].Position, 1e-5) << i;
    }
    // A preset blend must start at exactly 0 and end at exactly 1.
    EXPECT_EQ(p.Positions.front(), 0.0f);
    EXPECT_EQ(p.Positions.back(), 1.0f);
    if (c.Type == 0 || c.Type == 3) {
      EXPECT_NEAR(p.From.X, c.From.X, 1e-3);
      EXPECT_NEAR(p.From.Y, c.From.Y, 1e-3);
      EXPECT_NEAR(p.To.X, c.To.X, 1e-3);
      EXPECT_NEAR(p.To.Y, c.To.Y, 1e-3);
    } else {
      EXPECT_NEAR(p.Radius, c.Radius, 1e-3);
      EXPECT_EQ(p.Centre.X, Single(c.S.X));
      EXPECT_EQ(p.Centre.Y, Single(c.S.Y));
    }
    for (size_t k = 0; k < c.Corners.size(); ++k) {
      EXPECT_EQ(p.Corners[k].X, c.Corners[k].X) << k;
      EXPECT_EQ(p.Corners[k].Y, c.Corners[k].Y) << k;
    }
  }
}

TEST(GradientPlan, NothingToPaint) {
  const struct {
    const char* Name;
    Integer Type;
    TPoint E;
    std::vector<Cardinal> Colors;
  } cases[] = {
      {"type 2", 2, TPoint(90, 30), kColors},
      {"an unknown type", 7, TPoint(90, 30), kColors},
      {"a drag of length 0", 0, TPoint(50, 30), kColors},
      {"no stops", 1, TPoint(90, 30), {}},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(PlanGradient(c.Type, TPoint(50, 30), c.E, 100, 60, c.Colors, c.Colors.empty() ? std::vector<Single>() : kPositions).Paints)
        << c.Name;
}
