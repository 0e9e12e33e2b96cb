// The skinned edit: its frame in the non-client area, the text area painted
// in the erase step, hover, focus and the edit button.
#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "rtl/ScopeGuard.h"
#include "skin/boxes/win/SkinEdit.h"
#include "skin/controls/win/SkinButtons.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinResStr.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"
#include "skin/data/win/SkinModel.h"

namespace {

constexpr UINT_PTR HoverTimer = 1;
constexpr UINT HoverPoll = 100;
// Hit codes of the left and right images.
constexpr LRESULT HitLeftImage = 104, HitRightImage = 105;

TBitmap* ActivePicture(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

}  // namespace

Integer FontCellHeight(TFont* F) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, F->Handle());
  TEXTMETRICW TM{};
  GetTextMetricsW(DC, &TM);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return TM.tmHeight;
}

TspDataSkinButtonControl* SkinButtonDescription(TspSkinData* SD, std::initializer_list<const char16_t*> Order) {
  if (!SD || SD->Empty) return nullptr;
  for (const char16_t* N : Order) {
    const Integer I = SD->GetControlIndex(N);
    if (I >= 0 && I < SD->CtrlList->Count())
      return dynamic_cast<TspDataSkinButtonControl*>(static_cast<TspDataSkinControl*>(SD->CtrlList->Items(I)));
  }
  return nullptr;
}

void PaintChildInto(HDC DC, TWinControl* Child) {
  if (!DC || !Child || !Child->HandleAllocated()) return;
  const int Saved = SaveDC(DC);
  TFinally Restore([&] { RestoreDC(DC, Saved); });
  OffsetViewportOrgEx(DC, Child->Left(), Child->Top(), nullptr);
  IntersectClipRect(DC, 0, 0, Child->Width(), Child->Height());
  SendMessageW(Child->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}

// Draws a button description's look stretched to R (nine slices at its
// split points), used by the edits' buttons in the stretched frame.
void DrawSkinButtonPiece(TCanvas* C, const TRect& R, TspSkinData* SD, TspDataSkinButtonControl* D, bool Down,
                         bool Active) {
  const Integer W = R.Width(), H = R.Height();
  if (W <= 0 || H <= 0 || !D) return;
  const TRect A = IsSkinRectEmpty(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  const TRect P = IsSkinRectEmpty(D->DownSkinRect) ? A : D->DownSkinRect;
  const TRect Src = Down && Active ? P : Active ? A : D->SkinRect;
  TspSkinGeometry G;
  G.LTPt = D->LTPoint;
  G.RTPt = D->RTPoint;
  G.LBPt = D->LBPoint;
  G.RBPt = D->RBPoint;
  G.SkinRect = D->SkinRect;
  G.ClRect = D->ClRect;
  G.LeftStretch = D->LeftStretch;
  G.TopStretch = D->TopStretch;
  G.RightStretch = D->RightStretch;
  G.BottomStretch = D->BottomStretch;
  G.StretchEffect = D->StretchEffect;
  G.StretchType = D->StretchType;
  DrawToolFacePiece(C, R.Left, R.Top, W, H, tfsNineSlice, G, ActivePicture(SD, D->PictureIndex), Src);
}

// ---------------------------------------------------------------------------

TspSkinCustomEdit::TspSkinCustomEdit(TComponent* AOwner) : TspCustomEdit(AOwner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetAutoSize(false);
  FEditTransparent = true;
  Font()->SetName(u"Arial");
  Font()->SetHeight(14);
  Font()->SetStyle(0);
  Font()->SetColor(clBlack);
  FDefaultFont = new TFont();
  FDefaultFont->Assign(Font());
  FDefaultFont->SetOnChange([this](TObject*) {
    if (!Skinned()) AssignFont(Font(), FDefaultFont);
  });
  SetBounds(Left(), Top(), Width(), 20);
}

TspSkinCustomEdit::~TspSkinCustomEdit() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  delete FDefaultFont;
}

// ---------------------------------------------------------------------------
// The description

void TspSkinCustomEdit::GetSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinEditControl*>(static_cast<TspDataSkinControl*>(FSD->CtrlList->Items(FIndex)));
  if (!D) {
    // A description of another kind under the name counts as none.
    FIndex = -1;
    Picture = nullptr;
    return;
  }
  Picture = ActivePicture(FSD, D->PictureIndex);
  SkinRect = D->SkinRect;
  ActiveSkinRect = IsSkinRectEmpty(D->ActiveSkinRect) ? SkinRect : D->ActiveSkinRect;
  LOffset = D->LTPoint.X;
  ROffset = SkinRect.Width() - D->RTPoint.X;
  ClRect = D->ClRect;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  DisabledFontColor = D->DisabledFontColor;
  ActiveFontColor = D->ActiveFontColor;
  ButtonRect = D->ButtonRect;
  ActiveButtonRect = D->ActiveButtonRect;
  DownButtonRect = IsSkinRectEmpty(D->DownButtonRect) ? ActiveButtonRect : D->DownButtonRect;
  UnEnabledButtonRect = D->UnEnabledButtonRect;
  StretchEffect = D->StretchEffect;
}

