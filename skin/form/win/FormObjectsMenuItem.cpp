// The top-level items of the form's main menu drawn inside the frame: their
// layout along the main-menu area, the look stretched from two end pieces
// and a repeated middle, and the drop-downs they open through the form's
// skinned menu.
#include <algorithm>
#include <memory>

#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"
#include "skin/form/win/FormSkin.h"

TspSkinMainMenuItem::TspSkinMainMenuItem(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinMainMenuItem*>(AData)) {
    FontName = D->FontName;
    FontHeight = D->FontHeight;
    FontStyle = D->FontStyle;
    UnEnabledFontColor = D->UnEnabledFontColor;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    DownFontColor = D->DownFontColor;
    TextRct = D->TextRct;
    // A down look cut from a missing active picture counts as none.
    if (ActivePicture) ItemDownRect = D->DownRect;
    LO = std::max(D->ItemLO, 0);
    RO = std::max(D->ItemRO, 0);
  }
  if (RectIsEmpty(ItemDownRect)) ItemDownRect = RectIsEmpty(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
  if (RectIsEmpty(ActiveSkinRect)) Morphing = false;
  OldEnabled = Enabled;
  FitsInArea = true;
}

void TspSkinMainMenuItem::SetupFont(TCanvas* C) {
  C->Font()->SetName(FontName);
  C->Font()->SetHeight(FontHeight);
  C->Font()->SetStyle(FontStyle);
}

Integer TspSkinMainMenuItem::CaptionWidth() {
  if (!MenuItem) return 0;
  auto B = NewLookImage(1, 1);
  SetupFont(B->Canvas());
  TRect R(0, 0, 0, 0);
  DrawWideText(B->Canvas(), MenuItem->Caption(), R, DT_CALCRECT | DT_SINGLELINE);
  return R.Width();
}

TRect TspSkinMainMenuItem::LayoutRect() {
  const TRect& Area = Parent->FR.NewMainMenuRect;
  const Integer W = SkinRect.Width() - TextRct.Width() + CaptionWidth() + 2;
  Integer Left = 0;
  TList* L = Parent->ObjectList;
  for (Integer I = L->IndexOf(this) - 1; I >= 0; --I)
    if (auto* Prev = dynamic_cast<TspSkinMainMenuItem*>(static_cast<TspActiveSkinObject*>(L->Items(I)))) {
      Left = Prev->ObjectRect.Right;
      break;
    }
  if (Left == 0) Left = Area.Left;
  return TRect(Left, Area.Top, Left + W, Area.Top + SkinRect.Height());
}

std::unique_ptr<TBitmap> TspSkinMainMenuItem::ItemImage(const TRect& S, TColor Color) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  auto B = NewLookImage(W, H);
  TCanvas* C = B->Canvas();
  if (ActivePicture && !RectIsEmpty(S)) {
    TCanvas* P = ActivePicture->Canvas();
    const Integer L = std::min(LO, S.Width()), R = std::min(RO, S.Width());
    const Integer MW = S.Width() - LO - RO;
    if (MW <= 0) {
      // No middle part to repeat: the look stretched whole under its two
      // ends.
      C->CopyRect(TRect(0, 0, W, H), P, S);
    } else {
      for (Integer X = L; X < W - R; X += MW) {
        const Integer N = std::min(MW, W - R - X);
        C->CopyRect(TRect(X, 0, X + N, H), P, TRect(S.Left + LO, S.Top, S.Left + LO + N, S.Top + H));
      }
    }
    if (L > 0) C->CopyRect(TRect(0, 0, L, H), P, TRect(S.Left, S.Top, S.Left + L, S.Top + H));
    if (R > 0) C->CopyRect(TRect(W - R, 0, W, H), P, TRect(S.Right - R, S.Top, S.Right, S.Top + H));
  }
  if (MenuItem) {
    C->Brush()->SetStyle(bsClear);
    SetupFont(C);
    C->Font()->SetColor(Color);
    TRect T(TextRct.Left, TextRct.Top, TextRct.Left + CaptionWidth() + 2, TextRct.Bottom);
    DrawWideText(C, MenuItem->Caption(), T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  return B;
}

void TspSkinMainMenuItem::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin() || RectIsEmpty(SkinRect) || RectIsEmpty(TextRct)) return;
  const TRect Area = Parent->FR.NewMainMenuRect;
  ObjectRect = LayoutRect();
  TempObjectRect = TRect();
  // Past the right of the area the item hides and cannot be used.
  if (ObjectRect.Right > Area.Right) {
    if (FitsInArea) {
      OldEnabled = Enabled;
      Enabled = false;
      FitsInArea = false;
    }
    return;
  }
  if (!FitsInArea) {
    FitsInArea = true;
    Enabled = OldEnabled;
  }
  // The full frame paints the part below the client area with that part's
  // own origin.
  const TRect Cl = Parent->FR.NewClRect;
  if (Parent->SupportNCArea() && !UpDate && Area.Top >= Cl.Bottom) {
    TempObjectRect = ObjectRect;
    ObjectRect.Top -= Cl.Bottom;
    ObjectRect.Bottom -= Cl.Bottom;
  }
  const bool MenuEnabled = MenuItem && MenuItem->Enabled();
  const TColor Normal = MenuEnabled ? FontColor : UnEnabledFontColor;
  std::unique_ptr<TBitmap> B;
  if (FDown) {
    B = ItemImage(ItemDownRect, DownFontColor);
  } else if (!EnableMorphing() || (Active && FMorphKf == 1) || (!Active && FMorphKf == 0)) {
    if (Active)
      B = ItemImage(RectIsEmpty(ActiveSkinRect) ? SkinRect : ActiveSkinRect, ActiveFontColor);
    else
      B = ItemImage(SkinRect, Normal);
  } else {
    auto N = ItemImage(SkinRect, Normal);
    auto A = ItemImage(ActiveSkinRect, ActiveFontColor);
    std::unique_ptr<TspEffectBmp> E1(TspEffectBmp::CreateFromhWnd(N->Handle()));
    std::unique_ptr<TspEffectBmp> E2(TspEffectBmp::CreateFromhWnd(A->Handle()));
    ApplyMorph(E1.get(), E2.get(), MorphKind, FMorphKf);
    E1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
  }
  if (B) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
  if (!RectIsEmpty(TempObjectRect)) ObjectRect = TempObjectRect;
}

