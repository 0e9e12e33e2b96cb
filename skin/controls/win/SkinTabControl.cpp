#include "skin/controls/win/SkinTabControl.h"

#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinTabImages.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

namespace {

// The children of a skinned tab control take their background from it.
bool TabControlBackground(TWinControl* Parent, HDC DC) {
  auto* T = dynamic_cast<TspSkinTabControl*>(Parent);
  if (!T) return false;
  T->PaintBG(DC);
  return true;
}

bool Inside(const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

}  // namespace

TspSkinTabControl::TspSkinTabControl(TComponent* AOwner) : TspSkinTabsBase<TTabControl>(AOwner) {
  SetParentBackgroundPainter(&TabControlBackground);
}

void TspSkinTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TTabControl::Notification(AComponent, Operation);
  if (Operation == opRemove) ForgetRemoved(AComponent);
}

// ---------------------------------------------------------------------------
// Skin and layout

void TspSkinTabControl::ChangeSkinData() {
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
    Font()->SetColor(FontColor);
    if (FUseSkinFont) {
      Font()->SetName(FontName);
      Font()->SetHeight(FontHeight);
      Font()->SetStyle(FontStyle);
    } else {
      Font()->Assign(FDefaultFont);
    }
    Font()->SetCharset(FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
    if (H <= 0) H = TabRect.Height();
  }
  SetItemSize(TabWidth(), H);
  SyncSkinUpDown();
  Realign();
  Repaint();
  if (FSkinUpDown) {
    FreeSkinUpDown();
    UpdateSkinUpDown();
  }
}

void TspSkinTabControl::SetShowCloseButtons(bool Value) {
  TabButtonMouseDown.clear();
  TabButtonMouseIn.clear();
  TabButtonR.clear();
  if (Value) EnsureEntries(std::max<Integer>(254, Tabs()->Count() - 1));
  if (FShowCloseButtons != Value) {
    FShowCloseButtons = Value;
    UpdateReserveImages();
  }
  Invalidate();
}

void TspSkinTabControl::EnsureEntries(Integer I) {
  if (!FShowCloseButtons && TabButtonMouseIn.empty() && I < 0) return;
  const size_t N = size_t(std::max<Integer>(I + 1, 0));
  if (TabButtonMouseIn.size() >= N) return;
  TabButtonMouseDown.resize(N, 0);
  TabButtonMouseIn.resize(N, 0);
  TabButtonR.resize(N);
}

bool TspSkinTabControl::TabButtonHot(Integer I) const {
  return I >= 0 && size_t(I) < TabButtonMouseIn.size() && TabButtonMouseIn[size_t(I)];
}

bool TspSkinTabControl::TabButtonDown(Integer I) const {
  return I >= 0 && size_t(I) < TabButtonMouseDown.size() && TabButtonMouseDown[size_t(I)];
}

TRect TspSkinTabControl::TabButtonRect(Integer I) const {
  return I >= 0 && size_t(I) < TabButtonR.size() ? TabButtonR[size_t(I)] : TRect();
}

void TspSkinTabControl::CreateWnd() {
  TTabControl::CreateWnd();
  if (FItemHeight >= 0) {
    SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(TabWidth(), FItemHeight));
    Realign();
  }
  if (!MultiLine()) UpdateSkinUpDown();
}

void TspSkinTabControl::TabsChanged() {
  TTabControl::TabsChanged();
  if (FShowCloseButtons) EnsureEntries(Tabs()->Count() - 1);
  if (!MultiLine() && !ComponentState().Contains(csDestroying)) UpdateSkinUpDown();
}

TRect TspSkinTabControl::AdjustedClientRect() {
  RECT R{0, 0, 0, 0};
  if (HandleAllocated()) {
    GetClientRect(Handle(), &R);
    SendMessageW(Handle(), TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&R));
  }
  return TRect(R.left, R.top + 2, R.right, R.bottom);
}

// ---------------------------------------------------------------------------
// Painting

void TspSkinTabControl::PaintBG(HDC DC) {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  auto C = std::make_unique<TCanvas>();
  C->SetHandle(DC);
  TFinally Off([&] { C->SetHandle(nullptr); });
  if (!FSD || FSD->Empty || !Skinned() || BGPictureIndex == -1) {
    if (!Skinned()) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(clBtnFace);
      C->FillRect(TRect(0, 0, Width(), Height()));
    } else if (auto S = ClientPiece()) {
      DrawStretchOrTile(C.get(), Width(), Height(), S.get(), StretchEffect, StretchType);
    }
  } else {
    DrawStretchOrTile(C.get(), Width(), Height(), SkinActivePicture(FSD, BGPictureIndex), StretchEffect, StretchType);
  }
}

