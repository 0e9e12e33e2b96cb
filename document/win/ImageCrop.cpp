// The crop frame.
#include "document/win/ImageCrop.h"

String CropRateLabel(Integer Index) {
  static const char16_t* const labels[] = {u"W:H", u"1:1", u"2:3",  u"3:4",  u"4:5",
                                           u"5:7", u"3:2", u"4:3", u"16:9", u"16:10"};
  return Index >= 0 && Index < 10 ? String(labels[Index]) : String();
}

TImgCrop::TImgCrop(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap) : TImgShape(AOwner, ShapeId, ABitmap) {
  SetShapeType(TShapeType::shCrop);
  FControlMode = 3;
  FAdjustSrcBmp = std::make_unique<TBitmap32>();
}

String TImgCrop::LabelText() const {
  String s = IntToStr(Width()) + u" \u00D7 " + IntToStr(Height());
  const String label = FParent ? CropRateLabel(FParent->CropRateIndex()) : String();
  if (!label.empty()) s += u"   " + label;
  return s;
}

void TImgCrop::DrawDo(const TRect& R, bool IsDrawStyle, TBitmap32* ToBitmap) {
  TBitmap32* t = TargetOf(ToBitmap);
  const Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const bool style0 = FStyleId == 0;
  if (!style0) {
    t->SetStipple({0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu});
    t->SetStippleStep(1);
    t->SetStippleCounter(0);
    t->MoveToF(Single(L), Single(T));
    t->LineToFSP(Single(Rt - 1), Single(T));
    t->LineToFSP(Single(Rt - 1), Single(B - 1));
    t->LineToFSP(Single(L), Single(B - 1));
    t->LineToFSP(Single(L), Single(T));
  }
  auto handle = [&](Integer I, const TRect& H) {
    FCtrRect[size_t(I)] = H;
    if (style0) {
      t->FillRectS(H, 0xFFFFFFFFu);
      t->FrameRectS(H, 0xFF000000u);
    } else {
      t->FillRectS(H, 0xFF000000u);
    }
  };
  handle(1, TRect(L - 6, T - 6, L, T));
  handle(2, TRect(Rt, T - 6, Rt + 6, T));
  handle(3, TRect(Rt, B, Rt + 6, B + 6));
  handle(4, TRect(L - 6, B, L, B + 6));
  if (IsDrawStyle) {
    if (style0) t->FillRectS(R, 0xFFFFFFB4u);
    return;
  }
  FCtrRect[0] = TRect();
  for (Integer i = 5; i <= 8; ++i) FCtrRect[size_t(i)] = TRect();
  if (FParent == nullptr || FParent->CropFixedRate() != -1) return;
  if (Rt - L > 20) {
    const Integer x = L + (Rt - L - 6) / 2;
    handle(5, TRect(x, T - 6, x + 6, T));
    handle(6, TRect(x, B, x + 6, B + 6));
  }
  if (B - T > 20) {
    const Integer y = T + (B - T - 6) / 2;
    handle(7, TRect(L - 6, y, L, y + 6));
    handle(8, TRect(Rt, y, Rt + 6, y + 6));
  }
}

void TImgCrop::Draw(TBitmap32* ToBitmap) { DrawDo(FRect, true, ToBitmap); }

void TImgCrop::DrawControlPoint(TBitmap32* ToBitmap) {
  if (Width() == 0 || Height() == 0 || FParent == nullptr) return;
  TBitmap32* t = TargetOf(ToBitmap);
  TRect v;
  GetScreenRect(false, v);
  const String text = LabelText();
  t->Font()->SetSize(9);
  const Integer tw = t->TextWidth(text);
  const Integer y = v.Top <= 20 ? v.Top + 4 : v.Top - 17;
  t->FillRectS(TRect(v.Left + 5, y, v.Left + 10 + tw, y + 14), 0xFFFFFFFFu);
  t->Textout(v.Left + 8, y, text);
  DrawDo(v, false, ToBitmap);
}

void TImgCrop::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  TImgShape::MoveShape(X1, Y1, X2, Y2);
  FStartX = X2;
  FStartY = Y2;
}
