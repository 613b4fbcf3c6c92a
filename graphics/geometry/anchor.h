// Anchor bytes: how a stored coordinate or point resolves against a parent
// rectangle. Low nibble horizontal (X), high nibble vertical (Y), same codes.
#pragma once

#include <cstdint>

// One nibble of an anchor byte. The names speak of the horizontal axis; the
// vertical axis uses the same values with top for "start" and bottom for "end".
enum AnchorCode : uint8_t {
  AnchorStart = 0x0,            // parent's left (top) edge + value
  AnchorEnd = 0x1,              // parent's right (bottom) edge + value
  AnchorMiddle = 0x2,           // parent's centre + value
  AnchorExtent = 0x3,           // second edge only: resolved first edge + value (a width)
  AnchorAbsolute = 0x4,         // value kept as it is
  AnchorExtentAlt = 0x5,        // resolves exactly like AnchorExtent
  AnchorFractionOfStart = 0x6,  // parent's left edge + parent width x value
  AnchorFractionOfEnd = 0x7,    // parent's right edge + parent width x value (usually < 0)
  AnchorAfterPrevious = 0x8,    // first edge only: previous sibling's far edge + value
  AnchorBeforeNext = 0x9,       // second edge only: next sibling's near edge + value
  AnchorGridFromStart = 0xC,    // grid cell counted from the parent's left edge
  AnchorGridFromEnd = 0xD,      // grid cell counted from the parent's right edge
};

// The byte of a rectangle or point whose coordinates are already absolute.
inline constexpr uint8_t kAnchorResolved = 0x44;

// Builds an anchor byte from a horizontal and a vertical code.
constexpr uint8_t MakeAnchor(AnchorCode horizontal, AnchorCode vertical) {
  return static_cast<uint8_t>((horizontal & 0x0F) | ((vertical & 0x0F) << 4));
}

// The horizontal code of an anchor byte (0..15).
constexpr uint8_t HorizontalAnchor(uint8_t anchor) {
  return anchor & 0x0F;
}
// The vertical code of an anchor byte, moved down to 0..15.
constexpr uint8_t VerticalAnchor(uint8_t anchor) {
  return anchor >> 4;
}

// True for the codes that give a second edge as a size from the first.
constexpr bool IsExtentCode(uint8_t code) {
  return code == AnchorExtent || code == AnchorExtentAlt;
}

// How far along a span of the given length a code aligns: the whole length for
// AnchorEnd, half of it for AnchorMiddle, nothing for any other code.
constexpr float AlignAlong(uint8_t code, float length) {
  return code == AnchorEnd ? length : code == AnchorMiddle ? length * 0.5f : 0.0f;
}
