// Pictures of every control family in its main states, for people to
// review: each control in normal, hot, pressed, disabled, focused and
// checked (or down) states, written as <scheme>/<control>-<state>.png, and
// one picture of each family together. The checks only ask that the states
// look different where they should; the pictures never decide anything.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <functional>
#include <map>

using namespace ctl;

namespace {

class Screens : public SkinCtlTest {};

enum TState { stNormal, stHot, stPressed, stDisabled, stFocused, stChecked };
const char16_t* const StateNames[] = {u"normal", u"hot", u"pressed", u"disabled", u"focused", u"checked"};

struct TShot {
  const char16_t* Name;
  std::function<TControl*(TWinControl*)> Make;
  std::function<void(TControl*)> Check;  // checked or down; nullptr when the control has none
  bool Focusable;
  // A press opens the control's own menu (the stand-in popup is modal).
  bool OpensMenu = false;
};

bool SamePicture(TBitmap* A, TBitmap* B) {
  if (A->Width() != B->Width() || A->Height() != B->Height()) return false;
  for (Integer Y = 0; Y < A->Height(); ++Y)
    for (Integer X = 0; X < A->Width(); ++X)
      if (Px(A, X, Y) != Px(B, X, Y)) return false;
  return true;
}

// Brings C into State, paints it and puts it back.
std::unique_ptr<TBitmap> Shoot(const TShot& S, TControl* C, TState State) {
  std::unique_ptr<TBitmap> B;
  switch (State) {
    case stNormal:
      B = Render(C);
      break;
    case stHot:
      C->Perform(CM_MOUSEENTER, 0, 0);
      B = Render(C);
      C->Perform(CM_MOUSELEAVE, 0, 0);
      break;
    case stPressed:
      Press(C, C->Width() / 2, C->Height() / 2);
      B = Render(C);
      Move(C, C->Width() + 20, C->Height() + 20);  // released outside: no click
      Release(C, C->Width() + 20, C->Height() + 20);
      C->Perform(CM_MOUSELEAVE, 0, 0);
      break;
    case stDisabled:
      C->SetEnabled(false);
      B = Render(C);
      C->SetEnabled(true);
      break;
    case stFocused:
      if (auto* W = dynamic_cast<TWinControl*>(C)) {
        W->SetFocus();
        Pump();
      }
      B = Render(C);
      SharedForm()->SetFocus();
      Pump();
      break;
    case stChecked:
      S.Check(C);
      B = Render(C);
      break;
  }
  return B;
}

const std::vector<std::pair<const char16_t*, std::vector<TShot>>>& Families() {
  static const std::vector<std::pair<const char16_t*, std::vector<TShot>>> F = {
      {u"buttons",
       {
           {u"button",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinButton(P);
              B->SetCaption(u"OK");
              return B;
            },
            [](TControl* C) {
              static_cast<TspSkinButton*>(C)->SetGroupIndex(1);
              static_cast<TspSkinButton*>(C)->SetDown(true);
            },
            true},
           {u"menubutton",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinMenuButton(P);
              B->SetCaption(u"More");
              B->SetTrackButtonMode(true);
              return B;
            },
            nullptr, true},
       }},
      {u"speedbuttons",
       {
           {u"speedbutton",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinSpeedButton(P);
              B->SetBounds(0, 0, 60, 24);
              B->SetCaption(u"Tool");
              return B;
            },
            [](TControl* C) {
              static_cast<TspSkinSpeedButton*>(C)->SetGroupIndex(1);
              static_cast<TspSkinSpeedButton*>(C)->SetDown(true);
            },
            false},
           {u"flatspeedbutton",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinSpeedButton(P);
              B->SetBounds(0, 0, 60, 24);
              B->SetCaption(u"Flat");
              B->SetFlat(true);
              return B;
            },
            [](TControl* C) {
              static_cast<TspSkinSpeedButton*>(C)->SetGroupIndex(1);
              static_cast<TspSkinSpeedButton*>(C)->SetDown(true);
            },
            false},
           {u"menuspeedbutton",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinMenuSpeedButton(P);
              B->SetBounds(0, 0, 70, 24);
              B->SetCaption(u"Drop");
              return B;
            },
            nullptr, false},
           {u"penstylebutton", [](TWinControl* P) -> TControl* { return new TspSkinPenStyleButton(P); }, nullptr,
            false, true},
       }},
      {u"checkradio",
       {
           {u"checkbox",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinCheckRadioBox(P);
              B->SetCaption(u"Check box");
              B->SetBounds(0, 0, 120, 20);
              return B;
            },
            [](TControl* C) { static_cast<TspSkinCheckRadioBox*>(C)->SetChecked(true); }, true},
           {u"radiobox",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinCheckRadioBox(P);
              B->SetRadio(true);
              B->SetSkinDataName(u"radiobox");  // as the program's forms name it
              B->SetCaption(u"Radio box");
              B->SetBounds(0, 0, 120, 20);
              return B;
            },
            [](TControl* C) { static_cast<TspSkinCheckRadioBox*>(C)->SetChecked(true); }, true},
       }},
      {u"panels",
       {
           {u"panel",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinPanel(P);
              B->SetBounds(0, 0, 120, 60);
              return B;
            },
            nullptr, false},
           {u"captionpanel",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinPanel(P);
              B->SetBounds(0, 0, 140, 70);
              B->SetCaptionMode(true);
              B->SetCheckedMode(true);
              B->SetRollUpMode(true);
              B->SetCaption(u"Caption");
              return B;
            },
            [](TControl* C) { static_cast<TspSkinPanel*>(C)->SetChecked(true); }, false},
       }},
      {u"bevellabel",
       {
           {u"bevel",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinBevel(P);
              B->SetBounds(0, 0, 8, 22);
              B->SetShape(bsLeftLine);
              B->SetDividerMode(true);
              return B;
            },
            nullptr, false},
           {u"stdlabel",
            [](TWinControl* P) -> TControl* {
              auto* B = new TspSkinStdLabel(P);
              B->SetCaption(u"Standard label");
              return B;
            },
            nullptr, false},
       }},
  };
  return F;
}

