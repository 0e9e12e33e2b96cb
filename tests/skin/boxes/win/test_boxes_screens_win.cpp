// Pictures of the lists, combo boxes, font boxes, scroll box and up-down in
// their main states, in the default look and in each made scheme (one
// folder per scheme). The default look's pictures are compared with their
// golden pictures; the schemes' are for review, checked by what each scheme
// gives the controls.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include "skin/boxes/SkinBoxLists.h"
#include "skin/controls/SkinUpDown.h"

using namespace ctl;

namespace {

class BoxesScreens : public SkinCtlTest {
 protected:
  std::vector<std::pair<String, TspSkinData*>> Schemes() { return DefaultAndMadeSchemes(Loaded); }
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
};

TEST_F(BoxesScreens, ListsInEveryScheme) {
  for (const auto& [Scheme, Skin] : Schemes()) {
    SCOPED_TRACE(ToUtf8(Scheme));
    SetCursorPos(0, 0);
    auto* L = new TspSkinListBox(Host);
    L->SetParent(Host);
    L->SetBounds(10, 10, 140, 120);
    L->SetSkinData(Skin);
    Pump();
    boxtest::Shoot(Scheme, u"listbox", u"empty", L);
    for (Integer I = 0; I < 3; ++I) L->Items()->Add(u"Item " + IntToStr(I));
    L->SetItemIndex(1);
    Pump();
    boxtest::Shoot(Scheme, u"listbox", u"partly-selected", L);
    L->ListBox->SetFocus();
    Pump();
    boxtest::Shoot(Scheme, u"listbox", u"focused", L);
    for (Integer I = 3; I < 30; ++I) L->Items()->Add(u"Item " + IntToStr(I));
    Pump();
    ASSERT_NE(L->ScrollBar, nullptr);
    EXPECT_TRUE(L->ScrollBar->Visible());
    boxtest::Shoot(Scheme, u"listbox", u"over-filled", L);
    L->SetCaption(u"Caption");
    L->SetCaptionMode(true);
    Pump();
    if (!Skin) EXPECT_EQ(L->ListBox->Top(), 1 + L->DefaultCaptionHeight());
    boxtest::Shoot(Scheme, u"listbox", u"caption", L);
    delete L;
  }
}

TEST_F(BoxesScreens, CombosInEveryScheme) {
  for (const auto& [Scheme, Skin] : Schemes()) {
    SCOPED_TRACE(ToUtf8(Scheme));
    SetCursorPos(0, 0);
    auto* CB = new TspSkinComboBox(Host);
    CB->SetParent(Host);
    CB->SetBounds(10, 10, 140, 20);
    for (const char16_t* S : {u"alpha", u"beta", u"gamma", u"delta"}) CB->Items()->Add(S);
    CB->SetSkinData(Skin);
    CB->SetItemIndex(1);
    Pump();
    if (Skin && CB->UseSkinSize()) EXPECT_EQ(CB->Height(), CB->SkinRect.Height());
    boxtest::Shoot(Scheme, u"combobox", u"closed", CB);
    CB->SetFocus();
    Pump();
    boxtest::Shoot(Scheme, u"combobox", u"focused", CB);
    CB->DropDown();
    ASSERT_TRUE(CB->IsPopupVisible());
    Pump();
    boxtest::Shoot(Scheme, u"combobox", u"open", CB);
    boxtest::Shoot(Scheme, u"combobox", u"open-list", CB->ListBox());
    CB->CloseUp(false);
    CB->SetToolButtonStyle(true);
    Pump();
    boxtest::Shoot(Scheme, u"combobox", u"toolbutton", CB);
    CB->SetToolButtonStyle(false);

    auto* EC = new TspSkinComboBox(Host);
    EC->SetParent(Host);
    EC->SetBounds(10, 40, 140, 20);
    for (const char16_t* S : {u"alpha", u"beta"}) EC->Items()->Add(S);
    EC->SetStyle(spcbEditStyle);
    EC->SetSkinData(Skin);
    EC->SetItemIndex(0);
    Pump();
    ASSERT_NE(EC->EditObject(), nullptr);
    boxtest::Shoot(Scheme, u"combobox-edit", u"closed", EC);
    // Painted into another device context: the inner edit's text at its place.
    boxtest::ShootBitmap(Scheme, u"combobox-edit", u"erase-dc", boxtest::ErasePixels(EC).get());
    EC->EditObject()->SetFocus();
    Pump();
    boxtest::Shoot(Scheme, u"combobox-edit", u"focused", EC);
    delete EC;
    delete CB;
  }
}

TEST_F(BoxesScreens, FontBoxesInEveryScheme) {
  for (const auto& [Scheme, Skin] : Schemes()) {
    SCOPED_TRACE(ToUtf8(Scheme));
    SetCursorPos(0, 0);
    auto* F = new TspSkinFontComboBox(Host);
    F->SetParent(Host);
    F->SetBounds(10, 10, 160, 20);
    F->SetSkinData(Skin);
    F->HandleNeeded();
    F->SetFontName(u"Liberation Sans");
    Pump();
    EXPECT_EQ(F->FontName(), u"Liberation Sans");
    boxtest::Shoot(Scheme, u"fontcombobox", u"closed", F);
    auto* S = new TspSkinFontSizeComboBox(Host);
    S->SetParent(Host);
    S->SetBounds(180, 10, 60, 20);
    S->SetSkinData(Skin);
    S->HandleNeeded();
    S->SetFontName(u"Liberation Sans");
    S->SetItemIndex(S->Items()->IndexOf(u"12"));
    Pump();
    EXPECT_EQ(S->Text(), u"12");
    boxtest::Shoot(Scheme, u"fontsizecombobox", u"closed", S);
    delete S;
    delete F;
  }
}

TEST_F(BoxesScreens, ScrollBoxAndUpDownInEveryScheme) {
  for (const auto& [Scheme, Skin] : Schemes()) {
    SCOPED_TRACE(ToUtf8(Scheme));
    SetCursorPos(0, 0);
    auto* Box = new TspSkinScrollBox(Host);
    Box->SetParent(Host);
    Box->SetBounds(10, 10, 120, 100);
    Box->SetSkinData(Skin);
    auto* Child = new TspSkinPanel(Host);
    Child->SetParent(Box);
    Child->SetBounds(10, 10, 60, 160);
    Pump();
    const struct {
      TspSkinBorderStyle Style;
      const char16_t* Name;
    } Borders[] = {{bvFrame, u"frame"}, {bvRaised, u"raised"}, {bvLowered, u"lowered"}, {bvNone, u"none"}};
    for (const auto& B : Borders) {
      Box->SetBorderStyle(B.Style);
      Pump();
      boxtest::Shoot(Scheme, u"scrollbox", B.Name, Box);
    }
    delete Box;

    for (TUDOrientation O : {udVertical, udHorizontal}) {
      const String Name = O == udVertical ? u"updown-vertical" : u"updown-horizontal";
      auto* U = new TspSkinUpDown(Host);
      U->SetParent(Host);
      if (O == udVertical)
        U->SetBounds(10, 10, 17, 30);
      else
        U->SetBounds(10, 10, 34, 17);
      U->SetOrientation(O);
      U->SetSkinData(Skin);
      U->SetMax(10);
      U->SetPosition(5);
      Pump();
      boxtest::Shoot(Scheme, Name, u"normal", U);
      // Button 0 increases: the top half (vertical), the right half (horizontal).
      const TPoint Inc = O == udVertical ? TPoint(U->Width() / 2, 3) : TPoint(U->Width() - 4, U->Height() / 2);
      const TPoint Dec = O == udVertical ? TPoint(U->Width() / 2, U->Height() - 4) : TPoint(3, U->Height() / 2);
      for (const auto& [At, Button] : {std::pair{Inc, u"up"}, std::pair{Dec, u"down"}}) {
        Move(U, At.X, At.Y, false);
        boxtest::Shoot(Scheme, Name, String(Button) + u"-hot", U);
        Press(U, At.X, At.Y);
        boxtest::Shoot(Scheme, Name, String(Button) + u"-pressed", U);
        Release(U, At.X, At.Y);
      }
      delete U;
    }
  }
}

}  // namespace
