// One presentation of the 800 x 600 back buffer into a headless window (the
// flipping row copy, the margins and the surface update) against a memcpy of
// the same bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "image/image.h"
#include "platform/window.h"

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

void FillBackBuffer(C_Image& back) {
  back.Create(kWidth, pixel_format::A8R8G8B8, kHeight);
  back.BottomUp = 1;
  std::mt19937 random(11);
  for (int32_t i = 0; i < back.PixelBytes; ++i) back.Pixels[i] = uint8_t(random());
}

// Arg: the window's client width and height; larger than the back buffer, the
// image is centred and the margins are filled too.
void BM_Present(benchmark::State& state) {
  // Headless: the dummy video driver, unless the caller chose another.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  const int32_t side = static_cast<int32_t>(state.range(0));
  const int32_t height = side == kWidth ? kHeight : side * 3 / 4;
  C_Window window;
  window.Placement = C_Rect(0, 0, side, height);
  window.Open();
  if (!window.Opened) {
    state.SkipWithError("no window");
    return;
  }
  C_Image back;
  FillBackBuffer(back);
  const C_Vector2D position(static_cast<float>((side - kWidth) / 2),
                            static_cast<float>((height - kHeight) / 2));
  for (auto _ : state) {
    ShowImage(&back, &window, position);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{back.PixelBytes});
  window.Close();
}
BENCHMARK(BM_Present)->Arg(kWidth)->Arg(1024);

void BM_MemcpyBackBuffer(benchmark::State& state) {
  const size_t bytes = size_t{kWidth} * kHeight * 4;
  std::vector<uint8_t> source(bytes, 0x5A);
  std::vector<uint8_t> target(bytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(BM_MemcpyBackBuffer);

}  // namespace
