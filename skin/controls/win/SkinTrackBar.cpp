#include "skin/controls/win/SkinTrackBar.h"

#include "skin/data/SpLayout.h"
#include "skin/data/win/SpEffBmp.h"

TspSkinTrackBar::TspSkinTrackBar(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = u"htrackbar";
  SetTabStop(false);
  SetBounds(Left(), Top(), 100, 20);
}

void TspSkinTrackBar::SetValue(Integer Value) {
  const Integer V = TrackClampValue(FMinValue, FMaxValue, Value);
  if (V == FValue) return;
  FValue = V;
  auto Alive = LivenessToken();
  Repaint();
  if (*Alive && OnChange) OnChange(this);
}

void TspSkinTrackBar::SetMinValue(Integer Value) {
  FMinValue = Value;
  if (Value > FValue) FValue = Value;
  Repaint();
}

void TspSkinTrackBar::SetMaxValue(Integer Value) {
  FMaxValue = Value;
  if (Value < FValue) FValue = Value;
  Repaint();
}

void TspSkinTrackBar::SetVertical(bool Value) {
  FVertical = Value;
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    FSkinDataName = Value ? u"trackbar" : u"htrackbar";
  Repaint();
}

void TspSkinTrackBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinTrackBar::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (!Skinned()) return;
  auto* D = dynamic_cast<TspDataSkinTrackBarControl*>(SkinDescription());
  // Another kind of description, no picture, no track or no button: the
  // default look.
  if (!D || !Picture || RectIsEmpty(D->TrackArea) || RectIsEmpty(D->ButtonRect)) {
    FIndex = -1;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  ActiveSkinRect = D->ActiveSkinRect;
  FVertical = D->Vertical;
  ButtonRect = D->ButtonRect;
  ActiveButtonRect = RectIsEmpty(D->ActiveButtonRect) ? ButtonRect : D->ActiveButtonRect;
  TrackArea = D->TrackArea;
  ButtonTransparent = D->ButtonTransparent;
  ButtonTransparentColor = D->ButtonTransparentColor;
}

void TspSkinTrackBar::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
  NewTrackArea = TrackArea;
  if (ResizeMode > 0) {
    if (FVertical)
      NewTrackArea.Bottom += AHeight - SkinRect.Height();
    else
      NewTrackArea.Right += AWidth - SkinRect.Width();
  }
}

TRect TspSkinTrackBar::CurrentTrack() const {
  return Skinned() ? NewTrackArea : TRect(2, 2, Width() - 2, Height() - 2);
}

void TspSkinTrackBar::CalcButton() {
  GetSkinData();
  RefreshSkinGeometry();
  const bool S = Skinned();
  const TspTrackButton T = TrackButtonRect(CurrentTrack(), FVertical, FMinValue, FMaxValue, FValue,
                                           S ? ButtonRect.Width() : 0, S ? ButtonRect.Height() : 0, Width(), Height());
  Offset1 = T.Offset1;
  Offset2 = T.Offset2;
  BOffset = T.BOffset;
  BR = T.Button;
}

void TspSkinTrackBar::CreateControlDefaultImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  C->Brush()->SetStyle(bsClear);
  C->Pen()->SetColor(clBtnShadow);
  C->Rectangle(0, 0, W, H);
  const TRect G = FVertical ? TRect(W / 2 - 1, 4, W / 2 + 1, H - 4) : TRect(4, H / 2 - 1, W - 4, H / 2 + 1);
  // The groove, sunken: shadow top and left, highlight bottom and right.
  C->Pen()->SetColor(clBtnShadow);
  C->MoveTo(G.Left, G.Bottom - 1);
  C->LineTo(G.Left, G.Top);
  C->LineTo(G.Right - 1, G.Top);
  C->Pen()->SetColor(clBtnHighlight);
  C->LineTo(G.Right - 1, G.Bottom - 1);
  C->LineTo(G.Left - 1, G.Bottom - 1);
  CalcButton();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(BR);
  if (FDown)
    FillFramedRect(C, BR, DefaultHotFrame, DefaultDownFace);
  else if (FCanFocused && Focused())
    FillFramedRect(C, BR, DefaultHotFrame, DefaultHotFace);
  else
    FillFramedRect(C, BR, clBtnShadow, clBtnFace);
}

