// The skinning of forms: which components of a form get the program's skin
// model, the combo-box and scroll-bar helpers, and fixture forms of every
// skinned control kind in each made scheme (skinned, designed sizes kept, the
// form's size and minimum kept, a scheme change re-skinning an open form).
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <functional>
#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "common/Screens.h"
#include "foundation/app/HySkinSchemes.h"
#include "foundation/skin/win/HySkinForms.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/controls/SkinTabs.h"
#include "skin/controls/win/SkinHorzListBox.h"
#include "skin/form/win/FormSkin.h"

using namespace ctl;

namespace {

std::string Ascii(const String& S) {
  std::string R;
  for (Char C : S) R += char(C);
  return R;
}

String SknPath(const String& Name) {
  String Path = u"Z:";
  for (const char* P = LUMIGRA_SKIN_SKN_DIR; *P; ++P) Path += *P == '/' ? u'\\' : char16_t(Byte(*P));
  return Path + u"\\" + Name + u".skn";
}

// Row of a scheme in the scheme table's order (the colour tables' index).
Integer SchemeRow(const String& Name) {
  static const Char* const Rows[SkinSchemeCount] = {u"Charm", u"Laconic", u"Dawn", u"Cool"};
  for (Integer I = 0; I < SkinSchemeCount; ++I)
    if (Name == Rows[I]) return I;
  return -1;
}

// AppSkinData for the length of a test.
struct TAppSkin {
  explicit TAppSkin(TspSkinData* SD) { AppSkinData = SD; }
  ~TAppSkin() { AppSkinData = nullptr; }
};

// The model a component holds, whatever its class; nullptr for a class
// without one.
TspSkinData* HeldSkin(TComponent* C) {
  if (auto* E = dynamic_cast<TspSkinCustomEdit*>(C)) return E->SkinData();
  if (auto* W = dynamic_cast<TspSkinControl*>(C)) return W->SkinData();
  if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) return G->SkinData();
  if (auto* T = dynamic_cast<TspSkinTabControl*>(C)) return T->SkinData();
  if (auto* P = dynamic_cast<TspSkinPageControl*>(C)) return P->SkinData();
  if (auto* F = dynamic_cast<TspFormSkin*>(C)) return F->SkinData();
  if (auto* M = dynamic_cast<TspSkinPopupMenu*>(C)) return M->SkinData();
  if (auto* B = dynamic_cast<TspSkinBevel*>(C)) return B->SkinData();
  return nullptr;
}

// Whether a control found its description in the skin.
bool IsSkinned(TControl* C) {
  if (auto* E = dynamic_cast<TspSkinCustomEdit*>(C)) return E->Skinned();
  if (auto* W = dynamic_cast<TspSkinControl*>(C)) return W->Skinned();
  if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) return G->Skinned();
  if (auto* T = dynamic_cast<TspSkinTabControl*>(C)) return T->Skinned();
  if (auto* P = dynamic_cast<TspSkinPageControl*>(C)) return P->Skinned();
  return false;
}

class SkinFormsTest : public SkinCtlTest {};

// ---------------------------------------------------------------------------
// The walk

