// The shape base's frame arithmetic: handle positions in view pixels at
// several zooms, hit rectangles, cursors of turned handles, resizing by a
// handle with its limits and ratio locks, moving and turning.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include "document/ShapeCore.h"

namespace {

// Opens the base behaviour to the tests.
class TFrameProbe : public TShapeCore {
 public:
  using TShapeCore::FrameAdjustShape;
  using TShapeCore::FrameCalcCenterPoint;
  using TShapeCore::FrameCalcControlPoints;
  using TShapeCore::FrameClickStart;
  using TShapeCore::FrameMoveShape;
  using TShapeCore::FramePtInControl;
  using TShapeCore::FramePtInShape;
  using TShapeCore::LayoutDiscHandles;
  using TShapeCore::LayoutSquareHandles;
  TFrameProbe(const TRect& R, Integer Mode = 1) {
    SetSRect(R);
    FrameCalcCenterPoint();
    SetControlModeValue(Mode);
  }
  void Select() { SetSelectedFlag(true); }
};

}  // namespace

TEST(ShapeFrame, HandlePositionsAtSeveralZooms) {
  TFrameProbe s(TRect(10, 40, 31, 60));
  s.FrameCalcControlPoints(TViewMap{});
  EXPECT_EQ(s.PointsA(0), TPoint(0, 0)) << "an unselected object computes nothing";
  s.Select();
  struct {
    TViewMap Map;
    TPoint P0, P3, P5, P7;
  } cases[] = {
      // Width 21: Round(10.5) = 10 (halves to even); height 20.
      {TViewMap{1, 0, 0}, TPoint(20, 10), TPoint(31, 60), TPoint(20, 40), TPoint(10, 50)},
      {TViewMap{0.5f, 7, -3}, TPoint(17, 2), TPoint(23, 27), TPoint(17, 17), TPoint(12, 22)},
      {TViewMap{2, 100, 50}, TPoint(140, 70), TPoint(162, 170), TPoint(140, 130), TPoint(120, 150)},
  };
  for (const auto& c : cases) {
    s.FrameCalcControlPoints(c.Map);
    EXPECT_EQ(s.CtrPoints(0), c.P0);
    EXPECT_EQ(s.CtrPoints(3), c.P3);
    EXPECT_EQ(s.CtrPoints(5), c.P5);
    EXPECT_EQ(s.CtrPoints(7), c.P7);
  }
  // At half zoom the rotation handle is 15 view pixels above the top.
  s.FrameCalcControlPoints(TViewMap{0.5f, 0, 0});
  EXPECT_EQ(s.CtrPoints(5).Y - s.CtrPoints(0).Y, 15);
}

TEST(ShapeFrame, TurnedHandlesAndCursors) {
  TFrameProbe s(TRect(0, 0, 100, 40));
  s.Select();
  s.SetAngle(90);
  s.FrameCalcControlPoints(TViewMap{});
  // Turned counter-clockwise about (50, 20): the top middle goes left.
  EXPECT_EQ(s.PointsA(5), TPoint(30, 20));
  s.LayoutDiscHandles(false);
  ASSERT_TRUE(s.FramePtInControl(30, 20));
  EXPECT_EQ(s.CurrentCtrIndex(), 5);
  EXPECT_EQ(s.CurrentCursor(), ShapeCursor::SizeWE);
  // b = Trunc((Round(270 - angle + c) mod 180) / 22.5), by handle group.
  struct {
    Single Angle;
    Integer Handle;
    SmallInt Cursor;
  } cases[] = {
      {30, 1, ShapeCursor::SizeWE},    // (375 mod 180) = 15 -> 0
      {30, 2, ShapeCursor::SizeNS},    // 465 mod 180 = 105 -> 4
      {30, 5, ShapeCursor::SizeNWSE},  // 420 mod 180 = 60 -> 2
      {30, 7, ShapeCursor::SizeNESW},  // 330 mod 180 = 150 -> 6
      {-45, 1, ShapeCursor::SizeNS},   // 450 mod 180 = 90 -> 4
      {1000, 1, ShapeCursor::SizeWE},  // -595 mod 180 = -55: negative falls through
      {1e30f, 5, ShapeCursor::SizeWE}, // far out of range: no overflow
  };
  for (const auto& c : cases) {
    s.SetAngle(c.Angle);
    s.FrameCalcControlPoints(TViewMap{});
    s.LayoutDiscHandles(false);
    const TPoint p = s.CtrPoints(c.Handle);
    ASSERT_TRUE(s.FramePtInControl(p.X, p.Y));
    EXPECT_EQ(s.CurrentCtrIndex(), c.Handle);
    EXPECT_EQ(s.CurrentCursor(), c.Cursor) << c.Angle << " handle " << c.Handle;
  }
}

