// The document: construction, ownership, change notification, object rows,
// view composition and the control layer.
#include "document/win/ImageDraw.h"

#include <algorithm>
#include <cmath>

#include "bitmap/Bmp32_Filters.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/ProjectSidecar.h"
#include "document/ShapeRows.h"
#include "document/win/ImageCrop.h"
#include "document/win/ImageLine.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageEllipse.h"
#include "document/win/ImageFreeShape.h"
#include "document/win/ImageHLRect.h"
#include "document/win/ImageLines.h"
#include "document/win/ImagePolygon.h"
#include "document/win/ImageRectangle.h"
#include "document/win/ImageSmall.h"
#include "document/win/ImageText.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileUtils.h"
#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"

namespace {

// Document property cells.
constexpr Integer PropNextId = 1;
constexpr Integer PropFileName = 4;
constexpr Integer PropCanvasColor = 10;
constexpr Integer PropTransparent = 14;
constexpr Integer PropRuler = 17;
constexpr Integer PropHorzGuides = 18;
constexpr Integer PropVertGuides = 19;

// Guides are written opaque: the view shows its buffer unblended.
constexpr TColor32 GuideColor = 0xFF4A84FFu;

template <class T>
TShapeFactory FactoryOf() {
  return [](TImageDraw* Owner, Integer Id) -> TImgShape* { return new T(Owner, Id, nullptr); };
}

std::unique_ptr<TBitmap32> SquareGlyph(Integer Size, TColor32 Fill) {
  auto b = std::make_unique<TBitmap32>();
  b->SetSize(Size, Size);
  b->Clear(Fill);
  for (Integer i = 0; i < Size; ++i) {
    b->SetPixel(i, 0, clBlack32);
    b->SetPixel(i, Size - 1, clBlack32);
    b->SetPixel(0, i, clBlack32);
    b->SetPixel(Size - 1, i, clBlack32);
  }
  return b;
}

std::unique_ptr<TBitmap32> TransparentGlyph(Integer W, Integer H) {
  auto b = std::make_unique<TBitmap32>();
  b->SetSize(W, H);
  b->Clear(0);
  b->SetDrawMode(dmBlend);
  return b;
}

std::unique_ptr<TBitmap32> DiscGlyph(TColor32 Fill) {
  auto b = TransparentGlyph(7, 7);
  IGPGraphics g = TGPGraphics::FromHDC(b->Handle());
  g->SetSmoothingMode(SmoothingModeAntiAlias);
  g->FillEllipse(IGPBrush(new TGPSolidBrush(Fill)), 0, 0, 6, 6);
  g->DrawEllipse(IGPPen(new TGPPen(0xFF000000u, 1)), 0, 0, 6, 6);
  return b;
}

}  // namespace

