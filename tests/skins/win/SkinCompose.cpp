#include "tests/skins/win/SkinCompose.h"

#include <algorithm>

#include "skin/data/win/SPUtils.h"

namespace skinstest {

namespace {

TBitmap* Pic(TspSkinData* D, Integer Index) {
  return Index >= 0 && Index < D->FActivePictures->Count() ? static_cast<TBitmap*>(D->FActivePictures->Items(Index))
                                                            : nullptr;
}

template <class T>
T* Control(TspSkinData* D, const char16_t* Name) {
  const Integer I = D->GetControlIndex(Name);
  return I < 0 ? nullptr : dynamic_cast<T*>(static_cast<TspDataSkinControl*>(D->CtrlList->Items(I)));
}

template <class T>
T* Object(TspSkinData* D, const char16_t* Name) {
  const Integer I = D->GetIndex(Name);
  return I < 0 ? nullptr : dynamic_cast<T*>(static_cast<TspDataSkinObject*>(D->ObjectList->Items(I)));
}

std::unique_ptr<TBitmap> NewBitmap(Integer W, Integer H, TColor Fill) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Fill);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

// A piece of a picture drawn at (X, Y), keyed by its bottom-left pixel or
// by Key when given.
void DrawPiece(TCanvas* C, Integer X, Integer Y, TBitmap* Picture, const TRect& R, bool Keyed, TColor Key = clDefault) {
  if (!Picture || IsSkinRectEmpty(R)) return;
  auto B = NewBitmap(R.Width(), R.Height(), clWhite);
  B->Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), Picture->Canvas(), R);
  if (Keyed) {
    B->SetTransparent(true);
    if (Key != clDefault) B->SetTransparentColor(Key);
  }
  C->Draw(X, Y, B.get());
}

// Text vertically centred in R, from R.Left (or centred), clipped to R.
void TextIn(TCanvas* C, const TRect& R, const String& S, TColor Color, TFontStyles Style = 0, bool Centre = false) {
  C->Font()->SetName(u"Arial");
  C->Font()->SetHeight(14);
  C->Font()->SetStyle(Style);
  C->Font()->SetColor(Color);
  C->Brush()->SetStyle(bsClear);
  const SIZE Ext = C->TextExtent(S);
  const Integer X = Centre ? R.Left + (R.Width() - Ext.cx) / 2 : R.Left;
  C->TextRect(R, X, R.Top + (R.Height() - Ext.cy) / 2, S);
}

void Put(TCanvas* C, Integer X, Integer Y, TBitmap* B) { C->Draw(X, Y, B); }

}  // namespace

int ResizeModeOf(const TspDataSkinCustomControl* C) {
  if (IsSkinRectEmpty(C->SkinRect)) return -1;
  if (C->RBPoint.X != 0 && C->RBPoint.Y != 0) return 1;
  if (C->RTPoint.X != 0 || C->RTPoint.Y != 0) return 2;
  if (C->LBPoint.X != 0 || C->LBPoint.Y != 0) return 3;
  return 0;
}

std::vector<std::pair<const char*, TRect>> StatesOf(const TspDataSkinCustomControl* C) {
  std::vector<std::pair<const char*, TRect>> S{{"skinrect", C->SkinRect}};
  auto Add = [&](const char* K, const TRect& R) {
    if (!IsSkinRectEmpty(R)) S.push_back({K, R});
  };
  if (auto* B = dynamic_cast<const TspDataSkinButtonControl*>(C)) {
    Add("activeskinrect", B->ActiveSkinRect);
    Add("downskinrect", B->DownSkinRect);
    Add("focusedskinrect", B->FocusedSkinRect);
    Add("disabledskinrect", B->DisabledSkinRect);
  } else if (auto* K = dynamic_cast<const TspDataSkinCheckRadioControl*>(C)) {
    Add("activeskinrect", K->ActiveSkinRect);
  } else if (auto* T = dynamic_cast<const TspDataSkinTrackBarControl*>(C)) {
    Add("activeskinrect", T->ActiveSkinRect);
  } else if (auto* E = dynamic_cast<const TspDataSkinEditControl*>(C)) {
    Add("activeskinrect", E->ActiveSkinRect);
  } else if (auto* Se = dynamic_cast<const TspDataSkinSpinEditControl*>(C)) {
    Add("activeskinrect", Se->ActiveSkinRect);
  } else if (auto* Cb = dynamic_cast<const TspDataSkinComboBox*>(C)) {
    Add("activeskinrect", Cb->ActiveSkinRect);
  }
  return S;
}

