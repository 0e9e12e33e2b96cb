// Guides and the ruler as the editor changes them: duplicates, moving a
// picked guide (and none after the guides were cleared), ruler drags by
// pick mode and their events; the time text.
#include "common/gtest.h"

#include "tests/document/win/document_fixture.h"

TEST(DocumentGuides, GuidesMoveOnlyWhenPicked) {
  TTestDocument d(100, 100);
  Integer changes = 0;
  d->OnChanged = [&changes](TObject*) { ++changes; };
  d->CreateGuides(0, 30, true);
  d->CreateGuides(0, 30, true);  // the same position: nothing added, still changed
  d->CreateGuides(40, 0, false);
  EXPECT_EQ(d->HorzGuidesRow()->ItemCount(), 1);
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(d->Modified()) << "guides store no undo step";

  // Picked by the pointer (view = image at zoom 1), then moved.
  d->GetShapeCursor(5, 30, 5, 30);
  EXPECT_EQ(d->HorzGuidesIndex(), 0);
  d->SetGuidesPosition(7, 44);
  EXPECT_EQ(d->HorzGuidesRow()->Items(0)->Value(), 44);
  d->GetShapeCursor(40, 5, 40, 5);
  EXPECT_EQ(d->VertGuidesIndex(), 0);
  d->SetGuidesPosition(61, 9);
  EXPECT_EQ(d->VertGuidesRow()->Items(0)->Value(), 61);
  // Cleared guides keep the picked indexes: moving then changes nothing
  // and reads no cell that is gone.
  d->ClearGuides();
  EXPECT_EQ(d->VertGuidesRow()->ItemCount(), 0);
  EXPECT_NO_THROW(d->SetGuidesPosition(20, 20));
  EXPECT_EQ(d->VertGuidesRow()->ItemCount(), 0);
  EXPECT_EQ(d->HorzGuidesRow()->ItemCount(), 0);
}

TEST(DocumentGuides, RulerDragsByPickMode) {
  TTestDocument d(200, 200);
  std::vector<TRect> events;
  d->OnRulerChanged = [&events](TObject*, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    events.push_back(TRect(X1, Y1, X2, Y2));
  };
  d->CreateRuler(10, 70, 90, 50);
  ASSERT_EQ(events.size(), 1u);
  struct {
    TPoint At;       // where the drag starts (view = image)
    Integer Mode;    // the pick it gives
    TRect Ends;      // after a drag by (5, -3)
  } table[] = {
      {{10, 70}, 1, {15, 67, 90, 50}},
      {{90, 50}, 2, {10, 70, 95, 47}},
      {{50, 60}, 0, {15, 67, 95, 47}},
  };
  for (const auto& c : table) {
    d->CreateRuler(10, 70, 90, 50);
    d->GetShapeCursor(c.At.X, c.At.Y, c.At.X, c.At.Y);
    ASSERT_EQ(d->RulerPickMode(), c.Mode);
    d->BackupRulerPosition();
    d->SetRulerPosition(c.At.X, c.At.Y, c.At.X + 5, c.At.Y - 3);
    EXPECT_EQ(TRect(d->RulerP1().X, d->RulerP1().Y, d->RulerP2().X, d->RulerP2().Y), c.Ends) << c.Mode;
    EXPECT_EQ(events.back(), c.Ends);
  }
  const size_t before = events.size();
  d->ClearRuler();
  EXPECT_FALSE(d->RulerEnabled());
  ASSERT_EQ(events.size(), before + 1);
  EXPECT_EQ(events.back(), TRect(15, 67, 95, 47)) << "the last ends";

  Integer timeEvents = 0;
  d->OnTimeStringChanged = [&timeEvents](TObject*) { ++timeEvents; };
  d->SetTimeString(u"00:01");
  EXPECT_EQ(d->TimeString(), u"00:01");
  EXPECT_EQ(timeEvents, 1);
}
