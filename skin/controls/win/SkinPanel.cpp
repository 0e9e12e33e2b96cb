// The skinned panel and the paint panel.
#include "skin/controls/win/SkinPanel.h"

#include "classlib/Forms.h"
#include "rtl/ScopeGuard.h"
#include "skin/data/win/SPUtils.h"

namespace {

// A 1-pixel frame: left and top in C1, right and bottom in C2 (the end
// points of each polyline left out).
void Frame3D(TCanvas* C, const TRect& R, TColor C1, TColor C2) {
  std::vector<TspBevelLine> Lines;
  BevelLines(0, false, R.Width(), R.Height(), Lines);
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  for (auto& L : Lines) {
    for (auto& P : L.Points) P = TPoint(P.X + R.Left, P.Y + R.Top);
    C->Pen()->SetColor(L.Colour == 1 ? C1 : C2);
    C->Polyline(L.Points);
  }
}

TRect Inset(const TRect& R, Integer D) { return TRect(R.Left + D, R.Top + D, R.Right - D, R.Bottom - D); }

// Direction numbers of DrawDirectionArrow.
constexpr Integer ArrowUp = 3, ArrowDown = 4;

}  // namespace

TspSkinPanel::TspSkinPanel(TComponent* AOwner) : TspSkinCustomControl(AOwner), FGlyph(new TBitmap()) {
  FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque | csReplicatable;
  FSkinDataName = u"panel";
  FForceBackground = true;
  SetBounds(Left(), Top(), 150, 150);
}

TspSkinPanel::~TspSkinPanel() { delete FGlyph; }

void TspSkinPanel::CreateParams(TCreateParams& Params) {
  TspSkinCustomControl::CreateParams(Params);
  // A resize repaints only what it uncovers; SetBounds repaints the rest.
  Params.ClassStyle &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

bool TspSkinPanel::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FRollUpMode && FInChangingRollUp && AutoSize()) return false;
  return TspSkinCustomControl::CanAutoSize(NewWidth, NewHeight);
}

// --- properties

void TspSkinPanel::SetRibbonStyle(bool Value) {
  if (FRibbonStyle == Value) return;
  FRibbonStyle = Value;
  Repaint();
}

void TspSkinPanel::SetImagePosition(TspImagePosition Value) {
  if (FImagePosition == Value) return;
  FImagePosition = Value;
  Repaint();
}

void TspSkinPanel::SetTransparentMode(bool Value) {
  if (FTransparentMode == Value) return;
  FTransparentMode = Value;
  Repaint();
  if (!ComponentState().Contains(csLoading)) CheckControlsBackground();
}

void TspSkinPanel::SetCaptionImageList(TCustomImageList* Value) {
  if (FCaptionImageList == Value) return;
  if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
  FCaptionImageList = Value;
  if (Value) Value->FreeNotification(this);
  Repaint();
}

void TspSkinPanel::SetCaptionImageIndex(Integer Value) {
  if (FCaptionImageIndex == Value) return;
  FCaptionImageIndex = Value;
  Repaint();
}

void TspSkinPanel::SetCheckedMode(bool Value) {
  FCheckedMode = Value;
  Repaint();
}

void TspSkinPanel::SetChecked(bool Value) {
  FChecked = Value;
  if (FCheckedMode) Repaint();
  if (FAutoEnabledControls && FCheckedMode)
    for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->SetEnabled(FChecked);
  Fire(OnChecked, this);
}

void TspSkinPanel::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinPanel::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value < 1 ? 1 : (Value > 2 ? 2 : Value);
  Repaint();
}

void TspSkinPanel::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TspSkinPanel::SetDefaultAlignment(TAlignment Value) {
  FDefaultAlignment = Value;
  if (!Skinned() && FCaptionMode) Repaint();
}

void TspSkinPanel::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if ((!Skinned() || !FUseSkinSize) && FCaptionMode) {
    Repaint();
    Realign();
  }
}

void TspSkinPanel::SetBorderStyle(TspSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (!Skinned()) {
    Repaint();
    Realign();
  }
}

