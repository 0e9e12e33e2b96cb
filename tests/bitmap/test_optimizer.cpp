#include "common/gtest.h"

#include <algorithm>
#include <memory>

#include "bitmap/Bmp32_RepaintOpt.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

// Stand-ins for the layers unit: a layer paints by reporting its rectangle.
struct FakeLayer {
  TRect Location;
  bool Invalid = false;
  int Paints = 0;
  bool IsLine = false;
};

struct FakeCollection {
  std::vector<FakeLayer*> Items;
  TLayerListNotifyEvent OnListNotify;
  TLayerUpdateEvent OnLayerUpdated;
  TAreaChangedEvent OnAreaUpdated;

  TLayerCollection* Handle() { return reinterpret_cast<TLayerCollection*>(this); }
  static FakeCollection* Of(TLayerCollection* L) { return reinterpret_cast<FakeCollection*>(L); }
  static TCustomLayer* H(FakeLayer* L) { return reinterpret_cast<TCustomLayer*>(L); }
  static FakeLayer* Of(TCustomLayer* L) { return reinterpret_cast<FakeLayer*>(L); }

  void Add(FakeLayer* L) {
    Items.push_back(L);
    if (OnListNotify) OnListNotify(Handle(), lnLayerAdded, H(L), Integer(Items.size()) - 1);
  }
  void Remove(FakeLayer* L) {
    auto It = std::find(Items.begin(), Items.end(), L);
    const Integer Index = Integer(It - Items.begin());
    Items.erase(It);
    if (OnListNotify) OnListNotify(Handle(), lnLayerDeleted, H(L), Index);
  }
  void Changed(FakeLayer* L) {
    if (OnLayerUpdated) OnLayerUpdated(nullptr, H(L));
  }
};

TLayerAccess FakeAccess() {
  TLayerAccess A;
  A.Count = [](TLayerCollection* L) { return Integer(FakeCollection::Of(L)->Items.size()); };
  A.Items = [](TLayerCollection* L, Integer I) { return FakeCollection::H(FakeCollection::Of(L)->Items[I]); };
  A.SetOnListNotify = [](TLayerCollection* L, TLayerListNotifyEvent E) { FakeCollection::Of(L)->OnListNotify = E; };
  A.SetOnLayerUpdated = [](TLayerCollection* L, TLayerUpdateEvent E) { FakeCollection::Of(L)->OnLayerUpdated = E; };
  A.SetOnAreaUpdated = [](TLayerCollection* L, TAreaChangedEvent E) { FakeCollection::Of(L)->OnAreaUpdated = E; };
  A.GetInvalid = [](TCustomLayer* L) { return FakeCollection::Of(L)->Invalid; };
  A.SetInvalid = [](TCustomLayer* L, bool V) { FakeCollection::Of(L)->Invalid = V; };
  A.Paint = [](TCustomLayer* L, TCustomBitmap32* Buffer) {
    FakeLayer* F = FakeCollection::Of(L);
    ++F->Paints;
    const TRect& R = F->Location;
    if (F->IsLine)
      Buffer->Changed(R, AreaInfoLine | 2);
    else
      Buffer->Changed(R, AreaInfoRect);
  };
  return A;
}

class Optimizer : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureEngine();
    Saved = LayerAccess;
    LayerAccess = FakeAccess();
    Buffer.SetSize(100, 50);
    Opt = std::make_unique<TMicroTilesRepaintOptimizer>(&Buffer, &Rects);
    TRepaintTiming T;
    T.TickCount = [this] { return Ticks; };
    T.StartTimer = [this] { ++TimerStarts; };
    T.ReadTimer = [this] { return Elapsed; };
    Opt->SetTiming(T);
  }
  void TearDown() override {
    Opt.reset();
    LayerAccess = Saved;
  }
  std::vector<TRect> Optimize() {
    Rects.SetCount(0);
    if (Opt->UpdatesAvailable()) Opt->PerformOptimization();
    std::vector<TRect> R;
    for (Integer I = 0; I < Rects.Count(); ++I) R.push_back(Rects[I]);
    return R;
  }
  // One whole repaint cycle with a given repaint time.
  std::vector<TRect> Cycle(Int64 Time) {
    auto R = Optimize();
    Opt->BeginPaintBuffer();
    Elapsed = Time;
    Opt->EndPaintBuffer();
    return R;
  }
  static bool Covers(const std::vector<TRect>& Rs, const TRect& Area) {
    for (Integer Y = Area.Top; Y < Area.Bottom; ++Y)
      for (Integer X = Area.Left; X < Area.Right; ++X) {
        bool In = false;
        for (const auto& R : Rs) In = In || (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom);
        if (!In) return false;
      }
    return true;
  }

  TLayerAccess Saved;
  FakeCollection C;  // outlives the optimiser, which unhooks it when destroyed
  TCustomBitmap32 Buffer;
  TRectList Rects;
  std::unique_ptr<TMicroTilesRepaintOptimizer> Opt;
  Cardinal Ticks = 100000;
  Int64 Elapsed = 0;
  int TimerStarts = 0;
};

