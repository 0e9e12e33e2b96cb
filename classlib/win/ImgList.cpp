// Image lists over HIMAGELIST.
#include "classlib/ImgList.h"

#include <cstring>
#include <vector>

namespace {

// A monochrome bitmap from a row-major "transparent" table (true = 1 bit).
HBITMAP CreateMonoMask(Integer W, Integer H, const std::vector<bool>& Transparent) {
  const Integer Stride = ((W + 15) / 16) * 2;  // word-aligned rows
  std::vector<Byte> Bits(size_t(Stride) * size_t(H), 0);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if (Transparent[size_t(Y) * W + X]) Bits[size_t(Y) * Stride + X / 8] |= Byte(0x80 >> (X % 8));
  return CreateBitmap(W, H, 1, 1, Bits.data());
}

bool AnyAlpha(const std::vector<Byte>& BGRA) {
  for (size_t I = 3; I < BGRA.size(); I += 4)
    if (BGRA[I] != 0) return true;
  return false;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight)
    : TComponent(AOwner), FWidth(AWidth > 0 ? AWidth : 16), FHeight(AHeight > 0 ? AHeight : 16) {}

TCustomImageList::~TCustomImageList() {
  Destroying();
  if (FHandle) ImageList_Destroy(FHandle);
}

void TCustomImageList::CreateImageList() {
  FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4);
  if (!FHandle) throw EOutOfResources(u"Error creating image list");
  ImageList_SetBkColor(FHandle, FBkColor == clNone ? CLR_NONE : static_cast<COLORREF>(ColorToRGB(FBkColor)));
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) CreateImageList();
  return FHandle;
}

Integer TCustomImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth <= 0 || AHeight <= 0) throw EInvalidOperation(u"Invalid image size");
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);  // drops the images
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, FBkColor == clNone ? CLR_NONE : static_cast<COLORREF>(ColorToRGB(FBkColor)));
  Change();
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

namespace {

// The image laid out as whole cells of the list (N x Width, Height): pixels
// beyond the source are transparent. Transparent gets true where the cell
// shows nothing.
struct TCellImage {
  Integer W = 0, H = 0;
  std::vector<Byte> BGRA;
  std::vector<bool> Transparent;
};

TCellImage LayOut(TBitmap* Image, Integer CellW, Integer CellH, std::vector<Byte>& Src) {
  GetBitmapBGRA(Image, Src);
  TCellImage C;
  Integer N = Image->Width() / CellW;
  if (N < 1) N = 1;
  C.W = N * CellW;
  C.H = CellH;
  C.BGRA.assign(size_t(C.W) * C.H * 4, 0);
  C.Transparent.assign(size_t(C.W) * C.H, true);
  const Integer CW = std::min(C.W, Image->Width()), CH = std::min(C.H, Image->Height());
  for (Integer Y = 0; Y < CH; ++Y) {
    std::memcpy(&C.BGRA[size_t(Y) * C.W * 4], &Src[size_t(Y) * Image->Width() * 4], size_t(CW) * 4);
    for (Integer X = 0; X < CW; ++X) C.Transparent[size_t(Y) * C.W + X] = false;
  }
  return C;
}

}  // namespace

// Adds the cells laid out in BGRA (transparent pixels already cleared) with
// their mask; the index of the first, or an exception.
Integer TCustomImageList::AddCells(Integer W, Integer H, const std::vector<Byte>& BGRA,
                                   const std::vector<bool>& Transparent) {
  void* Bits = nullptr;
  HBITMAP Img = CreateDIB32(W, H, &Bits);
  std::memcpy(Bits, BGRA.data(), BGRA.size());
  HBITMAP Msk = CreateMonoMask(W, H, Transparent);
  Integer R = ImageList_Add(Handle(), Img, Msk);
  DeleteObject(Img);
  DeleteObject(Msk);
  if (R < 0) throw EInvalidOperation(u"Failed to add image");
  Change();
  return R;
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  std::vector<Byte> Src;
  TCellImage C = LayOut(Image, FWidth, FHeight, Src);
  const bool KeepAlpha = Image->PixelFormat() == pf32bit && AnyAlpha(C.BGRA);
  if (Mask && !Mask->Empty()) {
    std::vector<Byte> M;
    GetBitmapBGRA(Mask, M);
    const Integer MW = std::min(C.W, Mask->Width()), MH = std::min(C.H, Mask->Height());
    for (Integer Y = 0; Y < MH; ++Y)
      for (Integer X = 0; X < MW; ++X) {
        const Byte* P = &M[(size_t(Y) * Mask->Width() + X) * 4];
        if ((P[0] + P[1] + P[2]) / 3 >= 128) C.Transparent[size_t(Y) * C.W + X] = true;
      }
  }
  for (size_t I = 0; I < C.Transparent.size(); ++I) {
    if (C.Transparent[I]) std::memset(&C.BGRA[I * 4], 0, 4);
    else if (!KeepAlpha) C.BGRA[I * 4 + 3] = 0;  // no alpha: the mask alone decides
  }
  return AddCells(C.W, C.H, C.BGRA, C.Transparent);
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  if (MaskColor == clDefault) MaskColor = Image->Canvas()->Pixels(0, Image->Height() - 1);
  const Integer Key = ColorToRGB(MaskColor);
  std::vector<Byte> Src;
  TCellImage C = LayOut(Image, FWidth, FHeight, Src);
  const bool KeepAlpha = Image->PixelFormat() == pf32bit && AnyAlpha(C.BGRA);
  for (size_t I = 0; I < C.Transparent.size(); ++I) {
    Byte* P = &C.BGRA[I * 4];
    const Integer RGBValue = P[2] | (P[1] << 8) | (P[0] << 16);
    if (!C.Transparent[I] && RGBValue == Key) C.Transparent[I] = true;
    if (C.Transparent[I]) std::memset(P, 0, 4);
    else if (!KeepAlpha) P[3] = 0;
  }
  return AddCells(C.W, C.H, C.BGRA, C.Transparent);
}

