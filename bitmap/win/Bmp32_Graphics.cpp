// Conversion of bitmaps with the class library's graphics, the 32-bit BMP
// stream and the binary property form.
#include <climits>
#include <cstring>
#include <typeinfo>

#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Clipbrd.h"
#include "rtl/ScopeGuard.h"

namespace {

[[noreturn]] void ReadError() { throw EReadError(u"Stream read error"); }

bool AllAlphaZero(TCustomBitmap32* B) {
  if (B->Empty()) return false;
  const TColor32* P = B->Bits();
  for (Int64 i = 0, n = Int64(B->Width()) * B->Height(); i < n; ++i)
    if (P[i] >> 24) return false;
  return true;
}

// Sizes the bitmap to the graphic and draws it over FillColor through a DC
// (a plain-memory bitmap is switched to the GDI backend meanwhile).
void DrawGraphic(TCustomBitmap32* Bitmap, TGraphic* Graphic, TColor32 FillColor, bool ResetAlphaAfter) {
  if (!Graphic) return;
  TCustomBackend* Saved = nullptr;
  EnsureBackendSupport(Bitmap, {IID_IDeviceContextSupport, IID_ICanvasSupport}, rqAny, true, Saved);
  TFinally Done([&] { ReinstateBackend(Bitmap, Saved); });
  Bitmap->SetSize(Graphic->Width(), Graphic->Height());
  if (!Bitmap->Empty()) {
    Bitmap->Clear(FillColor);
    const TRect R(0, 0, Bitmap->Width(), Bitmap->Height());
    auto Paint = [&](TCanvas* C) {
      if (auto* B = dynamic_cast<TBitmap*>(Graphic)) {
        // Opaquely, whatever its transparency: keying is done afterwards.
        StretchBlt(C->Handle(), 0, 0, R.Right, R.Bottom, B->Canvas()->Handle(), 0, 0, B->Width(), B->Height(),
                   SRCCOPY);
      } else {
        C->StretchDraw(R, Graphic);
      }
    };
    if (auto* DC = QueryBackendInterface<IDeviceContextSupport>(Bitmap->Backend(), IID_IDeviceContextSupport)) {
      TCanvas C;
      C.Lock();
      TFinally Release([&] {
        C.SetHandle(nullptr);
        C.Unlock();
      });
      C.SetHandle(DC->GetHandle());
      Paint(&C);
    } else if (auto* CS = QueryBackendInterface<ICanvasSupport>(Bitmap->Backend(), IID_ICanvasSupport)) {
      Paint(CS->GetCanvas());
    } else {
      throw Exception(u"Inpropriate Backend");
    }
    GdiFlush();
    if (ResetAlphaAfter) Bitmap->ResetAlpha();
  }
}

// Pixels drawn the same on white and on red are opaque, the rest transparent.
void ImportMetafile(TCustomBitmap32* Bitmap, TGraphic* Graphic) {
  DrawGraphic(Bitmap, Graphic, 0xFFFFFFFFu, false);
  if (Bitmap->Empty()) return;
  TBitmap32 Red;
  {
    // A plain-memory temporary, as the engine makes it; drawn through the GDI backend.
    Red.SetBackend(new TMemoryBackend(nullptr));
    DrawGraphic(&Red, Graphic, 0xFFFF0000u, false);
  }
  TColor32* P = Bitmap->Bits();
  const TColor32* Q = Red.Bits();
  for (Int64 i = 0, n = Int64(Bitmap->Width()) * Bitmap->Height(); i < n; ++i) {
    bool Same = (P[i] & 0xFFFFFFu) == (Q[i] & 0xFFFFFFu);
    P[i] = (P[i] & 0xFFFFFFu) | (Same ? 0xFF000000u : 0u);
  }
}

}  // namespace

