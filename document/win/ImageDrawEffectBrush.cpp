// TImageDraw: the effect brushes. Most paint soft round patches of an
// effect picture made once per strength; the eraser paints the unchanged
// image back; the highlighter draws a polyline into a multiply layer; the
// warp modes drive the warping tool over the raster.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Filters.h"
#include "bitmap/SharpenLib32.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/EffectRecipes.h"
#include "document/UndoSteps.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageLines.h"

namespace {

bool IsWarpMode(TEffectMode M) {
  return M == TEffectMode::emWarping || M == TEffectMode::emZooming || M == TEffectMode::emTwirling;
}

TBrushTool WarpToolOf(TEffectMode M) {
  return M == TEffectMode::emWarping ? btWarp : M == TEffectMode::emZooming ? btZoom : btTwirl;
}

}  // namespace

void TImageDraw::SaveEffectDrawStep() {
  FSaveUndoDone = false;
  SaveUndo();
  if (FSaveUndoDone) ++FEffectDrawSteps;
}

void TImageDraw::EffectDrawBegin(Cardinal Value) {
  FEffectDrawing = true;
  FEffectDrawSteps = 0;
  FSrcBmp_T = std::make_unique<TBitmap32>();
  FSrcBmp_T2 = std::make_unique<TBitmap32>();
  FUndoTempCount = 0;
  switch (FEffectMode) {
    case TEffectMode::emBokeh:
      FSrcBmp_T->Assign(FSrcBmp.get());
      EffectDrawReBegin(Value, true);
      break;
    case TEffectMode::emColoring:
      FSrcBmp_T->Assign(FSrcBmp.get());
      ColorToGrayscale(FSrcBmp.get(), FSrcBmp.get(), true);
      FSrcBmp_T2->Assign(FSrcBmp.get());
      FSrcBmpChanged = true;
      SetChanged(true);
      Draw();
      SaveEffectDrawStep();
      break;
    case TEffectMode::emHighlighter: {
      FSrcBmp_T2->Assign(FSrcBmp.get());
      FSrcBmp_T->SetSize(FSrcBmp->Width(), FSrcBmp->Height());
      FSrcBmp_T->Clear(0x00FFFFFFu);
      TPixelCombineEvent multiply;
      GetBlendModeCombiner(BlendModeIndex(u"Multiply"), multiply);
      FSrcBmp_T->SetDrawMode(dmCustom);
      FSrcBmp_T->SetOnPixelCombine(multiply);
      auto* pen = new TImgLines(nullptr, -1, FSrcBmp_T.get());
      pen->SetOpacity(255);
      FHighlightPen.reset(pen);
      break;
    }
    case TEffectMode::emWarping:
    case TEffectMode::emZooming:
    case TEffectMode::emTwirling:
      FSrcBmp_T2->Assign(FSrcBmp.get());
      FWarping = std::make_unique<TImgWarping>(FSrcBmp.get(), FSrcBmp.get(), WarpToolOf(FEffectMode));
      FWarping->UpdateBrush(FEffectDrawRadius * 2, Integer(Value));
      break;
    case TEffectMode::emRedEye:
      FSrcBmp_T->Assign(FSrcBmp.get());
      RemoveRedEye(FSrcBmp_T.get());
      break;
    default:
      FSrcBmp_T2->Assign(FSrcBmp.get());
      EffectDrawReBegin(Value, true);
      break;
  }
  FEffectDrawDone = false;
  FLastEffectPoint = TPoint(-10000, 0);
}

void TImageDraw::EffectDrawReBegin(Cardinal Value, bool bFirstBegin) {
  if (!FSrcBmp_T || !FSrcBmp_T2) return;
  if (IsWarpMode(FEffectMode)) {
    if (FWarping) FWarping->UpdateBrush(FEffectDrawRadius * 2, Integer(Value));
    return;
  }
  if (FEffectMode == TEffectMode::emBokeh) {
    if (!bFirstBegin) {
      FSrcBmp->Assign(FSrcBmp_T.get());
      ++FUndoTempCount;
    }
    ExpBlur(FSrcBmp.get(), Integer(Value));
    FSrcBmp_T2->Assign(FSrcBmp.get());
    FSrcBmpChanged = true;
    SetChanged(true);
    Draw();
    SaveEffectDrawStep();
    return;
  }
  TBitmap32 picture;
  picture.Assign(FSrcBmp_T2.get());
  if (RunEffectBrushPicture(FEffectMode, &picture, Value, FCanvasTransparent, FCanvasColor))
    FSrcBmp_T->Assign(&picture);
}

