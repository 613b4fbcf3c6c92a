// The driver: start-up in its fixed order, the frame loop, and the shutdown.
#include "app/demo_main.h"

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <initializer_list>
#include <new>

#include "app/demo_shell.h"
#include "app/demo_state.h"
#include "app/fill_bands.h"
#include "app/generators.h"
#include "app/normal_map.h"
#include "app/thread_choice.h"
#include "core/memory_counter.h"
#include "graphics/geometry/color.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"
#include "thread/worker_pool.h"

namespace {

double ReadShellClock(void* shell) {
  return static_cast<DemoShell*>(shell)->ReadClock();
}

void ResetState() {
  ShapeMode = ShapeLumps;
  ViewMode = ViewHeightMap;
  NoiseBaseBehind = 0;
  LightDirection = C_Vector3D(kInitialLight[0], kInitialLight[1], kInitialLight[2]);
  StartTime = 0;
  GenerationRate = 0;
  FrameRate = 0;
}

// The source promises 0..32767; the mask keeps the table arithmetic in range for
// any shell.
int32_t Draw(DemoShell* shell) {
  return shell->NextRandom() & RandomSource::kMax;
}

void FillTables(DemoShell* shell) {
  if (PhaseTable) {
    for (size_t i = 0; i < kPhaseCount; ++i) {
      // r x 100 stays below 3 276 800: no overflow.
      PhaseTable[i].Phase = Draw(shell) * 100;
      PhaseTable[i].Speed = Draw(shell) % 768 + 512;
    }
  }
  for (Particle& particle : Particles) {
    const float x = float(Draw(shell) % kNoiseSide);
    const float y = float(Draw(shell) % kNoiseSide);
    particle.Start = C_Vector2D(x, y);
    particle.Velocity = C_Vector2D(100, 0);
    particle.Velocity.RotateDegrees(float(Draw(shell) % 360));
  }
}

// Runs the generator of ShapeMode over a black height field and returns the
// generation start time. The three generators take the height field as it is left
// by the last frame and make it black themselves, as each band comes to its rows
// (Lumps, Blobs) or by storing the octaves' sum instead of adding it (Perlin
// Noise): the same pixels as clearing it first, without a separate pass over it.
// Nothing between the clear's place and the generator reads or writes the field.
double GenerateShape(DemoShell* shell) {
  const ClockSource clock{ReadShellClock, shell};
  const HeightStart black = HeightStart::Black;
  switch (ShapeMode) {
    case ShapeLumps: {
      const double start = shell->ReadClock();
      DrawLumps(LumpImage, HeightImage, Particles, StartTime, clock, black);
      return start;
    }
    case ShapeBlobs: {
      const double start = shell->ReadClock();
      DrawBlobs(BlobImage, HeightImage, Particles, StartTime, clock, black);
      return start;
    }
    case ShapePerlinNoise: {
      // The table update and the refresh are not counted in the generation rate.
      // Only the corner that the octaves read advances each frame; the rest
      // catches up when the shape changes and before the run ends.
      AdvanceNoiseCorner(PhaseTable, NoiseBaseImage, NoiseBaseBehind);
      const double start = shell->ReadClock();
      AddNoiseOctaves(NoiseBaseImage, NoiseTempImage, HeightImage, black);
      return start;
    }
    default:
      if (HeightImage) FillImageInBands(HeightImage, C_Color::FromBytes(0, 0, 0));
      return shell->ReadClock();
  }
}

// The pair of modes as one number, shape * 3 + view; -1 for modes out of range.
int32_t ModePair() {
  const bool known = ShapeMode >= 0 && ShapeMode < 3 && ViewMode >= 0 && ViewMode < 3;
  return known ? ShapeMode * 3 + ViewMode : -1;
}

// The display copy of a view's rows, made by the band that made the rows while
// they are in cache. A copy that does not exist yet (the first frame of a view)
// is made whole afterwards, on this thread.
struct DisplayRows {
  C_Surface* Surface;
  std::atomic<bool> Missed{false};

