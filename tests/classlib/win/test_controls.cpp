// The message machinery of controls under Wine: numbers, WindowProc hooks,
// reflection, RecreateWnd, mouse routing, enter/leave, painting, focus and
// dialog keys.
#include "tests/classlib/win/test_controls_util.h"

#include <algorithm>
#include <string>

using namespace ctltest;

namespace {

bool Has(const std::vector<UINT>& V, UINT M) { return std::find(V.begin(), V.end(), M) != V.end(); }

}  // namespace

TEST(CtlMessages, NumbersAsTheClassLibraryNumbersThem) {
  struct Row {
    UINT Got, Want;
  } Rows[] = {
      {CM_CANCELMODE, 0xB004},       {CM_DIALOGKEY, 0xB005},      {CM_DIALOGCHAR, 0xB006},
      {CM_FOCUSCHANGED, 0xB007},     {CM_PARENTFONTCHANGED, 0xB008}, {CM_HITTEST, 0xB00A},
      {CM_VISIBLECHANGED, 0xB00B},   {CM_ENABLEDCHANGED, 0xB00C}, {CM_COLORCHANGED, 0xB00D},
      {CM_FONTCHANGED, 0xB00E},      {CM_TEXTCHANGED, 0xB012},    {CM_MOUSEENTER, 0xB013},
      {CM_MOUSELEAVE, 0xB014},       {CM_SHOWINGCHANGED, 0xB019}, {CM_ENTER, 0xB01A},
      {CM_EXIT, 0xB01B},             {CM_WANTSPECIALKEY, 0xB01E}, {CM_RELEASE, 0xB021},
      {CM_CHILDKEY, 0xB02E},         {CM_DRAG, 0xB02F},           {CM_RECREATEWND, 0xB033},
      {CM_INVALIDATE, 0xB034},       {CM_MOUSEWHEEL, 0xB043},     {CN_COMMAND, 0xBD11},
      {CN_NOTIFY, 0xBC4E},           {CN_DRAWITEM, 0xBC2B},       {CN_MEASUREITEM, 0xBC2C},
      {CN_KEYDOWN, 0xBD00},          {CN_CHAR, 0xBD02},           {CN_SYSKEYDOWN, 0xBD04},
      {CN_SYSCHAR, 0xBD06},          {CN_HSCROLL, 0xBD14},        {CN_VSCROLL, 0xBD15},
      {CN_CTLCOLOREDIT, 0xBD33},     {CN_CTLCOLORLISTBOX, 0xBD34}, {CN_CTLCOLORSTATIC, 0xBD38},
  };
  for (const Row& R : Rows) EXPECT_EQ(R.Got, R.Want);
}

class CtlWindowProc : public AppFixture {};

// A WindowProc installed before the window exists sees the creation
// messages, and afterwards Perform, sent and posted messages alike.
TEST_F(CtlWindowProc, HookSeesCreationPerformSentAndPosted) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F);
  std::vector<UINT> Log;
  TWndMethod Saved = P->WindowProc();
  P->SetWindowProc([&](TMessage& M) {
    Log.push_back(M.Msg);
    Saved(M);
  });
  ASSERT_FALSE(P->HandleAllocated());
  HWND H = P->Handle();
  EXPECT_TRUE(Has(Log, WM_NCCREATE));
  EXPECT_TRUE(Has(Log, WM_CREATE));
  Log.clear();
  P->Perform(1284, 0, 0);
  SendMessageW(H, 1228, 0, 0);
  PostMessageW(H, 1035, 0, 0);
  Pump();
  EXPECT_EQ(Log.size() >= 3, true);
  EXPECT_TRUE(Has(Log, 1284));
  EXPECT_TRUE(Has(Log, 1228));
  EXPECT_TRUE(Has(Log, 1035));
  // Perform needs no window at all.
  auto* Loose = new TProbe(F);
  Loose->Perform(CM_RECREATEWND + 0x10, 0, 0);
  EXPECT_FALSE(Loose->HandleAllocated());
  EXPECT_EQ(Loose->Count(CM_RECREATEWND + 0x10), 1);
  delete F;
}

