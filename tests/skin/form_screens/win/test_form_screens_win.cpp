// Pictures of skinned forms in their main states for people to review:
// <screens>/skin_form_screens/<look>/<state>.png. The looks are the default
// look, the fixture skin and, for the document windows, the program's four
// made schemes. Each picture comes with a check that the form reached the
// state it shows; saving decides nothing.
#include "tests/skin/form/win/FormTestUtil.h"

#include "common/Screens.h"
#include "classlib/ImgList.h"
#include "skin/form/win/SkinMDITabsBar.h"
#include "skin/form/win/SkinMainMenuBar.h"
#include "skin/form/win/FormLayerBorder.h"
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <memory>

using namespace formtest;

namespace {

class FormScreens : public FormTest {
 protected:
  // Shows a form of the look, puts it into a state and saves it.
  void Shot(const char* Look, const char* State, TspSkinData* SD,
            const std::function<void(TForm*, TspFormSkin*)>& Setup) {
    auto* F = new TForm(nullptr);
    F->SetBounds(120, 120, 260, 180);
    F->SetCaption(u"Skinned form");
    auto* FS = new TspFormSkin(F);
    FS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize | spbi::biRollUp);
    if (SD) FS->SetSkinData(SD);
    Setup(F, FS);
    F->Show();
    SetForegroundWindow(F->Handle());
    Pump();
    if (std::string(State) == "inactive") {
      auto* Other = new TForm(nullptr);
      Other->SetBounds(700, 500, 100, 80);
      Other->Show();
      Pump();
      EXPECT_FALSE(F->Active());
      lumigra_test::SaveWindowScreen(F->Handle(), State, Look);
      delete Other;
    } else {
      lumigra_test::SaveWindowScreen(F->Handle(), State, Look);
    }
    delete F;
  }
  void AllStates(const char* Look, TspSkinData* SD) {
    Shot(Look, "active", SD, [](TForm*, TspFormSkin*) {});
    Shot(Look, "inactive", SD, [](TForm*, TspFormSkin*) {});
    Shot(Look, "toolwindow", SD, [](TForm* F, TspFormSkin*) { F->SetBorderStyle(bsToolWindow); });
    Shot(Look, "maximised", SD, [](TForm* F, TspFormSkin* FS) {
      F->Show();
      FS->SetWindowState(wsMaximized);
      EXPECT_EQ(FS->WindowState(), wsMaximized);
    });
    Shot(Look, "rolledup", SD, [](TForm* F, TspFormSkin* FS) {
      F->Show();
      FS->SetRollUpState(true);
      EXPECT_TRUE(FS->RollUpState());
    });
    Shot(Look, "clientarea", SD, [](TForm* F, TspFormSkin* FS) {
      F->SetBorderStyle(bsNone);
      FS->SetSupportNCArea(false);
      FS->ApplySkinData();
    });
  }

