// TImageDraw: effect previews on the working raster or on the current
// picture object, the colour adjustment, and bringing back the original
// image. The recipes themselves are in document/EffectRecipes.h.
#include <memory>

#include "document/EffectRecipes.h"
#include "document/SelectionCore.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageSmall.h"

TImgSmall* TImageDraw::EffectSmallShape() const { return dynamic_cast<TImgSmall*>(FCurrentShape); }

void TImageDraw::EffectBegin() {
  FSrcBmp_T.reset();
  FEffectWork.reset();
  if (FEffectSmall) {
    TImgSmall* s = EffectSmallShape();
    if (s == nullptr || s->SrcBmp() == nullptr) return;
    FSrcBmp_T = std::make_unique<TBitmap32>();
    FSrcBmp_T->Assign(s->SrcBmp());
    return;
  }
  FEffectUndoOnCancel = false;
  if (EffectMergesSelection(FEffectMode)) {
    TImgSelection* s = Selection();
    if (s && s->FlattenBitmap(true)) {
      SaveUndo();
      FEffectUndoOnCancel = true;
    }
  }
  FSrcBmp_T = std::make_unique<TBitmap32>();
  FSrcBmp_T->Assign(FSrcBmp.get());
}

TCustomBitmap32* TImageDraw::EffectWorkingCopy(bool UseSelection, TPoint& Origin, bool& FromSelection,
                                               std::unique_ptr<TCustomBitmap32>& Holder) {
  Origin = TPoint();
  FromSelection = false;
  TImgSelection* s = FEffectSmall ? nullptr : Selection();
  if (UseSelection && s) {
    FromSelection = true;
    Holder.reset(RegionToBitmap(s->Region(), FSrcBmp_T.get(), false, false, Origin));
    return Holder.get();
  }
  if (!FEffectWork) FEffectWork = std::make_unique<TCustomBitmap32>();
  FEffectWork->Assign(FSrcBmp_T.get());
  return FEffectWork.get();
}

bool TImageDraw::EffectRunsOnRaster() const {
  return !FEffectSmall && Selection() == nullptr && FSrcBmp && FSrcBmp_T &&
         FSrcBmp->Width() == FSrcBmp_T->Width() && FSrcBmp->Height() == FSrcBmp_T->Height() &&
         !FSrcBmp->Clipping();
}

void TImageDraw::EffectWriteBack(TCustomBitmap32* Copy, const TPoint& Origin, bool FromSelection) {
  if (FEffectSmall) {
    if (TImgSmall* s = EffectSmallShape()) {
      s->RestorePicture(Copy);
      s->SetDataChanged(true);
      s->SetChanged2(true);
    }
  } else if (FromSelection) {
    SrcInRegionAssignToDest(Copy, FSrcBmp.get(), Origin);
  } else {
    Copy->SetDrawMode(dmOpaque);
    FSrcBmp->Draw(Origin.X, Origin.Y, Copy);
  }
  FSrcBmpChanged = true;
}

void TImageDraw::EffectDo(Integer Value, bool OptionChecked) {
  if (!FSrcBmp_T) return;
  TEffectInputs in;
  in.CanvasColor = FCanvasColor;
  in.MaskBmp = FEffectMaskBmp;
  if (EffectRunsOnRaster()) {
    // Every pixel of the raster is written from the start image.
    RunEffectDoFrom(FEffectMode, FSrcBmp_T.get(), FSrcBmp.get(), Value, OptionChecked, in);
    FSrcBmp->Changed();
    FSrcBmpChanged = true;
    Draw();
    return;
  }
  TPoint origin;
  bool fromSelection = false;
  std::unique_ptr<TCustomBitmap32> holder;
  if (TCustomBitmap32* copy = EffectWorkingCopy(true, origin, fromSelection, holder)) {
    RunEffectDo(FEffectMode, copy, Value, OptionChecked, in);
    EffectWriteBack(copy, origin, fromSelection);
  }
  Draw();
}