void TspSkinPanel::SetCaptionMode(bool Value) {
  FCaptionMode = Value;
  Repaint();
  Realign();
}

void TspSkinPanel::SetRollUpMode(bool Value) {
  FRollUpMode = Value;
  if (!Skinned() && FCaptionMode) Repaint();
}

void TspSkinPanel::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  Repaint();
}

// --- roll-up

void TspSkinPanel::SetRollUpState(bool Value) {
  if (FRollUpState == Value) return;
  TSizeConstraints* C = Constraints();
  // Saved when the panel rolls up and put back when it rolls down; nothing
  // is put back that was not saved (the limits a form set stay).
  auto RestoreLimits = [&] {
    if (!FLimitsSaved) return;
    FLimitsSaved = false;
    TSizeConstraints Saved(this);
    Saved.SetMinWidth(FCMinWidth);
    Saved.SetMinHeight(FCMinHeight);
    Saved.SetMaxWidth(FCMaxWidth);
    Saved.SetMaxHeight(FCMaxHeight);
    C->Assign(&Saved);
  };
  if (!FRollUpMode) {
    RestoreLimits();
    return;
  }
  if (Value) {
    FCMaxWidth = C->MaxWidth();
    FCMinWidth = C->MinWidth();
    FCMaxHeight = C->MaxHeight();
    FCMinHeight = C->MinHeight();
    FLimitsSaved = true;
    TSizeConstraints None(this);
    C->Assign(&None);
  }
  FRollUpState = Value;
  DoRollUp(Value);
  if (!Value) RestoreLimits();
  Fire(OnChangeRollUpState, this);
}

void TspSkinPanel::DoRollUp(bool ARollUp) {
  FInChangingRollUp = true;
  struct TReset {
    TspSkinPanel* P;
    std::shared_ptr<bool> A;
    ~TReset() {
      if (*A) P->FInChangingRollUp = false;
    }
  } Reset{this, LivenessToken()};
  if (ARollUp) {
    if (FRealHeight != -1) return;
    FRealHeight = Height();
    DisableAlign();
    FRolledUpVisible.clear();
    for (Integer I = 0; I < ControlCount(); ++I) {
      TControl* Ch = Controls(I);
      if (Ch->Visible()) FRolledUpVisible.emplace_back(Ch, Ch->LivenessToken());
    }
    for (auto& [Ch, Alive] : FRolledUpVisible) Ch->Hide();
    SetHeight(Skinned() && FUseSkinSize ? Height() - NewClRect.Height() : FDefaultCaptionHeight + 1);
  } else {
    if (FRealHeight == -1) return;
    SetHeight(FRealHeight);
    FRealHeight = -1;
    // Only the children that were visible come back.
    auto Visible = std::move(FRolledUpVisible);
    FRolledUpVisible.clear();
    for (auto& [Ch, Alive] : Visible)
      if (*Alive && Ch->Parent() == this) Ch->Show();
    EnableAlign();
  }
}

// --- geometry

TBitmap* TspSkinPanel::BackgroundPicture() const { return Skinned() ? SkinPicture(BGPictureIndex) : nullptr; }

void TspSkinPanel::SetCaptionFont(TCanvas* C) {
  if (FUseSkinFont && Skinned()) {
    C->Font()->SetName(FontName);
    C->Font()->SetHeight(FontHeight);
    C->Font()->SetStyle(FontStyle);
  } else {
    AssignFont(C->Font(), FDefaultFont);
  }
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
}

Integer TspSkinPanel::CaptionTextHeight() {
  TBitmap B(1, 1);
  SetCaptionFont(B.Canvas());
  return B.Canvas()->TextHeight(Text());
}

TspPanelFrame TspSkinPanel::Frame() {
  TspPanelFrame P;
  P.Skinned = Skinned();
  P.TransparentMode = FTransparentMode;
  P.CaptionMode = FCaptionMode;
  P.RibbonStyle = FRibbonStyle;
  P.UseSkinSize = FUseSkinSize;
  P.HasBackgroundPicture = BackgroundPicture() != nullptr;
  P.BorderNone = FBorderStyle == bvNone;
  P.ForceBackground = FForceBackground;
  P.StretchEffect = StretchEffect;
  P.AlphaBlend = FAlphaBlend;
  P.ResizeMode = ResizeMode;
  P.Width = Width();
  P.Height = Height();
  P.DefaultCaptionHeight = FDefaultCaptionHeight;
  P.NewClRect = NewClRect;
  return P;
}

