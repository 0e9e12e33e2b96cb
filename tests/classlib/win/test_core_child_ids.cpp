// Child window ids: every child window of ours gets an id of its own when it
// is created, so WM_MEASUREITEM (which names its control by id alone) comes
// back to the control that asked, whatever else sits on the parent.
#include "tests/classlib/win/test_controls_util.h"

#include <set>
#include <string>

#include "classlib/StdCtrls.h"

using namespace ctltest;

namespace {

// An owner-draw list that records the items it is asked to measure and draw.
class TMeasuredList : public TListBox {
 public:
  TMeasuredList(TComponent* AOwner, Integer ABase) : TListBox(AOwner), Base(ABase) {
    SetStyle(lbOwnerDrawVariable);
    OnMeasureItem = [this](TWinControl* C, Integer Index, Integer& Height) {
      EXPECT_EQ(C, this);
      Measured.push_back(Index);
      Height = Base + Index;
    };
    OnDrawItem = [this](TWinControl* C, Integer Index, const TRect& R, TOwnerDrawState) {
      EXPECT_EQ(C, this);
      Drawn.push_back(Index);
      Canvas()->FillRect(R);
    };
  }
  Integer Base;
  std::vector<Integer> Measured, Drawn;
};

std::vector<Integer> Upto(int N) {
  std::vector<Integer> V;
  for (int I = 0; I < N; ++I) V.push_back(I);
  return V;
}

}  // namespace

class CoreChildIds : public AppFixture {};

// Two owner-draw variable lists on one parent, their windows made in either
// order after another child: each is measured and drawn for its own items
// only, with its own heights.
TEST_F(CoreChildIds, TwoOwnerDrawListsMeasureAndDrawTheirOwnItems) {
  for (bool AFirst : {true, false}) {
    SCOPED_TRACE(AFirst ? "A made first" : "B made first");
    TForm* F = NewForm();
    auto* Before = new TProbe(F, F, Bounds(250, 5, 30, 20));
    (void)Before;
    auto* A = new TMeasuredList(F, 11);
    auto* B = new TMeasuredList(F, 23);
    A->SetBounds(5, 5, 110, 150);
    B->SetBounds(120, 5, 110, 150);
    A->Items()->Add(u"a0");  // kept until the window exists
    for (int I = 0; I < 5; ++I) B->Items()->Add(u"b" + IntToStr(I));
    for (TMeasuredList* L : AFirst ? std::vector<TMeasuredList*>{A, B} : std::vector<TMeasuredList*>{B, A}) {
      L->SetParent(F);
      L->HandleNeeded();
    }
    A->Items()->Add(u"a1");
    A->Items()->Add(u"a2");
    EXPECT_EQ(A->Measured, Upto(3));
    EXPECT_EQ(B->Measured, Upto(5));
    for (TMeasuredList* L : {A, B})
      for (int I = 0; I < L->Items()->Count(); ++I)
        EXPECT_EQ(SendMessageW(L->Handle(), LB_GETITEMHEIGHT, I, 0), L->Base + I) << I;
    F->Show();
    for (TMeasuredList* L : {A, B}) RedrawWindow(L->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    for (TMeasuredList* L : {A, B}) {
      std::set<Integer> Drawn(L->Drawn.begin(), L->Drawn.end());
      std::vector<Integer> Want = Upto(L->Items()->Count());
      EXPECT_EQ(std::vector<Integer>(Drawn.begin(), Drawn.end()), Want);
    }
    delete F;
  }
}

// The ids: non-zero, 16 bits, distinct among siblings, also for a window
// made again (a style change recreates the list) and for nested children.
TEST_F(CoreChildIds, EveryChildWindowHasItsOwnId) {
  TForm* F = NewForm();
  auto* Panel = new TProbe(F, F, Bounds(0, 0, 200, 100));
  auto* InPanel = new TProbe(F, Panel, Bounds(5, 5, 30, 20));
  auto* Edit = new TEdit(F);
  Edit->SetBounds(5, 110, 80, 24);
  Edit->SetParent(F);
  auto* List = new TListBox(F);
  List->SetBounds(100, 110, 80, 60);
  List->SetParent(F);
  auto* Other = new TProbe(F, F, Bounds(210, 5, 30, 20));
  F->HandleNeeded();
  auto Check = [&]() {
    std::set<int> Ids;
    for (TWinControl* C : std::initializer_list<TWinControl*>{Panel, Edit, List, Other}) {
      int Id = GetDlgCtrlID(C->Handle());
      EXPECT_GT(Id, 0);
      EXPECT_LT(Id, 0xFFFF);
      EXPECT_TRUE(Ids.insert(Id).second) << "id " << Id << " twice";
      EXPECT_EQ(GetDlgItem(F->Handle(), Id), C->Handle());
    }
    EXPECT_NE(GetDlgCtrlID(InPanel->Handle()), 0);
  };
  Check();
  List->SetStyle(lbOwnerDrawFixed);  // a new window for the list
  Check();
  delete F;
}
