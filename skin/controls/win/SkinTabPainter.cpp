#include "skin/controls/win/SkinTabPainter.h"

#include "rtl/ScopeGuard.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinTabImages.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

namespace {

bool Vertical(TTabPosition P) { return P == tpLeft || P == tpRight; }

// The button description Name of a skin, or nil when it has none or one of
// another class.
TspDataSkinButtonControl* ButtonDescription(TspSkinData* SD, const String& Name) {
  if (!SD || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  if (I < 0) return nullptr;
  return dynamic_cast<TspDataSkinButtonControl*>(static_cast<TspDataSkinControl*>(SD->CtrlList->Items(I)));
}

// B filled to its size from a button description's state picture R by
// nine slices (the corner points follow the new size).
void DrawButtonPiece(TBitmap* B, TspDataSkinButtonControl* D, TBitmap* Pic, const TRect& R) {
  if (!Pic || RectIsEmpty(R) || B->Width() <= 0 || B->Height() <= 0) return;
  const Integer W = B->Width(), H = B->Height();
  const Integer DW = W - D->SkinRect.Width(), DH = H - D->SkinRect.Height();
  const TPoint NewRT(D->RTPoint.X + DW, D->RTPoint.Y), NewLB(D->LBPoint.X, D->LBPoint.Y + DH),
      NewRB(D->RBPoint.X + DW, D->RBPoint.Y + DH);
  const TRect NewCl(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH);
  CreateNineSliceImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint, NewRT, NewLB, NewRB,
                       NewCl, B, Pic, R, W, H, true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                       D->StretchEffect, D->StretchType);
}

// The picture of a button state: pressed, hot or normal, each falling back
// to the next; Color the state's caption colour.
TRect ButtonStateRect(TspDataSkinButtonControl* D, bool Down, bool Hot, TColor& Color) {
  if (Down) {
    Color = D->DownFontColor;
    if (!RectIsEmpty(D->DownSkinRect)) return D->DownSkinRect;
    if (!RectIsEmpty(D->ActiveSkinRect)) return D->ActiveSkinRect;
    return D->SkinRect;
  }
  if (Hot) {
    Color = D->ActiveFontColor;
    return RectIsEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  }
  Color = D->FontColor;
  return D->SkinRect;
}

void Grow(TRect& R, Integer DX, Integer DY) {
  R.Left -= DX;
  R.Right += DX;
  R.Top -= DY;
  R.Bottom += DY;
}

// The close button in the area A of a tab image W x H; its rectangle in the
// final image goes to the face's ButtonRect (kept when nothing is drawn).
void DrawCloseButton(const TspTabSkin& S, const TspTabLook& L, const TspTabFace& F, TCanvas* Cnvs, const TRect& A,
                     Integer W, Integer H) {
  const bool In = F.ButtonMouseIn && *F.ButtonMouseIn;
  const bool Down = In && F.ButtonMouseDown && *F.ButtonMouseDown;
  const Integer m = A.Top + A.Height() / 2;
  TRect Placed;
  if (!S.Skinned()) {
    Placed = TRect(A.Left, m - 7, A.Left + 14, m + 7);
    DrawCloseGlyph(Cnvs, Placed.Left + 2, Placed.Top + 2, In ? TColor(0xFFFFFF) : TColor(0));
  } else if (RectIsEmpty(S.CloseButtonRect)) {
    TspDataSkinButtonControl* D = ButtonDescription(L.SD, u"resizetoolbutton");
    if (!D) return;
    auto Bt = NewSkinBitmap(L.CloseSize, L.CloseSize);
    TColor C = 0;
    const TRect R = ButtonStateRect(D, Down, In, C);
    DrawButtonPiece(Bt.get(), D, SkinActivePicture(L.SD, D->PictureIndex), R);
    DrawCloseGlyph(Bt->Canvas(), Bt->Width() / 2 - 5, Bt->Height() / 2 - 5, C);
    Placed = TRect(A.Left, m - Bt->Height() / 2, A.Left + Bt->Width(), m - Bt->Height() / 2 + Bt->Height());
    Cnvs->Draw(Placed.Left, Placed.Top, Bt.get());
  } else {
    const TRect P = Down ? S.CloseButtonDownRect : In ? S.ClosebuttonActiveRect : S.CloseButtonRect;
    Placed = TRect(A.Left, m - P.Height() / 2, A.Left + P.Width(), m - P.Height() / 2 + P.Height());
    if (S.Picture && !RectIsEmpty(P)) {
      if (S.ButtonTransparent) {
        auto Bt = NewSkinBitmap(P.Width(), P.Height());
        Bt->Canvas()->CopyRect(TRect(0, 0, P.Width(), P.Height()), S.Picture->Canvas(), P);
        Bt->SetTransparentMode(tmFixed);
        Bt->SetTransparentColor(S.ButtonTransparentColor);
        Bt->SetTransparent(true);
        Cnvs->Draw(Placed.Left, Placed.Top, Bt.get());
      } else {
        Cnvs->CopyRect(Placed, S.Picture->Canvas(), P);
      }
    }
  }
  if (F.ButtonRect) *F.ButtonRect = TabCloseButtonRect(L.Position, L.TextInHorizontal, Placed, W, H);
}

}  // namespace

