// The skinned list box in its default look: the own bars mirror the inner
// list's native scroll state (created and freed as items come and go),
// the items paint their states, caption mode places its strip and buttons,
// the caption buttons step and repeat, and the horizontal extent.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/SkinMessages.h"

namespace ctl {
namespace {

// A popup menu that records where it was asked to show and for whom.
class TRecordingPopup : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  std::vector<TComponent*> For;
  void Popup(Integer, Integer) override { For.push_back(PopupComponent()); }
};

class ListBoxTest : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    L = new TspSkinListBox(Host);
    L->SetBounds(10, 10, 120, 120);
    L->SetParent(Host);
    Pump();
  }
  void Fill(Integer N) {
    for (Integer I = 0; I < N; ++I) L->Items()->Add(u"Item " + IntToStr(I));
    Pump();
  }
  TspSkinListBox* L = nullptr;
};

TEST_F(ListBoxTest, BarsFollowTheItems) {
  // Empty: background only, no bars; the inner list fills the frame.
  EXPECT_EQ(L->ScrollBar, nullptr);
  EXPECT_EQ(L->HScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->BoundsRect(), TRect(2, 2, 118, 118));
  auto Empty = Render(L->ListBox);
  EXPECT_EQ(Px(Empty.get(), 50, 50), Sys(clWindow));

  // Partly filled (5 rows of 20 in 116): still no bar.
  Fill(5);
  EXPECT_EQ(L->ScrollBar, nullptr);
  // Over-filled: the bar appears and mirrors the native range.
  Fill(15);
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_TRUE(L->ScrollBar->Visible());
  EXPECT_EQ(L->ScrollBar->Min(), 0);
  EXPECT_EQ(L->ScrollBar->Max(), 19);
  EXPECT_EQ(L->ScrollBar->PageSize(), L->ListBox->Height() / 20);
  EXPECT_EQ(L->ScrollBar->BoundsRect(), Bounds(100, 1, 19, 118));
  EXPECT_EQ(L->ListBox->BoundsRect(), TRect(2, 2, 100, 118));

  // The bar scrolls the inner list.
  L->ScrollBar->SetPosition(7);
  Pump();
  EXPECT_EQ(L->TopIndex(), 7);
  // The wheel scrolls the native list one more line and the bar follows.
  SendMessageW(L->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  Pump();
  EXPECT_GT(L->TopIndex(), 7);
  EXPECT_EQ(L->ScrollBar->Position(), L->TopIndex());

  // Deleting items frees the bar again.
  while (L->Items()->Count() > 3) L->Items()->Delete(0);
  Pump();
  EXPECT_EQ(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->BoundsRect(), TRect(2, 2, 118, 118));
  L->Clear();
  EXPECT_EQ(L->Items()->Count(), 0);
}

TEST_F(ListBoxTest, CalcHeightAndRowCount) {
  EXPECT_EQ(L->CalcHeight(5), 5 * 20 + 4);
  L->SetCaptionMode(true);
  EXPECT_EQ(L->CalcHeight(5), 5 * 20 + 4 + 20);
  L->SetCaptionMode(false);
  Fill(8);
  L->SetRowCount(8);
  EXPECT_EQ(L->Height(), 8 * 20 + 4);
  EXPECT_EQ(L->ScrollBar, nullptr);
  // RowCount equal to the count never shows the bar, even when too small.
  L->SetHeight(80);
  Pump();
  EXPECT_EQ(L->ScrollBar, nullptr);
}

TEST_F(ListBoxTest, ItemStatesArePainted) {
  Fill(3);
  L->SetItemIndex(1);
  Pump();
  auto B = Render(L->ListBox);
  // Item 0 plain, item 1 selected (the list has no focus), below the items the background.
  EXPECT_EQ(Px(B.get(), 60, 10), Sys(clWindow));
  EXPECT_EQ(Px(B.get(), 60, 25), Sys(clHighlight));
  EXPECT_EQ(Px(B.get(), 60, 90), Sys(clWindow));
  // Focused: the dotted frame around the selected item.
  L->ListBox->SetFocus();
  Pump();
  auto F = Render(L->ListBox);
  bool Dotted = false;
  for (Integer X = 0; X < 10; ++X) Dotted |= Px(F.get(), X, 20) != Sys(clHighlight);
  EXPECT_TRUE(Dotted);
  SaveScreen(u"default", u"listbox", u"selected-focused", Grab(L).get());
  // An item with the owner's drawing: the event gets the text rect and the state.
  TRect Seen;
  TOwnerDrawState SeenState = 0;
  L->OnDrawItem = [&](TCanvas*, Integer Index, Integer, Integer, TRect TR, TOwnerDrawState S) {
    if (Index == 1) {
      Seen = TR;
      SeenState = S;
    }
  };
  Render(L->ListBox);
  EXPECT_EQ(Seen, TRect(2, 0, L->ListBox->Width() - 2, 20));
  EXPECT_TRUE(SeenState & odSelected);
  EXPECT_TRUE(SeenState & odFocused);
}

// The list background request (0xBC4A with the paint key): answered by the
// inner list only while it is empty, by filling the DC with its background.
TEST_F(ListBoxTest, BackgroundRequestOnlyWhileEmpty) {
  const Integer W = L->ListBox->ClientWidth(), H = L->ListBox->ClientHeight();
  auto Ask = [&](LPARAM Key, TBitmap* Into) {
    return SendMessageW(L->ListBox->Handle(), SP_PAINT_LIST_BACKGROUND,
                        Into ? reinterpret_cast<WPARAM>(Into->Canvas()->Handle()) : 0, Key);
  };
  auto Blank = [&] {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetColor(clFuchsia);
    B->Canvas()->FillRect(TRect(0, 0, W, H));
    return B;
  };
  struct Row {
    const char* Name;
    Integer Items;
    LPARAM Key;
    bool Answered;
  };
  const Row Rows[] = {
      {"empty, paint key", 0, SP_PAINT_EX_MAGIC, true},
      {"empty, other key", 0, 1, false},
      {"with items, paint key", 2, SP_PAINT_EX_MAGIC, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    L->Clear();
    Fill(R.Items);
    auto B = Blank();
    const LRESULT Answer = Ask(R.Key, B.get());
    EXPECT_EQ(Answer, R.Answered ? SP_PAINT_EX_MAGIC : 0);
    const TColor Want = R.Answered ? Sys(clWindow) : TColor(0xFF00FF);
    EXPECT_EQ(Px(B.get(), 1, 1), Want);
    EXPECT_EQ(Px(B.get(), W - 1, H - 1), Want);
  }
  // Without a DC the empty list still answers and paints nothing.
  L->Clear();
  EXPECT_EQ(Ask(SP_PAINT_EX_MAGIC, nullptr), SP_PAINT_EX_MAGIC);
}

// The inner list's context menu, drag settings and drag events are set on
// the list box: a context request over the items shows the menu for the
// inner list; an automatic drag from it drops on a target that accepts it.
TEST_F(ListBoxTest, PopupMenuAndDragOfTheInnerList) {
  Fill(3);
  auto* Menu = new TRecordingPopup(Host);
  L->SetListBoxPopupMenu(Menu);
  HWND LW = L->ListBox->Handle();
  POINT P{20, 10};
  ClientToScreen(LW, &P);
  SendMessageW(LW, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(LW), MAKELPARAM(P.x, P.y));
  ASSERT_EQ(Menu->For.size(), 1u);
  EXPECT_EQ(Menu->For[0], L->ListBox);

  auto* Target = new THost(Host);
  Target->SetBounds(200, 10, 80, 80);
  Target->SetParent(Host);
  std::string Log;
  Target->OnDragOver = [&](TObject*, TObject* Source, Integer, Integer, TDragState, bool& Accept) {
    Accept = Source == L->ListBox;
  };
  Target->OnDragDrop = [&](TObject*, TObject* Source, Integer X, Integer Y) {
    Log += (Source == L->ListBox ? "drop@" : "drop-other@") + std::to_string(X) + "," + std::to_string(Y) + " ";
  };
  L->SetListBoxDragMode(dmAutomatic);
  L->SetListBoxDragCursor(crHandPoint);
  L->SetOnListBoxStartDrag([&](TObject* Sender) { Log += Sender == L->ListBox ? "start " : "start-other "; });
  L->SetOnListBoxEndDrag([&](TObject*, TObject* T, Integer, Integer) { Log += T == Target ? "end " : "end-nil "; });
  // Mouse messages in the inner list's coordinates (it holds the capture);
  // (X, Y) in the host's.
  const TPoint Org(L->Left() + L->ListBox->Left(), L->Top() + L->ListBox->Top());
  auto Mouse = [&](UINT Msg, Integer X, Integer Y, WPARAM Keys) {
    PostMessageW(LW, Msg, Keys, PointToLParam(X - Org.X, Y - Org.Y));
    Pump();
  };
  Mouse(WM_LBUTTONDOWN, 30, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 60, 20, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 220, 30, MK_LBUTTON);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crHandPoint));
  Mouse(WM_LBUTTONUP, 220, 30, 0);
  EXPECT_EQ(Log, "start drop@20,20 end ");
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListBoxTest, CaptionStripAndButtons) {
  Fill(10);
  L->SetCaption(u"Files");
  L->SetCaptionMode(true);
  Pump();
  EXPECT_EQ(L->ListBox->Top(), 21);
  auto B = Render(L);
  // Up button (101, 2, 118, 18) in clBtnFace, the strip's separating line.
  EXPECT_EQ(Px(B.get(), 103, 4), Sys(clBtnFace));
  EXPECT_EQ(Px(B.get(), 50, 19), Sys(clBtnShadow));
  SaveScreen(u"default", u"listbox", u"caption", B.get());

  L->SetItemIndex(5);
  // A click on the up button selects the previous item; down the next.
  Press(L, 108, 8);
  Release(L, 108, 8);
  EXPECT_EQ(L->ItemIndex(), 4);
  Press(L, 92, 8);
  Release(L, 92, 8);
  EXPECT_EQ(L->ItemIndex(), 5);

  // With the event assigned: no repeat, the release over the button fires the event only.
  int Ups = 0;
  L->OnUpButtonClick = [&](TObject*) { ++Ups; };
  Press(L, 108, 8);
  EXPECT_EQ(L->TimerMode, 0);
  Release(L, 108, 8);
  EXPECT_EQ(Ups, 1);
  EXPECT_EQ(L->ItemIndex(), 5);
  // Released elsewhere: the previous item instead.
  Press(L, 108, 8);
  Release(L, 50, 60);
  EXPECT_EQ(Ups, 1);
  EXPECT_EQ(L->ItemIndex(), 4);
  L->OnUpButtonClick = nullptr;

  // Repeat: the first tick only switches the interval, then one step per tick.
  Press(L, 92, 8);
  EXPECT_EQ(L->TimerMode, 2);
  EXPECT_TRUE(L->WaitMode);
  SendMessageW(L->Handle(), WM_TIMER, 1, 0);
  EXPECT_FALSE(L->WaitMode);
  EXPECT_EQ(L->ItemIndex(), 4);
  SendMessageW(L->Handle(), WM_TIMER, 1, 0);
  SendMessageW(L->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(L->ItemIndex(), 6);
  Release(L, 92, 8);
  EXPECT_EQ(L->TimerMode, 0);
  EXPECT_EQ(L->ItemIndex(), 7);  // the release steps once more
  // At the last item the down button stops.
  L->SetItemIndex(9);
  Press(L, 92, 8);
  Release(L, 92, 8);
  EXPECT_EQ(L->ItemIndex(), 9);
}

TEST_F(ListBoxTest, HorizontalExtentBar) {
  L->Items()->Add(u"A rather long item text that is far wider than the list");
  L->Items()->Add(u"short");
  L->SetHorizontalExtent(true);
  ASSERT_NE(L->HScrollBar, nullptr);
  EXPECT_TRUE(L->HScrollBar->Visible());
  EXPECT_EQ(L->HScrollBar->BoundsRect(), Bounds(1, 100, 118, 19));
  EXPECT_EQ(L->HScrollBar->PageSize(), L->ListBox->Width() - 4);
  L->HScrollBar->SetPosition(30);
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), 30);
  // Widening reduces the offset by the width gained.
  L->SetWidth(L->Width() + 10);
  Pump();
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), 20);
  // Off: the bar goes and the offset returns to 0.
  L->SetHorizontalExtent(false);
  EXPECT_EQ(L->HScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), 0);
}

