// Hot-key registration for the program's windows: Wine's own registration
// (wineserver), and on an X display also a grab of the combination on the X
// root window, so the hot key fires while other programs have the keyboard
// focus. The grab's presses arrive as WM_HOTKEY posted to the registering
// window (wParam = the id, lParam = MAKELPARAM(modifiers, virtual key)), just
// as Wine's own. Without an X display the registration is Wine's alone.
// Winelib only.
#pragma once

#include <windows.h>

// RegisterHotKey, then the X grab. When another X client holds the
// combination, Wine's registration is undone and the answer is FALSE with
// ERROR_HOTKEY_ALREADY_REGISTERED, as for a combination another Wine program
// holds. A key the X keyboard lacks keeps Wine's registration alone.
BOOL SysRegisterHotKey(HWND Wnd, int Id, UINT Modifiers, UINT Vk);
// UnregisterHotKey and the release of the X grab.
BOOL SysUnregisterHotKey(HWND Wnd, int Id);
// True when the X grabs are in use (an X display was reached).
bool SysHotKeysOnX11();
// Releases every X grab, stops the X event thread and forgets a failed
// attempt to reach the display (the next registration tries again).
void SysHotKeysShutdown();
