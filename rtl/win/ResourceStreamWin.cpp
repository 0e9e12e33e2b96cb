// TResourceStream: a module's resource as a read-only memory stream.
#include <windows.h>

#include "rtl/Classes.h"
#include "rtl/ScopeGuard.h"

TResourceStream::TResourceStream(THandle Instance, const String& ResName, const Char* ResType) {
  Initialize(Instance, ResName.c_str(), ResType, ResName);
}

TResourceStream* TResourceStream::CreateFromID(THandle Instance, Integer ResID, const Char* ResType) {
  auto* s = new TResourceStream();
  TFinally Undo([&] { delete s; });
  const Char* name = reinterpret_cast<const Char*>(static_cast<ULONG_PTR>(static_cast<WORD>(ResID)));
  s->Initialize(Instance, name, ResType, IntToStr(ResID));
  Undo.Dismiss();
  return s;
}

void TResourceStream::Initialize(THandle Instance, const Char* Name, const Char* ResType, const String& NameForMessage) {
  HMODULE module = reinterpret_cast<HMODULE>(Instance);
  HRSRC info = FindResourceW(module, reinterpret_cast<LPCWSTR>(Name), reinterpret_cast<LPCWSTR>(ResType));
  if (info == nullptr) throw EResNotFound(SResNotFound, {NameForMessage});
  HGLOBAL res = LoadResource(module, info);
  if (res == nullptr) throw EResNotFound(SResNotFound, {NameForMessage});
  FResource = res;
  SetPointer(LockResource(res), SizeofResource(module, info));
}

TResourceStream::~TResourceStream() {
  // Resources of a loaded module need no unlocking or freeing on Win32.
  FResource = nullptr;
}

Integer TResourceStream::Write(const void*, Integer) { throw EStreamError(SCantWriteResourceStreamError); }
