// TImgText: text objects (row type shText, six frames) and callouts
// (shCallout, twelve frames with their own points; see
// document/CalloutGeometry.h). The frame is filled and outlined by the
// shape base's procedure; the text is drawn plainly, or as a path when it
// is stroked, hollow or filled by a text gradient. Winelib only.
#pragma once

#include "document/CalloutGeometry.h"
#include "document/win/ImageDraw.h"

class TImgText : public TImgShape {
 public:
  TImgText(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

  void Draw(TBitmap32* ToBitmap) override;
  void DrawControlPoint(TBitmap32* ToBitmap) override;
  bool PtInControl(Integer X, Integer Y) override;
  bool PtInShape(Integer X, Integer Y) override;
  void Click() override;
  void AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void OffsetShape(Integer DX, Integer DY) override;
  void InitPoints(bool IsDrawStyle) override;
  void CalcPoints(bool IsForceCalc) override;
  void CalcControlPoints() override;
  Integer StyleExtraMargin() const override;

  void ReadRowColumns(TRow* Row) override;
  void WriteRowColumns(TRow* Row) override;
  void ReadPresetColumns(TRow* Row) override;

  bool IsCallout() const { return FShapeType == TShapeType::shCallout; }
  void SetPoints(const String& S);
  String GetPoints() const;
  // Old files stored callout points relative to the rectangle's corner.
  void UpgradePoints();
  Integer GetMaxLengthOfOutPoint() const;
  const TCalloutPoints& CalloutPoints() const { return FPoints; }
  // The hint the last plain text was drawn with.
  Integer LastTextHint() const { return FLastHint; }

  String FText;
  String FFontName = u"Tahoma";
  Integer FFontSize = 18;
  TColor FFontColor = 0;
  bool FFontBold = false, FFontItalic = false, FFontUnderline = false;
  Integer FAlignment = 1, FLayout = 1;
  bool FDirectionVertical = false;
  bool FFontStroke = false, FFontStrokeEmpty = false;
  TColor FFontStrokeColor = 0;
  Integer FFontStrokeWidth = 1;
  Integer FTextGradientMode = -1;
  String FTextGradientColor = u"26367/65535/26367", FTextGradientOpacity = u"100/100/100",
         FTextGradientPosition = u"0/0.5/1";
  Integer FTextGradientFillMode = 0, FTextGradientLinearAngle = 45, FTextGradientEdgingWidth = 15;
  bool FTextGradientGammaCorrected = false;
  String FTextGradientTextureFileName;

 private:
  IGPGraphicsPath FramePath() const;
  TGPRectF LayoutRect() const;
  void DrawText(TBitmap32* Target);
  void OffsetPoints(Integer DX, Integer DY);

  TCalloutPoints FPoints;
  bool FTipDragged = false;
  Integer FLastHint = 0;
};
