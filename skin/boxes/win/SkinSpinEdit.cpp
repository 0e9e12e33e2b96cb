// The spin edit.
#include "skin/boxes/win/SkinSpinEdit.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinUpDown.h"
#include "skin/data/SkinResStr.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

namespace {

constexpr UINT_PTR RepeatTimer = 1;
// The first repeat waits FirstWait and one NextRepeat more (600 ms); a held
// button entered again repeats at BackRepeat.
constexpr Cardinal FirstWait = 500, NextRepeat = 100, BackRepeat = 50;
// Directions of DrawDirectionArrow.
constexpr Integer ArrowUp = 3, ArrowDown = 4;

}  // namespace

TspSkinSpinEdit::TspSkinSpinEdit(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csOpaque | csDoubleClicks);
  FEdit = new TspSkinNumEdit(this);
  FEdit->SetColor(FDefaultColor);
  FEdit->Font()->Assign(DefaultFont());
  FEdit->SetParent(this);
  FEdit->SetAutoSize(false);
  FEdit->SetVisible(true);
  FEdit->OnChange = [this](TObject*) {
    FromEdit = true;
    auto Alive = LivenessToken();
    SetText(FEdit->Text());
    if (*Alive) FromEdit = false;
  };
  FEdit->OnUpClick = [this](TObject*) { Step(0); };
  FEdit->OnDownClick = [this](TObject*) { Step(1); };
  FEdit->OnKeyDown = [this](TObject* S, Word& K, TShiftState Sh) { EditKeyDown(S, K, Sh); };
  FEdit->OnKeyUp = [this](TObject* S, Word& K, TShiftState Sh) { EditKeyUp(S, K, Sh); };
  FEdit->OnKeyPress = [this](TObject* S, Char& K) { EditKeyPress(S, K); };
  FEdit->OnEnter = [this](TObject* S) { EditEnter(S); };
  FEdit->OnExit = [this](TObject* S) { EditExit(S); };
  FEdit->OnMouseEnter = [this](TObject*) {
    FMouseIn = true;
    if (!FEditFocused) {
      if (HasActiveLook()) Repaint();
      if (Skinned() && ActiveFontColor != FontColor) SetEditFontColor(ActiveFontColor);
    }
  };
  FEdit->OnMouseLeave = [this](TObject*) {
    FMouseIn = false;
    if (!FEditFocused) {
      if (HasActiveLook()) Repaint();
      if (Skinned()) SetEditFontColor(FontColor);
    }
  };
  StopCheck = true;
  SetText(u"0");
  StopCheck = false;
  SetBounds(Left(), Top(), 120, 20);
  FSkinDataName = u"spinedit";
}

TspSkinSpinEdit::~TspSkinSpinEdit() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
}

bool TspSkinSpinEdit::IsNumText(const String& AText) {
  return ::IsNumText(FEdit->Text(), AText, FValueType == TspValueType::vtFloat);
}

// ---------------------------------------------------------------------------
// Values

void TspSkinSpinEdit::SetValue(double AValue) {
  FValue = Clamp(AValue);
  const bool Saved = StopCheck;
  StopCheck = true;
  auto Alive = LivenessToken();
  if (Saved)
    FEdit->SetText(FormatValue(FValue));
  else
    SetText(FormatValue(FValue));
  if (!*Alive) return;
  StopCheck = false;
  if (!Saved) Change();
}

void TspSkinSpinEdit::SimpleSetValue(double AValue) {
  FValue = Clamp(AValue);
  StopCheck = true;
  auto Alive = LivenessToken();
  SetText(FormatValue(FValue));
  if (*Alive) StopCheck = false;
}

void TspSkinSpinEdit::SetMinValue(double AValue) {
  FMinValue = AValue;
  if (FValue < FMinValue) SetValue(FMinValue);
}

void TspSkinSpinEdit::SetMaxValue(double AValue) {
  FMaxValue = AValue;
  if (FValue > FMaxValue) SetValue(FMaxValue);
}

