#include "skin/controls/win/SkinPageControl.h"

#include <memory>

#include "rtl/ScopeGuard.h"

#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinTabImages.h"
#include "skin/controls/win/SkinUpDown.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

namespace {

bool Vertical(TTabPosition P) { return P == tpLeft || P == tpRight; }

void Shift(TRect& R, Integer DX, Integer DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
}

// X in the low 16 bits of a mouse message's lParam lowered by Offset.
LPARAM LowerX(LPARAM LParam, Integer Offset) {
  const SmallInt X = SmallInt(LOWORD(LParam) - Offset);
  return LPARAM(MAKELONG(Word(X), HIWORD(LParam)));
}

}  // namespace

// ---------------------------------------------------------------------------
// TspSkinCustomTabSheet

TspSkinCustomTabSheet::TspSkinCustomTabSheet(TComponent* AOwner) : TTabSheet(AOwner), FWallPaper(new TBitmap()) {
  SetAlign(alClient);
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetVisible(false);
}

TspSkinCustomTabSheet::~TspSkinCustomTabSheet() {
  SetPageControl(nullptr);
  delete FWallPaper;
}

void TspSkinCustomTabSheet::CreateParams(TCreateParams& Params) {
  TTabSheet::CreateParams(Params);
  Params.ClassStyle &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinCustomTabSheet::SetWallPaper(TBitmap* Value) {
  FWallPaper->Assign(Value);
  if (ComponentState().Contains(csDesigning)) Invalidate();
}

TspSkinPageControl* TspSkinCustomTabSheet::Owner() const { return dynamic_cast<TspSkinPageControl*>(Parent()); }

void TspSkinCustomTabSheet::PaintBG(HDC DC) {
  TspSkinPageControl* PC = Owner();
  if (Width() < 1 || Height() < 1 || !PC) return;
  PC->GetSkinData();
  auto C = std::make_unique<TCanvas>();
  C->SetHandle(DC);
  TFinally Off([&] { C->SetHandle(nullptr); });
  const Integer W = Width(), H = Height();
  if (!FWallPaper->Empty()) {
    DrawStretchOrTile(C.get(), W, H, FWallPaper, false, spstFull);
    return;
  }
  TspSkinData* SD = PC->SkinData();
  const bool Skinned = SD && !SD->Empty && PC->Skinned();
  if (Skinned && PC->BGPictureIndex != -1) {
    DrawStretchOrTile(C.get(), W, H, SkinActivePicture(SD, PC->BGPictureIndex), PC->StretchEffect, PC->StretchType);
  } else if (!Skinned) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, W, H));
  } else if (auto S = PC->ClientPiece()) {
    if (PC->StretchEffect && PC->Width() > 0 && PC->Height() > 0)
      DrawStretchOrTile(C.get(), PC->Width(), PC->Height(), S.get(), true, PC->StretchType);
    else
      DrawStretchOrTile(C.get(), W, H, S.get(), false, spstFull);
  }
}

void TspSkinCustomTabSheet::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_ERASEBKGND:
      PaintBG(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_SIZE: {
      auto Alive = LivenessToken();
      TTabSheet::Dispatch(M);
      if (!*Alive) return;
      Repaint();
      TspSkinPageControl* PC = Owner();
      if (PC && PC->SkinData() && !PC->SkinData()->Empty && PC->StretchEffect) {
        for (Integer I = 0; I < ControlCount(); ++I)
          if (auto* W = dynamic_cast<TWinControl*>(Controls(I)); W && W->HandleAllocated())
            SendMessageW(W->Handle(), SP_PARENT_BACKGROUND_CHANGED, 0, 0);
      }
      return;
    }
    case FEM_PAINT_FRAME:
      M.Result = SP_FRAME_PAINTED;
      return;
  }
  TTabSheet::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinPageControl

TspSkinPageControl::TspSkinPageControl(TComponent* AOwner) : TspSkinTabsBase<TPageControl>(AOwner) {}

void TspSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPressedClosePage) FPressedClosePage = nullptr;
  ForgetRemoved(AComponent);
}

// ---------------------------------------------------------------------------
// Skin

