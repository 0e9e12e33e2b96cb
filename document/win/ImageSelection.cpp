// The selection object.
#include "document/win/ImageSelection.h"

#include "document/UndoSteps.h"

namespace {
constexpr SmallInt CursorHandPoint = -21;
constexpr SmallInt CursorSizeAll = -22;
}  // namespace

TImgSelection::TImgSelection(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : TImgShape(AOwner, ShapeId, ABitmap) {
  SetShapeType(TShapeType::shSelection);
  FControlMode = 2;
  FBrushBitmap = std::make_unique<TCustomBitmap32>();
  MakeAntsPattern(FBrushBitmap.get());
  FAutiAliasBmpZ = std::make_unique<TBitmap32>();
  FAutiAliasBmpF = std::make_unique<TBitmap32>();
  FTimerAnt = new TTimer(nullptr);
  FTimerAnt->SetEnabled(false);
  FTimerAnt->SetInterval(100);
  FTimerAnt->SetOnTimer([this](TObject*) { AntStep(); });
}

TImgSelection::~TImgSelection() {
  // Stopped and freed first: no tick reaches a selection being freed.
  FTimerAnt->SetEnabled(false);
  delete FTimerAnt;
  FTimerAnt = nullptr;
}

void TImgSelection::AntStep() {
  if (FParent == nullptr || FParent->Busing()) return;
  FTimerAntIndex = (FTimerAntIndex + 1) % 8;
  FParent->ControlLayer()->Changed();
}

// ---------------------------------------------------------------------------
// Region

bool TImgSelection::CreateRegion(bool IsAntialiasing) {
  const TRect image = FParent ? FParent->SrcBmpRect() : TRect();
  if (!FCore.CreateRegion(FStyleId, FRect, image, IsAntialiasing, ViewMap().Scale)) {
    FCore.ClearRegion();
    return false;
  }
  FDataChanged = true;
  return true;
}

bool TImgSelection::CreateRegionFromRects(bool IsAntialiasing, const std::vector<TRect>& Rects) {
  if (!FCore.CreateRegionFromRects(IsAntialiasing, Rects, ViewMap().Scale)) return false;
  CalcRect();
  FDataChanged = true;
  return true;
}

bool TImgSelection::CombineRegion(bool IsAntialiasing, Integer RegionStyleId, const TRect& ARect,
                                  const TSelectionInput& In) {
  const bool expanding = FParent && FParent->SelectionExpanding();
  if (RegionStyleId == SelKind::NodeLasso) return false;
  if (expanding) FlattenBitmap(true);
  const TRect oldBox = FCore.Region().Box();
  TRegion cut;
  const TRect image = FParent ? FParent->SrcBmpRect() : TRect();
  if (!FCore.CombineRegion(expanding, IsAntialiasing, RegionStyleId, ARect, In, image, ViewMap().Scale, &cut))
    return false;
  if (!expanding && FSelBitmap) {
    TrimLiftedPicture(FSelBitmap.get(), oldBox, FCore.Region().Box(), cut);
    FBitmapChanged = true;
  }
  CalcRect();
  FDataChanged = true;
  return true;
}

bool TImgSelection::CombineRegionAuto(bool IsAntialiasing, bool bAll) {
  FlattenBitmap(true);
  const TRect image = FParent ? FParent->SrcBmpRect() : TRect();
  if (!FCore.CombineRegionAuto(IsAntialiasing, bAll, image, ViewMap().Scale)) return false;
  CalcRect();
  FDataChanged = true;
  return true;
}

void TImgSelection::AddNodePoint(Integer X, Integer Y) {
  FCore.AddNodePoint(X, Y, ViewMap().Scale);
  FDataChanged = true;
}

void TImgSelection::CalcRect() {
  if (FCore.HasRegion()) FRect = FCore.Region().Box();
}

// ---------------------------------------------------------------------------
// Pictures

TBitmap32* TImgSelection::GetSelectionBitmap(TRect& DestRect) {
  if (FParent == nullptr) return nullptr;
  TRect r;
  if (!IntersectRects(r, FCore.Region().Box(), FParent->SrcBmpRect()) || RectIsEmpty(r)) return nullptr;
  FCore.SetRegion(Intersection(FCore.Region(), TRegion(FParent->SrcBmpRect())));
  FParent->MakeBitmapOfSelection(DestRect);
  auto* b = new TBitmap32();
  b->SetSize(r.Width(), r.Height());
  FAutiAliasBmpF->SetDrawMode(dmOpaque);
  b->Draw(0, 0, TRect(r.Left - DestRect.Left, r.Top - DestRect.Top, r.Right - DestRect.Left, r.Bottom - DestRect.Top),
          FAutiAliasBmpF.get());
  b->SetDrawMode(dmBlend);
  return b;
}

bool TImgSelection::FlattenBitmap(bool bFree) {
  if (!FSelBitmap) return false;
  if (FParent) FParent->FlattenSelection();
  if (bFree) {
    FSelBitmap.reset();
    FBitmapChanged = true;
  }
  return true;
}

void TImgSelection::AntiAliasing(Integer DX, Integer DY) {
  if (FStyleId == SelKind::NodeLasso) FCore.UpdateAliasPoints(FCore.Region(), TAliasMode::Add, FCore.NodeAntialiasing());
  ::AntiAliasing(FAutiAliasBmpZ.get(), FAutiAliasBmpF.get(), FCore.AliasPoints(), DX, DY);
}

void TImgSelection::Lift() {
  if (!FSelBitmap) {
    TRect dest;
    TBitmap32* b = GetSelectionBitmap(dest);
    if (b == nullptr) return;
    FSelBitmap.reset(b);
    CalcRegionRects();
    FBitmapChanged = true;
    if (!FParent->PressAlt()) FParent->AutiAliasBmpZ_To_SrcBmp(dest);
    CalcRect();
    CalcCenterPoint();
  } else if (FParent->PressAlt()) {
    FlattenBitmap(false);
  }
}

// ---------------------------------------------------------------------------
// Drawing

void TImgSelection::Draw(TBitmap32* ToBitmap) {
  if (!FSelBitmap || !FCore.HasRegion()) return;
  TBitmap32* t = TargetOf(ToBitmap);
  FSelBitmap->SetDrawMode(dmBlend);
  t->Draw(FCore.Region().Box(), FSelBitmap->BoundsRect(), FSelBitmap.get());
}

void TImgSelection::DrawPreview(TBitmap32* t) {
  const TSelectionInput& in = FCore.Input;
  const TViewMap m = ViewMap();
  const Integer n = in.PointsCount();
  const bool moved = in.PointMoved.X != UnsetPosition;
  switch (FStyleId) {
    case SelKind::Rectangle:
      if (Width() == 0 || Height() == 0) return;
      break;
    case SelKind::Ellipse:
      if (Width() < 3 || Height() < 3) return;
      break;
    case SelKind::FreeLasso:
      if (n < 3) return;
      break;
    case SelKind::PolygonLasso:
    case SelKind::NodeLasso:
      if (!moved || n == 0) return;
      break;
    case SelKind::Row:
    case SelKind::Column:
      if (!moved) return;
      break;
    default: return;
  }
  TRect v;
  GetScreenRect(false, v);
  if (FStyleId == SelKind::Rectangle || FStyleId == SelKind::Ellipse) {
    const String text = IntToStr(Width()) + u" \u00D7 " + IntToStr(Height());
    t->Font()->SetSize(9);
    const Integer tw = t->TextWidth(text);
    const Integer y = v.Top <= 20 ? v.Top + 4 : v.Top - 17;
    t->FillRectS(TRect(v.Left + 5, y, v.Left + 10 + tw, y + 14), 0xFFFFFFFFu);
    t->Textout(v.Left + 8, y, text);
  }
  TCanvas* c = t->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetMode(pmNot);
  c->Brush()->SetStyle(bsClear);
  std::vector<TPoint> pts;
  for (const TPoint& p : in.Points) pts.push_back(m.Point(p));
  switch (FStyleId) {
    case SelKind::Rectangle: c->Rectangle(v); break;
    case SelKind::Ellipse: c->Ellipse(v.Left, v.Top, v.Right, v.Bottom); break;
    case SelKind::PolygonLasso:
    case SelKind::NodeLasso:
      pts.push_back(m.Point(in.PointMoved));
      c->Polyline(pts);
      break;
    case SelKind::FreeLasso: c->Polyline(pts); break;
    case SelKind::Row: {
      const TPoint a = m.Point(TPoint(0, in.PointMoved.Y)), b = m.Point(TPoint(FParent->Width(), in.PointMoved.Y));
      c->MoveTo(a.X, a.Y);
      c->LineTo(b.X, b.Y);
      break;
    }
    case SelKind::Column: {
      const TPoint a = m.Point(TPoint(in.PointMoved.X, 0)), b = m.Point(TPoint(in.PointMoved.X, FParent->Height()));
      c->MoveTo(a.X, a.Y);
      c->LineTo(b.X, b.Y);
      break;
    }
    default: break;
  }
  c->Pen()->SetMode(pmCopy);
}

void TImgSelection::DrawControlPoint(TBitmap32* ToBitmap) {
  if (FParent == nullptr) return;
  TBitmap32* t = TargetOf(ToBitmap);
  if (FCreating) {
    DrawPreview(t);
    return;
  }
  const TViewMap m = ViewMap();
  FNodeRects.clear();
  if (FStyleId == SelKind::NodeLasso && !FParent->Busing() && !FSelBitmap) {
    TCanvas* c = t->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetMode(pmNot);
    c->Brush()->SetStyle(bsClear);
    for (const TPoint& p : FCore.NodePoints()) {
      const TPoint v = m.Point(p);
      FNodeRects.push_back(TRect(v.X - 3, v.Y - 3, v.X + 3, v.Y + 3));
      c->Rectangle(FNodeRects.back());
    }
    c->Pen()->SetMode(pmCopy);
  }
  DrawAnts(t, FCore.HorzLines(), FCore.VertLines(), m.OffsetHorz, m.OffsetVert, FBrushBitmap.get(), FTimerAntIndex);
  if (!FTimerAnt->Enabled()) FTimerAnt->SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Pointer

bool TImgSelection::PtInControl(Integer X, Integer Y) {
  if (FStyleId != SelKind::NodeLasso) return false;
  for (size_t i = 0; i < FNodeRects.size(); ++i)
    if (PointInRect(FNodeRects[i], TPoint(X, Y))) {
      FCurrentCtrIndex = Integer(i) + 1;
      FCurrentCursor = CursorHandPoint;
      return true;
    }
  return TImgShape::PtInControl(X, Y);
}

bool TImgSelection::PtInShape(Integer X, Integer Y) {
  if (!FCore.Region().Contains(X, Y)) return false;
  FCurrentCtrIndex = -1;
  FCurrentCursor = CursorSizeAll;
  return true;
}

void TImgSelection::Click() {
  TImgShape::Click();
  FCopiedOnMoving = false;
  const Integer node = FCurrentCtrIndex - 1;
  if (FStyleId == SelKind::NodeLasso && node >= 0 && node < Integer(FCore.NodePoints().size())) {
    FStartX = FCore.NodePoints()[size_t(node)].X;
    FStartY = FCore.NodePoints()[size_t(node)].Y;
  }
}

void TImgSelection::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer node = FCurrentCtrIndex - 1;
  if (FStyleId != SelKind::NodeLasso || node < 0 || node >= Integer(FCore.NodePoints().size())) return;
  FCore.MoveNode(node, X2 + FStartX - X1, Y2 + FStartY - Y1, ViewMap().Scale);
  FDataChanged = true;
}

void TImgSelection::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (FUseMoveSelection && !FCopiedOnMoving) {
    FCopiedOnMoving = true;
    Lift();
  }
  const Integer sx = FStartX == UnsetPosition ? X1 : FStartX, sy = FStartY == UnsetPosition ? Y1 : FStartY;
  TImgShape::MoveShape(X1, Y1, X2, Y2);
  FCore.Offset(X2 - sx, Y2 - sy, ViewMap().Scale);
  FStartX = X2;
  FStartY = Y2;
  FDataChanged = true;
}

