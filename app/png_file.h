// Writing a picture as a PNG file (colour channels only), for screenshots.
#pragma once

class C_Image;

// False when the image cannot be converted or the file cannot be written.
bool WritePngFile(const char* path, const C_Image& image);
