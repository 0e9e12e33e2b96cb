// The form component's side of its frame objects: the hot object under the
// mouse with its hint and cursor, the hover, morph and animation timers, the
// object events, the operations that reach an object by its skin name, and
// controls that follow a named skin area.
#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormSkin.h"

namespace {

TspActiveSkinObject* ObjectAt(TList* L, Integer I) { return static_cast<TspActiveSkinObject*>(L->Items(I)); }

// One control that follows a skin area.
struct TspAreaLink : public TObject {
  TControl* Control = nullptr;
  TRect AreaRect;
  bool UseAnchors = false, AnchorLeft = false, AnchorTop = false, AnchorRight = false, AnchorBottom = false;
};

TspAreaLink* LinkAt(TList* L, Integer I) { return static_cast<TspAreaLink*>(L->Items(I)); }

}  // namespace

// ---------------------------------------------------------------------------
// Object events

void TspFormSkin::DoMouseEnterEvent(const String& IDName) {
  if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
}
void TspFormSkin::DoMouseLeaveEvent(const String& IDName) {
  if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
}
void TspFormSkin::DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& R, TMouseButton Button) {
  if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, R, Button);
}
void TspFormSkin::DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& R, TMouseButton Button) {
  if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, R, Button);
}
void TspFormSkin::DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& R) {
  if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, R);
}
void TspFormSkin::DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& R) {
  if (OnPaintEvent) OnPaintEvent(IDName, Canvas, R);
}
void TspFormSkin::DoSwitchChangeStateEvent(const String& IDName, spobj::TSwitchState State) {
  if (OnSwitchChangeStateEvent) OnSwitchChangeStateEvent(IDName, State);
}
void TspFormSkin::DoTrackBarChangeValueEvent(const String& IDName, Integer Value) {
  if (OnTrackBarChangeValueEvent) OnTrackBarChangeValueEvent(IDName, Value);
}
void TspFormSkin::DoFrameRegulatorChangeValueEvent(const String& IDName, Integer Value) {
  if (OnFrameRegulatorChangeValueEvent) OnFrameRegulatorChangeValueEvent(IDName, Value);
}

// ---------------------------------------------------------------------------
// Hints, cursor, screen places

void TspFormSkin::ActivateObjectHint(const String& AHint) {
  if (AHint.empty()) return;
  // A skinned hint component of the form shows the hint in the skin's look,
  // after the application's hint pause.
  if (FSkinHint) {
    FSkinHint->ActivateHint2(AHint);
    FObjectHintText = AHint;
    return;
  }
  if (!FObjectHintWindow) FObjectHintWindow = new THintWindow(this);
  const TPoint P = CursorPos();
  TRect R = FObjectHintWindow->CalcHintRect(300, AHint);
  R = TRect(P.X, P.Y + 20, P.X + R.Width(), P.Y + 20 + R.Height());
  FObjectHintWindow->ActivateHint(R, AHint);
  FObjectHintText = AHint;
}

void TspFormSkin::HideObjectHint() {
  if (FSkinHint) FSkinHint->HideHint();
  if (FObjectHintWindow) FObjectHintWindow->ReleaseHandle();
  FObjectHintText.clear();
}

TPoint TspFormSkin::CursorPos() {
  if (CursorPosSource) return CursorPosSource();
  POINT Q;
  GetCursorPos(&Q);
  return TPoint(Q.x, Q.y);
}

HWND TspFormSkin::WindowAt(TPoint P) {
  if (WindowFromPointSource) return WindowFromPointSource(P);
  return WindowFromPoint(POINT{P.X, P.Y});
}

bool TspFormSkin::IsCursorOverForm(const TPoint& P) {
  return FForm->HandleAllocated() && WindowAt(P) == FForm->Handle();
}

TPoint TspFormSkin::FrameScreenOrigin(bool WithLayeredBorder) {
  (void)WithLayeredBorder;  // the layered border never holds the frame here
  if (FForm->HandleAllocated()) {
    RECT R;
    GetWindowRect(FForm->Handle(), &R);
    return TPoint(R.left, R.top);
  }
  return TPoint(FForm->Left(), FForm->Top());
}

