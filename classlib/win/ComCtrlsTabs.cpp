// The tab control and the page control over Wine's SysTabControl32.
#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/win/ComCtrlsCommon.h"
#include "rtl/ScopeGuard.h"

namespace {

// The captions of a tab control: kept here, pushed to the window on change.
class TTabStrings : public TStrings {
 public:
  explicit TTabStrings(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
  Integer Count() const override { return static_cast<Integer>(FItems.size()); }
  String Strings(Integer Index) const override {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].first;
  }
  void SetStrings(Integer Index, const String& S) override {
    CheckIndex(Index);
    FItems[static_cast<size_t>(Index)].first = S;
    Notify();
  }
  TObject* Objects(Integer Index) const override {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].second;
  }
  void SetObjects(Integer Index, TObject* AObject) override {
    CheckIndex(Index);
    FItems[static_cast<size_t>(Index)].second = AObject;
  }
  void Insert(Integer Index, const String& S) override { InsertObject(Index, S, nullptr); }
  void InsertObject(Integer Index, const String& S, TObject* AObject) override {
    if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
    FItems.insert(FItems.begin() + Index, {S, AObject});
    Notify();
  }
  void Delete(Integer Index) override {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    Notify();
  }
  void Clear() override {
    FItems.clear();
    Notify();
  }

 protected:
  void SetUpdateState(bool Updating) override {
    FUpdating = Updating;
    if (!Updating) Notify();
  }

 private:
  void Notify() {
    if (!FUpdating && FChanged) FChanged();
  }
  std::vector<std::pair<String, TObject*>> FItems;
  std::function<void()> FChanged;
  bool FUpdating = false;
};

}  // namespace

// ---------------------------------------------------------------------------
// TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TWinControl(AOwner), FTabs(new TTabStrings([this] { TabsChanged(); })), FCanvas(new TControlCanvas(this)) {
  FControlStyle |= csAcceptsControls | csDoubleClicks;
  FControlStyle &= ~csCaptureMouse;
  FTabStop = true;
  FColor = clBtnFace;
  SetBounds(0, 0, 289, 193);
}

TCustomTabControl::~TCustomTabControl() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  delete FTabs;
  FTabs = nullptr;
  delete FCanvas;
}

void TCustomTabControl::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.ClassStyle = SuperclassStyle(u"SysTabControl32");
  FDefWndProc = RegisterSuperclass(P, u"SysTabControl32");
  P.Style |= WS_TABSTOP | WS_CLIPCHILDREN;
  if (FMultiLine) P.Style |= TCS_MULTILINE;
  if (FStyle == tsButtons) P.Style |= TCS_BUTTONS;
  if (FStyle == tsFlatButtons) P.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  switch (FTabPosition) {
    case tpBottom:
      P.Style |= TCS_BOTTOM;
      break;
    case tpLeft:
      P.Style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case tpRight:
      P.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
    default:
      break;
  }
  if (FTabWidth > 0) P.Style |= TCS_FIXEDWIDTH;
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FTabPadding.X >= 0 || FTabPadding.Y >= 0)
    SendMessageW(FHandle, TCM_SETPADDING, 0, MAKELPARAM(std::max(0, FTabPadding.X), std::max(0, FTabPadding.Y)));
  if (FImages) SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(comctl::ImageListHandle(FImages)));
  ApplyItemSize();
  Integer Index = FTabIndex;
  FPushedTabs.clear();  // a new window holds no tabs
  TabsChanged();
  if (Index >= 0) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
  Realign();
}

void TCustomTabControl::DestroyWnd() {
  if (FHandle) FTabIndex = static_cast<Integer>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
  TWinControl::DestroyWnd();
}