void TspSkinPageControl::ChangeSkinData() {
  GetSkinData();
  if (FShowCloseButtons) {
    FCloseSize = GetCloseSize();
    UpdateReserveImages();
  }
  Integer H = TabHeight();
  if (!Skinned()) {
    Font()->Assign(FDefaultFont);
    if (FSD && FSD->ResourceStrData()) Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    if (H <= 0) H = FDefaultItemHeight;
  } else {
    if (FUseSkinFont) {
      Font()->SetName(FontName);
      Font()->SetHeight(FontHeight);
      Font()->SetStyle(FontStyle);
    } else {
      Font()->Assign(FDefaultFont);
    }
    Font()->SetCharset(FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
    Font()->SetColor(FontColor);
    if (H <= 0) H = TabRect.Height();
  }
  SetItemSize(TabWidth(), H);
  SyncSkinUpDown();
  Realign();
  if (FSkinUpDown) {
    FreeSkinUpDown();
    UpdateSkinUpDown();
  }
  if (ActivePage()) ActivePage()->Invalidate();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Layout

void TspSkinPageControl::SetShowCloseButtons(bool Value) {
  if (FShowCloseButtons != Value) {
    FShowCloseButtons = Value;
    UpdateReserveImages();
  }
  Invalidate();
}

void TspSkinPageControl::SetTabsOffset(Integer Value) {
  FTabsOffset = Value;
  if (Value > 0) {
    if (TabPosition() != tpTop) SetTabPosition(tpTop);
    if (MultiLine()) SetMultiLine(false);
    FTabsBGTransparent = true;
  }
  Invalidate();
}

void TspSkinPageControl::SetTabsInCenter(bool Value) {
  if (TabWidth() == 0) {
    FTabsInCenter = false;
    return;
  }
  FTabsInCenter = Value;
  if (Value) {
    if (TabPosition() != tpTop) SetTabPosition(tpTop);
    if (MultiLine()) SetMultiLine(false);
    FTabsBGTransparent = true;
  }
  Invalidate();
}

void TspSkinPageControl::CreateWnd() {
  TPageControl::CreateWnd();
  // A new window (a changed side, style or row mode) starts from the
  // layout's own tab size: give it the skin's or the default one again.
  if (FItemHeight >= 0) {
    SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(TabWidth(), FItemHeight));
    Realign();
  }
  UpdateSkinUpDown();
}

void TspSkinPageControl::TabsChanged() {
  TPageControl::TabsChanged();
  // Tabs added or hidden at run time may overflow the row, or fit again.
  if (!FHideTabs && !ComponentState().Contains(csDestroying)) UpdateSkinUpDown();
}

void TspSkinPageControl::SetMultiLine(bool Value) {
  TPageControl::SetMultiLine(Value);
  UpdateSkinUpDown();
}

bool TspSkinPageControl::HasVisibleTabs() const {
  for (Integer I = 0; I < PageCount(); ++I)
    if (Pages(I)->TabVisible()) return true;
  return false;
}

Integer TspSkinPageControl::GetTabsOffset() const {
  Integer Visible = 0;
  for (Integer I = 0; I < PageCount(); ++I) Visible += Pages(I)->TabVisible();
  return TabsRowOffset(FTabsOffset, TabWidth(), Width(), Visible);
}

TTabSheet* TspSkinPageControl::VisiblePage(Integer V) const {
  if (V < 0) return nullptr;
  for (Integer I = 0; I < PageCount(); ++I)
    if (Pages(I)->TabVisible() && V-- == 0) return Pages(I);
  return nullptr;
}

TspSkinCustomTabSheet* TspSkinPageControl::SheetOf(Integer PageIndex) const {
  if (PageIndex < 0 || PageIndex >= PageCount()) return nullptr;
  return dynamic_cast<TspSkinCustomTabSheet*>(Pages(PageIndex));
}

// ---------------------------------------------------------------------------
// Hiding the tabs

void TspSkinPageControl::HideTabs() {
  if (FOldTabHeight != -1 || !HasVisibleTabs()) return;
  FHideTabs = true;
  FOLdTabPosition = TabPosition();
  FOldMultiLine = MultiLine();
  if (Vertical(TabPosition())) SetTabPosition(tpTop);
  SetMultiLine(false);
  FOldTabHeight = TabHeight();
  SetTabHeight(1);
  FreeSkinUpDown();
}

void TspSkinPageControl::ShowTabs() {
  if (FOldTabHeight == -1) return;
  SetTabPosition(FOLdTabPosition);
  SetMultiLine(FOldMultiLine);
  FHideTabs = false;
  SetTabHeight(SmallInt(FOldTabHeight));
  if (FOldTabHeight <= 0 && Skinned()) SetItemSize(TabWidth(), TabRect.Height());
  FOldTabHeight = -1;
  if (!MultiLine()) UpdateSkinUpDown();
}

void TspSkinPageControl::HideBorderAndTabs() {
  if (TabPosition() != tpTop) SetTabPosition(tpTop);
  FHideTabs = true;
  FHideBorder = true;
  FreeSkinUpDown();
  Realign();
}

void TspSkinPageControl::ShowBorderAndTabs() {
  FHideBorder = false;
  FHideTabs = false;
  ShowTabs();
  Realign();
}

// ---------------------------------------------------------------------------
// Hot tracking, closing, wheel

void TspSkinPageControl::RedrawTabs() {
  if (!HandleAllocated()) return;
  DrawTabs(Canvas());
}

bool TspSkinPageControl::HotButtonRect(TRect& B, bool MouseMessage) {
  TspSkinCustomTabSheet* S = FActiveTabIndex == -1 ? nullptr : SheetOf(FActiveTab);
  if (!S || !FShowCloseButtons) return false;
  const TRect R = GetItemRect(FActiveTabIndex);
  B = S->ButtonRect;
  Shift(B, R.Left, R.Top);
  if (MouseMessage && RowMoved()) Shift(B, -GetTabsOffset(), 0);
  return true;
}

void TspSkinPageControl::TrackHotTab(Integer X, Integer Y) {
  if (FHideTabs) return;
  FOldActiveTab = FActiveTab;
  FOldActiveTabIndex = FActiveTabIndex;
  FActiveTab = -1;
  FActiveTabIndex = -1;
  Integer V = 0;
  for (Integer I = 0; I < PageCount(); ++I) {
    if (!Pages(I)->TabVisible()) continue;
    const TRect R = GetItemRect(V);
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) {
      FActiveTab = I;
      FActiveTabIndex = V;
      break;
    }
    ++V;
  }
  // One redraw shows every change of this move.
  bool Redraw = false;
  if (FActiveTabIndex != FOldActiveTabIndex) {
    const Integer Sel = TabIndex();
    if (FOldActiveTabIndex != -1 && FOldActiveTabIndex != Sel && FOldActiveTabIndex < PageCount()) {
      if (auto* S = SheetOf(FOldActiveTab)) {
        S->ButtonMouseIn = false;
        S->ButtonMouseDown = false;
      }
      Redraw = true;
    }
    if (FActiveTabIndex != -1 && FActiveTabIndex != Sel && FActiveTabIndex < PageCount()) Redraw = true;
  }
  TRect B;
  if (HotButtonRect(B, false)) {
    TspSkinCustomTabSheet* S = SheetOf(FActiveTab);
    const bool In = X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom;
    if (In && !S->ButtonMouseIn) {
      S->ButtonMouseIn = true;
      Redraw = true;
    } else if (!In && S->ButtonMouseIn) {
      S->ButtonMouseIn = false;
      S->ButtonMouseDown = false;
      Redraw = true;
    }
  }
  if (Redraw) RedrawTabs();
}

void TspSkinPageControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseMove(Shift, X, Y);
  if (!FHideTabs && !ComponentState().Contains(csDesigning)) TrackHotTab(X, Y);
}

void TspSkinPageControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseDown(Button, Shift, X, Y);
  if (FHideTabs || Button != mbLeft) return;
  if (!ComponentState().Contains(csDesigning) && !RowMoved()) TrackHotTab(X, Y);
  if (FPressedClosePage) FPressedClosePage->RemoveFreeNotification(this);
  FPressedClosePage = nullptr;
  TRect B;
  if (!HotButtonRect(B, true)) return;
  TspSkinCustomTabSheet* S = SheetOf(FActiveTab);
  if (X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom) {
    S->ButtonMouseIn = true;
    S->ButtonMouseDown = true;
    FPressedClosePage = S;
    S->FreeNotification(this);
    RedrawTabs();
  } else {
    S->ButtonMouseIn = false;
    S->ButtonMouseDown = false;
  }
}

void TspSkinPageControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseUp(Button, Shift, X, Y);
  if (FHideTabs || Button != mbLeft) return;
  TTabSheet* Pressed = FPressedClosePage;
  if (Pressed) Pressed->RemoveFreeNotification(this);
  FPressedClosePage = nullptr;
  if (!ComponentState().Contains(csDesigning) && !RowMoved()) TrackHotTab(X, Y);
  TRect B;
  if (!HotButtonRect(B, true)) return;
  TspSkinCustomTabSheet* S = SheetOf(FActiveTab);
  if (X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom) {
    S->ButtonMouseIn = true;
    S->ButtonMouseDown = false;
    RedrawTabs();
    // Only a press that began on this same button closes, and it closes
    // this tab's page (the selection may have been refused).
    if (Pressed == S) ClosePage(FActiveTabIndex);
  } else {
    S->ButtonMouseIn = false;
    S->ButtonMouseDown = false;
  }
}

