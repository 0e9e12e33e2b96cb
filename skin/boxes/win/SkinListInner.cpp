// TspListBox, the inner list of the skinned list box: an owner-drawn list
// box of the class library that paints its whole visible range itself and
// tells its owner about input, content and scrolling changes.
#include <algorithm>

#include "rtl/ScopeGuard.h"
#include "skin/boxes/ListLayout.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/SkinMessages.h"

TspListBox::TspListBox(TComponent* AOwner) : TListBox(AOwner) {
  FControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
}

void TspListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  Params.Style |= WS_TABSTOP;
  Params.ClassStyle = CS_DBLCLKS;
}

void TspListBox::CreateWnd() {
  TListBox::CreateWnd();
  if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

void TspListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldW = Width();
  TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  const Integer Off = ListOffsetAfterResize(FHorizontalExtentValue, OldW, Width());
  if (Off != FHorizontalExtentValue) {
    FHorizontalExtentValue = Off;
    Invalidate();
  }
}

void TspListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
  if (*Alive) TListBox::MouseDown(Button, Shift, X, Y);
}

void TspListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
  if (*Alive) TListBox::MouseUp(Button, Shift, X, Y);
}

void TspListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
  if (*Alive) TListBox::MouseMove(Shift, X, Y);
}

void TspListBox::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  if (SkinListBox) {
    SkinListBox->ListBoxKeyDown(Key, Shift);
    if (!*Alive) return;
    if (TspSkinScrollBar* HB = SkinListBox->HScrollBar; HB && (Key == VK_LEFT || Key == VK_RIGHT)) {
      HB->SetPosition(HB->Position() + (Key == VK_LEFT ? -HB->SmallChange() : HB->SmallChange()));
      Key = 0;
      return;
    }
  }
  TListBox::KeyDown(Key, Shift);
}

void TspListBox::KeyUp(Word& Key, TShiftState Shift) {
  auto Alive = LivenessToken();
  if (SkinListBox) SkinListBox->ListBoxKeyUp(Key, Shift);
  if (*Alive) TListBox::KeyUp(Key, Shift);
}

void TspListBox::KeyPress(Char& Key) {
  auto Alive = LivenessToken();
  if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
  if (*Alive) TListBox::KeyPress(Key);
}

void TspListBox::Click() {
  auto Alive = LivenessToken();
  if (SkinListBox) SkinListBox->ListBoxClick();
  if (*Alive) TListBox::Click();
}

void TspListBox::PaintBackground(HDC DC, const TRect& R) {
  if (SkinListBox) {
    SkinListBox->PaintListBackground(DC, R);
    return;
  }
  HBRUSH Br = CreateSolidBrush(ColorToRGB(clWindow));
  RECT WR{R.Left, R.Top, R.Right, R.Bottom};
  FillRect(DC, &WR, Br);
  DeleteObject(Br);
}

void TspListBox::DrawItemTo(HDC DC, Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (Index < 0 || Index >= Items()->Count()) return;
  TCanvas C;
  C.SetHandle(DC);
  TFinally Release([&] { C.SetHandle(nullptr); });
  if (SkinListBox) {
    SkinListBox->DrawListItem(&C, Index, Rect, State);
    return;
  }
  // Without an owner: the plain look.
  C.Font()->Assign(Font());
  C.Brush()->SetColor((State & odSelected) ? clHighlight : clWindow);
  C.Font()->SetColor((State & odSelected) ? clHighlightText : Font()->Color());
  C.FillRect(Rect);
  C.TextOut(Rect.Left + 2, Rect.Top, Items()->Strings(Index));
}

