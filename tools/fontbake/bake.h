// Baking one bitmap font from the four style files of a TrueType face.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class C_Font;

struct BakeSettings {
  std::vector<int32_t> Sizes;   // pixel sizes of the ladder
  std::vector<uint8_t> Styles;  // style codes 4..7 to bake
  std::vector<uint8_t> Kinds;   // kinds to bake (0 and 10)
  std::vector<uint8_t> Codes;   // character codes (Latin-1 code points)
  int32_t PageWidth = 1024;
  int32_t PageHeight = 1024;
};

// The files of one face: regular, bold, italic, bold italic (style codes 4..7).
struct FaceFiles {
  std::string Styles[4];
};

// A new font named after the face's family with one glyph per code the regular
// file maps, each with the same list of variants (kind, then style, then size,
// ascending), and the pages they are packed into: an 8-bit coverage image under
// key 2 and a white 8-bit colour image under key 1. Null with a message on stderr.
C_Font* BakeFont(const FaceFiles& files, const BakeSettings& settings);
