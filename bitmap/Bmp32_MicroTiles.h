// Bmp32_MicroTiles: dirty-area bookkeeping in 32 x 32 pixel tiles.
// Each tile holds, packed in 32 bits (Left, Top, Right, Bottom bytes, 0..32,
// relative to the tile, Right/Bottom exclusive), the smallest dirty rectangle
// inside it. Rectangles and thick lines are marked into a grid, grids are
// united, and a grid turns back into a short rectangle list (TilesToRects).
// TMicroTilesMap keeps one grid per key (a layer). The call slots UniteTile
// and UniteTileGridsExact are bound through "Bmp32_MicroTiles bindings".
// Portable: no Windows header.
#pragma once

#include <cstdint>

#include "bitmap/Bmp32_Containers.h"
#include "bitmap/Bmp32_Bindings.h"
#include "rtl/System.h"

using TMicroTile = std::uint32_t;
using PMicroTile = TMicroTile*;
using PMicroTileArray = TMicroTile*;

inline constexpr Integer MICROTILE_SHIFT = 5;
inline constexpr Integer MICROTILE_SIZE = 32;
inline constexpr TMicroTile MICROTILE_EMPTY = 0;
inline constexpr TMicroTile MICROTILE_FULL = 0x00002020;  // (0, 0, 32, 32)

struct TMicroTiles {
  TRect BoundsRect;
  Integer Columns = 0;
  Integer Rows = 0;
  TRect BoundsUsedTiles;  // tile indexes, inclusive; none used = (Columns, Rows, 0, 0)
  Integer Count = 0;      // slots allocated: (Columns + 1) * (Rows + 1)
  PMicroTileArray Tiles = nullptr;
};
using PMicroTiles = TMicroTiles*;
using PPMicroTiles = TMicroTiles**;

constexpr TMicroTile PackMicroTile(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  return (TMicroTile(Left) << 24) | (TMicroTile(Top) << 16) | (TMicroTile(Right) << 8) | TMicroTile(Bottom);
}
constexpr Integer MicroTileLeft(TMicroTile T) { return Integer(T >> 24); }
constexpr Integer MicroTileTop(TMicroTile T) { return Integer((T >> 16) & 0xFF); }
constexpr Integer MicroTileRight(TMicroTile T) { return Integer((T >> 8) & 0xFF); }
constexpr Integer MicroTileBottom(TMicroTile T) { return Integer(T & 0xFF); }
// 0, or a zero-width or zero-height rectangle.
constexpr bool MicroTileIsEmpty(TMicroTile T) {
  return T == 0 || MicroTileLeft(T) == MicroTileRight(T) || MicroTileTop(T) == MicroTileBottom(T);
}

// A zeroed record without tile block / the block given back.
void MicroTilesCreate(TMicroTiles& M);
void MicroTilesDestroy(TMicroTiles& M);
void SizeTileGrid(TMicroTiles& M, const TRect& DstRect);
void FillTileGrid(TMicroTiles& M, TMicroTile Value);
void ClearUsedTiles(TMicroTiles& M, TMicroTile Value = MICROTILE_EMPTY);
void CopyTileGrid(TMicroTiles& Dst, const TMicroTiles& Src);

void MarkRectInTiles(TMicroTiles& M, TRect Rect, bool WholeTiles = false);
// Extents of any size are handled (64-bit steps; only the steps that can
// reach the grid are marked).
void MarkLineInTiles(TMicroTiles& M, Integer X1, Integer Y1, Integer X2, Integer Y2, Integer LineWidth,
                     bool WholeTiles = false);
void UniteTileGrids(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles, bool WholeTiles);
Integer TilesToRects(const TMicroTiles& M, TRectList* DstRects, const TRect& Clip, bool JustCount = false,
                     bool WholeTiles = false);
Integer TilesToRects(const TMicroTiles& M, TRectList* DstRects, bool JustCount = false, bool WholeTiles = false);

// Grows Area outwards by Dx, Dy whatever its orientation (saturating at the
// Integer range).
void GrowArea(TRect& Area, Integer Dx, Integer Dy);

// Call slots (bound at start-up).
using TUniteTileProc = void (*)(TMicroTile& DstTile, TMicroTile SrcTile);
using TUniteTileGridsExactProc = void (*)(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles);
extern TUniteTileProc UniteTile;
extern TUniteTileGridsExactProc UniteTileGridsExact;
inline constexpr TFunctionID<TUniteTileProc> FID_UNITETILE{0};
inline constexpr TFunctionID<TUniteTileGridsExactProc> FID_UNITETILEGRIDSEXACT{1};
void UniteTile_Pas(TMicroTile& DstTile, TMicroTile SrcTile);
void UniteTileGridsExact_Pas(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles);

// Creates the registry "Bmp32_MicroTiles bindings" and binds the slots;
// called by the engine's start-up. Slots are bound to the portable routines
// even before that.
void InitMicroTiles();
void DoneMicroTiles();

// Per key (a layer) a heap TMicroTiles record; removing an entry (Remove,
// Clear, destruction) frees the record and its tile block.
class TMicroTilesMap : public TPointerMap {
 public:
  ~TMicroTilesMap() override;
  // Address of the item's data slot; a new item gets a zeroed record.
  PPData Add(void* Item);
  PMicroTiles Data(void* Item) { return static_cast<PMicroTiles>(DataOf(Item)); }
  void Delete(void* Item) { Remove(Item); }

 protected:
  void* RemoveAt(Integer BucketIndex, Integer ItemIndex) override;
};
