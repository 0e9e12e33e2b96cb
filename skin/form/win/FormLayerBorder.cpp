#include "skin/form/win/FormLayerBorder.h"

#include <algorithm>

#include "skin/controls/win/SkinMenuLevels.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormSkin.h"

namespace {

TspActiveSkinObject* ObjectAt(TList* L, Integer I) { return static_cast<TspActiveSkinObject*>(L->Items(I)); }

void FreeBitmap(TspBitmap*& B) {
  delete B;
  B = nullptr;
}

void FreeRgn(HRGN& R) {
  if (R) DeleteObject(R);
  R = nullptr;
}

// Pixels of rectangle S of Src onto rectangle D of Dst, alpha included,
// nearest-neighbour when the sizes differ; parts outside either bitmap are
// left out.
void CopyPixels(TspBitmap* Dst, const TRect& D, TspBitmap* Src, const TRect& S) {
  if (!Dst || !Src || Dst->Empty() || Src->Empty()) return;
  const Integer DW = D.Width(), DH = D.Height(), SW = S.Width(), SH = S.Height();
  if (DW <= 0 || DH <= 0 || SW <= 0 || SH <= 0) return;
  for (Integer Y = 0; Y < DH; ++Y) {
    const Integer TY = D.Top + Y;
    const Integer FY = S.Top + (SW == DW && SH == DH ? Y : Integer(Int64(Y) * SH / DH));
    if (TY < 0 || TY >= Dst->Height() || FY < 0 || FY >= Src->Height()) continue;
    TspColor* Out = Dst->GetRowPtr(TY);
    const TspColor* In = Src->GetRowPtr(FY);
    for (Integer X = 0; X < DW; ++X) {
      const Integer TX = D.Left + X;
      const Integer FX = S.Left + (SW == DW ? X : Integer(Int64(X) * SW / DW));
      if (TX < 0 || TX >= Dst->Width() || FX < 0 || FX >= Src->Width()) continue;
      Out[TX] = In[FX];
    }
  }
}

TspBitmap* NewImage(Integer W, Integer H) {
  auto* B = new TspBitmap();
  if (W > 0 && H > 0) B->SetSize(W, H);
  return B;
}

bool HasRows(TspBitmap* B) { return B && !B->Empty() && B->Height() > 0 && B->Width() > 0; }

// The window's size as the system has it (an image update resizes it).
TPoint WindowSize(TWinControl* W) {
  RECT R{};
  if (W->HandleAllocated()) GetWindowRect(W->Handle(), &R);
  return TPoint(R.right - R.left, R.bottom - R.top);
}

// Puts W at P with the size of its image (or its own size without one).
void PlaceAt(TWinControl* W, const TPoint& P, TspBitmap* Img, UINT Flags) {
  const TPoint S = Img ? TPoint(Img->Width(), Img->Height()) : WindowSize(W);
  W->SetBounds(P.X, P.Y, S.X, S.Y);
  SetWindowPos(W->Handle(), HWND_TOP, P.X, P.Y, 0, 0, Flags | SWP_NOSIZE);
}

// A new constant alpha for window W that already shows Img at its place:
// when the window has the image's size and stands where the form expects
// it, the system is given neither place nor size, so the update does not
// run a window move for every step of a fade (only the picture is blended
// anew); otherwise the full update.
void UpdateLayeredAlpha(TspBitmap* Img, Byte Alpha, TWinControl* W) {
  if (!spUpdateLayeredWindow || !Img || !W) return;
  RECT R{};
  const bool Placed = W->HandleAllocated() && GetWindowRect(W->Handle(), &R) && R.left == W->Left() &&
                      R.top == W->Top() && R.right - R.left == Img->Width() && R.bottom - R.top == Img->Height();
  if (!Placed) {
    UpdateLayeredControl(Img, Alpha, W);
    return;
  }
  POINT Src{0, 0};
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  GdiFlush();
  spUpdateLayeredWindow(W->Handle(), nullptr, nullptr, nullptr, Img->DC(), &Src, 0, &Blend, ULW_ALPHA);
}

}  // namespace

// ---------------------------------------------------------------------------

