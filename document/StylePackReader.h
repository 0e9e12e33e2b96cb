// The style-pack container: a data table whose rows carry pictures, stored
// as the pictures back to back followed by the table text and its length.
// This unit reads the container from bytes in memory: the tail (layout A,
// or layout B with 7 more bytes), the table text, the length cells, the walk
// over the pictures in the order each pack's loader reads them, bounded zlib
// inflation and the size a picture's own header gives. Widening the text and
// decoding the pictures are the platform's (hooks); the file loaders live in
// document/win/StylePacks.h.
//
// A pack is refused as a whole: any fault leaves the caller's table exactly
// as it was and frees what was decoded so far; nothing is thrown.
//
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bitmap/Bmp32.h"
#include "foundation/data/HyDataTable.h"
#include "rtl/System.h"

// Which loader reads a pack: what each row's pictures are and where they go.
enum class TStylePackKind : Integer {
  Effects,       // Effects.dat: FData2 the texture, FData3 the second picture
  Pattern,       // Pattern.dat: FData
  Brush,         // Brush.dat: FData the tip, FData2 the preview
  Shadow,        // Shadow.dat: FData2
  Reflection,    // Reflection.dat: FData2
  FrameStyle,    // frame packs 0 and 1: FData2 the thumbnail, FData3
  FrameNested,   // frame pack 2: FData3 the layer table, FData2 its preview
  FrameImage,    // frame pack 3: FData2 the mask picture
  LayerTable,    // the layer table inside a row of frame pack 2
};

// How a picture blob is stored and decoded.
enum class TPackPicture : Integer {
  ZlibJpeg,        // a deflated JPEG file
  ZlibBmp,         // a deflated BMP file, read by the class library's bitmap
  ZlibBitmapForm,  // a deflated BMP of the bitmap engine's stream (alpha kept)
  PlainPicture,    // a picture file as it is, decoded by GDI+
  ZlibPicture,     // a deflated picture file, decoded by GDI+ (frame pack 3)
};

// Formats a picture header can name.
enum class TPictureFormat : Integer { Unknown, Jpeg, Png, Bmp, Gif };

// The largest picture the program accepts, and the most bytes one inflation
// may give: that picture at 4 bytes a pixel plus a file's headers.
inline constexpr Int64 PackMaxPixels = 30000000;
inline constexpr size_t PackMaxInflated = size_t(PackMaxPixels) * 4 + 65536;
inline constexpr size_t PackTailA = 4;
inline constexpr size_t PackTailB = 11;

// Layout B (the tail of 7 more bytes) for the frame packs.
bool StylePackHasLayoutB(TStylePackKind Kind);

struct TStylePackHooks {
  // The table text (bytes in the system's ANSI code page) as a String.
  std::function<String(const std::string& Ansi)> Widen;
  // A new bitmap of the platform's class holding the decoded picture; it may
  // throw, and returns nullptr when it cannot decode. Bytes are the inflated
  // picture file.
  std::function<TCustomBitmap32*(TPackPicture Kind, const std::vector<std::uint8_t>& Bytes)> Decode;
  // A new empty bitmap of the platform's class (for the copy of a preview).
  std::function<TCustomBitmap32*()> NewBitmap;
};

// The parts of a container: the table text and where the blob area ends.
struct TPackContainer {
  std::string Text;     // the table text, L bytes
  size_t BlobEnd = 0;   // the blob area is [0, BlobEnd)
};

// Splits Size bytes at Data by the tail of the layout. False with Error when
// the bytes are shorter than the tail or L lies outside 0 .. size - tail.
bool SplitStylePack(const std::uint8_t* Data, size_t Size, bool LayoutB, TPackContainer& Out, String& Error);

// The format and size a picture file's own header gives (JPEG SOF, PNG IHDR,
// BMP header, GIF screen). False with Error when the header is missing or
// damaged.
bool ReadPictureHeader(const std::uint8_t* Data, size_t Size, TPictureFormat& Format, Int64& Width, Int64& Height,
                       String& Error);

// Inflates one zlib stream of at most PackMaxInflated bytes. False with
// Error when it is damaged or would grow past the bound.
bool InflatePackBlob(const std::uint8_t* Data, size_t Size, std::vector<std::uint8_t>& Out, String& Error);

// Loads the pack held in Size bytes at Data into Table: the table text
// replaces the table's contents (property row included) and the pictures go
// into the row slots (and, for a layer table, the table's own Data, the
// preview). True after a complete load. On any fault: False, Error the
// reason, Table unchanged and nothing kept.
bool LoadStylePackBytes(TDataTable* Table, TStylePackKind Kind, const std::uint8_t* Data, size_t Size,
                        const TStylePackHooks& Hooks, String& Error);

// Frees the pictures and nested layer tables that a loader of Kind put into
// the slots of Table's rows (and a layer table's own preview), then the table
// itself; Table becomes nullptr. Rows never free their slots: this is the
// one routine that does.
void FreeStylePackTable(TDataTable*& Table, TStylePackKind Kind);

// Where refused packs are reported: one line per refused pack. By default
// the line goes to standard error. Returns the previous handler; an empty
// function restores the default.
using TStylePackLogHandler = std::function<void(const String& Line)>;
TStylePackLogHandler SetStylePackLogHandler(TStylePackLogHandler Handler);
void LogStylePack(const String& Line);
