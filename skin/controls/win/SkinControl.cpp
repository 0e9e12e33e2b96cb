// The skinned control bases.
#include "skin/controls/win/SkinControl.h"

#include <cstring>
#include <memory>

#include "rtl/ScopeGuard.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"

// ---------------------------------------------------------------------------
// Painting helpers

namespace {

// Free scratch bitmaps, the most recently given back last.
std::vector<TBitmap*>& ScratchPool() {
  static std::vector<TBitmap*> Pool;
  return Pool;
}
constexpr size_t ScratchPoolSize = 48;
// The pool keeps at most this many bytes of pixels; a bitmap larger than a
// quarter of it is never kept.
constexpr size_t ScratchPoolBytes = size_t(16) << 20;

size_t ScratchBytes(TBitmap* B) { return size_t(B->Width()) * size_t(B->Height()) * 3; }

size_t& ScratchPoolUsed() {
  static size_t Used = 0;
  return Used;
}

TFont& NewFont() {
  static TFont F;
  return F;
}

}  // namespace

void TspScratchReturn::operator()(TBitmap* B) const {
  if (!B) return;
  auto& Pool = ScratchPool();
  const size_t Bytes = ScratchBytes(B);
  if (B->Empty() || B->PixelFormat() != pf24bit || Bytes > ScratchPoolBytes / 4) {
    delete B;
    return;
  }
  size_t& Used = ScratchPoolUsed();
  while (!Pool.empty() && (Pool.size() >= ScratchPoolSize || Used + Bytes > ScratchPoolBytes)) {
    Used -= ScratchBytes(Pool.front());
    delete Pool.front();
    Pool.erase(Pool.begin());
  }
  Pool.push_back(B);
  Used += Bytes;
}

TspScratchBitmap NewSkinBitmap(Integer W, Integer H) {
  if (W < 0) W = 0;
  if (H < 0) H = 0;
  auto& Pool = ScratchPool();
  for (size_t I = Pool.size(); I-- > 0;) {
    TBitmap* B = Pool[I];
    if (B->Width() != W || B->Height() != H) continue;
    Pool.erase(Pool.begin() + Integer(I));
    ScratchPoolUsed() -= ScratchBytes(B);
    B->SetTransparent(false);
    B->SetTransparentMode(tmAuto);
    TCanvas* C = B->Canvas();
    C->SetCopyMode(cmSrcCopy);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetWidth(1);
    AssignFont(C->Font(), &NewFont());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect(0, 0, W, H));
    return TspScratchBitmap(B);
  }
  TspScratchBitmap B(new TBitmap());
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  return B;
}

void FreeSkinScratchBitmaps() {
  for (TBitmap* B : ScratchPool()) delete B;
  ScratchPool().clear();
  ScratchPoolUsed() = 0;
}

void TspControlTimer::Start(Cardinal Interval, TNotifyEvent OnTick) {
  if (!FTimer) {
    FTimer = new TTimer(nullptr);
    FTimer->SetEnabled(false);
  }
  FRunning = true;
  FTimer->SetEnabled(false);
  FTimer->SetInterval(Interval);
  FTimer->SetOnTimer(std::move(OnTick));
  FTimer->SetEnabled(true);
}

void TspControlTimer::Stop() {
  FRunning = false;
  if (FTimer) FTimer->SetEnabled(false);
}

void TspControlTimer::SetInterval(Cardinal Interval) {
  if (FTimer) FTimer->SetInterval(Interval);
}

std::unique_ptr<TspEffectBmp> SkinEffectOf(TBitmap* B) {
  if (B->PixelFormat() != pf24bit) return std::unique_ptr<TspEffectBmp>(TspEffectBmp::CreateFromhWnd(B->Handle()));
  const Integer W = B->Width(), H = B->Height();
  auto E = std::make_unique<TspEffectBmp>(W, H);
  GdiFlush();
  for (Integer Y = 0; Y < H; ++Y) std::memcpy(E->GetRowPtr(Y), B->ScanLine(Y), size_t(W) * 3);
  return E;
}

