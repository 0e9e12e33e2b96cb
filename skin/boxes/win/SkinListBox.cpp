// TspSkinCustomListBox: the outer control of the skinned list box, its
// layout, own scroll bars mirroring the inner list, item looks, caption
// strip and caption buttons.
#include <algorithm>

#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"
#include "skin/boxes/ListLayout.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/win/SPUtils.h"

namespace {
constexpr UINT_PTR RepeatTimer = 1;
bool PtInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
TRect Moved(const TRect& R, Integer DX, Integer DY) {
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}
// The bar takes (and repaints for) a range only when it differs.
void SetBarRange(TspSkinScrollBar* B, Integer Min, Integer Max, Integer Position, Integer Page) {
  if (B->Min() == Min && B->Max() == Max && B->Position() == Position && B->PageSize() == Page) return;
  B->SetRange(Min, Max, Position, Page);
}
}  // namespace

TspSkinCustomListBox::TspSkinCustomListBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks | csReplicatable;
  FForceBackground = true;
  FDrawbackground = false;
  FTabWidths = new TStringList();
  FGlyph = new TBitmap();
  FDefaultCaptionFont = new TFont();
  FDefaultCaptionFont->SetName(u"Arial");
  FDefaultCaptionFont->SetHeight(14);
  FDefaultCaptionFont->SetOnChange([this](TObject*) {
    if (!Skinned() && FCaptionMode) Invalidate();
  });
  Font()->SetName(u"Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clWindowText);
  Font()->SetStyle(0);
  SetBounds(Left(), Top(), 120, 120);
  FSkinDataName = u"listbox";
  ListBox = new TspListBox(this);
  ListBox->SetStyle(lbOwnerDrawFixed);
  ListBox->SetItemHeight(FDefaultItemHeight);
  ListBox->SkinListBox = this;
  ListBox->SetParent(this);
  ListBox->SetVisible(true);
  CalcRects();
}

TspSkinCustomListBox::~TspSkinCustomListBox() {
  Destroying();
  // The bars and the inner list go first (they call back into this
  // control while their windows go), then the window, then the data.
  delete ScrollBar;
  ScrollBar = nullptr;
  delete ListBox;
  ListBox = nullptr;
  DestroyChildControls();
  DestroyHandle();
  delete FTabWidths;
  FTabWidths = nullptr;
  delete FDefaultCaptionFont;
  delete FGlyph;
}

void TspSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == ScrollBar) ScrollBar = nullptr;
  if (AComponent == HScrollBar) HScrollBar = nullptr;
  if (AComponent == ListBox) ListBox = nullptr;
}

void TspSkinCustomListBox::CreateParams(TCreateParams& Params) {
  TspSkinCustomControl::CreateParams(Params);
  Params.ClassStyle &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

// --- properties

void TspSkinCustomListBox::SetItems(TStrings* Value) {
  ListBox->Items()->Assign(Value);
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetSorted(bool Value) {
  if (ScrollBar) HideMainBar();
  ListBox->SetSorted(Value);
}

void TspSkinCustomListBox::SetColumns(Integer Value) {
  ListBox->SetColumns(Value);
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetShowCaptionButtons(bool Value) {
  if (FShowCaptionButtons == Value) return;
  FShowCaptionButtons = Value;
  Repaint();
}

void TspSkinCustomListBox::SetTabWidths(TStrings* Value) {
  FTabWidths->Assign(Value);
  if (FTabWidths->Count() > 0) ListBox->Invalidate();
}

void TspSkinCustomListBox::SetHorizontalExtent(bool Value) {
  FHorizontalExtent = Value;
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetRowCount(Integer Value) {
  FRowCount = Value;
  if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinCustomListBox::SetNumGlyphs(Integer Value) {
  FNumGlyphs = std::clamp(Value, 1, 2);
  Repaint();
}

void TspSkinCustomListBox::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TspSkinCustomListBox::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  ListBox->Invalidate();
}

void TspSkinCustomListBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  ListBox->Invalidate();
}

void TspSkinCustomListBox::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  if (!SkinnedList() || !FUseSkinItemHeight) ListBox->SetItemHeight(Value);
}

void TspSkinCustomListBox::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if (!SkinnedList() && FCaptionMode) {
    CalcRects();
    Repaint();
  }
}

void TspSkinCustomListBox::SetCaptionMode(bool Value) {
  FCaptionMode = Value;
  if (!SkinnedList()) {
    CalcRects();
    Repaint();
  }
}

void TspSkinCustomListBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (FCaptionMode) Repaint();
}

