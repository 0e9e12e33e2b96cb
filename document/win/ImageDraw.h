// ImageDraw: the document of one open image (TImageDraw) and the base of
// every object that lies over it (TImgShape). They need each other: the
// document owns its objects in the rows of its objects table and draws
// them; an object reads the document's view mapping, glyphs and keys.
//
// The document composes the image view's bitmap (canvas, working raster,
// watermark, objects with their styles) and paints handles, frames, guides
// and the ruler on a layer of the view. Coordinates: objects, guides and the
// ruler in image pixels; handles and the control layer in view pixels
// (view = Round(image x Scale) + offset).
//
// Every TBitmap32 here is a windowed bitmap; a TGPGraphics made on its DC
// reaches the pixels when it is released, so a graphics is released before
// any engine or canvas drawing on the same bitmap.
//
// The document, its rows and its objects belong to the GUI thread. Winelib
// only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bitmap/Bmp32_ColorBalance.h"
#include "bitmap/win/Bmp32_ImgView.h"
#include "bitmap/win/Bmp32_Layers.h"
#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Graphics.h"
#include "document/DocumentMath.h"
#include "document/ShapeCore.h"
#include "foundation/data/HyDataTable.h"
#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/VaVavuve.h"
#include "rtl/Classes.h"

class TImageDraw;

using TArrayOfGPColor = std::vector<TGPColor>;

// GDI+ colours and positions of a gradient's stops (see BuildGradientStops).
void BuildGradientBlend(TRow* ColorRow, TRow* OpacityRow, TRow* PositionRow, Integer Opacity,
                        TArrayOfGPColor& Colors, TArrayOfSingle& Positions, TColor ForeColor, TColor BackColor);

// --- the texture-file cache shared by every document of the process: rows
// of a file name (cell 0) with the file's bytes (a TMemoryStream, the row's
// data) and one decoded picture beside them. Created and freed by the
// editor; nil means no cache (every texture is missing).
extern TDataTable* PictureStreamDT;
// The row index of a texture file, appended on first use; -1 when the file
// is missing or not a picture (nothing is added then). Names compare
// ignoring case.
Integer CacheTextureFile(const String& FileName);
// The decoded picture of a cache row (nil for a bad index).
IGPImage CachedTextureImage(Integer Index);

// ---------------------------------------------------------------------------

class TImgShape : public TShapeCore {
 public:
  // AOwner nil: a style preview drawing into ABitmap.
  TImgShape(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);
  ~TImgShape() override;

  TImageDraw* Parent() const { return FParent; }
  TBitmap32* Bitmap32() const { return FBitmap; }
  void SetControlMode(Integer Value);