std::unique_ptr<TBitmap> ComposeControl(TspSkinData* D, const TspDataSkinCustomControl* C, const TRect& State, Integer W,
                                        Integer H) {
  TBitmap* P = Pic(D, C->PictureIndex);
  const Integer SW = C->SkinRect.Width(), SH = C->SkinRect.Height();
  auto B = NewBitmap(1, 1, clWhite);
  switch (ResizeModeOf(C)) {
    case 1: {
      const Integer DW = W - SW, DH = H - SH;
      const TRect Cl(C->ClRect.Left, C->ClRect.Top, C->ClRect.Right + DW, C->ClRect.Bottom + DH);
      CreateNineSliceImage(C->LTPoint, C->RTPoint, C->LBPoint, C->RBPoint, C->ClRect, C->LTPoint,
                           TPoint(C->RTPoint.X + DW, C->RTPoint.Y), TPoint(C->LBPoint.X, C->LBPoint.Y + DH),
                           TPoint(C->RBPoint.X + DW, C->RBPoint.Y + DH), Cl, B.get(), P, State, W, H, true,
                           C->LeftStretch, C->TopStretch, C->RightStretch, C->BottomStretch, C->StretchEffect,
                           C->StretchType);
      break;
    }
    case 2:
      CreateHorzThreeSliceImage(C->LTPoint.X, SW - C->RTPoint.X, B.get(), P, State, W, H, C->StretchEffect);
      break;
    case 3:
      CreateVertThreeSliceImage(C->LTPoint.Y, SH - C->LBPoint.Y, B.get(), P, State, W, H, C->StretchEffect);
      break;
    default:
      B->SetSize(SW, SH);
      B->Canvas()->CopyRect(TRect(0, 0, SW, SH), P->Canvas(), State);
      break;
  }
  return B;
}

std::unique_ptr<TBitmap> ComposeTabPage(TspSkinData* D, const TspDataSkinTabControl* Tab, Integer W, Integer H) {
  const Integer DW = W - Tab->SkinRect.Width(), DH = H - Tab->SkinRect.Height();
  auto Page = NewBitmap(1, 1, clWhite);
  CreateNineSliceImage(Tab->LTPoint, Tab->RTPoint, Tab->LBPoint, Tab->RBPoint, Tab->ClRect, Tab->LTPoint,
                       TPoint(Tab->RTPoint.X + DW, Tab->RTPoint.Y), TPoint(Tab->LBPoint.X, Tab->LBPoint.Y + DH),
                       TPoint(Tab->RBPoint.X + DW, Tab->RBPoint.Y + DH),
                       TRect(Tab->ClRect.Left, Tab->ClRect.Top, Tab->ClRect.Right + DW, Tab->ClRect.Bottom + DH),
                       Page.get(), Pic(D, Tab->PictureIndex), Tab->SkinRect, W, H, true, Tab->LeftStretch,
                       Tab->TopStretch, Tab->RightStretch, Tab->BottomStretch, Tab->StretchEffect, Tab->StretchType);
  return Page;
}

std::unique_ptr<TBitmap> ComposeTab(TspSkinData* D, const TspDataSkinTabControl* Tab, const TRect& State, Integer W) {
  auto T = NewBitmap(1, 1, clWhite);
  CreateHorzThreeSliceImage(Tab->TabLeftOffset, Tab->TabRightOffset, T.get(), Pic(D, Tab->PictureIndex), State, W,
                            State.Height(), Tab->TabStretchEffect);
  return T;
}

std::unique_ptr<TBitmap> ComposeRuler(TspSkinData* D, const TspDataSkinSlider* S, bool Horizontal, Integer Length) {
  auto R = NewBitmap(1, 1, clWhite);
  if (Horizontal)
    CreateHorzThreeSliceImage(S->EdgeSize, S->EdgeSize, R.get(), Pic(D, S->PictureIndex), S->HRulerRect, Length,
                              S->HRulerRect.Height(), false);
  else
    CreateVertThreeSliceImage(S->EdgeSize, S->EdgeSize, R.get(), Pic(D, S->PictureIndex), S->VRulerRect,
                              S->VRulerRect.Width(), Length, false);
  return R;
}

