// The value types of the class library's controls and graphics that data
// units need without a window: colours, font styles and character sets, text
// alignment, and the tab controls' position and style. Graphics.h and
// StdCtrls.h take them from here.
// Portable header: no Windows header.
#pragma once

#include "rtl/System.h"

// Colours: $00BBGGRR, or a system colour $FF0000nn (COLOR_xxx index nn).
using TColor = Integer;

inline constexpr TColor TColorSys(Integer Index) { return static_cast<Integer>(0xFF000000u | Cardinal(Index)); }

enum TFontStyle : Byte { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = Byte;  // a set of TFontStyle bits
using TFontCharset = Byte;

enum TAlignment : Byte { taLeftJustify, taRightJustify, taCenter };

enum TTabPosition : Byte { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle : Byte { tsTabs, tsButtons, tsFlatButtons };
