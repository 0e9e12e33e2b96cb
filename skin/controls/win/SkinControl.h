// The look protocol of every skinned control, written once over the class
// library's two bases: a control names its description (SkinDataName), is
// given a skin (SkinData), looks the description up at every paint, size
// change and skin change, and paints through one off-screen bitmap either
// from the skin or in its default look, optionally cross-faded over what
// lies behind it (AlphaBlend).
//
//   TspSkinControl       (windowed, TCustomControl)  -> TspSkinCustomControl
//   TspGraphicSkinControl (painted by its parent, TGraphicControl)
//                                                     -> TspGraphicSkinCustomControl
//
// The custom bases add the stretchable geometry: resize modes, sizes forced
// by the skin, nine- and three-slice images and (windowed only) the window
// region of the skin's mask and the direct frame mode. Winelib only.
#pragma once

#include <memory>
#include <type_traits>

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinCtrlGeometry.h"
#include "skin/data/SkinData.h"

// ---------------------------------------------------------------------------
// The look protocol (both bases)

template <class TBase>
class TspSkinLook : public TBase {
 public:
  static constexpr bool Windowed = std::is_base_of_v<TWinControl, TBase>;

  explicit TspSkinLook(TComponent* AOwner);

  TspSkinData* SkinData() const { return FSD; }
  // Stores the skin; a loaded (not Empty) skin is applied at once
  // (ChangeSkinData). nullptr only forgets it: the control stays as it is
  // until its next paint.
  virtual void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  const String& AreaName() const { return FAreaName; }
  void SetAreaName(const String& Value) { FAreaName = Value; }
  bool DrawDefault() const { return FDrawDefault; }
  void SetDrawDefault(bool Value) { FDrawDefault = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  // Both repaint, also when the value does not change.
  virtual void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  virtual void SetAlphaBlendValue(Byte Value);
  bool UseSkinCursor() const { return FUseSkinCursor; }
  void SetUseSkinCursor(bool Value) { FUseSkinCursor = Value; }
  const String& HintTitle() const { return FHintTitle; }
  void SetHintTitle(const String& Value) { FHintTitle = Value; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value);

  // FIndex := the description's index in the skin's control list, or -1
  // without a skin, for an Empty skin or when the skin has no such name.
  virtual void GetSkinData();
  // The default look and the skinned look, drawn into B (empty here).
  virtual void CreateControlDefaultImage(TBitmap* B) { (void)B; }
  virtual void CreateControlSkinImage(TBitmap* B) { (void)B; }
  // Re-reads the description, applies the skin cursor, repaints.
  virtual void ChangeSkinData();
  // Forgets the description while the skin is replaced.
  virtual void BeforeChangeSkinData() { FIndex = -1; }

  bool Skinned() const { return FIndex != -1; }
  // The description at FIndex, or nullptr.
  TspDataSkinControl* SkinDescription() const;
  // Skin effects (cross-fades, animations) are on: a loaded skin with
  // EnableSkinEffects.
  bool SkinEffectsOn() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }

  // Index of the description in the skin's control list, -1 when unskinned.
  Integer FIndex = -1;
  // The skin cursor (added to the skin's first cursor number); -1 none.
  Integer CursorIndex = -1;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Sets the control's cursor from the skin when UseSkinCursor is on.
  void ApplySkinCursor();

  TspSkinData* FSD = nullptr;
  String FAreaName;
  String FSkinDataName;
  bool FDrawDefault = true;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  bool FUseSkinCursor = false;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
};

// ---------------------------------------------------------------------------

class TspSkinControl : public TspSkinLook<TCustomControl> {
 public:
  explicit TspSkinControl(TComponent* AOwner);

  // Stores the name only: it takes effect at the next paint, size change or
  // skin change.
  virtual void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  // What lies behind the control changed (message 0x504): a blended control
  // repaints and tells its children.
  virtual void CheckParentBackground();
  // 0x504 to every child in Controls order: SendMessage to a windowed one
  // (making its window), Perform on a graphic one.
  void CheckControlsBackground();

  void Dispatch(TMessage& Message) override;

  // True while the control handles its own WM_PAINT.
  bool FromWMPaint = false;
};

