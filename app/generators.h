// The three shape generators of the demo (lumps, blobs, tileable lattice noise) and
// the 16-bit fixed-point pieces they are built from. All work on 16-bit grey images.
// The frame routines (particle frames, the noise refresh and octaves) share their
// rows out on the process's worker pool while it runs; their results do not depend
// on the number of threads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/vector2d.h"

class C_Image;

// One drifting stamp: its position at the start time and its velocity.
struct Particle {
  C_Vector2D Start;     // pixels; x and y in 0..511 as drawn at start-up
  C_Vector2D Velocity;  // pixels per second; length 100
};

// One lattice value's oscillator. Phases wrap around at the 32-bit limit.
struct PhasePair {
  int32_t Phase;  // folded into 0..65535 by RefreshNoiseBase
  int32_t Speed;  // added to Phase every Perlin Noise frame; 512..1279 as drawn
};

// A clock the generators read for the position of each particle: seconds.
struct ClockSource {
  double (*Read)(void* context);  // returns the current time in seconds
  void* Context;                  // handed to Read
  double operator()() const { return Read(Context); }
};

inline constexpr int32_t kNoiseSide = 512;                              // noise and height side
inline constexpr size_t kPhaseCount = size_t(kNoiseSide) * kNoiseSide;  // PhaseTable pairs
inline constexpr int32_t kOctaveCount = 6;
inline constexpr int32_t kLumpCount = 200;  // particles stamped in Lumps mode
inline constexpr int32_t kBlobCount = 60;   // the first particles, stamped in Blobs mode
// The lattice count of each octave (the same for columns and rows).
inline constexpr int32_t kOctaveLattice[kOctaveCount] = {8, 16, 32, 64, 128, 256};

// The smoothstep blend of f and e at t (all 0..65535), 16-bit fixed point. Exactly
// f + floor(S (e - f) / 65536) with S = trunc(trunc(t^2 / 65536) (196608 - 2t) / 65536);
// formed as (f (65536 - S) + e S) / 65536, which is the same number without a signed
// product (both terms are non-negative and their sum stays below 2^32).
inline uint32_t SmoothWeight(uint32_t t) {
  return ((t * t) >> 16) * (196608u - 2u * t) >> 16;
}
inline uint32_t SmoothInterpolate(uint32_t f, uint32_t e, uint32_t t) {
  const uint32_t s = SmoothWeight(t);
  return ((f * (65536u - s) + e * s) >> 16) & 0xFFFF;
}
// The same blend for a weight s already formed (0..65535), in 16-bit pieces only:
// with e s = 65536 hE + lE and f s = 65536 hF + lF, the sum 65536 f + e s - f s
// divided by 65536 is f + hE - hF, less one when lE < lF. Vectorised loops turn
// the halves into 16-bit high and low multiplies, 16 lanes to a 256-bit register.
inline uint16_t Blend16(uint16_t f, uint16_t e, uint16_t s) {
  const uint16_t highE = uint16_t((uint32_t(e) * s) >> 16);
  const uint16_t highF = uint16_t((uint32_t(f) * s) >> 16);
  const uint16_t lowE = uint16_t(uint32_t(e) * s);
  const uint16_t lowF = uint16_t(uint32_t(f) * s);
  return uint16_t(f + highE - highF - (lowE < lowF ? 1 : 0));
}

// Amplitude of octave i (0..5), rounded to f32 at every step; 0 outside 0..5.
float OctaveAmplitude(int32_t octave);
// Its 16.16 multiplier trunc(amplitude x 65536); 0 for amplitudes that are NaN,
// negative or too large for 32 bits. (The row pass's product wraps at 32 bits.)
uint32_t OctaveMultiplier(float amplitude);

// Fill a grey image with the hemisphere (lump) or the cone (blob) of radius
// width / 2. False, drawing nothing, for an absent or undescribed image or one that
// is not 16 bits per pixel.
bool MakeLumpShape(C_Image* image);
bool MakeBlobShape(C_Image* image);

