// The codec libraries behind BenchCodecs.h, each called the plain way its
// documentation shows. Errors end the call with false (libjpeg's and
// libpng's jumps land here, where nothing with a destructor is live).
#include "bench/native/BenchCodecs.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace benchcodec {
namespace {

struct JpegErr {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
};

void JpegExit(j_common_ptr Info) { std::longjmp(reinterpret_cast<JpegErr*>(Info->err)->Jump, 1); }
void JpegQuiet(j_common_ptr, int) {}

}  // namespace

bool JpegDecode(const std::uint8_t* Data, std::size_t Size, Pixels& Out) {
  jpeg_decompress_struct Info;
  JpegErr Err;
  Info.err = jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = JpegExit;
  Err.Pub.emit_message = JpegQuiet;
  if (setjmp(Err.Jump)) {
    jpeg_destroy_decompress(&Info);
    return false;
  }
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, const_cast<unsigned char*>(Data), static_cast<unsigned long>(Size));
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_EXT_BGRA;
  Info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&Info);
  Out.Width = int(Info.output_width);
  Out.Height = int(Info.output_height);
  Out.Data.reset(new std::uint8_t[std::size_t(Out.Width) * std::size_t(Out.Height) * 4]);
  while (Info.output_scanline < Info.output_height) {
    JSAMPROW Rows[16];
    const JDIMENSION Y = Info.output_scanline;
    for (int I = 0; I < 16; ++I) Rows[I] = Out.Data.get() + std::size_t(Y + JDIMENSION(I)) * std::size_t(Out.Width) * 4;
    const JDIMENSION N = Info.output_height - Y < 16 ? Info.output_height - Y : 16;
    jpeg_read_scanlines(&Info, Rows, N);
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  return true;
}

bool JpegEncode(const std::uint8_t* Rows, int Width, int Height, int Quality, std::vector<std::uint8_t>& Out) {
  jpeg_compress_struct Info;
  JpegErr Err;
  unsigned char* volatile Buf = nullptr;
  unsigned long BufSize = 0;
  Info.err = jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = JpegExit;
  Err.Pub.emit_message = JpegQuiet;
  if (setjmp(Err.Jump)) {
    jpeg_destroy_compress(&Info);
    std::free(Buf);
    return false;
  }
  jpeg_create_compress(&Info);
  jpeg_mem_dest(&Info, const_cast<unsigned char**>(&Buf), &BufSize);
  Info.image_width = JDIMENSION(Width);
  Info.image_height = JDIMENSION(Height);
  Info.input_components = 4;
  Info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, FALSE);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Row = const_cast<JSAMPROW>(Rows + std::size_t(Info.next_scanline) * std::size_t(Width) * 4);
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  Out.assign(Buf, Buf + BufSize);
  std::free(Buf);
  return true;
}

namespace {

struct PngMem {
  const std::uint8_t* Data;
  std::size_t Size, Pos;
};

void PngRead(png_structp Png, png_bytep To, png_size_t N) {
  auto* M = static_cast<PngMem*>(png_get_io_ptr(Png));
  if (N > M->Size - M->Pos) png_error(Png, "short");
  std::memcpy(To, M->Data + M->Pos, N);
  M->Pos += N;
}

void PngWrite(png_structp Png, png_bytep From, png_size_t N) {
  auto* V = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(Png));
  V->insert(V->end(), From, From + N);
}

void PngFlush(png_structp) {}

}  // namespace

bool PngDecode(const std::uint8_t* Data, std::size_t Size, Pixels& Out) {
  PngMem Mem{Data, Size, 0};
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_read_struct(&Png, &Info, nullptr);
    return false;
  }
  png_set_read_fn(Png, &Mem, PngRead);
  png_read_info(Png, Info);
  png_set_bgr(Png);
  png_set_filler(Png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(Png, Info);
  Out.Width = int(png_get_image_width(Png, Info));
  Out.Height = int(png_get_image_height(Png, Info));
  Out.Data.reset(new std::uint8_t[std::size_t(Out.Width) * std::size_t(Out.Height) * 4]);
  for (int Y = 0; Y < Out.Height; ++Y) png_read_row(Png, Out.Data.get() + std::size_t(Y) * std::size_t(Out.Width) * 4, nullptr);
  png_read_end(Png, nullptr);
  png_destroy_read_struct(&Png, &Info, nullptr);
  return true;
}

