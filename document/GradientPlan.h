// The gradient tool's plan: from the drag S -> E over a W x Hr raster, the
// brush's ends (linear types), its circle (radial) or square (diamond) and
// the stops laid so that one fill covers the raster, the end colours held
// beyond the drag. The document paints the plan through GDI+. Portable: no
// Windows header.
#pragma once

#include <array>
#include <vector>

#include "bitmap/Bmp32_Types.h"
#include "rtl/System.h"

struct TGradientPlan {
  // False: nothing to paint (type 2, an unknown type, a drag of length 0,
  // or no stops).
  bool Paints = false;
  Integer Type = 0;
  // Linear and reflected: the brush runs from From to To.
  TFloatPoint From, To;
  bool StartExtended = false, EndExtended = false;
  // Radial and diamond: the centre (S) and the radius of the circle, or
  // the diamond's corners at O from S.
  TFloatPoint Centre;
  Single Radius = 0;
  std::array<TPoint, 4> Corners{};
  // The stops of the brush: ARGB colours and positions from 0 to 1 (for the
  // path brushes 0 is the outline, 1 the centre).
  std::vector<Cardinal> Colors;
  std::vector<Single> Positions;
};

TGradientPlan PlanGradient(Integer Type, const TPoint& S, const TPoint& E, Integer W, Integer Hr,
                           const std::vector<Cardinal>& Colors, const std::vector<Single>& Positions);
