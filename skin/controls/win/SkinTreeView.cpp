#include "skin/controls/win/SkinTreeView.h"

#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinScrollBar.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

TspSkinCustomTreeView::TspSkinCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner), FExpandImage(new TBitmap()), FNoExpandImage(new TBitmap()), FDefaultFont(new TFont()) {
  FDefaultFont->SetName(u"Arial");
  FDefaultFont->SetStyle(0);
  FDefaultFont->SetHeight(14);
}

TspSkinCustomTreeView::~TspSkinCustomTreeView() {
  delete FDefaultFont;
  delete FExpandImage;
  delete FNoExpandImage;
}

void TspSkinCustomTreeView::CreateParams(TCreateParams& Params) {
  TCustomTreeView::CreateParams(Params);
  Params.Style &= ~DWORD(WS_VSCROLL | WS_HSCROLL);
}

void TspSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTreeView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TspSkinCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  ChangeSkinData();
}

void TspSkinCustomTreeView::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
  if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspSkinCustomTreeView::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (!Skinned()) Font()->Assign(Value);
}

void TspSkinCustomTreeView::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (!Skinned()) SetColor(Value);
}

void TspSkinCustomTreeView::ChangeSkinData() {
  if (ComponentState().Contains(csLoading)) return;
  FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
  if (FIndex == -1) {
    SetColor(FDefaultColor);
    Font()->Assign(FDefaultFont);
    FLineColor = TColor(0x808080);
  } else if (auto* D = dynamic_cast<TspDataSkinTreeView*>(
                 static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(FIndex)))) {
    if (FUseSkinFont) {
      Font()->SetName(D->FontName);
      Font()->SetStyle(D->FontStyle);
      Font()->SetHeight(D->FontHeight);
    } else {
      Font()->Assign(FDefaultFont);
    }
    Font()->SetColor(D->FontColor);
    SetColor(D->BGColor);
    FLineColor = AverageColor(AverageColor(D->FontColor, D->BGColor), D->BGColor);
    FButtonColor = AverageColor(D->FontColor, D->BGColor);
    TBitmap* P = D->PictureIndex >= 0 && D->PictureIndex < FSD->FActivePictures->Count()
                     ? static_cast<TBitmap*>(FSD->FActivePictures->Items(D->PictureIndex))
                     : nullptr;
    if (RectIsEmpty(D->ExpandImageRect) || RectIsEmpty(D->NoExpandImageRect) || !P) {
      FExpandImage->SetSize(0, 0);
      FNoExpandImage->SetSize(0, 0);
    } else {
      for (auto [B, R] : {std::pair{FExpandImage, D->ExpandImageRect}, std::pair{FNoExpandImage, D->NoExpandImageRect}}) {
        B->SetSize(R.Width(), R.Height());
        B->Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), P->Canvas(), R);
        B->SetTransparent(true);
      }
    }
  }
  Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
  if (Images()) Images()->SetBkColor(Color());
  if (StateImages()) StateImages()->SetBkColor(Color());
  UpDateScrollBars();
  if (FVScrollBar) FVScrollBar->SetAlign(FVScrollBar->Align());
  if (FHScrollBar) FHScrollBar->SetAlign(FHScrollBar->Align());
}

// ---------------------------------------------------------------------------
// The external bars

void TspSkinCustomTreeView::SetVScrollBar(TspSkinScrollBar* Value) {
  FVScrollBar = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = [this](TObject* S) { VScrollChange(S); };
  }
  UpDateScrollBars();
}

void TspSkinCustomTreeView::SetHScrollBar(TspSkinScrollBar* Value) {
  FHScrollBar = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = [this](TObject* S) { HScrollChange(S); };
  }
  UpDateScrollBars();
}

void TspSkinCustomTreeView::VScrollChange(TObject*) {
  if (!FVScrollBar || !HandleAllocated()) return;
  SCROLLINFO SI{};
  SI.cbSize = sizeof(SI);
  SI.fMask = SIF_POS;
  SI.nPos = FVScrollBar->Position();
  SetScrollInfo(Handle(), SB_VERT, &SI, TRUE);
  SendMessageW(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FVScrollBar->Position())), 0);
}

void TspSkinCustomTreeView::HScrollChange(TObject*) {
  if (!FHScrollBar || !HandleAllocated()) return;
  SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FHScrollBar->Position())), 0);
}

void TspSkinCustomTreeView::UpDateScrollBars() {
  if (FInCheckScrollBars || ComponentState().Contains(csLoading) || !HandleAllocated()) return;
  FInCheckScrollBars = true;
  TFinally Done([&] { FInCheckScrollBars = false; });
  ++FScrollBarUpdates;
  const LONG Style = GetWindowLongW(Handle(), GWL_STYLE);
  bool Changed = false;
  if (FVScrollBar) {
    SCROLLINFO SI{};
    SI.cbSize = sizeof(SI);
    SI.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(Handle(), SB_VERT, &SI);
    const Integer Page = Integer(SendMessageW(Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    // The window leaves a stale range when its content fits again: a bar it
    // has hidden counts as an empty range.
    const bool Show = TreeVertBarVisible((Style & WS_VSCROLL) != 0, SI.nMax, Page, Items()->Count(), Visible());
    if (Show != FVScrollBar->Visible()) {
      FVScrollBar->SetVisible(Show);
      Changed = true;
    }
    if (Show) FVScrollBar->SetRange(SI.nMin, SI.nMax, SI.nPos, Page);
  }
  if (FHScrollBar) {
    SCROLLINFO SI{};
    SI.cbSize = sizeof(SI);
    SI.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(Handle(), SB_HORZ, &SI);
    const bool Show = TreeHorzBarVisible((Style & WS_HSCROLL) != 0, SI.nMax, Width(), Visible());
    if (Show != FHScrollBar->Visible()) {
      FHScrollBar->SetVisible(Show);
      Changed = true;
    }
    if (Show) FHScrollBar->SetRange(SI.nMin, SI.nMax, SI.nPos, Width());
  }
  if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
  if (Changed && Align() != alNone && Parent()) Parent()->Realign();
}

void TspSkinCustomTreeView::Change(TTreeNode* Node) {
  TCustomTreeView::Change(Node);
  UpDateScrollBars();
}

// ---------------------------------------------------------------------------
// Messages

void TspSkinCustomTreeView::WndProc(TMessage& M) {
  auto Alive = LivenessToken();
  TCustomTreeView::WndProc(M);
  if (!*Alive) return;
  switch (M.Msg) {
    case WM_SIZE:
    case WM_PAINT:
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
      UpDateScrollBars();
      break;
  }
}

void TspSkinCustomTreeView::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      M.Result = 0;
      return;
    case WM_NCHITTEST:
      M.Result = HTCLIENT;
      return;
    case FEM_PAINT_FRAME:
      M.Result = SP_FRAME_PAINTED;
      return;
    case CM_VISIBLECHANGED: {
      TCustomTreeView::Dispatch(M);
      if (FVScrollBar) FVScrollBar->SetVisible(Visible());
      if (FHScrollBar) FHScrollBar->SetVisible(Visible());
      // Then each bar as the content needs it.
      UpDateScrollBars();
      return;
    }
  }
  TCustomTreeView::Dispatch(M);
}
