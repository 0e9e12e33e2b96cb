// The skinned popup menu: its level geometry and placement, the item marks,
// the default and skinned looks, pointer and key handling of a level, and
// the order of the close notifications, with a recording host form.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinHint.h"
#include "skin/controls/win/SkinMenuLevels.h"
#include "skin/controls/win/SkinMenus.h"

using namespace ctl;

namespace {

// A form component as the menus see it, recording the menu state.
class TRecHost : public TComponent, public TspSkinMenuHost {
 public:
  TRecHost(TComponent* AOwner, TCustomForm* AForm, std::vector<String>& L)
      : TComponent(AOwner), Form(AForm), Menu(new TspSkinMenu(this, AForm)), Log(L) {}
  TCustomForm* MenuHostForm() override { return Form; }
  TspSkinData* MenuHostSkinData() override { return Skin; }
  TspSkinData* MenuHostMenusSkinData() override { return nullptr; }
  bool SkinMenuVisible() override { return Menu->Visible(); }
  void SkinMenuOpen() override { Log.push_back(u"open"); }
  void SkinMenuClose() override { Log.push_back(u"close"); }
  TspSkinMenu* MenuHostSkinMenu() override { return Menu; }
  TCustomForm* Form;
  TspSkinMenu* Menu;
  TspSkinData* Skin = nullptr;
  std::vector<String>& Log;
};

class SkinMenus : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    Form = SharedForm();
    Rec = new TRecHost(Host, Form, Log);
    // The form's 1228 is the skinned menu telling its form it has closed.
    OldFormProc = Form->WindowProc();
    Form->SetWindowProc([this](TMessage& M) {
      if (M.Msg == FEM_MENU_CLOSED) Log.push_back(u"form 1228");
      OldFormProc(M);
    });
    Pm = new TspSkinPopupMenu(Host);
    Pm->SetSkinComponent(Rec);
  }
  void TearDown() override {
    Form->SetWindowProc(OldFormProc);
    SkinCtlTest::TearDown();
  }
  TMenuItem* Add(TMenuItem* Parent, const String& Caption, const String& LogAs = u"") {
    auto* M = new TMenuItem(Pm);
    M->SetCaption(Caption);
    if (!LogAs.empty()) M->OnClick = [this, LogAs](TObject*) { Log.push_back(LogAs); };
    Parent->Add(M);
    return M;
  }
  // A control that logs the menu's messages to it.
  THost* LoggingControl(const String& Name) {
    auto* C = new THost(Host);
    C->SetParent(Host);
    C->SetBounds(10, 200, 60, 20);
    TWndMethod Old = C->WindowProc();
    C->SetWindowProc([this, Old, Name](TMessage& M) {
      if (M.Msg == FEM_MENU_CLOSED) Log.push_back(Name + u" 1228");
      if (M.Msg == FEM_MENU_COMMAND) Log.push_back(Name + u" 1229");
      Old(M);
    });
    return C;
  }
  TspSkinMenu* Menu() const { return Rec->Menu; }
  TspSkinPopupWindow* Level(Integer I) const { return Menu()->Level(I); }

  TForm* Form = nullptr;
  TRecHost* Rec = nullptr;
  TspSkinPopupMenu* Pm = nullptr;
  TWndMethod OldFormProc;
  std::vector<String> Log;
};

// The pixels of a mark drawn at (2, 2) on white, as rows of '#' and '.'.
std::vector<std::string> MarkRows(void (*Draw)(TCanvas*, Integer, Integer, TColor), Integer W, Integer H) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(W + 4, H + 4);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(TRect(0, 0, B.Width(), B.Height()));
  Draw(B.Canvas(), 2, 2, clBlack);
  std::vector<std::string> Rows;
  for (Integer Y = 0; Y < B.Height(); ++Y) {
    std::string R;
    for (Integer X = 0; X < B.Width(); ++X) R += Px(&B, X, Y) == clBlack ? '#' : '.';
    Rows.push_back(R);
  }
  return Rows;
}

// A level of the menu painted into a bitmap of its size.
std::unique_ptr<TBitmap> PaintLevel(TspSkinPopupWindow* L) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(L->Width(), L->Height());
  L->PaintMenu(B->Canvas()->Handle());
  return B;
}

}  // namespace

TEST(SkinMenuRules, CloseMessages) {
  const struct {
    UINT Msg;
    bool Closes;
  } Rows[] = {
      {WM_MOVE, true},          {WM_SIZE, true},           {WM_ACTIVATE, true},      {WM_KILLFOCUS, true},
      {WM_CANCELMODE, true},    {WM_MOUSEACTIVATE, true},  {WM_NCLBUTTONDOWN, true}, {WM_NCRBUTTONDOWN, true},
      {WM_NCMBUTTONDOWN, true}, {WM_LBUTTONDOWN, true},    {WM_RBUTTONDOWN, true},   {WM_MBUTTONDOWN, true},
      {WM_PARENTNOTIFY, true},  {WM_KEYDOWN, false},       {WM_MOUSEWHEEL, false},   {WM_LBUTTONDBLCLK, false},
      {WM_LBUTTONUP, false},    {WM_RBUTTONUP, false},     {WM_MBUTTONUP, false},    {WM_MOUSEMOVE, false},
      {WM_NCLBUTTONUP, false},  {WM_ACTIVATEAPP, false},
  };
  for (const auto& R : Rows) EXPECT_EQ(IsMenuCloseMessage(R.Msg), R.Closes) << std::hex << R.Msg;
}

TEST(SkinMenuRules, LevelPlacement) {
  // Work area 1000 x 800 (middle 400); W, H the level's size, IT its items' top margin.
  const TRect WA(0, 0, 1000, 800);
  const struct {
    const char* Case;
    TRect R;
    Integer W, H;
    bool Scroll, Scroll2, ByItem, Up;
    TPoint Want;
  } Rows[] = {
      {"below", TRect(100, 100, 100, 100), 200, 300, false, false, false, false, TPoint(100, 100)},
      {"below, no room, upper half: bottom, beside", TRect(100, 390, 100, 390), 200, 500, false, false, false, false,
       TPoint(101, 300)},
      {"below, no room, lower half: above", TRect(100, 600, 100, 600), 200, 500, false, false, false, false,
       TPoint(100, 100)},
      {"below, no room at all: top, beside", TRect(100, 600, 100, 600), 200, 700, false, false, false, false,
       TPoint(101, 0)},
      {"pushed left of the right edge", TRect(900, 100, 900, 100), 200, 300, false, false, false, false,
       TPoint(800, 100)},
      {"raised to the left edge", TRect(-50, 100, -50, 100), 200, 300, false, false, false, false, TPoint(0, 100)},
      {"above", TRect(100, 500, 100, 520), 200, 300, false, false, false, true, TPoint(100, 200)},
      {"above, no room: below", TRect(100, 100, 100, 120), 200, 300, false, false, false, true, TPoint(100, 120)},
      {"above, no room, upper half: bottom, beside", TRect(100, 100, 100, 600), 200, 300, false, false, false, true,
       TPoint(101, 500)},
      {"above, no room, lower half: top, beside", TRect(100, 420, 100, 440), 200, 790, false, false, false, true,
       TPoint(101, 0)},
      {"beside an item", TRect(100, 100, 300, 120), 200, 300, false, false, true, false, TPoint(301, 97)},
      {"beside, no room right: left, 1 px apart", TRect(600, 100, 990, 120), 200, 300, false, false, true, false,
       TPoint(399, 97)},
      {"beside, too wide either side: on the work area", TRect(100, 100, 990, 120), 300, 300, false, false, true,
       false, TPoint(0, 97)},
      {"beside, no room below, upper half", TRect(100, 300, 300, 320), 200, 600, false, false, true, false,
       TPoint(301, 200)},
      {"beside, no room below, lower half", TRect(100, 700, 300, 720), 200, 300, false, false, true, false,
       TPoint(301, 423)},
      {"beside, lower half, never above the work area", TRect(100, 700, 300, 720), 200, 790, false, false, true,
       false, TPoint(301, 0)},
      {"full height", TRect(100, 100, 300, 120), 200, 800, true, false, false, false, TPoint(301, 0)},
      {"scrolls by item count: normal place", TRect(100, 100, 100, 100), 200, 250, true, true, false, false,
       TPoint(100, 100)},
  };
  for (const auto& R : Rows) {
    const TPoint P =
        TspSkinPopupWindow::PlaceLevel(WA, R.R, R.W, R.H, 3, R.Scroll, R.Scroll2, R.ByItem, R.Up);
    EXPECT_EQ(P.X, R.Want.X) << R.Case;
    EXPECT_EQ(P.Y, R.Want.Y) << R.Case;
  }
}

