// Hit testing, frame mouse input, size rules, the window region, roll-up,
// fade-in, activity, window states, the skin walk and the form options.
#include <algorithm>
#include <memory>

#include "skin/boxes/SkinBoxCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/controls/win/SkinButtons.h"
#include "skin/controls/win/SkinPageControl.h"
#include "skin/controls/win/SkinStdCtrls.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormSkin.h"

namespace {

TspActiveSkinObject* ObjectAt(TList* L, Integer I) { return static_cast<TspActiveSkinObject*>(L->Items(I)); }

}  // namespace

// ---------------------------------------------------------------------------
// Hit testing

void TspFormSkin::PointToFrame(TPoint& P) { P = TPoint(P.X - FForm->Left(), P.Y - FForm->Top()); }

Integer TspFormSkin::DefaultHitTest(TPoint P) {
  const bool Sizing = FWindowState != wsMaximized && FWindowState != wsMinimized && !FRollUpState && FSizeable;
  return DefaultFrameHitTest(P, FForm->Width(), FForm->Height(), Sizing, ActiveObject != -1, GetDefCaptionRect(),
                             DefCaptionHeight());
}

bool TspFormSkin::IsCaptionPoint(TPoint P) {
  if (!FNCDraggAble) return false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ObjectList, I));
    if (!C || !IsObjectShown(C->RollUp) || !PointInRect(C->ObjectRect, P)) continue;
    if (FQuickButtons->Count() > 0 && FQuickImageList) {
      TRect R = C->ObjectRect;
      R.Left += FQuickButtons->Count() * (FQuickImageList->Width() + 8);
      return PointInRect(R, P);
    }
    return true;
  }
  return false;
}

TspMaskShape TspFormSkin::MaskShape() {
  UpdateMaskStrips();
  TspMaskShape M;
  M.MaskRect = FR.NewMaskRectArea;
  M.W = FForm->Width();
  M.H = FForm->Height();
  TBitmap* Strips[4] = {RMTop, RMBottom, RMLeft, RMRight};
  for (int I = 0; I < 4; ++I) M.Strip[I] = TPoint(Strips[I]->Width(), Strips[I]->Height());
  if (Skin() && !FSD->FMask->Empty()) {
    M.Black = [this, Strips](TspMaskStrip S, Integer X, Integer Y) {
      return ColorToRGB(Strips[S]->Canvas()->Pixels(X, Y)) == ColorToRGB(BlackColor);
    };
  }
  return M;
}

bool TspFormSkin::PointInWindowShape(TPoint P) { return PointInMaskShape(P, MaskShape()); }

bool TspFormSkin::IsNearFrameEdge(TPoint P) {
  const TspMaskShape M = MaskShape();
  return NearFrameEdge(P, FSD ? FSD->BorderW : 0, &M);
}

Integer TspFormSkin::SkinHitTest(TPoint P) {
  CalcSkinRects();
  const bool Caption = IsCaptionPoint(P);
  const bool InClient = PointInRect(FR.NewClRect, P);
  auto Inner = [&] { return InClient ? spHTCLIENT : (Caption ? spHTCAPTION : spHTOBJECT); };
  if (FRollUpState || FWindowStateInit == wsMinimized) return Caption ? spHTCAPTION : spHTOBJECT;
  if (ActiveObject != -1 && !Caption && !InClient && !FSizeMove) return spHTOBJECT;
  if (FWindowStateInit == wsMaximized || !FSizeable) return Inner();
  if (!IsNearFrameEdge(P)) return Inner();
  const Integer Z = FrameSizingZone(P, FR);
  return Z ? Z : Inner();
}

Integer TspFormSkin::ClientHitTest(TPoint P) {
  if (!FSizeable || FWindowStateInit == wsMaximized || FRollUpState || ActiveObject != -1) return spHTCLIENT;
  if (!Skin()) return spHTCLIENT;
  if (!RectIsEmpty(FSizeGripArea) && PointInRect(FSizeGripArea, P)) return spHTBOTTOMRIGHT;
  if (!IsNearFrameEdge(P)) return spHTCLIENT;
  const Integer Z = FrameSizingZone(P, FR);
  return Z ? Z : spHTCLIENT;
}

// ---------------------------------------------------------------------------
// Mouse input on the frame

void TspFormSkin::FrameMouseDown(TMouseButton Button, Integer X, Integer Y) {
  if (FSupportNCArea) {
    UpdateActiveObject(X, Y, true);
    if (ActiveObject == -1) return;
    TspActiveSkinObject* O = ObjectAt(ObjectList, ActiveObject);
    if (!dynamic_cast<TspSkinCaptionObject*>(O) && FForm->HandleAllocated()) SetCapture(FForm->Handle());
    MouseCaptureObject = ActiveObject;
    O->MouseDown(X, Y, Button);
    return;
  }
  FIsDragging = false;
  UpdateActiveObject(X, Y, true);
  if (ActiveObject != -1 && !FMouseDownControl) {
    MouseCaptureObject = ActiveObject;
    ObjectAt(ObjectList, ActiveObject)->MouseDown(X, Y, Button);
  } else if (ActiveObject == -1 && Button == mbLeft && FWindowState != wsMaximized && FDraggAble) {
    BeginFormDrag(X, Y);
  }
  FMouseDownControl = false;
}

