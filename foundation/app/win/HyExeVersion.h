// The version of the running program. Winelib only.
#pragma once

#include <windows.h>

#include "rtl/System.h"

// "a.b.c.d" of the fixed file version in the version resource of a loaded
// module (the program when nullptr); empty when it has none.
String ModuleVersionString(HMODULE Module);
// The program's version: read from the program file that GetModuleFileNameW
// names when that file carries a version resource, else from the resource of
// the loaded program (a Winelib program is a shared object that the version
// routines cannot read as a file).
String ProgramVersionString();
