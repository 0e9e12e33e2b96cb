// Frame objects of the skinned form: the base's looks and fade, the mask,
// the glow, the hot object under a fake cursor, named objects, linked areas,
// the caption buttons (skinless looks, commands, events, real mouse input)
// and the caption's text and animation.
#include "tests/skin/form/win/FormTestUtil.h"

#include <string>

#include "common/Screens.h"
#include "classlib/StdCtrls.h"
#include "rtl/ScopeGuard.h"

using namespace formtest;

namespace {

// The fixture's active picture 0 is 40 x 20: teal in (0, 0, 20, 10), yellow elsewhere.
const TRect TealRect(0, 0, 10, 10);
const TRect YellowRect(20, 10, 30, 20);

struct TShownForm {
  explicit TShownForm(TspSkinData* SD, bool Show = true) {
    F = new TLogForm(bsSizeable);
    FS = new TspFormSkin(F);
    if (SD) FS->SetSkinData(SD);
    if (Show) {
      F->Show();
      SetForegroundWindow(F->Handle());
      PumpUntil([&] { return F->Active(); }, 2000);
      Pump();
    }
  }
  ~TShownForm() { delete F; }
  TLogForm* F;
  TspFormSkin* FS;
};

std::unique_ptr<TBitmap> Canvas(Integer W, Integer H, TColor Fill = clWhite) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Fill);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

void SaveBitmapForReview(TBitmap* B, const std::string& Name, const std::string& Look) {
  std::vector<std::uint8_t> Buf(size_t(B->Width()) * B->Height() * 4);
  for (Integer Y = 0; Y < B->Height(); ++Y)
    for (Integer X = 0; X < B->Width(); ++X) {
      const TColor C = Px(B, X, Y);
      std::uint8_t* P = &Buf[(size_t(Y) * B->Width() + X) * 4];
      P[0] = (C >> 16) & 0xFF;
      P[1] = (C >> 8) & 0xFF;
      P[2] = C & 0xFF;
      P[3] = 255;
    }
  lumigra_test::SaveScreenPixels(Buf.data(), B->Width(), B->Height(), B->Width() * 4, Name, Look);
}

// Window rectangle R of form F on the screen.
TRect OnScreen(TForm* F, const TRect& R) {
  RECT W;
  GetWindowRect(F->Handle(), &W);
  return TRect(R.Left + W.left, R.Top + W.top, R.Right + W.left, R.Bottom + W.top);
}

// Bounding box of the pixels of colour C (empty when none).
TRect InkBox(TBitmap* B, const std::function<bool(TColor)>& Is) {
  TRect R(INT32_MAX, INT32_MAX, -1, -1);
  for (Integer Y = 0; Y < B->Height(); ++Y)
    for (Integer X = 0; X < B->Width(); ++X)
      if (Is(Px(B, X, Y))) {
        R.Left = std::min(R.Left, X);
        R.Top = std::min(R.Top, Y);
        R.Right = std::max(R.Right, X + 1);
        R.Bottom = std::max(R.Bottom, Y + 1);
      }
  return R.Right < 0 ? TRect() : R;
}
TRect InkBox(TBitmap* B, TColor C) {
  return InkBox(B, [C](TColor P) { return P == C; });
}
// Dark pixels: smoothed black text.
bool Dark(TColor C) { return GetRValue(C) < 0x80 && GetGValue(C) < 0x80 && GetBValue(C) < 0x80; }

class FrameObjects : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    TSkinOptions O;
    O.ActiveSizes = {{40, 20}};
    SD = LoadFixtureSkin(Dir, O);
  }
  // An object of class T from a description filled by Fill, added to the form's list.
  template <class T, class D = TspDataSkinButton>
  T* Add(TspFormSkin* FS, const String& Name, const std::type_identity_t<std::function<void(D&)>>& Fill = {}) {
    D Data(Name);
    Data.SkinRectInAPicture = true;
    Data.ActivePictureIndex = 0;
    Data.SkinRect = YellowRect;
    Data.ActiveSkinRect = TealRect;
    if (Fill) Fill(Data);
    auto* O = new T(FS, &Data);
    FS->ObjectList->Add(O);
    return O;
  }
  TTempFolder Dir{"frameobjects"};
  std::unique_ptr<TspSkinData> SD;
};

}  // namespace

// ---------------------------------------------------------------------------
// Base: looks, fade, mask, glow

TEST_F(FrameObjects, MorphFactorClampsAndStepsOnTheTimer) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  auto* O = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"obj", [](auto& D) { D.Morphing = true; });
  for (auto [In, Out] : {std::pair{1.3, 1.0}, {-0.1, 0.0}, {0.5, 0.5}}) {
    O->SetMorphKf(In);
    EXPECT_DOUBLE_EQ(O->MorphKf(), Out) << In;
  }
  O->SetMorphKf(0);
  // Enter, three steps, leave midway, back to rest; an idle tick stops the timer.
  O->MouseEnter();
  EXPECT_TRUE(S.FS->MorphTimer->Enabled());
  const double Expected[] = {0.2, 0.4, 0.6};
  for (double E : Expected) {
    S.FS->MorphTimerTick();
    EXPECT_NEAR(O->MorphKf(), E, 1e-9);
  }
  O->MouseLeave();
  for (double E : {0.4, 0.2, 0.0}) {
    S.FS->MorphTimerTick();
    EXPECT_NEAR(O->MorphKf(), E, 1e-9);
  }
  EXPECT_TRUE(S.FS->MorphTimer->Enabled());
  S.FS->MorphTimerTick();
  EXPECT_FALSE(S.FS->MorphTimer->Enabled());
  // A full fade takes five steps.
  O->MouseEnter();
  Integer Steps = 0;
  while (S.FS->MorphTimer->Enabled() && Steps < 20) {
    S.FS->MorphTimerTick();
    ++Steps;
  }
  EXPECT_EQ(Steps, 6);  // five steps and the idle tick
  EXPECT_DOUBLE_EQ(O->MorphKf(), 1.0);
}

TEST_F(FrameObjects, FadeNeedsEffectsAnActiveLookAndMorphing) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  struct Row {
    const char* Name;
    bool Morphing, Effects;
    Integer Picture;
    bool Fades;
  } Rows[] = {{"fading", true, true, 0, true},
              {"no morphing", false, true, 0, false},
              {"effects off", true, false, 0, false},
              {"no active picture", true, true, -1, false},
              {"picture past the list", true, true, 3, false}};
  for (const Row& R : Rows) {
    SD->SetEnableSkinEffects(R.Effects);
    auto* O = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"o", [&](auto& D) {
      D.Morphing = R.Morphing;
      D.ActivePictureIndex = R.Picture;
    });
    EXPECT_EQ(O->EnableMorphing(), R.Fades) << R.Name;
    S.FS->MorphTimer->SetEnabled(false);
    O->MouseEnter();
    EXPECT_EQ(S.FS->MorphTimer->Enabled(), R.Fades) << R.Name;
    if (R.Picture != 0) {
      EXPECT_TRUE(RectIsEmpty(O->ActiveSkinRect)) << R.Name;
    }
  }
  SD->SetEnableSkinEffects(true);
}

TEST_F(FrameObjects, BaseDrawPicksTheLook) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  S.FS->PreviewMode = true;  // counts as an active form
  auto* O = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"o", [](auto& D) { D.Morphing = true; });
  O->ObjectRect = TRect(2, 2, 12, 12);
  auto At = [&](bool UpDate) {
    auto B = Canvas(14, 14, clWhite);
    O->Draw(B->Canvas(), UpDate);
    return Px(B.get(), 6, 6);
  };
  const TColor Teal = Sys(clTeal), Yellow = Sys(clYellow), White = Sys(clWhite);
  // Normal look from the active picture (SkinRectInAPicture), whatever UpDate says.
  EXPECT_EQ(At(false), Yellow);
  EXPECT_EQ(At(true), Yellow);
  O->Active = true;
  O->SetMorphKf(1);
  EXPECT_EQ(At(false), Teal);
  // Midway: a blend of both.
  O->SetMorphKf(0.4);
  const TColor Mid = At(true);
  EXPECT_NE(Mid, Teal);
  EXPECT_NE(Mid, Yellow);
  // A look in the frame picture is not drawn again during a full frame paint.
  O->SkinRectInAPicture = false;
  O->Active = false;
  O->SetMorphKf(0);
  O->SkinRect = TRect(20, 0, 30, 10);  // the caption band of the frame picture
  EXPECT_EQ(At(false), White);
  EXPECT_EQ(At(true), Sys(TopColor));
}

