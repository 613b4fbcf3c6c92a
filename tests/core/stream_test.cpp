#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/array.h"
#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/string.h"
#include "core/vector4d.h"
#include "tests/core/stream_helpers.h"

TEST(ByteStream, MemoryWriterGrowsToNPlusTwiceCapacity) {
  ByteStream* stream = NewMemoryWriter();
  uint8_t bytes[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(WriteRaw(1, 4, bytes, stream), 4u);
  EXPECT_EQ(stream->Capacity, 4);
  EXPECT_EQ(WriteRaw(4, 1, bytes, stream), 4u);
  EXPECT_EQ(stream->Capacity, 12);
  EXPECT_EQ(WriteRaw(1, 10, bytes, stream), 10u);
  EXPECT_EQ(stream->Capacity, 34);
  EXPECT_EQ(stream->Total, 18);
  EXPECT_EQ(stream->Position, 18);
  FreeStream(stream);
}

TEST(ByteStream, PrimitivesOnNullOrWrongModeDoNothing) {
  uint8_t byte = 7;
  EXPECT_EQ(ReadRaw(1, &byte, 1, nullptr), 0u);
  EXPECT_EQ(WriteRaw(1, 1, &byte, nullptr), 0u);
  EXPECT_EQ(ReadByte(nullptr), 0);
  ByteStream* writer = NewMemoryWriter();
  EXPECT_EQ(ReadRaw(1, &byte, 1, writer), 0u);
  EXPECT_EQ(byte, 7);
  FreeStream(writer);
}

TEST(ByteStream, MemoryReaderStopsAtTheWrittenBytes) {
  ByteStream* stream = NewMemoryWriter();
  WriteField<uint16_t>(stream, 0x1234);
  WriteField<uint8_t>(stream, 0x56);
  StartReading(stream);
  uint16_t word = 0;
  EXPECT_TRUE(ReadField(stream, word));
  EXPECT_EQ(word, 0x1234);
  uint32_t wide = 0xAAAAAAAA;
  EXPECT_FALSE(ReadField(stream, wide));  // one byte left, four wanted
  EXPECT_EQ(wide, 0xAAAAAAAAu);
  EXPECT_TRUE(stream->Broken);
  EXPECT_EQ(ReadByte(stream), 0);
  EXPECT_LE(stream->Position, stream->Total);
  FreeStream(stream);
}

TEST(ByteStream, FieldsAreLittleEndianWithoutPadding) {
  C_Vector4D v(1.0f, -2.0f, 0.5f, 0.0f);
  const std::vector<uint8_t> bytes = SaveToBytes(v);
  ASSERT_EQ(bytes.size(), 18u);
  EXPECT_EQ(bytes[0], 20);
  EXPECT_EQ(bytes[1], 0);
  const std::vector<uint8_t> one = {0x00, 0x00, 0x80, 0x3F};
  EXPECT_TRUE(std::equal(one.begin(), one.end(), bytes.begin() + 2));
}

TEST(ByteStream, CreateFromStreamStepsBackOverTheId) {
  std::vector<uint8_t> bytes;
  C_String text("abc");
  bytes = SaveToBytes(text);
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  std::unique_ptr<C_Object> object(CreateFromStream(stream));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(stream->Position, 0);
  EXPECT_TRUE(object->Load(stream, 0));
  EXPECT_STREQ(static_cast<C_String*>(object.get())->Text, "abc");
  FreeStream(stream);
}

TEST(ByteStream, ZeroIdIsAMissingObjectConsumingTwoBytes) {
  std::vector<uint8_t> bytes = {0, 0, 0xFF};
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  EXPECT_EQ(CreateFromStream(stream), nullptr);
  EXPECT_EQ(stream->Position, 2);
  FreeStream(stream);
}

class ObjectFileTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("df_core_") + std::to_string(::getpid()) + "_" + name))
        .string();
  }
};

TEST_F(ObjectFileTest, CollectionRoundTripsThroughAFile) {
  C_Collection written;
  written.Append(new C_String("first"));
  written.Append(nullptr);
  auto* array = new C_Array();
  array->Resize(3, ResizeExact);
  array->Data[0] = 1, array->Data[1] = 2, array->Data[2] = 3;
  written.Append(array);
  const std::string path = Path("pack.pak");
  ASSERT_TRUE(SaveObjectFile(&written, path.c_str()));

  C_Collection read;
  ASSERT_TRUE(LoadObjectFile(&read, path.c_str()));
  ASSERT_EQ(read.Count, 3u);
  EXPECT_EQ(read.Capacity, 3u);
  EXPECT_STREQ(static_cast<C_String*>(read.GetAt(0))->Text, "first");
  EXPECT_EQ(read.GetAt(1), nullptr);
  // Arrays are stored under the root id, so they read back as plain objects.
  EXPECT_EQ(read.GetAt(2)->GetClassId(), class_id::Object);
  EXPECT_EQ(dynamic_cast<C_Array*>(read.GetAt(2)), nullptr);
  read.DeleteItems();
  written.DeleteItems();
  std::remove(path.c_str());
}

TEST_F(ObjectFileTest, MissingFileFailsQuietly) {
  C_Collection collection;
  SetError(0);
  EXPECT_FALSE(LoadObjectFile(&collection, Path("does-not-exist.pak").c_str()));
  EXPECT_EQ(LastError.Code, 0);
}

TEST_F(ObjectFileTest, TruncatedFileFailsWithMinusOne) {
  C_String text("a longer text");
  const std::string path = Path("short.rec");
  ASSERT_TRUE(SaveObjectFile(&text, path.c_str()));
  std::filesystem::resize_file(path, 9);
  C_String read("kept");
  EXPECT_FALSE(LoadObjectFile(&read, path.c_str()));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_STREQ(read.Text, "kept");
  std::remove(path.c_str());
}
