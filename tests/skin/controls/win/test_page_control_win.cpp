// The skinned page control painted and driven under Wine: the default tab
// states and frame as pixels, the skinned strip and tabs (the nudge beside
// a taller selected tab, the close button's place), the sheets' background,
// hot tracking over visible tabs only, the wheel, close buttons (a press and
// a release on the same tab's button close that tab's page), the skinned
// arrows standing in for the layout's own, the centred row, hidden tabs and
// hostile skins.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinMessages.h"

using namespace ctl;

namespace {

// A child that counts what its parent tells it.
class TProbeChild : public TWinControl {
 public:
  explicit TProbeChild(TComponent* AOwner) : TWinControl(AOwner) {}
  int BackgroundChanges = 0;
  void Dispatch(TMessage& M) override {
    if (M.Msg == SP_PARENT_BACKGROUND_CHANGED) ++BackgroundChanges;
    TWinControl::Dispatch(M);
  }
};

HWND NativeArrows(TWinControl* C) {
  return FindWindowExW(C->Handle(), nullptr, reinterpret_cast<const WCHAR*>(u"msctls_updown32"), nullptr);
}

class PageControlWin : public SkinCtlTest {
 protected:
  TspSkinPageControl* Make(std::initializer_list<const char16_t*> Captions = {u"One", u"Two", u"Three"},
                           Integer W = 300, Integer H = 120) {
    auto* P = new TspSkinPageControl(Host);
    P->SetParent(Host);
    P->SetBounds(10, 10, W, H);
    for (const char16_t* C : Captions) {
      auto* S = new TspSkinTabSheet(P);
      S->SetCaption(C);
      S->SetPageControl(P);
    }
    P->HandleNeeded();
    P->SetItemSize(0, 20);
    Pump();
    return P;
  }
  TspSkinCustomTabSheet* Sheet(TspSkinPageControl* P, Integer I) {
    return static_cast<TspSkinCustomTabSheet*>(P->Pages(I));
  }
  // The middle of visible tab V.
  TPoint Mid(TspSkinPageControl* P, Integer V) {
    const TRect R = P->GetItemRect(V);
    return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  }
  // The middle of page I's close button in client coordinates.
  TPoint CloseButton(TspSkinPageControl* P, Integer V, Integer I) {
    Render(P);  // the buttons' places are written while drawing
    const TRect R = P->GetItemRect(V);
    const TRect B = Sheet(P, I)->ButtonRect;
    return TPoint(R.Left + (B.Left + B.Right) / 2, R.Top + (B.Top + B.Bottom) / 2);
  }
};

// ---------------------------------------------------------------------------
// Default look

TEST_F(PageControlWin, DefaultTabStatesAndFrame) {
  auto* P = Make();
  P->SetActivePageIndex(0);
  const TRect T0 = P->GetItemRect(0), T1 = P->GetItemRect(1), T2 = P->GetItemRect(2);
  const TRect D = P->DisplayRect();
  const TColor Face = Sys(clBtnFace);
  P->SetFocus();
  Pump();
  ASSERT_TRUE(P->Focused());
  Move(P, Mid(P, 1).X, Mid(P, 1).Y, false);
  ASSERT_EQ(P->HotTabIndex(), 1);
  auto B = Render(P);
  SaveScreen(u"default", u"pagecontrol", u"selected-focused-hot", B.get());
  struct Case {
    const char* Name;
    TPoint At;
    TColor Want;
  };
  const Case Cases[] = {
      {"selected, focused: navy frame", TPoint(T0.Left, T0.Top + 5), clNavy},
      {"selected, focused: fill", TPoint(T0.Left + 3, T0.Top + 3), TColor(0xB59385)},
      {"hot: no frame", TPoint(T1.Left, T1.Top + 5), TColor(0xD2BDB6)},
      {"hot: fill", TPoint(T1.Left + 3, T1.Top + 3), TColor(0xD2BDB6)},
      {"plain tab", TPoint(T2.Left + 3, T2.Top + 3), Face},
      {"frame around the page", TPoint(D.Left - 1, D.Top + 10), Sys(clBtnShadow)},
      {"frame's bottom", TPoint(D.Left + 10, D.Bottom), Sys(clBtnShadow)},
      {"inside the frame", TPoint(D.Left + 10, D.Top + 10), Face},
  };
  for (const Case& C : Cases) EXPECT_EQ(Px(B.get(), C.At.X, C.At.Y), C.Want) << C.Name;

  // Without the focus the selected tab keeps its frame on the lighter fill.
  Host->SetFocus();
  Pump();
  Move(P, 2, P->Height() - 2, false);
  auto U = Render(P);
  SaveScreen(u"default", u"pagecontrol", u"selected-unfocused", U.get());
  EXPECT_EQ(Px(U.get(), T0.Left, T0.Top + 5), clNavy);
  EXPECT_EQ(Px(U.get(), T0.Left + 3, T0.Top + 3), TColor(0xD2BDB6));
  EXPECT_EQ(Px(U.get(), T1.Left + 3, T1.Top + 3), Face) << "no longer hot";
}

TEST_F(PageControlWin, NativeDrawingNeverRuns) {
  // Wine's tab control would draw its tabs with white and dark edges; ours
  // paints only the colours of the default look.
  auto* P = Make();
  auto B = Render(P, clFuchsia);
  const TRect T1 = P->GetItemRect(1);
  for (Integer X = T1.Left + 1; X < T1.Right - 1; ++X) {
    const TColor C = Px(B.get(), X, T1.Top + 1);
    EXPECT_EQ(C, Sys(clBtnFace)) << "x " << X;
  }
  EXPECT_NE(Px(B.get(), P->Width() - 2, 2), clFuchsia) << "the strip is painted";
}

TEST_F(PageControlWin, DisabledPageGlyph) {
  auto* P = Make();
  auto Glyphs = std::make_unique<TCustomImageList>(nullptr, 16, 16);
  auto G = std::make_unique<TBitmap>();
  G->SetSize(16, 16);
  G->Canvas()->Brush()->SetColor(clRed);
  G->Canvas()->FillRect(TRect(0, 0, 16, 16));
  Glyphs->Add(G.get(), nullptr);
  P->SetImages(Glyphs.get());
  for (Integer I = 0; I < 3; ++I) P->Pages(I)->SetImageIndex(0);
  P->Pages(2)->SetEnabled(false);
  auto B = Render(P);
  SaveScreen(u"default", u"pagecontrol", u"glyphs-disabled-page", B.get());
  auto HasRed = [&](Integer V) {
    const TRect R = P->GetItemRect(V);
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if (Px(B.get(), X, Y) == clRed) return true;
    return false;
  };
  EXPECT_TRUE(HasRed(1));
  EXPECT_FALSE(HasRed(2)) << "a disabled page's glyph is drawn disabled";
  P->SetImages(nullptr);
}

// ---------------------------------------------------------------------------
// Skinned look

skintest::TFixtureSkin TabSkin(std::initializer_list<String> Lines) {
  auto S = CoordSkin();
  S.Control(u"tab", u"tab", Lines);
  return S;
}

TEST_F(PageControlWin, SkinnedTabsNudgeBesideATallerSelectedTab) {
  auto SD = LoadSkin(TabSkin({u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                              u"lefttoppoint=3,4", u"righttoppoint=96,4", u"leftbottompoint=3,55",
                              u"rightbottompoint=96,55", u"tabrect=0,100,40,122", u"activetabrect=50,100,90,125",
                              u"closebuttonrect=200,0,212,12"}));
  auto* P = Make();
  auto Glyphs = std::make_unique<TCustomImageList>(nullptr, 8, 8);
  auto G = std::make_unique<TBitmap>();
  G->SetSize(8, 8);
  Glyphs->Add(G.get(), nullptr);
  P->SetImages(Glyphs.get());
  for (Integer I = 0; I < 3; ++I) P->Pages(I)->SetImageIndex(0);
  P->SetShowCloseButtons(true);
  P->SetSkinData(SD.get());
  ASSERT_TRUE(P->Skinned());
  EXPECT_EQ(P->CloseSize(), 12);
  P->SetActivePageIndex(1);
  auto B = Render(P);
  SaveScreen(u"fixture", u"pagecontrol", u"skinned-close-buttons", B.get());
  // The close button is centred in the caption area; unselected tabs move
  // it 2 pixels down with the glyph (the caption area starts 2 lower and the
  // glyph offset is 2), the selected one does not.
  const TRect Sel = Sheet(P, 1)->ButtonRect, Other = Sheet(P, 0)->ButtonRect;
  EXPECT_EQ(Other.Top - Sel.Top, 2);
  EXPECT_EQ(Sel.Width(), 12);
  EXPECT_EQ(Sel.Height(), 12);
  const TRect T0 = P->GetItemRect(0);
  // At the right end of the caption area: the room is the button and 2,
  // the caption area ends 3 more before it.
  EXPECT_EQ(Other.Left, T0.Width() - (12 + 2) - 3);
  // The selected tab is drawn from its own picture, straight on the
  // control: its top-left pixel is the picture's (50, 100).
  const TRect T1 = P->GetItemRect(1);
  EXPECT_EQ(Px(B.get(), T1.Left, T1.Top), Coord(50, 100));
  EXPECT_EQ(Px(B.get(), T0.Left, T0.Top), Coord(0, 100));
  // The frame around the page: the left strip from the picture's column 0,
  // the right one from column 99 (margins 3, 4, 4, 5 of a 100 x 60 frame).
  const TRect D = P->DisplayRect();
  EXPECT_EQ(Px(B.get(), D.Left - 3, D.Top + 20) & 0xFF, 0);
  EXPECT_EQ(Px(B.get(), D.Right + 3, D.Top + 20) & 0xFF, 99);
  EXPECT_EQ(Px(B.get(), D.Left + 20, D.Bottom + 4) >> 8 & 0xFF, 59) << "the bottom strip's last row";
  P->SetImages(nullptr);
}

TEST_F(PageControlWin, BottomTabsAreFlippedAndTheSelectedOneMovesUp) {
  auto SD = LoadSkin(TabSkin({u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                              u"tabrect=0,100,40,122", u"activetabrect=50,100,90,125"}));
  auto* P = Make();
  P->SetSkinData(SD.get());
  P->SetTabPosition(tpBottom);
  P->SetActivePageIndex(0);
  Pump();
  auto B = Render(P);
  SaveScreen(u"fixture", u"pagecontrol", u"tabs-bottom", B.get());
  const TRect T1 = P->GetItemRect(1);
  // The picture's bottom row (y 121) is the flipped tab's top row.
  EXPECT_EQ(Px(B.get(), T1.Left + 1, T1.Top), Coord(1, 121));
  EXPECT_EQ(Px(B.get(), T1.Left + 1, T1.Bottom - 1), Coord(1, 100));
  const TRect T0 = P->GetItemRect(0);
  EXPECT_EQ(Px(B.get(), T0.Left + 1, T0.Top - 3), Coord(51, 124)) << "3 pixels higher, flipped";
}

TEST_F(PageControlWin, SkinWithoutSelectedPicturesWhileFocused) {
  // No active and no focused picture: the focused selected tab has no
  // picture at all (the strip's tile stays under it).
  auto SD = LoadSkin(TabSkin({u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                              u"tabrect=0,100,40,122", u"tabsbgrect=150,150,160,160"}));
  auto* P = Make();
  P->SetSkinData(SD.get());
  P->SetActivePageIndex(0);
  P->SetFocus();
  Pump();
  ASSERT_TRUE(P->Focused());
  EXPECT_TRUE(RectIsEmpty(P->FocusTabRect));
  auto B = Render(P);
  const TRect T0 = P->GetItemRect(0), T1 = P->GetItemRect(1);
  EXPECT_EQ(Px(B.get(), T1.Left, T1.Top), Coord(0, 100)) << "an unselected tab has its picture";
  const TColor C = Px(B.get(), T0.Left + 1, T0.Top + 1);
  EXPECT_NE(C, Coord(1, 101));
}

TEST_F(PageControlWin, TransparentStripShowsTheParentsPattern) {
  auto SD = LoadSkin(TabSkin({u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                              u"tabrect=0,100,40,122"}));
  Host->Ground = clWhite;
  Host->Check = clBlack;
  auto* P = Make({u"One"});
  P->SetSkinData(SD.get());
  P->SetTabsBGTransparent(true);
  auto B = Render(P);
  SaveScreen(u"fixture", u"pagecontrol", u"transparent-strip", B.get());
  // The strip right of the only tab: the host's 4-pixel checks, seen from
  // the control's place (10, 10) on the host.
  const Integer Y = 2;
  for (Integer X = P->GetItemRect(0).Right + 8; X < P->Width() - 4; X += 7) {
    const Integer HX = X + 10, HY = Y + 10;
    const TColor Want = ((HX / 4) % 2) == ((HY / 4) % 2) ? clBlack : clWhite;
    EXPECT_EQ(Px(B.get(), X, Y), Want) << "x " << X;
  }
  P->SetTabsBGTransparent(false);
  auto T = Render(P);
  // An empty tab background tile: the frame's client piece, tiled.
  // The 93 x 51 piece from (3, 4): strip pixel (x, 2) is piece (x mod 93, 2).
  EXPECT_EQ(Px(T.get(), P->Width() - 4, 2), Coord(3 + (P->Width() - 4) % 93, 6));
}

// ---------------------------------------------------------------------------
// Sheets

TEST_F(PageControlWin, SheetBackgrounds) {
  auto S = CoordSkin();
  auto Solid = std::make_unique<TBitmap>();
  Solid->SetSize(7, 5);
  Solid->Canvas()->Brush()->SetColor(TColor(0x123456));
  Solid->Canvas()->FillRect(TRect(0, 0, 7, 5));
  const Integer SolidIndex = S.ActivePicture(std::move(Solid));
  S.Control(u"tab", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=10,10,90,50",
                             u"tabrect=0,100,40,122", u"stretcheffect=0"});
  S.Control(u"tabbg", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=10,10,90,50",
                               u"tabrect=0,100,40,122", u"bgpictureindex=" + IntToStr(SolidIndex),
                               u"stretcheffect=1"});
  S.Control(u"tabstretch", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=10,10,90,50",
                                    u"tabrect=0,100,40,122", u"stretcheffect=1"});
  auto SD = LoadSkin(S);
  auto* P = Make({u"One"}, 160, 100);
  auto* Sh = Sheet(P, 0);
  auto Paint = [&] {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Sh->Width(), Sh->Height());
    Sh->PaintBG(B->Canvas()->Handle());
    return B;
  };
  {
    SCOPED_TRACE("unskinned");
    auto B = Paint();
    EXPECT_EQ(Px(B.get(), 5, 5), Sys(clBtnFace));
  }
  P->SetSkinData(SD.get());
  {
    SCOPED_TRACE("tiled client piece");
    auto B = Paint();
    EXPECT_EQ(Px(B.get(), 0, 0), Coord(10, 10));
    EXPECT_EQ(Px(B.get(), 81, 41), Coord(11, 11)) << "the second copy";
  }
  P->SetSkinDataName(u"tabbg");
  {
    SCOPED_TRACE("background picture, stretched to the sheet");
    auto B = Paint();
    EXPECT_EQ(Px(B.get(), Sh->Width() - 1, Sh->Height() - 1), TColor(0x123456));
  }
  P->SetSkinDataName(u"tabstretch");
  {
    SCOPED_TRACE("client piece stretched to the page control");
    auto B = Paint();
    // 80 x 40 stretched to 160 x 100: sheet pixel (20, 25) shows piece
    // pixel (10, 10) of the page-control-sized picture.
    EXPECT_EQ(Px(B.get(), 20, 25), Coord(20, 20));
  }
  {
    SCOPED_TRACE("wallpaper, tiled from the corner");
    auto W = CoordPicture(30, 20);
    Sh->SetWallPaper(W.get());
    auto B = Paint();
    EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 0));
    EXPECT_EQ(Px(B.get(), 31, 22), Coord(1, 2));
    auto Empty = std::make_unique<TBitmap>();
    Sh->SetWallPaper(Empty.get());
  }
  EXPECT_EQ(SendMessageW(Sh->Handle(), FEM_PAINT_FRAME, 0, 0), SP_FRAME_PAINTED);
}

