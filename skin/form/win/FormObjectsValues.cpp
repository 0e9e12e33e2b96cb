// Value objects of the frame: the gauge, the strip of pictures with the
// frame gauge on it, and the switch.
#include <algorithm>
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
  auto B = NewLookImage(W, H);
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

// ---------------------------------------------------------------------------
// Track bar

TspSkinTrackBarObject::TspSkinTrackBarObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinTrackBar*>(AData)) {
    if (ActivePicture) {
      ButtonRect = D->ButtonRect;
      ActiveButtonRect = D->ActiveButtonRect;
    }
    BeginPoint = D->BeginPoint;
    EndPoint = D->EndPoint;
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    MouseDownChangeValue = D->MouseDownChangeValue;
    ButtonTransparent = D->ButtonTransparent;
    ButtonTransparentColor = D->ButtonTransparentColor;
  }
  TrackKind = std::abs(BeginPoint.Y - EndPoint.Y) < std::abs(BeginPoint.X - EndPoint.X) ? tkHorizontal : tkVertical;
  FValue = MinValue;
  FButtonPos = FOldButtonPos = PosOfValue(FValue);
}

TPoint TspSkinTrackBarObject::PosOfValue(Integer AValue) const {
  // A range of 0 keeps the thumb at its start.
  const double F = MaxValue == MinValue ? 0.0 : double(AValue - MinValue) / double(MaxValue - MinValue);
  if (TrackKind == tkHorizontal)
    return TPoint(BeginPoint.X + static_cast<Integer>(std::nearbyint(F * (EndPoint.X - BeginPoint.X))), BeginPoint.Y);
  return TPoint(BeginPoint.X, EndPoint.Y + static_cast<Integer>(std::nearbyint((1 - F) * (BeginPoint.Y - EndPoint.Y))));
}

Integer TspSkinTrackBarObject::ValueOfPos(const TPoint& P) const {
  double F = 0;
  if (TrackKind == tkHorizontal) {
    if (EndPoint.X != BeginPoint.X) F = double(P.X - BeginPoint.X) / double(EndPoint.X - BeginPoint.X);
  } else if (BeginPoint.Y != EndPoint.Y) {
    F = 1 - double(P.Y - EndPoint.Y) / double(BeginPoint.Y - EndPoint.Y);
  }
  return MinValue + static_cast<Integer>(std::nearbyint((MaxValue - MinValue) * F));
}

TRect TspSkinTrackBarObject::ThumbRect(const TPoint& P) const {
  const Integer W = ButtonRect.Width(), H = ButtonRect.Height();
  return TRect(P.X - W / 2, P.Y - H / 2, P.X - W / 2 + W, P.Y - H / 2 + H);
}

void TspSkinTrackBarObject::MoveThumb(const TPoint& P) {
  if (P == FButtonPos) return;
  FOldButtonPos = FButtonPos;
  FButtonPos = P;
  FValue = ValueOfPos(P);
  Parent->DrawSkinObject(this);
  Parent->DoTrackBarChangeValueEvent(IDName, FValue);
}

void TspSkinTrackBarObject::SimplySetValue(Integer AValue) {
  FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
  FOldButtonPos = FButtonPos;
  FButtonPos = PosOfValue(FValue);
  Parent->DoTrackBarChangeValueEvent(IDName, FValue);
}

void TspSkinTrackBarObject::SetValue(Integer AValue) {
  if (AValue == FValue) return;
  FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
  FOldButtonPos = FButtonPos;
  FButtonPos = PosOfValue(FValue);
  Parent->DrawSkinObject(this);
  Parent->DoTrackBarChangeValueEvent(IDName, FValue);
}

void TspSkinTrackBarObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin() || !Picture) return;
  const Integer W = SkinRect.Width(), H = SkinRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewLookImage(W, H);
  TCanvas* C = B->Canvas();
  C->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), SkinRect);
  if (ActivePicture && !RectIsEmpty(ActiveSkinRect)) {
    const TRect& A = ActiveSkinRect;
    if (TrackKind == tkHorizontal) {
      const Integer X = std::clamp(FButtonPos.X, 0, W);
      C->CopyRect(TRect(0, 0, X, H), ActivePicture->Canvas(), TRect(A.Left, A.Top, A.Left + X, A.Top + H));
    } else {
      const Integer Y = std::clamp(FButtonPos.Y, 0, H);
      C->CopyRect(TRect(0, Y, W, H), ActivePicture->Canvas(), TRect(A.Left, A.Top + Y, A.Left + W, A.Top + H));
    }
  }
  const TRect& Look = (MoveActive && !RectIsEmpty(ActiveButtonRect)) ? ActiveButtonRect : ButtonRect;
  if (ActivePicture && !RectIsEmpty(Look)) {
    auto T = NewLookImage(Look.Width(), Look.Height());
    T->Canvas()->CopyRect(TRect(0, 0, Look.Width(), Look.Height()), ActivePicture->Canvas(), Look);
    if (ButtonTransparent) {
      T->SetTransparent(true);
      T->SetTransparentColor(ButtonTransparentColor);
    }
    const TRect R = ThumbRect(FButtonPos);
    C->Draw(R.Left, R.Top, T.get());
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinTrackBarObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  const TPoint P(X - ObjectRect.Left, Y - ObjectRect.Top);
  if (Button == mbLeft && PointInRect(ThumbRect(FButtonPos), P)) {
    MoveActive = true;
    FOldMPoint = P;
    if (!RectIsEmpty(ActiveButtonRect)) Parent->DrawSkinObject(this);
  } else if (Button == mbLeft && MouseDownChangeValue) {
    if (TrackKind == tkHorizontal)
      MoveThumb(TPoint(std::clamp(P.X, std::min(BeginPoint.X, EndPoint.X), std::max(BeginPoint.X, EndPoint.X)),
                       BeginPoint.Y));
    else
      MoveThumb(TPoint(BeginPoint.X,
                       std::clamp(P.Y, std::min(EndPoint.Y, BeginPoint.Y), std::max(EndPoint.Y, BeginPoint.Y))));
  }
  FireMouseDown(X, Y, Button);
}

void TspSkinTrackBarObject::MouseMove(Integer X, Integer Y) {
  const TPoint P(X - ObjectRect.Left, Y - ObjectRect.Top);
  if (MoveActive) {
    TPoint N = FButtonPos;
    bool Between;
    if (TrackKind == tkHorizontal) {
      N.X += P.X - FOldMPoint.X;
      Between = N.X >= std::min(BeginPoint.X, EndPoint.X) && N.X <= std::max(BeginPoint.X, EndPoint.X);
    } else {
      N.Y += P.Y - FOldMPoint.Y;
      Between = N.Y >= std::min(BeginPoint.Y, EndPoint.Y) && N.Y <= std::max(BeginPoint.Y, EndPoint.Y);
    }
    if (Between) MoveThumb(N);
    FOldMPoint = P;
  }
  TspActiveSkinObject::MouseMove(X, Y);
}

void TspSkinTrackBarObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (Button == mbLeft && MoveActive) {
    MoveActive = false;
    if (!RectIsEmpty(ActiveButtonRect)) Parent->DrawSkinObject(this);
  }
  FireMouseUp(X, Y, Button);
}

// ---------------------------------------------------------------------------
// Regulator: a knob or a slider drawn as one picture per value step

Integer KnobMeasure(TPoint P, Integer W, Integer H) {
  P.X = std::clamp(P.X, 0, std::max(W, 0));
  P.Y = std::clamp(P.Y, 0, std::max(H, 0));
  const Integer CX = W / 2, CY = H / 2;
  const double DX = CX - P.X, DY = CY - P.Y;
  const double R = std::sqrt(DX * DX + DY * DY);
  // The centre has no angle.
  if (R == 0) return -1;
  Integer Base;
  double S;
  if (P.X > CX && P.Y <= CY) {
    Base = 0;
    S = std::fabs(DY) / R;
  } else if (P.X <= CX && P.Y < CY) {
    Base = 90;
    S = std::fabs(DX) / R;
  } else if (P.X < CX && P.Y >= CY) {
    Base = 180;
    S = std::fabs(DY) / R;
  } else {
    Base = 270;
    S = std::fabs(DX) / R;
  }
  const Integer A = Base + static_cast<Integer>(std::trunc(std::asin(std::min(S, 1.0)) * 180.0 / 3.14159265358979323846));
  const Integer M = 270 - A;
  return M < 0 ? M + 360 : M;
}

