// Frame layout and painting of a skinned form: the skinned frame from four
// strip bitmaps, the default look, the client backgrounds and the whole
// form in client-area mode.
#include <memory>

#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"
#include "skin/form/win/FormSkin.h"

namespace {

TspActiveSkinObject* ObjectAt(TList* L, Integer I) { return static_cast<TspActiveSkinObject*>(L->Items(I)); }

std::unique_ptr<TBitmap> NewBitmap(Integer W = 0, Integer H = 0) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  if (W > 0 && H > 0) B->SetSize(W, H);
  return B;
}

// The caption-button command of an object drawn separately, or -1.
Integer ButtonCommand(TspActiveSkinObject* O) {
  if (!O->Visible || !O->SkinRectInAPicture) return -1;
  if (auto* SB = dynamic_cast<TspSkinStdButtonObject*>(O)) return SB->Command;
  if (auto* AO = dynamic_cast<TspSkinAnimateObject*>(O)) return AO->Command;
  return -1;
}

}  // namespace

TspFrameSkin TspFormSkin::FrameSkin() const {
  TspFrameSkin S;
  S.Info = FSD;
  if (FSD) {
    S.PW = FSD->FPicture->Width();
    S.PH = FSD->FPicture->Height();
  }
  return S;
}

bool TspFormSkin::HasSkinFrame() { return FSupportNCArea && Skin() && !RectIsEmpty(FSD->ClRect); }

bool TspFormSkin::IsSkinResizable() { return FSD && FrameSkinResizable(*FSD); }

bool TspFormSkin::IsObjectShown(bool RollUpFlag) { return FSupportNCArea ? !RollUpFlag : RollUpFlag == FRollUpState; }

Integer TspFormSkin::DefCaptionHeight() {
  return DefaultCaptionHeight(FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin);
}

Integer TspFormSkin::DefButtonSize() {
  return DefaultButtonSize(FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin);
}

void TspFormSkin::CalcSkinRects() {
  if (FFormWidth == 0 || FFormHeight == 0) TakeFormSize();
  if (!Skin()) return;
  CalcFrameRects(FrameSkin(), FFormWidth, FFormHeight, FR, ButtonsInLeft);
}

TRect TspFormSkin::MapSkinRect(const TRect& R) { return MapFrameRect(FrameSkin(), FR, R); }

TRect TspFormSkin::MapAreaRect(const TRect& R, bool UseAnchors, bool AnchorLeft, bool AnchorTop, bool AnchorRight,
                               bool AnchorBottom) {
  return MapFrameAreaRect(FrameSkin(), FR, R, UseAnchors, AnchorLeft, AnchorTop, AnchorRight, AnchorBottom);
}

