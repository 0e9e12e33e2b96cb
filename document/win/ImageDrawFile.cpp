// The document: the project sidecar and the in-memory project stream,
// saving the image and exports, undo and redo.
#include <objbase.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "classlib/CodecJpeg.h"
#include "document/ProjectSidecar.h"
#include "document/ShapeRows.h"
#include "document/UndoSteps.h"
#include "document/win/ImageDraw.h"
#include "foundation/app/win/HySysUtils.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileUtils.h"
#include "rtl/Thread.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"

namespace {

String PropText(TDataTable* T, Integer I) { return I < T->PropCount() ? T->Props(I)->Text() : String(); }
void SetProp(TDataTable* T, Integer I, const String& V) {
  if (T->PropCount() <= I) T->SetPropCount(I + 1);
  T->Props(I)->SetText(V);
}
TRow* FileInfoRow(TDataTable* FileDT) {
  if (FileDT->ItemCount() < 5 || FileDT->Items(0)->ItemCount() < 20) {
    // What a table of another shape would lose is kept where it fits.
    TDataTable old;
    old.CopyFrom(FileDT, true, -1);
    InitFileInfo(FileDT);
    for (Integer r = 0; r < std::min(old.ItemCount(), 5); ++r)
      for (Integer c = 0; c < std::min(old.Items(r)->ItemCount(), 20); ++c)
        FileDT->Items(r)->Items(c)->SetText(old.Items(r)->Items(c)->Text());
  }
  return FileDT->Items(0);
}

RawByteString FileBytes(const String& FileName) {
  TMemoryStream ms;
  ms.LoadFromFile(FileName);
  return RawByteString(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
}

// Decodes image-file bytes through GDI+ (nullptr when they do not decode).
std::unique_ptr<TBitmap32> DecodeImageBytes(const RawByteString& Bytes) {
  IStream* s = nullptr;
  if (Bytes.empty() || CreateStreamOnHGlobal(nullptr, TRUE, &s) != S_OK) return nullptr;
  ULONG written = 0;
  s->Write(Bytes.data(), ULONG(Bytes.size()), &written);
  LARGE_INTEGER zero{};
  s->Seek(zero, STREAM_SEEK_SET, nullptr);
  std::unique_ptr<TBitmap32> b;
  try {
    IGPBitmap gp = TGPBitmap::FromStream(s);
    bool alpha = false;
    Integer depth = -1;
    if (gp && gp->GetNativeHandle()) b.reset(GPBitmapToBitmap32(gp, alpha, depth));
  } catch (const Exception&) {
    b.reset();
  }
  s->Release();
  if (b && (b->Width() == 0 || b->Height() == 0)) b.reset();
  return b;
}

String ExceptionText(const std::exception& E) {
  if (auto* e = dynamic_cast<const Exception*>(&E)) return e->Message();
  return UTF8Decode(E.what());
}

Integer FilterIndexOf(TImageFormat F, Integer Other) {
  switch (F) {
    case ifBmp: return 4;
    case ifPng: return 2;
    case ifGif: return 3;
    case ifJpg: return 1;
    default: return Other;
  }
}

// Whether the view merges over the canvas colour row by row (MergeRows):
// an opaque colour under a view drawn at full strength.
bool MergesByRows(TBitmap32* View, TColor32 Canvas) {
  return Canvas >> 24 == 255 && View->MasterAlpha() == 255 && !View->Empty();
}

// Rows Y .. Y + Count - 1 of the view merged over the opaque canvas colour
// into Dest (rows packed). Merging over an opaque colour is the engine's
// blend over it, each channel (B * 256 + (F - B) * alpha + 128) >> 8, made
// opaque. That is (B * (256 - alpha) + F * alpha + 128) >> 8, below 65536,
// so red and blue go together in the halves of one word; alpha 0 gives the
// canvas colour itself.
// Four pixels at a time in 16-bit lanes: F * a and C * (256 - a) each fit,
// and so does their sum with 128 (at most 65408), so the lanes give the same
// values.
void MergeRows(TBitmap32* View, TColor32 Canvas, Integer Y, Integer Count, TColor32* Dest) {
  const Integer w = View->Width();
  const Cardinal cRB = Canvas & 0x00FF00FFu, cG = Canvas >> 8 & 0xFFu;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i canvas = _mm_unpacklo_epi8(_mm_set1_epi32(int(Canvas)), zero);
  const __m128i k256 = _mm_set1_epi16(256), k128 = _mm_set1_epi16(128);
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF), opaque = _mm_set1_epi32(int(0xFF000000u));
  auto half = [&](__m128i F) {  // two pixels, one channel a lane
    __m128i a = _mm_shufflelo_epi16(F, _MM_SHUFFLE(3, 3, 3, 3));
    a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(F, a), _mm_mullo_epi16(canvas, _mm_sub_epi16(k256, a))), k128);
    return _mm_srli_epi16(sum, 8);
  };
