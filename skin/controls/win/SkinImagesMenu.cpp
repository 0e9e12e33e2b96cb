// The picture-grid menu's popup: layout, placement, painting, keys, pointer
// and closing.
#include <algorithm>

#include "classlib/Forms.h"
#include "rtl/CallbackGuard.h"
#include "skin/controls/win/SkinHint.h"
#include "skin/controls/win/SkinMenus.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"

namespace {

// Posted to the grid by the sent-message hook: close without a choice.
constexpr UINT kCloseGrid = WM_APP + 0x321;

TspSkinImagesMenuPopupWindow* GHookedGrid = nullptr;
HHOOK GHook = nullptr;

LRESULT CALLBACK SentMessageHook(int Code, WPARAM WParam, LPARAM LParam) {
  CallbackGuard(nullptr, [&] {
    if (Code != HC_ACTION || !GHookedGrid) return;
    const auto* S = reinterpret_cast<const CWPSTRUCT*>(LParam);
    if (!GHookedGrid->HandleAllocated()) return;
    bool Close = S->message == WM_ACTIVATEAPP && S->wParam == 0;
    TCustomForm* F = Screen ? Screen->ActiveForm() : nullptr;
    if (F && F->HandleAllocated() && S->hwnd == F->Handle())
      Close |= S->message == WM_MOVE || S->message == WM_SIZE ||
               (S->message == WM_ACTIVATE && LOWORD(S->wParam) == WA_INACTIVE);
    if (Close) PostMessageW(GHookedGrid->Handle(), kCloseGrid, 0, 0);
  });
  return CallNextHookEx(GHook, Code, WParam, LParam);
}

TBitmap* PictureAt(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures->Count()) return nullptr;
  return static_cast<TBitmap*>(SD->FActivePictures->Items(Index));
}

}  // namespace

// ---------------------------------------------------------------------------
// TspSkinImagesMenu: opening and closing

bool TspSkinImagesMenu::PopupFromRect(const TRect& R) {
  auto Alive = FAlive;
  if (FPopupWindow) {
    FPopupWindow->Hide(false);
    if (!*Alive) return false;
  }
  Fire(OnMenuPopup, this);
  // Nothing to lay out without pictures or items.
  if (!*Alive || !FImages || FImages->Count() == 0 || FImagesItems->Count() == 0) return false;
  FOldItemIndex = FItemIndex;
  FPopupWindow = new TspSkinImagesMenuPopupWindow(this);
  FPopupWindow->OnItemChanged = [this](TObject* Sender) { ItemChanged(Sender); };
  FPopupWindow->Show(R);
  return true;
}

void TspSkinImagesMenu::Hide() {
  if (FPopupWindow) FPopupWindow->Hide(false);
}

void TspSkinImagesMenu::ItemChanged(TObject*) {
  if (!FPopupWindow) return;
  const Integer Hot = FPopupWindow->ItemIndex();
  auto Alive = FAlive;
  if (OnItemIndexChanged) OnItemIndexChanged(this, Hot);
  if (!*Alive) return;
  if (FMainWindowHandle && Hot >= 0 && Hot < FImagesItems->Count())
    SendMessageW(FMainWindowHandle, 0x400 + 11, WPARAM(FImagesItems->Items(Hot)->FColor), LPARAM(Hot));
}

void TspSkinImagesMenu::ClosePopup(bool AProcessEvents) {
  if (!FPopupWindow) return;
  TspSkinImagesMenuPopupWindow* P = FPopupWindow;
  FPopupWindow = nullptr;
  // The popup may be closing from inside one of its own handlers.
  Application->ReleaseObject(P);
  auto Alive = FAlive;
  if (AProcessEvents && FItemIndex != -1) {
    if (FItemIndex >= 0 && FItemIndex < FImagesItems->Count()) {
      Fire(FImagesItems->Items(FItemIndex)->OnClick, this);
      if (!*Alive) return;
    }
    Fire(OnItemClick, this);
    if (!*Alive) return;
    if (FItemIndex != FOldItemIndex) {
      Fire(OnInternalChange, this);
      if (!*Alive) return;
      Fire(OnChange, this);
      if (!*Alive) return;
    }
  }
  Fire(OnInternalMenuClose, this);
  if (!*Alive) return;
  Fire(OnMenuClose, this);
}

