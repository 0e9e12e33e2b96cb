// The geometry of the skin image builders: from the arguments, the list of
// copy and stretch operations (source rectangle in the picture, destination
// rectangle in the target) in the order the builder draws them. The Winelib
// side (skin/data/win/SPUtils.h) sizes the target and executes the list on
// canvases; tile counts, cuts and zero lengths are decided here only.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"
#include "skin/data/SkinTypes.h"

enum TspPlanOpKind : Byte {
  poCopy,      // Src of the picture to Dst, stretched when the sizes differ (a canvas CopyRect)
  poStretch,   // Src through a temporary bitmap of its size, stretched into Dst
  poDestCopy,  // Src of the target to Dst of the target, same size (copying tiles already drawn)
  poClip,      // later operations clipped to Dst, until poUnclip
  poUnclip
};

struct TspPlanOp {
  TspPlanOpKind Kind;
  TRect Src;
  TRect Dst;
  friend bool operator==(const TspPlanOp&, const TspPlanOp&) = default;
};

using TspPlan = std::vector<TspPlanOp>;

// How tiles are laid: one copy per tile, or the first tile copied and then
// the drawn span doubled by copies inside the target (the same pixels in a
// logarithmic number of operations; used where the span lies inside the
// target).
enum TspTiling : Byte { tlEachTile, tlDoubling };

// The arguments of the nine-slice builders (skin-rect coordinates for the old
// geometry, target coordinates for the new).
struct TspNineSlice {
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
  TRect SkinRect;
  Integer NewWidth = 0, NewHeight = 0;
  bool DrawClient = false;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
};

// False (and no operations) when the corner points put RBPoint on LTPoint's
// column or row: the target is then only sized.
bool PlanNineSlice(const TspNineSlice& A, TspTiling Tiling, TspPlan& Plan);

// The classic nine-slice of a target of DestWidth x DestHeight with the
// corners at the client rectangle's corners, every edge and the centre stretched.
TspNineSlice ClientStretchArgs(const TRect& SkinRect, const TRect& ClRect, Integer DestWidth, Integer DestHeight,
                               bool DrawClient);

// Three-slice: the target's new size in DestWidth, DestHeight.
void PlanHorzThreeSlice(Integer LeftOffset, Integer RightOffset, const TRect& SkinRect, Integer NewWidth, bool Stretch,
                        TspTiling Tiling, TspPlan& Plan, Integer& DestWidth, Integer& DestHeight);
void PlanVertThreeSlice(Integer TopOffset, Integer BottomOffset, const TRect& SkinRect, Integer NewHeight,
                        bool Stretch, TspTiling Tiling, TspPlan& Plan, Integer& DestWidth, Integer& DestHeight);

// One border strip: made only when Produce (then sized Width x Height and drawn
// by Plan); otherwise the strip bitmap keeps its size and content.
struct TspStripPlan {
  bool Produce = false;
  Integer Width = 0, Height = 0;
  TspPlan Plan;
};

enum TspStripIndex : Byte { siTop, siLeft, siRight, siBottom };

// The four strips cut from a mask of MaskWidth x MaskHeight (the skin rect's
// size, its (0, 0) the skin rect's corner).
void PlanMaskBorderStrips(const TspNineSlice& A, Integer MaskWidth, Integer MaskHeight, TspTiling Tiling,
                          TspStripPlan (&Strips)[4]);
// The four strips cut from the skin rect of a picture; the side strips' height
// uses the top and bottom strips' heights as they are once those are made
// (TopHeight, BottomHeight: their heights before the call).
void PlanPictureBorderStrips(const TspNineSlice& A, Integer TopHeight, Integer BottomHeight, TspTiling Tiling,
                             TspStripPlan (&Strips)[4]);
