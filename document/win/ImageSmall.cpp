// The picture object (see ImageSmall.h).
#include "document/win/ImageSmall.h"

#include <algorithm>
#include <cmath>

#include "bitmap/Bmp32_Resamplers.h"
#include "document/UndoSteps.h"
#include "rtl/ScopeGuard.h"

namespace {

void UseLinearResampler(TBitmap32* B) {
  auto* r = new TLinearResampler(B);
  r->SetPixelAccessMode(pamTransparentEdge);
}

}  // namespace

TImgSmall::TImgSmall(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : TImgShape(AOwner, ShapeId, ABitmap),
      FSrcBmp(std::make_unique<TBitmap32>()),
      FTmpBmp(std::make_unique<TBitmap32>()),
      FTransformation(std::make_unique<TAffineTransformation>()) {
  FShapeType = TShapeType::shSmall;
  SetControlModeValue(3);
  UseLinearResampler(FSrcBmp.get());
  UseLinearResampler(FTmpBmp.get());
  FTmpBmp->SetDrawMode(dmBlend);
  FTmpBmp->SetCombineMode(cmMerge);
}

TImgSmall::~TImgSmall() = default;

void TImgSmall::DrawPrepare() {
  const Integer w = FRect.Right - FRect.Left, h = FRect.Bottom - FRect.Top;
  if (w <= 0 || h <= 0) return;
  if (FChanged2 || FTmpBmp->Width() != w || FTmpBmp->Height() != h) {
    FTmpBmp->SetSize(w, h);
    FTmpBmp->Clear(0);
    if (!FSrcBmp->Empty()) {
      FSrcBmp->SetDrawMode(dmOpaque);
      FTmpBmp->Draw(TRect(0, 0, w, h), FSrcBmp->BoundsRect(), FSrcBmp.get());
    }
    FTransformation->SetSrcRect(TFloatRect{0, 0, Single(w), Single(h)});
    ++FRebuildCount;
  }
  FTmpBmp->SetMasterAlpha(Cardinal(std::clamp(FOpacity, 0, 255)));
}

void TImgSmall::SetupRotation(const TRect& R) {
  const Single hw = (R.Right - R.Left) / 2.0f, hh = (R.Bottom - R.Top) / 2.0f;
  FTransformation->Clear();
  FTransformation->Translate(-hw, -hh);
  FTransformation->Rotate(0, 0, FAngle);
  FTransformation->Translate(R.Left + hw, R.Top + hh);
}

void TImgSmall::Draw(TBitmap32* ToBitmap) {
  TBitmap32* target = TargetOf(ToBitmap);
  if (target == nullptr || FRect.Right <= FRect.Left || FRect.Bottom <= FRect.Top) return;
  DrawPrepare();
  if (FAngle == 0) {
    FTmpBmp->DrawTo(target, FRect.Left, FRect.Top);
    FMaxRect = FRect;
    return;
  }
  if (FTurnedBuild != FRebuildCount || FTurnedAngle != FAngle || !FTurnedBmp) MakeTurned();
  SetupRotation(FRect);
  FMaxRect = MakeRect(FTransformation->GetTransformedBounds(), rrNearest);
  // Merging the kept samples gives what merging each sample as it is made
  // gives, at a fraction of the cost of resampling on every drag step.
  FTurnedBmp->SetMasterAlpha(FTmpBmp->MasterAlpha());
  FTurnedBmp->DrawTo(target, FRect.Left + FTurnedAt.X, FRect.Top + FTurnedAt.Y);
}

void TImgSmall::MakeTurned() {
  if (!FTurnedBmp) {
    FTurnedBmp = std::make_unique<TBitmap32>();
    FTurnedBmp->SetDrawMode(dmBlend);
    FTurnedBmp->SetCombineMode(cmMerge);
  }
  const TRect origin(0, 0, FTmpBmp->Width(), FTmpBmp->Height());
  SetupRotation(origin);
  const TRect b = MakeRect(FTransformation->GetTransformedBounds(), rrNearest);
  FTransformation->Translate(Single(-b.Left), Single(-b.Top));
  FTurnedBmp->SetSize(b.Right - b.Left, b.Bottom - b.Top);
  FTurnedBmp->Clear(0);
  const Cardinal alpha = FTmpBmp->MasterAlpha();
  FTmpBmp->SetDrawMode(dmOpaque);
  FTmpBmp->SetMasterAlpha(255);
  {
    TFinally back([&] {
      FTmpBmp->SetDrawMode(dmBlend);
      FTmpBmp->SetMasterAlpha(alpha);
    });
    Transform(FTurnedBmp.get(), FTmpBmp.get(), FTransformation.get());
  }
  FTurnedAt = TPoint(b.Left, b.Top);
  FTurnedAngle = FAngle;
  FTurnedBuild = FRebuildCount;
}

void TImgSmall::DrawByRect(TBitmap32* DstBmp, Integer X, Integer Y, Integer AlphaValue) {
  if (DstBmp == nullptr || FTmpBmp->Empty()) return;
  if (AlphaValue >= 0) FTmpBmp->SetMasterAlpha(Cardinal(std::min(AlphaValue, 255)));
  if (FAngle == 0) {
    FTmpBmp->DrawTo(DstBmp, X, Y);
    return;
  }
  SetupRotation(TRect(X, Y, X + FTmpBmp->Width(), Y + FTmpBmp->Height()));
  Transform(DstBmp, FTmpBmp.get(), FTransformation.get());
}

void TImgSmall::GetMaxRect(TRect& R) {
  if (FAngle == 0 || FRect.Right <= FRect.Left || FRect.Bottom <= FRect.Top) {
    R = FRect;
    return;
  }
  FTransformation->SetSrcRect(TFloatRect{0, 0, Single(FRect.Right - FRect.Left), Single(FRect.Bottom - FRect.Top)});
  SetupRotation(FRect);
  R = MakeRect(FTransformation->GetTransformedBounds(), rrNearest);
}

bool TImgSmall::PtInShape(Integer X, Integer Y) {
  const Integer w = FRect.Right - FRect.Left, h = FRect.Bottom - FRect.Top;
  if (w <= 0 || h <= 0) return false;
  if (FAngle == 0) return FramePtInShape(X, Y);
  TRect m;
  GetMaxRect(m);
  if (!PointInRect(m, TPoint(X, Y))) return false;
  Single sx = 0, sy = 0;
  FTransformation->EnsureValid();  // the reverse matrix of this box, not of the last drawing
  if (!FTransformation->ReverseTransformFloat(Single(X), Single(Y), sx, sy)) return false;
  if (sx < 0 || sy < 0 || sx >= w || sy >= h) return false;
  FCurrentCtrIndex = -1;
  FCurrentCursor = ShapeCursor::SizeAll;
  return true;
}

void TImgSmall::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  TImgShape::AdjustShape(X1, Y1, X2, Y2);
  FChanged2 = true;
}

