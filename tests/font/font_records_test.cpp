// Stored forms of the font classes, byte for byte, and the font loader against
// short, foreign and hostile records.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/array.h"
#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"
#include "font/text_format.h"
#include "image/image_hook.h"
#include "image/surface.h"
#include "tests/core/stream_helpers.h"
#include "tests/font/font_test_support.h"

namespace {

void PutF32(std::vector<uint8_t>& out, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  PutU32(out, bits);
}

void PutI16(std::vector<uint8_t>& out, int16_t v) {
  PutU16(out, static_cast<uint16_t>(v));
}

// A variant record as stored.
void PutVariant(std::vector<uint8_t>& out, uint16_t pixelSize, uint8_t kind, uint8_t style,
                uint32_t page, std::vector<int16_t> eight) {
  PutU16(out, class_id::BitmapGlyph);
  PutU16(out, FormatVersion);
  PutU16(out, pixelSize);
  out.push_back(kind);
  out.push_back(style);
  PutU32(out, page);
  for (int16_t v : eight) PutI16(out, v);
}

void PutGlyph(std::vector<uint8_t>& out, int32_t code, std::vector<uint16_t> sizes) {
  PutU16(out, class_id::Glyph);
  PutU16(out, FormatVersion);
  PutU32(out, static_cast<uint32_t>(sizes.size()));
  for (uint16_t s : sizes) PutVariant(out, s, 0, kStyleRegular, 0, {0, 0, 1, 1, 5, 0, 0, 1});
  PutU32(out, static_cast<uint32_t>(code));
}

std::vector<uint8_t> FontBytes(const char* name, std::vector<int32_t> codes) {
  std::vector<uint8_t> out;
  PutU16(out, class_id::Font);
  PutU32(out, static_cast<uint32_t>(std::strlen(name) + 1));
  out.insert(out.end(), name, name + std::strlen(name) + 1);
  PutU16(out, FormatVersion);
  PutU32(out, static_cast<uint32_t>(codes.size()));
  for (int32_t c : codes) PutGlyph(out, c, {10});
  PutU32(out, 0);
  return out;
}

}  // namespace

TEST(FontRecords, FontTypeStoresItsFlagsTwiceAndReadsTheSecondCopy) {
  C_FontType type("Arial", 10);
  type.StyleFlag1 = 1;
  std::vector<uint8_t> expected;
  PutU16(expected, class_id::FontType);
  PutU16(expected, FormatVersion);
  PutU16(expected, class_id::String);
  PutU32(expected, 6);
  for (char c : std::string("Arial")) expected.push_back(static_cast<uint8_t>(c));
  expected.push_back(0);
  const size_t afterName = expected.size();
  expected.insert(expected.end(), {kKindNamed, 1, 0, 0});
  PutF32(expected, 10.0f);
  expected.insert(expected.end(), {1, 0});
  EXPECT_EQ(SaveToBytes(type), expected);
  EXPECT_EQ(expected.size() - afterName, 4u + 4u + 2u);

  std::vector<uint8_t> changed = expected;
  changed[afterName + 1] = 0;  // first copy: flag 1 off, flag 2 on
  changed[afterName + 2] = 1;
  C_FontType read;
  ASSERT_TRUE(LoadFromBytes(read, changed));
  EXPECT_TRUE(read.Name.Equals("Arial"));
  EXPECT_EQ(read.Kind, kKindNamed);
  EXPECT_EQ(read.Size, 10.0f);
  EXPECT_EQ(read.StyleFlag1, 1);  // the second copy
  EXPECT_EQ(read.StyleFlag2, 0);
  EXPECT_EQ(read.StyleCode(), kStyleBold);
  const C_FontType defaults;
  EXPECT_TRUE(defaults.Name.Equals("MS Sans Serif"));
  EXPECT_EQ(defaults.Kind, kKindDefault);
  EXPECT_EQ(defaults.Size, 10.0f);
}

