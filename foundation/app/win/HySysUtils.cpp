#include "foundation/app/win/HySysUtils.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "classlib/Graphics.h"
#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HyStrUtils.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/DateUtils.h"
#include "rtl/SysUtils.h"

namespace {
const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }
String FromW(const WCHAR* S, size_t N) { return String(reinterpret_cast<const char16_t*>(S), N); }
bool KeyDown(int Vk) { return (::GetKeyState(Vk) & 0x8000) != 0; }
}  // namespace

bool IsWow64() {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE k = ::GetModuleHandleW(L"kernel32.dll");
  if (!k) return false;
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(k, "IsWow64Process")));
  if (!fn) return false;
  BOOL wow = FALSE;
  if (!fn(::GetCurrentProcess(), &wow)) return false;
  return wow != FALSE;
}

void AllowDropMessages() {
  using Fn = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE u = ::GetModuleHandleW(L"user32.dll");
  if (!u) return;
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(u, "ChangeWindowMessageFilter")));
  if (!fn) return;
  fn(0x233, 1);  // MSGFLT_ADD
  fn(0x4A, 1);
  fn(0x49, 1);
}

String FormatOSVersionText(Cardinal Major, Cardinal Minor, Cardinal Build, const String& ServicePack) {
  String s = UIntToStr(Major) + UIntToStr(Minor) + UIntToStr(Build & 0xFFFF);
  if (!ServicePack.empty()) s += u" " + ServicePack;
  return s;
}

String GetOSVersionText() {
  OSVERSIONINFOW vi{};
  vi.dwOSVersionInfoSize = sizeof(vi);
  if (!::GetVersionExW(&vi)) return String();
  const WCHAR* sp = vi.szCSDVersion;
  size_t n = 0;
  while (n < 128 && sp[n]) ++n;
  return FormatOSVersionText(vi.dwMajorVersion, vi.dwMinorVersion, vi.dwBuildNumber, FromW(sp, n));
}

String GetWindowsDir() {
  WCHAR buf[MAX_PATH + 1];
  UINT n = ::GetWindowsDirectoryW(buf, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return String();
  return IncludeTrailingPathDelimiter(FromW(buf, n));
}

String GetSystemDir() {
  WCHAR buf[MAX_PATH + 1];
  UINT n = ::GetSystemDirectoryW(buf, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return String();
  return IncludeTrailingPathDelimiter(FromW(buf, n));
}

Char GetSystemDrive() {
  const String w = GetWindowsDir();
  return w.empty() ? Char(0) : w[0];
}

Int64 GetAvailPhysMemory() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  if (!::GlobalMemoryStatusEx(&ms)) return 0;
  return static_cast<Int64>(ms.ullAvailPhys);
}

bool IsLeftCtrlDown() { return KeyDown(VK_LCONTROL); }
bool IsRightCtrlDown() { return KeyDown(VK_RCONTROL); }
bool IsCtrlDown() { return KeyDown(VK_LCONTROL) || KeyDown(VK_RCONTROL) || KeyDown(VK_CONTROL); }
bool IsShiftDown() { return KeyDown(VK_LSHIFT) || KeyDown(VK_RSHIFT) || KeyDown(VK_SHIFT); }
bool IsAltDown() { return KeyDown(VK_LMENU) || KeyDown(VK_RMENU) || KeyDown(VK_MENU); }
bool IsF10Down() { return KeyDown(VK_F10); }

bool GetClipboardBitmapSize(Integer& Width, Integer& Height) {
  Width = -1;
  Height = -1;
  if (!::IsClipboardFormatAvailable(CF_BITMAP)) return false;
  if (!::OpenClipboard(nullptr)) return false;
  bool ok = false;
  HBITMAP bmp = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  BITMAP bm{};
  if (bmp && ::GetObjectW(bmp, sizeof(bm), &bm) == sizeof(bm)) {
    Width = bm.bmWidth;
    Height = bm.bmHeight;
    ok = true;
  }
  ::CloseClipboard();
  return ok;
}

void ShowInfo(const String& Text, const String& Caption) {
  const String cap = Caption.empty() ? AppTitle : Caption;
  ::MessageBoxW(::GetActiveWindow(), W(Text), W(cap), MB_OK | MB_ICONINFORMATION);
}

String GetEnvVar(const String& Name) {
  DWORD n = ::GetEnvironmentVariableW(W(Name), nullptr, 0);
  if (n == 0) return String();
  String buf(n, u'\0');
  DWORD m = ::GetEnvironmentVariableW(W(Name), reinterpret_cast<WCHAR*>(buf.data()), n);
  if (m == 0 || m >= n) return String();
  buf.resize(m);
  return buf;
}

namespace {
String VersionText(const TXRTLNumberVersionInfo& V) {
  return IntToStr(V.Major) + u"." + IntToStr(V.Minor) + u"." + IntToStr(V.Release) + u"." + IntToStr(V.Build);
}
}  // namespace

TXRTLFileVersion::TXRTLFileVersion(const String& AFileName, Integer ALanguage, Integer ACharset)
    : FFileName(AFileName), FCharset(ACharset), FLanguage(ALanguage) {
  if (!FileExists(AFileName)) return;
  FileAge(AFileName, FDateTime);
  DWORD dummy = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(W(AFileName), &dummy);
  if (size == 0) return;
  std::string data(size, '\0');
  if (!::GetFileVersionInfoW(W(AFileName), 0, size, data.data())) return;
  VS_FIXEDFILEINFO* fi = nullptr;
  UINT len = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fi), &len) || !fi ||
      len < sizeof(VS_FIXEDFILEINFO))
    return;
  FFileVersion = {HIWORD(fi->dwFileVersionMS), LOWORD(fi->dwFileVersionMS), HIWORD(fi->dwFileVersionLS),
                  LOWORD(fi->dwFileVersionLS)};
  FProductVersion = {HIWORD(fi->dwProductVersionMS), LOWORD(fi->dwProductVersionMS),
                     HIWORD(fi->dwProductVersionLS), LOWORD(fi->dwProductVersionLS)};
  switch (fi->dwFileType) {
    case 1: FFileType = ftApplication; break;
    case 2: FFileType = ftDLL; break;
    case 3: FFileType = ftDriver; break;
    case 4: FFileType = ftFont; break;
    case 5: FFileType = ftVXD; break;
    case 7: FFileType = ftStaticLibrary; break;
    default: FFileType = ftUnknown; break;
  }
  FFileSubType = static_cast<Integer>(fi->dwFileSubtype);
  FOS = static_cast<Integer>(fi->dwFileOS);
  if (fi->dwFileDateMS != 0 || fi->dwFileDateLS != 0) {
    FILETIME ft{fi->dwFileDateLS, fi->dwFileDateMS};
    SYSTEMTIME st;
    TDateTime d = 0;
    if (::FileTimeToSystemTime(&ft, &st) &&
        TryEncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, d))
      FDateTime = d;
  }
  const DWORD flags = fi->dwFileFlags & fi->dwFileFlagsMask;
  FDebug = flags & 1;
  FPreRelease = flags & 2;
  FPatched = flags & 4;
  FPrivateBuild = flags & 8;
  FInfoInferred = flags & 16;
  FSpecialBuild = flags & 32;
}