void TspSkinPanel::AdjustClientRect(TRect& Rect) {
  TspSkinCustomControl::AdjustClientRect(Rect);
  TspPanelFrame P = Frame();
  if (P.Skinned && P.TransparentMode && P.CaptionMode) P.CaptionTextHeight = CaptionTextHeight();
  Rect = PanelClientRect(P, Rect);
}

TRect TspSkinPanel::GetSkinClientRect() {
  TRect R(0, 0, Width(), Height());
  AdjustClientRect(R);
  return R;
}

void TspSkinPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!Skinned()) Repaint();
}

// --- skin

void TspSkinPanel::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  BGPictureIndex = -1;
  auto* D = Skinned() ? dynamic_cast<TspDataSkinPanelControl*>(SkinDescription()) : nullptr;
  if (!D) {
    // No caption geometry of its own without a panel description.
    CaptionRect = CheckImageRect = UnCheckImageRect = MarkFrameRect = FrameRect = FrameTextRect = TRect();
    return;
  }
  CaptionRect = D->CaptionRect;
  Alignment = D->Alignment;
  FontName = D->FontName;
  FontColor = D->FontColor;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  BGPictureIndex = D->BGPictureIndex;
  CheckImageRect = D->CheckImageRect;
  UnCheckImageRect = D->UnCheckImageRect;
  MarkFrameRect = D->MarkFrameRect;
  FrameRect = D->FrameRect;
  FrameTextRect = D->FrameTextRect;
  FrameLeftOffset = D->FrameLeftOffset;
  FrameRightOffset = D->FrameRightOffset;
}

void TspSkinPanel::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  if (FRollUpState && FRealHeight != -1) {
    // Collapse again to the new skin's caption, keeping the expanded height.
    FInChangingRollUp = true;
    SetHeight(Skinned() && FUseSkinSize ? Height() - NewClRect.Height() : FDefaultCaptionHeight + 1);
    FInChangingRollUp = false;
  } else {
    Realign();
  }
}

void TspSkinPanel::CheckParentBackground() {
  if (!FTransparentMode && !FAlphaBlend) return;
  Repaint();
  CheckControlsBackground();
}

// --- default look

void TspSkinPanel::CreateControlDefaultImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  switch (FBorderStyle) {
    case bvFrame: Frame3D(C, TRect(0, 0, W, H), clBtnShadow, clBtnShadow); break;
    case bvRaised: Frame3D(C, TRect(0, 0, W, H), clBtnHighlight, clBtnShadow); break;
    case bvLowered: Frame3D(C, TRect(0, 0, W, H), clBtnShadow, clBtnHighlight); break;
    default: break;
  }
  if (!FCaptionMode) return;
  const TRect R0 = PanelCaptionStripRect(FBorderStyle == bvFrame, FRibbonStyle, W, H, FDefaultCaptionHeight);
  if (FBorderStyle == bvFrame) {
    Frame3D(C, R0, clBtnShadow, clBtnShadow);
    Frame3D(C, Inset(R0, 1), clBtnHighlight, clBtnFace);
  } else {
    Frame3D(C, R0, clBtnShadow, clBtnHighlight);
    Frame3D(C, Inset(R0, 1), clBtnHighlight, clBtnShadow);
  }
  TRect R = Inset(R0, 2);
  if (FCheckedMode) R.Left += 20;
  if (FRollUpMode) R.Right -= 10;
  AssignFont(C->Font(), FDefaultFont);
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  const String Cap = Text();
  const bool HasList = FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
                       FCaptionImageIndex < FCaptionImageList->Count();
  const Integer GlyphW = FGlyph->Empty() ? 0 : FGlyph->Width() / FNumGlyphs;
  const Integer TW = C->TextWidth(Cap);
  const Integer Wd = TW + (FGlyph->Empty() ? 0 : GlyphW + FSpacing);
  const Integer Y = CentredTop(R, C->TextHeight(Cap));
  Integer X = PanelCaptionTextX(R, FDefaultAlignment, Wd, 2);
  if (FCheckedMode) {
    const Integer Top = CentredTop(R, 14);
    Frame3D(C, TRect(5, Top, 19, Top + 14), clBtnShadow, clBtnShadow);
    if (FChecked) DrawCheckMark(C, 5 + 4, Top + 3, clBtnText);
  }
  if (HasList) {
    FCaptionImageList->Draw(C, X, CentredTop(R, FCaptionImageList->Height()), FCaptionImageIndex, Enabled());
    X += FCaptionImageList->Width() + FSpacing;
  } else if (!FGlyph->Empty()) {
    DrawStripGlyph(C, X, CentredTop(R, FGlyph->Height()), FGlyph, FNumGlyphs,
                   !Enabled() && FNumGlyphs == 2 ? 2 : 1);
    X += GlyphW + FSpacing;
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, X, Y, Cap);
  if (FRollUpMode)
    DrawDirectionArrow(C, TRect(R.Right, R.Top, R.Right + 10, R.Bottom), clBtnText,
                       FRollUpState ? ArrowDown : ArrowUp);
}

