// Key tables: how one description reads, writes, initialises and copies its
// fields. A table lists, in reading order, each key as spelled, the member
// that holds it, its kind, the value after construction and the default for
// a missing key; the writing order is the reading order with some keys moved
// right after others. Every description class of the skin has one table of
// its own keys; loading runs the base tables first, then the class's own.
//
// R is the root type the members are reached from: TObject for the
// descriptions, the form-frame fields for [FORMINFO].
// Portable header: no Windows header.
#pragma once

#include <initializer_list>
#include <variant>
#include <vector>

#include "rtl/IniFiles.h"
#include "skin/data/SkinTypes.h"

template <class R>
using TSkinField = std::variant<Integer R::*, bool R::*, String R::*, TRect R::*, TPoint R::*, TFontStyles R::*,
                                TAlignment R::*, TspStretchType R::*, TMorphKind R::*, TspInActiveEffect R::*,
                                TStdCommand R::*, TGaugeKind R::*, TRegulatorKind R::*, TFramesPlacement R::*,
                                TStrings* R::*>;

// One key as a builder function gives it (C: the class that declares the member).
template <class C, class T>
struct TSkinKeySpec {
  const Char* Key;
  T C::*Member;
  Integer Initial = 0;  // integers, colours and words after construction
  Integer Missing = 0;  // integers and colours when the key is missing
  const Char* InitialText = u"";
  const Char* MissingText = u"";
  const Char* ReadKey = nullptr;  // the spelling read, when it differs from the written one

  constexpr TSkinKeySpec ReadAs(const Char* Spelling) const {
    TSkinKeySpec S = *this;
    S.ReadKey = Spelling;
    return S;
  }
};

template <class R>
struct TSkinKey {
  const Char* Key;
  const Char* ReadKey;
  TSkinField<R> Field;
  Integer Initial;
  Integer Missing;
  const Char* InitialText;
  const Char* MissingText;

  template <class C, class T>
  TSkinKey(const TSkinKeySpec<C, T>& S)  // NOLINT: tables are lists of builder results
      : Key(S.Key),
        ReadKey(S.ReadKey ? S.ReadKey : S.Key),
        Field(static_cast<T R::*>(S.Member)),
        Initial(S.Initial),
        Missing(S.Missing),
        InitialText(S.InitialText),
        MissingText(S.MissingText) {}
};

// Builders. Integers and colours: KeyInt; Booleans (missing = false, as the
// Boolean reader gives): KeyBool; strings: KeyStr; words of the enumerations:
// KeyWord (the missing default is the word reader's); lines of a string
// list: KeyLines.
template <class C>
constexpr TSkinKeySpec<C, Integer> KeyInt(const Char* Key, Integer C::*M, Integer Initial, Integer Missing) {
  return {Key, M, Initial, Missing};
}
template <class C>
constexpr TSkinKeySpec<C, bool> KeyBool(const Char* Key, bool C::*M) {
  return {Key, M};
}
template <class C>
constexpr TSkinKeySpec<C, String> KeyStr(const Char* Key, String C::*M, const Char* Initial, const Char* Missing) {
  return {Key, M, 0, 0, Initial, Missing};
}
template <class C>
constexpr TSkinKeySpec<C, TRect> KeyRect(const Char* Key, TRect C::*M) {
  return {Key, M};
}
template <class C>
constexpr TSkinKeySpec<C, TPoint> KeyPoint(const Char* Key, TPoint C::*M) {
  return {Key, M};
}
template <class C>
constexpr TSkinKeySpec<C, TFontStyles> KeyStyle(const Char* Key, TFontStyles C::*M) {
  return {Key, M};
}
template <class C, class E>
constexpr TSkinKeySpec<C, E> KeyWord(const Char* Key, E C::*M, E Initial) {
  return {Key, M, static_cast<Integer>(Initial)};
}
template <class C>
constexpr TSkinKeySpec<C, TStrings*> KeyLines(const Char* Key, TStrings* C::*M) {
  return {Key, M};
}

// A key written right after another one.
struct TSkinKeyMove {
  const Char* Key;
  const Char* After;
};

template <class R>
class TSkinKeyTable {
 public:
  TSkinKeyTable(std::initializer_list<TSkinKey<R>> Keys, std::initializer_list<TSkinKeyMove> Moves = {});

  Integer Count() const { return static_cast<Integer>(FKeys.size()); }
  const TSkinKey<R>& Keys(Integer Index) const { return FKeys[static_cast<size_t>(Index)]; }
  // Position in reading order of Key, -1 when the table lacks it.
  Integer IndexOf(const Char* Key) const;

  // The values after construction.
  void Init(R& Obj) const;
  // Reads the keys First..Last (reading order) of Section.
  void Load(R& Obj, TCustomIniFile* IniFile, const String& Section) const { Load(Obj, IniFile, Section, 0, Count() - 1); }
  void Load(R& Obj, TCustomIniFile* IniFile, const String& Section, Integer First, Integer Last) const;
  // Writes every key in writing order (the caller erases the section first).
  void Save(const R& Obj, TCustomIniFile* IniFile, const String& Section) const;
  // Copies every field (a string list's lines included).
  void Copy(R& Dest, const R& Source) const;

 private:
  std::vector<TSkinKey<R>> FKeys;
  std::vector<Integer> FWriteOrder;
};
