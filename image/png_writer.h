// Writing a picture as a PNG file (colour channels only), for screenshots and
// for the pictures tests save when they differ.
#pragma once

class C_Image;

// False when the image cannot be converted or the file cannot be written.
bool WritePngFile(const char* path, const C_Image& image);
