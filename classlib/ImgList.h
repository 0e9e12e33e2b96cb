// Image lists: equally sized images (with masks, and alpha for 32-bit
// images) held by a system HIMAGELIST (ILC_COLOR32 | ILC_MASK). Winelib only.
#pragma once

#include "classlib/Graphics.h"

#include <commctrl.h>

#include <vector>

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight);
  ~TCustomImageList() override;

  // Made on first use.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  // A new size drops every image.
  void SetSize(Integer AWidth, Integer AHeight);
  void SetWidth(Integer Value) { SetSize(Value, FHeight); }
  void SetHeight(Integer Value) { SetSize(FWidth, Value); }
  Integer Count() const;

  // Each adds as many images as fit across the bitmap (at least one) and
  // gives the index of the first; the source bitmaps are not changed.
  // Add: Mask's light pixels are transparent; without a mask a 32-bit image
  // keeps its alpha and any other image is opaque.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor (clDefault: the bottom-left pixel) become transparent.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  Integer AddIcon(TIcon* Icon);
  // Raises EInvalidOperation "Invalid image list index" for a bad index.
  void Delete(Integer Index);
  void Clear();

  // The image's top-left at (X, Y) of the canvas. Enabled false draws the
  // disabled (embossed) look: the shape of the image's mask, first in the
  // highlight colour one pixel right and down, then in the shadow colour.
  // An index outside the list draws nothing.
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);

  // clNone: drawn transparent over what is there.
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void CreateImageList();
  // Whether pixel (x, y) of image Index belongs to its shape; row-major, Width x Height.
  void ImageShape(Integer Index, std::vector<bool>& Shape);
  Integer AddCells(Integer W, Integer H, const std::vector<Byte>& BGRA, const std::vector<bool>& Transparent);

  HIMAGELIST FHandle = nullptr;
  Integer FWidth = 16;
  Integer FHeight = 16;
  TColor FBkColor = clNone;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
};
