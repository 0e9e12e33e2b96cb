// The form component's side of its menus: the keyboard hook of an open
// menu and the ways a menu is shown through the form's skinned menu.
#include "skin/form/win/FormSkin.h"

void TspFormSkin::HookAppMessage() {
  if (FInAppHook) return;
  FInAppHook = true;
  Application->MessageHooks().Install(this, [this, Alive = FAlive](MSG& Msg, bool& Handled) {
    if (*Alive) MenuAppMessage(Msg, Handled);
  });
}

void TspFormSkin::UnHookAppMessage() {
  if (!FInAppHook) return;
  FInAppHook = false;
  Application->MessageHooks().Remove(this);
}

void TspFormSkin::MenuAppMessage(MSG& Msg, bool& Handled) {
  if (Msg.message == WM_KEYDOWN) {
    TMessage M{};
    M.Msg = Msg.message;
    M.WParam = Msg.wParam;
    M.LParam = Msg.lParam;
    // Marked handled, the key is never translated: no WM_CHAR follows.
    Msg.message = 0;
    Handled = true;
    MenuKeyDown(M);
  } else if (Msg.message == WM_MOUSEWHEEL) {
    Msg.message = 0;
    Handled = true;
  }
}

void TspFormSkin::MenuKeyDown(TMessage& Message) {
  const Word Key = LOWORD(Message.WParam);
  auto Alive = FAlive;
  if (Key == VK_ESCAPE && InMainMenu && !InMenu) {
    InMainMenu = false;
    UnHookAppMessage();
    return;
  }
  if (!SkinMenu->Visible() || SkinMenu->LevelCount() == 0) {
    if (Key == VK_ESCAPE && !InMainMenu && InMenu) SkinMenuClose();
    return;
  }
  SkinMenu->DeepestLevel()->PopupKeyDown(Key);
  if (!*Alive) return;
  // Escape on the last level closes without telling the form.
  if (Key == VK_ESCAPE && SkinMenu->LevelCount() == 0 && InMenu) SkinMenuClose();
}

void TspFormSkin::PopupSkinMenu(TMenu* Menu, const TPoint& P) {
  PopupSkinMenu1(Menu, TRect(P.X, P.Y, P.X, P.Y), false);
}

void TspFormSkin::PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp) {
  SkinMenuOpen();
  SkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, Menu->Items(), PopupUp, false);
}

void TspFormSkin::DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y) {
  auto Alive = FAlive;
  if (Menu->OnPopup) Menu->OnPopup(this);
  if (!*Alive) return;
  if (SkinMenu->Visible()) SkinMenuClose();
  SkinMenuOpen();
  SkinMenu->Popup(nullptr, FSD, 0, TRect(X, Y, X, Y), Menu->Items(), false, false);
}
