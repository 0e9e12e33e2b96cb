// The push button and the speed button: their press, move and release
// tables with auto-repeat, groups and check mode, the cross-fade steps,
// the dialog keys on a form, focus refusal, click handlers that free the
// form, the default looks as pixels and the skinned state images.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <functional>
#include <string>

using namespace ctl;

namespace {

class PushButton : public SkinCtlTest {};
class SpeedButton : public SkinCtlTest {};

// What the input tables need of either button.
struct TButtonProbe {
  TControl* Control;
  std::function<bool()> Down;
  std::function<TTimer*()> Repeat;
  int Clicks = 0;
};

// Steps: P press inside, O move outside (held), I move back inside (held),
// R release where the mouse is, T one auto-repeat tick. Each step is
// followed by the expected click count and Down ("P1d" = after the press
// one click and down, "R1u" = after the release one click and up).
void RunSteps(TButtonProbe& B, const std::string& Steps) {
  Integer X = B.Control->Width() / 2, Y = B.Control->Height() / 2;
  for (size_t I = 0; I + 2 < Steps.size() + 1; I += 3) {
    const char Step = Steps[I];
    switch (Step) {
      case 'P': X = B.Control->Width() / 2; Press(B.Control, X, Y); break;
      case 'O': X = B.Control->Width() + 10; Move(B.Control, X, Y); break;
      case 'I': X = B.Control->Width() / 2; Move(B.Control, X, Y); break;
      case 'R': Release(B.Control, X, Y); break;
      case 'T': Fire(B.Repeat()); break;
    }
    EXPECT_EQ(B.Clicks, Steps[I + 1] - '0') << "step " << I / 3 << " of " << Steps;
    EXPECT_EQ(B.Down(), Steps[I + 2] == 'd') << "step " << I / 3 << " of " << Steps;
  }
}

struct TInputRow {
  const char* Name;
  Integer GroupIndex;
  bool AllowAllUp, CheckedMode, RepeatMode;
  std::string Steps;
};

const TInputRow InputRows[] = {
    {"plain click", 0, false, false, false, "P0dR1u"},
    {"released outside", 0, false, false, false, "P0dO0dR0u"},
    {"dragged back", 0, false, false, false, "P0dO0dI0dR1u"},
    {"repeat", 0, false, false, true, "P0dT1dT2dR3u"},
    {"group", 1, false, false, false, "P1dR1dP1dR1d"},
    {"group all up", 1, true, false, false, "P1dR1dP1dR2u"},
    {"group all up, released outside", 1, true, false, false, "P1dR1dP1dO1dR1d"},
    {"checked mode", 0, false, true, false, "P1dR1dP1dR2uP3dR3d"},
};

TEST_F(PushButton, InputTable) {
  for (const TInputRow& Row : InputRows) {
    SCOPED_TRACE(Row.Name);
    auto* B = new TspSkinButton(Host);
    B->SetParent(Host);
    B->SetCanFocused(false);
    B->SetGroupIndex(Row.GroupIndex);
    B->SetAllowAllUp(Row.AllowAllUp);
    B->SetCheckedMode(Row.CheckedMode);
    B->SetRepeatMode(Row.RepeatMode);
    TButtonProbe P{B, [B] { return B->Down(); }, [B] { return B->RepeatTimer.Timer(); }};
    B->OnClick = [&P](TObject*) { ++P.Clicks; };
    RunSteps(P, Row.Steps);
    EXPECT_EQ(B->RepeatTimer.Timer(), nullptr);
    delete B;
  }
}

TEST_F(SpeedButton, InputTable) {
  for (const TInputRow& Row : InputRows) {
    SCOPED_TRACE(Row.Name);
    auto* B = new TspSkinSpeedButton(Host);
    B->SetParent(Host);
    B->SetGroupIndex(Row.GroupIndex);
    B->SetAllowAllUp(Row.AllowAllUp);
    B->SetCheckedMode(Row.CheckedMode);
    B->SetRepeatMode(Row.RepeatMode);
    TButtonProbe P{B, [B] { return B->Down(); }, [B] { return B->RepeatTimer.Timer(); }};
    B->OnClick = [&P](TObject*) { ++P.Clicks; };
    RunSteps(P, Row.Steps);
    delete B;
  }
}

// Pressing one button of a group releases the others of that group on the
// same parent only; with AllowAllUp none.
TEST_F(PushButton, GroupsReleaseSiblingsOfTheirGroup) {
  auto* Other = new THost(Host);
  Other->SetParent(Host);
  Other->SetBounds(0, 100, 300, 40);
  TspSkinButton* B[4];
  for (int I = 0; I < 4; ++I) {
    B[I] = new TspSkinButton(Host);
    B[I]->SetParent(I == 3 ? static_cast<TWinControl*>(Other) : Host);
    B[I]->SetLeft(I * 80);
    B[I]->SetGroupIndex(I == 2 ? 2 : 1);
    B[I]->SetDown(true);
  }
  EXPECT_FALSE(B[0]->Down());  // released by B[1]
  EXPECT_TRUE(B[1]->Down());
  EXPECT_TRUE(B[2]->Down());   // another group
  EXPECT_TRUE(B[3]->Down());   // another parent
  EXPECT_FALSE(B[0]->CanFocused());
  B[0]->SetAllowAllUp(true);
  B[0]->SetDown(true);
  EXPECT_TRUE(B[1]->Down());
  B[1]->RefreshButton();
  EXPECT_FALSE(B[1]->Down());
  EXPECT_TRUE(B[0]->Down());
}

TEST_F(SpeedButton, DownHasNoEqualityTestAndReleasesItsGroup) {
  TspSkinSpeedButton* B[3];
  for (int I = 0; I < 3; ++I) {
    B[I] = new TspSkinSpeedButton(Host);
    B[I]->SetParent(Host);
    B[I]->SetLeft(I * 30);
    B[I]->SetGroupIndex(2);
  }
  B[0]->SetDown(true);
  B[1]->SetDown(true);
  EXPECT_FALSE(B[0]->Down());
  B[1]->SetAllowAllUp(true);
  B[2]->SetDown(true);
  EXPECT_FALSE(B[1]->Down());  // B[2] itself releases without AllowAllUp
  B[2]->SetAllowAllUp(true);
  B[1]->SetDown(true);
  EXPECT_TRUE(B[2]->Down());
  B[0]->SetCheckedMode(true);
  EXPECT_EQ(B[0]->GroupIndex(), -1);
  B[0]->SetCheckedMode(false);
  EXPECT_EQ(B[0]->GroupIndex(), 0);
}

TEST_F(PushButton, EnterAndLeaveWhilePressed) {
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetCanFocused(false);
  int Enters = 0, Leaves = 0;
  B->OnMouseEnter = [&](TObject*) { ++Enters; };
  B->OnMouseLeave = [&](TObject*) { ++Leaves; };
  Press(B, 10, 10);
  Move(B, 80, 10);  // Width 75: outside
  EXPECT_EQ(Leaves, 1);
  EXPECT_FALSE(B->FMouseIn);
  Move(B, 75, 10);  // the edge counts as inside
  EXPECT_EQ(Enters, 1);
  EXPECT_TRUE(B->FMouseIn);
  Release(B, 75, 10);
}

// A skin with cross-fading and a frame strip for the buttons.
skintest::TFixtureSkin EffectSkin(const String& Name, const String& Extra = String()) {
  auto S = CoordSkin();
  S.Control(Name, u"button",
            {u"pictureindex=0", u"skinrect=0,0,40,20", u"activeskinrect=0,20,40,40", u"downskinrect=0,40,40,60",
             u"morphing=1", u"fontcolor=0", Extra.empty() ? u"framecount=0" : Extra});
  return S;
}

TEST_F(PushButton, CrossFadeSteps) {
  auto SD = LoadSkin(EffectSkin(u"button"));
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetCanFocused(false);
  B->SetSkinData(SD.get());
  ASSERT_TRUE(B->Skinned());
  B->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_NE(B->MorphTimer.Timer(), nullptr);
  std::vector<double> Seen;
  while (B->MorphTimer.Timer()) {
    Fire(B->MorphTimer.Timer());
    Seen.push_back(B->FMorphKf);
  }
  EXPECT_EQ(Seen, (std::vector<double>{0.2, 0.4, 0.6000000000000001, 0.8, 1.0, 1.0}));
  B->Perform(CM_MOUSELEAVE, 0, 0);
  int Ticks = 0;
  while (B->MorphTimer.Timer()) {
    Fire(B->MorphTimer.Timer());
    ++Ticks;
  }
  EXPECT_EQ(Ticks, 7);  // 0.8 ... 5.6e-17, -0.2, then the reset tick
  EXPECT_EQ(B->FMorphKf, 0.0);
  // Halfway the picture is a mix of the normal and the active image.
  B->FMorphKf = 0.6000000000000001;
  auto Img = Render(B);
  const TColor Mixed = Px(Img.get(), 30, 2);
  EXPECT_NE(Mixed, Coord(30, 2));
  EXPECT_NE(Mixed, Coord(30, 22));
  // Without skin effects the factor jumps and nothing runs.
  SD->SetEnableSkinEffects(false);
  B->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(B->MorphTimer.Timer(), nullptr);
}

TEST_F(PushButton, FrameAnimationNeedsFramesAndAnInterval) {
  struct Row {
    const char* Keys;
    bool Runs;
  } Rows[] = {
      {"framecount=4", true},
      {"framecount=0", false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Keys);
    auto S = CoordSkin();
    S.Control(u"button", u"button",
              {u"pictureindex=0", u"skinrect=0,0,40,20", u"animateskinrect=0,100,160,120", u"animateinterval=30",
               String(reinterpret_cast<const char16_t*>(std::u16string(R.Keys, R.Keys + strlen(R.Keys)).c_str()))});
    auto SD = LoadSkin(S);
    auto* B = new TspSkinButton(Host);
    B->SetParent(Host);
    B->SetCanFocused(false);
    B->SetSkinData(SD.get());
    B->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(B->AnimateTimer.Timer() != nullptr, R.Runs);
    if (R.Runs) {
      Fire(B->AnimateTimer.Timer());  // frame 2 shows
      EXPECT_EQ(Px(Render(B).get(), 0, 0), Coord(40, 100));
      while (B->AnimateTimer.Timer()) Fire(B->AnimateTimer.Timer());
      EXPECT_EQ(B->CurrentFrame, 0);
    } else {
      EXPECT_EQ(Px(Render(B).get(), 0, 0), Coord(0, 0));  // the static image
    }
    delete B;
  }
}

TEST_F(PushButton, DefaultLookPixels) {
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetCanFocused(false);
  B->SetCaption(u"OK");
  auto Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 74, 24), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 2, 2), Sys(clBtnFace));
  B->Perform(CM_MOUSEENTER, 0, 0);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), TColor(0x800000));
  EXPECT_EQ(Px(Img.get(), 2, 2), TColor(0xD2BDB6));
  Press(B, 5, 5);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 2, 2), TColor(0xB59385));
  Release(B, 5, 5);
  B->Perform(CM_MOUSELEAVE, 0, 0);
  B->SetEnabled(false);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 2, 2), Sys(clBtnFace));
  // The caption is drawn in the grey of a disabled button.
  bool Grey = false;
  for (Integer X = 20; X < 55; ++X)
    for (Integer Y = 5; Y < 20; ++Y) Grey = Grey || Px(Img.get(), X, Y) == Sys(clBtnShadow);
  EXPECT_TRUE(Grey);
}

