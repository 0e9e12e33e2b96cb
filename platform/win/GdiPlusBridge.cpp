// Bridge functions of the GDI+ flat table (see GdiPlusBridge.h): the parts
// install themselves once the library is loaded.
#include "platform/GdiPlusBridge.h"

#include <mutex>

#include "platform/win/GdiPlusBridgeParts.h"

namespace gdipflat {

namespace {

bool Installed = false;
std::once_flag InstallOnce;

void Install() {
  bridge::InstallSurfaces();
  bridge::InstallPaths();
  bridge::InstallGradients();
  bridge::InstallDrawingRecorders();
  Installed = true;
}

}  // namespace

bool LoadGdiPlus(const char** Error) {
  if (!LoadLibGdiPlus(Error)) return false;
  std::call_once(InstallOnce, Install);
  return Installed;
}

int BridgeSurfaceCount() { return bridge::SurfaceCount(); }
int SetBridgePaintThreads(int N) { return bridge::SetPaintThreads(N); }

}  // namespace gdipflat
