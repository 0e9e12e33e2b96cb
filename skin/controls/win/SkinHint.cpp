#include "skin/controls/win/SkinHint.h"

#include <algorithm>
#include <vector>

#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"

namespace {

// The component whose handler is Application's OnShowHint now.
TspSkinHint* gShowHintOwner = nullptr;

// The first active hint component on the main form.
TspSkinHint* ActiveHintComponent() {
  TCustomForm* F = Application ? Application->MainForm() : nullptr;
  if (!F) return nullptr;
  for (Integer I = 0; I < F->ComponentCount(); ++I)
    if (auto* H = dynamic_cast<TspSkinHint*>(F->Components(I)); H && H->Active()) return H;
  return nullptr;
}

// The skin's hint picture when the skin has a usable one.
TBitmap* HintPicture(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  auto* B = static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
  return B && !B->Empty() ? B : nullptr;
}

TspHintPicture PictureGeometry(TspSkinData* SD) {
  const TspDataSkinHintWindow* D = SD->HintWindow;
  TBitmap* P = HintPicture(SD, D->WindowPictureIndex);
  TspHintPicture G;
  G.Width = P->Width();
  G.Height = P->Height();
  G.LTPoint = D->LTPoint;
  G.RTPoint = D->RTPoint;
  G.LBPoint = D->LBPoint;
  G.RBPoint = D->RBPoint;
  G.ClRect = D->ClRect;
  return G;
}

}  // namespace

// ---------------------------------------------------------------------------
// TspSkinHintWindow

TspSkinHintWindow::TspSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner), SI(new TBitmap()) {}

// The window deletes a region it was given.
TspSkinHintWindow::~TspSkinHintWindow() { delete SI; }

void TspSkinHintWindow::CreateParams(TCreateParams& P) {
  THintWindow::CreateParams(P);
  P.Style &= ~DWORD(WS_BORDER);
  if (IsXPOrLater()) P.ClassStyle |= CS_DROPSHADOW;
}

void TspSkinHintWindow::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_NCPAINT:
      return;
    case WM_ERASEBKGND:
      M.Result = 1;
      return;
  }
  THintWindow::Dispatch(M);
}

void TspSkinHintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  TShow S;
  S.Rect = Rect;
  Activate(S, AHint);
}

void TspSkinHintWindow::ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop) {
  TShow S;
  S.Rect = ARect;
  S.FromRect = true;
  S.Top = ATop;
  Activate(S, AHint);
}

void TspSkinHintWindow::ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint,
                                       Integer AImageIndex, TCustomImageList* AImageList) {
  TShow S;
  S.Rect = Rect;
  S.Extended = true;
  S.Title = AHintTitle;
  S.ImageIndex = AImageIndex;
  S.ImageList = AImageList;
  Activate(S, AHint);
}

void TspSkinHintWindow::SetHintFont(TCanvas* C) {
  TspSkinHint* H = FspHint;
  TFont* F = C->Font();
  if (FSD && H->UseSkinFont()) {
    const TspDataSkinHintWindow* D = FSD->HintWindow;
    F->SetHeight(D->FontHeight);
    F->SetName(D->FontName);
    F->SetStyle(D->FontStyle);
  } else {
    F->Assign(H->DefaultFont());
  }
  TspSkinData* SD = H->SkinData();
  F->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : H->DefaultFont()->Charset());
}

TPoint TspSkinHintWindow::MeasureText(TCanvas* C, const String& S) {
  RECT R{0, 0, 0, 0};
  DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(S.c_str()), static_cast<int>(S.size()), &R, DT_CALCRECT);
  return TPoint(R.right - R.left, R.bottom - R.top);
}

bool TspSkinHintWindow::HasImage() const {
  return FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count();
}

void TspSkinHintWindow::SetAlpha(Byte Value) {
  if (OnSetAlpha)
    OnSetAlpha(Handle(), Value);
  else
    SetWindowAlphaValue(Handle(), Value);
}