TEST_F(PushButton, SkinnedImagesByState) {
  auto S = CoordSkin();
  S.Control(u"button", u"button",
            {u"pictureindex=0", u"skinrect=0,0,40,20", u"activeskinrect=0,20,40,40", u"downskinrect=0,40,40,60",
             u"disabledskinrect=0,60,40,80", u"focusedskinrect=0,80,40,100"});
  auto SD = LoadSkin(S);
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetSkinData(SD.get());
  ASSERT_EQ(B->Width(), 40);
  EXPECT_EQ(Px(Render(B).get(), 3, 3), Coord(3, 3));
  B->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Px(Render(B).get(), 3, 3), Coord(3, 23));
  B->SetDown(true);
  EXPECT_EQ(Px(Render(B).get(), 3, 3), Coord(3, 43));
  B->SetDown(false);
  B->Perform(CM_MOUSELEAVE, 0, 0);
  B->SetFocus();
  Pump();
  ASSERT_TRUE(B->Focused());
  EXPECT_EQ(Px(Render(B).get(), 3, 3), Coord(3, 83));
  B->SetEnabled(false);
  EXPECT_EQ(Px(Render(B).get(), 3, 3), Coord(3, 63));
}

// The glow frame: a layered window beside the hot button, offset as the
// skin says, gone when the mouse leaves; the skin's switch and a picture
// index out of range show none.
TEST_F(PushButton, GlowFrameFollowsTheMouse) {
  struct TRow {
    const char* Name;
    Integer GlowIndex;  // -2: the glow picture's own index
    bool SkinSwitch;
    bool Shows;
  };
  const TRow Rows[] = {
      {"glow", -2, true, true},
      {"switched off", -2, false, false},
      {"no glow picture", -1, true, false},
      {"index out of range", 9, true, false},
  };
  for (const TRow& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto S = CoordSkin();
    const Integer Glow = S.ActivePicture(skintest::FlatPicture(50, 30, clRed));
    const Integer GlowMask = S.ActivePicture(skintest::FlatPicture(50, 30, clWhite));
    const Integer Index = R.GlowIndex == -2 ? Glow : R.GlowIndex;
    S.Control(u"button", u"button",
              {u"pictureindex=0", u"skinrect=0,0,40,20", u"glowlayerpictureindex=" + IntToStr(Index),
               u"glowlayermaskpictureindex=" + IntToStr(GlowMask), u"glowlayershowoffsetx=5",
               u"glowlayershowoffsety=5"});
    auto SD = LoadSkin(S);
    SD->SetShowButtonGlowFrames(R.SkinSwitch);
    auto* B = new TspSkinButton(Host);
    B->SetParent(Host);
    B->SetCanFocused(false);
    B->SetSkinData(SD.get());
    B->Perform(CM_MOUSEENTER, 0, 0);
    Pump();
    TspLayerManager* L = B->LayerManager();
    EXPECT_EQ(L->IsVisible(), R.Shows);
    if (R.Shows) {
      ASSERT_NE(L->LayerWindow(), nullptr);
      RECT W{};
      GetWindowRect(L->LayerWindow()->Handle(), &W);
      const TPoint P = B->ClientToScreen(TPoint(0, 0));
      EXPECT_EQ(W.left, P.X - 5);
      EXPECT_EQ(W.top, P.Y - 5);
      EXPECT_EQ(W.right - W.left, 50);
      EXPECT_EQ(W.bottom - W.top, 30);
    }
    B->Perform(CM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_FALSE(L->IsVisible());
    delete B;
  }
}

// The nine- and three-slice looks of the resizable buttons at several sizes.
TEST_F(PushButton, FreeSizeWithoutUseSkinSize) {
  auto S = CoordSkin();
  S.Control(u"button", u"button", {u"pictureindex=0", u"skinrect=0,0,40,20", u"clientrect=4,4,36,16"});
  auto SD = LoadSkin(S);
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetUseSkinSize(false);
  B->SetSkinData(SD.get());
  EXPECT_EQ(B->Width(), 75);  // not forced
  auto Img = Render(B);
  // The fixed rect is stretched over the whole button.
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(0, 0));
  EXPECT_EQ(Px(Img.get(), 74, 24), Coord(39, 19));
}

