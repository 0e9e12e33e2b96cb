#include "classlib/ResString.h"

#include <windows.h>

#include <iterator>

String LoadResString(Integer Ident) {
  WCHAR Buf[1024];
  const int N = LoadStringW(GetModuleHandleW(nullptr), UINT(Ident), Buf, int(std::size(Buf)));
  return N > 0 ? String(reinterpret_cast<const Char*>(Buf), size_t(N)) : String();
}