void TspFormSkin::LayoutObjects() {
  if (CanShowLayeredBorder() && FBorderLayer->FullBorder()) return;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    // Main-menu items follow each other along the main-menu area.
    if (auto* M = dynamic_cast<TspSkinMainMenuItem*>(O))
      O->ObjectRect = M->LayoutRect();
    else
      O->ObjectRect = MapSkinRect(O->SkinRect);
  }
  FSizeGripArea = Skin() && !RectIsEmpty(FSD->SizeGripArea) ? MapSkinRect(FSD->SizeGripArea) : TRect();
  if (!FSupportNCArea) return;
  TRect Row;
  if (!RectIsEmpty(FR.NewButtonsRect))
    Row = FR.NewButtonsRect;
  else if (!RectIsEmpty(FR.NewCaptionRect))
    Row = FR.NewCaptionRect;
  else
    return;
  const Integer Top = Row.Top;
  auto Find = [&](TStdCommand C) -> TspActiveSkinObject* {
    for (Integer I = 0; I < ObjectList->Count(); ++I)
      if (ButtonCommand(ObjectAt(ObjectList, I)) == C) return ObjectAt(ObjectList, I);
    return nullptr;
  };
  auto Size = [&](TspActiveSkinObject* O) {
    Integer W = O->SkinRect.Width(), H = O->SkinRect.Height();
    if (FShowIcon && ButtonCommand(O) == cmSysMenu) GetSmallIconSize(W, H);
    return TPoint(W, H);
  };
  std::vector<TspActiveSkinObject*> Order;
  for (TStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
    if (auto* O = Find(C)) Order.push_back(O);
  for (Integer I = 0; I < ObjectList->Count(); ++I)
    if (ButtonCommand(ObjectAt(ObjectList, I)) == cmDefault) Order.push_back(ObjectAt(ObjectList, I));
  TspSkinCaptionObject* Caption = nullptr;
  for (Integer I = 0; I < ObjectList->Count() && !Caption; ++I)
    Caption = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ObjectList, I));
  TspActiveSkinObject* Sys = Find(cmSysMenu);
  const Integer Gap = FR.NewButtonsOffset;
  if (!FR.NewButtonsInLeft) {
    Integer X = Row.Right;
    for (auto* O : Order) {
      const TPoint S = Size(O);
      O->ObjectRect = TRect(X - S.X, Top, X, Top + S.Y);
      X -= S.X + Gap;
    }
    if (RectIsEmpty(FR.NewButtonsRect) && Caption) Caption->ObjectRect.Right = X + Gap;
    if (Sys) {
      const TPoint S = Size(Sys);
      X = FR.NewCaptionRect.Left;
      const Integer T = FR.NewCaptionRect.Top + FR.NewCaptionRect.Height() / 2 - S.Y / 2;
      Sys->ObjectRect = TRect(X, T, X + S.X, T + S.Y);
      X += S.X + Gap;
      if (Caption) Caption->ObjectRect.Left = X - Gap;
    }
  } else {
    Integer X = Row.Left;
    auto Place = [&](TspActiveSkinObject* O) {
      const TPoint S = Size(O);
      O->ObjectRect = TRect(X, Top, X + S.X, Top + S.Y);
      X += S.X + Gap;
    };
    for (auto* O : Order) Place(O);
    if (RectIsEmpty(FR.NewButtonsRect)) {
      if (Sys) Place(Sys);
      if (Caption) Caption->ObjectRect.Left = X - Gap;
    }
  }
}

void TspFormSkin::ApplyFrameSize(bool Full) {
  if (ComponentState().Contains(csDesigning) || !Skin()) return;
  if (FSkinnableForm) {
    CalcSkinRects();
    if (Full) LayoutObjects();
  }
  UpdateWindowRegion(Full);
  if (OnChangeClientRect) OnChangeClientRect(FR.NewClRect);
  if (!FForm->HandleAllocated()) return;
  if (FSupportNCArea) {
    // The frame is laid out anew: paint all of it, unless the region change
    // had Wine repaint the whole window (else it only invalidated what the
    // new shape adds, or the shape did not change).
    if (FSkinnableForm && !(FRgn && FRegionRepainted)) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    if (FSD->StretchEffect) {
      FForm->Invalidate();
      for (Integer I = 0; I < FForm->ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(FForm->Controls(I)))
          if (W->HandleAllocated()) SendMessageW(W->Handle(), SP_PARENT_BACKGROUND_CHANGED, 0, 0);
    }
  } else {
    FForm->Invalidate();
    UpdateLinkedControls();
  }
}