TEST_F(FrameObjects, MissingActivePictureDrawsNoCutLooks) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  // Picture index past the list, with an inactive look and a normal look cut from it.
  auto* O = Add<TspSkinStdButtonObject, TspDataSkinStdButton>(S.FS, u"b", [](auto& D) {
    D.ActivePictureIndex = 9;
    D.InActiveSkinRect = TRect(0, 0, 10, 10);
    D.DownRect = TRect(0, 0, 10, 10);
    D.RestoreRect = TRect(0, 0, 10, 10);
    D.Command = cmMaximize;
  });
  O->ObjectRect = TRect(0, 0, 10, 10);
  EXPECT_EQ(O->ActivePicture, nullptr);
  EXPECT_TRUE(RectIsEmpty(O->InActiveSkinRect));
  EXPECT_TRUE(RectIsEmpty(O->DownRect));
  EXPECT_TRUE(RectIsEmpty(O->RestoreRect));
  for (bool Down : {false, true}) {
    O->FDown = O->FMouseIn = O->Active = Down;
    auto B = Canvas(10, 10, clWhite);
    O->Draw(B->Canvas(), true);
    EXPECT_EQ(Px(B.get(), 5, 5), Sys(clWhite));
  }
}

TEST_F(FrameObjects, PointInMask) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  auto* O = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"o");
  EXPECT_TRUE(O->PointInMask(100, 100));  // no mask: the whole rectangle
  auto Mask = Canvas(4, 3, clWhite);
  Mask->Canvas()->SetPixels(0, 0, clBlack);
  Mask->Canvas()->SetPixels(3, 2, clBlack);
  Mask->Canvas()->SetPixels(1, 0, TColor(0x010000));
  O->ActiveMaskPicture = Mask.get();
  const struct {
    Integer X, Y;
    bool In;
  } Rows[] = {{0, 0, true}, {3, 2, true}, {1, 0, false}, {2, 1, false}, {4, 2, false}, {-1, 0, false}, {0, 3, false}};
  for (auto R : Rows) EXPECT_EQ(O->PointInMask(R.X, R.Y), R.In) << R.X << "," << R.Y;
}

TEST_F(FrameObjects, GlowLayerNeedsBothPictures) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  const struct {
    Integer Picture, Mask;
    bool Shown;
  } Rows[] = {{0, 0, true}, {0, 5, false}, {0, -1, false}, {7, 0, false}, {-1, 0, false}};
  for (auto R : Rows) {
    auto* O = Add<TspSkinButtonObject>(S.FS, u"g", [&](auto& D) {
      D.GlowLayerPictureIndex = R.Picture;
      D.GlowLayerMaskPictureIndex = R.Mask;
      D.GlowLayerOffsetX = 3;
      D.GlowLayerOffsetY = 2;
    });
    O->ObjectRect = TRect(30, 4, 40, 14);
    O->ShowLayer();
    EXPECT_EQ(S.FS->FLayerManager->IsVisible(), R.Shown) << R.Picture << "/" << R.Mask;
    if (R.Shown) {
      RECT W, L;
      GetWindowRect(S.F->Handle(), &W);
      GetWindowRect(S.FS->FLayerManager->LayerWindow()->Handle(), &L);
      EXPECT_EQ(L.left, W.left + 30 - 3);
      EXPECT_EQ(L.top, W.top + 4 - 2);
      EXPECT_EQ(L.right - L.left, 40);
    }
    O->HideLayer();
    EXPECT_FALSE(S.FS->FLayerManager->IsVisible());
  }
  EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------
// The hot object

TEST_F(FrameObjects, HotObjectFollowsTheFakeCursor) {
  TShownForm S(SD.get());
  ASSERT_TRUE(S.F->Active());
  S.FS->ClearObjects();
  std::vector<std::string> Log;
  S.FS->OnMouseEnterEvent = [&](const String& N) { Log.push_back("enter " + ToUtf8(N)); };
  S.FS->OnMouseLeaveEvent = [&](const String& N) { Log.push_back("leave " + ToUtf8(N)); };
  auto* A = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"A");
  auto* B = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"B");
  auto* C = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"C", [](auto& D) { D.RollUp = true; });
  auto* B2 = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"B2");
  RECT W;
  GetWindowRect(S.F->Handle(), &W);
  TPoint Cursor;
  bool OverForm = true;
  S.FS->CursorPosSource = [&] { return Cursor; };
  S.FS->WindowFromPointSource = [&](TPoint) { return OverForm ? S.F->Handle() : nullptr; };
  auto Place = [&] {
    A->ObjectRect = TRect(20, 2, 30, 12);
    B->ObjectRect = TRect(40, 2, 50, 12);
    C->ObjectRect = TRect(60, 2, 70, 12);
    B2->ObjectRect = TRect(40, 2, 50, 12);  // under B
  };
  const struct Row {
    const char* What;
    Integer X, Y;
    bool Over;
    std::function<void()> Setup;
    Integer Hot;
    std::vector<std::string> Events;
    bool TimerOn;
  } Rows[] = {
      {"over A", 25, 5, true, {}, 0, {"enter A"}, true},
      {"still A", 26, 6, true, {}, 0, {}, true},
      {"A to B", 45, 5, true, {}, 1, {"leave A", "enter B"}, true},
      {"into the client area", 100, 80, true, {}, -1, {"leave B"}, true},
      {"roll-up object hidden in frame mode", 65, 5, true, {}, -1, {}, true},
      {"capture held by A, over B", 45, 5, true, [&] { S.FS->MouseCaptureObject = 0; }, -1, {}, true},
      {"capture held by A, over A", 25, 5, true, {}, 0, {"enter A"}, true},
      {"capture released, B disabled: B2 under it", 45, 5, true,
       [&] {
         S.FS->MouseCaptureObject = -1;
         S.FS->SetEnabled(u"B", false);
       },
       3, {"leave A", "enter B2"}, true},
      {"B2 disabled while hot: no leave", 45, 5, true, [&] { S.FS->SetEnabled(u"B2", false); }, -1, {}, true},
      {"A again", 25, 5, true, {}, 0, {"enter A"}, true},
      {"pointer leaves the form", 25, 5, false, {}, -1, {"leave A"}, false},
  };
  for (const Row& R : Rows) {
    Place();
    if (R.Setup) R.Setup();
    Log.clear();
    Cursor = TPoint(W.left + R.X, W.top + R.Y);
    OverForm = R.Over;
    S.FS->MouseTimer->SetEnabled(true);
    S.FS->MouseTimerTick();
    EXPECT_EQ(S.FS->ActiveObject, R.Hot) << R.What;
    EXPECT_EQ(Log, R.Events) << R.What;
    EXPECT_EQ(S.FS->MouseTimer->Enabled(), R.TimerOn) << R.What;
  }
  // Nothing becomes hot while the form is inactive.
  S.FS->SetEnabled(u"B", true);
  auto* Other = new TForm(nullptr);
  Other->SetBounds(600, 500, 80, 60);
  Other->Show();
  SetForegroundWindow(Other->Handle());
  PumpUntil([&] { return !S.F->Active(); }, 2000);
  Place();
  Cursor = TPoint(W.left + 45, W.top + 5);
  OverForm = true;
  S.FS->MouseTimerTick();
  EXPECT_EQ(S.FS->ActiveObject, -1);
  delete Other;
}

TEST_F(FrameObjects, NamedObjects) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  auto* B1 = Add<TspSkinButtonObject>(S.FS, u"btn");
  Add<TspSkinButtonObject>(S.FS, u"btn");  // same name: never reached
  auto* Cap = Add<TspSkinCaptionObject, TspDataSkinCaption>(S.FS, u"cap");
  const struct {
    const char* Name;
    Integer Index;
  } Rows[] = {{"btn", 0}, {"BTN", -1}, {"cap", 2}, {"none", -1}, {"", -1}};
  for (auto R : Rows) EXPECT_EQ(S.FS->GetIndex(UTF8ToString(R.Name)), R.Index) << R.Name;
  // Wrong class or name: nothing, the getters answer false.
  S.FS->ButtonSetDown(u"cap", true);
  EXPECT_FALSE(S.FS->ButtonGetDown(u"cap"));
  S.FS->ButtonSetDown(u"btn", true);
  EXPECT_TRUE(B1->FDown);
  EXPECT_TRUE(S.FS->ButtonGetDown(u"btn"));
  S.FS->CaptionSetText(u"btn", u"x");
  S.FS->CaptionSetText(u"cap", u"Text");
  EXPECT_EQ(Cap->TextValue(), u"Text");
  S.FS->FInChangeSkinData = true;
  S.FS->CaptionSetText(u"cap", u"Quiet");
  S.FS->FInChangeSkinData = false;
  EXPECT_EQ(Cap->TextValue(), u"Quiet");
  S.FS->SetEnabled(u"cap", false);
  EXPECT_FALSE(Cap->Enabled);
}

