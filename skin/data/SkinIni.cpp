// Value readers and writers of skin ini texts.
#include "skin/data/SkinIni.h"

#include <algorithm>

namespace {

// Splits Text at "," keeping only the digits of each field, converts the
// first Count fields (a missing one is empty and raises like a field without
// digits) and ignores the rest.
void ParseDigitFields(const String& Text, Integer* Out, int Count) {
  String Fields[4];
  int K = 0;
  for (Char C : Text) {
    if (C == u',') {
      ++K;
      if (K >= Count) break;
    } else if (C >= u'0' && C <= u'9') {
      Fields[K] += C;
    }
  }
  for (int I = 0; I < Count; ++I) Out[I] = StrToInt(Fields[I]);
}

// The word read with DefaultText, found among Words; Fallback when none matches.
template <class T>
T ReadWord(TCustomIniFile* IniFile, const String& Section, const String& Ident, const Char* DefaultText,
           std::initializer_list<std::pair<const Char*, T>> Words, T Fallback) {
  String S = IniFile->ReadString(Section, Ident, DefaultText);
  for (const auto& W : Words)
    if (S == W.first) return W.second;
  return Fallback;
}

// The word of Value; Other when Value is none of Words.
template <class T>
const Char* WordOf(T Value, std::initializer_list<std::pair<const Char*, T>> Words, const Char* Other) {
  for (const auto& W : Words)
    if (Value == W.second) return W.first;
  return Other;
}

const std::initializer_list<std::pair<const Char*, TspStretchType>> StretchWords = {
    {u"stfull", spstFull}, {u"sthorz", spstHorz}, {u"stvert", spstVert}};
const std::initializer_list<std::pair<const Char*, TMorphKind>> MorphWords = {
    {u"mkdefault", mkDefault},       {u"mkgradient", mkGradient},   {u"mkleftgradient", mkLeftGradient},
    {u"mkrightgradient", mkRightGradient}, {u"mkleftslide", mkLeftSlide}, {u"mkrightslide", mkRightSlide},
    {u"mkpush", mkPush}};
const std::initializer_list<std::pair<const Char*, TspInActiveEffect>> InActiveWords = {
    {u"iebrightness", ieBrightness}, {u"iedarkness", ieDarkness},   {u"iegrayscale", ieGrayScale},
    {u"ienoise", ieNoise},           {u"iesplitblur", ieSplitBlur}, {u"ieinvert", ieInvert}};
const std::initializer_list<std::pair<const Char*, TAlignment>> AlignmentWords = {
    {u"tacenter", taCenter}, {u"taleftjustify", taLeftJustify}};
// The reader tests the first six; every other value is written as the seventh.
const std::initializer_list<std::pair<const Char*, TStdCommand>> CommandWords = {
    {u"cmclose", cmClose},     {u"cmmaximize", cmMaximize}, {u"cmminimize", cmMinimize},
    {u"cmsysmenu", cmSysMenu}, {u"cmdefault", cmDefault},   {u"cmrollup", cmRollUp}};

}  // namespace

// ---------------------------------------------------------------------------
// Points and rects

TPoint TextToPoint(const String& Text) {
  Integer V[2];
  ParseDigitFields(Text, V, 2);
  return TPoint(V[0], V[1]);
}

TRect TextToRect(const String& Text) {
  Integer V[4];
  ParseDigitFields(Text, V, 4);
  return TRect(V[0], V[1], V[2], V[3]);
}

String RectToText(const TRect& Rect) {
  return IntToStr(Rect.Left) + u"," + IntToStr(Rect.Top) + u"," + IntToStr(Rect.Right) + u"," + IntToStr(Rect.Bottom);
}

String PointToText(const TPoint& Point) { return IntToStr(Point.X) + u"," + IntToStr(Point.Y); }

TPoint ReadPointKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return TextToPoint(IniFile->ReadString(Section, Ident, u"0,0"));
}

TRect ReadRectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return TextToRect(IniFile->ReadString(Section, Ident, u"0,0,0,0"));
}

void WritePointKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value) {
  IniFile->WriteString(Section, Ident, PointToText(Value));
}

void WriteRectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value) {
  IniFile->WriteString(Section, Ident, RectToText(Value));
}

// ---------------------------------------------------------------------------
// Booleans and font styles

bool ReadBoolKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return IniFile->ReadInteger(Section, Ident, 0) == 1;
}

void WriteBoolKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value) {
  IniFile->WriteString(Section, Ident, Value ? u"1" : u"0");
}

namespace {
const std::pair<const Char*, TFontStyle> StyleWords[] = {
    {u"fsbold", fsBold}, {u"fsitalic", fsItalic}, {u"fsunderline", fsUnderline}, {u"fsstrikeout", fsStrikeOut}};
}

