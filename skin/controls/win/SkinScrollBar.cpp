#include "skin/controls/win/SkinScrollBar.h"

#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"

namespace {

constexpr UINT_PTR RepeatTimer = 1;
constexpr Cardinal FirstRepeat = 500, NextRepeat = 50;

bool Inside(const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

bool IsArrowKey(WPARAM K) { return K == VK_LEFT || K == VK_UP || K == VK_RIGHT || K == VK_DOWN; }

}  // namespace

TspSkinScrollBar::TspSkinScrollBar(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = u"hscrollbar";
  SetTabStop(false);
  SetBounds(Left(), Top(), 200, 19);
  FDefaultHeight = 19;
}

// ---------------------------------------------------------------------------
// Values

void TspSkinScrollBar::SetPosition(Integer Value) {
  const Integer P = ScrollClampPosition(Range(), Value);
  if (P == FPosition) return;
  FPosition = P;
  auto Alive = LivenessToken();
  Repaint();
  if (*Alive && OnChange) OnChange(this);
}

void TspSkinScrollBar::SimplySetPosition(Integer AValue) {
  FPosition = ScrollClampPosition(Range(), AValue);
  Repaint();
}

void TspSkinScrollBar::SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize) {
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  FPosition = ScrollClampPosition(Range(), APosition);
  Repaint();
}

void TspSkinScrollBar::SetMax(Integer Value) {
  FMax = Value;
  FPosition = ScrollPositionAfterMax(Range(), FPosition);
  Repaint();
}

void TspSkinScrollBar::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
  Repaint();
}

void TspSkinScrollBar::SetPageSize(Integer Value) {
  if (ScrollPageFits(Range(), FPosition, Value)) FPageSize = Value;
  Repaint();
}

void TspSkinScrollBar::SetSmallChange(Integer Value) {
  FSmallChange = Value;
  Repaint();
}

void TspSkinScrollBar::SetLargeChange(Integer Value) {
  FLargeChange = Value;
  Repaint();
}

void TspSkinScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  FSkinDataName = Value == sbVertical ? u"vscrollbar" : u"hscrollbar";
  Repaint();
}

void TspSkinScrollBar::SetBoth(bool Value) {
  if (FBoth == Value) return;
  FBoth = Value;
  if (!ComponentState().Contains(csDesigning)) {
    if (Value) {
      FNormalSkinDataName = FSkinDataName;
      FSkinDataName = FBothSkinDataName;
    } else if (!FNormalSkinDataName.empty()) {
      FSkinDataName = FNormalSkinDataName;
    }
  }
  if (!Skinned())
    Repaint();
  else
    ChangeSkinData();
}

void TspSkinScrollBar::SetBothMarkerWidth(Integer Value) {
  if (Value < 0) return;
  FBothMarkerWidth = Value;
  if (!Skinned()) Repaint();
}

void TspSkinScrollBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

// ---------------------------------------------------------------------------
// Skin protocol

