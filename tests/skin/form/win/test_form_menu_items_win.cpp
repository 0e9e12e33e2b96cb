// Frame objects of the skinned form, second part: the main-menu items in
// the frame (layout, hiding, drop-down switching, commands), the knob and
// slider regulators, the animations (on demand and as animated caption
// buttons with a menu) and the inactive-client overlay of the form.
#include "tests/skin/form/win/FormTestUtil.h"

#include <string>
#include <typeinfo>

#include "classlib/Menus.h"
#include "common/Screens.h"

using namespace formtest;

namespace {

struct TShownForm {
  explicit TShownForm(TspSkinData* SD, bool Show = true, Integer Width = 200) {
    F = new TLogForm(bsSizeable);
    F->SetWidth(Width);
    FS = new TspFormSkin(F);
    if (SD) FS->SetSkinData(SD);
    if (Show) {
      F->Show();
      SetForegroundWindow(F->Handle());
      PumpUntil([&] { return F->Active(); }, 2000);
      Pump();
    }
  }
  ~TShownForm() { delete F; }
  TLogForm* F;
  TspFormSkin* FS;
};

std::unique_ptr<TBitmap> Canvas(Integer W, Integer H, TColor Fill = clWhite) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Fill);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

TRect OnScreen(TForm* F, const TRect& R) {
  RECT W;
  GetWindowRect(F->Handle(), &W);
  return TRect(R.Left + W.left, R.Top + W.top, R.Right + W.left, R.Bottom + W.top);
}

template <class T>
std::vector<T*> ObjectsOf(TspFormSkin* FS) {
  std::vector<T*> R;
  for (Integer I = 0; I < FS->ObjectList->Count(); ++I)
    if (auto* O = dynamic_cast<T*>(static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(I)))) R.push_back(O);
  return R;
}

class MenuItemsAndAnimations : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    TSkinOptions O;
    O.ActiveSizes = {{40, 20}};
    // The main-menu area: under the caption band's top, stretching with the form.
    O.FormInfo = {u"mainmenurect=4,2,20,16"};
    O.ExtraObjects = {{u"MAINMENUITEM", u"mainmenuitem",
                       {u"activepictureindex=0", u"skinrect=0,0,20,14", u"activeskinrect=20,0,40,14",
                        u"textrect=4,0,16,14", u"itemleftoffset=3", u"itemrightoffset=3", u"fontname=Arial",
                        u"fontheight=12", u"fontcolor=0", u"activefontcolor=255", u"downfontcolor=16711680"}}};
    SD = LoadFixtureSkin(Dir, O);
  }
  template <class T, class D>
  T* Add(TspFormSkin* FS, const String& Name, const std::type_identity_t<std::function<void(D&)>>& Fill = {}) {
    D Data(Name);
    Data.SkinRectInAPicture = true;
    Data.ActivePictureIndex = 0;
    if (Fill) Fill(Data);
    auto* O = new T(FS, &Data);
    FS->ObjectList->Add(O);
    return O;
  }
  // A main menu of File (two items), Edit (one item) and Help (a command).
  TMainMenu* MakeMenu(TComponent* Owner, Integer* Clicks) {
    auto* M = new TMainMenu(Owner);
    auto Top = [&](const char16_t* Name, const char16_t* Caption, std::initializer_list<const char16_t*> Subs) {
      auto* It = new TMenuItem(M);
      It->SetName(Name);
      It->SetCaption(Caption);
      for (const char16_t* S : Subs) {
        auto* Sub = new TMenuItem(M);
        Sub->SetCaption(S);
        It->Add(Sub);
      }
      M->Items()->Add(It);
      return It;
    };
    Top(u"FileItem", u"&File", {u"Open", u"Save"});
    Top(u"EditItem", u"&Edit", {u"Copy"});
    Top(u"HelpItem", u"&Help", {})->OnClick = [Clicks](TObject*) { ++*Clicks; };
    return M;
  }
  TTempFolder Dir{"menuitems"};
  std::unique_ptr<TspSkinData> SD;
};

}  // namespace

// ---------------------------------------------------------------------------
// Main-menu items

