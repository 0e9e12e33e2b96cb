#include "skin/form/win/SkinMDITabsBar.h"

#include <algorithm>

#include "skin/controls/win/SkinSpeedButtons.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/MdiArrange.h"
#include "skin/form/win/FormSkin.h"

namespace {

constexpr TColor HotFill = 0xD2BDB6, ActiveFill = 0xB59385;
const char16_t* const kBarItemSuffix = u"_DSFCHILDITEMBAR";
const char16_t* const kHideItemSuffix = u"_DSFCHILDITEMBARHIDE";

TBitmap* PictureAt(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

template <class D>
D* ControlDescription(TspSkinData* SD, const char16_t* Name) {
  if (!SD || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  return I >= 0 ? dynamic_cast<D*>(static_cast<TObject*>(SD->CtrlList->Items(I))) : nullptr;
}

TFontCharset SkinCharset(TspSkinData* SD, TFont* Fallback) {
  return SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : Fallback->Charset();
}

// A nine-slice image of description D at B's size, from Src of D's picture.
void ButtonImage(TspDataSkinButtonControl* D, TspSkinData* SD, TBitmap* B, TRect Src) {
  TBitmap* P = PictureAt(SD, D->PictureIndex);
  if (!P) return;
  const Integer XO = B->Width() - D->SkinRect.Width(), YO = B->Height() - D->SkinRect.Height();
  const TRect NewCl(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + XO, D->ClRect.Bottom + YO);
  CreateNineSliceImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                       TPoint(D->RTPoint.X + XO, D->RTPoint.Y), TPoint(D->LBPoint.X, D->LBPoint.Y + YO),
                       TPoint(D->RBPoint.X + XO, D->RBPoint.Y + YO), NewCl, B, P, Src, B->Width(), B->Height(), true,
                       D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect,
                       D->StretchType);
}

TRect AdaptedClient(TspDataSkinButtonControl* D, Integer W, Integer H) {
  return TRect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + W - D->SkinRect.Width(),
               D->ClRect.Bottom + H - D->SkinRect.Height());
}

bool InRect(const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

TRect Moved(TRect R, TPoint By) { return TRect(R.Left + By.X, R.Top + By.Y, R.Right + By.X, R.Bottom + By.Y); }

}  // namespace

// ---------------------------------------------------------------------------
// TspMDITab

TspMDITab::TspMDITab(TspSkinMDITabsBar* AParentBar, TCustomForm* AChild) : TabsBar(AParentBar), Child(AChild) {}

// The tab's caption font: the skin's or the bar's default font, the skin's
// character set, Color.
void TspMDITab::SetTabFont(TCanvas* C, TColor Color) {
  TspSkinMDITabsBar* Bar = TabsBar;
  if (Bar->UseSkinFont) {
    C->Font()->SetName(Bar->FontName);
    C->Font()->SetStyle(Bar->FontStyle);
    C->Font()->SetHeight(Bar->FontHeight);
  } else {
    C->Font()->Assign(Bar->DefaultFont());
  }
  C->Font()->SetCharset(SkinCharset(Bar->SkinData(), Bar->DefaultFont()));
  C->Font()->SetColor(Color);
}

void TspMDITab::DrawCaption(TBitmap* B, TRect R, bool FireDrawParams) {
  TCanvas* C = B->Canvas();
  WideString S = Child ? Child->Caption() : WideString();
  EllipsizeWideText(C, S, R.Width());
  C->Brush()->SetStyle(bsClear);
  if (FireDrawParams && TabsBar->OnTabGetDrawParamsEvent) TabsBar->OnTabGetDrawParamsEvent(this, C);
  DrawWideText(C, S, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TspMDITab::Draw(TCanvas* Cnvs) {
  TspSkinMDITabsBar* Bar = TabsBar;
  if (ObjectRect.Width() < 1) return;
  const bool Skinned = Bar->FIndex != -1;
  if (Skinned && Bar->TabKind() == sptkButton) {
    ButtonDraw(Cnvs);
    return;
  }
  if (Skinned && !Bar->UseSkinSize) {
    ResizeDraw(Cnvs);
    return;
  }
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(ObjectRect.Width(), ObjectRect.Height());
  TCanvas* C = B.Canvas();
  const Integer CS = Bar->FCloseSize;
  if (!Skinned) {
    C->Brush()->SetColor(MouseIn && !Active ? HotFill : Active ? ActiveFill : clBtnFace);
    C->FillRect(TRect(0, 0, B.Width(), B.Height()));
    C->Font()->Assign(Bar->DefaultFont());
    if (Bar->SkinData() && Bar->SkinData()->ResourceStrData())
      C->Font()->SetCharset(Bar->SkinData()->ResourceStrData()->CharSet());
    TRect TR(2, 0, B.Width() - 2, B.Height());
    if (Bar->ShowCloseButtons) {
      TR.Right = B.Width() - CS - 5;
      DrawCloseButton(C, TRect(TR.Right, 0, B.Width(), B.Height()));
    }
    DrawCaption(&B, TR, true);
  } else {
    TRect Src = MouseIn && !Active ? Bar->MouseInTabRect : Active ? Bar->ActiveTabRect : Bar->TabRect;
    TColor Color = MouseIn && !Active ? Bar->MouseInFontColor : Active ? Bar->ActiveFontColor : Bar->FontColor;
    if (Bar->Picture)
      CreateHorzThreeSliceImage(Bar->TabLeftOffset, Bar->TabRightOffset, &B, Bar->Picture, Src, B.Width(),
                                B.Height(), Bar->TabStretchEffect);
    SetTabFont(C, Color);
    const Integer TH = B.Height();
    TRect TR(Bar->TabLeftOffset, 1, B.Width() - Bar->TabRightOffset, TH);
    if (Bar->ShowCloseButtons) {
      TR = TRect(2, 1, B.Width() - CS - 5, TH);
      DrawCloseButton(C, TRect(TR.Right, 1, B.Width(), TH));
    }
    DrawCaption(&B, TR, false);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TspMDITab::ResizeDraw(TCanvas* Cnvs) {
  TspSkinMDITabsBar* Bar = TabsBar;
  if (ObjectRect.Width() <= 0) return;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  const Integer TH = ObjectRect.Height();
  B.SetSize(ObjectRect.Width(), TH + (Active ? Bar->FActiveTabOffset : 0));
  TRect Src = Bar->TabRect;
  TColor Color = Bar->FontColor;
  if (MouseIn && !Active && !RectIsEmpty(Bar->MouseInTabRect)) {
    Src = Bar->MouseInTabRect;
    Color = Bar->MouseInFontColor;
  } else if (Active) {
    Src = Bar->ActiveTabRect;
    Color = Bar->ActiveFontColor;
  }
  const Integer Q = Bar->TabRect.Height() / 4;
  if (Bar->Picture)
    CreateClientStretchImage(&B, Bar->Picture, Src,
                             TRect(Bar->TabLeftOffset, Q, Src.Width() - Bar->TabRightOffset, Src.Height() - Q), true);
  TCanvas* C = B.Canvas();
  SetTabFont(C, Color);
  TRect TR(2, 1, B.Width() - 2, TH);
  if (Bar->ShowCloseButtons) {
    TR.Right = B.Width() - Bar->FCloseSize - 5;
    DrawCloseButton(C, TRect(TR.Right, 1, B.Width(), TH));
  }
  DrawCaption(&B, TR, true);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TspMDITab::ButtonDraw(TCanvas* Cnvs) {
  TspSkinMDITabsBar* Bar = TabsBar;
  if (ObjectRect.Width() <= 0 || ObjectRect.Height() <= 0) return;
  auto* D = ControlDescription<TspDataSkinButtonControl>(Bar->SkinData(), u"resizebutton");
  if (!D) return;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(ObjectRect.Width(), ObjectRect.Height());
  TRect Src = D->SkinRect;
  TColor Color = D->FontColor;
  if (Active) {
    Src = !RectIsEmpty(D->DownSkinRect) ? D->DownSkinRect : !RectIsEmpty(D->ActiveSkinRect) ? D->ActiveSkinRect
                                                                                             : D->SkinRect;
    Color = D->DownFontColor;
  } else if (MouseIn) {
    Src = !RectIsEmpty(D->ActiveSkinRect) ? D->ActiveSkinRect : D->SkinRect;
    Color = D->ActiveFontColor;
  }
  ButtonImage(D, Bar->SkinData(), &B, Src);
  TCanvas* C = B.Canvas();
  SetTabFont(C, Color);
  TRect TR = AdaptedClient(D, B.Width(), B.Height());
  if (Bar->ShowCloseButtons) {
    TR.Right -= Bar->FCloseSize + 3;
    DrawCloseButton(C, TRect(TR.Right, 0, TR.Right + Bar->FCloseSize + 3, B.Height()));
  }
  const Integer TextH = C->TextHeight(u"Wq");
  if (TR.Height() < TextH) {
    TR.Bottom = TR.Top + TextH;
    const Integer H = TR.Height();
    TR.Top = B.Height() / 2 - H / 2;
    TR.Bottom = TR.Top + H;
  }
  DrawCaption(&B, TR, true);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TspMDITab::DrawCloseButton(TCanvas* Cnvs, TRect R) {
  TspSkinMDITabsBar* Bar = TabsBar;
  const Integer CY = R.Top + R.Height() / 2;
  const bool Skinned = Bar->FIndex != -1;
  if (!Skinned) {
    ButtonRect = TRect(R.Left, CY - 7, R.Left + 14, CY + 7);
    DrawCloseGlyph(Cnvs, ButtonRect.Left + 2, ButtonRect.Top + 2, ButtonMouseIn ? TColor(0xFFFFFF) : TColor(0));
    return;
  }
  if (!RectIsEmpty(Bar->CloseButtonRect)) {
    const TRect Src = ButtonMouseDown && ButtonMouseIn ? Bar->CloseButtonDownRect
                      : ButtonMouseIn                  ? Bar->ClosebuttonActiveRect
                                                       : Bar->CloseButtonRect;
    const Integer W = Src.Width(), H = Src.Height();
    ButtonRect = TRect(R.Left, CY - H / 2, R.Left + W, CY - H / 2 + H);
    if (!Bar->Picture) return;
    if (Bar->ButtonTransparent) {
      TBitmap G;
      G.SetSize(W, H);
      G.Canvas()->CopyRect(TRect(0, 0, W, H), Bar->Picture->Canvas(), Src);
      G.SetTransparent(true);
      G.SetTransparentMode(tmFixed);
      G.SetTransparentColor(Bar->ButtonTransparentColor);
      Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &G);
    } else {
      Cnvs->CopyRect(ButtonRect, Bar->Picture->Canvas(), Src);
    }
    return;
  }
  auto* D = ControlDescription<TspDataSkinButtonControl>(Bar->SkinData(), u"resizetoolbutton");
  if (!D) return;
  const Integer S = Bar->FCloseSize;
  TBitmap G;
  G.SetPixelFormat(pf24bit);
  G.SetSize(S, S);
  TRect Src = D->SkinRect;
  TColor Color = D->FontColor;
  if (ButtonMouseDown && ButtonMouseIn) {
    Src = !RectIsEmpty(D->DownSkinRect) ? D->DownSkinRect : !RectIsEmpty(D->ActiveSkinRect) ? D->ActiveSkinRect
                                                                                             : D->SkinRect;
    Color = D->DownFontColor;
  } else if (ButtonMouseIn) {
    Src = !RectIsEmpty(D->ActiveSkinRect) ? D->ActiveSkinRect : D->SkinRect;
    Color = D->ActiveFontColor;
  }
  ButtonImage(D, Bar->SkinData(), &G, Src);
  DrawCloseGlyph(G.Canvas(), S / 2 - 5, S / 2 - 5, Color);
  ButtonRect = TRect(R.Left, CY - S / 2, R.Left + S, CY - S / 2 + S);
  Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &G);
}

// ---------------------------------------------------------------------------
// TspSkinMDITabsBar

TspSkinMDITabsBar::TspSkinMDITabsBar(TComponent* AOwner) : TspSkinControl(AOwner) {
  ObjectList = new TList;
  FDefaultFont = new TFont;
  FDefaultFont->SetName(u"Arial");
  FDefaultFont->SetStyle(0);
  FDefaultFont->SetHeight(14);
  FListMenu = new TspSkinPopupMenu(this);
  FHideListMenu = new TspSkinPopupMenu(this);
  SetHeight(21);
  SetWidth(150);
  SetSkinDataName(u"tab");
}

TspSkinMDITabsBar::~TspSkinMDITabsBar() {
  *FAlive = false;
  ClearTabs();
  delete ObjectList;
  ObjectList = nullptr;
  delete FDefaultFont;
  FDefaultFont = nullptr;
  DeleteListButton();
}

void TspSkinMDITabsBar::ClearTabs() {
  if (!ObjectList) return;
  for (Integer I = 0; I < ObjectList->Count(); ++I) delete Tabs(I);
  ObjectList->Clear();
}

void TspSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == DSF) DSF = nullptr;
  if (AComponent == FListButton) FListButton = nullptr;
  if (AComponent == FHideListButton) FHideListButton = nullptr;
}

void TspSkinMDITabsBar::SetFormSkin(TspFormSkin* Value) {
  if (DSF) DSF->RemoveFreeNotification(this);
  DSF = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMDITabsBar::AddTab(TCustomForm* Child) {
  ObjectList->Add(new TspMDITab(this, Child));
  if (!FListButton) CreateListButton();
  Repaint();
}

void TspSkinMDITabsBar::DeleteTab(TCustomForm* Child) {
  if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount() && Tabs(ActiveTabIndex)->Child == Child) {
    if (OnTabMouseLeave) OnTabMouseLeave(Tabs(ActiveTabIndex));
    ActiveTabIndex = OldTabIndex = -1;
  }
  for (Integer I = 0; I < TabCount(); ++I)
    if (Tabs(I)->Child == Child) {
      delete Tabs(I);
      ObjectList->Delete(I);
      if (DragIndex >= TabCount()) DragIndex = -1;
      break;
    }
  if (FListButton && TabCount() == 0) DeleteListButton();
  Repaint();
}

void TspSkinMDITabsBar::UpdateActiveTab() {
  TCustomForm* Main = Application ? Application->MainForm() : nullptr;
  TCustomForm* A = Main && Main->FormStyle() == fsMDIForm ? Main->ActiveMDIChild() : nullptr;
  if (!A) return;
  for (Integer I = 0; I < TabCount(); ++I) Tabs(I)->Active = Tabs(I)->Child == A;
  Repaint();
}

Integer TspSkinMDITabsBar::GetTabIndex(Integer X, Integer Y) {
  for (Integer I = 0; I < TabCount(); ++I) {
    const TspMDITab* T = Tabs(I);
    const TRect& R = T->ObjectRect;
    if (T->Visible && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom) return I;
  }
  return -1;
}

TspMDITab* TspSkinMDITabsBar::GetTab(Integer X, Integer Y) {
  const Integer I = GetTabIndex(X, Y);
  return I == -1 ? nullptr : Tabs(I);
}

Integer TspSkinMDITabsBar::GetCloseSize() {
  if (FIndex == -1 || RectIsEmpty(CloseButtonRect)) return 14;
  return CloseButtonRect.Width();
}

void TspSkinMDITabsBar::SetTabKind(TspSkinMDITabKind Value) {
  FTabKind = Value;
  if (FIndex != -1) Repaint();
}

void TspSkinMDITabsBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TspSkinMDITabsBar::CalcTabRects() {
  FInVisibleCount = 0;
  const Integer N = TabCount();
  if (N == 0) return;
  const Integer H = FTabKind == sptkTab ? Height() - FBottomOffset : Height();
  const TspMdiTabsLayout L = MdiTabsLayout(N, Width(), H, DefaultTabWidth, MinTabWidth);
  for (Integer I = 0; I < N; ++I) {
    Tabs(I)->ObjectRect = L.Rects[size_t(I)];
    Tabs(I)->Visible = L.Visible[size_t(I)];
  }
  FInVisibleCount = L.InVisibleCount;
  FDragLimit = L.DragLimit;
  if (DragIndex != -1 && DragIndex < N && IsDrag)
    Tabs(DragIndex)->ObjectRect = DraggedTabRect(Tabs(DragIndex)->ObjectRect, TabDX, FDragLimit);
}

Integer TspSkinMDITabsBar::GetDropIndex() {
  std::vector<TRect> Rects;
  std::vector<bool> Vis;
  for (Integer I = 0; I < TabCount(); ++I) {
    Rects.push_back(Tabs(I)->ObjectRect);
    Vis.push_back(Tabs(I)->Visible);
  }
  return MdiTabDropIndex(Rects, Vis, DragIndex, TabDX);
}

void TspSkinMDITabsBar::DrawTabs(TBitmap* B) {
  CalcTabRects();
  const bool Dragging = IsDrag && DragIndex != -1 && DragIndex < TabCount();
  for (Integer I = 0; I < TabCount(); ++I)
    if (Tabs(I)->Visible && !(Dragging && I == DragIndex)) Tabs(I)->Draw(B->Canvas());
  if (!Dragging) return;
  Tabs(DragIndex)->Draw(B->Canvas());
  const Integer Drop = GetDropIndex();
  if (Drop == -1) return;
  // The drop marker: three inverted lines and two open triangles.
  TCanvas* C = B->Canvas();
  const Integer X = TabDX > 0 ? Tabs(Drop)->ObjectRect.Right : Tabs(Drop)->ObjectRect.Left;
  const Integer H = Height() / 2;
  C->Pen()->SetMode(pmNot);
  C->Brush()->SetStyle(bsClear);
  for (Integer D = -1; D <= 1; ++D) {
    C->MoveTo(X + D, 0);
    C->LineTo(X + D, Height());
  }
  for (Integer S : {1, -1}) {
    C->MoveTo(X + 2 * S, H);
    C->LineTo(X + 5 * S, H - 3);
    C->LineTo(X + 5 * S, H + 3);
    C->LineTo(X + 2 * S, H);
  }
  C->Pen()->SetMode(pmCopy);
}

void TspSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, B->Width(), B->Height()));
  if (TabCount() == 0) return;
  DrawTabs(B);
}

