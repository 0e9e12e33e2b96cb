// The skinned bevel and standard label.
#include "skin/controls/win/SkinStdCtrls.h"

#include "skin/controls/SkinCtrlGeometry.h"
#include "skin/controls/win/SkinControl.h"

// ---------------------------------------------------------------------------
// TspSkinBevel

TspSkinBevel::TspSkinBevel(TComponent* AOwner)
    : TBevel(AOwner), LightColor(clBtnHighlight), DarkColor(clBtnShadow) {}

void TspSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TspSkinBevel::SetSkinData(TspSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  ChangeSkinData();
}

void TspSkinBevel::SetDividerMode(bool Value) {
  FDividerMode = Value;
  Repaint();
}

void TspSkinBevel::ChangeSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) {
    LightColor = clBtnHighlight;
    DarkColor = clBtnShadow;
  } else if (auto* D = dynamic_cast<TspDataSkinBevel*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(FIndex)))) {
    LightColor = D->LightColor;
    DarkColor = D->DarkColor;
  }
  Repaint();
}

void TspSkinBevel::Paint() {
  TCanvas* C = Canvas();
  const TColor C1 = FStyle == bsLowered ? DarkColor : LightColor;
  const TColor C2 = FStyle == bsLowered ? LightColor : DarkColor;
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsSolid);
  std::vector<TspBevelLine> Lines;
  BevelLines(FShape, FDividerMode, Width(), Height(), Lines);
  for (const TspBevelLine& L : Lines) {
    C->Pen()->SetColor(L.Colour == 1 ? C1 : C2);
    C->Polyline(L.Points);
  }
}

// ---------------------------------------------------------------------------
// TspSkinStdLabel

TspSkinStdLabel::TspSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner), FDefaultFont(new TFont()) {
  SetTransparent(true);
}

TspSkinStdLabel::~TspSkinStdLabel() { delete FDefaultFont; }

void TspSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TspSkinStdLabel::SetSkinData(TspSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value) ChangeSkinData();
}

void TspSkinStdLabel::SetEllipsType(TspEllipsType Value) {
  if (FEllipsType == Value) return;
  FEllipsType = Value;
  Invalidate();
}

void TspSkinStdLabel::GetSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinStdLabelControl*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(FIndex)))) {
    FontName = D->FontName;
    FontColor = D->FontColor;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
  }
}

void TspSkinStdLabel::ChangeSkinData() {
  GetSkinData();
  if (AutoSize()) AdjustBounds();
  Repaint();
}

void TspSkinStdLabel::DoDrawText(TRect& Rect, UINT Flags) {
  GetSkinData();
  String S = GetLabelText();
  if ((Flags & DT_CALCRECT) && (S.empty() || (ShowAccelChar() && S == u"&"))) S += u' ';
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  if (FEllipsType == spetEndEllips) Flags |= DT_END_ELLIPSIS;
  if (FEllipsType == spetPathEllips) Flags |= DT_PATH_ELLIPSIS;
  TCanvas* C = Canvas();
  TFont* F = C->Font();
  const bool SkinnedLook = FIndex != -1;
  if (!SkinnedLook) {
    AssignFont(F, FUseSkinFont ? FDefaultFont : Font());
  } else {
    AssignFont(F, Font());
    if (FUseSkinFont) {
      F->SetName(FontName);
      F->SetStyle(FontStyle);
      F->SetHeight(FontHeight);
    }
    F->SetColor(FUseSkinColor ? FontColor : Font()->Color());
  }
  F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
  HDC DC = C->Handle();
  const Integer OldMode = SetBkMode(DC, TRANSPARENT);
  RECT R{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  auto* Txt = const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(S.c_str()));
  const Integer Len = Integer(S.size());
  auto Draw = [&](RECT& Where) {
    if (FEllipsType != spetNone)
      DrawTextExW(DC, Txt, Len, &Where, Flags, nullptr);
    else
      DrawTextW(DC, Txt, Len, &Where, Flags);
  };
  if (!Enabled() && !(Flags & DT_CALCRECT)) {
    TspSkinColors* SC = SkinnedLook ? FSD->SkinColors() : nullptr;
    OffsetRect(&R, 1, 1);
    SetTextColor(DC, COLORREF(ColorToRGB(SC ? SC->cBtnHighLight() : clBtnHighlight)));
    Draw(R);
    OffsetRect(&R, -1, -1);
    SetTextColor(DC, COLORREF(ColorToRGB(SC ? SC->cBtnShadow() : clBtnShadow)));
    Draw(R);
  } else {
    SetTextColor(DC, COLORREF(ColorToRGB(F->Color())));
    Draw(R);
  }
  SetBkMode(DC, OldMode);
  Rect = TRect(R.left, R.top, R.right, R.bottom);
}
