// Bmp32_Layers: the layers of an image control. A TLayerCollection holds
// TCustomLayer objects, back (index 0) to front, painted over the control's
// bitmap; it routes the control's mouse events to the layer that holds the
// mouse or to the topmost layer hit. Changes are reported to the owner
// through events (OnChanging/OnChange, OnLayerUpdated, OnAreaUpdated,
// OnListNotify) that the repaint optimiser listens to as well.
// Winelib only (screen cursor, canvas).
#pragma once

#include <functional>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_RepaintOpt.h"
#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Controls.h"

class TCustomLayer;
class TLayerCollection;

// Layer option bits; the lower 24 bits belong to the application.
inline constexpr Cardinal LOB_VISIBLE = 0x80000000u;
inline constexpr Cardinal LOB_GDI_OVERLAY = 0x40000000u;
inline constexpr Cardinal LOB_MOUSE_EVENTS = 0x20000000u;
inline constexpr Cardinal LOB_NO_UPDATE = 0x10000000u;
inline constexpr Cardinal LOB_NO_CAPTURE = 0x08000000u;
inline constexpr Cardinal LOB_INVALID = 0x04000000u;
inline constexpr Cardinal LOB_FORCE_UPDATE = 0x02000000u;
inline constexpr Cardinal LOB_RESERVED_MASK = 0xFF000000u;

enum TLayerState : Byte { lsMouseLeft, lsMouseRight, lsMouseMiddle };
using TLayerStates = Byte;  // bits 1 << TLayerState

using TLayerClass = TCustomLayer* (*)(TLayerCollection* ALayerCollection);
template <class T>
TCustomLayer* LayerClassOf(TLayerCollection* C) {
  return new T(C);
}

using TGetScaleEvent = std::function<void(TObject* Sender, Single& ScaleX, Single& ScaleY)>;
using TGetShiftEvent = std::function<void(TObject* Sender, Single& ShiftX, Single& ShiftY)>;
using THitTestEvent = std::function<void(TObject* Sender, Integer X, Integer Y, bool& Passed)>;
using TPaintLayerEvent = std::function<void(TObject* Sender, TBitmap32* Buffer)>;

class TLayerCollection : public TPersistent {
 public:
  explicit TLayerCollection(TPersistent* AOwner);
  ~TLayerCollection() override;

  TCustomLayer* Add(TLayerClass ItemClass);
  template <class T>
  T* Add() {
    return static_cast<T*>(Add(&LayerClassOf<T>));
  }
  TCustomLayer* Insert(Integer Index, TLayerClass ItemClass);
  void Delete(Integer Index);
  void Clear();
  void Assign(TPersistent* Source) override;

  void BeginUpdate();
  void EndUpdate();

  // Mouse routing (control coordinates); each returns the target layer.
  TCustomLayer* MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  TCustomLayer* MouseMove(TShiftState Shift, Integer X, Integer Y);
  TCustomLayer* MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

  TFloatPoint LocalToViewport(const TFloatPoint& APoint, bool AScaled);
  TFloatPoint ViewportToLocal(const TFloatPoint& APoint, bool AScaled);
  virtual void GetViewportScale(Single& ScaleX, Single& ScaleY);
  virtual void GetViewportShift(Single& ShiftX, Single& ShiftY);

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TCustomLayer* Items(Integer Index) const { return FItems.at(static_cast<size_t>(Index)); }
  TPersistent* Owner() const { return FOwner; }
  TCustomLayer* MouseListener() const { return FMouseListener; }
  void SetMouseListener(TCustomLayer* Value);
  bool MouseEvents() const { return FMouseEvents; }
  void SetMouseEvents(bool Value);
  Integer UpdateCount() const { return FUpdateCount; }

  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;
  TNotifyEvent OnGDIUpdate;
  TLayerListNotifyEvent OnListNotify;
  TLayerUpdateEvent OnLayerUpdated;
  TAreaChangedEvent OnAreaUpdated;
  TGetScaleEvent OnGetViewportScale;
  TGetShiftEvent OnGetViewportShift;

