// The value syntax of skin ini texts: readers and writers of points, rects,
// Booleans, font styles, the enumeration words and string lists over any ini
// object, and the test for the sections a skin text must hold.
//
// A missing key gives the reader's default; integers, Booleans and words never
// fail (bad text gives the default or the word table's last value); a point or
// rect field without a digit, or beyond a 32-bit integer, raises EConvertError.
// Portable header: no Windows header.
#pragma once

#include "rtl/IniFiles.h"
#include "skin/data/SkinTypes.h"

// Only the digits of each comma-separated field are kept ("-2,5" is (2, 5),
// "1.5,2" is (15, 2)); fields past the second / fourth are ignored.
TPoint TextToPoint(const String& Text);
TRect TextToRect(const String& Text);
String RectToText(const TRect& Rect);
String PointToText(const TPoint& Point);

TPoint ReadPointKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TRect ReadRectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// True only for the integer 1 ("1", "01", "$1"); missing is false.
bool ReadBoolKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// Each style whose word occurs anywhere in the text.
TFontStyles ReadFontStyleKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TAlignment ReadAlignmentKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TspStretchType ReadStretchTypeKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TMorphKind ReadMorphKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TspInActiveEffect ReadInActiveEffectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TStdCommand ReadStdCommandKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TGaugeKind ReadGaugeKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TRegulatorKind ReadRegulatorKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TFramesPlacement ReadFramesPlacementKey(TCustomIniFile* IniFile, const String& Section, const String& Ident);

// The integer Ident + "count", then the keys "0".."n-1" appended to List.
// A count above the number of keys the section holds reads only that many
// entries; a negative count reads none.
void ReadCountedStringsKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List);
// The integer Ident + "linecount", then Ident + "line" + i, appended (counts
// limited as above).
void ReadLinesKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List);
// The number of entries a list of Count entries may read from Section: at
// most as many as the section holds keys, none for a negative Count.
Integer SkinListEntryCount(TCustomIniFile* IniFile, const String& Section, Integer Count);

void WritePointKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value);
void WriteRectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value);
void WriteBoolKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value);
void WriteFontStyleKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value);
void WriteAlignmentKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value);
void WriteStretchTypeKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TspStretchType Value);
void WriteMorphKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TMorphKind Value);
void WriteInActiveEffectKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TspInActiveEffect Value);
void WriteStdCommandKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStdCommand Value);
void WriteGaugeKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TGaugeKind Value);
void WriteRegulatorKindKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TRegulatorKind Value);
void WriteFramesPlacementKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFramesPlacement Value);
void WriteCountedStringsKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List);
void WriteLinesKey(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* List);

// The fixed sections of a skin text.
inline constexpr const Char* SkinSectionVersion = u"VERSION";
inline constexpr const Char* SkinSectionPictures = u"PICTURES";
inline constexpr const Char* SkinSectionCursors = u"CURSORS";
inline constexpr const Char* SkinSectionFormInfo = u"FORMINFO";
inline constexpr const Char* SkinSectionPopupWindow = u"POPUPWINDOW";
inline constexpr const Char* SkinSectionLayerFrame = u"LAYERFRAME";
inline constexpr const Char* SkinSectionHintWindow = u"HINTWINDOW";
inline constexpr const Char* SkinSectionAreas = u"SKINAREAS";
inline constexpr const Char* SkinSectionColors = u"SKINCOLORS";
inline constexpr const Char* SkinSectionObjects = u"SKINOBJECTS";
inline constexpr const Char* SkinSectionControls = u"SKINCONTROLS";

// True when VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS all
// hold at least one key (tested in this order, stopping at the first missing).
bool HasRequiredSkinSections(TCustomIniFile* IniFile);
