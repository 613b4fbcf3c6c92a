// The system colour table: the classic default desktop scheme of grey 3-D
// controls, navy captions and a teal desktop.
#include "platform/system_color.h"

#include "graphics/geometry/color.h"

namespace {

struct Rgb {
  uint8_t Red;
  uint8_t Green;
  uint8_t Blue;
};

constexpr Rgb kTable[] = {
    {0, 0, 0},        // 0 3-D dark shadow
    {192, 192, 192},  // 1 3-D face
    {192, 192, 192},  // 2 button face
    {255, 255, 255},  // 3 3-D highlight
    {255, 255, 255},  // 4 3-D highlight
    {255, 255, 255},  // 5 button highlight
    {255, 255, 255},  // 6 button highlight
    {223, 223, 223},  // 7 3-D light
    {128, 128, 128},  // 8 3-D shadow
    {128, 128, 128},  // 9 button shadow
    {192, 192, 192},  // 10 active border
    {0, 0, 128},      // 11 active caption
    {128, 128, 128},  // 12 application workspace
    {0, 128, 128},    // 13 desktop background
    {0, 128, 128},    // 14 desktop background
    {0, 0, 0},        // 15 button text
    {255, 255, 255},  // 16 caption text
    {128, 128, 128},  // 17 grey text
    {0, 0, 128},      // 18 highlight
    {255, 255, 255},  // 19 highlight text
    {192, 192, 192},  // 20 inactive border
    {128, 128, 128},  // 21 inactive caption
    {192, 192, 192},  // 22 inactive caption text
    {255, 255, 225},  // 23 tooltip background
    {0, 0, 0},        // 24 tooltip text
    {192, 192, 192},  // 25 menu
    {0, 0, 0},        // 26 menu text
    {192, 192, 192},  // 27 scroll bar
    {0, 0, 0},        // 28 none
    {0, 0, 0},        // 29 none
    {255, 255, 255},  // 30 window
    {0, 0, 0},        // 31 window frame
    {0, 0, 0},        // 32 window text
};

}  // namespace

void GetSystemColorBytes(int32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) {
  constexpr int32_t kCount = static_cast<int32_t>(sizeof kTable / sizeof kTable[0]);
  const Rgb rgb = index >= 0 && index < kCount ? kTable[index] : Rgb{0, 0, 0};
  red = rgb.Red;
  green = rgb.Green;
  blue = rgb.Blue;
}

bool GetSystemColor(int32_t index, C_Color& colour) {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  GetSystemColorBytes(index, red, green, blue);
  colour = C_Color::FromBytes(red, green, blue);
  return true;
}