void TspSkinHintWindow::Activate(TShow S, const String& AHint) {
  FspHint = ActiveHintComponent();
  if (!FspHint) return;
  TspSkinHint* H = FspHint;
  if (!S.Extended && (!H->HintTitle().empty() || H->HintImageList())) {
    S.Extended = true;
    S.Title = H->HintTitle();
    S.ImageIndex = H->HintImageIndex();
    S.ImageList = H->HintImageList();
  }
  AExtendedStyle = S.Extended;
  FTitle = S.Extended ? S.Title : String();
  FImageIndex = S.Extended ? S.ImageIndex : 0;
  FImageList = S.Extended ? S.ImageList : nullptr;
  TspSkinData* SD = H->SkinData();
  FSD = SD && !SD->Empty && SD->HintWindow && HintPicture(SD, SD->HintWindow->WindowPictureIndex) ? SD : nullptr;

  HandleNeeded();
  TCanvas* C = Canvas();
  SetHintFont(C);
  const String Text = ReplaceLineSeparators(AHint, H->LineSeparator());
  SetText(Text);
  const TPoint T = MeasureText(C, Text);
  TspHintPicture G;
  if (FSD) G = PictureGeometry(FSD);
  TspHintSize Size;
  if (!S.Extended) {
    Size = CalcHintSize(T.X, T.Y, FSD ? &G : nullptr);
    FTitleHeight = 0;
  } else {
    TPoint TT(0, 0);
    if (!FTitle.empty()) {
      C->Font()->SetStyle(C->Font()->Style() | fsBold);
      TT = MeasureText(C, FTitle);
      SetHintFont(C);
    }
    FTitleHeight = TT.Y;
    const bool Img = HasImage();
    Size = CalcHintSizeEx(T.X, T.Y, TT.X, TT.Y, Img ? FImageList->Width() : 0, Img ? FImageList->Height() : 0,
                          FSD ? &G : nullptr);
  }
  NewClRect = Size.NewClRect;
  NewLTPoint = Size.NewLTPoint;
  NewRTPoint = Size.NewRTPoint;
  NewLBPoint = Size.NewLBPoint;
  NewRBPoint = Size.NewRBPoint;
  const Integer W = Size.Width, Ht = Size.Height;
  TRect R;
  if (S.FromRect) {
    const Integer L = S.Rect.Left + S.Rect.Width() / 2 - W / 2;
    const Integer Tp = S.Top ? S.Rect.Top - Ht : S.Rect.Bottom;
    R = TRect(L, Tp, L + W, Tp + Ht);
  } else {
    R = TRect(S.Rect.Left, S.Rect.Top, S.Rect.Left + W, S.Rect.Top + Ht);
  }
  TRect Area(0, 0, Screen ? Screen->Width() : 800, Screen ? Screen->Height() : 600);
  TCustomForm* AF = Screen ? Screen->ActiveForm() : nullptr;
  if (!AF && Application->MainForm() && Application->MainForm()->Visible()) AF = Application->MainForm();
  if (AF && AF->HandleAllocated()) GetMonitorArea(AF->Handle(), true, Area);
  R = KeepHintInArea(R, Area);
  SetBounds(R.Left, R.Top, W, Ht);

  const bool Support = H->AlphaBlendSupport(), Blend = H->AlphaBlend(), Anim = H->AlphaBlendAnimation();
  const Byte Value = H->AlphaBlendValue();
  if (Blend != OldAlphaBlend && Support) {
    const LONG Ex = GetWindowLongW(Handle(), GWL_EXSTYLE);
    if (!Blend) {
      SetWindowLongW(Handle(), GWL_EXSTYLE, Ex & ~LONG(WS_EX_LAYERED));
    } else {
      SetWindowLongW(Handle(), GWL_EXSTYLE, Ex | WS_EX_LAYERED);
      if (!Anim) SetAlpha(Value);
    }
    OldAlphaBlend = Blend;
  }
  if (Support && Blend && Anim) SetAlpha(0);
  if (Value != OldAlphaBlendValue && Support && Blend) {
    if (!Anim) SetAlpha(Value);
    OldAlphaBlendValue = Value;
  }
  if (Blend && !Support) {
    SI->SetSize(W, Ht);
    CopyScreenArea(R.Left, R.Top, SI);
  }
  SetHintRegion();
  SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FVisible = true;
  Repaint();
  if (Support && Blend && Anim) {
    // The fade runs inside the call, its steps a few milliseconds apart.
    bool First = true;
    for (Integer A : HintFadeSteps(Value)) {
      if (!First) Sleep(4);
      First = false;
      Repaint();
      SetAlpha(Byte(A));
    }
  }
}