TRect TspSkinTabControl::GetActiveTabArea() {
  const Integer Sel = TabIndex();
  if (Sel < 0 || Tabs()->Count() == 0) return TRect();
  return GrowActiveTab(GetItemRect(Sel));
}

void TspSkinTabControl::PaintWindow(HDC DC) {
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
  TCanvas* C = FCanvas;
  const TRect D = AdjustedClientRect();
  if (!Skinned()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, Width(), Height()));
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(TRect(D.Left - 1, D.Top - 1, D.Right + 1, D.Bottom + 1));
  } else if (BGPictureIndex == -1) {
    const Integer S = SaveDC(DC);
    IntersectClipRect(DC, D.Left, D.Top, D.Right, D.Bottom);
    if (auto P = ClientPiece()) DrawStretchOrTile(C, Width(), Height(), P.get(), StretchEffect, StretchType);
    RestoreDC(DC, S);
    DrawFrameStrips(C, SkinFrameRect(D), GetActiveTabArea());
  } else {
    DrawStretchOrTile(C, Width(), Height(), SkinActivePicture(FSD, BGPictureIndex), StretchEffect, StretchType);
  }
  DrawTabs(C);
}

void TspSkinTabControl::DrawTabs(TCanvas* Cnvs) {
  const Integer N = Tabs()->Count();
  if (N == 0) return;
  const Integer Sel = TabIndex();
  auto Visible = [&](const TRect& R, Integer W, Integer H) { return R.Right > 0 && R.Left < W && R.Bottom > 0 && R.Top < H; };
  if (!Skinned()) {
    for (Integer I = 0; I < N; ++I) {
      const TRect R = GetItemRect(I);
      if (Visible(R, Width(), Height())) DrawSkinTab(I, R, I == Sel, I == FActiveTab, Cnvs);
    }
    return;
  }
  const TRect F = SkinFrameRect(AdjustedClientRect());
  const TRect Area = StripArea(TabPosition(), F, Width(), Height());
  auto Strip = NewSkinBitmap(std::max(Area.Width(), 0), std::max(Area.Height(), 0));
  const bool HasStrip = Strip->Width() > 0 && Strip->Height() > 0;
  FillStrip(Strip.get(), this, Area, F, TabPosition(), FTabsBGTransparent);
  if (HasStrip) {
    for (Integer I = 0; I < N; ++I) {
      if (I == Sel) continue;
      TRect R = GetItemRect(I);
      if (TabPosition() == tpBottom) R = TRect(R.Left, R.Top - F.Bottom, R.Right, R.Bottom - F.Bottom);
      if (TabPosition() == tpRight) R = TRect(R.Left - F.Right, R.Top, R.Right - F.Right, R.Bottom);
      if (Visible(R, Strip->Width(), Strip->Height())) DrawSkinTab(I, R, false, I == FActiveTab, Strip->Canvas());
    }
    HDC DC = Cnvs->Handle();
    const Integer Saved = SaveDC(DC);
    const TRect A = GetActiveTabArea();
    if (!RectIsEmpty(A)) ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
    Cnvs->Draw(Area.Left, Area.Top, Strip.get());
    RestoreDC(DC, Saved);
  }
  if (Sel >= 0 && Sel < N) {
    TRect R = GetItemRect(Sel);
    if (TabRect.Height() != ActiveTabRect.Height()) {
      const Integer d = ActiveTabRect.Height() - TabRect.Height();
      if (TabPosition() == tpBottom) R = TRect(R.Left, R.Top - d, R.Right, R.Bottom - d);
      if (TabPosition() == tpRight) R = TRect(R.Left - d, R.Top, R.Right - d, R.Bottom);
    }
    DrawSkinTab(Sel, R, true, Sel == FActiveTab, Cnvs);
  }
}

void TspSkinTabControl::DrawSkinTab(Integer TI, const TRect& R, bool Active, bool MouseIn, TCanvas* Cnvs) {
  if (TI < 0 || TI >= Tabs()->Count()) return;
  // Button styles are drawn as tabs.
  const TspTabLook L = TabLook(false, 1);
  TspTabFace Face;
  Face.TI = TI;
  Face.Text = Tabs()->Strings(TI);
  Face.ImageIndex = TI;
  Face.HasImage = FImages && TI < FImages->Count();
  Face.GlyphEnabled = true;
  bool In = false, Down = false;
  if (FShowCloseButtons) {
    EnsureEntries(TI);
    In = TabButtonMouseIn[size_t(TI)];
    Down = TabButtonMouseDown[size_t(TI)];
    Face.ButtonMouseIn = &In;
    Face.ButtonMouseDown = &Down;
    Face.ButtonRect = &TabButtonR[size_t(TI)];
  }
  DrawTabFace(*this, L, Face, R, Active, MouseIn, Cnvs);
  if (FShowCloseButtons) TabButtonMouseIn[size_t(TI)] = In;
}

