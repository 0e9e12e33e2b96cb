#include "skin/controls/win/SkinHorzListBox.h"

#include "skin/data/win/SPUtils.h"

namespace {

// Narrows the clipping of a canvas's DC to R for the scope, and gives back
// only the clipping: restoring the whole DC would also put back an older
// background mode and objects behind the canvas's back, and captions drawn
// afterwards would get an opaque ground.
class TItemClip {
 public:
  TItemClip(TCanvas* C, const TRect& R) : FDC(C->Handle()), FOld(CreateRectRgn(0, 0, 0, 0)) {
    if (GetClipRgn(FDC, FOld) != 1) {
      DeleteObject(FOld);
      FOld = nullptr;
    }
    IntersectClipRect(FDC, R.Left, R.Top, R.Right, R.Bottom);
  }
  ~TItemClip() {
    SelectClipRgn(FDC, FOld);
    if (FOld) DeleteObject(FOld);
  }
  TItemClip(const TItemClip&) = delete;
  TItemClip& operator=(const TItemClip&) = delete;

 private:
  HDC FDC;
  HRGN FOld;
};

}  // namespace

// ---------------------------------------------------------------------------
// Items

TspSkinHorzItem::TspSkinHorzItem(TCollection* Collection) : TCollectionItem(nullptr) {
  // Joins only once whole: joining tells the list, which paints its items.
  SetCollection(Collection);
  if (auto* C = dynamic_cast<TspSkinHorzItems*>(Collection); C && C->HorzListBox)
    Active = Index() == C->HorzListBox->ItemIndex();
}

void TspSkinHorzItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TspSkinHorzItem*>(Source)) {
    FImageIndex = S->FImageIndex;
    FCaption = S->FCaption;
    FEnabled = S->FEnabled;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TspSkinHorzItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TspSkinHorzItem::SetCaption(const String& Value) {
  FCaption = Value;
  Changed(false);
}

void TspSkinHorzItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed(false);
}

TspSkinHorzItems::TspSkinHorzItems(TspSkinHorzListBox* AListBox)
    : TCollection([](TCollection* C) { return new TspSkinHorzItem(C); }, AListBox), HorzListBox(AListBox) {}

void TspSkinHorzItems::Update(TCollectionItem* Item) {
  (void)Item;
  if (!HorzListBox) return;
  HorzListBox->Repaint();
  HorzListBox->UpdateScrollInfo();
}

// ---------------------------------------------------------------------------
// The list

TspSkinHorzListBox::TspSkinHorzListBox(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FItems(new TspSkinHorzItems(this)) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetBounds(Left(), Top(), 250, 100);
  FSkinDataName = u"listbox";
}

TspSkinHorzListBox::~TspSkinHorzListBox() {
  FItems->HorzListBox = nullptr;
  delete FItems;
}

void TspSkinHorzListBox::Loaded() {
  TspSkinCustomControl::Loaded();
  if (FItemIndex != -1 && FItemIndex < FItems->Count()) ScrollToItem(FItemIndex);
}

void TspSkinHorzListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
  if (Operation == opRemove && AComponent == FScrollBar) FScrollBar = nullptr;
}

void TspSkinHorzListBox::SetItems(TspSkinHorzItems* Value) {
  FItems->Assign(Value);
  Repaint();
  UpdateScrollInfo();
}

void TspSkinHorzListBox::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinHorzListBox::SetItemWidth(Integer Value) {
  if (Value == FItemWidth || Value <= 0) return;
  FItemWidth = Value;
  Repaint();
}

void TspSkinHorzListBox::SetItemLayout(TspButtonLayout Value) {
  FItemLayout = Value;
  Invalidate();
}

void TspSkinHorzListBox::SetItemMargin(Integer Value) {
  FItemMargin = Value;
  Invalidate();
}

void TspSkinHorzListBox::SetItemSpacing(Integer Value) {
  FItemSpacing = Value;
  Invalidate();
}

void TspSkinHorzListBox::SetShowGlow(bool Value) {
  if (Value == FShowGlow) return;
  FShowGlow = Value;
  Repaint();
}

void TspSkinHorzListBox::SetShowItemTitles(bool Value) {
  if (Value == FShowItemTitles) return;
  FShowItemTitles = Value;
  Repaint();
}

Integer TspSkinHorzListBox::CalcWidth(Integer AItemCount) {
  const Integer N = std::min(AItemCount, FItems->Count());
  if (!Skinned()) return N * FItemWidth + 5;
  RefreshSkinGeometry();
  return N * FItemWidth + Width() - NewClRect.Width() + 1;
}

void TspSkinHorzListBox::BeginUpdateItems() {
  FInUpdateItems = true;
  if (HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, 0, 0);
}

