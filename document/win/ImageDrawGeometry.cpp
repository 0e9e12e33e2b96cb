// TImageDraw: resizing, canvas size and margins, cropping, quarter turns,
// flips, the previewed free transformations, and the original image kept
// beside the raster. The sizes and renders are in document/RasterGeometry.h.
#include <memory>

#include "document/RasterGeometry.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"
#include "gdiplus/win/ImageFiles.h"
#include "bitmap/VaZU32Vudover.h"

namespace {
constexpr Integer PropOriginalFile = 4;
}

bool TImageDraw::ResizeImage(Integer W, Integer H) {
  if (W == FSrcBmp->Width() && H == FSrcBmp->Height()) return false;
  TCustomBitmap32 copy;
  copy.Assign(FSrcBmp.get());
  ResizeBitmap(&copy, FSrcBmp.get(), W, H);
  FSrcBmpChanged = true;
  SetChanged(true);
  return true;
}

bool TImageDraw::ResizeCanvas(Integer W, Integer H) {
  if (W == FBitmap->Width() && H == FBitmap->Height()) return false;
  TCustomBitmap32 copy;
  copy.Assign(FSrcBmp.get());
  const TPoint at = CanvasOffset(copy.Width(), copy.Height(), W, H);
  FSrcBmp->SetSize(std::max(W, 0), std::max(H, 0));
  FSrcBmp->Clear(CanvasFill());
  copy.SetDrawMode(dmOpaque);
  FSrcBmp->Draw(at.X, at.Y, &copy);
  FSrcBmpChanged = true;
  SetChanged(true);
  return true;
}

bool TImageDraw::ExtendCanvas(Integer iLeft, Integer iRight, Integer iTop, Integer iBottom) {
  Integer w = 0, h = 0;
  if (!ExtendCanvasSize(FSrcBmp->Width(), FSrcBmp->Height(), iLeft, iRight, iTop, iBottom, w, h)) return false;
  TCustomBitmap32 copy;
  copy.Assign(FSrcBmp.get());
  FSrcBmp->SetSize(w, h);
  FSrcBmp->Clear(CanvasFill());
  copy.SetDrawMode(dmOpaque);
  FSrcBmp->Draw(iLeft, iTop, &copy);
  FSrcBmpChanged = true;
  SetChanged(true);
  return true;
}

bool TImageDraw::CropFrame(TRect& R) const {
  if (CropExists()) {
    if (TImgShape* s = ShapeOfRow(FDT->ItemCount() - 1)) {
      R = s->SRect();
      return true;
    }
  }
  if (TImgSelection* s = Selection()) {
    R = s->Region().Box();
    return true;
  }
  return false;
}

bool TImageDraw::CropEnabled() const {
  TRect frame, r;
  return CropFrame(frame) && CropArea(frame, FSrcBmp->BoundsRect(), r);
}

void TImageDraw::Crop() {
  TRect frame, r;
  if (!CropFrame(frame) || !CropArea(frame, FSrcBmp->BoundsRect(), r)) return;
  TCustomBitmap32 copy;
  copy.Assign(FSrcBmp.get());
  FSrcBmp->SetSize(r.Width(), r.Height());
  copy.SetDrawMode(dmOpaque);
  FSrcBmp->Draw(0, 0, r, &copy);
  FSrcBmpChanged = true;
  ResetShapeLocation(-r.Left, -r.Top);
  InitBitmap();
  const Int64 original = FOriBmp ? Int64(FOriBmp->Width()) * FOriBmp->Height() : 0;
  if (OnProcessingDone)
    OnProcessingDone(this, TProcessingMode::pmCrop,
                     CropLeavesSmallPart(original, Int64(FSrcBmp->Width()) * FSrcBmp->Height()));
}

void TImageDraw::Rotate(Integer Mode) {
  if (Mode == 0)
    FSrcBmp->Rotate270();
  else if (Mode == 1)
    FSrcBmp->Rotate90();
  else
    FSrcBmp->Rotate180();
  FSrcBmpChanged = true;
  InitBitmap();
  SetChanged(true);
  if (OnProcessingDone) OnProcessingDone(this, TProcessingMode::pmTransform, false);
}

void TImageDraw::Flip(Integer Mode) {
  if (Mode == 0)
    FSrcBmp->FlipHorz();
  else
    FSrcBmp->FlipVert();
  FSrcBmpChanged = true;
  SetChanged(true);
}

void TImageDraw::FinishFreeTransform(TCustomBitmap32* B) {
  FSrcBmp->Assign(B);
  FSrcBmpChanged = true;
  InitBitmap();
  Draw();
  if (OnProcessingDone) OnProcessingDone(this, TProcessingMode::pmTransform, false);
}

void TImageDraw::EffectDoRotate(Single RatateAngle) {
  if (!FSrcBmp_T) return;
  TCustomBitmap32 out;
  RotateByAngle(FSrcBmp_T.get(), &out, RatateAngle);
  FinishFreeTransform(&out);
}

void TImageDraw::EffectDoSkew(Integer SkewX, Integer SkewY) {
  if (!FSrcBmp_T) return;
  TCustomBitmap32 out;
  SkewByPercent(FSrcBmp_T.get(), &out, SkewX, SkewY);
  FinishFreeTransform(&out);
}

void TImageDraw::EffectDoTransform(Single X0, Single Y0, Single X1, Single Y1, Single X2, Single Y2, Single X3,
                                   Single Y3, Integer ScaleX, Integer ScaleY) {
  if (!FSrcBmp_T) return;
  const Single x[4] = {X0, X1, X2, X3}, y[4] = {Y0, Y1, Y2, Y3};
  TCustomBitmap32 out;
  TransformCorners(FSrcBmp_T.get(), &out, x, y, ScaleX, ScaleY);
  FinishFreeTransform(&out);
}

void TImageDraw::SrcBmpToOriBmp() {
  if (!FOriBmp) FOriBmp = std::make_unique<TBitmap32>();
  FOriBmp->Assign(FSrcBmp.get());
  FOriBmpThumbChanged = true;
  SetChanged(false);
  if (FDT->PropCount() > PropOriginalFile) FDT->Props(PropOriginalFile)->SetText(String());
  if (OnOriBmpChanged) OnOriBmpChanged(this);
}

void TImageDraw::MakeThumbOfOriBmp(Integer ThumbWidth, Integer ThumbHeight) {
  if (!FOriBmpThumbChanged || !FOriBmp) return;
  if (!FOriBmpThumb) FOriBmpThumb = std::make_unique<TBitmap32>();
  FitBitmap32(FOriBmp.get(), FOriBmpThumb.get(), ThumbWidth, ThumbHeight);
  FOriBmpThumbChanged = false;
}

void TImageDraw::ResetShapeLocation(Integer dx, Integer dy) {
  if (dx == 0 && dy == 0) return;
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
    if (TImgShape* s = ShapeOfRow(i)) s->OffsetShape(dx, dy);
  for (Integer i = 0; i < FHorzGuidesRow->ItemCount(); ++i)
    FHorzGuidesRow->Items(i)->SetValue(FHorzGuidesRow->Items(i)->Value() + dy);
  for (Integer i = 0; i < FVertGuidesRow->ItemCount(); ++i)
    FVertGuidesRow->Items(i)->SetValue(FVertGuidesRow->Items(i)->Value() + dx);
  SetChanged(true);
}
