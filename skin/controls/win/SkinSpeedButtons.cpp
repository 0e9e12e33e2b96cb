// The speed button and the menu speed button.
#include "skin/controls/win/SkinSpeedButtons.h"

#include "classlib/Forms.h"
#include "skin/data/win/SPUtils.h"

// ---------------------------------------------------------------------------
// TspSkinSpeedButton

TspSkinSpeedButton::TspSkinSpeedButton(TComponent* AOwner)
    : TspGraphicSkinCustomControl(AOwner), FGlyph(new TBitmap()) {
  FSkinDataName = u"toolbutton";
  // No csClickEvents: ButtonClick is the only way to OnClick.
  FControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
  SetBounds(Left(), Top(), 25, 25);
}

TspSkinSpeedButton::~TspSkinSpeedButton() {
  StopRepeat();
  StopAnimate();
  delete FGlyph;
  StopMorph();
}

void TspSkinSpeedButton::Loaded() {
  TspGraphicSkinCustomControl::Loaded();
  if (FFlat && FDown && !(FControlStyle & csOpaque)) SetTransparentStyle(false);
}

void TspSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspGraphicSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
  if (AComponent == FButtonImages) FButtonImages = nullptr;
}

// --- properties

void TspSkinSpeedButton::SetTransparentStyle(bool Value) {
  if (Value)
    FControlStyle &= ~csOpaque;
  else
    FControlStyle |= csOpaque;
}

void TspSkinSpeedButton::SetCheckedMode(bool Value) {
  if (FCheckedMode == Value) return;
  FCheckedMode = Value;
  if (Value)
    FGroupIndex = -1;
  else if (FGroupIndex == -1)
    FGroupIndex = 0;
}

void TspSkinSpeedButton::SetImageList(TCustomImageList* Value) {
  if (FButtonImages == Value) return;
  if (FButtonImages) FButtonImages->RemoveFreeNotification(this);
  FButtonImages = Value;
  if (Value) Value->FreeNotification(this);
  Repaint();
}

void TspSkinSpeedButton::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  if (FButtonImages) Repaint();
}

void TspSkinSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  SetTransparentStyle(Value);
  Repaint();
}

void TspSkinSpeedButton::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
    SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
  else
    Repaint();
}

void TspSkinSpeedButton::SetDrawColorMarker(bool Value) {
  if (FDrawColorMarker == Value) return;
  FDrawColorMarker = Value;
  Repaint();
}

void TspSkinSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinSpeedButton::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value < 1 ? 1 : (Value > 4 ? 4 : Value);
  Repaint();
}

void TspSkinSpeedButton::SetMargin(Integer Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Repaint();
}

void TspSkinSpeedButton::SetSpacing(Integer Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Repaint();
}

void TspSkinSpeedButton::SetLayout(TspButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Repaint();
}

void TspSkinSpeedButton::SetArrowMode(Integer Value) {
  if (FArrowMode == Value) return;
  FArrowMode = Value;
  Invalidate();
}

void TspSkinSpeedButton::SetArrowColor(TColor Value) {
  if (FArrowColor == Value) return;
  FArrowColor = Value;
  Invalidate();
}

