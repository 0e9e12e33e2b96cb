// Menus: short-cut texts, accelerators, the menu item tree and the base popup.
#include "classlib/Menus.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"

// ---------------------------------------------------------------------------
// Short-cuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut R = Key;
  if (Shift & ssShift) R |= scShift;
  if (Shift & ssCtrl) R |= scCtrl;
  if (Shift & ssAlt) R |= scAlt;
  return R;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = 0;
  if (ShortCut & scShift) Shift |= ssShift;
  if (ShortCut & scCtrl) Shift |= ssCtrl;
  if (ShortCut & scAlt) Shift |= ssAlt;
}

namespace {

// The name of a key without modifiers; "" when it has none.
String KeyName(Word Key) {
  switch (Key) {
    case VK_BACK: return u"BkSp";
    case VK_TAB: return u"Tab";
    case VK_RETURN: return u"Enter";
    case VK_ESCAPE: return u"Esc";
    case VK_SPACE: return u"Space";
    case VK_PRIOR: return u"PgUp";
    case VK_NEXT: return u"PgDn";
    case VK_END: return u"End";
    case VK_HOME: return u"Home";
    case VK_LEFT: return u"Left";
    case VK_UP: return u"Up";
    case VK_RIGHT: return u"Right";
    case VK_DOWN: return u"Down";
    case VK_INSERT: return u"Ins";
    case VK_DELETE: return u"Del";
    default: break;
  }
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return String(1, static_cast<Char>(Key));
  if (Key >= VK_F1 && Key <= VK_F12) return u"F" + IntToStr(Key - VK_F1 + 1);
  // The modifiers themselves and the mouse buttons name no short-cut.
  switch (Key) {
    case 0: case VK_LBUTTON: case VK_RBUTTON: case VK_MBUTTON: case VK_CANCEL:
    case VK_SHIFT: case VK_CONTROL: case VK_MENU:
    case VK_LSHIFT: case VK_RSHIFT: case VK_LCONTROL: case VK_RCONTROL: case VK_LMENU: case VK_RMENU:
      return String();
    default: break;
  }
  // Other keys (the OEM punctuation keys above all) as the keyboard layout names them.
  UINT Scan = MapVirtualKeyW(Key, MAPVK_VK_TO_VSC);
  if (Scan == 0) return String();
  WCHAR Buf[64] = {};
  int N = GetKeyNameTextW(static_cast<LONG>(Scan << 16), Buf, 64);
  if (N <= 0) return String();
  return String(reinterpret_cast<const Char*>(Buf), static_cast<size_t>(N));
}

bool SameNoCase(const Char* A, size_t NA, const Char* B, size_t NB) {
  if (NA != NB) return false;
  if (NA == 0) return true;
  return CompareStringOrdinal(reinterpret_cast<const WCHAR*>(A), static_cast<int>(NA),
                              reinterpret_cast<const WCHAR*>(B), static_cast<int>(NB), TRUE) == CSTR_EQUAL;
}

bool StartsNoCase(const String& S, size_t Pos, const String& Prefix) {
  if (S.size() - Pos < Prefix.size()) return false;
  return SameNoCase(S.data() + Pos, Prefix.size(), Prefix.data(), Prefix.size());
}

Char UpperChar(Char C) {
  WCHAR Buf[2] = {static_cast<WCHAR>(C), 0};
  CharUpperBuffW(Buf, 1);
  return static_cast<Char>(Buf[0]);
}

}  // namespace

String ShortCutToText(TShortCut ShortCut) {
  String Name = KeyName(ShortCut & 0xFF);
  if (Name.empty()) return String();
  String R;
  if (ShortCut & scShift) R += u"Shift+";
  if (ShortCut & scCtrl) R += u"Ctrl+";
  if (ShortCut & scAlt) R += u"Alt+";
  return R + Name;
}

TShortCut TextToShortCut(const String& Text) {
  TShortCut Mods = 0;
  size_t Pos = 0;
  for (;;) {
    if (StartsNoCase(Text, Pos, u"Shift+")) {
      Mods |= scShift;
      Pos += 6;
    } else if (StartsNoCase(Text, Pos, u"Ctrl+")) {
      Mods |= scCtrl;
      Pos += 5;
    } else if (StartsNoCase(Text, Pos, u"Alt+")) {
      Mods |= scAlt;
      Pos += 4;
    } else {
      break;
    }
  }
  size_t Rest = Text.size() - Pos;
  if (Rest == 0) return scNone;
  for (Word Key = 1; Key <= 0xFF; ++Key) {
    String Name = KeyName(Key);
    if (!Name.empty() && SameNoCase(Name.data(), Name.size(), Text.data() + Pos, Rest)) return Mods | Key;
  }
  return scNone;
}