// Combine source into target with source's top-left pixel at trunc(position), by
// maximum or by folding addition (sums above 65535 reflect back down). Clipped to
// the target; a position that is not a finite value in the 32-bit range draws
// nothing. False, drawing nothing, unless both images are 16 bits per pixel.
bool StampMax(const C_Image* source, C_Image* target, const C_Vector2D& position);
bool StampAddFold(const C_Image* source, C_Image* target, const C_Vector2D& position);

// What a frame routine finds in the height field it draws into: what is there (the
// routine combines with it), or nothing yet (the routine first makes it black, or
// writes every pixel without reading it). Black gives the same pixels as
// FillImage with black before the routine, in one pass over the rows instead of two.
enum class HeightStart { Kept, Black };

// The Lumps and Blobs frames: particle i is stamped at its wrapped position for the
// time clock() - startTime (read once per particle) and at its eight tile copies.
// With HeightStart::Black each band of rows is cleared just before its stamps.
void DrawLumps(const C_Image* lump, C_Image* height, const Particle* particles, double startTime,
               ClockSource clock, HeightStart start = HeightStart::Kept);
void DrawBlobs(const C_Image* blob, C_Image* height, const Particle* particles, double startTime,
               ClockSource clock, HeightStart start = HeightStart::Kept);

// phase += speed for every pair, wrapping at 32 bits.
void AdvancePhaseTable(PhasePair* table, size_t count);
// image(x, y) = TriangleFold(table[y * 512 + x].Phase, 65535) over the image; the
// table holds kPhaseCount pairs, 512 per row. False, writing nothing, for an absent
// table, an absent or unsuitable image, or one wider or taller than 512.
bool RefreshNoiseBase(const PhasePair* table, C_Image* image);

// Both of the above in one pass over the table (the same results): every one of the
// count pairs advances, and the image is refreshed from the new phases. False, after
// advancing the table, for an image that RefreshNoiseBase refuses or that has more
// rows than the table; false, doing nothing, without a table.
bool AdvanceAndRefreshNoiseBase(PhasePair* table, size_t count, C_Image* image);

// The corner of the noise base that the six octaves read: the largest octave's
// lattice, its columns and rows from the top-left.
inline constexpr int32_t kLatticeCorner = kOctaveLattice[kOctaveCount - 1];

// The Perlin Noise frame's step of the lattice values, kept to what the octaves
// read: the pairs and pixels of the corner (rows and columns 0..kLatticeCorner - 1)
// advance and refresh as AdvanceAndRefreshNoiseBase would; the rest of the table
// and the image, three quarters of both, stay as they are and fall one frame
// further behind, counted in behind. CatchUpNoiseBase brings that rest up to date
// (phase + n x speed is n single steps, modulo 2^32 alike) and sets behind to 0:
// then table and image are what AdvanceAndRefreshNoiseBase every frame makes.
// Both need a table of kPhaseCount pairs and a 512 x 512 16-bit image; otherwise
// AdvanceNoiseCorner catches up and takes the whole step (its result), and
// CatchUpNoiseBase advances the table alone and returns false.
bool AdvanceNoiseCorner(PhasePair* table, C_Image* image, uint32_t& behind);
bool CatchUpNoiseBase(PhasePair* table, C_Image* image, uint32_t& behind);

// Adds one octave of lattice noise: a column pass from base into temp, then a row
// pass from temp added (modulo 65536) into height. columns and rows are the lattice
// counts, 1..512; all three images must be 16-bit and at least 512 x 512, otherwise
// nothing is written and the result is false.
bool AddNoiseOctave(const C_Image* base, C_Image* temp, C_Image* height, int32_t columns,
                    int32_t rows, float amplitude);
// The six octaves of the Perlin Noise frame, in order. With HeightStart::Black the
// sum is stored over a 512 x 512 height field instead of added to it (any other
// size is filled black first); a call that fails leaves the field black then.
bool AddNoiseOctaves(const C_Image* base, C_Image* temp, C_Image* height,
                     HeightStart start = HeightStart::Kept);