void TspSkinMainMenuItem::SetItemDown(bool Value) {
  FDown = Value;
  if (Value) {
    Parent->DrawSkinObject(this);
    OpenMenu();
    if (!Parent->InMainMenu) {
      Parent->InMainMenu = true;
      if (Parent->OnMainMenuEnter) Parent->OnMainMenuEnter(Parent);
    }
  } else {
    Active = false;
    if (EnableMorphing()) SetMorphKf(1);
    ReDraw();
  }
}

void TspSkinMainMenuItem::OpenMenu() {
  if (!MenuItem) return;
  TspSkinData* SD = Parent->SkinData();
  const bool Up = SD && SD->MainMenuPopupUp;
  Parent->SkinMenuOpen();
  Parent->SkinMenu->Popup(nullptr, Parent->MenusSkinData() ? Parent->MenusSkinData() : SD, 0,
                          ScreenRect(ObjectRect, false), MenuItem, Up, false);
}

void TspSkinMainMenuItem::MouseEnter() {
  TList* L = Parent->ObjectList;
  TspSkinMainMenuItem* DownItem = nullptr;
  for (Integer I = 0; I < L->Count() && !DownItem; ++I) {
    auto* O = dynamic_cast<TspSkinMainMenuItem*>(static_cast<TspActiveSkinObject*>(L->Items(I)));
    if (O && O != this && O->IDName != IDName && O->FDown) DownItem = O;
  }
  if (DownItem && MenuItem && MenuItem->Count() > 0) {
    // Moving along the bar with a drop-down open switches drop-downs at once.
    DownItem->SetItemDown(false);
    Active = FMouseIn = true;
    if (EnableMorphing()) SetMorphKf(1);
    SetItemDown(true);
    return;
  }
  if (DownItem) {
    // An item with nothing to drop down closes the open one and is only hot.
    Parent->SkinMenu->Hide();
    if (Parent->InMenu) Parent->SkinMenuClose();
  } else {
    for (Integer I = 0; I < L->Count(); ++I) {
      auto* O = dynamic_cast<TspSkinMainMenuItem*>(static_cast<TspActiveSkinObject*>(L->Items(I)));
      if (O && O != this && O->IDName != IDName && O->Active) {
        O->MouseLeave();
        break;
      }
    }
  }
  FMouseIn = Active = true;
  ReDraw();
}

void TspSkinMainMenuItem::MouseLeave() {
  Active = FMouseIn = false;
  if (EnableMorphing() && FDown) SetMorphKf(0);
  ReDraw();
  FireLeave();
}

void TspSkinMainMenuItem::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && MenuItem) {
    if (MenuItem->Count() > 0) {
      SetItemDown(true);
    } else {
      if (FDown) SetItemDown(false);
      Parent->InMenu = false;
      const TRect R = ObjectRect;
      const String Name = IDName;
      TspFormSkin* FS = Parent;
      if (TMenu* M = MenuItem->GetParentMenu()) M->DispatchCommand(MenuItem->Command());
      // The command may have rebuilt the form's objects.
      FS->DoMouseDownEvent(Name, X, Y, R, Button);
      return;
    }
  }
  FireMouseDown(X, Y, Button);
}
