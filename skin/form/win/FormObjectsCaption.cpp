// The caption object: the form's caption text cut to fit, aligned, with its
// light, shadow and glow copies, over the caption's background with the fade
// or the frame animation between the inactive and active look; the quick
// buttons at its left.
#include <cstring>
#include <memory>

#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"
#include "skin/form/win/FormSkin.h"

TPoint CaptionTextPos(const TRect& TR, Integer W, Integer H, TAlignment Al, bool Centred, Integer FontHeight) {
  Integer X = TR.Left;
  if (Centred) Al = taCenter;
  if (Al == taRightJustify)
    X = TR.Right - W;
  else if (Al == taCenter)
    X = TR.Left + TR.Width() / 2 - W / 2;
  Integer Y = TR.Top + TR.Height() / 2 - H / 2;
  if (FontHeight % 2 != 0) --Y;
  return TPoint(X, Y);
}

TspSkinCaptionObject::TspSkinCaptionObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  auto* D = dynamic_cast<TspDataSkinCaption*>(AData);
  if (!D) return;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  ShadowColor = D->ShadowColor;
  ActiveShadowColor = D->ActiveShadowColor;
  Shadow = D->Shadow;
  Alignment = D->Alignment;
  TextRct = D->TextRct;
  DefaultCaption = D->DefaultCaption;
  LightColor = D->LightColor;
  ActiveLightColor = D->ActiveLightColor;
  Light = D->Light;
  StretchEffect = D->StretchEffect;
  FrameCount = D->FrameCount;
  AnimateInterval = D->AnimateInterval;
  InActiveAnimation = D->InActiveAnimation;
  FrameLeftOffset = D->FrameLeftOffset;
  FrameRightOffset = D->FrameRightOffset;
  FrameTextRect = D->FrameTextRect;
  FullFrame = D->FullFrame;
  VistaGlowEffect = D->VistaGlowEffect;
  VistaGlowInActiveEffect = D->VistaGlowInActiveEffect;
  GlowEffect = D->GlowEffect;
  GlowInActiveEffect = D->GlowInActiveEffect;
  GlowSize = D->GlowSize;
  GlowColor = D->GlowColor;
  GlowActiveColor = D->GlowActiveColor;
  GlowOffset = D->GlowOffset;
  ReflectionEffect = D->ReflectionEffect;
  ReflectionColor = D->ReflectionColor;
  ReflectionActiveColor = D->ReflectionActiveColor;
  ReflectionOffset = D->ReflectionOffset;
  DividerTransparent = D->DividerTransparent;
  DividerTransparentColor = D->DividerTransparentColor;
  QuickButtonAlphaMaskPictureIndex = D->QuickButtonAlphaMaskPictureIndex;
  // Looks cut from the active picture are gone when it is missing.
  if (ActivePicture) {
    FrameRect = D->FrameRect;
    ActiveFrameRect = D->ActiveFrameRect;
    AnimateSkinRect = D->AnimateSkinRect;
    DividerRect = D->DividerRect;
    InActiveDividerRect = D->InActiveDividerRect;
  }
  if (!AParent->SupportNCArea()) TextRct.Left += 17;
}

void TspSkinCaptionObject::SetTextValue(const String& Value) {
  FTextValue = Value;
  Parent->DrawSkinObject(this);
}

bool TspSkinCaptionObject::EnableAnimation() {
  TspSkinData* S = Parent->SkinData();
  // A strip without frames animates nothing.
  return S && !S->Empty && S->EnableSkinEffects() && !RectIsEmpty(AnimateSkinRect) && FrameCount >= 1;
}

void TspSkinCaptionObject::RepaintCaption() {
  if (Parent->CanShowLayeredBorder() && Parent->FBorderLayer->FVisible && Parent->FBorderLayer->FullBorder())
    ReDraw();
  else if (Parent->FForm->HandleAllocated())
    SendMessageW(Parent->FForm->Handle(), WM_NCPAINT, 0, 0);
}

bool TspSkinCaptionObject::QuickButtonsShown() {
  return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList() && Parent->SupportNCArea();
}

