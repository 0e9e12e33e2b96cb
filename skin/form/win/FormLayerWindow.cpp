#include "skin/form/win/FormLayerBorder.h"

#include "classlib/Messages.h"
#include "skin/controls/win/SkinMenuLevels.h"
#include "skin/form/win/FormSkin.h"

namespace {

TspActiveSkinObject* ObjectAt(TList* L, Integer I) { return static_cast<TspActiveSkinObject*>(L->Items(I)); }

bool InList(TList* L, Integer I) { return L && I >= 0 && I < L->Count(); }

}  // namespace

TspFormLayerWindow::TspFormLayerWindow(TComponent* AOwner, TCustomForm* AForm) : TForm(AOwner) {
  FLayerBorder = dynamic_cast<TspFormLayerBorder*>(AOwner);
  FInProcessMessages = false;
  FForm = AForm;
  SetVisible(false);
  SetBorderStyle(bsNone);
  SetFormStyle(AForm && AForm->FormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal);
  FDown = false;
}

void TspFormLayerWindow::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle |= WS_EX_LAYERED | WS_EX_TOOLWINDOW;
  if (FLayerBorder && FLayerBorder->FData && RectIsEmpty(FLayerBorder->FData->BorderRect))
    Params.ExStyle |= WS_EX_TRANSPARENT;  // the mouse goes through
}

TspFormSkin* TspFormLayerWindow::DSF() const { return FLayerBorder ? FLayerBorder->DSF : nullptr; }

bool TspFormLayerWindow::CanSizeFromBorder() {
  TspFormSkin* S = DSF();
  return S && S->IsSizeAble() && !S->RollUpState() && S->WindowState() == wsNormal;
}

TspFormLayerBorderHit TspFormLayerWindow::HitTestBorder(Integer X, Integer Y) {
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  if (!B || !B->FData || !S || !FForm) return spflhNone;
  const TspDataSkinLayerFrame& D = *B->FData;
  if (D.FullBorder) {
    if (BorderType == spflTop) B->TrackBorderObject(X, Y);
  } else {
    B->ActiveObject = -1;
  }
  if (B->ActiveObject != -1) {
    if (InList(S->ObjectList, B->ActiveObject) &&
        dynamic_cast<TspSkinCaptionObject*>(ObjectAt(S->ObjectList, B->ActiveObject)))
      return S->FNCDraggAble ? spflCaption : spflhNone;
    return spflObject;
  }
  if (!CanSizeFromBorder()) return spflhNone;
  const TPoint P = S->CursorPos();
  const TRect Window = Bounds(Left(), Top(), Width(), Height());
  return LayerBorderHitZone(D, B->Sizes(), BorderType, P, FForm->Left(), FForm->Top(), FForm->Width(),
                            FForm->Height(), Window);
}

void TspFormLayerWindow::Dispatch(TMessage& Message) {
  TspFormLayerBorder* B = FLayerBorder;
  const TspDataSkinLayerFrame* D = B ? B->FData : nullptr;
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (FForm && !FForm->Active()) FForm->Show();
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      if (D && D->HitTestEnable) {
        if (FForm && !FForm->Active()) FForm->Show();
        if (TspFormSkin* S = DSF()) {
          const TPoint P = S->CursorPos();
          FHitMode = HitTestBorder(P.X - Left(), P.Y - Top());
        }
      }
      return;
    case WM_LBUTTONDBLCLK:
      if (D && D->FullBorder) DoubleClick(Message);
      TForm::Dispatch(Message);
      if (B) B->MouseCaptureObject = -1;
      return;
    case CM_MOUSEENTER:
      TForm::Dispatch(Message);
      if (D && D->FullBorder && B) B->MouseTimer->SetEnabled(true);
      return;
    case CM_MOUSELEAVE:
      TForm::Dispatch(Message);
      if (D && D->FullBorder && B) {
        B->MouseTimer->SetEnabled(false);
        B->TrackBorderObject(-1, -1);
      }
      return;
    default: TForm::Dispatch(Message);
  }
}

