#include "skin/controls/win/SkinSlider.h"

#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"

namespace {

constexpr UINT_PTR StepTimer = 1;
constexpr UINT StepInterval = 400;

const Char* const ImageNames[4] = {u"SP_HTB", u"SP_HRL", u"SP_VTB", u"SP_VRL"};

bool Inside(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// Draws Src at (X, Y), its bottom-left pixel's colour transparent.
void DrawKeyed(TCanvas* C, TBitmap* Src, Integer X, Integer Y) {
  if (!Src || Src->Empty()) return;
  Src->SetTransparentColor(TColor(GetPixel(Src->Canvas()->Handle(), 0, Src->Height() - 1)));
  Src->SetTransparent(true);
  C->Draw(X, Y, Src);
  Src->SetTransparent(false);
}

}  // namespace

TspSkinCustomSlider::TspSkinCustomSlider(TComponent* AOwner) : TspSkinControl(AOwner), FRuler(new TBitmap()) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks);
  SetBounds(Left(), Top(), 150, 40);
  SetTabStop(true);
  FRuler->SetPixelFormat(pf24bit);
  for (Integer I = 0; I < 4; ++I) LoadBuiltInImage(I);
  RebuildLayout();
  FSkinDataName = u"slider";
  FCreating = false;
}

TspSkinCustomSlider::~TspSkinCustomSlider() {
  OnChange = nullptr;
  OnChanged = nullptr;
  OnDrawPoints = nullptr;
  delete FRuler;
  for (TBitmap*& B : FImages) {
    delete B;
    B = nullptr;
  }
}

void TspSkinCustomSlider::LoadBuiltInImage(Integer I) {
  if (!FImages[I]) FImages[I] = new TBitmap();
  FImages[I]->LoadFromResourceName(GetModuleHandleW(nullptr), ImageNames[I]);
}

void TspSkinCustomSlider::Loaded() {
  TspSkinControl::Loaded();
  if (auto* S = dynamic_cast<TspSkinSlider*>(this))
    for (Integer I = 0; I < 4; ++I)
      if (FUserImages & (1 << I)) {
        TBitmap Copy;
        Copy.Assign(FImages[I]);
        S->SetSliderImage(TspSliderImage(I), &Copy);
      }
}

void TspSkinCustomSlider::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FThumbImageList) FThumbImageList = nullptr;
}

void TspSkinCustomSlider::SetThumbImageList(TCustomImageList* V) {
  if (FThumbImageList) FThumbImageList->RemoveFreeNotification(this);
  FThumbImageList = V;
  if (V) V->FreeNotification(this);
  RebuildLayout();
}

// ---------------------------------------------------------------------------
// Values

void TspSkinCustomSlider::DoChange() {
  if (OnChange) OnChange(this);
}

void TspSkinCustomSlider::DoChanged() {
  if (OnChanged) OnChanged(this);
}

TspSliderScale TspSkinCustomSlider::Scale() const {
  TspSliderScale S;
  S.MinValue = FMinValue;
  S.MaxValue = FMaxValue;
  S.Increment = FIncrement;
  S.Smooth = FOptions & soSmooth;
  S.Vertical = FOrientation == soVertical;
  const TRect R = GetTrackBounds();
  const TPoint T = ThumbSize();
  S.Start = S.Vertical ? R.Top : R.Left;
  S.End = S.Vertical ? R.Bottom : R.Right;
  S.Thumb = S.Vertical ? T.Y : T.X;
  S.L = (S.Vertical ? FRuler->Height() : FRuler->Width()) - S.Thumb;
  return S;
}

void TspSkinCustomSlider::SetValue(Integer V) {
  if (V > FMaxValue) V = FMaxValue;
  if (V < FMinValue) V = FMinValue;
  const Integer Old = FValue;
  FValue = V;
  MoveThumbTo(SliderValueToPos(Scale(), V), false);
  if (V != Old) DoChange();
}