// A form holding an edit on a panel (both owned by the form), a graphic
// control, a page control whose page holds a button owned by another
// component, a popup menu, a form skin, a plain class-library edit and a
// skinned bevel; and a panel on the form owned by someone else.
struct TWalkFixture {
  TWalkFixture() {
    F = new TForm(nullptr);
    F->SetBounds(60, 60, 420, 320);
    Other = new TComponent(nullptr);
    Panel = new TspSkinPanel(F);
    Panel->SetBounds(4, 4, 200, 60);
    Panel->SetParent(F);
    Edit = new TspSkinEdit(F);
    Edit->SetBounds(8, 8, 120, 20);
    Edit->SetParent(Panel);
    Speed = new TspSkinSpeedButton(F);
    Speed->SetBounds(210, 4, 23, 22);
    Speed->SetParent(F);
    Pages = new TspSkinPageControl(F);
    Pages->SetBounds(4, 70, 300, 150);
    Pages->SetParent(F);
    Sheet = new TspSkinTabSheet(F);
    Sheet->SetPageControl(Pages);
    OnPage = new TspSkinButton(Other);
    OnPage->SetBounds(8, 8, 75, 25);
    OnPage->SetParent(Sheet);
    Menu = new TspSkinPopupMenu(F);
    FS = new TspFormSkin(F);
    Plain = new TEdit(F);
    Plain->SetBounds(310, 4, 75, 21);
    Plain->SetParent(F);
    Bevel = new TspSkinBevel(F);
    Bevel->SetBounds(310, 40, 60, 20);
    Bevel->SetParent(F);
    Foreign = new TspSkinPanel(Other);
    Foreign->SetBounds(310, 70, 60, 40);
    Foreign->SetParent(F);
  }
  ~TWalkFixture() {
    delete F;
    delete Other;
  }
  TForm* F;
  TComponent* Other;
  TspSkinPanel* Panel;
  TspSkinEdit* Edit;
  TspSkinSpeedButton* Speed;
  TspSkinPageControl* Pages;
  TspSkinTabSheet* Sheet;
  TspSkinButton* OnPage;
  TspSkinPopupMenu* Menu;
  TspFormSkin* FS;
  TEdit* Plain;
  TspSkinBevel* Bevel;
  TspSkinPanel* Foreign;
};

TEST_F(SkinFormsTest, WalkGivesTheModelToEverySkinnedComponentAndNothingElse) {
  auto SD = MadeScheme(u"Dawn");
  ASSERT_FALSE(SD->Empty);
  TWalkFixture W;
  {
    // Before the main window has set the model nothing changes.
    ASSERT_EQ(AppSkinData, nullptr);
    ApplySkinToForm(W.F);
    for (TComponent* C : std::vector<TComponent*>{W.Panel, W.Edit, W.Speed, W.Pages, W.OnPage, W.Menu, W.FS,
                                                  W.Bevel, W.Foreign})
      EXPECT_EQ(HeldSkin(C), nullptr) << Ascii(C->ClassName());
    EXPECT_FALSE(W.Panel->Skinned());
  }
  TAppSkin App(SD.get());
  ApplySkinToForm(W.F);
  struct TCase {
    const char* What;
    TComponent* C;
    bool Given;
  };
  const TCase Cases[] = {
      {"edit on a panel, owned by the form", W.Edit, true},
      {"panel", W.Panel, true},
      {"graphic control", W.Speed, true},
      {"page control", W.Pages, true},
      {"control on a page, owned elsewhere", W.OnPage, true},
      {"popup menu", W.Menu, true},
      {"form skin", W.FS, true},
      {"bevel (skinned by its form's own code)", W.Bevel, false},
      {"panel on the form, owned elsewhere", W.Foreign, false},
  };
  for (const TCase& K : Cases) EXPECT_EQ(HeldSkin(K.C) == SD.get(), K.Given) << K.What;
  // Each setter re-skins at once.
  EXPECT_TRUE(W.Edit->Skinned());
  EXPECT_TRUE(W.Panel->Skinned());
  EXPECT_TRUE(W.Speed->Skinned());
  EXPECT_TRUE(W.Pages->Skinned());
  EXPECT_TRUE(W.OnPage->Skinned());
  EXPECT_FALSE(W.Foreign->Skinned());
  // The plain edit is still there, untouched.
  EXPECT_EQ(W.Plain->Owner(), W.F);
  EXPECT_EQ(W.Plain->BoundsRect(), TRect(310, 4, 385, 25));
}