// --- skinned look

void TspSkinPanel::CreateControlSkinImage(TBitmap* B) {
  if (!FCaptionOnly) {
    if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
      // Borderless and tiled: the skin's client piece over the whole panel.
      if (!Picture || RectIsEmpty(ClRect)) return;
      const TRect Src(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                      SkinRect.Top + ClRect.Bottom);
      const Integer TW = ClRect.Width(), TH = ClRect.Height();
      for (Integer Row = 0; Row <= Height() / TH; ++Row)
        for (Integer Col = 0; Col <= Width() / TW; ++Col)
          B->Canvas()->CopyRect(TRect(Col * TW, Row * TH, (Col + 1) * TW, (Row + 1) * TH), Picture->Canvas(), Src);
      return;
    }
    CreateSkinImage(B, Picture, SkinRect);
    if (FUseSkinSize) NewCaptionRect = ResizeMode == 0 ? CaptionRect : MapSkinRect(CaptionRect);
  }
  if (!Text().empty() && !RectIsEmpty(CaptionRect)) DrawSkinnedCaption(B);
}

void TspSkinPanel::DrawSkinnedCaption(TBitmap* B) {
  TCanvas* C = B->Canvas();
  TRect R = NewCaptionRect;
  if (FRollUpMode) R.Right -= 12;
  if (FCheckedMode) {
    const TRect& Img = FChecked ? CheckImageRect : UnCheckImageRect;
    DrawSkinStateImage(C, Picture, Img, R.Left, CentredTop(R, Img.Height()));
    R.Left += Img.Width() + 2;
  }
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetHeight(FontHeight);
    C->Font()->SetStyle(FontStyle);
  } else {
    AssignFont(C->Font(), FDefaultFont);
  }
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  C->Font()->SetColor(FontColor);
  const String Cap = Text();
  const Integer TW = C->TextWidth(Cap);
  Integer Y = CentredTop(R, C->TextHeight(Cap));
  if (C->Font()->Height() % 2 != 0) --Y;
  const bool HasList = FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
                       FCaptionImageIndex < FCaptionImageList->Count();
  const Integer GlyphW = FGlyph->Empty() ? 0 : FGlyph->Width() / FNumGlyphs;
  const Integer Wd = TW + (FGlyph->Empty() ? 0 : GlyphW + FSpacing);
  Integer X = PanelCaptionTextX(R, Alignment, Wd, 0);
  Integer IX = 0, IY = 0, IW = 0;
  const bool HasImage = HasList || !FGlyph->Empty();
  if (HasImage) {
    IW = HasList ? FCaptionImageList->Width() : GlyphW;
    IY = CentredTop(R, HasList ? FCaptionImageList->Height() : FGlyph->Height());
    if (FImagePosition == spipLeft) {
      IX = R.Left + 2;
      X = R.Left + 2 + IW + FSpacing;
      if (Alignment == taRightJustify)
        X = R.Right - TW;
      else if (Alignment == taCenter)
        X = R.Width() / 2 + R.Left - TW / 2;
      X = IntMax(X, IX + IW + FSpacing);
    } else {
      IX = X;
      X += IW + FSpacing;
    }
  }
  if (FRollUpMode) {
    const TRect M(R.Right, R.Top, R.Right + 10, R.Bottom);
    if (!RectIsEmpty(MarkFrameRect) && Picture)
      C->CopyRect(TRect(M.Left, M.Top, M.Left + MarkFrameRect.Width(), CaptionRect.Top + MarkFrameRect.Height()),
                  Picture->Canvas(), MarkFrameRect);
    DrawDirectionArrow(C, M, FontColor, FRollUpState ? ArrowDown : ArrowUp);
  }
  if (!RectIsEmpty(FrameRect) && Picture) {
    const Integer E = FrameRect.Width() - FrameTextRect.Width();
    auto F = NewSkinBitmap(1, 1);
    CreateHorzThreeSliceImage(FrameLeftOffset, FrameRightOffset, F.get(), Picture, FrameRect, TW + E,
                              FrameRect.Height(), false);
    Integer FX = X;
    if (Alignment == taLeftJustify) {
      X = FrameTextRect.Left + X;
    } else if (Alignment == taRightJustify) {
      FX = X - E;
      X = FrameTextRect.Left + X - E;
      IX -= E;
    } else {
      FX = X - FrameTextRect.Left - 2;
      IX -= FrameTextRect.Left;
      X -= 2;
    }
    C->Draw(FX, CaptionRect.Top, F.get());
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, X, Y, Cap);
  if (HasList)
    FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
  else if (!FGlyph->Empty())
    DrawStripGlyph(C, IX, IY, FGlyph, FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
}

