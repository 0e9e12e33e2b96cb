// System facts, folders, keyboard state, the information message box and the
// version resource of a file. Winelib only.
#pragma once

#include <functional>

#include "rtl/System.h"

// True for a 32-bit process on 64-bit Windows (IsWow64Process looked up at run time).
bool IsWow64();
// Lets WM_DROPFILES, WM_COPYDATA and message 0x49 reach the program's windows
// from less privileged processes (ChangeWindowMessageFilter, when present).
void AllowDropMessages();
// Major, minor and build digits without separators, then " " and the service
// pack text when there is one.
String GetOSVersionText();
// The same text from given numbers.
String FormatOSVersionText(Cardinal Major, Cardinal Minor, Cardinal Build, const String& ServicePack);
String GetWindowsDir();
String GetSystemDir();
Char GetSystemDrive();
Int64 GetAvailPhysMemory();
bool IsLeftCtrlDown();
bool IsRightCtrlDown();
bool IsCtrlDown();
bool IsShiftDown();
bool IsAltDown();
bool IsF10Down();
bool GetClipboardBitmapSize(Integer& Width, Integer& Height);
// A modal information box; an empty Caption uses AppTitle.
void ShowInfo(const String& Text, const String& Caption);
// The value of an environment variable; empty when unset.
String GetEnvVar(const String& Name);
// "a.b.c.d" of the file's version resource; empty when the file does not exist.
void GetFileVersionString(const String& FileName, String& Text);

class TStream;
// Called after each piece read: set Cancel to stop; Size is the stream's size so far.
using TDownloadProgressEvent = std::function<void(void* UserData, bool& Cancel, Int64 Size)>;
// Connect and receive timeout of a download.
inline constexpr Cardinal DownloadTimeoutMs = 15000;
// HTTP GET of Url appended to Stream in pieces of 4,096 bytes. False when the
// address cannot be opened, the status is outside 200..299, a read fails, fewer
// bytes than a stated Content-Length arrive, or OnProgress cancels.
bool DownloadUrl(const String& Url, TStream* Stream, const TDownloadProgressEvent& OnProgress, void* UserData,
                 Cardinal TimeoutMs = DownloadTimeoutMs);
// The body of Url as text (see DecodeTextBytes); empty on any failure.
String GetUrlStr(const String& Url);

struct HWND__;
typedef HWND__* HWND;
class TBitmap;
// Copies Rect of the screen (Wnd 0), or the part of window Wnd that lies on
// the screen (Rect is then the window's screen rectangle), into Bitmap, with
// the cursor drawn at its hot spot when WithCursor and it lies inside. False
// when the copied rectangle is empty, the window is gone or a GDI call fails.
bool SnapWindowRect(TBitmap* Bitmap, const TRect& Rect, bool WithCursor, HWND Wnd);

struct TXRTLNumberVersionInfo {
  Integer Major = 0, Minor = 0, Release = 0, Build = 0;
};
enum TXRTLFileType { ftUnknown, ftApplication, ftDLL, ftDriver, ftFont, ftVXD, ftStaticLibrary };

// The version resource of one file, read when created.
class TXRTLFileVersion : public TObject {
 public:
  TXRTLFileVersion(const String& AFileName, Integer ALanguage, Integer ACharset);
  const String& FileName() const { return FFileName; }
  const TXRTLNumberVersionInfo& FileVersion() const { return FFileVersion; }
  const TXRTLNumberVersionInfo& ProductVersion() const { return FProductVersion; }
  TXRTLFileType FileType() const { return FFileType; }
  TDateTime DateTime() const { return FDateTime; }
  bool Debug() const { return FDebug; }
  bool Patched() const { return FPatched; }
  bool PreRelease() const { return FPreRelease; }
  bool PrivateBuild() const { return FPrivateBuild; }
  bool InfoInferred() const { return FInfoInferred; }
  bool SpecialBuild() const { return FSpecialBuild; }
  Integer OS() const { return FOS; }
  Integer FileSubType() const { return FFileSubType; }
  Integer Charset() const { return FCharset; }
  void SetCharset(Integer Value) { FCharset = Value; }
  Integer Language() const { return FLanguage; }
  void SetLanguage(Integer Value) { FLanguage = Value; }
  String FileVersionString() const;
  String ProductVersionString() const;

 private:
  String FFileName;
  TXRTLNumberVersionInfo FFileVersion, FProductVersion;
  TXRTLFileType FFileType = ftUnknown;
  TDateTime FDateTime = 0;
  bool FDebug = false, FPatched = false, FPreRelease = false, FPrivateBuild = false, FInfoInferred = false,
       FSpecialBuild = false;
  Integer FOS = 0, FFileSubType = 0, FCharset = 0, FLanguage = 0;
};

// The user locale's decimal separator ("." when the locale gives none).
Char LocaleDecimalSeparator();
