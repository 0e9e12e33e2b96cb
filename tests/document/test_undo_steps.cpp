// The undo history's store: recording, the redo drop, the memory rule and
// its hand-over of heavy parts, the backward searches with their stops,
// state names.
#include "common/gtest.h"

#include "document/UndoSteps.h"

namespace {

// A small history driver with fake heavy parts: a raster is a 1 x 1 bitmap
// holding a number; the object rows are "id,type,...".
struct THistory {
  TDataTable Undo;
  TDataTable Objects;
  Integer Index = -1;
  Int64 Avail = Int64(1) << 40;

  ~THistory() { ClearHistory(&Undo); }

  static std::unique_ptr<TCustomBitmap32> Pixel(TColor32 V) {
    auto b = std::make_unique<TCustomBitmap32>();
    b->SetSize(1, 1);
    b->SetPixel(0, 0, V);
    return b;
  }
  // Records a step; Raster != 0 gives it a raster copy; Parts fills the
  // step's rows.
  TDataTable* Record(TColor32 Raster, const std::function<void(TDataTable*)>& Parts = {}, const String& Name = {}) {
    TDataTable* step = NewStepTable(&Objects);
    if (Raster) step->SetData(static_cast<TUndoPart*>(new TUndoBitmap(Pixel(Raster))));
    if (Parts) Parts(step);
    AppendStep(&Undo, Index, step, Name, [this] { return Avail; });
    return step;
  }
  TColor32 RasterAt(Integer I) {
    TCustomBitmap32* b = FindRaster(&Undo, I);
    return b ? b->GetPixel(0, 0) : 0;
  }
  TColor32 PictureAt(Integer I, Integer Id, TUndoSlot Slot = TUndoSlot::Picture) {
    TRow* r = FindRowPart(&Undo, I, Id, Slot);
    return r ? static_cast<TUndoBitmap*>(PartOf(r, Slot))->Value->GetPixel(0, 0) : 0;
  }
};

void GivePicture(TDataTable* Step, Integer Id, TColor32 V, TUndoSlot Slot = TUndoSlot::Picture) {
  TRow* r = Step->Items(Step->IndexOfValue(0, Id));
  SetPartOf(r, Slot, new TUndoBitmap(THistory::Pixel(V)));
}

}  // namespace

// Each step's raster is the newest copy at or before it; object steps take
// no copy.
TEST(UndoSteps, RasterSearchAndRedoDrop) {
  THistory h;
  h.Objects.AddItem(u"1,3");
  h.Record(10);  // 0
  h.Record(0);   // 1: object edit
  h.Record(20);  // 2: a stroke
  h.Record(0);   // 3
  const TColor32 expect[] = {10, 10, 20, 20};
  for (Integer i = 0; i < 4; ++i) EXPECT_EQ(h.RasterAt(i), expect[i]) << i;
  EXPECT_EQ(h.Index, 3);
  // Undo twice, record: the steps after the current one go.
  h.Index = 1;
  h.Record(30);
  EXPECT_EQ(h.Undo.ItemCount(), 3);
  EXPECT_EQ(h.Index, 2);
  EXPECT_EQ(h.RasterAt(2), 30u);
  EXPECT_EQ(h.RasterAt(1), 10u);
  // From index -1 every step is dropped (the first step of a history).
  h.Index = -1;
  h.Record(40);
  EXPECT_EQ(h.Undo.ItemCount(), 1);
  EXPECT_EQ(h.Index, 0);
  EXPECT_EQ(h.RasterAt(0), 40u);
}

// Per-object searches stop at a step that has no row for the object; the
// lifted picture's also at a row without one.
TEST(UndoSteps, ObjectPartSearchesStop) {
  THistory h;
  h.Objects.AddItem(u"1,8");
  h.Objects.AddItem(u"2,14");
  h.Record(1, [](TDataTable* s) {
    GivePicture(s, 1, 5);
    s->Items(1)->AddItem(String());
    while (s->Items(1)->ItemCount() <= 44) s->Items(1)->AddItem(String());
    s->Items(1)->Items(UndoCell::Lifted)->SetText(u"-1");
    GivePicture(s, 2, 7, TUndoSlot::Lifted);
    SetPartOf(s->Items(1), TUndoSlot::Region, new TUndoRegion(TRegion(TRect(1, 1, 3, 3))));
  });
  // Step 1: the selection row keeps its lifted flag but no copies.
  h.Record(0, [](TDataTable* s) {
    while (s->Items(1)->ItemCount() <= 44) s->Items(1)->AddItem(String());
    s->Items(1)->Items(UndoCell::Lifted)->SetText(u"-1");
  });
  EXPECT_EQ(h.PictureAt(1, 1), 5u);
  EXPECT_EQ(h.PictureAt(1, 2, TUndoSlot::Lifted), 7u);
  ASSERT_NE(FindRowPart(&h.Undo, 1, 2, TUndoSlot::Region), nullptr);
  EXPECT_EQ(FindRowPart(&h.Undo, 1, 2, TUndoSlot::Region)->Items(UndoCell::Region)->Text(), u"1");
  // Step 2: the picture object is gone; step 3: it is back (a new object
  // with the same id): the search does not reach step 0.
  TDataTable saved;
  saved.CopyFrom(&h.Objects, true, -1);
  h.Objects.RemoveItemByIndex(0);
  h.Record(0);
  h.Objects.CopyFrom(&saved, true, -1);
  h.Record(0, [](TDataTable* s) { while (s->Items(1)->ItemCount() <= 44) s->Items(1)->AddItem(String()); });
  EXPECT_EQ(h.PictureAt(3, 1), 0u);
  // Step 3's selection row has no lifted picture: the search stops there.
  EXPECT_EQ(h.PictureAt(3, 2, TUndoSlot::Lifted), 0u);
}

