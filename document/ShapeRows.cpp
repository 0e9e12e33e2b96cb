// Object-row columns (see ShapeRows.h).
#include "document/ShapeRows.h"

#include <cmath>

#include "rtl/Math.h"
#include "rtl/SysUtils.h"

const char16_t* const DefaultStyleSuffix =
    u"45,3,0,3,0,175,,,,,0,0,0,0,0,175,66,,,,26367/65535/26367,100/100/100,0/0.5/1,,,0,45,,15,0";

namespace {

TCell* CellAt(TRow* Row, Integer Index) {
  while (Row->ItemCount() <= Index) Row->AddItem(u"");
  return Row->Items(Index);
}

// An empty cell stays empty when the value is what it reads as; anything
// else gets the canonical text.
void StoreUnlessEmptyEquivalent(TRow* Row, Integer Index, const String& Text, bool IsEmptyValue) {
  TCell* c = CellAt(Row, Index);
  if (c->StoredText().empty() && IsEmptyValue) return;
  c->SetText(Text);
}

void SetCellSingle(TRow* Row, Integer Index, Single Value, const String& Text) {
  TCell* c = CellAt(Row, Index);
  if (!c->StoredText().empty() && TextToSingle(c->Text()) == Value) return;  // same value, written otherwise
  StoreUnlessEmptyEquivalent(Row, Index, Text, Value == 0);
}

// Decimal digits with an optional sign, in the Integer range.
bool StrictInteger(const String& Text, Integer& Value) {
  size_t i = (!Text.empty() && (Text[0] == u'-' || Text[0] == u'+')) ? 1 : 0;
  if (i >= Text.size()) return false;
  for (size_t k = i; k < Text.size(); ++k)
    if (Text[k] < u'0' || Text[k] > u'9') return false;
  return TryStrToInt(Text, Value);
}

}  // namespace

String CellText(TRow* Row, Integer Index) {
  if (Row == nullptr || Index < 0 || Index >= Row->ItemCount()) return String();
  return Row->Items(Index)->Text();
}

Integer CellInt(TRow* Row, Integer Index) { return CellTextToInt(CellText(Row, Index)); }
bool CellBool(TRow* Row, Integer Index) { return CellTextToBool(CellText(Row, Index)); }
Single CellSingle(TRow* Row, Integer Index) { return TextToSingle(CellText(Row, Index)); }

void SetCellText(TRow* Row, Integer Index, const String& Text) { CellAt(Row, Index)->SetText(Text); }
void SetCellInt(TRow* Row, Integer Index, Integer Value) {
  StoreUnlessEmptyEquivalent(Row, Index, IntToStr(Value), Value == 0);
}
void SetCellBool(TRow* Row, Integer Index, bool Value) {
  StoreUnlessEmptyEquivalent(Row, Index, Value ? u"-1" : u"0", !Value);
}

bool RowHasStyles(TRow* Row) { return Row != nullptr && Row->ItemCount() > ShortRowCells; }

String SingleToText(Single Value) {
  if (!std::isfinite(Value)) return u"0";
  for (Integer digits = 1; digits <= 9; ++digits) {
    const String s = FloatToStrF(Value, ffGeneral, digits, 0);
    Single back = 0;
    if (TryStrToFloat(s, back) && back == Value) return s;
  }
  return FloatToStrF(Value, ffGeneral, 9, 0);
}

String AngleToText(Single Value) {
  if (!std::isfinite(Value)) return u"0";
  const double r = double(Round((long double)Value * 1000)) / 1000.0;
  return FloatToStr(r == 0 ? 0.0L : (long double)r);
}

Single TextToSingle(const String& Text) {
  Single v = 0;
  if (!TryStrToFloat(Text, v) || !std::isfinite(v)) return 0;
  return v;
}

void ReadCommonColumns(TRow* Row, TShapeCore& S) {
  using namespace ShapeCol;
  S.SetStyleId(CellInt(Row, StyleId));
  S.SetFixed(CellBool(Row, Fixed));
  S.SetHided(CellBool(Row, Hided));
  S.SetColor(CellInt(Row, Color));
  S.SetFillColor(CellInt(Row, FillColor));
  S.SetOpacity(CellInt(Row, Opacity));
  S.SetShadowMode(CellInt(Row, ShadowMode));
  S.SetReflectMode(CellInt(Row, ReflectMode));
  S.SetGradientMode(CellInt(Row, GradientMode));
  S.SetOutWidth(CellInt(Row, OutWidth));
  S.SetAngle(CellSingle(Row, Angle));
  S.SetIsOutline(CellBool(Row, IsOutline));
  S.SetIsFill(CellBool(Row, IsFill));
  S.SetPenStyle(CellInt(Row, PenStyle));
}

void ReadFrameColumns(TRow* Row, TShapeCore& S) {
  using namespace ShapeCol;
  S.SetSRect(TRect(CellInt(Row, Left), CellInt(Row, Top), CellInt(Row, Right), CellInt(Row, Bottom)));
  S.SetCenterPoint(TFloatPoint{CellSingle(Row, CenterX), CellSingle(Row, CenterY)});
}

