// Pictures of skinned forms in their main states for people to review:
// <screens>/skin_form_screens/<look>/<state>.png. The looks are the default
// look and the fixture skin. Each picture comes with a check that the form
// reached the state it shows; saving decides nothing.
#include "tests/skin/form/win/FormTestUtil.h"

#include "common/Screens.h"

using namespace formtest;

namespace {

class FormScreens : public FormTest {
 protected:
  // Shows a form of the look, puts it into a state and saves it.
  void Shot(const char* Look, const char* State, TspSkinData* SD,
            const std::function<void(TForm*, TspFormSkin*)>& Setup) {
    auto* F = new TForm(nullptr);
    F->SetBounds(120, 120, 260, 180);
    F->SetCaption(u"Skinned form");
    auto* FS = new TspFormSkin(F);
    FS->SetBorderIcons(spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize | spbi::biRollUp);
    if (SD) FS->SetSkinData(SD);
    Setup(F, FS);
    F->Show();
    SetForegroundWindow(F->Handle());
    Pump();
    if (std::string(State) == "inactive") {
      auto* Other = new TForm(nullptr);
      Other->SetBounds(700, 500, 100, 80);
      Other->Show();
      Pump();
      EXPECT_FALSE(F->Active());
      lumigra_test::SaveWindowScreen(F->Handle(), State, Look);
      delete Other;
    } else {
      lumigra_test::SaveWindowScreen(F->Handle(), State, Look);
    }
    delete F;
  }
  void AllStates(const char* Look, TspSkinData* SD) {
    Shot(Look, "active", SD, [](TForm*, TspFormSkin*) {});
    Shot(Look, "inactive", SD, [](TForm*, TspFormSkin*) {});
    Shot(Look, "toolwindow", SD, [](TForm* F, TspFormSkin*) { F->SetBorderStyle(bsToolWindow); });
    Shot(Look, "maximised", SD, [](TForm* F, TspFormSkin* FS) {
      F->Show();
      FS->SetWindowState(wsMaximized);
      EXPECT_EQ(FS->WindowState(), wsMaximized);
    });
    Shot(Look, "rolledup", SD, [](TForm* F, TspFormSkin* FS) {
      F->Show();
      FS->SetRollUpState(true);
      EXPECT_TRUE(FS->RollUpState());
    });
    Shot(Look, "clientarea", SD, [](TForm* F, TspFormSkin* FS) {
      F->SetBorderStyle(bsNone);
      FS->SetSupportNCArea(false);
      FS->ApplySkinData();
    });
  }
};

}  // namespace

TEST_F(FormScreens, DefaultLook) { AllStates("default", nullptr); }

TEST_F(FormScreens, FixtureSkin) {
  TTempFolder Dir("formscreens");
  TSkinOptions O;
  O.FormInfo = {u"bgpictureindex=0"};
  O.ActiveSizes = {{16, 16}};
  auto SD = LoadFixtureSkin(Dir, O);
  AllStates("fixture", SD.get());
  EXPECT_TRUE(Errors.empty());
}