  // The caption buttons in one state at a time, and the caption active,
  // inactive and with quick buttons.
  void ButtonsAndCaption(const char* Look, TspSkinData* SD) {
    auto* F = new TForm(nullptr);
    F->SetBounds(120, 120, 260, 180);
    F->SetCaption(u"Skinned form");
    auto* FS = new TspFormSkin(F);
    FS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize | spbi::biRollUp);
    if (SD) FS->SetSkinData(SD);
    F->Show();
    SetForegroundWindow(F->Handle());
    Pump();
    ASSERT_TRUE(F->Active());
    FS->PaintNCSkin(nullptr, false);
    const struct {
      const char* Name;
      bool Hot, Down, Enabled;
    } States[] = {{"buttons-normal", false, false, true},
                  {"buttons-hot", true, false, true},
                  {"buttons-pressed", true, true, true},
                  {"buttons-disabled", false, false, false}};
    for (auto St : States) {
      Integer Buttons = 0;
      for (Integer I = 0; I < FS->ObjectList->Count(); ++I) {
        auto* B = dynamic_cast<TspSkinStdButtonObject*>(static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(I)));
        if (!B || !B->Visible) continue;
        B->Active = B->FMouseIn = St.Hot;
        B->FDown = St.Down;
        B->Enabled = St.Enabled;
        B->SetMorphKf(St.Hot ? 1 : 0);
        FS->DrawSkinObject(B);
        ++Buttons;
      }
      EXPECT_GT(Buttons, 0) << St.Name;
      lumigra_test::SaveWindowScreen(F->Handle(), St.Name, Look);
    }
    for (Integer I = 0; I < FS->ObjectList->Count(); ++I)
      if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(I)))) {
        B->Active = B->FMouseIn = B->FDown = false;
        B->Enabled = true;
        B->SetMorphKf(0);
      }
    // Quick buttons at the left of the caption.
    auto* Images = new TCustomImageList(F, 16, 16);
    for (TColor C : {clRed, clGreen, clBlue}) {
      auto Bm = std::make_unique<TBitmap>();
      Bm->SetPixelFormat(pf24bit);
      Bm->SetSize(16, 16);
      Bm->Canvas()->Brush()->SetColor(clFuchsia);
      Bm->Canvas()->FillRect(TRect(0, 0, 16, 16));
      Bm->Canvas()->Brush()->SetColor(C);
      Bm->Canvas()->FillRect(TRect(3, 3, 13, 13));
      Images->AddMasked(Bm.get(), clFuchsia);
    }
    FS->SetQuickImageList(Images);
    for (Integer I = 0; I < 3; ++I) FS->QuickButtons()->Add()->SetImageIndex(I);
    SendMessageW(F->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(FS->QuickButtons()->Count(), 3);
    lumigra_test::SaveWindowScreen(F->Handle(), "caption-quickbuttons", Look);
    delete F;
  }
};

}  // namespace

TEST_F(FormScreens, CaptionButtonsDefaultLook) { ButtonsAndCaption("default", nullptr); }

TEST_F(FormScreens, CaptionButtonsFixtureSkin) {
  TTempFolder Dir("formscreens-buttons");
  TSkinOptions O;
  O.FormInfo = {u"bgpictureindex=0"};
  O.ActiveSizes = {{40, 20}};
  O.ExtraObjects = {{u"maxbutton", u"stdbutton",
                     {u"command=cmmaximize", u"activepictureindex=0", u"skinrect=34,4,42,14",
                      u"activeskinrect=0,0,8,10", u"downrect=20,10,28,20"}}};
  auto SD = LoadFixtureSkin(Dir, O);
  ButtonsAndCaption("fixture", SD.get());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(FormScreens, DefaultLook) { AllStates("default", nullptr); }

TEST_F(FormScreens, FixtureSkin) {
  TTempFolder Dir("formscreens");
  TSkinOptions O;
  O.FormInfo = {u"bgpictureindex=0"};
  O.ActiveSizes = {{16, 16}};
  auto SD = LoadFixtureSkin(Dir, O);
  AllStates("fixture", SD.get());
  EXPECT_TRUE(Errors.empty());
}

// The frame's main-menu items at rest, hot and with a drop-down open, and a
// frame animation at its first and last picture.
TEST_F(FormScreens, MainMenuItemsAndAnimationFixtureSkin) {
  TTempFolder Dir("formscreens-menu");
  TSkinOptions O;
  O.ActiveSizes = {{40, 20}};
  O.FormInfo = {u"mainmenurect=4,2,20,16"};
  O.ExtraObjects = {{u"MAINMENUITEM", u"mainmenuitem",
                     {u"activepictureindex=0", u"skinrect=0,0,20,14", u"activeskinrect=20,0,40,14",
                      u"textrect=4,0,16,14", u"itemleftoffset=3", u"itemrightoffset=3", u"fontname=Arial",
                      u"fontheight=12", u"fontcolor=0", u"activefontcolor=255", u"downfontcolor=16711680"}},
                    {u"anim", u"animate",
                     {u"activepictureindex=0", u"skinrect=50,4,54,14", u"activeskinrect=16,0,32,10",
                      u"countframes=4", u"timerinterval=25"}}};
  auto SD = LoadFixtureSkin(Dir, O);
  auto* F = new TForm(nullptr);
  F->SetBounds(120, 120, 260, 180);
  F->SetCaption(u"Skinned form");
  auto* FS = new TspFormSkin(F);
  FS->SetSkinData(SD.get());
  auto* Menu = new TMainMenu(F);
  for (const char16_t* C : {u"&File", u"&Edit", u"&Help"}) {
    auto* It = new TMenuItem(Menu);
    It->SetCaption(C);
    auto* Sub = new TMenuItem(Menu);
    Sub->SetCaption(u"Item");
    It->Add(Sub);
    Menu->Items()->Add(It);
  }
  FS->SetMainMenu(Menu);
  F->Show();
  SetForegroundWindow(F->Handle());
  Pump();
  SendMessageW(F->Handle(), WM_NCPAINT, 0, 0);
  std::vector<TspSkinMainMenuItem*> Items;
  TspSkinAnimateObject* Anim = nullptr;
  for (Integer I = 0; I < FS->ObjectList->Count(); ++I) {
    auto* Obj = static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(I));
    if (auto* M = dynamic_cast<TspSkinMainMenuItem*>(Obj)) Items.push_back(M);
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj)) Anim = A;
  }
  ASSERT_EQ(Items.size(), 3u);
  ASSERT_NE(Anim, nullptr);
  lumigra_test::SaveWindowScreen(F->Handle(), "mainmenu-normal", "fixture");
  Items[1]->MouseEnter();
  FS->DrawSkinObject(Items[1]);
  EXPECT_TRUE(Items[1]->Active);
  lumigra_test::SaveWindowScreen(F->Handle(), "mainmenu-hot", "fixture");
  Items[1]->MouseDown(Items[1]->ObjectRect.Left + 2, Items[1]->ObjectRect.Top + 2, mbLeft);
  EXPECT_TRUE(FS->SkinMenu->Visible());
  lumigra_test::SaveWindowScreen(F->Handle(), "mainmenu-down", "fixture");
  FS->SkinMenu->Hide();
  Pump();
  Anim->FFrame = 4;
  FS->DrawSkinObject(Anim);
  lumigra_test::SaveWindowScreen(F->Handle(), "animation-last-picture", "fixture");
  delete F;
  EXPECT_TRUE(Errors.empty());
}

