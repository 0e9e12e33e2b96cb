// System-wide hot keys grabbed on the X root window. A native unit: the only
// place of the program that talks to the X server itself.
//
// It speaks through libxcb (the X protocol library under libX11) on a
// connection of its own: xcb is thread-safe and hands the error of a checked
// request back to the caller, so a refused grab (BadAccess: another client
// holds the combination) is seen where it is made, and no process-wide Xlib
// error handler is touched (Wine's X11 driver keeps its own).
//
// The event loop runs on the caller's thread in xcb_wait_for_event; grabs are
// made from other threads, and the loop is stopped by a client message sent to
// a small window of ours.
#include "platform/X11HotKeys.h"

#include <xcb/xcb.h>

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "rtl/CallbackGuard.h"
#include "rtl/ScopeGuard.h"

namespace {

// X modifier masks and keysyms used here (from the X protocol).
constexpr uint16_t XShift = 1u << 0, XLock = 1u << 1, XControl = 1u << 2, XMod1 = 1u << 3, XMod4 = 1u << 6;
constexpr uint32_t KsNumLock = 0xFF7F;

struct TGrab {
  uintptr_t Target;
  uint32_t Id;
  uint32_t Mods;  // MOD_* bits as registered
  uint32_t Vk;
  xcb_keycode_t Code;
  uint16_t Mask;  // X modifier mask without the lock keys
};

std::mutex Lock;               // guards everything below
std::condition_variable Idle;  // signalled when the event loop returns
xcb_connection_t* Conn = nullptr;
bool Tried = false;
bool Running = false;
xcb_window_t Root = 0;
xcb_window_t WakeWindow = 0;
xcb_atom_t WakeAtom = 0;
std::vector<TGrab> Grabs;

uint16_t XMaskOfMods(uint32_t Mods) {
  uint16_t m = 0;
  if (Mods & X11HotKeyModAlt) m |= XMod1;
  if (Mods & X11HotKeyModControl) m |= XControl;
  if (Mods & X11HotKeyModShift) m |= XShift;
  if (Mods & X11HotKeyModWin) m |= XMod4;
  return m;
}

// The keycodes that carry Keysym in the server's keyboard mapping, those
// carrying it unshifted first.
xcb_keycode_t KeycodeOf(uint32_t Keysym) {
  const xcb_setup_t* setup = xcb_get_setup(Conn);
  const xcb_keycode_t lo = setup->min_keycode, hi = setup->max_keycode;
  xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
      Conn, xcb_get_keyboard_mapping(Conn, lo, static_cast<uint8_t>(hi - lo + 1)), nullptr);
  if (!map) return 0;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
  const int per = map->keysyms_per_keycode;
  xcb_keycode_t found = 0;
  for (int col = 0; col < per && found == 0; ++col)
    for (int k = 0; k <= hi - lo; ++k)
      if (syms[k * per + col] == Keysym) {
        found = static_cast<xcb_keycode_t>(lo + k);
        break;
      }
  std::free(map);
  return found;
}

// The modifier bit that carries NumLock on this server (0 when none does).
uint16_t NumLockMask() {
  const xcb_keycode_t numLock = KeycodeOf(KsNumLock);
  if (numLock == 0) return 0;
  xcb_get_modifier_mapping_reply_t* map =
      xcb_get_modifier_mapping_reply(Conn, xcb_get_modifier_mapping(Conn), nullptr);
  if (!map) return 0;
  const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map);
  const int per = map->keycodes_per_modifier;
  uint16_t mask = 0;
  for (int mod = 0; mod < 8; ++mod)
    for (int k = 0; k < per; ++k)
      if (codes[mod * per + k] == numLock) mask = static_cast<uint16_t>(1u << mod);
  std::free(map);
  return mask;
}

// The lock-key variants of a mask: CapsLock and NumLock on or off.
std::vector<uint16_t> LockVariants(uint16_t Mask) {
  std::vector<uint16_t> v{Mask, static_cast<uint16_t>(Mask | XLock)};
  const uint16_t num = NumLockMask();
  if (num != 0 && num != XLock) {
    v.push_back(static_cast<uint16_t>(Mask | num));
    v.push_back(static_cast<uint16_t>(Mask | num | XLock));
  }
  return v;
}

void Ungrab(const TGrab& G) {
  for (uint16_t m : LockVariants(G.Mask)) xcb_ungrab_key(Conn, G.Code, Root, m);
  xcb_flush(Conn);
}