TEST(SkinMenuRules, MarkPatterns) {
  EXPECT_EQ(MarkRows(TspSkinMenuItem::DrawCheckMark, 7, 8), (std::vector<std::string>{
                                                                 "...........",
                                                                 "...........",
                                                                 "...........",
                                                                 "........#..",
                                                                 ".......##..",
                                                                 "..#...###..",
                                                                 "..##.###...",
                                                                 "..#####....",
                                                                 "...###.....",
                                                                 "....#......",
                                                                 "...........",
                                                                 "...........",
                                                             }));
  EXPECT_EQ(MarkRows(TspSkinMenuItem::DrawSubMenuArrow, 4, 7), (std::vector<std::string>{
                                                                    "........",
                                                                    "........",
                                                                    "..#.....",
                                                                    "..##....",
                                                                    "..###...",
                                                                    "..####..",
                                                                    "..###...",
                                                                    "..##....",
                                                                    "..#.....",
                                                                    "........",
                                                                    "........",
                                                                }));
  // The radio dot: a filled round spot inside (2, 2, 8, 8), its corners left out.
  const auto Dot = MarkRows(TspSkinMenuItem::DrawRadioDot, 6, 6);
  EXPECT_EQ(Dot[5][5], '#');
  EXPECT_EQ(Dot[2][2], '.');
  EXPECT_EQ(Dot[7][7], '.');
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 10; ++X)
      if (X < 2 || X > 7 || Y < 2 || Y > 7) {
        EXPECT_EQ(Dot[Y][X], '.') << X << "," << Y;
      }
}

TEST_F(SkinMenus, ItemKinds) {
  const struct {
    const char16_t* Caption;
    bool Enabled, Separator, Header;
  } Rows[] = {
      {u"Open", true, false, false},    {u"-", true, true, false},     {u"-", false, true, false},
      {u"-Title-", false, false, true}, {u"-Title-", true, false, false}, {u"--", false, false, true},
      {u"Open", false, false, false},   {u"-x", false, false, false},
  };
  Pm->SetAutoLineReduction(maManual);
  for (const auto& R : Rows) Add(Pm->Items(), R.Caption)->SetEnabled(R.Enabled);
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  ASSERT_EQ(Menu()->LevelCount(), 1);
  TspSkinPopupWindow* L = Level(0);
  ASSERT_EQ(L->ItemCount(), Integer(std::size(Rows)));
  for (Integer I = 0; I < L->ItemCount(); ++I) {
    EXPECT_EQ(L->Items(I)->IsSeparator(), Rows[I].Separator) << I;
    EXPECT_EQ(L->Items(I)->IsHeader(), Rows[I].Header) << I;
  }
  Menu()->Hide();
}

TEST_F(SkinMenus, DefaultLookSizesAndScrolling) {
  for (Integer I = 0; I < 25; ++I) Add(Pm->Items(), u"Item " + IntToStr(I));
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  ASSERT_EQ(Menu()->LevelCount(), 1);
  TspSkinPopupWindow* L = Level(0);
  // 25 items of 20 pixels and the 3-pixel frames.
  EXPECT_EQ(L->Height(), 25 * 20 + 6);
  EXPECT_FALSE(L->Scroll);
  // Width: the widest text, glyph column, arrow room and margins.
  const Integer Narrow = L->Width();
  Menu()->Hide();
  Pm->Items()->Items(3)->SetShortCut(ShortCut('S', ssCtrl));
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  EXPECT_GT(Level(0)->Width(), Narrow);
  Menu()->Hide();

  // Ten items at most: ten item heights, the frames and the two markers.
  Menu()->MaxMenuItemsInWindow = 10;
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  L = Level(0);
  EXPECT_EQ(L->Height(), 10 * 20 + 6 + 20);
  EXPECT_TRUE(L->Scroll);
  EXPECT_TRUE(L->Scroll2);
  EXPECT_EQ(L->Top(), 100);  // normal placement
  EXPECT_EQ(L->VisibleCount, 10);
  EXPECT_TRUE(L->Items(9)->FVisible);
  EXPECT_FALSE(L->Items(10)->FVisible);
  EXPECT_TRUE(L->CanScroll(2));
  EXPECT_FALSE(L->CanScroll(1));
  L->ScrollDown(false);
  EXPECT_EQ(L->VisibleStartIndex, 1);
  EXPECT_FALSE(L->Items(0)->FVisible);
  EXPECT_TRUE(L->CanScroll(1));
  auto Img = PaintLevel(L);
  SaveScreen(u"default", u"popupmenu", u"scrolling", Img.get());
  // The up marker is drawn active-less in the shadow colour at the top.
  bool MarkerInk = false;
  for (Integer X = 3; X < L->Width() - 3; ++X)
    for (Integer Y = 3; Y < 13; ++Y) MarkerInk |= Px(Img.get(), X, Y) == Sys(clBtnShadow);
  EXPECT_TRUE(MarkerInk);
  Menu()->Hide();
  Menu()->MaxMenuItemsInWindow = 0;

  // More than the work area holds: its height, markers, top of the work area, beside.
  for (Integer I = 0; I < 60; ++I) Add(Pm->Items(), u"More " + IntToStr(I));
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  L = Level(0);
  EXPECT_EQ(L->Height(), Menu()->WorkArea.Height());
  EXPECT_TRUE(L->Scroll);
  EXPECT_FALSE(L->Scroll2);
  EXPECT_EQ(L->Top(), Menu()->WorkArea.Top);
  EXPECT_EQ(L->Left(), 101);
  Menu()->Hide();
}

TEST_F(SkinMenus, WrapStartKeepsTheLastItemInView) {
  for (Integer I = 0; I < 30; ++I) Add(Pm->Items(), u"Item " + IntToStr(I));
  Menu()->MaxMenuItemsInWindow = 5;
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  TspSkinPopupWindow* L = Level(0);
  const struct {
    Integer Top, Height, Start;
  } Rows[] = {{3, 143, 25}, {8, 143, 25}, {3, 200, 22}, {8, 200, 22}};
  for (const auto& R : Rows) {
    L->NewItemsRect = TRect(3, R.Top, L->Width() - 3, R.Height - 3);
    L->VisibleStartIndex = 0;
    L->ScrollUp(true);
    EXPECT_EQ(L->VisibleStartIndex, R.Start) << R.Top << " " << R.Height;
    EXPECT_TRUE(L->Items(29)->FVisible) << R.Top << " " << R.Height;
    EXPECT_FALSE(L->Items(R.Start - 1)->FVisible);
  }
  Menu()->Hide();
  Menu()->MaxMenuItemsInWindow = 0;
}