void TspSkinHintWindow::SetHintRegion() {
  TBitmap* Mask = FSD ? HintPicture(FSD, FSD->HintWindow->MaskPictureIndex) : nullptr;
  if (!Mask) {
    if (FRgn) {
      FRgn = false;
      SetWindowRgn(Handle(), nullptr, TRUE);
    }
    return;
  }
  const TspDataSkinHintWindow* D = FSD->HintWindow;
  HRGN Rgn = nullptr;
  CreateSkinFrameRegion(Rgn, D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, NewLTPoint, NewRTPoint,
                        NewLBPoint, NewRBPoint, NewClRect, Mask, Width(), Height());
  // The window owns the region from here on (and deletes the previous one).
  SetWindowRgn(Handle(), Rgn, TRUE);
  FRgn = Rgn != nullptr;
}

void TspSkinHintWindow::PaintBackground(TBitmap* B) {
  TCanvas* C = B->Canvas();
  if (FSD) {
    const TspDataSkinHintWindow* D = FSD->HintWindow;
    TBitmap* P = HintPicture(FSD, D->WindowPictureIndex);
    CreateNineSliceWindowImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, NewLTPoint, NewRTPoint,
                               NewLBPoint, NewRBPoint, NewClRect, B, P, TRect(0, 0, P->Width(), P->Height()),
                               Width(), Height(), true, D->LeftStretch, D->TopStretch, D->RightStretch,
                               D->BottomStretch, D->StretchEffect, D->StretchType);
    return;
  }
  FillFramedRect(C, TRect(0, 0, Width(), Height()), clBtnShadow, clInfoBk);
}

void TspSkinHintWindow::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  // The component or its skin may have gone since the hint was shown.
  if (FspHint != ActiveHintComponent()) FspHint = nullptr;
  if (!FspHint || FspHint->SkinData() != FSD) FSD = nullptr;
  if (!FspHint) {
    FillFramedRect(Canvas(), TRect(0, 0, Width(), Height()), clBtnShadow, clInfoBk);
    return;
  }
  auto B = NewSkinBitmap(Width(), Height());
  PaintBackground(B.get());
  TCanvas* C = B->Canvas();
  if (AExtendedStyle) {
    PaintExtended(B.get());
  } else {
    const String Text = this->Text();
    C->Brush()->SetStyle(bsClear);
    SetHintFont(C);
    if (FSD) {
      C->Font()->SetColor(FSD->HintWindow->FontColor);
      const TPoint T = MeasureText(C, Text);
      RECT R{NewClRect.Left + NewClRect.Width() / 2 - T.X / 2, NewClRect.Top + NewClRect.Height() / 2 - T.Y / 2, 0,
             0};
      R.right = R.left + T.X;
      R.bottom = R.top + T.Y;
      DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Text.c_str()), static_cast<int>(Text.size()), &R,
                DT_NOCLIP);
    } else {
      C->Font()->SetColor(clInfoText);
      RECT R{2, 2, Width() - 2, Height() - 1};
      DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(Text.c_str()), static_cast<int>(Text.size()), &R, 0);
    }
  }
  if (FspHint->AlphaBlend() && !FspHint->AlphaBlendSupport() && !SI->Empty()) {
    auto E = SkinEffectOf(B.get());
    auto ES = SkinEffectOf(SI);
    E->Morph(ES.get(), 1 - FspHint->AlphaBlendValue() / 255.0);
    E->Draw(C->Handle(), 0, 0);
  }
  Canvas()->Draw(0, 0, B.get());
}