TEST_F(SkinFormsTest, ApplySkinToControlLeavesOtherControlsAlone) {
  auto SD = MadeScheme(u"Dawn");
  TAppSkin App(SD.get());
  ApplySkinToControl(nullptr);
  TEdit Plain(nullptr);
  ApplySkinToControl(&Plain);
  TspSkinStdLabel Label(nullptr);
  ApplySkinToControl(&Label);
  EXPECT_EQ(Label.SkinData(), nullptr);
  TspSkinCheckRadioBox Box(nullptr);
  Box.SetBounds(0, 0, 120, 20);
  ApplySkinToControl(&Box);
  EXPECT_EQ(Box.SkinData(), SD.get());
  EXPECT_TRUE(Box.Skinned());
}

// While the model is between two skins (Empty) the walk still hands it over;
// the components keep their default look and nothing fails.
TEST_F(SkinFormsTest, WalkWithAnEmptyModelLeavesTheControlsUnskinned) {
  TspSkinData Blank(nullptr);
  ASSERT_TRUE(Blank.Empty);
  TAppSkin App(&Blank);
  TWalkFixture W;
  ApplySkinToForm(W.F);
  EXPECT_EQ(W.Panel->SkinData(), &Blank);
  EXPECT_EQ(W.Edit->SkinData(), &Blank);
  EXPECT_FALSE(W.Panel->Skinned());
  EXPECT_FALSE(W.Edit->Skinned());
  EXPECT_FALSE(W.Pages->Skinned());
  EXPECT_FALSE(W.OnPage->Skinned());
}

// ---------------------------------------------------------------------------
// The helpers

TEST_F(SkinFormsTest, SelectComboItemMatchesExactly) {
  auto* Combo = new TspSkinComboBox(Host);
  Combo->SetBounds(10, 10, 150, 20);
  Combo->SetParent(Host);
  for (const Char* S : {u"Alpha", u"Beta", u"beta", u"Beta"}) Combo->Items()->Add(S);
  struct TCase {
    const Char* Text;
    Integer Before, After;
  };
  const TCase Cases[] = {
      {u"Beta", -1, 1},   // the first of two equal items
      {u"beta", 0, 2},    // letter case counts
      {u"ALPHA", 1, 1},   // differs only in case: the selection stays
      {u"Gamma", 2, 2},   // no such item
      {u"", 0, 0},        // empty text matches no item
      {u"Alph", -1, -1},  // a prefix is no match
  };
  for (const TCase& K : Cases) {
    Combo->SetItemIndex(K.Before);
    SelectComboItem(Combo, K.Text);
    EXPECT_EQ(Combo->ItemIndex(), K.After) << Ascii(K.Text);
  }
}

TEST_F(SkinFormsTest, ScrollBarByWheelMovesBySmallChange) {
  auto* Bar = new TspSkinScrollBar(Host);
  Bar->SetBounds(10, 10, 150, 19);
  Bar->SetParent(Host);
  Bar->SetRange(0, 100, 50, 0);
  Bar->SetSmallChange(7);
  Integer Changes = 0;
  Bar->OnChange = [&](TObject*) { ++Changes; };
  struct TCase {
    bool Enabled, Down;
    Integer Before, After, ChangeEvents;
  };
  const TCase Cases[] = {
      {true, true, 50, 57, 1},    // forward when Down
      {true, false, 50, 43, 1},   // backward otherwise
      {true, true, 97, 100, 1},   // clamped at the end
      {true, false, 3, 0, 1},     // and at the start
      {true, true, 100, 100, 0},  // no move at the end: no change event
      {false, true, 50, 50, 0},   // a disabled bar stays, the event is still handled
      {false, false, 50, 50, 0},
  };
  for (const TCase& K : Cases) {
    Bar->SetEnabled(true);
    Bar->SetPosition(K.Before);
    Bar->SetEnabled(K.Enabled);
    Changes = 0;
    bool Handled = false;
    ScrollBarByWheel(Bar, K.Down, TPoint(5, 5), Handled);
    EXPECT_TRUE(Handled);
    EXPECT_EQ(Bar->Position(), K.After) << K.Before << (K.Down ? " down" : " up");
    EXPECT_EQ(Changes, K.ChangeEvents) << K.Before << (K.Down ? " down" : " up");
  }
  bool Handled = false;
  ScrollBarByWheel(nullptr, true, TPoint(0, 0), Handled);
  EXPECT_TRUE(Handled);
}

