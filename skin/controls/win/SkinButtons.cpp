// The push button and the menu button.
#include "skin/controls/win/SkinButtons.h"

#include "classlib/Forms.h"
#include "skin/data/win/SPUtils.h"

// ---------------------------------------------------------------------------
// Shared button painting

void DrawButtonContent(TCanvas* Canvas, const TRect& R, const TspButtonContent& C, Integer GlyphNum, bool Pressed) {
  TspImagesMenuItem* Item = C.ImagesMenu ? C.ImagesMenu->GetSelectedItem() : nullptr;
  if (Item && C.UseImagesMenuImage) {
    DrawImageAndText(Canvas, R, C.Margin, C.Spacing, C.Layout, C.UseImagesMenuCaption ? Item->Caption() : C.Caption,
                     Item->ImageIndex(), C.ImagesMenu->Images(), Pressed, C.Enabled, C.DrawColorMarker,
                     C.ColorMarkerValue);
  } else if (C.ImageList && (!C.ImageListNeedsEmptyGlyph || !C.Glyph || C.Glyph->Empty()) && C.ImageIndex >= 0 &&
             C.ImageIndex < C.ImageList->Count()) {
    DrawImageAndText(Canvas, R, C.Margin, C.Spacing, C.Layout, C.Caption, C.ImageIndex, C.ImageList, Pressed,
                     C.Enabled, C.DrawColorMarker, C.ColorMarkerValue);
  } else {
    DrawGlyphAndText(Canvas, R, C.Margin, C.Spacing, C.Layout, C.Caption, C.Glyph, C.NumGlyphs, GlyphNum, Pressed,
                     C.DrawColorMarker, C.ColorMarkerValue);
  }
}

void DrawMenuMarkerPicture(TCanvas* Canvas, const TRect& R, TBitmap* Picture, const TRect& Rect,
                           TColor TransparentColor) {
  if (!Picture || RectIsEmpty(Rect)) return;
  auto B = NewSkinBitmap(Rect.Width(), Rect.Height());
  B->Canvas()->CopyRect(TRect(0, 0, Rect.Width(), Rect.Height()), Picture->Canvas(), Rect);
  B->SetTransparentMode(tmFixed);
  B->SetTransparentColor(TransparentColor);
  B->SetTransparent(true);
  Canvas->Draw(R.Left + R.Width() / 2 - Rect.Width() / 2, R.Top + R.Height() / 2 - Rect.Height() / 2, B.get());
}

void DrawToolFacePiece(TCanvas* Dest, Integer X, Integer Y, Integer W, Integer H, TspToolFaceStyle Style,
                       const TspSkinGeometry& G, TBitmap* Picture, const TRect& Rect) {
  if (!Picture || RectIsEmpty(Rect) || W <= 0 || H <= 0) return;
  auto B = NewSkinBitmap(W, H);
  if (Style == tfsClientStretch) {
    CreateClientStretchImage(B.get(), Picture, Rect, G.ClRect, true);
  } else {
    TspSkinGeometry P = G;
    P.ResizeMode = 1;
    Integer PW = W, PH = H;
    ::CalcSkinSize(P, true, PW, PH);
    CreateNineSliceImage(P.LTPt, P.RTPt, P.LBPt, P.RBPt, P.ClRect, P.NewLTPoint, P.NewRTPoint, P.NewLBPoint,
                         P.NewRBPoint, P.NewClRect, B.get(), Picture, Rect, W, H, true, P.LeftStretch, P.TopStretch,
                         P.RightStretch, P.BottomStretch, P.StretchEffect, P.StretchType);
  }
  Dest->Draw(X, Y, B.get());
}

// ---------------------------------------------------------------------------
// TspSkinButton

TspSkinButton::TspSkinButton(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FLayerManager(new TspLayerManager(nullptr)), FGlyph(new TBitmap()) {
  FSkinDataName = u"button";
  SetBounds(Left(), Top(), 75, 25);
}

TspSkinButton::~TspSkinButton() {
  delete FLayerManager;
  delete FGlyph;
  StopMorph();
  StopRepeat();
  StopAnimate();
}

void TspSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
  if (AComponent == FImageList) FImageList = nullptr;
}

bool TspSkinButton::IsFocused() { return FCanFocused && Focused(); }

// --- properties

void TspSkinButton::SetCheckedMode(bool Value) {
  if (FCheckedMode == Value) return;
  FCheckedMode = Value;
  if (Value)
    SetGroupIndex(-1);
  else if (FGroupIndex == -1)
    SetGroupIndex(0);
}

