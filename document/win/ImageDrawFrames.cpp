// TImageDraw: the photo frames on the working raster or on the current
// picture object. The frames' numbers (sizes, offsets, bands, shapes, layer
// rectangles) are in document/FrameGeometry.h, the shapes on GDI+ and the
// pixel masks in document/win/FramePaths.h.
#include <algorithm>
#include <memory>

#include "bitmap/Bmp32_Filters.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/FrameGeometry.h"
#include "document/win/FramePaths.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSmall.h"

namespace {

// The cell Index of Row as a number (0 when the row is shorter).
Integer CellValue(TRow* Row, Integer Index) { return Index < Row->ItemCount() ? Row->Items(Index)->Value() : 0; }
bool CellBool(TRow* Row, Integer Index) { return Index < Row->ItemCount() && Row->Items(Index)->AsBool(); }

// Outlines Path on B with an anti-aliased pen.
void OutlinePath(TBitmap32* B, const IGPGraphicsPath& Path, TColor32 Color, Single Width) {
  IGPGraphics g = TGPGraphics::FromHDC(B->Handle());
  g->SetSmoothingMode(SmoothingModeAntiAlias);
  g->DrawPath(IGPPen(new TGPPen(TGPColor(Color | 0xFF000000u), Width)), Path);
}

// B := Image's pixels at (X, Y) of a Width x Height picture cleared to Fill
// (the image copied, its alpha kept).
void PlaceImage(TBitmap32* B, Integer Width, Integer Height, TColor32 Fill, TCustomBitmap32* Image, Integer X,
                Integer Y) {
  B->SetSize(Width, Height);
  B->Clear(Fill);
  const TDrawMode mode = Image->DrawMode();
  Image->SetDrawMode(dmOpaque);
  B->Draw(X, Y, Image);
  Image->SetDrawMode(mode);
}

}  // namespace

void TImageDraw::FrameBegin() {
  FSrcBmp_T.reset();
  FFrameWork.reset();
  if (FFrameSmall) {
    TImgSmall* s = EffectSmallShape();
    if (s == nullptr || s->SrcBmp() == nullptr) return;
    FSrcBmp_T = std::make_unique<TBitmap32>();
    FSrcBmp_T->Assign(s->SrcBmp());
    FFrameSmallRect = s->SRect();
    return;
  }
  FSrcBmp_T = std::make_unique<TBitmap32>();
  FSrcBmp_T->Assign(FSrcBmp.get());
  FFrameMoveX = 0;
  FFrameMoveY = 0;
}

TBitmap32* TImageDraw::FrameCanvas() {
  if (!FSrcBmp_T) return nullptr;
  if (!FFrameSmall) return FSrcBmp.get();
  if (EffectSmallShape() == nullptr) return nullptr;
  if (!FFrameWork) FFrameWork = std::make_unique<TBitmap32>();
  return FFrameWork.get();
}

void TImageDraw::FrameFinish(Integer X0, Integer Y0) {
  if (FFrameSmall) {
    TImgSmall* s = EffectSmallShape();
    if (s == nullptr || !FFrameWork) return;
    s->RestorePicture(FFrameWork.get());
    const TRect r = s->SRect();
    s->SetSRect(TRect(r.Left, r.Top, r.Left + FFrameWork->Width(), r.Top + FFrameWork->Height()));
    s->CalcPoints(false);
    s->CalcCenterPoint();
    s->SetDataChanged(true);
    s->SetChanged2(true);
    Draw();
    return;
  }
  FSrcBmp->Changed();
  FSrcBmpChanged = true;
  ResetShapeLocation(X0 - FFrameMoveX, Y0 - FFrameMoveY);
  FFrameMoveX = X0;
  FFrameMoveY = Y0;
  InitBitmap();
  Draw();
  if (OnProcessingDone) OnProcessingDone(this, TProcessingMode::pmResize, false);
}

