// Helpers of the skin data tests: ini objects from text, section contents.
#pragma once

#include <memory>
#include <vector>

#include "rtl/IniFiles.h"

namespace skintest {

// An ini in memory holding Text (lines separated by "\n").
inline std::unique_ptr<TMemIniFile> Ini(const String& Text) {
  auto F = std::make_unique<TMemIniFile>();
  TStringList L;
  L.SetText(Text);
  F->SetStrings(&L);
  return F;
}

// The "key=value" lines of Section in file order.
inline std::vector<String> Section(TCustomIniFile* F, const String& Name) {
  TStringList L;
  F->ReadSectionValues(Name, &L);
  return L.ToStringArray();
}

// The whole ini text.
inline String Text(TMemIniFile* F) {
  TStringList L;
  F->GetStrings(&L);
  return L.Text();
}

}  // namespace skintest
