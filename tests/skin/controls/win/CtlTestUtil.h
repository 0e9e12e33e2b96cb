// Shared by the skinned controls' window tests: the start-up of the skin
// toolkit, a shown form reused by every test with a fresh host control per
// test, controls painted into bitmaps, mouse and key input at a control,
// a timer's tick without waiting, skins built in memory with a picture whose
// pixels name their own coordinates, and the pictures kept for review.
#pragma once

#include "tests/classlib/win/test_controls_util.h"

#include <cstdlib>
#include <memory>

#include "classlib/PngImage.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/data/win/SPUtils.h"
#include "tests/skin/win/SkinFixture.h"

namespace ctl {

using ctltest::Pump;
using ctltest::PumpUntil;

// A plain windowed parent that paints one colour (the ground the flat
// controls show through).
class THost : public TCustomControl {
 public:
  explicit THost(TComponent* AOwner) : TCustomControl(AOwner) { SetControlStyle(ControlStyle() | csAcceptsControls); }
  TColor Ground = clWhite;
  // A pattern instead of a flat colour: 4-pixel checks of Ground and Check.
  TColor Check = clNone;

 protected:
  void Paint() override {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Ground);
    C->FillRect(TRect(0, 0, Width(), Height()));
    if (Check == clNone) return;
    C->Brush()->SetColor(Check);
    for (Integer Y = 0; Y < Height(); Y += 4)
      for (Integer X = (Y / 4) % 2 * 4; X < Width(); X += 8) C->FillRect(TRect(X, Y, X + 4, Y + 4));
  }
};

// The form every test reuses (hiding or freeing a shown top-level window is
// slow without a window manager).
TForm* SharedForm();

class SkinCtlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A fresh host on the shared form, 400 x 300 at (10, 10).
  THost* Host = nullptr;
  std::vector<String> Errors;
  UINT_PTR Tick = 0;
};

// The control painted by itself into a bitmap of its size (what its
// WM_PAINT draws), over Background.
std::unique_ptr<TBitmap> Render(TControl* C, TColor Background = clFuchsia);
// A pixel as TColor ($BBGGRR).
TColor Px(TBitmap* B, Integer X, Integer Y);
// A system colour as the pixels show it.
inline TColor Sys(TColor C) { return ColorToRGB(C); }

// What the screen shows of a control (its window, or its parent's window
// under it), after the pending paints.
std::unique_ptr<TBitmap> Grab(TControl* C);

// Mouse input at client point (X, Y) of C: the cursor is moved there and the
// message goes to the window under it (a graphic control's parent).
void Mouse(TControl* C, UINT Msg, Integer X, Integer Y, WPARAM Keys = 0);
inline void Press(TControl* C, Integer X, Integer Y) { Mouse(C, WM_LBUTTONDOWN, X, Y, MK_LBUTTON); }
inline void Move(TControl* C, Integer X, Integer Y, bool Held = true) {
  Mouse(C, WM_MOUSEMOVE, X, Y, Held ? MK_LBUTTON : 0);
}
inline void Release(TControl* C, Integer X, Integer Y) { Mouse(C, WM_LBUTTONUP, X, Y); }
// A click at the middle of C.
void Click(TControl* C);
// Posts a key press and release to the focus window and pumps.
void PressKey(WPARAM VK, bool Shift = false, bool Ctrl = false, bool Alt = false);
// A key message sent straight to a window.
void SendKey(HWND W, UINT Msg, WPARAM VK);

// Runs a timer's handler once, as its tick would (it may free the timer).
inline void Fire(TTimer* T) {
  ASSERT_NE(T, nullptr);
  TNotifyEvent H = T->OnTimer();
  H(T);
}

// The colour of pixel (X, Y) of a picture made by CoordPicture.
inline TColor Coord(Integer X, Integer Y) { return TColor((0x55 << 16) | ((Y & 0xFF) << 8) | (X & 0xFF)); }
// A picture whose pixel (x, y) has red x, green y and blue 0x55.
std::unique_ptr<TBitmap> CoordPicture(Integer W, Integer H);

// A made scheme: "Dawn" from the program's resources, the others from the
// ".skn" files of its Skin folder (Empty when it did not load).
std::unique_ptr<TspSkinData> MadeScheme(const String& Name);
// The made schemes' names.
const std::vector<String>& MadeSchemeNames();
// The default look (no skin) first, then every made scheme that loads (one
// that does not is a failure), each with its name; Loaded keeps the skins.
std::vector<std::pair<String, TspSkinData*>> DefaultAndMadeSchemes(std::vector<std::unique_ptr<TspSkinData>>& Loaded);

// A skin model loaded from a fixture skin.
std::unique_ptr<TspSkinData> LoadSkin(const skintest::TFixtureSkin& S);
// "x1,y1,x2,y2"
String RectValue(const TRect& R);

// Saves a picture of a control state for review as
// <screens>/test_skin_controls/<scheme>/<control>-<state>.png when the
// screens folder is named (LUMIGRA_SCREEN_DIR). Saving never decides a test.
void SaveScreen(const String& Scheme, const String& Control, const String& State, TBitmap* B);

}  // namespace ctl

namespace ctl {

// A fixture skin whose active picture 0 is a 256 x 256 coordinate picture.
skintest::TFixtureSkin CoordSkin();

// A control of the windowed custom base that records its look: the default
// image fills red, the skinned one is the base's; every paint is counted.
class TLookProbe : public TspSkinCustomControl {
 public:
  explicit TLookProbe(TComponent* AOwner) : TspSkinCustomControl(AOwner) { SetBounds(0, 0, 60, 30); }
  int Paints = 0, Changes = 0, DefaultImages = 0, SkinImages = 0;
  TColor Fill = clRed;
  void CreateControlDefaultImage(TBitmap* B) override {
    ++DefaultImages;
    B->Canvas()->Brush()->SetColor(Fill);
    B->Canvas()->FillRect(TRect(0, 0, B->Width(), B->Height()));
  }
  void CreateControlSkinImage(TBitmap* B) override {
    ++SkinImages;
    TspSkinCustomControl::CreateControlSkinImage(B);
  }
  void ChangeSkinData() override {
    ++Changes;
    TspSkinCustomControl::ChangeSkinData();
  }

 protected:
  void Paint() override {
    ++Paints;
    TspSkinCustomControl::Paint();
  }
};

class TGraphicLookProbe : public TspGraphicSkinCustomControl {
 public:
  explicit TGraphicLookProbe(TComponent* AOwner) : TspGraphicSkinCustomControl(AOwner) { SetBounds(0, 0, 60, 30); }
  int Paints = 0, DefaultImages = 0;
  void CreateControlDefaultImage(TBitmap* B) override {
    ++DefaultImages;
    B->Canvas()->Brush()->SetColor(clRed);
    B->Canvas()->FillRect(TRect(0, 0, B->Width(), B->Height()));
  }

 protected:
  void Paint() override {
    ++Paints;
    TspGraphicSkinCustomControl::Paint();
  }
};

}  // namespace ctl