// With 5 steps and little memory the oldest step goes; its heavy parts move
// into the next step where that one has none, so every remaining step gives
// what it gave before.
TEST(UndoSteps, LowMemoryDropKeepsEveryRemainingStepExact) {
  THistory h;
  h.Objects.AddItem(u"1,8");
  h.Objects.AddItem(u"2,14");
  auto selParts = [](TDataTable* s) {
    TRow* r = s->Items(1);
    while (r->ItemCount() <= 44) r->AddItem(String());
    r->Items(UndoCell::Lifted)->SetText(u"-1");
  };
  h.Record(11, [&](TDataTable* s) {
    GivePicture(s, 1, 21);
    selParts(s);
    GivePicture(s, 2, 31, TUndoSlot::Lifted);
    SetPartOf(s->Items(1), TUndoSlot::AliasPoints, new TUndoPoints({TPoint(1, 2), TPoint(3, 4)}));
  });
  for (int i = 0; i < 4; ++i) h.Record(0, selParts);
  struct TSeen {
    TColor32 Raster, Picture, Lifted;
    size_t Alias;
  };
  auto seen = [&](Integer I) {
    TRow* a = FindRowPart(&h.Undo, I, 2, TUndoSlot::AliasPoints);
    return TSeen{h.RasterAt(I), h.PictureAt(I, 1), h.PictureAt(I, 2, TUndoSlot::Lifted),
                 a ? static_cast<TUndoPoints*>(PartOf(a, TUndoSlot::AliasPoints))->Value.size() : 0};
  };
  std::vector<TSeen> before;
  for (Integer i = 1; i < 5; ++i) before.push_back(seen(i));
  // Plenty of memory: nothing dropped.
  h.Avail = UndoLowMemory;
  h.Record(0, selParts);
  EXPECT_EQ(h.Undo.ItemCount(), 6);
  ClearHistory(&h.Undo);
  h.Index = -1;
  h.Record(11, [&](TDataTable* s) {
    GivePicture(s, 1, 21);
    selParts(s);
    GivePicture(s, 2, 31, TUndoSlot::Lifted);
    SetPartOf(s->Items(1), TUndoSlot::AliasPoints, new TUndoPoints({TPoint(1, 2), TPoint(3, 4)}));
  });
  h.Avail = Int64(1) << 40;
  for (int i = 0; i < 4; ++i) h.Record(0, selParts);
  h.Avail = UndoLowMemory - 1;
  h.Record(0, selParts);
  EXPECT_EQ(h.Undo.ItemCount(), 5);
  EXPECT_EQ(h.Index, 4);
  for (Integer i = 0; i < 4; ++i) {
    const TSeen s = seen(i);
    EXPECT_EQ(s.Raster, before[size_t(i)].Raster) << i;
    EXPECT_EQ(s.Picture, before[size_t(i)].Picture) << i;
    EXPECT_EQ(s.Lifted, before[size_t(i)].Lifted) << i;
    EXPECT_EQ(s.Alias, before[size_t(i)].Alias) << i;
  }
  // A step that has its own copy keeps it; the older one is freed (ASan
  // sees a leak otherwise).
  ClearHistory(&h.Undo);
  h.Index = -1;
  for (int i = 0; i < 5; ++i) h.Record(TColor32(100 + i));
  h.Avail = 0;
  h.Record(200);
  EXPECT_EQ(h.RasterAt(0), 101u);
}

TEST(UndoSteps, StateNames) {
  THistory h;
  h.Objects.AddItem(u"1,3");
  h.Record(1, {}, u"EffectDraw");
  h.Record(0, {}, u"effectdraw");
  h.Record(0, {}, u"EffectDraw");
  ClearUndoStateName(&h.Undo, u"EffectDraw");
  EXPECT_EQ(h.Undo.Items(0)->Items(UndoCell::StateName)->Text(), u"");
  EXPECT_EQ(h.Undo.Items(1)->Items(UndoCell::StateName)->Text(), u"effectdraw");
  EXPECT_EQ(h.Undo.Items(2)->Items(UndoCell::StateName)->Text(), u"");
}