void TspSkinCustomEdit::SetSkinData(TspSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TspCustomEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FImages) FImages = nullptr;
}

void TspSkinCustomEdit::Loaded() {
  TspCustomEdit::Loaded();
  if (FSD && FSD->ResourceStrData()) Font()->SetCharset(FSD->ResourceStrData()->CharSet());
}

void TspSkinCustomEdit::CreateParams(TCreateParams& P) {
  TspCustomEdit::CreateParams(P);
  P.ExStyle &= ~static_cast<DWORD>(WS_EX_TRANSPARENT);
  P.Style &= ~static_cast<DWORD>(WS_BORDER);
  P.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
}

// ---------------------------------------------------------------------------
// Geometry

void TspSkinCustomEdit::CalcRects() {
  const Integer W = Width(), H = Height();
  if (!Skinned()) {
    if (FButtonMode) {
      FButtonRect = TRect(W - H, 0, W, H);
      FEditRect = TRect(2, 2, FButtonRect.Left - 2, H - 2);
    } else {
      FButtonRect = TRect();
      FEditRect = TRect(2, 2, W - 2, H - 2);
    }
    return;
  }
  const Integer DW = W - SkinRect.Width();
  FEditRect = ClRect;
  FEditRect.Right += DW;
  FButtonRect = ButtonRect;
  if (ButtonRect.Left >= SkinRect.Width() - ROffset) {
    FButtonRect.Left += DW;
    FButtonRect.Right += DW;
  }
  if (!FUseSkinFont) {
    const Integer DH = H - SkinRect.Height();
    FEditRect.Bottom += DH;
    FButtonRect.Bottom += DH;
  }
}

Integer TspSkinCustomEdit::FittedHeight() {
  const Integer FH = FontCellHeight(Font());
  if (!Skinned()) {
    if (FImages && FImages->Height() > FH + 2) return FImages->Height();
    return FH + 6;
  }
  return std::max(FH, FImages ? FImages->Height() : 0) + SkinRect.Height() - ClRect.Height();
}

void TspSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Default = !Skinned();
  const TAlign A = Align();
  if (Default && A != alClient && A != alLeft && A != alRight) {
    AHeight = FittedHeight();
  } else if ((AWidth != Width() || AHeight != Height()) && !(Default && FUseSkinFont)) {
    if (!Default && FUseSkinFont)
      AHeight = SkinRect.Height();
    else if (!FUseSkinFont)
      AHeight = FittedHeight();
  }
  TspCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
  RepaintFrame();
}

void TspSkinCustomEdit::CalcImageRects(bool SetFormatting) {
  if (!FImages) return;
  TRect R;
  if (HandleAllocated()) {
    RECT C{};
    GetClientRect(Handle(), &C);
    R = TRect(C.left, C.top, C.right, C.bottom);
  }
  LeftButton.R = TRect();
  RightButton.R = TRect();
  if (FLeftImageIndex >= 0) {
    LeftButton.R = TRect(R.Left, R.Top, R.Left + FImages->Width(), R.Bottom);
    R.Left += FImages->Width() + 2;
  }
  if (FRightImageIndex >= 0) {
    RightButton.R = TRect(R.Right - FImages->Width(), R.Top, R.Right, R.Bottom);
    R.Right -= FImages->Width() + 2;
  }
  if (SetFormatting && HandleAllocated()) {
    RECT F{R.Left, R.Top, R.Right, R.Bottom};
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&F));
  }
}

// ---------------------------------------------------------------------------
// Properties

void TspSkinCustomEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  GetSkinData();
  if (!Skinned()) Invalidate();
}