void TspSkinSpeedButton::SetDown(bool Value) {
  FDown = Value;
  if (MorphActive()) {
    FMorphKf = 1;
    if (Value)
      StopMorph();
    else
      StartMorph();
  }
  if (!FMouseIn && FFlat && (FControlStyle & csOpaque) && !Value) SetTransparentStyle(true);
  Repaint();
  if (FGroupIndex > 0 && Value && !FAllowAllUp && Parent()) {
    for (Integer I = 0; I < Parent()->ControlCount(); ++I) {
      auto* B = dynamic_cast<TspSkinSpeedButton*>(Parent()->Controls(I));
      if (B && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
    }
  }
}

void TspSkinSpeedButton::RefreshButton() {
  FMouseIn = false;
  FDown = false;
  if (MorphActive()) FMorphKf = 0;
  if (SkinEffectsOn()) StopAnimate();
  Repaint();
}

void TspSkinSpeedButton::ButtonClick() { Fire(OnClick, this); }

// --- timers

void TspSkinSpeedButton::StartMorph() {
  if (!MorphActive() || !Skinned() || !(FControlStyle & csOpaque) || FFlat) {
    Repaint();
    return;
  }
  if (MorphTimer) return;
  MorphTimer.Start(20, [this](TObject*) { MorphStep(); });
}

void TspSkinSpeedButton::StopMorph() {
  MorphTimer.Stop();
}

void TspSkinSpeedButton::MorphStep() {
  if (!Skinned() || !MorphActive()) {
    FMorphKf = FMouseIn ? 1 : 0;
    StopMorph();
    return;
  }
  if (!MorphTick(FMorphKf, FMouseIn)) StopMorph();
  Repaint();
}

void TspSkinSpeedButton::StartAnimate(bool Forward) {
  if (FFlat || !Skinned() || !SkinEffectsOn() ||
      !FrameAnimationUsable(AnimateSkinRect, FrameCount, AnimateInterval))
    return;
  StopAnimate();
  AnimateInc = Forward;
  CurrentFrame = Forward ? 1 : FrameCount;
  AnimateTimer.Start(Cardinal(AnimateInterval), [this](TObject*) { AnimateStep(); });
}

void TspSkinSpeedButton::StopAnimate() {
  AnimateTimer.Stop();
  CurrentFrame = 0;
}

void TspSkinSpeedButton::AnimateStep() {
  bool Moved = false;
  const bool Going = AnimationTick(CurrentFrame, AnimateInc, FrameCount, Moved);
  if (Moved) Repaint();
  if (!Going) StopAnimate();
}

void TspSkinSpeedButton::StartRepeat() {
  StopRepeat();
  RepeatTimer.Start(500, [this](TObject*) {
    if (RepeatTimer.Interval() != Cardinal(FRepeatInterval)) RepeatTimer.SetInterval(Cardinal(FRepeatInterval));
    ButtonClick();
  });
}

void TspSkinSpeedButton::StopRepeat() {
  RepeatTimer.Stop();
}

// --- skin

void TspSkinSpeedButton::GetSkinData() {
  TspGraphicSkinCustomControl::GetSkinData();
  if (!Skinned()) {
    Morphing = false;
    ActiveSkinRect = TRect();
    return;
  }
  if (auto* D = dynamic_cast<TspDataSkinButtonControl*>(SkinDescription())) {
    FontName = D->FontName;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    DownFontColor = D->DownFontColor;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    ActiveSkinRect = RectIsEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    DownSkinRect = RectIsEmpty(D->DownSkinRect) ? ActiveSkinRect : D->DownSkinRect;
    Morphing = FFlat ? false : D->Morphing;
    MorphKind = D->MorphKind;
    DisabledSkinRect = D->DisabledSkinRect;
    DisabledFontColor = D->DisabledFontColor == D->FontColor ? clGray : D->DisabledFontColor;
    AnimateSkinRect = D->AnimateSkinRect;
    FrameCount = D->FrameCount;
    AnimateInterval = D->AnimateInterval;
    MenuMarkerRect = D->MenuMarkerRect;
    MenuMarkerActiveRect = RectIsEmpty(D->MenuMarkerActiveRect) ? MenuMarkerRect : D->MenuMarkerActiveRect;
    MenuMarkerDownRect = RectIsEmpty(D->MenuMarkerDownRect) ? MenuMarkerActiveRect : D->MenuMarkerDownRect;
    MenuMarkerFlatRect = RectIsEmpty(D->MenuMarkerFlatRect) ? MenuMarkerRect : D->MenuMarkerFlatRect;
    MenuMarkerTransparentColor = D->MenuMarkerTransparentColor;
  }
  if (SkinEffectsOn() && AnimateTimer && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    const TRect Frame = AnimationFrameRect(AnimateSkinRect, SkinRect, FrameCount, CurrentFrame);
    if (AnimateInc)
      ActiveSkinRect = Frame;
    else
      SkinRect = Frame;
  }
}

void TspSkinSpeedButton::ChangeSkinData() {
  StopAnimate();
  StopMorph();
  TspGraphicSkinCustomControl::ChangeSkinData();
  if (MorphActive() && Skinned() && FMouseIn) FMorphKf = 1;
}

void TspSkinSpeedButton::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1)
    TspGraphicSkinCustomControl::CalcSkinSize(AWidth, AHeight);
  else
    NewClRect = FreeSizeClientRect(ClRect, SkinRect, AWidth, AHeight);
}