// ---------------------------------------------------------------------------
// TspSkinImagesMenuPopupWindow

TspSkinImagesMenuPopupWindow::TspSkinImagesMenuPopupWindow(TspSkinImagesMenu* AMenu)
    : TCustomControl(AMenu), ImagesMenu(AMenu) {
  FVisible = false;
  TspSkinData* SD = AMenu->SkinData();
  if (SD && !SD->Empty && SD->PopupWindow->WindowPictureIndex != -1) {
    WindowPicture = PictureAt(SD, SD->PopupWindow->WindowPictureIndex);
    // A window picture index that names no picture: the default look.
    FSkinSupport = WindowPicture != nullptr;
  }
  HandleNeeded();
}

TspSkinImagesMenuPopupWindow::~TspSkinImagesMenuPopupWindow() {
  RemoveHooks();
  if (FRgn) DeleteObject(FRgn);
}

void TspSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.ClassStyle |= CS_SAVEBITS;
  if (IsXPOrLater()) Params.ClassStyle |= CS_DROPSHADOW;
  Params.WndParent = Application ? Application->Handle() : nullptr;
}

void TspSkinImagesMenuPopupWindow::RemoveHooks() {
  if (FHooked) {
    FHooked = false;
    Application->MessageHooks().Remove(this);
  }
  if (GHookedGrid == this) {
    UnhookWindowsHookEx(GHook);
    GHook = nullptr;
    GHookedGrid = nullptr;
  }
}

TspDataSkinLabelControl* TspSkinImagesMenuPopupWindow::LabelData() const {
  TspSkinData* SD = ImagesMenu->SkinData();
  if (!SD || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(u"label");
  return I == -1 ? nullptr : dynamic_cast<TspDataSkinLabelControl*>(static_cast<TObject*>(SD->CtrlList->Items(I)));
}

TspDataSkinButtonControl* TspSkinImagesMenuPopupWindow::ButtonData() const {
  TspSkinData* SD = ImagesMenu->SkinData();
  if (!FSkinSupport || !SD) return nullptr;
  Integer I = SD->GetControlIndex(u"menuitembutton");
  if (I == -1) I = SD->GetControlIndex(u"resizebutton");
  return I == -1 ? nullptr : dynamic_cast<TspDataSkinButtonControl*>(static_cast<TObject*>(SD->CtrlList->Items(I)));
}

void TspSkinImagesMenuPopupWindow::LayoutItems(Integer& GridWidth, Integer& GridHeight) {
  TCustomImageList* IL = ImagesMenu->Images();
  const Integer CW = IL->Width() + 10, CH = IL->Height() + 10;
  const Integer RowW = ImagesMenu->ColumnsCount() * CW;
  TspSkinData* SD = ImagesMenu->SkinData();
  const Integer X0 = FSkinSupport ? SD->PopupWindow->ItemsRect.Left : 5;
  Integer Y = FSkinSupport ? SD->PopupWindow->ItemsRect.Top : 5;
  Integer CX = X0;
  TspDataSkinLabelControl* L = LabelData();
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspImagesMenuItem* It = Items->Items(I);
    if (It->Header() || It->Button()) {
      if (CX != X0) Y += CH + 1;
      const Integer RH = It->Header() ? (L ? L->SkinRect.Height() : CH) : CH;
      It->ItemRect = TRect(X0, Y, X0 + RowW, Y + RH);
      Y += RH + 1;
      CX = X0;
    } else {
      It->ItemRect = TRect(CX, Y, CX + CW, Y + CH);
      CX += CW;
      if (CX + CW > X0 + RowW) {
        CX = X0;
        Y += CH + 1;
      }
    }
  }
  GridWidth = RowW;
  GridHeight = Items->Items(Items->Count() - 1)->ItemRect.Bottom - Items->Items(0)->ItemRect.Top;
}