void TspSkinSpinEdit::SetValueType(TspValueType AValue) {
  if (FValueType != AValue) {
    FValueType = AValue;
    if (AValue == TspValueType::vtInteger) {
      FIncrement = static_cast<double>(Round(FIncrement));
      if (FIncrement == 0) FIncrement = 1.0;
    }
  }
  FEdit->Float = FValueType == TspValueType::vtFloat;
}

void TspSkinSpinEdit::SetDefaultColor(TColor AValue) {
  FDefaultColor = AValue;
  GetSkinData();
  if (!Skinned()) FEdit->SetColor(AValue);
}

void TspSkinSpinEdit::Change() {
  StopCheck = true;
  auto Alive = LivenessToken();
  if (OnChange) OnChange(this);
  if (*Alive) StopCheck = false;
}

void TspSkinSpinEdit::Step(Integer Button) {
  auto Alive = LivenessToken();
  SetValue(Button == 0 ? FValue + FIncrement : FValue - FIncrement);
  if (!*Alive) return;
  TNotifyEvent& E = Button == 0 ? OnUpButtonClick : OnDownButtonClick;
  if (E) E(this);
}

// ---------------------------------------------------------------------------
// The inner edit's events

void TspSkinSpinEdit::EditKeyDown(TObject*, Word& Key, TShiftState Shift) {
  if (OnEditKeyDown) OnEditKeyDown(this, Key, Shift);
}

void TspSkinSpinEdit::EditKeyUp(TObject*, Word& Key, TShiftState Shift) {
  if (OnEditKeyUp) OnEditKeyUp(this, Key, Shift);
}

void TspSkinSpinEdit::EditKeyPress(TObject*, Char& Key) {
  if (OnEditKeyPress) OnEditKeyPress(this, Key);
}

void TspSkinSpinEdit::SetEditFontColor(TColor C) { FEdit->Font()->SetColor(C); }

void TspSkinSpinEdit::EditEnter(TObject*) {
  auto Alive = LivenessToken();
  if (OnEditEnter) OnEditEnter(this);
  if (!*Alive) return;
  FEditFocused = true;
  if (HasActiveLook()) Repaint();
  if (Skinned() && ActiveFontColor != FontColor) SetEditFontColor(ActiveFontColor);
}

void TspSkinSpinEdit::EditExit(TObject*) {
  auto Alive = LivenessToken();
  if (OnEditExit) OnEditExit(this);
  if (!*Alive) return;
  FEditFocused = false;
  if (HasActiveLook()) Repaint();
  if (Skinned() && !FMouseIn) SetEditFontColor(FontColor);
  // A text that is not a number, or not the shown value, goes back to it.
  StopCheck = true;
  FEdit->SetText(FormatValue(FValue));
  if (*Alive) StopCheck = false;
}

// ---------------------------------------------------------------------------
// Skin and layout