#endif
  for (Integer y = Y; y < Y + Count; ++y, Dest += w) {
    const TColor32* s = View->ScanLine(y);
    Integer x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= w; x += 4) {
      const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
      const __m128i m = _mm_packus_epi16(half(_mm_unpacklo_epi8(f, zero)), half(_mm_unpackhi_epi8(f, zero)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dest + x), _mm_or_si128(_mm_and_si128(m, rgb), opaque));
    }
#endif
    for (; x < w; ++x) {
      const Cardinal f = s[x], a = f >> 24, na = 256 - a;
      const Cardinal rb = ((f & 0x00FF00FFu) * a + cRB * na + 0x00800080u) >> 8 & 0x00FF00FFu;
      const Cardinal g = ((f >> 8 & 0xFFu) * a + cG * na + 0x80u) & 0xFF00u;
      Dest[x] = 0xFF000000u | rb | g;
    }
  }
}

// The view merged over the canvas as an encoder asks for the rows, a block
// of rows at a time. Encoders read top-down, so while one block is read a
// worker thread merges the next one into a second buffer (the merge is a
// fair part of a JPEG save); a read elsewhere is merged on the spot.
class TMergedBands {
 public:
  static constexpr Integer BlockRows = 128;
  TMergedBands(TBitmap32* View, TColor32 Canvas) : FView(View), FCanvas(Canvas) {}
  ~TMergedBands() {
    if (FWorker == nullptr) return;
    {
      std::lock_guard<std::mutex> g(FLock);
      FStop = true;
    }
    FWake.notify_all();
    rtl_thread_seam::JoinThread(FWorker);
    rtl_thread_seam::CloseThread(FWorker);
  }
  TMergedBands(const TMergedBands&) = delete;
  TMergedBands& operator=(const TMergedBands&) = delete;

  TBitmap32Rows Rows() {
    return [this](Integer Y, Integer Count) { return Band(Y, Count); };
  }

 private:
  struct TBlock {
    std::vector<TColor32> Pixels;
    Integer Top = -1, Count = 0;
    bool Covers(Integer Y, Integer N) const { return Top >= 0 && Y >= Top && Y + N <= Top + Count; }
  };

  const TColor32* Band(Integer Y, Integer Count) {
    TBlock& cur = FBlocks[FCurrent];
    if (!cur.Covers(Y, Count)) {
      TBlock& next = FBlocks[1 - FCurrent];
      WaitIdle();  // the worker writes only the other block, and only while busy
      if (next.Covers(Y, Count)) {
        FCurrent = 1 - FCurrent;
      } else {
        Merge(cur, Y, Count);
      }
      Prefetch(FBlocks[FCurrent].Top + FBlocks[FCurrent].Count);
    }
    const TBlock& b = FBlocks[FCurrent];
    return b.Pixels.data() + size_t(Y - b.Top) * size_t(FView->Width());
  }

  void Merge(TBlock& B, Integer Y, Integer Count) {
    B.Top = Y;
    B.Count = std::min(std::max(BlockRows, Count), FView->Height() - Y);
    const size_t n = size_t(B.Count) * size_t(FView->Width());
    if (B.Pixels.size() < n) B.Pixels.resize(n);
    MergeRows(FView, FCanvas, B.Top, B.Count, B.Pixels.data());
  }

  // Has the worker merge the block from row Y into the other buffer.
  void Prefetch(Integer Y) {
    TBlock& other = FBlocks[1 - FCurrent];
    if (Y >= FView->Height()) return;
    // Memory first, on this thread: the worker never allocates.
    other.Pixels.resize(std::max(other.Pixels.size(), size_t(BlockRows) * size_t(FView->Width())));
    other.Top = -1;
    if (FWorker == nullptr && !FNoWorker) {
      Cardinal id = 0;
      FWorker = rtl_thread_seam::StartThread(&TMergedBands::Work, this, id);
      FNoWorker = FWorker == nullptr;
    }
    if (FWorker == nullptr) return;  // merged when asked for
    {
      std::lock_guard<std::mutex> g(FLock);
      FJobTop = Y;
      FBusy = true;
    }
    FWake.notify_all();
  }

