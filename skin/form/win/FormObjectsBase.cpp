// The base of the frame objects: construction from a description, the
// normal, active and inactive looks with the fade between them, the mask
// test, the glow layer and the mouse protocol; the user-drawn object.
#include <cmath>
#include <memory>

#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"
#include "skin/form/win/FormSkin.h"

namespace {

TBitmap* ActivePictureAt(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

std::unique_ptr<TBitmap> LookImage(Integer W, Integer H, TBitmap* Source, const TRect& R) {
  auto B = NewLookImage(W, H);
  if (Source && !RectIsEmpty(R)) B->Canvas()->CopyRect(TRect(0, 0, W, H), Source->Canvas(), R);
  return B;
}

}  // namespace

std::unique_ptr<TBitmap> NewLookImage(Integer W, Integer H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  return B;
}

void ApplyMorph(TspEffectBmp* A, TspEffectBmp* B, TMorphKind Kind, double Kf) {
  switch (Kind) {
    case mkDefault: A->Morph(B, Kf); break;
    case mkGradient: A->MorphGrad(B, Kf); break;
    case mkLeftGradient: A->MorphLeftGrad(B, Kf); break;
    case mkRightGradient: A->MorphRightGrad(B, Kf); break;
    case mkLeftSlide: A->MorphLeftSlide(B, Kf); break;
    case mkRightSlide: A->MorphRightSlide(B, Kf); break;
    case mkPush: A->MorphPush(B, Kf); break;
  }
}

void ApplyInActiveEffect(TspEffectBmp* E, TspInActiveEffect Effect) {
  switch (Effect) {
    case ieBrightness: E->ChangeBrightness(0.5); break;
    case ieDarkness: E->ChangeDarkness(0.3); break;
    case ieGrayScale: E->GrayScale(); break;
    case ieNoise: E->AddMonoNoise(50); break;
    case ieSplitBlur: E->SplitBlur(1); break;
    case ieInvert: E->Invert(); break;
  }
}

TspActiveSkinObject::TspActiveSkinObject(TspFormSkin* AParent, TspDataSkinObject* AData) : Parent(AParent) {
  SD = AParent->SkinData();
  if (!AData) return;
  IDName = AData->IDName;
  Hint = AData->Hint;
  SkinRectInAPicture = AData->SkinRectInAPicture;
  SkinRect = AData->SkinRect;
  ActiveSkinRect = AData->ActiveSkinRect;
  InActiveSkinRect = AData->InActiveSkinRect;
  Morphing = AData->Morphing;
  MorphKind = AData->MorphKind;
  CursorIndex = AData->CursorIndex;
  RollUp = AData->RollUp;
  ActivePicture = ActivePictureAt(SD, AData->ActivePictureIndex);
  if (!ActivePicture) {
    ActiveSkinRect = AData->ActiveSkinRect = TRect();
    // Every look cut from the active picture is gone with it.
    InActiveSkinRect = TRect();
  }
  ActiveMaskPicture = ActivePictureAt(SD, AData->ActiveMaskPictureIndex);
  GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
  GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
  GlowLayerOffsetX = AData->GlowLayerOffsetX;
  GlowLayerOffsetY = AData->GlowLayerOffsetY;
  GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
  ObjectRect = SkinRect;
  if (SD) Picture = RollUp ? SD->FRollUpPicture : SD->FPicture;
}

bool TspActiveSkinObject::HasSkin() const {
  TspSkinData* S = Parent->SkinData();
  return S && !S->Empty;
}

bool TspActiveSkinObject::EnableMorphing() {
  TspSkinData* S = Parent->SkinData();
  return Morphing && S && !S->Empty && !RectIsEmpty(ActiveSkinRect) && S->EnableSkinEffects() &&
         !(Parent->CanShowLayeredBorder() && Parent->FBorderLayer->FVisible && Parent->FBorderLayer->FullBorder());
}

bool TspActiveSkinObject::CanMorphing() { return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0); }

void TspActiveSkinObject::DoMorphing() {
  // Kept on the grid of tenths: sums of 0.2 in binary would leave a factor
  // a hair above 0 or below 1 and cost a sixth step.
  SetMorphKf(std::round((Active ? FMorphKf + 0.2 : FMorphKf - 0.2) * 10) / 10);
  Parent->DrawSkinObject(this);
}

void TspActiveSkinObject::ReDraw() {
  if (EnableMorphing())
    Parent->MorphTimer->SetEnabled(true);
  else
    Parent->DrawSkinObject(this);
}

void TspActiveSkinObject::CopyLook(TCanvas* Cnvs, TBitmap* Source, const TRect& R) {
  if (!Source || RectIsEmpty(R) || RectIsEmpty(ObjectRect)) return;
  Cnvs->CopyRect(ObjectRect, Source->Canvas(), R);
}

void TspActiveSkinObject::DrawTransition(TCanvas* Cnvs, TBitmap* NormalSrc, const TRect& NormalR,
                                         const TRect& ActiveR) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0 || !ActivePicture) return;
  auto B1 = LookImage(W, H, NormalSrc, NormalR);
  auto B2 = LookImage(W, H, ActivePicture, ActiveR);
  std::unique_ptr<TspEffectBmp> E1(TspEffectBmp::CreateFromhWnd(B1->Handle()));
  std::unique_ptr<TspEffectBmp> E2(TspEffectBmp::CreateFromhWnd(B2->Handle()));
  ApplyMorph(E1.get(), E2.get(), MorphKind, FMorphKf);
  E1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TspActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin()) return;
  if (Enabled && !Parent->GetFormActive() && !RectIsEmpty(InActiveSkinRect) && ActivePicture) {
    CopyLook(Cnvs, ActivePicture, InActiveSkinRect);
    return;
  }
  if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
    DrawTransition(Cnvs, NormalSource(), SkinRect, ActiveSkinRect);
    return;
  }
  if (Active && !RectIsEmpty(ActiveSkinRect)) {
    CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
    return;
  }
  if (!UpDate && !SkinRectInAPicture) return;
  CopyLook(Cnvs, NormalSource(), SkinRect);
}