void TImgSmall::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FrameMoveShape(X1, Y1, X2, Y2);
  FStartX = X2;
  FStartY = Y2;
}

TRect TImgSmall::ObjectPaintBounds() const {
  TRect r = FRect;
  if (FAngle != 0) {
    const Integer half = std::max(r.Right - r.Left, r.Bottom - r.Top) / 2 + 2;
    InflateRectXY(r, half, half);
  }
  return r;
}

// ---------------------------------------------------------------------------
// Undo and the sidecar

void TImgSmall::TakePixels(TCustomBitmap32* Picture) {
  if (Picture == nullptr) {
    FSrcBmp->SetSize(0, 0);
  } else {
    Picture->CopyPixelsTo(FSrcBmp.get());
  }
  FChanged2 = true;
}

void TImgSmall::SaveUndoParts(TRow* StepRow) {
  if (!FDataChanged) return;
  SetPartOf(StepRow, TUndoSlot::Picture, new TUndoBitmap(CopyOfBitmap(FSrcBmp.get())));
  FDataChanged = false;
}

void TImgSmall::RestoreUndoParts(TDataTable* UndoDT, Integer Index) {
  if (TRow* r = FindRowPart(UndoDT, Index, FId, TUndoSlot::Picture))
    TakePixels(static_cast<TUndoBitmap*>(PartOf(r, TUndoSlot::Picture))->Value.get());
  FDataChanged = false;
}

void TImgSmall::RestorePicture(TCustomBitmap32* Picture) {
  TakePixels(Picture);
  FDataChanged = true;
}
