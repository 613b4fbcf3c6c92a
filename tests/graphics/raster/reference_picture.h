// Reference-picture checks for the rasterizer tests: compare a drawn image with the
// expected one and, when they differ, save both as PNG for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <string>

class C_Image;

// Success when both images have the same size and format and equal pixel rows.
// Otherwise the failure names the first differing pixel and the count of
// differing pixels, and <name>.actual.png and <name>.expected.png are written to
// DF_TEST_OUTPUT_DIR/raster/ (the path is in the message).
::testing::AssertionResult MatchesPicture(const std::string& name, const C_Image& actual,
                                          const C_Image& expected);

// Writes image as PNG (colour channels only); false when it cannot be converted.
bool WritePicturePng(const std::string& path, const C_Image& image);
