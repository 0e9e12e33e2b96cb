// The skinned containers and lists of the boxes layer: the scroll box
// TspSkinScrollBox, whose children scroll with skinned bars the form places
// beside it. Winelib only.
#pragma once

#include <unordered_set>
#include <utility>
#include <vector>

#include "classlib/StdCtrls.h"
#include "skin/boxes/SkinBoxCtrls.h"
#include "skin/boxes/ComboKeys.h"
#include "skin/boxes/FontSizes.h"
#include "skin/controls/win/SkinPanel.h"
#include "skin/controls/win/SkinScrollBar.h"

// ---------------------------------------------------------------------------
// Scroll box

class TspSkinScrollBox : public TspSkinCustomControl {
 public:
  explicit TspSkinScrollBox(TComponent* AOwner);

  TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetVScrollBar(TspSkinScrollBar* Value);
  void SetHScrollBar(TspSkinScrollBar* Value);
  TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TspSkinBorderStyle Value);
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value) { FCanFocused = Value; }

  // The horizontal, then the vertical range update.
  void UpdateScrollRange();
  // Set the bar's position only; its change event scrolls the children.
  void HScroll(Integer APosition);
  void VScroll(Integer APosition);
  // Brings C wholly into view along each axis with a visible bar.
  void ScrollToControl(TControl* C);

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void AdjustClientRect(TRect& Rect) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  Integer BGPictureIndex = -1;
  // The bar positions the children are scrolled to; the growth at the last SetBounds.
  Integer FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
  Integer FVSizeOffset = 0, FHSizeOffset = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  void VertUpdate();
  void HorzUpdate();
  void AxisUpdate(bool Vertical);
  void OnVScrollBarChange(TObject* Sender);
  void OnHScrollBarChange(TObject* Sender);
  void OnBarLastChange(TObject* Sender) { (void)Sender; Invalidate(); }
  // The frame widths of WM_NCCALCSIZE: left, top, right, bottom.
  TRect FrameWidths();
  bool HasFrame();
  void PaintFrame(HDC DC);
  TBitmap* BackgroundPicture() const { return Skinned() ? SkinPicture(BGPictureIndex) : nullptr; }
  void PaintSkinBackground();

  bool FClicksDisabled = false;
  bool FCanFocused = false;
  bool FInCheckScrollBars = false;
  TspSkinScrollBar* FVScrollBar = nullptr;
  TspSkinScrollBar* FHScrollBar = nullptr;
  TspSkinBorderStyle FBorderStyle = bvFrame;
};

// ---------------------------------------------------------------------------
// List box: the outer skinned control with its caption strip and own scroll
// bars around an owner-drawn inner list that keeps the items, the selection
// and the native scrolling.



class TspSkinCustomListBox;

using TspDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight,
                                                TRect TxtRect, TOwnerDrawState State)>;

// TspCBButtonX (an arrow or caption button's place and state) is the edits'.

class TspListBox : public TListBox {
 public:
  explicit TspListBox(TComponent* AOwner);

  Integer HorizontalExtentValue() const { return FHorizontalExtentValue; }
  void SetHorizontalExtentValue(Integer Value) { FHorizontalExtentValue = Value; }
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  // Draws item Index in Rect (inner-list coordinates) on DC.
  void DrawItemTo(HDC DC, Integer Index, const TRect& Rect, TOwnerDrawState State);

  Integer FHorizontalExtentValue = 0;
  TspSkinCustomListBox* SkinListBox = nullptr;
  // Strings came or went while the items were being updated.
  bool FScrollBarPending = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Click() override;

 private:
  void PaintBackground(HDC DC, const TRect& R);
};

class TspSkinCustomListBox : public TspSkinCustomControl {
 public:
  explicit TspSkinCustomListBox(TComponent* AOwner);
  ~TspSkinCustomListBox() override;