TEST_F(Optimizer, EnablingForcesOneFullRepaint) {
  FakeLayer L{TRect(0, 0, 10, 10)};
  C.Items.push_back(&L);
  Opt->RegisterLayerCollection(C.Handle());
  EXPECT_TRUE(static_cast<bool>(C.OnListNotify));
  EXPECT_FALSE(static_cast<bool>(C.OnLayerUpdated));  // hooked only when enabled
  Opt->SetEnabled(true);
  EXPECT_TRUE(static_cast<bool>(C.OnLayerUpdated));
  EXPECT_EQ(L.Paints, 1);  // measured once
  EXPECT_EQ(Optimize(), std::vector<TRect>{TRect(0, 0, 100, 50)});
  Opt->BeginPaintBuffer();
  Opt->EndPaintBuffer();
  EXPECT_TRUE(Optimize().empty());
  // A resize discards everything and forces a full repaint again.
  Buffer.SetSize(70, 40);
  Opt->BufferResizedHandler(70, 40);
  EXPECT_EQ(Optimize(), std::vector<TRect>{TRect(0, 0, 70, 40)});
}

TEST_F(Optimizer, AMovedLayerInvalidatesBothAreas) {
  FakeLayer L{TRect(0, 0, 10, 10)};
  C.Items.push_back(&L);
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetEnabled(true);
  Cycle(0);
  L.Location = TRect(50, 0, 60, 10);
  C.Changed(&L);
  C.Changed(&L);  // already marked: nothing more
  EXPECT_EQ(Opt->InvalidLayerCount(), 1);
  EXPECT_TRUE(L.Invalid);
  const auto R = Cycle(0);
  EXPECT_TRUE(Covers(R, TRect(0, 0, 10, 10)));
  EXPECT_TRUE(Covers(R, TRect(50, 0, 60, 10)));
  EXPECT_FALSE(Covers(R, TRect(20, 0, 40, 10)));
  EXPECT_FALSE(L.Invalid);
}

TEST_F(Optimizer, AreaUpdatesAndLines) {
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetEnabled(true);
  Cycle(0);
  C.OnAreaUpdated(nullptr, TRect(5, 5, 8, 9), AreaInfoRect);
  EXPECT_EQ(Cycle(0), std::vector<TRect>{TRect(5, 5, 8, 9)});
  // A line report grows by its width.
  C.OnAreaUpdated(nullptr, TRect(10, 20, 60, 20), AreaInfoLine | 2);
  const auto R = Cycle(0);
  EXPECT_TRUE(Covers(R, TRect(10, 18, 60, 22)));
}

TEST_F(Optimizer, AddingAndDeletingLayers) {
  FakeLayer A{TRect(0, 0, 20, 20)}, B{TRect(40, 10, 50, 20)};
  C.Items.push_back(&A);
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetEnabled(true);
  Cycle(0);
  C.Add(&B);   // gets an empty tile grid; its first change measures it
  C.Changed(&B);
  auto R = Cycle(0);
  EXPECT_TRUE(Covers(R, TRect(40, 10, 50, 20)));
  C.Remove(&A);
  R = Cycle(0);
  EXPECT_TRUE(Covers(R, TRect(0, 0, 20, 20)));
  // A layer the optimiser never mapped: deleting it is quiet.
  FakeLayer Stranger{TRect(1, 1, 2, 2)};
  EXPECT_NO_THROW(C.OnListNotify(C.Handle(), lnLayerDeleted, FakeCollection::H(&Stranger), 0));
  // Clearing invalidates every layer's area.
  C.OnListNotify(C.Handle(), lnCleared, nullptr, 0);
  R = Cycle(0);
  EXPECT_TRUE(Covers(R, TRect(40, 10, 50, 20)));
}

TEST_F(Optimizer, DisablingDropsTheBookkeeping) {
  FakeLayer L{TRect(0, 0, 10, 10)};
  C.Items.push_back(&L);
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetEnabled(true);
  Cycle(0);
  C.Changed(&L);
  Opt->SetEnabled(false);
  EXPECT_FALSE(static_cast<bool>(C.OnLayerUpdated));
  EXPECT_EQ(Opt->InvalidLayerCount(), 0);
  EXPECT_FALSE(L.Invalid);
  Opt->SetEnabled(true);
  EXPECT_EQ(Optimize(), std::vector<TRect>{TRect(0, 0, 100, 50)});
  Opt->UnregisterLayerCollection(C.Handle());
  EXPECT_FALSE(static_cast<bool>(C.OnListNotify));
}