TspSkinFrameRegulatorObject::TspSkinFrameRegulatorObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspSkinFrameObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinFrameRegulatorObject*>(AData)) {
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    CountFrames = D->CountFrames;
    FramesPlacement = D->FramesPlacement;
    Kind = D->Kind;
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
  FValue = std::clamp(0, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
}

void TspSkinFrameRegulatorObject::SimplySetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
  Parent->DoFrameRegulatorChangeValueEvent(IDName, FValue);
}

void TspSkinFrameRegulatorObject::SetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
  Parent->DrawSkinObject(this);
  Parent->DoFrameRegulatorChangeValueEvent(IDName, FValue);
}

void TspSkinFrameRegulatorObject::Draw(TCanvas* Cnvs, bool UpDate) {
  FFrame = FrameOfValue(FValue, MinValue, MaxValue, CountFrames);
  TspSkinFrameObject::Draw(Cnvs, UpDate);
}

Integer TspSkinFrameRegulatorObject::Measure(Integer X, Integer Y) const {
  const TPoint P(X - ObjectRect.Left, Y - ObjectRect.Top);
  switch (Kind) {
    case rkRound: return KnobMeasure(P, ObjectRect.Width(), ObjectRect.Height());
    case rkHorizontal: return P.X;
    case rkVertical: return -P.Y;
  }
  return 0;
}

void TspSkinFrameRegulatorObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  FDown = true;
  TempValue = FValue;
  StartV = Measure(X, Y);
  if (Kind == rkRound) OldCurV = StartV;
  FireMouseDown(X, Y, Button);
}

void TspSkinFrameRegulatorObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  FDown = false;
  FireMouseUp(X, Y, Button);
}

void TspSkinFrameRegulatorObject::MouseMove(Integer X, Integer Y) {
  if (FDown) {
    CurV = Measure(X, Y);
    if (Kind == rkRound && CurV == -1) {
      // Over the knob's centre: no angle, no step; the next angle starts afresh.
      StartV = OldCurV = -1;
    } else if (Kind == rkRound && (StartV == -1 || OldCurV == -1)) {
      StartV = OldCurV = CurV;
    } else {
      Step();
      OldCurV = CurV;
    }
  }
  TspActiveSkinObject::MouseMove(X, Y);
}

void TspSkinFrameRegulatorObject::Step() {
  bool Due = false, Up = false;
  const Integer Range = MaxValue - MinValue;
  if (Kind == rkRound) {
    const Integer N = std::max(CountFrames, 1);
    FPixInc = std::max(360 / N, 1);
    FValInc = std::max(Range / N, 1);
    if (std::abs(CurV - OldCurV) > 300) {
      // Across the six o'clock line the measure wraps: the turn goes on.
      StartV = CurV;
      Up = CurV < OldCurV;
      Due = true;
    } else if (std::abs(CurV - StartV) >= FPixInc) {
      Up = CurV >= StartV;
      Due = true;
    }
  } else {
    // A slider of fewer than two pictures has no steps.
    if (CountFrames < 2) return;
    const Integer Travel = Kind == rkHorizontal ? FrameW : FrameH;
    FPixInc = std::max(Travel / (CountFrames - 1), 1);
    FValInc = std::max(Range / (CountFrames - 1), 1);
    if (std::abs(CurV - StartV) >= FPixInc) {
      Up = CurV >= StartV;
      Due = true;
    }
  }
  if (!Due) return;
  StartV = CurV;
  TempValue = std::clamp(TempValue + (Up ? FValInc : -FValInc), std::min(MinValue, MaxValue),
                         std::max(MinValue, MaxValue));
  SetValue(TempValue);
}
