// Hot keys grabbed on the X root window: a key sent by xdotool while no Wine
// window has the focus arrives as WM_HOTKEY at the registering window.
#include "common/gtest.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "platform/X11HotKeys.h"
#include "platform/native/x11_other_client.h"
#include "platform/win/SysHotKeys.h"

extern char** environ;

namespace {

// True once process Pid no longer exists (within five seconds).
bool ProcessGone(pid_t Pid) {
  const DWORD start = ::GetTickCount();
  while (::kill(Pid, 0) == 0) {
    if (::GetTickCount() - start > 5000) return false;
    ::Sleep(2);
  }
  return true;
}

// Sends keys to the X server with xdotool (the Unix program, not a Wine one).
void XdoKey(const std::vector<std::string>& Keys) {
  std::vector<std::string> args{"xdotool", "key", "--delay", "20"};
  args.insert(args.end(), Keys.begin(), Keys.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ), 0);
  int status = 0;
  pid_t got;
  do got = waitpid(pid, &status, 0);
  while (got < 0 && errno == EINTR);
  if (got == pid) {
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
  } else {
    // Wine reaped the child itself: it has ended once it is gone.
    ASSERT_TRUE(ProcessGone(pid));
  }
}

struct THotKeyMsg {
  WPARAM Id;
  LPARAM Param;
};

// The WM_HOTKEY messages that reach Wnd within Ms milliseconds.
std::vector<THotKeyMsg> CollectHotKeys(HWND Wnd, DWORD Ms) {
  std::vector<THotKeyMsg> got;
  const DWORD end = ::GetTickCount() + Ms;
  while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
    MSG msg;
    while (::PeekMessageW(&msg, Wnd, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_HOTKEY) got.push_back({msg.wParam, msg.lParam});
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return got;
}

// A grabbed key pressed after the keys of a case: the grab's one event
// thread posts in the order the X server sent, so once its message is there,
// every message of the keys before it is there too.
const int kSentinelId = 0xC3FF;
const char* const kSentinelKeys = "ctrl+shift+F12";

// The WM_HOTKEY messages that reach Wnd for Keys, the sentinel's excluded
// (it is pressed after them and must arrive within five seconds).
std::vector<THotKeyMsg> PressAndCollect(HWND Wnd, std::vector<std::string> Keys) {
  Keys.push_back(kSentinelKeys);
  XdoKey(Keys);
  std::vector<THotKeyMsg> got;
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, Wnd, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_HOTKEY && msg.wParam == static_cast<WPARAM>(kSentinelId)) return got;
      if (msg.message == WM_HOTKEY) got.push_back({msg.wParam, msg.lParam});
      ::DispatchMessageW(&msg);
    }
    if (::GetTickCount() - start > 5000) {
      ADD_FAILURE() << "the sentinel key never arrived";
      return got;
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// True once Done() holds (within five seconds).
template <class F>
bool WaitUntil(F Done) {
  const DWORD start = ::GetTickCount();
  while (!Done()) {
    if (::GetTickCount() - start > 5000) return false;
    ::Sleep(5);
  }
  return true;
}

// A report whose first press fails the way a full heap would.
std::atomic<int> ReportsSeen{0};
void FailingFirstReport(uintptr_t, uint32_t, uint32_t, uint32_t) {
  if (ReportsSeen.fetch_add(1) == 0) throw std::bad_alloc();
}
DWORD WINAPI RunFailingLoop(void*) {
  X11HotKeysRun(FailingFirstReport);
  return 0;
}

class X11HotKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    Wnd = ::CreateWindowExW(0, L"STATIC", L"hot-key target", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(Wnd, nullptr);
    ASSERT_TRUE(SysHotKeysOnX11());
    // Nothing of ours has the focus: the window is hidden and never activated.
    ASSERT_EQ(::GetFocus(), nullptr);
  }
  void TearDown() override {
    if (Wnd) ::DestroyWindow(Wnd);
    OtherClientRelease();
  }
  HWND Wnd = nullptr;
};

TEST_F(X11HotKeys, GrabbedKeyArrivesAsWmHotKeyWithoutFocus) {
  const int id = 0xC321;
  ASSERT_TRUE(SysRegisterHotKey(Wnd, id, MOD_CONTROL | MOD_SHIFT, 'Q'));
  struct Case {
    const char* What;
    std::vector<std::string> Keys;
    size_t Expected;
  } cases[] = {
      {"the combination", {"ctrl+shift+q"}, 1},
      {"with CapsLock on", {"Caps_Lock", "ctrl+shift+q", "Caps_Lock"}, 1},
      {"with NumLock on", {"Num_Lock", "ctrl+shift+q", "Num_Lock"}, 1},
      {"other modifiers", {"ctrl+q", "ctrl+alt+shift+q", "shift+q"}, 0},
      {"another key", {"ctrl+shift+w"}, 0},
  };
  ASSERT_TRUE(SysRegisterHotKey(Wnd, kSentinelId, MOD_CONTROL | MOD_SHIFT, VK_F12));
  for (const Case& c : cases) {
    const auto got = PressAndCollect(Wnd, c.Keys);
    ASSERT_EQ(got.size(), c.Expected) << c.What;
    for (const THotKeyMsg& m : got) {
      EXPECT_EQ(m.Id, static_cast<WPARAM>(id)) << c.What;
      EXPECT_EQ(m.Param, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'Q')) << c.What;
    }
  }
  ASSERT_TRUE(SysUnregisterHotKey(Wnd, id));
  EXPECT_TRUE(PressAndCollect(Wnd, {"ctrl+shift+q"}).empty()) << "after unregistering";
  EXPECT_TRUE(SysUnregisterHotKey(Wnd, kSentinelId));
}

