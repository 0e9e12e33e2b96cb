// Notifying persistent objects, maps, backends, samplers and the bitmap
// object: settings, clipping, change reports, plain pixel access, filling.
// Sub-pixel reads and Draw live in Bmp32_DrawTo.cpp, whole-bitmap operations
// in Bmp32_Ops.cpp.
#include "bitmap/Bmp32.h"
#include "rtl/ScopeGuard.h"

#include <cstdlib>
#include <cstring>
#include <limits>

// Defined in Bmp32_DrawTo.cpp (they need the resampler classes).
TCustomResampler* CreateDefaultResampler(TCustomBitmap32* Bitmap);
bool CreateResamplerByName(const String& Name, TCustomBitmap32* Bitmap);

// ---------------------------------------------------------------------------
// TPlainInterfacedPersistent

bool TPlainInterfacedPersistent::QueryInterface(TInterfaceID IID, void*& Obj) {
  (void)IID;
  Obj = nullptr;
  return false;
}

Integer TPlainInterfacedPersistent::_AddRef() {
  if (!FRefCounted) return -1;
  return ++FRefCount;
}

Integer TPlainInterfacedPersistent::_Release() {
  if (!FRefCounted) return -1;
  Integer r = --FRefCount;
  if (r == 0) delete this;
  return r;
}

void TPlainInterfacedPersistent::BeforeDestruction() {
  if (FRefCounted && FRefCount.load() != 0) throw Exception(u"Unmatched reference counting.");
  TPersistent::BeforeDestruction();
}

// ---------------------------------------------------------------------------
// TNotifiablePersistent, TThreadPersistent

void TNotifiablePersistent::Changed() {
  if (FUpdateCount == 0 && FOnChange) FOnChange(this);
}

void TNotifiablePersistent::BeginUpdate() { ++FUpdateCount; }

void TNotifiablePersistent::EndUpdate() {
  Assert(FUpdateCount > 0, u"Unpaired TThreadPersistent.EndUpdate");
  --FUpdateCount;
}

void TThreadPersistent::Lock() {
  ++FLockCount;
  FLock.lock();
}

void TThreadPersistent::Unlock() {
  FLock.unlock();
  --FLockCount;
}

// ---------------------------------------------------------------------------
// TCustomMap

TSizeFromHook SetSizeFromHook = nullptr;

void TCustomMap::Resized() {
  if (FOnResize) FOnResize(this);
}

void TCustomMap::ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  Width = NewWidth;
  Height = NewHeight;
}

bool TCustomMap::SetSize(Integer NewWidth, Integer NewHeight) {
  if (NewWidth < 0) NewWidth = 0;
  if (NewHeight < 0) NewHeight = 0;
  if (NewWidth == FWidth && NewHeight == FHeight) return false;
  ChangeMapSize(FWidth, FHeight, NewWidth, NewHeight);
  Changed();
  Resized();
  return true;
}

bool TCustomMap::SetSizeFrom(TPersistent* Source) {
  if (auto* map = dynamic_cast<TCustomMap*>(Source)) return SetSize(map->Width(), map->Height());
  Integer w = 0, h = 0;
  if (Source && SetSizeFromHook && SetSizeFromHook(Source, w, h)) return SetSize(w, h);
  if (!Source) return SetSize(0, 0);
  throw Exception(u"Can't set size from '%s'", {Source->ClassName()});
}

// ---------------------------------------------------------------------------
// Backends

TCustomBackend::TCustomBackend(TCustomBitmap32* Owner) {
  (void)Owner;  // the most derived constructor installs (Install)
  FRefCounted = true;
  FRefCount = 1;
}

TCustomBackend::~TCustomBackend() = default;

void TCustomBackend::Install(TCustomBitmap32* Owner) {
  FOwner = Owner;
  if (Owner) Owner->SetBackend(this);
}

void TCustomBackend::AnnounceChanging() {
  if (FOnChanging) FOnChanging(this);
}

