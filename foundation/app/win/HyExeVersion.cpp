#include "foundation/app/win/HyExeVersion.h"

#include <string>

#include "foundation/app/win/HySysUtils.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

String ModuleVersionString(HMODULE Module) {
  HRSRC res = ::FindResourceW(Module, MAKEINTRESOURCEW(VS_VERSION_INFO), reinterpret_cast<LPCWSTR>(RT_VERSION));
  if (!res) return String();
  const DWORD size = ::SizeofResource(Module, res);
  HGLOBAL h = ::LoadResource(Module, res);
  const void* data = h ? ::LockResource(h) : nullptr;
  if (!data || size == 0) return String();
  // VerQueryValueW may write into the block it reads: work on a copy.
  std::string block(static_cast<const char*>(data), size);
  VS_FIXEDFILEINFO* fi = nullptr;
  UINT len = 0;
  if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fi), &len) || !fi ||
      len < sizeof(VS_FIXEDFILEINFO) || fi->dwSignature != VS_FFI_SIGNATURE)
    return String();
  return IntToStr(HIWORD(fi->dwFileVersionMS)) + u"." + IntToStr(LOWORD(fi->dwFileVersionMS)) + u"." +
         IntToStr(HIWORD(fi->dwFileVersionLS)) + u"." + IntToStr(LOWORD(fi->dwFileVersionLS));
}

String ProgramVersionString() {
  WCHAR buf[32768];
  const DWORD n = ::GetModuleFileNameW(nullptr, buf, 32768);
  if (n > 0 && n < 32768) {
    const String exe(reinterpret_cast<const char16_t*>(buf), n);
    DWORD dummy = 0;
    if (FileExists(exe) && ::GetFileVersionInfoSizeW(buf, &dummy) > 0) {
      String text;
      GetFileVersionString(exe, text);
      if (!text.empty()) return text;
    }
  }
  return ModuleVersionString(nullptr);
}
