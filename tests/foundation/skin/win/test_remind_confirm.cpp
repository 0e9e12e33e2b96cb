// The notice dialog: its layout from the layout numbers, AdjustLayout's
// effects, captions and fonts in both languages, the ways out with
// ActiveDialogHandle set and cleared, and the picture.
#include "tests/classlib/win/test_controls_util.h"

#include <functional>

#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HyLangTable.h"
#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/win/HyLangRes.h"
#include "foundation/app/win/HySysUtils.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "common/RemoveTree.h"
#include "foundation/skin/win/HySkinForms.h"
#include "foundation/skin/win/RemindConfirmForm.h"
#include "rtl/ScopeGuard.h"
#include "tests/skin/controls/win/CtlTestUtil.h"
#include "tests/common/Screens.h"

namespace {

class RemindConfirm : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = LangIndex;
    LangIndex = 2;
    ASSERT_TRUE(LoadLanguageTable());
  }
  void TearDown() override {
    LangIndex = Saved;
    ActiveDialogHandle = nullptr;
  }
  Integer Saved = 2;
};

String Lang(Integer G, Integer I) {
  String S;
  GetLangText(G, I, false, S);
  return S;
}

std::function<void()>* PendingDuring = nullptr;
void CALLBACK DuringTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (!PendingDuring) return;
  auto F = *PendingDuring;
  PendingDuring = nullptr;
  F();
}
TModalResult RunModal(TfrmRemindConfirm* F, std::function<void()> During) {
  PendingDuring = &During;
  SetTimer(nullptr, 0, 30, DuringTimer);
  const TModalResult R = F->ShowModal();
  PendingDuring = nullptr;
  return R;
}

// Without the program's scheme the dialog keeps the default look; with it the
// dialog and its buttons take the scheme as they are made.
TEST_F(RemindConfirm, TakesTheProgramsSchemeWhenMade) {
  {
    auto* F = new TfrmRemindConfirm(nullptr);
    EXPECT_EQ(F->spFormSkin1->SkinData(), nullptr);
    EXPECT_EQ(F->btnContinue->SkinData(), nullptr);
    delete F;
  }
  auto SD = ctl::MadeScheme(u"Dawn");
  ASSERT_FALSE(SD->Empty);
  AppSkinData = SD.get();
  TFinally Reset([] { AppSkinData = nullptr; });
  auto* F = new TfrmRemindConfirm(nullptr);
  EXPECT_EQ(F->spFormSkin1->SkinData(), SD.get());
  EXPECT_EQ(F->btnContinue->SkinData(), SD.get());
  delete F;
}

TEST_F(RemindConfirm, LayoutCaptionsAndAdjustLayout) {
  auto* F = new TfrmRemindConfirm(nullptr);
  EXPECT_EQ(ActiveDialogHandle, F->Handle());
  EXPECT_EQ(F->ClientWidth(), 393);
  EXPECT_EQ(F->ClientHeight(), 138 + 53);
  EXPECT_EQ(F->pnlMsg->Height(), 138);
  EXPECT_EQ(F->pnlButton->Top(), 138);
  EXPECT_EQ(F->Bevel2->BoundsRect(), TRect(0, 0, 3, 138));
  EXPECT_EQ(F->Image1->BoundsRect(), TRect(3, 0, 58, 138));
  EXPECT_EQ(F->Bevel1->BoundsRect(), TRect(378, 0, 393, 138));
  EXPECT_EQ(F->lblMsg->BoundsRect(), TRect(58, 0, 378, 138));
  EXPECT_EQ(F->chkNotRemind->BoundsRect(), TRect(13, 17, 206, 37));
  EXPECT_EQ(F->btnCancel->BoundsRect(), TRect(219, 15, 279, 39));
  EXPECT_EQ(F->btnContinue->BoundsRect(), TRect(294, 15, 370, 39));
  EXPECT_TRUE(F->btnContinue->Default());
  EXPECT_TRUE(F->lblMsg->WordWrap());
  EXPECT_EQ(F->lblMsg->Font()->Height(), -12);
  EXPECT_EQ(F->lblMsg->Font()->Color(), clMaroon);
  EXPECT_EQ(F->Caption(), Lang(0, 1));
  EXPECT_EQ(F->chkNotRemind->Caption(), Lang(0, 57));
  EXPECT_EQ(F->btnCancel->Caption(), Lang(0, 7));
  EXPECT_EQ(F->btnContinue->Caption(), Lang(0, 58));
  EXPECT_FALSE(Lang(0, 58).empty());
  ASSERT_NE(F->Image1->Picture()->Graphic(), nullptr);
  EXPECT_EQ(F->Image1->Picture()->Width(), 48);
  EXPECT_TRUE(F->Image1->Center());
  F->AdjustLayout(70, true, false, taCenter, true, true);
  EXPECT_EQ(F->ClientHeight(), 123);
  EXPECT_EQ(F->pnlMsg->Height(), 70);
  EXPECT_FALSE(F->btnCancel->Visible());
  EXPECT_EQ(F->lblMsg->Alignment(), taCenter);
  EXPECT_TRUE(F->chkNotRemind->Visible());
  EXPECT_TRUE(F->chkNotRemind->Checked());
  EXPECT_EQ(F->btnContinue->Caption(), Lang(0, 59));
  F->AdjustLayout(100, false, true, taLeftJustify, false, false);
  EXPECT_EQ(F->ClientHeight(), 153);
  EXPECT_TRUE(F->btnCancel->Visible());
  EXPECT_FALSE(F->chkNotRemind->Visible());
  EXPECT_FALSE(F->chkNotRemind->Checked());
  EXPECT_EQ(F->btnContinue->Caption(), Lang(0, 59));  // stays until a new dialog
  delete F;
  EXPECT_EQ(ActiveDialogHandle, nullptr);
}

