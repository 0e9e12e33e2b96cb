// The skinned tree TspSkinCustomTreeView: the platform tree view drawn by
// the platform in the skin's font and colours, without frame or window
// scroll bars; two external skinned scroll bars stand in for those and
// follow the window's scroll state. Winelib only.
#pragma once

#include "classlib/Controls.h"
// After Controls.h: commctrl.h needs the Windows headers before it.
#include "classlib/ComCtrls.h"
#include "skin/data/SkinData.h"

class TspSkinScrollBar;

class TspSkinCustomTreeView : public TCustomTreeView {
 public:
  explicit TspSkinCustomTreeView(TComponent* AOwner);
  ~TspSkinCustomTreeView() override;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  virtual void ChangeSkinData();
  bool Skinned() const { return FIndex != -1; }

  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

  TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TspSkinScrollBar* Value);
  TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TspSkinScrollBar* Value);
  // The external bars made to follow the window's scroll state.
  void UpDateScrollBars();
  // How many times the bars were synchronised (a measure of the work).
  Integer ScrollBarUpdates() const { return FScrollBarUpdates; }

  // Items painted through the skin (the selected one on the item
  // description's picture) instead of the platform's drawing. The user's
  // OnAdvancedCustomDrawItem is kept and runs again when this is off.
  bool DrawSkin() const { return FDrawSkin; }
  virtual void SetDrawSkin(bool Value) { FDrawSkin = Value; }
  const String& ItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
  TCustomImageList* ButtonImageList() const { return FButtonImageList; }
  void SetButtonImageList(TCustomImageList* Value) { FButtonImageList = Value; }
  Integer ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
  void SetButtonExpandImageIndex(Integer Value) { FButtonExpandImageIndex = Value; }
  Integer ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
  void SetButtonNoExpandImageIndex(Integer Value) { FButtonNoExpandImageIndex = Value; }

  TColor LineColor() const { return FLineColor; }
  TColor ButtonColor() const { return FButtonColor; }
  TBitmap* ExpandImage() const { return FExpandImage; }
  TBitmap* NoExpandImage() const { return FNoExpandImage; }

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change(TTreeNode* Node) override;
  bool IsCustomDrawn(bool ItemLevel, TCustomDrawStage Stage) const override;
  bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage, bool& PaintImages) override;

 private:
  // The skinned item painter: false when it drew the item.
  bool SkinDrawItem(TTreeNode* Node, TCustomDrawState State);
  void DrawLinesAndButton(TTreeNode* Node, const TRect& R);
  void DrawNodeImage(TTreeNode* Node, const TRect& R);
  void FadingLine(Integer X1, Integer X2, Integer Y);
  void VScrollChange(TObject* Sender);
  void HScrollChange(TObject* Sender);

  TBitmap* FExpandImage;
  TBitmap* FNoExpandImage;
  TColor FLineColor = TColor(0x808080);
  TColor FButtonColor = TColor(0x808080);
  bool FInCheckScrollBars = false;
  TspSkinData* FSD = nullptr;
  String FSkinDataName = u"treeview";
  Integer FIndex = -1;
  TFont* FDefaultFont;
  bool FUseSkinFont = true;
  TColor FDefaultColor = clWindow;
  TspSkinScrollBar* FVScrollBar = nullptr;
  TspSkinScrollBar* FHScrollBar = nullptr;
  Integer FScrollBarUpdates = 0;
  bool FDrawSkin = false;
  String FItemSkinDataName = u"listbox";
  TCustomImageList* FButtonImageList = nullptr;
  Integer FButtonNoExpandImageIndex = 0, FButtonExpandImageIndex = 1;
  Integer FButtonSize = 5;
};