void TspSkinTrackBar::CreateControlSkinImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlSkinImage(B);
  CalcButton();
  const Integer W = B->Width(), H = B->Height();
  if (!RectIsEmpty(ActiveSkinRect)) {
    auto A = NewSkinBitmap(W, H);
    CreateSkinImage(A.get(), Picture, ActiveSkinRect);
    if (FVertical) {
      const TRect R(0, BR.Top + BR.Height() / 2, W, H);
      if (!RectIsEmpty(R)) B->Canvas()->CopyRect(R, A->Canvas(), R);
    } else {
      const Integer X = BR.Left + BR.Width() / 2;
      if (X > 0) B->Canvas()->CopyRect(TRect(0, 0, X, H), A->Canvas(), TRect(0, 0, X, H));
    }
  }
  const TRect& S = (FDown || (FCanFocused && Focused())) ? ActiveButtonRect : ButtonRect;
  const Integer BW = S.Width(), BH = S.Height();
  auto Btn = NewSkinBitmap(BW, BH);
  Btn->Canvas()->CopyRect(TRect(0, 0, BW, BH), Picture->Canvas(), S);
  if (!AlphaBlend() || ButtonTransparent) {
    if (ButtonTransparent) {
      Btn->SetTransparentColor(ButtonTransparentColor);
      Btn->SetTransparent(true);
    }
    B->Canvas()->Draw(BR.Left, BR.Top, Btn.get());
    return;
  }
  auto Under = NewSkinBitmap(BW, BH);
  Under->Canvas()->CopyRect(TRect(0, 0, BW, BH), B->Canvas(), TRect(BR.Left, BR.Top, BR.Left + BW, BR.Top + BH));
  auto E = SkinEffectOf(Btn.get());
  auto EU = SkinEffectOf(Under.get());
  E->Morph(EU.get(), 1 - AlphaBlendValue() / 255.0);
  E->Draw(B->Canvas()->Handle(), BR.Left, BR.Top);
}

void TspSkinTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  // Only the left button is captured by the control, so only it drags.
  if (!*Alive || !FMouseSupport || Button != mbLeft) return;
  CalcButton();
  if (X < BR.Left || X > BR.Right || Y < BR.Top || Y > BR.Bottom) return;
  OMPos = FVertical ? Y : X;
  OldBOffset = BOffset;
  FDown = true;
  Repaint();
  if (*Alive && OnStartDragButton) OnStartDragButton(this);
}

void TspSkinTrackBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (FMouseSupport && FDown) {
    const Integer P = FVertical ? OMPos + OldBOffset - Y : X + OldBOffset - OMPos;
    SetValue(TrackValueOfPos(FMinValue, FMaxValue, Offset1, Offset2, P));
    if (!*Alive) return;
  }
  TspSkinCustomControl::MouseMove(Shift, X, Y);
}

void TspSkinTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || !FMouseSupport) return;
  if (FDown) {
    FDown = false;
    Repaint();
    if (*Alive) LastChange();
    return;
  }
  if (!FJumpWhenClick) return;
  CalcButton();
  Integer A = 2;
  if (Skinned()) A = FVertical ? Height() - NewTrackArea.Bottom : NewTrackArea.Left;
  SetValue(TrackValueOfPos(FMinValue, FMaxValue, Offset1, Offset2, TrackJumpPos(FVertical, X, Y, Height(), BR, A)));
}

void TspSkinTrackBar::LastChange() {
  if (OnLastChange) OnLastChange(this);
}

void TspSkinTrackBar::Step(Integer Delta) {
  auto Alive = LivenessToken();
  SetValue(FValue + Delta);
  if (*Alive) LastChange();
}

void TspSkinTrackBar::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::KeyDown(Key, Shift);
  if (!*Alive || !FCanFocused) return;
  if (Key == VK_LEFT || Key == VK_DOWN)
    Step(-1);
  else if (Key == VK_UP || Key == VK_RIGHT)
    Step(1);
}

void TspSkinTrackBar::WndProc(TMessage& M) {
  if (M.Msg == WM_MOUSEWHEEL) {
    if (FCanFocused && Focused()) {
      const bool Positive = static_cast<int32_t>(M.WParam) > 0;
      Step(FVertical == Positive ? 1 : -1);
    }
    M.Result = 0;
    return;
  }
  if (FCanFocused) {
    if (!FocusBeforePress(M, FClicksDisabled, true)) return;
  }
  TspSkinCustomControl::WndProc(M);
}

void TspSkinTrackBar::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint && M.WParam) PaintContentTo(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case CM_WANTSPECIALKEY:
      TspSkinCustomControl::Dispatch(M);
      if (FCanFocused && M.WParam >= VK_LEFT && M.WParam <= VK_DOWN) M.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && FCanFocused) Repaint();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
