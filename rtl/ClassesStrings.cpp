// TStrings, TStringList and the text encodings.
#include "rtl/Classes.h"
#include "rtl/ScopeGuard.h"

// ---------------------------------------------------------------------------
// Encodings

std::string EncodingPreamble(TEncoding Encoding) {
  switch (Encoding) {
    case TEncoding::UTF8: return std::string("\xEF\xBB\xBF", 3);
    case TEncoding::Unicode: return std::string("\xFF\xFE", 2);
    case TEncoding::BigEndianUnicode: return std::string("\xFE\xFF", 2);
    default: return std::string();
  }
}

std::string EncodingGetBytes(TEncoding Encoding, const String& S) {
  switch (Encoding) {
    case TEncoding::UTF8: return UTF8Encode(S);
    case TEncoding::Unicode:
    case TEncoding::BigEndianUnicode: {
      std::string r(S.size() * 2, '\0');
      const bool be = Encoding == TEncoding::BigEndianUnicode;
      for (size_t i = 0; i < S.size(); ++i) {
        r[2 * i + (be ? 1 : 0)] = static_cast<char>(S[i] & 0xFF);
        r[2 * i + (be ? 0 : 1)] = static_cast<char>(S[i] >> 8);
      }
      return r;
    }
    default: return StringToAnsiBytes(S);
  }
}

String EncodingGetString(TEncoding Encoding, const void* Bytes, size_t Count) {
  const unsigned char* p = static_cast<const unsigned char*>(Bytes);
  switch (Encoding) {
    case TEncoding::UTF8: return UTF8Decode(std::string_view(reinterpret_cast<const char*>(p), Count));
    case TEncoding::Unicode:
    case TEncoding::BigEndianUnicode: {
      const bool be = Encoding == TEncoding::BigEndianUnicode;
      String r(Count / 2, u'\0');
      for (size_t i = 0; i < r.size(); ++i)
        r[i] = be ? static_cast<Char>(p[2 * i] << 8 | p[2 * i + 1]) : static_cast<Char>(p[2 * i + 1] << 8 | p[2 * i]);
      return r;
    }
    default: return AnsiBytesToString(reinterpret_cast<const char*>(p), Count);
  }
}

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const char16_t* Msg, NativeInt Data) {
  throw EStringListError(Msg, {static_cast<Int64>(Data)});
}

void TStrings::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
}

void TStrings::SetStrings(Integer Index, const String& S) {
  TObject* Obj = Objects(Index);
  TUpdateLock Updating(*this);
  Delete(Index);
  InsertObject(Index, S, Obj);
}

TObject* TStrings::Objects(Integer) const { return nullptr; }

void TStrings::SetObjects(Integer, TObject*) {}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  SetObjects(Index, AObject);
}

Integer TStrings::Add(const String& S) {
  Integer Result = Count();
  Insert(Result, S);
  return Result;
}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
  Integer Result = Add(S);
  SetObjects(Result, AObject);
  return Result;
}

void TStrings::AddStrings(TStrings* Strings) {
  if (Strings == nullptr) return;
  TUpdateLock Updating(*this);
  for (Integer i = 0; i < Strings->Count(); ++i) AddObject(Strings->Strings(i), Strings->Objects(i));
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* Src = dynamic_cast<TStrings*>(Source)) {
    if (Src == this) return;
    {
      TUpdateLock Updating(*this);
      Clear();
      FDelimiter = Src->FDelimiter;
      FQuoteChar = Src->FQuoteChar;
      FNameValueSeparator = Src->FNameValueSeparator;
      FStrictDelimiter = Src->FStrictDelimiter;
      FWriteBOM = Src->FWriteBOM;
      FEncoding = Src->FEncoding;
      FDefaultEncoding = Src->FDefaultEncoding;
      AddStrings(Src);
    }
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  TUpdateLock Updating(*this);
  String Temp = Strings(Index1);
  TObject* TempObject = Objects(Index1);
  SetStrings(Index1, Strings(Index2));
  SetObjects(Index1, Objects(Index2));
  SetStrings(Index2, Temp);
  SetObjects(Index2, TempObject);
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  TUpdateLock Updating(*this);
  String S = Strings(CurIndex);
  TObject* Obj = Objects(CurIndex);
  // Keep an owned object alive across the move.
  SetObjects(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, S, Obj);
}

Integer TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

