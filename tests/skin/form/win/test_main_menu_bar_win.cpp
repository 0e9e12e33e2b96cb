// The skinned main menu bar in its default look: the items' places and
// widths, what does not fit and the marker, merging a child's menu, the
// keyboard's menu mode and the mouse opening drop-downs and running
// commands through the form component.
#include "tests/skin/form/win/FormTestUtil.h"

#include "classlib/ImgList.h"
#include "skin/controls/win/SkinMenuLevels.h"
#include "skin/form/win/SkinMainMenuBar.h"

using namespace formtest;

namespace {

TMenuItem* AddItem(TMenuItem* Parent, const String& Caption, Byte Group = 0) {
  auto* I = new TMenuItem(Parent);
  I->SetCaption(Caption);
  I->SetGroupIndex(Group);
  Parent->Add(I);
  return I;
}

class MenuBar : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    F = new TLogForm(bsSizeable);
    FS = new TspFormSkin(F);
    Menu = new TMainMenu(F);
    File = AddItem(Menu->Items(), u"&File");
    AddItem(File, u"&Open");
    AddItem(File, u"&Save");
    Edit = AddItem(Menu->Items(), u"&Edit");
    AddItem(Edit, u"&Copy");
    Help = AddItem(Menu->Items(), u"&Help");
    Help->OnClick = [this](TObject*) { ++HelpClicks; };
    Bar = new TspSkinMainMenuBar(F);
    Bar->SetParent(F);
    Bar->SetAlign(alNone);  // sizes of its own (aligned, it takes the form's width)
    FS->SetMainMenuBar(Bar);
    Bar->SetMainMenu(Menu);
    Bar->SetBounds(0, 0, 300, 22);
  }
  void TearDown() override {
    if (FS->SkinMenu->Visible()) FS->SkinMenu->Hide();
    delete F;
    FormTest::TearDown();
  }
  // Paints the bar into a bitmap (its layout comes with the paint).
  std::unique_ptr<TBitmap> Paint() {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Bar->Width(), Bar->Height());
    Bar->PaintBar(B->Canvas());
    return B;
  }
  // The caption's width in the bar's default font.
  Integer CaptionWidth(const String& S) {
    TBitmap B;
    B.SetSize(10, 10);
    B.Canvas()->Font()->Assign(Bar->DefItemFont());
    TRect R(0, 0, 0, 0);
    DrawWideText(B.Canvas(), S, R, DT_CALCRECT | DT_CENTER);
    return R.Width();
  }
  TspSkinMainMenuBarItem* Item(Integer I) { return Bar->ItemAt(I); }
  TLogForm* F = nullptr;
  TspFormSkin* FS = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *Edit = nullptr, *Help = nullptr;
  TspSkinMainMenuBar* Bar = nullptr;
  Integer HelpClicks = 0;
};

}  // namespace

TEST_F(MenuBar, DefaultLookLayout) {
  EXPECT_EQ(Bar->Height(), 22);
  EXPECT_EQ(Bar->ObjectList->Count(), 3);
  auto B = Paint();
  EXPECT_EQ(Bar->NewItemsRect, TRect(2, 2, 298, 20));
  EXPECT_EQ(Item(0)->ObjectRect.Left, 2);
  EXPECT_EQ(Item(0)->ObjectRect.Width(), CaptionWidth(u"&File") + 12);
  EXPECT_EQ(Item(1)->ObjectRect.Left, Item(0)->ObjectRect.Right);
  EXPECT_EQ(Item(2)->ObjectRect.Top, 2);
  EXPECT_EQ(Item(2)->ObjectRect.Bottom, 20);
  EXPECT_FALSE(Bar->Scroll);
  // The background is the button face; the first item's plate too.
  EXPECT_EQ(Px(B.get(), 1, 1), Sys(clBtnFace));
  EXPECT_EQ(Px(B.get(), 3, 3), Sys(clBtnFace));

  // An image widens the item by its width + 5; a hot item gets its frame.
  auto* IL = new TCustomImageList(F, 16, 16);
  auto Img = skintest::FlatPicture(16, 16, clRed);
  IL->Add(Img.get(), nullptr);
  Menu->SetImages(IL);
  Edit->SetImageIndex(0);
  Item(1)->FMouseIn = Item(1)->Active = true;
  B = Paint();
  EXPECT_EQ(Item(1)->ObjectRect.Width(), CaptionWidth(u"&Edit") + 12 + 16 + 5);
  const TRect R1 = Item(1)->ObjectRect;
  EXPECT_EQ(Px(B.get(), R1.Left, R1.Top + 5), Sys(TColor(0x800000)));
  EXPECT_EQ(Px(B.get(), R1.Left + 1, R1.Top + 1), Sys(TColor(0xD2BDB6)));
  EXPECT_EQ(Px(B.get(), R1.Left + 2 + 1 + 4, R1.Top + R1.Height() / 2), Sys(clRed));  // the image, 2 pixels in
}