Integer TspSkinCaptionObject::StretchKind() {
  if (SkinRect.Width() == ObjectRect.Width() && SkinRect.Height() == ObjectRect.Height()) return 0;
  const TspSkinData* S = Parent->SkinData();
  if (SkinRect.Top <= S->LTPoint.Y && SkinRect.Bottom < S->RTPoint.Y) return 1;
  if (SkinRect.Top >= S->LBPoint.Y && SkinRect.Bottom > S->RBPoint.Y) return 2;
  if (SkinRect.Top <= S->LTPoint.Y && SkinRect.Bottom > S->LBPoint.Y) return 3;
  return 4;
}

TRect TspSkinCaptionObject::TextRect() {
  TRect TR = TextRct;
  if (!RectIsEmpty(TextRct)) {
    if (QuickButtonsShown()) {
      const Integer N = Parent->QuickButtons()->Count();
      const Integer IW = Parent->QuickImageList()->Width();
      if (RectIsEmpty(DividerRect))
        TR.Left += N * (IW + 8) + 5;
      else
        TR.Left += DividerRect.Width() + N * (IW + 8) + 6;
    }
    TR.Right = ObjectRect.Width() - (SkinRect.Width() - TextRct.Right);
  }
  if (!RectIsEmpty(FrameRect)) {
    TR.Top += FrameTextRect.Top;
    TR.Left += FrameTextRect.Left;
    TR.Right += FrameTextRect.Right - FrameRect.Width();
  }
  return TR;
}

void TspSkinCaptionObject::BuildBackground(TBitmap* Dest, TBitmap* P, const TRect& S, bool Horizontal) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0 || !P || RectIsEmpty(S)) return;
  Dest->SetSize(W, H);
  const TspSkinData* SDt = Parent->SkinData();
  const Integer K = StretchKind();
  const bool Coincide = SDt->RBPoint.X == SDt->LTPoint.X || SDt->RBPoint.Y == SDt->LTPoint.Y;
  if (Coincide) {
    Dest->Canvas()->CopyRect(TRect(0, 0, W, H), P->Canvas(), S);
    return;
  }
  if (Horizontal || K < 3) {
    Integer L = 0, R = 0;
    if (K == 1) {
      L = SDt->LTPoint.X - S.Left;
      R = S.Right - SDt->RTPoint.X;
    } else if (K == 2) {
      L = SDt->LBPoint.X - S.Left;
      R = S.Right - SDt->RBPoint.X;
    }
    L = std::max(L, 0);
    R = std::max(R, 0);
    if (L == 0 && R == 0)
      Dest->Canvas()->CopyRect(TRect(0, 0, W, H), P->Canvas(), S);
    else
      CreateHorzThreeSliceImage(L, R, Dest, P, S, W, H, StretchEffect);
    return;
  }
  Integer T = K == 3 ? SDt->LTPoint.Y - S.Top : SDt->RTPoint.Y - S.Top;
  Integer B = K == 3 ? S.Bottom - SDt->LBPoint.Y : S.Bottom - SDt->RBPoint.Y;
  T = std::max(T, 0);
  B = std::max(B, 0);
  CreateVertThreeSliceImage(T, B, Dest, P, S, W, H, StretchEffect);
}

TRect TspSkinCaptionObject::AnimationFrameRect(Integer Frame) {
  const TRect& A = AnimateSkinRect;
  const Integer N = std::max(FrameCount, 1);
  Frame = std::clamp(Frame, 1, N);
  if (A.Height() > SkinRect.Height()) {
    const Integer FH = A.Height() / N;
    return TRect(A.Left, A.Top + FH * (Frame - 1), A.Right, A.Top + FH * Frame);
  }
  const Integer FW = A.Width() / N;
  return TRect(A.Left + FW * (Frame - 1), A.Top, A.Left + FW * Frame, A.Bottom);
}

String TspSkinCaptionObject::CaptionText() {
  if (!DefaultCaption && !Parent->SupportNCArea()) return FTextValue;
  return Parent->FormCaptionText();
}