TspFormLayerBorder::TspFormLayerBorder(TComponent* AOwner) : TComponent(AOwner) {
  DSF = dynamic_cast<TspFormSkin*>(AOwner);
  MouseTimer = new TTimer(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(500);
  MouseTimer->SetOnTimer([this](TObject* S) { BorderMouseTimerTick(S); });
}

TspFormLayerBorder::~TspFormLayerBorder() {
  MouseTimer->SetEnabled(false);
  FreeWindows();
  FreeImages();
  FreeBitmap(FSourceBitmap);
  FreeBitmap(FSourceInActiveBitMap);
  DeleteRegions();
}

TspLayerBorderSizes TspFormLayerBorder::Sizes() const {
  TspLayerBorderSizes S;
  S.LeftSize = LeftSize;
  S.TopSize = TopSize;
  S.RightSize = RightSize;
  S.BottomSize = BottomSize;
  S.HitTopLeftX = HitTopLeftX;
  S.HitTopLeftY = HitTopLeftY;
  S.HitTopRightX = HitTopRightX;
  S.HitTopRightY = HitTopRightY;
  S.HitBottomLeftX = HitBottomLeftX;
  S.HitBottomLeftY = HitBottomLeftY;
  S.HitBottomRightX = HitBottomRightX;
  S.HitBottomRightY = HitBottomRightY;
  return S;
}

TBitmap* TspFormLayerBorder::ActivePictureOf(Integer Index) const {
  if (!FSD || !FSD->FActivePictures || Index < 0 || Index >= FSD->FActivePictures->Count()) return nullptr;
  auto* B = static_cast<TBitmap*>(FSD->FActivePictures->Items(Index));
  return B && B->Width() > 0 && B->Height() > 0 ? B : nullptr;
}

TspBitmap* TspFormLayerBorder::BuildSource(Integer Index, Integer MaskIndex) const {
  auto* B = new TspBitmap();
  B->Assign(ActivePictureOf(Index));
  TspBitmap Mask;
  Mask.Assign(ActivePictureOf(MaskIndex));
  AlphaFromGrayBitmap(B, &Mask);
  B->CheckingAlphaBlend();
  return B;
}

void TspFormLayerBorder::InitFrame(TspSkinData* ASkinData, TCustomForm* AForm) {
  FForm = AForm;
  FSD = ASkinData;
  TspDataSkinLayerFrame* D = ASkinData && !ASkinData->Empty ? ASkinData->LayerFrame : nullptr;
  if (D && D->PictureIndex == -1) D = nullptr;
  // A replaceable skin file may name pictures it does not have: every
  // source needs its picture and its mask, else the skin has no layer frame.
  if (D && (!ActivePictureOf(D->PictureIndex) || !ActivePictureOf(D->MaskPictureIndex))) D = nullptr;
  if (D && D->InActivePictureIndex != -1 &&
      (!ActivePictureOf(D->InActivePictureIndex) || !ActivePictureOf(D->InActiveMaskPictureIndex)))
    D = nullptr;
  FData = D;
  if (!D) return;
  FIsAeroEnabled = IsVistaOrLater() && IsDwmCompositionOn();
  FreeBitmap(FSourceBitmap);
  FreeBitmap(FSourceInActiveBitMap);
  FCurrentAlphaBlendValue = D->AlphaBlendValue;
  FCurrentInActiveAlphaBlendValue = D->InActiveAlphaBlendValue;
  FSourceBitmap = BuildSource(D->PictureIndex, D->MaskPictureIndex);
  if (D->InActivePictureIndex != -1) FSourceInActiveBitMap = BuildSource(D->InActivePictureIndex, D->InActiveMaskPictureIndex);
  TspLayerBorderSizes S = Sizes();
  LayerBorderSizes(*D, S);
  LeftSize = S.LeftSize;
  TopSize = S.TopSize;
  RightSize = S.RightSize;
  BottomSize = S.BottomSize;
  HitTopLeftX = S.HitTopLeftX;
  HitTopLeftY = S.HitTopLeftY;
  HitTopRightX = S.HitTopRightX;
  HitTopRightY = S.HitTopRightY;
  HitBottomLeftX = S.HitBottomLeftX;
  HitBottomLeftY = S.HitBottomLeftY;
  HitBottomRightX = S.HitBottomRightX;
  HitBottomRightY = S.HitBottomRightY;
  if (D->FullBorder && DSF) {
    for (Integer I = 0; I < DSF->ObjectList->Count(); ++I) ObjectAt(DSF->ObjectList, I)->InitAlphaImages();
    DSF->IsAlphaIcon = DSF->IconHasAlpha();
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
  }
  BuildBlurMaskRegions();
}

void TspFormLayerBorder::DeleteRegions() {
  for (HRGN* R : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4, &TopRgn, &BottomRgn, &RightRgn, &LeftRgn}) FreeRgn(*R);
}

