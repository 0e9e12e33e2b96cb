// Global hot keys: "Hotkey.db", atoms and registration on the main window.
#include "foundation/app/win/HyHotKeys.h"

#include <bitset>

#include "classlib/Menus.h"
#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HyLangTable.h"
#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/win/HySysUtils.h"
#include "platform/win/SysHotKeys.h"
#include "rtl/SysUtils.h"

TDataTable* HotKeyDT = nullptr;

namespace {

// Slots whose atom this run has set: only those are unregistered at the end
// (a stale atom number from an earlier run may name an atom that is not ours).
std::bitset<256> OwnedSlots;
// False when the file exists but could not be read: it is then not overwritten.
bool SaveAllowed = true;

bool Owned(Integer Index) { return Index >= 0 && Index < 256 && OwnedSlots.test(static_cast<size_t>(Index)); }
void SetOwned(Integer Index, bool Value) {
  if (Index >= 0 && Index < 256) OwnedSlots.set(static_cast<size_t>(Index), Value);
}

TCell* Cell(Integer Index, Integer CellIndex) {
  if (!HotKeyDT || Index < 0 || Index >= HotKeyDT->ItemCount()) return nullptr;
  TRow* row = HotKeyDT->Items(Index);
  while (row->ItemCount() <= CellIndex) row->AddItem(u"0");
  return row->Items(CellIndex);
}

Integer CellValue(Integer Index, Integer CellIndex) {
  TCell* c = Cell(Index, CellIndex);
  return c ? c->Value() : 0;
}

void SetCell(Integer Index, Integer CellIndex, Integer Value) {
  if (TCell* c = Cell(Index, CellIndex)) {
    const String text = IntToStr(Value);
    if (c->Text() != text) c->SetText(text);
  }
}

void SetCellBool(Integer Index, Integer CellIndex, bool Value) { SetCell(Index, CellIndex, Value ? -1 : 0); }

String LangText(Integer Group, Integer Index) {
  String s;
  GetLangText(Group, Index, false, s);
  return s;
}

}  // namespace

String HotKeyFileName() { return DataPath + u"Hotkey.db"; }

String HotKeyAtomName(Integer Index) { return u"Corvane_HK_" + IntToStr(Index); }

Word HotKeyVirtualKey(Word Key) {
  if ((Key >= u'0' && Key <= u'9') || (Key >= u'A' && Key <= u'Z')) return Key;
  if (Key >= u'a' && Key <= u'z') return static_cast<Word>(Key - (u'a' - u'A'));
  if (Key == u'[' || Key == u'\\' || Key == u']') {
    // Their character codes are VK_LWIN, VK_RWIN and VK_APPS: ask the layout.
    const SHORT scan = ::VkKeyScanW(static_cast<WCHAR>(Key));
    const Byte vk = static_cast<Byte>(scan & 0xFF);
    if (scan == -1 || vk == 0 || vk == 0xFF) return 0;
    return vk;
  }
  return 0;
}

Char HotKeyKeyChar(Word VirtualKey) {
  return static_cast<Char>(::MapVirtualKeyW(VirtualKey, MAPVK_VK_TO_CHAR) & 0xFFFF);
}

bool HotKeyEnabled(Integer Index) { return CellValue(Index, HotKeyCellEnabled) != 0; }

Integer HotKeySlotOfId(WPARAM Id) {
  if (!HotKeyDT || Id == 0) return -1;
  for (Integer i = 0; i < HotKeyDT->ItemCount(); ++i) {
    const Integer atom = CellValue(i, HotKeyCellAtom);
    if (atom >= 1 && static_cast<WPARAM>(atom) == Id) return i;
  }
  return -1;
}

bool RegisterAppHotKey(Integer Index, Word Key) {
  if (!Cell(Index, HotKeyCellAtom)) return false;
  // A registration this slot still holds would make the new one fail.
  const Integer held = CellValue(Index, HotKeyCellAtom);
  if (held >= 1 && Owned(Index)) SysUnregisterHotKey(MainHandle, held);
  const String name = HotKeyAtomName(Index);
  ATOM atom = ::GlobalFindAtomW(reinterpret_cast<LPCWSTR>(name.c_str()));
  if (atom == 0) atom = ::GlobalAddAtomW(reinterpret_cast<LPCWSTR>(name.c_str()));
  SetCell(Index, HotKeyCellAtom, atom);
  SetOwned(Index, atom != 0);
  if (atom == 0) return false;
  const Word key = Key != 0 ? Key : static_cast<Word>(CellValue(Index, HotKeyCellKey));
  const UINT mods = static_cast<UINT>(CellValue(Index, HotKeyCellMods)) & (MOD_ALT | MOD_CONTROL | MOD_SHIFT);
  if (key != 0 && SysRegisterHotKey(MainHandle, atom, mods, key)) {
    SetCell(Index, HotKeyCellKey, key);
    return true;
  }
  // Refused: no atom stays allocated or stored for a slot without a hot key.
  ::GlobalDeleteAtom(atom);
  SetCell(Index, HotKeyCellAtom, 0);
  SetOwned(Index, false);
  return false;
}

void UnregisterAppHotKey(Integer Index) {
  const Integer atom = CellValue(Index, HotKeyCellAtom);
  if (atom < 1) return;
  // A number left in the file by an earlier run names no atom of ours.
  if (Owned(Index)) {
    SysUnregisterHotKey(MainHandle, atom);
    ::GlobalDeleteAtom(static_cast<ATOM>(atom));
  }
  SetCell(Index, HotKeyCellAtom, 0);
  SetOwned(Index, false);
}