  // --- the virtual operations, in slot order
  virtual void Draw(TBitmap32* ToBitmap);
  virtual void DrawControlPoint(TBitmap32* ToBitmap);
  virtual bool PtInControl(Integer X, Integer Y);
  virtual bool PtInShape(Integer X, Integer Y);
  virtual void Click();
  virtual void AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2);
  virtual void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2);
  virtual void MoveShapeOver(Integer DX, Integer DY);
  virtual void OffsetShape(Integer DX, Integer DY);
  virtual void InitPoints(bool IsDrawStyle);
  virtual void CalcPoints(bool IsForceCalc);
  virtual void CalcControlPoints();
  virtual void CalcRect();
  virtual void CalcCenterPoint();
  virtual void CalcPointsRatio();
  virtual void Select();
  virtual void UnSelect();

  // --- the object row: the class's own columns (the shared ones are the
  // document's); a preset row when the object is created by drawing.
  virtual void ReadRowColumns(TRow* Row);
  virtual void WriteRowColumns(TRow* Row);
  virtual void ReadPresetColumns(TRow* Row);
  // Undo: the object's heavy parts that changed since the last step, into
  // its row of a step table (flags cleared); and back from the newest step
  // at or before Index that holds them.
  virtual void SaveUndoParts(TRow* StepRow) { (void)StepRow; }
  virtual void RestoreUndoParts(TDataTable* UndoDT, Integer Index) {
    (void)UndoDT;
    (void)Index;
  }
  // The sidecar: the picture a picture object stores, and taking it back.
  virtual TCustomBitmap32* StoredPicture() { return nullptr; }
  virtual void RestorePicture(TCustomBitmap32* Picture) { (void)Picture; }
  // False when the row read gave no drawable object (a Bezier shape
  // without segments): the document drops such a row.
  virtual bool RowUsable() const { return true; }
  // How far a class's drawing reaches beyond RotateRect (a callout's
  // pointer); the style pictures grow by it.
  virtual Integer StyleExtraMargin() const { return 0; }
  // Every pixel the object itself can paint (not its styles).
  virtual TRect ObjectPaintBounds() const;

  // Every pixel the object and its placed style pictures can paint.
  TRect PaintBounds() const;
  // The bounds of the last composition that drew this object (empty when
  // it was not drawn yet).
  const TRect& LastPaintRect() const { return FLastPaintRect; }
  void SetLastPaintRect(const TRect& R) { FLastPaintRect = R; }

  // A style preview: the bitmap cleared to BGColor, the preview frame, the
  // object.
  void StartDraw(TColor BGColor);

  // --- the style builders (a nil target: the object's bitmap)
  void BuildEdging();
  void BuildShadow();
  void DrawShadowReflection(TBitmap32* ToBitmap);
  void DrawReflection(TBitmap32* ToBitmap);
  void DrawShadow(TBitmap32* ToBitmap);

  // --- view conversions
  TViewMap ViewMap() const;
  void GetScreenRect(bool IsClip, TRect& R) const;
  void ImageToScreen(TPoint& P) const;
  void ImageToScreenPoints(TPoint* Points, Integer Count) const;

 protected:
  // A graphics on Target's DC (which composes at release only inside the
  // DC's clip region).
  IGPGraphics NewGraphics(TBitmap32* Target);
  // Draws a style picture at (X, Y) of Target through the engine.
  void PlaceBitmap(TBitmap32* Target, Integer X, Integer Y, TCustomBitmap32* B);
  TBitmap32* TargetOf(TBitmap32* ToBitmap) const { return ToBitmap ? ToBitmap : FBitmap; }
  // Prepends the turn about the centre (counter-clockwise by FAngle).
  void TurnGraphics(const IGPGraphics& G) const;
  // The object's colour with its opacity, clamped.
  TGPColor OpacityColor(TColor C) const;
  // The stops of the gradient lists, rebuilt while Changed2 is set.
  const TArrayOfGPColor& GradientColors();
  const TArrayOfSingle& GradientPositions() const { return FGradientPositions; }

  // What the fill-and-outline procedure needs of a class.
  struct TShapePaint {
    IGPGraphicsPath Path;  // the outline, unrotated, image coordinates
    TGPRect G;             // linear gradients and texture tiles start here
    TFloatRect Radial;     // the ellipse of the radial gradient
    bool Smooth = true;    // anti-aliased
    // Path gradients: one brush made on each of these paths, each filling
    // Path (empty: one brush on Path itself).
    std::vector<IGPGraphicsPath> GradientPaths;
  };
  // Fill, edging picture and outline of a closed shape (or the mask pass
  // FDrawMode2 asks for).
  void PaintFillAndOutline(TBitmap32* Target, const TShapePaint& P);
  // The gradient, hatch or texture brush of the fill modes 0..2, 4 and 5
  // over G (nil: no such brush, or an unusable texture).
  IGPBrush StyleBrush(const TShapePaint& P, bool& Usable);

  TImageDraw* FParent;
  TBitmap32* FBitmap;
  TArrayOfGPColor FGradientColors;
  TArrayOfSingle FGradientPositions;
  TRect FLastPaintRect;

 private:
  void RenderCentred(TBitmap32* Target, const TRect& Area);
  TRect StyleRect(const TCustomBitmap32* B, Integer X, Integer Y) const;
};

