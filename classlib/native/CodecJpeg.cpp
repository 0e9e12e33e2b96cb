// libjpeg-turbo behind the plain interface of CodecJpeg.h.
//
// The library reports errors through an exit routine that must not return;
// ours jumps back (longjmp) to the entry point of the call. A jump skips the
// destructors of everything built after its setjmp, so the rule of this unit:
// between a setjmp and the end of the library work it guards, no object with
// a destructor is created. What the error path must outlive lives in a state
// record allocated before the setjmp, and working rows come from the
// library's own pools (freed when its object is destroyed).
#include "classlib/CodecJpeg.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include <jpeglib.h>
#include <jerror.h>

#include "rtl/SizeMath.h"

namespace codec {
namespace {

struct ErrorMgr {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
  bool AllowTruncated = false;
};

void OnError(j_common_ptr Info) {
  auto* E = reinterpret_cast<ErrorMgr*>(Info->err);
  (*Info->err->format_message)(Info, E->Message);
  std::longjmp(E->Jump, 1);
}

// Warnings stay quiet, except running out of data where the caller wants
// the whole picture: a truncated file is then an error, not a picture with
// a grey bottom.
void OnMessage(j_common_ptr Info, int Level) {
  auto* E = reinterpret_cast<ErrorMgr*>(Info->err);
  if (Level < 0 && Info->err->msg_code == JWRN_JPEG_EOF && !E->AllowTruncated) OnError(Info);
}

void InitErrors(ErrorMgr& E) {
  jpeg_std_error(&E.Pub);
  E.Pub.error_exit = OnError;
  E.Pub.emit_message = OnMessage;
  E.Message[0] = 0;
}

std::string Failure(const ErrorMgr& E) { return std::string("JPEG error: ") + E.Message; }

// a x b / 255, rounded to nearest.
inline std::uint8_t Mul255(unsigned A, unsigned B) { return std::uint8_t((A * B + 127) / 255); }

// One row of CMYK samples to B, G, R (and 255). The samples are taken as
// inverted (255 = no ink), as Adobe's programs write them and as other
// decoders read every CMYK file, with or without Adobe's marker.
void CmykRow(const JSAMPLE* S, std::uint8_t* D, int Width, int BytesPerPixel) {
  for (int X = 0; X < Width; ++X, S += 4, D += BytesPerPixel) {
    D[0] = Mul255(S[2], S[3]);
    D[1] = Mul255(S[1], S[3]);
    D[2] = Mul255(S[0], S[3]);
    if (BytesPerPixel == 4) D[3] = 255;
  }
}

// Compression state for both encoders; the output buffer is the library's
// (malloc'ed by jpeg_mem_dest) and freed on every path.
struct EncodeState {
  jpeg_compress_struct Info;
  ErrorMgr Err;
  unsigned char* Buf = nullptr;
  unsigned long BufSize = 0;
  volatile bool Created = false;
  std::exception_ptr SourceFailure;  // thrown by the row source, rethrown once all is freed
};

std::string Encode(const RowSource& Source, std::ptrdiff_t Stride, int Width, int Height, int BytesPerPixel,
                   int Quality, std::vector<std::uint8_t>& Out) {
  Out.clear();
  if (Width <= 0 || Height <= 0) return "JPEG error: empty image";
  EncodeState* S = new EncodeState();
  InitErrors(S->Err);
  S->Info.err = &S->Err.Pub;
  if (setjmp(S->Err.Jump)) {
    if (S->Created) jpeg_destroy_compress(&S->Info);
    std::free(S->Buf);
    std::string M = Failure(S->Err);
    delete S;
    Out.clear();
    return M;
  }
  jpeg_create_compress(&S->Info);
  S->Created = true;
  jpeg_mem_dest(&S->Info, &S->Buf, &S->BufSize);
  S->Info.image_width = JDIMENSION(Width);
  S->Info.image_height = JDIMENSION(Height);
  S->Info.input_components = BytesPerPixel;
  S->Info.in_color_space = BytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(&S->Info);
  jpeg_set_quality(&S->Info, Quality < 1 ? 1 : Quality > 100 ? 100 : Quality, FALSE);
  jpeg_start_compress(&S->Info, TRUE);
  while (S->Info.next_scanline < S->Info.image_height) {
    JSAMPROW Rows[RowBand];
    const JDIMENSION Y = S->Info.next_scanline;
    const JDIMENSION N = S->Info.image_height - Y < JDIMENSION(RowBand) ? S->Info.image_height - Y : RowBand;
    const std::uint8_t* First = nullptr;
    try {
      First = Source(int(Y), int(N));
    } catch (...) {
      S->SourceFailure = std::current_exception();
    }
    if (S->SourceFailure) break;
    for (JDIMENSION I = 0; I < N; ++I)
      Rows[I] = const_cast<JSAMPLE*>(First + std::ptrdiff_t(I) * Stride);
    jpeg_write_scanlines(&S->Info, Rows, N);
  }
  if (S->SourceFailure) {
    jpeg_destroy_compress(&S->Info);
    std::free(S->Buf);
    const std::exception_ptr Thrown = S->SourceFailure;
    delete S;
    std::rethrow_exception(Thrown);
  }
  jpeg_finish_compress(&S->Info);
  jpeg_destroy_compress(&S->Info);
  S->Created = false;
  // Past the library's work: a failing copy throws as usual and frees all.
  struct Cleanup {
    EncodeState* S;
    ~Cleanup() {
      std::free(S->Buf);
      delete S;
    }
  } Done{S};
  Out.assign(S->Buf, S->Buf + S->BufSize);
  return std::string();
}

}  // namespace

// ---------------------------------------------------------------------------
// Decoding

struct JpegReader::TState {
  jpeg_decompress_struct Info;
  ErrorMgr Err;
  volatile bool Created = false;
  volatile int Stage = 0;  // 0 new, 1 header read, 2 finished or failed
  JpegColorKind Kind = JpegColorKind::Color;
  int Width = 0;
  int Height = 0;

