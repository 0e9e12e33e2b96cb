#include "bitmap/Bmp32_RepaintOpt.h"

#include <algorithm>

#include "bitmap/Bmp32_System.h"
#include "rtl/ScopeGuard.h"

TLayerAccess LayerAccess;

// ---------------------------------------------------------------------------
// TCustomRepaintOptimizer

TCustomRepaintOptimizer::TCustomRepaintOptimizer(TCustomBitmap32* Buffer, TRectList* InvalidRects)
    : FInvalidRects(InvalidRects), FBuffer(Buffer) {}

TCustomRepaintOptimizer::~TCustomRepaintOptimizer() {
  // Unregistering in the base destructor cannot reach the descendant's
  // override; descendants unhook their own events first.
  while (!FLayerCollections.empty()) TCustomRepaintOptimizer::UnregisterLayerCollection(FLayerCollections.back());
}

TLayerListNotifyEvent TCustomRepaintOptimizer::ListNotifyEvent() {
  return [this](TLayerCollection* Sender, TLayerListNotification Action, TCustomLayer* Layer, Integer Index) {
    LayerListChanged(Sender, Action, Layer, Index);
  };
}

void TCustomRepaintOptimizer::RegisterLayerCollection(TLayerCollection* Layers) {
  if (std::find(FLayerCollections.begin(), FLayerCollections.end(), Layers) != FLayerCollections.end()) return;
  FLayerCollections.push_back(Layers);
  if (LayerAccess.SetOnListNotify) LayerAccess.SetOnListNotify(Layers, ListNotifyEvent());
}

void TCustomRepaintOptimizer::UnregisterLayerCollection(TLayerCollection* Layers) {
  auto It = std::find(FLayerCollections.begin(), FLayerCollections.end(), Layers);
  if (LayerAccess.SetOnListNotify) LayerAccess.SetOnListNotify(Layers, {});
  if (It != FLayerCollections.end()) FLayerCollections.erase(It);
}

// ---------------------------------------------------------------------------
// TMicroTilesRepaintOptimizer

TMicroTilesRepaintOptimizer::TMicroTilesRepaintOptimizer(TCustomBitmap32* Buffer, TRectList* InvalidRects)
    : TCustomRepaintOptimizer(Buffer, InvalidRects),
      FOldInvalidTilesMap(new TMicroTilesMap()),
      FPerfTimer(new TPerfTimer()) {
  FAdaptiveMode = true;
  MicroTilesCreate(FTempTiles);
  MicroTilesCreate(FInvalidTiles);
  MicroTilesCreate(FForcedInvalidTiles);
  FTiming.TickCount = [] { return ::TickCount(); };
  FTiming.StartTimer = [this] { FPerfTimer->Start(); };
  FTiming.ReadTimer = [this] { return FPerfTimer->ReadValue(); };
}

TMicroTilesRepaintOptimizer::~TMicroTilesRepaintOptimizer() {
  for (TLayerCollection* L : FLayerCollections) HookEvents(L, false);
  MicroTilesDestroy(FInvalidTiles);
  MicroTilesDestroy(FTempTiles);
  MicroTilesDestroy(FForcedInvalidTiles);
  delete FPerfTimer;
  delete FOldInvalidTilesMap;
}

void TMicroTilesRepaintOptimizer::SetTiming(const TRepaintTiming& Timing) {
  if (Timing.TickCount) FTiming.TickCount = Timing.TickCount;
  if (Timing.StartTimer) FTiming.StartTimer = Timing.StartTimer;
  if (Timing.ReadTimer) FTiming.ReadTimer = Timing.ReadTimer;
}

void TMicroTilesRepaintOptimizer::HookEvents(TLayerCollection* Layers, bool Hook) {
  if (LayerAccess.SetOnLayerUpdated)
    LayerAccess.SetOnLayerUpdated(Layers, Hook ? TLayerUpdateEvent([this](TObject* S, TCustomLayer* L) {
      LayerUpdateHandler(S, L);
    })
                                               : TLayerUpdateEvent());
  if (LayerAccess.SetOnAreaUpdated)
    LayerAccess.SetOnAreaUpdated(Layers, Hook ? TAreaChangedEvent([this](TObject* S, const TRect& A, Cardinal I) {
      AreaUpdateHandler(S, A, I);
    })
                                              : TAreaChangedEvent());
  if (LayerAccess.SetOnListNotify) LayerAccess.SetOnListNotify(Layers, Hook ? ListNotifyEvent() : TLayerListNotifyEvent());
}

