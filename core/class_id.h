// The 16-bit class identifiers that start every stored record.
#pragma once

#include <cstdint>

namespace class_id {
inline constexpr uint16_t None = 0;  // a missing object in a stream
inline constexpr uint16_t Color = 1;
inline constexpr uint16_t FontType = 2;  // also written by C_TextFormat
inline constexpr uint16_t BitmapGlyph = 5;
inline constexpr uint16_t Glyph = 6;
inline constexpr uint16_t Font = 7;
inline constexpr uint16_t Image = 8;
inline constexpr uint16_t Circle = 10;
inline constexpr uint16_t Rect = 11;
inline constexpr uint16_t String = 13;
inline constexpr uint16_t Surface = 15;
inline constexpr uint16_t Complex = 16;
inline constexpr uint16_t Vector2D = 18;
inline constexpr uint16_t Vector3D = 19;
inline constexpr uint16_t Vector4D = 20;
inline constexpr uint16_t Object = 21;  // also written by C_Array and C_Channel
inline constexpr uint16_t Collection = 22;
inline constexpr uint16_t ArrayFactory = 23;  // where the C_Array factory is registered
inline constexpr uint16_t Resource = 24;
inline constexpr uint16_t Thread = 25;
inline constexpr uint16_t Pointer = 26;  // also reported by C_Window
inline constexpr uint16_t Window = 26;   // C_Window; never registered (26 creates a C_Pointer)
inline constexpr uint16_t Size = 27;
inline constexpr uint16_t LayerRect = 101;
inline constexpr uint16_t LayerLine = 102;
inline constexpr uint16_t LayerText = 103;
inline constexpr uint16_t LayerImage = 105;
inline constexpr uint16_t LayerBrush = 106;
inline constexpr uint16_t LayerZone = 107;
inline constexpr uint16_t Decal = 108;
inline constexpr uint16_t Widget = 109;
inline constexpr uint16_t Form = 110;
inline constexpr uint16_t ScrollBar = 111;
inline constexpr uint16_t TextBox = 112;
inline constexpr uint16_t Desktop = 126;
}  // namespace class_id

// Version word at the start of the contents of the larger stored classes.
inline constexpr uint16_t FormatVersion = 100;
