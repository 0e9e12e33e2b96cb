// The skinned menu: items, levels and the level stack.
#include "skin/controls/win/SkinMenuLevels.h"

#include <algorithm>
#include <cstdlib>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "rtl/ScopeGuard.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SpEffBmp.h"

bool IsMenuCloseMessage(UINT Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: return true;
    default: return false;
  }
}

void SendMenuMessage(TControl* C, UINT Msg) {
  auto* W = dynamic_cast<TWinControl*>(C);
  if (W && W->HandleAllocated())
    SendMessageW(W->Handle(), Msg, 0, 0);
  else
    C->Perform(Msg, 0, 0);
}

namespace {

TBitmap* ActivePictureAt(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

Integer FontHeightOf(TFont* F) { return std::abs(F->Height()); }

// The font a menu draws its items with: the skin's item font or a copy of
// the menu's default font; the charset of the skin's text table when it has one.
void SetItemFont(TFont* Target, TspSkinMenu* Menu, TspDataSkinMenuItem* MI, bool UseSkin) {
  TFont* Def = Menu->DefaultMenuItemFont();
  if (UseSkin && MI && Menu->UseSkinFont()) {
    Target->SetName(MI->FontName);
    Target->SetStyle(MI->FontStyle);
    Target->SetHeight(MI->FontHeight);
    Target->SetCharset(Def->Charset());
  } else {
    Target->Assign(Def);
  }
  TspSkinData* SD = Menu->SkinData;
  if (SD && SD->ResourceStrData())
    Target->SetCharset(SD->ResourceStrData()->CharSet());
  else
    Target->SetCharset(Def->Charset());
}

String ItemText(TMenuItem* M) {
  String S = M->Caption();
  if (M->ShortCut() != scNone) S += u"  " + ShortCutToText(M->ShortCut());
  return S;
}

Integer TextWidthOf(TCanvas* C, const String& S) {
  TRect R(0, 0, 0, 0);
  DrawWideText(C, S, R, DT_CALCRECT | DT_SINGLELINE);
  return R.Width();
}

// The caption-button glyph an item of a form's system or tray menu shows.
using TGlyphProc = void (*)(TCanvas*, Integer, Integer, TColor);
TGlyphProc GlyphForName(const String& Name) {
  if (Name == u"DSF_CLOSE" || Name == u"TRAY_DSF_CLOSE") return DrawCloseGlyph;
  if (Name == u"DSF_MINITEM") return DrawMinimizeGlyph;
  if (Name == u"DSF_MAXITEM") return DrawMaximizeGlyph;
  if (Name == u"DSF_RESTORE" || Name == u"TRAY_DSF_RESTORE") return DrawRestoreGlyph;
  if (Name == u"DSF_ROLLUP") return DrawRollUpGlyph;
  if (Name == u"DSF_MINTOTRAY") return DrawMinimizeToTrayGlyph;
  return nullptr;
}

// Clears Target when that component is freed meanwhile.
class TComponentWatch : public TComponent {
 public:
  explicit TComponentWatch(TComponent* T) : TComponent(nullptr), Target(T) {
    if (T) T->FreeNotification(this);
  }
  ~TComponentWatch() override {
    if (Target) Target->RemoveFreeNotification(this);
  }
  TComponent* Target;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Target) Target = nullptr;
  }
};

constexpr UINT kTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Caption and short-cut text of an item in the text rect TR; the short-cut
// ends ShortGap pixels inside TR. OddShift: one pixel up for an odd font height.
void DrawItemTexts(TCanvas* C, TMenuItem* M, const TRect& TR, Integer GW, Integer ShortGap, bool OddShift) {
  TRect R3(TR.Left + GW, 0, TR.Right - ShortGap, 0);
  DrawWideText(C, M->Caption(), R3, DT_CALCRECT | DT_SINGLELINE);
  const Integer Dy = TR.Height() / 2 + TR.Top - R3.Bottom / 2;
  R3.Top += Dy;
  R3.Bottom += Dy;
  R3.Right += 2;
  const bool Odd = OddShift && FontHeightOf(C->Font()) % 2 == 1;
  if (Odd) R3.Top -= 1;
  DrawWideText(C, M->Caption(), R3, kTextFlags);
  if (M->ShortCut() == scNone) return;
  const String S = ShortCutToText(M->ShortCut());
  const Integer W = TextWidthOf(C, S);
  TRect SR(TR.Right - ShortGap - W, R3.Top, TR.Right - ShortGap, R3.Bottom);
  if (Odd) SR.Top -= 1;
  DrawWideText(C, S, SR, kTextFlags);
}

}  // namespace

// ---------------------------------------------------------------------------
// TspSkinMenuItem

TspSkinMenuItem::TspSkinMenuItem(TspSkinPopupWindow* AParent, TMenuItem* AMenuItem, TspDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
  if (!AData) return;
  ActivePicture = ActivePictureAt(AParent->SD, AData->ActivePictureIndex);
  if (!ActivePicture) {
    AData->SkinRect = TRect();
    AData->ActiveSkinRect = TRect();
  }
}

TspSkinMenuItem::~TspSkinMenuItem() = default;

bool TspSkinMenuItem::IsSeparator() const { return MenuItem->Caption() == u"-"; }

bool TspSkinMenuItem::IsHeader() const {
  const String& C = MenuItem->Caption();
  return !IsSeparator() && !MenuItem->Enabled() && !C.empty() && C.front() == u'-' && C.back() == u'-';
}

void TspSkinMenuItem::SetMorphKf(double Value) { FMorphKf = std::clamp(Value, 0.0, 1.0); }

bool TspSkinMenuItem::EnableAnimation() const {
  return MI && !RectIsEmpty(MI->AnimateSkinRect) && Parent->SD && !Parent->SD->Empty &&
         Parent->SD->EnableSkinEffects();
}

bool TspSkinMenuItem::EnableMorphing() const {
  return MI && MI->Morphing && Parent->SD && Parent->SD->EnableSkinEffects();
}

bool TspSkinMenuItem::CanMorphing() {
  const bool A = Active || Down;
  if (!FVisible) {
    if (FMorphKf != 0) {
      Active = false;
      Down = false;
      FMorphKf = 0;
    }
    return false;
  }
  return (A && FMorphKf < 1) || (!A && FMorphKf > 0);
}

void TspSkinMenuItem::DoMorphing() {
  SetMorphKf((Active || Down) ? FMorphKf + 0.2 : FMorphKf - 0.2);
  Draw(Parent->Canvas());
  // At either end the fade is over: its looks are made again for the next.
  if (FMorphKf == 0 || FMorphKf == 1) {
    FFadeFrom.reset();
    FFadeTo.reset();
  }
}

TRect TspSkinMenuItem::AnimationFrameRect() const {
  // A description without frames animates nothing.
  if (!MI || MI->FrameCount < 1) return TRect();
  const TRect& A = MI->AnimateSkinRect;
  const Integer F = CurrentFrame;
  if (MI->SkinRect.Height() < A.Height()) {
    const Integer H = A.Height() / MI->FrameCount;
    return TRect(A.Left, A.Top + H * (F - 1), A.Right, A.Top + H * F);
  }
  const Integer W = A.Width() / MI->FrameCount;
  return TRect(A.Left + W * (F - 1), A.Top, A.Left + W * F, A.Bottom);
}

void TspSkinMenuItem::DrawCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  for (Integer I = 0; I <= 2; ++I) {
    Canvas->MoveTo(X, Y + 5 - I);
    Canvas->LineTo(X + 2, Y + 7 - I);
    Canvas->LineTo(X + 7, Y + 2 - I);
  }
}

void TspSkinMenuItem::DrawRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->Ellipse(X, Y, X + 6, Y + 6);
}

