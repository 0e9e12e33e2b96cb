// Shared by the skinned boxes' window tests: what a window shows with its
// frame, and characters typed into a window.
#pragma once

#include "tests/common/win/Goldens.h"
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

// A bitmap's pixels as $00RRGGBB, rows top-down.
inline std::vector<std::uint32_t> PixelsOf(TBitmap* B) {
  TBitmap Rgb;
  Rgb.Assign(B);
  Rgb.SetPixelFormat(pf32bit);
  const Integer W = Rgb.Width(), H = Rgb.Height();
  std::vector<std::uint32_t> P(size_t(W) * size_t(H));
  for (Integer Y = 0; Y < H; ++Y) {
    const auto* Row = static_cast<const std::uint32_t*>(Rgb.ScanLine(Y));
    for (Integer X = 0; X < W; ++X) P[size_t(Y) * size_t(W) + size_t(X)] = Row[X] & 0xFFFFFFu;
  }
  return P;
}

// The default look's golden pictures: channel differences up to 8 pass, and
// at most one pixel in 200 may differ by more (the edges of the platform's
// text when its font renderer changes); the frames, fills, buttons and marks
// must match.
inline golden::TTolerance GoldenTolerance(Integer W, Integer H) {
  return {8, static_cast<std::size_t>(W) * static_cast<std::size_t>(H) / 200};
}

// A picture for review (SCREENS/<program>/<scheme>/<control>-<state>.png);
// in the default look also compared with the golden picture of the same
// name in LUMIGRA_BOXES_GOLDENS_DIR.
inline void ShootBitmap(const String& Scheme, const String& Control, const String& State, TBitmap* B) {
  ctl::SaveScreen(Scheme, Control, State, B);
  if (Scheme != u"default") return;
  const std::vector<std::uint32_t> P = PixelsOf(B);
  const golden::TTolerance T = GoldenTolerance(B->Width(), B->Height());
  const golden::TOutcome R =
      golden::Check(golden::WindowsPath(LUMIGRA_BOXES_GOLDENS_DIR), Control + u"-" + State, P, B->Width(), B->Height(), T);
  if (R.Recorded) return;
  if (R.Differ > 0) ctl::SaveScreen(u"differs", Control, State, B);
  EXPECT_TRUE(R.Passed(T)) << ToUtf8(Control + u"-" + State) << ": " << R.Describe();
}

// The same of a window as it shows (the caret hidden while it is taken).
inline void Shoot(const String& Scheme, const String& Control, const String& State, TWinControl* W) {
  HideCaret(nullptr);
  auto B = WindowPixels(W);
  ShowCaret(nullptr);
  ShootBitmap(Scheme, Control, State, B.get());
}

// What a control's erase step paints into a device context of its own
// (the inner edit's text included), on fuchsia.
inline std::unique_ptr<TBitmap> ErasePixels(TWinControl* W) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W->Width(), W->Height());
  B->Canvas()->Brush()->SetColor(clFuchsia);
  B->Canvas()->FillRect(TRect(0, 0, W->Width(), W->Height()));
  SendMessageW(W->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
  return B;
}

}  // namespace boxtest
