// Menus: short-cut keys and their texts, accelerators, and the menu data
// (TMenuItem trees held by TMainMenu and TPopupMenu). The items are data: the
// skinned menus draw them; TPopupMenu::Popup's base version shows them with
// Wine's own popup menu. Winelib only.
#pragma once

#include <memory>
#include <vector>

#include "classlib/Controls.h"

class TMenu;
class TCustomImageList;

// ---------------------------------------------------------------------------
// Short-cuts: a virtual key in the low byte plus modifier bits.

using TShortCut = Word;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Shift+", "Ctrl+", "Alt+" (in that order), then the key's name ("F4", "A",
// "Del", "PgUp", ...). A key without a name gives "".
String ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText, modifiers in any order and without case;
// scNone for a text that names no key.
TShortCut TextToShortCut(const String& Text);
// The accelerator character of a caption: the character after its last single
// "&" ("&&" is a literal ampersand); 0 when none.
Char GetHotkey(const String& Text);
// True when Str's accelerator is the character of VK (without case).
bool IsAccel(Word VK, const String& Str);
// The caption without its accelerator marks ("&&" becomes "&").
String StripHotkey(const String& Text);

// ---------------------------------------------------------------------------

enum TMenuBreak : Byte { mbNone, mbBreak, mbBarBreak };

// Owner drawing of an item: Sender is the object that draws the item (for
// the skinned menus their item object), ARect the text area on ACanvas.
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
enum TMenuAutoFlag : Byte { maAutomatic, maManual, maParent };

// One menu entry and the list of its sub-items. Items held in the list are
// freed with their parent; an item freed on its own leaves its parent's list.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  String Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its group.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  // Click toggles Checked first.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value) { FGroupIndex = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  String Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value) { FBreak = Value; }
  // The item's own glyph (made on first use, owned).
  TBitmap* Bitmap();
  bool HasBitmap() const { return FBitmap != nullptr && !FBitmap->Empty(); }
  void SetBitmap(TBitmap* Value);

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EMenuError "Menu index out of range" for a bad index.
  TMenuItem* Items(Integer Index) const;
  TMenuItem* Parent() const { return FParent; }
  // The menu whose tree holds this item, or nullptr.
  TMenu* GetParentMenu() const;
  // Adding an item that already has a parent raises EMenuError "Menu inserted twice".
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Takes the item out of the list and frees it.
  void Delete(Integer Index);
  // Takes the item out of the list without freeing it.
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  Integer IndexOf(TMenuItem* Item) const;
  Integer MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }
  // The sub-item with this 16-bit command, searching the whole subtree.
  TMenuItem* Find(Word ACommand);

  bool IsLine() const { return FCaption == u"-"; }
  // Hides separators that separate nothing: at the start, at the end and
  // right after another shown separator; shows the others. True when a
  // separator's visibility changed.
  bool RethinkLines();
  // A unique 16-bit command id (never 0), given for the item's lifetime.
  Word Command() const { return FCommand; }

  // An enabled item: toggles Checked when AutoCheck, then fires OnClick.
  virtual void Click();
  TNotifyEvent OnClick;
  // Assigned: the menus that draw items themselves leave the item's text
  // area to this handler.
  TMenuDrawItemEvent OnDrawItem;

 private:
  friend class TMenu;
  String FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  Byte FGroupIndex = 0;
  Integer FImageIndex = -1;
  String FHint;
  TMenuBreak FBreak = mbNone;
  TBitmap* FBitmap = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  Word FCommand = 0;
};

class EMenuError : public Exception {
 public:
  using Exception::Exception;
};

// ---------------------------------------------------------------------------

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item; its sub-items are the menu's entries.
  TMenuItem* Items() const { return FItems; }
  // Message is a key-down record (WParam = virtual key, LParam = key data;
  // Alt from the key data, Shift and Ctrl from the keyboard state). Finds an
  // enabled, visible item with that short-cut, searching the sub-menus of
  // enabled visible items only, and clicks it.
  virtual bool IsShortCut(TMessage& Message);
  // The item with this short-cut under the same rule, or nullptr.
  TMenuItem* FindShortCut(TShortCut AShortCut) const;
  // Clicks the item with this command; false when there is none.
  bool DispatchCommand(Word ACommand);
  TMenuItem* FindItem(Word ACommand) const;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
  void SetAutoLineReduction(TMenuAutoFlag Value) { FAutoLineReduction = Value; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
  TMenuAutoFlag FAutoLineReduction = maAutomatic;
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // Screen coordinates. The base version fires OnPopup, shows the visible
  // items with Wine's popup menu (TrackPopupMenuEx, modal) and then clicks
  // the chosen item. Exceptions of OnPopup and of the click reach the caller.
  virtual void Popup(Integer X, Integer Y);
  // Shows the visible items with Wine's popup menu at (X, Y) (modal) and
  // gives back the chosen item's command without clicking it (0: none).
  Word TrackPopupCommand(Integer X, Integer Y);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPoint PopupPoint() const { return FPopupPoint; }

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fires OnPopup.
  virtual void DoPopup(TObject* Sender);

 private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  std::shared_ptr<bool> FAlive;
  TPoint FPopupPoint{-1, -1};
};

// The window that owns the popup menus of TPopupMenu::Popup (a hidden
// utility window; tests find the open menu through it).
HWND PopupListWindow();
