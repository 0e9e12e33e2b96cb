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
#include "document/ImageWarping.h"
#include "document/Region.h"
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

// --- the clone stamp's source, shared by every document of the process:
// a copy of a raster and the picked point, set by the editor when the user
// picks the source (it owns the bitmap; nil: none).
extern TBitmap32* StampSourceBmp;
extern TPoint StampSourcePoint;

// --- copy and paste shared by every document of the process: copies of the
// object rows copied last (an image object's row keeps a copy of its
// picture in FData2, freed with the row by ClearShapeClipboard), and the
// picture copied last (nil: none).
extern TDataTable* ShapeClipboardDT;
extern TBitmap32* CopiedImage;
// Frees the pictures of the copied rows, then the rows.
void ClearShapeClipboard();
// The row of a new image object for a pasted W x H picture at (X, Y).
String PastedPictureRow(Integer X, Integer Y, Integer W, Integer H);

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

  // --- effect previews: EffectBegin, any number of runs, one EffectEnd.
  // Every run starts again from the copy taken by EffectBegin (SrcBmp_T).
  void EffectBegin();
  void EffectDo(Integer Value, bool OptionChecked);
  void EffectDo2(Integer Value1, Integer Value2, Integer Value3, Integer Value4, TColor ValueColor,
                 Integer ValueBlendMode, bool OptionChecked);
  void EffectDoDirection(Integer Value, Integer Direction, bool OptionChecked);
  void ImageAdjust(Integer BrightnessAmount, Integer ContrastAmount, Integer LightnessAmount,
                   Integer SaturationAmount, Integer HueAmount, Integer BalanceRedAmount,
                   Integer BalanceGreenAmount, Integer BalanceBlueAmount, bool BalanceLuminosity);
  // Keeps the last run as one undo step (IsApply) or puts the copy back.
  void EffectEnd(bool IsApply);
  // The working raster := the original image.
  void ImageRestore();
  // Src's pixels whose position moved by SrcOriginPoint lies in the
  // selection's region, copied there into Dest.
  void SrcInRegionAssignToDest(TCustomBitmap32* Src, TCustomBitmap32* Dest, const TPoint& SrcOriginPoint);
  TBitmap32* SrcBmp_T() const { return FSrcBmp_T.get(); }

  // --- photo frames: FrameBegin, any number of runs, one FrameEnd. Every
  // run starts again from the copy FrameBegin took (SrcBmp_T) of the raster,
  // or of the current picture object's bitmap with FrameSmall. The kind
  // (FrameType 0..3) and the shape within it (FrameMode) are set before
  // FrameBegin. A run that enlarges the raster moves every object and guide
  // by the change of the image's offset, so that they stay on the same
  // picture content; FrameEnd(false) moves them back once.
  void FrameBegin();
  // The drawn frames: bands of Color1..Color3 round a cut-out (modes 1..10).
  void FrameDo0(Integer Value1, TColor Color1, Integer Value2, TColor Color2, Integer Value3, TColor Color3,
                bool OptionChecked);
  // The cut shapes (modes 1..16), outlined with a pen of Color1, Value1 wide.
  void FrameDo1(Integer Value1, TColor Color1, Integer Value2, bool OptionChecked);
  // The layered frames of a layer table (row 0 innermost).
  void FrameDo2(TDataTable* DT);
  // Color1 laid over the image through FrameMaskBmp, Value1 % strong.
  void FrameDo3(Integer Value1, TColor Color1);
  // Keeps the last run as one undo step (IsApply) or puts everything back.
  void FrameEnd(bool IsApply);

  // --- raster geometry (objects keep their coordinates; the editor moves
  // them where the command needs it)
  // False (nothing changes) when the raster has that size already.
  bool ResizeImage(Integer W, Integer H);
  // The image centred on a W x H canvas; false when the view has that size.
  bool ResizeCanvas(Integer W, Integer H);
  // Margins per side (negative ones remove pixels); false when all are 0.
  bool ExtendCanvas(Integer iLeft, Integer iRight, Integer iTop, Integer iBottom);
  // The crop frame's rectangle (else the selection's box) keeps pixels of
  // the raster.
  bool CropEnabled() const;
  void Crop();
  // 0 a quarter turn counter-clockwise, 1 clockwise, else a half turn.
  void Rotate(Integer Mode);
  // 0 left to right, else top to bottom.
  void Flip(Integer Mode);
  // Runs of the geometric previews (between EffectBegin and EffectEnd).
  void EffectDoRotate(Single RatateAngle);
  void EffectDoSkew(Integer SkewX, Integer SkewY);
  void EffectDoTransform(Single X0, Single Y0, Single X1, Single Y1, Single X2, Single Y2, Single X3, Single Y3,
                         Integer ScaleX, Integer ScaleY);
  // The raster becomes the original image.
  void SrcBmpToOriBmp();
  // The original's thumbnail, rebuilt only when marked.
  void MakeThumbOfOriBmp(Integer ThumbWidth, Integer ThumbHeight);
  // Moves every object and guide; nothing for (0, 0).
  void ResetShapeLocation(Integer dx, Integer dy);

  // --- fill and magic wand
  // The fill tool's click: the selection's whole area when one exists,
  // else the region of similar colour around (X, Y).
  void Fill(Integer X, Integer Y, TColor Color);
  // The region search from (X0, Y0) on B32 against the fill source colour,
  // painted with the fill colour; every visited pixel as row runs in row
  // order, and their number.
  void FillDo(TBitmap32* B32, Integer X0, Integer Y0, Integer Tolerance, std::vector<TRegionRun>& Runs,
              Int64& Count);
  // The wand's pixels appended to the selection being created.
  void CalcSelectionWandPoints(Integer X, Integer Y, Integer Tolerance, bool Continuous);
  // --- effect brushes (EffectMode 36..49): EffectDrawBegin, strokes of
  // EffectDrawDo (IsDo) ended by EffectDrawEnd, then EffectDrawOver. X and
  // Y are the brush centre.
  void EffectDrawBegin(Cardinal Value);
  void EffectDrawReBegin(Cardinal Value, bool bFirstBegin);
  void EffectDrawPrepare(TShiftState Shift, Integer X, Integer Y);
  void EffectDrawDo(bool IsDo, TShiftState Shift, Integer X, Integer Y);
  void EffectDrawEnd();
  void EffectDrawOver(bool IsUndo);
  bool EffectDrawDone() const { return FEffectDrawDone; }
  TImgWarping* Warping() const { return FWarping.get(); }

  // --- copy and paste
  void CopyShape();
  void CutShape();
  bool PasteEnabled() const;
  // A picture (ABmp, else the copied picture, else the system clipboard's)
  // when no objects were copied, ABmp is given or IsFromClipboard; else the
  // copied objects with their group's top-left at (X, Y). Nothing when
  // there is no picture to paste.
  void Paste(Integer X, Integer Y, TBitmap32* ABmp, bool IsFromClipboard, bool IsCenterXY);
  // The selected pixels (or the lifted picture) to the copied picture and
  // the clipboard; the rectangle they came from ((0, 0, 0, 0) for a lifted
  // picture or nothing copied).
  TRect CopySelection(bool bMerged);
  // Copies, then clears the selected pixels, or drops a lifted picture.
  void CutSelection();
  void DeleteSelection();
  void CopyImage();
  void CopyImageToClipboard(bool bMerged);
  void CopySmallToClipboard();
  void CopyText(const String& S);
  // The style of the current object, and onto the selected objects (Mode 0
  // every group, 1..8 one group); enabled for objects of the copied type.
  void CopyProperty();
  void PasteProperty(Integer Mode);
  bool PastePropEnabled() const;

  // --- arrangement of the objects and the whole-image selection commands
  void MoveShapes(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void MoveShapesOver(Integer DX, Integer DY);
  // Windows virtual-key codes 37..40 (left, up, right, down).
  void MoveShapeByArrowKey(Integer Key);
  // 0 left, 1 horizontal centre, 2 right, 3 top, 4 vertical centre, 5 bottom.
  void AlignShape(Integer Mode);
  void ShapeSetSize(Integer W, Integer H);
  void BringToFront();
  void BringForward();
  void SendBackward();
  void SendToBack();
  // The current picture object's picture mirrored (0 left to right) or
  // replaced.
  void FlipShape(Integer Mode);
  void SmallReplaceBy(TBitmap32* B32);
  // The selected objects (or all) drawn into the raster with their styles
  // and deleted; crop frames stay, a selection gives its lifted picture.
  void Flatten(bool bAll);
  // Pencil strokes (the polyline objects) are editable, or locked.
  bool PencilEditable() const { return FPencilEditable; }
  void SetPencilEditable(bool Value);
  // Select all (bAll) or invert the selection.
  void SelectImage(bool bAll);
  void SaveSelection(const String& sName);
  // A missing name or a region text with nothing usable creates nothing.
  void LoadSelection(const String& sName);

  // --- paint tools (ProcessMode): a stroke from ProcessBitmapBegin to
  // ProcessBitmapEnd; (X, Y) is a dab's top-left corner.
  void ProcessBitmapBegin(Integer X, Integer Y, Integer Opacity, TColor FillColor, Integer StyleIndex);
  void ProcessBitmap(bool IsMove, Integer X, Integer Y);
  void ProcessBitmapByLine(Integer X, Integer Y);
  void ProcessBitmapDo(Integer X, Integer Y);
  void ProcessBitmapEnd();
  TBitmap32* SrcBmp_T2() const { return FSrcBmp_T2.get(); }
  Integer ProcessDirection() const { return FProcessDirection; }

  // --- gradient tool: paints the drag from (GradientStartX, GradientStartY)
  // to (MovedX, MovedY); type 0 linear, 1 radial, 3 reflected, 4 diamond;
  // with a selection only its pixels (or its lifted picture) change.
  void GradientDo(Integer GradientType, const TArrayOfGPColor& Colors, const TArrayOfSingle& Positions);
  TColor32 FillColor() const { return FFillColor; }
  TColor32 FillSourceColor() const { return FFillSourceColor; }
  void SetFillSourceColor(TColor32 C) { FFillSourceColor = C; }

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
  LUMIGRA_DOC_PROP(bool, FrameSmall)
  LUMIGRA_DOC_PROP(Integer, FrameType)
  LUMIGRA_DOC_PROP(Integer, FrameMode)
  // The mask picture of a mask frame (not owned).
  LUMIGRA_DOC_PROP(TBitmap32*, FrameMaskBmp)
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
  // The copy an effect, paint or geometry preview starts from.
  std::unique_ptr<TBitmap32> FSrcBmp_T;
  // EffectBegin stamped a lifted selection and stored a step for it.
  bool FEffectUndoOnCancel = false;
  // The working copy of a run and where it lies in the raster; FromSelection
  // when it is the selection's cut-out (then owned by Holder). A copy of the
  // whole start image reuses FEffectWork from run to run.
  TCustomBitmap32* EffectWorkingCopy(bool UseSelection, TPoint& Origin, bool& FromSelection,
                                     std::unique_ptr<TCustomBitmap32>& Holder);
  std::unique_ptr<TCustomBitmap32> FEffectWork;
  // A run may write the raster straight from the start image: no picture
  // object, no selection, the raster still of the start image's size and
  // not clipped.
  bool EffectRunsOnRaster() const;
  void EffectWriteBack(TCustomBitmap32* Copy, const TPoint& Origin, bool FromSelection);
  class TImgSmall* EffectSmallShape() const;
  // Photo frames.
  bool FFrameSmall = false;
  Integer FFrameType = 0, FFrameMode = 0;
  TBitmap32* FFrameMaskBmp = nullptr;
  // How far the previous run moved the objects and guides.
  Integer FFrameMoveX = 0, FFrameMoveY = 0;
  // The picture object's box when FrameBegin took its picture.
  TRect FFrameSmallRect;
  // The bitmap a run draws into: the raster, or a scratch for the picture
  // object (nil when there is nothing to frame).
  TBitmap32* FrameCanvas();
  std::unique_ptr<TBitmap32> FFrameWork;
  // A run's result in FrameCanvas() with the image at (X0, Y0) takes effect.
  void FrameFinish(Integer X0, Integer Y0);
  // A run's result in FrameCanvas() of the start image's size takes effect
  // (nothing moves but what an earlier run moved).
  void FrameFinishInPlace();
  // The run that draws no frame: the start image unchanged.
  void FrameUnframed();
  TColor32 FFillColor = 0xFF000000u;
  TColor32 FFillSourceColor = 0;
  // The stroke of the paint tools.
  std::unique_ptr<TBitmap32> FSrcBmp_T2, FProcessBrush, FProcessBrushMask;
  TPoint FProcessDown;
  Integer FProcessDirection = 0;
  Integer FProcessStyleIndex = -1;
  Integer FProcessOpacity = 255;
  TColor32 FProcessFillColor = 0xFF000000u;
  Integer FBrushOffset = 0;
  Integer FProcessStep = 0;
  TPoint FLastDabPoint{UnsetPosition, 0};
  // While a segment is dabbed the raster is recomposed once, over the
  // union of its dabs, from the stroke's start and its layer.
  bool FDeferRecompose = false;
  TRect FStrokeDirty;
  void RecomposeStroke(const TRect& R);
  // Effect brushes.
  bool FEffectDrawDone = false;
  TPoint FLastEffectPoint{-10000, 0};
  TPoint FHighlightLast;
  std::unique_ptr<TImgShape> FHighlightPen;
  std::unique_ptr<TImgWarping> FWarping;
  // Steps stored while an effect brush began (bokeh and colouring).
  Integer FEffectDrawSteps = 0;
  void SaveEffectDrawStep();
  TShapeType FCopyPropTag = TShapeType::shNone;
  // The canvas fill of the geometry commands.
  TColor32 CanvasFill() const { return FCanvasTransparent ? 0x00FFFFFFu : FCanvasColor; }
  // The crop frame's or the selection's rectangle; false without either.
  bool CropFrame(TRect& R) const;
  // The raster := B's pixels, then the steps every free transformation ends with.
  void FinishFreeTransform(TCustomBitmap32* B);
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
