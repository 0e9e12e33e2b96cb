#include "bitmap/Bmp32_OrdinalMaps.h"

#include <algorithm>

void TIntegerMap::ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  const size_t N = size_t(NewWidth < 0 ? 0 : NewWidth) * size_t(NewHeight < 0 ? 0 : NewHeight);
  if (N == 0)
    std::vector<Integer>().swap(FBits);
  else
    FBits.resize(N, 0);
  TCustomMap::ChangeMapSize(Width, Height, NewWidth, NewHeight);
}

void TIntegerMap::Clear(Integer FillValue) {
  std::fill(FBits.begin(), FBits.end(), FillValue);
  Changed();
}
