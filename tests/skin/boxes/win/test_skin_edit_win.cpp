// The skinned edit and the numeric edit in a real window: the default look
// (frame, background, fitted height, the edit button), a text typed past the
// right edge, the button's press and release sequences, a press on the frame,
// the mouse entering and leaving, the disabled text; the numeric edit's
// values, its rewriting of typed numbers and its events.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "common/Screens.h"
#include "skin/boxes/SkinBoxCtrls.h"

using namespace ctl;
using boxtest::Type;
using boxtest::WindowPixels;

namespace {

void Save(const char* Name, TBitmap* B) { SaveScreen(u"default", u"edit", String(Name, Name + strlen(Name)), B); }

Integer FontHeightOf(TFont* F) { return FontCellHeight(F); }

// The hit code of a window point (window coordinates).
LRESULT HitAt(TWinControl* W, Integer X, Integer Y) {
  RECT R{};
  GetWindowRect(W->Handle(), &R);
  SetCursorPos(R.left + X, R.top + Y);
  return SendMessageW(W->Handle(), WM_NCHITTEST, 0, MAKELPARAM(R.left + X, R.top + Y));
}

class SkinEditWin : public SkinCtlTest {
 protected:
  template <class T>
  T* Make(Integer W = 120) {
    auto* E = new T(Host);
    E->SetParent(Host);
    E->SetBounds(20, 20, W, 40);
    E->HandleNeeded();
    E->OnChange = [this](TObject*) { ++Changes; };
    Pump();
    return E;
  }
  int Changes = 0;
};

TEST_F(SkinEditWin, DefaultLookFrameBackgroundAndFittedHeight) {
  auto* E = Make<TspSkinEdit>();
  const Integer FH = FontHeightOf(E->Font());
  EXPECT_EQ(E->Height(), FH + 6);  // 40 asked, the font decides
  E->SetHeight(60);
  EXPECT_EQ(E->Height(), FH + 6);
  RECT C{};
  GetClientRect(E->Handle(), &C);
  EXPECT_EQ(C.right, E->Width() - 4);
  EXPECT_EQ(C.bottom, E->Height() - 4);
  E->SetDefaultColor(clYellow);
  auto B = WindowPixels(E);
  Save("normal", B.get());
  const Integer W = E->Width(), H = E->Height();
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(B.get(), W - 1, H - 1), Sys(clBtnShadow));
  EXPECT_EQ(Px(B.get(), 1, 1), Sys(clBtnFace));
  EXPECT_EQ(Px(B.get(), W - 2, H / 2), Sys(clBtnFace));
  EXPECT_EQ(Px(B.get(), W - 3, H - 3), clYellow);
  EXPECT_EQ(Px(B.get(), 2, 2), clYellow);
}

