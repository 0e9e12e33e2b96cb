// The shape base: virtual operations' base behaviour, handles, the style
// builders and the fill-and-outline procedure; the texture cache.
#include <algorithm>

#include "bitmap/VaZU32Vudover.h"
#include "document/ShapeRows.h"
#include "document/ShapeStyles.h"
#include "document/win/ImageDraw.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileUtils.h"
#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SizeMath.h"
#include "rtl/SysUtils.h"

namespace {

// The largest style picture built (pixels); a damaged row asking for more
// gets no picture instead of an allocation failure while drawing.
constexpr Int64 MaxStylePixels = Int64(1) << 27;

TGPColor Opaque(TColor C) { return TGPColor(Color32(C) | 0xFF000000u); }

// The builders' work bitmaps, kept between builds (per thread): a fresh
// bitmap of an object's size costs a DIB section and its page faults on
// every build.
TBitmap32* WorkBitmap(size_t Slot, const TRect& R, TColor32 Fill) {
  thread_local std::unique_ptr<TBitmap32> work[3];
  std::unique_ptr<TBitmap32>& b = work[Slot];
  if (!b) b = std::make_unique<TBitmap32>();
  b->SetSize(R.Width(), R.Height());
  b->Clear(Fill);
  return b.get();
}

bool UsableArea(const TRect& R) {
  Int64 n = 0;
  return R.Width() > 0 && R.Height() > 0 && CheckedProduct({R.Width(), R.Height()}, MaxStylePixels, n);
}

TStyleBitmap& EnsureStyleBitmap(TStyleBitmap& B) {
  if (!B) {
    B = std::make_unique<TCustomBitmap32>();
    B->SetDrawMode(dmBlend);
    B->SetCombineMode(cmMerge);
  }
  return B;
}

// Pixels of Src into Dst (sized to it), modes of Dst kept.
void CopyPixels(TCustomBitmap32* Src, TCustomBitmap32* Dst) {
  Dst->SetSize(Src->Width(), Src->Height());
  if (!Src->Empty()) std::copy_n(Src->Bits(), size_t(Src->Width()) * size_t(Src->Height()), Dst->Bits());
}

// --- the texture cache's rows

struct TTextureEntry {
  std::unique_ptr<TMemoryStream> Bytes;
  std::vector<TColor32> Pixels;  // the decoded picture, which Image reads
  IGPImage Image;
};

}  // namespace

TDataTable* PictureStreamDT = nullptr;

Integer CacheTextureFile(const String& FileName) {
  if (PictureStreamDT == nullptr || FileName.empty()) return -1;
  const Integer found = PictureStreamDT->IndexOfText(0, FileName);
  if (found >= 0) return found;
  if (!FileExists(FileName)) return -1;
  bool hasAlpha = false;
  Integer depth = -1;
  std::unique_ptr<TBitmap32> decoded(LoadImageToBitmap32(FileName, hasAlpha, depth));
  if (!decoded || decoded->Width() <= 0 || decoded->Height() <= 0) return -1;
  auto entry = std::make_shared<TTextureEntry>();
  entry->Bytes = std::make_unique<TMemoryStream>();
  entry->Bytes->LoadFromFile(FileName);
  const Integer w = decoded->Width(), h = decoded->Height();
  entry->Pixels.assign(decoded->Bits(), decoded->Bits() + size_t(w) * size_t(h));
  entry->Image = IGPImage(new TGPBitmap(w, h, w * 4, gdipflat::PixelFormat32bppARGB, entry->Pixels.data()));
  TRow* row = PictureStreamDT->AddItem(u",,,,,");
  row->Items(0)->SetText(FileName);
  row->SetData(entry->Bytes.get());
  row->SetIData(entry);
  return row->GetIndex();
}

IGPImage CachedTextureImage(Integer Index) {
  if (PictureStreamDT == nullptr || Index < 0 || Index >= PictureStreamDT->ItemCount()) return nullptr;
  auto entry = std::static_pointer_cast<TTextureEntry>(PictureStreamDT->Items(Index)->IData());
  return entry ? entry->Image : nullptr;
}