bool TspActiveSkinObject::PointInMask(Integer X, Integer Y) {
  if (!HasSkin() || !ActiveMaskPicture) return true;
  if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height()) return false;
  return ColorToRGB(ActiveMaskPicture->Canvas()->Pixels(X, Y)) == 0;
}

TRect TspActiveSkinObject::ScreenRect(const TRect& R, bool WithLayeredBorder) {
  const TPoint O = Parent->FrameScreenOrigin(WithLayeredBorder);
  return TRect(R.Left + O.X, R.Top + O.Y, R.Right + O.X, R.Bottom + O.Y);
}

void TspActiveSkinObject::ShowLayerOn(TspLayerManager* Manager, bool WithLayeredBorder) {
  TspSkinData* S = Parent->SkinData();
  if (!S || S->Empty || GlowLayerPictureIndex == -1 || !IsWin2000OrLater() || !S->ShowCaptionButtonGlowFrames())
    return;
  // A glow needs both its picture and its mask among the active pictures.
  TBitmap* Image = ActivePictureAt(S, GlowLayerPictureIndex);
  TBitmap* Mask = ActivePictureAt(S, GlowLayerMaskPictureIndex);
  if (!Image || !Mask) return;
  const TRect R = ScreenRect(ObjectRect, WithLayeredBorder);
  Manager->Show(R.Left - GlowLayerOffsetX, R.Top - GlowLayerOffsetY, Image, Mask, GlowLayerAlphaBlendValue);
}

void TspActiveSkinObject::HideLayerOn(TspLayerManager* Manager) {
  TspSkinData* S = Parent->SkinData();
  if (!S || S->Empty || GlowLayerPictureIndex == -1 || !IsWin2000OrLater() || !S->ShowCaptionButtonGlowFrames())
    return;
  Manager->Hide();
}

void TspActiveSkinObject::ShowLayer() { ShowLayerOn(Parent->FLayerManager, true); }
void TspActiveSkinObject::HideLayer() { HideLayerOn(Parent->FLayerManager); }

void TspActiveSkinObject::FireMouseDown(Integer X, Integer Y, TMouseButton Button) {
  Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TspActiveSkinObject::FireMouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TspActiveSkinObject::FireEnter() { Parent->DoMouseEnterEvent(IDName); }
void TspActiveSkinObject::FireLeave() { Parent->DoMouseLeaveEvent(IDName); }

void TspActiveSkinObject::MouseDown(Integer X, Integer Y, TMouseButton Button) { FireMouseDown(X, Y, Button); }
void TspActiveSkinObject::MouseUp(Integer X, Integer Y, TMouseButton Button) { FireMouseUp(X, Y, Button); }
void TspActiveSkinObject::MouseMove(Integer X, Integer Y) { Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect); }

void TspActiveSkinObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  if (!RectIsEmpty(ActiveSkinRect)) ReDraw();
  FireEnter();
}

void TspActiveSkinObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  if (!RectIsEmpty(ActiveSkinRect)) ReDraw();
  FireLeave();
}

// The program paints the object.
void TspUserObject::Draw(TCanvas* Cnvs, bool) {
  Parent->DoPaintEvent(IDName, Cnvs, ObjectRect);
}

// ---------------------------------------------------------------------------
// Inactive client picture

TspClientInActivePanel::TspClientInActivePanel(TComponent* AOwner) : TspSkinPaintPanel(AOwner) {
  SetVisible(false);
}

TspClientInActivePanel::~TspClientInActivePanel() { delete Buffer; }

void TspClientInActivePanel::ShowPanel(TForm* AForm, TspClientInActiveEffect AEffect) {
  if (!AForm || !AForm->Visible() || !AForm->HandleAllocated()) return;
  const Integer W = AForm->ClientWidth(), H = AForm->ClientHeight();
  if (W <= 0 || H <= 0) return;
  SetVisible(false);
  SetParent(AForm);
  SetBounds(0, 0, W, H);
  delete Buffer;
  Buffer = new TspBitmap();
  Buffer->SetSize(W, H);
  // The client's pixels through a plain DC: reading them validates nothing,
  // so a repaint the form is due keeps coming.
  const HWND Wnd = AForm->Handle();
  const HDC DC = GetDC(Wnd);
  BitBlt(Buffer->DC(), 0, 0, W, H, DC, 0, 0, SRCCOPY);
  ReleaseDC(Wnd, DC);
  if (AEffect == spieBlur) {
    StackBlurBitmap(Buffer, 3);
  } else {
    TspBitmap Veil;
    Veil.SetSize(W, H);
    SendMessageW(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(Veil.DC()), 0);
    Veil.SetAlphaBlend(true);
    Veil.SetAlpha(170);
    Veil.Draw(Buffer, 0, 0);
  }
  SetVisible(true);
}

void TspClientInActivePanel::HidePanel() {
  SetVisible(false);
  delete Buffer;
  Buffer = nullptr;
}

void TspClientInActivePanel::Paint() {
  if (Buffer) Buffer->Draw(Canvas(), 0, 0);
}
