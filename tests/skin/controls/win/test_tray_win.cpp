// The notification-area icon with the shell calls recorded: the callback
// table sent straight to the icon's window, the click timer driven without
// waiting, the icon index and animation, balloon and tip limits, Enabled,
// the taskbar coming back, and the application's minimise event left to
// whoever had it.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/spTrayIcon.h"

#include <commctrl.h>

using namespace ctl;

namespace {

struct TShellCall {
  DWORD Message;
  UINT Flags;
  String Tip, Info, Title;
  DWORD InfoFlags;
};

class TrayWin : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    Saved = TspTrayIcon::ShellNotify;
    TspTrayIcon::ShellNotify = [this](DWORD M, NOTIFYICONDATAW* D) {
      Calls.push_back({M, D->uFlags, reinterpret_cast<const Char*>(D->szTip),
                       reinterpret_cast<const Char*>(D->szInfo), reinterpret_cast<const Char*>(D->szInfoTitle),
                       D->dwInfoFlags});
      return TRUE;
    };
  }
  void TearDown() override {
    TspTrayIcon::ShellNotify = Saved;
    SkinCtlTest::TearDown();
  }
  std::unique_ptr<TspTrayIcon> Make(TComponent* Owner = nullptr) {
    auto T = std::make_unique<TspTrayIcon>(Owner);
    T->OnClick = [this](TObject*) { ++Clicks; };
    T->OnDblClick = [this](TObject*) { ++DblClicks; };
    return T;
  }
  void Send(TspTrayIcon* T, UINT Mouse) { SendMessageW(T->Handle(), SP_TRAY_CALLBACK, 1, Mouse); }
  std::unique_ptr<TImageList> ThreeIcons() {
    auto L = std::make_unique<TImageList>(nullptr, 16, 16);
    for (int I = 0; I < 3; ++I) {
      auto P = CoordPicture(16, 16);
      L->Add(P.get(), nullptr);
    }
    return L;
  }

  std::function<BOOL(DWORD, NOTIFYICONDATAW*)> Saved;
  std::vector<TShellCall> Calls;
  int Clicks = 0, DblClicks = 0;
};

TEST_F(TrayWin, LoadingAddsTheIconAndDestroyRemovesIt) {
  auto T = Make();
  EXPECT_TRUE(Calls.empty()) << "nothing before the owner is loaded";
  EXPECT_EQ(T->IconData().cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(T->IconData().uCallbackMessage, SP_TRAY_CALLBACK);
  EXPECT_FALSE(T->Icon()->Empty()) << "the default icon";
  T->BeginLoading();
  T->EndLoading();
  ASSERT_EQ(Calls.size(), 2u);
  EXPECT_EQ(Calls[0].Message, DWORD(NIM_MODIFY));
  EXPECT_EQ(Calls[1].Message, DWORD(NIM_ADD));
  T.reset();
  ASSERT_EQ(Calls.size(), 3u);
  EXPECT_EQ(Calls[2].Message, DWORD(NIM_DELETE));
}

TEST_F(TrayWin, ClickAfterTheDoubleClickTimeNeverForADoubleClick) {
  auto T = Make();
  EXPECT_EQ(T->ClickTimer()->Interval(), GetDoubleClickTime());
  // A single click: reported when the timer runs out.
  Send(T.get(), WM_LBUTTONDOWN);
  EXPECT_TRUE(T->ClickTimer()->Enabled());
  Send(T.get(), WM_LBUTTONUP);
  EXPECT_EQ(Clicks, 0);
  Fire(T->ClickTimer());
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(T->ClickTimer()->Enabled());
  // A double click: no click at all.
  Send(T.get(), WM_LBUTTONDOWN);
  Send(T.get(), WM_LBUTTONUP);
  Send(T.get(), WM_LBUTTONDBLCLK);
  Send(T.get(), WM_LBUTTONUP);
  Fire(T->ClickTimer());
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(DblClicks, 1);
  // A release after the timer ran out is a click at once.
  Send(T.get(), WM_LBUTTONDOWN);
  Fire(T->ClickTimer());
  EXPECT_EQ(Clicks, 1);
  Send(T.get(), WM_LBUTTONUP);
  EXPECT_EQ(Clicks, 2);
}

TEST_F(TrayWin, MouseEventsAndTheBalloonClick) {
  auto T = Make();
  std::vector<std::pair<TMouseButton, TShiftState>> Downs, Ups;
  int Moves = 0, Balloons = 0;
  T->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, Integer, Integer) { Downs.push_back({B, S}); };
  T->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState S, Integer, Integer) { Ups.push_back({B, S}); };
  T->OnMouseMove = [&](TObject*, TShiftState, Integer, Integer) { ++Moves; };
  T->OnBalloonHintClick = [&](TObject*) { ++Balloons; };
  for (UINT M : {UINT(WM_MOUSEMOVE), UINT(WM_RBUTTONDOWN), UINT(WM_RBUTTONUP), UINT(WM_MBUTTONDOWN),
                 UINT(WM_MBUTTONUP), SP_TRAY_BALLOON_CLICK})
    Send(T.get(), M);
  EXPECT_EQ(Moves, 1);
  ASSERT_EQ(Downs.size(), 2u);
  EXPECT_EQ(Downs[0].first, mbRight);
  EXPECT_TRUE(Downs[0].second & ssRight);
  EXPECT_EQ(Downs[1].first, mbMiddle);
  EXPECT_TRUE(Downs[1].second & ssMiddle);
  EXPECT_EQ(Ups.size(), 2u);
  EXPECT_EQ(Balloons, 1);
  // Disabled: every notification is ignored, the icon stays.
  T->SetEnabled(false);
  Send(T.get(), WM_MOUSEMOVE);
  Send(T.get(), SP_TRAY_BALLOON_CLICK);
  Send(T.get(), WM_LBUTTONDOWN);
  EXPECT_EQ(Moves, 1);
  EXPECT_EQ(Balloons, 1);
  EXPECT_FALSE(T->ClickTimer()->Enabled());
  EXPECT_TRUE(T->IconVisible());
}

