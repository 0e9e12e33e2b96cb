#include "skin/boxes/ScrollBoxRange.h"

#include <algorithm>

#include "skin/controls/SkinBarGeometry.h"

TspScrollBoxAxisOut ScrollBoxAxisUpdate(const TspScrollBoxAxisIn& In) {
  TspScrollBoxAxisOut Out;
  const Integer CH = In.ClientSize, B = In.ChildrenEnd, P = In.Position;
  // Without children nothing extends the range: a scrolled view returns to
  // the origin and the bar hides (E = B + P would keep a range of P).
  const Integer E = In.NoChildren ? 0 : B + P;
  if (E > CH) {
    Out.Show = true;
    Integer Wanted = P;
    if (P > 0 && B < CH && In.SizeOffset > 0) {
      // Scrolled past the end while the box grew: the growth (at most the
      // position) pulls the children down, so no empty band shows below.
      const Integer Off = std::min(In.SizeOffset, P);
      Out.MoveBy = Off;
      Wanted = P - Off;
    } else if (In.SizeOffset == 0 && E - 1 < In.BarMax && P > 0 && B < CH) {
      const Integer D = std::min(CH - B, P);
      Out.MoveBy = D;
      Wanted = P - D;
    }
    Out.Min = 0;
    Out.Max = E - 1;
    Out.PageSize = CH;
    Out.Position = ScrollClampPosition(TspScrollRange{0, E - 1, CH}, Wanted);
    // The bar refused part of the position: the children follow it.
    Out.MoveBy += Wanted - Out.Position;
  } else {
    Out.Show = false;
    Out.MoveBy = P > 0 ? P : 0;
    Out.Min = Out.Max = Out.Position = Out.PageSize = 0;
  }
  Out.SizeOffset = 0;
  Out.OldPos = Out.Position;
  return Out;
}

Integer ScrollBoxRequestPosition(Integer Min, Integer Max, Integer PageSize, Integer Request, bool LimitToPage) {
  if (LimitToPage && Request > Max - PageSize) Request = Max - PageSize;
  return ScrollClampPosition(TspScrollRange{Min, Max, PageSize}, Request);
}

Integer ScrollBoxPositionForChild(Integer Position, Integer Start, Integer End, Integer ClientSize,
                                  Integer SizeOffset) {
  if (Start >= 0 && End <= ClientSize) return Position;
  if (Start < 0) return Position + Start - SizeOffset;
  return Position + (End - ClientSize) - SizeOffset;
}