void TspSkinHintWindow::PaintExtended(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsClear);
  SetHintFont(C);
  C->Font()->SetColor(FSD ? FSD->HintWindow->FontColor : clInfoText);
  const String Text = this->Text();
  const TRect Area = FSD ? NewClRect : TRect(2, 2, Width() - 2, Height() - 1);
  const Integer Col = FSD ? Area.Left + 5 : Area.Left;
  Integer Offset = 0;
  auto Draw = [&](const String& S, RECT R) {
    DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(S.c_str()), static_cast<int>(S.size()), &R, 0);
  };
  if (!FTitle.empty()) {
    C->Font()->SetStyle(C->Font()->Style() | fsBold);
    Draw(FTitle, RECT{Col, Area.Top, Area.Right, Area.Bottom});
    C->Font()->SetStyle(C->Font()->Style() & ~fsBold);
    Offset = FTitleHeight + 5;
  }
  Integer TextCol = Col;
  const bool Img = HasImage();
  if (Img) {
    const Integer IY = FTitle.empty() ? Area.Top + Area.Height() / 2 - FImageList->Height() / 2 : Area.Top + Offset;
    FImageList->Draw(C, Col, IY, FImageIndex, true);
    TextCol = Col + FImageList->Width() + 5;
  }
  if (FSD) {
    const TPoint T = MeasureText(C, Text);
    const Integer TY = FTitle.empty() ? Area.Top + Area.Height() / 2 - T.Y / 2 : Area.Top + Offset;
    Draw(Text, RECT{TextCol, TY, TextCol + T.X, TY + T.Y});
  } else {
    RECT R{Area.Left + (Img ? FImageList->Width() + 7 : 0), Area.Top + Offset, Area.Right, Area.Bottom};
    Draw(Text, R);
  }
}

// ---------------------------------------------------------------------------
// TspSkinHint

TspSkinHint::TspSkinHint(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(new TFont()) {
  HW = new TspSkinHintWindow(this);
  if (ComponentState().Contains(csDesigning)) return;
  HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TspSkinHintWindow(Owner); };
  // Off and on: the application makes its hint window again, skinned.
  Application->SetShowHint(!Application->ShowHint());
  Application->SetShowHint(!Application->ShowHint());
  HookApplication();
  Application->SetHintShortPause(100);
}

TspSkinHint::~TspSkinHint() {
  FreeTimer();
  if (gShowHintOwner == this) {
    gShowHintOwner = nullptr;
    Application->OnShowHint = nullptr;
  }
  delete HW;
  HW = nullptr;
  delete FDefaultFont;
}

void TspSkinHint::HookApplication() {
  gShowHintOwner = this;
  Application->OnShowHint = [this](String& S, bool& CanShow, THintInfo& Info) { DoShowHint(S, CanShow, Info); };
}

void TspSkinHint::SetAlphaBlendSupport(bool Value) {
  FAlphaBlendSupport = Value && (IsWin2000OrLater() || ComponentState().Contains(csDesigning));
}

void TspSkinHint::SetSkinData(TspSkinData* Value) {
  if (FSD == Value) return;
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
}

void TspSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
  if (AComponent == HintTimer) HintTimer = nullptr;
}

void TspSkinHint::SetActive(bool Value) {
  FActive = Value;
  if (Value && Application->MainForm()) {
    TCustomForm* F = Application->MainForm();
    for (Integer I = 0; I < F->ComponentCount(); ++I)
      if (auto* H = dynamic_cast<TspSkinHint*>(F->Components(I)); H && H != this && H->Active()) H->SetActive(false);
  }
  if (!ComponentState().Contains(csDesigning) && FActive) HookApplication();
}

void TspSkinHint::DoShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
  FHintTitle.clear();
  FHintImageIndex = 0;
  FHintImageList = nullptr;
  if (auto* W = dynamic_cast<TspSkinControl*>(HintInfo.HintControl)) {
    FHintTitle = W->HintTitle();
    FHintImageIndex = W->HintImageIndex();
    FHintImageList = W->HintImageList();
  } else if (auto* G = dynamic_cast<TspGraphicSkinControl*>(HintInfo.HintControl)) {
    FHintTitle = G->HintTitle();
    FHintImageIndex = G->HintImageIndex();
    FHintImageList = G->HintImageList();
  }
  if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TspSkinHint::FreeTimer() {
  if (!HintTimer) return;
  TTimer* T = HintTimer;
  HintTimer = nullptr;
  T->SetEnabled(false);
  delete T;
}

void TspSkinHint::Schedule(TNotifyEvent Step) {
  HintTimer = new TTimer(this);
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(static_cast<Cardinal>(std::max(1, Application->HintPause())));
  HintTimer->SetOnTimer(std::move(Step));
  HintTimer->SetEnabled(true);
}

void TspSkinHint::ActivateHint2(const String& AHint) {
  FreeTimer();
  HintText = AHint;
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
  Schedule([this](TObject*) { ShowStep(false); });
}

void TspSkinHint::ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                  TCustomImageList* AImageList) {
  FreeTimer();
  HintText = AHint;
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  FHintImageList = AImageList;
  Schedule([this](TObject*) { ShowStep(true); });
}

