// The frame objects of a skinned form: the base TspActiveSkinObject (data
// from one skin description, its looks, the morph between them, the mouse
// protocol that fires the form's object events, the glow layer), the push
// and caption buttons, the caption and the classes the object factory makes
// from the skin's other descriptions. Winelib only.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Menus.h"

#include <memory>
#include "skin/data/SkinData.h"
#include "skin/data/win/SpBitmap.h"

#include "skin/controls/win/SkinPanel.h"

class TspFormSkin;
class TspLayerManager;
class TspSkinPopupMenu;
enum TspClientInActiveEffect : Byte { spieSemiTransparent, spieBlur };

// The object events of a form and the state of a frame switch. The class
// library has its own mouse-event types; these live in their own scope.
namespace spobj {
enum TSwitchState : Byte { swsOn, swsOff };
using TMouseEnterEvent = std::function<void(const String& IDName)>;
using TMouseLeaveEvent = std::function<void(const String& IDName)>;
using TMouseDownEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect, TMouseButton Button)>;
using TMouseUpEvent = TMouseDownEvent;
using TMouseMoveEvent = std::function<void(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect)>;
using TPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect)>;
using TSwitchChangeStateEvent = std::function<void(const String& IDName, TSwitchState State)>;
using TValueChangeEvent = std::function<void(const String& IDName, Integer Value)>;
}  // namespace spobj

class TspActiveSkinObject : public TObject {
 public:
  // AData may be nil (the default caption buttons).
  TspActiveSkinObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  // A point relative to ObjectRect's top-left corner is in the shape.
  virtual bool PointInMask(Integer X, Integer Y);
  virtual void ShowLayer();
  virtual void HideLayer();
  virtual void InitAlphaImages() {}
  virtual void DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) {
    (void)Cnvs;
    (void)ABitMap;
  }
  // On a canvas whose origin is the window's top-left corner. UpDate is
  // false while the whole frame is painted (the frame picture then already
  // shows the normal look).
  virtual void Draw(TCanvas* Cnvs, bool UpDate);
  virtual void DblClick() {}
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseMove(Integer X, Integer Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool CanMorphing();

  bool EnableMorphing();
  // One step of 0.2 towards the look the object is heading for.
  void DoMorphing();
  // Starts the fade, or repaints at once when the object does not fade.
  void ReDraw();
  double MorphKf() const { return FMorphKf; }
  void SetMorphKf(double Value) { FMorphKf = Value < 0 ? 0 : (Value > 1 ? 1 : Value); }
  // The form has a skin with pictures.
  bool HasSkin() const;

  TspFormSkin* Parent;
  double FMorphKf = 0;
  bool FMouseIn = false;
  TBitmap* Picture = nullptr;
  TBitmap* ActivePicture = nullptr;
  TBitmap* ActiveMaskPicture = nullptr;
  TspSkinData* SD = nullptr;
  String IDName;
  String Hint;
  TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ObjectRect;
  bool Active = false;
  bool Enabled = true;
  Integer CursorIndex = -1;
  bool RollUp = false;
  bool Visible = true;
  bool SkinRectInAPicture = false;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;

 protected:
  // The source of the normal look (the active picture when the look is
  // cut from it).
  TBitmap* NormalSource() const { return SkinRectInAPicture ? ActivePicture : Picture; }
  // Copies R of Source onto ObjectRect of Cnvs; a nil source or an empty
  // rectangle copies nothing.
  void CopyLook(TCanvas* Cnvs, TBitmap* Source, const TRect& R);
  // The fade between NormalR of NormalSrc and ActiveR of the active
  // picture at the current factor, composed off-screen and copied once.
  void DrawTransition(TCanvas* Cnvs, TBitmap* NormalSrc, const TRect& NormalR, const TRect& ActiveR);
  // The object's rectangle on the screen (the glow layer, menus).
  TRect ScreenRect(const TRect& R, bool WithLayeredBorder);
  void ShowLayerOn(TspLayerManager* Manager, bool WithLayeredBorder);
  void HideLayerOn(TspLayerManager* Manager);
  // The base's part of the mouse protocol (events only).
  void FireMouseDown(Integer X, Integer Y, TMouseButton Button);
  void FireMouseUp(Integer X, Integer Y, TMouseButton Button);
  void FireEnter();
  void FireLeave();
};

// Where the caption's text of W x H starts in text rectangle TR: centred
// vertically, placed by Al (centred whatever Al says when Centred), one
// pixel higher for an odd font height.
TPoint CaptionTextPos(const TRect& TR, Integer W, Integer H, TAlignment Al, bool Centred, Integer FontHeight);

// An empty 24-bit image of W x H that a look is composed on.
std::unique_ptr<TBitmap> NewLookImage(Integer W, Integer H);