TPoint TspSkinImagesMenuPopupWindow::PlaceGrid(const TRect& WA, const TRect& R, Integer W, Integer H) {
  Integer X = R.Left, Y = R.Bottom;
  if (Y + H > WA.Bottom) Y = R.Top - H;
  if (X + W > WA.Right) X = WA.Right - W;
  return TPoint(std::max(X, WA.Left), std::max(Y, WA.Top));
}

void TspSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
  auto Alive = LivenessToken();
  Integer GW = 0, GH = 0;
  LayoutItems(GW, GH);
  Integer W, H;
  TspSkinData* SD = ImagesMenu->SkinData();
  if (FSkinSupport) {
    TspDataSkinPopupWindow* PW = SD->PopupWindow;
    MaskPicture = PictureAt(SD, PW->MaskPictureIndex);
    const Integer PWd = WindowPicture->Width(), PHt = WindowPicture->Height();
    W = PWd + GW - PW->ItemsRect.Width();
    H = PHt + GH - PW->ItemsRect.Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = TPoint(W - (PWd - PW->RTPoint.X), PW->RTPoint.Y);
    NewLBPoint = TPoint(PW->LBPoint.X, H - (PHt - PW->LBPoint.Y));
    NewRBPoint = TPoint(W - (PWd - PW->RBPoint.X), H - (PHt - PW->RBPoint.Y));
    NewItemsRect = TRect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (PWd - PW->ItemsRect.Right),
                         H - (PHt - PW->ItemsRect.Bottom));
    if (MaskPicture) {
      CreateSkinFrameRegion(FRgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                            NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, W, H);
      if (FRgn) {
        SetWindowRgn(Handle(), FRgn, TRUE);
        FRgn = nullptr;
      }
    }
  } else {
    W = GW + 10;
    H = GH + 10;
  }
  // The monitor of the active form, else of the shown main form, else of the owner.
  TRect WA;
  HWND Ref = nullptr;
  if (TCustomForm* F = Screen ? Screen->ActiveForm() : nullptr; F && F->HandleAllocated())
    Ref = F->Handle();
  else if (TCustomForm* M = Application->MainForm(); M && M->Visible() && M->HandleAllocated())
    Ref = M->Handle();
  else if (auto* O = dynamic_cast<TWinControl*>(ImagesMenu->Owner()); O && O->HandleAllocated())
    Ref = O->Handle();
  if (Ref)
    GetMonitorArea(Ref, true, WA);
  else
    GetScreenArea(true, WA);
  const TPoint P = PlaceGrid(WA, PopupRect, W, H);
  SetBounds(P.X, P.Y, W, H);
  const bool Fade = ImagesMenu->AlphaBlend() && ImagesMenu->AlphaBlendAnimation();
  if (ImagesMenu->AlphaBlend()) {
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlphaValue(Handle(), Fade ? 0 : Byte(ImagesMenu->AlphaBlendValue()));
  }
  SetWindowPos(Handle(), HWND_TOPMOST, P.X, P.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FVisible = true;
  if (Fade) {
    Application->ProcessMessages();
    if (!*Alive) return;
    const Integer Target = ImagesMenu->AlphaBlendValue();
    const Integer Step = std::max(Target / 15, 1);
    Integer Value = 0;
    DWORD Last = GetTickCount();
    while (Value < Target) {
      if (GetTickCount() - Last > 5) {
        Value = std::min(Value + Step, Target);
        SetWindowAlphaValue(Handle(), Byte(Value));
        Last = GetTickCount();
      } else {
        Sleep(1);
      }
    }
  }
  FHooked = true;
  Application->MessageHooks().Install(this, [this](MSG& Msg, bool& Handled) { AppMessage(Msg, Handled); });
  // Sent messages never reach the message hooks: a thread hook watches them.
  if (!GHookedGrid) {
    GHook = SetWindowsHookExW(WH_CALLWNDPROC, SentMessageHook, nullptr, GetCurrentThreadId());
    if (GHook) GHookedGrid = this;
  }
}

void TspSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
  if (ImagesMenu->ShowHints()) HideItemHint();
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  FVisible = false;
  RemoveHooks();
  ImagesMenu->ClosePopup(AProcessEvents);
}

void TspSkinImagesMenuPopupWindow::AppMessage(MSG& Msg, bool& Handled) {
  switch (Msg.message) {
    case WM_KEYDOWN:
      Msg.message = 0;
      Handled = true;
      ProcessKey(Integer(Msg.wParam));
      return;
    case WM_LBUTTONDOWN:
      if (WindowFromPoint(Msg.pt) != Handle()) Hide(false);
      return;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: Hide(false); return;
  }
}

void TspSkinImagesMenuPopupWindow::SetHot(Integer Index) {
  MouseInItem = Index;
  Invalidate();
}

void TspSkinImagesMenuPopupWindow::ProcessKey(Integer KeyCode) {
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  const Integer N = Items->Count();
  auto Header = [Items](Integer I) { return Items->Items(I)->Header(); };
  auto FirstItem = [&]() { return (N > 1 && Header(0)) ? 1 : 0; };
  // The last item that is not a header (none: -1).
  auto LastItem = [&]() {
    for (Integer I = N - 1; I >= 0; --I)
      if (!Header(I)) return I;
    return Integer(-1);
  };
  const Integer Hot = MouseInItem;
  switch (KeyCode) {
    case VK_RETURN:
    case VK_SPACE:
      if (Hot != -1) ImagesMenu->FItemIndex = Hot;
      Hide(true);
      return;
    case VK_ESCAPE: Hide(false); return;
    case VK_UP: {
      if (Hot == -1) {
        SetHot(LastItem());
        return;
      }
      const TRect& HR = Items->Items(Hot)->ItemRect;
      for (Integer I = Hot - 1; I >= 0; --I) {
        TspImagesMenuItem* It = Items->Items(I);
        if (It->Header()) continue;
        if (It->ItemRect.Top < HR.Top && (It->Button() || It->ItemRect.Left == HR.Left)) {
          SetHot(I);
          return;
        }
      }
      return;
    }
    case VK_DOWN: {
      if (Hot == -1) {
        SetHot(FirstItem());
        return;
      }
      const TRect& HR = Items->Items(Hot)->ItemRect;
      for (Integer I = Hot + 1; I < N; ++I) {
        TspImagesMenuItem* It = Items->Items(I);
        if (It->Header()) continue;
        if (It->ItemRect.Top > HR.Top && (It->Button() || It->ItemRect.Left == HR.Left)) {
          SetHot(I);
          return;
        }
      }
      return;
    }
    case VK_RIGHT:
      if (Hot == -1 || Hot == N - 1) {
        SetHot(FirstItem());
        return;
      }
      for (Integer I = Hot + 1; I < N; ++I)
        if (!Header(I)) {
          SetHot(I);
          return;
        }
      return;
    case VK_LEFT:
      if (Hot == -1 || Hot == 0 || (N > 1 && Header(0) && Hot == 1)) {
        SetHot(LastItem());
        return;
      }
      for (Integer I = Hot - 1; I >= 0; --I)
        if (!Header(I)) {
          SetHot(I);
          return;
        }
      return;
  }
}

Integer TspSkinImagesMenuPopupWindow::ItemAtPoint(Integer X, Integer Y) const {
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspImagesMenuItem* It = Items->Items(I);
    if (!It->Header() && PointWithinRect(It->ItemRect, TPoint(X, Y))) return I;
  }
  return -1;
}

void TspSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  MouseInItem = ItemAtPoint(X, Y);
  if (MouseInItem == -1) HideItemHint();
  if (MouseInItem == OldMouseInItem) return;
  OldMouseInItem = MouseInItem;
  Invalidate();
  TspSkinHint* H = ImagesMenu->SkinHint();
  if (ImagesMenu->ShowHints() && MouseInItem != -1 && H) {
    H->HideHint();
    const String& Text = ImagesMenu->ImagesItems()->Items(MouseInItem)->Hint();
    if (!Text.empty()) H->ActivateHint2(Text);
  }
  if (OnItemChanged) OnItemChanged(this);
}

void TspSkinImagesMenuPopupWindow::HideItemHint() {
  if (TspSkinHint* H = ImagesMenu->SkinHint()) H->HideHint();
}

void TspSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  HideItemHint();
  FDown = true;
  FItemDown = ItemAtPoint(X, Y) != -1;
  Invalidate();
}

void TspSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  const Integer I = ItemAtPoint(X, Y);
  if (FDown && I != -1) {
    ImagesMenu->FItemIndex = I;
    Hide(true);  // nothing of this window is touched afterwards
    return;
  }
  // Released elsewhere: the grid keeps the mouse.
  if (GetCapture() == Handle()) ReleaseCapture();
  SetCapture(Handle());
}

void TspSkinImagesMenuPopupWindow::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_MOUSEACTIVATE: M.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND: M.Result = 1; return;
    case CM_MOUSELEAVE:
      HideItemHint();
      MouseInItem = OldMouseInItem = -1;
      Invalidate();
      return;
    case kCloseGrid:
      if (FVisible) Hide(false);
      return;
  }
  TCustomControl::Dispatch(M);
}

void TspSkinImagesMenuPopupWindow::DrawCell(TCanvas* C, const TRect& R, bool APressed) {
  TBitmap B;
  B.SetSize(R.Width(), R.Height());
  TspDataSkinButtonControl* D = ButtonData();
  TBitmap* Pic = D ? PictureAt(ImagesMenu->SkinData(), D->PictureIndex) : nullptr;
  if (D && Pic) {
    TRect S = (APressed && !RectIsEmpty(D->DownSkinRect)) ? D->DownSkinRect : D->ActiveSkinRect;
    if (RectIsEmpty(S)) S = D->SkinRect;
    const Integer DX = R.Width() - D->SkinRect.Width(), DY = R.Height() - D->SkinRect.Height();
    CreateNineSliceImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                         TPoint(D->RTPoint.X + DX, D->RTPoint.Y), TPoint(D->LBPoint.X, D->LBPoint.Y + DY),
                         TPoint(D->RBPoint.X + DX, D->RBPoint.Y + DY),
                         TRect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY), &B, Pic, S,
                         R.Width(), R.Height(), true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                         D->StretchEffect, D->StretchType);
  } else {
    TCanvas* BC = B.Canvas();
    BC->Brush()->SetStyle(bsSolid);
    BC->Brush()->SetColor(APressed ? TColor(0xB59385) : TColor(0xD2BDB6));
    BC->Pen()->SetColor(TColor(0x800000));
    BC->Rectangle(0, 0, R.Width(), R.Height());
  }
  C->Draw(R.Left, R.Top, &B);
}

void TspSkinImagesMenuPopupWindow::DrawButtonText(TCanvas* C, const String& Caption, TRect R, bool APressed,
                                                  bool AHot) {
  TspSkinData* SD = ImagesMenu->SkinData();
  TspDataSkinButtonControl* D = ButtonData();
  TspDataSkinObject* MO = nullptr;
  if (SD && FSkinSupport) {
    Integer I = SD->GetIndex(u"menuitem");
    if (I == -1) I = SD->GetIndex(u"MENUITEM");
    if (I != -1) MO = static_cast<TspDataSkinObject*>(SD->ObjectList->Items(I));
  }
  auto* MI = dynamic_cast<TspDataSkinMenuItem*>(MO);
  TFont* F = C->Font();
  if (D && MI) {
    if (ImagesMenu->UseSkinFont()) {
      F->SetName(D->FontName);
      F->SetHeight(D->FontHeight);
      F->SetStyle(D->FontStyle);
    } else {
      F->Assign(ImagesMenu->DefaultFont());
    }
    F->SetCharset(SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : ImagesMenu->DefaultFont()->Charset());
    F->SetColor(APressed ? D->DownFontColor : AHot ? D->ActiveFontColor : MI->FontColor);
  } else {
    F->Assign(ImagesMenu->DefaultFont());
    F->SetColor(clWindowText);
  }
  C->Brush()->SetStyle(bsClear);
  const bool Wide = WideTextWidth(C, Caption) > R.Width();
  DrawWideText(C, Caption, R, DT_SINGLELINE | DT_VCENTER | (Wide ? DT_LEFT : DT_CENTER));
}

