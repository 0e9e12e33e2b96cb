// TImageDraw: copying and pasting objects, selected pixels and pictures
// through the program's copied rows and picture and the system clipboard.
#include <algorithm>
#include <memory>

#include "classlib/Clipbrd.h"
#include "document/ShapeRows.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageSmall.h"

namespace {

TDataTable& ClipboardTable() {
  static TDataTable table;
  return table;
}

// Src over opaque white, at Src's size, onto the system clipboard.
void PutOverWhite(TCustomBitmap32* Src) {
  TBitmap32 white;
  white.SetSize(Src->Width(), Src->Height());
  white.Clear(0xFFFFFFFFu);
  const TDrawMode mode = Src->DrawMode();
  Src->SetDrawMode(dmBlend);
  white.Draw(0, 0, Src);
  Src->SetDrawMode(mode);
  Clipboard()->Clear();
  AssignToClipboard(&white, Clipboard());
}

std::unique_ptr<TBitmap32> CopyOf(TCustomBitmap32* B) {
  auto c = std::make_unique<TBitmap32>();
  c->Assign(B);
  return c;
}

}  // namespace

TDataTable* ShapeClipboardDT = &ClipboardTable();
TBitmap32* CopiedImage = nullptr;

void ClearShapeClipboard() {
  for (Integer i = 0; i < ShapeClipboardDT->ItemCount(); ++i) {
    delete static_cast<TBitmap32*>(ShapeClipboardDT->Items(i)->Data2());
    ShapeClipboardDT->Items(i)->SetData2(nullptr);
  }
  ShapeClipboardDT->Clear();
}

String PastedPictureRow(Integer X, Integer Y, Integer W, Integer H) {
  static const char16_t* const tail =
      u"45,3,0,3,0,175,,,,,0,0,0,0,0,175,66,,,,26367/65535/26367,100/100/100,0/0.5/1,,,0,45,,,0";
  std::vector<String> cells(70);
  cells[0] = u"0";
  cells[1] = u"8";
  cells[10] = IntToStr(X);
  cells[11] = IntToStr(Y);
  cells[12] = IntToStr(X + W);
  cells[13] = IntToStr(Y + H);
  cells[16] = u"255";
  cells[19] = u"0";
  cells[24] = u"0";
  // Numbers in rows use "." whatever the locale: a "," would split the cell.
  cells[25] = SingleToText(Single(X) + Single(W) / 2);
  cells[26] = SingleToText(Single(Y) + Single(H) / 2);
  for (Integer k = 27; k <= 31; ++k) cells[size_t(k)] = u"-1";
  String s;
  for (const String& c : cells) s += c + u",";
  return s + tail;
}

void TImageDraw::CopyShape() {
  StoreShapeObjects();
  ClearShapeClipboard();
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !s->Selected()) continue;
    TRow* r = ShapeClipboardDT->AddItem(FDT->Items(i), true);
    r->SetData(nullptr);  // the object stays with its document
    r->SetData2(nullptr);
    if (auto* picture = dynamic_cast<TImgSmall*>(s)) r->SetData2(CopyOf(picture->SrcBmp()).release());
  }
  delete CopiedImage;
  CopiedImage = nullptr;
}

void TImageDraw::CutShape() {
  CopyShape();
  DeleteShapes(nullptr);
}

bool TImageDraw::PasteEnabled() const {
  return ShapeClipboardDT->ItemCount() > 0 || CopiedImage != nullptr || Clipboard()->HasFormat(CF_BITMAP);
}