void TspSkinSpinEdit::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  auto* D = Skinned() ? dynamic_cast<TspDataSkinSpinEditControl*>(SkinDescription()) : nullptr;
  if (Skinned() && !D) {
    FIndex = -1;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  if (!D) return;
  ActiveSkinRect = D->ActiveSkinRect;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  DisabledFontColor = D->DisabledFontColor;
  UpButtonRect = D->UpButtonRect;
  ActiveUpButtonRect = D->ActiveUpButtonRect;
  DownUpButtonRect = IsSkinRectEmpty(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
  DownButtonRect = D->DownButtonRect;
  ActiveDownButtonRect = D->ActiveDownButtonRect;
  DownDownButtonRect = IsSkinRectEmpty(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
  LOffset = D->LTPoint.X;
  ROffset = SkinRect.Width() - D->RTPoint.X;
}

void TspSkinSpinEdit::Layout() {
  const Integer W = Width(), H = Height();
  const Integer EH = FontCellHeight(FEdit->Font());
  if (!Skinned()) {
    Buttons[0].R = TRect(W - 17, 2, W - 2, H / 2);
    Buttons[1].R = TRect(W - 17, H / 2, W - 2, H - 2);
    FEdit->SetBounds(2, H / 2 - EH / 2, W - 19, EH);
    return;
  }
  const Integer DW = W - SkinRect.Width();
  TRect B0 = UpButtonRect, B1 = DownButtonRect;
  if (B0.Left > RTPt.X) {
    B0.Left += DW;
    B0.Right += DW;
  }
  if (B1.Left > RTPt.X) {
    B1.Left += DW;
    B1.Right += DW;
  }
  TRect T = ClRect;
  T.Right += DW;
  if (!FUseSkinSize) {
    const Integer DH = H - SkinRect.Height();
    T.Bottom += DH;
    if (B1.Bottom >= B0.Bottom) {
      // Stacked: the two halves of the pair stretched together.
      const TRect Pair(B0.Left, B0.Top, B1.Right, B1.Bottom + DH);
      const Integer Mid = Pair.Top + Pair.Height() / 2;
      B0 = TRect(Pair.Left, Pair.Top, Pair.Right, Mid);
      B1 = TRect(Pair.Left, Mid, Pair.Right, Pair.Bottom);
    } else {
      B0.Bottom += DH;
      B1.Bottom += DH;
    }
  }
  Buttons[0].R = B0;
  Buttons[1].R = B1;
  FEdit->SetBounds(T.Left, T.Top + T.Height() / 2 - EH / 2, T.Width(), EH);
}

void TspSkinSpinEdit::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) {
    TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
    return;
  }
  // Only stretched across; the height stays the control's.
  const Integer DW = AWidth - SkinRect.Width();
  NewLTPoint = LTPt;
  NewRTPoint = TPoint(RTPt.X + DW, RTPt.Y);
  NewClRect = ClRect;
  NewClRect.Right += DW;
}

void TspSkinSpinEdit::SetControlRegion() {
  if (FUseSkinSize) TspSkinCustomControl::SetControlRegion();
}

void TspSkinSpinEdit::Invalidate() {
  TspSkinCustomControl::Invalidate();
  if (Skinned()) FEdit->Invalidate();
}

void TspSkinSpinEdit::DefaultFontChanged() {
  GetSkinData();
  if (Skinned() && FUseSkinFont) return;
  FEdit->Font()->Assign(DefaultFont());
  Layout();
}

void TspSkinSpinEdit::ChangeSkinData() {
  auto Alive = LivenessToken();
  TspSkinCustomControl::ChangeSkinData();
  if (!*Alive) return;
  TFont* F = FEdit->Font();
  if (!Skinned()) {
    F->Assign(DefaultFont());
  } else if (FUseSkinFont) {
    F->SetStyle(FontStyle);
    F->SetColor(FontColor);
    F->SetHeight(FontHeight);
    F->SetName(FontName);
  } else {
    F->Assign(DefaultFont());
    F->SetColor(FontColor);
  }
  F->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  if (!Skinned()) {
    FEdit->SetEditTransparent(false);
    FEdit->SetColor(FDefaultColor);
  } else {
    FEdit->SetEditTransparent(true);
    if (FUseSkinSize) SetHeight(SkinRect.Height());
  }
  Layout();
  if (Enabled())
    F->SetColor(!Skinned() ? DefaultFont()->Color() : (FMouseIn || FEditFocused) ? ActiveFontColor : FontColor);
  else
    F->SetColor(!Skinned() ? clGrayText : DisabledFontColor);
  Repaint();
}

// ---------------------------------------------------------------------------
// Images

