// The Bezier shape's node table and its arithmetic: creation node by node,
// sampling, bounds and fractions, hit tests, node and tangent drags, skew,
// node insertion by de Casteljau, deletion, breaking, closing, tangent
// commands, appending another path, and the table's text form stored in
// the object's row. Portable: no Windows header; TImgFreeShape
// (document/win/ImageFreeShape.h) draws and edits through these.
//
// One row per segment: start node, first control point, second control
// point, end node (the end equals the next row's start). Node handle 2i is
// the start of row i, 2i + 1 its end (only the last row's end of an open
// path exists on its own).
#pragma once

#include <array>
#include <vector>

#include "document/DuVura.h"

struct TBezierRow {
  std::array<TPoint, 4> P{};           // start, control 1, control 2, end
  bool Smooth = true;                  // the start node keeps its tangents on one line
  bool SelStart = false, SelEnd = false;
  std::array<TFloatPoint, 4> R{};      // P as fractions of the shape's rectangle
};

struct TBezierPath {
  std::vector<TBezierRow> Rows;
  bool Closed = false;
  Integer ControlMode = 2;          // 2 nodes, 1 frame, 4 skew
  Integer SelectPointIndex = -2;    // -2 while created, -1 none
};

// --- creation

struct TBezierCreation {
  Integer Index = -1;               // the row being drawn
  TPoint LastPoint;
  bool FinalPointAdding = false;    // the next node closes the path
};
// A press at (X, Y): a node at the first node's position when closing;
// nothing at the previous node's position; otherwise the previous row ends
// there and a new row starts.
void BezierAddNewPoint(TBezierPath& Path, TBezierCreation& C, Integer X, Integer Y);
// The drag after a press: the new node's outgoing tangent at (X, Y), the
// incoming one mirrored through the node at the same distance.
void BezierSetControlPoint(TBezierPath& Path, const TBezierCreation& C, Integer X, Integer Y);
// The end of the drawing: the unfinished last row goes; a closing drawing
// closes the path with a smooth first node.
void BezierCreateOver(TBezierPath& Path, TBezierCreation& C);
// Pt within 3 pixels of the first row's start (the last row's end).
bool BezierPtInFirstPoint(const TBezierPath& Path, const TPoint& Pt);
bool BezierPtInLastPoint(const TBezierPath& Path, const TPoint& Pt);

// --- samples, bounds, fractions

struct TBezierSamples {
  std::vector<TArrayOfPoint> Rows;
  std::vector<std::vector<Single>> Ts;
  TArrayOfPoint All;
  // Per row: the points it was sampled from (a row whose points did not
  // change keeps its samples) and the inclusive bounds of its samples.
  std::vector<std::array<TPoint, 4>> Keys;
  std::vector<TRect> Bounds;
};
// The cubic at t, each coordinate rounded.
TPoint BezierPointAt(const TBezierRow& Row, long double T);
// 101 samples per row, or n + 1 when the larger side n of their box
// exceeds 101.
void BezierSample(const TBezierPath& Path, TBezierSamples& S);
// Inclusive bounds of all samples.
TRect BezierRect(const TBezierSamples& S);
// Every row's fractions of Rect (0 along an empty extent).
void BezierCalcRatios(TBezierPath& Path, const TRect& Rect);
// Every row's points from its fractions (frame and skew modes).
void BezierCalcPoints(TBezierPath& Path, const TRect& Rect);
// Every point turned by Angle about Centre.
void BezierRotate(TBezierPath& Path, const TFloatPoint& Centre, Single Angle);
void BezierOffset(TBezierPath& Path, TBezierSamples& S, Integer DX, Integer DY);

// --- hit tests

struct TBezierHitInput {
  TRect Rect;
  TFloatPoint Centre;
  Single Angle = 0;
  bool Filled = false;
  bool FrameSelected = false;  // frame or skew mode, selected: the whole rectangle
  Integer OutWidth = 0;
};
// The point turned back by -Angle; frame mode or filled: inside Rect (right
// and bottom + 1), filled by the even-odd rule on all samples; otherwise a
// sample within OutWidth div 2 + 1, inside Rect grown by that tolerance.
bool BezierHitTest(const TBezierSamples& S, const TBezierHitInput& In, const TPoint& P);
// The curve point for an insertion: inside Rect grown by 10, the first row
// with a sample nearer than 4; the nearest of its run.
bool BezierPtInPath(const TBezierSamples& S, const TRect& Rect, const TPoint& P, TPoint& Added, Integer& Row,
                    Single& T);

// --- selection and drags

// True when the value changed. Ctrl adds the node; otherwise it is alone.
bool BezierSelectPoint(TBezierPath& Path, Integer Value, bool Ctrl);
Integer BezierSelectedCount(const TBezierPath& Path);
// The row before node p's row: r - 1, the last row for r = 0 on a closed
// path, -1 for the first row of an open path.
Integer BezierPrevRow(const TBezierPath& Path, Integer Row);
// The node of handle p, and the control point of tangent 0..3 of node p.
bool BezierNodeOf(const TBezierPath& Path, Integer Handle, TPoint& P);
bool BezierTangentOf(const TBezierPath& Path, Integer Handle, Integer Tangent, TPoint& P);
// Selected nodes and their tangents moved by (DX, DY) from Backup.
void BezierDragNodes(TBezierPath& Path, const TBezierPath& Backup, Integer DX, Integer DY);
// Tangent 0..3 of node p set to Q; a smooth node (or Ctrl) turns the
// opposite tangent through the node at its own length; tangents 0 and 3
// make the neighbouring node a corner.
void BezierDragTangent(TBezierPath& Path, Integer Handle, Integer Tangent, const TPoint& Q, bool Ctrl);
// Skew of Backup by an edge handle (5 top, 6 bottom, 7 left, 8 right)
// about Rect's centre; nothing along an empty extent.
void BezierSkew(TBezierPath& Path, const TBezierPath& Backup, Integer Handle, const TRect& Rect, Integer DX,
                Integer DY);

// --- node commands

// A smooth node at Added, found on Row at parameter T; the new node becomes
// the selected one.
void BezierAddNode(TBezierPath& Path, Integer Row, Single T, const TPoint& Added);
// The selected nodes' rows removed, inner rows merged with the previous
// one; removing the first or last row opens the path. False when no row
// is left.
bool BezierDeleteSelected(TBezierPath& Path);
// A closed path opened at the current node, its ends 2 pixels apart.
void BezierBreakNode(TBezierPath& Path);
// The last row's end on the first node, its control point along.
void BezierCloseShape(TBezierPath& Path);
// Tangents of the selected nodes collapsed onto them; false when nothing
// changed.
bool BezierHideTangent(TBezierPath& Path);
// Selected nodes smooth or corner; false when nothing changed.
bool BezierSetCommonTangent(TBezierPath& Path, bool Value);
// Other's rows continue this path at its last node, or (FromStart) run
// reversed into its first node.
void BezierAppend(TBezierPath& Path, TBezierPath& Other, bool FromStart);

// --- text of the row

// The table text (properties: 0 control mode, 1 selected node, 9 closed)
// with "<" for "," and ">" for "|".
String BezierPathText(const TBezierPath& Path);
// The path of such a text; short rows read their missing cells as 0. False
// (Path without rows) when the text holds no row.
bool BezierSetPathText(const String& Text, TBezierPath& Path);
