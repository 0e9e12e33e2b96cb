// The wheel chain, context menus and the in-process drag of controls.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

#include "classlib/Menus.h"

using namespace ctltest;

namespace {

WPARAM WheelWParam(int Delta, WORD Keys = 0) { return MAKEWPARAM(Keys, static_cast<WORD>(static_cast<SHORT>(Delta))); }

// A popup menu that records where and for whom it was asked to show.
class TFakePopup : public TPopupMenu {
 public:
  explicit TFakePopup(TComponent* AOwner) : TPopupMenu(AOwner) {}
  struct Call {
    Integer X, Y;
    TComponent* For;
  };
  std::vector<Call> Calls;
  void Popup(Integer X, Integer Y) override { Calls.push_back({X, Y, PopupComponent()}); }
};

}  // namespace

class CoreWheel : public AppFixture {};

// Whatever window gets the wheel, the form's focused control is asked first,
// then its parents up to the form; the native default runs only when nobody
// took it, and then without a second round.
TEST_F(CoreWheel, FocusedControlThenParentsThenNative) {
  TForm* F = NewForm();
  auto* Panel = new TProbe(F, F, Bounds(0, 0, 200, 120));
  Panel->SetTabStop(false);
  auto* A = new TProbe(F, Panel, Bounds(5, 5, 60, 30));
  auto* Other = new TProbe(F, F, Bounds(220, 5, 60, 30));
  std::string Log;
  bool PanelTakes = false, FormTakes = false;
  A->OnMouseWheel = [&](TObject*, TShiftState S, Integer D, TPoint P, bool&) {
    Log += "A(" + std::to_string(D) + "," + std::to_string(P.X) + "," + std::to_string(P.Y) +
           ((S & ssShift) ? ",shift" : "") + ") ";
  };
  Panel->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& H) {
    Log += "panel-down ";
    H = PanelTakes;
  };
  Panel->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& H) {
    Log += "panel-up ";
    H = PanelTakes;
  };
  F->OnMouseWheel = [&](TObject*, TShiftState, Integer, TPoint, bool& H) {
    Log += "form ";
    H = FormTakes;
  };
  // What reaches the panel's window from below is the native default passing
  // the wheel up.
  int NativeAtPanel = 0;
  TWndMethod Saved = Panel->WindowProc();
  Panel->SetWindowProc([&](TMessage& M) {
    if (M.Msg == WM_MOUSEWHEEL) ++NativeAtPanel;
    Saved(M);
  });
  // The sign of the control message: its whole WParam as a signed 32-bit number.
  std::vector<int32_t> Signs;
  A->On = [&](TMessage& M) {
    if (M.Msg == CM_MOUSEWHEEL) Signs.push_back(static_cast<int32_t>(M.WParam) < 0 ? -1 : 1);
    return false;
  };
  F->Show();
  A->SetFocus();
  struct Row {
    HWND To;
    int Delta;
    bool Panel, Form;
    const char* Want;
    int Native;
  } Rows[] = {
      {A->Handle(), -120, true, false, "A(-120,100,200,shift) panel-down ", 0},
      {Other->Handle(), 120, true, false, "A(120,100,200,shift) panel-up ", 0},  // not the window under it
      {A->Handle(), 120, false, true, "A(120,100,200,shift) panel-up form ", 0},
      {A->Handle(), -120, false, false, "A(-120,100,200,shift) panel-down form ", 1},
      {A->Handle(), 60, true, false, "A(60,100,200,shift) form ", 1},  // half a notch: no up yet
      {A->Handle(), 60, true, false, "A(60,100,200,shift) panel-up ", 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Want);
    Log.clear();
    NativeAtPanel = 0;
    PanelTakes = R.Panel;
    FormTakes = R.Form;
    PostMessageW(R.To, WM_MOUSEWHEEL, WheelWParam(R.Delta, MK_SHIFT), PointToLParam(100, 200));
    Pump();
    EXPECT_EQ(Log, R.Want);
    EXPECT_EQ(NativeAtPanel, R.Native);
  }
  EXPECT_EQ(Signs, (std::vector<int32_t>{-1, 1, 1, -1, 1, 1}));
  // A handler of OnMouseWheel ends the chain at once.
  Log.clear();
  A->OnMouseWheel = [&](TObject*, TShiftState, Integer, TPoint, bool& H) {
    Log += "A ";
    H = true;
  };
  PostMessageW(A->Handle(), WM_MOUSEWHEEL, WheelWParam(-240), PointToLParam(1, 1));
  Pump();
  EXPECT_EQ(Log, "A ");
  delete F;
}

