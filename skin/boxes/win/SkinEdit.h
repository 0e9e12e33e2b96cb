// The edit base of every skinned edit and the numeric inner edit of the spin
// edit and the combo box. Winelib only.
#pragma once

#include <functional>

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

  bool FDown = false;
  bool FEditTransparent = false;
  TspSkinPopupMenu* FSysPopupMenu = nullptr;

 private:
  void ShowContextMenu(TMessage& M);
  void FreeSysPopupMenu();
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
  void PasteText(const String& Text) override;

  bool FEditorEnabled = true;

 private:
  bool FPasting = false, FPasteBeeped = false;
};