class TspGraphicSkinControl : public TspSkinLook<TGraphicControl> {
 public:
  explicit TspGraphicSkinControl(TComponent* AOwner);
  // Written directly (no setter operation of its own).
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  void Dispatch(TMessage& Message) override;
};

// ---------------------------------------------------------------------------
// The stretchable geometry (both custom bases)

template <class TBase>
class TspSkinCustomLook : public TBase, public TspSkinGeometry {
 public:
  explicit TspSkinCustomLook(TComponent* AOwner);
  ~TspSkinCustomLook() override;

  TFont* DefaultFont() const { return FDefaultFont; }
  // Assigns the font, then DefaultFontChanged.
  void SetDefaultFont(TFont* Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  Integer DefaultWidth() const { return FDefaultWidth; }
  Integer DefaultHeight() const { return FDefaultHeight; }
  // Store; unskinned, a value above 0 also sets the size.
  void SetDefaultWidth(Integer Value);
  void SetDefaultHeight(Integer Value);
  TRect RealClientRect() const { return NewClRect; }
  Integer RealClientWidth() const { return NewClRect.Width(); }
  Integer RealClientHeight() const { return NewClRect.Height(); }
  Integer RealClientLeft() const { return NewClRect.Left; }
  Integer RealClientTop() const { return NewClRect.Top; }

  // Hook run after DefaultFont changed (empty here).
  virtual void DefaultFontChanged() {}
  // Adjusts a proposed size to the skin; computes the New... geometry.
  virtual void CalcSkinSize(Integer& AWidth, Integer& AHeight);
  // Sets or removes the window region (a graphic control has none: empty).
  virtual void SetControlRegion() {}

  // A description of another class than the stretchable control
  // descriptions counts as none: the control keeps its default look and
  // size.
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // ARect of APicture into B by ResizeMode (used with any state rect).
  // Draws nothing without a picture.
  virtual void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect);
  Integer CalcResizeMode() const { return ::CalcResizeMode(*this); }
  // A rect in skin-rect coordinates at the current size.
  TRect MapSkinRect(const TRect& R) { return ::MapSkinRect(*this, this->Width(), this->Height(), R); }
  // The active picture Index of the skin, or nullptr.
  TBitmap* SkinPicture(Integer Index) const;
  // CalcSkinSize on a copy of the current size.
  void RefreshSkinGeometry();

  // The active picture holding SkinRect, or nullptr; never owned.
  TBitmap* Picture = nullptr;

 protected:
  bool FUseSkinFont = true;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  TFont* FDefaultFont;
};

// The windowed stretchable base: adds the window region of the skin's mask
// and the direct mode, in which a freely stretching frame is painted as four
// strips straight on the canvas with the client area filled from the skin.
class TspSkinCustomControl : public TspSkinCustomLook<TspSkinControl> {
 public:
  explicit TspSkinCustomControl(TComponent* AOwner);
  ~TspSkinCustomControl() override;

  bool ForcebackGround() const { return FForceBackground; }
  void SetForcebackGround(bool Value) { FForceBackground = Value; }
  bool DrawbackGround() const { return FDrawbackground; }
  void SetDrawbackGround(bool Value) { FDrawbackground = Value; }
  // True while the window holds a region made from the skin's mask.
  bool HasSkinRegion() const { return FRgn; }

  void GetSkinData() override;
  void SetControlRegion() override;
  void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) override;

  // The active picture holding the mask, or nullptr; never owned.
  TBitmap* MaskPicture = nullptr;

 protected:
  void Paint() override;
  void PaintDirect();
  // The press rule of focusable skinned controls: a left press on a control
  // without the focus takes the focus first, and CN_COMMAND clicks that
  // arrive while SetFocus runs (OnExit/OnEnter handlers) are refused through
  // ClicksDisabled. False when M must go no further: the control was freed,
  // the focus did not arrive, or a click came while the focus was moving.
  // SkipWhileDesigning leaves presses in the designer alone.
  bool FocusBeforePress(const TMessage& M, bool& ClicksDisabled, bool SkipWhileDesigning);

  bool FForceBackground = false;
  bool FDrawbackground = true;
  // The window owns the region once it is set; this only records that one is.
  bool FRgn = false;
};