class CoreContextMenu : public AppFixture {};

// WM_CONTEXTMENU: the graphic child under the point asks first; OnContextPopup
// may take it; else the control's popup menu shows for it; else the request
// goes up to the parent window. (-1, -1) comes from the keyboard.
TEST_F(CoreContextMenu, GraphicChildHandlerPopupAndBubbling) {
  TForm* F = NewForm();
  auto* G = new TGProbe(F, F, Bounds(10, 10, 40, 30));
  new TGProbe(F, F, Bounds(60, 10, 40, 30));  // a graphic control without a menu
  auto* W = new TProbe(F, F, Bounds(120, 10, 60, 40));
  auto* GMenu = new TFakePopup(F);
  auto* FormMenu = new TFakePopup(F);
  G->SetPopupMenu(GMenu);
  F->SetPopupMenu(FormMenu);
  bool GTakes = false;
  std::vector<TPoint> GAsked, WAsked;
  G->OnContextPopup = [&](TObject*, TPoint P, bool& Handled) {
    GAsked.push_back(P);
    Handled = GTakes;
  };
  W->OnContextPopup = [&](TObject*, TPoint P, bool&) { WAsked.push_back(P); };
  F->Show();
  TPoint Org = F->ClientOrigin();
  auto Ask = [&](HWND To, Integer X, Integer Y) {
    return SendMessageW(To, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(To), PointToLParam(X, Y));
  };
  // Over G: its handler sees its own coordinates, then its menu shows.
  EXPECT_NE(Ask(F->Handle(), Org.X + 15, Org.Y + 20), 0);
  ASSERT_EQ(GAsked.size(), 1u);
  EXPECT_EQ(GAsked[0], TPoint(5, 10));
  ASSERT_EQ(GMenu->Calls.size(), 1u);
  EXPECT_EQ(GMenu->Calls[0].X, Org.X + 15);
  EXPECT_EQ(GMenu->Calls[0].Y, Org.Y + 20);
  EXPECT_EQ(GMenu->Calls[0].For, G);
  // A handler that takes it: no menu.
  GTakes = true;
  Ask(F->Handle(), Org.X + 15, Org.Y + 20);
  EXPECT_EQ(GMenu->Calls.size(), 1u);
  EXPECT_TRUE(FormMenu->Calls.empty());
  // Over a graphic control without a menu: the form's own.
  Ask(F->Handle(), Org.X + 70, Org.Y + 20);
  ASSERT_EQ(FormMenu->Calls.size(), 1u);
  EXPECT_EQ(FormMenu->Calls[0].For, F);
  // A windowed child without a menu passes it up through the default
  // procedure to the form.
  Ask(W->Handle(), Org.X + 130, Org.Y + 15);
  ASSERT_EQ(WAsked.size(), 1u);
  EXPECT_EQ(WAsked[0], TPoint(10, 5));
  ASSERT_EQ(FormMenu->Calls.size(), 2u);
  EXPECT_EQ(FormMenu->Calls[1].For, F);
  EXPECT_EQ(FormMenu->Calls[1].X, Org.X + 130);
  // From the keyboard: (-1, -1) to the handler, the menu at the client origin
  // of the control whose menu it is.
  Ask(W->Handle(), -1, -1);
  ASSERT_EQ(WAsked.size(), 2u);
  EXPECT_EQ(WAsked[1], TPoint(-1, -1));
  ASSERT_EQ(FormMenu->Calls.size(), 3u);
  EXPECT_EQ(FormMenu->Calls[2].X, Org.X);
  EXPECT_EQ(FormMenu->Calls[2].Y, Org.Y);
  // Nothing anywhere: unanswered.
  F->SetPopupMenu(nullptr);
  EXPECT_EQ(Ask(W->Handle(), Org.X + 130, Org.Y + 15), 0);
  delete F;
}