std::unique_ptr<TBitmap> ComposeThumb(TspSkinData* D, const TspDataSkinScrollBarControl* S, const TRect& State,
                                      Integer Length) {
  auto T = NewBitmap(1, 1, clWhite);
  if (S->RTPoint.X != 0 || S->RTPoint.Y != 0)
    CreateHorzThreeSliceImage(S->ThumbOffset1, S->ThumbOffset2, T.get(), Pic(D, S->PictureIndex), State, Length,
                              State.Height(), S->ThumbStretchEffect);
  else
    CreateVertThreeSliceImage(S->ThumbOffset1, S->ThumbOffset2, T.get(), Pic(D, S->PictureIndex), State,
                              State.Width(), Length, S->ThumbStretchEffect);
  return T;
}

std::unique_ptr<TBitmap> KeyedOnto(TspSkinData* D, Integer PictureIndex, const TRect& R, TColor Face, TColor Key) {
  auto B = NewBitmap(R.Width(), R.Height(), Face);
  DrawPiece(B->Canvas(), 0, 0, Pic(D, PictureIndex), R, true, Key);
  return B;
}

std::unique_ptr<TBitmap> ComposeFrame(TspSkinData* D, Integer W, Integer H, bool Active, const String& Caption) {
  // The frame engine's layout (no mask, no layered border): points moved by
  // the size difference, strips cut from the frame picture, the client
  // background tiled from the picture's client part.
  auto Out = NewBitmap(W, H, 0x030201);
  const Integer PW = D->FPicture->Width(), PH = D->FPicture->Height(), DW = W - PW, DH = H - PH;
  const TPoint NRT(D->RTPoint.X + DW, D->RTPoint.Y), NLB(D->LBPoint.X, D->LBPoint.Y + DH),
      NRB(D->RBPoint.X + DW, D->RBPoint.Y + DH);
  const TRect NCl(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH);
  auto L = NewBitmap(1, 1, clWhite), T = NewBitmap(1, 1, clWhite), R = NewBitmap(1, 1, clWhite),
       Bm = NewBitmap(1, 1, clWhite);
  CreateBorderStripImagesEx(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint, NRT, NLB, NRB, NCl,
                            L.get(), T.get(), R.get(), Bm.get(), D->FPicture, TRect(0, 0, PW, PH), W, H,
                            D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch);
  // Objects on the top strip: the caption buttons packed from the caption
  // row's right end, the system-menu button at its left, the caption between.
  const TRect Row(D->CaptionRect.Left, D->CaptionRect.Top, D->CaptionRect.Right + DW, D->CaptionRect.Bottom);
  Integer X = Row.Right;
  auto* Cap = Object<TspDataSkinCaption>(D, u"caption");
  TRect CapRect(Cap->SkinRect.Left, Cap->SkinRect.Top, Cap->SkinRect.Right + DW, Cap->SkinRect.Bottom);
  for (const char16_t* N : {u"closebutton", u"maxbutton", u"minbutton"}) {
    auto* B = Object<TspDataSkinStdButton>(D, N);
    const Integer BW = B->SkinRect.Width(), BH = B->SkinRect.Height();
    DrawPiece(T->Canvas(), X - BW, Row.Top, Pic(D, B->ActivePictureIndex), B->SkinRect, false);
    X -= BW + D->ButtonsOffset;
    (void)BH;
  }
  CapRect.Right = X + D->ButtonsOffset;
  if (auto* S = Object<TspDataSkinStdButton>(D, u"sysmenubutton")) {
    const Integer Top = Row.Top + Row.Height() / 2 - S->SkinRect.Height() / 2;
    DrawPiece(T->Canvas(), Row.Left, Top, Pic(D, S->ActivePictureIndex), S->SkinRect, false);
    CapRect.Left = Row.Left + S->SkinRect.Width();
  }
  // The caption's background: its skin rect with fixed ends, the middle
  // tiled to the caption's width; the text in its text rect.
  auto CapImage = NewBitmap(1, 1, clWhite);
  CreateHorzThreeSliceImage(std::max(0, D->LTPoint.X - Cap->SkinRect.Left), std::max(0, Cap->SkinRect.Right - D->RTPoint.X),
                            CapImage.get(), D->FPicture, Cap->SkinRect, CapRect.Width(), CapRect.Height(),
                            Cap->StretchEffect);
  Put(T->Canvas(), CapRect.Left, CapRect.Top, CapImage.get());
  const TRect TR(CapRect.Left + Cap->TextRct.Left, CapRect.Top + Cap->TextRct.Top,
                 CapRect.Right - (Cap->SkinRect.Width() - Cap->TextRct.Right), CapRect.Top + Cap->TextRct.Bottom);
  TextIn(T->Canvas(), TR, Caption, Active ? Cap->ActiveFontColor : Cap->FontColor, Cap->FontStyle);

  TCanvas* C = Out->Canvas();
  Put(C, 0, 0, T.get());
  Put(C, 0, T->Height(), L.get());
  Put(C, W - R->Width(), T->Height(), R.get());
  Put(C, 0, H - Bm->Height(), Bm.get());
  // The client background: the picture's client part tiled.
  const Integer TW = D->ClRect.Width(), TH = D->ClRect.Height();
  for (Integer Y = NCl.Top; Y < NCl.Bottom; Y += TH)
    for (Integer X2 = NCl.Left; X2 < NCl.Right; X2 += TW)
      C->CopyRect(TRect(X2, Y, std::min(X2 + TW, NCl.Right), std::min(Y + TH, NCl.Bottom)), D->FPicture->Canvas(),
                  TRect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Left + std::min(TW, NCl.Right - X2),
                        D->ClRect.Top + std::min(TH, NCl.Bottom - Y)));
  return Out;
}

