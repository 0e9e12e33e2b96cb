// The native build keeps the portable defaults of the platform seams.
#include "bitmap/Bmp32_Engine.h"

void BindBmp32PlatformSeams() {}