void TImageDraw::FrameFinishInPlace() {
  TBitmap32* canvas = FrameCanvas();
  if (canvas == nullptr) return;
  if (FFrameSmall) {
    TImgSmall* s = EffectSmallShape();
    if (s == nullptr) return;
    s->RestorePicture(canvas);
    const TRect r = s->SRect();
    if (r.Width() != canvas->Width() || r.Height() != canvas->Height()) {
      // Only after a run of another kind in the same preview.
      s->SetSRect(TRect(r.Left, r.Top, r.Left + canvas->Width(), r.Top + canvas->Height()));
      s->CalcPoints(false);
      s->CalcCenterPoint();
    }
    s->SetDataChanged(true);
    s->SetChanged2(true);
    Draw();
    return;
  }
  FSrcBmp->Changed();
  FSrcBmpChanged = true;
  // Nothing moves unless an earlier run of this preview moved the objects
  // (a frame of another kind): then they go back with the image.
  const bool moved = FFrameMoveX != 0 || FFrameMoveY != 0;
  const bool resized = FBitmap->Width() != FSrcBmp->Width() || FBitmap->Height() != FSrcBmp->Height();
  ResetShapeLocation(-FFrameMoveX, -FFrameMoveY);
  FFrameMoveX = 0;
  FFrameMoveY = 0;
  if (moved || resized) {
    InitBitmap();
    Draw();
    if (OnProcessingDone) OnProcessingDone(this, TProcessingMode::pmResize, false);
  } else {
    Draw();
  }
}

void TImageDraw::FrameUnframed() {
  TBitmap32* canvas = FrameCanvas();
  if (canvas == nullptr) return;
  canvas->Assign(FSrcBmp_T.get());
  FrameFinishInPlace();
}

void TImageDraw::FrameDo0(Integer Value1, TColor Color1, Integer Value2, TColor Color2, Integer Value3, TColor Color3,
                          bool OptionChecked) {
  (void)OptionChecked;
  TBitmap32* canvas = FrameCanvas();
  if (canvas == nullptr) return;
  TCustomBitmap32* image = FSrcBmp_T.get();
  TFrame0Layout lay;
  if (!Frame0Layout(FFrameMode, image->Width(), image->Height(), std::max(Value1, 0), std::max(Value2, 0),
                    std::max(Value3, 0), lay)) {
    FrameUnframed();
    return;
  }
  const TColor32 colors[4] = {0, Color32(Color1), Color32(Color2), Color32(Color3)};
  // The frame picture F: its colour, the bands, the cut-out made
  // transparent and outlined.
  TBitmap32 f;
  f.SetSize(lay.Width, lay.Height);
  f.Clear(colors[lay.FillColor]);
  for (const TFrameBand& b : lay.Bands) f.FillRectS(b.Rect, colors[b.Color]);
  const IGPGraphicsPath cut = FramePathToGP(lay.CutOut);
  ClearAlphaInRegion(&f, TFramePathMask(cut, lay.Width, lay.Height));
  if (lay.Outline) OutlinePath(&f, cut, colors[2], 1);
  // The target: colour 1, the image, F over them.
  PlaceImage(canvas, lay.Width, lay.Height, colors[1], image, lay.X0, lay.Y0);
  f.SetDrawMode(dmBlend);
  canvas->Draw(0, 0, &f);
  for (const TRect& m : lay.Margins) canvas->FillRectS(m, colors[1]);
  FrameFinish(lay.X0, lay.Y0);
}

void TImageDraw::FrameDo1(Integer Value1, TColor Color1, Integer Value2, bool OptionChecked) {
  (void)OptionChecked;
  TBitmap32* canvas = FrameCanvas();
  if (canvas == nullptr) return;
  TCustomBitmap32* image = FSrcBmp_T.get();
  const Integer v1 = std::max(Value1, 0);
  TFramePath shape;
  if (!Frame1Shape(FFrameMode, image->Width(), image->Height(), v1, std::max(Value2, 0), shape)) {
    FrameUnframed();
    return;
  }
  const Integer w = image->Width() + 2 * v1, h = image->Height() + 2 * v1;
  PlaceImage(canvas, w, h, 0x00FFFFFFu, image, v1, v1);
  const IGPGraphicsPath path = FramePathToGP(shape);
  ClearOutsideRegion(canvas, TFramePathMask(path, w, h), 0x00FFFFFFu);
  if (v1 >= 1)
    OutlinePath(canvas, path, Color32(Color1), Single(v1));
  else if (!FCanvasTransparent)
    OutlinePath(canvas, path, FCanvasColor, 1);
  FrameFinish(v1, v1);
}