TEST_F(MenuItemsAndAnimations, MainMenuItemsLineUpAndHideWhenTheyDoNotFit) {
  TShownForm S(SD.get());
  Integer Clicks = 0;
  S.FS->SetMainMenu(MakeMenu(S.F, &Clicks));
  auto Items = ObjectsOf<TspSkinMainMenuItem>(S.FS);
  ASSERT_EQ(Items.size(), 3u);
  EXPECT_EQ(Items[0]->IDName, u"FileItem");
  EXPECT_EQ(Items[0]->ItemDownRect, Items[0]->ActiveSkinRect);  // no down look of its own
  auto Paint = [&] {
    SendMessageW(S.F->Handle(), WM_NCPAINT, 0, 0);
    Pump();
  };
  Paint();
  const TRect Area = S.FS->FR.NewMainMenuRect;
  EXPECT_EQ(Area, TRect(4, 2, 20 + 140, 16));  // the area widens with the form
  Integer X = Area.Left;
  for (auto* M : Items) {
    const Integer W = 20 - 12 + M->CaptionWidth() + 2;
    EXPECT_GT(M->CaptionWidth(), 0);
    EXPECT_EQ(M->ObjectRect, TRect(X, Area.Top, X + W, Area.Top + 14)) << ToUtf8(M->IDName);
    EXPECT_TRUE(M->FitsInArea && M->Enabled) << ToUtf8(M->IDName);
    X += W;
  }
  SaveForReview(S.F->Handle(), "fixture", "main-menu-items");
  // The caption's pixels: the first item's caption in its normal colour (black) inside the item.
  auto Shot = GrabWindow(S.F->Handle());
  bool Ink = false;
  for (Integer Y = Items[0]->ObjectRect.Top; Y < Items[0]->ObjectRect.Bottom; ++Y)
    for (Integer PX = Items[0]->ObjectRect.Left; PX < Items[0]->ObjectRect.Right; ++PX)
      if (GetRValue(Px(Shot.get(), PX, Y)) < 0x40 && GetGValue(Px(Shot.get(), PX, Y)) < 0x40 &&
          GetBValue(Px(Shot.get(), PX, Y)) < 0x40)
        Ink = true;
  EXPECT_TRUE(Ink);
  // Narrowed: items past the area's right hide from the right, disabled; widened: back with their Enabled.
  Items[1]->Enabled = false;  // the program disabled Edit while it showed
  const Integer Needed = Items[1]->ObjectRect.Right;
  S.F->SetWidth(60 + (Needed - 20) + 2);
  Pump();
  Paint();
  EXPECT_TRUE(Items[0]->FitsInArea);
  EXPECT_TRUE(Items[1]->FitsInArea);
  EXPECT_FALSE(Items[2]->FitsInArea);
  EXPECT_FALSE(Items[2]->Enabled);
  S.F->SetWidth(60 + (Items[0]->ObjectRect.Right - 20));
  Pump();
  Paint();
  EXPECT_TRUE(Items[0]->FitsInArea);
  EXPECT_FALSE(Items[1]->FitsInArea);
  EXPECT_FALSE(Items[2]->FitsInArea);
  S.F->SetWidth(300);
  Pump();
  Paint();
  for (auto* M : Items) EXPECT_TRUE(M->FitsInArea) << ToUtf8(M->IDName);
  EXPECT_FALSE(Items[1]->Enabled);  // its own state, kept while hidden
  EXPECT_TRUE(Items[2]->Enabled);
  // A menu without visible items, or no menu: no items.
  S.FS->SetMainMenu(nullptr);
  S.FS->UpdateMainMenu(false);
  EXPECT_TRUE(ObjectsOf<TspSkinMainMenuItem>(S.FS).empty());
}

TEST_F(MenuItemsAndAnimations, MainMenuItemLookFromEndsAndRepeatedMiddle) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  // The look: red left end (0..2), green middle with a blue last column (3..8), fuchsia right end (9..11).
  auto Pic = Canvas(12, 10, clLime);
  Pic->Canvas()->Brush()->SetColor(clRed);
  Pic->Canvas()->FillRect(TRect(0, 0, 3, 10));
  Pic->Canvas()->Brush()->SetColor(clBlue);
  Pic->Canvas()->FillRect(TRect(8, 0, 9, 10));
  Pic->Canvas()->Brush()->SetColor(clFuchsia);
  Pic->Canvas()->FillRect(TRect(9, 0, 12, 10));
  const TColor R = Sys(clRed), G = Sys(clLime), B = Sys(clBlue), F = Sys(clFuchsia);
  const struct Row {
    const char* What;
    Integer LO, RO, W;
    std::vector<std::pair<Integer, TColor>> Expect;
  } Rows[] = {
      {"middle repeated, last copy cut", 3, 3, 20,
       {{0, R}, {2, R}, {3, G}, {8, B}, {9, G}, {14, B}, {15, G}, {16, G}, {17, F}, {19, F}}},
      {"exact fit", 3, 3, 12, {{2, R}, {3, G}, {8, B}, {9, F}, {11, F}}},
      {"no middle part: the two ends", 6, 6, 20, {{0, R}, {2, R}, {19, F}, {17, F}}},
      {"ends wider than the look", 10, 10, 20, {{0, R}, {19, F}}},
  };
  for (const Row& Rw : Rows) {
    auto* M = Add<TspSkinMainMenuItem, TspDataSkinMainMenuItem>(S.FS, u"m", [&](TspDataSkinMainMenuItem& D) {
      D.SkinRect = TRect(0, 0, 12, 10);
      D.TextRct = TRect(3, 0, 9, 10);
      D.ItemLO = Rw.LO;
      D.ItemRO = Rw.RO;
    });
    M->ActivePicture = Pic.get();
    M->ObjectRect = TRect(0, 0, Rw.W, 10);
    auto Img = M->ItemImage(M->SkinRect, clBlack);
    ASSERT_EQ(Img->Width(), Rw.W) << Rw.What;
    for (auto [X, C] : Rw.Expect) EXPECT_EQ(Px(Img.get(), X, 5), C) << Rw.What << " x " << X;
  }
  // Without an active picture there is nothing to cut the look from: nothing is drawn.
  auto* None = Add<TspSkinMainMenuItem, TspDataSkinMainMenuItem>(S.FS, u"none", [](TspDataSkinMainMenuItem& D) {
    D.ActivePictureIndex = 7;
    D.SkinRect = TRect(0, 0, 12, 10);
    D.TextRct = TRect(3, 0, 9, 10);
    D.DownRect = TRect(0, 0, 12, 10);
  });
  EXPECT_TRUE(RectIsEmpty(None->ActiveSkinRect));
  EXPECT_FALSE(None->Morphing);
  auto Out = Canvas(40, 20, clWhite);
  None->FDown = true;
  None->Draw(Out->Canvas(), true);
  EXPECT_EQ(Px(Out.get(), 5, 5), Sys(clWhite));
}

