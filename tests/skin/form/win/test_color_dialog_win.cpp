// The colour dialog run modally: what it shows for the colour it opens with,
// the layout from the edits' real heights, typed values, drags over the
// square and around the ring, the three feedback flags (handler runs per
// operation), the user colours, the ways out and a second run, and the
// swatch's preview message.
#include "tests/skin/form/win/FormTestUtil.h"

#include <functional>
#include <map>
#include <vector>

#include "skin/form/SkinColorButton.h"

using namespace formtest;

namespace {

class ColorDialog : public FormTest {};

void End(TspSkinColorDialog& D, TModalResult MR) { D.Form->SetModalResult(MR); }

void PaletteMouse(TspSkinColorDialog& D, UINT Msg, Integer X, Integer Y, WPARAM Keys) {
  SendMessageW(D.PalettePSPPanel->Handle(), Msg, Keys, MAKELPARAM(X, Y));
}

// The palette's pixel (X, Y) as $BBGGRR.
TColor PalettePx(TspSkinColorDialog& D, Integer X, Integer Y) {
  const Byte* Row = static_cast<const Byte*>(D.PalettePSP->Picture()->Bitmap()->ScanLine(Y));
  return RGBBytesToColor(Row[X * 4 + 2], Row[X * 4 + 1], Row[X * 4]);
}

std::vector<Byte> PaletteBytes(TspSkinColorDialog& D) {
  std::vector<Byte> Out;
  TBitmap* B = D.PalettePSP->Picture()->Bitmap();
  for (Integer Y = 0; Y < B->Height(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(B->ScanLine(Y));
    for (Integer X = 0; X < B->Width(); ++X) Out.insert(Out.end(), Row + X * 4, Row + X * 4 + 3);
  }
  return Out;
}

TColor Bytes(TspSkinTrackEdit* R, TspSkinTrackEdit* G, TspSkinTrackEdit* B) {
  return RGBBytesToColor(Byte(R->Value()), Byte(G->Value()), Byte(B->Value()));
}

// Counts the handler runs that did work (their stop flag down) per edit
// group, wrapping the handlers the dialog assigned.
struct TRunCounter {
  int RGB = 0, HSV = 0, RGBFromPalette = 0;
  void Attach(TspSkinColorDialog& D) {
    for (TspSkinTrackEdit* E : {D.REdit, D.GEdit, D.BEdit}) {
      TNotifyEvent Orig = E->OnChange;
      E->OnChange = [this, &D, Orig](TObject* S) {
        if (!D.RGBStopCheck) {
          ++RGB;
          if (D.FromPSP) ++RGBFromPalette;
        }
        Orig(S);
      };
    }
    for (TspSkinTrackEdit* E : {D.HEdit, D.SEdit, D.LEdit}) {
      TNotifyEvent Orig = E->OnChange;
      E->OnChange = [this, &D, Orig](TObject* S) {
        if (!D.HSLStopCheck) ++HSV;
        Orig(S);
      };
    }
  }
  void Reset() { RGB = HSV = RGBFromPalette = 0; }
};

TEST_F(ColorDialog, OpensWithTheColourAndLaysOutFromTheEditHeights) {
  TspSkinColorDialog D(nullptr);
  D.DialogFormLeft = 120;
  D.DialogFormTop = 90;
  D.SetColor(BasicColorTable[5]);  // $8080FF
  bool Ran = false;
  const bool R = ExecuteDuring(D, [&] {
    Ran = true;
    EXPECT_EQ(D.Form->ClientWidth(), 378);
    EXPECT_EQ(D.ColorGrid->ColorValue(), 0x8080FF);
    EXPECT_EQ(D.ColorGrid->BoundsRect(), TRect(5, 5, 172, 200));
    EXPECT_EQ(D.CustomColorGrid->BoundsRect(), TRect(5, 210, 172, 278));
    EXPECT_EQ(D.PalettePSPPanel->BoundsRect(), TRect(177, 5, 372, 200));
    const Integer EH = D.REdit->Height();
    EXPECT_EQ(D.REdit->Top(), 210);
    EXPECT_EQ(D.GEdit->Top(), 210 + EH + 10);
    EXPECT_EQ(D.BEdit->Top(), 210 + 2 * (EH + 10));
    EXPECT_EQ(D.LEdit->Top(), D.BEdit->Top());
    EXPECT_EQ(D.REdit->Left(), D.RLabel->Left() + D.RLabel->Width() + 5);
    EXPECT_EQ(D.HEdit->Left(), D.HLabel->Left() + D.HLabel->Width() + 5);
    EXPECT_EQ(D.OkButton->Top(), D.LEdit->Top() + D.LEdit->Height() + 15);
    EXPECT_EQ(D.Form->ClientHeight(), D.AddCustomColorButton->Top() + 25 + 10);
    EXPECT_EQ(D.ColorViewer->Left() + D.ColorViewer->Width(), 372);
    EXPECT_EQ(D.ColorViewer->Width(), D.ColorViewer->Height());
    EXPECT_EQ(D.OkButton->Caption(), u"OK");
    EXPECT_EQ(D.CancelButton->Caption(), u"Cancel");
    EXPECT_EQ(D.AddCustomColorButton->Caption(), u"Add to Custom Colors");
    EXPECT_EQ(D.ColorGrid->Caption(), u"Basic colors");
    EXPECT_EQ(D.Form->Caption(), u"Set color");
    EXPECT_EQ(D.RLabel->Caption(), u"R:");
    EXPECT_EQ(D.LLabel->Caption(), u"L:");
    EXPECT_EQ(Bytes(D.REdit, D.GEdit, D.BEdit), 0x8080FF);
    EXPECT_EQ(D.REdit->Text(), u"255");
    EXPECT_EQ(D.GEdit->Text(), u"128");
    Integer H = 0, S = 0, V = 0;
    RGBBytesToHSV(0xFF, 0x80, 0x80, H, S, V);
    EXPECT_EQ(D.HEdit->Value(), H);
    EXPECT_EQ(D.SEdit->Value(), S);
    EXPECT_EQ(D.LEdit->Value(), V);
    EXPECT_EQ(D.ColorViewer->ColorValue(), 0x8080FF);
    EXPECT_EQ(D.ColorViewer->OldColorValue, 0x8080FF);
    EXPECT_EQ(D.PSPColor->GetRGB(), TRGB({0xFF, 0x80, 0x80}));
    Pump();
    SaveForReview(D.Form->Handle(), "default", "colordialog-basic");
    End(D, mrCancel);
  });
  EXPECT_TRUE(Ran);
  EXPECT_FALSE(R);
  EXPECT_EQ(D.Color(), 0x8080FF);
  EXPECT_EQ(D.DialogFormLeft, 120);
  EXPECT_EQ(D.DialogFormTop, 90);
  EXPECT_EQ(D.Form, nullptr);
}

TEST_F(ColorDialog, ColourOutsideTheTableAndBlack) {
  TspSkinColorDialog D(nullptr);
  D.SetColor(0x102030);
  ExecuteDuring(D, [&] {
    EXPECT_EQ(D.ColorGrid->ColorValue(), 0x102030);  // stored, no cell framed
    EXPECT_EQ(Bytes(D.REdit, D.GEdit, D.BEdit), 0x102030);
    EXPECT_EQ(D.PSPColor->GetRGB(), TRGB({0x30, 0x20, 0x10}));
    EXPECT_EQ(D.ColorViewer->ColorValue(), 0x102030);
    End(D, mrCancel);
  });
  D.SetColor(0);
  ExecuteDuring(D, [&] {
    EXPECT_EQ(D.ColorGrid->ColorValue(), 0);
    EXPECT_EQ(D.PSPColor->GetRGB(), TRGB({0, 0, 0}));
    // The palette: ring red at its top, square black at the top row and
    // white at the bottom-right, grey in its first column.
    EXPECT_EQ(PalettePx(D, 98, 3), RGBBytesToColor(240, 0, 0));
    EXPECT_EQ(PalettePx(D, 150, 150), 0xFFFFFF);
    EXPECT_EQ(PalettePx(D, 100, 44), 0x000000);
    const Byte g = Byte(std::nearbyint((120 - 44) / 106.0 * 255));
    EXPECT_EQ(PalettePx(D, 44, 120), RGBBytesToColor(g, g, g));
    // Outside the ring the background.
    EXPECT_EQ(PalettePx(D, 1, 1), ColorToRGB(clBtnFace));
    // The markers drawn and drawn again leave every byte as it was.
    const auto Before = PaletteBytes(D);
    D.DrawMarkers();
    EXPECT_NE(PaletteBytes(D), Before);
    D.DrawMarkers();
    EXPECT_EQ(PaletteBytes(D), Before);
    End(D, mrCancel);
  });
}

TEST_F(ColorDialog, TypedValuesAndHandlerRuns) {
  TspSkinColorDialog D(nullptr);
  D.SetColor(0);
  TRunCounter N;
  ExecuteDuring(D, [&] {
    N.Attach(D);
    // R typed: one RGB run, the H, S, L edits follow without running theirs.
    D.REdit->SetText(u"255");
    EXPECT_EQ(N.RGB, 1);
    EXPECT_EQ(N.HSV, 0);
    EXPECT_EQ(D.HEdit->Value(), 0);
    EXPECT_EQ(D.SEdit->Value(), 100);
    EXPECT_EQ(D.LEdit->Value(), 100);
    EXPECT_EQ(D.ColorViewer->ColorValue(), 0x0000FF);
    EXPECT_EQ(D.PSPColor->GetRGB(), TRGB({255, 0, 0}));
    // H typed: one HSV run, R, G, B follow without running theirs.
    N.Reset();
    D.HEdit->SetText(u"240");
    EXPECT_EQ(N.HSV, 1);
    EXPECT_EQ(N.RGB, 0);
    EXPECT_EQ(Bytes(D.REdit, D.GEdit, D.BEdit), 0xFF0000);
    EXPECT_EQ(D.PSPColor->GetRGB(), TRGB({0, 0, 255}));
    // S touched on pure blue keeps it blue (one hue scale both ways).
    N.Reset();
    D.SEdit->SetText(u"99");
    D.SEdit->SetText(u"100");
    EXPECT_EQ(Bytes(D.REdit, D.GEdit, D.BEdit), 0xFF0000);
    // A grid click: no handler runs at all.
    N.Reset();
    D.ColorGrid->SetColorValue(BasicColorTable[8]);  // $0080FF
    EXPECT_EQ(N.RGB, 0);
    EXPECT_EQ(N.HSV, 0);
    EXPECT_EQ(Bytes(D.REdit, D.GEdit, D.BEdit), 0x0080FF);
    EXPECT_EQ(D.PSPColor->GetRGB(), TRGB({255, 128, 0}));
    // A grey keeps the hue shown.
    const Integer HueBefore = D.HEdit->Value();
    D.ColorGrid->SetColorValue(0x808080);
    EXPECT_EQ(D.HEdit->Value(), HueBefore);
    EXPECT_EQ(D.SEdit->Value(), 0);
    End(D, mrCancel);
  });
}

TEST_F(ColorDialog, DragsOverTheSquareAndAroundTheRing) {
  TspSkinColorDialog D(nullptr);
  D.SetColor(0x00FF00);  // green: hue 1/3
  TRunCounter N;
  ExecuteDuring(D, [&] {
    N.Attach(D);
    const THSLPSP Start = D.PSPColor->HSLPSP();
    // Square: saturation to the right, lightness downward, clamped.
    PaletteMouse(D, WM_LBUTTONDOWN, 97, 97, MK_LBUTTON);
    EXPECT_EQ(D.ClickImg, czpspPCar);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{Start.H, 128, 128}));
    EXPECT_EQ(N.HSV, 0);
    EXPECT_GE(N.RGB, 1);
    EXPECT_EQ(N.RGB, N.RGBFromPalette);  // the edits never fed back
    EXPECT_EQ(Bytes(D.REdit, D.GEdit, D.BEdit),
              RGBBytesToColor(D.PSPColor->GetRGB().R, D.PSPColor->GetRGB().G, D.PSPColor->GetRGB().B));
    PaletteMouse(D, WM_MOUSEMOVE, 400, -30, MK_LBUTTON);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{Start.H, 255, 0}));
    PaletteMouse(D, WM_LBUTTONUP, 400, -30, 0);
    EXPECT_EQ(D.ClickImg, czpspPnone);
    // Ring: the hue changes, saturation and lightness stay.
    PaletteMouse(D, WM_LBUTTONDOWN, 97, 97, MK_LBUTTON);
    PaletteMouse(D, WM_LBUTTONUP, 97, 97, 0);
    const THSLPSP Mid = D.PSPColor->HSLPSP();
    PaletteMouse(D, WM_LBUTTONDOWN, 97, 4, MK_LBUTTON);  // top of the ring
    EXPECT_EQ(D.ClickImg, czpspPCircle);
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{255, Mid.S, Mid.L}));
    PaletteMouse(D, WM_MOUSEMOVE, 190, 97, MK_LBUTTON);  // a quarter turn
    EXPECT_EQ(D.PSPColor->HSLPSP(), (THSLPSP{PaletteRingHueByte(190, 97, 0), Mid.S, Mid.L}));
    // Out of the ring while dragging it: still the ring's rule.
    PaletteMouse(D, WM_MOUSEMOVE, 97, 150, MK_LBUTTON);
    EXPECT_EQ(D.PSPColor->HSLPSP().H, PaletteRingHueByte(97, 150, 0));
    PaletteMouse(D, WM_LBUTTONUP, 97, 150, 0);
    // A drag that starts outside both zones changes nothing.
    const THSLPSP Before = D.PSPColor->HSLPSP();
    PaletteMouse(D, WM_LBUTTONDOWN, 2, 2, MK_LBUTTON);
    EXPECT_EQ(D.ClickImg, czpspPnone);
    PaletteMouse(D, WM_MOUSEMOVE, 97, 97, MK_LBUTTON);
    PaletteMouse(D, WM_LBUTTONUP, 97, 97, 0);
    EXPECT_EQ(D.PSPColor->HSLPSP(), Before);
    // The right button chooses the zone but does not act.
    PaletteMouse(D, WM_RBUTTONDOWN, 60, 60, MK_RBUTTON);
    EXPECT_EQ(D.ClickImg, czpspPCar);
    EXPECT_EQ(D.PSPColor->HSLPSP(), Before);
    PaletteMouse(D, WM_RBUTTONUP, 60, 60, 0);
    EXPECT_EQ(D.ClickImg, czpspPnone);
    EXPECT_EQ(N.HSV, 0);
    End(D, mrOk);
  });
  EXPECT_EQ(D.Color(), RGBBytesToColor(D.PSPColor->GetRGB().R, D.PSPColor->GetRGB().G, D.PSPColor->GetRGB().B));
}

