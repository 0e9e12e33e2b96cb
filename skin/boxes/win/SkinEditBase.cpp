// The edit base and the numeric inner edit.
#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "rtl/ScopeGuard.h"
#include "skin/boxes/win/SkinEdit.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinResStr.h"
#include "skin/data/win/SkinModel.h"

namespace {

// The selection as the EDIT reports it.
void EditSelection(HWND H, DWORD& Start, DWORD& End) {
  Start = End = 0;
  if (H) SendMessageW(H, EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
}

}  // namespace

// ---------------------------------------------------------------------------
// TspCustomEdit

TspCustomEdit::TspCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetControlStyle(ControlStyle() | csOpaque);
}

TspCustomEdit::~TspCustomEdit() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  FreeSysPopupMenu();
}

void TspCustomEdit::BeforeDestruction() {
  FreeSysPopupMenu();
  TCustomMaskEdit::BeforeDestruction();
}

void TspCustomEdit::FreeSysPopupMenu() {
  TspSkinPopupMenu* M = FSysPopupMenu;
  FSysPopupMenu = nullptr;
  delete M;
}

bool TspCustomEdit::SeeThrough() const {
  return FEditTransparent && !ComponentState().Contains(csDesigning);
}

void TspCustomEdit::SetEditTransparent(bool Value) {
  FEditTransparent = Value;
  RecreateWnd();
}

bool TspCustomEdit::CanModify() { return TCustomMaskEdit::CanModify(); }

void TspCustomEdit::PasteText(const String& S) {
  FPasting = true;
  FPasteBeeped = false;
  auto Alive = LivenessToken();
  TFinally Done([&] {
    if (*Alive) FPasting = false;
  });
  TCustomMaskEdit::PasteText(S);
}

void TspCustomEdit::RefuseKey(Char& Key) {
  Key = 0;
  if (!FPasting || !FPasteBeeped) MessageBeep(0);
  if (FPasting) FPasteBeeped = true;
}

void TspCustomEdit::CreateParams(TCreateParams& P) {
  TCustomMaskEdit::CreateParams(P);
  P.Style &= ~static_cast<DWORD>(WS_BORDER);
  P.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  if (SeeThrough()) P.ExStyle |= WS_EX_TRANSPARENT;
  if (PasswordChar() != 0)
    P.Style |= ES_PASSWORD;
  else
    P.Style |= ES_MULTILINE;
}