void TspSkinCaptionObject::PaintText(TCanvas* C, Integer DX, Integer DY, bool A, TCanvas* EventCanvas) {
  // 1. Font.
  TFont* F = C->Font();
  if (Parent->FUseSkinFontInCaption) {
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
  } else {
    F->Assign(Parent->DefCaptionFont());
  }
  F->SetColor(A ? ActiveFontColor : FontColor);
  TspSkinData* S = Parent->SkinData();
  if (S && S->ResourceStrData())
    F->SetCharset(S->ResourceStrData()->CharSet());
  else
    F->SetCharset(Parent->DefCaptionFont()->Charset());
  // 2. Text; 3. the program paints it.
  String Text = CaptionText();
  if (Parent->OnCaptionPaint) {
    Parent->OnCaptionPaint(EventCanvas ? EventCanvas : C, ObjectRect, A);
    return;
  }
  const TRect TR = TextRect();
  if (Text.empty() || RectIsEmpty(TextRct)) return;
  // 4. Cut; 5. place.
  EllipsizeWideText(C, Text, TR.Width());
  TRect M(0, 0, 0, 0);
  DrawWideText(C, Text, M, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const Integer W = M.Width(), H = M.Height();
  const TPoint Pos = CaptionTextPos(TR, W, H, Alignment, QuickButtonsShown(), F->Height());
  const Integer X = Pos.X + DX, Y = Pos.Y + DY;
  // 6. Plate.
  if (!RectIsEmpty(FrameRect) && ActivePicture) {
    const TRect Plate = (A && !RectIsEmpty(ActiveFrameRect)) ? ActiveFrameRect : FrameRect;
    auto B = NewLookImage(0, 0);
    if (FullFrame) {
      const Integer PW = ObjectRect.Width() - 2 * (S ? S->ButtonsOffset : 0);
      if (PW > 0) {
        CreateHorzThreeSliceImage(FrameLeftOffset, FrameRightOffset, B.get(), ActivePicture, Plate, PW,
                                  Plate.Height(), false);
        C->Draw(DX + (S ? S->ButtonsOffset : 0),
                Y - FrameTextRect.Top, B.get());
      }
    } else {
      const Integer PW = Plate.Width() + W - FrameTextRect.Width();
      if (PW > 0) {
        CreateHorzThreeSliceImage(FrameLeftOffset, FrameRightOffset, B.get(), ActivePicture, Plate, PW,
                                  Plate.Height(), false);
        C->Draw(X - FrameTextRect.Left, Y - FrameTextRect.Top, B.get());
      }
    }
  }
  // 7. Light and shadow copies.
  C->Brush()->SetStyle(bsClear);
  const TColor Own = F->Color();
  auto Plain = [&](Integer PX, Integer PY) {
    TRect R(PX, PY, PX + W, PY + H);
    DrawWideText(C, Text, R, DT_SINGLELINE | DT_NOPREFIX);
  };
  if (Light) {
    F->SetColor(A ? ActiveLightColor : LightColor);
    Plain(X - 1, Y - 1);
    F->SetColor(Own);
  }
  if (Shadow) {
    F->SetColor(A ? ActiveShadowColor : ShadowColor);
    Plain(X + 1, Y + 1);
    F->SetColor(Own);
  }
  // 8. The text with its effect.
  const TRect R(X, Y, X + W, Y + H);
  const UINT Flags = DT_SINGLELINE | DT_NOPREFIX;
  if (ReflectionEffect) {
    DrawReflectionText(C, R, Text, Flags, ReflectionOffset, A ? ReflectionActiveColor : ReflectionColor);
  } else if (VistaGlowEffect && (A || VistaGlowInActiveEffect)) {
    DrawVistaGlowText(C, R, Text, Flags, A ? GlowActiveColor : GlowColor);
  } else if (GlowEffect && (A || GlowInActiveEffect)) {
    DrawGlowText(C, R, Text, Flags, GlowOffset, A ? GlowActiveColor : GlowColor, GlowSize);
  } else {
    Plain(X, Y);
  }
  C->Brush()->SetStyle(bsSolid);
}

std::unique_ptr<TBitmap> TspSkinCaptionObject::Compose(TBitmap* P, const TRect& S, bool A, bool Horizontal) {
  auto B = NewLookImage(std::max(ObjectRect.Width(), 0), std::max(ObjectRect.Height(), 0));
  BuildBackground(B.get(), P, S, Horizontal);
  // The program's own painting goes onto the composed image, which is what
  // reaches the screen.
  if (!B->Empty()) PaintText(B->Canvas(), 0, 0, A, B->Canvas());
  return B;
}

void TspSkinCaptionObject::DrawImage(TCanvas* Cnvs, TBitmap* B, bool WithInActiveEffect) {
  if (!B || B->Empty()) return;
  TspSkinData* S = Parent->SkinData();
  if (WithInActiveEffect && S->AutoRenderingInActiveImage) {
    std::unique_ptr<TspEffectBmp> E(TspEffectBmp::CreateFromhWnd(B->Handle()));
    ApplyInActiveEffect(E.get(), S->InActiveEffect);
    E->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
    return;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B);
}

struct TspSkinCaptionObject::TMorphLooks {
  Integer Width = 0, Height = 0;
  String Text;
  Integer QuickButtons = -1;
  std::unique_ptr<TspEffectBmp> Normal, Active, Frame;
};

TspEffectBmp* TspSkinCaptionObject::MorphFrame() {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  const String Text = CaptionText();
  const Integer Quick = QuickButtonsShown() ? Parent->QuickButtons()->Count() : -1;
  TMorphLooks* L = FMorphLooks.get();
  if (!L || L->Width != W || L->Height != H || L->Text != Text || L->QuickButtons != Quick) {
    FMorphLooks.reset();
    auto AB = Compose(ActivePicture, ActiveSkinRect, true, false);
    auto NB = Compose(Picture, SkinRect, false, false);
    if (NB->Empty() || AB->Empty()) return nullptr;
    auto N = std::make_shared<TMorphLooks>();
    N->Width = W;
    N->Height = H;
    N->Text = Text;
    N->QuickButtons = Quick;
    N->Normal.reset(TspEffectBmp::CreateFromhWnd(NB->Handle()));
    N->Active.reset(TspEffectBmp::CreateFromhWnd(AB->Handle()));
    N->Frame.reset(TspEffectBmp::CreateCopy(N->Normal.get()));
    FMorphLooks = N;
    L = N.get();
  } else {
    GdiFlush();
    std::memcpy(L->Frame->Bits(), L->Normal->Bits(), size_t(L->Normal->Size()));
  }
  return L->Frame.get();
}

void TspSkinCaptionObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin()) return;
  Active = Parent->GetFormActive();
  const bool Animation = EnableAnimation();
  if (Animation) {
    if (!Active && !InActiveAnimation) CurrentFrame = 0;
    if (Active && CurrentFrame == 0) CurrentFrame = 1;
  }
  if (QuickButtonsShown()) PaintQuickButtons(Cnvs);
  const bool NC = Parent->SupportNCArea();
  if (Animation && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    FMorphLooks.reset();
    // The text keeps the look of the state the animation leaves.
    auto B = NewLookImage(0, 0);
    BuildBackground(B.get(), ActivePicture, AnimationFrameRect(CurrentFrame), NC);
    if (!B->Empty()) PaintText(B->Canvas(), 0, 0, !Active, B->Canvas());
    DrawImage(Cnvs, B.get(), false);
    return;
  }
  if (NC && RectIsEmpty(ActiveSkinRect)) {
    FMorphLooks.reset();
    PaintText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active, Cnvs);
    return;
  }
  const bool Fading = EnableMorphing() && FMorphKf != 0;
  if (!RectIsEmpty(ActiveSkinRect) && (Active || Fading)) {
    const bool AtRest = (Active && FMorphKf == 1) || (Active && FMorphKf == 0 && !EnableMorphing());
    if (AtRest || !EnableMorphing()) {
      FMorphLooks.reset();
      auto AB = Compose(ActivePicture, ActiveSkinRect, true, false);
      DrawImage(Cnvs, AB.get(), false);
      return;
    }
    TspEffectBmp* E1 = MorphFrame();
    if (!E1) return;
    ApplyMorph(E1, FMorphLooks->Active.get(), MorphKind, FMorphKf);
    if (!Active && Parent->SkinData()->AutoRenderingInActiveImage)
      ApplyInActiveEffect(E1, Parent->SkinData()->InActiveEffect);
    E1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
    return;
  }
  // Any other look ends a fade: its composed looks go.
  FMorphLooks.reset();
  if (UpDate) {
    auto B = Compose(Picture, SkinRect, Active, false);
    DrawImage(Cnvs, B.get(), !Active);
    return;
  }
  PaintText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active, Cnvs);
}

