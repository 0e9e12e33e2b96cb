// The project sidecar: the file written beside every saved image (the image
// file's name + ".luda") and the in-memory project stream that lets the
// editor switch between open images. Both keep what an image file cannot:
// the original picture, the working raster, the objects table, the pictures
// of picture objects, the saved selections and the file information.
//
// File layout, front to back (every length a 32-bit little-endian signed
// integer):
//   1 original  the original file's bytes (document property 4 set) or the
//               original raster as a zlib-compressed 32-bit BMP stream;
//               length in property 3
//   2 raster    the working raster, zlib BMP; length in property 2
//   3 pictures  per picture-object row in row order, zlib BMP; length in
//               column 44 of the row
//   4 selections "<Selection>" + saved-selections table text +
//               "</Selection>"; length in property 47
//   5 objects   the objects table text, then its length
//   7 file information, enciphered (an ASCII container), then its length
//   9 magic     999999999 (FF C9 9A 3B)
// Version 18 (written) keeps blocks 4 and 5 in UTF-8; version 17 and older
// kept them in the ANSI code page. The old layout (no magic, the objects
// length last) has no file-information block; up to version 10 it has no
// original block either.
//
// The in-memory stream: original and raster uncompressed, pictures zlib,
// selections, objects text and length, plain file-information text and
// length; all text UTF-8; no magic.
//
// Reading validates every length against the bytes there are before
// anything is loaded, inflates a BMP block to exactly what its header
// announces, and leaves nothing half-read: a damaged stream raises
// ESidecarError with the reason, and the caller's state is untouched.
//
// Portable: no Windows header.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "bitmap/Bmp32.h"
#include "foundation/data/HyDataTable.h"
#include "rtl/Classes.h"
#include "rtl/SysUtils.h"

class ESidecarError : public Exception {
 public:
  using Exception::Exception;
};

namespace SidecarProp {
inline constexpr Integer Version = 0;       // old layout only
inline constexpr Integer RasterLength = 2;
inline constexpr Integer OriginalLength = 3;
inline constexpr Integer OriginalName = 4;
inline constexpr Integer Bpp = 5;           // old layout only
inline constexpr Integer CanvasColor = 10;
inline constexpr Integer Transparent = 14;
inline constexpr Integer Ruler = 17;
inline constexpr Integer HorzGuides = 18;
inline constexpr Integer VertGuides = 19;
inline constexpr Integer JpegLevel = 20;    // old layout only
inline constexpr Integer SameOptions = 21;  // old layout only
inline constexpr Integer BmpBpp = 22;       // old layout only
inline constexpr Integer SelectionsLength = 47;
}  // namespace SidecarProp

// Row 0 of the file-information table (5 rows of 20 cells).
namespace FileInfoCell {
inline constexpr Integer Version = 0;
inline constexpr Integer Month = 2;
inline constexpr Integer Day = 3;
inline constexpr Integer Year = 4;
inline constexpr Integer FirstSaved = 5;
inline constexpr Integer Bpp = 9;
inline constexpr Integer JpegLevel = 10;
inline constexpr Integer SameOptions = 11;
inline constexpr Integer BmpBpp = 12;
// The image file as written with the sidecar: its size and the MD5 of its
// bytes (upper-case hex). A sidecar whose image no longer matches is stale.
inline constexpr Integer ImageSize = 13;
inline constexpr Integer ImageDigest = 14;
}  // namespace FileInfoCell

inline constexpr Integer SidecarVersion = 18;
inline constexpr Integer SidecarMagic = 999999999;
// The column of a picture-object row that holds its block's length.
inline constexpr Integer PictureLengthCol = 44;
inline constexpr Integer PictureRowType = 8;
inline constexpr Integer SelectionRowType = 14;

// The file-information table as a new document has it: 5 rows of 20 empty
// cells.
void InitFileInfo(TDataTable* FileInfo);

// --- writing

struct TSidecarSource {
  TDataTable* Objects = nullptr;     // rows already hold every object's state
  TDataTable* FileInfo = nullptr;
  TDataTable* Selections = nullptr;  // nil: no saved selections
  // The original file's bytes, used when property 4 is set.
  const void* OriginalFile = nullptr;
  size_t OriginalFileSize = 0;
  TCustomBitmap32* OriBmp = nullptr;  // used when property 4 is empty
  TCustomBitmap32* SrcBmp = nullptr;
  // The picture of the picture-object row Index (nil: an empty picture).
  std::function<TCustomBitmap32*(Integer Index)> PictureOfRow;
};

// Writes the sidecar (InMemory false) or the in-memory stream at Stream's
// position. Sets properties 2, 3 and 47 and the column-44 lengths before the
// objects text is written, and file-information cell 0 to the version
// (the sidecar only). Raises the stream's write error, or ESidecarError when
// compression fails.
void WriteSidecar(TStream* Stream, const TSidecarSource& Source, bool InMemory);

// --- reading

struct TSidecarData {
  std::unique_ptr<TDataTable> Objects, FileInfo, Selections;
  // File-information cell 0 as read (before any upgrade).
  Integer Version = 0;
  // Property 4 set: the original file's bytes (to be decoded by the caller).
  RawByteString OriginalFile;
  // Property 4 empty and an original block there: the original raster.
  std::unique_ptr<TCustomBitmap32> OriBmp;
  std::unique_ptr<TCustomBitmap32> SrcBmp;
  // The pictures of picture-object rows, by the row's id (column 0).
  std::vector<std::pair<Integer, std::unique_ptr<TCustomBitmap32>>> Pictures;
  // The file information did not decipher and was made anew.
  bool FileInfoRebuilt = false;
};

// Reads Stream from its start to its end. ESidecarError says why when
// anything does not fit; no allocation exceeds the stream's size or what a
// validated BMP header announces.
void ReadSidecar(TStream* Stream, bool InMemory, TSidecarData& Data);

// After reading: a trailing selection row goes when the data came from a
// file; objects named "Watermark" go; rows of older versions are upgraded.
// Returns the version after the upgrades.
Integer PrepareLoadedRows(TSidecarData& Data, bool FromFile);
// The upgrades of object rows from Version (returns the new version:
// 15 from 1..14, then 16 from below 16).
Integer UpgradeObjectRows(TDataTable* Objects, Integer Version);

// --- the saved selections: cell 0 the name as typed (trimmed), cell 1 the
// region text. The cells are stored escaped, so "," and "|" in a name never
// split the row; old rows without those characters read the same.
TRow* AddSavedSelection(TDataTable* Selections, const String& Name, const String& RegionText);
String SavedSelectionName(TRow* Row);
String SavedSelectionRegion(TRow* Row);

// --- helpers shared with the document

// Property 4's text for a file name and back: "," and "|" escaped as the
// table does, and "#" (which ends a table's property row) as character 28.
String EscapeOriginalName(const String& FileName);
String UnescapeOriginalName(const String& Cell);
// Size and upper-case hex MD5 of bytes (file-information cells 13 and 14).
String ImageDigestText(const void* Data, size_t Size);
// True when every byte sequence is well-formed UTF-8.
bool IsValidUtf8(const char* Bytes, size_t Count);

// --- files written whole or not at all

// Write(TempName) writes FileName + ".tmp", which then replaces FileName.
// When Write raises or the replacement fails, the temporary goes, FileName
// stays as it was, and the error (EFCreateError for a failed replacement)
// reaches the caller.
void WriteFileReplacing(const String& FileName, const std::function<void(const String& TempName)>& Write);
// Moves From to To, replacing an older To. False when it could not.
bool MoveFileAside(const String& From, const String& To);