void TImageDraw::Paste(Integer X, Integer Y, TBitmap32* ABmp, bool IsFromClipboard, bool IsCenterXY) {
  if (ShapeClipboardDT->ItemCount() == 0 || ABmp || IsFromClipboard) {
    std::unique_ptr<TBitmap32> picture;
    if (ABmp) {
      picture = CopyOf(ABmp);
    } else if (CopiedImage && !IsFromClipboard) {
      picture = CopyOf(CopiedImage);
    } else if (Clipboard()->HasFormat(CF_BITMAP)) {
      picture = std::make_unique<TBitmap32>();
      AssignFromClipboard(picture.get(), Clipboard());
    }
    // No picture anywhere: nothing is pasted and nothing changes.
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0) return;
    if (IsCenterXY) {
      X -= picture->Width() / 2;
      Y -= picture->Height() / 2;
    }
    SelectShape(TSelectMode::selNone, 0);
    if (!CreateShapeAuto(PastedPictureRow(X, Y, picture->Width(), picture->Height()), picture.get(), 0, 0)) return;
  } else {
    Integer minX = 0, minY = 0;
    for (Integer i = 0; i < ShapeClipboardDT->ItemCount(); ++i) {
      TRow* r = ShapeClipboardDT->Items(i);
      minX = i == 0 ? CellInt(r, 10) : std::min(minX, CellInt(r, 10));
      minY = i == 0 ? CellInt(r, 11) : std::min(minY, CellInt(r, 11));
    }
    SelectShape(TSelectMode::selNone, 0);
    for (Integer i = 0; i < ShapeClipboardDT->ItemCount(); ++i) {
      TRow* r = ShapeClipboardDT->Items(i);
      String text;
      for (Integer k = 0; k < r->ItemCount(); ++k) {
        if (k > 0) text += u",";
        text += r->Items(k)->Text();
      }
      CreateShapeAuto(text, static_cast<TBitmap32*>(r->Data2()), X - minX, Y - minY);
    }
  }
  SetChanged(true);
  ShapeSelectStateChanged(true);
}

TRect TImageDraw::CopySelection(bool bMerged) {
  TImgSelection* s = Selection();
  if (s == nullptr) return TRect();
  std::unique_ptr<TBitmap32> own;
  TBitmap32* source = s->SelBitmap();
  TRect result;
  if (source == nullptr) {
    own.reset(s->GetSelectionBitmap(result));
    if (!own) return TRect();
    source = own.get();
    if (bMerged) {
      TBitmap32 layer;
      layer.SetSize(FBitmap->Width(), FBitmap->Height());
      layer.Clear(0x00FFFFFFu);
      DrawTo(&layer);
      const TRect box = s->Region().Box();
      layer.SetDrawMode(dmBlend);
      source->Draw(0, 0, box, &layer);
    }
  }
  delete CopiedImage;
  CopiedImage = CopyOf(source).release();
  PutOverWhite(source);
  ClearShapeClipboard();
  return result;
}

void TImageDraw::CutSelection() {
  TImgSelection* s = Selection();
  const bool lifted = s && s->SelBitmap();
  const TRect r = CopySelection(false);
  if (lifted) {
    // The hole was cut when the picture was lifted; the picture goes.
    if (TImgSelection* sel = Selection()) sel->DropLiftedBitmap();
    SetChanged(true);
  } else if (!RectIsEmpty(r)) {
    AutiAliasBmpZ_To_SrcBmp(r);
  }
}

void TImageDraw::DeleteSelection() {
  TImgSelection* s = Selection();
  if (s == nullptr) return;
  TRect r;
  std::unique_ptr<TBitmap32> b(s->GetSelectionBitmap(r));
  if (b) AutiAliasBmpZ_To_SrcBmp(r);
}

void TImageDraw::CopyImage() {
  delete CopiedImage;
  CopiedImage = CopyOf(FBitmap).release();
}

void TImageDraw::CopyImageToClipboard(bool bMerged) {
  PutOverWhite(bMerged ? FBitmap : FSrcBmp.get());
  FSrcBmp->SetDrawMode(dmOpaque);
}

void TImageDraw::CopySmallToClipboard() {
  auto* s = dynamic_cast<TImgSmall*>(FCurrentShape);
  if (s == nullptr) return;
  s->DrawPrepare();
  TBitmap32* b = s->TmpBmp() && !s->TmpBmp()->Empty() ? s->TmpBmp() : s->SrcBmp();
  PutOverWhite(b);
}

void TImageDraw::CopyText(const String& S) { Clipboard()->SetAsText(S); }

