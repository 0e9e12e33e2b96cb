// Push buttons and caption buttons of the frame: down and group state,
// disabled and restore looks, hints, the skinless default look and the
// commands they run on the form.
#include <memory>

#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormObjectCommands.h"
#include "skin/form/win/FormSkin.h"

// ---------------------------------------------------------------------------
// Push button

TspSkinButtonObject::TspSkinButtonObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinButton*>(AData)) {
    GroupIndex = D->GroupIndex;
    // Looks of a missing active picture count as none.
    if (ActivePicture) {
      DownRect = D->DownRect;
      DisableSkinRect = D->DisableSkinRect;
    }
  }
}

bool TspSkinButtonObject::CanMorphing() {
  return !(HasMenu() && FDown) && TspActiveSkinObject::CanMorphing();
}

void TspSkinButtonObject::ReleaseGroup() {
  if (GroupIndex == -1) return;
  for (Integer I = 0; I < Parent->ObjectList->Count(); ++I) {
    auto* B = dynamic_cast<TspSkinButtonObject*>(static_cast<TspActiveSkinObject*>(Parent->ObjectList->Items(I)));
    if (B && B != this && B->IDName != IDName && B->GroupIndex == GroupIndex && B->FDown) {
      B->SetDown(false);
      return;
    }
  }
}

void TspSkinButtonObject::SetDown(bool Value) {
  FDown = Value;
  const bool HasDownLook = !RectIsEmpty(DownRect);
  if (HasMenu() && !HasDownLook) {
    if (Value) {
      FMouseIn = Active = true;
      if (EnableMorphing()) SetMorphKf(1);
      Parent->DrawSkinObject(this);
    } else {
      Parent->DrawSkinObject(this);
      if (EnableMorphing()) ReDraw();
    }
    return;
  }
  if (!HasDownLook) {
    if (Value) ReleaseGroup();
    return;
  }
  if (Value) {
    if (EnableMorphing()) SetMorphKf(1);
    Parent->DrawSkinObject(this);
    ReleaseGroup();
  } else {
    if (GroupIndex != -1 || HasMenu()) Active = false;
    if (EnableMorphing()) Parent->DrawSkinObject(this);
    ReDraw();
  }
}

void TspSkinButtonObject::PushDraw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin()) return;
  if (!Enabled && !RectIsEmpty(DisableSkinRect)) {
    CopyLook(Cnvs, ActivePicture, DisableSkinRect);
  } else if (FDown && !RectIsEmpty(DownRect) && (GroupIndex != -1 || FMouseIn)) {
    CopyLook(Cnvs, ActivePicture, DownRect);
  } else {
    TspActiveSkinObject::Draw(Cnvs, UpDate);
  }
}

void TspSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate) { PushDraw(Cnvs, UpDate); }

void TspSkinButtonObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && !FDown) {
    SetDown(true);
    OpenMenu();
  }
  FireMouseDown(X, Y, Button);
}

void TspSkinButtonObject::PushMouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && FDown && !HasMenu() && GroupIndex == -1) SetDown(false);
  FireMouseUp(X, Y, Button);
}

void TspSkinButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) { PushMouseUp(X, Y, Button); }

void TspSkinButtonObject::PushMouseEnter() {
  FMouseIn = Active = true;
  const bool HasDownLook = !RectIsEmpty(DownRect);
  if (!FDown || !HasDownLook) {
    if (!RectIsEmpty(ActiveSkinRect)) ReDraw();
    if (HasMenu()) ShowLayer();
  } else if (GroupIndex == -1) {
    Parent->DrawSkinObject(this);
  }
  FireEnter();
  if (!HasMenu()) ShowLayer();
}

void TspSkinButtonObject::MouseEnter() { PushMouseEnter(); }

void TspSkinButtonObject::PushMouseLeave() {
  FMouseIn = false;
  const bool HasDownLook = !RectIsEmpty(DownRect);
  if (HasMenu() && FDown && !HasDownLook) {
    Active = false;
  } else if (!(FDown && HasDownLook && (HasMenu() || GroupIndex != -1))) {
    Active = false;
    if (EnableMorphing() && FDown) SetMorphKf(1);
    if (!RectIsEmpty(ActiveSkinRect) || (HasDownLook && GroupIndex == -1)) ReDraw();
    if (HasMenu()) HideLayer();
  }
  FireLeave();
  if (!HasMenu()) HideLayer();
}

