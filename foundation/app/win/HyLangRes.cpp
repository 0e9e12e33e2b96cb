#include "foundation/app/win/HyLangRes.h"

#include "rtl/Classes.h"

bool LoadLanguageTable(HMODULE Module) {
  TMemoryStream ms;
  // Resource names compare without case: the compiler stores "HVLANG".
  if (HRSRC res = ::FindResourceW(Module, L"HvLang", reinterpret_cast<LPCWSTR>(RT_RCDATA))) {
    const DWORD size = ::SizeofResource(Module, res);
    HGLOBAL h = ::LoadResource(Module, res);
    const void* data = h ? ::LockResource(h) : nullptr;
    if (data && size > 0) ms.WriteBuffer(data, static_cast<Integer>(size));
  }
  ms.SetPosition(0);
  return LoadLanguageTableFromStream(&ms);
}
