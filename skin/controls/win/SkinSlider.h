// The skinned value slider: a ruler, a thumb dragged along it, presses on
// the ruler stepping the value (window timer 1, 400 ms), keys, optional tick
// points and a focus frame. Pictures from the skin's "slider" description,
// else from an image list or the built-in images "SP_HTB", "SP_HRL",
// "SP_VTB", "SP_VRL". TspSkinCustomSlider holds the behaviour, TspSkinSlider
// the image setters. Winelib only.
#pragma once

#include "classlib/ImgList.h"
#include "skin/controls/SkinSliderGeometry.h"
#include "skin/controls/win/SkinControl.h"

enum TspSliderOrientation : Byte { soHorizontal, soVertical };
using TspSliderOptions = Byte;
inline constexpr TspSliderOptions soShowFocus = 1, soShowPoints = 2, soSmooth = 4, soRulerOpaque = 8,
                                  soThumbOpaque = 16;
// The four images: horizontal thumb and ruler, vertical thumb and ruler.
enum TspSliderImage : Byte { siHThumb, siHRuler, siVThumb, siVRuler };
using TspSliderImages = Byte;  // bit (1 << TspSliderImage)

class TspSkinCustomSlider : public TspSkinControl {
 public:
  explicit TspSkinCustomSlider(TComponent* AOwner);
  ~TspSkinCustomSlider() override;

  Integer Value() const { return FValue; }
  // Clamped to the range (not snapped); a change fires OnChange, never
  // OnChanged.
  void SetValue(Integer V);
  Integer MinValue() const { return FMinValue; }
  Integer MaxValue() const { return FMaxValue; }
  // An empty or inverted range is refused, except while loading.
  void SetMinValue(Integer V);
  void SetMaxValue(Integer V);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer V);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool V);
  TspSliderOptions Options() const { return FOptions; }
  void SetOptions(TspSliderOptions V);
  TspSliderOrientation Orientation() const { return FOrientation; }
  // Swaps width and height outside loading.
  void SetOrientation(TspSliderOrientation V);
  Integer NumThumbStates() const { return FNumThumbStates; }
  void SetNumThumbStates(Integer V);
  Integer EdgeSize() const { return FEdgeSize; }
  // Accepted when twice the edge is shorter than the ruler image.
  void SetEdgeSize(Integer V);
  bool UseSkinThumb() const { return FUseSkinThumb; }
  void SetUseSkinThumb(bool V) { FUseSkinThumb = V; }
  TCustomImageList* ThumbImageList() const { return FThumbImageList; }
  void SetThumbImageList(TCustomImageList* V);
  Integer ThumbImageIndex() const { return FThumbImageIndex; }
  void SetThumbImageIndex(Integer V) { FThumbImageIndex = V; }
  Integer ThumbActiveImageIndex() const { return FThumbActiveImageIndex; }
  void SetThumbActiveImageIndex(Integer V) { FThumbActiveImageIndex = V; }

  TNotifyEvent OnChange, OnChanged, OnDrawPoints;

  // The slider's working rect (0, 0, Width, Height).
  virtual TRect GetTrackBounds() const { return TRect(0, 0, Width(), Height()); }
  virtual bool IsValueEditable() const { return true; }
  virtual void RebuildLayout();
  virtual void RangeChangedHook() {}
  // One step of a press, a key or the timer.
  void JumpTo(TspJumpMode Mode);

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CheckParentBackground() override;
  void Dispatch(TMessage& Message) override;

  // The geometry of the last layout.
  const TRect& ThumbRect() const { return FThumbRect; }
  const TPoint& RulerOrg() const { return FRulerOrg; }
  TBitmap* Ruler() const { return FRuler; }
  const TRect& PointsRect() const { return FPointsRect; }
  bool Sliding() const { return FSliding; }
  bool Tracking() const { return FTracking; }
  TBitmap* Image(TspSliderImage I) const { return FImages[I]; }
  TspSliderScale Scale() const;
  // The ruler image had no middle to repeat and was stretched.
  bool RulerIsStretched() const { return FRulerStretched; }

  TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
  Integer SkinEdgeSize = 0;
  TColor BGColor = 0, PointsColor = 0;
  TBitmap* Picture = nullptr;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  virtual void DefaultDrawPoints(Integer PointsStep, Integer PointsHeight, Integer ExtremePointsHeight, TCanvas* C);
  void DoChange();
  void DoChanged();
  // Loads image I from the program's resources.
  void LoadBuiltInImage(Integer I);

  TBitmap* FImages[4] = {nullptr, nullptr, nullptr, nullptr};
  TspSliderImages FUserImages = 0;
  bool FCreating = true;

 private:
  bool SkinThumb() const { return Skinned() && FUseSkinThumb && Picture; }
  TPoint ThumbSize() const;
  // The thumb size the ticks are placed with (the skin's or the default image's).
  TPoint TickThumbSize() const;
  void SetRange(Integer AMin, Integer AMax);
  void MoveThumbTo(Integer P, bool FromDrag);
  void InvalidateThumb();
  TspJumpMode SideOf(const TPoint& P) const;
  void Step();
  void StopTracking();
  void BuildRuler();

  TCustomImageList* FThumbImageList = nullptr;
  Integer FThumbImageIndex = 0, FThumbActiveImageIndex = 1;
  bool FUseSkinThumb = true;
  bool FTransparent = false;
  Integer FEdgeSize = 2;
  TBitmap* FRuler;
  TPoint FRulerOrg;
  TRect FThumbRect;
  bool FThumbDown = false;
  Integer FNumThumbStates = 2;
  TRect FPointsRect;
  TspSliderOrientation FOrientation = soHorizontal;
  TspSliderOptions FOptions = soShowFocus | soShowPoints | soSmooth;
  Integer FMinValue = 0, FMaxValue = 100, FIncrement = 10, FValue = 0;
  Integer FHit = 0;
  bool FFocused = false;
  bool FSliding = false;
  bool FTracking = false;
  bool FTimerActive = false;
  TPoint FMousePos;
  TspJumpMode FStartJump = jmNone;
  // The ruler image was stretched (its ends leave no middle).
  bool FRulerStretched = false;
};

class TspSkinSlider : public TspSkinCustomSlider {
 public:
  explicit TspSkinSlider(TComponent* AOwner);
  // A bitmap replaces image Index (marked as the user's); nullptr brings the
  // built-in image back. Any change rebuilds the layout.
  void SetSliderImage(TspSliderImage Index, TBitmap* Bitmap);
};
