// The colour dialog and the colour button under real X input (xdotool):
// drags over the palette's square and around its ring, clicks on the grids
// and the buttons, the button's menu opened and an item chosen with the
// pointer, and keys typed into the dialog that the menu's more-colours item
// opened.
#include "tests/skin/form/win/FormTestUtil.h"

#include <functional>
#include <string>

#include "skin/form/SkinColorButton.h"
#include "tests/common/Xdo.h"

using namespace formtest;
using lumigra_test::Xdo;

namespace {

std::string Str(Integer V) { return std::to_string(V); }

// The pointer to client point (X, Y) of C.
bool MoveTo(TControl* C, Integer X, Integer Y) {
  const TPoint P = C->ClientToScreen(TPoint(X, Y));
  return Xdo({"mousemove", Str(P.X), Str(P.Y)});
}
bool ClickAt(TControl* C, Integer X, Integer Y) { return MoveTo(C, X, Y) && Xdo({"click", "1"}); }
bool ClickMiddle(TControl* C) { return ClickAt(C, C->Width() / 2, C->Height() / 2); }

// Runs During once, inside whatever modal loop is running when Ready first
// holds (checked every 30 ms); During ends that loop itself.
struct TWhenReady {
  std::function<bool()> Ready;
  std::function<void()> During;
  bool Ran = false;
};
TWhenReady* Pending = nullptr;
void CALLBACK ReadyTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  if (!Pending || Pending->Ran) {
    KillTimer(nullptr, Id);
    return;
  }
  if (!Pending->Ready()) return;
  KillTimer(nullptr, Id);
  TWhenReady* W = Pending;
  W->Ran = true;
  W->During();
}
void Arm(TWhenReady& W) {
  Pending = &W;
  SetTimer(nullptr, 0, 30, ReadyTimer);
}

TColor EditsColor(TspSkinColorDialog& D) {
  return RGBBytesToColor(Byte(D.REdit->Value()), Byte(D.GEdit->Value()), Byte(D.BEdit->Value()));
}
TColor PSPColorValue(TspSkinColorDialog& D) {
  const TRGB C = D.PSPColor->GetRGB();
  return RGBBytesToColor(C.R, C.G, C.B);
}

class ColorInput : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  }
  void TearDown() override {
    Pending = nullptr;
    Xdo({"mouseup", "1"});
    SetCursorPos(0, 0);
    FormTest::TearDown();
  }
};