void TspSkinCustomSlider::SetRange(Integer AMin, Integer AMax) {
  const bool Loading = ComponentState().Contains(csLoading);
  if (AMin >= AMax && !Loading) return;
  FMinValue = AMin;
  FMaxValue = AMax;
  if (!Loading && AMax < AMin + FIncrement) FIncrement = AMax - AMin;
  if (FOptions & soShowPoints) Invalidate();
  auto Alive = LivenessToken();
  SetValue(FValue);
  if (*Alive) RangeChangedHook();
}

void TspSkinCustomSlider::SetMinValue(Integer V) {
  if (V != FMinValue) SetRange(V, FMaxValue);
}

void TspSkinCustomSlider::SetMaxValue(Integer V) {
  if (V != FMaxValue) SetRange(FMinValue, V);
}

void TspSkinCustomSlider::SetIncrement(Integer V) {
  if (V <= 0 || V == FIncrement) return;
  FIncrement = V;
  SetValue(FValue);
  Invalidate();
}

void TspSkinCustomSlider::SetTransparent(bool V) {
  FTransparent = V;
  Invalidate();
}

void TspSkinCustomSlider::SetOptions(TspSliderOptions V) {
  if (V == FOptions) return;
  FOptions = V;
  Invalidate();
}

void TspSkinCustomSlider::SetNumThumbStates(Integer V) {
  V = V < 2 ? 1 : 2;
  if (V == FNumThumbStates) return;
  FNumThumbStates = V;
  RebuildLayout();
}

void TspSkinCustomSlider::SetEdgeSize(Integer V) {
  TBitmap* R = FImages[FOrientation == soHorizontal ? siHRuler : siVRuler];
  const Integer Len = FOrientation == soHorizontal ? R->Width() : R->Height();
  if (V < 0 || 2 * V >= Len || V == FEdgeSize) return;
  FEdgeSize = V;
  RebuildLayout();
}

void TspSkinCustomSlider::SetOrientation(TspSliderOrientation V) {
  if (V == FOrientation) return;
  FOrientation = V;
  RebuildLayout();
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
}

void TspSkinCustomSlider::JumpTo(TspJumpMode Mode) {
  const Integer V = SliderJumpTo(Mode, FValue, FMinValue, FMaxValue, FIncrement);
  if (V != FValue) SetValue(V);
}

// ---------------------------------------------------------------------------
// Skin and layout

void TspSkinCustomSlider::GetSkinData() {
  TspSkinControl::GetSkinData();
  Picture = nullptr;
  if (!Skinned()) return;
  auto* D = dynamic_cast<TspDataSkinSlider*>(SkinDescription());
  TBitmap* P = nullptr;
  if (D && D->PictureIndex >= 0 && D->PictureIndex < FSD->FActivePictures->Count())
    P = static_cast<TBitmap*>(FSD->FActivePictures->Items(D->PictureIndex));
  const TRect& Ruler = FOrientation == soHorizontal ? (D ? D->HRulerRect : TRect()) : (D ? D->VRulerRect : TRect());
  const TRect& Thumb = FOrientation == soHorizontal ? (D ? D->HThumbRect : TRect()) : (D ? D->VThumbRect : TRect());
  // Another kind of description, no picture, or no ruler or thumb to draw:
  // the default look (nothing is kept from an earlier skin).
  if (!D || !P || RectIsEmpty(Ruler) || RectIsEmpty(Thumb) || Thumb.Width() < 2) {
    FIndex = -1;
    return;
  }
  Picture = P;
  HRulerRect = D->HRulerRect;
  HThumbRect = D->HThumbRect;
  VRulerRect = D->VRulerRect;
  VThumbRect = D->VThumbRect;
  SkinEdgeSize = D->EdgeSize;
  BGColor = D->BGColor;
  PointsColor = D->PointsColor;
}