  void WaitIdle() {
    std::unique_lock<std::mutex> g(FLock);
    FWake.wait(g, [this] { return !FBusy; });
  }

  static void Work(void* P) {
    auto* self = static_cast<TMergedBands*>(P);
    std::unique_lock<std::mutex> g(self->FLock);
    for (;;) {
      self->FWake.wait(g, [self] { return self->FStop || self->FBusy; });
      if (self->FStop) return;
      const Integer top = self->FJobTop;
      TBlock& b = self->FBlocks[1 - self->FCurrent];
      g.unlock();
      b.Top = top;
      b.Count = std::min(BlockRows, self->FView->Height() - top);
      MergeRows(self->FView, self->FCanvas, b.Top, b.Count, b.Pixels.data());
      g.lock();
      self->FBusy = false;
      self->FWake.notify_all();
    }
  }

  TBitmap32* FView;
  TColor32 FCanvas;
  TBlock FBlocks[2];
  int FCurrent = 0;
  void* FWorker = nullptr;
  bool FNoWorker = false;
  std::mutex FLock;
  std::condition_variable FWake;
  bool FBusy = false, FStop = false;
  Integer FJobTop = 0;
};

// The view bitmap as the image file shows it: unblended with its alpha
// (Transparent), or over the canvas colour.
std::unique_ptr<TBitmap32> ComposedForFile(TBitmap32* View, bool KeepAlpha, TColor32 Canvas) {
  auto b = std::make_unique<TBitmap32>();
  // Plain memory: the encoders read rows, and a fresh device-independent
  // section costs a fault on the first write to every page.
  b->SetBackend(new TMemoryBackend(nullptr));
  b->SetSize(View->Width(), View->Height());
  if (!KeepAlpha && MergesByRows(View, Canvas)) {
    MergeRows(View, Canvas, 0, View->Height(), b->ScanLine(0));
    return b;
  }
  const TDrawMode oldMode = View->DrawMode();
  const TCombineMode oldCombine = View->CombineMode();
  if (KeepAlpha) {
    View->SetDrawMode(dmOpaque);
    b->Draw(0, 0, View);
  } else {
    b->Clear(Canvas);
    View->SetDrawMode(dmBlend);
    View->SetCombineMode(cmMerge);
    b->Draw(0, 0, View);
  }
  View->SetDrawMode(oldMode);
  View->SetCombineMode(oldCombine);
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading

bool TImageDraw::LoadProject(void* P, const String& ImageFile) {
  const bool imageExists = !ImageFile.empty() && FileExists(ImageFile);
  TSidecarData d;
  if (P != nullptr) {
    try {
      ReadSidecar(static_cast<TStream*>(P), true, d);
    } catch (const std::exception& e) {
      if (!imageExists) throw Exception(u"The open image could not be restored: " + ExceptionText(e));
      FMsgString = u"The open image could not be restored and was opened from its file again. " + ExceptionText(e);
      return false;
    }
    AdoptProject(d, false);
    return true;
  }
  if (!imageExists) return false;
  // Older sidecar names move to the current one; a move whose target exists
  // leaves both files.
  const String hvie1 = ChangeFileExt(ImageFile, u".hvie"), hvie2 = ImageFile + u".hvie";
  if (FileExists(hvie1) && !FileExists(hvie2)) RenameFile(hvie1, hvie2);
  if (FileExists(hvie2) && !FileExists(FProfile)) RenameFile(hvie2, FProfile);
  if (!FileExists(FProfile)) return false;
  try {
    TFileStream fs(FProfile, fmOpenRead | fmShareDenyWrite);
    ReadSidecar(&fs, false, d);
  } catch (const std::exception& e) {
    MoveFileAside(FProfile, FProfile + u".bad");
    FMsgString = u"The project file of \"" + ExtractFileName(ImageFile) +
                 u"\" could not be read; the image was opened alone and the project file kept as \"" +
                 ExtractFileName(FProfile) + u".bad\". " + ExceptionText(e);
    return false;
  }
  // A sidecar written with another version of the image is stale.
  TRow* info = d.FileInfo->Items(0);
  const String size = info->Items(FileInfoCell::ImageSize)->Text();
  const String digest = info->Items(FileInfoCell::ImageDigest)->Text();
  if (!size.empty() && !digest.empty()) {
    const RawByteString bytes = FileBytes(ImageFile);
    if (size != IntToStr(Int64(bytes.size())) || digest != ImageDigestText(bytes.data(), bytes.size())) {
      MoveFileAside(FProfile, FProfile + u".old");
      FMsgString = u"\"" + ExtractFileName(ImageFile) +
                   u"\" was changed outside this program; it was opened alone and its project file kept as \"" +
                   ExtractFileName(FProfile) + u".old\".";
      return false;
    }
  }
  AdoptProject(d, true);
  return true;
}

void TImageDraw::AdoptProject(TSidecarData& D, bool FromFile) {
  FLoadedVersion = D.Version;
  PrepareLoadedRows(D, FromFile);
  FDT = std::move(D.Objects);
  FFileDT = std::move(D.FileInfo);
  FSelectionDT = std::move(D.Selections);
  FSrcBmp->Assign(D.SrcBmp.get());
  std::unique_ptr<TBitmap32> original;
  if (!D.OriginalFile.empty()) {
    FOriBmpFileMS = std::make_unique<TMemoryStream>();
    FOriBmpFileMS->WriteBuffer(D.OriginalFile.data(), Integer(D.OriginalFile.size()));
    original = DecodeImageBytes(D.OriginalFile);
  }
  if (original)
    FOriBmp->Assign(original.get());
  else if (D.OriBmp)
    FOriBmp->Assign(D.OriBmp.get());
  else
    FOriBmp->Assign(FSrcBmp.get());  // no original kept: the raster stands in
  FPendingPictures = std::move(D.Pictures);
}

void TImageDraw::LoadImageFileOnly(const String& ImageFile) {
  bool alpha = false;
  Integer depth = -1;
  std::unique_ptr<TBitmap32> b(LoadImageToBitmap32(ImageFile, alpha, depth));
  if (!b || b->Width() == 0 || b->Height() == 0)
    throw Exception(u"Cannot open \"" + ImageFile + u"\": the file is not a picture this program reads.");
  FSrcBmp->Assign(b.get());
}

// ---------------------------------------------------------------------------
// Writing

void TImageDraw::StoreGuidesAndRuler() {
  std::vector<Integer> h, v;
  for (Integer i = 0; i < FHorzGuidesRow->ItemCount(); ++i) h.push_back(FHorzGuidesRow->Items(i)->Value());
  for (Integer i = 0; i < FVertGuidesRow->ItemCount(); ++i) v.push_back(FVertGuidesRow->Items(i)->Value());
  SetProp(FDT.get(), SidecarProp::HorzGuides, GuidesText(h));
  SetProp(FDT.get(), SidecarProp::VertGuides, GuidesText(v));
  SetProp(FDT.get(), SidecarProp::Ruler,
          FRulerEnabled ? u"-1." + IntToStr(FRulerP1.X) + u"." + IntToStr(FRulerP1.Y) + u"." + IntToStr(FRulerP2.X) +
                              u"." + IntToStr(FRulerP2.Y)
                        : String());
}

void TImageDraw::WriteProject(TStream* Stream, bool InMemory) {
  StoreShapeObjects();
  StoreGuidesAndRuler();
  FileInfoRow(FFileDT.get());
  TSidecarSource src;
  src.Objects = FDT.get();
  src.FileInfo = FFileDT.get();
  src.Selections = FSelectionDT.get();
  if (FOriBmpFileMS) {
    src.OriginalFile = FOriBmpFileMS->Memory();
    src.OriginalFileSize = size_t(FOriBmpFileMS->Size());
  }
  src.OriBmp = FOriBmp.get();
  src.SrcBmp = FSrcBmp.get();
  src.PictureOfRow = [this](Integer Index) -> TCustomBitmap32* {
    TImgShape* s = ShapeOfRow(Index);
    return s ? s->StoredPicture() : nullptr;
  };
  WriteSidecar(Stream, src, InMemory);
}

void TImageDraw::SaveToStream(void*& P) {
  delete static_cast<TMemoryStream*>(P);
  P = nullptr;
  auto ms = std::make_unique<TMemoryStream>();
  WriteProject(ms.get(), true);
  P = ms.release();
}

void TImageDraw::Save() {
  if (FFileType != ifBmp && FFileType != ifPng && FFileType != ifJpg && FFileType != ifGif)
    throw Exception(u"Cannot save \"" + FFileName + u"\": the file name gives no image type this program writes.");
  TRow* info = FileInfoRow(FFileDT.get());
  const bool keepAlpha = FCanvasTransparent && FFileType != ifBmp && FFileType != ifJpg;
  // With its alpha kept the view bitmap is written as it is; merged over
  // the canvas it is made band by band as the encoder takes it, where the
  // merge goes by rows, else whole beforehand.
  const bool byBands = !keepAlpha && MergesByRows(FBitmap, FCanvasColor);
  std::unique_ptr<TBitmap32> composed;
  if (!keepAlpha && !byBands) composed = ComposedForFile(FBitmap, false, FCanvasColor);
  TBitmap32* out = composed ? composed.get() : FBitmap;
  Integer option = 0, bits = info->Items(FileInfoCell::Bpp)->Value();
  switch (FFileType) {
    case ifBmp:
      option = info->Items(FileInfoCell::BmpBpp)->Value();
      bits = option == 1 || option == 4 || option == 8 || option == 16 || option == 24 ? option : 32;
      break;
    case ifPng:
      option = FCanvasTransparent ? -1 : 0;
      bits = FCanvasTransparent ? 32 : 24;
      break;
    case ifJpg:
      option = info->Items(FileInfoCell::JpegLevel)->Value();
      if (option < 1 || option > 10) option = 8;
      bits = 24;
      break;
    default: bits = 8; break;
  }
  WriteFileReplacing(FFileName, [&](const String& Temp) {
    if (byBands) {
      TMergedBands bands(FBitmap, FCanvasColor);
      SaveBitmap32RowsToFile(FBitmap->Width(), FBitmap->Height(), bands.Rows(), Temp, FFileType, option);
    } else {
      SaveBitmap32ToFile(out, Temp, FFileType, option);
    }
  });
  info->Items(FileInfoCell::Bpp)->SetText(IntToStr(bits));
  FSrcBmpBitsPixelPer = bits;
  if (!FNotSaveDataFile) {
    const RawByteString written = FileBytes(FFileName);
    info->Items(FileInfoCell::ImageSize)->SetText(IntToStr(Int64(written.size())));
    info->Items(FileInfoCell::ImageDigest)->SetText(ImageDigestText(written.data(), written.size()));
    WriteFileReplacing(FProfile, [&](const String& Temp) {
      TFileStream fs(Temp, fmCreate);
      WriteProject(&fs, false);
    });
  }
  FChanged = false;
  if (OnChanged) OnChanged(this);
}

void TImageDraw::SaveAs(const String& AFileName) {
  FFileName = AFileName;
  FFileType = GetImageFormatByExt(AFileName);
  FProfile = AFileName + u".luda";
  Save();
}

Integer TImageDraw::ExportGetFilterIndex() {
  const String name = UnescapeOriginalName(PropText(FDT.get(), SidecarProp::OriginalName));
  if (name.empty()) return 1;
  return FilterIndexOf(GetImageFormatByExt(name), 1);
}

void TImageDraw::ExportOriBmpAs(const String& AFileName) {
  const TImageFormat target = GetImageFormatByExt(AFileName);
  const String name = UnescapeOriginalName(PropText(FDT.get(), SidecarProp::OriginalName));
  if (!name.empty() && FOriBmpFileMS && GetImageFormatByExt(name) == target) {
    FOriBmpFileMS->SaveToFile(AFileName);
    return;
  }
  switch (FilterIndexOf(target, 3)) {
    case 1: SaveBitmap32ToFile(FOriBmp.get(), AFileName, ifJpg, 10); break;
    case 2: SaveBitmap32ToFile(FOriBmp.get(), AFileName, ifPng, 0); break;
    case 4: SaveBitmap32ToFile(FOriBmp.get(), AFileName, ifBmp, 24); break;
    default: SaveBitmap32ToFile(FOriBmp.get(), AFileName, ifGif, 0); break;
  }
}

Int64 TImageDraw::CalcJpgFileSize(Integer Quality) {
  const Integer w = FBitmap->Width(), h = FBitmap->Height();
  if (w == 0 || h == 0) return -1;
  std::vector<std::uint8_t> out;
  std::string err;
  if (MergesByRows(FBitmap, 0xFFFFFFFFu)) {
    TMergedBands bands(FBitmap, 0xFFFFFFFFu);
    const TBitmap32Rows rows = bands.Rows();
    err = codec::JpegEncodeBGRXRows(
        [&rows](int Y, int Count) { return reinterpret_cast<const std::uint8_t*>(rows(Y, Count)); },
        std::ptrdiff_t(w) * 4, w, h, std::clamp(Quality, 1, 100), out);
  } else {
    std::unique_ptr<TBitmap32> b = ComposedForFile(FBitmap, false, 0xFFFFFFFFu);
    err = codec::JpegEncodeBGRX(reinterpret_cast<const std::uint8_t*>(b->Bits()), std::ptrdiff_t(w) * 4, w, h,
                                std::clamp(Quality, 1, 100), out);
  }
  return err.empty() ? Int64(out.size()) : -1;
}

// ---------------------------------------------------------------------------
// Undo and redo

void TImageDraw::SaveUndo() {
  if (!FModified || FUndoDT == nullptr) return;
  StoreShapeObjects();
  std::unique_ptr<TDataTable> step(NewStepTable(FDT.get()));
  for (Integer i = 0; i < FDT->ItemCount(); ++i)
    if (TImgShape* s = ShapeOfRow(i)) s->SaveUndoParts(step->Items(i));
  if (FSrcBmpChanged) {
    step->SetData(static_cast<TUndoPart*>(new TUndoBitmap(CopyOfBitmap(FSrcBmp.get()))));
    FSrcBmpChanged = false;
  }
  SetProp(step.get(), UndoProp::ToolType, IntToStr(Ord(FToolType)));
  String ids;
  for (Integer i = 0; i < FSelectedIds->ItemCount(); ++i) {
    if (i > 0) ids += u".";
    ids += FSelectedIds->Items(i)->Text();
  }
  SetProp(step.get(), UndoProp::SelectedIds, ids);
  AppendStep(FUndoDT, FUndoIndex, step.release(), FEffectDrawing ? String(u"EffectDraw") : String(),
             FAvailMemory ? FAvailMemory : std::function<Int64()>(GetAvailPhysMemory));
  FModified = false;
  FSaveUndoDone = true;
}

void TImageDraw::SaveUndoFirst() {
  FModified = true;
  FSrcBmpChanged = true;
  FUndoIndex = -1;
  SaveUndo();
}

void TImageDraw::Undo() {
  --FUndoIndex;
  Godo(false);
}

void TImageDraw::Redo() {
  ++FUndoIndex;
  Godo(false);
}

void TImageDraw::Godo(bool NotSetChanged) {
  TDataTable* step = StepTable(FUndoDT, FUndoIndex);
  if (step == nullptr)
    throw EListError(u"No undo step " + IntToStr(FUndoIndex) + u" (the history holds " + IntToStr(UndoCount()) +
                     u").");
  FUndoRedoing = true;
  {
    TFinally redone([&] { FUndoRedoing = false; });
    for (Integer i = 0; i < FDT->ItemCount(); ++i) {
      TImgShape* s = ShapeOfRow(i);
      if (s) s->UnSelect();
      delete s;
      FDT->Items(i)->SetData(nullptr);
    }
    FSelectedIds->Clear();
    FCurrentShape = nullptr;
    FShapeId = -1;
    FObjectType = TShapeType::shNone;
    if (TCustomBitmap32* r = FindRaster(FUndoDT, FUndoIndex)) FSrcBmp->Assign(r);
    FSrcBmpChanged = false;
    FDT->CopyFrom(step, true, -1);
    CreateShapeObjects(-1);
    for (Integer i = 0; i < FDT->ItemCount(); ++i)
      if (TImgShape* s = ShapeOfRow(i)) s->RestoreUndoParts(FUndoDT, FUndoIndex);
    const String ids = PropText(step, UndoProp::SelectedIds);
    if (!ids.empty() && CellTextToInt(PropText(step, UndoProp::ToolType)) == Ord(FToolType))
      for (const String& id : SplitCell(ids, u'.'))
        if (TImgShape* s = ShapeById(CellTextToInt(id))) s->Select();
    InitBitmap();
    if (!NotSetChanged) SetChanged(true);
    FModified = false;
    if (OnGodoDone) OnGodoDone(this, FUndoDT->Items(FUndoIndex)->Items(UndoCell::StateName)->Text());
  }
  ShapeSelectStateChanged(true);
}

void TImageDraw::ClearUndo(TDataTable* DataDT) { ::ClearUndo(DataDT); }

void TImageDraw::ClearUndoStateName(const String& S) { ::ClearUndoStateName(FUndoDT, S); }
