// Image drawing against pixman doing the same work in the same run: opaque copy,
// clear, blend through an alpha image, a tinted glyph through an alpha image, a
// 30-degree rotation and a 2x nearest scale. Pairs are named Ours/<case> and
// Pixman/<case>; the ratio of their times is the figure of merit.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <memory>
#include <random>

#include "graphics/geometry/color.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"

namespace {

constexpr int kTargetW = 800, kTargetH = 600;

// One 32-bit image (with an optional 8-bit alpha image) and pixman views of both.
struct Sheet {
  C_Surface surface;
  C_Image* color = new C_Image;
  C_Image* alpha = nullptr;
  pixman_image_t* pixColor = nullptr;
  pixman_image_t* pixAlpha = nullptr;
  pixman_image_t* pixPremultiplied = nullptr;  // colour with the alpha applied, for OVER

  Sheet(int w, int h, bool withAlpha, pixman_format_code_t format = PIXMAN_x8r8g8b8) {
    color->Create(w, pixel_format::A8R8G8B8, h);
    std::mt19937 random(3);
    auto* pixels = reinterpret_cast<uint32_t*>(color->Pixels);
    for (int i = 0; i < w * h; ++i) pixels[i] = 0xFF000000u | (random() & 0xFFFFFF);
    surface.SetChannel(color, kColorChannel);
    pixColor = pixman_image_create_bits(format, w, h, pixels, color->Pitch);
    if (withAlpha) {
      alpha = new C_Image;
      alpha->Create(w, pixel_format::Grey8, h);
      // Glyph-like coverage: mostly 0 or 255 with soft edges.
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const int r = static_cast<int>(random() % 8);
          alpha->Pixels[y * alpha->Pitch + x] = r < 3 ? 0 : (r < 6 ? 255 : uint8_t(random()));
        }
      }
      surface.SetChannel(alpha, kAlphaChannel);
      pixAlpha = pixman_image_create_bits(PIXMAN_a8, w, h,
                                          reinterpret_cast<uint32_t*>(alpha->Pixels), alpha->Pitch);
      premultiplied.resize(static_cast<size_t>(w) * h);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint32_t p = pixels[y * w + x], a = alpha->Pixels[y * alpha->Pitch + x];
          uint32_t out = a << 24;
          for (int s = 0; s < 24; s += 8) out |= ((((p >> s) & 0xFF) * a) / 255) << s;
          premultiplied[static_cast<size_t>(y) * w + x] = out;
        }
      }
      pixPremultiplied =
          pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, premultiplied.data(), w * 4);
    }
  }
  ~Sheet() {
    for (pixman_image_t* i : {pixColor, pixAlpha, pixPremultiplied}) {
      if (i != nullptr) pixman_image_unref(i);
    }
  }
  std::vector<uint32_t> premultiplied;
};

struct Screen {
  C_Surface surface;
  C_Image* color = new C_Image;
  pixman_image_t* pix = nullptr;
  Screen() {
    color->CreateFilled(kTargetW, pixel_format::A8R8G8B8, kTargetH, C_Color(0.2f, 0.3f, 0.4f, 1));
    surface.SetChannel(color, kColorChannel);
    pix = pixman_image_create_bits(PIXMAN_a8r8g8b8, kTargetW, kTargetH,
                                   reinterpret_cast<uint32_t*>(color->Pixels), color->Pitch);
  }
  ~Screen() { pixman_image_unref(pix); }
};

void Pixels(benchmark::State& state, int64_t perIteration) {
  state.SetItemsProcessed(state.iterations() * perIteration);
}

// ---- Opaque copy of 512 x 512 -------------------------------------------------
void BM_Ours_Copy(benchmark::State& state) {
  Sheet sheet(512, 512, false);
  Screen screen;
  for (auto _ : state) {
    DrawSurface(&sheet.surface, &screen.surface, nullptr, nullptr, nullptr, C_Vector2D(100, 40),
                nullptr, nullptr);
    benchmark::ClobberMemory();
  }
  Pixels(state, 512 * 512);
}
void BM_Pixman_Copy(benchmark::State& state) {
  Sheet sheet(512, 512, false);
  Screen screen;
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, sheet.pixColor, nullptr, screen.pix, 0, 0, 0, 0, 100,
                             40, 512, 512);
    benchmark::ClobberMemory();
  }
  Pixels(state, 512 * 512);
}

// ---- Clear 800 x 600 (the drawing interface clears with FillImage) -------------
void BM_Ours_Clear(benchmark::State& state) {
  Screen screen;
  const C_Color color(0.1f, 0.2f, 0.3f, 1);
  for (auto _ : state) {
    FillImage(screen.color, color);
    benchmark::ClobberMemory();
  }
  Pixels(state, kTargetW * kTargetH);
}
void BM_Pixman_Clear(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) {
    pixman_fill(reinterpret_cast<uint32_t*>(screen.color->Pixels), screen.color->Pitch / 4, 32, 0,
                0, kTargetW, kTargetH, 0xFF1A334C);
    benchmark::ClobberMemory();
  }
  Pixels(state, kTargetW * kTargetH);
}

