// The generator's own drawing: float RGBA pictures (straight alpha), coverage
// masks filled by an anti-aliased scanline rasterizer (four sub-rows, exact
// horizontal coverage, non-zero rule), paths of lines, arcs and Bezier
// chains flattened to contours, strokes, periodic value noise for seamless
// tiles, box blur and area resampling. Deterministic: no threads, no clock,
// every random number from a seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mediagen {

struct TRgba {
  float R = 0, G = 0, B = 0, A = 0;
};

inline TRgba Rgb(int R, int G, int B, float A = 1) { return TRgba{R / 255.f, G / 255.f, B / 255.f, A}; }
// A Windows colour ($00BBGGRR) as opaque RGBA.
inline TRgba FromTColor(std::uint32_t C) { return Rgb(int(C & 0xFF), int((C >> 8) & 0xFF), int((C >> 16) & 0xFF)); }
TRgba Mix(const TRgba& A, const TRgba& B, float T);

struct TImage {
  int W = 0, H = 0;
  std::vector<TRgba> Px;
  TImage() = default;
  TImage(int Width, int Height, TRgba Fill = TRgba{}) : W(Width), H(Height), Px(std::size_t(Width) * Height, Fill) {}
  TRgba& At(int X, int Y) { return Px[std::size_t(Y) * W + X]; }
  const TRgba& At(int X, int Y) const { return Px[std::size_t(Y) * W + X]; }
};

// Coverage 0..1 of the pixels of a W x H part of a picture whose top left
// is (OX, OY).
struct TMask {
  int OX = 0, OY = 0, W = 0, H = 0;
  std::vector<float> C;
  TMask(int Width, int Height, int X = 0, int Y = 0) : OX(X), OY(Y), W(Width), H(Height), C(std::size_t(Width) * Height, 0.f) {}
  float& At(int X, int Y) { return C[std::size_t(Y) * W + X]; }
  float At(int X, int Y) const { return C[std::size_t(Y) * W + X]; }
};

struct TPt {
  double X = 0, Y = 0;
};
using TContour = std::vector<TPt>;
using TContours = std::vector<TContour>;

// A path as the GDI+ figures are built: items joined by lines, each figure
// closed.
class TPath {
 public:
  void MoveTo(double X, double Y);
  void LineTo(double X, double Y);
  // The arc of the ellipse in the box (X, Y, W, H) from Start sweeping Sweep
  // degrees (clockwise on screen), joined to what came before by a line.
  void ArcTo(double X, double Y, double W, double H, double Start, double Sweep);
  void BezierTo(TPt C1, TPt C2, TPt P);
  void Close();
  void Ellipse(double X, double Y, double W, double H);
  void Rect(double X, double Y, double W, double H);
  void Polygon(const std::vector<TPt>& P);
  TContours Contours() const;

 private:
  TContours FDone;
  TContour FCur;
};

// The part of a picture of ImgW x ImgH that Contours can touch, widened by
// Margin pixels.
TMask MaskAround(const TContours& Contours, int ImgW, int ImgH, double Margin = 1);
// Coverage of Contours (non-zero rule), combined into Mask by maximum.
void FillMask(TMask& Mask, const TContours& Contours);
// Coverage of a stroke of Width along each contour (closed when Closed).
void StrokeMask(TMask& Mask, const TContours& Contours, double Width, bool Closed);
// Paints Color through the mask's coverage (source over).
void Paint(TImage& Img, const TMask& Mask, const TRgba& Color);
// Source over of Src placed at (X, Y).
void Over(TImage& Dst, const TImage& Src, int X, int Y);
void Over(TRgba& D, const TRgba& S);
// Pixels whose coverage is C keep (1 - C) of their alpha.
void ClearThrough(TImage& Img, const TMask& Mask);

// Convenience fills.
void FillPath(TImage& Img, const TPath& Path, const TRgba& Color);
void StrokePath(TImage& Img, const TPath& Path, double Width, const TRgba& Color, bool Closed = true);
void FillCircle(TImage& Img, double Cx, double Cy, double R, const TRgba& Color);
void FillRect(TImage& Img, int X1, int Y1, int X2, int Y2, const TRgba& Color);

// Value noise 0..1 with a period of Period cells on a grid of Cells cells per
// picture side (so it tiles when the picture is Period cells wide), Octaves
// octaves, each of twice the cells and half the weight.
double TileNoise(double U, double V, int Cells, int Octaves, std::uint32_t Seed);

// Deterministic random numbers.
class TRandom {
 public:
  explicit TRandom(std::uint32_t Seed) : FState(Seed * 2654435761u + 0x9E3779B9u) {}
  std::uint32_t Next();
  double Uniform(double Lo = 0, double Hi = 1);

 private:
  std::uint32_t FState;
};
std::uint32_t HashText(const char* Text);

// Box blur of radius Radius, Passes times (channels premultiplied while blurring).
void Blur(TImage& Img, int Radius, int Passes = 3);
// Area-average resampling to W x H.
TImage Resample(const TImage& Src, int W, int H);
// The picture as B, G, R (A) bytes, rows top-down.
std::vector<std::uint8_t> ToBgr(const TImage& Img);
std::vector<std::uint8_t> ToBgra(const TImage& Img);
std::uint8_t ToByte(float V);

}  // namespace mediagen