TEST_F(FrameObjects, GroupedButtonsReleaseEachOther) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  auto Grouped = [](auto& D) {
    D.GroupIndex = 1;
    D.DownRect = TRect(0, 10, 10, 20);
  };
  auto* A = Add<TspSkinButtonObject>(S.FS, u"a", Grouped);
  auto* B = Add<TspSkinButtonObject>(S.FS, u"b", Grouped);
  auto* Free = Add<TspSkinButtonObject>(S.FS, u"free", [](auto& D) {
    D.DownRect = TealRect;
    D.ActiveSkinRect = TRect();
  });
  const struct {
    TspSkinButtonObject* Press;
    bool A, B;
  } Rows[] = {{A, true, false}, {B, false, true}, {A, true, false}, {A, true, false}};
  for (auto R : Rows) {
    R.Press->MouseDown(0, 0, mbLeft);
    R.Press->MouseUp(0, 0, mbLeft);
    EXPECT_EQ(A->FDown, R.A);
    EXPECT_EQ(B->FDown, R.B);
  }
  // An ungrouped button goes up at the release; dragged outside it shows its normal look.
  Free->ObjectRect = TRect(0, 0, 10, 10);
  S.FS->PreviewMode = true;
  Free->MouseEnter();
  Free->MouseDown(0, 0, mbLeft);
  auto Look = [&] {
    auto Bm = Canvas(10, 10);
    Free->Draw(Bm->Canvas(), true);
    return Px(Bm.get(), 5, 5);
  };
  EXPECT_EQ(Look(), Sys(clTeal));  // down look while the pointer is on it
  Free->MouseLeave();
  EXPECT_EQ(Look(), Sys(clYellow));  // normal look while dragged outside
  Free->MouseEnter();
  EXPECT_EQ(Look(), Sys(clTeal));
  Free->MouseLeave();
  std::vector<std::string> Ups;
  S.FS->OnMouseUpEvent = [&](const String& N, Integer, Integer, const TRect&, TMouseButton) {
    Ups.push_back(ToUtf8(N));
  };
  Free->MouseUp(50, 50, mbLeft);
  EXPECT_FALSE(Free->FDown);
  EXPECT_TRUE(Ups.empty());
}

// ---------------------------------------------------------------------------
// Linked areas

TEST_F(FrameObjects, LinkedAreasFollowTheForm) {
  TShownForm S(SD.get());
  const struct Row {
    const char* Name;
    bool Left, Right;
    Integer DW, DX;  // growth of width and left when the form widens by 40
  } Rows[] = {{"both", true, true, 40, 0}, {"right", false, true, 0, 40}, {"left", true, false, 0, 0}};
  std::vector<TEdit*> Panels;
  for (const Row& R : Rows) {
    SD->AreaList->Add(new TspDataSkinArea(UTF8ToString(R.Name), TRect(10, 24, 30, 40), true, R.Left, true, R.Right, false));
    auto* P = new TEdit(S.F);
    P->SetParent(S.F);
    P->SetAlign(alTop);
    S.FS->LinkControlToArea(UTF8ToString(R.Name), P);
    EXPECT_EQ(P->Align(), alNone) << R.Name;
    Panels.push_back(P);
  }
  SD->AreaList->Add(new TspDataSkinArea(u"flat", TRect(10, 24, 10, 40), false, false, false, false, false));
  SD->AreaList->Add(new TspDataSkinArea(u"both", TRect(1, 2, 3, 4), false, false, false, false, false));
  auto* Other = new TEdit(S.F);
  Other->SetParent(S.F);
  Other->SetAlign(alTop);
  S.FS->LinkControlToArea(u"flat", Other);
  S.FS->LinkControlToArea(u"missing", Other);
  EXPECT_EQ(Other->Align(), alTop);
  EXPECT_EQ(S.FS->LinkedControlCount(), 3);
  // The last area of a name wins in GetAreaRect.
  EXPECT_EQ(S.FS->GetAreaRect(u"both"), TRect(1, 2, 3, 4));
  EXPECT_EQ(S.FS->GetAreaRect(u"missing"), TRect());
  S.FS->UpdateLinkedControls();
  std::vector<TRect> Before;
  for (auto* P : Panels) Before.push_back(P->BoundsRect());
  S.F->SetWidth(S.F->Width() + 40);
  Pump();
  S.FS->UpdateLinkedControls();
  for (size_t I = 0; I < Panels.size(); ++I) {
    EXPECT_EQ(Panels[I]->Width() - Before[I].Width(), Rows[I].DW) << Rows[I].Name;
    EXPECT_EQ(Panels[I]->Left() - Before[I].Left, Rows[I].DX) << Rows[I].Name;
  }
  // A control freed while linked drops its link; the next update runs.
  delete Panels[0];
  EXPECT_EQ(S.FS->LinkedControlCount(), 2);
  S.FS->UpdateLinkedControls();
  S.FS->UnLinkControlFromArea(Panels[1]);
  EXPECT_EQ(S.FS->LinkedControlCount(), 1);
  // A skin change ends every link.
  S.FS->ApplySkinData();
  EXPECT_EQ(S.FS->LinkedControlCount(), 0);
  EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------
// Caption buttons

TEST_F(FrameObjects, DefaultButtonLooks) {
  TShownForm S(nullptr, false);
  S.FS->CreateDefaultButtons();
  auto* Close = dynamic_cast<TspSkinStdButtonObject*>(
      static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(S.FS->GetIndex(u"closebutton"))));
  ASSERT_NE(Close, nullptr);
  Close->ObjectRect = TRect(0, 0, 16, 14);
  const struct Row {
    const char* State;
    bool Hot, Down, Enabled;
    TColor Fill;
    bool Frame;
    TColor Glyph;
    Integer Shift;
  } Rows[] = {{"normal", false, false, true, clBtnFace, false, clBtnText, 0},
              {"hot", true, false, true, TColor(0xD2BDB6), true, clBtnText, 0},
              {"pressed", true, true, true, TColor(0xB59385), true, clBtnText, 1},
              {"disabled", false, false, false, clBtnFace, false, clBtnShadow, 0}};
  TRect NormalInk;
  for (const Row& R : Rows) {
    Close->Active = R.Hot;
    Close->FDown = R.Down;
    Close->Enabled = R.Enabled;
    auto B = Canvas(16, 14, clFuchsia);
    Close->Draw(B->Canvas(), true);
    SaveBitmapForReview(B.get(), std::string("closebutton-") + R.State, "default");
    EXPECT_EQ(Px(B.get(), 1, 1), Sys(R.Fill)) << R.State;
    EXPECT_EQ(Px(B.get(), 0, 0), R.Frame ? Sys(TColor(0x800000)) : Sys(R.Fill)) << R.State;
    EXPECT_EQ(Px(B.get(), 15, 13), R.Frame ? Sys(TColor(0x800000)) : Sys(R.Fill)) << R.State;
    const TRect Ink = InkBox(B.get(), Sys(R.Glyph));
    ASSERT_FALSE(RectIsEmpty(Ink)) << R.State;
    if (NormalInk.Right == 0) NormalInk = Ink;
    EXPECT_EQ(Ink.Left, NormalInk.Left + R.Shift) << R.State;
    EXPECT_EQ(Ink.Top, NormalInk.Top + R.Shift) << R.State;
  }
  // Every command's glyph differs from the empty face.
  for (const char* Name : {"maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "traybutton"}) {
    auto* O = static_cast<TspSkinStdButtonObject*>(S.FS->ObjectList->Items(S.FS->GetIndex(UTF8ToString(Name))));
    O->ObjectRect = TRect(0, 0, 16, 14);
    O->Enabled = true;
    auto B = Canvas(16, 14, clFuchsia);
    O->Draw(B->Canvas(), true);
    SaveBitmapForReview(B.get(), Name, "default");
    EXPECT_FALSE(RectIsEmpty(InkBox(B.get(), Sys(clBtnText)))) << Name;
  }
}

TEST_F(FrameObjects, RestoreLooksAndHints) {
  // Built by the form from the skin: a state change may build the objects again.
  TTempFolder Dir2("frameobjects-restore");
  TSkinOptions Opt;
  Opt.ActiveSizes = {{40, 20}};
  Opt.ExtraObjects = {{u"maxbutton", u"stdbutton",
                       {u"command=cmmaximize", u"hint=Maximize", u"restorehint=Restore", u"activepictureindex=0",
                        u"skinrectinapicture=1", u"skinrect=0,0,10,10", u"restorerect=0,10,10,20"}}};
  auto SD2 = LoadFixtureSkin(Dir2, Opt);
  TShownForm S(SD2.get());
  auto Max = [&] {
    const Integer I = S.FS->GetIndex(u"maxbutton");
    return I == -1 ? nullptr : dynamic_cast<TspSkinStdButtonObject*>(
                                   static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(I)));
  };
  ASSERT_NE(Max(), nullptr);
  auto Look = [&] {
    const TRect Saved = Max()->ObjectRect;
    Max()->ObjectRect = TRect(0, 0, 10, 10);
    auto B = Canvas(10, 10);
    Max()->Draw(B->Canvas(), true);
    Max()->ObjectRect = Saved;
    return Px(B.get(), 5, 5);
  };
  EXPECT_EQ(Look(), Sys(clTeal));
  Max()->MouseEnter();
  EXPECT_EQ(Max()->Hint, u"Maximize");
  Max()->MouseLeave();
  S.FS->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(S.FS->WindowState(), wsMaximized);
  ASSERT_NE(Max(), nullptr);
  EXPECT_TRUE(Max()->IsRestoreState());
  EXPECT_EQ(Look(), Sys(clYellow));
  Max()->MouseEnter();
  EXPECT_EQ(Max()->Hint, u"Restore");
  Max()->MouseLeave();
  SaveForReview(S.F->Handle(), "fixture", "maximised-restore-look");
  S.FS->SetWindowState(wsNormal);
  Pump();
  ASSERT_NE(Max(), nullptr);
  EXPECT_EQ(Look(), Sys(clTeal));
  Max()->MouseEnter();
  EXPECT_EQ(Max()->Hint, u"Maximize");
}