class TspGraphicSkinCustomControl : public TspSkinCustomLook<TspGraphicSkinControl> {
 public:
  explicit TspGraphicSkinCustomControl(TComponent* AOwner);

 protected:
  // The base's off-screen paint with the geometry at the current size.
  void Paint() override;
};

// ---------------------------------------------------------------------------
// Painting helpers shared by the skinned controls

// A bitmap for one paint, given back to a small pool of scratch bitmaps when
// it goes: making a DIB section and its device context costs about 0.2 ms
// under Wine, more than composing a whole control. Only the memory is
// reused: a bitmap taken is white, 24-bit, not transparent, with its
// canvas's pen, brush and font as new; no control image is kept between
// paints.
struct TspScratchReturn {
  void operator()(TBitmap* B) const;
};
using TspScratchBitmap = std::unique_ptr<TBitmap, TspScratchReturn>;
TspScratchBitmap NewSkinBitmap(Integer W, Integer H);
// Frees the pooled bitmaps (at the end of the program).
void FreeSkinScratchBitmaps();

// A control's timer (cross-fade, animation, auto-repeat): one class-library
// timer made on first use and armed while running; making and freeing a
// timer's window on every hover is slow under Wine. Stopping (also from
// inside its own tick) only disarms it.
class TspControlTimer {
 public:
  TspControlTimer() = default;
  TspControlTimer(const TspControlTimer&) = delete;
  TspControlTimer& operator=(const TspControlTimer&) = delete;
  ~TspControlTimer() { delete FTimer; }
  // Arms the timer (again) with Interval and OnTick.
  void Start(Cardinal Interval, TNotifyEvent OnTick);
  void Stop();
  bool Running() const { return FRunning; }
  void SetInterval(Cardinal Interval);
  Cardinal Interval() const { return FTimer ? FTimer->Interval() : 0; }
  // The armed class-library timer, nullptr while stopped.
  TTimer* Timer() const { return FRunning ? FTimer : nullptr; }
  explicit operator bool() const { return FRunning; }

 private:
  TTimer* FTimer = nullptr;
  bool FRunning = false;
};
// Draws Image at (0, 0) of Canvas, cross-faded over what lies behind
// Control when Blend, by the factor 1 - Value / 255.
void DrawSkinImage(TControl* Control, TCanvas* Canvas, TBitmap* Image, bool Blend, Byte Value);
// Normal transformed towards Active by Kf with the transition of Kind, then
// blended as DrawSkinImage does, drawn at (0, 0).
void DrawMorphedSkinImage(TControl* Control, TCanvas* Canvas, TBitmap* Normal, TBitmap* Active, double Kf,
                          TMorphKind Kind, bool Blend, Byte Value);
// An effect bitmap of B's pixels (B not empty). A 24-bit bitmap is copied
// row by row from its section: reading it through a display device context
// costs more than a whole cross-fade under Wine.
class TspEffectBmp;
std::unique_ptr<TspEffectBmp> SkinEffectOf(TBitmap* B);
// Dest takes Source's attributes one by one, so an unchanged font keeps its
// handle (a new one costs a font lookup on every paint).
void AssignFont(TFont* Dest, TFont* Source);
// The character set of skinned text: the skin text table's, else the font's.
TFontCharset SkinTextCharset(TspSkinData* SD, TFont* DefaultFont);
// R of Picture drawn transparently (its bottom-left pixel's colour) at (X, Y);
// nothing for an empty rect or a missing picture.
void DrawSkinStateImage(TCanvas* Canvas, TBitmap* Picture, const TRect& R, Integer X, Integer Y);
// A 1-pixel frame around R in Frame with the inside filled in Face.
void FillFramedRect(TCanvas* Canvas, const TRect& R, TColor Frame, TColor Face);
// The default-look colours of buttons.
inline constexpr TColor DefaultHotFace = 0xD2BDB6;
inline constexpr TColor DefaultDownFace = 0xB59385;
inline constexpr TColor DefaultHotFrame = 0x800000;