// ---------------------------------------------------------------------------
// Interaction

void TspSkinTabControl::RedrawTabs() {
  if (HandleAllocated()) DrawTabs(Canvas());
}

bool TspSkinTabControl::HotButtonRect(TRect& B) {
  if (FActiveTab < 0 || !FShowCloseButtons) return false;
  EnsureEntries(FActiveTab);
  const TRect R = GetItemRect(FActiveTab);
  B = TabButtonR[size_t(FActiveTab)];
  B = TRect(B.Left + R.Left, B.Top + R.Top, B.Right + R.Left, B.Bottom + R.Top);
  return true;
}

void TspSkinTabControl::TrackHotTab(Integer X, Integer Y) {
  FOldActiveTab = FActiveTab;
  FActiveTab = -1;
  for (Integer I = 0; I < Tabs()->Count(); ++I)
    if (Inside(GetItemRect(I), X, Y)) {
      FActiveTab = I;
      break;
    }
  bool Redraw = false;
  const Integer Sel = TabIndex(), N = Tabs()->Count();
  if (FActiveTab != FOldActiveTab) {
    if (FOldActiveTab != -1 && FOldActiveTab != Sel && FOldActiveTab < N) Redraw = true;
    if (FActiveTab != -1 && FActiveTab != Sel && FActiveTab < N) Redraw = true;
  }
  TRect B;
  if (HotButtonRect(B)) {
    const size_t I = size_t(FActiveTab);
    const bool In = Inside(B, X, Y);
    if (In && !TabButtonMouseIn[I]) {
      TabButtonMouseIn[I] = 1;
      Redraw = true;
    } else if (!In && TabButtonMouseIn[I]) {
      TabButtonMouseIn[I] = 0;
      TabButtonMouseDown[I] = 0;
      Redraw = true;
    }
  }
  if (Redraw) RedrawTabs();
}

void TspSkinTabControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TTabControl::MouseMove(Shift, X, Y);
  if (!ComponentState().Contains(csDesigning)) TrackHotTab(X, Y);
}

void TspSkinTabControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TTabControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (!ComponentState().Contains(csDesigning)) TrackHotTab(X, Y);
  FPressedCloseTab = -1;
  TRect B;
  if (!HotButtonRect(B)) return;
  const size_t I = size_t(FActiveTab);
  if (Inside(B, X, Y)) {
    TabButtonMouseIn[I] = 1;
    TabButtonMouseDown[I] = 1;
    FPressedCloseTab = FActiveTab;
    RedrawTabs();
  } else {
    TabButtonMouseIn[I] = 0;
    TabButtonMouseDown[I] = 0;
  }
}

void TspSkinTabControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TTabControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const Integer Pressed = FPressedCloseTab;
  FPressedCloseTab = -1;
  if (!ComponentState().Contains(csDesigning)) TrackHotTab(X, Y);
  TRect B;
  if (!HotButtonRect(B)) return;
  const size_t I = size_t(FActiveTab);
  if (Inside(B, X, Y)) {
    TabButtonMouseIn[I] = 1;
    TabButtonMouseDown[I] = 0;
    RedrawTabs();
    // Only a press that began on this same button closes, and it closes
    // this tab (the selection may have been refused).
    if (Pressed == FActiveTab) CloseTab(FActiveTab);
  } else {
    TabButtonMouseIn[I] = 0;
    TabButtonMouseDown[I] = 0;
  }
}

void TspSkinTabControl::CloseTab(Integer I) {
  if (I < 0 || I >= Tabs()->Count()) return;
  bool CanClose = true;
  if (OnClose) OnClose(I, CanClose);
  if (CanClose) {
    // The state entries stay where they are: the following tabs find their
    // old entries until they are drawn or hovered again.
    Tabs()->Delete(I);
    FActiveTab = -1;
    FOldActiveTab = -1;
    Invalidate();
    if (OnAfterClose) OnAfterClose(this);
    return;
  }
  POINT Pt{};
  GetCursorPos(&Pt);
  if (WindowFromPoint(Pt) != Handle() && FShowCloseButtons) {
    EnsureEntries(I);
    TabButtonMouseIn[size_t(I)] = 0;
    TabButtonMouseDown[size_t(I)] = 0;
    RedrawTabs();
  }
}

void TspSkinTabControl::MouseLeave() {
  const Integer Sel = TabIndex(), N = Tabs()->Count();
  auto Forget = [&](Integer& T) {
    if (T == -1 || T == Sel || T >= N) return;
    if (FShowCloseButtons) {
      EnsureEntries(T);
      TabButtonMouseIn[size_t(T)] = 0;
      TabButtonMouseDown[size_t(T)] = 0;
    }
    T = -1;
    RedrawTabs();
  };
  Forget(FOldActiveTab);
  Forget(FActiveTab);
}

