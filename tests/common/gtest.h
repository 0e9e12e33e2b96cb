// GoogleTest seen from a Winelib unit: its port layer takes Windows branches
// when _WIN32 is defined, and those do not match the installed (Linux) library.
// Every test includes this header first, before any Windows header.
#pragma once

#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#pragma push_macro("__WIN32__")
#pragma push_macro("__WIN64__")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#undef __WIN32__
#undef __WIN64__
#include <gtest/gtest.h>
#pragma pop_macro("__WIN64__")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")

// GoogleTest prints std::u16string values itself (as u"...").
