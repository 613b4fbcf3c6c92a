// The application driver's process-wide state: the working images and surfaces,
// the noise phase table, the particles, the two modes, the light and the rates.
// Created by DemoMain's start-up and deleted by its shutdown (null outside).
#pragma once

#include <cstdint>
#include <cstdio>

#include "app/generators.h"
#include "core/vector3d.h"

class C_Image;
class C_Surface;

enum ShapeModes : int32_t { ShapeLumps = 0, ShapeBlobs = 1, ShapePerlinNoise = 2 };
enum ViewModes : int32_t { ViewHeightMap = 0, ViewNormalMap = 1, ViewBumpMapping = 2 };

extern C_Image* HeightImage;      // 512 x 512, 16-bit grey: every generator's target
extern C_Image* NormalImage;      // 512 x 512, R8G8B8A8: the normal map
extern C_Image* ShadedImage;      // 512 x 512, R8G8B8A8: the bump-shaded view
extern C_Image* NoiseBaseImage;   // 512 x 512, 16-bit: lattice values of Perlin Noise
extern C_Image* NoiseTempImage;   // 512 x 512, 16-bit: each octave's column pass
extern C_Image* LumpImage;        // 100 x 100, 16-bit: the lump shape
extern C_Image* BlobImage;        // 300 x 300, 16-bit: the blob shape
extern C_Surface* HeightSurface;  // wrap HeightImage, NormalImage, ShadedImage for
extern C_Surface* NormalSurface;  // drawing; they do not own the images
extern C_Surface* ShadedSurface;

extern PhasePair* PhaseTable;           // kPhaseCount pairs, 512 per row
extern uint32_t NoiseBaseBehind;        // frames the table and base lag outside the octaves' corner
extern Particle Particles[kLumpCount];  // start positions and velocities
extern int32_t ShapeMode;               // a ShapeModes value; others draw nothing
extern int32_t ViewMode;                // a ViewModes value; others prepare nothing
extern C_Vector3D LightDirection;       // initially (-128, -128, 256); direction only
extern double StartTime;                // clock seconds at start-up: origin of motion
extern float GenerationRate;            // 1 / seconds of the last shape generation
extern float FrameRate;                 // 1 / seconds of the last whole frame
extern FILE* DemoOutput;                // where the driver's and shell's lines go; none if null

// The light's initial direction.
inline constexpr float kInitialLight[3] = {-128, -128, 256};

// The rate for a measured interval: 1 / seconds. An interval that is not positive
// (the clock did not advance, or went back) or NaN leaves the previous rate, and
// rates above kMaxRate are shown as kMaxRate, so that the rate is always a finite
// number that converts to an integer safely.
inline constexpr float kMaxRate = 1.0e9f;
float MeasureRate(double seconds, float previous);
// A rate as the whole number the status line shows (NaN as 0, limited to kMaxRate).
int32_t RateForDisplay(float rate);

// The demo's forms of the generator steps, on the images above.
bool RefreshNoiseBase();
bool AddNoiseOctave(int32_t columns, int32_t rows, float amplitude);