// --- painting

String TspSkinSpeedButton::ShownCaption() { return FShowCaption ? Text() : String(); }

TspButtonContent TspSkinSpeedButton::Content() {
  TspButtonContent C;
  C.Caption = ShownCaption();
  C.Margin = FMargin;
  C.Spacing = FSpacing;
  C.Layout = FLayout;
  C.ImagesMenu = FSkinImagesMenu;
  C.UseImagesMenuImage = FUseImagesMenuImage;
  C.UseImagesMenuCaption = FUseImagesMenuCaption;
  C.ImageList = FButtonImages;
  C.ImageIndex = FImageIndex;
  C.ImageListNeedsEmptyGlyph = true;
  C.Glyph = FGlyph;
  C.NumGlyphs = FNumGlyphs;
  C.Enabled = Enabled();
  C.DrawColorMarker = FDrawColorMarker;
  C.ColorMarkerValue = FColorMarkerValue;
  return C;
}

void TspSkinSpeedButton::SetStateFont(TCanvas* C, bool ADown, bool AMouseIn) {
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

void TspSkinSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  TRect TextRect = NewClRect;
  if (!FUseSkinSize && ResizeMode != 1) {
    if (Picture && !RectIsEmpty(R)) {
      if (ResizeMode == 0)
        B->Canvas()->CopyRect(TRect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
      else if (ResizeMode == 2 || ResizeMode == 3)
        CreateClientStretchImage(B, Picture, R, ClRect, true);
    }
    TextRect = FreeSizeClientRect(ClRect, R, B->Width(), B->Height());
  } else {
    CreateSkinImage(B, Picture, R);
  }
  TCanvas* C = B->Canvas();
  SetStateFont(C, ADown, AMouseIn);
  bool DrawDefault = true;
  auto Alive = LivenessToken();
  Fire(OnPaint, this, C, NewClRect, ADown, AMouseIn, DrawDefault);
  if (!*Alive || !DrawDefault) return;
  C->Brush()->SetStyle(bsClear);
  TspButtonContent Ct = Content();
  const bool ItemSource = Ct.ImagesMenu && Ct.ImagesMenu->GetSelectedItem() && Ct.UseImagesMenuImage;
  DrawButtonContent(C, ItemSource ? NewClRect : TextRect, Ct,
                    ButtonGlyphNumber(ADown, AMouseIn, Enabled(), FNumGlyphs), false);
}

void TspSkinSpeedButton::CreateControlDefaultImage(TBitmap* B) {
  TspGraphicSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const TRect R(0, 0, Width(), Height());
  if (PressedLook())
    FillFramedRect(C, R, DefaultHotFrame, DefaultDownFace);
  else if (FMouseIn)
    FillFramedRect(C, R, DefaultHotFrame, DefaultHotFace);
  else
    FillFramedRect(C, R, clBtnShadow, clBtnFace);
  AssignFont(C->Font(), FDefaultFont);
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  bool DrawDefault = true;
  auto Alive = LivenessToken();
  Fire(OnPaint, this, C, R, FDown, FMouseIn, DrawDefault);
  if (!*Alive || !DrawDefault) return;
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, R, Content(), ButtonGlyphNumber(FDown, FMouseIn, Enabled(), FNumGlyphs), false);
}

void TspSkinSpeedButton::PaintFlatContent(const TRect& R) {
  TCanvas* C = Canvas();
  bool DrawDefault = true;
  auto Alive = LivenessToken();
  Fire(OnPaint, this, C, R, FDown, FMouseIn, DrawDefault);
  if (!*Alive || !DrawDefault) return;
  TspButtonContent Ct = Content();
  if (!Enabled() && Ct.ImageList && (!FGlyph || FGlyph->Empty())) SetTransparentStyle(true);
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, R, Ct, ButtonGlyphNumber(FDown, FMouseIn, Enabled(), FNumGlyphs), false);
}

void TspSkinSpeedButton::PaintArrowMode() {
  TPoint P[3];
  TCanvas* C = Canvas();
  if (!ArrowModeTriangle(FArrowMode, Width(), Height(), C->TextWidth(Text()), P)) return;
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(FArrowColor);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FArrowColor);
  C->Polygon(P, 3);
}