// Runs one transition of MorphKind from A towards B at factor Kf (A gets the result).
class TspEffectBmp;
void ApplyMorph(TspEffectBmp* A, TspEffectBmp* B, TMorphKind Kind, double Kf);
// The skin's inactive-form effect on an image.
void ApplyInActiveEffect(TspEffectBmp* E, TspInActiveEffect Effect);

// A skin area the program paints itself (the form's OnPaintEvent).
class TspUserObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
};

// A skinned push button of the frame.
class TspSkinButtonObject : public TspActiveSkinObject {
 public:
  TspSkinButtonObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void ShowLayer() override;
  void HideLayer() override;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool CanMorphing() override;

  bool Down() const { return FDown; }
  void SetDown(bool Value);
  // Drops the linked menu down (nothing without one).
  virtual void OpenMenu();

  bool FDown = false;
  bool FPopupUp = false;
  TRect DownRect;
  TRect DisableSkinRect;
  Integer GroupIndex = -1;
  TMenuItem* MenuItem = nullptr;

 protected:
  bool HasMenu() const { return MenuItem != nullptr; }
  void ReleaseGroup();
  void PushMouseEnter();
  void PushMouseLeave();
  void PushMouseUp(Integer X, Integer Y, TMouseButton Button);
  void PushDraw(TCanvas* Cnvs, bool UpDate);
};

// A caption button: close, maximise, minimise, system menu, roll up, tray.
class TspSkinStdButtonObject : public TspSkinButtonObject {
 public:
  TspSkinStdButtonObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  bool PointInMask(Integer X, Integer Y) override;
  void ShowLayer() override;
  void HideLayer() override;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool CanMorphing() override;

  // The look of a button without a skin description.
  void DefaultDraw(TCanvas* Cnvs);
  void ExecuteCommand();
  void CloseForm();
  void MaximizeForm();
  void MinimizeForm();
  void RollUpForm();
  void MinimizeFormToTray();
  // The state the button toggles is in force (maximised, minimised, rolled up).
  bool IsRestoreState();
  // The system-menu button shows the form's icon.
  bool IsIconButton();

  bool FSkinSupport = false;
  TStdCommand Command = cmClose;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  String RestoreHint;
  String FTempHint;
  Integer AlphaMaskPictureIndex = -1;
  Integer AlphaMaskActivePictureIndex = -1;
  Integer AlphaMaskInActivePictureIndex = -1;

  // The eight looks as 32-bit images for the layered border's top image.
  void InitAlphaImages() override;
  void DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) override;
  std::unique_ptr<TspBitmap> FAlphaNormalImage, FAlphaActiveImage, FAlphaDownImage, FAlphaRestoreNormalImage,
      FAlphaRestoreActiveImage, FAlphaRestoreDownImage, FAlphaInActiveImage, FAlphaInActiveRestoreImage;
};

class TspSkinCaptionObject : public TspActiveSkinObject {
 public:
  TspSkinCaptionObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // The caption in the layered border's top image, every drawing of text
  // keeping the image's alpha around it.
  void DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) override;

  const String& TextValue() const { return FTextValue; }
  // Stores the text and repaints the caption.
  void SetTextValue(const String& Value);
  void SimpleSetTextValue(const String& Value) { FTextValue = Value; }
  bool EnableAnimation();
  void RepaintCaption();
  // Drops the quick button's menu below R (window coordinates).
  void PopupQuickButtonMenu(const TRect& R, TspSkinPopupMenu* Menu);
  // The hot quick button follows the window point X, Y.
  void TrackQuickButtons(Integer X, Integer Y);
  bool QuickButtonsShown();
  // The text rectangle relative to the object (quick buttons, plate and
  // the caption's stretch taken into account).
  TRect TextRect();
  // The text as painted (the form's caption, the object's own text, the
  // maximised MDI child's suffix).
  String CaptionText();
  // The caption text on DC-canvas C with offset DX, DY; A: the active look.
  void PaintText(TCanvas* C, Integer DX, Integer DY, bool A, TCanvas* EventCanvas);
  // The background of source rectangle S of picture P at the object's size.
  void BuildBackground(TBitmap* Dest, TBitmap* P, const TRect& S, bool Horizontal);
  Integer StretchKind();
  TRect AnimationFrameRect(Integer Frame);

  Integer ActiveQuickButton = -1, OldActiveQuickButton = -1;
  Integer MouseCaptureQuickButton = -1, PopupMenuQuickButton = -1;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
  bool Shadow = false;
  TAlignment Alignment = taLeftJustify;
  TRect TextRct;
  bool DefaultCaption = false;
  TRect FrameRect, ActiveFrameRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;
  TRect FrameTextRect;
  TColor LightColor = 0, ActiveLightColor = 0;
  bool Light = false;
  bool StretchEffect = false;
  Integer FIncTime = 25;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Integer CurrentFrame = 0;
  bool InActiveAnimation = false;
  bool FullFrame = false;
  bool VistaGlowEffect = false, VistaGlowInActiveEffect = false;
  bool GlowEffect = false, GlowInActiveEffect = false;
  Integer GlowSize = 0;
  TColor GlowColor = 0, GlowActiveColor = 0;
  Integer GlowOffset = 0;
  bool ReflectionEffect = false;
  TColor ReflectionColor = 0, ReflectionActiveColor = 0;
  Integer ReflectionOffset = 0;
  TRect DividerRect, InActiveDividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
  Integer QuickButtonAlphaMaskPictureIndex = -1;

 private:
  void PaintQuickButtons(TCanvas* C);
  // The look of source S with the text painted in the state A.
  std::unique_ptr<TBitmap> Compose(TBitmap* P, const TRect& S, bool A, bool Horizontal);
  void DrawImage(TCanvas* Cnvs, TBitmap* B, bool WithInActiveEffect);
  // The frame of the current fade step: the two composed looks are kept for
  // the whole fade (they only change with the size, the text and the quick
  // buttons) and each step starts again from the normal one.
  TspEffectBmp* MorphFrame();
  struct TMorphLooks;
  std::shared_ptr<TMorphLooks> FMorphLooks;
  String FTextValue;
};

