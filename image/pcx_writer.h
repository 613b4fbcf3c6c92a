// ZSoft PCX writer: the two layouts the PCX reader takes back, run-length encoded.
#pragma once

#include <cstdint>
#include <vector>

class C_Image;

// Encodes an Index8 image (its palette of blue, green, red triples written as the
// trailing 256-colour palette; a grey ramp when it has none) or an R8G8B8 or
// A8R8G8B8 image (three planes, red, green, blue; alpha is dropped). False with
// ErrorMissingArgument for a missing or empty image, ErrorNoFormat for any other
// format or a picture larger than the reader takes, then -1.
bool EncodePcx(const C_Image* image, std::vector<uint8_t>& bytes);

// EncodePcx into a file; ErrorCannotOpen when the file cannot be written.
bool SavePcxFile(const C_Image* image, const char* path);