// The layered border drawn through its Draw into a bitmap (no compositing
// manager shows it on the screen): a shadow-like partial border and a full
// border with its caption and buttons, over a light grey background.
TEST_F(FormScreens, LayeredBorder) {
  TTempFolder Dir("formscreens-layer");
  TSkinOptions O;
  O.FormInfo = {u"buttonsoffset=2"};
  auto SD = LoadFixtureSkin(Dir, O);
  AddLayerFrame(SD.get());
  for (bool Full : {false, true}) {
    SD->LayerFrame->FullBorder = Full;
    auto* F = new TForm(nullptr);
    F->SetBounds(120, 120, 300, 200);
    F->SetCaption(u"Layered border");
    auto* FS = new TspFormSkin(F);
    FS->SetSkinData(SD.get());
    if (Full) {
      AddFullBorderObjects(FS);
      FS->FBorderLayer->InitFrame(SD.get(), F);
    }
    ASSERT_NE(FS->FBorderLayer->FData, nullptr);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(376, 284);
    B.Canvas()->Brush()->SetColor(TColor(0xE0E0E0));
    B.Canvas()->FillRect(TRect(0, 0, 376, 284));
    FS->FBorderLayer->Draw(B.Canvas(), 20, 10, 336, 264);
    EXPECT_EQ(Px(&B, 20, 10), Sys(LayerCornerL));
    std::vector<std::uint8_t> Buf(size_t(B.Width()) * B.Height() * 4);
    for (Integer Y = 0; Y < B.Height(); ++Y)
      for (Integer X = 0; X < B.Width(); ++X) {
        const TColor C = Px(&B, X, Y);
        std::uint8_t* P = &Buf[(size_t(Y) * B.Width() + X) * 4];
        P[0] = GetBValue(C);
        P[1] = GetGValue(C);
        P[2] = GetRValue(C);
        P[3] = 255;
      }
    lumigra_test::SaveScreenPixels(Buf.data(), B.Width(), B.Height(), B.Width() * 4,
                                   Full ? "layered-border-full" : "layered-border", "fixture");
    delete F;
  }
  EXPECT_TRUE(Errors.empty());
}