// Perform hands a handler's exception to its caller; a message sent through
// Wine is answered 0 and the exception goes to the application.
TEST_F(CtlWindowProc, ExceptionsThroughPerformAndThroughWine) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F);
  P->On = [](TMessage& M) {
    if (M.Msg == CM_BASE + 0x70) throw Exception(u"from the handler");
    return false;
  };
  EXPECT_THROW(P->Perform(CM_BASE + 0x70, 0, 0), Exception);
  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(SendMessageW(P->Handle(), CM_BASE + 0x70, 0, 0), 0);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], u"from the handler");
  // The window still works afterwards.
  EXPECT_EQ(SendMessageW(P->Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
  delete F;
}

class CtlReflection : public AppFixture {};

// Notifications a parent gets from a child window go back to the child as CN_
// messages, and the child's answer is the parent's; other numbers pass.
TEST_F(CtlReflection, NotificationsReachTheChildAsCnMessages) {
  TForm* F = NewForm();
  auto* Child = new TProbe(F, F);
  Child->On = [](TMessage& M) {
    if (M.Msg >= CN_BASE && M.Msg < CN_BASE + 0x400) {
      M.Result = 0x1000 + static_cast<LRESULT>(M.Msg - CN_BASE);
      return true;
    }
    return false;
  };
  HWND PH = F->Handle(), CH = Child->Handle();
  NMHDR Nm{CH, 7, 0};
  DRAWITEMSTRUCT Di{};
  Di.CtlType = ODT_LISTBOX;
  Di.hwndItem = CH;
  DELETEITEMSTRUCT Dl{};
  Dl.hwndItem = CH;
  COMPAREITEMSTRUCT Ci{};
  Ci.hwndItem = CH;
  struct Row {
    UINT Msg;
    WPARAM W;
    LPARAM L;
  } Rows[] = {
      {WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), reinterpret_cast<LPARAM>(CH)},
      {WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&Nm)},
      {WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Di)},
      {WM_DELETEITEM, 0, reinterpret_cast<LPARAM>(&Dl)},
      {WM_COMPAREITEM, 0, reinterpret_cast<LPARAM>(&Ci)},
      {WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(CH)},
      {WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(CH)},
      {WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(CH)},
      {WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(CH)},
      {WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(CH)},
      {WM_CHARTOITEM, 0, reinterpret_cast<LPARAM>(CH)},
      {WM_VKEYTOITEM, 0, reinterpret_cast<LPARAM>(CH)},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Msg);
    Child->Seen.clear();
    EXPECT_EQ(SendMessageW(PH, R.Msg, R.W, R.L), static_cast<LRESULT>(0x1000 + R.Msg));
    EXPECT_EQ(Child->Seen, std::vector<UINT>{CN_BASE + R.Msg});
  }
  // Not reflected: private numbers and messages that merely look like notifications.
  for (UINT Msg : {UINT(WM_COPYDATA), UINT(0x4B), UINT(0xBC4A), UINT(0xBC4B), UINT(0xB1C9), UINT(1228)}) {
    SCOPED_TRACE(Msg);
    Child->Seen.clear();
    COPYDATASTRUCT Cd{};
    SendMessageW(PH, Msg, reinterpret_cast<WPARAM>(CH), Msg == WM_COPYDATA ? reinterpret_cast<LPARAM>(&Cd) : 0);
    EXPECT_TRUE(Child->Seen.empty());
  }
  // A command from a window that is no control of ours gets default handling.
  HWND Foreign = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(u"STATIC"), nullptr, WS_CHILD, 0, 0, 5, 5, PH, nullptr,
                                 nullptr, nullptr);
  Child->Seen.clear();
  EXPECT_EQ(SendMessageW(PH, WM_COMMAND, 0, reinterpret_cast<LPARAM>(Foreign)), 0);
  EXPECT_TRUE(Child->Seen.empty());
  delete F;
}

class CtlRecreate : public AppFixture {};