TEST_F(ListBoxTest, ColumnsAndItemImages) {
  // Two columns of 5 rows (116 / 20) hold 10: 30 items need the bar at the bottom.
  L->SetColumns(2);
  Fill(30);
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ScrollBar->Kind(), sbHorizontal);
  EXPECT_EQ(L->ScrollBar->BoundsRect(), Bounds(1, 100, 118, 19));
  EXPECT_EQ(L->ListBox->BoundsRect(), TRect(2, 2, 118, 100));
  EXPECT_EQ(L->ScrollBar->PageSize(), 2);
  SCROLLINFO SI{};
  SI.cbSize = sizeof(SI);
  SI.fMask = SIF_RANGE;
  GetScrollInfo(L->ListBox->Handle(), SB_HORZ, &SI);
  EXPECT_EQ(L->ScrollBar->Max(), SI.nMax);
  // The bar moves the columns.
  L->ScrollBar->SetPosition(2);
  Pump();
  EXPECT_GT(L->TopIndex(), 0);
  L->Clear();
  EXPECT_EQ(L->ScrollBar, nullptr);
  L->SetColumns(0);

  // Item images: image i for item i unless ImageIndex names one for all.
  auto* IL = new TImageList(Host);
  IL->SetSize(12, 12);
  for (TColor C : {clRed, clLime}) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(12, 12);
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(TRect(0, 0, 12, 12));
    IL->Add(&B, nullptr);
  }
  Fill(3);
  L->SetImages(IL);
  auto B = Render(L->ListBox);
  // Text rect (2, 0, ...): the image at x 2, centred in the 20-pixel row.
  EXPECT_EQ(Px(B.get(), 5, 10), clRed);
  EXPECT_EQ(Px(B.get(), 5, 30), clLime);
  EXPECT_EQ(Px(B.get(), 5, 50), Sys(clWindow));  // no third image
  L->SetImageIndex(1);
  auto C = Render(L->ListBox);
  EXPECT_EQ(Px(C.get(), 5, 10), clLime);
  EXPECT_EQ(Px(C.get(), 5, 50), clLime);
  SaveScreen(u"default", u"listbox", u"images", C.get());
}

