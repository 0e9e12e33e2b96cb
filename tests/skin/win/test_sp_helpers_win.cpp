// The drawing helpers' pixels (marks, arrows, caption glyphs, the dotted
// focus frame, computed from their line definitions), text placement, glow
// and reflection, the parent background under a control, and the layer
// manager.
#include "SkinToolkitTestUtil.h"
#include "common/Xdo.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <functional>
#include <string>

extern char** environ;

using namespace sppix;

namespace {

using namespace sptest;
using PointSet = std::set<std::pair<Integer, Integer>>;

// Pen lines are end-exclusive; every line here is straight or diagonal.
void AddLine(PointSet& S, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer dx = X2 - X1, dy = Y2 - Y1, n = std::max(std::abs(dx), std::abs(dy));
  for (Integer i = 0; i < n; ++i) S.insert({X1 + (dx > 0 ? i : dx < 0 ? -i : 0), Y1 + (dy > 0 ? i : dy < 0 ? -i : 0)});
}
void AddFilled(PointSet& S, Integer L, Integer T, Integer R, Integer B) {
  for (Integer y = T; y < B; ++y)
    for (Integer x = L; x < R; ++x) S.insert({x, y});
}
void AddOutline(PointSet& S, Integer L, Integer T, Integer R, Integer B) {
  for (Integer x = L; x < R; ++x) S.insert({x, T}), S.insert({x, B - 1});
  for (Integer y = T; y < B; ++y) S.insert({L, y}), S.insert({R - 1, y});
}

PointSet Drawn(const std::function<void(TCanvas*)>& Draw, const String& Name) {
  std::unique_ptr<TBitmap> B(WhiteBitmap(24, 24));
  Draw(B->Canvas());
  SaveReviewPicture(Name, B.get());
  return SetPixels(B.get(), 0xFFFFFF);
}

TEST(SkinHelpers, GlyphsAndMarksPixelExact) {
  const Integer X = 6, Y = 7;
  struct Case {
    const char16_t* Name;
    std::function<void(TCanvas*)> Draw;
    std::function<void(PointSet&)> Want;
  } Cases[] = {
      {u"close", [&](TCanvas* C) { DrawCloseGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) {
         AddLine(S, X + 1, Y + 1, X + 9, Y + 9);
         AddLine(S, X + 9, Y + 1, X + 1, Y + 9);
         AddLine(S, X + 2, Y + 1, X + 10, Y + 9);
         AddLine(S, X + 8, Y + 1, X, Y + 9);
       }},
      {u"sysmenu", [&](TCanvas* C) { DrawSysMenuGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) { AddOutline(S, X + 1, Y + 3, X + 9, Y + 6); }},
      {u"minimize", [&](TCanvas* C) { DrawMinimizeGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) {
         AddLine(S, X + 1, Y + 8, X + 9, Y + 8);
         AddLine(S, X + 1, Y + 9, X + 9, Y + 9);
       }},
      {u"maximize", [&](TCanvas* C) { DrawMaximizeGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) {
         AddOutline(S, X, Y, X + 11, Y + 10);
         AddOutline(S, X, Y, X + 11, Y + 2);
       }},
      {u"restore", [&](TCanvas* C) { DrawRestoreGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) {
         AddOutline(S, X + 2, Y, X + 10, Y + 6);
         AddOutline(S, X + 2, Y, X + 10, Y + 2);
         AddOutline(S, X, Y + 4, X + 7, Y + 10);
         AddOutline(S, X, Y + 4, X + 7, Y + 6);
       }},
      {u"rolldown", [&](TCanvas* C) { DrawRollDownGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) {
         for (Integer i = 1; i <= 4; ++i) AddLine(S, X + 5 - i, Y + 6 - i, X + 5 + i, Y + 6 - i);
       }},
      {u"rollup", [&](TCanvas* C) { DrawRollUpGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) {
         for (Integer i = 1; i <= 4; ++i) AddLine(S, X + 5 - i, Y + 2 + i, X + 5 + i, Y + 2 + i);
       }},
      {u"tray", [&](TCanvas* C) { DrawMinimizeToTrayGlyph(C, X, Y, clBlack); },
       [&](PointSet& S) { AddFilled(S, X + 2, Y + 2, X + 7, Y + 7); }},
      {u"radio", [&](TCanvas* C) { DrawRadioDot(C, X, Y, clBlack); }, [&](PointSet& S) { AddFilled(S, X, Y, X + 6, Y + 6); }},
      {u"check", [&](TCanvas* C) { DrawCheckMark(C, X, Y, clBlack); },
       [&](PointSet& S) {
         for (Integer i = 0; i <= 2; ++i) {
           AddLine(S, X, Y + 5 - i, X + 2, Y + 7 - i);
           AddLine(S, X + 2, Y + 7 - i, X + 7, Y + 2 - i);
         }
       }},
      {u"dropdown", [&](TCanvas* C) { DrawDropDownMark(C, TRect(0, 0, 20, 20), clBlack); },
       [&](PointSet& S) {
         for (Integer i = 0; i <= 2; ++i) AddLine(S, 10 - i, 12 - i, 11 + i, 12 - i);
       }},
  };
  for (const Case& C : Cases) {
    PointSet Want;
    C.Want(Want);
    EXPECT_EQ(Drawn(C.Draw, String(u"glyph_") + C.Name), Want) << String(C.Name).size();
  }
  // Arrows: 1 left, 2 right, 3 up, 4 down; 0 and 5 draw nothing.
  for (Integer Dir = 0; Dir <= 5; ++Dir) {
    PointSet Want;
    const Integer cx = 10, cy = 10;
    for (Integer i = 0; i <= 3 && Dir >= 1 && Dir <= 4; ++i) {
      if (Dir == 1) AddLine(Want, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1);
      if (Dir == 2) AddLine(Want, cx + 2 - i, cy + i, cx + 2 - i, cy - i - 1);
      if (Dir == 3) AddLine(Want, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i);
      if (Dir == 4) AddLine(Want, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i);
    }
    EXPECT_EQ(Drawn([&](TCanvas* C) { DrawDirectionArrow(C, TRect(0, 0, 20, 20), clBlack, Dir); },
                    u"arrow_" + IntToStr(Dir)),
              Want)
        << "direction " << Dir;
  }
  // The dotted focus frame in the font colour.
  std::vector<TPoint> Dots;
  DottedFocusDots(TRect(2, 3, 15, 11), Dots);
  PointSet Want;
  for (const TPoint& P : Dots) Want.insert({P.X, P.Y});
  EXPECT_EQ(Drawn(
                [](TCanvas* C) {
                  C->Font()->SetColor(clBlack);
                  DrawDottedFocusRect(C, TRect(2, 3, 15, 11));
                },
                u"dotted_focus"),
            Want);
  EXPECT_EQ(AverageColor(clBlack, clWhite), TColor(0x7F7F7F));
}

TEST(SkinHelpers, CaptionPlacementAndEllipsis) {
  TCustomImageList List(nullptr, 16, 16);
  auto TopOfText = [&](Integer FontHeight, Integer Index) {
    std::unique_ptr<TBitmap> B(WhiteBitmap(120, 40));
    B->Canvas()->Font()->SetName(u"Arial");
    B->Canvas()->Font()->SetHeight(FontHeight);
    B->Canvas()->Font()->SetColor(clBlack);
    DrawImageAndText(B->Canvas(), TRect(0, 0, 120, 40), -1, 2, blGlyphLeft, u"Hi", Index, &List, false, true, false,
                     clRed);
    const PointSet S = SetPixels(B.get(), 0xFFFFFF);
    return S.empty() ? -1 : std::min_element(S.begin(), S.end(), [](auto& a, auto& b) { return a.second < b.second; })->second;
  };
  // ImageIndex = Count: no glyph. An odd font height draws one row higher.
  const Integer Even = TopOfText(-12, List.Count()), Odd = TopOfText(-13, List.Count());
  EXPECT_GE(Even, 0);
  const Integer OddDelta = Odd - Even;
  EXPECT_LE(OddDelta, 0);
  std::unique_ptr<TBitmap> B(WhiteBitmap(10, 10));
  B->Canvas()->Font()->SetName(u"Arial");
  B->Canvas()->Font()->SetHeight(-12);
  String S = u"A rather long caption";
  EllipsizeWideText(B->Canvas(), S, 60);
  EXPECT_EQ(S.substr(S.size() - 3), u"...");
  EXPECT_LE(WideTextWidth(B->Canvas(), S), 60);
  String Tiny = u"Wide";
  EllipsizeWideText(B->Canvas(), Tiny, 2);
  EXPECT_EQ(Tiny, u"...");
}

TEST(SkinHelpers, GlowAndReflection) {
  auto Canvas = [](TBitmap* B) {
    B->Canvas()->Font()->SetName(u"Arial");
    B->Canvas()->Font()->SetHeight(-14);
    B->Canvas()->Font()->SetColor(clBlack);
  };
  const TRect R(20, 10, 100, 30);
  struct Case {
    const char16_t* Name;
    std::function<Integer(TCanvas*)> Draw;
  } Cases[] = {
      {u"glow", [&](TCanvas* C) { return DrawGlowText(C, R, u"Glow", DT_SINGLELINE, 0, clBlue, 6); }},
      {u"glow_bold", [&](TCanvas* C) { return DrawGlowTextBold(C, R, u"Glow", DT_SINGLELINE, 0, clBlue, 6); }},
      {u"vista_glow", [&](TCanvas* C) { return DrawVistaGlowText(C, R, u"Glow", DT_SINGLELINE, clBlue); }},
      {u"vista_glow_narrow", [&](TCanvas* C) { return DrawVistaGlowTextNarrow(C, R, u"Glow", DT_SINGLELINE, clBlue); }},
  };
  for (const Case& C : Cases) {
    std::unique_ptr<TBitmap> B(WhiteBitmap(160, 70));
    Canvas(B.get());
    EXPECT_GT(C.Draw(B->Canvas()), 0);
    SaveReviewPicture(C.Name, B.get());
    // Black text inside R, and blue-tinted glow beside it outside the text.
    Integer Black = 0, Tinted = 0;
    for (Integer y = 0; y < 70; ++y)
      for (Integer x = 0; x < 160; ++x) {
        const Cardinal P = Rgb(B.get(), x, y);
        if (P == 0) ++Black;
        const Integer r = P >> 16, b = P & 0xFF;
        if (P != 0xFFFFFF && b > r + 8) ++Tinted;
      }
    EXPECT_GT(Black, 0) << String(C.Name).size();
    EXPECT_GT(Tinted, 20) << String(C.Name).size();
  }
  // A glow size from a skin far beyond the blur's reach is limited: it
  // neither allocates for it nor fails, and the text is drawn.
  std::unique_ptr<TBitmap> Big(WhiteBitmap(160, 70));
  Canvas(Big.get());
  EXPECT_GT(DrawGlowText(Big->Canvas(), R, u"Glow", DT_SINGLELINE, 0, clBlue, 1000000), 0);
  EXPECT_FALSE(SetPixels(Big.get(), 0xFFFFFF).empty());
  // A reflection below a short text; none for an empty text.
  std::unique_ptr<TBitmap> B(WhiteBitmap(120, 60));
  Canvas(B.get());
  DrawReflectionText(B->Canvas(), TRect(10, 5, 110, 25), u"Mirror", DT_SINGLELINE, 2, clBlack);
  SaveReviewPicture(u"reflection", B.get());
  Integer Below = 0;
  for (Integer y = 26; y < 60; ++y)
    for (Integer x = 0; x < 120; ++x)
      if (Rgb(B.get(), x, y) != 0xFFFFFF) ++Below;
  EXPECT_GT(Below, 0);
  std::unique_ptr<TBitmap> E(WhiteBitmap(120, 60));
  Canvas(E.get());
  DrawReflectionText(E->Canvas(), TRect(10, 5, 110, 25), u"", DT_SINGLELINE, 2, clBlack);
  EXPECT_TRUE(SetPixels(E.get(), 0xFFFFFF).empty());
}

TEST(SkinHelpers, UniformGlyphHasNoSilhouette) {
  TCustomImageList List(nullptr, 8, 8);
  std::unique_ptr<TBitmap> Img(WhiteBitmap(8, 8));
  List.Add(Img.get(), nullptr);
  TspBitmap T;
  T.SetSize(12, 12);
  DrawGlyphSilhouette(&T, &List, 0, 2);
  for (Int64 i = 0; i < T.PixelCount(); ++i) ASSERT_EQ(T.Bits()[i], 0u);
  Img->Canvas()->Brush()->SetColor(clBlack);
  Img->Canvas()->FillRect(TRect(3, 3, 5, 5));
  List.Add(Img.get(), nullptr);
  DrawGlyphSilhouette(&T, &List, 1, 2);
  EXPECT_EQ(T.GetPixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(T.GetPixel(4, 4), 0xFFFF0000u);  // drawn one pixel up-left too
  EXPECT_EQ(T.GetPixel(0, 0), 0u);
}

// ---- the parent's background ---------------------------------------------

class TPanelLike : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clNavy);
    Canvas()->FillRect(TRect(25, 25, 35, 35));
  }
};