void TspCustomEdit::Invalidate() {
  if (!SeeThrough()) {
    TCustomMaskEdit::Invalidate();
    return;
  }
  TWinControl* P = Parent();
  if (!P) return;
  if (P->HandleAllocated() && HandleAllocated()) {
    RECT R{};
    GetClientRect(Handle(), &R);
    MapWindowPoints(Handle(), P->Handle(), reinterpret_cast<POINT*>(&R), 2);
    InvalidateRect(P->Handle(), &R, TRUE);
  }
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TspCustomEdit::Change() {
  auto Alive = LivenessToken();
  TCustomMaskEdit::Change();
  if (*Alive && SeeThrough()) Invalidate();
}

void TspCustomEdit::BuildSysPopupMenu() {
  FreeSysPopupMenu();
  auto* Menu = new TspSkinPopupMenu(this);
  FSysPopupMenu = Menu;
  TCustomForm* Form = GetParentForm(this);
  Menu->SetComponentForm(Form);
  // The text source: the skin of the form's skin component.
  TspResourceStrData* Strings = nullptr;
  if (TspSkinMenuHost* Host = FindSkinMenuHost(Form))
    if (TspSkinData* SD = Host->MenuHostSkinData()) Strings = SD->ResourceStrData();
  DWORD S = 0, E = 0;
  EditSelection(HandleAllocated() ? Handle() : nullptr, S, E);
  const bool Selection = S < E;
  const bool RO = ReadOnly();
  bool ClipText = false;
  if (Clipboard()->HasFormat(CF_UNICODETEXT) || Clipboard()->HasFormat(CF_TEXT))
    ClipText = !Clipboard()->AsText().empty();
  const Integer Len = static_cast<Integer>(Text().size());
  struct TItem {
    const char16_t* Key;
    const char16_t* Default;
    bool Enabled;
    void (TspCustomEdit::*Click)(TObject*);
  };
  const TItem Items[] = {
      {u"EDIT_UNDO", u"Undo", CanUndo(), &TspCustomEdit::DoUndo},
      {nullptr, nullptr, true, nullptr},
      {u"EDIT_CUT", u"Cut", Selection && !RO, &TspCustomEdit::DoCut},
      {u"EDIT_COPY", u"Copy", Selection, &TspCustomEdit::DoCopy},
      {u"EDIT_PASTE", u"Paste", ClipText && !RO, &TspCustomEdit::DoPaste},
      {u"EDIT_DELETE", u"Delete", Selection && !RO, &TspCustomEdit::DoDelete},
      {nullptr, nullptr, true, nullptr},
      {u"EDIT_SELECTALL", u"Select All", S != 0 || static_cast<Integer>(E) != Len, &TspCustomEdit::DoSelectAll},
  };
  for (const TItem& I : Items) {
    auto* Item = new TMenuItem(Menu);
    if (!I.Key) {
      Item->SetCaption(u"-");
    } else {
      Item->SetCaption(Strings ? Strings->GetResStr(I.Key) : String(I.Default));
      Item->SetEnabled(I.Enabled);
      auto Click = I.Click;
      Item->OnClick = [this, Click](TObject* Sender) { (this->*Click)(Sender); };
    }
    Menu->Items()->Add(Item);
  }
}

void TspCustomEdit::ShowContextMenu(TMessage& M) {
  if (PopupMenu()) {
    TCustomMaskEdit::Dispatch(M);
    return;
  }
  BuildSysPopupMenu();
  Integer X = static_cast<short>(LOWORD(M.LParam)), Y = static_cast<short>(HIWORD(M.LParam));
  if (X < 0 || Y < 0) {
    // From the keyboard: at the control's centre.
    POINT P{0, 0};
    ::ClientToScreen(Handle(), &P);
    X = P.x + Width() / 2;
    Y = P.y + Height() / 2;
  }
  FSysPopupMenu->Popup2(this, X, Y);
  M.Result = 0;
}

void TspCustomEdit::DoUndo(TObject*) { Undo(); }
void TspCustomEdit::DoCut(TObject*) { CutToClipboard(); }
void TspCustomEdit::DoCopy(TObject*) { CopyToClipboard(); }
void TspCustomEdit::DoPaste(TObject*) { PasteFromClipboard(); }
void TspCustomEdit::DoDelete(TObject*) { ClearSelection(); }
void TspCustomEdit::DoSelectAll(TObject*) { SelectAll(); }

void TspCustomEdit::Dispatch(TMessage& M) {
  auto Alive = LivenessToken();
  // The inherited handling, then a repaint when see-through.
  auto InheritedThenRepaint = [&] {
    TCustomMaskEdit::Dispatch(M);
    if (*Alive && SeeThrough()) Invalidate();
  };
  switch (M.Msg) {
    case WM_SETFONT:
      TCustomMaskEdit::Dispatch(M);
      if (*Alive && HandleAllocated())
        SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 0));
      return;
    case WM_CONTEXTMENU:
      ShowContextMenu(M);
      return;
    case FEM_MENU_COMMAND:
      FreeSysPopupMenu();
      return;
    case CM_CANCELMODE:
      TCustomMaskEdit::Dispatch(M);
      if (*Alive && OnEditCancelMode) OnEditCancelMode(reinterpret_cast<TControl*>(M.LParam));
      return;
    case WM_CHAR: {
      const Char C = static_cast<Char>(M.WParam);
      if (C == 13 || C == 27) {
        // The handler sees a copy: what it does to the key has no effect.
        Char Copy = C;
        if (OnKeyPress) OnKeyPress(this, Copy);
        if (!*Alive) return;
        if (TCustomForm* F = GetParentForm(this)) F->Perform(CM_DIALOGKEY, C, M.LParam);
        return;
      }
      if (ReadOnly()) return;
      TCustomMaskEdit::Dispatch(M);
      return;
    }
    case WM_KEYDOWN:
      if (ReadOnly() && M.WParam == VK_DELETE) return;
      InheritedThenRepaint();
      return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
      if (ReadOnly()) return;
      InheritedThenRepaint();
      return;
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_KILLFOCUS:
      InheritedThenRepaint();
      return;
    case WM_SETFOCUS:
      InheritedThenRepaint();
      if (*Alive && AutoSelect()) SelectAll();
      return;
    case WM_LBUTTONDOWN:
      TCustomMaskEdit::Dispatch(M);
      if (!*Alive) return;
      FDown = true;
      if (SeeThrough()) Invalidate();
      return;
    case WM_LBUTTONUP:
      TCustomMaskEdit::Dispatch(M);
      if (*Alive) FDown = false;
      return;
    case WM_MOUSEMOVE:
      TCustomMaskEdit::Dispatch(M);
      if (*Alive && FDown && SeeThrough()) Invalidate();
      return;
    case WM_ERASEBKGND:
      if (SeeThrough()) {
        Invalidate();
        M.Result = 1;
        return;
      }
      break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (SeeThrough()) {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
        M.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return;
      }
      break;
  }
  TCustomMaskEdit::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinNumEdit

TspSkinNumEdit::TspSkinNumEdit(TComponent* AOwner) : TspCustomEdit(AOwner) {}

bool TspSkinNumEdit::CanModify() { return FEditorEnabled && TspCustomEdit::CanModify(); }

void TspSkinNumEdit::Dispatch(TMessage& M) {
  if (M.Msg == WM_MOUSEWHEEL) {
    if (static_cast<int32_t>(M.WParam) > 0) {
      if (OnDownClick) OnDownClick(this);
    } else if (OnUpClick) {
      OnUpClick(this);
    }
    M.Result = 0;
    return;
  }
  TspCustomEdit::Dispatch(M);
}

void TspSkinNumEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP) {
    Key = 0;
    if (OnUpClick) OnUpClick(this);
    return;
  }
  if (Key == VK_DOWN) {
    Key = 0;
    if (OnDownClick) OnDownClick(this);
    return;
  }
  TspCustomEdit::KeyDown(Key, Shift);
}

void TspSkinNumEdit::KeyPress(Char& Key) {
  if (!NumKeyAccepted(Key, Text(), TspNumKeyRules{Float, FEditorEnabled})) RefuseKey(Key);
  if (Key != 0) TspCustomEdit::KeyPress(Key);
}
