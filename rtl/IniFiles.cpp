// TCustomIniFile and TMemIniFile.
#include "rtl/IniFiles.h"
#include "rtl/ScopeGuard.h"

#include <memory>

// ---------------------------------------------------------------------------
// TCustomIniFile

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  String S = ReadString(Section, Ident, String());
  if (S.size() > 2 && S[0] == u'0' && (S[1] == u'x' || S[1] == u'X')) S = u"$" + S.substr(2);
  return StrToIntDef(S, Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

Double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, Double Default) {
  String S = ReadString(Section, Ident, String());
  Double V;
  if (!S.empty() && TryStrToFloat(S, V)) return V;
  return Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, Double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList S;
  ReadSection(Section, &S);
  return S.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList S;
  ReadSection(Section, &S);
  return S.IndexOf(Ident) > -1;
}

// ---------------------------------------------------------------------------
// TMemIniFile

namespace {

// Printable ASCII but "-" and "'": the locale's case-insensitive comparison
// of such names is plain ASCII case folding (the ini tests pin it).
bool PlainName(const String& S) {
  for (Char C : S)
    if (C < 0x20 || C > 0x7E || C == u'-' || C == u'\'') return false;
  return true;
}

String FoldName(const String& S) {
  String R = S;
  for (Char& C : R)
    if (C >= u'a' && C <= u'z') C = Char(C - (u'a' - u'A'));
  return R;
}

}  // namespace

void TMemIniFile::TNameIndex::Add(const String& Name, Integer Index) {
  if (!Plain) return;
  if (!PlainName(Name)) {
    Plain = false;
    First.clear();
    return;
  }
  First.emplace(FoldName(Name), Index);
}

Integer TMemIniFile::IndexOfSection(const String& Section) const {
  if (!PlainName(Section)) return FSections.IndexOf(Section);
  if (!FSectionIndex.Valid) {
    FSectionIndex = TNameIndex();
    FSectionIndex.Valid = true;
    for (Integer I = 0; I < FSections.Count() && FSectionIndex.Plain; ++I) FSectionIndex.Add(FSections.Strings(I), I);
  }
  if (!FSectionIndex.Plain) return FSections.IndexOf(Section);
  auto It = FSectionIndex.First.find(FoldName(Section));
  return It == FSectionIndex.First.end() ? -1 : It->second;
}

Integer TMemIniFile::IndexOfKey(TStringList* Strings, const String& Ident) const {
  if (!PlainName(Ident)) return Strings->IndexOfName(Ident);
  TNameIndex& X = FKeyIndexes[Strings];
  if (!X.Valid) {
    X.Valid = true;
    for (Integer J = 0; J < Strings->Count() && X.Plain; ++J) {
      const String S = Strings->Strings(J);
      const size_t P = S.find(u'=');
      if (P != String::npos) X.Add(S.substr(0, P), J);
    }
  }
  if (!X.Plain) return Strings->IndexOfName(Ident);
  auto It = X.First.find(FoldName(Ident));
  return It == X.First.end() ? -1 : It->second;
}

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) { LoadValues(); }

TMemIniFile::TMemIniFile(const String& FileName, TEncoding Encoding)
    : TCustomIniFile(FileName), FEncoding(Encoding), FEncodingGiven(true) {
  LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
  Clear();
  if (FFileName.empty()) return;
  THandle h = FileOpen(FFileName, fmOpenRead | fmShareDenyWrite);
  if (h == InvalidFileHandle) {
    Cardinal code = FileLastError();
    // A missing file is an empty ini; one that exists but cannot be read is
    // an error (reading it as empty would lose it at the next UpdateFile).
    if (FileErrorIsNotFound(code)) return;
    throw EFOpenError(SFOpenErrorEx, {FFileName, FileErrorMessage(code)});
  }
  TStringList List;
  {
    TFinally Close([&] { FileClose(h); });
    THandleStream Stream(h);
    if (FEncodingGiven) List.LoadFromStream(&Stream, FEncoding);
    else List.LoadFromStream(&Stream);
  }
  FEncoding = List.Encoding();
  SetStrings(&List);
}

void TMemIniFile::Clear() {
  FSections.Clear();
  FSectionIndex.Valid = false;
  FKeyIndexes.clear();
  FModified = false;
}