TEST_F(MenuItemsAndAnimations, MainMenuDropDownsSwitchAlongTheBar) {
  TShownForm S(SD.get());
  Integer Clicks = 0;
  S.FS->SetMainMenu(MakeMenu(S.F, &Clicks));
  SendMessageW(S.F->Handle(), WM_NCPAINT, 0, 0);
  Pump();
  auto Items = ObjectsOf<TspSkinMainMenuItem>(S.FS);
  ASSERT_EQ(Items.size(), 3u);
  std::vector<std::string> Log;
  S.FS->OnSkinMenuOpen = [&](TObject*) { Log.push_back("open"); };
  S.FS->OnSkinMenuClose = [&](TObject*) { Log.push_back("close"); };
  S.FS->OnMainMenuEnter = [&](TObject*) { Log.push_back("enter"); };
  S.FS->OnMainMenuExit = [&](TObject*) { Log.push_back("exit"); };
  S.FS->OnMouseEnterEvent = [&](const String& N) { Log.push_back("mouse enter " + ToUtf8(N)); };
  auto LevelAt = [&](TspSkinMainMenuItem* M) {
    const TRect Scr = OnScreen(S.F, M->ObjectRect);
    auto* L = S.FS->SkinMenu->Level(0);
    return L && L->Left() == Scr.Left && L->Top() == Scr.Bottom;
  };
  // Press File: its drop-down opens below it, the form enters main-menu mode.
  Items[0]->MouseEnter();
  Items[0]->MouseDown(Items[0]->ObjectRect.Left + 2, 4, mbLeft);
  ASSERT_TRUE(S.FS->SkinMenu->Visible());
  EXPECT_TRUE(Items[0]->FDown);
  EXPECT_TRUE(S.FS->InMenu && S.FS->InMainMenu);
  EXPECT_TRUE(LevelAt(Items[0]));
  SaveForReview(S.F->Handle(), "fixture", "main-menu-open");
  // Over to Edit: File closes, Edit's drop-down opens without a click; one open event in all.
  Items[0]->MouseLeave();
  Items[1]->MouseEnter();
  EXPECT_FALSE(Items[0]->FDown);
  EXPECT_TRUE(Items[1]->FDown);
  ASSERT_TRUE(S.FS->SkinMenu->Visible());
  EXPECT_TRUE(LevelAt(Items[1]));
  EXPECT_EQ(S.FS->SkinMenu->Level(0)->ItemCount(), 1);
  EXPECT_EQ(Log, (std::vector<std::string>{"open", "enter"}));
  // Over to Help, which drops nothing: the open drop-down closes, Help is only hot.
  Log.clear();
  Items[1]->MouseLeave();
  Items[2]->MouseEnter();
  PumpUntil([&] { return !S.FS->InMenu; }, 2000);
  EXPECT_FALSE(S.FS->SkinMenu->Visible());
  EXPECT_FALSE(Items[1]->FDown);
  EXPECT_FALSE(S.FS->InMainMenu);
  EXPECT_TRUE(Items[2]->Active);
  EXPECT_EQ(Log, (std::vector<std::string>{"close", "exit"}));
  // Help runs its command at the press.
  Items[2]->MouseDown(Items[2]->ObjectRect.Left + 2, 4, mbLeft);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(S.FS->SkinMenu->Visible());
  // A drop-down closed by the menu releases its item and leaves main-menu mode.
  Log.clear();
  Items[2]->MouseLeave();
  Items[0]->MouseEnter();
  Items[0]->MouseDown(Items[0]->ObjectRect.Left + 2, 4, mbLeft);
  ASSERT_TRUE(S.FS->SkinMenu->Visible());
  S.FS->SkinMenu->Hide();
  PumpUntil([&] { return !S.FS->InMenu; }, 2000);
  EXPECT_FALSE(Items[0]->FDown);
  EXPECT_FALSE(Items[0]->Active);
  EXPECT_FALSE(S.FS->InMainMenu);
  EXPECT_EQ(Log, (std::vector<std::string>{"open", "enter", "close", "exit"}));
  // Items fire no enter event of their own; a disabled item ignores presses.
  Items[1]->Enabled = false;
  Items[1]->MouseDown(0, 0, mbLeft);
  EXPECT_FALSE(Items[1]->FDown);
  EXPECT_FALSE(S.FS->SkinMenu->Visible());
}

// ---------------------------------------------------------------------------
// Regulators

TEST_F(MenuItemsAndAnimations, KnobMeasure) {
  const struct {
    TPoint P;
    Integer M;
  } Rows[] = {{TPoint(20, 40), 0},    {TPoint(0, 20), 90},    {TPoint(20, 0), 180},   {TPoint(40, 20), 270},
              {TPoint(34, 10), 235},  {TPoint(6, 10), 126},   {TPoint(6, 30), 55},    {TPoint(34, 30), 306},
              {TPoint(25, 39), 346},  {TPoint(15, 39), 15},   {TPoint(100, 20), 270}, {TPoint(20, -50), 180},
              {TPoint(20, 20), -1}};
  for (auto R : Rows) EXPECT_EQ(KnobMeasure(R.P, 40, 40), R.M) << R.P.X << "," << R.P.Y;
}