void TspSkinTabControl::Change() {
  if (FSkinUpDown) FSkinUpDown->SetPosition(GetScrolledTabCount());
  TTabControl::Change();
  Invalidate();
}

// ---------------------------------------------------------------------------
// The skinned scroll arrows

Integer TspSkinTabControl::GetHiddenTabCount() {
  std::vector<TRect> R;
  for (Integer I = 0; I < Tabs()->Count(); ++I) R.push_back(GetItemRect(I));
  return HiddenTabCount(R, Width() - 3 - (FSkinUpDown ? FSkinUpDown->Width() : 0));
}

Integer TspSkinTabControl::GetScrolledTabCount() {
  std::vector<TRect> R;
  for (Integer I = 0; I < Tabs()->Count(); ++I) R.push_back(GetItemRect(I));
  return ScrolledTabCount(R);
}

void TspSkinTabControl::CreateSkinUpDown() {
  auto* U = new TspSkinUpDown(this);
  U->SetParent(this);
  U->SetWidth(36);
  U->SetHeight(18);
  U->SetMin(0);
  U->SetMax(GetHiddenTabCount());
  U->SetPosition(GetScrolledTabCount());
  U->SetIncrement(1);
  FSkinUpDown = U;
  U->OnChange = [this](TObject* Sender) { SkinUpDownChange(Sender); };
  U->SetLeft(Width() - U->Width());
  U->SetSkinDataName(UpDown);
  U->SetSkinData(FSD);
  U->SetTop(TabArrowsPlace(ArrowPlace(U, ArrowsBeside())).Y);
  U->SetVisible(true);
}

// ---------------------------------------------------------------------------
// Messages

void TspSkinTabControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT: {
      FromWMPaint = true;
      TFinally Done([&] { FromWMPaint = false; });
      PaintHandler(M);
      return;
    }
    case WM_ERASEBKGND:
      if (!FromWMPaint) PaintBG(reinterpret_cast<HDC>(M.WParam));
      return;
    case SP_PARENT_BACKGROUND_CHANGED:
      if (FTabsBGTransparent) Repaint();
      return;
    case WM_SIZE: {
      GetSkinData();
      auto Alive = LivenessToken();
      TTabControl::Dispatch(M);
      if (!*Alive) return;
      if (StretchEffect && Skinned())
        for (Integer I = 0; I < ControlCount(); ++I)
          if (auto* W = dynamic_cast<TWinControl*>(Controls(I)); W && W->HandleAllocated() && W != FSkinUpDown)
            SendMessageW(W->Handle(), SP_PARENT_BACKGROUND_CHANGED, 0, 0);
      if (*Alive && !MultiLine()) UpdateSkinUpDown();
      return;
    }
    case TCM_SETCURSEL: {
      TTabControl::Dispatch(M);
      // The layout may have scrolled the row to show the new tab.
      if (FSkinUpDown) {
        FSkinUpDown->SetMax(GetHiddenTabCount());
        FSkinUpDown->SetPosition(GetScrolledTabCount());
      }
      return;
    }
    case WM_HSCROLL: {
      auto Alive = LivenessToken();
      TTabControl::Dispatch(M);
      if (*Alive) Repaint();
      return;
    }
    case CM_MOUSELEAVE:
      // Without the inherited handling: a hot selected tab stays hot.
      MouseLeave();
      return;
    case TCM_ADJUSTRECT: {
      TTabControl::Dispatch(M);
      auto* R = reinterpret_cast<RECT*>(M.LParam);
      if (!R) return;
      GetSkinData();
      RECT C{};
      GetClientRect(Handle(), &C);
      TspPageRectIn In;
      In.Position = TabPosition();
      In.Skinned = Skinned();
      In.ClientWidth = C.right;
      In.ClientHeight = C.bottom;
      In.Width = Width();
      In.Height = Height();
      // With a background picture no frame is drawn: no skin margins.
      if (Skinned() && BGPictureIndex == -1) {
        In.SkinRect = SkinRect;
        In.ClRect = ClRect;
      }
      const TRect P = CorrectPageRect(In, TRect(R->left, R->top, R->right, R->bottom));
      *R = RECT{P.Left, P.Top, P.Right, P.Bottom};
      return;
    }
    case TCM_GETITEMRECT: {
      TTabControl::Dispatch(M);
      auto* R = reinterpret_cast<RECT*>(M.LParam);
      if (!R) return;
      const TRect P = CorrectTabRect(TabPosition(), Style(), MultiLine(), 0, TRect(R->left, R->top, R->right, R->bottom));
      *R = RECT{P.Left, P.Top, P.Right, P.Bottom};
      return;
    }
  }
  TTabControl::Dispatch(M);
}