void TspSkinMDITabsBar::CreateControlSkinImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const Integer RowH = FTabKind == sptkTab ? B->Height() - FBottomOffset : B->Height();
  if (FSD && FSD->MDITabsTransparent) {
    PaintParentBackground(this, C);
  } else if (Picture && TabsBGRect.Width() > 0) {
    TBitmap T;
    T.SetSize(std::max(1, TabRect.Width()), std::max(1, TabRect.Height()));
    T.Canvas()->CopyRect(TRect(0, 0, T.Width(), T.Height()), Picture->Canvas(), TabsBGRect);
    const Integer CW = TabsBGRect.Width();
    for (Integer I = 0; I <= B->Width() / CW; ++I) C->StretchDraw(TRect(I * CW, 0, I * CW + CW, RowH), &T);
  }
  if (FTabKind == sptkTab && !RectIsEmpty(SkinRect) && Picture && FBottomOffset > 0) {
    TBitmap S;
    S.SetPixelFormat(pf24bit);
    S.SetSize(B->Width(), FBottomOffset);
    CreateHorzThreeSliceImage(LTPoint.X, SkinRect.Width() - RTPoint.X, &S, Picture,
                              TRect(SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X,
                                    SkinRect.Top + ClRect.Top),
                              B->Width(), FBottomOffset, false);
    C->Draw(0, B->Height() - FBottomOffset, &S);
  }
  if (TabCount() > 0) DrawTabs(B);
}