// Dialog keys on a form: Enter presses the active button once, Escape a
// Cancel button only without modifiers, Alt+accelerator presses and focuses.
TEST_F(PushButton, DialogKeys) {
  auto* Edit = new TEdit(Host);
  Edit->SetParent(Host);
  Edit->SetBounds(0, 0, 100, 22);
  auto* Ok = new TspSkinButton(Host);
  Ok->SetParent(Host);
  Ok->SetBounds(0, 40, 75, 25);
  Ok->SetTabStop(true);
  auto* Other = new TspSkinButton(Host);
  Other->SetParent(Host);
  Other->SetBounds(80, 40, 75, 25);
  Other->SetTabStop(true);
  Other->SetCaption(u"&Apply");
  auto* Cancel = new TspSkinButton(Host);
  Cancel->SetParent(Host);
  Cancel->SetBounds(160, 40, 75, 25);
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  int OkClicks = 0, OtherClicks = 0, CancelClicks = 0;
  Ok->OnClick = [&](TObject*) { ++OkClicks; };
  Other->OnClick = [&](TObject*) { ++OtherClicks; };
  Cancel->OnClick = [&](TObject*) { ++CancelClicks; };
  Ok->SetDefault(true);
  Edit->SetFocus();
  Pump();
  ASSERT_TRUE(Edit->Focused());
  EXPECT_TRUE(Ok->FMouseIn);  // the default button looks hot while an edit has the focus
  PressKey(VK_RETURN);
  EXPECT_EQ(OkClicks, 1);
  Other->SetFocus();
  Pump();
  EXPECT_FALSE(Ok->FMouseIn);
  PressKey(VK_RETURN);
  EXPECT_EQ(OtherClicks, 1);
  EXPECT_EQ(OkClicks, 1);
  Ok->SetFocus();
  Pump();
  PressKey(VK_RETURN);
  EXPECT_EQ(OkClicks, 2);  // once, not once more from the key itself
  PressKey(VK_ESCAPE, true);
  EXPECT_EQ(CancelClicks, 0);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(CancelClicks, 1);
  EXPECT_EQ(SharedForm()->ModalResult(), mrCancel);
  SharedForm()->SetModalResult(mrNone);
  Edit->SetFocus();
  Pump();
  PressKey('A', false, false, true);
  EXPECT_EQ(OtherClicks, 2);
  EXPECT_TRUE(Other->Focused());
  // Space: down on the press, up and a click on the release.
  SendKey(Other->Handle(), WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(Other->Down());
  EXPECT_EQ(OtherClicks, 2);
  SendKey(Other->Handle(), WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(Other->Down());
  EXPECT_EQ(OtherClicks, 3);
}

// A press that cannot take the focus (OnExit takes it back) is swallowed.
TEST_F(PushButton, PressSwallowedWhenTheFocusIsRefused) {
  auto* Edit = new TEdit(Host);
  Edit->SetParent(Host);
  Edit->SetBounds(0, 0, 100, 22);
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetBounds(0, 40, 75, 25);
  int Downs = 0, Clicks = 0;
  B->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Downs; };
  B->OnClick = [&](TObject*) { ++Clicks; };
  Edit->SetFocus();
  Pump();
  Edit->OnExit = [&](TObject*) { Edit->SetFocus(); };
  Click(B);
  EXPECT_EQ(Downs, 0);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(B->Down());
  Edit->OnExit = nullptr;
  Click(B);
  EXPECT_EQ(Downs, 1);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(PushButton, ModalResultEndsShowModal) {
  auto* F = new TForm(nullptr);
  F->SetBounds(60, 60, 200, 120);
  auto* B = new TspSkinButton(F);
  B->SetParent(F);
  B->SetModalResult(mrOk);
  B->HandleNeeded();
  // Space pressed and released at the button once the loop runs.
  PostMessageW(B->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(B->Handle(), WM_KEYUP, VK_SPACE, 0xC0000000);
  EXPECT_EQ(F->ShowModal(), mrOk);
  delete F;
}

// Click handlers that free the whole form: nothing of the freed button is
// touched afterwards (no OnMouseUp, no crash).
TEST_F(PushButton, ClickHandlerFreesTheForm) {
  for (int Kind = 0; Kind < 3; ++Kind) {
    SCOPED_TRACE(Kind);
    auto* F = new TForm(nullptr);
    F->SetBounds(60, 60, 200, 120);
    TControl* C = nullptr;
    int Ups = 0;
    auto OnUp = [&Ups](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Ups; };
    auto Free = [&F](TObject*) {
      delete F;
      F = nullptr;
    };
    if (Kind == 0) {
      auto* B = new TspSkinButton(F);
      B->SetCanFocused(false);
      B->OnClick = Free;
      B->OnMouseUp = OnUp;
      C = B;
    } else if (Kind == 1) {
      auto* B = new TspSkinSpeedButton(F);
      B->OnClick = Free;
      B->OnMouseUp = OnUp;
      C = B;
    } else {
      auto* B = new TspSkinCheckRadioBox(F);
      B->SetCanFocused(false);
      B->OnClick = Free;
      C = B;
    }
    C->SetParent(F);
    F->HandleNeeded();
    if (auto* W = dynamic_cast<TWinControl*>(C)) W->HandleNeeded();
    auto Alive = C->LivenessToken();
    Press(C, 5, 5);
    if (*Alive) Release(C, 5, 5);
    EXPECT_EQ(F, nullptr);
    EXPECT_FALSE(*Alive);
    EXPECT_EQ(Ups, 0);
    Pump();
  }
}

TEST_F(SpeedButton, DefaultAndFlatLooks) {
  Host->Ground = clYellow;
  auto* B = new TspSkinSpeedButton(Host);
  B->SetParent(Host);
  B->SetBounds(10, 10, 40, 24);
  auto Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 3, 3), Sys(clBtnFace));
  B->Perform(CM_MOUSEENTER, 0, 0);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), TColor(0x800000));
  EXPECT_EQ(Px(Img.get(), 3, 3), TColor(0xD2BDB6));
  B->SetGroupIndex(1);
  B->SetDown(true);
  B->Perform(CM_MOUSELEAVE, 0, 0);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 3, 3), TColor(0xB59385));  // a down group button looks pressed with the mouse away
  // Flat and idle: no background of its own, the parent's shows.
  B->SetDown(false);
  B->SetFlat(true);
  EXPECT_FALSE(B->ControlStyle() & csOpaque);
  Img = Grab(B);
  EXPECT_EQ(Px(Img.get(), 0, 0), TColor(clYellow));
  EXPECT_EQ(Px(Img.get(), 3, 3), TColor(clYellow));
  B->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(B->ControlStyle() & csOpaque);
  B->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(B->ControlStyle() & csOpaque);
}