TEST_F(CtlRecreate, KeepsTextBoundsChildrenAndFocus) {
  TForm* F = NewForm();
  auto* Box = new TProbe(F, F, Bounds(10, 10, 150, 100));
  auto* Inner = new TProbe(F, Box, Bounds(5, 6, 30, 20));
  Box->SetText(u"box text");
  Inner->SetText(u"inner");
  F->Show();
  Inner->SetFocus();
  ASSERT_TRUE(Inner->Focused());
  HWND OldBox = Box->Handle(), OldInner = Inner->Handle();
  std::vector<UINT> Log;
  TWndMethod Saved = Box->WindowProc();
  Box->SetWindowProc([&](TMessage& M) {
    Log.push_back(M.Msg);
    Saved(M);
  });
  Box->RecreateWnd();
  EXPECT_NE(Box->Handle(), OldBox);
  EXPECT_NE(Inner->Handle(), OldInner);
  EXPECT_FALSE(IsWindow(OldBox));
  EXPECT_TRUE(Has(Log, WM_NCCREATE));  // the creation runs through the current WindowProc
  EXPECT_EQ(Box->Text(), u"box text");
  EXPECT_EQ(Inner->Text(), u"inner");
  EXPECT_EQ(Box->BoundsRect(), Bounds(10, 10, 150, 100));
  EXPECT_EQ(Inner->BoundsRect(), Bounds(5, 6, 30, 20));
  EXPECT_EQ(GetParent(Inner->Handle()), Box->Handle());
  EXPECT_TRUE(IsWindowVisible(Inner->Handle()));
  EXPECT_TRUE(Inner->Focused());
  delete F;
}

TEST_F(CtlRecreate, WithoutHandleNothingHappensAndInsideOwnHandlerIsSafe) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F);
  P->RecreateWnd();
  EXPECT_FALSE(P->HandleAllocated());
  // Recreating from inside a handler of the control itself.
  P->On = [&](TMessage& M) {
    if (M.Msg == CM_BASE + 0x71) {
      P->RecreateWnd();
      M.Result = 5;
      return true;
    }
    return false;
  };
  F->Show();
  HWND Old = P->Handle();
  EXPECT_EQ(SendMessageW(Old, CM_BASE + 0x71, 0, 0), 5);
  EXPECT_TRUE(P->HandleAllocated());
  EXPECT_NE(P->Handle(), Old);
  EXPECT_TRUE(Errors.empty());
  delete F;
}

// A superclassed control (as the wrappers of the edit, list box and tree view
// are) whose "system" class is one of the test's own: its class procedure
// logs the last messages each window gets, as a native control frees its
// data on them.
namespace {

const WCHAR kNativeClass[] = L"LumigraTestNativeClass";
std::vector<std::pair<HWND, UINT>> GNativeLast;

LRESULT CALLBACK NativeClassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_DESTROY || Msg == WM_NCDESTROY) GNativeLast.push_back({Wnd, Msg});
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

void RegisterNativeClass() {
  WNDCLASSEXW C{};
  C.cbSize = sizeof(C);
  if (GetClassInfoExW(nullptr, kNativeClass, &C)) return;
  C = WNDCLASSEXW{};
  C.cbSize = sizeof(C);
  C.style = CS_GLOBALCLASS;  // found as system classes are
  C.lpfnWndProc = NativeClassProc;
  C.hInstance = GetModuleHandleW(nullptr);
  C.lpszClassName = kNativeClass;
  RegisterClassExW(&C);
}

class TNativeProbe : public TWinControl {
 public:
  explicit TNativeProbe(TWinControl* AParent) : TWinControl(AParent) {
    SetBoundsRect(Bounds(5, 5, 50, 20));
    SetParent(AParent);
  }

 protected:
  void CreateParams(TCreateParams& P) override {
    TWinControl::CreateParams(P);
    P.WinClassName = u"LumigraTestNativeProbe";
  }
  void CreateWnd() override {
    TCreateParams P;
    CreateParams(P);
    FDefWndProc = RegisterSuperclass(P, reinterpret_cast<const char16_t*>(kNativeClass));
    TWinControl::CreateWnd();
  }
};

}  // namespace

class CtlNative : public AppFixture {};

// The class procedure sees WM_DESTROY and WM_NCDESTROY whether the window is
// recreated, its control freed, or the control freed with its form.
TEST_F(CtlNative, ClassProcedureSeesTheLastMessages) {
  RegisterNativeClass();
  enum TWay { Recreate, FreeControl, FreeForm };
  for (TWay Way : {Recreate, FreeControl, FreeForm}) {
    SCOPED_TRACE(Way);
    TForm* F = NewForm();
    auto* N = new TNativeProbe(F);
    HWND Wnd = N->Handle();  // the form's window too, never shown
    HWND FormWnd = F->Handle();
    EXPECT_EQ(FindControl(Wnd), N);
    EXPECT_EQ(FindControl(FormWnd), F);
    GNativeLast.clear();
    if (Way == Recreate) N->RecreateWnd();
    if (Way == FreeControl) delete N;
    if (Way == FreeForm) delete F;
    EXPECT_FALSE(IsWindow(Wnd));
    EXPECT_EQ(GNativeLast, (std::vector<std::pair<HWND, UINT>>{{Wnd, WM_DESTROY}, {Wnd, WM_NCDESTROY}}));
    // A window that is gone names no control; a new one names its control.
    EXPECT_EQ(FindControl(Wnd), nullptr);
    if (Way == Recreate) {
      EXPECT_EQ(FindControl(N->Handle()), N);
    }
    EXPECT_EQ(FindControl(FormWnd), Way == FreeForm ? nullptr : F);
    if (Way != FreeForm) delete F;
  }
}

