// Cursor shapes: the codes windows and widgets use for the pointer's look.
#pragma once

#include <cstdint>

enum CursorShapeCode : uint16_t {
  CursorAppStarting = 64,  // arrow with hourglass
  CursorArrow = 65,        // standard arrow
  CursorCross = 66,        // cross-hair
  CursorHelp = 67,         // arrow with question mark
  CursorIcon = 68,         // legacy icon cursor (a small hollow square)
  CursorNo = 69,           // slashed circle
  CursorSize = 70,         // legacy four-way size cursor
  CursorSizeAll = 71,      // four-way move
  CursorSizeNESW = 72,     // diagonal resize, north-east to south-west
  CursorSizeNS = 73,       // vertical resize
  CursorSizeNWSE = 74,     // diagonal resize, north-west to south-east
  CursorSizeWE = 75,       // horizontal resize
  CursorUpArrow = 76,      // vertical arrow
  CursorWait = 77,         // hourglass
};

// Shows the cursor of a code; other codes, and shapes the video driver cannot
// make, leave the cursor unchanged. Always true.
bool SetCursorShape(int32_t code);