void TspSkinCustomListBox::Clear() {
  ListBox->Clear();
  UpDateScrollBar();
}

Integer TspSkinCustomListBox::CalcHeight(Integer AItemsCount) {
  const bool Sk = SkinnedList();
  const Integer HB = HScrollBar ? HScrollBar->Height() : 0;
  return ListCalcHeight(AItemsCount, ListBox->ItemHeight(), Sk, FCaptionMode, FDefaultCaptionHeight,
                        SkinRect.Height(), ClRect.Height(), HB);
}

void TspSkinCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!Skinned()) Repaint();
}

// --- layout and bars

void TspSkinCustomListBox::CalcRects() {
  if (!ListBox || FInLayout) return;
  FInLayout = true;
  TFinally Done([&] { FInLayout = false; });
  GetSkinData();
  const bool Sk = SkinnedList();
  TspListLayoutIn In;
  In.Width = Width();
  In.Height = Height();
  In.Skinned = Sk;
  if (Sk) NewClRect = FreeSizeClientRect(ClRect, SkinRect, Width(), Height());
  In.NewClRect = NewClRect;
  In.CaptionMode = FCaptionMode;
  In.DefaultCaptionHeight = FDefaultCaptionHeight;
  In.Columns = Columns();
  In.HBar = HScrollBar && HScrollBar->Visible();
  In.HBarHeight = HScrollBar ? HScrollBar->Height() : 0;
  In.MainBar = ScrollBar && ScrollBar->Visible();
  In.MainBarWidth = ScrollBar ? (Columns() > 0 ? ScrollBar->Height() : ScrollBar->Width()) : 0;
  const TspListLayout L = ListBoxLayout(In);
  if (!Sk && FCaptionMode && FShowCaptionButtons) {
    const TspListCaptionButtons CB = ListDefaultCaptionButtons(Width(), FDefaultCaptionHeight);
    Buttons[0].R = CB.Up;
    Buttons[1].R = CB.Down;
    Buttons[2].R = CB.Check;
  }
  if (In.HBar) {
    const TRect& B = L.HBarBounds;
    HScrollBar->SetBounds(B.Left, B.Top, B.Right, B.Bottom);
  }
  if (In.MainBar) {
    const TRect& B = L.MainBarBounds;
    ScrollBar->SetBounds(B.Left, B.Top, B.Right, B.Bottom);
  }
  ListRect = L.ListRect;
  ListBox->SetBounds(ListRect.Left, ListRect.Top, ListRect.Width(), ListRect.Height());
}

void TspSkinCustomListBox::SBChange(TObject*) {
  if (!ScrollBar) return;
  const WPARAM W = MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(ScrollBar->Position()));
  SendMessageW(ListBox->Handle(), Columns() > 0 ? WM_HSCROLL : WM_VSCROLL, W, 0);
}

void TspSkinCustomListBox::HSBChange(TObject*) {
  if (!HScrollBar) return;
  ListBox->FHorizontalExtentValue = HScrollBar->Position();
  ListBox->Invalidate();
}

void TspSkinCustomListBox::ShowMainBar() {
  const bool Sk = SkinnedList();
  ScrollBar = new TspSkinScrollBar(this);
  ScrollBar->SetVisible(false);
  ScrollBar->SetKind(Columns() > 0 ? sbHorizontal : sbVertical);
  ScrollBar->SetBounds(0, 0, 20, 100);
  ScrollBar->SetRange(0, 0, 0, 0);
  ScrollBar->OnChange = [this](TObject* S) { SBChange(S); };
  ScrollBar->SetSkinDataName(Sk ? (Columns() > 0 ? HScrollBarName : VScrollBarName) : String());
  ScrollBar->SetSkinData(SkinData());
  ScrollBar->SetParent(this);
  if (HScrollBar) {
    if (Sk) {
      HScrollBar->SetBothSkinDataName(BothScrollBarName);
      HScrollBar->SetSkinDataName(BothScrollBarName);
    } else {
      HScrollBar->SetSkinDataName(String());
      HScrollBar->SetBothMarkerWidth(19);
    }
    HScrollBar->SetBoth(true);
  }
  ScrollBar->SetVisible(true);
  CalcRects();
  Repaint();
}

void TspSkinCustomListBox::HideMainBar() {
  if (!ScrollBar) return;
  TspSkinScrollBar* B = ScrollBar;
  ScrollBar = nullptr;
  B->SetVisible(false);
  delete B;
  CalcRects();
}