void AssignFromGraphic(TCustomBitmap32* Bitmap, TGraphic* Graphic) {
  if (!Graphic) {
    Bitmap->SetSize(0, 0);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Graphic)) {
    const bool Is32 = B->PixelFormat() == pf32bit;
    DrawGraphic(Bitmap, B, 0, !Is32);
    // Bitmaps drawn by GDI or pasted from other programs often carry alpha 0
    // in every pixel: such a "32-bit" bitmap is opaque.
    if (Is32 && AllAlphaZero(Bitmap)) Bitmap->ResetAlpha();
    if (!Bitmap->Empty() && B->Transparent()) {
      const TColor32 Key = Color32(B->TransparentColor()) & 0xFFFFFFu;
      TColor32* P = Bitmap->Bits();
      for (Int64 i = 0, n = Int64(Bitmap->Width()) * Bitmap->Height(); i < n; ++i)
        if ((P[i] & 0xFFFFFFu) == Key) P[i] &= 0xFFFFFFu;
    }
    if (auto* F = QueryBackendInterface<IFontSupport>(Bitmap->Backend(), IID_IFontSupport))
      F->GetFont()->Assign(B->Canvas()->Font());
  } else if (dynamic_cast<TIcon*>(Graphic)) {
    DrawGraphic(Bitmap, Graphic, 0, false);
    if (AllAlphaZero(Bitmap)) ImportMetafile(Bitmap, Graphic);
  } else if (dynamic_cast<TMetafile*>(Graphic)) {
    ImportMetafile(Bitmap, Graphic);
  } else {
    DrawGraphic(Bitmap, Graphic, 0xFFFFFFFFu, true);
  }
}

void AssignToBitmap(TCustomBitmap32* Bitmap, TBitmap* Dest) {
  TCustomBackend* Saved = nullptr;
  EnsureBackendSupport(Bitmap, {IID_IDeviceContextSupport}, rqAny, false, Saved);
  TFinally Done([&] { ReinstateBackend(Bitmap, Saved); });
  Dest->SetHandleType(bmDIB);
  Dest->SetPixelFormat(pf32bit);
  Dest->SetSize(Bitmap->Width(), Bitmap->Height());
  if (auto* F = QueryBackendInterface<IFontSupport>(Bitmap->Backend(), IID_IFontSupport))
    Dest->Canvas()->Font()->Assign(F->GetFont());
  if (!Bitmap->Empty()) {
    auto* DC = RequireBackendInterface<IDeviceContextSupport>(Bitmap->Backend(), IID_IDeviceContextSupport);
    TCanvas* C = Dest->Canvas();
    C->Lock();
    TFinally Done([&] { C->Unlock(); });
    DC->DrawTo(C->Handle(), Bitmap->BoundsRect(), Bitmap->BoundsRect());
  }
}

// ---------------------------------------------------------------------------
// The clipboard

// The clipboard's bitmap through a temporary picture, then the graphic
// import (a 32-bit bitmap keeps its alpha). The caller brackets it with
// BeginUpdate / EndUpdate and Changed, also after an error.
void AssignFromClipboard(TCustomBitmap32* Bitmap, TClipboard* Clipboard) {
  TPicture P;
  P.Assign(Clipboard);
  AssignFromGraphic(Bitmap, P.Graphic());
}

// A temporary 32-bit DIB of all four bytes of each pixel, given to the
// clipboard (which keeps the alpha in its 32-bit CF_DIB and CF_DIBV5).
void AssignToClipboard(TCustomBitmap32* Bitmap, TClipboard* Clipboard) {
  TBitmap B;
  AssignToBitmap(Bitmap, &B);
  Clipboard->Assign(&B);
}

// ---------------------------------------------------------------------------
// BMP streams

namespace {

void Put32(Byte* P, Cardinal V) {
  for (int i = 0; i < 4; ++i) P[i] = Byte(V >> (8 * i));
}
Cardinal Get32(const Byte* P) {
  return Cardinal(P[0]) | Cardinal(P[1]) << 8 | Cardinal(P[2]) << 16 | Cardinal(P[3]) << 24;
}

}  // namespace

void SaveBitmap32ToStream(TCustomBitmap32* Bitmap, TStream* Stream, bool SaveTopDown) {
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  const Int64 Size = Int64(W) * H * 4;
  Byte Hd[54] = {};
  Hd[0] = 'B';
  Hd[1] = 'M';
  Put32(Hd + 2, Cardinal(Size + 54));
  Put32(Hd + 10, 54);
  Put32(Hd + 14, 40);
  Put32(Hd + 18, Cardinal(W));
  Put32(Hd + 22, Cardinal(SaveTopDown ? H : -H));
  Hd[26] = 1;
  Hd[28] = 32;
  Put32(Hd + 34, Cardinal(Size));
  Stream->WriteBuffer(Hd, 54);
  if (Bitmap->Empty()) return;
  if (SaveTopDown) {
    for (Integer Y = H - 1; Y >= 0; --Y) Stream->WriteBuffer(Bitmap->ScanLine(Y), W * 4);
  } else {
    for (Integer Y = 0; Y < H; ++Y) Stream->WriteBuffer(Bitmap->ScanLine(Y), W * 4);
  }
}

