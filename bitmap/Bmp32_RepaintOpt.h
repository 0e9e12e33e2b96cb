// Bmp32_RepaintOpt: the repaint optimiser of the image controls.
// TCustomRepaintOptimizer (base) and TMicroTilesRepaintOptimizer listen to
// layer collections, collect the areas that became invalid as micro tiles
// (Bmp32_MicroTiles) and, before each buffer repaint, turn them into the
// control's rectangle list. Repaint times are measured; when optimised
// repaints get slower than full ones the bookkeeping coarsens (whole tiles,
// then the full scene) and relaxes again later.
//
// The layer classes live in the layers unit. The optimiser reaches them only
// through LayerAccess (a table of small functions that unit fills in) and
// keeps layers and collections as opaque pointers. The tick count and the
// repaint timer are injectable (SetTiming) so the adaptive levels can be
// driven by a test clock.
// Portable: no Windows header.
#pragma once

#include <functional>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Containers.h"
#include "bitmap/Bmp32_MicroTiles.h"
#include "bitmap/Bmp32_System.h"

class TLayerCollection;
class TCustomLayer;

// The action of a layer-list notification (same ordinals as the layers unit).
enum TLayerListNotification : Integer { lnLayerAdded = 0, lnLayerInserted = 1, lnLayerDeleted = 2, lnCleared = 3 };

using TLayerListNotifyEvent =
    std::function<void(TLayerCollection* Sender, TLayerListNotification Action, TCustomLayer* Layer, Integer Index)>;
using TLayerUpdateEvent = std::function<void(TObject* Sender, TCustomLayer* Layer)>;

// What the optimiser needs of layers and collections; filled in by the
// layers unit. Setting an event to an empty function unhooks it.
struct TLayerAccess {
  Integer (*Count)(TLayerCollection* Layers) = nullptr;
  TCustomLayer* (*Items)(TLayerCollection* Layers, Integer Index) = nullptr;
  void (*SetOnListNotify)(TLayerCollection* Layers, TLayerListNotifyEvent Event) = nullptr;
  void (*SetOnLayerUpdated)(TLayerCollection* Layers, TLayerUpdateEvent Event) = nullptr;
  void (*SetOnAreaUpdated)(TLayerCollection* Layers, TAreaChangedEvent Event) = nullptr;
  // The "invalid" mark of a layer (layer option bit $04000000).
  bool (*GetInvalid)(TCustomLayer* Layer) = nullptr;
  void (*SetInvalid)(TCustomLayer* Layer, bool Value) = nullptr;
  // The layer's paint operation followed by its paint event.
  void (*Paint)(TCustomLayer* Layer, TCustomBitmap32* Buffer) = nullptr;
};
extern TLayerAccess LayerAccess;

// Time sources of the adaptive levels (default: TickCount and a TPerfTimer).
struct TRepaintTiming {
  std::function<Cardinal()> TickCount;   // milliseconds, wraps
  std::function<void()> StartTimer;      // begins measuring a buffer repaint
  std::function<Int64()> ReadTimer;      // microseconds since StartTimer
};

class TCustomRepaintOptimizer : public TObject {
 public:
  TCustomRepaintOptimizer(TCustomBitmap32* Buffer, TRectList* InvalidRects);
  ~TCustomRepaintOptimizer() override;

  virtual bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value) { FEnabled = Value; }

  virtual void LayerListChanged(TLayerCollection* Sender, TLayerListNotification Action, TCustomLayer* Layer,
                                Integer Index) = 0;
  virtual void RegisterLayerCollection(TLayerCollection* Layers);
  virtual void UnregisterLayerCollection(TLayerCollection* Layers);
  virtual void BeginPaint() {}
  virtual void EndPaint() {}
  virtual void BeginPaintBuffer() {}
  virtual void EndPaintBuffer() {}
  virtual void Reset() = 0;
  virtual bool UpdatesAvailable() = 0;
  virtual void PerformOptimization() = 0;
  virtual void AreaUpdateHandler(TObject* Sender, const TRect& Area, Cardinal Info) = 0;
  virtual void LayerUpdateHandler(TObject* Sender, TCustomLayer* Layer) = 0;
  virtual void BufferResizedHandler(Integer NewWidth, Integer NewHeight) = 0;

  TRectList* InvalidRects() const { return FInvalidRects; }
  TCustomBitmap32* Buffer() const { return FBuffer; }
  const std::vector<TLayerCollection*>& LayerCollections() const { return FLayerCollections; }

 protected:
  TLayerListNotifyEvent ListNotifyEvent();

  bool FEnabled = false;
  std::vector<TLayerCollection*> FLayerCollections;
  TRectList* FInvalidRects;
  TCustomBitmap32* FBuffer;
};

