// The document's editing: creating objects by drawing, dragging handles and
// bodies, hit testing and selection, cursors, counts and deletion, named
// properties, guides and the ruler, node commands of Bezier shapes.
#include <algorithm>
#include <cstdlib>

#include "document/ShapeRows.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageFreeShape.h"
#include "document/win/ImageLine.h"
#include "document/win/ImageSmall.h"
#include "rtl/SysUtils.h"

namespace {

constexpr Integer PropNextId = 1;

bool IsLineType(TShapeType T) { return T == TShapeType::shArrow || T == TShapeType::shLine; }

std::vector<Integer> GuidePositions(TRow* Row) {
  std::vector<Integer> v;
  for (Integer i = 0; i < Row->ItemCount(); ++i) v.push_back(Row->Items(i)->Value());
  return v;
}

// Copies cells From[i] of a preset row into the row's cells To[i].
void CopyPresetCells(TDataTable* Presets, Integer Number, TRow* Row, std::initializer_list<Integer> From,
                     std::initializer_list<Integer> To) {
  if (Presets == nullptr || Number < 1 || Number > Presets->ItemCount()) return;
  TRow* preset = Presets->Items(Number - 1);
  auto t = To.begin();
  for (Integer f : From) SetCellText(Row, *t++, CellText(preset, f));
}

TImgFreeShape* FreeShapeOf(TImgShape* S) {
  return S && S->ShapeType() == TShapeType::shFreeShape ? static_cast<TImgFreeShape*>(S) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation and editing

void TImageDraw::ExpandPresets(TRow* Row) {
  using namespace ShapeCol;
  CopyPresetCells(FShadowDT, CellInt(Row, ShadowMode), Row, {0, 1, 2, 3, 4, 5}, {70, 71, 72, 73, 74, 75});
  CopyPresetCells(FReflectDT, CellInt(Row, ReflectMode), Row, {1, 3, 5, 6}, {81, 83, 85, 86});
  CopyPresetCells(FObjGradientDT, CellInt(Row, GradientMode), Row, {0, 1, 2, 5, 6, 7, 8, 9},
                  {90, 91, 92, 95, 96, 97, 98, 99});
}

void TImageDraw::CreateShape(TShapeType AType) {
  const Integer ord = Ord(AType);
  const TShapeFactory make = ShapeFactoryOf(AType);
  // A short preset table or a kind without a class changes nothing.
  if (FPropDT == nullptr || ord < 0 || ord >= FPropDT->ItemCount() || make == nullptr) return;
  if (FDT->PropCount() <= PropNextId) FDT->SetPropCount(50);
  const Integer id = FDT->Props(PropNextId)->Value();
  FObjectType = AType;
  TRow row(nullptr);
  row.CopyFrom(FPropDT->Items(ord));
  SetCellText(&row, ShapeCol::Id, IntToStr(id));
  SetCellText(&row, ShapeCol::Type, IntToStr(ord));
  std::unique_ptr<TImgShape> s(make(this, id));
  s->SetShapeType(AType);
  ReadCommonColumns(&row, *s);
  if (RowHasStyles(&row)) {
    ExpandPresets(&row);
    ReadStyleColumns(&row, *s, false);
  }
  s->ReadPresetColumns(&row);
  TRow* added = FDT->AddItem(&row, true);
  added->SetData(s.release());
  FDT->Props(PropNextId)->SetValue(id + 1);
  SetCurrentShape(id);
  FShapeCreating = true;
}

void TImageDraw::DrawShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  TImgShape* s = FCurrentShape;
  if (s == nullptr) return;
  const TRect before = s->LastPaintRect();
  if (s->Creating()) {
    const TShapeType type = s->ShapeType();
    if (type == TShapeType::shCrop && FCropFixedRate != -1) Y2 = CropFixedY2(X1, Y1, X2, Y2, FCropFixedRate);
    TRect r(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2));
    const bool vertical = std::llabs(Int64(Y2) - Y1) >= std::llabs(Int64(X2) - X1);
    if (IsLineType(type)) {
      auto* line = static_cast<TImgLine*>(s);
      line->SetPoint(1, TPoint(X1, Y1));
      line->SetPoint(4, !FPressSht ? TPoint(X2, Y2) : vertical ? TPoint(X1, Y2) : TPoint(X2, Y1));
    } else if ((type == TShapeType::shRectangle || type == TShapeType::shEllipse) && FPressSht) {
      if (r.Height() < r.Width())
        r.Bottom = r.Top + r.Width();
      else
        r.Right = r.Left + r.Height();
    }
    s->SetSRect(r);
    s->CalcCenterPoint();
    s->CalcPoints(false);
    s->SetChanged2(true);
  } else if (s->CurrentCtrIndex() >= 0) {
    if (s->CurrentCtrIndex() == 0 && (s->ControlMode() & 1) != 0) {
      s->SetAngleToPoint(X2, Y2);
      s->SetRotated2(true);
    } else {
      s->AdjustShape(X1, Y1, X2, Y2);
      s->CalcCenterPoint();
      s->CalcPoints(false);
      s->SetChanged2(true);
    }
    s->SetAdjusting(true);
    SetChanged(true);
  }
  DrawAfterStep(before);
  if (OnShapeModified) OnShapeModified(this);
}

