// The program's icon: a square of lumpy, bump-lit texture under the light's warm
// glow, as the demo shows it.
#pragma once

class C_Image;

inline constexpr int kIconSize = 128;

// Paints the icon into image (kIconSize square, R8G8B8); false without memory.
bool PaintIcon(C_Image& image);