void TspSkinMDITabsBar::Paint() {
  TspSkinControl::Paint();
  if (FInVisibleCount > 0 && !FHideListButton)
    CreateHideListButton();
  else if (FInVisibleCount == 0 && FHideListButton)
    DeleteHideListButton();
}

void TspSkinMDITabsBar::GetSkinData() {
  TspSkinControl::GetSkinData();
  auto* D = dynamic_cast<TspDataSkinTabControl*>(SkinDescription());
  if (!D) return;
  Picture = PictureAt(FSD, D->PictureIndex);
  TabRect = D->TabRect;
  ActiveTabRect = RectIsEmpty(D->ActiveTabRect) ? D->TabRect : D->ActiveTabRect;
  MouseInTabRect = RectIsEmpty(D->MouseInTabRect) ? D->TabRect : D->MouseInTabRect;
  TabsBGRect = D->TabsBGRect;
  TabLeftOffset = D->TabLeftOffset;
  TabRightOffset = D->TabRightOffset;
  FontName = D->FontName;
  FontColor = D->FontColor;
  ActiveFontColor = D->FocusFontColor;
  MouseInFontColor = D->MouseInFontColor;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  TabStretchEffect = D->TabStretchEffect;
  CloseButtonRect = D->CloseButtonRect;
  ClosebuttonActiveRect = D->CloseButtonActiveRect;
  CloseButtonDownRect = D->CloseButtonDownRect;
  if (RectIsEmpty(D->CloseButtonActiveRect)) D->CloseButtonActiveRect = D->CloseButtonRect;
  if (RectIsEmpty(D->CloseButtonDownRect)) D->CloseButtonDownRect = D->CloseButtonActiveRect;
  ButtonTransparent = D->ButtonTransparent;
  ButtonTransparentColor = D->ButtonTransparentColor;
  LTPoint = D->LTPoint;
  RTPoint = D->RTPoint;
  ClRect = D->ClRect;
  SkinRect = D->SkinRect;
  FBottomOffset = ClRect.Top;
  FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TspSkinMDITabsBar::ChangeSkinData() {
  TspSkinControl::ChangeSkinData();
  FCloseSize = GetCloseSize();
  if (FIndex != -1 && UseSkinSize)
    SetHeight(TabRect.Height() + (FTabKind == sptkTab ? FBottomOffset : 0));
  else if (FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
  if (FListButton) FListButton->SetSkinData(FSD);
  if (ShowCloseButtons) Repaint();
  Realign();
}

void TspSkinMDITabsBar::AdjustClientRect(TRect& Rect) {
  TspSkinControl::AdjustClientRect(Rect);
  if (FTabKind == sptkTab && FIndex != -1) Rect.Bottom -= FBottomOffset;
}

void TspSkinMDITabsBar::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_MOVE:
      TspSkinControl::Dispatch(M);
      if (FIndex != -1 && FSD && FSD->MDITabsTransparent && Align() == alNone) Repaint();
      return;
    case 0x504:  // what lies behind changed
      if (FIndex != -1 && FSD && FSD->MDITabsTransparent) Repaint();
      return;
    case CM_MOUSELEAVE:
      TspSkinControl::Dispatch(M);
      if (!IsDrag) TestActive(-1, -1);
      return;
    default: TspSkinControl::Dispatch(M);
  }
}

