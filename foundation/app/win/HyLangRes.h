// The language table read from the program's resources. Winelib only.
#pragma once

#include <windows.h>

#include "foundation/app/HyLangTable.h"

// Reads the RCDATA resource "HvLang" of Module (the program when nullptr) into
// LangDT. False when the resource is missing or its stream is refused; LangDT
// is then an empty table and every lookup gives its placeholder.
bool LoadLanguageTable(HMODULE Module = nullptr);