void TCustomTabControl::PaintWindow(HDC DC) {
  // With graphic children the class library paints: the native control
  // draws into the same DC first.
  TMessage P{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(P);
}

void TCustomTabControl::PushTabs(const std::vector<TTabItem>& Tabs) {
  if (!FHandle) return;
  FUpdatingTabs = true;
  auto Done = TFinally([this] { FUpdatingTabs = false; });
  auto Send = [this](UINT Msg, size_t I, const TTabItem& T) {
    TCITEMW It{};
    It.mask = TCIF_TEXT | TCIF_IMAGE;
    It.pszText = const_cast<WCHAR*>(comctl::W(T.Caption));
    It.iImage = T.Image;
    SendMessageW(FHandle, Msg, I, reinterpret_cast<LPARAM>(&It));
  };
  std::vector<TTabItem>& Old = FPushedTabs;
  if (FRemeasureTabs || static_cast<size_t>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0)) != Old.size()) {
    // Everything again (also when the window's items were changed behind us).
    FRemeasureTabs = false;
    SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
    Old.clear();
  }
  // Only the run between the common head and the common tail differs.
  size_t Head = 0;
  while (Head < Old.size() && Head < Tabs.size() && Old[Head] == Tabs[Head]) ++Head;
  size_t Tail = 0;
  while (Tail < Old.size() - Head && Tail < Tabs.size() - Head &&
         Old[Old.size() - 1 - Tail] == Tabs[Tabs.size() - 1 - Tail])
    ++Tail;
  size_t OldEnd = Old.size() - Tail, NewEnd = Tabs.size() - Tail;
  size_t I = Head;
  for (; I < OldEnd && I < NewEnd; ++I)
    if (!(Old[I] == Tabs[I])) Send(TCM_SETITEMW, I, Tabs[I]);
  for (size_t K = I; K < OldEnd; ++K) SendMessageW(FHandle, TCM_DELETEITEM, I, 0);
  for (; I < NewEnd; ++I) Send(TCM_INSERTITEMW, I, Tabs[I]);
  Old = Tabs;
}

void TCustomTabControl::RemeasureTabs() { FRemeasureTabs = true; }

void TCustomTabControl::TabsChanged() {
  if (!FHandle) return;
  Integer Index = TabIndex();
  std::vector<TTabItem> C;
  for (Integer I = 0; I < FTabs->Count(); ++I) C.push_back({FTabs->Strings(I), I});
  PushTabs(C);
  if (Index >= static_cast<Integer>(C.size())) Index = static_cast<Integer>(C.size()) - 1;
  SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
  Realign();
  Invalidate();
}

Integer TCustomTabControl::TabIndex() {
  if (FHandle) return static_cast<Integer>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
  return FTabIndex;
}

void TCustomTabControl::SetTabIndex(Integer Value) {
  FTabIndex = Value;
  if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  FMultiLine = Value;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  RecreateWnd();
}

void TCustomTabControl::ApplyItemSize() {
  if (FHandle && (FTabWidth > 0 || FTabHeight > 0)) {
    SendMessageW(FHandle, TCM_SETITEMSIZE, 0, MAKELPARAM(std::max<SmallInt>(0, FTabWidth), std::max<SmallInt>(0, FTabHeight)));
    Realign();
  }
}

void TCustomTabControl::SetTabHeight(SmallInt Value) {
  if (FTabHeight == Value) return;
  FTabHeight = Value;
  ApplyItemSize();
}

void TCustomTabControl::SetTabWidth(SmallInt Value) {
  if (FTabWidth == Value) return;
  bool Fixed = (FTabWidth > 0) != (Value > 0);
  FTabWidth = Value;
  if (Fixed)
    RecreateWnd();  // TCS_FIXEDWIDTH is a creation style
  else
    ApplyItemSize();
}

void TCustomTabControl::SetTabPadding(const TPoint& Value) {
  FTabPadding = Value;
  if (FHandle) {
    SendMessageW(FHandle, TCM_SETPADDING, 0, MAKELPARAM(std::max(0, Value.X), std::max(0, Value.Y)));
    RemeasureTabs();
    TabsChanged();  // the native control measures its tabs again on insertion
  }
}

void TCustomTabControl::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  if (FHandle) {
    SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(comctl::ImageListHandle(Value)));
    RemeasureTabs();
    TabsChanged();
  }
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (FHandle) SendMessageW(FHandle, TCM_SETIMAGELIST, 0, 0);
  }
}

TRect TCustomTabControl::DisplayRect() {
  HandleNeeded();
  RECT C{};
  GetClientRect(FHandle, &C);
  TMessage M{TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&C), 0};
  FWindowProc(M);
  TRect R(C.left, C.top, C.right, C.bottom);
  if (FTabPosition == tpTop) R.Top += 2;
  return R;
}

TRect TCustomTabControl::TabRect(Integer Index) {
  HandleNeeded();
  RECT R{};
  TMessage M{TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R), 0};
  FWindowProc(M);
  if (!M.Result) return TRect();
  return TRect(R.left, R.top, R.right, R.bottom);
}

