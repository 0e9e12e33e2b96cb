// The skinned form component on real windows: the window procedure's
// contract, frame pixels of the default look and the fixture skin, the
// region, hit tests, roll-up, fade, window states, the skin walk and the
// mended faults.
#include "tests/skin/form/win/FormTestUtil.h"

#include "skin/controls/win/SkinPageControl.h"
#include "skin/boxes/SkinBoxCtrls.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/controls/SkinTabs.h"
#include "skin/controls/win/SkinPanel.h"
#include "skin/controls/win/SkinStdCtrls.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "common/Xdo.h"

using namespace formtest;

namespace {

// A form with its component, shown.
struct TShown {
  explicit TShown(TspSkinData* SD, TFormBorderStyle BS = bsSizeable, bool Show = true) {
    F = new TLogForm(BS);
    FS = new TspFormSkin(F);
    if (SD) FS->SetSkinData(SD);
    if (Show) {
      F->Show();
      SetForegroundWindow(F->Handle());
      Pump();
    }
  }
  ~TShown() { delete F; }
  TLogForm* F;
  TspFormSkin* FS;
};

// The rectangles of the window's region, or none when it has no region.
std::vector<RECT> RegionRects(HWND W) {
  std::vector<RECT> Out;
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(W, R) != ERROR) {
    const DWORD Size = GetRegionData(R, 0, nullptr);
    std::vector<Byte> Buf(Size);
    auto* D = reinterpret_cast<RGNDATA*>(Buf.data());
    GetRegionData(R, Size, D);
    const RECT* P = reinterpret_cast<const RECT*>(D->Buffer);
    Out.assign(P, P + D->rdh.nCount);
  }
  DeleteObject(R);
  return Out;
}

bool RegionEquals(HWND W, HRGN Expected) {
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  const bool Has = GetWindowRgn(W, R) != ERROR;
  const bool Eq = Has && EqualRgn(R, Expected);
  DeleteObject(R);
  DeleteObject(Expected);
  return Eq;
}

// The fixture mask at W x H: two pixels off each top corner, one off each bottom corner.
HRGN FixtureShape(Integer W, Integer H) {
  HRGN R = CreateRectRgn(0, 2, W, H - 1);
  auto Add = [&](Integer L, Integer T, Integer Rt, Integer B) {
    HRGN P = CreateRectRgn(L, T, Rt, B);
    CombineRgn(R, R, P, RGN_OR);
    DeleteObject(P);
  };
  Add(2, 0, W - 2, 1);
  Add(1, 1, W - 1, 2);
  Add(1, H - 1, W - 1, H);
  return R;
}

LRESULT NCHit(HWND W, Integer X, Integer Y) {
  RECT R;
  GetWindowRect(W, &R);
  return SendMessageW(W, WM_NCHITTEST, 0, MAKELPARAM(R.left + X, R.top + Y));
}

}  // namespace

// ---------------------------------------------------------------------------
// The window procedure

TEST_F(FormTest, WindowProcedureContract) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  enum Setup { Skin, NoSkin, BsNone, Unskinnable, ClientArea };
  struct Row {
    const char* Name;
    UINT Msg;
    WPARAM W;
    LPARAM L;
    // Passed on to the previous procedure, per setup.
    bool Passed[5];
  };
  RECT Calc[3] = {{0, 0, 200, 150}, {}, {}};
  const Row Rows[] = {
      {"WM_NCCALCSIZE", WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(Calc), {false, false, false, true, false}},
      {"WM_NCPAINT", WM_NCPAINT, 1, 0, {false, false, false, true, false}},
      {"WM_NCACTIVATE", WM_NCACTIVATE, TRUE, 0, {false, false, false, true, false}},
      {"WM_NCHITTEST", WM_NCHITTEST, 0, MAKELPARAM(150, 150), {false, false, false, true, false}},
      {"45490", FEM_QUERY_SKINNABLE, 0, 0, {false, false, false, false, false}},
      {"45513 dc 0", FEM_PAINT_FRAME, 0, 0, {false, false, false, true, false}},
      {"48203 magic", FEM_PAINT_FRAME_EX, 0, SP_PAINT_EX_MAGIC, {false, false, false, true, false}},
      {"48203 other", FEM_PAINT_FRAME_EX, 0, 5, {true, true, true, true, true}},
      {"1236", FEM_MDI_QUERY_MAXIMIZED, 0, 0, {false, false, false, false, false}},
      {"1228", FEM_MENU_CLOSED, 0, 0, {true, true, true, true, true}},
      {"SC_RESTORE + 2", WM_SYSCOMMAND, SC_RESTORE + 2, 0, {true, true, true, true, true}},
      {"WM_ERASEBKGND", WM_ERASEBKGND, 0, 0, {false, false, false, false, false}},
  };
  for (int S = Skin; S <= ClientArea; ++S) {
    auto* F = new TLogForm(S == BsNone ? bsNone : bsSizeable);
    auto* FS = new TspFormSkin(F);
    if (S == ClientArea) FS->SetSupportNCArea(false);
    if (S != NoSkin) FS->SetSkinData(SD.get());
    if (S == Unskinnable) FS->SetSkinnableForm(false);
    F->HandleNeeded();
    for (const Row& R : Rows) {
      F->Passed.clear();
      Calc[0] = RECT{0, 0, 200, 150};
      const LRESULT Res = F->Perform(R.Msg, R.W, R.L);
      EXPECT_EQ(F->WasPassed(R.Msg), R.Passed[S]) << R.Name << " setup " << S;
      if (R.Msg == FEM_QUERY_SKINNABLE) EXPECT_EQ(Res, S == Unskinnable ? 12852 : 12853) << "setup " << S;
      if (R.Msg == FEM_PAINT_FRAME && S != Unskinnable) EXPECT_EQ(Res, 12851) << "setup " << S;
      if (R.Msg == FEM_PAINT_FRAME_EX && R.L == SP_PAINT_EX_MAGIC && S != Unskinnable) EXPECT_EQ(Res, 16802);
      if (R.Msg == FEM_MDI_QUERY_MAXIMIZED) EXPECT_EQ(Res, 0);
      if (R.Msg == WM_NCACTIVATE && S != Unskinnable) EXPECT_EQ(Res, 1);
    }
    // The client area after WM_NCCALCSIZE: the skin's frame, the default
    // frame, or the whole window.
    Calc[0] = RECT{0, 0, 200, 150};
    F->Perform(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(Calc));
    if (S == Skin) {
      EXPECT_EQ(Calc[0].left, 4);
      EXPECT_EQ(Calc[0].top, 20);
      EXPECT_EQ(Calc[0].right, 196);
      EXPECT_EQ(Calc[0].bottom, 146);
    } else if (S == NoSkin) {
      EXPECT_EQ(Calc[0].left, 3);
      EXPECT_EQ(Calc[0].top, 22);
      EXPECT_EQ(Calc[0].right, 197);
      EXPECT_EQ(Calc[0].bottom, 147);
    } else if (S == BsNone || S == ClientArea) {
      EXPECT_EQ(Calc[0].top, 0);
      EXPECT_EQ(Calc[0].bottom, 150);
    }
    delete F;
  }
  // 1225 and 1226 with the form's own skin and with a foreign one.
  TTempFolder Dir2("formskin2");
  auto Other = LoadFixtureSkin(Dir2);
  auto* F = new TLogForm;
  auto* FS = new TspFormSkin(F);
  FS->SetSkinData(SD.get());
  F->HandleNeeded();
  ASSERT_GT(FS->ObjectList->Count(), 0);
  F->Perform(FEM_SKIN_BEFORE_CHANGE, reinterpret_cast<WPARAM>(Other.get()), 1000);
  EXPECT_GT(FS->ObjectList->Count(), 0);
  EXPECT_FALSE(FS->FStopPainting);
  F->Perform(FEM_SKIN_BEFORE_CHANGE, reinterpret_cast<WPARAM>(SD.get()), 1000);
  EXPECT_EQ(FS->ObjectList->Count(), 0);
  EXPECT_TRUE(FS->FStopPainting);
  EXPECT_TRUE(F->WasPassed(FEM_SKIN_BEFORE_CHANGE));
  F->Perform(FEM_SKIN_CHANGED, reinterpret_cast<WPARAM>(SD.get()), 1000);
  EXPECT_FALSE(FS->FStopPainting);
  EXPECT_GT(FS->ObjectList->Count(), 0);
  delete F;
}