TShapeFactory ShapeFactoryOf(TShapeType Type) {
  switch (Type) {
    case TShapeType::shArrow:
    case TShapeType::shLine: return FactoryOf<TImgLine>();
    case TShapeType::shRectangle: return FactoryOf<TImgRectangle>();
    case TShapeType::shCrop: return FactoryOf<TImgCrop>();
    case TShapeType::shSelection: return FactoryOf<TImgSelection>();
    case TShapeType::shEllipse: return FactoryOf<TimgEllipse>();
    case TShapeType::shFreeShape: return FactoryOf<TImgFreeShape>();
    case TShapeType::shLines: return FactoryOf<TImgLines>();
    case TShapeType::shSmall: return FactoryOf<TImgSmall>();
    case TShapeType::shText:
    case TShapeType::shCallout: return FactoryOf<TImgText>();
    case TShapeType::shPolygon: return FactoryOf<TImgPolygon>();
    case TShapeType::shHLRect: return FactoryOf<TImgHLRect>();
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Construction and destruction

TImageDraw::TImageDraw(TImgView32* AOwner, TBitmap* B, TBitmap32* B32, TBitmap32* CanvasPattern,
                       TRow* WatermarkRow, const String& ImageFile, Integer LangIndex, bool FromClipboard,
                       bool FromScreenCapture, void* P, Integer W, Integer H, TColor C, bool T, Integer Bpp)
    : FOwner(AOwner) {
  (void)FromScreenCapture;
  FSelectedIds = std::make_unique<TRow>(nullptr);
  FCopyProp = std::make_unique<TRow>(nullptr);
  FColorBalance = std::make_unique<TColorBalance>();
  FLanguageIndex = LangIndex;
  FSrcBmpBitsPixelPer = Bpp;
  FHorzGuidesRow = std::make_unique<TRow>(nullptr);
  FVertGuidesRow = std::make_unique<TRow>(nullptr);

  FControlLayer = AOwner->Layers()->Add<TPositionedLayer>();
  FControlLayer->SetLayerOptions(LOB_VISIBLE);
  FControlLayer->OnPaint = [this](TObject* Sender, TBitmap32* Buffer) { PaintControlLayer(Sender, Buffer); };

  FBitmap = AOwner->Bitmap();
  FBitmap->Font()->SetName(u"Tahoma");
  FBitmap->Font()->SetSize(9);

  FDT = std::make_unique<TDataTable>();
  FFileDT = std::make_unique<TDataTable>();
  FSelectionDT = std::make_unique<TDataTable>();
  FOriBmp = std::make_unique<TBitmap32>();
  FOriBmpThumb = std::make_unique<TBitmap32>();
  FSrcBmp = std::make_unique<TBitmap32>();
  FWMBmp = std::make_unique<TBitmap32>();
  FWMBmp->SetDrawMode(dmBlend);
  FWMBmp->SetCombineMode(cmMerge);

  FFileName = ImageFile;
  FFileType = ifUnknown;
  bool startedChanged = false;
  auto newDocumentTables = [&](const String& CanvasColor, bool Transparent) {
    FFileDT->Init(5, 20);
    FDT->SetPropCount(50);
    FDT->Props(PropCanvasColor)->SetText(CanvasColor);
    FDT->Props(PropTransparent)->SetAsBool(Transparent);
  };
  const bool imageExists = !ImageFile.empty() && FileExists(ImageFile);
  if (imageExists) {
    FFileType = GetImageFormatByExt(ImageFile);
    FProfile = ImageFile + u".luda";
  }
  const bool fromProject = LoadProject(P, ImageFile);
  if (fromProject) {
  } else if (imageExists) {
    FFileType = GetImageFormatByExt(ImageFile);
    newDocumentTables(u"16777215", T);
    FOriBmpFileMS = std::make_unique<TMemoryStream>();
    FOriBmpFileMS->LoadFromFile(ImageFile);
    FDT->Props(PropFileName)->SetText(EscapeOriginalName(ExtractFileName(ImageFile)));
    // The editor passes no bitmap when a project file exists: it is decoded
    // here when that file could not be used.
    if (B32 && !B32->Empty())
      FSrcBmp->Assign(B32);
    else
      LoadImageFileOnly(ImageFile);
    FOriBmp->Assign(FSrcBmp.get());
  } else if (FromClipboard) {
    if (B) FSrcBmp->Assign(B);
    FOriBmp->Assign(FSrcBmp.get());
    newDocumentTables(u"16777215", false);
    startedChanged = true;
  } else {
    FSrcBmp->SetSize(std::max(W, 0), std::max(H, 0));
    if (CanvasPattern) {
      TilePattern(CanvasPattern, FSrcBmp.get(), FSrcBmp->BoundsRect(), false);
      startedChanged = true;
    } else {
      FSrcBmp->Clear(T ? 0x00FFFFFFu : Color32(C));
    }
    FOriBmp->Assign(FSrcBmp.get());
    newDocumentTables(IntToStr(C), T);
  }
  if (Bpp == -1) FSrcBmpBitsPixelPer = FFileDT->ItemCount() > 0 ? CellInt(FFileDT->Items(0), 9) : 0;

  CreateGlyphs();

  if (WatermarkRow != nullptr) {
    FWMLocationType = CellInt(WatermarkRow, 2);
    FWMLocation = CellInt(WatermarkRow, 3);
    FWMLocationED1 = CellInt(WatermarkRow, 4);
    FWMLocationED2 = CellInt(WatermarkRow, 5);
    FWMLocationSD1 = CellInt(WatermarkRow, 6);
    FWMLocationSD2 = CellInt(WatermarkRow, 7);
    if (CellBool(WatermarkRow, 0))
      AddWatermark(UnescapeTableText(CellText(WatermarkRow, 1)), FWMLocationType, FWMLocation, FWMLocationED1,
                   FWMLocationED2, FWMLocationSD1, FWMLocationSD2, CellInt(WatermarkRow, 8),
                   CellInt(WatermarkRow, 9), CellBool(WatermarkRow, 10), TColor(CellInt(WatermarkRow, 11)));
  }
  if (fromProject) {
    CreateShapeObjects(-1);
    for (auto& p : FPendingPictures)
      if (TImgShape* s = ShapeById(p.first)) s->RestorePicture(p.second.get());
    FPendingPictures.clear();
    // Callouts of projects older than version 13 kept their points relative
    // to the frame's corner.
    if (FLoadedVersion >= 1 && FLoadedVersion < 13)
      for (Integer i = 0; i < FDT->ItemCount(); ++i)
        if (auto* t = dynamic_cast<TImgText*>(ShapeOfRow(i)); t && t->IsCallout()) {
          t->UpgradePoints();
          t->SetPoints(t->GetPoints());
        }
  }
  ReadGuidesAndRuler();

  FChanged = FWMEnabled || P != nullptr || startedChanged;
  FAntialiasing = true;
  FOriBmpThumbChanged = true;
  FCropRateIndex = -2;
  FGradientStartX = UnsetPosition;
  FProcessStampStartX = UnsetPosition;
  FCanvasCtrIndex = 0;
  FNotSaveDataFile = false;
}

TImageDraw::~TImageDraw() {
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    delete static_cast<TImgShape*>(FDT->Items(i)->Data());
    FDT->Items(i)->SetData(nullptr);
  }
  FCurrentShape = nullptr;
  FWMShape.reset();
  delete FControlLayer;
}

void TImageDraw::CreateGlyphs() {
  FCtrBmpY = SquareGlyph(7, 0xFFFFFF00u);
  FCtrBmpG = SquareGlyph(7, 0xFF00FF00u);
  FCtrBmpB = SquareGlyph(7, 0xFF87CEEBu);
  FCtrBmpW = SquareGlyph(6, 0xFFFFFFFFu);
  FCtrBmpY2 = DiscGlyph(0xFFFFFFFFu);
  FCtrBmpG2 = DiscGlyph(0xFF00FF00u);
  FCtrBmpY3 = TransparentGlyph(9, 9);
  {
    IGPGraphics g = TGPGraphics::FromHDC(FCtrBmpY3->Handle());
    g->SetSmoothingMode(SmoothingModeAntiAlias);
    const std::vector<TGPPoint> diamond = {{4, 0}, {8, 4}, {4, 8}, {0, 4}};
    g->FillPolygon(IGPBrush(new TGPSolidBrush(0xFFFFFF00u)), diamond);
    g->DrawPolygon(IGPPen(new TGPPen(0xFF000000u, 1)), diamond);
  }
  FCtrBmpAH = TransparentGlyph(15, 7);
  FCtrBmpAV = TransparentGlyph(7, 15);
  const TColor32 blue = 0xFF0000FFu;
  auto arrow = [&](Integer X, Integer Y) {
    FCtrBmpAH->SetPixel(X, Y, blue);
    FCtrBmpAV->SetPixel(Y, X, blue);
  };
  for (Integer x = 1; x <= 13; ++x) {
    arrow(x, 2);
    arrow(x, 4);
  }
  for (Integer x = 0; x <= 14; ++x) arrow(x, 3);
  for (const TPoint& p : {TPoint(3, 0), TPoint(2, 1), TPoint(3, 1), TPoint(2, 5), TPoint(3, 5), TPoint(3, 6)}) {
    arrow(p.X, p.Y);
    arrow(14 - p.X, p.Y);
  }
  FBrushBitmap = std::make_unique<TBitmap>();
  FBrushBitmap->SetSize(8, 8);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) FBrushBitmap->Canvas()->SetPixels(x, y, (x + y) % 8 < 4 ? clBlack : clWhite);
}