void TspSkinButtonObject::MouseLeave() { PushMouseLeave(); }

void TspSkinButtonObject::ShowLayer() {
  ShowLayerOn(HasMenu() ? Parent->FMenuLayerManager : Parent->FLayerManager, true);
}

void TspSkinButtonObject::HideLayer() { HideLayerOn(HasMenu() ? Parent->FMenuLayerManager : Parent->FLayerManager); }

void TspSkinButtonObject::OpenMenu() {
  if (!MenuItem || MenuItem->Count() == 0) return;
  if (Parent->FLayerManager->IsVisible()) Parent->FLayerManager->Hide();
  if (Parent->FMenuLayerManager->IsVisible()) Parent->FMenuLayerManager->Hide();
  if (FMouseIn) ShowLayer();
  const TRect R = ScreenRect(ObjectRect, true);
  if (auto* Own = dynamic_cast<TspSkinPopupMenu*>(MenuItem->GetParentMenu())) {
    Own->PopupFromRect(R, FPopupUp);
  } else {
    Parent->SkinMenuOpen();
    Parent->SkinMenu->Popup(nullptr, Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData(), 0, R,
                            MenuItem, FPopupUp, false);
  }
  // A menu that did not open is closed at once, and the button goes up as
  // after any menu.
  if (!Parent->SkinMenuVisible()) {
    Parent->SkinMenuClose();
    SetDown(false);
  }
}

// ---------------------------------------------------------------------------
// Caption button

TspSkinStdButtonObject::TspSkinStdButtonObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspSkinButtonObject(AParent, AData) {
  auto* D = dynamic_cast<TspDataSkinStdButton*>(AData);
  if (!D) return;
  FSkinSupport = true;
  Command = D->Command;
  if (ActivePicture) {
    RestoreRect = D->RestoreRect;
    RestoreActiveRect = D->RestoreActiveRect;
    RestoreDownRect = D->RestoreDownRect;
    RestoreInActiveRect = D->RestoreInActiveRect;
  }
  RestoreHint = D->RestoreHint;
  FTempHint = D->Hint;
  AlphaMaskPictureIndex = D->AlphaMaskPictureIndex;
  AlphaMaskActivePictureIndex = D->AlphaMaskActivePictureIndex;
  AlphaMaskInActivePictureIndex = D->AlphaMaskInActivePictureIndex;
}

bool TspSkinStdButtonObject::IsRestoreState() {
  switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize: return Parent->WindowState() == wsMinimized && Application->MainForm() != Parent->FForm;
    case cmRollUp: return Parent->RollUpState();
    default: return false;
  }
}

bool TspSkinStdButtonObject::IsIconButton() {
  return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture;
}

bool TspSkinStdButtonObject::PointInMask(Integer X, Integer Y) {
  return IsIconButton() || TspActiveSkinObject::PointInMask(X, Y);
}

bool TspSkinStdButtonObject::CanMorphing() { return !IsIconButton() && TspSkinButtonObject::CanMorphing(); }

void TspSkinStdButtonObject::ShowLayer() {
  if (IsIconButton()) return;
  if (FSkinSupport && !Parent->FFormActive && !RectIsEmpty(InActiveSkinRect)) return;
  TspSkinButtonObject::ShowLayer();
}

void TspSkinStdButtonObject::HideLayer() {
  if (IsIconButton()) return;
  if (FSkinSupport && !Parent->FFormActive && !RectIsEmpty(InActiveSkinRect)) return;
  TspSkinButtonObject::HideLayer();
}

void TspSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!FSkinSupport) {
    DefaultDraw(Cnvs);
    return;
  }
  if (!HasSkin()) return;
  if (IsIconButton()) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    FMorphKf = 0;
    return;
  }
  const bool Restore = IsRestoreState();
  if (!Enabled || (!Parent->GetFormActive() && !RectIsEmpty(InActiveSkinRect) && !Restore)) {
    PushDraw(Cnvs, UpDate);
    return;
  }
  if (!Restore || RectIsEmpty(RestoreRect)) {
    if (FDown && Command == cmSysMenu && !RectIsEmpty(DownRect))
      CopyLook(Cnvs, ActivePicture, DownRect);
    else
      PushDraw(Cnvs, UpDate);
    return;
  }
  if (!Parent->FFormActive && !RectIsEmpty(RestoreInActiveRect)) {
    CopyLook(Cnvs, ActivePicture, RestoreInActiveRect);
  } else if (FDown && FMouseIn && !RectIsEmpty(RestoreDownRect)) {
    CopyLook(Cnvs, ActivePicture, RestoreDownRect);
  } else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
    DrawTransition(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
  } else if (Active && !RectIsEmpty(RestoreActiveRect)) {
    CopyLook(Cnvs, ActivePicture, RestoreActiveRect);
  } else {
    CopyLook(Cnvs, ActivePicture, RestoreRect);
  }
}

void TspSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
  if (Command == cmSysMenu && Parent->ShowIcon()) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    return;
  }
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewLookImage(W, H);
  TCanvas* C = B->Canvas();
  const bool Hot = Active, Pressed = FDown && Active;
  if (Hot) {
    C->Brush()->SetColor(Pressed ? TColor(0xB59385) : TColor(0xD2BDB6));
    C->FillRect(TRect(0, 0, W, H));
    C->Brush()->SetColor(TColor(0x800000));
    C->FrameRect(TRect(0, 0, W, H));
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, W, H));
  }
  Integer X = W / 2 - 5, Y = H / 2 - 4;
  if (Pressed) {
    ++X;
    ++Y;
  }
  const TColor Color = Enabled ? clBtnText : clBtnShadow;
  switch (Command) {
    case cmClose: DrawCloseGlyph(C, X, Y, Color); break;
    case cmMaximize:
      if (Parent->WindowState() == wsMaximized)
        DrawRestoreGlyph(C, X, Y, Color);
      else
        DrawMaximizeGlyph(C, X, Y, Color);
      break;
    case cmMinimize:
      if (Parent->WindowState() == wsMinimized)
        DrawRestoreGlyph(C, X, Y, Color);
      else
        DrawMinimizeGlyph(C, X, Y, Color);
      break;
    case cmSysMenu: DrawSysMenuGlyph(C, X, Y, Color); break;
    case cmRollUp:
      if (Parent->RollUpState())
        DrawRollDownGlyph(C, X, Y, Color);
      else
        DrawRollUpGlyph(C, X, Y, Color);
      break;
    case cmMinimizeToTray: DrawMinimizeToTrayGlyph(C, X, Y, Color); break;
    case cmDefault: break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinStdButtonObject::DblClick() {
  if (Command == cmSysMenu) CloseForm();
}

void TspSkinStdButtonObject::MouseDown(Integer, Integer, TMouseButton Button) {
  if (Button != mbLeft || !Enabled || FDown) return;
  if (Command == cmSysMenu) MenuItem = Parent->GetSystemMenuItems();
  if (!IsIconButton()) SetDown(true);
  if (Command == cmSysMenu) {
    OpenMenu();
    // Without a menu on the screen the button does not stay pressed.
    if (FDown && !Parent->SkinMenuVisible()) SetDown(false);
  }
}

void TspSkinStdButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (Command == cmClose) {
    PushMouseUp(X, Y, Button);
    if (Active && Button == mbLeft) ExecuteCommand();
    return;
  }
  // The command may end the hot state; the release is still the one the
  // press started.
  if (Active && Button == mbLeft) ExecuteCommand();
  if (!IsIconButton()) PushMouseUp(X, Y, Button);
}

void TspSkinStdButtonObject::MouseEnter() {
  if (Command != cmDefault) Hint = (IsRestoreState() && !RestoreHint.empty()) ? RestoreHint : FTempHint;
  if (IsIconButton()) return;
  PushMouseEnter();
}

void TspSkinStdButtonObject::MouseLeave() {
  if (IsIconButton()) return;
  PushMouseLeave();
}

void TspSkinStdButtonObject::ExecuteCommand() { RunFormCommand(*this); }

void TspSkinStdButtonObject::MaximizeForm() {
  if (Parent->SupportNCArea()) HideLayer();
  Parent->SetWindowState(Parent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TspSkinStdButtonObject::MinimizeForm() {
  if (Parent->SupportNCArea()) {
    HideLayer();
    Parent->SetWindowState(Parent->WindowState() == wsMinimized ? wsNormal : wsMinimized);
  } else {
    Parent->SetWindowState(wsMinimized);
  }
}

void TspSkinStdButtonObject::RollUpForm() { Parent->SetRollUpState(!Parent->RollUpState()); }
void TspSkinStdButtonObject::CloseForm() { Parent->FForm->Close(); }
void TspSkinStdButtonObject::MinimizeFormToTray() { Parent->MinimizeToTray(); }
