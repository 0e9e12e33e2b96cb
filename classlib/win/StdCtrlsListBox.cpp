// The list box wrapper over Wine's LISTBOX.
#include <algorithm>

#include "classlib/StdCtrls.h"
#include "rtl/ScopeGuard.h"

namespace {

}  // namespace

// ---------------------------------------------------------------------------
// TListBoxStrings

Integer TListBoxStrings::Count() const {
  if (FListBox->FHandle) return static_cast<Integer>(SendMessageW(FListBox->FHandle, LB_GETCOUNT, 0, 0));
  return FListBox->FSaveItems->Count();
}

String TListBoxStrings::Strings(Integer Index) const {
  if (!FListBox->FHandle) return FListBox->FSaveItems->Strings(Index);
  CheckIndex(Index);
  LRESULT Len = SendMessageW(FListBox->FHandle, LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
  if (Len == LB_ERR) CheckIndex(-1);
  String S(static_cast<size_t>(Len) + 1, u'\0');
  LRESULT Got = SendMessageW(FListBox->FHandle, LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.data()));
  S.resize(Got == LB_ERR ? 0 : static_cast<size_t>(std::min(Got, Len)));
  return S;
}

void TListBoxStrings::SetStrings(Integer Index, const String& S) {
  CheckIndex(Index);
  bool WasSelected = FListBox->ItemIndex() == Index;
  TObject* O = Objects(Index);
  Delete(Index);
  InsertObject(Index, S, O);
  if (WasSelected) FListBox->SetItemIndex(Index);
}

TObject* TListBoxStrings::Objects(Integer Index) const {
  if (!FListBox->FHandle) return FListBox->FSaveItems->Objects(Index);
  CheckIndex(Index);
  LRESULT D = SendMessageW(FListBox->FHandle, LB_GETITEMDATA, static_cast<WPARAM>(Index), 0);
  return D == LB_ERR ? nullptr : reinterpret_cast<TObject*>(D);
}

void TListBoxStrings::SetObjects(Integer Index, TObject* AObject) {
  if (!FListBox->FHandle) {
    FListBox->FSaveItems->SetObjects(Index, AObject);
    return;
  }
  CheckIndex(Index);
  SendMessageW(FListBox->FHandle, LB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

Integer TListBoxStrings::InsertCore(Integer Index, const String& S, TObject* AObject, bool Append) {
  if (!FListBox->FHandle) {
    TStringList* L = FListBox->FSaveItems;
    if (Append || L->Sorted()) return L->AddObject(S, AObject);
    L->InsertObject(Index, S, AObject);
    return Index;
  }
  if (!Append && (Index < 0 || Index > Count())) CheckIndex(Index);
  LRESULT R = (Append || FListBox->FSorted)
                  ? SendMessageW(FListBox->FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()))
                  : SendMessageW(FListBox->FHandle, LB_INSERTSTRING, static_cast<WPARAM>(Index),
                                 reinterpret_cast<LPARAM>(S.c_str()));
  if (R < 0) throw EOutOfResources(u"Insufficient space to add the list box item");
  if (AObject) SendMessageW(FListBox->FHandle, LB_SETITEMDATA, static_cast<WPARAM>(R), reinterpret_cast<LPARAM>(AObject));
  return static_cast<Integer>(R);
}

void TListBoxStrings::Insert(Integer Index, const String& S) { InsertCore(Index, S, nullptr, false); }

void TListBoxStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  InsertCore(Index, S, AObject, false);
}

Integer TListBoxStrings::Add(const String& S) { return InsertCore(-1, S, nullptr, true); }

Integer TListBoxStrings::AddObject(const String& S, TObject* AObject) { return InsertCore(-1, S, AObject, true); }

