// The skinned containers and lists of the boxes layer: the scroll box
// TspSkinScrollBox, whose children scroll with skinned bars the form places
// beside it. Winelib only.
#pragma once

#include "skin/controls/win/SkinPanel.h"
#include "skin/controls/win/SkinScrollBar.h"

// ---------------------------------------------------------------------------
// Scroll box

class TspSkinScrollBox : public TspSkinCustomControl {
 public:
  explicit TspSkinScrollBox(TComponent* AOwner);

  TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetVScrollBar(TspSkinScrollBar* Value);
  void SetHScrollBar(TspSkinScrollBar* Value);
  TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TspSkinBorderStyle Value);
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value) { FCanFocused = Value; }

  // The horizontal, then the vertical range update.
  void UpdateScrollRange();
  // Set the bar's position only; its change event scrolls the children.
  void HScroll(Integer APosition);
  void VScroll(Integer APosition);
  // Brings C wholly into view along each axis with a visible bar.
  void ScrollToControl(TControl* C);

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void AdjustClientRect(TRect& Rect) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  Integer BGPictureIndex = -1;
  // The bar positions the children are scrolled to; the growth at the last SetBounds.
  Integer FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
  Integer FVSizeOffset = 0, FHSizeOffset = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  void VertUpdate();
  void HorzUpdate();
  void AxisUpdate(bool Vertical);
  void OnVScrollBarChange(TObject* Sender);
  void OnHScrollBarChange(TObject* Sender);
  void OnBarLastChange(TObject* Sender) { (void)Sender; Invalidate(); }
  // The frame widths of WM_NCCALCSIZE: left, top, right, bottom.
  TRect FrameWidths();
  bool HasFrame();
  void PaintFrame(HDC DC);
  TBitmap* BackgroundPicture() const { return Skinned() ? SkinPicture(BGPictureIndex) : nullptr; }
  void PaintSkinBackground();

  bool FClicksDisabled = false;
  bool FCanFocused = false;
  bool FInCheckScrollBars = false;
  TspSkinScrollBar* FVScrollBar = nullptr;
  TspSkinScrollBar* FHScrollBar = nullptr;
  TspSkinBorderStyle FBorderStyle = bvFrame;
};