void TspFormSkin::MinimizeToTray() {
  // The icon's application hook hides the main form when the application
  // minimises with the flag set.
  if (!FTrayIcon) return;
  FTrayIcon->SetMinimizeToTray(true);
  Application->Minimize();
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TspFormSkin::RestoreFromTray() {
  if (!FTrayIcon) return;
  FTrayIcon->SetMinimizeToTray(false);
  FTrayIcon->ShowMainForm();
  Application->Restore();
  if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
  if (OnRestoreFromTray) OnRestoreFromTray(this);
  CheckAppLayeredBorders();
}

void TspFormSkin::SetSkinHint(TspSkinHint* Value) {
  if (FSkinHint == Value) return;
  if (FSkinHint) HideObjectHint();
  FSkinHint = Value;
  if (Value) Value->FreeNotification(this);
}

void TspFormSkin::SetTrayIcon(TspTrayIcon* Value) {
  if (FTrayIcon == Value) return;
  FTrayIcon = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  if (!FAlwaysShowInTray) Value->SetIconVisible(false);
  if (!Value->PopupMenu()) {
    Value->SetPopupMenu(FSysTrayMenu);
    if (!Value->OnDblClick) {
      auto Alive = FAlive;
      Value->OnDblClick = [this, Alive](TObject*) {
        if (*Alive) RestoreFromTray();
      };
    }
  }
}

void TspFormSkin::ApplyObjectCursor() {
  TCursor C = crDefault;
  TspActiveSkinObject* Hot =
      (ActiveObject >= 0 && ActiveObject < ObjectList->Count()) ? ObjectAt(ObjectList, ActiveObject) : nullptr;
  if (Skin() && Hot && Hot->CursorIndex != -1)
    C = static_cast<TCursor>(Hot->CursorIndex + FSD->StartCursorIndex);
  else if (Skin() && FSD->CursorIndex != -1)
    C = static_cast<TCursor>(FSD->CursorIndex + FSD->StartCursorIndex);
  if (FForm->Cursor() != C) FForm->SetCursor(C);
}

// ---------------------------------------------------------------------------
// The hot object

void TspFormSkin::UpdateActiveObject(Integer X, Integer Y, bool AActivate) {
  if (ObjectList->Count() == 0) return;
  if (FSupportNCArea && !GetFormActive()) return;
  if (FSizeMove || FBorderLayerChangeSize) return;
  if (FBorderLayer->FVisible && FBorderLayer->FullBorder()) return;
  if (PreviewMode || IsMaximizedMDIChild()) return;
  if (FSupportNCArea && FForm->BorderStyle() == bsNone) return;
  OldActiveObject = ActiveObject;
  Integer Hit = -1;
  for (Integer I = 0; I < ObjectList->Count() && Hit == -1; ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (!IsObjectShown(O->RollUp) || !O->Enabled || !O->Visible) continue;
    if (PointInRect(O->ObjectRect, TPoint(X, Y)) && O->PointInMask(X - O->ObjectRect.Left, Y - O->ObjectRect.Top))
      Hit = I;
  }
  ActiveObject = AActivate ? Hit : -1;
  if (MouseCaptureObject != -1 && MouseCaptureObject != ActiveObject && ActiveObject != -1) ActiveObject = -1;
  const Integer N = ObjectList->Count();
  if (ActiveObject >= N) ActiveObject = -1;
  if (OldActiveObject >= N) OldActiveObject = -1;
  if (OldActiveObject == ActiveObject) return;
  if (OldActiveObject != -1) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, OldActiveObject);
    if (O->Enabled && O->Visible) {
      O->MouseLeave();
      if (FShowObjectHint && !O->Hint.empty()) HideObjectHint();
    }
  }
  // The leave may have changed the list's state (a command ran).
  if (ActiveObject != -1 && ActiveObject < ObjectList->Count()) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, ActiveObject);
    if (O->Enabled && O->Visible) {
      O->MouseEnter();
      if (GetFormActive() && FShowObjectHint && !O->Hint.empty()) ActivateObjectHint(O->Hint);
    }
  }
}

