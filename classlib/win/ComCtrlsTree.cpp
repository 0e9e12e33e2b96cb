// The tree view over Wine's SysTreeView32. The nodes live in the objects
// (text, data, images, children); the window's items are made from them in
// CreateWnd, and selection, expansion, the top item and the drop highlight
// are read back in DestroyWnd, so RecreateWnd keeps them all.
#include <algorithm>
#include <cstring>
#include <functional>

#include "classlib/Forms.h"
#include "classlib/win/ComCtrlsCommon.h"
#include "rtl/ScopeGuard.h"

namespace {
constexpr UINT kExpandActionMask = TVE_EXPAND | TVE_COLLAPSE;
}

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent) : FOwner(AOwner), FParent(AParent) {
  if (FOwner) ++FOwner->FCount;
}

TTreeNode::~TTreeNode() {
  TCustomTreeView* TV = TreeView();
  if (TV) TV->NodeDeleting(this);
  // The window's item goes first (with its children's), while every object
  // is still whole: the selection change it causes may name them.
  if (FItemId && TV && TV->HandleAllocated()) {
    HTREEITEM Id = FItemId;
    std::function<void(TTreeNode*)> Forget = [&](TTreeNode* N) {
      N->FItemId = nullptr;
      for (TTreeNode* C : N->FChildren) Forget(C);
    };
    Forget(this);
    SendMessageW(TV->FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Id));
  }
  while (!FChildren.empty()) {
    TTreeNode* C = FChildren.back();
    delete C;  // takes itself out of FChildren
  }
  auto& L = FOwner->SiblingList(FParent);
  const Integer I = Index();
  if (I < static_cast<Integer>(L.size())) L.erase(L.begin() + I);
  --FOwner->FCount;
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->FOwner : nullptr; }

TTreeNode* TTreeNode::Item(Integer Index) const {
  if (Index < 0 || Index >= Count()) TList::Error(SListIndexError, Index);
  return FChildren[static_cast<size_t>(Index)];
}

Integer TTreeNode::Index() const {
  auto& L = FOwner->SiblingList(FParent);
  // The remembered place holds until a sibling is inserted or removed before
  // it; then the whole list is numbered again once, so walking the siblings
  // stays linear.
  if (FSiblingIndex < L.size() && L[FSiblingIndex] == this) return static_cast<Integer>(FSiblingIndex);
  for (size_t I = 0; I < L.size(); ++I) L[I]->FSiblingIndex = I;
  return FSiblingIndex < L.size() && L[FSiblingIndex] == this ? static_cast<Integer>(FSiblingIndex)
                                                              : static_cast<Integer>(L.size());
}

TTreeNode* TTreeNode::GetNextSibling() const {
  auto& L = FOwner->SiblingList(FParent);
  size_t I = static_cast<size_t>(Index()) + 1;
  return I < L.size() ? L[I] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  auto& L = FOwner->SiblingList(FParent);
  Integer I = Index();
  return I > 0 ? L[static_cast<size_t>(I - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* N = this; N; N = N->FParent)
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* P = GetPrevSibling();
  if (!P) return FParent;
  while (!P->FChildren.empty()) P = P->FChildren.back();
  return P;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (!FChildren.empty() && Expanded()) return FChildren.front();
  for (const TTreeNode* N = this; N; N = N->FParent)
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

Integer TTreeNode::AbsoluteIndex() const {
  Integer I = 0;
  for (TTreeNode* N = FOwner->GetFirstNode(); N && N != this; N = N->GetNext()) ++I;
  return I;
}

Integer TTreeNode::Level() const {
  Integer L = 0;
  for (TTreeNode* P = FParent; P; P = P->FParent) ++L;
  return L;
}

bool TTreeNode::HasAsParent(TTreeNode* Value) const {
  for (TTreeNode* P = FParent; P; P = P->FParent)
    if (P == Value) return true;
  return false;
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* P = FParent; P; P = P->FParent)
    if (!P->Expanded()) return false;
  return true;
}

void TTreeNode::UpdateItem(UINT Mask) {
  TCustomTreeView* TV = TreeView();
  if (!FItemId || !TV || !TV->HandleAllocated()) return;
  TVITEMW It{};
  It.mask = Mask;
  It.hItem = FItemId;
  It.pszText = const_cast<WCHAR*>(comctl::W(FText));
  It.iImage = FImageIndex;
  It.iSelectedImage = FSelectedIndex;
  SendMessageW(TV->FHandle, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&It));
}

