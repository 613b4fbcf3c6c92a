// Pixel-format codes, the description every pixel routine obtains from a code, and
// the packing of a colour into a pixel value.
#pragma once

#include <cstdint>

class C_Color;

// Format codes. Names list the channels from the highest bit position down; for
// the float layouts the same order is the order from the highest address down.
namespace pixel_format {
inline constexpr int32_t Index1 = 1;  // palette index, 1 bit
inline constexpr int32_t Index2 = 2;  // palette index, 2 bits
inline constexpr int32_t Index4 = 3;  // palette index, 4 bits
inline constexpr int32_t Index8 = 4;  // palette index, 8 bits
inline constexpr int32_t Grey1 = 5;
inline constexpr int32_t Grey8 = 6;   // alpha images under key 2
inline constexpr int32_t Grey16 = 7;  // height maps
inline constexpr int32_t Grey24 = 8;
inline constexpr int32_t Grey32 = 9;
inline constexpr int32_t GreyFloat = 10;   // one f32
inline constexpr int32_t GreyDouble = 11;  // one f64
inline constexpr int32_t R3G3B2 = 12;
inline constexpr int32_t R5G5B5 = 13;
inline constexpr int32_t R5G6B5 = 14;
inline constexpr int32_t R6G5B5 = 15;
inline constexpr int32_t R5G5B6 = 16;
inline constexpr int32_t R5G5B5A1 = 17;
inline constexpr int32_t R4G4B4A4 = 18;
inline constexpr int32_t A1R5G5B5 = 19;
inline constexpr int32_t A4R4G4B4 = 20;
inline constexpr int32_t R8G8B8 = 21;
inline constexpr int32_t R16G16B16 = 22;
inline constexpr int32_t R8G8B8A8 = 23;  // normal and shaded images
inline constexpr int32_t A8R8G8B8 = 24;  // the display format
inline constexpr int32_t R16G16B16A16 = 25;
inline constexpr int32_t A16R16G16B16 = 26;
inline constexpr int32_t B2G3R3 = 27;
inline constexpr int32_t B5G5R5 = 28;
inline constexpr int32_t B5G6R5 = 29;
inline constexpr int32_t B6G5R5 = 30;
inline constexpr int32_t B5G5R6 = 31;
inline constexpr int32_t B5G5R5A1 = 32;
inline constexpr int32_t B4G4R4A4 = 33;
inline constexpr int32_t A1B5G5R5 = 34;
inline constexpr int32_t A4B4G4R4 = 35;
inline constexpr int32_t B8G8R8 = 36;
inline constexpr int32_t B16G16R16 = 37;
inline constexpr int32_t B8G8R8A8 = 38;
inline constexpr int32_t A8B8G8R8 = 39;
inline constexpr int32_t B16G16R16A16 = 40;
inline constexpr int32_t A16B16G16R16 = 41;
inline constexpr int32_t RGBFloat = 42;   // f32 blue, green, red in memory
inline constexpr int32_t RGBAFloat = 43;  // f32 alpha, blue, green, red in memory
inline constexpr int32_t ARGBFloat = 44;  // f32 blue, green, red, alpha in memory
inline constexpr int32_t BGRFloat = 45;   // f32 red, green, blue in memory
inline constexpr int32_t BGRAFloat = 46;  // f32 alpha, red, green, blue in memory
inline constexpr int32_t ABGRFloat = 47;  // f32 red, green, blue, alpha in memory
inline constexpr int32_t First = 1;
inline constexpr int32_t Last = 47;
// Not formats: an image or palette without pixels, and a second marker of the same kind.
inline constexpr int32_t None = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t Placeholder = static_cast<int32_t>(0x80000002u);
}  // namespace pixel_format

enum ComponentType : uint8_t {
  ComponentBit = 1,      // single-bit pixels
  ComponentInteger = 2,  // unsigned integer channels
  ComponentFloat = 3,    // 32-bit floats
  ComponentDouble = 4,   // 64-bit floats
};

// Channels: 0 red (or grey, or palette index), 1 green, 2 blue, 3 alpha.
struct FormatDescriptor {
  int32_t Format = 0;         // the code described
  uint32_t Shift[4] = {};     // bit position of each channel in the pixel value
  uint32_t Mask[4] = {};      // 0 above 32 bits per pixel, for floats and absent channels
  uint32_t Bits[4] = {};      // 0 for an absent channel
  uint32_t BitsPerPixel = 0;  // 0 for the placeholders and unknown codes
  uint8_t BytesPerPixel = 0;  // 1 below 8 bits per pixel, else BitsPerPixel / 8
  uint8_t Indexed = 0;        // 1 for palette-index formats
  uint8_t ComponentType = 0;  // a ComponentType value
  uint8_t ChannelCount = 0;   // 1, 3 or 4
};

// Fills the descriptor from the format table. The two placeholders set only Format
// and succeed; other unknown codes fail with BitsPerPixel 0. Records no error.
bool DescribeFormat(int32_t code, FormatDescriptor& descriptor);

// The pixel value of a colour in an integer format of at most 32 bits; 0 (with
// error 15) for an undescribed format.
uint32_t PackColor(int32_t format, const C_Color& color);
