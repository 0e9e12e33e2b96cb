// Standard controls: the edit and list box wrappers over Wine's EDIT and
// LISTBOX window classes (superclassed: our class name, the system
// procedure kept as the default handler) and the label, a graphic control
// that draws its caption. Winelib only.
#pragma once

#include <functional>

#include "classlib/Controls.h"
#include "classlib/UITypes.h"

// TAlignment: classlib/UITypes.h.
enum TTextLayout : Byte { tlTop, tlCenter, tlBottom };
enum TEditCharCase : Byte { ecNormal, ecUpperCase, ecLowerCase };
// The state of a check box.
enum TCheckBoxState : Byte { cbUnchecked, cbChecked, cbGrayed };

// The state of an owner-drawn item: the bits of DRAWITEMSTRUCT.itemState.
using TOwnerDrawState = Word;
inline constexpr TOwnerDrawState odSelected = ODS_SELECTED;  // 1
inline constexpr TOwnerDrawState odGrayed = ODS_GRAYED;
inline constexpr TOwnerDrawState odDisabled = ODS_DISABLED;
inline constexpr TOwnerDrawState odChecked = ODS_CHECKED;
inline constexpr TOwnerDrawState odFocused = ODS_FOCUS;  // 16
inline constexpr TOwnerDrawState odDefault = ODS_DEFAULT;
inline constexpr TOwnerDrawState odNoAccel = ODS_NOACCEL;
inline constexpr TOwnerDrawState odNoFocusRect = ODS_NOFOCUSRECT;


