// TIniFile in the native build: every call reads the file afresh through
// TMemIniFile and every change writes it back at once, as the profile
// functions do.
#include "rtl/IniFiles.h"

namespace {

// The profile functions drop one pair of matching quotes around a value.
String StripQuotes(const String& S) {
  if (S.size() >= 2 && (S[0] == u'"' || S[0] == u'\'') && S.back() == S[0]) return S.substr(1, S.size() - 2);
  return S;
}

}  // namespace

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TMemIniFile Ini(FFileName);
  TStringList Keys;
  Ini.ReadSection(Section, &Keys);
  if (Keys.IndexOf(Ident) < 0) return Default;
  return StripQuotes(Ini.ReadString(Section, Ident, Default));
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TMemIniFile Ini(FFileName);
  Ini.WriteString(Section, Ident, Value);
  try {
    Ini.UpdateFile();
  } catch (const EStreamError&) {
    throw EIniFileException(u"Unable to write to %s", {FFileName});
  }
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  TMemIniFile Ini(FFileName);
  TStringList Keys;
  Ini.ReadSection(Section, &Keys);
  Strings->BeginUpdate();
  Strings->Clear();
  // The profile functions list only lines that have a key.
  for (Integer I = 0; I < Keys.Count(); ++I)
    if (!Keys.Strings(I).empty()) Strings->Add(Keys.Strings(I));
  Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) {
  TMemIniFile Ini(FFileName);
  Ini.ReadSections(Strings);
}

void TIniFile::EraseSection(const String& Section) {
  TMemIniFile Ini(FFileName);
  Ini.EraseSection(Section);
  if (!Ini.Modified()) return;
  try {
    Ini.UpdateFile();
  } catch (const EStreamError&) {
    throw EIniFileException(u"Unable to write to %s", {FFileName});
  }
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  TMemIniFile Ini(FFileName);
  Ini.DeleteKey(Section, Ident);
  if (Ini.Modified()) Ini.UpdateFile();
}

void TIniFile::UpdateFile() {
  // Written through already.
}
