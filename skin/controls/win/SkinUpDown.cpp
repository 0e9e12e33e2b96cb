#include "skin/controls/win/SkinUpDown.h"

#include "skin/controls/win/SkinButtons.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

void CopyArrowButtonLook(TCanvas* C, TBitmap* Picture, const TRect& R, Integer I, bool Down, bool MouseIn,
                         const TspArrowPairLooks& Looks) {
  const TRect* S = nullptr;
  if (Down && MouseIn)
    S = I == 0 ? &Looks.DownUp : &Looks.DownDown;
  else if (MouseIn)
    S = I == 0 ? &Looks.ActiveUp : &Looks.ActiveDown;
  if (S && Picture && !RectIsEmpty(*S) && !RectIsEmpty(R)) C->CopyRect(R, Picture->Canvas(), *S);
}

namespace {

constexpr UINT_PTR RepeatTimer = 1;
// The first repeat waits FirstWait, then one NextRepeat more before it steps
// (600 ms after the press); a button entered again while held repeats at
// BackRepeat.
constexpr Cardinal FirstWait = 500, NextRepeat = 100, BackRepeat = 50;

// Directions of DrawDirectionArrow: 1 left, 2 right, 3 up, 4 down.
Integer ArrowDirection(Integer Button, bool Vertical) {
  if (Vertical) return Button == 0 ? 3 : 4;
  return Button == 0 ? 2 : 1;
}

}  // namespace

TspSkinUpDown::TspSkinUpDown(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = u"hupdown";
  SetBounds(Left(), Top(), 25, 50);
}

// ---------------------------------------------------------------------------
// Values

void TspSkinUpDown::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
}

void TspSkinUpDown::SetMax(Integer Value) {
  FMax = Value;
  if (FPosition > FMax) FPosition = FMax;
}

void TspSkinUpDown::SetPosition(Integer Value) {
  if (!UpDownAccepts(FMin, FMax, Value)) return;
  FPosition = Value;
  if (!ComponentState().Contains(csDesigning) && OnChange) OnChange(this);
}

void TspSkinUpDown::SetOrientation(TUDOrientation Value) {
  FOrientation = Value;
  const TComponentState S = ComponentState();
  if (S.Contains(csDesigning) && !S.Contains(csLoading))
    FSkinDataName = Value == udVertical ? u"vupdown" : u"hupdown";
  Repaint();
}

// ---------------------------------------------------------------------------
// Skin and look

void TspSkinUpDown::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  auto* D = Skinned() ? dynamic_cast<TspDataSkinUpDownControl*>(SkinDescription()) : nullptr;
  if (Skinned() && !D) {
    // Another kind of description counts as none: the default look at the
    // control's own size.
    FIndex = -1;
    Picture = nullptr;
    MaskPicture = nullptr;
  }
  if (D) {
    UpButtonRect = D->UpButtonRect;
    ActiveUpButtonRect = D->ActiveUpButtonRect;
    DownUpButtonRect = RectIsEmpty(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
    DownButtonRect = D->DownButtonRect;
    ActiveDownButtonRect = D->ActiveDownButtonRect;
    DownDownButtonRect = RectIsEmpty(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
    LTPt = RTPt = LBPt = RBPt = TPoint(0, 0);
    ClRect = TRect();
  }
  CalcButtons();
}

void TspSkinUpDown::CalcButtons() {
  const TspUpDownButtons L = UpDownButtonLayout(Width(), Height(), FOrientation == udVertical, Skinned() && FUseSkinSize,
                                                UpButtonRect, DownButtonRect);
  for (Integer I = 0; I < 2; ++I) Buttons[I].R = L[I];
}

void TspSkinUpDown::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
}

void TspSkinUpDown::SetControlRegion() {
  if (FUseSkinSize) TspSkinCustomControl::SetControlRegion();
}

void TspSkinUpDown::CreateControlDefaultImage(TBitmap* B) {
  CalcButtons();
  TCanvas* C = B->Canvas();
  const TColor Arrow = Enabled() ? clBlack : TColor(0x808080);
  for (Integer I = 0; I < 2; ++I) {
    const TButton& P = Buttons[I];
    if (P.Down && P.MouseIn)
      FillFramedRect(C, P.R, DefaultHotFrame, DefaultDownFace);
    else if (P.MouseIn)
      FillFramedRect(C, P.R, DefaultHotFrame, DefaultHotFace);
    else
      FillFramedRect(C, P.R, clBtnShadow, clBtnFace);
    DrawDirectionArrow(C, P.R, Arrow, ArrowDirection(I, FOrientation == udVertical));
  }
}

