// The layout rules of the stored image and surface records that more than their
// readers need: tools that describe records follow the same rules.
#pragma once

#include <cstdint>

#include "image/pixel_format.h"

// A surface record's channel list: the list marker, then an entry marker before
// each channel's key and image, then the end marker.
inline constexpr uint8_t kChannelListMarker = 0x7F;
inline constexpr uint8_t kChannelListEnd = 0x80;
inline constexpr uint8_t kChannelEntryMarker = 0x81;

// True when an image record of the described format carries its pixel rows. The
// single-bit formats and the 48- and 64-bit integer formats carry none: the loader
// allocates their pixels without reading any.
inline bool RecordStoresRows(const FormatDescriptor& d) {
  if (d.ComponentType == ComponentBit) return false;
  if (d.ComponentType == ComponentInteger && d.BitsPerPixel > 32) return false;
  return d.BitsPerPixel > 0;
}