void TspFormSkin::FrameMouseUp(TMouseButton Button, Integer X, Integer Y) {
  if (FSupportNCArea) {
    if (MouseCaptureObject == -1 || MouseCaptureObject >= ObjectList->Count()) return;
    TspActiveSkinObject* O = ObjectAt(ObjectList, MouseCaptureObject);
    if (!dynamic_cast<TspSkinCaptionObject*>(O)) ReleaseCapture();
    MouseCaptureObject = -1;
    O->MouseUp(X, Y, Button);
    return;
  }
  EndFormDrag();
  if (MouseCaptureObject != -1 && MouseCaptureObject < ObjectList->Count()) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, MouseCaptureObject);
    MouseCaptureObject = -1;
    O->MouseUp(X, Y, Button);
  }
}

void TspFormSkin::FrameMouseMove(Integer X, Integer Y) {
  if (!FSupportNCArea && FIsDragging) return;
  if (MouseCaptureObject != -1 && MouseCaptureObject < ObjectList->Count())
    ObjectAt(ObjectList, MouseCaptureObject)->MouseMove(X, Y);
  else if (ActiveObject != -1 && ActiveObject < ObjectList->Count())
    ObjectAt(ObjectList, ActiveObject)->MouseMove(X, Y);
}

void TspFormSkin::FrameDblClick() {
  if (ActiveObject != -1 && ActiveObject < ObjectList->Count()) ObjectAt(ObjectList, ActiveObject)->DblClick();
}

// ---------------------------------------------------------------------------
// Size rules

Integer TspFormSkin::GetMinWidth() {
  const bool Skinned = Skin() != nullptr;
  if (FSupportNCArea) {
    if (!Skinned) return FMinWidth > 0 ? FMinWidth : 130;
    const Integer P = FSD->FPicture->Width();
    if (P < FMinWidth && FWindowState != wsMinimized) return FMinWidth;
    const Integer F = FSD->FormMinWidth;
    if (F > 0) return (F >= FMinWidth || FWindowState == wsMinimized) ? F : FMinWidth;
    return P;
  }
  if (!Skinned) return 0;
  const Integer P = FSD->FPicture->Width();
  return FMinWidth == 0 ? P : std::min(P, FMinWidth);
}

Integer TspFormSkin::GetMinHeight() {
  const bool Skinned = Skin() != nullptr;
  const bool Free = !FRollUpState && FWindowState != wsMinimized;
  if (FSupportNCArea) {
    if (!Skinned) {
      const Integer E = DefCaptionHeight() + 6;
      return (E < FMinHeight && Free) ? FMinHeight : E;
    }
    const Integer F = FSD->FPicture->Height() - FSD->ClRect.Height();
    if (CanShowLayeredBorder() && FBorderLayer->FullBorder()) return (F < FMinHeight && Free) ? FMinHeight : 10;
    if (FSD->FormMinHeight == 0) return (F < FMinHeight && Free) ? FMinHeight : F;
    const Integer G = FSD->FormMinHeight;
    return (G < FMinHeight && Free) ? FMinHeight : G;
  }
  if (!Skinned) return 0;
  const Integer P = FSD->FPicture->Height();
  return FMinHeight == 0 ? P : std::min(P, FMinHeight);
}

Integer TspFormSkin::GetMaxWidth() {
  if (FMaxWidth != 0) return FMaxWidth;
  TRect R;
  GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen, R);
  return R.Width();
}

Integer TspFormSkin::GetMaxHeight() {
  if (FMaxHeight != 0) return FMaxHeight;
  TRect R;
  GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen, R);
  return R.Height();
}

void TspFormSkin::GetMinimizedPosition(TPoint& P) {
  TRect R;
  if (IsMDIChild()) {
    // Along the bottom of the parent's client area, among its other children.
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    GetMDIClientRect(R);
    R = TRect(0, 0, R.Width(), R.Height());
    P = FindMinimizedPlace(R, GetMinWidth(), GetMinHeight(), [this, Main](TPoint Q) {
      for (Integer I = 0; Main && I < Main->MDIChildCount(); ++I) {
        TCustomForm* F = Main->MDIChildren(I);
        if (F == FForm) continue;
        auto* Other = dynamic_cast<TspFormSkin*>(FindSkinForm(F));
        if (Other && Other->WindowState() == wsMinimized && F->Left() == Q.X && F->Top() == Q.Y) return true;
      }
      return false;
    });
    return;
  }
  GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, R);
  P = FindMinimizedPlace(R, GetMinWidth(), GetMinHeight(), [this](TPoint Q) {
    for (Integer I = 0; I < Screen->FormCount(); ++I) {
      TCustomForm* F = Screen->Forms(I);
      if (F == FForm || (Application && F == Application->MainForm()) || !F->Visible()) continue;
      auto* Other = dynamic_cast<TspFormSkin*>(FindSkinForm(F));
      if (Other && Other->WindowState() == wsMinimized && F->Left() == Q.X && F->Top() == Q.Y) return true;
    }
    return false;
  });
}

void TspFormSkin::SnapToWorkArea(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight) {
  TRect R;
  GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, R);
  POINT C;
  GetCursorPos(&C);
  Integer Border[4] = {FBorderLayer->LeftSize, FBorderLayer->TopSize, FBorderLayer->RightSize,
                       FBorderLayer->BottomSize};
  const bool UseBorder = CanShowLayeredBorder() && FBorderLayer->FVisible && FBorderLayer->FData &&
                         !RectIsEmpty(FBorderLayer->FData->BorderRect);
  SnapToArea(ALeft, ATop, AWidth, AHeight, R, FMagneticSize, TPoint(C.x, C.y), FSnap, UseBorder ? Border : nullptr);
}