TEST_F(RemindConfirm, ChineseFontsAndCaptions) {
  LangIndex = 0;
  auto* F = new TfrmRemindConfirm(nullptr);
  const String YaHei = u"\u5FAE\u8F6F\u96C5\u9ED1";
  EXPECT_EQ(F->Font()->Name(), YaHei);
  EXPECT_EQ(F->Font()->Size(), 9);
  EXPECT_EQ(F->btnContinue->DefaultFont()->Name(), YaHei);
  EXPECT_EQ(F->chkNotRemind->DefaultFont()->Name(), YaHei);
  EXPECT_EQ(F->lblMsg->Font()->Name(), YaHei);
  EXPECT_EQ(F->spFormSkin1->DefCaptionFont()->Name(), YaHei);
  EXPECT_EQ(F->spFormSkin1->DefCaptionFont()->Size(), 9);
  EXPECT_EQ(F->btnContinue->Caption(), Lang(0, 58));
  EXPECT_NE(Lang(0, 58), ([] {
              LangIndex = 2;
              String S = Lang(0, 58);
              LangIndex = 0;
              return S;
            })());
  F->lblMsg->SetCaption(Lang(0, 1));
  F->AdjustLayout(70, false, true, taLeftJustify, true, false);
  F->Show();
  ctltest::Pump();
  lumigra_test::SaveWindowScreen(F->Handle(), "remind-confirm-zh", "default");
  delete F;
}

// The dialog's main layouts in the default look and in each made scheme:
// the skin reaches the form and its buttons as it is made.
TEST_F(RemindConfirm, LayoutsInEveryScheme) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  for (const auto& [Scheme, Skin] : ctl::DefaultAndMadeSchemes(Loaded)) {
    SCOPED_TRACE(ToUtf8(Scheme));
    AppSkinData = Skin;
    TFinally Reset([] { AppSkinData = nullptr; });
    std::string Folder;
    for (Char C : Scheme) Folder += char(C);
    struct Variant {
      const char* Name;
      Integer Height;
      bool Checked, Cancel;
      TAlignment Align;
      bool CheckVisible, CloseButton;
    };
    for (const Variant& V : {Variant{"remind-confirm-ask", 70, false, true, taLeftJustify, true, false},
                             Variant{"remind-confirm-close", 70, true, false, taCenter, true, true},
                             Variant{"remind-confirm-tall", 120, false, true, taLeftJustify, false, false}}) {
      auto* F = new TfrmRemindConfirm(nullptr);
      EXPECT_EQ(F->spFormSkin1->SkinData(), Skin);
      EXPECT_EQ(F->btnContinue->SkinData(), Skin);
      F->lblMsg->SetCaption(u"A notice for the user, long enough to wrap over two lines of the message panel.");
      F->AdjustLayout(V.Height, V.Checked, V.Cancel, V.Align, V.CheckVisible, V.CloseButton);
      EXPECT_EQ(F->ClientHeight(), V.Height + 53);
      EXPECT_EQ(F->ClientWidth(), 393);
      F->Show();
      ctltest::Pump();
      EXPECT_EQ(F->ClientWidth(), 393);
      EXPECT_EQ(F->ClientHeight(), V.Height + 53);
      // The default button lies wholly inside the client.
      EXPECT_LE(F->btnContinue->Left() + F->btnContinue->Width(), F->ClientWidth());
      lumigra_test::SaveWindowScreen(F->Handle(), V.Name, Folder);
      delete F;
    }
  }
}

