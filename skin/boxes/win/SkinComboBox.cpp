// TspPopupListBox and TspSkinCustomComboBox: the drop-down list as a never
// activated popup, and the combo box's selection rules, keys, mouse
// tracking into the open list, and looks.
#include <algorithm>

#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"
#include "skin/boxes/ComboKeys.h"
#include "skin/boxes/ListLayout.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/win/SPUtils.h"

namespace {
constexpr UINT_PTR DragTimer = 1;
bool Inside(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// R of Picture drawn keyed out by Transparent, centred in Area (Dy lower).
void DrawMarker(TCanvas* C, TBitmap* Picture, const TRect& R, TColor Transparent, const TRect& Area, Integer Dy) {
  if (!Picture || RectIsEmpty(R)) return;
  TBitmap M;
  M.SetPixelFormat(pf24bit);
  M.SetSize(R.Width(), R.Height());
  M.Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), Picture->Canvas(), R);
  M.SetTransparentMode(tmFixed);
  M.SetTransparentColor(Transparent);
  M.SetTransparent(true);
  C->Draw(Area.Left + Area.Width() / 2 - R.Width() / 2, Area.Top + Area.Height() / 2 - R.Height() / 2 + Dy, &M);
}

}  // namespace

// ---------------------------------------------------------------------------
// TspPopupListBox

TspPopupListBox::TspPopupListBox(TComponent* AOwner) : TspSkinListBox(AOwner) {
  FControlStyle |= csAcceptsControls | csReplicatable;
  SetVisible(false);
}

void TspPopupListBox::CreateParams(TCreateParams& Params) {
  TspSkinListBox::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.ClassStyle |= CS_SAVEBITS;
  if (IsXPOrLater()) Params.ClassStyle |= CS_DROPSHADOW;
}

void TspPopupListBox::Show(const TPoint& Origin) {
  auto* Combo = dynamic_cast<TspSkinCustomComboBox*>(Owner());
  HWND W = Handle();
  const bool Blend = Combo && Combo->ListBoxAlphaBlend() && IsWin2000OrLater();
  const bool Animate = Blend && Combo->ListBoxAlphaBlendAnimation();
  if (Combo && IsWin2000OrLater()) {
    const LONG Ex = GetWindowLongW(W, GWL_EXSTYLE);
    if (Blend && !FOldAlphaBlend) SetWindowLongW(W, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
    if (!Blend && FOldAlphaBlend) SetWindowLongW(W, GWL_EXSTYLE, Ex & ~LONG(WS_EX_LAYERED));
    FOldAlphaBlend = Blend;
    if (Blend && FOldAlphaBlendValue != Combo->ListBoxAlphaBlendValue()) {
      FOldAlphaBlendValue = Animate ? 0 : Combo->ListBoxAlphaBlendValue();
      SetWindowAlphaValue(W, FOldAlphaBlendValue);
    }
  }
  SetWindowPos(W, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateBounds();
  SetVisible(true);
  if (!Animate) return;
  // The fade-in: steps of a fifteenth of the value, one whenever more than
  // 5 ms passed, with the messages processed between the checks.
  auto Alive = LivenessToken();
  Application->ProcessMessages();
  const Byte Target = Combo->ListBoxAlphaBlendValue();
  const Integer Step = std::max(1, Target / 15);
  Integer A = 0;
  Cardinal Last = spTickCount();
  while (*Alive && A < Target) {
    const Cardinal Now = spTickCount();
    if (Now - Last > 5) {
      A = std::min<Integer>(Target, A + Step);
      SetWindowAlphaValue(W, static_cast<Byte>(A));
      Last = Now;
    }
    Application->ProcessMessages();
    if (*Alive && A < Target) Sleep(1);
  }
  if (*Alive) FOldAlphaBlendValue = Target;
}

void TspPopupListBox::Hide() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetVisible(false);
}

void TspPopupListBox::Dispatch(TMessage& M) {
  if (M.Msg == WM_MOUSEACTIVATE) {
    M.Result = MA_NOACTIVATE;
    return;
  }
  TspSkinListBox::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinCustomComboBox

TspSkinCustomComboBox::TspSkinCustomComboBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  SetTabStop(true);
  FControlStyle = csAcceptsControls | csCaptureMouse | csOpaque | csDoubleClicks;
  Font()->SetName(u"Arial");
  Font()->SetColor(clWindowText);
  Font()->SetStyle(0);
  Font()->SetHeight(14);
  SetBounds(Left(), Top(), 120, 20);
  FSkinDataName = u"combobox";
  FListBox = new TspPopupListBox(this);
  FListBox->SetVisible(false);
  if (!ComponentState().Contains(csDesigning)) FListBox->SetParent(this);
  TspListBox* Inner = FListBox->ListBox;
  Inner->SetTabStop(false);
  Inner->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) { ListBoxMouseMoveTrack(S, Sh, X, Y); };
  FListBoxWindowProc = Inner->WindowProc();
  Inner->SetWindowProc([this](TMessage& M) { ListBoxWindowProcHook(M); });
  FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
  CalcRects();
}

TspSkinCustomComboBox::~TspSkinCustomComboBox() {
  Destroying();
  if (FEdit) {
    FEdit->SetWindowProc(FEditWindowProc);
    delete FEdit;
    FEdit = nullptr;
  }
  if (FListBox && FListBox->ListBox) FListBox->ListBox->SetWindowProc(FListBoxWindowProc);
  delete FListBox;
  FListBox = nullptr;
  DestroyChildControls();
  DestroyHandle();
}

void TspSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FListBox) FListBox = nullptr;
  if (Operation == opRemove && AComponent == FEdit) FEdit = nullptr;
}

// --- properties

void TspSkinCustomComboBox::SetItems(TStrings* Value) { FListBox->SetItems(Value); }

void TspSkinCustomComboBox::SetImages(TCustomImageList* Value) {
  FListBox->SetImages(Value);
  Repaint();
}

void TspSkinCustomComboBox::SetImageIndex(Integer Value) {
  FListBox->SetImageIndex(Value);
  Repaint();
}

void TspSkinCustomComboBox::SetOnListBoxDrawItem(const TspDrawSkinItemEvent& Value) {
  FOnListBoxDrawItem = Value;
  FListBox->OnDrawItem = Value;
}

void TspSkinCustomComboBox::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (!SkinnedCombo()) Invalidate();
}

void TspSkinCustomComboBox::SetToolButtonStyle(bool Value) {
  if (FToolButtonStyle == Value) return;
  FToolButtonStyle = Value;
  if (Value) {
    SetStyle(spcbFixedStyle);
    FUseSkinSize = false;
  }
  Repaint();
}

void TspSkinCustomComboBox::SetStyle(TspSkinCustomComboBoxStyle Value) {
  if (ComponentState().Contains(csDesigning) && Value == FStyle) return;
  FStyle = Value;
  if (Value == spcbEditStyle) {
    if (!FEdit) {
      FEdit = FNumEdit ? new TspSkinNumEdit(this) : new TspCustomEdit(this);
      FEdit->SetParent(this);
      FEdit->SetColor(FDefaultColor);
      FEdit->SetAutoSize(false);
      FEdit->SetHideSelection(FHideSelection);
      FEdit->SetVisible(true);
      FEdit->SetEditTransparent(false);
      FEditWindowProc = FEdit->WindowProc();
      FEdit->SetWindowProc([this](TMessage& M) { EditWindowProcHook(M); });
      FEdit->OnEditCancelMode = [this](TControl* C) { EditCancelMode(C); };
      FEdit->OnChange = [this](TObject* S) { EditChange(S); };
      FEdit->OnKeyDown = [this](TObject*, Word& K, TShiftState Sh) {
        if (OnKeyDown) OnKeyDown(this, K, Sh);
      };
      FEdit->OnKeyPress = [this](TObject*, Char& K) {
        if (OnKeyPress) OnKeyPress(this, K);
      };
      FEdit->OnKeyUp = [this](TObject*, Word& K, TShiftState Sh) {
        if (OnKeyUp) OnKeyUp(this, K, Sh);
      };
      FEdit->SetCharCase(FCharCase);
      GetSkinData();
      if (SkinnedCombo()) {
        FEdit->Font()->SetStyle(FontStyle);
        FEdit->Font()->SetColor(FontColor);
        FEdit->Font()->SetHeight(FontHeight);
        FEdit->Font()->SetName(FontName);
        FEdit->SetEditTransparent(true);
      } else {
        FEdit->Font()->SetName(Font()->Name());
        FEdit->Font()->SetStyle(Font()->Style());
        FEdit->Font()->SetColor(Font()->Color());
        FEdit->Font()->SetHeight(Font()->Height());
      }
      CalcRects();
      if (!ComponentState().Contains(csDesigning)) {
        FEdit->SetTabStop(TabStop());
        SetTabStop(false);
      }
      FEdit->SetText(Text());
      if (Focused()) FEdit->SetFocus();
    }
  } else if (FEdit) {
    TspCustomEdit* E = FEdit;
    FEdit = nullptr;
    if (E->TabStop()) SetTabStop(true);
    E->SetWindowProc(FEditWindowProc);
    E->SetVisible(false);
    delete E;
  }
  CalcRects();
  if (HandleAllocated()) RecreateWnd();
  Repaint();
}

void TspSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  if (FEdit) FEdit->SetCharCase(Value);
}

void TspSkinCustomComboBox::SetHideSelection(bool Value) {
  FHideSelection = Value;
  if (FEdit) FEdit->SetHideSelection(Value);
}

Byte TspSkinCustomComboBox::EditCharset() { return SkinTextCharset(FSD, DefaultFont()); }

void TspSkinCustomComboBox::EditCancelMode(TControl* C) {
  if (!IsListControl(C)) CloseUp(false);
}

void TspSkinCustomComboBox::EditChange(TObject*) {
  auto Alive = LivenessToken();
  FromEdit = true;
  TFinally Done([&] {
    if (*Alive) FromEdit = false;
  });
  const String T = FEdit->Text();
  if (!T.empty()) {
    HWND LW = FListBox->ListBox->Handle();
    const LRESULT I = SendMessageW(LW, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(T.c_str()));
    if (I != LB_ERR) {
      if (FAutoComplete)
        SendMessageW(LW, LB_SETCURSEL, static_cast<WPARAM>(I), 0);
      else
        SendMessageW(LW, LB_SETTOPINDEX, static_cast<WPARAM>(I), 0);
    }
  }
  SetText(T);
}