TEST_F(FormTest, SkinChangeThroughTheModelOnTwoForms) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown A(SD.get()), B(nullptr);
  // A skin load sends 1225/1226 to every form; only A re-applies.
  SD->LoadFromFile(Dir.Path("skin.ini"));
  Pump();
  EXPECT_TRUE(A.FS->FSkinSupport);
  EXPECT_FALSE(B.FS->FSkinSupport);
  EXPECT_GT(A.FS->ObjectList->Count(), 0);
  // SkinData := nil rebuilds the default look with its six buttons.
  A.FS->SetSkinData(nullptr);
  SendMessageW(A.F->Handle(), WM_NCPAINT, 0, 0);
  EXPECT_EQ(A.FS->ObjectList->Count(), 6);
  RECT C;
  GetClientRect(A.F->Handle(), &C);
  EXPECT_EQ(C.right, 200 - 6);
  EXPECT_EQ(C.bottom, 150 - 19 - 6);
  EXPECT_TRUE(Errors.empty());
}

// The order in which the messages of creation, showing, activation,
// deactivation and a caption or icon change reach the component (a log in
// front of it) and what it passes on (the log behind it); after each step
// the frame shows the skin's picture, no caption of Wine's.
TEST_F(FormTest, MessageOrders) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  auto* F = new TLogForm(bsSizeable);
  auto* FS = new TspFormSkin(F);
  FS->SetSkinData(SD.get());
  auto Seen = std::make_shared<std::vector<UINT>>();
  TWndMethod Component = F->WindowProc();
  F->SetWindowProc([Seen, Component](TMessage& M) {
    Seen->push_back(M.Msg);
    Component(M);
  });
  // Positions of the messages in Log, in the order given; -1 for a missing one.
  auto InOrder = [](const std::vector<UINT>& Log, const std::vector<UINT>& Msgs) {
    size_t At = 0;
    for (UINT Msg : Msgs) {
      while (At < Log.size() && Log[At] != Msg) ++At;
      if (At == Log.size()) return false;
      ++At;
    }
    return true;
  };
  auto Count = [](const std::vector<UINT>& Log, UINT Msg) { return std::count(Log.begin(), Log.end(), Msg); };
  auto FrameIs = [&](TColor Top) {
    auto B = GrabWindow(F->Handle());
    for (Integer X = 0; X < 200; X += 7)
      for (Integer Y = 2; Y < 20; Y += 3)
        if (Px(B.get(), X, Y) != Top) return false;
    return true;
  };
  struct Step {
    const char* Name;
    std::function<void()> Run;
    std::vector<UINT> Order;       // reaching the component, in this order
    std::vector<UINT> Handled;     // not passed on
    std::vector<UINT> PassedOnce;  // passed on exactly once
    TColor Top;
  };
  TShown Other(nullptr);
  const HICON Icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  const Step Steps[] = {
      {"creation", [&] { F->HandleNeeded(); }, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}, {WM_NCCALCSIZE}, {WM_CREATE},
       TopColor},
      {"show with activation",
       [&] {
         F->Show();
         SetForegroundWindow(F->Handle());
         PumpUntil([&] { return F->Active(); });
       },
       {WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS},
       {WM_NCACTIVATE},
       {WM_ACTIVATE, WM_SHOWWINDOW},
       TopColor},
      {"deactivation",
       [&] {
         SetForegroundWindow(Other.F->Handle());
         PumpUntil([&] { return !F->Active(); });
       },
       {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS},
       {WM_NCACTIVATE},
       {WM_ACTIVATE},
       InactiveTopColor},
      {"caption change", [&] { F->SetCaption(u"Changed"); }, {WM_SETTEXT, WM_NCPAINT}, {}, {WM_SETTEXT},
       InactiveTopColor},
      {"icon change", [&] { SendMessageW(F->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon)); },
       {WM_SETICON, WM_NCPAINT}, {}, {WM_SETICON}, InactiveTopColor},
  };
  for (const Step& St : Steps) {
    Seen->clear();
    F->Passed.clear();
    St.Run();
    Pump();
    EXPECT_TRUE(InOrder(*Seen, St.Order)) << St.Name;
    for (UINT Msg : St.Handled) EXPECT_EQ(Count(F->Passed, Msg), 0) << St.Name << " " << Msg;
    for (UINT Msg : St.PassedOnce) EXPECT_EQ(Count(F->Passed, Msg), 1) << St.Name << " " << Msg;
    if (IsWindowVisible(F->Handle())) EXPECT_TRUE(FrameIs(St.Top)) << St.Name;
  }
  delete F;
  EXPECT_TRUE(Errors.empty());
}

// Right click on the caption and Alt+Space: Wine's own system menu never opens.
// The form's own context menu, counting its showings instead of running a
// menu loop.
class TCountingPopup : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  int Shown = 0;
  void Popup(Integer, Integer) override { ++Shown; }
};