void TspFormLayerWindow::DoubleClick(TMessage& Message) {
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  if (!S) return;
  const Integer X = SmallInt(LOWORD(Message.LParam)), Y = SmallInt(HIWORD(Message.LParam));
  TspFormLayerBorderHit Hit = HitTestBorder(X, Y);
  if (Hit == spflCaption && InList(S->ObjectList, B->ActiveObject))
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(S->ObjectList, B->ActiveObject));
        C && C->ActiveQuickButton != -1)
      Hit = spflObject;
  MousePos1 = MousePos2;
  if (Hit == spflObject && InList(S->ObjectList, B->ActiveObject)) {
    if (auto* Btn = dynamic_cast<TspSkinStdButtonObject*>(ObjectAt(S->ObjectList, B->ActiveObject));
        Btn && Btn->Command == cmSysMenu)
      Btn->CloseForm();
    return;
  }
  if (Hit != spflCaption) return;
  const TWindowState WS = S->WindowState();
  if (S->FSizeable && WS == wsMinimized) {
    S->SetWindowState(wsNormal);
  } else if (S->FSizeable && WS != wsMaximized && !S->RollUpState() && (S->BorderIcons() & spbi::biMaximize)) {
    S->SetWindowState(wsMaximized);
    FDown = false;
  } else if (!S->FSizeable || WS != wsMaximized || S->MaxRollUpState) {
    S->SetRollUpState(!S->RollUpState());
  } else {
    S->SetWindowState(wsNormal);
    FDown = false;
  }
}

void TspFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TForm::MouseDown(Button, Shift, X, Y);
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  if (!B || !B->FData || !S || !FForm) return;
  if (S->SkinMenu && S->SkinMenu->Visible()) S->SkinMenu->Hide();
  if (TWinControl* AC = FForm->ActiveControl()) AC->Perform(CM_CANCELMODE, 0, 0);
  const TspFormLayerBorderHit Hit = HitTestBorder(X, Y);
  if (!B->FData->HitTestEnable || !(CanSizeFromBorder() || Hit == spflCaption || Hit == spflObject)) return;
  FInProcessMessages = false;
  FDown = Button == mbLeft && Hit != spflhNone && Hit != spflObject && S->WindowState() != wsMaximized;
  MousePos1 = MousePos2 = S->CursorPos();
  FHitMode = Hit;
  if (B->FData->FullBorder && InList(S->ObjectList, B->ActiveObject)) {
    TspActiveSkinObject* O = ObjectAt(S->ObjectList, B->ActiveObject);
    O->MouseDown(X, Y, Button);
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(O); C && C->ActiveQuickButton != -1) FDown = false;
    B->MouseCaptureObject = B->ActiveObject;
    if (FForm && S->FLayerManager && S->FLayerManager->IsVisible() && FForm->FormStyle() == fsStayOnTop)
      S->FLayerManager->Update();
  }
}

void TspFormLayerWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  if (FInProcessMessages) {
    FInProcessMessages = false;
    MousePos1 = MousePos2;
    return;
  }
  TForm::MouseMove(Shift, X, Y);
  if (!B || !B->FData || !S || !FForm || !B->FData->HitTestEnable) return;
  MousePos2 = S->CursorPos();
  const Integer DX = MousePos2.X - MousePos1.X, DY = MousePos2.Y - MousePos1.Y;
  if (!FDown) {
    S->FBorderLayerChangeSize = false;
    FHitMode = HitTestBorder(X, Y);
    switch (FHitMode) {
      case spflhLeft:
      case spflhRight: SetCursor(crSizeWE); break;
      case spflhTop:
      case spflhBottom: SetCursor(crSizeNS); break;
      case spflhTopLeft:
      case spflhBottomRight: SetCursor(crSizeNWSE); break;
      case spflhTopRight:
      case spflhBottomLeft: SetCursor(crSizeNESW); break;
      default: SetCursor(crDefault);
    }
    if (B->FData->FullBorder && InList(S->ObjectList, B->ActiveObject))
      ObjectAt(S->ObjectList, B->ActiveObject)->MouseMove(X, Y);
  } else {
    S->FBorderLayerChangeSize = true;
    if (FHitMode == spflCaption)
      MoveStep(DX, DY);
    else
      SizeStep(DX, DY);
  }
  // A step that was not applied is dropped, not accumulated.
  MousePos1 = MousePos2;
}

