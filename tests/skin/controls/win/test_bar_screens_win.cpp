// Pictures of the bars in their main states for people to review: scroll
// bars horizontal and vertical, the track bar and the slider, the horizontal
// item list, the splitters, the status bar and the hint, in the default look
// and each made scheme, written as <scheme>/<control>-<state>.png. The
// checks only ask that states which should look different do (on the
// default look; the schemes' pictures are for review).
#include <functional>

#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinHint.h"
#include "skin/controls/win/SkinHorzListBox.h"

using namespace ctl;

namespace {

class BarScreens : public SkinCtlTest {
 protected:
  std::vector<std::pair<String, TspSkinData*>> Schemes() { return DefaultAndMadeSchemes(Loaded); }
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
};

bool Same(TBitmap* A, TBitmap* B) {
  if (A->Width() != B->Width() || A->Height() != B->Height()) return false;
  for (Integer Y = 0; Y < A->Height(); ++Y)
    for (Integer X = 0; X < A->Width(); ++X)
      if (Px(A, X, Y) != Px(B, X, Y)) return false;
  return true;
}

struct TState {
  const char16_t* Name;
  std::function<void(TControl*)> Enter, Leave;
};

void Shoot(const String& Scheme, const String& Control, TControl* C, const std::vector<TState>& States) {
  auto Normal = Render(C);
  SaveScreen(Scheme, Control, u"normal", Normal.get());
  for (const TState& S : States) {
    S.Enter(C);
    auto B = Render(C);
    SaveScreen(Scheme, Control, S.Name, B.get());
    if (Scheme == u"default") EXPECT_FALSE(Same(Normal.get(), B.get())) << ToUtf8(Control) << " " << ToUtf8(S.Name);
    if (S.Leave) S.Leave(C);
  }
}

TEST_F(BarScreens, ScrollBars) {
  for (const auto& [Scheme, Skin] : Schemes())
    for (bool Vertical : {false, true}) {
      auto* B = new TspSkinScrollBar(Host);
      B->SetParent(Host);
      if (Vertical) {
        B->SetKind(sbVertical);
        B->SetDefaultWidth(19);
        B->SetDefaultHeight(0);
        B->SetBounds(10, 40, 19, 200);
      } else {
        B->SetBounds(10, 10, 200, 19);
      }
      B->SetSkinData(Skin);
      B->SetCanFocused(true);
      B->SetPageSize(20);
      B->SetPosition(30);
      B->HandleNeeded();
      const Integer L = Vertical ? B->Height() : B->Width();
      auto At = [&](Integer Along) { return Vertical ? TPoint(9, Along) : TPoint(Along, 9); };
      const TPoint Up = At(L - 9);
      B->CalcRects();
      const TPoint ThumbMid(B->PartRect(sbpThumb).Left + B->PartRect(sbpThumb).Width() / 2,
                            B->PartRect(sbpThumb).Top + B->PartRect(sbpThumb).Height() / 2);
      Shoot(Scheme, Vertical ? u"vscrollbar" : u"hscrollbar", B,
            {{u"hot-arrow", [&](TControl*) { Move(B, Up.X, Up.Y, false); },
              [&](TControl*) { B->Perform(CM_MOUSELEAVE, 0, 0); }},
             {u"pressed-arrow", [&](TControl*) { Press(B, Up.X, Up.Y); }, [&](TControl*) { Release(B, Up.X, Up.Y); }},
             {u"thumb-dragged",
              [&](TControl*) {
                Press(B, ThumbMid.X, ThumbMid.Y);
                Move(B, ThumbMid.X + (Vertical ? 0 : 40), ThumbMid.Y + (Vertical ? 40 : 0));
              },
              [&](TControl*) { Release(B, ThumbMid.X, ThumbMid.Y); }},
             {u"focused",
              [&](TControl*) {
                B->SetFocus();
                Pump();
              },
              [&](TControl*) {
                SharedForm()->SetFocus();
                Pump();
              }},
             {u"disabled", [&](TControl*) { B->SetEnabled(false); }, [&](TControl*) { B->SetEnabled(true); }}});
      if (!Vertical) {
        B->SetBoth(true);
        B->SetBothMarkerWidth(19);
        SaveScreen(Scheme, u"hscrollbar", u"both", Render(B).get());
      }
      delete B;
    }
}

TEST_F(BarScreens, TrackBarAndSlider) {
  for (const auto& [Scheme, Skin] : Schemes()) {
    auto* T = new TspSkinTrackBar(Host);
    T->SetParent(Host);
    T->SetBounds(10, 10, 125, 20);
    T->SetSkinData(Skin);
    T->SetCanFocused(true);
    T->HandleNeeded();
    T->CalcButton();
    const TRect BR = T->ButtonRectNow();
    Shoot(Scheme, u"trackbar", T,
          {{u"dragged",
            [&](TControl*) {
              Press(T, BR.Left + 2, 10);
              Move(T, BR.Left + 30, 10);
            },
            [&](TControl*) { Release(T, BR.Left + 30, 10); }},
           {u"focused",
            [&](TControl*) {
              T->SetFocus();
              Pump();
            },
            [&](TControl*) {
              SharedForm()->SetFocus();
              Pump();
            }},
           {u"disabled", [&](TControl*) { T->SetEnabled(false); }, [&](TControl*) { T->SetEnabled(true); }}});

    auto* S = new TspSkinSlider(Host);
    S->SetParent(Host);
    S->SetBounds(10, 40, 200, 40);
    S->SetSkinData(Skin);
    S->HandleNeeded();
    const TRect TR = S->ThumbRect();
    Shoot(Scheme, u"slider", S,
          {{u"dragged",
            [&](TControl*) {
              Press(S, TR.Left + 2, TR.Top + 2);
              Move(S, TR.Left + 60, TR.Top + 2);
            },
            [&](TControl*) { Release(S, TR.Left + 60, TR.Top + 2); }},
           {u"focused",
            [&](TControl*) {
              S->SetFocus();
              Pump();
            },
            [&](TControl*) {
              SharedForm()->SetFocus();
              Pump();
            }},
           {u"disabled", [&](TControl*) { S->SetEnabled(false); }, [&](TControl*) { S->SetEnabled(true); }}});
    delete T;
    delete S;
  }
}

// An image list of one 16 x 16 glyph: an orange square with a dark centre
// on a white ground.
TCustomImageList* GlyphList(TComponent* Owner) {
  auto Glyph = skintest::FlatPicture(16, 16, clWhite,
                                     {{TRect(1, 1, 15, 15), TColor(0x0080FF)}, {TRect(5, 5, 11, 11), TColor(0x204080)}});
  auto* IL = new TCustomImageList(Owner, 16, 16);
  IL->Add(Glyph.get(), nullptr);
  return IL;
}

TEST_F(BarScreens, HorzList) {
  TCustomImageList* IL = GlyphList(Host);
  for (const auto& [Scheme, Skin] : Schemes()) {
    auto* L = new TspSkinHorzListBox(Host);
    L->SetParent(Host);
    L->SetBounds(10, 10, 250, 100);
    L->SetSkinData(Skin);
    L->SetImages(IL);
    L->HandleNeeded();
    for (Integer I = 0; I < 3; ++I) {
      TspSkinHorzItem* It = L->Items()->Add();
      It->SetCaption(u"Item " + IntToStr(I));
      It->SetImageIndex(0);
    }
    L->Items()->Items(2)->SetEnabled(false);
    // The current item stays drawn as current once chosen, so the states
    // after the first keep it.
    Shoot(Scheme, u"horzlist", L,
          {{u"current", [&](TControl*) { L->SetItemIndex(1); }, nullptr},
           {u"glow", [&](TControl*) { L->SetShowGlow(true); }, [&](TControl*) { L->SetShowGlow(false); }},
           {u"focused",
            [&](TControl*) {
              L->SetFocus();
              Pump();
            },
            [&](TControl*) {
              SharedForm()->SetFocus();
              Pump();
            }},
           {u"disabled", [&](TControl*) { L->SetEnabled(false); }, [&](TControl*) { L->SetEnabled(true); }}});
    // Scrolled to its last item: the scroll bar is a window of its own, so
    // this picture is what the screen shows.
    for (Integer I = 3; I < 6; ++I) L->Items()->Add()->SetCaption(u"Item " + IntToStr(I));
    L->SetItemIndex(5);
    ASSERT_NE(L->ScrollBar(), nullptr);
    SaveScreen(Scheme, u"horzlist", u"scrolled", Grab(L).get());
    delete L;
  }
}

TEST_F(BarScreens, SplittersAndStatusBar) {
  for (const auto& [Scheme, Skin] : Schemes()) {
    // A column and a row, each beside the block it sizes.
    auto* Top = new THost(Host);
    Top->SetParent(Host);
    Top->SetHeight(40);
    Top->SetAlign(alTop);
    auto* Row = new TspSkinSplitterEx(Host);
    Row->SetParent(Host);
    Row->SetSkinDataName(u"hsplitter");
    Row->SetAlign(alTop);
    Row->SetTop(50);
    auto* Left = new THost(Host);
    Left->SetParent(Host);
    Left->SetBounds(0, 60, 100, 10);
    Left->SetAlign(alLeft);
    auto* Column = new TspSkinSplitterEx(Host);
    Column->SetParent(Host);
    Column->SetAlign(alLeft);
    Column->SetLeft(150);
    Row->SetSkinData(Skin);
    Column->SetSkinData(Skin);
    Pump();
    SaveScreen(Scheme, u"hsplitter", u"normal", Grab(Row).get());
    SaveScreen(Scheme, u"vsplitter", u"normal", Grab(Column).get());

    auto* S = new TspSkinStatusBar(Host);
    S->SetParent(Host);
    S->SetSkinData(Skin);
    S->HandleNeeded();
    Shoot(Scheme, u"statusbar", S,
          {{u"grip", [&](TControl*) { S->SetSizeGrip(true); }, [&](TControl*) { S->SetSizeGrip(false); }}});
    for (TControl* C : std::initializer_list<TControl*>{S, Column, Left, Row, Top}) delete C;
  }
}

// The hint component makes the application's hint windows its own while it
// lives; the class, the main form and the hint window are given back after.
class HintScreens : public BarScreens {
 protected:
  void SetUp() override {
    BarScreens::SetUp();
    SavedClass = HintWindowClass;
    SavedMain = Application->MainForm();
    Application->SetMainForm(SharedForm());
  }
  void TearDown() override {
    HintWindowClass = SavedClass;
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    Application->SetMainForm(SavedMain);
    BarScreens::TearDown();
  }
  THintWindowClass SavedClass;
  TCustomForm* SavedMain = nullptr;
};

TEST_F(HintScreens, Hint) {
  TCustomImageList* IL = GlyphList(Host);
  const TPoint At(200, 150);
  for (const auto& [Scheme, Skin] : Schemes()) {
    auto H = std::make_unique<TspSkinHint>(SharedForm());
    H->SetSkinData(Skin);
    H->ActivateHint(At, u"A hint");
    Shoot(Scheme, u"hint", H->Window(),
          {{u"lines", [&](TControl*) { H->ActivateHint(At, u"First line@Second line"); }, nullptr},
           {u"extended", [&](TControl*) { H->ActivateHintEx(At, u"Title", u"The hint's text", 0, IL); }, nullptr}});
    H->HideHint();
  }
}

}  // namespace