  // --- forwarded to the inner list
  TStrings* Items() const { return ListBox->Items(); }
  void SetItems(TStrings* Value);
  Integer ItemIndex() { return ListBox->ItemIndex(); }
  void SetItemIndex(Integer Value) { ListBox->SetItemIndex(Value); }
  Integer TopIndex() { return ListBox->TopIndex(); }
  void SetTopIndex(Integer Value) { ListBox->SetTopIndex(Value); }
  Integer SelCount() { return ListBox->SelCount(); }
  bool MultiSelect() const { return ListBox->MultiSelect(); }
  void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
  bool ExtandedSelect() const { return ListBox->ExtendedSelect(); }
  void SetExtandedSelect(bool Value) { ListBox->SetExtendedSelect(Value); }
  bool Sorted() const { return ListBox->Sorted(); }
  void SetSorted(bool Value);
  Integer Columns() const { return ListBox->Columns(); }
  void SetColumns(Integer Value);
  bool AutoComplete() const { return ListBox->AutoComplete(); }
  void SetAutoComplete(bool Value) { ListBox->SetAutoComplete(Value); }
  TFont* ListBoxFont() const { return ListBox->Font(); }
  TCanvas* ListBoxCanvas() const { return ListBox->Canvas(); }
  Integer ListBoxTabOrder() const { return ListBox->TabOrder(); }
  void SetListBoxTabOrder(Integer Value) { ListBox->SetTabOrder(Value); }
  bool ListBoxTabStop() const { return ListBox->TabStop(); }
  void SetListBoxTabStop(bool Value) { ListBox->SetTabStop(Value); }
  TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
  void SetListBoxPopupMenu(TPopupMenu* Value) { ListBox->SetPopupMenu(Value); }
  TDragMode ListBoxDragMode() const { return ListBox->DragMode(); }
  void SetListBoxDragMode(TDragMode Value) { ListBox->SetDragMode(Value); }
  TCursor ListBoxDragCursor() const { return ListBox->DragCursor(); }
  void SetListBoxDragCursor(TCursor Value) { ListBox->SetDragCursor(Value); }
  // The inner list's drag events (Sender and Source are the inner list).
  const TDragDropEvent& OnListBoxDragDrop() const { return ListBox->OnDragDrop; }
  void SetOnListBoxDragDrop(TDragDropEvent Value) { ListBox->OnDragDrop = std::move(Value); }
  const TDragOverEvent& OnListBoxDragOver() const { return ListBox->OnDragOver; }
  void SetOnListBoxDragOver(TDragOverEvent Value) { ListBox->OnDragOver = std::move(Value); }
  const TNotifyEvent& OnListBoxStartDrag() const { return ListBox->OnStartDrag; }
  void SetOnListBoxStartDrag(TNotifyEvent Value) { ListBox->OnStartDrag = std::move(Value); }
  const TEndDragEvent& OnListBoxEndDrag() const { return ListBox->OnEndDrag; }
  void SetOnListBoxEndDrag(TEndDragEvent Value) { ListBox->OnEndDrag = std::move(Value); }

