// Engine start-up and shut-down.
#include "bitmap/Bmp32_Engine.h"

#include <cstring>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/Bmp32_System.h"

namespace {
struct TEngineUnit {
  const char* Name;
  TEngineUnitProc Init;
  TEngineUnitProc Done;
  bool Started;
};
std::vector<TEngineUnit>& Units() {
  static std::vector<TEngineUnit> units;
  return units;
}
bool GStarted = false;

void RecordTempFolder() {
  String p = GetTempPathProc ? GetTempPathProc() : String();
  if (p.size() > 260) p.resize(260);
  if (!p.empty() && p.back() != u'\\' && p.back() != u'/') p.push_back(u'\\');
  TempFolderPath = p;
}
}  // namespace

void RegisterEngineUnit(const char* Name, TEngineUnitProc Init, TEngineUnitProc Done) {
  for (auto& u : Units())
    if (u.Init == Init) return;
  Units().push_back(TEngineUnit{Name, Init, Done, false});
  if (GStarted && Init) {
    Init();
    Units().back().Started = true;
  }
}

void InitializeBitmapEngine() {
  if (GStarted) return;
  BindBmp32PlatformSeams();
  InitializeBmp32System();
  InitializeBmp32LowLevel();
  InitializeBmp32Blend();
  BuildGammaCurve(DefaultGamma);
  RecordTempFolder();
  InitResamplers();  // resampler classes (fixed order), kernels, their slots
  GStarted = true;
  for (auto& u : Units())
    if (!u.Started && u.Init) {
      u.Init();
      u.Started = true;
    }
}

void FinalizeBitmapEngine() {
  if (!GStarted) return;
  auto& units = Units();
  for (auto it = units.rbegin(); it != units.rend(); ++it)
    if (it->Started) {
      if (it->Done) it->Done();
      it->Started = false;
    }
  DoneResamplers();
  FinalizeBmp32Blend();
  FreeRegistries();
  FinalizeBmp32System();
  GStarted = false;
}

bool BitmapEngineStarted() { return GStarted; }
