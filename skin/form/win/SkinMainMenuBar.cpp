#include "skin/form/win/SkinMainMenuBar.h"

#include <algorithm>

#include "classlib/Messages.h"
#include "skin/controls/win/SkinMenuLevels.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"
#include "skin/form/MenuBarLayout.h"
#include "skin/form/win/FormSkin.h"

namespace {

constexpr TColor DownFrame = 0x800000, DownFill = 0xB59385, HotFill = 0xD2BDB6;

TBitmap* ActivePictureAt(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

// The default look's plate: pressed or hot frame and fill, else button face.
void DefaultPlate(TCanvas* C, TRect R, bool Down, bool Hot) {
  if (Down || Hot) {
    C->Brush()->SetColor(DownFrame);
    C->FrameRect(R);
    R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    C->Brush()->SetColor(Down ? DownFill : HotFill);
  } else {
    C->Brush()->SetColor(clBtnFace);
  }
  C->FillRect(R);
}

// A copy of what canvas Src shows at R.
std::unique_ptr<TBitmap> CopyOf(TCanvas* Src, const TRect& R) {
  auto B = NewLookImage(R.Width(), R.Height());
  if (Src) B->Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), Src, R);
  return B;
}

// Morphs image A towards B at Kf and draws the result at P of C.
void DrawMorph(TCanvas* C, TBitmap* A, TBitmap* B, TMorphKind Kind, double Kf, const TPoint& P) {
  std::unique_ptr<TspEffectBmp> EA(TspEffectBmp::CreateFromhWnd(A->Handle()));
  std::unique_ptr<TspEffectBmp> EB(TspEffectBmp::CreateFromhWnd(B->Handle()));
  ApplyMorph(EA.get(), EB.get(), Kind, Kf);
  EA->Draw(C->Handle(), P.X, P.Y);
}

}  // namespace

// ---------------------------------------------------------------------------
// The object base

TspMenuBarObject::TspMenuBarObject(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData) : Parent(AParent) {
  if (!AData) return;
  IDName = AData->IDName;
  SkinRect = AData->SkinRect;
  ActiveSkinRect = AData->ActiveSkinRect;
  Morphing = AData->Morphing;
  MorphKind = AData->MorphKind;
  DownRect = AData->ActiveSkinRect;
  ObjectRect = AData->SkinRect;
  if (AData->ActivePictureIndex != -1) Picture = ActivePictureAt(Parent->SkinData(), AData->ActivePictureIndex);
}

bool TspMenuBarObject::EnableMorphing() {
  TspSkinData* SD = Parent->SkinData();
  return Morphing && SD && !SD->Empty && !(Parent->FToolBarMode && Parent->FToolBarModeItemTransparent) &&
         SD->EnableSkinEffects();
}

void TspMenuBarObject::ReDraw() {
  if (EnableMorphing())
    Parent->MorphTimer->SetEnabled(true);
  else
    Parent->DrawSkinObject(this);
}

void TspMenuBarObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  ReDraw();
}

void TspMenuBarObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  ReDraw();
}

bool TspMenuBarObject::CanMorphing() {
  return (!FDown || RectIsEmpty(DownRect)) && ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0));
}

void TspMenuBarObject::DoMorphing() {
  SetMorphKf(FMorphKf + (Active ? 0.2 : -0.2));
  Draw(Parent->Canvas());
}

// ---------------------------------------------------------------------------
// Child buttons

TspSkinMainMenuBarButton::TspSkinMainMenuBarButton(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData)
    : TspMenuBarObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinMainMenuBarButton*>(AData)) {
    Command = D->Command;
    DownRect = D->DownRect;
    FSkinSupport = true;
  }
}

void TspSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewLookImage(W, H);
  TCanvas* C = B->Canvas();
  const bool Pressed = FDown && FMouseIn;
  DefaultPlate(C, TRect(0, 0, W, H), Pressed, FMouseIn);
  const Integer X = W / 2 - 5 + (Pressed ? 1 : 0), Y = H / 2 - 4 + (Pressed ? 1 : 0);
  const TColor Col = Enabled ? clBtnText : clBtnShadow;
  switch (Command) {
    case cmClose: DrawCloseGlyph(C, X, Y, Col); break;
    case cmMaximize: DrawRestoreGlyph(C, X, Y, Col); break;
    case cmMinimize: DrawMinimizeGlyph(C, X, Y, Col); break;
    case cmSysMenu: DrawSysMenuGlyph(C, X, Y, Col); break;
    default: break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinMainMenuBarButton::Draw(TCanvas* Cnvs) {
  if (!FSkinSupport || !Picture) {
    DefaultDraw(Cnvs);
    return;
  }
  if (FDown && !RectIsEmpty(DownRect) && FMouseIn) {
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
  } else if (EnableMorphing() && !((Active && FMorphKf == 1) || (!Active && FMorphKf == 0))) {
    auto A = CopyOf(Picture->Canvas(), SkinRect), B = CopyOf(Picture->Canvas(), ActiveSkinRect);
    DrawMorph(Cnvs, A.get(), B.get(), MorphKind, FMorphKf, ObjectRect.TopLeft());
  } else {
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), (Active && !RectIsEmpty(ActiveSkinRect)) ? ActiveSkinRect : SkinRect);
  }
}

void TspSkinMainMenuBarButton::MouseEnter() {
  if (Command == cmSysMenu && FDown) {
    FMouseIn = Active = true;
  } else if (FDown && EnableMorphing()) {
    FMouseIn = Active = true;
    Parent->DrawSkinObject(this);
  } else {
    TspMenuBarObject::MouseEnter();
  }
}

void TspSkinMainMenuBarButton::MouseLeave() {
  if (Command == cmSysMenu && FDown) {
    Active = FMouseIn = false;
    if (EnableMorphing()) SetMorphKf(1);
  } else if (FDown && EnableMorphing()) {
    Active = FMouseIn = false;
    Parent->DrawSkinObject(this);
  } else {
    TspMenuBarObject::MouseLeave();
  }
}

void TspSkinMainMenuBarButton::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button != mbLeft) {
    TspMenuBarObject::MouseDown(X, Y, Button);
    return;
  }
  if (FDown) return;
  FDown = true;
  if (EnableMorphing() && !RectIsEmpty(DownRect)) SetMorphKf(1);
  Parent->DrawSkinObject(this);
  if (Command == cmSysMenu) ExecuteCommand();
}