TEST_F(MenuBar, ItemsThatDoNotFitAndTheMarker) {
  Bar->SetBounds(0, 0, 70, 22);
  Paint();
  EXPECT_TRUE(Bar->Scroll);
  EXPECT_TRUE(Item(0)->Visible);
  ASSERT_FALSE(Item(2)->Visible);
  EXPECT_FALSE(Item(2)->Enabled);
  EXPECT_EQ(Bar->GetMarkerRect(), TRect(63, 2, 68, 20));
  // The hidden item is never hot.
  Bar->TestActive(Item(2)->ObjectRect.Left + 1, 10);
  EXPECT_FALSE(Item(2)->Active);
  // Room again: it comes back with its own Enabled.
  Bar->SetBounds(0, 0, 300, 22);
  Paint();
  EXPECT_FALSE(Bar->Scroll);
  EXPECT_TRUE(Item(2)->Visible);
  EXPECT_TRUE(Item(2)->Enabled);
  // Without the marker items fit up to the area's end.
  Bar->FScrollMenu = false;
  const Integer W = Item(0)->ObjectRect.Width() + Item(1)->ObjectRect.Width() + Item(2)->ObjectRect.Width();
  Bar->SetBounds(0, 0, W + 4, 22);
  Paint();
  EXPECT_FALSE(Bar->Scroll);
  EXPECT_TRUE(Item(2)->Visible);
}

TEST_F(MenuBar, MergeKeepsGroupsInMenuOrder) {
  Menu->Items()->Items(0)->SetGroupIndex(0);
  Menu->Items()->Items(1)->SetGroupIndex(1);
  Menu->Items()->Items(2)->SetGroupIndex(9);
  auto* Child = new TMainMenu(F);
  TMenuItem* C1 = AddItem(Child->Items(), u"&Document", 1);
  TMenuItem* C2 = AddItem(Child->Items(), u"&Tools", 5);
  TMenuItem* C3 = AddItem(Child->Items(), u"Hidden", 5);
  C3->SetVisible(false);
  Bar->Merge(Child);
  std::vector<TMenuItem*> Got;
  for (Integer I = 0; I < Bar->ObjectList->Count(); ++I) Got.push_back(Item(I)->MenuItem);
  EXPECT_EQ(Got, (std::vector<TMenuItem*>{File, C1, C2, Help}));
  EXPECT_TRUE(Bar->ChildMenuIn);
  EXPECT_FALSE(Bar->FScrollMenu);  // merging switches the marker off for good
  Bar->UnMerge();
  EXPECT_EQ(Bar->ObjectList->Count(), 3);
  EXPECT_FALSE(Bar->FScrollMenu);
}