Integer TCustomTabControl::IndexOfTabAt(Integer X, Integer Y) {
  if (!FHandle) return -1;
  TCHITTESTINFO HT{};
  HT.pt = POINT{X, Y};
  return static_cast<Integer>(SendMessageW(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&HT)));
}

Integer TCustomTabControl::RowCount() {
  HandleNeeded();
  return static_cast<Integer>(SendMessageW(FHandle, TCM_GETROWCOUNT, 0, 0));
}

// The native rectangles (not this control's corrected ones): Wine gives the
// tabs scrolled out to the left an empty rectangle at x = 0.
Integer TCustomTabControl::FirstShownTab() {
  if (!FHandle) return 0;
  Integer N = static_cast<Integer>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
  for (Integer I = 0; I < N; ++I) {
    RECT R{};
    CallWindowProcW(FDefWndProc, FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&R));
    if (R.right > 0) return I;
  }
  return 0;
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  if (FHandle) Rect = DisplayRect();
}

bool TCustomTabControl::CanChange() {
  bool Allow = true;
  Fire(OnChanging, this, Allow);
  return Allow;
}

void TCustomTabControl::Change() { Fire(OnChange, this); }

namespace {

// The native arrows' own window procedure (one class, one procedure).
WNDPROC GArrowsProc = nullptr;

// The native arrows' window procedure while they are kept hidden: every
// attempt to show them is turned into a plain move, so they keep their place
// and size out of sight.
LRESULT CALLBACK HiddenArrowsProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(LParam)->flags &= ~UINT(SWP_SHOWWINDOW);
  return CallWindowProcW(GArrowsProc, Wnd, Msg, WParam, LParam);
}

}  // namespace

void TCustomTabControl::KeepHidden(HWND Child) {
  WCHAR Name[32] = {};
  GetClassNameW(Child, Name, 32);
  if (String(reinterpret_cast<const char16_t*>(Name)) != u"msctls_updown32") return;
  auto Proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Child, GWLP_WNDPROC));
  if (Proc == &HiddenArrowsProc) return;
  GArrowsProc = Proc;
  SetWindowLongPtrW(Child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HiddenArrowsProc));
  if (GetWindowLongW(Child, GWL_STYLE) & WS_VISIBLE)
    SetWindowLongW(Child, GWL_STYLE, GetWindowLongW(Child, GWL_STYLE) & ~LONG(WS_VISIBLE));
}

void TCustomTabControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CN_NOTIFY: {
      auto* H = reinterpret_cast<NMHDR*>(M.LParam);
      if (H->code == TCN_SELCHANGING) {
        M.Result = CanChange() ? 0 : 1;
        return;
      }
      if (H->code == TCN_SELCHANGE) {
        FTabIndex = TabIndex();
        Change();
        return;
      }
      break;
    }
    case WM_HSCROLL:
      // The native row moves one tab per SB_THUMBPOSITION toward the given
      // tab; the row must start at that tab after one message: step on.
      if (LOWORD(M.WParam) == SB_THUMBPOSITION && FHandle) {
        Integer N = static_cast<Integer>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
        // Wine steps past the last tab unchecked (leaving no tab shown).
        Integer Target = std::min<Integer>(HIWORD(M.WParam), std::max<Integer>(0, N - 1));
        M.WParam = MAKEWPARAM(SB_THUMBPOSITION, Target);
        auto Alive = FAlive;
        TWinControl::Dispatch(M);
        for (Integer Step = 0; Step < N && *Alive && FHandle; ++Step) {
          Integer Before = FirstShownTab();
          if (Before == Target) break;
          TMessage Again{M.Msg, M.WParam, M.LParam, 0};
          TWinControl::Dispatch(Again);
          if (!*Alive || FirstShownTab() == Before) break;  // the row goes no further
        }
        return;
      }
      break;
    case WM_SIZE: {
      auto Alive = FAlive;
      TWinControl::Dispatch(M);
      if (*Alive) Realign();
      return;
    }
    case WM_PARENTNOTIFY:
      if (FHideNativeArrows && LOWORD(M.WParam) == WM_CREATE) KeepHidden(reinterpret_cast<HWND>(M.LParam));
      break;
    case WM_NCHITTEST:
      // Wine answers HTTRANSPARENT away from the tabs, which hands the
      // mouse over the frame and the page area to the parent: the whole
      // control is ours.
      TWinControl::Dispatch(M);
      if (static_cast<LRESULT>(M.Result) == HTTRANSPARENT) M.Result = HTCLIENT;
      return;
  }
  TWinControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle |= csAcceptsControls;
  FVisible = false;
  FAlign = alClient;
  FColor = clBtnFace;
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl && !FPageControl->ComponentState().Contains(csDestroying)) FPageControl->RemovePage(this);
  FPageControl = nullptr;
  DestroyChildControls();
  DestroyHandle();
}

