// Forms under Wine: modal loops, closing, deferred delete, the loading
// phase, alignment, anchors and client size before the window exists.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

using namespace ctltest;

class CtlModal : public AppFixture {};

TEST_F(CtlModal, EndsByModalResultFromATimerAndDisablesOtherForms) {
  TForm* Owner = NewForm();
  Owner->Show();
  TForm* Dlg = NewForm();
  bool OwnerDisabledDuring = false;
  auto* T = new TTimer(Dlg);
  T->SetInterval(30);
  T->SetOnTimer([&](TObject*) {
    OwnerDisabledDuring = !IsWindowEnabled(Owner->Handle());
    Dlg->SetModalResult(mrOk);
  });
  EXPECT_EQ(Dlg->ShowModal(), mrOk);
  EXPECT_TRUE(OwnerDisabledDuring);
  EXPECT_TRUE(IsWindowEnabled(Owner->Handle()));
  EXPECT_FALSE(Dlg->Visible());
  EXPECT_FALSE(IsWindowVisible(Dlg->Handle()));
  EXPECT_EQ(Dlg->FormState() & fsModal, 0);
  // A visible form cannot go modal.
  Owner->Show();
  EXPECT_THROW(Owner->ShowModal(), EInvalidOperation);
  delete Dlg;
  delete Owner;
}

// WM_CLOSE ends the loop with mrCancel; OnCloseQuery can refuse once; a
// nested modal form runs inside an outer one.
TEST_F(CtlModal, CloseQueryNestingAndCloseMessage) {
  TForm* Outer = NewForm();
  TForm* Inner = NewForm();
  int Queries = 0;
  Outer->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++Queries > 1; };
  std::string Log;
  auto* T = new TTimer(Outer);
  T->SetInterval(20);
  int Step = 0;
  T->SetOnTimer([&](TObject*) {
    switch (Step++) {
      case 0:
        T->SetEnabled(false);
        Log += "inner:" + std::to_string(Inner->ShowModal()) + " ";
        T->SetEnabled(true);
        break;
      case 2:
        PostMessageW(Outer->Handle(), WM_CLOSE, 0, 0);  // refused by OnCloseQuery
        break;
      case 4:
        Log += std::string("still:") + (Outer->Visible() ? "1" : "0") + " ";
        PostMessageW(Outer->Handle(), WM_CLOSE, 0, 0);
        break;
    }
  });
  auto* TI = new TTimer(Inner);
  TI->SetInterval(20);
  TI->SetOnTimer([&](TObject*) { Inner->SetModalResult(mrYes); });
  EXPECT_EQ(Outer->ShowModal(), mrCancel);
  EXPECT_EQ(Log, "inner:6 still:1 ");
  EXPECT_EQ(Queries, 2);
  delete Inner;
  delete Outer;
}

// OnClose with caFree inside a modal loop frees the form after its loop.
TEST_F(CtlModal, CaFreeReleasesAfterTheLoop) {
  TForm* Dlg = NewForm();
  auto Alive = Dlg->LivenessToken();
  Dlg->OnClose = [](TObject*, TCloseAction& A) { A = caFree; };
  auto* T = new TTimer(Dlg);
  T->SetInterval(20);
  T->SetOnTimer([&](TObject*) { Dlg->SetModalResult(mrOk); });
  EXPECT_EQ(Dlg->ShowModal(), mrOk);
  EXPECT_TRUE(*Alive);  // still there: the loop that ran it has just ended
  Application->HandleMessage();
  EXPECT_FALSE(*Alive);
}

class CtlClose : public AppFixture {};

TEST_F(CtlClose, ActionsOfOnClose) {
  struct Row {
    TCloseAction Action;
    bool QueryAllows;
    bool VisibleAfter, AliveAfterLoop;
  } Rows[] = {
      {caHide, true, false, true},
      {caNone, true, true, true},
      {caFree, true, false, false},
      {caFree, false, true, true},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(int(R.Action) * 10 + R.QueryAllows);
    TForm* F = NewForm();
    auto Alive = F->LivenessToken();
    F->OnCloseQuery = [&](TObject*, bool& C) { C = R.QueryAllows; };
    F->OnClose = [&](TObject*, TCloseAction& A) {
      EXPECT_EQ(A, caHide);
      A = R.Action;
    };
    F->Show();
    PostMessageW(F->Handle(), WM_CLOSE, 0, 0);
    Application->ProcessMessages();  // never frees anything
    ASSERT_TRUE(*Alive);
    if (R.Action != caFree || !R.QueryAllows) {
      EXPECT_EQ(F->Visible(), R.VisibleAfter);
    }
    Application->HandleMessage();
    EXPECT_EQ(*Alive, R.AliveAfterLoop);
    if (*Alive) {
      delete F;
    }
  }
}

