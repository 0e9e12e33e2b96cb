// Pictures of the bars in their main states for people to review: scroll
// bars horizontal and vertical, the track bar and the slider, in the default
// look and each made scheme, written as <scheme>/<control>-<state>.png. The
// checks only ask that states which should look different do (on the
// default look; the schemes' pictures are for review).
#include <functional>

#include "tests/skin/controls/win/CtlTestUtil.h"

using namespace ctl;

namespace {

class BarScreens : public SkinCtlTest {
 protected:
  // The default look first, then every made scheme that loads.
  std::vector<std::pair<String, TspSkinData*>> Schemes() {
    std::vector<std::pair<String, TspSkinData*>> S = {{u"default", nullptr}};
    for (const String& Name : MadeSchemeNames()) {
      Loaded.push_back(MadeScheme(Name));
      EXPECT_FALSE(Loaded.back()->Empty) << ToUtf8(Name);
      if (!Loaded.back()->Empty) S.emplace_back(Name, Loaded.back().get());
    }
    return S;
  }
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

}  // namespace