bool PngEncode(const std::uint8_t* Rows, int Width, int Height, int Level, std::vector<std::uint8_t>& Out) {
  Out.clear();
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_write_struct(&Png, &Info);
    return false;
  }
  Out.reserve(std::size_t(Width) * std::size_t(Height) * 3 + (std::size_t(1) << 20));
  png_set_write_fn(Png, &Out, PngWrite, PngFlush);
  png_set_IHDR(Png, Info, png_uint_32(Width), png_uint_32(Height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(Png, Level);
  png_write_info(Png, Info);
  png_set_bgr(Png);
  png_set_filler(Png, 0, PNG_FILLER_AFTER);
  for (int Y = 0; Y < Height; ++Y) png_write_row(Png, const_cast<png_bytep>(Rows + std::size_t(Y) * std::size_t(Width) * 4));
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  return true;
}

namespace {

int GifRead(GifFileType* Gif, GifByteType* To, int N) {
  auto* M = static_cast<PngMem*>(Gif->UserData);
  const std::size_t Take = std::size_t(N) < M->Size - M->Pos ? std::size_t(N) : M->Size - M->Pos;
  std::memcpy(To, M->Data + M->Pos, Take);
  M->Pos += Take;
  return int(Take);
}

int GifWrite(GifFileType* Gif, const GifByteType* From, int N) {
  auto* V = static_cast<std::vector<std::uint8_t>*>(Gif->UserData);
  V->insert(V->end(), From, From + N);
  return N;
}

}  // namespace

bool GifDecode(const std::uint8_t* Data, std::size_t Size, Pixels& Out) {
  PngMem Mem{Data, Size, 0};
  int Err = 0;
  GifFileType* Gif = DGifOpen(&Mem, GifRead, &Err);
  if (!Gif) return false;
  if (DGifSlurp(Gif) != GIF_OK || Gif->ImageCount < 1) {
    DGifCloseFile(Gif, &Err);
    return false;
  }
  const SavedImage& Frame = Gif->SavedImages[0];
  const ColorMapObject* Map = Frame.ImageDesc.ColorMap ? Frame.ImageDesc.ColorMap : Gif->SColorMap;
  std::uint32_t Table[256] = {};
  for (int I = 0; Map && I < Map->ColorCount; ++I)
    Table[I] = 0xFF000000u | std::uint32_t(Map->Colors[I].Red) << 16 | std::uint32_t(Map->Colors[I].Green) << 8 |
               Map->Colors[I].Blue;
  Out.Width = Frame.ImageDesc.Width;
  Out.Height = Frame.ImageDesc.Height;
  Out.Data.reset(new std::uint8_t[std::size_t(Out.Width) * std::size_t(Out.Height) * 4]);
  auto* D = reinterpret_cast<std::uint32_t*>(Out.Data.get());
  for (std::size_t I = 0, N = std::size_t(Out.Width) * std::size_t(Out.Height); I < N; ++I) D[I] = Table[Frame.RasterBits[I]];
  DGifCloseFile(Gif, &Err);
  return true;
}

bool GifEncode(const std::uint8_t* Indexes, int Width, int Height, const std::uint8_t* Colors, int ColorCount,
               std::vector<std::uint8_t>& Out) {
  Out.clear();
  GifColorType Table[256] = {};
  for (int I = 0; I < ColorCount && I < 256; ++I) Table[I] = GifColorType{Colors[3 * I], Colors[3 * I + 1], Colors[3 * I + 2]};
  int Err = 0;
  GifFileType* Gif = EGifOpen(&Out, GifWrite, &Err);
  if (!Gif) return false;
  ColorMapObject* Map = GifMakeMapObject(256, Table);
  bool Ok = EGifPutScreenDesc(Gif, Width, Height, 8, 0, Map) == GIF_OK &&
            EGifPutImageDesc(Gif, 0, 0, Width, Height, false, nullptr) == GIF_OK;
  for (int Y = 0; Ok && Y < Height; ++Y)
    Ok = EGifPutLine(Gif, const_cast<GifPixelType*>(Indexes + std::size_t(Y) * std::size_t(Width)), Width) == GIF_OK;
  GifFreeMapObject(Map);
  if (EGifCloseFile(Gif, &Err) != GIF_OK) Ok = false;
  return Ok;
}

}  // namespace benchcodec