TEST_F(FormTest, NoNativeSystemMenu) {
  TShown S(nullptr);
  auto* Menu = new TCountingPopup(S.F);
  S.F->SetPopupMenu(Menu);
  auto RightClickAt = [&](Integer X, Integer Y) {
    SetCursorPos(X, Y);
    INPUT In[2] = {};
    In[0].type = In[1].type = INPUT_MOUSE;
    In[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    In[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, In, sizeof(INPUT));
    for (int I = 0; I < 20; ++I) {
      Application->ProcessMessages();
      Sleep(5);
    }
  };
  RECT R;
  GetWindowRect(S.F->Handle(), &R);
  // On the caption: neither the native system menu nor the form's menu.
  RightClickAt(R.left + 60, R.top + 10);
  EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr);
  EXPECT_EQ(Menu->Shown, 0);
  // In the client area the form's menu opens (the check above means something).
  const TPoint C = S.F->ClientToScreen(TPoint(20, 20));
  RightClickAt(C.X, C.Y);
  EXPECT_EQ(Menu->Shown, 1);
  ctltest::SendKeys({VK_MENU}, VK_SPACE);
  EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr);
  EXPECT_EQ(GetWindowLongW(S.F->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
}

// ---------------------------------------------------------------------------
// Frame pixels

TEST_F(FormTest, DefaultLookPixels) {
  for (TFormBorderStyle BS : {bsSingle, bsToolWindow}) {
    TShown S(nullptr, BS);
    const HWND W = S.F->Handle();
    const Integer CH = BS == bsToolWindow ? 15 : 19;
    for (auto [Width, Height] : {std::pair{200, 150}, std::pair{320, 90}}) {
      S.F->SetBounds(100, 100, Width, Height);
      S.F->SetCaption(u"MMMMMMMM");
      auto B = GrabWindow(W);
      // The three rings.
      EXPECT_EQ(Px(B.get(), 0, 40), Sys(cl3DLight));
      EXPECT_EQ(Px(B.get(), 40, 0), Sys(cl3DLight));
      EXPECT_EQ(Px(B.get(), Width - 1, 40), Sys(cl3DDkShadow));
      EXPECT_EQ(Px(B.get(), 40, Height - 1), Sys(cl3DDkShadow));
      EXPECT_EQ(Px(B.get(), 1, 40), Sys(clBtnHighlight));
      EXPECT_EQ(Px(B.get(), Width - 2, 40), Sys(clBtnShadow));
      EXPECT_EQ(Px(B.get(), 2, 40), Sys(clBtnFace));
      // Engraved lines from caption row 2, starting with the highlight.
      EXPECT_EQ(Px(B.get(), 30, 3 + 2), Sys(clBtnHighlight));
      EXPECT_EQ(Px(B.get(), 30, 3 + 3), Sys(clBtnShadow));
      EXPECT_EQ(Px(B.get(), 30, 3 + CH - 4), Sys((CH - 4 - 2) % 2 ? clBtnShadow : clBtnHighlight));
      EXPECT_EQ(Px(B.get(), 30, 3 + CH - 3), Sys(clBtnFace));
      // The client area starts below the caption band.
      RECT C;
      GetClientRect(W, &C);
      EXPECT_EQ(C.right, Width - 6);
      EXPECT_EQ(C.bottom, Height - CH - 6);
      // The caption text in the active colour.
      bool TextActive = false, TextInactive = false;
      for (Integer X = 3; X < Width - 3; ++X)
        for (Integer Y = 3; Y < 3 + CH; ++Y) {
          TextActive |= Px(B.get(), X, Y) == Sys(clBtnText);
          TextInactive |= Px(B.get(), X, Y) == Sys(clBtnShadow) && Y > 3 + CH - 3;
        }
      EXPECT_TRUE(TextActive);
      SaveForReview(W, "default", BS == bsToolWindow ? "toolwindow-active" : "active");
    }
  }
  // Inactive: the caption text takes clBtnShadow and no clBtnText remains
  // between the caption buttons (their glyphs keep clBtnText).
  TShown S(nullptr, bsSingle), Other(nullptr, bsSingle);
  S.F->SetCaption(u"MMMMMMMM");
  SetForegroundWindow(Other.F->Handle());
  Pump();
  ASSERT_FALSE(S.F->Active());
  auto B = GrabWindow(S.F->Handle());
  bool Active = false;
  const TRect Text = S.FS->GetDefCaptionRect();
  ASSERT_GT(Text.Width(), 100);
  for (Integer X = Text.Left; X < Text.Right; ++X)
    for (Integer Y = 3; Y < 22; ++Y) Active |= Px(B.get(), X, Y) == Sys(clBtnText);
  EXPECT_FALSE(Active);
  SaveForReview(S.F->Handle(), "default", "inactive");
}

TEST_F(FormTest, SkinnedFramePixels) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  const HWND W = S.F->Handle();
  for (auto [Width, Height] : {std::pair{200, 150}, std::pair{320, 240}}) {
    S.F->SetBounds(100, 100, Width, Height);
    auto B = GrabWindow(W);
    EXPECT_EQ(Px(B.get(), Width / 2, 10), TopColor);
    EXPECT_EQ(Px(B.get(), 1, Height / 2), LeftColor);
    EXPECT_EQ(Px(B.get(), Width - 2, Height / 2), RightColor);
    EXPECT_EQ(Px(B.get(), Width / 2, Height - 2), BottomColor);
    // The client background is the picture's client part.
    EXPECT_EQ(Px(B.get(), Width / 2, Height / 2), ClientColor);
    RECT C;
    GetClientRect(W, &C);
    EXPECT_EQ(C.right, Width - 8);
    EXPECT_EQ(C.bottom, Height - 24);
  }
  SaveForReview(W, "fixture", "active");
  // A caption and an icon change leave no Wine caption pixels.
  S.F->SetCaption(u"Changed");
  SendMessageW(W, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
  auto B = GrabWindow(W);
  for (Integer X = 0; X < 320; X += 7)
    for (Integer Y = 2; Y < 20; Y += 3) ASSERT_EQ(Px(B.get(), X, Y), TopColor) << X << "," << Y;
  // Inactive: the inactive picture.
  TShown Other(nullptr);
  Pump();
  ASSERT_FALSE(S.F->Active());
  B = GrabWindow(W);
  EXPECT_EQ(Px(B.get(), 160, 10), InactiveTopColor);
  EXPECT_EQ(Px(B.get(), 160, 120), ClientColor);
  SaveForReview(W, "fixture", "inactive");
}

TEST_F(FormTest, InactiveEffectGreysTheStripsOnly) {
  TTempFolder Dir("formskin");
  TSkinOptions O;
  O.InactivePicture = false;
  O.FormInfo = {u"autorenderinginactiveimage=1", u"inactiveeffect=iegrayscale"};
  auto SD = LoadFixtureSkin(Dir, O);
  TShown S(SD.get()), Other(nullptr);
  Pump();
  auto B = GrabWindow(S.F->Handle());
  for (TPoint P : {TPoint(100, 10), TPoint(1, 75), TPoint(198, 75), TPoint(100, 148)}) {
    const TColor C = Px(B.get(), P.X, P.Y);
    EXPECT_EQ(C & 0xFF, (C >> 8) & 0xFF) << P.X << "," << P.Y;
    EXPECT_EQ(C & 0xFF, (C >> 16) & 0xFF) << P.X << "," << P.Y;
    EXPECT_NE(C, TopColor);
  }
  EXPECT_EQ(Px(B.get(), 100, 75), ClientColor);
  SaveForReview(S.F->Handle(), "fixture", "inactive-effect");
}

TEST_F(FormTest, BackgroundsStretchedTiledAndBroken) {
  TTempFolder Dir("formskin");
  struct Case {
    const char* Name;
    std::vector<String> FormInfo;
    std::vector<std::pair<Integer, Integer>> Active;
    TColor At00, AtFar;
  };
  // The checker is 10 x 10 with a 5 x 5 teal corner.
  const Case Cases[] = {
      {"tiled", {u"bgpictureindex=0"}, {{10, 10}}, clTeal, clTeal},
      {"stretched full", {u"bgpictureindex=0", u"stretcheffect=1", u"stretchtype=stfull"}, {{10, 10}}, clTeal,
       clYellow},
      // Stretched across the client height (not the window's): the far end shows.
      {"stretched horz", {u"bgpictureindex=0", u"stretcheffect=1", u"stretchtype=sthorz"}, {{10, 10}}, clTeal,
       clYellow},
      {"index out of range", {u"bgpictureindex=3"}, {{10, 10}}, clBtnFace, clBtnFace},
      {"zero-size source", {u"bgpictureindex=0"}, {{0, 0}}, clBtnFace, clBtnFace},
  };
  for (const Case& C : Cases) {
    TSkinOptions O;
    O.FormInfo = C.FormInfo;
    O.ActiveSizes = C.Active;
    auto SD = LoadFixtureSkin(Dir, O);
    TShown S(SD.get());
    auto B = GrabWindow(S.F->Handle());
    EXPECT_EQ(Px(B.get(), 4, 20), Sys(C.At00)) << C.Name;
    // Client point (100, 120): tiled 10 x 10 gives (0,0) of a tile again.
    EXPECT_EQ(Px(B.get(), 4 + 100, 20 + 120), Sys(C.AtFar)) << C.Name;
    EXPECT_TRUE(Errors.empty()) << C.Name;
    if (C.Name[0] == 't') SaveForReview(S.F->Handle(), "fixture", "background-tiled");
  }
}

// ---------------------------------------------------------------------------
// Region and hit tests

TEST_F(FormTest, WindowRegionFromTheMask) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  const HWND W = S.F->Handle();
  EXPECT_TRUE(RegionEquals(W, FixtureShape(200, 150)));
  S.F->SetBounds(100, 100, 321, 97);
  EXPECT_TRUE(RegionEquals(W, FixtureShape(321, 97)));
  EXPECT_FALSE(RegionRects(W).empty());
  // Without a mask: the window rectangle; after removing the skin as well.
  TTempFolder Dir2("formskin");
  TSkinOptions O;
  O.Mask = false;
  auto Plain = LoadFixtureSkin(Dir2, O);
  S.FS->SetSkinData(Plain.get());
  EXPECT_TRUE(RegionEquals(W, CreateRectRgn(0, 0, S.F->Width(), S.F->Height())));
  S.FS->SetSkinData(nullptr);
  EXPECT_TRUE(RegionEquals(W, CreateRectRgn(0, 0, S.F->Width(), S.F->Height())));
  EXPECT_TRUE(S.FS->RMTop->Empty());
}