// A palette step sets R, G and B one after the other; the H, S, L edits end
// as if each half-set colour had been shown in turn: a grey result keeps the
// hue of the last coloured one on the way.
TEST_F(ColorDialog, PaletteStepShowsTheHSVOfTheWholeChain) {
  TspSkinColorDialog D(nullptr);
  D.SetColor(0x3080C0);
  ExecuteDuring(D, [&] {
    // Square points (grey at the left edge), then ring points.
    const TPoint Moves[] = {{70, 120}, {20, 60}, {150, 40}, {-30, 97}, {97, 97}, {60, 150}};
    PaletteMouse(D, WM_LBUTTONDOWN, 97, 97, MK_LBUTTON);
    for (const TPoint& M : Moves) {
      SCOPED_TRACE(testing::Message() << M.X << "," << M.Y);
      Integer Rgb[3] = {D.REdit->Value(), D.GEdit->Value(), D.BEdit->Value()};
      Integer H = D.HEdit->Value(), S = D.SEdit->Value(), V = D.LEdit->Value();
      PaletteMouse(D, WM_MOUSEMOVE, M.X, M.Y, MK_LBUTTON);
      const TRGB P = D.PSPColor->GetRGB();
      const Integer Now[3] = {P.R, P.G, P.B};
      for (int I = 0; I < 3; ++I) {
        if (Rgb[I] == Now[I]) continue;  // no change, no new HSV
        Rgb[I] = Now[I];
        RGBBytesToHSV(Byte(Rgb[0]), Byte(Rgb[1]), Byte(Rgb[2]), H, S, V);
      }
      EXPECT_EQ(D.HEdit->Value(), H);
      EXPECT_EQ(D.SEdit->Value(), S);
      EXPECT_EQ(D.LEdit->Value(), V);
      EXPECT_EQ(D.HEdit->Text(), IntToStr(H));
      EXPECT_EQ(D.ColorViewer->ColorValue(), RGBBytesToColor(P.R, P.G, P.B));
    }
    PaletteMouse(D, WM_LBUTTONUP, 60, 150, 0);
    End(D, mrCancel);
  });
}

