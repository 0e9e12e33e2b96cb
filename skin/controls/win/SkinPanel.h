// The skinned container TspSkinPanel: a framed or borderless panel with an
// optional caption strip (check box, roll-up, caption image, ribbon style),
// transparent and group-box modes and a skin background picture; and
// TspSkinPaintPanel, whose owner paints its content through OnPanelPaint.
// Winelib only.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "classlib/ImgList.h"
#include "skin/controls/win/SkinControl.h"

enum TspSkinBorderStyle : Byte { bvFrame, bvRaised, bvLowered, bvNone };
enum TspImagePosition : Byte { spipDefault, spipLeft };
using TspPaintPanelEvent = std::function<void(TCanvas* Cnvs, const TRect& R)>;

class TspSkinPanel : public TspSkinCustomControl {
 public:
  explicit TspSkinPanel(TComponent* AOwner);
  ~TspSkinPanel() override;

  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool RibbonStyle() const { return FRibbonStyle; }
  void SetRibbonStyle(bool Value);
  TspImagePosition ImagePosition() const { return FImagePosition; }
  void SetImagePosition(TspImagePosition Value);
  bool TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(bool Value);
  TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
  void SetCaptionImageList(TCustomImageList* Value);
  Integer CaptionImageIndex() const { return FCaptionImageIndex; }
  void SetCaptionImageIndex(Integer Value);
  Integer RealHeight() const { return FRealHeight; }
  void SetRealHeight(Integer Value) { FRealHeight = Value; }
  bool AutoEnabledControls() const { return FAutoEnabledControls; }
  void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  bool Checked() const { return FChecked; }
  // Every assignment stores, repaints in CheckedMode, enables or disables
  // the children (AutoEnabledControls with CheckedMode) and fires OnChecked.
  void SetChecked(bool Value);
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TAlignment DefaultAlignment() const { return FDefaultAlignment; }
  void SetDefaultAlignment(TAlignment Value);
  Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  virtual void SetDefaultCaptionHeight(Integer Value);
  TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TspSkinBorderStyle Value);
  bool CaptionMode() const { return FCaptionMode; }
  virtual void SetCaptionMode(bool Value);
  bool RollUpMode() const { return FRollUpMode; }
  void SetRollUpMode(bool Value);
  bool RollUpState() const { return FRollUpState; }
  // With RollUpMode the panel collapses to its caption (or expands back);
  // without it only the size limits a roll-up took away come back.
  void SetRollUpState(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);

  // (0, 0, Width, Height) through AdjustClientRect.
  TRect GetSkinClientRect();
  void AdjustClientRect(TRect& Rect) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void CheckParentBackground() override;
  void Dispatch(TMessage& Message) override;
  void DoRollUp(bool ARollUp);

  TNotifyEvent OnChecked;
  TNotifyEvent OnChangeRollUpState;

  // From the description.
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TAlignment Alignment = taLeftJustify;
  TRect CaptionRect;
  TRect NewCaptionRect;
  Integer BGPictureIndex = -1;
  TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void Paint() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // The content of the transparent looks (empty here).
  virtual void PaintTransparentContent(TCanvas* Canvas) { (void)Canvas; }

  TspPanelFrame Frame();
  TBitmap* BackgroundPicture() const;
  // The caption strip of the "panel" description (UseSkinSize off).
  void PaintCaptionStrip(TBitmap* B);
  void PaintGroupBox(TBitmap* B);
  void PaintBorderless();
  void PaintBackgroundPicture();
  void DrawSkinnedCaption(TBitmap* B);
  // Caption text height in the caption font.
  Integer CaptionTextHeight();
  void SetCaptionFont(TCanvas* C);

  bool FUseSkinSize = true;
  bool FRibbonStyle = false;
  bool FInChangingRollUp = false;
  TspImagePosition FImagePosition = spipDefault;
  bool FTransparentMode = false;
  Integer FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
  // The four limits above hold what a roll-up took away.
  bool FLimitsSaved = false;
  bool FCheckedMode = false;
  bool FChecked = false;
  bool FAutoEnabledControls = true;
  TBitmap* FGlyph;
  Integer FNumGlyphs = 1;
  Integer FSpacing = 2;
  Integer FRealHeight = -1;
  bool FRollUpState = false;
  bool FRollUpMode = false;
  bool FCaptionMode = false;
  TspSkinBorderStyle FBorderStyle = bvFrame;
  Integer FDefaultCaptionHeight = 22;
  TAlignment FDefaultAlignment = taLeftJustify;
  TCustomImageList* FCaptionImageList = nullptr;
  Integer FCaptionImageIndex = -1;
  bool FShowCaption = false;
  // The caption strip paints only the caption over its own image.
  bool FCaptionOnly = false;
  // The children that were visible when the panel rolled up.
  std::vector<std::pair<TControl*, std::shared_ptr<bool>>> FRolledUpVisible;
};

class TspSkinPaintPanel : public TspSkinPanel {
 public:
  explicit TspSkinPaintPanel(TComponent* AOwner);
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;

  TspPaintPanelEvent OnPanelPaint;

 protected:
  void PaintTransparentContent(TCanvas* Canvas) override;
};