TEST_F(SkinMenus, DefaultLookPixels) {
  auto* Images = new TImageList(Host);
  Images->SetSize(16, 16);
  auto Pic = skintest::FlatPicture(16, 16, clRed);
  Images->Add(Pic.get(), nullptr);
  Pm->SetImages(Images);
  Add(Pm->Items(), u"&Plain");
  Add(Pm->Items(), u"Checked")->SetChecked(true);
  auto* Radio = Add(Pm->Items(), u"Radio");
  Radio->SetRadioItem(true);
  Radio->SetChecked(true);
  Add(Pm->Items(), u"Image")->SetImageIndex(0);
  Add(Pm->Items(), u"Short-cut")->SetShortCut(ShortCut('N', ssCtrl));
  auto* Sub = Add(Pm->Items(), u"Submenu");
  Add(Sub, u"Inner");
  Add(Pm->Items(), u"-");
  Add(Pm->Items(), u"Disabled")->SetEnabled(false);
  Add(Pm->Items(), u"-Header-")->SetEnabled(false);
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  TspSkinPopupWindow* L = Level(0);
  ASSERT_EQ(L->ItemCount(), 9);
  EXPECT_EQ(L->GlyphWidth, 21);
  // The first item is highlighted at opening (but not chosen).
  EXPECT_EQ(L->ActiveItem, 0);
  EXPECT_TRUE(L->Items(0)->WaitCommand);
  auto Img = PaintLevel(L);
  SaveScreen(u"default", u"popupmenu", u"items", Img.get());
  const TRect R0 = L->Items(0)->ObjectRect;
  EXPECT_EQ(R0, TRect(3, 3, L->Width() - 3, 23));
  // Highlighted: a $800000 frame around $D2BDB6.
  EXPECT_EQ(Px(Img.get(), R0.Left, R0.Top), TColor(0x800000));
  EXPECT_EQ(Px(Img.get(), R0.Right - 1, R0.Bottom - 1), TColor(0x800000));
  EXPECT_EQ(Px(Img.get(), R0.Left + 1, R0.Top + 1), TColor(0xD2BDB6));
  // Plain items: glyph column in button face (the images' 21 pixels), the rest window.
  const TRect R1 = L->Items(1)->ObjectRect;
  EXPECT_EQ(Px(Img.get(), R1.Left + 1, R1.Top + 1), Sys(clBtnFace));
  EXPECT_EQ(Px(Img.get(), R1.Right - 2, R1.Top + 1), Sys(clWindow));
  // Frame: shadow outside, window inside.
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 1, 1), Sys(clWindow));
  // The check mark at (TR.Left + 3, middle - 4): its lowest stroke pixel.
  const Integer MY1 = R1.Top + 2 + (R1.Height() - 4) / 2 - 4;
  EXPECT_EQ(Px(Img.get(), R1.Left + 2 + 3 + 2, MY1 + 6), Sys(clWindowText));
  // The radio dot at (TR.Left + 3, middle - 3), 6 x 6.
  const TRect R2 = L->Items(2)->ObjectRect;
  const Integer MY2 = R2.Top + 2 + (R2.Height() - 4) / 2 - 3;
  EXPECT_EQ(Px(Img.get(), R2.Left + 2 + 3 + 3, MY2 + 3), Sys(clWindowText));
  // The image at (TR.Left + 2, centred).
  const TRect R3 = L->Items(3)->ObjectRect;
  EXPECT_EQ(Px(Img.get(), R3.Left + 2 + 2 + 8, R3.Top + 10), clRed);
  // The submenu arrow's tip column at TR.Right - 7 + 3.
  const TRect R5 = L->Items(5)->ObjectRect;
  const Integer AX = R5.Left + (R5.Width() - 2) - 7, AY = R5.Top + 2 + (R5.Height() - 4) / 2 - 4;
  EXPECT_EQ(Px(Img.get(), AX, AY), Sys(clWindowText));
  EXPECT_EQ(Px(Img.get(), AX, AY + 6), Sys(clWindowText));
  EXPECT_EQ(Px(Img.get(), AX + 3, AY + 3), Sys(clWindowText));
  // The separator: 4 pixels high, a shadow line from the glyph column on.
  const TRect R6 = L->Items(6)->ObjectRect;
  EXPECT_EQ(R6.Height(), 4);
  EXPECT_EQ(Px(Img.get(), R6.Left + 21 + 5, R6.Top + 2), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), R6.Left + 5, R6.Top + 2), Sys(clBtnFace));
  // The disabled caption is in the shadow colour.
  const TRect R7 = L->Items(7)->ObjectRect;
  bool Shadow = false, Text = false;
  for (Integer X = R7.Left + 21; X < R7.Right; ++X)
    for (Integer Y = R7.Top; Y < R7.Bottom; ++Y) {
      Shadow |= Px(Img.get(), X, Y) == Sys(clBtnShadow);
      Text |= Px(Img.get(), X, Y) == Sys(clWindowText);
    }
  EXPECT_TRUE(Shadow);
  EXPECT_FALSE(Text);
  // The submenu open: its item stays highlighted, the new level beside it.
  L->Items(5)->MouseDown();
  ASSERT_EQ(Menu()->LevelCount(), 2);
  EXPECT_TRUE(L->Items(5)->Down);
  EXPECT_EQ(Level(1)->Left(), L->Left() + R5.Right + 1);
  EXPECT_EQ(Level(1)->Top(), L->Top() + R5.Top - 3);
  auto Img2 = PaintLevel(L);
  EXPECT_EQ(Px(Img2.get(), R5.Left + 1, R5.Top + 1), TColor(0xD2BDB6));
  SaveScreen(u"default", u"popupmenu", u"submenu-open", Img2.get());
  auto Img3 = PaintLevel(Level(1));
  SaveScreen(u"default", u"popupmenu", u"submenu-level", Img3.get());
  Menu()->Hide();
  Pm->SetImages(nullptr);
}

TEST_F(SkinMenus, OwnerDrawnItemGetsTheSkinnedItem) {
  auto* M = Add(Pm->Items(), u"Drawn");
  TObject* Sender = nullptr;
  TRect Area;
  M->OnDrawItem = [&](TObject* S, TCanvas* C, const TRect& R, bool) {
    Sender = S;
    Area = R;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clLime);
    C->FillRect(R);
  };
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  auto Img = PaintLevel(Level(0));
  EXPECT_EQ(Sender, static_cast<TObject*>(Level(0)->Items(0)));
  const TRect R = Level(0)->Items(0)->ObjectRect;
  EXPECT_EQ(Area, TRect(2, 2, R.Width() - 2, R.Height() - 2));
  EXPECT_EQ(Px(Img.get(), R.Left + 5, R.Top + 5), clLime);
  Menu()->Hide();
}

TEST_F(SkinMenus, ChoiceNotifiesInOrder) {
  auto* A = Add(Pm->Items(), u"A", u"click");
  A->SetAutoCheck(true);
  Add(Pm->Items(), u"B", u"click B");
  THost* Ctrl = LoggingControl(u"ctrl");
  Pm->OnMenuClose = [&](TObject*) { Log.push_back(u"menuclose"); };
  HWND LevelWnd = nullptr;
  A->OnClick = [&](TObject*) {
    // The levels are gone before the command runs.
    Log.push_back(u"click");
    EXPECT_EQ(Menu()->LevelCount(), 0);
    EXPECT_FALSE(IsWindowVisible(LevelWnd));
  };
  EXPECT_TRUE(Pm->PopupFromRect2(Ctrl, TRect(100, 100, 160, 120), false));
  ASSERT_EQ(Menu()->LevelCount(), 1);
  LevelWnd = Level(0)->Handle();
  EXPECT_TRUE(IsWindowVisible(LevelWnd));
  EXPECT_TRUE(Menu()->Visible());
  Level(0)->Items(0)->MouseDown();
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"ctrl 1228", u"menuclose", u"form 1228", u"click", u"ctrl 1229"}));
  EXPECT_TRUE(A->Checked());  // AutoCheck
  EXPECT_FALSE(Menu()->Visible());
  // Escape on the only level: closed without the form's 1228.
  Log.clear();
  Pm->PopupFromRect2(Ctrl, TRect(100, 100, 160, 120), false);
  Level(0)->PopupKeyDown(VK_ESCAPE);
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"ctrl 1228", u"menuclose"}));
  EXPECT_EQ(Menu()->LevelCount(), 0);
}

TEST_F(SkinMenus, PopupWhileOpenTellsEachControlOnce) {
  Add(Pm->Items(), u"A", u"click");
  auto* Pm2 = new TspSkinPopupMenu(Host);
  Pm2->SetSkinComponent(Rec);
  auto* B = new TMenuItem(Pm2);
  B->SetCaption(u"B");
  B->OnClick = [&](TObject*) { Log.push_back(u"click B"); };
  Pm2->Items()->Add(B);
  THost* C1 = LoggingControl(u"one");
  THost* C2 = LoggingControl(u"two");
  Pm->OnMenuClose = [&](TObject*) { Log.push_back(u"close one"); };
  Pm2->OnMenuClose = [&](TObject*) { Log.push_back(u"close two"); };
  Pm->PopupFromRect2(C1, TRect(100, 100, 160, 120), false);
  Pm2->PopupFromRect2(C2, TRect(300, 100, 360, 120), false);
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"close", u"open", u"one 1228", u"close one"}));
  Log.clear();
  Level(0)->Items(0)->MouseDown();
  EXPECT_EQ(Log, (std::vector<String>{u"two 1228", u"close two", u"form 1228", u"click B", u"two 1229"}));
}

