#include "common/gtest.h"

#include <windows.h>

#include <cstring>
#include <memory>

#include "rtl/Classes.h"

// The test program carries no resources of its own, so these read the
// resources of Wine's system modules and compare with the raw Win32 calls.

namespace {

const Char* Id(WORD n) { return reinterpret_cast<const Char*>(static_cast<ULONG_PTR>(n)); }

struct TFound {
  HMODULE Module = nullptr;
  String Type;  // a named type, or empty with TypeId
  WORD TypeId = 0;
  String Name;
};

BOOL CALLBACK OnName(HMODULE, LPCWSTR, LPWSTR Name, LONG_PTR Param) {
  auto* f = reinterpret_cast<TFound*>(Param);
  if (IS_INTRESOURCE(Name)) return TRUE;
  f->Name = reinterpret_cast<const Char*>(Name);
  return FALSE;
}

BOOL CALLBACK OnType(HMODULE Module, LPWSTR Type, LONG_PTR Param) {
  auto* f = reinterpret_cast<TFound*>(Param);
  EnumResourceNamesW(Module, Type, OnName, Param);
  if (f->Name.empty()) return TRUE;
  if (IS_INTRESOURCE(Type)) f->TypeId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(Type));
  else f->Type = reinterpret_cast<const Char*>(Type);
  return FALSE;
}

}  // namespace

TEST(ResourceStream, ByIdMatchesTheRawResource) {
  HMODULE k32 = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(k32, nullptr);
  HRSRC info = FindResourceW(k32, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_VERSION));
  ASSERT_NE(info, nullptr) << "kernel32 has no version resource";
  const void* raw = LockResource(LoadResource(k32, info));
  const DWORD size = SizeofResource(k32, info);

  std::unique_ptr<TResourceStream> S(
      TResourceStream::CreateFromID(reinterpret_cast<THandle>(k32), 1, reinterpret_cast<const Char*>(RT_VERSION)));
  ASSERT_EQ(S->Size(), static_cast<Int64>(size));
  std::string bytes(size, '\0');
  S->ReadBuffer(bytes.data(), static_cast<Integer>(size));
  EXPECT_EQ(std::memcmp(bytes.data(), raw, size), 0);
  // A version block starts with its own length and the key "VS_VERSION_INFO".
  WORD len;
  std::memcpy(&len, bytes.data(), 2);
  EXPECT_EQ(len, size);
  EXPECT_EQ(String(reinterpret_cast<const Char*>(bytes.data() + 6), 15), u"VS_VERSION_INFO");
  // Read-only.
  EXPECT_THROW(S->WriteBuffer("x", 1), EStreamError);
  EXPECT_THROW(S->ReadBuffer(bytes.data(), 1), EReadError);
  // It works as a source like any stream.
  TMemoryStream Copy;
  Copy.CopyFrom(S.get(), 0);
  EXPECT_EQ(Copy.Size(), static_cast<Int64>(size));
}

TEST(ResourceStream, ByName) {
  TFound f;
  for (const wchar_t* m : {L"user32.dll", L"comctl32.dll", L"shell32.dll", L"comdlg32.dll"}) {
    f.Module = LoadLibraryW(m);
    if (f.Module == nullptr) continue;
    EnumResourceTypesW(f.Module, OnType, reinterpret_cast<LONG_PTR>(&f));
    if (!f.Name.empty()) break;
  }
  ASSERT_FALSE(f.Name.empty()) << "no named resource found in the system modules";
  const Char* type = f.Type.empty() ? Id(f.TypeId) : f.Type.c_str();
  TResourceStream S(reinterpret_cast<THandle>(f.Module), f.Name, type);
  HRSRC info = FindResourceW(f.Module, reinterpret_cast<LPCWSTR>(f.Name.c_str()), reinterpret_cast<LPCWSTR>(type));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(S.Size(), static_cast<Int64>(SizeofResource(f.Module, info)));
  EXPECT_EQ(S.Memory(), LockResource(LoadResource(f.Module, info)));
}

TEST(ResourceStream, MissingRaisesResNotFound) {
  HMODULE k32 = GetModuleHandleW(L"kernel32.dll");
  try {
    TResourceStream S(reinterpret_cast<THandle>(k32), u"NO_SUCH_THING", Id(10));
    FAIL() << "found a missing resource";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), u"Resource NO_SUCH_THING not found");
  }
  try {
    std::unique_ptr<TResourceStream> S(TResourceStream::CreateFromID(reinterpret_cast<THandle>(k32), 31999, Id(10)));
    FAIL() << "found a missing resource";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), u"Resource 31999 not found");
  }
}
