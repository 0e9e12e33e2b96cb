// The drop-down buttons with menus that record their calls: which press
// opens which menu, the state while a menu is open, the close messages,
// and the buttons that would stay down when no menu can open. Also the
// popups of the two menus through a host, the picture-menu buttons and the
// menus' host lookup.
#include "tests/skin/controls/win/CtlTestUtil.h"


using namespace ctl;

namespace {

class MenuButtons : public SkinCtlTest {};

// How a fake menu answers a popup request.
enum TAnswer { CloseLater, CloseAtOnce, Refuse };

class TFakePopup : public TspSkinPopupMenu {
 public:
  using TspSkinPopupMenu::TspSkinPopupMenu;
  TAnswer Answer = CloseLater;
  int Shows = 0;
  TControl* Ctrl = nullptr;
  TRect At;
  bool PopupFromRect2(TControl* ACtrl, const TRect& R, bool) override {
    ++Shows;
    Ctrl = ACtrl;
    At = R;
    if (Answer == Refuse) return false;
    if (Answer == CloseAtOnce) Close();
    return true;
  }
  // The skinned menu's last level closing.
  void Close() {
    if (auto* W = dynamic_cast<TWinControl*>(Ctrl))
      SendMessageW(W->Handle(), FEM_MENU_CLOSED, 0, 0);
    else
      Ctrl->Perform(FEM_MENU_CLOSED, 0, 0);
  }
};

class TFakeImages : public TspSkinImagesMenu {
 public:
  using TspSkinImagesMenu::TspSkinImagesMenu;
  TAnswer Answer = CloseLater;
  int Shows = 0;
  bool PopupFromRect(const TRect&) override {
    ++Shows;
    if (Answer == Refuse) return false;
    if (Answer == CloseAtOnce) Close();
    return true;
  }
  void Close() { Fire(OnInternalMenuClose, this); }
};

// A menu button of either kind, seen the same way.
struct TDropDown {
  TControl* C;
  std::function<bool()> Down, Tracked;
  std::function<void(TspSkinPopupMenu*, TspSkinImagesMenu*, bool)> Setup;
  int Clicks = 0, ShowsEv = 0, Hides = 0;
};

std::unique_ptr<TDropDown> MakeDropDown(bool Speed, TWinControl* Host) {
  auto D = std::make_unique<TDropDown>();
  TDropDown* P = D.get();
  if (Speed) {
    auto* B = new TspSkinMenuSpeedButton(Host);
    B->SetParent(Host);
    B->SetBounds(10, 10, 70, 24);
    D->C = B;
    D->Down = [B] { return B->Down(); };
    D->Tracked = [B] { return B->MenuTracked(); };
    D->Setup = [B](TspSkinPopupMenu* Pm, TspSkinImagesMenu* Im, bool Track) {
      B->SetSkinPopupMenu(Pm);
      B->SetSkinImagesMenu(Im);
      B->SetTrackButtonMode(Track);
    };
    B->OnClick = [P](TObject*) { ++P->Clicks; };
    B->OnShowTrackMenu = [P](TObject*) { ++P->ShowsEv; };
    B->OnHideTrackMenu = [P](TObject*) { ++P->Hides; };
  } else {
    auto* B = new TspSkinMenuButton(Host);
    B->SetParent(Host);
    B->SetBounds(10, 10, 70, 24);
    B->SetCanFocused(false);
    D->C = B;
    D->Down = [B] { return B->Down(); };
    D->Tracked = [B] { return B->MenuTracked(); };
    D->Setup = [B](TspSkinPopupMenu* Pm, TspSkinImagesMenu* Im, bool Track) {
      B->SetSkinPopupMenu(Pm);
      B->SetSkinImagesMenu(Im);
      B->SetTrackButtonMode(Track);
    };
    B->OnClick = [P](TObject*) { ++P->Clicks; };
    B->OnShowTrackMenu = [P](TObject*) { ++P->ShowsEv; };
    B->OnHideTrackMenu = [P](TObject*) { ++P->Hides; };
  }
  return D;
}

TEST_F(MenuButtons, PressReleaseCloseTable) {
  struct Row {
    const char* Name;
    bool Popup, Images, Track;
    Integer PressX;  // of a 70-pixel button
    bool Opens;
    int ShowEvents;
  } Rows[] = {
      {"popup, anywhere", true, false, false, 10, true, 1},
      {"images, anywhere", false, true, false, 10, true, 1},
      {"both menus", true, true, false, 10, true, 2},
      {"track part edge", true, false, true, 55, true, 1},
      {"track part, images", false, true, true, 69, true, 1},
      {"beside the track part", true, false, true, 54, false, 0},
      {"no menu", false, false, false, 10, false, 0},
  };
  for (bool Speed : {false, true}) {
    for (const Row& R : Rows) {
      SCOPED_TRACE(std::string(R.Name) + (Speed ? " (speed)" : " (push)"));
      auto D = MakeDropDown(Speed, Host);
      auto* Pm = new TFakePopup(Host);
      auto* Im = new TFakeImages(Host);
      D->Setup(R.Popup ? Pm : nullptr, R.Images ? Im : nullptr, R.Track);
      Press(D->C, R.PressX, 12);
      EXPECT_EQ(D->Tracked(), R.Opens);
      EXPECT_TRUE(D->Down());
      EXPECT_EQ(D->ShowsEv, R.ShowEvents);
      EXPECT_EQ(Pm->Shows, R.Opens && R.Popup ? 1 : 0);
      EXPECT_EQ(Im->Shows, R.Opens && R.Images ? 1 : 0);
      if (R.Opens && R.Popup) {
        EXPECT_EQ(Pm->Ctrl, D->C);
      }
      Release(D->C, R.PressX, 12);
      if (R.Opens) {
        // The release belongs to the menu: no click, still down.
        EXPECT_EQ(D->Clicks, 0);
        EXPECT_TRUE(D->Down());
        D->C->Perform(CM_MOUSELEAVE, 0, 0);
        D->C->Perform(CM_MOUSEENTER, 0, 0);
        EXPECT_TRUE(D->Down());
        if (R.Popup)
          Pm->Close();
        else
          Im->Close();
        EXPECT_FALSE(D->Down());
        EXPECT_FALSE(D->Tracked());
        EXPECT_EQ(D->Hides, 1);
        EXPECT_EQ(D->Clicks, 0);
      } else {
        EXPECT_EQ(D->Clicks, 1);  // an ordinary button press
        EXPECT_FALSE(D->Down());
        EXPECT_EQ(D->Hides, 0);
      }
      delete D->C;
      delete Pm;
      delete Im;
    }
  }
}

// The hit test of the drop-down part, edges included (a press at X = Width
// reaches only a windowed button, but the test holds for both).
TEST_F(MenuButtons, TrackPartEdges) {
  auto* Pm = new TFakePopup(Host);
  auto* B = new TspSkinMenuButton(Host);
  B->SetParent(Host);
  B->SetBounds(0, 0, 70, 24);
  auto* S = new TspSkinMenuSpeedButton(Host);
  S->SetParent(Host);
  S->SetBounds(0, 30, 70, 24);
  EXPECT_FALSE(B->InMenuArea(60, 5));  // no menu: a plain button
  B->SetSkinPopupMenu(Pm);
  S->SetSkinPopupMenu(Pm);
  EXPECT_TRUE(B->InMenuArea(0, 0));   // without track mode: everywhere
  B->SetTrackButtonMode(true);
  S->SetTrackButtonMode(true);
  for (auto [X, In] : {std::pair{55, true}, {70, true}, {54, false}}) {
    EXPECT_EQ(B->InMenuArea(X, 12), In) << X;
    EXPECT_EQ(S->InMenuArea(X, 12), In) << X;
  }
  S->SetNewStyle(true);
  S->SetTrackPosition(sptpBottom);
  EXPECT_TRUE(S->InMenuArea(5, 9));
  EXPECT_FALSE(S->InMenuArea(5, 8));
  S->SetNewStyle(false);
  EXPECT_EQ(S->SkinDataName(), u"resizetoolbutton");  // False leaves the name
}

// A menu that cannot open reports no close: the button comes up at once.
TEST_F(MenuButtons, NoMenuOpensButtonDoesNotStickDown) {
  for (bool Speed : {false, true}) {
    for (int Which = 0; Which < 3; ++Which) {
      SCOPED_TRACE(Which + (Speed ? 10 : 0));
      auto D = MakeDropDown(Speed, Host);
      auto* Pm = new TFakePopup(Host);
      auto* Im = new TFakeImages(Host);
      Pm->Answer = Im->Answer = Refuse;
      D->Setup(Which != 1 ? Pm : nullptr, Which != 0 ? Im : nullptr, false);
      Press(D->C, 10, 12);
      EXPECT_FALSE(D->Down());
      EXPECT_FALSE(D->Tracked());
      EXPECT_EQ(D->Hides, 1);
      Release(D->C, 10, 12);
      EXPECT_EQ(D->Clicks, 0);
      // The next press opens again.
      Pm->Answer = Im->Answer = CloseLater;
      Press(D->C, 10, 12);
      EXPECT_TRUE(D->Tracked());
      delete D->C;
      delete Pm;
      delete Im;
    }
  }
  // The real menus: a popup menu without a skinned form, an images menu
  // without pictures.
  auto D = MakeDropDown(true, Host);
  auto* Pm = new TspSkinPopupMenu(Host);
  auto* Im = new TspSkinImagesMenu(Host);
  D->Setup(Pm, Im, false);
  Press(D->C, 10, 12);
  EXPECT_FALSE(D->Down());
  EXPECT_EQ(D->Hides, 1);
  Release(D->C, 10, 12);
}

TEST_F(MenuButtons, ImagesMenuChoiceRepaintsAndShowsTheItem) {
  auto* B = new TspSkinMenuSpeedButton(Host);
  B->SetParent(Host);
  B->SetBounds(10, 10, 70, 24);
  auto* List = new TImageList(Host);
  List->SetSize(8, 8);
  for (TColor C : {clRed, clLime}) {
    auto Pic = skintest::FlatPicture(8, 8, C);
    List->Add(Pic.get(), nullptr);
  }
  auto* Im = new TspSkinImagesMenu(Host);
  Im->SetImages(List);
  Im->ImagesItems()->Add()->SetImageIndex(0);
  Im->ImagesItems()->Add()->SetImageIndex(1);
  Im->SetItemIndex(0);
  B->SetSkinImagesMenu(Im);
  B->SetUseImagesMenuImage(true);
  auto Img = Render(B);
  bool Red = false;
  for (Integer X = 0; X < 55; ++X) Red = Red || Px(Img.get(), X, 12) == TColor(clRed);
  EXPECT_TRUE(Red);
  Im->SetItemIndex(1);
  Fire(Im->OnInternalChange, Im);
  Img = Render(B);
  bool Lime = false;
  for (Integer X = 0; X < 55; ++X) Lime = Lime || Px(Img.get(), X, 12) == TColor(clLime);
  EXPECT_TRUE(Lime);
}

TEST_F(MenuButtons, DefaultLooksWithTheDropDownPart) {
  auto* B = new TspSkinMenuButton(Host);
  B->SetParent(Host);
  B->SetBounds(10, 10, 70, 24);
  B->SetCanFocused(false);
  B->SetTrackButtonMode(true);
  auto Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 54, 5), Sys(clBtnShadow));  // the main part's right frame
  EXPECT_EQ(Px(Img.get(), 55, 5), Sys(clBtnShadow));  // the part's left frame
  bool Mark = false;
  for (Integer X = 56; X < 69; ++X)
    for (Integer Y = 8; Y < 16; ++Y) Mark = Mark || Px(Img.get(), X, Y) == Sys(clBtnText);
  EXPECT_TRUE(Mark);
  auto* Pm = new TFakePopup(Host);
  B->SetSkinPopupMenu(Pm);
  Press(B, 60, 12);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 3, 3), TColor(0xD2BDB6));   // main part hot
  EXPECT_EQ(Px(Img.get(), 60, 3), TColor(0xB59385));  // drop-down part pressed
  Pm->Close();

  auto* S = new TspSkinMenuSpeedButton(Host);
  S->SetParent(Host);
  S->SetBounds(100, 10, 70, 24);
  Img = Render(S);
  Mark = false;
  for (Integer X = 56; X < 69; ++X)
    for (Integer Y = 8; Y < 16; ++Y) Mark = Mark || Px(Img.get(), X, Y) == Sys(clBtnText);
  EXPECT_TRUE(Mark);
}

