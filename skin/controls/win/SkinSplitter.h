// The splitters: TspCustomSplitter, an aligned bar that resizes its
// neighbour live while it is dragged (Escape ends the drag), and
// TspSkinSplitterEx, which paints the bar from the skin's splitter
// description with a centred gripper and takes its thickness from the skin.
// Winelib only.
#pragma once

#include "skin/controls/SkinBarGeometry.h"
#include "skin/controls/win/SkinControl.h"

using TSplitterCanResizeEvent = std::function<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

class TspCustomSplitter : public TspSkinControl {
 public:
  explicit TspCustomSplitter(TComponent* AOwner);
  ~TspCustomSplitter() override;

  bool AutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool Value) { FAutoSnap = Value; }
  Integer MinSize() const { return FMinSize; }
  void SetMinSize(Integer Value) { FMinSize = Value < 1 ? 1 : Value; }
  // The control being resized while a drag runs, else nullptr.
  TControl* ResizedControl() const { return FControl; }

  TSplitterCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved, OnPaint;

  virtual bool QueryResize(Integer& NewSize);
  virtual bool AcceptNewSize(Integer& NewSize);

 protected:
  void Paint() override {}
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  virtual void StopSizing();
  TspSplitAlign SplitAlign() const;

 private:
  std::vector<TspSplitSibling> Siblings() const;
  void CalcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split);
  void UpdateSize();
  void UpdateCursor();

  bool FAutoSnap = true;
  TControl* FControl = nullptr;
  std::shared_ptr<bool> FControlAlive;
  TPoint FDownPos;
  Integer FMinSize = 30;
  Integer FMaxSize = 0;
  Integer FNewSize = 0;
  Integer FOldSize = -1;
  Integer FSplit = 0;
};

class TspSkinSplitterEx : public TspCustomSplitter {
 public:
  explicit TspSkinSplitterEx(TComponent* AOwner);

  Integer DefaultSize() const { return FDefaultSize; }
  void SetDefaultSize(Integer Value) { FDefaultSize = Value; }

  void GetSkinData() override;
  void ChangeSkinData() override;

  TPoint LTPt, RTPt, LBPt;
  TRect SkinRect;
  TBitmap* FSkinPicture = nullptr;
  bool StretchEffect = false;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;

 protected:
  void Paint() override;

 private:
  Integer FDefaultSize = 10;
};