TEST_F(MenuBar, KeyboardMenuMode) {
  Paint();
  Bar->EnterMainMenu();
  EXPECT_TRUE(Bar->MenuActive);
  EXPECT_TRUE(FS->InMainMenu);
  EXPECT_TRUE(Item(0)->Active);
  FS->NextMainMenuItem();
  EXPECT_FALSE(Item(0)->Active);
  EXPECT_TRUE(Item(1)->Active);
  FS->PrevMainMenuItem();
  FS->PrevMainMenuItem();  // wraps to the last
  EXPECT_TRUE(Item(2)->Active);
  FS->NextMainMenuItem();  // and back to the first
  EXPECT_TRUE(Item(0)->Active);
  // A disabled item is skipped.
  Item(1)->Enabled = false;
  FS->NextMainMenuItem();
  EXPECT_TRUE(Item(2)->Active);
  Item(1)->Enabled = true;
  // The pointer leaving the bar keeps the keyboard's highlight.
  Bar->TestActive(-1, -1);
  EXPECT_TRUE(Item(2)->Active);
  // Return on an item without sub-items runs its command and leaves the mode.
  EXPECT_TRUE(FS->OpenMainMenuItem());
  EXPECT_EQ(HelpClicks, 1);
  EXPECT_FALSE(FS->InMainMenu);
  // Alt+F: the accelerator opens File's drop-down.
  F->Show();
  Pump();
  EXPECT_TRUE(FS->FindMainMenuItemByAccel('F'));
  EXPECT_TRUE(Item(0)->FDown);
  EXPECT_TRUE(FS->SkinMenu->Visible());
  FS->SkinMenu->Hide();
  Pump();
  FS->CloseMainMenu();
  EXPECT_FALSE(Bar->MenuActive);
  for (Integer I = 0; I < 3; ++I) EXPECT_FALSE(Item(I)->Active || Item(I)->FDown) << I;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MenuBar, MouseOpensDropDownsAndRunsCommands) {
  F->Show();
  Pump();
  Paint();
  std::vector<String> Clicked;
  Bar->FOnMainMenuItemClick = [&](const String& Id) { Clicked.push_back(Id); };
  File->SetName(u"FileItem");
  Help->SetName(u"HelpItem");
  Bar->UpDateItems();
  Paint();
  const TRect FR = Item(0)->ObjectRect;
  Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(FR.Left + 3, 10));
  Bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(FR.Left + 3, 10));
  EXPECT_TRUE(Item(0)->FDown);
  EXPECT_TRUE(Bar->MenuActive);
  ASSERT_TRUE(FS->SkinMenu->Visible());
  ASSERT_GE(FS->SkinMenu->LevelCount(), 1);
  EXPECT_EQ(FS->SkinMenu->Level(0)->ItemCount(), 2);
  // Moving onto the next item while a drop-down is open opens its own.
  Bar->TestActive(Item(1)->ObjectRect.Left + 2, 10);
  EXPECT_FALSE(Item(0)->FDown);
  EXPECT_TRUE(Item(1)->FDown);
  ASSERT_TRUE(FS->SkinMenu->Visible());
  EXPECT_EQ(FS->SkinMenu->Level(0)->ItemCount(), 1);
  FS->SkinMenu->Hide();
  Pump();
  FS->CloseMainMenu();
  // An item without sub-items runs its command on the press.
  const TRect HR = Item(2)->ObjectRect;
  Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(HR.Left + 2, 10));
  Bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(HR.Left + 2, 10));
  EXPECT_EQ(HelpClicks, 1);
  EXPECT_EQ(Clicked, (std::vector<String>{u"FileItem", u"HelpItem"}));
  EXPECT_TRUE(Errors.empty());
}