void TspSkinCustomSlider::ChangeSkinData() { RebuildLayout(); }

TPoint TspSkinCustomSlider::ThumbSize() const {
  const bool V = FOrientation == soVertical;
  if (SkinThumb()) {
    const TRect& R = V ? VThumbRect : HThumbRect;
    return TPoint(R.Width() / 2, R.Height());
  }
  if (FThumbImageList) return TPoint(FThumbImageList->Width(), FThumbImageList->Height());
  TBitmap* B = FImages[V ? siVThumb : siHThumb];
  return TPoint(B->Width() / FNumThumbStates, B->Height());
}

TPoint TspSkinCustomSlider::TickThumbSize() const {
  const bool V = FOrientation == soVertical;
  if (SkinThumb()) {
    const TRect& R = V ? VThumbRect : HThumbRect;
    return TPoint(R.Width() / 2, R.Height());
  }
  TBitmap* B = FImages[V ? siVThumb : siHThumb];
  return TPoint(B->Width() / FNumThumbStates, B->Height());
}

void TspSkinCustomSlider::BuildRuler() {
  const bool V = FOrientation == soVertical;
  const Integer Len = std::max(0, (V ? Height() : Width()) - 12);
  FRulerStretched = false;
  if (Skinned() && Picture) {
    const TRect& R = V ? VRulerRect : HRulerRect;
    if (V) {
      FRuler->SetSize(R.Width(), Len);
      CreateVertThreeSliceImage(SkinEdgeSize, SkinEdgeSize, FRuler, Picture, R, R.Width(), Len, false);
    } else {
      FRuler->SetSize(Len, R.Height());
      CreateHorzThreeSliceImage(SkinEdgeSize, SkinEdgeSize, FRuler, Picture, R, Len, R.Height(), false);
    }
    return;
  }
  TBitmap* Img = FImages[V ? siVRuler : siHRuler];
  const Integer Cross = V ? Img->Width() : Img->Height();
  const Integer ImgLen = V ? Img->Height() : Img->Width();
  if (V)
    FRuler->SetSize(Cross, Len);
  else
    FRuler->SetSize(Len, Cross);
  if (Len <= 0 || ImgLen <= 0 || Cross <= 0) return;
  std::vector<TspRulerPiece> Pieces;
  if (!SliderRulerPieces(ImgLen, FEdgeSize, Len, Pieces)) {
    FRulerStretched = true;
    FRuler->Canvas()->StretchDraw(TRect(0, 0, FRuler->Width(), FRuler->Height()), Img);
    return;
  }
  for (const TspRulerPiece& P : Pieces) {
    if (V)
      FRuler->Canvas()->CopyRect(TRect(0, P.DestStart, Cross, P.DestStart + P.Len), Img->Canvas(),
                                 TRect(0, P.SrcStart, Cross, P.SrcStart + P.Len));
    else
      FRuler->Canvas()->CopyRect(TRect(P.DestStart, 0, P.DestStart + P.Len, Cross), Img->Canvas(),
                                 TRect(P.SrcStart, 0, P.SrcStart + P.Len, Cross));
  }
}

void TspSkinCustomSlider::RebuildLayout() {
  GetSkinData();
  const Integer Remembered = FValue;
  BuildRuler();
  const bool V = FOrientation == soVertical;
  const TPoint T = ThumbSize();
  Integer SourceW = 0;
  if (V) {
    if (SkinThumb())
      SourceW = VThumbRect.Width();
    else if (FThumbImageList)
      SourceW = FThumbImageList->Width();
    else
      SourceW = FImages[siVThumb]->Width();
    SourceW /= FNumThumbStates;
  }
  const TspSliderLayout Lo = SliderLayout(V, Width(), Height(), T.X, T.Y, FRuler->Width(), FRuler->Height(), SourceW);
  FRulerOrg = Lo.RulerOrg;
  FPointsRect = Lo.PointsRect;
  FThumbRect = TRect(Lo.ThumbOrg.X, Lo.ThumbOrg.Y, Lo.ThumbOrg.X + T.X, Lo.ThumbOrg.Y + T.Y);
  // Position the thumb for the value without announcing anything.
  FValue = Remembered;
  MoveThumbTo(SliderValueToPos(Scale(), FValue), false);
  Invalidate();
}