void TImageDraw::ReadGuidesAndRuler() {
  FHorzGuidesIndex = FVertGuidesIndex = -1;
  FHorzGuidesRow->Clear();
  FVertGuidesRow->Clear();
  auto prop = [&](Integer I) { return I < FDT->PropCount() ? FDT->Props(I)->Text() : String(); };
  for (Integer g : ParseGuides(prop(PropHorzGuides))) FHorzGuidesRow->AddItem(g);
  for (Integer g : ParseGuides(prop(PropVertGuides))) FVertGuidesRow->AddItem(g);
  FRulerPickMode = -1;
  const TRulerState r = ParseRuler(prop(PropRuler));
  FRulerEnabled = r.Enabled;
  FRulerP1 = r.P1;
  FRulerP2 = r.P2;
}

void TImageDraw::SetChanged(bool IsSaveUndo) {
  FChanged = true;
  if (IsSaveUndo) FModified = true;
  if (OnChanged) OnChanged(this);
}

void TImageDraw::ShapeStateChanged() {
  if (OnShapeStateChanged) OnShapeStateChanged(this);
  SetChanged(true);
}

void TImageDraw::ReplaceWatermark(TImgShape* Shape) { FWMShape.reset(Shape); }

void TImageDraw::AddWatermark(const String& FileName, Integer LocationType, Integer Location, Integer ED1, Integer ED2,
                              Integer SD1, Integer SD2, Integer WMAngle, Integer WMOpacity, bool WMUseTC,
                              TColor WMTC) {
  FWMShape.reset();
  bool hasAlpha = false;
  Integer depth = 0;
  std::unique_ptr<TBitmap32> picture;
  try {
    picture.reset(LoadImageToBitmap32(FileName, hasAlpha, depth));
  } catch (const Exception&) {
    picture.reset();  // an unreadable picture: no watermark
  }
  if (picture == nullptr || picture->Width() <= 0 || picture->Height() <= 0) {
    FWMEnabled = false;
  } else {
    auto s = std::make_unique<TImgSmall>(this, -1, nullptr);
    s->SetOpacity(WMOpacity);
    s->SetAngle(Single(WMAngle));
    s->SetSRect(TRect(0, 0, picture->Width(), picture->Height()));
    s->SrcBmp()->Assign(picture.get());
    if (WMUseTC) ChromaKey(s->SrcBmp(), Color32(WMTC));
    FWMShape = std::move(s);
    FWMEnabled = true;
    FWMLocationType = LocationType;
    FWMLocation = Location;
    FWMLocationED1 = ED1;
    FWMLocationED2 = ED2;
    FWMLocationSD1 = SD1;
    FWMLocationSD2 = SD2;
  }
  if (FBitmap && !FBitmap->Empty()) RenderWatermark();
  SetChanged(false);
}