// ---------------------------------------------------------------------------
// The pointer

void TspSkinMDITabsBar::TestActive(Integer X, Integer Y) {
  auto Alive = FAlive;
  ActiveTabIndex = GetTabIndex(X, Y);
  bool Changed = false;
  if (ActiveTabIndex != OldTabIndex) {
    Changed = true;
    if (OldTabIndex >= 0 && OldTabIndex < TabCount() && Tabs(OldTabIndex)->Visible) {
      TspMDITab* T = Tabs(OldTabIndex);
      T->MouseIn = false;
      T->Draw(Canvas());
      if (OnTabMouseLeave) OnTabMouseLeave(T);
      if (!*Alive) return;
    }
    if (ActiveTabIndex >= 0 && Tabs(ActiveTabIndex)->Visible) {
      TspMDITab* T = Tabs(ActiveTabIndex);
      T->MouseIn = true;
      T->Draw(Canvas());
      if (OnTabMouseEnter) OnTabMouseEnter(T);
      if (!*Alive) return;
    }
    OldTabIndex = ActiveTabIndex;
  }
  if (!ShowCloseButtons) return;
  if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount()) {
    TspMDITab* T = Tabs(ActiveTabIndex);
    const bool In = InRect(Moved(T->ButtonRect, T->ObjectRect.TopLeft()), X, Y);
    if (In && !T->ButtonMouseIn) {
      T->ButtonMouseIn = true;
      T->Draw(Canvas());
    } else if (!In && T->ButtonMouseIn) {
      T->ButtonMouseIn = T->ButtonMouseDown = false;
      T->Draw(Canvas());
    }
  }
  if (Changed) {
    bool Any = false;
    for (Integer I = 0; I < TabCount(); ++I)
      if (I != ActiveTabIndex && Tabs(I)->ButtonMouseIn) {
        Tabs(I)->ButtonMouseIn = Tabs(I)->ButtonMouseDown = false;
        Any = true;
      }
    if (Any) Repaint();
  }
}

void TspSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TspSkinControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive) return;
  const Integer Index = GetTabIndex(X, Y);
  TspMDITab* T = Index == -1 ? nullptr : Tabs(Index);
  if (!T) return;
  TCustomForm* Child = T->Child;
  TspFormSkin* CS = Child ? dynamic_cast<TspFormSkin*>(FindSkinForm(Child)) : nullptr;
  if (Button == mbLeft) {
    Child->Show();
    if (!*Alive) return;
    if (CS && CS->WindowState() == wsMinimized) CS->SetWindowState(wsNormal);
    if (!*Alive) return;
    FDown = true;
    if (MoveTabs) DragIndex = Index;
    DX = X;
    TabDX = 0;
    if ((Shift & ssDouble) && DblClickChildMove && CS && CS->WindowState() == wsNormal)
      Child->SetBounds(0, 0, Child->Width(), Child->Height());
    if (OnTabMouseDown) OnTabMouseDown(Button, Shift, T);
    if (!*Alive || Index >= TabCount() || Tabs(Index) != T) return;
    if (ShowCloseButtons) {
      if (InRect(Moved(T->ButtonRect, T->ObjectRect.TopLeft()), X, Y)) {
        FDown = false;
        T->ButtonMouseIn = T->ButtonMouseDown = true;
        T->Draw(Canvas());
      } else {
        T->ButtonMouseIn = T->ButtonMouseDown = false;
      }
    }
  } else if (Button == mbRight) {
    if (SupportChildMenus && CS && DSF) {
      DSF->SkinMenuOpen();
      const TPoint P = ClientToScreen(TPoint(X, Y));
      DSF->SkinMenu->Popup(Parent(), DSF->MenusSkinData() ? DSF->MenusSkinData() : DSF->SkinData(), 0,
                           TRect(P.X, P.Y, P.X, P.Y), CS->GetSystemMenuItems(), false, false);
      if (!*Alive || Index >= TabCount() || Tabs(Index) != T) return;
    }
    if (OnTabMouseDown) OnTabMouseDown(Button, Shift, T);
  }
}

void TspSkinMDITabsBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TspSkinControl::MouseMove(Shift, X, Y);
  if (FDown && DragIndex != -1 && !IsDrag && X != DX) IsDrag = true;
  if (IsDrag) {
    TabDX = X - DX;
    Repaint();
  } else {
    TestActive(X, Y);
  }
}

void TspSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TspSkinControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  FDown = false;
  if (IsDrag) {
    IsDrag = false;
    // The places of the drag's last paint decide the drop.
    IsDrag = true;
    CalcTabRects();
    const Integer Drop = GetDropIndex();
    IsDrag = false;
    if (Drop != -1 && Drop != DragIndex) ObjectList->Move(DragIndex, Drop);
    DragIndex = -1;
    DX = TabDX = 0;
    Repaint();
    return;
  }
  TspMDITab* T = GetTab(X, Y);
  if (T && OnTabMouseUp) {
    OnTabMouseUp(Button, Shift, T);
    if (!*Alive) return;
    T = GetTab(X, Y);
  }
  if (ShowCloseButtons && Button == mbLeft && T) {
    if (InRect(Moved(T->ButtonRect, T->ObjectRect.TopLeft()), X, Y)) {
      T->ButtonMouseIn = true;
      T->ButtonMouseDown = false;
      T->Draw(Canvas());
      T->Child->Close();
    } else {
      T->ButtonMouseIn = T->ButtonMouseDown = false;
    }
  }
}