bool TspFormSkin::IsFullDragEnabled() {
  BOOL On = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &On, 0);
  return On != FALSE;
}

// ---------------------------------------------------------------------------
// The window region

void TspFormSkin::StripRegion(HRGN& Rgn, TBitmap* Strip, Integer X, Integer Y) {
  if (Strip->Empty()) return;
  void* Data = nullptr;
  const Integer Size = BuildMaskRegionData(Strip, X, Y, Data);
  if (Size <= 0) return;
  const HRGN Part = CreateRegionFromData(Data, Size);
  FreeRegionData(Data);
  if (!Part) return;
  CombineRgn(Rgn, Rgn, Part, RGN_OR);
  DeleteObject(Part);
}

void TspFormSkin::UpdateMaskStrips() {
  if (!FMaskStripsStale) return;
  FMaskStripsStale = false;
  for (TBitmap* B : {RMTop, RMBottom, RMLeft, RMRight}) {
    B->SetSize(0, 0);
    B->SetPixelFormat(pf24bit);
  }
  if (!Skin() || FSD->FMask->Empty()) return;
  const TspFrameRects& R = FMaskStripsFR;
  CreateBorderStripImages(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea, R.NewLTPoint,
                          R.NewRTPoint, R.NewLBPoint, R.NewRBPoint, R.NewMaskRectArea, FSD->FMask, RMTop, RMLeft,
                          RMRight, RMBottom, FMaskStripsSize.X, FMaskStripsSize.Y);
}