void TImageDraw::RenderWatermark() {
  FWMBmp->SetSize(FBitmap->Width(), FBitmap->Height());
  FWMBmp->Clear(0x00FFFFFFu);
  auto* s = dynamic_cast<TImgSmall*>(FWMShape.get());
  if (s == nullptr || !FWMEnabled) return;
  FWMBmp->SetMasterAlpha(Cardinal(std::clamp(s->Opacity(), 0, 255)));
  FWMBmp->SetClipRect(FSrcBmp->BoundsRect());
  s->SetChanged2(true);
  s->DrawPrepare();
  const Integer W = FWMBmp->Width(), H = FWMBmp->Height();
  if (FWMLocationType != 0) {
    TRect m;
    s->GetMaxRect(m);
    for (const TPoint& p : WatermarkTiles(W, H, m.Right - m.Left, m.Bottom - m.Top, FWMLocationSD1, FWMLocationSD2))
      s->DrawByRect(FWMBmp.get(), p.X, p.Y, 255);
  } else {
    const Integer w = s->SRect().Right - s->SRect().Left, h = s->SRect().Bottom - s->SRect().Top;
    const TPoint p = WatermarkPosition(FWMLocation, W, H, w, h, FWMLocationED1, FWMLocationED2);
    s->SetSRect(TRect(p.X, p.Y, p.X + w, p.Y + h));
    s->DrawByRect(FWMBmp.get(), p.X, p.Y, 255);
  }
  FWMBmp->ResetClipRect();
}

Integer TImageDraw::ScaleWidth() const { return Integer(Round((long double)Width() * FScale)); }
Integer TImageDraw::ScaleHeight() const { return Integer(Round((long double)Height() * FScale)); }

// ---------------------------------------------------------------------------
// Object rows

TImgShape* TImageDraw::ShapeOfRow(Integer Index) const {
  if (Index < 0 || Index >= FDT->ItemCount()) return nullptr;
  return static_cast<TImgShape*>(FDT->Items(Index)->Data());
}

TImgShape* TImageDraw::ShapeById(Integer Id) const {
  const Integer i = FDT->IndexOfValue(0, Id);
  return i >= 0 ? ShapeOfRow(i) : nullptr;
}

void TImageDraw::RemoveShapeRow(Integer Index) {
  TImgShape* s = ShapeOfRow(Index);
  if (s == FCurrentShape) {
    FCurrentShape = nullptr;
    FShapeId = -1;
    FObjectType = TShapeType::shNone;
  }
  if (s) s->UnSelect();
  delete s;
  FDT->Items(Index)->SetData(nullptr);
  FDT->RemoveItemByIndex(Index);
}

