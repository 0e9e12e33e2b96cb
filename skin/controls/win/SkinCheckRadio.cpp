// The check and radio box.
#include "skin/controls/win/SkinCheckRadio.h"

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"

TspSkinCheckRadioBox::TspSkinCheckRadioBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = u"checkbox";
  SetBounds(Left(), Top(), 150, 25);
}

TspSkinCheckRadioBox::~TspSkinCheckRadioBox() { StopMorph(); }

void TspSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    Repaint();
  }
}

// --- state

void TspSkinCheckRadioBox::SetChecked(bool Value) {
  auto Alive = LivenessToken();
  FChecked = Value;
  if (Value)
    FState = cbChecked;
  else if (FState == cbChecked)
    FState = cbUnchecked;
  Repaint();
  if (FChecked && FGroupIndex != 0 && Parent()) {
    TWinControl* P = Parent();
    for (Integer I = 0; I < P->ControlCount(); ++I) {
      auto* Box = dynamic_cast<TspSkinCheckRadioBox*>(P->Controls(I));
      if (Box && Box != this && Box->FGroupIndex == FGroupIndex && Box->FChecked) {
        Box->SetChecked(false);
        if (!*Alive) return;
      }
    }
  }
  if (!FRadio || FChecked) Fire(OnClick, this);
}

void TspSkinCheckRadioBox::SetState(TCheckBoxState Value) {
  FState = Value;
  FChecked = Value == cbChecked;
  Repaint();
  Fire(OnClick, this);
}

void TspSkinCheckRadioBox::Toggle() {
  if (FRadio) {
    if (!FChecked) SetChecked(true);
  } else {
    SetChecked(!FChecked);
  }
}

void TspSkinCheckRadioBox::SetRadio(bool Value) {
  FRadio = Value;
  if (!Skinned() && FDrawDefault) Repaint();
}

void TspSkinCheckRadioBox::SetAllowGrayed(bool Value) {
  FAllowGrayed = Value;
  Repaint();
}

void TspSkinCheckRadioBox::SetFlat(bool Value) {
  FFlat = Value;
  Repaint();
}

void TspSkinCheckRadioBox::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (FFlat) Repaint();
}

void TspSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
  if (FImages != Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
  }
  Repaint();
}

void TspSkinCheckRadioBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Repaint();
}

void TspSkinCheckRadioBox::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

// --- hot state and cross-fade

void TspSkinCheckRadioBox::HotStateChanged() {
  if (CrossFadeEnabled() && Skinned()) {
    if (MorphTimer) return;
    MorphTimer.Start(20, [this](TObject*) { MorphStep(); });
  } else {
    Invalidate();
  }
}

void TspSkinCheckRadioBox::StopMorph() {
  MorphTimer.Stop();
}

void TspSkinCheckRadioBox::MorphStep() {
  const bool Active = FMouseIn || IsFocused();
  if (!Skinned() || !CrossFadeEnabled()) {
    FMorphKf = Active ? 1 : 0;
    StopMorph();
    return;
  }
  if (!MorphTick(FMorphKf, Active)) StopMorph();
  Repaint();
}

// --- skin

void TspSkinCheckRadioBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (!Skinned()) {
    Morphing = false;
    FMorphKf = 0;
    return;
  }
  auto* D = dynamic_cast<TspDataSkinCheckRadioControl*>(SkinDescription());
  if (!D) return;
  FontName = D->FontName;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  FrameFontColor = D->FrameFontColor;
  UnEnabledFontColor = D->UnEnabledFontColor;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  ActiveSkinRect = RectIsEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  CheckImageArea = D->CheckImageArea;
  TextArea = D->TextArea;
  CheckImageRect = D->CheckImageRect;
  UnCheckImageRect = D->UnCheckImageRect;
  ActiveCheckImageRect = RectIsEmpty(D->ActiveCheckImageRect) ? CheckImageRect : D->ActiveCheckImageRect;
  ActiveUnCheckImageRect = RectIsEmpty(D->ActiveUnCheckImageRect) ? UnCheckImageRect : D->ActiveUnCheckImageRect;
  UnEnabledCheckImageRect = RectIsEmpty(D->UnEnabledCheckImageRect) ? CheckImageRect : D->UnEnabledCheckImageRect;
  UnEnabledUnCheckImageRect =
      RectIsEmpty(D->UnEnabledUnCheckImageRect) ? UnCheckImageRect : D->UnEnabledUnCheckImageRect;
  GrayedCheckImageRect = D->GrayedCheckImageRect;
  ActiveGrayedCheckImageRect = D->ActiveGrayedCheckImageRect;
  Morphing = D->Morphing;
  MorphKind = D->MorphKind;
  if (FFlat) {
    Morphing = false;
    MaskPicture = nullptr;
  }
}

