// The track edit in a real window: its integer value and text, the keys and
// the wheel, the pop-up opened and closed by the edit button with real
// input, placed against a work area, never taking the activation or the
// focus, and closed by a press elsewhere.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include <map>

#include "skin/boxes/SkinBoxCtrls.h"

using namespace ctl;
using boxtest::Type;

namespace {

void RealClick(const TPoint& Screen) {
  SetCursorPos(Screen.X, Screen.Y);
  Pump();
  INPUT In[2]{};
  In[0].type = In[1].type = INPUT_MOUSE;
  In[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  In[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, In, sizeof(INPUT));
  Pump();
  Pump();
}

// The centre of the edit button on the screen.
TPoint ButtonCentre(TspSkinTrackEdit* E) {
  E->CalcRects();
  RECT W{};
  GetWindowRect(E->Handle(), &W);
  const TRect& B = E->ButtonRectNow();
  return TPoint(W.left + (B.Left + B.Right) / 2, W.top + (B.Top + B.Bottom) / 2);
}

class TrackEditWin : public SkinCtlTest {
 protected:
  TspSkinTrackEdit* Make(Integer Min = 0, Integer Max = 255) {
    auto* E = new TspSkinTrackEdit(Host);
    E->SetParent(Host);
    E->SetBounds(20, 20, 120, 20);
    E->SetMinValue(Min);
    E->SetMaxValue(Max);
    E->OnChange = [this](TObject*) { ++Changes; };
    E->HandleNeeded();
    Pump();
    return E;
  }
  int Changes = 0;
};

TEST_F(TrackEditWin, ValueTextKeysAndWheel) {
  auto* E = Make(0, 255);
  EXPECT_EQ(E->Text(), u"0");
  EXPECT_TRUE(E->ButtonMode());
  EXPECT_EQ(E->SkinDataName(), u"buttonedit");
  E->SetValue(300);
  EXPECT_EQ(E->Value(), 255);
  EXPECT_EQ(E->Text(), u"255");
  E->SetFocus();
  Pump();
  EXPECT_EQ(E->MaxLength(), 3);
  SendKey(E->Handle(), WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(E->Value(), 254);
  // A forward turn subtracts, a backward one adds.
  SendMessageW(E->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(E->Value(), 253);
  SendMessageW(E->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(E->Value(), 254);
  E->SetText(u"");
  Type(E, u"999");
  EXPECT_EQ(E->Text(), u"255");
  auto* F = Make(-100, 100);
  F->SetFocus();
  Pump();
  EXPECT_EQ(F->MaxLength(), 4);
}

TEST_F(TrackEditWin, DigitsBeyondThirtyTwoBitsWithoutARange) {
  auto* E = Make(0, 0);
  E->SetValue(5);
  E->SetFocus();
  Pump();
  E->SetText(u"");
  Type(E, u"12345678901");
  EXPECT_EQ(E->Text(), u"12345678901");
  EXPECT_EQ(E->Value(), 1234567890);
  auto* Other = Make();
  Other->SetFocus();
  Pump();
  EXPECT_EQ(E->Text(), u"1234567890");
  EXPECT_TRUE(Errors.empty());
}

TEST_F(TrackEditWin, ButtonOpensAndClosesThePopupWithoutTakingTheActivation) {
  auto* E = Make(0, 100);
  E->SetValue(40);
  E->SetJumpWhenClick(true);
  E->SetFocus();
  Pump();
  TForm* Form = SharedForm();
  RealClick(ButtonCentre(E));
  ASSERT_TRUE(E->PopupShown());
  TspSkinPopupTrackBar* P = E->PopupTrackBar();
  EXPECT_TRUE(IsWindowVisible(P->Handle()));
  EXPECT_EQ(GetWindowLongW(P->Handle(), GWL_STYLE) & WS_CHILD, 0);
  EXPECT_TRUE(GetWindowLongW(P->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(P->Handle(), GW_OWNER), Form->Handle());
  EXPECT_EQ(P->Value(), 40);
  RECT PR{};
  GetWindowRect(P->Handle(), &PR);
  const TPoint EdgeBelow = Host->ClientToScreen(TPoint(E->Left(), E->Top() + E->Height()));
  EXPECT_EQ(PR.left, EdgeBelow.X);
  EXPECT_EQ(PR.top, EdgeBelow.Y);
  EXPECT_EQ(PR.right - PR.left, E->Width());
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_EQ(GetFocus(), E->Handle());
  // A click into the track jumps the thumb there; the focus stays.
  RealClick(TPoint(PR.left + (PR.right - PR.left) * 3 / 4, (PR.top + PR.bottom) / 2));
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_EQ(GetFocus(), E->Handle());
  EXPECT_TRUE(E->PopupShown());
  EXPECT_GT(E->Value(), 40);
  EXPECT_EQ(E->Text(), IntToStr(E->Value()));
  // Up and Down act on the pop-up's value while it shows.
  const Integer V = E->Value();
  SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
  EXPECT_EQ(P->Value(), V + 1);
  EXPECT_EQ(E->Value(), V + 1);
  // The button again closes it.
  RealClick(ButtonCentre(E));
  EXPECT_FALSE(E->PopupShown());
  EXPECT_FALSE(IsWindowVisible(P->Handle()));
  RealClick(ButtonCentre(E));
  EXPECT_TRUE(E->PopupShown());
  // A press on another control closes it.
  auto* Other = Make();
  Other->SetLeft(20);
  Other->SetTop(150);
  Pump();
  RealClick(Other->ClientToScreen(TPoint(10, 5)));
  EXPECT_FALSE(E->PopupShown());
}

TEST_F(TrackEditWin, PopupPlacedAgainstTheWorkArea) {
  auto* E = Make(0, 100);
  const TPoint Origin = Host->ClientToScreen(TPoint(E->Left(), E->Top()));
  struct Row {
    const char* Name;
    TRect Work;
    TspTrackBarPopupKind Kind;
    Integer Width;
    TPoint Expected;
  };
  const Integer H = E->Height();
  const Row Rows[] = {
      {"below", TRect(0, 0, 2000, 2000), tbpRight, 0, TPoint(Origin.X, Origin.Y + H)},
      {"above when the bottom is near", TRect(0, 0, 2000, Origin.Y + H + 5), tbpRight, 0,
       TPoint(Origin.X, Origin.Y - H)},
      {"right edge of the work area", TRect(0, 0, Origin.X + 100, 2000), tbpRight, 0,
       TPoint(Origin.X + 100 - 120, Origin.Y + H)},
      {"wider pop-up ending at the edit's right edge", TRect(-1000, 0, 2000, 2000), tbpLeft, 200,
       TPoint(Origin.X + 120 - 200, Origin.Y + H)},
      {"left edge of the work area", TRect(Origin.X + 10, 0, 2000, 2000), tbpRight, 0,
       TPoint(Origin.X + 10, Origin.Y + H)},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    E->WorkArea = [&](HWND) { return R.Work; };
    E->SetPopupKind(R.Kind);
    E->SetTrackBarWidth(R.Width);
    E->ButtonClick(E);
    ASSERT_TRUE(E->PopupShown());
    RECT PR{};
    GetWindowRect(E->PopupTrackBar()->Handle(), &PR);
    EXPECT_EQ(PR.left, R.Expected.X);
    EXPECT_EQ(PR.top, R.Expected.Y);
    E->ButtonClick(E);
    EXPECT_FALSE(E->PopupShown());
  }
}

}  // namespace

namespace {

Cardinal FakeNow = 0;
int FakeReads = 0;
// A clock 6 ms further on at every reading.
Cardinal FakeTicks() {
  ++FakeReads;
  return FakeNow += 6;
}

TEST_F(TrackEditWin, PopupFadesInOnTheTickSource) {
  auto* E = Make(0, 100);
  E->SetTrackBarAlphaBlend(true);
  E->SetTrackBarAlphaBlendAnimation(true);
  E->SetTrackBarAlphaBlendValue(200);
  FakeReads = 0;
  SetSkinTickSource(&FakeTicks);
  E->ButtonClick(E);
  SetSkinTickSource(nullptr);
  ASSERT_TRUE(E->PopupShown());
  const HWND P = E->PopupTrackBar()->Handle();
  EXPECT_TRUE(GetWindowLongW(P, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE Alpha = 0;
  DWORD Flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(P, nullptr, &Alpha, &Flags));
  EXPECT_EQ(Alpha, 200);
  // 200 in steps of 200 div 15 = 13: 16 steps, one per reading after the first.
  EXPECT_EQ(FakeReads, 1 + 16);
  E->ButtonClick(E);
  EXPECT_FALSE(GetWindowLongW(P, GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace

namespace {

// Pixels of an arrow's ink inside the edit button of a window picture:
// clearly darker than the button's face (its most frequent colour), which
// also finds the disabled arrow's dimmed ink.
Integer ButtonInk(TBitmap* B, const TRect& R) {
  auto Sum = [](TColor P) { return Integer(P & 0xFF) + Integer((P >> 8) & 0xFF) + Integer((P >> 16) & 0xFF); };
  std::map<TColor, Integer> Count;
  for (Integer Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
    for (Integer X = R.Left + 1; X < R.Right - 1; ++X) ++Count[Px(B, X, Y)];
  TColor Face = 0;
  Integer Most = 0;
  for (const auto& [C, N] : Count)
    if (N > Most) Most = N, Face = C;
  Integer Ink = 0;
  for (const auto& [C, N] : Count)
    if (Sum(C) < Sum(Face) - 90) Ink += N;
  return Ink;
}

// The made schemes draw an arrow on the edit button at rest, under the
// mouse, pressed and disabled: the button says what it opens.
TEST_F(TrackEditWin, ButtonShowsItsArrowInEveryStateOfTheMadeSchemes) {
  for (const String& Name : MadeSchemeNames()) {
    SCOPED_TRACE(ToUtf8(Name));
    auto SD = MadeScheme(Name);
    ASSERT_FALSE(SD->Empty);
    SetCursorPos(0, 0);
    // The skin's own button places: the edit at the skin's height, as the
    // colour dialog places its track edits.
    auto* E = Make(0, 255);
    E->SetSkinData(SD.get());
    E->SetValue(42);
    Pump();
    ASSERT_TRUE(E->Skinned());
    E->CalcRects();
    const TRect R = E->ButtonRectNow();
    auto Rest = boxtest::WindowPixels(E);
    EXPECT_GE(ButtonInk(Rest.get(), R), 4) << "at rest";
    SaveScreen(Name, u"trackedit", u"button-rest", Rest.get());
    SendMessageW(E->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
    auto Hot = boxtest::WindowPixels(E);
    EXPECT_GE(ButtonInk(Hot.get(), R), 4) << "hot";
    SendMessageW(E->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
    auto Down = boxtest::WindowPixels(E);
    EXPECT_GE(ButtonInk(Down.get(), R), 4) << "pressed";
    SendMessageW(E->Handle(), WM_NCLBUTTONUP, HTHSCROLL, 0);
    if (E->PopupShown()) E->ButtonClick(E);
    SendMessageW(E->Handle(), WM_NCMOUSEMOVE, HTCLIENT, 0);
    E->SetEnabled(false);
    auto Off = boxtest::WindowPixels(E);
    EXPECT_GE(ButtonInk(Off.get(), R), 4) << "disabled";
    SaveScreen(Name, u"trackedit", u"button-disabled", Off.get());
    delete E;
  }
}

}  // namespace