TBitmap* SkinActivePicture(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

// ---------------------------------------------------------------------------
// TspTabSkin

void TspTabSkin::ReadTabSkin(TspSkinData* SD, const String& Name) {
  BGPictureIndex = -1;
  FIndex = SD && !SD->Empty ? SD->GetControlIndex(Name) : -1;
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinTabControl*>(static_cast<TspDataSkinControl*>(SD->CtrlList->Items(FIndex)));
  if (!D) {
    // An entry of another class counts as none: the default look, and no
    // picture of an earlier skin stays in reach.
    FIndex = -1;
    Picture = nullptr;
    return;
  }
  Picture = SkinActivePicture(SD, D->PictureIndex);
  SkinRect = D->SkinRect;
  ClRect = D->ClRect;
  TabRect = D->TabRect;
  ActiveTabRect = RectIsEmpty(D->ActiveTabRect) ? D->TabRect : D->ActiveTabRect;
  FocusTabRect = RectIsEmpty(D->FocusTabRect) ? D->ActiveTabRect : D->FocusTabRect;
  TabsBGRect = D->TabsBGRect;
  LTPoint = D->LTPoint;
  RTPoint = D->RTPoint;
  LBPoint = D->LBPoint;
  RBPoint = D->RBPoint;
  TabLeftOffset = D->TabLeftOffset;
  TabRightOffset = D->TabRightOffset;
  FontName = D->FontName;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  FocusFontColor = D->FocusFontColor;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  UpDown = D->UpDown;
  BGPictureIndex = D->BGPictureIndex;
  MouseInTabRect = D->MouseInTabRect;
  MouseInFontColor = D->MouseInFontColor;
  TabStretchEffect = D->TabStretchEffect;
  ShowFocus = D->ShowFocus;
  FocusOffsetX = D->FocusOffsetX;
  FocusOffsetY = D->FocusOffsetY;
  LeftStretch = D->LeftStretch;
  TopStretch = D->TopStretch;
  RightStretch = D->RightStretch;
  BottomStretch = D->BottomStretch;
  StretchEffect = D->StretchEffect;
  StretchType = D->StretchType;
  // The fallbacks go back into the shared description: its other readers
  // apply the same ones.
  if (RectIsEmpty(D->CloseButtonActiveRect)) D->CloseButtonActiveRect = D->CloseButtonRect;
  if (RectIsEmpty(D->CloseButtonDownRect)) D->CloseButtonDownRect = D->CloseButtonActiveRect;
  CloseButtonRect = D->CloseButtonRect;
  ClosebuttonActiveRect = D->CloseButtonActiveRect;
  CloseButtonDownRect = D->CloseButtonDownRect;
  ButtonTransparent = D->ButtonTransparent;
  ButtonTransparentColor = D->ButtonTransparentColor;
  TabLeftBottomActiveRect = D->TabLeftBottomActiveRect;
  TabLeftBottomFocusRect =
      RectIsEmpty(D->TabLeftBottomFocusRect) ? D->TabLeftBottomActiveRect : D->TabLeftBottomFocusRect;
}

TRect TspTabSkin::SkinFrameRect(const TRect& D) const {
  const Integer ml = ClRect.Left, mt = ClRect.Top;
  const Integer mr = SkinRect.Width() - ClRect.Right, mb = SkinRect.Height() - ClRect.Bottom;
  return TRect(D.Left - ml, D.Top - mt, D.Right + mr, D.Bottom + mb);
}

std::unique_ptr<TBitmap> TspTabSkin::ClientPiece() const {
  if (!Picture || RectIsEmpty(ClRect)) return nullptr;
  auto S = std::make_unique<TBitmap>();
  S->SetSize(ClRect.Width(), ClRect.Height());
  S->Canvas()->CopyRect(TRect(0, 0, ClRect.Width(), ClRect.Height()), Picture->Canvas(),
                        TRect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                              SkinRect.Top + ClRect.Bottom));
  return S;
}