void TspSkinButton::SetImageList(TCustomImageList* Value) {
  if (FImageList == Value) return;
  if (FImageList) FImageList->RemoveFreeNotification(this);
  FImageList = Value;
  if (FImageList) FImageList->FreeNotification(this);
  Repaint();
}

void TspSkinButton::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Repaint();
}

void TspSkinButton::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinButton::SetGroupIndex(Integer Value) {
  FGroupIndex = Value;
  if (Value != 0) SetCanFocused(false);
}

void TspSkinButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinButton::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value < 1 ? 1 : (Value > 4 ? 4 : Value);
  Repaint();
}

void TspSkinButton::SetMargin(Integer Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Repaint();
}

void TspSkinButton::SetSpacing(Integer Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Repaint();
}

void TspSkinButton::SetLayout(TspButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Repaint();
}

void TspSkinButton::SetDefault(bool Value) {
  FDefault = Value;
  if (HandleAllocated() && FCanFocused)
    if (TCustomForm* F = GetParentForm(this))
      F->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(F->ActiveControl())));
}

void TspSkinButton::SetDown(bool Value) {
  FDown = Value;
  if (MorphPossible()) {
    FMorphKf = 1;
    if (Value)
      StopMorph();
    else
      StartMorph();
  }
  Repaint();
  if (FGroupIndex > 0 && FDown && !FAllowAllUp && Parent()) {
    for (Integer I = 0; I < Parent()->ControlCount(); ++I) {
      auto* B = dynamic_cast<TspSkinButton*>(Parent()->Controls(I));
      if (B && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
    }
  }
}

void TspSkinButton::RefreshButton() {
  FMouseIn = false;
  FDown = false;
  if (MorphPossible()) FMorphKf = 0;
  if (SkinEffectsOn()) StopAnimate();
  Repaint();
}

void TspSkinButton::ButtonClick() {
  if (FCanFocused)
    if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(FModalResult);
  Fire(OnClick, this);
}

// --- timers

void TspSkinButton::UpdateLook() {
  if (MorphPossible() && Skinned())
    StartMorph();
  else
    Repaint();
}

void TspSkinButton::StartMorph() {
  if (MorphTimer) return;
  MorphTimer.Start(20, [this](TObject*) { MorphStep(); });
}

void TspSkinButton::StopMorph() {
  MorphTimer.Stop();
}

void TspSkinButton::MorphStep() {
  const bool Active = FMouseIn || IsFocused();
  if (FStopAnimate && IsFocused() && MorphPossible()) {
    FStopAnimate = false;
    FMorphKf = 1;
    StopMorph();
    Repaint();
    return;
  }
  if (Skinned() && MorphPossible()) {
    if (!MorphTick(FMorphKf, Active)) StopMorph();
    Repaint();
  } else {
    FMorphKf = Active ? 1 : 0;
    StopMorph();
  }
}

void TspSkinButton::StartAnimate(bool Forward) {
  // No animation without a usable strip: the static images stand.
  if (!Skinned() || !SkinEffectsOn() || !FrameAnimationUsable(AnimateSkinRect, FrameCount, AnimateInterval)) return;
  StopAnimate();
  AnimateInc = Forward;
  CurrentFrame = Forward ? 1 : FrameCount;
  AnimateTimer.Start(Cardinal(AnimateInterval), [this](TObject*) { AnimateStep(); });
}

void TspSkinButton::StopAnimate() {
  AnimateTimer.Stop();
  CurrentFrame = 0;
}

void TspSkinButton::AnimateStep() {
  bool Moved = false;
  const bool Going = AnimationTick(CurrentFrame, AnimateInc, FrameCount, Moved);
  if (Moved) Repaint();
  if (!Going) StopAnimate();
}

void TspSkinButton::StartRepeat() {
  StopRepeat();
  // The first click after 500 ms, then one every RepeatInterval.
  RepeatTimer.Start(500, [this](TObject*) {
    if (RepeatTimer.Interval() != Cardinal(FRepeatInterval)) RepeatTimer.SetInterval(Cardinal(FRepeatInterval));
    ButtonClick();
  });
}

void TspSkinButton::StopRepeat() {
  RepeatTimer.Stop();
}

// --- glow

void TspSkinButton::ShowLayer() {
  if (!FSD || FSD->Empty || !IsWin2000OrLater()) return;
  if (!(FSD->ShowButtonGlowFrames() || FAlwaysShowGlowFrame) || GlowLayerPictureIndex == -1) return;
  TBitmap* Img = SkinPicture(GlowLayerPictureIndex);
  if (!Img || Img->Empty()) return;
  TBitmap* Mask = SkinPicture(GlowLayerMaskPictureIndex);
  TCustomForm* F = GetParentForm(this);
  FLayerManager->SetTopMostMode(F && F->FormStyle() == fsStayOnTop);
  TspScratchBitmap RImg, RMask;
  auto Resized = [&](TBitmap* Src, TspScratchBitmap& Out) -> TBitmap* {
    if (!Src) return nullptr;
    const TRect Whole(0, 0, Src->Width(), Src->Height());
    if (ResizeMode == 1) {
      Out = NewSkinBitmap(Src->Width() + Width() - SkinRect.Width(), Src->Height() + Height() - SkinRect.Height());
      CreateClientStretchImage(Out.get(), Src, Whole,
                               TRect(GlowLayerOffsetLeft, GlowLayerOffsetTop, Src->Width() - GlowLayerOffsetRight,
                                     Src->Height() - GlowLayerOffsetBottom),
                               true);
    } else {
      Out = NewSkinBitmap(1, 1);
      CreateHorzThreeSliceImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, Out.get(), Src, Whole,
                                Src->Width() + Width() - SkinRect.Width(), Src->Height(), true);
    }
    return Out.get();
  };
  TBitmap* GlowImg = Img;
  TBitmap* GlowMask = Mask;
  if (ResizeMode == 1 || (ResizeMode == 2 && FUseSkinSize)) {
    GlowImg = Resized(Img, RImg);
    GlowMask = Resized(Mask, RMask);
  } else if (ResizeMode != 0) {
    return;
  }
  if (!GlowImg || GlowImg->Empty()) return;
  const TPoint P = ClientToScreen(TPoint(0, 0));
  FLayerManager->Show(P.X - GlowLayerShowOffsetX, P.Y - GlowLayerShowOffsetY, GlowImg, GlowMask,
                      GlowLayerAlphaBlendValue);
}