namespace {

void RunMorph(TspEffectBmp* From, TspEffectBmp* To, double Kf, TMorphKind Kind) {
  switch (Kind) {
    case mkGradient: From->MorphGrad(To, Kf); break;
    case mkLeftGradient: From->MorphLeftGrad(To, Kf); break;
    case mkRightGradient: From->MorphRightGrad(To, Kf); break;
    case mkLeftSlide: From->MorphLeftSlide(To, Kf); break;
    case mkRightSlide: From->MorphRightSlide(To, Kf); break;
    case mkPush: From->MorphPush(To, Kf); break;
    default: From->Morph(To, Kf); break;
  }
}

// Image (an effect bitmap) cross-faded over what lies behind Control, drawn.
void BlendAndDraw(TControl* Control, TCanvas* Canvas, TspEffectBmp* Image, bool Blend, Byte Value) {
  if (Blend) {
    auto Bg = NewSkinBitmap(Image->Width(), Image->Height());
    PaintParentBackground(Control, Bg->Canvas());
    auto EBg = SkinEffectOf(Bg.get());
    Image->Morph(EBg.get(), 1 - Value / 255.0);
  }
  Image->Draw(Canvas->Handle(), 0, 0);
}

}  // namespace

void DrawSkinImage(TControl* Control, TCanvas* Canvas, TBitmap* Image, bool Blend, Byte Value) {
  if (Image->Empty()) return;
  if (!Blend) {
    Canvas->Draw(0, 0, Image);
    return;
  }
  auto E = SkinEffectOf(Image);
  BlendAndDraw(Control, Canvas, E.get(), true, Value);
}

void DrawMorphedSkinImage(TControl* Control, TCanvas* Canvas, TBitmap* Normal, TBitmap* Active, double Kf,
                          TMorphKind Kind, bool Blend, Byte Value) {
  if (Normal->Empty() || Active->Empty()) return;
  auto E1 = SkinEffectOf(Normal);
  auto E2 = SkinEffectOf(Active);
  RunMorph(E1.get(), E2.get(), Kf, Kind);
  BlendAndDraw(Control, Canvas, E1.get(), Blend, Value);
}

void AssignFont(TFont* Dest, TFont* Source) {
  if (Dest == Source) return;
  // The quality has no setter of its own: a font made from a handle is
  // copied whole.
  if (Dest->Quality() != Source->Quality()) {
    Dest->Assign(Source);
    return;
  }
  Dest->SetName(Source->Name());
  Dest->SetHeight(Source->Height());
  Dest->SetStyle(Source->Style());
  Dest->SetCharset(Source->Charset());
  Dest->SetPitch(Source->Pitch());
  Dest->SetOrientation(Source->Orientation());
  Dest->SetColor(Source->Color());
}

TFontCharset SkinTextCharset(TspSkinData* SD, TFont* DefaultFont) {
  if (SD && SD->ResourceStrData()) return SD->ResourceStrData()->CharSet();
  return DefaultFont->Charset();
}

void DrawSkinStateImage(TCanvas* Canvas, TBitmap* Picture, const TRect& R, Integer X, Integer Y) {
  if (!Picture || RectIsEmpty(R)) return;
  auto B = NewSkinBitmap(R.Width(), R.Height());
  B->Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), Picture->Canvas(), R);
  B->SetTransparentMode(tmAuto);
  B->SetTransparent(true);
  Canvas->Draw(X, Y, B.get());
}

void FillFramedRect(TCanvas* Canvas, const TRect& R, TColor Frame, TColor Face) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Frame);
  Canvas->FrameRect(R);
  Canvas->Brush()->SetColor(Face);
  Canvas->FillRect(TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

// ---------------------------------------------------------------------------
// TspSkinLook

template <class TBase>
TspSkinLook<TBase>::TspSkinLook(TComponent* AOwner) : TBase(AOwner) {}

template <class TBase>
void TspSkinLook<TBase>::SetSkinData(TspSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value && !Value->Empty && !this->ComponentState().Contains(csDesigning)) ChangeSkinData();
}

template <class TBase>
void TspSkinLook<TBase>::SetHintImageList(TCustomImageList* Value) {
  if (FHintImageList == Value) return;
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
  FHintImageList = Value;
  if (Value) Value->FreeNotification(this);
}

template <class TBase>
void TspSkinLook<TBase>::SetAlphaBlend(bool Value) {
  FAlphaBlend = Value;
  this->Repaint();
}

template <class TBase>
void TspSkinLook<TBase>::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  this->Repaint();
}

template <class TBase>
void TspSkinLook<TBase>::GetSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
}

template <class TBase>
TspDataSkinControl* TspSkinLook<TBase>::SkinDescription() const {
  if (FIndex < 0 || !FSD || FIndex >= FSD->CtrlList->Count()) return nullptr;
  return static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(FIndex));
}

template <class TBase>
void TspSkinLook<TBase>::ApplySkinCursor() {
  if (!FUseSkinCursor) return;
  if (CursorIndex == -1 || !FSD) {
    this->SetCursor(crDefault);
    return;
  }
  this->SetCursor(static_cast<TCursor>(static_cast<Word>(FSD->StartCursorIndex + CursorIndex)));
}

