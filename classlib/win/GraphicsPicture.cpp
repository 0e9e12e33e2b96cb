// TIcon, TMetafile and TPicture with its registry of file formats.
#include <algorithm>
#include <cstring>

#include "classlib/Graphics.h"
#include "rtl/FileUtils.h"
#include "rtl/ScopeGuard.h"

// Registration of the codec-backed picture classes (their units).
void RegisterJPEGFileFormat();
void RegisterPNGFileFormat();
void RegisterGIFFileFormat();

namespace {

TBytes ReadRest(TStream* Stream) {
  Int64 N = Stream->Size() - Stream->Position();
  if (N < 0 || N > 0x7FFFFFFF) throw EInvalidGraphic(u"Graphic is too large");
  TBytes Data(size_t(N), 0);
  if (N > 0) Stream->ReadBuffer(Data.data(), Integer(N));
  return Data;
}

}  // namespace

// ---------------------------------------------------------------------------
// TIcon

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  if (FHandle) DestroyIcon(FHandle);
  FHandle = Value;
  FWidth = FHeight = 0;
  FData.clear();
  if (Value) {
    ICONINFO II{};
    if (GetIconInfo(Value, &II)) {
      BITMAP BM{};
      if (II.hbmColor && GetObjectW(II.hbmColor, sizeof(BM), &BM)) {
        FWidth = BM.bmWidth;
        FHeight = BM.bmHeight;
      } else if (II.hbmMask && GetObjectW(II.hbmMask, sizeof(BM), &BM)) {
        FWidth = BM.bmWidth;
        FHeight = BM.bmHeight / 2;
      }
      if (II.hbmColor) DeleteObject(II.hbmColor);
      if (II.hbmMask) DeleteObject(II.hbmMask);
    }
  }
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON H = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FData.clear();
  Changed(this);
  return H;
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  if (auto* I = dynamic_cast<TIcon*>(Source)) {
    if (I == this) return;
    TBytes Data = I->FData;
    SetHandle(I->FHandle ? CopyIcon(I->FHandle) : nullptr);
    FData = Data;
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream* Stream) {
  TBytes Data = ReadRest(Stream);
  auto Invalid = []() { return EInvalidGraphic(u"Icon image is not valid"); };
  if (Data.size() < 6 + 16) throw Invalid();
  auto LE16 = [&](size_t O) { return unsigned(Data[O]) | unsigned(Data[O + 1]) << 8; };
  auto LE32 = [&](size_t O) { return Cardinal(LE16(O)) | Cardinal(LE16(O + 2)) << 16; };
  if (LE16(0) != 0 || LE16(2) != 1 || LE16(4) == 0) throw Invalid();
  size_t Count = LE16(4);
  if (6 + Count * 16 > Data.size()) throw Invalid();
  // The first image of the directory.
  Integer W = Data[6] ? Data[6] : 256, H = Data[7] ? Data[7] : 256;
  Cardinal Size = LE32(6 + 8), Offset = LE32(6 + 12);
  if (Size < 40 || Offset > Data.size() || Size > Data.size() - Offset) throw Invalid();
  HICON Icon = CreateIconFromResourceEx(Data.data() + Offset, Size, TRUE, 0x00030000, W, H, LR_DEFAULTCOLOR);
  if (!Icon) throw Invalid();
  SetHandle(Icon);
  FData = std::move(Data);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (FData.empty()) throw EInvalidGraphicOperation(u"Icon image is not valid");
  Stream->WriteBuffer(FData.data(), Integer(FData.size()));
}

// ---------------------------------------------------------------------------
// TMetafile

TMetafile::~TMetafile() {
  if (FHandle) DeleteEnhMetaFile(FHandle);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
  if (Value == FHandle) return;
  if (FHandle) DeleteEnhMetaFile(FHandle);
  FHandle = Value;
  FWidth = FHeight = 0;
  if (Value) {
    ENHMETAHEADER H{};
    if (GetEnhMetaFileHeader(Value, sizeof(H), &H)) {
      // The frame is in 0.01 mm; the size is in pixels at 96 DPI.
      FWidth = MulDiv(H.rclFrame.right - H.rclFrame.left, 96, 2540);
      FHeight = MulDiv(H.rclFrame.bottom - H.rclFrame.top, 96, 2540);
    }
  }
  Changed(this);
}

