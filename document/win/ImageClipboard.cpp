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
