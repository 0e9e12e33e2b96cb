// The class library's controls together on one shown form, as a window of
// the program shows them: each paints its own place, none paints over a
// neighbour or leaves the form's background unpainted. The form is saved as
// a screenshot for people reviewing the look.
#include "tests/classlib/win/test_controls_util.h"

#include <functional>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "common/Screens.h"

using namespace ctltest;

namespace {

class FormsLook : public AppFixture {
 protected:
  TForm* F = nullptr;
  void SetUp() override {
    AppFixture::SetUp();
    F = NewForm();
    F->SetBounds(40, 40, 520, 300);
    F->Font()->SetName(u"Arial");
    F->Font()->SetHeight(-12);
  }
  void TearDown() override {
    delete F;
    AppFixture::TearDown();
  }
  template <class T>
  T* Put(TWinControl* Parent, TRect R) {
    auto* C = new T(F);
    C->SetBoundsRect(R);
    C->SetParent(Parent);
    return C;
  }
};

// A control's rectangle in the coordinates of the captured window W.
TRect InWindow(HWND W, TControl* C) {
  RECT WR{};
  GetWindowRect(W, &WR);
  TRect B = C->BoundsRect();
  POINT P{B.Left, B.Top};
  ClientToScreen(C->Parent()->Handle(), &P);
  return Bounds(P.x - WR.left, P.y - WR.top, B.Width(), B.Height());
}

int Count(const lumigra_test::TWindowPixels& Px, TRect R, const std::function<bool(std::uint32_t)>& Is) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) N += Is(Px.At(X, Y));
  return N;
}

// TColor (0x00BBGGRR) as the captured 0x00RRGGBB.
std::uint32_t Rgb(TColor C) {
  TColor V = ColorToRGB(C);
  return ((V & 0xFF) << 16) | (V & 0xFF00) | ((V >> 16) & 0xFF);
}

bool Dark(std::uint32_t C) { return ((C >> 16) & 0xFF) < 0x60 && ((C >> 8) & 0xFF) < 0x60 && (C & 0xFF) < 0x60; }

}  // namespace

TEST_F(FormsLook, EveryControlPaintsItsOwnPlace) {
  auto* Caption = Put<TLabel>(F, Bounds(10, 14, 40, 16));
  Caption->SetCaption(u"Name:");
  auto* Edit = Put<TEdit>(F, Bounds(60, 10, 160, 24));
  Edit->SetText(u"Lumigra");
  auto* List = Put<TListBox>(F, Bounds(10, 44, 140, 96));
  for (const char16_t* S : {u"Alpha", u"Beta", u"Gamma"}) List->Items()->Add(S);
  List->SetItemIndex(1);
  auto* Tree = Put<TTreeView>(F, Bounds(160, 44, 150, 96));
  TTreeNode* Root = Tree->Items()->Add(nullptr, u"Pictures");
  Tree->Items()->AddChild(Root, u"Holiday");
  Tree->Items()->AddChild(Root, u"Garden");
  Root->Expand(false);
  auto* Pages = Put<TPageControl>(F, Bounds(320, 10, 180, 130));
  TLabel* OnPage = nullptr;
  for (const char16_t* S : {u"Layers", u"History"}) {
    auto* Sheet = new TTabSheet(F);
    Sheet->SetPageControl(Pages);
    Sheet->SetCaption(S);
    if (!OnPage) {
      OnPage = Put<TLabel>(Sheet, Bounds(8, 8, 80, 16));
      OnPage->SetCaption(u"First page");
    }
  }
  Pages->SetActivePageIndex(0);
  auto* Tabs = Put<TTabControl>(F, Bounds(10, 150, 300, 60));
  for (const char16_t* S : {u"Left", u"Middle", u"Right"}) Tabs->Tabs()->Add(S);
  Tabs->SetTabIndex(1);
  auto* Frame = Put<TBevel>(F, Bounds(320, 150, 180, 60));
  Frame->SetShape(bsBox);
  Frame->SetStyle(bsLowered);
  auto* Dot = Put<TShape>(F, Bounds(340, 160, 40, 40));
  Dot->Brush()->SetColor(clRed);
  F->Show();
  Pump();

  HWND W = F->Handle();
  lumigra_test::TWindowPixels Px = lumigra_test::CaptureWindow(W);
  ASSERT_FALSE(Px.Pixels.empty()) << "the form's pixels could not be copied";
  lumigra_test::SaveWindowScreen(W, "form-with-controls");
  auto Is = [](std::uint32_t Want) { return [Want](std::uint32_t C) { return C == Want; }; };
  // Text where each control writes it.
  for (TControl* C : std::initializer_list<TControl*>{Caption, Edit, List, Tree, OnPage})
    EXPECT_GT(Count(Px, InWindow(W, C), Dark), 10) << ToUtf8(C->ClassName()) << " shows no text";
  // The edit, the list and the tree keep the window colour in their empty
  // corners; the list's chosen row is highlighted.
  for (TControl* C : std::initializer_list<TControl*>{Edit, List, Tree}) {
    TRect R = InWindow(W, C);
    EXPECT_EQ(Px.At(R.Right - 6, R.Bottom - 6), Rgb(clWindow)) << ToUtf8(C->ClassName());
  }
  TRect Row = List->ItemRect(1);
  RECT WR{};
  GetWindowRect(W, &WR);
  POINT Origin{0, 0};
  ClientToScreen(List->Handle(), &Origin);
  Row = Bounds(Row.Left + Origin.x - WR.left, Row.Top + Origin.y - WR.top, Row.Width(), Row.Height());
  EXPECT_GT(Count(Px, Row, Is(Rgb(clHighlight))), Row.Width() * Row.Height() / 3);
  // The bevel's lowered box, the shape's fill, and the form between them all.
  TRect B = InWindow(W, Frame);
  EXPECT_EQ(Px.At(B.Left + 60, B.Top), Rgb(clBtnShadow));
  EXPECT_EQ(Px.At(B.Left + 60, B.Bottom - 1), Rgb(clBtnHighlight));
  TRect D = InWindow(W, Dot);
  EXPECT_EQ(Px.At(D.Left + 20, D.Top + 20), Rgb(clRed));
  TRect Gap = InWindow(W, Edit);
  Gap = Bounds(Gap.Right + 4, Gap.Top, 90, 20);  // between the edit and the page control
  EXPECT_EQ(Count(Px, Gap, Is(Rgb(F->Color()))), Gap.Width() * Gap.Height());
  // The tab controls: the page control's sheet and both strips are drawn in
  // the button face, with the chosen tab's text.
  EXPECT_GT(Count(Px, InWindow(W, Tabs), Dark), 20);
  EXPECT_GT(Count(Px, InWindow(W, Pages), Dark), 20);
}