void TspSkinCustomComboBox::AutoCompleteEdit() {
  if (!FAutoComplete || !FEdit) return;
  if (!ComboAutoCompleteDue(FTypeAhead, spTickCount())) return;
  const String Old = Text();
  if (Old.empty()) return;
  // The first item the typed text starts with (the list's selection already
  // follows the text, so a search after it would skip that item).
  const LRESULT I = SendMessageW(FListBox->ListBox->Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(Old.c_str()));
  if (I == LB_ERR) return;
  auto Alive = LivenessToken();
  SetItemIndex(static_cast<Integer>(I));
  if (!*Alive || !FEdit) return;
  const Integer NewLen = static_cast<Integer>(Text().size());
  FEdit->SetSelStart(static_cast<Integer>(Old.size()));
  FEdit->SetSelLength(NewLen - static_cast<Integer>(Old.size()));
}

void TspSkinCustomComboBox::EditWindowProcHook(TMessage& M) {
  auto Alive = LivenessToken();
  const bool Shown = FListBox && FListBox->Visible();
  const bool ActiveLook = SkinnedCombo() && !RectIsEmpty(ActiveSkinRect);
  switch (M.Msg) {
    case WM_SETFOCUS:
      if (ActiveLook) {
        FEdit->Font()->SetColor(ActiveFontColor);
        Invalidate();
      }
      break;
    case WM_KILLFOCUS:
      if (Shown) CloseUp(false);
      if (!*Alive) return;
      if (ActiveLook && FEdit) {
        FEdit->Font()->SetColor(FontColor);
        Invalidate();
      }
      break;
    case WM_KEYDOWN:
      switch (M.WParam) {
        case VK_RETURN:
        case VK_ESCAPE:
          if (Shown) {
            // The character of this key belongs to the list, not to the
            // dialog's default or cancel button.
            FDropChar = M.WParam == VK_RETURN ? Char(13) : Char(27);
            CloseUp(M.WParam == VK_RETURN);
            if (!*Alive) return;
          }
          break;
        case VK_PRIOR:
        case VK_NEXT:
          if (Shown) {
            const Integer I = FListBox->ItemIndex();
            FListBox->SetItemIndex(M.WParam == VK_PRIOR ? ComboPageUp(I, FDropDownCount)
                                                        : ComboPageDown(I, FDropDownCount, Items()->Count()));
          }
          break;
        case VK_UP:
        case VK_DOWN: {
          const Integer I = FListBox->ItemIndex();
          const Integer N = M.WParam == VK_UP ? I - 1 : I + 1;
          if (N >= 0 && N < Items()->Count() && (M.WParam == VK_DOWN || I > 0)) {
            FListBox->SetItemIndex(N);
            SetText(Items()->Strings(N));
            if (!*Alive) return;
            if (FEdit) FEdit->SelectAll();
            if (OnClick) OnClick(this);
          }
          return;
        }
      }
      break;
    case WM_CHAR:
      if (FDropChar != 0 && static_cast<Char>(M.WParam) == FDropChar) {
        FDropChar = 0;
        return;
      }
      FDropChar = 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const Byte CS = EditCharset();
      const bool Asian = CS == 128 || CS == 134 || CS == 136;
      if (M.Msg == WM_SYSKEYUP && !Asian) break;
      const WPARAM K = M.WParam;
      if (Asian) {
        if (K == VK_DELETE || K == VK_BACK) break;
        FEdit->ClearSelection();
        FEditWindowProc(M);
        if (*Alive) AutoCompleteEdit();
        return;
      }
      if (K <= 47) break;
      FEditWindowProc(M);
      if (*Alive) AutoCompleteEdit();
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (Shown) CloseUp(false);
      if (!*Alive) return;
      break;
  }
  FEditWindowProc(M);
}

void TspSkinCustomComboBox::LayoutEdit() {
  if (!FEdit) return;
  TBitmap B(1, 1);
  B.Canvas()->Font()->Assign(FEdit->Font());
  TEXTMETRICW TM{};
  GetTextMetricsW(B.Canvas()->Handle(), &TM);
  const Integer H = TM.tmHeight;
  FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + CBItem.R.Height() / 2 - H / 2, CBItem.R.Width(), H);
}

void TspSkinCustomComboBox::SetItemIndex(Integer Value) {
  auto Alive = LivenessToken();
  FListBox->SetItemIndex(Value);
  const Integer I = FListBox->ItemIndex();
  if (Items()->Count() > 0 && I >= 0) SetText(Items()->Strings(I));
  if (!*Alive) return;
  FOldItemIndex = I;
  if (FStyle == spcbFixedStyle) Invalidate();
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
  if (OnClick) OnClick(this);
  if (*Alive) Change();
}

void TspSkinCustomComboBox::Invalidate() {
  TspSkinCustomControl::Invalidate();
  // The see-through edit shows the control behind its text.
  if (FEdit && Skinned()) FEdit->Invalidate();
}

TColor TspSkinCustomComboBox::DisabledTextColor() {
  if (FSD && !FSD->Empty) {
    const Integer I = FSD->GetControlIndex(u"edit");
    if (I >= 0 && I < FSD->CtrlList->Count())
      if (auto* E = dynamic_cast<TspDataSkinEditControl*>(static_cast<TObject*>(FSD->CtrlList->Items(I))))
        return E->DisabledFontColor;
  }
  return clGrayText;
}

void TspSkinCustomComboBox::UpdateEditFont() {
  if (!FEdit) return;
  GetSkinData();
  const bool Sk = SkinnedCombo();
  TFont* F = FEdit->Font();
  if (Sk && FUseSkinFont) {
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
    F->SetName(FontName);
    F->SetColor(FontColor);
  } else {
    AssignFont(F, DefaultFont());
    if (Sk) F->SetColor(FontColor);
  }
  if (Sk && !RectIsEmpty(ActiveSkinRect) && (FEdit->Focused() || FMouseIn)) F->SetColor(ActiveFontColor);
  F->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  if (FEdit->EditTransparent() != Sk) FEdit->SetEditTransparent(Sk);
  if (!Enabled()) F->SetColor(DisabledTextColor());
}