void TTreeNode::SetText(const String& Value) {
  FText = Value;
  UpdateItem(TVIF_TEXT);
}

void TTreeNode::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  UpdateItem(TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(Integer Value) {
  FSelectedIndex = Value;
  UpdateItem(TVIF_SELECTEDIMAGE);
}

bool TTreeNode::Expanded() const {
  TCustomTreeView* TV = TreeView();
  if (FItemId && TV && TV->HandleAllocated() && !TV->FCreatingItems)
    return (SendMessageW(TV->FHandle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
  return FExpanded;
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value)
    Expand(false);
  else
    Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
  FExpanded = true;
  TCustomTreeView* TV = TreeView();
  if (FItemId && TV && TV->HandleAllocated() && !FChildren.empty())
    SendMessageW(TV->FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
  if (Recurse)
    for (TTreeNode* C : std::vector<TTreeNode*>(FChildren)) C->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  FExpanded = false;
  TCustomTreeView* TV = TreeView();
  if (FItemId && TV && TV->HandleAllocated())
    SendMessageW(TV->FHandle, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
  if (Recurse)
    for (TTreeNode* C : std::vector<TTreeNode*>(FChildren)) C->Collapse(true);
}

bool TTreeNode::Selected() const {
  TCustomTreeView* TV = TreeView();
  return TV && TV->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
  TCustomTreeView* TV = TreeView();
  if (!TV) return;
  if (Value)
    TV->SetSelected(this);
  else if (Selected())
    TV->SetSelected(nullptr);
}

bool TTreeNode::DropTarget() const {
  TCustomTreeView* TV = TreeView();
  return TV && TV->DropTarget() == this;
}

void TTreeNode::SetDropTarget(bool Value) {
  TCustomTreeView* TV = TreeView();
  if (!TV) return;
  if (Value)
    TV->SetDropTarget(this);
  else if (DropTarget())
    TV->SetDropTarget(nullptr);
}

void TTreeNode::MakeVisible() {
  TCustomTreeView* TV = TreeView();
  if (FItemId && TV && TV->HandleAllocated())
    SendMessageW(TV->FHandle, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
  else
    for (TTreeNode* P = FParent; P; P = P->FParent) P->FExpanded = true;
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TCustomTreeView* TV = TreeView();
  if (!FItemId || !TV || !TV->HandleAllocated()) return TRect();
  RECT R{};
  HTREEITEM Id = FItemId;
  std::memcpy(&R, &Id, sizeof(Id));  // the item goes in, the rectangle comes out
  if (!SendMessageW(TV->FHandle, TVM_GETITEMRECT, TextOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&R)))
    return TRect();
  return TRect(R.left, R.top, R.right, R.bottom);
}

bool TTreeNode::EditText() {
  TCustomTreeView* TV = TreeView();
  if (!TV) return false;
  TV->HandleNeeded();
  if (!FItemId) return false;
  return SendMessageW(TV->FHandle, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(FItemId)) != 0;
}

void TTreeNode::EndEdit(bool Cancel) {
  TCustomTreeView* TV = TreeView();
  if (TV && TV->HandleAllocated()) SendMessageW(TV->FHandle, TVM_ENDEDITLABELNOW, Cancel ? TRUE : FALSE, 0);
}

void TTreeNode::Delete() { delete this; }

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) delete FChildren.back();
}

// Makes this node's window item after InsertAfter, then its children's.
void TTreeNode::Push(HTREEITEM InsertAfter) {
  TCustomTreeView* TV = TreeView();
  TVINSERTSTRUCTW IS{};
  IS.hParent = FParent ? FParent->FItemId : TVI_ROOT;
  IS.hInsertAfter = InsertAfter;
  IS.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  IS.item.pszText = const_cast<WCHAR*>(comctl::W(FText));
  IS.item.lParam = reinterpret_cast<LPARAM>(this);
  IS.item.iImage = FImageIndex;
  IS.item.iSelectedImage = FSelectedIndex;
  FItemId = reinterpret_cast<HTREEITEM>(SendMessageW(TV->FHandle, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&IS)));
  for (TTreeNode* C : FChildren) C->Push(TVI_LAST);
  if (FExpanded && !FChildren.empty())
    SendMessageW(TV->FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode) {
  if (Destination == this || (Destination && Destination->HasAsParent(this))) return;
  TCustomTreeView* TV = TreeView();
  bool Window = FItemId && TV && TV->HandleAllocated();
  bool WasSelected = false;
  if (Window) {
    // Read what the window holds for this subtree, then let its items go.
    TTreeNode* Sel = TV->Selected();
    WasSelected = Sel == this || (Sel && Sel->HasAsParent(this));
    std::function<void(TTreeNode*)> Save = [&](TTreeNode* N) {
      N->FExpanded = N->Expanded();
      for (TTreeNode* C : N->FChildren) Save(C);
    };
    Save(this);
    HTREEITEM Id = FItemId;
    std::function<void(TTreeNode*)> Forget = [&](TTreeNode* N) {
      N->FItemId = nullptr;
      for (TTreeNode* C : N->FChildren) Forget(C);
    };
    Forget(this);
    TV->FCreatingItems = true;
    SendMessageW(TV->FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Id));
    TV->FCreatingItems = false;
  }
  auto& Old = FOwner->SiblingList(FParent);
  Old.erase(std::remove(Old.begin(), Old.end(), this), Old.end());
  TTreeNode* NewParent;
  Integer Pos;
  switch (Mode) {
    case naAddChild:
    case naAddChildFirst:
      NewParent = Destination;
      Pos = Mode == naAddChildFirst ? 0 : static_cast<Integer>(FOwner->SiblingList(NewParent).size());
      break;
    case naAddFirst:
      NewParent = Destination ? Destination->FParent : nullptr;
      Pos = 0;
      break;
    case naInsert:
      NewParent = Destination ? Destination->FParent : nullptr;
      Pos = Destination ? Destination->Index() : static_cast<Integer>(FOwner->SiblingList(nullptr).size());
      break;
    default:
      NewParent = Destination ? Destination->FParent : nullptr;
      Pos = static_cast<Integer>(FOwner->SiblingList(NewParent).size());
      break;
  }
  FParent = NewParent;
  auto& L = FOwner->SiblingList(NewParent);
  L.insert(L.begin() + Pos, this);
  if (Window && (!NewParent || NewParent->FItemId)) {
    TV->FCreatingItems = true;
    Push(Pos == 0 ? TVI_FIRST : L[static_cast<size_t>(Pos - 1)]->FItemId);
    if (NewParent && NewParent->FExpanded)
      SendMessageW(TV->FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(NewParent->FItemId));
    if (WasSelected) SendMessageW(TV->FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FItemId));
    TV->FCreatingItems = false;
  }
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::~TTreeNodes() { Clear(); }

Integer TTreeNodes::Count() const { return FCount; }

TTreeNode* TTreeNodes::Item(Integer Index) const {
  Integer I = 0;
  for (TTreeNode* P = GetFirstNode(); P; P = P->GetNext(), ++I)
    if (I == Index) return P;
  TList::Error(SListIndexError, Index);
}

TTreeNode* TTreeNodes::InternalAdd(TTreeNode* Parent, Integer Position, const String& S, void* Ptr) {
  auto* N = new TTreeNode(this, Parent);
  N->FText = S;
  N->FData = Ptr;
  auto& L = SiblingList(Parent);
  Position = std::clamp<Integer>(Position, 0, static_cast<Integer>(L.size()));
  L.insert(L.begin() + Position, N);
  TCustomTreeView* TV = FOwner;
  if (TV && TV->HandleAllocated() && (!Parent || Parent->FItemId)) {
    N->Push(Position == 0 ? TVI_FIRST : L[static_cast<size_t>(Position - 1)]->FItemId);
    if (Parent && Parent->FExpanded && Parent->FChildren.size() == 1)
      SendMessageW(TV->FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Parent->FItemId));
  }
  return N;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  TTreeNode* P = Sibling ? Sibling->FParent : nullptr;
  return InternalAdd(P, static_cast<Integer>(SiblingList(P).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S) {
  return InternalAdd(Sibling ? Sibling->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Ptr) {
  return InternalAdd(Parent, static_cast<Integer>(SiblingList(Parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) { return InternalAdd(Parent, 0, S, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S) {
  if (!Sibling) return AddObject(nullptr, S, nullptr);
  return InternalAdd(Sibling->FParent, Sibling->Index(), S, nullptr);
}

void TTreeNodes::Clear() {
  TCustomTreeView* TV = FOwner;
  if (TV && TV->HandleAllocated() && !FRoots.empty()) {
    std::function<void(TTreeNode*)> Forget = [&](TTreeNode* N) {
      N->FItemId = nullptr;
      for (TTreeNode* C : N->FChildren) Forget(C);
    };
    for (TTreeNode* R : FRoots) Forget(R);
    SendMessageW(TV->FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  }
  while (!FRoots.empty()) delete FRoots.back();
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner && FOwner->HandleAllocated()) SendMessageW(FOwner->FHandle, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0 && FOwner && FOwner->HandleAllocated()) {
    SendMessageW(FOwner->FHandle, WM_SETREDRAW, TRUE, 0);
    FOwner->Invalidate();
  }
}

// ---------------------------------------------------------------------------
// TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FTreeNodes(new TTreeNodes(this)), FCanvas(new TControlCanvas(this)) {
  // The native tree runs its own press loop and capture.
  FControlStyle &= ~csCaptureMouse;
  FControlStyle |= csDoubleClicks;
  FTabStop = true;
  FColor = clWindow;
  SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
  Destroying();
  FDestroying = true;
  DestroyChildControls();
  DestroyHandle();
  delete FTreeNodes;
  FTreeNodes = nullptr;
  delete FCanvas;
}

void TCustomTreeView::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.ClassStyle = SuperclassStyle(u"SysTreeView32");
  FDefWndProc = RegisterSuperclass(P, u"SysTreeView32");
  P.Style |= WS_TABSTOP | WS_VSCROLL | WS_HSCROLL;
  if (FShowButtons) P.Style |= TVS_HASBUTTONS;
  if (FShowLines) P.Style |= TVS_HASLINES;
  if (FShowRoot) P.Style |= TVS_LINESATROOT;
  if (!FReadOnly) P.Style |= TVS_EDITLABELS;
  if (!FHideSelection) P.Style |= TVS_SHOWSELALWAYS;
  P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  ApplyColors();
  ApplyImageList(FImages, TVSIL_NORMAL);
  ApplyImageList(FStateImages, TVSIL_STATE);
  FCreatingItems = true;
  {
    TFinally Done([&] { FCreatingItems = false; });
    for (TTreeNode* R : FTreeNodes->FRoots) R->Push(TVI_LAST);
    if (FSavedSelected && FSavedSelected->FItemId)
      SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSavedSelected->FItemId));
    if (FSavedTop && FSavedTop->FItemId)
      SendMessageW(FHandle, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(FSavedTop->FItemId));
    if (FSavedDropTarget && FSavedDropTarget->FItemId)
      SendMessageW(FHandle, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(FSavedDropTarget->FItemId));
  }
  FSavedSelected = FSavedTop = FSavedDropTarget = nullptr;
}

void TCustomTreeView::DestroyWnd() {
  if (FHandle && FTreeNodes && !FDestroying) {
    FSavedSelected = Selected();
    FSavedTop = TopItem();
    FSavedDropTarget = DropTarget();
    for (TTreeNode* N = FTreeNodes->GetFirstNode(); N; N = N->GetNext()) N->FExpanded = N->Expanded();
  }
  if (IsEditing()) SendMessageW(FHandle, TVM_ENDEDITLABELNOW, TRUE, 0);
  // The window's items go with the window; the nodes stay.
  FCreatingItems = true;
  {
    TFinally Done([&] { FCreatingItems = false; });
    TWinControl::DestroyWnd();
  }
  if (FTreeNodes)
    for (TTreeNode* N = FTreeNodes->GetFirstNode(); N; N = N->GetNext()) N->FItemId = nullptr;
}

void TCustomTreeView::NodeDeleting(TTreeNode* Node) {
  if (FSavedSelected == Node) FSavedSelected = nullptr;
  if (FSavedTop == Node) FSavedTop = nullptr;
  if (FSavedDropTarget == Node) FSavedDropTarget = nullptr;
  if (!FDestroying) Fire(OnDeletion, this, Node);
}

TTreeNode* TCustomTreeView::NodeFromItem(HTREEITEM Item) const {
  if (!Item || !FHandle) return nullptr;
  TVITEMW It{};
  It.mask = TVIF_PARAM;
  It.hItem = Item;
  if (!SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&It))) return nullptr;
  return reinterpret_cast<TTreeNode*>(It.lParam);
}

TTreeNode* TCustomTreeView::Selected() const {
  if (!FHandle || FCreatingItems) return FSavedSelected;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (!FHandle) {
    FSavedSelected = Value;
    return;
  }
  SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Value ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() const {
  if (!FHandle || FCreatingItems) return FSavedTop ? FSavedTop : FTreeNodes->GetFirstNode();
  return NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
  if (!FHandle) {
    FSavedTop = Value;
    return;
  }
  if (Value && Value->FItemId)
    SendMessageW(FHandle, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(Value->FItemId));
}

TTreeNode* TCustomTreeView::DropTarget() const {
  if (!FHandle || FCreatingItems) return FSavedDropTarget;
  auto Item = reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
  // A cleared highlight may leave Wine's pointer behind: the state decides.
  if (!Item || !(SendMessageW(FHandle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(Item), TVIS_DROPHILITED) &
                 TVIS_DROPHILITED))
    return nullptr;
  return NodeFromItem(Item);
}

void TCustomTreeView::SetDropTarget(TTreeNode* Value) {
  if (!FHandle) {
    FSavedDropTarget = Value;
    return;
  }
  if (Value) {
    SendMessageW(FHandle, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(Value->FItemId));
    return;
  }
  // Wine takes TVM_SELECTITEM with no item here without clearing anything:
  // clear the item's state as well.
  auto Item = reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
  if (!Item) return;
  SendMessageW(FHandle, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
  TVITEMW It{};
  It.mask = TVIF_STATE;
  It.hItem = Item;
  It.stateMask = TVIS_DROPHILITED;
  SendMessageW(FHandle, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&It));
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) {
  if (!FHandle) return nullptr;
  TVHITTESTINFO HT{};
  HT.pt = POINT{X, Y};
  SendMessageW(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&HT));
  if (!HT.hItem || !(HT.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)))
    return nullptr;
  return NodeFromItem(HT.hItem);
}

