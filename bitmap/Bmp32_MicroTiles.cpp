#include "bitmap/Bmp32_MicroTiles.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Engine.h"
#include "rtl/SysUtils.h"

TUniteTileProc UniteTile = UniteTile_Pas;
TUniteTileGridsExactProc UniteTileGridsExact = UniteTileGridsExact_Pas;

namespace {

Integer SatInt(Int64 V) {
  if (V > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (V < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return static_cast<Integer>(V);
}

void ReallocTiles(TMicroTiles& M, Integer NewCount) {
  if (NewCount <= 0) {
    std::free(M.Tiles);
    M.Tiles = nullptr;
    return;
  }
  void* P = std::realloc(M.Tiles, sizeof(TMicroTile) * static_cast<size_t>(NewCount));
  if (P == nullptr) throw EOutOfMemory(SOutOfMemory);
  M.Tiles = static_cast<PMicroTileArray>(P);
}

inline void GrowUsed(TMicroTiles& M, Integer SX, Integer SY, Integer EX, Integer EY) {
  TRect& U = M.BoundsUsedTiles;
  if (SX < U.Left) U.Left = SX;
  if (SY < U.Top) U.Top = SY;
  if (EX > U.Right) U.Right = EX;
  if (EY > U.Bottom) U.Bottom = EY;
}

}  // namespace

void UniteTile_Pas(TMicroTile& D, TMicroTile S) {
  if (D == MICROTILE_FULL || S == 0 || MicroTileIsEmpty(S)) return;
  if (D == 0 || S == MICROTILE_FULL) {
    D = S;
    return;
  }
  D = PackMicroTile(std::min(MicroTileLeft(D), MicroTileLeft(S)), std::min(MicroTileTop(D), MicroTileTop(S)),
                    std::max(MicroTileRight(D), MicroTileRight(S)), std::max(MicroTileBottom(D), MicroTileBottom(S)));
}

void UniteTileGridsExact_Pas(TMicroTiles& D, const TMicroTiles& S) {
  const TRect& U = S.BoundsUsedTiles;
  const Integer R = std::min(U.Right, D.Columns), B = std::min(U.Bottom, D.Rows);
  for (Integer Y = std::max(U.Top, 0); Y <= B; ++Y)
    for (Integer X = std::max(U.Left, 0); X <= R; ++X)
      UniteTile(D.Tiles[X + Y * D.Columns], S.Tiles[X + Y * S.Columns]);
}

void MicroTilesCreate(TMicroTiles& M) { M = TMicroTiles(); }

void MicroTilesDestroy(TMicroTiles& M) {
  ReallocTiles(M, 0);
  M.Count = 0;
}

void SizeTileGrid(TMicroTiles& M, const TRect& DstRect) {
  M.BoundsRect = DstRect;
  M.Columns = static_cast<Integer>((Cardinal(DstRect.Right) - Cardinal(DstRect.Left)) >> MICROTILE_SHIFT) + 1;
  M.Rows = static_cast<Integer>((Cardinal(DstRect.Bottom) - Cardinal(DstRect.Top)) >> MICROTILE_SHIFT) + 1;
  const Int64 NewCount = Int64(M.Columns + 1) * Int64(M.Rows + 1);
  if (NewCount > std::numeric_limits<Integer>::max()) throw EOutOfMemory(SOutOfMemory);
  ReallocTiles(M, static_cast<Integer>(NewCount));
  M.Count = static_cast<Integer>(NewCount);
  FillTileGrid(M, MICROTILE_EMPTY);
}

void FillTileGrid(TMicroTiles& M, TMicroTile Value) {
  M.BoundsUsedTiles = TRect(M.Columns, M.Rows, 0, 0);
  for (Integer I = 0; I < M.Count; ++I) M.Tiles[I] = Value;
}

void ClearUsedTiles(TMicroTiles& M, TMicroTile Value) {
  const TRect U = M.BoundsUsedTiles;
  if (M.Tiles != nullptr)
    for (Integer Y = U.Top; Y <= U.Bottom; ++Y)
      for (Integer X = U.Left; X <= U.Right; ++X) M.Tiles[X + Y * M.Columns] = Value;
  M.BoundsUsedTiles = TRect(M.Columns, M.Rows, 0, 0);
}

void CopyTileGrid(TMicroTiles& Dst, const TMicroTiles& Src) {
  if (Dst.Tiles != nullptr) ClearUsedTiles(Dst, 0);
  Dst.BoundsRect = Src.BoundsRect;
  Dst.Columns = Src.Columns;
  Dst.Rows = Src.Rows;
  Dst.BoundsUsedTiles = Src.BoundsUsedTiles;
  const Integer OldCount = Dst.Tiles != nullptr ? Dst.Count : 0;
  ReallocTiles(Dst, Src.Count);
  for (Integer I = OldCount; I < Src.Count; ++I) Dst.Tiles[I] = 0;
  Dst.Count = Src.Count;
  const TRect& U = Src.BoundsUsedTiles;
  if (Src.Tiles == nullptr) return;
  for (Integer Y = U.Top; Y <= U.Bottom; ++Y)
    for (Integer X = U.Left; X <= U.Right; ++X) {
      const Integer I = X + Y * Src.Columns;
      Dst.Tiles[I] = Src.Tiles[I];
    }
}

void GrowArea(TRect& Area, Integer Dx, Integer Dy) {
  Int64 DX = Dx, DY = Dy;
  if (Area.Right < Area.Left) DX = -DX;
  if (Area.Bottom < Area.Top) DY = -DY;
  Area.Left = SatInt(Area.Left - DX);
  Area.Top = SatInt(Area.Top - DY);
  Area.Right = SatInt(Area.Right + DX);
  Area.Bottom = SatInt(Area.Bottom + DY);
}

void MarkRectInTiles(TMicroTiles& M, TRect Rect, bool WholeTiles) {
  if (M.Count == 0) return;
  if (Rect.Right < Rect.Left) std::swap(Rect.Left, Rect.Right);
  if (Rect.Bottom < Rect.Top) std::swap(Rect.Top, Rect.Bottom);
  if (Rect.Left < 0) Rect.Left = 0;
  if (Rect.Top < 0) Rect.Top = 0;
  const Integer MaxX = M.Columns << MICROTILE_SHIFT, MaxY = M.Rows << MICROTILE_SHIFT;
  if (Rect.Right > MaxX) Rect.Right = MaxX;
  if (Rect.Bottom > MaxY) Rect.Bottom = MaxY;
  if (Rect.Right < Rect.Left || Rect.Bottom < Rect.Top) return;

  const Integer StartX = Rect.Left >> MICROTILE_SHIFT, StartY = Rect.Top >> MICROTILE_SHIFT;
  const Integer EndX = Rect.Right >> MICROTILE_SHIFT, EndY = Rect.Bottom >> MICROTILE_SHIFT;
  const Integer Cols = M.Columns;
  TMicroTile* T = M.Tiles;

  if (WholeTiles) {
    for (Integer Y = StartY; Y <= EndY; ++Y)
      for (Integer X = StartX; X <= EndX; ++X) T[X + Y * Cols] = MICROTILE_FULL;
  } else {
    const Integer l = Rect.Left & 31, t = Rect.Top & 31, r = Rect.Right & 31, b = Rect.Bottom & 31;
    const Integer ColSpan = EndX - StartX + 1, RowSpan = EndY - StartY + 1;
    if (ColSpan == 1 && RowSpan == 1) {
      UniteTile(T[StartX + StartY * Cols], PackMicroTile(l, t, r, b));
    } else if (ColSpan == 1) {
      UniteTile(T[StartX + StartY * Cols], PackMicroTile(l, t, r, 32));
      for (Integer Y = StartY + 1; Y < EndY; ++Y) UniteTile(T[StartX + Y * Cols], PackMicroTile(l, 0, r, 32));
      UniteTile(T[StartX + EndY * Cols], PackMicroTile(l, 0, r, b));
    } else if (RowSpan == 1) {
      const Integer Row = StartY * Cols;
      UniteTile(T[StartX + Row], PackMicroTile(l, t, 32, b));
      for (Integer X = StartX + 1; X < EndX; ++X) UniteTile(T[X + Row], PackMicroTile(0, t, 32, b));
      UniteTile(T[EndX + Row], PackMicroTile(0, t, r, b));
    } else {
      Integer Row = StartY * Cols;
      UniteTile(T[StartX + Row], PackMicroTile(l, t, 32, 32));
      for (Integer X = StartX + 1; X < EndX; ++X) UniteTile(T[X + Row], PackMicroTile(0, t, 32, 32));
      UniteTile(T[EndX + Row], PackMicroTile(0, t, r, 32));
      for (Integer Y = StartY + 1; Y < EndY; ++Y) {
        Row = Y * Cols;
        UniteTile(T[StartX + Row], PackMicroTile(l, 0, 32, 32));
        for (Integer X = StartX + 1; X < EndX; ++X) T[X + Row] = MICROTILE_FULL;
        UniteTile(T[EndX + Row], PackMicroTile(0, 0, r, 32));
      }
      Row = EndY * Cols;
      UniteTile(T[StartX + Row], PackMicroTile(l, 0, 32, b));
      for (Integer X = StartX + 1; X < EndX; ++X) UniteTile(T[X + Row], PackMicroTile(0, 0, 32, b));
      UniteTile(T[EndX + Row], PackMicroTile(0, 0, r, b));
    }
  }
  GrowUsed(M, StartX, StartY, EndX, EndY);
}

void MarkLineInTiles(TMicroTiles& M, Integer X1, Integer Y1, Integer X2, Integer Y2, Integer LineWidth,
                     bool WholeTiles) {
  const Int64 LW = Int64(LineWidth) * 2;
  const Integer LWI = SatInt(LW);
  if (X1 == X2 || Y1 == Y2) {
    TRect R(X1, Y1, X2, Y2);
    GrowArea(R, LWI, LWI);
    MarkRectInTiles(M, R, WholeTiles);
    return;
  }
  if (M.Count == 0) return;
  // Steps of 32 pixels along the longer axis; the shorter axis advances by
  // (shorter shl 21) div longer in 16.16 per step (the same value as
  // FixedDivide(shorter shl 16, (longer shl 16) div 32)), all in 64 bits.
  Int64 Dx = Int64(X2) - X1, Dy = Int64(Y2) - Y1;
  const Int64 Sx = Dx < 0 ? -1 : 1, Sy = Dy < 0 ? -1 : 1;
  Dx = Dx < 0 ? -Dx : Dx;
  Dy = Dy < 0 ? -Dy : Dy;
  const bool MajorX = Dx > Dy;
  const Int64 Major = MajorX ? Dx : Dy, Minor = MajorX ? Dy : Dx;
  const Int64 MajorStart = MajorX ? X1 : Y1, MinorStart = MajorX ? Y1 : X1;
  const Int64 MajorSign = MajorX ? Sx : Sy, MinorSign = MajorX ? Sy : Sx;
  const Int64 MinorDelta = ((Minor << 21) / Major) * MinorSign;  // 16.16 per step
  const Int64 Steps = (Major + 31) / 32;                          // FixedToIntCeil((Major shl 16) div 32)

  // Only the steps whose span along the major axis reaches the grid (grown
  // by the line width) can mark anything.
  const Int64 GridMax = Int64(MajorX ? M.Columns : M.Rows) * 32;
  Int64 First = 1, Last = Steps;
  // Step I covers the major axis between MajorStart + (I - 1) * 32 * sign and MajorStart + I * 32 * sign.
  auto FloorDiv = [](Int64 A, Int64 B) { Int64 Q = A / B; if ((A % B != 0) && ((A < 0) != (B < 0))) --Q; return Q; };
  if (MajorSign > 0) {
    // need MajorStart + I*32 + LW + 1 >= 0 and MajorStart + (I-1)*32 - LW - 1 <= GridMax
    First = std::max<Int64>(First, FloorDiv(-(MajorStart + LW + 1), 32));
    Last = std::min<Int64>(Last, FloorDiv(GridMax + LW + 1 - MajorStart, 32) + 2);
  } else {
    // positions MajorStart - I*32 .. MajorStart - (I-1)*32
    First = std::max<Int64>(First, FloorDiv(MajorStart - GridMax - LW - 1, 32));
    Last = std::min<Int64>(Last, FloorDiv(MajorStart + LW + 1, 32) + 2);
  }
  if (First < 1) First = 1;
  for (Int64 I = First; I <= Last; ++I) {
    const Int64 Ma0 = (MajorStart << 16) + (I - 1) * 32 * 65536 * MajorSign;
    const Int64 Ma1 = Ma0 + 32 * 65536 * MajorSign;
    const Int64 Mi0 = (MinorStart << 16) + (I - 1) * MinorDelta;
    const Int64 Mi1 = Mi0 + MinorDelta;
    auto RoundFx = [](Int64 V) { return SatInt((V + 0x7FFF) >> 16); };
    TRect R = MajorX ? TRect(RoundFx(Ma0), RoundFx(Mi0), RoundFx(Ma1), RoundFx(Mi1))
                     : TRect(RoundFx(Mi0), RoundFx(Ma0), RoundFx(Mi1), RoundFx(Ma1));
    GrowArea(R, LWI, LWI);
    MarkRectInTiles(M, R, WholeTiles);
  }
}

void UniteTileGrids(TMicroTiles& D, const TMicroTiles& S, bool WholeTiles) {
  if (S.Count == 0 || D.Count == 0) return;
  if (WholeTiles) {
    const TRect& U = S.BoundsUsedTiles;
    const Integer R = std::min(U.Right, D.Columns), B = std::min(U.Bottom, D.Rows);
    for (Integer Y = std::max(U.Top, 0); Y <= B; ++Y)
      for (Integer X = std::max(U.Left, 0); X <= R; ++X) {
        TMicroTile& DT = D.Tiles[X + Y * D.Columns];
        if (DT != MICROTILE_FULL && !MicroTileIsEmpty(S.Tiles[X + Y * S.Columns])) DT = MICROTILE_FULL;
      }
  } else {
    UniteTileGridsExact(D, S);
  }
  const TRect& U = S.BoundsUsedTiles;
  GrowUsed(D, U.Left, U.Top, U.Right, U.Bottom);
}

Integer TilesToRects(const TMicroTiles& M, TRectList* DstRects, bool JustCount, bool WholeTiles) {
  return TilesToRects(M, DstRects, M.BoundsRect, JustCount, WholeTiles);
}

Integer TilesToRects(const TMicroTiles& M, TRectList* DstRects, const TRect& Clip, bool JustCount, bool WholeTiles) {
  const TRect U = M.BoundsUsedTiles;
  if (M.Count == 0 || U.Right < U.Left || U.Bottom < U.Top) return 0;
  auto Lim = [](Integer V, Integer Lo, Integer Hi) { return V < Lo ? Lo : (V > Hi ? Hi : V); };
  // One entry per slot: the spare column aliases column 0 of the next row, so
  // indexes up to Count - 1 can occur.
  std::vector<TRect> Rects;
  std::vector<Integer> Index(static_cast<size_t>(M.Count), -1);
  const Integer Cols = M.Columns;
  const TMicroTile* T = M.Tiles;
  for (Integer Y = U.Top; Y <= U.Bottom; ++Y) {
    Integer X = U.Left;
    while (X <= U.Right) {
      const Integer Start = X + Y * Cols;
      const TMicroTile Tile = T[Start];
      if (Tile == 0) {
        ++X;
        continue;
      }
      TRect R;
      if (WholeTiles) {
        R.Top = Lim(Y * 32, Clip.Top, Clip.Bottom);
        R.Bottom = Lim(Y * 32 + 32, Clip.Top, Clip.Bottom);
        R.Left = Lim(X * 32, Clip.Left, Clip.Right);
        Integer Last = X;
        while (Last + 1 <= U.Right && T[Last + 1 + Y * Cols] != 0) ++Last;
        R.Right = Lim((Last + 1) * 32, Clip.Left, Clip.Right);
        X = Last + 1;
      } else {
        const Integer tl = MicroTileLeft(Tile), tt = MicroTileTop(Tile), tr = MicroTileRight(Tile),
                      tb = MicroTileBottom(Tile);
        R.Top = Lim(Y * 32 + tt, Clip.Top, Clip.Bottom);
        R.Bottom = Lim(Y * 32 + tb, Clip.Top, Clip.Bottom);
        R.Left = Lim(X * 32 + tl, Clip.Left, Clip.Right);
        Integer Last = X;
        TMicroTile LastTile = Tile;
        if (tr == 32) {
          while (Last + 1 <= U.Right) {
            const TMicroTile N = T[Last + 1 + Y * Cols];
            if (N == 0 || MicroTileLeft(N) != 0 || MicroTileTop(N) != tt || MicroTileBottom(N) != tb) break;
            ++Last;
            LastTile = N;
          }
        }
        R.Right = Lim(Last * 32 + MicroTileRight(LastTile), Clip.Left, Clip.Right);
        X = Last + 1;
      }
      const bool HasNextRow = Y < U.Bottom && Start + Cols < M.Count;
      const Integer Prev = Index[Start];
      if (Prev >= 0 && Rects[Prev].Left == R.Left && Rects[Prev].Right == R.Right && Rects[Prev].Bottom == R.Top) {
        Rects[Prev].Bottom = R.Bottom;
        if (HasNextRow) Index[Start + Cols] = Prev;
      } else {
        Rects.push_back(R);
        if (HasNextRow) Index[Start + Cols] = static_cast<Integer>(Rects.size()) - 1;
      }
    }
  }
  if (!JustCount && DstRects != nullptr)
    for (const TRect& R : Rects) DstRects->Add(R);
  return static_cast<Integer>(Rects.size());
}

// ---------------------------------------------------------------------------
// TMicroTilesMap

TMicroTilesMap::~TMicroTilesMap() { Clear(); }

PPData TMicroTilesMap::Add(void* Item) {
  bool IsNew;
  PPData Slot = TPointerMap::Add(Item, IsNew);
  if (IsNew) {
    auto* Rec = new TMicroTiles();
    *Slot = Rec;
  }
  return Slot;
}

void* TMicroTilesMap::RemoveAt(Integer BucketIndex, Integer ItemIndex) {
  // Clear zeroes the count before it walks the entries, so the base removes
  // nothing then; the record is freed here in every case.
  void* Data = TPointerMap::RemoveAt(BucketIndex, ItemIndex);
  auto* Rec = static_cast<PMicroTiles>(Data);
  if (Rec != nullptr) {
    MicroTilesDestroy(*Rec);
    delete Rec;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Start-up

namespace {
TFunctionRegistry* MicroTilesRegistry = nullptr;
}

void InitMicroTiles() {
  MicroTilesRegistry = CreateRegistry(u"Bmp32_MicroTiles bindings");
  MicroTilesRegistry->RegisterBinding(FID_UNITETILE, &UniteTile);
  MicroTilesRegistry->RegisterBinding(FID_UNITETILEGRIDSEXACT, &UniteTileGridsExact);
  MicroTilesRegistry->Add(FID_UNITETILE, &UniteTile_Pas);
  MicroTilesRegistry->Add(FID_UNITETILEGRIDSEXACT, &UniteTileGridsExact_Pas);
  MicroTilesRegistry->RebindAll();
}

void DoneMicroTiles() {
  MicroTilesRegistry = nullptr;  // the registry itself is freed with all registries
  UniteTile = UniteTile_Pas;
  UniteTileGridsExact = UniteTileGridsExact_Pas;
}

namespace {
const bool MicroTilesRegistered = (RegisterEngineUnit("Bmp32_MicroTiles", InitMicroTiles, DoneMicroTiles), true);
}