TEST_F(FrameObjects, CommandsAndTheirEventOrder) {
  // The mouse protocol as the frame runs it: hot, press, then release with
  // the pointer still on the button or after it has left.
  struct Row {
    const char* Name;
    TStdCommand Command;
    bool ReleaseInside;
    std::vector<std::string> Expected;
  };
  const Row Rows[] = {
      {"close inside", cmClose, true, {"up", "closed"}},
      {"close outside", cmClose, false, {}},
      {"maximise inside", cmMaximize, true, {"maximised"}},
      {"maximise outside", cmMaximize, false, {}},
      {"roll-up inside", cmRollUp, true, {"rolled", "up"}},
      {"roll-up outside", cmRollUp, false, {}},
  };
  TShownForm S(SD.get());
  std::vector<std::string> Log;
  S.FS->OnMouseUpEvent = [&](const String&, Integer, Integer, const TRect&, TMouseButton) { Log.push_back("up"); };
  S.F->OnClose = [&](TObject*, TCloseAction& A) {
    Log.push_back("closed");
    A = caNone;
  };
  S.FS->OnChangeRollUpState = [&](TObject*) { Log.push_back("rolled"); };
  S.FS->OnMaximize = [&](TObject*) { Log.push_back("maximised"); };
  for (const Row& R : Rows) {
    S.FS->ClearObjects();
    Log.clear();
    auto* O = Add<TspSkinStdButtonObject, TspDataSkinStdButton>(S.FS, u"b", [&](auto& D) { D.Command = R.Command; });
    S.FS->ActiveObject = 0;
    O->MouseEnter();
    O->MouseDown(1, 1, mbLeft);
    EXPECT_TRUE(O->FDown) << R.Name;
    if (!R.ReleaseInside) {
      S.FS->ActiveObject = -1;
      O->MouseLeave();
    }
    O->MouseUp(1, 1, mbLeft);
    EXPECT_EQ(Log, R.Expected) << R.Name;
    EXPECT_FALSE(O->FDown) << R.Name;
    S.FS->SetRollUpState(false);
    S.FS->SetWindowState(wsNormal);
    Pump();
  }
  EXPECT_TRUE(Errors.empty());
}

// Real mouse input on the default look: the frame's own WM_NC* messages,
// the hover poll and Wine's capture.
TEST_F(FrameObjects, CaptionButtonsUnderRealInput) {
  TShownForm S(nullptr);
  S.FS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize | spbi::biRollUp);
  S.FS->UpDateFormNC();
  Pump();
  std::vector<std::string> Log;
  S.FS->OnMouseUpEvent = [&](const String& N, Integer, Integer, const TRect&, TMouseButton) {
    Log.push_back("up " + ToUtf8(N));
  };
  S.F->OnClose = [&](TObject*, TCloseAction& A) {
    Log.push_back("closed");
    A = caNone;
  };
  auto Center = [&](const char* Name) {
    S.FS->CalcDefRects();
    const Integer I = S.FS->GetIndex(UTF8ToString(Name));
    const TRect R = static_cast<TspActiveSkinObject*>(S.FS->ObjectList->Items(I))->ObjectRect;
    RECT W;
    GetWindowRect(S.F->Handle(), &W);
    return TPoint(W.left + (R.Left + R.Right) / 2, W.top + (R.Top + R.Bottom) / 2);
  };
  auto Mouse = [&](DWORD Flags) {
    INPUT In{};
    In.type = INPUT_MOUSE;
    In.mi.dwFlags = Flags;
    SendInput(1, &In, sizeof(INPUT));
    for (int I = 0; I < 12; ++I) {
      Application->ProcessMessages();
      Sleep(10);
    }
  };
  // Two presses on one spot within the double-click time make a double click.
  auto PastDoubleClick = [] {
    const DWORD Start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - Start > GetDoubleClickTime() + 50; }, 5000);
  };
  auto MoveTo = [&](TPoint P) {
    PastDoubleClick();
    SetCursorPos(P.X, P.Y);
    Mouse(MOUSEEVENTF_MOVE);
  };
  // Hover: the close button becomes hot through the poll.
  MoveTo(Center("closebutton"));
  PumpUntil([&] { return S.FS->ActiveObject == S.FS->GetIndex(u"closebutton"); }, 1000);
  EXPECT_EQ(S.FS->ActiveObject, S.FS->GetIndex(u"closebutton"));
  // Press inside, release outside: nothing.
  Mouse(MOUSEEVENTF_LEFTDOWN);
  MoveTo(TPoint(Center("closebutton").X, Center("closebutton").Y + 60));
  PumpUntil([&] { return S.FS->ActiveObject == -1; }, 1000);
  Mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Log, std::vector<std::string>{});
  // Press and release inside: the up event, then the close.
  MoveTo(Center("closebutton"));
  PumpUntil([&] { return S.FS->ActiveObject == S.FS->GetIndex(u"closebutton"); }, 1000);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Log, (std::vector<std::string>{"up closebutton", "closed"}));
  // Roll-up: the state changes, then the up event.
  Log.clear();
  S.FS->OnChangeRollUpState = [&](TObject*) { Log.push_back("rolled"); };
  MoveTo(Center("rollupbutton"));
  PumpUntil([&] { return S.FS->ActiveObject == S.FS->GetIndex(u"rollupbutton"); }, 1000);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(S.FS->RollUpState());
  EXPECT_EQ(Log, (std::vector<std::string>{"rolled", "up rollupbutton"}));
  S.FS->SetRollUpState(false);
  Pump();
  // Maximise: no up event.
  Log.clear();
  MoveTo(Center("maxbutton"));
  PumpUntil([&] { return S.FS->ActiveObject == S.FS->GetIndex(u"maxbutton"); }, 1000);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(S.FS->WindowState(), wsMaximized);
  EXPECT_TRUE(Log.empty());
  SaveForReview(S.F->Handle(), "default", "maximised-buttons");
  S.FS->SetWindowState(wsNormal);
  Pump();
  EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------
// Caption