void TspFormLayerBorder::BuildBlurMaskRegions() {
  DeleteRegions();
  if (!FData || FData->BlurMaskPictureIndex == -1) return;
  TBitmap* M = ActivePictureOf(FData->BlurMaskPictureIndex);
  if (!M) return;  // a picture the skin lacks: no blur
  const TspDataSkinLayerFrame& D = *FData;
  const Integer MW = M->Width(), MH = M->Height();
  auto Cut = [&](const TRect& R) -> HRGN {
    if (RectIsEmpty(R)) return nullptr;
    TBitmap Part;
    Part.SetPixelFormat(pf24bit);
    Part.SetSize(R.Width(), R.Height());
    Part.Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), M->Canvas(), R);
    void* Data = nullptr;
    const Integer Size = BuildMaskRegionData(&Part, 0, 0, Data);
    if (Size <= 0) return nullptr;
    HRGN Rgn = CreateRegionFromData(Data, Size);
    FreeRegionData(Data);
    return Rgn;
  };
  DataRgn1 = Cut(TRect(0, 0, D.LTPoint.X, D.LTPoint.Y));
  DataRgn2 = Cut(TRect(D.RTPoint.X, 0, MW, D.RTPoint.Y));
  DataRgn3 = Cut(TRect(0, D.LBPoint.Y, D.LBPoint.X, MH));
  DataRgn4 = Cut(TRect(D.RBPoint.X, D.RBPoint.Y, MW, MH));
  if (DataRgn2) OffsetRgn(DataRgn2, D.RTPoint.X, 0);
  if (DataRgn4) OffsetRgn(DataRgn4, D.RBPoint.X, 0);
}

void TspFormLayerBorder::BuildBlurRegions() {
  if (!FData || FData->BlurMaskPictureIndex == -1 || !TopImage) return;
  for (HRGN* R : {&TopRgn, &BottomRgn, &LeftRgn, &RightRgn}) FreeRgn(*R);
  const TspDataSkinLayerFrame& D = *FData;
  const Integer Dx = TopImage->Width() - FSourceBitmap->Width();
  const TRect& I = D.IntersectBlurMaskRect;
  const TRect& E = D.ExcludeBlurMaskRect;
  auto Unite = [](HRGN Into, HRGN Part, Integer Shift) {
    if (!Part) return;
    HRGN C = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(C, Part, nullptr, RGN_COPY);
    OffsetRgn(C, Shift, 0);
    CombineRgn(Into, Into, C, RGN_OR);
    DeleteObject(C);
  };
  TopRgn = CreateRectRgn(D.LTPoint.X, I.Top, Dx + D.RTPoint.X, E.Top);
  Unite(TopRgn, DataRgn1, 0);
  Unite(TopRgn, DataRgn2, Dx);
  if (BottomImage) {
    BottomRgn = CreateRectRgn(D.LBPoint.X, E.Bottom - D.LBPoint.Y, Dx + D.RBPoint.X, I.Bottom - D.LBPoint.Y);
    Unite(BottomRgn, DataRgn3, 0);
    Unite(BottomRgn, DataRgn4, Dx);
  }
  if (HasRows(LeftImage)) LeftRgn = CreateRectRgn(I.Left, 0, E.Left, LeftImage->Height());
  if (HasRows(RightImage))
    RightRgn = CreateRectRgn(E.Right - D.ClRect.Right, 0, I.Right - D.ClRect.Right, RightImage->Height());
}

void TspFormLayerBorder::FreeImages() {
  FreeBitmap(LeftImage);
  FreeBitmap(TopImage);
  FreeBitmap(RightImage);
  FreeBitmap(BottomImage);
}

void TspFormLayerBorder::FreeWindows() {
  // A window may be running one of its own handlers now (a click on a
  // caption button that closed the form): it is hidden at once, cut loose
  // from the border and the form, and freed once its messages are done.
  for (TspFormLayerWindow** W : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
    TspFormLayerWindow* Wnd = *W;
    *W = nullptr;
    if (!Wnd) continue;
    if (Wnd->HandleAllocated()) ShowWindow(Wnd->Handle(), SW_HIDE);
    Wnd->FLayerBorder = nullptr;
    Wnd->FForm = nullptr;
    RemoveComponent(Wnd);
    if (Application)
      Application->ReleaseObject(Wnd);
    else
      delete Wnd;
  }
}

TspBitmap* TspFormLayerBorder::SourceOfLook() const {
  return (FActive || !FSourceInActiveBitMap) ? FSourceBitmap : FSourceInActiveBitMap;
}

Byte TspFormLayerBorder::CurrentAlpha() const {
  return Byte((FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue) & 0xFF);
}