void TspSkinMainMenuBarButton::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  TspMenuBarObject::MouseUp(X, Y, Button);
  if (Button != mbLeft) return;
  if (Command != cmSysMenu) {
    FDown = false;
    Parent->DrawSkinObject(this);
    if (EnableMorphing()) ReDraw();
  }
  if (Active && Command != cmSysMenu) ExecuteCommand();
}

void TspSkinMainMenuBarButton::DblClick() {
  TspFormSkin* Child = FindMaximizedMDIChildSkinForm();
  if (!Child || Command != cmSysMenu || !Parent->DSF) return;
  Parent->DSF->SkinMenu->Hide();
  Parent->DSF->SkinMenuClose();
  Child->FForm->Close();
}

void TspSkinMainMenuBarButton::ExecuteCommand() {
  TspFormSkin* Child = FindMaximizedMDIChildSkinForm();
  if (!Child) return;
  switch (Command) {
    case cmClose: Child->FForm->Close(); break;
    case cmMaximize: Child->SetWindowState(wsNormal); break;
    case cmMinimize: Child->SetWindowState(wsMinimized); break;
    case cmSysMenu: {
      TspFormSkin* S = Parent->DSF;
      if (!S) return;
      Parent->Repaint();
      const TPoint P = Parent->ClientToScreen(ObjectRect.TopLeft());
      const TRect R(P.X, P.Y, P.X + ObjectRect.Width(), P.Y + ObjectRect.Height());
      TMenuItem* Items = Child->GetSystemMenuItems();
      S->SkinMenuOpen();
      S->SkinMenu->Popup(Parent, S->MenusSkinData() ? S->MenusSkinData() : S->SkinData(), 0, R, Items,
                         Parent->FPopupToUp, false);
      break;
    }
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Items

TspSkinMainMenuBarItem::TspSkinMainMenuBarItem(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData)
    : TspMenuBarObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinMainMenuItem*>(AData)) {
    FSkinSupport = true;
    FontName = D->FontName;
    FontHeight = D->FontHeight;
    FontStyle = D->FontStyle;
    UnEnabledFontColor = D->UnEnabledFontColor;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    DownFontColor = D->DownFontColor;
    TextRct = D->TextRct;
    DownRect = !RectIsEmpty(D->DownRect) ? D->DownRect : !RectIsEmpty(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
    LO = D->ItemLO;
    RO = D->ItemRO;
    StretchEffect = D->StretchEffect;
    AnimateSkinRect = D->AnimateSkinRect;
    FrameCount = D->FrameCount;
    AnimateInterval = D->AnimateInterval;
    InActiveAnimation = D->InActiveAnimation;
    if (RectIsEmpty(ActiveSkinRect)) Morphing = false;
  }
  OldEnabled = Enabled;
  Visible = true;
  CurrentFrame = 0;
}

bool TspSkinMainMenuBarItem::EnableAnimation() {
  TspSkinData* SD = Parent->SkinData();
  return !RectIsEmpty(AnimateSkinRect) && FrameCount > 0 && SD && !SD->Empty && !Parent->FToolBarMode &&
         SD->EnableSkinEffects();
}

Integer TspSkinMainMenuBarItem::ItemLeft() {
  TList* L = Parent->ObjectList;
  const Integer Me = L->IndexOf(this);
  for (Integer I = Me - 1; I >= 0; --I)
    if (auto* It = dynamic_cast<TspSkinMainMenuBarItem*>(static_cast<TObject*>(L->Items(I)))) {
      return It->ObjectRect.Right != 0 ? It->ObjectRect.Right : Parent->NewItemsRect.Left;
    }
  return Parent->NewItemsRect.Left;
}

Integer TspSkinMainMenuBarItem::GlyphWidth() {
  if (!MenuItem) return 0;
  TMenu* M = MenuItem->GetParentMenu();
  TCustomImageList* IL = M ? M->Images() : nullptr;
  if (IL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count()) return IL->Width() + 5;
  if (MenuItem->HasBitmap()) return MenuItem->Bitmap()->Width() + 5;
  return 0;
}

Integer TspSkinMainMenuBarItem::DrawGlyph(TCanvas* C, Integer X, Integer Y, bool CenterY, Integer H) {
  if (!MenuItem) return 0;
  TMenu* M = MenuItem->GetParentMenu();
  TCustomImageList* IL = M ? M->Images() : nullptr;
  if (IL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count()) {
    IL->Draw(C, X, CenterY ? Y + H / 2 - IL->Height() / 2 : Y, MenuItem->ImageIndex(), MenuItem->Enabled());
    return IL->Width() + 5;
  }
  if (MenuItem->HasBitmap()) {
    TBitmap* B = MenuItem->Bitmap();
    C->Draw(X, CenterY ? Y + H / 2 - B->Height() / 2 : Y, B);
    return B->Width() + 5;
  }
  return 0;
}

void TspSkinMainMenuBarItem::SetFont(TFont* F, bool Skin) {
  TspSkinData* SD = Parent->SkinData();
  if (Skin && Parent->FUseSkinFont) {
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
  } else {
    F->Assign(Parent->FDefItemFont);
  }
  if (SD && SD->ResourceStrData())
    F->SetCharset(SD->ResourceStrData()->CharSet());
  else
    F->SetCharset(Parent->FDefItemFont->Charset());
}

TRect TspSkinMainMenuBarItem::CalcDefaultItemRect(TCanvas* C) {
  SetFont(C->Font(), false);
  TRect M(0, 0, 0, 0);
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), M, DT_CALCRECT | DT_CENTER);
  const Integer L = ItemLeft();
  return TRect(L, Parent->NewItemsRect.Top, L + M.Width() + 12 + GlyphWidth(), Parent->NewItemsRect.Bottom);
}

TRect TspSkinMainMenuBarItem::CalcSkinItemRect(TCanvas* C) {
  SetFont(C->Font(), true);
  TRect M(0, 0, 0, 0);
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), M, DT_CALCRECT | DT_CENTER);
  const Integer L = ItemLeft(), T = Parent->NewItemsRect.Top;
  const Integer R = L + SkinRect.Width() - TextRct.Width() + M.Width() + 2 + GlyphWidth();
  return TRect(L, T, R, Parent->FUseSkinSize ? T + SkinRect.Height() : Parent->NewItemsRect.Bottom);
}

