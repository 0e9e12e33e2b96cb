// Bitmap engine: notifying persistent objects, maps, the bitmap object and
// its backends, samplers and resamplers (base classes).
//
// Holds:
//  - EBitmapException; AreaInfoRect / AreaInfoLine; TAreaChangedEvent;
//    TPixelCombineEvent; TPixelAccessMode;
//  - TPlainInterfacedPersistent (optional intrusive reference count:
//    _AddRef/_Release; FreeObject of a counted one still referenced raises
//    "Unmatched reference counting."),
//    TNotifiablePersistent (OnChange, BeginUpdate/EndUpdate/Changed),
//    TThreadPersistent (per-object recursive Lock/Unlock),
//    TCustomMap (Width/Height, SetSize, SetSizeFrom, OnResize);
//  - TCustomBackend / TMemoryBackend (pixel memory; reference counted, the
//    creator's count is 1; a backend's most derived constructor calls
//    Install(Owner) to become the owner's backend), DefaultBackendClass
//    (a factory, replaced by the GDI build), EnsureBackendSupport,
//    ReinstateBackend;
//  - TCustomSampler / TCustomResampler (base classes of the resamplers in
//    Bmp32_Resamplers.h; TCustomResampler publishes PixelAccessMode through
//    IPublishedProperties of Bmp32_Containers.h);
//  - TCustomBitmap32: settings, clip rectangle, change reports, measuring,
//    pixel access (plain, S, W, T, 256, Fixed), Clear/FillRect, Draw/DrawTo,
//    whole-bitmap operations (ResetAlpha, Roll, flips, quarter turns), line
//    drawing with the stipple pattern and the pen, rectangle filling and
//    framing.
// Sources: Bmp32.cpp (objects, settings, plain pixels), Bmp32_DrawTo.cpp
// (sub-pixel reads, Draw, resampler lookup), Bmp32_Ops.cpp (whole-bitmap
// operations), Bmp32_Lines.cpp (lines, stipple, pen), Bmp32_Rects.cpp
// (rectangles).
// Portable: no Windows header.
#pragma once

#include <atomic>
#include <functional>
#include <initializer_list>
#include <mutex>

#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_Containers.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_Math.h"
#include "bitmap/Bmp32_Types.h"
#include "rtl/Classes.h"
#include "rtl/SysUtils.h"

class TCustomBitmap32;
class TCustomBackend;
class TCustomResampler;

class EBitmapException : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr Cardinal AreaInfoRect = 0x80000000u;
inline constexpr Cardinal AreaInfoLine = 0x40000000u;

using TAreaChangedEvent = std::function<void(TObject* Sender, const TRect& Area, Cardinal Info)>;
using TPixelCombineEvent = std::function<void(TColor32 F, TColor32& B, TColor32 M)>;

enum TPixelAccessMode : Integer { pamUnsafe = 0, pamSafe = 1, pamWrap = 2, pamTransparentEdge = 3 };

// An interface identifier: the address of a unique tag object.
using TInterfaceID = const void*;

// ---------------------------------------------------------------------------
// TPlainInterfacedPersistent

class TPlainInterfacedPersistent : public TPersistent {
 public:
  // True and Obj set when the object implements the interface.
  virtual bool QueryInterface(TInterfaceID IID, void*& Obj);
  // -1 and nothing else when not reference counted.
  Integer _AddRef();
  // Frees the object when the count reaches 0.
  Integer _Release();
  Integer RefCount() const { return FRefCount.load(); }
  bool RefCounted() const { return FRefCounted; }
  // Freed through FreeObject, a reference-counted object whose count is not
  // 0 raises "Unmatched reference counting." and is not freed.
  void BeforeDestruction() override;

 protected:
  bool FRefCounted = false;
  std::atomic<Integer> FRefCount{0};
};

// ---------------------------------------------------------------------------
// TNotifiablePersistent

class TNotifiablePersistent : public TPlainInterfacedPersistent {
 public:
  virtual void Changed();
  virtual void BeginUpdate();
  virtual void EndUpdate();  // asserts "Unpaired TThreadPersistent.EndUpdate"; does not call Changed

