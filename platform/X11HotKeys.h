// System-wide hot keys on the X server. Wine keeps hot keys in wineserver and
// its X11 driver grabs no keys, so on its own a hot key fires only while one
// of the prefix's windows has the keyboard focus. This unit grabs each
// registered combination on the X root window (with the CapsLock and NumLock
// variants) over a connection of its own and reports the presses through a
// function the caller supplies. Plain types only: the caller is Winelib code,
// the unit itself is native (libxcb).
//
// Threads: X11HotKeysRun is the event loop; the caller runs it on a thread of
// its own (a thread the caller's platform knows, since the report function
// usually posts a window message). Grab and Ungrab may be called from any
// other thread while it runs.
#pragma once

#include <cstdint>

// Modifier bits as the Win32 hot-key registration takes them.
inline constexpr uint32_t X11HotKeyModAlt = 0x1, X11HotKeyModControl = 0x2, X11HotKeyModShift = 0x4,
                          X11HotKeyModWin = 0x8;

// Called on the event loop's thread for each press of a grabbed combination:
// Target and Id as given to X11HotKeysGrab, Mods (MOD_* bits) and Vk as registered.
using TX11HotKeyReport = void (*)(uintptr_t Target, uint32_t Id, uint32_t Mods, uint32_t Vk);

enum TX11GrabResult : int {
  x11grabDone = 0,       // grabbed
  x11grabNoDisplay = 1,  // no X display (DISPLAY unset or unreachable): nothing grabbed
  x11grabTaken = 2,      // another X client holds the combination
  x11grabNoKey = 3,      // the virtual key has no key on this keyboard
  x11grabDuplicate = 4,  // (Target, Id) already grabbed: ungrab it first
};

// Opens the connection to $DISPLAY once (later calls answer the first
// result). False when there is no display.
bool X11HotKeysOpen();
// True while the connection is open.
bool X11HotKeysAvailable();
// The event loop: reports presses through Report until X11HotKeysClose.
// Returns at once when the connection is not open. A press whose handling
// raises (Report included) goes to the application's exception handler
// (rtl/CallbackGuard.h) and the loop goes on.
void X11HotKeysRun(TX11HotKeyReport Report);
// Grabs Vk with Mods (MOD_* bits; MOD_NOREPEAT and unknown bits are ignored)
// for (Target, Id).
TX11GrabResult X11HotKeysGrab(uintptr_t Target, uint32_t Id, uint32_t Mods, uint32_t Vk);
// Releases the grab of (Target, Id); false when there was none.
bool X11HotKeysUngrab(uintptr_t Target, uint32_t Id);
// Releases every grab, stops the event loop (waiting for it to return when it
// runs) and closes the connection; a later X11HotKeysOpen opens a new one.
void X11HotKeysClose();

// The X keysym of a Win32 virtual key (0 when the key has none here).
uint32_t X11KeysymOfVk(uint32_t Vk);