Integer TspSkinCustomComboBox::ShownIndex() { return FListBox->Visible() ? FOldItemIndex : ItemIndex(); }

void TspSkinCustomComboBox::DrawShownItem(TCanvas* C, Integer BW, Integer BH, const TRect& TR) {
  const Integer I = ShownIndex();
  if (I < 0 || I >= Items()->Count()) return;
  C->Brush()->SetStyle(bsClear);
  DrawItemContent(C, I, BW, BH, TR);
  C->Brush()->SetStyle(bsSolid);
}

// --- layout

void TspSkinCustomComboBox::CalcRects() {
  GetSkinData();
  const Integer W = Width(), H = Height();
  if (!SkinnedCombo() || FToolButtonStyle) {
    Button.R = TRect(W - 19, 2, W - 2, H - 2);
    CBItem.R = TRect(2, 2, Button.R.Left - 1, H - 2);
    LayoutEdit();
    return;
  }
  const Integer dW = W - SkinRect.Width(), dH = H - SkinRect.Height();
  Button.R = ButtonRect;
  if (ButtonRect.Left >= SkinRect.Width() - RTPt.X)
    Button.R = TRect(ButtonRect.Left + dW, ButtonRect.Top, ButtonRect.Right + dW, ButtonRect.Bottom);
  CBItem.R = TRect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom);
  if (!FUseSkinSize) {
    Button.R.Bottom += dH;
    CBItem.R.Bottom += dH;
  }
  LayoutEdit();
}

void TspSkinCustomComboBox::CalcSkinSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) {
    TspSkinCustomControl::CalcSkinSize(AWidth, AHeight);
    return;
  }
  const Integer dW = AWidth - SkinRect.Width();
  NewLTPoint = LTPt;
  NewRTPoint = TPoint(RTPt.X + dW, RTPt.Y);
  NewLBPoint = LBPt;
  NewRBPoint = RBPt;
  NewClRect = TRect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom);
}

void TspSkinCustomComboBox::SetControlRegion() {
  if (FUseSkinSize) TspSkinCustomControl::SetControlRegion();
}

// --- the list

bool TspSkinCustomComboBox::CanCancelDropDown() {
  if (!FListBox->Visible()) return false;
  POINT P{};
  GetCursorPos(&P);
  return WindowFromPoint(P) != Handle();
}

void TspSkinCustomComboBox::DropDown() {
  const Integer Count = Items()->Count();
  if (Count == 0) return;
  auto Alive = LivenessToken();
  WasInLB = false;
  StopTimer();
  if (OnDropDown) OnDropDown(this);
  if (!*Alive) return;
  const Integer LW = FListBoxWidth > 0 ? FListBoxWidth : Width();
  const Integer LH = FListBox->CalcHeight(ComboDropDownRows(Count, FDropDownCount));
  RECT WR{};
  GetWindowRect(Handle(), &WR);
  TRect Work;
  GetMonitorArea(Handle(), true, Work);
  const TPoint Origin = ComboDropDownOrigin(TRect(WR.left, WR.top, WR.right, WR.bottom), LW, LH, Work);
  if (FStyle == spcbEditStyle && FEdit && FEdit->CanFocus()) {
    FEdit->SetFocus();
    if (!*Alive) return;
  }
  FOldItemIndex = FListBox->ItemIndex();
  if (FOldItemIndex == 0 && Count >= 2) {
    FListBox->SetItemIndex(1);
    FListBox->SetItemIndex(0);
  }
  FDropDown = true;
  if (FToolButtonStyle) Repaint();
  FListBox->SetBounds(Origin.X, Origin.Y, LW, LH);
  FListBox->SetTopIndex(std::max(0, FListBox->ItemIndex()));
  FListBox->Show(Origin);
}

void TspSkinCustomComboBox::CloseUp(bool Value) {
  if (!FListBox || !FListBox->Visible()) return;
  auto Alive = LivenessToken();
  FListBox->Hide();
  const Integer I = FListBox->ItemIndex();
  if (I >= 0 && I < Items()->Count() && Value) {
    if (FStyle == spcbEditStyle && FEdit) {
      FEdit->SetText(Items()->Strings(I));
      if (!*Alive) return;
      if (FEdit) FEdit->SelectAll();
    } else {
      SetText(Items()->Strings(I));
      if (!*Alive) return;
      Repaint();
    }
    if (OnClick) OnClick(this);
    if (!*Alive) return;
    Change();
    if (!*Alive) return;
  } else {
    FListBox->SetItemIndex(FOldItemIndex);
  }
  FDropDown = false;
  Repaint();
  if (Value && OnCloseUp) OnCloseUp(this);
}

bool TspSkinCustomComboBox::IsListControl(TControl* C) {
  if (!C) return false;
  return C == this || C == FListBox || C == FListBox->ListBox || C == FListBox->ScrollBar ||
         C == FListBox->HScrollBar;
}

void TspSkinCustomComboBox::ListBoxMouseMoveTrack(TObject*, TShiftState, Integer X, Integer Y) {
  const Integer I = FListBox->ItemAtPos(TPoint(X, Y), true);
  if (I >= 0 && I != FListBox->ItemIndex()) FListBox->SetItemIndex(I);
}