void TspSkinCustomEdit::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  GetSkinData();
  if (!Skinned()) AssignFont(Font(), FDefaultFont);
}

void TspSkinCustomEdit::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  GetSkinData();
  if (!Skinned() && Value > 0) SetWidth(Value);
}

void TspSkinCustomEdit::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  GetSkinData();
  if (!Skinned() && FUseSkinFont && Value > 0)
    SetHeight(Value);
  else
    SetHeight(FittedHeight());
}

void TspSkinCustomEdit::SetButtonMode(bool Value) {
  FButtonMode = Value;
  const TComponentState S = ComponentState();
  if (S.Contains(csDesigning) && !S.Contains(csLoading)) FSkinDataName = Value ? u"buttonedit" : u"edit";
  RecreateWnd();
}

void TspSkinCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TspSkinCustomEdit::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  RepaintFrame();
  Invalidate();
}

void TspSkinCustomEdit::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  if (!FAlphaBlend) return;
  RepaintFrame();
  Invalidate();
}

void TspSkinCustomEdit::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  CalcImageRects(true);
  GetSkinData();
  if (!(Skinned() && FUseSkinFont)) SetHeight(FittedHeight());
}

void TspSkinCustomEdit::SetLeftImageIndex(Integer Value) {
  FLeftImageIndex = Value;
  CalcImageRects(true);
}

void TspSkinCustomEdit::SetRightImageIndex(Integer Value) {
  FRightImageIndex = Value;
  CalcImageRects(true);
}