void TImageDraw::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  TImgShape* s = FCurrentShape;
  if (s == nullptr || !s->Selected()) return;
  const TRect before = s->LastPaintRect();
  const TRect start = s->StartRect();
  Y2 += GuideSnap(GuidePositions(FHorzGuidesRow.get()), start.Top, start.Bottom, s->Height(), Y2 - Y1);
  X2 += GuideSnap(GuidePositions(FVertGuidesRow.get()), start.Left, start.Right, s->Width(), X2 - X1);
  s->MoveShape(X1, Y1, X2, Y2);
  DrawAfterStep(before);
  SetChanged(true);
  if (OnShapeModified) OnShapeModified(this);
}

void TImageDraw::CreateShapeOver(bool bInvalid) {
  TImgShape* s = FCurrentShape;
  if (bInvalid) {
    const bool freeShape = s && s->ShapeType() == TShapeType::shFreeShape;
    if (s) DeleteShapeById(FShapeId);
    FModified = false;
    if (SelectionExists()) SetCurrentShape(ShapeOfRow(FDT->ItemCount() - 1)->Id());
    if (freeShape) FreeShapeClearAppendState();
    if (OnShapeModified) OnShapeModified(this);
  } else if (s) {
    if (s->ShapeType() == TShapeType::shSelection) {
      // A second selection is combined into the first by its own kind; a
      // first one builds its region, or goes when it encloses nothing.
      auto* created = static_cast<TImgSelection*>(s);
      TImgSelection* earlier = nullptr;
      for (Integer i = FDT->ItemCount() - 2; i >= 0 && earlier == nullptr; --i)
        if (CellInt(FDT->Items(i), ShapeCol::Type) == Ord(TShapeType::shSelection))
          earlier = dynamic_cast<TImgSelection*>(ShapeOfRow(i));
      if (earlier) {
        const TSelectionInput in = created->Core().Input;
        const Integer kind = created->StyleId();
        const TRect r = created->SRect();
        DeleteShapeById(FShapeId);
        earlier->CombineRegion(FAntialiasing, kind, r, in);
        SetCurrentShape(earlier->Id());
        s = earlier;
      } else if (!created->CreateRegion(FAntialiasing)) {
        DeleteShapeById(FShapeId);
        FModified = false;
        FShapeCreating = false;
        return;
      }
    }
    if (s->ShapeType() == TShapeType::shFreeShape) {
      // The new path is finished; a shape waiting at one of its open ends
      // takes it in and stays current instead.
      auto* created = static_cast<TImgFreeShape*>(s);
      created->CreateOver();
      TImgFreeShape* waiting = nullptr;
      for (Integer i = 0; i < FDT->ItemCount() && waiting == nullptr; ++i)
        if (auto* f = FreeShapeOf(ShapeOfRow(i)); f && f != created && (f->AppendFromStartPoint() || f->AppendFromEndPoint()))
          waiting = f;
      if (waiting) {
        waiting->AppendShape(created);
        DeleteShapeById(created->Id());
        SetCurrentShape(waiting->Id());
        s = waiting;
      }
    }
    const TShapeType type = s->ShapeType();
    if (IsLineType(type) || type == TShapeType::shLines || type == TShapeType::shPolygon ||
        type == TShapeType::shSelection || type == TShapeType::shFreeShape) {
      s->CalcRect();
      s->CalcCenterPoint();
    }
    if (type == TShapeType::shLines || type == TShapeType::shFreeShape) s->CalcPointsRatio();
    s->SetCreating(false);
    if (type != TShapeType::shLines) s->Select();
    SetChanged(true);
    ShapeSelectStateChanged(false);
  }
  FShapeCreating = false;
}

