// TspSkinScrollBox: range updates, scrolling, the non-client frame and the
// background.
#include <algorithm>

#include "classlib/Forms.h"
#include "rtl/ScopeGuard.h"
#include "skin/boxes/ScrollBoxRange.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/win/SPUtils.h"

TspSkinScrollBox::TspSkinScrollBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FControlStyle |= csAcceptsControls;
  FSkinDataName = u"scrollbox";
  SetBounds(Left(), Top(), 150, 150);
}

void TspSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TspSkinScrollBox::CreateParams(TCreateParams& Params) {
  TspSkinCustomControl::CreateParams(Params);
  Params.ClassStyle &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

// --- bars

void TspSkinScrollBox::SetVScrollBar(TspSkinScrollBar* Value) {
  if (FVScrollBar && FVScrollBar != Value) FVScrollBar->RemoveFreeNotification(this);
  FVScrollBar = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetCanFocused(false);
    Value->OnChange = [this](TObject* S) { OnVScrollBarChange(S); };
    Value->OnLastChange = [this](TObject* S) { OnBarLastChange(S); };
    Value->SetEnabled(true);
    Value->SetVisible(false);
  }
  VertUpdate();
}

void TspSkinScrollBox::SetHScrollBar(TspSkinScrollBar* Value) {
  if (FHScrollBar && FHScrollBar != Value) FHScrollBar->RemoveFreeNotification(this);
  FHScrollBar = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetCanFocused(false);
    Value->OnChange = [this](TObject* S) { OnHScrollBarChange(S); };
    Value->OnLastChange = [this](TObject* S) { OnBarLastChange(S); };
    Value->SetEnabled(true);
    Value->SetVisible(false);
  }
  HorzUpdate();
}

void TspSkinScrollBox::SetBorderStyle(TspSkinBorderStyle Value) {
  FBorderStyle = Value;
  RecreateWnd();
}

void TspSkinScrollBox::OnVScrollBarChange(TObject*) {
  const Integer P = FVScrollBar->Position();
  const Integer Delta = P - FOldVScrollBarPos;
  FOldVScrollBarPos = P;
  ScrollBy(0, -Delta);
  // A stretched background does not scroll with the pixels.
  if (Skinned() && StretchEffect) Invalidate();
}

void TspSkinScrollBox::OnHScrollBarChange(TObject*) {
  const Integer P = FHScrollBar->Position();
  const Integer Delta = P - FOldHScrollBarPos;
  FOldHScrollBarPos = P;
  ScrollBy(-Delta, 0);
  if (Skinned() && StretchEffect) Invalidate();
}

// --- range updates

void TspSkinScrollBox::UpdateScrollRange() {
  HorzUpdate();
  VertUpdate();
}

void TspSkinScrollBox::VertUpdate() { AxisUpdate(true); }
void TspSkinScrollBox::HorzUpdate() { AxisUpdate(false); }

void TspSkinScrollBox::AxisUpdate(bool Vertical) {
  TspSkinScrollBar* Bar = Vertical ? FVScrollBar : FHScrollBar;
  if (!Bar || FInCheckScrollBars || !Parent()) return;
  const TRect CR = ClientRect();
  TspScrollBoxAxisIn In;
  In.ClientSize = Vertical ? CR.Height() : CR.Width();
  bool Any = false;
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (!C->Visible()) continue;
    const Integer End = Vertical ? C->Top() + C->Height() : C->Left() + C->Width();
    In.ChildrenEnd = Any ? std::max(In.ChildrenEnd, End) : End;
    Any = true;
  }
  if (!Any) In.ChildrenEnd = 0;
  In.NoChildren = !Any;
  In.Position = Bar->Position();
  In.BarMax = Bar->Max();
  In.SizeOffset = Vertical ? FVSizeOffset : FHSizeOffset;
  const TspScrollBoxAxisOut Out = ScrollBoxAxisUpdate(In);

  auto Alive = LivenessToken();
  // The range first, so a realignment inside the scroll already reads the
  // new position.
  Bar->SetRange(Out.Min, Out.Max, Out.Position, Out.PageSize);
  (Vertical ? FVSizeOffset : FHSizeOffset) = 0;
  (Vertical ? FOldVScrollBarPos : FOldHScrollBarPos) = Bar->Position();
  if (Out.MoveBy != 0) {
    if (Vertical)
      ScrollBy(0, Out.MoveBy);
    else
      ScrollBy(Out.MoveBy, 0);
    if (!*Alive) return;
  }
  if (Bar->Visible() != Out.Show) {
    {
      FInCheckScrollBars = true;
      TFinally Done([&] { FInCheckScrollBars = false; });
      Bar->SetVisible(Out.Show);
    }
    if (Align() != alNone && *Alive) {
      FInCheckScrollBars = true;
      TFinally Done([&] { FInCheckScrollBars = false; });
      Parent()->Realign();
      Realign();
    }
  }
  if (*Alive && FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
}

