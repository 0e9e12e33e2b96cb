// The application's process-wide globals, its settings table "Config.db", the
// table "Share6.db" shared by the maker's programs, and the small shared
// routines of the application unit (row comparisons, colour texts).
// Portable: no Windows header (the window-handle globals and the start-up
// routines that need the system are in foundation/app/win/HyAppWin.h).
#pragma once

#include "foundation/data/HyDataTable.h"
#include "rtl/System.h"

// ---- globals, set once by AppInit (paths end with a backslash) -------------
extern String SharePath;      // %APPDATA%\Corvane\  .
extern String ShareFile;      // SharePath + "Share6.db"
extern String AppId;          // "LumigraBas"
extern String ExePath;        // folder of the program file
extern String ExeVersion;     // "a.b.c.d" of the program file
extern String OSVersionText;  // GetOSVersionText
extern String SysDir;         // Windows system folder
extern String WinDir;         // %WINDIR%
extern String SysTempPath;    // %TEMP%
extern String DataPath;       // the given data folder, else SharePath + AppId + "\"
extern String ConfigFile;     // DataPath + "Config.db"
extern String TempPath;       // DataPath + "Temp\"
extern String AppTitle;       // the application title (set with the captions)
extern TDataTable* ConfigDT;  // Config.db, loaded for the whole run
extern TRow* AppShareRow;     // free-standing copy of this application's Share6.db row
extern Integer LangIndex;     // 0 Chinese, 2 English
extern Integer AppEdition;    // set by the main program block
extern bool IsDevBuild;       // the program file's name contains "ImageEditor.exe"

// ---- Config.db ---------------------------------------------------------------
inline constexpr Integer ConfigRowCount = 10;
inline constexpr Integer ConfigCellCount = 50;
inline constexpr Integer ConfigPropCount = 100;
inline constexpr Integer CodePageChinese = 936;

// Sets up a settings table as Config.db is kept: check bytes, IOMode 2, empty
// key and escape set.
TDataTable* NewConfigTable();
// Loads FileName into DT. When the file gives no rows (missing, empty or
// damaged), a damaged file is kept as FileName + ".damaged", the table is made
// of 10 rows of 50 cells and 100 properties with property 1 = AnsiCodePage and
// property 46 = SystemText, and saved. A table that loads but is shorter than
// that is padded (never truncated). Returns True when the table was created.
bool LoadConfigTable(TDataTable* DT, const String& FileName, Integer AnsiCodePage, const String& SystemText);
// Pads DT to at least Rows rows of Cells cells and Props properties.
void PadTable(TDataTable* DT, Integer Rows, Integer Cells, Integer Props);
// The language column for a settings table: 0 when property 1 is 936, else 2.
Integer LangIndexOf(TDataTable* DT);

// ---- Share6.db -----------------------------------------------------------------
inline constexpr Integer ShareCellCount = 15;
inline constexpr Integer ShareCellHandle = 1;
inline constexpr Integer ShareCellInstallId = 4;
inline constexpr Integer ShareCellGalleryFolder = 14;

// Each accessor opens ShareFile into a temporary table and frees it. The file
// is retried a few times when another program holds it; when it stays busy the
// accessors write nothing and report False (reads give the empty result).
bool WriteShareCells(const String& AAppId, Integer Index1, const String& Text1, Integer Index2,
                     const String& Text2);
bool SaveShareRow(const String& AAppId, TRow* ARow);
String ReadShareCell(const String& AAppId, Integer Index);
// A free-standing copy of the application's row (texts unescaped, padded to
// 15 cells), or nullptr; the caller frees it. Busy is set when the file could
// not be read.
TRow* GetShareRow(const String& AAppId, bool* Busy = nullptr);
// A free-standing row of AAppId and 14 empty cells.
TRow* NewShareRow(const String& AAppId);
// Number of attempts and pause between them for a busy Share6.db.
inline constexpr Integer ShareOpenAttempts = 5;
inline constexpr Cardinal ShareOpenPauseMs = 50;

// ---- row comparisons and colour text --------------------------------------------
enum class TSortDirection : bool { Descending = false, Ascending = true };

// Integer value of cell ColIndex; ties by TieColIndex, always ascending.
// Negative when Row1 goes first.
Integer CompareRowsByValue(TRow* Row1, TRow* Row2, Integer ColIndex, TSortDirection Direction,
                           Integer TieColIndex);
// Cell ColIndex read as a date-time number written with "."; a cell that is
// not a plain finite number compares as 0; ties as CompareRowsByValue on TieColIndex.
Integer CompareRowsByDate(TRow* Row1, TRow* Row2, Integer ColIndex, TSortDirection Direction,
                          Integer TieColIndex);
// "A, R, G, B" in decimal, in "(" ")" when WithParens. Color is $AARRGGBB.
void ColorToARGBStr(Cardinal Color, bool WithParens, String& Text);