// ---------------------------------------------------------------------------

using TShapeSelectedEvent = std::function<void(TObject* Sender)>;
using TShapeModifiedEvent = std::function<void(TObject* Sender)>;
using TShapeStateChangedEvent = std::function<void(TObject* Sender)>;
using TGodoDoneEvent = std::function<void(TObject* Sender, const String& StateName)>;
using TProcessingDoneEvent = std::function<void(TObject* Sender, TProcessingMode Mode, bool BoolData)>;
using TRulerChangedEvent = std::function<void(TObject* Sender, Integer X1, Integer Y1, Integer X2, Integer Y2)>;

// The classes that object rows are built into, by row type.
using TShapeFactory = TImgShape* (*)(TImageDraw* Owner, Integer Id);
TShapeFactory ShapeFactoryOf(TShapeType Type);

class TImageDraw : public TPersistent {
 public:
  TImageDraw(TImgView32* AOwner, TBitmap* B, TBitmap32* B32, TBitmap32* CanvasPattern, TRow* WatermarkRow,
             const String& ImageFile, Integer LangIndex, bool FromClipboard, bool FromScreenCapture, void* P,
             Integer W, Integer H, TColor C, bool T, Integer Bpp);
  ~TImageDraw() override;

  // --- change notification
  void SetChanged(bool IsSaveUndo);
  void ShapeStateChanged();

  // --- object rows
  void CreateShapeObjects(Integer Index);
  void StoreShapeObjects();

  // --- view composition
  void InitBitmap();
  void Draw();
  void DrawTo(TBitmap32* ABitmap);
  // Paints handles, frames, guides and the ruler onto a view buffer.
  void PaintControlLayer(TObject* Sender, TBitmap32* Buffer);
  TControlMode ControlMode() const { return FControlMode; }
  void SetControlMode(TControlMode Value);
  Single Scale() const { return FScale; }
  void SetScale(Single Value);
  Integer OffsetHorz() const;
  Integer OffsetVert() const;
  TViewMap ViewMap() const { return TViewMap{FScale, OffsetHorz(), OffsetVert()}; }

