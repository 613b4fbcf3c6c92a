// The peer measure of the noise frame: libnoise's six-octave Perlin noise over a
// 512 x 512 field, one sample a pixel, a new slice every iteration.
#pragma once

#include <benchmark/benchmark.h>
#include <libnoise/noise.h>

#include <vector>

inline void BM_LibnoisePerlin(benchmark::State& state) {
  noise::module::Perlin perlin;
  perlin.SetOctaveCount(6);
  std::vector<float> out(512 * 512);
  double z = 0;
  for (auto _ : state) {
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x)
        out[y * 512 + x] = float(perlin.GetValue(x / 64.0, y / 64.0, z));
    z += 0.01;
    benchmark::DoNotOptimize(out.data());
  }
}