TEST_F(FrameObjects, CaptionTextPlace) {
  const TRect TR(10, 0, 110, 20);
  const struct Row {
    const char* What;
    TAlignment Al;
    bool Centred;
    Integer W, H, FontHeight;
    TPoint At;
  } Rows[] = {{"left", taLeftJustify, false, 40, 14, 14, TPoint(10, 3)},
              {"right", taRightJustify, false, 40, 14, 14, TPoint(70, 3)},
              {"centre", taCenter, false, 40, 14, 14, TPoint(40, 3)},
              {"quick buttons centre it", taLeftJustify, true, 40, 14, 14, TPoint(40, 3)},
              {"odd font height one pixel higher", taLeftJustify, false, 40, 14, 13, TPoint(10, 2)},
              {"odd negative height", taLeftJustify, false, 40, 14, -13, TPoint(10, 2)}};
  for (const Row& R : Rows) EXPECT_EQ(CaptionTextPos(TR, R.W, R.H, R.Al, R.Centred, R.FontHeight), R.At) << R.What;
}

TEST_F(FrameObjects, CaptionTextPixels) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  S.FS->PreviewMode = true;
  auto* Cap = Add<TspSkinCaptionObject, TspDataSkinCaption>(S.FS, u"caption", [](TspDataSkinCaption& D) {
    D.SkinRect = TRect(0, 0, 30, 20);
    D.ActiveSkinRect = TRect();
    D.TextRct = TRect(4, 0, 26, 20);
    D.FontName = u"Arial";
    D.FontHeight = -12;
    D.FontColor = clBlack;
    D.ActiveFontColor = clBlack;
    D.DefaultCaption = true;
  });
  // Stretched to 120: the text rectangle is 4 .. 116.
  const struct Row {
    const char* What;
    const char* Text;
    TAlignment Al;
  } Rows[] = {{"fits-left", "Short", taLeftJustify},
              {"fits-right", "Short", taRightJustify},
              {"fits-centre", "Short", taCenter},
              {"cut", "A caption far too long for this narrow caption band", taLeftJustify}};
  for (const Row& R : Rows) {
    S.F->SetCaption(UTF8ToString(R.Text));  // the frame's paint places the object again
    Cap->ObjectRect = TRect(0, 0, 120, 20);
    Cap->Alignment = R.Al;
    auto B = Canvas(120, 20, clWhite);
    Cap->PaintText(B->Canvas(), 0, 0, true, B->Canvas());
    SaveBitmapForReview(B.get(), std::string("caption-") + R.What, "fixture");
    const TRect Ink = InkBox(B.get(), Dark);
    ASSERT_FALSE(RectIsEmpty(Ink)) << R.What;
    EXPECT_GE(Ink.Left, 4) << R.What;
    EXPECT_LE(Ink.Right, 116) << R.What;
    switch (R.Al) {
      case taLeftJustify: EXPECT_LE(Ink.Left, 6) << R.What; break;
      case taRightJustify: EXPECT_GE(Ink.Right, 112) << R.What; break;
      case taCenter: EXPECT_LE(std::abs((Ink.Left + Ink.Right) / 2 - 60), 2) << R.What; break;
    }
  }
  // The cut text ends in "...": three dots on the baseline at its right end.
  String Long = u"A caption far too long for this narrow caption band";
  auto C = Canvas(10, 10);
  C->Canvas()->Font()->SetName(u"Arial");
  C->Canvas()->Font()->SetHeight(-12);
  String Cut = Long;
  EllipsizeWideText(C->Canvas(), Cut, 112);
  EXPECT_EQ(Cut.substr(Cut.size() - 3), u"...");
  EXPECT_LT(Cut.size(), Long.size());
}

TEST_F(FrameObjects, CaptionInactiveGrayscaleAndMorph) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  SD->AutoRenderingInActiveImage = true;
  SD->InActiveEffect = ieGrayScale;
  auto* Cap = Add<TspSkinCaptionObject, TspDataSkinCaption>(S.FS, u"caption", [](TspDataSkinCaption& D) {
    D.SkinRect = TRect(0, 0, 20, 10);        // the frame picture's caption band
    D.ActiveSkinRect = TRect(0, 0, 20, 10);  // teal of the active picture
    D.Morphing = true;
    D.SkinRectInAPicture = false;
  });
  Cap->ObjectRect = TRect(0, 0, 20, 10);
  auto Look = [&](const char* Name) {
    auto B = Canvas(20, 10);
    Cap->Draw(B->Canvas(), true);
    SaveBitmapForReview(B.get(), Name, "fixture");
    return Px(B.get(), 10, 5);
  };
  // Inactive (the form is hidden): the band colour in grey.
  const TColor Inactive = Look("caption-inactive-grayscale");
  EXPECT_EQ(GetRValue(Inactive), GetGValue(Inactive));
  EXPECT_EQ(GetGValue(Inactive), GetBValue(Inactive));
  EXPECT_NE(Inactive, Sys(TopColor));
  // At rest while active: the active look.
  S.FS->PreviewMode = true;
  Cap->SetMorphKf(1);
  EXPECT_EQ(Look("caption-active"), Sys(clTeal));
  // Mid-fade: neither end.
  Cap->SetMorphKf(0.4);
  const TColor Mid = Look("caption-midmorph");
  EXPECT_NE(Mid, Sys(clTeal));
  EXPECT_NE(Mid, Sys(TopColor));
  SD->AutoRenderingInActiveImage = false;
}

// A fade keeps its two composed looks from step to step: every step must still
// show what a caption drawing the same step afresh shows, also after a step
// back, a text change and a size change in the middle of the fade.
TEST_F(FrameObjects, CaptionFadeStepsMatchAFreshCaption) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  S.FS->PreviewMode = true;
  auto Make = [&] {
    auto* C = Add<TspSkinCaptionObject, TspDataSkinCaption>(S.FS, u"caption", [](TspDataSkinCaption& D) {
      D.SkinRect = TRect(0, 0, 20, 10);
      D.ActiveSkinRect = TRect(0, 0, 20, 10);
      D.TextRct = TRect(0, 0, 20, 10);
      D.Morphing = true;
      D.SkinRectInAPicture = false;
    });
    C->ObjectRect = TRect(0, 0, 20, 10);
    return C;
  };
  auto* Kept = Make();
  auto Look = [](TspSkinCaptionObject* C, double Kf) {
    C->SetMorphKf(Kf);
    auto B = Canvas(C->ObjectRect.Width(), 10);
    C->Draw(B->Canvas(), true);
    std::vector<TColor> P;
    for (Integer Y = 0; Y < 10; ++Y)
      for (Integer X = 0; X < B->Width(); ++X) P.push_back(Px(B.get(), X, Y));
    return P;
  };
  auto Fresh = [&](double Kf, Integer W) {
    auto* C = Make();
    C->ObjectRect = TRect(0, 0, W, 10);
    auto P = Look(C, Kf);
    S.FS->ObjectList->Remove(C);
    delete C;
    return P;
  };
  S.F->SetCaption(u"");
  const auto Empty = Look(Kept, 0.4);
  for (double Kf : {0.2, 0.4, 0.6, 0.4}) EXPECT_EQ(Look(Kept, Kf), Fresh(Kf, 20)) << Kf;
  S.F->SetCaption(u"WWW");
  const auto Text = Look(Kept, 0.4);
  EXPECT_NE(Text, Empty);
  EXPECT_EQ(Text, Fresh(0.4, 20));
  Kept->ObjectRect = TRect(0, 0, 30, 10);
  EXPECT_EQ(Look(Kept, 0.6), Fresh(0.6, 30));
}