void TspSkinHint::ActivateHint3(const TRect& AFromRect, const String& AHint, bool ATop) {
  FreeTimer();
  HintText = AHint;
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
  FromRect = AFromRect;
  Top = ATop;
  Schedule([this](TObject*) { ShowFromRectStep(); });
}

void TspSkinHint::ShowStep(bool Extended) {
  if (!HintTimer) return;
  POINT P;
  GetCursorPos(&P);
  P.y += GetCursorHeightMargin();
  const TRect R(P.x, P.y, P.x, P.y);
  if (Extended)
    HW->ActivateHintEx(R, FHintTitle, HintText, FHintImageIndex, FHintImageList);
  else
    HW->ActivateHint(R, HintText);
  ArmHide();
}

void TspSkinHint::ShowFromRectStep() {
  if (!HintTimer) return;
  HW->ActivateHintFromRect(FromRect, HintText, Top);
  ArmHide();
}

void TspSkinHint::ArmHide() {
  if (!HintTimer) return;
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(static_cast<Cardinal>(std::max(1, Application->HintHidePause())));
  HintTimer->SetOnTimer([this](TObject*) { HideHint(); });
  HintTimer->SetEnabled(true);
}

void TspSkinHint::ActivateHint(const TPoint& P, const String& AHint) {
  HW->ActivateHint(TRect(P.X, P.Y, P.X, P.Y), AHint);
}

void TspSkinHint::ActivateHintEx(const TPoint& P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                 TCustomImageList* AImageList) {
  HW->ActivateHintEx(TRect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

bool TspSkinHint::IsVisible() const { return HW && HW->HandleAllocated() && IsWindowVisible(HW->Handle()); }

void TspSkinHint::HideHint() {
  // A hide tick frees the timer that is running it: the class-library timer
  // tolerates its own deletion from its handler.
  FreeTimer();
  if (!IsVisible()) return;
  HW->SetVisible(false);
  SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
}

Integer TspSkinHint::GetCursorHeightMargin() {
  Integer Result = GetSystemMetrics(SM_CYCURSOR);
  ICONINFO II{};
  if (!GetIconInfo(GetCursor(), &II)) return Result;
  TFinally Free([&] {
    if (II.hbmMask) DeleteObject(II.hbmMask);
    if (II.hbmColor) DeleteObject(II.hbmColor);
  });
  BITMAP BM{};
  if (!II.hbmMask || !GetObjectW(II.hbmMask, sizeof(BM), &BM) || BM.bmWidth <= 0 || BM.bmHeight <= 0) return Result;
  // The mask read top-down, one bit per pixel: a monochrome cursor keeps its
  // AND mask above its XOR mask.
  struct {
    BITMAPINFOHEADER H;
    RGBQUAD Colors[2];
  } Info{};
  Info.H.biSize = sizeof(BITMAPINFOHEADER);
  Info.H.biWidth = BM.bmWidth;
  Info.H.biHeight = -BM.bmHeight;
  Info.H.biPlanes = 1;
  Info.H.biBitCount = 1;
  Info.H.biCompression = BI_RGB;
  const Integer RowBytes = ((BM.bmWidth + 31) / 32) * 4;
  std::vector<Byte> Bits(size_t(RowBytes) * size_t(BM.bmHeight));
  HDC DC = GetDC(nullptr);
  const int Got = GetDIBits(DC, II.hbmMask, 0, UINT(BM.bmHeight), Bits.data(),
                            reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, DC);
  if (Got <= 0) return Result;
  const bool Mono = II.hbmColor == nullptr;
  const Integer H = Mono ? BM.bmHeight / 2 : BM.bmHeight;
  const Integer Used = (BM.bmWidth + 7) / 8;
  // The lowest row the cursor draws: AND bits clear, or (monochrome) XOR set.
  Integer Lowest = -1;
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* And = &Bits[size_t(Y) * size_t(RowBytes)];
    const Byte* Xor = Mono ? &Bits[size_t(Y + H) * size_t(RowBytes)] : nullptr;
    for (Integer I = 0; I < Used; ++I)
      if (And[I] != 0xFF || (Xor && Xor[I] != 0)) {
        Lowest = Y;
        break;
      }
  }
  if (Lowest < 0) return Result;
  return Lowest + 1 - Integer(II.yHotspot);
}