// The component remembers the shape it gave the window: a new window of the
// form (which starts without a region) gets the shape again, and a shape
// that grows has its new pixels painted.
TEST_F(FormTest, WindowRegionFollowsANewWindowAndAGrowth) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  ASSERT_TRUE(RegionEquals(S.F->Handle(), FixtureShape(200, 150)));
  S.FS->UpdateWindowRegion(true);
  EXPECT_TRUE(RegionEquals(S.F->Handle(), FixtureShape(200, 150)));
  S.F->RecreateWnd();
  S.F->HandleNeeded();
  Pump();
  S.FS->UpdateWindowRegion(true);
  EXPECT_TRUE(RegionEquals(S.F->Handle(), FixtureShape(200, 150)));
  // Larger: the band the window gains shows the frame's right and bottom
  // edges, not stale or unpainted pixels.
  S.F->SetBounds(100, 100, 260, 190);
  EXPECT_TRUE(RegionEquals(S.F->Handle(), FixtureShape(260, 190)));
  auto B = GrabWindow(S.F->Handle());
  EXPECT_EQ(Px(B.get(), 258, 100), RightColor);
  EXPECT_EQ(Px(B.get(), 130, 188), BottomColor);
  EXPECT_EQ(Px(B.get(), 240, 10), TopColor);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(FormTest, HitTests) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  const HWND W = S.F->Handle();
  S.FS->ActiveObject = -1;
  EXPECT_EQ(NCHit(W, 1, 75), HTLEFT);
  EXPECT_EQ(NCHit(W, 198, 75), HTRIGHT);
  EXPECT_EQ(NCHit(W, 100, 148), HTBOTTOM);
  EXPECT_EQ(NCHit(W, 2, 2), HTTOPLEFT);
  EXPECT_EQ(NCHit(W, 5, 5), spHTOBJECT);
  EXPECT_EQ(NCHit(W, 198, 148), HTBOTTOMRIGHT);
  EXPECT_EQ(NCHit(W, 100, 75), HTCLIENT);
  EXPECT_EQ(NCHit(W, 20, 10), HTCAPTION);
  // Not sizeable: no sizing zone.
  S.FS->FSizeable = false;
  EXPECT_EQ(NCHit(W, 1, 75), spHTOBJECT);
  EXPECT_EQ(NCHit(W, 20, 10), HTCAPTION);
  // No dragging by the caption.
  S.FS->FNCDraggAble = false;
  EXPECT_EQ(NCHit(W, 20, 10), spHTOBJECT);
  S.FS->FNCDraggAble = true;
  S.FS->FSizeable = true;
  // Minimum size from the skin picture; the default look 130 wide.
  EXPECT_EQ(S.FS->GetMinWidth(), 60);
  EXPECT_EQ(S.FS->GetMinHeight(), 24);
  S.F->SetBounds(100, 100, 20, 10);
  EXPECT_EQ(S.F->Width(), 60);
  EXPECT_EQ(S.F->Height(), 24);
  S.FS->SetSkinData(nullptr);
  EXPECT_EQ(S.FS->GetMinWidth(), 130);
  EXPECT_EQ(S.FS->GetMinHeight(), 19 + 6);
}

// ---------------------------------------------------------------------------
// Roll-up, fade, states

TEST_F(FormTest, RollUpKeepsTheHeightToReturnTo) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  Integer Events = 0;
  S.FS->OnChangeRollUpState = [&](TObject*) { ++Events; };
  // Down without up changes nothing.
  S.FS->SetRollUpState(false);
  EXPECT_EQ(S.F->Height(), 150);
  S.FS->SetRollUpState(true);
  EXPECT_EQ(S.F->Height(), S.FS->GetMinHeight());
  S.FS->SetRollUpState(true);
  S.FS->SetRollUpState(false);
  EXPECT_EQ(S.F->Height(), 150);
  EXPECT_EQ(Events, 2);
  // Without biRollUp the request is ignored.
  S.FS->SetBorderIcons(spbi::biSystemMenu);
  S.FS->SetRollUpState(true);
  EXPECT_FALSE(S.FS->RollUpState());
  // With ClientHeight set, rolling down restores that client height.
  S.FS->SetBorderIcons(spbi::biSystemMenu | spbi::biRollUp);
  S.FS->FClientHeight = 80;
  S.FS->SetRollUpState(true);
  S.FS->SetRollUpState(false);
  EXPECT_EQ(S.F->ClientHeight(), 80);
}

