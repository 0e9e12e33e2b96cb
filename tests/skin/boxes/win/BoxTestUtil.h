// Shared by the skinned boxes' window tests: what a window shows with its
// frame, and characters typed into a window.
#pragma once

#include "tests/skin/controls/win/CtlTestUtil.h"

namespace boxtest {

// The window's pixels, frame and children included, after a full repaint.
inline std::unique_ptr<TBitmap> WindowPixels(TWinControl* W) {
  HWND H = W->Handle();
  RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ctl::Pump();
  RECT R{};
  GetWindowRect(H, &R);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(R.right - R.left, R.bottom - R.top);
  HDC DC = GetWindowDC(H);
  BitBlt(B->Canvas()->Handle(), 0, 0, B->Width(), B->Height(), DC, 0, 0, SRCCOPY);
  ReleaseDC(H, DC);
  return B;
}

// WM_CHAR for each character, sent to the window.
inline void Type(TWinControl* E, const std::u16string& S) {
  for (Char C : S) SendMessageW(E->Handle(), WM_CHAR, C, 1);
}

}  // namespace boxtest
