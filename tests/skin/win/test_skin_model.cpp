// The skin model under Wine: the skin messages every form receives and their
// order, the model's state while they arrive, look-ups and properties.
#include "common/gtest.h"

#include <memory>
#include <vector>

#include "skin/data/SkinData.h"
#include "tests/skin/win/SkinFixture.h"

using namespace skintest;

namespace {

struct TLogEntry {
  String Form;
  UINT Msg;
  bool WParamIsModel;
  LPARAM LParam;
  bool Empty;
  bool Changing;
};

// A form that records the skin messages it receives, with the sending
// model's state at that moment.
class TLogForm : public TForm {
 public:
  TLogForm(const String& Tag, std::vector<TLogEntry>* Log, const TspSkinData* const* Model, const String& Class = {})
      : TForm(nullptr), FTag(Tag), FClass(Class), FLog(Log), FModel(Model) {}
  String ClassName() const override { return FClass.empty() ? TForm::ClassName() : FClass; }

 protected:
  void WndProc(TMessage& M) override {
    switch (M.Msg) {
      case FEM_SKIN_BEFORE_CHANGE: case FEM_SKIN_CHANGED: case FEM_SKIN_CHANGED_MDI: case FEM_SKIN_STRINGS_CHANGED:
      case FEM_SKIN_SKINNABLE_CHANGED: case FEM_LAYERED_BORDERS_CHANGED: case FEM_AERO_BLUR_CHANGED: {
        auto* D = reinterpret_cast<const TspSkinData*>(M.WParam);
        const bool Ours = D == *FModel;
        FLog->push_back({FTag, M.Msg, Ours, M.LParam, Ours && D->Empty, Ours && D->ChangeSkinDataProcess});
        break;
      }
      default: break;
    }
    TForm::WndProc(M);
  }

 private:
  String FTag, FClass;
  std::vector<TLogEntry>* FLog;
  const TspSkinData* const* FModel;
};

class SkinModel : public ::testing::Test {
 protected:
  void SetUp() override {
    // Screen order: B (never shown), A (owns the model), L (a layered-border window).
    B = new TLogForm(u"B", &Log, &ModelRef);
    A = new TLogForm(u"A", &Log, &ModelRef);
    L = new TLogForm(u"L", &Log, &ModelRef, u"TspFormLayerWindow");
    Model = new TspSkinData(A);
    ModelRef = Model;
  }
  void TearDown() override {
    delete L;
    delete A;  // frees the model
    delete B;
  }
  // "A1225" per message, in arrival order; checks wParam and lParam of each.
  std::vector<String> Take() {
    std::vector<String> R;
    for (const TLogEntry& E : Log) {
      EXPECT_TRUE(E.WParamIsModel);
      EXPECT_EQ(E.LParam, 1000);
      R.push_back(E.Form + IntToStr(E.Msg));
    }
    Log.clear();
    return R;
  }

  std::vector<TLogEntry> Log;
  TspSkinData* Model = nullptr;
  const TspSkinData* ModelRef = nullptr;
  TLogForm *A = nullptr, *B = nullptr, *L = nullptr;
};

using Msgs = std::vector<String>;

}  // namespace

TEST_F(SkinModel, ConstructionValues) {
  EXPECT_TRUE(Model->Empty);
  EXPECT_FALSE(Model->ChangeSkinDataProcess);
  EXPECT_TRUE(Model->ShowLayeredBorders());
  EXPECT_TRUE(Model->SkinnableForm());
  EXPECT_TRUE(Model->AeroBlurEnabled());
  EXPECT_TRUE(Model->EnableSkinEffects());
  EXPECT_FALSE(Model->AnimationForAllWindows());
  EXPECT_EQ(Model->DlgTreeViewItemSkinDataName(), u"listbox");
  EXPECT_EQ(Model->StartCursorIndex, 1);
  EXPECT_EQ(Model->CursorIndex, -1);
  EXPECT_EQ(Model->BGPictureIndex, -1);
  EXPECT_EQ(Model->SkinColors()->cBtnFace(), 0);
  EXPECT_TRUE(Log.empty());
}

