// libpng behind the plain interface of CodecPng.h. The whole-picture routines
// use the library's simplified API (which catches its own errors with setjmp
// and reports them); the row interface uses its full API.
#include "classlib/CodecPng.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include <png.h>

#include "rtl/SizeMath.h"

namespace codec {

std::string PngDecode(const std::uint8_t* Data, std::size_t Size, PngImage& Out) {
  Out = PngImage();
  png_image Image;
  std::memset(&Image, 0, sizeof(Image));
  Image.version = PNG_IMAGE_VERSION;
  if (!Data || Size == 0) return "PNG error: empty data";
  if (!png_image_begin_read_from_memory(&Image, Data, Size)) {
    std::string M = std::string("PNG error: ") + Image.message;
    png_image_free(&Image);
    return M;
  }
  const bool Alpha = (Image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  if (Image.width == 0 || Image.height == 0 ||
      std::uint64_t(Image.width) * std::uint64_t(Image.height) > (std::uint64_t(1) << 28)) {
    png_image_free(&Image);
    return "PNG error: image too large";
  }
  Image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint8_t> Pixels(PNG_IMAGE_SIZE(Image));
  if (!png_image_finish_read(&Image, nullptr, Pixels.data(), 0, nullptr)) {
    std::string M = std::string("PNG error: ") + Image.message;
    png_image_free(&Image);
    return M;
  }
  Out.Width = int(Image.width);
  Out.Height = int(Image.height);
  Out.HasAlpha = Alpha;
  Out.Pixels = std::move(Pixels);
  png_image_free(&Image);
  return std::string();
}

std::string PngEncode(const std::uint8_t* Pixels, int Width, int Height, int ColorType, std::vector<std::uint8_t>& Out) {
  Out.clear();
  if (Width <= 0 || Height <= 0) return "PNG error: empty image";
  png_image Image;
  std::memset(&Image, 0, sizeof(Image));
  Image.version = PNG_IMAGE_VERSION;
  Image.width = png_uint_32(Width);
  Image.height = png_uint_32(Height);
  std::vector<std::uint8_t> Bgr;
  const void* Src = Pixels;
  if (ColorType == 6) {
    Image.format = PNG_FORMAT_BGRA;
  } else {
    Image.format = PNG_FORMAT_BGR;
    Bgr.resize(std::size_t(Width) * std::size_t(Height) * 3);
    for (std::size_t i = 0, n = std::size_t(Width) * std::size_t(Height); i < n; ++i)
      std::memcpy(&Bgr[i * 3], Pixels + i * 4, 3);
    Src = Bgr.data();
  }
  png_alloc_size_t Size = 0;
  if (!png_image_write_to_memory(&Image, nullptr, &Size, 0, Src, 0, nullptr)) {
    std::string M = std::string("PNG error: ") + Image.message;
    png_image_free(&Image);
    return M;
  }
  Out.resize(Size);
  if (!png_image_write_to_memory(&Image, Out.data(), &Size, 0, Src, 0, nullptr)) {
    std::string M = std::string("PNG error: ") + Image.message;
    png_image_free(&Image);
    Out.clear();
    return M;
  }
  Out.resize(Size);
  png_image_free(&Image);
  return std::string();
}

// ---------------------------------------------------------------------------
// The row interface on libpng's own API. libpng reports errors through a
// routine that must not return; ours jumps back (longjmp) to the entry
// point of the call. As in the JPEG unit, everything the error path needs
// lives in a state record made before the setjmp, and no object with a
// destructor is created between a setjmp and the end of the library work it
// guards.

namespace {

struct PngCallState {
  char Message[200] = {};
};

void CopyMessage(char* To, std::size_t Cap, const char* Text) {
  std::snprintf(To, Cap, "PNG error: %s", Text ? Text : "unknown");
}

[[noreturn]] void OnPngError(png_structp Png, png_const_charp Text) {
  auto* S = static_cast<PngCallState*>(png_get_error_ptr(Png));
  CopyMessage(S->Message, sizeof(S->Message), Text);
  png_longjmp(Png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// The bytes a reader decodes.
struct PngSource {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Pos = 0;
};

void ReadFromMemory(png_structp Png, png_bytep To, png_size_t Count) {
  auto* S = static_cast<PngSource*>(png_get_io_ptr(Png));
  if (Count > S->Size - S->Pos) png_error(Png, "the data ends early");
  std::memcpy(To, S->Data + S->Pos, Count);
  S->Pos += Count;
}

}  // namespace

struct PngReader::TState : PngCallState, PngSource {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  png_bytep* Rows = nullptr;  // malloc'ed, for interlaced pictures
  volatile int Stage = 0;     // 0 new, 1 header read, 2 finished or failed
  PngHeader Header;

  void Destroy() {
    if (Png) png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr);
    Png = nullptr;
    Info = nullptr;
    std::free(Rows);
    Rows = nullptr;
    Stage = 2;
  }
};

PngReader::PngReader() : FState(new TState()) {}

PngReader::~PngReader() {
  FState->Destroy();
  delete FState;
}

const PngHeader& PngReader::Header() const { return FState->Header; }

std::string PngReader::Start(const std::uint8_t* Data, std::size_t Size) {
  TState* S = FState;
  if (S->Stage != 0) return "PNG error: the reader has been used";
  S->Stage = 2;
  if (!Data || Size == 0) return "PNG error: empty data";
  S->Data = Data;
  S->Size = Size;
  S->Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, static_cast<PngCallState*>(S), OnPngError, OnPngWarning);
  if (S->Png) S->Info = png_create_info_struct(S->Png);
  if (!S->Png || !S->Info) {
    S->Destroy();
    return "PNG error: out of memory";
  }
  if (setjmp(png_jmpbuf(S->Png))) {
    S->Destroy();
    return S->Message;
  }
  png_set_read_fn(S->Png, static_cast<PngSource*>(S), ReadFromMemory);
  png_read_info(S->Png, S->Info);
  png_uint_32 W = 0, H = 0;
  int Depth = 0, Type = 0, Interlace = 0;
  png_get_IHDR(S->Png, S->Info, &W, &H, &Depth, &Type, &Interlace, nullptr, nullptr);
  std::int64_t Bytes = 0;
  if (W == 0 || H == 0 || !CheckedProduct({std::int64_t(W), std::int64_t(H), 4}, INT_MAX, Bytes)) {
    S->Destroy();
    return "PNG error: image too large";
  }
  S->Header.Width = int(W);
  S->Header.Height = int(H);
  S->Header.ColorType = Type;
  S->Header.BitDepth = Depth;
  S->Header.Interlaced = Interlace != PNG_INTERLACE_NONE;
  S->Header.HasTransparency = png_get_valid(S->Png, S->Info, PNG_INFO_tRNS) != 0;
  S->Stage = 1;
  return std::string();
}

std::string PngReader::Read(std::uint8_t* First, std::ptrdiff_t Stride, bool UseTransparency) {
  TState* S = FState;
  if (S->Stage != 1) return "PNG error: no header read";
  if (!First) {
    S->Destroy();
    return "PNG error: no destination";
  }
  if (setjmp(png_jmpbuf(S->Png))) {
    S->Destroy();
    return S->Message;
  }
  const PngHeader& Hd = S->Header;
  const bool Trns = Hd.HasTransparency && UseTransparency;
  if (Hd.ColorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(S->Png);
  if (Hd.ColorType == PNG_COLOR_TYPE_GRAY && Hd.BitDepth < 8) png_set_expand_gray_1_2_4_to_8(S->Png);
  if (Trns) png_set_tRNS_to_alpha(S->Png);
  if (Hd.BitDepth == 16) png_set_strip_16(S->Png);
  if (Hd.ColorType == PNG_COLOR_TYPE_GRAY || Hd.ColorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(S->Png);
  png_set_bgr(S->Png);
  if (!(Hd.ColorType & PNG_COLOR_MASK_ALPHA) && !Trns) png_set_filler(S->Png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(S->Png);
  png_read_update_info(S->Png, S->Info);
  if (png_get_rowbytes(S->Png, S->Info) != png_size_t(Hd.Width) * 4) png_error(S->Png, "unexpected row layout");
  if (Hd.Interlaced) {
    S->Rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * std::size_t(Hd.Height)));
    if (!S->Rows) png_error(S->Png, "out of memory");
    for (int Y = 0; Y < Hd.Height; ++Y) S->Rows[Y] = First + std::ptrdiff_t(Y) * Stride;
    png_read_image(S->Png, S->Rows);
  } else {
    for (int Y = 0; Y < Hd.Height; ++Y) png_read_row(S->Png, First + std::ptrdiff_t(Y) * Stride, nullptr);
  }
  png_read_end(S->Png, nullptr);
  S->Destroy();
  return std::string();
}

namespace {

// The encoder's output grows in malloc'ed memory (a growing std::vector
// could throw inside libpng's frames).
struct PngWriteState : PngCallState {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::uint8_t* Buf = nullptr;
  std::size_t Size = 0;
  std::size_t Capacity = 0;
  std::exception_ptr SourceFailure;  // thrown by the row source, rethrown once all is freed

  void Destroy() {
    if (Png) png_destroy_write_struct(&Png, Info ? &Info : nullptr);
    Png = nullptr;
    Info = nullptr;
  }
};

void WriteToMemory(png_structp Png, png_bytep From, png_size_t Count) {
  auto* S = static_cast<PngWriteState*>(png_get_io_ptr(Png));
  if (Count > S->Capacity - S->Size) {
    std::size_t Want = S->Capacity < 65536 ? 65536 : S->Capacity;
    while (Want - S->Size < Count) {
      if (Want > (std::size_t(1) << 40)) png_error(Png, "output too large");
      Want *= 2;
    }
    auto* Grown = static_cast<std::uint8_t*>(std::realloc(S->Buf, Want));
    if (!Grown) png_error(Png, "out of memory");
    S->Buf = Grown;
    S->Capacity = Want;
  }
  std::memcpy(S->Buf + S->Size, From, Count);
  S->Size += Count;
}

void FlushMemory(png_structp) {}

}  // namespace

std::string PngEncodeRows(const std::uint8_t* First, std::ptrdiff_t Stride, int Width, int Height, int ColorType,
                          int Level, int Filters, std::vector<std::uint8_t>& Out) {
  Out.clear();
  if (!First) return "PNG error: empty image";
  return PngEncodeRowSource([First, Stride](int Y, int) { return First + std::ptrdiff_t(Y) * Stride; }, Stride, Width,
                            Height, ColorType, Level, Filters, Out);
}

std::string PngEncodeRowSource(const RowSource& Rows, std::ptrdiff_t Stride, int Width, int Height, int ColorType,
                               int Level, int Filters, std::vector<std::uint8_t>& Out) {
  Out.clear();
  if (Width <= 0 || Height <= 0) return "PNG error: empty image";
  if (ColorType != 2 && ColorType != 6) return "PNG error: unsupported colour type";
  PngWriteState* S = new PngWriteState();
  S->Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, static_cast<PngCallState*>(S), OnPngError, OnPngWarning);
  if (S->Png) S->Info = png_create_info_struct(S->Png);
  if (!S->Png || !S->Info) {
    S->Destroy();
    delete S;
    return "PNG error: out of memory";
  }
  if (setjmp(png_jmpbuf(S->Png))) {
    S->Destroy();
    std::free(S->Buf);
    std::string M = S->Message;
    delete S;
    return M;
  }
  png_set_write_fn(S->Png, S, WriteToMemory, FlushMemory);
  png_set_IHDR(S->Png, S->Info, png_uint_32(Width), png_uint_32(Height), 8,
               ColorType == 6 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // The colours are sRGB, said as the whole-picture encoder says it.
  png_set_sRGB(S->Png, S->Info, PNG_sRGB_INTENT_PERCEPTUAL);
  png_set_compression_level(S->Png, Level < 0 ? 0 : Level > 9 ? 9 : Level);
  if (Filters != 0) png_set_filter(S->Png, PNG_FILTER_TYPE_BASE, Filters & PNG_ALL_FILTERS);
  png_write_info(S->Png, S->Info);
  png_set_bgr(S->Png);
  if (ColorType == 2) png_set_filler(S->Png, 0, PNG_FILLER_AFTER);
  for (int Y = 0; Y < Height; Y += RowBand) {
    const int N = Height - Y < RowBand ? Height - Y : RowBand;
    const std::uint8_t* First = nullptr;
    try {
      First = Rows(Y, N);
    } catch (...) {
      S->SourceFailure = std::current_exception();
    }
    if (S->SourceFailure) break;
    for (int I = 0; I < N; ++I) png_write_row(S->Png, const_cast<png_bytep>(First + std::ptrdiff_t(I) * Stride));
  }
  if (S->SourceFailure) {
    S->Destroy();
    std::free(S->Buf);
    const std::exception_ptr Thrown = S->SourceFailure;
    delete S;
    std::rethrow_exception(Thrown);
  }
  png_write_end(S->Png, S->Info);
  S->Destroy();
  // Past the library's work: a failing copy throws as usual and frees all.
  struct Cleanup {
    PngWriteState* S;
    ~Cleanup() {
      std::free(S->Buf);
      delete S;
    }
  } Done{S};
  Out.assign(S->Buf, S->Buf + S->Size);
  return std::string();
}

}  // namespace codec
