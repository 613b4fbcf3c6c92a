#include "app/demo_state.h"

#include <cmath>

#include "app/normal_map.h"
#include "image/image.h"

C_Image* HeightImage = nullptr;
C_Image* NormalImage = nullptr;
C_Image* ShadedImage = nullptr;
C_Image* NoiseBaseImage = nullptr;
C_Image* NoiseTempImage = nullptr;
C_Image* LumpImage = nullptr;
C_Image* BlobImage = nullptr;
C_Surface* HeightSurface = nullptr;
C_Surface* NormalSurface = nullptr;
C_Surface* ShadedSurface = nullptr;

PhasePair* PhaseTable = nullptr;
uint32_t NoiseBaseBehind = 0;
Particle Particles[kLumpCount];
int32_t ShapeMode = ShapeLumps;
int32_t ViewMode = ViewHeightMap;
C_Vector3D LightDirection(kInitialLight[0], kInitialLight[1], kInitialLight[2]);
double StartTime = 0;
float GenerationRate = 0;
float FrameRate = 0;
FILE* DemoOutput = stdout;

float MeasureRate(double seconds, float previous) {
  if (!(seconds > 0)) return previous;
  const double rate = 1.0 / seconds;
  return rate < double(kMaxRate) ? float(rate) : kMaxRate;
}

int32_t RateForDisplay(float rate) {
  if (!(rate > 0)) return 0;  // NaN and non-positive
  return rate < kMaxRate ? int32_t(rate) : int32_t(kMaxRate);
}

bool RefreshNoiseBase() {
  return RefreshNoiseBase(PhaseTable, NoiseBaseImage);
}

bool AddNoiseOctave(int32_t columns, int32_t rows, float amplitude) {
  return AddNoiseOctave(NoiseBaseImage, NoiseTempImage, HeightImage, columns, rows, amplitude);
}

bool BuildNormalMap() {
  return BuildNormalMap(HeightImage, NormalImage);
}

bool ShadeBump() {
  return ShadeBump(NormalImage, ShadedImage, LightDirection);
}