TImgShape* TImageDraw::BuildShapeOfRow(TRow* Row) {
  const TShapeType type = TShapeType(CellInt(Row, ShapeCol::Type));
  const TShapeFactory make = ShapeFactoryOf(type);
  if (make == nullptr) return nullptr;
  std::unique_ptr<TImgShape> s(make(this, CellInt(Row, ShapeCol::Id)));
  s->SetShapeType(type);
  s->SetLoading(true);
  ReadCommonColumns(Row, *s);
  ReadStyleColumns(Row, *s, true);
  ReadFrameColumns(Row, *s);
  s->ReadRowColumns(Row);
  if (!s->RowUsable()) return nullptr;
  s->SetCreating(false);
  s->SetLoading(false);
  return s.release();
}

void TImageDraw::CreateShapeObjects(Integer Index) {
  const Integer first = Index < 0 ? 0 : Index;
  Integer last = Index < 0 ? FDT->ItemCount() - 1 : std::min(Index, FDT->ItemCount() - 1);
  for (Integer i = first; i <= last;) {
    TRow* row = FDT->Items(i);
    delete static_cast<TImgShape*>(row->Data());
    row->SetData(nullptr);
    TImgShape* s = BuildShapeOfRow(row);
    if (s == nullptr) {  // a type without a class, or no object: the row goes too
      FDT->RemoveItemByIndex(i);
      --last;
      continue;
    }
    row->SetData(s);
    if (s->ShapeType() == TShapeType::shCrop || s->ShapeType() == TShapeType::shSelection) s->Select();
    ++i;
  }
  if (Index < 0 && (CropExists() || SelectionExists())) ShapeSelectStateChanged(true);
}

void TImageDraw::StoreShapeObjects() {
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr) continue;
    TRow* row = FDT->Items(i);
    s->WriteRowColumns(row);
    WriteShapeColumns(row, *s);
  }
}

// ---------------------------------------------------------------------------
// View composition

Integer TImageDraw::OffsetHorz() const { return Integer(Round(FOwner->OffsetHorz())); }
Integer TImageDraw::OffsetVert() const { return Integer(Round(FOwner->OffsetVert())); }

void TImageDraw::SetControlMode(TControlMode Value) {
  if (Value == FControlMode) return;
  FControlMode = Value;
  FControlLayer->Update(FOwner->GetViewportRect());
}

void TImageDraw::SetScale(Single Value) {
  if (Value == FScale) return;
  FScale = Value;
  // The ants follow the zoom whichever object is current.
  if (TImgSelection* s = Selection()) s->CalcRegionRects();
}

TImgSelection* TImageDraw::Selection() const {
  return SelectionExists() ? dynamic_cast<TImgSelection*>(ShapeOfRow(FDT->ItemCount() - 1)) : nullptr;
}

bool TImageDraw::SelectionBitmapExists() const {
  const TImgSelection* s = Selection();
  return s && s->SelBitmap();
}

void TImageDraw::MakeBitmapOfSelection(TRect& DestRect) {
  TImgSelection* s = Selection();
  DestRect = TRect();
  if (s == nullptr) return;
  DestRect = CutArea(s->Region(), FSrcBmp->BoundsRect());
  SplitSelectionPictures(FSrcBmp.get(), s->Region(), DestRect, s->AutiAliasBmpZ(), s->AutiAliasBmpF());
  s->AntiAliasing(DestRect.Left, DestRect.Top);
}

void TImageDraw::AutiAliasBmpZ_To_SrcBmp(const TRect& ARect) {
  TImgSelection* s = Selection();
  if (s == nullptr) return;
  s->AutiAliasBmpZ()->SetDrawMode(dmOpaque);
  FSrcBmp->Draw(ARect.Left, ARect.Top, s->AutiAliasBmpZ());
  FSrcBmpChanged = true;
  Draw();
  SetChanged(true);
}

void TImageDraw::FlattenSelection() {
  TImgSelection* s = Selection();
  if (s == nullptr || s->SelBitmap() == nullptr) return;
  TBitmap32* b = s->SelBitmap();
  b->SetDrawMode(dmBlend);
  b->SetCombineMode(cmMerge);
  FSrcBmp->Draw(s->Region().Box(), b->BoundsRect(), b);
  b->SetCombineMode(cmBlend);
  FSrcBmpChanged = true;
  SetChanged(true);
}