// A first start under a private profile in the locale the test runs in: the
// dialog speaks the language the code page chose, with that language's
// fonts. Run by ctest under LANG=zh_CN.UTF-8 and LANG=en_US.UTF-8 with
// LUMIGRA_EXPECT_LANG set to "zh" or "en"; without it the expectation
// follows the code page.
TEST(RemindConfirmLocale, SpeaksTheLanguageOfTheCodePage) {
  const String Root = GetTempDirectory() + u"lumigra-remind-" + IntToStr(RandomInt(1 << 30));
  ASSERT_TRUE(ForceDirectories(Root + u"\\appdata"));
  const String OldAppData = GetEnvVar(u"APPDATA");
  ::SetEnvironmentVariableW(L"APPDATA", reinterpret_cast<LPCWSTR>((Root + u"\\appdata").c_str()));
  const Integer SavedLang = LangIndex;
  AppInit(u"LumigraBas", Root + u"\\data");
  const Integer Column = LangIndex;
  ASSERT_TRUE(LoadLanguageTable());
  const char* Expect = std::getenv("LUMIGRA_EXPECT_LANG");
  const std::string Want = Expect ? Expect : (::GetACP() == 936 ? "zh" : "en");
  const String YaHei = u"\u5FAE\u8F6F\u96C5\u9ED1";
  auto* F = new TfrmRemindConfirm(nullptr);
  EXPECT_EQ(Column, Want == "zh" ? 0 : 2);
  if (Want == "zh") {
    EXPECT_EQ(F->btnCancel->Caption(), u"\u53D6\u6D88");  // the Chinese "Cancel"
    EXPECT_EQ(F->Font()->Name(), YaHei);
    EXPECT_EQ(F->lblMsg->Font()->Name(), YaHei);
  } else {
    EXPECT_EQ(F->btnCancel->Caption(), u"Cancel");
    EXPECT_NE(F->Font()->Name(), YaHei);
  }
  EXPECT_EQ(F->btnContinue->Caption(), Lang(0, 58));
  EXPECT_EQ(F->Caption(), Lang(0, 1));
  F->lblMsg->SetCaption(Lang(0, 1));
  F->AdjustLayout(70, false, true, taLeftJustify, true, false);
  F->Show();
  ctltest::Pump();
  lumigra_test::SaveWindowScreen(F->Handle(), "remind-confirm-locale-" + Want, "default");
  delete F;
  ::SetEnvironmentVariableW(L"APPDATA", OldAppData.empty() ? nullptr : reinterpret_cast<LPCWSTR>(OldAppData.c_str()));
  FreeAndNil(ConfigDT);
  FreeAndNil(AppShareRow);
  FreeLanguageTable();
  LangIndex = SavedLang;
  ActiveDialogHandle = nullptr;
  RemoveTree(Root);
}

TEST_F(RemindConfirm, WaysOut) {
  // Enter: the default button, OK; the check box is read afterwards.
  auto* F = new TfrmRemindConfirm(nullptr);
  F->lblMsg->SetCaption(u"A notice for the user, long enough to wrap over two lines of the message panel.");
  F->AdjustLayout(70, false, true, taLeftJustify, true, false);
  bool Focused = false;
  EXPECT_EQ(RunModal(F,
                     [&] {
                       EXPECT_EQ(ActiveDialogHandle, F->Handle());
                       Focused = F->btnContinue->Focused();
                       lumigra_test::SaveWindowScreen(F->Handle(), "remind-confirm-en", "default");
                       F->chkNotRemind->SetChecked(true);
                       PostMessageW(F->btnContinue->Handle(), WM_KEYDOWN, VK_RETURN, 0);
                       PostMessageW(F->btnContinue->Handle(), WM_KEYUP, VK_RETURN, 0xC0000000);
                     }),
            mrOk);
  EXPECT_TRUE(Focused);
  EXPECT_TRUE(F->chkNotRemind->Checked());
  EXPECT_EQ(ActiveDialogHandle, nullptr);
  // Cancel button.
  EXPECT_EQ(RunModal(F, [&] { F->btnCancel->ButtonClick(); }), mrCancel);
  EXPECT_EQ(ActiveDialogHandle, nullptr);
  // The window's close (the frame's close button): Cancel.
  EXPECT_EQ(RunModal(F,
                     [&] {
                       EXPECT_EQ(ActiveDialogHandle, F->Handle());
                       PostMessageW(F->Handle(), WM_CLOSE, 0, 0);
                     }),
            mrCancel);
  EXPECT_EQ(ActiveDialogHandle, nullptr);
  delete F;
}

}  // namespace