TEST(ShapeFrame, HitRectanglesAndUnselectedObjects) {
  TFrameProbe s(TRect(100, 100, 200, 150));
  s.Select();
  s.FrameCalcControlPoints(TViewMap{});
  s.LayoutSquareHandles(7);
  EXPECT_EQ(s.CtrRect(0), TRect());
  EXPECT_EQ(s.CtrRect(1), TRect(93, 93, 100, 100));
  EXPECT_EQ(s.CtrRect(3), TRect(200, 150, 207, 157));
  EXPECT_EQ(s.CtrRect(5), TRect(147, 93, 154, 100));
  EXPECT_EQ(s.CtrRect(7), TRect(93, 122, 100, 129));
  // Right and bottom are exclusive.
  EXPECT_TRUE(s.FramePtInControl(93, 93));
  EXPECT_EQ(s.CurrentCursor(), ShapeCursor::SizeNWSE);
  EXPECT_FALSE(s.FramePtInControl(100, 100));
  EXPECT_EQ(s.CurrentCtrIndex(), -1);
  // A narrow frame has no edge handles on the short sides.
  TFrameProbe n(TRect(0, 0, 20, 60));
  n.Select();
  n.FrameCalcControlPoints(TViewMap{});
  n.LayoutSquareHandles(7);
  EXPECT_EQ(n.CtrRect(5), TRect());
  EXPECT_NE(n.CtrRect(7), TRect());
  // Disc handles: x - 3 .. x + 3; a picture keeps only its corners.
  s.LayoutDiscHandles(true);
  EXPECT_EQ(s.CtrRect(0), TRect(147, 67, 153, 73));
  EXPECT_EQ(s.CtrRect(5), TRect());
  // An unselected object never hits a handle, and says so.
  TFrameProbe u(TRect(0, 0, 50, 50));
  EXPECT_FALSE(u.FramePtInControl(0, 0));
  EXPECT_EQ(u.CurrentCtrIndex(), -1);
  EXPECT_TRUE(u.FramePtInShape(49, 49));
  EXPECT_EQ(u.CurrentCursor(), ShapeCursor::SizeAll);
  EXPECT_FALSE(u.FramePtInShape(50, 49));
}

TEST(ShapeFrame, ResizingByHandles) {
  struct {
    Integer Handle;
    TPoint To;  // where the handle is dragged to (from its own position)
    TRect Expected;
  } cases[] = {
      {3, TPoint(150, 90), TRect(10, 10, 150, 90)},
      {1, TPoint(300, 300), TRect(99, 79, 100, 80)},  // past the opposite corner: MinSize 1 before it
      {5, TPoint(55, -20), TRect(10, -20, 100, 80)},
      {8, TPoint(5, 40), TRect(10, 10, 11, 80)},
      {0, TPoint(5, 5), TRect(10, 10, 100, 80)},  // the rotation handle is not a resize
  };
  for (const auto& c : cases) {
    TFrameProbe s(TRect(10, 10, 100, 80));
    s.Select();
    s.FrameCalcControlPoints(TViewMap{});
    s.SetCurrentCtrIndex(c.Handle);
    s.FrameClickStart(0);
    const TPoint start = s.PointsA(c.Handle);
    s.FrameAdjustShape(start.X, start.Y, c.To.X, c.To.Y, false, false);
    EXPECT_EQ(s.SRect(), c.Expected) << "handle " << c.Handle;
    EXPECT_LT(s.SRect().Left, s.SRect().Right);
    EXPECT_LT(s.SRect().Top, s.SRect().Bottom);
  }
  // Control mode without the frame bit: nothing moves.
  TFrameProbe p(TRect(10, 10, 100, 80), 2);
  p.SetCurrentCtrIndex(3);
  p.FrameAdjustShape(0, 0, 50, 50, false, false);
  EXPECT_EQ(p.SRect(), TRect(10, 10, 100, 80));
}

TEST(ShapeFrame, RatioLocks) {
  // A crop frame with a fixed rate of 2 keeps it on a corner drag.
  TFrameProbe crop(TRect(0, 0, 100, 50));
  crop.Select();
  crop.FrameCalcControlPoints(TViewMap{});
  crop.SetCurrentCtrIndex(3);
  crop.FrameClickStart(2);
  crop.FrameAdjustShape(100, 50, 160, 50, true, false);
  EXPECT_EQ(crop.SRect(), TRect(0, 0, 160, 80));
  // A picture keeps its own rate only while Shift is held.
  for (bool shift : {false, true}) {
    TFrameProbe pic(TRect(0, 0, 100, 50));
    pic.Select();
    pic.FrameCalcControlPoints(TViewMap{});
    pic.SetCurrentCtrIndex(4);
    pic.FrameClickStart(0);
    pic.FrameAdjustShape(0, 50, -100, 60, false, shift);
    EXPECT_EQ(pic.SRect(), shift ? TRect(-100, 0, 100, 100) : TRect(-100, 0, 100, 60)) << shift;
  }
  // A zero-height frame has no usable rate: the drag is free.
  TFrameProbe flat(TRect(0, 0, 100, 0));
  flat.Select();
  flat.FrameCalcControlPoints(TViewMap{});
  flat.SetCurrentCtrIndex(3);
  flat.FrameClickStart(0);
  flat.FrameAdjustShape(100, 0, 120, 30, false, true);
  EXPECT_EQ(flat.SRect(), TRect(0, 0, 120, 30));
}

TEST(ShapeFrame, MovingTurningAndTheTurnedBox) {
  TFrameProbe s(TRect(0, 0, 100, 40));
  s.FrameMoveShape(10, 10, 15, 13);
  EXPECT_EQ(s.SRect(), TRect(5, 3, 105, 43));
  s.FrameMoveShape(10, 10, 15, 13);  // the start is not advanced by the base
  EXPECT_EQ(s.SRect(), TRect(10, 6, 110, 46));
  EXPECT_EQ(s.CenterPoint(), (TFloatPoint{60, 26}));

  TFrameProbe t(TRect(0, 0, 100, 40));
  t.SetAngleToPoint(50, -100);
  EXPECT_FLOAT_EQ(t.Angle(), 0);
  t.SetAngleToPoint(200, 20);
  EXPECT_FLOAT_EQ(t.Angle(), 270);
  t.SetAngle(90);
  EXPECT_EQ(t.RotateRect(), TRect(30, -30, 70, 70));
  t.SetAngle(0);
  EXPECT_EQ(t.RotateRect(), TRect(0, 0, 100, 40));
}