  // --- creation and editing
  void CreateShape(TShapeType AType);
  void DrawShape(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void CreateShapeOver(bool bInvalid);
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void AdjustShapeOver();
  bool CreateShapeAuto(const String& S, TBitmap32* ABitmap, Integer OffsetX, Integer OffsetY);
  Integer CropRateIndex() const { return FCropRateIndex; }
  void SetCropRateIndex(Integer Value);
  Single CropFixedRate() const { return FCropFixedRate; }

  // --- hit testing, selection, cursors
  bool LocateShape(Integer XA, Integer YA, Integer X, Integer Y);
  void ClickShape(TSelectMode SelectMode, Integer ShapeId);
  void SelectShape(TSelectMode SelectMode, Integer ShapeId);
  void ShapeSelectStateChanged(bool IsSetAsCurrentShape);
  void MovePrepare();
  bool IsSelected(Integer ShapeId) const;
  TImgShape* GetShapeByName(const String& ShapeName) const;
  Integer GetShapeIdByName(const String& ShapeName) const;
  SmallInt GetShapeCursor(Integer XA, Integer YA, Integer X, Integer Y);
  Integer ShapeCount() const;
  Integer ShapeEditableCount() const;
  Integer ObjectSelectedCount() const { return FSelectedIds->ItemCount(); }
  Integer ShapeSelectedCount() const;
  bool CropExists() const;
  bool SelectionExists() const;
  bool SelectionBitmapExists() const;
  // The selection's two cut pictures of the area around its region (the box
  // grown by 1, clipped to the image), smoothed; DestRect the area.
  void MakeBitmapOfSelection(TRect& DestRect);
  // The selection's outside picture into the raster at ARect's top-left.
  void AutiAliasBmpZ_To_SrcBmp(const TRect& ARect);
  // Stamps the selection's lifted picture into the raster.
  void FlattenSelection();
  class TImgSelection* Selection() const;
  Integer SelectionSize() const;
  void DeleteShapes(TRow* IdRow);
  bool DeleteCropShape();
  bool DeleteSelectionCropShape(bool IsFlattenSelection);

  // --- saving, the project sidecar and exports
  // Writes the image file (through a temporary that replaces it) and then,
  // unless NotSaveDataFile, the sidecar the same way; clears Changed. A
  // document of a type that cannot be written raises before anything is
  // written.
  void Save();
  void SaveAs(const String& AFileName);
  // Frees the memory stream P points to (when set) and stores a new one
  // holding the in-memory project stream; the caller owns it.
  void SaveToStream(void*& P);
  Integer ExportGetFilterIndex();
  void ExportOriBmpAs(const String& AFileName);
  // The size of the composed image (over opaque white) as a JPEG of encoder
  // quality Quality, encoded as Save encodes it; -1 when encoding fails.
  Int64 CalcJpgFileSize(Integer Quality);
  const String& Profile() const { return FProfile; }

  // --- undo and redo
  void SaveUndo();
  void SaveUndoFirst();
  void Undo();
  void Redo();
  // Rebuilds the document from the step at UndoIndex (EListError for an
  // index outside the history, before anything changes).
  void Godo(bool NotSetChanged);
  void ClearUndo(TDataTable* DataDT);
  void ClearUndoStateName(const String& S);
  Integer UndoCount() const { return FUndoDT ? FUndoDT->ItemCount() : 0; }
  bool UndoRedoing() const { return FUndoRedoing; }
  bool EffectDrawing() const { return FEffectDrawing; }
  void SetEffectDrawing(bool V) { FEffectDrawing = V; }
  // The available physical memory the history's memory rule reads
  // (GetAvailPhysMemory unless set).
  void SetAvailMemoryFunc(std::function<Int64()> F) { FAvailMemory = std::move(F); }

  // --- named properties
  void SetProperty(const String& AName, Integer V, bool IsDraw);
  void SetPropertyStr(const String& AName, const String& V, bool IsDraw);

  // --- guides and ruler
  void CreateGuides(Integer X, Integer Y, bool IsHorzGuides);
  // The picked guide (HorzGuidesIndex, else VertGuidesIndex) moved to Y or
  // X; an index outside its row changes nothing.
  void SetGuidesPosition(Integer X, Integer Y);
  void ClearGuides();
  void CreateRuler(Integer X, Integer Y, Integer X2, Integer Y2);
  // The ends as a ruler drag starts; the drag from (X, Y) to (X2, Y2)
  // moves the picked end (or both) from them.
  void BackupRulerPosition();
  void SetRulerPosition(Integer X, Integer Y, Integer X2, Integer Y2);
  void RulerChanged();
  void ClearRuler();
  // --- node commands on the current Bezier shape (nothing without one)
  void FreeShapeDeleteNode();
  bool FreeShapeSetCommonTangent(bool Value);
  bool FreeShapeHideTangent();
  void FreeShapeCloseShape();
  void FreeShapeBreakNode();
  // False when Mode is the shape's mode already.
  bool FreeShapeSetControlMode(Integer Mode);
  // Continuing an open Bezier shape from one of its ends: the flags of
  // every Bezier shape cleared, or updated for the pointer (MovedX, MovedY);
  // true when a flag changed, Appending then telling whether it was set.
  void FreeShapeClearAppendState();
  bool FreeShapeCheckAppendState(bool& Appending);

  // Toggles the pixel test view and redraws.
  void PixelsTest();
  const String& TimeString() const { return FTimeString; }
  void SetTimeString(const String& Value);
  TRow* HorzGuidesRow() const { return FHorzGuidesRow.get(); }
  TRow* VertGuidesRow() const { return FVertGuidesRow.get(); }
  TPoint RulerP1() const { return FRulerP1; }
  TPoint RulerP2() const { return FRulerP2; }

  // --- the objects table and its objects
  TDataTable* DT() const { return FDT.get(); }
  TDataTable* FileDT() const { return FFileDT.get(); }
  TDataTable* SelectionDT() const { return FSelectionDT.get(); }
  TImgShape* ShapeOfRow(Integer Index) const;
  TImgShape* ShapeById(Integer Id) const;
  TImgShape* Shape() const { return FCurrentShape; }
  Integer ShapeId() const { return FShapeId; }
  TShapeType ShapeType() const { return FObjectType; }
  TRow* SelectedIds() const { return FSelectedIds.get(); }

  // --- rasters and glyphs
  TBitmap32* Bitmap() const { return FBitmap; }
  TBitmap32* SrcBmp() const { return FSrcBmp.get(); }
  TBitmap32* OriBmp() const { return FOriBmp.get(); }
  TBitmap32* OriBmpThumb() const { return FOriBmpThumb.get(); }
  TBitmap32* WMBmp() const { return FWMBmp.get(); }
  TMemoryStream* OriBmpFileMS() const { return FOriBmpFileMS.get(); }
  const TRect& SrcBmpRect() const { return FSrcBmpRect; }
  Integer SrcBmpBitsPixelPer() const { return FSrcBmpBitsPixelPer; }
  TBitmap32* CtrBmpY() const { return FCtrBmpY.get(); }
  TBitmap32* CtrBmpG() const { return FCtrBmpG.get(); }
  TBitmap32* CtrBmpB() const { return FCtrBmpB.get(); }
  TBitmap32* CtrBmpW() const { return FCtrBmpW.get(); }
  TBitmap32* CtrBmpY2() const { return FCtrBmpY2.get(); }
  TBitmap32* CtrBmpG2() const { return FCtrBmpG2.get(); }
  TBitmap32* CtrBmpY3() const { return FCtrBmpY3.get(); }
  TBitmap32* CtrBmpAH() const { return FCtrBmpAH.get(); }
  TBitmap32* CtrBmpAV() const { return FCtrBmpAV.get(); }
  TBitmap* BrushBitmap() const { return FBrushBitmap.get(); }
  TPositionedLayer* ControlLayer() const { return FControlLayer; }
  TColor32 CanvasColor() const { return FCanvasColor; }
  bool CanvasTransparent() const { return FCanvasTransparent; }
  const TCanvasHandles& CanvasCtrRect() const { return FCanvasCtrRect; }
  Integer CanvasCtrIndex() const { return FCanvasCtrIndex; }
  Integer Width() const { return FBitmap->Width(); }
  Integer Height() const { return FBitmap->Height(); }
  Integer ScaleWidth() const;
  Integer ScaleHeight() const;
  TImageFormat FileType() const { return FFileType; }
  const String& FileName() const { return FFileName; }

  // --- watermark
  bool WatermarkEnabled() const { return FWMEnabled; }
  void SetWatermarkEnabled(bool V) { FWMEnabled = V; }
  TImgShape* WatermarkShape() const { return FWMShape.get(); }
  // Makes Shape the watermark object (nil: none), freeing the previous one.
  void ReplaceWatermark(TImgShape* Shape);
  // A new watermark object from a picture file (its pixels of colour WMTC
  // transparent with WMUseTC); an empty or unreadable picture leaves none
  // and the watermark off. Places it on the watermark layer.
  void AddWatermark(const String& FileName, Integer LocationType, Integer Location, Integer ED1, Integer ED2,
                    Integer SD1, Integer SD2, Integer WMAngle, Integer WMOpacity, bool WMUseTC, TColor WMTC);
  // The watermark layer drawn afresh: once at its location or tiled.
  void RenderWatermark();

  // --- state the editor reads and sets
#define LUMIGRA_DOC_PROP(Type, Name) \
  Type Name() const { return F##Name; } \
  void Set##Name(Type Value) { F##Name = Value; }
  LUMIGRA_DOC_PROP(TDataTable*, PropDT)
  LUMIGRA_DOC_PROP(TDataTable*, ShadowDT)
  LUMIGRA_DOC_PROP(TDataTable*, ReflectDT)
  LUMIGRA_DOC_PROP(TDataTable*, ObjGradientDT)
  LUMIGRA_DOC_PROP(TDataTable*, UndoDT)
  LUMIGRA_DOC_PROP(Integer, UndoIndex)
  LUMIGRA_DOC_PROP(bool, SaveUndoDone)
  LUMIGRA_DOC_PROP(bool, Busing)
  LUMIGRA_DOC_PROP(bool, PixelsTesting)
  LUMIGRA_DOC_PROP(bool, NotSaveDataFile)
  LUMIGRA_DOC_PROP(bool, PressCtl)
  LUMIGRA_DOC_PROP(bool, PressSht)
  LUMIGRA_DOC_PROP(bool, PressAlt)
  LUMIGRA_DOC_PROP(bool, LeftMouseDown)
  LUMIGRA_DOC_PROP(Integer, LanguageIndex)
  LUMIGRA_DOC_PROP(bool, Modified)
  LUMIGRA_DOC_PROP(TShapeType, ToolType)
  LUMIGRA_DOC_PROP(bool, ShapeCreating)
  LUMIGRA_DOC_PROP(Integer, CanvasCtrDx)
  LUMIGRA_DOC_PROP(Integer, CanvasCtrDy)
  LUMIGRA_DOC_PROP(Integer, CanvasDx)
  LUMIGRA_DOC_PROP(Integer, CanvasDy)
  LUMIGRA_DOC_PROP(Integer, MovedX)
  LUMIGRA_DOC_PROP(Integer, MovedY)
  LUMIGRA_DOC_PROP(Integer, ProcessX)
  LUMIGRA_DOC_PROP(Integer, ProcessY)
  LUMIGRA_DOC_PROP(TProcessBitmapMode, ProcessMode)
  LUMIGRA_DOC_PROP(Integer, ProcessWidth)
  LUMIGRA_DOC_PROP(Integer, ProcessStampStartX)
  LUMIGRA_DOC_PROP(Integer, ProcessStampStartY)
  LUMIGRA_DOC_PROP(Integer, ProcessBrushFlow)
  LUMIGRA_DOC_PROP(Integer, GradientStartX)
  LUMIGRA_DOC_PROP(Integer, GradientStartY)
  LUMIGRA_DOC_PROP(bool, LockGuides)
  LUMIGRA_DOC_PROP(bool, RulerCreating)
  LUMIGRA_DOC_PROP(bool, RulerEnabled)
  LUMIGRA_DOC_PROP(bool, PencilDebounce)
  LUMIGRA_DOC_PROP(bool, PencilEditable)
  LUMIGRA_DOC_PROP(Integer, FillTolerance)
  LUMIGRA_DOC_PROP(bool, Antialiasing)
  LUMIGRA_DOC_PROP(bool, SelectionExpanding)
  LUMIGRA_DOC_PROP(bool, EffectSmall)
  LUMIGRA_DOC_PROP(TEffectMode, EffectMode)
  LUMIGRA_DOC_PROP(TBitmap32*, EffectMaskBmp)
  LUMIGRA_DOC_PROP(TRect, EffectDrawRect)
  LUMIGRA_DOC_PROP(bool, EffectDrawErase)
  LUMIGRA_DOC_PROP(Integer, EffectDrawRadius)
  LUMIGRA_DOC_PROP(TColor, EffectDrawColor)
  LUMIGRA_DOC_PROP(Integer, EffectDrawStyle)
  LUMIGRA_DOC_PROP(bool, OriBmpThumbChanged)
  LUMIGRA_DOC_PROP(bool, OriBmpChanged)
  LUMIGRA_DOC_PROP(bool, SrcBmpChanged)
#undef LUMIGRA_DOC_PROP
  // Set through SetChanged (the change notification).
  bool Changed() const { return FChanged; }
  Integer HorzGuidesIndex() const { return FHorzGuidesIndex; }
  Integer VertGuidesIndex() const { return FVertGuidesIndex; }
  Integer RulerPickMode() const { return FRulerPickMode; }
  Integer Count() const { return 0; }
  const String& MsgString() const { return FMsgString; }

  // --- events
  TShapeSelectedEvent OnShapeSelected;
  TShapeModifiedEvent OnShapeModified;
  TNotifyEvent OnOriBmpChanged;
  TGodoDoneEvent OnGodoDone;
  TProcessingDoneEvent OnProcessingDone;
  TShapeStateChangedEvent OnShapeStateChanged;
  TNotifyEvent OnTimeStringChanged;
  TRulerChangedEvent OnRulerChanged;
  TNotifyEvent OnChanged;
  TNotifyEvent OnCountChanged;

 private:
  friend class TImgShape;

  void CreateGlyphs();
  // The constructor's reading of a project stream (P set) or of the image's
  // sidecar: true when the document was built from it. A damaged or stale
  // sidecar is moved aside and MsgString says why (false then).
  bool LoadProject(void* P, const String& ImageFile);
  void AdoptProject(struct TSidecarData& D, bool FromFile);
  // Builds the document from the image file alone (the sidecar failed).
  void LoadImageFileOnly(const String& ImageFile);
  // Properties 17..19 from the guides and the ruler.
  void StoreGuidesAndRuler();
  void WriteProject(TStream* Stream, bool InMemory);
  void ReadGuidesAndRuler();
  // Frees the object of row Index and removes the row.
  void RemoveShapeRow(Integer Index);
  bool DeleteShapeById(Integer Id);
  void SetCurrentShape(Integer Id);
  TImgShape* BuildShapeOfRow(TRow* Row);
  void ExpandPresets(TRow* Row);
  // Composes the whole view bitmap (Area nil) or only Area of it.
  void Compose(const TRect* Area);
  // Redraws after a drag step of the current object whose painted area was
  // Before: only the union of before and after when nothing else is
  // pending, else the whole bitmap.
  void DrawAfterStep(const TRect& Before);
  bool CanComposePart() const;
  void DrawProcessOutline(TBitmap32* Buffer);
  void DrawEffectOutline(TBitmap32* Buffer);
  void DrawCanvasFeedback(TBitmap32* Buffer);
  void DrawGuidesAndRuler(TBitmap32* Buffer);

  TImgView32* FOwner;
  TPositionedLayer* FControlLayer = nullptr;
  TControlMode FControlMode = TControlMode::cmObject;
  TCanvasHandles FCanvasCtrRect{};
  Integer FCanvasCtrIndex = 0;
  Integer FCanvasCtrDx = 0, FCanvasCtrDy = 0, FCanvasDx = 0, FCanvasDy = 0;
  bool FPressCtl = false, FPressSht = false, FPressAlt = false, FLeftMouseDown = false;
  Integer FLanguageIndex = 0;
  String FFileName;
  TImageFormat FFileType = ifUnknown;
  String FProfile;
  bool FChanged = false;
  bool FModified = false;
  TDataTable* FPropDT = nullptr;
  TDataTable* FShadowDT = nullptr;
  TDataTable* FReflectDT = nullptr;
  TDataTable* FObjGradientDT = nullptr;
  std::unique_ptr<TDataTable> FSelectionDT;
  std::unique_ptr<TDataTable> FDT;
  std::unique_ptr<TDataTable> FFileDT;
  TDataTable* FUndoDT = nullptr;
  Integer FUndoIndex = -1;
  bool FUndoRedoing = false;
  Integer FUndoTempCount = 0;
  bool FSaveUndoDone = false;
  std::unique_ptr<TMemoryStream> FOriBmpFileMS;
  std::unique_ptr<TBitmap32> FOriBmp;
  bool FOriBmpChanged = false;
  std::unique_ptr<TBitmap32> FOriBmpThumb;
  bool FOriBmpThumbChanged = true;
  std::unique_ptr<TBitmap32> FSrcBmp;
  bool FSrcBmpChanged = false;
  TRect FSrcBmpRect;
  Integer FSrcBmpBitsPixelPer = -1;
  std::unique_ptr<TBitmap32> FWMBmp;
  std::unique_ptr<TImgShape> FWMShape;
  bool FWMEnabled = false;
  Integer FWMLocationType = 0, FWMLocation = 0, FWMLocationED1 = 0, FWMLocationED2 = 0, FWMLocationSD1 = 0,
          FWMLocationSD2 = 0;
  std::unique_ptr<TBitmap> FBrushBitmap;
  std::unique_ptr<TBitmap32> FCtrBmpY, FCtrBmpG, FCtrBmpB, FCtrBmpW, FCtrBmpY2, FCtrBmpG2, FCtrBmpY3, FCtrBmpAH,
      FCtrBmpAV;
  TBitmap32* FBitmap = nullptr;
  TColor32 FCanvasColor = 0xFFFFFFFFu;
  bool FCanvasTransparent = false;
  Single FScale = 1;
  Integer FShapeId = -1;
  bool FShapeCreating = false;
  TImgShape* FCurrentShape = nullptr;
  TShapeType FObjectType = TShapeType::shNone;
  TShapeType FToolType = TShapeType::shNone;
  std::unique_ptr<TRow> FSelectedIds;
  std::unique_ptr<TRow> FCopyProp;
  Integer FMovedX = 0, FMovedY = 0;
  Integer FProcessX = 0, FProcessY = 0;
  TProcessBitmapMode FProcessMode = TProcessBitmapMode::pbmPencil;
  Integer FProcessWidth = 1;
  Integer FProcessStampStartX = UnsetPosition, FProcessStampStartY = 0;
  Integer FProcessBrushFlow = 0;
  Integer FGradientStartX = UnsetPosition, FGradientStartY = 0;
  bool FPencilEditable = false, FPencilDebounce = false;
  Integer FFillTolerance = 0;
  bool FAntialiasing = true;
  bool FSelectionExpanding = false;
  Integer FCropRateIndex = -2;
  Single FCropFixedRate = -1;
  std::unique_ptr<TRow> FHorzGuidesRow, FVertGuidesRow;
  Integer FHorzGuidesIndex = -1, FVertGuidesIndex = -1;
  bool FLockGuides = false;
  bool FRulerCreating = false, FRulerEnabled = false;
  Integer FRulerPickMode = -1;
  TPoint FRulerP1, FRulerP2, FRulerP1_B, FRulerP2_B;
  String FTimeString;
  bool FEffectSmall = false;
  TEffectMode FEffectMode = TEffectMode::emNone;
  TBitmap32* FEffectMaskBmp = nullptr;
  TRect FEffectDrawRect;
  bool FEffectDrawErase = false;
  Integer FEffectDrawRadius = 0;
  TColor FEffectDrawColor = 0;
  Integer FEffectDrawStyle = 0;
  std::unique_ptr<TColorBalance> FColorBalance;
  bool FEffectDrawing = false;
  // Pictures read with the objects, by object id, until the objects exist.
  std::vector<std::pair<Integer, std::unique_ptr<TCustomBitmap32>>> FPendingPictures;
  // File-information cell 0 of the project just read, before its upgrades.
  Integer FLoadedVersion = 0;
  std::function<Int64()> FAvailMemory;
  bool FBusing = false;
  bool FPixelsTesting = false;
  bool FNotSaveDataFile = false;
  String FMsgString;
  // The view bitmap holds a complete composition of the current state.
  bool FViewValid = false;
};
