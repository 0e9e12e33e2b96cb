// The skin schemes and the start-up check of the chosen one.
#include "foundation/app/HySkinSchemes.h"

#include "foundation/app/HyAppUtils.h"
#include "rtl/FileUtils.h"

TDataTable* SkinSchemeDT = nullptr;
Integer SkinIndex = -1;
TRow* SkinSchemeRow = nullptr;

const TColor SkinHeaderColors[SkinSchemeCount] = {0xE9D6C9, 0xC0C0C0, 0xD6CFC9, 0xD3CBC5};
const TColor SkinPanelColors[SkinSchemeCount] = {0xEEE7E1, 0xE6E6E6, 0xE8E6E3, 0xEAE7E3};

void BuildSkinSchemeTable() {
  static const Char* const Rows[SkinSchemeCount][2] = {
      {u"Charm", u"魅力淡蓝"}, {u"Laconic", u"简明银灰"}, {u"Dawn", u"曙光银白"}, {u"Cool", u"凉爽浅青"}};
  SkinSchemeRow = nullptr;
  SkinIndex = -1;
  delete SkinSchemeDT;
  SkinSchemeDT = new TDataTable();
  for (const auto& R : Rows) {
    SkinSchemeDT->AddEmptyItem(1);
    TRow* Row = SkinSchemeDT->Items(SkinSchemeDT->ItemCount() - 1);
    Row->AddItem(String(R[0]));
    Row->AddItem(String(R[1]));
  }
  if (ConfigDT && ConfigDT->PropCount() > ConfigPropSkinScheme &&
      ConfigDT->Props(ConfigPropSkinScheme)->Text().empty())
    ConfigDT->Props(ConfigPropSkinScheme)->SetText(StoredSkinScheme);
}

String SkinSchemeFileName(const String& Scheme) { return ExePath + u"Skin\\" + Scheme + u".skn"; }

void CheckSkinName() {
  if (!ConfigDT || ConfigDT->PropCount() <= ConfigPropSkinScheme) return;
  TCell* Prop = ConfigDT->Props(ConfigPropSkinScheme);
  const String Name = Prop->Text();
  if (Name != StoredSkinScheme && !FileExists(SkinSchemeFileName(Name))) Prop->SetText(StoredSkinScheme);
}