  Integer UpdateCount() const { return FUpdateCount; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

 protected:
  Integer FUpdateCount = 0;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// TThreadPersistent

class TThreadPersistent : public TNotifiablePersistent {
 public:
  TThreadPersistent() = default;
  void Lock();
  void Unlock();
  Integer LockCount() const { return FLockCount.load(); }

 protected:
  std::atomic<Integer> FLockCount{0};
  std::recursive_mutex FLock;
};

// ---------------------------------------------------------------------------
// TCustomMap

// How SetSizeFrom reads the size of a class-library graphic or control: the
// class library registers it (returns false for other classes).
using TSizeFromHook = bool (*)(TPersistent* Source, Integer& Width, Integer& Height);
extern TSizeFromHook SetSizeFromHook;

class TCustomMap : public TThreadPersistent {
 public:
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  virtual void SetWidth(Integer Value) { SetSize(Value, FHeight); }
  virtual void SetHeight(Integer Value) { SetSize(FWidth, Value); }
  virtual void Delete() { SetSize(0, 0); }
  virtual bool Empty() const { return FWidth == 0 || FHeight == 0; }
  virtual void Resized();
  virtual bool SetSize(Integer NewWidth, Integer NewHeight);
  bool SetSizeFrom(TPersistent* Source);

  const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent Value) { FOnResize = std::move(Value); }

 protected:
  virtual void ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight);

  Integer FHeight = 0;
  Integer FWidth = 0;
  TNotifyEvent FOnResize;
};

// ---------------------------------------------------------------------------
// Backends

class TCustomBackend : public TThreadPersistent {
 public:
  // Reference counted; the count is 1 (the creator's) after construction.
  // With an owner, installs itself as the owner's backend.
  explicit TCustomBackend(TCustomBitmap32* Owner = nullptr);
  ~TCustomBackend() override;

  void Assign(TPersistent* Source) override;
  virtual void Clear();
  virtual bool Empty() const { return false; }
  virtual void ChangeSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight, bool ClearBuffer = true);

  PColor32Array Bits() const { return FBits; }
  TCustomBitmap32* Owner() const { return FOwner; }
  const TNotifyEvent& OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent Value) { FOnChanging = std::move(Value); }

 protected:
  // The constructor's own work; descendants' constructors call Install().
  void Install(TCustomBitmap32* Owner);
  virtual void AnnounceChanging();
  virtual void AllocateSurface(Integer NewWidth, Integer NewHeight, bool ClearBuffer) = 0;
  virtual void ReleaseSurface() = 0;

  PColor32Array FBits = nullptr;
  TCustomBitmap32* FOwner = nullptr;
  TNotifyEvent FOnChanging;

  friend class TCustomBitmap32;
};

class TMemoryBackend : public TCustomBackend {
 public:
  explicit TMemoryBackend(TCustomBitmap32* Owner = nullptr);
  ~TMemoryBackend() override;

 protected:
  // NewWidth*NewHeight*4 bytes (size_t arithmetic; an overflowing or refused
  // size raises EOutOfMemory "Out of memory"); cleared to $FF000000.
  void AllocateSurface(Integer NewWidth, Integer NewHeight, bool ClearBuffer) override;
  void ReleaseSurface() override;
};

// The backend class a bitmap switches to when it needs platform features
// (the GDI backend in the Winelib build; a memory backend otherwise).
using TBackendFactory = TCustomBackend* (*)();
extern TBackendFactory DefaultBackendClass;

// The platform's temporary folder with a trailing delimiter (recorded at
// start-up through the GetTempPathW seam; read by nothing).
using TGetTempPathProc = String (*)();
extern TGetTempPathProc GetTempPathProc;
extern String TempFolderPath;

enum TSupportRequirement : Integer { rqAll = 0, rqAny = 1 };
void EnsureBackendSupport(TCustomBitmap32* Bitmap, const std::vector<TInterfaceID>& Interfaces, TSupportRequirement Mode,
                          bool ClearFirst, TCustomBackend*& Released);
void ReinstateBackend(TCustomBitmap32* Bitmap, TCustomBackend* Saved);

// ---------------------------------------------------------------------------
// Samplers

class TCustomSampler : public TNotifiablePersistent {
 public:
  virtual TColor32 GetSampleInt(Integer X, Integer Y);
  virtual TColor32 GetSampleFixed(TFixed X, TFixed Y);
  virtual TColor32 GetSampleFloat(Single X, Single Y);
  virtual void PrepareSampling() {}
  virtual void FinalizeSampling() {}
  virtual bool HasBounds() const { return false; }
  virtual TFloatRect GetSampleBounds() const;
};

class TCustomResampler : public TCustomSampler, public IPublishedProperties {
 public:
  TCustomResampler();
  // Installs itself as ABitmap's resampler (the bitmap then owns it).
  explicit TCustomResampler(TCustomBitmap32* ABitmap);