// True when every variant was granted; a refusal undoes the granted ones.
bool Grab(const TGrab& G) {
  std::vector<xcb_void_cookie_t> cookies;
  for (uint16_t m : LockVariants(G.Mask))
    cookies.push_back(xcb_grab_key_checked(Conn, 0, Root, m, G.Code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  bool ok = true;
  for (const xcb_void_cookie_t& c : cookies) {
    if (xcb_generic_error_t* e = xcb_request_check(Conn, c)) {
      ok = false;
      std::free(e);
    }
  }
  if (!ok) Ungrab(G);
  return ok;
}

bool SameCombination(const TGrab& A, const TGrab& B) { return A.Code == B.Code && A.Mask == B.Mask; }

}  // namespace

uint32_t X11KeysymOfVk(uint32_t Vk) {
  if (Vk >= '0' && Vk <= '9') return 0x30 + (Vk - '0');      // XK_0..XK_9
  if (Vk >= 'A' && Vk <= 'Z') return 0x61 + (Vk - 'A');      // XK_a..XK_z
  if (Vk >= 0x70 && Vk <= 0x87) return 0xFFBE + (Vk - 0x70);  // VK_F1..VK_F24 -> XK_F1..
  if (Vk >= 0x60 && Vk <= 0x69) return 0xFFB0 + (Vk - 0x60);  // VK_NUMPAD0..9 -> XK_KP_0..
  switch (Vk) {
    case 0x08: return 0xFF08;  // BackSpace
    case 0x09: return 0xFF09;  // Tab
    case 0x0D: return 0xFF0D;  // Return
    case 0x13: return 0xFF13;  // Pause
    case 0x1B: return 0xFF1B;  // Escape
    case 0x20: return 0x0020;  // space
    case 0x21: return 0xFF55;  // Prior
    case 0x22: return 0xFF56;  // Next
    case 0x23: return 0xFF57;  // End
    case 0x24: return 0xFF50;  // Home
    case 0x25: return 0xFF51;  // Left
    case 0x26: return 0xFF52;  // Up
    case 0x27: return 0xFF53;  // Right
    case 0x28: return 0xFF54;  // Down
    case 0x2C: return 0xFF61;  // Print
    case 0x2D: return 0xFF63;  // Insert
    case 0x2E: return 0xFFFF;  // Delete
    case 0x6A: return 0xFFAA;  // KP_Multiply
    case 0x6B: return 0xFFAB;  // KP_Add
    case 0x6C: return 0xFFAC;  // KP_Separator
    case 0x6D: return 0xFFAD;  // KP_Subtract
    case 0x6E: return 0xFFAE;  // KP_Decimal
    case 0x6F: return 0xFFAF;  // KP_Divide
    case 0x91: return 0xFF14;  // Scroll_Lock
    // The OEM keys as a US keyboard places them.
    case 0xBA: return 0x3B;  // semicolon
    case 0xBB: return 0x3D;  // equal
    case 0xBC: return 0x2C;  // comma
    case 0xBD: return 0x2D;  // minus
    case 0xBE: return 0x2E;  // period
    case 0xBF: return 0x2F;  // slash
    case 0xC0: return 0x60;  // grave
    case 0xDB: return 0x5B;  // bracketleft
    case 0xDC: return 0x5C;  // backslash
    case 0xDD: return 0x5D;  // bracketright
    case 0xDE: return 0x27;  // apostrophe
    default: return 0;
  }
}

bool X11HotKeysOpen() {
  std::lock_guard<std::mutex> g(Lock);
  if (Tried) return Conn != nullptr;
  Tried = true;
  if (!std::getenv("DISPLAY")) return false;
  int screenNum = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNum);  // $DISPLAY
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return false;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNum && it.rem > 0; ++i) xcb_screen_next(&it);
  if (it.rem == 0) {
    xcb_disconnect(c);
    return false;
  }
  Conn = c;
  Root = it.data->root;
  WakeWindow = xcb_generate_id(Conn);
  xcb_create_window(Conn, 0, WakeWindow, Root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                    XCB_COPY_FROM_PARENT, 0, nullptr);
  static const char name[] = "LUMIGRA_HOTKEY_WAKE";
  if (xcb_intern_atom_reply_t* a =
          xcb_intern_atom_reply(Conn, xcb_intern_atom(Conn, 0, sizeof name - 1, name), nullptr)) {
    WakeAtom = a->atom;
    std::free(a);
  }
  xcb_flush(Conn);
  return true;
}

