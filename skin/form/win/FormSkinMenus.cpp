// The form component's side of its menus: the keyboard hook of an open
// menu and the ways a menu is shown through the form's skinned menu.
#include "skin/form/win/FormSkin.h"
#include "skin/form/win/SkinMainMenuBar.h"

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
  // A document child hands its keys to the main form's open menu.
  if (IsMDIChild())
    if (TspFormSkin* P = MainFormSkin();
        P && P != this && (P->InMenu || P->InMainMenu || P->SkinMenu->Visible())) {
      P->MenuKeyDown(Message);
      return;
    }
  if (InMainMenu && FindMainMenuItemByAccel(Key)) return;
  if (!*Alive) return;
  if (Key == VK_ESCAPE && InMainMenu && !InMenu) {
    CloseMainMenu();
    return;
  }
  if (Key == VK_LEFT && InMainMenu && CanMainMenuGoLeft()) {
    PrevMainMenuItem();
    return;
  }
  if (Key == VK_RIGHT && InMainMenu && CanMainMenuGoRight()) {
    NextMainMenuItem();
    return;
  }
  const bool Open = SkinMenu->Visible() && SkinMenu->LevelCount() > 0;
  if (Key == VK_RETURN || Key == VK_DOWN) {
    if (!OpenMainMenuItem() && *Alive && Open) SkinMenu->DeepestLevel()->PopupKeyDown(Key);
    return;
  }
  if (!Open) {
    if (Key == VK_ESCAPE && !InMainMenu && InMenu) SkinMenuClose();
    return;
  }
  SkinMenu->DeepestLevel()->PopupKeyDown(Key);
  if (!*Alive) return;
  // Escape on the last level: the main menu's item stays hot, a popup closes.
  if (Key == VK_ESCAPE && SkinMenu->LevelCount() == 0) {
    if (InMainMenu)
      SkinMainMenuClose();
    else if (InMenu)
      SkinMenuClose();
  }
}

// ---------------------------------------------------------------------------
// Main-menu mode

TspSkinMainMenuBar* TspFormSkin::MainMenuBar() const { return dynamic_cast<TspSkinMainMenuBar*>(FMainMenuBar); }

void TspFormSkin::SetMainMenuBar(TspSkinMainMenuBar* Value) {
  FMainMenuBar = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetFormSkin(this);
  }
}

bool TspFormSkin::EnterMainMenu() {
  if (TspSkinMainMenuBar* Bar = MainMenuBar()) {
    Bar->EnterMainMenu();
    return InMainMenu;
  }
  // The frame's own main-menu items are not drawn by this component.
  if (OnMainMenuEnter) OnMainMenuEnter(this);
  return false;
}

void TspFormSkin::CloseMainMenu() {
  InMainMenu = false;
  if (SkinMenu->Visible()) SkinMenu->Hide();
  if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->CloseMainMenu();
  UnHookAppMessage();
  if (OnMainMenuExit) OnMainMenuExit(this);
}

void TspFormSkin::SkinMainMenuClose() {
  InMenu = false;
  if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->SkinMainMenuClose();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
}

bool TspFormSkin::OpenMainMenuItem() {
  TspSkinMainMenuBar* Bar = MainMenuBar();
  return Bar && Bar->OpenMainMenuItem();
}

bool TspFormSkin::FindMainMenuItemByAccel(Word Key) {
  TspSkinMainMenuBar* Bar = MainMenuBar();
  return Bar && Bar->FindMainMenuItemByAccel(Key);
}

void TspFormSkin::NextMainMenuItem() {
  if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->NextMainMenuItem();
}

void TspFormSkin::PrevMainMenuItem() {
  if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->PrevMainMenuItem();
}

bool TspFormSkin::CanMainMenuGoLeft() { return SkinMenu->LevelCount() <= 1; }