TEST_F(SkinMenus, EmptyMenuOpensNothing) {
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  EXPECT_FALSE(Menu()->Visible());
  EXPECT_EQ(Menu()->LevelCount(), 0);
  // Popup2 needs a skin: without one nothing opens, not even the menu state.
  Add(Pm->Items(), u"A");
  Log.clear();
  int Popups = 0;
  Pm->OnPopup = [&](TObject*) { ++Popups; };
  Pm->Popup2(Host, 100, 100);
  EXPECT_EQ(Popups, 1);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Menu()->LevelCount(), 0);
}

TEST_F(SkinMenus, KeysOnALevel) {
  Pm->SetAutoLineReduction(maManual);
  Add(Pm->Items(), u"-");
  Add(Pm->Items(), u"&First", u"first");
  Add(Pm->Items(), u"-");
  Add(Pm->Items(), u"&Gone", u"gone")->SetEnabled(false);
  auto* Sub = Add(Pm->Items(), u"&Sub");
  Add(Sub, u"&Inner", u"inner");
  Add(Pm->Items(), u"&Last", u"last");
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  TspSkinPopupWindow* L = Level(0);
  ASSERT_EQ(L->ItemCount(), 6);
  EXPECT_EQ(L->ActiveItem, 1);
  const struct {
    Integer Key;
    Integer Active;
    Integer Levels;
  } Steps[] = {
      {VK_DOWN, 4, 1},   // the separator and the disabled item are skipped
      {VK_DOWN, 5, 1},   {VK_DOWN, 1, 1},  // wraps from the very last item
      {VK_UP, 1, 1},     // no wrap upwards: only a separator above
      {VK_DOWN, 4, 1},   {VK_LEFT, 4, 1},  // Left on the first level does nothing
      {VK_RIGHT, 4, 2},  // opens the submenu
  };
  for (const auto& S : Steps) {
    L->PopupKeyDown(S.Key);
    EXPECT_EQ(L->ActiveItem, S.Active) << S.Key;
    EXPECT_EQ(Menu()->LevelCount(), S.Levels) << S.Key;
  }
  EXPECT_TRUE(L->Items(4)->Down);
  // Escape closes only the submenu and releases its item.
  Level(1)->PopupKeyDown(VK_ESCAPE);
  EXPECT_EQ(Menu()->LevelCount(), 1);
  EXPECT_FALSE(L->Items(4)->Down);
  EXPECT_TRUE(Menu()->Visible());
  // An accelerator of a disabled item highlights it and chooses nothing.
  Log.clear();
  L->PopupKeyDown('G');
  EXPECT_EQ(L->ActiveItem, 3);
  EXPECT_TRUE(Log.empty());
  EXPECT_TRUE(Menu()->Visible());
  // An accelerator chooses at once.
  L->PopupKeyDown('L');
  EXPECT_EQ(Log, (std::vector<String>{u"form 1228", u"last"}));
  EXPECT_FALSE(Menu()->Visible());
  // Enter chooses the highlighted item.
  Log.clear();
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  Level(0)->PopupKeyDown(VK_RETURN);
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"form 1228", u"first"}));
}

TEST_F(SkinMenus, PointerWaitAndSubmenus) {
  auto* Plain = Add(Pm->Items(), u"Plain", u"plain");
  auto* Sub = Add(Pm->Items(), u"Sub", u"sub click");
  Add(Sub, u"Inner", u"inner");
  (void)Plain;
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  TspSkinPopupWindow* L = Level(0);
  const TRect R0 = L->Items(0)->ObjectRect, R1 = L->Items(1)->ObjectRect;
  // Resting on the item highlighted at opening does not choose it.
  L->HoverAt(R0.Left + 5, R0.Top + 5);
  EXPECT_FALSE(L->Items(0)->WaitCommand);
  EXPECT_TRUE(Menu()->Visible());
  // Onto the submenu item: the 500-ms wait starts.
  L->HoverAt(R1.Left + 5, R1.Top + 5);
  EXPECT_EQ(L->ActiveItem, 1);
  EXPECT_TRUE(Menu()->WaitTimer->Enabled());
  EXPECT_EQ(Menu()->WItem, L->Items(1));
  // Back to a plain item before the wait ends: the wait stops.
  L->HoverAt(R0.Left + 5, R0.Top + 5);
  EXPECT_FALSE(Menu()->WaitTimer->Enabled());
  EXPECT_EQ(Menu()->WItem, nullptr);
  // Again, and the wait ends: the submenu item's own click runs, then its level opens.
  Log.clear();
  L->HoverAt(R1.Left + 5, R1.Top + 5);
  Fire(Menu()->WaitTimer);
  EXPECT_EQ(Log, (std::vector<String>{u"sub click"}));
  ASSERT_EQ(Menu()->LevelCount(), 2);
  EXPECT_TRUE(L->Items(1)->Down);
  // Hovering a plain item of the first level closes the submenu and
  // releases its item; back on the submenu item, the wait opens it again.
  L->HoverAt(R0.Left + 5, R0.Top + 5);
  EXPECT_EQ(Menu()->LevelCount(), 1);
  EXPECT_FALSE(L->Items(1)->Down);
  L->HoverAt(R1.Left + 5, R1.Top + 5);
  Fire(Menu()->WaitTimer);
  ASSERT_EQ(Menu()->LevelCount(), 2);
  // A release off the items chooses nothing; one on the inner item chooses it.
  TspSkinPopupWindow* L2 = Level(1);
  Log.clear();
  SendMessageW(L2->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(L2->Width() + 50, 2));
  EXPECT_TRUE(Menu()->Visible());
  const TRect RI = L2->Items(0)->ObjectRect;
  SendMessageW(L2->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(RI.Left + 5, RI.Top + 5));
  EXPECT_TRUE(Menu()->Visible());
  SendMessageW(L2->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(RI.Left + 5, RI.Top + 5));
  EXPECT_FALSE(Menu()->Visible());
  EXPECT_EQ(Log, (std::vector<String>{u"form 1228", u"inner"}));
  Pump();
}

TEST_F(SkinMenus, HandlersThatFreeTheMenu) {
  // The command frees the control that opened the menu while the level
  // that chose the item is still on the stack: no 1229 for it.
  THost* Ctrl = LoggingControl(u"ctrl");
  Add(Pm->Items(), u"A")->OnClick = [this, &Ctrl](TObject*) {
    delete Ctrl;
    Ctrl = nullptr;
    Log.push_back(u"freed");
  };
  Pm->PopupFromRect2(Ctrl, TRect(100, 100, 160, 120), false);
  TspSkinPopupWindow* L = Level(0);
  const TRect R = L->Items(0)->ObjectRect;
  SendMessageW(L->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(R.Left + 5, R.Top + 5));
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"ctrl 1228", u"form 1228", u"freed"}));
  EXPECT_EQ(Menu()->LevelCount(), 0);
  Pump();
  EXPECT_TRUE(Errors.empty());
  // OnMenuClose freeing the menu whose item was chosen: the command is not run.
  Add(Pm->Items(), u"B", u"click B");
  Pm->Items()->Delete(0);
  Pm->OnMenuClose = [this](TObject*) {
    delete Pm;
    Pm = nullptr;
  };
  Log.clear();
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  Level(0)->Items(0)->MouseDown();
  EXPECT_EQ(Log, (std::vector<String>{u"open", u"form 1228"}));
  EXPECT_EQ(Pm, nullptr);
  Pump();
}