TEST_F(MenuItemsAndAnimations, RegulatorsDialAndSlide) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  std::vector<Integer> Changes;
  S.FS->OnFrameRegulatorChangeValueEvent = [&](const String&, Integer V) { Changes.push_back(V); };
  auto Make = [&](const String& Name, TRegulatorKind Kind, Integer Count, Integer Max) {
    auto* R = Add<TspSkinFrameRegulatorObject, TspDataSkinFrameRegulatorObject>(
        S.FS, Name, [&](TspDataSkinFrameRegulatorObject& D) {
          D.SkinRect = TRect(0, 0, 40, 40);
          D.ActiveSkinRect = TRect(0, 0, 40 * std::max(Count, 1), 40);
          D.MinValue = 0;
          D.MaxValue = Max;
          D.CountFrames = Count;
          D.Kind = Kind;
        });
    R->ObjectRect = TRect(100, 10, 140, 50);
    return R;
  };
  auto* Knob = Make(u"knob", rkRound, 8, 80);
  EXPECT_EQ(Knob->FrameW, 40);
  // Clockwise from six o'clock round past it again: the value keeps growing;
  // the centre gives no step.
  const TPoint Path[] = {TPoint(0, 20),  TPoint(20, 0),  TPoint(39, 20), TPoint(25, 39),
                         TPoint(15, 39), TPoint(20, 20), TPoint(0, 20),  TPoint(20, 0)};
  Knob->MouseDown(100 + 20, 10 + 39, mbLeft);
  for (TPoint P : Path) Knob->MouseMove(100 + P.X, 10 + P.Y);
  Knob->MouseUp(0, 0, mbLeft);
  EXPECT_EQ(Changes, (std::vector<Integer>{10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(S.FS->FrameRegulatorGetValue(u"knob"), 60);
  // Moves without a press do nothing.
  Changes.clear();
  Knob->MouseMove(100, 10);
  EXPECT_TRUE(Changes.empty());
  // Counter-clockwise steps go down.
  Knob->MouseDown(100 + 20, 10 + 0, mbLeft);  // 180
  Knob->MouseMove(100 + 0, 10 + 20);         // 90
  Knob->MouseUp(0, 0, mbLeft);
  EXPECT_EQ(Changes, std::vector<Integer>{50});
  // Sliders: 5 pictures of 40 over 0..100: a step of 25 every 10 pixels.
  auto* Slider = Make(u"slider", rkHorizontal, 5, 100);
  auto* Vertical = Make(u"vertical", rkVertical, 5, 100);
  auto* One = Make(u"one", rkHorizontal, 1, 100);
  auto* None = Make(u"none", rkVertical, 0, 100);
  const struct Row {
    TspSkinFrameRegulatorObject* R;
    std::vector<TPoint> Moves;  // object points after a press at (20, 20)
    std::vector<Integer> Values;
  } Rows[] = {
      {Slider, {TPoint(29, 20), TPoint(30, 20), TPoint(40, 20), TPoint(30, 20)}, {25, 50, 25}},
      {Vertical, {TPoint(20, 10), TPoint(20, 0), TPoint(20, 40)}, {25, 50, 25}},
      {One, {TPoint(40, 20), TPoint(0, 20)}, {}},
      {None, {TPoint(20, 0), TPoint(20, 40)}, {}},
  };
  for (const Row& Rw : Rows) {
    Changes.clear();
    Rw.R->MouseDown(100 + 20, 10 + 20, mbLeft);
    for (TPoint P : Rw.Moves) Rw.R->MouseMove(100 + P.X, 10 + P.Y);
    Rw.R->MouseUp(0, 0, mbLeft);
    EXPECT_EQ(Changes, Rw.Values) << ToUtf8(Rw.R->IDName);
  }
  // Setters: equal or outside the range ignored; the quiet one reports too.
  Changes.clear();
  S.FS->FrameRegulatorSetValue(u"slider", 25);   // equal
  S.FS->FrameRegulatorSetValue(u"slider", 101);  // outside
  S.FS->FrameRegulatorSetValue(u"slider", -1);
  S.FS->FrameRegulatorSetValue(u"slider", 100);
  S.FS->FInChangeSkinData = true;
  S.FS->FrameRegulatorSetValue(u"slider", 75);
  S.FS->FInChangeSkinData = false;
  S.FS->FrameRegulatorSetValue(u"knob2", 10);  // no such object
  S.FS->FrameRegulatorSetValue(u"caption", 10);
  EXPECT_EQ(Changes, (std::vector<Integer>{100, 75}));
  EXPECT_EQ(S.FS->FrameRegulatorGetValue(u"nothing"), 0);
  // A start value outside the range is clamped into it.
  auto* Shifted = Add<TspSkinFrameRegulatorObject, TspDataSkinFrameRegulatorObject>(
      S.FS, u"shifted", [](TspDataSkinFrameRegulatorObject& D) {
        D.MinValue = 10;
        D.MaxValue = 20;
      });
  EXPECT_EQ(Shifted->Value(), 10);
  // Pixels: the picture of the value (4 pictures of 10 over 0..30: teal, teal, yellow, yellow).
  auto* Strip = Add<TspSkinFrameRegulatorObject, TspDataSkinFrameRegulatorObject>(
      S.FS, u"strip", [](TspDataSkinFrameRegulatorObject& D) {
        D.SkinRect = TRect(0, 0, 10, 10);
        D.ActiveSkinRect = TRect(0, 0, 40, 10);
        D.MinValue = 0;
        D.MaxValue = 30;
        D.CountFrames = 4;
      });
  Strip->ObjectRect = TRect(0, 0, 10, 10);
  for (auto [V, C] : {std::pair{0, clTeal}, {10, clTeal}, {20, clYellow}, {30, clYellow}}) {
    Strip->SimplySetValue(V);
    auto B = Canvas(10, 10);
    Strip->Draw(B->Canvas(), true);
    EXPECT_EQ(Px(B.get(), 5, 5), Sys(C)) << V;
  }
}

// ---------------------------------------------------------------------------
// Animations

TEST_F(MenuItemsAndAnimations, AnimationsPlayOnTheTimer) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  auto Make = [&](const String& Name, Integer Count, Integer Interval, bool Cycle, bool Button) {
    return Add<TspSkinAnimateObject, TspDataSkinAnimate>(S.FS, Name, [&](TspDataSkinAnimate& D) {
      D.SkinRect = TRect(0, 0, 5, 10);
      D.ActiveSkinRect = TRect(0, 0, 5 * Count, 10);
      D.CountFrames = Count;
      D.TimerInterval = Interval;
      D.Cycle = Cycle;
      D.ButtonStyle = Button;
      D.Command = cmDefault;
    });
  };
  auto* Once = Make(u"once", 8, 100, false, false);
  auto* Loop = Make(u"loop", 8, 100, true, false);
  auto* Fast = Make(u"fast", 3, 10, false, false);
  EXPECT_EQ(Fast->TimerInterval, 25);
  // Ticks until picture 8: 4 ticks a picture, 7 pictures.
  S.FS->AnimateStart(u"once");
  S.FS->AnimateStart(u"loop");
  EXPECT_TRUE(S.FS->AnimateTimer->Enabled());
  Integer Ticks = 0;
  while (Once->Frame() < 8 && Ticks < 100) {
    S.FS->AnimateTimerTick();
    ++Ticks;
  }
  EXPECT_EQ(Ticks, 28);
  EXPECT_FALSE(Once->Active);
  EXPECT_EQ(Loop->Frame(), 8);
  for (int I = 0; I < 4; ++I) S.FS->AnimateTimerTick();
  EXPECT_EQ(Once->Frame(), 8);  // stays at the last picture
  EXPECT_EQ(Loop->Frame(), 1);  // goes round
  S.FS->AnimateStop(u"loop");
  EXPECT_FALSE(Loop->Active);
  EXPECT_EQ(Loop->Frame(), 1);
  S.FS->AnimateTimerTick();
  EXPECT_FALSE(S.FS->AnimateTimer->Enabled());  // nothing left to play
  // The named operations reach animations only.
  S.FS->AnimateStart(u"nothing");
  EXPECT_FALSE(S.FS->AnimateTimer->Enabled());
  // A strip without pictures does not start.
  auto* Empty = Make(u"empty", 0, 25, false, false);
  Empty->Start();
  EXPECT_FALSE(Empty->Active);
  // Pixels of the pictures: 8 pictures of 5 over the checker (teal 0..20, yellow 20..40).
  Once->ObjectRect = TRect(0, 0, 5, 10);
  for (auto [F, C] : {std::pair{1, clTeal}, {4, clTeal}, {5, clYellow}, {8, clYellow}}) {
    Once->FFrame = F;
    auto B = Canvas(5, 10);
    Once->Draw(B->Canvas(), true);
    EXPECT_EQ(Px(B.get(), 2, 5), Sys(C)) << F;
  }
  // Button style: forward while hovered, back to picture 1 after the pointer leaves.
  auto* Btn = Make(u"btn", 4, 25, false, true);
  std::vector<std::string> Log;
  S.FS->OnMouseEnterEvent = [&](const String& N) { Log.push_back("enter " + ToUtf8(N)); };
  S.FS->OnMouseLeaveEvent = [&](const String& N) { Log.push_back("leave " + ToUtf8(N)); };
  Btn->MouseEnter();
  for (int I = 0; I < 10; ++I) S.FS->AnimateTimerTick();
  EXPECT_EQ(Btn->Frame(), 4);
  Btn->MouseLeave();
  std::vector<Integer> Back;
  for (int I = 0; I < 10 && Btn->Active; ++I) {
    S.FS->AnimateTimerTick();
    Back.push_back(Btn->Frame());
  }
  EXPECT_EQ(Back, (std::vector<Integer>{3, 2, 1}));
  // In and out before the first picture changed: no jump to the last picture.
  Btn->MouseEnter();
  Btn->MouseLeave();
  for (int I = 0; I < 5; ++I) {
    S.FS->AnimateTimerTick();
    EXPECT_EQ(Btn->Frame(), 1) << I;
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"enter btn", "leave btn", "enter btn", "leave btn"}));
  // A second leave without an enter does nothing.
  Btn->MouseLeave();
  EXPECT_EQ(Log.size(), 4u);
  // The form's reset brings every animation to rest at picture 1.
  Btn->FFrame = 3;
  Btn->Active = Btn->FMouseIn = true;
  S.FS->ResetObjectStates();
  EXPECT_EQ(Btn->FFrame, 1);
  EXPECT_FALSE(Btn->Active || Btn->FMouseIn);
}

