// The track edit and its pop-up track bar.
#include "skin/boxes/win/SkinTrackEdit.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "skin/boxes/PopupPlace.h"
#include "skin/boxes/win/SkinTicks.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"

// ---------------------------------------------------------------------------
// TspSkinPopupTrackBar

TspSkinPopupTrackBar::TspSkinPopupTrackBar(TComponent* AOwner) : TspSkinTrackBar(AOwner) {
  // The designer's flags (not shown at design time, replicatable) have no
  // meaning without a designer.
  FSkinDataName = u"htrackbar";
}

void TspSkinPopupTrackBar::CreateParams(TCreateParams& P) {
  TspSkinTrackBar::CreateParams(P);
  P.Style = WS_POPUP;
  P.ExStyle = WS_EX_TOOLWINDOW;
  P.ClassStyle |= CS_SAVEBITS;
  if (IsXPOrLater()) P.ClassStyle |= CS_DROPSHADOW;
}

void TspSkinPopupTrackBar::Dispatch(TMessage& M) {
  if (M.Msg == WM_MOUSEACTIVATE) {
    M.Result = MA_NOACTIVATE;
    return;
  }
  TspSkinTrackBar::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinTrackEdit

TspSkinTrackEdit::TspSkinTrackEdit(TComponent* AOwner) : TspSkinCustomEdit(AOwner) {
  FButtonMode = true;
  StopCheck = true;
  SetText(u"0");
  StopCheck = false;
  SetBounds(Left(), Top(), 120, 20);
  FSkinDataName = u"buttonedit";
  OnButtonClick = [this](TObject* Sender) { ButtonClick(Sender); };
  FPopupTrackBar = new TspSkinPopupTrackBar(this);
  FPopupTrackBar->SetVisible(false);
  FPopupTrackBar->TrackEdit = this;
  FPopupTrackBar->SetParent(this);
  FPopupTrackBar->OnChange = [this](TObject*) {
    if (FPopupTrackBar->Value() != FValue) SetValue(FPopupTrackBar->Value());
  };
  WorkArea = [](HWND Wnd) {
    TRect R;
    GetMonitorArea(Wnd, true, R);
    return R;
  };
}

TspSkinTrackEdit::~TspSkinTrackEdit() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
}

bool TspSkinTrackEdit::IsNumText(const String& AText) { return ::IsNumText(Text(), AText, false); }

bool TspSkinTrackEdit::PopupShown() const { return FPopupTrackBar && FPopupTrackBar->Visible(); }

void TspSkinTrackEdit::SetTextChecked(const String& S) {
  if (S != Text()) SetText(S);
}

void TspSkinTrackEdit::SetValue(Integer AValue) {
  FValue = static_cast<Integer>(ClampRangeValue(AValue, FMinValue, FMaxValue));
  auto Alive = LivenessToken();
  StopCheck = true;
  SetTextChecked(IntToStr(FValue));
  if (!*Alive) return;
  if (PopupShown()) FPopupTrackBar->SetValue(FValue);
  StopCheck = false;
}

void TspSkinTrackEdit::Change() {
  if (FromEdit) return;
  auto Alive = LivenessToken();
  if (!StopCheck && IsNumText(Text())) {
    double P = 0;
    // Without a range a number beyond 32 bits is no number: Value and the
    // text stay until the field is left.
    if (ParseNumText(Text(), false, FMinValue != FMaxValue, P)) {
      const double V = ClampRangeValue(P, FMinValue, FMaxValue);
      if (V != FValue) FValue = static_cast<Integer>(V);
      if (NumTextNeedsRewrite(V, P, FMinValue, FMaxValue)) {
        FromEdit = true;
        SetText(IntToStr(FValue));
        if (!*Alive) return;
        FromEdit = false;
        SetSelStart(static_cast<Integer>(Text().size()));
      }
    }
  }
  TspSkinCustomEdit::Change();
}

void TspSkinTrackEdit::StepBy(Integer Delta) {
  if (PopupShown())
    FPopupTrackBar->SetValue(FPopupTrackBar->Value() + Delta);
  else
    SetValue(FValue + Delta);
}

void TspSkinTrackEdit::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCustomEdit::KeyDown(Key, Shift);
  if (!FSupportUpDownKeys) return;
  if (Key == VK_UP)
    StepBy(FIncrement);
  else if (Key == VK_DOWN)
    StepBy(-FIncrement);
}

void TspSkinTrackEdit::KeyPress(Char& Key) {
  if (!NumKeyAccepted(Key, Text(), TspNumKeyRules{false, true})) RefuseKey(Key);
  TspSkinCustomEdit::KeyPress(Key);
}

