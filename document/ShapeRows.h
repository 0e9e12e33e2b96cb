// Object rows: the columns of the 100-cell row that keeps one drawing
// object in the objects table, and the reading and writing of the columns
// every object shares. A row of the objects table (or a preset row) holds
// text cells: integers and Windows colours in decimal, Booleans "-1"/"0",
// floats with "." in their shortest form, free texts escaped.
//
// Reading never raises: a missing cell, or a cell that is not a number,
// reads as 0 / False / empty. Writing pads a row shorter than 70 cells to
// 70 and leaves every column it does not own as it was.
//
// Portable: no Windows header.
#pragma once

#include <vector>

#include "document/ShapeCore.h"
#include "foundation/data/HyDataTable.h"

namespace ShapeCol {
inline constexpr Integer Id = 0;
inline constexpr Integer Type = 1;
inline constexpr Integer Name = 2;
inline constexpr Integer Fixed = 3;
inline constexpr Integer Hided = 4;
inline constexpr Integer Left = 10;
inline constexpr Integer Top = 11;
inline constexpr Integer Right = 12;
inline constexpr Integer Bottom = 13;
inline constexpr Integer Color = 14;
inline constexpr Integer FillColor = 15;
inline constexpr Integer Opacity = 16;
inline constexpr Integer OutWidth = 18;
inline constexpr Integer Angle = 19;
inline constexpr Integer IsOutline = 20;
inline constexpr Integer IsFill = 21;
inline constexpr Integer PenStyle = 22;
inline constexpr Integer StyleId = 24;
inline constexpr Integer CenterX = 25;
inline constexpr Integer CenterY = 26;
inline constexpr Integer ShadowMode = 27;
inline constexpr Integer ReflectMode = 28;
inline constexpr Integer GradientMode = 29;
// lines
inline constexpr Integer LineStartX = 40;
inline constexpr Integer LineStartY = 41;
inline constexpr Integer LineEndX = 42;
inline constexpr Integer LineEndY = 43;
inline constexpr Integer LinePoint2X = 46;
inline constexpr Integer LinePoint2Y = 47;
inline constexpr Integer LinePoint3X = 48;
inline constexpr Integer LinePoint3Y = 49;
inline constexpr Integer ArrowType = 50;
// rectangles, ellipses: the points text
inline constexpr Integer Points = 41;
// the style suffix
inline constexpr Integer ShadowAngle = 70;
inline constexpr Integer ShadowDistance = 71;
inline constexpr Integer ShadowZoomValue = 72;
inline constexpr Integer ShadowBlurSize = 73;
inline constexpr Integer ShadowColor = 74;
inline constexpr Integer ShadowOpacity = 75;
inline constexpr Integer ReflectDistance = 81;
inline constexpr Integer ReflectBlurSize = 83;
inline constexpr Integer ReflectOpacity = 85;
inline constexpr Integer ReflectHeight = 86;
inline constexpr Integer HatchMode = 87;
inline constexpr Integer HatchForeColor = 88;
inline constexpr Integer HatchBackColor = 89;
inline constexpr Integer GradientColor = 90;
inline constexpr Integer GradientOpacity = 91;
inline constexpr Integer GradientPosition = 92;
inline constexpr Integer GradientFillMode = 95;
inline constexpr Integer GradientLinearAngle = 96;
inline constexpr Integer TextureFileName = 97;
inline constexpr Integer EdgingWidth = 98;
inline constexpr Integer GammaCorrected = 99;
}  // namespace ShapeCol

// Rows of this many cells or fewer carry no style suffix.
inline constexpr Integer ShortRowCells = 70;
inline constexpr Integer FullRowCells = 100;
// Cells 70..99 of a row with the default styles.
extern const char16_t* const DefaultStyleSuffix;

// --- cells
String CellText(TRow* Row, Integer Index);
Integer CellInt(TRow* Row, Integer Index);
bool CellBool(TRow* Row, Integer Index);
Single CellSingle(TRow* Row, Integer Index);
void SetCellText(TRow* Row, Integer Index, const String& Text);
void SetCellInt(TRow* Row, Integer Index, Integer Value);
void SetCellBool(TRow* Row, Integer Index, bool Value);
bool RowHasStyles(TRow* Row);

// The shortest text that reads back as the same Single ("50.5", "0.1").
String SingleToText(Single Value);
// An angle rounded to 3 decimals first ("12.346").
String AngleToText(Single Value);
// The text as a float; 0 when it is not a number.
Single TextToSingle(const String& Text);

// --- the shared columns
// Style number, fixed, hidden, colours, opacity, preset numbers, outline
// width, angle, outline and fill flags, pen style.
void ReadCommonColumns(TRow* Row, TShapeCore& S);
// The rectangle (10..13) and the centre (25, 26).
void ReadFrameColumns(TRow* Row, TShapeCore& S);
// Columns 70..99, only when the row has them. EdgingZeroAs15: a stored
// edging width of 0 reads as 15 (rows of the table); presets take it as is.
void ReadStyleColumns(TRow* Row, TShapeCore& S, bool EdgingZeroAs15);
// The common columns, the frame and (when the row has them) 70..99.
void WriteShapeColumns(TRow* Row, const TShapeCore& S);

// --- point texts
// "X.X...Y.Y..." of the points, all X values first.
String PointsToText(const TArrayOfGPPoint& Points);
// The points of such a text; false (Points empty) when a value is not an
// integer or the count of numbers is odd.
bool TextToPoints(const String& Text, TArrayOfGPPoint& Points);

// --- lists inside a cell
// The "/"- or "."-separated parts of a text; an empty text gives one empty
// part (as a table row does).
std::vector<String> SplitCell(const String& Text, Char Separator);
