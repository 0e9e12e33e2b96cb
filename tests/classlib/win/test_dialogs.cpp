// Common dialogs driven through Wine's own dialogs: a timer finds the open
// dialog, types a name, picks a filter and presses OK or Cancel. Also the
// filter text and the parsing of the names a dialog returns.
#include "tests/classlib/win/test_controls_util.h"

#include <functional>

#include "classlib/Dialogs.h"

using namespace ctltest;

// ---------------------------------------------------------------------------
// Filter text and returned names

TEST(DialogNames, FilterBecomesNulSeparated) {
  std::vector<WCHAR> F = MakeDialogFilter(u"Pictures (*.png;*.bmp)|*.png;*.bmp|All|*.*");
  String S(reinterpret_cast<const Char*>(F.data()), F.size());
  EXPECT_EQ(S, String(u"Pictures (*.png;*.bmp)\0*.png;*.bmp\0All\0*.*\0\0", 44));
  EXPECT_TRUE(MakeDialogFilter(u"").empty());
}

TEST(DialogNames, ParsesSingleAndMultipleChoices) {
  struct Case {
    String Buffer;  // as the dialog leaves it (the rest of the buffer is NULs)
    bool Multi;
    std::vector<String> Expected;
  } Cases[] = {
      {String(u"C:\\pics\\a.png\0\0", 16), false, {u"C:\\pics\\a.png"}},
      {String(u"C:\\pics\\a.png\0\0", 16), true, {u"C:\\pics\\a.png"}},
      {String(u"C:\\pics\0a.png\0b c.bmp\0\0", 23), true, {u"C:\\pics\\a.png", u"C:\\pics\\b c.bmp"}},
      {String(u"C:\\\0a.png\0b.png\0\0", 17), true, {u"C:\\a.png", u"C:\\b.png"}},
      {String(u"C:\\pics\0a.png\0b.png\0\0", 21), false, {u"C:\\pics"}},  // a single choice ignores the rest
      {String(u"C:\\图片\0相册.png\0\0", 13), true, {u"C:\\图片\\相册.png"}},
      {String(u"\0\0", 2), true, {}},
  };
  for (const auto& C : Cases) {
    std::vector<WCHAR> Buf(C.Buffer.begin(), C.Buffer.end());
    Buf.resize(Buf.size() + 8, 0);
    EXPECT_EQ(ParseDialogFileNames(Buf.data(), Buf.size(), C.Multi), C.Expected) << ToUtf8(C.Buffer);
  }
  // A buffer without its closing NULs is read only up to its end.
  const WCHAR Cut[] = {'C', ':', '\\', 'd', 0, 'a', 'b'};
  EXPECT_EQ(ParseDialogFileNames(Cut, 7, true), (std::vector<String>{u"C:\\d\\ab"}));
  EXPECT_TRUE(ParseDialogFileNames(nullptr, 0, true).empty());
}

// ---------------------------------------------------------------------------
// Driving the real dialogs

namespace {

// Step to run on the first visible dialog of this thread.
std::function<void(HWND)> GDialogAction;
int GDialogTicks = 0;

BOOL CALLBACK FindDialog(HWND Wnd, LPARAM Out) {
  WCHAR Class[32] = {};
  GetClassNameW(Wnd, Class, 32);
  if (IsWindowVisible(Wnd) && String(reinterpret_cast<const Char*>(Class)) == u"#32770") {
    *reinterpret_cast<HWND*>(Out) = Wnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR Id, DWORD) {
  HWND Dlg = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&Dlg));
  if (!Dlg) {
    if (++GDialogTicks > 300) KillTimer(nullptr, Id);  // never open: give up (the test then fails)
    return;
  }
  KillTimer(nullptr, Id);
  auto Action = std::move(GDialogAction);
  GDialogAction = nullptr;
  if (Action) Action(Dlg);
}

void WhenDialogOpens(std::function<void(HWND)> Action) {
  GDialogAction = std::move(Action);
  GDialogTicks = 0;
  SetTimer(nullptr, 0, 50, DriveDialog);
}