template <class TBase>
void TspSkinLook<TBase>::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  this->Repaint();
}

template <class TBase>
void TspSkinLook<TBase>::Paint() {
  if (this->Width() <= 0 || this->Height() <= 0) return;
  GetSkinData();
  auto B = NewSkinBitmap(this->Width(), this->Height());
  if (Skinned())
    CreateControlSkinImage(B.get());
  else if (FDrawDefault)
    CreateControlDefaultImage(B.get());
  DrawSkinImage(this, this->Canvas(), B.get(), FAlphaBlend, FAlphaBlendValue);
}

template <class TBase>
void TspSkinLook<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
  TBase::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
}

template class TspSkinLook<TCustomControl>;
template class TspSkinLook<TGraphicControl>;

// ---------------------------------------------------------------------------
// TspSkinControl, TspGraphicSkinControl

TspSkinControl::TspSkinControl(TComponent* AOwner) : TspSkinLook<TCustomControl>(AOwner) {}

void TspSkinControl::CheckParentBackground() {
  if (!FAlphaBlend) return;
  Repaint();
  CheckControlsBackground();
}

void TspSkinControl::CheckControlsBackground() {
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    auto* W = dynamic_cast<TWinControl*>(C);
    if (W && HandleAllocated())
      SendMessageW(W->Handle(), SP_PARENT_BACKGROUND_CHANGED, 0, 0);
    else
      C->Perform(SP_PARENT_BACKGROUND_CHANGED, 0, 0);
  }
}

void TspSkinControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case SP_PARENT_BACKGROUND_CHANGED:
      CheckParentBackground();
      return;
    case WM_PAINT: {
      auto Alive = LivenessToken();
      FromWMPaint = true;
      TFinally Painted([&] {
        if (*Alive) FromWMPaint = false;
      });
      TspSkinLook<TCustomControl>::Dispatch(M);
      return;
    }
    case WM_ERASEBKGND:
      return;  // the off-screen paint covers every pixel
    case WM_MOVE:
      TspSkinLook<TCustomControl>::Dispatch(M);
      if (FAlphaBlend) Repaint();
      return;
  }
  TspSkinLook<TCustomControl>::Dispatch(M);
}

TspGraphicSkinControl::TspGraphicSkinControl(TComponent* AOwner) : TspSkinLook<TGraphicControl>(AOwner) {}

void TspGraphicSkinControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case SP_PARENT_BACKGROUND_CHANGED:
      if (FAlphaBlend) Repaint();
      return;
    case WM_MOVE:
      TspSkinLook<TGraphicControl>::Dispatch(M);
      if (FAlphaBlend) Repaint();
      return;
  }
  TspSkinLook<TGraphicControl>::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinCustomLook

template <class TBase>
TspSkinCustomLook<TBase>::TspSkinCustomLook(TComponent* AOwner) : TBase(AOwner), FDefaultFont(new TFont()) {
  FDefaultFont->SetName(u"Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle(0);
  FDefaultFont->SetOnChange([this](TObject*) {
    DefaultFontChanged();
    if (!this->Skinned()) this->Repaint();
  });
}

template <class TBase>
TspSkinCustomLook<TBase>::~TspSkinCustomLook() {
  delete FDefaultFont;
}

template <class TBase>
void TspSkinCustomLook<TBase>::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

template <class TBase>
void TspSkinCustomLook<TBase>::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (!this->Skinned() && Value > 0) this->SetWidth(Value);
}

template <class TBase>
void TspSkinCustomLook<TBase>::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (!this->Skinned() && Value > 0) this->SetHeight(Value);
}

template <class TBase>
TBitmap* TspSkinCustomLook<TBase>::SkinPicture(Integer Index) const {
  TspSkinData* SD = this->FSD;
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

template <class TBase>
void TspSkinCustomLook<TBase>::GetSkinData() {
  TBase::GetSkinData();
  if (!this->Skinned()) return;
  auto* D = dynamic_cast<TspDataSkinCustomControl*>(this->SkinDescription());
  if (!D) {
    // A description of another kind under this name is no description.
    this->FIndex = -1;
    Picture = nullptr;
    return;
  }
  LTPt = D->LTPoint;
  RTPt = D->RTPoint;
  LBPt = D->LBPoint;
  RBPt = D->RBPoint;
  SkinRect = D->SkinRect;
  ClRect = D->ClRect;
  this->CursorIndex = D->CursorIndex;
  StretchEffect = D->StretchEffect;
  LeftStretch = D->LeftStretch;
  TopStretch = D->TopStretch;
  RightStretch = D->RightStretch;
  BottomStretch = D->BottomStretch;
  StretchType = D->StretchType;
  Picture = SkinPicture(D->PictureIndex);
  ResizeMode = CalcResizeMode();
}

template <class TBase>
void TspSkinCustomLook<TBase>::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  ::CalcSkinSize(*this, this->Skinned(), AWidth, AHeight);
}

