// Helpers of the image-control window tests: one shown form reused by every
// case (hiding a shown window costs seconds under Xvfb) and a pump.
#pragma once

#include "classlib/Forms.h"

namespace imgtest {

inline void Pump() {
  for (int i = 0; i < 4; ++i) {
    Application->ProcessMessages();
    Sleep(1);
  }
}

// Made and shown on first use; lives until the program ends.
inline TForm* SharedForm() {
  static TForm* F = nullptr;
  if (!F) {
    Application->Initialize();
    F = new TForm(nullptr);
    F->BeginLoading();
    F->SetBounds(30, 30, 640, 520);
    F->EndLoading();
    F->Show();
    Pump();
  }
  return F;
}

}  // namespace imgtest