TEST_F(TrayWin, IconIndexFollowsTheList) {
  auto T = Make();
  auto L = ThreeIcons();
  struct Row {
    Integer Value, Index;
  };
  T->SetIconList(L.get());
  for (const Row& R : {Row{10, 2}, Row{1, 1}, Row{-5, 0}}) {
    T->SetIconIndex(R.Value);
    EXPECT_EQ(T->IconIndex(), R.Index) << R.Value;
  }
  // An empty list counts as none: index 0 and the icon left alone.
  TImageList Empty(nullptr, 16, 16);
  T->SetIconList(&Empty);
  const HICON Before = T->Icon()->Handle();
  T->SetIconIndex(2);
  EXPECT_EQ(T->IconIndex(), 0);
  EXPECT_EQ(T->Icon()->Handle(), Before);
  T->SetIconList(nullptr);
  T->SetIconIndex(4);
  EXPECT_EQ(T->IconIndex(), 0);
}

TEST_F(TrayWin, AnimationShowsTheImageAndMovesOn) {
  auto T = Make();
  auto L = ThreeIcons();
  T->SetIconList(L.get());
  T->SetIconIndex(2);
  std::vector<Integer> Next;
  T->OnCycle = [&](TObject*, Integer N) { Next.push_back(N); };
  Calls.clear();
  Fire(T->AnimateTimer());
  EXPECT_EQ(Next, std::vector<Integer>{0});
  EXPECT_EQ(T->IconIndex(), 0);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Message, DWORD(NIM_MODIFY));
  Fire(T->AnimateTimer());
  EXPECT_EQ(T->IconIndex(), 1);
  T->SetCycleIcons(true);
  EXPECT_TRUE(T->AnimateTimer()->Enabled());
  EXPECT_EQ(T->IconIndex(), 0);
  T->SetCycleIcons(false);
}