void TImageDraw::AdjustShapeOver() {
  TImgShape* s = FCurrentShape;
  if (s == nullptr) return;
  const TShapeType type = s->ShapeType();
  if (IsLineType(type) || type == TShapeType::shPolygon || type == TShapeType::shFreeShape) {
    s->CalcRect();
    s->CalcCenterPoint();
  }
  if (type == TShapeType::shPolygon && s->StyleId() == 1) {
    TRect r;
    NormalizeRect(s->SRect(), r);
    s->SetSRect(r);
  }
  if (type == TShapeType::shFreeShape) s->CalcPointsRatio();
  s->SetAdjusting(false);
}

bool TImageDraw::CreateShapeAuto(const String& S, TBitmap32* ABitmap, Integer OffsetX, Integer OffsetY) {
  if (FDT->PropCount() <= PropNextId) FDT->SetPropCount(50);
  TRow* row = FDT->AddItem(S);
  SetCellText(row, ShapeCol::Id, FDT->Props(PropNextId)->Text());
  FDT->Props(PropNextId)->SetValue(FDT->Props(PropNextId)->Value() + 1);
  const Integer index = FDT->ItemCount() - 1;
  CreateShapeObjects(index);
  TImgShape* s = index < FDT->ItemCount() ? ShapeOfRow(index) : nullptr;
  if (s == nullptr) return false;
  // A picture object takes its own copy of the given picture.
  if (auto* picture = dynamic_cast<TImgSmall*>(s); picture && ABitmap) picture->RestorePicture(ABitmap);
  if (OffsetX != 0 || OffsetY != 0) {
    s->OffsetShape(OffsetX, OffsetY);
    if (s->SRect().Left > FBitmap->Width()) s->OffsetShape(FBitmap->Width() - s->SRect().Left - 20, 0);
    if (s->SRect().Top > FBitmap->Height()) s->OffsetShape(0, FBitmap->Height() - s->SRect().Top - 20);
  }
  if (!s->Fixed()) s->Select();
  return true;
}

void TImageDraw::SetCropRateIndex(Integer Value) {
  if (Value == FCropRateIndex) return;
  FCropRateIndex = Value;
  Single rate = FCropFixedRate;
  if (CropRateOfIndex(Value, FBitmap->Width(), FBitmap->Height(), rate)) FCropFixedRate = rate;
}

// ---------------------------------------------------------------------------
// Hit testing and selection

void TImageDraw::SetCurrentShape(Integer Id) {
  FCurrentShape = Id >= 0 ? ShapeById(Id) : nullptr;
  FShapeId = FCurrentShape ? Id : -1;
  FObjectType = FCurrentShape ? FCurrentShape->ShapeType() : TShapeType::shNone;
}

bool TImageDraw::LocateShape(Integer XA, Integer YA, Integer X, Integer Y) {
  FShapeId = -1;
  Integer id = -1;
  for (Integer i = FDT->ItemCount() - 1; i >= 0 && id < 0; --i) {
    TImgShape* s = ShapeOfRow(i);
    if (s && !s->Fixed() && s->PtInControl(XA, YA)) id = s->Id();
  }
  for (Integer i = FDT->ItemCount() - 1; i >= 0 && id < 0; --i) {
    TImgShape* s = ShapeOfRow(i);
    if (s && !s->Fixed() && s->PtInShape(X, Y)) id = s->Id();
  }
  SetCurrentShape(id);
  return FShapeId >= 0;
}

void TImageDraw::ClickShape(TSelectMode SelectMode, Integer ShapeId) {
  TImgShape* clicked = ShapeById(ShapeId);
  switch (SelectMode) {
    case TSelectMode::selOne:
      if (clicked) clicked->Click();
      for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
        if (TImgShape* s = ShapeOfRow(i); s && s != clicked) s->UnSelect();
      break;
    case TSelectMode::selOneInvert:
      if (clicked) clicked->Selected() ? clicked->UnSelect() : clicked->Click();
      break;
    case TSelectMode::selMulti:
      if (clicked) clicked->Click();
      break;
    default: break;
  }
  ShapeSelectStateChanged(true);
}

