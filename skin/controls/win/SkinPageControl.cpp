#include "skin/controls/win/SkinPageControl.h"

#include "skin/data/SkinControlData.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SkinModel.h"

TspSkinPageControl::TspSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner), FTempImages(new TCustomImageList(this, 1, 1)), FDefaultFont(new TFont()) {
  for (TFont* F : {Font(), FDefaultFont}) {
    F->SetName(u"Arial");
    F->SetStyle(0);
    F->SetColor(clBtnText);
    F->SetHeight(14);
  }
  TPageControl::SetImages(FTempImages);
}

TspSkinPageControl::~TspSkinPageControl() { delete FDefaultFont; }

void TspSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FImages) {
    FImages = nullptr;
    UpdateReserveImages();
  }
}

// ---------------------------------------------------------------------------
// Skin

void TspSkinPageControl::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
  if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspSkinPageControl::GetSkinData() {
  BGPictureIndex = -1;
  FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinTabControl*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(FIndex)));
  if (!D) {
    // An entry of another class counts as none: the default look, and no
    // picture of an earlier skin stays in reach.
    FIndex = -1;
    Picture = nullptr;
    return;
  }
  const Integer N = FSD->FActivePictures->Count();
  Picture = D->PictureIndex >= 0 && D->PictureIndex < N ? static_cast<TBitmap*>(FSD->FActivePictures->Items(D->PictureIndex))
                                                         : nullptr;
  SkinRect = D->SkinRect;
  ClRect = D->ClRect;
  TabRect = D->TabRect;
  ActiveTabRect = RectIsEmpty(D->ActiveTabRect) ? D->TabRect : D->ActiveTabRect;
  FocusTabRect = RectIsEmpty(D->FocusTabRect) ? D->ActiveTabRect : D->FocusTabRect;
  MouseInTabRect = D->MouseInTabRect;
  TabsBGRect = D->TabsBGRect;
  BGPictureIndex = D->BGPictureIndex;
  UpDown = D->UpDown;
  FontName = D->FontName;
  FontHeight = D->FontHeight;
  FontStyle = D->FontStyle;
  FontColor = D->FontColor;
  // The fallbacks go back into the shared description: its other readers
  // apply the same ones.
  if (RectIsEmpty(D->CloseButtonActiveRect)) D->CloseButtonActiveRect = D->CloseButtonRect;
  if (RectIsEmpty(D->CloseButtonDownRect)) D->CloseButtonDownRect = D->CloseButtonActiveRect;
  CloseButtonRect = D->CloseButtonRect;
  ClosebuttonActiveRect = D->CloseButtonActiveRect;
  CloseButtonDownRect = D->CloseButtonDownRect;
}

Integer TspSkinPageControl::GetCloseSize() const {
  if (!Skinned() || RectIsEmpty(CloseButtonRect)) return 14;
  return CloseButtonRect.Width();
}

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
  Realign();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Layout

void TspSkinPageControl::UpdateReserveImages() {
  const Integer GW = FImages ? FImages->Width() : 0, GH = FImages ? FImages->Height() : 0;
  const TPoint S = ReserveImageSize(TabPosition(), GW, GH, FImages != nullptr, FShowCloseButtons, FCloseSize);
  if (FTempImages->Width() == S.X && FTempImages->Height() == S.Y) return;
  FTempImages->SetSize(S.X, S.Y);
  // The tab layout measures the list when it is given one.
  TPageControl::SetImages(FTempImages);
}

void TspSkinPageControl::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  UpdateReserveImages();
  Invalidate();
}

void TspSkinPageControl::SetShowCloseButtons(bool Value) {
  if (FShowCloseButtons != Value) {
    FShowCloseButtons = Value;
    UpdateReserveImages();
  }
  Invalidate();
}

void TspSkinPageControl::SetTabPosition(TTabPosition Value) {
  TPageControl::SetTabPosition(Value);
  UpdateReserveImages();
}

void TspSkinPageControl::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  if (Skinned()) return;
  SetItemSize(TabWidth(), Value);
  Realign();
}

void TspSkinPageControl::Loaded() {
  TPageControl::Loaded();
  if (Skinned()) return;
  SetItemSize(TabWidth(), TabHeight() > 0 ? TabHeight() : FDefaultItemHeight);
  Realign();
}

void TspSkinPageControl::SetItemSize(Integer W, Integer H) {
  if (HandleAllocated()) SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(W, H));
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

TRect TspSkinPageControl::GetItemRect(Integer I) {
  RECT R{};
  if (HandleAllocated()) SendMessageW(Handle(), TCM_GETITEMRECT, WPARAM(I), reinterpret_cast<LPARAM>(&R));
  return TRect(R.left, R.top, R.right, R.bottom);
}

void TspSkinPageControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
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
      const bool Moved = FTabsInCenter || FTabsOffset > 0;
      const TRect P = CorrectTabRect(TabPosition(), Style(), MultiLine(), Moved ? GetTabsOffset() : 0,
                                     TRect(R->left, R->top, R->right, R->bottom));
      *R = RECT{P.Left, P.Top, P.Right, P.Bottom};
      return;
    }
  }
  TPageControl::Dispatch(M);
}