void TspFormLayerBorder::BuildBorderImages(Integer AWidth, Integer AHeight) {
  if (!FData || !DSF || !FSourceBitmap) return;
  const TspDataSkinLayerFrame& D = *FData;
  TspBitmap* S = SourceOfLook();
  FreeImages();
  const Integer SrcW = S->Width(), SrcH = S->Height();
  if (LayerSinglePicture(D)) {
    TopImage = new TspBitmap();
    TopImage->Assign(S);
    TopImage->CheckRGBA();
    return;
  }
  const TspLayerBands B = LayerBands(D, SrcW, SrcH, AWidth, AHeight);
  const Integer RightPart = SrcW - D.RTPoint.X;
  // Top.
  TopImage = NewImage(AWidth, B.TopH);
  CopyPixels(TopImage, TRect(0, 0, D.LTPoint.X, B.TopH), S, TRect(0, 0, D.LTPoint.X, B.TopH));
  CopyPixels(TopImage, TRect(AWidth - RightPart, 0, AWidth, B.TopH), S, TRect(D.RTPoint.X, 0, SrcW, B.TopH));
  CopyPixels(TopImage, TRect(D.LTPoint.X, 0, AWidth - RightPart, B.TopH), S,
             TRect(D.LTPoint.X, 0, D.RTPoint.X, B.TopH));
  TopImage->CheckingAlphaBlend();
  if (D.FullBorder && !TopImage->Empty()) {
    LayoutCaptionObjects();
    for (Integer I = 0; I < DSF->ObjectList->Count(); ++I) {
      TspActiveSkinObject* O = ObjectAt(DSF->ObjectList, I);
      if (O->Visible) O->DrawAlpha(TopImage->Canvas(), TopImage);
    }
  }
  // Bottom: the lowest BottomH rows of the skin's bottom band.
  const Integer BRight = SrcW - D.RBPoint.X;
  BottomImage = NewImage(AWidth, B.BottomH);
  const Integer Y0 = B.BottomSrc;
  CopyPixels(BottomImage, TRect(0, 0, D.LBPoint.X, B.BottomH), S, TRect(0, Y0, D.LBPoint.X, SrcH));
  CopyPixels(BottomImage, TRect(AWidth - BRight, 0, AWidth, B.BottomH), S, TRect(D.RBPoint.X, Y0, SrcW, SrcH));
  CopyPixels(BottomImage, TRect(D.LBPoint.X, 0, AWidth - BRight, B.BottomH), S,
             TRect(D.LBPoint.X, Y0, D.RBPoint.X, SrcH));
  BottomImage->CheckingAlphaBlend();
  // Sides.
  LeftImage = NewImage(B.MidH > 0 ? B.LeftW : 0, B.MidH);
  RightImage = NewImage(B.MidH > 0 ? B.RightW : 0, B.MidH);
  if (B.MidH > 0) {
    const TRect LS(0, B.StripTop, B.LeftW, B.StripBottom);
    const TRect RS(SrcW - B.RightW, B.StripTop, SrcW, B.StripBottom);
    auto Fill = [&](TspBitmap* Img, const TRect& Strip) {
      if (Img->Empty()) return;
      if (D.FullStretch) {
        CopyPixels(Img, TRect(0, 0, Img->Width(), B.MidH), S, Strip);
      } else {
        for (const TspLayerTile& T : LayerSideTiles(B.MidH, Strip.Height()))
          CopyPixels(Img, TRect(0, T.DstTop, Img->Width(), T.DstTop + T.Rows), S,
                     TRect(Strip.Left, Strip.Top, Strip.Right, Strip.Top + T.Rows));
      }
      Img->CheckingAlphaBlend();
    };
    Fill(LeftImage, LS);
    Fill(RightImage, RS);
  }
  for (TspBitmap* Img : {TopImage, BottomImage, LeftImage, RightImage})
    if (HasRows(Img)) Img->CheckRGBA();
  if (BlurApplies()) BuildBlurRegions();
}

bool TspFormLayerBorder::BlurApplies() const {
  return FIsAeroEnabled && FSD && FSD->AeroBlurEnabled() && DSF && !DSF->AlphaBlend();
}