// Windows that no control of ours made name none: a plain window of this
// process, the desktop (another process's), no window at all.
TEST_F(CtlNative, WindowsOfNoControlNameNone) {
  HWND Plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(Plain);
  EXPECT_EQ(FindControl(Plain), nullptr);
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  EXPECT_EQ(FindControl(nullptr), nullptr);
  DestroyWindow(Plain);
}

class CtlText : public AppFixture {};

// Text lives in the object until there is a window, then in the window; the
// change notices come only on a real change.
TEST_F(CtlText, TextAndChangeNotices) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F);
  P->SetText(u"one");
  P->SetText(u"one");
  EXPECT_EQ(P->Count(CM_TEXTCHANGED), 1);
  HWND H = P->Handle();
  WCHAR Buf[16]{};
  GetWindowTextW(H, Buf, 16);
  EXPECT_EQ(String(reinterpret_cast<char16_t*>(Buf)), u"one");
  SetWindowTextW(H, reinterpret_cast<LPCWSTR>(u"two"));
  EXPECT_EQ(P->Text(), u"two");
  struct Row {
    const char* Name;
    std::function<void()> Same, Change;
    UINT Msg;
  } Rows[] = {
      {"Visible", [&] { P->SetVisible(true); }, [&] { P->SetVisible(false); }, CM_VISIBLECHANGED},
      {"Enabled", [&] { P->SetEnabled(true); }, [&] { P->SetEnabled(false); }, CM_ENABLEDCHANGED},
      {"Color", [&] { P->SetColor(P->Color()); }, [&] { P->SetColor(clRed); }, CM_COLORCHANGED},
  };
  for (auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    P->Seen.clear();
    R.Same();
    EXPECT_EQ(P->Count(R.Msg), 0);
    R.Change();
    EXPECT_EQ(P->Count(R.Msg), 1);
  }
  EXPECT_FALSE(IsWindowVisible(H));
  EXPECT_FALSE(IsWindowEnabled(H));
  // A font change reaches the children that use the parent's font.
  auto* Child = new TProbe(F, F);
  F->Font()->SetHeight(-20);
  EXPECT_EQ(Child->Font()->Height(), -20);
  Child->Seen.clear();
  Child->Font()->SetHeight(-9);
  EXPECT_EQ(Child->Count(CM_FONTCHANGED), 1);
  EXPECT_FALSE(Child->ParentFont());
  F->Font()->SetHeight(-30);
  EXPECT_EQ(Child->Font()->Height(), -9);
  delete F;
}

class CtlMouse : public AppFixture {};

TEST_F(CtlMouse, ClickAndDoubleClickOrders) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F, Bounds(10, 10, 60, 30));
  std::string Log;
  P->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, Integer X, Integer Y) {
    Log += "down" + std::to_string(B) + ((S & ssDouble) ? "d" : "") + "@" + std::to_string(X) + "," +
           std::to_string(Y) + " ";
  };
  P->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, Integer, Integer) { Log += "up" + std::to_string(B) + " "; };
  P->OnClick = [&](TObject*) { Log += "click "; };
  P->OnDblClick = [&](TObject*) { Log += "dbl "; };
  F->Show();
  HWND H = P->Handle();
  auto Post = [&](UINT Msg, int X, int Y) { PostMessageW(H, Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, PointToLParam(X, Y)); };
  Post(WM_LBUTTONDOWN, 5, 6);
  Post(WM_LBUTTONUP, 5, 6);
  Post(WM_LBUTTONDBLCLK, 5, 6);
  Post(WM_LBUTTONUP, 5, 6);
  Pump();
  EXPECT_EQ(Log, "down0@5,6 click up0 dbl down0d@5,6 up0 ");
  // A release outside the control is no click; the capture brought it here.
  Log.clear();
  Post(WM_LBUTTONDOWN, 5, 6);
  Pump();
  EXPECT_EQ(GetCapture(), H);
  Post(WM_LBUTTONUP, 200, 6);
  Pump();
  EXPECT_EQ(Log, "down0@5,6 up0 ");
  EXPECT_EQ(GetCapture(), nullptr);
  // Without csDoubleClicks a double press is a second press.
  P->SetControlStyle(P->ControlStyle() & ~csDoubleClicks);
  Log.clear();
  Post(WM_LBUTTONDBLCLK, 1, 1);
  Post(WM_LBUTTONUP, 1, 1);
  Pump();
  EXPECT_EQ(Log, "down0@1,1 click up0 ");
  // Right button: no click.
  Log.clear();
  PostMessageW(H, WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(2, 2));
  PostMessageW(H, WM_RBUTTONUP, 0, PointToLParam(2, 2));
  Pump();
  EXPECT_EQ(Log, "down1@2,2 up1 ");
  delete F;
}