void TspSkinCustomEdit::SetButtonImageIndex(Integer Value) {
  if (FButtonImageIndex == Value) return;
  FButtonImageIndex = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TspSkinCustomEdit::Invalidate() {
  if (!Parent() || !HandleAllocated()) return;
  FStopDraw = false;
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

void TspSkinCustomEdit::RepaintFrame() {
  if (Parent() && HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 0, 0);
}

bool TspSkinCustomEdit::Focused() { return HandleAllocated() && GetFocus() == Handle(); }

void TspSkinCustomEdit::DrawButtonGlyph(TCanvas* C, const TRect& R) {
  if (!FImages || FButtonImageIndex < 0 || FButtonImageIndex >= FImages->Count()) return;
  FImages->Draw(C, R.Left + R.Width() / 2 - FImages->Width() / 2, R.Top + R.Height() / 2 - FImages->Height() / 2,
                FButtonImageIndex, Enabled());
}

void TspSkinCustomEdit::PlainFrame(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  if (!Skinned()) {
    const Integer Btn = FButtonMode ? W - FButtonRect.Left : 0;
    TRect R(0, 0, W - Btn, H);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(R);
    R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    C->Brush()->SetColor(clBtnFace);
    C->FrameRect(R);
    if (FButtonMode) {
      if (FButtonDown && FButtonActive)
        FillFramedRect(C, FButtonRect, DefaultHotFrame, DefaultDownFace);
      else if (FButtonActive)
        FillFramedRect(C, FButtonRect, DefaultHotFrame, DefaultHotFace);
      else
        FillFramedRect(C, FButtonRect, clBtnShadow, clBtnFace);
      DrawButtonGlyph(C, FButtonRect);
    }
    return;
  }
  if (!Picture) return;
  const TRect Src = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
  CreateHorzThreeSliceImage(LOffset, ROffset, B, Picture, Src, W, H, StretchEffect);
  if (FButtonMode) {
    const TRect* S = nullptr;
    if (!Enabled() && !IsSkinRectEmpty(UnEnabledButtonRect))
      S = &UnEnabledButtonRect;
    else if (FButtonDown && FButtonActive)
      S = &DownButtonRect;
    else if (FButtonActive)
      S = &ActiveButtonRect;
    if (S && !IsSkinRectEmpty(*S)) C->CopyRect(FButtonRect, Picture->Canvas(), *S);
    DrawButtonGlyph(C, FButtonRect);
  }
}

void TspSkinCustomEdit::StretchedFrame(TBitmap* B) {
  if (!Picture) return;
  const TRect Src = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
  CreateClientStretchImage(B, Picture, Src, ClRect, false);
  if (!FButtonMode) return;
  TspDataSkinButtonControl* D = EditButtonDescription(FSD);
  if (!D || FButtonRect.Width() <= 0 || FButtonRect.Height() <= 0) return;
  auto Btn = NewSkinBitmap(FButtonRect.Width(), FButtonRect.Height());
  DrawSkinButtonPiece(Btn->Canvas(), TRect(0, 0, FButtonRect.Width(), FButtonRect.Height()), FSD, D, FButtonDown,
                      FButtonActive);
  DrawButtonGlyph(Btn->Canvas(), TRect(0, 0, FButtonRect.Width(), FButtonRect.Height()));
  B->Canvas()->Draw(FButtonRect.Left, FButtonRect.Top, Btn.get());
}

void TspSkinCustomEdit::PaintFrame(HDC DC, bool ClipText) {
  GetSkinData();
  CalcRects();
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  const int Saved = SaveDC(DC);
  TFinally Restore([&] { RestoreDC(DC, Saved); });
  if (ClipText) ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
  auto B = NewSkinBitmap(W, H);
  if (FUseSkinFont || !Skinned())
    PlainFrame(B.get());
  else
    StretchedFrame(B.get());
  TCanvas C;
  C.SetHandle(DC);
  DrawSkinImage(this, &C, B.get(), FAlphaBlend, FAlphaBlendValue);
  C.SetHandle(nullptr);
}

void TspSkinCustomEdit::DrawImages(TCanvas* C) {
  if (!FImages) return;
  CalcImageRects(false);
  auto DrawSide = [&](const TspCBButtonX& B, Integer Normal, Integer Hot, Integer Down) {
    const Integer N = FImages->Count();
    if (Normal < 0 || Normal >= N) return;
    const TRect& R = B.R;
    const Integer X = R.Left;
    const Integer Y = std::max(R.Top, R.Top + R.Height() / 2 - FImages->Height() / 2);
    Integer I = Normal;
    if (B.Down && B.MouseIn && Down >= 0 && Down < N)
      I = Down;
    else if (B.MouseIn && Hot >= 0 && Hot < N)
      I = Hot;
    FImages->Draw(C, X, Y, I, Enabled());
  };
  DrawSide(LeftButton, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex);
  DrawSide(RightButton, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex);
}

void TspSkinCustomEdit::PaintTextArea(HDC DC) {
  GetSkinData();
  CalcRects();
  const Integer W = FEditRect.Width(), H = FEditRect.Height();
  TCanvas C;
  C.SetHandle(DC);
  TFinally Release([&] { C.SetHandle(nullptr); });
  if (W >= 1 && H >= 1) {
    auto B = NewSkinBitmap(W, H);
    if (!Skinned()) {
      B->Canvas()->Brush()->SetStyle(bsSolid);
      B->Canvas()->Brush()->SetColor(FDefaultColor);
      B->Canvas()->FillRect(TRect(0, 0, W, H));
    } else if (Picture) {
      const TRect Look = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
      const TRect Src(ClRect.Left + Look.Left, ClRect.Top + Look.Top, ClRect.Right + Look.Left,
                      ClRect.Bottom + Look.Top);
      const Integer LFix = std::max(0, LOffset - ClRect.Left);
      const Integer RFix = std::max(0, ClRect.Right + ROffset - SkinRect.Width());
      if (FUseSkinFont) {
        CreateHorzThreeSliceImage(LFix, RFix, B.get(), Picture, Src, W, ClRect.Height(), StretchEffect);
      } else {
        auto Strip = NewSkinBitmap(W, std::max<Integer>(1, ClRect.Height()));
        CreateHorzThreeSliceImage(LFix, RFix, Strip.get(), Picture, Src, W, ClRect.Height(), StretchEffect);
        B->Canvas()->StretchDraw(TRect(0, 0, W, H), Strip.get());
      }
    }
    if (FAlphaBlend) {
      // Cross-faded with what lies under the text area.
      auto Full = NewSkinBitmap(Width(), Height());
      Full->Canvas()->Draw(FEditRect.Left, FEditRect.Top, B.get());
      auto Out = NewSkinBitmap(Width(), Height());
      DrawSkinImage(this, Out->Canvas(), Full.get(), true, FAlphaBlendValue);
      BitBlt(DC, 0, 0, W, H, Out->Canvas()->Handle(), FEditRect.Left, FEditRect.Top, SRCCOPY);
    } else {
      BitBlt(DC, 0, 0, W, H, B->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
  }
  DrawImages(&C);
}

// ---------------------------------------------------------------------------
// Mouse, hover and focus

void TspSkinCustomEdit::MouseEnters() {
  auto Alive = LivenessToken();
  FMouseIn = true;
  GetSkinData();
  if (Skinned() && !Focused()) {
    Font()->SetColor(ActiveFontColor);
    if (FImages) CalcImageRects(true);
    RepaintFrame();
    Invalidate();
  }
  if (OnMouseEnter) OnMouseEnter(this);
  if (!*Alive) return;
  // Every entry starts the poll that notices the leave, so that enter and
  // leave always pair up (also without a hover look).
  if (HandleAllocated()) {
    KillTimer(Handle(), HoverTimer);
    SetTimer(Handle(), HoverTimer, HoverPoll, nullptr);
  }
}

void TspSkinCustomEdit::MouseLeaves() {
  FMouseIn = false;
  GetSkinData();
  if (Skinned() && !Focused()) {
    Font()->SetColor(FontColor);
    if (FImages) CalcImageRects(true);
    RepaintFrame();
    Invalidate();
  }
  if (FButtonDown || FButtonActive) {
    FButtonDown = FButtonActive = false;
    RepaintFrame();
    Invalidate();
  }
  if (FImages) {
    for (TspCBButtonX* B : {&LeftButton, &RightButton})
      if (B->MouseIn) {
        B->MouseIn = false;
        Invalidate();
      }
  }
  if (OnMouseLeave) OnMouseLeave(this);
}

void TspSkinCustomEdit::ApplyEnabledColor() {
  GetSkinData();
  if (Enabled())
    Font()->SetColor(!Skinned() ? FDefaultFont->Color() : (Focused() || FMouseIn) ? ActiveFontColor : FontColor);
  else
    Font()->SetColor(!Skinned() ? clGrayText : DisabledFontColor);
}

void TspSkinCustomEdit::ChangeSkinData() {
  GetSkinData();
  if (!Skinned()) {
    AssignFont(Font(), FDefaultFont);
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else if (FUseSkinFont) {
    Font()->SetName(FontName);
    Font()->SetStyle(FontStyle);
    SetHeight(SkinRect.Height());
    Font()->SetHeight(FontHeight);
    Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
  } else {
    AssignFont(Font(), FDefaultFont);
    Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
  }
  Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont));
  RecreateWnd();
  ApplyEnabledColor();
  if (!FUseSkinFont) SetHeight(FittedHeight());
  if (FImages) {
    CalcImageRects(true);
    Invalidate();
  }
}

// ---------------------------------------------------------------------------

void TspSkinCustomEdit::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  const bool Designing = ComponentState().Contains(csDesigning);
  switch (M.Msg) {
    case WM_NCCALCSIZE: {
      GetSkinData();
      auto* R = reinterpret_cast<RECT*>(M.LParam);  // the first rect of either form
      if (!Skinned()) {
        R->left += 2;
        R->top += 2;
        R->bottom -= 2;
        R->right -= FButtonMode ? Height() + 2 : 2;
      } else {
        R->left += ClRect.Left;
        R->top += ClRect.Top;
        R->right -= SkinRect.Width() - ClRect.Right;
        R->bottom -= SkinRect.Height() - ClRect.Bottom;
      }
      if (R->right < R->left) R->right = R->left;
      if (R->bottom < R->top) R->bottom = R->top;
      M.Result = 0;
      return;
    }
    case WM_NCPAINT: {
      if (!HandleAllocated()) return;
      HDC DC = GetWindowDC(Handle());
      {
        TFinally Release([&] { ReleaseDC(Handle(), DC); });
        PaintFrame(DC, true);
      }
      Invalidate();
      M.Result = 0;
      return;
    }
    case FEM_PAINT_FRAME:
      if (M.WParam) {
        PaintFrame(reinterpret_cast<HDC>(M.WParam), false);
        M.Result = SP_FRAME_PAINTED;
        return;
      }
      break;
    case FEM_PAINT_FRAME_EX:
      if (M.LParam == SP_PAINT_EX_MAGIC) {
        if (M.WParam) PaintFrame(reinterpret_cast<HDC>(M.WParam), true);
        M.Result = SP_PAINT_EX_MAGIC;
        return;
      }
      break;
    case WM_ERASEBKGND: {
      HDC DC = reinterpret_cast<HDC>(M.WParam);
      if (Designing) {
        TspCustomEdit::Dispatch(M);
        TCanvas C;
        C.SetHandle(DC);
        DrawImages(&C);
        C.SetHandle(nullptr);
        return;
      }
      PaintTextArea(DC);
      // The background just painted covers any text an earlier erase drew
      // (one sent when the window was shown, outside a paint cycle, leaves
      // the stop on): the text goes on it again.
      FStopDraw = false;
      FFromWMErase = true;
      SendMessageW(Handle(), WM_PAINT, M.WParam, 0);
      if (!*Alive) return;
      FStopDraw = true;
      FFromWMErase = false;
      if (Focused()) ShowCaret(Handle());
      M.Result = 1;
      return;
    }
    case WM_PAINT: {
      if (Designing) break;
      if (FStopDraw || !FFromWMErase) {
        if (!M.WParam) {
          PAINTSTRUCT PS;
          BeginPaint(Handle(), &PS);
          EndPaint(Handle(), &PS);
        }
        FStopDraw = false;
        M.Result = 0;
        return;
      }
      if (Enabled()) {
        FStopDraw = true;
        DefaultHandler(M);
        if (*Alive) FStopDraw = false;
        return;
      }
      // Disabled: the text drawn here, in the disabled colour.
      PAINTSTRUCT PS{};
      HDC DC = reinterpret_cast<HDC>(M.WParam);
      const bool Own = !DC;
      if (Own) DC = BeginPaint(Handle(), &PS);
      {
        TFinally Done([&] {
          if (Own) EndPaint(Handle(), &PS);
        });
        GetSkinData();
        CalcRects();
        TCanvas C;
        C.SetHandle(DC);
        TFont* F = C.Font();
        if (Skinned() && FUseSkinFont) {
          F->SetName(FontName);
          F->SetHeight(FontHeight);
          F->SetStyle(FontStyle);
          F->SetColor(DisabledFontColor);
        } else {
          F->Assign(FDefaultFont);
          F->SetColor(Skinned() ? DisabledFontColor : clGrayText);
        }
        F->SetCharset(SkinTextCharset(FSD, FDefaultFont));
        const TRect R(0, 0, FEditRect.Width(), FEditRect.Height());
        const String T = PasswordChar() ? String(Text().size(), PasswordChar()) : Text();
        const Integer TW = C.TextWidth(T);
        const Integer X = FAlignment == taRightJustify ? R.Right - 1 - TW
                          : FAlignment == taCenter     ? R.Width() / 2 - TW / 2
                                                       : 2;
        C.Brush()->SetStyle(bsClear);
        C.TextRect(R, X, 0, T);
        C.SetHandle(nullptr);
      }
      M.Result = 0;
      return;
    }
    case WM_NCHITTEST: {
      if (Designing) break;
      if (!FMouseIn) MouseEnters();
      if (!*Alive) return;
      POINT P{static_cast<short>(LOWORD(M.LParam)), static_cast<short>(HIWORD(M.LParam))};
      ::ScreenToClient(Handle(), &P);
      if (FImages) {
        CalcImageRects(false);
        const TPoint CP(P.x, P.y);
        auto Hit = [&](TspCBButtonX& B, TspCBButtonX& Other, Integer Index, LRESULT Code) {
          if (Index < 0 || !PointInRect(B.R, CP)) return false;
          if (!B.MouseIn) {
            B.MouseIn = true;
            Invalidate();
          }
          if (Other.MouseIn) {
            Other.MouseIn = false;
            Invalidate();
          }
          M.Result = Code;
          return true;
        };
        if (Hit(LeftButton, RightButton, FLeftImageIndex, HitLeftImage)) return;
        if (Hit(RightButton, LeftButton, FRightImageIndex, HitRightImage)) return;
        for (TspCBButtonX* B : {&LeftButton, &RightButton})
          if (B->MouseIn) {
            B->MouseIn = false;
            Invalidate();
          }
      }
      if (FButtonMode) {
        GetSkinData();
        const TPoint Off = Skinned() ? TPoint(ClRect.Left, ClRect.Top) : TPoint(2, 2);
        const TPoint WP(P.x + Off.X, P.y + Off.Y);
        CalcRects();
        if (PointInRect(FButtonRect, WP)) {
          M.Result = HTHSCROLL;
          return;
        }
        if (!PointInRect(FEditRect, WP)) {
          M.Result = HTVSCROLL;
          return;
        }
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (Designing) break;
      const bool Dbl = M.Msg == WM_NCLBUTTONDBLCLK;
      if (FImages && (M.WParam == static_cast<WPARAM>(HitLeftImage) || M.WParam == static_cast<WPARAM>(HitRightImage))) {
        TspCBButtonX& B = M.WParam == static_cast<WPARAM>(HitLeftImage) ? LeftButton : RightButton;
        B.Down = true;
        if (!Focused()) SetFocus();
        if (!*Alive) return;
        if (Dbl)
          Repaint();
        else
          Invalidate();
        M.Result = 0;
        return;
      }
      if (FButtonMode && M.WParam == HTHSCROLL) {
        FButtonDown = true;
        RepaintFrame();
        M.Result = 0;
        return;
      }
      // The frame of a button-mode edit is no scroll bar: without default
      // handling no scroll tracking loop starts for it.
      if (FButtonMode && M.WParam == HTVSCROLL) {
        M.Result = 0;
        return;
      }
      if (Dbl) {
        DefaultHandler(M);
        return;
      }
      break;
    }
    case WM_NCLBUTTONUP: {
      if (Designing) break;
      if (FImages && M.WParam == static_cast<WPARAM>(HitLeftImage) && LeftButton.Down) {
        LeftButton.Down = false;
        Invalidate();
        if (OnLeftButtonClick) OnLeftButtonClick(this);
        return;
      }
      if (FImages && M.WParam == static_cast<WPARAM>(HitRightImage) && RightButton.Down) {
        RightButton.Down = false;
        Invalidate();
        if (OnRightButtonClick) OnRightButtonClick(this);
        return;
      }
      if (FButtonMode && M.WParam == HTHSCROLL) {
        // Only a press that began on the button clicks it.
        if (!FButtonDown) return;
        FButtonDown = false;
        RepaintFrame();
        if (!Focused()) SetFocus();
        if (!*Alive) return;
        if (OnButtonClick) OnButtonClick(this);
        return;
      }
      DefaultHandler(M);
      return;
    }
    case WM_NCMOUSEMOVE:
      if (Designing || !FButtonMode) {
        DefaultHandler(M);
        return;
      }
      if (M.WParam == HTHSCROLL) {
        if (!FButtonActive) {
          FButtonActive = true;
          RepaintFrame();
          Invalidate();
        }
        return;
      }
      if (FButtonActive) {
        FButtonActive = false;
        RepaintFrame();
        Invalidate();
      }
      DefaultHandler(M);
      return;
    case WM_MOUSEMOVE:
      TspCustomEdit::Dispatch(M);
      if (*Alive && FButtonMode && FButtonActive) {
        FButtonActive = false;
        RepaintFrame();
      }
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // The edit follows the mouse itself (hit test and poll).
      return;
    case WM_TIMER:
      DefaultHandler(M);
      if (*Alive && M.WParam == HoverTimer) {
        POINT P{};
        GetCursorPos(&P);
        if (WindowFromPoint(P) != Handle()) {
          KillTimer(Handle(), HoverTimer);
          MouseLeaves();
        }
      }
      return;
    case WM_DESTROY:
      KillTimer(Handle(), HoverTimer);
      FMouseIn = false;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TspCustomEdit::Dispatch(M);
      if (!*Alive) return;
      RepaintFrame();
      Invalidate();
      GetSkinData();
      if (Skinned() && !FMouseIn) Font()->SetColor(M.Msg == WM_SETFOCUS ? ActiveFontColor : FontColor);
      if (FImages) CalcImageRects(true);
      return;
    }
    case CM_ENABLEDCHANGED:
      TspCustomEdit::Dispatch(M);
      if (!*Alive) return;
      ApplyEnabledColor();
      Invalidate();
      return;
    case CM_FONTCHANGED:
      TspCustomEdit::Dispatch(M);
      if (!*Alive) return;
      if (!FUseSkinFont && !(Designing && ComponentState().Contains(csLoading))) SetHeight(FittedHeight());
      return;
    case WM_SIZE:
      TspCustomEdit::Dispatch(M);
      if (!*Alive) return;
      CalcImageRects(true);
      RepaintFrame();
      return;
    case WM_SETFONT:
      // A new font resets the EDIT's formatting rect: the images keep their room.
      TspCustomEdit::Dispatch(M);
      if (*Alive && FImages) CalcImageRects(true);
      return;
  }
  TspCustomEdit::Dispatch(M);
}
