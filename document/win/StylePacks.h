// Style packs: the read-only files in "Media\" beside the program that carry
// the catalogues of ready-made styles with their pictures (effects,
// patterns, brush tips, shadow and reflection presets, frames), and the
// gradient swatch painter of the lists and gradient dialogs.
//
// A pack that is damaged, truncated or hostile is refused as a whole and
// counts as missing: the table passed in stays exactly as it was, nothing
// leaks, no exception leaves a loader, and one line naming the file and the
// reason goes to the style-pack log (standard error unless a handler is set,
// see document/StylePackReader.h). GDI+ must be started.
#pragma once

#include <vector>

#include "bitmap/win/Bmp32_Windowed.h"
#include "document/StylePackReader.h"
#include "foundation/data/HyDataTable.h"
#include "gdiplus/win/GdiPlus.h"
#include "rtl/Classes.h"

// The brush pack of the process (loaded by the editor when a brush tool is
// first shown), read by the brush and the clone stamp.
extern TDataTable* BrushPackDT;

// The five packs of fixed name, read from ExePath + "Media\": when the file
// does not exist the table stays as it was; otherwise the pack's table text
// replaces the table's contents and the pictures go into the row slots. The
// rows replaced keep whatever their slots held: a caller loading into a
// table of pictures frees them first.
void LoadEffectsPack(TDataTable* Table);
void LoadPatternPack(TDataTable* Table);
void LoadBrushPack(TDataTable* Table);
void LoadShadowPack(TDataTable* Table);
void LoadReflectionPack(TDataTable* Table);

// The frame packs, named by the caller: false when the file does not exist
// or the pack is refused, true after a complete load.
bool LoadStylePack(TDataTable* Table, const String& FileName);        // frame packs 0 and 1
bool LoadNestedStylePack(TDataTable* Table, const String& FileName);  // frame pack 2
bool LoadImageStylePack(TDataTable* Table, const String& FileName);   // frame pack 3
// ExePath + "Media\frame" + Kind + ".dat".
String FramePackFileName(Integer Kind);

// A layer table held in memory (the whole stream, layout A) into Table, its
// preview into the table's own Data. False (Table unchanged) when refused.
bool ReadNestedPackStream(TDataTable* Table, TMemoryStream* Stream);

// The loaders' hooks on this platform: the ANSI code page, and the class
// library's JPEG and bitmap classes, the bitmap engine's BMP stream and GDI+
// for the pictures. For the loaders of bytes in document/StylePackReader.h.
TStylePackHooks StylePackPlatformHooks();

// Paints a gradient swatch into Rect of Bitmap: a linear gradient of mode
// Mode (0 horizontal, 1 vertical, 2 forward diagonal, 3 backward diagonal)
// whose colours are Colors at Positions (one each, 0 to 1). Fewer than two
// colours, or not one position per colour, paints nothing.
void FillGradientPreview(TBitmap32* Bitmap, const TRect& Rect, const std::vector<TGPColor>& Colors,
                         const std::vector<Single>& Positions, Integer Mode);
