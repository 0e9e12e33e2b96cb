#include "foundation/app/win/HyStdCtrls.h"

#include <shellapi.h>

#include "classlib/Messages.h"
#include "foundation/app/HyLinkRules.h"

void DrawFrame3D(TCanvas* Canvas, TRect Rect, TColor TopColor, TColor BottomColor, Integer Width) {
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Rect.Bottom -= 1;
  Rect.Right -= 1;
  for (Integer i = 0; i < Width; ++i) {
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({TPoint(Rect.Left, Rect.Bottom), TPoint(Rect.Left, Rect.Top), TPoint(Rect.Right, Rect.Top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline(
        {TPoint(Rect.Right, Rect.Top), TPoint(Rect.Right, Rect.Bottom), TPoint(Rect.Left - 1, Rect.Bottom)});
    Rect = TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
  }
}

std::function<void(const String& Url)> HyOpenUrl = [](const String& Url) {
  ShellExecuteW(nullptr, L"open", reinterpret_cast<const WCHAR*>(Url.c_str()), nullptr, nullptr, SW_SHOWNORMAL);
};

// ---------------------------------------------------------------------------

ZEzEduro::ZEzEduro(TComponent* AOwner) : TLabel(AOwner) {}

void ZEzEduro::SetColorHighLight(TColor Value) {
  if (FColorHighlight == Value) return;
  FColorHighlight = Value;
  Invalidate();
}

void ZEzEduro::SetColorShadow(TColor Value) {
  if (FColorShadow == Value) return;
  FColorShadow = Value;
  Invalidate();
}

void ZEzEduro::SetActiveColor(TColor Value) {
  if (FActiveColor == Value) return;
  FActiveColor = Value;
  Invalidate();
}

void ZEzEduro::SetActiveStyle(TFontStyles Value) {
  if (FActiveStyle == Value) return;
  FActiveStyle = Value;
  Invalidate();
}

void ZEzEduro::SetUseActiveColor(bool Value) {
  if (FUseActiveColor == Value) return;
  FUseActiveColor = Value;
  Invalidate();
}

void ZEzEduro::Paint() {
  auto Alive = LivenessToken();
  if (OnBeforePaint) Fire(OnBeforePaint, this);
  if (!*Alive) return;
  TLabel::Paint();
  if (FDrawBorder) DrawFrame3D(Canvas(), ClientRect(), FColorHighlight, FColorShadow, 1);
}

void ZEzEduro::DoDrawText(TRect& Rect, UINT Flags) {
  if (Enabled() && FMouseIn && !FUrl.empty()) {
    TFont* F = Canvas()->Font();
    F->SetStyle(FActiveStyle);
    if (FUseActiveColor) F->SetColor(FActiveColor);
  }
  TLabel::DoDrawText(Rect, Flags);
}

void ZEzEduro::Click() {
  auto Alive = LivenessToken();
  TLabel::Click();
  if (!*Alive || FUrl.empty()) return;
  // Only web addresses: a forged feed row must not start a program or open
  // a file.
  if (IsWebLink(FUrl) && HyOpenUrl) HyOpenUrl(FUrl);
}

void ZEzEduro::Dispatch(TMessage& M) {
  if (M.Msg == CM_MOUSEENTER || M.Msg == CM_MOUSELEAVE) {
    TLabel::Dispatch(M);
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = M.Msg == CM_MOUSEENTER;
    if (!FUrl.empty()) Invalidate();
    return;
  }
  TLabel::Dispatch(M);
}

// ---------------------------------------------------------------------------

VIvAzovoVodivo::VIvAzovoVodivo(TComponent* AOwner) : TSpeedButton(AOwner) {
  FTimer = new TTimer(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(Cardinal(FTimerInterval));
  FTimer->SetOnTimer([this](TObject* S) { TimerTick(S); });
}

void VIvAzovoVodivo::SetColor(TColor Value) {
  FColor = Value;
  Invalidate();
}

void VIvAzovoVodivo::SetTimerInterval(Integer Value) {
  FTimerInterval = Value;
  FTimer->SetInterval(Cardinal(std::max(Value, 0)));
}

void VIvAzovoVodivo::ForgetStay() {
  FMouseEntered = false;
  FTriggerCountDo = 0;
}

void VIvAzovoVodivo::TimerTick(TObject*) {
  auto Alive = LivenessToken();
  POINT P{};
  GetCursorPos(&P);
  if (FindDragTarget(TPoint(P.x, P.y), true) != this) {
    FTimer->SetEnabled(false);
    // The stay is over whether or not the button is enabled now: a button
    // disabled during a stay must start a new one when it is entered again.
    const bool SendLeave = Enabled();
    ForgetStay();
    if (SendLeave) Perform(CM_MOUSELEAVE);
    return;
  }
  if (!Enabled() || FTriggerCountDo >= FTriggerCount) return;
  ++FTriggerCountDo;
  if (FSimulateClick) {
    if (GroupIndex() != 0 && AllowAllUp()) SetDown(!Down());
    if (OnClick) {
      Fire(OnClick, this);
      if (!*Alive) return;
    }
  }
  if (FIsTrigger && OnTimerTrigger) Fire(OnTimerTrigger, this);
}

void VIvAzovoVodivo::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case CM_MOUSEENTER:
      TSpeedButton::Dispatch(M);
      if (!*Alive || FMouseEntered) return;
      FMouseEntered = true;
      if (OnMouseEnter) Fire(OnMouseEnter, this);
      if (!*Alive || ComponentState().Contains(csDesigning)) return;
      if (FTriggerCount > 0) {
        FIsTrigger = true;
        if (OnTriggerStart) Fire(OnTriggerStart, this, FIsTrigger);
        if (!*Alive) return;
        FTriggerCountDo = 0;
      }
      FTimer->SetEnabled(true);
      return;
    case CM_MOUSELEAVE:
      TSpeedButton::Dispatch(M);
      if (!*Alive) return;
      FTimer->SetEnabled(false);
      if (OnMouseLeave) Fire(OnMouseLeave, this);
      if (*Alive) ForgetStay();
      return;
  }
  TSpeedButton::Dispatch(M);
}

void VIvAzovoVodivo::Paint() {
  if (Transparent() && Flat() && FColor != clBtnFace) {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(FColor);
    Canvas()->FillRect(ClientRect());
  }
  TSpeedButton::Paint();
}