void TspFormSkin::PaintNCSkin(HDC ADC, bool AUseExternalDC) {
  if (!HasSkinFrame()) return;
  if (FFormWidth == 0 || FFormHeight == 0) TakeFormSize();
  if (FFormWidth < GetMinWidth() || FFormHeight < GetMinHeight()) return;
  CalcSkinRects();
  LayoutObjects();
  const Integer W = FFormWidth, H = FFormHeight;
  TBitmap* Source = (!GetFormActive() && !FSD->FInActivePicture->Empty()) ? FSD->FInActivePicture : FSD->FPicture;
  auto Top = NewBitmap(), Left = NewBitmap(), Right = NewBitmap(), Bottom = NewBitmap();
  CreateBorderStripImagesEx(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, FR.NewLTPoint,
                            FR.NewRTPoint, FR.NewLBPoint, FR.NewRBPoint, FR.NewClRect, Left.get(), Top.get(),
                            Right.get(), Bottom.get(), Source, TRect(0, 0, Source->Width(), Source->Height()), W, H,
                            FSD->LeftStretch, FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch);
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (dynamic_cast<TspSkinMainMenuItem*>(O)) {
      O->Draw((FR.NewMainMenuRect.Top <= FR.NewClRect.Top ? Top : Bottom)->Canvas(), false);
      continue;
    }
    if (!IsObjectShown(O->RollUp) || !O->Visible) continue;
    if (O->ObjectRect.Bottom <= FR.NewClRect.Top) {
      if (!Top->Empty()) O->Draw(Top->Canvas(), false);
    } else if (!Bottom->Empty()) {
      const TRect Saved = O->ObjectRect;
      O->ObjectRect.Top -= FR.NewClRect.Bottom;
      O->ObjectRect.Bottom -= FR.NewClRect.Bottom;
      O->Draw(Bottom->Canvas(), false);
      O->ObjectRect = Saved;
    }
  }
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  HDC DC = AUseExternalDC ? ADC : (Wnd ? GetWindowDC(Wnd) : nullptr);
  if (!DC) return;
  const int Saved = SaveDC(DC);
  if (FR.NewClRect.Height() > 0)
    ExcludeClipRect(DC, FR.NewClRect.Left, FR.NewClRect.Top, FR.NewClRect.Right, FR.NewClRect.Bottom);
  const Integer TopH = Top->Empty() ? 0 : Top->Height();
  const struct {
    TBitmap* B;
    Integer X, Y;
  } Strips[4] = {{Top.get(), 0, 0},
                 {Left.get(), 0, TopH},
                 {Right.get(), W - Right->Width(), TopH},
                 {Bottom.get(), 0, H - Bottom->Height()}};
  const bool Effect = !GetFormActive() && FSD->AutoRenderingInActiveImage;
  for (const auto& S : Strips) {
    if (S.B->Empty()) continue;
    if (!Effect) {
      BitBlt(DC, S.X, S.Y, S.B->Width(), S.B->Height(), S.B->Canvas()->Handle(), 0, 0, SRCCOPY);
      continue;
    }
    std::unique_ptr<TspEffectBmp> E(TspEffectBmp::CreateFromhWnd(S.B->Handle()));
    switch (FSD->InActiveEffect) {
      case ieBrightness: E->ChangeBrightness(0.5); break;
      case ieDarkness: E->ChangeDarkness(0.3); break;
      case ieGrayScale: E->GrayScale(); break;
      case ieNoise: E->AddMonoNoise(50); break;
      case ieSplitBlur: E->SplitBlur(1); break;
      case ieInvert: E->Invert(); break;
    }
    E->Draw(DC, S.X, S.Y);
  }
  RestoreDC(DC, Saved);
  if (!AUseExternalDC) ReleaseDC(Wnd, DC);
}

void TspFormSkin::DrawSkinObject(TspActiveSkinObject* AObject) {
  if (!IsObjectShown(AObject->RollUp) || !FForm->HandleAllocated()) return;
  if (!FSupportNCArea) {
    TControlCanvas C(FForm);
    AObject->Draw(&C, true);
    return;
  }
  if (FForm->BorderStyle() == bsNone) return;
  const HDC DC = GetWindowDC(FForm->Handle());
  TCanvas C;
  C.SetHandle(DC);
  AObject->Draw(&C, true);
  C.SetHandle(nullptr);
  ReleaseDC(FForm->Handle(), DC);
}

void TspFormSkin::UpdateCaptionText() {
  if (!Skin()) return;
  for (Integer I = 0; I < ObjectList->Count(); ++I)
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ObjectList, I)))
      if (C->DefaultCaption) C->SetTextValue(FForm->Caption());
}

// ---------------------------------------------------------------------------
// The default look