String TXRTLFileVersion::FileVersionString() const { return VersionText(FFileVersion); }
String TXRTLFileVersion::ProductVersionString() const { return VersionText(FProductVersion); }

void GetFileVersionString(const String& FileName, String& Text) {
  Text.clear();
  if (!FileExists(FileName)) return;
  TXRTLFileVersion v(FileName, 0, 1252);
  Text = v.FileVersionString();
}

namespace {
// Opens Url as a GET request whose own handle carries the timeouts (Wine's
// InternetOpenUrlW does not pass the session's receive timeout on). Returns the
// request handle and the connection handle, or nullptr.
HINTERNET OpenGet(HINTERNET Session, const String& Url, DWORD TimeoutMs, HINTERNET& Connection) {
  Connection = nullptr;
  WCHAR host[256] = {}, path[2048] = {}, extra[2048] = {};
  URL_COMPONENTSW uc{};
  uc.dwStructSize = sizeof(uc);
  uc.lpszHostName = host;
  uc.dwHostNameLength = 256;
  uc.lpszUrlPath = path;
  uc.dwUrlPathLength = 2048;
  uc.lpszExtraInfo = extra;
  uc.dwExtraInfoLength = 2048;
  if (!::InternetCrackUrlW(W(Url), 0, 0, &uc)) return nullptr;
  if (uc.nScheme != INTERNET_SCHEME_HTTP && uc.nScheme != INTERNET_SCHEME_HTTPS) return nullptr;
  Connection = ::InternetConnectW(Session, host, uc.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  if (!Connection) return nullptr;
  String object = String(reinterpret_cast<const char16_t*>(path)) + reinterpret_cast<const char16_t*>(extra);
  if (object.empty()) object = u"/";
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_EXISTING_CONNECT |
                INTERNET_FLAG_NO_COOKIES;
  if (uc.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  HINTERNET req = ::HttpOpenRequestW(Connection, L"GET", W(object), nullptr, nullptr, nullptr, flags, 0);
  if (!req) return nullptr;
  ::InternetSetOptionW(req, INTERNET_OPTION_CONNECT_TIMEOUT, &TimeoutMs, sizeof(TimeoutMs));
  ::InternetSetOptionW(req, INTERNET_OPTION_RECEIVE_TIMEOUT, &TimeoutMs, sizeof(TimeoutMs));
  ::InternetSetOptionW(req, INTERNET_OPTION_SEND_TIMEOUT, &TimeoutMs, sizeof(TimeoutMs));
  if (!::HttpSendRequestW(req, nullptr, 0, nullptr, 0)) {
    ::InternetCloseHandle(req);
    return nullptr;
  }
  return req;
}
}  // namespace

bool DownloadUrl(const String& Url, TStream* Stream, const TDownloadProgressEvent& OnProgress, void* UserData,
                 Cardinal TimeoutMs) {
  if (!Stream) return false;
  HINTERNET session = ::InternetOpenW(L"Internet Explorer", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) return false;
  DWORD timeout = TimeoutMs;
  ::InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
  ::InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
  bool ok = false;
  HINTERNET connection = nullptr;
  HINTERNET url = OpenGet(session, Url, timeout, connection);
  if (url) {
    DWORD status = 0, len = sizeof(status), index = 0;
    const bool statusOk = ::HttpQueryInfoW(url, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &len,
                                           &index) &&
                          status >= 200 && status <= 299;
    DWORD expected = 0;
    len = sizeof(expected);
    index = 0;
    const bool hasLength =
        ::HttpQueryInfoW(url, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &expected, &len, &index) != FALSE;
    if (statusOk) {
      ok = true;
      Int64 received = 0;
      char buf[4096];
      for (;;) {
        DWORD got = 0;
        if (!::InternetReadFile(url, buf, sizeof(buf), &got)) {
          ok = false;
          break;
        }
        if (got == 0) break;
        Stream->WriteBuffer(buf, static_cast<Integer>(got));
        received += got;
        if (OnProgress) {
          bool cancel = false;
          OnProgress(UserData, cancel, Stream->Size());
          if (cancel) {
            ok = false;
            break;
          }
        }
      }
      if (ok && hasLength && received < static_cast<Int64>(expected)) ok = false;
    }
    ::InternetCloseHandle(url);
  }
  if (connection) ::InternetCloseHandle(connection);
  ::InternetCloseHandle(session);
  return ok;
}

String GetUrlStr(const String& Url) {
  TMemoryStream ms;
  if (!DownloadUrl(Url, &ms, TDownloadProgressEvent(), nullptr)) return String();
  if (ms.Size() == 0) return String();
  RawByteString bytes(static_cast<size_t>(ms.Size()), '\0');
  ms.SetPosition(0);
  ms.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  return DecodeTextBytes(bytes);
}

bool SnapWindowRect(TBitmap* Bitmap, const TRect& Rect, bool WithCursor, HWND Wnd) {
  if (!Bitmap) return false;
  if (Wnd && !::IsWindow(Wnd)) return false;
  // screen rectangle copied, and its origin inside the source DC
  TRect copied = Rect;
  Integer srcX = Rect.Left, srcY = Rect.Top;
  if (Wnd) {
    const Integer sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    copied.Left = std::max(Rect.Left, 0);
    copied.Top = std::max(Rect.Top, 0);
    copied.Right = std::min(Rect.Right, sw);
    copied.Bottom = std::min(Rect.Bottom, sh);
    srcX = copied.Left - Rect.Left;
    srcY = copied.Top - Rect.Top;
  }
  const Integer w = copied.Right - copied.Left, h = copied.Bottom - copied.Top;
  if (w <= 0 || h <= 0) return false;
  HDC src = Wnd ? ::GetWindowDC(Wnd) : ::GetDC(nullptr);
  if (!src) return false;
  Bitmap->SetSize(w, h);
  HDC dst = Bitmap->Canvas()->Handle();
  const DWORD captureBlt = 0x40000000;  // CAPTUREBLT: include layered windows
  bool ok = dst && ::BitBlt(dst, 0, 0, w, h, src, srcX, srcY, SRCCOPY | captureBlt);
  ::ReleaseDC(Wnd, src);
  if (ok && WithCursor) {
    CURSORINFO ci{};
    ci.cbSize = sizeof(ci);
    if (::GetCursorInfo(&ci) && (ci.flags & CURSOR_SHOWING) && ci.hCursor && ci.ptScreenPos.x >= copied.Left &&
        ci.ptScreenPos.x < copied.Right && ci.ptScreenPos.y >= copied.Top && ci.ptScreenPos.y < copied.Bottom) {
      ICONINFO ii{};
      if (::GetIconInfo(ci.hCursor, &ii)) {
        ::DrawIconEx(dst, ci.ptScreenPos.x - copied.Left - static_cast<int>(ii.xHotspot),
                     ci.ptScreenPos.y - copied.Top - static_cast<int>(ii.yHotspot), ci.hCursor, 0, 0, 0, nullptr,
                     DI_NORMAL);
        if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
        if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
      }
    }
  }
  return ok;
}

Char LocaleDecimalSeparator() {
  WCHAR buf[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) < 2) return u'.';
  return static_cast<Char>(buf[0]);
}