void TspTabSkin::DrawFrameStrips(TCanvas* C, const TRect& F, const TRect& Excluded) const {
  if (!Picture || RectIsEmpty(SkinRect)) return;
  const Integer FW = F.Width(), FH = F.Height();
  if (FW <= 0 || FH <= 0) return;
  const Integer DW = FW - SkinRect.Width(), DH = FH - SkinRect.Height();
  const TPoint NewRT(RTPoint.X + DW, RTPoint.Y), NewLB(LBPoint.X, LBPoint.Y + DH), NewRB(RBPoint.X + DW, RBPoint.Y + DH);
  const TRect NewCl(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH);
  auto LeftB = NewSkinBitmap(NewCl.Left, NewCl.Height());
  auto TopB = NewSkinBitmap(FW, NewCl.Top);
  auto RightB = NewSkinBitmap(FW - NewCl.Right, NewCl.Height());
  auto BottomB = NewSkinBitmap(FW, FH - NewCl.Bottom);
  CreateBorderStripImagesEx(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, NewRT, NewLB, NewRB, NewCl, LeftB.get(),
                            TopB.get(), RightB.get(), BottomB.get(), Picture, SkinRect, FW, FH, LeftStretch, TopStretch,
                            RightStretch, BottomStretch);
  HDC DC = C->Handle();
  const Integer Saved = SaveDC(DC);
  TFinally Restore([&] { RestoreDC(DC, Saved); });
  if (!RectIsEmpty(Excluded)) ExcludeClipRect(DC, Excluded.Left, Excluded.Top, Excluded.Right, Excluded.Bottom);
  C->Draw(F.Left, F.Top, TopB.get());
  C->Draw(F.Left, F.Top + TopB->Height(), LeftB.get());
  C->Draw(F.Left + FW - RightB->Width(), F.Top + TopB->Height(), RightB.get());
  C->Draw(F.Left, F.Top + FH - BottomB->Height(), BottomB.get());
}

TRect TspTabSkin::StripArea(TTabPosition Position, const TRect& F, Integer W, Integer H) {
  switch (Position) {
    case tpTop:
      return TRect(0, 0, W, F.Top);
    case tpBottom:
      return TRect(0, F.Bottom, W, H);
    case tpLeft:
      return TRect(0, 0, F.Left, H);
    case tpRight:
      return TRect(F.Right, 0, W, H);
  }
  return TRect();
}

void TspTabSkin::FillStrip(TBitmap* Strip, TControl* Control, const TRect& Area, const TRect& F,
                           TTabPosition Position, bool Transparent) {
  if (RectIsEmpty(TabsBGRect)) {
    TabsBGRect = ClRect;
    TabsBGRect.Left += SkinRect.Left;
    TabsBGRect.Right += SkinRect.Left;
    TabsBGRect.Top += SkinRect.Top;
    TabsBGRect.Bottom += SkinRect.Top;
  }
  if (Strip->Width() <= 0 || Strip->Height() <= 0) return;
  if (Transparent) {
    TRect PR = Area;
    if (Position == tpLeft) PR.Bottom = F.Bottom;
    PaintParentBackgroundOffset(Control, PR, Strip->Canvas());
  } else if (Picture && !RectIsEmpty(TabsBGRect)) {
    const Integer TW = TabsBGRect.Width(), TH = TabsBGRect.Height();
    auto Tile = NewSkinBitmap(TW, TH);
    Tile->Canvas()->CopyRect(TRect(0, 0, TW, TH), Picture->Canvas(), TabsBGRect);
    DrawStretchOrTile(Strip->Canvas(), Strip->Width(), Strip->Height(), Tile.get(), false, spstFull);
  }
}

