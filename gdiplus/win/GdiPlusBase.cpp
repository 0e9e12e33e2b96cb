// Records, start-up and shut-down, the shared objects and the assertion of
// the GDI+ object layer.
#include <cstdlib>
#include <cstring>

#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"
#include "platform/GdiPlusBridge.h"
#include "rtl/SysUtils.h"

using namespace gdipflat;

bool operator==(const TGUID& A, const TGUID& B) { return std::memcmp(&A, &B, sizeof(TGUID)) == 0; }

const TGUID ImageFormatBMP = {0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
const TGUID ImageFormatJPEG = {0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
const TGUID ImageFormatPNG = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
const TGUID ImageFormatGIF = {0xB96B3CB0, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
const TGUID ImageFormatTIFF = {0xB96B3CB1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
const TGUID EncoderQuality = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};
const TGUID EncoderColorDepth = {0x66087055, 0xAD66, 0x4C7C, {0x9A, 0x18, 0x38, 0xA2, 0x31, 0x0B, 0x83, 0x37}};

// ---------------------------------------------------------------------------
// Records

TGPPointF MakeGPPointF(Single X, Single Y) { return TGPPointF{X, Y}; }
TGPPoint MakeGPPoint(Integer X, Integer Y) { return TGPPoint{X, Y}; }
TGPRectF MakeGPRectF(Single X, Single Y, Single W, Single H) { return TGPRectF{X, Y, W, H}; }
TGPRect MakeGPRect(Integer X, Integer Y, Integer W, Integer H) { return TGPRect{X, Y, W, H}; }
TGPPointF& MakeGPPointF(TGPPointF& P, Single X, Single Y) { return P = TGPPointF{X, Y}; }
TGPPoint& MakeGPPoint(TGPPoint& P, Integer X, Integer Y) { return P = TGPPoint{X, Y}; }
TGPRectF& MakeGPRectF(TGPRectF& R, Single X, Single Y, Single W, Single H) { return R = TGPRectF{X, Y, W, H}; }
TGPRect& MakeGPRect(TGPRect& R, Integer X, Integer Y, Integer W, Integer H) { return R = TGPRect{X, Y, W, H}; }
TGPRect GPRectFromRect(const TRect& R) {
  return TGPRect{R.Left, R.Top, Integer(int64_t(R.Right) - R.Left), Integer(int64_t(R.Bottom) - R.Top)};
}
Integer GPRectRight(const TGPRect& R) { return Integer(int64_t(R.X) + R.Width); }
Integer GPRectBottom(const TGPRect& R) { return Integer(int64_t(R.Y) + R.Height); }
TGPColor MakeGPColor(Byte A, Byte R, Byte G, Byte B) {
  return TGPColor((Cardinal(A) << 24) | (Cardinal(R) << 16) | (Cardinal(G) << 8) | Cardinal(B));
}
TGPColor GPColorFromRGB(Byte R, Byte G, Byte B) { return MakeGPColor(255, R, G, B); }
TGPColor ArgbToGPColor(Cardinal Argb) { return TGPColor(Argb); }
TGPColor GPColorFromArgb(Cardinal Argb) { return TGPColor(Argb); }
Cardinal GPColorToArgb(TGPColor Color) { return Color.FArgb; }

// ---------------------------------------------------------------------------
// Assertion

void GdiPlusAssertFailed(int Line) {
  throw EAssertionFailed(Format(String(SAssertError), {String(SAssertionFailed), String(u"GdiPlus"), Line}));
}

TGPBuffer::~TGPBuffer() { std::free(FData); }

// ---------------------------------------------------------------------------
// Start-up, shut-down and the shared objects

namespace gdiplus_shared {

SRWLOCK Lock = SRWLOCK_INIT;
TGPFontFamily* FamilySansSerif = nullptr;
TGPFontFamily* FamilySerif = nullptr;
TGPFontFamily* FamilyMonospace = nullptr;
TGPStringFormat* FormatDefault = nullptr;
TGPStringFormat* FormatTypographic = nullptr;
TGPImageFormat* Encoders[5] = {};  // BMP, JPEG, GIF, TIFF, PNG
bool EncodersFilled = false;

namespace {
uintptr_t Token = 0;
bool Started = false;
// libgdiplus is started once per process and never shut down: its shutdown
// finalises fontconfig, which Wine's own font code in the same process still
// holds, and fontconfig then aborts the process (an assertion in its cache
// clean-up) whenever Wine has cached fonts at that moment.
bool LibraryStarted = false;

template <class T>
void ReleaseShared(T*& P) {
  if (P != nullptr) P->_Release();
  P = nullptr;
}
}  // namespace


}  // namespace gdiplus_shared

void GdiPlusStartup() {
  using namespace gdiplus_shared;
  if (Started) return;
  const char* err = nullptr;
  if (!LoadGdiPlus(&err)) {
    const std::string e = err ? err : "libgdiplus cannot be loaded";
    throw Exception(String(e.begin(), e.end()));
  }
  EncodersFilled = false;
  if (!LibraryStarted) {
    GdiplusStartupInput in{1, nullptr, 0, 0};
    Token = 0;
    Gp.GdiplusStartup(&Token, &in, nullptr);
    LibraryStarted = true;
  }
  Started = true;
}

void GdiPlusShutdown() {
  using namespace gdiplus_shared;
  if (!Started) return;
  ReleaseShared(FamilySansSerif);
  ReleaseShared(FamilySerif);
  ReleaseShared(FamilyMonospace);
  for (auto*& e : Encoders) ReleaseShared(e);
  EncodersFilled = false;
  ReleaseShared(FormatDefault);
  ReleaseShared(FormatTypographic);
  // The library itself stays up (see LibraryStarted).
  Started = false;
}

bool GdiPlusStarted() { return gdiplus_shared::Started; }