// ---- 512 x 512 blended through its alpha image ---------------------------------
void BM_Ours_BlendAlpha(benchmark::State& state) {
  Sheet sheet(512, 512, true);
  Screen screen;
  for (auto _ : state) {
    DrawSurface(&sheet.surface, &screen.surface, nullptr, nullptr, nullptr, C_Vector2D(100, 40),
                nullptr, nullptr);
    benchmark::ClobberMemory();
  }
  Pixels(state, 512 * 512);
}
void BM_Pixman_BlendAlpha(benchmark::State& state) {
  Sheet sheet(512, 512, true);
  Screen screen;
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, sheet.pixPremultiplied, nullptr, screen.pix, 0, 0, 0,
                             0, 100, 40, 512, 512);
    benchmark::ClobberMemory();
  }
  Pixels(state, 512 * 512);
}

// ---- A tinted 64 x 64 glyph through its alpha image ----------------------------
void BM_Ours_Glyph(benchmark::State& state) {
  Sheet sheet(64, 64, true);
  Screen screen;
  DrawOptions options;
  options.UseTint = 1;
  options.Tint = C_Color(1, 0.8f, 0.2f, 1);
  for (auto _ : state) {
    DrawSurface(&sheet.surface, &screen.surface, nullptr, nullptr, nullptr, C_Vector2D(300, 200),
                &options, nullptr);
    benchmark::ClobberMemory();
  }
  Pixels(state, 64 * 64);
}
void BM_Pixman_Glyph(benchmark::State& state) {
  Sheet sheet(64, 64, true);
  Screen screen;
  const pixman_color_t tint = {0xFFFF, 0xCCCC, 0x3333, 0xFFFF};
  pixman_image_t* solid = pixman_image_create_solid_fill(&tint);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, solid, sheet.pixAlpha, screen.pix, 0, 0, 0, 0, 300,
                             200, 64, 64);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(solid);
  Pixels(state, 64 * 64);
}

// ---- 256 x 256 turned by 30 degrees, nearest -----------------------------------
void BM_Ours_Rotate30(benchmark::State& state) {
  Sheet sheet(256, 256, false);
  Screen screen;
  DrawOptions options;
  options.Angle = 30;
  for (auto _ : state) {
    DrawSurface(&sheet.surface, &screen.surface, nullptr, nullptr, nullptr, C_Vector2D(300, 100),
                &options, nullptr);
    benchmark::ClobberMemory();
  }
  Pixels(state, 256 * 256);
}
void BM_Pixman_Rotate30(benchmark::State& state) {
  // OVER of an opaque source with transparent outside: only the turned square changes.
  Sheet sheet(256, 256, false, PIXMAN_x8r8g8b8);
  Screen screen;
  const double a = 30 * 3.14159265358979 / 180;
  // Destination (x, y) samples source (x cos + y sin, y cos - x sin) relative to the
  // square's corner, which sits at (300, 100); the box of the turned square is
  // composited.
  const double c = std::cos(a), s = std::sin(a);
  const int x0 = 300 - static_cast<int>(std::ceil(256 * s)), y0 = 100;
  const int w = static_cast<int>(std::ceil(256 * (c + s))), h = w;
  pixman_transform_t t;
  pixman_transform_init_identity(&t);
  t.matrix[0][0] = pixman_double_to_fixed(c);
  t.matrix[0][1] = pixman_double_to_fixed(s);
  t.matrix[1][0] = pixman_double_to_fixed(-s);
  t.matrix[1][1] = pixman_double_to_fixed(c);
  t.matrix[0][2] = pixman_double_to_fixed((x0 - 300) * c + (y0 - 100) * s);
  t.matrix[1][2] = pixman_double_to_fixed((y0 - 100) * c - (x0 - 300) * s);
  pixman_image_set_transform(sheet.pixColor, &t);
  pixman_image_set_filter(sheet.pixColor, PIXMAN_FILTER_NEAREST, nullptr, 0);
  pixman_image_set_repeat(sheet.pixColor, PIXMAN_REPEAT_NONE);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, sheet.pixColor, nullptr, screen.pix, 0, 0, 0, 0, x0,
                             y0, w, h);
    benchmark::ClobberMemory();
  }
  Pixels(state, 256 * 256);
}

// ---- 256 x 256 scaled 2x, nearest ----------------------------------------------
void BM_Ours_Scale2x(benchmark::State& state) {
  Sheet sheet(256, 256, false);
  Screen screen;
  DrawOptions options;
  options.Scale = C_Vector2D(2, 2);
  for (auto _ : state) {
    DrawSurface(&sheet.surface, &screen.surface, nullptr, nullptr, nullptr, C_Vector2D(100, 40),
                &options, nullptr);
    benchmark::ClobberMemory();
  }
  Pixels(state, 512 * 512);
}
void BM_Pixman_Scale2x(benchmark::State& state) {
  Sheet sheet(256, 256, false);
  Screen screen;
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(sheet.pixColor, &t);
  pixman_image_set_filter(sheet.pixColor, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, sheet.pixColor, nullptr, screen.pix, 0, 0, 0, 0, 100,
                             40, 512, 512);
    benchmark::ClobberMemory();
  }
  Pixels(state, 512 * 512);
}

BENCHMARK(BM_Ours_Copy);
BENCHMARK(BM_Pixman_Copy);
BENCHMARK(BM_Ours_Clear);
BENCHMARK(BM_Pixman_Clear);
BENCHMARK(BM_Ours_BlendAlpha);
BENCHMARK(BM_Pixman_BlendAlpha);
BENCHMARK(BM_Ours_Glyph);
BENCHMARK(BM_Pixman_Glyph);
BENCHMARK(BM_Ours_Rotate30);
BENCHMARK(BM_Pixman_Rotate30);
BENCHMARK(BM_Ours_Scale2x);
BENCHMARK(BM_Pixman_Scale2x);

}  // namespace