// ---------------------------------------------------------------------------
// Quick buttons

void TspSkinCaptionObject::PaintQuickButtons(TCanvas* C) {
  TspQuickButtonItems* Q = Parent->QuickButtons();
  TCustomImageList* IL = Parent->QuickImageList();
  const Integer IW = IL->Width(), IH = IL->Height();
  const bool Divider = !RectIsEmpty(DividerRect);
  Integer X = ObjectRect.Left + (Divider ? DividerRect.Width() + 6 : 5);
  const Integer Y = ObjectRect.Top + ObjectRect.Height() / 2 - IH / 2 - 2;
  TspSkinData* S = Parent->SkinData();
  TspDataSkinButtonControl* Face = nullptr;
  for (const Char* Name : {u"officequickbutton", u"resizetoolbutton"}) {
    const Integer I = S->GetControlIndex(Name);
    if (I != -1 && !Face) Face = dynamic_cast<TspDataSkinButtonControl*>(static_cast<TObject*>(S->CtrlList->Items(I)));
  }
  TBitmap* FacePicture = nullptr;
  if (Face && Face->PictureIndex >= 0 && Face->PictureIndex < S->FActivePictures->Count())
    FacePicture = static_cast<TBitmap*>(S->FActivePictures->Items(Face->PictureIndex));
  for (Integer I = 0; I < Q->Count(); ++I) {
    TspQuickButtonItem* It = Q->Items(I);
    if (!It->Visible()) continue;
    It->ItemRect = TRect(X, Y, X + IW + 4, Y + IH + 4);
    X += IW + 8;
    if (It->ImageIndex() < 0) continue;
    if (It->Active && FacePicture) {
      const TRect Src = It->Down ? Face->DownSkinRect : Face->ActiveSkinRect;
      if (!RectIsEmpty(Src)) {
        auto B = NewLookImage(0, 0);
        B->SetSize(It->ItemRect.Width(), It->ItemRect.Height());
        CreateClientStretchImage(B.get(), FacePicture, Src, Face->ClRect, true);
        C->Draw(It->ItemRect.Left, It->ItemRect.Top, B.get());
      }
    }
    IL->Draw(C, It->ItemRect.Left + 2, It->ItemRect.Top + 2, It->ImageIndex(), It->Enabled());
  }
  if (Divider && ActivePicture) {
    const TRect D = (!Active && !RectIsEmpty(InActiveDividerRect)) ? InActiveDividerRect : DividerRect;
    const Integer DX = ObjectRect.Left + 3;
    const Integer DY = ObjectRect.Top + TextRct.Height() / 2 - D.Height() / 2;
    auto B = NewLookImage(D.Width(), D.Height());
    B->Canvas()->CopyRect(TRect(0, 0, D.Width(), D.Height()), ActivePicture->Canvas(), D);
    if (DividerTransparent) {
      B->SetTransparent(true);
      B->SetTransparentColor(DividerTransparentColor);
    }
    C->Draw(DX, DY, B.get());
  }
}