void TspFormSkin::ChangeWindowRegion(HWND Wnd, HRGN R) {
  RECT WR;
  GetWindowRect(Wnd, &WR);
  const Integer W = WR.right - WR.left, H = WR.bottom - WR.top;
  // What shows now: the region set, or the whole window without one (a
  // new window of the form starts without).
  if (FShapeWnd != Wnd && FShape) {
    DeleteObject(FShape);
    FShape = nullptr;
  }
  const bool HadRegion = FShape != nullptr;
  if (R ? (HadRegion && EqualRgn(FShape, R)) : !HadRegion) {
    // The same shape: nothing to change, nothing to paint.
    if (R) DeleteObject(R);
    return;
  }
  HRGN Old = HadRegion ? FShape : CreateRectRgn(0, 0, W, H);
  HRGN Gained = CreateRectRgn(0, 0, W, H);
  CombineRgn(Gained, R ? R : Gained, Old, RGN_DIFF);
  DeleteObject(Old);
  FShape = nullptr;
  FShapeWnd = Wnd;
  if (R) {
    FShape = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(FShape, R, nullptr, RGN_COPY);
  }
  // Only pixels the new shape adds were never painted; what it takes away is
  // cut off by the shape itself. Wine's own redraw of a region change
  // repaints the whole window at once: where the gain is a few rectangles
  // (a rounded frame grown by a resize step) they alone are invalidated for
  // the next paint. A jagged gain goes through Wine's redraw: Wine's update
  // region and every paint through it slow down with each rectangle, and
  // its region change without redraw costs it no less.
  const DWORD Size = GetRegionData(Gained, 0, nullptr);
  const bool Few = Size <= sizeof(RGNDATAHEADER) + 64 * sizeof(RECT);
  SetWindowRgn(Wnd, R, Few ? FALSE : TRUE);
  FRegionRepainted = !Few;
  RECT Box;
  if (Few && GetRgnBox(Gained, &Box) != NULLREGION) {
    POINT C{0, 0};
    ClientToScreen(Wnd, &C);
    OffsetRgn(Gained, WR.left - C.x, WR.top - C.y);
    RedrawWindow(Wnd, nullptr, Gained, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
  }
  DeleteObject(Gained);
}

void TspFormSkin::UpdateWindowRegion(bool Full) {
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  FRegionRepainted = false;
  auto Remove = [&] {
    if (FRgn && Wnd) ChangeWindowRegion(Wnd, nullptr);
    FRgn = nullptr;
  };
  auto Set = [&](HRGN R) {
    if (!Wnd) {
      DeleteObject(R);
      return;
    }
    // From here on the region belongs to the window; FRgn only tells that
    // one is set.
    ChangeWindowRegion(Wnd, R);
    FRgn = R;
  };
  if (FFormWidth == 0 || FFormHeight == 0) TakeFormSize();
  if (!FSkinnableForm) return Remove();
  if (Skin() && FForm->BorderStyle() != bsNone && FSupportNCArea && CanShowLayeredBorder() &&
      FBorderLayer->FullBorder()) {
    Integer H = FFormHeight;
    if (IsBorderCollapsed()) H = FBorderLayer->FData->RollUpFormHeight == 0 ? (FIsW7 ? 1 : 0)
                                                                            : FBorderLayer->FData->RollUpFormHeight;
    return Set(CreateRectRgn(0, 0, FFormWidth, H));
  }
  if (FForm->BorderStyle() == bsNone && FSupportNCArea) return Remove();
  if (!Skin()) {
    FMaskStripsStale = false;
    for (TBitmap* B : {RMTop, RMBottom, RMLeft, RMRight}) B->SetSize(0, 0);
    return Set(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
  }
  if (FSD->FMask->Empty()) return Set(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
  if (Full) {
    CalcFrameRects(FrameSkin(), FFormWidth, FFormHeight, FR, ButtonsInLeft);
    // The region is cut from the mask's pixels in memory; the strip pictures
    // that hit testing reads are made when it first asks for them.
    FMaskStripsFR = FR;
    FMaskStripsSize = TPoint(FFormWidth, FFormHeight);
    FMaskStripsStale = true;
    HRGN Rgn = nullptr;
    CreateSkinFrameRegion(Rgn, FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea,
                          FR.NewLTPoint, FR.NewRTPoint, FR.NewLBPoint, FR.NewRBPoint, FR.NewMaskRectArea, FSD->FMask,
                          FFormWidth, FFormHeight);
    if (Rgn) return Set(Rgn);
    // A geometry the frame region builder refuses: the strips on canvases.
    UpdateMaskStrips();
    const TRect& A = FR.NewMaskRectArea;
    Rgn = CreateRectRgn(A.Left, A.Top, A.Right, A.Bottom);
    StripRegion(Rgn, RMTop, 0, 0);
    StripRegion(Rgn, RMBottom, 0, A.Bottom);
    StripRegion(Rgn, RMLeft, 0, A.Top);
    StripRegion(Rgn, RMRight, A.Right, A.Top);
    return Set(Rgn);
  }
  HRGN Rgn = nullptr;
  void* Data = nullptr;
  const Integer Size = BuildMaskRegionData(FSD->FMask, 0, 0, Data);
  if (Size > 0) {
    Rgn = CreateRegionFromData(Data, Size);
    FreeRegionData(Data);
  }
  // A mask without black pixels keeps the region there is.
  RECT Box;
  if (Rgn && GetRgnBox(Rgn, &Box) != NULLREGION)
    Set(Rgn);
  else if (Rgn)
    DeleteObject(Rgn);
}

bool TspFormSkin::IsBorderCollapsed() {
  return FBorderLayer->FullBorder() &&
         (FRollUpState || (FWindowStateInit == wsMinimized && !FMinimizeDefault &&
                           !(Application && Application->MainForm() == FForm)));
}

// ---------------------------------------------------------------------------
// Roll-up

void TspFormSkin::SetRollUpState(bool Value) {
  // An unchanged value changes nothing (a second roll-up would lose the
  // height to return to).
  if (Value == FRollUpState) return;
  if (!FSupportNCArea && !Skin()) return;
  if (!(FBorderIcons & spbi::biRollUp)) return;
  if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState) return;
  if (FWindowState == wsMinimized) return;
  if (FWindowStateInit == wsMaximized) MaxRollUpState = Value;
  FRollUpState = Value;
  if (FSupportNCArea) {
    if (Value) {
      OldHeight = FForm->Height();
      ShrinkToRollUpHeight();
    } else if (FClientHeight > 0) {
      FForm->SetClientHeight(FClientHeight);
    } else {
      RestoreRollUpHeight();
    }
  } else if (FSD->FRollUpPicture->Empty()) {
    FRollUpState = false;
  } else if (Value) {
    OldHeight = FForm->Height();
    RollUpToPicture();
  } else {
    RollDownFromPicture();
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TspFormSkin::ShrinkToRollUpHeight() {
  if (CanShowLayeredBorder() && FBorderLayer->FVisible && FBorderLayer->FullBorder() &&
      FForm->Height() == GetMinHeight()) {
    FForm->SetHeight(GetMinHeight() + 1);
    OldHeight = FForm->Height();
  }
  FForm->SetHeight(GetMinHeight());
}

void TspFormSkin::RestoreRollUpHeight() { FForm->SetHeight(OldHeight); }

void TspFormSkin::RollUpToPicture() {
  TBitmap* RP = FSD->FRollUpPicture;
  const Integer RW = RP->Width(), RH = RP->Height();
  const bool Stretching = FSD->RollUpLeftPoint.X < FSD->RollUpRightPoint.X;
  const Integer dX = Stretching ? FForm->Width() - RW : 0;
  if (Stretching)
    for (Integer I = 0; I < ObjectList->Count(); ++I) {
      TspActiveSkinObject* O = ObjectAt(ObjectList, I);
      if (!O->RollUp) continue;
      TRect R = O->SkinRect;
      if (R.Left >= FSD->RollUpRightPoint.X) {
        R.Left += dX;
        R.Right += dX;
      } else if (R.Left <= FSD->RollUpLeftPoint.X && R.Right >= FSD->RollUpRightPoint.X) {
        R.Right += dX;
      }
      O->ObjectRect = R;
    }
  UpdateActiveObject(-1, -1, true);
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  if (VisibleControls->Count() == 0) {
    for (Integer I = 0; I < FForm->ControlCount(); ++I) {
      TControl* C = FForm->Controls(I);
      if (C->Visible()) VisibleControls->Add(C);
    }
    for (Integer I = 0; I < VisibleControls->Count(); ++I) static_cast<TControl*>(VisibleControls->Items(I))->Hide();
  }
  if (Stretching)
    FForm->SetHeight(RH);
  else
    FForm->SetBounds(FForm->Left(), FForm->Top(), RW, RH);
  SetRollUpRegion();
  if (FForm->HandleAllocated()) {
    if (FSupportNCArea)
      SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    else
      FForm->Invalidate();
  }
  MouseTimer->SetEnabled(true);
  MorphTimer->SetEnabled(true);
}

void TspFormSkin::RollDownFromPicture() {
  UpdateActiveObject(-1, -1, true);
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  for (Integer I = 0; I < VisibleControls->Count(); ++I) static_cast<TControl*>(VisibleControls->Items(I))->Show();
  VisibleControls->Clear();
  if (IsSkinResizable()) FForm->SetHeight(OldHeight);
  FitClientToPicture();
  MouseTimer->SetEnabled(true);
  MorphTimer->SetEnabled(true);
}

void TspFormSkin::SetRollUpRegion() {
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  if (!Wnd) return;
  TBitmap* RM = FSD->FRollUpMask;
  if (RM->Empty()) {
    if (FRgn) ChangeWindowRegion(Wnd, nullptr);
    FRgn = nullptr;
    return;
  }
  std::unique_ptr<TBitmap> Wide;
  TBitmap* Src = RM;
  if (FSD->RollUpLeftPoint.X < FSD->RollUpRightPoint.X) {
    Wide = std::make_unique<TBitmap>();
    CreateHorzThreeSliceImage(FSD->RollUpLeftPoint.X, RM->Width() - FSD->RollUpRightPoint.X, Wide.get(), RM,
                              TRect(0, 0, RM->Width(), RM->Height()), FForm->Width(), RM->Height(), false);
    Src = Wide.get();
  }
  void* Data = nullptr;
  const Integer Size = BuildMaskRegionData(Src, 0, 0, Data);
  if (Size <= 0) return;
  HRGN R = CreateRegionFromData(Data, Size);
  FreeRegionData(Data);
  RECT Box;
  if (R && GetRgnBox(R, &Box) != NULLREGION) {
    ChangeWindowRegion(Wnd, R);
    FRgn = R;
  } else if (R) {
    DeleteObject(R);
  }
}

void TspFormSkin::FitClientToPicture() {
  TBitmap* P = FSD->FPicture;
  if (!IsSkinResizable()) {
    if (FForm->ClientWidth() != P->Width()) FForm->SetClientWidth(P->Width());
    if (FForm->ClientHeight() != P->Height()) FForm->SetClientHeight(P->Height());
    FSizeable = false;
    return;
  }
  if (FMinWidth && FMinHeight) return;
  if (FForm->ClientWidth() < P->Width()) FForm->SetClientWidth(P->Width());
  if (FForm->ClientHeight() < P->Height()) FForm->SetClientHeight(P->Height());
}

// ---------------------------------------------------------------------------
// Activity and fade-in

bool TspFormSkin::GetFormActive() { return PreviewMode || FForm->Active(); }

void TspFormSkin::UpdateActiveState(bool AUpdate) {
  const bool A = GetFormActive();
  if (!A)
    for (Integer I = 0; I < FQuickButtons->Count(); ++I) FQuickButtons->Items(I)->Active = FQuickButtons->Items(I)->Down = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ObjectList, I));
    if (!C) continue;
    if (C->EnableAnimation() && A != OldActive) {
      C->FIncTime = 25;
      C->CurrentFrame = A ? 1 : (C->InActiveAnimation ? C->FrameCount : 0);
      if (C->CurrentFrame != 0) AnimateTimer->SetEnabled(true);
    }
    if (AUpdate && IsObjectShown(C->RollUp)) {
      C->Active = A;
      if (!FSupportNCArea || !RectIsEmpty(C->ActiveSkinRect)) C->ReDraw();
    } else if (C->Morphing) {
      C->SetMorphKf(A ? 1 : 0);
    }
  }
  if (A) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeActivate) {
    OnDeActivate(this);
  }
  OldActive = A;
}