void Press(HWND Dlg, int Id) { PostMessageW(Dlg, WM_COMMAND, MAKEWPARAM(Id, BN_CLICKED), LPARAM(GetDlgItem(Dlg, Id))); }

// The file-name field of Wine's explorer-style dialogs (a combo box, or an
// edit in older templates).
void TypeName(HWND Dlg, const String& Name) {
  const int Ids[] = {0x47C /* cmb13 */, 0x480 /* edt1 */};
  for (int Id : Ids)
    if (HWND C = GetDlgItem(Dlg, Id)) {
      SetWindowTextW(C, reinterpret_cast<const WCHAR*>(Name.c_str()));
      return;
    }
  ADD_FAILURE() << "no file name field";
}

// Picks filter number Index (0-based) in the type combo box, as a user would.
void PickFilter(HWND Dlg, int Index) {
  HWND Combo = GetDlgItem(Dlg, 0x470 /* cmb1 */);
  ASSERT_NE(Combo, nullptr);
  SendMessageW(Combo, CB_SETCURSEL, WPARAM(Index), 0);
  SendMessageW(Dlg, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), LPARAM(Combo));
}

String CurrentDir() {
  WCHAR Buf[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, Buf);
  return String(reinterpret_cast<const Char*>(Buf));
}

// A fresh folder under the temp folder with a few files.
class DialogRun : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    WCHAR Tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, Tmp);
    Dir = String(reinterpret_cast<const Char*>(Tmp)) + u"lumigra_dlg_" + IntToStr(GetTickCount());
    CreateDirectoryW(reinterpret_cast<const WCHAR*>(Dir.c_str()), nullptr);
    // The long form, as the dialogs give it back.
    WCHAR Long[MAX_PATH] = {};
    GetLongPathNameW(reinterpret_cast<const WCHAR*>(Dir.c_str()), Long, MAX_PATH);
    Dir = String(reinterpret_cast<const Char*>(Long));
    for (const char16_t* N : {u"a.txt", u"b.txt", u"图.txt"}) {
      String Path = Dir + u"\\" + N;
      HANDLE F = CreateFileW(reinterpret_cast<const WCHAR*>(Path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             0, nullptr);
      CloseHandle(F);
      Made.push_back(Path);
    }
    WCHAR Here[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, Here);
    Saved = String(reinterpret_cast<const Char*>(Here));
    // Start elsewhere than the folder the dialogs choose from.
    WCHAR Win[MAX_PATH] = {};
    GetWindowsDirectoryW(Win, MAX_PATH);
    Elsewhere = String(reinterpret_cast<const Char*>(Win));
    SetCurrentDirectoryW(Win);
  }
  void TearDown() override {
    SetCurrentDirectoryW(reinterpret_cast<const WCHAR*>(Saved.c_str()));
    for (const String& P : Made) DeleteFileW(reinterpret_cast<const WCHAR*>(P.c_str()));
    for (const char16_t* N : {u"\\out.png", u"\\out.bmp", u"\\out"}) {
      String P = Dir + N;
      DeleteFileW(reinterpret_cast<const WCHAR*>(P.c_str()));
    }
    RemoveDirectoryW(reinterpret_cast<const WCHAR*>(Dir.c_str()));
    AppFixture::TearDown();
  }
  String Dir, Saved, Elsewhere;
  std::vector<String> Made;
};

}  // namespace

TEST_F(DialogRun, OpenChoosesAFileAndMovesTheCurrentDirectory) {
  TOpenDialog D(nullptr);
  D.SetInitialDir(Dir);
  D.SetFilter(u"Text|*.txt|All|*.*");
  D.SetFilterIndex(2);
  D.SetOptions(D.Options() | ofFileMustExist);
  WhenDialogOpens([](HWND Dlg) {
    TypeName(Dlg, u"a.txt");
    Press(Dlg, IDOK);
  });
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(ToUtf8(D.FileName()), ToUtf8(Dir + u"\\a.txt"));
  EXPECT_EQ(D.FilterIndex(), 2);
  ASSERT_EQ(D.Files()->Count(), 1);
  EXPECT_EQ(ToUtf8(D.Files()->Strings(0)), ToUtf8(D.FileName()));
  EXPECT_EQ(ToUtf8(CurrentDir()), ToUtf8(Dir));
}

