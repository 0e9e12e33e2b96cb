// Bmp32_Image: the paint box and the image control. TCustomPaintBox32 paints
// into a TBitmap32 back buffer and copies it to its window, only the invalid
// rectangles when the repaint optimiser is on. TCustomImage32 adds its own
// bitmap, a layer collection, ordered paint stages, the alignment and scale
// of the bitmap inside the control and the mapping between control and
// bitmap coordinates. Winelib only.
#pragma once

#include <functional>
#include <vector>

#include "bitmap/win/Bmp32_Layers.h"
#include "bitmap/Bmp32_RepaintOpt.h"
#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Controls.h"

struct TPaintStage {
  bool DsgnTime = false;
  bool RunTime = true;
  Cardinal Stage = 0;
  Cardinal Parameter = 0;
};

inline constexpr Cardinal PST_CUSTOM = 1;
inline constexpr Cardinal PST_CLEAR_BUFFER = 2;
inline constexpr Cardinal PST_CLEAR_BACKGND = 3;
inline constexpr Cardinal PST_DRAW_BITMAP = 4;
inline constexpr Cardinal PST_DRAW_LAYERS = 5;
inline constexpr Cardinal PST_CONTROL_FRAME = 6;
inline constexpr Cardinal PST_BITMAP_FRAME = 7;

inline constexpr const char16_t* SInvalidStageIndex = u"Invalid stage index";

class TPaintStages : public TObject {
 public:
  TPaintStage* Add();
  TPaintStage* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear() { FItems.clear(); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TPaintStage& Items(Integer Index) { return FItems.at(static_cast<size_t>(Index)); }

 private:
  std::vector<TPaintStage> FItems;
};

enum TRepaintMode : Byte { rmFull, rmDirect, rmOptimizer };
using TPaintBoxOptions = Byte;
inline constexpr TPaintBoxOptions pboWantArrowKeys = 0x01;
inline constexpr TPaintBoxOptions pboAutoFocus = 0x02;

class TCustomPaintBox32 : public TCustomControl {
 public:
  explicit TCustomPaintBox32(TComponent* AOwner);
  ~TCustomPaintBox32() override;

  void Invalidate() override;
  virtual void ForceFullInvalidate();
  void Flush();
  void Flush(const TRect& SrcRect);
  virtual TRect GetViewportRect();
  void Resize() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;

  TBitmap32* Buffer() const { return FBuffer; }
  bool BufferValid() const { return FBufferValid; }
  Integer BufferOversize() const { return FBufferOversize; }
  void SetBufferOversize(Integer Value);
  TRepaintMode RepaintMode() const { return FRepaintMode; }
  virtual void SetRepaintMode(TRepaintMode Value);
  TCustomRepaintOptimizer* RepaintOptimizer() const { return FRepaintOptimizer; }
  TRectList* InvalidRects() const { return FInvalidRects; }
  TPaintBoxOptions Options() const { return FOptions; }
  void SetOptions(TPaintBoxOptions Value) { FOptions = Value; }
  bool MouseInControl() const { return FMouseInControl; }

  TNotifyEvent OnGDIOverlay;

 protected:
  void Loaded() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  virtual bool CustomRepaint();
  virtual bool InvalidRectsAvailable() { return true; }
  virtual void DoPrepareInvalidRects();
  virtual void DoPaintBuffer();
  virtual void DoPaintGDIOverlay();
  virtual void DoBufferResized(Integer OldWidth, Integer OldHeight);
  virtual void MouseEnter();
  virtual void MouseLeave();
  void ResizeBuffer();
  void ResetInvalidRects() { FInvalidRects->Clear(); }
  void DirectAreaUpdateHandler(TObject* Sender, const TRect& Area, Cardinal Info);

  TBitmap32* FBuffer;
  Integer FBufferOversize = 40;
  bool FBufferValid = false;
  TRepaintMode FRepaintMode = rmFull;
  TRectList* FInvalidRects;
  bool FForceFullRepaint = true;
  TCustomRepaintOptimizer* FRepaintOptimizer;
  TPaintBoxOptions FOptions = 0;
  bool FMouseInControl = false;
};

class TPaintBox32 : public TCustomPaintBox32 {
 public:
  using TCustomPaintBox32::TCustomPaintBox32;
  TNotifyEvent OnPaintBuffer;

 protected:
  void DoPaintBuffer() override;
};

enum TBitmapAlign : Byte { baTopLeft, baCenter, baTile, baCustom };
enum TScaleMode : Byte { smNormal, smStretch, smScale, smResize, smOptimal, smOptimalScaled };

using TImgMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer)>;
using TImgMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer)>;
using TPaintStageEvent = std::function<void(TObject* Sender, TBitmap32* Buffer, Cardinal StageNum)>;