void TspFormSkin::CalcDefRects() {
  if (ObjectList->Count() == 0) return;
  const Integer Size = DefButtonSize();
  Integer X = FFormWidth - 3;
  NewDefCaptionRect = TRect(3, 3, X, DefCaptionHeight());
  for (TStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
    for (Integer I = 0; I < ObjectList->Count(); ++I) {
      TspActiveSkinObject* O = ObjectAt(ObjectList, I);
      if (dynamic_cast<TspSkinStdButtonObject*>(O) && ButtonCommand(O) == C) {
        O->ObjectRect = TRect(X - Size, 4, X, 4 + Size);
        X -= Size;
        break;
      }
    }
  NewDefCaptionRect.Right = X;
  X = NewDefCaptionRect.Left;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (dynamic_cast<TspSkinStdButtonObject*>(O) && ButtonCommand(O) == cmSysMenu) {
      Integer W = Size, H = Size;
      if (FShowIcon) GetSmallIconSize(W, H);
      O->ObjectRect = TRect(X, 4, X + W, 4 + H);
      NewDefCaptionRect.Left = X + W;
      break;
    }
  }
}

TRect TspFormSkin::GetDefCaptionRect() {
  CalcDefRects();
  return NewDefCaptionRect;
}

void TspFormSkin::PaintNCDefault(HDC ADC, bool AUseExternalDC) {
  if (FSD && FSD->ChangeSkinDataProcess) return;
  if (FFormWidth == 0 || FFormHeight == 0) TakeFormSize();
  if (ObjectList->Count() == 0 && !Skin()) CreateDefaultButtons();
  CalcDefRects();
  const Integer W = FFormWidth, H = FFormHeight, CH = DefCaptionHeight();
  const Integer Bw = W - 6, Bh = CH;
  if (Bw <= 0 || Bh <= 0) return;
  auto B = NewBitmap(Bw, Bh);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, Bw, Bh));
  const Integer L = NewDefCaptionRect.Left - 3, R = Bw - NewDefCaptionRect.Right;
  for (Integer Y = 2, K = 0; Y <= CH - 4; ++Y, ++K) {
    C->Pen()->SetColor(K % 2 == 0 ? clBtnHighlight : clBtnShadow);
    C->MoveTo(L + 2, Y);
    C->LineTo(Bw - R - 6, Y);
  }
  const bool Active = GetFormActive();
  C->Font()->Assign(Active ? FDefCaptionFont : FDefInActiveCaptionFont);
  if (FSD && FSD->ResourceStrData()) C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  String Text = FormCaptionText();
  if (OnCaptionPaint) {
    OnCaptionPaint(C, TRect(L, 0, Bw - R - 3, Bh), Active);
  } else if (!Text.empty()) {
    EllipsizeWideText(C, Text, Bw - L - R);
    const Integer X = DefaultCaptionTextX(Bw, L, R, WideTextWidth(C, Text));
    const Integer Y = Bh / 2 - WideTextHeight(C, Text) / 2;
    TRect TR(X, Y, X, Y);
    DrawWideText(C, Text, TR, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(TR.Left - 2, TR.Top - 2, TR.Right + 2, TR.Bottom + 2));
    C->Brush()->SetStyle(bsClear);
    DrawWideText(C, Text, TR, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
  }
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (!O->Visible) continue;
    const TRect Saved = O->ObjectRect;
    O->ObjectRect = TRect(Saved.Left - 3, Saved.Top - 3, Saved.Right - 3, Saved.Bottom - 3);
    O->Draw(C, true);
    O->ObjectRect = Saved;
  }
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  HDC DC = AUseExternalDC ? ADC : (Wnd ? GetWindowDC(Wnd) : nullptr);
  if (!DC) return;
  const int SavedDC = SaveDC(DC);
  ExcludeClipRect(DC, 3, CH + 3, W - 3, H - 3);
  BitBlt(DC, 3, 3, Bw, Bh, C->Handle(), 0, 0, SRCCOPY);
  TCanvas F;
  F.SetHandle(DC);
  const TColor Rings[3][2] = {
      {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, {clBtnFace, clBtnFace}};
  for (Integer K = 0; K < 3; ++K) {
    const Integer X0 = K, Y0 = K, X1 = W - 1 - K, Y1 = H - 1 - K;
    F.Pen()->SetColor(Rings[K][0]);
    F.MoveTo(X0, Y1);
    F.LineTo(X0, Y0);
    F.LineTo(X1, Y0);
    F.Pen()->SetColor(Rings[K][1]);
    F.MoveTo(X1, Y0);
    F.LineTo(X1, Y1);
    F.LineTo(X0 - 1, Y1);
  }
  F.SetHandle(nullptr);
  RestoreDC(DC, SavedDC);
  if (!AUseExternalDC) ReleaseDC(Wnd, DC);
}

