// The skinned hint: TspSkinHintWindow draws a hint from the skin's hint
// picture (or a plain info-coloured box), with an optional bold title and
// image and an optional alpha fade; TspSkinHint, placed on the main form,
// makes the application's hint windows skinned ones and shows hints on
// demand (below the cursor after the hint pause, or centred on a rect).
// Winelib only.
#pragma once

#include <functional>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinHintGeometry.h"
#include "skin/data/SkinData.h"

class TspSkinHint;

class TspSkinHintWindow : public THintWindow {
 public:
  explicit TspSkinHintWindow(TComponent* AOwner);
  ~TspSkinHintWindow() override;

  // A plain hint with its top-left at Rect's; the size is the window's own.
  void ActivateHint(const TRect& Rect, const String& AHint) override;
  // A plain hint centred on ARect, above it (ATop) or below it.
  void ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop);
  // A hint with a bold title and an image at Rect's top-left.
  void ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                      TCustomImageList* AImageList);

  // The hint component of the current hint, and the skin it uses (nullptr
  // for the default look).
  TspSkinHint* Hint() const { return FspHint; }
  TspSkinData* SkinData() const { return FSD; }
  bool Extended() const { return AExtendedStyle; }
  bool HasRegion() const { return FRgn; }

  // Every alpha value given to the window goes through here (tests record
  // the fade); unset, SetWindowAlphaValue.
  std::function<void(HWND, Byte)> OnSetAlpha;

  TRect NewClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  struct TShow {
    TRect Rect;
    bool FromRect = false;
    bool Top = false;
    bool Extended = false;
    String Title;
    Integer ImageIndex = 0;
    TCustomImageList* ImageList = nullptr;
  };
  void Activate(TShow S, const String& AHint);
  void SetHintFont(TCanvas* C);
  void SetHintRegion();
  void SetAlpha(Byte Value);
  bool HasImage() const;
  void PaintBackground(TBitmap* B);
  void PaintExtended(TBitmap* B);
  // The text's size in the canvas's font (lines broken at line breaks only).
  TPoint MeasureText(TCanvas* C, const String& S);

  TspSkinHint* FspHint = nullptr;
  TspSkinData* FSD = nullptr;
  TBitmap* SI;
  bool FRgn = false;
  bool OldAlphaBlend = false;
  Integer OldAlphaBlendValue = 0;
  bool AExtendedStyle = false;
  String FTitle;
  Integer FImageIndex = 0;
  TCustomImageList* FImageList = nullptr;
  Integer FTitleHeight = 0;
};

class TspSkinHint : public TComponent {
 public:
  explicit TspSkinHint(TComponent* AOwner);
  ~TspSkinHint() override;

  // Scheduled: shown below the cursor after Application's HintPause,
  // hidden after its HintHidePause.
  void ActivateHint2(const String& AHint);
  // Scheduled: centred above (ATop) or below AFromRect.
  void ActivateHint3(const TRect& AFromRect, const String& AHint, bool ATop);
  // Scheduled: an extended hint below the cursor.
  void ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                       TCustomImageList* AImageList);
  // Shown at once at P, until HideHint.
  void ActivateHint(const TPoint& P, const String& AHint);
  void ActivateHintEx(const TPoint& P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                      TCustomImageList* AImageList);
  // Cancels a scheduled hint and hides a shown one.
  void HideHint();
  bool IsVisible() const;
  // How far below the mouse position a hint starts to clear the cursor.
  Integer GetCursorHeightMargin();

  const String& LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
  TFont* DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool AlphaBlendSupport() const { return FAlphaBlendSupport; }
  void SetAlphaBlendSupport(bool Value);
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  bool Active() const { return FActive; }
  // Activating one component deactivates the other active ones on the
  // main form.
  void SetActive(bool Value);

  // The stored title, image and list of the current hint.
  const String& HintTitle() const { return FHintTitle; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  // The component's own window.
  TspSkinHintWindow* Window() const { return HW; }
  // The pending timer (scheduled or shown), nullptr when idle.
  TTimer* Timer() const { return HintTimer; }

  TShowHintEvent OnShowHint;

  // The application's hint hook: the skinned control's title and image.
  void DoShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Schedule(TNotifyEvent Step);
  void ShowStep(bool Extended);
  void ShowFromRectStep();
  void ArmHide();
  void FreeTimer();
  void HookApplication();

  bool FActive = true;
  TspSkinData* FSD = nullptr;
  TspSkinHintWindow* HW;
  bool FAlphaBlendSupport = true;
  TFont* FDefaultFont;
  bool FUseSkinFont = true;
  TTimer* HintTimer = nullptr;
  String HintText;
  String FLineSeparator = u"@";
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  bool FAlphaBlendAnimation = false;
  TRect FromRect;
  bool Top = false;
};