void ReadStyleColumns(TRow* Row, TShapeCore& S, bool EdgingZeroAs15) {
  using namespace ShapeCol;
  if (!RowHasStyles(Row)) return;
  S.SetShadowAngle(CellInt(Row, ShadowAngle));
  S.SetShadowDistance(CellInt(Row, ShadowDistance));
  S.SetShadowZoomValue(CellInt(Row, ShadowZoomValue));
  S.SetShadowBlurSize(CellInt(Row, ShadowBlurSize));
  S.SetShadowColor(CellInt(Row, ShadowColor));
  S.SetShadowOpacity(CellInt(Row, ShadowOpacity));
  S.SetReflectDistance(CellInt(Row, ReflectDistance));
  S.SetReflectBlurSize(CellInt(Row, ReflectBlurSize));
  S.SetReflectOpacity(CellInt(Row, ReflectOpacity));
  S.SetReflectHeight(CellInt(Row, ReflectHeight));
  S.SetGradientColor(CellText(Row, GradientColor));
  S.SetGradientOpacity(CellText(Row, GradientOpacity));
  S.SetGradientPosition(CellText(Row, GradientPosition));
  S.SetGradientFillMode(CellInt(Row, GradientFillMode));
  S.SetGradientLinearAngle(CellInt(Row, GradientLinearAngle));
  S.SetGradientTextureFileName(UnescapeTableText(CellText(Row, TextureFileName)));
  const Integer edging = CellInt(Row, EdgingWidth);
  S.SetGradientEdgingWidth(EdgingZeroAs15 && edging == 0 ? 15 : edging);
  S.SetGradientHatchMode(CellInt(Row, HatchMode));
  S.SetGradientHatchForeColor(CellInt(Row, HatchForeColor));
  S.SetGradientHatchBackColor(CellInt(Row, HatchBackColor));
  S.SetGradientGammaCorrected(CellBool(Row, GammaCorrected));
}

void WriteShapeColumns(TRow* Row, const TShapeCore& S) {
  using namespace ShapeCol;
  CellAt(Row, ShortRowCells - 1);
  SetCellInt(Row, StyleId, S.StyleId());
  SetCellBool(Row, Fixed, S.Fixed());
  SetCellBool(Row, Hided, S.Hided());
  const TRect& r = S.SRect();
  SetCellInt(Row, Left, r.Left);
  SetCellInt(Row, Top, r.Top);
  SetCellInt(Row, Right, r.Right);
  SetCellInt(Row, Bottom, r.Bottom);
  SetCellSingle(Row, CenterX, S.CenterPoint().X, SingleToText(S.CenterPoint().X));
  SetCellSingle(Row, CenterY, S.CenterPoint().Y, SingleToText(S.CenterPoint().Y));
  SetCellInt(Row, Color, S.Color());
  SetCellInt(Row, FillColor, S.FillColor());
  SetCellInt(Row, Opacity, S.Opacity());
  SetCellInt(Row, ShadowMode, S.ShadowMode());
  SetCellInt(Row, ReflectMode, S.ReflectMode());
  SetCellInt(Row, GradientMode, S.GradientMode());
  SetCellInt(Row, OutWidth, S.OutWidth());
  const String angle = AngleToText(S.Angle());
  StoreUnlessEmptyEquivalent(Row, Angle, angle, angle == u"0");
  SetCellBool(Row, IsOutline, S.IsOutline());
  SetCellBool(Row, IsFill, S.IsFill());
  SetCellInt(Row, PenStyle, S.PenStyle());
  if (!RowHasStyles(Row)) return;
  SetCellInt(Row, ShadowAngle, S.ShadowAngle());
  SetCellInt(Row, ShadowDistance, S.ShadowDistance());
  SetCellInt(Row, ShadowZoomValue, S.ShadowZoomValue());
  SetCellInt(Row, ShadowBlurSize, S.ShadowBlurSize());
  SetCellInt(Row, ShadowColor, S.ShadowColor());
  SetCellInt(Row, ShadowOpacity, S.ShadowOpacity());
  SetCellInt(Row, ReflectDistance, S.ReflectDistance());
  SetCellInt(Row, ReflectBlurSize, S.ReflectBlurSize());
  SetCellInt(Row, ReflectOpacity, S.ReflectOpacity());
  SetCellInt(Row, ReflectHeight, S.ReflectHeight());
  SetCellText(Row, GradientColor, S.GradientColor());
  SetCellText(Row, GradientOpacity, S.GradientOpacity());
  SetCellText(Row, GradientPosition, S.GradientPosition());
  SetCellInt(Row, GradientFillMode, S.GradientFillMode());
  SetCellInt(Row, GradientLinearAngle, S.GradientLinearAngle());
  SetCellText(Row, TextureFileName, EscapeTableText(S.GradientTextureFileName()));
  SetCellInt(Row, EdgingWidth, S.GradientEdgingWidth());
  SetCellInt(Row, HatchMode, S.GradientHatchMode());
  SetCellInt(Row, HatchForeColor, S.GradientHatchForeColor());
  SetCellInt(Row, HatchBackColor, S.GradientHatchBackColor());
  SetCellBool(Row, GammaCorrected, S.GradientGammaCorrected());
}

std::vector<String> SplitCell(const String& Text, Char Separator) {
  std::vector<String> parts(1);
  for (Char c : Text) {
    if (c == Separator)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

String PointsToText(const TArrayOfGPPoint& Points) {
  String s;
  for (int pass = 0; pass < 2; ++pass)
    for (const TGPPoint& p : Points) {
      if (!s.empty()) s += u'.';
      s += IntToStr(pass == 0 ? p.X : p.Y);
    }
  return s;
}

bool TextToPoints(const String& Text, TArrayOfGPPoint& Points) {
  Points.clear();
  if (Text.empty()) return true;
  const std::vector<String> parts = SplitCell(Text, u'.');
  if (parts.size() % 2 != 0) return false;
  std::vector<Integer> values;
  for (const String& p : parts) {
    Integer v = 0;
    if (!StrictInteger(p, v)) return false;
    values.push_back(v);
  }
  const size_t n = values.size() / 2;
  for (size_t i = 0; i < n; ++i) Points.push_back(TGPPoint{values[i], values[n + i]});
  return true;
}
