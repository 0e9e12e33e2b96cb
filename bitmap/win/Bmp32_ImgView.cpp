// The scrolled image view.
#include "bitmap/win/Bmp32_ImgView.h"

#include "classlib/Forms.h"
#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"

namespace {
bool InRect(const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
}  // namespace

// ---------------------------------------------------------------------------
// TIVScrollProperties

TIVScrollProperties::TIVScrollProperties(TCustomImgView32* AImgView) : FImgView(AImgView) {
  FMaster = AImgView->HScroll;
  FSlave = AImgView->VScroll;
}

TRBIncrement TIVScrollProperties::Increment() const { return FImgView->HScroll->Increment(); }

void TIVScrollProperties::SetIncrement(TRBIncrement Value) {
  FImgView->HScroll->SetIncrement(Value);
  FImgView->VScroll->SetIncrement(Value);
}

Integer TIVScrollProperties::Size() const { return FImgView->FScrollBarSize; }

void TIVScrollProperties::SetSize(Integer Value) {
  FImgView->FScrollBarSize = Value;
  FImgView->AlignAll();
  FImgView->UpdateImage();
}

TScrollBarVisibility TIVScrollProperties::Visibility() const { return FImgView->FScrollBarVisibility; }

void TIVScrollProperties::SetVisibility(TScrollBarVisibility Value) {
  if (Value == FImgView->FScrollBarVisibility) return;
  FImgView->FScrollBarVisibility = Value;
  FImgView->Resize();
}

void TIVScrollProperties::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TIVScrollProperties*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  SetIncrement(S->Increment());
  SetColor(S->Color());
  SetBackgnd(S->Backgnd());
  SetButtonSize(S->ButtonSize());
  SetShowArrows(S->ShowArrows());
  SetShowHandleGrip(S->ShowHandleGrip());
  SetStyle(S->Style());
  FImgView->FScrollBarSize = S->Size();
  SetVisibility(S->Visibility());
  FImgView->AlignAll();
}

// ---------------------------------------------------------------------------
// TCustomImgView32

TCustomImgView32::TCustomImgView32(TComponent* AOwner) : TCustomImage32(AOwner) {
  FScrollBarSize = GetSystemMetrics(SM_CYHSCROLL);
  HScroll = new TCustomRangeBar(this);
  HScroll->SetBorderStyle(bsNone);
  HScroll->SetCentered(true);
  HScroll->OnUserChange = [this](TObject* S) { ScrollHandler(static_cast<TCustomRangeBar*>(S)); };
  HScroll->SetParent(this);
  VScroll = new TCustomRangeBar(this);
  VScroll->SetBorderStyle(bsNone);
  VScroll->SetCentered(true);
  VScroll->SetKind(sbVertical);
  VScroll->OnUserChange = [this](TObject* S) { ScrollHandler(static_cast<TCustomRangeBar*>(S)); };
  VScroll->SetParent(this);
  FCentered = true;
  FScaleMode = smScale;
  FBitmapAlign = baCustom;
  TRect V = GetViewportRect();
  OldSzX = V.Width();
  OldSzY = V.Height();
  FScrollBars = new TIVScrollProperties(this);
  AlignAll();
}

TCustomImgView32::~TCustomImgView32() {
  delete FScrollBars;
  FScrollBars = nullptr;
  DestroyChildControls();
  HScroll = VScroll = nullptr;
}

bool TCustomImgView32::GetScrollBarsVisible() {
  if (!FScrollBars || !HScroll || !VScroll) return true;
  switch (FScrollBarVisibility) {
    case svAlways: return true;
    case svHidden: return false;
    default:
      return HScroll->EffectiveWindow() + VScroll->Width() < HScroll->Range() ||
             VScroll->EffectiveWindow() + HScroll->Height() < VScroll->Range();
  }
}

Integer TCustomImgView32::GetScrollBarSize() {
  if (!GetScrollBarsVisible()) return 0;
  return FScrollBarSize != 0 ? FScrollBarSize : GetSystemMetrics(SM_CYHSCROLL);
}