TEST_F(TrayWin, TipAndBalloonAreCutToTheShellsBuffers) {
  auto T = Make();
  T->SetHint(String(200, u'h'));
  ASSERT_FALSE(Calls.empty());
  EXPECT_EQ(Calls.back().Tip.size(), 127u);
  T->SetShowHint(false);
  EXPECT_TRUE(Calls.back().Tip.empty());
  Calls.clear();
  T->ShowBalloonHint(String(100, u't'), String(300, u'b'), spbitWarning);
  ASSERT_EQ(Calls.size(), 2u) << "the old balloon goes, the new one comes";
  EXPECT_TRUE(Calls[0].Info.empty());
  EXPECT_EQ(Calls[1].Info.size(), 255u);
  EXPECT_EQ(Calls[1].Title.size(), 63u);
  EXPECT_EQ(Calls[1].InfoFlags, DWORD(2));
  EXPECT_NE(Calls[1].Flags & NIF_INFO, 0u);
  EXPECT_EQ(T->IconData().uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

TEST_F(TrayWin, TaskbarCreatedAddsTheIconAgainWhileVisible) {
  auto T = Make();
  T->SetIconVisible(true);
  Calls.clear();
  SendMessageW(T->Handle(), TspTrayIcon::TaskbarCreatedMessage(), 0, 0);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Message, DWORD(NIM_ADD));
  T->SetIconVisible(false);
  Calls.clear();
  SendMessageW(T->Handle(), TspTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(Calls.empty());
}

TEST_F(TrayWin, MinimiseEventIsBorrowedOnlyWhenFreeAndGivenBack) {
  // Someone else's handler survives the icon.
  int Theirs = 0;
  Application->OnMinimize = [&](TObject*) { ++Theirs; };
  {
    auto T = Make();
  }
  ASSERT_TRUE(Application->OnMinimize != nullptr);
  Application->OnMinimize(nullptr);
  EXPECT_EQ(Theirs, 1);
  Application->OnMinimize = nullptr;
  // Free: the icon takes it, hides the main form to the tray, and gives it back.
  TCustomForm* Saved = Application->MainForm();
  auto* F = new TForm(nullptr);
  Application->SetMainForm(F);
  F->SetVisible(true);
  {
    auto T = Make(F);
    T->SetIconVisible(false);
    T->SetMinimizeToTray(true);
    ASSERT_TRUE(Application->OnMinimize != nullptr);
    Calls.clear();
    Application->OnMinimize(nullptr);
    EXPECT_FALSE(F->Visible());
    EXPECT_TRUE(T->IconVisible());
    ASSERT_FALSE(Calls.empty());
    EXPECT_EQ(Calls.back().Message, DWORD(NIM_ADD));
    // Back from the tray.
    T->ShowMainForm();
    EXPECT_TRUE(F->Visible());
    EXPECT_EQ(F->Tag(), -10000);
    MSG M;
    EXPECT_TRUE(PeekMessageW(&M, F->Handle(), SP_TRAY_RESTORED, SP_TRAY_RESTORED, PM_REMOVE));
  }
  EXPECT_TRUE(Application->OnMinimize == nullptr);
  Application->SetMainForm(Saved);
  F->SetVisible(false);
  delete F;
}

// Counts the messages a window gets, through a subclass of its own.
LRESULT CALLBACK CountingWatch(HWND W, UINT Msg, WPARAM Wp, LPARAM Lp, UINT_PTR, DWORD_PTR Ref) {
  if (Msg == WM_USER + 77) ++*reinterpret_cast<int*>(Ref);
  return DefSubclassProc(W, Msg, Wp, Lp);
}

TEST_F(TrayWin, OwnerWatchLeavesLaterHooksWorking) {
  auto* Owner = new TCustomControl(Host);
  Owner->SetParent(Host);
  Owner->HandleNeeded();
  auto T = Make(Owner);
  EXPECT_TRUE(T->WatchingOwner());
  // Another component watches the same window after the icon did.
  int Seen = 0;
  ASSERT_TRUE(SetWindowSubclass(Owner->Handle(), &CountingWatch, 1, reinterpret_cast<DWORD_PTR>(&Seen)));
  SendMessageW(Owner->Handle(), WM_USER + 77, 0, 0);
  EXPECT_EQ(Seen, 1);
  T.reset();
  SendMessageW(Owner->Handle(), WM_USER + 77, 0, 0);
  EXPECT_EQ(Seen, 2) << "the later hook survives the icon";
  RemoveWindowSubclass(Owner->Handle(), &CountingWatch, 1);
  // Freed with its owner: the watch goes with the window, the icon leaves the
  // tray.
  auto* Owner2 = new TCustomControl(Host);
  Owner2->SetParent(Host);
  Owner2->HandleNeeded();
  Make(Owner2).release();  // the owner frees it
  Calls.clear();
  delete Owner2;
  ASSERT_FALSE(Calls.empty());
  EXPECT_EQ(Calls.back().Message, DWORD(NIM_DELETE));
}

}  // namespace
