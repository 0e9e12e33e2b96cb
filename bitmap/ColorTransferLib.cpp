// Transfer curves of the colour balance.
#include "bitmap/ColorTransferLib.h"

#include "bitmap/Bmp32_Engine.h"

Double ShadowsAdd[256];
Double ShadowsSub[256];
Double MidtonesAdd[256];
Double MidtonesSub[256];
Double HighlightsAdd[256];
Double HighlightsSub[256];

namespace {
const bool TransferRegistered = (RegisterEngineUnit("ColorTransferLib", InitializeColorTransfer, nullptr), true);
}

void InitializeColorTransfer() {
  (void)TransferRegistered;
  for (int i = 0; i < 256; ++i) {
    double t = (double(i) - 127.0) / 127.0;
    double mid = 0.667 * (1.0 - t * t);
    ShadowsAdd[i] = MidtonesAdd[i] = MidtonesSub[i] = HighlightsSub[i] = mid;
    double edge = 1.075 - 1.0 / (double(i) / 16.0 + 1.0);
    HighlightsAdd[i] = edge;
    ShadowsSub[255 - i] = edge;
  }
}