void TspSkinHorzListBox::EndUpdateItems() {
  FInUpdateItems = false;
  if (HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, 1, 0);
  Repaint();
  UpdateScrollInfo();
}

// --- geometry

TRect TspSkinHorzListBox::AreaRect() {
  GetSkinData();
  TRect R(2, 2, Width() - 2, Height() - 2);
  if (Skinned()) {
    RefreshSkinGeometry();
    R = NewClRect;
  }
  return R;
}

TspHorzRow TspSkinHorzListBox::Row() const {
  TspHorzRow R;
  R.Area = FItemsRect;
  R.ItemWidth = FItemWidth;
  R.Count = FItems->Count();
  R.Offset = FScrollOffset;
  return R;
}

void TspSkinHorzListBox::CalcItemRects() {
  FItemsRect = AreaRect();
  if (FScrollBar) FItemsRect.Bottom -= FScrollBar->Height();
  const TspHorzRow R = Row();
  for (Integer I = 0; I < R.Count; ++I) {
    TspSkinHorzItem* It = FItems->Items(I);
    It->ItemRect = HorzItemRect(R, I);
    It->IsVisible = HorzItemVisible(It->ItemRect, FItemsRect);
  }
  FRealMax = HorzRealMax(R);
  FMax = FItemsRect.Left + R.Count * FItemWidth;
}

void TspSkinHorzListBox::GetScrollInfo(Integer& AMin, Integer& AMax, Integer& APage, Integer& APosition) {
  CalcItemRects();
  const TspHorzScroll S = HorzScrollInfo(Row());
  AMin = S.Min;
  AMax = S.Max;
  APage = S.Page;
  APosition = S.Position;
}

void TspSkinHorzListBox::UpdateScrollInfo() {
  if (FInUpdateItems) return;
  Integer Min = 0, Max = 0, Page = 0, Pos = 0;
  GetScrollInfo(Min, Max, Page, Pos);
  if (Max != 0) {
    if (!FScrollBar) ShowScrollbar();
    // An unchanged bar is not painted again.
    TspSkinScrollBar* B = FScrollBar;
    if (B->Min() != Min || B->Max() != Max || B->Position() != Pos || B->PageSize() != Page)
      B->SetRange(Min, Max, Pos, Page);
    if (B->LargeChange() != Page) B->SetLargeChange(Page);
  } else if (FScrollBar) {
    HideScrollBar();
  }
}

void TspSkinHorzListBox::ShowScrollbar() {
  if (FScrollBar) return;
  FScrollBar = new TspSkinScrollBar(this);
  FScrollBar->SetVisible(false);
  FScrollBar->SetParent(this);
  FScrollBar->SetDefaultHeight(19);
  FScrollBar->SetDefaultWidth(0);
  FScrollBar->SetSmallChange(FItemWidth);
  FScrollBar->SetLargeChange(FItemWidth);
  FScrollBar->SetSkinDataName(u"hscrollbar");
  FScrollBar->SetKind(sbHorizontal);
  FScrollBar->SetSkinData(SkinData());
  FScrollBar->OnChange = [this](TObject*) { Scroll(FScrollBar->Position()); };
  AdjustScrollBar();
  FScrollBar->SetVisible(true);
  Repaint();
}

void TspSkinHorzListBox::HideScrollBar() {
  if (!FScrollBar) return;
  TspSkinScrollBar* B = FScrollBar;
  FScrollBar = nullptr;
  B->SetVisible(false);
  delete B;
  Repaint();
}

void TspSkinHorzListBox::AdjustScrollBar() {
  if (!FScrollBar) return;
  const TRect R = AreaRect();
  FScrollBar->SetBounds(R.Left, R.Bottom - FScrollBar->Height(), R.Width(), FScrollBar->Height());
}

void TspSkinHorzListBox::Scroll(Integer AScrollOffset) {
  FScrollOffset = AScrollOffset;
  Repaint();
  UpdateScrollInfo();
}

void TspSkinHorzListBox::ScrollToItem(Integer Index) {
  CalcItemRects();
  if (Index >= FItems->Count()) FItems->Items(Index);  // the list's index error
  const Integer Offset = HorzScrollToItem(Row(), Index, Width());
  if (Offset != FScrollOffset) {
    FScrollOffset = Offset;
    CalcItemRects();
    Invalidate();
  }
  UpdateScrollInfo();
}

Integer TspSkinHorzListBox::ItemAtPos(Integer X, Integer Y) {
  CalcItemRects();
  for (Integer I = 0; I < FItems->Count(); ++I) {
    const TspSkinHorzItem* It = FItems->Items(I);
    const TRect& R = It->ItemRect;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return It->Enabled() ? I : -1;
  }
  return -1;
}

// --- current item