void TspSkinCaptionObject::TrackQuickButtons(Integer X, Integer Y) {
  TspQuickButtonItems* Q = Parent->QuickButtons();
  if (Q->Count() == 0) return;
  OldActiveQuickButton = ActiveQuickButton;
  ActiveQuickButton = -1;
  for (Integer I = 0; I < Q->Count() && ActiveQuickButton == -1; ++I) {
    TspQuickButtonItem* It = Q->Items(I);
    if (It->Enabled() && It->Visible() && PointInRect(It->ItemRect, TPoint(X, Y))) ActiveQuickButton = I;
  }
  bool Changed = ActiveQuickButton != OldActiveQuickButton;
  for (Integer I = 0; I < Q->Count(); ++I) {
    if (I == PopupMenuQuickButton) continue;
    TspQuickButtonItem* It = Q->Items(I);
    const bool A = I == ActiveQuickButton;
    if (It->Active != A) {
      It->Active = A;
      Changed = true;
    }
  }
  if (Changed) RepaintCaption();
  if (Parent->FQuickButtonsShowHint) {
    if (ActiveQuickButton != OldActiveQuickButton && ActiveQuickButton != -1 &&
        !Q->Items(ActiveQuickButton)->Hint().empty())
      Parent->ActivateObjectHint(Q->Items(ActiveQuickButton)->Hint());
    else if (Changed && ActiveQuickButton == -1)
      Parent->HideObjectHint();
  }
}

