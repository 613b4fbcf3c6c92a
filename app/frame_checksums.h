// The four frame checksums: a fresh Perlin Noise + BumpMapping run of two frames
// with the initial light, checked as CRC-32s of the images' pixel bytes.
#pragma once

#include <cstdint>

struct FrameChecksums {
  uint32_t HeightFrame1 = 0;  // HeightImage after frame 1 (2 bytes per pixel)
  uint32_t HeightFrame2 = 0;  // HeightImage after frame 2
  uint32_t NormalFrame1 = 0;  // NormalImage after frame 1 (4 bytes per pixel)
  uint32_t ShadedFrame1 = 0;  // ShadedImage after frame 1
};

// Runs DemoMain headless from a fresh pseudo-random sequence (the process-wide one
// is left alone) with DemoOutput silenced; false if the run failed.
bool ComputeFrameChecksums(FrameChecksums& sums);
