// TImageDraw: moving, aligning, sizing and stacking the objects, the
// picture object's picture commands, flattening objects into the raster,
// and the whole-image selection commands with saved selections.
#include <algorithm>
#include <vector>

#include "document/SelectionCore.h"
#include "document/ShapeRows.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageSmall.h"
#include "rtl/SysUtils.h"

namespace {

bool IsCropOrSelection(const TImgShape* S) {
  return S->ShapeType() == TShapeType::shCrop || S->ShapeType() == TShapeType::shSelection;
}

}  // namespace

void TImageDraw::MoveShapes(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) {
      s->MoveShape(X1, Y1, X2, Y2);
      FModified = true;
    }
  Draw();
  SetChanged(true);
}

void TImageDraw::MoveShapesOver(Integer DX, Integer DY) {
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) s->MoveShapeOver(DX, DY);
}

void TImageDraw::MoveShapeByArrowKey(Integer Key) {
  Integer dx = 0, dy = 0;
  switch (Key) {
    case 37: dx = -1; break;
    case 38: dy = -1; break;
    case 39: dx = 1; break;
    case 40: dy = 1; break;
    default: return;
  }
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !(s->Selected() || IsCropOrSelection(s))) continue;
    s->OffsetShape(dx, dy);
    s->MoveShapeOver(dx, dy);
    SetChanged(true);
  }
  if (ObjectSelectedCount() == 1 && OnShapeModified) OnShapeModified(this);
}

void TImageDraw::AlignShape(Integer Mode) {
  std::vector<TImgShape*> chosen;
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) chosen.push_back(s);
  if (chosen.empty()) return;
  TRect t = FBitmap->BoundsRect();
  if (chosen.size() > 1) {
    t = chosen[0]->SRect();
    for (size_t k = 1; k < chosen.size(); ++k) {
      const TRect& r = chosen[k]->SRect();
      t = TRect(std::min(t.Left, r.Left), std::min(t.Top, r.Top), std::max(t.Right, r.Right),
                std::max(t.Bottom, r.Bottom));
    }
  }
  for (TImgShape* s : chosen) {
    const TRect r = s->SRect();
    Integer dx = 0, dy = 0;
    switch (Mode) {
      case 0: dx = t.Left - r.Left; break;
      case 1: dx = (t.Right - t.Left) / 2 + t.Left - (r.Right - r.Left) / 2 - r.Left; break;
      case 2: dx = t.Right - r.Right; break;
      case 3: dy = t.Top - r.Top; break;
      case 4: dy = (t.Bottom - t.Top) / 2 + t.Top - (r.Bottom - r.Top) / 2 - r.Top; break;
      case 5: dy = t.Bottom - r.Bottom; break;
      default: break;
    }
    if (dx != 0 || dy != 0) s->OffsetShape(dx, dy);
  }
  SetChanged(true);
}

void TImageDraw::ShapeSetSize(Integer W, Integer H) {
  TImgShape* s = FCurrentShape;
  if (s == nullptr) return;
  const TRect r = s->SRect();
  if (r.Width() == W && r.Height() == H) return;
  s->SetSRect(TRect(r.Left, r.Top, r.Left + W, r.Top + H));
  s->CalcPoints(false);
  SetChanged(true);
  if (OnShapeModified) OnShapeModified(this);
}

void TImageDraw::BringToFront() {
  if (ShapeEditableCount() < 2) return;
  std::vector<Integer> ids;
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) ids.push_back(s->Id());
  for (Integer id : ids) FDT->MoveItem(FDT->IndexOfId(id), FDT->ItemCount() - 1);
  SetChanged(true);
}

void TImageDraw::SendToBack() {
  if (ShapeEditableCount() < 2) return;
  std::vector<Integer> ids;
  for (Integer i = FDT->ItemCount() - 1; i >= 0; --i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) ids.push_back(s->Id());
  for (Integer id : ids) FDT->MoveItem(FDT->IndexOfId(id), 0);
  SetChanged(true);
}

void TImageDraw::BringForward() {
  if (ShapeEditableCount() < 2) return;
  auto heldOrSelected = [this](Integer I) {
    TImgShape* s = ShapeOfRow(I);
    return s && (s->Fixed() || s->Selected());
  };
  Integer k = FDT->ItemCount() - 1;
  while (k >= 0 && heldOrSelected(k)) --k;
  for (Integer i = k; i >= 0; --i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) {
      FDT->MoveItem(i, i + 1);
      SetChanged(true);
    }
}

void TImageDraw::SendBackward() {
  if (ShapeEditableCount() < 2) return;
  auto heldOrSelected = [this](Integer I) {
    TImgShape* s = ShapeOfRow(I);
    return s && (s->Fixed() || s->Selected());
  };
  Integer k = 0;
  while (k < FDT->ItemCount() && heldOrSelected(k)) ++k;
  for (Integer i = k; i < FDT->ItemCount(); ++i)
    if (TImgShape* s = ShapeOfRow(i); s && s->Selected()) {
      FDT->MoveItem(i, i - 1);
      SetChanged(true);
    }
}

