// The two menus the skinned buttons drop down, as the buttons, the tray
// icon, the edits and the form engine see them: the skinned popup menu
// TspSkinPopupMenu and the picture-grid menu TspSkinImagesMenu with its
// items. The form component reaches them through the small host interface
// TspSkinMenuHost (which it implements), found by FindSkinForm.
//
// The popup menu opens its items through the host form's skinned menu
// (SkinMenuLevels.h) and returns at once; the menu closes later and tells
// the control that opened it (1228, then 1229 after a command). Winelib only.
#pragma once

#include <memory>

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/controls/win/SkinMenuLevels.h"
#include "skin/data/SkinData.h"

class TspSkinHint;

// What a menu needs of its form's skin component.
class TspSkinMenuHost {
 public:
  // The form the component skins.
  virtual TCustomForm* MenuHostForm() = 0;
  virtual TspSkinData* MenuHostSkinData() = 0;
  // The menus' own skin (nullptr: the form's).
  virtual TspSkinData* MenuHostMenusSkinData() = 0;
  // A skinned menu of the form is open.
  virtual bool SkinMenuVisible() = 0;
  virtual void SkinMenuOpen() = 0;
  virtual void SkinMenuClose() = 0;
  // The form's skinned menu.
  virtual TspSkinMenu* MenuHostSkinMenu() = 0;

 protected:
  ~TspSkinMenuHost() = default;
};

// nullptr for nullptr; else the first of AForm's owned components, in
// Components order, that is a menu host (the form's skin component).
TComponent* FindSkinForm(TComponent* AForm);
// The same as the host interface.
TspSkinMenuHost* FindSkinMenuHost(TComponent* AForm);

// ---------------------------------------------------------------------------

class TspSkinPopupMenu : public TPopupMenu {
 public:
  explicit TspSkinPopupMenu(TComponent* AOwner);
  ~TspSkinPopupMenu() override;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  // The host named directly (else the one of ComponentForm, else of the
  // owner or the owner's owner when that is a form).
  TComponent* SkinComponent() const { return FSkinComponent; }
  void SetSkinComponent(TComponent* Value);
  TCustomForm* ComponentForm() const { return FComponentForm; }
  void SetComponentForm(TCustomForm* Value);

  // Each fires OnPopup first and shows nothing without a host.
  void Popup(Integer X, Integer Y) override;
  virtual void PopupFromRect(const TRect& R, bool APopupUp);
  // The menu at R (screen coordinates) on behalf of ACtrl, which receives
  // message 1228 when the menu has closed (SendMessage to a windowed
  // control, Perform on a graphic one). True when a menu was shown.
  virtual bool PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp);
  // Below (X, Y) with ACtrl as the popup control; only when a skin is known.
  virtual void Popup2(TControl* ACtrl, Integer X, Integer Y);
  bool SupportDirectlyMouseUp() const { return FSupportDirectlyMouseUp; }
  void SetSupportDirectlyMouseUp(bool Value) { FSupportDirectlyMouseUp = Value; }

  TNotifyEvent OnMenuClose;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The host of this menu (finding it takes the host's skin when the menu has none).
  TspSkinMenuHost* FindHost();
  // The common path of the four openings; false when no menu could open.
  bool Open(TControl* ACtrl, const TRect& R, bool APopupUp, bool AMouseUp, bool ANeedSkin);

 private:
  TspSkinData* FSD = nullptr;
  TComponent* FSkinComponent = nullptr;
  TCustomForm* FComponentForm = nullptr;
  bool FSupportDirectlyMouseUp = false;
  std::shared_ptr<bool> FAlive;
};

// ---------------------------------------------------------------------------

class TspSkinImagesMenu;
class TspSkinImagesMenuPopupWindow;

// The item under the pointer changed (-1: none).
using TMouseMoveItemIndexChangedEvent = std::function<void(TObject* Sender, Integer Index)>;

class TspImagesMenuItem : public TCollectionItem {
 public:
  explicit TspImagesMenuItem(TCollection* Collection);
  void Assign(TPersistent* Source) override;

  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool Button() const { return FButton; }
  void SetButton(bool Value);
  bool Header() const { return FHeader; }
  void SetHeader(bool Value);

  TNotifyEvent OnClick;
  // Set by the grid's layout (popup window coordinates).
  TRect ItemRect;
  // A colour the item carries (the colour button's cells).
  TColor FColor = 0;

 private:
  Integer FImageIndex = -1;
  String FCaption;
  String FHint;
  bool FButton = false;
  bool FHeader = false;
};

class TspImagesMenuItems : public TCollection {
 public:
  explicit TspImagesMenuItems(TspSkinImagesMenu* AMenu);
  TspImagesMenuItem* Add() { return static_cast<TspImagesMenuItem*>(TCollection::Add()); }
  TspImagesMenuItem* Items(Integer Index) const { return static_cast<TspImagesMenuItem*>(TCollection::Items(Index)); }
  TspSkinImagesMenu* Menu() const { return FMenu; }

 private:
  TspSkinImagesMenu* FMenu;
};