void TspSkinCustomSlider::InvalidateThumb() {
  if (!HandleAllocated()) return;
  RECT R{FThumbRect.Left, FThumbRect.Top, FThumbRect.Right, FThumbRect.Bottom};
  InvalidateRect(Handle(), &R, FALSE);
}

void TspSkinCustomSlider::MoveThumbTo(Integer P, bool FromDrag) {
  const TspSliderScale S = Scale();
  const Integer Base = S.Start + 6;
  const Integer Hi = Base + std::max(0, S.L);
  P = std::min(std::max(P, Base), Hi);
  const Integer NewValue = SliderPosToValue(S, P);
  Integer Snapped = SliderValueToPos(S, NewValue);
  Snapped = std::min(std::max(Snapped, Base), Hi);
  InvalidateThumb();
  const Integer W = FThumbRect.Width(), H = FThumbRect.Height();
  if (S.Vertical)
    FThumbRect = TRect(FThumbRect.Left, Snapped, FThumbRect.Left + W, Snapped + H);
  else
    FThumbRect = TRect(Snapped, FThumbRect.Top, Snapped + W, FThumbRect.Top + H);
  InvalidateThumb();
  if (FromDrag && NewValue != FValue) {
    FValue = NewValue;
    DoChange();
  }
}

// ---------------------------------------------------------------------------
// Painting

void TspSkinCustomSlider::Paint() {
  GetSkinData();
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewSkinBitmap(W, H);
  TCanvas* C = B->Canvas();
  if (FTransparent) {
    PaintParentBackground(this, C);
  } else {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Skinned() ? BGColor : Color());
    C->FillRect(TRect(0, 0, W, H));
  }
  if (!Skinned() && (FOptions & soRulerOpaque))
    C->Draw(FRulerOrg.X, FRulerOrg.Y, FRuler);
  else
    DrawKeyed(C, FRuler, FRulerOrg.X, FRulerOrg.Y);
  if ((FOptions & soShowFocus) && FFocused && !ComponentState().Contains(csDesigning)) {
    C->Pen()->SetColor(Skinned() && FSD ? FSD->SkinColors()->cBtnText() : clBlack);
    DrawDottedFocusRect(C, TRect(2, 2, W - 2, H - 2));
  }
  if (FOptions & soShowPoints) {
    if (OnDrawPoints)
      OnDrawPoints(this);
    else
      DefaultDrawPoints(FIncrement, 3, 5, C);
  }
  const bool Second = FThumbDown || !Enabled();
  const bool V = FOrientation == soVertical;
  if (SkinThumb()) {
    const TRect& R = V ? VThumbRect : HThumbRect;
    const Integer Half = R.Width() / 2;
    const TRect Frame = Second ? TRect(R.Left + Half, R.Top, R.Left + 2 * Half, R.Bottom)
                               : TRect(R.Left, R.Top, R.Left + Half, R.Bottom);
    DrawSkinStateImage(C, Picture, Frame, FThumbRect.Left, FThumbRect.Top);
  } else if (FThumbImageList) {
    const Integer I = Second ? FThumbActiveImageIndex : FThumbImageIndex;
    if (I >= 0 && I < FThumbImageList->Count()) FThumbImageList->Draw(C, FThumbRect.Left, FThumbRect.Top, I, true);
  } else {
    TBitmap* Img = FImages[V ? siVThumb : siHThumb];
    const Integer FW = Img->Width() / FNumThumbStates;
    auto T = NewSkinBitmap(FW, Img->Height());
    const Integer SX = (FNumThumbStates == 2 && Second) ? FW : 0;
    T->Canvas()->CopyRect(TRect(0, 0, FW, Img->Height()), Img->Canvas(), TRect(SX, 0, SX + FW, Img->Height()));
    if (FOptions & soThumbOpaque)
      C->Draw(FThumbRect.Left, FThumbRect.Top, T.get());
    else
      DrawKeyed(C, T.get(), FThumbRect.Left, FThumbRect.Top);
  }
  Canvas()->Draw(0, 0, B.get());
}