void TspSkinPageControl::ClosePage(Integer TabNumber) {
  TTabSheet* P = VisiblePage(TabNumber);
  if (!P) return;
  bool CanClose = true;
  if (OnClose) OnClose(P, CanClose);
  if (CanClose) {
    P->SetTabVisible(false);
    FActiveTabIndex = -1;
    FOldActiveTabIndex = -1;
    if (FFreeOnClose) delete P;
    if (OnAfterClose) OnAfterClose(this);
    return;
  }
  POINT Pt{};
  GetCursorPos(&Pt);
  if (WindowFromPoint(Pt) != Handle()) {
    if (auto* S = dynamic_cast<TspSkinCustomTabSheet*>(P)) {
      S->ButtonMouseIn = false;
      S->ButtonMouseDown = false;
    }
    RedrawTabs();
  }
}

void TspSkinPageControl::MouseLeave() {
  if (FHideTabs) return;
  TrackHotTab(-1, -1);
  const Integer Sel = TabIndex();
  if (FOldActiveTabIndex != -1 && FOldActiveTabIndex != Sel && FOldActiveTabIndex < PageCount()) {
    FOldActiveTabIndex = -1;
    FOldActiveTab = -1;
    RedrawTabs();
  }
  if (FActiveTabIndex != -1 && FActiveTabIndex != Sel && FActiveTabIndex < PageCount()) {
    FActiveTabIndex = -1;
    FActiveTab = -1;
    RedrawTabs();
  }
}

void TspSkinPageControl::Wheel(bool Next) {
  TTabSheet* A = ActivePage();
  const Integer I = A ? A->PageIndex() : -1;
  if (I < 0) return;
  if (Next) {
    for (Integer K = I + 1; K < PageCount(); ++K)
      if (Pages(K)->TabVisible()) {
        SetActivePage(Pages(K));
        return;
      }
  } else {
    for (Integer K = I - 1; K >= 0; --K)
      if (Pages(K)->TabVisible()) {
        SetActivePage(Pages(K));
        return;
      }
  }
}

void TspSkinPageControl::Change() {
  if (FSkinUpDown) FSkinUpDown->SetPosition(GetScrolledTabCount());
  TPageControl::Change();
  Invalidate();
  if (ActivePage()) ActivePage()->Invalidate();
}

// ---------------------------------------------------------------------------
// The skinned scroll arrows

std::vector<TRect> TspSkinPageControl::VisibleTabRects() {
  std::vector<TRect> Tabs;
  Integer V = 0;
  for (Integer I = 0; I < PageCount(); ++I)
    if (Pages(I)->TabVisible()) Tabs.push_back(GetItemRect(V++));
  return Tabs;
}

Integer TspSkinPageControl::GetHiddenTabCount() { return HiddenTabCount(VisibleTabRects(), Width() - 3); }

Integer TspSkinPageControl::GetScrolledTabCount() { return ScrolledTabCount(VisibleTabRects()); }

void TspSkinPageControl::CreateSkinUpDown() {
  if (FHideTabs) return;
  auto* U = new TspSkinUpDown(this);
  FSkinUpDown = U;
  U->SetParent(this);
  U->SetWidth(FDefaultItemHeight * 2);
  U->SetHeight(FDefaultItemHeight);
  U->SetMin(0);
  U->SetMax(GetHiddenTabCount());
  U->SetPosition(GetScrolledTabCount());
  U->SetIncrement(1);
  U->OnChange = [this](TObject* Sender) { SkinUpDownChange(Sender); };
  U->SetLeft(Width() - U->Width());
  U->SetSkinDataName(UpDown);
  U->SetSkinData(FSD);
  U->SetTop(TabArrowsPlace(ArrowPlace(U, ArrowsBeside())).Y);
  U->SetVisible(true);
}

// ---------------------------------------------------------------------------
// Painting

TRect TspSkinPageControl::FrameRect() { return SkinFrameRect(DisplayRect()); }

TRect TspSkinPageControl::GetActiveTabArea() {
  const Integer Sel = TabIndex();
  if (Sel < 0 || Sel >= PageCount() || !HasVisibleTabs() || !ActivePage()) return TRect();
  return GrowActiveTab(GetItemRect(Sel));
}

