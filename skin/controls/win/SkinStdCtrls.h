// The skinned bevel TspSkinBevel (line colours from the skin, a centred
// divider mode) and the skinned standard label TspSkinStdLabel (font and
// colour from the skin, ellipsis). Neither stands on the skinned control
// bases: each keeps its own SkinData and is told of skin changes through its
// ChangeSkinData. Winelib only.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "skin/data/SkinData.h"

class TspSkinBevel : public TBevel {
 public:
  explicit TspSkinBevel(TComponent* AOwner);

  TspSkinData* SkinData() const { return FSD; }
  // Stores the skin and re-reads the colours (also for nil or an empty skin).
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  bool DividerMode() const { return FDividerMode; }
  void SetDividerMode(bool Value);
  // The colours of the "bevel" description, the system's without one; a
  // description of another kind leaves them as they are.
  void ChangeSkinData();

  Integer FIndex = -1;
  TColor LightColor;
  TColor DarkColor;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;

 private:
  TspSkinData* FSD = nullptr;
  String FSkinDataName = u"bevel";
  bool FDividerMode = false;
};

enum TspEllipsType : Byte { spetNone, spetEndEllips, spetPathEllips };

class TspSkinStdLabel : public TCustomLabel {
 public:
  explicit TspSkinStdLabel(TComponent* AOwner);
  ~TspSkinStdLabel() override;

  TspSkinData* SkinData() const { return FSD; }
  // Stores the skin; a skin (also an empty one) is applied at once.
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TspEllipsType EllipsType() const { return FEllipsType; }
  void SetEllipsType(TspEllipsType Value);
  TFont* DefaultFont() const { return FDefaultFont; }
  // Assigns the font; no repaint.
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }

  void GetSkinData();
  // Re-reads the description, resizes when AutoSize, repaints.
  void ChangeSkinData();

  Integer FIndex = -1;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Paints and (DT_CALCRECT) measures the text in the skin's font.
  void DoDrawText(TRect& Rect, UINT Flags) override;

 private:
  TspEllipsType FEllipsType = spetNone;
  TspSkinData* FSD = nullptr;
  String FSkinDataName = u"stdlabel";
  TFont* FDefaultFont;
  bool FUseSkinFont = true;
  bool FUseSkinColor = true;
};