// ---------------------------------------------------------------------------
// TCustomEdit: a single-line edit on Wine's EDIT.
//
// A descendant may give the window the multi-line style (for EM_SETRECTNP);
// the edit still behaves as one line: typed Tab, line feed and CR never
// reach the window, pasted control characters are dropped. Pasted text
// (WM_PASTE, Ctrl+V, Shift+Insert, which Wine's EDIT pastes without
// WM_PASTE) and IME results pass through KeyPress character by character,
// so a read-only edit or a character filter in KeyPress sees every way text
// can come in. While read-only, cut, clear and undo are refused too.
//
// OnChange fires once per real change: from the EDIT's EN_CHANGE, and from
// a text assignment only where no EN_CHANGE follows it (no window yet, or a
// multi-line window, which does not report WM_SETTEXT).
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  Char PasswordChar() const { return FPasswordChar; }
  // Recreates the window when the password style comes or goes.
  void SetPasswordChar(Char Value);
  bool ReadOnly() const { return FReadOnly; }
  // Mirrored into the window's ES_READONLY.
  void SetReadOnly(bool Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  // AutoSize: the height follows the font (text height plus the frame).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);

  // The selection, in characters. Without a window these are 0 / "".
  Integer SelStart();
  void SetSelStart(Integer Value);
  Integer SelLength();
  void SetSelLength(Integer Value);
  String SelText();
  // Replaces the selection (undoable).
  void SetSelText(const String& Value);
  void SelectAll();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  bool CanUndo();
  void Clear() { SetText(String()); }

  bool Modified();
  void SetModified(bool Value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  // Fires OnChange.
  virtual void Change();
  // True while the window has the multi-line style (a descendant's choice).
  bool IsMultiLineWindow();
  // The edit is one line of text (a memo answers false).
  virtual bool SingleLine() const { return true; }
  // Whether the text may be changed by the user now (not read-only).
  virtual bool CanModify() { return !FReadOnly; }
  // The pasted text, as it is to be inserted: line breaks, tabs and other
  // control characters removed for a single line, then each character
  // offered to KeyPress (#0 drops it) and inserted as it passes, so a filter
  // sees the text grow. One OnChange for the whole paste. Descendants may
  // filter further.
  virtual void PasteText(const String& Text);
  // One character of an IME result: sent as WM_CHAR through WindowProc.
  virtual void InsertImeChar(Char Ch);
  virtual void AdjustHeight();

 private:
  void DoPaste();
  void HandleImeComposition(TMessage& M);
  void UpdateColorBrush();
  LRESULT CtlColor(HDC DC);

  Integer FMaxLength = 0;
  Char FPasswordChar = 0;
  bool FReadOnly = false;
  bool FAutoSelect = true;
  bool FAutoSize = true;
  bool FHideSelection = true;
  TEditCharCase FCharCase = ecNormal;
  bool FModified = false;
  bool FCreatingWnd = false;    // the window's own creation changes nothing
  bool FInPaste = false;        // Change is held back while a paste inserts
  bool FPasteChanged = false;   // a change came during the paste
  HBRUSH FBrush = nullptr;
  TColor FBrushColor = clNone;
};

class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------------------
// TCustomListBox: Wine's LISTBOX. The items, the index and the top index
// live in the object while there is no window and survive RecreateWnd.

enum TListBoxStyle : Byte { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

using TDrawItemEvent =
    std::function<void(TWinControl* Control, Integer Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, Integer Index, Integer& Height)>;

class TCustomListBox;

// The item list: the window's items while it exists, else the object's.
class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TCustomListBox* AListBox) : FListBox(AListBox) {}
  Integer Count() const override;
  String Strings(Integer Index) const override;
  void SetStrings(Integer Index, const String& S) override;
  TObject* Objects(Integer Index) const override;
  void SetObjects(Integer Index, TObject* AObject) override;
  void Insert(Integer Index, const String& S) override;
  void InsertObject(Integer Index, const String& S, TObject* AObject) override;
  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  void Delete(Integer Index) override;
  void Clear() override;
  Integer IndexOf(const String& S) const override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  Integer InsertCore(Integer Index, const String& S, TObject* AObject, bool Append);
  TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // -1 = none. Assigning selects without any click event.
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  Integer TopIndex();
  void SetTopIndex(Integer Value);
  Integer ItemHeight();
  void SetItemHeight(Integer Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  // Typed characters select the first item starting with what was typed
  // within half a second (and fire OnClick); the native one-letter search
  // is not used then.
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }

  Integer SelCount();
  bool Selected(Integer Index);
  void SetSelected(Integer Index, bool Value);
  // The item at P (client coordinates); -1 when Existing and no item is
  // there, else the item after the last one.
  Integer ItemAtPos(const TPoint& P, bool Existing);
  TRect ItemRect(Integer Index);
  void Clear() { FItems->Clear(); }
  TCanvas* Canvas() const { return FCanvas; }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  friend class TListBoxStrings;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  // Draws one owner-drawn item on Canvas (selected items already have the
  // highlight brush and font colour): OnDrawItem, else the text.
  virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);
  void KeyPress(Char& Key) override;

 private:
  LRESULT CtlColor(HDC DC);
  void CNDrawItem(TMessage& M);

  TListBoxStrings* FItems;
  TStringList* FSaveItems;  // the items while there is no window
  Integer FSaveIndex = -1;
  Integer FSaveTop = 0;
  std::vector<Integer> FSaveSelected;
  Integer FItemHeight = 16;
  TListBoxStyle FStyle = lbStandard;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  bool FIntegralHeight = false;
  bool FAutoComplete = true;
  String FFilter;          // what was typed for AutoComplete
  DWORD FLastKeyTime = 0;
  Integer FColumns = 0;
  TControlCanvas* FCanvas;
  HBRUSH FBrush = nullptr;
  TColor FBrushColor = clNone;
};

class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------
// TCustomLabel: a graphic control that draws its caption. "&" marks the
// accelerator ("&&" is a literal "&"); the accelerator focuses FocusControl.

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Transparent: the parent shows through; else the label fills with Color.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

  void Dispatch(TMessage& Message) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void Paint() override;
  // Sizes the label to its text (AutoSize), keeping the edge that the
  // alignment anchors.
  virtual void AdjustBounds();
  virtual String GetLabelText();
  // Draws (or with DT_CALCRECT measures) the text on Canvas.
  virtual void DoDrawText(TRect& Rect, UINT Flags);

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};
