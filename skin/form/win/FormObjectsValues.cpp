// Value objects of the frame: the gauge, the strip of pictures with the
// frame gauge on it, and the switch.
#include <cmath>
#include <cstdlib>
#include <memory>

#include "skin/form/win/FormSkin.h"

Integer GaugeFillPos(Integer Value, Integer Min, Integer Max, Integer Size) {
  if (Max == Min) return 0;
  const double F = static_cast<double>(Value - Min) / static_cast<double>(Max - Min);
  return static_cast<Integer>(std::nearbyint(F * Size));
}

Integer FrameOfValue(Integer Value, Integer Min, Integer Max, Integer Count) {
  if (Count < 2) return 1;
  const Integer Step = (Max - Min) / (Count - 1);
  if (Step == 0) return 1;
  // Values beyond the range show the last picture, never one past the strip.
  return std::clamp(std::abs(Value - Min) / Step + 1, 1, Count);
}

// ---------------------------------------------------------------------------
// Gauge

TspSkinGaugeObject::TspSkinGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinGauge*>(AData)) {
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    Kind = D->Kind;
  }
  FValue = MinValue;
  FProgressPos = FOldProgressPos = ProgressPos();
}

TPoint TspSkinGaugeObject::ProgressPos() const {
  if (Kind == gkHorizontal) return TPoint(GaugeFillPos(FValue, MinValue, MaxValue, SkinRect.Width()), 0);
  const Integer H = SkinRect.Height();
  // The fill grows upwards from the bottom.
  if (MaxValue == MinValue) return TPoint(0, H);
  const double F = static_cast<double>(FValue - MinValue) / static_cast<double>(MaxValue - MinValue);
  return TPoint(0, static_cast<Integer>(std::nearbyint(H * (1 - F))));
}

void TspSkinGaugeObject::SimplySetValue(Integer AValue) {
  if (AValue == FValue) return;
  FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
  FOldProgressPos = FProgressPos;
  FProgressPos = ProgressPos();
}

void TspSkinGaugeObject::SetValue(Integer AValue) {
  SimplySetValue(AValue);
  Parent->DrawSkinObject(this);
}

void TspSkinGaugeObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin()) return;
  if (FValue == MinValue && !UpDate) return;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0 || !Picture) return;
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  TCanvas* C = B->Canvas();
  C->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), SkinRect);
  if (ActivePicture && !RectIsEmpty(ActiveSkinRect)) {
    const TRect& A = ActiveSkinRect;
    if (Kind == gkHorizontal) {
      const Integer X = std::clamp(FProgressPos.X, 0, W);
      C->CopyRect(TRect(0, 0, X, H), ActivePicture->Canvas(), TRect(A.Left, A.Top, A.Left + X, A.Top + H));
    } else {
      const Integer Y = std::clamp(FProgressPos.Y, 0, H);
      C->CopyRect(TRect(0, Y, W, H), ActivePicture->Canvas(), TRect(A.Left, A.Top + Y, A.Left + W, A.Top + H));
    }
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinGaugeObject::MouseEnter() {
  FMouseIn = Active = true;
  FireEnter();
}

void TspSkinGaugeObject::MouseLeave() {
  FMouseIn = Active = false;
  FireLeave();
}

// ---------------------------------------------------------------------------
// Strip of pictures

TspSkinFrameObject::TspSkinFrameObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinFrameGaugeObject*>(AData)) {
    CountFrames = D->CountFrames;
    FramesPlacement = D->FramesPlacement;
  }
  if (CountFrames > 0) {
    if (FramesPlacement == fpHorizontal) {
      FrameW = ActiveSkinRect.Width() / CountFrames;
      FrameH = ActiveSkinRect.Height();
    } else {
      FrameH = ActiveSkinRect.Height() / CountFrames;
      FrameW = ActiveSkinRect.Width();
    }
  }
}

void TspSkinFrameObject::SetFrame(Integer Value) {
  if (Value >= 1 && Value < CountFrames) FFrame = Value;
  Parent->DrawSkinObject(this);
}

TRect TspSkinFrameObject::FrameRect(Integer N) const {
  const TRect& A = ActiveSkinRect;
  N = std::clamp(N, 1, std::max(CountFrames, 1));
  if (FramesPlacement == fpHorizontal) return TRect(A.Left + FrameW * (N - 1), A.Top, A.Left + FrameW * N, A.Top + FrameH);
  return TRect(A.Left, A.Top + FrameH * (N - 1), A.Left + FrameW, A.Top + FrameH * N);
}

void TspSkinFrameObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin() || CountFrames < 1) return;
  CopyLook(Cnvs, ActivePicture, FrameRect(FFrame));
}

TspSkinFrameGaugeObject::TspSkinFrameGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspSkinFrameObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinFrameGaugeObject*>(AData)) {
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
  }
}

void TspSkinFrameGaugeObject::SimplySetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
}

void TspSkinFrameGaugeObject::SetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
  Parent->DrawSkinObject(this);
}

void TspSkinFrameGaugeObject::Draw(TCanvas* Cnvs, bool UpDate) {
  FFrame = FrameOfValue(FValue, MinValue, MaxValue, CountFrames);
  TspSkinFrameObject::Draw(Cnvs, UpDate);
}

void TspSkinFrameGaugeObject::MouseEnter() {
  FMouseIn = Active = true;
  FireEnter();
}

void TspSkinFrameGaugeObject::MouseLeave() {
  FMouseIn = Active = false;
  FireLeave();
}

// ---------------------------------------------------------------------------
// Switch

void TspSkinSwitchObject::SetState(spobj::TSwitchState Value) {
  FState = Value;
  Active = Value == spobj::swsOn;
  ReDraw();
  Parent->DoSwitchChangeStateEvent(IDName, FState);
}

void TspSkinSwitchObject::SimpleSetState(spobj::TSwitchState Value) {
  FState = Value;
  Active = Value == spobj::swsOn;
  if (Active) SetMorphKf(1);
}

void TspSkinSwitchObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (Button == mbLeft) SetState(FState == spobj::swsOn ? spobj::swsOff : spobj::swsOn);
  FireMouseDown(X, Y, Button);
}

// The switch's look follows its state, not the pointer.
void TspSkinSwitchObject::MouseEnter() {
  FMouseIn = true;
  FireEnter();
}

void TspSkinSwitchObject::MouseLeave() {
  FMouseIn = false;
  FireLeave();
}