void TspSkinButton::HideLayer() {
  if (FLayerManager->IsVisible()) FLayerManager->Hide();
}

// --- skin

void TspSkinButton::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (!Skinned()) {
    Morphing = false;
    AnimateSkinRect = TRect();
    return;
  }
  if (auto* D = dynamic_cast<TspDataSkinButtonControl*>(SkinDescription())) {
    if (!FUseSkinSize) MaskPicture = nullptr;  // a button of free size has no region
    FontName = D->FontName;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    DownFontColor = D->DownFontColor;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    ActiveSkinRect = RectIsEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    DownSkinRect = RectIsEmpty(D->DownSkinRect) ? ActiveSkinRect : D->DownSkinRect;
    Morphing = D->Morphing;
    MorphKind = D->MorphKind;
    DisabledSkinRect = D->DisabledSkinRect;
    FocusedSkinRect = D->FocusedSkinRect;
    DisabledFontColor = D->DisabledFontColor == D->FontColor ? clGray : D->DisabledFontColor;
    AnimateSkinRect = D->AnimateSkinRect;
    FrameCount = D->FrameCount;
    AnimateInterval = D->AnimateInterval;
    ShowFocus = D->ShowFocus;
    MenuMarkerRect = D->MenuMarkerRect;
    MenuMarkerActiveRect = RectIsEmpty(D->MenuMarkerActiveRect) ? MenuMarkerRect : D->MenuMarkerActiveRect;
    MenuMarkerDownRect = RectIsEmpty(D->MenuMarkerDownRect) ? MenuMarkerActiveRect : D->MenuMarkerDownRect;
    MenuMarkerFlatRect = D->MenuMarkerFlatRect;
    MenuMarkerTransparentColor = D->MenuMarkerTransparentColor;
    GlowLayerPictureIndex = D->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = D->GlowLayerMaskPictureIndex;
    GlowLayerOffsetLeft = D->GlowLayerOffsetLeft;
    GlowLayerOffsetRight = D->GlowLayerOffsetRight;
    GlowLayerOffsetTop = D->GlowLayerOffsetTop;
    GlowLayerOffsetBottom = D->GlowLayerOffsetBottom;
    GlowLayerShowOffsetX = D->GlowLayerShowOffsetX;
    GlowLayerShowOffsetY = D->GlowLayerShowOffsetY;
    GlowLayerAlphaBlendValue = D->GlowLayerAlphaBlendValue;
  }
  if (SkinEffectsOn() && AnimateTimer && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    const TRect Frame = AnimationFrameRect(AnimateSkinRect, SkinRect, FrameCount, CurrentFrame);
    if (AnimateInc)
      ActiveSkinRect = Frame;
    else
      SkinRect = Frame;
  }
}