void TspSkinCustomListBox::ShowHBar() {
  const bool Sk = SkinnedList();
  HScrollBar = new TspSkinScrollBar(this);
  HScrollBar->SetVisible(false);
  HScrollBar->SetKind(sbHorizontal);
  HScrollBar->SetBounds(0, 0, 100, 20);
  HScrollBar->SetRange(0, 0, 0, 0);
  HScrollBar->OnChange = [this](TObject* S) { HSBChange(S); };
  if (!Sk) {
    HScrollBar->SetSkinDataName(String());
    if (ScrollBar) {
      HScrollBar->SetBoth(true);
      HScrollBar->SetBothMarkerWidth(19);
    }
  } else if (ScrollBar) {
    HScrollBar->SetBothSkinDataName(BothScrollBarName);
    HScrollBar->SetSkinDataName(BothScrollBarName);
    HScrollBar->SetBoth(true);
  } else {
    HScrollBar->SetBothSkinDataName(HScrollBarName);
    HScrollBar->SetSkinDataName(HScrollBarName);
    HScrollBar->SetBoth(false);
  }
  HScrollBar->SetSkinData(SkinData());
  HScrollBar->SetParent(this);
  HScrollBar->SetVisible(true);
  CalcRects();
  Repaint();
}

void TspSkinCustomListBox::HideHBar() {
  if (!HScrollBar) return;
  TspSkinScrollBar* B = HScrollBar;
  HScrollBar = nullptr;
  B->SetVisible(false);
  delete B;
  CalcRects();
  ListBox->FHorizontalExtentValue = 0;
  ListBox->Invalidate();
}

Integer TspSkinCustomListBox::GetItemTextWidth(Integer Index, TCanvas* Cnvs) {
  return Cnvs->TextWidth(ListBox->Items()->Strings(Index));
}

void TspSkinCustomListBox::UpDateScrollBar() {
  if (!ListBox || !ListBox->HandleAllocated()) return;
  HWND LW = ListBox->Handle();
  const Integer Count = ListBox->Items()->Count();
  const Integer IH = std::max(1, ListBox->ItemHeight());
  if (Columns() >= 1) {
    SCROLLINFO SI{};
    SI.cbSize = sizeof(SI);
    SI.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(LW, SB_HORZ, &SI);
    const TspListBarState S = ListColumnsBar(SI.nMin, SI.nMax, SI.nPos, ListBox->Height(), IH, Count, Columns());
    if (S.Needed) {
      if (!ScrollBar) ShowMainBar();
      if (ScrollBar) SetBarRange(ScrollBar, S.Min, S.Max, S.Position, S.Page);
      return;
    }
    if (ScrollBar && ScrollBar->Visible()) HideMainBar();
    return;
  }
  // The horizontal extent of a single column.
  if (FHorizontalExtent && !FStopUpDateHScrollBar) {
    TCanvas* C = ListBox->Canvas();
    C->Lock();
    TFinally Unlock([&] { C->Unlock(); });
    HDC DC = GetDC(LW);
    C->SetHandle(DC);
    TFinally Release([&] {
      C->SetHandle(nullptr);
      ReleaseDC(LW, DC);
    });
    const bool Sk = SkinnedList();
    if (Sk && FUseSkinFont) {
      C->Font()->SetName(FontName);
      C->Font()->SetStyle(FontStyle);
      C->Font()->SetHeight(FontHeight);
    } else {
      C->Font()->Assign(ListBox->Font());
    }
    Integer Extent = 0;
    for (Integer I = 0; I < Count; ++I) Extent = std::max(Extent, GetItemTextWidth(I, C));
    const Integer Visible = ListVisibleTextWidth(ListBox->Width(), Sk, ItemTextRect.Width(), SItemRect.Width(),
                                                 FImages ? FImages->Width() : 0);
    if (Visible < Extent) {
      const Integer Step = C->TextWidth(u"0");
      if (!HScrollBar) ShowHBar();
      if (HScrollBar) {
        HScrollBar->SetRange(0, Extent, HScrollBar->Position(), Visible);
        HScrollBar->SetSmallChange(Step);
        HScrollBar->SetLargeChange(Step);
      }
    } else if (HScrollBar && HScrollBar->Visible()) {
      HideHBar();
    }
  } else if (HScrollBar && HScrollBar->Visible()) {
    HideHBar();
  }
  // The vertical part.
  if (FRowCount > 0 && FRowCount == Count) {
    if (ScrollBar && ScrollBar->Visible()) HideMainBar();
    return;
  }
  SCROLLINFO SI{};
  SI.cbSize = sizeof(SI);
  SI.fMask = SIF_RANGE | SIF_POS;
  GetScrollInfo(LW, SB_VERT, &SI);
  const TspListBarState S = ListVerticalBar(SI.nMin, SI.nMax, SI.nPos, ListBox->Height(), IH, Count, FRowCount);
  if (S.Needed) {
    if (!ScrollBar) ShowMainBar();
    if (ScrollBar) {
      SetBarRange(ScrollBar, S.Min, S.Max, S.Position, S.Page);
      ScrollBar->SetLargeChange(S.Page);
    }
    return;
  }
  if (ScrollBar && ScrollBar->Visible()) HideMainBar();
}