void TspSkinMenuItem::DrawSubMenuArrow(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  for (Integer I = 0; I <= 3; ++I) {
    Canvas->MoveTo(X + I, Y + I);
    Canvas->LineTo(X + I, Y + 7 - I);
  }
}

void TspSkinMenuItem::DrawSkinPart(TCanvas* Canvas, TRect R, const TRect& Src) {
  if (!ActivePicture || RectIsEmpty(Src)) return;
  TBitmap B;
  B.SetSize(Src.Width(), Src.Height());
  B.Canvas()->CopyRect(TRect(0, 0, B.Width(), B.Height()), ActivePicture->Canvas(), Src);
  B.SetTransparent(true);
  const Integer X = std::max(R.Left, R.Left + R.Width() / 2 - B.Width() / 2);
  const Integer Y = std::max(R.Top, R.Top + R.Height() / 2 - B.Height() / 2);
  Canvas->Draw(X, Y, &B);
}

void TspSkinMenuItem::DrawSkinCheck(TCanvas* Canvas, TRect R, bool AActive) {
  DrawSkinPart(Canvas, R, AActive ? MI->ActiveCheckImageRect : MI->CheckImageRect);
}
void TspSkinMenuItem::DrawSkinRadio(TCanvas* Canvas, TRect R, bool AActive) {
  DrawSkinPart(Canvas, R, AActive ? MI->ActiveRadioImageRect : MI->RadioImageRect);
}
void TspSkinMenuItem::DrawSkinArrow(TCanvas* Canvas, TRect R, bool AActive) {
  DrawSkinPart(Canvas, R, AActive ? MI->ActiveArrowImageRect : MI->ArrowImageRect);
}

void TspSkinMenuItem::DrawHeader(TCanvas* Canvas, TRect R, const String& Caption, bool AResized) {
  TspSkinData* SD = Parent->SD;
  if (!SD) return;
  Integer I = SD->GetControlIndex(u"menuheader");
  if (I == -1) I = SD->GetControlIndex(u"label");
  if (I == -1) return;
  auto* L = dynamic_cast<TspDataSkinLabelControl*>(static_cast<TObject*>(SD->CtrlList->Items(I)));
  if (!L) return;
  TBitmap* Pic = ActivePictureAt(SD, L->PictureIndex);
  if (!Pic) return;
  const String Text = Caption.size() >= 2 ? Caption.substr(1, Caption.size() - 2) : String();
  const TRect& S = L->SkinRect;
  TBitmap B2;
  if (!AResized) {
    CreateHorzThreeSliceImage(L->LTPoint.X, S.Width() - L->RTPoint.X, &B2, Pic, S, R.Width(), S.Height(),
                              L->StretchEffect);
    TFont* F = B2.Canvas()->Font();
    const TFontCharset CS = Canvas->Font()->Charset();
    F->SetColor(L->FontColor);
    F->SetName(L->FontName);
    F->SetHeight(L->FontHeight);
    F->SetCharset(CS);
    B2.Canvas()->Brush()->SetStyle(bsClear);
    TRect TR(0, L->ClRect.Top, B2.Width(), B2.Height());
    if (FontHeightOf(F) % 2 == 1) TR.Top -= 1;
    DrawWideText(B2.Canvas(), Text, TR, kTextFlags);
    Canvas->Draw(R.Left, R.Top + R.Height() / 2 - B2.Height() / 2, &B2);
    return;
  }
  B2.SetSize(R.Width(), R.Height());
  CreateClientStretchImage(&B2, Pic, S, TRect(L->LTPoint.X, S.Height() / 4, L->RTPoint.X, S.Height() - S.Height() / 4),
                           true);
  B2.Canvas()->Font()->Assign(Parent->ParentMenu->DefaultMenuItemFont());
  B2.Canvas()->Font()->SetColor(L->FontColor);
  B2.Canvas()->Brush()->SetStyle(bsClear);
  TRect TR(L->ClRect.Left, L->ClRect.Top, B2.Width() - (S.Width() - L->ClRect.Right),
           B2.Height() - (S.Height() - L->ClRect.Bottom));
  DrawWideText(B2.Canvas(), Text, TR, kTextFlags);
  Canvas->Draw(R.Left, R.Top, &B2);
}

bool TspSkinMenuItem::HasImage() const {
  if (MenuItem->HasBitmap()) return true;
  TCustomImageList* L = Parent->ImgL;
  return L && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < L->Count();
}

void TspSkinMenuItem::CreateItemImage(TBitmap* B, bool AActive, bool AFrame, bool AResized) {
  TspSkinMenu* Menu = Parent->ParentMenu;
  // 1. Source and stretch.
  TRect S = AActive ? MI->ActiveSkinRect : MI->SkinRect;
  bool Stretch = AActive ? MI->StretchEffect
                         : ((!MI->InActiveStretchEffect && AFrame) ? MI->StretchEffect : MI->InActiveStretchEffect);
  if (AFrame) S = AnimationFrameRect();
  const Integer OW = ObjectRect.Width(), OH = ObjectRect.Height();
  // 2. Background.
  if (!AActive && MI->InActiveTransparent && Parent->FPaintBuffer) {
    B->SetSize(OW, AResized ? OH : S.Height());
    B->Canvas()->CopyRect(TRect(0, 0, OW, B->Height()), Parent->FPaintBuffer->Canvas(),
                          TRect(ObjectRect.Left, ObjectRect.Top, ObjectRect.Right, ObjectRect.Top + B->Height()));
  } else if (AResized) {
    B->SetSize(OW, OH);
    if (ActivePicture && !RectIsEmpty(S))
      CreateClientStretchImage(B, ActivePicture, S,
                               TRect(MI->ItemLO, S.Height() / 4, S.Width() - MI->ItemRO, S.Height() - S.Height() / 4),
                               true);
  } else {
    CreateHorzThreeSliceImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, S, OW, S.Height(), Stretch);
    if (B->Width() != OW) B->SetSize(OW, std::max<Integer>(B->Height(), 0));
  }
  if (B->Width() <= 0 || B->Height() <= 0) return;
  TCanvas* C = B->Canvas();
  // 3. Glyph column.
  Integer GW = Parent->ImgL ? Parent->GlyphWidth : 16;
  if (!RectIsEmpty(MI->ImageRct)) GW = 0;
  // 4. Text rect.
  TRect TR = MI->TextRct;
  TR.Right = B->Width() - (MI->SkinRect.Width() - MI->TextRct.Right);
  if (AResized) TR.Bottom = B->Height() - (MI->SkinRect.Height() - MI->TextRct.Bottom);
  // 5. Font.
  C->Brush()->SetStyle(bsClear);
  SetItemFont(C->Font(), Menu, MI, true);
  TColor FC = AActive ? MI->ActiveFontColor : (MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor);
  C->Font()->SetColor(FC);
  // 6. Owner drawing.
  if (MenuItem->OnDrawItem) {
    MenuItem->OnDrawItem(this, C, TR, AActive);
    return;
  }
  // 7. Header.
  if (IsHeader()) {
    DrawHeader(C, TRect(0, 0, B->Width(), B->Height()), MenuItem->Caption(), AResized);
    return;
  }
  // 8, 9. Caption and short-cut.
  DrawItemTexts(C, MenuItem, TR, GW, 16, true);
  // 10. Arrow.
  if (MenuItem->Count() > 0) {
    if (RectIsEmpty(MI->ArrowImageRect))
      DrawSubMenuArrow(C, TR.Right - 7, TR.Height() / 2 + TR.Top - 4, FC);
    else
      DrawSkinArrow(C, TRect(TR.Right - MI->ArrowImageRect.Width() - 5, TR.Top, TR.Right, TR.Bottom), AActive);
  }
  // 11-14. Image or marks.
  if (MI->UseImageColor) FC = AActive ? MI->ActiveImageColor : MI->ImageColor;
  TRect IR = MI->ImageRct;
  const bool HasIR = !RectIsEmpty(IR);
  auto AdjustIR = [&](TRect R) {
    if (AResized && HasIR) R.Bottom = B->Height() - (MI->SkinRect.Height() - MI->ImageRct.Bottom);
    return R;
  };
  if (HasImage()) {
    const bool Bmp = MenuItem->HasBitmap();
    const Integer W = Bmp ? MenuItem->Bitmap()->Width() : Parent->ImgL->Width();
    const Integer H = Bmp ? MenuItem->Bitmap()->Height() : Parent->ImgL->Height();
    const TRect PR = Bmp ? IR : AdjustIR(IR);
    Integer X, Y;
    if (!HasIR) {
      X = TR.Left + 2;
      Y = TR.Height() / 2 + TR.Top - H / 2;
    } else {
      X = PR.Width() / 2 + PR.Left - W / 2;
      Y = PR.Height() / 2 + PR.Top - H / 2;
    }
    if (MenuItem->Checked()) {
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(FC);
      C->Rectangle(X - 1, Y - 1, X + W + 1, Y + H + 1);
    }
    if (Bmp)
      C->Draw(X, Y, MenuItem->Bitmap());
    else
      Parent->ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
    return;
  }
  const TRect PR = AdjustIR(IR);
  const Integer MX = HasIR ? PR.Width() / 2 + PR.Left - 4 : TR.Left + 2;
  const Integer MY = HasIR ? PR.Height() / 2 + PR.Top - 4 : TR.Height() / 2 + TR.Top - 4;
  if (TGlyphProc G = GlyphForName(MenuItem->Name())) {
    G(C, MX, MY, FC);
    return;
  }
  if (!MenuItem->Checked()) return;
  const TRect SkinMarkRect = HasIR ? MI->ImageRct
                                   : TRect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16,
                                           MI->TextRct.Bottom);
  if (MenuItem->RadioItem()) {
    if (RectIsEmpty(MI->RadioImageRect))
      DrawRadioDot(C, MX, MY + 1, FC);
    else
      DrawSkinRadio(C, SkinMarkRect, AActive);
  } else {
    if (RectIsEmpty(MI->CheckImageRect))
      DrawCheckMark(C, MX, MY, FC);
    else
      DrawSkinCheck(C, SkinMarkRect, AActive);
  }
}