class CoreDrag : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    F = NewForm();
    Source = new TProbe(F, F, Bounds(10, 10, 40, 40));
    Target = new TProbe(F, F, Bounds(100, 10, 60, 40));
    Picky = new TGProbe(F, F, Bounds(180, 10, 60, 40));
    Deaf = new TProbe(F, F, Bounds(100, 100, 60, 40));
    auto Over = [this](const char* Name, bool AcceptLeftHalf) {
      return [this, Name, AcceptLeftHalf](TObject*, TObject* Src, Integer X, Integer, TDragState S, bool& Accept) {
        static const char* States[] = {"enter", "leave", "move"};
        Log += std::string(Name) + ":" + States[S] + (Src == Source ? "" : "?") + " ";
        if (AcceptLeftHalf) Accept = X < 30;
      };
    };
    Target->OnDragOver = Over("T", false);
    Picky->OnDragOver = Over("G", true);
    auto Drop = [this](const char* Name) {
      return [this, Name](TObject*, TObject*, Integer X, Integer Y) {
        Log += std::string(Name) + ":drop@" + std::to_string(X) + "," + std::to_string(Y) + " ";
      };
    };
    Target->OnDragDrop = Drop("T");
    Picky->OnDragDrop = Drop("G");
    Deaf->OnDragDrop = Drop("D");
    Source->OnEndDrag = [this](TObject*, TObject* T, Integer X, Integer Y) {
      Log += std::string("end:") + (!T ? "nil" : T == Target ? "T" : T == Picky ? "G" : "?") + "@" + std::to_string(X) +
             "," + std::to_string(Y) + " ";
    };
    Source->OnClick = [this](TObject*) { Log += "click "; };
    Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Log += "down "; };
    F->Show();
    // The real pointer stays over the form, away from the controls.
    POINT P{5, 180};
    ClientToScreen(F->Handle(), &P);
    SetCursorPos(P.x, P.y);
    Pump();
  }
  void TearDown() override {
    delete F;
    EXPECT_TRUE(Errors.empty());
    AppFixture::TearDown();
  }
  // Mouse messages go to the source's window, which holds the capture;
  // (X, Y) are form client coordinates.
  void Mouse(UINT Msg, Integer X, Integer Y, WPARAM Keys = 0) {
    PostMessageW(Source->Handle(), Msg, Keys, PointToLParam(X - Source->Left(), Y - Source->Top()));
    Pump();
  }
  TForm* F = nullptr;
  TProbe* Source = nullptr;
  TProbe* Target = nullptr;
  TGProbe* Picky = nullptr;
  TProbe* Deaf = nullptr;
  std::string Log;
};

// Automatic drag: the press starts nothing visible (no down, no click); the
// drag begins 5 px away; each move asks the control under the cursor (a
// graphic one too); the release drops on an accepting target and ends the
// source's drag with it.
TEST_F(CoreDrag, ThresholdOverDropEndOrderAndCursor) {
  Source->SetDragMode(dmAutomatic);
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  EXPECT_TRUE(Source->Dragging());
  EXPECT_FALSE(DragStarted());
  EXPECT_EQ(GetCapture(), Source->Handle());
  Mouse(WM_MOUSEMOVE, 24, 20, MK_LBUTTON);  // 4 px: not yet
  EXPECT_FALSE(DragStarted());
  Mouse(WM_MOUSEMOVE, 25, 20, MK_LBUTTON);  // 5 px: started, over the source itself (no handler)
  EXPECT_TRUE(DragStarted());
  EXPECT_EQ(DragTarget(), Source);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crNoDrop));
  Mouse(WM_MOUSEMOVE, 110, 20, MK_LBUTTON);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crDrag));
  EXPECT_NE(Screen->Cursors(crDrag), Screen->Cursors(crDefault));  // a cursor of its own
  Mouse(WM_MOUSEMOVE, 120, 25, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 220, 20, MK_LBUTTON);  // right half of the graphic target: refused
  EXPECT_EQ(DragTarget(), Picky);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crNoDrop));
  Mouse(WM_MOUSEMOVE, 190, 30, MK_LBUTTON);  // left half: accepted
  EXPECT_EQ(GetCursor(), Screen->Cursors(crDrag));
  Mouse(WM_LBUTTONUP, 190, 30);
  EXPECT_EQ(Log,
            "T:enter T:move T:move T:leave G:enter G:move G:move G:leave G:drop@10,20 end:G@10,20 ");
  EXPECT_FALSE(Source->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  // A press and release without moving: no drop, the drag ends with no target.
  Log.clear();
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 22, 21, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 22, 21);
  EXPECT_EQ(Log, "end:nil@0,0 ");
}