void TspSkinCheckRadioBox::ChangeSkinData() {
  if (FFlat) {
    // A flat box keeps its size.
    GetSkinData();
    Repaint();
    return;
  }
  StopMorph();
  TspSkinCustomControl::ChangeSkinData();
  if (CrossFadeEnabled() && Skinned() && (FMouseIn || IsFocused())) FMorphKf = 1;
}

void TspSkinCheckRadioBox::CheckParentBackground() {
  if (FFlat) Repaint();
}

void TspSkinCheckRadioBox::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  if (FFlat) return;
  TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
  const Integer dW = AWidth - SkinRect.Width();
  NewTextArea = TRect(TextArea.Left, TextArea.Top, TextArea.Right + dW, TextArea.Bottom);
  TRect Area = CheckImageArea;
  if (TextArea.Right < CheckImageArea.Right) Area = TRect(Area.Left + dW, Area.Top, Area.Right + dW, Area.Bottom);
  const Integer IW = CheckImageRect.Width(), IH = CheckImageRect.Height();
  const Integer L = Area.Width() / 2 + Area.Left - IW / 2;
  const Integer T = Area.Height() / 2 + Area.Top - IH / 2;
  CIRect = TRect(L, T, L + IW, T + IH);
}

// --- painting

void TspSkinCheckRadioBox::DrawStateImage(TCanvas* C, Integer X, Integer Y) {
  const bool Grayed = FState == cbGrayed;
  const TRect* R = nullptr;
  switch (ChooseCheckImage(Enabled(), FMouseIn, FChecked, Grayed)) {
    case ciCheck: R = &CheckImageRect; break;
    case ciUnCheck: R = &UnCheckImageRect; break;
    case ciActiveCheck: R = &ActiveCheckImageRect; break;
    case ciActiveUnCheck: R = &ActiveUnCheckImageRect; break;
    case ciUnEnabledCheck: R = &UnEnabledCheckImageRect; break;
    case ciUnEnabledUnCheck: R = &UnEnabledUnCheckImageRect; break;
  }
  if (!Grayed) {
    DrawSkinStateImage(C, Picture, *R, X, Y);
    return;
  }
  if (!RectIsEmpty(GrayedCheckImageRect)) {
    const bool Active = FMouseIn && !RectIsEmpty(ActiveGrayedCheckImageRect);
    DrawSkinStateImage(C, Picture, Active ? ActiveGrayedCheckImageRect : GrayedCheckImageRect, X, Y);
    return;
  }
  // No grayed picture: the state's image lightened halfway to white.
  if (!Picture || RectIsEmpty(*R)) return;
  auto B = NewSkinBitmap(R->Width(), R->Height());
  B->Canvas()->CopyRect(TRect(0, 0, R->Width(), R->Height()), Picture->Canvas(), *R);
  auto E = SkinEffectOf(B.get());
  E->ChangeBrightness(0.5);
  E->Draw(B->Canvas()->Handle(), 0, 0);
  B->SetTransparentMode(tmAuto);
  B->SetTransparent(true);
  C->Draw(X, Y, B.get());
}

void TspSkinCheckRadioBox::SetSkinFont(TCanvas* C) {
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetHeight(FontHeight);
    C->Font()->SetStyle(FontStyle);
  } else {
    AssignFont(C->Font(), FDefaultFont);
  }
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
}

