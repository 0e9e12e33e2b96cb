// The menus of a skinned form under real X input (xdotool): which clicks
// close an open popup menu, that a click on a level never deactivates the
// form, and where the keys go while a menu is open and after it closed.
#include "tests/skin/form/win/FormTestUtil.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

#include "classlib/StdCtrls.h"

using namespace formtest;

namespace {

// Runs xdotool with Args against the X display; false when it cannot run.
bool Xdo(std::vector<std::string> Args) {
  Args.insert(Args.begin(), "xdotool");
  std::vector<char*> Argv;
  for (std::string& A : Args) Argv.push_back(A.data());
  Argv.push_back(nullptr);
  pid_t Pid = 0;
  if (posix_spawnp(&Pid, "xdotool", nullptr, nullptr, Argv.data(), environ) != 0) return false;
  int Status = 0;
  pid_t Got;
  do Got = waitpid(Pid, &Status, 0);
  while (Got < 0 && errno == EINTR);
  if (Got == Pid) return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
  const DWORD Start = GetTickCount();
  while (kill(Pid, 0) == 0) {
    if (GetTickCount() - Start > 5000) return false;
    Sleep(2);
  }
  return true;
}

void PumpFor(DWORD Ms) {
  const DWORD Start = GetTickCount();
  while (GetTickCount() - Start < Ms) {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool ClickAt(Integer X, Integer Y) {
  return Xdo({"mousemove", std::to_string(X), std::to_string(Y)}) && Xdo({"click", "1"});
}

class FormMenus : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  }
};

}  // namespace

TEST_F(FormMenus, ClicksAndKeysWithAMenuOpen) {
  auto* F = new TLogForm();
  F->SetBounds(100, 100, 400, 300);
  auto* FS = new TspFormSkin(F);
  auto* Edit = new TEdit(F);
  Edit->SetParent(F);
  Edit->SetBounds(10, 10, 150, 24);
  auto* Panel = new TEdit(F);
  Panel->SetParent(F);
  Panel->SetBounds(10, 60, 150, 24);
  auto* Pm = new TspSkinPopupMenu(F);
  std::vector<String> Chosen;
  for (const char16_t* C : {u"&Alpha", u"&Beta", u"&Gamma"}) {
    auto* M = new TMenuItem(Pm);
    M->SetCaption(C);
    M->OnClick = [&Chosen, C](TObject*) { Chosen.push_back(C); };
    Pm->Items()->Add(M);
  }
  F->Show();
  SetForegroundWindow(F->Handle());
  PumpFor(300);
  Edit->SetFocus();
  PumpFor(100);
  ASSERT_EQ(GetActiveWindow(), F->Handle());
  TspSkinMenu* Menu = FS->SkinMenu;
  auto Open = [&] {
    Chosen.clear();
    const TPoint P = F->ClientToScreen(TPoint(200, 120));
    Pm->Popup(P.X, P.Y);
    PumpFor(120);
    F->Passed.clear();
  };
  auto Deactivated = [&] {
    for (UINT M : F->Passed)
      if (M == WM_ACTIVATE || M == WM_KILLFOCUS) return true;
    return false;
  };
  const struct {
    const char* Case;
    std::function<TPoint()> Where;
    bool Closes;
    bool ChoosesBeta;
  } Rows[] = {
      {"on an item",
       [&] {
         const TRect R = Menu->Level(0)->Items(1)->ObjectRect;
         return TPoint(Menu->Level(0)->Left() + R.Left + 10, Menu->Level(0)->Top() + R.Top + 5);
       },
       true, true},
      {"on the level's frame", [&] { return TPoint(Menu->Level(0)->Left() + 1, Menu->Level(0)->Top() + 1); }, false,
       false},
      {"on a child edit", [&] { return Panel->ClientToScreen(TPoint(20, 10)); }, true, false},
      {"on the client area", [&] { return F->ClientToScreen(TPoint(300, 250)); }, true, false},
  };
  for (const auto& R : Rows) {
    Open();
    ASSERT_TRUE(Menu->Visible()) << R.Case;
    const TPoint P = R.Where();
    ASSERT_TRUE(ClickAt(P.X, P.Y)) << "xdotool";
    PumpFor(250);
    EXPECT_EQ(Menu->Visible(), !R.Closes) << R.Case;
    EXPECT_EQ(Chosen, R.ChoosesBeta ? std::vector<String>{u"&Beta"} : std::vector<String>{}) << R.Case;
    if (R.ChoosesBeta || !R.Closes) {
      EXPECT_FALSE(Deactivated()) << R.Case;
    }
    if (Menu->Visible()) Menu->Hide();
    PumpFor(50);
  }
  // Keys: the focus stays in the edit, the menu gets them.
  Edit->SetFocus();
  Edit->SetText(u"");
  PumpFor(50);
  Open();
  ASSERT_TRUE(Xdo({"key", "x"}));
  PumpFor(150);
  EXPECT_EQ(Edit->Text(), u"");  // no WM_CHAR reached the edit
  EXPECT_TRUE(Menu->Visible());
  ASSERT_TRUE(Xdo({"key", "Down"}));
  PumpFor(150);
  EXPECT_EQ(Menu->Level(0)->ActiveItem, 1);
  ASSERT_TRUE(Xdo({"key", "Return"}));
  PumpFor(150);
  EXPECT_EQ(Chosen, std::vector<String>{u"&Beta"});
  EXPECT_FALSE(Menu->Visible());
  // Closed: the keys reach the edit again.
  ASSERT_TRUE(Xdo({"key", "a"}));
  PumpFor(150);
  EXPECT_EQ(Edit->Text(), u"a");
  // Escape on the only level ends the menu state and removes the hook.
  Open();
  ASSERT_TRUE(Xdo({"key", "Escape"}));
  PumpFor(150);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_FALSE(Application->MessageHooks().Installed(FS));
  ASSERT_TRUE(Xdo({"key", "b"}));
  PumpFor(150);
  EXPECT_EQ(Edit->Text(), u"ab");
  delete F;
  EXPECT_TRUE(Errors.empty());
}