void TImageDraw::InitBitmap() {
  FBitmap->SetSize(FSrcBmp->Width(), FSrcBmp->Height());
  if (CellTextToBool(FDT->PropCount() > PropTransparent ? FDT->Props(PropTransparent)->Text() : String())) {
    FCanvasTransparent = true;
    FCanvasColor = 0xFFFFFFFFu;
  } else {
    FCanvasTransparent = false;
    FCanvasColor = Color32(FDT->PropCount() > PropCanvasColor ? FDT->Props(PropCanvasColor)->Value() : 0);
  }
  FSrcBmpRect = FSrcBmp->BoundsRect();
  RenderWatermark();
  FViewValid = false;
}

void TImageDraw::Draw() { Compose(nullptr); }

void TImageDraw::Compose(const TRect* Area) {
  TRect clip = FBitmap->BoundsRect();
  if (Area) IntersectRects(clip, *Area, FBitmap->BoundsRect());
  if (Area && RectIsEmpty(clip)) return;
  // An area is limited by the engine's clip rectangle and by the clip region
  // of the bitmap's device context, which limits what a graphics composes at
  // release (objects are still drawn whole, so their pixels are those of a
  // full composition).
  HDC dc = Area ? FBitmap->Handle() : nullptr;
  HRGN region = Area ? CreateRectRgn(clip.Left, clip.Top, clip.Right, clip.Bottom) : nullptr;
  if (region) {
    SelectClipRgn(dc, region);
    DeleteObject(region);
  }
  FBitmap->BeginUpdate();
  auto restore = [&] {
    if (dc) SelectClipRgn(dc, nullptr);
    FBitmap->ResetClipRect();
    FBitmap->EndUpdate();
  };
  {
    // The clip and the update count come back on every path; the view is
    // whole only once everything was drawn.
    TFinally invalid([&] { FViewValid = false; });
    TFinally restored([&] { restore(); });
    FBitmap->SetClipRect(clip);
    if (Area)
      FBitmap->FillRectS(clip, 0x00FFFFFFu);
    else
      FBitmap->Clear(0x00FFFFFFu);
    FBitmap->SetDrawMode(dmBlend);
    FSrcBmp->SetDrawMode(dmOpaque);
    TImgCrop* crop = CropExists() ? dynamic_cast<TImgCrop*>(ShapeOfRow(FDT->ItemCount() - 1)) : nullptr;
    if (crop && crop->StyleId() == 0) {
      // The dimmed picture beneath, the raster only inside the frame.
      TBitmap32* dim = crop->AdjustSrcBmp();
      dim->SetSize(FSrcBmp->Width(), FSrcBmp->Height());
      const size_t n = size_t(FSrcBmp->Width()) * size_t(FSrcBmp->Height());
      for (size_t i = 0; i < n; ++i) {
        const TColor32 c = FSrcBmp->Bits()[i];
        dim->Bits()[i] = (c & 0xFF000000u) | ((c >> 1) & 0x007F7F7Fu);
      }
      dim->SetDrawMode(dmOpaque);
      FBitmap->Draw(0, 0, dim);
      TRect inside;
      if (IntersectRects(inside, crop->SRect(), FSrcBmp->BoundsRect()) && !RectIsEmpty(inside))
        FBitmap->Draw(inside, inside, FSrcBmp.get());
    } else {
      FBitmap->Draw(0, 0, FSrcBmp.get());
    }
    if (FWMEnabled && FWMShape) FBitmap->Draw(0, 0, FWMBmp.get());
    for (Integer i = 0; i < FDT->ItemCount(); ++i) {
      TImgShape* s = ShapeOfRow(i);
      if (s == nullptr || s->Hided() || s->ShapeType() == TShapeType::shCrop) continue;
      if (Area) {
        TRect overlap;
        if (!IntersectRects(overlap, s->PaintBounds(), clip) || RectIsEmpty(overlap)) continue;
      }
      const bool styles = !s->Creating() && !s->Adjusting();
      if (styles) {
        s->BuildEdging();
        s->BuildShadow();
        s->DrawShadowReflection(nullptr);
        s->DrawReflection(nullptr);
        s->DrawShadow(nullptr);
      }
      s->Draw(nullptr);
      if (styles) {
        s->SetChanged2(false);
        s->SetRotated2(false);
      }
      s->SetLastPaintRect(s->PaintBounds());
    }
    invalid.Dismiss();
  }
  if (Area) {
    FBitmap->Changed(clip);
  } else {
    FBitmap->Changed();
    FViewValid = true;
    FControlLayer->Changed();
  }
}