void TspSkinImagesMenuPopupWindow::DrawHeaderItem(TCanvas* C, const TRect& R, const String& Caption) {
  TspDataSkinLabelControl* L = LabelData();
  TBitmap* Pic = L ? PictureAt(ImagesMenu->SkinData(), L->PictureIndex) : nullptr;
  if (!L || !Pic) {
    C->Font()->Assign(ImagesMenu->DefaultFont());
    C->Font()->SetColor(clWindowText);
    C->Brush()->SetStyle(bsClear);
    TRect TR = R;
    DrawWideText(C, Caption, TR, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return;
  }
  const TRect& S = L->SkinRect;
  TBitmap B;
  CreateHorzThreeSliceImage(L->LTPoint.X, S.Width() - L->RTPoint.X, &B, Pic, S, R.Width(), S.Height(),
                            L->StretchEffect);
  TFont* F = B.Canvas()->Font();
  if (ImagesMenu->UseSkinFont()) {
    F->SetColor(L->FontColor);
    F->SetName(L->FontName);
    F->SetHeight(L->FontHeight);
    F->SetStyle(L->FontStyle);
    F->SetCharset(C->Font()->Charset());
  } else {
    F->Assign(ImagesMenu->DefaultFont());
  }
  B.Canvas()->Brush()->SetStyle(bsClear);
  TRect TR(L->ClRect.Left, L->ClRect.Top, B.Width() - (S.Width() - L->ClRect.Right), B.Height());
  DrawWideText(B.Canvas(), Caption, TR, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  C->Draw(R.Left, R.Top, &B);
}

void TspSkinImagesMenuPopupWindow::Paint() {
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  if (FSkinSupport) {
    TspDataSkinPopupWindow* PW = ImagesMenu->SkinData()->PopupWindow;
    CreateNineSliceWindowImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                               NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &B, WindowPicture,
                               TRect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, true,
                               PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch,
                               PW->StretchEffect, PW->StretchType);
  } else {
    C->Pen()->SetColor(clBtnShadow);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->Rectangle(0, 0, W, H);
  }
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  TCustomImageList* IL = ImagesMenu->Images();
  const Integer Sel = ImagesMenu->ShowSelectedItem() ? ImagesMenu->ItemIndex() : -1;
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspImagesMenuItem* It = Items->Items(I);
    const TRect& R = It->ItemRect;
    if (It->Header()) {
      DrawHeaderItem(C, R, It->Caption());
      continue;
    }
    if (I == Sel && !FItemDown)
      DrawCell(C, R, true);
    else if (I == MouseInItem)
      DrawCell(C, R, FItemDown);
    Integer Shift = 0;
    if (IL && It->ImageIndex() >= 0 && It->ImageIndex() < IL->Count()) {
      IL->Draw(C, R.Left + 5, R.Top + 5, It->ImageIndex(), true);
      Shift = IL->Width() + 5;
    }
    if (It->Button() && !It->Caption().empty()) {
      const bool Pressed = (I == Sel && !FItemDown) || (I == MouseInItem && FItemDown);
      DrawButtonText(C, It->Caption(), TRect(R.Left + Shift, R.Top, R.Right, R.Bottom), Pressed,
                     !Pressed && I == MouseInItem);
    }
  }
  Canvas()->Draw(0, 0, &B);
}
