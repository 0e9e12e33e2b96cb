// The colour grids and the swatch in a window: cells and the selection frame
// in the default and the skinned look, clicks through the real message loop,
// the counts that do not fit the tables, the user colours that wrap, and the
// swatch's one preview message per burst of changes.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include <vector>

#include "skin/boxes/spColorCtrls.h"

using namespace ctl;

namespace {

class ColorGrids : public SkinCtlTest {};

// A window that records the colour preview messages it gets.
struct TPreviewProbe {
  static std::vector<WPARAM>& Got() {
    static std::vector<WPARAM> V;
    return V;
  }
  static LRESULT CALLBACK Proc(HWND W, UINT M, WPARAM WP, LPARAM LP) {
    if (M == SP_COLOR_PREVIEW) {
      Got().push_back(WP);
      return 0;
    }
    return DefWindowProcW(W, M, WP, LP);
  }
  TPreviewProbe() {
    static bool Registered = false;
    if (!Registered) {
      WNDCLASSW C{};
      C.lpfnWndProc = Proc;
      C.hInstance = GetModuleHandleW(nullptr);
      C.lpszClassName = L"LumigraPreviewProbe";
      RegisterClassW(&C);
      Registered = true;
    }
    Wnd = CreateWindowW(L"LumigraPreviewProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                        nullptr);
    Got().clear();
  }
  ~TPreviewProbe() { DestroyWindow(Wnd); }
  HWND Wnd;
};

template <class TGrid>
TGrid* NewGrid(THost* Host, Integer Cols, Integer Rows, Integer W, Integer H) {
  auto* G = new TGrid(Host);
  G->SetParent(Host);
  G->SetBounds(5, 5, W, H);
  G->SetColCount(Cols);
  G->SetRowCount(Rows);
  return G;
}

TEST_F(ColorGrids, ConstructorDefaults) {
  auto* G = new TspSkinColorGrid(Host);
  EXPECT_EQ(G->Width(), 280);
  EXPECT_EQ(G->Height(), 115);
  EXPECT_EQ(G->ColCount(), 12);
  EXPECT_EQ(G->RowCount(), 4);
  EXPECT_TRUE(G->CaptionMode());
  EXPECT_EQ(G->BorderStyle(), bvFrame);
  EXPECT_FALSE(G->ControlStyle() & csAcceptsControls);
  EXPECT_EQ(G->Caption(), u"Basic colors");
  auto* C = new TspSkinCustomColorGrid(Host);
  EXPECT_EQ(C->Caption(), u"Custom colors");
  EXPECT_EQ(C->ColCount(), 6);
  EXPECT_EQ(C->RowCount(), 2);
  for (TColor V : C->CustomColorValues) EXPECT_EQ(V, 0xFFFFFF);
}

// Each cell shows its table colour in the patch; the selected one is framed
// ($800000 line, $B59385 fill) and its patch is one pixel smaller.
TEST_F(ColorGrids, DefaultLookCellsAndSelection) {
  struct Shape {
    Integer Cols, Rows, W, H;
  };
  for (const Shape& S : {Shape{6, 8, 167, 195}, Shape{12, 4, 280, 115}}) {
    auto* G = NewGrid<TspSkinColorGrid>(Host, S.Cols, S.Rows, S.W, S.H);
    const TColorGridGeometry Geo = G->Geometry();
    // Nothing selected: black is cell 0, so choose a colour outside the table.
    G->SetColorValue(0x123456);
    auto Img = Render(G);
    for (Integer i = 0; i < 48; ++i) {
      const TRect P = Geo.PatchRect(i, false);
      EXPECT_EQ(Px(Img.get(), P.Left, P.Top), BasicColorTable[i]) << i;
      EXPECT_EQ(Px(Img.get(), P.Right - 1, P.Bottom - 1), BasicColorTable[i]) << i;
    }
    const TColor Ground = Px(Img.get(), Geo.OuterRect(5).Left, Geo.OuterRect(5).Top);
    EXPECT_NE(Ground, TColor(0x800000));
    for (Integer i = 0; i < 48; ++i) EXPECT_EQ(Px(Img.get(), Geo.OuterRect(i).Left, Geo.OuterRect(i).Top), Ground);
    SaveScreen(u"default", u"colorgrid-" + IntToStr(S.Cols) + u"x" + IntToStr(S.Rows), u"none", Img.get());
    G->SetColorValue(BasicColorTable[7]);
    Img = Render(G);
    const TRect O = Geo.OuterRect(7), Sel = Geo.PatchRect(7, true);
    EXPECT_EQ(Px(Img.get(), O.Left, O.Top), 0x800000);
    EXPECT_EQ(Px(Img.get(), O.Right - 1, O.Bottom - 1), 0x800000);
    EXPECT_EQ(Px(Img.get(), O.Left + 1, O.Top + 1), 0xB59385);
    EXPECT_EQ(Px(Img.get(), Sel.Left - 1, Sel.Top - 1), 0xB59385);  // the unselected patch's first pixel
    EXPECT_EQ(Px(Img.get(), Sel.Left, Sel.Top), BasicColorTable[7]);
    EXPECT_EQ(Px(Img.get(), Geo.OuterRect(8).Left, Geo.OuterRect(8).Top), Ground);
    SaveScreen(u"default", u"colorgrid-" + IntToStr(S.Cols) + u"x" + IntToStr(S.Rows), u"selected", Img.get());
    delete G;
  }
}

TEST_F(ColorGrids, BasicColorValueAndClicks) {
  auto* G = NewGrid<TspSkinColorGrid>(Host, 6, 8, 167, 195);
  int Changes = 0;
  G->OnChange = [&](TObject* S) {
    EXPECT_EQ(S, G);
    ++Changes;
  };
  G->SetColorValue(0x0000FF);
  G->SetColorValue(0x0000FF);  // unchanged, still fires
  EXPECT_EQ(Changes, 2);
  G->SetColorValue(0x010203);  // outside the table: stored silently
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(G->ColorValue(), 0x010203);
  Pump();
  const TColorGridGeometry Geo = G->Geometry();
  const TRect Hit = Geo.HitRect(13);
  Press(G, Hit.Left, Hit.Top);
  Release(G, Hit.Left, Hit.Top);
  EXPECT_EQ(G->ColorValue(), BasicColorTable[13]);
  EXPECT_EQ(Changes, 3);
  Press(G, Hit.Right - 1, Hit.Bottom - 1);
  Release(G, Hit.Right - 1, Hit.Bottom - 1);
  EXPECT_EQ(Changes, 4);  // the same cell again
  // The gutter between two cells belongs to none; the right button chooses too.
  Press(G, Hit.Right, Hit.Top);
  Release(G, Hit.Right, Hit.Top);
  EXPECT_EQ(Changes, 4);
  const TRect Hit2 = Geo.HitRect(2);
  Mouse(G, WM_RBUTTONDOWN, Hit2.Left + 2, Hit2.Top + 2, MK_RBUTTON);
  Mouse(G, WM_RBUTTONUP, Hit2.Left + 2, Hit2.Top + 2);
  EXPECT_EQ(G->ColorValue(), BasicColorTable[2]);
}

TEST_F(ColorGrids, CountsThatDoNotFitTheTables) {
  auto* G = NewGrid<TspSkinColorGrid>(Host, 12, 4, 280, 115);
  G->SetRowCount(0);
  G->SetRowCount(-3);
  G->SetColCount(0);
  EXPECT_EQ(G->RowCount(), 4);
  EXPECT_EQ(G->ColCount(), 12);
  // 8 x 8 = 64 cells: only the table's 48 are drawn and hit.
  G->SetColCount(8);
  G->SetRowCount(8);
  const TColorGridGeometry Geo = G->Geometry();
  auto Img = Render(G);
  const TRect P47 = Geo.PatchRect(47, false), P48 = Geo.PatchRect(48, false);
  EXPECT_EQ(Px(Img.get(), P47.Left, P47.Top), BasicColorTable[47]);
  const TColor Ground = Px(Img.get(), Geo.OuterRect(48).Left, Geo.OuterRect(48).Top);
  EXPECT_EQ(Px(Img.get(), P48.Left, P48.Top), Ground);
  EXPECT_EQ(Px(Img.get(), P48.Right - 1, P48.Bottom - 1), Ground);
  int Changes = 0;
  G->OnChange = [&](TObject*) { ++Changes; };
  G->SetColorValue(0x112233);
  Pump();
  Press(G, P48.Left, P48.Top);
  Release(G, P48.Left, P48.Top);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(G->ColorValue(), 0x112233);
  auto* C = NewGrid<TspSkinCustomColorGrid>(Host, 6, 3, 167, 90);
  Pump();
  const TRect C12 = C->Geometry().HitRect(12);
  Press(C, C12.Left + 1, C12.Top + 1);
  Release(C, C12.Left + 1, C12.Top + 1);
  EXPECT_EQ(C->ColorIndex(), 0);
}

TEST_F(ColorGrids, CustomGridClicksAndAddColor) {
  auto* C = NewGrid<TspSkinCustomColorGrid>(Host, 6, 2, 167, 68);
  int Changes = 0;
  C->OnChange = [&](TObject*) { ++Changes; };
  for (Integer i = 0; i < 13; ++i) C->AddColor(0x010000 * (i + 1));
  EXPECT_EQ(C->CustomColorValues[0], 0x0D0000);  // the thirteenth
  EXPECT_EQ(C->CustomColorValues[1], 0x020000);
  EXPECT_EQ(C->CustomColorValues[11], 0x0C0000);
  EXPECT_EQ(C->FColorsCount, 1);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(C->ColorIndex(), 0);
  // A count restored from elsewhere that is out of range never writes
  // outside the twelve slots: the next colour goes to slot 0.
  for (Integer Bad : {12, 13, 100, -1}) {
    C->CustomColorValues.fill(0xFFFFFF);
    C->FColorsCount = Bad;
    C->AddColor(0x00AA00);
    EXPECT_EQ(C->CustomColorValues[0], 0x00AA00) << Bad;
    EXPECT_EQ(C->FColorsCount, 1) << Bad;
  }
  Pump();
  const TColorGridGeometry Geo = C->Geometry();
  const TRect H = Geo.HitRect(7);
  C->CustomColorValues[7] = 0x3355AA;
  for (int k = 0; k < 2; ++k) {
    Press(C, H.Left + 3, H.Top + 3);
    Release(C, H.Left + 3, H.Top + 3);
  }
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(C->ColorIndex(), 8);
  EXPECT_EQ(C->ColorValue(), 0x3355AA);
  auto Img = Render(C);
  EXPECT_EQ(Px(Img.get(), Geo.OuterRect(7).Left, Geo.OuterRect(7).Top), 0x800000);
  EXPECT_EQ(Px(Img.get(), Geo.PatchRect(7, true).Left, Geo.PatchRect(7, true).Top), 0x3355AA);
  SaveScreen(u"default", u"customcolorgrid", u"selected", Img.get());
}

// A skin with "groupbox" for the panel and "resizebutton" for the frame:
// the frame is the button's down picture, nine-sliced to the cell.
TEST_F(ColorGrids, SkinnedSelectionFrame) {
  auto S = CoordSkin();
  S.Control(u"groupbox", u"panel",
            {u"pictureindex=0", u"skinrect=0,150,40,190", u"lefttoppoint=6,6", u"righttoppoint=34,6",
             u"leftbottompoint=6,34", u"rightbottompoint=34,34", u"clientrect=6,6,34,34", u"captionrect=6,1,34,5"});
  S.Control(u"resizebutton", u"button",
            {u"pictureindex=0", u"skinrect=100,0,120,20", u"downskinrect=100,40,120,60", u"lefttoppoint=3,3",
             u"righttoppoint=17,3", u"leftbottompoint=3,17", u"rightbottompoint=17,17", u"clientrect=3,3,17,17"});
  auto SD = LoadSkin(S);
  auto* G = NewGrid<TspSkinColorGrid>(Host, 6, 8, 167, 195);
  G->SetSkinDataName(u"groupbox");
  G->SetSkinData(SD.get());
  G->SetColorValue(BasicColorTable[0]);
  ASSERT_TRUE(G->Skinned());
  const TColorGridGeometry Geo = G->Geometry();
  auto Img = Render(G);
  const TRect O = Geo.OuterRect(0);
  EXPECT_EQ(Px(Img.get(), O.Left, O.Top), Coord(100, 40));
  EXPECT_EQ(Px(Img.get(), O.Right - 1, O.Bottom - 1), Coord(119, 59));
  EXPECT_EQ(Px(Img.get(), Geo.PatchRect(0, true).Left, Geo.PatchRect(0, true).Top), BasicColorTable[0]);
  SaveScreen(u"fixture", u"colorgrid", u"skinned", Img.get());
  // Transparent mode: the cells are drawn over the parent's background.
  G->SetTransparentMode(true);
  const TColorGridGeometry TGeo = G->Geometry();
  Img = Render(G);
  EXPECT_EQ(Px(Img.get(), TGeo.OuterRect(0).Left, TGeo.OuterRect(0).Top), Coord(100, 40));
  EXPECT_EQ(Px(Img.get(), TGeo.PatchRect(9, false).Left, TGeo.PatchRect(9, false).Top), BasicColorTable[9]);
  SaveScreen(u"fixture", u"colorgrid", u"transparent", Img.get());
  // A skin without "resizebutton": no frame, the patch still smaller.
  auto S2 = CoordSkin();
  S2.Control(u"groupbox", u"panel",
             {u"pictureindex=0", u"skinrect=0,150,40,190", u"lefttoppoint=6,6", u"righttoppoint=34,6",
              u"leftbottompoint=6,34", u"rightbottompoint=34,34", u"clientrect=6,6,34,34"});
  auto SD2 = LoadSkin(S2);
  G->SetTransparentMode(false);
  G->SetSkinData(SD2.get());
  Img = Render(G);
  EXPECT_NE(Px(Img.get(), O.Left, O.Top), Coord(100, 40));
  EXPECT_NE(Px(Img.get(), O.Left, O.Top), 0x800000);
  G->SetSkinData(nullptr);
  delete G;
}

// Every grid and the swatch in their states, in the default look (compared
// with the golden pictures) and in each made scheme (for review): the basic
// grid in both shapes and the user colours' grid, with and without a
// selected cell, and the grid drawn over its parent (transparent mode).
TEST_F(ColorGrids, LooksInEveryScheme) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  Host->Ground = 0xE0F0D0;
  Host->Invalidate();
  struct Shape {
    const char16_t* Name;
    bool Custom;
    Integer Cols, Rows, W, H;
  };
  const Shape Shapes[] = {{u"colorgrid-6x8", false, 6, 8, 167, 195},
                          {u"colorgrid-12x4", false, 12, 4, 280, 115},
                          {u"customcolorgrid-6x2", true, 6, 2, 167, 68}};
  for (const auto& [Scheme, Skin] : DefaultAndMadeSchemes(Loaded)) {
    SCOPED_TRACE(ToUtf8(Scheme));
    for (const Shape& S : Shapes) {
      SCOPED_TRACE(ToUtf8(S.Name));
      TspColorGridBase* G = nullptr;
      TspSkinCustomColorGrid* C = nullptr;
      TspSkinColorGrid* B = nullptr;
      if (S.Custom) {
        G = C = NewGrid<TspSkinCustomColorGrid>(Host, S.Cols, S.Rows, S.W, S.H);
        for (Integer i = 0; i < 5; ++i) C->AddColor(BasicColorTable[i * 9]);
      } else {
        G = B = NewGrid<TspSkinColorGrid>(Host, S.Cols, S.Rows, S.W, S.H);
        B->SetColorValue(0x123456);  // not in the table: nothing selected
      }
      G->SetSkinDataName(u"groupbox");
      G->SetSkinData(Skin);
      const TColorGridGeometry Geo = G->Geometry();
      // The patches show their colours whatever the look.
      auto Img = Render(G);
      const TRect P1 = Geo.PatchRect(1, false);
      const TColor Want1 = S.Custom ? BasicColorTable[9] : BasicColorTable[1];
      EXPECT_EQ(Px(Img.get(), (P1.Left + P1.Right) / 2, (P1.Top + P1.Bottom) / 2), Want1);
      boxtest::Shoot(Scheme, S.Name, u"none", G);
      // Select cell 1.
      if (C) {
        const TRect H = Geo.HitRect(1);
        Press(C, H.Left + 2, H.Top + 2);
        Release(C, H.Left + 2, H.Top + 2);
        EXPECT_EQ(C->ColorIndex(), 2);
      } else {
        B->SetColorValue(BasicColorTable[1]);
      }
      Img = Render(G);
      const TRect Sel = Geo.PatchRect(1, true);
      EXPECT_EQ(Px(Img.get(), Sel.Left, Sel.Top), Want1);
      EXPECT_NE(Px(Img.get(), Sel.Left - 1, Sel.Top - 1), Want1);
      boxtest::Shoot(Scheme, S.Name, u"selected", G);
      if (B) {
        B->SetTransparentMode(true);
        Pump();
        boxtest::Shoot(Scheme, S.Name, u"transparent", G);
      }
      delete G;
    }
    if (Skin) continue;  // the swatch has no skinned look
    auto* V = new TspColorViewer(Host);
    V->SetParent(Host);
    V->SetBounds(10, 10, 48, 48);
    V->OldColorValue = 0x00C000;
    V->SetColorValue(0x2040E0);
    auto Img = Render(V);
    EXPECT_EQ(Px(Img.get(), 20, 10), 0x2040E0);
    EXPECT_EQ(Px(Img.get(), 20, 40), 0x00C000);
    boxtest::ShootBitmap(Scheme, u"colorviewer", u"new-over-old", Img.get());
    delete V;
  }
}

TEST_F(ColorGrids, ViewerLook) {
  auto* V = new TspColorViewer(Host);
  V->SetParent(Host);
  V->SetBounds(10, 10, 40, 40);
  V->OldColorValue = 0x00FF00;
  V->SetColorValue(0x0000FF);
  auto Img = Render(V);
  EXPECT_EQ(Px(Img.get(), 0, 0), 0x000000);
  EXPECT_EQ(Px(Img.get(), 39, 39), 0x000000);
  EXPECT_EQ(Px(Img.get(), 1, 1), 0x0000FF);
  EXPECT_EQ(Px(Img.get(), 38, 20), 0x0000FF);  // up to H div 2 + 1 (exclusive)
  EXPECT_EQ(Px(Img.get(), 38, 21), 0x00FF00);
  EXPECT_EQ(Px(Img.get(), 20, 38), 0x00FF00);
  SaveScreen(u"default", u"colorviewer", u"new-over-old", Img.get());
}

TEST_F(ColorGrids, ViewerSendsOnePreviewPerBurst) {
  TPreviewProbe Probe;
  auto* V = new TspColorViewer(Host);
  V->SetParent(Host);
  V->MainWindowHandle = Probe.Wnd;
  EXPECT_FALSE(V->Timer()->Enabled());
  V->SetColorValue(0x000001);
  V->SetColorValue(0x000002);
  V->SetColorValue(0x000003);
  EXPECT_TRUE(V->Timer()->Enabled());
  EXPECT_TRUE(TPreviewProbe::Got().empty());
  Fire(V->Timer());
  ASSERT_EQ(TPreviewProbe::Got().size(), 1u);
  EXPECT_EQ(TPreviewProbe::Got()[0], WPARAM(3));
  EXPECT_FALSE(V->Timer()->Enabled());
  // The same value starts nothing; a new change starts a new burst.
  V->SetColorValue(0x000003);
  EXPECT_FALSE(V->Timer()->Enabled());
  V->SetColorValue(0x000004);
  // Through the real timer this time.
  EXPECT_TRUE(PumpUntil([] { return TPreviewProbe::Got().size() == 2; }, 2000));
  EXPECT_EQ(TPreviewProbe::Got()[1], WPARAM(4));
  // No window: nothing is sent.
  V->MainWindowHandle = nullptr;
  V->SetColorValue(0x000005);
  Fire(V->Timer());
  EXPECT_EQ(TPreviewProbe::Got().size(), 2u);
  // The old colour is a plain field: no repaint, no message.
  V->OldColorValue = 0x777777;
  EXPECT_FALSE(V->Timer()->Enabled());
}

// Inside a batch a change only invalidates the swatch; the outermost end
// paints it (and whatever else the host has pending) at once; a batch with
// no change paints nothing. The preview burst is the same either way.
TEST_F(ColorGrids, ViewerBatchPaintsOnceAtTheEnd) {
  auto* V = new TspColorViewer(Host);
  V->SetParent(Host);
  V->SetBounds(10, 10, 40, 40);
  RedrawWindow(Host->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  auto Pending = [&] { return GetUpdateRect(Host->Handle(), nullptr, FALSE) != FALSE; };
  ASSERT_FALSE(Pending());
  V->SetColorValue(0x000010);  // outside a batch: painted at once
  EXPECT_FALSE(Pending());
  V->BeginUpdate();
  V->BeginUpdate();
  V->SetColorValue(0x000020);
  V->SetColorValue(0x000030);
  EXPECT_TRUE(Pending());
  EXPECT_TRUE(V->Timer()->Enabled());
  V->EndUpdate();
  EXPECT_TRUE(Pending());  // still inside the outer batch
  V->EndUpdate();
  EXPECT_FALSE(Pending());
  EXPECT_EQ(V->ColorValue(), 0x000030);
  // A batch without a change leaves other pending paints alone.
  RECT Other{60, 10, 70, 20};
  InvalidateRect(Host->Handle(), &Other, FALSE);
  V->BeginUpdate();
  V->SetColorValue(0x000030);
  V->EndUpdate();
  EXPECT_TRUE(Pending());
  // An end without a begin does nothing and leaves no batch open.
  V->EndUpdate();
  RedrawWindow(Host->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  V->SetColorValue(0x000040);
  EXPECT_FALSE(Pending());
  delete V;
}

TEST_F(ColorGrids, EmptyControlErasesNothing) {
  auto* E = new TspEmptyControl(Host);
  E->SetParent(Host);
  E->SetBounds(0, 0, 20, 20);
  EXPECT_EQ(SendMessageW(E->Handle(), WM_ERASEBKGND, 0, 0), 1);
  auto* G = NewGrid<TspSkinColorGrid>(Host, 6, 8, 167, 195);
  HDC DC = GetDC(G->Handle());
  EXPECT_EQ(SendMessageW(G->Handle(), WM_ERASEBKGND, WPARAM(DC), 0), 0);
  ReleaseDC(G->Handle(), DC);
}

}  // namespace