void TspSkinCaptionObject::MouseEnter() {
  FMouseIn = true;
  FireEnter();
}

void TspSkinCaptionObject::MouseLeave() {
  FMouseIn = false;
  FireLeave();
  if (QuickButtonsShown()) {
    ActiveQuickButton = OldActiveQuickButton = -1;
    TrackQuickButtons(-1, -1);
  }
}

void TspSkinCaptionObject::MouseMove(Integer X, Integer Y) {
  TspActiveSkinObject::MouseMove(X, Y);
  if (QuickButtonsShown()) TrackQuickButtons(X, Y);
}

void TspSkinCaptionObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Parent->SupportNCArea() && Parent->FNCDraggAble && Parent->WindowState() != wsMaximized)
    Parent->BeginFormDrag(X, Y);
  FireMouseDown(X, Y, Button);
  if (!QuickButtonsShown()) return;
  TspQuickButtonItems* Q = Parent->QuickButtons();
  TrackQuickButtons(X, Y);
  if (ActiveQuickButton != -1 && Button == mbLeft) {
    TspQuickButtonItem* Hot = Q->Items(ActiveQuickButton);
    Hot->Down = true;
    if (Hot->PopupMenu && PopupMenuQuickButton != ActiveQuickButton) {
      RepaintCaption();
      PopupMenuQuickButton = ActiveQuickButton;
      MouseCaptureQuickButton = -1;
      PopupQuickButtonMenu(Hot->ItemRect, Hot->PopupMenu);
    } else {
      MouseCaptureQuickButton = ActiveQuickButton;
    }
    for (Integer I = 0; I < Q->Count(); ++I)
      if (I != ActiveQuickButton) Q->Items(I)->Down = Q->Items(I)->Active = false;
    RepaintCaption();
  }
  if (ActiveQuickButton != -1) {
    TspQuickButtonItem* Hot = Q->Items(ActiveQuickButton);
    if (Hot->OnMouseDown) Hot->OnMouseDown(Hot, Button, TShiftState(), X, Y);
  }
  if (Parent->FQuickButtonsShowHint) Parent->HideObjectHint();
}

void TspSkinCaptionObject::PopupQuickButtonMenu(const TRect& R, TspSkinPopupMenu* Menu) {
  if (Parent->FLayerManager->IsVisible()) Parent->FLayerManager->Hide();
  if (Parent->FMenuLayerManager->IsVisible()) Parent->FMenuLayerManager->Hide();
  Menu->PopupFromRect(ScreenRect(R, true), false);
}

void TspSkinCaptionObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  Parent->EndFormDrag();
  Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
  if (!Parent->SupportNCArea()) return;
  TspQuickButtonItems* Q = Parent->QuickButtons();
  if (QuickButtonsShown())
    TrackQuickButtons(X, Y);
  else
    ActiveQuickButton = -1;
  if (ActiveQuickButton == -1) {
    if (MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < Q->Count()) {
      Q->Items(MouseCaptureQuickButton)->Down = false;
      Q->Items(MouseCaptureQuickButton)->Active = false;
      RepaintCaption();
    }
    MouseCaptureQuickButton = -1;
  }
  if (ActiveQuickButton == -1 || Button != mbLeft) return;
  TspQuickButtonItem* Hot = Q->Items(ActiveQuickButton);
  const bool WasDown = Hot->Down;
  for (Integer I = 0; I < Q->Count(); ++I)
    if (!(I == ActiveQuickButton && I == PopupMenuQuickButton)) Q->Items(I)->Down = false;
  MouseCaptureQuickButton = -1;
  RepaintCaption();
  if (WasDown && Hot->OnClick) Hot->OnClick(this);
}