// A manual drag from OnMouseDown; a release over a control without a drag
// handler drops nothing; Esc and the right button cancel.
TEST_F(CoreDrag, RefusedDropEscAndRightButtonCancel) {
  Source->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, Integer, Integer) {
    Log += "down ";
    if (B == mbLeft) Source->BeginDrag(false);
  };
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 120, 110, MK_LBUTTON);  // over Deaf: no OnDragOver, so no accept
  EXPECT_EQ(DragTarget(), Deaf);
  Mouse(WM_LBUTTONUP, 120, 110);
  EXPECT_EQ(Log, "down end:nil@0,0 ");
  // Esc: the target hears it leave; the focused control never sees the key.
  std::vector<Word> Keys;
  Deaf->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Keys.push_back(K); };
  Deaf->SetFocus();
  Log.clear();
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 110, 20, MK_LBUTTON);
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_FALSE(Source->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  Mouse(WM_LBUTTONUP, 110, 20);  // a late release drops nothing
  EXPECT_EQ(Log, "down T:enter T:move T:leave end:nil@0,0 ");
  EXPECT_TRUE(Keys.empty());
  // The right button.
  Log.clear();
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 110, 20, MK_LBUTTON);
  Mouse(WM_RBUTTONDOWN, 110, 20, MK_LBUTTON | MK_RBUTTON);
  EXPECT_FALSE(Source->Dragging());
  EXPECT_EQ(Log, "down T:enter T:move T:leave end:nil@0,0 ");
  // Immediate: the first move needs no distance; EndDrag(true) drops at once
  // (a handler that leaves Accept alone accepts).
  Log.clear();
  Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Source->BeginDrag(true); };
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  EXPECT_TRUE(DragStarted());
  Mouse(WM_MOUSEMOVE, 111, 21, MK_LBUTTON);
  Source->EndDrag(true);
  EXPECT_EQ(Log, "T:enter T:move T:leave T:drop@11,11 end:T@11,11 ");
}

// A target freed in its own handler, or a source freed during the drag,
// leaves no dangling drag behind.
TEST_F(CoreDrag, ControlsFreedDuringTheDrag) {
  Source->SetDragMode(dmAutomatic);
  Target->OnDragOver = [this](TObject*, TObject*, Integer, Integer, TDragState S, bool& Accept) {
    if (S == dsDragMove) {
      Accept = true;
      delete Target;
      Target = nullptr;
    }
  };
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 110, 20, MK_LBUTTON);
  EXPECT_EQ(DragTarget(), nullptr);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crNoDrop));
  Mouse(WM_LBUTTONUP, 110, 20);
  EXPECT_EQ(Log, "end:nil@0,0 ");
  Log.clear();
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 190, 20, MK_LBUTTON);
  delete Source;
  Source = nullptr;
  EXPECT_EQ(DragSource(), nullptr);
  EXPECT_EQ(Log, "G:enter G:move ");
}

class CoreCancelMode : public AppFixture {};

namespace {

// A parentless no-activate popup, as a drop-down list is.
class TPopupProbe : public TProbe {
 public:
  using TProbe::TProbe;