TEST_F(PageControlWin, ResizedSheetTellsItsChildrenOnlyWhenStretching) {
  auto S = CoordSkin();
  S.Control(u"tab", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=10,10,90,50",
                             u"tabrect=0,100,40,122", u"stretcheffect=1"});
  S.Control(u"tiled", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=10,10,90,50",
                               u"tabrect=0,100,40,122"});
  auto SD = LoadSkin(S);
  auto* P = Make({u"One"});
  auto* Child = new TProbeChild(Host);
  Child->SetParent(Sheet(P, 0));
  Child->SetBounds(2, 2, 20, 20);
  Child->HandleNeeded();
  P->SetSkinData(SD.get());
  P->SetWidth(P->Width() + 20);
  Pump();
  EXPECT_GE(Child->BackgroundChanges, 1);
  P->SetSkinDataName(u"tiled");
  P->ChangeSkinData();
  Child->BackgroundChanges = 0;
  P->SetWidth(P->Width() + 20);
  Pump();
  EXPECT_EQ(Child->BackgroundChanges, 0);
}

// ---------------------------------------------------------------------------
// Interaction

TEST_F(PageControlWin, HotTrackingCountsVisibleTabsAndTheWheelSkipsHiddenPages) {
  auto* P = Make();
  P->Pages(1)->SetTabVisible(false);
  Pump();
  P->SetActivePageIndex(0);
  Move(P, Mid(P, 1).X, Mid(P, 1).Y, false);
  EXPECT_EQ(P->HotTabIndex(), 1);
  EXPECT_EQ(P->HotPage(), 2) << "the third page has the second visible tab";
  const TRect T1 = P->GetItemRect(1);
  Move(P, T1.Right + 30, T1.Top + 5, false);
  EXPECT_EQ(P->HotTabIndex(), -1) << "the empty strip";
  Move(P, Mid(P, 1).X, Mid(P, 1).Y, false);
  Move(Host, 380, 280, false);
  EXPECT_EQ(P->HotTabIndex(), -1) << "left the control";

  P->SetMouseWheelSupport(true);
  P->SetFocus();
  Pump();
  auto Wheel = [&](Integer Delta) {
    const TPoint S = P->ClientToScreen(TPoint(50, 50));
    SendMessageW(P->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, Delta), MAKELPARAM(S.X, S.Y));
  };
  Wheel(-120);
  EXPECT_EQ(P->ActivePage(), P->Pages(2));
  Wheel(-120);
  EXPECT_EQ(P->ActivePage(), P->Pages(2)) << "past the last: nothing";
  Wheel(120);
  EXPECT_EQ(P->ActivePage(), P->Pages(0));
}