// Messages of the form that end an open menu: its levels go and the menu
// state with its key hook ends.
TEST_F(FormTest, MessagesThatCloseTheMenu) {
  auto* F = new TLogForm();
  auto* FS = new TspFormSkin(F);
  auto* Pm = new TspSkinPopupMenu(F);
  auto* M = new TMenuItem(Pm);
  M->SetCaption(u"Item");
  Pm->Items()->Add(M);
  F->HandleNeeded();
  const struct {
    const char* Case;
    UINT Msg;
    WPARAM W;
    bool Closes;
  } Rows[] = {
      {"Alt tap / F10", WM_SYSCOMMAND, SC_KEYMENU, true},
      {"the application deactivated", WM_ACTIVATEAPP, FALSE, true},
      {"the application activated", WM_ACTIVATEAPP, TRUE, false},
      {"a press on the frame", WM_NCLBUTTONDOWN, HTCAPTION, true},
      {"moved", WM_MOVE, 0, true},
      {"a key", WM_KEYDOWN, 'A', false},
  };
  for (const auto& R : Rows) {
    Pm->Popup(200, 200);
    ASSERT_TRUE(FS->SkinMenu->Visible()) << R.Case;
    ASSERT_TRUE(Application->MessageHooks().Installed(FS)) << R.Case;
    F->Perform(R.Msg, R.W, 0);
    EXPECT_EQ(FS->SkinMenu->Visible(), !R.Closes) << R.Case;
    EXPECT_EQ(FS->SkinMenu->LevelCount(), R.Closes ? 0 : 1) << R.Case;
    EXPECT_EQ(Application->MessageHooks().Installed(FS), !R.Closes) << R.Case;
    if (FS->SkinMenu->Visible()) FS->SkinMenu->Hide();
    EXPECT_FALSE(Application->MessageHooks().Installed(FS)) << R.Case;
  }
  delete F;
  EXPECT_TRUE(Errors.empty());
}