void TspSkinCustomSlider::DefaultDrawPoints(Integer PointsStep, Integer PointsHeight, Integer ExtremePointsHeight,
                                            TCanvas* C) {
  const TspSliderScale S = Scale();
  const TspSliderTicks T = SliderTicks(FMinValue, FMaxValue, PointsStep, S.L);
  if (T.Count <= 0) return;
  C->Pen()->SetColor(Skinned() ? PointsColor : clWindowText);
  const TPoint TS = TickThumbSize();
  Integer V = FMinValue;
  for (Integer I = 1; I <= T.Count; ++I) {
    if (I == T.Count) V = FMaxValue;
    const bool Extreme = V == FMinValue || V == FMaxValue;
    const Integer Len = Extreme ? ExtremePointsHeight : PointsHeight;
    const Integer P = SliderValueToPos(S, V);
    if (!S.Vertical) {
      const Integer X = P + TS.X / 2;
      C->MoveTo(X, FPointsRect.Top);
      C->LineTo(X, FPointsRect.Top + Len);
    } else {
      const Integer Y = P + TS.Y / 2;
      C->MoveTo(FPointsRect.Left, Y);
      C->LineTo(FPointsRect.Left + Len, Y);
    }
    V += PointsStep * T.Multiplier;
    if (V > FMaxValue) V = FMaxValue;
  }
}

// ---------------------------------------------------------------------------
// Mouse, keys, timer

TspJumpMode TspSkinCustomSlider::SideOf(const TPoint& P) const {
  if (FOrientation == soHorizontal) {
    if (P.X < FThumbRect.Left) return jmPrior;
    if (P.X >= FThumbRect.Right) return jmNext;
  } else {
    if (P.Y < FThumbRect.Top) return jmNext;
    if (P.Y >= FThumbRect.Bottom) return jmPrior;
  }
  return jmNone;
}

void TspSkinCustomSlider::Step() {
  if (SideOf(FMousePos) != FStartJump || FStartJump == jmNone) return;
  JumpTo(FStartJump);
  if (!FTimerActive && HandleAllocated()) {
    SetTimer(Handle(), StepTimer, StepInterval, nullptr);
    FTimerActive = true;
  }
}

void TspSkinCustomSlider::StopTracking() {
  if (!FTracking) return;
  if (FTimerActive && HandleAllocated()) KillTimer(Handle(), StepTimer);
  FTimerActive = false;
  FTracking = false;
  SetMouseCapture(false);
  DoChanged();
}

void TspSkinCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || (Shift & ssDouble)) return;
  if (CanFocus()) SetFocus();
  if (!*Alive) return;
  const TPoint P(X, Y);
  if (Inside(FThumbRect, P)) {
    if (!IsValueEditable()) return;
    FSliding = true;
    FThumbDown = true;
    FHit = FOrientation == soHorizontal ? X - FThumbRect.Left : Y - FThumbRect.Top;
    InvalidateThumb();
    Update();
    return;
  }
  TRect R(FRulerOrg.X, FRulerOrg.Y, FRulerOrg.X + FRuler->Width(), FRulerOrg.Y + FRuler->Height());
  if (FOrientation == soHorizontal) {
    R.Top -= 3;
    R.Bottom += 3;
  } else {
    R.Left -= 3;
    R.Right += 3;
  }
  if (!Inside(R, P) || !IsValueEditable()) return;
  SetMouseCapture(true);
  FTracking = true;
  FMousePos = P;
  FStartJump = SideOf(P);
  Step();
}