bool TCustomTreeView::IsEditing() const { return FHandle && SendMessageW(FHandle, TVM_GETEDITCONTROL, 0, 0) != 0; }

void TCustomTreeView::FullExpand() {
  for (TTreeNode* R : std::vector<TTreeNode*>(FTreeNodes->FRoots)) R->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* R : std::vector<TTreeNode*>(FTreeNodes->FRoots)) R->Collapse(true);
}

void TCustomTreeView::ApplyImageList(TCustomImageList* List, WPARAM Which) {
  if (FHandle) SendMessageW(FHandle, TVM_SETIMAGELIST, Which, reinterpret_cast<LPARAM>(comctl::ImageListHandle(List)));
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  ApplyImageList(Value, TVSIL_NORMAL);
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
  if (FStateImages) FStateImages->RemoveFreeNotification(this);
  FStateImages = Value;
  if (Value) Value->FreeNotification(this);
  ApplyImageList(Value, TVSIL_STATE);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    ApplyImageList(nullptr, TVSIL_NORMAL);
  }
  if (AComponent == FStateImages) {
    FStateImages = nullptr;
    ApplyImageList(nullptr, TVSIL_STATE);
  }
}

Integer TCustomTreeView::Indent() const {
  if (FHandle) return static_cast<Integer>(SendMessageW(FHandle, TVM_GETINDENT, 0, 0));
  return FIndent;
}

