// pixman, opened at run time for the comparison rows of the benchmarks: the
// few entry points used, declared here with plain C types (the library is
// opened with dlopen, so no header or link flag is needed).
#pragma once
#include <dlfcn.h>

#include <cstdint>

struct pixman_image_t;
using pixman_fixed_t = int32_t;
struct pixman_transform_t {
  pixman_fixed_t matrix[3][3];
};
struct pixman_color_t {
  uint16_t red, green, blue, alpha;
};
inline constexpr int PIXMAN_a8r8g8b8 = 0x20028888;  // 32 bpp, ARGB, 8 bits each
inline constexpr int PIXMAN_OP_SRC = 1, PIXMAN_OP_OVER = 3;
inline constexpr int PIXMAN_FILTER_NEAREST = 3, PIXMAN_FILTER_BILINEAR = 4;

struct Pixman {
  pixman_image_t* (*create_bits)(int format, int width, int height, uint32_t* bits, int rowstride_bytes) = nullptr;
  pixman_image_t* (*create_solid)(const pixman_color_t* color) = nullptr;
  int (*set_transform)(pixman_image_t*, const pixman_transform_t*) = nullptr;
  int (*set_filter)(pixman_image_t*, int, const pixman_fixed_t*, int) = nullptr;
  void (*composite32)(int op, pixman_image_t* src, pixman_image_t* mask, pixman_image_t* dest, int32_t src_x,
                      int32_t src_y, int32_t mask_x, int32_t mask_y, int32_t dest_x, int32_t dest_y, int32_t width,
                      int32_t height) = nullptr;
  int (*unref)(pixman_image_t* image) = nullptr;
  int (*fill)(uint32_t* bits, int stride, int bpp, int x, int y, int width, int height, uint32_t value) = nullptr;
  bool ok = false;
  Pixman() {
    void* h = dlopen("libpixman-1.so.0", RTLD_NOW);
    if (!h) return;
    create_bits = reinterpret_cast<decltype(create_bits)>(dlsym(h, "pixman_image_create_bits"));
    create_solid = reinterpret_cast<decltype(create_solid)>(dlsym(h, "pixman_image_create_solid_fill"));
    set_transform = reinterpret_cast<decltype(set_transform)>(dlsym(h, "pixman_image_set_transform"));
    set_filter = reinterpret_cast<decltype(set_filter)>(dlsym(h, "pixman_image_set_filter"));
    composite32 = reinterpret_cast<decltype(composite32)>(dlsym(h, "pixman_image_composite32"));
    unref = reinterpret_cast<decltype(unref)>(dlsym(h, "pixman_image_unref"));
    fill = reinterpret_cast<decltype(fill)>(dlsym(h, "pixman_fill"));
    ok = create_bits && create_solid && set_transform && set_filter && composite32 && unref && fill;
  }
};

// The library, opened on first use.
inline Pixman& Pix() {
  static Pixman p;
  return p;
}
