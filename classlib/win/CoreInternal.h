// Seams between the core units of the controls layer (drag, hints, the
// mouse routing). Not for use outside classlib/win. Winelib only.
#pragma once

#include "classlib/Controls.h"

namespace corepriv {

// The control (graphic children included) under a screen point, or nullptr.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);

// The drag in progress takes the mouse messages of its source: true when
// Message was one of them (and was used up).
bool DragMouseMsg(TControl* Self, TMessage& Message);
// True while the drag takes the capture for its source.
bool DragSettingCapture();
// A control is being freed: the drag forgets it.
void DragControlFreed(TControl* Control);
// The cursor the drag in progress shows, or nullptr when none is shown.
HCURSOR DragCursorHandle();
// The screen point of the latest mouse message a control took.
TPoint LastMousePos();
void SetLastMousePos(const TPoint& P);

// Which control owns a window of this process. Kept here rather than as a
// window property: a property read is a trip to the window server, and the
// window procedure reads it for every message.
TWinControl* ControlOfWindow(HWND Wnd);
void BindWindow(HWND Wnd, TWinControl* Control);
void UnbindWindow(HWND Wnd);

}  // namespace corepriv