TEST_F(MenuItemsAndAnimations, AnimatedButtonCommandsAndMenu) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  auto Make = [&](const String& Name, TStdCommand Cmd) {
    auto* A = Add<TspSkinAnimateObject, TspDataSkinAnimate>(S.FS, Name, [&](TspDataSkinAnimate& D) {
      D.SkinRect = TRect(0, 0, 5, 10);
      D.ActiveSkinRect = TRect(0, 0, 20, 10);
      D.DownSkinRect = TRect(20, 10, 25, 20);
      D.CountFrames = 4;
      D.TimerInterval = 25;
      D.ButtonStyle = true;
      D.Command = Cmd;
    });
    A->ObjectRect = TRect(60, 4, 65, 14);
    return A;
  };
  auto* Menu = new TPopupMenu(S.F);
  auto* It = new TMenuItem(Menu);
  It->SetCaption(u"One");
  Menu->Items()->Add(It);
  auto* Custom = Make(u"custom", cmDefault);
  auto* Plain = Make(u"plain", cmDefault);
  // LinkMenu: button-style animations and push buttons only.
  auto* Still = Add<TspSkinAnimateObject, TspDataSkinAnimate>(S.FS, u"still", [](TspDataSkinAnimate& D) {
    D.ButtonStyle = false;
  });
  S.FS->LinkMenu(u"custom", Menu, false);
  S.FS->LinkMenu(u"still", Menu, false);
  EXPECT_EQ(Custom->MenuItem, Menu->Items());
  EXPECT_EQ(Still->MenuItem, nullptr);
  // A click on the linked animation drops the menu at the release; pressed it shows its down look.
  Custom->MouseEnter();
  Custom->MouseDown(61, 5, mbLeft);
  EXPECT_TRUE(Custom->FDown);
  EXPECT_EQ(Custom->Frame(), 4);
  EXPECT_FALSE(S.FS->SkinMenu->Visible());
  Custom->MouseUp(61, 5, mbLeft);
  ASSERT_TRUE(S.FS->SkinMenu->Visible());
  EXPECT_TRUE(Custom->FMenuTracking);
  const TRect Scr = OnScreen(S.F, Custom->ObjectRect);
  EXPECT_EQ(S.FS->SkinMenu->Level(0)->Left(), Scr.Left);
  EXPECT_EQ(S.FS->SkinMenu->Level(0)->Top(), Scr.Bottom);
  // Hover changes nothing while the menu is open.
  Custom->MouseLeave();
  EXPECT_TRUE(Custom->FMenuTracking);
  // The menu closes: the animation plays back from the last picture to the first.
  S.FS->AnimateTimer->SetEnabled(false);
  S.FS->SkinMenu->Hide();  // tells the form at once
  EXPECT_FALSE(S.FS->InMenu);
  EXPECT_FALSE(Custom->FMenuTracking);
  EXPECT_FALSE(Custom->FDown);
  EXPECT_TRUE(Custom->Active);
  EXPECT_FALSE(Custom->Increment);
  EXPECT_EQ(Custom->Frame(), 4);
  EXPECT_TRUE(S.FS->AnimateTimer->Enabled());
  S.FS->AnimateTimer->SetEnabled(false);  // the ticks below stand for the timer's
  for (int I = 0; I < 5; ++I) S.FS->AnimateTimerTick();
  EXPECT_EQ(Custom->Frame(), 1);
  EXPECT_FALSE(Custom->Active);
  // Without a menu a custom animation runs nothing.
  Plain->MouseEnter();
  Plain->MouseDown(61, 5, mbLeft);
  Plain->MouseUp(61, 5, mbLeft);
  EXPECT_FALSE(S.FS->SkinMenu->Visible());
  Plain->MouseLeave();
  // The system-menu animation drops the system menu at the press.
  auto* Sys = Make(u"sys", cmSysMenu);
  Sys->MouseEnter();
  Sys->MouseDown(61, 5, mbLeft);
  ASSERT_TRUE(S.FS->SkinMenu->Visible());
  EXPECT_EQ(Sys->MenuItem->Items(Sys->MenuItem->Count() - 1)->Name(), u"DSF_CLOSE");
  S.FS->SkinMenu->Hide();
  PumpUntil([&] { return !S.FS->InMenu; }, 2000);
  Sys->MouseUp(61, 5, mbLeft);
  Sys->MouseLeave();
  // Close: released outside nothing, inside the form is asked to close.
  Integer Closes = 0;
  S.F->OnClose = [&](TObject*, TCloseAction& A) {
    ++Closes;
    A = caNone;
  };
  auto* Close = Make(u"close", cmClose);
  Close->MouseEnter();
  Close->MouseDown(61, 5, mbLeft);
  Close->MouseLeave();
  Close->MouseUp(61, 5, mbLeft);
  EXPECT_EQ(Closes, 0);
  Close->MouseEnter();
  Close->MouseDown(61, 5, mbLeft);
  Close->MouseUp(61, 5, mbLeft);
  EXPECT_EQ(Closes, 1);
  Sys->DblClick();
  EXPECT_EQ(Closes, 2);
}

