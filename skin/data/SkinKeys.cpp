// Key tables: reading, writing, initialising and copying description fields.
#include "skin/data/SkinKeys.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "skin/data/SkinFormInfo.h"
#include "skin/data/SkinIni.h"

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

[[noreturn]] void BadTable(const Char* Key) {
  // A move that names a key the table lacks is a fault of the table itself.
  std::fprintf(stderr, "skin key table: no key \"%s\"\n", UTF8Encode(Key).c_str());
  std::abort();
}

}  // namespace

template <class R>
TSkinKeyTable<R>::TSkinKeyTable(std::initializer_list<TSkinKey<R>> Keys, std::initializer_list<TSkinKeyMove> Moves)
    : FKeys(Keys) {
  for (Integer I = 0; I < Count(); ++I) FWriteOrder.push_back(I);
  for (const TSkinKeyMove& M : Moves) {
    Integer Key = IndexOf(M.Key), After = IndexOf(M.After);
    if (Key < 0) BadTable(M.Key);
    if (After < 0) BadTable(M.After);
    FWriteOrder.erase(std::find(FWriteOrder.begin(), FWriteOrder.end(), Key));
    FWriteOrder.insert(std::find(FWriteOrder.begin(), FWriteOrder.end(), After) + 1, Key);
  }
}

template <class R>
Integer TSkinKeyTable<R>::IndexOf(const Char* Key) const {
  for (Integer I = 0; I < Count(); ++I)
    if (String(FKeys[static_cast<size_t>(I)].Key) == Key) return I;
  return -1;
}

template <class R>
void TSkinKeyTable<R>::Init(R& Obj) const {
  for (const TSkinKey<R>& K : FKeys) {
    std::visit(Overloaded{
                   [&](Integer R::*M) { Obj.*M = K.Initial; },
                   [&](bool R::*M) { Obj.*M = false; },
                   [&](String R::*M) { Obj.*M = K.InitialText; },
                   [&](TRect R::*M) { Obj.*M = TRect(); },
                   [&](TPoint R::*M) { Obj.*M = TPoint(); },
                   [&](TStrings* R::*) {},  // the constructor makes the list
                   [&](auto M) { Obj.*M = static_cast<std::remove_reference_t<decltype(Obj.*M)>>(K.Initial); },
               },
               K.Field);
  }
}

template <class R>
void TSkinKeyTable<R>::Load(R& Obj, TCustomIniFile* IniFile, const String& Section, Integer First,
                            Integer Last) const {
  for (Integer I = First; I <= Last; ++I) {
    const TSkinKey<R>& K = FKeys[static_cast<size_t>(I)];
    const String Ident = K.ReadKey;
    std::visit(Overloaded{
                   [&](Integer R::*M) { Obj.*M = IniFile->ReadInteger(Section, Ident, K.Missing); },
                   [&](bool R::*M) { Obj.*M = ReadBoolKey(IniFile, Section, Ident); },
                   [&](String R::*M) { Obj.*M = IniFile->ReadString(Section, Ident, K.MissingText); },
                   [&](TRect R::*M) { Obj.*M = ReadRectKey(IniFile, Section, Ident); },
                   [&](TPoint R::*M) { Obj.*M = ReadPointKey(IniFile, Section, Ident); },
                   [&](TFontStyles R::*M) { Obj.*M = ReadFontStyleKey(IniFile, Section, Ident); },
                   [&](TAlignment R::*M) { Obj.*M = ReadAlignmentKey(IniFile, Section, Ident); },
                   [&](TspStretchType R::*M) { Obj.*M = ReadStretchTypeKey(IniFile, Section, Ident); },
                   [&](TMorphKind R::*M) { Obj.*M = ReadMorphKindKey(IniFile, Section, Ident); },
                   [&](TspInActiveEffect R::*M) { Obj.*M = ReadInActiveEffectKey(IniFile, Section, Ident); },
                   [&](TStdCommand R::*M) { Obj.*M = ReadStdCommandKey(IniFile, Section, Ident); },
                   [&](TGaugeKind R::*M) { Obj.*M = ReadGaugeKindKey(IniFile, Section, Ident); },
                   [&](TRegulatorKind R::*M) { Obj.*M = ReadRegulatorKindKey(IniFile, Section, Ident); },
                   [&](TFramesPlacement R::*M) { Obj.*M = ReadFramesPlacementKey(IniFile, Section, Ident); },
                   [&](TStrings* R::*M) { ReadLinesKey(IniFile, Section, Ident, Obj.*M); },
               },
               K.Field);
  }
}

template <class R>
void TSkinKeyTable<R>::Save(const R& Obj, TCustomIniFile* IniFile, const String& Section) const {
  for (Integer I : FWriteOrder) {
    const TSkinKey<R>& K = FKeys[static_cast<size_t>(I)];
    const String Ident = K.Key;
    std::visit(Overloaded{
                   [&](Integer R::*M) { IniFile->WriteInteger(Section, Ident, Obj.*M); },
                   [&](bool R::*M) { WriteBoolKey(IniFile, Section, Ident, Obj.*M); },
                   [&](String R::*M) { IniFile->WriteString(Section, Ident, Obj.*M); },
                   [&](TRect R::*M) { WriteRectKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TPoint R::*M) { WritePointKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TFontStyles R::*M) { WriteFontStyleKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TAlignment R::*M) { WriteAlignmentKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TspStretchType R::*M) { WriteStretchTypeKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TMorphKind R::*M) { WriteMorphKindKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TspInActiveEffect R::*M) { WriteInActiveEffectKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TStdCommand R::*M) { WriteStdCommandKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TGaugeKind R::*M) { WriteGaugeKindKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TRegulatorKind R::*M) { WriteRegulatorKindKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TFramesPlacement R::*M) { WriteFramesPlacementKey(IniFile, Section, Ident, Obj.*M); },
                   [&](TStrings* R::*M) { WriteLinesKey(IniFile, Section, Ident, Obj.*M); },
               },
               K.Field);
  }
}

template <class R>
void TSkinKeyTable<R>::Copy(R& Dest, const R& Source) const {
  for (const TSkinKey<R>& K : FKeys) {
    std::visit(Overloaded{
                   [&](TStrings* R::*M) { (Dest.*M)->Assign(Source.*M); },
                   [&](auto M) { Dest.*M = Source.*M; },
               },
               K.Field);
  }
}

template class TSkinKeyTable<TObject>;
template class TSkinKeyTable<TspSkinFormInfo>;
