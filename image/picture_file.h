// LoadImageFile: fills an image from a BMP, PCX or TGA picture file, the reader
// chosen by the file name's extension.
#pragma once

class C_Image;

// Empties the image, then reads the file with the reader its extension names
// (case-insensitive "BMP", "PCX", "TGA"). "JPG" and "JPEG" are recognised but not
// decoded: false with nothing recorded. Any other extension records -1. After every
// failure the image is empty and nothing the reader allocated is still counted.
bool LoadImageFile(const char* path, C_Image* image);