void TMetafile::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  Changed(this);
}

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  if (auto* M = dynamic_cast<TMetafile*>(Source)) {
    if (M == this) return;
    SetHandle(M->FHandle ? CopyEnhMetaFileW(M->FHandle, nullptr) : nullptr);
    FWidth = M->FWidth;
    FHeight = M->FHeight;
    return;
  }
  TGraphic::Assign(Source);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  RECT R{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  PlayEnhMetaFile(ACanvas->Handle(), FHandle, &R);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  TBytes Data = ReadRest(Stream);
  HENHMETAFILE H = Data.size() >= 88 ? SetEnhMetaFileBits(UINT(Data.size()), Data.data()) : nullptr;
  if (!H) throw EInvalidGraphic(u"Metafile is not valid");
  SetHandle(H);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  UINT N = GetEnhMetaFileBits(FHandle, 0, nullptr);
  TBytes Data(N, 0);
  GetEnhMetaFileBits(FHandle, N, Data.data());
  Stream->WriteBuffer(Data.data(), Integer(N));
}

// ---------------------------------------------------------------------------
// TPicture

namespace {

struct TFileFormat {
  String Ext;
  String Description;
  TGraphicClass Class;
};

std::vector<TFileFormat>& Formats() {
  static std::vector<TFileFormat> List;
  static bool Initialized = false;
  if (!Initialized) {
    Initialized = true;
    List.push_back({u"bmp", u"Bitmaps", []() -> TGraphic* { return new TBitmap(); }});
    List.push_back({u"ico", u"Icons", []() -> TGraphic* { return new TIcon(); }});
    List.push_back({u"emf", u"Enhanced Metafiles", []() -> TGraphic* { return new TMetafile(); }});
    RegisterJPEGFileFormat();
    RegisterPNGFileFormat();
    RegisterGIFFileFormat();
  }
  return List;
}

std::recursive_mutex& FormatsLock() {
  static std::recursive_mutex M;
  return M;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass GraphicClass) {
  std::lock_guard<std::recursive_mutex> G(FormatsLock());
  String Ext = LowerCase(Extension);
  if (!Ext.empty() && Ext[0] == u'.') Ext.erase(0, 1);
  auto& List = Formats();
  for (auto& F : List) {
    if (F.Ext == Ext) {
      F.Description = Description;
      F.Class = GraphicClass;
      return;
    }
  }
  List.push_back({Ext, Description, GraphicClass});
}

TGraphicClass TPicture::FileFormatClass(const String& Extension) {
  std::lock_guard<std::recursive_mutex> G(FormatsLock());
  String Ext = LowerCase(Extension);
  if (!Ext.empty() && Ext[0] == u'.') Ext.erase(0, 1);
  for (auto& F : Formats())
    if (F.Ext == Ext) return F.Class;
  return nullptr;
}

TPicture::~TPicture() { delete FGraphic; }

void TPicture::SetOwnedGraphic(TGraphic* G) {
  TGraphic* Old = FGraphic;
  FGraphic = G;
  if (G) G->SetOnChange([this](TObject* S) { Changed(S); });
  delete Old;
  Changed(this);
}

void TPicture::Changed(TObject* Sender) {
  (void)Sender;
  if (FOnChange) FOnChange(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic && Value) return;
  if (!Value) {
    SetOwnedGraphic(nullptr);
    return;
  }
  TGraphic* G = Value->NewInstance();
  TFinally Undo([&] { delete G; });
  G->Assign(Value);
  Undo.Dismiss();
  SetOwnedGraphic(G);
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic)) SetOwnedGraphic(new TBitmap());
  return static_cast<TBitmap*>(FGraphic);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* P = dynamic_cast<TPicture*>(Source)) {
    if (P != this) SetGraphic(P->Graphic());
  } else if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(G);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::LoadFromFile(const String& FileName) {
  String Ext = ExtractFileExt(FileName);
  if (!Ext.empty() && Ext[0] == u'.') Ext.erase(0, 1);
  TGraphicClass Class = FileFormatClass(Ext);
  if (!Class) throw EInvalidGraphic(Format(u"Unknown picture file extension (.%s)", {Ext}));
  TGraphic* G = Class();
  TFinally Undo([&] { delete G; });
  G->LoadFromFile(FileName);
  Undo.Dismiss();
  SetOwnedGraphic(G);
}

void TPicture::SaveToFile(const String& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}
