// libjpeg-turbo behind the plain interface of CodecJpeg.h. The library's
// default error handler ends the process; ours jumps back and reports.
#include "classlib/CodecJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <jerror.h>

namespace codec {
namespace {

struct ErrorMgr {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
  unsigned char* Buf = nullptr;  // the encoder's output (malloc'ed by the library)
  unsigned long BufSize = 0;
};

void OnError(j_common_ptr Info) {
  auto* E = reinterpret_cast<ErrorMgr*>(Info->err);
  (*Info->err->format_message)(Info, E->Message);
  std::longjmp(E->Jump, 1);
}

// Warnings stay quiet, except running out of data: a truncated file is an
// error, not a picture with a grey bottom.
void OnMessage(j_common_ptr Info, int Level) {
  if (Level < 0 && Info->err->msg_code == JWRN_JPEG_EOF) OnError(Info);
}

}  // namespace

std::string JpegDecode(const std::uint8_t* Data, std::size_t Size, int ScaleDenom, JpegImage& Out) {
  Out = JpegImage();
  if (!Data || Size == 0) return "Empty JPEG data";
  jpeg_decompress_struct Info;
  ErrorMgr Err;
  Info.err = jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = OnError;
  Err.Pub.emit_message = OnMessage;
  Err.Message[0] = 0;
  // Locals changed after setjmp are volatile or re-read only before it.
  std::vector<std::uint8_t>* volatile Pixels = &Out.Pixels;
  if (setjmp(Err.Jump)) {
    jpeg_destroy_decompress(&Info);
    Pixels->clear();
    Out.Width = Out.Height = 0;
    return std::string("JPEG error: ") + Err.Message;
  }
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, const_cast<unsigned char*>(Data), static_cast<unsigned long>(Size));
  jpeg_read_header(&Info, TRUE);
  Info.scale_num = 1;
  Info.scale_denom = (ScaleDenom == 2 || ScaleDenom == 4 || ScaleDenom == 8) ? ScaleDenom : 1;
  const bool Cmyk = Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK;
  Info.out_color_space = Cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&Info);
  const int W = int(Info.output_width), H = int(Info.output_height);
  const int Comps = Info.output_components;
  if (W <= 0 || H <= 0 || (std::uint64_t(W) * std::uint64_t(H) > (std::uint64_t(1) << 28))) {
    jpeg_destroy_decompress(&Info);
    return "JPEG error: image too large";
  }
  Pixels->assign(std::size_t(W) * std::size_t(H) * 3, 0);
  std::vector<std::uint8_t> Row(std::size_t(W) * std::size_t(Comps));
  while (Info.output_scanline < Info.output_height) {
    const int Y = int(Info.output_scanline);
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_read_scanlines(&Info, Rows, 1);
    std::uint8_t* D = Pixels->data() + std::size_t(Y) * std::size_t(W) * 3;
    if (Cmyk) {
      // Adobe writes inverted CMYK.
      for (int X = 0; X < W; ++X) {
        const std::uint8_t* S = Row.data() + X * 4;
        unsigned K = S[3];
        D[X * 3 + 0] = std::uint8_t(S[2] * K / 255);
        D[X * 3 + 1] = std::uint8_t(S[1] * K / 255);
        D[X * 3 + 2] = std::uint8_t(S[0] * K / 255);
      }
    } else {
      std::copy(Row.begin(), Row.begin() + std::ptrdiff_t(W) * 3, D);
    }
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  Out.Width = W;
  Out.Height = H;
  return std::string();
}

std::string JpegEncode(const std::uint8_t* Pixels, int Width, int Height, int Quality, std::vector<std::uint8_t>& Out) {
  Out.clear();
  if (Width <= 0 || Height <= 0) return "JPEG error: empty image";
  jpeg_compress_struct Info;
  ErrorMgr Err;
  Info.err = jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = OnError;
  Err.Pub.emit_message = OnMessage;
  Err.Message[0] = 0;
  if (setjmp(Err.Jump)) {
    jpeg_destroy_compress(&Info);
    if (Err.Buf) std::free(Err.Buf);
    return std::string("JPEG error: ") + Err.Message;
  }
  jpeg_create_compress(&Info);
  jpeg_mem_dest(&Info, &Err.Buf, &Err.BufSize);
  Info.image_width = JDIMENSION(Width);
  Info.image_height = JDIMENSION(Height);
  Info.input_components = 3;
  Info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality < 1 ? 1 : Quality > 100 ? 100 : Quality, FALSE);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Rows[1] = {const_cast<JSAMPLE*>(Pixels + std::size_t(Info.next_scanline) * std::size_t(Width) * 3)};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  Out.assign(Err.Buf, Err.Buf + Err.BufSize);
  jpeg_destroy_compress(&Info);
  std::free(Err.Buf);
  return std::string();
}

}  // namespace codec