Integer TCustomImageList::AddIcon(TIcon* Icon) {
  if (!Icon || Icon->Empty()) return -1;
  Integer R = ImageList_ReplaceIcon(Handle(), -1, Icon->Handle());
  if (R < 0) throw EInvalidOperation(u"Failed to add image");
  Change();
  return R;
}

void TCustomImageList::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation(u"Invalid image list index");
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::ImageShape(Integer Index, std::vector<bool>& Shape) {
  Shape.assign(size_t(FWidth) * FHeight, false);
  IMAGEINFO Info = {};
  if (!ImageList_GetImageInfo(FHandle, Index, &Info)) return;
  const Integer X0 = Info.rcImage.left, Y0 = Info.rcImage.top;
  auto ReadBits = [](HBITMAP Bmp, std::vector<Byte>& Out, Integer& W, Integer& H) {
    BITMAP BM = {};
    if (!Bmp || !GetObjectW(Bmp, sizeof(BM), &BM)) return false;
    W = BM.bmWidth;
    H = BM.bmHeight;
    BITMAPINFO BI = TopDownInfo32(W, H);
    Out.assign(size_t(W) * H * 4, 0);
    HDC DC = GetDC(nullptr);
    int Lines = GetDIBits(DC, Bmp, 0, UINT(H), Out.data(), &BI, DIB_RGB_COLORS);
    ReleaseDC(nullptr, DC);
    return Lines == H;
  };
  std::vector<Byte> MaskBits, ImageBits;
  Integer MW = 0, MH = 0, IW = 0, IH = 0;
  const bool HaveMask = ReadBits(Info.hbmMask, MaskBits, MW, MH);
  const bool HaveImage = ReadBits(Info.hbmImage, ImageBits, IW, IH);
  // An image with alpha: its alpha tells the shape as well.
  bool HasAlpha = false;
  if (HaveImage)
    for (Integer Y = 0; Y < FHeight && !HasAlpha; ++Y)
      for (Integer X = 0; X < FWidth; ++X) {
        const Integer SX = X0 + X, SY = Y0 + Y;
        if (SX < IW && SY < IH && ImageBits[(size_t(SY) * IW + SX) * 4 + 3] != 0) {
          HasAlpha = true;
          break;
        }
      }
  for (Integer Y = 0; Y < FHeight; ++Y)
    for (Integer X = 0; X < FWidth; ++X) {
      const Integer SX = X0 + X, SY = Y0 + Y;
      bool In = true;
      if (HaveMask && SX < MW && SY < MH) In = MaskBits[(size_t(SY) * MW + SX) * 4] == 0;  // black = opaque
      if (In && HasAlpha && SX < IW && SY < IH) In = ImageBits[(size_t(SY) * IW + SX) * 4 + 3] >= 128;
      Shape[size_t(Y) * FWidth + X] = In;
    }
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  if (!Canvas || !FHandle || Index < 0 || Index >= Count()) return;
  HDC DC = Canvas->Handle();
  Canvas->Changing();
  if (Enabled) {
    ImageList_DrawEx(FHandle, Index, DC, X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT,
                     FBkColor == clNone ? ILD_TRANSPARENT : ILD_NORMAL);
  } else {
    // The embossed look: the shape in the highlight colour one pixel right
    // and down, then in the shadow colour on top.
    std::vector<bool> Shape;
    ImageShape(Index, Shape);
    std::vector<bool> Outside(Shape.size());
    for (size_t I = 0; I < Shape.size(); ++I) Outside[I] = !Shape[I];
    HBITMAP Mono = CreateMonoMask(FWidth, FHeight, Outside);
    HDC Mem = CreateCompatibleDC(DC);
    HGDIOBJ OldBmp = SelectObject(Mem, Mono);
    COLORREF OldText = SetTextColor(DC, RGB(0, 0, 0));
    COLORREF OldBk = ::SetBkColor(DC, RGB(255, 255, 255));
    // P xor (S and (D xor P)): where the mask is white the destination
    // stays, where it is black the brush colour goes in.
    constexpr DWORD ROP_KeepOrBrush = 0x00B8074A;
    const TColor Colors[2] = {clBtnHighlight, clBtnShadow};
    const Integer Offsets[2] = {1, 0};
    for (Integer Pass = 0; Pass < 2; ++Pass) {
      HBRUSH Brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Colors[Pass])));
      HGDIOBJ OldBrush = SelectObject(DC, Brush);
      BitBlt(DC, X + Offsets[Pass], Y + Offsets[Pass], FWidth, FHeight, Mem, 0, 0, ROP_KeepOrBrush);
      SelectObject(DC, OldBrush);
      DeleteObject(Brush);
    }
    SetTextColor(DC, OldText);
    ::SetBkColor(DC, OldBk);
    SelectObject(Mem, OldBmp);
    DeleteDC(Mem);
    DeleteObject(Mono);
  }
  Canvas->Changed();
}
