// Bitmap engine start-up and shut-down: one explicit call by the program
// block (and by the test programs) before any thread starts.
//
// InitializeBitmapEngine runs, in this order: the platform seams, Bmp32_System (features, timer),
// Bmp32_LowLevel (FillWords32), Bmp32_Blend (slots, tables), the gamma curve
// (0.7 as a Single), the memory backend's temporary folder, then the units
// registered with RegisterEngineUnit in their registration order (the
// resamplers/kernels, transformations and micro-tiles units register there:
// their class lists fill in the fixed order). FinalizeBitmapEngine runs the
// shut-downs in reverse and frees the function registries. Both are
// idempotent.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

void InitializeBitmapEngine();
// Binds the platform seams (system colours, performance counter, tick count,
// processor count, temporary folder) to Win32 in the Winelib build; the
// native build keeps the portable defaults. Called first by the start-up.
void BindBmp32PlatformSeams();
void FinalizeBitmapEngine();
bool BitmapEngineStarted();

// A unit's start-up and shut-down. Register before InitializeBitmapEngine
// (e.g. from the unit's own EnsureXxx function or a test environment); units
// registered after start-up are started at once. Registering the same Init
// twice has no effect.
using TEngineUnitProc = void (*)();
void RegisterEngineUnit(const char* Name, TEngineUnitProc Init, TEngineUnitProc Done);