// ---------------------------------------------------------------------------
// Consumer checks: one fixture form per family of skinned controls, each
// control at the size the program's forms lay it out with.

struct TPlaced {
  TControl* C;
  const char* Name;
};

// A form with its skin engine; Build places the family's controls.
class TFamilyForm {
 public:
  TFamilyForm(const char* Family, const std::function<void(TForm*, std::vector<TPlaced>&)>& Build)
      : FFamily(Family) {
    F = new TForm(nullptr);
    F->SetBounds(30, 30, 480, 360);
    F->Constraints()->SetMinWidth(300);
    F->Constraints()->SetMinHeight(200);
    FS = new TspFormSkin(F);
    Menu = new TspSkinPopupMenu(F);
    Build(F, Placed);
    for (const TPlaced& P : Placed) Designed.push_back(P.C->BoundsRect());
    F->Show();
    Pump();
  }
  ~TFamilyForm() { delete F; }

  // Applies the scheme and checks every control and the form.
  void Check(const String& Scheme, TspSkinData* SD) {
    SCOPED_TRACE(FFamily + " in " + Ascii(Scheme));
    TAppSkin App(SD);
    ApplySkinToForm(F);
    Pump();
    EXPECT_EQ(FS->SkinData(), SD);
    EXPECT_EQ(Menu->SkinData(), SD);
    for (size_t I = 0; I < Placed.size(); ++I) {
      TControl* C = Placed[I].C;
      EXPECT_TRUE(IsSkinned(C)) << Placed[I].Name;
      EXPECT_EQ(Ascii(RectValue(C->BoundsRect())), Ascii(RectValue(Designed[I]))) << Placed[I].Name;
    }
    EXPECT_EQ(F->Width(), 480);
    EXPECT_EQ(F->Height(), 360);
    EXPECT_EQ(F->Constraints()->MinWidth(), 300);
    EXPECT_EQ(F->Constraints()->MinHeight(), 200);
    // The skin's own minimum never exceeds the form's designed size.
    EXPECT_LE(FS->GetMinWidth(), 480);
    EXPECT_LE(FS->GetMinHeight(), 360);
    lumigra_test::SaveWindowScreen(F->Handle(), FFamily, Ascii(Scheme));
  }

  TForm* F;
  TspFormSkin* FS;
  TspSkinPopupMenu* Menu;
  std::vector<TPlaced> Placed;
  std::vector<TRect> Designed;

 private:
  std::string FFamily;
};

template <class T>
T* Place(TForm* F, TWinControl* Parent, std::vector<TPlaced>& Out, const char* Name, Integer X, Integer Y, Integer W,
         Integer H) {
  auto* C = new T(F);
  C->SetBounds(X, Y, W, H);
  C->SetParent(Parent);
  Out.push_back({C, Name});
  return C;
}

void ButtonsFamily(TForm* F, std::vector<TPlaced>& P) {
  Place<TspSkinButton>(F, F, P, "button", 10, 10, 75, 25)->SetCaption(u"OK");
  auto* Tool = Place<TspSkinSpeedButton>(F, F, P, "speed button", 100, 10, 23, 22);
  (void)Tool;
  Place<TspSkinMenuButton>(F, F, P, "menu button", 140, 10, 90, 25)->SetCaption(u"More");
  Place<TspSkinMenuSpeedButton>(F, F, P, "menu speed button", 240, 10, 40, 22);
  Place<TspSkinPenStyleButton>(F, F, P, "pen style button", 300, 10, 65, 22);
  Place<TspSkinCheckRadioBox>(F, F, P, "check box", 10, 50, 140, 20)->SetCaption(u"Check box");
  auto* Radio = Place<TspSkinCheckRadioBox>(F, F, P, "radio box", 160, 50, 140, 20);
  Radio->SetRadio(true);
  Radio->SetSkinDataName(u"radiobox");
  Radio->SetCaption(u"Radio box");
}