bool TspSkinMenuItem::CrossFade(TCanvas* Cnvs, TBitmap* B, bool AResized) {
  const Integer W = ObjectRect.Width(), H = AResized ? ObjectRect.Height() : MI->SkinRect.Height();
  if (!FFadeFrom || FFadeFrom->Width() != W || FFadeFrom->Height() != H) {
    FFadeFrom.reset();
    FFadeTo.reset();
    CreateItemImage(B, false, false, AResized);
    TBitmap B2;
    CreateItemImage(&B2, true, false, AResized);
    if (B->Width() != W || B->Height() != H || B2.Width() != W || B2.Height() != H || W <= 0 || H <= 0)
      return false;
    FFadeFrom.reset(TspEffectBmp::CreateFromhWnd(B->Handle()));
    FFadeTo.reset(TspEffectBmp::CreateFromhWnd(B2.Handle()));
  }
  std::unique_ptr<TspEffectBmp> E(TspEffectBmp::CreateCopy(FFadeFrom.get()));
  TspEffectBmp* To = FFadeTo.get();
  switch (AResized ? mkDefault : MI->MorphKind) {
    case mkGradient: E->MorphGrad(To, FMorphKf); break;
    case mkLeftGradient: E->MorphLeftGrad(To, FMorphKf); break;
    case mkRightGradient: E->MorphRightGrad(To, FMorphKf); break;
    case mkLeftSlide: E->MorphLeftSlide(To, FMorphKf); break;
    case mkRightSlide: E->MorphRightSlide(To, FMorphKf); break;
    case mkPush: E->MorphPush(To, FMorphKf); break;
    default: E->Morph(To, FMorphKf); break;
  }
  E->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
  return true;
}

void TspSkinMenuItem::PutOnParent(TCanvas* Cnvs, TBitmap* B) { Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B); }

void TspSkinMenuItem::Draw(TCanvas* Cnvs) {
  if (!FVisible) return;
  if (!MI) {
    DefaultDraw(Cnvs);
    return;
  }
  if (!Parent->ParentMenu->UseSkinSize()) {
    ResizeDraw(Cnvs);
    return;
  }
  DrawFromSkin(Cnvs, false);
}

void TspSkinMenuItem::ResizeDraw(TCanvas* Cnvs) { DrawFromSkin(Cnvs, true); }

// The skinned item at the skin's own size or resized to the item: the divider,
// an animation frame, the settled look, or a cross-fade step between looks.
void TspSkinMenuItem::DrawFromSkin(TCanvas* Cnvs, bool Resized) {
  const bool A = Active || Down;
  TBitmap& B = *Parent->FItemBuffer;  // one buffer for the level's items
  if (IsSeparator()) {
    CreateHorzThreeSliceImage(MI->DividerLO, MI->DividerRO, &B, ActivePicture, MI->DividerRect, ObjectRect.Width(),
                              MI->DividerRect.Height(), MI->DividerStretchEffect);
  } else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
    CreateItemImage(&B, A, true, Resized);
  } else if (!EnableMorphing() || (A && FMorphKf == 1) || (!A && FMorphKf == 0)) {
    CreateItemImage(&B, A, false, Resized);
  } else if (CrossFade(Cnvs, &B, Resized)) {
    return;
  }
  if (B.Width() > 0 && B.Height() > 0) PutOnParent(Cnvs, &B);
}

void TspSkinMenuItem::DefaultDraw(TCanvas* Cnvs) {
  if (!FVisible) return;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap& B = *Parent->FItemBuffer;  // one buffer for the level's items
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  const Integer GW = Parent->ImgL ? Parent->GlyphWidth : 19;
  SetItemFont(C->Font(), Parent->ParentMenu, nullptr, false);
  const bool Sep = IsSeparator();
  TColor FC;
  if ((Active || Down) && !Sep) {
    C->Pen()->SetColor(TColor(0x800000));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(TColor(0xD2BDB6));
    C->Rectangle(0, 0, W, H);
    FC = clWindowText;
  } else {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, GW, H));
    C->Brush()->SetColor(clWindow);
    C->FillRect(TRect(GW, 0, W, H));
    FC = MenuItem->Enabled() ? clWindowText : clBtnShadow;
  }
  if (Sep) {
    C->Pen()->SetColor(clBtnShadow);
    C->MoveTo(GW, H / 2);
    C->LineTo(W, H / 2);
  } else {
    C->Font()->SetColor(FC);
    C->Brush()->SetStyle(bsClear);
    const TRect TR(2, 2, W - 2, H - 2);
    if (MenuItem->OnDrawItem) {
      MenuItem->OnDrawItem(this, C, TR, Active || Down);
    } else {
      DrawItemTexts(C, MenuItem, TR, GW, 19, false);
      if (MenuItem->Count() > 0) DrawSubMenuArrow(C, TR.Right - 7, TR.Height() / 2 + TR.Top - 4, FC);
      if (HasImage()) {
        const bool Bmp = MenuItem->HasBitmap();
        const Integer IW = Bmp ? MenuItem->Bitmap()->Width() : Parent->ImgL->Width();
        const Integer IH = Bmp ? MenuItem->Bitmap()->Height() : Parent->ImgL->Height();
        const Integer X = TR.Left + 2, Y = TR.Height() / 2 + TR.Top - IH / 2;
        if (MenuItem->Checked()) {
          C->Brush()->SetStyle(bsClear);
          C->Pen()->SetColor(FC);
          C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
        }
        if (Bmp)
          C->Draw(X, Y, MenuItem->Bitmap());
        else
          Parent->ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
      } else if (TGlyphProc G = GlyphForName(MenuItem->Name())) {
        G(C, TR.Left + 2, TR.Height() / 2 + TR.Top - 4, FC);
      } else if (MenuItem->Checked()) {
        if (MenuItem->RadioItem())
          DrawRadioDot(C, TR.Left + 3, TR.Height() / 2 + TR.Top - 3, FC);
        else
          DrawCheckMark(C, TR.Left + 3, TR.Height() / 2 + TR.Top - 4, FC);
      }
    }
  }
  PutOnParent(Cnvs, &B);
}