void TImageDraw::EffectDrawPrepare(TShiftState Shift, Integer X, Integer Y) {
  if (IsWarpMode(FEffectMode) && FWarping) FWarping->MouseDown(Shift, X, Y);
}

void TImageDraw::EffectDrawDo(bool IsDo, TShiftState Shift, Integer X, Integer Y) {
  const Integer r = FEffectDrawRadius;
  FEffectDrawRect = TRect(X - r, Y - r, X + r, Y + r);
  if (!IsDo) {
    if (FEffectMode == TEffectMode::emHighlighter) FHighlightLast = TPoint(X, Y);
    if (FControlLayer) FControlLayer->Changed();
    return;
  }
  if (!FSrcBmp_T || !FSrcBmp_T2) return;
  if (FEffectMode == TEffectMode::emHighlighter) {
    auto* pen = static_cast<TImgLines*>(FHighlightPen.get());
    if (pen == nullptr) return;
    pen->AddNewPoint(X, Y);
    pen->SetOutWidth(2 * r);
    pen->SetColor(FEffectDrawColor);
    pen->SetStyleId(FEffectDrawStyle);
    pen->CalcPoints(true);
    pen->Draw(FSrcBmp_T.get());
    TRect u(std::min(FHighlightLast.X, X) - 2 * r, std::min(FHighlightLast.Y, Y) - 2 * r,
            std::max(FHighlightLast.X, X) + 2 * r, std::max(FHighlightLast.Y, Y) + 2 * r);
    FHighlightLast = TPoint(X, Y);
    if (IntersectRects(u, u, FSrcBmp->BoundsRect()) && !RectIsEmpty(u)) {
      TBitmap32 patch;
      patch.SetSize(u.Width(), u.Height());
      for (Integer y = u.Top; y < u.Bottom; ++y)
        std::copy_n(FSrcBmp_T2->PixelPtr(u.Left, y), u.Width(), patch.ScanLine(y - u.Top));
      patch.Draw(0, 0, u, FSrcBmp_T.get());
      for (Integer y = u.Top; y < u.Bottom; ++y)
        std::copy_n(patch.ScanLine(y - u.Top), u.Width(), FSrcBmp->PixelPtr(u.Left, y));
      FSrcBmpChanged = true;
    }
  } else if (IsWarpMode(FEffectMode)) {
    if (FWarping) FWarping->MouseMove(Shift, X, Y);
    FSrcBmpChanged = true;
  } else {
    const Integer spacing = EffectBrushSpacing(FEffectMode);
    if (FLastEffectPoint.X != -10000 && std::abs(FLastEffectPoint.X - X) < spacing &&
        std::abs(FLastEffectPoint.Y - Y) < spacing)
      return;
    FLastEffectPoint = TPoint(X, Y);
    TBitmap32* source = FEffectDrawErase ? FSrcBmp_T2.get() : FSrcBmp_T.get();
    EffectBrushDab(FSrcBmp.get(), source, FEffectDrawRect, EffectBrushMaxAlpha(FEffectMode, FEffectDrawErase, r));
    FSrcBmpChanged = true;
  }
  SetChanged(true);
  Draw();
  if (FEffectMode == TEffectMode::emHighlighter || IsWarpMode(FEffectMode)) FModified = false;
}

void TImageDraw::EffectDrawEnd() {
  FEffectDrawDone = true;
  FLastEffectPoint = TPoint(-10000, 0);
  if (auto* pen = static_cast<TImgLines*>(FHighlightPen.get())) pen->ClearPoints();
}

void TImageDraw::EffectDrawOver(bool IsUndo) {
  if (!IsUndo) {
    if (FEffectDrawDone && (FEffectMode == TEffectMode::emHighlighter || IsWarpMode(FEffectMode))) {
      SetChanged(true);
      SaveUndo();
    } else if (!FEffectDrawDone &&
               (FEffectMode == TEffectMode::emBokeh || FEffectMode == TEffectMode::emColoring) && FSrcBmp_T) {
      FSrcBmp->Assign(FSrcBmp_T.get());
      FSrcBmpChanged = false;
      // The steps stored while beginning are left behind and dropped, so Redo
      // cannot bring back the effect that was never drawn.
      if (FUndoDT) {
        const Integer target = std::max(FUndoIndex - FEffectDrawSteps, -1);
        for (Integer i = UndoCount() - 1; i > target; --i) RemoveStep(FUndoDT, i);
        FUndoIndex = target;
      }
      Draw();
    }
  }
  FHighlightPen.reset();
  FWarping.reset();
  FSrcBmp_T.reset();
  FSrcBmp_T2.reset();
  FEffectDrawing = false;
  FEffectDrawSteps = 0;
}
