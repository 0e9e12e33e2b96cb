#include "classlib/Buttons.h"

#include "classlib/Messages.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FGlyph = new TBitmap();
  SetBounds(0, 0, 23, 22);
  SetControlStyle(csCaptureMouse | csDoubleClicks | csSetCaption | csOpaque);
}

TSpeedButton::~TSpeedButton() { delete FGlyph; }

void TSpeedButton::SetGlyph(TBitmap* Value) {
  if (Value)
    FGlyph->Assign(Value);
  else
    FGlyph->SetSize(0, 0);
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  SetControlStyle(Value ? ControlStyle() & ~TControlStyle(csOpaque) : ControlStyle() | csOpaque);
  Invalidate();
}

void TSpeedButton::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FDown) ReleaseGroup();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  // The whole group shares the setting.
  if (!Parent() || FGroupIndex == 0) return;
  for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
    auto* B = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (B && B != this && B->FGroupIndex == FGroupIndex) B->FAllowAllUp = Value;
  }
}

void TSpeedButton::ReleaseGroup() {
  if (!Parent() || FGroupIndex == 0) return;
  for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
    auto* B = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (B && B != this && B->FGroupIndex == FGroupIndex && B->FDown) {
      B->FDown = false;
      B->Invalidate();
    }
  }
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) ReleaseGroup();
  Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  FPressed = true;
  FPressedShown = true;
  Invalidate();
}

void TSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FPressed) return;
  const bool Over = X >= 0 && Y >= 0 && X < Width() && Y < Height();
  if (Over != FPressedShown) {
    FPressedShown = Over;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !FPressed) return;
  FPressed = false;
  const bool Over = X >= 0 && Y >= 0 && X < Width() && Y < Height();
  FPressedShown = false;
  if (Over && FGroupIndex != 0) SetDown(!FDown);
  Invalidate();
  if (Over) Click();
}

void TSpeedButton::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
      TGraphicControl::Dispatch(M);
      if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        if (FFlat) Invalidate();
        MouseEnter();
      }
      return;
    case CM_MOUSELEAVE:
      TGraphicControl::Dispatch(M);
      if (FMouseInControl) {
        FMouseInControl = false;
        if (FFlat) Invalidate();
        MouseLeave();
      }
      return;
    case CM_ENABLEDCHANGED:
      TGraphicControl::Dispatch(M);
      if (!Enabled()) FMouseInControl = false;
      Invalidate();
      return;
  }
  TGraphicControl::Dispatch(M);
}

void TSpeedButton::Paint() {
  TCanvas* C = Canvas();
  const TRect R(0, 0, Width(), Height());
  const bool Sunken = FDown || (FPressed && FPressedShown);
  if (!FTransparent || !FFlat) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
  RECT Rc{R.Left, R.Top, R.Right, R.Bottom};
  if (!FFlat) {
    DrawEdge(C->Handle(), &Rc, Sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (Sunken || (FMouseInControl && Enabled())) {
    // One-pixel frame: light top-left while hot, the other way round down.
    const TColor Light = ColorToRGB(clBtnHighlight), Dark = ColorToRGB(clBtnShadow);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(Sunken ? Dark : Light);
    C->Polyline({TPoint(0, R.Bottom - 1), TPoint(0, 0), TPoint(R.Right - 1, 0)});
    C->Pen()->SetColor(Sunken ? Light : Dark);
    C->Polyline({TPoint(R.Right - 1, 0), TPoint(R.Right - 1, R.Bottom - 1), TPoint(-1, R.Bottom - 1)});
  }
  const Integer Shift = Sunken ? 1 : 0;
  // The glyph left of the caption, both centred together.
  const String Cap = Caption();
  SIZE TS{0, 0};
  C->Font()->Assign(Font());
  if (!Cap.empty())
    GetTextExtentPoint32W(C->Handle(), reinterpret_cast<const WCHAR*>(Cap.c_str()), Integer(Cap.size()), &TS);
  const Integer GW = FGlyph->Empty() ? 0 : FGlyph->Width();
  const Integer GH = FGlyph->Empty() ? 0 : FGlyph->Height();
  const Integer Gap = GW > 0 && !Cap.empty() ? 4 : 0;
  const Integer Total = GW + Gap + TS.cx;
  Integer X = (Width() - Total) / 2 + Shift;
  if (GW > 0) {
    C->Draw(X, (Height() - GH) / 2 + Shift, FGlyph);
    X += GW + Gap;
  }
  if (!Cap.empty()) {
    C->Brush()->SetStyle(bsClear);
    const Integer Y = (Height() - TS.cy) / 2 + Shift;
    if (!Enabled()) {
      C->Font()->SetColor(clBtnHighlight);
      C->TextOut(X + 1, Y + 1, Cap);
      C->Font()->SetColor(clBtnShadow);
    }
    C->TextOut(X, Y, Cap);
  }
}