void TImageDraw::SelectShape(TSelectMode SelectMode, Integer ShapeId) {
  switch (SelectMode) {
    case TSelectMode::selNone: {
      for (Integer i = 0; i < FDT->ItemCount(); ++i)
        if (TImgShape* s = ShapeOfRow(i); s && s->ShapeType() != TShapeType::shCrop) s->UnSelect();
      if (FCurrentShape && FObjectType != TShapeType::shCrop && FObjectType != TShapeType::shSelection)
        SetCurrentShape(-1);
      break;
    }
    case TSelectMode::selAll:
      for (Integer i = 0; i < FDT->ItemCount(); ++i)
        if (TImgShape* s = ShapeOfRow(i); s && !s->Fixed()) s->Select();
      break;
    case TSelectMode::selSame: {
      const Integer row = FDT->IndexOfValue(ShapeCol::Id, ShapeId);
      if (row < 0) break;
      const Integer type = CellInt(FDT->Items(row), ShapeCol::Type);
      for (Integer i = 0; i < FDT->ItemCount(); ++i) {
        TImgShape* s = ShapeOfRow(i);
        if (s == nullptr || s->Fixed()) continue;
        if (CellInt(FDT->Items(i), ShapeCol::Type) == type)
          s->Select();
        else
          s->UnSelect();
      }
      break;
    }
    default: break;
  }
  ShapeSelectStateChanged(true);
}

void TImageDraw::ShapeSelectStateChanged(bool IsSetAsCurrentShape) {
  if (!FSelectedIds->DataChanged()) return;
  const bool single = FSelectedIds->ItemCount() == 1;
  if (single && IsSetAsCurrentShape)
    for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
      if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) {
        SetCurrentShape(s->Id());
        break;
      }
  if (single && FObjectType == TShapeType::shSelection) {
    if (OnShapeModified) OnShapeModified(this);
  } else if (OnShapeSelected) {
    OnShapeSelected(this);
  }
  FSelectedIds->SetDataChanged(false);
}

void TImageDraw::MovePrepare() {
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) s->ResetMoveStart();
}

bool TImageDraw::IsSelected(Integer ShapeId) const {
  const TImgShape* s = ShapeById(ShapeId);
  return s && s->Selected();
}

Integer TImageDraw::GetShapeIdByName(const String& ShapeName) const {
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (CellText(FDT->Items(i), ShapeCol::Name) == ShapeName) return CellInt(FDT->Items(i), ShapeCol::Id);
  return -1;
}

TImgShape* TImageDraw::GetShapeByName(const String& ShapeName) const {
  const Integer id = GetShapeIdByName(ShapeName);
  return id >= 0 ? ShapeById(id) : nullptr;
}