// ---------------------------------------------------------------------------
// Backgrounds

void TspFormSkin::FillClient(HDC DC, TColor Color) {
  RECT R;
  GetClientRect(FForm->Handle(), &R);
  const HBRUSH Br = CreateSolidBrush(ColorToRGB(Color));
  FillRect(DC, &R, Br);
  DeleteObject(Br);
}

void TspFormSkin::PaintBGDefault(HDC DC) {
  if (!DC || !FForm->HandleAllocated()) return;
  FillClient(DC, clBtnFace);
  if (!FLogoBitMap->Empty()) {
    TCanvas C;
    C.SetHandle(DC);
    DrawLogo(&C);
    C.SetHandle(nullptr);
  }
}

void TspFormSkin::PaintMDIBGDefault(HDC DC) {
  if (!DC || !FForm->HandleAllocated()) return;
  FillClient(DC, clAppWorkSpace);
  if (!FLogoBitMap->Empty()) {
    TCanvas C;
    C.SetHandle(DC);
    DrawLogo(&C);
    C.SetHandle(nullptr);
  }
}

void TspFormSkin::DrawBackground(HDC DC, TBitmap* S, bool Stretch, TspStretchType Type) {
  RECT CR;
  GetClientRect(FForm->Handle(), &CR);
  const Integer CW = CR.right, CH = CR.bottom;
  if (CW <= 0 || CH <= 0) return;
  const Integer w = S ? S->Width() : 0, h = S ? S->Height() : 0;
  // A source that cannot be tiled paints plain face colour.
  if (w <= 0 || h <= 0) {
    FillClient(DC, clBtnFace);
    return;
  }
  TCanvas C;
  C.SetHandle(DC);
  if (Stretch) {
    switch (Type) {
      case spstFull: C.StretchDraw(TRect(0, 0, CW, CH), S); break;
      case spstHorz: {
        // Stretched to the client height, repeated across.
        auto B = NewBitmap(w, CH);
        B->Canvas()->StretchDraw(TRect(0, 0, w, CH), S);
        for (Integer I = 0; I <= CW / w; ++I) C.Draw(I * w, 0, B.get());
        break;
      }
      case spstVert: {
        auto B = NewBitmap(CW, h);
        B->Canvas()->StretchDraw(TRect(0, 0, CW, h), S);
        for (Integer J = 0; J <= CH / h; ++J) C.Draw(0, J * h, B.get());
        break;
      }
    }
  } else {
    for (Integer I = 0; I <= CW / w; ++I)
      for (Integer J = 0; J <= CH / h; ++J) BitBlt(DC, I * w, J * h, w, h, S->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (!FLogoBitMap->Empty()) DrawLogo(&C);
  C.SetHandle(nullptr);
}

void TspFormSkin::PaintBG(HDC DC) {
  if (!DC || !FForm->HandleAllocated() || !Skin()) return;
  const TRect& R = FSD->ClRect;
  if (RectIsEmpty(R)) {
    FillClient(DC, clBtnFace);
    return;
  }
  auto S = NewBitmap(R.Width(), R.Height());
  S->Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), FSD->FPicture->Canvas(), R);
  DrawBackground(DC, S.get(), FSD->StretchEffect, FSD->StretchType);
}

void TspFormSkin::PaintBG2(HDC DC) {
  if (!DC || !FForm->HandleAllocated() || !Skin()) return;
  const Integer I = FSD->BGPictureIndex;
  TBitmap* S = I >= 0 && I < FSD->FActivePictures->Count() ? static_cast<TBitmap*>(FSD->FActivePictures->Items(I))
                                                           : nullptr;
  DrawBackground(DC, S, FSD->StretchEffect, FSD->StretchType);
}