void TspSkinHorzListBox::SetItemIndex(Integer Value) {
  // Refused before anything changes.
  if (Value >= FItems->Count()) FItems->Items(Value);
  FItemIndex = Value;
  if (Value < 0) {
    Repaint();
    return;
  }
  for (Integer I = 0; I < FItems->Count(); ++I) FItems->Items(I)->Active = I == Value;
  auto Alive = LivenessToken();
  Repaint();
  ScrollToItem(Value);
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  TspSkinHorzItem* It = FItems->Items(Value);
  if (It->OnClick) It->OnClick(this);
  if (*Alive && OnItemClick) OnItemClick(this);
}

void TspSkinHorzListBox::SetActiveItem(Integer Index) {
  FItemIndex = Index;
  for (Integer I = 0; I < FItems->Count(); ++I) FItems->Items(I)->Active = I == Index;
  Repaint();
  ScrollToItem(Index);
}

std::vector<bool> TspSkinHorzListBox::EnabledItems() const {
  std::vector<bool> E;
  for (Integer I = 0; I < FItems->Count(); ++I) E.push_back(FItems->Items(I)->Enabled());
  return E;
}

Integer TspSkinHorzListBox::PageItems() const { return std::max(1, FItemsRect.Width() / std::max(1, FItemWidth)); }

// --- mouse and keys

void TspSkinHorzListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft) return;
  const Integer I = ItemAtPos(X, Y);
  if (I < 0) return;
  SetActiveItem(I);
  FMouseDown = true;
  FMouseActive = I;
}

void TspSkinHorzListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive || !(FMouseDown || FMouseMoveChangeIndex)) return;
  const Integer I = ItemAtPos(X, Y);
  if (I < 0 || I == FMouseActive) return;
  SetActiveItem(I);
  FMouseActive = I;
}

void TspSkinHorzListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  FMouseDown = false;
  if (Button != mbLeft) return;
  const Integer I = ItemAtPos(X, Y);
  if (I >= 0) SetItemIndex(I);
}

void TspSkinHorzListBox::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::KeyDown(Key, Shift);
  if (!*Alive) return;
  CalcItemRects();
  const std::vector<bool> E = EnabledItems();
  Integer I = -1;
  switch (Key) {
    case VK_PRIOR:
      I = HorzFindPageUp(E, FItemIndex, PageItems());
      break;
    case VK_NEXT:
      I = HorzFindPageDown(E, FItemIndex, PageItems());
      break;
    case VK_LEFT:
    case VK_UP:
      I = HorzFindUp(E, FItemIndex);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      I = HorzFindDown(E, FItemIndex);
      break;
    default:
      return;
  }
  if (I >= 0) SetItemIndex(I);
}

void TspSkinHorzListBox::WndProc(TMessage& M) {
  if (!FocusBeforePress(M, FClicksDisabled, true)) return;
  TspSkinCustomControl::WndProc(M);
}

void TspSkinHorzListBox::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (FOldWidth != -1 && FOldWidth != Width()) {
        CalcItemRects();
        const Integer Off = HorzPullBack(Row());
        if (Off != FScrollOffset) {
          FScrollOffset = Off;
          CalcItemRects();
          Invalidate();
        }
      }
      AdjustScrollBar();
      UpdateScrollInfo();
      FOldWidth = Width();
      return;
    case WM_MOUSEWHEEL:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive || !FScrollBar) return;
      if (static_cast<short>(HIWORD(M.WParam)) < 0)
        FScrollBar->SetPosition(FScrollBar->Position() + FScrollBar->SmallChange());
      else
        FScrollBar->SetPosition(FScrollBar->Position() - FScrollBar->SmallChange());
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) Repaint();
      return;
    case WM_GETDLGCODE:
      M.Result = DLGC_WANTARROWS;
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}

// --- skin and painting

void TspSkinHorzListBox::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  if (FSD && !FSD->Empty) {
    const Integer I = FSD->GetControlIndex(u"edit");
    auto* E = I >= 0 ? dynamic_cast<TspDataSkinEditControl*>(static_cast<TObject*>(FSD->CtrlList->Items(I))) : nullptr;
    FDisabledFontColor = E ? E->DisabledFontColor : FSD->SkinColors()->cBtnShadow();
  }
  if (FScrollBar) {
    FScrollBar->SetSkinData(SkinData());
    AdjustScrollBar();
  }
  CalcItemRects();
  Repaint();
}

void TspSkinHorzListBox::DrawItems(TBitmap* B) {
  CalcItemRects();
  TCanvas* C = B->Canvas();
  TItemClip Clip(C, FItemsRect);
  for (Integer I = 0; I < FItems->Count(); ++I)
    if (FItems->Items(I)->IsVisible) DrawItem(I, C);
}