void TImageDraw::FlipShape(Integer Mode) {
  auto* s = dynamic_cast<TImgSmall*>(FCurrentShape);
  if (s == nullptr) return;
  if (Mode == 0)
    s->SrcBmp()->FlipHorz();
  else
    s->SrcBmp()->FlipVert();
  s->SetDataChanged(true);
  s->SetChanged2(true);
  SetChanged(true);
}

void TImageDraw::SmallReplaceBy(TBitmap32* B32) {
  auto* s = dynamic_cast<TImgSmall*>(FCurrentShape);
  if (s == nullptr || B32 == nullptr) return;
  s->SrcBmp()->Assign(B32);
  const TRect r = s->SRect();
  s->SetSRect(TRect(r.Left, r.Top, r.Left + B32->Width(), r.Top + B32->Height()));
  s->SetDataChanged(true);
  s->SetChanged2(true);
  SetChanged(true);
}

void TImageDraw::Flatten(bool bAll) {
  TRow ids(nullptr);
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !(bAll || s->Selected())) continue;
    // A crop frame is no picture: it stays, and nothing of it is drawn.
    if (s->ShapeType() == TShapeType::shCrop) continue;
    if (s->ShapeType() != TShapeType::shSelection) {
      s->BuildEdging();
      s->BuildShadow();
      s->DrawShadowReflection(FSrcBmp.get());
      s->DrawReflection(FSrcBmp.get());
      s->DrawShadow(FSrcBmp.get());
    }
    s->Draw(FSrcBmp.get());  // a selection draws only its lifted picture
    ids.AddItem(IntToStr(s->Id()));
  }
  if (ids.ItemCount() > 0) DeleteShapes(&ids);
  FSrcBmpChanged = true;
  SetChanged(true);
}

void TImageDraw::SetPencilEditable(bool Value) {
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (TImgShape* s = ShapeOfRow(i); s && s->ShapeType() == TShapeType::shLines) s->SetFixed(!Value);
  FPencilEditable = Value;
}

void TImageDraw::SelectImage(bool bAll) {
  if (TImgSelection* s = Selection()) {
    TRect r;
    if (!bAll && (!IntersectRects(r, s->Region().Box(), FSrcBmp->BoundsRect()) || RectIsEmpty(r))) bAll = true;
    if (s->CombineRegionAuto(FAntialiasing, bAll)) {
      s->SetChanged2(true);
      s->CalcRect();
      s->CalcCenterPoint();
      if (OnShapeModified) OnShapeModified(this);
    } else {
      DeleteSelectionCropShape(false);  // only the emptied selection goes
    }
  } else {
    CreateShape(TShapeType::shSelection);
    auto* n = dynamic_cast<TImgSelection*>(FCurrentShape);
    if (n == nullptr) return;
    n->CreateRegionFromRects(false, {FSrcBmp->BoundsRect()});
    n->CalcRect();
    n->CalcCenterPoint();
    n->SetCreating(false);
    n->Select();
    FShapeCreating = false;
    ShapeSelectStateChanged(true);
  }
  FModified = true;
}

void TImageDraw::SaveSelection(const String& sName) {
  TImgSelection* s = Selection();
  if (s == nullptr || !FSelectionDT) return;
  const String text = s->GetRegionString();
  const String flag = FAntialiasing ? u"-1" : u"0";
  for (Integer i = 0; i < FSelectionDT->ItemCount(); ++i) {
    TRow* r = FSelectionDT->Items(i);
    if (r->ItemCount() > 0 && SameText(r->Items(0)->Text(), sName)) {
      while (r->ItemCount() < 8) r->AddItem(String());
      r->Items(1)->SetText(text);
      r->Items(2)->SetText(flag);
      return;
    }
  }
  TRow row(nullptr);
  row.AddItem(sName);
  row.AddItem(text);
  row.AddItem(flag);
  for (Integer k = 0; k < 5; ++k) row.AddItem(String());
  FSelectionDT->AddItem(&row, true);
}

void TImageDraw::LoadSelection(const String& sName) {
  if (!FSelectionDT) return;
  TRow* found = nullptr;
  for (Integer i = 0; i < FSelectionDT->ItemCount() && !found; ++i) {
    TRow* r = FSelectionDT->Items(i);
    if (r->ItemCount() > 1 && SameText(r->Items(0)->Text(), sName)) found = r;
  }
  std::vector<TRect> rects;
  if (found == nullptr || !TextToRects(found->Items(1)->Text(), rects)) return;
  const bool antialias = found->ItemCount() > 2 && CellTextToBool(found->Items(2)->Text());
  if (SelectionExists()) DeleteSelectionCropShape(true);  // one selection at a time: the old one is stamped
  CreateShape(TShapeType::shSelection);
  auto* s = dynamic_cast<TImgSelection*>(FCurrentShape);
  if (s == nullptr) return;
  if (!s->CreateRegionFromRects(antialias, rects)) {
    DeleteSelectionCropShape(false);
    FShapeCreating = false;
    return;
  }
  FAntialiasing = antialias;
  s->CalcRect();
  s->CalcCenterPoint();
  s->SetCreating(false);
  s->Select();
  FShapeCreating = false;
  ShapeSelectStateChanged(true);
  FModified = true;
}