// ---------------------------------------------------------------------------
// The inactive client area

TEST_F(MenuItemsAndAnimations, InactiveClientOverlayFollowsActivation) {
  TShownForm S(SD.get());
  S.FS->SetClientInActiveEffect(true);
  S.FS->SetClientInActiveEffectType(spieBlur);
  EXPECT_EQ(S.FS->FInActivePanel, nullptr);
  auto* Other = new TForm(nullptr);
  Other->SetBounds(600, 500, 80, 60);
  Other->Show();
  SetForegroundWindow(Other->Handle());
  PumpUntil([&] { return !S.F->Active(); }, 2000);
  Pump();
  ASSERT_NE(S.FS->FInActivePanel, nullptr);
  EXPECT_TRUE(S.FS->FInActivePanel->Visible());
  EXPECT_EQ(S.FS->FInActivePanel->Parent(), S.F);
  EXPECT_EQ(S.FS->FInActivePanel->Width(), S.F->ClientWidth());
  EXPECT_FALSE(S.FS->FClientInActiveDraw);
  SaveForReview(S.F->Handle(), "fixture", "inactive-client-effect");
  SetForegroundWindow(S.F->Handle());
  PumpUntil([&] { return S.F->Active(); }, 2000);
  Pump();
  EXPECT_EQ(S.FS->FInActivePanel, nullptr);
  // Off: nothing covers an inactive form.
  S.FS->SetClientInActiveEffect(false);
  SetForegroundWindow(Other->Handle());
  PumpUntil([&] { return !S.F->Active(); }, 2000);
  EXPECT_EQ(S.FS->FInActivePanel, nullptr);
  delete Other;
}

// ---------------------------------------------------------------------------
// Every object kind from a skin file, and a skin of broken indexes

namespace {

using TObjects = std::vector<std::tuple<String, String, std::vector<String>>>;

// Everything an object can be given by the program, and every mouse step.
void Exercise(TShownForm& S) {
  auto* Menu = new TPopupMenu(S.F);
  auto* It = new TMenuItem(Menu);
  It->SetCaption(u"One");
  Menu->Items()->Add(It);
  S.FS->LinkMenu(u"menubtn", Menu, false);
  S.FS->LinkMenu(u"anim", Menu, true);
  for (const char16_t* N : {u"gauge", u"gauge0"}) S.FS->GaugeSetValue(N, 50);
  for (const char16_t* N : {u"track", u"track0"}) S.FS->TrackBarSetValue(N, 3);
  for (const char16_t* N : {u"fgauge", u"fgauge0"}) S.FS->FrameGaugeSetValue(N, 5);
  for (const char16_t* N : {u"knob", u"slider", u"slider0", u"slider1", u"past"}) S.FS->FrameRegulatorSetValue(N, 5);
  S.FS->SwitchSetState(u"sw", spobj::swsOn);
  S.FS->LabelSetText(u"lbl", u"Text");
  S.FS->BitLabelSetText(u"bits", u"12");
  S.FS->AnimateStart(u"anim");
  S.FS->AnimateStart(u"anim0");
  S.FS->UserObjectDraw(u"user");
  SendMessageW(S.F->Handle(), WM_NCPAINT, 0, 0);
  for (Integer I = 0; I < S.FS->ObjectList->Count(); ++I) {
    auto* O = static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(I));
    const Integer X = (O->ObjectRect.Left + O->ObjectRect.Right) / 2, Y = (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2;
    // Dropping a menu and the caption buttons' commands are skipped: the
    // rows are about drawing and values.
    const bool Drops = O->IDName == u"menubtn" || O->IDName == u"anim" || dynamic_cast<TspSkinMainMenuItem*>(O) ||
                       dynamic_cast<TspSkinStdButtonObject*>(O);
    O->MouseEnter();
    S.FS->DrawSkinObject(O);
    if (!Drops) {
      O->MouseDown(X, Y, mbLeft);
      O->MouseMove(X + 3, Y + 3);
      O->MouseMove(X - 30, Y - 30);
      O->MouseUp(X, Y, mbLeft);
    }
    O->MouseLeave();
    S.FS->DrawSkinObject(O);
  }
  for (int I = 0; I < 12; ++I) {
    S.FS->MorphTimerTick();
    S.FS->AnimateTimerTick();
  }
  S.FS->UpdateActiveState(true);
}

}  // namespace

