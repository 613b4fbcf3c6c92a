#include "core/string.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/error.h"
#include "tests/core/stream_helpers.h"

namespace {
std::string Text(const C_String* s) {
  return s && s->Text ? s->Text : "<null>";
}
}  // namespace

TEST(String, ConstructionForms) {
  C_String empty;
  ASSERT_NE(empty.Text, nullptr);
  EXPECT_EQ(empty.Length, 0);
  C_String number(-42);
  EXPECT_STREQ(number.Text, "-42");
  EXPECT_EQ(number.Length, 3);
  empty.Release();
  empty.Init();
  EXPECT_EQ(empty.Text, nullptr);
}

TEST(String, ExtensionAndSearch) {
  const char* cases[][2] = {{"light.pcx", "pcx"}, {"archive.tar.gz", "gz"},
                            {"readme", ""},       {"", ""},
                            {"name.", ""},        {"a.b.png", "png"}};
  for (auto& c : cases) {
    std::unique_ptr<C_String> ext(C_String(c[0]).GetExtension());
    EXPECT_EQ(Text(ext.get()), c[1]) << c[0];
  }
  EXPECT_EQ(C_String("x.png").FindLastNoCase(".PNG"), 1);
  EXPECT_EQ(C_String("x.png").FindLastNoCase("q"), C_String::kNotFound);
  EXPECT_EQ(C_String("abab").FindLastNoCase("AB"), 2);
  EXPECT_EQ(C_String("ab").FindLastNoCase("abc"), C_String::kNotFound);
}

TEST(String, RightConcatEquals) {
  C_String abc("abc");
  std::unique_ptr<C_String> all(abc.Right(10)), none(abc.Right(0)), two(abc.Right(2));
  EXPECT_EQ(Text(all.get()), "abc");
  EXPECT_EQ(Text(none.get()), "");
  EXPECT_EQ(Text(two.get()), "bc");
  std::unique_ptr<C_String> joined(C_String::Concat(C_String("Generation: "), C_String(12)));
  EXPECT_EQ(Text(joined.get()), "Generation: 12");
  EXPECT_EQ(joined->Length, 14);
  EXPECT_TRUE(abc.Equals("abc"));
  EXPECT_FALSE(abc.Equals("ABC"));
  EXPECT_FALSE(abc.Equals("ab"));
}

TEST(String, InsertAndDeleteCharacters) {
  C_String s;
  s.InsertChar(0, 'x');
  EXPECT_STREQ(s.Text, "x");
  s.InsertChar(1, 'z');
  s.InsertChar(1, 'y');
  EXPECT_STREQ(s.Text, "xyz");
  EXPECT_EQ(s.Length, 3);
  s.DeleteChar(1);
  EXPECT_STREQ(s.Text, "xz");
  s.DeleteChar(0);
  s.DeleteChar(0);
  EXPECT_STREQ(s.Text, "");
  EXPECT_EQ(s.Length, 0);
  s.DeleteChar(0);       // nothing left to delete
  s.InsertChar(5, 'q');  // past the end: refused
  EXPECT_EQ(s.Length, 0);
}

TEST(String, RecordLayoutAndRoundTrip) {
  C_String abc("abc");
  const std::vector<uint8_t> expected = {0x0D, 0, 4, 0, 0, 0, 'a', 'b', 'c', 0};
  EXPECT_EQ(SaveToBytes(abc), expected);
  C_String empty;
  EXPECT_EQ(SaveToBytes(empty).size(), 7u);
  C_String reset;
  reset.Release();
  reset.Init();
  EXPECT_EQ(SaveToBytes(reset), (std::vector<uint8_t>{0x0D, 0, 1, 0, 0, 0, 0}));

  C_String read("old");
  EXPECT_TRUE(LoadFromBytes(read, expected));
  EXPECT_STREQ(read.Text, "abc");
  EXPECT_EQ(read.Length, 3);
  std::unique_ptr<C_Object> clone(read.Clone());
  EXPECT_STREQ(static_cast<C_String*>(clone.get())->Text, "abc");
}

TEST(String, BadRecordsFailAndKeepTheText) {
  C_String s("kept");
  std::vector<uint8_t> zeroLength = {0x0D, 0, 0, 0, 0, 0};
  EXPECT_FALSE(LoadFromBytes(s, zeroLength));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_STREQ(s.Text, "kept");
  std::vector<uint8_t> huge = {0x0D, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
  EXPECT_FALSE(LoadFromBytes(s, huge));
  EXPECT_STREQ(s.Text, "kept");
  std::vector<uint8_t> wrongId = {0x0E, 0, 1, 0, 0, 0, 0};
  int32_t consumed = 0;
  EXPECT_FALSE(LoadFromBytes(s, wrongId, &consumed));
  EXPECT_EQ(consumed, 2);
  EXPECT_STREQ(s.Text, "kept");
  // A stored text without terminator or with an inner zero stays a valid C text.
  std::vector<uint8_t> noTerminator = {0x0D, 0, 3, 0, 0, 0, 'a', 'b', 'c'};
  EXPECT_TRUE(LoadFromBytes(s, noTerminator));
  EXPECT_EQ(s.Length, static_cast<int32_t>(strlen(s.Text)));
  std::vector<uint8_t> innerZero = {0x0D, 0, 4, 0, 0, 0, 'a', 0, 'c', 0};
  EXPECT_TRUE(LoadFromBytes(s, innerZero));
  EXPECT_STREQ(s.Text, "a");
  EXPECT_EQ(s.Length, 1);
}