void TCustomBackend::Clear() {
  if (FOwner) {
    ChangeSize(FOwner->FWidth, FOwner->FHeight, 0, 0, false);
  } else {
    Integer w = 0, h = 0;
    ChangeSize(w, h, 0, 0, false);
  }
}

void TCustomBackend::ChangeSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight,
                                bool ClearBuffer) {
  TFinally Done([&] { Changed(); });
  AnnounceChanging();
  ReleaseSurface();
  Width = 0;
  Height = 0;
  if (NewWidth > 0 && NewHeight > 0) AllocateSurface(NewWidth, NewHeight, ClearBuffer);
  Width = NewWidth;
  Height = NewHeight;
}

void TCustomBackend::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomBackend*>(Source);
  if (src && FOwner) {
    Integer w = src->FOwner ? src->FOwner->Width() : 0;
    Integer h = src->FOwner ? src->FOwner->Height() : 0;
    ChangeSize(FOwner->FWidth, FOwner->FHeight, w, h, false);
    if (!src->Empty() && src->FBits && FBits && w > 0 && h > 0)
      std::memcpy(FBits, src->FBits, size_t(w) * size_t(h) * 4);
    return;
  }
  TPersistent::Assign(Source);
}

TMemoryBackend::TMemoryBackend(TCustomBitmap32* Owner) : TCustomBackend(Owner) { Install(Owner); }

TMemoryBackend::~TMemoryBackend() {
  try {
    Clear();
  } catch (...) {
  }
  ReleaseSurface();
}

void TMemoryBackend::AllocateSurface(Integer NewWidth, Integer NewHeight, bool ClearBuffer) {
  // No bitmap of a terabyte or more can be had: refuse before asking the heap.
  const size_t limit = size_t(1) << 38;  // pixels
  size_t n = size_t(NewWidth) * size_t(NewHeight);
  if (NewWidth <= 0 || NewHeight <= 0 || n > limit) throw EOutOfMemory(SOutOfMemory);
  void* p = std::malloc(n * 4);
  if (!p) throw EOutOfMemory(SOutOfMemory);
  FBits = static_cast<PColor32Array>(p);
  if (ClearBuffer) {
    TColor32* q = FBits;
    while (n > 0) {
      Integer chunk = n > 0x40000000u ? 0x40000000 : Integer(n);
      FillWords32(q, chunk, 0xFF000000u);
      q += chunk;
      n -= size_t(chunk);
    }
  }
}

void TMemoryBackend::ReleaseSurface() {
  std::free(FBits);
  FBits = nullptr;
}

namespace {
TCustomBackend* NewMemoryBackend() { return new TMemoryBackend(nullptr); }
String DefaultGetTempPath() {
  const char* t = std::getenv("TMPDIR");
  std::string s = (t && *t) ? t : "/tmp";
  if (s.empty() || s.back() != '/') s.push_back('/');
  String r;
  for (char c : s) r.push_back(char16_t(static_cast<unsigned char>(c)));
  return r;
}
}  // namespace

TBackendFactory DefaultBackendClass = NewMemoryBackend;
TGetTempPathProc GetTempPathProc = DefaultGetTempPath;
String TempFolderPath;

void EnsureBackendSupport(TCustomBitmap32* Bitmap, const std::vector<TInterfaceID>& Interfaces,
                          TSupportRequirement Mode, bool ClearFirst, TCustomBackend*& Released) {
  bool supported = false;
  for (TInterfaceID id : Interfaces) {
    void* obj = nullptr;
    supported = Bitmap->Backend() && Bitmap->Backend()->QueryInterface(id, obj);
    if (Mode == rqAll && !supported) break;
    if (Mode == rqAny && supported) break;
  }
  if (supported) {
    Released = nullptr;
    return;
  }
  if (ClearFirst) Bitmap->SetSize(0, 0);
  Released = Bitmap->ReleaseBackend();
  TCustomBackend* b = DefaultBackendClass();
  TFinally Undo([&] {
    if (Bitmap->Backend() != b) b->_Release();
  });
  Bitmap->SetBackend(b);
  Undo.Dismiss();  // the bitmap took over the creator's reference
}