class TCustomImage32 : public TCustomPaintBox32 {
 public:
  explicit TCustomImage32(TComponent* AOwner);
  ~TCustomImage32() override;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  virtual void Changed();
  virtual void Update(const TRect& Rect);
  using TCustomPaintBox32::Update;
  void Invalidate() override;
  void Resize() override;
  void DblClick() override;

  TPoint BitmapToControl(const TPoint& APoint);
  TFloatPoint BitmapToControl(const TFloatPoint& APoint);
  TPoint ControlToBitmap(const TPoint& APoint);
  TFloatPoint ControlToBitmap(const TFloatPoint& APoint);
  virtual TRect GetBitmapRect();
  virtual SIZE GetBitmapSize();
  virtual void PaintTo(TBitmap32* Dest, const TRect& DestRect);
  virtual void SetupBitmap(bool DoClear = false, TColor32 ClearColor = 0xFF000000u);

  TBitmap32* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap32* Value) { FBitmap->Assign(Value); }
  TBitmapAlign BitmapAlign() const { return FBitmapAlign; }
  void SetBitmapAlign(TBitmapAlign Value);
  TLayerCollection* Layers() const { return FLayers; }
  void SetLayers(TLayerCollection* Value) { FLayers->Assign(Value); }
  Single OffsetHorz() const { return FOffsetHorz; }
  void SetOffsetHorz(Single Value);
  Single OffsetVert() const { return FOffsetVert; }
  void SetOffsetVert(Single Value);
  TPaintStages* PaintStages() const { return FPaintStages; }
  Single Scale() const { return FScaleX; }
  void SetScale(Single Value);
  Single ScaleX() const { return FScaleX; }
  void SetScaleX(Single Value);
  Single ScaleY() const { return FScaleY; }
  void SetScaleY(Single Value);
  TScaleMode ScaleMode() const { return FScaleMode; }
  virtual void SetScaleMode(TScaleMode Value);
  void SetOnBitmapPixelCombine(TPixelCombineEvent Value);
  void SetRepaintMode(TRepaintMode Value) override;
  Integer UpdateCount() const { return FUpdateCount; }
  bool CacheIsValid() const { return CacheValid; }

  TNotifyEvent OnBitmapResize;
  TNotifyEvent OnChange;
  TNotifyEvent OnInitStages;
  TImgMouseEvent OnMouseDown;
  TImgMouseMoveEvent OnMouseMove;
  TImgMouseEvent OnMouseUp;
  TPaintStageEvent OnPaintStage;
  TNotifyEvent OnScaleChange;

 protected:
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseLeave() override;
  bool InvalidRectsAvailable() override;
  void DoPaintBuffer() override;
  void DoPaintGDIOverlay() override;

  virtual void BitmapResized();
  virtual void BitmapChanged(const TRect& Area);
  virtual void DoInitStages();
  virtual void DoScaleChange();
  virtual void InitDefaultStages();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  virtual void UpdateCache();
  void InvalidateCache() { CacheValid = false; }
  virtual void ExecBitmapFrame(TBitmap32* Dest, Integer StageNum);
  virtual void ExecClearBuffer(TBitmap32* Dest, Integer StageNum);
  virtual void ExecClearBackgnd(TBitmap32* Dest, Integer StageNum);
  virtual void ExecControlFrame(TBitmap32* Dest, Integer StageNum);
  virtual void ExecCustom(TBitmap32* Dest, Integer StageNum);
  virtual void ExecDrawBitmap(TBitmap32* Dest, Integer StageNum);
  virtual void ExecDrawLayers(TBitmap32* Dest, Integer StageNum);
  void ExecStage(Cardinal Stage, TBitmap32* Dest, Integer StageNum);
  void HookBitmap();
  // The bitmap's changed area grown by the resampler's reach, in control
  // coordinates, once per tile position.
  void ForEachMappedArea(const TRect& Area, const std::function<void(const TRect&)>& Fn);

  TBitmap32* FBitmap;
  TBitmapAlign FBitmapAlign = baTopLeft;
  TLayerCollection* FLayers;
  Single FOffsetHorz = 0, FOffsetVert = 0;
  TPaintStages* FPaintStages;
  std::vector<std::pair<Cardinal, Integer>> FPaintStageHandlers;  // stage code, stage index
  Single FScaleX = 1, FScaleY = 1;
  TScaleMode FScaleMode = smNormal;
  Integer FUpdateCount = 0;

  TRect CachedBitmapRect;
  Single CachedShiftX = 0, CachedShiftY = 0, CachedScaleX = 1, CachedScaleY = 1, CachedRecScaleX = 1,
         CachedRecScaleY = 1;
  bool CacheValid = false;
  Integer OldSzX = 0, OldSzY = 0;
  bool PaintToMode = false;
};

class TImage32 : public TCustomImage32 {
 public:
  using TCustomImage32::TCustomImage32;
};