void TspSkinCustomComboBox::ListBoxWindowProcHook(TMessage& M) {
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
      FLBDown = true;
      WasInLB = true;
      SetCapture(Handle());
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return;
    case WM_MOUSEACTIVATE:
      FListBoxWindowProc(M);
      M.Result = MA_NOACTIVATE;
      return;
  }
  FListBoxWindowProc(M);
}

void TspSkinCustomComboBox::StartTimer() {
  KillTimer(Handle(), DragTimer);
  SetTimer(Handle(), DragTimer, 25, nullptr);
}

void TspSkinCustomComboBox::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), DragTimer);
  TimerMode = 0;
}

void TspSkinCustomComboBox::ProcessListBox() {
  // The pointer in the inner list's coordinates.
  POINT P{};
  GetCursorPos(&P);
  TspListBox* Inner = FListBox->ListBox;
  ::ScreenToClient(Inner->Handle(), &P);
  const Integer H = Inner->Height();
  Integer Mode = 0;
  if (P.y < 0 && FListBox->ScrollBar && WasInLB)
    Mode = 1;
  else if (P.y > H && FListBox->ScrollBar && WasInLB)
    Mode = 2;
  if (Mode != 0) {
    if (Mode != TimerMode) {
      TimerMode = Mode;
      StartTimer();
    }
    return;
  }
  if (P.y >= 0 && P.y <= H) {
    if (TimerMode != 0) StopTimer();
    SendMessageW(Inner->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, P.y));
    WasInLB = true;
  }
}

// --- input

void TspSkinCustomComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive) return;
  if (FLBDown) {
    if (FListBox->Visible()) ProcessListBox();
    return;
  }
  const bool In = Inside(Button.R, TPoint(X, Y));
  if (In != Button.MouseIn) {
    Button.MouseIn = In;
    Repaint();
  }
}

void TspSkinCustomComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::MouseDown(Btn, Shift, X, Y);
  if (!*Alive) return;
  if (FStyle == spcbFixedStyle && !Focused() && CanFocus()) {
    SetFocus();
    if (!*Alive) return;
  }
  if (Btn != mbLeft) return;
  // The hover state a move would have set before the press.
  if (!FLBDown) Button.MouseIn = Inside(Button.R, TPoint(X, Y));
  const bool Counts =
      Button.MouseIn || (FStyle == spcbFixedStyle && Inside(CBItem.R, TPoint(X, Y))) || FToolButtonStyle;
  if (Counts) {
    Button.Down = true;
    Repaint();
    if (!FListBox->Visible()) {
      WasInLB = false;
      FLBDown = true;
      DropDown();
    } else {
      CloseUp(false);
    }
  } else if (FListBox->Visible()) {
    CloseUp(false);
  }
}

void TspSkinCustomComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (FLBDown && WasInLB) {
    ReleaseCapture();
    FLBDown = false;
    POINT P{};
    GetCursorPos(&P);
    const bool Over = FListBox->ListBox->HandleAllocated() && WindowFromPoint(P) == FListBox->ListBox->Handle();
    CloseUp(Over);
    if (!*Alive) return;
  } else {
    FLBDown = false;
  }
  StopTimer();
  TspSkinCustomControl::MouseUp(Btn, Shift, X, Y);
  if (!*Alive) return;
  if (Button.Down) {
    Button.Down = false;
    Repaint();
  }
}

void TspSkinCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::KeyDown(Key, Shift);
  if (!*Alive || Key == 0) return;
  const TspComboKeyResult R =
      ComboFixedKey(Key, (Shift & ssAlt) != 0, FListBox->Visible(), ItemIndex(), Items()->Count(), FDropDownCount);
  switch (R.Action) {
    case TspComboKeyAction::CloseAccept:
      CloseUp(true);
      break;
    case TspComboKeyAction::CloseCancel:
      CloseUp(false);
      break;
    case TspComboKeyAction::Open:
      DropDown();
      break;
    case TspComboKeyAction::Select:
      SetItemIndex(R.Index);
      break;
    case TspComboKeyAction::None:
      break;
  }
}

void TspSkinCustomComboBox::KeyPress(Char& Key) {
  auto Alive = LivenessToken();
  TspSkinCustomControl::KeyPress(Key);
  if (!*Alive || Key < 32 || FStyle != spcbFixedStyle) return;
  const TspSearch S = ComboTypeAhead(FTypeAhead, Key, spTickCount(), FAutoComplete, ItemIndex());
  if (S.Text.empty()) return;
  const LRESULT I = SendMessageW(FListBox->ListBox->Handle(), LB_FINDSTRING, static_cast<WPARAM>(S.FromIndex),
                                 reinterpret_cast<LPARAM>(S.Text.c_str()));
  if (I != LB_ERR) SetItemIndex(static_cast<Integer>(I));
}

// --- skin

void TspSkinCustomComboBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  auto* D = Skinned() ? dynamic_cast<TspDataSkinComboBox*>(SkinDescription()) : nullptr;
  // A description of another class gives the default look.
  if (!D) {
    FIndex = -1;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  ActiveSkinRect = D->ActiveSkinRect;
  ActiveFontColor = D->ActiveFontColor;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  SItemRect = D->SItemRect;
  FocusItemRect = RectIsEmpty(D->FocusItemRect) ? D->SItemRect : D->FocusItemRect;
  ActiveItemRect = D->ActiveItemRect;
  ItemLeftOffset = D->ItemLeftOffset;
  ItemRightOffset = D->ItemRightOffset;
  ItemTextRect = D->ItemTextRect;
  FontColor = D->FontColor;
  FocusFontColor = D->FocusFontColor;
  ButtonRect = D->ButtonRect;
  ActiveButtonRect = D->ActiveButtonRect;
  DownButtonRect = D->DownButtonRect;
  UnEnabledButtonRect = D->UnEnabledButtonRect;
  ListBoxName = D->ListBoxName;
  ItemStretchEffect = D->ItemStretchEffect;
  FocusItemStretchEffect = D->FocusItemStretchEffect;
  ShowFocus = D->ShowFocus;
}

void TspSkinCustomComboBox::DefaultFontChanged() { Font()->Assign(DefaultFont()); }

void TspSkinCustomComboBox::ChangeSkinData() {
  auto Alive = LivenessToken();
  TspSkinCustomControl::ChangeSkinData();
  if (!*Alive) return;
  CalcRects();
  UpdateEditFont();
  if (!*Alive) return;
  Repaint();
  FListBox->SetSkinDataName(SkinnedCombo() ? ListBoxName : String());
  FListBox->SetSkinData(SkinData());
  FListBox->UpDateScrollBar();
  CalcRects();
  // The inner edit took the skin's font after the base sized the control:
  // the skin's size once more on the current size, resized when it differs.
  if (FEdit && SkinnedCombo()) {
    Integer W = Width(), H = Height();
    CalcSkinSize(W, H);
    if (W != Width() || H != Height()) SetBounds(Left(), Top(), W, H);
  }
}

// --- painting

void TspSkinCustomComboBox::DrawItemContent(TCanvas* C, Integer Index, Integer BW, Integer BH, TRect TR) {
  if (OnComboBoxDrawItem) {
    OnComboBoxDrawItem(C, Index, BW, BH, TR, CBItem.State);
    return;
  }
  if (TCustomImageList* IL = FListBox->Images()) {
    const Integer II = FListBox->ImageIndex() < 0 ? Index : FListBox->ImageIndex();
    if (II < IL->Count()) {
      IL->Draw(C, TR.Left, TR.Top + TR.Height() / 2 - IL->Height() / 2, II, true);
      TR.Left += IL->Width() + 2;
    }
  }
  const String S = Items()->Strings(Index);
  if (FListBox->TabWidths()->Count() > 0) {
    const std::vector<Integer> Stops = ListTabStops(*FListBox->TabWidths());
    std::vector<INT> Tabs(Stops.begin(), Stops.end());
    Integer Y = TR.Top + TR.Height() / 2 - C->TextHeight(S) / 2;
    if (C->Font()->Height() % 2 != 0) --Y;
    TabbedTextOutW(C->Handle(), TR.Left + 2, Y, reinterpret_cast<LPCWSTR>(S.c_str()), static_cast<int>(S.size()),
                   static_cast<int>(Tabs.size()), Tabs.data(), 0);
  } else {
    DrawClippedText(C, S, TRect(TR.Left + 2, TR.Top, TR.Right, TR.Bottom));
  }
}

void TspSkinCustomComboBox::DrawDefaultItem(TCanvas* Dest) {
  const Integer BW = CBItem.R.Width(), BH = CBItem.R.Height();
  if (BW <= 0 || BH <= 0) return;
  auto B = NewSkinBitmap(BW, BH);
  TCanvas* C = B->Canvas();
  C->Font()->SetName(Font()->Name());
  C->Font()->SetStyle(Font()->Style());
  C->Font()->SetHeight(Font()->Height());
  C->Font()->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  const bool Foc = Focused();
  C->Brush()->SetColor(Foc ? clHighlight : FDefaultColor);
  C->Font()->SetColor(Foc ? clHighlightText : DefaultFont()->Color());
  C->FillRect(TRect(0, 0, BW, BH));
  CBItem.State = Foc ? odFocused : 0;
  DrawShownItem(C, BW, BH, TRect(2, 0, BW - 2, BH));
  if (Foc) DrawDottedFocusRect(C, TRect(0, 0, BW, BH));
  Dest->Draw(CBItem.R.Left, CBItem.R.Top, B.get());
}

void TspSkinCustomComboBox::DrawToolButtonDefault(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  const TRect R(0, 0, W, H);
  if (FListBox->Visible())
    FillFramedRect(C, R, DefaultHotFrame, DefaultDownFace);
  else if (FMouseIn || Focused())
    FillFramedRect(C, R, DefaultHotFrame, DefaultHotFace);
  else
    FillFramedRect(C, R, clBtnShadow, clBtnFace);
  AssignFont(C->Font(), DefaultFont());
  C->Font()->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  CBItem.State = 0;
  DrawShownItem(C, W - 19, H - 4, TRect(2, 2, W - 17, H - 2));
  DrawDropDownMark(C, TRect(W - 15, 0, W, H), C->Font()->Color());
}

void TspSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B) {
  CalcRects();
  if (FToolButtonStyle) {
    DrawToolButtonDefault(B);
    return;
  }
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, W, H));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(TRect(0, 0, W, H));
  C->Brush()->SetColor(FDefaultColor);
  C->FillRect(TRect(2, 2, W - 2, H - 2));
  if (Button.Down && Button.MouseIn)
    FillFramedRect(C, Button.R, DefaultHotFrame, DefaultDownFace);
  else if (Button.MouseIn)
    FillFramedRect(C, Button.R, DefaultHotFrame, DefaultHotFace);
  else
    FillFramedRect(C, Button.R, clBtnShadow, clBtnFace);
  DrawDirectionArrow(C, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
  if (FStyle == spcbFixedStyle) DrawDefaultItem(C);
}