void TspSkinTrackEdit::ButtonClick(TObject*) {
  auto Alive = LivenessToken();
  if (!Focused()) SetFocus();
  if (!*Alive) return;
  if (PopupShown())
    HidePopup();
  else
    ShowPopup();
}

void TspSkinTrackEdit::ShowPopup() {
  TspSkinPopupTrackBar* P = FPopupTrackBar;
  const Integer PW = FTrackBarWidth > 0 ? FTrackBarWidth : Width();
  P->SetWidth(PW);
  P->SetDefaultHeight(Height());
  P->SetSkinDataName(FTrackBarSkinDataName);
  P->SetSkinData(FSD);
  P->SetMinValue(FMinValue);
  P->SetMaxValue(FMaxValue);
  P->SetValue(FValue);
  TPoint Anchor(Left(), Top());
  if (FPopupKind == tbpLeft && PW != Width()) Anchor.X = Left() + Width() - PW;
  if (Parent()) Anchor = Parent()->ClientToScreen(Anchor);
  const TRect Work = WorkArea(HandleAllocated() ? Handle() : nullptr);
  const TPoint Pos = PlacePopupBelow(Anchor, Height(), PW, P->Height(), Work);
  P->HandleNeeded();
  const bool Layered = FTrackBarAlphaBlend && IsWin2000OrLater();
  if (Layered) {
    SetWindowLongW(P->Handle(), GWL_EXSTYLE, GetWindowLongW(P->Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlphaValue(P->Handle(), FTrackBarAlphaBlendAnimation ? 0 : FTrackBarAlphaBlendValue);
  }
  SetWindowPos(P->Handle(), HWND_TOP, Pos.X, Pos.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  P->SetVisible(true);
  if (Layered && FTrackBarAlphaBlendAnimation) {
    // The fade-in: a fifteenth of the opacity (at least 1) each time more
    // than 5 ms have passed; a short blocking loop that sleeps between steps.
    Application->ProcessMessages();
    const Integer Target = FTrackBarAlphaBlendValue;
    const Integer StepSize = std::max(1, Target / 15);
    Integer Alpha = 0;
    Cardinal Last = spTickCount();
    while (Alpha < Target) {
      const Cardinal Now = spTickCount();
      if (Now - Last > 5) {
        Last = Now;
        Alpha = std::min(Target, Alpha + StepSize);
        SetWindowAlphaValue(P->Handle(), static_cast<Byte>(Alpha));
      } else {
        Sleep(1);
      }
    }
  }
}

void TspSkinTrackEdit::HidePopup() {
  if (!PopupShown()) return;
  TspSkinPopupTrackBar* P = FPopupTrackBar;
  if (P->HandleAllocated())
    SetWindowPos(P->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  P->SetVisible(false);
  if (FTrackBarAlphaBlend && IsWin2000OrLater() && P->HandleAllocated())
    SetWindowLongW(P->Handle(), GWL_EXSTYLE, GetWindowLongW(P->Handle(), GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

void TspSkinTrackEdit::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_MOUSEWHEEL:
      StepBy(static_cast<int32_t>(M.WParam) <= 0 ? FIncrement : -FIncrement);
      M.Result = 0;
      return;
    case CM_CANCELMODE: {
      // The track edit does not report cancel mode (no OnEditCancelMode).
      auto* C = reinterpret_cast<TControl*>(M.LParam);
      if (C == FPopupTrackBar) return;
      if (C == this && FButtonMode && HandleAllocated()) {
        // A press on the own edit button: its release toggles the pop-up.
        POINT P{};
        GetCursorPos(&P);
        RECT W{};
        GetWindowRect(Handle(), &W);
        CalcRects();
        if (PointInRect(ButtonRectNow(), TPoint(P.x - W.left, P.y - W.top))) return;
      }
      HidePopup();
      return;
    }
    case WM_SETFOCUS:
      TspSkinCustomEdit::Dispatch(M);
      if (!*Alive) return;
      if (FMinValue != FMaxValue)
        SetMaxLength(static_cast<Integer>(
            std::max(IntToStr(FMinValue).size(), IntToStr(FMaxValue).size())));
      return;
    case WM_KILLFOCUS:
      TspSkinCustomEdit::Dispatch(M);
      if (!*Alive) return;
      HidePopup();
      StopCheck = true;
      SetTextChecked(IntToStr(FValue));
      if (*Alive) StopCheck = false;
      return;
  }
  TspSkinCustomEdit::Dispatch(M);
}