// A skin with a "mainmenubar" description over a 100 x 48 picture: the bar
// strip on top, an item's normal and hot faces below.
TEST_F(MenuBar, SkinnedLookAndTransparentItems) {
  constexpr TColor BarC = 0x30A0A0, ItemN = 0x2020C0, ItemA = 0xC02020;
  TTempFolder Dir("menubar");
  auto SD = LoadFixtureSkin(Dir);
  const Integer Pic = SD->FActivePictures->Count();
  SD->FActivePictures->Add(
      skintest::FlatPicture(100, 48, BarC, {{TRect(0, 24, 40, 48), ItemN}, {TRect(40, 24, 80, 48), ItemA}}).release());
  auto* BD = new TspDataSkinMainMenuBar(u"mainmenubar");
  BD->PictureIndex = Pic;
  BD->SkinRect = TRect(0, 0, 100, 24);
  BD->ItemsRect = TRect(4, 2, 96, 22);
  BD->MenuBarItem = u"menubaritem";
  SD->CtrlList->Add(BD);
  auto* ID = new TspDataSkinMainMenuBarItem(u"menubaritem");
  ID->ActivePictureIndex = Pic;
  ID->SkinRect = TRect(0, 24, 40, 48);
  ID->ActiveSkinRect = TRect(40, 24, 80, 48);
  ID->TextRct = TRect(4, 2, 36, 22);
  ID->ItemLO = ID->ItemRO = 4;
  ID->FontName = u"Arial";
  ID->FontHeight = 14;
  SD->ObjectList->Add(ID);
  Bar->SetSkinData(SD.get());
  EXPECT_EQ(Bar->Height(), 24);
  ASSERT_TRUE(Item(0)->FSkinSupport);
  auto B = Paint();
  EXPECT_EQ(Bar->NewItemsRect, TRect(4, 2, 300 - 4, 22));
  EXPECT_EQ(Px(B.get(), 1, 1), Sys(BarC));
  const TRect R0 = Item(0)->ObjectRect;
  EXPECT_EQ(R0.Left, 4);
  EXPECT_EQ(R0.Height(), 24);
  EXPECT_EQ(Px(B.get(), R0.Left + 1, R0.Top + 1), Sys(ItemN));
  Item(0)->Active = true;
  B = Paint();
  EXPECT_EQ(Px(B.get(), R0.Left + 1, R0.Top + 1), Sys(ItemA));

  // Transparent items show the bar's own background, not what the window
  // shows at that place (which may be an earlier step of a fade).
  BD->ItemTransparent = true;
  Item(0)->Active = false;
  B = Paint();
  EXPECT_EQ(Px(B.get(), R0.Left + 1, R0.Top + 1), Sys(BarC));
  TBitmap Stale;
  Stale.SetPixelFormat(pf24bit);
  Stale.SetSize(Bar->Width(), Bar->Height());
  Stale.Canvas()->Brush()->SetColor(ItemA);
  Stale.Canvas()->FillRect(TRect(0, 0, Bar->Width(), Bar->Height()));
  Item(0)->Draw(Stale.Canvas());
  EXPECT_EQ(Px(&Stale, R0.Left + 1, R0.Top + 1), Sys(BarC));
  Bar->SetSkinData(nullptr);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MenuBar, ChildButtonsWhileADocumentIsMaximised) {
  Bar->MDIChildMaximize();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  std::vector<TStdCommand> Cmds;
  for (Integer I = 0; I < 4; ++I)
    Cmds.push_back(static_cast<TspSkinMainMenuBarButton*>(Bar->ObjectList->Items(I))->Command);
  EXPECT_EQ(Cmds, (std::vector<TStdCommand>{cmSysMenu, cmClose, cmMaximize, cmMinimize}));
  auto B = Paint();
  // System menu at the left, close, restore, minimise from the right; the
  // items between them.
  auto Btn = [&](Integer I) { return static_cast<TspMenuBarObject*>(Bar->ObjectList->Items(I))->ObjectRect; };
  EXPECT_EQ(Btn(0), TRect(2, 2, 20, 20));
  EXPECT_EQ(Btn(1), TRect(280, 2, 298, 20));
  EXPECT_EQ(Btn(2), TRect(260, 2, 278, 20));
  EXPECT_EQ(Btn(3), TRect(240, 2, 258, 20));
  EXPECT_EQ(Bar->NewItemsRect, TRect(22, 2, 238, 20));
  EXPECT_EQ(Item(4)->ObjectRect.Left, 22);
  // Twice is once; without a maximised child the restore takes them away.
  Bar->MDIChildMaximize();
  EXPECT_EQ(Bar->ObjectList->Count(), 7);
  Bar->MDIChildRestore();
  EXPECT_EQ(Bar->ButtonsCount, 0);
  EXPECT_EQ(Bar->ObjectList->Count(), 3);
  EXPECT_FALSE(Bar->FMDIChildMax);
}