class TMicroTilesRepaintOptimizer : public TCustomRepaintOptimizer {
 public:
  TMicroTilesRepaintOptimizer(TCustomBitmap32* Buffer, TRectList* InvalidRects);
  ~TMicroTilesRepaintOptimizer() override;

  void SetEnabled(bool Value) override;
  void RegisterLayerCollection(TLayerCollection* Layers) override;
  void UnregisterLayerCollection(TLayerCollection* Layers) override;
  void LayerListChanged(TLayerCollection* Sender, TLayerListNotification Action, TCustomLayer* Layer,
                        Integer Index) override;
  void BeginPaintBuffer() override;
  void EndPaintBuffer() override;
  void Reset() override;
  bool UpdatesAvailable() override;
  void PerformOptimization() override;
  void AreaUpdateHandler(TObject* Sender, const TRect& Area, Cardinal Info) override;
  void LayerUpdateHandler(TObject* Sender, TCustomLayer* Layer) override;
  void BufferResizedHandler(Integer NewWidth, Integer NewHeight) override;

  bool AdaptiveMode() const { return FAdaptiveMode; }
  void SetAdaptiveMode(bool Value);
  void SetTiming(const TRepaintTiming& Timing);

  // State of the adaptive levels (read-only views).
  Integer PerformanceLevel() const { return FPerformanceLevel; }
  Integer TimeDelta() const { return FTimeDelta; }
  Cardinal NextCheck() const { return FNextCheck; }
  bool TimedCheck() const { return FTimedCheck; }
  bool AdaptionFailed() const { return FAdaptionFailed; }
  Integer InvalidLayerCount() const { return Integer(FInvalidLayers.size()); }
  Int64 ElapsedTimeForLastRepaint() const { return FElapsedTimeForLastRepaint; }
  Int64 ElapsedTimeForFullSceneRepaint() const { return FElapsedTimeForFullSceneRepaint; }

 private:
  void HookEvents(TLayerCollection* Layers, bool Hook);
  void MarkArea(TMicroTiles& Tiles, const TRect& Area, Cardinal Info);
  void MeasureLayer(TMicroTiles& Tiles, TCustomLayer* Layer);
  void PrepareWorkTiles();
  void PrepareLayerTiles();
  void RestartAdaption();
  void RelaxLevel();
  void RateRepaint();
  PMicroTiles LayerTiles(TCustomLayer* Layer);  // created when needed
  bool TickPassed(Cardinal Check) const;
  void ScheduleCheck(Integer Delay);

  TRect FBufferBounds;
  PMicroTiles FWorkMicroTiles = nullptr;
  TMicroTiles FTempTiles;
  TMicroTiles FInvalidTiles;
  TMicroTiles FForcedInvalidTiles;
  std::vector<TCustomLayer*> FInvalidLayers;
  TMicroTilesMap* FOldInvalidTilesMap;
  bool FWorkingTilesValid = false;
  bool FOldInvalidTilesValid = false;
  bool FUseInvalidTiles = false;
  bool FAdaptiveMode = true;
  TPerfTimer* FPerfTimer;
  TRepaintTiming FTiming;
  Integer FPerformanceLevel = 0;
  Int64 FElapsedTimeForLastRepaint = 0;
  Int64 FElapsedTimeForFullSceneRepaint = 0;
  bool FAdaptionFailed = false;
  bool FTimedCheck = false;
  Integer FTimeDelta = 0;
  Cardinal FNextCheck = 0;
  bool FCheckScheduled = false;
  Int64 FElapsedTimeOnLastPenalty = 0;
  Integer FOldInvalidRectsCount = 0;
};
