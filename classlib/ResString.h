// Texts of the program's string table. Winelib only.
#pragma once

#include "rtl/System.h"

// The text Ident of the executable's string table (LoadStringW); an empty
// string when the table has no such entry.
String LoadResString(Integer Ident);
