// Helpers of the image-control window tests: a shown form per test and a pump.
#pragma once

#include "classlib/Forms.h"

namespace imgtest {

inline void Pump() {
  for (int i = 0; i < 4; ++i) {
    Application->ProcessMessages();
    Sleep(1);
  }
}

// A new shown form at a fixed place; the test frees it.
inline TForm* NewShownForm() {
  Application->Initialize();
  TForm* F = new TForm(nullptr);
  F->BeginLoading();
  F->SetBounds(30, 30, 640, 520);
  F->EndLoading();
  F->Show();
  Pump();
  return F;
}

}  // namespace imgtest