Char GetHotkey(const String& Text) {
  Char Hot = 0;
  size_t I = 0;
  while (I < Text.size()) {
    if (Text[I] == u'&') {
      if (I + 1 >= Text.size()) break;
      if (Text[I + 1] == u'&') {
        I += 2;
        continue;
      }
      Hot = Text[I + 1];
      I += 2;
      continue;
    }
    ++I;
  }
  return Hot;
}

bool IsAccel(Word VK, const String& Str) {
  Char Hot = GetHotkey(Str);
  if (Hot == 0 || VK == 0) return false;
  return UpperChar(Hot) == UpperChar(static_cast<Char>(VK));
}

String StripHotkey(const String& Text) {
  String R;
  R.reserve(Text.size());
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == u'&') {
      if (I + 1 < Text.size() && Text[I + 1] == u'&') {
        R += u'&';
        ++I;
      }
      continue;
    }
    R += Text[I];
  }
  return R;
}

// ---------------------------------------------------------------------------
// Command ids: 16 bits, unique among the living items, never 0.

namespace {

std::vector<bool>& CommandPool() {
  static std::vector<bool> Pool(0x10000, false);
  return Pool;
}
Word GNextCommand = 1;

Word AllocCommand() {
  auto& Pool = CommandPool();
  for (Integer Tries = 0; Tries < 0xFFFF; ++Tries) {
    Word C = GNextCommand;
    GNextCommand = static_cast<Word>(GNextCommand == 0xFFFF ? 1 : GNextCommand + 1);
    if (!Pool[C]) {
      Pool[C] = true;
      return C;
    }
  }
  throw EMenuError(u"Too many menu items");
}

void FreeCommand(Word C) {
  if (C) CommandPool()[C] = false;
}

}  // namespace

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(AllocCommand()) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (FParent) FParent->Remove(this);
  // Sub-items go with their parent, whoever owns them.
  while (!FItems.empty()) {
    TMenuItem* Item = FItems.back();
    FItems.pop_back();
    Item->FParent = nullptr;
    delete Item;
  }
  delete FBitmap;
  FreeCommand(FCommand);
}

void TMenuItem::SetChecked(bool Value) {
  FChecked = Value;
  if (Value && FRadioItem && FParent) {
    for (TMenuItem* Other : FParent->FItems)
      if (Other != this && Other->FRadioItem && Other->FGroupIndex == FGroupIndex) Other->FChecked = false;
  }
}

void TMenuItem::SetDefault(bool Value) {
  if (Value && FParent)
    for (TMenuItem* Other : FParent->FItems) Other->FDefault = false;
  FDefault = Value;
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = new TBitmap();
  return FBitmap;
}