// Paint messages per window while counting is on.
std::map<std::pair<HWND, UINT>, int> PaintCounts;
bool CountingPaints = false;
LRESULT CALLBACK CountPaints(int Code, WPARAM W, LPARAM L) {
  if (Code >= 0 && CountingPaints) {
    const auto* C = reinterpret_cast<const CWPSTRUCT*>(L);
    if (C->message == WM_PAINT || C->message == WM_ERASEBKGND) ++PaintCounts[{C->hwnd, C->message}];
  }
  return CallNextHookEx(nullptr, Code, W, L);
}

// One drag step over the square or around the ring paints the form (the
// swatch), the palette and each edit at most once, and leaves nothing
// pending: the swatch does not flush the form once per RGB edit.
TEST_F(ColorDialog, APaletteStepPaintsEachPartOnce) {
  struct Step {
    const char* Name;
    Integer DownX, DownY, MoveX, MoveY;
  };
  const Step Steps[] = {{"square", 97, 97, 70, 120}, {"ring", 97, 4, 190, 97}};
  for (const Step& S : Steps) {
    SCOPED_TRACE(S.Name);
    TspSkinColorDialog D(nullptr);
    D.SetColor(0x3080C0);
    ExecuteDuring(D, [&] {
      PaletteMouse(D, WM_LBUTTONDOWN, S.DownX, S.DownY, MK_LBUTTON);
      RedrawWindow(D.Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      const TColor Was = D.ColorViewer->ColorValue();
      PaintCounts.clear();
      HHOOK Hook = SetWindowsHookExW(WH_CALLWNDPROC, CountPaints, nullptr, GetCurrentThreadId());
      CountingPaints = true;
      PaletteMouse(D, WM_MOUSEMOVE, S.MoveX, S.MoveY, MK_LBUTTON);
      CountingPaints = false;
      UnhookWindowsHookEx(Hook);
      EXPECT_NE(D.ColorViewer->ColorValue(), Was);
      EXPECT_EQ((PaintCounts[{D.Form->Handle(), WM_PAINT}]), 1);
      EXPECT_EQ((PaintCounts[{D.PalettePSPPanel->Handle(), WM_PAINT}]), 1);
      for (TspSkinTrackEdit* E : {D.REdit, D.GEdit, D.BEdit, D.HEdit, D.SEdit, D.LEdit}) {
        EXPECT_LE((PaintCounts[{E->Handle(), WM_ERASEBKGND}]), 1);
        EXPECT_FALSE(GetUpdateRect(E->Handle(), nullptr, FALSE));
      }
      EXPECT_FALSE(GetUpdateRect(D.Form->Handle(), nullptr, FALSE));
      EXPECT_FALSE(GetUpdateRect(D.PalettePSPPanel->Handle(), nullptr, FALSE));
      PaletteMouse(D, WM_LBUTTONUP, S.MoveX, S.MoveY, 0);
      End(D, mrCancel);
    });
  }
}

TEST_F(ColorDialog, UserColoursAndTheWaysOut) {
  TspSkinColorDialog D(nullptr);
  TspCustomColorValues V;
  for (Integer i = 0; i < 12; ++i) V[i] = 0x000100 * i;
  for (Integer Bad : {13, 100, -1}) {
    D.SetCustomColors(V, Bad);
    EXPECT_EQ(D.CustomColorValuesCount, Bad < 0 ? 0 : 12);
  }
  D.CustomColorValues.fill(0xFFFFFF);
  D.SetCustomColors(V, 2);
  D.DialogFormLeft = 150;
  D.DialogFormTop = 120;
  // Add thirteen times from a count of 2: slots 2..11, then 0, 1 and 2 again.
  EXPECT_TRUE(ExecuteDuring(D, [&] {
    EXPECT_EQ(D.CustomColorGrid->CustomColorValues[1], 0x000100);
    EXPECT_EQ(D.CustomColorGrid->FColorsCount, 2);
    for (Integer i = 0; i < 13; ++i) {
      D.REdit->SetValue(i + 1);
      D.AddCustomColorButton->ButtonClick();
    }
    End(D, mrOk);
  }));
  EXPECT_EQ(D.CustomColorValues[0], 11);
  EXPECT_EQ(D.CustomColorValues[1], 12);
  EXPECT_EQ(D.CustomColorValues[2], 13);
  EXPECT_EQ(D.CustomColorValues[3], 2);
  EXPECT_EQ(D.CustomColorValuesCount, 3);
  EXPECT_EQ(D.Color(), 13);
  // Cancel (through the form's close) keeps colour and user colours but
  // stores the position; a second run after the first starts where the
  // form was.
  const TspCustomColorValues Kept = D.CustomColorValues;
  EXPECT_FALSE(ExecuteDuring(D, [&] {
    EXPECT_EQ(D.Form->Left(), 150);
    EXPECT_EQ(D.Form->Top(), 120);
    D.AddCustomColorButton->ButtonClick();
    D.REdit->SetValue(200);
    D.Form->SetBounds(160, 130, D.Form->Width(), D.Form->Height());
    PostMessageW(D.Form->Handle(), WM_CLOSE, 0, 0);
  }));
  EXPECT_EQ(D.Color(), 13);
  EXPECT_EQ(D.CustomColorValues, Kept);
  EXPECT_EQ(D.DialogFormLeft, 160);
  EXPECT_EQ(D.DialogFormTop, 130);
  // Enter is OK (the default button), Escape Cancel.
  EXPECT_TRUE(ExecuteDuring(D, [&] {
    D.OkButton->SetFocus();
    PostMessageW(D.OkButton->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(D.OkButton->Handle(), WM_KEYUP, VK_RETURN, 0xC0000000);
  }));
  EXPECT_FALSE(ExecuteDuring(D, [&] { D.CancelButton->ButtonClick(); }));
  EXPECT_TRUE(Errors.empty());
}

// Texts come from the skin's text table when it has one; a missing key
// gives an empty text.
TEST_F(ColorDialog, TextsFromTheSkinsTable) {
  TspSkinData SD(nullptr);
  TspResourceStrData Texts(nullptr);
  TStringList Lines;
  Lines.Add(u"MSG_BTN_OK=Fine");
  Lines.Add(u"COLORGRID_CAP=Basics");
  Texts.SetResStrings(&Lines);
  SD.SetResourceStrData(&Texts);
  TspSkinColorDialog D(nullptr);
  D.SetSkinData(&SD);
  D.SetCtrlSkinData(&SD);
  ExecuteDuring(D, [&] {
    EXPECT_EQ(D.Form->Caption(), u"");
    EXPECT_EQ(D.OkButton->Caption(), u"Fine");
    EXPECT_EQ(D.CancelButton->Caption(), u"");
    EXPECT_EQ(D.ColorGrid->Caption(), u"Basics");
    EXPECT_EQ(D.CustomColorGrid->Caption(), u"");
    EXPECT_EQ(D.RLabel->Caption(), u"R:");
    End(D, mrCancel);
  });
  SD.SetResourceStrData(nullptr);
}

// A window that records the colour previews.
std::vector<WPARAM> Previews;
LRESULT CALLBACK PreviewProc(HWND W, UINT M, WPARAM WP, LPARAM LP) {
  if (M == SP_COLOR_PREVIEW) {
    Previews.push_back(WP);
    return 0;
  }
  return DefWindowProcW(W, M, WP, LP);
}

TEST_F(ColorDialog, SwatchPreviewReachesTheMainWindow) {
  WNDCLASSW C{};
  C.lpfnWndProc = PreviewProc;
  C.hInstance = GetModuleHandleW(nullptr);
  C.lpszClassName = L"LumigraDialogPreviewProbe";
  RegisterClassW(&C);
  HWND Probe = CreateWindowW(L"LumigraDialogPreviewProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  Previews.clear();
  TspSkinColorDialog D(nullptr);
  D.MainWindowHandle = Probe;
  D.SetColor(0x00FF00);
  ExecuteDuring(D, [&] {
    EXPECT_EQ(D.ColorViewer->MainWindowHandle, Probe);
    D.REdit->SetValue(0x11);
    D.GEdit->SetValue(0x22);
    EXPECT_TRUE(PumpUntil([] { return !Previews.empty(); }, 2000));
    End(D, mrCancel);
  });
  ASSERT_FALSE(Previews.empty());
  EXPECT_EQ(Previews.back(), WPARAM(0x002211));
  DestroyWindow(Probe);
}

}  // namespace