TEST_F(Optimizer, AdaptiveLevelsFollowTheRepaintTimes) {
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetEnabled(true);
  Cycle(0);     // the forced first repaint (listed as one rectangle)
  Cycle(1000);  // nothing listed: a full-scene repaint of 1000 us
  EXPECT_EQ(Opt->ElapsedTimeForFullSceneRepaint(), 1000);
  EXPECT_EQ(Opt->PerformanceLevel(), 0);
  // An optimised repaint slower than the full one raises the level.
  C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
  Cycle(1500);
  EXPECT_EQ(Opt->PerformanceLevel(), 1);
  EXPECT_TRUE(Opt->AdaptionFailed());
  // The next optimisation undoes it at once (no check scheduled yet) and
  // puts the level on probation.
  C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
  Optimize();
  EXPECT_EQ(Opt->PerformanceLevel(), 0);
  EXPECT_TRUE(Opt->TimedCheck());
  // Again slower: the level rises, the delta becomes 1000 and the next
  // check lies 1000 ms ahead.
  Opt->BeginPaintBuffer();
  Elapsed = 1500;
  Opt->EndPaintBuffer();
  EXPECT_EQ(Opt->PerformanceLevel(), 1);
  EXPECT_EQ(Opt->TimeDelta(), 1000);
  EXPECT_EQ(Opt->NextCheck(), Ticks + 1000);
  EXPECT_FALSE(Opt->TimedCheck());
  // Before the check time the level stays (whole tiles now).
  Ticks += 500;
  C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
  EXPECT_EQ(Cycle(1500), std::vector<TRect>{TRect(0, 0, 32, 32)});
  EXPECT_EQ(Opt->PerformanceLevel(), 2);
  // Level 2: the list is emptied after each optimisation (full repaints).
  C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
  EXPECT_TRUE(Optimize().empty());
  Opt->BeginPaintBuffer();
  Elapsed = 900;
  Opt->EndPaintBuffer();  // a full repaint
  EXPECT_EQ(Opt->ElapsedTimeForFullSceneRepaint(), 900);
  // After the check time the level relaxes by one.
  Ticks += 600;
  C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
  Optimize();
  EXPECT_EQ(Opt->PerformanceLevel(), 1);
  EXPECT_TRUE(Opt->TimedCheck());
  // Faster than the full scene on probation: back to a 1000 ms delta.
  Opt->BeginPaintBuffer();
  Elapsed = 100;
  Opt->EndPaintBuffer();
  EXPECT_FALSE(Opt->TimedCheck());
  EXPECT_EQ(Opt->TimeDelta(), 1000);
  EXPECT_GE(Opt->TimeDelta(), 1000);
  EXPECT_LE(Opt->TimeDelta(), 5000);
}

TEST_F(Optimizer, TimeDeltaStaysInRangeAndTicksMayWrap) {
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetEnabled(true);
  Ticks = 0xFFFFFF00u;  // just before the tick count wraps
  Cycle(1000);
  for (int I = 0; I < 40; ++I) {
    C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
    Cycle(I % 3 == 2 ? 10 : 5000);
    Ticks += 700;
    if (Opt->TimeDelta() != 0) {
      EXPECT_GE(Opt->TimeDelta(), 1000);
      EXPECT_LE(Opt->TimeDelta(), 5000);
    }
    EXPECT_GE(Opt->PerformanceLevel(), 0);
    EXPECT_LE(Opt->PerformanceLevel(), 2);
  }
  // A check scheduled across the wrap is not due before its time.
  const Cardinal Next = Opt->NextCheck();
  if (Opt->PerformanceLevel() > 0 && !Opt->TimedCheck()) {
    Ticks = Next - 10;
    const Integer Level = Opt->PerformanceLevel();
    C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
    Optimize();
    EXPECT_TRUE(Opt->PerformanceLevel() == Level || Opt->PerformanceLevel() == Level - 1);
  }
}

TEST_F(Optimizer, WithoutAdaptiveModeTheLevelNeverChanges) {
  Opt->RegisterLayerCollection(C.Handle());
  Opt->SetAdaptiveMode(false);
  Opt->SetEnabled(true);
  Cycle(1000);
  for (int I = 0; I < 5; ++I) {
    C.OnAreaUpdated(nullptr, TRect(1, 1, 3, 3), AreaInfoRect);
    Cycle(5000);
    EXPECT_EQ(Opt->PerformanceLevel(), 0);
  }
  EXPECT_EQ(TimerStarts, 0);
}

}  // namespace