void TspFormSkin::MouseTimerTick(TObject*) {
  if (!FSkinSupport && !FSupportNCArea) return;
  const TPoint P = CursorPos();
  if (FSupportNCArea) {
    if (!IsCursorOverForm(P)) {
      MouseTimer->SetEnabled(false);
      UpdateActiveObject(-1, -1, false);
      return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
      MouseTimer->SetEnabled(false);
      return;
    }
    TPoint W = P;
    PointToFrame(W);
    if (!PointInRect(FR.NewClRect, W))
      UpdateActiveObject(W.X, W.Y, true);
    else if (ActiveObject != -1)
      UpdateActiveObject(-1, -1, true);
    return;
  }
  if (!FIsDragging) {
    if (IsCursorOverForm(P)) {
      POINT Q{P.X, P.Y};
      ScreenToClient(FForm->Handle(), &Q);
      UpdateActiveObject(Q.x, Q.y, true);
    } else {
      UpdateActiveObject(-1, -1, false);
      MouseIn = false;
      MouseTimer->SetEnabled(false);
    }
  }
  if (FUseSkinCursors) ApplyObjectCursor();
}

void TspFormSkin::MorphTimerTick(TObject*) {
  bool Busy = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (O->EnableMorphing() && O->CanMorphing()) {
      O->DoMorphing();
      Busy = true;
    }
  }
  if (!Busy) MorphTimer->SetEnabled(false);
}

void TspFormSkin::AnimateTimerTick(TObject*) {
  bool Busy = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* A = dynamic_cast<TspSkinAnimateObject*>(ObjectAt(ObjectList, I));
    if (!A || !A->Active || (A->FDown && !RectIsEmpty(A->DownSkinRect))) continue;
    if (A->ChangeFrame()) Busy = true;
  }
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ObjectList, I));
    if (!C || !C->EnableAnimation()) continue;
    if (C->FIncTime < C->AnimateInterval) {
      C->FIncTime += 25;
      Busy = true;
    } else if (C->Active && C->CurrentFrame <= C->FrameCount) {
      ++C->CurrentFrame;
      DrawSkinObject(C);
      C->FIncTime = 25;
      Busy = true;
    } else if (!C->Active && C->CurrentFrame > 0) {
      --C->CurrentFrame;
      DrawSkinObject(C);
      C->FIncTime = 25;
      Busy = true;
    }
  }
  if (!Busy) AnimateTimer->SetEnabled(false);
}

void TspFormSkin::ResetObjectStates() {
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspActiveSkinObject* O = ObjectAt(ObjectList, I);
    if (dynamic_cast<TspSkinCaptionObject*>(O)) continue;
    O->Active = false;
    O->FMouseIn = false;
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O))
      A->FFrame = 1;
    else
      O->FMorphKf = 0;
  }
}

void TspFormSkin::BeginFormDrag(Integer X, Integer Y) {
  FIsDragging = true;
  POINT Q{X, Y};
  if (FForm->HandleAllocated()) ClientToScreen(FForm->Handle(), &Q);
  FOldX = Q.x;
  FOldY = Q.y;
}

void TspFormSkin::EndFormDrag() { FIsDragging = false; }

// ---------------------------------------------------------------------------
// Named objects

Integer TspFormSkin::GetIndex(const String& AIDName) {
  for (Integer I = 0; I < ObjectList->Count(); ++I)
    if (ObjectAt(ObjectList, I)->IDName == AIDName) return I;
  return -1;
}

namespace {
template <class T>
T* Named(TspFormSkin* FS, const String& Name) {
  const Integer I = FS->GetIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<T*>(ObjectAt(FS->ObjectList, I));
}
}  // namespace

void TspFormSkin::UserObjectDraw(const String& AIDName) {
  // Through the frame's own drawing: the object's rectangle is a window
  // rectangle, which the client canvas would offset by the frame.
  if (auto* O = Named<TspUserObject>(this, AIDName)) DrawSkinObject(O);
}

void TspFormSkin::SetEnabled(const String& AIDName, bool Value) {
  const Integer I = GetIndex(AIDName);
  if (I != -1) ObjectAt(ObjectList, I)->Enabled = Value;
}

void TspFormSkin::CaptionSetText(const String& AIDName, const String& AText) {
  auto* C = Named<TspSkinCaptionObject>(this, AIDName);
  if (!C) return;
  if (FInChangeSkinData)
    C->SimpleSetTextValue(AText);
  else
    C->SetTextValue(AText);
}