  void Destroy() {
    if (Created) jpeg_destroy_decompress(&Info);
    Created = false;
    Stage = 2;
  }
};

JpegReader::JpegReader() : FState(new TState()) {}

JpegReader::~JpegReader() {
  FState->Destroy();
  delete FState;
}

int JpegReader::Width() const { return FState->Width; }
int JpegReader::Height() const { return FState->Height; }
JpegColorKind JpegReader::ColorKind() const { return FState->Kind; }

std::string JpegReader::Start(const std::uint8_t* Data, std::size_t Size, const JpegReadOptions& Options) {
  TState* S = FState;
  if (S->Stage != 0) return "JPEG error: the reader has been used";
  S->Stage = 2;
  if (!Data || Size == 0) return "Empty JPEG data";
  InitErrors(S->Err);
  S->Err.AllowTruncated = Options.AllowTruncated;
  S->Info.err = &S->Err.Pub;
  if (setjmp(S->Err.Jump)) {
    S->Destroy();
    return Failure(S->Err);
  }
  jpeg_create_decompress(&S->Info);
  S->Created = true;
  jpeg_mem_src(&S->Info, const_cast<unsigned char*>(Data), static_cast<unsigned long>(Size));
  jpeg_read_header(&S->Info, TRUE);
  S->Info.scale_num = 1;
  const int Denom = Options.ScaleDenom;
  S->Info.scale_denom = (Denom == 2 || Denom == 4 || Denom == 8) ? unsigned(Denom) : 1u;
  S->Info.do_fancy_upsampling = Options.SmoothChroma ? TRUE : FALSE;
  switch (S->Info.jpeg_color_space) {
    case JCS_GRAYSCALE: S->Kind = JpegColorKind::Grey; break;
    case JCS_CMYK:
    case JCS_YCCK: S->Kind = JpegColorKind::Cmyk; break;
    default: S->Kind = JpegColorKind::Color; break;
  }
  jpeg_calc_output_dimensions(&S->Info);
  std::int64_t Bytes = 0;
  if (S->Info.output_width == 0 || S->Info.output_height == 0 ||
      !CheckedProduct({std::int64_t(S->Info.output_width), std::int64_t(S->Info.output_height), 4}, INT_MAX, Bytes)) {
    S->Destroy();
    return "JPEG error: image too large";
  }
  S->Width = int(S->Info.output_width);
  S->Height = int(S->Info.output_height);
  S->Stage = 1;
  return std::string();
}

std::string JpegReader::Read(std::uint8_t* First, std::ptrdiff_t Stride, int BytesPerPixel) {
  TState* S = FState;
  if (S->Stage != 1) return "JPEG error: no header read";
  if (!First || (BytesPerPixel != 3 && BytesPerPixel != 4)) {
    S->Destroy();
    return "JPEG error: no destination";
  }
  if (setjmp(S->Err.Jump)) {
    S->Destroy();
    return Failure(S->Err);
  }
  const bool Cmyk = S->Kind == JpegColorKind::Cmyk;
  S->Info.out_color_space = Cmyk ? JCS_CMYK : BytesPerPixel == 4 ? JCS_EXT_BGRA : JCS_EXT_BGR;
  jpeg_start_decompress(&S->Info);
  if (int(S->Info.output_width) != S->Width || int(S->Info.output_height) != S->Height ||
      S->Info.output_components != (Cmyk ? 4 : BytesPerPixel)) {
    S->Destroy();
    return "JPEG error: unexpected output layout";
  }
  if (Cmyk) {
    JSAMPARRAY Row = (*S->Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&S->Info), JPOOL_IMAGE,
                                                  JDIMENSION(S->Width) * 4, 1);
    while (S->Info.output_scanline < S->Info.output_height) {
      const JDIMENSION Y = S->Info.output_scanline;
      if (jpeg_read_scanlines(&S->Info, Row, 1) != 1) break;
      CmykRow(Row[0], First + std::ptrdiff_t(Y) * Stride, S->Width, BytesPerPixel);
    }
  } else {
    while (S->Info.output_scanline < S->Info.output_height) {
      JSAMPROW Rows[16];
      const JDIMENSION Y = S->Info.output_scanline;
      const JDIMENSION N = S->Info.output_height - Y < 16 ? S->Info.output_height - Y : 16;
      for (JDIMENSION I = 0; I < N; ++I) Rows[I] = First + std::ptrdiff_t(Y + I) * Stride;
      if (jpeg_read_scanlines(&S->Info, Rows, N) == 0) break;
    }
  }
  if (S->Info.output_scanline < S->Info.output_height) {
    S->Destroy();
    return "JPEG error: rows missing";
  }
  jpeg_finish_decompress(&S->Info);
  S->Destroy();
  return std::string();
}