bool TspFormSkin::NeedsBorderShowStep() {
  const bool AnimateAll = FSD && FSD->AnimationForAllWindows();
  return FIsVistaOS && CanShowLayeredBorder() && !FAlphaBlend && !FAlphaBlendAnimation && !AnimateAll;
}

void TspFormSkin::FadeTimerTick() {
  const HWND Wnd = FForm->Handle();
  const bool AnimateAll = FSD && FSD->AnimationForAllWindows();
  auto SetAlpha = [&](Byte A) {
    if (AlphaSink)
      AlphaSink(Wnd, A);
    else
      SetWindowAlphaValue(Wnd, A);
  };
  auto Unlayer = [&] {
    const LONG Ex = GetWindowLongW(Wnd, GWL_EXSTYLE);
    if (Ex & WS_EX_LAYERED) SetWindowLongW(Wnd, GWL_EXSTYLE, Ex & ~WS_EX_LAYERED);
  };
  const bool Border = CanShowLayeredBorder() && (FForm->Visible() || FForm->Tag() == -10000);
  if (NeedsBorderShowStep()) {
    KillTimer(Wnd, 1);
    Unlayer();
    if (Border) {
      FBorderLayer->FActive = FForm->Active();
      FBorderLayer->CheckFormAlpha(255, true);
    }
    return;
  }
  if (!FIsLayerEnabled || !(FAlphaBlend || FAlphaBlendAnimation || AnimateAll)) return;
  KillTimer(Wnd, 1);
  if (auto* B = dynamic_cast<TspSkinButton*>(FForm->ActiveControl())) B->FStopAnimate = true;
  const bool Animate = FAlphaBlendAnimation || AnimateAll;
  const Integer T = (Animate && !FAlphaBlend) ? 255 : FAlphaBlendValue;
  if (Animate) {
    const Integer Step = std::max<Integer>(T / 15, 1);
    Integer A = 0;
    Application->ProcessMessages();
    // Paced like the tick-count loop (a step after more than 5 ms) without
    // burning the processor in between.
    DWORD Last = GetTickCount() - 6;
    while (A < T) {
      const DWORD Now = GetTickCount();
      if (Now - Last > 5) {
        A = std::min(A + Step, T);
        SetAlpha(static_cast<Byte>(A));
        if (CanShowLayeredBorder()) FBorderLayer->CheckFormAlpha(A, true);
        Last = Now;
      } else {
        Sleep(1);
      }
    }
    if (CanShowLayeredBorder() && !FBorderLayer->FullBorder()) FBorderLayer->SetBoundsWithForm();
  } else if (T != 255) {
    SetAlpha(FAlphaBlendValue);
    if (CanShowLayeredBorder()) {
      FBorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
      if (!FBorderLayer->FullBorder()) FBorderLayer->SetBoundsWithForm();
    }
  }
  if (T == 255) Unlayer();
}

