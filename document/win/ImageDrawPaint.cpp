// TImageDraw: the pencil, the eraser, the brush and the clone stamp. Brush
// and stamp dabs go into the stroke layer; the raster is the stroke's start
// with the layer drawn over it at the stroke's opacity.
#include <algorithm>
#include <memory>

#include "bitmap/Bmp32_Filters.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/EffectRecipes.h"
#include "document/PaintStroke.h"
#include "document/win/ImageDraw.h"
#include "document/win/StylePacks.h"
#include "rtl/ScopeGuard.h"

TBitmap32* StampSourceBmp = nullptr;
TPoint StampSourcePoint;

namespace {

bool UsesStrokeLayer(TProcessBitmapMode M) {
  return M == TProcessBitmapMode::pbmBrush || M == TProcessBitmapMode::pbmStamp;
}

bool Empty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

TRect UnionOf(const TRect& A, const TRect& B) {
  if (Empty(A)) return B;
  if (Empty(B)) return A;
  return TRect(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
               std::max(A.Bottom, B.Bottom));
}

}  // namespace

void TImageDraw::ProcessBitmapBegin(Integer X, Integer Y, Integer Opacity, TColor FillColor, Integer StyleIndex) {
  FProcessStyleIndex = StyleIndex;
  FProcessOpacity = std::clamp(Opacity, 0, 255);
  FProcessFillColor = (Color32(FillColor) & 0x00FFFFFFu) | (TColor32(FProcessOpacity) << 24);
  FProcessBrush.reset();
  FProcessBrushMask.reset();
  FSrcBmp_T2.reset();
  FStrokeDirty = TRect();
  if (FProcessMode != TProcessBitmapMode::pbmEraser) {
    FSrcBmp_T = std::make_unique<TBitmap32>();
    FSrcBmp_T->Assign(FSrcBmp.get());
    FSrcBmp_T->SetDrawMode(dmOpaque);
  }
  if (FProcessMode == TProcessBitmapMode::pbmStamp && FProcessStampStartX == UnsetPosition) {
    FProcessStampStartX = X;
    FProcessStampStartY = Y;
  }
  if (!UsesStrokeLayer(FProcessMode)) return;
  // Without the row (an empty or short brush pack) the tools paint nothing.
  TRow* row = BrushPackDT && StyleIndex >= 0 && StyleIndex < BrushPackDT->ItemCount() ? BrushPackDT->Items(StyleIndex)
                                                                                        : nullptr;
  if (row == nullptr) return;
  auto cell = [row](Integer I) { return I < row->ItemCount() ? row->Items(I) : nullptr; };
  FProcessStep = BrushStep(cell(8) && cell(8)->AsBool(), cell(9) ? cell(9)->Value() : 0,
                           cell(10) ? cell(10)->Value() : 0, FProcessWidth);
  FLastDabPoint = TPoint(UnsetPosition, 0);
  FBrushOffset = BrushOffset(StyleIndex, FProcessWidth);
  const Integer size = std::max(FProcessWidth, 1) + 2 * FBrushOffset;
  FProcessBrush = std::make_unique<TBitmap32>();
  FProcessBrush->SetSize(size, size);
  FProcessBrush->Clear(0);
  FProcessBrush->SetDrawMode(dmBlend);
  FProcessBrush->SetCombineMode(cmMerge);
  FProcessBrush->SetMasterAlpha(Cardinal(PercentAlpha(FProcessBrushFlow)));
  if (auto* tip = static_cast<TBitmap32*>(row->Data()); tip && !tip->Empty()) {
    TCustomBitmap32 inverted;
    inverted.SetSize(tip->Width(), tip->Height());
    InvertRGB(&inverted, tip);
    FProcessBrushMask = std::make_unique<TBitmap32>();
    ResizeBitmap(&inverted, FProcessBrushMask.get(), size, size);
  }
  FSrcBmp_T2 = std::make_unique<TBitmap32>();
  FSrcBmp_T2->SetSize(FSrcBmp->Width(), FSrcBmp->Height());
  FSrcBmp_T2->Clear(0);
  FSrcBmp_T2->SetDrawMode(dmBlend);
  FSrcBmp_T2->SetCombineMode(cmMerge);
  FSrcBmp_T2->SetMasterAlpha(Cardinal(FProcessOpacity));
  if (FProcessMode == TProcessBitmapMode::pbmBrush && FProcessBrushMask) {
    FProcessBrush->Clear(Color32(FillColor) | 0xFF000000u);
    IntensityToAlpha(FProcessBrush.get(), FProcessBrushMask.get());
  }
}