void TspSkinPanel::PaintCaptionStrip(TBitmap* B) {
  const String Own = FSkinDataName;
  TRect Client;
  {
    // The strip is drawn from the "panel" description; the panel's own comes
    // back on every path.
    FSkinDataName = u"panel";
    TFinally Restore([&] {
      FSkinDataName = Own;
      GetSkinData();
    });
    GetSkinData();
    if (!Skinned()) return;
    RefreshSkinGeometry();
    if (Picture)
      CreateNineSliceImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                           B, Picture, SkinRect, Width(), Height(), true, LeftStretch, TopStretch, RightStretch,
                           BottomStretch, StretchEffect, StretchType);
    Client = NewClRect;
  }
  const Integer SW = Client.Width(), SH = FDefaultCaptionHeight - Client.Top - 1;
  if (Picture && SW > 0 && SH > 0 && CaptionRect.Width() > 2 && CaptionRect.Height() > 2) {
    const TRect Src(SkinRect.Left + CaptionRect.Left + 1, SkinRect.Top + CaptionRect.Top + 1,
                    SkinRect.Left + CaptionRect.Right - 1, SkinRect.Top + CaptionRect.Bottom - 1);
    B->Canvas()->CopyRect(TRect(Client.Left, Client.Top, Client.Left + SW, Client.Top + SH), Picture->Canvas(), Src);
  }
  NewCaptionRect = TRect(Client.Left, Client.Top, Client.Right, FDefaultCaptionHeight - 1);
  FCaptionOnly = true;
  TFinally CaptionOnly([&] { FCaptionOnly = false; });
  CreateControlSkinImage(B);
}