void TCustomTreeView::SetIndent(Integer Value) {
  FIndent = Value;
  if (FHandle) SendMessageW(FHandle, TVM_SETINDENT, static_cast<WPARAM>(Value), 0);
}

void TCustomTreeView::SetStyleBit(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  if (!FHandle) return;
  // The native tree reads these bits as it goes: no new window needed.
  TCreateParams P;
  CreateParams(P);
  const DWORD Mask = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;
  LONG Keep = GetWindowLongW(FHandle, GWL_STYLE) & ~static_cast<LONG>(Mask);
  DWORD Bits = P.Style & Mask;
  SetWindowLongW(FHandle, GWL_STYLE, Keep | static_cast<LONG>(Bits));
  Invalidate();
}

void TCustomTreeView::Change(TTreeNode* Node) { Fire(OnChange, this, Node); }

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool Allow = true;
  Fire(OnChanging, this, Node, Allow);
  return Allow;
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool Allow = !FReadOnly;
  if (Allow) Fire(OnEditing, this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Edit(const TVITEMW& Item) {
  if (!Item.pszText) return;  // cancelled
  TTreeNode* Node = reinterpret_cast<TTreeNode*>(Item.lParam);
  if (!Node) Node = NodeFromItem(Item.hItem);
  String S(reinterpret_cast<const char16_t*>(Item.pszText));
  auto Alive = LivenessToken();
  Fire(OnEdited, this, Node, S);
  if (*Alive && Node) Node->SetText(S);
}

bool TCustomTreeView::IsCustomDrawn(bool ItemLevel, TCustomDrawStage Stage) const {
  if (ItemLevel) return Stage == cdPrePaint ? (OnCustomDrawItem || OnAdvancedCustomDrawItem) : bool(OnAdvancedCustomDrawItem);
  return Stage == cdPrePaint ? (OnCustomDraw || OnAdvancedCustomDraw) : bool(OnAdvancedCustomDraw);
}

bool TCustomTreeView::CustomDraw(const TRect& ARect, TCustomDrawStage Stage) {
  bool Default = true;
  if (Stage == cdPrePaint) Fire(OnCustomDraw, this, ARect, Default);
  Fire(OnAdvancedCustomDraw, this, ARect, Stage, Default);
  return Default;
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                     bool& PaintImages) {
  bool Default = true;
  if (Stage == cdPrePaint) Fire(OnCustomDrawItem, this, Node, State, Default);
  Fire(OnAdvancedCustomDrawItem, this, Node, State, Stage, PaintImages, Default);
  return Default;
}

namespace {

TCustomDrawState DrawStateOf(UINT S) {
  TCustomDrawState R = 0;
  if (S & CDIS_SELECTED) R |= cdsSelected;
  if (S & CDIS_GRAYED) R |= cdsGrayed;
  if (S & CDIS_DISABLED) R |= cdsDisabled;
  if (S & CDIS_CHECKED) R |= cdsChecked;
  if (S & CDIS_FOCUS) R |= cdsFocused;
  if (S & CDIS_DEFAULT) R |= cdsDefault;
  if (S & CDIS_HOT) R |= cdsHot;
  if (S & CDIS_MARKED) R |= cdsMarked;
  if (S & CDIS_INDETERMINATE) R |= cdsIndeterminate;
  return R;
}

}  // namespace

// The stages of NM_CUSTOMDRAW: the canvas is bound to the drawing DC while
// a handler runs; DefaultDraw false skips the native drawing of that stage.
LRESULT TCustomTreeView::DoCustomDraw(NMTVCUSTOMDRAW& CD) {
  HDC DC = CD.nmcd.hdc;
  TRect R(CD.nmcd.rc.left, CD.nmcd.rc.top, CD.nmcd.rc.right, CD.nmcd.rc.bottom);
  auto Bind = [&] {
    FCanvas->Lock();
    FCanvas->SetHandle(DC);
    FCanvas->Font()->Assign(FFont);
    FCanvas->Brush()->SetColor(FColor);
  };
  auto Unbind = [&] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  };
  auto Run = [&](auto Body) {
    Bind();
    TFinally Done([&] { Unbind(); });
    Body();
  };
  switch (CD.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
      LRESULT Res = CDRF_DODEFAULT;
      if (IsCustomDrawn(false, cdPrePaint)) {
        bool Default = true;
        Run([&] { Default = CustomDraw(R, cdPrePaint); });
        if (!Default) return CDRF_SKIPDEFAULT;
      }
      if (IsCustomDrawn(true, cdPrePaint) || IsCustomDrawn(true, cdPostPaint)) Res |= CDRF_NOTIFYITEMDRAW;
      if (IsCustomDrawn(false, cdPostPaint)) Res |= CDRF_NOTIFYPOSTPAINT;
      return Res;
    }
    case CDDS_ITEMPREPAINT: {
      auto* Node = reinterpret_cast<TTreeNode*>(CD.nmcd.lItemlParam);
      if (!Node || !IsCustomDrawn(true, cdPrePaint)) return CDRF_DODEFAULT;
      TCustomDrawState State = DrawStateOf(CD.nmcd.uItemState);
      bool Default = true, PaintImages = true, NewFont = false;
      TColor TextColor = clNone, BackColor = clNone;
      Run([&] {
        if (State & cdsSelected) {
          FCanvas->Brush()->SetColor(clHighlight);
          FCanvas->Font()->SetColor(clHighlightText);
        }
        TColor F0 = FCanvas->Font()->Color(), B0 = FCanvas->Brush()->Color();
        Default = CustomDrawItem(Node, State, cdPrePaint, PaintImages);
        if (FCanvas->Font()->Color() != F0) TextColor = FCanvas->Font()->Color();
        if (FCanvas->Brush()->Color() != B0) BackColor = FCanvas->Brush()->Color();
        NewFont = FCanvas->Font()->Name() != FFont->Name() || FCanvas->Font()->Height() != FFont->Height() ||
                  FCanvas->Font()->Style() != FFont->Style();
      });
      if (!Default) return CDRF_SKIPDEFAULT;
      LRESULT Res = CDRF_DODEFAULT;
      if (TextColor != clNone) CD.clrText = static_cast<COLORREF>(ColorToRGB(TextColor));
      if (BackColor != clNone) CD.clrTextBk = static_cast<COLORREF>(ColorToRGB(BackColor));
      if (NewFont) {
        SelectObject(DC, FCanvas->Font()->Handle());
        Res |= CDRF_NEWFONT;
      }
      if (IsCustomDrawn(true, cdPostPaint)) Res |= CDRF_NOTIFYPOSTPAINT;
      return Res;
    }
    case CDDS_ITEMPOSTPAINT: {
      auto* Node = reinterpret_cast<TTreeNode*>(CD.nmcd.lItemlParam);
      if (Node && IsCustomDrawn(true, cdPostPaint)) {
        bool PaintImages = true;
        Run([&] { CustomDrawItem(Node, DrawStateOf(CD.nmcd.uItemState), cdPostPaint, PaintImages); });
      }
      return CDRF_DODEFAULT;
    }
    case CDDS_POSTPAINT:
      if (IsCustomDrawn(false, cdPostPaint)) Run([&] { CustomDraw(R, cdPostPaint); });
      return CDRF_DODEFAULT;
  }
  return CDRF_DODEFAULT;
}