// ---------------------------------------------------------------------------
// Window states

void TspFormSkin::SetWindowState(TWindowState Value) {
  FWindowStateInit = Value;
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  ChangeWindowState(Value);
  FWindowStateInit = FWindowState;
}

void TspFormSkin::Loaded() {
  TComponent::Loaded();
  if (FWindowStateInit != FWindowState && FSupportNCArea) SetWindowState(FWindowStateInit);
}

void TspFormSkin::ChangeWindowState(TWindowState V) {
  if (V == FWindowState) return;
  const TWindowState Old = FWindowState;
  const bool Main = Application && Application->MainForm() == FForm;
  if (!(V == wsMinimized && (Main || FMinimizeDefault))) FWindowState = V;
  switch (V) {
    case wsNormal:
      if (Old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize) SetRollUpState(false);
      FRollUpBeforeMaximize = false;
      DoRestore();
      break;
    case wsMinimized: DoMinimize(); break;
    case wsMaximized:
      FRollUpBeforeMaximize = FRollUpState;
      DoMaximize();
      break;
  }
}

void TspFormSkin::DoMinimize() {
  const bool Main = Application && Application->MainForm() == FForm;
  if (Main || !FSupportNCArea) {
    if (FSupportNCArea && FBorderLayer->FVisible) FBorderLayer->Hide();
    Application->Minimize();
  } else if (FMinimizeDefault) {
    FForm->SetWindowState(wsMinimized);
  } else {
    if (RectIsEmpty(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
    TPoint P;
    GetMinimizedPosition(P);
    FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
  }
  if (IsMDIChild() && FWindowState != wsMaximized) TellMDIParent(FEM_MDI_RESTORE_OTHERS);
  if (OnMinimize) OnMinimize(this);
}

void TspFormSkin::DoMaximize() {
  if (!FSupportNCArea) EndFormDrag();
  if (RectIsEmpty(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
  if (IsMDIChild()) {
    // A document child fills its parent's client area.
    MouseTimer->SetEnabled(false);
    UpdateActiveObject(-1, -1, false);
    TRect R;
    GetMDIClientRect(R);
    const bool Same = FForm->Width() == R.Width() && FForm->Height() == R.Height();
    FForm->SetBounds(0, 0, R.Width(), R.Height());
    if (Same) NudgeFormWidth();
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (Main && Main->HandleAllocated()) SendMessageW(Main->Handle(), FEM_MDI_CHILD_MAXIMIZED, 0, 0);
    if (OnMaximize) OnMaximize(this);
    return;
  }
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  TRect R;
  if (FMaximizeOnFullScreen) {
    GetMonitorArea(Wnd, false, R);
  } else {
    GetMonitorArea(Wnd, true, R);
    TRect Whole, Screen0;
    GetMonitorArea(Wnd, false, Whole);
    GetScreenArea(false, Screen0);
    if (R.Width() == Whole.Width() && R.Height() == Whole.Height() && Whole == Screen0)
      R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  if (CanShowLayeredBorder() && FBorderLayer->FullBorder())
    FForm->SetBounds(R.Left + FBorderLayer->LeftSize, R.Top + FBorderLayer->TopSize,
                     R.Width() - FBorderLayer->LeftSize - FBorderLayer->RightSize,
                     R.Height() - FBorderLayer->TopSize - FBorderLayer->BottomSize);
  else
    FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  if (FBorderLayer->FVisible && !FBorderLayer->FullBorder()) FBorderLayer->Hide();
  if (OnMaximize) OnMaximize(this);
}

void TspFormSkin::DoRestore() {
  MaxRollUpState = false;
  const TRect B = OldBoundsRect;
  if (FSupportNCArea) {
    const Integer W = FForm->Width(), H = FForm->Height();
    if (FStartShow) {
      FStartShow = false;
      const TPoint P = GetPositionInMonitor(B.Left, B.Top, B.Width(), B.Height());
      FForm->SetBounds(P.X, P.Y, B.Width(), B.Height());
    } else {
      FForm->SetBounds(B.Left, B.Top, B.Width(), B.Height());
    }
    MouseTimer->SetEnabled(true);
    if (FForm->Width() == W && FForm->Height() == H) NudgeFormWidth();
    FForm->Invalidate();
    OldBoundsRect = TRect();
  } else {
    FForm->SetBounds(B.Left, B.Top, B.Width(), B.Height());
    OldBoundsRect = TRect();
    MouseTimer->SetEnabled(true);
  }
  if (IsMDIChild() && FWindowState != wsMaximized) TellMDIParent(FEM_MDI_RESTORE_ALL);
  if (OnRestore) OnRestore(this);
}

void TspFormSkin::CaptionDblClick() {
  if (ActiveObject == -1 || ActiveObject >= ObjectList->Count() || !FNCDraggAble) return;
  if (!dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ObjectList, ActiveObject))) return;
  if (FRollUpState)
    SetRollUpState(false);
  else if (FSizeable)
    SetWindowState(WindowState() == wsNormal ? wsMaximized : wsNormal);
  else
    SetRollUpState(true);
}

// ---------------------------------------------------------------------------
// The skin walk

namespace {

template <class F>
void WalkControls(TControl* C, const F& Visit) {
  Visit(C);
  if (auto* W = dynamic_cast<TWinControl*>(C))
    for (Integer I = 0; I < W->ControlCount(); ++I) WalkControls(W->Controls(I), Visit);
}

}  // namespace

void TspFormSkin::NotifyBeforeChangeSkin(TspSkinData* ASkinData, TControl* AControl) {
  if (!AControl) return;
  WalkControls(AControl, [ASkinData](TControl* C) {
    if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) {
      if (!ASkinData || G->SkinData() == ASkinData) G->BeforeChangeSkinData();
    } else if (auto* S = dynamic_cast<TspSkinControl*>(C)) {
      if (!ASkinData || S->SkinData() == ASkinData) S->BeforeChangeSkinData();
    }
  });
}

void TspFormSkin::NotifyChangeSkin(TspSkinData* ASkinData, TControl* AControl) {
  if (!AControl) return;
  WalkControls(AControl, [ASkinData](TControl* C) {
    auto Mine = [ASkinData](TspSkinData* Own) { return !ASkinData || Own == ASkinData; };
    if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) {
      if (Mine(G->SkinData())) G->ChangeSkinData();
    } else if (auto* S = dynamic_cast<TspSkinControl*>(C)) {
      if (Mine(S->SkinData())) S->ChangeSkinData();
    } else if (auto* E = dynamic_cast<TspSkinCustomEdit*>(C)) {
      if (Mine(E->SkinData())) E->ChangeSkinData();
    } else if (auto* P = dynamic_cast<TspSkinPageControl*>(C)) {
      if (Mine(P->SkinData())) P->ChangeSkinData();
    } else if (auto* T = dynamic_cast<TspSkinTabControl*>(C)) {
      if (Mine(T->SkinData())) T->ChangeSkinData();
    } else if (auto* L = dynamic_cast<TspSkinStdLabel*>(C)) {
      if (Mine(L->SkinData())) L->ChangeSkinData();
    } else if (auto* V = dynamic_cast<TspSkinCustomTreeView*>(C)) {
      if (Mine(V->SkinData())) V->ChangeSkinData();
    } else if (auto* B = dynamic_cast<TspSkinBevel*>(C)) {
      if (Mine(B->SkinData())) B->ChangeSkinData();
    }
  });
}

// ---------------------------------------------------------------------------
// Form options

void TspFormSkin::SetFormBorderStyle(TFormBorderStyle BS) {
  FForm->SetBorderStyle(BS);
  NotifyChangeSkin(nullptr, FForm);
}

void TspFormSkin::SetFormStyle(TFormStyle FS) {
  if (FS != fsNormal && FS != fsStayOnTop) return;
  FForm->SetFormStyle(FS);
  if (FAlphaBlend) NotifyChangeSkin(nullptr, FForm);
}

void TspFormSkin::UpDateFormNC() {
  if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TspFormSkin::CheckAppLayeredBorders() {
  if (!Application || Application->MainForm() != FForm || !FSD || !FSD->ShowLayeredBorders() ||
      !CanShowLayeredBorder())
    return;
  std::vector<TCustomForm*> Forms;
  for (Integer I = 0; I < Screen->FormCount(); ++I) {
    TCustomForm* F = Screen->Forms(I);
    if (F != FForm && F->Visible() && F->FormStyle() != fsStayOnTop) Forms.push_back(F);
  }
  if (Forms.empty()) return;
  for (TCustomForm* F : Forms) F->Show();
  if (FForm->Visible()) FForm->Show();
}

void TspFormSkin::ApplicationRestore(TObject*) { CheckAppLayeredBorders(); }

void TspFormSkin::ApplyPositionInMonitor() {
  if (FPositionInMonitor == sppDefault) return;
  const TPoint P = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  FForm->SetBounds(P.X, P.Y, FForm->Width(), FForm->Height());
}

TPoint TspFormSkin::GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH) {
  if (FPositionInMonitor == sppDefault) return TPoint(AX, AY);
  TRect R;
  GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, FPositionInMonitor == sppDesktopCenter, R);
  return CentreInArea(R, AW, AH);
}

