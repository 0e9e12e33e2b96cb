// The skinned popup menu and the picture-grid menu, with their stand-in
// popups.
#include "skin/controls/win/SkinMenus.h"

#include <vector>

#include "classlib/Forms.h"
#include "skin/controls/win/SkinHint.h"
#include "skin/data/SkinMessages.h"

TComponent* FindSkinForm(TComponent* AForm) {
  if (!AForm) return nullptr;
  for (Integer I = 0; I < AForm->ComponentCount(); ++I)
    if (dynamic_cast<TspSkinMenuHost*>(AForm->Components(I))) return AForm->Components(I);
  return nullptr;
}

TspSkinMenuHost* FindSkinMenuHost(TComponent* AForm) { return dynamic_cast<TspSkinMenuHost*>(FindSkinForm(AForm)); }

// ---------------------------------------------------------------------------
// TspSkinPopupMenu

TspSkinPopupMenu::TspSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner), FAlive(std::make_shared<bool>(true)) {}

TspSkinPopupMenu::~TspSkinPopupMenu() { *FAlive = false; }

void TspSkinPopupMenu::SetSkinData(TspSkinData* Value) {
  if (FSD == Value) return;
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
}

void TspSkinPopupMenu::SetSkinComponent(TComponent* Value) {
  if (FSkinComponent == Value) return;
  if (FSkinComponent) FSkinComponent->RemoveFreeNotification(this);
  FSkinComponent = Value;
  if (FSkinComponent) FSkinComponent->FreeNotification(this);
}

void TspSkinPopupMenu::SetComponentForm(TCustomForm* Value) {
  if (FComponentForm == Value) return;
  if (FComponentForm) FComponentForm->RemoveFreeNotification(this);
  FComponentForm = Value;
  if (FComponentForm) FComponentForm->FreeNotification(this);
}

void TspSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FSkinComponent) FSkinComponent = nullptr;
  if (AComponent == FComponentForm) FComponentForm = nullptr;
}

TspSkinMenuHost* TspSkinPopupMenu::FindHost() {
  TspSkinMenuHost* Host = nullptr;
  if (FSkinComponent) {
    Host = dynamic_cast<TspSkinMenuHost*>(FSkinComponent);
  } else if (FComponentForm) {
    Host = FindSkinMenuHost(FComponentForm);
  } else {
    if (dynamic_cast<TCustomForm*>(Owner()))
      Host = FindSkinMenuHost(Owner());
    else if (Owner() && dynamic_cast<TCustomForm*>(Owner()->Owner()))
      Host = FindSkinMenuHost(Owner()->Owner());
  }
  if (Host && !FSD) {
    TspSkinData* SD = Host->MenuHostMenusSkinData();
    SetSkinData(SD ? SD : Host->MenuHostSkinData());
  }
  return Host;
}

bool TspSkinPopupMenu::Open(TControl* ACtrl, const TRect& R, bool APopupUp, bool AMouseUp, bool ANeedSkin) {
  auto Alive = FAlive;
  DoPopup(this);
  if (!*Alive) return false;
  TspSkinMenuHost* Host = FindHost();
  if (!Host || (ANeedSkin && !FSD)) return false;
  auto CtrlAlive = ACtrl ? ACtrl->LivenessToken() : nullptr;
  TspSkinMenu* Menu = Host->MenuHostSkinMenu();
  if (Menu->Visible()) Host->SkinMenuClose();
  if (!*Alive || (CtrlAlive && !*CtrlAlive)) return false;
  // A hidden host (a form in the tray) takes the foreground first, so that
  // a click elsewhere deactivates it and closes the menu.
  if (TCustomForm* F = Host->MenuHostForm())
    if (F->HandleAllocated() && !IsWindowVisible(F->Handle())) SetForegroundWindow(F->Handle());
  Host->SkinMenuOpen();
  Menu->Popup(ACtrl, FSD, 0, R, Items(), APopupUp, AMouseUp);
  if (!*Alive) return true;
  if (OnMenuClose) Menu->OnMenuClose = OnMenuClose;
  return true;
}

void TspSkinPopupMenu::Popup(Integer X, Integer Y) {
  Open(nullptr, TRect(X, Y, X, Y), false, FSupportDirectlyMouseUp, false);
}

void TspSkinPopupMenu::PopupFromRect(const TRect& R, bool APopupUp) { Open(nullptr, R, APopupUp, false, false); }

bool TspSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) {
  return Open(ACtrl, R, APopupUp, false, false);
}

void TspSkinPopupMenu::Popup2(TControl* ACtrl, Integer X, Integer Y) {
  Open(ACtrl, TRect(X, Y, X, Y), false, false, true);
}

// ---------------------------------------------------------------------------
// TspImagesMenuItem

TspImagesMenuItem::TspImagesMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TspImagesMenuItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TspImagesMenuItem*>(Source)) {
    FImageIndex = S->FImageIndex;
    FCaption = S->FCaption;
    FHint = S->FHint;
    FButton = S->FButton;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TspImagesMenuItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TspImagesMenuItem::SetCaption(const String& Value) {
  FCaption = Value;
  Changed(false);
}

void TspImagesMenuItem::SetButton(bool Value) {
  FButton = Value;
  Changed(false);
}

void TspImagesMenuItem::SetHeader(bool Value) {
  FHeader = Value;
  Changed(false);
}

TspImagesMenuItems::TspImagesMenuItems(TspSkinImagesMenu* AMenu)
    : TCollection([](TCollection* C) { return new TspImagesMenuItem(C); }, AMenu), FMenu(AMenu) {}

// ---------------------------------------------------------------------------
// TspSkinImagesMenu

TspSkinImagesMenu::TspSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner), FImagesItems(new TspImagesMenuItems(this)), FDefaultFont(new TFont()),
      FAlive(std::make_shared<bool>(true)) {
  FDefaultFont->SetName(u"Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle(0);
}

TspSkinImagesMenu::~TspSkinImagesMenu() {
  // An open popup goes without events, with its hooks.
  if (TspSkinImagesMenuPopupWindow* P = FPopupWindow) {
    FPopupWindow = nullptr;
    if (Application) Application->CancelRelease(P);
    FreeObject(P);
  }
  *FAlive = false;
  delete FImagesItems;
  delete FDefaultFont;
}

void TspSkinImagesMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TspSkinImagesMenu::SetSkinData(TspSkinData* Value) {
  if (FSD == Value) return;
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
}

void TspSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TspSkinImagesMenu::SetSkinHint(TspSkinHint* Value) {
  if (FSkinHint == Value) return;
  if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
  FSkinHint = Value;
  if (FSkinHint) FSkinHint->FreeNotification(this);
}

TspImagesMenuItem* TspSkinImagesMenu::GetSelectedItem() const {
  if (FItemIndex < 0 || FItemIndex >= FImagesItems->Count()) return nullptr;
  return FImagesItems->Items(FItemIndex);
}

void TspSkinImagesMenu::SetColumnsCount(Integer Value) {
  if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

