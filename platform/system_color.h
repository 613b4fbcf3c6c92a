// System colours: the classic default desktop colours, looked up by index.
#pragma once

#include <cstdint>

class C_Color;

// Indices, ordered like the platform's colour names. 28, 29 and above 32 are black.
enum SystemColorIndex : int32_t {
  SysColor3DDarkShadow = 0,
  SysColorButtonFace = 2,       // also 1; the window's presentation background
  SysColorButtonHighlight = 3,  // also 4 to 6
  SysColor3DLight = 7,
  SysColorButtonShadow = 8,  // also 9
  SysColorActiveBorder = 10,
  SysColorActiveCaption = 11,
  SysColorAppWorkspace = 12,
  SysColorDesktop = 13,  // also 14
  SysColorButtonText = 15,
  SysColorCaptionText = 16,
  SysColorGrayText = 17,
  SysColorHighlight = 18,
  SysColorHighlightText = 19,
  SysColorInactiveBorder = 20,
  SysColorInactiveCaption = 21,
  SysColorInactiveCaptionText = 22,
  SysColorTooltip = 23,
  SysColorTooltipText = 24,
  SysColorMenu = 25,
  SysColorMenuText = 26,
  SysColorScrollBar = 27,
  SysColorWindow = 30,
  SysColorWindowFrame = 31,
  SysColorWindowText = 32,
};

// Fills colour with the system colour of index (bytes / 255, alpha 1); opaque
// black for an index without one. Always true.
bool GetSystemColor(int32_t index, C_Color& colour);

// The same colour as 8-bit red, green and blue.
void GetSystemColorBytes(int32_t index, uint8_t& red, uint8_t& green, uint8_t& blue);