TEST_F(FrameObjects, CaptionAnimationFrames) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  auto Make = [&](Integer Frames) {
    return Add<TspSkinCaptionObject, TspDataSkinCaption>(S.FS, u"caption", [&](TspDataSkinCaption& D) {
      D.AnimateSkinRect = TRect(0, 0, 40, 10);
      D.FrameCount = Frames;
      D.AnimateInterval = 50;
    });
  };
  auto* Cap = Make(3);
  ASSERT_TRUE(Cap->EnableAnimation());
  Cap->Active = true;
  Cap->CurrentFrame = 1;
  Cap->FIncTime = 25;
  S.FS->AnimateTimer->SetEnabled(true);
  // Every second tick moves a frame (50 ms in 25-ms ticks) up to FrameCount + 1.
  std::vector<Integer> Frames;
  for (int I = 0; I < 10 && S.FS->AnimateTimer->Enabled(); ++I) {
    S.FS->AnimateTimerTick();
    Frames.push_back(Cap->CurrentFrame);
  }
  // The last tick is the idle one that switches the timer off.
  EXPECT_EQ(Frames, (std::vector<Integer>{1, 2, 2, 3, 3, 4, 4, 4}));
  EXPECT_FALSE(S.FS->AnimateTimer->Enabled());
  // And back down to 0 when inactive.
  Cap->Active = false;
  Cap->FIncTime = 50;
  S.FS->AnimateTimer->SetEnabled(true);
  Frames.clear();
  for (int I = 0; I < 12 && S.FS->AnimateTimer->Enabled(); ++I) {
    S.FS->AnimateTimerTick();
    Frames.push_back(Cap->CurrentFrame);
  }
  EXPECT_EQ(Frames, (std::vector<Integer>{3, 3, 2, 2, 1, 1, 0, 0, 0}));
  // Frame rectangles: side by side; clamped to the strip.
  const struct {
    Integer Frame;
    TRect R;
  } Rows[] = {{1, TRect(0, 0, 13, 10)}, {3, TRect(26, 0, 39, 10)}, {4, TRect(26, 0, 39, 10)}, {0, TRect(0, 0, 13, 10)}};
  for (auto R : Rows) EXPECT_EQ(Cap->AnimationFrameRect(R.Frame), R.R) << R.Frame;
  // No frames: no animation.
  EXPECT_FALSE(Make(0)->EnableAnimation());
}

// ---------------------------------------------------------------------------
// Hints and the inactive client picture

TEST_F(FrameObjects, ObjectHintsThroughTheFormsSeam) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  auto* A = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"A", [](auto& D) { D.Hint = u"First"; });
  auto* B = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"B");
  A->ObjectRect = TRect(20, 2, 30, 12);
  B->ObjectRect = TRect(40, 2, 50, 12);
  const struct {
    bool Show;
    Integer X;
    bool Shown;
    const char16_t* Text;
  } Rows[] = {{false, 25, false, u""}, {true, 100, false, u""}, {true, 25, true, u"First"},
              {true, 45, false, u""},  {true, 25, true, u"First"}, {true, -1, false, u""}};
  for (auto R : Rows) {
    S.FS->SetShowObjectHint(R.Show);
    S.FS->UpdateActiveObject(R.X, R.X < 0 ? -1 : 5, R.X >= 0);
    EXPECT_EQ(S.FS->ObjectHintShown(), R.Shown) << R.X;
    EXPECT_EQ(S.FS->ObjectHintText(), String(R.Text)) << R.X;
  }
}

// With a skinned hint component the hot object's hint is scheduled on it
// instead of the class library's hint window; a freed component is
// forgotten and the plain window takes over again.
TEST_F(FrameObjects, ObjectHintsThroughTheSkinnedHint) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  auto* A = Add<TspActiveSkinObject, TspDataSkinObject>(S.FS, u"A", [](auto& D) { D.Hint = u"First"; });
  A->ObjectRect = TRect(20, 2, 30, 12);
  // The hint shows only as a component of the main form; it takes over the
  // application's hint window class, which goes back afterwards.
  const THintWindowClass SavedClass = HintWindowClass;
  TCustomForm* SavedMain = Application->MainForm();
  TFinally Restore([&] {
    HintWindowClass = SavedClass;
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    Application->SetMainForm(SavedMain);
  });
  Application->SetMainForm(S.F);
  auto* Hint = new TspSkinHint(S.F);
  S.FS->SetSkinHint(Hint);
  S.FS->SetShowObjectHint(true);
  S.FS->UpdateActiveObject(25, 5, true);
  ASSERT_NE(Hint->Timer(), nullptr);
  Hint->Timer()->OnTimer()(Hint->Timer());
  EXPECT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Hint->Window()->Text(), u"First");
  EXPECT_EQ(S.FS->ObjectHintText(), u"First");
  // Off the object: hidden and nothing pending.
  S.FS->UpdateActiveObject(100, 5, true);
  EXPECT_FALSE(Hint->IsVisible());
  EXPECT_EQ(Hint->Timer(), nullptr);
  EXPECT_FALSE(S.FS->ObjectHintShown());
  delete Hint;
  EXPECT_EQ(S.FS->SkinHint(), nullptr);
  S.FS->UpdateActiveObject(25, 5, true);
  EXPECT_EQ(S.FS->ObjectHintText(), u"First");
  S.FS->UpdateActiveObject(100, 5, true);
  EXPECT_FALSE(S.FS->ObjectHintShown());
}

TEST_F(FrameObjects, InactiveClientPicture) {
  TShownForm S(nullptr);
  // A red square in the client area.
  const HDC CDC = GetDC(S.F->Handle());
  RECT Sq{40, 30, 80, 70};
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(CDC, &Sq, Red);
  DeleteObject(Red);
  ReleaseDC(S.F->Handle(), CDC);
  auto* P = new TspClientInActivePanel(S.F);
  // A pending repaint of the form survives taking the picture.
  InvalidateRect(S.F->Handle(), nullptr, FALSE);
  P->ShowPanel(S.F, spieBlur);
  RECT U;
  EXPECT_TRUE(GetUpdateRect(S.F->Handle(), &U, FALSE));
  ASSERT_NE(P->Buffer, nullptr);
  EXPECT_EQ(P->Buffer->Width(), S.F->ClientWidth());
  EXPECT_EQ(P->Buffer->Height(), S.F->ClientHeight());
  EXPECT_TRUE(P->Visible());
  Pump();
  auto Shot = GrabWindow(S.F->Handle());
  RECT W;
  GetWindowRect(S.F->Handle(), &W);
  POINT C{60, 50};
  ClientToScreen(S.F->Handle(), &C);
  // The form's own pixels: the middle of the square stays red through the blur.
  EXPECT_EQ(Px(Shot.get(), C.x - W.left, C.y - W.top), Sys(clRed));
  SaveForReview(S.F->Handle(), "default", "inactive-client-blur");
  P->HidePanel();
  EXPECT_EQ(P->Buffer, nullptr);
  EXPECT_FALSE(P->Visible());
  // An empty client: nothing.
  S.F->SetClientHeight(0);
  Pump();
  P->ShowPanel(S.F, spieSemiTransparent);
  EXPECT_EQ(P->Buffer, nullptr);
  EXPECT_FALSE(P->Visible());
  delete P;
}

// ---------------------------------------------------------------------------
// Value objects

TEST_F(FrameObjects, ValueMappings) {
  const struct {
    Integer Value, Min, Max, Size, Pos;
  } Fill[] = {{50, 0, 100, 100, 50}, {0, 0, 100, 100, 0},  {100, 0, 100, 100, 100},
              {1, 0, 4, 10, 2},      {3, 0, 4, 10, 8},     {5, 5, 5, 100, 0}};  // 2.5 and 7.5 go to even
  for (auto R : Fill) EXPECT_EQ(GaugeFillPos(R.Value, R.Min, R.Max, R.Size), R.Pos) << R.Value << "/" << R.Max;
  const struct {
    Integer Value, Min, Max, Count, Frame;
  } Frames[] = {{0, 0, 100, 11, 1},  {10, 0, 100, 11, 2}, {100, 0, 100, 11, 11}, {55, 0, 100, 11, 6},
                {50, 0, 100, 0, 1},  {50, 0, 100, 1, 1},  {3, 0, 2, 5, 1},       {500, 0, 100, 11, 11},
                {-20, 0, 100, 11, 3}};
  for (auto R : Frames)
    EXPECT_EQ(FrameOfValue(R.Value, R.Min, R.Max, R.Count), R.Frame) << R.Value << " of " << R.Count;
}