void TCustomTreeView::CNNotify(TMessage& M) {
  auto* H = reinterpret_cast<NMHDR*>(M.LParam);
  switch (H->code) {
    case NM_CUSTOMDRAW:
      M.Result = DoCustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(M.LParam));
      return;
    case TVN_SELCHANGINGW: {
      if (FCreatingItems) return;
      auto* NM = reinterpret_cast<NMTREEVIEWW*>(M.LParam);
      M.Result = CanChange(reinterpret_cast<TTreeNode*>(NM->itemNew.lParam)) ? 0 : 1;
      return;
    }
    case TVN_SELCHANGEDW: {
      if (FCreatingItems) return;
      auto* NM = reinterpret_cast<NMTREEVIEWW*>(M.LParam);
      Change(reinterpret_cast<TTreeNode*>(NM->itemNew.lParam));
      return;
    }
    case TVN_ITEMEXPANDINGW: {
      if (FCreatingItems) return;
      auto* NM = reinterpret_cast<NMTREEVIEWW*>(M.LParam);
      auto* Node = reinterpret_cast<TTreeNode*>(NM->itemNew.lParam);
      bool Allow = true;
      if ((NM->action & kExpandActionMask) == TVE_EXPAND)
        Fire(OnExpanding, this, Node, Allow);
      else if ((NM->action & kExpandActionMask) == TVE_COLLAPSE)
        Fire(OnCollapsing, this, Node, Allow);
      M.Result = Allow ? 0 : 1;
      return;
    }
    case TVN_ITEMEXPANDEDW: {
      auto* NM = reinterpret_cast<NMTREEVIEWW*>(M.LParam);
      auto* Node = reinterpret_cast<TTreeNode*>(NM->itemNew.lParam);
      if (Node) Node->FExpanded = (NM->action & kExpandActionMask) == TVE_EXPAND;
      if (FCreatingItems) return;
      if ((NM->action & kExpandActionMask) == TVE_EXPAND)
        Fire(OnExpanded, this, Node);
      else if ((NM->action & kExpandActionMask) == TVE_COLLAPSE)
        Fire(OnCollapsed, this, Node);
      return;
    }
    case TVN_BEGINLABELEDITW: {
      auto* NM = reinterpret_cast<NMTVDISPINFOW*>(M.LParam);
      auto* Node = reinterpret_cast<TTreeNode*>(NM->item.lParam);
      if (!Node) Node = NodeFromItem(NM->item.hItem);
      FEditing = CanEdit(Node);
      M.Result = FEditing ? 0 : 1;
      return;
    }
    case TVN_ENDLABELEDITW:
      // Wine ends an edit twice: once as asked, and again (with the EDIT's
      // text, even after a cancel) when the EDIT is destroyed and loses the
      // focus. Only the first end of an edit counts.
      M.Result = 0;  // the node's text is set here, never by the window
      if (!FEditing) return;
      FEditing = false;
      Edit(reinterpret_cast<NMTVDISPINFOW*>(M.LParam)->item);
      return;
    case TVN_BEGINDRAGW:
    case TVN_BEGINRDRAGW:
    case TVN_DELETEITEMW:
      // No native drag image; the nodes are deleted by their objects.
      M.Result = 0;
      return;
  }
  DefaultHandler(M);
}