SmallInt TImageDraw::GetShapeCursor(Integer XA, Integer YA, Integer X, Integer Y) {
  FCanvasCtrIndex = 0;
  const TViewMap m = ViewMap();
  const TPoint at(XA, YA);
  if (ShapeSelectedCount() == 1)
    if (TImgFreeShape* f = FreeShapeOf(FCurrentShape); f && f->PointAdding())
      return f->PtInPath(X, Y) ? ShapeCursor::NodeOnPath : ShapeCursor::NodeAdd;
  if (FRulerEnabled) {
    FRulerPickMode = RulerPick(m.Point(FRulerP1), m.Point(FRulerP2), at);
    if (FRulerPickMode >= 0) return ShapeCursor::Ruler;
  }
  if (!FLockGuides) {
    FHorzGuidesIndex = FVertGuidesIndex = -1;
    for (Integer i = 0; i < FHorzGuidesRow->ItemCount(); ++i)
      if (m.Y(FHorzGuidesRow->Items(i)->Value()) == YA) {
        FHorzGuidesIndex = i;
        return ShapeCursor::VSplit;
      }
    for (Integer i = 0; i < FVertGuidesRow->ItemCount(); ++i)
      if (m.X(FVertGuidesRow->Items(i)->Value()) == XA) {
        FVertGuidesIndex = i;
        return ShapeCursor::HSplit;
      }
  }
  FCanvasCtrRect = CanvasHandleRects(m.Rect(FBitmap->BoundsRect()), FCtrBmpW->Width());
  for (Integer i = 1; i <= 8; ++i)
    if (PointInRect(FCanvasCtrRect[size_t(i)], at)) {
      FCanvasCtrIndex = i;
      static constexpr SmallInt cursors[9] = {0,
                                              ShapeCursor::SizeNWSE, ShapeCursor::SizeNESW, ShapeCursor::SizeNWSE,
                                              ShapeCursor::SizeNESW, ShapeCursor::SizeNS,   ShapeCursor::SizeNS,
                                              ShapeCursor::SizeWE,   ShapeCursor::SizeWE};
      return cursors[i];
    }
  if (ObjectSelectedCount() == 1)
    for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
      if (TImgShape* s = ShapeOfRow(i); s && !s->Fixed() && s->PtInControl(XA, YA)) return s->CurrentCursor();
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
    if (TImgShape* s = ShapeOfRow(i); s && !s->Fixed() && s->PtInShape(X, Y)) return s->CurrentCursor();
  return ShapeCursor::ToolDefault;
}

// ---------------------------------------------------------------------------
// Counts, presence and deletion

Integer TImageDraw::ShapeCount() const {
  Integer n = 0;
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    const TImgShape* s = ShapeOfRow(i);
    n += s && !s->Hided() && s->ShapeType() != TShapeType::shCrop && s->ShapeType() != TShapeType::shSelection;
  }
  return n;
}

Integer TImageDraw::ShapeEditableCount() const {
  Integer n = 0;
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    const TImgShape* s = ShapeOfRow(i);
    n += s && !s->Hided() && !s->Fixed() && s->ShapeType() != TShapeType::shCrop &&
         s->ShapeType() != TShapeType::shSelection;
  }
  return n;
}

Integer TImageDraw::ShapeSelectedCount() const {
  const Integer n = FSelectedIds->ItemCount();
  return (CropExists() || SelectionExists()) ? n - 1 : n;
}

bool TImageDraw::CropExists() const {
  return FDT->ItemCount() > 0 && CellInt(FDT->Items(FDT->ItemCount() - 1), ShapeCol::Type) == Ord(TShapeType::shCrop);
}

bool TImageDraw::SelectionExists() const {
  return FDT->ItemCount() > 0 &&
         CellInt(FDT->Items(FDT->ItemCount() - 1), ShapeCol::Type) == Ord(TShapeType::shSelection);
}

Integer TImageDraw::SelectionSize() const { return FCurrentShape ? FCurrentShape->Width() * FCurrentShape->Height() : 0; }

bool TImageDraw::DeleteShapeById(Integer Id) {
  if (Id < 0) return false;
  const Integer i = FDT->IndexOfValue(ShapeCol::Id, Id);
  if (i < 0) return false;
  RemoveShapeRow(i);
  return true;
}

void TImageDraw::DeleteShapes(TRow* IdRow) {
  bool any = false;
  if (IdRow) {
    for (Integer i = 0; i < IdRow->ItemCount(); ++i) any = DeleteShapeById(IdRow->Items(i)->Value()) || any;
  } else {
    for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
      if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) {
        RemoveShapeRow(i);
        any = true;
      }
  }
  if (!any) return;
  SetChanged(true);
  ShapeSelectStateChanged(true);
}

bool TImageDraw::DeleteCropShape() {
  if (!CropExists()) return false;
  RemoveShapeRow(FDT->ItemCount() - 1);
  FModified = true;
  ShapeSelectStateChanged(true);
  return true;
}

