// libpng behind the plain interface of CodecPng.h, through the library's
// simplified API (which catches its own errors with setjmp and reports them).
#include "classlib/CodecPng.h"

#include <cstdlib>
#include <cstring>

#include <png.h>

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

}  // namespace codec