TEST_F(DialogRun, NoChangeDirKeepsTheCurrentDirectory) {
  TOpenDialog D(nullptr);
  D.SetInitialDir(Dir);
  D.SetOptions(D.Options() | ofNoChangeDir);
  WhenDialogOpens([](HWND Dlg) {
    TypeName(Dlg, u"图.txt");
    Press(Dlg, IDOK);
  });
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(ToUtf8(D.FileName()), ToUtf8(Dir + u"\\图.txt"));
  EXPECT_EQ(ToUtf8(CurrentDir()), ToUtf8(Elsewhere));
}

TEST_F(DialogRun, MultiSelectGivesEveryFile) {
  TOpenDialog D(nullptr);
  D.SetInitialDir(Dir);
  D.SetOptions(D.Options() | ofAllowMultiSelect | ofNoChangeDir);
  WhenDialogOpens([](HWND Dlg) {
    TypeName(Dlg, u"\"a.txt\" \"b.txt\"");
    Press(Dlg, IDOK);
  });
  ASSERT_TRUE(D.Execute());
  ASSERT_EQ(D.Files()->Count(), 2);
  EXPECT_EQ(ToUtf8(D.Files()->Strings(0)), ToUtf8(Dir + u"\\a.txt"));
  EXPECT_EQ(ToUtf8(D.Files()->Strings(1)), ToUtf8(Dir + u"\\b.txt"));
  EXPECT_EQ(ToUtf8(D.FileName()), ToUtf8(Dir + u"\\a.txt"));
}

TEST_F(DialogRun, CancelLeavesEverythingAsItWas) {
  TOpenDialog D(nullptr);
  D.SetInitialDir(Dir);
  D.SetFileName(u"keep.me");
  D.SetFilterIndex(1);
  WhenDialogOpens([](HWND Dlg) { Press(Dlg, IDCANCEL); });
  EXPECT_FALSE(D.Execute());
  EXPECT_EQ(ToUtf8(D.FileName()), "keep.me");
  EXPECT_EQ(D.Files()->Count(), 0);
  EXPECT_EQ(ToUtf8(CurrentDir()), ToUtf8(Elsewhere));
}

TEST_F(DialogRun, SaveAddsTheExtensionAndReadsBackTheChosenFilter) {
  TSaveDialog D(nullptr);
  D.SetInitialDir(Dir);
  D.SetFilter(u"PNG|*.png|Bitmap|*.bmp");
  D.SetFilterIndex(1);
  D.SetDefaultExt(u".png");
  EXPECT_EQ(ToUtf8(D.DefaultExt()), "png");
  WhenDialogOpens([](HWND Dlg) {
    PickFilter(Dlg, 1);  // the user switches to "Bitmap"
    TypeName(Dlg, u"out");
    Press(Dlg, IDOK);
  });
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.FilterIndex(), 2);
  // The name gets an extension: the chosen filter's, as Wine's dialog does.
  EXPECT_EQ(ToUtf8(D.FileName()), ToUtf8(Dir + u"\\out.bmp"));
  EXPECT_EQ(ToUtf8(CurrentDir()), ToUtf8(Dir));
}

TEST_F(DialogRun, FolderPickerCancelAndOk) {
  String Path = u"unchanged";
  WhenDialogOpens([](HWND Dlg) { Press(Dlg, IDCANCEL); });
  EXPECT_FALSE(BrowseForFolderDialog(nullptr, u"Choose", Path));
  EXPECT_EQ(Path, u"");

  // Rooted at a file-system folder, OK returns that folder.
  WCHAR Docs[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, Docs), S_OK);
  WhenDialogOpens([](HWND Dlg) { Press(Dlg, IDOK); });
  EXPECT_TRUE(BrowseForFolderDialog(nullptr, u"Choose", Path, CSIDL_PERSONAL));
  EXPECT_EQ(ToUtf8(Path), ToUtf8(String(reinterpret_cast<const Char*>(Docs))));
}