void TspSkinScrollBox::VScroll(Integer APosition) {
  if (!FVScrollBar) return;
  FVScrollBar->SetPosition(ScrollBoxRequestPosition(FVScrollBar->Min(), FVScrollBar->Max(), FVScrollBar->PageSize(),
                                                    APosition, true));
}

void TspSkinScrollBox::HScroll(Integer APosition) {
  if (!FHScrollBar) return;
  FHScrollBar->SetPosition(ScrollBoxRequestPosition(FHScrollBar->Min(), FHScrollBar->Max(), FHScrollBar->PageSize(),
                                                    APosition, false));
}

void TspSkinScrollBox::ScrollToControl(TControl* C) {
  if (!C || C->Parent() != this) return;
  const TRect CR = ClientRect();
  if (FVScrollBar && FVScrollBar->Visible())
    FVScrollBar->SetPosition(ScrollBoxPositionForChild(FVScrollBar->Position(), C->Top(), C->Top() + C->Height(),
                                                       CR.Height(), FVSizeOffset));
  if (FHScrollBar && FHScrollBar->Visible())
    FHScrollBar->SetPosition(ScrollBoxPositionForChild(FHScrollBar->Position(), C->Left(), C->Left() + C->Width(),
                                                       CR.Width(), FHSizeOffset));
}

void TspSkinScrollBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldW = Width(), OldH = Height();
  auto Alive = LivenessToken();
  TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!*Alive) return;
  FHSizeOffset = (Width() > OldW && OldW != 0) ? Width() - OldW : 0;
  if (Align() != alNone) HorzUpdate();
  FVSizeOffset = (Height() > OldH && OldH != 0) ? Height() - OldH : 0;
  if (Align() != alNone) VertUpdate();
}

void TspSkinScrollBox::AdjustClientRect(TRect& Rect) {
  const TRect CR = ClientRect();
  if (FVScrollBar && FVScrollBar->Visible()) {
    Rect.Top = -FVScrollBar->Position();
    Rect.Bottom = Rect.Top + std::max(FVScrollBar->Max(), CR.Height());
  } else {
    Rect.Top = 0;
    Rect.Bottom = CR.Height();
  }
  if (FHScrollBar && FHScrollBar->Visible()) {
    Rect.Left = -FHScrollBar->Position();
    Rect.Right = Rect.Left + std::max(FHScrollBar->Max(), CR.Width());
  } else {
    Rect.Left = 0;
    Rect.Right = CR.Width();
  }
  TspSkinCustomControl::AdjustClientRect(Rect);
}

// --- skin

void TspSkinScrollBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  BGPictureIndex = -1;
  if (auto* D = Skinned() ? dynamic_cast<TspDataSkinScrollBoxControl*>(SkinDescription()) : nullptr)
    BGPictureIndex = D->BGPictureIndex;
}

void TspSkinScrollBox::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  RecreateWnd();
  if (FVScrollBar) FVScrollBar->SetAlign(FVScrollBar->Align());
  if (FHScrollBar) FHScrollBar->SetAlign(FHScrollBar->Align());
}

void TspSkinScrollBox::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(ClientRect());
}

// --- frame

bool TspSkinScrollBox::HasFrame() {
  if (FBorderStyle == bvNone) return false;
  if (Skinned() && BGPictureIndex != -1) return false;
  return true;
}

TRect TspSkinScrollBox::FrameWidths() {
  GetSkinData();
  if (!HasFrame()) return TRect();
  if (!Skinned()) return TRect(1, 1, 1, 1);
  return TRect(ClRect.Left, ClRect.Top, SkinRect.Width() - ClRect.Right, SkinRect.Height() - ClRect.Bottom);
}

void TspSkinScrollBox::PaintFrame(HDC DC) {
  GetSkinData();
  if (!HasFrame()) return;
  TCanvas C;
  C.SetHandle(DC);
  TFinally Release([&] { C.SetHandle(nullptr); });
  const Integer W = Width(), H = Height();
  if (!Skinned()) {
    TColor TL = clBtnShadow, BR = clBtnShadow;
    if (FBorderStyle == bvRaised) {
      TL = clBtnShadow;
      BR = clBtnHighlight;
    } else if (FBorderStyle == bvLowered) {
      TL = clBtnHighlight;
      BR = clBtnShadow;
    }
    C.Pen()->SetWidth(1);
    C.Pen()->SetColor(TL);
    C.MoveTo(0, H - 1);
    C.LineTo(0, 0);
    C.LineTo(W - 1, 0);
    C.Pen()->SetColor(BR);
    C.LineTo(W - 1, H - 1);
    C.LineTo(-1, H - 1);
    return;
  }
  if (!Picture) return;
  const Integer dW = W - SkinRect.Width(), dH = H - SkinRect.Height();
  TBitmap L, T, R, Bm;
  CreateBorderStripImagesEx(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, TPoint(RTPt.X + dW, RTPt.Y),
                            TPoint(LBPt.X, LBPt.Y + dH), TPoint(RBPt.X + dW, RBPt.Y + dH),
                            TRect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH), &L, &T, &R, &Bm,
                            Picture, SkinRect, W, H, LeftStretch, TopStretch, RightStretch, BottomStretch);
  C.Draw(0, 0, &T);
  C.Draw(0, T.Height(), &L);
  C.Draw(W - R.Width(), T.Height(), &R);
  C.Draw(0, H - Bm.Height(), &Bm);
}