// Graphic controls get their mouse through the parent window, in their own
// coordinates, and keep it while they hold the capture.
TEST_F(CtlMouse, GraphicControlRoutingAndCapture) {
  TForm* F = NewForm();
  auto* G = new TGProbe(F, F, Bounds(50, 40, 30, 20));
  std::string Log;
  G->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    Log += "down@" + std::to_string(X) + "," + std::to_string(Y) + " ";
  };
  G->OnMouseMove = [&](TObject*, TShiftState, Integer X, Integer Y) {
    Log += "move@" + std::to_string(X) + "," + std::to_string(Y) + " ";
  };
  G->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    Log += "up@" + std::to_string(X) + "," + std::to_string(Y) + " ";
  };
  G->OnClick = [&](TObject*) { Log += "click "; };
  int FormDowns = 0;
  F->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++FormDowns; };
  F->Show();
  // The real pointer away from the form: no move of its own comes in between.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Pump();
  HWND H = F->Handle();
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(55, 45));
  PostMessageW(H, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(150, 150));  // outside, still captured
  Pump();
  EXPECT_EQ(GetCaptureControl(), G);
  EXPECT_EQ(GetCapture(), H);
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(150, 150));
  Pump();
  EXPECT_EQ(Log, "down@5,5 move@100,110 up@100,110 ");
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(FormDowns, 0);
  Log.clear();
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(79, 59));
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(79, 59));
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(80, 59));  // one past: the form's
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(80, 59));
  Pump();
  EXPECT_EQ(Log, "down@29,19 click up@29,19 ");
  EXPECT_EQ(FormDowns, 1);
  // Hidden or disabled graphic controls are passed over.
  G->SetEnabled(false);
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(55, 45));
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(55, 45));
  Pump();
  EXPECT_EQ(FormDowns, 2);
  delete F;
}

TEST_F(CtlMouse, EnterAndLeaveOfGraphicControls) {
  TForm* F = NewForm();
  auto* A = new TGProbe(F, F, Bounds(10, 10, 30, 30));
  auto* B = new TGProbe(F, F, Bounds(60, 10, 30, 30));
  std::string Log;
  A->OnMouseEnter = [&](TObject*) { Log += "A+ "; };
  A->OnMouseLeave = [&](TObject*) { Log += "A- "; };
  B->OnMouseEnter = [&](TObject*) { Log += "B+ "; };
  B->OnMouseLeave = [&](TObject*) { Log += "B- "; };
  F->Show();
  HWND H = F->Handle();
  // The real pointer sits inside the form, so Wine's leave tracking agrees.
  POINT Org{0, 0};
  ClientToScreen(H, &Org);
  SetCursorPos(Org.x + 5, Org.y + 100);
  Pump();
  auto Move = [&](int X, int Y, WPARAM Keys = 0) {
    PostMessageW(H, WM_MOUSEMOVE, Keys, PointToLParam(X, Y));
    Pump();
  };
  Move(5, 100);
  Move(15, 15);
  Move(20, 20);
  Move(65, 15);
  Move(5, 100);
  EXPECT_EQ(Log, "A+ A- B+ B- ");
  EXPECT_EQ(MouseControl(), F);
  // While A holds the capture, the mouse over B changes nothing.
  Log.clear();
  Move(15, 15);
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(15, 15));
  Move(65, 15, MK_LBUTTON);
  EXPECT_EQ(Log, "A+ ");
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(65, 15));
  Move(65, 16);
  EXPECT_EQ(Log, "A+ A- B+ ");
  // A control freed while the mouse is over it is forgotten without notices.
  delete B;
  EXPECT_EQ(MouseControl(), nullptr);
  Move(15, 15);
  EXPECT_EQ(Log, "A+ A- B+ A+ ");
  delete F;
}