void TspSkinSpeedButton::Paint() {
  GetSkinData();
  if (Width() < 1 || Height() < 1) return;
  RefreshSkinGeometry();
  TCanvas* C = Canvas();
  if (!Skinned()) {
    if (PressedLook() || FMouseIn || !FFlat) {
      TspGraphicSkinCustomControl::Paint();
    } else {
      AssignFont(C->Font(), FDefaultFont);
      C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
      if (!Enabled()) C->Font()->SetColor(clBtnShadow);
      PaintFlatContent(TRect(0, 0, Width(), Height()));
    }
  } else if (!FFlat || FMouseIn || (FDown && FGroupIndex != 0)) {
    auto B = NewSkinBitmap(Width(), Height());
    if (MorphActive() && MorphInProgress(FMorphKf) && Enabled()) {
      auto B2 = NewSkinBitmap(Width(), Height());
      CreateButtonImage(B.get(), SkinRect, false, false);
      CreateButtonImage(B2.get(), ActiveSkinRect, false, true);
      DrawMorphedSkinImage(this, C, B.get(), B2.get(), FMorphKf, MorphKind, FAlphaBlend, FAlphaBlendValue);
    } else {
      switch (ChooseSpeedButtonImage(Enabled(), !RectIsEmpty(DisabledSkinRect), PressedLook(), FMouseIn,
                                     MorphActive(), FMorphKf)) {
        case biDisabled: CreateButtonImage(B.get(), DisabledSkinRect, false, false); break;
        case biDown: CreateButtonImage(B.get(), DownSkinRect, true, true); break;
        case biActive: CreateButtonImage(B.get(), ActiveSkinRect, false, true); break;
        default: CreateButtonImage(B.get(), SkinRect, false, false); break;
      }
      DrawSkinImage(this, C, B.get(), FAlphaBlend, FAlphaBlendValue);
    }
  } else {
    // Flat and idle: no background (the parent's shows through).
    TFont* F = C->Font();
    if (FUseSkinFont) {
      F->SetName(FontName);
      F->SetStyle(FontStyle);
      F->SetHeight(FontHeight);
    } else {
      AssignFont(F, FDefaultFont);
    }
    TspSkinColors* SC = FSD->SkinColors();
    if (!Enabled())
      F->SetColor(SC->cBtnShadow());
    else
      F->SetColor(FUseSkinFontColor ? SC->cBtnText() : FDefaultFont->Color());
    F->SetCharset(SkinTextCharset(FSD, FDefaultFont));
    PaintFlatContent(NewClRect);
  }
  PaintArrowMode();
}

void TspSkinSpeedButton::DrawMenuMarker(TCanvas* C, const TRect& R, bool AActive, bool ADown, bool AFlat) {
  const TRect& Piece =
      ADown ? MenuMarkerDownRect : (AActive ? MenuMarkerActiveRect : (AFlat ? MenuMarkerFlatRect : MenuMarkerRect));
  DrawMenuMarkerPicture(C, R, Picture, Piece, MenuMarkerTransparentColor);
}

// --- mouse

void TspSkinSpeedButton::MouseEntered() {
  const bool E = (FGroupIndex == 0 || !FDown) && Enabled();
  if (!Enabled()) return;
  FMouseIn = true;
  if (E) {
    if (FDown) {
      if (MorphActive()) FMorphKf = 1;
      Repaint();
    } else {
      StartAnimate(true);
      StartMorph();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
}

void TspSkinSpeedButton::MouseLeft() {
  const bool E = (FGroupIndex == 0 || !FDown) && Enabled();
  if (!Enabled()) return;
  FMouseIn = false;
  if (E) {
    StartAnimate(false);
    StartMorph();
  }
  if (FDown && FRepeatMode && RepeatTimer && FGroupIndex == 0) StopRepeat();
}

void TspSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
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

void TspSkinSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspGraphicSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive || !FDown) return;
  const bool Inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  if (!Inside && FMouseIn)
    Perform(CM_MOUSELEAVE, 0, 0);
  else if (Inside && !FMouseIn)
    Perform(CM_MOUSEENTER, 0, 0);
}

void TspSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
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
  if (*Alive) TspGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinSpeedButton::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(Word(M.WParam), Text()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
        ButtonClick();
        M.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      TspGraphicSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (MorphActive()) {
        StopMorph();
        FMorphKf = 0;
      }
      FMouseIn = false;
      Repaint();
      return;
    case CM_TEXTCHANGED:
      if (Skinned() || FDrawDefault) Repaint();
      return;
    case CM_MOUSEENTER: {
      const bool E = (FGroupIndex == 0 || !FDown) && Enabled();
      if (FFlat && E) SetTransparentStyle(false);
      TspGraphicSkinCustomControl::Dispatch(M);
      if (*Alive) MouseEntered();
      return;
    }
    case CM_MOUSELEAVE: {
      const bool E = (FGroupIndex == 0 || !FDown) && Enabled();
      if (FFlat && E) SetTransparentStyle(true);
      TspGraphicSkinCustomControl::Dispatch(M);
      if (*Alive) MouseLeft();
      return;
    }
  }
  TspGraphicSkinCustomControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinMenuSpeedButton

TspSkinMenuSpeedButton::TspSkinMenuSpeedButton(TComponent* AOwner) : TspSkinSpeedButton(AOwner) {
  FSkinDataName = u"toolmenubutton";
}

void TspSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TspSkinMenuSpeedButton::SetNewStyle(bool Value) {
  FNewStyle = Value;
  if (Value) FSkinDataName = u"resizetoolbutton";
}

void TspSkinMenuSpeedButton::SetTrackPosition(TspTrackPosition Value) {
  FTrackPosition = Value;
  Repaint();
}

void TspSkinMenuSpeedButton::SetSkinImagesMenu(TspSkinImagesMenu* Value) {
  if (FSkinImagesMenu && FSkinImagesMenu != Value) FSkinImagesMenu->RemoveFreeNotification(this);
  FSkinImagesMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->OnInternalChange = [this](TObject*) { Repaint(); };
  }
  Repaint();
}

void TspSkinMenuSpeedButton::SetSkinPopupMenu(TspSkinPopupMenu* Value) {
  if (FSkinPopupMenu == Value) return;
  if (FSkinPopupMenu) FSkinPopupMenu->RemoveFreeNotification(this);
  FSkinPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMenuSpeedButton::SetTrackButtonMode(bool Value) {
  FTrackButtonMode = Value;
  if (!Skinned()) Repaint();
}

void TspSkinMenuSpeedButton::GetSkinData() {
  TspSkinSpeedButton::GetSkinData();
  if (auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(Skinned() ? SkinDescription() : nullptr))
    TrackButtonRect = D->TrackButtonRect;
}

TRect TspSkinMenuSpeedButton::ArrowPartRect() {
  return DropDownPartRect(false, TRect(), 0, TRect(), FNewStyle && FTrackPosition == sptpBottom, Width(), Height());
}

TRect TspSkinMenuSpeedButton::TextBesidePart() {
  if (FNewStyle && FTrackPosition == sptpBottom) return TRect(0, 0, Width(), Height() - DropDownPartSize);
  return TRect(0, 0, Width() - DropDownPartSize, Height());
}

bool TspSkinMenuSpeedButton::InMenuArea(Integer X, Integer Y) {
  if (!FSkinPopupMenu && !FSkinImagesMenu) return false;
  if (!FTrackButtonMode) return true;
  const bool OwnPart = Skinned() && !IsToolLookName(FSkinDataName);
  const TRect R = OwnPart ? DropDownPartRect(true, TrackButtonRect, CalcResizeMode(), SkinRect, false, Width(), Height())
                          : ArrowPartRect();
  return PointWithinRect(R, TPoint(X, Y));
}

void TspSkinMenuSpeedButton::DropMenu() {
  auto Alive = LivenessToken();
  bool Shown = false;
  auto ScreenRect = [this] {
    const TPoint P = ClientToScreen(TPoint(0, 0));
    return TRect(P.X, P.Y, P.X + Width(), P.Y + Height());
  };
  if (FSkinPopupMenu) {
    if (FFlat && (FControlStyle & csOpaque)) SetTransparentStyle(true);
    Fire(OnShowTrackMenu, this);
    if (!*Alive) return;
    if (FSkinPopupMenu) Shown = FSkinPopupMenu->PopupFromRect2(this, ScreenRect(), false);
    if (!*Alive) return;
  }
  if (FSkinImagesMenu) {
    if (FFlat && (FControlStyle & csOpaque)) SetTransparentStyle(true);
    Fire(OnShowTrackMenu, this);
    if (!*Alive || !FSkinImagesMenu) return;
    FSkinImagesMenu->OnInternalMenuClose = [this](TObject*) {
      FMenuTracked = false;
      SetDown(false);
      auto A = LivenessToken();
      Fire(OnHideTrackMenu, this);
      if (!*A) return;
      FMouseIn = false;
      Repaint();
    };
    Shown = FSkinImagesMenu->PopupFromRect(ScreenRect()) || Shown;
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

void TspSkinMenuSpeedButton::MenuClosed() {
  FMenuTracked = false;
  SetDown(false);
  FMouseIn = false;
  auto Alive = LivenessToken();
  Fire(OnHideTrackMenu, this);
  if (*Alive) Repaint();
}

void TspSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FMenuTracked = InMenuArea(X, Y);
    FMouseIn = true;
    if (FMenuTracked) {
      if (!FDown) SetDown(true);
      DropMenu();
      return;
    }
  }
  TspSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TspSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FMenuTracked) return;  // the choice happens in the menu
  TspSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TspSkinMenuSpeedButton::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (FMenuTracked) {
        FMouseIn = M.Msg == CM_MOUSEENTER;
        return;
      }
      break;
    case FEM_MENU_CLOSED:
      MenuClosed();
      return;
  }
  TspSkinSpeedButton::Dispatch(M);
}