void TspSkinSpinEdit::CreateControlDefaultImage(TBitmap* B) {
  Layout();
  TCanvas* C = B->Canvas();
  TRect R(0, 0, Width(), Height());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(R);
  R = TRect(1, 1, R.Right - 1, R.Bottom - 1);
  C->Brush()->SetColor(clBtnFace);
  C->FrameRect(R);
  for (Integer I = 0; I < 2; ++I) {
    const TButton& P = Buttons[I];
    if (P.Down && P.MouseIn) {
      FillFramedRect(C, P.R, DefaultHotFrame, DefaultDownFace);
    } else if (P.MouseIn) {
      FillFramedRect(C, P.R, DefaultHotFrame, DefaultHotFace);
    } else {
      C->Brush()->SetColor(clBtnFace);
      C->FillRect(P.R);
    }
    DrawDirectionArrow(C, P.R, clBlack, I == 0 ? ArrowUp : ArrowDown);
  }
}

void TspSkinSpinEdit::CreateControlSkinImage(TBitmap* B) {
  Layout();
  const bool Hover = FMouseIn || FEditFocused;
  if (!FUseSkinSize) {
    if (!Picture) return;
    const TRect Src = Hover && !IsSkinRectEmpty(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
    CreateClientStretchImage(B, Picture, Src, ClRect, true);
    TspDataSkinButtonControl* D = EditButtonDescription(FSD);
    for (Integer I = 0; I < 2; ++I) {
      const TButton& P = Buttons[I];
      const Integer W = P.R.Width(), H = P.R.Height();
      if (W <= 0 || H <= 0) continue;
      auto Btn = NewSkinBitmap(W, H);
      if (D) {
        const bool IsDown = P.Down && P.MouseIn;
        DrawSkinButtonPiece(Btn->Canvas(), TRect(0, 0, W, H), FSD, D, IsDown, P.MouseIn);
        const TColor Arrow = IsDown ? D->DownFontColor : P.MouseIn ? D->ActiveFontColor : D->FontColor;
        TRect AR(0, 0, W, H);
        if (IsDown) AR = TRect(1, 2, W, H);
        DrawDirectionArrow(Btn->Canvas(), AR, Arrow, I == 0 ? ArrowUp : ArrowDown);
      }
      B->Canvas()->Draw(P.R.Left, P.R.Top, Btn.get());
    }
    return;
  }
  if (!Hover || IsSkinRectEmpty(ActiveSkinRect))
    TspSkinCustomControl::CreateControlSkinImage(B);
  else if (Picture)
    CreateHorzThreeSliceImage(LOffset, ROffset, B, Picture, ActiveSkinRect, Width(), Height(), StretchEffect);
  const TspArrowPairLooks Looks{ActiveUpButtonRect, DownUpButtonRect, ActiveDownButtonRect, DownDownButtonRect};
  for (Integer I = 0; I < 2; ++I)
    CopyArrowButtonLook(B->Canvas(), Picture, Buttons[I].R, I, Buttons[I].Down, Buttons[I].MouseIn, Looks);
}

void TspSkinSpinEdit::PaintInto(HDC DC) {
  GetSkinData();
  RefreshSkinGeometry();
  auto B = NewSkinBitmap(Width(), Height());
  if (Skinned())
    CreateControlSkinImage(B.get());
  else
    CreateControlDefaultImage(B.get());
  BitBlt(DC, 0, 0, Width(), Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
  // The inner edit's text at its place in the same device context.
  PaintChildInto(DC, FEdit);
}

// ---------------------------------------------------------------------------
// Arrow buttons

void TspSkinSpinEdit::StartTimer(Cardinal Interval) {
  if (HandleAllocated()) SetTimer(Handle(), RepeatTimer, Interval, nullptr);
}

void TspSkinSpinEdit::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

void TspSkinSpinEdit::HitTest(Integer X, Integer Y) {
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 2; ++I)
    if (PointInRect(Buttons[I].R, TPoint(X, Y))) {
      ActiveButton = I;
      break;
    }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) {
    Buttons[OldActiveButton].MouseIn = false;
    Repaint();
    if (Buttons[OldActiveButton].Down) StopTimer();
  }
  if (ActiveButton != -1) {
    Buttons[ActiveButton].MouseIn = true;
    Repaint();
    if (Buttons[ActiveButton].Down) StartTimer(BackRepeat);
  }
}

void TspSkinSpinEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  Layout();
  HitTest(X, Y);
  if (Button == mbLeft && ActiveButton != -1) {
    CaptureButton = ActiveButton;
    Buttons[CaptureButton].MouseIn = true;
    Buttons[CaptureButton].Down = true;
    Repaint();
    TimerMode = CaptureButton == 0 ? 2 : 1;
    WaitMode = true;
    StartTimer(FirstWait);
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinSpinEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (*Alive) HitTest(X, Y);
}

void TspSkinSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  const Integer I = CaptureButton;
  if (I != -1) {
    StopTimer();
    TimerMode = 0;
    WaitMode = false;
    Buttons[I].Down = false;
    const bool Over = PointInRect(Buttons[I].R, TPoint(X, Y));
    if (!Over) Buttons[I].MouseIn = false;
    Repaint();
    CaptureButton = -1;
    // Only a release over the pressed button steps.
    if (Over) Step(I);
    if (!*Alive) return;
  }
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinSpinEdit::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint) PaintInto(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) Layout();
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive || M.WParam != RepeatTimer) return;
      if (WaitMode) {
        WaitMode = false;
        StartTimer(NextRepeat);
        return;
      }
      if (TimerMode == 1)
        SetValue(FValue - FIncrement);
      else if (TimerMode == 2)
        SetValue(FValue + FIncrement);
      return;
    case CM_TEXTCHANGED: {
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (!FromEdit) {
        FEdit->SetText(Text());
        if (!*Alive) return;
      }
      if (StopCheck || !IsNumText(FEdit->Text())) return;
      const bool Float = FValueType == TspValueType::vtFloat;
      double P = 0;
      // A number that cannot be read (beyond 32 bits without a range)
      // leaves Value and the text as they are.
      if (!ParseNumText(FEdit->Text(), Float, FMinValue != 0 || FMaxValue != 0, P)) return;
      const double V = Clamp(P);
      if (V != FValue) {
        FValue = V;
        Change();
        if (!*Alive) return;
      }
      if (NumTextNeedsRewrite(V, P, FMinValue, FMaxValue)) {
        StopCheck = true;
        FEdit->SetText(FormatValue(Float ? V : FValue));
        if (!*Alive) return;
        StopCheck = false;
        FEdit->SetSelStart(static_cast<Integer>(FEdit->Text().size()));
      }
      return;
    }
    case CM_FOCUSCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && HandleAllocated() && GetFocus() == Handle() && FEdit->HandleAllocated()) FEdit->SetFocus();
      return;
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      GetSkinData();
      if (Enabled())
        SetEditFontColor(Skinned() ? FontColor : DefaultFont()->Color());
      else
        SetEditFontColor(Skinned() ? DisabledFontColor : clGrayText);
      return;
    case CM_MOUSEENTER:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      HitTest(-1, -1);
      if (!FEditFocused) {
        if (HasActiveLook()) {
          FMouseIn = true;
          Repaint();
        }
        if (Skinned()) SetEditFontColor(ActiveFontColor);
      }
      return;
    case CM_MOUSELEAVE: {
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      for (TButton& B : Buttons)
        if (B.MouseIn) {
          B.MouseIn = false;
          Repaint();
        }
      POINT P{};
      GetCursorPos(&P);
      const HWND Under = WindowFromPoint(P);
      if ((!FEdit->HandleAllocated() || Under != FEdit->Handle()) && !FEditFocused) {
        if (HasActiveLook()) {
          FMouseIn = false;
          Repaint();
        }
        if (Skinned()) SetEditFontColor(FontColor);
      }
      return;
    }
  }
  TspSkinCustomControl::Dispatch(M);
}