// Client-area mode: rolling up swaps to the roll-up picture's size and hides
// the visible controls (in control order), rolling down shows them again and
// leaves a control hidden before hidden; a skin without a roll-up picture
// refuses and still tells.
TEST_F(FormTest, ClientAreaRollUp) {
  TTempFolder Dir("formskin");
  TSkinOptions O;
  O.RollUpSize = {90, 16};
  auto SD = LoadFixtureSkin(Dir, O);
  TLogForm* F = new TLogForm(bsNone);
  auto* FS = new TspFormSkin(F);
  FS->SetSupportNCArea(false);
  FS->SetSkinData(SD.get());
  FS->SetBorderIcons(spbi::biSystemMenu | spbi::biRollUp);
  TspSkinPanel* P[3];
  for (int I = 0; I < 3; ++I) {
    P[I] = new TspSkinPanel(F);
    P[I]->SetParent(F);
    P[I]->SetBounds(10 + 20 * I, 30, 15, 15);
  }
  P[1]->Hide();
  F->Show();
  Pump();
  const Integer Height = F->Height();
  Integer Events = 0;
  FS->OnChangeRollUpState = [&](TObject*) { ++Events; };
  FS->SetRollUpState(true);
  EXPECT_TRUE(FS->RollUpState());
  EXPECT_EQ(F->Width(), 90);
  EXPECT_EQ(F->Height(), 16);
  ASSERT_EQ(FS->VisibleControls->Count(), 2);
  EXPECT_EQ(FS->VisibleControls->Items(0), P[0]);
  EXPECT_EQ(FS->VisibleControls->Items(1), P[2]);
  for (TspSkinPanel* C : P) EXPECT_FALSE(C->Visible());
  FS->SetRollUpState(false);
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_TRUE(P[0]->Visible());
  EXPECT_FALSE(P[1]->Visible());
  EXPECT_TRUE(P[2]->Visible());
  EXPECT_EQ(FS->VisibleControls->Count(), 0);
  EXPECT_GE(F->Height(), 50);
  EXPECT_LE(F->Height(), std::max<Integer>(Height, 50));
  EXPECT_EQ(Events, 2);
  delete F;
  // Without a roll-up picture: refused, the event still fires.
  TTempFolder Dir2("formskin");
  auto Plain = LoadFixtureSkin(Dir2);
  F = new TLogForm(bsNone);
  FS = new TspFormSkin(F);
  FS->SetSupportNCArea(false);
  FS->SetSkinData(Plain.get());
  FS->SetBorderIcons(spbi::biSystemMenu | spbi::biRollUp);
  F->Show();
  Pump();
  Events = 0;
  FS->OnChangeRollUpState = [&](TObject*) { ++Events; };
  FS->SetRollUpState(true);
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_EQ(Events, 1);
  delete F;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(FormTest, FadeSteps) {
  struct Case {
    bool Blend, Animation;
    Byte Value;
    std::vector<int> Steps;
    bool EndsLayered;
  };
  std::vector<int> To255, To200;
  for (int A = 17; A <= 255; A += 17) To255.push_back(A);
  for (int A = 13; A < 200; A += 13) To200.push_back(A);
  To200.push_back(200);
  const Case Cases[] = {
      {false, true, 200, To255, false},
      {true, true, 200, To200, true},
      {true, false, 200, {200}, true},
  };
  for (const Case& C : Cases) {
    TShown S(nullptr, bsSizeable, false);
    S.FS->FAlphaBlend = C.Blend;
    S.FS->SetAlphaBlendAnimation(C.Animation);
    S.FS->SetAlphaBlendValue(C.Value);
    std::vector<int> Seen;
    S.FS->AlphaSink = [&](HWND W, Byte A) {
      Seen.push_back(A);
      SetWindowAlphaValue(W, A);
    };
    S.F->Show();
    // The show made the window layered at 0 with timer 1 armed.
    EXPECT_TRUE(GetWindowLongW(S.F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    PumpUntil([&] { return !Seen.empty() && Seen.back() == (C.Blend ? C.Value : 255); });
    EXPECT_EQ(Seen, C.Steps);
    EXPECT_EQ((GetWindowLongW(S.F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, C.EndsLayered);
    if (C.EndsLayered) {
      BYTE A = 0;
      DWORD Flags = 0;
      GetLayeredWindowAttributes(S.F->Handle(), nullptr, &A, &Flags);
      EXPECT_EQ(A, C.Value);
    }
  }
}

// A state asked for while the form is still loading is taken at the end of
// loading, with the bounds of a state set at run time.
TEST_F(FormTest, WindowStateSetWhileLoadingAppliesWhenLoaded) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  auto* F = new TLogForm(bsSizeable);
  F->BeginLoading();
  auto* FS = new TspFormSkin(F);
  FS->BeginLoading();
  FS->SetSkinData(SD.get());
  const TRect Before = F->BoundsRect();
  FS->SetWindowState(wsMaximized);
  // Asked for, not yet taken.
  EXPECT_EQ(F->BoundsRect(), Before);
  EXPECT_EQ(FS->WindowState(), wsMaximized);
  EXPECT_EQ(FS->FWindowState, wsNormal);
  F->EndLoading();
  const Integer SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(FS->FWindowState, wsMaximized);
  EXPECT_EQ(F->BoundsRect(), TRect(1, 1, SW - 1, SH - 1));
  delete F;
}

TEST_F(FormTest, WindowStates) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  const TRect Before = S.F->BoundsRect();
  const Integer SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  Integer Max = 0, Min = 0, Res = 0;
  S.FS->OnMaximize = [&](TObject*) { ++Max; };
  S.FS->OnMinimize = [&](TObject*) { ++Min; };
  S.FS->OnRestore = [&](TObject*) { ++Res; };
  S.FS->SetWindowState(wsMaximized);
  // The work area is the whole screen on the test display: one pixel in.
  EXPECT_EQ(S.F->BoundsRect(), TRect(1, 1, SW - 1, SH - 1));
  EXPECT_EQ(S.FS->WindowState(), wsMaximized);
  // A maximised form is not moved by the system.
  S.F->Passed.clear();
  S.F->Perform(WM_SYSCOMMAND, SC_MOVE, 0);
  EXPECT_FALSE(S.F->WasPassed(WM_SYSCOMMAND));
  EXPECT_EQ(S.F->BoundsRect(), TRect(1, 1, SW - 1, SH - 1));
  S.FS->SetWindowState(wsMinimized);
  EXPECT_EQ(S.F->BoundsRect(), TRect(0, SH - 24, 60, SH));
  S.FS->SetWindowState(wsNormal);
  EXPECT_EQ(S.F->BoundsRect(), Before);
  EXPECT_EQ(Max + Min + Res, 3);
  // The same state again: nothing, no event.
  S.FS->SetWindowState(wsNormal);
  EXPECT_EQ(Res, 1);
  // With MaximizeOnFullScreen: the whole screen.
  S.FS->FMaximizeOnFullScreen = true;
  S.FS->SetWindowState(wsMaximized);
  EXPECT_EQ(S.F->BoundsRect(), TRect(0, 0, SW, SH));
  S.FS->SetWindowState(wsNormal);
  // A second minimised form takes the next place.
  TShown T(SD.get());
  S.FS->SetWindowState(wsMinimized);
  T.FS->SetWindowState(wsMinimized);
  EXPECT_EQ(T.F->BoundsRect(), TRect(60, SH - 24, 120, SH));
  // Position on the monitor.
  S.FS->SetWindowState(wsNormal);
  S.FS->SetPositionInMonitor(sppScreenCenter);
  EXPECT_EQ(S.FS->GetPositionInMonitor(0, 0, 500, 301), TPoint(SW / 2 - 250, SH / 2 - 150));
}

// The main form minimises through the application (the window iconic, the
// application minimised) and comes back through SC_RESTORE, as Wine sends it
// when the desktop restores the window.
TEST_F(FormTest, MainFormMinimisesThroughTheApplication) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  TCustomForm* SavedMain = Application->MainForm();
  Application->SetMainForm(S.F);
  const TRect Before = S.F->BoundsRect();
  Integer Restored = 0;
  S.FS->OnRestore = [&](TObject*) { ++Restored; };
  S.FS->SetWindowState(wsMinimized);
  Pump();
  EXPECT_TRUE(IsIconic(S.F->Handle()));
  // The window itself carries the main form's minimised state: the
  // component's reads the state before the request.
  EXPECT_EQ(S.FS->WindowState(), wsNormal);
  S.F->Passed.clear();
  SendMessageW(S.F->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_TRUE(S.F->WasPassed(WM_SYSCOMMAND));
  EXPECT_FALSE(IsIconic(S.F->Handle()));
  EXPECT_EQ(Restored, 1);
  EXPECT_EQ(S.F->BoundsRect(), Before);
  Application->SetMainForm(SavedMain);
  EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------
// The skin walk and mended faults

namespace {

std::vector<String> WalkLog;

class TLogPanel : public TspSkinPanel {
 public:
  using TspSkinPanel::TspSkinPanel;
  void BeforeChangeSkinData() override {
    WalkLog.push_back(u"before " + Name());
    TspSkinPanel::BeforeChangeSkinData();
  }
  void ChangeSkinData() override {
    WalkLog.push_back(u"change " + Name());
    TspSkinPanel::ChangeSkinData();
  }
};

class TLogPages : public TspSkinPageControl {
 public:
  using TspSkinPageControl::TspSkinPageControl;
  void ChangeSkinData() override {
    WalkLog.push_back(u"change " + Name());
    TspSkinPageControl::ChangeSkinData();
  }
};

class TLogTabs : public TspSkinTabControl {
 public:
  using TspSkinTabControl::TspSkinTabControl;
  void ChangeSkinData() override {
    WalkLog.push_back(u"change " + Name());
    TspSkinTabControl::ChangeSkinData();
  }
};

class TLogTree : public TspSkinCustomTreeView {
 public:
  using TspSkinCustomTreeView::TspSkinCustomTreeView;
  void ChangeSkinData() override {
    WalkLog.push_back(u"change " + Name());
    TspSkinCustomTreeView::ChangeSkinData();
  }
};

}  // namespace

TEST_F(FormTest, SkinWalkReachesTheTabControlsAndTheTree) {
  TTempFolder Dir("formskin"), Dir2("formskin2");
  auto SD = LoadFixtureSkin(Dir), Other = LoadFixtureSkin(Dir2);
  TShown S(SD.get());
  auto* Pages = new TLogPages(S.F);
  Pages->SetName(u"pages");
  Pages->SetParent(S.F);
  auto* Sheet = new TspSkinTabSheet(S.F);
  Sheet->SetPageControl(Pages);
  auto* OnSheet = new TLogPanel(S.F);
  OnSheet->SetName(u"onsheet");
  OnSheet->SetParent(Sheet);
  auto* Tabs = new TLogTabs(S.F);
  Tabs->SetName(u"tabs");
  Tabs->SetParent(S.F);
  auto* Tree = new TLogTree(S.F);
  Tree->SetName(u"tree");
  Tree->SetParent(S.F);
  auto* Foreign = new TLogTree(S.F);
  Foreign->SetName(u"foreign");
  Foreign->SetParent(S.F);
  Pages->SetSkinData(SD.get());
  OnSheet->SetSkinData(SD.get());
  Tabs->SetSkinData(SD.get());
  Tree->SetSkinData(SD.get());
  Foreign->SetSkinData(Other.get());
  WalkLog.clear();
  S.FS->NotifyChangeSkin(SD.get(), S.F);
  EXPECT_EQ(WalkLog, (std::vector<String>{u"change pages", u"change onsheet", u"change tabs", u"change tree"}));
}

TEST_F(FormTest, SkinWalkOrder) {
  TTempFolder Dir("formskin"), Dir2("formskin2");
  auto SD = LoadFixtureSkin(Dir), Other = LoadFixtureSkin(Dir2);
  TShown S(SD.get());
  auto* Outer = new TLogPanel(S.F);
  Outer->SetName(u"outer");
  Outer->SetParent(S.F);
  Outer->SetSkinData(SD.get());
  auto* Inner = new TLogPanel(S.F);
  Inner->SetName(u"inner");
  Inner->SetParent(Outer);
  Inner->SetSkinData(SD.get());
  auto* Foreign = new TLogPanel(S.F);
  Foreign->SetName(u"foreign");
  Foreign->SetParent(S.F);
  Foreign->SetSkinData(Other.get());
  auto* Plain = new TLabel(S.F);
  Plain->SetParent(Outer);
  WalkLog.clear();
  S.FS->NotifyBeforeChangeSkin(SD.get(), S.F);
  S.FS->NotifyChangeSkin(SD.get(), S.F);
  EXPECT_EQ(WalkLog, (std::vector<String>{u"before outer", u"before inner", u"change outer", u"change inner"}));
  WalkLog.clear();
  S.FS->NotifyChangeSkin(nullptr, S.F);
  EXPECT_EQ(WalkLog, (std::vector<String>{u"change outer", u"change inner", u"change foreign"}));
  // A skinned page control (no skinned-control base) is told by its own row:
  // it reads its description again (the fixture has none: the index resets).
  auto* Pages = new TspSkinPageControl(S.F);
  Pages->SetParent(Outer);
  Pages->SetSkinData(SD.get());
  Pages->FIndex = 99;
  S.FS->NotifyChangeSkin(Other.get(), S.F);
  EXPECT_EQ(Pages->FIndex, 99);
  S.FS->NotifyChangeSkin(SD.get(), S.F);
  EXPECT_EQ(Pages->FIndex, -1);
}

namespace {

class TLogEdit : public TspSkinEdit {
 public:
  explicit TLogEdit(TComponent* AOwner) : TspSkinEdit(AOwner) {}
  void ChangeSkinData() override {
    WalkLog.push_back(u"change " + Name());
    TspSkinEdit::ChangeSkinData();
  }
};

}  // namespace

TEST_F(FormTest, SkinWalkReachesTheEdits) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  auto* Panel = new TspSkinPanel(S.F);
  Panel->SetParent(S.F);
  auto* E = new TLogEdit(S.F);
  E->SetName(u"edit");
  E->SetParent(Panel);
  E->SetSkinData(SD.get());
  auto* Spin = new TspSkinSpinEdit(S.F);
  Spin->SetParent(Panel);
  Spin->SetSkinData(SD.get());
  WalkLog.clear();
  S.FS->NotifyChangeSkin(SD.get(), S.F);
  EXPECT_EQ(WalkLog, (std::vector<String>{u"change edit"}));
  // The fixture skin has no edit description: the default look's height.
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, E->Font()->Handle());
  TEXTMETRICW TM{};
  GetTextMetricsW(DC, &TM);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  EXPECT_EQ(E->Height(), TM.tmHeight + 6);
  EXPECT_FALSE(E->Skinned());
}

namespace {

template <class T>
class TLogged : public T {
 public:
  using T::T;
  void ChangeSkinData() override {
    WalkLog.push_back(u"change " + this->Name());
    T::ChangeSkinData();
  }
};

}  // namespace

// The scheme the program ships reaches the scroll box, the lists, the combo
// boxes and the font boxes through the form's walk: each control takes its
// description (a combo its skin height, the list its item height).
TEST_F(FormTest, SkinWalkReachesTheBoxes) {
  auto SD = std::make_unique<TspSkinData>(nullptr);
  TShown S(nullptr);
  auto* Box = new TLogged<TspSkinScrollBox>(S.F);
  Box->SetName(u"scrollbox");
  Box->SetBounds(0, 0, 180, 150);
  Box->SetParent(S.F);
  auto* List = new TLogged<TspSkinListBox>(S.F);
  List->SetName(u"list");
  List->SetBounds(0, 0, 100, 60);
  List->SetParent(Box);
  List->Items()->Add(u"one");
  auto* Combo = new TLogged<TspSkinComboBox>(S.F);
  Combo->SetName(u"combo");
  Combo->SetBounds(0, 70, 100, 31);
  Combo->SetParent(Box);
  auto* Fonts = new TLogged<TspSkinFontComboBox>(S.F);
  Fonts->SetName(u"fonts");
  Fonts->SetBounds(0, 105, 100, 31);
  Fonts->SetParent(Box);
  auto* Sizes = new TLogged<TspSkinFontSizeComboBox>(S.F);
  Sizes->SetName(u"sizes");
  Sizes->SetBounds(110, 105, 60, 31);
  Sizes->SetParent(Box);
  // The controls hold the skin while it is still empty (no change yet).
  WalkLog.clear();
  for (TspSkinControl* C : std::initializer_list<TspSkinControl*>{Box, List, Combo, Fonts, Sizes})
    C->SetSkinData(SD.get());
  Pump();
  EXPECT_TRUE(WalkLog.empty());
  TspCompressedStoredSkin Stored(nullptr, GetModuleHandleW(nullptr), u"SkinDawn");
  SD->LoadCompressedStoredSkin(&Stored);
  ASSERT_FALSE(SD->Empty);
  WalkLog.clear();
  S.FS->NotifyChangeSkin(SD.get(), S.F);
  EXPECT_EQ(WalkLog, (std::vector<String>{u"change scrollbox", u"change list", u"change combo", u"change fonts",
                                          u"change sizes"}));
  for (TspSkinControl* C : std::initializer_list<TspSkinControl*>{Box, List, Combo, Fonts, Sizes}) {
    SCOPED_TRACE(ToUtf8(C->Name()));
    EXPECT_TRUE(C->Skinned());
  }
  EXPECT_EQ(Combo->Height(), Combo->SkinRect.Height());
  EXPECT_EQ(Fonts->Height(), Fonts->SkinRect.Height());
  EXPECT_NE(Combo->Height(), 31);
}

TEST_F(FormTest, FreedSkinClearsBothReferences) {
  TTempFolder Dir("formskin");
  auto* SD = LoadFixtureSkin(Dir).release();
  TShown S(nullptr, bsSizeable, false);
  S.FS->SetSkinData(SD);
  S.FS->SetMenusSkinData(SD);
  delete SD;
  EXPECT_EQ(S.FS->SkinData(), nullptr);
  EXPECT_EQ(S.FS->MenusSkinData(), nullptr);
}

TEST_F(FormTest, FailedCaptionCommandIsReported) {
  TShown S(nullptr);
  const HWND W = S.F->Handle();
  S.F->OnCloseQuery = [](TObject*, bool&) { throw Exception(u"close failed"); };
  SendMessageW(W, WM_NCPAINT, 0, 0);
  // The default close button sits at the right end of the caption.
  RECT R;
  GetWindowRect(W, &R);
  const LPARAM At = MAKELPARAM(R.left + 200 - 10, R.top + 10);
  S.FS->UpdateActiveObject(190, 10, true);
  ASSERT_NE(S.FS->ActiveObject, -1);
  SendMessageW(W, WM_NCLBUTTONDOWN, spHTOBJECT, At);
  EXPECT_EQ(GetCapture(), W);
  SendMessageW(W, WM_NCLBUTTONUP, spHTOBJECT, At);
  EXPECT_EQ(S.FS->MouseCaptureObject, -1);
  EXPECT_NE(GetCapture(), W);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], u"close failed");
  S.F->OnCloseQuery = nullptr;
}

