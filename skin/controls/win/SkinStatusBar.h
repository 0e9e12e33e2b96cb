// The skinned status bar TspSkinStatusBar: a panel docked at the bottom
// with an optional size grip in its right corner (the skin's gripper image
// or diagonal stripes). Over the grip it answers the hit test as the
// bottom-right sizing corner and hands a press there to its form, which
// sizes itself. It passes its skin on to the skinned controls on it.
// Winelib only.
#pragma once

#include "skin/controls/SkinBarGeometry.h"
#include "skin/controls/win/SkinPanel.h"

class TspSkinStatusBar : public TspSkinPanel {
 public:
  explicit TspSkinStatusBar(TComponent* AOwner);

  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool ShowGrip() const { return FShowGrip; }
  void SetShowGrip(bool Value);
  // The grip in client coordinates (meaningful while it shows).
  TRect GripRect();
  bool GripShown() const { return FSizeGrip && FShowGrip; }

  void SetSkinData(TspSkinData* Value) override;
  void GetSkinData() override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;

  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;

 private:
  bool HasGripperImage() const { return Skinned() && !RectIsEmptyRect(GripperRect); }
  static bool RectIsEmptyRect(const TRect& R) { return R.Width() <= 0 || R.Height() <= 0; }
  void DrawStripes(TCanvas* C, TColor Dark, TColor Light);

  bool FSizeGrip = false;
  bool FShowGrip = true;
};