void TspSkinButton::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1)
    TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
  else
    NewClRect = FreeSizeClientRect(ClRect, SkinRect, AWidth, AHeight);
}

void TspSkinButton::ChangeSkinData() {
  StopMorph();
  StopAnimate();
  FMorphKf = 0;
  TspSkinCustomControl::ChangeSkinData();
  if (MorphPossible() && Skinned() && (IsFocused() || FMouseIn)) FMorphKf = 1;
  if (FMouseIn && HandleAllocated()) PostMessageW(Handle(), SP_SHOW_GLOW_FRAME, 0, 0);
}

void TspSkinButton::BeforeChangeSkinData() {
  TspSkinCustomControl::BeforeChangeSkinData();
  HideLayer();
}

// --- painting

TspButtonContent TspSkinButton::Content() {
  TspButtonContent C;
  C.Caption = Text();
  C.Margin = FMargin;
  C.Spacing = FSpacing;
  C.Layout = FLayout;
  C.ImagesMenu = FSkinImagesMenu;
  C.UseImagesMenuImage = FUseImagesMenuImage;
  C.UseImagesMenuCaption = FUseImagesMenuCaption;
  C.ImageList = FImageList;
  C.ImageIndex = FImageIndex;
  C.Glyph = FGlyph;
  C.NumGlyphs = FNumGlyphs;
  C.Enabled = Enabled();
  return C;
}

void TspSkinButton::SetStateFont(TCanvas* C, bool ADown, bool AMouseIn) {
  TFont* F = C->Font();
  if (FUseSkinFont) {
    F->SetName(FontName);
    F->SetHeight(FontHeight);
    F->SetStyle(FontStyle);
  } else {
    AssignFont(F, FDefaultFont);
  }
  F->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  if (Enabled() && !FUseSkinFontColor)
    F->SetColor(FDefaultFont->Color());
  else if (!Enabled())
    F->SetColor(DisabledFontColor);
  else if (ADown && AMouseIn)
    F->SetColor(DownFontColor);
  else if (AMouseIn)
    F->SetColor(ActiveFontColor);
  else
    F->SetColor(FontColor);
}

void TspSkinButton::CreateStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  TRect TextArea = NewClRect;
  if (FUseSkinSize || ResizeMode == 1) {
    CreateSkinImage(B, Picture, R);
  } else if (Picture && !RectIsEmpty(R)) {
    if (ResizeMode == 0)
      B->Canvas()->CopyRect(TRect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
    else if (ResizeMode == 2 || ResizeMode == 3)
      CreateClientStretchImage(B, Picture, R, ClRect, true);
    TextArea = FreeSizeClientRect(ClRect, R, B->Width(), B->Height());
  }
  TCanvas* C = B->Canvas();
  SetStateFont(C, ADown, AMouseIn);
  if (ShowFocus && Focused()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawDottedFocusRect(C, TextArea);
    C->Brush()->SetStyle(bsClear);
  }
  bool DrawDefault = true;
  auto Alive = LivenessToken();
  Fire(OnPaint, this, C, TextArea, ADown, AMouseIn, DrawDefault);
  if (!*Alive || !DrawDefault) return;
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TextArea, Content(), ButtonGlyphNumber(ADown, AMouseIn, Enabled(), FNumGlyphs), false);
}

void TspSkinButton::CreateControlDefaultImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  AssignFont(C->Font(), FDefaultFont);
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  const TRect R(0, 0, Width(), Height());
  const bool Pressed = FDown && (FGroupIndex != 0 || FMouseIn || (IsFocused() && !FMouseDown));
  if (Pressed)
    FillFramedRect(C, R, DefaultHotFrame, DefaultDownFace);
  else if (FMouseIn || IsFocused())
    FillFramedRect(C, R, DefaultHotFrame, DefaultHotFace);
  else
    FillFramedRect(C, R, clBtnShadow, clBtnFace);
  bool DrawDefault = true;
  auto Alive = LivenessToken();
  Fire(OnPaint, this, C, R, FDown, FMouseIn, DrawDefault);
  if (!*Alive || !DrawDefault) return;
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, R, Content(), ButtonGlyphNumber(FDown, FMouseIn, Enabled(), FNumGlyphs), false);
}