void TMenuItem::SetBitmap(TBitmap* Value) { Bitmap()->Assign(Value); }

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(u"Menu index out of range");
  return FItems[static_cast<size_t>(Index)];
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* I = this;
  while (I->FParent) I = I->FParent;
  return I->FMenu;
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError(u"Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError(u"Menu index out of range");
  for (const TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EMenuError(u"Menu inserted twice");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Delete(Integer Index) {
  TMenuItem* Item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  Item->FParent = nullptr;
  delete Item;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) return;
  FItems.erase(It);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

Integer TMenuItem::IndexOf(TMenuItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<Integer>(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(Word ACommand) {
  if (ACommand == 0) return nullptr;
  for (TMenuItem* I : FItems) {
    if (I->FCommand == ACommand) return I;
    if (TMenuItem* R = I->Find(ACommand)) return R;
  }
  return nullptr;
}

bool TMenuItem::RethinkLines() {
  std::vector<bool> Show(FItems.size(), false);
  bool Content = false;   // a shown item since the last kept line (or the start)
  Integer Pending = -1;   // a line waiting for shown content after it
  for (size_t I = 0; I < FItems.size(); ++I) {
    TMenuItem* Item = FItems[I];
    if (Item->IsLine()) {
      if (Content && Pending < 0) Pending = static_cast<Integer>(I);
    } else if (Item->FVisible) {
      if (Pending >= 0) {
        Show[static_cast<size_t>(Pending)] = true;
        Pending = -1;
      }
      Content = true;
    }
  }
  bool Changed = false;
  for (size_t I = 0; I < FItems.size(); ++I) {
    TMenuItem* Item = FItems[I];
    if (!Item->IsLine()) continue;
    if (Item->FVisible != Show[I]) {
      Item->FVisible = Show[I];
      Changed = true;
    }
  }
  return Changed;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() {
  Destroying();
  delete FItems;
}

namespace {

TMenuItem* FindShortCutIn(TMenuItem* Parent, TShortCut SC) {
  for (Integer I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (!Item->Enabled() || !Item->Visible()) continue;
    if (Item->ShortCut() == SC) return Item;
    if (TMenuItem* R = FindShortCutIn(Item, SC)) return R;
  }
  return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindShortCut(TShortCut AShortCut) const {
  if (AShortCut == scNone) return nullptr;
  return FindShortCutIn(FItems, AShortCut);
}

bool TMenu::IsShortCut(TMessage& Message) {
  Word Key = static_cast<Word>(Message.WParam & 0xFFFF);
  TShortCut SC = ShortCut(Key, KeyDataToShiftState(Message.LParam));
  TMenuItem* Item = FindShortCut(SC);
  if (!Item) return false;
  Item->Click();
  return true;
}

TMenuItem* TMenu::FindItem(Word ACommand) const { return FItems->Find(ACommand); }

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* Item = FindItem(ACommand);
  if (!Item) return false;
  Item->Click();
  return true;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

// ---------------------------------------------------------------------------
// TPopupMenu

namespace {

LRESULT CALLBACK PopupListProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HMENU BuildMenu(TMenuItem* Parent) {
  HMENU Menu = CreatePopupMenu();
  UINT Pos = 0;
  for (Integer I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (!Item->Visible()) continue;
    MENUITEMINFOW MI = {};
    MI.cbSize = sizeof(MI);
    MI.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    String Text = Item->Caption();
    if (Item->IsLine()) {
      MI.fType = MFT_SEPARATOR;
      MI.fMask = MIIM_FTYPE;
    } else {
      if (Item->ShortCut() != scNone) {
        String SC = ShortCutToText(Item->ShortCut());
        if (!SC.empty()) Text += u"\t" + SC;
      }
      MI.fType = MFT_STRING;
      if (Item->RadioItem()) MI.fType |= MFT_RADIOCHECK;
      MI.fState = (Item->Enabled() ? MFS_ENABLED : MFS_GRAYED) | (Item->Checked() ? MFS_CHECKED : 0u) |
                  (Item->Default() ? MFS_DEFAULT : 0u);
      MI.wID = Item->Command();
      MI.dwTypeData = const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(Text.c_str()));
      if (Item->Count() > 0) {
        MI.fMask |= MIIM_SUBMENU;
        MI.hSubMenu = BuildMenu(Item);
      }
    }
    if (Item->Break() == mbBreak) MI.fType |= MFT_MENUBREAK;
    if (Item->Break() == mbBarBreak) MI.fType |= MFT_MENUBARBREAK;
    InsertMenuItemW(Menu, Pos++, TRUE, &MI);
  }
  return Menu;
}

}  // namespace

HWND PopupListWindow() {
  static HWND Wnd = nullptr;
  if (Wnd && IsWindow(Wnd)) return Wnd;
  static const WCHAR* ClassName = reinterpret_cast<const WCHAR*>(u"LumigraPopupList");
  WNDCLASSEXW WC = {};
  WC.cbSize = sizeof(WC);
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), ClassName, &WC)) {
    WC = {};
    WC.cbSize = sizeof(WC);
    WC.lpfnWndProc = PopupListProc;
    WC.hInstance = GetModuleHandleW(nullptr);
    WC.lpszClassName = ClassName;
    RegisterClassExW(&WC);
  }
  Wnd = CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, reinterpret_cast<const WCHAR*>(u""), WS_POPUP, 0, 0, 0, 0,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return Wnd;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner), FAlive(std::make_shared<bool>(true)) {}

TPopupMenu::~TPopupMenu() { *FAlive = false; }

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  auto Alive = FAlive;
  FPopupPoint = TPoint{X, Y};
  DoPopup(this);
  if (!*Alive) return;
  Word Cmd = TrackPopupCommand(X, Y);
  if (!*Alive || Cmd == 0) return;
  DispatchCommand(Cmd);
}

Word TPopupMenu::TrackPopupCommand(Integer X, Integer Y) {
  HMENU Menu = BuildMenu(Items());
  HWND Owner = PopupListWindow();
  // Wine's popup runs its own modal loop; with TPM_RETURNCMD no WM_COMMAND
  // is sent and the choice comes back here.
  UINT Cmd = static_cast<UINT>(TrackPopupMenuEx(Menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y, Owner, nullptr));
  DestroyMenu(Menu);
  return static_cast<Word>(Cmd);
}