// The native tree paints its background and texts in Color and Font.Color.
void TCustomTreeView::ApplyColors() {
  if (!FHandle) return;
  SendMessageW(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
  SendMessageW(FHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FFont->Color())));
}

void TCustomTreeView::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
      TWinControl::Dispatch(M);
      ApplyColors();
      return;
    case CN_NOTIFY:
      CNNotify(M);
      return;
    case CM_WANTSPECIALKEY:
      // While a label is edited, Enter, Esc and Tab belong to its EDIT.
      if (IsEditing() && (M.WParam == VK_RETURN || M.WParam == VK_ESCAPE || M.WParam == VK_TAB)) {
        M.Result = 1;
        return;
      }
      break;
  }
  TWinControl::Dispatch(M);
}

// dmAutomatic: a press on a node's label or image selects the node and
// starts the class library's drag (never the native tree's press loop and
// drag image); a press on an expand button stays the native tree's; a press
// elsewhere only focuses.
void TCustomTreeView::WndProc(TMessage& M) {
  if ((M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK) && DragMode() == dmAutomatic && !DragSource() && FHandle) {
    TVHITTESTINFO HT{};
    HT.pt = POINT{MsgX(M.LParam), MsgY(M.LParam)};
    SendMessageW(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&HT));
    TTreeNode* Node = NodeFromItem(HT.hItem);
    if (Node && (HT.flags & TVHT_ONITEMBUTTON)) {
      Dispatch(M);  // the ordinary press, without the automatic drag
      return;
    }
    auto Alive = FAlive;
    SendCancelMode(this);
    if (!*Alive) return;
    if (CanFocus() && !Focused()) SetFocus();
    if (!*Alive) return;
    if (Node && (HT.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))) {
      if (Selected() != Node) SetSelected(Node);
      if (!*Alive) return;
      BeginDrag(false, 5);
    }
    return;
  }
  TWinControl::WndProc(M);
}
