// Record layouts of the font classes. A font's glyphs are not listed one by one (a
// baked font holds tens of thousands of variants): they are walked without being
// printed and summed up as the glyph count, the codes, and the variant ladder of
// each kind and style; its pages are shown as records.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/class_id.h"
#include "tools/pakdump/record_dumper.h"

namespace {

constexpr uint16_t kVersion = 100;
constexpr int64_t kVariantBytes = 28;  // id, version, size, kind, style, page, eight i16

// Little-endian values `ahead` bytes on, without reading; -1 past the data.
int64_t Peek(const RecordDumper& d, int64_t ahead, int bytes) {
  int64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    const int b = d.PeekByte(ahead + i);
    if (b < 0) return -1;
    value |= static_cast<int64_t>(b) << (8 * i);
  }
  return value;
}

// A signed 16-bit field.
bool I16(RecordDumper& d, const char* name) {
  const int64_t v = Peek(d, 0, 2);
  if (v < 0) return d.Malformed(name);
  return d.Skip(name, 2, std::to_string(static_cast<int16_t>(static_cast<uint16_t>(v))));
}

bool DescribeFontType(RecordDumper& d) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  if (version != kVersion) {
    d.Note("(version is not 100: the loader reads nothing more of this font type)");
    return true;
  }
  return d.Record("Name", RecordRole::Member, class_id::String) &&
         d.U8("Kind", nullptr, Shown::Decimal) && d.U8("StyleFlag1 (first copy)") &&
         d.U8("StyleFlag2 (first copy)") && d.U8("spare") && d.F32("Size") && d.U8("StyleFlag1") &&
         d.U8("StyleFlag2");
}

bool DescribeBitmapGlyph(RecordDumper& d) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  if (version != kVersion) {
    d.Note("(version is not 100: the loader reads nothing more of this variant)");
    return true;
  }
  if (!d.U16("PixelSize") || !d.U8("Kind", nullptr, Shown::Decimal) ||
      !d.U8("Style", nullptr, Shown::Decimal) || !d.U32("Page", nullptr, Shown::Code)) {
    return false;
  }
  for (const char* name : {"Source.X1", "Source.Y1", "Source.X2", "Source.Y2", "Advance.X",
                           "Advance.Y", "Offset.X", "Offset.Y"}) {
    if (!I16(d, name)) return false;
  }
  return true;
}

bool DescribeGlyph(RecordDumper& d) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  if (version != kVersion) {
    d.Note("(version is not 100: the loader reads nothing more of this glyph)");
    return true;
  }
  uint32_t n = 0;
  if (!d.U32("variants", &n)) return false;
  for (uint32_t i = 0; i < n; ++i) {
    if (!d.Record("variant", RecordRole::Member, class_id::BitmapGlyph)) return false;
  }
  return d.I32("Code");
}

struct GlyphSummary {
  uint32_t glyphs = 0;
  int64_t lowCode = INT64_MAX, highCode = INT64_MIN;
  // Per (kind, style): pixel size -> glyphs offering it.
  std::map<std::pair<int, int>, std::map<int, uint32_t>> ladder;
};

int64_t Ends(RecordDumper& d) {
  d.Malformed("the data ends inside the glyphs");
  return -1;
}

// Walks `count` glyph records from the current offset; returns their byte length,
// or -1 after reporting the data malformed.
int64_t WalkGlyphs(RecordDumper& d, uint32_t count, GlyphSummary& s) {
  int64_t at = 0;
  for (uint32_t g = 0; g < count; ++g) {
    if (Peek(d, at, 2) != class_id::Glyph) {
      d.MalformedAt(d.Offset() + at, "glyph " + std::to_string(g) + " must be a C_Glyph (id 6)");
      return -1;
    }
    const int64_t version = Peek(d, at + 2, 2);
    if (version < 0) return Ends(d);
    at += 4;
    ++s.glyphs;
    if (version != kVersion) continue;
    const int64_t n = Peek(d, at, 4);
    if (n < 0 || n * 4 > d.Remaining() - at) {
      d.MalformedAt(d.Offset() + at,
                    "glyph " + std::to_string(g) + " claims more variants than the data holds");
      return -1;
    }
    at += 4;
    for (int64_t i = 0; i < n; ++i) {
      if (Peek(d, at, 2) != class_id::BitmapGlyph) {
        d.MalformedAt(d.Offset() + at, "a variant of glyph " + std::to_string(g) +
                                           " must be a C_BitmapGlyph (id 5)");
        return -1;
      }
      if (Peek(d, at + 2, 2) != kVersion) {
        at += 4;
        continue;
      }
      const int64_t size = Peek(d, at + 4, 2);
      const int kind = d.PeekByte(at + 6);
      const int style = d.PeekByte(at + 7);
      if (size < 0 || kind < 0 || style < 0 || Peek(d, at + kVariantBytes - 2, 2) < 0)
        return Ends(d);
      ++s.ladder[{kind, style}][static_cast<int>(size)];
      at += kVariantBytes;
    }
    const int64_t code = Peek(d, at, 4);
    if (code < 0) return Ends(d);
    const auto signedCode = static_cast<int32_t>(static_cast<uint32_t>(code));
    s.lowCode = std::min<int64_t>(s.lowCode, signedCode);
    s.highCode = std::max<int64_t>(s.highCode, signedCode);
    at += 4;
  }
  return at;
}

bool DescribeFont(RecordDumper& d) {
  uint16_t version = 0;
  uint32_t glyphs = 0, pages = 0;
  if (!d.CountedText("Name") || !d.U16("version", &version)) return false;
  if (version != kVersion) {
    d.Note("(version is not 100: the loader reads nothing more of this font)");
    return true;
  }
  if (!d.U32("glyphs", &glyphs)) return false;
  GlyphSummary s;
  const int64_t length = WalkGlyphs(d, glyphs, s);
  if (length < 0) return false;
  std::string what = std::to_string(s.glyphs) + " glyphs";
  if (s.glyphs > 0)
    what += ", codes " + std::to_string(s.lowCode) + ".." + std::to_string(s.highCode);
  if (!d.Skip("glyph records", static_cast<uint64_t>(length), what)) return false;
  for (const auto& [key, sizes] : s.ladder) {
    std::string line = "ladder of kind " + std::to_string(key.first) + ", style " +
                       std::to_string(key.second) + ":";
    for (const auto& [size, count] : sizes) {
      line += ' ';
      line += std::to_string(size);
      if (count != s.glyphs) {
        line += '(';
        line += std::to_string(count);
        line += " glyphs)";
      }
    }
    d.Note(line);
  }
  if (!d.U32("pages", &pages)) return false;
  for (uint32_t i = 0; i < pages; ++i) {
    if (!d.Record("page", RecordRole::Member, class_id::Surface)) return false;
  }
  return true;
}

const bool registered =
    RegisterDescriber(class_id::FontType, "C_FontType", DescribeFontType) &&
    RegisterDescriber(class_id::BitmapGlyph, "C_BitmapGlyph", DescribeBitmapGlyph) &&
    RegisterDescriber(class_id::Glyph, "C_Glyph", DescribeGlyph) &&
    RegisterDescriber(class_id::Font, "C_Font", DescribeFont);

}  // namespace
