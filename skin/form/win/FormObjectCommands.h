// The form commands a caption button and a button-style animation share:
// close, maximise, minimise (to the tray when the form always goes there),
// roll-up and minimise-to-tray. Close, maximise and the minimisings first
// drop the hot object, so no hover look stays behind on the frame.
#pragma once

#include "skin/form/win/FormSkin.h"

// Runs Obj's command when it is one of the form commands; false for the
// commands the object handles itself (system menu, default).
template <class TObj>
bool RunFormCommand(TObj& Obj) {
  auto NoHotObject = [&Obj] { Obj.Parent->UpdateActiveObject(-1, -1, false); };
  switch (Obj.Command) {
    case cmClose:
      NoHotObject();
      Obj.CloseForm();
      return true;
    case cmMaximize:
      NoHotObject();
      Obj.MaximizeForm();
      return true;
    case cmMinimize:
      NoHotObject();
      if (Obj.Parent->FAlwaysMinimizeToTray)
        Obj.MinimizeFormToTray();
      else
        Obj.MinimizeForm();
      return true;
    case cmRollUp: Obj.RollUpForm(); return true;
    case cmMinimizeToTray:
      NoHotObject();
      Obj.MinimizeFormToTray();
      return true;
    default: return false;
  }
}
