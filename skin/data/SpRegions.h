// Masks to region data: the black-run scan of a mask and the layout of
// the region data that the platform's region constructor takes (a 32-byte
// header, then 16 bytes per rectangle), and the merging of runs that makes a
// region of many runs cheap to build.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"
#include "skin/data/SpImagePlan.h"

inline constexpr Integer RegionHeaderSize = 32;
inline constexpr Integer RegionRectSize = 16;

// The runs of black pixels (r + g + b = 0) of 32-bit rows ($00RRGGBB, the
// top byte ignored; top-down, Stride pixels apart), each a one-pixel-high
// rectangle moved by the offset, row by row and left to right. Any number of
// runs. (The platform side reads a mask of any format as such rows, a
// palettised one through its palette.)
void ScanMaskRuns(const Cardinal* Pixels, Integer Width, Integer Height, Integer Stride, Integer XOffset,
                    Integer YOffset, std::vector<TRect>& Runs);

// Region data of the rectangles with the bounding rectangle Bound in the header.
std::vector<Byte> MakeRegionData(const std::vector<TRect>& Rects, const TRect& Bound);
// The rectangles of region data; false when the block is not region data of
// rectangles (short, wrong header, a count beyond the block).
bool ReadRegionData(const Byte* Data, size_t Size, std::vector<TRect>& Rects);

// The same point set in fewer rectangles: empty ones dropped, rectangles of
// equal columns that touch vertically merged; the result ordered by top, then
// left.
void MergeVerticalRuns(std::vector<TRect> Rects, std::vector<TRect>& Out);

// Runs a plan of same-size copies on 32-bit pixels: Dst (DstWidth x
// DstHeight) from Src (SrcWidth x SrcHeight) as the platform's block copies
// do it: only the pixels whose source lies inside Src and whose destination
// lies inside Dst and the clips are written. False, with nothing written,
// when the plan would stretch (a copy between rectangles of different sizes,
// or a stretch operation): those go to canvases.
bool RunCopyPlan(const TspPlan& Plan, Cardinal* Dst, Integer DstWidth, Integer DstHeight, const Cardinal* Src,
                 Integer SrcWidth, Integer SrcHeight);

// The black runs of the border strips that the mask variant of the border
// strip builder cuts from Mask (32-bit pixels of MaskWidth x MaskHeight, the
// skin rect's size), each strip white where nothing is copied and placed
// where the frame region puts it: the top strip at (0, 0), the bottom one at
// (0, NewClRect.Bottom), the side ones at (0, NewClRect.Top) and
// (NewClRect.Right, NewClRect.Top). Strips: how many strips are made. False
// when a strip's plan would stretch (the caller then makes the strips on
// canvases).
bool FrameStripRuns(const TspNineSlice& A, const Cardinal* Mask, Integer MaskWidth, Integer MaskHeight,
                    std::vector<TRect>& Runs, Integer& Strips);