void ReinstateBackend(TCustomBitmap32* Bitmap, TCustomBackend* Saved) {
  if (!Saved) return;
  Bitmap->SetBackend(Saved);
}

// ---------------------------------------------------------------------------
// Samplers

TColor32 TCustomSampler::GetSampleInt(Integer X, Integer Y) { return GetSampleFixed(Shl(X, 16), Shl(Y, 16)); }

TColor32 TCustomSampler::GetSampleFixed(TFixed X, TFixed Y) {
  return GetSampleFloat(Single(X) / 65536.0f, Single(Y) / 65536.0f);
}

TColor32 TCustomSampler::GetSampleFloat(Single X, Single Y) {
  return GetSampleFixed(SingleToFixed(X), SingleToFixed(Y));
}

TFloatRect TCustomSampler::GetSampleBounds() const {
  const Single inf = std::numeric_limits<Single>::infinity();
  return TFloatRect{-inf, -inf, inf, inf};
}

TCustomResampler::TCustomResampler() { FPixelAccessMode = pamSafe; }

TCustomResampler::TCustomResampler(TCustomBitmap32* ABitmap) : TCustomResampler() {
  FBitmap = ABitmap;
  if (ABitmap) ABitmap->SetResampler(this);
}

void TCustomResampler::Changed() {
  if (FBitmap) FBitmap->Changed();
}

void TCustomResampler::SetPixelAccessMode(TPixelAccessMode Value) {
  if (FPixelAccessMode != Value) {
    FPixelAccessMode = Value;
    Changed();
  }
}

void TCustomResampler::PrepareSampling() {
  if (FBitmap) FClipRect = FBitmap->ClipRect();
}

bool TCustomResampler::HasBounds() const { return FPixelAccessMode != pamWrap; }

TFloatRect TCustomResampler::GetSampleBounds() const {
  TFloatRect r = FBitmap ? FloatRect(FBitmap->ClipRect()) : TFloatRect{};
  if (FPixelAccessMode == pamTransparentEdge) {
    r.Left -= 1;
    r.Top -= 1;
    r.Right += 1;
    r.Bottom += 1;
  }
  return r;
}

const TPublishedProperties& TCustomResampler::PublishedProperties() const {
  static const TPublishedProperties props = {
      TPublishedProperty{u"PixelAccessMode", tkEnumeration,
                         [](TObject* o) -> TPropValue {
                           return Int64(static_cast<TCustomResampler*>(o)->PixelAccessMode());
                         },
                         [](TObject* o, const TPropValue& v) {
                           if (auto* i = std::get_if<Int64>(&v))
                             static_cast<TCustomResampler*>(o)->SetPixelAccessMode(TPixelAccessMode(*i));
                         },
                         nullptr}};
  return props;
}

void TCustomResampler::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TCustomResampler*>(Dest)) {
    AssignPublishedProperties(this, Dest, tkProperties);
    return;
  }
  TPersistent::AssignTo(Dest);
}

// ---------------------------------------------------------------------------
// TCustomBitmap32

TCustomBitmap32::TCustomBitmap32() {
  new TMemoryBackend(this);  // installs itself; the bitmap holds its reference
  FOuterColor = 0;
  FMasterAlpha = 255;
  FPenColor = 0xFFFFFFFFu;
  FStippleStep = 1.0f;
  FCombineMode = cmBlend;
  WrapProcHorz = WrapRoutineFor(wmClamp);
  WrapProcVert = WrapRoutineFor(wmClamp);
  CreateDefaultResampler(this);
}

TCustomBitmap32::~TCustomBitmap32() {
  BeginUpdate();
  Lock();
  try {
    SetSize(0, 0);
  } catch (...) {
    // a handler failing while the bitmap dies cannot stop the destruction
  }
  delete FResampler;
  FResampler = nullptr;
  DetachBackend();
  Unlock();
}

