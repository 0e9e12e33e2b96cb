#include "skin/boxes/PopupPlace.h"

TPoint PlacePopupBelow(const TPoint& Anchor, Integer ControlHeight, Integer W, Integer H, const TRect& WorkArea) {
  TPoint P(Anchor.X, Anchor.Y + ControlHeight);
  if (P.X + W > WorkArea.Right)
    P.X = WorkArea.Right - W;
  else if (P.X < WorkArea.Left)
    P.X = WorkArea.Left;
  if (P.Y + H > WorkArea.Bottom) P.Y = Anchor.Y - H;
  return P;
}