void TspFormLayerWindow::SizeStep(Integer DX, Integer DY) {
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  if (!CanSizeFromBorder()) return;
  TspLayerDragForm F;
  F.L = FForm->Left();
  F.T = FForm->Top();
  F.W = FForm->Width();
  F.H = FForm->Height();
  F.MinW = S->GetMinWidth();
  F.MaxW = S->GetMaxWidth();
  F.MinH = S->GetMinHeight();
  F.MaxH = S->GetMaxHeight();
  TspLayerBounds NB;
  if (!LayerSizeStep(FHitMode, F, B->Sizes(), B->FData->HitTestSize, DX, DY, MousePos2, NB)) return;
  const bool TopSide = FHitMode == spflhTop || FHitMode == spflhTopLeft || FHitMode == spflhTopRight;
  if (TopSide && NB.T != F.T && DY > 0) B->MoveWithForm2(NB.L, NB.T);
  RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  FForm->SetBounds(NB.L, NB.T, NB.W, NB.H);
  // A form that refused the new height: the windows follow where it is.
  if (TopSide && FForm->Height() == F.H) B->MoveWithForm();
  MousePos1 = MousePos2;
  FInProcessMessages = true;
  Application->ProcessMessages();
  FInProcessMessages = false;
}

void TspFormLayerWindow::MoveStep(Integer DX, Integer DY) {
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
  Integer NL = L + DX, NT = T + DY;
  const Integer CL = NL, CT = NT;
  const bool Snap = S->FMagnetic && (DX != 0 || DY != 0);
  if (Snap) {
    S->SnapToWorkArea(NL, NT, W, S->IsBorderCollapsed() ? B->FData->RollUpFormHeight : H);
    MousePos1 = MousePos2;
  }
  FInProcessMessages = true;
  bool MoveIt = !Snap || (NL == CL && NT == CT);
  if (!MoveIt) {
    // A snapped place further in the direction of the movement.
    MoveIt = (DX >= 1 && NL > L) || (DX < 0 && NL < L) || (DY >= 1 && NT > T) || (DY < 0 && NT < T);
  }
  if (MoveIt) {
    if (DY >= 1) B->MoveWithForm2(NL, NT);
    FForm->SetBounds(NL, NT, W, H);
  }
  B->MoveWithForm();
  Application->ProcessMessages();
  FInProcessMessages = false;
  MousePos1 = MousePos2;
}

void TspFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TForm::MouseUp(Button, Shift, X, Y);
  TspFormLayerBorder* B = FLayerBorder;
  TspFormSkin* S = DSF();
  if (S) S->FBorderLayerChangeSize = false;
  FDown = false;
  FInProcessMessages = false;
  MousePos1 = MousePos2 = TPoint();
  if (!B || !B->FData || !S) return;
  const bool Full = B->FData->FullBorder;
  if (Full && B->MouseCaptureObject != -1 && B->MouseCaptureObject != B->ActiveObject &&
      InList(S->ObjectList, B->MouseCaptureObject))
    ObjectAt(S->ObjectList, B->MouseCaptureObject)->MouseUp(X, Y, Button);
  B->MouseCaptureObject = -1;
  if (B->FData->HitTestEnable && (CanSizeFromBorder() || FHitMode == spflCaption || FHitMode == spflObject) && Full &&
      InList(S->ObjectList, B->ActiveObject))
    ObjectAt(S->ObjectList, B->ActiveObject)->MouseUp(X, Y, Button);
}