class CtlPaint : public AppFixture {};

// WM_PAINT with a DC paints the window and its graphic children into that
// DC, each at its place and clipped to it.
TEST_F(CtlPaint, PaintWithADcDrawsGraphicChildrenInPlace) {
  TForm* F = NewForm();
  auto* Box = new TProbe(F, F, Bounds(0, 0, 100, 60));
  Box->PaintColor = clBlue;
  auto* G = new TGProbe(F, Box, Bounds(20, 10, 30, 15));
  G->PaintColor = clRed;
  HDC Mem = CreateCompatibleDC(nullptr);
  BITMAPINFO BI{};
  BI.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  HBITMAP Bmp = CreateDIBSection(Mem, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  SendMessageW(Box->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(Mem), 0);
  GdiFlush();
  auto At = [&](int X, int Y) { return static_cast<Cardinal*>(Bits)[Y * 100 + X] & 0xFFFFFF; };
  EXPECT_EQ(Box->Paints, 1);
  EXPECT_EQ(At(0, 0), 0x0000FFu);    // blue (BGR in the DIB: $RRGGBB read as 0x0000FF)
  EXPECT_EQ(At(20, 10), 0xFF0000u);  // red
  EXPECT_EQ(At(49, 24), 0xFF0000u);
  EXPECT_EQ(At(50, 24), 0x0000FFu);
  EXPECT_EQ(At(49, 25), 0x0000FFu);
  EXPECT_EQ(At(19, 10), 0x0000FFu);
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
  delete F;
}

class CtlFocus : public AppFixture {};

TEST_F(CtlFocus, SetFocusIsSynchronousWithExitEnterOrder) {
  TForm* F = NewForm();
  auto* Panel = new TProbe(F, F, Bounds(0, 0, 200, 100));
  Panel->SetTabStop(false);
  auto* A = new TProbe(F, Panel, Bounds(5, 5, 40, 20));
  auto* B = new TProbe(F, Panel, Bounds(50, 5, 40, 20));
  auto* C = new TProbe(F, F, Bounds(5, 120, 40, 20));
  std::string Log;
  for (auto [Ctl, Name] : {std::pair<TProbe*, std::string>{Panel, "P"}, {A, "A"}, {B, "B"}, {C, "C"}}) {
    std::string N = Name;
    Ctl->OnEnter = [&Log, N](TObject*) { Log += N + "+ "; };
    Ctl->OnExit = [&Log, N](TObject*) { Log += N + "- "; };
  }
  int FocusChanged = 0;
  C->On = [&](TMessage& M) {
    if (M.Msg == CM_FOCUSCHANGED) ++FocusChanged;
    return false;
  };
  F->Show();
  A->SetFocus();
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(F->ActiveControl(), A);
  EXPECT_EQ(Log, "P+ A+ ");
  Log.clear();
  B->SetFocus();
  EXPECT_TRUE(B->Focused());
  EXPECT_EQ(Log, "A- B+ ");
  Log.clear();
  C->SetFocus();
  EXPECT_EQ(Log, "B- P- C+ ");
  EXPECT_GE(FocusChanged, 3);  // broadcast to every control on each change
  // A refocus inside OnExit wins.
  Log.clear();
  C->OnExit = [&](TObject*) {
    Log += "C- ";
    B->SetFocus();
  };
  A->SetFocus();
  EXPECT_TRUE(B->Focused());
  EXPECT_EQ(F->ActiveControl(), B);
  EXPECT_EQ(Log.find("A+"), std::string::npos);
  // Hidden or disabled controls refuse the focus.
  A->SetVisible(false);
  EXPECT_THROW(A->SetFocus(), EInvalidOperation);
  B->SetEnabled(false);
  EXPECT_FALSE(B->CanFocus());
  delete F;
}

// Tab and arrows move the focus through the form's dialog keys; Enter and
// Esc are offered to every control; a control may ask for them itself.
TEST_F(CtlFocus, DialogKeys) {
  TForm* F = NewForm();
  auto* A = new TProbe(F, F, Bounds(5, 5, 40, 20));
  auto* Panel = new TProbe(F, F, Bounds(5, 40, 200, 60));
  Panel->SetTabStop(false);
  auto* B = new TProbe(F, Panel, Bounds(5, 5, 40, 20));
  auto* NoStop = new TProbe(F, Panel, Bounds(50, 5, 40, 20));
  NoStop->SetTabStop(false);
  auto* Cancel = new TGProbe(F, Panel, Bounds(100, 5, 40, 20));
  std::vector<std::pair<TObject*, WPARAM>> DialogKeys;
  Cancel->On = [&](TMessage& M) {
    if (M.Msg == CM_DIALOGKEY) {
      DialogKeys.push_back({Cancel, M.WParam});
      if (M.WParam == VK_ESCAPE) {
        M.Result = 1;
        return true;
      }
    }
    return false;
  };
  std::vector<Word> KeysAtA;
  A->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { KeysAtA.push_back(Key); };
  F->Show();
  A->SetFocus();
  auto Key = [&](WPARAM VK) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK, 1);
    PostMessageW(GetFocus(), WM_KEYUP, VK, 0xC0000001);
    Pump();
  };
  Key(VK_TAB);
  EXPECT_TRUE(B->Focused());
  Key(VK_TAB);  // NoStop is skipped; round to A
  EXPECT_TRUE(A->Focused());
  EXPECT_TRUE(KeysAtA.empty());  // the form took the Tab
  B->SetFocus();
  Key(VK_RIGHT);  // arrows ignore TabStop but stay in the parent
  EXPECT_TRUE(NoStop->Focused());
  Key(VK_RIGHT);
  EXPECT_TRUE(B->Focused());
  // Esc and Enter go round the controls; the graphic one answers Esc.
  A->SetFocus();
  Key(VK_ESCAPE);
  Key(VK_RETURN);
  ASSERT_EQ(DialogKeys.size(), 2u);
  EXPECT_EQ(DialogKeys[0].second, WPARAM(VK_ESCAPE));
  EXPECT_EQ(DialogKeys[1].second, WPARAM(VK_RETURN));
  EXPECT_EQ(KeysAtA, std::vector<Word>{VK_RETURN});  // nobody took Enter: KeyDown sees it
  // A control that wants Tab keeps it.
  KeysAtA.clear();
  A->On = [](TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY && M.WParam == VK_TAB) {
      M.Result = 1;
      return true;
    }
    return false;
  };
  Key(VK_TAB);
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(KeysAtA, std::vector<Word>{VK_TAB});
  // CM_CHILDKEY goes up the parent chain first; an answer consumes the key.
  int ChildKeys = 0;
  Panel->On = [&](TMessage& M) {
    if (M.Msg == CM_CHILDKEY) {
      ++ChildKeys;
      M.Result = M.WParam == 'Q';
      return true;
    }
    return false;
  };
  std::vector<Word> KeysAtB;
  B->OnKeyDown = [&](TObject*, Word& K, TShiftState) { KeysAtB.push_back(K); };
  B->SetFocus();
  Key('Q');
  Key('W');
  EXPECT_EQ(ChildKeys, 2);
  EXPECT_EQ(KeysAtB, std::vector<Word>{'W'});
  delete F;
}