// --- events of the inner list

void TspSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}
void TspSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}
void TspSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}
void TspSkinCustomListBox::ListBoxClick() {
  if (OnListBoxClick) OnListBoxClick(this);
}
void TspSkinCustomListBox::ListBoxDblClick() {
  if (OnListBoxDblClick) OnListBoxDblClick(this);
}
void TspSkinCustomListBox::ListBoxKeyDown(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}
void TspSkinCustomListBox::ListBoxKeyUp(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}
void TspSkinCustomListBox::ListBoxKeyPress(Char& Key) {
  if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

// --- skin

void TspSkinCustomListBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  auto* D = Skinned() ? dynamic_cast<TspDataSkinListBox*>(SkinDescription()) : nullptr;
  // A description of another class gives the default look.
  if (!D) {
    FIndex = -1;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  SItemRect = D->SItemRect;
  ActiveItemRect = RectIsEmpty(D->ActiveItemRect) ? D->SItemRect : D->ActiveItemRect;
  FocusItemRect = RectIsEmpty(D->FocusItemRect) ? D->SItemRect : D->FocusItemRect;
  ItemLeftOffset = D->ItemLeftOffset;
  ItemRightOffset = D->ItemRightOffset;
  ItemTextRect = D->ItemTextRect;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  FocusFontColor = D->FocusFontColor;
  CaptionRect = D->CaptionRect;
  CaptionFontName = D->CaptionFontName;
  CaptionFontStyle = D->CaptionFontStyle;
  CaptionFontHeight = D->CaptionFontHeight;
  CaptionFontColor = D->CaptionFontColor;
  UpButtonRect = D->UpButtonRect;
  ActiveUpButtonRect = D->ActiveUpButtonRect;
  DownUpButtonRect = RectIsEmpty(D->DownUpButtonRect) ? D->ActiveUpButtonRect : D->DownUpButtonRect;
  DownButtonRect = D->DownButtonRect;
  ActiveDownButtonRect = D->ActiveDownButtonRect;
  DownDownButtonRect = RectIsEmpty(D->DownDownButtonRect) ? D->ActiveDownButtonRect : D->DownDownButtonRect;
  CheckButtonRect = D->CheckButtonRect;
  ActiveCheckButtonRect = D->ActiveCheckButtonRect;
  DownCheckButtonRect = RectIsEmpty(D->DownCheckButtonRect) ? D->ActiveCheckButtonRect : D->DownCheckButtonRect;
  VScrollBarName = D->VScrollBarName;
  HScrollBarName = D->HScrollBarName;
  BothScrollBarName = D->BothScrollBarName;
  ShowFocus = D->ShowFocus;
  ButtonsArea = D->ButtonsArea;
  DisabledButtonsRect = D->DisabledButtonsRect;
}

void TspSkinCustomListBox::DefaultFontChanged() {
  if (!SkinnedList()) Font()->Assign(DefaultFont());
}

void TspSkinCustomListBox::ChangeSkinData() {
  auto Alive = LivenessToken();
  TspSkinCustomControl::ChangeSkinData();
  if (!*Alive) return;
  FStopUpDateHScrollBar = true;
  TFinally Done([&] { FStopUpDateHScrollBar = false; });
  const bool Sk = SkinnedList();
  if (!Sk) {
    ListBox->SetItemHeight(FDefaultItemHeight);
    Font()->Assign(DefaultFont());
  } else if (FUseSkinItemHeight && SItemRect.Height() > 0) {
    ListBox->SetItemHeight(SItemRect.Height());
  }
  if (ScrollBar) {
    ScrollBar->SetSkinDataName(Sk ? (Columns() > 0 ? HScrollBarName : VScrollBarName) : String());
    ScrollBar->SetSkinData(SkinData());
  }
  if (HScrollBar) {
    if (!Sk) {
      HScrollBar->SetSkinDataName(String());
      if (ScrollBar) HScrollBar->SetBothMarkerWidth(19);
    } else {
      const String& N = ScrollBar ? BothScrollBarName : HScrollBarName;
      HScrollBar->SetBothSkinDataName(N);
      HScrollBar->SetSkinDataName(N);
    }
    HScrollBar->SetSkinData(SkinData());
  }
  if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
  CalcRects();
  FStopUpDateHScrollBar = false;
  UpDateScrollBar();
  ListBox->Invalidate();
}

// --- painting

void TspSkinCustomListBox::PaintListBackground(HDC DC, const TRect& R) {
  if (!DC) return;
  GetSkinData();
  TCanvas C;
  C.SetHandle(DC);
  TFinally Release([&] { C.SetHandle(nullptr); });
  const TRect Tile(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                   SkinRect.Top + ClRect.Bottom);
  if (!SkinnedList() || !Picture || Tile.Width() <= 0 || Tile.Height() <= 0) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clWindow);
    C.FillRect(R);
    return;
  }
  // Tiled from the list's top-left corner, the last tiles cut to the area.
  const Integer TW = Tile.Width(), TH = Tile.Height();
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  for (Integer Y = (R.Top / TH) * TH; Y < R.Bottom; Y += TH)
    for (Integer X = (R.Left / TW) * TW; X < R.Right; X += TW)
      C.CopyRect(TRect(X, Y, X + TW, Y + TH), Picture->Canvas(), Tile);
  RestoreDC(DC, Saved);
}

