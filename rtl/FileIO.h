// Low-level file handles: the one seam through which the streams, string
// lists and ini files reach the operating system's files.
//
// Under Wine the routines call CreateFileW & co. with the UTF-16 path as
// given (Windows paths). In the native build they call POSIX open/read/write
// with every "\" of the path turned into "/" and the path in UTF-8; there the share modes are kept as far as
// flock(2) allows: fmShareExclusive and fmShareCompat take an exclusive lock,
// fmShareDenyWrite and fmShareDenyRead a shared lock, fmShareDenyNone none.
// So two exclusive opens of one file conflict, and an exclusive open conflicts
// with a deny-write one, but a plain writer is not kept out by a deny-write
// reader as Windows would. Locks are advisory (only our own opens see them).
//
// Portable header: no Windows header.
#pragma once

#include "rtl/System.h"

// A file handle: a Win32 HANDLE under Wine, a file descriptor natively.
using THandle = NativeUInt;
inline constexpr THandle InvalidFileHandle = static_cast<THandle>(-1);

// Open modes, numbered as the class library numbers them. The low two bits
// choose the access, the next four bits the sharing.
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;  // treated as exclusive
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;
// Create (or empty) the file for reading and writing; may be combined with a
// share mode (fmCreate | fmShareDenyWrite). Without one it is exclusive.
inline constexpr Word fmCreate = 0xFF00;

// Origins of FileSeek.
inline constexpr Integer fsFromBeginning = 0;
inline constexpr Integer fsFromCurrent = 1;
inline constexpr Integer fsFromEnd = 2;

// Opens an existing file; InvalidFileHandle on failure (FileLastError tells why).
THandle FileOpen(const String& FileName, Cardinal Mode);
// Creates the file or empties an existing one, opened for reading and writing.
// Mode carries the share mode (0 = exclusive).
THandle FileCreate(const String& FileName, Cardinal Mode = 0);
// Bytes read or written; -1 on failure. Count <= 0 does nothing and returns 0.
Integer FileRead(THandle Handle, void* Buffer, Integer Count);
Integer FileWrite(THandle Handle, const void* Buffer, Integer Count);
// The new position from the file's start; -1 on failure.
Int64 FileSeek(THandle Handle, Int64 Offset, Integer Origin);
void FileClose(THandle Handle);
// Writes the file's buffers through to the disk.
bool FileFlush(THandle Handle);
// Cuts (or extends) the file at the current position.
bool FileTruncate(THandle Handle);

// The last error of the calling thread's file routines: GetLastError under
// Wine, errno natively. SysErrorMessage (rtl/SysUtils.h) gives its text.
Cardinal FileLastError();
// True when Code says the file or its folder does not exist.
bool FileErrorIsNotFound(Cardinal Code);
// The text of FileLastError-style codes, without a trailing period or line break.
String FileErrorMessage(Cardinal Code);

// Replaces TargetName by TempName in one step: the target keeps its old
// content until the new one is complete in place. MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH under Wine, rename(2)
// natively. False on failure (FileLastError tells why); then both files stay
// as they were.
// (Windows headers define a ReplaceFile macro; this declaration is shielded
// from it. Call it from units that do not include <windows.h>.)
#pragma push_macro("ReplaceFile")
#undef ReplaceFile
bool ReplaceFile(const String& TempName, const String& TargetName);
#pragma pop_macro("ReplaceFile")

// Text in the system's ANSI code page: the code page of the process under
// Wine (MultiByteToWideChar with CP_ACP); UTF-8 natively. Invalid bytes never
// fail.
String AnsiBytesToString(const char* Bytes, size_t Count);
std::string StringToAnsiBytes(const String& S);
