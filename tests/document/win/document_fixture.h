// Shared fixture of the document tests: GDI+ and the bitmap engine started
// once, the editor's preset tables as the editor builds them, documents on
// a view that is never shown, object rows by cell, pixel helpers and the
// review pictures.
#pragma once

#include <map>
#include <memory>

#include "document/ShapeRows.h"
#include "tests/document/print_values.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageLine.h"
#include "document/win/ImageRectangle.h"

void EnsureDocumentPlatform();

// The per-type default rows, shadow, reflection and object-gradient presets.
struct TPresetTables {
  std::unique_ptr<TDataTable> Prop, Shadow, Reflect, ObjGradient;
  TPresetTables();
};
TPresetTables& Presets();

// A row text of Count cells, the given ones set.
String RowText(Integer Count, const std::map<Integer, String>& Cells);
// An object row (100 cells) of a type with its frame and common cells.
String ObjectRow(Integer Id, TShapeType Type, const TRect& Frame, const std::map<Integer, String>& More = {});

// A Bezier node table text of straight segments through the nodes, in the
// given control mode, with a selected node (-1: none).
String NodeText(std::initializer_list<TPoint> Nodes, bool Closed, Integer Mode = 2, Integer Selected = -1);

// A document of a new W x H image on a view of its own, presets assigned,
// bitmap initialised.
class TTestDocument {
 public:
  TTestDocument(Integer W, Integer H, TColor Canvas = 0xFFFFFF, bool Transparent = false);
  ~TTestDocument();
  TImageDraw* operator->() const { return Doc; }
  TImageDraw* Get() const { return Doc; }
  TImgView32* View = nullptr;
  TImageDraw* Doc = nullptr;
  // Appends a row and builds its object; the object.
  TImgShape* Add(const String& Row);
};

// A copy of the view bitmap's pixels.
std::vector<TColor32> Pixels(TCustomBitmap32* B);
Integer CountPixels(TCustomBitmap32* B, const std::function<bool(TColor32)>& Pred, const TRect& Area = TRect());

// Saves B as an opaque PNG under build/screens/test_document/ for people to
// review (never decides a test).
void SaveReviewPicture(const String& Name, TCustomBitmap32* B);