TEST_F(X11HotKeys, FocusedWineWindowGetsOneMessagePerPress) {
  // With a window of ours focused, Wine's registration could fire too: the
  // press must still arrive once.
  HWND shown = ::CreateWindowExW(0, L"STATIC", L"focused", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(shown, nullptr);
  ::SetForegroundWindow(shown);
  ::SetFocus(shown);
  CollectHotKeys(shown, 300);  // let the focus settle
  ASSERT_EQ(::GetFocus(), shown);
  ASSERT_TRUE(SysRegisterHotKey(Wnd, 0xC326, MOD_CONTROL | MOD_SHIFT, 'Q'));
  XdoKey({"ctrl+shift+q"});
  const auto got = CollectHotKeys(Wnd, 800);
  EXPECT_EQ(got.size(), 1u);
  EXPECT_TRUE(SysUnregisterHotKey(Wnd, 0xC326));
  ::DestroyWindow(shown);
}

TEST_F(X11HotKeys, WineRegistrationAloneMissesKeysWithoutFocus) {
  // The control case: the very same key with Wine's registration only.
  ASSERT_TRUE(::RegisterHotKey(Wnd, 0xC322, MOD_CONTROL | MOD_SHIFT, 'Q'));
  XdoKey({"ctrl+shift+q"});
  EXPECT_TRUE(CollectHotKeys(Wnd, 600).empty());
  ::UnregisterHotKey(Wnd, 0xC322);
}

TEST_F(X11HotKeys, CombinationHeldByAnotherClientIsRefused) {
  ASSERT_TRUE(OtherClientGrab(X11KeysymOfVk('K'), 0x4 /*ControlMask*/ | 0x1 /*ShiftMask*/));
  ::SetLastError(0);
  EXPECT_FALSE(SysRegisterHotKey(Wnd, 0xC323, MOD_CONTROL | MOD_SHIFT, 'K'));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  // Wine's registration was undone: the id is free to register again elsewhere.
  EXPECT_FALSE(::UnregisterHotKey(Wnd, 0xC323));
  // Another combination is not affected.
  EXPECT_TRUE(SysRegisterHotKey(Wnd, 0xC324, MOD_CONTROL | MOD_SHIFT, 'L'));
  EXPECT_TRUE(SysUnregisterHotKey(Wnd, 0xC324));
  OtherClientRelease();
  EXPECT_TRUE(SysRegisterHotKey(Wnd, 0xC323, MOD_CONTROL | MOD_SHIFT, 'K'));
  EXPECT_TRUE(SysUnregisterHotKey(Wnd, 0xC323));
}

TEST_F(X11HotKeys, WithoutDisplayRegistrationIsWinesAlone) {
  const std::string display = std::getenv("DISPLAY");
  struct Case {
    const char* What;
    const char* Display;  // nullptr: unset
  } cases[] = {{"DISPLAY unset", nullptr}, {"unreachable display", ":87"}};
  for (const Case& c : cases) {
    SysHotKeysShutdown();
    if (c.Display)
      ::setenv("DISPLAY", c.Display, 1);
    else
      ::unsetenv("DISPLAY");
    EXPECT_FALSE(SysHotKeysOnX11()) << c.What;
    EXPECT_TRUE(SysRegisterHotKey(Wnd, 0xC325, MOD_CONTROL | MOD_SHIFT, 'Q')) << c.What;
    // Wine holds the registration: a second one of the same id fails.
    EXPECT_FALSE(::RegisterHotKey(Wnd, 0xC325, MOD_CONTROL | MOD_SHIFT, 'Q')) << c.What;
    EXPECT_TRUE(SysUnregisterHotKey(Wnd, 0xC325)) << c.What;
    ::setenv("DISPLAY", display.c_str(), 1);
    SysHotKeysShutdown();
  }
  EXPECT_TRUE(SysHotKeysOnX11());
}

// A press whose report fails is lost; the presses after it still arrive and
// closing the connection still stops the loop.
TEST_F(X11HotKeys, PressThatFailsLeavesTheEventLoopRunning) {
  SysHotKeysShutdown();  // this test runs the loop itself
  ASSERT_TRUE(X11HotKeysOpen());
  ReportsSeen = 0;
  HANDLE loop = ::CreateThread(nullptr, 0, RunFailingLoop, nullptr, 0, nullptr);
  ASSERT_NE(loop, nullptr);
  ASSERT_EQ(X11HotKeysGrab(1, 0xC327, MOD_CONTROL | MOD_SHIFT, 'Q'), x11grabDone);
  XdoKey({"ctrl+shift+q"});
  ASSERT_TRUE(WaitUntil([] { return ReportsSeen >= 1; }));
  XdoKey({"ctrl+shift+q"});
  EXPECT_TRUE(WaitUntil([] { return ReportsSeen >= 2; })) << "the loop ended with the failing press";
  X11HotKeysClose();
  EXPECT_EQ(::WaitForSingleObject(loop, 5000), WAIT_OBJECT_0);
  ::CloseHandle(loop);
}

TEST(X11HotKeyKeys, VirtualKeysMapToKeysyms) {
  struct Case {
    uint32_t Vk, Keysym;
  } cases[] = {
      {'Q', 0x71},  {'0', 0x30},     {0x70, 0xFFBE}, {0x87, 0xFFD5}, {0x2C, 0xFF61},
      {0xDB, 0x5B}, {0xDC, 0x5C},    {0xDD, 0x5D},   {0x60, 0xFFB0}, {0x5B, 0},  // VK_LWIN: none
  };
  for (const Case& c : cases) EXPECT_EQ(X11KeysymOfVk(c.Vk), c.Keysym) << "vk " << c.Vk;
}

}  // namespace
