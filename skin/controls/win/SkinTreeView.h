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

 private:
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
};