  static void Refresh(void* context, int32_t first, int32_t end) {
    auto* rows = static_cast<DisplayRows*>(context);
    if (!rows->Surface->PrepareRows(first, end))
      rows->Missed.store(true, std::memory_order_relaxed);
  }
};

void PrepareView() {
  if (ViewMode == ViewHeightMap) {
    // The height field was made by the generator's bands. It has half the bytes
    // of its 32-bit display copy, so it moves between cores more cheaply than the
    // copy would, and is converted here.
    if (!HeightSurface) return;
    const RowSplitter shared = SetRowSplitter(nullptr);
    HeightSurface->Prepare();
    SetRowSplitter(shared);
    return;
  }
  C_Surface* surface = ViewMode == ViewNormalMap     ? NormalSurface
                       : ViewMode == ViewBumpMapping ? ShadedSurface
                                                     : nullptr;
  if (!surface) return;
  DisplayRows rows{surface};
  const RowsMade copyRows{&DisplayRows::Refresh, &rows};
  // BuildNormalMap() and for BumpMapping ShadeBump() too, in one sweep over the rows.
  const bool made =
      ViewMode == ViewNormalMap
          ? BuildNormalMap(HeightImage, NormalImage, copyRows)
          : BuildNormalMapAndShade(HeightImage, NormalImage, ShadedImage, LightDirection, copyRows);
  if (!made || rows.Missed.load(std::memory_order_relaxed)) surface->Prepare();
}

template <typename T>
void Delete(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

int DemoMain(DemoShell* shell) {
  ResetState();
  if (!shell || !shell->StartFirstPhase()) return 0;
  // The frame's row work is shared by the worker pool, started here once for the
  // whole run (DF_WORKERS threads, else one per core). A pool that runs already
  // (a test or a benchmark chose its size) is used as it is and left running.
  const bool ownPool = Workers.Start(PoolThreadCount());
  // A pool of its own shares each mode pair's frames only where that was measured
  // to be faster than one thread (see ThreadChoice); a given pool is used whole.
  ThreadChoice threadChoice(ownPool ? Workers.Threads() : 1);
  // The layers below the pool share their rows on it too, for this run: the
  // display copy of the shown view, whose rows the view's bands have just made
  // (see PrepareView).
  const RowSplitter previousSplitter = SetRowSplitter(RunOnWorkers);

  const C_Color black = C_Color::FromBytes(0, 0, 0);
  for (C_Image** image : {&HeightImage, &NormalImage, &ShadedImage, &NoiseBaseImage,
                          &NoiseTempImage, &LumpImage, &BlobImage}) {
    *image = new (std::nothrow) C_Image();
  }
  if (NormalImage) NormalImage->Create(kNoiseSide, pixel_format::R8G8B8A8, kNoiseSide);
  if (ShadedImage) ShadedImage->Create(kNoiseSide, pixel_format::R8G8B8A8, kNoiseSide);
  HeightSurface = C_Surface::WrapImage(HeightImage);
  NormalSurface = C_Surface::WrapImage(NormalImage);
  ShadedSurface = C_Surface::WrapImage(ShadedImage);

  shell->StartSecondPhase();

  shell->InitClock();
  StartTime = shell->ReadClock();

  if (LumpImage && LumpImage->Create(100, pixel_format::Grey16, 100)) MakeLumpShape(LumpImage);
  if (BlobImage && BlobImage->Create(300, pixel_format::Grey16, 300)) MakeBlobShape(BlobImage);
  for (C_Image* image : {HeightImage, NoiseTempImage, NoiseBaseImage}) {
    if (image) image->CreateFilled(kNoiseSide, pixel_format::Grey16, kNoiseSide, black);
  }
  PhaseTable = new (std::nothrow) PhasePair[kPhaseCount];
  FillTables(shell);

  for (;;) {
    // The frame's first shared rows come within microseconds of the message and
    // option steps, while a worker asleep since the last paint takes tens of them
    // to wake: it is woken now, and spins until they come.
    Workers.Wake();
    if (!shell->MessageStep()) break;
    const double frameStart = shell->ReadClock();
    shell->OptionStep(ShapeMode, ViewMode);
    if (ownPool) Workers.Share(threadChoice.Next(ModePair()));
    if (ShapeMode != ShapePerlinNoise && NoiseBaseBehind > 0) {
      CatchUpNoiseBase(PhaseTable, NoiseBaseImage, NoiseBaseBehind);
    }
    const double generationStart = GenerateShape(shell);
    GenerationRate = MeasureRate(shell->ReadClock() - generationStart, GenerationRate);
    PrepareView();
    shell->PaintStep();
    const double frameSeconds = shell->ReadClock() - frameStart;
    FrameRate = MeasureRate(frameSeconds, FrameRate);
    threadChoice.Record(frameSeconds);
  }

  // The table and the noise base are whole again before anything may look at them.
  CatchUpNoiseBase(PhaseTable, NoiseBaseImage, NoiseBaseBehind);

  // Reported before anything is deleted, so the peak includes the whole run.
  if (DemoOutput) {
    std::fprintf(DemoOutput, "\n\nMax use of memory: %" PRIu64 " bytes\n", MemoryPeak.load());
    std::fflush(DemoOutput);
  }
  shell->CloseFirstPhase();

  delete[] PhaseTable;
  PhaseTable = nullptr;
  Delete(NoiseBaseImage);
  Delete(NoiseTempImage);
  Delete(BlobImage);
  Delete(LumpImage);
  Delete(HeightImage);
  Delete(HeightSurface);
  Delete(NormalImage);
  Delete(NormalSurface);
  Delete(ShadedImage);
  Delete(ShadedSurface);

  SetRowSplitter(previousSplitter);
  if (ownPool) Workers.Stop();
  shell->DeleteSecondPhase();
  return 1;
}

int DemoMainQuietly(DemoShell* shell) {
  FILE* output = DemoOutput;
  DemoOutput = nullptr;
  const int result = DemoMain(shell);
  DemoOutput = output;
  return result;
}