TEST_F(SkinMenus, MorphStepsOfASkinnedItem) {
  // A level drawn with a fixture skin: window picture, item strips.
  skintest::TFixtureSkin S;
  const Integer Win = S.ActivePicture(skintest::FlatPicture(60, 40, clNavy, {{TRect(4, 4, 56, 36), clSilver}}));
  const Integer Item = S.ActivePicture(
      skintest::FlatPicture(40, 40, clWhite, {{TRect(0, 0, 40, 18), clGreen}, {TRect(0, 20, 40, 38), clYellow}, {TRect(0, 38, 40, 40), clGray}}));
  S.Keys(u"POPUPWINDOW", {u"windowpictureindex=" + IntToStr(Win), u"lefttoppoint=4,4", u"righttoppoint=56,4",
                           u"leftbottompoint=4,36", u"rightbottompoint=56,36", u"itemsrect=4,4,56,36",
                           u"scrollmarkercolor=255", u"scrollmarkeractivecolor=65280"});
  S.Object(u"menuitem", u"menuitem",
           {u"activepictureindex=" + IntToStr(Item), u"skinrect=0,0,40,18", u"activeskinrect=0,20,40,38",
            u"textrect=2,0,38,18", u"dividerrect=0,38,40,40", u"fontcolor=0", u"activefontcolor=16777215",
            u"unenabledfontcolor=8421504", u"morphing=1", u"stretcheffect=1", u"inactivestretcheffect=1"});
  const Integer Head = S.ActivePicture(skintest::FlatPicture(30, 14, clPurple));
  S.Control(u"menuheader", u"label",
            {u"pictureindex=" + IntToStr(Head), u"skinrect=0,0,30,14", u"lefttoppoint=2,0", u"righttoppoint=28,0",
             u"clientrect=2,0,28,14", u"stretcheffect=1", u"fontcolor=16777215"});
  auto SD = LoadSkin(S);
  Pm->SetSkinData(SD.get());
  Add(Pm->Items(), u"One");
  Add(Pm->Items(), u"-");
  Add(Pm->Items(), u"Two")->SetChecked(true);
  Add(Pm->Items(), u"-Head-")->SetEnabled(false);
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  TspSkinPopupWindow* L = Level(0);
  ASSERT_TRUE(L->Skinned());
  EXPECT_EQ(L->Items(0)->ObjectRect, TRect(4, 4, L->Width() - 4, 22));
  EXPECT_EQ(L->Items(1)->ObjectRect.Height(), 2);
  EXPECT_EQ(L->Height(), 18 + 2 + 18 + 18 + 8);
  // The first item is on its way to the highlighted look: five 20-ms steps.
  TspSkinMenuItem* It = L->Items(0);
  EXPECT_TRUE(L->MorphTimer->Enabled());
  for (int Step = 1; Step <= 5; ++Step) {
    L->MorphTimerTick();
    EXPECT_NEAR(It->MorphKf(), 0.2 * Step, 1e-9);
  }
  L->MorphTimerTick();
  EXPECT_FALSE(L->MorphTimer->Enabled());
  auto Img = PaintLevel(L);
  SaveScreen(u"fixture", u"popupmenu", u"items", Img.get());
  EXPECT_EQ(Px(Img.get(), 0, 0), clNavy);
  EXPECT_EQ(Px(Img.get(), It->ObjectRect.Right - 2, It->ObjectRect.Top + 1), clYellow);
  EXPECT_EQ(Px(Img.get(), L->Items(2)->ObjectRect.Right - 2, L->Items(2)->ObjectRect.Top + 1), clGreen);
  EXPECT_EQ(Px(Img.get(), 10, L->Items(1)->ObjectRect.Top), clGray);
  // The header: the "menuheader" strip, 14 high, centred in the item on its strip.
  const TRect HR = L->Items(3)->ObjectRect;
  EXPECT_EQ(Px(Img.get(), HR.Left + 1, HR.Top + 2 + 1), clPurple);
  EXPECT_EQ(Px(Img.get(), HR.Right - 2, HR.Top + 2 + 12), clPurple);
  // Leaving fades back from where it is.
  It->MouseLeave();
  L->MorphTimerTick();
  EXPECT_NEAR(It->MorphKf(), 0.8, 1e-9);
  Menu()->Hide();
  // Without the skin's size: 24-pixel items, the 18-pixel strips stretched.
  Menu()->SetUseSkinSize(false);
  Menu()->SetDefaultMenuItemHeight(24);
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  L = Level(0);
  EXPECT_EQ(L->Items(0)->ObjectRect.Height(), 24);
  EXPECT_EQ(L->Items(1)->ObjectRect.Height(), 2);  // separators keep the divider's height
  for (int Step = 0; Step < 5; ++Step) L->MorphTimerTick();
  auto Img2 = PaintLevel(L);
  SaveScreen(u"fixture", u"popupmenu", u"resized-items", Img2.get());
  const TRect R0 = L->Items(0)->ObjectRect, R2 = L->Items(2)->ObjectRect;
  EXPECT_EQ(Px(Img2.get(), R0.Right - 2, R0.Top + 1), clYellow);
  EXPECT_EQ(Px(Img2.get(), R0.Right - 2, R0.Bottom - 1), clYellow);
  EXPECT_EQ(Px(Img2.get(), R2.Right - 2, R2.Bottom - 1), clGreen);
  Menu()->Hide();
  Menu()->SetUseSkinSize(true);
  Menu()->SetDefaultMenuItemHeight(20);
}

TEST_F(SkinMenus, BrokenPopupWindowDescriptionsFallBackToTheDefaultLook) {
  const struct {
    const char* Case;
    bool WithItem;
    Integer WindowIndex;  // -2: one past the pictures
  } Rows[] = {{"no menu item object", false, 0}, {"window picture missing", true, -2}};
  for (const auto& R : Rows) {
    skintest::TFixtureSkin S;
    const Integer Win = S.ActivePicture(skintest::FlatPicture(60, 40, clNavy));
    const Integer Index = R.WindowIndex == -2 ? Win + 5 : Win;
    S.Keys(u"POPUPWINDOW", {u"windowpictureindex=" + IntToStr(Index), u"itemsrect=4,4,56,36"});
    if (R.WithItem) S.Object(u"menuitem", u"menuitem", {u"activepictureindex=0", u"skinrect=0,0,40,18"});
    auto SD = LoadSkin(S);
    Pm->SetSkinData(SD.get());
    if (Pm->Items()->Count() == 0) Add(Pm->Items(), u"One");
    Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
    ASSERT_EQ(Menu()->LevelCount(), 1) << R.Case;
    EXPECT_FALSE(Level(0)->Skinned()) << R.Case;
    EXPECT_EQ(Level(0)->Height(), 20 + 6) << R.Case;
    auto Img = PaintLevel(Level(0));
    EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow)) << R.Case;
    Menu()->Hide();
    Pm->SetSkinData(nullptr);
  }
  EXPECT_TRUE(Errors.empty());
}

TEST_F(SkinMenus, AnimationFramesWithoutACount) {
  skintest::TFixtureSkin S;
  const Integer Win = S.ActivePicture(skintest::FlatPicture(60, 40, clNavy));
  S.Keys(u"POPUPWINDOW", {u"windowpictureindex=" + IntToStr(Win), u"itemsrect=4,4,56,36", u"lefttoppoint=4,4",
                           u"righttoppoint=56,4", u"leftbottompoint=4,36", u"rightbottompoint=56,36"});
  S.Object(u"menuitem", u"menuitem",
           {u"activepictureindex=0", u"skinrect=0,0,40,18", u"activeskinrect=0,20,40,38", u"textrect=2,0,38,18",
            u"animateskinrect=0,0,40,36", u"framecount=0"});
  auto SD = LoadSkin(S);
  Pm->SetSkinData(SD.get());
  Add(Pm->Items(), u"One");
  Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
  TspSkinMenuItem* It = Level(0)->Items(0);
  It->CurrentFrame = 1;
  EXPECT_EQ(It->AnimationFrameRect(), TRect());
  It->MI->FrameCount = 2;
  EXPECT_EQ(It->AnimationFrameRect(), TRect(0, 0, 40, 18));
  It->CurrentFrame = 2;
  EXPECT_EQ(It->AnimationFrameRect(), TRect(0, 18, 40, 36));
  It->MI->FrameCount = 0;
  It->CurrentFrame = 0;
  Menu()->Hide();
}

// ---------------------------------------------------------------------------
// The picture-grid menu