// ---------------------------------------------------------------------------
// The list buttons and their menus

void TspSkinMDITabsBar::CreateListButton() {
  if (!FListButton) FListButton = MakeListButton(alLeft, FListMenu, 4, false);
}

void TspSkinMDITabsBar::DeleteListButton() { ReleaseListButton(FListButton); }

void TspSkinMDITabsBar::CreateHideListButton() {
  if (!FHideListButton) FHideListButton = MakeListButton(alRight, FHideListMenu, 2, true);
}

void TspSkinMDITabsBar::DeleteHideListButton() { ReleaseListButton(FHideListButton); }

TspSkinMenuSpeedButton* TspSkinMDITabsBar::MakeListButton(TAlign AAlign, TspSkinPopupMenu* AMenu, Integer AArrowType,
                                                          bool AHiddenOnly) {
  auto* B = new TspSkinMenuSpeedButton(this);
  B->SetAlign(AAlign);
  B->SetSkinDataName(u"resizetoolbutton");
  B->SetSkinData(FSD);
  B->SetWidth(15);
  B->SetParent(this);
  B->SetSkinPopupMenu(AMenu);
  B->FDrawStandardArrow = true;
  B->FArrowType = AArrowType;
  B->OnShowTrackMenu = [this, Alive = FAlive, AHiddenOnly](TObject*) {
    if (!*Alive) return;
    if (AHiddenOnly)
      FillHideListMenu();
    else
      FillListMenu();
  };
  B->Repaint();
  return B;
}