void TImgSelection::OffsetShape(Integer DX, Integer DY) {
  if (FUseMoveSelection && !FCopiedOnMoving) {
    FCopiedOnMoving = true;
    Lift();
  }
  TImgShape::OffsetShape(DX, DY);
  FCore.Offset(DX, DY, ViewMap().Scale);
  FDataChanged = true;
}

// ---------------------------------------------------------------------------
// Undo

void TImgSelection::SaveUndoParts(TRow* StepRow) {
  while (StepRow->ItemCount() <= UndoCell::NodeAntialiasing) StepRow->AddItem(String());
  for (Integer c : {UndoCell::Region, UndoCell::AliasCount, UndoCell::NodeCount}) StepRow->Items(c)->SetText(u"0");
  StepRow->Items(UndoCell::Lifted)->SetAsBool(FSelBitmap != nullptr);
  if (FDataChanged) {
    SetPartOf(StepRow, TUndoSlot::Region, new TUndoRegion(FCore.Region()));
    SetPartOf(StepRow, TUndoSlot::AliasPoints, new TUndoPoints(FCore.AliasPoints()));
    SetPartOf(StepRow, TUndoSlot::NodePoints, new TUndoPoints(FCore.NodePoints()));
    StepRow->Items(UndoCell::NodeAntialiasing)->SetAsBool(FCore.NodeAntialiasing());
    FDataChanged = false;
  }
  if (FBitmapChanged && FSelBitmap) {
    SetPartOf(StepRow, TUndoSlot::Lifted, new TUndoBitmap(CopyOfBitmap(FSelBitmap.get())));
    FBitmapChanged = false;
  }
}

