// Writing a picture as a PNG file (colour channels only), for screenshots and
// for the pictures tests save when they differ.
#pragma once

class C_Image;

// False when the image cannot be converted or the file cannot be written.
bool WritePngFile(const char* path, const C_Image& image);

// Writes a 16-bit grey image as a 16-bit grey PNG, every sample as it is (the
// file is marked linear: heights, not brightness). False for any other format or
// when the file cannot be written.
bool WriteGrey16PngFile(const char* path, const C_Image& image);