void TspSkinCustomComboBox::DrawSkinItem(TCanvas* Dest) {
  const Integer AW = CBItem.R.Width();
  if (AW <= 0 || !Picture) return;
  const bool Foc = Focused();
  const bool Hot = FMouseIn && !RectIsEmpty(ActiveItemRect) && !RectIsEmpty(ActiveSkinRect);
  const Integer BH = !RectIsEmpty(SItemRect)        ? SItemRect.Height()
                     : !RectIsEmpty(FocusItemRect) ? FocusItemRect.Height()
                                                    : CBItem.R.Height();
  auto B = NewSkinBitmap(AW, BH);
  TCanvas* C = B->Canvas();
  const TRect Src = Foc ? FocusItemRect : Hot ? ActiveItemRect : SItemRect;
  if (!RectIsEmpty(Src))
    CreateHorzThreeSliceImage(ItemLeftOffset, ItemRightOffset, B.get(), Picture, Src, AW, BH,
                              Foc ? FocusItemStretchEffect : ItemStretchEffect);
  const Integer Base = !RectIsEmpty(SItemRect) ? SItemRect.Width() : ClRect.Width();
  const TRect TR(ItemTextRect.Left, ItemTextRect.Top, ItemTextRect.Right + (AW - Base), ItemTextRect.Bottom);
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetStyle(FontStyle);
    C->Font()->SetHeight(FontHeight);
  } else {
    AssignFont(C->Font(), DefaultFont());
  }
  C->Font()->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  C->Font()->SetColor(Foc ? FocusFontColor : (FMouseIn && !RectIsEmpty(ActiveSkinRect)) ? ActiveFontColor : FontColor);
  if (!Enabled()) C->Font()->SetColor(clGrayText);
  if (Foc && ShowFocus && !OnComboBoxDrawItem) DrawDottedFocusRect(C, TRect(0, 0, AW, BH));
  DrawShownItem(C, AW, BH, TR);
  Dest->Draw(CBItem.R.Left, CBItem.R.Top, B.get());
}

void TspSkinCustomComboBox::DrawToolButtonSkin(TBitmap* B) {
  TspDataSkinButtonControl* D = SkinButtonDescription(FSD, {u"resizetoolbutton", u"resizebutton"});
  if (!D) return;
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  const bool Open = FListBox->Visible(), Hot = FMouseIn || Focused();
  // Open: the pressed picture (none: the plain one); hot: the active one.
  if (Open)
    DrawSkinButtonPiece(C, TRect(0, 0, W, H), FSD, D, !RectIsEmpty(D->DownSkinRect), !RectIsEmpty(D->DownSkinRect));
  else
    DrawSkinButtonPiece(C, TRect(0, 0, W, H), FSD, D, false, Hot);
  if (FUseSkinFont) {
    C->Font()->SetName(D->FontName);
    C->Font()->SetStyle(D->FontStyle);
    C->Font()->SetHeight(D->FontHeight);
  } else {
    AssignFont(C->Font(), DefaultFont());
  }
  C->Font()->SetCharset(SkinTextCharset(FSD, DefaultFont()));
  C->Font()->SetColor(Open ? D->DownFontColor : Hot ? D->ActiveFontColor : Enabled() ? D->FontColor : D->DisabledFontColor);
  CBItem.State = 0;
  DrawShownItem(C, W - 19, H - 4, TRect(2, 2, W - 17, H - 2));
  const TRect MarkArea(W - 15, 0, W, H);
  if (RectIsEmpty(D->MenuMarkerRect)) {
    DrawDropDownMark(C, MarkArea, Open ? D->DownFontColor : C->Font()->Color());
    return;
  }
  TRect R = D->MenuMarkerRect;
  if (Open && !RectIsEmpty(D->MenuMarkerDownRect))
    R = D->MenuMarkerDownRect;
  else if (Open && !RectIsEmpty(D->MenuMarkerActiveRect))
    R = D->MenuMarkerActiveRect;
  else if (Hot && !RectIsEmpty(D->MenuMarkerActiveRect))
    R = D->MenuMarkerActiveRect;
  DrawMarker(C, SkinPicture(D->PictureIndex), R, D->MenuMarkerTransparentColor, MarkArea, 0);
}

void TspSkinCustomComboBox::DrawStretchedButton(TCanvas* C) {
  TspDataSkinButtonControl* D = SkinButtonDescription(FSD, {u"combobutton", u"editbutton", u"resizebutton"});
  if (!D || RectIsEmpty(Button.R)) return;
  const bool Pressed = Button.Down && Button.MouseIn;
  DrawSkinButtonPiece(C, Button.R, FSD, D, Button.Down, Button.MouseIn);
  if (RectIsEmpty(D->MenuMarkerRect)) {
    if (!Enabled()) return;
    TRect A = Button.R;
    if (Pressed) A.Top += 2;
    DrawDirectionArrow(C, A, Pressed ? D->DownFontColor : Button.MouseIn ? D->ActiveFontColor : D->FontColor, 4);
    return;
  }
  TRect R = D->MenuMarkerRect;
  if (Pressed && !RectIsEmpty(D->MenuMarkerDownRect))
    R = D->MenuMarkerDownRect;
  else if (Button.MouseIn && !RectIsEmpty(D->MenuMarkerActiveRect))
    R = D->MenuMarkerActiveRect;
  DrawMarker(C, SkinPicture(D->PictureIndex), R, D->MenuMarkerTransparentColor, Button.R, Pressed ? 1 : 0);
}