void TspSkinMenuItem::ReDraw() {
  TTimer* T = Parent->MorphTimer;
  if (MI && EnableAnimation()) {
    if (T->Interval() != Cardinal(MI->AnimateInterval)) T->SetInterval(MI->AnimateInterval);
    if (!MI->InActiveAnimation && !Active) {
      CurrentFrame = 0;
      Draw(Parent->Canvas());
    } else {
      T->SetEnabled(true);
    }
  } else if (MI && EnableMorphing()) {
    if (T->Interval() != 20) T->SetInterval(20);
    T->SetEnabled(true);
  } else {
    Draw(Parent->Canvas());
  }
}

void TspSkinMenuItem::MouseDown() {
  WaitCommand = false;
  if (!Down && MenuItem->Enabled()) Parent->ParentMenu->ItemAction(Parent, this, false, true);
}

void TspSkinMenuItem::MouseEnter(bool Kb) {
  Active = true;
  if (EnableAnimation()) CurrentFrame = 0;
  for (Integer I = 0; I < Parent->ItemCount(); ++I) {
    TspSkinMenuItem* O = Parent->Items(I);
    if (O != this && O->Down) {
      O->Down = false;
      O->ReDraw();
    }
  }
  auto Alive = Parent->LivenessToken();
  TspSkinPopupWindow* Level = Parent;
  TspSkinMenu* Menu = Parent->ParentMenu;
  const String ItemHint = MenuItem->Hint();
  if (WaitCommand && !Kb) {
    ReDraw();
  } else if (Down) {
    const Integer L = Menu->LevelIndex(Parent);
    if (L + 1 < Menu->LevelCount()) Menu->Level(L + 1)->CollapseLevel();
  } else {
    ReDraw();
    Menu->ItemAction(Parent, this, Kb, false);
  }
  // The action may have closed the level.
  if (*Alive && Level->Hint() != ItemHint) Level->SetHint(ItemHint);
}

void TspSkinMenuItem::MouseLeave() {
  WaitCommand = false;
  Active = false;
  if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
  if (!Down) ReDraw();
  TspSkinMenu* Menu = Parent->ParentMenu;
  if (Menu->WItem == this) {
    Menu->WaitTimer->SetEnabled(false);
    Menu->WItem = nullptr;
  }
}

// ---------------------------------------------------------------------------
// TspSkinPopupWindow

TspSkinPopupWindow::TspSkinPopupWindow(TComponent* AOwner, TspSkinMenu* AParentMenu, TspDataSkinPopupWindow* AData,
                                       bool SupportDirectlyMouseUp)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
  FVisible = false;
  FControlStyle |= csAcceptsControls;
  AlphaBlend = AParentMenu->AlphaBlend;
  AlphaBlendValue = AParentMenu->AlphaBlendValue;
  AlphaBlendAnimation = AParentMenu->AlphaBlendAnimation;
  ItemList = new TList();
  FItemBuffer = new TBitmap();
  MouseTimer = new TTimer(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(50);
  MouseTimer->SetOnTimer([this](TObject*) { MouseTimerTick(); });
  MorphTimer = new TTimer(this);
  MorphTimer->SetEnabled(false);
  MorphTimer->SetInterval(20);
  MorphTimer->SetOnTimer([this](TObject*) { MorphTimerTick(); });
  // The skinned look needs the window picture and the item description; a
  // skin that lacks either gets the default look.
  TspSkinData* MenuSD = AParentMenu->SkinData;
  if (AData && AData->WindowPictureIndex != -1 && MenuSD && !MenuSD->Empty) {
    TBitmap* WP = ActivePictureAt(MenuSD, AData->WindowPictureIndex);
    Integer I = MenuSD->GetIndex(u"MENUITEM");
    if (I == -1) I = MenuSD->GetIndex(u"menuitem");
    TspDataSkinMenuItem* D =
        I == -1 ? nullptr : dynamic_cast<TspDataSkinMenuItem*>(static_cast<TObject*>(MenuSD->ObjectList->Items(I)));
    if (WP && D) {
      PW = AData;
      SD = MenuSD;
      WindowPicture = WP;
      MaskPicture = ActivePictureAt(MenuSD, AData->MaskPictureIndex);
    }
  }
  FSupportDirectlyMouseUp = SupportDirectlyMouseUp;
  HandleNeeded();
  if (SupportDirectlyMouseUp) SetCapture(Handle());
}

TspSkinPopupWindow::~TspSkinPopupWindow() {
  if (FSupportDirectlyMouseUp && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  for (Integer I = 0; I < ItemList->Count(); ++I) delete Items(I);
  delete ItemList;
  delete FItemBuffer;
  delete FPaintBuffer;
  if (FRgn) DeleteObject(FRgn);
}

void TspSkinPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.ClassStyle |= CS_SAVEBITS;
  if (IsXPOrLater()) Params.ClassStyle |= CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

void TspSkinPopupWindow::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_MOUSEACTIVATE: M.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND:
      PaintMenu(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_PAINT: {
      PAINTSTRUCT PS;
      BeginPaint(Handle(), &PS);
      EndPaint(Handle(), &PS);
      M.Result = 0;
      return;
    }
    case WM_TIMER:
      TCustomControl::Dispatch(M);
      if (M.WParam == 1) {
        if (ScrollCode == 1) {
          if (CanScroll(1))
            ScrollUp(false);
          else
            StopScroll();
        } else if (ScrollCode == 2) {
          if (CanScroll(2))
            ScrollDown(false);
          else
            StopScroll();
        }
      }
      return;
  }
  TCustomControl::Dispatch(M);
}

TspDataSkinObject* TspSkinPopupWindow::MenuItemObject() const {
  TspSkinData* S = SD;
  if (!S) return nullptr;
  Integer I = S->GetIndex(u"menuitem");
  if (I == -1) I = S->GetIndex(u"MENUITEM");
  return I == -1 ? nullptr : static_cast<TspDataSkinObject*>(S->ObjectList->Items(I));
}

void TspSkinPopupWindow::SetupFont(bool ForTwo) {
  (void)ForTwo;
  // Both ways of building a level end with the text table's charset.
  SetItemFont(Canvas()->Font(), ParentMenu, DSMI, Skinned());
}

Integer TspSkinPopupWindow::ItemHeight() const {
  if (Skinned()) return ParentMenu->UseSkinSize() ? DSMI->SkinRect.Height() : ParentMenu->DefaultMenuItemHeight();
  return ParentMenu->DefaultMenuItemHeight();
}

Integer TspSkinPopupWindow::EntryHeight(TspSkinMenuItem* It) const {
  if (It->IsSeparator()) return DSMI ? DSMI->DividerRect.Height() : 4;
  return DSMI ? ItemHeight() : ParentMenu->DefaultMenuItemHeight();
}