bool TspSkinMainMenuBarItem::Fit() {
  const Integer Limit = Parent->FScrollMenu ? Parent->NewItemsRect.Right - 5 : Parent->NewItemsRect.Right;
  if (ObjectRect.Right > Limit) {
    Parent->Scroll = true;
    if (Visible) {
      OldEnabled = Enabled;
      Enabled = false;
      Visible = false;
    }
    return false;
  }
  if (!Visible) {
    Visible = true;
    Enabled = OldEnabled;
  }
  return true;
}

void TspSkinMainMenuBarItem::DrawCaption(TCanvas* C, TRect R, bool Selected) {
  if (MenuItem && MenuItem->OnDrawItem) {
    MenuItem->OnDrawItem(this, C, R, Selected);
    return;
  }
  C->Brush()->SetStyle(bsClear);
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), R,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  C->Brush()->SetStyle(bsSolid);
}

void TspSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs) {
  ObjectRect = CalcDefaultItemRect(Cnvs);
  if (!Fit()) return;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewLookImage(W, H);
  TCanvas* C = B->Canvas();
  TRect R(0, 0, W, H);
  DefaultPlate(C, R, FDown, FMouseIn);
  if (FDown || FMouseIn) R = TRect(1, 1, W - 1, H - 1);
  SetFont(C->Font(), false);
  TRect M(0, 0, 0, 0);
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), M, DT_CALCRECT);
  const Integer TH = M.Height();
  R.Top = R.Top + R.Height() / 2 - TH / 2;
  R.Bottom = R.Top + TH;
  if (MenuItem) {
    TMenu* Mn = MenuItem->GetParentMenu();
    TCustomImageList* IL = Mn ? Mn->Images() : nullptr;
    if (IL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count()) {
      const Integer Y = Parent->FUseSkinSize ? R.Top + R.Height() / 2 - IL->Height() / 2 : H / 2 - IL->Height() / 2;
      IL->Draw(C, R.Left + 2, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
      R.Left += IL->Width() + 5;
    } else if (MenuItem->HasBitmap()) {
      TBitmap* Bm = MenuItem->Bitmap();
      C->Draw(R.Left + 2, R.Top + R.Height() / 2 - Bm->Height() / 2, Bm);
      R.Left += Bm->Width() + 5;
    }
  }
  DrawCaption(C, R, Active);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

TRect TspSkinMainMenuBarItem::GetAnimateFrameRect() const {
  const TRect& A = AnimateSkinRect;
  const Integer N = std::max(1, FrameCount), F = CurrentFrame;
  if (A.Height() > SkinRect.Height()) {
    const Integer FH = A.Height() / N;
    return TRect(A.Left, A.Top + FH * (F - 1), A.Right, A.Top + FH * F);
  }
  const Integer FW = A.Width() / N;
  return TRect(A.Left + FW * (F - 1), A.Top, A.Left + FW * F, A.Bottom);
}

std::unique_ptr<TBitmap> TspSkinMainMenuBarItem::CreateItemImage(const TRect& R, bool AActive, TCanvas* Target) {
  (void)Target;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  auto B = NewLookImage(std::max(W, 1), std::max(H, 1));
  if (!Picture || W <= 0 || H <= 0) return B;
  const bool Stretch = AActive ? StretchEffect : false;
  if (Parent->ItemTransparent && (R == SkinRect || (!Parent->FUseSkinSize && !AActive))) {
    // The bar's own background under the item, never the window's pixels.
    if (Parent->FBackground) B->Canvas()->CopyRect(TRect(0, 0, W, H), Parent->FBackground->Canvas(), ObjectRect);
  } else if (Parent->FUseSkinSize) {
    CreateHorzThreeSliceImage(LO, RO, B.get(), Picture, R, W, H, Stretch);
  } else {
    B->SetSize(W, H);
    const Integer RW = R.Width(), RH = R.Height();
    CreateClientStretchImage(B.get(), Picture, R, TRect(LO, RH / 4, RW - RO, RH - RH / 4), true);
  }
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsClear);
  SetFont(C->Font(), true);
  const bool ItemEnabled = !MenuItem || MenuItem->Enabled();
  C->Font()->SetColor(FDown ? DownFontColor : AActive ? ActiveFontColor : ItemEnabled ? FontColor : UnEnabledFontColor);
  TRect TR = TextRct;
  TR.Left += DrawGlyph(C, TR.Left + 2, B->Height() / 2, false, 0) > 0 ? GlyphWidth() : 0;
  TRect M(TR.Left, TR.Top, TR.Left, TR.Top);
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), M, DT_CALCRECT);
  M.Right += 2;
  if (!Parent->FUseSkinSize) {
    const Integer TH = M.Height();
    M.Top = B->Height() / 2 - TH / 2;
    M.Bottom = M.Top + TH;
  }
  // The caption's width grows the item, so its rectangle spans the text area.
  M.Right = std::max(M.Right, TR.Left + (W - (SkinRect.Width() - TextRct.Right)) - TR.Left);
  DrawCaption(C, M, AActive);
  return B;
}

std::unique_ptr<TBitmap> TspSkinMainMenuBarItem::CreateToolBarItemImage(bool AActive, bool ADown, TCanvas* Target) {
  (void)Target;
  const Integer W = std::max(ObjectRect.Width(), 1), H = std::max(ObjectRect.Height(), 1);
  auto B = NewLookImage(W, H);
  TspSkinData* SD = Parent->SkinData();
  const Integer I = SD ? SD->GetControlIndex(u"resizetoolbutton") : -1;
  auto* D = I >= 0 ? dynamic_cast<TspDataSkinButtonControl*>(static_cast<TObject*>(SD->CtrlList->Items(I))) : nullptr;
  if (!D) return B;
  const Integer DW = W - D->SkinRect.Width(), DH = H - D->SkinRect.Height();
  const TRect CR(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH);
  const TRect Normal = D->SkinRect;
  const TRect Hot = RectIsEmpty(D->ActiveSkinRect) ? Normal : D->ActiveSkinRect;
  const TRect Pressed = RectIsEmpty(D->DownSkinRect) ? Hot : D->DownSkinRect;
  if (!ADown && !AActive && Parent->FToolBarModeItemTransparent) {
    if (Parent->FBackground) B->Canvas()->CopyRect(TRect(0, 0, W, H), Parent->FBackground->Canvas(), ObjectRect);
  } else if (TBitmap* P = ActivePictureAt(SD, D->PictureIndex)) {
    const TPoint RT(D->RTPoint.X + DW, D->RTPoint.Y), LB(D->LBPoint.X, D->LBPoint.Y + DH),
        RB(D->RBPoint.X + DW, D->RBPoint.Y + DH);
    CreateNineSliceImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint, RT, LB, RB, CR,
                         B.get(), P, ADown ? Pressed : AActive ? Hot : Normal, W, H, true, D->LeftStretch,
                         D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect, D->StretchType);
  }
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsClear);
  TFont* F = C->Font();
  if (Parent->FUseSkinFont) {
    F->SetName(D->FontName);
    F->SetStyle(D->FontStyle);
    F->SetHeight(D->FontHeight);
  } else {
    F->Assign(Parent->FDefItemFont);
  }
  const bool ItemEnabled = !MenuItem || MenuItem->Enabled();
  F->SetColor(ADown ? D->DownFontColor : AActive ? D->ActiveFontColor : ItemEnabled ? D->FontColor : UnEnabledFontColor);
  TRect TR = CR;
  TR.Left += DrawGlyph(C, TR.Left + 2, TR.Top, true, TR.Height());
  TRect T = TR;
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), T, DT_CALCRECT);
  if (!Parent->FUseSkinSize) {
    const Integer TH = T.Height();
    T.Top = H / 2 - TH / 2;
    T.Bottom = T.Top + TH;
  }
  T.Left = TR.Left;
  T.Right = TR.Right;
  DrawCaption(C, T, AActive);
  return B;
}