void TspSkinPanel::PaintGroupBox(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  TspSkinColors* SC = FSD->SkinColors();
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(SC->cBtnShadow());
  C->Brush()->SetStyle(bsClear);
  SetCaptionFont(C);
  const String Cap = Text();
  const Integer TH = C->TextHeight(Cap);
  const TRect Q(5, 0, W, TH + 5);
  NewCaptionRect = Q;
  Integer A = 5;
  if (FCheckedMode) {
    const TRect& Img = FChecked ? CheckImageRect : UnCheckImageRect;
    DrawSkinStateImage(C, Picture, Img, 5, Q.Height() / 2 - Img.Height() / 2);
    A = Img.Width() + 10;
  }
  const bool HasList = FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
                       FCaptionImageIndex < FCaptionImageList->Count();
  if (HasList) {
    FCaptionImageList->Draw(C, A, Q.Height() / 2 - FCaptionImageList->Height() / 2, FCaptionImageIndex, Enabled());
    A += FCaptionImageList->Width() + 2;
  } else if (!FGlyph->Empty()) {
    DrawStripGlyph(C, A, Q.Height() / 2 - FGlyph->Height() / 2, FGlyph, FNumGlyphs,
                   !Enabled() && FNumGlyphs == 2 ? 2 : 1);
    A += FGlyph->Width() / FNumGlyphs + 2;
  }
  const TRect T(A, 0, W, TH + 5);
  TColor TextColor = SC->cBtnText();
  const Integer LI = FSD->GetControlIndex(u"stdlabel");
  if (LI >= 0)
    if (auto* L = dynamic_cast<TspDataSkinStdLabelControl*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(LI))))
      TextColor = L->FontColor;
  C->Font()->SetColor(TextColor);
  DrawVCenteredText(C, Cap, T);
  RECT M{0, 0, 0, 0};
  if (!Cap.empty())
    DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Cap.c_str()), Integer(Cap.size()), &M,
              DT_CALCRECT | DT_SINGLELINE);
  const Integer TWd = M.right - M.left;
  if (FRollUpMode)
    DrawDirectionArrow(C, TRect(A + TWd + 3, 0, A + TWd + 10, TH + 5), TextColor, FRollUpState ? ArrowDown : ArrowUp);
  const Integer Mid = (TH + 5) / 2;
  C->Pen()->SetColor(SC->cBtnShadow());
  C->MoveTo(A + TWd + (FRollUpMode ? 12 : 3), Mid);
  C->LineTo(W, Mid);
  C->MoveTo(0, Mid);
  C->LineTo(4, Mid);
  C->Polyline({TPoint(W - 1, Mid), TPoint(W - 1, H - 1), TPoint(0, H - 1), TPoint(0, Mid)});
}

void TspSkinPanel::PaintBorderless() {
  if (!Picture || RectIsEmpty(ClRect)) return;
  const Integer W = Width(), H = Height(), TW = ClRect.Width(), TH = ClRect.Height();
  auto Tile = NewSkinBitmap(TW, TH);
  Tile->Canvas()->CopyRect(TRect(0, 0, TW, TH), Picture->Canvas(),
                           TRect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                                 SkinRect.Top + ClRect.Bottom));
  TCanvas* C = Canvas();
  if (StretchEffect) {
    switch (StretchType) {
      case spstFull:
        C->StretchDraw(TRect(0, 0, W, H), Tile.get());
        break;
      case spstHorz:
        for (Integer I = 0; I <= W / TW; ++I) C->StretchDraw(TRect(I * TW, 0, (I + 1) * TW, H), Tile.get());
        break;
      case spstVert:
        for (Integer I = 0; I <= H / TH; ++I) C->StretchDraw(TRect(0, I * TH, W, (I + 1) * TH), Tile.get());
        break;
    }
    return;
  }
  for (Integer Row = 0; Row <= H / TH; ++Row)
    for (Integer Col = 0; Col <= W / TW; ++Col) C->Draw(Col * TW, Row * TH, Tile.get());
}

void TspSkinPanel::PaintBackgroundPicture() {
  TBitmap* Pic = BackgroundPicture();
  if (!Pic || Pic->Empty()) return;
  const Integer W = Width(), H = Height(), PW = Pic->Width(), PH = Pic->Height();
  TCanvas* C = Canvas();
  if (StretchEffect) {
    switch (StretchType) {
      case spstFull:
        C->StretchDraw(NewClRect, Pic);
        break;
      case spstHorz:
        for (Integer I = 0; I <= W / PW; ++I) C->StretchDraw(TRect(I * PW, 0, (I + 1) * PW, H), Pic);
        break;
      case spstVert:
        for (Integer I = 0; I <= H / PH; ++I) C->StretchDraw(TRect(0, I * PH, W, (I + 1) * PH), Pic);
        break;
    }
    return;
  }
  for (Integer Row = 0; Row <= H / PH; ++Row)
    for (Integer Col = 0; Col <= W / PW; ++Col) C->Draw(Col * PW, Row * PH, Pic);
}