void TspFormLayerBorder::LayoutCaptionObjects() {
  if (!FData || !DSF || !TopImage || !FSourceBitmap) return;
  const TspDataSkinLayerFrame& D = *FData;
  const Integer Dx = TopImage->Width() - FSourceBitmap->Width();
  const Integer Offs = FSD ? FSD->ButtonsOffset : 0;
  TRect R = D.CaptionRect;
  R.Right += Dx;
  Integer X, Y;
  if (RectIsEmpty(D.ButtonsRect)) {
    X = R.Right;
    Y = D.ButtonsTopOffset != 0 ? D.ButtonsTopOffset : R.Top;
  } else {
    X = D.ButtonsRect.Right + Dx;
    Y = D.ButtonsRect.Top;
  }
  TList* L = DSF->ObjectList;
  auto Find = [&](TStdCommand Cmd) -> TspActiveSkinObject* {
    for (Integer I = 0; I < L->Count(); ++I) {
      TspActiveSkinObject* O = ObjectAt(L, I);
      if (!O->Visible || !O->SkinRectInAPicture) continue;
      if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == Cmd) return O;
      if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O); A && A->Command == Cmd) return O;
    }
    return nullptr;
  };
  for (TStdCommand Cmd : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
    auto* B = dynamic_cast<TspSkinStdButtonObject*>(Find(Cmd));
    if (!B) continue;  // an animated object stays where it is
    const Integer W = B->SkinRect.Width(), H = B->SkinRect.Height();
    B->ObjectRect = TRect(X - W, Y, X, Y + H);
    X -= W + Offs;
  }
  TspSkinCaptionObject* Cap = nullptr;
  for (Integer I = 0; I < L->Count() && !Cap; ++I) Cap = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(L, I));
  if (Cap) Cap->ObjectRect = TRect(R.Left, R.Top, X - Offs, R.Bottom);
  TspActiveSkinObject* Sys = Find(cmSysMenu);
  auto* SysB = dynamic_cast<TspSkinStdButtonObject*>(Sys);
  if (!Sys) return;
  Integer W, H;
  if (DSF->ShowIcon()) {
    DSF->GetSmallIconSize(W, H);
  } else {
    W = Sys->SkinRect.Width();
    H = Sys->SkinRect.Height();
  }
  if (RectIsEmpty(D.SysMenuButtonRect)) {
    X = R.Left;
    if (SysB) {
      SysB->ObjectRect = TRect(X, Y, X + W, Y + H);
      X += W + Offs;
      const Integer Top = (DSF->ShowIcon() || D.SysButtonTopOffset == 0) ? R.Top + R.Height() / 2 - H / 2
                                                                         : D.SysButtonTopOffset;
      SysB->ObjectRect.Top = Top;
      SysB->ObjectRect.Bottom = Top + H;
    }
    if (Cap) Cap->ObjectRect.Left = X;
  } else if (SysB) {
    const TRect& SR = D.SysMenuButtonRect;
    SysB->ObjectRect = TRect(SR.Left, SR.Top, SR.Left + W, SR.Top + H);
    const Integer Top = SR.Top + SR.Height() / 2 - H / 2;
    SysB->ObjectRect.Top = Top;
    SysB->ObjectRect.Bottom = Top + H;
  }
}

TRect TspFormLayerBorder::OuterRect(Integer ALeft, Integer ATop, Integer AW, Integer AH, bool Collapse) {
  if (!FData || !FSourceBitmap) return TRect();
  const Integer FH = (Collapse && DSF && DSF->IsBorderCollapsed()) ? FData->RollUpFormHeight : AH + FData->HeightOffset;
  return LayerOuterRect(*FData, FSourceBitmap->Width(), FSourceBitmap->Height(), ALeft, ATop, AW, FH);
}

TPoint TspFormLayerBorder::WindowPos(TspFormLayerBorderType Kind, Integer X, Integer Y, Integer AWidth,
                                     Integer AHeight) const {
  const Integer TopH = TopImage ? TopImage->Height() : 0;
  switch (Kind) {
    case spflTop: return TPoint(X, Y);
    case spflBottom: return TPoint(X, Y + AHeight - (BottomImage ? BottomImage->Height() : 0));
    case spflLeft: return TPoint(X, Y + TopH);
    case spflRight: return TPoint(X + AWidth - (RightImage ? RightImage->Width() : 0), Y + TopH);
  }
  return TPoint(X, Y);
}

void TspFormLayerBorder::Apply(TspFormLayerWindow* Wnd, TspBitmap* Img, HRGN Rgn) {
  if (!Wnd || !Img) return;
  UpdateLayeredControl(Img, CurrentAlpha(), Wnd);
  if (BlurApplies() && Rgn) EnableDwmBlurBehind(Wnd->Handle(), true, Rgn);
}

