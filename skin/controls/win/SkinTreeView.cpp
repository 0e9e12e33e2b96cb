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
  if (AComponent == FButtonImageList) FButtonImageList = nullptr;
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
  // The window's own bar has no room to be drawn in: redrawing it would
  // cost more than the scroll itself.
  SetScrollInfo(Handle(), SB_VERT, &SI, FALSE);
  SendMessageW(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FVScrollBar->Position())), 0);
}

void TspSkinCustomTreeView::HScrollChange(TObject*) {
  if (!FHScrollBar || !HandleAllocated()) return;
  SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FHScrollBar->Position())), 0);
}

namespace {

// The bar repaints at once on every SetRange: one that already shows the
// window's range is left alone (each paint of the tree comes here).
void ShowRange(TspSkinScrollBar* Bar, Integer Min, Integer Max, Integer Pos, Integer Page) {
  if (Bar->Min() == Min && Bar->Max() == Max && Bar->Position() == Pos && Bar->PageSize() == Page) return;
  Bar->SetRange(Min, Max, Pos, Page);
}

}  // namespace

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
    if (Show) ShowRange(FVScrollBar, SI.nMin, SI.nMax, SI.nPos, Page);
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
    if (Show) ShowRange(FHScrollBar, SI.nMin, SI.nMax, SI.nPos, Width());
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

// ---------------------------------------------------------------------------
// The skinned item painter

bool TspSkinCustomTreeView::IsCustomDrawn(bool ItemLevel, TCustomDrawStage Stage) const {
  if (ItemLevel && Stage == cdPrePaint && FDrawSkin) return true;
  return TCustomTreeView::IsCustomDrawn(ItemLevel, Stage);
}

bool TspSkinCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                           bool& PaintImages) {
  // The painter stands in for the user's handler while DrawSkin is on; the
  // handler stays assigned.
  if (FDrawSkin) return SkinDrawItem(Node, State);
  return TCustomTreeView::CustomDrawItem(Node, State, Stage, PaintImages);
}

bool TspSkinCustomTreeView::SkinDrawItem(TTreeNode* Node, TCustomDrawState State) {
  if (!FSD || FSD->Empty || !HandleAllocated()) return true;
  const Integer LI = FSD->GetControlIndex(FItemSkinDataName);
  auto* LD = LI < 0 ? nullptr : dynamic_cast<TspDataSkinListBox*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(LI)));
  if (!LD) return true;  // the platform's drawing
  TCanvas* C = Canvas();
  const Integer HPos = GetScrollPos(Handle(), SB_HORZ);
  TRect Row = Node->DisplayRect(false), Text = Node->DisplayRect(true);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(TRect(Row.Left - HPos, Row.Top, Row.Right - HPos, Row.Bottom));
  C->FillRect(Text);
  C->Brush()->SetStyle(bsClear);
  const Integer Level = Node->Level() - (ShowRoot() ? 0 : 1);
  TRect R = Row;
  R.Left += Level * Indent();
  DrawLinesAndButton(Node, R);
  R.Left += Indent() + FButtonSize;
  DrawNodeImage(Node, R);
  if (!(State & cdsSelected)) {
    C->Font()->Assign(Font());
    DrawVCenteredText(C, Node->Text(), TRect(Text.Left + 1, Text.Top + 1, Text.Right, Text.Bottom));
    return false;
  }
  if (Text.Width() < 1) return false;
  TBitmap* P = LD->PictureIndex >= 0 && LD->PictureIndex < FSD->FActivePictures->Count()
                   ? static_cast<TBitmap*>(FSD->FActivePictures->Items(LD->PictureIndex))
                   : nullptr;
  const bool Focus = Focused();
  auto B = std::make_unique<TBitmap>();
  B->SetSize(Text.Width(), Text.Height());
  B->Canvas()->Brush()->SetColor(Color());
  B->Canvas()->FillRect(TRect(0, 0, B->Width(), B->Height()));
  const TRect Pic = Focus ? LD->FocusItemRect : LD->ActiveItemRect;
  if (P && !RectIsEmpty(Pic)) CreateClientStretchImage(B.get(), P, Pic, LD->ItemTextRect, true);
  B->Canvas()->Font()->Assign(Font());
  B->Canvas()->Font()->SetColor(Focus ? LD->FocusFontColor : LD->ActiveFontColor);
  B->Canvas()->Brush()->SetStyle(bsClear);
  DrawVCenteredText(B->Canvas(), Node->Text(), TRect(2, 1, B->Width(), B->Height()));
  C->Draw(Text.Left, Text.Top, B.get());
  return false;
}