void TspSkinCustomListBox::DrawListItem(TCanvas* Dest, Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (Index < 0 || Index >= ListBox->Items()->Count()) return;
  if (!FItemsPrepared) GetSkinData();
  const bool Sk = Skinned();
  if (Sk && !Picture) return;
  const bool Sel = State & odSelected, Foc = State & odFocused;
  const bool Fixed = Sk && FUseSkinItemHeight;
  const Integer BW = Rect.Width(), BH = Fixed ? SItemRect.Height() : Rect.Height();
  if (BW <= 0 || BH <= 0) return;
  auto B = NewSkinBitmap(BW, BH);
  TCanvas* C = B->Canvas();
  TRect TR;
  bool FrameAfter = false, FrameBefore = false;
  if (!Sk) {
    C->Brush()->SetColor(Sel ? clHighlight : clWindow);
    C->FillRect(TRect(0, 0, BW, BH));
    TR = TRect(2, 0, BW - 2, BH);
    AssignFont(C->Font(), Font());
    C->Font()->SetColor(Sel ? clHighlightText : Font()->Color());
    FrameAfter = Foc;
  } else {
    auto Nine = [&](const TRect& Src) {
      const TRect Split(ItemTextRect.Left + 1, ItemTextRect.Top + 1, ItemTextRect.Right - 1, ItemTextRect.Bottom - 1);
      CreateClientStretchImage(B.get(), Picture, Src, Split, true);
    };
    if (Fixed) {
      if (Foc && Sel)
        CreateHorzThreeSliceImage(ItemLeftOffset, ItemRightOffset, B.get(), Picture, FocusItemRect, BW, BH,
                                  StretchEffect);
      else if (Foc)
        CreateHorzThreeSliceImage(ItemLeftOffset, ItemRightOffset, B.get(), Picture, SItemRect, BW, BH, StretchEffect);
      else if (Sel)
        CreateHorzThreeSliceImage(ItemLeftOffset, ItemRightOffset, B.get(), Picture, ActiveItemRect, BW, BH,
                                  StretchEffect);
      else
        CreateHorzThreeSliceImage(ItemLeftOffset, ItemRightOffset, B.get(), Picture, SItemRect, BW, BH, false);
      TR = TRect(ItemTextRect.Left, ItemTextRect.Top, ItemTextRect.Right + (BW - SItemRect.Width()),
                 ItemTextRect.Bottom);
      C->Font()->SetColor(Foc && Sel ? FocusFontColor : Sel ? ActiveFontColor : FontColor);
      FrameBefore = Foc && !Sel;
    } else {
      Nine(Foc ? FocusItemRect : Sel ? ActiveItemRect : SItemRect);
      TR = TRect(ItemTextRect.Left, ItemTextRect.Top, ItemTextRect.Right + (BW - SItemRect.Width()),
                 ItemTextRect.Bottom + (BH - SItemRect.Height()));
      C->Font()->SetColor(Foc ? FocusFontColor : Sel ? ActiveFontColor : FontColor);
    }
    if (FUseSkinFont) {
      C->Font()->SetName(FontName);
      C->Font()->SetStyle(FontStyle);
      C->Font()->SetHeight(FontHeight);
    } else {
      const TColor Keep = C->Font()->Color();
      AssignFont(C->Font(), DefaultFont());
      C->Font()->SetColor(Keep);
    }
    FrameBefore = FrameBefore || (Foc && ShowFocus);
  }
  if (!Sk || FUseSkinFont) C->Font()->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  if (Sk && FrameBefore && !OnDrawItem) DrawDottedFocusRect(C, TRect(0, 0, BW, BH));
  C->Brush()->SetStyle(bsClear);
  if (OnDrawItem) {
    OnDrawItem(C, Index, BW, BH, TR, State);
  } else {
    Integer Indent = 0;
    if (FImages) {
      const Integer II = FImageIndex < 0 ? Index : FImageIndex;
      if (II < FImages->Count())
        FImages->Draw(C, TR.Left - ListBox->FHorizontalExtentValue,
                      TR.Top + TR.Height() / 2 - FImages->Height() / 2, II, true);
      Indent = FImages->Width() + 2;
    }
    const String S = ListBox->Items()->Strings(Index);
    const Integer TH = C->TextHeight(S);
    if (FTabWidths->Count() > 0 && Columns() == 0) {
      const std::vector<Integer> Stops = ListTabStops(*FTabWidths);
      std::vector<INT> Tabs(Stops.begin(), Stops.end());
      const TRect R = Sk ? TR : TRect(0, 0, BW, BH);
      Integer Y = R.Top + R.Height() / 2 - TH / 2;
      if (C->Font()->Height() % 2 != 0) --Y;
      TabbedTextOutW(C->Handle(), R.Left + Indent + 2, Y, reinterpret_cast<LPCWSTR>(S.c_str()),
                     static_cast<int>(S.size()), static_cast<int>(Tabs.size()), Tabs.data(), 0);
    } else {
      DrawClippedTextIndent(C, S, TR, Indent - ListBox->FHorizontalExtentValue);
    }
  }
  C->Brush()->SetStyle(bsSolid);
  if (FrameAfter) DrawDottedFocusRect(C, TRect(0, 0, BW, BH));
  Dest->Draw(Rect.Left, Rect.Top, B.get());
}

