// Reference-picture checks for the suites that draw: compare a drawn image with the
// expected one and, when they differ, save both and a picture of the difference as
// PNG for a person to look at; and reference pictures kept as PNG files in the
// source tree, which DF_UPDATE_PICTURES=1 in the environment rewrites from what is
// drawn (scripts/update-pictures.sh runs every suite that keeps some).
#pragma once

#include <gtest/gtest.h>

#include <string>

class C_Image;

// Success when both images have the same size and format and equal pixel rows.
// Otherwise the failure names the first differing pixel and the count of
// differing pixels, and <name>.actual.png, <name>.expected.png and (for pictures
// of one size) <name>.difference.png, the expected picture dimmed with the
// differing pixels in magenta, are written to DF_TEST_OUTPUT_DIR/raster/ (the path
// is in the message).
::testing::AssertionResult MatchesPicture(const std::string& name, const C_Image& actual,
                                          const C_Image& expected);

// Writes image as PNG (colour channels only); false when it cannot be converted.
bool WritePicturePng(const std::string& path, const C_Image& image);

// Reads an RGB PNG into a top-down R8G8B8 image; false when it cannot.
bool ReadPicturePng(const std::string& path, C_Image& image);

// True when DF_UPDATE_PICTURES is set: stored pictures are rewritten, not compared.
bool UpdatingPictures();

// Compares actual, by its colours, with the stored picture <folder>/<name>.png; the
// saved pictures of a mismatch are named <prefix><name>. When updating, writes the
// stored picture instead (as small a PNG as libpng makes) and succeeds.
::testing::AssertionResult MatchesStoredPicture(const std::string& folder, const std::string& name,
                                                const C_Image& actual,
                                                const std::string& prefix = "");