TEST_F(MenuItemsAndAnimations, EveryObjectKindFromTheSkin) {
  TTempFolder D2{"everykind"};
  TSkinOptions O;
  O.ActiveSizes = {{40, 20}};
  O.FormInfo = {u"mainmenurect=4,2,20,16"};
  const String Pic = u"activepictureindex=0";
  O.ExtraObjects = TObjects{
      {u"MAINMENUITEM", u"mainmenuitem", {Pic, u"skinrect=0,0,20,14", u"textrect=4,0,16,14", u"itemleftoffset=3",
                                          u"itemrightoffset=3"}},
      {u"max", u"stdbutton", {Pic, u"skinrect=30,4,36,10", u"skinrectinapicture=1", u"activeskinrect=0,0,6,6",
                              u"command=cmmaximize", u"restorerect=20,10,26,16"}},
      {u"push1", u"button", {Pic, u"skinrect=12,4,18,10", u"skinrectinapicture=1", u"downrect=20,10,26,16",
                             u"groupindex=1"}},
      {u"push2", u"button", {Pic, u"skinrect=20,4,26,10", u"skinrectinapicture=1", u"downrect=20,10,26,16",
                             u"groupindex=1"}},
      {u"menubtn", u"button", {Pic, u"skinrect=26,4,30,10", u"skinrectinapicture=1", u"activeskinrect=0,0,4,6"}},
      {u"user", u"userobject", {u"skinrect=28,4,32,8"}},
      {u"gauge", u"gauge", {Pic, u"skinrect=12,12,30,16", u"activeskinrect=0,0,18,4", u"maxvalue=100"}},
      {u"track", u"trackbar", {Pic, u"skinrect=12,2,40,8", u"activeskinrect=0,0,28,6", u"buttonrect=0,10,4,14",
                               u"beginpoint=2,3", u"endpoint=26,3", u"maxvalue=10", u"mousedownchangevalue=1"}},
      {u"knob", u"frameregulator", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10", u"countframes=4",
                                    u"maxvalue=10", u"kind=rkround"}},
      {u"slider", u"frameregulator", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10", u"countframes=4",
                                      u"maxvalue=10", u"kind=rkhorizontal"}},
      {u"fgauge", u"framegauge", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10", u"countframes=4",
                                  u"maxvalue=10"}},
      {u"sw", u"switch", {Pic, u"skinrect=4,4,10,10", u"skinrectinapicture=1", u"activeskinrect=0,0,6,6",
                          u"morphing=1"}},
      {u"lbl", u"label", {u"skinrect=4,2,30,16", u"fontname=Arial", u"fontheight=10", u"textvalue=L"}},
      {u"bits", u"bitlabel", {Pic, u"skinrect=4,2,30,8", u"activeskinrect=0,0,40,20", u"symbolwidth=4",
                              u"symbolheight=4", u"symbols=0123456789"}},
      {u"anim", u"animate", {Pic, u"skinrect=50,4,54,10", u"activeskinrect=0,0,16,6", u"countframes=4",
                             u"buttonstyle=1", u"command=cmdefault", u"downskinrect=20,10,24,16"}},
  };
  auto Sound = LoadFixtureSkin(D2, O);
  TShownForm S(Sound.get());
  Integer Clicks = 0;
  S.FS->SetMainMenu(MakeMenu(S.F, &Clicks));
  // The factory makes one object of the right class per description.
  const struct {
    const char16_t* Name;
    std::function<bool(TspActiveSkinObject*)> Is;
  } Kinds[] = {
      {u"caption", [](auto* P) { return dynamic_cast<TspSkinCaptionObject*>(P) != nullptr; }},
      {u"max", [](auto* P) { return dynamic_cast<TspSkinStdButtonObject*>(P) != nullptr; }},
      {u"push1", [](auto* P) { return typeid(*P) == typeid(TspSkinButtonObject); }},
      {u"user", [](auto* P) { return dynamic_cast<TspUserObject*>(P) != nullptr; }},
      {u"gauge", [](auto* P) { return dynamic_cast<TspSkinGaugeObject*>(P) != nullptr; }},
      {u"track", [](auto* P) { return dynamic_cast<TspSkinTrackBarObject*>(P) != nullptr; }},
      {u"knob", [](auto* P) { return dynamic_cast<TspSkinFrameRegulatorObject*>(P) != nullptr; }},
      {u"fgauge", [](auto* P) { return dynamic_cast<TspSkinFrameGaugeObject*>(P) != nullptr; }},
      {u"sw", [](auto* P) { return dynamic_cast<TspSkinSwitchObject*>(P) != nullptr; }},
      {u"lbl", [](auto* P) { return dynamic_cast<TspSkinLabelObject*>(P) != nullptr; }},
      {u"bits", [](auto* P) { return dynamic_cast<TspSkinBitLabelObject*>(P) != nullptr; }},
      {u"anim", [](auto* P) { return dynamic_cast<TspSkinAnimateObject*>(P) != nullptr; }},
      {u"FileItem", [](auto* P) { return dynamic_cast<TspSkinMainMenuItem*>(P) != nullptr; }},
  };
  for (const auto& K : Kinds) {
    const Integer I = S.FS->GetIndex(K.Name);
    ASSERT_NE(I, -1) << ToUtf8(K.Name);
    EXPECT_TRUE(K.Is(static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(I)))) << ToUtf8(K.Name);
  }
  auto* Knob = dynamic_cast<TspSkinFrameRegulatorObject*>(
      static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(S.FS->GetIndex(u"knob"))));
  EXPECT_EQ(Knob->Kind, rkRound);
  EXPECT_EQ(Knob->FrameW, 10);
  Exercise(S);
  // Grouped buttons: at most one of the group is down.
  EXPECT_FALSE(S.FS->ButtonGetDown(u"push1") && S.FS->ButtonGetDown(u"push2"));
  SaveForReview(S.F->Handle(), "fixture", "every-object-kind");
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MenuItemsAndAnimations, BrokenObjectIndexesApplyAndDraw) {
  TTempFolder D2{"brokenkinds"};
  TSkinOptions O;
  O.ActiveSizes = {{40, 20}};
  O.FormInfo = {u"mainmenurect=4,2,20,16"};
  const String Pic = u"activepictureindex=0";
  O.ExtraObjects = TObjects{
      // No middle part in the main-menu item's look.
      {u"MAINMENUITEM", u"mainmenuitem", {Pic, u"skinrect=0,0,20,14", u"textrect=4,0,16,14", u"itemleftoffset=15",
                                          u"itemrightoffset=15"}},
      // A picture that does not exist, with looks cut from it.
      {u"ghost", u"stdbutton", {u"activepictureindex=5", u"skinrect=30,4,36,10", u"skinrectinapicture=1",
                                u"inactiveskinrect=0,0,6,6", u"downrect=0,0,6,6", u"restorerect=0,0,6,6",
                                u"command=cmmaximize"}},
      // A glow picture outside the list.
      {u"glow", u"stdbutton", {Pic, u"skinrect=20,4,26,10", u"skinrectinapicture=1", u"activeskinrect=0,0,6,6",
                               u"glowlayerpictureindex=9", u"glowlayermaskpictureindex=0", u"command=cmminimize"}},
      {u"cap0", u"caption", {u"skinrect=10,2,40,16", Pic, u"animateskinrect=0,0,30,14", u"framecount=0",
                             u"animateinterval=25"}},
      {u"gauge0", u"gauge", {Pic, u"skinrect=12,12,30,16", u"activeskinrect=0,0,18,4", u"minvalue=5",
                             u"maxvalue=5"}},
      {u"track0", u"trackbar", {Pic, u"skinrect=12,2,40,8", u"activeskinrect=0,0,28,6", u"buttonrect=0,10,4,14",
                                u"beginpoint=2,3", u"endpoint=26,3", u"minvalue=3", u"maxvalue=3",
                                u"mousedownchangevalue=1"}},
      {u"slider0", u"frameregulator", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10",
                                       u"countframes=0", u"maxvalue=10", u"kind=rkhorizontal"}},
      {u"slider1", u"frameregulator", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10",
                                       u"countframes=1", u"maxvalue=10", u"kind=rkvertical"}},
      // 0..5 over 4 pictures: values past 3 would name pictures past the strip.
      {u"past", u"frameregulator", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10", u"countframes=4",
                                    u"maxvalue=5", u"kind=rkround"}},
      {u"fgauge0", u"framegauge", {Pic, u"skinrect=40,4,50,14", u"activeskinrect=0,0,40,10", u"countframes=0",
                                   u"maxvalue=10"}},
      {u"anim0", u"animate", {Pic, u"skinrect=50,4,54,10", u"activeskinrect=0,0,16,6", u"countframes=0",
                              u"buttonstyle=1", u"command=cmdefault"}},
      {u"bits", u"bitlabel", {Pic, u"skinrect=4,2,30,8", u"activeskinrect=0,0,40,20", u"symbolwidth=0",
                              u"symbolheight=0"}},
      {u"kind", u"nosuchkind", {u"skinrect=4,4,8,8"}},
  };
  auto Broken = LoadFixtureSkin(D2, O);
  TShownForm S(Broken.get());
  Integer Clicks = 0;
  S.FS->SetMainMenu(MakeMenu(S.F, &Clicks));
  auto At = [&](const char16_t* N) {
    const Integer I = S.FS->GetIndex(N);
    return I == -1 ? nullptr : static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(I));
  };
  ASSERT_NE(At(u"ghost"), nullptr);
  EXPECT_EQ(At(u"ghost")->ActivePicture, nullptr);
  EXPECT_TRUE(RectIsEmpty(static_cast<TspSkinStdButtonObject*>(At(u"ghost"))->RestoreRect));
  EXPECT_EQ(At(u"kind"), nullptr);
  Exercise(S);
  // The glow of a picture outside the list shows nothing.
  At(u"glow")->MouseEnter();
  EXPECT_FALSE(S.FS->FLayerManager->IsVisible());
  At(u"glow")->MouseLeave();
  // The regulator past the strip shows its last picture: value 5 of 0..5 over 4 pictures.
  auto* Past = static_cast<TspSkinFrameRegulatorObject*>(At(u"past"));
  auto B = Canvas(60, 20);
  Past->Draw(B->Canvas(), true);
  EXPECT_EQ(Past->FFrame, 4);
  EXPECT_EQ(S.FS->FrameRegulatorGetValue(u"slider0"), 5);
  SaveForReview(S.F->Handle(), "fixture", "broken-object-indexes");
  EXPECT_TRUE(Errors.empty());
}