void TspSkinUpDown::DrawResizeButtons(TBitmap* B) {
  CalcButtons();
  TspDataSkinButtonControl* D = nullptr;
  if (FSD && !FSD->Empty) {
    const Integer I = FSD->GetControlIndex(u"resizebutton");
    if (I >= 0) D = dynamic_cast<TspDataSkinButtonControl*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(I)));
  }
  for (Integer I = 0; I < 2; ++I) {
    const TButton& P = Buttons[I];
    const Integer W = P.R.Width(), H = P.R.Height();
    if (W <= 0 || H <= 0) continue;
    if (!D) {
      // No button description: a blank piece in the button's place.
      auto Blank = NewSkinBitmap(W, H);
      B->Canvas()->Draw(P.R.Left, P.R.Top, Blank.get());
      continue;
    }
    const TRect Active = RectIsEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    const TRect Pressed = RectIsEmpty(D->DownSkinRect) ? Active : D->DownSkinRect;
    const bool IsDown = P.Down && P.MouseIn;
    const TRect Src = IsDown ? Pressed : P.MouseIn ? Active : D->SkinRect;
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
    DrawToolFacePiece(B->Canvas(), P.R.Left, P.R.Top, W, H, tfsNineSlice, G, SkinPicture(D->PictureIndex), Src);
    const TColor Arrow = !Enabled() ? D->DisabledFontColor
                         : IsDown   ? D->DownFontColor
                         : P.MouseIn ? D->ActiveFontColor
                                     : D->FontColor;
    DrawDirectionArrow(B->Canvas(), P.R, Arrow, ArrowDirection(I, FOrientation == udVertical));
  }
}

void TspSkinUpDown::CreateControlSkinImage(TBitmap* B) {
  // At the control's own size each button is a stretched "resizebutton".
  if (!FUseSkinSize) {
    DrawResizeButtons(B);
    return;
  }
  TspSkinCustomControl::CreateControlSkinImage(B);
  CalcButtons();
  const TspArrowPairLooks Looks{ActiveUpButtonRect, DownUpButtonRect, ActiveDownButtonRect, DownDownButtonRect};
  for (Integer I = 0; I < 2; ++I)
    CopyArrowButtonLook(B->Canvas(), Picture, Buttons[I].R, I, Buttons[I].Down, Buttons[I].MouseIn, Looks);
}

// ---------------------------------------------------------------------------
// Mouse and repeat

void TspSkinUpDown::StartTimer(Cardinal Interval) {
  if (HandleAllocated()) SetTimer(Handle(), RepeatTimer, Interval, nullptr);
}

void TspSkinUpDown::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

void TspSkinUpDown::HitTest(Integer X, Integer Y) {
  TspUpDownButtons R = {Buttons[0].R, Buttons[1].R};
  OldActiveButton = ActiveButton;
  ActiveButton = UpDownButtonAt(R, TPoint(X, Y), CaptureButton);
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) {
    Buttons[OldActiveButton].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[OldActiveButton].Down) StopTimer();
  }
  if (ActiveButton != -1) {
    Buttons[ActiveButton].MouseIn = true;
    Buttons[1 - ActiveButton].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[ActiveButton].Down) StartTimer(BackRepeat);
  }
}

void TspSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  CalcButtons();
  HitTest(X, Y);
  if (Button == mbLeft) {
    Buttons[ActiveButton == 0 ? 1 : 0].MouseIn = false;
    if (ActiveButton != -1) {
      CaptureButton = ActiveButton;
      Buttons[CaptureButton].MouseIn = true;
      Buttons[CaptureButton].Down = true;
      Repaint();
      if (FIncrement != 0) {
        TimerMode = CaptureButton == 0 ? 2 : 1;
        WaitMode = true;
        StartTimer(FirstWait);
      }
    }
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinUpDown::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  CalcButtons();
  HitTest(X, Y);
  TspSkinCustomControl::MouseMove(Shift, X, Y);
}

void TspSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  const Integer I = CaptureButton;
  if (I != -1) {
    if (FIncrement != 0) {
      StopTimer();
      TimerMode = 0;
    }
    WaitMode = false;
    Buttons[I].Down = false;
    if (!PointWithinRect(Buttons[I].R, TPoint(X, Y))) Buttons[I].MouseIn = false;
    Repaint();
    CaptureButton = -1;
    // The captured button steps wherever the mouse is released.
    if (FIncrement != 0) SetPosition(I == 0 ? FPosition + FIncrement : FPosition - FIncrement);
    if (!*Alive) return;
    TNotifyEvent& E = I == 0 ? OnUpButtonClick : OnDownButtonClick;
    if (E) E(this);
    if (!*Alive) return;
  }
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinUpDown::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_ERASEBKGND:
      M.Result = 1;
      return;
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) CalcButtons();
      return;
    case CM_MOUSEENTER:
      ActiveButton = OldActiveButton = -1;
      TspSkinCustomControl::Dispatch(M);
      return;
    case CM_MOUSELEAVE: {
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      bool Changed = false;
      for (TButton& B : Buttons)
        if (B.MouseIn) {
          B.MouseIn = false;
          Changed = true;
        }
      if (Changed) Repaint();
      return;
    }
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive || M.WParam != RepeatTimer) return;
      if (WaitMode) {
        WaitMode = false;
        StartTimer(NextRepeat);
        return;
      }
      if (TimerMode == 2)
        SetPosition(FPosition + FIncrement);
      else if (TimerMode == 1)
        SetPosition(FPosition - FIncrement);
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