TEST_F(SkinModel, LoadMessagesOrderAndState) {
  Model->SetShowLayeredBorders(false);  // as the program's forms set it
  Take();
  TFixtureSkin S;
  S.Control(u"button", u"button", {u"fontheight=20"});
  bool Fired = false;
  Model->OnLoadData = [&](TObject* Sender) {
    Fired = true;
    EXPECT_EQ(Sender, Model);
    EXPECT_FALSE(Model->Empty);
    EXPECT_EQ(Model->GetControlIndex(u"button"), 0);
    // OnLoadData comes after 1225 and before 1226.
    EXPECT_EQ(Log.size(), 2u);
  };
  S.LoadInto(Model);
  EXPECT_TRUE(Fired);
  ASSERT_EQ(Log.size(), 6u);
  // 1225 while empty and changing, 1226 loaded and still changing, 1227 done.
  EXPECT_TRUE(Log[0].Empty && Log[0].Changing);
  EXPECT_TRUE(!Log[2].Empty && Log[2].Changing);
  EXPECT_TRUE(!Log[4].Empty && !Log[4].Changing);
  EXPECT_EQ(Take(), (Msgs{u"A1225", u"B1225", u"A1226", u"B1226", u"A1227", u"B1227"}));
  EXPECT_FALSE(Model->ChangeSkinDataProcess);

  Model->ClearSkin();
  EXPECT_TRUE(Model->Empty);
  EXPECT_EQ(Model->GetControlIndex(u"button"), -1);
  EXPECT_EQ(Take(), (Msgs{u"A1225", u"B1225", u"A1226", u"B1226", u"A1227", u"B1227"}));
}

TEST_F(SkinModel, LayeredBordersChangeTheOrder) {
  // Shown borders: the owner takes its place in the screen's order.
  TFixtureSkin NoLayer;
  NoLayer.LoadInto(Model);
  EXPECT_EQ(Take(), (Msgs{u"B1225", u"A1225", u"B1226", u"A1226", u"B1227", u"A1227"}));
  // A layer picture reverses the order (the border windows stay left out):
  // 1225 still goes out under the old skin, without one.
  TFixtureSkin Layer;
  Layer.ActivePicture(FlatPicture(4, 4, clRed));
  Layer.Keys(u"LAYERFRAME", {u"pictureindex=0"});
  Layer.LoadInto(Model);
  EXPECT_EQ(Take(), (Msgs{u"B1225", u"A1225", u"A1226", u"B1226", u"A1227", u"B1227"}));
  Model->ClearSkin();  // cleared first: no layer picture any more
  EXPECT_EQ(Take(), (Msgs{u"B1225", u"A1225", u"B1226", u"A1226", u"B1227", u"A1227"}));
  Layer.LoadInto(Model);
  Layer.LoadInto(Model);
  EXPECT_EQ(Take().back(), u"B1227");
  // Turned off: 1427 goes to the owner first.
  Model->SetShowLayeredBorders(false);
  EXPECT_EQ(Take(), (Msgs{u"A1427", u"B1427"}));
}

TEST_F(SkinModel, PropertySetters) {
  Model->SetSkinnableForm(true);  // unchanged: nothing
  Model->SetAeroBlurEnabled(true);
  Model->SetShowLayeredBorders(true);
  EXPECT_TRUE(Take().empty());
  Model->SetSkinnableForm(false);
  Model->SetAeroBlurEnabled(false);
  EXPECT_EQ(Take(), (Msgs{u"B1294", u"A1294", u"B1428", u"A1428"}));
  TspResourceStrData Table(nullptr);
  Model->SetResourceStrData(&Table);
  Model->SetResourceStrData(&Table);  // the same table again
  Model->SetResourceStrData(nullptr);
  EXPECT_EQ(Take(), (Msgs{u"B1274", u"A1274", u"B1274", u"A1274", u"B1274", u"A1274"}));
  // While the model loads from form data the switches send nothing.
  Model->BeginLoading();
  Model->SetSkinnableForm(true);
  Model->EndLoading();
  EXPECT_TRUE(Take().empty());
  EXPECT_TRUE(Model->SkinnableForm());
  // BuildMode silences everything.
  Model->BuildMode = true;
  Model->ClearSkin();
  Model->SetAeroBlurEnabled(true);
  EXPECT_TRUE(Take().empty());
}

