// Stored records of rectangles, circles and colours; the colour from bytes.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <memory>

#include "core/byte_stream.h"
#include "core/class_registry.h"
#include "core/error.h"
#include "graphics/geometry/circle.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "tests/core/stream_helpers.h"

namespace {

uint32_t Bits(float value) {
  return std::bit_cast<uint32_t>(value);
}

float BitsFloat(uint32_t bits) {
  return std::bit_cast<float>(bits);
}

// Loading every proper prefix of a good record fails and leaves -1 behind.
void ExpectEveryPrefixFails(C_Object& object, const std::vector<uint8_t>& record) {
  for (size_t length = 0; length < record.size(); ++length) {
    SCOPED_TRACE(length);
    LastError = {0, 0, 0, 0};
    const std::vector<uint8_t> prefix(record.begin(), record.begin() + length);
    EXPECT_FALSE(LoadFromBytes(object, prefix));
    EXPECT_EQ(LastError.Code, -1);
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  }
}

// A good record with its class id replaced.
std::vector<uint8_t> WithId(std::vector<uint8_t> record, uint16_t id, size_t offset = 0) {
  record[offset] = id & 0xFF;
  record[offset + 1] = id >> 8;
  return record;
}

}  // namespace

TEST(RectRecord, LayoutAndRoundTripKeepEveryBit) {
  C_Rect rect(BitsFloat(0x80000000u), 2.5f, BitsFloat(0x00000001u), BitsFloat(0x7FC12345u), 0xC2,
              0x93, C_Vector2D(-4.25f, 8.0f, 0x12));
  const std::vector<uint8_t> bytes = SaveToBytes(rect);
  ASSERT_EQ(bytes.size(), 31u);  // id, four f32, two anchors, an 11-byte vector record
  EXPECT_EQ(bytes[0], 11);
  EXPECT_EQ(bytes[1], 0);
  uint32_t y1 = 0;
  std::memcpy(&y1, &bytes[6], 4);
  EXPECT_EQ(y1, Bits(2.5f));
  EXPECT_EQ(bytes[18], 0xC2);
  EXPECT_EQ(bytes[19], 0x93);
  EXPECT_EQ(bytes[20], 18);  // the pivot's own record
  EXPECT_EQ(bytes[30], 0x12);

  C_Rect loaded;
  int32_t consumed = 0;
  ASSERT_TRUE(LoadFromBytes(loaded, bytes, &consumed));
  EXPECT_EQ(consumed, 31);
  EXPECT_EQ(Bits(loaded.X1), 0x80000000u);
  EXPECT_EQ(Bits(loaded.Y1), Bits(2.5f));
  EXPECT_EQ(Bits(loaded.X2), 0x00000001u);
  EXPECT_EQ(Bits(loaded.Y2), 0x7FC12345u);
  EXPECT_EQ(loaded.Anchor1, 0xC2);
  EXPECT_EQ(loaded.Anchor2, 0x93);
  EXPECT_EQ(loaded.Pivot.X, -4.25f);
  EXPECT_EQ(loaded.Pivot.Y, 8.0f);
  EXPECT_EQ(loaded.Pivot.Anchor, 0x12);
}

TEST(RectRecord, WrongIdsAndShortRecordsFail) {
  C_Rect rect(1, 2, 3, 4, 5, 6, C_Vector2D(7, 8, 9));
  const std::vector<uint8_t> bytes = SaveToBytes(rect);
  C_Rect loaded;
  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadFromBytes(loaded, WithId(bytes, 10)));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadFromBytes(loaded, WithId(bytes, 19, 20)));  // pivot not a 2D vector
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  ExpectEveryPrefixFails(loaded, bytes);
}

TEST(RectRecord, Constructors) {
  // Integers become f32; 2^24 + 1 rounds to 2^24.
  const C_Rect fromInts(16777217, -3, 7, 8, 0x21, 0x33, C_Vector2D(1, 2, 0x22));
  EXPECT_EQ(fromInts.X1, 16777216.0f);
  EXPECT_EQ(fromInts.Y1, -3.0f);
  EXPECT_EQ(fromInts.Anchor2, 0x33);
  const C_Rect sized(C_Size(640, 480), C_Vector2D(0, 0, 0x11));
  EXPECT_EQ(sized.X1, 0);
  EXPECT_EQ(sized.Y1, 0);
  EXPECT_EQ(sized.X2, 640);
  EXPECT_EQ(sized.Y2, 480);
  EXPECT_EQ(sized.Anchor1, 0);
  EXPECT_EQ(sized.Pivot.Anchor, 0x11);
}