void TspFormLayerBorder::Show(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (!FData || !FForm) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FVisible = true;
  BuildBorderImages(AWidth, AHeight);
  FreeWindows();
  auto Place = [this](TspFormLayerWindow* W, const TPoint& P, UINT Show) {
    TspBitmap* Img = W == TopBorder ? TopImage : W == BottomBorder ? BottomImage : W == LeftBorder ? LeftImage : RightImage;
    PlaceAt(W, P, Img, Show | SWP_NOACTIVATE);
  };
  auto Make = [&](TspFormLayerBorderType Kind, TspBitmap* Img) {
    auto* W = new TspFormLayerWindow(this, FForm);
    W->BorderType = Kind;
    const TPoint P = WindowPos(Kind, X, Y, AWidth, AHeight);
    W->SetBounds(P.X, P.Y, Img ? Img->Width() : 0, Img ? Img->Height() : 0);
    W->HandleNeeded();
    return W;
  };
  if (LayerSinglePicture(*FData)) {
    TopBorder = Make(spflTop, TopImage);
    Apply(TopBorder, TopImage, nullptr);
    Place(TopBorder, TPoint(X, Y), SWP_SHOWWINDOW);
    return;
  }
  LeftBorder = Make(spflLeft, LeftImage);
  RightBorder = Make(spflRight, RightImage);
  TopBorder = Make(spflTop, TopImage);
  BottomBorder = Make(spflBottom, BottomImage);
  Apply(TopBorder, TopImage, TopRgn);
  Apply(BottomBorder, BottomImage, BottomRgn);
  if (HasRows(LeftImage)) Apply(LeftBorder, LeftImage, LeftRgn);
  if (HasRows(RightImage)) Apply(RightBorder, RightImage, RightRgn);
  Place(TopBorder, WindowPos(spflTop, X, Y, AWidth, AHeight), SWP_SHOWWINDOW);
  Place(BottomBorder, WindowPos(spflBottom, X, Y, AWidth, AHeight), SWP_SHOWWINDOW);
  for (auto [W, Img, Kind] : {std::tuple{LeftBorder, LeftImage, spflLeft}, std::tuple{RightBorder, RightImage, spflRight}}) {
    const bool Rows = HasRows(Img);
    if (Rows) Place(W, WindowPos(Kind, X, Y, AWidth, AHeight), SWP_SHOWWINDOW);
      }
}

void TspFormLayerBorder::SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (!FData || !FVisible) return;
  FWidth = AWidth;
  FHeight = AHeight;
  BuildBorderImages(AWidth, AHeight);
  const UINT Flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  auto Move = [&](TspFormLayerWindow* W, TspFormLayerBorderType Kind, UINT Show) {
    if (!W) return;
    TspBitmap* Img = Kind == spflTop ? TopImage : Kind == spflBottom ? BottomImage : Kind == spflLeft ? LeftImage : RightImage;
    PlaceAt(W, WindowPos(Kind, X, Y, AWidth, AHeight), HasRows(Img) ? Img : nullptr, Flags | Show);
  };
  if (TopBorder) Apply(TopBorder, TopImage, TopRgn);
  if (BottomBorder) Apply(BottomBorder, BottomImage, BottomRgn);
  Move(TopBorder, spflTop, SWP_SHOWWINDOW);
  Move(BottomBorder, spflBottom, SWP_SHOWWINDOW);
  for (auto [W, Img, Kind, Rgn] : {std::tuple{LeftBorder, LeftImage, spflLeft, LeftRgn},
                                   std::tuple{RightBorder, RightImage, spflRight, RightRgn}}) {
    if (!W) continue;
    const bool Rows = HasRows(Img);
    if (Rows) Apply(W, Img, Rgn);
    Move(W, Kind, Rows ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
      }
}

void TspFormLayerBorder::Update(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  (void)X;
  (void)Y;
  if (!FData || !FVisible) return;
  FWidth = AWidth;
  FHeight = AHeight;
  BuildBorderImages(AWidth, AHeight);
  for (auto [W, Img, Rgn, Side] : {std::tuple{TopBorder, TopImage, TopRgn, false},
                                   std::tuple{BottomBorder, BottomImage, BottomRgn, false},
                                   std::tuple{LeftBorder, LeftImage, LeftRgn, true},
                                   std::tuple{RightBorder, RightImage, RightRgn, true}}) {
    if (!W || (Side && !HasRows(Img))) continue;
    Apply(W, Img, Rgn);
    UpdateWindow(W->Handle());
  }
}