 protected:
  void CreateParams(TCreateParams& P) override {
    TProbe::CreateParams(P);
    P.Style = WS_POPUP;
    P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    P.WndParent = nullptr;
  }
};

}  // namespace

// Where a press lands -> the CM_CANCELMODE the active control gets (LParam =
// the pressed control), if any.
TEST_F(CoreCancelMode, PressesEverywhere) {
  TForm* F = NewForm();
  auto* A = new TProbe(F, F, Bounds(5, 5, 40, 20));
  auto* B = new TProbe(F, F, Bounds(60, 5, 40, 20));
  auto* G = new TGProbe(F, F, Bounds(120, 5, 40, 20));
  auto* List = new TPopupProbe(nullptr);
  List->SetBounds(400, 400, 60, 60);
  TForm* Other = NewForm();
  Other->SetLeft(400);
  auto* OtherCtl = new TProbe(Other, Other, Bounds(5, 5, 40, 20));
  std::vector<LPARAM> Cancels;
  A->On = [&](TMessage& M) {
    if (M.Msg == CM_CANCELMODE) Cancels.push_back(M.LParam);
    return false;
  };
  Other->Show();
  F->Show();
  ShowWindow(List->Handle(), SW_SHOWNOACTIVATE);
  A->SetFocus();
  ASSERT_TRUE(F->Active());
  auto L = [](TObject* O) { return reinterpret_cast<LPARAM>(O); };
  struct Row {
    const char* Where;
    HWND To;
    UINT Msg;
    WPARAM W;
    LPARAM Pos;
    std::vector<LPARAM> Want;
  } Rows[] = {
      {"active control", A->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2), {L(A)}},
      {"sibling, right", B->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(2, 2), {L(B)}},
      {"graphic, middle double", F->Handle(), WM_MBUTTONDBLCLK, MK_MBUTTON, PointToLParam(125, 10), {L(G)}},
      {"form frame", F->Handle(), WM_NCLBUTTONDOWN, HTBORDER, PointToLParam(0, 0), {L(F)}},
      {"popup list", List->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2), {}},
      {"inactive form", OtherCtl->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2), {}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Where);
    Cancels.clear();
    SendMessageW(R.To, R.Msg, R.W, R.Pos);
    ReleaseCapture();
    EXPECT_EQ(Cancels, R.Want);
    A->SetFocus();
  }
  // The press of another menu or drop-down sends it with LParam 0.
  Cancels.clear();
  F->SendCancelMode(nullptr);
  EXPECT_EQ(Cancels, std::vector<LPARAM>{0});
  delete List;
  delete Other;
  delete F;
}

// A graphic source drags through its parent window's capture; the parent's
// WM_CANCELMODE (a modal form opening) ends the drag.
TEST_F(CoreDrag, GraphicSourceThroughItsParent) {
  auto* GS = new TGProbe(F, F, Bounds(10, 100, 40, 30));
  GS->SetDragMode(dmAutomatic);
  GS->OnEndDrag = [this](TObject*, TObject* T, Integer X, Integer Y) {
    Log += std::string("gend:") + (!T ? "nil" : T == Target ? "T" : "?") + "@" + std::to_string(X) + "," +
           std::to_string(Y) + " ";
  };
  HWND H = F->Handle();
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(20, 110));
  Pump();
  EXPECT_TRUE(GS->Dragging());
  EXPECT_EQ(GetCapture(), H);
  EXPECT_EQ(GetCaptureControl(), GS);
  PostMessageW(H, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(112, 22));
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(112, 22));
  Pump();
  EXPECT_EQ(Log, "T:enter? T:move? T:leave? T:drop@12,12 gend:T@12,12 ");  // "?": the source is not Source
  EXPECT_EQ(GetCapture(), nullptr);
  Log.clear();
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(20, 110));
  PostMessageW(H, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(112, 22));
  Pump();
  SendMessageW(H, WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(GS->Dragging());
  EXPECT_EQ(Log, "T:enter? T:move? T:leave? gend:nil@0,0 ");
}
