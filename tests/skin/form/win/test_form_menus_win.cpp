// The menus of a skinned form under real X input (xdotool): which clicks
// close an open popup menu, that a click on a level never deactivates the
// form, and where the keys go while a menu is open and after it closed.
#include "tests/skin/form/win/FormTestUtil.h"

#include <string>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "skin/controls/win/SkinTrayIcon.h"
#include "tests/common/Xdo.h"

using namespace formtest;
using lumigra_test::Xdo;

namespace {

// A modal dialog that a timer ends once it shows.
TForm* gModalDialog = nullptr;
void CALLBACK EndModalDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (gModalDialog && gModalDialog->Visible()) gModalDialog->SetModalResult(mrOk);
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
  auto* List = new TListBox(F);
  List->SetParent(F);
  List->SetBounds(180, 10, 120, 80);
  for (Integer I = 0; I < 40; ++I) List->Items()->Add(u"Line " + IntToStr(I));
  auto* Pm = new TspSkinPopupMenu(F);
  std::vector<String> Chosen;
  for (const char16_t* C : {u"&Alpha", u"&Beta", u"&Gamma"}) {
    auto* M = new TMenuItem(Pm);
    M->SetCaption(C);
    M->OnClick = [&Chosen, C](TObject*) { Chosen.push_back(C); };
    Pm->Items()->Add(M);
  }
  // Another window of the program, beside the form.
  auto* Other = new TForm(nullptr);
  Other->SetBounds(560, 100, 160, 120);
  Other->Show();
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
      {"on the frame's caption", [&] { return TPoint(F->Left() + 150, F->Top() + 8); }, true, false},
      {"on another window", [&] { return Other->ClientToScreen(TPoint(40, 30)); }, true, false},
  };
  for (const auto& R : Rows) {
    if (GetActiveWindow() != F->Handle()) {
      SetForegroundWindow(F->Handle());
      PumpFor(150);
      Edit->SetFocus();
      PumpFor(50);
    }
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
  // The form dragged by its caption: the press closes the menu, the form
  // moves.
  {
    Open();
    const TPoint P(F->Left() + 150, F->Top() + 8);
    const Integer OldLeft = F->Left();
    // The whole drag is queued before the form reads it, as a user's would be.
    const auto Str = [](Integer V) { return std::to_string(V); };
    ASSERT_TRUE(Xdo({"mousemove", Str(P.X), Str(P.Y), "sleep", "0.1", "mousedown", "1", "sleep", "0.1", "mousemove",
                     Str(P.X + 20), Str(P.Y + 5), "sleep", "0.1", "mousemove", Str(P.X + 40), Str(P.Y + 10), "sleep",
                     "0.1", "mouseup", "1"}));
    PumpFor(400);
    EXPECT_FALSE(Menu->Visible());
    EXPECT_FALSE(FS->InMenu);
    EXPECT_EQ(F->Left(), OldLeft + 40);
    F->SetBounds(100, 100, 400, 300);
    SetForegroundWindow(F->Handle());
    PumpFor(150);
  }
  // A command that opens a modal dialog: the menu is gone before the
  // dialog's loop runs, and the form's menu state has ended.
  {
    Edit->SetFocus();
    PumpFor(50);
    bool VisibleInCommand = true, InMenuInCommand = true;
    TModalResult Result = mrNone;
    Pm->Items()->Items(2)->OnClick = [&](TObject*) {
      VisibleInCommand = Menu->Visible();
      InMenuInCommand = FS->InMenu;
      TForm Dialog(nullptr);
      Dialog.SetBounds(150, 150, 200, 120);
      gModalDialog = &Dialog;
      const UINT_PTR T = SetTimer(nullptr, 0, 150, EndModalDialog);
      Result = Dialog.ShowModal();
      KillTimer(nullptr, T);
      gModalDialog = nullptr;
    };
    Open();
    const TRect R = Menu->Level(0)->Items(2)->ObjectRect;
    ASSERT_TRUE(ClickAt(Menu->Level(0)->Left() + R.Left + 10, Menu->Level(0)->Top() + R.Top + 5));
    PumpFor(400);
    EXPECT_EQ(Result, mrOk);
    EXPECT_FALSE(VisibleInCommand);
    EXPECT_FALSE(InMenuInCommand);
    EXPECT_FALSE(Menu->Visible());
    EXPECT_EQ(Menu->LevelCount(), 0);
    EXPECT_FALSE(Application->MessageHooks().Installed(FS));
    Pm->Items()->Items(2)->OnClick = [&Chosen](TObject*) { Chosen.push_back(u"&Gamma"); };
  }
  // The wheel over the list scrolls nothing while a menu is open, and
  // scrolls it afterwards.
  {
    List->SetFocus();
    PumpFor(50);
    Open();
    const TPoint P = List->ClientToScreen(TPoint(30, 30));
    ASSERT_TRUE(Xdo({"mousemove", std::to_string(P.X), std::to_string(P.Y)}) && Xdo({"click", "5"}));
    PumpFor(200);
    EXPECT_EQ(List->TopIndex(), 0);
    EXPECT_TRUE(Menu->Visible());
    Menu->Hide();
    PumpFor(50);
    ASSERT_TRUE(Xdo({"click", "5"}));
    PumpFor(200);
    EXPECT_GT(List->TopIndex(), 0);
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
  // A right click on the panel edit: WM_CONTEXTMENU opens its popup menu,
  // the skinned one, which returns at once.
  Panel->SetPopupMenu(Pm);
  PumpFor(50);
  {
    const TPoint P = Panel->ClientToScreen(TPoint(20, 10));
    ASSERT_TRUE(Xdo({"mousemove", std::to_string(P.X), std::to_string(P.Y)}) && Xdo({"click", "3"}));
    PumpFor(250);
    EXPECT_TRUE(Menu->Visible());
    Menu->Hide();
    Panel->SetPopupMenu(nullptr);
  }
  // A press on the frame's caption closes the menu.
  {
    Open();
    RECT W;
    GetWindowRect(F->Handle(), &W);
    ASSERT_TRUE(ClickAt(W.left + 60, W.top + 8));
    PumpFor(250);
    EXPECT_FALSE(Menu->Visible());
  }
  // Long press: the level opened while the button is held takes the mouse;
  // a release off the items chooses nothing and the menu stays; a release
  // on an item chooses it.
  Pm->SetSupportDirectlyMouseUp(true);
  for (bool OnItem : {false, true}) {
    Chosen.clear();
    const TPoint P = F->ClientToScreen(TPoint(300, 40));
    ASSERT_TRUE(Xdo({"mousemove", std::to_string(P.X), std::to_string(P.Y)}) && Xdo({"mousedown", "1"}));
    PumpFor(100);
    Pm->Popup(P.X, P.Y + 10);
    PumpFor(100);
    ASSERT_TRUE(Menu->Visible());
    EXPECT_EQ(GetCapture(), Menu->Level(0)->Handle());
    TPoint To = P;
    if (OnItem) {
      const TRect R = Menu->Level(0)->Items(2)->ObjectRect;
      To = TPoint(Menu->Level(0)->Left() + R.Left + 10, Menu->Level(0)->Top() + R.Top + 5);
    } else {
      To = TPoint(P.X - 150, P.Y + 100);
    }
    ASSERT_TRUE(Xdo({"mousemove", std::to_string(To.X), std::to_string(To.Y)}) && Xdo({"mouseup", "1"}));
    PumpFor(250);
    EXPECT_EQ(Menu->Visible(), !OnItem) << OnItem;
    EXPECT_EQ(Chosen, OnItem ? std::vector<String>{u"&Gamma"} : std::vector<String>{}) << OnItem;
    if (Menu->Visible()) Menu->Hide();
  }
  Pm->SetSupportDirectlyMouseUp(false);
  delete F;
  delete Other;
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

namespace {

std::vector<String> Names(TMenuItem* Root) {
  std::vector<String> N;
  for (Integer I = 0; I < Root->Count(); ++I)
    N.push_back(Root->Items(I)->Caption() == u"-" ? String(u"-") : Root->Items(I)->Name());
  return N;
}

}  // namespace

TEST_F(FormTest, SystemMenuItemsByState) {
  auto* F = new TLogForm();
  auto* FS = new TspFormSkin(F);
  const TspBorderIcons All =
      spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize | spbi::biRollUp | spbi::biMinimizeToTray;
  const struct {
    const char* Case;
    TspBorderIcons Icons;
    TWindowState State;
    bool RolledUp;
    std::vector<String> Want;
  } Rows[] = {
      {"normal", All, wsNormal, false,
       {u"DSF_MINITEM", u"DSF_MAXITEM", u"DSF_ROLLUP", u"DSF_MINTOTRAY", u"-", u"DSF_CLOSE"}},
      {"maximised", All, wsMaximized, false,
       {u"DSF_MINITEM", u"DSF_RESTORE", u"DSF_ROLLUP", u"DSF_MINTOTRAY", u"-", u"DSF_CLOSE"}},
      {"minimised", All, wsMinimized, false, {u"DSF_MAXITEM", u"DSF_RESTORE", u"DSF_MINTOTRAY", u"-", u"DSF_CLOSE"}},
      {"rolled up", All, wsNormal, true,
       {u"DSF_MINITEM", u"DSF_MAXITEM", u"DSF_RESTORE", u"DSF_MINTOTRAY", u"-", u"DSF_CLOSE"}},
      {"no icons", 0, wsNormal, false, {u"DSF_CLOSE"}},
      {"system menu only, maximised", spbi::biSystemMenu, wsMaximized, false, {u"DSF_RESTORE", u"-", u"DSF_CLOSE"}},
  };
  for (const auto& R : Rows) {
    FS->FBorderIcons = R.Icons;
    FS->FWindowState = R.State;
    FS->FRollUpState = R.RolledUp;
    TMenuItem* Root = FS->GetSystemMenuItems();
    EXPECT_EQ(Names(Root), R.Want) << R.Case;
    // The built-in texts without a text table; Close with its short-cut text.
    TMenuItem* Close = Root->Items(Root->Count() - 1);
    EXPECT_EQ(Close->Caption(), u"&Close") << R.Case;
    EXPECT_EQ(ShortCutToText(Close->ShortCut()), u"Alt+F4") << R.Case;
  }
  FS->FWindowState = wsNormal;
  FS->FRollUpState = false;
  FS->FBorderIcons = All;
  // Merged into the program's menu, twice: the same items once.
  auto* Own = new TPopupMenu(F);
  for (const char16_t* C : {u"&About", u"&Options"}) {
    auto* M = new TMenuItem(Own);
    M->SetCaption(C);
    M->SetName(C[1] == u'A' ? u"About" : u"Options");
    Own->Items()->Add(M);
  }
  FS->SetSystemMenu(Own);
  for (int Run = 0; Run < 2; ++Run) {
    FS->FWindowState = Run ? wsMaximized : wsNormal;
    const std::vector<String> Want =
        Run ? std::vector<String>{u"DSF_MINITEM", u"DSF_RESTORE", u"DSF_ROLLUP", u"DSF_MINTOTRAY", u"About", u"Options",
                                  u"DSF_CLOSE"}
            : std::vector<String>{u"DSF_MINITEM", u"DSF_MAXITEM", u"DSF_ROLLUP", u"DSF_MINTOTRAY", u"About", u"Options",
                                  u"DSF_CLOSE"};
    EXPECT_EQ(Names(FS->GetSystemMenuItems()), Want) << Run;
  }
  FS->FWindowState = wsNormal;
  FS->SetUseDefaultSysMenu(false);
  FS->SetSystemMenu(nullptr);
  Own->Items()->Clear();
  FS->SetSystemMenu(Own);
  EXPECT_TRUE(Names(FS->GetSystemMenuItems()).empty());
  FS->SetSystemMenu(nullptr);
  // The own menu again after a merged one: no clash of names.
  EXPECT_EQ(Names(FS->GetSystemMenuItems()).back(), u"DSF_CLOSE");
  // The tray menu: Restore, a separator, Close.
  EXPECT_EQ(Names(FS->SysTrayMenu()->Items()), (std::vector<String>{u"TRAY_DSF_RESTORE", u"-", u"TRAY_DSF_CLOSE"}));
  delete F;
  EXPECT_TRUE(Errors.empty());
}

// The form and its notification-area icon: the icon takes the form's tray
// menu and restores on a double click; the system menu's items minimise to
// the tray and the tray menu's Restore item brings the form back. Without an
// icon both ways do nothing; a freed icon is forgotten.
TEST_F(FormTest, TrayIconMinimisesAndRestores) {
  auto SavedShell = TspTrayIcon::ShellNotify;
  TspTrayIcon::ShellNotify = [](DWORD, NOTIFYICONDATAW*) { return TRUE; };
  auto* F = new TLogForm();
  auto* FS = new TspFormSkin(F);
  FS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMinimizeToTray);
  int Minimised = 0, Restored = 0;
  FS->OnMinimizeToTray = [&](TObject* S) {
    EXPECT_EQ(S, FS);
    ++Minimised;
  };
  FS->OnRestoreFromTray = [&](TObject*) { ++Restored; };
  auto Item = [](TMenuItem* Root, const String& Name) -> TMenuItem* {
    for (Integer I = 0; I < Root->Count(); ++I)
      if (Root->Items(I)->Name() == Name) return Root->Items(I);
    return nullptr;
  };
  TMenuItem* TrayRestore = Item(FS->SysTrayMenu()->Items(), u"TRAY_DSF_RESTORE");
  ASSERT_NE(TrayRestore, nullptr);
  // No icon: nothing happens.
  Item(FS->GetSystemMenuItems(), u"DSF_MINTOTRAY")->Click();
  TrayRestore->Click();
  EXPECT_EQ(Minimised + Restored, 0);

  // An icon with its own menu and double click keeps both.
  auto* Own = new TspTrayIcon(F);
  auto* OwnMenu = new TspSkinPopupMenu(F);
  Own->SetPopupMenu(OwnMenu);
  FS->SetTrayIcon(Own);
  EXPECT_EQ(Own->PopupMenu(), OwnMenu);
  EXPECT_FALSE(Own->OnDblClick);
  EXPECT_FALSE(Own->IconVisible());
  delete Own;
  EXPECT_EQ(FS->TrayIcon(), nullptr);

  auto* T = new TspTrayIcon(F);
  T->SetIconVisible(true);
  FS->SetTrayIcon(T);
  EXPECT_FALSE(T->IconVisible()) << "the icon shows only while the form is in the tray";
  EXPECT_EQ(T->PopupMenu(), FS->SysTrayMenu());
  ASSERT_TRUE(T->OnDblClick);

  const struct {
    const char* Way;
    std::function<void()> Minimise, Restore;
    bool AlwaysShow;
  } Rows[] = {
      {"system menu, tray menu", [&] { Item(FS->GetSystemMenuItems(), u"DSF_MINTOTRAY")->Click(); },
       [&] { TrayRestore->Click(); }, false},
      {"Minimize item while always to the tray, double click",
       [&] {
         FS->FAlwaysMinimizeToTray = true;
         Item(FS->GetSystemMenuItems(), u"DSF_MINITEM")->Click();
         FS->FAlwaysMinimizeToTray = false;
       },
       [&] { T->OnDblClick(T); }, false},
      {"icon kept", [&] { FS->MinimizeToTray(); }, [&] { FS->RestoreFromTray(); }, true},
  };
  for (auto& R : Rows) {
    Minimised = Restored = 0;
    FS->SetAlwaysShowInTray(R.AlwaysShow);
    R.Minimise();
    EXPECT_EQ(Minimised, 1) << R.Way;
    EXPECT_TRUE(T->MinimizeToTray()) << R.Way;
    T->SetIconVisible(true);  // as the icon's application hook does
    R.Restore();
    EXPECT_EQ(Restored, 1) << R.Way;
    EXPECT_FALSE(T->MinimizeToTray()) << R.Way;
    EXPECT_EQ(T->IconVisible(), R.AlwaysShow) << R.Way;
  }
  Application->Restore();
  delete F;
  TspTrayIcon::ShellNotify = SavedShell;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(FormTest, SystemMenuOpensSkinnedOnly) {
  TTempFolder Dir("formsysmenu");
  auto SD = LoadFixtureSkin(Dir);
  auto* F = new TLogForm();
  auto* FS = new TspFormSkin(F);
  FS->SetSkinData(SD.get());
  F->HandleNeeded();
  const TPoint At = F->ClientToScreen(TPoint(20, 20));
  FS->PopupSystemMenu(At.X, At.Y);
  ASSERT_TRUE(FS->SkinMenu->Visible());
  EXPECT_EQ(FS->SkinMenu->Level(0)->Left(), At.X);
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), At.Y);
  FS->SkinMenu->Hide();
  // Disabled: Alt+Space shows nothing.
  FS->SetDisableSystemMenu(true);
  MSG Msg{F->Handle(), WM_SYSKEYDOWN, VK_SPACE, 0x20000000, 0, {0, 0}};
  bool Handled = false;
  F->OnShortCut(Msg, Handled);
  EXPECT_FALSE(FS->SkinMenu->Visible());
  // The native system menu never exists for Wine to show.
  EXPECT_EQ(GetWindowLongW(F->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
  delete F;
  EXPECT_TRUE(Errors.empty());
}

// A form's menu hook and a picture grid's hook closed in either order: the
// keys reach an edit again afterwards.
TEST_F(FormTest, MenuHooksRemovedOutOfOrder) {
  auto* F = new TLogForm();
  auto* FS = new TspFormSkin(F);
  auto* Edit = new TEdit(F);
  Edit->SetParent(F);
  Edit->SetBounds(10, 10, 100, 22);
  auto* Pm = new TspSkinPopupMenu(F);
  auto* M = new TMenuItem(Pm);
  M->SetCaption(u"Item");
  Pm->Items()->Add(M);
  auto* List = new TImageList(F);
  List->SetSize(8, 8);
  auto Pic = skintest::FlatPicture(8, 8, clRed);
  List->Add(Pic.get(), nullptr);
  auto* Im = new TspSkinImagesMenu(F);
  Im->SetImages(List);
  Im->ImagesItems()->Add()->SetImageIndex(0);
  F->HandleNeeded();
  auto Type = [&](WPARAM Key) {
    PostMessageW(Edit->Handle(), WM_KEYDOWN, Key, 1);
    PostMessageW(Edit->Handle(), WM_KEYUP, Key, 0xC0000001);
    for (int I = 0; I < 5; ++I) Application->ProcessMessages();
  };
  for (bool GridFirst : {false, true}) {
    Edit->SetText(u"");
    Pm->Popup(300, 300);
    ASSERT_TRUE(Im->PopupFromRect(TRect(300, 300, 320, 320)));
    Type('A');
    EXPECT_EQ(Edit->Text(), u"") << GridFirst;  // the newest hook (the grid's) took it
    if (GridFirst) {
      Im->Hide();
      FS->SkinMenu->Hide();
    } else {
      FS->SkinMenu->Hide();
      Type('B');
      EXPECT_EQ(Edit->Text(), u"") << GridFirst;  // the grid still has the keys
      Im->Hide();
    }
    Type('C');
    EXPECT_EQ(Edit->Text(), u"c") << GridFirst;
  }
  delete F;
  EXPECT_TRUE(Errors.empty());
}

// The form's menu settings reach its skinned menu: item height, the
// translucency of the popup message window's menus with its fade-in.
TEST_F(FormTest, MenuSettingsOfTheForm) {
  auto* F = new TLogForm();
  auto* FS = new TspFormSkin(F);
  auto* Pm = new TspSkinPopupMenu(F);
  auto* M = new TMenuItem(Pm);
  M->SetCaption(u"Item");
  Pm->Items()->Add(M);
  F->HandleNeeded();
  FS->SetDefMenuItemHeight(0);
  EXPECT_EQ(FS->DefMenuItemHeight(), 20);
  FS->SetDefMenuItemHeight(24);
  FS->SetMaxMenuItemsInWindow(-1);
  EXPECT_EQ(FS->MaxMenuItemsInWindow(), 0);
  FS->SetMenusAlphaBlend(true);
  FS->SetMenusAlphaBlendAnimation(true);
  FS->SetMenusAlphaBlendValue(180);
  Pm->Popup(200, 200);
  ASSERT_EQ(FS->SkinMenu->LevelCount(), 1);
  TspSkinPopupWindow* L = FS->SkinMenu->Level(0);
  EXPECT_EQ(L->Height(), 24 + 6);
  EXPECT_NE(GetWindowLongW(L->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE Alpha = 0;
  DWORD Flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(L->Handle(), nullptr, &Alpha, &Flags));
  EXPECT_EQ(Alpha, 180);  // the fade has run to the end
  FS->SkinMenu->Hide();
  delete F;
  EXPECT_TRUE(Errors.empty());
}
