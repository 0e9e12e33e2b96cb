// Copying a window or a screen rectangle into a bitmap (under Xvfb).
#include "common/gtest.h"

#include <memory>

#include "classlib/Graphics.h"
#include "foundation/app/win/HySysUtils.h"

namespace {

const COLORREF kFill = RGB(200, 30, 60);

LRESULT CALLBACK FillProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_ERASEBKGND) {
    RECT r;
    ::GetClientRect(Wnd, &r);
    HBRUSH b = ::CreateSolidBrush(kFill);
    ::FillRect(reinterpret_cast<HDC>(WParam), &r, b);
    ::DeleteObject(b);
    return 1;
  }
  return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HWND MakeFilledWindow(int X, int Y, int W, int H) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FillProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumigraSnapProbe";
    ::RegisterClassW(&wc);
    registered = true;
  }
  HWND w = ::CreateWindowExW(WS_EX_TOPMOST, L"LumigraSnapProbe", L"", WS_POPUP | WS_VISIBLE, X, Y, W, H, nullptr,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::UpdateWindow(w);
  MSG m;
  for (int i = 0; i < 20; ++i) {
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
    ::Sleep(10);
  }
  ::RedrawWindow(w, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASENOW);
  return w;
}

Cardinal PixelAt(TBitmap* B, Integer X, Integer Y) {
  return static_cast<const Cardinal*>(B->ScanLine(Y))[X] & 0xFFFFFFu;
}

const Cardinal kFillBgr = (200u << 16) | (30u << 8) | 60u;  // as the DIB stores it

TEST(SnapWindow, WindowCopiedWholeAndPastTheEdge) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  HWND w = MakeFilledWindow(20, 30, 40, 24);
  RECT r;
  ::GetWindowRect(w, &r);
  ASSERT_TRUE(SnapWindowRect(bmp.get(), TRect(r.left, r.top, r.right, r.bottom), false, w));
  EXPECT_EQ(bmp->Width(), 40);
  EXPECT_EQ(bmp->Height(), 24);
  EXPECT_EQ(PixelAt(bmp.get(), 0, 0), kFillBgr);
  EXPECT_EQ(PixelAt(bmp.get(), 39, 23), kFillBgr);

  // past the left and top edges: only the part on the screen
  ::SetWindowPos(w, nullptr, -15, -5, 40, 24, SWP_NOZORDER | SWP_NOACTIVATE);
  ::GetWindowRect(w, &r);
  ASSERT_TRUE(SnapWindowRect(bmp.get(), TRect(r.left, r.top, r.right, r.bottom), false, w));
  EXPECT_EQ(bmp->Width(), 25);
  EXPECT_EQ(bmp->Height(), 19);
  EXPECT_EQ(PixelAt(bmp.get(), 24, 18), kFillBgr);

  ::DestroyWindow(w);
  EXPECT_FALSE(SnapWindowRect(bmp.get(), TRect(r.left, r.top, r.right, r.bottom), false, w));
}

TEST(SnapWindow, ScreenRectangleAndEmptyOnes) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  HWND w = MakeFilledWindow(100, 100, 30, 30);
  ASSERT_TRUE(SnapWindowRect(bmp.get(), TRect(105, 105, 115, 112), false, nullptr));
  EXPECT_EQ(bmp->Width(), 10);
  EXPECT_EQ(bmp->Height(), 7);
  EXPECT_EQ(PixelAt(bmp.get(), 5, 3), kFillBgr);
  EXPECT_FALSE(SnapWindowRect(bmp.get(), TRect(5, 5, 5, 20), false, nullptr));
  EXPECT_FALSE(SnapWindowRect(bmp.get(), TRect(5, 5, 2, 20), false, nullptr));
  // a window wholly off the screen copies nothing
  ::SetWindowPos(w, nullptr, -100, -100, 30, 30, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  ::GetWindowRect(w, &r);
  EXPECT_FALSE(SnapWindowRect(bmp.get(), TRect(r.left, r.top, r.right, r.bottom), false, w));
  ::DestroyWindow(w);
}

// The cursor is drawn at its hot spot relative to the copied rectangle, and
// only when it lies inside.
TEST(SnapWindow, CursorDrawnOnlyInside) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  HWND w = MakeFilledWindow(200, 200, 40, 40);
  ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
  auto changed = [&] {
    int n = 0;
    for (Integer y = 0; y < 40; ++y)
      for (Integer x = 0; x < 40; ++x) n += PixelAt(bmp.get(), x, y) != kFillBgr;
    return n;
  };
  ::SetCursorPos(210, 212);
  ASSERT_TRUE(SnapWindowRect(bmp.get(), TRect(200, 200, 240, 240), true, nullptr));
  CURSORINFO ci{};
  ci.cbSize = sizeof(ci);
  ASSERT_TRUE(::GetCursorInfo(&ci));
  ASSERT_TRUE((ci.flags & CURSOR_SHOWING) && ci.hCursor);
  {
    EXPECT_GT(changed(), 0);
    // the arrow's hot spot is its tip: nothing is drawn above or left of it
    for (Integer y = 0; y < 40; ++y) {
      for (Integer x = 0; x < 40; ++x) {
        if (x < 10 - 1 || y < 12 - 1) {
          EXPECT_EQ(PixelAt(bmp.get(), x, y), kFillBgr) << x << "," << y;
        }
      }
    }
  }
  ::SetCursorPos(300, 300);
  ASSERT_TRUE(SnapWindowRect(bmp.get(), TRect(200, 200, 240, 240), true, nullptr));
  EXPECT_EQ(changed(), 0);
  ::DestroyWindow(w);
}

}  // namespace