// The main menu bar in the default look on a form: a hot item, an item
// with an image, and a narrow bar whose last items show only as the marker.
TEST_F(FormScreens, MainMenuBar) {
  auto* F = new TForm(nullptr);
  F->SetBounds(120, 120, 320, 160);
  F->SetCaption(u"Main menu bar");
  auto* FS = new TspFormSkin(F);
  auto* Menu = new TMainMenu(F);
  for (const Char* C : {u"&File", u"&Edit", u"&View", u"&Image", u"&Help"}) {
    auto* I = new TMenuItem(Menu->Items());
    I->SetCaption(C);
    Menu->Items()->Add(I);
    auto* Sub = new TMenuItem(I);
    Sub->SetCaption(u"&Item");
    I->Add(Sub);
  }
  auto* IL = new TCustomImageList(F, 16, 16);
  auto Img = skintest::FlatPicture(16, 16, clRed, {{TRect(4, 4, 12, 12), clYellow}});
  IL->Add(Img.get(), nullptr);
  Menu->SetImages(IL);
  Menu->Items()->Items(2)->SetImageIndex(0);
  auto* Bar = new TspSkinMainMenuBar(F);
  Bar->SetParent(F);
  FS->SetMainMenuBar(Bar);
  Bar->SetMainMenu(Menu);
  F->Show();
  Pump();
  ASSERT_EQ(Bar->ObjectList->Count(), 5);
  Bar->TestActive(Bar->ItemAt(1)->ObjectRect.Left + 2, 10);
  EXPECT_TRUE(Bar->ItemAt(1)->Active);
  Pump();
  lumigra_test::SaveWindowScreen(F->Handle(), "mainmenubar", "default");
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 150, 22);
  Bar->Repaint();
  Pump();
  EXPECT_TRUE(Bar->Scroll);
  lumigra_test::SaveWindowScreen(F->Handle(), "mainmenubar-narrow", "default");
  delete F;
  EXPECT_TRUE(Errors.empty());
}

namespace {

class DocumentScreens : public FormTest {
 protected:
  // A document parent with a main menu bar and a tabs bar over three
  // children, all in one look: tiled, cascaded, a hot tab, a maximised
  // child whose caption the parent's carries.
  void Shots(const std::string& Look, TspSkinData* SD) {
    SCOPED_TRACE(Look);
    TCustomForm* SavedMain = Application->MainForm();
    auto* Parent = new TForm(nullptr);
    Parent->SetName(u"Documents");
    Parent->SetCaption(u"Documents");
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetBounds(60, 60, 640, 460);
    auto* PS = new TspFormSkin(Parent);
    PS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize);
    PS->SetSkinData(SD);
    auto* Menu = new TMainMenu(Parent);
    TMenuItem* WindowItem = nullptr;
    for (const Char* C : {u"&File", u"&Edit", u"&Image", u"&Window"}) {
      auto* It = new TMenuItem(Menu);
      It->SetCaption(C);
      auto* Sub = new TMenuItem(Menu);
      Sub->SetCaption(u"&Item");
      It->Add(Sub);
      Menu->Items()->Add(It);
      WindowItem = It;
    }
    Parent->SetWindowMenu(WindowItem);
    auto* Bar = new TspSkinMainMenuBar(Parent);
    Bar->SetSkinData(SD);
    Bar->SetParent(Parent);
    PS->SetMainMenuBar(Bar);
    Bar->SetMainMenu(Menu);
    auto* Tabs = new TspSkinMDITabsBar(Parent);
    Tabs->SetAlign(alTop);
    Tabs->SetSkinData(SD);
    Tabs->SetParent(Parent);
    Tabs->SetFormSkin(PS);
    Tabs->ShowCloseButtons = true;
    PS->SetMDITabsBar(Tabs);
    // The tabs under the menu bar.
    Tabs->SetTop(Bar->BoundsRect().Bottom + 1);
    Application->SetMainForm(Parent);
    Parent->Show();
    SetForegroundWindow(Parent->Handle());
    Pump();
    std::vector<TForm*> Kids;
    for (Integer I = 0; I < 3; ++I) {
      auto* C = new TForm(nullptr);
      C->SetName(u"Picture" + IntToStr(I + 1));
      C->SetCaption(u"Picture " + IntToStr(I + 1));
      C->SetFormStyle(fsMDIChild);
      C->SetBounds(10 + 30 * I, 10 + 30 * I, 260, 180);
      auto* CS = new TspFormSkin(C);
      CS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize);
      CS->SetSkinData(SD);
      C->Show();
      Pump();
      Kids.push_back(C);
    }
    auto Skin = [](TCustomForm* F) { return dynamic_cast<TspFormSkin*>(FindSkinForm(F)); };
    ASSERT_EQ(Tabs->TabCount(), 3);
    ASSERT_EQ(Bar->ObjectList->Count(), 4);
    EXPECT_EQ(Tabs->Top(), Bar->BoundsRect().Bottom);