void TspSkinPopupWindow::CreateItems(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex) {
  // 1. The item description and the font.
  DSMI = nullptr;
  if (SD) {
    Integer I = SD->GetIndex(u"MENUITEM");
    if (I == -1) I = SD->GetIndex(u"menuitem");
    if (I != -1) DSMI = dynamic_cast<TspDataSkinMenuItem*>(static_cast<TObject*>(SD->ObjectList->Items(I)));
  }
  SetupFont(AItem2 != nullptr);
  // 2, 3.
  TMenu* PM = AItem->GetParentMenu();
  if (PM && PM->AutoLineReduction() == maAutomatic) AItem->RethinkLines();
  ImgL = PM ? PM->Images() : nullptr;
  GlyphWidth = ImgL ? ImgL->Width() + 5 : 16;
  // 4.
  auto AddFrom = [this](TMenuItem* Src, Integer From) {
    for (Integer I = std::max<Integer>(From, 0); I < Src->Count(); ++I) {
      TMenuItem* M = Src->Items(I);
      if (M->Visible()) ItemList->Add(new TspSkinMenuItem(this, M, DSMI));
    }
  };
  AddFrom(AItem, StartIndex);
  if (AItem2) AddFrom(AItem2, StartIndex - AItem->Count());
  // 5. Size.
  CalcSize();
  const Integer W = Width(), H = Height();
  // 6. Skin geometry.
  if (Skinned()) {
    const Integer PWd = WindowPicture->Width(), PHt = WindowPicture->Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = TPoint(W - (PWd - PW->RTPoint.X), PW->RTPoint.Y);
    NewLBPoint = TPoint(PW->LBPoint.X, H - (PHt - PW->LBPoint.Y));
    NewRBPoint = TPoint(W - (PWd - PW->RBPoint.X), H - (PHt - PW->RBPoint.Y));
    NewItemsRect = TRect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (PWd - PW->ItemsRect.Right),
                         H - (PHt - PW->ItemsRect.Bottom));
  } else {
    NewItemsRect = TRect(3, 3, W - 3, H - 3);
  }
  // 7.
  CalcItemRects();
  // 8. The shape.
  if (Skinned() && MaskPicture) {
    CreateSkinFrameRegion(FRgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                          NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, W, H);
    // The window owns the region from here.
    if (FRgn) {
      SetWindowRgn(Handle(), FRgn, TRUE);
      FRgn = nullptr;
    }
  }
}

void TspSkinPopupWindow::CalcSize() {
  VisibleStartIndex = 0;
  VisibleCount = ItemCount();
  Scroll = Scroll2 = false;
  Integer M = 0;
  for (Integer I = 0; I < ItemCount(); ++I) M = std::max(M, TextWidthOf(Canvas(), ItemText(Items(I)->MenuItem)));
  M += 2;
  Integer W = M + 16 + GlyphWidth;
  Integer MarginV;
  if (Skinned()) {
    const TRect& IR = PW->ItemsRect;
    W += DSMI->TextRct.Left + (DSMI->SkinRect.Width() - DSMI->TextRct.Right) + IR.Left +
         (WindowPicture->Width() - IR.Right);
    MarginV = IR.Top + (WindowPicture->Height() - IR.Bottom);
  } else {
    W += 10;
    MarginV = 6;
  }
  Integer H = MarginV;
  for (Integer I = 0; I < ItemCount(); ++I) H += EntryHeight(Items(I));
  const Integer Max = ParentMenu->MaxMenuItemsInWindow;
  if (Max != 0 && Max < ItemCount()) {
    H = (Skinned() ? ItemHeight() : ParentMenu->DefaultMenuItemHeight()) * Max + MarginV + 20;
    Scroll = Scroll2 = true;
  }
  const TRect& WA = ParentMenu->WorkArea;
  if (H > WA.Height()) {
    H = WA.Height();
    Scroll = true;
  }
  SetBounds(Left(), Top(), W, H);
}

void TspSkinPopupWindow::CalcItemRects() {
  Integer T = NewItemsRect.Top, Limit = NewItemsRect.Bottom;
  if (Scroll) {
    T += 10;
    Limit -= 10;
  }
  VisibleCount = 0;
  for (Integer I = VisibleStartIndex; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    It->ObjectRect = TRect(NewItemsRect.Left, T, NewItemsRect.Right, T + EntryHeight(It));
    if (It->ObjectRect.Bottom > Limit) break;
    It->FVisible = true;
    ++VisibleCount;
    T = It->ObjectRect.Bottom;
  }
  if (Scroll)
    for (Integer I = 0; I < ItemCount(); ++I)
      if (I < VisibleStartIndex || I >= VisibleStartIndex + VisibleCount) Items(I)->FVisible = false;
}

TPoint TspSkinPopupWindow::PlaceLevel(const TRect& WA, const TRect& R, Integer W, Integer H, Integer IT, bool AScroll,
                                      bool AScroll2, bool PopupByItem, bool PopupUp) {
  const Integer Mid = WA.Top + WA.Height() / 2;
  bool Beside = false;
  Integer Y;
  if (AScroll && !AScroll2) {
    Y = WA.Top;
  } else if (PopupByItem) {
    if (R.Top - IT + H <= WA.Bottom)
      Y = R.Top - IT;
    else if (R.Top < Mid)
      Y = WA.Bottom - H;
    else
      Y = std::max(R.Bottom - H + IT, WA.Top);
  } else if (PopupUp) {
    if (R.Top - H >= WA.Top) {
      Y = R.Top - H;
    } else if (R.Top < Mid && R.Bottom + H <= WA.Bottom) {
      Y = R.Bottom;
    } else if (R.Top < Mid) {
      Y = WA.Bottom - H;
      Beside = true;
    } else {
      Y = WA.Top;
      Beside = true;
    }
  } else {
    if (R.Bottom + H <= WA.Bottom) {
      Y = R.Bottom;
    } else if (R.Top < Mid) {
      Y = WA.Bottom - H;
      Beside = true;
    } else if (R.Top - H >= WA.Top) {
      Y = R.Top - H;
    } else {
      Y = WA.Top;
      Beside = true;
    }
  }
  Integer X;
  if (PopupByItem || (AScroll && !AScroll2) || Beside) {
    if (R.Right + W + 1 <= WA.Right)
      X = R.Right + 1;
    else
      X = std::max(R.Left - W - 1, WA.Left);  // a wide level stays on the work area
  } else if (R.Left + W > WA.Right) {
    X = WA.Right - W;
  } else if (R.Left < WA.Left) {
    X = WA.Left;
  } else {
    X = R.Left;
  }
  return TPoint(X, Y);
}