void TImageDraw::ProcessBitmap(bool IsMove, Integer X, Integer Y) {
  bool paint = true, justLocked = false;
  if (FLeftMouseDown && !IsMove) {
    FProcessDown = TPoint(X, Y);
    FProcessDirection = 0;
    if (!FPressSht || FProcessX == UnsetPosition) {
      FProcessX = X;
      FProcessY = Y;
    }
  }
  if (IsMove && FLeftMouseDown) {
    if (!FPressSht) {
      FProcessDirection = 0;
    } else if (FProcessDirection == 0) {
      FProcessDirection = ShiftLockDirection(FProcessDown, TPoint(X, Y));
      paint = FProcessDirection != 0;
      justLocked = paint;
    }
  }
  TRect dab;
  const bool inside = IntersectRects(dab, TRect(X, Y, X + FProcessWidth, Y + FProcessWidth), FSrcBmp->BoundsRect()) &&
                      !Empty(dab);
  if (!FLeftMouseDown || !paint || !inside) {
    if (FControlLayer) FControlLayer->Changed();
    return;
  }
  if (FProcessDirection == 1) Y = FProcessDown.Y;
  if (FProcessDirection == 2) X = FProcessDown.X;
  // The locked line starts at the press point; later moves go on from where
  // the last one ended, on the line. (Drawing the whole line again from the
  // press point on every move would lay each brush and stamp dab once more
  // in the stroke layer, so the line would darken with the number of moves,
  // and every move would cost more than the one before.)
  if (justLocked) {
    FProcessX = FProcessDown.X;
    FProcessY = FProcessDown.Y;
  }
  ProcessBitmapByLine(X, Y);
  SetChanged(true);
  Draw();
}

void TImageDraw::ProcessBitmapByLine(Integer X, Integer Y) {
  {
    FDeferRecompose = true;
    TFinally done([&] { FDeferRecompose = false; });
    for (const TPoint& p : StrokeLinePoints(FProcessX, FProcessY, X, Y)) ProcessBitmapDo(p.X, p.Y);
  }
  RecomposeStroke(FStrokeDirty);
  FStrokeDirty = TRect();
  FProcessX = X;
  FProcessY = Y;
}

void TImageDraw::RecomposeStroke(const TRect& Area) {
  TRect r;
  if (!FSrcBmp_T || !FSrcBmp_T2 || !IntersectRects(r, Area, FSrcBmp->BoundsRect()) || Empty(r)) return;
  for (Integer y = r.Top; y < r.Bottom; ++y)
    std::copy_n(FSrcBmp_T->PixelPtr(r.Left, y), r.Width(), FSrcBmp->PixelPtr(r.Left, y));
  FSrcBmp->Draw(r.Left, r.Top, r, FSrcBmp_T2.get());
}

void TImageDraw::ProcessBitmapDo(Integer X, Integer Y) {
  const Integer w = FProcessWidth;
  const TRect dab(X, Y, X + w, Y + w);
  switch (FProcessMode) {
    case TProcessBitmapMode::pbmPencil:
      if (FProcessOpacity == 255 || !FSrcBmp_T) {
        FSrcBmp->FillRectS(dab, FProcessFillColor);
      } else {
        // The colour over the stroke's start: overlapping dabs never add up.
        TCustomBitmap32 patch;
        patch.SetSize(w, w);
        patch.Clear(0);
        TRect part;
        if (IntersectRects(part, dab, FSrcBmp_T->BoundsRect()) && !Empty(part))
          for (Integer y = part.Top; y < part.Bottom; ++y)
            std::copy_n(FSrcBmp_T->PixelPtr(part.Left, y), part.Width(), patch.PixelPtr(part.Left - X, y - Y));
        patch.FillRectTS(patch.BoundsRect(), FProcessFillColor);
        patch.SetDrawMode(dmOpaque);
        FSrcBmp->Draw(X, Y, &patch);
      }
      break;
    case TProcessBitmapMode::pbmEraser:
      FSrcBmp->FillRectS(dab, 0x00FFFFFFu);
      break;
    case TProcessBitmapMode::pbmBrush:
    case TProcessBitmapMode::pbmStamp: {
      if (!FProcessBrush || !FSrcBmp_T2) return;
      if (!DabFarEnough(FLastDabPoint, TPoint(X, Y), FProcessStep)) return;
      if (FProcessMode == TProcessBitmapMode::pbmBrush) {
        if (!FProcessBrushMask) return;  // a row without a tip paints nothing
      } else {
        if (StampSourceBmp == nullptr) return;
        FProcessBrush->Clear(0);
        const Integer sx = X + StampSourcePoint.X - FProcessStampStartX - w / 2 - FBrushOffset;
        const Integer sy = Y + StampSourcePoint.Y - FProcessStampStartY - w / 2 - FBrushOffset;
        const TRect src(sx, sy, sx + FProcessBrush->Width(), sy + FProcessBrush->Height());
        TRect part;
        if (IntersectRects(part, src, StampSourceBmp->BoundsRect()) && !Empty(part))
          for (Integer y = part.Top; y < part.Bottom; ++y)
            std::copy_n(StampSourceBmp->PixelPtr(part.Left, y), part.Width(),
                        FProcessBrush->PixelPtr(part.Left - sx, y - sy));
        if (FProcessBrushMask) AlphaFromIntensity(FProcessBrush.get(), FProcessBrushMask.get(), false);
      }
      FSrcBmp_T2->Draw(X - FBrushOffset, Y - FBrushOffset, FProcessBrush.get());
      const TRect painted(X - FBrushOffset, Y - FBrushOffset, X - FBrushOffset + FProcessBrush->Width(),
                          Y - FBrushOffset + FProcessBrush->Height());
      if (FDeferRecompose)
        FStrokeDirty = UnionOf(FStrokeDirty, painted);
      else
        RecomposeStroke(painted);
      FLastDabPoint = TPoint(X, Y);
      break;
    }
  }
  FSrcBmpChanged = true;
}

void TImageDraw::ProcessBitmapEnd() {
  FProcessBrush.reset();
  FProcessBrushMask.reset();
  FSrcBmp_T.reset();
  FSrcBmp_T2.reset();
}