void TspSkinScrollBar::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (!Skinned()) return;
  auto* D = dynamic_cast<TspDataSkinScrollBarControl*>(SkinDescription());
  // Another kind of description, no picture or no track to run in: the
  // default look.
  if (!D || !Picture || RectIsEmpty(D->TrackArea)) {
    FIndex = -1;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  TrackArea = D->TrackArea;
  UpButtonRect = D->UpButtonRect;
  ActiveUpButtonRect = D->ActiveUpButtonRect;
  DownUpButtonRect = RectIsEmpty(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
  DownButtonRect = D->DownButtonRect;
  ActiveDownButtonRect = D->ActiveDownButtonRect;
  DownDownButtonRect = RectIsEmpty(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
  ThumbRect = D->ThumbRect;
  ActiveThumbRect = RectIsEmpty(D->ActiveThumbRect) ? ThumbRect : D->ActiveThumbRect;
  DownThumbRect = RectIsEmpty(D->DownThumbRect) ? ActiveThumbRect : D->DownThumbRect;
  ThumbOffset1 = D->ThumbOffset1;
  ThumbOffset2 = D->ThumbOffset2;
  ThumbTransparent = D->ThumbTransparent;
  ThumbTransparentColor = D->ThumbTransparentColor;
  GlyphRect = D->GlyphRect;
  ActiveGlyphRect = RectIsEmpty(D->ActiveGlyphRect) ? GlyphRect : D->ActiveGlyphRect;
  DownGlyphRect = RectIsEmpty(D->DownGlyphRect) ? ActiveGlyphRect : D->DownGlyphRect;
  GlyphTransparent = D->GlyphTransparent;
  GlyphTransparentColor = D->GlyphTransparentColor;
  ThumbStretchEffect = D->ThumbStretchEffect;
  ThumbMinSize = D->ThumbMinSize;
  ThumbMinPageSize = D->ThumbMinPageSize;
}

TspScrollLayoutIn TspSkinScrollBar::LayoutInput() const {
  TspScrollLayoutIn In;
  In.Width = Width();
  In.Height = Height();
  In.Vertical = FKind == sbVertical;
  In.Both = FBoth;
  In.BothMarkerWidth = FBothMarkerWidth;
  In.Range = Range();
  In.Position = FPosition;
  In.Skinned = Skinned();
  if (In.Skinned) {
    In.Skin.SkinRect = SkinRect;
    In.Skin.TrackArea = TrackArea;
    In.Skin.UpButtonRect = UpButtonRect;
    In.Skin.DownButtonRect = DownButtonRect;
    In.Skin.RTPt = RTPt;
    In.Skin.LBPt = LBPt;
    In.Skin.ThumbRect = ThumbRect;
    In.Skin.ThumbMinSize = ThumbMinSize;
    In.Skin.ThumbMinPageSize = ThumbMinPageSize;
  }
  return In;
}

void TspSkinScrollBar::CalcRects() {
  FLayout = ScrollCalcRects(LayoutInput());
  Offset1 = FLayout.Offset1;
  Offset2 = FLayout.Offset2;
  BOffset = FLayout.BOffset;
  NewTrackArea = FLayout.Track;
  for (Integer I = 0; I < 3; ++I) Buttons[I].R = FLayout.Parts[I];
}

void TspSkinScrollBar::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
  CalcRects();
}

void TspSkinScrollBar::CreateControlSkinImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlSkinImage(B);
  CalcRects();
  DrawButton(B->Canvas(), sbpUp);
  DrawButton(B->Canvas(), sbpDown);
  if (Enabled()) DrawSkinThumb(B);
}

void TspSkinScrollBar::CreateControlDefaultImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  FillFramedRect(C, TRect(0, 0, Width(), Height()), clBtnFace, clBtnFace);
  if (Enabled()) DrawButton(C, sbpThumb);
  DrawButton(C, sbpUp);
  DrawButton(C, sbpDown);
}

void TspSkinScrollBar::DrawButton(TCanvas* C, Integer I) {
  const TPart& P = Buttons[I];
  if (RectIsEmpty(P.R)) return;
  if (Skinned()) {
    if (I == sbpThumb) return;  // drawn by DrawSkinThumb
    const TRect& Down = I == sbpUp ? DownUpButtonRect : DownDownButtonRect;
    const TRect& Active = I == sbpUp ? ActiveUpButtonRect : ActiveDownButtonRect;
    const TRect* S = nullptr;
    if (P.Down && P.MouseIn)
      S = &Down;
    else if (P.MouseIn)
      S = &Active;
    if (!S || RectIsEmpty(*S) || !Picture) return;
    C->CopyRect(P.R, Picture->Canvas(), *S);
    return;
  }
  const bool Pressed = (P.Down && P.MouseIn) || (I == sbpThumb && (P.Down || (FCanFocused && Focused())));
  if (Pressed)
    FillFramedRect(C, P.R, DefaultHotFrame, DefaultDownFace);
  else if (P.MouseIn)
    FillFramedRect(C, P.R, DefaultHotFrame, DefaultHotFace);
  else
    FillFramedRect(C, P.R, clBtnShadow, clBtnFace);
  const bool Vertical = FKind == sbVertical;
  // Directions of DrawDirectionArrow: 1 left, 2 right, 3 up, 4 down.
  if (I == sbpUp) DrawDirectionArrow(C, P.R, clBlack, Vertical ? 4 : 2);
  if (I == sbpDown) DrawDirectionArrow(C, P.R, clBlack, Vertical ? 3 : 1);
}

