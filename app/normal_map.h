// The two derived views of the height field: its normal map, and the normal map lit
// by one directional light (bump shading). Both share their rows out on the
// process's worker pool while it runs, with the same results on any number of
// threads.
#pragma once

#include "core/row_split.h"
#include "core/vector3d.h"

class C_Image;

// Work on rows of a view that a call has just written, done by the band that wrote
// them a few rows at a time while they are in cache (the display copy of those
// rows, say): Task(Context, first, end) for rows [first, end) of the written image.
struct RowsMade {
  RowBandTask Task = nullptr;
  void* Context = nullptr;
};

// Writes the normal of every pixel of a 16-bit height field into a 32-bit image as
// X << shift0 | Y << shift1 | Z << shift2 (the normal image's channel shifts), each
// component trunc(|n x 128 + 127|). Neighbours wrap around the height field's
// edges. False, writing nothing, for an absent or unsuitable image or a normal
// image smaller than the height field. then follows the rows written.
bool BuildNormalMap(const C_Image* height, C_Image* normal, RowsMade then = {});

// Sizes shaded like normal, then writes the Lambert shading of every decoded normal
// under the light (only its direction counts; a zero vector gives black) as a grey
// intensity 0..255 in channels 0 to 2. False, writing nothing, when an image is
// absent, cannot be sized or is not 32 bits per pixel.
bool ShadeBump(const C_Image* normal, C_Image* shaded, const C_Vector3D& light);

// BuildNormalMap then ShadeBump, with the same results in both images, done in one
// sweep over the rows (each row of normals is shaded while it is at hand) when the
// images allow it: the same size, whole-byte channels, separate pixel blocks.
// Otherwise the two calls in turn. True when both succeed. then follows the
// shaded image's rows.
bool BuildNormalMapAndShade(const C_Image* height, C_Image* normal, C_Image* shaded,
                            const C_Vector3D& light, RowsMade then = {});

// The light vector as the three integers of the shading: the direction scaled to
// length 256 and truncated (components that are not finite count as 0).
void LightIntegers(const C_Vector3D& light, int32_t out[3]);

// Test hook: the widest vectors the kernels may use, in bits. 512 (the default)
// allows AVX-512 where the processor has it, 256 at most AVX2, less the plain
// loops. ForceGenericPixelPath(true) also gives the plain loops.
void LimitViewVectorBits(int32_t bits);

// The demo's forms: HeightImage -> NormalImage, and NormalImage with LightDirection
// -> ShadedImage.
bool BuildNormalMap();
bool ShadeBump();