bool X11HotKeysAvailable() {
  std::lock_guard<std::mutex> g(Lock);
  return Conn != nullptr;
}

void X11HotKeysRun(TX11HotKeyReport Report) {
  xcb_connection_t* c;
  {
    std::lock_guard<std::mutex> g(Lock);
    if (!Conn || Running) return;
    Running = true;
    c = Conn;
  }
  // X11HotKeysClose waits for this, however the loop ends.
  TFinally stopped([] {
    std::lock_guard<std::mutex> g(Lock);
    Running = false;
    Idle.notify_all();
  });
  while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
    std::unique_ptr<xcb_generic_event_t, void (*)(void*)> hold(ev, std::free);
    const uint8_t type = ev->response_type & 0x7F;
    if (type == XCB_CLIENT_MESSAGE) {
      const auto* cm = reinterpret_cast<const xcb_client_message_event_t*>(ev);
      if (cm->window == WakeWindow && cm->type == WakeAtom) break;
      continue;
    }
    if (type != XCB_KEY_PRESS) continue;
    // A press that fails (no memory for its list, a report that raises) is
    // reported to the application and lost; the loop goes on.
    CallbackGuard(nullptr, [&] {
      const auto* kp = reinterpret_cast<const xcb_key_press_event_t*>(ev);
      const uint16_t state = kp->state & (XShift | XControl | XMod1 | XMod4);
      std::vector<TGrab> hits;
      {
        std::lock_guard<std::mutex> g(Lock);
        for (const TGrab& gr : Grabs)
          if (gr.Code == kp->detail && gr.Mask == state) hits.push_back(gr);
      }
      if (Report)
        for (const TGrab& gr : hits) Report(gr.Target, gr.Id, gr.Mods, gr.Vk);
    });
  }
}

TX11GrabResult X11HotKeysGrab(uintptr_t Target, uint32_t Id, uint32_t Mods, uint32_t Vk) {
  std::lock_guard<std::mutex> g(Lock);
  if (!Conn) return x11grabNoDisplay;
  for (const TGrab& gr : Grabs)
    if (gr.Target == Target && gr.Id == Id) return x11grabDuplicate;
  const uint32_t sym = X11KeysymOfVk(Vk);
  const xcb_keycode_t code = sym ? KeycodeOf(sym) : 0;
  if (code == 0) return x11grabNoKey;
  const uint32_t mods = Mods & (X11HotKeyModAlt | X11HotKeyModControl | X11HotKeyModShift | X11HotKeyModWin);
  const TGrab grab{Target, Id, mods, Vk, code, XMaskOfMods(mods)};
  // Our own grab of the same combination (another window or id) already holds
  // it on the server; only a foreign one refuses.
  bool ours = false;
  for (const TGrab& gr : Grabs) ours = ours || SameCombination(gr, grab);
  if (!ours && !Grab(grab)) return x11grabTaken;
  Grabs.push_back(grab);
  return x11grabDone;
}

bool X11HotKeysUngrab(uintptr_t Target, uint32_t Id) {
  std::lock_guard<std::mutex> g(Lock);
  if (!Conn) return false;
  for (size_t i = 0; i < Grabs.size(); ++i) {
    if (Grabs[i].Target != Target || Grabs[i].Id != Id) continue;
    const TGrab grab = Grabs[i];
    Grabs.erase(Grabs.begin() + static_cast<std::ptrdiff_t>(i));
    bool shared = false;
    for (const TGrab& gr : Grabs) shared = shared || SameCombination(gr, grab);
    if (!shared) Ungrab(grab);
    return true;
  }
  return false;
}

void X11HotKeysClose() {
  std::unique_lock<std::mutex> g(Lock);
  if (!Conn) {
    Tried = false;
    return;
  }
  if (Running) {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = WakeWindow;
    ev.type = WakeAtom;
    xcb_send_event(Conn, 0, WakeWindow, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(Conn);
    Idle.wait(g, [] { return !Running; });
  }
  for (const TGrab& gr : Grabs) Ungrab(gr);
  Grabs.clear();
  xcb_destroy_window(Conn, WakeWindow);
  xcb_flush(Conn);
  xcb_disconnect(Conn);
  Conn = nullptr;
  WakeWindow = 0;
  Tried = false;
}