std::unique_ptr<TBitmap> TspSkinMainMenuBarItem::StaticImage(bool Hot, TCanvas* Target) {
  if (Parent->FToolBarMode) return CreateToolBarItemImage(Hot, false, Target);
  if (Hot) return CreateItemImage(RectIsEmpty(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true, Target);
  return CreateItemImage(SkinRect, false, Target);
}

void TspSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
  if (!FSkinSupport) {
    DefaultDraw(Cnvs);
    return;
  }
  if (RectIsEmpty(SkinRect) || RectIsEmpty(TextRct)) return;
  ObjectRect = CalcSkinItemRect(Cnvs);
  if (!Fit()) return;
  std::unique_ptr<TBitmap> B;
  if (FDown) {
    B = Parent->FToolBarMode ? CreateToolBarItemImage(true, true, Cnvs) : CreateItemImage(DownRect, true, Cnvs);
  } else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    B = CreateItemImage(GetAnimateFrameRect(), true, Cnvs);
  } else if (!EnableMorphing() || (Active && FMorphKf == 1) || (!Active && FMorphKf == 0)) {
    B = StaticImage(Active, Cnvs);
  } else {
    auto B1 = StaticImage(false, Cnvs), B2 = StaticImage(true, Cnvs);
    DrawMorph(Cnvs, B1.get(), B2.get(), MorphKind, FMorphKf, ObjectRect.TopLeft());
    return;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinMainMenuBarItem::ReDraw() {
  if (EnableAnimation()) {
    if (AnimateInterval > 0 && Parent->AnimateTimer->Interval() != Cardinal(AnimateInterval))
      Parent->AnimateTimer->SetInterval(Cardinal(AnimateInterval));
    Parent->AnimateTimer->SetEnabled(true);
  } else {
    TspMenuBarObject::ReDraw();
  }
}

void TspSkinMainMenuBarItem::SetItemDown(bool Value) {
  FDown = Value;
  if (Value) {
    Parent->DrawSkinObject(this);
    if (Parent->DSF && !Parent->DSF->InMainMenu && Parent->DSF->OnMainMenuEnter) Parent->DSF->OnMainMenuEnter(Parent);
    OpenMenu();
    return;
  }
  Active = false;
  if (EnableAnimation()) {
    if (InActiveAnimation) {
      CurrentFrame = FrameCount + 1;
      ReDraw();
    } else {
      CurrentFrame = 0;
      Parent->DrawSkinObject(this);
    }
  } else if (EnableMorphing()) {
    SetMorphKf(1);
    ReDraw();
  } else {
    Parent->DrawSkinObject(this);
  }
}

void TspSkinMainMenuBarItem::OpenMenu() {
  TspFormSkin* S = Parent->DSF;
  if (!S || !MenuItem) return;
  const TPoint P = Parent->ClientToScreen(ObjectRect.TopLeft());
  const TRect R(P.X, P.Y, P.X + ObjectRect.Width(), P.Y + ObjectRect.Height());
  S->SkinMenuOpen();
  if (!S->InMainMenu) S->InMainMenu = true;
  S->SkinMenu->Popup(nullptr, Parent->SkinData(), 0, R, MenuItem, Parent->FPopupToUp, false);
}

void TspSkinMainMenuBarItem::MouseEnter() {
  // Another item's drop-down is open: this one opens its own at once.
  TList* L = Parent->ObjectList;
  bool Released = false;
  for (Integer I = 0; I < L->Count() && !Released; ++I)
    if (auto* It = dynamic_cast<TspSkinMainMenuBarItem*>(static_cast<TObject*>(L->Items(I)));
        It && It->IDName != IDName && It->FDown) {
      It->SetItemDown(false);
      Released = true;
    }
  if (Released) {
    Active = FMouseIn = true;
    if (EnableMorphing()) SetMorphKf(1);
    SetItemDown(true);
    return;
  }
  for (Integer I = 0; I < L->Count(); ++I)
    if (auto* It = dynamic_cast<TspSkinMainMenuBarItem*>(static_cast<TObject*>(L->Items(I)));
        It && It->IDName != IDName && It->Active) {
      It->MouseLeave();
      break;
    }
  FMouseIn = Active = true;
  ReDraw();
  if (Parent->FOnItemMouseEnter) Parent->FOnItemMouseEnter(MenuItem);
  if (MenuItem && Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TspSkinMainMenuBarItem::MouseLeave() {
  Active = FMouseIn = false;
  if (EnableAnimation() && !InActiveAnimation) {
    CurrentFrame = 0;
    Draw(Parent->Canvas());
  }
  if (EnableMorphing() && FDown) SetMorphKf(0);
  ReDraw();
  if (Parent->FOnItemMouseLeave) Parent->FOnItemMouseLeave(MenuItem);
}

void TspSkinMainMenuBarItem::MouseDown(Integer, Integer, TMouseButton Button) {
  TspFormSkin* S = Parent->DSF;
  if (!Enabled || !S || Button != mbLeft || !MenuItem) return;
  if (Parent->FOnMainMenuItemClick) Parent->FOnMainMenuItemClick(IDName);
  if (MenuItem->Count() > 0) {
    Parent->MenuActive = true;
    SetItemDown(true);
    return;
  }
  if (S->InMainMenu) S->CloseMainMenu();
  S->InMenu = false;
  if (EnableMorphing())
    ReDraw();
  else
    Parent->DrawSkinObject(this);
  if (TMenu* M = MenuItem->GetParentMenu()) M->DispatchCommand(MenuItem->Command());
}

// ---------------------------------------------------------------------------
// The bar

TspSkinMainMenuBar::TspSkinMainMenuBar(TComponent* AOwner) : TspSkinControl(AOwner) {
  FDefItemFont = new TFont();
  FDefItemFont->SetName(u"Arial");
  FDefItemFont->SetStyle(0);
  FDefItemFont->SetHeight(14);
  FDefItemFont->SetColor(clBtnText);
  ObjectList = new TList();
  FSkinDataName = u"mainmenubar";
  SetAlign(alTop);
  SetHeight(22);
  MouseTimer = new TTimer(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(50);
  MouseTimer->SetOnTimer([this](TObject*) { MouseTimerTick(); });
  MorphTimer = new TTimer(this);
  MorphTimer->SetEnabled(false);
  MorphTimer->SetInterval(25);
  MorphTimer->SetOnTimer([this](TObject*) { MorphTimerTick(); });
  AnimateTimer = new TTimer(this);
  AnimateTimer->SetEnabled(false);
  AnimateTimer->SetInterval(25);
  AnimateTimer->SetOnTimer([this](TObject*) { AnimateTimerTick(); });
}

TspSkinMainMenuBar::~TspSkinMainMenuBar() {
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  AnimateTimer->SetEnabled(false);
  Destroying();
  DestroyHandle();
  delete FDefItemFont;
  ClearObjects();
  delete ObjectList;
}

void TspSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainMenu) FMainMenu = nullptr;
  if (AComponent == DSF) DSF = nullptr;
  if (AComponent == FMergeMenu) FMergeMenu = nullptr;
}

TspSkinMainMenuBarItem* TspSkinMainMenuBar::ItemAt(Integer I) const {
  return I >= 0 && I < ObjectList->Count() ? dynamic_cast<TspSkinMainMenuBarItem*>(static_cast<TObject*>(ObjectList->Items(I)))
                                           : nullptr;
}

void TspSkinMainMenuBar::SetFormSkin(TspFormSkin* Value) {
  DSF = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
  FMainMenu = Value;
  if (Value) Value->FreeNotification(this);
  CreateMenu();
  Repaint();
}

void TspSkinMainMenuBar::SetDefItemFont(TFont* Value) {
  FDefItemFont->Assign(Value);
  if (FIndex == -1) Repaint();
}

void TspSkinMainMenuBar::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TspSkinMainMenuBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

TspDataSkinObject* TspSkinMainMenuBar::SkinObject(const String& Name) {
  if (!FSD || FSD->Empty) return nullptr;
  const Integer I = FSD->GetIndex(Name);
  return I >= 0 ? static_cast<TspDataSkinObject*>(FSD->ObjectList->Items(I)) : nullptr;
}

void TspSkinMainMenuBar::ClearObjects() {
  for (Integer I = 0; I < ObjectList->Count(); ++I) delete static_cast<TspMenuBarObject*>(ObjectList->Items(I));
  ObjectList->Clear();
  ButtonsCount = 0;
  ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

TMainMenu* TspSkinMainMenuBar::GetChildMainMenu() {
  if (FMergeMenu) return FMergeMenu;
  // The class library has no document children: there is no active one.
  return nullptr;
}

void TspSkinMainMenuBar::CreateMenu() {
  ClearObjects();
  TMainMenu* Child = (DSF && FMergeMenu) ? GetChildMainMenu() : nullptr;
  if (!FMainMenu) return;
  TspDataSkinObject* ItemData = SkinObject(MenuBarItem);
  ChildMenuIn = Child != nullptr;
  if (Child && FScrollMenu) FScrollMenu = false;
  auto Add = [&](TMenuItem* MI) {
    auto* It = new TspSkinMainMenuBarItem(this, ItemData);
    It->IDName = MI->Name();
    It->Enabled = It->OldEnabled = MI->Enabled();
    It->MenuItem = MI;
    ObjectList->Add(It);
  };
  TMenuItem* Root = FMainMenu->Items();
  if (!Child) {
    for (Integer I = 0; I < Root->Count(); ++I)
      if (Root->Items(I)->Visible()) Add(Root->Items(I));
  } else {
    std::vector<TMenuItem*> All;
    std::vector<TspMenuBarEntry> M, C;
    for (Integer I = 0; I < Root->Count(); ++I) {
      M.push_back({Root->Items(I)->GroupIndex(), Root->Items(I)->Visible(), Integer(All.size())});
      All.push_back(Root->Items(I));
    }
    TMenuItem* CR = Child->Items();
    for (Integer I = 0; I < CR->Count(); ++I) {
      C.push_back({CR->Items(I)->GroupIndex(), CR->Items(I)->Visible(), Integer(All.size())});
      All.push_back(CR->Items(I));
    }
    for (const TspMenuBarEntry& E : MergeMenuBarEntries(M, C)) Add(All[size_t(E.Id)]);
  }
  if (FMDIChildMax) {
    AddChildButtons();
    if (TspFormSkin* S = FindMaximizedMDIChildSkinForm()) CheckChildButtons(S->BorderIcons());
  }
}

void TspSkinMainMenuBar::UpDateItems() {
  CreateMenu();
  Repaint();
  ActiveObject = OldActiveObject = -1;
  MouseTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::UpDateEnabledItems() {
  for (Integer I = 0; I < ObjectList->Count(); ++I)
    if (TspSkinMainMenuBarItem* It = ItemAt(I); It && It->MenuItem) It->Enabled = It->MenuItem->Enabled();
  Repaint();
}

void TspSkinMainMenuBar::Merge(TMainMenu* Menu) {
  FMergeMenu = Menu;
  if (Menu) Menu->FreeNotification(this);
  UpDateItems();
}

void TspSkinMainMenuBar::UnMerge() {
  FMergeMenu = nullptr;
  UpDateItems();
}

void TspSkinMainMenuBar::AddChildButtons() {
  ButtonsCount = 0;
  const bool Desc = FIndex != -1;
  struct B {
    String Name;
    TStdCommand Cmd;
  };
  const B Buttons[4] = {{Desc ? MinButton : u"MinButton", cmMinimize},
                        {Desc ? MaxButton : u"MaxButton", cmMaximize},
                        {Desc ? CloseButton : u"CloseButton", cmClose},
                        {Desc ? SysMenuButton : u"SysMenuButton", cmSysMenu}};
  for (const B& Bt : Buttons) {
    auto* O = new TspSkinMainMenuBarButton(this, SkinObject(Bt.Name));
    if (!Desc) O->Command = Bt.Cmd;
    O->IDName = Bt.Name;
    ObjectList->Insert(0, O);
    ++ButtonsCount;
  }
}

void TspSkinMainMenuBar::DeleteChildButtons() {
  for (Integer I = 0; I < ButtonsCount && ObjectList->Count() > 0; ++I) {
    ActiveObject = MouseCaptureObject = -1;
    delete static_cast<TspMenuBarObject*>(ObjectList->Items(0));
    ObjectList->Delete(0);
  }
  ButtonsCount = 0;
}

void TspSkinMainMenuBar::CheckChildButtons(Byte Icons) {
  for (Integer I = 0; I < ButtonsCount && I < ObjectList->Count(); ++I) {
    auto* B = dynamic_cast<TspSkinMainMenuBarButton*>(static_cast<TObject*>(ObjectList->Items(I)));
    if (!B) continue;
    B->Enabled = true;
    if (B->Command == cmMinimize && !(Icons & spbi::biMinimize)) B->Enabled = false;
    if (B->Command == cmSysMenu && !(Icons & spbi::biSystemMenu)) B->Enabled = false;
  }
}

void TspSkinMainMenuBar::MDIChildMaximize() {
  if (FMDIChildMax) return;
  FMDIChildMax = true;
  OldActiveObject = ActiveObject = MouseCaptureObject = -1;
  AddChildButtons();
  if (TspFormSkin* S = FindMaximizedMDIChildSkinForm()) CheckChildButtons(S->BorderIcons());
  Repaint();
}

void TspSkinMainMenuBar::MDIChildRestore() {
  TspFormSkin* S = FindMaximizedMDIChildSkinForm();
  if (!S && FMDIChildMax) {
    FMDIChildMax = false;
    DeleteChildButtons();
    Repaint();
  } else if (S) {
    CheckChildButtons(S->BorderIcons());
  }
}

void TspSkinMainMenuBar::GetSkinData() {
  TspSkinControl::GetSkinData();
  auto* D = dynamic_cast<TspDataSkinMainMenuBar*>(SkinDescription());
  if (!D) return;
  SkinRect = D->SkinRect;
  ItemsRect = D->ItemsRect;
  MenuBarItem = D->MenuBarItem;
  CloseButton = D->CloseButton;
  MaxButton = D->MaxButton;
  MinButton = D->MinButton;
  SysMenuButton = D->SysMenuButton;
  TrackMarkColor = D->TrackMarkColor;
  TrackMarkActiveColor = D->TrackMarkActiveColor;
  StretchEffect = D->StretchEffect;
  ItemTransparent = D->ItemTransparent;
  Picture = ActivePictureAt(FSD, D->PictureIndex);
}

void TspSkinMainMenuBar::ChangeSkinData() {
  GetSkinData();
  FSkinSupport = FIndex != -1;
  CreateMenu();
  if (FSkinSupport && FUseSkinSize)
    SetHeight(SkinRect.Height());
  else if (FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
  Repaint();
}

void TspSkinMainMenuBar::BeforeChangeSkinData() {
  FSkinSupport = false;
  TspSkinControl::BeforeChangeSkinData();
  ClearObjects();
}

void TspSkinMainMenuBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  if (FIndex != -1 && FUseSkinSize) AHeight = SkinRect.Height();
  TspSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Repaint();
}

void TspSkinMainMenuBar::CalcItemsRect() {
  NewItemsRect = MenuBarItemsRect(FSkinSupport, SkinRect, ItemsRect, FUseSkinSize, Width(), Height());
  if (FMDIChildMax && ButtonsCount == 4) {
    std::vector<TPoint> Sizes;
    for (Integer I = 0; I < 4; ++I) {
      auto* B = static_cast<TspSkinMainMenuBarButton*>(ObjectList->Items(I));
      Sizes.push_back(B->FSkinSupport ? TPoint(B->SkinRect.Width(), B->SkinRect.Height()) : TPoint());
    }
    const std::vector<TRect> R = PlaceMenuBarButtons(NewItemsRect, Sizes);
    for (Integer I = 0; I < 4; ++I) static_cast<TspMenuBarObject*>(ObjectList->Items(I))->ObjectRect = R[size_t(I)];
  }
}

TRect TspSkinMainMenuBar::GetMarkerRect() const { return MenuBarMarkerRect(NewItemsRect); }

void TspSkinMainMenuBar::DrawMarker(TCanvas* Cnvs) {
  const TColor C = FIndex == -1 ? (MarkerActive ? clBtnText : clBtnShadow)
                                : (MarkerActive ? TrackMarkActiveColor : TrackMarkColor);
  DrawDirectionArrow(Cnvs, GetMarkerRect(), C, 2);
}

void TspSkinMainMenuBar::PaintBar(TCanvas* Cnvs) {
  GetSkinData();
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  auto B = NewLookImage(W, H);
  auto* D = dynamic_cast<TspDataSkinMainMenuBar*>(SkinDescription());
  if (!D) {
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(TRect(0, 0, W, H));
  } else if (FSD->MainMenuBarTransparent) {
    PaintParentBackground(this, B->Canvas());
  } else if (FUseSkinSize && Picture) {
    CreateHorzThreeSliceImage(ItemsRect.Left, SkinRect.Width() - ItemsRect.Right, B.get(), Picture, SkinRect, W,
                              SkinRect.Height(), StretchEffect);
  } else if (!FToolBarMode && Picture) {
    const Integer SH = SkinRect.Height();
    CreateClientStretchImage(B.get(), Picture, SkinRect, TRect(ItemsRect.Left, SH / 4, ItemsRect.Right, SH - SH / 4),
                             true);
  } else if (FToolBarMode) {
    Integer I = FSD->GetControlIndex(u"resizetoolpanel");
    if (I == -1) I = FSD->GetControlIndex(u"panel");
    auto* P = I >= 0 ? dynamic_cast<TspDataSkinCustomControl*>(static_cast<TObject*>(FSD->CtrlList->Items(I))) : nullptr;
    if (TBitmap* Pic = P ? ActivePictureAt(FSD, P->PictureIndex) : nullptr) {
      const Integer DW = W - P->SkinRect.Width(), DH = H - P->SkinRect.Height();
      CreateNineSliceImage(P->LTPoint, P->RTPoint, P->LBPoint, P->RBPoint, P->ClRect, P->LTPoint,
                           TPoint(P->RTPoint.X + DW, P->RTPoint.Y), TPoint(P->LBPoint.X, P->LBPoint.Y + DH),
                           TPoint(P->RBPoint.X + DW, P->RBPoint.Y + DH),
                           TRect(P->ClRect.Left, P->ClRect.Top, P->ClRect.Right + DW, P->ClRect.Bottom + DH), B.get(),
                           Pic, P->SkinRect, W, H, true, P->LeftStretch, P->TopStretch, P->RightStretch,
                           P->BottomStretch, P->StretchEffect, P->StretchType);
    }
  }
  if (B->Width() != W || B->Height() != H) B->SetSize(W, H);
  FBackground = NewLookImage(W, H);
  FBackground->Canvas()->Draw(0, 0, B.get());
  CalcItemsRect();
  Scroll = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* O = static_cast<TspMenuBarObject*>(ObjectList->Items(I));
    if (O->Visible) O->Draw(B->Canvas());
  }
  if (Scroll && FScrollMenu) DrawMarker(B->Canvas());
  Cnvs->Draw(0, 0, B.get());
}

void TspSkinMainMenuBar::DrawSkinObject(TspMenuBarObject* AObject) {
  if (dynamic_cast<TspSkinMainMenuBarItem*>(AObject) && FIndex != -1 &&
      (ItemTransparent || (FToolBarMode && FToolBarModeItemTransparent))) {
    Repaint();
    return;
  }
  if (AObject->Visible && HandleAllocated()) AObject->Draw(Canvas());
}

void TspSkinMainMenuBar::TestActive(Integer X, Integer Y) {
  const Integer N = ObjectList->Count();
  if (N == 0) return;
  OldActiveObject = ActiveObject;
  Integer Hit = -1;
  for (Integer I = 0; I < N && Hit == -1; ++I) {
    auto* O = static_cast<TspMenuBarObject*>(ObjectList->Items(I));
    const TRect& R = O->ObjectRect;
    if (O->Enabled && X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) Hit = I;
  }
  if (Hit == -1 && OldActiveObject != -1 && MenuActive && ItemAt(OldActiveObject))
    ActiveObject = OldActiveObject;
  else
    ActiveObject = Hit;
  if (MouseCaptureObject != -1 && MouseCaptureObject != ActiveObject && ActiveObject != -1) ActiveObject = -1;
  if (ActiveObject >= N) ActiveObject = -1;
  if (OldActiveObject >= N) OldActiveObject = -1;
  if (OldActiveObject != ActiveObject) {
    if (OldActiveObject != -1) {
      auto* O = static_cast<TspMenuBarObject*>(ObjectList->Items(OldActiveObject));
      if (O->Enabled) O->MouseLeave();
    }
    if (ActiveObject != -1 && ActiveObject < ObjectList->Count()) {
      auto* O = static_cast<TspMenuBarObject*>(ObjectList->Items(ActiveObject));
      if (O->Enabled) O->MouseEnter();
    }
  }
  if (Scroll && FScrollMenu) {
    const TRect M = GetMarkerRect();
    const bool In = X >= M.Left && X < M.Right && Y >= M.Top && Y < M.Bottom;
    if (In != MarkerActive) {
      MarkerActive = In;
      if (HandleAllocated()) DrawMarker(Canvas());
    }
  }
}

void TspSkinMainMenuBar::MouseTimerTick() {
  TPoint P;
  if (CursorPosSource) {
    P = CursorPosSource();
  } else {
    POINT C;
    GetCursorPos(&C);
    P = TPoint(C.x, C.y);
  }
  P = ScreenToClient(P);
  if (P.X < 0 || P.Y < 0 || P.X > Width() || P.Y > Height()) {
    if (MouseTimer->Enabled()) {
      MouseTimer->SetEnabled(false);
      TestActive(-1, -1);
    }
  } else {
    TestActive(P.X, P.Y);
  }
}

void TspSkinMainMenuBar::MorphTimerTick() {
  bool Any = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* O = static_cast<TspMenuBarObject*>(ObjectList->Items(I));
    if (O->EnableMorphing() && O->CanMorphing()) {
      O->DoMorphing();
      Any = true;
    }
  }
  if (!Any) MorphTimer->SetEnabled(false);
}

void TspSkinMainMenuBar::AnimateTimerTick() {
  bool Any = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspSkinMainMenuBarItem* It = ItemAt(I);
    if (!It || !It->EnableAnimation()) continue;
    if (It->Active && It->CurrentFrame <= It->FrameCount) {
      ++It->CurrentFrame;
      It->Draw(Canvas());
      Any = true;
    } else if (!It->Active && It->CurrentFrame > 0) {
      --It->CurrentFrame;
      It->Draw(Canvas());
      Any = true;
    }
  }
  if (!Any) AnimateTimer->SetEnabled(false);
}

void TspSkinMainMenuBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: {
      TCanvas C;
      C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
      PaintBar(&C);
      C.SetHandle(nullptr);
      Message.Result = 1;
      return;
    }
    case WM_SIZE:
      TspSkinControl::Dispatch(Message);
      CalcItemsRect();
      return;
    case WM_MOVE:
      TspSkinControl::Dispatch(Message);
      if (FIndex != -1 && FSD && FSD->MainMenuBarTransparent && Align() == alNone) Repaint();
      return;
    case FEM_MENU_CLOSED:
      for (Integer I = 0; I < ObjectList->Count(); ++I) {
        auto* B = dynamic_cast<TspSkinMainMenuBarButton*>(static_cast<TObject*>(ObjectList->Items(I)));
        if (!B || B->Command != cmSysMenu || !B->FDown) continue;
        if (I != ActiveObject) B->Active = B->FMouseIn = false;
        B->FDown = false;
        B->ReDraw();
      }
      return;
    case 0x504:  // the parent's background changed
      TspSkinControl::Dispatch(Message);
      if (FIndex != -1 && FSD && FSD->MainMenuBarTransparent) Repaint();
      return;
    case CM_MOUSEENTER:
      TspSkinControl::Dispatch(Message);
      if (FOnMouseEnter) FOnMouseEnter(this);
      MouseTimer->SetEnabled(true);
      return;
    case CM_MOUSELEAVE:
      TspSkinControl::Dispatch(Message);
      if (FOnMouseLeave) FOnMouseLeave(this);
      MouseTimer->SetEnabled(false);
      TestActive(-1, -1);
      return;
    default: TspSkinControl::Dispatch(Message);
  }
}

void TspSkinMainMenuBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (!MouseTimer->Enabled()) MouseTimer->SetEnabled(true);
  TspSkinControl::MouseMove(Shift, X, Y);
}

void TspSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinControl::MouseDown(Button, Shift, X, Y);
  TestActive(X, Y);
  if (ActiveObject != -1) {
    MouseCaptureObject = ActiveObject;
    auto* O = static_cast<TspMenuBarObject*>(ObjectList->Items(ActiveObject));
    O->MouseDown(X, Y, Button);
    if ((Shift & ssDouble) && MouseCaptureObject < ObjectList->Count()) O->DblClick();
  } else if (Scroll && FScrollMenu) {
    const TRect M = GetMarkerRect();
    if (X >= M.Left && X < M.Right && Y >= M.Top && Y < M.Bottom) PopupHiddenItems();
  }
}

void TspSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (MouseCaptureObject != -1 && MouseCaptureObject < ObjectList->Count()) {
    static_cast<TspMenuBarObject*>(ObjectList->Items(MouseCaptureObject))->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
  }
  TspSkinControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinMainMenuBar::PopupHiddenItems() {
  if (!DSF || !FMainMenu) return;
  Integer N = 0;
  for (Integer I = 0; I < ObjectList->Count(); ++I)
    if (TspSkinMainMenuBarItem* It = ItemAt(I); It && It->Visible) ++N;
  const TPoint P = ClientToScreen(TPoint(NewItemsRect.Right, NewItemsRect.Top));
  const TRect R(P.X - 5, P.Y, P.X, P.Y + NewItemsRect.Height());
  TMainMenu* Child = FMergeMenu ? GetChildMainMenu() : nullptr;
  DSF->SkinMenuOpen();
  if (Child)
    DSF->SkinMenu->Popup2(nullptr, SkinData(), N, R, FMainMenu->Items(), Child->Items(), false, false);
  else
    DSF->SkinMenu->Popup(nullptr, SkinData(), N, R, FMainMenu->Items(), false, false);
}