  void Changed() override;
  virtual Single GetWidth() const { return 0; }
  virtual void Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TCustomBitmap32* Src,
                        const TRect& SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) = 0;
  void PrepareSampling() override;
  bool HasBounds() const override;
  TFloatRect GetSampleBounds() const override;

  TCustomBitmap32* Bitmap() const { return FBitmap; }
  void SetBitmap(TCustomBitmap32* Value) { FBitmap = Value; }
  TPixelAccessMode PixelAccessMode() const { return FPixelAccessMode; }
  void SetPixelAccessMode(TPixelAccessMode Value);
  const TRect& ClipRect() const { return FClipRect; }

  // Published: PixelAccessMode. Descendants append theirs.
  const TPublishedProperties& PublishedProperties() const override;

 protected:
  // Another resampler: its published properties (AssignPublishedProperties);
  // anything else: the conversion error.
  void AssignTo(TPersistent* Dest) override;

  TCustomBitmap32* FBitmap = nullptr;
  TRect FClipRect;
  TPixelAccessMode FPixelAccessMode = pamSafe;
};

// ---------------------------------------------------------------------------
// TCustomBitmap32

class TCustomBitmap32 : public TCustomMap {
 public:
  TCustomBitmap32();
  ~TCustomBitmap32() override;

  // --- size, backend
  bool Empty() const override;
  void Delete() override { SetSize(0, 0); }
  TRect BoundsRect() const { return TRect(0, 0, FWidth, FHeight); }
  TCustomBackend* Backend() const { return FBackend; }
  virtual void SetBackend(TCustomBackend* Value);
  // An extra reference on the current backend for the caller.
  TCustomBackend* ReleaseBackend();
  bool QueryInterface(TInterfaceID IID, void*& Obj) override;
  PColor32Array Bits() const { return FBits; }

  // --- change reports
  void Changed() override;
  virtual void Changed(const TRect& Area, Cardinal Info = AreaInfoRect);
  virtual void PropertyChanged() { TCustomMap::Changed(); }
  void BeginMeasuring(const TAreaChangedEvent& Callback);
  void EndMeasuring();
  bool MeasuringMode() const { return FMeasuringMode; }
  const TAreaChangedEvent& OnAreaChanged() const { return FOnAreaChanged; }
  void SetOnAreaChanged(TAreaChangedEvent Value) { FOnAreaChanged = std::move(Value); }
  const TPixelCombineEvent& OnPixelCombine() const { return FOnPixelCombine; }
  void SetOnPixelCombine(TPixelCombineEvent Value) { FOnPixelCombine = std::move(Value); }

  // --- settings
  TDrawMode DrawMode() const { return FDrawMode; }
  void SetDrawMode(TDrawMode Value);
  TCombineMode CombineMode() const { return FCombineMode; }
  void SetCombineMode(TCombineMode Value);
  TWrapMode WrapMode() const { return FWrapMode; }
  void SetWrapMode(TWrapMode Value);
  Cardinal MasterAlpha() const { return FMasterAlpha; }
  void SetMasterAlpha(Cardinal Value);
  TColor32 OuterColor() const { return FOuterColor; }
  void SetOuterColor(TColor32 Value) { FOuterColor = Value; }
  TColor32 PenColor() const { return FPenColor; }
  void SetPenColor(TColor32 Value) { FPenColor = Value; }
  Single StippleCounter() const { return FStippleCounter; }
  void SetStippleCounter(Single Value) { FStippleCounter = Value; }
  Single StippleStep() const { return FStippleStep; }
  void SetStippleStep(Single Value) { FStippleStep = Value; }
  const TArrayOfColor32& StipplePattern() const { return FStipplePattern; }
  TCustomResampler* Resampler() const { return FResampler; }
  void SetResampler(TCustomResampler* Value);
  String ResamplerClassName() const;
  void SetResamplerClassName(const String& Value);

  // --- clipping
  const TRect& ClipRect() const { return FClipRect; }
  void SetClipRect(const TRect& Value);
  void ResetClipRect() { SetClipRect(BoundsRect()); }
  bool Clipping() const { return FClipping; }

  // --- copying
  void Assign(TPersistent* Source) override;
  virtual void CopyPixelsTo(TCustomBitmap32* Dst);
  virtual void CopySettingsTo(TCustomBitmap32* Dst);

  // --- filling
  void Clear();
  void Clear(TColor32 FillColor);
  // Unclipped: requires X1 <= X2 and the rectangle inside the bitmap.
  void FillRect(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);

