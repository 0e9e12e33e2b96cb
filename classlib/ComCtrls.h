// Common controls: the tree view over Wine's SysTreeView32 and the tab and
// page controls over SysTabControl32. Both superclass the system class (its
// class info registered under our name, its procedure kept as the default
// handler) and keep their state in the object while no window exists and
// across RecreateWnd. Winelib only.
#pragma once

#include <commctrl.h>

#include <functional>
#include <vector>

#include "classlib/Controls.h"

class TCustomImageList;
class TCustomTreeView;
class TTreeNodes;

// ---------------------------------------------------------------------------
// Tree view

enum TNodeAttachMode : Byte { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
enum TCustomDrawStage : Byte { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };

using TCustomDrawState = Word;
inline constexpr TCustomDrawState cdsSelected = 0x0001;
inline constexpr TCustomDrawState cdsGrayed = 0x0002;
inline constexpr TCustomDrawState cdsDisabled = 0x0004;
inline constexpr TCustomDrawState cdsChecked = 0x0008;
inline constexpr TCustomDrawState cdsFocused = 0x0010;
inline constexpr TCustomDrawState cdsDefault = 0x0020;
inline constexpr TCustomDrawState cdsHot = 0x0040;
inline constexpr TCustomDrawState cdsMarked = 0x0080;
inline constexpr TCustomDrawState cdsIndeterminate = 0x0100;

class TTreeNode : public TPersistent {
 public:
  TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent);
  ~TTreeNode() override;

  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  HTREEITEM ItemId() const { return FItemId; }

  const String& Text() const { return FText; }
  void SetText(const String& Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(Integer Value);

  TTreeNode* Parent() const { return FParent; }
  Integer Count() const { return static_cast<Integer>(FChildren.size()); }
  TTreeNode* Item(Integer Index) const;
  bool HasChildren() const { return !FChildren.empty(); }
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in tree order (children first), whether shown or not.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // The next node that an expanded path makes visible.
  TTreeNode* GetNextVisible() const;
  Integer Index() const;
  Integer AbsoluteIndex() const;
  Integer Level() const;
  bool HasAsParent(TTreeNode* Value) const;
  bool IsFirstNode() const { return !FParent && Index() == 0; }
  // Every parent expanded.
  bool IsVisible() const;

  bool Expanded() const;
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const;
  void SetSelected(bool Value);
  bool DropTarget() const;
  void SetDropTarget(bool Value);
  void MakeVisible();

  // The row (TextOnly false) or the label (true) in client coordinates;
  // empty when the node is not shown.
  TRect DisplayRect(bool TextOnly) const;
  // Starts label editing (needs the window); false when refused.
  bool EditText();
  void EndEdit(bool Cancel);

  void Delete();
  void DeleteChildren();
  void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  void Push(HTREEITEM InsertAfter);  // makes this node's items (and its children's)
  void UpdateItem(UINT Mask);

  TTreeNodes* FOwner;
  TTreeNode* FParent;
  std::vector<TTreeNode*> FChildren;
  HTREEITEM FItemId = nullptr;
  String FText;
  void* FData = nullptr;
  Integer FImageIndex = -1;
  Integer FSelectedIndex = -1;
  bool FExpanded = false;  // while no window exists (or being rebuilt)
  // Where this node was last found among its siblings (checked before use).
  mutable size_t FSiblingIndex = 0;
};

class TTreeNodes : public TPersistent {
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return FOwner; }
  // All nodes, in tree order.
  Integer Count() const;
  TTreeNode* Item(Integer Index) const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
  Integer RootCount() const { return static_cast<Integer>(FRoots.size()); }

  TTreeNode* Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
  TTreeNode* AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
  // Inserted in front of Sibling (at the end of the top level without one).
  TTreeNode* Insert(TTreeNode* Sibling, const String& S);
  void Delete(TTreeNode* Node) { delete Node; }
  void Clear();

  void BeginUpdate();
  void EndUpdate();

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  std::vector<TTreeNode*>& SiblingList(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }
  TTreeNode* InternalAdd(TTreeNode* Parent, Integer Position, const String& S, void* Ptr);