class TBlock : public TGraphicControl {
 public:
  TBlock(TComponent* Owner, TColor C, bool Raise = false) : TGraphicControl(Owner), FColor(C), FRaise(Raise) {}
  bool SawCopy = false;
  bool ParentSawCopy = false;

 protected:
  void Paint() override {
    SawCopy = ControlState() & csPaintCopy;
    ParentSawCopy = Parent()->ControlState() & csPaintCopy;
    if (FRaise) throw Exception(u"paint failed");
    Canvas()->Brush()->SetColor(FColor);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
  }

 private:
  TColor FColor;
  bool FRaise;
};

bool GHookCalled = false;
bool FakePainter(TWinControl*, HDC DC) {
  GHookCalled = true;
  RECT R{-1000, -1000, 1000, 1000};
  FillRect(DC, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  return true;
}

TEST(SkinHelpers, ParentBackgroundUnderAControl) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 200, 200);
  auto* Panel = new TPanelLike(&Form);
  Panel->SetParent(&Form);
  Panel->SetBounds(0, 0, 100, 100);
  Panel->SetColor(clYellow);
  auto* G1 = new TBlock(&Form, clLime);  // before, overlapping
  G1->SetParent(Panel);
  G1->SetBounds(5, 5, 15, 15);
  auto* G2 = new TBlock(&Form, clBlue);  // before, not overlapping
  G2->SetParent(Panel);
  G2->SetBounds(60, 60, 10, 10);
  auto* C = new TBlock(&Form, clWhite);  // the control
  C->SetParent(Panel);
  C->SetBounds(10, 10, 20, 20);
  auto* G3 = new TBlock(&Form, clRed);  // after: never painted under C
  G3->SetParent(Panel);
  G3->SetBounds(10, 10, 20, 20);
  Form.Handle();
  std::unique_ptr<TBitmap> B(WhiteBitmap(20, 20));
  PaintParentBackground(C, B->Canvas());
  SaveReviewPicture(u"parent_background", B.get());
  EXPECT_EQ(Rgb(B.get(), 0, 0), 0x00FF00u);    // G1 over (10..20)
  EXPECT_EQ(Rgb(B.get(), 9, 9), 0x00FF00u);
  EXPECT_EQ(Rgb(B.get(), 12, 3), 0xFFFF00u);   // the panel's colour (yellow)
  EXPECT_EQ(Rgb(B.get(), 16, 16), 0x000080u);  // the panel's own painting (navy)
  EXPECT_TRUE(G1->SawCopy);
  EXPECT_TRUE(G1->ParentSawCopy);
  EXPECT_FALSE(G2->SawCopy);
  EXPECT_FALSE(G3->SawCopy);
  EXPECT_FALSE(Panel->ControlState() & csPaintCopy);
  EXPECT_FALSE(G1->ControlState() & csPaintCopy);
  // A part of the control only: the origin moves further by R's corner.
  std::unique_ptr<TBitmap> Part(WhiteBitmap(10, 10));
  PaintParentBackgroundOffset(C, TRect(5, 5, 15, 15), Part->Canvas());
  EXPECT_EQ(Rgb(Part.get(), 0, 0), 0x00FF00u);
  EXPECT_EQ(Rgb(Part.get(), 9, 9), 0xFFFF00u);
  // A sibling whose paint raises: the error passes, the states are cleared.
  auto* Bad = new TBlock(&Form, clRed, true);
  Bad->SetParent(Panel);
  Bad->SetBounds(12, 12, 5, 5);
  Panel->RemoveControl(C);
  Panel->InsertControl(C);  // C after Bad now
  EXPECT_THROW(PaintParentBackground(C, B->Canvas()), Exception);
  EXPECT_FALSE(Panel->ControlState() & csPaintCopy);
  EXPECT_FALSE(Bad->ControlState() & csPaintCopy);
  delete Bad;
  delete G3;  // (C now comes after it)
  // A registered painter paints the parent's background instead of the erase.
  SetParentBackgroundPainter(FakePainter);
  std::unique_ptr<TBitmap> H(WhiteBitmap(20, 20));
  PaintParentBackground(C, H->Canvas());
  SetParentBackgroundPainter(nullptr);
  EXPECT_TRUE(GHookCalled);
  EXPECT_EQ(Rgb(H.get(), 12, 3), 0x000000u);
}