void TspSkinButton::Paint() {
  GetSkinData();
  if (!Skinned()) {
    TspSkinCustomControl::Paint();
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  RefreshSkinGeometry();
  auto B = NewSkinBitmap(Width(), Height());
  if (MorphPossible() && MorphInProgress(FMorphKf) && Enabled()) {
    auto B2 = NewSkinBitmap(Width(), Height());
    CreateStateImage(B.get(), SkinRect, false, false);
    CreateStateImage(B2.get(), ActiveSkinRect, false, true);
    DrawMorphedSkinImage(this, Canvas(), B.get(), B2.get(), FMorphKf, MorphKind, FAlphaBlend, FAlphaBlendValue);
    return;
  }
  TspPushButtonLook L;
  L.Enabled = Enabled();
  L.HasDisabledRect = !RectIsEmpty(DisabledSkinRect);
  L.Focused = IsFocused();
  L.PressedLook = FDown && (FGroupIndex != 0 || FMouseIn || (L.Focused && !FMouseDown));
  L.HasFocusedRect = !RectIsEmpty(FocusedSkinRect);
  L.AnimationRunning = AnimateTimer.Running();
  L.MouseIn = FMouseIn;
  L.MorphPossible = MorphPossible();
  L.MorphKf = FMorphKf;
  switch (ChoosePushButtonImage(L)) {
    case biDisabled: CreateStateImage(B.get(), DisabledSkinRect, false, false); break;
    case biDown: CreateStateImage(B.get(), DownSkinRect, true, true); break;
    case biFocused: CreateStateImage(B.get(), FocusedSkinRect, false, true); break;
    case biActive: CreateStateImage(B.get(), ActiveSkinRect, false, true); break;
    default: CreateStateImage(B.get(), SkinRect, false, false); break;
  }
  DrawSkinImage(this, Canvas(), B.get(), FAlphaBlend, FAlphaBlendValue);
}

// --- mouse

void TspSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft) return;
  StopAnimate();
  FMouseDown = true;
  if (!FDown) {
    FMouseIn = true;
    SetDown(true);
    if (FCheckedMode) {
      FStopMouseUp = true;
      ButtonClick();
    } else if (FRepeatMode && FGroupIndex == 0) {
      StartRepeat();
    } else if (FGroupIndex != 0) {
      ButtonClick();
    }
    if (!*Alive) return;
    FAllowAllUpCheck = false;
  } else if (FGroupIndex != 0) {
    FAllowAllUpCheck = true;
  }
}

void TspSkinButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive || !FDown) return;
  const bool Outside = X < 0 || Y < 0 || X > Width() || Y > Height();
  // The capture hides the system's own enter and leave notices.
  if (Outside && FMouseIn)
    Perform(CM_MOUSELEAVE, 0, 0);
  else if (!Outside && !FMouseIn)
    Perform(CM_MOUSEENTER, 0, 0);
}

void TspSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (Button == mbLeft) {
    FMouseDown = false;
    if (FCheckedMode) {
      if (FStopMouseUp) {
        FStopMouseUp = false;
      } else {
        SetDown(false);
        ButtonClick();
      }
    } else if (FGroupIndex == 0) {
      if (FMouseIn) {
        const bool WasDown = FDown;
        SetDown(false);
        StopRepeat();
        if (WasDown) ButtonClick();
      } else {
        FDown = false;
        StopRepeat();
      }
    } else if (FDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
      SetDown(false);
      ButtonClick();
    }
  }
  // A click handler may have freed the button (and its form).
  if (*Alive && Visible()) TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinButton::MouseEntered() {
  FMouseIn = true;
  const bool Focused = IsFocused();
  if ((FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!Focused || FDown))) {
    if (FDown) {
      if (MorphPossible()) FMorphKf = 1;
      Repaint();
    } else {
      StartAnimate(true);
      UpdateLook();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
  if (HandleAllocated()) PostMessageW(Handle(), SP_SHOW_GLOW_FRAME, 0, 0);
}

void TspSkinButton::MouseLeft() {
  const bool Focused = IsFocused();
  // A default button stays hot while the focus is on a control that is no button.
  if (!(FCanFocused && FDefault && FActive && !Focused)) FMouseIn = false;
  if ((FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!Focused || FDown))) {
    StartAnimate(false);
    UpdateLook();
  }
  if (FDown && FRepeatMode && RepeatTimer && FGroupIndex == 0) StopRepeat();
  if (HandleAllocated()) PostMessageW(Handle(), SP_HIDE_GLOW_FRAME, 0, 0);
}

// --- window procedure and messages

void TspSkinButton::CreateWnd() {
  TspSkinCustomControl::CreateWnd();
  FActive = FDefault;
}