TEST_F(FrameObjects, ValueSetters) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  std::vector<std::string> Log;
  S.FS->OnSwitchChangeStateEvent = [&](const String& N, spobj::TSwitchState St) {
    Log.push_back(ToUtf8(N) + (St == spobj::swsOn ? " on" : " off"));
  };
  auto* G = Add<TspSkinGaugeObject, TspDataSkinGauge>(S.FS, u"gauge", [](TspDataSkinGauge& D) {
    D.MinValue = 0;
    D.MaxValue = 100;
    D.SkinRect = TRect(0, 0, 40, 10);
  });
  auto* FG = Add<TspSkinFrameGaugeObject, TspDataSkinFrameGaugeObject>(
      S.FS, u"frames", [](TspDataSkinFrameGaugeObject& D) {
        D.MinValue = 0;
        D.MaxValue = 100;
        D.CountFrames = 4;
        D.ActiveSkinRect = TRect(0, 0, 40, 10);
      });
  auto* W = Add<TspSkinSwitchObject, TspDataSkinObject>(S.FS, u"switch");
  EXPECT_EQ(FG->FrameW, 10);
  EXPECT_EQ(FG->FrameH, 10);
  // Gauge: clamped both ways; the fill follows.
  const struct {
    Integer Set, Value, FillX;
  } GaugeRows[] = {{50, 50, 20}, {150, 100, 40}, {-5, 0, 0}};
  for (auto R : GaugeRows) {
    S.FS->GaugeSetValue(u"gauge", R.Set);
    EXPECT_EQ(G->Value(), R.Value) << R.Set;
    EXPECT_EQ(G->FProgressPos.X, R.FillX) << R.Set;
  }
  // Frame gauge: values outside the range are ignored.
  const struct {
    Integer Set, Value;
  } FrameRows[] = {{40, 40}, {101, 40}, {-1, 40}, {100, 100}};
  for (auto R : FrameRows) {
    S.FS->FrameGaugeSetValue(u"frames", R.Set);
    EXPECT_EQ(FG->Value(), R.Value) << R.Set;
  }
  // Switch: loud outside the skin change, quiet inside; getters of other classes answer off.
  S.FS->SwitchSetState(u"switch", spobj::swsOn);
  EXPECT_EQ(S.FS->SwitchGetState(u"switch"), spobj::swsOn);
  EXPECT_TRUE(W->Active);
  S.FS->FInChangeSkinData = true;
  S.FS->SwitchSetState(u"switch", spobj::swsOff);
  S.FS->SwitchSetState(u"switch", spobj::swsOn);
  EXPECT_DOUBLE_EQ(W->MorphKf(), 1.0);
  S.FS->FInChangeSkinData = false;
  EXPECT_EQ(Log, std::vector<std::string>{"switch on"});
  W->MouseDown(0, 0, mbLeft);
  EXPECT_EQ(W->State(), spobj::swsOff);
  EXPECT_EQ(S.FS->SwitchGetState(u"gauge"), spobj::swsOff);
  S.FS->SwitchSetState(u"gauge", spobj::swsOn);
  EXPECT_EQ(Log, (std::vector<std::string>{"switch on", "switch off"}));
  // Frame gauge pixels: value 100 shows the last picture of the strip.
  FG->ObjectRect = TRect(0, 0, 10, 10);
  auto B = Canvas(10, 10);
  FG->Draw(B->Canvas(), true);
  EXPECT_EQ(Px(B.get(), 5, 5), Sys(clYellow));  // picture 4: (30, 0, 40, 10)
  S.FS->FrameGaugeSetValue(u"frames", 0);
  FG->Draw(B->Canvas(), true);
  EXPECT_EQ(Px(B.get(), 5, 5), Sys(clTeal));  // picture 1: (0, 0, 10, 10)
}

TEST_F(FrameObjects, TrackBarMappingAndDrag) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  std::vector<Integer> Changes;
  S.FS->OnTrackBarChangeValueEvent = [&](const String&, Integer V) { Changes.push_back(V); };
  auto Make = [&](const String& Name, TPoint B, TPoint E, Integer Max) {
    return Add<TspSkinTrackBarObject, TspDataSkinTrackBar>(S.FS, Name, [&](TspDataSkinTrackBar& D) {
      D.SkinRect = TRect(0, 0, 120, 20);
      D.BeginPoint = B;
      D.EndPoint = E;
      D.MinValue = 0;
      D.MaxValue = Max;
      D.ButtonRect = TRect(0, 0, 6, 6);
      D.MouseDownChangeValue = true;
    });
  };
  auto* H = Make(u"h", TPoint(10, 10), TPoint(110, 10), 100);
  auto* V = Make(u"v", TPoint(5, 90), TPoint(5, 10), 80);
  auto* Flat = Make(u"flat", TPoint(10, 10), TPoint(110, 10), 0);
  EXPECT_EQ(H->TrackKind, tkHorizontal);
  EXPECT_EQ(V->TrackKind, tkVertical);
  const struct {
    TspSkinTrackBarObject* T;
    Integer Value;
    TPoint Pos;
  } Rows[] = {{H, 50, TPoint(60, 10)}, {H, 0, TPoint(10, 10)}, {H, 100, TPoint(110, 10)},
              {V, 0, TPoint(5, 90)},   {V, 80, TPoint(5, 10)}, {V, 20, TPoint(5, 70)},
              {Flat, 0, TPoint(10, 10)}};
  for (auto R : Rows) {
    EXPECT_EQ(R.T->PosOfValue(R.Value), R.Pos) << ToUtf8(R.T->IDName) << " " << R.Value;
    if (R.T != Flat) {
      EXPECT_EQ(R.T->ValueOfPos(R.Pos), R.Value) << ToUtf8(R.T->IDName) << " " << R.Value;
    }
  }
  // Named setters: clamped; equal values change nothing; quiet ones still report.
  S.FS->TrackBarSetValue(u"h", 150);
  S.FS->TrackBarSetValue(u"h", 100);
  EXPECT_EQ(S.FS->TrackBarGetValue(u"h"), 100);
  EXPECT_EQ(S.FS->TrackBarGetValue(u"v2"), 0);
  S.FS->FInChangeSkinData = true;
  S.FS->TrackBarSetValue(u"h", 40);
  S.FS->FInChangeSkinData = false;
  EXPECT_EQ(Changes, (std::vector<Integer>{100, 40}));
  // Drag the thumb (window coordinates; the object at 30, 5): steps outside the track are not taken.
  H->ObjectRect = TRect(30, 5, 150, 25);
  Changes.clear();
  H->MouseDown(30 + 50, 5 + 10, mbLeft);  // on the thumb at (50, 10)
  EXPECT_TRUE(H->MoveActive);
  H->MouseMove(30 + 60, 5 + 10);
  H->MouseMove(30 + 200, 5 + 10);  // past the end: stays, the pointer's place is kept
  H->MouseMove(30 + 205, 5 + 10);  // 5 more from there
  H->MouseUp(30 + 205, 5 + 10, mbLeft);
  EXPECT_FALSE(H->MoveActive);
  EXPECT_EQ(Changes, (std::vector<Integer>{50, 55}));
  EXPECT_EQ(H->Value(), 55);
  // A click beside the thumb moves it there, clamped to the track.
  H->MouseDown(30 + 0, 5 + 3, mbLeft);
  EXPECT_EQ(H->Value(), 0);
  EXPECT_EQ(H->FButtonPos, TPoint(10, 10));
}

// A menu that finds no form to show it (a skinned popup menu without an
// owner form) leaves nothing open: the button comes up at once and the
// form's menu state stays closed.
TEST_F(FrameObjects, MenuButtonsComeUpWhenNoMenuShows) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  bool Opened = false, Closed = false;
  S.FS->OnSkinMenuOpen = [&](TObject*) { Opened = true; };
  S.FS->OnSkinMenuClose = [&](TObject*) { Closed = true; };
  auto Menu = std::make_unique<TspSkinPopupMenu>(nullptr);
  auto* Item = new TMenuItem(Menu.get());
  Menu->Items()->Add(Item);
  auto* Push = Add<TspSkinButtonObject>(S.FS, u"push");
  Push->MenuItem = Menu->Items();
  for (int Click = 0; Click < 2; ++Click) {
    Opened = Closed = false;
    Push->MouseEnter();
    Push->MouseDown(0, 0, mbLeft);
    EXPECT_FALSE(S.FS->SkinMenu->Visible()) << Click;
    EXPECT_FALSE(Opened) << Click;
    EXPECT_TRUE(Closed) << Click;
    EXPECT_FALSE(Push->FDown) << Click;
    EXPECT_FALSE(S.FS->InMenu) << Click;
    Push->MouseUp(0, 0, mbLeft);
    Push->MouseLeave();
  }
}