// Drags with the real pointer over the square (clamped at its edges) and
// around the ring (the hue only), a drag that starts outside both, then
// clicks on both grids, the add button and OK.
TEST_F(ColorInput, DialogUnderTheRealPointer) {
  TspSkinColorDialog D(nullptr);
  D.DialogFormLeft = 60;
  D.DialogFormTop = 40;
  D.SetColor(0x00FF00);
  bool Forced = false;
  TWhenReady W;
  W.Ready = [&] { return D.Form && IsWindowVisible(D.Form->Handle()); };
  W.During = [&] {
    SetForegroundWindow(D.Form->Handle());
    PumpFor(200);
    TControl* Pal = D.PalettePSPPanel;
    const THSLPSP Start = D.PSPColor->HSLPSP();
    // The square: a press in its middle, a drag far past its top-right.
    EXPECT_TRUE(MoveTo(Pal, 97, 97) && Xdo({"mousedown", "1"}));
    PumpFor(150);
    EXPECT_EQ(D.ClickImg, czpspPCar);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{Start.H, 128, 128}));
    EXPECT_TRUE(MoveTo(Pal, 260, -20));
    PumpFor(150);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{Start.H, 255, 0}));
    EXPECT_TRUE(MoveTo(Pal, 120, 60));
    PumpFor(150);
    EXPECT_TRUE(Xdo({"mouseup", "1"}));
    PumpFor(150);
    EXPECT_EQ(D.ClickImg, czpspPnone);
    const THSLPSP Mid = D.PSPColor->HSLPSP();
    EXPECT_EQ(Mid.H, Start.H);
    EXPECT_EQ(EditsColor(D), PSPColorValue(D));
    EXPECT_EQ(D.ColorViewer->ColorValue(), PSPColorValue(D));
    // The ring: from its top a quarter turn and on to its bottom; saturation
    // and lightness stay.
    EXPECT_TRUE(MoveTo(Pal, 97, 4) && Xdo({"mousedown", "1"}));
    PumpFor(150);
    EXPECT_EQ(D.ClickImg, czpspPCircle);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{255, Mid.S, Mid.L}));
    EXPECT_TRUE(MoveTo(Pal, 190, 97));
    PumpFor(150);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{PaletteRingHueByte(190, 97, 0), Mid.S, Mid.L}));
    EXPECT_TRUE(MoveTo(Pal, 97, 190));
    PumpFor(150);
    EXPECT_TRUE(Xdo({"mouseup", "1"}));
    PumpFor(150);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{PaletteRingHueByte(97, 190, 0), Mid.S, Mid.L}));
    EXPECT_EQ(EditsColor(D), PSPColorValue(D));
    // A drag that starts outside both zones changes nothing.
    const THSLPSP Before = D.PSPColor->HSLPSP();
    EXPECT_TRUE(MoveTo(Pal, 2, 2) && Xdo({"mousedown", "1"}));
    PumpFor(100);
    EXPECT_TRUE(MoveTo(Pal, 97, 97));
    PumpFor(100);
    EXPECT_TRUE(Xdo({"mouseup", "1"}));
    PumpFor(100);
    EXPECT_EQ(D.PSPColor->HSLPSP(), Before);
    // A basic cell, the add button, then the user colour it added.
    const TRect Cell = D.ColorGrid->Geometry().HitRect(13);
    EXPECT_TRUE(ClickAt(D.ColorGrid, (Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2));
    PumpFor(200);
    EXPECT_EQ(D.ColorGrid->ColorValue(), BasicColorTable[13]);
    EXPECT_EQ(EditsColor(D), BasicColorTable[13]);
    EXPECT_EQ(D.ColorViewer->ColorValue(), BasicColorTable[13]);
    EXPECT_TRUE(ClickMiddle(D.AddCustomColorButton));
    PumpFor(200);
    EXPECT_EQ(D.CustomColorGrid->CustomColorValues[0], BasicColorTable[13]);
    EXPECT_TRUE(ClickAt(D.ColorGrid, 3, 3));  // off the cells: nothing
    PumpFor(100);
    EXPECT_EQ(D.ColorGrid->ColorValue(), BasicColorTable[13]);
    const TRect Own = D.CustomColorGrid->Geometry().HitRect(0);
    const TRect Red = D.ColorGrid->Geometry().HitRect(1);
    EXPECT_TRUE(ClickAt(D.ColorGrid, Red.Left + 2, Red.Top + 2));
    PumpFor(200);
    EXPECT_EQ(D.ColorViewer->ColorValue(), BasicColorTable[1]);
    EXPECT_TRUE(ClickAt(D.CustomColorGrid, (Own.Left + Own.Right) / 2, (Own.Top + Own.Bottom) / 2));
    PumpFor(200);
    EXPECT_EQ(D.CustomColorGrid->ColorIndex(), 1);
    EXPECT_EQ(D.ColorViewer->ColorValue(), BasicColorTable[13]);
    EXPECT_EQ(EditsColor(D), BasicColorTable[13]);
    // OK with the pointer.
    EXPECT_TRUE(ClickMiddle(D.OkButton));
    PumpFor(200);
    Forced = D.Form && D.Form->ModalResult() == mrNone;
    if (Forced) D.Form->SetModalResult(mrCancel);  // the click went elsewhere: end it, do not hang
  };
  Arm(W);
  const bool Ok = D.Execute();
  EXPECT_TRUE(W.Ran);
  EXPECT_FALSE(Forced);
  EXPECT_TRUE(Ok);
  EXPECT_EQ(D.Color(), BasicColorTable[13]);
  EXPECT_EQ(D.CustomColorValues[0], BasicColorTable[13]);
  EXPECT_TRUE(Errors.empty());
}