void TspSkinPageControl::PaintDefaultFrame(TCanvas* C) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, Width(), Height()));
  if (FHideBorder) return;
  TRect R = DisplayRect();
  R = TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(R);
}

void TspSkinPageControl::PaintSkinFrame(TCanvas* C) {
  if (FHideBorder) return;
  GetSkinData();
  const TRect A = GetActiveTabArea();
  DrawFrameStrips(C, FrameRect(), !FHideTabs && Style() == tsTabs ? A : TRect());
}

void TspSkinPageControl::PaintBackground(HDC DC) {
  auto C = std::make_unique<TCanvas>();
  C->SetHandle(DC);
  TFinally Off([&] { C->SetHandle(nullptr); });
  if (BGPictureIndex != -1) {
    DrawStretchOrTile(C.get(), Width(), Height(), SkinActivePicture(FSD, BGPictureIndex), StretchEffect, StretchType);
  } else if (auto S = ClientPiece()) {
    DrawStretchOrTile(C.get(), Width(), Height(), S.get(), StretchEffect, StretchType);
  }
}

void TspSkinPageControl::PaintWindow(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  const Integer Saved = SaveDC(DC);
  FCanvas->Lock();
  FCanvas->FreeHandle();
  FCanvas->SetHandle(DC);
  TFinally Done([&] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    RestoreDC(DC, Saved);
  });
  if (Skinned())
    PaintSkinFrame(FCanvas);
  else
    PaintDefaultFrame(FCanvas);
  DrawTabs(FCanvas);
}

void TspSkinPageControl::DrawTabs(TCanvas* Cnvs) {
  if (FHideTabs || PageCount() == 0) return;
  const Integer Sel = TabIndex();
  if (!Skinned()) {
    Integer V = 0;
    for (Integer I = 0; I < PageCount(); ++I) {
      if (!Pages(I)->TabVisible()) continue;
      const TRect R = GetItemRect(V);
      // Tabs wholly outside the control leave no pixel on it.
      if (R.Right > 0 && R.Left < Width() && R.Bottom > 0 && R.Top < Height())
        DrawSkinTab(I, R, V == Sel, V == FActiveTabIndex, Cnvs);
      ++V;
    }
    return;
  }
  GetSkinData();
  if (!Skinned()) return DrawTabs(Cnvs);
  const TRect F = FrameRect();
  const TRect Area = StripArea(TabPosition(), F, Width(), Height());
  auto Strip = NewSkinBitmap(std::max(Area.Width(), 0), std::max(Area.Height(), 0));
  const bool HasStrip = Strip->Width() > 0 && Strip->Height() > 0;
  FillStrip(Strip.get(), this, Area, F, TabPosition(), FTabsBGTransparent);
  Integer SelPage = 0;
  Integer V = 0;
  for (Integer I = 0; I < PageCount(); ++I) {
    if (!Pages(I)->TabVisible()) continue;
    if (V == Sel) {
      SelPage = I;
    } else if (HasStrip) {
      TRect R = GetItemRect(V);
      if (TabPosition() == tpBottom) Shift(R, 0, -F.Bottom);
      if (TabPosition() == tpRight) Shift(R, -F.Right, 0);
      // Tabs wholly outside the strip leave no pixel in it.
      if (R.Right > 0 && R.Left < Strip->Width() && R.Bottom > 0 && R.Top < Strip->Height())
        DrawSkinTab(I, R, false, V == FActiveTabIndex, Strip->Canvas());
    }
    ++V;
  }
  HDC DC = Cnvs->Handle();
  if (HasStrip) {
    const Integer Saved = SaveDC(DC);
    const TRect A = GetActiveTabArea();
    if (!RectIsEmpty(A)) ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
    Cnvs->Draw(Area.Left, Area.Top, Strip.get());
    RestoreDC(DC, Saved);
  }
  if (Sel >= 0 && Sel < PageCount()) {
    TRect R = GetItemRect(Sel);
    if (TabRect.Height() != ActiveTabRect.Height()) {
      const Integer d = Style() == tsTabs ? ActiveTabRect.Height() - TabRect.Height() : 0;
      if (TabPosition() == tpBottom) Shift(R, 0, -d);
      if (TabPosition() == tpRight) Shift(R, -d, 0);
    }
    DrawSkinTab(SelPage, R, true, Sel == FActiveTabIndex, Cnvs);
  }
}