// ---- layer manager -------------------------------------------------------

TEST(SkinLayers, FadeSequencesAndWindow) {
  std::unique_ptr<TBitmap> Img(WhiteBitmap(20, 10)), Mask(WhiteBitmap(20, 10));
  for (auto [Target, Want] : {std::pair{200, std::vector<Integer>{20, 40, 60, 80, 100, 120, 140, 160, 180, 200}},
                             std::pair{5, std::vector<Integer>{1, 2, 3, 4, 5}}, std::pair{0, std::vector<Integer>{0}}}) {
    TspLayerManager M(nullptr);
    M.Show(50, 60, Img.get(), Mask.get(), Target);
    ASSERT_TRUE(M.IsVisible());
    ASSERT_TRUE(M.Timer()->Enabled());
    std::vector<Integer> Seen;
    while (M.Timer()->Enabled() && Seen.size() < 20) {
      M.TimerStep();  // the timer's ticks, driven by hand
      Seen.push_back(M.BeginAlphaBlendValue());
    }
    EXPECT_EQ(Seen, Want) << Target;
  }
  TspLayerManager M(nullptr);
  M.Show(30, 40, Img.get(), Mask.get(), 100);
  const HWND First = M.LayerWindow()->Handle();
  EXPECT_EQ(GetWindowLongPtrW(First, GWL_STYLE) & (WS_POPUP | WS_CHILD), LONG_PTR(WS_POPUP));
  const LONG_PTR Ex = GetWindowLongPtrW(First, GWL_EXSTYLE);
  EXPECT_TRUE(Ex & WS_EX_LAYERED);
  EXPECT_TRUE(Ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(Ex & WS_EX_TRANSPARENT);
  EXPECT_TRUE(GetClassLongPtrW(First, GCL_STYLE) & CS_SAVEBITS);
  EXPECT_EQ(SendMessageW(First, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  // The pushed picture: white with the white mask's full alpha.
  EXPECT_EQ(M.Bmp()->GetPixel(3, 3), 0xFFFFFFFFu);
  M.Show(30, 40, Img.get(), Mask.get(), 100);  // again: the first window is gone
  EXPECT_FALSE(IsWindow(First));
  M.Update();
  M.Hide();
  EXPECT_FALSE(M.IsVisible());
  EXPECT_EQ(M.LayerWindow(), nullptr);
}

TEST(SkinLayers, AlphaFromAMaskPictureTable) {
  std::unique_ptr<TBitmap> Img(WhiteBitmap(3, 1)), Mask(WhiteBitmap(2, 1));
  auto* Row = static_cast<Cardinal*>(Img->ScanLine(0));
  Row[0] = 0x00C08040u;
  Row[1] = 0x00FFFFFFu;
  Row[2] = 0x00102030u;
  auto* M = static_cast<Cardinal*>(Mask->ScanLine(0));
  M[0] = 0x00606060u;  // grey 96
  M[1] = 0x000A141Fu;  // (31, 20, 10): grey 20
  TspBitmap T;
  BuildAlphaBitmapFromMask(Img.get(), Mask.get(), &T);
  EXPECT_EQ(T.GetPixel(0, 0), 0x60606040u);  // channels limited to the alpha
  EXPECT_EQ(T.GetPixel(1, 0), 0x14141414u);
  // Beyond the smaller mask the image's own alpha stays (0 in a GDI-made
  // 32-bit bitmap), and the channels follow it.
  EXPECT_EQ(T.GetPixel(2, 0), 0x00000000u);
}

// ---- a real layer window under the pointer --------------------------------

using lumigra_test::Xdo;

// Handles the messages that arrive within Ms milliseconds, or until Done.
void PumpFor(DWORD Ms, const std::function<bool()>& Done = nullptr) {
  const DWORD Start = GetTickCount();
  while (GetTickCount() - Start < Ms) {
    MSG M;
    while (PeekMessageW(&M, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&M);
      DispatchMessageW(&M);
    }
    if (Done && Done()) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// A windowed control that counts the left-button presses it receives.
class TClickTarget : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  Integer Presses = 0;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_LBUTTONDOWN) ++Presses;
    TCustomControl::Dispatch(Message);
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
  }
};

// The layer over a control of an active form: a click at the layer's place
// through the X server (the real pointer) reaches the control beneath, and
// the active window stays the form; the same layer without
// WS_EX_TRANSPARENT takes the click itself, still without activation.
TEST(SkinLayers, ClicksGoThroughTheLayerToTheWindowBeneath) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  TForm Form(nullptr);
  Form.SetBounds(100, 100, 300, 200);
  auto* Target = new TClickTarget(&Form);
  Target->SetParent(&Form);
  Target->SetBounds(40, 40, 160, 80);
  Form.Show();
  SetForegroundWindow(Form.Handle());
  PumpFor(200);
  ASSERT_EQ(GetActiveWindow(), Form.Handle());
  POINT P{Target->Width() / 2, Target->Height() / 2};
  ClientToScreen(Target->Handle(), &P);
  ASSERT_EQ(WindowFromPoint(P), Target->Handle());
  // An opaque layer (a white mask: alpha 255 everywhere) faded in fully over
  // the whole control.
  std::unique_ptr<TBitmap> Img(WhiteBitmap(200, 120)), Mask(WhiteBitmap(200, 120));
  Img->Canvas()->Brush()->SetColor(clRed);
  Img->Canvas()->FillRect(TRect(0, 0, 200, 120));
  TspLayerManager Layer(nullptr);
  Layer.Show(P.x - 100, P.y - 60, Img.get(), Mask.get(), 255);
  while (Layer.Timer()->Enabled()) Layer.TimerStep();
  ASSERT_EQ(Layer.BeginAlphaBlendValue(), 255);
  const HWND LayerWnd = Layer.LayerWindow()->Handle();
  ASSERT_TRUE(IsWindowVisible(LayerWnd));
  PumpFor(100);
  EXPECT_EQ(WindowFromPoint(P), Target->Handle()) << "the system's own hit test passes through the layer";

  auto Click = [&] {
    const Integer Before = Target->Presses;
    EXPECT_TRUE(Xdo({"mousemove", std::to_string(P.x), std::to_string(P.y), "click", "1"}));
    PumpFor(1000, [&] { return Target->Presses > Before; });
    PumpFor(100);
    return Target->Presses - Before;
  };
  EXPECT_EQ(Click(), 1) << "the click reaches the control beneath the layer";
  EXPECT_EQ(GetActiveWindow(), Form.Handle());
  EXPECT_EQ(GetForegroundWindow(), Form.Handle());
  // Without WS_EX_TRANSPARENT the layer itself is hit: the control gets
  // nothing, and the layer still does not take activation.
  SetWindowLongPtrW(LayerWnd, GWL_EXSTYLE, GetWindowLongPtrW(LayerWnd, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_TRANSPARENT));
  SetWindowPos(LayerWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  PumpFor(100);
  EXPECT_EQ(WindowFromPoint(P), LayerWnd);
  EXPECT_EQ(Click(), 0) << "a layer that is not transparent to the mouse takes the click";
  EXPECT_EQ(GetActiveWindow(), Form.Handle());
  Layer.Hide();
}

}  // namespace