template <class TBase>
void TspSkinCustomLook<TBase>::RefreshSkinGeometry() {
  Integer W = this->Width(), H = this->Height();
  CalcSkinSize(W, H);
}

template <class TBase>
void TspSkinCustomLook<TBase>::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, this->Width(), this->Height()));
}

template <class TBase>
void TspSkinCustomLook<TBase>::CreateControlSkinImage(TBitmap* B) {
  CreateSkinImage(B, Picture, SkinRect);
}

template <class TBase>
void TspSkinCustomLook<TBase>::CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) {
  if (!APicture || RectIsEmpty(ARect)) return;
  const Integer W = this->Width(), H = this->Height();
  switch (ResizeMode) {
    case 0:
      B->SetSize(ARect.Width(), ARect.Height());
      B->Canvas()->CopyRect(TRect(0, 0, ARect.Width(), ARect.Height()), APicture->Canvas(), ARect);
      break;
    case 1:
      CreateNineSliceImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                           B, APicture, ARect, W, H, true, LeftStretch, TopStretch, RightStretch, BottomStretch,
                           StretchEffect, StretchType);
      break;
    case 2:
      CreateHorzThreeSliceImage(LTPt.X, SkinRect.Width() - RTPt.X, B, APicture, ARect, W, H, StretchEffect);
      break;
    case 3:
      CreateVertThreeSliceImage(LTPt.Y, SkinRect.Height() - LBPt.Y, B, APicture, ARect, W, H, StretchEffect);
      break;
  }
}

template <class TBase>
void TspSkinCustomLook<TBase>::ChangeSkinData() {
  GetSkinData();
  this->ApplySkinCursor();
  bool SizeChanged = false;
  if (!this->Skinned()) {
    if (FDefaultWidth > 0) this->SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) this->SetHeight(FDefaultHeight);
  } else {
    Integer W = this->Width(), H = this->Height();
    CalcSkinSize(W, H);
    if (W != this->Width() || H != this->Height()) {
      SizeChanged = true;
      if (W != this->Width()) this->SetWidth(W);
      if (H != this->Height()) this->SetHeight(H);
    }
  }
  if (!SizeChanged || !this->Skinned()) {
    SetControlRegion();
    this->Repaint();
  }
}

template <class TBase>
void TspSkinCustomLook<TBase>::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Counts = this->Skinned() && (AWidth != this->Width() || AHeight != this->Height());
  if (Counts) {
    CalcSkinSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClRect = ClRect;
  }
  TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Counts) {
    SetControlRegion();
    this->Repaint();
  }
  if constexpr (TBase::Windowed)
    if (this->Skinned() && StretchEffect) this->CheckControlsBackground();
}

template class TspSkinCustomLook<TspSkinControl>;
template class TspSkinCustomLook<TspGraphicSkinControl>;

// ---------------------------------------------------------------------------
// TspSkinCustomControl

TspSkinCustomControl::TspSkinCustomControl(TComponent* AOwner) : TspSkinCustomLook<TspSkinControl>(AOwner) {}

// The window deletes a region it was given; nothing is kept to delete here.
TspSkinCustomControl::~TspSkinCustomControl() = default;

void TspSkinCustomControl::GetSkinData() {
  TspSkinCustomLook<TspSkinControl>::GetSkinData();
  MaskPicture = nullptr;
  if (auto* D = dynamic_cast<TspDataSkinCustomControl*>(SkinDescription())) MaskPicture = SkinPicture(D->MaskPictureIndex);
}

void TspSkinCustomControl::SetControlRegion() {
  if (!Parent()) return;
  if (!MaskPicture || !Skinned()) {
    if (FRgn) {
      FRgn = false;
      if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    }
    return;
  }
  RefreshSkinGeometry();
  const Integer W = Width(), H = Height();
  HRGN Rgn = nullptr;
  switch (ResizeMode) {
    case 0:
      CreateMaskRegion(Rgn, MaskPicture);
      break;
    case 1:
      CreateSkinFrameRegion(Rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                            NewClRect, MaskPicture, W, H);
      break;
    case 2: {
      const TPoint P(RTPt.X + W - SkinRect.Width(), RTPt.Y);
      CreateSkinFrameRegion(Rgn, LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, P, LTPt, P, NewClRect, MaskPicture, W, H);
      break;
    }
    case 3: {
      const TPoint P(LBPt.X, LBPt.Y + H - SkinRect.Height());
      CreateSkinFrameRegion(Rgn, LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, P, P, NewClRect, MaskPicture, W, H);
      break;
    }
    default:
      return;
  }
  if (!Rgn) return;
  if (SetWindowRgn(Handle(), Rgn, TRUE))
    FRgn = true;
  else
    DeleteObject(Rgn);
}

