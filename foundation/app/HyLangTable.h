// The language table: the texts of the user interface in a Chinese and an
// English column, looked up by (group, index), and the links to the maker's
// web pages in the user's language. Portable: no Windows header (reading the
// table from the program's resources is in foundation/app/win/HyLangRes.h).
#pragma once

#include <functional>

#include "foundation/data/HyDataTable.h"
#include "rtl/Classes.h"
#include "rtl/System.h"

// Layout of the table: property cells 0..7 hold the row counts of groups 0..7;
// each row holds the Chinese text in cell 0 and the English text in cell 2.
inline constexpr Integer LangGroupCount = 8;
inline constexpr Integer LangCellChinese = 0;
inline constexpr Integer LangCellEnglish = 2;
inline constexpr Integer LangCellCount = 3;
// The least number of rows of each group (the indexes the program asks for).
inline constexpr Integer LangGroupMinimum[LangGroupCount] = {198, 401, 93, 29, 29, 44, 100, 68};
// The application title (window captions, tray hint, single-instance test).
inline constexpr Integer LangTitleGroup = 0;
inline constexpr Integer LangTitleIndex = 161;
// Property of ConfigDT holding the enciphered web base address.
inline constexpr Integer ConfigPropWebBase = 49;

// The loaded language table (nullptr until a table is loaded).
extern TDataTable* LangDT;

// A table set up as the language table is kept: empty key, escape set and
// line-break set 0..9, IOMode 2, no check bytes.
TDataTable* NewLangTable();
// Replaces LangDT by the table read from Stream (a data-table stream of the
// layout above). False, with LangDT left empty, when the stream gives no table
// or its row counts do not match its rows.
bool LoadLanguageTableFromStream(TStream* Stream);
// Frees LangDT.
void FreeLanguageTable();

// Row of (Group, Index) in DT: Index plus the row counts of the groups before
// Group. -1 when the group or the index lies outside the table or its group.
Integer LangRowOf(TDataTable* DT, Integer Group, Integer Index);
// Text of (Group, Index) in DT's column Column; False when DT has no such
// pair or cell.
bool FindLangText(TDataTable* DT, Integer Group, Integer Index, Integer Column, String& Text);

// The text of (Group, Index) of LangDT in the column LangIndex, with ":"
// appended when AddColon. A pair the table lacks gives "#Group.Index" (and the
// colon when asked) and is reported to the log handler; it never raises.
void GetLangText(Integer Group, Integer Index, bool AddColon, String& Text);

// Where GetLangText reports missing pairs; by default one line on stderr.
// Returns the previous handler; an empty function restores the default.
using TLangLogHandler = std::function<void(const String& Message)>;
TLangLogHandler SetLangLogHandler(TLangLogHandler Handler);

// The web base address (property 49 of ConfigDT, kept escaped and enciphered
// under the empty password) followed by "/index.php?hl=", LangIndex, "&nm="
// and Key. Without a readable base address the link starts with "/index.php".
String GetWebLink(const String& Key);
// The form in which a web base address is kept in property 49 of ConfigDT.
String WebBaseToProperty(const String& Address);
// The web base address kept in Config.db's property 49 on a first run.
extern const String DefaultWebBase;
