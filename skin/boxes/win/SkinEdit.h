// The edit base of every skinned edit and the numeric inner edit of the spin
// edit and the combo box. Winelib only.
#pragma once

#include <functional>
#include <initializer_list>

#include "classlib/StdCtrls.h"
#include "skin/boxes/NumText.h"
#include "skin/controls/win/SkinMenus.h"

using TspOnEditCancelMode = std::function<void(TControl* C)>;

// A single-line edit over the class library's edit, with a context menu of
// its own (a skinned popup menu), Enter and Esc handed to the form as dialog
// keys, a see-through mode (EditTransparent: the text is drawn over what lies
// behind) and a 2-pixel left margin. ReadOnly is the class library's; on top
// of it typed characters and the Delete key are dropped here.
class TspCustomEdit : public TCustomMaskEdit {
 public:
  explicit TspCustomEdit(TComponent* AOwner);
  ~TspCustomEdit() override;
  // The context menu goes before the owned components are freed.
  void BeforeDestruction() override;

  bool EditTransparent() const { return FEditTransparent; }
  // Stores and recreates the window (the text survives).
  void SetEditTransparent(bool Value);
  // See-through: EditTransparent and not designing.
  bool SeeThrough() const;

  // See-through: the area under the edit is repainted in the parent, then the
  // edit with its frame.
  void Invalidate() override;

  // The context menu while it exists (built on each request).
  TspSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

  TspOnEditCancelMode OnEditCancelMode;

  // The control's own menu commands.
  void DoUndo(TObject* Sender);
  void DoCut(TObject* Sender);
  void DoCopy(TObject* Sender);
  void DoPaste(TObject* Sender);
  void DoDelete(TObject* Sender);
  void DoSelectAll(TObject* Sender);

  // Builds the context menu anew (freeing a previous one) without showing it.
  void BuildSysPopupMenu();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Change() override;
  // Whether the user may change the text (ReadOnly off, and what a
  // descendant adds).
  bool CanModify() override;
  // A paste offers its characters one by one to KeyPress.
  void PasteText(const String& Text) override;
  // A character a filter refuses: #0, and a beep (one for a whole paste).
  void RefuseKey(Char& Key);

  bool FDown = false;
  bool FEditTransparent = false;
  TspSkinPopupMenu* FSysPopupMenu = nullptr;

 private:
  void ShowContextMenu(TMessage& M);
  void FreeSysPopupMenu();
  bool FPasting = false, FPasteBeeped = false;
};

// The numeric inner edit: a character filter (refused keys beep), Up and
// Down (keys and the wheel) reported as events instead of moving the caret,
// and the mouse entering and leaving reported.
class TspSkinNumEdit : public TspCustomEdit {
 public:
  explicit TspSkinNumEdit(TComponent* AOwner);

  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }

  TNotifyEvent OnUpClick, OnDownClick;
  // OnMouseEnter and OnMouseLeave are the control's own (CM_MOUSEENTER,
  // CM_MOUSELEAVE).
  // The decimal separator may be typed.
  bool Float = false;

 protected:
  void Dispatch(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  // With EditorEnabled off the text cannot be changed by Delete, cut or
  // clear either (copy and select all stay).
  bool CanModify() override;

  bool FEditorEnabled = true;
};

// ---------------------------------------------------------------------------
// The skinned edit: the edit control's client area is the text area; the
// frame (with an optional edit button at the right end) is the window's
// non-client area, painted from the skin's "edit" / "buttonedit"
// description or in a default look. The whole text area is painted in the
// erase step, the edit control's own text painting sent into the same
// device context.

class TspSkinData;
class TCustomImageList;
class TspDataSkinButtonControl;

// A button description's look stretched to R at its split points (the
// edits' and spin edits' buttons at any size): its down look when Down and
// Active, its active look when Active.
void DrawSkinButtonPiece(TCanvas* C, const TRect& R, TspSkinData* SD, TspDataSkinButtonControl* D, bool Down,
                         bool Active);
// The first description of Order the skin has, when it is a button
// description; else nullptr. The edits' buttons look in the order below,
// the combo box's button in its own.
TspDataSkinButtonControl* SkinButtonDescription(TspSkinData* SD, std::initializer_list<const char16_t*> Order);
inline TspDataSkinButtonControl* EditButtonDescription(TspSkinData* SD) {
  return SkinButtonDescription(SD, {u"editbutton", u"combobutton", u"resizebutton"});
}
// Sends Child's own WM_PAINT into DC at the child's place, clipped to its
// size (the inner edits' text painted into their control's erase step).
void PaintChildInto(HDC DC, TWinControl* Child);
// The cell height (tmHeight) of a font on the screen.
Integer FontCellHeight(TFont* F);

struct TspCBButtonX {
  TRect R;
  bool MouseIn = false;
  bool Down = false;
};

class TspSkinCustomEdit : public TspCustomEdit {
 public:
  explicit TspSkinCustomEdit(TComponent* AOwner);
  ~TspSkinCustomEdit() override;

