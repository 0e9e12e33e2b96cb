// Bmp32_ImgView: the scrolled image view. TImgView32 shows its bitmap at a
// zoom factor with a margin of OverSize bitmap pixels around it, scrolled by
// two range bars it owns, with a size grip in the corner between them.
// Winelib only.
#pragma once

#include "bitmap/win/Bmp32_Image.h"
#include "bitmap/win/Bmp32_RangeBars.h"

enum TScrollBarVisibility : Byte { svAlways, svHidden, svAuto };
enum TSizeGripStyle : Byte { sgAuto, sgNone, sgAlways };

class TCustomImgView32;

// Settings forwarded to both bars of a view: getters read the horizontal bar,
// setters write both.
class TArrowBarAccess : public TPersistent {
 public:
  TColor Color() const { return FMaster->Color(); }
  void SetColor(TColor V) { FMaster->SetColor(V); FSlave->SetColor(V); }
  TRBBackgnd Backgnd() const { return FMaster->Backgnd(); }
  void SetBackgnd(TRBBackgnd V) { FMaster->SetBackgnd(V); FSlave->SetBackgnd(V); }
  Integer ButtonSize() const { return FMaster->ButtonSize(); }
  void SetButtonSize(Integer V) { FMaster->SetButtonSize(V); FSlave->SetButtonSize(V); }
  TColor HandleColor() const { return FMaster->HandleColor(); }
  void SetHandleColor(TColor V) { FMaster->SetHandleColor(V); FSlave->SetHandleColor(V); }
  TColor ButtonColor() const { return FMaster->ButtonColor(); }
  void SetButtonColor(TColor V) { FMaster->SetButtonColor(V); FSlave->SetButtonColor(V); }
  TColor HighLightColor() const { return FMaster->HighLightColor(); }
  void SetHighLightColor(TColor V) { FMaster->SetHighLightColor(V); FSlave->SetHighLightColor(V); }
  TColor ShadowColor() const { return FMaster->ShadowColor(); }
  void SetShadowColor(TColor V) { FMaster->SetShadowColor(V); FSlave->SetShadowColor(V); }
  TColor BorderColor() const { return FMaster->BorderColor(); }
  void SetBorderColor(TColor V) { FMaster->SetBorderColor(V); FSlave->SetBorderColor(V); }
  bool ShowArrows() const { return FMaster->ShowArrows(); }
  void SetShowArrows(bool V) { FMaster->SetShowArrows(V); FSlave->SetShowArrows(V); }
  bool ShowHandleGrip() const { return FMaster->ShowHandleGrip(); }
  void SetShowHandleGrip(bool V) { FMaster->SetShowHandleGrip(V); FSlave->SetShowHandleGrip(V); }
  TRBStyle Style() const { return FMaster->Style(); }
  void SetStyle(TRBStyle V) { FMaster->SetStyle(V); FSlave->SetStyle(V); }

 protected:
  TArrowBar* FMaster = nullptr;
  TArrowBar* FSlave = nullptr;
};

class TIVScrollProperties : public TArrowBarAccess {
 public:
  explicit TIVScrollProperties(TCustomImgView32* AImgView);
  TCustomImgView32* ImgView() const { return FImgView; }
  TRBIncrement Increment() const;
  void SetIncrement(TRBIncrement Value);
  Integer Size() const;
  void SetSize(Integer Value);
  TScrollBarVisibility Visibility() const;
  void SetVisibility(TScrollBarVisibility Value);
  void Assign(TPersistent* Source) override;

 private:
  TCustomImgView32* FImgView;
};

class TCustomImgView32 : public TCustomImage32 {
 public:
  explicit TCustomImgView32(TComponent* AOwner);
  ~TCustomImgView32() override;

  TRect GetViewportRect() override;
  void Scroll(Integer Dx, Integer Dy);
  void ScrollToCenter(Integer X, Integer Y);
  void Resize() override;

  bool Centered() const { return FCentered; }
  void SetCentered(bool Value);
  void SetScaleMode(TScaleMode Value) override;
  Integer OverSize() const { return FOverSize; }
  void SetOverSize(Integer Value);
  TSizeGripStyle SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(TSizeGripStyle Value);
  TIVScrollProperties* ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TIVScrollProperties* Value) { FScrollBars->Assign(Value); }
  TCustomRangeBar* HorzBar() const { return HScroll; }
  TCustomRangeBar* VertBar() const { return VScroll; }
  // The side of the bars (0 when they are hidden).
  Integer GetScrollBarSize();
  bool GetScrollBarsVisible();
  bool GetSizeGripVisible();
  TRect GetSizeGripRect();

  TNotifyEvent OnScroll;

 protected:
  friend class TIVScrollProperties;
  void Loaded() override;
  void Paint() override;
  void BitmapResized() override;
  void DoScaleChange() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  virtual void DoScroll();
  virtual void ScrollHandler(TCustomRangeBar* Sender);
  virtual void UpdateImage();
  virtual void UpdateScrollBars();
  void AlignAll();
  void PaintCorner(HDC DC);

  bool FCentered = true;
  Integer FScrollBarSize;
  TScrollBarVisibility FScrollBarVisibility = svAlways;
  TIVScrollProperties* FScrollBars = nullptr;
  TSizeGripStyle FSizeGrip = sgAuto;
  Integer FOverSize = 0;
  bool DisableScrollUpdate = false;
  TCustomRangeBar* HScroll = nullptr;
  TCustomRangeBar* VScroll = nullptr;
};

class TImgView32 : public TCustomImgView32 {
 public:
  using TCustomImgView32::TCustomImgView32;
};