namespace {

class ImagesMenu : public SkinCtlTest {
 public:
  void SetUp() override {
    SkinCtlTest::SetUp();
    List = new TImageList(Host);
    List->SetSize(20, 16);
    for (TColor C : {clRed, clLime, clBlue, clYellow}) {
      auto Pic = skintest::FlatPicture(20, 16, C);
      List->Add(Pic.get(), nullptr);
    }
    Im = new TspSkinImagesMenu(Host);
    Im->SetImages(List);
    Im->OnMenuPopup = [this](TObject*) { Log.push_back(u"popup"); };
    Im->OnItemClick = [this](TObject*) { Log.push_back(u"itemclick"); };
    Im->OnInternalChange = [this](TObject*) { Log.push_back(u"internalchange"); };
    Im->OnChange = [this](TObject*) { Log.push_back(u"change"); };
    Im->OnInternalMenuClose = [this](TObject*) { Log.push_back(u"internalclose"); };
    Im->OnMenuClose = [this](TObject*) { Log.push_back(u"close"); };
  }
  TspImagesMenuItem* Cell(Integer Image) {
    auto* It = Im->ImagesItems()->Add();
    It->SetImageIndex(Image);
    const Integer N = Im->ImagesItems()->Count() - 1;
    It->OnClick = [this, N](TObject*) { Log.push_back(u"click " + IntToStr(N)); };
    return It;
  }
  TspImagesMenuItem* Row(const String& Caption, bool Header) {
    auto* It = Cell(-1);
    It->SetCaption(Caption);
    if (Header)
      It->SetHeader(true);
    else
      It->SetButton(true);
    return It;
  }
  // Two buttons and nine cells in four columns.
  void Example() {
    Im->SetColumnsCount(4);
    Row(u"First", false);
    Row(u"Second", false);
    for (Integer I = 0; I < 9; ++I) Cell(I % 4);
  }
  TspSkinImagesMenuPopupWindow* Grid() const { return Im->PopupWindow(); }
  THost* Ground() const { return Host; }
  TImageList* List = nullptr;
  TspSkinImagesMenu* Im = nullptr;
  std::vector<String> Log;
};

}  // namespace

TEST_F(ImagesMenu, LayoutOfTheFourColumnExample) {
  Example();
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  // CW 30, CH 26, a row 120 wide from (5, 5); rows 1 pixel apart.
  const TRect Want[] = {
      TRect(5, 5, 125, 31),   TRect(5, 32, 125, 58),  TRect(5, 59, 35, 85),   TRect(35, 59, 65, 85),
      TRect(65, 59, 95, 85),  TRect(95, 59, 125, 85), TRect(5, 86, 35, 112),  TRect(35, 86, 65, 112),
      TRect(65, 86, 95, 112), TRect(95, 86, 125, 112), TRect(5, 113, 35, 139),
  };
  for (Integer I = 0; I < 11; ++I) EXPECT_EQ(Im->ImagesItems()->Items(I)->ItemRect, Want[I]) << I;
  EXPECT_EQ(Grid()->Width(), 130);
  EXPECT_EQ(Grid()->Height(), 144);
  EXPECT_EQ(Grid()->Left(), 100);
  EXPECT_EQ(Grid()->Top(), 120);
  Im->SetItemIndex(3);
  for (Integer Key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT}) Grid()->ProcessKey(Key);
  EXPECT_EQ(Grid()->ItemIndex(), 4);
  auto Img = Render(Grid());
  SaveScreen(u"default", u"imagesmenu", u"grid", Img.get());
  // The chosen cell pressed, the hot cell hot, the ground of the window.
  EXPECT_EQ(Px(Img.get(), 36, 60), TColor(0xB59385));
  EXPECT_EQ(Px(Img.get(), 66, 60), TColor(0xD2BDB6));
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 40 + 5, 64 + 5), clLime);
  Im->Hide();
}

TEST(ImagesMenuRules, GridPlacement) {
  const TRect WA(0, 0, 800, 600);
  const struct {
    const char* Case;
    TRect R;
    Integer W, H;
    TPoint Want;
  } Rows[] = {
      {"below", TRect(100, 100, 160, 120), 130, 144, TPoint(100, 120)},
      {"above without room below", TRect(100, 500, 160, 520), 130, 144, TPoint(100, 356)},
      {"pushed left", TRect(750, 100, 800, 120), 130, 144, TPoint(670, 120)},
      {"raised to the work area's left and top", TRect(-20, 50, 0, 70), 130, 580, TPoint(0, 0)},
  };
  for (const auto& R : Rows) {
    const TPoint P = TspSkinImagesMenuPopupWindow::PlaceGrid(WA, R.R, R.W, R.H);
    EXPECT_EQ(P.X, R.Want.X) << R.Case;
    EXPECT_EQ(P.Y, R.Want.Y) << R.Case;
  }
}

TEST_F(ImagesMenu, KeysWithHeaders) {
  Im->SetColumnsCount(2);
  Row(u"Head", true);  // 0
  Cell(0);             // 1  row 1
  Cell(1);             // 2
  Cell(2);             // 3  row 2
  Row(u"Mid", true);   // 4
  Row(u"Button", false);  // 5
  Cell(3);             // 6  row 4
  Row(u"Tail", true);  // 7
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  const struct {
    Integer Key, Hot;
  } Steps[] = {
      {VK_DOWN, 1},  {VK_DOWN, 3},  {VK_DOWN, 5},  {VK_DOWN, 6}, {VK_DOWN, 6},  // nothing below
      {VK_UP, 5},    {VK_UP, 3},    {VK_UP, 1},    {VK_UP, 1},                  // nothing above
      {VK_RIGHT, 2}, {VK_RIGHT, 3}, {VK_RIGHT, 5}, {VK_LEFT, 3}, {VK_LEFT, 2},
      {VK_LEFT, 1},  {VK_LEFT, 6},  // from the first item (after a header): the last that is not one
      {VK_RIGHT, 7 - 1},
  };
  for (const auto& S : Steps) {
    Grid()->ProcessKey(S.Key);
    EXPECT_EQ(Grid()->ItemIndex(), S.Hot) << S.Key;
  }
  Im->Hide();
  // Up and Left without a hot item skip a trailing header too.
  for (Integer Key : {VK_UP, VK_LEFT}) {
    ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
    Grid()->ProcessKey(Key);
    EXPECT_EQ(Grid()->ItemIndex(), 6) << Key;
    Im->Hide();
  }
  // Keys fire no hover events.
  EXPECT_EQ(std::count(Log.begin(), Log.end(), String(u"popup")), 3);
}

