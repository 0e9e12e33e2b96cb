// File names and the file system, with the class library's semantics on
// Windows paths.
//
// Path strings: "\" is the path delimiter (PathDelim) and ":" follows a drive
// letter. "/" is accepted as a delimiter wherever a routine looks for one
// (Windows itself accepts it); routines that add a delimiter add "\".
//
// File-system routines go through a platform seam: the W functions of Win32
// under Wine (rtl/win/FileUtilsWin.cpp); POSIX natively
// (rtl/posix/FileUtilsPosix.cpp), where every "\" of a path becomes "/" and
// the path is passed as UTF-8 (so "C:\x" is a relative name natively; the
// native build is given POSIX folders). Natively a name beginning with "." is
// hidden and a file without write permission is read-only, as Wine shows them.
//
// <windows.h> defines DeleteFile as a macro; this header undefines it, so a
// Winelib unit that needs both includes this header after <windows.h> and
// calls DeleteFileW for the Win32 routine.
//
// Portable header: no Windows header.
#pragma once

#include "rtl/System.h"

#ifdef DeleteFile
#undef DeleteFile
#endif

inline constexpr Char PathDelim = u'\\';
inline constexpr Char DriveDelim = u':';
inline constexpr Char PathSep = u';';

// ---- path strings -----------------------------------------------------------

// True when S[Index] (1-based) is "\" or "/".
bool IsPathDelimiter(const String& S, Integer Index);
// Drive and folder with the trailing delimiter: "C:\a\b.txt" -> "C:\a\".
String ExtractFilePath(const String& FileName);
// Drive and folder without the trailing delimiter, except at a root:
// "C:\a\b.txt" -> "C:\a", "C:\b.txt" -> "C:\".
String ExtractFileDir(const String& FileName);
// The part after the last delimiter or drive colon.
String ExtractFileName(const String& FileName);
// The extension with its dot (".txt"); "" when the name has no dot.
String ExtractFileExt(const String& FileName);
// "C:" of "C:\a", "\\server\share" of a UNC name, else "".
String ExtractFileDrive(const String& FileName);
// Replaces the extension (or appends Extension when there is none).
String ChangeFileExt(const String& FileName, const String& Extension);
// S with one trailing delimiter ("" -> "\").
String IncludeTrailingPathDelimiter(const String& S);
// S without a trailing delimiter ("C:\" -> "C:").
String ExcludeTrailingPathDelimiter(const String& S);
// The full name: relative names are taken from the current folder, "." and
// ".." segments are resolved (never above the root), "/" becomes "\". A
// name "\x" gets the current folder's drive. In the native build a name
// starting with a delimiter is absolute (no drive).
String ExpandFileName(const String& FileName);

// ---- the file system --------------------------------------------------------

// A file (not a folder) of that name exists.
bool FileExists(const String& FileName);
// A folder of that name exists.
bool DirectoryExists(const String& Directory);
// Creates one folder; False when it cannot (also when it exists).
bool CreateDir(const String& Dir);
// Creates the folder and every missing parent. True when the folder exists
// afterwards. An empty name raises EInOutError "Unable to create directory".
bool ForceDirectories(const String& Dir);
// Removes an empty folder.
bool RemoveDir(const String& Dir);
bool DeleteFile(const String& FileName);
#if defined(_WIN32)
// For units that include <windows.h> after this header: its DeleteFile macro
// turns DeleteFile(S) into DeleteFileW(S) (or DeleteFileA(S) without
// UNICODE), which lands here.
inline bool DeleteFileW(const String& FileName) { return ::DeleteFile(FileName); }
inline bool DeleteFileA(const String& FileName) { return ::DeleteFile(FileName); }
#endif
// Renames or moves a file or folder; fails (False) when NewName exists.
bool RenameFile(const String& OldName, const String& NewName);
// Last-write time in local time. The TDateTime form returns -1 when the file
// does not exist.
bool FileAge(const String& FileName, TDateTime& FileDateTime);
TDateTime FileAge(const String& FileName);
// Size in bytes; -1 when the file does not exist.
Int64 FileSize(const String& FileName);

// The current folder, without a trailing delimiter (except at a root).
String GetCurrentDir();
bool SetCurrentDir(const String& Dir);
// The folder for temporary files, with a trailing delimiter (GetTempPathW
// under Wine; $TMPDIR or /tmp natively).
String GetTempDirectory();

// ---- searching a folder -----------------------------------------------------

inline constexpr Integer faReadOnly = 0x00000001;
inline constexpr Integer faHidden = 0x00000002;
inline constexpr Integer faSysFile = 0x00000004;
inline constexpr Integer faVolumeID = 0x00000008;
inline constexpr Integer faDirectory = 0x00000010;
inline constexpr Integer faArchive = 0x00000020;
inline constexpr Integer faNormal = 0x00000080;
inline constexpr Integer faAnyFile = 0x000001FF;

// Not copyable: it owns the platform's search state until FindClose.
struct TSearchRec {
  TSearchRec() = default;
  TSearchRec(const TSearchRec&) = delete;
  TSearchRec& operator=(const TSearchRec&) = delete;

  TDateTime Time = 0;  // last-write time, local (a date-time, not a DOS date)
  Int64 Size = 0;
  Integer Attr = 0;
  String Name;  // without folder
  Integer ExcludeAttr = 0;
  void* FindHandle = nullptr;  // the platform's search state
};

// FindFirst(Path, Attr, F): Path is a folder and a mask with "*" and "?"
// ("C:\x\*.jpg"); matching ignores the case of A to Z. Entries that are
// hidden, system or folders are returned only when Attr asks for that
// attribute; others always ("." and ".." included, as folders). Returns 0
// when an entry was found, else the Windows error code (2 no such file,
// 3 no such folder, 18 no more files). FindClose ends the search (also
// after a failed FindFirst; it may be called twice).
Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F);
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// ---- helpers shared by the platform seams -----------------------------------

// Windows-style mask matching ("*", "?"; "*.*" matches every name), ignoring
// the case of A to Z.
bool MatchesFileMask(const String& Name, const String& Mask);