Integer TspFormSkin::TrackBarGetValue(const String& AIDName) {
  auto* T = Named<TspSkinTrackBarObject>(this, AIDName);
  return T ? T->Value() : 0;
}

void TspFormSkin::TrackBarSetValue(const String& AIDName, Integer AValue) {
  auto* T = Named<TspSkinTrackBarObject>(this, AIDName);
  if (!T) return;
  if (FInChangeSkinData)
    T->SimplySetValue(AValue);
  else
    T->SetValue(AValue);
}

void TspFormSkin::LabelSetText(const String& AIDName, const String& ATextValue) {
  if (auto* L = Named<TspSkinLabelObject>(this, AIDName)) L->SetTextValue(ATextValue, !FInChangeSkinData);
}

void TspFormSkin::BitLabelSetText(const String& AIDName, const String& AValue) {
  if (auto* L = Named<TspSkinBitLabelObject>(this, AIDName)) L->SetTextValue(AValue, !FInChangeSkinData);
}

void TspFormSkin::GaugeSetValue(const String& AIDName, Integer AValue) {
  auto* G = Named<TspSkinGaugeObject>(this, AIDName);
  if (!G) return;
  if (FInChangeSkinData)
    G->SimplySetValue(AValue);
  else
    G->SetValue(AValue);
}

void TspFormSkin::FrameGaugeSetValue(const String& AIDName, Integer AValue) {
  auto* G = Named<TspSkinFrameGaugeObject>(this, AIDName);
  if (!G) return;
  if (FInChangeSkinData)
    G->SimplySetValue(AValue);
  else
    G->SetValue(AValue);
}

void TspFormSkin::SwitchSetState(const String& AIDName, spobj::TSwitchState AState) {
  auto* W = Named<TspSkinSwitchObject>(this, AIDName);
  if (!W) return;
  if (FInChangeSkinData)
    W->SimpleSetState(AState);
  else
    W->SetState(AState);
}

spobj::TSwitchState TspFormSkin::SwitchGetState(const String& AIDName) {
  auto* W = Named<TspSkinSwitchObject>(this, AIDName);
  return W ? W->State() : spobj::swsOff;
}

void TspFormSkin::AnimateStart(const String& AIDName) {
  if (auto* A = Named<TspSkinAnimateObject>(this, AIDName)) A->Start();
}

void TspFormSkin::AnimateStop(const String& AIDName) {
  if (auto* A = Named<TspSkinAnimateObject>(this, AIDName)) A->Stop();
}

Integer TspFormSkin::FrameRegulatorGetValue(const String& AIDName) {
  auto* R = Named<TspSkinFrameRegulatorObject>(this, AIDName);
  return R ? R->Value() : 0;
}

void TspFormSkin::FrameRegulatorSetValue(const String& AIDName, Integer AValue) {
  auto* R = Named<TspSkinFrameRegulatorObject>(this, AIDName);
  if (!R) return;
  if (FInChangeSkinData)
    R->SimplySetValue(AValue);
  else
    R->SetValue(AValue);
}

void TspFormSkin::LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp) {
  const Integer I = GetIndex(AIDName);
  if (I == -1 || !AMenu) return;
  TspActiveSkinObject* O = ObjectAt(ObjectList, I);
  if (auto* B = dynamic_cast<TspSkinButtonObject*>(O)) {
    B->MenuItem = AMenu->Items();
    B->FPopupUp = APopupUp;
  } else if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O)) {
    if (!A->ButtonStyle) return;
    A->MenuItem = AMenu->Items();
    A->FPopupUp = APopupUp;
  }
}

void TspFormSkin::SetMainMenu(TMainMenu* Value) {
  if (FMainMenu == Value) return;
  if (FMainMenu) FMainMenu->RemoveFreeNotification(this);
  FMainMenu = Value;
  if (Value) Value->FreeNotification(this);
  if (Skin()) UpdateMainMenu(true);
}

bool TspFormSkin::ButtonGetDown(const String& AIDName) {
  auto* B = Named<TspSkinButtonObject>(this, AIDName);
  return B && B->Down();
}

void TspFormSkin::ButtonSetDown(const String& AIDName, bool ADown) {
  if (auto* B = Named<TspSkinButtonObject>(this, AIDName)) B->SetDown(ADown);
}