std::unique_ptr<TBitmap> ComposePopupMenu(TspSkinData* D) {
  auto* PW = D->PopupWindow;
  auto* MI = Object<TspDataSkinMenuItem>(D, u"menuitem");
  TBitmap* WinPic = Pic(D, PW->WindowPictureIndex);
  TBitmap* ItemPic = Pic(D, MI->ActivePictureIndex);
  struct TItem {
    const char16_t* Caption;
    int Kind;  // 0 item, 1 highlighted, 2 divider, 3 disabled, 4 header
    const char16_t* Shortcut;
  };
  const TItem Items[] = {{u"Effects", 4, u""},  {u"New image...", 0, u"Ctrl+N"}, {u"Open...", 1, u"Ctrl+O"},
                         {u"Save", 0, u"Ctrl+S"}, {u"-", 2, u""},              {u"Print...", 0, u"Ctrl+P"},
                         {u"Recent files", 3, u""}};
  const Integer ItemH = MI->SkinRect.Height(), DivH = MI->DividerRect.Height(), W = 200;
  Integer H = PW->ItemsRect.Top + (WinPic->Height() - PW->ItemsRect.Bottom);
  for (const auto& I : Items) H += I.Kind == 2 ? DivH : ItemH;
  auto Out = NewBitmap(W, H, 0x030201);
  const Integer DW = W - WinPic->Width(), DH = H - WinPic->Height();
  const TRect Items2(PW->ItemsRect.Left, PW->ItemsRect.Top, PW->ItemsRect.Right + DW, PW->ItemsRect.Bottom + DH);
  CreateNineSliceWindowImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, PW->LTPoint,
                             TPoint(PW->RTPoint.X + DW, PW->RTPoint.Y), TPoint(PW->LBPoint.X, PW->LBPoint.Y + DH),
                             TPoint(PW->RBPoint.X + DW, PW->RBPoint.Y + DH), Items2, Out.get(), WinPic,
                             TRect(0, 0, WinPic->Width(), WinPic->Height()), W, H, true, PW->LeftStretch,
                             PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect, PW->StretchType);
  TCanvas* C = Out->Canvas();
  Integer Y = Items2.Top;
  const Integer IW = Items2.Width();
  for (const auto& I : Items) {
    auto Strip = NewBitmap(1, 1, clWhite);
    if (I.Kind == 2) {
      CreateHorzThreeSliceImage(MI->DividerLO, MI->DividerRO, Strip.get(), ItemPic, MI->DividerRect, IW, DivH,
                                MI->DividerStretchEffect);
      Put(C, Items2.Left, Y, Strip.get());
      Y += DivH;
      continue;
    }
    const bool Hot = I.Kind == 1;
    CreateHorzThreeSliceImage(MI->ItemLO, MI->ItemRO, Strip.get(), ItemPic, Hot ? MI->ActiveSkinRect : MI->SkinRect, IW,
                              ItemH, Hot ? MI->StretchEffect : MI->InActiveStretchEffect);
    Put(C, Items2.Left, Y, Strip.get());
    const TRect TR(Items2.Left + MI->TextRct.Left, Y + MI->TextRct.Top,
                   Items2.Left + IW - (MI->SkinRect.Width() - MI->TextRct.Right), Y + MI->TextRct.Bottom);
    if (I.Kind == 4) {
      // A header item: the menu header strip with the caption centred.
      auto* Hd = Control<TspDataSkinLabelControl>(D, u"menuheader");
      auto HdImg = NewBitmap(1, 1, clWhite);
      CreateHorzThreeSliceImage(Hd->LTPoint.X, Hd->SkinRect.Width() - Hd->RTPoint.X, HdImg.get(), Pic(D, Hd->PictureIndex),
                                Hd->SkinRect, IW, Hd->SkinRect.Height(), Hd->StretchEffect);
      const Integer HY = Y + (ItemH - HdImg->Height()) / 2;
      Put(C, Items2.Left, HY, HdImg.get());
      TextIn(C, TRect(Items2.Left, HY, Items2.Left + IW, HY + HdImg->Height()), I.Caption, Hd->FontColor, Hd->FontStyle, true);
    } else {
      const TColor Ink = I.Kind == 3 ? MI->UnEnabledFontColor : Hot ? MI->ActiveFontColor : MI->FontColor;
      TextIn(C, TR, I.Caption, Ink, MI->FontStyle);
      if (*I.Shortcut) {
        const Integer SW = C->TextWidth(I.Shortcut);
        TextIn(C, TRect(TR.Right - 16 - SW, TR.Top, TR.Right - 16, TR.Bottom), I.Shortcut, Ink, MI->FontStyle);
      }
      if (I.Kind == 0 && Y == Items2.Top + ItemH) {
        // A checked item without an image gets the check mark in the image column.
        DrawCheckMark(C, MI->ImageRct.Width() / 2 + MI->ImageRct.Left - 4 + Items2.Left,
                      MI->ImageRct.Height() / 2 + MI->ImageRct.Top - 4 + Y, Ink);
      }
    }
    Y += ItemH;
  }
  return Out;
}