bool TCustomBitmap32::Empty() const {
  return (FBackend && FBackend->Empty()) || FWidth == 0 || FHeight == 0;
}

void TCustomBitmap32::ChangeMapSize(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  FBackend->ChangeSize(Width, Height, NewWidth, NewHeight, true);
}

void TCustomBitmap32::InstallBackendEvents(TCustomBackend* B) {
  B->SetOnChange([this](TObject* Sender) { BackendReady(Sender); });
  B->SetOnChanging([this](TObject* Sender) { BackendReleasing(Sender); });
}

void TCustomBitmap32::BackendReady(TObject* Sender) {
  (void)Sender;
  FBits = FBackend ? FBackend->Bits() : nullptr;
  ResetClipRect();
}

void TCustomBitmap32::DetachBackend() {
  if (!FBackend) return;
  TCustomBackend* b = FBackend;
  FBackend = nullptr;
  FBits = nullptr;
  b->FOwner = nullptr;
  b->SetOnChange(nullptr);
  b->SetOnChanging(nullptr);
  b->_Release();
}

void TCustomBitmap32::SetBackend(TCustomBackend* Value) {
  if (!Value || Value == FBackend) return;
  {
    TUpdateLock Updating(*this);
    Value->FOwner = this;
    if (FBackend) {
      Value->Assign(FBackend);
      DetachBackend();
    }
    FBackend = Value;
    InstallBackendEvents(Value);
  }
  Value->Changed();
  Changed();
}

TCustomBackend* TCustomBitmap32::ReleaseBackend() {
  if (FBackend) FBackend->_AddRef();
  return FBackend;
}

bool TCustomBitmap32::QueryInterface(TInterfaceID IID, void*& Obj) {
  if (FBackend && FBackend->QueryInterface(IID, Obj)) return true;
  return TCustomMap::QueryInterface(IID, Obj);
}

void TCustomBitmap32::Changed() {
  if ((FUpdateCount == 0 || FMeasuringMode) && FOnAreaChanged) FOnAreaChanged(this, BoundsRect(), AreaInfoRect);
  if (!FMeasuringMode) TCustomMap::Changed();
}

void TCustomBitmap32::Changed(const TRect& Area, Cardinal Info) {
  if ((FUpdateCount == 0 || FMeasuringMode) && FOnAreaChanged) FOnAreaChanged(this, Area, Info);
  if (!FMeasuringMode) TCustomMap::Changed();
}

void TCustomBitmap32::BeginMeasuring(const TAreaChangedEvent& Callback) {
  FMeasuringMode = true;
  FOldOnAreaChanged = FOnAreaChanged;
  FOnAreaChanged = Callback;
}

void TCustomBitmap32::EndMeasuring() {
  FMeasuringMode = false;
  FOnAreaChanged = FOldOnAreaChanged;
  FOldOnAreaChanged = nullptr;
}

void TCustomBitmap32::SetDrawMode(TDrawMode Value) {
  if (FDrawMode != Value) {
    FDrawMode = Value;
    Changed();
  }
}

void TCustomBitmap32::SetCombineMode(TCombineMode Value) {
  if (FCombineMode != Value) {
    FCombineMode = Value;
    Changed();
  }
}

void TCustomBitmap32::SetWrapMode(TWrapMode Value) {
  if (FWrapMode != Value) {
    FWrapMode = Value;
    UpdateWrapProcs();
    Changed();
  }
}

void TCustomBitmap32::SetMasterAlpha(Cardinal Value) {
  if (FMasterAlpha != Value) {
    FMasterAlpha = Value;
    Changed();
  }
}

void TCustomBitmap32::SetResampler(TCustomResampler* Value) {
  if (!Value || Value == FResampler) return;
  delete FResampler;
  FResampler = Value;
  Value->SetBitmap(this);
  Changed();
}

String TCustomBitmap32::ResamplerClassName() const { return FResampler ? FResampler->ClassName() : String(); }