void BuildGradientBlend(TRow* ColorRow, TRow* OpacityRow, TRow* PositionRow, Integer Opacity,
                        TArrayOfGPColor& Colors, TArrayOfSingle& Positions, TColor ForeColor, TColor BackColor) {
  std::vector<TColor32> argb;
  BuildGradientBlend(ColorRow, OpacityRow, PositionRow, Opacity, argb, Positions, ForeColor, BackColor);
  Colors.assign(argb.begin(), argb.end());
}

// ---------------------------------------------------------------------------

TImgShape::TImgShape(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : FParent(AOwner), FBitmap(AOwner ? AOwner->Bitmap() : ABitmap) {
  FId = ShapeId;
}

TImgShape::~TImgShape() = default;

void TImgShape::SetControlMode(Integer Value) {
  if (Value == FControlMode) return;
  SetControlModeValue(Value);
  if (!FCreating && !FLoading && FParent) FParent->ShapeStateChanged();
}

void TImgShape::Draw(TBitmap32*) {}

void TImgShape::DrawControlPoint(TBitmap32* ToBitmap) {
  if (!FSelected || FParent == nullptr) return;
  TBitmap32* t = TargetOf(ToBitmap);
  const auto& p = FCtrPoints;
  auto dashedFrame = [&] {
    t->SetStipple({0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0, 0, 0});
    t->SetStippleStep(1);
    t->SetStippleCounter(0);
    t->MoveToF(Single(p[1].X), Single(p[1].Y));
    for (size_t i : {2, 3, 4, 1}) t->LineToFSP(Single(p[i].X), Single(p[i].Y));
  };
  const TShapeType k = FShapeType;
  if (k == TShapeType::shFreeShape && FControlMode == 4) {
    dashedFrame();
    LayoutSkewHandles();
    t->Draw(FCtrRect[5].Left, FCtrRect[5].Top, FParent->CtrBmpAH());
    t->Draw(FCtrRect[6].Left, FCtrRect[6].Top, FParent->CtrBmpAH());
    t->Draw(FCtrRect[7].Left, FCtrRect[7].Top, FParent->CtrBmpAV());
    t->Draw(FCtrRect[8].Left, FCtrRect[8].Top, FParent->CtrBmpAV());
    return;
  }
  const bool discs = k == TShapeType::shRectangle || k == TShapeType::shSmall || k == TShapeType::shText ||
                     k == TShapeType::shCallout || k == TShapeType::shEllipse || k == TShapeType::shFreeShape;
  if (discs) {
    if (k == TShapeType::shText || k == TShapeType::shCallout) {
      t->LineAS(p[0].X, p[0].Y, p[5].X, p[5].Y, 0xFF000000u);
      dashedFrame();
    }
    LayoutDiscHandles(k == TShapeType::shSmall);
    for (size_t i = 0; i <= 8; ++i)
      if (!RectIsEmpty(FCtrRect[i]))
        t->Draw(FCtrRect[i].Left, FCtrRect[i].Top, i == 0 ? FParent->CtrBmpG2() : FParent->CtrBmpY2());
    return;
  }
  LayoutSquareHandles(FParent->CtrBmpY()->Width());
  for (size_t i = 1; i <= 8; ++i)
    if (!RectIsEmpty(FCtrRect[i])) t->Draw(FCtrRect[i].Left, FCtrRect[i].Top, FParent->CtrBmpY());
}

bool TImgShape::PtInControl(Integer X, Integer Y) { return FramePtInControl(X, Y); }
bool TImgShape::PtInShape(Integer X, Integer Y) { return FramePtInShape(X, Y); }

void TImgShape::Click() {
  const bool crop = FShapeType == TShapeType::shCrop && FParent;
  FrameClickStart(crop ? FParent->CropFixedRate() : 0);
  Select();
}

void TImgShape::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const bool shift = FParent && FParent->PressSht();
  FrameAdjustShape(X1, Y1, X2, Y2, FShapeType == TShapeType::shCrop, FShapeType == TShapeType::shSmall && shift);
}