void TspSkinCustomControl::CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) {
  if (ResizeMode == 1 && FForceBackground) return;  // the direct mode draws the frame
  TspSkinCustomLook<TspSkinControl>::CreateSkinImage(B, APicture, ARect);
}

void TspSkinCustomControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  RefreshSkinGeometry();
  if (Skinned() && FForceBackground && ResizeMode == 1 && !FAlphaBlend)
    PaintDirect();
  else
    TspSkinLook<TCustomControl>::Paint();
}

bool TspSkinCustomControl::FocusBeforePress(const TMessage& M, bool& ClicksDisabled, bool SkipWhileDesigning) {
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (Focused() || (SkipWhileDesigning && ComponentState().Contains(csDesigning))) return true;
      auto Alive = LivenessToken();
      ClicksDisabled = true;
      ::SetFocus(Handle());
      if (!*Alive) return false;
      ClicksDisabled = false;
      // The focus did not arrive (an OnExit took it back): no press.
      return Focused();
    }
    case CN_COMMAND:
      return !ClicksDisabled;
  }
  return true;
}

void TspSkinCustomControl::PaintDirect() {
  if (!Picture) return;
  const Integer W = Width(), H = Height();
  // Each strip starts at the size it will most likely get, so a repeated
  // paint reuses it.
  const TRect& N = NewClRect;
  auto LeftB = NewSkinBitmap(N.Left, N.Bottom - N.Top);
  auto TopB = NewSkinBitmap(W, N.Top);
  auto RightB = NewSkinBitmap(W - N.Right, N.Bottom - N.Top);
  auto BottomB = NewSkinBitmap(W, H - N.Bottom);
  CreateBorderStripImagesEx(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                            LeftB.get(), TopB.get(), RightB.get(), BottomB.get(), Picture, SkinRect, W, H,
                            LeftStretch, TopStretch, RightStretch, BottomStretch);
  CreateControlSkinImage(TopB.get());
  TCanvas* C = Canvas();
  if (FDrawbackground && !RectIsEmpty(ClRect)) {
    const Integer TW = ClRect.Width(), TH = ClRect.Height();
    auto Tile = NewSkinBitmap(TW, TH);
    Tile->Canvas()->CopyRect(TRect(0, 0, TW, TH), Picture->Canvas(),
                             TRect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                                   SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom));
    HDC DC = C->Handle();
    const Integer Saved = SaveDC(DC);
    IntersectClipRect(DC, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    if (StretchEffect && !RectIsEmpty(N)) {
      switch (StretchType) {
        case spstFull:
          C->StretchDraw(N, Tile.get());
          break;
        case spstHorz:
          for (Integer I = 0; I <= N.Width() / TW; ++I)
            C->StretchDraw(TRect(N.Left + I * TW, N.Top, N.Left + (I + 1) * TW, N.Bottom), Tile.get());
          break;
        case spstVert:
          for (Integer I = 0; I <= N.Height() / TH; ++I)
            C->StretchDraw(TRect(N.Left, N.Top + I * TH, N.Right, N.Top + (I + 1) * TH), Tile.get());
          break;
      }
    } else if (!StretchEffect) {
      for (Integer Row = 0; Row <= N.Height() / TH; ++Row)
        for (Integer Col = 0; Col <= N.Width() / TW; ++Col) C->Draw(N.Left + Col * TW, N.Top + Row * TH, Tile.get());
    }
    RestoreDC(DC, Saved);
  }
  C->Draw(0, 0, TopB.get());
  C->Draw(0, TopB->Height(), LeftB.get());
  C->Draw(W - RightB->Width(), TopB->Height(), RightB.get());
  C->Draw(0, H - BottomB->Height(), BottomB.get());
}

// ---------------------------------------------------------------------------

TspGraphicSkinCustomControl::TspGraphicSkinCustomControl(TComponent* AOwner)
    : TspSkinCustomLook<TspGraphicSkinControl>(AOwner) {}

void TspGraphicSkinCustomControl::Paint() {
  GetSkinData();
  RefreshSkinGeometry();
  TspSkinLook<TGraphicControl>::Paint();
}