void TCustomBitmap32::SetResamplerClassName(const String& Value) {
  if (Value.empty() || Value == ResamplerClassName()) return;
  CreateResamplerByName(Value, this);
}

void TCustomBitmap32::UpdateWrapProcs() {
  WrapProcHorz = WrapRoutineForRange(FWrapMode, FClipRect.Left, FClipRect.Right - 1);
  WrapProcVert = WrapRoutineForRange(FWrapMode, FClipRect.Top, FClipRect.Bottom - 1);
}

void TCustomBitmap32::SetClipRect(const TRect& Value) {
  IntersectRects(FClipRect, Value, BoundsRect());
  FFixedClipRect = TFixedRect{Shl(FClipRect.Left, 16), Shl(FClipRect.Top, 16), Shl(FClipRect.Right, 16),
                              Shl(FClipRect.Bottom, 16)};
  F256ClipRect = TRect(Shl(FClipRect.Left, 8), Shl(FClipRect.Top, 8), Shl(FClipRect.Right, 8),
                       Shl(FClipRect.Bottom, 8));
  FClipping = !(FClipRect == BoundsRect());
  UpdateWrapProcs();
}

void TCustomBitmap32::Assign(TPersistent* Source) {
  TUpdateLock Updating(*this, ReportChange);
  if (!Source) {
    SetSize(0, 0);
  } else if (auto* src = dynamic_cast<TCustomBitmap32*>(Source)) {
    src->CopyPixelsTo(this);
    src->CopySettingsTo(this);
  } else {
    TCustomMap::Assign(Source);
  }
}

void TCustomBitmap32::CopyPixelsTo(TCustomBitmap32* Dst) {
  if (!Dst || Dst == this) return;
  Dst->SetSize(FWidth, FHeight);
  if (!Empty() && Dst->FBits) std::memcpy(Dst->FBits, FBits, size_t(FWidth) * size_t(FHeight) * 4);
}

void TCustomBitmap32::CopySettingsTo(TCustomBitmap32* Dst) {
  if (!Dst || Dst == this) return;
  Dst->SetDrawMode(FDrawMode);
  Dst->SetCombineMode(FCombineMode);
  Dst->SetWrapMode(FWrapMode);
  Dst->SetMasterAlpha(FMasterAlpha);
  Dst->SetOuterColor(FOuterColor);
  Dst->SetResamplerClassName(ResamplerClassName());
  if (Dst->FResampler && FResampler) Dst->FResampler->Assign(FResampler);
}

// --- filling

void TCustomBitmap32::Clear() { Clear(0xFF000000u); }

void TCustomBitmap32::Clear(TColor32 FillColor) {
  if (Empty()) return;
  if (!FMeasuringMode) {
    if (FClipping) {
      FillRect(FClipRect.Left, FClipRect.Top, FClipRect.Right, FClipRect.Bottom, FillColor);
    } else {
      TColor32* p = FBits;
      size_t n = size_t(FWidth) * size_t(FHeight);
      while (n > 0) {
        Integer chunk = n > 0x40000000u ? 0x40000000 : Integer(n);
        FillWords32(p, chunk, FillColor);
        p += chunk;
        n -= size_t(chunk);
      }
    }
  }
  Changed();
}

void TCustomBitmap32::FillRect(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  if (FBits && Y2 > Y1 && X2 > X1)
    for (Integer y = Y1; y < Y2; ++y) FillWords32(PixelPtr(X1, y), X2 - X1, Value);
  Changed(TRect(X1, Y1, X2, Y2), AreaInfoRect);
}

// --- plain pixel access

TColor32 TCustomBitmap32::GetPixelS(Integer X, Integer Y) const {
  if (PointInRect(FClipRect, TPoint(X, Y))) return GetPixel(X, Y);
  return FOuterColor;
}

void TCustomBitmap32::SetPixelS(Integer X, Integer Y, TColor32 Value) {
  if (PointInRect(FClipRect, TPoint(X, Y))) SetPixel(X, Y, Value);
}

