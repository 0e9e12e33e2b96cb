// Loads libgdiplus by its full path and resolves the flat functions into the
// table of typed pointers. A native unit: dlopen is the C library's.
#include "platform/GdiPlusFlat.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#ifndef LUMIGRA_LIBGDIPLUS_PATH
#define LUMIGRA_LIBGDIPLUS_PATH "/usr/lib/libgdiplus.so.0"
#endif

namespace gdipflat {

TGdiPlusApi Api;

namespace {

void* LibHandle = nullptr;
bool Loaded = false;
std::string LoadError;
std::once_flag LoadOnce;

void DoLoad() {
  // A plain -lgdiplus may bind Wine's import library of that name; the full
  // path of the native library avoids it.
  LibHandle = dlopen(LUMIGRA_LIBGDIPLUS_PATH, RTLD_NOW | RTLD_LOCAL);
  if (LibHandle == nullptr) {
    const char* e = dlerror();
    LoadError = std::string("cannot load " LUMIGRA_LIBGDIPLUS_PATH ": ") + (e ? e : "unknown error");
    return;
  }
#define LUMIGRA_GDIP_RESOLVE(Ret, Name, Params)                                   \
  Api.Name = reinterpret_cast<Ret(*) Params>(dlsym(LibHandle, #Name));             \
  if (Api.Name == nullptr) {                                                       \
    LoadError = "libgdiplus lacks the function " #Name;                            \
    return;                                                                        \
  }
  LUMIGRA_GDIP_LIBRARY_FUNCTIONS(LUMIGRA_GDIP_RESOLVE)
#undef LUMIGRA_GDIP_RESOLVE
  Loaded = true;
}

}  // namespace

bool LoadLibGdiPlus(const char** Error) {
  std::call_once(LoadOnce, DoLoad);
  if (Error != nullptr) *Error = Loaded ? nullptr : LoadError.c_str();
  return Loaded;
}

const char* LibGdiPlusPath() { return LUMIGRA_LIBGDIPLUS_PATH; }

void* LibGdiPlusSymbol(const char* Name) {
  return LibHandle != nullptr ? dlsym(LibHandle, Name) : nullptr;
}

}  // namespace gdipflat