void TspListBox::PaintWindow(HDC DC) {
  if (Width() <= 0 || Height() <= 0 || !HandleAllocated()) return;
  const Integer Saved = SaveDC(DC);
  TFinally Restore([&] { RestoreDC(DC, Saved); });
  const Integer IH = ItemHeight();
  const TspListPaintRange R = ListPaintRange(TopIndex(), ClientHeight(), IH, Columns(), Items()->Count());
  const Integer Sel = ItemIndex();
  const bool HasFocus = GetFocus() == Handle();
  const bool AnySelected = MultiSelect() && SelCount() > 0;
  // The description is read once for the whole range.
  if (SkinListBox) SkinListBox->GetSkinData();
  if (SkinListBox) SkinListBox->FItemsPrepared = true;
  TFinally Prepared([&] {
    if (SkinListBox) SkinListBox->FItemsPrepared = false;
  });
  // The whole range is composed in memory and goes to the window in one
  // copy (one transfer to the display instead of one per row).
  const Integer W = ClientWidth(), H = ClientHeight();
  auto B = NewSkinBitmap(W, H);
  HDC MemDC = B->Canvas()->Handle();
  Integer Bottom = 0;
  for (Integer I = R.First; I <= R.Last; ++I) {
    TOwnerDrawState State = 0;
    if (I == Sel) {
      State = odSelected;
      if (HasFocus) State |= odFocused;
    } else if (AnySelected && Selected(I)) {
      State = odSelected;
    }
    const TRect IR = ItemRect(I);
    DrawItemTo(MemDC, I, IR, State);
    Bottom = std::max(Bottom, IR.Bottom);
  }
  if (Columns() == 0 && Bottom < H) PaintBackground(MemDC, TRect(0, Bottom, W, H));
  if (Columns() == 0) {
    BitBlt(DC, 0, 0, W, H, MemDC, 0, 0, SRCCOPY);
  } else {
    // A multi-column list leaves the area after its last column as it is.
    for (Integer I = R.First; I <= R.Last; ++I) {
      const TRect IR = ItemRect(I);
      BitBlt(DC, IR.Left, IR.Top, IR.Width(), IR.Height(), MemDC, IR.Left, IR.Top, SRCCOPY);
    }
  }
}

void TspListBox::WndProc(TMessage& M) {
  auto Alive = LivenessToken();
  if (SkinListBox) {
    bool Continue = true;
    SkinListBox->ListBoxWndProcHook(M, Continue);
    if (!*Alive || !Continue) return;
  }
  if (M.Msg == CM_ENTER && SkinListBox) SkinListBox->ListBoxEnter();
  if (M.Msg == CM_EXIT && SkinListBox) SkinListBox->ListBoxExit();
  if (!*Alive) return;
  TListBox::WndProc(M);
  if (!*Alive || !SkinListBox) return;
  switch (M.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
      // Inside BeginUpdate .. EndUpdate the bars follow once, at the end.
      if (Items()->UpdateCount() > 0) {
        FScrollBarPending = true;
        break;
      }
      SkinListBox->UpDateScrollBar();
      break;
    case WM_SETREDRAW:
      if (M.WParam && FScrollBarPending) {
        FScrollBarPending = false;
        SkinListBox->UpDateScrollBar();
      }
      break;
    case WM_ERASEBKGND:
      SkinListBox->UpDateScrollBar();
      break;
    case WM_LBUTTONDBLCLK:
      SkinListBox->ListBoxDblClick();
      break;
    case WM_MOUSEWHEEL: {
      const bool Up = static_cast<int32_t>(static_cast<uint32_t>(M.WParam)) > 0;
      if (SkinListBox->ScrollBar) {
        SendMessageW(Handle(), WM_VSCROLL, Up ? SB_LINEUP : SB_LINEDOWN, 0);
        if (*Alive) SkinListBox->UpDateScrollBar();
      } else if (TspSkinScrollBar* HB = SkinListBox->HScrollBar) {
        HB->SetPosition(HB->Position() + (Up ? -HB->SmallChange() : HB->SmallChange()));
      }
      break;
    }
  }
}

void TspListBox::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_NCCALCSIZE:
      M.Result = 0;
      return;
    case WM_NCHITTEST:
      M.Result = HTCLIENT;
      return;
    case FEM_PAINT_FRAME:
      M.Result = SP_FRAME_PAINTED;
      return;
    case SP_PAINT_LIST_BACKGROUND:
      if (M.LParam == SP_PAINT_EX_MAGIC && Items()->Count() == 0) {
        if (M.WParam) PaintBackground(reinterpret_cast<HDC>(M.WParam), TRect(0, 0, ClientWidth(), ClientHeight()));
        M.Result = SP_PAINT_EX_MAGIC;
        return;
      }
      break;
    case WM_PAINT:
      PaintHandler(M);
      return;
    case WM_ERASEBKGND:
      if (Width() > 0 && Height() > 0) PaintBackground(reinterpret_cast<HDC>(M.WParam), TRect(0, 0, Width(), Height()));
      M.Result = 1;
      return;
    case CN_DRAWITEM: {
      auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
      const Integer Index = static_cast<Integer>(D->itemID);
      DrawItemTo(D->hDC, Index, TRect(D->rcItem.left, D->rcItem.top, D->rcItem.right, D->rcItem.bottom),
                 static_cast<TOwnerDrawState>(LOWORD(D->itemState)));
      M.Result = 1;
      return;
    }
  }
  TListBox::Dispatch(M);
}