void TspFormSkin::EnableShadow(bool AShowShadow, bool AHideFormBefore) {
  if (!FIsLayerEnabled || AShowShadow == FHaveShadow || !FForm->HandleAllocated()) return;
  FHaveShadow = AShowShadow;
  if (AHideFormBefore) FForm->Hide();
  const HWND Wnd = FForm->Handle();
  DWORD Style = GetClassLongW(Wnd, GCL_STYLE);
  Style = AShowShadow ? (Style | CS_DROPSHADOW) : (Style & ~DWORD(CS_DROPSHADOW));
  SetClassLongW(Wnd, GCL_STYLE, Style);
  if (AHideFormBefore) FForm->Show();
}

void TspFormSkin::GetSmallIconSize(Integer& W, Integer& H) {
  W = GetSystemMetrics(SM_CXSMICON);
  if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
  H = GetSystemMetrics(SM_CYSMICON);
  if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
}

void TspFormSkin::DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y) {
  if (!FIcon) {
    HICON Source = nullptr;
    if (FForm->HandleAllocated()) {
      Source = reinterpret_cast<HICON>(SendMessageW(FForm->Handle(), WM_GETICON, ICON_SMALL, 0));
      if (!Source) Source = reinterpret_cast<HICON>(SendMessageW(FForm->Handle(), WM_GETICON, ICON_BIG, 0));
      if (!Source) Source = reinterpret_cast<HICON>(GetClassLongPtrW(FForm->Handle(), GCLP_HICONSM));
      if (!Source) Source = reinterpret_cast<HICON>(GetClassLongPtrW(FForm->Handle(), GCLP_HICON));
    }
    if (!Source) Source = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    Integer W, H;
    GetSmallIconSize(W, H);
    FIcon = new TIcon;
    FIcon->SetHandle(static_cast<HICON>(CopyImage(Source, IMAGE_ICON, W, H, LR_COPYFROMRESOURCE)));
  }
  DrawIconEx(Canvas->Handle(), X, Y, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

bool TspFormSkin::IconHasAlpha() {
  Integer W, H;
  GetSmallIconSize(W, H);
  if (W == 0 || H == 0) return false;
  TspBitmap B;
  B.SetSize(W, H);
  B.SetAlpha(0);
  DrawFormIcon(B.Canvas(), 0, 0);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if (B.GetPixelPtr(X, Y)[3] != 0) return true;
  return false;
}

void TspFormSkin::DrawLogo(TCanvas* Canvas) {
  const Integer X = std::max<Integer>(FForm->ClientWidth() / 2 - FLogoBitMap->Width() / 2, 0);
  const Integer Y = std::max<Integer>(FForm->ClientHeight() / 2 - FLogoBitMap->Height() / 2, 0);
  if (FLogoBitMap->Transparent() != FLogoBitMapTransparent) FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
  Canvas->Draw(X, Y, FLogoBitMap);
}

void TspFormSkin::ApplyFormBorderIcons() {
  TBorderIcons I = 0;
  if (!FHideCaptionButtons && !FSkinnableForm) I |= ::biSystemMenu;
  if (FBorderIcons & spbi::biMinimize) I |= ::biMinimize;
  if (FBorderIcons & spbi::biMaximize) I |= ::biMaximize;
  FForm->SetBorderIcons(I);
}

void TspFormSkin::SetAlphaBlend(bool Value) {
  if (Value == FAlphaBlend) return;
  FAlphaBlend = Value;
  if (!FForm->HandleAllocated() || ComponentState().Contains(csLoading)) return;
  const HWND Wnd = FForm->Handle();
  const LONG Ex = GetWindowLongW(Wnd, GWL_EXSTYLE);
  if (Value) {
    if (!(Ex & WS_EX_LAYERED)) SetWindowLongW(Wnd, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
    SetWindowAlphaValue(Wnd, FAlphaBlendValue);
  } else if (Ex & WS_EX_LAYERED) {
    SetWindowLongW(Wnd, GWL_EXSTYLE, Ex & ~WS_EX_LAYERED);
  }
}

void TspFormSkin::SetAlphaBlendValue(Byte Value) {
  if (Value == FAlphaBlendValue) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend && FForm->HandleAllocated() && !ComponentState().Contains(csLoading))
    SetWindowAlphaValue(FForm->Handle(), Value);
}

void TspFormSkin::SetBorderIcons(TspBorderIcons Value) {
  FBorderIcons = Value;
  if (FSupportNCArea || FSkinSupport) {
    if (ComponentState().Contains(csLoading)) return;
    UpdateStdButtons();
    if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
  } else if (FHideCaptionButtons) {
    UpdateStdButtons();
  }
}

void TspFormSkin::SetShowIcon(bool Value) {
  FShowIcon = Value;
  if (!ComponentState().Contains(csLoading)) UpDateFormNC();
}

void TspFormSkin::SetUseRibbon(bool Value) {
  FUseRibbon = Value;
  if (Value) SetSkinnableForm(false);
}

void TspFormSkin::SetDefCaptionFont(TFont* Value) {
  FDefCaptionFont->Assign(Value);
  if (!ComponentState().Contains(csLoading) && !FSkinSupport) UpDateFormNC();
}

void TspFormSkin::SetDefInActiveCaptionFont(TFont* Value) {
  FDefInActiveCaptionFont->Assign(Value);
  if (!ComponentState().Contains(csLoading) && !FSkinSupport) UpDateFormNC();
}