bool TspSkinCustomListBox::CaptionButtonsWork() {
  if (!FCaptionMode || !FShowCaptionButtons) return false;
  if (SkinnedList()) return !RectIsEmpty(UpButtonRect) || !RectIsEmpty(DownButtonRect);
  return true;
}

void TspSkinCustomListBox::DrawCaptionButton(TCanvas* C, Integer I) {
  const TspCBButtonX& Bt = Buttons[I];
  if (RectIsEmpty(Bt.R)) return;
  if (!SkinnedList()) {
    if (Bt.Down && Bt.MouseIn)
      FillFramedRect(C, Bt.R, DefaultHotFrame, DefaultDownFace);
    else if (Bt.MouseIn)
      FillFramedRect(C, Bt.R, DefaultHotFrame, DefaultHotFace);
    else {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(clBtnFace);
      C->FillRect(Bt.R);
    }
    if (I == 2)
      DrawCheckMark(C, Bt.R.Left + 4, Bt.R.Top + 4, clBlack);
    else
      DrawDirectionArrow(C, Bt.R, clBlack, I == 0 ? 3 : 4);
    return;
  }
  if (!Picture) return;
  const TRect Plain[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
  const TRect Hot[3] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
  const TRect Down[3] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
  TRect Src;
  if (Bt.Down && Bt.MouseIn)
    Src = Down[I];
  else if (Bt.MouseIn)
    Src = Hot[I];
  if (RectIsEmpty(Src)) {
    Src = Moved(Plain[I], SkinRect.Left, SkinRect.Top);
  }
  C->CopyRect(Bt.R, Picture->Canvas(), Src);
}

void TspSkinCustomListBox::DrawCaption(TCanvas* C, const TRect& R, bool Skin) {
  const String S = Caption();
  if (Skin) {
    C->Font()->SetName(CaptionFontName);
    C->Font()->SetHeight(CaptionFontHeight);
    C->Font()->SetColor(CaptionFontColor);
    C->Font()->SetStyle(CaptionFontStyle);
  } else {
    AssignFont(C->Font(), FDefaultCaptionFont);
  }
  C->Font()->SetCharset(SkinTextCharset(FSD, FDefaultCaptionFont));
  const bool HasGlyph = !FGlyph->Empty();
  const Integer NG = std::max(1, FNumGlyphs);
  const Integer GW = HasGlyph ? FGlyph->Width() / NG : 0;
  const Integer CW = C->TextWidth(S) + (HasGlyph ? GW + FSpacing : 0);
  const Integer TH = C->TextHeight(S);
  Integer X, Y;
  if (Skin) {
    Y = R.Top + R.Height() / 2 - TH / 2;
    X = FAlignment == taRightJustify ? R.Right - CW - 2
        : FAlignment == taCenter     ? R.Left + 2 + R.Width() / 2 - CW / 2
                                     : R.Left + 2;
  } else {
    Y = (FDefaultCaptionHeight - 2) / 2 - TH / 2;
    X = FAlignment == taRightJustify ? R.Right - CW
        : FAlignment == taCenter     ? R.Left + R.Width() / 2 - CW / 2
                                     : R.Left;
  }
  C->Brush()->SetStyle(bsClear);
  Integer TX = X;
  if (HasGlyph) TX += GW + FSpacing;
  C->TextRect(R, TX, Y, S);
  if (HasGlyph) {
    const Integer GY = Skin ? R.Top + R.Height() / 2 - FGlyph->Height() / 2
                            : R.Top + R.Height() / 2 - FGlyph->Height() / 2 - 1;
    DrawStripGlyph(C, X, GY, FGlyph, NG, (!Enabled() && NG == 2) ? 2 : 1);
  }
  C->Brush()->SetStyle(bsSolid);
}

void TspSkinCustomListBox::CreateControlDefaultImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  const bool Btns = FCaptionMode && FShowCaptionButtons;
  if (Btns) {
    const TspListCaptionButtons CB = ListDefaultCaptionButtons(W, FDefaultCaptionHeight);
    Buttons[0].R = CB.Up;
    Buttons[1].R = CB.Down;
    Buttons[2].R = CB.Check;
  }
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(TRect(0, 0, W, H));
  if (!FCaptionMode) return;
  const Integer a = std::min(FDefaultCaptionHeight - 3, 17);
  const TRect TR(3, 2, Btns ? W - 3 * a - 3 : W - 2, FDefaultCaptionHeight - 2);
  DrawCaption(C, TR, false);
  C->Pen()->SetColor(clBtnShadow);
  C->MoveTo(1, FDefaultCaptionHeight - 1);
  C->LineTo(W - 1, FDefaultCaptionHeight - 1);
  if (Btns)
    for (Integer I = 0; I < 3; ++I) DrawCaptionButton(C, I);
}