TEST_F(SkinEditWin, ButtonModeLayoutAndStates) {
  auto* E = Make<TspSkinEdit>();
  E->SetButtonMode(true);
  Pump();
  const Integer W = E->Width(), H = E->Height();
  RECT C{};
  GetClientRect(E->Handle(), &C);
  EXPECT_EQ(C.right, W - 2 - (H + 2));
  E->CalcRects();
  EXPECT_EQ(E->ButtonRectNow(), TRect(W - H, 0, W, H));
  EXPECT_EQ(E->EditRect(), TRect(2, 2, W - H - 2, H - 2));
  EXPECT_EQ(HitAt(E, W - H / 2, H / 2), HTHSCROLL);
  EXPECT_EQ(HitAt(E, 1, H / 2), HTVSCROLL);
  EXPECT_EQ(HitAt(E, 10, H / 2), HTCLIENT);
  auto Normal = WindowPixels(E);
  Save("button-normal", Normal.get());
  EXPECT_EQ(Px(Normal.get(), W - H, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Normal.get(), W - H + 2, 2), Sys(clBtnFace));
  SendMessageW(E->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
  EXPECT_TRUE(E->ButtonActive());
  auto Hot = WindowPixels(E);
  Save("button-hot", Hot.get());
  EXPECT_EQ(Px(Hot.get(), W - H, 0), TColor(0x800000));
  EXPECT_EQ(Px(Hot.get(), W - H + 2, 2), TColor(0xD2BDB6));
  SendMessageW(E->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
  auto Down = WindowPixels(E);
  Save("button-pressed", Down.get());
  EXPECT_EQ(Px(Down.get(), W - H + 2, 2), TColor(0xB59385));
}

TEST_F(SkinEditWin, ButtonClickOnlyForAPressOnTheButton) {
  auto* E = Make<TspSkinEdit>();
  E->SetButtonMode(true);
  int Clicks = 0;
  E->OnButtonClick = [&](TObject*) { ++Clicks; };
  struct Row {
    const char* Name;
    WPARAM Down, Up;
    int Clicks;
  };
  const Row Rows[] = {
      {"press and release on the button", HTHSCROLL, HTHSCROLL, 1},
      {"press on the frame, release on the button", HTVSCROLL, HTHSCROLL, 0},
      {"press on the button, release on the frame", HTHSCROLL, HTVSCROLL, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    Clicks = 0;
    SendMessageW(E->Handle(), WM_NCLBUTTONDOWN, R.Down, 0);
    SendMessageW(E->Handle(), WM_NCLBUTTONUP, R.Up, 0);
    EXPECT_EQ(Clicks, R.Clicks);
    // A release elsewhere leaves the button pressed until the mouse leaves.
    SendMessageW(E->Handle(), WM_NCLBUTTONUP, HTHSCROLL, 0);
    Clicks = 0;
  }
  EXPECT_EQ(E->Focused(), true);
}

// Messages sent to one window while a hook is installed.
struct TSentLog {
  static inline HWND Watched = nullptr;
  static inline std::vector<UINT> Sent;
  static LRESULT CALLBACK Proc(int Code, WPARAM W, LPARAM L) {
    const auto* S = reinterpret_cast<const CWPSTRUCT*>(L);
    if (Code == HC_ACTION && S->hwnd == Watched) Sent.push_back(S->message);
    return CallNextHookEx(nullptr, Code, W, L);
  }
  int Count(UINT Msg) const { return static_cast<int>(std::count(Sent.begin(), Sent.end(), Msg)); }
};

TEST_F(SkinEditWin, FramePressStartsNoScrollTracking) {
  auto* E = Make<TspSkinEdit>();
  E->SetButtonMode(true);
  E->SetText(u"one line");
  const Integer H = E->Height();
  TSentLog Log;
  TSentLog::Watched = E->Handle();
  TSentLog::Sent.clear();
  HHOOK Hook = SetWindowsHookExW(WH_CALLWNDPROC, &TSentLog::Proc, nullptr, GetCurrentThreadId());
  // Real input: a press and release on the frame's left edge.
  const TPoint P = E->ClientToScreen(TPoint(-1, H / 2 - 2));
  SetCursorPos(P.X, P.Y);
  INPUT In[2]{};
  In[0].type = In[1].type = INPUT_MOUSE;
  In[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  In[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, In, sizeof(INPUT));
  Pump();
  // Sent directly, and as a double click.
  SendMessageW(E->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(P.X, P.Y));
  SendMessageW(E->Handle(), WM_NCLBUTTONDBLCLK, HTVSCROLL, MAKELPARAM(P.X, P.Y));
  UnhookWindowsHookEx(Hook);
  EXPECT_EQ(Log.Count(WM_NCLBUTTONDOWN), 1);  // the sent one (the hook sees no posted input)
  // No scroll command, no tracking loop, no scroll steps.
  EXPECT_EQ(Log.Count(WM_SYSCOMMAND), 0);
  EXPECT_EQ(Log.Count(WM_VSCROLL), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SendMessageW(E->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(E->Text(), u"one line");
}

TEST_F(SkinEditWin, MouseEnterAndLeavePairUp) {
  auto* E = Make<TspSkinEdit>();
  int Enters = 0, Leaves = 0;
  E->OnMouseEnter = [&](TObject*) { ++Enters; };
  E->OnMouseLeave = [&](TObject*) { ++Leaves; };
  for (int Round = 1; Round <= 2; ++Round) {
    SCOPED_TRACE(Round);
    HitAt(E, 10, 5);
    HitAt(E, 12, 5);
    EXPECT_EQ(Enters, Round);
    EXPECT_TRUE(E->MouseIn());
    // The poll runs although a plain edit has no hover look (killing it
    // answers that; the ticks are sent below).
    EXPECT_TRUE(KillTimer(E->Handle(), 1));
    // The poll while the mouse is still over the edit changes nothing.
    SendMessageW(E->Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(Leaves, Round - 1);
    const TPoint Away = Host->ClientToScreen(TPoint(300, 250));
    SetCursorPos(Away.X, Away.Y);
    SendMessageW(E->Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(Leaves, Round);
    EXPECT_FALSE(E->MouseIn());
  }
}

TEST_F(SkinEditWin, TypedPastTheRightEdgeKeepsTheTextAreaPainted) {
  auto* E = Make<TspSkinEdit>(60);
  E->SetDefaultColor(clYellow);
  E->SetFocus();
  Pump();
  Type(E, u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  Pump();
  auto B = WindowPixels(E);
  Save("typed-past-the-edge", B.get());
  const Integer W = E->Width(), H = E->Height();
  for (Integer X = 0; X < W; ++X) {
    EXPECT_EQ(Px(B.get(), X, 0), Sys(clBtnShadow)) << X;
    EXPECT_EQ(Px(B.get(), X, H - 1), Sys(clBtnShadow)) << X;
  }
  // The bottom row of the text area is background all along (no stale strip).
  for (Integer X = 2; X < W - 2; ++X) EXPECT_EQ(Px(B.get(), X, H - 3), clYellow) << X;
}

TEST_F(SkinEditWin, DisabledTextInGrayTextByAlignment) {
  struct Row {
    const char* Name;
    TAlignment A;
    // Which thirds of the text area show gray text.
    bool Left, Middle, Right;
  };
  const Row Rows[] = {{"left", taLeftJustify, true, false, false},
                      {"right", taRightJustify, false, false, true},
                      {"centre", taCenter, false, true, false}};
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* E = Make<TspSkinEdit>(150);
    E->SetText(u"WW");
    E->SetDefaultColor(clWhite);
    E->SetAlignment(R.A);
    E->SetEnabled(false);
    Pump();
    auto B = WindowPixels(E);
    Save((std::string("disabled-") + R.Name).c_str(), B.get());
    int Gray[3] = {0, 0, 0}, Black = 0;
    const Integer W = E->Width() - 4;
    for (Integer Y = 2; Y < E->Height() - 2; ++Y)
      for (Integer X = 2; X < E->Width() - 2; ++X) {
        if (Px(B.get(), X, Y) == Sys(clGrayText)) ++Gray[std::min(2, (X - 2) * 3 / W)];
        if (Px(B.get(), X, Y) == clBlack) ++Black;
      }
    EXPECT_EQ(Gray[0] > 5, R.Left);
    EXPECT_EQ(Gray[1] > 5, R.Middle);
    EXPECT_EQ(Gray[2] > 5, R.Right);
    EXPECT_EQ(Black, 0);
    delete E;
  }
}

// ---------------------------------------------------------------------------
// The numeric edit

TEST_F(SkinEditWin, NumericValueTextAndEvents) {
  auto* E = Make<TspSkinNumericEdit>();
  EXPECT_EQ(E->Text(), u"0");
  E->SetMinValue(1);
  E->SetMaxValue(30000);
  EXPECT_EQ(E->Value(), 0);  // the bounds only store
  EXPECT_EQ(E->Text(), u"0");
  E->SetValue(5);
  EXPECT_EQ(Changes, 1);
  E->SetValue(5);
  EXPECT_EQ(Changes, 1);  // the same text: no change
  E->SetValue(99999);
  EXPECT_EQ(E->Text(), u"30000");
  EXPECT_EQ(E->Value(), 30000);
  E->SetMinValue(0);
  E->SetMaxValue(0);
  E->SetValue(2.5);
  EXPECT_EQ(E->Text(), u"2");
  EXPECT_EQ(E->Value(), 2.5);
  E->SetValue(3.5);
  EXPECT_EQ(E->Text(), u"4");
}

TEST_F(SkinEditWin, NumericTypingTable) {
  struct Row {
    const char* Name;
    double Min, Max;
    TspValueType Kind;
    const char16_t* Typed;
    const char16_t* Text;
    double Value;
  };
  const auto I = TspValueType::vtInteger, F = TspValueType::vtFloat;
  const Row Rows[] = {
      {"0 stays below a positive min", 1, 30000, I, u"0", u"0", 1},
      {"above max rewritten", 1, 30000, I, u"300000", u"30000", 30000},
      {"below a negative min rewritten", -100, 100, I, u"-500", u"-100", -100},
      {"a lone minus changes nothing", -100, 100, I, u"-", u"-", 7},
      {"eleven digits in a range clamp", 1, 30000, I, u"12345678901", u"30000", 30000},
      {"eleven digits without a range are no number", 0, 0, I, u"12345678901", u"12345678901", 1234567890},
      {"minus and point without a digit", 0, 10, F, u"-.", u"-.", 7},
      {"a float", 0, 10, F, u"2.25", u"2.25", 2.25},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* E = Make<TspSkinNumericEdit>();
    E->SetValueType(R.Kind);
    E->SetMinValue(R.Min);
    E->SetMaxValue(R.Max);
    E->SetValue(7);
    E->SetFocus();
    Pump();
    E->SetText(u"");
    Type(E, R.Typed);
    EXPECT_EQ(E->Text(), R.Text);
    EXPECT_DOUBLE_EQ(E->Value(), R.Value);
    EXPECT_TRUE(Errors.empty());
    delete E;
  }
}

TEST_F(SkinEditWin, NumericPasteAndLeavingTheField) {
  auto* E = Make<TspSkinNumericEdit>();
  E->SetMinValue(1);
  E->SetMaxValue(30000);
  E->SetValue(10);
  E->SetFocus();
  Pump();
  E->SelectAll();
  Clipboard()->SetAsText(u"12345678901");
  SendMessageW(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), u"30000");
  EXPECT_EQ(E->Value(), 30000);
  // A float field shows the value with its decimals; leaving it takes them.
  auto* G = Make<TspSkinNumericEdit>();
  G->SetValueType(TspValueType::vtFloat);
  G->SetValue(1.2345);
  EXPECT_EQ(G->Text(), u"1.23");
  G->SetFocus();
  Pump();
  Changes = 0;
  E->SetFocus();
  Pump();
  EXPECT_EQ(G->Value(), 1.23);
  EXPECT_EQ(Changes, 1);
  // A text that is no number goes back to the value when the field is left.
  G->SetFocus();
  Pump();
  G->SetText(u"-");
  E->SetFocus();
  Pump();
  EXPECT_EQ(G->Text(), u"1.23");
}

TEST_F(SkinEditWin, NumericUpDownKeys) {
  auto* E = Make<TspSkinNumericEdit>();
  E->SetMinValue(0);
  E->SetMaxValue(3);
  E->SetValue(2);
  E->SetFocus();
  Pump();
  SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
  EXPECT_EQ(E->Value(), 2);  // off by default
  E->SetSupportUpDownKeys(true);
  SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
  SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
  EXPECT_EQ(E->Value(), 3);
  SendKey(E->Handle(), WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(E->Text(), u"2");
}

}  // namespace

namespace {

// A 50 x 24 edit look on the coordinate picture: fixed parts 5 pixels left
// and 24 right, text area (4, 4, 46, 20), the hover look 30 pixels lower,
// a button (30, 2, 48, 22) in the fixed right part with its hot look at x 60.
skintest::TFixtureSkin EditSkin(const String& Name, const String& Word) {
  auto S = CoordSkin();
  S.Control(Name, Word,
            {u"pictureindex=0", u"skinrect=0,0,50,24", u"activeskinrect=0,30,50,54", u"lefttoppoint=5,0",
             u"righttoppoint=26,0", u"leftbottompoint=5,24", u"rightbottompoint=26,24", u"clientrect=4,4,46,20",
             u"buttonrect=30,2,48,22", u"activebuttonrect=60,2,78,22", u"fontcolor=255",
             u"activefontcolor=65280"});
  return S;
}

TEST_F(SkinEditWin, SkinnedLookFromTheDescription) {
  auto SD = LoadSkin(EditSkin(u"edit", u"edit"));
  auto* E = Make<TspSkinEdit>(120);
  E->SetSkinData(SD.get());
  ASSERT_TRUE(E->Skinned());
  EXPECT_EQ(E->Height(), 24);
  EXPECT_EQ(E->Font()->Color(), TColor(255));
  RECT C{};
  GetClientRect(E->Handle(), &C);
  EXPECT_EQ(C.right, 120 - 4 - 4);
  EXPECT_EQ(C.bottom, 16);
  auto B = WindowPixels(E);
  SaveScreen(u"fixture", u"edit", u"normal", B.get());
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 0));
  EXPECT_EQ(Px(B.get(), 119, 23), Coord(49, 23));
  EXPECT_EQ(Px(B.get(), 100, 1), Coord(30, 1));  // in the fixed right part
  // The text area: ClRect three-sliced (1 fixed pixel each side).
  EXPECT_EQ(Px(B.get(), 4, 19), Coord(4, 19));
  EXPECT_EQ(Px(B.get(), 115, 19), Coord(45, 19));
  // The mouse over it: the hover look and colour.
  RECT W{};
  GetWindowRect(E->Handle(), &W);
  SetCursorPos(W.left + 60, W.top + 10);
  SendMessageW(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.left + 60, W.top + 10));
  EXPECT_EQ(E->Font()->Color(), TColor(65280));
  auto Hot = WindowPixels(E);
  SaveScreen(u"fixture", u"edit", u"hot", Hot.get());
  EXPECT_EQ(Px(Hot.get(), 0, 0), Coord(0, 30));
  EXPECT_EQ(Px(Hot.get(), 4, 19), Coord(4, 49));
}

TEST_F(SkinEditWin, SkinnedButtonPlace) {
  auto SD = LoadSkin(EditSkin(u"buttonedit", u"edit"));
  auto* E = Make<TspSkinEdit>(120);
  E->SetSkinDataName(u"buttonedit");
  E->SetButtonMode(true);
  E->SetSkinData(SD.get());
  ASSERT_TRUE(E->Skinned());
  E->CalcRects();
  // In the fixed right part: moved with the width.
  EXPECT_EQ(E->ButtonRectNow(), TRect(100, 2, 118, 22));
  EXPECT_EQ(E->EditRect(), TRect(4, 4, 116, 20));
  SendMessageW(E->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
  auto B = WindowPixels(E);
  SaveScreen(u"fixture", u"edit", u"button-hot", B.get());
  EXPECT_EQ(Px(B.get(), 101, 3), Coord(61, 3));
}

TEST_F(SkinEditWin, DescriptionOfAnotherKindGivesTheDefaultLook) {
  auto SD = LoadSkin(EditSkin(u"edit", u"button"));
  auto* E = Make<TspSkinEdit>(120);
  E->SetSkinData(SD.get());
  EXPECT_FALSE(E->Skinned());
  EXPECT_EQ(E->Height(), FontHeightOf(E->Font()) + 6);
  auto B = WindowPixels(E);
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
}

}  // namespace

#include "skin/data/SkinResStr.h"

namespace {

// A flat image of one colour.
Integer AddFlat(TCustomImageList* L, TColor C) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(L->Width(), L->Height());
  B.Canvas()->Brush()->SetColor(C);
  B.Canvas()->FillRect(TRect(0, 0, L->Width(), L->Height()));
  return L->AddMasked(&B, clFuchsia);
}

TEST_F(SkinEditWin, LeftAndRightImages) {
  auto* L = new TCustomImageList(Host);
  L->SetSize(12, 12);
  const Integer Red = AddFlat(L, clRed), Green = AddFlat(L, clLime), Blue = AddFlat(L, clBlue);
  auto* E = Make<TspSkinEdit>(120);
  E->SetImages(L);
  E->SetLeftImageIndex(Red);
  E->SetLeftImageHotIndex(Green);
  E->SetLeftImageDownIndex(Blue);
  E->SetRightImageIndex(Red);
  int Lefts = 0, Rights = 0;
  E->OnLeftButtonClick = [&](TObject*) { ++Lefts; };
  E->OnRightButtonClick = [&](TObject*) { ++Rights; };
  // The text's formatting rect leaves the images plus 2 pixels each (the
  // EDIT adds its left margin of 2 inside it).
  RECT F{};
  SendMessageW(E->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&F));
  RECT C{};
  GetClientRect(E->Handle(), &C);
  EXPECT_EQ(F.left, 14 + 2);
  EXPECT_EQ(F.right, C.right - 14);
  // Also after a new font.
  E->Font()->SetHeight(16);
  SendMessageW(E->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&F));
  GetClientRect(E->Handle(), &C);
  EXPECT_EQ(F.left, 14 + 2);
  EXPECT_EQ(F.right, C.right - 14);
  auto B = WindowPixels(E);
  SaveScreen(u"default", u"edit", u"images", B.get());
  EXPECT_EQ(Px(B.get(), 2 + 6, E->Height() / 2), clRed);
  // Over the left image: hot; pressed: down; the release clicks.
  RECT W{};
  GetWindowRect(E->Handle(), &W);
  const LPARAM At = MAKELPARAM(W.left + 2 + 6, W.top + E->Height() / 2);
  SetCursorPos(W.left + 8, W.top + E->Height() / 2);
  EXPECT_EQ(SendMessageW(E->Handle(), WM_NCHITTEST, 0, At), 104);
  EXPECT_TRUE(E->LeftButton.MouseIn);
  B = WindowPixels(E);
  EXPECT_EQ(Px(B.get(), 8, E->Height() / 2), clLime);
  SendMessageW(E->Handle(), WM_NCLBUTTONDOWN, 104, At);
  EXPECT_TRUE(E->Focused());
  B = WindowPixels(E);
  EXPECT_EQ(Px(B.get(), 8, E->Height() / 2), clBlue);
  SendMessageW(E->Handle(), WM_NCLBUTTONUP, 104, At);
  EXPECT_EQ(Lefts, 1);
  // A release over the right image after a press on the left one: nothing.
  SendMessageW(E->Handle(), WM_NCLBUTTONDOWN, 104, At);
  SendMessageW(E->Handle(), WM_NCLBUTTONUP, 105, At);
  EXPECT_EQ(Rights, 0);
}

TEST_F(SkinEditWin, AlphaBlendOverTheParent) {
  Host->Ground = clRed;
  Host->Invalidate();
  auto* E = Make<TspSkinEdit>(120);
  E->SetDefaultColor(clWhite);
  E->SetAlphaBlend(true);
  E->SetAlphaBlendValue(0);
  auto B = WindowPixels(E);
  EXPECT_EQ(Px(B.get(), 0, 0), clRed);
  EXPECT_EQ(Px(B.get(), 10, E->Height() - 3), clRed);
  E->SetAlphaBlendValue(255);
  B = WindowPixels(E);
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(B.get(), 10, E->Height() - 3), clWhite);
}

// A form's skin component as the menus see it, with a text table.
class TTextHost : public TComponent, public TspSkinMenuHost {
 public:
  explicit TTextHost(TComponent* AOwner) : TComponent(AOwner) {}
  TspSkinData* SD = nullptr;
  TCustomForm* MenuHostForm() override { return nullptr; }
  TspSkinData* MenuHostSkinData() override { return SD; }
  TspSkinData* MenuHostMenusSkinData() override { return nullptr; }
  bool SkinMenuVisible() override { return false; }
  void SkinMenuOpen() override {}
  void SkinMenuClose() override {}
  TspSkinMenu* MenuHostSkinMenu() override { return nullptr; }
};

TEST_F(SkinEditWin, ContextMenuTextsFromTheSkinTextTable) {
  auto SD = LoadSkin(CoordSkin());
  auto* Strings = new TspResourceStrData(Host);
  auto* Lines = new TStringList();
  Lines->Add(u"EDIT_UNDO=Rückgängig");
  Lines->Add(u"EDIT_SELECTALL=Alles");
  Strings->SetResStrings(Lines);
  delete Lines;
  SD->SetResourceStrData(Strings);
  auto* H = new TTextHost(SharedForm());
  H->SD = SD.get();
  auto* E = Make<TspSkinEdit>();
  E->BuildSysPopupMenu();
  TMenuItem* I = E->SysPopupMenu()->Items();
  EXPECT_EQ(I->Items(0)->Caption(), u"Rückgängig");
  EXPECT_EQ(I->Items(7)->Caption(), u"Alles");
  EXPECT_EQ(I->Items(2)->Caption(), u"");  // a key the table lacks reads empty
  delete E;
  delete H;
  SD->SetResourceStrData(nullptr);
}

}  // namespace

namespace {

TEST_F(SkinEditWin, FramePaintedIntoAnotherDeviceContext) {
  auto* E = Make<TspSkinEdit>(120);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(E->Width(), E->Height());
  auto Clear = [&] {
    B->Canvas()->Brush()->SetColor(clFuchsia);
    B->Canvas()->FillRect(TRect(0, 0, B->Width(), B->Height()));
  };
  HDC DC = B->Canvas()->Handle();
  Clear();
  EXPECT_EQ(SendMessageW(E->Handle(), 0xB1C9, reinterpret_cast<WPARAM>(DC), 0), 12851);
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_NE(Px(B.get(), 10, E->Height() / 2), clFuchsia);  // not clipped: the whole image
  Clear();
  EXPECT_EQ(SendMessageW(E->Handle(), 0xBC4B, reinterpret_cast<WPARAM>(DC), 16802), 16802);
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(B.get(), 10, E->Height() / 2), clFuchsia);  // the text area clipped out
  Clear();
  EXPECT_NE(SendMessageW(E->Handle(), 0xBC4B, reinterpret_cast<WPARAM>(DC), 1), 16802);
  EXPECT_EQ(Px(B.get(), 0, 0), clFuchsia);
}

}  // namespace

