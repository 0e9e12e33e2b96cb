// The frame objects of a skinned form as the form component sees them: the
// base TspActiveSkinObject with its virtual operations and the classes the
// object factory makes from the skin's descriptions. Here they carry their
// data and the mouse protocol's hooks only and draw nothing of their own;
// their looks are added class by class without changing what the form
// component calls. Winelib only.
#pragma once

#include "classlib/Controls.h"
#include "skin/data/SkinData.h"
#include "skin/data/win/SpBitmap.h"

class TspFormSkin;

class TspActiveSkinObject : public TObject {
 public:
  TspActiveSkinObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  // A point relative to ObjectRect's top-left corner is in the shape.
  virtual bool PointInMask(Integer X, Integer Y);
  virtual void ShowLayer() {}
  virtual void HideLayer() {}
  virtual void InitAlphaImages() {}
  virtual void DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) {
    (void)Cnvs;
    (void)ABitMap;
  }
  // On a canvas whose origin is the window's top-left corner.
  virtual void Draw(TCanvas* Cnvs, bool UpDate) {
    (void)Cnvs;
    (void)UpDate;
  }
  virtual void DblClick() {}
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseMove(Integer X, Integer Y);
  virtual void MouseEnter() { FMouseIn = true; }
  virtual void MouseLeave() { FMouseIn = false; }
  virtual bool CanMorphing() { return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0); }

  // Repaints the object through the form.
  void ReDraw();
  double MorphKf() const { return FMorphKf; }
  void SetMorphKf(double Value) { FMorphKf = Value < 0 ? 0 : (Value > 1 ? 1 : Value); }

  TspFormSkin* Parent;
  double FMorphKf = 0;
  bool FMouseIn = false;
  TBitmap* Picture = nullptr;
  TBitmap* ActivePicture = nullptr;
  TBitmap* ActiveMaskPicture = nullptr;
  TspSkinData* SD = nullptr;
  String IDName;
  String Hint;
  TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ObjectRect;
  bool Active = false;
  bool Enabled = true;
  Integer CursorIndex = -1;
  bool RollUp = false;
  bool Visible = true;
  bool SkinRectInAPicture = false;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

class TspUserObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};

// A skinned push button of the frame.
class TspSkinButtonObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
  bool FDown = false;
};

// A caption button: runs its command through the form when released over it.
class TspSkinStdButtonObject : public TspSkinButtonObject {
 public:
  TspSkinStdButtonObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  // Runs the command (close, maximise, minimise, roll-up...).
  void DoCommand();

  TStdCommand Command = cmClose;
  String RestoreHint;
  String FTempHint;
};

class TspSkinCaptionObject : public TspActiveSkinObject {
 public:
  TspSkinCaptionObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  const String& TextValue() const { return FTextValue; }
  void SetTextValue(const String& Value);

  bool DefaultCaption = false;
  bool EnableAnimation = false;

 private:
  String FTextValue;
};

class TspSkinAnimateObject : public TspActiveSkinObject {
 public:
  TspSkinAnimateObject(TspFormSkin* AParent, TspDataSkinObject* AData);
  bool ButtonStyle = false;
  TStdCommand Command = cmClose;
  String RestoreHint;
  String FTempHint;
};

class TspSkinGaugeObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
class TspSkinSwitchObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
class TspSkinTrackBarObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
class TspSkinLabelObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
class TspSkinBitLabelObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
class TspSkinFrameRegulatorObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
class TspSkinFrameGaugeObject : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
};
// A top-level item of the form's main menu drawn in the frame.
class TspSkinMainMenuItem : public TspActiveSkinObject {
 public:
  using TspActiveSkinObject::TspActiveSkinObject;
  TMenuItem* MenuItem = nullptr;
};

// The layered shadow border of a form. Without a description it is never
// shown: every query reads "not visible, no full border".
class TspFormLayerBorder : public TComponent {
 public:
  explicit TspFormLayerBorder(TComponent* AOwner) : TComponent(AOwner) {}
  bool FVisible = false;
  TspDataSkinLayerFrame* FData = nullptr;
  Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
  bool FullBorder() const { return FData && FData->FullBorder; }
  void Hide() { FVisible = false; }
  void InitFrame(TCustomForm* AForm, TspSkinData* ASkin) {
    (void)AForm;
    (void)ASkin;
  }
};