// A strip of pictures played on demand, or an animated caption button
// that plays forward under the mouse and back when it leaves.
class TspSkinAnimateObject : public TspActiveSkinObject {
 public:
  TspSkinAnimateObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void ShowLayer() override;
  void HideLayer() override;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void Start();
  void Stop();
  // One 25-ms tick of the form's animation timer; true when a picture changed.
  bool ChangeFrame();
  Integer Frame() const { return FFrame; }
  void SetFrame(Integer Value);
  void OpenMenu();
  void ExecuteCommand();
  void CloseForm();
  void MaximizeForm();
  void MinimizeForm();
  void RollUpForm();
  void MinimizeFormToTray();
  // The state the command toggles is in force (maximised, minimised, rolled up).
  bool IsRestoreState();
  // Picture N of the strip starting at Strip, each as large as Look.
  TRect FrameRect(const TRect& Strip, const TRect& Look, Integer N) const;
  // The form's menu-closed reset: play back to the first picture.
  void MenuClosed();

  bool FMenuTracking = false;
  Integer FFrame = 1;
  Integer FInc = 25;
  Integer TimerInterval = 25;
  TMenuItem* MenuItem = nullptr;
  bool FDown = false;
  bool FPopupUp = false;
  Integer CountFrames = 0;
  bool Cycle = false;
  bool ButtonStyle = false;
  bool Increment = true;
  TStdCommand Command = cmClose;
  TRect DownSkinRect;
  TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
  String RestoreHint;
  String FTempHint;

 private:
  void StartTimer();
};

// Where the fill of a gauge ends for Value in Min..Max over Size pixels (a
// range of 0 puts it at the start); halves round to even.
Integer GaugeFillPos(Integer Value, Integer Min, Integer Max, Integer Size);
// The picture of a strip of Count pictures that shows Value in Min..Max
// (1-based; a strip of fewer than two pictures always shows the first).
Integer FrameOfValue(Integer Value, Integer Min, Integer Max, Integer Count);

// A bar that fills as its value grows.
class TspSkinGaugeObject : public TspActiveSkinObject {
 public:
  TspSkinGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseEnter() override;
  void MouseLeave() override;
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  // Stores the value without repainting.
  void SimplySetValue(Integer AValue);
  TPoint ProgressPos() const;

  TPoint FProgressPos, FOldProgressPos;
  Integer FValue = 0, MinValue = 0, MaxValue = 0;
  TGaugeKind Kind = gkHorizontal;
};

// A strip of equal pictures of which one shows.
class TspSkinFrameObject : public TspActiveSkinObject {
 public:
  TspSkinFrameObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  Integer Frame() const { return FFrame; }
  void SetFrame(Integer Value);
  TRect FrameRect(Integer N) const;

  Integer FFrame = 1;
  Integer FrameW = 0, FrameH = 0, CountFrames = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;
};

class TspSkinFrameGaugeObject : public TspSkinFrameObject {
 public:
  TspSkinFrameGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseEnter() override;
  void MouseLeave() override;
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  void SimplySetValue(Integer AValue);

  Integer FValue = 0, MinValue = 0, MaxValue = 0;
};

// A two-state switch: its active look shows while it is on.
class TspSkinSwitchObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  spobj::TSwitchState State() const { return FState; }
  void SetState(spobj::TSwitchState Value);
  void SimpleSetState(spobj::TSwitchState Value);

  spobj::TSwitchState FState = spobj::swsOff;
};
enum TTrackKind : Byte { tkHorizontal, tkVertical };