void TspSkinCustomListBox::CreateControlSkinImage(TBitmap* B) {
  // The direct paint hands the finished top strip only: the caption goes
  // over it; otherwise the base builds the whole image first.
  const bool Strip = B->Width() != Width() || B->Height() != Height();
  if (!Strip) TspSkinCustomControl::CreateControlSkinImage(B);
  if (!SkinnedList()) return;
  const Integer dW = Width() - SkinRect.Width(), dH = Height() - SkinRect.Height();
  TCanvas* C = B->Canvas();
  if (!FShowCaptionButtons && !RectIsEmpty(UpButtonRect) && Picture) {
    if (!RectIsEmpty(DisabledButtonsRect)) {
      C->CopyRect(Moved(ButtonsArea, dW, 0), Picture->Canvas(), DisabledButtonsRect);
    }
  }
  NewClRect = FreeSizeClientRect(ClRect, SkinRect, Width(), Height());
  if (FCaptionMode) {
    NewCaptionRect = CaptionRect;
    if (FShowCaptionButtons) {
      if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += dW;
      const TRect Rs[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
      for (Integer I = 0; I < 3; ++I) {
        TRect R = Rs[I];
        TPoint P = RTPt;
        if (R.Top > LTPt.Y) {
          R = Moved(R, 0, dH);
          P = RBPt;
        }
        if (R.Left > P.X) R = Moved(R, dW, 0);
        Buttons[I].R = R;
      }
    } else {
      NewCaptionRect.Right = Width() - CaptionRect.Left;
      for (auto& Bt : Buttons) Bt.R = TRect();
    }
  }
  if (!RectIsEmpty(CaptionRect)) DrawCaption(C, NewCaptionRect, true);
  if (FShowCaptionButtons)
    for (Integer I = 0; I < 3; ++I) DrawCaptionButton(C, I);
}

// --- caption buttons

void TspSkinCustomListBox::RepaintButtons() { Repaint(); }

void TspSkinCustomListBox::TestActive(Integer X, Integer Y) {
  if (!CaptionButtonsWork()) return;
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 3; ++I)
    if (PtInRect(Buttons[I].R, TPoint(X, Y))) {
      ActiveButton = I;
      break;
    }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton >= 0) {
    Buttons[OldActiveButton].MouseIn = false;
    if (TimerMode != 0 && Buttons[OldActiveButton].Down) KillTimer(Handle(), RepeatTimer);
  }
  if (ActiveButton >= 0) {
    Buttons[ActiveButton].MouseIn = true;
    if (TimerMode != 0 && Buttons[ActiveButton].Down) SetTimer(Handle(), RepeatTimer, 50, nullptr);
  }
  RepaintButtons();
}