void TListBoxStrings::Delete(Integer Index) {
  if (!FListBox->FHandle) {
    FListBox->FSaveItems->Delete(Index);
    if (FListBox->FSaveIndex == Index)
      FListBox->FSaveIndex = -1;
    else if (FListBox->FSaveIndex > Index)
      --FListBox->FSaveIndex;
    return;
  }
  CheckIndex(Index);
  SendMessageW(FListBox->FHandle, LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
}

void TListBoxStrings::Clear() {
  if (!FListBox->FHandle) {
    FListBox->FSaveItems->Clear();
    FListBox->FSaveIndex = -1;
    FListBox->FSaveTop = 0;
    FListBox->FSaveSelected.clear();
    return;
  }
  SendMessageW(FListBox->FHandle, LB_RESETCONTENT, 0, 0);
}

Integer TListBoxStrings::IndexOf(const String& S) const {
  if (!FListBox->FHandle) return FListBox->FSaveItems->IndexOf(S);
  LRESULT R = SendMessageW(FListBox->FHandle, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
  return R == LB_ERR ? -1 : static_cast<Integer>(R);
}

void TListBoxStrings::SetUpdateState(bool Updating) {
  if (!FListBox->FHandle) return;
  SendMessageW(FListBox->FHandle, WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
  if (!Updating) FListBox->Invalidate();
}

// ---------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TListBoxStrings(this)), FSaveItems(new TStringList()),
      FCanvas(new TControlCanvas(this)) {
  FControlStyle = csSetCaption | csDoubleClicks | csOpaque;
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FColor = clWindow;
}

TCustomListBox::~TCustomListBox() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  delete FCanvas;
  delete FItems;
  delete FSaveItems;
  if (FBrush) DeleteObject(FBrush);
}

void TCustomListBox::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.Style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
  P.ExStyle |= WS_EX_CLIENTEDGE;
  if (FSorted) P.Style |= LBS_SORT;
  if (FMultiSelect) P.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FColumns > 0) P.Style |= LBS_MULTICOLUMN | WS_HSCROLL;
  if (!FIntegralHeight) P.Style |= LBS_NOINTEGRALHEIGHT;
  if (FStyle == lbOwnerDrawFixed) P.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) P.Style |= LBS_OWNERDRAWVARIABLE;
  P.ClassStyle = SuperclassStyle(u"LISTBOX");
}

void TCustomListBox::CreateWnd() {
  TCreateParams P;
  CreateParams(P);
  FDefWndProc = RegisterSuperclass(P, u"LISTBOX");
  TWinControl::CreateWnd();
  if (FStyle == lbOwnerDrawFixed) SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  if (FColumns > 0) SendMessageW(FHandle, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(FWidth / FColumns), 0);
  // The items kept while there was no window go into it.
  SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
  for (Integer I = 0; I < FSaveItems->Count(); ++I) {
    String S = FSaveItems->Strings(I);
    LRESULT R = SendMessageW(FHandle, FSorted ? LB_ADDSTRING : LB_INSERTSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(S.c_str()));
    if (R >= 0 && FSaveItems->Objects(I))
      SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(R), reinterpret_cast<LPARAM>(FSaveItems->Objects(I)));
  }
  SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
  FSaveItems->Clear();
  if (FMultiSelect)
    for (Integer I : FSaveSelected) SendMessageW(FHandle, LB_SETSEL, TRUE, I);
  FSaveSelected.clear();
  if (FSaveIndex >= 0) SetItemIndex(FSaveIndex);
  if (FSaveTop > 0) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(FSaveTop), 0);
  FSaveIndex = -1;
  FSaveTop = 0;
}

void TCustomListBox::DestroyWnd() {
  if (FHandle && !FComponentState.Contains(csDestroying)) {
    // Read everything while the window still answers.
    Integer N = FItems->Count();
    std::vector<std::pair<String, TObject*>> Saved;
    Saved.reserve(static_cast<size_t>(N));
    for (Integer I = 0; I < N; ++I) Saved.emplace_back(FItems->Strings(I), FItems->Objects(I));
    Integer Index = ItemIndex();
    Integer Top = TopIndex();
    std::vector<Integer> Sel;
    if (FMultiSelect)
      for (Integer I = 0; I < N; ++I)
        if (SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(I), 0) > 0) Sel.push_back(I);
    FSaveItems->Clear();
    FSaveItems->SetSorted(false);
    for (auto& [S, O] : Saved) FSaveItems->AddObject(S, O);
    FSaveItems->SetSorted(FSorted);  // later additions keep the order
    FSaveIndex = Index;
    FSaveTop = Top;
    FSaveSelected = std::move(Sel);
  }
  TWinControl::DestroyWnd();
}