void BarsFamily(TForm* F, std::vector<TPlaced>& P) {
  auto* Panel = Place<TspSkinPanel>(F, F, P, "panel", 10, 10, 200, 80);
  Place<TspSkinButton>(F, Panel, P, "button on the panel", 10, 10, 75, 25)->SetCaption(u"On a panel");
  Place<TspSkinScrollBar>(F, F, P, "horizontal scroll bar", 10, 100, 200, 19);
  auto* V = Place<TspSkinScrollBar>(F, F, P, "vertical scroll bar", 220, 10, 19, 150);
  V->SetKind(sbVertical);
  V->SetSkinDataName(u"vscrollbar");
  V->SetBounds(220, 10, 19, 150);
  Place<TspSkinTrackBar>(F, F, P, "track bar", 10, 130, 150, 20);
  auto* Group = Place<TspSkinPanel>(F, F, P, "group box", 10, 200, 200, 100);
  Group->SetSkinDataName(u"groupbox");
  Group->SetCaption(u"Group");
  Place<TspSkinPaintPanel>(F, F, P, "paint panel", 220, 200, 120, 100);
  Place<TspSkinSlider>(F, F, P, "slider", 10, 160, 150, 30);
  // The splitter aligns itself to its parent's side: a plain host of fixed
  // size keeps its length apart from the form's client area.
  auto* Side = new THost(F);
  Side->SetBounds(250, 10, 60, 150);
  Side->SetParent(F);
  Place<TspSkinSplitterEx>(F, Side, P, "splitter", 0, 0, 5, 150);
  // An up-down has the skin's fixed size: two square buttons as high as the
  // tab row (where the page and tab controls place it).
  Place<TspSkinUpDown>(F, F, P, "up-down", 320, 10, 44, 22);
}

void EditsFamily(TForm* F, std::vector<TPlaced>& P) {
  Place<TspSkinEdit>(F, F, P, "edit", 10, 10, 150, 20);
  Place<TspSkinSpinEdit>(F, F, P, "spin edit", 10, 40, 80, 20);
  Place<TspSkinNumericEdit>(F, F, P, "numeric edit", 10, 70, 80, 20);
  Place<TspSkinTrackEdit>(F, F, P, "track edit", 10, 100, 80, 20);
}

void ListsFamily(TForm* F, std::vector<TPlaced>& P) {
  auto* List = Place<TspSkinListBox>(F, F, P, "list box", 10, 10, 150, 100);
  for (const Char* S : {u"One", u"Two", u"Three"}) List->Items()->Add(S);
  auto* Combo = Place<TspSkinComboBox>(F, F, P, "combo box", 170, 10, 150, 20);
  for (const Char* S : {u"One", u"Two"}) Combo->Items()->Add(S);
  Combo->SetItemIndex(0);
  Place<TspSkinFontComboBox>(F, F, P, "font box", 170, 40, 150, 20);
  Place<TspSkinFontSizeComboBox>(F, F, P, "font size box", 330, 40, 60, 20);
  Place<TspSkinScrollBox>(F, F, P, "scroll box", 10, 120, 150, 100);
  Place<TspSkinHorzListBox>(F, F, P, "horizontal list", 170, 120, 200, 80);
}