// Release inside the form's own click handler: the handler finishes on a
// live object; the next turn of the loop frees it.
TEST_F(CtlClose, ReleaseInsideAHandler) {
  TForm* F = NewForm();
  auto* Btn = new TProbe(F, F, Bounds(5, 5, 40, 20));
  auto FormAlive = F->LivenessToken();
  auto BtnAlive = Btn->LivenessToken();
  bool AliveAtEnd = false;
  Btn->OnClick = [&](TObject*) {
    F->Release();
    Application->ProcessMessages();  // may run anything, but frees nothing
    AliveAtEnd = *FormAlive;
  };
  F->Show();
  PostMessageW(Btn->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
  PostMessageW(Btn->Handle(), WM_LBUTTONUP, 0, PointToLParam(3, 3));
  ASSERT_TRUE(PumpUntil([&] { return AliveAtEnd; }));
  EXPECT_TRUE(*FormAlive);
  Application->HandleMessage();
  EXPECT_FALSE(*FormAlive);
  EXPECT_FALSE(*BtnAlive);  // the parent freed its child
  EXPECT_TRUE(Errors.empty());
}

// A control freed while its own click runs (no Release): the machinery
// touches nothing of it afterwards.
TEST_F(CtlClose, ControlFreedInItsOwnMouseUp) {
  TForm* F = NewForm();
  auto* Popup = new TProbe(F, F, Bounds(5, 5, 40, 20));
  auto Alive = Popup->LivenessToken();
  int Ups = 0;
  Popup->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) {
    ++Ups;
    delete Popup;
  };
  F->Show();
  HWND H = Popup->Handle();
  PostMessageW(H, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
  PostMessageW(H, WM_LBUTTONUP, 0, PointToLParam(3, 3));
  Pump();
  EXPECT_EQ(Ups, 1);
  EXPECT_FALSE(*Alive);
  EXPECT_FALSE(IsWindow(H));
  EXPECT_EQ(F->ControlCount(), 0);
  delete F;
}

class CtlLoading : public AppFixture {};

namespace {

class TLoadProbe : public TProbe {
 public:
  TLoadProbe(TComponent* O, TWinControl* P, std::string N, std::string& Log)
      : TProbe(O, P), FName(std::move(N)), FLog(Log) {}

 protected:
  void Loaded() override {
    FLog += FName + (ComponentState().Contains(csLoading) ? "(loading) " : " ");
    TProbe::Loaded();
  }

 private:
  std::string FName;
  std::string& FLog;
};

}  // namespace

TEST_F(CtlLoading, LoadedInCreationOrderThenOnCreateAndOneAlignment) {
  std::string Log;
  TForm* F = NewForm();
  F->OnCreate = [&](TObject*) { Log += "create "; };
  F->BeginLoading();
  auto* A = new TLoadProbe(F, F, "A", Log);
  auto* B = new TLoadProbe(F, F, "B", Log);
  EXPECT_TRUE(A->ComponentState().Contains(csLoading));
  A->SetBounds(0, 0, 50, 30);
  B->SetBounds(0, 0, 50, 20);
  A->SetAlign(alTop);
  B->SetAlign(alTop);
  // Nothing aligned while loading.
  EXPECT_EQ(B->Top(), 0);
  EXPECT_EQ(A->Width(), 50);
  F->EndLoading();
  F->DoCreate();
  EXPECT_EQ(Log, "A(loading) B(loading) create ");
  // Aligned once at the end, in creation order.
  EXPECT_EQ(A->BoundsRect(), Bounds(0, 0, F->ClientWidth(), 30));
  EXPECT_EQ(B->BoundsRect(), Bounds(0, 30, F->ClientWidth(), 20));
  EXPECT_FALSE(A->ComponentState().Contains(csLoading));
  delete F;
}

// Outside loading the control just aligned wins ties: two alTop panels made
// with Top 0 stack in reverse order. Each kind in its order.
TEST_F(CtlLoading, AlignmentOrderAndTies) {
  TForm* F = NewForm();
  F->SetClientSize(200, 100);
  auto* P1 = new TProbe(F, F, Bounds(0, 0, 10, 10));
  P1->SetAlign(alTop);
  auto* P2 = new TProbe(F, F, Bounds(0, 0, 10, 15));
  P2->SetAlign(alTop);
  auto* L = new TProbe(F, F, Bounds(0, 0, 20, 10));
  L->SetAlign(alLeft);
  auto* R = new TProbe(F, F, Bounds(0, 0, 30, 10));
  R->SetAlign(alRight);
  auto* Bt = new TProbe(F, F, Bounds(0, 0, 10, 12));
  Bt->SetAlign(alBottom);
  auto* C = new TProbe(F, F, Bounds(0, 0, 1, 1));
  C->SetAlign(alClient);
  EXPECT_EQ(P2->BoundsRect(), Bounds(0, 0, 200, 15));
  EXPECT_EQ(P1->BoundsRect(), Bounds(0, 15, 200, 10));
  EXPECT_EQ(Bt->BoundsRect(), Bounds(0, 88, 200, 12));
  EXPECT_EQ(L->BoundsRect(), Bounds(0, 25, 20, 63));
  EXPECT_EQ(R->BoundsRect(), Bounds(170, 25, 30, 63));
  EXPECT_EQ(C->BoundsRect(), Bounds(20, 25, 150, 63));
  // Hiding one closes the gap; the window's resize realigns.
  P2->SetVisible(false);
  EXPECT_EQ(P1->Top(), 0);
  F->Show();
  F->SetClientSize(300, 150);
  EXPECT_EQ(C->BoundsRect(), Bounds(20, 10, 250, 128));
  delete F;
}

TEST_F(CtlLoading, AnchorsAndClientSizeBeforeTheWindow) {
  TForm* F = NewForm();
  F->SetClientSize(200, 100);
  EXPECT_EQ(F->ClientWidth(), 200);  // kept while there is no window
  auto* Right = new TProbe(F, F, Bounds(150, 10, 40, 20));
  Right->SetAnchors(akRight | akTop);
  auto* Stretch = new TProbe(F, F, Bounds(10, 50, 180, 40));
  Stretch->SetAnchors(akLeft | akTop | akRight | akBottom);
  F->HandleNeeded();
  RECT CR{};
  GetClientRect(F->Handle(), &CR);
  EXPECT_EQ(CR.right, 200);  // applied against the real frame
  EXPECT_EQ(CR.bottom, 100);
  EXPECT_GT(F->Width(), 200);
  F->SetClientSize(300, 160);
  EXPECT_EQ(Right->BoundsRect(), Bounds(250, 10, 40, 20));
  EXPECT_EQ(Stretch->BoundsRect(), Bounds(10, 50, 280, 100));
  delete F;
}