namespace {

TEST_F(SkinEditWin, NumericEventCounts) {
  struct Row {
    const char* Name;
    TspValueType Kind;
    std::function<void(TspSkinNumericEdit*)> Act;
    int Changes;
  };
  const auto I = TspValueType::vtInteger, F = TspValueType::vtFloat;
  const Row Rows[] = {
      {"same value", I, [](TspSkinNumericEdit* E) { E->SetValue(10); }, 0},
      {"new value", I, [](TspSkinNumericEdit* E) { E->SetValue(11); }, 1},
      {"new value, same text", I, [](TspSkinNumericEdit* E) { E->SetValue(10.2); }, 0},
      {"two typed digits", I, [](TspSkinNumericEdit* E) { boxtest::Type(E, u"12"); }, 2},
      {"a refused key", I, [](TspSkinNumericEdit* E) { boxtest::Type(E, u"x"); }, 0},
      {"a paste of two digits", I,
       [](TspSkinNumericEdit* E) {
         Clipboard()->SetAsText(u"34");
         SendMessageW(E->Handle(), WM_PASTE, 0, 0);
       },
       1},
      {"leaving an integer field", I, [](TspSkinNumericEdit* E) { E->Parent()->SetFocus(); }, 0},
      {"leaving a float field with more digits", F,
       [](TspSkinNumericEdit* E) {
         E->SetValue(10.125);
         E->Parent()->SetFocus();
       },
       2},
      {"Up with the keys on", I,
       [](TspSkinNumericEdit* E) {
         E->SetSupportUpDownKeys(true);
         SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
       },
       1},
      {"Up at the maximum", I,
       [](TspSkinNumericEdit* E) {
         E->SetSupportUpDownKeys(true);
         E->SetMaxValue(10);
         SendKey(E->Handle(), WM_KEYDOWN, VK_UP);
       },
       0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* E = Make<TspSkinNumericEdit>();
    E->SetValueType(R.Kind);
    E->SetMinValue(0);
    E->SetMaxValue(1000);
    E->SetValue(10);
    E->SetFocus();
    Pump();
    E->SelectAll();
    Changes = 0;
    R.Act(E);
    Pump();
    EXPECT_EQ(Changes, R.Changes);
    delete E;
  }
}

}  // namespace

namespace {

// The dialogs' numeric edits: a skin, UseSkinFont off.
TEST_F(SkinEditWin, SkinnedAtTheFontsHeight) {
  auto SD = LoadSkin(EditSkin(u"edit", u"edit"));
  auto* E = Make<TspSkinNumericEdit>(120);
  E->SetUseSkinFont(false);
  E->SetSkinData(SD.get());
  ASSERT_TRUE(E->Skinned());
  const Integer H = E->Height();
  EXPECT_EQ(H, FontHeightOf(E->Font()) + 24 - 16);
  EXPECT_EQ(E->Font()->Color(), TColor(255));
  RECT C{};
  GetClientRect(E->Handle(), &C);
  EXPECT_EQ(C.right, 120 - 8);
  EXPECT_EQ(C.bottom, H - 8);
  auto B = WindowPixels(E);
  SaveScreen(u"fixture", u"numericedit", u"font-height", B.get());
  // The frame stretched at the text area's corners.
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 0));
  EXPECT_EQ(Px(B.get(), 119, H - 1), Coord(49, 23));
  EXPECT_EQ(Px(B.get(), 118, H - 2), Coord(48, 22));
  EXPECT_EQ(Px(B.get(), 2, 1), Coord(2, 1));
  // The text area: the description's strip stretched to its height.
  EXPECT_EQ(Px(B.get(), 4, 4), Coord(4, 4));
  EXPECT_EQ(Px(B.get(), 115, 4), Coord(45, 4));
}

}  // namespace

