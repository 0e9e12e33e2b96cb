// The class library's message record and its private message numbers: the
// control messages (CM_, from $B000) that controls send each other, and the
// notification messages (CN_ = $BC00 + the Win32 number) that a parent
// reflects to the child control a notification came from.
//
// Nothing is defined in WM_USER..$7FFF: that range belongs to the program.
// Our numbers stay below $B100 (the skin engine uses numbers above it).
#pragma once

#include <windows.h>

#include "rtl/System.h"

// One message as a window procedure sees it. WParam and LParam are
// pointer-sized; Result is the answer.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  Word WParamLo() const { return LOWORD(WParam); }
  Word WParamHi() const { return HIWORD(WParam); }
  Word LParamLo() const { return LOWORD(LParam); }
  Word LParamHi() const { return HIWORD(LParam); }
};

inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0x00;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 0x01;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 0x04;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x08;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x09;
inline constexpr UINT CM_HITTEST = CM_BASE + 0x0A;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 0x0F;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 0x19;
inline constexpr UINT CM_ENTER = CM_BASE + 0x1A;
inline constexpr UINT CM_EXIT = CM_BASE + 0x1B;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 0x1E;
inline constexpr UINT CM_RELEASE = CM_BASE + 0x21;
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 0x28;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 0x2C;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 0x2E;
inline constexpr UINT CM_DRAG = CM_BASE + 0x2F;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 0x34;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 0x36;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 0x43;

inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
inline constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// Coordinates packed in a mouse message's LParam (signed).
inline Integer MsgX(LPARAM L) { return static_cast<SHORT>(LOWORD(L)); }
inline Integer MsgY(LPARAM L) { return static_cast<SHORT>(HIWORD(L)); }
inline LPARAM PointToLParam(Integer X, Integer Y) {
  return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(static_cast<SHORT>(X)), static_cast<WORD>(static_cast<SHORT>(Y))));
}