TStringList* TMemIniFile::FindSection(const String& Section) const {
  Integer I = IndexOfSection(Section);
  return I >= 0 ? static_cast<TStringList*>(FSections.Objects(I)) : nullptr;
}

TStringList* TMemIniFile::AddSection(const String& Section) {
  auto Strings = std::make_unique<TStringList>();
  TStringList* Result = Strings.get();
  FSections.AddObject(Section, Strings.release());
  if (FSectionIndex.Valid) FSectionIndex.Add(Section, FSections.Count() - 1);
  return Result;
}

void TMemIniFile::SetStrings(TStrings* List) {
  Clear();
  TStringList* Strings = nullptr;
  for (Integer I = 0; I < List->Count(); ++I) {
    String S = Trim(List->Strings(I));
    if (S.empty() || S[0] == u';') continue;
    if (S[0] == u'[' && S.back() == u']' && S.size() >= 2) {
      Strings = AddSection(Trim(S.substr(1, S.size() - 2)));
    } else if (Strings != nullptr) {
      size_t J = S.find(u'=');
      if (J != String::npos) Strings->Add(Trim(S.substr(0, J)) + u"=" + Trim(S.substr(J + 1)));
      else Strings->Add(S);
    }
  }
}

void TMemIniFile::GetStrings(TStrings* List) {
  TUpdateLock Updating(*List);
  for (Integer I = 0; I < FSections.Count(); ++I) {
    List->Add(u"[" + FSections.Strings(I) + u"]");
    auto* Strings = static_cast<TStringList*>(FSections.Objects(I));
    for (Integer J = 0; J < Strings->Count(); ++J) List->Add(Strings->Strings(J));
    List->Add(String());
  }
}

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  if (TStringList* Strings = FindSection(Section)) {
    Integer I = IndexOfKey(Strings, Ident);
    if (I >= 0) return Strings->ValueFromIndex(I);
  }
  return Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TStringList* Strings = FindSection(Section);
  if (Strings == nullptr) Strings = AddSection(Section);
  String S = Ident + u"=" + Value;
  Integer I = IndexOfKey(Strings, Ident);
  if (I >= 0) {
    Strings->SetStrings(I, S);
  } else {
    Strings->Add(S);
    auto It = FKeyIndexes.find(Strings);
    if (It != FKeyIndexes.end() && It->second.Valid) It->second.Add(Ident, Strings->Count() - 1);
  }
  FModified = true;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
  TUpdateLock Updating(*Strings);
  Strings->Clear();
  if (TStringList* S = FindSection(Section))
    for (Integer J = 0; J < S->Count(); ++J) Strings->Add(S->Names(J));
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  TUpdateLock Updating(*Strings);
  Strings->Clear();
  for (Integer I = 0; I < FSections.Count(); ++I) Strings->Add(FSections.Strings(I));
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  TUpdateLock Updating(*Strings);
  Strings->Clear();
  if (TStringList* S = FindSection(Section)) Strings->AddStrings(S);
}

void TMemIniFile::EraseSection(const String& Section) {
  Integer I = IndexOfSection(Section);
  if (I >= 0) {
    DropKeyIndex(static_cast<TStringList*>(FSections.Objects(I)));
    FSections.Delete(I);  // frees the section's list
    FSectionIndex.Valid = false;
    FModified = true;
  }
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (TStringList* S = FindSection(Section)) {
    Integer J = IndexOfKey(S, Ident);
    if (J >= 0) {
      S->Delete(J);
      DropKeyIndex(S);
      FModified = true;
    }
  }
}

void TMemIniFile::UpdateFile() {
  if (FFileName.empty()) return;
  TStringList List;
  GetStrings(&List);
  List.SaveToFile(FFileName, FEncoding);
  FModified = false;
}

// ---------------------------------------------------------------------------
// TIniFile (the file access itself lives in the platform units)

// Built from the key list, so each value is read the way ReadString reads it.
void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  Strings->BeginUpdate();
  Strings->Clear();
  for (Integer I = 0; I < Keys.Count(); ++I)
    Strings->Add(Keys.Strings(I) + u"=" + ReadString(Section, Keys.Strings(I), String()));
  Strings->EndUpdate();
}