// ---------------------------------------------------------------------------
// One tab

void DrawTabFace(const TspTabSkin& S, const TspTabLook& L, const TspTabFace& F, const TRect& R, bool Active,
                 bool MouseIn, TCanvas* Cnvs) {
  const TTabPosition Pos = L.Position;
  const Integer Len = Vertical(Pos) ? R.Height() : R.Width();
  const Integer Thick = Vertical(Pos) ? R.Width() : R.Height();
  if (Len <= 0 || Thick <= 0) return;
  const bool Focus = L.Focused;
  auto B = NewSkinBitmap(Len, Thick);
  TCanvas* C = B->Canvas();
  TRect TR(0, 0, Len, Thick);
  TColor TextColor = L.Font->Color();
  const bool Skinned = S.Skinned();
  if (!Skinned) {
    TColor Fill = clBtnFace;
    bool Frame = false;
    if (MouseIn && !Active) {
      Fill = TColor(0xD2BDB6);
    } else if (Active) {
      Frame = true;
      Fill = Focus ? TColor(0xB59385) : TColor(0xD2BDB6);
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(TRect(0, 0, Len, Thick));
    if (Frame) {
      C->Brush()->SetColor(clNavy);
      C->FrameRect(TRect(0, 0, Len, Thick));
      Grow(TR, -1, -1);
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(L.Font);
    if (L.SD && L.SD->ResourceStrData()) C->Font()->SetCharset(L.SD->ResourceStrData()->CharSet());
    TextColor = C->Font()->Color();
  } else {
    if (L.ButtonStyle) {
      if (TspDataSkinButtonControl* D = ButtonDescription(L.SD, L.ButtonTabSkinDataName)) {
        const TRect BR = ButtonStateRect(D, Active, MouseIn, TextColor);
        DrawButtonPiece(B.get(), D, SkinActivePicture(L.SD, D->PictureIndex), BR);
      }
    } else {
      TRect P;
      if (MouseIn && !Active && !RectIsEmpty(S.MouseInTabRect))
        P = S.MouseInTabRect;
      else if (Active && Focus)
        P = S.FocusTabRect;
      else if (!Active)
        P = S.TabRect;
      else
        P = S.ActiveTabRect;
      if (S.Picture && !RectIsEmpty(P)) {
        if (L.TabHeight > 0) {
          const Integer q = S.TabRect.Height() / 4;
          if (Active && S.TabRect.Height() < S.ActiveTabRect.Height())
            B->SetHeight(B->Height() + S.ActiveTabRect.Height() - S.TabRect.Height());
          else if (Active && Focus && S.TabRect.Height() < S.FocusTabRect.Height())
            B->SetHeight(B->Height() + S.FocusTabRect.Height() - S.TabRect.Height());
          CreateClientStretchImage(B.get(), S.Picture, P,
                                   TRect(S.TabLeftOffset, q, P.Width() - S.TabRightOffset, P.Height() - q), true);
        } else {
          CreateHorzThreeSliceImage(S.TabLeftOffset, S.TabRightOffset, B.get(), S.Picture, P, Len, P.Height(),
                                    S.TabStretchEffect);
        }
        if (Active && R.Left == 0 && !RectIsEmpty(S.TabLeftBottomActiveRect) && !L.MultiLine && !Vertical(Pos)) {
          const TRect LB = Focus ? S.TabLeftBottomFocusRect : S.TabLeftBottomActiveRect;
          C->CopyRect(TRect(0, B->Height() - LB.Height(), LB.Width(), B->Height()), S.Picture->Canvas(), LB);
        }
      }
    }
    if (Pos == tpBottom) FlipTabImage(B.get());
    C = B->Canvas();
    C->Brush()->SetStyle(bsClear);
    if (L.UseSkinFont) {
      C->Font()->SetName(S.FontName);
      C->Font()->SetStyle(S.FontStyle);
      C->Font()->SetHeight(S.FontHeight);
    } else {
      C->Font()->Assign(L.Font);
    }
    C->Font()->SetCharset(L.SD && L.SD->ResourceStrData() ? L.SD->ResourceStrData()->CharSet() : L.Font->Charset());
    if (!L.ButtonStyle) {
      if (MouseIn && !Active)
        TextColor = S.MouseInFontColor;
      else if (Active && Focus)
        TextColor = S.FocusFontColor;
      else if (!Active)
        TextColor = S.FontColor;
      else
        TextColor = S.ActiveFontColor;
    }
  }
  C->Font()->SetColor(TextColor);
  if (L.TextInHorizontal && Pos == tpLeft) {
    RotateTabImageCCW(B.get());
    TR = TRect(0, 0, B->Width(), B->Height());
  } else if (L.TextInHorizontal && Pos == tpRight) {
    RotateTabImageCW(B.get());
    TR = TRect(0, 0, B->Width(), B->Height());
  }
  C = B->Canvas();
  C->Brush()->SetStyle(bsClear);
  if (Skinned && S.ShowFocus && Focus && Active && L.SD) {
    TRect FR = TR;
    Grow(FR, -S.FocusOffsetX, -S.FocusOffsetY);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(L.SD->SkinColors()->cBtnFace());
    DrawDottedFocusRect(C, FR);
    C->Brush()->SetStyle(bsClear);
  }
  Integer IO = 0;
  if (Skinned && !Active && S.TabRect.Height() != S.ActiveTabRect.Height()) {
    if (Pos == tpTop || Pos == tpLeft) {
      TR.Top += L.CaptionNudge;
      if (F.HasImage) IO = 2;
    } else {
      TR.Top -= L.CaptionNudge;
      if (F.HasImage) IO = -2;
    }
  }
  const Integer CR = L.ShowCloseButtons ? L.CloseSize + 2 : 0;
  const Integer CloseCut = CR > 0 ? CR + (Skinned ? 3 : 0) : 0;
  if (L.OnDrawSkinTab && *L.OnDrawSkinTab) {
    (*L.OnDrawSkinTab)(F.TI, TRect(0, 0, B->Width(), B->Height()), Active, MouseIn, C);
    TR.Right -= CloseCut;
  } else if (F.HasImage || L.ExtendedDraw) {
    if (L.ExtendedDraw) {
      TRect GR = TR;
      GR.Right -= CR;
      DrawImageAndText(C, GR, L.Margin, L.Spacing, L.Layout, F.Text, F.ImageIndex, F.HasImage ? L.Images : nullptr,
                       false, F.GlyphEnabled, false, 0);
    } else {
      DrawTabImageAndText(C, B->Width() - CR, B->Height(), IO, F.GlyphEnabled, F.ImageIndex,
                          F.HasImage ? L.Images : nullptr, F.Text);
    }
    TR.Right -= CloseCut;
  } else {
    TR.Right -= CloseCut;
    RECT TRR{TR.Left, TR.Top, TR.Right, TR.Bottom};
    DrawTextW(C->Handle(), reinterpret_cast<const WCHAR*>(F.Text.c_str()), Integer(F.Text.size()), &TRR,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (L.ShowCloseButtons && F.ButtonMouseIn) {
    if (!MouseIn) *F.ButtonMouseIn = false;
    DrawCloseButton(S, L, F, C, TRect(TR.Right, TR.Top + IO, B->Width(), TR.Bottom), B->Width(), B->Height());
  }
  if (Pos == tpLeft && !L.TextInHorizontal)
    DrawTabImageRotatedCCW(Cnvs, B.get(), R.Left, R.Top);
  else if (Pos == tpRight && !L.TextInHorizontal)
    DrawTabImageRotatedCW(Cnvs, B.get(), R.Left, R.Top);
  else
    Cnvs->Draw(R.Left, R.Top, B.get());
}
