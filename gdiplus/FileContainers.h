// File containers, clipboard file lists and small file and folder routines.
//
// The container packs a list of files, each compressed as one zlib stream,
// followed by the enciphered text of its table of contents and a short tail:
//   payloads | table text (L bytes, ANSI) | L (4 bytes, little-endian, signed)
//   | password block ($0A, or the password's first 10 and last 10 characters)
//   | note block ($14, or 8 ANSI characters) | version byte (2, or 1 with a
//   password block of 20 characters).
// Table rows: 0 folder, 1 file name, 2 compressed size, 3 size, 4 "straight
// into the directory" flag (read only), 5 reserved.
//
// Portable header: no Windows header.
#pragma once

#include "foundation/data/HyDataTable.h"
#include "rtl/Classes.h"
#include "rtl/System.h"

// Progress of ExtractFileArchive: the caller's data and the percentage done.
using TArchiveProgressProc = void (*)(void* Data, Int64 Percent);

// Writes the container: every row's file (BaseFolder + cell 0 + cell 1)
// compressed at level 9, then the table enciphered under Password. Fills
// cells 2 and 3 of Table. The file is written under a temporary name in the
// same folder and replaces ContainerFile only when complete: on any failure
// the previous container stays as it was and the exception (the stream
// errors of a file that cannot be opened or created) reaches the caller.
// Note is empty or exactly 8 ANSI characters; Password has fewer than 10
// characters or 10 or more single-byte ANSI characters (EArgumentException
// otherwise, before anything is written).
void WriteFileArchive(const String& ContainerFile, const String& BaseFolder, const String& Password, TDataTable* Table,
                      const String& Note);

// Unpacks the container into Directory (created when missing). The whole
// table is checked before any file is written: a length field out of range,
// a table that does not decipher into rows of at least four cells, sizes
// that are not non-negative integers or that do not add up to the payloads,
// a folder or name that would lead outside Directory: EReadError "Stream
// read error", nothing written. Rows whose folder begins with "$" are
// skipped. A payload that does not inflate to exactly its row's size raises
// the same error (files of earlier rows stay written). Progress, when given,
// is called after each file with done / total x 100 rounded (100 for a total
// of 0).
void ExtractFileArchive(const String& ContainerFile, const String& Directory, const String& Password,
                        TArchiveProgressProc Progress, void* ProgressData);

// Puts a list of files on the clipboard as a shell file drop (CF_HDROP) with
// UTF-16 names. List holds the full names, each followed by a #0 character.
void CopyFilesToClipboard(const String& List);

// "C:\a\b.tar.gz" -> "b.tar" and "gz"; a name without extension -> the name
// and "".
void ExtractFileNameNoExt(const String& FileName, String& Name);
void ExtractFileExtNoDot(const String& FileName, String& Ext);

// The files of Folder (ending in "\") matching "*." + Ext ("*": every file),
// without hidden and system files and folders, in the platform's order;
// with their folder when WithFolder. Nil on any failure. The caller frees it.
TStringList* ListFilesByExt(const String& Folder, const String& Ext, bool WithFolder);

// The size in bytes; -1 when the file does not exist or cannot be opened.
Int64 GetFileSize64(const String& FileName);

// Kind 0 creation, 1 last access, 2 last write time of the file as a local
// file time (100-nanosecond intervals since 1601-01-01); False and 0 when
// the file cannot be opened or for another kind.
bool GetFileTimeLocal(const String& FileName, Integer Kind, Int64& LocalFileTime);
// The same as a date-time; 2001-01-01 when the time cannot be converted.
TDateTime GetFileDateTime(const String& FileName, Integer Kind);

// The shell's folder picker rooted at the drives folder; the chosen folder,
// or "" when cancelled or the choice has no file-system path. Owner is a
// window handle (HWND) or 0.
void BrowseForFolder(NativeUInt Owner, const String& Title, String& Path);

// Starts Program with Params through the shell; the process handle (the
// caller closes it) or 0.
NativeUInt LaunchProgram(const String& Program, const String& Params);

// Copies the files and folders of Source whose attributes intersect
// AttrMask into Target (created when missing), recursively. True when the
// walk ends, False when a failure stopped it.
bool CopyDirectory(const String& Source, const String& Target, Integer AttrMask, bool FailIfExists);