void TImageDraw::EffectDo2(Integer Value1, Integer Value2, Integer Value3, Integer Value4, TColor ValueColor,
                           Integer ValueBlendMode, bool OptionChecked) {
  (void)OptionChecked;
  if (!FSrcBmp_T) return;
  TPoint origin;
  bool fromSelection = false;
  std::unique_ptr<TCustomBitmap32> holder;
  if (TCustomBitmap32* copy = EffectWorkingCopy(EffectDo2UsesSelection(FEffectMode), origin, fromSelection, holder)) {
    RunEffectDo2(FEffectMode, copy, Value1, Value2, Value3, Value4, Color32(ValueColor), ValueBlendMode);
    EffectWriteBack(copy, origin, fromSelection);
  }
  Draw();
}

void TImageDraw::EffectDoDirection(Integer Value, Integer Direction, bool OptionChecked) {
  if (!FSrcBmp_T) return;
  TPoint origin;
  bool fromSelection = false;
  std::unique_ptr<TCustomBitmap32> holder;
  TCustomBitmap32* copy = EffectWorkingCopy(false, origin, fromSelection, holder);
  RunEffectDoDirection(FEffectMode, copy, Value, Direction, OptionChecked);
  EffectWriteBack(copy, origin, fromSelection);
  Draw();
}

void TImageDraw::ImageAdjust(Integer BrightnessAmount, Integer ContrastAmount, Integer LightnessAmount,
                             Integer SaturationAmount, Integer HueAmount, Integer BalanceRedAmount,
                             Integer BalanceGreenAmount, Integer BalanceBlueAmount, bool BalanceLuminosity) {
  if (!FSrcBmp_T) return;
  if (!FEffectSmall)
    if (TImgSelection* s = Selection()) s->FlattenBitmap(true);
  TPoint origin;
  bool fromSelection = false;
  std::unique_ptr<TCustomBitmap32> holder;
  if (TCustomBitmap32* copy = EffectWorkingCopy(true, origin, fromSelection, holder)) {
    TImageAdjustAmounts a;
    a.Brightness = BrightnessAmount;
    a.Contrast = ContrastAmount;
    a.Lightness = LightnessAmount;
    a.Saturation = SaturationAmount;
    a.Hue = HueAmount;
    a.BalanceRed = BalanceRedAmount;
    a.BalanceGreen = BalanceGreenAmount;
    a.BalanceBlue = BalanceBlueAmount;
    a.BalanceLuminosity = BalanceLuminosity;
    RunImageAdjust(copy, a, FColorBalance.get());
    EffectWriteBack(copy, origin, fromSelection);
  }
  SetChanged(true);
  Draw();
}

void TImageDraw::EffectEnd(bool IsApply) {
  if (!FSrcBmp_T) return;
  std::unique_ptr<TBitmap32> start = std::move(FSrcBmp_T);
  FEffectWork.reset();
  if (FEffectSmall) {
    if (IsApply) {
      SetChanged(true);
      SaveUndo();
    } else if (TImgSmall* s = EffectSmallShape()) {
      s->RestorePicture(start.get());
      s->SetDataChanged(true);
      s->SetChanged2(true);
      Draw();
    }
  } else if (IsApply) {
    SetChanged(true);
    SaveUndo();
  } else if (FEffectUndoOnCancel) {
    FEffectUndoOnCancel = false;
    Undo();
    Draw();
  } else {
    FSrcBmp->Assign(start.get());
    FSrcBmpChanged = false;
    if (FEffectMode == TEffectMode::emRotate || FEffectMode == TEffectMode::emSkew ||
        FEffectMode == TEffectMode::emTransform) {
      InitBitmap();
      if (OnProcessingDone) OnProcessingDone(this, TProcessingMode::pmTransform, false);
    }
    Draw();
  }
}

void TImageDraw::ImageRestore() {
  if (!FOriBmp) return;
  FSrcBmp->Assign(FOriBmp.get());
  FSrcBmpChanged = true;
  InitBitmap();
  SetChanged(true);
}

void TImageDraw::SrcInRegionAssignToDest(TCustomBitmap32* Src, TCustomBitmap32* Dest, const TPoint& SrcOriginPoint) {
  TImgSelection* s = Selection();
  if (s == nullptr || Src == nullptr || Dest == nullptr) return;
  CopyInRegion(s->Region(), Src, Dest, SrcOriginPoint);
}