  TspSkinData* SkinData() const { return FSD; }
  // Stores; a loaded skin is applied at once (ChangeSkinData).
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool ButtonMode() const { return FButtonMode; }
  // Stores and recreates the window.
  void SetButtonMode(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ButtonImageIndex() const { return FButtonImageIndex; }
  void SetButtonImageIndex(Integer Value);
  Integer LeftImageIndex() const { return FLeftImageIndex; }
  void SetLeftImageIndex(Integer Value);
  Integer LeftImageHotIndex() const { return FLeftImageHotIndex; }
  void SetLeftImageHotIndex(Integer Value) { FLeftImageHotIndex = Value; }
  Integer LeftImageDownIndex() const { return FLeftImageDownIndex; }
  void SetLeftImageDownIndex(Integer Value) { FLeftImageDownIndex = Value; }
  Integer RightImageIndex() const { return FRightImageIndex; }
  void SetRightImageIndex(Integer Value);
  Integer RightImageHotIndex() const { return FRightImageHotIndex; }
  void SetRightImageHotIndex(Integer Value) { FRightImageHotIndex = Value; }
  Integer RightImageDownIndex() const { return FRightImageDownIndex; }
  void SetRightImageDownIndex(Integer Value) { FRightImageDownIndex = Value; }

  TNotifyEvent OnButtonClick, OnLeftButtonClick, OnRightButtonClick;

  // Re-reads the description and applies fonts, height and colours.
  virtual void ChangeSkinData();
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // The next paint draws the whole text area again.
  void Invalidate() override;

  // Reads the description: FIndex and the skin's fields.
  void GetSkinData();
  bool Skinned() const { return FIndex != -1; }
  // The text area and the button (window coordinates) at the current size.
  void CalcRects();
  // The height the font (and images) ask for in the current look.
  Integer FittedHeight();
  // The image rectangles; with SetFormatting also the text's formatting rect.
  void CalcImageRects(bool SetFormatting);
  const TRect& EditRect() const { return FEditRect; }
  const TRect& ButtonRectNow() const { return FButtonRect; }
  bool MouseIn() const { return FMouseIn; }
  bool Focused();
  bool ButtonDown() const { return FButtonDown; }
  bool ButtonActive() const { return FButtonActive; }
  TspCBButtonX LeftButton, RightButton;

  Integer FIndex = -1;
  // The description's fields (valid while Skinned).
  TBitmap* Picture = nullptr;
  Integer LOffset = 0, ROffset = 0;
  TRect ClRect, SkinRect, ActiveSkinRect;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = clBlack, DisabledFontColor = clGrayText, ActiveFontColor = clBlack;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  bool StretchEffect = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

  // The frame image of the window's size.
  void PaintFrame(HDC DC, bool ClipText);
  void RepaintFrame();
  void PaintTextArea(HDC DC);
  void DrawImages(TCanvas* C);
  void MouseEnters();
  void MouseLeaves();
  void ApplyEnabledColor();

  bool FFromWMErase = false;
  bool FStopDraw = false;
  TColor FDefaultColor = clWindow;
  TRect FButtonRect, FEditRect;
  bool FButtonMode = false, FButtonDown = false, FButtonActive = false;
  bool FMouseIn = false;
  TspSkinData* FSD = nullptr;
  String FSkinDataName = u"edit";
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 0;
  TFont* FDefaultFont = nullptr;
  bool FUseSkinFont = true;
  Integer FDefaultWidth = 0, FDefaultHeight = 0;
  TAlignment FAlignment = taLeftJustify;
  TCustomImageList* FImages = nullptr;
  Integer FButtonImageIndex = -1;
  Integer FLeftImageIndex = -1, FLeftImageHotIndex = -1, FLeftImageDownIndex = -1;
  Integer FRightImageIndex = -1, FRightImageHotIndex = -1, FRightImageDownIndex = -1;

 private:
  void DrawButtonGlyph(TCanvas* C, const TRect& R);
  void StretchedFrame(TBitmap* B);
  void PlainFrame(TBitmap* B);
};

// The skinned edit as the dialogs place it.
class TspSkinEdit : public TspSkinCustomEdit {
 public:
  explicit TspSkinEdit(TComponent* AOwner) : TspSkinCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------------------
// A skinned edit holding a number: Value clamped to MinValue..MaxValue
// (unless they are equal), parsed while the user types, shown as an integer
// or with Decimal digits, stepped by Up and Down with SupportUpDownKeys and
// reformatted when the edit loses the focus.

class TspSkinNumericEdit : public TspSkinCustomEdit {
 public:
  explicit TspSkinNumericEdit(TComponent* AOwner);

  double Value() const { return FValue; }
  void SetValue(double AValue);
  double MinValue() const { return FMinValue; }
  void SetMinValue(double V) { FMinValue = V; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double V) { FMaxValue = V; }
  Byte Decimal() const { return FDecimal; }
  void SetDecimal(Byte V) { FDecimal = V; }
  TspValueType ValueType() const { return FValueType; }
  void SetValueType(TspValueType V) { FValueType = V; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double V) { FIncrement = V; }
  bool SupportUpDownKeys() const { return FSupportUpDownKeys; }
  void SetSupportUpDownKeys(bool V) { FSupportUpDownKeys = V; }

  bool IsNumText(const String& AText);

  bool StopCheck = false;
  bool FromEdit = false;

 protected:
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Dispatch(TMessage& Message) override;

 private:
  String FormatValue(double V) const { return FormatNumValue(V, FValueType, FDecimal); }
  void SetTextChecked(const String& S);

  double FMinValue = 0, FMaxValue = 0, FValue = 0;
  Byte FDecimal = 2;
  TspValueType FValueType = TspValueType::vtInteger;
  double FIncrement = 1.0;
  bool FSupportUpDownKeys = false;
};