void TspSkinCustomSlider::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if ((Shift & ssLeft) && FSliding) {
    MoveThumbTo((FOrientation == soHorizontal ? X : Y) - FHit, true);
    if (!*Alive) return;
  }
  if (FTracking) FMousePos = TPoint(X, Y);
  TspSkinControl::MouseMove(Shift, X, Y);
}

void TspSkinCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  StopTracking();
  if (!*Alive) return;
  if (FSliding && Button == mbLeft) {
    FSliding = false;
    FThumbDown = false;
    InvalidateThumb();
    Update();
    DoChanged();
    if (!*Alive) return;
  }
  TspSkinControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinCustomSlider::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  if ((Shift & (ssShift | ssCtrl | ssAlt)) == 0) {
    TspJumpMode M = jmNone;
    switch (Key) {
      case VK_HOME:
        M = jmHome;
        break;
      case VK_END:
        M = jmEnd;
        break;
      case VK_LEFT:
        if (FOrientation == soHorizontal) M = jmPrior;
        break;
      case VK_RIGHT:
        if (FOrientation == soHorizontal) M = jmNext;
        break;
      case VK_UP:
        if (FOrientation == soVertical) M = jmNext;
        break;
      case VK_DOWN:
        if (FOrientation == soVertical) M = jmPrior;
        break;
    }
    if (M != jmNone && IsValueEditable()) {
      Key = 0;
      JumpTo(M);
      if (!*Alive) return;
      DoChanged();
      if (!*Alive) return;
    }
  }
  TspSkinControl::KeyDown(Key, Shift);
}

void TspSkinCustomSlider::CheckParentBackground() {
  if (FTransparent) Repaint();
}

void TspSkinCustomSlider::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_TIMER:
      if (M.WParam == StepTimer && FTracking) {
        Step();
        return;
      }
      break;
    case WM_GETDLGCODE:
      M.Result = DLGC_WANTARROWS;
      return;
    case CM_FOCUSCHANGED: {
      const bool F = HandleAllocated() && GetFocus() == Handle();
      if (F != FFocused) {
        FFocused = F;
        if (FOptions & soShowFocus) Invalidate();
      }
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinControl::Dispatch(M);
      if (!*Alive) return;
      if (FFocused != (M.Msg == WM_SETFOCUS)) {
        FFocused = M.Msg == WM_SETFOCUS;
        if (FOptions & soShowFocus) Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      TspSkinControl::Dispatch(M);
      if (*Alive) InvalidateThumb();
      return;
    case WM_SIZE:
      TspSkinControl::Dispatch(M);
      if (*Alive && !ComponentState().Contains(csLoading) && !FCreating) RebuildLayout();
      return;
    case WM_MOVE:
      TspSkinControl::Dispatch(M);
      if (*Alive && FTransparent) Invalidate();
      return;
  }
  TspSkinControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinSlider

TspSkinSlider::TspSkinSlider(TComponent* AOwner) : TspSkinCustomSlider(AOwner) {}

void TspSkinSlider::SetSliderImage(TspSliderImage Index, TBitmap* Bitmap) {
  if (!FImages[Index]) FImages[Index] = new TBitmap();
  if (Bitmap) {
    FImages[Index]->Assign(Bitmap);
    FUserImages |= TspSliderImages(1 << Index);
  } else {
    LoadBuiltInImage(Index);
    FUserImages &= TspSliderImages(~(1 << Index));
    if (!ComponentState().Contains(csLoading)) {
      const bool Thumb = Index == siHThumb || Index == siVThumb;
      SetOptions(Options() & TspSliderOptions(~(Thumb ? soThumbOpaque : soRulerOpaque)));
      Invalidate();
    }
  }
  if (!FCreating) RebuildLayout();
}
