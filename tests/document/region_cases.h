// Polygons and rectangle sets for the region tests: the table of shapes
// and seeded random ones (stars, bow-ties, collinear and repeated points,
// horizontal edges, far and negative coordinates).
#pragma once

#include <random>
#include <string>
#include <vector>

#include "document/Region.h"

struct TPolygonCase {
  std::string Name;
  std::vector<TPoint> Points;
};

inline std::vector<TPolygonCase> PolygonTable() {
  return {
      {"rectangle", {{2, 3}, {12, 3}, {12, 9}, {2, 9}}},
      {"rectangle backwards", {{2, 9}, {12, 9}, {12, 3}, {2, 3}}},
      {"triangle", {{0, 0}, {8, 0}, {0, 8}}},
      {"triangle down", {{0, 0}, {8, 8}, {0, 8}}},
      {"thin sliver", {{0, 0}, {30, 1}, {0, 2}}},
      {"U", {{0, 0}, {3, 0}, {3, 5}, {6, 5}, {6, 0}, {9, 0}, {9, 8}, {0, 8}}},
      {"bow-tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}},
      {"star", {{5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}}},
      {"star twice round", {{5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}, {5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}}},
      {"collinear points", {{0, 0}, {4, 0}, {8, 0}, {8, 4}, {8, 8}, {4, 4}, {0, 0}}},
      {"repeated points", {{1, 1}, {1, 1}, {9, 2}, {9, 2}, {9, 2}, {3, 7}}},
      {"horizontal edges", {{0, 0}, {5, 0}, {5, 3}, {9, 3}, {9, 6}, {2, 6}, {2, 3}, {0, 3}}},
      {"negative", {{-20, -15}, {-3, -12}, {-8, 4}}},
      {"far outside", {{-3000, 50}, {2500, -700}, {4000, 900}}},
      {"two points", {{0, 0}, {10, 10}}},
      {"one row tall", {{0, 5}, {20, 5}, {20, 6}, {0, 6}}},
      {"spiral", {{0, 0}, {20, 0}, {20, 20}, {4, 20}, {4, 8}, {12, 8}, {12, 12}, {8, 12}, {8, 16}, {16, 16},
                  {16, 4}, {0, 4}}},
  };
}

// A random polygon of one of several kinds within [-Range, Range).
inline std::vector<TPoint> RandomPolygon(std::mt19937& Gen, Integer Range) {
  std::uniform_int_distribution<Integer> coord(-Range, Range - 1);
  std::uniform_int_distribution<int> kind(0, 4);
  std::vector<TPoint> p;
  switch (kind(Gen)) {
    case 0: {  // any points: self-crossing
      const int n = std::uniform_int_distribution<int>(3, 12)(Gen);
      for (int i = 0; i < n; ++i) p.push_back(TPoint(coord(Gen), coord(Gen)));
      break;
    }
    case 1: {  // a star about a centre
      const int n = std::uniform_int_distribution<int>(5, 9)(Gen);
      const Integer cx = coord(Gen) / 2, cy = coord(Gen) / 2;
      const double r = std::uniform_real_distribution<double>(3, Range / 2.0)(Gen);
      const int step = n % 2 == 1 ? 2 : 3;
      for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265358979 * ((i * step) % n) / n;
        p.push_back(TPoint(cx + Integer(std::lround(r * std::cos(a))), cy + Integer(std::lround(r * std::sin(a)))));
      }
      break;
    }
    case 2: {  // rectilinear with horizontal edges
      const int n = std::uniform_int_distribution<int>(2, 6)(Gen);
      Integer x = coord(Gen), y = coord(Gen);
      for (int i = 0; i < n; ++i) {
        p.push_back(TPoint(x, y));
        x = coord(Gen);
        p.push_back(TPoint(x, y));
        y = coord(Gen);
      }
      break;
    }
    case 3: {  // with repeated and collinear points
      const TPoint a(coord(Gen), coord(Gen)), b(coord(Gen), coord(Gen)), c(coord(Gen), coord(Gen));
      p = {a, a, TPoint((a.X + b.X) / 2, (a.Y + b.Y) / 2), b, b, c, TPoint((c.X + a.X) / 2, (c.Y + a.Y) / 2)};
      break;
    }
    default: {  // a bow-tie
      const Integer x0 = coord(Gen), y0 = coord(Gen), x1 = coord(Gen), y1 = coord(Gen);
      p = {TPoint(x0, y0), TPoint(x1, y1), TPoint(x1, y0), TPoint(x0, y1)};
      break;
    }
  }
  return p;
}

inline TRect RandomRect(std::mt19937& Gen, Integer Range) {
  std::uniform_int_distribution<Integer> coord(-Range, Range);
  const Integer a = coord(Gen), b = coord(Gen), c = coord(Gen), d = coord(Gen);
  return TRect(std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d));
}

// A random region: a few rectangles united, or a polygon, or both.
inline std::vector<TRect> RandomRects(std::mt19937& Gen, Integer Range) {
  std::vector<TRect> r;
  const int n = std::uniform_int_distribution<int>(1, 6)(Gen);
  for (int i = 0; i < n; ++i) r.push_back(RandomRect(Gen, Range));
  return r;
}