TEST_F(ImagesMenu, EventOrderOfTheWaysToClose) {
  Example();
  const struct {
    const char* Case;
    Integer StartIndex;
    std::function<void(ImagesMenu*)> Act;
    std::vector<String> Want;
  } Rows[] = {
      {"click on another cell", 2,
       [](ImagesMenu* T) {
         const TRect R = T->Im->ImagesItems()->Items(4)->ItemRect;
         SendMessageW(T->Grid()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(R.Left + 3, R.Top + 3));
         SendMessageW(T->Grid()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(R.Left + 3, R.Top + 3));
       },
       {u"popup", u"click 4", u"itemclick", u"internalchange", u"change", u"internalclose", u"close"}},
      {"click on the chosen cell", 4,
       [](ImagesMenu* T) {
         const TRect R = T->Im->ImagesItems()->Items(4)->ItemRect;
         SendMessageW(T->Grid()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(R.Left + 3, R.Top + 3));
         SendMessageW(T->Grid()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(R.Left + 3, R.Top + 3));
       },
       {u"popup", u"click 4", u"itemclick", u"internalclose", u"close"}},
      {"Enter on a hot cell", 2,
       [](ImagesMenu* T) {
         T->Grid()->ProcessKey(VK_DOWN);
         T->Grid()->ProcessKey(VK_RETURN);
       },
       {u"popup", u"click 0", u"itemclick", u"internalchange", u"change", u"internalclose", u"close"}},
      {"Enter without a hot item", 3, [](ImagesMenu* T) { T->Grid()->ProcessKey(VK_RETURN); },
       {u"popup", u"click 3", u"itemclick", u"internalclose", u"close"}},
      {"Escape", 3, [](ImagesMenu* T) { T->Grid()->ProcessKey(VK_ESCAPE); },
       {u"popup", u"internalclose", u"close"}},
      {"opening again", 3, [](ImagesMenu* T) { T->Im->PopupFromRect(TRect(100, 100, 160, 120)); },
       {u"popup", u"internalclose", u"close", u"popup"}},
      {"the application deactivated", 3,
       [](ImagesMenu* T) {
         SendMessageW(SharedForm()->Handle(), WM_ACTIVATEAPP, FALSE, 0);
         Pump();
       },
       {u"popup", u"internalclose", u"close"}},
      {"the active form moved", 3,
       [](ImagesMenu* T) {
         if (TCustomForm* F = Screen->ActiveForm())
           SendMessageW(F->Handle(), WM_MOVE, 0, MAKELPARAM(F->Left(), F->Top()));
         else
           SendMessageW(SharedForm()->Handle(), WM_ACTIVATEAPP, FALSE, 0);
         Pump();
       },
       {u"popup", u"internalclose", u"close"}},
      {"a press outside", 3,
       [](ImagesMenu* T) {
         const TPoint P = T->Ground()->ClientToScreen(TPoint(5, 5));
         SetCursorPos(P.X, P.Y);
         PostMessageW(T->Ground()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         Pump();
       },
       {u"popup", u"internalclose", u"close"}},
  };
  for (const auto& R : Rows) {
    Log.clear();
    Im->SetItemIndex(R.StartIndex);
    ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120))) << R.Case;
    R.Act(this);
    EXPECT_EQ(Log, R.Want) << R.Case;
    Im->Hide();
    Pump();
  }
  // A release on empty space keeps the grid open and with the mouse.
  Log.clear();
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  SendMessageW(Grid()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(Grid()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_NE(Grid(), nullptr);
  EXPECT_EQ(GetCapture(), Grid()->Handle());
  ReleaseCapture();
  Im->Hide();
  EXPECT_EQ(Log, (std::vector<String>{u"popup", u"internalclose", u"close"}));
}

TEST_F(ImagesMenu, NothingOpensWithoutItemsOrImages) {
  EXPECT_FALSE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  EXPECT_EQ(Log, (std::vector<String>{u"popup"}));
  EXPECT_EQ(Grid(), nullptr);
  Cell(0);
  List->Clear();
  Log.clear();
  EXPECT_FALSE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  EXPECT_EQ(Log, (std::vector<String>{u"popup"}));
}

TEST_F(ImagesMenu, DestroyedWhileOpen) {
  Example();
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  TspSkinImagesMenuPopupWindow* G = Grid();
  EXPECT_TRUE(Application->MessageHooks().Installed(G));
  Log.clear();
  delete Im;
  Im = nullptr;
  EXPECT_FALSE(Application->MessageHooks().Installed(G));
  // No close events from a menu being destroyed.
  Pump();
  EXPECT_TRUE(Log.empty());
}

TEST_F(ImagesMenu, HoverMessagesOverColourCells) {
  Im->SetColumnsCount(4);
  for (Integer I = 0; I < 4; ++I) Cell(I)->FColor = TColor(0x010101 * (I + 1));
  std::vector<std::pair<WPARAM, LPARAM>> Got;
  THost* Main = new THost(Host);
  Main->SetParent(Host);
  TWndMethod Old = Main->WindowProc();
  Main->SetWindowProc([&Got, Old](TMessage& M) {
    if (M.Msg == 0x400 + 11) Got.emplace_back(M.WParam, M.LParam);
    Old(M);
  });
  Im->SetMainWindowHandle(Main->Handle());
  std::vector<Integer> Changed;
  Im->OnItemIndexChanged = [&](TObject*, Integer I) { Changed.push_back(I); };
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  auto MoveTo = [&](Integer X, Integer Y) { SendMessageW(Grid()->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y)); };
  MoveTo(10, 10);  // cell 0
  MoveTo(12, 12);  // still cell 0
  MoveTo(40, 10);  // cell 1
  MoveTo(2, 2);    // the frame: no item
  MoveTo(100, 10); // cell 3
  EXPECT_EQ(Changed, (std::vector<Integer>{0, 1, -1, 3}));
  EXPECT_EQ(Got, (std::vector<std::pair<WPARAM, LPARAM>>{{0x010101, 0}, {0x020202, 1}, {0x040404, 3}}));
  Im->Hide();
}

// Cell hints go through the skinned hint: scheduled when the pointer comes
// to a cell with a hint, cancelled over a cell without one, over the frame,
// on a press and when the grid closes; none at all with ShowHints off.
TEST_F(ImagesMenu, ItemHintsThroughTheSkinnedHint) {
  Im->SetColumnsCount(4);
  for (Integer I = 0; I < 3; ++I) Cell(I);
  Im->ImagesItems()->Items(0)->SetHint(u"Red");
  Im->ImagesItems()->Items(2)->SetHint(u"Blue");
  // The hint shows only as a component of the main form; it takes over the
  // application's hint window class, which goes back afterwards.
  const THintWindowClass SavedClass = HintWindowClass;
  TCustomForm* SavedMain = Application->MainForm();
  TFinally Restore([&] {
    HintWindowClass = SavedClass;
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    Application->SetMainForm(SavedMain);
  });
  Application->SetMainForm(SharedForm());
  auto* H = new TspSkinHint(SharedForm());
  Im->SetSkinHint(H);
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  auto MoveTo = [&](Integer X, Integer Y) { SendMessageW(Grid()->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y)); };
  const struct {
    Integer X, Y;
    const char16_t* Shown;  // nullptr: no hint pending or shown
  } Moves[] = {{10, 10, u"Red"}, {12, 12, u"Red"}, {40, 10, nullptr}, {70, 10, u"Blue"},
               {2, 2, nullptr},  {10, 10, u"Red"}};
  for (auto M : Moves) {
    MoveTo(M.X, M.Y);
    if (!M.Shown) {
      EXPECT_EQ(H->Timer(), nullptr) << M.X;
      EXPECT_FALSE(H->IsVisible()) << M.X;
      continue;
    }
    // The move inside the same cell keeps the hint that is already shown.
    if (!H->IsVisible()) Fire(H->Timer());
    EXPECT_TRUE(H->IsVisible()) << M.X;
    EXPECT_EQ(H->Window()->Text(), String(M.Shown)) << M.X;
  }
  // A press hides it.
  SendMessageW(Grid()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_FALSE(H->IsVisible());
  // Closing the grid cancels a pending one.
  MoveTo(70, 10);
  ASSERT_NE(H->Timer(), nullptr);
  Im->Hide();
  EXPECT_EQ(H->Timer(), nullptr);
  // Hints off: nothing is scheduled.
  Im->SetShowHints(false);
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  MoveTo(10, 10);
  EXPECT_EQ(H->Timer(), nullptr);
  Im->Hide();
  // A freed hint component is forgotten.
  delete H;
  EXPECT_EQ(Im->SkinHint(), nullptr);
  Im->SetShowHints(true);
  ASSERT_TRUE(Im->PopupFromRect(TRect(100, 100, 160, 120)));
  MoveTo(70, 10);
  EXPECT_EQ(Grid()->ItemIndex(), 2);
  Im->Hide();
}