void TImgShape::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) { FrameMoveShape(X1, Y1, X2, Y2); }
void TImgShape::MoveShapeOver(Integer, Integer) {}
void TImgShape::OffsetShape(Integer DX, Integer DY) { FrameOffsetShape(DX, DY); }
void TImgShape::InitPoints(bool) {}
void TImgShape::CalcPoints(bool) {}
void TImgShape::CalcControlPoints() { FrameCalcControlPoints(ViewMap()); }
void TImgShape::CalcRect() {}
void TImgShape::CalcCenterPoint() { FrameCalcCenterPoint(); }
void TImgShape::CalcPointsRatio() {}

void TImgShape::Select() {
  if (FSelected) return;
  SetSelectedFlag(true);
  if (FParent) FParent->SelectedIds()->AddItem(FId);
}

void TImgShape::UnSelect() {
  if (!FSelected) return;
  SetSelectedFlag(false);
  if (FParent) FParent->SelectedIds()->RemoveItemByValue(FId);
}

void TImgShape::ReadRowColumns(TRow*) {}
void TImgShape::WriteRowColumns(TRow*) {}
void TImgShape::ReadPresetColumns(TRow*) {}

TRect TImgShape::ObjectPaintBounds() const {
  TRect r = RotateRect();
  const Integer m = 5 * std::max(FOutWidth, 0) + 3;
  InflateRectXY(r, m, m);
  return r;
}

TRect TImgShape::StyleRect(const TCustomBitmap32* B, Integer X, Integer Y) const {
  return B ? Bounds(X, Y, B->Width(), B->Height()) : TRect();
}

TRect TImgShape::PaintBounds() const {
  TRect r = ObjectPaintBounds();
  const TRect rr = RotateRect();
  auto add = [&](const TRect& S) {
    if (!RectIsEmpty(S)) UnionRects(r, r, S);
  };
  if (!FAdjusting && HasGradient() && FGradientFillMode == 3 && FIsOutline)
    add(StyleRect(FGradientEdgingBmp.get(), rr.Left - FGradientEdgingExtendLength,
                  rr.Top - FGradientEdgingExtendLength));
  if (FCreating || FAdjusting) return r;
  const Integer sx = rr.Left + FShadowOffsetAngleLeft - FShadowExtendLength - FShadowOffsetZoomLeft;
  const Integer sy = FShadowOffsetAngleTop - FShadowExtendLength - FShadowOffsetZoomTop;
  if (HasShadow()) add(StyleRect(FShadowBmp.get(), sx, rr.Top + sy));
  if (HasShadow() && HasReflection())
    add(StyleRect(FShadowReflectBmp.get(), sx, rr.Bottom + sy + FReflectDistance));
  if (HasReflection())
    add(StyleRect(FReflectBmp.get(), rr.Left - FReflectExtendLength,
                  rr.Bottom + FReflectDistance - FReflectExtendLength));
  return r;
}

void TImgShape::StartDraw(TColor BGColor) {
  FBitmap->Clear(Color32(BGColor));
  TCanvas* c = FBitmap->Canvas();
  c->Pen()->SetWidth(1);
  if (FSelectMode & 3) {
    c->Pen()->SetColor((FSelectMode & 1) ? TColor(0x0000FF) : TColor(0x800000));
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, FBitmap->Width(), FBitmap->Height());
  }
  Draw(nullptr);
}

TViewMap TImgShape::ViewMap() const { return FParent ? FParent->ViewMap() : TViewMap{}; }

void TImgShape::GetScreenRect(bool IsClip, TRect& R) const {
  TShapeCore::GetScreenRect(IsClip, FBitmap ? FBitmap->Width() : 0, FBitmap ? FBitmap->Height() : 0, ViewMap(), R);
}

void TImgShape::ImageToScreen(TPoint& P) const { P = ViewMap().Point(P); }

void TImgShape::ImageToScreenPoints(TPoint* Points, Integer Count) const {
  const TViewMap m = ViewMap();
  for (Integer i = 0; i < Count; ++i) Points[i] = m.Point(Points[i]);
}

IGPGraphics TImgShape::NewGraphics(TBitmap32* Target) { return TGPGraphics::FromHDC(Target->Handle()); }