// Pressing any control first cancels the modes of the form's active control.
TEST_F(CtlFocus, PressSendsCancelModeToTheActiveControl) {
  TForm* F = NewForm();
  auto* A = new TProbe(F, F, Bounds(5, 5, 40, 20));
  auto* G = new TGProbe(F, F, Bounds(100, 5, 40, 20));
  std::vector<LPARAM> Cancels;
  A->On = [&](TMessage& M) {
    if (M.Msg == CM_CANCELMODE) Cancels.push_back(M.LParam);
    return false;
  };
  F->Show();
  A->SetFocus();
  ASSERT_TRUE(F->Active());
  PostMessageW(F->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(105, 10));
  PostMessageW(F->Handle(), WM_LBUTTONUP, 0, PointToLParam(105, 10));
  PostMessageW(F->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(200, 150));
  PostMessageW(F->Handle(), WM_RBUTTONUP, 0, PointToLParam(200, 150));
  Pump();
  EXPECT_EQ(Cancels, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(G), reinterpret_cast<LPARAM>(F)}));
  delete F;
}

// Invalidating a control erases its background first unless it is opaque;
// the erase fills with Color.
TEST_F(CtlPaint, EraseUnlessOpaque) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F, Bounds(0, 0, 50, 30));
  P->SetColor(clLime);
  F->Show();
  int Erases = 0;
  TWndMethod Saved = P->WindowProc();
  P->SetWindowProc([&](TMessage& M) {
    if (M.Msg == WM_ERASEBKGND) ++Erases;
    Saved(M);
  });
  UpdateWindow(P->Handle());
  Erases = 0;
  int Paints = P->Paints;
  P->Invalidate();
  P->Update();
  EXPECT_EQ(Erases, 1);
  EXPECT_EQ(P->Paints, Paints + 1);
  P->SetControlStyle(P->ControlStyle() | csOpaque);
  P->Invalidate();
  P->Update();
  EXPECT_EQ(Erases, 1);
  EXPECT_EQ(P->Paints, Paints + 2);
  HDC Mem = CreateCompatibleDC(nullptr);
  HDC ScreenDC = GetDC(nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(ScreenDC, 50, 30);
  ReleaseDC(nullptr, ScreenDC);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  EXPECT_EQ(SendMessageW(P->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Mem), 0), 1);
  EXPECT_EQ(GetPixel(Mem, 49, 29), RGB(0, 255, 0));
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
  delete F;
}