// The skinned resizable look of the tool-bar drop-downs: a nine-slice face
// at any width and the marker in the right 15 pixels.
TEST_F(MenuButtons, ResizeToolButtonLook) {
  auto S = CoordSkin();
  S.Control(u"resizetoolbutton", u"menubutton",
            {u"pictureindex=0", u"skinrect=0,0,30,20", u"activeskinrect=0,20,30,40", u"downskinrect=0,40,30,60",
             u"lefttoppoint=3,3", u"righttoppoint=27,3", u"leftbottompoint=3,17", u"rightbottompoint=27,17",
             u"clientrect=3,3,27,17", u"fontcolor=255"});
  auto SD = LoadSkin(S);
  auto* B = new TspSkinMenuSpeedButton(Host);
  B->SetParent(Host);
  B->SetNewStyle(false);
  B->SetSkinDataName(u"resizetoolbutton");
  B->SetSkinData(SD.get());
  B->SetBounds(10, 10, 80, 24);
  ASSERT_TRUE(B->Skinned());
  auto Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(0, 0));
  EXPECT_EQ(Px(Img.get(), 79, 23), Coord(29, 19));
  SaveScreen(u"test", u"menuspeedbutton", u"normal", Img.get());
  B->Perform(CM_MOUSEENTER, 0, 0);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(0, 20));
  B->SetTrackButtonMode(true);
  auto* Pm = new TFakePopup(Host);
  B->SetSkinPopupMenu(Pm);
  Press(B, 75, 12);
  Img = Render(B);
  // Tracked: the body hot, the 15-pixel part pressed, each a nine-slice of its own.
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(0, 20));
  EXPECT_EQ(Px(Img.get(), 65, 0), Coord(0, 40));
  EXPECT_EQ(Px(Img.get(), 79, 0), Coord(29, 40));
  SaveScreen(u"test", u"menuspeedbutton", u"tracked", Img.get());
  Pm->Close();
  EXPECT_FALSE(B->Down());
}

