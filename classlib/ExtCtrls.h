// TTimer (a window timer on a hidden utility window), the graphic controls
// TBevel, TShape and TImage, and TBalloonHint (a no-activate popup with a
// title). Winelib only.
#pragma once

#include <memory>

#include "classlib/Controls.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // Every setter kills the timer and arms it again (when enabled, with an
  // interval above 0 and an OnTimer handler).
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool FEnabled = true;
  Cardinal FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindowHandle = nullptr;
  std::shared_ptr<bool> FAlive;
};

// ---------------------------------------------------------------------------
// TBevel: a frame or a line in two shades.

enum TBevelStyle : Byte { bsLowered, bsRaised };
enum TBevelShape : Byte { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);

 protected:
  void Paint() override;

  TBevelStyle FStyle = bsLowered;
  TBevelShape FShape = bsBox;
};

// ---------------------------------------------------------------------------
// TShape: a rectangle or an ellipse in Pen and Brush.

// (Named apart from the editor's own TShapeType.)
enum TShapeKind : Byte { stRectangle, stSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeKind Shape() const { return FShape; }
  void SetShape(TShapeKind Value);
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

 protected:
  void Paint() override;

  TShapeKind FShape = stRectangle;
  TPen* FPen;
  TBrush* FBrush;
};

// ---------------------------------------------------------------------------
// TImage: shows a picture, at its own size or fitted to the control.

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  // The picture's bitmap canvas (an empty picture becomes a bitmap of the
  // control's size); raises EInvalidOperation for another kind of graphic.
  TCanvas* Canvas();

  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // Where the picture goes in the client area.
  TRect DestRect();

 protected:
  void Paint() override;
  void PictureChanged(TObject* Sender);

  TPicture* FPicture;
  bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false;
  bool FDrawing = false;
};

// ---------------------------------------------------------------------------
// TBalloonHint: a popup with a bold title and an optional description that
// never takes the activation or the mouse.

class TBalloonHint : public TComponent {
 public:
  explicit TBalloonHint(TComponent* AOwner);
  ~TBalloonHint() override;

  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value);
  // Kept for hints that show on their own after a pause; ShowHint shows at once.
  Cardinal Delay() const { return FDelay; }
  void SetDelay(Cardinal Value) { FDelay = Value; }

  // Shows the balloon with its stem at Point (screen coordinates): above
  // the point when there is room, else below it.
  void ShowHint(const TPoint& Point);
  void HideHint();
  bool ShowingHint() const;
  HWND Handle() const { return FHandle; }

 private:
  friend LRESULT CALLBACK BalloonWndProc(HWND, UINT, WPARAM, LPARAM);
  void Layout(const TPoint& Point);
  void Paint(HDC DC);
  SIZE Measure(HDC DC, TRect& TitleRect, TRect& TextRect);

  String FTitle, FDescription;
  Cardinal FDelay = 500;
  HWND FHandle = nullptr;
  bool FStemDown = true;  // the stem points down to the point (balloon above)
  Integer FStemX = 0;     // stem tip, in window coordinates
  TFont* FTitleFont;
  TFont* FFont;
};