  // --- plain pixel access
  PColor32 PixelPtr(Integer X, Integer Y) const { return FBits + (ptrdiff_t(Y) * FWidth + X); }
  PColor32 GetPixelPtr(Integer X, Integer Y) const { return PixelPtr(X, Y); }
  PColor32Array ScanLine(Integer Y) const { return FBits + ptrdiff_t(Y) * FWidth; }
  PColor32Array GetScanLine(Integer Y) const { return ScanLine(Y); }
  TColor32 GetPixel(Integer X, Integer Y) const { return *PixelPtr(X, Y); }
  void SetPixel(Integer X, Integer Y, TColor32 Value) { *PixelPtr(X, Y) = Value; }
  TColor32 GetPixelS(Integer X, Integer Y) const;
  void SetPixelS(Integer X, Integer Y, TColor32 Value);
  TColor32 GetPixelW(Integer X, Integer Y) const;
  void SetPixelT(Integer X, Integer Y, TColor32 Value);
  void SetPixelT(PColor32& Ptr, TColor32 Value);
  void SetPixelTS(Integer X, Integer Y, TColor32 Value);

  // --- sub-pixel access (24.8 and 16.16 positions)
  void SetPixel256(Integer X, Integer Y, TColor32 Value);
  void SetPixel256S(Integer X, Integer Y, TColor32 Value);
  TColor32 GetPixel256(Integer X, Integer Y) const;
  TColor32 GetPixel256S(Integer X, Integer Y) const;
  TColor32 GetPixelFixed(TFixed X, TFixed Y) const;
  TColor32 GetPixelFixedS(TFixed X, TFixed Y) const;
  TColor32 GetPixelFixedW(TFixed X, TFixed Y) const;

  // --- drawing bitmaps onto bitmaps (the source's settings decide)
  void Draw(Integer DstX, Integer DstY, TCustomBitmap32* Src);
  void Draw(Integer DstX, Integer DstY, const TRect& SrcRect, TCustomBitmap32* Src);
  void Draw(const TRect& DstRect, const TRect& SrcRect, TCustomBitmap32* Src);
  void DrawTo(TCustomBitmap32* Dst);
  void DrawTo(TCustomBitmap32* Dst, Integer DstX, Integer DstY);
  void DrawTo(TCustomBitmap32* Dst, Integer DstX, Integer DstY, const TRect& SrcRect);
  void DrawTo(TCustomBitmap32* Dst, const TRect& DstRect);
  void DrawTo(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& SrcRect);

  // --- whole-bitmap operations (Dst nil or this bitmap = in place)
  void ResetAlpha() { ResetAlpha(255); }
  void ResetAlpha(Byte AlphaValue);
  void Roll(Integer Dx, Integer Dy, bool FillBack, TColor32 FillColor);
  void FlipHorz(TCustomBitmap32* Dst = nullptr);
  void FlipVert(TCustomBitmap32* Dst = nullptr);
  void Rotate90(TCustomBitmap32* Dst = nullptr);
  void Rotate180(TCustomBitmap32* Dst = nullptr);
  void Rotate270(TCustomBitmap32* Dst = nullptr);

  // --- line drawing (Bmp32_Lines.cpp)
  // Suffixes: X 16.16 coordinates (anti-aliased), F Single coordinates,
  // A anti-aliased integer line, T blended through the combine mode, S clipped
  // to the clip rectangle and reporting the changed area, P colours from the
  // stipple pattern. Members without S trust their coordinates. Run end points
  // (X2, Y2) are inclusive; L says whether a line's end point is drawn.

  // Stipple pattern: setting it copies the colours and rewinds the counter.
  void SetStipple(const TArrayOfColor32& NewStipple);
  void SetStipple(std::initializer_list<TColor32> NewStipple);
  void AdvanceStippleCounter(Single LengthPixels);
  // The colour at the counter (interpolated between entries); advances it.
  TColor32 GetStippleColor();

  // Runs.
  void HorzLine(Integer X1, Integer Y, Integer X2, TColor32 Value);
  void HorzLineS(Integer X1, Integer Y, Integer X2, TColor32 Value);
  void HorzLineT(Integer X1, Integer Y, Integer X2, TColor32 Value);
  void HorzLineTS(Integer X1, Integer Y, Integer X2, TColor32 Value);
  void HorzLineTSP(Integer X1, Integer Y, Integer X2);
  void HorzLineX(TFixed X1, TFixed Y, TFixed X2, TColor32 Value);
  void HorzLineXS(TFixed X1, TFixed Y, TFixed X2, TColor32 Value);
  void VertLine(Integer X, Integer Y1, Integer Y2, TColor32 Value);
  void VertLineS(Integer X, Integer Y1, Integer Y2, TColor32 Value);
  void VertLineT(Integer X, Integer Y1, Integer Y2, TColor32 Value);
  void VertLineTS(Integer X, Integer Y1, Integer Y2, TColor32 Value);
  void VertLineTSP(Integer X, Integer Y1, Integer Y2);
  void VertLineX(TFixed X, TFixed Y1, TFixed Y2, TColor32 Value);
  void VertLineXS(TFixed X, TFixed Y1, TFixed Y2, TColor32 Value);