bool TImageDraw::CanComposePart() const {
  if (!FViewValid || FCurrentShape == nullptr || RectIsEmpty(FCurrentShape->LastPaintRect())) return false;
  // A crop frame changes what shows of the raster: the whole view follows.
  if (CropExists()) return false;
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    const TImgShape* s = ShapeOfRow(i);
    if (s && !s->Hided() && (s->Changed2() || s->Rotated2()) && !s->Creating() && !s->Adjusting()) return false;
  }
  return true;
}

void TImageDraw::DrawAfterStep(const TRect& Before) {
  if (!CanComposePart()) {
    Draw();
    return;
  }
  TRect area;
  UnionRects(area, Before, FCurrentShape->PaintBounds());
  Compose(&area);
  // The handles move with the object: their view area, the rotation handle
  // 30 pixels above the top included.
  TRect handles = area;
  InflateRectXY(handles, 0, 31);
  TRect view = ViewMap().Rect(handles);
  InflateRectXY(view, 12, 12);
  FControlLayer->Changed(view);
}

void TImageDraw::DrawTo(TBitmap32* ABitmap) {
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || s->Hided() || s->ShapeType() == TShapeType::shCrop ||
        s->ShapeType() == TShapeType::shSelection)
      continue;
    s->BuildEdging();
    s->BuildShadow();
    s->DrawShadowReflection(ABitmap);
    s->DrawReflection(ABitmap);
    s->DrawShadow(ABitmap);
    s->Draw(ABitmap);
  }
}

// ---------------------------------------------------------------------------
// The control layer

void TImageDraw::PaintControlLayer(TObject* Sender, TBitmap32* Buffer) {
  (void)Sender;
  switch (FControlMode) {
    case TControlMode::cmProcess: DrawProcessOutline(Buffer); break;
    case TControlMode::cmEffectDraw: DrawEffectOutline(Buffer); break;
    default: {
      const bool drawingObject = FShapeCreating && FObjectType != TShapeType::shCrop &&
                                 FObjectType != TShapeType::shSelection && FObjectType != TShapeType::shFreeShape;
      if (drawingObject) break;
      for (Integer i = 0; i < FDT->ItemCount(); ++i) {
        TImgShape* s = ShapeOfRow(i);
        if (s == nullptr || s->Hided()) continue;
        s->CalcControlPoints();
        s->DrawControlPoint(Buffer);
      }
      break;
    }
  }
  const TRect view = ViewMap().Rect(FBitmap->BoundsRect());
  FCanvasCtrRect = CanvasHandleRects(view, FCtrBmpW->Width());
  for (Integer i = 1; i <= 8; ++i)
    if (!RectIsEmpty(FCanvasCtrRect[size_t(i)]))
      Buffer->Draw(FCanvasCtrRect[size_t(i)].Left, FCanvasCtrRect[size_t(i)].Top, FCtrBmpW.get());
  if (FCanvasCtrIndex > 0 && FLeftMouseDown) DrawCanvasFeedback(Buffer);
  DrawGuidesAndRuler(Buffer);
}

void TImageDraw::DrawProcessOutline(TBitmap32* Buffer) {
  TCanvas* c = Buffer->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetMode(pmNot);
  c->Pen()->SetWidth(1);
  c->Brush()->SetStyle(bsClear);
  const TViewMap m = ViewMap();
  Integer x = m.X(FMovedX), y = m.Y(FMovedY);
  const Integer w = std::max(1, Integer(Round((long double)FProcessWidth * FScale)));
  // A one-pixel tool shows its pixel (with markers unless zoomed in far),
  // whatever the zoom.
  if (w == 1 || FProcessWidth <= 1) {
    auto invert = [&](Integer X, Integer Y) {
      if (PointInRect(Buffer->BoundsRect(), TPoint(X, Y))) Buffer->SetPixel(X, Y, ~Buffer->GetPixel(X, Y));
    };
    invert(x, y);
    if (FScale < 3)
      for (const TPoint& d : {TPoint(6, 0), TPoint(-6, 0), TPoint(0, 6), TPoint(0, -6)}) invert(x + d.X, y + d.Y);
    return;
  }
  const bool round = FProcessMode == TProcessBitmapMode::pbmBrush || FProcessMode == TProcessBitmapMode::pbmStamp;
  if (round) {
    x -= w / 2;
    y -= w / 2;
  }
  if (FProcessMode == TProcessBitmapMode::pbmStamp && FPressAlt) {
    x += (FProcessWidth - 19) / 2;
    y += (FProcessWidth - 19) / 2;
    c->Ellipse(x, y, x + 19, y + 19);
    c->MoveTo(x + 2, y + 9);
    c->LineTo(x + 17, y + 9);
    c->MoveTo(x + 9, y + 2);
    c->LineTo(x + 9, y + 17);
    return;
  }
  if (round) {
    c->Ellipse(x, y, x + w, y + w);
    if (FProcessMode == TProcessBitmapMode::pbmStamp && FProcessStampStartX != UnsetPosition) {
      const Integer cx = x - FProcessStampStartX, cy = y - FProcessStampStartY;
      c->MoveTo(cx - 7, cy);
      c->LineTo(cx + 8, cy);
      c->MoveTo(cx, cy - 7);
      c->LineTo(cx, cy + 8);
    }
    return;
  }
  c->Rectangle(x, y, x + w, y + w);
}