void TspFormLayerBorder::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (!FData || !Canvas) return;
  BuildBorderImages(AWidth, AHeight);
  if (TopImage && TopImage->Width() > 0) TopImage->Draw(Canvas, X, Y);
  if (BottomImage && BottomImage->Width() > 0) BottomImage->Draw(Canvas, X, Y + AHeight - BottomImage->Height());
  const Integer TopH = TopImage ? TopImage->Height() : 0;
  if (HasRows(LeftImage)) LeftImage->Draw(Canvas, X, Y + TopH);
  if (HasRows(RightImage)) RightImage->Draw(Canvas, X + AWidth - RightImage->Width(), Y + TopH);
}

void TspFormLayerBorder::ShowWithForm() {
  if (!FData || !FForm) return;
  const TRect R = OuterRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), true);
  Show(R.Left, R.Top, R.Width(), R.Height());
}

void TspFormLayerBorder::SetBoundsWithForm() {
  if (!FData || !FForm || !FVisible) return;
  const TRect R = OuterRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), true);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TspFormLayerBorder::SetBoundsWithForm2(Integer AW, Integer AH) {
  if (!FData || !FForm || !FVisible) return;
  const TRect R = OuterRect(FForm->Left(), FForm->Top(), AW, AH, true);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TspFormLayerBorder::SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH) {
  if (!FData || !FForm || !FVisible) return;
  const TRect R = OuterRect(ALeft, ATop, AW, AH, true);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TspFormLayerBorder::UpdateBorder() {
  if (!FData || !FForm || !FVisible) return;
  const TRect R = OuterRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), true);
  Update(R.Left, R.Top, R.Width(), R.Height());
}

void TspFormLayerBorder::MoveWithForm() {
  if (FForm) MoveWithForm2(FForm->Left(), FForm->Top());
}

void TspFormLayerBorder::MoveWithForm2(Integer ALeft, Integer ATop) {
  if (!FData || !FForm || !FVisible) return;
  const TRect R = OuterRect(ALeft, ATop, FForm->Width(), FForm->Height(), true);
  for (auto [W, Kind] : {std::pair{TopBorder, spflTop}, std::pair{BottomBorder, spflBottom},
                         std::pair{LeftBorder, spflLeft}, std::pair{RightBorder, spflRight}}) {
    if (!W) continue;
    if ((Kind == spflLeft || Kind == spflRight) && !W->Shown()) continue;
    const TPoint P = WindowPos(Kind, R.Left, R.Top, R.Width(), R.Height());
    const TPoint S = WindowSize(W);
    W->SetBounds(P.X, P.Y, S.X, S.Y);
  }
}

void TspFormLayerBorder::SetAlphaBlend() {
  if (!FData || !FVisible || !TopImage) return;
  const Byte A = CurrentAlpha();
  if (TopBorder && TopImage->Width() > 0) UpdateLayeredAlpha(TopImage, A, TopBorder);
  if (BottomBorder && BottomImage && BottomImage->Width() > 0) UpdateLayeredAlpha(BottomImage, A, BottomBorder);
  if (LeftBorder && LeftImage && LeftBorder->Shown()) UpdateLayeredAlpha(LeftImage, A, LeftBorder);
  if (RightBorder && RightImage && RightBorder->Shown()) UpdateLayeredAlpha(RightImage, A, RightBorder);
}

void TspFormLayerBorder::SetAlphaBlend2() {
  if (!FData || !FVisible || !FForm) return;
  SetAlphaBlend();
  const TRect R = OuterRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), true);
  for (auto [W, Kind] : {std::pair{TopBorder, spflTop}, std::pair{BottomBorder, spflBottom},
                         std::pair{LeftBorder, spflLeft}, std::pair{RightBorder, spflRight}}) {
    if (!W) continue;
    if ((Kind == spflLeft || Kind == spflRight) && !W->Shown()) continue;
    PlaceAt(W, WindowPos(Kind, R.Left, R.Top, R.Width(), R.Height()), nullptr, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  }
}

void TspFormLayerBorder::Hide() {
  FVisible = false;
  FreeImages();
  FreeWindows();
}

void TspFormLayerBorder::CheckFormAlpha(Integer AFormAlpha, bool AUpdate) {
  if (!FData) return;
  FCurrentAlphaBlendValue = LayerScaledAlpha(FData->AlphaBlendValue, AFormAlpha);
  FCurrentInActiveAlphaBlendValue = LayerScaledAlpha(FData->InActiveAlphaBlendValue, AFormAlpha);
  if (AUpdate) SetAlphaBlend();
}