// In a made scheme the dialog's frame shows a close button: a click on it
// with the pointer is Cancel (colour and user colours kept, the position
// stored).
TEST_F(ColorInput, CloseButtonOfTheSchemesFrameIsCancel) {
  TspSkinData SD(nullptr);
  TspCompressedStoredSkin Stored(nullptr, GetModuleHandleW(nullptr), u"SkinDawn");
  SD.LoadCompressedStoredSkin(&Stored);
  ASSERT_FALSE(SD.Empty);
  TspSkinColorDialog D(nullptr);
  D.SetSkinData(&SD);
  D.SetCtrlSkinData(&SD);
  D.DialogFormLeft = 70;
  D.DialogFormTop = 50;
  TspCustomColorValues Mine;
  Mine.fill(0x0000AA);
  D.SetCustomColors(Mine, 1);
  const TspCustomColorValues Kept = D.CustomColorValues;
  D.SetColor(0x00FF00);
  bool Found = false, Forced = false;
  TWhenReady W;
  W.Ready = [&] { return D.Form && IsWindowVisible(D.Form->Handle()); };
  W.During = [&] {
    SetForegroundWindow(D.Form->Handle());
    PumpFor(200);
    D.REdit->SetValue(12);
    D.AddCustomColorButton->ButtonClick();
    TList* Objects = D.FormSkin->ObjectList;
    for (Integer i = 0; i < Objects->Count(); ++i) {
      auto* B = dynamic_cast<TspSkinStdButtonObject*>(static_cast<TObject*>(Objects->Items(i)));
      if (!B || B->Command != cmClose || !B->Visible) continue;
      Found = true;
      RECT WR{};
      GetWindowRect(D.Form->Handle(), &WR);
      const TRect& R = B->ObjectRect;
      Xdo({"mousemove", Str(WR.left + (R.Left + R.Right) / 2), Str(WR.top + (R.Top + R.Bottom) / 2)});
      Xdo({"click", "1"});
      PumpFor(300);
      break;
    }
    Forced = D.Form && D.Form->ModalResult() == mrNone;
    if (Forced) D.Form->SetModalResult(mrOk);  // the click went elsewhere: end it, do not hang
  };
  Arm(W);
  const bool Ok = D.Execute();
  EXPECT_TRUE(W.Ran);
  EXPECT_TRUE(Found);
  EXPECT_FALSE(Forced);
  EXPECT_FALSE(Ok);
  EXPECT_EQ(D.Color(), 0x00FF00);
  EXPECT_EQ(D.CustomColorValues, Kept);
  EXPECT_EQ(D.CustomColorValuesCount, 1);
  EXPECT_EQ(D.DialogFormLeft, 70);
  EXPECT_EQ(D.DialogFormTop, 50);
  EXPECT_TRUE(Errors.empty());
}