void TspSkinCheckRadioBox::DrawDefaultMark(TCanvas* C) {
  const Integer H = Height();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FMouseIn ? DefaultHotFrame : clBtnShadow);
  C->FrameRect(CheckBoxFrameRect(H));
  C->Pen()->SetColor(clBlack);
  const TPoint CM = CheckMarkPos(H), RD = RadioDotPos(H);
  if (FState == cbGrayed) {
    if (!FRadio) DrawCheckMark(C, CM.X, CM.Y, clGrayText);
  } else if (FChecked) {
    const TColor Mark = Enabled() ? clBlack : clBtnShadow;
    if (FRadio)
      DrawRadioDot(C, RD.X, RD.Y, Mark);
    else
      DrawCheckMark(C, CM.X, CM.Y, Mark);
  }
}

void TspSkinCheckRadioBox::PaintFlat(TBitmap* B, bool SkinnedLook) {
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  PaintParentBackground(this, C);
  if (SkinnedLook) {
    DrawStateImage(C, 3, H / 2 - CheckImageRect.Height() / 2);
    SetSkinFont(C);
  } else {
    AssignFont(C->Font(), FDefaultFont);
    C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  }
  C->Brush()->SetStyle(bsClear);
  const Integer Left = SkinnedLook ? CheckImageRect.Width() + 7 : FlatCheckTextLeft;
  const Integer Gap = SkinnedLook ? 8 : 5;
  const String Caption = Text();
  const bool HasImage = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
  TRect T, WR;
  if (!FWordWrap) {
    RECT M{0, 0, 0, 0};
    if (!Caption.empty())
      DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Caption.c_str()), Integer(Caption.size()), &M,
                DT_CALCRECT | DT_SINGLELINE);
    T = FlatCheckTextRect(Left, M.right - M.left, M.bottom - M.top, W, H);
  } else {
    RECT M{Left + (HasImage ? FImages->Width() : 0), 0, W, H};
    DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Caption.c_str()), Integer(Caption.size()), &M,
              DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    const Integer WH = M.bottom - M.top;
    const Integer Top = IntMax(0, H / 2 - WH / 2);
    WR = TRect(M.left, Top, M.right, Top + WH);
    T = TRect(Left, 0, W + Left, H);
    if (T.Right > W - 2) T.Right = W - 2;
  }
  TRect ImageRect;
  if (HasImage) {
    const Integer IY = H / 2 - FImages->Height() / 2;
    FImages->Draw(C, T.Left, IY, FImageIndex, Enabled());
    ImageRect = TRect(T.Left, IY, T.Left + FImages->Width(), IY + FImages->Height());
    T = TRect(T.Left + FImages->Width() + Gap, T.Top, T.Right + FImages->Width() + Gap, T.Bottom);
  }
  if (SkinnedLook) {
    if (!FUseSkinFontColor)
      C->Font()->SetColor(FDefaultFont->Color());
    else
      C->Font()->SetColor(Enabled() ? FrameFontColor : UnEnabledFontColor);
  } else if (!Enabled()) {
    C->Font()->SetColor(clBtnShadow);
  }
  C->Brush()->SetStyle(bsClear);
  if (FWordWrap) {
    RECT R{WR.Left, WR.Top, WR.Right, WR.Bottom};
    DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Caption.c_str()), Integer(Caption.size()), &R,
              DT_EXPANDTABS | DT_WORDBREAK);
  } else {
    DrawVCenteredText(C, Caption, T);
  }
  if (!SkinnedLook) DrawDefaultMark(C);
  if (IsFocused()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(SkinnedLook ? FSD->SkinColors()->cBtnFace() : clBtnFace);
    if (!Caption.empty())
      DrawDottedFocusRect(C, FWordWrap ? TRect(WR.Left - 2, WR.Top - 1, WR.Right + 2, WR.Bottom + 1) : CheckFocusRect(T));
    else if (HasImage)
      DrawDottedFocusRect(C, TRect(ImageRect.Left - 1, ImageRect.Top - 1, ImageRect.Right + 1, ImageRect.Bottom + 1));
  }
}

void TspSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  if (IsFocused() || FMouseIn) {
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(TRect(0, 0, W, H));
  }
  AssignFont(C->Font(), FDefaultFont);
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetStyle(bsClear);
  DrawVCenteredText(C, Text(), TRect(19, 0, W, H));
  DrawDefaultMark(C);
}

void TspSkinCheckRadioBox::ComposeFramed(TBitmap* B, const TRect& R, bool Active) {
  CreateSkinImage(B, Picture, R);
  TCanvas* C = B->Canvas();
  DrawStateImage(C, CIRect.Left, CIRect.Height() / 2 + CIRect.Top - CheckImageRect.Height() / 2);
  SetSkinFont(C);
  C->Font()->SetColor(!Enabled() ? UnEnabledFontColor : (Active ? ActiveFontColor : FontColor));
  C->Brush()->SetStyle(bsClear);
  DrawVCenteredText(C, Text(), NewTextArea);
}

void TspSkinCheckRadioBox::Paint() {
  GetSkinData();
  if (Width() < 1 || Height() < 1) return;
  if (FFlat) {
    auto B = NewSkinBitmap(Width(), Height());
    PaintFlat(B.get(), Skinned());
    Canvas()->Draw(0, 0, B.get());
    return;
  }
  if (!Skinned()) {
    TspSkinCustomControl::Paint();
    return;
  }
  RefreshSkinGeometry();
  auto B = NewSkinBitmap(Width(), Height());
  if (CrossFadeEnabled() && MorphInProgress(FMorphKf)) {
    auto B2 = NewSkinBitmap(Width(), Height());
    ComposeFramed(B.get(), SkinRect, false);
    ComposeFramed(B2.get(), ActiveSkinRect, true);
    DrawMorphedSkinImage(this, Canvas(), B.get(), B2.get(), FMorphKf, MorphKind, FAlphaBlend, FAlphaBlendValue);
    return;
  }
  const bool Active = FMouseIn || IsFocused();
  ComposeFramed(B.get(), Active ? ActiveSkinRect : SkinRect, Active);
  DrawSkinImage(this, Canvas(), B.get(), FAlphaBlend, FAlphaBlendValue);
}

// --- input

void TspSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) FDown = true;
  if (!FMouseIn) {
    FMouseIn = true;
    HotStateChanged();
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinCheckRadioBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive || !FDown) return;
  const bool Outside = X < 0 || Y < 0 || X > Width() || Y > Height();
  if (Outside && FMouseIn)
    Perform(CM_MOUSELEAVE, 0, 0);
  else if (!Outside && !FMouseIn)
    Perform(CM_MOUSEENTER, 0, 0);
}

void TspSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft) return;
  const bool Toggles = FMouseIn && FDown;
  FDown = false;
  if (!Toggles) return;
  if (FAllowGrayed && !FRadio && FState == cbUnchecked) {
    FState = cbGrayed;
    Repaint();
    Fire(OnClick, this);
  } else {
    Toggle();
  }
}

void TspSkinCheckRadioBox::WndProc(TMessage& M) {
  if (FCanFocused) {
    auto Alive = LivenessToken();
    switch (M.Msg) {
      case WM_KEYUP:
        if (LOWORD(M.WParam) == VK_SPACE && Focused()) {
          Toggle();
          if (!*Alive) return;
        }
        break;
    }
    if (!FocusBeforePress(M, FClicksDisabled, false)) return;
  }
  TspSkinCustomControl::WndProc(M);
}

void TspSkinCheckRadioBox::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_MOVE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) Invalidate();
      return;
    case WM_ERASEBKGND:
      if (!FromWMPaint && !FFlat && M.WParam) PaintContentTo(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && FCanFocused) HotStateChanged();
      return;
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (CrossFadeEnabled()) {
        StopMorph();
        FMorphKf = 0;
      }
      FMouseIn = false;
      Repaint();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(Word(M.WParam), Text()) && CanFocus() && FCanFocused) {
        SetFocus();
        if (!*Alive) return;
        Toggle();
        M.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
      if (Skinned() || FDrawDefault) Repaint();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      FMouseIn = M.Msg == CM_MOUSEENTER;
      HotStateChanged();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