void ApplyScheme(TControl* C, TspSkinData* SD) {
  if (auto* W = dynamic_cast<TspSkinControl*>(C)) W->SetSkinData(SD);
  if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) G->SetSkinData(SD);
  if (auto* B = dynamic_cast<TspSkinBevel*>(C)) B->SetSkinData(SD);
  if (auto* L = dynamic_cast<TspSkinStdLabel*>(C)) L->SetSkinData(SD);
}

TEST_F(Screens, EveryFamilyInItsStates) {
  // nullptr is the default look; the made schemes follow. The states are
  // checked on the default look; the schemes' pictures are for review.
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  const auto Schemes = DefaultAndMadeSchemes(Loaded);
  for (const auto& [Scheme, Skin] : Schemes) {
    for (const auto& [Family, Shots] : Families()) {
      SCOPED_TRACE(ToUtf8(Family));
      std::vector<TControl*> Made;
      Integer Top = 5;
      for (const TShot& S : Shots) {
        TControl* C = S.Make(Host);
        C->SetParent(Host);
        if (Skin) ApplyScheme(C, Skin);
        C->SetLeft(5);
        C->SetTop(Top);
        Top += C->Height() + 6;
        Made.push_back(C);
      }
      for (size_t I = 0; I < Shots.size(); ++I) {
        const TShot& S = Shots[I];
        TControl* C = Made[I];
        std::map<TState, std::unique_ptr<TBitmap>> Pics;
        for (TState St : {stNormal, stHot, stPressed, stDisabled, stFocused, stChecked}) {
          if (St == stFocused && !S.Focusable) continue;
          if (St == stChecked && !S.Check) continue;
          if (St == stPressed && S.OpensMenu) continue;
          Pics[St] = Shoot(S, C, St);
          SaveScreen(Scheme, S.Name, StateNames[St], Pics[St].get());
        }
        const bool Interactive = dynamic_cast<TspSkinBevel*>(C) == nullptr && dynamic_cast<TspSkinStdLabel*>(C) == nullptr &&
                                 dynamic_cast<TspSkinPanel*>(C) == nullptr;
        EXPECT_GT(C->Width(), 0) << ToUtf8(S.Name);
        EXPECT_GT(C->Height(), 0) << ToUtf8(S.Name);
        if (Skin) continue;
        if (Interactive && !S.OpensMenu) {
          EXPECT_FALSE(SamePicture(Pics[stNormal].get(), Pics[stHot].get())) << ToUtf8(S.Name) << " hot";
          EXPECT_FALSE(SamePicture(Pics[stHot].get(), Pics[stPressed].get()) &&
                       dynamic_cast<TspSkinCheckRadioBox*>(C) == nullptr)
              << ToUtf8(S.Name) << " pressed";
        }
        if (S.Check) {
          EXPECT_FALSE(SamePicture(Pics[stNormal].get(), Pics[stChecked].get())) << ToUtf8(S.Name);
        }
        if (Interactive || dynamic_cast<TspSkinStdLabel*>(C)) {
          EXPECT_FALSE(SamePicture(Pics[stNormal].get(), Pics[stDisabled].get())) << ToUtf8(S.Name) << " disabled";
        }
      }
      SaveScreen(Scheme, Family, u"form", Grab(Host).get());
      for (TControl* C : Made) delete C;
    }
  }
}

}  // namespace