std::unique_ptr<TBitmap> ComposeHint(TspSkinData* D, const String& S) {
  auto* HW = D->HintWindow;
  TBitmap* P = Pic(D, HW->WindowPictureIndex);
  auto Probe = NewBitmap(1, 1, clWhite);
  Probe->Canvas()->Font()->SetName(HW->FontName);
  Probe->Canvas()->Font()->SetHeight(HW->FontHeight);
  const SIZE Ext = Probe->Canvas()->TextExtent(S);
  const Integer W = Ext.cx + HW->ClRect.Left + (P->Width() - HW->ClRect.Right) + 8;
  const Integer H = Ext.cy + HW->ClRect.Top + (P->Height() - HW->ClRect.Bottom) + 4;
  const Integer DW = W - P->Width(), DH = H - P->Height();
  auto Out = NewBitmap(W, H, 0x030201);
  const TRect Cl(HW->ClRect.Left, HW->ClRect.Top, HW->ClRect.Right + DW, HW->ClRect.Bottom + DH);
  CreateNineSliceWindowImage(HW->LTPoint, HW->RTPoint, HW->LBPoint, HW->RBPoint, HW->ClRect, HW->LTPoint,
                             TPoint(HW->RTPoint.X + DW, HW->RTPoint.Y), TPoint(HW->LBPoint.X, HW->LBPoint.Y + DH),
                             TPoint(HW->RBPoint.X + DW, HW->RBPoint.Y + DH), Cl, Out.get(), P,
                             TRect(0, 0, P->Width(), P->Height()), W, H, true, HW->LeftStretch, HW->TopStretch,
                             HW->RightStretch, HW->BottomStretch, HW->StretchEffect, HW->StretchType);
  TextIn(Out->Canvas(), Cl, S, HW->FontColor, HW->FontStyle, true);
  return Out;
}