 protected:
  friend class TCustomLayer;
  void Changing();
  void Changed();
  void Notify(TLayerListNotification Action, TCustomLayer* Layer, Integer Index);
  void InsertItem(TCustomLayer* Item);
  void RemoveItem(TCustomLayer* Item);
  void DoUpdateLayer(TCustomLayer* Layer);
  void DoUpdateArea(const TRect& Rect);
  void GDIUpdate();
  TCustomLayer* FindLayerAtPos(Integer X, Integer Y, Cardinal OptionsMask);

  std::vector<TCustomLayer*> FItems;
  bool FMouseEvents = true;
  TCustomLayer* FMouseListener = nullptr;
  Integer FUpdateCount = 0;
  TPersistent* FOwner;
};

class TCustomLayer : public TNotifiablePersistent {
 public:
  explicit TCustomLayer(TLayerCollection* ALayerCollection);
  ~TCustomLayer() override;
  void BeforeDestruction();

  void Changed() override;
  void Changed(const TRect& Rect);
  void Update();
  void Update(const TRect& Rect);
  bool HitTest(Integer X, Integer Y);
  void BringToFront();
  void SendToBack();
  void SetAsMouseListener();
  // The virtual paint with the buffer, then OnPaint.
  void PaintLayer(TBitmap32* Buffer);
  void AddNotification(TCustomLayer* ALayer);
  void RemoveNotification(TCustomLayer* ALayer);

  TCursor Cursor() const { return FCursor; }
  virtual void SetCursor(TCursor Value);
  Integer Index() const;
  virtual void SetIndex(Integer Value);
  TLayerCollection* LayerCollection() const { return FLayerCollection; }
  virtual void SetLayerCollection(TLayerCollection* Value);
  Cardinal LayerOptions() const { return FLayerOptions; }
  virtual void SetLayerOptions(Cardinal Value);
  TLayerStates LayerStates() const { return FLayerStates; }
  bool MouseEvents() const { return (FLayerOptions & LOB_MOUSE_EVENTS) != 0; }
  void SetMouseEvents(bool Value);
  bool Visible() const { return (FLayerOptions & LOB_VISIBLE) != 0; }
  void SetVisible(bool Value);
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  // The repaint optimiser's mark.
  bool Invalid() const { return (FLayerOptions & LOB_INVALID) != 0; }
  void SetInvalid(bool Value);

  TNotifyEvent OnDestroy;
  THitTestEvent OnHitTest;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TPaintLayerEvent OnPaint;

  // A layer that is told when this one is freed overrides this.
  virtual void Notification(TCustomLayer* ALayer) { (void)ALayer; }
  virtual void PaintGDI(TCanvas* Canvas) { (void)Canvas; }
  // A new empty layer of this layer's class (used by TLayerCollection::Assign).
  virtual TCustomLayer* CloneEmpty(TLayerCollection* ACollection) const;

 protected:
  friend class TLayerCollection;
  void AssignTo(TPersistent* Dest) override;
  void AddState(TMouseButton Button);
  void RemoveState(TMouseButton Button);
  void Changing();
  virtual bool DoHitTest(Integer X, Integer Y) {
    (void)X;
    (void)Y;
    return true;
  }
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void Paint(TBitmap32* Buffer) { (void)Buffer; }

  TCursor FCursor = crDefault;
  std::vector<TCustomLayer*>* FFreeNotifies = nullptr;
  TLayerCollection* FLayerCollection = nullptr;
  TLayerStates FLayerStates = 0;
  Cardinal FLayerOptions = LOB_VISIBLE;
  Integer FTag = 0;
};

class TPositionedLayer : public TCustomLayer {
 public:
  explicit TPositionedLayer(TLayerCollection* ALayerCollection);

  TFloatRect GetAdjustedLocation() { return GetAdjustedRect(FLocation); }
  virtual TFloatRect GetAdjustedRect(const TFloatRect& R);
  const TFloatRect& Location() const { return FLocation; }
  void SetLocation(const TFloatRect& Value);
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value);
  TCustomLayer* CloneEmpty(TLayerCollection* ACollection) const override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  bool DoHitTest(Integer X, Integer Y) override;
  virtual void DoSetLocation(const TFloatRect& NewLocation) { FLocation = NewLocation; }

  TFloatRect FLocation{0, 0, 64, 64};
  bool FScaled = false;
};

// Fills the optimiser's LayerAccess table (done by the image controls; safe
// to call more than once).
void RegisterLayerAccess();
