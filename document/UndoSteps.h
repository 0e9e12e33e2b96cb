// The undo history's store: one row per step in the undo table (cell 4 the
// step's state name, the row's data the step table), each step table a copy
// of the objects table with the heavy parts that changed since the step
// before. A part that did not change is found again by searching backwards.
//
// Where a step keeps its heavy parts:
//   the step table's data     a copy of the working raster
//   an object row's data      a picture object's picture, or a selection's
//                             lifted picture
//   an object row's data 2, 3 a selection's alias and node points
//   an object row's data 4    a selection's region (cell 40 is 1 then)
// Each is a TUndoPart, freed with its step.
//
// Portable: no Windows header.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bitmap/Bmp32.h"
#include "document/Region.h"
#include "foundation/data/HyDataTable.h"

class TUndoPart {
 public:
  virtual ~TUndoPart() = default;
};

template <class T>
class TUndoHolder : public TUndoPart {
 public:
  explicit TUndoHolder(T V) : Value(std::move(V)) {}
  T Value;
};
using TUndoBitmap = TUndoHolder<std::unique_ptr<TCustomBitmap32>>;
using TUndoRegion = TUndoHolder<TRegion>;
using TUndoPoints = TUndoHolder<std::vector<TPoint>>;

namespace UndoCell {
inline constexpr Integer StateName = 4;
// selection rows of a step table
inline constexpr Integer Region = 40;
inline constexpr Integer Lifted = 41;
inline constexpr Integer AliasCount = 42;
inline constexpr Integer NodeCount = 43;
inline constexpr Integer NodeAntialiasing = 44;
}  // namespace UndoCell

namespace UndoProp {
inline constexpr Integer ToolType = 39;
inline constexpr Integer SelectedIds = 40;
}  // namespace UndoProp

// Below this much available physical memory a history of 5 steps or more
// drops its oldest step when a new one is recorded.
inline constexpr Int64 UndoLowMemory = 377487360;

// A copy of a raster as a memory bitmap.
std::unique_ptr<TCustomBitmap32> CopyOfBitmap(const TCustomBitmap32* Source);

// A new step table: the objects table's property row and rows, no heavy part.
TDataTable* NewStepTable(TDataTable* Objects);
TDataTable* StepTable(TDataTable* UndoDT, Integer Index);
// Frees every heavy part of a step table (the table stays).
void ClearUndo(TDataTable* Step);
// Frees the step at Index (parts and table) and removes its row.
void RemoveStep(TDataTable* UndoDT, Integer Index);
// Frees every step.
void ClearHistory(TDataTable* UndoDT);

// Records Step after UndoIndex: drops the redo steps, applies the memory rule
// (AvailMemory() below UndoLowMemory with 5 steps or more: the oldest step
// goes, its heavy parts first handed to the next step where that step has
// none of its own), appends the step and moves UndoIndex to it.
void AppendStep(TDataTable* UndoDT, Integer& UndoIndex, TDataTable* Step, const String& StateName,
                const std::function<Int64()>& AvailMemory);

// Moves the heavy parts of From into To wherever To has none of that part
// for the same table or object (From loses them).
void HandHeavyPartsOn(TDataTable* From, TDataTable* To);

// The newest raster copy at or before Index (nil: none).
TCustomBitmap32* FindRaster(TDataTable* UndoDT, Integer Index);

enum class TUndoSlot { Picture, Region, AliasPoints, NodePoints, Lifted };
// The newest step row at or before Index of the object Id that holds the
// part. The search stops at a step without a row for the object, and for
// the lifted picture also at a row whose cell 41 is false.
TRow* FindRowPart(TDataTable* UndoDT, Integer Index, Integer Id, TUndoSlot Slot);
TUndoPart* PartOf(TRow* StepRow, TUndoSlot Slot);
void SetPartOf(TRow* StepRow, TUndoSlot Slot, TUndoPart* Part);

// Empties cell 4 of every step whose cell 4 is S (case-sensitive).
void ClearUndoStateName(TDataTable* UndoDT, const String& S);