void TMicroTilesRepaintOptimizer::RegisterLayerCollection(TLayerCollection* Layers) {
  TCustomRepaintOptimizer::RegisterLayerCollection(Layers);
  if (FEnabled) HookEvents(Layers, true);
}

void TMicroTilesRepaintOptimizer::UnregisterLayerCollection(TLayerCollection* Layers) {
  HookEvents(Layers, false);
  TCustomRepaintOptimizer::UnregisterLayerCollection(Layers);
}

void TMicroTilesRepaintOptimizer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  if (Value) {
    for (TLayerCollection* L : FLayerCollections) HookEvents(L, true);
    FEnabled = true;  // measuring below needs the hooks in place
    BufferResizedHandler(FBuffer->Width(), FBuffer->Height());
  } else {
    for (TLayerCollection* L : FLayerCollections) HookEvents(L, false);
    MicroTilesDestroy(FInvalidTiles);
    MicroTilesDestroy(FTempTiles);
    MicroTilesDestroy(FForcedInvalidTiles);
    FWorkingTilesValid = false;
    FUseInvalidTiles = false;
    FOldInvalidTilesValid = false;
    FOldInvalidTilesMap->Clear();
    for (TCustomLayer* L : FInvalidLayers)
      if (LayerAccess.SetInvalid) LayerAccess.SetInvalid(L, false);
    FInvalidLayers.clear();
  }
  FEnabled = Value;
}

void TMicroTilesRepaintOptimizer::SetAdaptiveMode(bool Value) {
  if (Value != FAdaptiveMode) {
    FAdaptiveMode = Value;
    RestartAdaption();
  }
}

void TMicroTilesRepaintOptimizer::BufferResizedHandler(Integer NewWidth, Integer NewHeight) {
  FBufferBounds = TRect(0, 0, NewWidth, NewHeight);
  Reset();
}

void TMicroTilesRepaintOptimizer::Reset() {
  FWorkingTilesValid = false;
  FOldInvalidTilesValid = false;
  PrepareLayerTiles();
  FillTileGrid(FForcedInvalidTiles, MICROTILE_FULL);
  FForcedInvalidTiles.BoundsUsedTiles = TRect(0, 0, FForcedInvalidTiles.Columns, FForcedInvalidTiles.Rows);
  FUseInvalidTiles = true;
}

bool TMicroTilesRepaintOptimizer::UpdatesAvailable() {
  PrepareLayerTiles();
  return FUseInvalidTiles;
}

void TMicroTilesRepaintOptimizer::AreaUpdateHandler(TObject*, const TRect& Area, Cardinal Info) {
  PrepareWorkTiles();
  MarkArea(FForcedInvalidTiles, Area, Info);
  FUseInvalidTiles = true;
}

void TMicroTilesRepaintOptimizer::LayerUpdateHandler(TObject*, TCustomLayer* Layer) {
  if (!FOldInvalidTilesValid || Layer == nullptr) return;
  if (LayerAccess.GetInvalid && LayerAccess.GetInvalid(Layer)) return;
  FInvalidLayers.push_back(Layer);
  if (LayerAccess.SetInvalid) LayerAccess.SetInvalid(Layer, true);
  FUseInvalidTiles = true;
}

PMicroTiles TMicroTilesRepaintOptimizer::LayerTiles(TCustomLayer* Layer) {
  return static_cast<PMicroTiles>(*FOldInvalidTilesMap->Add(Layer));
}