// A form with a colour button, shown and in front.
struct TButtonForm {
  TForm* F;
  TspSkinColorButton* B;
  TButtonForm() {
    F = new TForm(nullptr);
    F->SetBounds(80, 80, 260, 140);
    B = new TspSkinColorButton(F);
    B->SetParent(F);
    B->SetBounds(20, 20, 48, 24);
    F->Show();
    SetForegroundWindow(F->Handle());
    PumpFor(250);
  }
  ~TButtonForm() { delete F; }
  // Opens the menu with a click on the button.
  bool Open() {
    if (!ClickMiddle(B)) return false;
    PumpFor(300);
    TspSkinImagesMenuPopupWindow* W = B->ColorMenu()->PopupWindow();
    return W && IsWindowVisible(W->Handle());
  }
  // A click on item Index of the open menu.
  bool Choose(Integer Index) {
    TspSkinImagesMenuPopupWindow* W = B->ColorMenu()->PopupWindow();
    if (!W) return false;
    const TRect R = B->ColorMenu()->ImagesItems()->Items(Index)->ItemRect;
    return ClickAt(W, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  }
  bool MenuShown() const {
    TspSkinImagesMenuPopupWindow* W = B->ColorMenu()->PopupWindow();
    return W && IsWindowVisible(W->Handle());
  }
};

// The menu opened by a click on the button, a colour chosen with the
// pointer; then the automatic item.
TEST_F(ColorInput, ButtonMenuUnderTheRealPointer) {
  TButtonForm T;
  TspSkinColorButton* B = T.B;
  int Changes = 0;
  B->OnChangeColor = [&](TObject*) { ++Changes; };
  B->SetColorValue(0);
  Changes = 0;
  ASSERT_TRUE(T.Open());
  EXPECT_EQ(B->ColorMenu()->ItemIndex(), 1);  // black, the first colour
  ASSERT_TRUE(T.Choose(1 + 13));
  PumpFor(300);
  EXPECT_FALSE(T.MenuShown());
  EXPECT_EQ(B->ColorValue(), ButtonColorTable[13]);
  EXPECT_TRUE(B->DrawColorMarker());
  EXPECT_EQ(Changes, 1);
  ASSERT_TRUE(T.Open());
  EXPECT_EQ(B->ColorMenu()->ItemIndex(), 1 + 13);
  ASSERT_TRUE(T.Choose(0));
  PumpFor(300);
  EXPECT_FALSE(T.MenuShown());
  EXPECT_FALSE(B->DrawColorMarker());
  EXPECT_EQ(B->ColorValue(), ButtonColorTable[13]);
  EXPECT_EQ(Changes, 2);
  // A click outside (on the form, beside the button, above the menu) closes
  // the menu and chooses nothing.
  ASSERT_TRUE(T.Open());
  {
    const TPoint P = T.F->ClientToScreen(TPoint(240, 8));
    TspSkinImagesMenuPopupWindow* W = B->ColorMenu()->PopupWindow();
    RECT R{};
    GetWindowRect(W->Handle(), &R);
    ASSERT_FALSE(P.X >= R.left && P.X < R.right && P.Y >= R.top && P.Y < R.bottom);
  }
  ASSERT_TRUE(ClickAt(T.F, 240, 8));
  PumpFor(300);
  EXPECT_FALSE(T.MenuShown());
  EXPECT_EQ(Changes, 2);
  EXPECT_TRUE(Errors.empty());
}

// "More Colors..." chosen with the pointer opens the dialog from inside the
// menu's item click: every key typed then reaches the dialog's edit (no
// leftover menu hook takes them), and Escape and a click on OK end it.
TEST_F(ColorInput, KeysReachTheDialogOpenedFromTheMenu) {
  TButtonForm T;
  TspSkinColorButton* B = T.B;
  B->SetColorValue(0);
  int Closes = 0;
  B->OnColorDialogClose = [&](TObject*) { ++Closes; };
  for (bool Ok : {false, true}) {
    SCOPED_TRACE(Ok ? "OK" : "Escape");
    String Typed;
    bool MenuGone = false, Forced = false;
    TWhenReady W;
    W.Ready = [&] {
      TspSkinColorDialog* D = B->ColorDialog();
      return D && D->Form && IsWindowVisible(D->Form->Handle());
    };
    W.During = [&] {
      TspSkinColorDialog* D = B->ColorDialog();
      PumpFor(250);
      MenuGone = !T.MenuShown();
      // Into the R edit: its text's end, the old value removed, a new one.
      if (ClickAt(D->REdit, 6, D->REdit->Height() / 2) &&
          Xdo({"key", "End", "BackSpace", "BackSpace", "BackSpace", "7", "7"})) {
        PumpFor(300);
        Typed = D->REdit->Text();
      }
      if (Ok) {
        ClickMiddle(D->OkButton);
      } else {
        Xdo({"key", "Escape"});
      }
      PumpFor(300);
      Forced = D->Form && D->Form->ModalResult() == mrNone;
      if (Forced) D->Form->SetModalResult(mrCancel);  // the keys went elsewhere: end it, do not hang
    };
    Arm(W);
    ASSERT_TRUE(T.Open());
    ASSERT_TRUE(T.Choose(B->MoreColorsIndex()));
    // The dialog runs inside the click; it has ended when the loop is back.
    const DWORD Start = GetTickCount();
    while (!W.Ran && GetTickCount() - Start < 5000) PumpFor(50);
    PumpFor(300);
    EXPECT_TRUE(W.Ran);
    EXPECT_TRUE(MenuGone);
    EXPECT_FALSE(Forced);
    EXPECT_EQ(Typed, u"77");
    EXPECT_EQ(B->ColorValue(), Ok ? TColor(77) : TColor(0));
    EXPECT_EQ(Closes, Ok ? 1 : 0);
  }
  // Afterwards the keys reach the main form's own controls again.
  auto* E = new TEdit(T.F);
  E->SetParent(T.F);
  E->SetBounds(100, 20, 80, 24);
  PumpFor(100);
  ASSERT_TRUE(ClickMiddle(E));
  ASSERT_TRUE(Xdo({"key", "a", "b"}));
  PumpFor(300);
  EXPECT_EQ(E->Text(), u"ab");
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