TEST_F(SkinModel, TableNotifiesItsRemoval) {
  auto* Table = new TspResourceStrData(nullptr);
  Model->SetResourceStrData(Table);
  delete Table;
  EXPECT_EQ(Model->ResourceStrData(), nullptr);
}

TEST_F(SkinModel, LookUpsAndColours) {
  TFixtureSkin S;
  S.Control(u"button", u"button").Control(u"button", u"panel").Control(u"", u"edit").Control(u"x", u"nosuchword");
  S.Object(u"close", u"stdbutton");
  S.Keys(u"SKINAREAS", {u"count=1", u"0=area:1,2,3,4;1,0,0,1,0"});
  S.LoadInto(Model);
  EXPECT_EQ(Model->CtrlList->Count(), 3);
  EXPECT_EQ(Model->GetControlIndex(u"button"), 0);
  EXPECT_TRUE(Is<TspDataSkinButtonControl>(static_cast<TObject*>(Model->CtrlList->Items(0))));
  EXPECT_EQ(Model->GetControlIndex(u"Button"), -1);
  EXPECT_EQ(Model->GetControlIndex(u""), 2);
  EXPECT_EQ(Model->GetIndex(u"close"), 0);
  EXPECT_EQ(Model->GetAreaIndex(u"area"), 0);
  // No [SKINCOLORS]: ten black colours, not the system ones.
  EXPECT_EQ(Model->SkinColors()->cBtnFace(), 0);
  Model->ClearObjects();
  EXPECT_EQ(Model->SkinColors()->cBtnFace(), TColor(0xFF00000F));
  EXPECT_EQ(Model->CtrlList->Count(), 0);
  S.Keys(u"SKINCOLORS", {u"cbtnface=$00FF00"});
  S.LoadInto(Model);
  EXPECT_EQ(Model->SkinColors()->cBtnFace(), 0x00FF00);
  EXPECT_EQ(Model->SkinColors()->cWindow(), 0);
}

TEST_F(SkinModel, SpecialDescriptionsKeepTheirObjects) {
  TspDataSkinPopupWindow* Popup = Model->PopupWindow;
  TBitmap* Picture = Model->FPicture;
  TFixtureSkin S;
  S.Picture(TFixtureSkin::Main, FlatPicture(20, 10, clBlue));
  S.Keys(u"POPUPWINDOW", {u"itemsrect=1,2,3,4", u"windowpictureindex=0"});
  S.LoadInto(Model);
  EXPECT_EQ(Model->PopupWindow, Popup);
  EXPECT_EQ(Model->FPicture, Picture);
  EXPECT_EQ(Popup->ItemsRect, TRect(1, 2, 3, 4));
  EXPECT_EQ(Picture->Width(), 20);
  Model->ClearAll();
  EXPECT_EQ(Popup->WindowPictureIndex, -1);
  EXPECT_EQ(Popup->ItemsRect, TRect(1, 2, 3, 4));  // kept until the next load
  EXPECT_TRUE(Picture->Empty());
}

TEST_F(SkinModel, SkinListAndIndex) {
  Model->SetSkinIndex(5);  // without a list any index is stored
  EXPECT_EQ(Model->SkinIndex(), 5);
  Model->SetSkinIndex(0);
  TspCompressedSkinList List(nullptr);
  for (const char16_t* Name : {u"One", u"Two", u"Three"}) {
    TFixtureSkin S;
    S.Keys(u"VERSION", {String(u"skinname=") + Name});
    const TBytes B = S.Block();
    List.Add()->Skin()->CompressedStream()->WriteBuffer(B.data(), static_cast<Integer>(B.size()));
  }
  EXPECT_EQ(List.Items(2)->Name, u"spSkin2");
  Model->SetSkinList(&List);
  EXPECT_EQ(Model->SkinName, u"Fixture");  // the first skinname of the section wins
  Take();
  Model->SetSkinIndex(5);
  EXPECT_EQ(Model->SkinIndex(), 0);
  EXPECT_TRUE(Take().empty());
  Model->SetSkinIndex(2);
  EXPECT_EQ(Model->SkinIndex(), 2);
  EXPECT_EQ(Take().size(), 6u);
  Model->SetSkinList(nullptr);
}