void TspSkinMDITabsBar::ReleaseListButton(TspSkinMenuSpeedButton*& AButton) {
  if (!AButton) return;
  TspSkinMenuSpeedButton* B = AButton;
  AButton = nullptr;
  B->SetVisible(false);
  delete B;
}

void TspSkinMDITabsBar::FillListMenu() { FillChildrenMenu(FListMenu, false, kBarItemSuffix); }

void TspSkinMDITabsBar::FillHideListMenu() { FillChildrenMenu(FHideListMenu, true, kHideItemSuffix); }

void TspSkinMDITabsBar::FillChildrenMenu(TspSkinPopupMenu* AMenu, bool AHiddenOnly, const char16_t* ASuffix) {
  TMenuItem* Root = AMenu->Items();
  while (Root->Count() > 0) delete Root->Items(Root->Count() - 1);
  for (Integer I = 0; I < TabCount(); ++I) {
    TspMDITab* T = Tabs(I);
    if (AHiddenOnly && T->Visible) continue;
    auto* It = new TMenuItem(this);
    It->SetName(T->Child->Name() + ASuffix);
    It->SetCaption(T->Child->Caption());
    It->SetRadioItem(true);
    It->SetGroupIndex(0);
    It->SetChecked(T->Active);
    It->OnClick = [this, Alive = FAlive, ASuffix](TObject* S) {
      if (*Alive) ChildItemClick(S, ASuffix);
    };
    Root->Add(It);
  }
}

void TspSkinMDITabsBar::ChildItemClick(TObject* Sender, const char16_t* Suffix) {
  auto* It = dynamic_cast<TMenuItem*>(Sender);
  if (!DSF || !It) return;
  String Name = It->Name();
  // The hidden-tabs suffix starts with the list suffix: remove the one the
  // item was made with.
  if (const size_t P = Name.find(Suffix); P != String::npos)
    Name.erase(P, std::char_traits<char16_t>::length(Suffix));
  TCustomForm* F = DSF->FForm;
  for (Integer I = 0; F && I < F->MDIChildCount(); ++I) {
    TCustomForm* C = F->MDIChildren(I);
    if (C->Name() != Name) continue;
    if (auto* CS = dynamic_cast<TspFormSkin*>(FindSkinForm(C)); CS && CS->WindowState() == wsMinimized)
      CS->SetWindowState(wsNormal);
    C->Show();
  }
}
