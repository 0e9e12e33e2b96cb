// Conversion of bitmaps with the class library's graphics, the 32-bit BMP
// stream and the binary property form.
#include <climits>
#include <cstring>
#include <typeinfo>

#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Clipbrd.h"
#include "rtl/ScopeGuard.h"

namespace {

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

void LoadBitmap32FromStream(TCustomBitmap32* Bitmap, TStream* Stream) {
  if (!LoadPlainBitmap32FromStream(Bitmap, Stream)) {
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

bool SameBitmap(TCustomBitmap32* A, TCustomBitmap32* B) {
  if (!A || !B) return A == B;
  if (A->Empty() || B->Empty()) return A->Empty() && B->Empty();
  if (typeid(*A) != typeid(*B)) return false;
  TMemoryStream SA, SB;
  SaveBitmap32ToStream(A, &SA, false);
  SaveBitmap32ToStream(B, &SB, false);
  return SA.Size() == SB.Size() && std::memcmp(SA.Memory(), SB.Memory(), size_t(SA.Size())) == 0;
}
