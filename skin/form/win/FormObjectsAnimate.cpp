// Frame animations: a strip of pictures played on the form's 25-ms
// animation timer, on demand or as an animated caption button with the
// caption buttons' commands and an optional drop-down menu.
#include <algorithm>

#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormObjectCommands.h"
#include "skin/form/win/FormSkin.h"

TspSkinAnimateObject::TspSkinAnimateObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  auto* D = dynamic_cast<TspDataSkinAnimate*>(AData);
  if (!D) return;
  CountFrames = D->CountFrames;
  Cycle = D->Cycle;
  ButtonStyle = D->ButtonStyle;
  TimerInterval = std::max(D->TimerInterval, 25);
  Command = D->Command;
  // Looks cut from a missing active picture count as none.
  if (ActivePicture) {
    DownSkinRect = D->DownSkinRect;
    RestoreRect = D->RestoreRect;
    RestoreActiveRect = D->RestoreActiveRect;
    RestoreInActiveRect = D->RestoreInActiveRect;
    RestoreDownRect = D->RestoreDownRect;
  }
  RestoreHint = D->RestoreHint;
  FTempHint = D->Hint;
}

bool TspSkinAnimateObject::IsRestoreState() {
  switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize: return Parent->WindowState() == wsMinimized;
    case cmRollUp: return Parent->RollUpState();
    default: return false;
  }
}

void TspSkinAnimateObject::StartTimer() {
  if (!Parent->AnimateTimer->Enabled()) Parent->AnimateTimer->SetEnabled(true);
}

void TspSkinAnimateObject::Start() {
  // A strip without pictures has nothing to play.
  if (CountFrames < 1) return;
  FInc = 25;
  FFrame = 1;
  Active = true;
  StartTimer();
}

void TspSkinAnimateObject::Stop() {
  SetFrame(1);
  Active = false;
  FInc = 25;
}

void TspSkinAnimateObject::SetFrame(Integer Value) {
  if (Increment && Value > CountFrames)
    FFrame = 1;
  else if (!Increment && Value <= 0)
    FFrame = std::max(CountFrames, 1);
  else
    FFrame = Value;
  Parent->DrawSkinObject(this);
}

bool TspSkinAnimateObject::ChangeFrame() {
  if (CountFrames < 1) {
    Active = false;
    return false;
  }
  if (FInc < TimerInterval) {
    FInc += 25;
    return true;
  }
  if (Increment) {
    // Already at the end of a strip that does not cycle: nothing to play
    // (no wrap to the first picture).
    if (!Cycle && FFrame >= CountFrames) {
      Active = false;
      return false;
    }
    SetFrame(FFrame + 1);
    if (!Cycle && FFrame == CountFrames) Active = false;
  } else {
    // Back at the first picture: stop there rather than wrap to the last.
    if (FFrame <= 1) {
      Active = false;
      return false;
    }
    SetFrame(FFrame - 1);
    if (FFrame == 1) Active = false;
  }
  FInc = 25;
  return true;
}

TRect TspSkinAnimateObject::FrameRect(const TRect& Strip, const TRect& Look, Integer N) const {
  N = std::clamp(N, 1, std::max(CountFrames, 1));
  const Integer W = Look.Width(), H = Look.Height();
  return TRect(Strip.Left + W * (N - 1), Strip.Top, Strip.Left + W * N, Strip.Top + H);
}

void TspSkinAnimateObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin() || !ActivePicture) return;
  TRect N = SkinRect, A = ActiveSkinRect, D = DownSkinRect, I = InActiveSkinRect;
  if (!RectIsEmpty(RestoreRect) && IsRestoreState()) {
    N = RestoreRect;
    A = RestoreActiveRect;
    D = RestoreDownRect;
    I = RestoreInActiveRect;
  }
  if (RectIsEmpty(A)) return;
  TRect R;
  if (FMenuTracking) {
    if (!RectIsEmpty(D)) {
      R = D;
    } else {
      FFrame = std::max(CountFrames, 1);
      R = FrameRect(A, N, FFrame);
    }
  } else if (!Parent->GetFormActive() && !RectIsEmpty(I)) {
    R = I;
  } else if (FDown && FMouseIn && !RectIsEmpty(D)) {
    R = D;
  } else {
    R = FrameRect(A, N, FFrame);
  }
  CopyLook(Cnvs, ActivePicture, R);
}