TEST_F(FormTest, HostileSkinsApply) {
  TTempFolder Dir("formskin");
  struct Case {
    const char* Name;
    TSkinOptions O;
  };
  std::vector<Case> Cases(6);
  Cases[0].Name = "empty client rect";
  Cases[0].O.FormInfo = {u"clientrect=0,0,0,0"};
  Cases[1].Name = "background index out of range";
  Cases[1].O.FormInfo = {u"bgpictureindex=7"};
  Cases[2].Name = "no objects, no inactive picture, no mask";
  Cases[2].O.Objects = false;
  Cases[2].O.InactivePicture = false;
  Cases[2].O.Mask = false;
  Cases[3].Name = "zero-size background";
  Cases[3].O.FormInfo = {u"bgpictureindex=0"};
  Cases[3].O.ActiveSizes = {{0, 0}};
  Cases[4].Name = "objects of unknown kinds";
  Cases[4].O.ExtraObjects = {{u"odd", u"nosuchkind", {u"skinrect=2,2,8,8"}}, {u"odd2", u"", {}}};
  Cases[5].Name = "mask without black pixels";
  for (const Case& C : Cases) {
    auto SD = LoadFixtureSkin(Dir, C.O);
    const bool WhiteMask = std::string(C.Name) == "mask without black pixels";
    if (WhiteMask) {
      SD->FMask->Canvas()->Brush()->SetColor(clWhite);
      SD->FMask->Canvas()->FillRect(TRect(0, 0, SD->FMask->Width(), SD->FMask->Height()));
    }
    TShown S(SD.get());
    // The strips add nothing; the inner rectangle stays the window's shape.
    if (WhiteMask) {
      const TRect A = S.FS->Frame().NewMaskRectArea;
      EXPECT_FALSE(RectIsEmpty(A));
      EXPECT_TRUE(RegionEquals(S.F->Handle(), CreateRectRgn(A.Left, A.Top, A.Right, A.Bottom)));
    }
    SendMessageW(S.F->Handle(), WM_NCPAINT, 0, 0);
    RedrawWindow(S.F->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_TRUE(Errors.empty()) << C.Name;
  }
}

TEST_F(FormTest, WineFacts) {
  BOOL Full = TRUE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0);
  EXPECT_FALSE(Full);
  EXPECT_FALSE(IsDwmCompositionOn());
  EXPECT_TRUE(IsWindows7() && IsVistaOrLater() && IsXPOrLater() && IsWin2000OrLater());
}