void TspSkinHorzListBox::CreateControlDefaultImage(TBitmap* B) {
  FillFramedRect(B->Canvas(), TRect(0, 0, Width(), Height()), clBtnShadow, clWindow);
  DrawItems(B);
}

void TspSkinHorzListBox::CreateControlSkinImage(TBitmap* B) {
  TspSkinCustomControl::CreateControlSkinImage(B);
  DrawItems(B);
}

void TspSkinHorzListBox::DrawItem(Integer Index, TCanvas* C) {
  if (Skinned())
    SkinDrawItem(Index, C);
  else
    DefaultDrawItem(Index, C);
}

void TspSkinHorzListBox::DefaultDrawItem(Integer Index, TCanvas* C) {
  TspSkinHorzItem* It = FItems->Items(Index);
  const TRect R = It->ItemRect;
  const bool Current = It->Active && !FShowGlow;
  const TColor Back = Current ? clHighlight : clWindow;
  const TColor Text = Current ? clHighlightText : It->Enabled() ? clWindowText : TColor(0x808080);
  AssignFont(C->Font(), DefaultFont());
  C->Font()->SetColor(Text);
  TItemClip Clip(C, R);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Back);
  C->FillRect(R);
  C->Brush()->SetStyle(bsClear);
  const TRect Content(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  DrawItemContent(Index, C, Content, It->Enabled(), It->Active && FShowGlow, TColor(0xFFFF00));
  if (It->Active && Focused()) {
    C->Brush()->SetStyle(bsSolid);
    C->DrawFocusRect(R);
  }
}

void TspSkinHorzListBox::SkinDrawItem(Integer Index, TCanvas* C) {
  const Integer DI = FSD ? FSD->GetControlIndex(u"listbox") : -1;
  auto* D = DI >= 0 ? dynamic_cast<TspDataSkinListBox*>(static_cast<TObject*>(FSD->CtrlList->Items(DI))) : nullptr;
  if (!D) return;
  if (D->FontColor == FDisabledFontColor && FDisabledFontColor == 0) FDisabledFontColor = 0x808080;
  TspSkinHorzItem* It = FItems->Items(Index);
  auto SetFont = [&](TCanvas* Cv) {
    if (FUseSkinFont) {
      Cv->Font()->SetName(D->FontName);
      Cv->Font()->SetHeight(D->FontHeight);
      Cv->Font()->SetStyle(D->FontStyle);
    } else {
      AssignFont(Cv->Font(), DefaultFont());
    }
    const bool OwnColour = FSkinDataName == u"listbox" || FSkinDataName == u"memo";
    Cv->Font()->SetColor(It->Enabled() ? (OwnColour ? D->FontColor : FSD->SkinColors()->cBtnText())
                                       : FDisabledFontColor);
    Cv->Font()->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  };
  const TRect R = It->ItemRect;
  if (It->Active && It->Enabled() && !FShowGlow && Picture) {
    const Integer W = R.Width(), H = R.Height();
    auto B = NewSkinBitmap(W, H);
    CreateClientStretchImage(B.get(), Picture, Focused() ? D->FocusItemRect : D->ActiveItemRect, D->ItemTextRect,
                             true);
    SetFont(B->Canvas());
    B->Canvas()->Font()->SetColor(Focused() ? D->FocusFontColor : D->ActiveFontColor);
    B->Canvas()->Brush()->SetStyle(bsClear);
    DrawItemContent(Index, B->Canvas(), TRect(2, 2, W - 2, H - 2), It->Enabled());
    C->Draw(R.Left, R.Top, B.get());
    return;
  }
  SetFont(C);
  TItemClip Clip(C, R);
  C->Brush()->SetStyle(bsClear);
  const TRect Content(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  // The current item glows in the skin's highlight colour, drawn as enabled
  // as the control; every other item draws over the control image.
  if (It->Active && It->Enabled() && FShowGlow)
    DrawItemContent(Index, C, Content, Enabled(), true, FSD->SkinColors()->cHighLight());
  else
    DrawItemContent(Index, C, Content, It->Enabled());
}

void TspSkinHorzListBox::DrawItemContent(Integer Index, TCanvas* C, const TRect& Content, bool Enabled, bool Glow,
                                         TColor GlowColor) {
  if (OnDrawItem) {
    OnDrawItem(C, Index, Content);
    return;
  }
  const TspSkinHorzItem* It = FItems->Items(Index);
  if (Glow)
    DrawImageAndTextGlow(C, Content, FItemMargin, FItemSpacing, FItemLayout, It->Caption(), It->ImageIndex(), FImages,
                         false, Enabled, false, 0, GlowColor, 7);
  else
    DrawImageAndText(C, Content, FItemMargin, FItemSpacing, FItemLayout, It->Caption(), It->ImageIndex(), FImages,
                     false, Enabled, false, 0);
}