    PS->Tile();
    Pump();
    // Tiled in rows (the default tile mode): one above the other, each as
    // wide as the client.
    EXPECT_NE(Kids[0]->Top(), Kids[1]->Top());
    EXPECT_NE(Kids[1]->Top(), Kids[2]->Top());
    EXPECT_EQ(Kids[0]->Width(), Kids[2]->Width());
    lumigra_test::SaveWindowScreen(Parent->Handle(), "mdi-tiled", Look);

    PS->Cascade();
    Pump();
    EXPECT_LT(Kids[0]->Top(), Kids[1]->Top());
    EXPECT_LT(Kids[1]->Top(), Kids[2]->Top());
    lumigra_test::SaveWindowScreen(Parent->Handle(), "mdi-cascaded", Look);

    // The last child is active; the pointer rests on the first tab.
    Tabs->Repaint();
    Pump();
    const TRect T0 = Tabs->Tabs(0)->ObjectRect;
    SendMessageW(Tabs->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(T0.Left + 4, T0.Top + 4));
    EXPECT_TRUE(Tabs->Tabs(0)->MouseIn);
    EXPECT_FALSE(Tabs->Tabs(0)->Active);
    EXPECT_TRUE(Tabs->Tabs(2)->Active);
    lumigra_test::SaveWindowScreen(Parent->Handle(), "mdi-tabs-hot", Look);
    SendMessageW(Tabs->Handle(), CM_MOUSELEAVE, 0, 0);

    Skin(Kids[2])->SetWindowState(wsMaximized);
    Pump();
    EXPECT_TRUE(PS->MDIChildMaximized());
    EXPECT_EQ(PS->FormCaptionText(), u"Documents - [Picture 3]");
    // The menu bar carries the maximised child's buttons.
    EXPECT_GT(Bar->ButtonsCount, 0);
    SendMessageW(Parent->Handle(), WM_NCPAINT, 0, 0);
    lumigra_test::SaveWindowScreen(Parent->Handle(), "mdi-maximised", Look);
    Skin(Kids[2])->SetWindowState(wsNormal);
    Pump();

    // The made schemes describe no layered border: applying one leaves the
    // border without a frame (the fixture skin's picture shows it).
    EXPECT_EQ(PS->FBorderLayer->FData, nullptr);
    for (TForm* K : Kids) delete K;
    delete Parent;
    Application->SetMainForm(SavedMain);
  }
};

}  // namespace

TEST_F(DocumentScreens, DefaultLookAndMadeSchemes) {
  Shots("default", nullptr);
  for (const char16_t* Name : {u"Dawn", u"Charm", u"Laconic", u"Cool"}) {
    auto SD = ctl::MadeScheme(Name);
    ASSERT_FALSE(SD->Empty) << ToUtf8(Name);
    Shots(ToUtf8(Name), SD.get());
  }
  EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? std::string() : ToUtf8(Errors[0]));
}