TRect TCustomImgView32::GetViewportRect() {
  Integer S = GetScrollBarSize();
  return TRect(0, 0, Width() - S, Height() - S);
}

void TCustomImgView32::AlignAll() {
  if (!HScroll || !VScroll || Width() <= 0 || Height() <= 0) return;
  TRect V = GetViewportRect();
  bool Vis = GetScrollBarsVisible();
  HScroll->SetBoundsRect(TRect(V.Left, V.Bottom, V.Right, Height()));
  VScroll->SetBoundsRect(TRect(V.Right, V.Top, Width(), V.Bottom));
  HScroll->SetVisible(Vis);
  VScroll->SetVisible(Vis);
  HScroll->Repaint();
  VScroll->Repaint();
}

void TCustomImgView32::UpdateScrollBars() {
  if (!HScroll || !VScroll) return;
  SIZE S = GetBitmapSize();
  Integer R = static_cast<Integer>(Round(2.0f * static_cast<Single>(FOverSize) * FScaleX));
  HScroll->SetRange(S.cx + R);
  VScroll->SetRange(S.cy + R);
  if (FScrollBarVisibility == svAuto) AlignAll();
}

void TCustomImgView32::UpdateImage() {
  if (!HScroll || !VScroll) return;
  SIZE S = GetBitmapSize();
  Integer D = static_cast<Integer>(Round(static_cast<Single>(FOverSize) * FScaleX));
  TRect V = GetViewportRect();
  Integer VW = V.Width(), VH = V.Height();
  {
    TUpdateLock Updating(*this);
    if (FCentered && VW > S.cx + 2 * D)
      SetOffsetHorz(static_cast<Single>(VW - S.cx) / 2);
    else
      SetOffsetHorz(static_cast<Single>(D) - HScroll->Position());
    if (FCentered && VH > S.cy + 2 * D)
      SetOffsetVert(static_cast<Single>(VH - S.cy) / 2);
    else
      SetOffsetVert(static_cast<Single>(D) - VScroll->Position());
    InvalidateCache();
  }
  Changed();
}

void TCustomImgView32::DoScroll() {
  if (OnScroll) OnScroll(this);
}

void TCustomImgView32::Scroll(Integer Dx, Integer Dy) {
  DisableScrollUpdate = true;
  HScroll->SetPosition(HScroll->Position() + static_cast<Single>(Dx));
  VScroll->SetPosition(VScroll->Position() + static_cast<Single>(Dy));
  DisableScrollUpdate = false;
  UpdateImage();
  DoScroll();
}

void TCustomImgView32::ScrollToCenter(Integer X, Integer Y) {
  DisableScrollUpdate = true;
  AlignAll();
  Single Sc = FScaleX;
  Integer D = static_cast<Integer>(Round(static_cast<Single>(FOverSize) * Sc));
  TRect V = GetViewportRect();
  HScroll->SetPosition(static_cast<Single>(X) * Sc - static_cast<Single>(V.Width()) * 0.5f + static_cast<Single>(D));
  VScroll->SetPosition(static_cast<Single>(Y) * Sc - static_cast<Single>(V.Height()) * 0.5f + static_cast<Single>(D));
  DisableScrollUpdate = false;
  UpdateImage();
}

void TCustomImgView32::ScrollHandler(TCustomRangeBar* Sender) {
  if (DisableScrollUpdate) return;
  auto Alive = LivenessToken();
  if (Sender) Sender->Repaint();
  UpdateImage();
  DoScroll();
  if (!*Alive) return;
  Repaint();
}

void TCustomImgView32::SetCentered(bool Value) {
  FCentered = Value;
  InvalidateCache();
  HScroll->SetCentered(Value);
  VScroll->SetCentered(Value);
  UpdateScrollBars();
  UpdateImage();
  if (Value)
    ScrollToCenter(FBitmap->Width() / 2, FBitmap->Height() / 2);
  else
    ScrollToCenter(0, 0);
}

