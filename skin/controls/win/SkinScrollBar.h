// The skinned scroll bar TspSkinScrollBar: two arrow buttons, a track and a
// thumb, drawn from a "scrollbar" description or in a plain default look.
// Arrow and page presses repeat through the window's own timer 1 (500 ms,
// then every 50 ms); the thumb is dragged; with CanFocused the arrow keys
// and the wheel step it. Winelib only.
#pragma once

#include "classlib/Forms.h"
#include "skin/controls/SkinBarGeometry.h"
#include "skin/controls/win/SkinControl.h"

class TspSkinScrollBar : public TspSkinCustomControl {
 public:
  explicit TspSkinScrollBar(TComponent* AOwner);

  // --- values
  Integer Min() const { return FMin; }
  Integer Max() const { return FMax; }
  Integer Position() const { return FPosition; }
  Integer PageSize() const { return FPageSize; }
  Integer SmallChange() const { return FSmallChange; }
  Integer LargeChange() const { return FLargeChange; }
  // Clamped; a change is stored, painted and announced (OnChange).
  void SetPosition(Integer Value);
  // The same clamp and store without OnChange.
  void SimplySetPosition(Integer AValue);
  // Min, Max and PageSize stored unchecked, APosition clamped to them; no
  // OnChange.
  void SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize);
  // The position is held inside the new range; no OnChange.
  void SetMax(Integer Value);
  void SetMin(Integer Value);
  // A page larger than the rest of the range from Position is refused.
  void SetPageSize(Integer Value);
  void SetSmallChange(Integer Value);
  void SetLargeChange(Integer Value);

  // --- look
  TScrollBarKind Kind() const { return FKind; }
  // Switches the description name ("hscrollbar", "vscrollbar") only; the
  // size stays.
  void SetKind(TScrollBarKind Value);
  bool Both() const { return FBoth; }
  void SetBoth(bool Value);
  Integer BothMarkerWidth() const { return FBothMarkerWidth; }
  void SetBothMarkerWidth(Integer Value);
  const String& BothSkinDataName() const { return FBothSkinDataName; }
  void SetBothSkinDataName(const String& Value) { FBothSkinDataName = Value; }
  bool CanFocused() const { return FCanFocused; }
  // Also sets TabStop.
  void SetCanFocused(bool Value);

  TNotifyEvent OnChange, OnLastChange, OnUpButtonClick, OnDownButtonClick, OnPageUp, OnPageDown;

  // --- the skin protocol
  void GetSkinData() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  // Places the parts at the current size and value.
  void CalcRects();
  // The part rect (sbpThumb, sbpUp, sbpDown) of the last CalcRects.
  const TRect& PartRect(Integer Part) const { return Buttons[Part].R; }
  bool PartHot(Integer Part) const { return Buttons[Part].MouseIn; }
  bool PartDown(Integer Part) const { return Buttons[Part].Down; }
  bool Dragging() const { return FDown; }
  // What the repeat does: 0 nothing, 1 down, 2 up, 3 page towards Min,
  // 4 page towards Max.
  Integer TimerMode = 0;
  bool WaitMode = false;
  Integer ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
  TRect NewTrackArea;

  // The description's fields.
  TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
  Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0, ThumbMinPageSize = 0;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  struct TPart {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
  };
  TspScrollRange Range() const { return TspScrollRange{FMin, FMax, FPageSize}; }
  TspScrollLayoutIn LayoutInput() const;
  void DrawButton(TCanvas* C, Integer I);
  void DrawSkinThumb(TBitmap* B);
  void StartTimer(Cardinal Interval);
  void StopTimer();
  // One repeat step of TimerMode (false: the repeat stops).
  bool RepeatStep();
  void UpStep();
  void DownStep();
  void PageStep(bool Up);
  Integer PartAt(Integer X, Integer Y) const;
  void SetHot(Integer Part, bool Hot);

  TPart Buttons[3];
  TspScrollLayout FLayout;
  String FNormalSkinDataName;
  String FBothSkinDataName = u"bothhscrollbar";
  bool FDown = false;
  Integer OMPos = 0, OldBOffset = 0;
  Integer MX = 0, MY = 0;
  bool MouseD = false;
  Integer FBothMarkerWidth = 0;
  bool FClicksDisabled = false;
  bool FCanFocused = false;
  Integer FMin = 0, FMax = 100, FSmallChange = 1, FLargeChange = 1, FPosition = 0;
  TScrollBarKind FKind = sbHorizontal;
  Integer FPageSize = 0;
  bool FBoth = false;
};