// A skinned form component stand-in for the menus' host lookup.
class TFakeHost : public TComponent, public TspSkinMenuHost {
 public:
  using TComponent::TComponent;
  TCustomForm* MenuHostForm() override { return dynamic_cast<TCustomForm*>(Owner()); }
  TspSkinData* MenuHostSkinData() override { return Skin; }
  TspSkinData* MenuHostMenusSkinData() override { return MenusSkin; }
  bool SkinMenuVisible() override { return Visible; }
  void SkinMenuOpen() override {
    Log.push_back(u"open");
    Visible = true;
  }
  void SkinMenuClose() override {
    Log.push_back(u"close");
    Visible = false;
  }
  TspSkinMenu* MenuHostSkinMenu() override { return Menu; }
  TspSkinData* Skin = nullptr;
  TspSkinData* MenusSkin = nullptr;
  bool Visible = false;
  std::vector<String>& Log;
  TspSkinMenu* Menu;
  TFakeHost(TComponent* AOwner, std::vector<String>& L)
      : TComponent(AOwner), Log(L), Menu(new TspSkinMenu(this, nullptr)) {}
};

TEST_F(MenuButtons, PopupThroughTheFormsHost) {
  std::vector<String> Log;
  auto* F = new TForm(nullptr);
  EXPECT_EQ(FindSkinForm(F), nullptr);
  EXPECT_EQ(FindSkinForm(nullptr), nullptr);
  auto* Plain = new TComponent(F);
  auto* H1 = new TFakeHost(F, Log);
  auto* H2 = new TFakeHost(F, Log);
  EXPECT_EQ(FindSkinForm(F), static_cast<TComponent*>(H1));
  (void)Plain;
  (void)H2;
  auto SD = LoadSkin(CoordSkin());
  auto SDMenus = LoadSkin(CoordSkin());
  H1->Skin = SD.get();
  H1->MenusSkin = SDMenus.get();
  auto* Pm = new TspSkinPopupMenu(F);
  auto* Item = new TMenuItem(Pm);
  Item->SetCaption(u"Item");
  Pm->Items()->Add(Item);
  int Popups = 0;
  Pm->OnPopup = [&](TObject*) { ++Popups; };
  Pm->OnMenuClose = [&](TObject*) { Log.push_back(u"menuclose"); };
  auto* B = new TspSkinMenuSpeedButton(Host);
  B->SetParent(Host);
  B->SetSkinPopupMenu(Pm);
  B->OnHideTrackMenu = [&](TObject*) { Log.push_back(u"hide"); };
  Press(B, 5, 5);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(Pm->SkinData(), SDMenus.get());  // the menus' skin of the host
  // The menu stays open after the press; the button is down meanwhile.
  EXPECT_TRUE(H1->Menu->Visible());
  EXPECT_EQ(Log, (std::vector<String>{u"open"}));
  // The control hears the close before OnMenuClose.
  H1->Menu->Hide();
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"hide", u"menuclose"}));
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MenuTracked());
  Release(B, 5, 5);
  delete B;
  delete F;
}