// ---------------------------------------------------------------------------
// Linked areas

void TspFormSkin::LinkControlToArea(const String& AreaName, TControl* Control) {
  if (!Control || !FSD) return;
  const Integer I = FSD->GetAreaIndex(AreaName);
  if (I == -1) return;
  auto* A = static_cast<TspDataSkinArea*>(static_cast<TObject*>(FSD->AreaList->Items(I)));
  if (A->AreaRect.Width() <= 0 || A->AreaRect.Height() <= 0) return;
  Control->SetAlign(alNone);
  auto* L = new TspAreaLink;
  L->Control = Control;
  L->AreaRect = A->AreaRect;
  L->UseAnchors = A->UseAnchors;
  L->AnchorLeft = A->AnchorLeft;
  L->AnchorTop = A->AnchorTop;
  L->AnchorRight = A->AnchorRight;
  L->AnchorBottom = A->AnchorBottom;
  AreaList->Add(L);
  // A control freed while linked drops its link.
  Control->FreeNotification(this);
}

void TspFormSkin::UnLinkControlFromArea(TControl* Control) {
  for (Integer I = 0; I < AreaList->Count(); ++I)
    if (LinkAt(AreaList, I)->Control == Control) {
      delete LinkAt(AreaList, I);
      AreaList->Delete(I);
      return;
    }
}

void TspFormSkin::DropAreaLinksOf(TComponent* AComponent) {
  for (Integer I = AreaList->Count() - 1; I >= 0; --I)
    if (LinkAt(AreaList, I)->Control == AComponent) {
      delete LinkAt(AreaList, I);
      AreaList->Delete(I);
    }
}

void TspFormSkin::ClearAreaLinks() {
  for (Integer I = 0; I < AreaList->Count(); ++I) {
    TspAreaLink* L = LinkAt(AreaList, I);
    if (L->Control && L->Control != FForm) L->Control->RemoveFreeNotification(this);
    delete L;
  }
  AreaList->Clear();
}

TRect TspFormSkin::GetAreaRect(const String& AIDName) {
  TRect R;
  if (!Skin()) return R;
  for (Integer I = 0; I < FSD->AreaList->Count(); ++I) {
    auto* A = static_cast<TspDataSkinArea*>(static_cast<TObject*>(FSD->AreaList->Items(I)));
    if (A->IDName == AIDName) R = A->AreaRect;
  }
  return R;
}

void TspFormSkin::UpdateLinkedControls() {
  if (AreaList->Count() == 0) return;
  const bool Resizable = Skin() && IsSkinResizable();
  if (Resizable) CalcSkinRects();
  for (Integer I = 0; I < AreaList->Count(); ++I) {
    TspAreaLink* L = LinkAt(AreaList, I);
    const TRect R = Resizable ? MapAreaRect(L->AreaRect, L->UseAnchors, L->AnchorLeft, L->AnchorTop, L->AnchorRight,
                                            L->AnchorBottom)
                              : L->AreaRect;
    L->Control->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    if (auto* W = dynamic_cast<TWinControl*>(L->Control)) W->Realign();
  }
}

void TspFormSkin::LinkAreaControls() {
  for (Integer I = 0; I < FForm->ControlCount(); ++I) {
    TControl* C = FForm->Controls(I);
    String Area;
    if (auto* S = dynamic_cast<TspSkinControl*>(C))
      Area = S->AreaName();
    else if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C))
      Area = G->AreaName();
    if (!Area.empty()) LinkControlToArea(Area, C);
  }
}

// ---------------------------------------------------------------------------
// Inactive client area

void TspFormSkin::ShowClientInActiveEffect() {
  if (FInActivePanel) HideClientInActiveEffect();
  auto* F = dynamic_cast<TForm*>(FForm);
  if (!F) return;
  FInActivePanel = new TspClientInActivePanel(this);
  FClientInActiveDraw = true;
  TFinally Done([this] { FClientInActiveDraw = false; });
  FInActivePanel->ShowPanel(F, FClientInActiveEffectType);
}

void TspFormSkin::HideClientInActiveEffect() {
  if (!FInActivePanel) return;
  TspClientInActivePanel* P = FInActivePanel;
  FInActivePanel = nullptr;
  P->HidePanel();
  delete P;
}