TColor32 TCustomBitmap32::GetPixelW(Integer X, Integer Y) const {
  if (RectIsEmpty(FClipRect)) return FOuterColor;  // nothing to wrap into
  return GetPixel(WrapProcHorz(X, FClipRect.Left, FClipRect.Right - 1),
                  WrapProcVert(Y, FClipRect.Top, FClipRect.Bottom - 1));
}

void TCustomBitmap32::SetPixelT(Integer X, Integer Y, TColor32 Value) {
  BlendProc()(Value, *PixelPtr(X, Y));
  EndBlending();
}

void TCustomBitmap32::SetPixelT(PColor32& Ptr, TColor32 Value) {
  BlendProc()(Value, *Ptr);
  ++Ptr;
  EndBlending();
}

void TCustomBitmap32::SetPixelTS(Integer X, Integer Y, TColor32 Value) {
  if (PointInRect(FClipRect, TPoint(X, Y))) SetPixelT(X, Y, Value);
}

// --- sub-pixel writes

void TCustomBitmap32::SetPixel256(Integer X, Integer Y, TColor32 Value) {
  Integer fx = X & 255, fy = Y & 255, px = X >> 8, py = Y >> 8;
  Cardinal gx1 = GammaCurve[255 - fx], gx2 = GammaCurve[fx];
  Cardinal gy1 = GammaCurve[255 - fy], gy2 = GammaCurve[fy];
  TColor32* p = PixelPtr(px, py);
  TColor32* q = p + FWidth;
  if (FCombineMode == cmBlend) {
    Cardinal A = Value >> 24;
    CombineInto(Value, p[0], (A * gx1 * gy1) >> 16);
    CombineInto(Value, p[1], (A * gx2 * gy1) >> 16);
    CombineInto(Value, q[1], (A * gx2 * gy2) >> 16);
    CombineInto(Value, q[0], (A * gx1 * gy2) >> 16);
  } else {
    CombineInto(MergeOver(Value, p[0]), p[0], (gx1 * gy1) >> 8);
    CombineInto(MergeOver(Value, p[1]), p[1], (gx2 * gy1) >> 8);
    CombineInto(MergeOver(Value, q[1]), q[1], (gx2 * gy2) >> 8);
    CombineInto(MergeOver(Value, q[0]), q[0], (gx1 * gy2) >> 8);
  }
  EndBlending();
}

void TCustomBitmap32::SetPixel256S(Integer X, Integer Y, TColor32 Value) {
  const TRect& c = FClipRect;
  if (Int64(X) < Int64(c.Left) * 256 - 256 || Int64(X) >= Int64(c.Right) * 256 ||
      Int64(Y) < Int64(c.Top) * 256 - 256 || Int64(Y) >= Int64(c.Bottom) * 256)
    return;
  Integer fx = X & 255, fy = Y & 255, px = X >> 8, py = Y >> 8;
  Cardinal gx1 = GammaCurve[255 - fx], gx2 = GammaCurve[fx];
  Cardinal gy1 = GammaCurve[255 - fy], gy2 = GammaCurve[fy];
  bool blend = FCombineMode == cmBlend;
  Cardinal A = Value >> 24;
  auto put = [&](Integer x, Integer y, Cardinal gx, Cardinal gy) {
    TColor32& pix = *PixelPtr(x, y);
    if (blend) CombineInto(Value, pix, (A * gx * gy) >> 16);
    else CombineInto(MergeOver(Value, pix), pix, (gx * gy) >> 8);
  };
  if (px >= c.Left && py >= c.Top) put(px, py, gx1, gy1);
  if (px < c.Right - 1 && py >= c.Top) put(px + 1, py, gx2, gy1);
  if (px < c.Right - 1 && py < c.Bottom - 1) put(px + 1, py + 1, gx2, gy2);
  if (px >= c.Left && py < c.Bottom - 1) put(px, py + 1, gx1, gy2);
  EndBlending();
}
