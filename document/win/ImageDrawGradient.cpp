// TImageDraw: the gradient tool. The stops and the brush's extent come from
// document/GradientPlan.h; GDI+ paints them through the bridge.
#include <memory>

#include "document/EffectRecipes.h"
#include "document/GradientPlan.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"

namespace {

// Paints the plan over Target; with a Clip only the pixels inside it (whole
// pixels, so the others come out as without it).
void PaintPlan(TBitmap32* Target, const TGradientPlan& P, const TRect* Clip = nullptr) {
  std::vector<TGPColor> colors(P.Colors.begin(), P.Colors.end());
  IGPColorBlend blend(new TGPColorBlend(colors, P.Positions));
  IGPGraphics g = TGPGraphics::FromHDC(Target->Handle());
  if (Clip) g->SetClip(MakeGPRect(Clip->Left, Clip->Top, Clip->Width(), Clip->Height()));
  switch (P.Type) {
    case 0:
    case 3: {
      IGPLinearGradientBrush b(new TGPLinearGradientBrush(MakeGPPointF(P.From.X, P.From.Y),
                                                          MakeGPPointF(P.To.X, P.To.Y), 0xFF0000FFu, 0xFFFF0000u));
      b->SetInterpolationColors(blend);
      g->FillRectangle(IGPBrush(b), 0, 0, Target->Width(), Target->Height());
      break;
    }
    case 1: {
      const TGPRectF r{P.Centre.X - P.Radius, P.Centre.Y - P.Radius, 2 * P.Radius, 2 * P.Radius};
      IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
      path->AddEllipse(r);
      IGPPathGradientBrush b(new TGPPathGradientBrush(path));
      b->SetCenterPoint(MakeGPPointF(P.Centre.X, P.Centre.Y));
      b->SetInterpolationColors(blend);
      g->FillEllipse(IGPBrush(b), r);
      break;
    }
    case 4: {
      std::vector<TGPPoint> corners;
      for (const TPoint& c : P.Corners) corners.push_back(TGPPoint{c.X, c.Y});
      IGPPathGradientBrush b(new TGPPathGradientBrush(corners));
      b->SetCenterPoint(MakeGPPointF(P.Centre.X, P.Centre.Y));
      b->SetInterpolationColors(blend);
      g->FillPolygon(IGPBrush(b), corners);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void TImageDraw::GradientDo(Integer GradientType, const TArrayOfGPColor& Colors, const TArrayOfSingle& Positions) {
  const std::vector<Cardinal> colors(Colors.begin(), Colors.end());
  const TGradientPlan plan = PlanGradient(GradientType, TPoint(FGradientStartX, FGradientStartY),
                                          TPoint(FMovedX, FMovedY), FSrcBmp->Width(), FSrcBmp->Height(), colors,
                                          Positions);
  // Nothing painted (type 2 among others): no change, so no empty step.
  if (!plan.Paints) return;
  TImgSelection* sel = Selection();
  if (sel == nullptr) {
    PaintPlan(FSrcBmp.get(), plan);
    FSrcBmpChanged = true;
  } else {
    FSrcBmp_T = std::make_unique<TBitmap32>();
    FSrcBmp_T->Assign(FSrcBmp.get());
    const TRect box = sel->Region().Box();
    TBitmap32* lifted = sel->SelBitmap();
    if (lifted) {
      lifted->SetDrawMode(dmOpaque);
      FSrcBmp_T->Draw(box.Left, box.Top, lifted);
      lifted->SetDrawMode(dmBlend);
    }
    // Only the region's box and the lifted picture are read back.
    TRect reach = box;
    if (lifted) UnionRects(reach, box, TRect(box.Left, box.Top, box.Left + lifted->Width(), box.Top + lifted->Height()));
    PaintPlan(FSrcBmp_T.get(), plan, &reach);
    if (lifted) {
      // Inside the region or where the lifted picture shows, clipped to the
      // raster and to the picture.
      TRect area(box.Left, box.Top, box.Left + lifted->Width(), box.Top + lifted->Height());
      TRect r;
      if (IntersectRects(r, area, FSrcBmp_T->BoundsRect()) && r.Width() > 0 && r.Height() > 0)
        for (Integer y = r.Top; y < r.Bottom; ++y)
          for (Integer x = r.Left; x < r.Right; ++x) {
            TColor32& d = *lifted->PixelPtr(x - box.Left, y - box.Top);
            if (sel->Region().Contains(x, y) || (d >> 24) > 0) d = FSrcBmp_T->GetPixel(x, y);
          }
      sel->SetBitmapChanged(true);
    } else {
      CopyInRegion(sel->Region(), FSrcBmp_T.get(), FSrcBmp.get(), TPoint());
      FSrcBmpChanged = true;
    }
    FSrcBmp_T.reset();
  }
  SetChanged(true);
  Draw();
}