TEST(FontRecords, VariantTruncatesTowardZeroAndKeepsTheLow16Bits) {
  C_BitmapGlyph v;
  v.PixelSize = 12;
  v.Kind = kKindNamed;
  v.Style = kStyleBoldItalic;
  v.Page = 3;
  v.Source = C_Rect(1.9f, -2.7f, 70000.0f, 4.0f, 0, 0);
  v.Advance = C_Vector2D(6.5f, 0);
  v.Offset = C_Vector2D(-1.0f, 9.99f);
  std::vector<uint8_t> expected;
  PutVariant(expected, 12, kKindNamed, kStyleBoldItalic, 3,
             {1, -2, static_cast<int16_t>(70000 & 0xFFFF), 4, 6, 0, -1, 9});
  EXPECT_EQ(SaveToBytes(v), expected);
  C_BitmapGlyph read;
  ASSERT_TRUE(LoadFromBytes(read, expected));
  EXPECT_EQ(read.Source.X2, 4464.0f);
  EXPECT_EQ(read.Offset.Y, 9.0f);
  EXPECT_EQ(read.Page, 3u);
  EXPECT_EQ(C_BitmapGlyph().Page, kNoPage);
}

TEST(FontRecords, GlyphVariantsComeBackInReverseOrderWithTheCodeLast) {
  std::vector<uint8_t> bytes;
  PutGlyph(bytes, 'q', {8, 9, 10});
  C_Glyph glyph;
  int32_t consumed = 0;
  ASSERT_TRUE(LoadFromBytes(glyph, bytes, &consumed));
  EXPECT_EQ(consumed, static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(glyph.Code, 'q');
  ASSERT_EQ(glyph.VariantCount(), 3u);
  EXPECT_EQ(glyph.VariantAt(0)->PixelSize, 10);
  EXPECT_EQ(glyph.VariantAt(2)->PixelSize, 8);
  // Saved in list order, so a second round trip turns them back.
  C_Glyph again;
  ASSERT_TRUE(LoadFromBytes(again, SaveToBytes(glyph)));
  EXPECT_EQ(again.VariantAt(0)->PixelSize, 8);
}

TEST(FontRecords, CodeIndexMapsEveryByteCodeAndIgnoresOthers) {
  // Unsorted, a repeated code (the later wins), a negative and a huge code.
  const std::vector<uint8_t> bytes = FontBytes("Test", {'B', 'A', 'B', -5, 1000000, 255});
  C_Font font;
  int32_t consumed = 0;
  ASSERT_TRUE(LoadFromBytes(font, bytes, &consumed));
  EXPECT_EQ(consumed, static_cast<int32_t>(bytes.size()));
  EXPECT_STREQ(font.Name, "Test");
  ASSERT_NE(font.Glyphs, nullptr);
  EXPECT_EQ(font.Glyphs->Count, 6u);
  EXPECT_EQ(font.FindGlyph('A'), font.Glyphs->GetAt(1));
  EXPECT_EQ(font.FindGlyph('B'), font.Glyphs->GetAt(2));
  EXPECT_EQ(font.FindGlyph(255), font.Glyphs->GetAt(5));
  EXPECT_EQ(font.FindGlyph('C'), nullptr);
  EXPECT_EQ(font.FindGlyph(1000000), nullptr);
  EXPECT_EQ(font.FindGlyph(-5), nullptr);
  EXPECT_LE(font.CodeIndex->Length, 256u * 4u);
  EXPECT_EQ(SaveToBytes(font), bytes);
}

TEST(FontRecords, ForeignShortAndHostileRecordsFailWithoutHarm) {
  const std::vector<uint8_t> good = FontBytes("Test", {'a', 'b'});
  // Every prefix of a good record fails cleanly.
  for (size_t n = 0; n < good.size(); ++n) {
    C_Font font;
    const std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_FALSE(LoadFromBytes(font, prefix)) << n;
  }
  C_Font font;
  std::vector<uint8_t> foreign = good;
  foreign[0] = class_id::Glyph;
  EXPECT_FALSE(LoadFromBytes(font, foreign));
  EXPECT_EQ(LastError.Code, ErrorFailed);
  // Counts that claim far more than the bytes hold are refused before allocating.
  std::vector<uint8_t> huge;
  PutU16(huge, class_id::Font);
  PutU32(huge, 1);
  huge.push_back(0);
  PutU16(huge, FormatVersion);
  PutU32(huge, 0xFFFFFFFFu);
  EXPECT_FALSE(LoadFromBytes(font, huge));
  std::vector<uint8_t> glyph;
  PutU16(glyph, class_id::Glyph);
  PutU16(glyph, FormatVersion);
  PutU32(glyph, 0x40000000u);
  C_Glyph g;
  EXPECT_FALSE(LoadFromBytes(g, glyph));
  // Another version: success, nothing more read.
  std::vector<uint8_t> other;
  PutU16(other, class_id::Font);
  PutU32(other, 2);
  other.insert(other.end(), {'x', 0});
  PutU16(other, 101);
  PutU32(other, 7);
  int32_t consumed = 0;
  EXPECT_TRUE(LoadFromBytes(font, other, &consumed));
  EXPECT_EQ(consumed, 2 + 4 + 2 + 2);
  EXPECT_EQ(font.Glyphs, nullptr);
}

TEST(FontRecords, TextFormatRoundTripsEveryStoredField) {
  C_TextFormat format;
  format.Align = AlignJustify;
  format.Ellipsis = 1;
  format.SpareFlag1 = 7;
  format.Leading = 1.5f;
  format.LeftEdge = 4;
  format.LeftAnchor = 0x02;
  format.RightEdge = -4;
  format.RightAnchor = 0x01;
  format.Extra = 9;
  format.ExtraAnchor = 3;
  format.SpareFlag2 = 8;
  format.Spare1 = 1;
  format.Spare2 = 2;
  format.Spare3 = 3;
  format.Password = 1;  // not stored
  const std::vector<uint8_t> bytes = SaveToBytes(format);
  EXPECT_EQ(bytes.size(), 2u + 2u + 3u + 4u + 4u + 1u + 4u + 1u + 4u + 1u + 1u + 12u);
  C_TextFormat read;
  ASSERT_TRUE(LoadFromBytes(read, bytes));
  EXPECT_EQ(SaveToBytes(read), bytes);
  EXPECT_EQ(read.Password, 0);
  EXPECT_EQ(read.RightAnchor, 1);
  EXPECT_EQ(read.Leading, 1.5f);
}

TEST(FontRecords, CopiesAndHooksReachEveryPage) {
  auto font = font_test::MakeBoxFont();
  C_Object* clone = font->Clone();
  ASSERT_NE(clone, nullptr);
  auto* copy = static_cast<C_Font*>(clone);
  EXPECT_STREQ(copy->Name, "Boxes");
  EXPECT_EQ(copy->Glyphs->Count, font->Glyphs->Count);
  EXPECT_EQ(copy->PageCount(), 1u);
  EXPECT_NE(copy->PageAt(0), font->PageAt(0));
  EXPECT_NE(copy->FindGlyph('a'), nullptr);
  EXPECT_EQ(SaveToBytes(*copy), SaveToBytes(*font));
  delete clone;

  C_Font empty;
  const ImageHook hook{};
  EXPECT_FALSE(empty.Attach(&hook));
  static int refreshed = 0;
  ImageHook counting;
  counting.Refresh = [](C_Surface*, int32_t) {
    ++refreshed;
    return true;
  };
  EXPECT_TRUE(font->Attach(&counting));
  EXPECT_TRUE(font->Prepare());
  EXPECT_EQ(refreshed, 1);
}