void TImageDraw::CopyProperty() {
  if (FCurrentShape == nullptr) return;
  const Integer index = FDT->IndexOfId(FCurrentShape->Id());
  if (index < 0) return;
  StoreShapeObjects();
  TRow* row = FDT->Items(index);
  FCopyProp = std::make_unique<TRow>(nullptr);
  FCopyProp->CopyFrom(row);
  FCopyProp->SetData(nullptr);
  FCopyPropTag = TShapeType(CellInt(row, 1));
}

bool TImageDraw::PastePropEnabled() const {
  if (!FCopyProp || FCopyProp->ItemCount() == 0) return false;
  TShapeType shared = TShapeType::shNone;
  bool first = true;
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !s->Selected()) continue;
    if (first) {
      shared = s->ShapeType();
      first = false;
    } else if (s->ShapeType() != shared) {
      return false;
    }
  }
  return !first && shared == FCopyPropTag;
}

void TImageDraw::PasteProperty(Integer Mode) {
  if (!FCopyProp || FCopyProp->ItemCount() == 0) return;
  TRow* p = FCopyProp.get();
  const Integer n = p->ItemCount();
  auto text = [&](Integer K) { return K < n ? p->Items(K)->Text() : String(); };
  auto num = [&](Integer K) { return CellTextToInt(text(K)); };
  auto flag = [&](Integer K) { return CellTextToBool(text(K)); };
  auto group = [&](Integer G) { return Mode == 0 || Mode == G; };
  // The font and text-fill cells of text and callout objects.
  static const Integer textCells[] = {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 55,
                                      56, 59, 60, 61, 62, 63, 64, 65, 66, 67};
  bool rowsStored = false;
  for (Integer i = 0; i < FDT->ItemCount(); ++i) {
    TImgShape* s = ShapeOfRow(i);
    if (s == nullptr || !s->Selected()) continue;
    if (group(1)) {
      s->SetColor(TColor(num(14)));
      s->SetIsOutline(flag(20));
    }
    if (group(2)) s->SetOutWidth(num(18));
    if (group(3)) s->SetPenStyle(num(22));
    if (group(4)) {
      s->SetFillColor(TColor(num(15)));
      s->SetIsFill(flag(21));
    }
    if (group(5)) s->SetOpacity(num(16));
    if (group(6)) {
      s->SetShadowMode(num(27));
      if (n > 70) {
        s->SetShadowAngle(num(70));
        s->SetShadowDistance(num(71));
        s->SetShadowZoomValue(num(72));
        s->SetShadowBlurSize(num(73));
        s->SetShadowColor(TColor(num(74)));
        s->SetShadowOpacity(num(75));
      }
    }
    if (group(7)) {
      s->SetReflectMode(num(28));
      if (n > 80) {
        s->SetReflectDistance(num(81));
        s->SetReflectBlurSize(num(83));
        s->SetReflectOpacity(num(85));
        s->SetReflectHeight(num(86));
      }
    }
    if (group(8)) {
      s->SetGradientMode(num(29));
      if (n > 90) {
        s->SetGradientColor(text(90));
        s->SetGradientOpacity(text(91));
        s->SetGradientPosition(text(92));
        s->SetGradientFillMode(num(95));
        s->SetGradientLinearAngle(num(96));
        s->SetGradientEdgingWidth(num(98));
        s->SetGradientHatchMode(num(87));
        s->SetGradientHatchForeColor(TColor(num(88)));
        s->SetGradientHatchBackColor(TColor(num(89)));
        s->SetGradientTextureFileName(UnescapeTableText(text(97)));
        s->SetGradientGammaCorrected(flag(99));
      }
    }
    if (Mode == 0 && (s->ShapeType() == TShapeType::shText || s->ShapeType() == TShapeType::shCallout)) {
      if (!rowsStored) {
        StoreShapeObjects();
        rowsStored = true;
      }
      TRow* own = FDT->Items(i);
      for (Integer k : textCells)
        if (k < n && k < own->ItemCount()) own->Items(k)->SetText(text(k));
      s->ReadRowColumns(own);
    }
    s->SetChanged2(true);
  }
  SetChanged(true);
}
