// The per-frame generators and views against their step-by-step references (same
// build flags), the Perlin Noise frame against libnoise's 6-octave Perlin over the
// same 512 x 512 pixels, and memcpy of 512 x 512 x 4 bytes as the yardstick.
#include <benchmark/benchmark.h>
#include <libnoise/noise.h>

#include <cstring>
#include <random>
#include <vector>

#include "../tests/app/reference_generators.h"
#include "app/generators.h"
#include "app/normal_map.h"
#include "core/random.h"

namespace {

struct Scene {
  C_Image Lump, Blob, Height, Base, Temp, Normal, Shaded;
  std::vector<PhasePair> Table = std::vector<PhasePair>(kPhaseCount);
  Particle Particles[kLumpCount];

  Scene() {
    Lump.Create(100, pixel_format::Grey16, 100);
    Blob.Create(300, pixel_format::Grey16, 300);
    MakeLumpShape(&Lump);
    MakeBlobShape(&Blob);
    for (C_Image* image : {&Height, &Base, &Temp}) {
      image->Create(512, pixel_format::Grey16, 512);
      std::memset(image->Pixels, 0, size_t(image->PixelBytes));
    }
    Normal.Create(512, pixel_format::R8G8B8A8, 512);
    Shaded.Create(512, pixel_format::R8G8B8A8, 512);
    RandomSource random;
    for (PhasePair& pair : Table) {
      pair.Phase = random.Next() * 100;
      pair.Speed = random.Next() % 768 + 512;
    }
    for (Particle& p : Particles) {
      const float x = float(random.Next() % 512);
      p.Start = C_Vector2D(x, float(random.Next() % 512));
      p.Velocity = C_Vector2D(100, 0);
      p.Velocity.RotateDegrees(float(random.Next() % 360));
    }
    // A varied height field for the views: one noise frame.
    reference::PerlinFrame(Table.data(), &Base, &Temp, &Height);
  }
  void ClearHeight() { std::memset(Height.Pixels, 0, size_t(Height.PixelBytes)); }
};

double FixedTime(void*) {
  return 3.25;
}

void BM_LumpsFrame(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    DrawLumps(&s.Lump, &s.Height, s.Particles, 0, ClockSource{FixedTime, nullptr});
    benchmark::ClobberMemory();
  }
}
void BM_LumpsFrameReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    reference::DrawParticles(&s.Lump, &s.Height, s.Particles, 200, 3.25f, reference::StampMax);
    benchmark::ClobberMemory();
  }
}
void BM_BlobsFrame(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    DrawBlobs(&s.Blob, &s.Height, s.Particles, 0, ClockSource{FixedTime, nullptr});
    benchmark::ClobberMemory();
  }
}
void BM_BlobsFrameReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    reference::DrawParticles(&s.Blob, &s.Height, s.Particles, 60, 3.25f, reference::StampAddFold);
    benchmark::ClobberMemory();
  }
}
void BM_PerlinFrame(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    AdvanceAndRefreshNoiseBase(s.Table.data(), kPhaseCount, &s.Base);
    AddNoiseOctaves(&s.Base, &s.Temp, &s.Height);
    benchmark::ClobberMemory();
  }
}
void BM_PerlinFrameReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    reference::PerlinFrame(s.Table.data(), &s.Base, &s.Temp, &s.Height);
    benchmark::ClobberMemory();
  }
}
void BM_LibnoisePerlin(benchmark::State& state) {
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
void BM_BuildNormalMap(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    BuildNormalMap(&s.Height, &s.Normal);
    benchmark::ClobberMemory();
  }
}
void BM_BuildNormalMapReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    reference::BuildNormalMap(&s.Height, &s.Normal);
    benchmark::ClobberMemory();
  }
}
void BM_ShadeBump(benchmark::State& state) {
  Scene s;
  BuildNormalMap(&s.Height, &s.Normal);
  for (auto _ : state) {
    ShadeBump(&s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
    benchmark::ClobberMemory();
  }
}
void BM_ShadeBumpReference(benchmark::State& state) {
  Scene s;
  BuildNormalMap(&s.Height, &s.Normal);
  for (auto _ : state) {
    reference::ShadeBump(&s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
    benchmark::ClobberMemory();
  }
}
// The driver's BumpMapping view: both of the above in one sweep over the rows.
void BM_BuildNormalMapAndShade(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    BuildNormalMapAndShade(&s.Height, &s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
    benchmark::ClobberMemory();
  }
}
void BM_Memcpy512x512x4(benchmark::State& state) {
  std::vector<uint8_t> from(512 * 512 * 4, 1), to(512 * 512 * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_LumpsFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LumpsFrameReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlobsFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlobsFrameReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PerlinFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PerlinFrameReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibnoisePerlin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildNormalMap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildNormalMapReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShadeBump)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShadeBumpReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildNormalMapAndShade)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy512x512x4)->Unit(benchmark::kMicrosecond);

}  // namespace