// ---------------------------------------------------------------------------
// Keyboard

void TspSkinMainMenuBar::EnterMainMenu() {
  MenuActive = true;
  TspSkinMainMenuBarItem* First = nullptr;
  TspSkinMainMenuBarItem* Hot = nullptr;
  for (Integer I = 0; I < ObjectList->Count(); ++I)
    if (TspSkinMainMenuBarItem* It = ItemAt(I)) {
      if (!First) First = It;
      if (It->Active && !Hot) Hot = It;
    }
  TspSkinMainMenuBarItem* It = Hot ? Hot : First;
  if (!It) return;
  It->MouseEnter();
  if (!DSF) return;
  DSF->HookAppMessage();
  DSF->InMainMenu = true;
  if (DSF->OnMainMenuEnter) DSF->OnMainMenuEnter(this);
}

void TspSkinMainMenuBar::CloseMainMenu() {
  MenuActive = false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspSkinMainMenuBarItem* It = ItemAt(I);
    if (!It || !(It->FDown || It->Active)) continue;
    It->Active = It->FMouseIn = It->FDown = false;
    if (It->EnableMorphing()) It->SetMorphKf(1);
    if (It->EnableAnimation() && !It->InActiveAnimation) {
      It->CurrentFrame = 0;
      DrawSkinObject(It);
    } else {
      It->ReDraw();
    }
    break;
  }
  ActiveObject = OldActiveObject = -1;
}