void TspSkinButton::WndProc(TMessage& M) {
  if (FCanFocused) {
    auto Alive = LivenessToken();
    switch (M.Msg) {
      case WM_KEYDOWN:
        if (M.WParam == VK_SPACE && FSpaceSupport) {
          SetDown(true);
          if (FRepeatMode) ButtonClick();
        } else if (M.WParam == VK_RETURN) {
          ButtonClick();
        }
        if (!*Alive) return;
        break;
      case WM_KEYUP:
        if (M.WParam == VK_SPACE && FSpaceSupport) {
          SetDown(false);
          ButtonClick();
          if (!*Alive) return;
        }
        break;
    }
    if (!FocusBeforePress(M, FClicksDisabled, false)) return;
  }
  TspSkinCustomControl::WndProc(M);
}

void TspSkinButton::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_ERASEBKGND:
      // An erase from outside our paint (a see-through child asking its
      // parent) gets the button's image.
      if (!FromWMPaint && M.WParam) PaintContentTo(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_SETFOCUS:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (FCanFocused) {
        StartAnimate(true);
        UpdateLook();
      }
      return;
    case WM_KILLFOCUS:
      StopRepeat();
      if (FDown && FGroupIndex == 0) FDown = false;
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (FCanFocused) {
        StartAnimate(false);
        if (MorphPossible() && Skinned())
          StartMorph();
        else
          Invalidate();
      }
      return;
    case CM_DIALOGKEY: {
      const bool Enter = M.WParam == VK_RETURN && FActive && Enabled();
      const bool Escape = M.WParam == VK_ESCAPE && FCancel && FCanFocused && KeyDataToShiftState(M.LParam) == 0 &&
                          CanFocus();
      if (Enter || Escape) {
        ButtonClick();
        M.Result = 1;
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(Word(M.WParam), Text()) && CanFocus() && FCanFocused) {
        SetFocus();
        if (!*Alive) return;
        ButtonClick();
        M.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* Sender = reinterpret_cast<TControl*>(M.LParam);
      auto* SB = dynamic_cast<TspSkinButton*>(Sender);
      FActive = SB ? SB == this : FDefault;
      if (FCanFocused && FDefault) {
        if (SB && SB != this) {
          FMouseIn = false;
          UpdateLook();
        } else if (!SB && Sender != this) {
          FMouseIn = true;
          if (MorphPossible()) FMorphKf = 1;
          Repaint();
        }
      }
      break;
    }
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (MorphPossible()) {
        StopMorph();
        FMorphKf = 0;
      }
      FMouseIn = false;
      Repaint();
      return;
    case CM_TEXTCHANGED:
      if (Skinned() || FDrawDefault) Repaint();
      return;
    case CM_MOUSEENTER:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) MouseEntered();
      return;
    case CM_MOUSELEAVE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) MouseLeft();
      return;
    case SP_SHOW_GLOW_FRAME:
      ShowLayer();
      return;
    case SP_HIDE_GLOW_FRAME:
      HideLayer();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinMenuButton

TspSkinMenuButton::TspSkinMenuButton(TComponent* AOwner) : TspSkinButton(AOwner) {
  FSkinDataName = u"toolmenubutton";
  FSpaceSupport = false;
}

void TspSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TspSkinMenuButton::SetSkinImagesMenu(TspSkinImagesMenu* Value) {
  if (FSkinImagesMenu && FSkinImagesMenu != Value) FSkinImagesMenu->RemoveFreeNotification(this);
  FSkinImagesMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->OnInternalChange = [this](TObject*) { Repaint(); };
  }
  Repaint();
}

