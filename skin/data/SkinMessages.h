// The skin engine's private window messages. Every skin layer takes its
// numbers from here; the class library keeps its own below 0xB100.
// Portable header: no Windows header (WM_USER is 0x400).
#pragma once

// The skin model to every form (wParam: the model, lParam: 1000).
inline constexpr unsigned FEM_SKIN_BEFORE_CHANGE = 0x400 + 201;       // 1225: a skin change begins
inline constexpr unsigned FEM_SKIN_CHANGED = 0x400 + 202;             // 1226: the new skin is in place
inline constexpr unsigned FEM_SKIN_CHANGED_MDI = 0x400 + 203;         // 1227: the change is over
inline constexpr unsigned FEM_SKIN_STRINGS_CHANGED = 0x400 + 250;     // 1274: the text table was set
inline constexpr unsigned FEM_SKIN_SKINNABLE_CHANGED = 0x400 + 270;   // 1294: SkinnableForm changed
inline constexpr unsigned FEM_LAYERED_BORDERS_CHANGED = 0x400 + 403;  // 1427: ShowLayeredBorders changed
inline constexpr unsigned FEM_AERO_BLUR_CHANGED = 0x400 + 404;        // 1428: AeroBlurEnabled changed
inline constexpr long SkinMessageLParam = 1000;

// The skinned menu to the control that opened it.
inline constexpr unsigned FEM_MENU_CLOSED = 0x400 + 204;   // 1228: the menu closed
inline constexpr unsigned FEM_MENU_COMMAND = 0x400 + 205;  // 1229: the chosen command has run

// A control (or parent) to its children: what lies behind them changed.
inline constexpr unsigned SP_PARENT_BACKGROUND_CHANGED = 0x400 + 260;  // 1284

// A push button to itself: show, hide its glow frame.
inline constexpr unsigned SP_SHOW_GLOW_FRAME = 0x590;
inline constexpr unsigned SP_HIDE_GLOW_FRAME = 0x591;

// The notification-area icon to the main form: the form came back from the tray.
inline constexpr unsigned FEM_TRAY_RESTORED = 0x400 + 402;  // 1426

// Paint your frame into the device context in wParam; answered with
// SP_FRAME_PAINTED by windows that paint (or deliberately skip) it.
inline constexpr unsigned FEM_PAINT_FRAME = 0xB1C9;
inline constexpr long SP_FRAME_PAINTED = 12851;
// The same with lParam SP_PAINT_EX_MAGIC, and the list background request,
// both answered with SP_PAINT_EX_MAGIC.
inline constexpr unsigned SP_PAINT_LIST_BACKGROUND = 0xBC4A;
inline constexpr unsigned FEM_PAINT_FRAME_EX = 0xBC4B;
inline constexpr long SP_PAINT_EX_MAGIC = 16802;

// The skinned form: multiple-document refits and states, the skinnable
// query (answered with SP_FORM_SKINNABLE or SP_FORM_UNSKINNABLE) and the
// smart show around a first display.
inline constexpr unsigned FEM_MDI_REFIT = 0x400 + 206;            // 1230
inline constexpr unsigned FEM_MDI_CHILD_MAXIMIZED = 0x400 + 207;  // 1231
inline constexpr unsigned FEM_MDI_CHILD_RESTORED = 0x400 + 208;   // 1232
inline constexpr unsigned FEM_MDI_CHILD_MOVED = 0x400 + 209;      // 1233
inline constexpr unsigned FEM_MDI_RESTORE_ALL = 0x400 + 210;      // 1234
inline constexpr unsigned FEM_MDI_RESTORE_OTHERS = 0x400 + 211;   // 1235
inline constexpr unsigned FEM_MDI_QUERY_MAXIMIZED = 0x400 + 212;  // 1236
inline constexpr unsigned FEM_QUERY_SKINNABLE = 0xB1B2;           // 45490
inline constexpr unsigned FEM_SMART_SHOW_BEGIN = 0xB1B3;          // 45491
inline constexpr unsigned FEM_SMART_SHOW_END = 0xB1B4;            // 45492
inline constexpr long SP_FORM_SKINNABLE = 12853;
inline constexpr long SP_FORM_UNSKINNABLE = 12852;
