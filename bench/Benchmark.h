// Google Benchmark seen from a Winelib unit: its export header takes Windows
// branches (dllimport) when _WIN32 is defined, which do not match the
// installed (Linux) library. Benchmarks built in both trees include this
// header first, before any Windows header.
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
#include <benchmark/benchmark.h>
#pragma pop_macro("__WIN64__")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")
