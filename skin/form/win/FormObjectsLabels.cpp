// Frame labels: a line of text in a skin font, and text made of glyph cells.
#include <memory>

#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"
#include "skin/form/win/FormSkin.h"

TspSkinLabelObject::TspSkinLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinLabel*>(AData)) {
    FTextValue = D->TextValue;
    FontName = D->FontName;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    Alignment = D->Alignment;
  }
}

void TspSkinLabelObject::SetTextValue(const String& AValue, bool AUpDate) {
  FTextValue = AValue;
  if (AUpDate) Parent->DrawSkinObject(this);
}

std::unique_ptr<TBitmap> TspSkinLabelObject::LabelImage(TBitmap* P, const TRect& S, TColor T) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  auto B = NewLookImage(W, H);
  TCanvas* C = B->Canvas();
  if (P && !RectIsEmpty(S)) C->CopyRect(TRect(0, 0, W, H), P->Canvas(), S);
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetName(FontName);
  C->Font()->SetStyle(FontStyle);
  C->Font()->SetHeight(FontHeight);
  C->Font()->SetColor(T);
  TRect M(0, 0, 0, 0);
  DrawWideText(C, FTextValue, M, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  Integer X = 0;
  if (Alignment == taRightJustify)
    X = W - M.Width();
  else if (Alignment == taCenter)
    X = W / 2 - M.Width() / 2;
  const Integer Y = H / 2 - M.Height() / 2;
  TRect R(X, Y, X + M.Width(), Y + M.Height());
  if (!FTextValue.empty()) DrawWideText(C, FTextValue, R, DT_SINGLELINE | DT_NOPREFIX);
  return B;
}

void TspSkinLabelObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin() || ObjectRect.Width() <= 0 || ObjectRect.Height() <= 0) return;
  const bool HasActiveLook = !RectIsEmpty(ActiveSkinRect);
  const bool AtRest = (Active && FMorphKf == 1) || (!Active && FMorphKf == 0);
  if (!EnableMorphing() || AtRest) {
    std::unique_ptr<TBitmap> B;
    if (!Active)
      B = LabelImage(Picture, SkinRect, FontColor);
    else if (HasActiveLook)
      B = LabelImage(ActivePicture, ActiveSkinRect, ActiveFontColor);
    else if (ActiveFontColor != FontColor)
      B = LabelImage(Picture, SkinRect, ActiveFontColor);
    if (B) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
    return;
  }
  auto N = LabelImage(Picture, SkinRect, FontColor);
  auto A = HasActiveLook ? LabelImage(ActivePicture, ActiveSkinRect, ActiveFontColor)
                         : LabelImage(Picture, SkinRect, ActiveFontColor);
  std::unique_ptr<TspEffectBmp> E1(TspEffectBmp::CreateFromhWnd(N->Handle()));
  std::unique_ptr<TspEffectBmp> E2(TspEffectBmp::CreateFromhWnd(A->Handle()));
  ApplyMorph(E1.get(), E2.get(), MorphKind, FMorphKf);
  E1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TspSkinLabelObject::MouseEnter() {
  FMouseIn = Active = true;
  if (!RectIsEmpty(ActiveSkinRect) || ActiveFontColor != FontColor) ReDraw();
  FireEnter();
}

void TspSkinLabelObject::MouseLeave() {
  FMouseIn = Active = false;
  if (!RectIsEmpty(ActiveSkinRect) || ActiveFontColor != FontColor) ReDraw();
  FireLeave();
}

// ---------------------------------------------------------------------------
// Bit label

TspSkinBitLabelObject::TspSkinBitLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinBitLabel*>(AData)) {
    FTextValue = D->TextValue;
    SymbolWidth = D->SymbolWidth;
    SymbolHeight = D->SymbolHeight;
    Symbols = D->Symbols;
    Transparent = D->Transparent;
    TransparentColor = D->TransparentColor;
  }
}

void TspSkinBitLabelObject::SetTextValue(const String& AValue, bool AUpDate) {
  FTextValue = AValue;
  if (AUpDate) Parent->DrawSkinObject(this);
}

bool TspSkinBitLabelObject::FindSymbol(Char C, Integer& Row, Integer& Col) const {
  if (!Symbols) return false;
  for (Integer R = 0; R < Symbols->Count(); ++R) {
    const String& S = Symbols->Strings(R);
    const auto P = S.find(C);
    if (P != String::npos) {
      Row = R;
      Col = static_cast<Integer>(P);
      return true;
    }
  }
  return false;
}

void TspSkinBitLabelObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin() || !Picture) return;
  const Integer W = SkinRect.Width(), H = SkinRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewLookImage(W, H);
  B->Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), SkinRect);
  if (ActivePicture && SymbolWidth > 0 && SymbolHeight > 0) {
    for (size_t I = 0; I < FTextValue.size(); ++I) {
      Integer Row = 0, Col = 0;
      if (!FindSymbol(FTextValue[I], Row, Col)) continue;
      const Integer X = static_cast<Integer>(I) * SymbolWidth;
      if (X >= W) break;
      const Integer CW = std::min(SymbolWidth, W - X);
      const Integer SX = ActiveSkinRect.Left + SymbolWidth * Col, SY = ActiveSkinRect.Top + SymbolHeight * Row;
      B->Canvas()->CopyRect(TRect(X, 0, X + CW, SymbolHeight), ActivePicture->Canvas(),
                            TRect(SX, SY, SX + CW, SY + SymbolHeight));
      if (CW < SymbolWidth) break;
    }
  }
  if (Transparent) {
    B->SetTransparent(true);
    B->SetTransparentColor(TransparentColor);
    auto Back = NewLookImage(W, H);
    Back->Canvas()->CopyRect(TRect(0, 0, W, H), Parent->SkinData()->FPicture->Canvas(), SkinRect);
    Back->Canvas()->Draw(0, 0, B.get());
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, Back.get());
    return;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}