void TspSkinScrollBar::DrawSkinThumb(TBitmap* B) {
  const TPart& P = Buttons[sbpThumb];
  if (RectIsEmpty(P.R) || !Picture) return;
  const bool Vertical = FKind == sbVertical;
  const bool Pressed = P.Down || Focused();
  const TRect& State = Pressed ? DownThumbRect : P.MouseIn ? ActiveThumbRect : ThumbRect;
  const TRect& Glyph = Pressed ? DownGlyphRect : P.MouseIn ? ActiveGlyphRect : GlyphRect;
  if (RectIsEmpty(State)) return;
  const Integer W = P.R.Width(), H = P.R.Height();
  auto T = NewSkinBitmap(W, H);
  if (FPageSize != 0 || ThumbMinPageSize != 0) {
    if (Vertical)
      CreateVertThreeSliceImage(ThumbOffset1, ThumbOffset2, T.get(), Picture, State, W, H, ThumbStretchEffect);
    else
      CreateHorzThreeSliceImage(ThumbOffset1, ThumbOffset2, T.get(), Picture, State, W, H, ThumbStretchEffect);
  } else {
    T->Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), State);
  }
  if (!RectIsEmpty(Glyph)) {
    auto G = NewSkinBitmap(Glyph.Width(), Glyph.Height());
    G->Canvas()->CopyRect(TRect(0, 0, Glyph.Width(), Glyph.Height()), Picture->Canvas(), Glyph);
    if (GlyphTransparent) {
      G->SetTransparentColor(GlyphTransparentColor);
      G->SetTransparent(true);
    }
    T->Canvas()->Draw(W / 2 - Glyph.Width() / 2, H / 2 - Glyph.Height() / 2, G.get());
  }
  if (AlphaBlend()) {
    auto Under = NewSkinBitmap(W, H);
    Under->Canvas()->CopyRect(TRect(0, 0, W, H), B->Canvas(), P.R);
    auto E = SkinEffectOf(T.get());
    auto EU = SkinEffectOf(Under.get());
    E->Morph(EU.get(), 1 - AlphaBlendValue() / 255.0);
    E->Draw(T->Canvas()->Handle(), 0, 0);
  }
  if (ThumbTransparent) {
    T->SetTransparentColor(ThumbTransparentColor);
    T->SetTransparent(true);
  }
  B->Canvas()->Draw(P.R.Left, P.R.Top, T.get());
}

// ---------------------------------------------------------------------------
// Repeat

void TspSkinScrollBar::StartTimer(Cardinal Interval) {
  if (HandleAllocated()) SetTimer(Handle(), RepeatTimer, Interval, nullptr);
}

void TspSkinScrollBar::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
  TimerMode = 0;
}

void TspSkinScrollBar::UpStep() {
  if (OnUpButtonClick)
    OnUpButtonClick(this);
  else
    SetPosition(FPosition + FSmallChange);
}

void TspSkinScrollBar::DownStep() {
  if (OnDownButtonClick)
    OnDownButtonClick(this);
  else
    SetPosition(FPosition - FSmallChange);
}

void TspSkinScrollBar::PageStep(bool Up) {
  auto Alive = LivenessToken();
  SetPosition(Up ? FPosition + FLargeChange : FPosition - FLargeChange);
  if (!*Alive) return;
  TNotifyEvent& E = Up ? OnPageDown : OnPageUp;
  if (E) E(this);
}