void TspSkinPopupWindow::ShowAt(const TRect& R, bool PopupByItem, bool PopupUp) {
  const TPoint P = PlaceLevel(ParentMenu->WorkArea, R, Width(), Height(), NewItemsRect.Top, Scroll, Scroll2,
                              PopupByItem, PopupUp);
  ShowX = P.X;
  ShowY = P.Y;
  // 4. Cursor.
  if (Skinned() && PW->CursorIndex != -1) SetCursor(TCursor(SD->StartCursorIndex + PW->CursorIndex));
  // 5. Translucency.
  const bool Fade = AlphaBlend && AlphaBlendAnimation && ParentMenu->First();
  if (AlphaBlend) {
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlphaValue(Handle(), Fade ? 0 : AlphaBlendValue);
  }
  // 6. Shown without activation.
  SetBounds(ShowX, ShowY, Width(), Height());
  SetWindowPos(Handle(), HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FVisible = true;
  // 7. Fade-in.
  if (Fade) {
    const Integer Step = std::max(AlphaBlendValue / 15, 1);
    Integer Value = 0;
    DWORD Last = GetTickCount();
    while (Value < AlphaBlendValue) {
      if (GetTickCount() - Last > 5) {
        Value = std::min<Integer>(Value + Step, AlphaBlendValue);
        SetWindowAlphaValue(Handle(), Byte(Value));
        Last = GetTickCount();
      } else {
        Sleep(1);
      }
    }
  }
  // 8.
  MouseTimer->SetEnabled(true);
  ActiveItem = -1;
  for (Integer I = 0; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    if (It->MenuItem->Enabled() && !It->IsSeparator()) {
      It->WaitCommand = true;
      ActiveItem = I;
      It->MouseEnter(true);
      break;
    }
  }
}

void TspSkinPopupWindow::Show(const TRect& R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp) {
  Show2(R, AItem, nullptr, StartIndex, PopupByItem, PopupUp);
}

void TspSkinPopupWindow::Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                               bool PopupByItem, bool PopupUp) {
  auto Alive = LivenessToken();
  if (AlphaBlend && AlphaBlendAnimation && ParentMenu->First()) {
    Application->ProcessMessages();
    if (!*Alive) return;
  }
  CreateItems(AItem, AItem2, StartIndex);
  ShowAt(R, PopupByItem, PopupUp);
}

void TspSkinPopupWindow::HideLevel() {
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  if (HandleAllocated()) {
    KillTimer(Handle(), 1);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    if (FSupportDirectlyMouseUp && GetCapture() == Handle()) ReleaseCapture();
  }
  FVisible = false;
}

void TspSkinPopupWindow::CreateWindowImage(TBitmap* B, bool ADrawCentre) {
  const Integer W = Width(), H = Height();
  if (Skinned()) {
    CreateNineSliceWindowImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                               NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture,
                               TRect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, ADrawCentre,
                               PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch,
                               PW->StretchEffect, PW->StretchType);
    return;
  }
  B->SetSize(W, H);
  TCanvas* C = B->Canvas();
  const Integer G = ImgL ? GlyphWidth + 3 : 22;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, G, H));
  C->Brush()->SetColor(clWindow);
  C->FillRect(TRect(G, 0, W, H));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(TRect(0, 0, W, H));
  C->Brush()->SetColor(clWindow);
  C->FrameRect(TRect(1, 1, W - 1, H - 1));
}

void TspSkinPopupWindow::DrawItemBackground(TCanvas* Cnvs, const TRect& R) {
  TspDataSkinObject* O = MenuItemObject();
  if (!O || R.Width() <= 0 || R.Height() <= 0) return;
  if (DSMI && DSMI->InActiveTransparent && FPaintBuffer) {
    Cnvs->CopyRect(R, FPaintBuffer->Canvas(), R);
    return;
  }
  TBitmap* Pic = ActivePictureAt(SD, O->ActivePictureIndex);
  if (!Pic) return;
  auto* D = dynamic_cast<TspDataSkinMenuItem*>(O);
  TBitmap B;
  CreateHorzThreeSliceImage(D ? D->ItemLO : 0, D ? D->ItemRO : 0, &B, Pic, O->SkinRect, R.Width(),
                            O->SkinRect.Height(), D && D->InActiveStretchEffect);
  if (B.Width() <= 0 || B.Height() <= 0) return;
  Cnvs->CopyRect(TRect(R.Left, R.Top, R.Left + B.Width(), R.Top + std::min(B.Height(), R.Height())), B.Canvas(),
                 TRect(0, 0, B.Width(), std::min(B.Height(), R.Height())));
  for (Integer Y = R.Top + B.Height(); Y < R.Bottom; Y += B.Height())
    Cnvs->CopyRect(TRect(R.Left, Y, R.Left + B.Width(), std::min(Y + B.Height(), R.Bottom)), B.Canvas(),
                   TRect(0, 0, B.Width(), std::min(B.Height(), R.Bottom - Y)));
}

void TspSkinPopupWindow::DrawScrollMarker(TCanvas* Cnvs, bool AUp, bool AActive) {
  TRect R;
  TColor Col;
  if (Skinned()) {
    R = AUp ? TRect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10)
            : TRect(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom);
    DrawItemBackground(Cnvs, R);
    Col = AActive ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
  } else {
    const Integer W = Width(), H = Height();
    R = AUp ? TRect(3, 3, W - 3, 13) : TRect(3, H - 10, W - 3, H - 3);
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(clWindow);
    Cnvs->FillRect(R);
    Col = AActive ? clBtnText : clBtnShadow;
  }
  DrawDirectionArrow(Cnvs, R, Col, AUp ? 3 : 4);
}

void TspSkinPopupWindow::RedrawMarkers() {
  if (!Scroll || !HandleAllocated()) return;
  DrawScrollMarker(Canvas(), true, ScrollCode == 1);
  DrawScrollMarker(Canvas(), false, ScrollCode == 2);
}

