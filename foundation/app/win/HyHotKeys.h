// The global hot keys of the screen-capture commands: the table "Hotkey.db",
// their registration on the main window (MainHandle) under the global atoms
// "Corvane_HK_<slot>", and the short-cut texts of the tray-menu items.
// Winelib only.
#pragma once

#include <windows.h>

#include <vector>

#include "foundation/data/HyDataTable.h"
#include "rtl/System.h"

class TMenuItem;

// "Hotkey.db" in DataPath, loaded by InitHotKeys and freed by CloseHotKeys.
// One row per slot:
extern TDataTable* HotKeyDT;
inline constexpr Integer HotKeyCellEnabled = 0;  // "-1" registered, "0" not
inline constexpr Integer HotKeyCellMods = 1;     // 1 Alt, 2 Ctrl, 4 Shift, summed
inline constexpr Integer HotKeyCellKey = 2;      // virtual key (0 = none yet)
inline constexpr Integer HotKeyCellAtom = 3;     // the hot key's id while registered, else 0
inline constexpr Integer HotKeyCellOff = 4;      // "-1" when the user switched the slot off
inline constexpr Integer HotKeyCellCount = 5;

inline constexpr Integer HotKeySlotCount = 10;
// The slots of the capture commands: region, menu, active window, full screen.
inline constexpr Integer HotKeySlotRegion = 5, HotKeySlotMenu = 6, HotKeySlotActiveWindow = 7,
                         HotKeySlotFullScreen = 8;

String HotKeyFileName();                    // DataPath + "Hotkey.db"
String HotKeyAtomName(Integer Index);       // "Corvane_HK_" + Index

// Loads the table (padding it to Count rows) and registers the slots of
// IndexSet; the k-th member of IndexSet (ascending) takes Modifiers[k] and,
// while its stored key is 0, Keys[k]. Slots the user switched off stay
// unregistered; a slot that fails to register is tried again at the next start.
void InitHotKeys(Integer Count, const TByteSet& IndexSet, const std::vector<Integer>& Modifiers,
                 const std::vector<Integer>& Keys);
// Unregisters every slot registered in this run, saves the table when changed
// and frees it.
void CloseHotKeys();
// Registers slot Index on MainHandle with Key (0: the stored key). On success
// the key is stored; on failure the slot's atom is deleted and cell 3 is 0.
bool RegisterAppHotKey(Integer Index, Word Key);
// Unregisters slot Index and deletes its atom (when cell 3 holds one).
void UnregisterAppHotKey(Integer Index);
// The settings switch of a slot. A refused registration shows text (0, 106)
// and sets Enabled to False.
void SetHotKeyEnabled(Integer Index, bool& Enabled);
// The settings key field of a slot. Key is the typed character's code; it
// becomes the virtual key that is stored, or 0 when the character is not
// accepted (nothing changes then). On an enabled slot a refused key shows
// text (0, 107), sets Key to 0 and keeps the previous key registered.
void SetHotKeyKey(Integer Index, Word& Key);
// The tray-menu item of a slot: Caption and the slot's key as its short-cut,
// or Caption + "    [" + text (0, 105) + "]" without short-cut when the slot
// has no registered hot key. The short-cut is for display: the tray menu must
// not also treat it as an accelerator (the hot key itself starts the command).
void SetHotKeyMenuItem(TMenuItem* MenuItem, const String& Caption, Integer Index);

// The virtual key of a typed character: "0".."9" and "A".."Z" as they are,
// "a".."z" upper-cased, "[", "\" and "]" through the keyboard layout; 0 for
// any other character.
Word HotKeyVirtualKey(Word Key);
// The character a virtual key shows in the settings (0 when none).
Char HotKeyKeyChar(Word VirtualKey);
// The slot whose registration has the id of a WM_HOTKEY message; -1 for none.
Integer HotKeySlotOfId(WPARAM Id);
// True when slot Index holds a registered hot key.
bool HotKeyEnabled(Integer Index);