// ---------------------------------------------------------------------------
// Moving and sizing with real X input: the test display has no window
// manager, so Wine runs its own move and size loop.

namespace {

std::string Str(Integer V) { return std::to_string(V); }

}  // namespace

TEST_F(FormTest, MoveAndSizeWithRealInput) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  TShown S(SD.get());
  const HWND W = S.F->Handle();
  PumpUntil([&] { return S.F->Active(); }, 2000);
  PumpFor(100);
  auto Bounds = [&] {
    RECT R;
    GetWindowRect(W, &R);
    return TRect(R.left, R.top, R.right, R.bottom);
  };
  // A press at window point From, two moves to From + (DX, DY), a release; the
  // whole drag is queued before the form reads it, as a user's would be.
  auto Drag = [&](TPoint From, Integer DX, Integer DY) {
    S.F->Passed.clear();
    const TRect B = Bounds();
    const Integer X = B.Left + From.X, Y = B.Top + From.Y;
    const bool Ok = lumigra_test::Xdo({"mousemove", Str(X), Str(Y), "sleep", "0.1", "mousedown", "1", "sleep", "0.1",
                                       "mousemove", Str(X + DX / 2), Str(Y + DY / 2), "sleep", "0.1", "mousemove",
                                       Str(X + DX), Str(Y + DY), "sleep", "0.1", "mouseup", "1"});
    PumpFor(400);
    return Ok;
  };
  auto FrameFits = [&] {
    const TRect B = Bounds();
    // The fixture's client part keeps 4 pixels right and bottom, 4 left and 20 on top.
    return S.FS->FR.NewClRect == TRect(4, 20, B.Width() - 4, B.Height() - 4) && S.FS->FFormWidth == B.Width() &&
           S.FS->FFormHeight == B.Height();
  };
  // Move by the caption.
  TRect Before = Bounds();
  ASSERT_EQ(NCHit(W, 20, 10), HTCAPTION);
  ASSERT_TRUE(Drag(TPoint(20, 10), 30, 20)) << "xdotool";
  EXPECT_EQ(Bounds(), TRect(Before.Left + 30, Before.Top + 20, Before.Right + 30, Before.Bottom + 20));
  EXPECT_TRUE(S.F->WasPassed(WM_ENTERSIZEMOVE));
  EXPECT_TRUE(S.F->WasPassed(WM_EXITSIZEMOVE));
  EXPECT_FALSE(S.FS->FSizeMove);
  // Size by each edge and corner: the frame is laid out for every new size.
  const struct {
    const char* Name;
    TPoint P;
    LRESULT Hit;
    Integer DX, DY;
    Integer DL, DT, DR, DB;  // expected change of each side
  } Rows[] = {
      {"right", TPoint(198, 75), HTRIGHT, 20, 0, 0, 0, 20, 0},
      {"bottom", TPoint(110, 148), HTBOTTOM, 0, 20, 0, 0, 0, 20},
      {"left", TPoint(1, 75), HTLEFT, -20, 0, -20, 0, 0, 0},
      {"bottom-right", TPoint(-2, -2), HTBOTTOMRIGHT, 10, 10, 0, 0, 10, 10},
      {"top-left", TPoint(2, 2), HTTOPLEFT, -10, -10, -10, -10, 0, 0},
  };
  for (const auto& R : Rows) {
    Before = Bounds();
    // Negative coordinates count from the right and bottom.
    const TPoint P(R.P.X < 0 ? Before.Width() + R.P.X : R.P.X, R.P.Y < 0 ? Before.Height() + R.P.Y : R.P.Y);
    ASSERT_EQ(NCHit(W, P.X, P.Y), R.Hit) << R.Name;
    ASSERT_TRUE(Drag(P, R.DX, R.DY)) << "xdotool";
    EXPECT_EQ(Bounds(), TRect(Before.Left + R.DL, Before.Top + R.DT, Before.Right + R.DR, Before.Bottom + R.DB))
        << R.Name;
    EXPECT_TRUE(FrameFits()) << R.Name;
    EXPECT_TRUE(S.F->WasPassed(WM_EXITSIZEMOVE)) << R.Name;
  }
  // Far inwards: the minimum size holds.
  Before = Bounds();
  ASSERT_TRUE(Drag(TPoint(Before.Width() - 2, Before.Height() - 2), -250, -250)) << "xdotool";
  EXPECT_EQ(Bounds().Width(), S.FS->GetMinWidth());
  EXPECT_EQ(Bounds().Height(), S.FS->GetMinHeight());
  EXPECT_TRUE(FrameFits());
  SaveForReview(W, "fixture", "after-real-resize");
  // A maximised form stays where it is.
  S.F->SetBounds(100, 100, 200, 150);
  S.FS->SetWindowState(wsMaximized);
  PumpFor(100);
  Before = Bounds();
  Drag(TPoint(20, 10), 40, 40);
  EXPECT_EQ(Bounds(), Before);
  S.FS->SetWindowState(wsNormal);
  PumpFor(100);
  // Hover tracking runs again after the loops: over a part of the frame that
  // answers "frame object" the hover poll starts again.
  const TRect B = Bounds();
  TPoint Probe(-1, -1);
  for (Integer Y = 0; Y < B.Height() && Probe.X < 0; ++Y)
    for (Integer X = 0; X < B.Width() && Probe.X < 0; ++X)
      if (NCHit(W, X, Y) == spHTOBJECT) Probe = TPoint(X, Y);
  ASSERT_GE(Probe.X, 0);
  S.FS->MouseTimer->SetEnabled(false);
  ASSERT_TRUE(lumigra_test::Xdo({"mousemove", Str(B.Left + Probe.X + 1), Str(B.Top + Probe.Y), "sleep", "0.05",
                                 "mousemove", Str(B.Left + Probe.X), Str(B.Top + Probe.Y)}));
  EXPECT_TRUE(PumpUntil([&] { return S.FS->MouseTimer->Enabled(); }, 2000));
  EXPECT_FALSE(S.FS->FSizeMove);
  EXPECT_TRUE(Errors.empty());
}
