// A second X client for the hot-key tests: holds a key grab on the root window
// so that our own grab of the same combination is refused. Plain types only.
#pragma once

#include <cstdint>

// Opens a connection of its own and grabs Keysym with the X modifier mask
// XMods (ControlMask 4, ShiftMask 1) and its lock variants; false without a display.
bool OtherClientGrab(uint32_t Keysym, unsigned int XMods);
// Releases the grab and closes the connection.
void OtherClientRelease();