// Review pictures of an open menu (a level with its submenu open, checked
// and radio items, a header, scroll markers) and of the picture grid, in
// the default look and every made scheme. The schemes describe a popup
// window and menu items: their levels take the skinned look.
TEST_F(SkinMenus, ReviewPicturesOfEveryScheme) {
  auto* Images = new TImageList(Host);
  Images->SetSize(16, 16);
  for (TColor C : {clRed, clTeal}) {
    auto Pic = skintest::FlatPicture(16, 16, C, {{TRect(4, 4, 12, 12), clWhite}});
    Images->Add(Pic.get(), nullptr);
  }
  Pm->SetImages(Images);
  Pm->SetAutoLineReduction(maManual);
  Add(Pm->Items(), u"-Edit-")->SetEnabled(false);
  Add(Pm->Items(), u"&Undo")->SetShortCut(ShortCut('Z', ssCtrl));
  Add(Pm->Items(), u"Cu&t")->SetImageIndex(0);
  Add(Pm->Items(), u"-");
  Add(Pm->Items(), u"Show &grid")->SetChecked(true);
  for (const char16_t* C : {u"&Fit", u"&Actual size"}) {
    auto* R = Add(Pm->Items(), C);
    R->SetRadioItem(true);
    R->SetGroupIndex(1);
  }
  Pm->Items()->Items(6)->SetChecked(true);
  auto* Sub = Add(Pm->Items(), u"&Zoom");
  for (const char16_t* C : {u"50 %", u"100 %", u"200 %"}) Add(Sub, C);
  Add(Pm->Items(), u"Disabled")->SetEnabled(false);
  // The grid: two buttons and colour cells.
  auto* Grid = new TspSkinImagesMenu(Host);
  auto* Colours = new TImageList(Host);
  Colours->SetSize(14, 14);
  const TColor Cells[] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray};
  for (TColor C : Cells) {
    auto Pic = skintest::FlatPicture(14, 14, C);
    Colours->Add(Pic.get(), nullptr);
  }
  Grid->SetImages(Colours);
  Grid->SetColumnsCount(4);
  auto* H = Grid->ImagesItems()->Add();
  H->SetCaption(u"Colours");
  H->SetHeader(true);
  for (Integer I = 0; I < 8; ++I) Grid->ImagesItems()->Add()->SetImageIndex(I);
  auto* More = Grid->ImagesItems()->Add();
  More->SetButton(true);
  More->SetCaption(u"More colours...");
  Grid->SetItemIndex(3);

  // A system menu: its items' names give them the caption-button glyphs.
  auto* Sys = new TspSkinPopupMenu(Host);
  Sys->SetSkinComponent(Rec);
  for (const auto& [Name, Caption] : std::vector<std::pair<String, String>>{{u"DSF_MINITEM", u"Mi&nimize"},
                                                                           {u"DSF_RESTORE", u"&Restore"},
                                                                           {u"DSF_ROLLUP", u"Ro&llUp"},
                                                                           {u"DSF_MINTOTRAY", u"Minimize to &Tray"},
                                                                           {u"", u"-"},
                                                                           {u"DSF_CLOSE", u"&Close"}}) {
    auto* M = new TMenuItem(Sys);
    if (!Name.empty()) M->SetName(Name);
    M->SetCaption(Caption);
    Sys->Items()->Add(M);
  }
  Sys->Items()->Items(5)->SetShortCut(TextToShortCut(u"Alt+F4"));

  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  std::vector<std::pair<String, TspSkinData*>> Schemes = {{u"default", nullptr}};
  for (const String& Name : {String(u"Dawn"), String(u"Charm"), String(u"Laconic"), String(u"Cool")}) {
    Loaded.push_back(MadeScheme(Name));
    if (!Loaded.back()->Empty) Schemes.emplace_back(Name, Loaded.back().get());
  }
  EXPECT_EQ(Schemes.size(), 5u);
  for (const auto& [Scheme, Skin] : Schemes) {
    SCOPED_TRACE(ToUtf8(Scheme));
    Pm->SetSkinData(Skin);
    Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
    ASSERT_EQ(Menu()->LevelCount(), 1);
    EXPECT_EQ(Level(0)->Skinned(), Skin != nullptr);
    Level(0)->PopupKeyDown(VK_DOWN);
    Level(0)->Items(7)->MouseDown();
    ASSERT_EQ(Menu()->LevelCount(), 2);
    auto Img = PaintLevel(Level(0));
    SaveScreen(Scheme, u"popupmenu", u"submenu-open", Img.get());
    auto Img2 = PaintLevel(Level(1));
    SaveScreen(Scheme, u"popupmenu", u"submenu", Img2.get());
    Menu()->Hide();
    Menu()->MaxMenuItemsInWindow = 5;
    Pm->PopupFromRect(TRect(100, 100, 100, 100), false);
    EXPECT_TRUE(Level(0)->Scroll);
    Level(0)->ScrollDown(false);
    auto Img3 = PaintLevel(Level(0));
    SaveScreen(Scheme, u"popupmenu", u"scroll-markers", Img3.get());
    Menu()->Hide();
    Menu()->MaxMenuItemsInWindow = 0;

    Sys->SetSkinData(Skin);
    Sys->PopupFromRect(TRect(100, 100, 100, 100), false);
    ASSERT_EQ(Menu()->LevelCount(), 1);
    auto Img5 = PaintLevel(Level(0));
    SaveScreen(Scheme, u"popupmenu", u"system-menu", Img5.get());
    Menu()->Hide();

    Grid->SetSkinData(Skin);
    ASSERT_TRUE(Grid->PopupFromRect(TRect(300, 100, 360, 120)));
    EXPECT_EQ(Grid->PopupWindow()->SkinSupport(), Skin != nullptr);
    Grid->PopupWindow()->ProcessKey(VK_DOWN);
    Grid->PopupWindow()->ProcessKey(VK_RIGHT);
    auto Img4 = Render(Grid->PopupWindow());
    SaveScreen(Scheme, u"imagesmenu", u"colour-grid", Img4.get());
    Grid->Hide();
  }
  Pm->SetSkinData(nullptr);
  Pm->SetImages(nullptr);
  Sys->SetSkinData(nullptr);
  Pump();
  EXPECT_TRUE(Errors.empty());
}

// Which form's skinned menu shows a popup menu: its skin component, its
// component form, its owner form, or its owner's owner (a frame on a form).
TEST_F(SkinMenus, HostSearch) {
  std::vector<String> Log2;
  auto* F2 = new TForm(nullptr);
  auto* Rec2 = new TRecHost(F2, F2, Log2);
  auto* Frame = new TComponent(F2);
  const struct {
    const char* Case;
    std::function<TspSkinPopupMenu*()> Make;
    TRecHost* Want;
  } Rows[] = {
      {"skin component", [&] {
         auto* P = new TspSkinPopupMenu(Host);
         P->SetSkinComponent(Rec);
         return P;
       }, Rec},
      {"component form", [&] {
         auto* P = new TspSkinPopupMenu(Host);
         P->SetComponentForm(F2);
         return P;
       }, Rec2},
      {"owner form", [&] { return new TspSkinPopupMenu(F2); }, Rec2},
      {"owner's owner", [&] { return new TspSkinPopupMenu(Frame); }, Rec2},
      {"none", [&] { return new TspSkinPopupMenu(Host); }, nullptr},
  };
  for (const auto& R : Rows) {
    TspSkinPopupMenu* P = R.Make();
    auto* M = new TMenuItem(P);
    M->SetCaption(u"Item");
    P->Items()->Add(M);
    P->Popup(100, 100);
    EXPECT_EQ(Rec->Menu->Visible(), R.Want == Rec) << R.Case;
    EXPECT_EQ(Rec2->Menu->Visible(), R.Want == Rec2) << R.Case;
    Rec->Menu->Hide();
    Rec2->Menu->Hide();
    delete P;
  }
  delete F2;
}

// One level listing two item sources (the menu bar's items that do not fit:
// its own, then a child form's), from a start index across both.
TEST_F(SkinMenus, LevelOfTwoItemSources) {
  TMenuItem* A = Pm->Items();
  Add(A, u"A0");
  Add(A, u"A1");
  auto* Other = new TspSkinPopupMenu(Host);
  for (const char16_t* C : {u"B0", u"B1"}) {
    auto* M = new TMenuItem(Other);
    M->SetCaption(C);
    Other->Items()->Add(M);
  }
  const struct {
    Integer Start;
    std::vector<String> Want;
  } Rows[] = {{0, {u"A0", u"A1", u"B0", u"B1"}}, {1, {u"A1", u"B0", u"B1"}}, {3, {u"B1"}}, {4, {}}};
  for (const auto& R : Rows) {
    Menu()->Popup2(nullptr, nullptr, R.Start, TRect(100, 100, 100, 100), A, Other->Items(), false, false);
    std::vector<String> Got;
    if (Menu()->LevelCount() == 1)
      for (Integer I = 0; I < Level(0)->ItemCount(); ++I) Got.push_back(Level(0)->Items(I)->MenuItem->Caption());
    EXPECT_EQ(Got, R.Want) << R.Start;
    EXPECT_EQ(Menu()->Visible(), !R.Want.empty()) << R.Start;
    Menu()->Hide();
  }
}
