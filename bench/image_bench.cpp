// The per-frame image work of the demo: each fast conversion kernel against the
// generic path and against a memcpy of the same output bytes, and the 800 x 600
// display-format fill against memset.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/geometry/color.h"
#include "image/image.h"
#include "image/image_ops.h"

namespace {

constexpr int kSide = 512;

struct ConvertCase {
  int32_t Source;
  int32_t Target;
  bool Palette;
};

constexpr ConvertCase kCases[] = {
    {pixel_format::Grey16, pixel_format::A8R8G8B8, false},
    {pixel_format::R8G8B8A8, pixel_format::A8R8G8B8, false},
    {pixel_format::R8G8B8, pixel_format::A8R8G8B8, false},
    {pixel_format::Index8, pixel_format::A8R8G8B8, true},
    {pixel_format::Grey8, pixel_format::Grey8, false},
};

void MakeSource(const ConvertCase& c, C_Image& source) {
  source.Create(kSide, c.Source, kSide, c.Palette ? pixel_format::R8G8B8 : pixel_format::None);
  std::mt19937 random(7);
  for (int32_t i = 0; i < source.PixelBytes; ++i) source.Pixels[i] = uint8_t(random());
  for (int32_t i = 0; i < source.PaletteBytes; ++i) source.Palette[i] = uint8_t(random());
}

// Arg 0: the case; arg 1: 1 = fast kernel, 0 = generic path.
void BM_Convert(benchmark::State& state) {
  const ConvertCase& c = kCases[state.range(0)];
  const bool generic = state.range(1) == 0;
  C_Image source, target;
  MakeSource(c, source);
  target.Create(kSide, c.Target, kSide);
  // Equal formats would take the whole-row copy; a view with a wider pitch makes
  // the 6 -> 6 case use its row kernel as it does between differently padded images.
  std::vector<uint8_t> padded;
  C_Image view;
  const C_Image* from = &source;
  if (c.Source == c.Target) {
    padded.assign(size_t(source.Pitch + 16) * kSide, 0);
    view.AttachPixels(kSide, source.Pitch + 16, kSide, c.Source, pixel_format::None, padded.data());
    from = &view;
  }
  ForceGenericPixelPath(generic);
  for (auto _ : state) {
    ConvertPixels(&target, from);
    benchmark::DoNotOptimize(target.Pixels);
    benchmark::ClobberMemory();
  }
  ForceGenericPixelPath(false);
  state.SetBytesProcessed(int64_t(state.iterations()) * target.PixelBytes);
  state.SetLabel(std::to_string(c.Source) + "->" + std::to_string(c.Target) +
                 (generic ? " generic" : " fast"));
}

// memcpy of as many bytes as a conversion of case arg 0 writes.
void BM_MemcpyOutput(benchmark::State& state) {
  const ConvertCase& c = kCases[state.range(0)];
  C_Image target;
  target.Create(kSide, c.Target, kSide);
  std::vector<uint8_t> from(size_t(target.PixelBytes), 1);
  for (auto _ : state) {
    std::memcpy(target.Pixels, from.data(), from.size());
    benchmark::DoNotOptimize(target.Pixels);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * target.PixelBytes);
  state.SetLabel("memcpy of " + std::to_string(c.Source) + "->" + std::to_string(c.Target));
}

// Arguments: fast (1) or generic (0) path, and the format: the back buffer's
// 32 bits (0) or the height field's 16-bit grey (1), which every frame clears.
void BM_Fill(benchmark::State& state) {
  C_Image image;
  if (state.range(1) == 0) {
    image.Create(800, pixel_format::A8R8G8B8, 600);
  } else {
    image.Create(512, pixel_format::Grey16, 512);
  }
  const C_Color color(0.2f, 0.4f, 0.6f, 1.0f);
  ForceGenericPixelPath(state.range(0) == 0);
  for (auto _ : state) {
    FillImage(&image, color);
    benchmark::DoNotOptimize(image.Pixels);
    benchmark::ClobberMemory();
  }
  ForceGenericPixelPath(false);
  state.SetBytesProcessed(int64_t(state.iterations()) * image.PixelBytes);
  state.SetLabel(std::string(state.range(0) ? "fast" : "generic") +
                 (state.range(1) ? " grey16" : " 32-bit"));
}

void BM_Memset(benchmark::State& state) {
  std::vector<uint8_t> block(800 * 600 * 4);
  for (auto _ : state) {
    std::memset(block.data(), 0x5A, block.size());
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(block.size()));
}

void ConvertArgs(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < int(sizeof(kCases) / sizeof(kCases[0])); ++i) {
    b->Args({i, 1});
    b->Args({i, 0});
  }
}

void CaseArgs(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < int(sizeof(kCases) / sizeof(kCases[0])); ++i) b->Arg(i);
}

BENCHMARK(BM_Convert)->Apply(ConvertArgs);
BENCHMARK(BM_MemcpyOutput)->Apply(CaseArgs);
BENCHMARK(BM_Fill)->Args({1, 0})->Args({0, 0})->Args({1, 1})->Args({0, 1});
BENCHMARK(BM_Memset);

}  // namespace