void TImgShape::PlaceBitmap(TBitmap32* Target, Integer X, Integer Y, TCustomBitmap32* B) { Target->Draw(X, Y, B); }

void TImgShape::TurnGraphics(const IGPGraphics& G) const {
  if (FAngle == 0) return;
  G->TranslateTransform(FCenterPoint.X, FCenterPoint.Y);
  G->RotateTransform(360 - FAngle);
  G->TranslateTransform(-FCenterPoint.X, -FCenterPoint.Y);
}

TGPColor TImgShape::OpacityColor(TColor C) const {
  const Cardinal a = Cardinal(std::clamp(FOpacity, 0, 255));
  return TGPColor((a << 24) | (Color32(C) & 0x00FFFFFFu));
}

const TArrayOfGPColor& TImgShape::GradientColors() {
  if (FChanged2 || FGradientColors.empty()) {
    std::vector<TColor32> argb;
    BuildGradientStops(FGradientColor, FGradientOpacity, FGradientPosition, FOpacity, argb, FGradientPositions);
    FGradientColors.assign(argb.begin(), argb.end());
  }
  return FGradientColors;
}

IGPBrush TImgShape::StyleBrush(const TShapePaint& P, bool& Usable) {
  Usable = true;
  switch (FGradientFillMode) {
    case 4: {
      const Integer style = FGradientHatchMode < 10 ? FGradientHatchMode : FGradientHatchMode + 8;
      return IGPBrush(new TGPHatchBrush(style, Opaque(FGradientHatchForeColor), Opaque(FGradientHatchBackColor)));
    }
    case 5: {
      IGPImage image = CachedTextureImage(CacheTextureFile(FGradientTextureFileName));
      if (!image) {
        Usable = false;
        return nullptr;
      }
      IGPTextureBrush b(new TGPTextureBrush(image, WrapModeTile));
      b->TranslateTransform(Single(P.G.X), Single(P.G.Y));
      return b;
    }
    case 0:
    case 1:
    case 2: {
      const TArrayOfGPColor& colors = GradientColors();
      if (colors.size() < 2) return nullptr;  // no stops: the plain fill
      IGPColorBlend blend(new TGPColorBlend(colors, FGradientPositions));
      if (FGradientFillMode == 0) {
        IGPLinearGradientBrush b(
            new TGPLinearGradientBrush(P.G, colors.front(), colors.back(), Single(FGradientLinearAngle), false));
        b->SetGammaCorrection(FGradientGammaCorrected);
        b->SetInterpolationColors(blend);
        return b;
      }
      IGPGraphicsPath around = P.Path;
      if (FGradientFillMode == 2) {
        around = IGPGraphicsPath(new TGPGraphicsPath());
        around->AddEllipse(P.Radial.Left, P.Radial.Top, P.Radial.Right - P.Radial.Left, P.Radial.Bottom - P.Radial.Top);
      }
      IGPPathGradientBrush b(new TGPPathGradientBrush(around));
      b->SetGammaCorrection(FGradientGammaCorrected);
      b->SetInterpolationColors(blend);
      return b;
    }
    default: return nullptr;
  }
}