// The made schemes' list description is also the combo boxes' drop-down
// list, so it has no caption strip: a list in caption mode keeps the whole
// client rect for its rows there, and no caption button takes a click.
TEST_F(ListBoxTest, MadeSchemesKeepTheRowsWhereCaptionModeWouldPutAStrip) {
  Fill(5);
  for (const String& Name : MadeSchemeNames()) {
    SCOPED_TRACE(ToUtf8(Name));
    auto SD = MadeScheme(Name);
    ASSERT_FALSE(SD->Empty);
    L->SetCaptionMode(false);
    L->SetSkinData(SD.get());
    Pump();
    ASSERT_TRUE(L->Skinned());
    const TRect Rows = L->ListBox->BoundsRect();
    L->SetCaption(u"Caption");
    L->SetCaptionMode(true);
    Pump();
    EXPECT_EQ(L->ListBox->BoundsRect(), Rows);
    for (Integer I = 0; I < 3; ++I) EXPECT_TRUE(RectIsEmpty(L->Buttons[I].R)) << I;
    L->SetItemIndex(2);
    // The frame's top row, where a caption button would lie.
    Press(L, L->Width() - 8, 0);
    Release(L, L->Width() - 8, 0);
    EXPECT_EQ(L->ItemIndex(), 2);
    auto B = Render(L);
    SaveScreen(Name, u"listbox", u"caption-mode", B.get());
  }
}

}  // namespace
}  // namespace ctl