// --- background

void TspSkinScrollBox::Paint() {
  GetSkinData();
  if (!Skinned()) {
    TspSkinCustomControl::Paint();
    return;
  }
  RefreshSkinGeometry();
  PaintSkinBackground();
}

void TspSkinScrollBox::PaintSkinBackground() {
  const TRect CR = ClientRect();
  if (CR.Width() <= 0 || CR.Height() <= 0) return;
  TCanvas* C = Canvas();
  TBitmap Tile;
  if (TBitmap* Pic = BackgroundPicture()) {
    Tile.Assign(Pic);
  } else {
    if (!Picture || RectIsEmpty(ClRect)) return;
    const TRect Src(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                    SkinRect.Top + ClRect.Bottom);
    Tile.SetSize(Src.Width(), Src.Height());
    Tile.Canvas()->CopyRect(TRect(0, 0, Src.Width(), Src.Height()), Picture->Canvas(), Src);
  }
  const Integer TW = Tile.Width(), TH = Tile.Height();
  if (TW <= 0 || TH <= 0) return;
  const Integer W = Width(), H = Height();
  const bool Picture = BackgroundPicture() != nullptr;
  if (StretchEffect && W > 0 && H > 0) {
    switch (StretchType) {
      case spstFull:
        C->StretchDraw(TRect(0, 0, W, H), &Tile);
        break;
      case spstHorz: {
        TBitmap Col;
        Col.SetSize(TW, H);
        Col.Canvas()->StretchDraw(TRect(0, 0, TW, H), &Tile);
        for (Integer I = 0; I <= W / TW; ++I) C->Draw(I * TW, 0, &Col);
        break;
      }
      case spstVert: {
        TBitmap Row;
        Row.SetSize(W, TH);
        Row.Canvas()->StretchDraw(TRect(0, 0, W, TH), &Tile);
        for (Integer I = 0; I <= H / TH; ++I) C->Draw(0, I * TH, &Row);
        break;
      }
    }
    return;
  }
  const Integer Cols = (Picture ? W : CR.Width()) / TW + 1, Rows = (Picture ? H : CR.Height()) / TH + 1;
  for (Integer Y = 0; Y < Rows; ++Y)
    for (Integer X = 0; X < Cols; ++X) C->Draw(X * TW, Y * TH, &Tile);
}

// --- messages

void TspSkinScrollBox::WndProc(TMessage& M) {
  if (FCanFocused && (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK || M.Msg == CN_COMMAND)) {
    if (!FocusBeforePress(M, FClicksDisabled, true)) return;
  }
  TspSkinCustomControl::WndProc(M);
}

void TspSkinScrollBox::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_NCCALCSIZE: {
      auto* R = reinterpret_cast<RECT*>(M.LParam);
      const TRect F = FrameWidths();
      R->left += F.Left;
      R->top += F.Top;
      R->right -= F.Right;
      R->bottom -= F.Bottom;
      M.Result = 0;
      return;
    }
    case WM_NCHITTEST:
      M.Result = HTCLIENT;
      return;
    case WM_NCPAINT: {
      HDC DC = GetWindowDC(Handle());
      TFinally Release([&] { ReleaseDC(Handle(), DC); });
      PaintFrame(DC);
      M.Result = 0;
      return;
    }
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 1, 0);
      return;
    case WM_WINDOWPOSCHANGING:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive && HandleAllocated() && Align() == alNone) {
        VertUpdate();
        if (*Alive) HorzUpdate();
      }
      return;
    case CM_VISIBLECHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (FVScrollBar) FVScrollBar->SetVisible(Visible());
      if (FHScrollBar) FHScrollBar->SetVisible(Visible());
      return;
    case FEM_PAINT_FRAME:
      GetSkinData();
      if (M.WParam && BackgroundPicture() == nullptr && FBorderStyle != bvNone) {
        PaintFrame(reinterpret_cast<HDC>(M.WParam));
        M.Result = SP_FRAME_PAINTED;
      } else {
        M.Result = 0;
      }
      return;
    case FEM_PAINT_FRAME_EX:
      if (M.LParam != SP_PAINT_EX_MAGIC) break;
      GetSkinData();
      if (M.WParam && BackgroundPicture() == nullptr && FBorderStyle != bvNone)
        PaintFrame(reinterpret_cast<HDC>(M.WParam));
      M.Result = SP_PAINT_EX_MAGIC;
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
