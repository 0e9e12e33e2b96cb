// Image files: decoding any format GDI+ reads into a TBitmap32, thumbnails
// that fit a box, the extension <-> format map, and writing a TBitmap32 as
// BMP, PNG, JPEG or GIF.
//
// JPEG, PNG, GIF and BMP files are decoded by the class library's codec
// units straight into the bitmap, with the pixel values, bit depth and
// alpha flag GDI+ gives them, except where GDI+ is wrong (CMYK JPEGs with
// red and blue exchanged, BMPs with 32-bit bit fields refused, RLE rows
// misplaced, 16-bit BMPs reported as 32-bit); every other format, and any
// file the codec units leave, goes through GDI+. BMPs of 24 and 32 bits,
// PNGs and JPEGs are written from the rows, byte for byte as the picture
// classes write them; other BMP depths and GIFs through those classes.
//
// The routines keep no state; every object they return belongs to the
// caller. GDI+ must be started (GdiPlusStartup). Decoding and fitting may
// run on worker threads: they touch only what they create or are given.
#pragma once

#include <functional>

#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/GIFImg.h"
#include "classlib/Graphics.h"
#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/VaVavuve.h"

// Decodes a file. A missing or undecodable file gives a 0 x 0 bitmap with
// HasAlpha false and BitDepth -1.
TBitmap32* LoadImageToBitmap32(const String& FileName, bool& HasAlpha, Integer& BitDepth);

// Converts a GDI+ bitmap into straight 32-bit ARGB (GDI+ converts while it
// locks, into the result's memory). Sets HasAlpha only to true (an alpha
// pixel format, or an indexed one with a pixel below opaque) and BitDepth
// only for a non-empty bitmap; callers set both beforehand. When the pixels
// cannot be read the result is 0 x 0 and BitDepth -1.
TBitmap32* GPBitmapToBitmap32(const IGPBitmap& Bitmap, bool& HasAlpha, Integer& BitDepth);

// The decoded picture (as LoadImageToBitmap32 decodes it) as a 32-bit
// class-library bitmap made by GDI+, transparent pixels composed over opaque
// white. Empty when the file cannot be decoded.
TBitmap* LoadBitmapWithAlpha(const String& FileName);

// The size of Width x Height scaled down (never up) to fit the box, keeping
// the aspect ratio; no side below 1.
void FitSizeKeepAspect(Integer Width, Integer Height, Integer MaxWidth, Integer MaxHeight, Integer& NewWidth,
                       Integer& NewHeight);
// Dest becomes the decoded file, scaled down to fit the box; Width and
// Height are the file's size. False (Dest opaque white, box-sized) when
// nothing could be decoded.
bool LoadImageFitted(const String& FileName, TBitmap32* Dest, Integer MaxWidth, Integer MaxHeight, Integer& Width,
                     Integer& Height);
// Dest becomes Source, scaled down to fit the box when larger. Always true.
bool FitBitmap32(TBitmap32* Source, TBitmap32* Dest, Integer MaxWidth, Integer MaxHeight);

TImageFormat GetImageFormatByExt(const String& FileName);
// Without the dot; empty for ifUnknown.
void GetImageExtByFormat(TImageFormat Format, String& Ext);

// Writes Bitmap as Format. Option: BMP bit depth (1, 4, 8, 16, 24, else 32);
// PNG -1 with alpha, else RGB; JPEG quality level 1..10 (quality = 10 x
// level); ignored for GIF. Formats that cannot be written raise
// EInvalidGraphic; failures of the picture classes reach the caller.
void SaveBitmap32ToFile(TBitmap32* Bitmap, const String& FileName, TImageFormat Format, Integer Option);

// Rows Y .. Y + Count - 1 of a picture (Count 1..codec::RowBand): returns
// the first, the others following, Width pixels a row; valid until the next
// call. Bands are asked for in the writer's order.
using TBitmap32Rows = std::function<const TColor32*(Integer Y, Integer Count)>;

// Writes a Width x Height picture made band by band by Rows: the bytes
// SaveBitmap32ToFile writes for the same pixels. JPEG, PNG and BMPs of 24
// and 32 bits are made as they are written; for the rest the picture is
// made whole first. An exception from Rows reaches the caller.
void SaveBitmap32RowsToFile(Integer Width, Integer Height, const TBitmap32Rows& Rows, const String& FileName,
                            TImageFormat Format, Integer Option);

// One-frame GIF of the bitmap; pixels with alpha below AlphaThreshold share
// one transparent palette index whose entry becomes TransparentColor.
TGIFImage* Bitmap32ToGIF(TBitmap32* Bitmap, Byte AlphaThreshold, TColor TransparentColor);

// Encodes the bitmap as JPEG with the given quality through GDI+ into the
// stream. False on any failure (a refused encode included).
bool SaveBitmapToStreamWithQuality(TBitmap* Bitmap, Integer Quality, IStream* Stream);