TEST_F(SpeedButton, ArrowModeMark) {
  auto* B = new TspSkinSpeedButton(Host);
  B->SetParent(Host);
  B->SetBounds(0, 0, 70, 24);
  B->SetArrowMode(2);
  B->SetArrowColor(clRed);
  auto Img = Render(B);
  // Without a caption: D = 70, X = 0 + 35 + 10 = 45; the mark points down from y 10.
  EXPECT_EQ(Px(Img.get(), 48, 11), TColor(clRed));
  EXPECT_EQ(Px(Img.get(), 44, 11), Sys(clBtnFace));
}

TEST_F(SpeedButton, SkinnedLooksAndFallbacks) {
  // A "toolbutton" without hot and pressed rects: hot shows the normal
  // image and pressed the hot one (hence the normal one).
  auto S = CoordSkin();
  S.Control(u"toolbutton", u"button", {u"pictureindex=0", u"skinrect=10,10,35,35"});
  auto SD = LoadSkin(S);
  auto* B = new TspSkinSpeedButton(Host);
  B->SetParent(Host);
  B->SetSkinData(SD.get());
  EXPECT_EQ(Px(Render(B).get(), 2, 2), Coord(12, 12));
  B->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Px(Render(B).get(), 2, 2), Coord(12, 12));
  B->SetDown(true);
  EXPECT_EQ(Px(Render(B).get(), 2, 2), Coord(12, 12));
}

}  // namespace
