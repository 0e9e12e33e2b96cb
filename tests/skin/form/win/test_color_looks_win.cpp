// How the colour dialog and the colour button look: the palette's whole
// picture and the button and its open menu in the default look against
// golden pictures, the ground the palette is drawn on (the skin's panel
// ground or the face colour), and review pictures of the dialog, the button
// and its menu in the default look and in each made scheme.
#include "tests/skin/form/win/FormTestUtil.h"

#include <functional>
#include <string>
#include <vector>

#include "skin/form/SkinColorButton.h"
#include "tests/common/Screens.h"
#include "tests/skin/controls/win/CtlTestUtil.h"
#include "tests/common/win/Goldens.h"

using namespace formtest;

namespace {

class ColorLooks : public FormTest {};


std::u16string GoldenDir() { return golden::WindowsPath(LUMIGRA_FORM_GOLDENS_DIR); }

// Pictures of text and frames: channel differences up to 8 pass, and one
// pixel in 200 may differ by more (glyph edges when the font renderer
// changes).
golden::TTolerance TextTolerance(int W, int H) { return {8, std::size_t(W) * std::size_t(H) / 200}; }

void ExpectGolden(const std::u16string& Name, const std::vector<std::uint32_t>& P, int W, int H,
                  const golden::TTolerance& T) {
  const golden::TOutcome R = golden::Check(GoldenDir(), Name, P, W, H, T);
  if (R.Recorded) return;
  EXPECT_TRUE(R.Passed(T)) << std::string(Name.begin(), Name.end()) << ": " << R.Describe();
}

// The palette's pixels as $00RRGGBB, rows top-down.
std::vector<std::uint32_t> PalettePixels(TspSkinColorDialog& D) {
  TBitmap* B = D.PalettePSP->Picture()->Bitmap();
  std::vector<std::uint32_t> P;
  for (Integer Y = 0; Y < B->Height(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(B->ScanLine(Y));
    for (Integer X = 0; X < B->Width(); ++X)
      P.push_back(std::uint32_t(Row[X * 4 + 2]) << 16 | std::uint32_t(Row[X * 4 + 1]) << 8 | Row[X * 4]);
  }
  return P;
}
TColor PalettePx(TspSkinColorDialog& D, Integer X, Integer Y) {
  const Byte* Row = static_cast<const Byte*>(D.PalettePSP->Picture()->Bitmap()->ScanLine(Y));
  return RGBBytesToColor(Row[X * 4 + 2], Row[X * 4 + 1], Row[X * 4]);
}

// A colour ($BBGGRR) as the captured pixels hold it ($RRGGBB).
std::uint32_t AsScreen(TColor C) {
  const std::uint32_t V = ColorToRGB(C);
  return (V & 0xFF) << 16 | (V & 0xFF00) | (V >> 16 & 0xFF);
}

// A part of what a window shows: Part in the window's client coordinates.
std::vector<std::uint32_t> ClientPart(HWND Wnd, const TRect& Part) {
  const lumigra_test::TWindowPixels All = lumigra_test::CaptureWindow(Wnd);
  RECT W{};
  GetWindowRect(Wnd, &W);
  POINT O{0, 0};
  ClientToScreen(Wnd, &O);
  const int DX = O.x - W.left, DY = O.y - W.top;
  std::vector<std::uint32_t> P;
  if (All.Pixels.empty()) return P;
  for (Integer Y = Part.Top; Y < Part.Bottom; ++Y)
    for (Integer X = Part.Left; X < Part.Right; ++X) P.push_back(All.At(X + DX, Y + DY));
  return P;
}

// The default look (no skin) first, then each made scheme (one that does
// not load is a failure).
std::vector<std::pair<std::string, TspSkinData*>> DefaultAndMadeSchemes(
    std::vector<std::unique_ptr<TspSkinData>>& Loaded) {
  std::vector<std::pair<std::string, TspSkinData*>> S = {{"default", nullptr}};
  for (const char* Name : {"Dawn", "Charm", "Laconic", "Cool"}) {
    Loaded.push_back(ctl::MadeScheme(String(Name, Name + std::char_traits<char>::length(Name))));
    EXPECT_FALSE(Loaded.back()->Empty) << Name;
    if (!Loaded.back()->Empty) S.emplace_back(Name, Loaded.back().get());
  }
  return S;
}

// A form skin of flat colours (client part Ground) whose control list holds
// a panel when WithPanel: the panel's own picture is another flat colour,
// which the palette must not show (it shows what the panel's parent shows).
constexpr TColor Ground = 0x3070B0;
std::unique_ptr<TspSkinData> GroundSkin(bool WithPanel) {
  skintest::TFixtureSkin S;
  S.Keys(u"FORMINFO", {u"lefttoppoint=4,20", u"righttoppoint=56,20", u"leftbottompoint=4,46",
                       u"rightbottompoint=56,46", u"clientrect=4,20,56,46", u"borderwidth=3",
                       u"captionrect=10,2,50,18"});
  S.Object(u"caption", u"caption", {u"skinrect=10,2,40,16", u"defaultcaption=1"});
  S.Picture(skintest::TFixtureSkin::Main,
            skintest::FlatPicture(60, 50, Ground, {{TRect(0, 0, 60, 20), TColor(0x000080)}}));
  if (WithPanel) {
    S.ActivePicture(skintest::FlatPicture(40, 40, TColor(0x00C0C0)));
    S.Control(u"panel", u"panel",
              {u"pictureindex=0", u"skinrect=0,0,40,40", u"lefttoppoint=4,4", u"righttoppoint=36,4",
               u"leftbottompoint=4,36", u"rightbottompoint=36,36", u"clientrect=4,4,36,36"});
  }
  auto SD = std::make_unique<TspSkinData>(nullptr);
  SD->SetShowLayeredBorders(false);
  SD->SetAeroBlurEnabled(false);
  S.LoadInto(SD.get());
  return SD;
}

// The palette opened on black in the default look: the whole picture (ring,
// square and both markers) is pinned by a golden picture; the ground beside
// the ring is the face colour.
TEST_F(ColorLooks, PaletteGolden) {
  TspSkinColorDialog D(nullptr);
  D.SetColor(0);
  ExecuteDuring(D, [&] {
    EXPECT_EQ(D.PalettePSP->Picture()->Bitmap()->Width(), 195);
    ExpectGolden(u"palette-black-default", PalettePixels(D), 195, 195, {});
    EXPECT_EQ(PalettePx(D, 26, 26), ColorToRGB(clBtnFace));
    D.Form->SetModalResult(mrCancel);
  });
  // Another hue redraws the square only: the ring and the ground stay.
  D.SetColor(0xFF0000);
  ExecuteDuring(D, [&] {
    ExpectGolden(u"palette-blue-default", PalettePixels(D), 195, 195, {});
    D.Form->SetModalResult(mrCancel);
  });
}

// With a panel in the controls' skin the palette stands on what the panel's
// parent (the skinned form) shows; without one on the face colour, even on a
// skinned form.
TEST_F(ColorLooks, PaletteGroundFollowsTheSkinsPanel) {
  struct Case {
    const char* Name;
    bool Panel;
    TColor Want;
  };
  for (const Case& C : {Case{"panel", true, Ground}, Case{"no-panel", false, ColorToRGB(clBtnFace)}}) {
    SCOPED_TRACE(C.Name);
    auto SD = GroundSkin(C.Panel);
    ASSERT_FALSE(SD->Empty);
    ASSERT_EQ(SD->GetControlIndex(u"panel") >= 0, C.Panel);
    TspSkinColorDialog D(nullptr);
    D.SetSkinData(SD.get());
    D.SetCtrlSkinData(SD.get());
    D.SetColor(0x00FF00);
    ExecuteDuring(D, [&] {
      Pump();
      // Beside the ring outside (the corners and just off its edge on the
      // diagonal) and inside its hole above the square.
      for (TPoint P : {TPoint(1, 1), TPoint(193, 1), TPoint(1, 193), TPoint(26, 26), TPoint(97, 30)})
        EXPECT_EQ(PalettePx(D, P.X, P.Y), C.Want) << P.X << "," << P.Y;
      // The ring itself is not the ground.
      EXPECT_NE(PalettePx(D, 31, 31), C.Want);
      EXPECT_EQ(PalettePx(D, 97, 3), RGBBytesToColor(240, 0, 0));
      SaveForReview(D.Form->Handle(), "fixture", C.Panel ? "colordialog-panel-ground" : "colordialog-face-ground");
      D.Form->SetModalResult(mrCancel);
    });
  }
}

// The dialog in its main states in every look: opened on a basic colour
// (its cell framed), on a colour outside the table, and after a colour was
// added to the user colours and chosen there.
TEST_F(ColorLooks, DialogInEveryScheme) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  for (const auto& [Scheme, Skin] : DefaultAndMadeSchemes(Loaded)) {
    SCOPED_TRACE(Scheme);
    TspSkinColorDialog D(nullptr);
    D.SetSkinData(Skin);
    D.SetCtrlSkinData(Skin);
    D.DialogFormLeft = 60;
    D.DialogFormTop = 40;
    D.SetColor(BasicColorTable[5]);
    ExecuteDuring(D, [&] {
      Pump();
      EXPECT_EQ(D.ColorViewer->ColorValue(), BasicColorTable[5]);
      EXPECT_EQ(D.REdit->Value(), Integer(BasicColorTable[5] & 0xFF));
      // Its cell is framed: in the default look the frame's line, in a
      // scheme at least not the colour itself.
      const TRect O = D.ColorGrid->Geometry().OuterRect(5);
      const lumigra_test::TWindowPixels G = lumigra_test::CaptureWindow(D.ColorGrid->Handle());
      ASSERT_FALSE(G.Pixels.empty());
      if (!Skin) {
        EXPECT_EQ(G.At(O.Left, O.Top), AsScreen(0x800000));
        EXPECT_EQ(G.At(O.Left + 1, O.Top + 1), AsScreen(0xB59385));
        EXPECT_NE(G.At(D.ColorGrid->Geometry().OuterRect(4).Left, O.Top), AsScreen(0x800000));
      }
      const TRect P = D.ColorGrid->Geometry().PatchRect(5, true);
      EXPECT_EQ(G.At(P.Left, P.Top), AsScreen(BasicColorTable[5]));
      lumigra_test::SaveWindowScreen(D.Form->Handle(), "colordialog-basic", Scheme);
      D.Form->SetModalResult(mrCancel);
    });
    D.SetColor(0x3A6B21);
    ExecuteDuring(D, [&] {
      Pump();
      EXPECT_EQ(D.ColorGrid->ColorValue(), 0x3A6B21);
      lumigra_test::SaveWindowScreen(D.Form->Handle(), "colordialog-outside-table", Scheme);
      D.AddCustomColorButton->ButtonClick();
      const TRect H = D.CustomColorGrid->Geometry().HitRect(0);
      SendMessageW(D.CustomColorGrid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(H.Left + 3, H.Top + 3));
      SendMessageW(D.CustomColorGrid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(H.Left + 3, H.Top + 3));
      Pump();
      EXPECT_EQ(D.CustomColorGrid->ColorIndex(), 1);
      EXPECT_EQ(D.ColorViewer->ColorValue(), 0x3A6B21);
      lumigra_test::SaveWindowScreen(D.Form->Handle(), "colordialog-custom-chosen", Scheme);
      D.Form->SetModalResult(mrCancel);
    });
  }
}

// The button and its open menu in every look; the default look against
// golden pictures. Every colour cell of the open menu shows its colour at
// its middle.
TEST_F(ColorLooks, ButtonAndMenuInEveryScheme) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  for (const auto& [Scheme, Skin] : DefaultAndMadeSchemes(Loaded)) {
    SCOPED_TRACE(Scheme);
    auto* F = new TForm(nullptr);
    F->SetBounds(80, 80, 220, 120);
    auto* B = new TspSkinColorButton(F);
    B->SetParent(F);
    B->SetBounds(10, 10, 48, 24);
    B->SetSkinData(Skin);
    B->SetColorValue(ButtonColorTable[13]);
    F->Show();
    SetCursorPos(0, 0);
    Pump();
    const TRect BR = B->BoundsRect();
    const std::vector<std::uint32_t> Face = ClientPart(F->Handle(), BR);
    ASSERT_EQ(Face.size(), std::size_t(BR.Width() * BR.Height()));
    if (!Skin) ExpectGolden(u"colorbutton-marker-default", Face, BR.Width(), BR.Height(), TextTolerance(48, 24));
    lumigra_test::SaveWindowScreen(F->Handle(), "colorbutton-marker", Scheme);
    ASSERT_TRUE(B->ColorMenu()->OnMenuPopup);
    B->ColorMenu()->OnMenuPopup(B->ColorMenu());
    const TPoint At = B->ClientToScreen(TPoint(0, B->Height()));
    ASSERT_TRUE(B->ColorMenu()->PopupFromRect(TRect(At.X, At.Y - B->Height(), At.X + B->Width(), At.Y)));
    Pump();
    TspSkinImagesMenuPopupWindow* W = B->ColorMenu()->PopupWindow();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(B->ColorMenu()->ItemIndex(), 14);  // automatic item first
    const lumigra_test::TWindowPixels Menu = lumigra_test::CaptureWindow(W->Handle());
    ASSERT_FALSE(Menu.Pixels.empty());
    RECT WR{};
    GetWindowRect(W->Handle(), &WR);
    POINT O{0, 0};
    ClientToScreen(W->Handle(), &O);
    for (Integer k = 0; k < 40; ++k) {
      const TRect R = B->ColorMenu()->ImagesItems()->Items(1 + k)->ItemRect;
      EXPECT_EQ(Menu.At((R.Left + R.Right) / 2 + O.x - WR.left, (R.Top + R.Bottom) / 2 + O.y - WR.top),
                AsScreen(ButtonColorTable[k]))
          << k;
    }
    if (!Skin)
      ExpectGolden(u"colormenu-open-default", Menu.Pixels, Menu.Width, Menu.Height,
                   TextTolerance(Menu.Width, Menu.Height));
    lumigra_test::SaveWindowScreen(W->Handle(), "colormenu-open", Scheme);
    B->ColorMenu()->Hide();
    Pump();
    delete F;
  }
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