void TMicroTilesRepaintOptimizer::LayerListChanged(TLayerCollection*, TLayerListNotification Action,
                                                   TCustomLayer* Layer, Integer) {
  switch (Action) {
    case lnLayerAdded:
    case lnLayerInserted: {
      SizeTileGrid(*LayerTiles(Layer), FBufferBounds);
      FOldInvalidTilesValid = true;
      break;
    }
    case lnLayerDeleted: {
      PPData Slot = nullptr;
      const bool Mapped = FOldInvalidTilesMap->Find(Layer, Slot);
      // A layer that never got tiles has nothing to unite (this runs from
      // the layer's destructor: no exception may leave here).
      if (FOldInvalidTilesValid && Mapped) {
        PrepareWorkTiles();
        UniteTileGrids(FInvalidTiles, *static_cast<PMicroTiles>(*Slot), false);
        FUseInvalidTiles = true;
      }
      FInvalidLayers.erase(std::remove(FInvalidLayers.begin(), FInvalidLayers.end(), Layer), FInvalidLayers.end());
      if (Mapped) FOldInvalidTilesMap->Delete(Layer);
      break;
    }
    case lnCleared: {
      if (FOldInvalidTilesValid) {
        PrepareWorkTiles();
        TPointerMapIterator It(FOldInvalidTilesMap);
        while (It.Next()) UniteTileGrids(FInvalidTiles, *static_cast<PMicroTiles>(It.Data()), false);
        FUseInvalidTiles = true;
        RestartAdaption();
      }
      FOldInvalidTilesMap->Clear();
      FInvalidLayers.clear();
      FOldInvalidTilesValid = true;
      break;
    }
  }
}

void TMicroTilesRepaintOptimizer::MarkArea(TMicroTiles& Tiles, const TRect& Area, Cardinal Info) {
  const bool W = FPerformanceLevel > 0;
  if (Info & AreaInfoLine) {
    const Integer LineWidth = Integer(Info & 0x00FFFFFFu);
    TRect R = Area;
    GrowArea(R, LineWidth, LineWidth);
    MarkLineInTiles(Tiles, R.Left, R.Top, R.Right, R.Bottom, LineWidth, W);
  } else {
    MarkRectInTiles(Tiles, Area, W);
  }
}

void TMicroTilesRepaintOptimizer::MeasureLayer(TMicroTiles& Tiles, TCustomLayer* Layer) {
  if (!LayerAccess.Paint) return;
  FWorkMicroTiles = &Tiles;
  FBuffer->BeginMeasuring([this](TObject*, const TRect& Area, Cardinal Info) {
    if (FWorkMicroTiles != nullptr) MarkArea(*FWorkMicroTiles, Area, Info);
  });
  TFinally Done([&] {
    FBuffer->EndMeasuring();
    FWorkMicroTiles = nullptr;
  });
  LayerAccess.Paint(Layer, FBuffer);
}

void TMicroTilesRepaintOptimizer::PrepareWorkTiles() {
  if (FWorkingTilesValid) return;
  SizeTileGrid(FTempTiles, FBufferBounds);
  SizeTileGrid(FInvalidTiles, FBufferBounds);
  SizeTileGrid(FForcedInvalidTiles, FBufferBounds);
  FWorkingTilesValid = true;
}

void TMicroTilesRepaintOptimizer::PrepareLayerTiles() {
  if (FOldInvalidTilesValid) return;
  PrepareWorkTiles();
  for (TLayerCollection* Layers : FLayerCollections) {
    const Integer N = LayerAccess.Count ? LayerAccess.Count(Layers) : 0;
    for (Integer I = 0; I < N; ++I) {
      TCustomLayer* Layer = LayerAccess.Items(Layers, I);
      PMicroTiles Tiles = LayerTiles(Layer);
      SizeTileGrid(*Tiles, FBufferBounds);
      MeasureLayer(*Tiles, Layer);
      if (LayerAccess.SetInvalid) LayerAccess.SetInvalid(Layer, false);
    }
  }
  FInvalidLayers.clear();
  FOldInvalidTilesValid = true;
  FUseInvalidTiles = false;
}

