// The program's two small controls: ZEzEduro, a label that can act as a web
// link and draws a 3-D frame, and VIvAzovoVodivo, a flat speed button that
// fires repeated triggers while the mouse rests on it; and DrawFrame3D, the
// frame routine the label uses. Winelib only.
#pragma once

#include <functional>

#include "classlib/Buttons.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

// Width nested frames, each one pixel inside the previous: left and top in
// TopColor, right and bottom in BottomColor (Rect's right and bottom are
// taken one pixel in).
void DrawFrame3D(TCanvas* Canvas, TRect Rect, TColor TopColor, TColor BottomColor, Integer Width);

using THyBeforePaintEvent = std::function<void(TObject* Sender)>;
using THyStartToTriggerEvent = std::function<void(TObject* Sender, bool& IsTrigger)>;

// Opens a web address with the shell ("open", normal window). Tests replace
// it; the link label hands it only addresses IsWebLink accepts.
extern std::function<void(const String& Url)> HyOpenUrl;

class ZEzEduro : public TLabel {
 public:
  explicit ZEzEduro(TComponent* AOwner);

  TColor ColorHighLight() const { return FColorHighlight; }
  void SetColorHighLight(TColor Value);
  TColor ColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor Value);
  bool DrawBorder() const { return FDrawBorder; }
  void SetDrawBorder(bool Value) { FDrawBorder = Value; }
  Integer Tag2() const { return FTag2; }
  void SetTag2(Integer Value) { FTag2 = Value; }
  const String& Url() const { return FUrl; }
  void SetUrl(const String& Value) { FUrl = Value; }
  TColor ActiveColor() const { return FActiveColor; }
  void SetActiveColor(TColor Value);
  TFontStyles ActiveStyle() const { return FActiveStyle; }
  void SetActiveStyle(TFontStyles Value);
  bool UseActiveColor() const { return FUseActiveColor; }
  void SetUseActiveColor(bool Value);
  bool MouseIn() const { return FMouseIn; }
  THyBeforePaintEvent OnBeforePaint;

  // The plain click, then the link (web addresses only).
  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void DoDrawText(TRect& Rect, UINT Flags) override;

 private:
  TColor FColorHighlight = TColor(0x008396A0);
  TColor FColorShadow = TColor(0x008396A0);
  bool FDrawBorder = true;
  Integer FTag2 = 0;
  String FUrl;
  TColor FActiveColor = TColor(0x00FF0000);
  TFontStyles FActiveStyle = fsUnderline;
  bool FUseActiveColor = false;
  bool FMouseIn = false;
};

class VIvAzovoVodivo : public TSpeedButton {
 public:
  explicit VIvAzovoVodivo(TComponent* AOwner);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer TriggerCount() const { return FTriggerCount; }
  void SetTriggerCount(Integer Value) { FTriggerCount = Value; }
  Integer TimerInterval() const { return FTimerInterval; }
  void SetTimerInterval(Integer Value);
  bool SimulateClick() const { return FSimulateClick; }
  void SetSimulateClick(bool Value) { FSimulateClick = Value; }
  TTimer* Timer() const { return FTimer; }
  bool MouseEntered() const { return FMouseEntered; }
  Integer TriggersFired() const { return FTriggerCountDo; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  THyStartToTriggerEvent OnTriggerStart;
  TNotifyEvent OnTimerTrigger;

  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  void TimerTick(TObject* Sender);
  void ForgetStay();

  TColor FColor = clBtnFace;
  TTimer* FTimer;
  bool FSimulateClick = false;
  Integer FTriggerCountDo = 0;
  Integer FTriggerCount = 0;
  Integer FTimerInterval = 100;
  bool FMouseEntered = false;
  bool FIsTrigger = false;
};