void TspSkinAnimateObject::ShowLayer() {
  ShowLayerOn(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager, false);
}

void TspSkinAnimateObject::HideLayer() { HideLayerOn(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager); }

void TspSkinAnimateObject::MouseEnter() {
  if (Command != cmDefault) Hint = (IsRestoreState() && !RestoreHint.empty()) ? RestoreHint : FTempHint;
  FMouseIn = true;
  if (FMenuTracking) return;
  if (ButtonStyle) {
    if (FDown && !RectIsEmpty(DownSkinRect)) {
      Parent->DrawSkinObject(this);
    } else {
      Active = true;
      Increment = true;
      StartTimer();
    }
  }
  FireEnter();
  ShowLayer();
}

void TspSkinAnimateObject::MouseLeave() {
  if (!FMouseIn) return;
  FMouseIn = false;
  if (FMenuTracking) return;
  if (ButtonStyle) {
    if (FDown && !RectIsEmpty(DownSkinRect)) {
      Parent->DrawSkinObject(this);
    } else {
      Active = true;
      Increment = false;
      StartTimer();
    }
  }
  FireLeave();
  HideLayer();
}

void TspSkinAnimateObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  FireMouseDown(X, Y, Button);
  if (Button != mbLeft) return;
  if (!RectIsEmpty(DownSkinRect)) {
    FFrame = std::max(CountFrames, 1);
    FDown = true;
    Parent->DrawSkinObject(this);
  }
  if (ButtonStyle && Command == cmSysMenu && FMouseIn) ExecuteCommand();
}

void TspSkinAnimateObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  FireMouseUp(X, Y, Button);
  if (FMenuTracking || Button != mbLeft) return;
  if (!RectIsEmpty(DownSkinRect)) {
    FDown = false;
    Parent->DrawSkinObject(this);
    StartTimer();
  }
  if (ButtonStyle && Command != cmSysMenu && FMouseIn) ExecuteCommand();
}

void TspSkinAnimateObject::DblClick() {
  if (Command == cmSysMenu) CloseForm();
}

void TspSkinAnimateObject::ExecuteCommand() {
  if (RunFormCommand(*this)) return;
  if (Command == cmSysMenu) {
    MenuItem = Parent->GetSystemMenuItems();
    OpenMenu();
  } else if (Command == cmDefault && MenuItem) {
    OpenMenu();
  }
}

void TspSkinAnimateObject::MaximizeForm() {
  Parent->SetWindowState(Parent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TspSkinAnimateObject::MinimizeForm() {
  if (Parent->SupportNCArea())
    Parent->SetWindowState(Parent->WindowState() == wsMinimized ? wsNormal : wsMinimized);
  else
    Parent->SetWindowState(wsMinimized);
}

void TspSkinAnimateObject::RollUpForm() { Parent->SetRollUpState(!Parent->RollUpState()); }
void TspSkinAnimateObject::CloseForm() { Parent->FForm->Close(); }
void TspSkinAnimateObject::MinimizeFormToTray() { Parent->MinimizeToTray(); }

void TspSkinAnimateObject::OpenMenu() {
  if (!MenuItem || MenuItem->Count() == 0) return;
  const TRect R = ScreenRect(ObjectRect, false);
  FMenuTracking = true;
  if (Parent->FLayerManager->IsVisible()) Parent->FLayerManager->Hide();
  if (Parent->FMenuLayerManager->IsVisible()) Parent->FMenuLayerManager->Hide();
  if (FMouseIn) ShowLayer();
  if (auto* Own = dynamic_cast<TspSkinPopupMenu*>(MenuItem->GetParentMenu())) {
    Own->PopupFromRect(R, FPopupUp);
  } else {
    Parent->SkinMenuOpen();
    Parent->SkinMenu->Popup(nullptr, Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData(), 0, R,
                            MenuItem, FPopupUp, false);
  }
  // A menu that did not open ends at once, as every menu does.
  if (FMenuTracking && !Parent->SkinMenuVisible()) Parent->SkinMenuClose();
}

void TspSkinAnimateObject::MenuClosed() {
  Active = true;
  FFrame = std::max(CountFrames, 1);
  FDown = false;
  FMenuTracking = false;
  Increment = false;
  StartTimer();
}