void TspSkinCustomTreeView::FadingLine(Integer X1, Integer X2, Integer Y) {
  const Integer W = std::abs(X2 - X1);
  if (W == 0) return;
  const std::vector<Byte> A = FadingLineAlphas(W);
  HDC DC = Canvas()->Handle();
  const TColor L = ColorToRGB(FLineColor);
  for (Integer I = 0; I < W; ++I) {
    const COLORREF D = GetPixel(DC, X1 + I, Y);
    if (D == CLR_INVALID) continue;
    const Integer a = A[size_t(I)];
    auto Mix = [&](Integer Shift) {
      return ((Integer(L >> Shift) & 0xFF) * a + (Integer(D >> Shift) & 0xFF) * (255 - a) + 127) / 255;
    };
    SetPixel(DC, X1 + I, Y, RGB(Mix(0), Mix(8), Mix(16)));
  }
}

void TspSkinCustomTreeView::DrawLinesAndButton(TTreeNode* Node, const TRect& R) {
  TCanvas* C = Canvas();
  const bool BothImages = !FExpandImage->Empty() && !FNoExpandImage->Empty();
  if (FButtonImageList)
    FButtonSize = std::max(FButtonImageList->Width(), FButtonImageList->Height()) / 2;
  else
    FButtonSize = BothImages ? FExpandImage->Width() / 2 - 2 : 5;
  const Integer a = FButtonSize;
  Integer x0 = R.Left + Indent() / 2;
  const Integer ym = R.Top + (R.Bottom - R.Top) / 2;
  auto VLine = [&](Integer X, Integer Y1, Integer Y2) {
    C->MoveTo(X, Y1);
    C->LineTo(X, Y2);
  };
  C->Pen()->SetColor(FLineColor);
  if (ShowLines()) {
    if (Node->HasChildren())
      FadingLine(x0 + a - 1, R.Left + Indent() + a - 5, ym - 1);
    else
      FadingLine(x0 - 1, R.Left + Indent(), ym - 1);
    if (Node->AbsoluteIndex() != 0) VLine(x0 - 1, ym - 1, R.Top - 1);
    TTreeNode* NV = Node->GetNextVisible();
    if ((NV && NV->Level() == Node->Level()) || Node->GetNextSibling()) VLine(x0 - 1, ym, R.Bottom + 1);
  }
  if (Node->HasChildren() && ShowButtons()) {
    if (!FButtonImageList) {
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(FButtonColor);
      C->Rectangle(x0 - a, ym - a, x0 + a, ym + a);
      C->Pen()->SetColor(Font()->Color());
      C->MoveTo(x0 - a + 2, ym - 1);
      C->LineTo(x0 + a - 2, ym - 1);
      if (!Node->Expanded()) VLine(x0 - 1, ym - a + 2, ym + a - 2);
      C->Pen()->SetColor(FLineColor);
      if (BothImages) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(TRect(x0 - a - 2, ym - a - 2, x0 + a - 2, ym + a - 2));
        C->Draw(x0 - a - 3, ym - a - 3, Node->Expanded() ? FExpandImage : FNoExpandImage);
        C->Brush()->SetStyle(bsClear);
      }
    } else {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(TRect(x0 - a, ym - a, x0 + a, ym + a));
      C->Brush()->SetStyle(bsClear);
      const Integer I = Node->Expanded() ? FButtonExpandImageIndex : FButtonNoExpandImageIndex;
      if (I >= 0 && I < FButtonImageList->Count()) FButtonImageList->Draw(C, x0 - a, ym - a, I, true);
    }
  }
  if (ShowLines()) {
    for (TTreeNode* P = Node->Parent(); P; P = P->Parent()) {
      x0 -= Indent();
      if (P->GetNextSibling()) VLine(x0 - 1, R.Top, R.Bottom + 1);
    }
  }
}

void TspSkinCustomTreeView::DrawNodeImage(TTreeNode* Node, const TRect& R) {
  const Integer ym = R.Top + (R.Bottom - R.Top) / 2;
  const Integer I = Node->ImageIndex();
  if (Images()) {
    if (I >= 0 && I < Images()->Count())
      Images()->Draw(Canvas(), R.Left - FButtonSize, ym - Images()->Height() / 2, I, true);
    return;
  }
  auto L = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  if (!L) return;
  int W = 0, H = 0;
  ImageList_GetIconSize(L, &W, &H);
  if (I >= 0 && I < ImageList_GetImageCount(L))
    ImageList_DrawEx(L, I, Canvas()->Handle(), R.Left - FButtonSize, ym - H / 2, W, H, CLR_NONE, CLR_NONE, ILD_NORMAL);
}