  TCustomTreeView* FOwner;
  std::vector<TTreeNode*> FRoots;
  Integer FUpdateCount = 0;
  Integer FCount = 0;  // every node, kept by the nodes' constructor and destructor
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVCustomDrawEvent = std::function<void(TCustomTreeView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawEvent =
    std::function<void(TCustomTreeView* Sender, const TRect& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                       bool& PaintImages, bool& DefaultDraw)>;

class TCustomTreeView : public TWinControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* Items() const { return FTreeNodes; }
  TCanvas* Canvas() const { return FCanvas; }

  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Value);
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* Value);
  TTreeNode* DropTarget() const;
  void SetDropTarget(TTreeNode* Value);
  TTreeNode* GetNodeAt(Integer X, Integer Y);
  bool IsEditing() const;
  void FullExpand();
  void FullCollapse();

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  Integer Indent() const;
  void SetIndent(Integer Value);
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value) { SetStyleBit(FShowRoot, Value); }
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { SetStyleBit(FShowLines, Value); }
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { SetStyleBit(FShowButtons, Value); }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetStyleBit(FHideSelection, Value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { SetStyleBit(FReadOnly, Value); }

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnDeletion;
  TTVCustomDrawEvent OnCustomDraw;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The selection changed (fires OnChange).
  virtual void Change(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(const TVITEMW& Item);
  virtual bool CustomDraw(const TRect& ARect, TCustomDrawStage Stage);
  virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage, bool& PaintImages);
  virtual bool IsCustomDrawn(bool ItemLevel, TCustomDrawStage Stage) const;

 private:
  void CNNotify(TMessage& M);
  LRESULT DoCustomDraw(NMTVCUSTOMDRAW& CD);
  void SetStyleBit(bool& Field, bool Value);
  void ApplyColors();
  void ApplyImageList(TCustomImageList* List, WPARAM Which);
  void NodeDeleting(TTreeNode* Node);
  TTreeNode* NodeFromItem(HTREEITEM Item) const;

  TTreeNodes* FTreeNodes;
  TControlCanvas* FCanvas;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  Integer FIndent = 19;
  bool FShowRoot = true, FShowLines = true, FShowButtons = true;
  bool FHideSelection = true, FReadOnly = false;
  // Kept while no window exists and across RecreateWnd.
  TTreeNode* FSavedSelected = nullptr;
  TTreeNode* FSavedTop = nullptr;
  TTreeNode* FSavedDropTarget = nullptr;
  bool FCreatingItems = false;  // pushing the nodes: no events
  bool FDestroying = false;
  bool FEditing = false;  // a label edit began and has not ended yet
};

class TTreeView : public TCustomTreeView {
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};

// ---------------------------------------------------------------------------
// Tab control and page control

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl : public TWinControl {
 public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;

  TCanvas* Canvas() const { return FCanvas; }
  // The captions of the tabs the native control shows.
  TStrings* Tabs() const { return FTabs; }
  void SetTabs(TStrings* Value) { FTabs->Assign(Value); }
  // The selected tab among the shown tabs, -1 none. Setting it fires nothing.
  Integer TabIndex();
  void SetTabIndex(Integer Value);

  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  SmallInt TabHeight() const { return FTabHeight; }
  void SetTabHeight(SmallInt Value);
  SmallInt TabWidth() const { return FTabWidth; }
  void SetTabWidth(SmallInt Value);
  // The space the native control keeps around a caption (TCM_SETPADDING).
  TPoint TabPadding() const { return FTabPadding; }
  void SetTabPadding(const TPoint& Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // TCM_ADJUSTRECT of the client rectangle (through this control's own
  // handler), with its Top 2 lower for tabs on top.
  TRect DisplayRect();
  // TCM_GETITEMRECT of shown tab Index (through this control's own handler).
  TRect TabRect(Integer Index);
  Integer IndexOfTabAt(Integer X, Integer Y);
  Integer RowCount();
  // The first tab of a single row that is shown (the row scrolls).
  Integer FirstShownTab();
  void AdjustClientRect(TRect& Rect) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC DC) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange();
  virtual void Change();
  // Captions pushed to the window (the page control shows visible pages).
  virtual void TabsChanged();
  void ApplyItemSize();
  // Subclasses Child when it is the native arrows, so they never show.
  void KeepHidden(HWND Child);
  // One tab as the window holds it.
  struct TTabItem {
    String Caption;
    Integer Image;
    bool operator==(const TTabItem&) const = default;
  };
  // Brings the window's tabs to Tabs, sending only the tabs that differ from
  // what was pushed last (the native control lays out its whole row on every
  // item message).
  void PushTabs(const std::vector<TTabItem>& Tabs);
  // The next push sends every tab again: the native control measures a tab
  // only when it is inserted or set (padding, image list).
  void RemeasureTabs();

  TStrings* FTabs;
  TControlCanvas* FCanvas;
  Integer FTabIndex = -1;  // while no window exists
  bool FMultiLine = false;
  TTabStyle FStyle = tsTabs;
  TTabPosition FTabPosition = tpTop;
  SmallInt FTabHeight = 0, FTabWidth = 0;
  TPoint FTabPadding{-1, -1};  // -1: the native default
  TCustomImageList* FImages = nullptr;
  bool FUpdatingTabs = false;
  std::vector<TTabItem> FPushedTabs;  // what the window holds
  bool FRemeasureTabs = false;
  // The native control's own scroll arrows stay alive (the control keeps
  // their handle and reads their width) but are never shown: a control that
  // draws arrows of its own sets this before its window is made.
  bool FHideNativeArrows = false;
};

class TTabControl : public TCustomTabControl {
 public:
  explicit TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}
};

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  Integer PageIndex() const;
  void SetPageIndex(Integer Value);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // The shown-tab number of this page, -1 when its tab is hidden.
  Integer TabIndex() const;
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);

  void Dispatch(TMessage& Message) override;

 protected:
  friend class TPageControl;
  void CreateParams(TCreateParams& Params) override;

  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  Integer FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  Integer PageCount() const { return static_cast<Integer>(FPages.size()); }
  TTabSheet* Pages(Integer Index) const { return FPages.at(static_cast<size_t>(Index)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  Integer ActivePageIndex() const;
  void SetActivePageIndex(Integer Value);
  // The next (or previous) page after CurPage, wrapping; only pages with a
  // shown tab when CheckTabVisible.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

 protected:
  friend class TTabSheet;
  void Change() override;
  void TabsChanged() override;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void PageTabChanged(TTabSheet* Page);
  void ShowActivePage();

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};
