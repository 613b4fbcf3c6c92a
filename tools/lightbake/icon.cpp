#include "tools/lightbake/icon.h"

#include <algorithm>
#include <cmath>

#include "image/image.h"
#include "image/pixel_format.h"

namespace {

// Lumps as the demo stamps them (hemispheres), at fixed places of the tile: x, y
// and radius in icon pixels.
struct Lump {
  double X, Y, Radius;
};
constexpr Lump kLumps[] = {{34, 36, 30},  {92, 28, 24},   {70, 78, 34},
                           {22, 104, 22}, {112, 106, 20}, {118, 62, 16}};

// The highest lump at a point, wrapping around the tile's edges.
double Height(double x, double y) {
  double height = 0;
  for (const Lump& lump : kLumps) {
    for (double dx : {-kIconSize, 0, kIconSize}) {
      for (double dy : {-kIconSize, 0, kIconSize}) {
        const double d = std::hypot(x - lump.X - dx, y - lump.Y - dy) / lump.Radius;
        if (d < 1) height = std::max(height, lump.Radius * std::sqrt(1 - d * d));
      }
    }
  }
  return height;
}

uint8_t Byte(double value) {
  return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

}  // namespace

bool PaintIcon(C_Image& image) {
  if (!image.Create(kIconSize, pixel_format::R8G8B8, kIconSize)) return false;
  // The light comes from the upper left, as the demo's starts.
  const double light[3] = {-0.45, -0.45, 0.77};
  for (int y = 0; y < kIconSize; ++y) {
    uint8_t* row = image.RowAddress(y);
    for (int x = 0; x < kIconSize; ++x) {
      const double nx = Height(x - 1, y) - Height(x + 1, y);
      const double ny = Height(x, y - 1) - Height(x, y + 1);
      const double length = std::sqrt(nx * nx + ny * ny + 4);
      const double lambert = std::max(0.0, (nx * light[0] + ny * light[1] + 2 * light[2]) / length);
      // The glow of the light sprite, centred where the light points from.
      const double glow = std::exp(-std::hypot(x - 40, y - 40) / 50);
      const double shade = 0.15 + 0.85 * lambert;
      row[3 * x + 0] = Byte(255 * shade * (0.35 + 0.25 * glow));  // blue
      row[3 * x + 1] = Byte(255 * shade * (0.62 + 0.3 * glow));   // green
      row[3 * x + 2] = Byte(255 * shade * (0.85 + 0.15 * glow));  // red
    }
  }
  return true;
}