void InitHotKeys(Integer Count, const TByteSet& IndexSet, const std::vector<Integer>& Modifiers,
                 const std::vector<Integer>& Keys) {
  if (HotKeyDT) CloseHotKeys();
  OwnedSlots.reset();
  SaveAllowed = true;
  HotKeyDT = new TDataTable();
  HotKeyDT->SetIsAddVerifyCode(true);
  HotKeyDT->SetIOMode(2);
  const String file = HotKeyFileName();
  try {
    HotKeyDT->Load(file, 0, 0);
  } catch (const EFOpenError&) {
    SaveAllowed = false;  // another program holds the file: use defaults, keep the file
    HotKeyDT->Clear();
    HotKeyDT->SetFileName(file);
  } catch (const Exception&) {
    HotKeyDT->Clear();  // damaged: replaced by defaults when saved
    HotKeyDT->SetFileName(file);
  }
  // Never truncated; rows of older files lack the "off" cell (not switched off).
  if (HotKeyDT->ItemCount() < Count) HotKeyDT->AddEmptyItem(Count - HotKeyDT->ItemCount());
  for (Integer i = 0; i < HotKeyDT->ItemCount(); ++i) {
    TRow* row = HotKeyDT->Items(i);
    while (row->ItemCount() < HotKeyCellCount) row->AddItem(u"0");
  }
  size_t k = 0;
  for (Integer i = 0; i < Count && i < static_cast<Integer>(IndexSet.size()); ++i) {
    if (!IndexSet.test(static_cast<size_t>(i))) continue;
    if (k >= Modifiers.size() || k >= Keys.size()) break;
    SetCell(i, HotKeyCellMods, Modifiers[k]);
    if (CellValue(i, HotKeyCellKey) == 0) SetCell(i, HotKeyCellKey, Keys[k]);
    ++k;
    // An atom number stored by an earlier run means nothing now.
    SetCell(i, HotKeyCellAtom, 0);
    if (CellValue(i, HotKeyCellOff) != 0) {
      SetCellBool(i, HotKeyCellEnabled, false);
      continue;
    }
    SetCellBool(i, HotKeyCellEnabled, RegisterAppHotKey(i, 0));
  }
}

void CloseHotKeys() {
  if (!HotKeyDT) return;
  for (Integer i = 0; i < HotKeyDT->ItemCount(); ++i)
    if (CellValue(i, HotKeyCellAtom) >= 1 && Owned(i)) UnregisterAppHotKey(i);
  if (SaveAllowed && HotKeyDT->DataChanged()) {
    try {
      HotKeyDT->Save(false);
    } catch (const Exception&) {
      // The hot keys are set up again at the next start.
    }
  }
  delete HotKeyDT;
  HotKeyDT = nullptr;
  OwnedSlots.reset();
}

void SetHotKeyEnabled(Integer Index, bool& Enabled) {
  if (!Cell(Index, HotKeyCellOff)) {
    Enabled = false;
    return;
  }
  if (!Enabled) {
    UnregisterAppHotKey(Index);
  } else if (!RegisterAppHotKey(Index, 0)) {
    ShowInfo(LangText(0, 106), AppTitle);
    Enabled = false;
    // Not the user's "off": the slot is tried again at the next start.
    SetCellBool(Index, HotKeyCellOff, false);
    SetCellBool(Index, HotKeyCellEnabled, false);
    return;
  }
  SetCellBool(Index, HotKeyCellOff, !Enabled);
  SetCellBool(Index, HotKeyCellEnabled, Enabled);
}

void SetHotKeyKey(Integer Index, Word& Key) {
  Key = HotKeyVirtualKey(Key);
  if (Key == 0 || !Cell(Index, HotKeyCellKey)) {
    Key = 0;
    return;
  }
  if (!HotKeyEnabled(Index)) {
    SetCell(Index, HotKeyCellKey, Key);
    return;
  }
  const Word previous = static_cast<Word>(CellValue(Index, HotKeyCellKey));
  UnregisterAppHotKey(Index);
  if (RegisterAppHotKey(Index, Key)) return;
  ShowInfo(LangText(0, 107), AppTitle);
  Key = 0;
  // Keep the slot working with the key it had; only when that is refused too
  // does the slot lose its hot key.
  if (previous == 0 || !RegisterAppHotKey(Index, previous)) SetCellBool(Index, HotKeyCellEnabled, false);
}

void SetHotKeyMenuItem(TMenuItem* MenuItem, const String& Caption, Integer Index) {
  if (!MenuItem) return;
  MenuItem->SetCaption(Caption);
  if (HotKeyEnabled(Index) && CellValue(Index, HotKeyCellAtom) >= 1) {
    const Integer mods = CellValue(Index, HotKeyCellMods);
    TShortCut sc = static_cast<TShortCut>(CellValue(Index, HotKeyCellKey) & 0xFF);
    if (mods & MOD_CONTROL) sc |= scCtrl;
    if (mods & MOD_SHIFT) sc |= scShift;
    if (mods & MOD_ALT) sc |= scAlt;
    MenuItem->SetShortCut(sc);
  } else {
    MenuItem->SetCaption(Caption + u"    [" + LangText(0, 105) + u"]");
    MenuItem->SetShortCut(scNone);
  }
}
