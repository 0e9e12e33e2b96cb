// The fill tool's region search and the magic wand's scans: a breadth-first
// search in generations over 4-connected neighbours (left, up, right,
// down) that paints while it searches, and the result re-listed in row
// order. The queue holds packed pixel indices and the visited set is a bit
// map, so a search costs about 1/8 byte per raster pixel plus its frontier.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap/Bmp32.h"
#include "document/Region.h"

struct TFillSearch {
  // Every visited pixel as row runs in row order (the fewest runs).
  std::vector<TRegionRun> Runs;
  // How many pixels were visited.
  Int64 Count = 0;
  // When set before the search: every painted pixel's index (y x width + x)
  // in painting order.
  std::vector<uint32_t>* PaintOrder = nullptr;
  // The largest number of queued pixels at any time.
  size_t PeakQueue = 0;
};

// Paints the region around (X0, Y0) of B whose colours pass the tolerance
// test against SourceColor with FillColor. Nothing for a seed outside B.
void FloodFillSearch(TCustomBitmap32* B, Integer X0, Integer Y0, TColor32 SourceColor, TColor32 FillColor,
                     Integer Tolerance, TFillSearch& Result);

// Every pixel of B, in row order, whose colour passes the tolerance test
// against SourceColor, as row runs.
std::vector<TRegionRun> MatchingRuns(const TCustomBitmap32* B, TColor32 SourceColor, Integer Tolerance);

// Every pixel of Region inside B set to Color (the region clipped to B).
void FillRegionPixels(TCustomBitmap32* B, const TRegion& Region, TColor32 Color);

// The region's pixels, expanded to points in row order.
void RunsToPoints(const std::vector<TRegionRun>& Runs, std::vector<TPoint>& Points);
