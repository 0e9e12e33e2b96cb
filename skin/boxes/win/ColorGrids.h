// The small colour controls the colour dialog is built from: the basic and
// the custom colour grid (skinned panels of colour cells), the swatch that
// shows a new colour over the old one and tells a window about changes, and
// an empty windowed container. Winelib only.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/ResString.h"
#include "skin/boxes/ColorMath.h"
#include "skin/controls/win/SkinPanel.h"

// What the two grids share: the cell table, the drawing of the cells onto
// the panel's image and the hit test.
class TspColorGridBase : public TspSkinPanel {
 public:
  TspColorGridBase(TComponent* AOwner, Integer ACols, Integer ARows, Integer CaptionIdent);

  Integer ColCount() const { return FColCount; }
  Integer RowCount() const { return FRowCount; }
  // Both ignore values below 1, otherwise store and repaint.
  void SetColCount(Integer Value);
  void SetRowCount(Integer Value);
  TNotifyEvent OnChange;

  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;
  // The cells at the current size.
  TColorGridGeometry Geometry();

 protected:
  void PaintTransparentContent(TCanvas* Canvas) override;
  // The colour of cell Index (below the table's count) and whether it is the
  // selected one.
  virtual TColor CellColor(Integer Index) const = 0;
  virtual bool CellSelected(Integer Index) const = 0;
  virtual Integer TableCount() const = 0;
  void DrawCells(TCanvas* C);
  void DrawSelectionFrame(TCanvas* C, const TRect& R);

  Integer FColCount, FRowCount;
};

// The 48 basic colours.
class TspSkinColorGrid : public TspColorGridBase {
 public:
  explicit TspSkinColorGrid(TComponent* AOwner);
  TColor ColorValue() const { return FColorValue; }
  // A table colour fires OnChange and repaints, also when unchanged; any
  // other value is only stored.
  void SetColorValue(TColor Value);

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  TColor CellColor(Integer Index) const override { return BasicColorTable[Index]; }
  bool CellSelected(Integer Index) const override { return BasicColorTable[Index] == FColorValue; }
  Integer TableCount() const override { return Integer(BasicColorTable.size()); }

  TColor FColorValue = 0;
};

// The twelve user colours.
class TspSkinCustomColorGrid : public TspColorGridBase {
 public:
  explicit TspSkinCustomColorGrid(TComponent* AOwner);
  TColor ColorValue() const { return FColorValue; }
  Integer ColorIndex() const { return FColorIndex; }
  // Writes the next slot (wrapping after the twelfth or from a count outside
  // 0..11) and repaints; the chosen colour and OnChange stay untouched.
  void AddColor(TColor AColor);

  TspCustomColorValues CustomColorValues;
  Integer FColorsCount = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  TColor CellColor(Integer Index) const override { return CustomColorValues[Index]; }
  bool CellSelected(Integer Index) const override { return Index + 1 == FColorIndex; }
  Integer TableCount() const override { return CustomColorSlots; }

  TColor FColorValue = 0;
  Integer FColorIndex = 0;
};

// The new colour over the old one; changes reach MainWindowHandle as message
// 1036 once per burst, 100 ms after its first change.
class TspColorViewer : public TGraphicControl {
 public:
  explicit TspColorViewer(TComponent* AOwner);
  ~TspColorViewer() override;
  TColor ColorValue() const { return FColorValue; }
  void SetColorValue(TColor Value);
  TColor OldColorValue = 0;
  HWND MainWindowHandle = nullptr;
  TTimer* Timer() const { return FTimerColor; }
  // Between these, changes only invalidate the swatch; the last EndUpdate
  // repaints it (with whatever else its form has pending) once.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

 protected:
  void Paint() override;

 private:
  void TimerColorEvent(TObject* Sender);
  TColor FColorValue = 0;
  TTimer* FTimerColor;
  Integer FUpdateCount = 0;
  bool FRepaintPending = false;
};

// A windowed container that paints nothing.
class TspEmptyControl : public TCustomControl {
 public:
  explicit TspEmptyControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override {}
};

// The message the swatch sends with its colour.
inline constexpr UINT SP_COLOR_PREVIEW = WM_USER + 12;