Integer TStrings::IndexOf(const String& S) const {
  for (Integer i = 0; i < Count(); ++i)
    if (CompareStrings(Strings(i), S) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const String& Name) const {
  for (Integer i = 0; i < Count(); ++i) {
    String S = Strings(i);
    size_t P = S.find(FNameValueSeparator);
    if (P != String::npos && CompareStrings(S.substr(0, P), Name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Objects(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(TStrings* Other) const {
  if (Other == nullptr || Other->Count() != Count()) return false;
  for (Integer i = 0; i < Count(); ++i)
    if (Strings(i) != Other->Strings(i)) return false;
  return true;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

String TStrings::Names(Integer Index) const {
  String S = Strings(Index);
  size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::Values(const String& Name) const {
  Integer I = IndexOfName(Name);
  if (I < 0) return String();
  String S = Strings(I);
  size_t P = S.find(FNameValueSeparator);
  return S.substr(P + 1);
}

void TStrings::SetValue(const String& Name, const String& Value) {
  Integer I = IndexOfName(Name);
  if (!Value.empty()) {
    String Line = Name + FNameValueSeparator + Value;
    if (I < 0) Add(Line);
    else SetStrings(I, Line);
  } else if (I >= 0) {
    Delete(I);
  }
}

String TStrings::ValueFromIndex(Integer Index) const {
  if (Index < 0) return String();
  String S = Strings(Index);
  size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const String& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(String());
    SetStrings(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

String TStrings::Text() const {
  String R;
  for (Integer i = 0; i < Count(); ++i) {
    R += Strings(i);
    R += u"\r\n";
  }
  return R;
}

void TStrings::SetText(const String& Value) {
  TUpdateLock Updating(*this);
  Clear();
  size_t P = 0, N = Value.size();
  while (P < N) {
    size_t Start = P;
    while (P < N && Value[P] != u'\n' && Value[P] != u'\r') ++P;
    Add(Value.substr(Start, P - Start));
    if (P < N && Value[P] == u'\r') ++P;
    if (P < N && Value[P] == u'\n') ++P;
  }
}

String TStrings::DelimitedText() const {
  const Integer N = Count();
  if (N == 1 && Strings(0).empty()) return String(2, FQuoteChar);
  String R;
  for (Integer i = 0; i < N; ++i) {
    String S = Strings(i);
    // Quote when a blank or control character (unless strict), the quote or
    // the delimiter occurs before the end (or an embedded #0).
    bool quote = false;
    for (Char c : S) {
      if (c == 0) break;
      if (c == FQuoteChar || c == FDelimiter || (!FStrictDelimiter && c <= u' ')) {
        quote = true;
        break;
      }
    }
    if (quote) S = AnsiQuotedStr(S, FQuoteChar);
    R += S;
    if (i + 1 < N) R += FDelimiter;
  }
  return R;
}

void TStrings::SetDelimitedText(const String& Value) {
  TUpdateLock Updating(*this);
  Clear();
  // Walk as over a zero-terminated text: an embedded #0 ends it.
  const String V = Value.substr(0, Value.find(u'\0'));
  const size_t N = V.size();
  auto at = [&](size_t i) -> Char { return i < N ? V[i] : u'\0'; };
  auto blank = [&](size_t i) { Char c = at(i); return c >= 1 && c <= u' '; };
  size_t P = 0;
  if (!FStrictDelimiter)
    while (blank(P)) ++P;
  while (at(P) != 0) {
    String S;
    if (at(P) == FQuoteChar) {
      S = AnsiExtractQuotedStr(V, P, FQuoteChar);
    } else {
      size_t P1 = P;
      while (at(P) != 0 && (FStrictDelimiter || at(P) > u' ') && at(P) != FDelimiter) ++P;
      S = V.substr(P1, P - P1);
    }
    Add(S);
    if (!FStrictDelimiter)
      while (blank(P)) ++P;
    if (at(P) == FDelimiter) {
      if (at(P + 1) == 0) Add(String());
      do ++P;
      while (!FStrictDelimiter && blank(P));
    }
  }
}

String TStrings::CommaText() const {
  // Always ',' and '"' and never strict: a const copy of the settings.
  auto* self = const_cast<TStrings*>(this);
  Char d = FDelimiter, q = FQuoteChar;
  bool s = FStrictDelimiter;
  self->FDelimiter = u',';
  self->FQuoteChar = u'"';
  self->FStrictDelimiter = false;
  String R;
  {
    TFinally Done([&] { self->FDelimiter = d, self->FQuoteChar = q, self->FStrictDelimiter = s; });
    R = DelimitedText();
  }
  return R;
}

void TStrings::SetCommaText(const String& Value) {
  Char d = FDelimiter, q = FQuoteChar;
  bool s = FStrictDelimiter;
  FDelimiter = u',';
  FQuoteChar = u'"';
  FStrictDelimiter = false;
  TFinally Done([&] { FDelimiter = d, FQuoteChar = q, FStrictDelimiter = s; });
  SetDelimitedText(Value);
}

std::vector<String> TStrings::ToStringArray() const {
  std::vector<String> r;
  r.reserve(static_cast<size_t>(Count()));
  for (Integer i = 0; i < Count(); ++i) r.push_back(Strings(i));
  return r;
}

void TStrings::LoadFromBytes(const std::string& Bytes, TEncoding Encoding, bool Detect) {
  size_t skip = 0;
  auto starts = [&](TEncoding e) {
    std::string pre = EncodingPreamble(e);
    return !pre.empty() && Bytes.compare(0, pre.size(), pre) == 0;
  };
  if (Detect) {
    Encoding = FDefaultEncoding;
    for (TEncoding e : {TEncoding::UTF8, TEncoding::Unicode, TEncoding::BigEndianUnicode})
      if (starts(e)) {
        Encoding = e;
        break;
      }
  }
  if (starts(Encoding)) skip = EncodingPreamble(Encoding).size();
  String Text = EncodingGetString(Encoding, Bytes.data() + skip, Bytes.size() - skip);
  FEncoding = Encoding;
  SetText(Text);
}

void TStrings::LoadFromStream(TStream* Stream) {
  TUpdateLock Updating(*this);
  Int64 Size = Stream->Size() - Stream->Position();
  if (Size < 0) Size = 0;
  std::string Bytes(static_cast<size_t>(Size), '\0');
  if (Size > 0) Stream->ReadBuffer(Bytes.data(), static_cast<Integer>(Size));
  LoadFromBytes(Bytes, TEncoding::Default, true);
}

void TStrings::LoadFromStream(TStream* Stream, TEncoding Encoding) {
  TUpdateLock Updating(*this);
  Int64 Size = Stream->Size() - Stream->Position();
  if (Size < 0) Size = 0;
  std::string Bytes(static_cast<size_t>(Size), '\0');
  if (Size > 0) Stream->ReadBuffer(Bytes.data(), static_cast<Integer>(Size));
  LoadFromBytes(Bytes, Encoding, false);
}

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TStrings::LoadFromFile(const String& FileName, TEncoding Encoding) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream, Encoding);
}

void TStrings::SaveToStream(TStream* Stream) { SaveToStream(Stream, FEncoding); }

void TStrings::SaveToStream(TStream* Stream, TEncoding Encoding) {
  std::string Bytes;
  if (FWriteBOM) Bytes = EncodingPreamble(Encoding);
  Bytes += EncodingGetBytes(Encoding, Text());
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

void TStrings::SaveToFile(const String& FileName) { SaveToFile(FileName, FEncoding); }

void TStrings::SaveToFile(const String& FileName, TEncoding Encoding) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream, Encoding);
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& item : FList) {
      TObject* obj = item.FObject;
      item.FObject = nullptr;
      delete obj;
    }
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

Integer TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

String TStringList::Strings(Integer Index) const {
  CheckIndex(Index);
  return FList[Index].FString;
}

void TStringList::SetStrings(Integer Index, const String& S) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[Index].FString = S;
  Changed();
}

TObject* TStringList::Objects(Integer Index) const {
  CheckIndex(Index);
  return FList[Index].FObject;
}

void TStringList::SetObjects(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  // The old object is not freed, even when the list owns its objects: Move
  // and the callers that swap objects rely on that.
  Changing();
  FList[Index].FObject = AObject;
  Changed();
}

void TStringList::Insert(Integer Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const String& S, TObject* AObject) {
  if (FSorted) Error(SSortedListError, 0);
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index);
  Changing();
  TObject* Obj = FList[Index].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete Obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (auto& item : old) delete item.FObject;
  Changed();
}

Integer TStringList::Add(const String& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const String& S, TObject* AObject) {
  Integer Result;
  if (!FSorted) Result = Count();
  else if (Find(S, Result)) {
    switch (FDuplicates) {
      case dupIgnore: return Result;
      case dupError: Error(SDuplicateString, 0);
      case dupAccept: break;
    }
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStringList*>(Source);
  if (Src != nullptr && Src != this) {
    // Copy the strings in order first, then take over the sort settings:
    // the source's order already satisfies them.
    bool s = FSorted;
    FSorted = false;
    {
      TFinally Undo([&] { FSorted = s; });
      TStrings::Assign(Source);
      Undo.Dismiss();
    }
    FCaseSensitive = Src->FCaseSensitive;
    FDuplicates = Src->FDuplicates;
    FSorted = Src->FSorted;
    return;
  }
  TStrings::Assign(Source);
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  TStringItem Item = std::move(FList[CurIndex]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(Item));
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

Integer TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  Integer Result;
  return Find(S, Result) ? Result : -1;
}

bool TStringList::Find(const String& S, Integer& Index) const {
  bool Result = false;
  Integer L = 0, H = Count() - 1;
  while (L <= H) {
    Integer I = L + (H - L) / 2;
    Integer C = CompareStrings(FList[I].FString, S);
    if (C < 0) L = I + 1;
    else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

void TStringList::Sort() {
  CustomSort([](TStringList* List, Integer I1, Integer I2) {
    return List->CompareStrings(List->FList[I1].FString, List->FList[I2].FString);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FSorted || Count() <= 1 || !Compare) return;
  Changing();
  std::vector<Integer> idx(FList.size());
  for (size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<Integer>(i);
  SortPermutation(idx, [&](Integer a, Integer b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (Integer i : idx) sorted.push_back(std::move(FList[i]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    // Re-sort under the new comparison.
    FSorted = false;
    Sort();
    FSorted = true;
  }
}
