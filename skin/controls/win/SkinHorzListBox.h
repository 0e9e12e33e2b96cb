// The horizontal item list TspSkinHorzListBox: a collection of items shown
// side by side in one row (a glyph from an image list and an optional
// caption each), one of them current, scrolled by a skinned scroll bar that
// exists only while the row is wider than the control. Winelib only.
#pragma once

#include "classlib/ImgList.h"
#include "skin/controls/SkinHorzListGeometry.h"
#include "skin/controls/win/SkinScrollBar.h"
#include "skin/data/SpLayout.h"

class TspSkinHorzListBox;

class TspSkinHorzItem : public TCollectionItem {
 public:
  explicit TspSkinHorzItem(TCollection* Collection);
  void Assign(TPersistent* Source) override;

  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }

  TNotifyEvent OnClick;
  TRect ItemRect;
  bool IsVisible = false;
  bool Active = false;

 private:
  Integer FImageIndex = -1;
  String FCaption;
  bool FEnabled = true;
  void* FData = nullptr;
};

class TspSkinHorzItems : public TCollection {
 public:
  explicit TspSkinHorzItems(TspSkinHorzListBox* AListBox);
  TspSkinHorzItem* Add() { return static_cast<TspSkinHorzItem*>(TCollection::Add()); }
  TspSkinHorzItem* Insert(Integer Index) { return static_cast<TspSkinHorzItem*>(TCollection::Insert(Index)); }
  TspSkinHorzItem* Items(Integer Index) const { return static_cast<TspSkinHorzItem*>(TCollection::Items(Index)); }
  TspSkinHorzListBox* HorzListBox;

 protected:
  void Update(TCollectionItem* Item) override;
};

using TspDrawSkinOfficeItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, TRect TextRct)>;

class TspSkinHorzListBox : public TspSkinCustomControl {
 public:
  explicit TspSkinHorzListBox(TComponent* AOwner);
  ~TspSkinHorzListBox() override;

  TspSkinHorzItems* Items() const { return FItems; }
  void SetItems(TspSkinHorzItems* Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ItemIndex() const { return FItemIndex; }
  // -1 only repaints (the old item stays drawn as current); an index at or
  // above the count raises the list's index error before anything changes.
  void SetItemIndex(Integer Value);
  Integer ItemWidth() const { return FItemWidth; }
  void SetItemWidth(Integer Value);
  TspButtonLayout ItemLayout() const { return FItemLayout; }
  void SetItemLayout(TspButtonLayout Value);
  Integer ItemMargin() const { return FItemMargin; }
  void SetItemMargin(Integer Value);
  Integer ItemSpacing() const { return FItemSpacing; }
  void SetItemSpacing(Integer Value);
  bool ShowGlow() const { return FShowGlow; }
  void SetShowGlow(bool Value);
  bool ShowItemTitles() const { return FShowItemTitles; }
  void SetShowItemTitles(bool Value);
  bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
  void SetMouseMoveChangeIndex(bool Value) { FMouseMoveChangeIndex = Value; }

  TspDrawSkinOfficeItemEvent OnDrawItem;
  TNotifyEvent OnItemClick;

  Integer CalcWidth(Integer AItemCount);
  void BeginUpdateItems();
  void EndUpdateItems();
  void ScrollToItem(Integer Index);
  void Scroll(Integer AScrollOffset);
  void GetScrollInfo(Integer& AMin, Integer& AMax, Integer& APage, Integer& APosition);
  Integer ItemAtPos(Integer X, Integer Y);
  void CalcItemRects();
  void UpdateScrollInfo();
  // The scroll bar while one is shown, else nullptr.
  TspSkinScrollBar* ScrollBar() const { return FScrollBar; }
  const TRect& ItemsRect() const { return FItemsRect; }
  Integer ScrollOffset() const { return FScrollOffset; }

  void ChangeSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  TspHorzRow Row() const;
  TRect AreaRect();
  void SetActiveItem(Integer Index);
  void ShowScrollbar();
  void HideScrollBar();
  void AdjustScrollBar();
  void DrawItems(TBitmap* B);
  void DrawItem(Integer Index, TCanvas* C);
  void DefaultDrawItem(Integer Index, TCanvas* C);
  void SkinDrawItem(Integer Index, TCanvas* C);
  // The item's glyph and caption in Content (or OnDrawItem instead), with a
  // glow of GlowColor when Glow is set.
  void DrawItemContent(Integer Index, TCanvas* C, const TRect& Content, bool Enabled, bool Glow = false,
                       TColor GlowColor = 0);
  std::vector<bool> EnabledItems() const;
  Integer PageItems() const;

  bool FInUpdateItems = false;
  bool FShowGlow = false;
  TspButtonLayout FItemLayout = blGlyphTop;
  Integer FItemMargin = -1;
  Integer FItemSpacing = 1;
  bool FMouseMoveChangeIndex = false;
  TColor FDisabledFontColor = 0x808080;
  bool FClicksDisabled = false;
  bool FMouseDown = false;
  Integer FMouseActive = -1;
  Integer FMax = 0;
  Integer FRealMax = 0;
  TRect FItemsRect;
  Integer FScrollOffset = 0;
  TspSkinHorzItems* FItems;
  TCustomImageList* FImages = nullptr;
  bool FShowItemTitles = true;
  Integer FItemWidth = 70;
  Integer FOldWidth = -1;
  TspSkinScrollBar* FScrollBar = nullptr;
  Integer FItemIndex = -1;
};