std::unique_ptr<TBitmap> ComposeDialog(TspSkinData* D) {
  const Integer W = 460, H = 360;
  auto Out = ComposeFrame(D, W, H, true, u"Image size");
  TCanvas* C = Out->Canvas();
  const TColor Ink = D->SkinColors()->cBtnText();
  auto Place = [&](const char16_t* Name, TRect (*StateOf)(const TspDataSkinCustomControl*), Integer X, Integer Y,
                   Integer CW, Integer CH) -> const TspDataSkinCustomControl* {
    auto* Ctl = Control<TspDataSkinCustomControl>(D, Name);
    if (!Ctl) return nullptr;
    auto B = ComposeControl(D, Ctl, StateOf(Ctl), CW, CH);
    Put(C, X, Y, B.get());
    return Ctl;
  };
  auto Normal = [](const TspDataSkinCustomControl* Ctl) { return Ctl->SkinRect; };
  auto Hot = [](const TspDataSkinCustomControl* Ctl) {
    if (auto* B = dynamic_cast<const TspDataSkinButtonControl*>(Ctl)) return B->ActiveSkinRect;
    if (auto* E = dynamic_cast<const TspDataSkinEditControl*>(Ctl)) return E->ActiveSkinRect;
    if (auto* S = dynamic_cast<const TspDataSkinSpinEditControl*>(Ctl)) return S->ActiveSkinRect;
    if (auto* Cb = dynamic_cast<const TspDataSkinComboBox*>(Ctl)) return Cb->ActiveSkinRect;
    return Ctl->SkinRect;
  };

  // A tool bar on a panel.
  Place(u"resizetoolpanel", Normal, 3, 22, W - 6, 32);
  for (Integer I = 0; I < 6; ++I) {
    const bool IsHot = I == 2, IsDown = I == 4;
    auto* Tb = Control<TspDataSkinButtonControl>(D, u"toolbutton");
    auto B = ComposeControl(D, Tb, IsHot ? Tb->ActiveSkinRect : IsDown ? Tb->DownSkinRect : Tb->SkinRect, 26, 26);
    Put(C, 8 + I * 28, 25, B.get());
    C->Pen()->SetColor(Ink);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(8 + I * 28 + 8, 33, 8 + I * 28 + 18, 43);
  }
  if (auto* Tm = Control<TspDataSkinMenuButtonControl>(D, u"toolmenubutton")) {
    auto B = ComposeControl(D, Tm, Tm->ActiveSkinRect, 40, 26);
    Put(C, 8 + 6 * 28 + 4, 25, B.get());
  }

  // Size: a group box with edits, a spin edit, a check box and two radios.
  const Integer GX = 12, GY = 64, GW = 210, GH = 150;
  Place(u"groupbox", Normal, GX, GY, GW, GH);
  auto* Gb = Control<TspDataSkinPanelControl>(D, u"groupbox");
  TextIn(C, TRect(GX + Gb->CaptionRect.Left + 4, GY + Gb->CaptionRect.Top, GX + GW, GY + Gb->CaptionRect.Bottom), u"Size",
         Gb->FontColor, Gb->FontStyle);
  auto* Ed = Control<TspDataSkinEditControl>(D, u"edit");
  TextIn(C, TRect(GX + 12, GY + 32, GX + 70, GY + 52), u"Width:", Ink);
  Place(u"edit", Normal, GX + 72, GY + 32, 120, 20);
  TextIn(C, TRect(GX + 72 + Ed->ClRect.Left + 2, GY + 32 + Ed->ClRect.Top, GX + 190, GY + 32 + Ed->ClRect.Bottom), u"1024",
         Ed->FontColor);
  TextIn(C, TRect(GX + 12, GY + 60, GX + 70, GY + 80), u"Height:", Ink);
  Place(u"spinedit", Hot, GX + 72, GY + 60, 120, 20);
  TextIn(C, TRect(GX + 72 + Ed->ClRect.Left + 2, GY + 60 + Ed->ClRect.Top, GX + 170, GY + 60 + Ed->ClRect.Bottom), u"768",
         Ed->FontColor);
  auto* Cb = Control<TspDataSkinCheckRadioControl>(D, u"checkbox");
  auto* Rb = Control<TspDataSkinCheckRadioControl>(D, u"radiobox");
  TBitmap* CP = Pic(D, Cb->PictureIndex);
  struct TMark {
    const TspDataSkinCheckRadioControl* Box;
    TRect Image;
    const char16_t* Caption;
    bool Enabled;
  } Marks[] = {{Cb, Cb->CheckImageRect, u"Keep the ratio", true},
               {Rb, Rb->CheckImageRect, u"Pixels", true},
               {Rb, Rb->ActiveUnCheckImageRect, u"Percent", true},
               {Cb, Cb->UnEnabledUnCheckImageRect, u"Resample", false}};
  Integer MY = GY + 88;
  for (const auto& M : Marks) {
    DrawPiece(C, GX + 12 + 3, MY + 10 - 7, CP, M.Image, true);
    TextIn(C, TRect(GX + 12 + 21, MY, GX + GW, MY + 20), M.Caption, M.Enabled ? M.Box->FrameFontColor : M.Box->UnEnabledFontColor);
    MY += 14;
  }

  // A list with a focused item and its vertical bar; a combo box below.
  const Integer LX = 234, LY = 64, LW = 214, LH = 120;
  auto* Lb = Control<TspDataSkinListBox>(D, u"listbox");
  Place(u"listbox", Normal, LX, LY, LW, LH);
  const Integer SBW = 19;
  const TRect Items(LX + Lb->ClRect.Left, LY + Lb->ClRect.Top, LX + LW - (Lb->SkinRect.Width() - Lb->ClRect.Right) - SBW,
                    LY + LH - (Lb->SkinRect.Height() - Lb->ClRect.Bottom));
  const char16_t* Names[] = {u"Nearest", u"Bilinear", u"Bicubic", u"Lanczos", u"Mitchell", u"Spline"};
  for (Integer I = 0; I < 6; ++I) {
    const Integer Y = Items.Top + I * Lb->SItemRect.Height();
    if (Y + Lb->SItemRect.Height() > Items.Bottom) break;
    const TRect& R = I == 2 ? Lb->FocusItemRect : I == 4 ? Lb->ActiveItemRect : Lb->SItemRect;
    auto Item = NewBitmap(1, 1, clWhite);
    CreateHorzThreeSliceImage(Lb->ItemLeftOffset, Lb->ItemRightOffset, Item.get(), Pic(D, Lb->PictureIndex), R,
                              Items.Width(), R.Height(), false);
    Put(C, Items.Left, Y, Item.get());
    TextIn(C, TRect(Items.Left + Lb->ItemTextRect.Left, Y, Items.Right, Y + R.Height()), Names[I],
           I == 2 ? Lb->FocusFontColor : I == 4 ? Lb->ActiveFontColor : Lb->FontColor);
  }
  auto* Vs = Control<TspDataSkinScrollBarControl>(D, u"vscrollbar");
  Place(u"vscrollbar", Normal, Items.Right, Items.Top, SBW, Items.Height());
  {
    // The thumb a third down the track, the page size giving its length.
    const Integer Track = Items.Height() - (Vs->SkinRect.Height() - Vs->TrackArea.Height());
    const Integer Len = std::max(Track / 2, Vs->ThumbRect.Height());
    Put(C, Items.Right, Items.Top + Vs->TrackArea.Top + Track / 6, ComposeThumb(D, Vs, Vs->ActiveThumbRect, Len).get());
  }
  auto* Co = Control<TspDataSkinComboBox>(D, u"combobox");
  TextIn(C, TRect(LX, 196, LX + 70, 216), u"Resampler:", Ink);
  Place(u"combobox", Normal, LX + 74, 196, LW - 74, 20);
  {
    const TRect IR(LX + 74 + Co->ClRect.Left, 196 + Co->ClRect.Top, LX + LW - (Co->SkinRect.Width() - Co->ClRect.Right),
                   196 + Co->ClRect.Bottom);
    auto Item = NewBitmap(1, 1, clWhite);
    CreateHorzThreeSliceImage(Co->ItemLeftOffset, Co->ItemRightOffset, Item.get(), Pic(D, Co->PictureIndex), Co->FocusItemRect,
                              IR.Width(), Co->FocusItemRect.Height(), false);
    Put(C, IR.Left, IR.Top, Item.get());
    TextIn(C, TRect(IR.Left + Co->ItemTextRect.Left, IR.Top, IR.Right, IR.Bottom), u"Bicubic", Co->FocusFontColor);
  }

  // Quality: a track bar filled to 60 % with its thumb.
  auto* Tk = Control<TspDataSkinTrackBarControl>(D, u"htrackbar");
  TextIn(C, TRect(GX, 226, GX + 60, 246), u"Quality:", Ink);
  const Integer TX = GX + 64, TW = 160;
  auto Track = ComposeControl(D, Tk, Tk->SkinRect, TW, 20);
  auto Filled = ComposeControl(D, Tk, Tk->ActiveSkinRect, TW, 20);
  const TRect TA(Tk->TrackArea.Left, Tk->TrackArea.Top, Tk->TrackArea.Right + TW - Tk->SkinRect.Width(), Tk->TrackArea.Bottom);
  const Integer BW = Tk->ButtonRect.Width(), BH = Tk->ButtonRect.Height();
  const Integer Centre = TA.Left + BW / 2 + (TA.Width() - BW) * 6 / 10;
  Track->Canvas()->CopyRect(TRect(0, 0, Centre, 20), Filled->Canvas(), TRect(0, 0, Centre, 20));
  Put(C, TX, 226, Track.get());
  DrawPiece(C, TX + Centre - BW / 2, 226 + TA.Top + TA.Height() / 2 - BH / 2, Pic(D, Tk->PictureIndex), Tk->ButtonRect, true,
            Tk->ButtonTransparentColor);

  // A page control with three tabs.
  auto* Tab = Control<TspDataSkinTabControl>(D, u"tab");
  {
    TBitmap* TP = Pic(D, Tab->PictureIndex);
    const Integer PX = 234, PY = 232, PWd = 214, PHt = 78, TabW = 70, TabH = Tab->TabRect.Height();
    const TRect F(PX, PY + TabH, PX + PWd, PY + PHt);
    Put(C, F.Left, F.Top, ComposeTabPage(D, Tab, F.Width(), F.Height()).get());
    const char16_t* Caps[] = {u"Size", u"Canvas", u"Print"};
    for (Integer I = 2; I >= 0; --I) {
      const bool Sel = I == 0, MouseIn = I == 2;
      const TRect& R = Sel ? Tab->ActiveTabRect : MouseIn ? Tab->MouseInTabRect : Tab->TabRect;
      Put(C, PX + 2 + I * (TabW - 1), PY, ComposeTab(D, Tab, R, TabW).get());
      TextIn(C, TRect(PX + 2 + I * (TabW - 1), PY, PX + 2 + I * (TabW - 1) + TabW, PY + TabH), Caps[I],
             Sel ? Tab->ActiveFontColor : MouseIn ? Tab->MouseInFontColor : Tab->FontColor, 0, true);
    }
    auto* Tl = Control<TspDataSkinTreeView>(D, u"treeview");
    DrawPiece(C, F.Left + 10, F.Top + 12, TP, Tl->ExpandImageRect, true);
    TextIn(C, TRect(F.Left + 24, F.Top + 8, F.Right, F.Top + 26), u"Clip art", Tl->FontColor);
    DrawPiece(C, F.Left + 22, F.Top + 32, TP, Tl->NoExpandImageRect, true);
    TextIn(C, TRect(F.Left + 36, F.Top + 28, F.Right, F.Top + 46), u"Frames", Tl->FontColor);
  }

  // Slider with its ruler and thumb.
  auto* Sl = Control<TspDataSkinSlider>(D, u"slider");
  {
    TBitmap* SP = Pic(D, Sl->PictureIndex);
    TextIn(C, TRect(GX, 256, GX + 60, 276), u"Opacity:", Ink);
    auto Ruler = ComposeRuler(D, Sl, true, 148);
    Ruler->SetTransparent(true);
    Put(C, GX + 70, 256 + 10 - Ruler->Height() / 2, Ruler.get());
    const Integer FW = Sl->HThumbRect.Width() / 2;
    DrawPiece(C, GX + 70 + 100, 256 + 10 - Sl->HThumbRect.Height() / 2, SP,
              TRect(Sl->HThumbRect.Left, Sl->HThumbRect.Top, Sl->HThumbRect.Left + FW, Sl->HThumbRect.Bottom), true);
  }

  // The dialog's buttons: OK focused, Cancel hot, Help disabled.
  auto* Bt = Control<TspDataSkinButtonControl>(D, u"button");
  const char16_t* Caps[] = {u"OK", u"Cancel", u"Help"};
  const TRect* States[] = {&Bt->FocusedSkinRect, &Bt->ActiveSkinRect, &Bt->DisabledSkinRect};
  const TColor Colors[] = {Bt->FontColor, Bt->ActiveFontColor, Bt->DisabledFontColor};
  for (Integer I = 0; I < 3; ++I) {
    const Integer X = W - 3 - 10 - (3 - I) * 82, Y = H - 3 - 36;
    auto B = ComposeControl(D, Bt, *States[I], 76, 26);
    Put(C, X, Y, B.get());
    TextIn(C, TRect(X, Y, X + 76, Y + 26), Caps[I], Colors[I], 0, true);
  }
  // A bevel line above them.
  auto* Bv = Control<TspDataSkinBevel>(D, u"bevel");
  C->Pen()->SetColor(Bv->DarkColor);
  C->MoveTo(12, H - 3 - 46);
  C->LineTo(W - 12, H - 3 - 46);
  C->Pen()->SetColor(Bv->LightColor);
  C->MoveTo(12, H - 3 - 45);
  C->LineTo(W - 12, H - 3 - 45);
  return Out;
}

Integer CountColor(TBitmap* B, TColor Color) {
  std::vector<Byte> P;
  GetBitmapBGRA(B, P);
  Integer N = 0;
  for (size_t K = 0; K + 3 < P.size(); K += 4)
    N += (Cardinal(P[K + 2]) | (Cardinal(P[K + 1]) << 8) | (Cardinal(P[K]) << 16)) == Cardinal(Color);
  return N;
}

}  // namespace skinstest