void TspSkinPopupWindow::PaintMenu(HDC DC) {
  TBitmap B;
  CreateWindowImage(&B, Scroll);
  if (Skinned() && DSMI && DSMI->InActiveTransparent) {
    delete FPaintBuffer;
    FPaintBuffer = new TBitmap();
    CreateWindowImage(FPaintBuffer, true);
  }
  Integer LastBottom = -1;
  for (Integer I = VisibleStartIndex; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    if (!It->FVisible) continue;
    It->Draw(B.Canvas());
    LastBottom = It->ObjectRect.Bottom;
  }
  if (Scroll) {
    DrawScrollMarker(B.Canvas(), true, ScrollCode == 1);
    DrawScrollMarker(B.Canvas(), false, ScrollCode == 2);
    // No item shown: the gap is the whole items area between the markers.
    if (LastBottom < 0) LastBottom = NewItemsRect.Top + 10;
    if (LastBottom < NewItemsRect.Bottom - 10)
      DrawItemBackground(B.Canvas(), TRect(NewItemsRect.Left, LastBottom, NewItemsRect.Right, NewItemsRect.Bottom - 10));
  }
  BitBlt(DC, 0, 0, B.Width(), B.Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TspSkinPopupWindow::Repaint() {
  if (HandleAllocated()) {
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
  }
}

bool TspSkinPopupWindow::CanScroll(Integer ACode) const {
  if (ACode == 1) return VisibleStartIndex > 0;
  return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
}

Integer TspSkinPopupWindow::WrapStartIndex() const {
  // The space above the down marker, in items-area coordinates.
  Integer Space = NewItemsRect.Bottom - 10 - NewItemsRect.Top;
  Integer Count = 0;
  for (Integer I = ItemCount() - 1; I >= 0; --I) {
    Space -= EntryHeight(Items(I));
    if (Space < 10) break;
    ++Count;
  }
  return ItemCount() - Count;
}

void TspSkinPopupWindow::ScrollUp(bool AWrap) {
  if (VisibleStartIndex > 0)
    --VisibleStartIndex;
  else if (AWrap)
    VisibleStartIndex = WrapStartIndex();
  CalcItemRects();
  Repaint();
}

void TspSkinPopupWindow::ScrollDown(bool AWrap) {
  if (CanScroll(2))
    ++VisibleStartIndex;
  else if (AWrap)
    VisibleStartIndex = 0;
  CalcItemRects();
  Repaint();
}

void TspSkinPopupWindow::StartScroll() {
  ParentMenu->CloseLevels(ParentMenu->LevelIndex(this) + 1);
  SetTimer(Handle(), 1, 100, nullptr);
}

void TspSkinPopupWindow::StopScroll() {
  ScrollCode = 0;
  RedrawMarkers();
  if (HandleAllocated()) KillTimer(Handle(), 1);
}

void TspSkinPopupWindow::MouseTimerTick() {
  POINT P;
  GetCursorPos(&P);
  const POINT Screen = P;
  ::ScreenToClient(Handle(), &P);
  if (P.x != OMX || P.y != OMY) {
    const Integer X = P.x, Y = P.y;
    if (WindowFromPoint(Screen) == Handle()) {
      auto Alive = LivenessToken();
      HoverAt(X, Y);
      if (!*Alive) return;
    } else if (Scroll) {
      ScrollCode = 0;
      RedrawMarkers();
    }
    OMX = X;
    OMY = Y;
  }
}

void TspSkinPopupWindow::HoverAt(Integer X, Integer Y) {
  auto Alive = LivenessToken();
  const TPoint P(X, Y);
  if (Scroll) {
    const TRect Up(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10);
    const TRect Dn(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom);
    if (PointInRect(Up, P) && ScrollCode == 0 && CanScroll(1)) {
      ScrollCode = 1;
      RedrawMarkers();
      StartScroll();
    } else if (PointInRect(Dn, P) && ScrollCode == 0 && CanScroll(2)) {
      ScrollCode = 2;
      RedrawMarkers();
      StartScroll();
    } else if (ScrollCode != 0 && !PointInRect(Up, P) && !PointInRect(Dn, P)) {
      StopScroll();
    }
  }
  if (ItemCount() == 0) return;
  OldActiveItem = ActiveItem;
  for (Integer I = 0; I < ItemCount(); ++I)
    if (Items(I)->FVisible && PointInRect(Items(I)->ObjectRect, P)) {
      ActiveItem = I;
      break;
    }
  if (ActiveItem >= ItemCount()) ActiveItem = -1;
  if (ActiveItem == OldActiveItem) {
    if (ActiveItem != -1) {
      TspSkinMenuItem* It = Items(ActiveItem);
      if (It->WaitCommand) {
        It->WaitCommand = false;
        if (It->MenuItem->Count() > 0) It->MouseEnter(false);
      }
    }
    return;
  }
  if (OldActiveItem != -1) {
    TspSkinMenuItem* O = Items(OldActiveItem);
    if (O->MenuItem->Enabled() && !O->IsSeparator()) O->MouseLeave();
  }
  if (!*Alive || ActiveItem == -1) return;
  TspSkinMenuItem* N = Items(ActiveItem);
  if (N->MenuItem->Enabled() && !N->IsSeparator()) N->MouseEnter(false);
}

bool TspSkinPopupWindow::PointOnItem(Integer X, Integer Y) const {
  for (Integer I = 0; I < ItemCount(); ++I)
    if (Items(I)->FVisible && PointInRect(Items(I)->ObjectRect, TPoint(X, Y))) return true;
  return false;
}

void TspSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  HoverAt(X, Y);
  if (!*Alive) return;
  if (ActiveItem != -1 && Button == mbLeft && PointOnItem(X, Y) && !Items(ActiveItem)->IsSeparator())
    Items(ActiveItem)->MouseDown();
  else if (*Alive)
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TspSkinPopupWindow::SelectByAccelerator(Integer CharCode) {
  for (Integer I = 0; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    if (!IsAccel(Word(CharCode), It->MenuItem->Caption())) continue;
    auto Alive = LivenessToken();
    It->MouseEnter(false);
    if (!*Alive) return true;
    const Integer Old = ActiveItem;
    ActiveItem = I;
    if (Old != -1 && Old != I) Items(Old)->MouseLeave();
    It->MouseDown();
    return true;
  }
  return false;
}

void TspSkinPopupWindow::SelectNextItem() {
  auto LastVisible = [this](Integer I) { return Scroll && ScrollCode == 0 && I == VisibleStartIndex + VisibleCount - 1; };
  if (ActiveItem != -1 && LastVisible(ActiveItem)) ScrollDown(true);
  OldActiveItem = ActiveItem;
  Integer Start = ActiveItem + 1;
  if (ActiveItem == -1 || Start >= ItemCount()) Start = 0;
  for (Integer I = Start; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    if (It->MenuItem->Enabled() && !It->IsSeparator()) {
      ActiveItem = I;
      break;
    }
    if (LastVisible(I)) ScrollDown(true);
  }
  if (ActiveItem == OldActiveItem) return;
  auto Alive = LivenessToken();
  Items(ActiveItem)->MouseEnter(true);
  if (*Alive && OldActiveItem != -1) Items(OldActiveItem)->MouseLeave();
}

void TspSkinPopupWindow::SelectPrevItem() {
  auto FirstVisible = [this](Integer I) { return Scroll && ScrollCode == 0 && I == VisibleStartIndex; };
  if (ActiveItem != -1 && FirstVisible(ActiveItem)) ScrollUp(true);
  OldActiveItem = ActiveItem;
  Integer Start = ActiveItem - 1;
  if (ActiveItem == -1 || Start < 0) Start = ItemCount() - 1;
  for (Integer I = Start; I >= 0; --I) {
    TspSkinMenuItem* It = Items(I);
    if (It->MenuItem->Enabled() && !It->IsSeparator()) {
      ActiveItem = I;
      break;
    }
    if (FirstVisible(I)) ScrollUp(true);
  }
  if (ActiveItem == OldActiveItem) return;
  auto Alive = LivenessToken();
  Items(ActiveItem)->MouseEnter(true);
  if (*Alive && OldActiveItem != -1) Items(OldActiveItem)->MouseLeave();
}

void TspSkinPopupWindow::PopupKeyDown(Integer CharCode) {
  if (!FVisible) return;
  if (SelectByAccelerator(CharCode)) return;
  TspSkinMenu* Menu = ParentMenu;
  switch (CharCode) {
    case VK_RETURN:
      if (ActiveItem != -1) Items(ActiveItem)->MouseDown();
      return;
    case VK_ESCAPE:
    case VK_LEFT: {
      const Integer N = Menu->LevelCount();
      if (N >= 2) {
        TspSkinPopupWindow* P = Menu->Level(N - 2);
        if (P->ActiveItem != -1) {
          P->Items(P->ActiveItem)->Down = false;
          P->Items(P->ActiveItem)->ReDraw();
        }
      } else if (CharCode == VK_LEFT) {
        return;
      }
      Menu->CloseLevels(N - 1);
      return;
    }
    case VK_RIGHT:
      if (ActiveItem != -1 && Items(ActiveItem)->MenuItem->Count() > 0) Items(ActiveItem)->MouseDown();
      return;
    case VK_DOWN: SelectNextItem(); return;
    case VK_UP: SelectPrevItem(); return;
  }
}

void TspSkinPopupWindow::MorphTimerTick() {
  bool Any = false;
  for (Integer I = 0; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    if (It->EnableMorphing() && It->CanMorphing()) {
      It->DoMorphing();
      Any = true;
    } else if (It->EnableAnimation()) {
      if (It->Active && It->CurrentFrame <= It->MI->FrameCount) {
        ++It->CurrentFrame;
        It->Draw(Canvas());
        Any = true;
      } else if (!It->Active && It->CurrentFrame > 0) {
        --It->CurrentFrame;
        It->Draw(Canvas());
        Any = true;
      }
    }
  }
  if (!Any) MorphTimer->SetEnabled(false);
}

void TspSkinPopupWindow::CollapseLevel() {
  const Integer L = ParentMenu->LevelIndex(this);
  if (L + 1 < ParentMenu->LevelCount()) ParentMenu->CloseLevels(L + 1);
  for (Integer I = 0; I < ItemCount(); ++I) {
    TspSkinMenuItem* It = Items(I);
    if (!It->Down) continue;
    It->Down = false;
    if (It->EnableAnimation() && !It->MI->InActiveAnimation) {
      It->CurrentFrame = 0;
      It->Draw(Canvas());
    } else {
      It->ReDraw();
    }
  }
}

// ---------------------------------------------------------------------------
// TspSkinMenu

TspSkinMenu::TspSkinMenu(TComponent* AOwner, TCustomForm* AForm)
    : TComponent(AOwner), FForm(AForm), FDefaultMenuItemFont(new TFont()), FAlive(std::make_shared<bool>(true)) {
  FDefaultMenuItemFont->SetName(u"Arial");
  FDefaultMenuItemFont->SetStyle(0);
  FDefaultMenuItemFont->SetHeight(14);
  WaitTimer = new TTimer(this);
  WaitTimer->SetEnabled(false);
  WaitTimer->SetInterval(500);
  WaitTimer->SetOnTimer([this](TObject*) { WaitTimerTick(); });
  FPopupList = new TList();
}

TspSkinMenu::~TspSkinMenu() {
  CloseLevels(0);
  *FAlive = false;
  delete FPopupList;
  delete FDefaultMenuItemFont;
}

void TspSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == PopupCtrl) PopupCtrl = nullptr;
  if (AComponent == DCtrl) DCtrl = nullptr;
  if (AComponent == SkinData) SkinData = nullptr;
  for (Integer I = FPopupList->Count() - 1; I >= 0; --I)
    if (FPopupList->Items(I) == AComponent) FPopupList->Delete(I);
}