void TspFormLayerBorder::ReleaseStdButtons() {
  if (!DSF) return;
  for (Integer I = 0; I < DSF->ObjectList->Count(); ++I)
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(ObjectAt(DSF->ObjectList, I))) {
      B->FDown = false;
      B->FMouseIn = false;
    }
}

void TspFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
  FActive = AValue;
  if (!AValue && DSF) {
    if (ActiveObject >= 0 && ActiveObject < DSF->ObjectList->Count()) {
      auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(DSF->ObjectList, ActiveObject));
      TspQuickButtonItems* Q = DSF->FQuickButtons;
      if (C && C->ActiveQuickButton != -1 && Q && C->ActiveQuickButton < Q->Count()) {
        Q->Items(C->ActiveQuickButton)->Active = false;
        Q->Items(C->ActiveQuickButton)->Down = false;
      }
    }
    ReleaseStdButtons();
    MouseCaptureObject = -1;
    TrackBorderObject(-1, -1);
    ActiveObject = -1;
  }
  if (!FVisible || !FData) return;
  if (FData->FullBorder || FSourceInActiveBitMap) SetBoundsWithForm();
  if (AUpdate) SetAlphaBlend2();
}

void TspFormLayerBorder::ShowWithFormAnimation() {
  if (!FData || !FForm) return;
  const Integer Target = FCurrentAlphaBlendValue;
  FCurrentAlphaBlendValue = 0;
  const TRect R = OuterRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), false);
  Show(R.Left, R.Top, R.Width(), R.Height());
  Application->ProcessMessages();
  // Paced by the tick count: each step more than 5 ms after the previous.
  DWORD Last = 0;
  bool First = true;
  for (Integer V : LayerFadeSteps(Target)) {
    while (!First && GetTickCount() - Last <= 5) Sleep(1);
    First = false;
    Last = GetTickCount();
    FCurrentAlphaBlendValue = V;
    SetAlphaBlend();
  }
}

void TspFormLayerBorder::TrackBorderObject(Integer X, Integer Y) {
  if (!DSF) return;
  TList* L = DSF->ObjectList;
  if (L->Count() == 0) return;
  if (DSF->FSupportNCArea && !DSF->FFormActive) return;
  if (DSF->FSizeMove || DSF->FBorderLayerChangeSize || DSF->PreviewMode) return;
  if (DSF->FSupportNCArea && FForm && FForm->BorderStyle() == bsNone) return;
  if (FData && !FData->FullBorder) return;
  OldActiveObject = ActiveObject;
  Integer Hit = -1;
  for (Integer I = 0; I < L->Count() && Hit == -1; ++I) {
    TspActiveSkinObject* O = ObjectAt(L, I);
    if (!O->Enabled || !O->Visible) continue;
    const TRect& R = O->ObjectRect;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom && O->PointInMask(X - R.Left, Y - R.Top)) Hit = I;
  }
  ActiveObject = Hit;
  if (MouseCaptureObject != -1 && MouseCaptureObject != ActiveObject) ActiveObject = -1;
  if (ActiveObject >= L->Count()) ActiveObject = -1;
  if (OldActiveObject >= L->Count()) OldActiveObject = -1;
  if (OldActiveObject == ActiveObject) return;
  if (OldActiveObject != -1) {
    TspActiveSkinObject* O = ObjectAt(L, OldActiveObject);
    if (O->Enabled && O->Visible) {
      O->MouseLeave();
      if (DSF->FShowObjectHint && DSF->FSkinHint && !O->Hint.empty()) DSF->FSkinHint->HideHint();
    }
  }
  if (ActiveObject != -1 && ActiveObject < L->Count()) {
    TspActiveSkinObject* O = ObjectAt(L, ActiveObject);
    if (O->Enabled && O->Visible) {
      O->MouseEnter();
      if (DSF->FFormActive && DSF->FShowObjectHint && DSF->FSkinHint && !O->Hint.empty())
        DSF->FSkinHint->ActivateHint2(O->Hint);
    }
  }
}

void TspFormLayerBorder::BorderMouseTimerTick(TObject*) {
  if (!FData || FData->FullBorder) {
    if (TopBorder && TopBorder->HandleAllocated()) {
      const TPoint P = DSF ? DSF->CursorPos() : TPoint();
      if (WindowFromPoint(POINT{P.X, P.Y}) != TopBorder->Handle()) {
        MouseTimer->SetEnabled(false);
        MouseCaptureObject = -1;
        TrackBorderObject(-1, -1);
      }
    }
    return;
  }
  MouseTimer->SetEnabled(false);
}