void TspSkinMenuButton::SetSkinPopupMenu(TspSkinPopupMenu* Value) {
  if (FSkinPopupMenu == Value) return;
  if (FSkinPopupMenu) FSkinPopupMenu->RemoveFreeNotification(this);
  FSkinPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMenuButton::SetTrackButtonMode(bool Value) {
  FTrackButtonMode = Value;
  if (!Skinned()) Repaint();
}

void TspSkinMenuButton::GetSkinData() {
  TspSkinButton::GetSkinData();
  if (auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(Skinned() ? SkinDescription() : nullptr))
    TrackButtonRect = D->TrackButtonRect;
}

TRect TspSkinMenuButton::GetTrackRect() {
  return DropDownPartRect(true, TrackButtonRect, CalcResizeMode(), SkinRect, false, Width(), Height());
}

bool TspSkinMenuButton::InMenuArea(Integer X, Integer Y) {
  if (!FSkinPopupMenu && !FSkinImagesMenu) return false;
  if (!FTrackButtonMode) return true;
  const bool OwnPart = Skinned() && !IsToolLookName(FSkinDataName);
  const TRect R = OwnPart ? GetTrackRect() : DropDownPartRect(false, TRect(), 0, TRect(), false, Width(), Height());
  return PointWithinRect(R, TPoint(X, Y));
}

void TspSkinMenuButton::DropMenu() {
  auto Alive = LivenessToken();
  const TPoint P = ClientToScreen(TPoint(0, 0));
  const TRect R(P.X, P.Y, P.X + Width(), P.Y + Height());
  bool Shown = false;
  if (FSkinPopupMenu) {
    Fire(OnShowTrackMenu, this);
    if (!*Alive) return;
    if (FSkinPopupMenu) Shown = FSkinPopupMenu->PopupFromRect2(this, R, false);
    if (!*Alive) return;
  }
  if (FSkinImagesMenu) {
    Fire(OnShowTrackMenu, this);
    if (!*Alive || !FSkinImagesMenu) return;
    FSkinImagesMenu->OnInternalMenuClose = [this](TObject*) { MenuClosed(false); };
    Shown = FSkinImagesMenu->PopupFromRect(R) || Shown;
    if (!*Alive) return;
  }
  // No menu could open: nothing will report a close, so the button comes up now.
  if (!Shown && FMenuTracked) {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    Fire(OnHideTrackMenu, this);
    if (*Alive) Repaint();
  }
}

void TspSkinMenuButton::MenuClosed(bool AfterPopup) {
  auto Alive = LivenessToken();
  FMenuTracked = false;
  SetDown(false);
  POINT P{};
  GetCursorPos(&P);
  FMouseIn = HandleAllocated() && WindowFromPoint(P) == Handle();
  Fire(OnHideTrackMenu, this);
  if (!*Alive) return;
  if (!FMouseIn) HideLayer();
  if (AfterPopup)
    Repaint();
  else
    UpdateLook();
}

void TspSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FMenuTracked = InMenuArea(X, Y);
    FMouseIn = true;
    StopAnimate();
    if (FMenuTracked) {
      if (!FDown) SetDown(true);
      DropMenu();
      return;
    }
  }
  TspSkinButton::MouseDown(Button, Shift, X, Y);
}

void TspSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FMenuTracked) return;  // the choice happens in the menu
  TspSkinButton::MouseUp(Button, Shift, X, Y);
}

void TspSkinMenuButton::WndProc(TMessage& M) {
  if (FCanFocused && FSkinPopupMenu) {
    auto Alive = LivenessToken();
    if (M.Msg == WM_KEYDOWN && M.WParam == VK_SPACE && !FTrackButtonMode) {
      FMenuTracked = true;
      SetDown(true);
      DropMenu();
      return;
    }
    if (M.Msg == WM_KEYUP && M.WParam == VK_SPACE && !FMenuTracked) {
      SetDown(false);
      Fire(OnClick, this);
      return;
    }
    (void)Alive;
  }
  TspSkinButton::WndProc(M);
}

void TspSkinMenuButton::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case CM_DIALOGCHAR:
      if (!FTrackButtonMode && (FSkinPopupMenu || FSkinImagesMenu) && IsAccel(Word(M.WParam), Text()) && CanFocus() &&
          FCanFocused) {
        SetFocus();
        if (!*Alive) return;
        FMenuTracked = true;
        SetDown(true);
        DropMenu();
        M.Result = 1;
        return;
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (FMenuTracked) {
        FMouseIn = M.Msg == CM_MOUSEENTER;
        return;
      }
      break;
    case FEM_MENU_CLOSED:
      MenuClosed(true);
      return;
  }
  TspSkinButton::Dispatch(M);
}

void TspSkinMenuButton::CreateStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  if (FSkinDataName == u"toolbutton" || FSkinDataName == u"bigtoolbutton") {
    CreateToolStateImage(B, tfsClientStretch, ADown, AMouseIn);
    return;
  }
  if (FSkinDataName == u"resizebutton" || FSkinDataName == u"resizetoolbutton") {
    CreateToolStateImage(B, tfsNineSlice, ADown, AMouseIn);
    return;
  }
  if (FMenuTracked && FTrackButtonMode && !RectIsEmpty(TrackButtonRect) && !RectIsEmpty(DownSkinRect)) {
    TspSkinButton::CreateStateImage(B, ActiveSkinRect, false, true);
    if (Picture) {
      const TRect Src(TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
                      TrackButtonRect.Right + DownSkinRect.Left, TrackButtonRect.Bottom + DownSkinRect.Top);
      B->Canvas()->CopyRect(GetTrackRect(), Picture->Canvas(), Src);
    }
    return;
  }
  TspSkinButton::CreateStateImage(B, R, ADown, AMouseIn);
}