TEST(CircleRecord, LayoutRoundTripAndFailures) {
  C_Circle circle(C_Vector2D(3.5f, -1.0f, 0x22), 12.75f);
  const std::vector<uint8_t> bytes = SaveToBytes(circle);
  ASSERT_EQ(bytes.size(), 17u);  // id, an 11-byte vector record, the radius
  EXPECT_EQ(bytes[0], 10);
  EXPECT_EQ(bytes[2], 18);
  EXPECT_EQ(bytes[12], 0x22);
  uint32_t radius = 0;
  std::memcpy(&radius, &bytes[13], 4);
  EXPECT_EQ(radius, Bits(12.75f));

  C_Circle loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, bytes));
  EXPECT_EQ(loaded.Center.X, 3.5f);
  EXPECT_EQ(loaded.Center.Y, -1.0f);
  EXPECT_EQ(loaded.Center.Anchor, 0x22);
  EXPECT_EQ(loaded.Radius, 12.75f);

  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadFromBytes(loaded, WithId(bytes, 11)));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadFromBytes(loaded, WithId(bytes, 10, 2)));  // centre must be a 2D vector
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  ExpectEveryPrefixFails(loaded, bytes);
}

TEST(GeometryRegistry, FactoriesMakeZeroedObjectsThatLoad) {
  std::unique_ptr<C_Object> rect(CreateObject(11));
  ASSERT_NE(rect, nullptr);
  ASSERT_EQ(rect->GetClassId(), 11);
  const C_Rect& r = static_cast<C_Rect&>(*rect);
  EXPECT_EQ(r.X2, 0);
  EXPECT_EQ(r.Anchor1, 0);
  EXPECT_EQ(r.Pivot.Anchor, 0);
  std::unique_ptr<C_Object> circle(CreateObject(10));
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->GetClassId(), 10);
  EXPECT_EQ(static_cast<C_Circle&>(*circle).Radius, 0);

  // A held rectangle read through the registry, as containers read it.
  C_Rect original(1, 2, 3, 4, 0x44, 0x44, C_Vector2D(5, 6, 7));
  const std::vector<uint8_t> bytes = SaveToBytes(original);
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  C_Object* item = nullptr;
  EXPECT_TRUE(LoadHeldObject(stream, 0, item));
  FreeStream(stream);
  std::unique_ptr<C_Object> held(item);
  ASSERT_NE(held, nullptr);
  ASSERT_EQ(held->GetClassId(), 11);
  EXPECT_EQ(static_cast<C_Rect&>(*held).Y2, 4);
  EXPECT_EQ(static_cast<C_Rect&>(*held).Pivot.Anchor, 7);

  // Value classes clone as a plain object.
  std::unique_ptr<C_Object> clone(original.Clone());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetClassId(), class_id::Object);
}

TEST(Color, FromBytes) {
  const C_Color color = C_Color::FromBytes(128, 175, 210);
  EXPECT_NEAR(color.Red, 0.50196f, 1e-5);
  EXPECT_NEAR(color.Green, 0.68627f, 1e-5);
  EXPECT_NEAR(color.Blue, 0.82353f, 1e-5);
  EXPECT_EQ(color.Alpha, 1.0f);
  // value / 255 rounded once to f32.
  EXPECT_EQ(color.Red, static_cast<float>(128 / 255.0));
  const C_Color ends = C_Color::FromBytes(255, 0, 255);
  EXPECT_EQ(ends.Red, 1.0f);
  EXPECT_EQ(ends.Green, 0.0f);
}

TEST(Color, RecordKeepsEveryBitAndRefusesOtherIds) {
  C_Color color(BitsFloat(0x7FC12345u), BitsFloat(0x80000000u), BitsFloat(0x00000001u),
                BitsFloat(0x3F800001u));
  const std::vector<uint8_t> bytes = SaveToBytes(color);
  ASSERT_EQ(bytes.size(), 18u);
  EXPECT_EQ(bytes[0], 1);
  C_Color loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, bytes));
  EXPECT_EQ(Bits(loaded.Red), 0x7FC12345u);
  EXPECT_EQ(Bits(loaded.Green), 0x80000000u);
  EXPECT_EQ(Bits(loaded.Blue), 0x00000001u);
  EXPECT_EQ(Bits(loaded.Alpha), 0x3F800001u);

  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadFromBytes(loaded, WithId(bytes, 20)));  // a 4D vector record
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  ExpectEveryPrefixFails(loaded, bytes);
}
