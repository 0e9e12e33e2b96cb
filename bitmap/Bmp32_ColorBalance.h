// Bitmap engine: colour balance between cyan-red, magenta-green and
// yellow-blue, separately for shadows, midtones and highlights, through
// three 256-entry lookup tables, optionally keeping each pixel's lightness.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "rtl/Classes.h"

enum TTransferMode : Integer { tmShadows = 0, tmMidtones = 1, tmHighlights = 2 };

class TColorBalance : public TObject {
 public:
  // The size of the settings record of SaveToStream / LoadFromStream.
  static constexpr Integer RecordSize = 809;

  TColorBalance();
  ~TColorBalance() override;

  Integer CyanRed() const { return FCyanRed[FTransferMode]; }
  void SetCyanRed(Integer Value);
  Integer MagentaGreen() const { return FMagentaGreen[FTransferMode]; }
  void SetMagentaGreen(Integer Value);
  Integer YellowBlue() const { return FYellowBlue[FTransferMode]; }
  void SetYellowBlue(Integer Value);
  TCustomBitmap32* SourceBitmap() const { return FSourceBitmap; }
  // Copies Value into the own source bitmap.
  void SetSourceBitmap(TCustomBitmap32* Value);
  bool PreserveLuminosity() const { return FPreserveLuminosity; }
  void SetPreserveLuminosity(bool Value) { FPreserveLuminosity = Value; }
  TTransferMode TransferMode() const { return FTransferMode; }
  void SetTransferMode(TTransferMode Value) { FTransferMode = Value; }

  const Byte* RedLookup() const { return FRedLookup; }
  const Byte* GreenLookup() const { return FGreenLookup; }
  const Byte* BlueLookup() const { return FBlueLookup; }

  // The current mode's three values to 0, tables rebuilt.
  void Reset();
  // Dest := the balanced source (sized to it; alpha from the source).
  void Execute(TCustomBitmap32* Dest);
  void SaveToStream(TMemoryStream* AStream);
  // False for a nil stream or fewer than RecordSize bytes left (nothing changes).
  bool LoadFromStream(TMemoryStream* AStream);

 private:
  void UpdateLookups();

  TCustomBitmap32* FSourceBitmap = nullptr;
  Byte FRedLookup[256] = {};
  Byte FGreenLookup[256] = {};
  Byte FBlueLookup[256] = {};
  Integer FCyanRed[3] = {0, 0, 0};
  Integer FMagentaGreen[3] = {0, 0, 0};
  Integer FYellowBlue[3] = {0, 0, 0};
  bool FPreserveLuminosity = true;
  TTransferMode FTransferMode = tmMidtones;
};