Integer TspSkinMenu::LevelIndex(TspSkinPopupWindow* APopupWindow) const {
  const Integer I = FPopupList->IndexOf(APopupWindow);
  return I == -1 ? FPopupList->Count() : I;
}

void TspSkinMenu::Start(TControl* APopupCtrl, TspSkinData* ASkinData, bool SupportDirectlyMouseUp) {
  FSupportDirectlyMouseUp = SupportDirectlyMouseUp;
  FFirst = !FVisible;
  // The old menu closes first and tells its own control; the new control is
  // recorded afterwards.
  if (FPopupList->Count() > 0) CloseLevels(0);
  PopupCtrl = APopupCtrl;
  if (APopupCtrl) APopupCtrl->FreeNotification(this);
  TRect WA;
  if (FForm && FForm->HandleAllocated())
    GetMonitorArea(FForm->Handle(), true, WA);
  else
    GetScreenArea(true, WA);
  WorkArea = WA;
  SkinData = ASkinData;
  if (ASkinData) ASkinData->FreeNotification(this);
}

void TspSkinMenu::Popup(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R,
                        TMenuItem* AItem, bool PopupUp, bool SupportDirectlyMouseUp) {
  Start(APopupCtrl, ASkinData, SupportDirectlyMouseUp);
  if (AItem && AItem->Count() > 0 && StartIndex < AItem->Count()) {
    FVisible = true;
    OpenLevel(R, AItem, nullptr, StartIndex, false, PopupUp);
    FFirst = false;
  }
}

void TspSkinMenu::Popup2(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R,
                         TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp, bool SupportDirectlyMouseUp) {
  Start(APopupCtrl, ASkinData, SupportDirectlyMouseUp);
  const Integer Total = (AItem ? AItem->Count() : 0) + (AItem2 ? AItem2->Count() : 0);
  if (AItem && AItem->Count() > 0 && StartIndex < Total) {
    FVisible = true;
    OpenLevel(R, AItem, AItem2, StartIndex, false, PopupUp);
    FFirst = false;
  }
}

void TspSkinMenu::OpenLevel(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool ByItem,
                            bool PopupUp) {
  TspDataSkinPopupWindow* D = (SkinData && !SkinData->Empty) ? SkinData->PopupWindow : nullptr;
  auto* L = new TspSkinPopupWindow(this, this, D, FSupportDirectlyMouseUp);
  FPopupList->Add(L);
  L->Show2(R, AItem, AItem2, StartIndex, ByItem, PopupUp);
}

void TspSkinMenu::CloseLevels(Integer AFrom) {
  // A closing level may be running one of its own handlers: it disappears
  // at once and is freed by the application's loop.
  for (Integer I = FPopupList->Count() - 1; I >= std::max<Integer>(AFrom, 0); --I) {
    auto* L = static_cast<TspSkinPopupWindow*>(FPopupList->Items(I));
    FPopupList->Delete(I);
    if (WItem && WItem->Parent == L) {
      WaitTimer->SetEnabled(false);
      WItem = nullptr;
    }
    L->HideLevel();
    if (Application)
      Application->ReleaseObject(L);
    else
      FreeObject(L);
  }
  if (AFrom != 0) return;
  auto Alive = FAlive;
  WaitTimer->SetEnabled(false);
  FVisible = false;
  DCtrl = PopupCtrl;
  if (DCtrl) DCtrl->FreeNotification(this);
  if (TControl* C = PopupCtrl) {
    PopupCtrl = nullptr;
    SendMenuMessage(C, FEM_MENU_CLOSED);
    if (!*Alive) return;
  }
  TNotifyEvent E = std::move(OnMenuClose);
  OnMenuClose = nullptr;
  if (E) E(this);
}

void TspSkinMenu::Hide() {
  auto Alive = FAlive;
  CloseLevels(0);
  if (!*Alive) return;
  WaitTimer->SetEnabled(false);
  WItem = nullptr;
  if (FForm && FForm->HandleAllocated()) SendMessageW(FForm->Handle(), FEM_MENU_CLOSED, 0, 0);
}

void TspSkinMenu::WaitTimerTick() {
  WaitTimer->SetEnabled(false);
  if (TspSkinMenuItem* It = WItem) ItemAction(It->Parent, It, false, true);
}

void TspSkinMenu::ItemAction(TspSkinPopupWindow* APopupWindow, TspSkinMenuItem* AItem, bool Kb, bool Execute) {
  TMenuItem* M = AItem->MenuItem;
  const Integer N = M->Count();
  const Integer L = LevelIndex(APopupWindow);
  if (N == 0 && !Execute) {
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    if (L + 1 < LevelCount()) CloseLevels(L + 1);
    return;
  }
  if (N == 0) {
    // A plain item chosen: everything the command needs is copied before
    // the levels (and with them AItem) go.
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    TMenu* PM = M->GetParentMenu();
    const Word Cmd = M->Command();
    auto Alive = FAlive;
    TComponentWatch Watch(PM);
    Hide();
    if (!*Alive || !Watch.Target) return;
    PM->DispatchCommand(Cmd);
    if (!*Alive) return;
    if (TControl* C = DCtrl) SendMenuMessage(C, FEM_MENU_COMMAND);
    return;
  }
  if (!Execute && !Kb) {
    WaitTimer->SetEnabled(false);
    if (L + 1 < LevelCount()) CloseLevels(L + 1);
    WItem = AItem;
    WaitTimer->SetEnabled(true);
    return;
  }
  if (!Execute) return;
  // A submenu item opened: its own command first (it may fill the submenu).
  auto Alive = FAlive;
  auto LevelAlive = APopupWindow->LivenessToken();
  if (TMenu* PM = M->GetParentMenu()) PM->DispatchCommand(M->Command());
  if (!*Alive || !*LevelAlive || LevelIndex(APopupWindow) >= LevelCount()) return;
  WaitTimer->SetEnabled(false);
  WItem = nullptr;
  AItem->Down = true;
  TRect R = AItem->ObjectRect;
  R.Left += APopupWindow->Left();
  R.Right += APopupWindow->Left();
  R.Top += APopupWindow->Top();
  R.Bottom += APopupWindow->Top();
  if (M->Count() > 0) OpenLevel(R, M, nullptr, 0, true, false);
}