void TspSkinPageControl::DrawSkinTab(Integer TI, const TRect& R, bool Active, bool MouseIn, TCanvas* Cnvs) {
  if (FHideTabs || TI < 0 || TI >= PageCount()) return;
  TTabSheet* Page = Pages(TI);
  TspTabLook L = TabLook(Style() != tsTabs, 2);
  L.ButtonTabSkinDataName = FButtonTabSkinDataName;
  TspTabFace Face;
  Face.TI = TI;
  Face.Text = Page->Caption();
  Face.ImageIndex = Page->ImageIndex();
  Face.HasImage = FImages && Page->ImageIndex() >= 0 && Page->ImageIndex() < FImages->Count();
  Face.GlyphEnabled = Page->Enabled();
  if (auto* S = SheetOf(TI)) {
    Face.ButtonMouseIn = &S->ButtonMouseIn;
    Face.ButtonMouseDown = &S->ButtonMouseDown;
    Face.ButtonRect = &S->ButtonRect;
  }
  DrawTabFace(*this, L, Face, R, Active, MouseIn, Cnvs);
}

// ---------------------------------------------------------------------------
// Messages

void TspSkinPageControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT:
      // The platform's own tab drawing never runs.
      PaintHandler(M);
      return;
    case WM_ERASEBKGND:
      if (HasVisibleTabs()) {
        M.Result = 1;
        return;
      }
      GetSkinData();
      if (Skinned()) {
        PaintBackground(reinterpret_cast<HDC>(M.WParam));
        M.Result = 1;
        return;
      }
      break;
    case SP_PARENT_BACKGROUND_CHANGED:
      if (FTabsBGTransparent) Repaint();
      return;
    case FEM_PAINT_FRAME:
      M.Result = SP_FRAME_PAINTED;
      return;
    case WM_SIZE: {
      GetSkinData();
      auto Alive = LivenessToken();
      TPageControl::Dispatch(M);
      // Several rows free the arrows.
      if (*Alive && !ComponentState().Contains(csDesigning)) UpdateSkinUpDown();
      return;
    }
    case TCM_SETCURSEL: {
      TPageControl::Dispatch(M);
      // The layout may have scrolled the row to show the new tab.
      if (FSkinUpDown) {
        FSkinUpDown->SetMax(GetHiddenTabCount());
        FSkinUpDown->SetPosition(GetScrolledTabCount());
      }
      if (!ComponentState().Contains(csLoading)) Invalidate();
      return;
    }
    case WM_HSCROLL: {
      auto Alive = LivenessToken();
      TPageControl::Dispatch(M);
      if (*Alive) Repaint();
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TPageControl::Dispatch(M);
      if (RowMoved()) Invalidate();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCHITTEST:
      if (RowMoved()) M.LParam = LowerX(M.LParam, GetTabsOffset());
      break;
    case CM_MOUSELEAVE: {
      auto Alive = LivenessToken();
      TPageControl::Dispatch(M);
      if (*Alive) MouseLeave();
      return;
    }
    case WM_MOUSEWHEEL: {
      auto Alive = LivenessToken();
      TPageControl::Dispatch(M);
      if (*Alive && FMouseWheelSupport && Focused()) Wheel(SmallInt(HIWORD(M.WParam)) < 0);
      return;
    }
    case TCM_ADJUSTRECT: {
      TPageControl::Dispatch(M);
      auto* R = reinterpret_cast<RECT*>(M.LParam);
      if (!R) return;
      GetSkinData();
      RECT C{};
      GetClientRect(Handle(), &C);
      TspPageRectIn In;
      In.Position = TabPosition();
      In.Skinned = Skinned();
      In.HideTabs = FHideTabs;
      In.HideBorder = FHideBorder;
      In.ClientWidth = C.right;
      In.ClientHeight = C.bottom;
      In.Width = Width();
      In.Height = Height();
      In.SkinRect = SkinRect;
      In.ClRect = ClRect;
      const TRect P = CorrectPageRect(In, TRect(R->left, R->top, R->right, R->bottom));
      *R = RECT{P.Left, P.Top, P.Right, P.Bottom};
      return;
    }
    case TCM_GETITEMRECT: {
      TPageControl::Dispatch(M);
      auto* R = reinterpret_cast<RECT*>(M.LParam);
      if (!R) return;
      const TRect P = CorrectTabRect(TabPosition(), Style(), MultiLine(), RowMoved() ? GetTabsOffset() : 0,
                                     TRect(R->left, R->top, R->right, R->bottom));
      *R = RECT{P.Left, P.Top, P.Right, P.Bottom};
      return;
    }
  }
  TPageControl::Dispatch(M);
}