void TImgSelection::RestoreUndoParts(TDataTable* UndoDT, Integer Index) {
  if (TRow* r = FindRowPart(UndoDT, Index, FId, TUndoSlot::Region))
    FCore.SetRegion(static_cast<TUndoRegion*>(PartOf(r, TUndoSlot::Region))->Value);
  if (TRow* r = FindRowPart(UndoDT, Index, FId, TUndoSlot::AliasPoints)) {
    const auto& p = static_cast<TUndoPoints*>(PartOf(r, TUndoSlot::AliasPoints))->Value;
    FCore.SetAliasPoints(p.data(), Integer(p.size()));
  }
  if (TRow* r = FindRowPart(UndoDT, Index, FId, TUndoSlot::NodePoints)) {
    const auto& p = static_cast<TUndoPoints*>(PartOf(r, TUndoSlot::NodePoints))->Value;
    FCore.SetNodePoints(p.data(), Integer(p.size()));
    FCore.SetNodeAntialiasing(CellTextToBool(r->Items(UndoCell::NodeAntialiasing)->Text()));
  }
  FSelBitmap.reset();
  if (TRow* r = FindRowPart(UndoDT, Index, FId, TUndoSlot::Lifted)) {
    FSelBitmap = std::make_unique<TBitmap32>();
    FSelBitmap->Assign(static_cast<TUndoBitmap*>(PartOf(r, TUndoSlot::Lifted))->Value.get());
    FSelBitmap->SetDrawMode(dmBlend);
  }
  CalcRegionRects();
  FDataChanged = false;
  FBitmapChanged = false;
}