void TMicroTilesRepaintOptimizer::PerformOptimization() {
  if (FUseInvalidTiles) {
    PrepareWorkTiles();
    const bool W = FPerformanceLevel > 0;
    for (TCustomLayer* Layer : FInvalidLayers) {
      ClearUsedTiles(FTempTiles, 0);
      MeasureLayer(FTempTiles, Layer);
      UniteTileGrids(FInvalidTiles, FTempTiles, W);
      PMicroTiles Old = LayerTiles(Layer);
      UniteTileGrids(FInvalidTiles, *Old, W);
      CopyTileGrid(*Old, FTempTiles);
      if (LayerAccess.SetInvalid) LayerAccess.SetInvalid(Layer, false);
    }
    FInvalidLayers.clear();
    TilesToRects(FInvalidTiles, FInvalidRects, FBufferBounds, false, W);
    TilesToRects(FForcedInvalidTiles, FInvalidRects, FBufferBounds, false, W);
  }
  RelaxLevel();
  ClearUsedTiles(FInvalidTiles, 0);
  ClearUsedTiles(FForcedInvalidTiles, 0);
}

void TMicroTilesRepaintOptimizer::BeginPaintBuffer() {
  if (FAdaptiveMode) FTiming.StartTimer();
}

void TMicroTilesRepaintOptimizer::EndPaintBuffer() {
  FUseInvalidTiles = false;
  RateRepaint();
}

void TMicroTilesRepaintOptimizer::RestartAdaption() {
  FTimeDelta = 1000;
  FAdaptionFailed = false;
  FPerformanceLevel = 0;
}

void TMicroTilesRepaintOptimizer::ScheduleCheck(Integer Delay) {
  FNextCheck = FTiming.TickCount() + Cardinal(Delay);
  FCheckScheduled = true;
}

bool TMicroTilesRepaintOptimizer::TickPassed(Cardinal Check) const {
  // Wrap-safe: the tick count wraps after 49.7 days. Before any check was
  // scheduled (the check time starts at 0) a check is always due.
  if (!FCheckScheduled) return true;
  return Integer(FTiming.TickCount() - Check) > 0;
}

void TMicroTilesRepaintOptimizer::RelaxLevel() {
  if (!FAdaptiveMode || FPerformanceLevel <= 0) return;
  if (TickPassed(FNextCheck)) {
    FPerformanceLevel = std::clamp(FPerformanceLevel - 1, 0, 2);
    FTimedCheck = true;
  } else if (!FAdaptionFailed && FInvalidRects->Count() < FOldInvalidRectsCount - 10) {
    FPerformanceLevel = std::clamp(FPerformanceLevel - 1, 0, 2);
  } else if (FPerformanceLevel == 2) {
    FInvalidRects->Clear();
  }
}

void TMicroTilesRepaintOptimizer::RateRepaint() {
  const Int64 T = FAdaptiveMode ? FTiming.ReadTimer() : 0;
  const Integer N = FInvalidRects->Count();
  if (N == 0) {
    FElapsedTimeForFullSceneRepaint = T;
  } else if (FAdaptiveMode) {
    if (T > FElapsedTimeForFullSceneRepaint) {
      const Integer L = std::clamp(FPerformanceLevel + 1, 0, 2);
      if (L != FPerformanceLevel) {
        FOldInvalidRectsCount = N;
        FPerformanceLevel = L;
      }
      if (FTimedCheck) {
        FTimeDelta = std::clamp(FTimeDelta + 250, 1000, 5000);
        ScheduleCheck(FTimeDelta);
        FElapsedTimeOnLastPenalty = T;
        FTimedCheck = false;
      }
      FAdaptionFailed = true;
    } else if (T < FElapsedTimeForFullSceneRepaint) {
      if (FTimedCheck) {
        FTimeDelta = 1000;
        ScheduleCheck(1000);
        FTimedCheck = false;
      } else if (FTimeDelta > 1000) {
        FTimeDelta = std::clamp(FTimeDelta - 1000, 1000, 5000);
        ScheduleCheck(FTimeDelta);
      }
      FAdaptionFailed = false;
    } else if (T < FElapsedTimeOnLastPenalty && FTimedCheck) {
      FTimeDelta = std::clamp(FTimeDelta - 250, 1000, 5000);
      ScheduleCheck(FTimeDelta);
      FTimedCheck = false;
    }
  }
  FElapsedTimeForLastRepaint = T;
}