  // Straight lines.
  void Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L = false);
  void LineS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L = false);
  void LineT(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L = false);
  void LineTS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L = false);
  void LineA(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L = false);
  void LineAS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L = false);
  void LineX(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L = false);
  void LineXS(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L = false);
  void LineXP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L = false);
  void LineXSP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L = false);
  void LineF(Single X1, Single Y1, Single X2, Single Y2, TColor32 Value, bool L = false);
  void LineFS(Single X1, Single Y1, Single X2, Single Y2, TColor32 Value, bool L = false);
  void LineFP(Single X1, Single Y1, Single X2, Single Y2, bool L = false);
  void LineFSP(Single X1, Single Y1, Single X2, Single Y2, bool L = false);

  // Pen position (lines in PenColor; the end point is never drawn).
  void MoveTo(Integer X, Integer Y);
  void MoveToX(TFixed X, TFixed Y);
  void MoveToF(Single X, Single Y);
  void LineToS(Integer X, Integer Y);
  void LineToTS(Integer X, Integer Y);
  void LineToAS(Integer X, Integer Y);
  void LineToXS(TFixed X, TFixed Y);
  void LineToFS(Single X, Single Y);
  void LineToXSP(TFixed X, TFixed Y);
  void LineToFSP(Single X, Single Y);

  // --- rectangles, half-open (Bmp32_Rects.cpp); FillRect is above
  void FillRectS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  void FillRectS(const TRect& ARect, TColor32 Value);
  void FillRectT(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  void FillRectTS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  void FillRectTS(const TRect& ARect, TColor32 Value);
  void FrameRectS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  void FrameRectS(const TRect& ARect, TColor32 Value);
  void FrameRectTS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  void FrameRectTS(const TRect& ARect, TColor32 Value);
  // Clockwise, one stipple pattern running on around the corners.
  void FrameRectTSP(Integer X1, Integer Y1, Integer X2, Integer Y2);
  // Bevel: top and left lightened, bottom and right darkened (Contrast > 0).
  void RaiseRectTS(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Contrast);
  void RaiseRectTS(const TRect& ARect, Integer Contrast);

  // Wrap routines chosen from the wrap mode and the clip rectangle.
  TWrapProcEx WrapProcHorz = ClampRange;
  TWrapProcEx WrapProcVert = ClampRange;
  // BlendInto or MergeInto by the combine mode (read through the slot at call time).
  TBlendMem BlendProc() const { return BlendIntoByMode[FCombineMode]; }
  // Pen positions: integer, 16.16, and the Single position MoveToF was given
  // (LineToFS/LineToFSP start there and clip before converting to 16.16).
  Integer RasterX = 0, RasterY = 0;
  TFixed RasterXF = 0, RasterYF = 0;
  Single RasterXFloat = 0, RasterYFloat = 0;

 protected:
  void ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) override;
  virtual void BackendReady(TObject* Sender);
  virtual void BackendReleasing(TObject* Sender) { (void)Sender; }
  virtual void DetachBackend();
  void UpdateWrapProcs();
  void InstallBackendEvents(TCustomBackend* B);
  void FloatPenPos(Single& X, Single& Y) const;

  TCustomBackend* FBackend = nullptr;
  PColor32Array FBits = nullptr;
  TRect FClipRect;
  TFixedRect FFixedClipRect;
  TRect F256ClipRect;
  bool FClipping = false;
  TDrawMode FDrawMode = dmOpaque;
  TCombineMode FCombineMode = cmBlend;
  TWrapMode FWrapMode = wmClamp;
  Cardinal FMasterAlpha = 255;
  TColor32 FOuterColor = 0;
  TColor32 FPenColor = 0xFFFFFFFFu;
  Single FStippleCounter = 0;
  TArrayOfColor32 FStipplePattern;
  Single FStippleStep = 1.0f;
  TPixelCombineEvent FOnPixelCombine;
  TAreaChangedEvent FOnAreaChanged;
  TAreaChangedEvent FOldOnAreaChanged;
  bool FMeasuringMode = false;
  TCustomResampler* FResampler = nullptr;

  friend class TCustomBackend;
  friend class TCustomResampler;
};