std::string JpegDecode(const std::uint8_t* Data, std::size_t Size, int ScaleDenom, JpegImage& Out) {
  Out = JpegImage();
  JpegReader Reader;
  JpegReadOptions Options;
  Options.ScaleDenom = ScaleDenom;
  std::string Err = Reader.Start(Data, Size, Options);
  if (!Err.empty()) return Err;
  if (std::uint64_t(Reader.Width()) * std::uint64_t(Reader.Height()) > (std::uint64_t(1) << 28))
    return "JPEG error: image too large";
  std::vector<std::uint8_t> Pixels(std::size_t(Reader.Width()) * std::size_t(Reader.Height()) * 3);
  Err = Reader.Read(Pixels.data(), std::ptrdiff_t(Reader.Width()) * 3, 3);
  if (!Err.empty()) return Err;
  Out.Width = Reader.Width();
  Out.Height = Reader.Height();
  Out.Pixels = std::move(Pixels);
  return std::string();
}

namespace {

RowSource RowsAt(const std::uint8_t* First, std::ptrdiff_t Stride) {
  return [First, Stride](int Y, int) { return First + std::ptrdiff_t(Y) * Stride; };
}

}  // namespace

std::string JpegEncode(const std::uint8_t* Pixels, int Width, int Height, int Quality, std::vector<std::uint8_t>& Out) {
  const std::ptrdiff_t Stride = std::ptrdiff_t(Width) * 3;
  return Encode(RowsAt(Pixels, Stride), Stride, Width, Height, 3, Quality, Out);
}

std::string JpegEncodeBGRX(const std::uint8_t* First, std::ptrdiff_t Stride, int Width, int Height, int Quality,
                           std::vector<std::uint8_t>& Out) {
  return Encode(RowsAt(First, Stride), Stride, Width, Height, 4, Quality, Out);
}

std::string JpegEncodeBGRXRows(const RowSource& Rows, std::ptrdiff_t Stride, int Width, int Height, int Quality,
                               std::vector<std::uint8_t>& Out) {
  return Encode(Rows, Stride, Width, Height, 4, Quality, Out);
}

}  // namespace codec
