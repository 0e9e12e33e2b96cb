// Masks to region data: the black-run scan of a 24-bit mask and the layout of
// the region data that the platform's region constructor takes (a 32-byte
// header, then 16 bytes per rectangle), and the merging of runs that makes a
// region of many runs cheap to build.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

inline constexpr Integer RegionHeaderSize = 32;
inline constexpr Integer RegionRectSize = 16;

// The runs of black pixels (r + g + b = 0) of 24-bit rows (b, g, r bytes,
// top-down, RowInc bytes apart), each a one-pixel-high rectangle moved by the
// offset, row by row and left to right. Any number of runs.
void ScanMaskRuns(const Byte* Bits, Integer Width, Integer Height, Integer RowInc, Integer XOffset, Integer YOffset,
                  std::vector<TRect>& Runs);

// Region data of the rectangles with the bounding rectangle Bound in the header.
std::vector<Byte> MakeRegionData(const std::vector<TRect>& Rects, const TRect& Bound);
// The rectangles of region data; false when the block is not region data of
// rectangles (short, wrong header, a count beyond the block).
bool ReadRegionData(const Byte* Data, size_t Size, std::vector<TRect>& Rects);

// The same point set in fewer rectangles: empty ones dropped, rectangles of
// equal columns that touch vertically merged; the result ordered by top, then
// left.
void MergeVerticalRuns(std::vector<TRect> Rects, std::vector<TRect>& Out);