  // --- own properties
  bool ShowCaptionButtons() const { return FShowCaptionButtons; }
  void SetShowCaptionButtons(bool Value);
  TStrings* TabWidths() const { return FTabWidths; }
  void SetTabWidths(TStrings* Value);
  bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
  void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }
  bool HorizontalExtent() const { return FHorizontalExtent; }
  void SetHorizontalExtent(bool Value);
  Integer RowCount() const { return FRowCount; }
  void SetRowCount(Integer Value);
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  void SetDefaultCaptionHeight(Integer Value);
  TFont* DefaultCaptionFont() const { return FDefaultCaptionFont; }
  void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
  bool CaptionMode() const { return FCaptionMode; }
  void SetCaptionMode(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
  TNotifyEvent OnListBoxClick, OnListBoxDblClick;
  TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
  TMouseMoveEvent OnListBoxMouseMove;
  TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;
  TspDrawSkinItemEvent OnDrawItem;

  // --- operations
  Integer CalcHeight(Integer AItemsCount);
  void Clear();
  Integer ItemAtPos(const TPoint& Pos, bool Existing) { return ListBox->ItemAtPos(Pos, Existing); }
  TRect ItemRect(Integer Item) { return ListBox->ItemRect(Item); }
  void UpDateScrollBar();
  // Places the inner list and the bars (also run by WM_SIZE and skin changes).
  void CalcRects();

  // --- called by the inner list
  virtual Integer GetItemTextWidth(Integer Index, TCanvas* Cnvs);
  virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxClick();
  virtual void ListBoxDblClick();
  virtual void ListBoxKeyDown(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyUp(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyPress(Char& Key);
  virtual void ListBoxEnter() {}
  virtual void ListBoxExit() {}
  virtual void ListBoxWndProcHook(TMessage& Message, bool& Continue) {
    (void)Message;
    Continue = true;
  }
  virtual void ListBoxCreateWnd() {}

  // --- the skin protocol
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void DefaultFontChanged() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;

  // The inner list's item looks (called with the item bitmap).
  void DrawListItem(TCanvas* Dest, Integer Index, const TRect& Rect, TOwnerDrawState State);
  // The list background into R of DC.
  void PaintListBackground(HDC DC, const TRect& R);
  // The background of the main bar's scroll (WM_VSCROLL/WM_HSCROLL with
  // the bar's position).
  void SBChange(TObject* Sender);
  void HSBChange(TObject* Sender);

  TspListBox* ListBox = nullptr;
  TspSkinScrollBar* ScrollBar = nullptr;
  TspSkinScrollBar* HScrollBar = nullptr;
  TspCBButtonX Buttons[3];
  Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
  Integer TimerMode = 0;
  bool WaitMode = false;
  TRect ListRect;
  TRect NewCaptionRect;
  bool FStopUpDateHScrollBar = false;
  // The inner list paints its range: the description is already read.
  bool FItemsPrepared = false;

  // From the description.
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TRect SItemRect, ActiveItemRect, FocusItemRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
  TRect CaptionRect;
  String CaptionFontName;
  TFontStyles CaptionFontStyle = 0;
  Integer CaptionFontHeight = 0;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
  String VScrollBarName, HScrollBarName, BothScrollBarName;
  bool ShowFocus = false;
  TRect ButtonsArea, DisabledButtonsRect;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

  bool SkinnedList() { return Skinned() && dynamic_cast<TspDataSkinListBox*>(SkinDescription()) != nullptr; }

 private:
  void ShowMainBar();
  void HideMainBar();
  void ShowHBar();
  void HideHBar();
  void DrawCaptionButton(TCanvas* C, Integer I);
  void DrawCaption(TCanvas* C, const TRect& R, bool Skin);
  bool CaptionButtonsWork();
  void TestActive(Integer X, Integer Y);
  void ButtonDown(Integer I);
  void ButtonUp(Integer I, bool Over);
  void StartRepeat(Cardinal Interval);
  void StopRepeat();
  void RepeatTick();
  void RepaintButtons();

  bool FShowCaptionButtons = true;
  TStringList* FTabWidths;
  bool FUseSkinItemHeight = true;
  bool FHorizontalExtent = false;
  Integer FRowCount = 0;
  TBitmap* FGlyph;
  Integer FNumGlyphs = 1;
  Integer FSpacing = 2;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = -1;
  Integer FDefaultItemHeight = 20;
  Integer FDefaultCaptionHeight = 20;
  TFont* FDefaultCaptionFont;
  bool FCaptionMode = false;
  TAlignment FAlignment = taLeftJustify;
  bool FInLayout = false;
};

class TspSkinListBox : public TspSkinCustomListBox {
 public:
  explicit TspSkinListBox(TComponent* AOwner) : TspSkinCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------
// Combo box: the item area and arrow button drawn by the control, and the
// drop-down list, a list box shown as a never activated popup.

enum TspSkinCustomComboBoxStyle : Byte { spcbEditStyle, spcbFixedStyle };

struct TspCBItem {
  TRect R;
  TOwnerDrawState State = 0;
};

class TspPopupListBox : public TspSkinListBox {
 public:
  explicit TspPopupListBox(TComponent* AOwner);
  // Shows the window at Origin (screen coordinates) without activating it.
  void Show(const TPoint& Origin);
  void Hide();
  void Dispatch(TMessage& Message) override;

  bool FOldAlphaBlend = false;
  Byte FOldAlphaBlendValue = 0;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

class TspSkinCustomComboBox : public TspSkinCustomControl {
 public:
  explicit TspSkinCustomComboBox(TComponent* AOwner);
  ~TspSkinCustomComboBox() override;

  // --- items and selection
  TStrings* Items() const { return FListBox->Items(); }
  void SetItems(TStrings* Value);
  Integer ItemIndex() { return FListBox->ItemIndex(); }
  void SetItemIndex(Integer Value);
  bool Sorted() const { return FListBox->Sorted(); }
  void SetSorted(bool Value) { FListBox->SetSorted(Value); }
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value) {
    if (Value > 0) FDropDownCount = Value;
  }
  TspSkinCustomComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TspSkinCustomComboBoxStyle Value);
  bool ToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(bool Value);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  Integer ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(Integer Value) { FListBoxWidth = Value; }
  bool ListBoxAlphaBlend() const { return FListBoxAlphaBlend; }
  void SetListBoxAlphaBlend(bool Value) { FListBoxAlphaBlend = Value; }
  bool ListBoxAlphaBlendAnimation() const { return FListBoxAlphaBlendAnimation; }
  void SetListBoxAlphaBlendAnimation(bool Value) { FListBoxAlphaBlendAnimation = Value; }
  Byte ListBoxAlphaBlendValue() const { return FListBoxAlphaBlendValue; }
  void SetListBoxAlphaBlendValue(Byte Value) { FListBoxAlphaBlendValue = Value; }
  TCustomImageList* Images() const { return FListBox->Images(); }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FListBox->ImageIndex(); }
  void SetImageIndex(Integer Value);
  TStrings* TabWidths() const { return FListBox->TabWidths(); }
  void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
  bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
  void SetHorizontalExtent(bool Value) { FListBox->SetHorizontalExtent(Value); }
  bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
  void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
  bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }
  TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
  void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
  TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
  void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
  Integer ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(Integer Value) { FListBox->SetDefaultItemHeight(Value); }
  TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
  void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
  String ListBoxCaption() { return FListBox->Caption(); }
  void SetListBoxCaption(const String& Value) { FListBox->SetCaption(Value); }
  bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
  void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
  const TspDrawSkinItemEvent& OnListBoxDrawItem() const { return FOnListBoxDrawItem; }
  void SetOnListBoxDrawItem(const TspDrawSkinItemEvent& Value);

  // --- the list
  void DropDown();
  void CloseUp(bool Value);
  bool IsPopupVisible() const { return FListBox->Visible(); }
  bool CanCancelDropDown();
  TspPopupListBox* ListBox() const { return FListBox; }
  // The inner edit of the edit style (nullptr in fixed style).
  TspCustomEdit* EditObject() const { return FEdit; }
  Integer SelStart() { return FEdit ? FEdit->SelStart() : 0; }
  void SetSelStart(Integer Value) {
    if (FEdit) FEdit->SetSelStart(Value);
  }
  Integer SelLength() { return FEdit ? FEdit->SelLength() : 0; }
  void SetSelLength(Integer Value) {
    if (FEdit) FEdit->SetSelLength(Value);
  }
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);

  TNotifyEvent OnChange, OnClick, OnCloseUp, OnDropDown;
  TspDrawSkinItemEvent OnComboBoxDrawItem;

  // --- hooks
  virtual void Change() {}
  void Invalidate() override;

  // --- the skin protocol
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void DefaultFontChanged() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;
  void Dispatch(TMessage& Message) override;
  // Places the button and the item area.
  void CalcRects();

  TspCBItem CBItem;
  TspCBButtonX Button;
  bool WasInLB = false;
  Integer TimerMode = 0;
  bool FDropDown = false;
  bool FLBDown = false;
  bool FMouseIn = false;
  Integer FOldItemIndex = 0;
  TspTypeAhead& TypeAhead() { return FTypeAhead; }

  // From the description.
  TRect ActiveSkinRect;
  TColor ActiveFontColor = 0, FontColor = 0, FocusFontColor = 0;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TRect SItemRect, FocusItemRect, ActiveItemRect, ItemTextRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  String ListBoxName;
  bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;

  bool SkinnedCombo() { return Skinned() && dynamic_cast<TspDataSkinComboBox*>(SkinDescription()) != nullptr; }

 private:
  void ListBoxWindowProcHook(TMessage& M);
  void ListBoxMouseMoveTrack(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void ProcessListBox();
  void StartTimer();
  void StopTimer();
  void DrawDefaultItem(TCanvas* C);
  void DrawItemContent(TCanvas* C, Integer Index, Integer BW, Integer BH, TRect TR);
  void DrawToolButtonDefault(TBitmap* B);
  // The tool-button look from "resizetoolbutton" (else "resizebutton").
  void DrawToolButtonSkin(TBitmap* B);
  // The button of a freely stretched combo from the skin's button descriptions.
  void DrawStretchedButton(TCanvas* C);
  void DrawSkinItem(TCanvas* C);
  Integer ShownIndex();
  // The item the closed combo shows (ShownIndex), drawn without background.
  void DrawShownItem(TCanvas* C, Integer BW, Integer BH, const TRect& TR);
  bool IsListControl(TControl* C);

  bool FToolButtonStyle = false;
  TColor FDefaultColor = clWindow;
  bool FUseSkinSize = true;
  bool FAutoComplete = true;
  bool FListBoxAlphaBlend = false, FListBoxAlphaBlendAnimation = false;
  Byte FListBoxAlphaBlendValue = 200;
  Integer FListBoxWidth = 0;
  TspSkinCustomComboBoxStyle FStyle = spcbFixedStyle;
  Integer FDropDownCount = 8;
  TspDrawSkinItemEvent FOnListBoxDrawItem;
  TWndMethod FListBoxWindowProc;
  TspPopupListBox* FListBox = nullptr;
  TspTypeAhead FTypeAhead;
  // The edit style.
  void EditWindowProcHook(TMessage& M);
  void EditChange(TObject* Sender);
  void EditCancelMode(TControl* C);
  void AutoCompleteEdit();
  void LayoutEdit();
  Byte EditCharset();
  // The inner edit's font for the look: the skin's or the default font,
  // the hot and disabled colours.
  void UpdateEditFont();
  // The disabled text colour: the skin's "edit" description's, else clGrayText.
  TColor DisabledTextColor();

 protected:
  bool FNumEdit = false;
  TspCustomEdit* FEdit = nullptr;
  bool FromEdit = false;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  TWndMethod FEditWindowProc;
  // The WM_CHAR of the key that closed the list is not the edit's.
  Char FDropChar = 0;
};