TEST_F(MenuButtons, ImagesMenuRunsTheCloseSequence) {
  auto* List = new TImageList(Host);
  List->SetSize(8, 8);
  auto Pic = skintest::FlatPicture(8, 8, clRed);
  List->Add(Pic.get(), nullptr);
  auto* Im = new TspSkinImagesMenu(Host);
  std::vector<String> Log;
  Im->OnMenuPopup = [&](TObject*) { Log.push_back(u"popup"); };
  Im->OnChange = [&](TObject*) { Log.push_back(u"change"); };
  Im->OnInternalMenuClose = [&](TObject*) { Log.push_back(u"internalclose"); };
  Im->OnMenuClose = [&](TObject*) { Log.push_back(u"close"); };
  Im->SetImages(List);
  Im->ImagesItems()->Add()->SetImageIndex(0);
  EXPECT_TRUE(Im->PopupFromRect(TRect(100, 100, 170, 124)));
  EXPECT_EQ(Log, (std::vector<String>{u"popup"}));
  Im->Hide();
  EXPECT_EQ(Log, (std::vector<String>{u"popup", u"internalclose", u"close"}));
  // Without pictures: OnMenuPopup and nothing more.
  Log.clear();
  List->Clear();
  EXPECT_FALSE(Im->PopupFromRect(TRect(100, 100, 170, 124)));
  EXPECT_EQ(Log, (std::vector<String>{u"popup"}));
  Im->SetColumnsCount(51);
  EXPECT_EQ(Im->ColumnsCount(), 1);
  Im->SetColumnsCount(50);
  EXPECT_EQ(Im->ColumnsCount(), 50);
  Im->SetItemIndex(3);
  EXPECT_EQ(Im->SelectedItem(), nullptr);
}

