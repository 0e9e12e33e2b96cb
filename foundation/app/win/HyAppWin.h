// Program start-up: folders, settings tables, the application's row of the
// shared table, the language column, the single-instance hand-over and the
// window-handle globals. Winelib only.
#pragma once

#include <windows.h>

#include "foundation/app/HyAppUtils.h"

extern HWND MainHandle;
extern HWND ActiveDialogHandle;

// The private message that activates a running instance (wParam 1).
inline constexpr UINT WM_ACTIVATE_INSTANCE = WM_USER + 10;
// How long a second start waits for the running instance to answer.
inline constexpr UINT InstanceAnswerTimeoutMs = 5000;

// The start-up set-up (see HyAppUtils.h for the globals it sets). DataDir,
// when not empty, replaces SharePath + AppId as the data folder.
void AppInit(const String& AAppId, const String& DataDir);
// Keeps the main window's handle, clears ActiveDialogHandle, builds the skin
// scheme table (HySkinSchemes.h; an empty scheme property becomes "Dawn")
// and, when AllowMessages and the system is Vista or later, opens the
// message filter.
void InitMainWindow(HWND AMainHandle, bool AllowMessages);
// The single-instance caption text for a language column.
String InstanceTitle(Integer ALangIndex);
// A window handle as kept in the shared table (32-bit signed decimal), and back.
String HandleToShareText(HWND Wnd);
HWND ShareTextToHandle(const String& Text);
// When cell 1 of AppShareRow names a window whose caption contains Title, the
// window is sent WM_USER+10 (wParam 1) and, when FileName names an existing
// file, WM_COPYDATA carrying it (dwData = CallerId); the window's last active
// pop-up is brought to the front and the answer is True. A window that does
// not answer within TimeoutMs still counts as running.
bool ActivateRunningInstance(const String& Title, const String& FileName = String(), Integer CallerId = 0,
                             UINT TimeoutMs = InstanceAnswerTimeoutMs);

class TBitmap;
// In every row, the pixels of Bitmap become $00FFFFFF from the left and from
// the right up to the first pixel whose first (blue) byte in Mask is not 0.
// Does nothing unless both are 32-bit and of the same size.
void WhitenTransparentEdges(TBitmap* Bitmap, TBitmap* Mask);