// A push button's menu drops below it on the screen through the form's
// skinned menus, whether its items belong to a plain popup menu or to a
// skinned one; the system-menu button drops the system menu. Closing the
// menu brings the button up again.
TEST_F(FrameObjects, FrameButtonMenusDropAndComeUp) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  auto Fill = [](TMenu* M) {
    auto* It = new TMenuItem(M);
    It->SetCaption(u"One");
    M->Items()->Add(It);
  };
  auto* Plain = new TPopupMenu(S.F);
  Fill(Plain);
  auto* Skinned = new TspSkinPopupMenu(S.F);
  Skinned->SetComponentForm(S.F);
  Fill(Skinned);
  auto* Push = Add<TspSkinButtonObject>(S.FS, u"push");
  Push->ObjectRect = TRect(30, 4, 50, 20);
  auto* Sys = Add<TspSkinStdButtonObject, TspDataSkinStdButton>(S.FS, u"sys", [](auto& D) { D.Command = cmSysMenu; });
  Sys->ObjectRect = TRect(4, 4, 20, 20);
  int Opened = 0, Closed = 0;
  S.FS->OnSkinMenuOpen = [&](TObject*) { ++Opened; };
  S.FS->OnSkinMenuClose = [&](TObject*) { ++Closed; };
  const struct {
    const char* Name;
    TspSkinButtonObject* B;
    TMenu* Menu;  // nullptr: the system menu
  } Rows[] = {{"plain menu", Push, Plain}, {"skinned menu", Push, Skinned}, {"system menu", Sys, nullptr}};
  for (auto R : Rows) {
    Opened = Closed = 0;
    if (R.Menu) R.B->MenuItem = R.Menu->Items();
    R.B->MouseEnter();
    R.B->MouseDown(R.B->ObjectRect.Left + 2, R.B->ObjectRect.Top + 2, mbLeft);
    ASSERT_TRUE(S.FS->SkinMenu->Visible()) << R.Name;
    EXPECT_TRUE(R.B->FDown) << R.Name;
    EXPECT_EQ(Opened, 1) << R.Name;
    const TRect Scr = OnScreen(S.F, R.B->ObjectRect);
    EXPECT_EQ(S.FS->SkinMenu->Level(0)->Left(), Scr.Left) << R.Name;
    EXPECT_EQ(S.FS->SkinMenu->Level(0)->Top(), Scr.Bottom) << R.Name;
    if (!R.Menu) {
      TMenuItem* M = R.B->MenuItem;
      EXPECT_EQ(M->Items(M->Count() - 1)->Name(), u"DSF_CLOSE") << R.Name;
    }
    S.FS->SkinMenu->Hide();
    PumpUntil([&] { return !S.FS->InMenu; }, 2000);
    EXPECT_EQ(Closed, 1) << R.Name;
    EXPECT_FALSE(R.B->FDown) << R.Name;
    R.B->MouseUp(0, 0, mbLeft);
    R.B->MouseLeave();
  }
}

// A quick button with a menu drops it below itself; the button stays down
// while its menu is open and comes up when it closes.
TEST_F(FrameObjects, QuickButtonMenuDropsAndComesUp) {
  TShownForm S(SD.get());
  S.FS->ClearObjects();
  auto* Images = new TImageList(S.F);
  Images->SetSize(16, 16);
  auto Pic = Canvas(16, 16, clRed);
  Images->Add(Pic.get(), nullptr);
  S.FS->SetQuickImageList(Images);
  auto* Cap = Add<TspSkinCaptionObject, TspDataSkinCaption>(S.FS, u"caption");
  Cap->ObjectRect = TRect(0, 0, 200, 24);
  auto* Menu = new TspSkinPopupMenu(S.F);
  Menu->SetComponentForm(S.F);
  auto* It = new TMenuItem(Menu);
  It->SetCaption(u"One");
  Menu->Items()->Add(It);
  TspQuickButtonItem* Q = S.FS->QuickButtons()->Add();
  Q->SetImageIndex(0);
  Q->PopupMenu = Menu;
  Q->ItemRect = TRect(40, 2, 60, 22);
  if (!Cap->QuickButtonsShown()) GTEST_SKIP() << "quick buttons need the non-client frame";
  Cap->MouseDown(45, 8, mbLeft);
  ASSERT_TRUE(S.FS->SkinMenu->Visible());
  EXPECT_EQ(Cap->PopupMenuQuickButton, 0);
  EXPECT_TRUE(Q->Down);
  const TRect Scr = OnScreen(S.F, Q->ItemRect);
  EXPECT_EQ(S.FS->SkinMenu->Level(0)->Left(), Scr.Left);
  EXPECT_EQ(S.FS->SkinMenu->Level(0)->Top(), Scr.Bottom);
  Cap->MouseUp(45, 8, mbLeft);
  EXPECT_TRUE(Q->Down) << "the menu's button stays down while the menu is open";
  S.FS->SkinMenu->Hide();
  PumpUntil([&] { return !S.FS->InMenu; }, 2000);
  EXPECT_EQ(Cap->PopupMenuQuickButton, -1);
  EXPECT_FALSE(Q->Down || Q->Active);
}

// ---------------------------------------------------------------------------
// Labels

TEST_F(FrameObjects, BitLabelCells) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  // Glyph cells of 10 x 10 in the active picture: "0" and "1" teal, "2", "3", ":" and "." yellow.
  // The glyph table stays the description's: it outlives the object.
  TspDataSkinBitLabel D(u"clock");
  D.ActivePictureIndex = 0;
  D.SkinRect = TRect(0, 0, 25, 10);  // the frame picture's caption band
  D.ActiveSkinRect = TRect(0, 0, 40, 20);
  D.SymbolWidth = D.SymbolHeight = 10;
  D.Symbols->Add(u"0123");
  D.Symbols->Add(u":.");
  auto* L = new TspSkinBitLabelObject(S.FS, &D);
  S.FS->ObjectList->Add(L);
  L->ObjectRect = TRect(0, 0, 25, 10);
  const TColor T = Sys(clTeal), Y = Sys(clYellow), Bg = Sys(TopColor);
  const struct {
    const char16_t* Text;
    TColor At5, At15, At22;
  } Rows[] = {{u"02:", T, Y, Y}, {u"x2", Bg, Y, Bg}, {u"20", Y, T, Bg}, {u"0000", T, T, T}, {u"", Bg, Bg, Bg}};
  for (auto R : Rows) {
    S.FS->BitLabelSetText(u"clock", R.Text);
    auto B = Canvas(30, 10, clWhite);
    L->Draw(B->Canvas(), true);
    EXPECT_EQ(Px(B.get(), 5, 5), R.At5) << ToUtf8(R.Text);
    EXPECT_EQ(Px(B.get(), 15, 5), R.At15) << ToUtf8(R.Text);
    EXPECT_EQ(Px(B.get(), 22, 5), R.At22) << ToUtf8(R.Text);
    EXPECT_EQ(Px(B.get(), 27, 5), Sys(clWhite)) << ToUtf8(R.Text);  // nothing past the label
  }
  S.FS->ClearObjects();
}

TEST_F(FrameObjects, LabelColoursAndHover) {
  TShownForm S(SD.get(), false);
  S.FS->ClearObjects();
  S.FS->PreviewMode = true;
  auto Make = [&](TColor Hot) {
    return Add<TspSkinLabelObject, TspDataSkinLabel>(S.FS, u"label", [&](TspDataSkinLabel& D) {
      D.SkinRect = TRect(0, 22, 40, 40);  // white client part of the frame picture
      D.SkinRectInAPicture = false;
      D.ActiveSkinRect = TRect();
      D.FontName = u"Arial";
      D.FontHeight = -12;
      D.FontColor = clBlack;
      D.ActiveFontColor = Hot;
      D.TextValue = u"Label";
    });
  };
  auto Ink = [&](TspSkinLabelObject* L, TColor C) {
    L->ObjectRect = TRect(0, 0, 40, 18);
    auto B = Canvas(40, 18, clFuchsia);
    L->Draw(B->Canvas(), true);
    return InkBox(B.get(), [&](TColor P) { return P == Sys(C); });
  };
  auto* Red = Make(clRed);
  EXPECT_FALSE(RectIsEmpty(Ink(Red, clBlack)));
  Red->MouseEnter();
  EXPECT_FALSE(RectIsEmpty(Ink(Red, clRed)));
  EXPECT_TRUE(RectIsEmpty(Ink(Red, clBlack)));
  // Equal colours and no active look: the hot label draws nothing over what shows.
  auto* Same = Make(clBlack);
  Same->MouseEnter();
  EXPECT_TRUE(RectIsEmpty(Ink(Same, clBlack)));
  EXPECT_TRUE(RectIsEmpty(Ink(Same, clWhite)));
  S.FS->LabelSetText(u"label", u"Other");
  EXPECT_EQ(Red->TextValue(), u"Other");
}