void LoadBitmap32FromStream(TCustomBitmap32* Bitmap, TStream* Stream) {
  const Int64 Start = Stream->Position();
  const Int64 Avail = Stream->Size() - Start;
  if (Avail < 54) ReadError();
  Byte Hd[54];
  Stream->ReadBuffer(Hd, 54);
  const bool Fast = Hd[0] == 'B' && Hd[1] == 'M' && Get32(Hd + 14) == 40 && Hd[26] == 1 && Hd[27] == 0 &&
                    Hd[28] == 32 && Hd[29] == 0 && Get32(Hd + 30) == 0;
  if (Fast) {
    const Int64 W = Integer(Get32(Hd + 18)), H = Integer(Get32(Hd + 22));
    const Int64 Off = Get32(Hd + 10);
    if (W < 0 || H == Int64(INT_MIN) || Off < 54) ReadError();
    const Int64 AbsH = H < 0 ? -H : H;
    const Int64 Need = W * AbsH * 4;
    if (Off > Avail || Need > Avail - Off) ReadError();
    Stream->SetPosition(Start + Off);
    Bitmap->SetSize(Integer(W), Integer(AbsH));
    if (!Bitmap->Empty()) {
      if (H > 0) {
        for (Integer Y = Integer(AbsH) - 1; Y >= 0; --Y) Stream->ReadBuffer(Bitmap->ScanLine(Y), Integer(W) * 4);
      } else {
        for (Integer Y = 0; Y < Integer(AbsH); ++Y) Stream->ReadBuffer(Bitmap->ScanLine(Y), Integer(W) * 4);
      }
    }
  } else {
    Stream->SetPosition(Start);
    TBitmap B;
    B.LoadFromStream(Stream);
    AssignFromGraphic(Bitmap, &B);
  }
  Bitmap->Changed();
}

void SaveBitmap32ToFile(TCustomBitmap32* Bitmap, const String& FileName, bool SaveTopDown) {
  TFileStream F(FileName, fmCreate);
  SaveBitmap32ToStream(Bitmap, &F, SaveTopDown);
}

void LoadBitmap32FromFile(TCustomBitmap32* Bitmap, const String& FileName) {
  bool IsBmp = false;
  {
    TFileStream F(FileName, fmOpenRead | fmShareDenyWrite);
    Byte Sig[2] = {0, 0};
    IsBmp = F.Read(Sig, 2) == 2 && Sig[0] == 'B' && Sig[1] == 'M';
    if (IsBmp) {
      F.SetPosition(0);
      LoadBitmap32FromStream(Bitmap, &F);
      return;
    }
  }
  TPicture P;
  P.LoadFromFile(FileName);
  if (auto* B32 = dynamic_cast<TBitmap32*>(Bitmap)) {
    B32->Assign(&P);
  } else {
    TUpdateLock Updating(*Bitmap, ReportChange);
    AssignFromGraphic(Bitmap, P.Graphic());
  }
}

void WriteBitmap32PixelData(TCustomBitmap32* Bitmap, TStream* Stream) {
  Integer WH[2] = {Bitmap->Width(), Bitmap->Height()};
  Stream->WriteBuffer(WH, 8);
  if (!Bitmap->Empty()) {
    for (Integer Y = 0; Y < WH[1]; ++Y) Stream->WriteBuffer(Bitmap->ScanLine(Y), WH[0] * 4);
  }
}

void ReadBitmap32PixelData(TCustomBitmap32* Bitmap, TStream* Stream) {
  TFinally Done([&] { Bitmap->Changed(); });
  Integer WH[2];
  Stream->ReadBuffer(WH, 8);
  const Int64 W = WH[0], H = WH[1];
  if (W < 0 || H < 0 || W * H * 4 > Stream->Size() - Stream->Position()) ReadError();
  Bitmap->SetSize(Integer(W), Integer(H));
  if (!Bitmap->Empty())
    for (Integer Y = 0; Y < Integer(H); ++Y) Stream->ReadBuffer(Bitmap->ScanLine(Y), Integer(W) * 4);
}

bool SameBitmap(TCustomBitmap32* A, TCustomBitmap32* B) {
  if (!A || !B) return A == B;
  if (A->Empty() || B->Empty()) return A->Empty() && B->Empty();
  if (typeid(*A) != typeid(*B)) return false;
  TMemoryStream SA, SB;
  SaveBitmap32ToStream(A, &SA, false);
  SaveBitmap32ToStream(B, &SB, false);
  return SA.Size() == SB.Size() && std::memcmp(SA.Memory(), SB.Memory(), size_t(SA.Size())) == 0;
}