namespace {

TEST_F(SkinEditWin, SkinnedButtonAtTheFontsHeight) {
  auto Skin = EditSkin(u"buttonedit", u"edit");
  Skin.Control(u"editbutton", u"button",
               {u"pictureindex=0", u"skinrect=0,100,20,120", u"activeskinrect=0,130,20,150", u"lefttoppoint=3,3",
                u"righttoppoint=17,3", u"leftbottompoint=3,17", u"rightbottompoint=17,17",
                u"clientrect=3,3,17,17"});
  auto SD = LoadSkin(Skin);
  auto* E = Make<TspSkinEdit>(120);
  E->SetSkinDataName(u"buttonedit");
  E->SetUseSkinFont(false);
  E->SetButtonMode(true);
  E->SetSkinData(SD.get());
  ASSERT_TRUE(E->Skinned());
  E->CalcRects();
  const TRect Btn = E->ButtonRectNow();
  EXPECT_EQ(Btn, TRect(100, 2, 118, 22 + E->Height() - 24));
  auto B = WindowPixels(E);
  SaveScreen(u"fixture", u"buttonedit", u"font-height", B.get());
  EXPECT_EQ(Px(B.get(), Btn.Left + 1, Btn.Top + 1), Coord(1, 101));
  SendMessageW(E->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
  B = WindowPixels(E);
  EXPECT_EQ(Px(B.get(), Btn.Left + 1, Btn.Top + 1), Coord(1, 131));
}

}  // namespace
