#include "bitmap/Bmp32_OrdinalMaps.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "rtl/SizeMath.h"

void TIntegerMap::ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  // As the bitmap's memory: no map of a terabyte or more is asked of the heap,
  // and a refusal is the class library's out-of-memory error (the map keeps
  // its size and cells).
  Int64 N = 0;
  if (!CheckedProduct({std::max(NewWidth, 0), std::max(NewHeight, 0)}, Int64(1) << 38, N))
    throw EOutOfMemory(SOutOfMemory);
  if (N == 0) {
    std::vector<Integer>().swap(FBits);
  } else {
    try {
      FBits.resize(size_t(N), 0);
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory(SOutOfMemory);
    } catch (const std::length_error&) {
      throw EOutOfMemory(SOutOfMemory);
    }
  }
  TCustomMap::ChangeMapSize(Width, Height, NewWidth, NewHeight);
}

void TIntegerMap::Clear(Integer FillValue) {
  std::fill(FBits.begin(), FBits.end(), FillValue);
  Changed();
}