// A track with a thumb the mouse drags between two points.
class TspSkinTrackBarObject : public TspActiveSkinObject {
 public:
  TspSkinTrackBarObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  // Stores the value without repainting; the change event still fires.
  void SimplySetValue(Integer AValue);
  TPoint PosOfValue(Integer AValue) const;
  Integer ValueOfPos(const TPoint& P) const;
  TRect ThumbRect(const TPoint& P) const;
  // Moves the thumb's centre to P (relative to the object).
  void MoveThumb(const TPoint& P);

  TPoint FButtonPos, FOldButtonPos;
  Integer FValue = 0;
  bool MoveActive = false;
  TPoint FOldMPoint;
  TTrackKind TrackKind = tkHorizontal;
  TRect ButtonRect, ActiveButtonRect;
  TPoint BeginPoint, EndPoint;
  Integer MinValue = 0, MaxValue = 0;
  bool MouseDownChangeValue = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};
// A line of text in a skin font over a picture.
class TspSkinLabelObject : public TspActiveSkinObject {
 public:
  TspSkinLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseEnter() override;
  void MouseLeave() override;
  const String& TextValue() const { return FTextValue; }
  // Stores the text; AUpDate repaints the label.
  void SetTextValue(const String& AValue, bool AUpDate);
  // The label's look over background S of picture P in text colour T.
  std::unique_ptr<TBitmap> LabelImage(TBitmap* P, const TRect& S, TColor T);

  String FTextValue;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0;
  TAlignment Alignment = taLeftJustify;
};

// Text made of glyph cells of the skin (a bitmap font).
class TspSkinBitLabelObject : public TspActiveSkinObject {
 public:
  TspSkinBitLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  const String& TextValue() const { return FTextValue; }
  void SetTextValue(const String& AValue, bool AUpDate);
  // Row and column of a character's cell; false when no row holds it.
  bool FindSymbol(Char C, Integer& Row, Integer& Col) const;

  String FTextValue;
  Integer SymbolWidth = 0, SymbolHeight = 0;
  TStrings* Symbols = nullptr;
  bool Transparent = false;
  TColor TransparentColor = 0;
};
// The knob's measure of point P in a W x H object: whole degrees 0..359,
// 0 straight down from the centre, growing clockwise (90 left, 180 up,
// 270 right). P is clamped into the object first; the centre itself
// measures -1 (no angle).
Integer KnobMeasure(TPoint P, Integer W, Integer H);

// A knob or slider drawn as one picture per value step.
class TspSkinFrameRegulatorObject : public TspSkinFrameObject {
 public:
  TspSkinFrameRegulatorObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  // Stores the value without repainting; the change event still fires.
  void SimplySetValue(Integer AValue);
  // The mouse measure of window point X, Y (knob angle or slider travel).
  Integer Measure(Integer X, Integer Y) const;

  Integer FPixInc = 0, FValInc = 0;
  bool FDown = false;
  Integer StartV = 0, CurV = 0, TempValue = 0, OldCurV = 0;
  Integer FValue = 0, MinValue = 0, MaxValue = 0;
  TRegulatorKind Kind = rkRound;

 private:
  void Step();
};

// A top-level item of the form's main menu drawn in the frame's main-menu
// area. The base's Visible and the description's DownRect keep their
// meaning; the item's own "fits in the area" flag and down look have names
// of their own.
class TspSkinMainMenuItem : public TspActiveSkinObject {
 public:
  TspSkinMainMenuItem(TspFormSkin* AParent, TspDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  // Opens (true) or closes (false) the item's drop-down.
  void SetItemDown(bool Value);
  void OpenMenu();
  // The item's window rectangle by the layout rule (caption width, the
  // previous item's right edge, the main-menu area).
  TRect LayoutRect();
  // The item's look of source S of the active picture at the size of
  // ObjectRect, with the caption in colour Color.
  std::unique_ptr<TBitmap> ItemImage(const TRect& S, TColor Color);
  // Width of the caption in the item's font.
  Integer CaptionWidth();

  TRect TempObjectRect;
  bool FDown = false;
  bool OldEnabled = true;
  bool FitsInArea = true;
  TMenuItem* MenuItem = nullptr;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect TextRct;
  TRect ItemDownRect;
  Integer LO = 0, RO = 0;

 private:
  void SetupFont(TCanvas* C);
};

// A still picture of an inactive form's client area laid over it, dimmed
// or blurred.
class TspClientInActivePanel : public TspSkinPaintPanel {
 public:
  explicit TspClientInActivePanel(TComponent* AOwner);
  ~TspClientInActivePanel() override;
  void ShowPanel(TForm* AForm, TspClientInActiveEffect AEffect);
  void HidePanel();
  TspBitmap* Buffer = nullptr;

 protected:
  void Paint() override;
};


