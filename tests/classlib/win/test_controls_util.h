// Helpers of the controls, forms, application and timer tests: a fixture that
// collects the exceptions the application would show, message pumps and
// probe controls that log what reaches them.
#pragma once

#include "common/gtest.h"

#include <functional>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"

namespace ctltest {

// Pumps (without idle and deferred deletes) until Done or the time is up.
inline bool PumpUntil(const std::function<bool()>& Done, DWORD Ms = 3000) {
  DWORD Start = GetTickCount();
  while (!Done()) {
    if (GetTickCount() - Start > Ms) return false;
    Application->ProcessMessages();
    Sleep(1);
  }
  return true;
}

// Pumps until a system timer of Ms milliseconds, armed now, has ticked Count
// times: by then a timer of that interval armed before it has had as many
// chances to fire. False when that takes more than five seconds.
inline int& ReferenceTicks() {
  static int Ticks = 0;
  return Ticks;
}
inline void CALLBACK ReferenceTick(HWND, UINT, UINT_PTR, DWORD) { ++ReferenceTicks(); }
inline bool PumpTimerPeriods(UINT Ms, int Count = 3) {
  ReferenceTicks() = 0;
  UINT_PTR Id = SetTimer(nullptr, 0, Ms, ReferenceTick);
  bool Ok = PumpUntil([Count] { return ReferenceTicks() >= Count; }, 5000);
  KillTimer(nullptr, Id);
  return Ok;
}

inline void Pump() {
  for (int i = 0; i < 3; ++i) {
    Application->ProcessMessages();
    Sleep(1);
  }
}

// Key strokes through the system's input queue, as the keyboard gives them
// (the thread's key state follows, so controls see Shift, Ctrl and Alt),
// then the queue path run over them.
inline void SendKeys(std::initializer_list<WORD> Mods, WORD Key) {
  std::vector<INPUT> In;
  auto Add = [&](WORD VK, bool Up) {
    INPUT I{};
    I.type = INPUT_KEYBOARD;
    I.ki.wVk = VK;
    I.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK, MAPVK_VK_TO_VSC));
    switch (VK) {
      case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_INSERT: case VK_DELETE:
      case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
        I.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
      default: break;
    }
    if (Up) I.ki.dwFlags |= KEYEVENTF_KEYUP;
    In.push_back(I);
  };
  for (WORD M : Mods) Add(M, false);
  Add(Key, false);
  Add(Key, true);
  for (auto It = std::rbegin(Mods); It != std::rend(Mods); ++It) Add(*It, true);
  SendInput(static_cast<UINT>(In.size()), In.data(), sizeof(INPUT));
  for (int I = 0; I < 10; ++I) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    Errors.clear();
    Application->OnException = [this](TObject*, Exception& E) { Errors.push_back(E.Message()); };
    // Keeps WaitMessage from sleeping for ever.
    Tick = SetTimer(nullptr, 0, 10, nullptr);
  }
  void TearDown() override {
    KillTimer(nullptr, Tick);
    Application->OnMessage = nullptr;
    Application->OnIdle = nullptr;
    Application->ProcessMessages();
    Application->DoReleaseQueue();
    // Never a blocking message box in the tests.
    Application->OnException = [](TObject*, Exception& E) {
      ADD_FAILURE() << "unexpected exception: " << ToUtf8(E.Message());
    };
  }
  // A shown form at a fixed place.
  TForm* NewForm() {
    auto* F = new TForm(nullptr);
    F->SetBounds(40, 40, 300, 200);
    return F;
  }
  std::vector<String> Errors;
  UINT_PTR Tick = 0;
};

// A windowed control that logs the control messages reaching its Dispatch
// and lets a test answer them.
class TProbe : public TCustomControl {
 public:
  explicit TProbe(TComponent* AOwner, TWinControl* AParent = nullptr, TRect R = Bounds(0, 0, 40, 20))
      : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBoundsRect(R);
    if (AParent) SetParent(AParent);
  }
  std::vector<UINT> Seen;             // every message of the CM_/CN_ ranges
  std::function<bool(TMessage&)> On;  // true: handled
  TColor PaintColor = clNone;
  int Paints = 0;
  void Dispatch(TMessage& M) override {
    if (M.Msg >= CM_BASE && M.Msg < CM_BASE + 0x1000) Seen.push_back(M.Msg);
    if (On && On(M)) return;
    TCustomControl::Dispatch(M);
  }
  int Count(UINT Msg) const {
    int N = 0;
    for (UINT S : Seen) N += S == Msg;
    return N;
  }

 protected:
  void Paint() override {
    ++Paints;
    if (PaintColor != clNone) {
      Canvas()->Brush()->SetColor(PaintColor);
      Canvas()->FillRect(ClientRect());
    }
  }
};

// A graphic control that logs enter/leave and paints a colour.
class TGProbe : public TGraphicControl {
 public:
  explicit TGProbe(TComponent* AOwner, TWinControl* AParent, TRect R) : TGraphicControl(AOwner) {
    SetBoundsRect(R);
    SetParent(AParent);
  }
  std::vector<UINT> Seen;
  std::function<bool(TMessage&)> On;
  TColor PaintColor = clNone;
  void Dispatch(TMessage& M) override {
    if (M.Msg >= CM_BASE && M.Msg < CM_BASE + 0x1000) Seen.push_back(M.Msg);
    if (On && On(M)) return;
    TGraphicControl::Dispatch(M);
  }

 protected:
  void Paint() override {
    if (PaintColor != clNone) {
      Canvas()->Brush()->SetColor(PaintColor);
      Canvas()->FillRect(ClientRect());
    }
  }
};

}  // namespace ctltest