TEST_F(PageControlWin, CloseButtonsCloseTheTabWhosePressAndReleaseTheyTook) {
  struct Case {
    const char* Name;
    bool RefuseChange;
    bool PressElsewhere;
    bool FreeOnClose;
    Integer ClosedPage;  // -1 none
  };
  const Case Cases[] = {
      {"press and release on the button", false, false, false, 1},
      {"press elsewhere, release on the button", false, true, false, -1},
      {"selection refused: the clicked tab's page closes", true, false, false, 1},
      {"freed on close", false, false, true, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* P = Make();
    P->SetShowCloseButtons(true);
    P->SetFreeOnClose(C.FreeOnClose);
    P->SetActivePageIndex(0);
    if (C.RefuseChange) P->OnChanging = [](TObject*, bool& Allow) { Allow = false; };
    std::vector<TObject*> Closing;
    int After = 0;
    P->OnClose = [&](TObject* S, bool&) { Closing.push_back(S); };
    P->OnAfterClose = [&](TObject*) { ++After; };
    TTabSheet* Target = P->Pages(1);
    const TPoint B = CloseButton(P, 1, 1);
    if (C.PressElsewhere) {
      Press(P, Mid(P, 2).X, Mid(P, 2).Y);
      Move(P, B.X, B.Y);
    } else {
      Press(P, B.X, B.Y);
      EXPECT_TRUE(Sheet(P, 1)->ButtonMouseDown);
    }
    Release(P, B.X, B.Y);
    Pump();
    if (C.ClosedPage < 0) {
      EXPECT_TRUE(Closing.empty());
      EXPECT_EQ(P->PageCount(), 3);
      continue;
    }
    ASSERT_EQ(Closing.size(), 1u);
    EXPECT_EQ(Closing[0], Target);
    EXPECT_EQ(After, 1);
    if (C.FreeOnClose) {
      EXPECT_EQ(P->PageCount(), 2);
    } else {
      EXPECT_EQ(P->PageCount(), 3);
      EXPECT_FALSE(Target->TabVisible()) << "kept, its tab hidden";
    }
    EXPECT_TRUE(P->Pages(0)->TabVisible());
  }
}

TEST_F(PageControlWin, RefusedCloseWithTheMouseOutsideResetsTheButton) {
  auto* P = Make();
  P->SetShowCloseButtons(true);
  P->SetActivePageIndex(0);
  const TPoint B = CloseButton(P, 0, 0);
  P->OnClose = [&](TObject*, bool& CanClose) {
    CanClose = false;
    SetCursorPos(0, 0);  // the mouse went elsewhere meanwhile
  };
  Press(P, B.X, B.Y);
  Release(P, B.X, B.Y);
  EXPECT_TRUE(P->Pages(0)->TabVisible());
  EXPECT_FALSE(Sheet(P, 0)->ButtonMouseIn);
  EXPECT_FALSE(Sheet(P, 0)->ButtonMouseDown);
}

TEST_F(PageControlWin, ManyTabsWithCloseButtons) {
  // Every page added gives the platform layout the whole row again: 60
  // pages keep this quick.
  auto* P = new TspSkinPageControl(Host);
  P->SetParent(Host);
  P->SetBounds(10, 10, 300, 120);
  P->SetShowCloseButtons(true);
  for (Integer I = 0; I < 60; ++I) {
    auto* S = new TspSkinTabSheet(P);
    S->SetCaption(u"Page " + IntToStr(I));
    S->SetPageControl(P);
  }
  P->HandleNeeded();
  Pump();
  P->SetActivePageIndex(59);
  Pump();
  auto B = Render(P);
  ASSERT_NE(P->SkinUpDown(), nullptr);
  P->SetTabIndex(-1);
  Render(P);
  const TPoint M = Mid(P, P->SkinUpDown()->Position());
  Move(P, M.X, M.Y, false);
  EXPECT_EQ(P->HotTabIndex(), P->SkinUpDown()->Position());
}

TEST_F(PageControlWin, SkinnedArrowsStandInForTheLayoutsOwn) {
  auto* P = Make({u"First", u"Second", u"Third", u"Fourth", u"Fifth", u"Sixth"}, 400);
  EXPECT_EQ(P->SkinUpDown(), nullptr) << "the row fits";
  P->SetWidth(150);
  Pump();
  ASSERT_NE(P->SkinUpDown(), nullptr);
  TspSkinUpDown* U = P->SkinUpDown();
  EXPECT_EQ(U->Max(), P->GetHiddenTabCount());
  EXPECT_GT(U->Max(), 0);
  EXPECT_EQ(U->Left() + U->Width(), 150) << "at the strip's right end";
  EXPECT_EQ(U->Top(), 0);
  EXPECT_EQ(U->Width(), 40);
  HWND Native = NativeArrows(P);
  ASSERT_NE(Native, nullptr) << "the layout's own arrows stay alive";
  EXPECT_FALSE(IsWindowVisible(Native));
  auto Shot = Grab(P);
  SaveScreen(u"default", u"pagecontrol", u"scrolled-row-arrows", Shot.get());

  // Scrolled by the arrows: the row starts at the asked tab.
  U->SetPosition(2);
  Pump();
  EXPECT_EQ(P->FirstShownTab(), 2);
  EXPECT_EQ(P->GetScrolledTabCount(), 2);
  // A click on a visible tab right of the first does not move the row.
  const TPoint M = Mid(P, 3);
  Press(P, M.X, M.Y);
  Release(P, M.X, M.Y);
  Pump();
  EXPECT_EQ(P->TabIndex(), 3);
  EXPECT_EQ(P->FirstShownTab(), 2);
  EXPECT_EQ(U->Position(), 2);
  EXPECT_FALSE(IsWindowVisible(Native));
  // A selection from code that scrolls the row keeps the arrows in step.
  P->SetTabIndex(5);
  Pump();
  EXPECT_EQ(U->Position(), P->GetScrolledTabCount());
  P->SetTabIndex(0);
  Pump();
  EXPECT_EQ(U->Position(), P->GetScrolledTabCount());
  EXPECT_EQ(P->FirstShownTab(), 0);

  P->SetWidth(600);
  Pump();
  EXPECT_EQ(P->SkinUpDown(), nullptr) << "widened: freed";
  P->SetWidth(150);
  Pump();
  EXPECT_NE(P->SkinUpDown(), nullptr);
  EXPECT_FALSE(IsWindowVisible(NativeArrows(P)));
  P->SetMultiLine(true);
  P->SetWidth(140);
  Pump();
  EXPECT_EQ(P->SkinUpDown(), nullptr) << "several rows never have arrows";
}

TEST_F(PageControlWin, CentredRow) {
  auto* P = Make({u"A", u"B", u"C", u"D"}, 500);
  P->SetTabWidth(80);
  P->SetTabsInCenter(true);
  Pump();
  ASSERT_TRUE(P->TabsInCenter());
  EXPECT_EQ(P->GetTabsOffset(), 90);
  EXPECT_TRUE(P->TabsBGTransparent());
  const TRect Raw0 = P->TCustomTabControl::TabRect(0);
  EXPECT_EQ(Raw0.Left, 90) << "the first tab moved right by the offset";
  EXPECT_EQ(Raw0.Width(), 80);
  // A click at x 100 reaches the layout at 10: the first tab.
  P->SetActivePageIndex(1);
  Press(P, 100, 10);
  Release(P, 100, 10);
  EXPECT_EQ(P->TabIndex(), 0);
  // A click in the moved row's right part: the fourth tab.
  Press(P, 90 + 3 * 80 + 40, 10);
  Release(P, 90 + 3 * 80 + 40, 10);
  EXPECT_EQ(P->TabIndex(), 3);
  // No fixed width: refused.
  auto* Q = Make({u"A"});
  Q->SetTabsInCenter(true);
  EXPECT_FALSE(Q->TabsInCenter());
}

TEST_F(PageControlWin, HiddenTabs) {
  auto* P = Make();
  P->SetTabPosition(tpLeft);
  P->SetTabHeight(24);
  P->HideTabs();
  EXPECT_TRUE(P->TabsHidden());
  EXPECT_EQ(P->TabPosition(), tpTop);
  EXPECT_EQ(P->TabHeight(), 1);
  P->HideTabs();
  P->ShowTabs();
  EXPECT_EQ(P->TabPosition(), tpLeft);
  EXPECT_EQ(P->TabHeight(), 24) << "the first saved height";
  EXPECT_FALSE(P->TabsHidden());
  P->HideBorderAndTabs();
  EXPECT_EQ(P->DisplayRect(), TRect(0, 0, P->Width(), P->Height()));
  auto B = Render(P);
  EXPECT_EQ(Px(B.get(), 2, 2), Sys(clBtnFace)) << "no frame, no tabs";
  P->ShowBorderAndTabs();
  EXPECT_EQ(P->TabPosition(), tpTop);
  EXPECT_FALSE(P->TabsHidden());
}

TEST_F(PageControlWin, AClickSelectsBeforeTheMouseDownEvent) {
  // The platform selects inside its own press handling, which runs before
  // the class library's mouse-down: a close button's press finds its tab
  // already selected.
  auto* P = Make();
  P->SetActivePageIndex(0);
  Integer Seen = -2;
  P->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { Seen = P->TabIndex(); };
  const TPoint M = Mid(P, 2);
  Press(P, M.X, M.Y);
  Release(P, M.X, M.Y);
  EXPECT_EQ(Seen, 2);
  EXPECT_EQ(P->ActivePage(), P->Pages(2));
}

// The settings dialog's page control in each made scheme and in the default
// look: four sheets, the selected tab with and without the focus, a hot tab,
// close buttons normal, hot and pressed, tabs at the bottom.
TEST_F(PageControlWin, ScreensOfTheSettingsPages) {
  std::vector<String> Schemes{u"default"};
  for (const String& N : MadeSchemeNames()) Schemes.push_back(N);
  for (const String& Scheme : Schemes) {
    SCOPED_TRACE(ToUtf8(Scheme));
    std::unique_ptr<TspSkinData> SD = Scheme == u"default" ? nullptr : MadeScheme(Scheme);
    auto* P = Make({u"General", u"Canvas", u"Files", u"Language"}, 380, 160);
    P->DefaultFont()->SetName(u"Tahoma");
    P->DefaultFont()->SetHeight(-12);
    P->SetUseSkinFont(false);
    P->SetDefaultItemHeight(20);
    if (SD) P->SetSkinData(SD.get());
    P->ChangeSkinData();
    P->SetActivePageIndex(0);
    P->SetFocus();
    Pump();
    auto Shot = [&](const char16_t* State) {
      auto B = Grab(P);  // with the page on it
      SaveScreen(Scheme, u"pagecontrol", State, B.get());
      return B;
    };
    Shot(u"selected-focused");
    Move(P, Mid(P, 2).X, Mid(P, 2).Y, false);
    EXPECT_EQ(P->HotTabIndex(), 2);
    Shot(u"hot-tab");
    Host->SetFocus();
    Pump();
    Shot(u"selected-unfocused");
    P->SetShowCloseButtons(true);
    Shot(u"close-normal");
    const TPoint B = CloseButton(P, 1, 1);
    Move(P, B.X, B.Y, false);
    EXPECT_TRUE(Sheet(P, 1)->ButtonMouseIn);
    Shot(u"close-hot");
    Press(P, B.X, B.Y);
    EXPECT_TRUE(Sheet(P, 1)->ButtonMouseDown);
    Shot(u"close-pressed");
    Move(P, 2, P->Height() - 2);
    Release(P, 2, P->Height() - 2);
    EXPECT_TRUE(P->Pages(1)->TabVisible()) << "released elsewhere";
    P->SetShowCloseButtons(false);
    P->SetTabPosition(tpBottom);
    Pump();
    Shot(u"tabs-bottom");
    P->SetTabPosition(tpLeft);
    Pump();
    Shot(u"tabs-left");
    delete P;
  }
  EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------
// Hostile skins

TEST_F(PageControlWin, HostileSkinsDrawDefaultOrNothing) {
  struct Case {
    const char* Name;
    std::function<void(skintest::TFixtureSkin&)> Build;
    TTabStyle Style;
  };
  const Case Cases[] = {
      {"button tabs named after a panel",
       [](skintest::TFixtureSkin& S) {
         S.Control(u"tab", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                                    u"tabrect=0,100,40,122"});
         S.Control(u"resizetoolbutton", u"panel", {u"pictureindex=0", u"skinrect=0,0,30,30"});
       },
       tsButtons},
      {"fallback close button of another class",
       [](skintest::TFixtureSkin& S) {
         S.Control(u"tab", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                                    u"tabrect=0,100,40,122"});
         S.Control(u"resizetoolbutton", u"panel", {u"pictureindex=0", u"skinrect=0,0,30,30"});
       },
       tsTabs},
      {"zero-sized client piece, tile and tab picture",
       [](skintest::TFixtureSkin& S) {
         S.Control(u"tab", u"tab", {u"pictureindex=0", u"skinrect=0,0,100,60", u"clientrect=3,4,3,4",
                                    u"tabrect=0,100,0,100", u"tabsbgrect=5,5,5,9", u"bgpictureindex=7"});
       },
       tsTabs},
      {"a picture index out of range",
       [](skintest::TFixtureSkin& S) {
         S.Control(u"tab", u"tab", {u"pictureindex=9", u"skinrect=0,0,100,60", u"clientrect=3,4,96,55",
                                    u"tabrect=0,100,40,122", u"closebuttonrect=200,0,212,12"});
       },
       tsTabs},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto S = CoordSkin();
    C.Build(S);
    auto SD = LoadSkin(S);
    auto* P = Make();
    P->SetShowCloseButtons(true);
    P->SetStyle(C.Style);
    P->SetSkinData(SD.get());
    Pump();
    auto B = Render(P);
    for (Integer I = 0; I < 3; ++I) Sheet(P, I)->PaintBG(B->Canvas()->Handle());
    SendMessageW(P->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
    Move(P, Mid(P, 1).X, Mid(P, 1).Y, false);
    EXPECT_EQ(P->HotTabIndex(), 1);
    delete P;
  }
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