void TCustomImgView32::SetScaleMode(TScaleMode Value) {
  TCustomImage32::SetScaleMode(Value);
  InvalidateCache();
  HScroll->SetCentered(FCentered);
  VScroll->SetCentered(FCentered);
  UpdateScrollBars();
  UpdateImage();
  if (FCentered)
    ScrollToCenter(FBitmap->Width() / 2, FBitmap->Height() / 2);
  else
    ScrollToCenter(0, 0);
}

void TCustomImgView32::SetOverSize(Integer Value) {
  if (Value == FOverSize) return;
  FOverSize = Value;
  Invalidate();
}

void TCustomImgView32::SetSizeGrip(TSizeGripStyle Value) {
  if (Value == FSizeGrip) return;
  FSizeGrip = Value;
  Invalidate();
}

void TCustomImgView32::BitmapResized() {
  TCustomImage32::BitmapResized();
  UpdateScrollBars();
  if (FCentered) {
    ScrollToCenter(FBitmap->Width() / 2, FBitmap->Height() / 2);
  } else {
    HScroll->SetPosition(0);
    VScroll->SetPosition(0);
    UpdateImage();
  }
}

void TCustomImgView32::DoScaleChange() {
  TCustomImage32::DoScaleChange();
  InvalidateCache();
  UpdateScrollBars();
  UpdateImage();
  Invalidate();
}

void TCustomImgView32::Resize() {
  AlignAll();
  if (HandleAllocated() && Parent()) {
    HDC DC = GetDC(Handle());
    PaintCorner(DC);
    ReleaseDC(Handle(), DC);
  }
  InvalidateCache();
  UpdateScrollBars();
  UpdateImage();
  Invalidate();
  TCustomImage32::Resize();
}

void TCustomImgView32::Loaded() {
  AlignAll();
  Invalidate();
  UpdateScrollBars();
  if (FCentered) ScrollToCenter(FBitmap->Width() / 2, FBitmap->Height() / 2);
  TCustomImage32::Loaded();
}

bool TCustomImgView32::GetSizeGripVisible() {
  switch (FSizeGrip) {
    case sgAlways: return true;
    case sgNone: return false;
    default: {
      if (Align() != alClient) return false;
      // Every parent up to the first form is client-aligned too.
      for (TWinControl* P = Parent(); P; P = P->Parent()) {
        if (dynamic_cast<TCustomForm*>(P)) return true;
        if (P->Align() != alClient) return false;
      }
      return true;
    }
  }
}

TRect TCustomImgView32::GetSizeGripRect() {
  Integer S = GetScrollBarSize();
  return TRect(Width() - S, Height() - S, Width(), Height());
}

void TCustomImgView32::PaintCorner(HDC DC) {
  TRect C = GetSizeGripRect();
  if (C.Width() <= 0 || C.Height() <= 0) return;
  RECT R{C.Left, C.Top, C.Right, C.Bottom};
  if (GetSizeGripVisible() && !RangeBarThemesInUse()) {
    DrawFrameControl(DC, &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  } else {
    HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnFace)));
    FillRect(DC, &R, B);
    DeleteObject(B);
  }
}

void TCustomImgView32::Paint() {
  if (!Parent()) return;
  PaintCorner(Canvas()->Handle());
  TCustomImage32::Paint();
}

void TCustomImgView32::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomImage32::MouseMove(Shift, X, Y);
  if (GetSizeGripVisible() && InRect(GetSizeGripRect(), X, Y) && Screen) Screen->SetCursor(crSizeNWSE);
}

void TCustomImgView32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (GetSizeGripVisible() && InRect(GetSizeGripRect(), X, Y)) {
    if (auto* F = dynamic_cast<TCustomForm*>(Owner())) {
      // The form is resized from its corner by the system's own loop.
      auto Alive = LivenessToken();
      Application->ProcessMessages();
      if (!*Alive) return;
      ReleaseCapture();
      POINT P{};
      GetCursorPos(&P);
      SendMessageW(F->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(P.x, P.y));
      return;
    }
  }
  TCustomImage32::MouseDown(Button, Shift, X, Y);
}
