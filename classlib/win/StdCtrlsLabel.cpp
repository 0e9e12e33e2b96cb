// The label: a graphic control that draws its caption.
#include "classlib/StdCtrls.h"
#include "rtl/ScopeGuard.h"

namespace {

// Whether VK is the caption's accelerator: the character after the last
// single "&" ("&&" is a literal "&"), compared without case.
bool IsLabelAccel(WPARAM VK, const String& S) {
  Char Found = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] != u'&' || I + 1 >= S.size()) continue;
    if (S[I + 1] != u'&') Found = S[I + 1];
    ++I;
  }
  if (Found == 0) return false;
  auto Upper = [](Char C) {
    WCHAR Buf[2] = {static_cast<WCHAR>(C), 0};
    CharUpperBuffW(Buf, 1);
    return static_cast<Char>(Buf[0]);
  };
  return Upper(Found) == Upper(static_cast<Char>(VK));
}

}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle |= csOpaque | csReplicatable;
  FWidth = 65;
  FHeight = 17;
  FColor = clBtnFace;
  FParentColor = true;
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value)
    FControlStyle &= ~csOpaque;
  else
    FControlStyle |= csOpaque;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

String TCustomLabel::GetLabelText() { return Text(); }

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  String S = GetLabelText();
  if ((Flags & DT_CALCRECT) && (S.empty() || (FShowAccelChar && S == u"&"))) S += u' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* C = Canvas();
  HDC DC = C->Handle();
  HGDIOBJ OldFont = SelectObject(DC, C->Font()->Handle());
  Integer OldMode = SetBkMode(DC, TRANSPARENT);
  RECT R{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  const WCHAR* Txt = reinterpret_cast<const WCHAR*>(S.c_str());
  Integer Len = static_cast<Integer>(S.size());
  if (!Enabled() && !(Flags & DT_CALCRECT)) {
    // Embossed: the highlight one pixel down and right, the shadow over it.
    OffsetRect(&R, 1, 1);
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    DrawTextW(DC, Txt, Len, &R, Flags);
    OffsetRect(&R, -1, -1);
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    DrawTextW(DC, Txt, Len, &R, Flags);
  } else {
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(C->Font()->Color())));
    DrawTextW(DC, Txt, Len, &R, Flags);
  }
  SetBkMode(DC, OldMode);
  SelectObject(DC, OldFont);
  Rect = TRect(R.left, R.top, R.right, R.bottom);
}

void TCustomLabel::Paint() {
  static constexpr UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* C = Canvas();
  if (!FTransparent) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FColor);
    C->FillRect(ClientRect());
  }
  C->Brush()->SetStyle(bsClear);
  C->SetFont(FFont);
  TRect R = ClientRect();
  UINT Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | Alignments[FAlignment];
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Calc, Flags | DT_CALCRECT);
    Integer Dy = FLayout == tlBottom ? FHeight - Calc.Bottom : (FHeight - Calc.Bottom) / 2;
    R.Top += Dy;
    R.Bottom += Dy;
  }
  DoDrawText(R, Flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying)) return;
  TRect R = ClientRect();
  HDC DC = GetDC(nullptr);
  TCanvas* C = Canvas();
  C->Lock();
  C->SetHandle(DC);
  {
    TFinally Done([&] {
      C->SetHandle(nullptr);
      C->Unlock();
      ReleaseDC(nullptr, DC);
    });
    C->SetFont(FFont);
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  }
  Integer X = FLeft;
  // The edge the alignment holds stays where it is.
  if (FAlignment == taRightJustify) X += FWidth - R.Right;
  SetBounds(X, FTop, R.Right, R.Bottom);
}

void TCustomLabel::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(M);
      AdjustBounds();
      return;
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsLabelAccel(M.WParam, Text()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        M.Result = 1;
      }
      return;
  }
  TGraphicControl::Dispatch(M);
}