bool TImageDraw::DeleteSelectionCropShape(bool IsFlattenSelection) {
  if (IsFlattenSelection)
    if (TImgSelection* s = Selection()) s->FlattenBitmap(true);
  if (CropExists() || SelectionExists()) {
    RemoveShapeRow(FDT->ItemCount() - 1);
    FModified = true;
    ShapeSelectStateChanged(true);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Named properties

void TImageDraw::SetProperty(const String& AName, Integer V, bool IsDraw) {
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !s->Selected()) continue;
    const bool line = IsLineType(s->ShapeType());
    if (AName == u"Color") s->SetColor(V);
    else if (AName == u"IsOutline") s->SetIsOutline(V != 0);
    else if (AName == u"IsFill") s->SetIsFill(V != 0);
    else if (AName == u"FillColor") s->SetFillColor(V);
    else if (AName == u"OutWidth") s->SetOutWidth(V);
    else if (AName == u"Opacity") s->SetOpacity(V);
    else if (AName == u"ShadowMode") {
      s->SetShadowMode(V);
      if (FShadowDT && V >= 1 && V <= FShadowDT->ItemCount()) {
        TRow* p = FShadowDT->Items(V - 1);
        s->SetShadowAngle(CellInt(p, 0));
        s->SetShadowDistance(CellInt(p, 1));
        s->SetShadowZoomValue(CellInt(p, 2));
        s->SetShadowBlurSize(CellInt(p, 3));
        s->SetShadowColor(CellInt(p, 4));
        s->SetShadowOpacity(CellInt(p, 5));
      }
    } else if (AName == u"ReflectMode") {
      s->SetReflectMode(V);
      if (FReflectDT && V >= 1 && V <= FReflectDT->ItemCount()) {
        TRow* p = FReflectDT->Items(V - 1);
        s->SetReflectDistance(CellInt(p, 1));
        s->SetReflectBlurSize(CellInt(p, 3));
        s->SetReflectOpacity(CellInt(p, 5));
        s->SetReflectHeight(CellInt(p, 6));
      }
    } else if (AName == u"GradientMode") s->SetGradientMode(V);
    else if (AName == u"Angle") s->SetAngle(Single(V));
    else if (AName == u"PenStyle") s->SetPenStyle(V);
    else if (AName == u"StyleId") {
      // An arrow or line keeps its points within its group of three; the
      // decision is each object's own.
      const bool keep = line && V / 3 == s->StyleId() / 3;
      s->SetStyleId(V);
      s->SetChanged2(true);
      if (!keep) {
        s->InitPoints(false);
        s->CalcPoints(true);
      }
      s->CalcRect();
      s->CalcCenterPoint();
    } else if (AName == u"ArrowType" && line) {
      static_cast<TImgLine*>(s)->SetArrowType(V);
    }
    s->SetChanged2(true);
    SetChanged(true);
  }
  if (IsDraw) Draw();
}

void TImageDraw::SetPropertyStr(const String& AName, const String& V, bool IsDraw) {
  (void)AName;
  (void)V;
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !s->Selected()) continue;
    s->SetChanged2(true);
    SetChanged(true);
  }
  if (IsDraw) Draw();
}

// ---------------------------------------------------------------------------
// Guides and ruler

void TImageDraw::CreateGuides(Integer X, Integer Y, bool IsHorzGuides) {
  TRow* row = IsHorzGuides ? FHorzGuidesRow.get() : FVertGuidesRow.get();
  const Integer v = IsHorzGuides ? Y : X;
  if (row->IndexOf(v) < 0) row->AddItem(v);
  SetChanged(false);
}

void TImageDraw::SetGuidesPosition(Integer X, Integer Y) {
  auto place = [](TRow* Row, Integer Index, Integer V) {
    if (Row != nullptr && Index >= 0 && Index < Row->ItemCount()) Row->Items(Index)->SetValue(V);
  };
  if (FHorzGuidesIndex >= 0)
    place(FHorzGuidesRow.get(), FHorzGuidesIndex, Y);
  else
    place(FVertGuidesRow.get(), FVertGuidesIndex, X);
  SetChanged(false);
}

void TImageDraw::ClearGuides() {
  FHorzGuidesRow->Clear();
  FVertGuidesRow->Clear();
  SetChanged(false);
}

void TImageDraw::CreateRuler(Integer X, Integer Y, Integer X2, Integer Y2) {
  FRulerP1 = TPoint(X, Y);
  FRulerP2 = TPoint(X2, Y2);
  FRulerEnabled = true;
  SetChanged(false);
  RulerChanged();
}

void TImageDraw::BackupRulerPosition() {
  FRulerP1_B = FRulerP1;
  FRulerP2_B = FRulerP2;
}

