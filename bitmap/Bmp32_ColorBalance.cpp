// Colour balance.
#include "bitmap/Bmp32_ColorBalance.h"

#include <cmath>
#include <cstring>

#include "bitmap/ColorTransferLib.h"
#include "bitmap/Bmp32_LowLevel.h"

TColorBalance::TColorBalance() {
  InitializeColorTransfer();
  FSourceBitmap = new TCustomBitmap32();
  FPreserveLuminosity = true;
  FTransferMode = tmMidtones;
  UpdateLookups();
}

TColorBalance::~TColorBalance() { delete FSourceBitmap; }

void TColorBalance::SetCyanRed(Integer Value) {
  if (FCyanRed[FTransferMode] == Value) return;
  FCyanRed[FTransferMode] = Value;
  UpdateLookups();
}

void TColorBalance::SetMagentaGreen(Integer Value) {
  if (FMagentaGreen[FTransferMode] == Value) return;
  FMagentaGreen[FTransferMode] = Value;
  UpdateLookups();
}

void TColorBalance::SetYellowBlue(Integer Value) {
  if (FYellowBlue[FTransferMode] == Value) return;
  FYellowBlue[FTransferMode] = Value;
  UpdateLookups();
}

void TColorBalance::SetSourceBitmap(TCustomBitmap32* Value) { FSourceBitmap->Assign(Value); }

void TColorBalance::Reset() {
  FCyanRed[FTransferMode] = 0;
  FMagentaGreen[FTransferMode] = 0;
  FYellowBlue[FTransferMode] = 0;
  UpdateLookups();
}

void TColorBalance::UpdateLookups() {
  auto build = [](const Integer* Values, Byte* Lookup) {
    const Double* curves[3] = {Values[0] > 0 ? ShadowsAdd : ShadowsSub, Values[1] > 0 ? MidtonesAdd : MidtonesSub,
                               Values[2] > 0 ? HighlightsAdd : HighlightsSub};
    for (Integer i = 0; i < 256; ++i) {
      Integer v = i;
      for (int r = 0; r < 3; ++r) {
        double shift = std::nearbyint(double(Values[r]) * curves[r][v]);
        double nv = double(v) + shift;
        v = nv < 0 ? 0 : (nv > 255 ? 255 : Integer(nv));
      }
      Lookup[i] = Byte(v);
    }
  };
  build(FCyanRed, FRedLookup);
  build(FMagentaGreen, FGreenLookup);
  build(FYellowBlue, FBlueLookup);
}

void TColorBalance::Execute(TCustomBitmap32* Dest) {
  if (!Dest) return;
  TCustomBitmap32* src = FSourceBitmap;
  Dest->SetSize(src->Width(), src->Height());
  size_t n = size_t(src->Width()) * size_t(src->Height());
  const TColor32* s = src->Bits();
  TColor32* d = Dest->Bits();
  for (size_t i = 0; i < n; ++i) {
    TColor32 c = s[i];
    Integer r = Integer((c >> 16) & 0xFF), g = Integer((c >> 8) & 0xFF), b = Integer(c & 0xFF);
    TColor32 res = (c & 0xFF000000u) | (TColor32(FRedLookup[r]) << 16) | (TColor32(FGreenLookup[g]) << 8) |
                   TColor32(FBlueLookup[b]);
    if (FPreserveLuminosity) {
      Single H, S, L;
      RGBtoHSLFloat(res, H, S, L);
      L = Single((Max3(r, g, b) + Min3(r, g, b)) / 2) / 255.0f;
      res = (c & 0xFF000000u) | (HSLtoRGB(H, S, L) & 0x00FFFFFFu);
    }
    d[i] = res;
  }
  Dest->Changed();
}

void TColorBalance::SaveToStream(TMemoryStream* AStream) {
  if (!AStream) return;
  Byte rec[RecordSize];
  auto put32 = [&](size_t at, Integer v) {
    Cardinal u = Cardinal(v);
    for (int k = 0; k < 4; ++k) rec[at + size_t(k)] = Byte(u >> (8 * k));
  };
  for (int r = 0; r < 3; ++r) {
    put32(size_t(r) * 12, FCyanRed[r]);
    put32(size_t(r) * 12 + 4, FMagentaGreen[r]);
    put32(size_t(r) * 12 + 8, FYellowBlue[r]);
  }
  for (int i = 0; i < 256; ++i) {
    rec[36 + i * 3] = FRedLookup[i];
    rec[36 + i * 3 + 1] = FGreenLookup[i];
    rec[36 + i * 3 + 2] = FBlueLookup[i];
  }
  rec[804] = FPreserveLuminosity ? 1 : 0;
  put32(805, Integer(FTransferMode));
  AStream->WriteBuffer(rec, RecordSize);
}

bool TColorBalance::LoadFromStream(TMemoryStream* AStream) {
  if (!AStream) return false;
  if (AStream->Size() - AStream->Position() < RecordSize) return false;
  Byte rec[RecordSize];
  if (AStream->Read(rec, RecordSize) != RecordSize) return false;
  auto get32 = [&](size_t at) {
    Cardinal u = 0;
    for (int k = 0; k < 4; ++k) u |= Cardinal(rec[at + size_t(k)]) << (8 * k);
    return Integer(u);
  };
  for (int r = 0; r < 3; ++r) {
    FCyanRed[r] = get32(size_t(r) * 12);
    FMagentaGreen[r] = get32(size_t(r) * 12 + 4);
    FYellowBlue[r] = get32(size_t(r) * 12 + 8);
  }
  for (int i = 0; i < 256; ++i) {
    FRedLookup[i] = rec[36 + i * 3];
    FGreenLookup[i] = rec[36 + i * 3 + 1];
    FBlueLookup[i] = rec[36 + i * 3 + 2];
  }
  FPreserveLuminosity = rec[804] != 0;
  Byte mode = rec[805];
  FTransferMode = mode <= 2 ? TTransferMode(mode) : tmMidtones;
  return true;
}