void TspSkinMainMenuBar::SkinMainMenuClose() {
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspSkinMainMenuBarItem* It = ItemAt(I);
    if (!It || !It->FDown) continue;
    It->FDown = false;
    It->Active = true;
    if (It->EnableMorphing()) It->SetMorphKf(1);
    DrawSkinObject(It);
    break;
  }
}

bool TspSkinMainMenuBar::OpenMainMenuItem() {
  if (!DSF) return false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspSkinMainMenuBarItem* It = ItemAt(I);
    if (!It) continue;
    const bool NoSub = !It->MenuItem || It->MenuItem->Count() == 0;
    if ((It->FDown && NoSub) || (It->Active && !DSF->InMenu)) {
      It->Active = false;
      It->MouseDown(0, 0, mbLeft);
      return true;
    }
  }
  return false;
}

bool TspSkinMainMenuBar::FindMainMenuItemByAccel(Word Key) {
  if (!DSF || ObjectList->Count() == 0 || !DSF->FForm->Visible()) return false;
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    TspSkinMainMenuBarItem* It = ItemAt(I);
    if (!It || !It->Enabled || !It->Visible || !It->MenuItem || !IsAccel(Key, It->MenuItem->Caption())) continue;
    It->MouseEnter();
    if (!DSF->InMenu || It->MenuItem->Count() == 0) It->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}

namespace {

// The items' availability and the current one (hot or pressed) for the walk.
void WalkState(TspSkinMainMenuBar* Bar, std::vector<bool>& Av, Integer& Current) {
  Current = -1;
  for (Integer I = 0; I < Bar->ObjectList->Count(); ++I) {
    TspSkinMainMenuBarItem* It = Bar->ItemAt(I);
    const bool A = It && It->Enabled && It->Visible;
    Av.push_back(A);
    if (A && Current == -1 && (It->Active || It->FDown)) Current = I;
  }
}

}  // namespace

void TspSkinMainMenuBar::NextMainMenuItem() {
  std::vector<bool> Av;
  Integer Current;
  WalkState(this, Av, Current);
  if (Current != -1) ItemAt(Current)->MouseLeave();
  const Integer N = NextMenuBarItem(Av, Current);
  if (N != -1) ItemAt(N)->MouseEnter();
}

void TspSkinMainMenuBar::PrevMainMenuItem() {
  std::vector<bool> Av;
  Integer Current;
  WalkState(this, Av, Current);
  if (Current != -1) ItemAt(Current)->MouseLeave();
  const Integer N = PrevMenuBarItem(Av, Current);
  if (N != -1) ItemAt(N)->MouseEnter();
}