TEST_F(MenuButtons, PenStyleButton) {
  auto* B = new TspSkinPenStyleButton(Host);
  B->SetParent(Host);
  EXPECT_EQ(B->Width(), 65);
  EXPECT_EQ(B->SkinDataName(), u"toolmenubutton");
  ASSERT_EQ(B->GraphicImages()->Count(), 5);
  EXPECT_EQ(B->GraphicImages()->Width(), 44);
  EXPECT_EQ(B->GraphicImages()->Height(), 15);
  EXPECT_EQ(B->GraphicItems()->Count(), 5);
  EXPECT_EQ(B->GraphicMenu()->ColumnsCount(), 1);
  EXPECT_EQ(B->ItemIndex(), 0);
  ASSERT_NE(B->SelectedItem(), nullptr);
  auto Img = Render(B);
  // The solid line shows as a black run across the picture.
  Integer Black = 0;
  for (Integer X = 0; X < 50; ++X)
    for (Integer Y = 0; Y < 24; ++Y) Black += Px(Img.get(), X, Y) == TColor(clBlack);
  EXPECT_GE(Black, 40);
  int Changes = 0, Hides = 0;
  B->GraphicMenu()->OnChange = [&](TObject*) { ++Changes; };
  B->OnHideTrackMenu = [&](TObject*) { ++Hides; };
  B->SetItemIndex(3);
  EXPECT_EQ(B->ItemIndex(), 3);
  EXPECT_EQ(Changes + Hides, 0);
  Img = Render(B);
  Integer BlackDashDot = 0;
  for (Integer X = 0; X < 50; ++X)
    for (Integer Y = 0; Y < 24; ++Y) BlackDashDot += Px(Img.get(), X, Y) == TColor(clBlack);
  EXPECT_LT(BlackDashDot, Black);
  B->SetItemIndex(7);
  EXPECT_EQ(B->ItemIndex(), 7);
  EXPECT_EQ(B->SelectedItem(), nullptr);
  Img = Render(B);
  Integer None = 0;
  for (Integer X = 0; X < 50; ++X)
    for (Integer Y = 0; Y < 24; ++Y) None += Px(Img.get(), X, Y) == TColor(clBlack);
  EXPECT_EQ(None, 0);  // no picture: the button's own (empty) sources
}