// --- painting

void TspSkinMenuSpeedButton::DrawPartMarker(TCanvas* C, const TRect& R, bool AMouseIn, bool Pressed) {
  if (FDrawStandardArrow)
    DrawDirectionArrow(C, R, C->Font()->Color(), FArrowType);
  else if (!RectIsEmpty(MenuMarkerRect))
    DrawMenuMarker(C, R, AMouseIn, Pressed || FMenuTracked, false);
  else
    DrawDropDownMark(C, R, FMenuTracked ? DownFontColor : C->Font()->Color());
}

void TspSkinMenuSpeedButton::Paint() {
  GetSkinData();
  if ((FMouseIn && FDown) || FMenuTracked || !FFlat) {
    TspSkinSpeedButton::Paint();
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  RefreshSkinGeometry();
  // Flat and not pressed: text and marker straight on the canvas.
  TCanvas* C = Canvas();
  const bool OwnPart = Skinned() && !IsToolLookName(FSkinDataName);
  const TRect TextRect = OwnPart ? NewClRect : TextBesidePart();
  TFont* F = C->Font();
  if (FUseSkinFont && Skinned()) {
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
  } else {
    AssignFont(F, FDefaultFont);
  }
  if (Skinned()) {
    TspSkinColors* SC = FSD->SkinColors();
    if (!Enabled())
      F->SetColor(SC->cBtnShadow());
    else
      F->SetColor(FUseSkinFontColor ? SC->cBtnText() : FDefaultFont->Color());
  }
  F->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  if (!Enabled()) F->SetColor(clBtnShadow);
  TspButtonContent Ct = Content();
  Ct.ImageListNeedsEmptyGlyph = false;
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TextRect, Ct, ButtonGlyphNumber(FDown, FMouseIn, Enabled(), FNumGlyphs), false);
  const TRect Arrow = OwnPart ? TRect(NewClRect.Right, NewClRect.Top, Width(), NewClRect.Bottom) : ArrowPartRect();
  if (Skinned() && !RectIsEmpty(MenuMarkerFlatRect))
    DrawMenuMarker(C, Arrow, false, false, true);
  else
    DrawDropDownMark(C, Arrow, Skinned() ? FSD->SkinColors()->cBtnText() : clBtnText);
  if (FMouseIn) TspSkinSpeedButton::Paint();
}

void TspSkinMenuSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  if (FNewStyle && FSkinDataName == u"resizetoolbutton") {
    CreateComposedImage(B, ADown, AMouseIn);
  } else if (FSkinDataName == u"toolbutton" || FSkinDataName == u"bigtoolbutton") {
    CreateToolImage(B, tfsClientStretch, ADown, AMouseIn);
  } else if (FSkinDataName == u"resizebutton" || FSkinDataName == u"resizetoolbutton") {
    CreateToolImage(B, tfsNineSlice, ADown, AMouseIn);
  } else if (FTrackButtonMode && FMenuTracked && !RectIsEmpty(TrackButtonRect) && !RectIsEmpty(DownSkinRect)) {
    TspSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, true);
    if (Picture) {
      const TRect Src(TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
                      TrackButtonRect.Right + DownSkinRect.Left, TrackButtonRect.Bottom + DownSkinRect.Top);
      B->Canvas()->CopyRect(DropDownPartRect(true, TrackButtonRect, CalcResizeMode(), SkinRect, false, Width(), Height()),
                            Picture->Canvas(), Src);
    }
  } else {
    TspSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
  }
}

void TspSkinMenuSpeedButton::CreateToolImage(TBitmap* B, TspToolFaceStyle Style, bool ADown, bool AMouseIn) {
  const Integer W = Width(), H = Height(), Part = DropDownPartSize;
  const bool Pressed = ADown && AMouseIn;
  auto StateRect = [&](bool P, bool Hot) -> TRect {
    if (P) return !RectIsEmpty(DownSkinRect) ? DownSkinRect : (!RectIsEmpty(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
    if (Hot) return !RectIsEmpty(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
    return FFlat ? TRect() : SkinRect;  // a flat idle button gets no background
  };
  TCanvas* C = B->Canvas();
  if (FTrackButtonMode) {
    const TRect Body = FMenuTracked ? StateRect(false, true) : StateRect(Pressed, AMouseIn);
    const TRect Arrow = FMenuTracked ? StateRect(true, true) : StateRect(Pressed, AMouseIn);
    DrawToolFacePiece(C, 0, 0, W - Part, H, Style, *this, Picture, Body);
    DrawToolFacePiece(C, W - Part, 0, Part, H, Style, *this, Picture, Arrow);
  } else {
    DrawToolFacePiece(C, 0, 0, W, H, Style, *this, Picture, StateRect(Pressed, AMouseIn));
  }
  SetStateFont(C, Pressed, AMouseIn);
  TspButtonContent Ct = Content();
  Ct.ImageListNeedsEmptyGlyph = false;
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TRect(0, 0, W - Part, H), Ct, ButtonGlyphNumber(FDown, AMouseIn, Enabled(), FNumGlyphs), false);
  DrawPartMarker(C, TRect(W - Part, 0, W, H), AMouseIn, Pressed);
}

namespace {

// A description of the skin as a button description, or nullptr.
TspDataSkinButtonControl* ButtonDescription(TspSkinData* SD, const String& Name) {
  if (!SD || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  if (I < 0) return nullptr;
  return dynamic_cast<TspDataSkinButtonControl*>(static_cast<TspDataSkinControl*>(SD->CtrlList->Items(I)));
}

}  // namespace

void TspSkinMenuSpeedButton::CreateComposedImage(TBitmap* B, bool ADown, bool AMouseIn) {
  TspDataSkinButtonControl* Body = ButtonDescription(FSD, u"resizetoolbutton");
  if (!Body) Body = ButtonDescription(FSD, u"resizebutton");
  if (!Body) return;
  const Integer W = Width(), H = Height();
  const bool Bottom = FTrackPosition == sptpBottom;
  const TRect R2 = ArrowPartRect();
  TRect R1(0, 0, W, H);
  const bool TrackHot = FTrackButtonMode && AMouseIn;
  if (TrackHot) R1 = TextBesidePart();
  TspDataSkinButtonControl* Arrow = Body;
  if (TrackHot) {
    if (TspDataSkinButtonControl* A = ButtonDescription(FSD, Bottom ? u"htracktoolbutton" : u"vtracktoolbutton")) {
      Arrow = A;
      R1 = TRect(0, 0, W, H);
    }
  }
  const bool Pressed = ADown && AMouseIn && !(FTrackButtonMode && FMenuTracked);
  auto DrawDesc = [&](TspDataSkinButtonControl* D, const TRect& T, bool P, bool Hot) {
    TRect Src = D->SkinRect;
    const TRect Active = RectIsEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    if (P && Hot)
      Src = RectIsEmpty(D->DownSkinRect) ? Active : D->DownSkinRect;
    else if (Hot)
      Src = Active;
    TspSkinGeometry G;
    G.LTPt = D->LTPoint;
    G.RTPt = D->RTPoint;
    G.LBPt = D->LBPoint;
    G.RBPt = D->RBPoint;
    G.SkinRect = D->SkinRect;
    G.ClRect = D->ClRect;
    G.LeftStretch = D->LeftStretch;
    G.TopStretch = D->TopStretch;
    G.RightStretch = D->RightStretch;
    G.BottomStretch = D->BottomStretch;
    G.StretchEffect = D->StretchEffect;
    G.StretchType = D->StretchType;
    DrawToolFacePiece(B->Canvas(), T.Left, T.Top, T.Width(), T.Height(), tfsNineSlice, G, SkinPicture(D->PictureIndex),
                      Src);
  };
  DrawDesc(Body, R1, Pressed, AMouseIn);
  if (TrackHot) DrawDesc(Arrow, R2, FMenuTracked, AMouseIn);
  TCanvas* C = B->Canvas();
  SetStateFont(C, Pressed, AMouseIn);
  TspButtonContent Ct = Content();
  Ct.ImageListNeedsEmptyGlyph = false;
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TextBesidePart(), Ct, ButtonGlyphNumber(FDown, AMouseIn, Enabled(), FNumGlyphs), false);
  if (!RectIsEmpty(MenuMarkerRect))
    DrawMenuMarker(C, R2, AMouseIn, false, false);
  else
    DrawDropDownMark(C, R2, FMenuTracked ? DownFontColor : C->Font()->Color());
}

void TspSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B) {
  TspGraphicSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height(), Part = DropDownPartSize;
  const bool Pressed = FDown && FMouseIn;
  enum { Normal, Hot, Down, FaceOnly };
  auto Face = [&](const TRect& R, Integer Kind) {
    switch (Kind) {
      case Down: FillFramedRect(C, R, DefaultHotFrame, DefaultDownFace); break;
      case Hot: FillFramedRect(C, R, DefaultHotFrame, DefaultHotFace); break;
      case FaceOnly:
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
        break;
      default: FillFramedRect(C, R, clBtnShadow, clBtnFace); break;
    }
  };
  const TRect Whole(0, 0, W, H);
  TRect ArrowR = ArrowPartRect();
  if (!FNewStyle) {
    if (FTrackButtonMode) {
      const TRect Body(0, 0, W - Part, H);
      if (FMenuTracked) {
        Face(Body, Hot);
        Face(ArrowR, Down);
      } else if (Pressed) {
        Face(Body, Down);
        Face(ArrowR, Down);
      } else if (FMouseIn) {
        Face(Body, Hot);
        Face(ArrowR, Hot);
      } else {
        Face(Body, Normal);
        Face(ArrowR, Normal);
      }
    } else {
      Face(Whole, Pressed ? Down : (FMouseIn ? Hot : Normal));
    }
    if (Pressed || FMenuTracked) ArrowR = TRect(ArrowR.Left + 2, ArrowR.Top + 2, ArrowR.Right + 2, ArrowR.Bottom + 2);
  } else {
    const TRect Body = TextBesidePart();
    if (FTrackButtonMode && FMouseIn) {
      if (FMenuTracked) {
        Face(Body, Hot);
        Face(ArrowR, Down);
      } else if (Pressed) {
        Face(Body, Down);
        Face(ArrowR, Hot);
      } else {
        Face(Body, Hot);
        Face(ArrowR, Hot);
      }
    } else if (Pressed) {
      Face(Whole, Down);
    } else if (FMouseIn) {
      Face(Whole, Hot);
    } else {
      Face(Whole, FFlat ? FaceOnly : Normal);
    }
  }
  AssignFont(C->Font(), FDefaultFont);
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  TspButtonContent Ct = Content();
  Ct.ImageListNeedsEmptyGlyph = false;
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TextBesidePart(), Ct, ButtonGlyphNumber(FDown, FMouseIn, Enabled(), FNumGlyphs),
                    !FNewStyle && Pressed);
  DrawDropDownMark(C, ArrowR, clBtnText);
}