void TImageDraw::DrawEffectOutline(TBitmap32* Buffer) {
  const TRect r = ViewMap().Rect(FEffectDrawRect);
  TGPColor colour = 0xFFFF0000u;
  Single width = 1;
  if (FEffectMode == TEffectMode::emBokeh) {
    colour = 0xFFFFFFFFu;
    width = 2;
  } else if (FEffectMode == TEffectMode::emHighlighter) {
    colour = Color32(FEffectDrawColor);
    width = 2;
  }
  IGPGraphics g = TGPGraphics::FromHDC(Buffer->Handle());
  g->SetSmoothingMode(SmoothingModeAntiAlias);
  g->DrawEllipse(IGPPen(new TGPPen(colour, width)), r.Left, r.Top, r.Width(), r.Height());
}

void TImageDraw::DrawCanvasFeedback(TBitmap32* Buffer) {
  const TRect view = ViewMap().Rect(FBitmap->BoundsRect());
  const TRect moved = CanvasDragRect(view, FCanvasCtrIndex, FCanvasCtrDx, FCanvasCtrDy);
  TCanvas* c = Buffer->Canvas();
  c->DrawFocusRect(moved);
  Integer w = 0, h = 0;
  CanvasDragSize(FCanvasCtrIndex, FBitmap->Width(), FBitmap->Height(), FCanvasDx, FCanvasDy, w, h);
  const String label = CanvasSizeLabel(w, h);
  Buffer->Font()->SetSize(9);
  const Integer tw = Buffer->TextWidth(label);
  const Integer x = (Buffer->Width() - tw) / 2, y = (Buffer->Height() - 15) / 2;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(0x0080FFFF);
  c->FillRect(TRect(x - 3, y, x + tw + 3, y + 15));
  Buffer->Textout(x, y, label);
}

void TImageDraw::DrawGuidesAndRuler(TBitmap32* Buffer) {
  const TViewMap m = ViewMap();
  for (Integer i = 0; i < FHorzGuidesRow->ItemCount(); ++i) {
    const Integer y = m.Y(FHorzGuidesRow->Items(i)->Value());
    if (y >= 0 && y < Buffer->Height()) Buffer->HorzLineS(0, y, Buffer->Width() - 1, GuideColor);
  }
  for (Integer i = 0; i < FVertGuidesRow->ItemCount(); ++i) {
    const Integer x = m.X(FVertGuidesRow->Items(i)->Value());
    if (x >= 0 && x < Buffer->Width()) Buffer->VertLineS(x, 0, Buffer->Height() - 1, GuideColor);
  }
  const bool gradient = FGradientStartX != UnsetPosition;
  if (!gradient && !FRulerEnabled) return;
  TCanvas* c = Buffer->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetMode(pmNot);
  c->Pen()->SetWidth(1);
  auto cross = [&](const TPoint& P, Integer R) {
    c->MoveTo(P.X - R, P.Y);
    c->LineTo(P.X + R + 1, P.Y);
    c->MoveTo(P.X, P.Y - R);
    c->LineTo(P.X, P.Y + R + 1);
  };
  if (gradient) {
    const TPoint s = m.Point(TPoint(FGradientStartX, FGradientStartY));
    cross(s, 6);
    c->MoveTo(s.X, s.Y);
    c->LineTo(m.X(FMovedX), m.Y(FMovedY));
  }
  if (FRulerEnabled) {
    TPoint a = m.Point(FRulerP1), b = m.Point(FRulerP2);
    if (FScale > 1) {
      const Integer half = Integer(Round((long double)FScale / 2));
      OffsetPoint(a, half, half);
      OffsetPoint(b, half, half);
    }
    cross(a, 5);
    if (!(FRulerP1 == FRulerP2)) {
      cross(b, 3);
      c->MoveTo(a.X, a.Y);
      c->LineTo(b.X, b.Y);
    }
  }
}