// The line pictures lie on the button's own face in every look: where the
// picture changes the face, it is the line's dark ink, never the white the
// pictures are drawn on.
TEST_F(MenuButtons, PenStylePictureShowsOnlyItsLineOnTheFace) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  for (const auto& [Scheme, Skin] : DefaultAndMadeSchemes(Loaded)) {
    SCOPED_TRACE(ToUtf8(Scheme));
    auto* B = new TspSkinPenStyleButton(Host);
    B->SetParent(Host);
    B->SetSkinData(Skin);
    B->SetItemIndex(7);
    auto Bare = Render(B);
    B->SetItemIndex(1);
    auto Dash = Render(B);
    SaveScreen(Scheme, u"penstylebutton", u"dash", Dash.get());
    Integer Ink = 0, Other = 0;
    for (Integer Y = 0; Y < B->Height(); ++Y)
      for (Integer X = 0; X < B->Width(); ++X) {
        const TColor P = Px(Dash.get(), X, Y);
        if (P == Px(Bare.get(), X, Y)) continue;
        const Integer Sum = (P & 0xFF) + ((P >> 8) & 0xFF) + ((P >> 16) & 0xFF);
        (Sum < 3 * 80 ? Ink : Other) += 1;
      }
    EXPECT_GE(Ink, 20);
    EXPECT_EQ(Other, 0) << "pixels of the picture's ground on the face";
    delete B;
  }
}

}  // namespace