void TImageDraw::FrameDo2(TDataTable* DT) {
  TBitmap32* canvas = FrameCanvas();
  if (canvas == nullptr) return;
  if (DT == nullptr) {
    FrameUnframed();
    return;
  }
  TCustomBitmap32* image = FSrcBmp_T.get();
  std::vector<TFrameLayerWidths> widths;
  for (Integer i = 0; i < DT->ItemCount(); ++i) {
    TRow* r = DT->Items(i);
    widths.push_back({CellBool(r, 0), CellValue(r, 10), CellValue(r, 11), CellValue(r, 12), CellValue(r, 13)});
  }
  const TFrame2Layout lay = Frame2Layout(image->Width(), image->Height(), widths);
  if (lay.Painted.empty()) {
    // No width anywhere: the picture is the image itself.
    PlaceImage(canvas, image->Width(), image->Height(), FCanvasColor, image, 0, 0);
    FrameFinish(0, 0);
    return;
  }
  canvas->SetSize(lay.Width, lay.Height);
  canvas->Clear(FCanvasColor);
  for (Integer i : lay.Painted) {
    TRow* r = DT->Items(i);
    const TRect& outer = lay.Outer[size_t(i)];
    if (CellBool(r, 1)) {
      canvas->FillRectS(outer, Color32(TColor(CellValue(r, 2))));
      if (CellBool(r, 5)) DrawShadedFrame(canvas, outer, CellValue(r, 11), CellValue(r, 6));
    } else {
      canvas->FillRectS(outer, FCanvasColor);
      if (auto* texture = static_cast<TCustomBitmap32*>(r->Data())) TilePattern(texture, canvas, outer, CellBool(r, 3));
    }
  }
  const TDrawMode mode = image->DrawMode();
  image->SetDrawMode(dmOpaque);
  canvas->Draw(lay.X0, lay.Y0, image);
  image->SetDrawMode(mode);
  FrameFinish(lay.X0, lay.Y0);
}

void TImageDraw::FrameDo3(Integer Value1, TColor Color1) {
  TBitmap32* canvas = FrameCanvas();
  if (canvas == nullptr) return;
  TCustomBitmap32* image = FSrcBmp_T.get();
  if (FFrameMaskBmp == nullptr || FFrameMaskBmp->Empty() || image->Empty()) {
    FrameUnframed();
    return;
  }
  const Integer w = image->Width(), h = image->Height();
  const Integer alpha = std::clamp(Frame3MasterAlpha(Value1), 0, 255);
  PlaceImage(canvas, w, h, 0, image, 0, 0);
  if (alpha > 0) {
    // The colour layer: opaque where the mask picture is dark.
    TCustomBitmap32 inverted, mask, layer;
    InvertRGB(&inverted, FFrameMaskBmp);
    ResizeBitmap(&inverted, &mask, w, h);
    layer.SetSize(w, h);
    layer.Clear(Color32(Color1));
    IntensityToAlpha(&layer, &mask);
    layer.SetDrawMode(dmBlend);
    layer.SetMasterAlpha(Cardinal(alpha));
    canvas->Draw(0, 0, &layer);
  }
  FrameFinishInPlace();
}

void TImageDraw::FrameEnd(bool IsApply) {
  if (!FSrcBmp_T) return;
  std::unique_ptr<TBitmap32> start = std::move(FSrcBmp_T);
  FFrameWork.reset();
  if (FFrameSmall) {
    if (IsApply) {
      SetChanged(true);
      SaveUndo();
    } else if (TImgSmall* s = EffectSmallShape()) {
      // The picture and the box it had: a picture shown scaled keeps its
      // scale when the frame is cancelled.
      s->RestorePicture(start.get());
      s->SetSRect(FFrameSmallRect);
      s->CalcPoints(false);
      s->CalcCenterPoint();
      s->SetDataChanged(true);
      s->SetChanged2(true);
      Draw();
    }
    return;
  }
  if (IsApply) {
    FSrcBmpChanged = true;
    SetChanged(true);
    SaveUndo();
  } else {
    FSrcBmp->Assign(start.get());
    FSrcBmpChanged = false;
    ResetShapeLocation(-FFrameMoveX, -FFrameMoveY);
    InitBitmap();
    Draw();
    if (OnProcessingDone) OnProcessingDone(this, TProcessingMode::pmResize, false);
  }
  FFrameMoveX = 0;
  FFrameMoveY = 0;
}