void TspSkinCustomListBox::StartRepeat(Cardinal Interval) { SetTimer(Handle(), RepeatTimer, Interval, nullptr); }

void TspSkinCustomListBox::StopRepeat() {
  if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
  TimerMode = 0;
  WaitMode = false;
}

void TspSkinCustomListBox::RepeatTick() {
  if (WaitMode) {
    WaitMode = false;
    StartRepeat(100);
    return;
  }
  const Integer I = ItemIndex();
  if (TimerMode == 1 && I >= 1)
    SetItemIndex(I - 1);
  else if (TimerMode == 2 && I < Items()->Count() - 1)
    SetItemIndex(I + 1);
}

void TspSkinCustomListBox::ButtonDown(Integer I) {
  CaptureButton = I;
  Buttons[I].MouseIn = true;
  Buttons[I].Down = true;
  RepaintButtons();
  const TNotifyEvent* Ev[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
  if (*Ev[I]) return;
  if (I == 0 || I == 1) {
    TimerMode = I + 1;
    WaitMode = true;
    StartRepeat(500);
  }
}

void TspSkinCustomListBox::ButtonUp(Integer I, bool Over) {
  auto Alive = LivenessToken();
  Buttons[I].Down = false;
  if (ActiveButton != I) Buttons[I].MouseIn = false;
  RepaintButtons();
  CaptureButton = -1;
  const TNotifyEvent* Ev[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
  if (*Ev[I] && Over) {
    (*Ev[I])(this);
    if (*Alive) StopRepeat();
    return;
  }
  const Integer Idx = ItemIndex();
  if (I == 0) {
    if (Idx > 0) SetItemIndex(Idx - 1);
  } else if (I == 1) {
    if (Idx < Items()->Count() - 1) SetItemIndex(Idx + 1);
  } else {
    ListBoxClick();
    if (*Alive && ListBox && ListBox->OnClick) ListBox->OnClick(ListBox);
  }
  if (*Alive) StopRepeat();
}

void TspSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (CaptionButtonsWork()) {
    TestActive(X, Y);
    if (ActiveButton != -1) ButtonDown(ActiveButton);
  }
  if (*Alive) TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (CaptureButton != -1) {
    const Integer I = CaptureButton;
    ButtonUp(I, PtInRect(Buttons[I].R, TPoint(X, Y)));
  }
  if (*Alive) TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinCustomListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (*Alive) TestActive(X, Y);
}

void TspSkinCustomListBox::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      CalcRects();
      UpDateScrollBar();
      if (ScrollBar) ScrollBar->Repaint();
      return;
    case WM_TIMER:
      if (M.WParam == RepeatTimer) {
        RepeatTick();
        return;
      }
      break;
    case CM_MOUSEENTER:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) TestActive(-1, -1);
      return;
    case CM_MOUSELEAVE: {
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      bool Changed = false;
      for (auto& Bt : Buttons)
        if (Bt.MouseIn) {
          Bt.MouseIn = false;
          Changed = true;
        }
      ActiveButton = -1;
      if (Changed) Repaint();
      return;
    }
    case CM_TEXTCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && FCaptionMode) Repaint();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
