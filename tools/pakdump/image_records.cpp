// Record layouts of the image classes: images (header and palette shown, pixel rows
// skipped) and surfaces (channel keys with their images, Extra, Columns, Rows).
#include "core/class_id.h"
#include "image/pixel_format.h"
#include "image/record_layout.h"
#include "tools/pakdump/record_dumper.h"

namespace {

// Bits per pixel of a format; -1 when the code has no description.
int FormatBits(uint32_t format) {
  const int32_t code = static_cast<int32_t>(format);
  if (code == pixel_format::None || code == pixel_format::Placeholder) return 0;
  FormatDescriptor descriptor;
  if (!DescribeFormat(static_cast<int32_t>(format), descriptor)) return -1;
  return static_cast<int>(descriptor.BitsPerPixel);
}

// Whether the record carries rows, by the loader's own rule.
bool RowsAreStored(uint32_t format) {
  FormatDescriptor descriptor;
  return DescribeFormat(static_cast<int32_t>(format), descriptor) && RecordStoresRows(descriptor);
}

bool DescribeImage(RecordDumper& d) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  if (version != FormatVersion) {
    d.Note("(version is not 100: the loader reads nothing more of this image)");
    return true;
  }
  uint32_t pixelBytes = 0, width = 0, height = 0, pitch = 0, storedBits = 0, format = 0;
  uint32_t paletteBytes = 0;
  const int64_t pixelBytesAt = d.Offset();
  if (!d.U32("PixelBytes", &pixelBytes) || !d.U32("Width", &width) || !d.U32("Height", &height) ||
      !d.U32("Pitch", &pitch) || !d.U32("BitsPerPixel", &storedBits)) {
    return false;
  }
  const int64_t formatAt = d.Offset();
  if (!d.U32("Format", &format, Shown::Code) || !d.U32("PaletteBytes", &paletteBytes)) return false;
  // A count of 0, or one that is negative as a signed value, stands for no palette.
  if (static_cast<int32_t>(paletteBytes) > 0) {
    if (!d.U32("PaletteFormat", nullptr, Shown::Code) || !d.U32("PaletteEntryBits") ||
        !d.Skip("palette", paletteBytes, std::to_string(paletteBytes) + " bytes (not shown)")) {
      return false;
    }
  }
  const int bits = FormatBits(format);
  if (bits < 0) {
    return d.MalformedAt(formatAt, "pixel format " + std::to_string(format) +
                                       " has no description (the loader fails here)");
  }
  if (static_cast<uint32_t>(bits) != storedBits) {
    d.Note("(BitsPerPixel differs from the " + std::to_string(bits) + " bits of format " +
           std::to_string(format) + ")");
  }
  if (!RowsAreStored(format)) {
    d.Note("(format " + std::to_string(format) + " stores no pixel rows)");
    return true;
  }
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 7) / 8;
  if (height == 0 || rowBytes == 0) {
    d.Note("(no pixel rows)");
    return true;
  }
  // Rows go to Pixels + row x Pitch, so the last row must end inside PixelBytes.
  const uint64_t lastRowEnd = static_cast<uint64_t>(pitch) * (height - 1) + rowBytes;
  if (pitch < rowBytes || lastRowEnd > pixelBytes) {
    return d.MalformedAt(pixelBytesAt, std::to_string(height) + " rows of " +
                                           std::to_string(rowBytes) + " bytes, " +
                                           std::to_string(pitch) + " apart, do not fit in " +
                                           std::to_string(pixelBytes) + " PixelBytes");
  }
  if (height > static_cast<uint64_t>(d.Remaining()) / rowBytes) {
    return d.Malformed(std::to_string(height) + " pixel rows of " + std::to_string(rowBytes) +
                       " bytes need " + std::to_string(height * rowBytes) + " bytes but only " +
                       std::to_string(d.Remaining()) + " remain");
  }
  const uint64_t total = height * rowBytes;
  return d.Skip("pixels", total,
                std::to_string(height) + (height == 1 ? " row of " : " rows of ") +
                    std::to_string(rowBytes) + " bytes (" + std::to_string(total) +
                    " bytes, not shown)");
}

// After a 0x7F marker the loader reads byte by byte: 0x81 starts a channel, 0x80 or
// the end of the data ends the list, and any other byte is passed over.
bool DescribeChannelList(RecordDumper& d) {
  for (;;) {
    const int next = d.PeekByte();
    if (next < 0) {
      d.Note("(the data ends inside the channel list)");
      return !d.Failed();
    }
    if (next == kChannelListEnd) return d.U8("end marker");
    if (next == kChannelEntryMarker) {
      if (!d.U8("channel")) return false;
      d.Enter();
      const bool read = d.U32("key") && d.Record("image", RecordRole::Member, class_id::Image);
      d.Leave();
      if (!read) return false;
      continue;
    }
    int64_t run = 1;
    while (d.PeekByte(run) >= 0 && d.PeekByte(run) != kChannelListEnd &&
           d.PeekByte(run) != kChannelEntryMarker) {
      ++run;
    }
    const std::string what = std::to_string(run) + (run == 1 ? " byte" : " bytes") +
                             " that are neither a channel nor an end marker, first 0x" +
                             FormatHex(static_cast<uint8_t>(next), 2);
    if (!d.Skip("skipped", static_cast<uint64_t>(run), what)) return false;
  }
}

bool DescribeSurface(RecordDumper& d) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  if (version != FormatVersion) {
    d.Note("(version is not 100: the loader reads nothing more of this surface)");
    return true;
  }
  uint8_t marker = 0;
  if (!d.U8("list marker", &marker)) return false;
  if (marker == kChannelListMarker) {
    if (!DescribeChannelList(d)) return false;
  } else {
    d.Note("(no channel list)");
  }
  return d.Record("Extra", RecordRole::Held) && d.U32("Columns") && d.U32("Rows");
}

const bool registered = RegisterDescriber(class_id::Image, "C_Image", DescribeImage) &&
                        RegisterDescriber(class_id::Surface, "C_Surface", DescribeSurface);

}  // namespace