void TspSkinMenuButton::CreateToolStateImage(TBitmap* B, TspToolFaceStyle Style, bool ADown, bool AMouseIn) {
  (void)ADown;
  (void)AMouseIn;
  const Integer W = Width(), H = Height(), Part = DropDownPartSize;
  const TRect Normal = SkinRect;
  const TRect Active = RectIsEmpty(ActiveSkinRect) ? Normal : ActiveSkinRect;
  const TRect Pressed = RectIsEmpty(DownSkinRect) ? Active : DownSkinRect;
  const bool Hot = FMouseIn;
  bool PressedColours = false;
  TCanvas* C = B->Canvas();
  // 1. The face.
  if (FTrackButtonMode) {
    TRect Main = Normal, Arrow = Normal;
    if (FMenuTracked) {
      Main = Active;
      Arrow = Pressed;
    } else if (FDown && Hot) {
      Main = Arrow = Pressed;
      PressedColours = true;
    } else if (Hot) {
      Main = Arrow = Active;
    }
    DrawToolFacePiece(C, 0, 0, W - Part, H, Style, *this, Picture, Main);
    DrawToolFacePiece(C, W - Part, 0, Part, H, Style, *this, Picture, Arrow);
  } else {
    TRect Face = Normal;
    if (FDown && Hot) {
      Face = Pressed;
      PressedColours = true;
    } else if (Hot) {
      Face = Active;
    }
    DrawToolFacePiece(C, 0, 0, W, H, Style, *this, Picture, Face);
    if (Style == tfsNineSlice) {
      TspSkinGeometry G = *this;
      G.ResizeMode = 1;
      Integer GW = W, GH = H;
      ::CalcSkinSize(G, true, GW, GH);
      NewLTPoint = G.NewLTPoint;
      NewRTPoint = G.NewRTPoint;
      NewLBPoint = G.NewLBPoint;
      NewRBPoint = G.NewRBPoint;
      NewClRect = G.NewClRect;
    }
  }
  // 2. Font and focus.
  SetStateFont(C, PressedColours, Hot);
  if (ShowFocus && Focused()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawDottedFocusRect(C, NewClRect);
  }
  // 3. Content beside the drop-down part.
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TRect(0, 0, W - Part, H), Content(), ButtonGlyphNumber(FDown, Hot, Enabled(), FNumGlyphs),
                    false);
  // 4. The marker.
  TRect M(W - Part, 0, W, H);
  if (Style == tfsClientStretch && ((FDown && Hot) || FMenuTracked)) M = TRect(M.Left + 2, 2, M.Right + 2, H + 2);
  if (RectIsEmpty(MenuMarkerRect)) {
    DrawDropDownMark(C, M, FMenuTracked ? DownFontColor : C->Font()->Color());
  } else {
    const bool PressedMark = (FDown && Hot) || FMenuTracked;
    DrawMenuMarkerPicture(C, M, Picture,
                          PressedMark ? MenuMarkerDownRect : (Hot ? MenuMarkerActiveRect : MenuMarkerRect),
                          MenuMarkerTransparentColor);
  }
}

void TspSkinMenuButton::CreateControlDefaultImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height(), Part = DropDownPartSize;
  const bool Hot = FMouseIn || IsFocused();
  auto Face = [&](const TRect& R, Integer Kind) {  // 0 normal, 1 hot, 2 pressed
    if (Kind == 2)
      FillFramedRect(C, R, DefaultHotFrame, DefaultDownFace);
    else if (Kind == 1)
      FillFramedRect(C, R, DefaultHotFrame, DefaultHotFace);
    else
      FillFramedRect(C, R, clBtnShadow, clBtnFace);
  };
  const Integer Whole = (FDown && FMouseIn) ? 2 : (Hot ? 1 : 0);
  if (FTrackButtonMode) {
    Face(TRect(0, 0, W - Part, H), FMenuTracked ? 1 : Whole);
    Face(TRect(W - Part, 0, W, H), FMenuTracked ? 2 : Whole);
  } else {
    Face(TRect(0, 0, W, H), Whole);
  }
  AssignFont(C->Font(), FDefaultFont);
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TRect(0, 0, W - Part, H), Content(), ButtonGlyphNumber(FDown, FMouseIn, Enabled(), FNumGlyphs),
                    false);
  DrawDropDownMark(C, TRect(W - Part, 0, W, H), clBtnText);
}