void TImgShape::PaintFillAndOutline(TBitmap32* Target, const TShapePaint& P) {
  IGPGraphics g = NewGraphics(Target);
  TurnGraphics(g);
  if (FDrawMode2 >= 1 && FDrawMode2 <= 3) {
    g->SetSmoothingMode(SmoothingModeNone);
    if (FDrawMode2 == 3) {
      g->FillPath(IGPBrush(new TGPSolidBrush(Opaque(FColor))), P.Path);
    } else {
      const Single w = FDrawMode2 == 1 ? 1.0f : Single(2 * EdgingWidthOf(FGradientEdgingWidth));
      g->DrawPath(IGPPen(new TGPPen(Opaque(FColor), w)), P.Path);
    }
    return;
  }
  g->SetSmoothingMode(P.Smooth ? SmoothingModeAntiAlias : SmoothingModeDefault);
  const bool styled = HasGradient() && FGradientFillMode != 3;
  bool plain = !styled;
  if (styled && FGradientFillMode >= 0 && FGradientFillMode <= 5) {
    bool usable = true;
    if (FGradientFillMode == 1 && !P.GradientPaths.empty()) {
      // Each brush paints only within its own path, clipped to the outline
      // (the bridge would paint the rest of the outline in the rim colour).
      TShapePaint each = P;
      for (const IGPGraphicsPath& around : P.GradientPaths) {
        each.Path = around;
        if (IGPBrush b = StyleBrush(each, usable)) {
          g->SetClip(P.Path);
          g->FillPath(b, around);
          g->ResetClip();
        } else {
          plain = usable;  // a gradient without stops
        }
      }
    } else if (IGPBrush b = StyleBrush(P, usable)) {
      g->FillPath(b, P.Path);
    } else if (usable && FGradientFillMode <= 2) {
      plain = true;  // a gradient without stops
    }
  }
  if (plain && FIsFill) g->FillPath(IGPBrush(new TGPSolidBrush(OpacityColor(FFillColor))), P.Path);
  if (!FIsOutline) return;
  if (HasGradient() && FGradientFillMode == 3 && !FAdjusting && FGradientEdgingBmp) {
    g = nullptr;  // released: the pixels reach the bitmap before the engine draws
    const TRect r = RotateRect();
    PlaceBitmap(Target, r.Left - FGradientEdgingExtendLength, r.Top - FGradientEdgingExtendLength,
                FGradientEdgingBmp.get());
    g = NewGraphics(Target);
    TurnGraphics(g);
    g->SetSmoothingMode(P.Smooth ? SmoothingModeAntiAlias : SmoothingModeDefault);
  }
  IGPPen pen(new TGPPen(OpacityColor(FColor), Single(FOutWidth)));
  pen->SetDashStyle(FPenStyle);
  g->DrawPath(pen, P.Path);
}

// --- style builders

void TImgShape::RenderCentred(TBitmap32* Target, const TRect& Area) {
  const TPoint d = CentringOffset(FRect, Area.Width(), Area.Height());
  OffsetShape(d.X, d.Y);
  TFinally back([&] { OffsetShape(-d.X, -d.Y); });
  Draw(Target);
}

void TImgShape::BuildEdging() {
  if (!(HasGradient() && FGradientFillMode == 3 && FIsOutline && (FChanged2 || FRotated2))) return;
  EnsureStyleBitmap(FGradientEdgingBmp)->SetMasterAlpha(Cardinal(std::clamp(FOpacity / 2, 0, 255)));
  FGradientEdgingExtendLength = 1 + StyleExtraMargin();
  TRect r = RotateRect();
  InflateRectXY(r, FGradientEdgingExtendLength, FGradientEdgingExtendLength);
  if (!UsableArea(r)) {
    FGradientEdgingBmp->SetSize(0, 0);
    return;
  }
  TBitmap32 *a = WorkBitmap(0, r, 0), *b = WorkBitmap(1, r, 0), *fill = WorkBitmap(2, r, 0);
  const Integer saved = FDrawMode2;
  {
    TFinally back([&] { FDrawMode2 = saved; });
    FDrawMode2 = 1;
    RenderCentred(a, r);
    FDrawMode2 = 2;
    RenderCentred(b, r);
    FDrawMode2 = 3;
    RenderCentred(fill, r);
    back.Dismiss();
  }
  FDrawMode2 = 0;
  BuildEdgingBand(a, b, fill, FGradientEdgingWidth);
  CopyPixels(fill, FGradientEdgingBmp.get());
}