// A graphic control's canvas outside painting takes a DC of the parent
// window, which is given back after the message that used it.
TEST_F(CtlPaint, CanvasOutsidePaintIsGivenBackAfterTheMessage) {
  TForm* F = NewForm();
  auto* G = new TGProbe(F, F, Bounds(10, 10, 20, 20));
  bool HadHandle = false;
  TRect Clip;
  G->OnClick = [&](TObject*) {
    HadHandle = G->Canvas()->Handle() != nullptr;
    Clip = G->Canvas()->ClipRect();
  };
  F->Show();
  PostMessageW(F->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(15, 15));
  PostMessageW(F->Handle(), WM_LBUTTONUP, 0, PointToLParam(15, 15));
  Pump();
  EXPECT_TRUE(HadHandle);
  EXPECT_EQ(Clip, Bounds(0, 0, 20, 20));  // its own coordinates, clipped to it
  EXPECT_FALSE(G->Canvas()->HandleAllocated());
  delete F;
}

// Characters: a control that does not want them offers each to the form as
// CM_DIALOGCHAR (accelerators); Alt+letter arrives as CM_DIALOGCHAR too. The
// form previews keys when asked, and Key 0 stops them there.
TEST_F(CtlFocus, DialogCharsAndKeyPreview) {
  TForm* F = NewForm();
  auto* A = new TProbe(F, F, Bounds(5, 5, 40, 20));
  auto* Accel = new TGProbe(F, F, Bounds(100, 5, 40, 20));
  std::vector<WPARAM> Accels;
  Accel->On = [&](TMessage& M) {
    if (M.Msg == CM_DIALOGCHAR) {
      Accels.push_back(M.WParam);
      M.Result = M.WParam == 'k';
      return true;
    }
    return false;
  };
  std::u16string Typed;
  A->OnKeyPress = [&](TObject*, Char& C) { Typed += C; };
  F->Show();
  A->SetFocus();
  for (WPARAM C : {'j', 'k', 'l'}) PostMessageW(A->Handle(), WM_CHAR, C, 1);
  PostMessageW(A->Handle(), WM_SYSCHAR, 'k', 0x20000001);
  Pump();
  EXPECT_EQ(Accels, (std::vector<WPARAM>{'j', 'k', 'l', 'k'}));
  EXPECT_EQ(Typed, u"jl");
  std::vector<Word> AtForm, AtA;
  F->SetKeyPreview(true);
  F->OnKeyDown = [&](TObject*, Word& K, TShiftState) {
    AtForm.push_back(K);
    if (K == 'S') K = 0;
  };
  A->OnKeyDown = [&](TObject*, Word& K, TShiftState) { AtA.push_back(K); };
  PostMessageW(A->Handle(), WM_KEYDOWN, 'S', 1);
  PostMessageW(A->Handle(), WM_KEYDOWN, 'T', 1);
  Pump();
  EXPECT_EQ(AtForm, (std::vector<Word>{'S', 'T'}));
  EXPECT_EQ(AtA, std::vector<Word>{'T'});
  delete F;
}