void TspSkinPanel::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  RefreshSkinGeometry();
  const Integer W = Width(), H = Height();
  switch (PanelPaintPath(Frame())) {
    case ppCaptionStrip: {
      auto B = NewSkinBitmap(W, H);
      PaintCaptionStrip(B.get());
      Canvas()->Draw(0, 0, B.get());
      return;
    }
    case ppTransparent: {
      auto B = NewSkinBitmap(W, H);
      PaintParentBackground(this, B->Canvas());
      if (FBorderStyle != bvNone) {
        TCanvas* C = B->Canvas();
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetWidth(1);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
        C->Rectangle(0, 0, W, H);
      }
      PaintTransparentContent(B->Canvas());
      Canvas()->Draw(0, 0, B.get());
      return;
    }
    case ppGroupBox: {
      auto B = NewSkinBitmap(W, H);
      PaintParentBackground(this, B->Canvas());
      PaintGroupBox(B.get());
      PaintTransparentContent(B->Canvas());
      Canvas()->Draw(0, 0, B.get());
      return;
    }
    case ppBase:
      TspSkinCustomControl::Paint();
      return;
    case ppBorderless:
      PaintBorderless();
      return;
    case ppSkinned:
      if (BackgroundPicture()) {
        PaintBackgroundPicture();
        return;
      }
      TspSkinCustomControl::Paint();
      if (FShowCaption && !Text().empty()) {
        TCanvas* C = Canvas();
        AssignFont(C->Font(), FDefaultFont);
        C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
        C->Brush()->SetStyle(bsClear);
        const String Cap = Text();
        RECT R{0, 0, W, H};
        DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Cap.c_str()), Integer(Cap.size()), &R,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
      }
      return;
  }
}

// --- input and messages

void TspSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if ((FRollUpMode || FCheckedMode) && FCaptionMode && Button == mbLeft) {
    const TRect Hit = Skinned() ? NewCaptionRect : TRect(1, 1, Width() - 1, FDefaultCaptionHeight);
    if (PointWithinRect(Hit, TPoint(X, Y))) {
      if (FCheckedMode) SetChecked(!FChecked);
      if (!*Alive) return;
      if (FRollUpMode) SetRollUpState(!FRollUpState);
      if (!*Alive) return;
    }
  }
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinPanel::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_MOVE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && FTransparentMode) {
        Repaint();
        CheckControlsBackground();
      }
      return;
    case CM_TEXTCHANGED:
      // The ShowCaption caption follows the text too.
      if (FCaptionMode || FShowCaption) Repaint();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}

// ---------------------------------------------------------------------------

TspSkinPaintPanel::TspSkinPaintPanel(TComponent* AOwner) : TspSkinPanel(AOwner) { FForceBackground = false; }

void TspSkinPaintPanel::CreateControlDefaultImage(TBitmap* B) {
  TspSkinPanel::CreateControlDefaultImage(B);
  if (OnPanelPaint) Fire(OnPanelPaint, B->Canvas(), GetSkinClientRect());
}

void TspSkinPaintPanel::CreateControlSkinImage(TBitmap* B) {
  TspSkinPanel::CreateControlSkinImage(B);
  if (OnPanelPaint) Fire(OnPanelPaint, B->Canvas(), GetSkinClientRect());
}

void TspSkinPaintPanel::PaintTransparentContent(TCanvas* Canvas) {
  if (OnPanelPaint) Fire(OnPanelPaint, Canvas, GetSkinClientRect());
}

void TspSkinPaintPanel::Dispatch(TMessage& M) {
  if (M.Msg == WM_ERASEBKGND) {
    if (!FromWMPaint && M.WParam) PaintContentTo(reinterpret_cast<HDC>(M.WParam));
    M.Result = 1;
    return;
  }
  TspSkinPanel::Dispatch(M);
}