class TspSkinComboBox : public TspSkinCustomComboBox {
 public:
  explicit TspSkinComboBox(TComponent* AOwner) : TspSkinCustomComboBox(AOwner) {}
};

// ---------------------------------------------------------------------------
// Font boxes: the families installed for the screen and the printer,
// previewed in their own faces, and the point sizes of one family.



class TspSkinFontComboBox : public TspSkinCustomComboBox {
 public:
  explicit TspSkinFontComboBox(TComponent* AOwner);

  // Rebuilds the list of families (only while the window exists).
  void PopulateList();
  // The same rebuild from the families Enumerate reports through
  // AddFamily (PopulateList's enumeration of the screen and the printer).
  void PopulateWith(const std::function<void()>& Enumerate);
  String FontName() { return Text(); }
  void SetFontName(const String& Value);
  TspFontDevice Device() const { return FDevice; }
  void SetDevice(TspFontDevice Value);
  TspFontListOptions Options() const { return FOptions; }
  void SetOptions(TspFontListOptions Value);
  bool TrueTypeOnly() const { return (FOptions & FontOption(foTrueTypeOnly)) != 0; }
  void SetTrueTypeOnly(bool Value);
  bool UseFonts() const { return FUseFonts; }
  void SetUseFonts(bool Value);
  void Dispatch(TMessage& Message) override;