void TImageDraw::SetRulerPosition(Integer X, Integer Y, Integer X2, Integer Y2) {
  const Integer dx = X2 - X, dy = Y2 - Y;
  if (FRulerPickMode == 0 || FRulerPickMode == 1) FRulerP1 = TPoint(FRulerP1_B.X + dx, FRulerP1_B.Y + dy);
  if (FRulerPickMode == 0 || FRulerPickMode == 2) FRulerP2 = TPoint(FRulerP2_B.X + dx, FRulerP2_B.Y + dy);
  SetChanged(false);
  RulerChanged();
}

void TImageDraw::RulerChanged() {
  if (OnRulerChanged) OnRulerChanged(this, FRulerP1.X, FRulerP1.Y, FRulerP2.X, FRulerP2.Y);
}

void TImageDraw::ClearRuler() {
  FRulerEnabled = false;
  SetChanged(false);
  RulerChanged();
}


void TImageDraw::FreeShapeDeleteNode() {
  TImgFreeShape* f = FreeShapeOf(FCurrentShape);
  if (f == nullptr || f->SelectPointCount() == 0) return;
  if (f->DeleteSelectPoints())
    SetChanged(true);
  else
    DeleteShapes(nullptr);
}

bool TImageDraw::FreeShapeSetCommonTangent(bool Value) {
  TImgFreeShape* f = FreeShapeOf(FCurrentShape);
  if (f == nullptr || !f->SetCommonTangent(Value)) return false;
  SetChanged(true);
  return true;
}

bool TImageDraw::FreeShapeHideTangent() {
  TImgFreeShape* f = FreeShapeOf(FCurrentShape);
  if (f == nullptr || !f->HideTangent()) return false;
  SetChanged(true);
  return true;
}

void TImageDraw::FreeShapeCloseShape() {
  if (TImgFreeShape* f = FreeShapeOf(FCurrentShape)) {
    f->CloseShape();
    SetChanged(true);
  }
}

void TImageDraw::FreeShapeBreakNode() {
  if (TImgFreeShape* f = FreeShapeOf(FCurrentShape)) {
    f->BreakNode();
    SetChanged(true);
  }
}

bool TImageDraw::FreeShapeSetControlMode(Integer Mode) {
  TImgFreeShape* f = FreeShapeOf(FCurrentShape);
  if (f == nullptr || Mode == f->ControlMode()) return false;
  f->SetPointAdding(false);
  if (f->ControlMode() == 1) {
    f->RotateToCurrent();
    f->SetAngle(0);
    f->SetChanged2(true);
    f->CalcRect();
    f->CalcCenterPoint();
    f->CalcPointsRatio();
  }
  f->SetControlMode(Mode);
  SetChanged(true);
  return true;
}

void TImageDraw::PixelsTest() {
  FPixelsTesting = !FPixelsTesting;
  Draw();
}

void TImageDraw::SetTimeString(const String& Value) {
  FTimeString = Value;
  if (OnTimeStringChanged) OnTimeStringChanged(this);
}

void TImageDraw::FreeShapeClearAppendState() {
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (TImgFreeShape* f = FreeShapeOf(ShapeOfRow(i))) {
      f->SetAppendFromStartPoint(false);
      f->SetAppendFromEndPoint(false);
    }
}

bool TImageDraw::FreeShapeCheckAppendState(bool& Appending) {
  const TPoint p(FMovedX, FMovedY);
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i) {
    TImgFreeShape* f = FreeShapeOf(ShapeOfRow(i));
    if (f == nullptr || f->Fixed() || f->Closed()) continue;
    const bool onFirst = f->PtInFirstPoint(p);
    if (onFirst && !f->AppendFromStartPoint()) {
      f->SetAppendFromStartPoint(true);
      Appending = true;
      return true;
    }
    if (!onFirst && f->AppendFromStartPoint()) {
      f->SetAppendFromStartPoint(false);
      Appending = false;
      return true;
    }
    const bool onLast = f->PtInLastPoint(p);
    if (onLast && !f->AppendFromEndPoint()) {
      f->SetAppendFromEndPoint(true);
      Appending = true;
      return true;
    }
    if (!onLast && f->AppendFromEndPoint()) {
      f->SetAppendFromEndPoint(false);
      Appending = false;
      return true;
    }
  }
  return false;
}
