// Saving the tests' screenshots (Screens.h): PNG through the class library's
// codec, files through Win32; every failure goes to stderr, none to the test.
#include "common/Screens.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/CodecPng.h"

namespace lumigra_test {

namespace {

std::u16string Widen(const std::string& S) { return std::u16string(S.begin(), S.end()); }

std::string Narrow(const std::u16string& S) {
  std::string R;
  for (char16_t C : S) R += C < 128 ? char(C) : '?';
  return R;
}

void Report(const std::string& What) { std::fprintf(stderr, "screens: %s\n", What.c_str()); }

// A name is one plain path element: nothing that climbs or crosses folders.
bool PlainName(const std::string& S) {
  if (S.empty() || S == "." || S == "..") return false;
  for (char C : S)
    if (!((C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '-' || C == '_' ||
          C == '.'))
      return false;
  return true;
}

std::u16string ModuleFileName() {
  std::u16string Path(1024, u'\0');
  DWORD N = GetModuleFileNameW(nullptr, reinterpret_cast<WCHAR*>(Path.data()), DWORD(Path.size()));
  Path.resize(N);
  return Path;
}

// The test program's name: its file name without ".exe" (and without the
// ".so" of a program started as a shared object).
std::u16string ProgramName() {
  std::u16string P = ModuleFileName();
  size_t Slash = P.find_last_of(u"\\/");
  if (Slash != std::u16string::npos) P = P.substr(Slash + 1);
  for (const char16_t* Ext : {u".so", u".exe"})
    if (P.size() > std::char_traits<char16_t>::length(Ext) &&
        P.compare(P.size() - std::char_traits<char16_t>::length(Ext), std::u16string::npos, Ext) == 0)
      P.resize(P.size() - std::char_traits<char16_t>::length(Ext));
  return P.empty() ? u"test" : P;
}

// $LUMIGRA_SCREENS_DIR (a path of the build machine) as a Windows path, or
// "screens" beside the program.
std::u16string ScreensRoot() {
  if (const char* Dir = std::getenv("LUMIGRA_SCREENS_DIR"); Dir && *Dir) {
    if (Dir[0] != '/') return Widen(Dir);
    using TToDos = WCHAR*(CDECL*)(const char*);
    auto ToDos = reinterpret_cast<TToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(reinterpret_cast<LPCWSTR>(u"kernel32.dll")), "wine_get_dos_file_name")));
    if (ToDos)
      if (WCHAR* W = ToDos(Dir)) {
        std::u16string R(reinterpret_cast<const char16_t*>(W));
        HeapFree(GetProcessHeap(), 0, W);
        return R;
      }
    // Wine maps the root of the build machine's files to Z:.
    std::u16string R = u"Z:" + Widen(Dir);
    for (char16_t& C : R)
      if (C == u'/') C = u'\\';
    return R;
  }
  std::u16string P = ModuleFileName();
  size_t Slash = P.find_last_of(u"\\/");
  return (Slash == std::u16string::npos ? std::u16string(u".") : P.substr(0, Slash)) + u"\\screens";
}

// Creates Dir and the folders above it.
bool MakeFolders(const std::u16string& Dir) {
  for (size_t I = 3; I <= Dir.size(); ++I) {
    if (I < Dir.size() && Dir[I] != u'\\') continue;
    std::u16string Part = Dir.substr(0, I);
    if (!CreateDirectoryW(reinterpret_cast<LPCWSTR>(Part.c_str()), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      return false;
  }
  return true;
}

bool WriteWholeFile(const std::u16string& Path, const std::vector<std::uint8_t>& Bytes) {
  HANDLE H = CreateFileW(reinterpret_cast<LPCWSTR>(Path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) return false;
  DWORD Written = 0;
  bool Ok = WriteFile(H, Bytes.data(), DWORD(Bytes.size()), &Written, nullptr) && Written == Bytes.size();
  CloseHandle(H);
  return Ok;
}

}  // namespace

std::u16string ScreenFileName(const std::string& Name, const std::string& Scheme) {
  std::u16string Dir = ScreensRoot() + u"\\" + ProgramName();
  if (!Scheme.empty()) Dir += u"\\" + Widen(Scheme);
  return Dir + u"\\" + Widen(Name) + u".png";
}

void SaveScreenPixels(const std::uint8_t* Pixels, int Width, int Height, int Stride, const std::string& Name,
                      const std::string& Scheme, bool KeepAlpha) {
  if (!PlainName(Name) || (!Scheme.empty() && !PlainName(Scheme))) {
    Report("not a plain file name: \"" + Name + "\" / \"" + Scheme + "\"");
    return;
  }
  if (!Pixels || Width <= 0 || Height <= 0 || Stride < Width * 4) {
    Report(Name + ": no pixels to save");
    return;
  }
  std::vector<std::uint8_t> Rows(std::size_t(Width) * std::size_t(Height) * 4);
  for (int Y = 0; Y < Height; ++Y)
    std::memcpy(&Rows[std::size_t(Y) * std::size_t(Width) * 4], Pixels + std::size_t(Y) * std::size_t(Stride),
                std::size_t(Width) * 4);
  std::vector<std::uint8_t> Png;
  std::string Error = codec::PngEncode(Rows.data(), Width, Height, KeepAlpha ? 6 : 2, Png);
  if (!Error.empty()) {
    Report(Name + ": " + Error);
    return;
  }
  std::u16string File = ScreenFileName(Name, Scheme);
  std::u16string Dir = File.substr(0, File.find_last_of(u'\\'));
  if (!MakeFolders(Dir) || !WriteWholeFile(File, Png)) Report(Name + ": cannot write " + Narrow(File));
}

TWindowPixels CaptureWindow(HWND Wnd) {
  TWindowPixels Out;
  RECT R{};
  if (!IsWindow(Wnd) || !GetWindowRect(Wnd, &R) || R.right <= R.left || R.bottom <= R.top) return Out;
  RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const int W = R.right - R.left, H = R.bottom - R.top;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  HBITMAP Dib = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HDC Mem = CreateCompatibleDC(nullptr);
  HDC Src = GetWindowDC(Wnd);
  if (Dib && Mem && Src) {
    HGDIOBJ Old = SelectObject(Mem, Dib);
    if (BitBlt(Mem, 0, 0, W, H, Src, 0, 0, SRCCOPY)) {
      GdiFlush();
      const auto* P = static_cast<const std::uint32_t*>(Bits);
      Out.Pixels.assign(P, P + std::size_t(W) * std::size_t(H));
      Out.Width = W;
      Out.Height = H;
    }
    SelectObject(Mem, Old);
  }
  if (Src) ReleaseDC(Wnd, Src);
  if (Mem) DeleteDC(Mem);
  if (Dib) DeleteObject(Dib);
  return Out;
}

void SaveWindowScreen(HWND Wnd, const std::string& Name, const std::string& Scheme) {
  TWindowPixels P = CaptureWindow(Wnd);
  if (P.Pixels.empty()) {
    Report(Name + ": cannot copy the window's pixels");
    return;
  }
  SaveScreenPixels(reinterpret_cast<const std::uint8_t*>(P.Pixels.data()), P.Width, P.Height, P.Width * 4, Name,
                   Scheme);
}

}  // namespace lumigra_test