  // One enumerated family: listed when new (case-insensitively) and the
  // options let it through.
  void AddFamily(const String& Name, Integer FontType, Byte CharSet, Byte PitchAndFamily);

  bool FUpdate = false;

 protected:
  void CreateWnd() override;

 private:
  void Refresh();
  void DrawPreview(TCanvas* C, Integer Index, TRect TR);

  // While PopulateList runs: the families found so far (by their upper-case
  // names, for the case-insensitive duplicate rule) in enumeration order.
  struct TCollect {
    std::unordered_set<String> Seen;
    std::vector<std::pair<String, Integer>> Families;
  };
  TCollect* FCollect = nullptr;

  TspFontDevice FDevice = fdScreen;
  bool FUseFonts = false;
  TspFontListOptions FOptions = 0;
};

class TspSkinFontSizeComboBox : public TspSkinCustomComboBox {
 public:
  explicit TspSkinFontSizeComboBox(TComponent* AOwner);

  const String& FontName() const { return FFontName; }
  // Stores the family and refills the size list.
  void SetFontName(const String& Value);
  // The chosen or typed size; 0 for a text that is no size.
  Integer SizeValue();

  // One enumerated style of the family (false: stop the enumeration).
  bool AddSize(Integer FontType, Integer LfHeight, Integer InternalLeading);

  Integer PixelsPerInch = 96;

 private:
  void Build();
  String FFontName;
};