bool TspFormSkin::CanMainMenuGoRight() {
  if (SkinMenu->LevelCount() == 0) return true;
  TspSkinPopupWindow* L = SkinMenu->DeepestLevel();
  if (L->ActiveItem == -1 || L->ActiveItem >= L->ItemCount()) return true;
  TMenuItem* MI = L->Items(L->ActiveItem)->MenuItem;
  return !MI || MI->Count() == 0;
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

// ---------------------------------------------------------------------------
// The system menu

namespace {

struct TSysItem {
  const char16_t* Name;
  const char16_t* Key;
  const char16_t* Text;
};
constexpr TSysItem kMin{u"DSF_MINITEM", u"MI_MINCAPTION", u"Mi&nimize"};
constexpr TSysItem kMax{u"DSF_MAXITEM", u"MI_MAXCAPTION", u"Ma&ximize"};
constexpr TSysItem kRestore{u"DSF_RESTORE", u"MI_RESTORECAPTION", u"&Restore"};
constexpr TSysItem kRollUp{u"DSF_ROLLUP", u"MI_ROLLUPCAPTION", u"Ro&llUp"};
constexpr TSysItem kTray{u"DSF_MINTOTRAY", u"MI_MINTOTRAYCAPTION", u"Minimize to &Tray"};
constexpr TSysItem kClose{u"DSF_CLOSE", u"MI_CLOSECAPTION", u"&Close"};

bool IsStandardItem(const String& Name) {
  for (const TSysItem* I : {&kMin, &kMax, &kClose, &kTray, &kRollUp, &kRestore})
    if (Name == I->Name) return true;
  return false;
}

}  // namespace

void TspFormSkin::SetSystemMenu(TPopupMenu* Value) {
  if (FSystemMenu == Value) return;
  if (FSystemMenu) FSystemMenu->RemoveFreeNotification(this);
  FSystemMenu = Value;
  if (FSystemMenu) FSystemMenu->FreeNotification(this);
}

// The standard items of the form's state, each made when its condition
// holds (nullptr otherwise).
namespace {

TMenuItem* MakeSysItem(TspFormSkin* FS, TspSkinData* SD, const TSysItem& D, TNotifyEvent OnClick) {
  // A standard item left from an earlier showing in a menu no longer used.
  delete FS->FindComponent(D.Name);
  auto* M = new TMenuItem(FS);
  M->SetName(D.Name);
  M->SetCaption(SD && SD->ResourceStrData() ? SD->ResourceStrData()->GetResStr(D.Key) : String(D.Text));
  M->OnClick = std::move(OnClick);
  return M;
}

}  // namespace

void TspFormSkin::BuildSystemMenu() {
  TMenuItem* Root = FSysMenu->Items();
  for (Integer I = Root->Count() - 1; I >= 0; --I) Root->Delete(I);
  auto Alive = FAlive;
  const TWindowState WS = FWindowState;
  auto Add = [&](const TSysItem& D, TNotifyEvent E) { Root->Add(MakeSysItem(this, FSD, D, std::move(E))); };
  if ((FBorderIcons & spbi::biMinimize) && WS != wsMinimized)
    Add(kMin, [this, Alive](TObject*) {
      if (!*Alive) return;
      if (FAlwaysMinimizeToTray)
        MinimizeToTray();
      else
        SetWindowState(wsMinimized);
    });
  if ((FBorderIcons & spbi::biMaximize) && WS != wsMaximized)
    Add(kMax, [this, Alive](TObject*) {
      if (*Alive) SetWindowState(wsMaximized);
    });
  if (WS != wsNormal || FRollUpState)
    Add(kRestore, [this, Alive](TObject*) {
      if (!*Alive) return;
      if (MaxRollUpState || (FRollUpState && FWindowStateInit == wsNormal))
        SetRollUpState(false);
      else
        SetWindowState(wsNormal);
    });
  if ((FBorderIcons & spbi::biRollUp) && !FRollUpState && WS != wsMinimized)
    Add(kRollUp, [this, Alive](TObject*) {
      if (*Alive) SetRollUpState(true);
    });
  if (FBorderIcons & spbi::biMinimizeToTray)
    Add(kTray, [this, Alive](TObject*) {
      if (*Alive) MinimizeToTray();
    });
  if (Root->Count() > 0) {
    auto* Sep = new TMenuItem(this);
    Sep->SetCaption(u"-");
    Root->Add(Sep);
  }
  Add(kClose, [this, Alive](TObject*) {
    if (*Alive) FForm->Close();
  });
  Root->Items(Root->Count() - 1)->SetShortCut(TextToShortCut(IsMDIChild() ? u"Ctrl+F4" : u"Alt+F4"));
}

void TspFormSkin::MergeSystemMenu() {
  if (!FUseDefaultSysMenu || !FSystemMenu) return;
  TMenuItem* Root = FSystemMenu->Items();
  // The standard items of an earlier showing go first.
  for (bool Found = true; Found;) {
    Found = false;
    for (Integer I = 0; I < Root->Count(); ++I)
      if (IsStandardItem(Root->Items(I)->Name())) {
        Root->Delete(I);
        Found = true;
        break;
      }
  }
  // The own menu's items, in the merged order: Minimize, Restore, Maximize,
  // Roll up, Minimize to tray, the program's items, Close.
  BuildSystemMenu();
  TMenuItem* Own = FSysMenu->Items();
  Integer At = 0;
  for (const TSysItem* D : {&kMin, &kRestore, &kMax, &kRollUp, &kTray})
    for (Integer I = 0; I < Own->Count(); ++I)
      if (Own->Items(I)->Name() == D->Name) {
        TMenuItem* M = Own->Items(I);
        Own->Remove(M);
        Root->Insert(At++, M);
        break;
      }
  for (Integer I = 0; I < Own->Count(); ++I)
    if (Own->Items(I)->Name() == kClose.Name) {
      TMenuItem* M = Own->Items(I);
      Own->Remove(M);
      Root->Add(M);
      break;
    }
  for (Integer I = Own->Count() - 1; I >= 0; --I) Own->Delete(I);
}

TMenuItem* TspFormSkin::GetSystemMenuItems() {
  if (FSystemMenu) {
    MergeSystemMenu();
    return FSystemMenu->Items();
  }
  BuildSystemMenu();
  return FSysMenu->Items();
}

void TspFormSkin::PopupSystemMenuAt(const TRect& R) {
  // A document child's menu is shown, keyed and closed by the main form's
  // component: the menu state and the key hook are that one's.
  TspFormSkin* Host = this;
  if (IsMDIChild()) {
    Host = MainFormSkin();
    if (!Host) return;
  }
  TMenuItem* Items = GetSystemMenuItems();
  Host->SkinMenuOpen();
  Host->SkinMenu->Popup(nullptr, Host->FMSD ? Host->FMSD : Host->FSD, 0, R, Items, false, false);
}

void TspFormSkin::PopupSystemMenu(Integer X, Integer Y) { PopupSystemMenuAt(TRect(X, Y, X, Y)); }

void TspFormSkin::PopupSystemMenuFromButton() {
  if (FDisableSystemMenu) return;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* O = static_cast<TspActiveSkinObject*>(static_cast<TObject*>(ObjectList->Items(I)));
    bool SysButton = false;
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O)) SysButton = B->Enabled && B->Command == cmSysMenu;
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O)) SysButton = A->Enabled && A->Command == cmSysMenu;
    if (!SysButton) continue;
    TRect R = O->ObjectRect;
    R.Left += FForm->Left();
    R.Right += FForm->Left();
    R.Top += FForm->Top();
    R.Bottom += FForm->Top();
    // The first one found is where the menu drops down.
    PopupSystemMenuAt(R);
    return;
  }
}

void TspFormSkin::BuildTrayMenu() {
  auto Alive = FAlive;
  auto Add = [this](const char16_t* Name, const char16_t* Caption) {
    auto* M = new TMenuItem(this);
    if (*Name) M->SetName(Name);
    M->SetCaption(Caption);
    FSysTrayMenu->Items()->Add(M);
    return M;
  };
  Add(u"TRAY_DSF_RESTORE", u"&Restore")->OnClick = [this, Alive](TObject*) {
    if (*Alive) RestoreFromTray();
  };
  Add(u"", u"-");
  TMenuItem* Close = Add(u"TRAY_DSF_CLOSE", u"&Close");
  Close->SetShortCut(TextToShortCut(IsMDIChild() ? u"Ctrl+F4" : u"Alt+F4"));
  Close->OnClick = [this, Alive](TObject*) {
    if (*Alive) FForm->Close();
  };
}