void TspFormSkin::PaintBG3(HDC DC) {
  if (!DC || !FForm->HandleAllocated() || !Skin()) return;
  const Integer I = FSD->MDIBGPictureIndex;
  TBitmap* S = I >= 0 && I < FSD->FActivePictures->Count() ? static_cast<TBitmap*>(FSD->FActivePictures->Items(I))
                                                           : nullptr;
  DrawBackground(DC, S, FSD->MDIBGStretchEffect, FSD->MDIBGStretchType);
}

void TspFormSkin::BuildSkinImage(TBitmap* B) {
  CreateNineSliceImage(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, FR.NewLTPoint,
                       FR.NewRTPoint, FR.NewLBPoint, FR.NewRBPoint, FR.NewClRect, B, FSD->FPicture,
                       TRect(0, 0, FSD->FPicture->Width(), FSD->FPicture->Height()), FFormWidth, FFormHeight, true,
                       FSD->LeftStretch, FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch, FSD->StretchEffect,
                       FSD->StretchType);
}

void TspFormSkin::DrawSizeGrip(TBitmap* B) {
  if (FSD->StatusBarName.empty()) return;
  const Integer I = FSD->GetControlIndex(FSD->StatusBarName);
  if (I == -1) return;
  auto* D = dynamic_cast<TspDataSkinPanelControl*>(static_cast<TObject*>(FSD->CtrlList->Items(I)));
  if (!D || RectIsEmpty(D->GripperRect) || D->PictureIndex < 0 || D->PictureIndex >= FSD->FActivePictures->Count())
    return;
  auto* P = static_cast<TBitmap*>(FSD->FActivePictures->Items(D->PictureIndex));
  auto G = NewBitmap(D->GripperRect.Width(), D->GripperRect.Height());
  G->Canvas()->CopyRect(TRect(0, 0, G->Width(), G->Height()), P->Canvas(), D->GripperRect);
  if (D->GripperTransparent) {
    G->SetTransparentColor(D->GripperTransparentColor);
    G->SetTransparent(true);
  }
  B->Canvas()->Draw(FSizeGripArea.Left, FSizeGripArea.Top, G.get());
}

void TspFormSkin::Paint(HDC DC) {
  if (!DC || !FForm->HandleAllocated()) return;
  if (FFormWidth == 0 || FFormHeight == 0) TakeFormSize();
  if (!Skin()) {
    RECT R;
    GetClientRect(FForm->Handle(), &R);
    TCanvas C;
    C.SetHandle(DC);
    C.Pen()->SetColor(clBlack);
    C.Brush()->SetColor(clBtnFace);
    C.Rectangle(TRect(R.left, R.top, R.right, R.bottom));
    C.SetHandle(nullptr);
    return;
  }
  auto B = NewBitmap();
  if (!FRollUpState || FSD->FRollUpPicture->Empty()) {
    if (FSD->LTPoint.X || FSD->LTPoint.Y || FSD->RBPoint.X || FSD->RBPoint.Y) {
      CalcSkinRects();
      BuildSkinImage(B.get());
    } else {
      B->Assign(FSD->FPicture);
    }
  } else {
    TBitmap* RP = FSD->FRollUpPicture;
    if (FSD->RollUpLeftPoint.X < FSD->RollUpRightPoint.X)
      CreateHorzThreeSliceImage(FSD->RollUpLeftPoint.X, RP->Width() - FSD->RollUpRightPoint.X, B.get(), RP,
                                TRect(0, 0, RP->Width(), RP->Height()), FForm->Width(), RP->Height(), false);
    else
      B->Assign(RP);
  }
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (O->Visible && O->RollUp == FRollUpState) O->Draw(B->Canvas(), false);
  }
  if (FWindowStateInit == wsNormal) DrawSizeGrip(B.get());
  BitBlt(DC, 0, 0, B->Width(), B->Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
}