class TspSkinImagesMenu : public TComponent {
 public:
  explicit TspSkinImagesMenu(TComponent* AOwner);
  ~TspSkinImagesMenu() override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TspImagesMenuItems* ImagesItems() const { return FImagesItems; }
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value) { FItemIndex = Value; }
  // The item at ItemIndex, or nullptr when it is out of range.
  TspImagesMenuItem* GetSelectedItem() const;
  TspImagesMenuItem* SelectedItem() const { return GetSelectedItem(); }
  Integer ColumnsCount() const { return FColumnsCount; }
  // 1..50; other values are ignored.
  void SetColumnsCount(Integer Value);
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  bool ShowHints() const { return FShowHints; }
  void SetShowHints(bool Value) { FShowHints = Value; }
  TspSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TspSkinHint* Value);
  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool ShowSelectedItem() const { return FShowSelectedItem; }
  void SetShowSelectedItem(bool Value) { FShowSelectedItem = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Integer AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Integer Value) { FAlphaBlendValue = Value; }

  // The grid below R (screen coordinates; above it when there is no room
  // below). An open grid closes first, with its close events. True when a
  // popup was shown; it returns at once and, once the popup closes: after a
  // choice ItemIndex, the item's OnClick, OnItemClick, and OnInternalChange
  // with OnChange when the index changed; on every close OnInternalMenuClose
  // and OnMenuClose. Without images or items nothing is shown and no close
  // notification follows.
  virtual bool PopupFromRect(const TRect& R);
  void Popup(Integer X, Integer Y) { PopupFromRect(TRect(X, Y, X, Y)); }
  // Closes an open popup without a choice.
  void Hide();
  TspSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }
  // The popup's hot item changed by the pointer.
  void ItemChanged(TObject* Sender);
  // Frees the popup (the application frees it later) and runs the close
  // events (with the choice's when AProcessEvents).
  void ClosePopup(bool AProcessEvents);
  HWND MainWindowHandle() const { return FMainWindowHandle; }
  void SetMainWindowHandle(HWND Value) { FMainWindowHandle = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnItemClick;
  TNotifyEvent OnMenuPopup;
  TNotifyEvent OnMenuClose;
  // Set by the buttons that show the menu's selected item.
  TNotifyEvent OnInternalChange;
  TNotifyEvent OnInternalMenuClose;
  TMouseMoveItemIndexChangedEvent OnItemIndexChanged;

  // The selected item's index (-1 none); written directly by the
  // picture-menu buttons.
  Integer FItemIndex = -1;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TCustomImageList* FImages = nullptr;
  TspImagesMenuItems* FImagesItems;
  Integer FColumnsCount = 1;
  TspSkinData* FSD = nullptr;
  bool FShowHints = true;
  TspSkinHint* FSkinHint = nullptr;
  TFont* FDefaultFont;
  bool FUseSkinFont = true;
  bool FShowSelectedItem = true;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Integer FAlphaBlendValue = 200;
  TspSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
  Integer FOldItemIndex = 0;
  HWND FMainWindowHandle = nullptr;
  std::shared_ptr<bool> FAlive;
};

// The grid window of an open images menu. It never activates; while it is
// open an entry of the application's message hooks gives it the keys and
// closes it on presses elsewhere, and a hook on the thread's sent messages
// closes it when the application or the active form is deactivated, moved
// or sized.
class TspSkinImagesMenuPopupWindow : public TCustomControl {
 public:
  explicit TspSkinImagesMenuPopupWindow(TspSkinImagesMenu* AMenu);
  ~TspSkinImagesMenuPopupWindow() override;

  void Show(const TRect& PopupRect);
  void Hide(bool AProcessEvents);
  void ProcessKey(Integer KeyCode);
  // The first non-header item whose rect holds the point (edges included).
  Integer ItemAtPoint(Integer X, Integer Y) const;
  Integer ItemIndex() const { return MouseInItem; }
  bool SkinSupport() const { return FSkinSupport; }
  // Lays the items out from the origin; the grid's width and height.
  void LayoutItems(Integer& GridWidth, Integer& GridHeight);
  // The top-left of a grid of W by H below R (above it without room) in WA.
  static TPoint PlaceGrid(const TRect& WA, const TRect& R, Integer W, Integer H);

  TNotifyEvent OnItemChanged;
  TspSkinImagesMenu* ImagesMenu;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewItemsRect;
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  Integer MouseInItem = -1;
  Integer OldMouseInItem = -1;
  bool FDown = false;
  bool FItemDown = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

 private:
  void AppMessage(MSG& Msg, bool& Handled);
  void DrawCell(TCanvas* C, const TRect& R, bool APressed);
  void DrawButtonText(TCanvas* C, const String& Caption, TRect R, bool APressed, bool AHot);
  void DrawHeaderItem(TCanvas* C, const TRect& R, const String& Caption);
  TspDataSkinLabelControl* LabelData() const;
  TspDataSkinButtonControl* ButtonData() const;
  void SetHot(Integer Index);
  void RemoveHooks();
  void HideItemHint();

  bool FSkinSupport = false;
  HRGN FRgn = nullptr;
  HHOOK FSentHook = nullptr;
  HWND FWatchedForm = nullptr;
  bool FHooked = false;
};
