#include "skin/controls/win/SkinStatusBar.h"

#include "classlib/Forms.h"
#include "skin/data/SpLayout.h"

TspSkinStatusBar::TspSkinStatusBar(TComponent* AOwner) : TspSkinPanel(AOwner) {
  FSkinDataName = u"statusbar";
  SetAlign(alBottom);
  SetHeight(21);
  SetBorderStyle(bvNone);
  SetForcebackGround(false);
}

void TspSkinStatusBar::SetSizeGrip(bool Value) {
  FSizeGrip = Value;
  Repaint();
  Realign();
}

void TspSkinStatusBar::SetShowGrip(bool Value) {
  FShowGrip = Value;
  Repaint();
  Realign();
}

void TspSkinStatusBar::SetSkinData(TspSkinData* Value) {
  TspSkinPanel::SetSkinData(Value);
  for (Integer I = 0; I < ControlCount(); ++I)
    if (auto* C = dynamic_cast<TspSkinControl*>(Controls(I))) C->SetSkinData(SkinData());
}

void TspSkinStatusBar::GetSkinData() {
  TspSkinPanel::GetSkinData();
  GripperRect = TRect();
  GripperTransparent = false;
  auto* D = Skinned() ? dynamic_cast<TspDataSkinPanelControl*>(SkinDescription()) : nullptr;
  if (!D) return;
  GripperRect = D->GripperRect;
  GripperTransparent = D->GripperTransparent;
  GripperTransparentColor = D->GripperTransparentColor;
}

void TspSkinStatusBar::AdjustClientRect(TRect& Rect) {
  TspSkinPanel::AdjustClientRect(Rect);
  if (!GripShown()) return;
  Rect.Right -= HasGripperImage() ? GripperRect.Width() : Rect.Height();
}

TRect TspSkinStatusBar::GripRect() {
  const TRect S = GetSkinClientRect();
  return HasGripperImage() ? StatusGripRect(S, GripperRect.Width(), GripperRect.Height()) : StatusGripRect(S, 0, 0);
}

void TspSkinStatusBar::DrawStripes(TCanvas* C, TColor Dark, TColor Light) {
  for (const TspGripLine& L : StatusGripStripes(GripRect())) {
    C->Pen()->SetColor(L.Dark ? Dark : Light);
    C->MoveTo(L.X1, L.Y1);
    C->LineTo(L.X2, L.Y2);
  }
}

void TspSkinStatusBar::CreateControlDefaultImage(TBitmap* B) {
  TspSkinPanel::CreateControlDefaultImage(B);
  if (GripShown()) DrawStripes(B->Canvas(), clBtnShadow, clBtnHighlight);
}

void TspSkinStatusBar::CreateControlSkinImage(TBitmap* B) {
  TspSkinPanel::CreateControlSkinImage(B);
  if (!GripShown()) return;
  if (!HasGripperImage() || !Picture) {
    DrawStripes(B->Canvas(), FSD->SkinColors()->cBtnShadow(), FSD->SkinColors()->cBtnHighLight());
    return;
  }
  const Integer W = GripperRect.Width(), H = GripperRect.Height();
  auto G = NewSkinBitmap(W, H);
  G->Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), GripperRect);
  if (GripperTransparent) {
    G->SetTransparentColor(GripperTransparentColor);
    G->SetTransparent(true);
  }
  const TRect R = GripRect();
  B->Canvas()->Draw(R.Left, R.Top, G.get());
}

void TspSkinStatusBar::Dispatch(TMessage& M) {
  if (GripShown() && !ComponentState().Contains(csDesigning)) {
    switch (M.Msg) {
      case WM_NCHITTEST: {
        const TPoint P = ScreenToClient(TPoint(short(LOWORD(M.LParam)), short(HIWORD(M.LParam))));
        const TRect G = GripRect();
        const bool In = P.X >= G.Left && P.X <= G.Right && P.Y >= G.Top && P.Y <= G.Bottom;
        M.Result = In ? HTBOTTOMRIGHT : HTCLIENT;
        return;
      }
      case WM_NCLBUTTONDOWN:
        if (M.WParam == HTBOTTOMRIGHT) {
          // The form sizes itself from its corner; the bar stays as it is.
          if (TCustomForm* F = GetParentForm(this); F && F->HandleAllocated()) {
            ReleaseCapture();
            SendMessageW(F->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, M.LParam);
            M.Result = 0;
            return;
          }
        }
        break;
    }
  }
  TspSkinPanel::Dispatch(M);
}