void TTabSheet::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (FPageControl == Value) return;
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = nullptr;
  SetParent(Value);
  if (Value) Value->InsertPage(this);
}

Integer TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& L = FPageControl->FPages;
  return static_cast<Integer>(std::find(L.begin(), L.end(), this) - L.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
  if (!FPageControl) return;
  auto& L = FPageControl->FPages;
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
  Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(L.size()));
  L.insert(L.begin() + Value, this);
  FPageControl->TabsChanged();
}

Integer TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  Integer V = 0;
  for (TTabSheet* P : FPageControl->FPages) {
    if (P == this) return V;
    if (P->FTabVisible) ++V;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl) FPageControl->PageTabChanged(this);
}

void TTabSheet::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  if (FPageControl) FPageControl->TabsChanged();
}

void TTabSheet::Dispatch(TMessage& M) {
  TWinControl::Dispatch(M);
  if (M.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->TabsChanged();
}

// ---------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* P : FPages) P->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
  DestroyChildControls();
  DestroyHandle();
}

Integer TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(Integer Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<size_t>(Value)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  FActivePage = Page;
  SetTabIndex(Page ? Page->TabIndex() : -1);
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  if (FActivePage) {
    FActivePage->SetVisible(true);
    if (FActivePage->HandleAllocated())
      SetWindowPos(FActivePage->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (TTabSheet* P : std::vector<TTabSheet*>(FPages))
    if (P != FActivePage) P->SetVisible(false);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
  Integer N = PageCount();
  if (N == 0) return nullptr;
  Integer Start = CurPage ? CurPage->PageIndex() : -1;
  if (Start < 0 || Start >= N) Start = GoForward ? N - 1 : 0;
  Integer I = Start;
  for (Integer K = 0; K < N; ++K) {
    I = GoForward ? (I + 1) % N : (I + N - 1) % N;
    TTabSheet* P = FPages[static_cast<size_t>(I)];
    if (!CheckTabVisible || P->FTabVisible) return P;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* P = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (P && P != FActivePage && CanChange()) {
    SetActivePage(P);
    TCustomTabControl::Change();
  }
}

void TPageControl::TabsChanged() {
  if (!FHandle) return;
  // Each shown tab carries its page's image.
  std::vector<TTabItem> C;
  for (TTabSheet* P : FPages)
    if (P->FTabVisible) C.push_back({P->Text(), P->FImageIndex});
  PushTabs(C);
  SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FActivePage ? FActivePage->TabIndex() : -1), 0);
  Realign();
  Invalidate();
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  TabsChanged();
  if (!FActivePage && Page->FTabVisible)
    SetActivePage(Page);
  else
    ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* Next = FActivePage == Page ? FindNextPage(Page, true, true) : FActivePage;
  if (Next == Page) Next = nullptr;
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  Page->FPageControl = nullptr;
  if (FActivePage == Page) FActivePage = nullptr;
  TabsChanged();
  SetActivePage(Next);
}

void TPageControl::PageTabChanged(TTabSheet* Page) {
  TabsChanged();
  if (Page == FActivePage && !Page->FTabVisible) {
    TTabSheet* Next = FindNextPage(Page, true, true);
    SetActivePage(Next != Page ? Next : nullptr);
  } else if (!FActivePage && Page->FTabVisible) {
    SetActivePage(Page);
  }
}

// A user's tab change: the page of the selected shown tab becomes active.
void TPageControl::Change() {
  Integer T = TabIndex();
  TTabSheet* Page = nullptr;
  Integer V = 0;
  for (TTabSheet* P : FPages) {
    if (!P->FTabVisible) continue;
    if (V++ == T) {
      Page = P;
      break;
    }
  }
  FActivePage = Page;
  ShowActivePage();
  TCustomTabControl::Change();
}