Integer TCustomListBox::ItemIndex() {
  if (!FHandle) return FSaveIndex;
  if (FMultiSelect) return static_cast<Integer>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
  LRESULT R = SendMessageW(FHandle, LB_GETCURSEL, 0, 0);
  return R == LB_ERR ? -1 : static_cast<Integer>(R);
}

void TCustomListBox::SetItemIndex(Integer Value) {
  if (!FHandle) {
    FSaveIndex = (Value >= 0 && Value < FSaveItems->Count()) ? Value : -1;
    return;
  }
  if (FMultiSelect) {
    SendMessageW(FHandle, LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
    return;
  }
  // The native list reports no selection change made by LB_SETCURSEL: no
  // click event.
  SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

Integer TCustomListBox::TopIndex() {
  if (!FHandle) return FSaveTop;
  return static_cast<Integer>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer Value) {
  if (!FHandle) {
    FSaveTop = std::max(0, Value);
    return;
  }
  SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

Integer TCustomListBox::ItemHeight() {
  if (FHandle && FStyle == lbStandard) return static_cast<Integer>(SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(Integer Value) {
  if (Value <= 0 || Value == FItemHeight) return;
  FItemHeight = Value;
  if (FHandle && FStyle != lbStandard) {
    SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, Value);
    Invalidate();
  }
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (!FHandle) {
    FSaveItems->SetSorted(Value);
    FSaveIndex = -1;
    return;
  }
  RecreateWnd();
}

void TCustomListBox::SetColumns(Integer Value) {
  if (Value < 0) Value = 0;
  if (FColumns == Value) return;
  bool StyleChanges = (FColumns == 0) != (Value == 0);
  FColumns = Value;
  if (StyleChanges)
    RecreateWnd();
  else if (FHandle)
    SendMessageW(FHandle, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(FWidth / Value), 0);
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

Integer TCustomListBox::SelCount() {
  if (!FMultiSelect) return -1;
  if (!FHandle) return static_cast<Integer>(FSaveSelected.size());
  return static_cast<Integer>(SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0));
}

bool TCustomListBox::Selected(Integer Index) {
  if (!FHandle) {
    if (!FMultiSelect) return Index == FSaveIndex;
    return std::find(FSaveSelected.begin(), FSaveSelected.end(), Index) != FSaveSelected.end();
  }
  LRESULT R = SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(Index), 0);
  if (R == LB_ERR) TList::Error(SListIndexError, Index);
  return R > 0;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  if (Index < 0 || Index >= FItems->Count()) TList::Error(SListIndexError, Index);
  if (!FHandle) {
    if (!FMultiSelect) {
      if (Value)
        FSaveIndex = Index;
      else if (FSaveIndex == Index)
        FSaveIndex = -1;
      return;
    }
    auto It = std::find(FSaveSelected.begin(), FSaveSelected.end(), Index);
    if (Value && It == FSaveSelected.end()) FSaveSelected.push_back(Index);
    if (!Value && It != FSaveSelected.end()) FSaveSelected.erase(It);
    return;
  }
  if (FMultiSelect)
    SendMessageW(FHandle, LB_SETSEL, Value ? TRUE : FALSE, Index);
  else
    SendMessageW(FHandle, LB_SETCURSEL, Value ? static_cast<WPARAM>(Index) : static_cast<WPARAM>(-1), 0);
}

Integer TCustomListBox::ItemAtPos(const TPoint& P, bool Existing) {
  HWND H = Handle();
  RECT C{};
  GetClientRect(H, &C);
  Integer N = FItems->Count();
  if (P.X >= C.left && P.X < C.right && P.Y >= C.top && P.Y < C.bottom) {
    for (Integer I = std::max<Integer>(0, TopIndex()); I < N; ++I) {
      RECT R{};
      if (SendMessageW(H, LB_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&R)) == LB_ERR) break;
      if (R.top >= C.bottom && FColumns == 0) break;
      if (P.X >= R.left && P.X < R.right && P.Y >= R.top && P.Y < R.bottom) return I;
    }
  }
  return Existing ? -1 : N;
}

TRect TCustomListBox::ItemRect(Integer Index) {
  HWND H = Handle();
  Integer N = FItems->Count();
  RECT R{};
  if (Index == 0 || Index < N) {
    SendMessageW(H, LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
  } else if (Index == N) {
    // One past the last item: where the next one would go.
    SendMessageW(H, LB_GETITEMRECT, static_cast<WPARAM>(Index - 1), reinterpret_cast<LPARAM>(&R));
    Integer Hgt = R.bottom - R.top;
    R.top += Hgt;
    R.bottom += Hgt;
  }
  return TRect(R.left, R.top, R.right, R.bottom);
}

void TCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    Fire(OnDrawItem, this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

void TCustomListBox::KeyPress(Char& Key) {
  auto Alive = FAlive;
  TWinControl::KeyPress(Key);
  if (!*Alive || !FAutoComplete || Key == 0 || !FHandle) return;
  DWORD Now = GetTickCount();
  if (Now - FLastKeyTime >= 500) FFilter.clear();
  FLastKeyTime = Now;
  if (Key == VK_BACK) {
    if (!FFilter.empty()) FFilter.pop_back();
  } else if (Key >= 32) {
    FFilter += Key;
  } else {
    return;  // Enter, Esc and other control characters go on
  }
  Char Typed = Key;
  Key = 0;  // no native search on top of ours
  if (FFilter.empty()) {
    if (Typed == VK_BACK) Key = Typed;
    return;
  }
  LRESULT Idx = SendMessageW(FHandle, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(FFilter.c_str()));
  if (Idx == LB_ERR) return;
  if (FMultiSelect) {
    SendMessageW(FHandle, LB_SETSEL, FALSE, -1);
    SendMessageW(FHandle, LB_SETSEL, TRUE, Idx);
  }
  SetItemIndex(static_cast<Integer>(Idx));
  Click();
}

void TCustomListBox::MeasureItem(Integer Index, Integer& Height) { Fire(OnMeasureItem, this, Index, Height); }

void TCustomListBox::CNDrawItem(TMessage& M) {
  auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
  TOwnerDrawState State = static_cast<TOwnerDrawState>(LOWORD(D->itemState));
  FCanvas->Lock();
  FCanvas->SetHandle(D->hDC);
  {
    TFinally Done([&] {
      FCanvas->SetHandle(nullptr);
      FCanvas->Unlock();
    });
    FCanvas->SetFont(FFont);
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->Brush()->SetColor(FColor);
    TRect R(D->rcItem.left, D->rcItem.top, D->rcItem.right, D->rcItem.bottom);
    Integer Index = static_cast<Integer>(D->itemID);
    if (Index >= 0 && (State & odSelected)) {
      FCanvas->Brush()->SetColor(clHighlight);
      FCanvas->Font()->SetColor(clHighlightText);
    }
    if (Index >= 0)
      DrawItem(Index, R, State);
    else
      FCanvas->FillRect(R);
    if (State & odFocused) DrawFocusRect(D->hDC, &D->rcItem);
  }
  M.Result = 1;
}

LRESULT TCustomListBox::CtlColor(HDC DC) {
  if (!FBrush || FBrushColor != FColor) {
    if (FBrush) DeleteObject(FBrush);
    FBrush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor)));
    FBrushColor = FColor;
  }
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
  SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(FColor)));
  return reinterpret_cast<LRESULT>(FBrush);
}

void TCustomListBox::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CN_COMMAND:
      switch (HIWORD(M.WParam)) {
        case LBN_SELCHANGE:
          Click();
          return;
        case LBN_DBLCLK:
          DblClick();
          return;
      }
      return;
    case CN_DRAWITEM:
      CNDrawItem(M);
      return;
    case CN_MEASUREITEM: {
      auto* D = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
      Integer H = FItemHeight;
      if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<Integer>(D->itemID), H);
      D->itemHeight = static_cast<UINT>(H);
      M.Result = 1;
      return;
    }
    case CN_CTLCOLORLISTBOX:
      M.Result = CtlColor(reinterpret_cast<HDC>(M.WParam));
      return;
  }
  TWinControl::Dispatch(M);
}