void TabsFamily(TForm* F, std::vector<TPlaced>& P) {
  auto* Pages = Place<TspSkinPageControl>(F, F, P, "page control", 10, 10, 260, 160);
  for (const Char* Caption : {u"First", u"Second"}) {
    auto* Sheet = new TspSkinTabSheet(F);
    Sheet->SetPageControl(Pages);
    Sheet->SetCaption(Caption);
  }
  Place<TspSkinCheckRadioBox>(F, Pages->Pages(0), P, "check box on a page", 8, 8, 120, 20)->SetCaption(u"On a page");
  auto* Tabs = Place<TspSkinTabControl>(F, F, P, "tab control", 10, 180, 260, 100);
  Tabs->Tabs()->Add(u"One");
  Tabs->Tabs()->Add(u"Two");
  Tabs->SetTabIndex(0);
}

struct TFamily {
  const char* Name;
  void (*Build)(TForm*, std::vector<TPlaced>&);
};
const TFamily Families[] = {
    {"buttons", ButtonsFamily}, {"bars", BarsFamily}, {"edits", EditsFamily},
    {"lists", ListsFamily},     {"tabs", TabsFamily},
};

TEST_F(SkinFormsTest, EveryFamilyTakesEachSchemeAtItsDesignedSize) {
  std::vector<std::unique_ptr<TspSkinData>> Schemes;
  for (const String& Name : MadeSchemeNames()) {
    Schemes.push_back(MadeScheme(Name));
    ASSERT_FALSE(Schemes.back()->Empty) << Ascii(Name);
  }
  for (const TFamily& Fam : Families) {
    TFamilyForm Form(Fam.Name, Fam.Build);
    for (size_t I = 0; I < Schemes.size(); ++I) Form.Check(MadeSchemeNames()[I], Schemes[I].get());
  }
}

// The main window loads another scheme into the one model: open dialogs
// follow at once (the skin engine walks them), with no call of their own.
// Each control forgets its description while the skin is replaced, so a
// control still skinned afterwards has read the new one.
TEST_F(SkinFormsTest, SchemeChangeReskinsOpenDialogs) {
  auto SD = MadeScheme(u"Dawn");
  ASSERT_FALSE(SD->Empty);
  std::vector<std::unique_ptr<TFamilyForm>> Open;
  for (const TFamily& Fam : Families) Open.push_back(std::make_unique<TFamilyForm>(Fam.Name, Fam.Build));
  TAppSkin App(SD.get());
  for (auto& Form : Open) ApplySkinToForm(Form->F);
  Pump();
  TFamilyForm& Bars = *Open[1];
  auto* Panel = dynamic_cast<TspSkinPanel*>(Bars.Placed[0].C);
  ASSERT_NE(Panel, nullptr);
  const auto Face = [&] {
    auto B = Render(Panel);
    return Px(B.get(), Panel->Width() / 2, Panel->Height() - 6);
  };
  EXPECT_EQ(Face(), SkinPanelColors[SchemeRow(u"Dawn")]);
  for (const Char* Next : {u"Cool", u"Charm", u"Laconic", u"Dawn"}) {
    SCOPED_TRACE(Ascii(Next));
    if (String(Next) == StoredSkinScheme) {
      TspCompressedStoredSkin Stored(nullptr, GetModuleHandleW(nullptr), StoredSkinResName);
      SD->LoadCompressedStoredSkin(&Stored);
    } else {
      SD->LoadFromCompressedFile(SknPath(Next));
    }
    Pump();
    ASSERT_FALSE(SD->Empty);
    EXPECT_EQ(Face(), SkinPanelColors[SchemeRow(Next)]);
    for (auto& Form : Open) {
      for (size_t I = 0; I < Form->Placed.size(); ++I) {
        EXPECT_TRUE(IsSkinned(Form->Placed[I].C)) << Form->Placed[I].Name;
        EXPECT_EQ(Ascii(RectValue(Form->Placed[I].C->BoundsRect())), Ascii(RectValue(Form->Designed[I])))
            << Form->Placed[I].Name;
      }
      EXPECT_EQ(Form->F->Width(), 480);
      EXPECT_EQ(Form->F->Height(), 360);
    }
    lumigra_test::SaveWindowScreen(Bars.F->Handle(), "switched", Ascii(Next));
  }
}

}  // namespace
