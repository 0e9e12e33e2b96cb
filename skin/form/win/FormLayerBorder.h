// The layered border of a skinned form: up to four layered top-level
// windows around the form showing 32-bit pictures with per-pixel alpha cut
// from the skin's layer-frame description (a shadow, a glow or, with a full
// border, the whole frame with its caption and buttons), and the windows
// themselves, which size and move the form from the border. The numbers are
// in skin/form/LayerBorderGeometry.h. Winelib only.
#pragma once

#include <windows.h>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "skin/data/win/SpBitmap.h"
#include "skin/form/LayerBorderGeometry.h"

class TspFormSkin;
class TspSkinData;
class TspFormLayerBorder;

// One of the border's windows: never active, keeps its owner form active,
// sizes and moves the form from its bands and caption.
class TspFormLayerWindow : public TForm {
 public:
  TspFormLayerWindow(TComponent* AOwner, TCustomForm* AForm);
  void Dispatch(TMessage& Message) override;

  // What window point X, Y (client coordinates; the cursor is read anew)
  // does now.
  TspFormLayerBorderHit HitTestBorder(Integer X, Integer Y);
  bool CanSizeFromBorder();
  // The window shows (a side window without rows is kept hidden).
  bool Shown() { return HandleAllocated() && IsWindowVisible(Handle()); }

  bool FDown = false;
  TCustomForm* FForm = nullptr;
  TspFormLayerBorder* FLayerBorder = nullptr;
  TPoint MousePos1, MousePos2;
  TspFormLayerBorderHit FHitMode = spflhNone;
  bool FInProcessMessages = false;
  TspFormLayerBorderType BorderType = spflTop;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

 private:
  TspFormSkin* DSF() const;
  void DoubleClick(TMessage& Message);
  // One drag step that moves the form by DX, DY.
  void MoveStep(Integer DX, Integer DY);
  // One drag step that sizes the form by DX, DY.
  void SizeStep(Integer DX, Integer DY);
};

class TspFormLayerBorder : public TComponent {
 public:
  explicit TspFormLayerBorder(TComponent* AOwner);
  ~TspFormLayerBorder() override;

  void InitFrame(TspSkinData* ASkinData, TCustomForm* AForm);
  void Show(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void Update(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void ShowWithForm();
  void SetBoundsWithForm();
  void SetBoundsWithForm2(Integer AW, Integer AH);
  void SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH);
  void UpdateBorder();
  void MoveWithForm();
  void MoveWithForm2(Integer ALeft, Integer ATop);
  void SetAlphaBlend();
  void SetAlphaBlend2();
  void Hide();
  void CheckFormAlpha(Integer AFormAlpha, bool AUpdate);
  void SetActive(bool AValue, bool AUpdate);
  void ShowWithFormAnimation();
  void TrackBorderObject(Integer X, Integer Y);

  bool FullBorder() const { return FData && FData->FullBorder; }
  // The outer rectangle for a form at ALeft, ATop of AW x AH (the collapsed
  // rule applied when Collapse is set).
  TRect OuterRect(Integer ALeft, Integer ATop, Integer AW, Integer AH, bool Collapse);
  // The source picture of the current look.
  TspBitmap* SourceOfLook() const;
  Byte CurrentAlpha() const;
  // Where window Kind stands in outer rectangle X, Y, AWidth x AHeight.
  TPoint WindowPos(TspFormLayerBorderType Kind, Integer X, Integer Y, Integer AWidth, Integer AHeight) const;

  TspFormSkin* DSF = nullptr;
  bool FIsAeroEnabled = false;
  TTimer* MouseTimer = nullptr;
  TCustomForm* FForm = nullptr;
  bool FVisible = false;
  TspSkinData* FSD = nullptr;
  TspDataSkinLayerFrame* FData = nullptr;
  TspBitmap* FSourceBitmap = nullptr;
  TspBitmap* FSourceInActiveBitMap = nullptr;
  TspBitmap *LeftImage = nullptr, *TopImage = nullptr, *RightImage = nullptr, *BottomImage = nullptr;
  TspFormLayerWindow *LeftBorder = nullptr, *TopBorder = nullptr, *RightBorder = nullptr, *BottomBorder = nullptr;
  Integer FWidth = 0, FHeight = 0;
  Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
  Integer HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
  Integer HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
  Integer OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;
  HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
  HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
  bool FActive = true;
  Integer FCurrentAlphaBlendValue = -1;
  Integer FCurrentInActiveAlphaBlendValue = 0;

  // The sizes as one value for the geometry rules.
  TspLayerBorderSizes Sizes() const;

 private:
  void BuildBorderImages(Integer AWidth, Integer AHeight);
  void BuildBlurMaskRegions();
  void BuildBlurRegions();
  void LayoutCaptionObjects();
  void ReleaseStdButtons();
  void BorderMouseTimerTick(TObject* Sender);
  void FreeImages();
  void FreeWindows();
  void DeleteRegions();
  bool BlurApplies() const;
  // Gives window Wnd image Img with the current alpha (and its blur).
  void Apply(TspFormLayerWindow* Wnd, TspBitmap* Img, HRGN Rgn);
  // The skin's active picture Index, or nullptr.
  TBitmap* ActivePictureOf(Integer Index) const;
  // Picture Index with the grey of picture MaskIndex as its alpha.
  TspBitmap* BuildSource(Integer Index, Integer MaskIndex) const;
};