void TspSkinCustomComboBox::CreateControlSkinImage(TBitmap* B) {
  CalcRects();
  if (FToolButtonStyle) {
    DrawToolButtonSkin(B);
    return;
  }
  if (!SkinnedCombo()) {
    TspSkinCustomControl::CreateControlSkinImage(B);
    return;
  }
  const bool Hot = FMouseIn || Focused();
  if (FUseSkinSize && Hot && !RectIsEmpty(ActiveSkinRect) && Picture)
    CreateHorzThreeSliceImage(LTPt.X, SkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect, Width(), Height(),
                              StretchEffect);
  else if (!FUseSkinSize && Picture)
    CreateClientStretchImage(B, Picture, Hot && !RectIsEmpty(ActiveSkinRect) ? ActiveSkinRect : SkinRect, ClRect,
                             true);
  else
    TspSkinCustomControl::CreateControlSkinImage(B);
  TCanvas* C = B->Canvas();
  if (FUseSkinSize) {
    TRect State;
    if (!Enabled() && !RectIsEmpty(UnEnabledButtonRect))
      State = UnEnabledButtonRect;
    else if (Button.Down && Button.MouseIn)
      State = DownButtonRect;
    else if (Button.MouseIn)
      State = ActiveButtonRect;
    if (!RectIsEmpty(State) && Picture) C->CopyRect(Button.R, Picture->Canvas(), State);
  } else {
    DrawStretchedButton(C);
  }
  if (FStyle == spcbFixedStyle) DrawSkinItem(C);
}

void TspSkinCustomComboBox::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  switch (M.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) CalcRects();
      return;
    case WM_SETFOCUS:
      if (FEdit) {
        if (FEdit->CanFocus()) FEdit->SetFocus();
        if (*Alive && SkinnedCombo() && !RectIsEmpty(ActiveSkinRect) && FEdit) {
          FEdit->Font()->SetColor(ActiveFontColor);
          Invalidate();
        }
        return;
      }
      TspSkinCustomControl::Dispatch(M);
      if (*Alive) Repaint();
      return;
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (FStyle == spcbFixedStyle && FListBox->Visible()) CloseUp(false);
      if (!*Alive) return;
      Repaint();
      if (FEdit && SkinnedCombo() && !RectIsEmpty(ActiveSkinRect)) {
        FEdit->Font()->SetColor(FontColor);
        Invalidate();
      }
      return;
    case WM_ERASEBKGND:
      if (!FromWMPaint && M.WParam) {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        PaintContentTo(DC);
        // The inner edit's text at its place in the same device context.
        PaintChildInto(DC, FEdit);
      }
      M.Result = 1;
      return;
    case WM_TIMER:
      if (M.WParam == DragTimer) {
        const Integer I = FListBox->ItemIndex();
        if (TimerMode == 1 && I >= 1)
          FListBox->SetItemIndex(I - 1);
        else if (TimerMode == 2 && I < Items()->Count() - 1)
          FListBox->SetItemIndex(I + 1);
        if (FListBox->ScrollBar) FListBox->UpDateScrollBar();
        return;
      }
      break;
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      M.Result = 1;
      return;
    case CM_TEXTCHANGED: {
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      const bool Own = FromEdit;
      if (FStyle == spcbEditStyle && FEdit && !Own) FEdit->SetText(Text());
      if (!*Alive) return;
      Repaint();
      if (OnChange) OnChange(this);
      if (*Alive && Own) Change();
      return;
    }
    case CM_MOUSEENTER:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      FMouseIn = true;
      if (FEdit && !FEdit->Focused() && SkinnedCombo() && !RectIsEmpty(ActiveSkinRect))
        FEdit->Font()->SetColor(ActiveFontColor);
      if (FToolButtonStyle || (SkinnedCombo() && !RectIsEmpty(ActiveSkinRect))) Invalidate();
      return;
    case CM_MOUSELEAVE:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      FMouseIn = false;
      if (Button.MouseIn) {
        Button.MouseIn = false;
        Repaint();
      }
      if (FEdit && !FEdit->Focused() && SkinnedCombo() && !RectIsEmpty(ActiveSkinRect))
        FEdit->Font()->SetColor(FontColor);
      if (FToolButtonStyle || (SkinnedCombo() && !RectIsEmpty(ActiveSkinRect))) Invalidate();
      return;
    case CM_CANCELMODE:
      if (!IsListControl(reinterpret_cast<TControl*>(M.LParam))) CloseUp(false);
      return;
    case CM_WANTSPECIALKEY:
      switch (M.WParam) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
          M.Result = 1;
          return;
        case VK_RETURN:
        case VK_ESCAPE:
          // While the list is open the keys close it; they reach the form's
          // default and cancel buttons only while it is closed.
          M.Result = FListBox->Visible() ? 1 : 0;
          return;
      }
      break;
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(M);
      if (!*Alive) return;
      if (FEdit) {
        GetSkinData();
        FEdit->Font()->SetColor(!Enabled()         ? DisabledTextColor()
                                : SkinnedCombo()   ? FontColor
                                                   : DefaultFont()->Color());
      }
      Repaint();
      return;
  }
  TspSkinCustomControl::Dispatch(M);
}
