#include "skin/controls/win/SkinTabImages.h"

#include <memory>

#include "skin/controls/win/SkinControl.h"
#include "skin/data/win/SpEffBmp.h"

namespace {

enum class TTurn { CCW, CW, Flip };

// Bitmap's pixels through Turn, as a new effect bitmap.
std::unique_ptr<TspEffectBmp> Turned(TBitmap* Bitmap, TTurn Turn) {
  auto Src = SkinEffectOf(Bitmap);
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  std::unique_ptr<TspEffectBmp> Dst;
  if (Turn == TTurn::Flip) {
    Dst = std::make_unique<TspEffectBmp>(W, H);
    Src->FlipVert(Dst.get());
  } else {
    Dst = std::make_unique<TspEffectBmp>(H, W);
    if (Turn == TTurn::CCW)
      Src->Rotate90_1(Dst.get());
    else
      Src->Rotate90_2(Dst.get());
  }
  return Dst;
}

void DrawTurned(TCanvas* Canvas, TBitmap* Bitmap, Integer X, Integer Y, TTurn Turn) {
  if (!Bitmap || Bitmap->Empty()) return;
  Turned(Bitmap, Turn)->Draw(Canvas->Handle(), X, Y);
}

void TurnInPlace(TBitmap* Bitmap, TTurn Turn) {
  if (!Bitmap || Bitmap->Empty()) return;
  auto Dst = Turned(Bitmap, Turn);
  if (Turn != TTurn::Flip) Bitmap->SetSize(Bitmap->Height(), Bitmap->Width());
  Dst->Draw(Bitmap->Canvas()->Handle(), 0, 0);
}

}  // namespace

void DrawTabImageRotatedCCW(TCanvas* Canvas, TBitmap* Bitmap, Integer X, Integer Y) {
  DrawTurned(Canvas, Bitmap, X, Y, TTurn::CCW);
}

void DrawTabImageRotatedCW(TCanvas* Canvas, TBitmap* Bitmap, Integer X, Integer Y) {
  DrawTurned(Canvas, Bitmap, X, Y, TTurn::CW);
}

void RotateTabImageCCW(TBitmap* Bitmap) { TurnInPlace(Bitmap, TTurn::CCW); }
void RotateTabImageCW(TBitmap* Bitmap) { TurnInPlace(Bitmap, TTurn::CW); }
void FlipTabImage(TBitmap* Bitmap) { TurnInPlace(Bitmap, TTurn::Flip); }

void DrawTabImageAndText(TCanvas* Canvas, Integer W, Integer H, Integer Offset, bool Enabled, Integer ImageIndex,
                         TCustomImageList* Images, const String& Text) {
  RECT M = {0, 0, 0, 0};
  DrawTextW(Canvas->Handle(), reinterpret_cast<const WCHAR*>(Text.c_str()), Integer(Text.size()), &M,
            DT_CALCRECT | DT_SINGLELINE);
  const Integer IW = Images ? Images->Width() : 0, IH = Images ? Images->Height() : 0;
  const TspTabContentPlace P = TabImageAndTextPlace(W, H, Offset, Text.empty(), M.right - M.left, M.bottom - M.top, IW, IH);
  RECT R = {P.Caption.Left, P.Caption.Top, P.Caption.Right, P.Caption.Bottom};
  DrawTextW(Canvas->Handle(), reinterpret_cast<const WCHAR*>(Text.c_str()), Integer(Text.size()), &R,
            DT_CENTER | DT_SINGLELINE);
  if (Images) Images->Draw(Canvas, P.Glyph.X, P.Glyph.Y, ImageIndex, Enabled);
}

void DrawStretchOrTile(TCanvas* Canvas, Integer W, Integer H, TBitmap* S, bool StretchEffect,
                       TspStretchType StretchType) {
  if (!S || W <= 0 || H <= 0 || S->Width() <= 0 || S->Height() <= 0) return;
  if (StretchEffect) {
    switch (StretchType) {
      case spstFull:
        Canvas->StretchDraw(TRect(0, 0, W, H), S);
        return;
      case spstHorz: {
        auto B = NewSkinBitmap(S->Width(), H);
        B->Canvas()->StretchDraw(TRect(0, 0, B->Width(), H), S);
        const TspTileCount N = TileCopies(W, H, B->Width(), H);
        for (Integer K = 0; K < N.Columns; ++K) Canvas->Draw(K * B->Width(), 0, B.get());
        return;
      }
      case spstVert: {
        auto B = NewSkinBitmap(W, S->Height());
        B->Canvas()->StretchDraw(TRect(0, 0, W, B->Height()), S);
        const TspTileCount N = TileCopies(W, H, W, B->Height());
        for (Integer K = 0; K < N.Rows; ++K) Canvas->Draw(0, K * B->Height(), B.get());
        return;
      }
    }
  }
  const TspTileCount N = TileCopies(W, H, S->Width(), S->Height());
  for (Integer I = 0; I < N.Columns; ++I)
    for (Integer J = 0; J < N.Rows; ++J) Canvas->Draw(I * S->Width(), J * S->Height(), S);
}
