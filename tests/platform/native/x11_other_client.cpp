// A second X client holding a key grab (fixture of the hot-key tests).
#include "platform/native/x11_other_client.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <initializer_list>

namespace {
xcb_connection_t* Other = nullptr;
xcb_window_t OtherRoot = 0;

xcb_keycode_t KeycodeOf(uint32_t Keysym) {
  const xcb_setup_t* setup = xcb_get_setup(Other);
  const xcb_keycode_t lo = setup->min_keycode, hi = setup->max_keycode;
  auto* map = xcb_get_keyboard_mapping_reply(
      Other, xcb_get_keyboard_mapping(Other, lo, static_cast<uint8_t>(hi - lo + 1)), nullptr);
  if (!map) return 0;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
  xcb_keycode_t found = 0;
  for (int k = 0; k <= hi - lo && !found; ++k)
    if (syms[k * map->keysyms_per_keycode] == Keysym) found = static_cast<xcb_keycode_t>(lo + k);
  std::free(map);
  return found;
}
}  // namespace

bool OtherClientGrab(uint32_t Keysym, unsigned int XMods) {
  if (!Other) {
    Other = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(Other)) {
      xcb_disconnect(Other);
      Other = nullptr;
      return false;
    }
    OtherRoot = xcb_setup_roots_iterator(xcb_get_setup(Other)).data->root;
  }
  const xcb_keycode_t code = KeycodeOf(Keysym);
  if (code == 0) return false;
  bool ok = true;
  // Without and with CapsLock (2) and NumLock (16, Mod2 on Xvfb).
  for (unsigned int lock : {0u, 2u, 16u, 18u}) {
    auto* e = xcb_request_check(Other, xcb_grab_key_checked(Other, 0, OtherRoot, static_cast<uint16_t>(XMods | lock),
                                                            code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (e) ok = false;
    std::free(e);
  }
  return ok;
}

void OtherClientRelease() {
  if (!Other) return;
  // Wait until the server has done it: our next grab comes on another
  // connection, which the server may serve first otherwise.
  std::free(xcb_request_check(Other, xcb_ungrab_key_checked(Other, XCB_GRAB_ANY, OtherRoot, XCB_MOD_MASK_ANY)));
  xcb_disconnect(Other);
  Other = nullptr;
}
