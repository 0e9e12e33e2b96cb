// The skin engine's text tables the program carries in its resources, one
// for each interface language. Winelib only.
#pragma once

#include <windows.h>

#include "skin/data/SkinResStr.h"

// The character sets the tables give the skinned controls' fonts.
inline constexpr TFontCharset SkinTextCharSetEnglish = 1;    // DEFAULT_CHARSET
inline constexpr TFontCharset SkinTextCharSetChinese = 134;  // GB2312_CHARSET

// Replaces Data's lines by the program's table of the language and sets its
// CharSet. Instance: the module holding the tables (nullptr: the program).
// Raises EResNotFound when the module lacks the table.
void LoadSkinTextTable(TspResourceStrData* Data, bool Chinese, HINSTANCE Instance = nullptr);