bool TspSkinScrollBar::RepeatStep() {
  switch (TimerMode) {
    case 1:
      DownStep();
      return true;
    case 2:
      UpStep();
      return true;
    case 3:
    case 4: {
      CalcRects();
      const TRect& T = Buttons[sbpThumb].R;
      const bool Vertical = FKind == sbVertical;
      const bool Beyond = TimerMode == 3 ? (Vertical ? MY < T.Top : MX < T.Left)
                                         : (Vertical ? MY > T.Bottom : MX > T.Right);
      if (!Beyond) return false;
      PageStep(TimerMode == 4);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Mouse and keys

Integer TspSkinScrollBar::PartAt(Integer X, Integer Y) const {
  for (Integer I = 0; I < 3; ++I)
    if (!RectIsEmpty(Buttons[I].R) && Inside(Buttons[I].R, X, Y)) return I;
  return -1;
}

void TspSkinScrollBar::SetHot(Integer Part, bool Hot) {
  if (Part < 0) return;
  Buttons[Part].MouseIn = Hot;
  Repaint();
}

void TspSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft) return;
  MouseD = true;
  MX = X;
  MY = Y;
  CalcRects();
  TimerMode = 0;
  WaitMode = true;
  const bool Vertical = FKind == sbVertical;
  const Integer I = PartAt(X, Y);
  if (I >= 0) {
    CaptureButton = I;
    Buttons[I].Down = true;
    Repaint();
    if (I == sbpUp || I == sbpDown) {
      if (I == sbpUp)
        UpStep();
      else
        DownStep();
      if (!*Alive) return;
      TimerMode = I == sbpUp ? 2 : 1;
      StartTimer(FirstRepeat);
    } else {
      OMPos = Vertical ? Y : X;
      OldBOffset = BOffset;
      FDown = true;
      Repaint();
    }
    return;
  }
  if (!Inside(NewTrackArea, X, Y)) return;
  const TRect& T = Buttons[sbpThumb].R;
  const bool Before = Vertical ? Y < T.Top : X < T.Left;
  SetPosition(Before ? FPosition - FLargeChange : FPosition + FLargeChange);
  if (!*Alive) return;
  TimerMode = Before ? 3 : 4;
  StartTimer(FirstRepeat);
  TNotifyEvent& E = Before ? OnPageUp : OnPageDown;
  if (E) E(this);
}

void TspSkinScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  MX = X;
  MY = Y;
  Integer Hot = PartAt(X, Y);
  if (CaptureButton != -1 && Hot != CaptureButton) Hot = -1;
  if (Hot != ActiveButton) {
    OldActiveButton = ActiveButton;
    ActiveButton = Hot;
    if (OldActiveButton != -1) {
      const bool PressedArrow = OldActiveButton != sbpThumb && Buttons[OldActiveButton].Down;
      if (PressedArrow && HandleAllocated()) KillTimer(Handle(), RepeatTimer);
      SetHot(OldActiveButton, false);
    }
    if (ActiveButton != -1) {
      const bool PressedArrow = ActiveButton != sbpThumb && Buttons[ActiveButton].Down;
      if (PressedArrow) StartTimer(NextRepeat);
      SetHot(ActiveButton, true);
    }
  }
  if (FDown) {
    CalcRects();
    const Integer D = (FKind == sbVertical ? Y : X) - OMPos + OldBOffset;
    SetPosition(ScrollOffsetToPosition(Range(), FLayout, FKind == sbVertical, D));
    if (!*Alive) return;
  }
  TspSkinCustomControl::MouseMove(Shift, X, Y);
}

void TspSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  MouseD = false;
  if (TimerMode == 3 || TimerMode == 4) StopTimer();
  const Integer I = CaptureButton;
  if (I < 0) return;
  Buttons[I].Down = false;
  Buttons[I].MouseIn = I == ActiveButton;
  if (I == sbpThumb)
    FDown = false;
  else
    StopTimer();
  CaptureButton = -1;
  Repaint();
  if (Button == mbLeft && I == sbpThumb && OnLastChange) OnLastChange(this);
}

void TspSkinScrollBar::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::KeyDown(Key, Shift);
  if (!*Alive || !FCanFocused) return;
  if (Key == VK_LEFT || Key == VK_UP)
    SetPosition(FPosition - FSmallChange);
  else if (Key == VK_RIGHT || Key == VK_DOWN)
    SetPosition(FPosition + FSmallChange);
}

// ---------------------------------------------------------------------------
// Messages

void TspSkinScrollBar::WndProc(TMessage& M) {
  if (M.Msg == WM_MOUSEWHEEL) {
    // Acted on only by a focused, focusable bar, and never passed on.
    if (FCanFocused && Focused()) {
      if (static_cast<int32_t>(M.WParam) > 0)
        SetPosition(FPosition - FSmallChange);
      else
        SetPosition(FPosition + FSmallChange);
    }
    M.Result = 0;
    return;
  }
  if (FCanFocused) {
    if (!FocusBeforePress(M, FClicksDisabled, true)) return;
  }
  TspSkinCustomControl::WndProc(M);
}

void TspSkinScrollBar::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint && M.WParam) PaintContentTo(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive || M.WParam != RepeatTimer) return;
      if (WaitMode) {
        WaitMode = false;
        StartTimer(NextRepeat);
        return;
      }
      if (!RepeatStep() && *Alive) StopTimer();
      return;
    case CM_WANTSPECIALKEY:
      TspSkinCustomControl::Dispatch(M);
      if (FCanFocused && IsArrowKey(M.WParam)) M.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && FCanFocused) Repaint();
      return;
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) Repaint();
      return;
    case CM_MOUSELEAVE:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive || ComponentState().Contains(csDesigning)) return;
      if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
        const Integer I = ActiveButton;
        ActiveButton = -1;
        SetHot(I, false);
      }
      if (MouseD && (TimerMode == 3 || TimerMode == 4)) StopTimer();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