void TImgShape::BuildShadow() {
  if (!(HasShadow() && (FChanged2 || FRotated2))) return;
  EnsureStyleBitmap(FShadowBmp)->SetMasterAlpha(Cardinal(std::clamp(ScaledOpacity(FShadowOpacity, FOpacity), 0, 255)));
  const TPoint o = ShadowOffsets(FShadowAngle, FShadowDistance);
  FShadowOffsetAngleLeft = o.X;
  FShadowOffsetAngleTop = o.Y;
  FShadowExtendLength = StyleMargin(FOutWidth, FShadowBlurSize, StyleExtraMargin());
  TRect r = RotateRect();
  InflateRectXY(r, FShadowExtendLength, FShadowExtendLength);
  if (!UsableArea(r)) {
    FShadowBmp->SetSize(0, 0);
    return;
  }
  const TColor32 colour = Color32(FShadowColor);
  TBitmap32* s = WorkBitmap(0, r, colour & 0x00FFFFFFu);
  RenderCentred(s, r);
  FillColorKeepAlpha(s, colour);
  FShadowOffsetZoomLeft = ShadowZoomMargin(s->Width(), FShadowZoomValue);
  FShadowOffsetZoomTop = ShadowZoomMargin(s->Height(), FShadowZoomValue);
  const Integer w = s->Width() + 2 * FShadowOffsetZoomLeft, h = s->Height() + 2 * FShadowOffsetZoomTop;
  if (FShadowZoomValue != 0 && w > 0 && h > 0) {
    ResizeBitmap(s, FShadowBmp.get(), w, h);
  } else {
    CopyPixels(s, FShadowBmp.get());
  }
  AverageNeighbours(FShadowBmp.get(), FShadowBlurSize);
  FShadowOffsetAngleLeft = NudgeNegative(FShadowOffsetAngleLeft);
  FShadowOffsetAngleTop = NudgeNegative(FShadowOffsetAngleTop);
}

void TImgShape::DrawShadow(TBitmap32* ToBitmap) {
  if (!HasShadow() || !FShadowBmp) return;
  const TRect r = RotateRect();
  PlaceBitmap(TargetOf(ToBitmap), r.Left + FShadowOffsetAngleLeft - FShadowExtendLength - FShadowOffsetZoomLeft,
                           r.Top + FShadowOffsetAngleTop - FShadowExtendLength - FShadowOffsetZoomTop,
                           FShadowBmp.get());
}

void TImgShape::DrawShadowReflection(TBitmap32* ToBitmap) {
  if (!HasShadow() || !HasReflection() || !FShadowBmp) return;
  if (FChanged2 || FRotated2) {
    EnsureStyleBitmap(FShadowReflectBmp)->Assign(FShadowBmp.get());
    FShadowReflectBmp->SetMasterAlpha(
        Cardinal(std::clamp(ScaledOpacity(FReflectOpacity, Integer(FShadowBmp->MasterAlpha())), 0, 255)));
    FShadowReflectBmp->FlipVert();
    AverageNeighbours(FShadowReflectBmp.get(), FReflectBlurSize);
    FadeReflection(FShadowReflectBmp.get(), FReflectHeight);
  }
  const TRect r = RotateRect();
  PlaceBitmap(TargetOf(ToBitmap), r.Left + FShadowOffsetAngleLeft - FShadowExtendLength - FShadowOffsetZoomLeft,
                           r.Bottom + FShadowOffsetAngleTop + FReflectDistance - FShadowExtendLength -
                               FShadowOffsetZoomTop,
                           FShadowReflectBmp.get());
}

void TImgShape::DrawReflection(TBitmap32* ToBitmap) {
  if (!HasReflection()) return;
  if (FChanged2 || FRotated2) {
    EnsureStyleBitmap(FReflectBmp)->SetMasterAlpha(
        Cardinal(std::clamp(ScaledOpacity(FReflectOpacity, FOpacity), 0, 255)));
    FReflectExtendLength = StyleMargin(FOutWidth, FReflectBlurSize, StyleExtraMargin());
    TRect r = RotateRect();
    InflateRectXY(r, FReflectExtendLength, FReflectExtendLength);
    if (UsableArea(r)) {
      TBitmap32* s = WorkBitmap(0, r, 0x00999999u);
      RenderCentred(s, r);
      s->FlipVert();
      CopyPixels(s, FReflectBmp.get());
      AverageNeighbours(FReflectBmp.get(), FReflectBlurSize);
      FadeReflection(FReflectBmp.get(), FReflectHeight);
    } else {
      FReflectBmp->SetSize(0, 0);
    }
  }
  if (!FReflectBmp) return;
  const TRect r = RotateRect();
  PlaceBitmap(TargetOf(ToBitmap), r.Left - FReflectExtendLength, r.Bottom + FReflectDistance - FReflectExtendLength,
                           FReflectBmp.get());
}