TFontStyles ReadFontStyleKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  String S = IniFile->ReadString(Section, Ident, String());
  TFontStyles Result = 0;
  for (const auto& W : StyleWords)
    if (S.find(W.first) != String::npos) Result |= W.second;
  return Result;
}

void WriteFontStyleKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value) {
  String S;
  for (const auto& W : StyleWords) {
    if ((Value & W.second) == 0) continue;
    if (!S.empty()) S += u',';
    S += W.first;
  }
  IniFile->WriteString(Section, Ident, S);
}

// ---------------------------------------------------------------------------
// Words

TAlignment ReadAlignmentKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"tacenter", AlignmentWords, taRightJustify);
}

void WriteAlignmentKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value) {
  IniFile->WriteString(Section, Ident, WordOf(Value, AlignmentWords, u"tarightjustify"));
}

TspStretchType ReadStretchTypeKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  // Only the first and the last word are tested; anything else is the second.
  return ReadWord(IniFile, Section, Ident, u"stfull", {{u"stfull", spstFull}, {u"stvert", spstVert}}, spstHorz);
}

void WriteStretchTypeKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TspStretchType Value) {
  IniFile->WriteString(Section, Ident, WordOf(Value, StretchWords, u""));
}

TMorphKind ReadMorphKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"mkdefault", MorphWords, mkDefault);
}

void WriteMorphKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TMorphKind Value) {
  IniFile->WriteString(Section, Ident, WordOf(Value, MorphWords, u""));
}

TspInActiveEffect ReadInActiveEffectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"iebrightness", InActiveWords, ieGrayScale);
}

void WriteInActiveEffectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                            TspInActiveEffect Value) {
  IniFile->WriteString(Section, Ident, WordOf(Value, InActiveWords, u""));
}

TStdCommand ReadStdCommandKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"cmdefault", CommandWords, cmMinimizeToTray);
}

void WriteStdCommandKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStdCommand Value) {
  IniFile->WriteString(Section, Ident, WordOf(Value, CommandWords, u"cmminimizetotray"));
}

TGaugeKind ReadGaugeKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"gkhorizontal", {{u"gkhorizontal", gkHorizontal}}, gkVertical);
}

void WriteGaugeKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TGaugeKind Value) {
  IniFile->WriteString(Section, Ident, Value == gkHorizontal ? u"gkhorizontal" : u"gkvertical");
}

TRegulatorKind ReadRegulatorKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"rkround", {{u"rkround", rkRound}, {u"rkhorizontal", rkHorizontal}},
                  rkVertical);
}

void WriteRegulatorKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TRegulatorKind Value) {
  IniFile->WriteString(Section, Ident,
                       Value == rkRound ? u"rkround" : Value == rkHorizontal ? u"rkhorizontal" : u"rkvertical");
}

TFramesPlacement ReadFramesPlacementKey(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ReadWord(IniFile, Section, Ident, u"fphorizontal", {{u"fphorizontal", fpHorizontal}}, fpVertical);
}

void WriteFramesPlacementKey(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                             TFramesPlacement Value) {
  IniFile->WriteString(Section, Ident, Value == fpHorizontal ? u"fphorizontal" : u"fpvertical");
}

// ---------------------------------------------------------------------------
// Lists

Integer SkinListEntryCount(TCustomIniFile* IniFile, const String& Section, Integer Count) {
  if (Count <= 0) return 0;
  TStringList Keys;
  IniFile->ReadSection(Section, &Keys);
  return std::min(Count, Keys.Count());
}

void ReadCountedStringsKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List) {
  Integer N = SkinListEntryCount(IniFile, Section, IniFile->ReadInteger(Section, Ident + u"count", 0));
  for (Integer I = 0; I < N; ++I) List->Add(IniFile->ReadString(Section, IntToStr(I), String()));
}

void WriteCountedStringsKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List) {
  IniFile->WriteInteger(Section, Ident + u"count", List->Count());
  for (Integer I = 0; I < List->Count(); ++I) IniFile->WriteString(Section, IntToStr(I), List->Strings(I));
}

void ReadLinesKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List) {
  Integer N = SkinListEntryCount(IniFile, Section, IniFile->ReadInteger(Section, Ident + u"linecount", 0));
  for (Integer I = 0; I < N; ++I) List->Add(IniFile->ReadString(Section, Ident + u"line" + IntToStr(I), String()));
}

void WriteLinesKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List) {
  IniFile->WriteInteger(Section, Ident + u"linecount", List->Count());
  for (Integer I = 0; I < List->Count(); ++I)
    IniFile->WriteString(Section, Ident + u"line" + IntToStr(I), List->Strings(I));
}

// ---------------------------------------------------------------------------

bool HasRequiredSkinSections(TCustomIniFile* IniFile) {
  for (const Char* S : {SkinSectionVersion, SkinSectionPictures, SkinSectionFormInfo, SkinSectionObjects,
                        SkinSectionControls})
    if (!IniFile->SectionExists(S)) return false;
  return true;
}
