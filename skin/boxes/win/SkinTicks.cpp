#include "skin/boxes/win/SkinTicks.h"

#include <windows.h>

namespace {
TspTickSource TickSource = nullptr;
}

Cardinal spTickCount() { return TickSource ? TickSource() : static_cast<Cardinal>(GetTickCount()); }

void SetSkinTickSource(TspTickSource Source) { TickSource = Source; }
