// The edit base and the numeric inner edit in a real window: Enter and Esc
// reach the dialog's buttons and never the text, read-only and a disabled
// editor refuse every way of changing the text, the numeric filter beeps
// once per refusal (once per paste), Up/Down and the wheel become events,
// the context menu's items and their enabled states.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "classlib/Clipbrd.h"
#include "skin/boxes/SkinBoxCtrls.h"

using namespace ctl;

namespace {

class EditBaseWin : public SkinCtlTest {
 protected:
  template <class T>
  T* Make(const String& Text = u"") {
    auto* E = new T(Host);
    E->SetParent(Host);
    E->SetBounds(10, 10, 120, 20);
    E->HandleNeeded();
    E->SetText(Text);
    E->OnChange = [this](TObject*) { ++Changes; };
    return E;
  }
  static void Char(TWinControl* E, Char C) { SendMessageW(E->Handle(), WM_CHAR, C, 1); }
  static void SetClipboardText(const String& S) { Clipboard()->SetAsText(S); }
  int Changes = 0;
};

TEST_F(EditBaseWin, WindowStyleAndMargins) {
  auto* E = Make<TspCustomEdit>(u"abc");
  const LONG Style = GetWindowLongW(E->Handle(), GWL_STYLE), Ex = GetWindowLongW(E->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(Style & ES_MULTILINE);
  EXPECT_TRUE(Style & ES_AUTOHSCROLL);
  EXPECT_FALSE(Style & WS_BORDER);
  EXPECT_FALSE(Ex & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(Ex & WS_EX_TRANSPARENT);
  const LRESULT M = SendMessageW(E->Handle(), EM_GETMARGINS, 0, 0);
  EXPECT_EQ(LOWORD(M), 2);
  EXPECT_EQ(HIWORD(M), 0);
  E->SetEditTransparent(true);
  EXPECT_TRUE(GetWindowLongW(E->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_EQ(E->Text(), u"abc");
  E->SetPasswordChar(u'*');
  EXPECT_TRUE(GetWindowLongW(E->Handle(), GWL_STYLE) & ES_PASSWORD);
  EXPECT_FALSE(GetWindowLongW(E->Handle(), GWL_STYLE) & ES_MULTILINE);
}

TEST_F(EditBaseWin, EnterAndEscapeGoToTheDialogButtons) {
  int Ok = 0, Cancel = 0, Keys = 0;
  auto* B1 = new TspSkinButton(Host);
  B1->SetParent(Host);
  B1->SetBounds(10, 50, 75, 25);
  B1->SetDefault(true);
  B1->OnClick = [&](TObject*) { ++Ok; };
  auto* B2 = new TspSkinButton(Host);
  B2->SetParent(Host);
  B2->SetBounds(100, 50, 75, 25);
  B2->SetCancel(true);
  B2->OnClick = [&](TObject*) { ++Cancel; };
  auto* E = Make<TspCustomEdit>(u"ab");
  E->OnKeyPress = [&](TObject*, ::Char& K) {
    ++Keys;
    K = u'x';  // a copy: no effect on the text
  };
  E->SetFocus();
  Pump();
  Char(E, 13);
  Pump();
  EXPECT_EQ(Ok, 1);
  EXPECT_EQ(E->Text(), u"ab");
  Char(E, 27);
  Pump();
  EXPECT_EQ(Cancel, 1);
  EXPECT_EQ(Keys, 2);
  EXPECT_EQ(E->Text(), u"ab");
  EXPECT_EQ(Changes, 0);
}

TEST_F(EditBaseWin, ReadOnlyAndDisabledEditorRefuseEveryChange) {
  struct Row {
    const char* Name;
    bool ReadOnly, EditorEnabled;
  };
  const Row Rows[] = {{"read-only", true, true}, {"editor off", false, false}};
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* E = Make<TspSkinNumEdit>(u"123");
    E->SetReadOnly(R.ReadOnly);
    E->SetEditorEnabled(R.EditorEnabled);
    E->SetFocus();
    Pump();
    SetClipboardText(u"9");
    E->SelectAll();
    SendKey(E->Handle(), WM_KEYDOWN, VK_DELETE);
    SendMessageW(E->Handle(), WM_CUT, 0, 0);
    SendMessageW(E->Handle(), WM_CLEAR, 0, 0);
    SendMessageW(E->Handle(), WM_PASTE, 0, 0);
    Char(E, u'7');
    Char(E, 8);
    E->BuildSysPopupMenu();
    TMenuItem* Items = E->SysPopupMenu()->Items();
    ASSERT_EQ(Items->Count(), 8);
    // Cut, Paste and Delete are off for a read-only edit only; the menu's
    // commands go through the same refusals either way.
    EXPECT_EQ(Items->Items(2)->Enabled(), !R.ReadOnly);
    EXPECT_EQ(Items->Items(4)->Enabled(), !R.ReadOnly);
    for (Integer I : {2, 4, 5}) Items->Items(I)->OnClick(Items->Items(I));
    Pump();
    EXPECT_EQ(E->Text(), u"123");
    // Copy and Select All still work.
    SetClipboardText(u"");
    E->SetSelStart(1);
    E->SetSelLength(1);
    Items->Items(3)->OnClick(Items->Items(3));
    EXPECT_EQ(Clipboard()->AsText(), u"2");
    Items->Items(7)->OnClick(Items->Items(7));
    EXPECT_EQ(E->SelLength(), 3);
    delete E;
  }
  EXPECT_EQ(Changes, 0);
}

TEST_F(EditBaseWin, ContextMenuItemsAndStates) {
  auto* E = Make<TspCustomEdit>(u"hello");
  struct Row {
    const char* Name;
    Integer SelStart, SelLength;
    const char16_t* Clip;
    bool Cut, Copy, Paste, Delete, SelectAll;
  };
  const Row Rows[] = {
      {"nothing selected, text on the clipboard", 1, 0, u"x", false, false, true, false, true},
      {"part selected, empty clipboard", 1, 2, u"", true, true, false, true, true},
      {"all selected", 0, 5, u"x", true, true, true, true, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    SetClipboardText(R.Clip);
    E->SetSelStart(R.SelStart);
    E->SetSelLength(R.SelLength);
    E->BuildSysPopupMenu();
    TMenuItem* I = E->SysPopupMenu()->Items();
    ASSERT_EQ(I->Count(), 8);
    EXPECT_EQ(I->Items(0)->Caption(), u"Undo");
    EXPECT_TRUE(I->Items(1)->IsLine());
    EXPECT_EQ(I->Items(2)->Caption(), u"Cut");
    EXPECT_EQ(I->Items(3)->Caption(), u"Copy");
    EXPECT_EQ(I->Items(4)->Caption(), u"Paste");
    EXPECT_EQ(I->Items(5)->Caption(), u"Delete");
    EXPECT_TRUE(I->Items(6)->IsLine());
    EXPECT_EQ(I->Items(7)->Caption(), u"Select All");
    EXPECT_EQ(I->Items(2)->Enabled(), R.Cut);
    EXPECT_EQ(I->Items(3)->Enabled(), R.Copy);
    EXPECT_EQ(I->Items(4)->Enabled(), R.Paste);
    EXPECT_EQ(I->Items(5)->Enabled(), R.Delete);
    EXPECT_EQ(I->Items(7)->Enabled(), R.SelectAll);
  }
  // An empty text: Select All is off. The menu command message frees the menu.
  E->SetText(u"");
  E->BuildSysPopupMenu();
  EXPECT_FALSE(E->SysPopupMenu()->Items()->Items(7)->Enabled());
  SendMessageW(E->Handle(), 1229, 0, 0);
  EXPECT_EQ(E->SysPopupMenu(), nullptr);
  // Shift+F10 without a skin builds the menu all the same (nothing shows).
  SendMessageW(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()), MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_NE(E->SysPopupMenu(), nullptr);
}

TEST_F(EditBaseWin, AssignedPopupMenuReplacesTheOwnOne) {
  auto* E = Make<TspCustomEdit>(u"x");
  auto* P = new TspSkinPopupMenu(Host);
  int Popups = 0;
  P->OnPopup = [&](TObject*) { ++Popups; };
  E->SetPopupMenu(P);
  SendMessageW(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()), MAKELPARAM(30, 30));
  EXPECT_EQ(E->SysPopupMenu(), nullptr);
  EXPECT_EQ(Popups, 1);
}

TEST_F(EditBaseWin, NumericFilterUpDownAndWheel) {
  auto* E = Make<TspSkinNumEdit>(u"");
  int Ups = 0, Downs = 0, KeyDowns = 0;
  E->OnUpClick = [&](TObject*) { ++Ups; };
  E->OnDownClick = [&](TObject*) { ++Downs; };
  E->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++KeyDowns; };
  E->SetFocus();
  Pump();
  for (::Char C : std::u16string(u"1-2.3a+4-")) Char(E, C);
  // "-" is refused only as a second one, wherever the first stands.
  EXPECT_EQ(E->Text(), u"1-234");
  E->SetText(u"");
  E->Float = true;
  for (::Char C : std::u16string(u"-1.5.2")) Char(E, C);
  EXPECT_EQ(E->Text(), u"-1.52");
  SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
  SendKey(E->Handle(), WM_KEYDOWN, VK_DOWN);
  SendKey(E->Handle(), WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(Ups, 1);
  EXPECT_EQ(Downs, 1);
  EXPECT_EQ(KeyDowns, 1);  // only the left arrow reached OnKeyDown
  // Forward turn (positive delta in the high word read as 32 bits): down.
  SendMessageW(E->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(20, 20));
  SendMessageW(E->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(20, 20));
  EXPECT_EQ(Downs, 2);
  EXPECT_EQ(Ups, 2);
}

TEST_F(EditBaseWin, PastedTextThroughTheNumericFilter) {
  auto* E = Make<TspSkinNumEdit>(u"");
  E->SetFocus();
  Pump();
  SetClipboardText(u"12\r\n34x5");
  SendMessageW(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), u"12345");
  EXPECT_EQ(Changes, 1);
}

}  // namespace
