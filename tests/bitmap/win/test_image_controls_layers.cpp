// Layers of the image controls: list order and notifications, updates,
// mouse routing and viewport mapping (no window needed).
#include "common/gtest.h"

#include <string>
#include <vector>

#include "bitmap/win/Bmp32_Layers.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"

namespace {

struct Log {
  std::vector<std::string> Items;
  void Hook(TLayerCollection& C) {
    C.OnListNotify = [this](TLayerCollection*, TLayerListNotification A, TCustomLayer*, Integer I) {
      Items.push_back("list" + std::to_string(Integer(A)) + "@" + std::to_string(I));
    };
    C.OnLayerUpdated = [this](TObject*, TCustomLayer*) { Items.push_back("layer"); };
    C.OnAreaUpdated = [this](TObject*, const TRect& R, Cardinal Info) {
      Items.push_back("area" + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
                      std::to_string(R.Right) + "," + std::to_string(R.Bottom) + (Info == AreaInfoRect ? "r" : "?"));
    };
    C.OnChanging = [this](TObject*) { Items.push_back("changing"); };
    C.OnChange = [this](TObject*) { Items.push_back("change"); };
  }
};

class LayersTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TEST_F(LayersTest, AddSendsAddedTwiceAndInsertMovesTheNewLayer) {
  Log L;
  TLayerCollection C(nullptr);
  L.Hook(C);
  TCustomLayer* A = C.Add<TCustomLayer>();
  EXPECT_EQ(L.Items, (std::vector<std::string>{"changing", "list0@0", "change", "list0@0"}));
  C.Add<TPositionedLayer>();
  L.Items.clear();
  TCustomLayer* I = C.Insert(1, &LayerClassOf<TPositionedLayer>);
  EXPECT_EQ(I->Index(), 1);
  EXPECT_EQ(A->Index(), 0);
  EXPECT_EQ(L.Items.front(), "changing");
  EXPECT_EQ(L.Items.back(), "change");
  EXPECT_NE(std::find(L.Items.begin(), L.Items.end(), "list1@1"), L.Items.end());
  L.Items.clear();
  C.Delete(0);
  EXPECT_EQ(C.Count(), 2);
  EXPECT_EQ(I->Index(), 0);
  EXPECT_NE(std::find(L.Items.begin(), L.Items.end(), "list2@0"), L.Items.end());
  L.Items.clear();
  C.Clear();
  EXPECT_EQ(C.Count(), 0);
  EXPECT_EQ(L.Items.back(), "change");
  EXPECT_NE(std::find(L.Items.begin(), L.Items.end(), "list3@0"), L.Items.end());
}

TEST_F(LayersTest, IndexIsClampedAndAnEqualIndexSendsNothing) {
  struct Case {
    Integer Start, Value, Want;
  } Cases[] = {{2, -5, 0}, {0, 1000, 3}, {1, 2, 2}, {3, 0, 0}};
  for (const Case& K : Cases) {
    TLayerCollection C(nullptr);
    std::vector<TCustomLayer*> Ls;
    for (int i = 0; i < 4; ++i) Ls.push_back(C.Add<TCustomLayer>());
    Ls[size_t(K.Start)]->SetIndex(K.Value);
    EXPECT_EQ(Ls[size_t(K.Start)]->Index(), K.Want) << K.Start << "->" << K.Value;
    EXPECT_EQ(C.Items(K.Want), Ls[size_t(K.Start)]);
  }
  Log L;
  TLayerCollection C(nullptr);
  TCustomLayer* A = C.Add<TCustomLayer>();
  C.Add<TCustomLayer>();
  L.Hook(C);
  A->SetIndex(0);
  EXPECT_TRUE(L.Items.empty());
  A->BringToFront();
  EXPECT_EQ(A->Index(), 1);
  EXPECT_EQ(L.Items, (std::vector<std::string>{"changing", "change"}));
  A->SendToBack();
  EXPECT_EQ(A->Index(), 0);
  TCustomLayer Loose(nullptr);
  EXPECT_EQ(Loose.Index(), -1);
}

TEST_F(LayersTest, HidingStillReportsTheLayerAndUpdateRectReportsTheArea) {
  Log L;
  TLayerCollection C(nullptr);
  auto* P = C.Add<TPositionedLayer>();
  L.Hook(C);
  P->SetVisible(false);
  EXPECT_EQ(L.Items, (std::vector<std::string>{"changing", "layer", "change"}));
  EXPECT_EQ(P->LayerOptions() & (LOB_VISIBLE | LOB_FORCE_UPDATE), 0u);
  L.Items.clear();
  P->Update();  // hidden: nothing
  EXPECT_TRUE(L.Items.empty());
  P->Update(TRect(1, 2, 3, 4));
  EXPECT_EQ(L.Items, (std::vector<std::string>{"area1,2,3,4r", "change"}));
  L.Items.clear();
  P->SetLayerOptions(P->LayerOptions() | LOB_NO_UPDATE | LOB_VISIBLE);
  L.Items.clear();
  P->SetLocation(TFloatRect{0, 0, 5, 5});
  EXPECT_TRUE(L.Items.empty()) << L.Items.size();  // the no-update bit silences the layer
}

TEST_F(LayersTest, UnpairedEndUpdateAsserts) {
  TLayerCollection C(nullptr);
  C.BeginUpdate();
  C.EndUpdate();
  try {
    C.EndUpdate();
    ADD_FAILURE() << "no exception";
  } catch (EAssertionFailed& E) {
    EXPECT_EQ(E.Message(), String(u"Unpaired EndUpdate"));
  }
  EXPECT_EQ(C.UpdateCount(), 0);
}

TEST_F(LayersTest, ViewportMapping) {
  TLayerCollection C(nullptr);
  TFloatPoint P{3, 4};
  TFloatPoint Q = C.LocalToViewport(P, true);
  EXPECT_FLOAT_EQ(Q.X, 3);
  EXPECT_FLOAT_EQ(Q.Y, 4);
  C.OnGetViewportScale = [](TObject*, Single& X, Single& Y) { X = 2; Y = 4; };
  C.OnGetViewportShift = [](TObject*, Single& X, Single& Y) { X = 10; Y = -1; };
  Q = C.LocalToViewport(P, true);
  EXPECT_FLOAT_EQ(Q.X, 16);
  EXPECT_FLOAT_EQ(Q.Y, 15);
  Q = C.ViewportToLocal(Q, true);
  EXPECT_FLOAT_EQ(Q.X, 3);
  EXPECT_FLOAT_EQ(Q.Y, 4);
  Q = C.LocalToViewport(P, false);
  EXPECT_FLOAT_EQ(Q.X, 3);
  // A scaled positioned layer is hit in viewport coordinates.
  auto* L = C.Add<TPositionedLayer>();
  L->SetLocation(TFloatRect{0, 0, 5, 5});
  L->SetScaled(true);
  EXPECT_TRUE(L->HitTest(10, -1));
  EXPECT_TRUE(L->HitTest(19, 18));
  EXPECT_FALSE(L->HitTest(20, 5));
  EXPECT_FALSE(L->HitTest(9, 5));
}

struct MouseLog {
  std::vector<std::string> Items;
  void Hook(TCustomLayer* L, const std::string& Name) {
    L->OnMouseDown = [this, Name](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
      Items.push_back(Name + ".down" + std::to_string(Integer(B)) + "@" + std::to_string(X) + "," + std::to_string(Y));
    };
    L->OnMouseMove = [this, Name](TObject*, TShiftState, Integer X, Integer Y) {
      Items.push_back(Name + ".move@" + std::to_string(X) + "," + std::to_string(Y));
    };
    L->OnMouseUp = [this, Name](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
      Items.push_back(Name + ".up" + std::to_string(Integer(B)) + "@" + std::to_string(X) + "," + std::to_string(Y));
    };
  }
};

TEST_F(LayersTest, MouseRoutingTargetsTheListenerOrTheTopmostHit) {
  MouseLog M;
  TLayerCollection C(nullptr);
  auto* Plain = C.Add<TCustomLayer>();  // no mouse events: never hit
  auto* Back = C.Add<TPositionedLayer>();
  Back->SetLocation(TFloatRect{0, 0, 100, 100});
  auto* Front = C.Add<TPositionedLayer>();
  Front->SetLocation(TFloatRect{50, 50, 60, 60});
  M.Hook(Plain, "plain");
  M.Hook(Back, "back");
  M.Hook(Front, "front");

  EXPECT_EQ(C.MouseMove(0, 55, 55), Front);
  EXPECT_EQ(C.MouseMove(0, 5, 5), Back);
  EXPECT_EQ(C.MouseMove(0, 500, 5), nullptr);
  // A press on the front layer captures: moves and the release go to it.
  EXPECT_EQ(C.MouseDown(mbLeft, 0, 55, 55), Front);
  EXPECT_EQ(C.MouseListener(), Front);
  EXPECT_EQ(Front->LayerStates(), TLayerStates(1u << lsMouseLeft));
  EXPECT_EQ(C.MouseMove(0, 5, 5), Front);
  EXPECT_EQ(C.MouseDown(mbRight, 0, 6, 6), Front);
  EXPECT_EQ(C.MouseUp(mbLeft, 0, 7, 7), Front);
  EXPECT_EQ(C.MouseListener(), Front);  // the right button is still held
  EXPECT_EQ(C.MouseUp(mbRight, 0, 8, 8), Front);
  EXPECT_EQ(C.MouseListener(), nullptr);
  EXPECT_EQ(M.Items, (std::vector<std::string>{"front.move@55,55", "back.move@5,5", "front.down0@55,55",
                                               "front.move@5,5", "front.down1@6,6", "front.up0@7,7",
                                               "front.up1@8,8"}));
  // The no-capture bit: the down goes to no layer and nothing listens.
  Front->SetLayerOptions(Front->LayerOptions() | LOB_NO_CAPTURE);
  M.Items.clear();
  EXPECT_EQ(C.MouseDown(mbLeft, 0, 55, 55), Front);
  EXPECT_EQ(C.MouseListener(), nullptr);
  EXPECT_TRUE(M.Items.empty());
  // Turning mouse events off drops the listener and its button states.
  C.MouseDown(mbLeft, 0, 5, 5);
  EXPECT_EQ(C.MouseListener(), Back);
  C.SetMouseEvents(false);
  EXPECT_EQ(C.MouseListener(), nullptr);
  EXPECT_EQ(Back->LayerStates(), 0);
}

TEST_F(LayersTest, HitTestEventAndCursorOfTheListener) {
  TLayerCollection C(nullptr);
  auto* L = C.Add<TPositionedLayer>();
  L->OnHitTest = [](TObject*, Integer X, Integer, bool& Passed) { Passed = Passed && X < 10; };
  EXPECT_TRUE(L->HitTest(5, 5));
  EXPECT_FALSE(L->HitTest(20, 5));
  L->SetCursor(crCross);
  Screen->SetCursor(crDefault);
  C.MouseMove(0, 5, 5);
  EXPECT_EQ(Screen->Cursor(), crCross);
  C.MouseDown(mbLeft, 0, 5, 5);
  L->SetCursor(crHandPoint);  // the listener's cursor shows at once
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  C.MouseUp(mbLeft, 0, 5, 5);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(LayersTest, FreeNotificationsAndDestroyEvent) {
  struct Watcher : TCustomLayer {
    using TCustomLayer::TCustomLayer;
    std::vector<TCustomLayer*> Gone;
    void Notification(TCustomLayer* A) override { Gone.push_back(A); }
  };
  auto* C = new TLayerCollection(nullptr);
  auto* A = C->Add<TPositionedLayer>();
  Watcher W(nullptr);
  A->AddNotification(&W);
  int Destroyed = 0;
  A->OnDestroy = [&](TObject*) { ++Destroyed; };
  C->SetMouseListener(A);
  delete A;
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(W.Gone, std::vector<TCustomLayer*>{A});
  EXPECT_EQ(C->MouseListener(), nullptr);
  EXPECT_EQ(C->Count(), 0);
  C->Add<TCustomLayer>();
  delete C;  // frees its layers
}

TEST_F(LayersTest, AssignCopiesLayersOfTheSameClass) {
  TLayerCollection A(nullptr), B(nullptr);
  A.Add<TCustomLayer>()->SetTag(7);
  auto* P = A.Add<TPositionedLayer>();
  P->SetLocation(TFloatRect{1, 2, 3, 4});
  P->SetScaled(true);
  B.Add<TCustomLayer>();
  B.Add<TCustomLayer>();
  B.Add<TCustomLayer>();
  B.Assign(&A);
  ASSERT_EQ(B.Count(), 2);
  EXPECT_EQ(B.Items(0)->Tag(), 7);
  auto* Q = dynamic_cast<TPositionedLayer*>(B.Items(1));
  ASSERT_NE(Q, nullptr);
  EXPECT_FLOAT_EQ(Q->Location().Right, 3);
  EXPECT_TRUE(Q->Scaled());
}

}  // namespace
