// pakdump: trees of real and hand-built records, the malformed line and its offset,
// the exit status of the program, and survival on damaged bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/array.h"
#include "core/collection.h"
#include "core/complex.h"
#include "core/resource.h"
#include "core/size.h"
#include "core/string.h"
#include "core/vector2d.h"
#include "core/vector3d.h"
#include "core/vector4d.h"
#include "graphics/geometry/color.h"
#include "tests/tools/record_bytes.h"
#include "tools/pakdump/record_dumper.h"

namespace {

struct Dump {
  DumpResult Result;
  std::vector<std::string> Lines;
};

Dump DumpBytes(const std::vector<uint8_t>& bytes) {
  std::ostringstream out;
  Dump dump;
  dump.Result = DumpObjectBytes(bytes.data(), bytes.size(), out);
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) dump.Lines.push_back(line);
  return dump;
}

// A .pak-like collection of every core class, written by the classes themselves.
std::vector<uint8_t> CoreCollectionBytes() {
  C_String text("a\"b");
  C_Resource named;
  named.SetName("sheet");
  C_Array array;
  array.Resize(3, 0);
  array.Data[0] = 1;
  array.Data[1] = 2;
  array.Data[2] = 0xFF;
  C_Size size(2.5f, -1);
  C_Complex complex;
  complex.Real = 0x3F800000;
  complex.Imaginary = 7;
  C_Vector2D v2(1, 2, 0x12);
  C_Vector3D v3(0.5f, 0, -2);
  C_Vector4D v4(1, 2, 3, 4);
  C_Collection inner;
  inner.Append(&named);
  C_Collection outer;
  // An array is not among them: a container creates a plain C_Object for its id,
  // which reads nothing, so a collection that holds one does not load.
  (void)array;
  for (C_Object* item :
       std::initializer_list<C_Object*>{&text, nullptr, &inner, &size, &complex, &v2, &v3, &v4}) {
    outer.Append(item);
  }
  return SaveToBytes(outer);
}

}  // namespace

TEST(Pakdump, CoreRecordsFromTheirOwnSave) {
  const Dump dump = DumpBytes(CoreCollectionBytes());
  ASSERT_TRUE(dump.Result.Ok) << dump.Result.Error;
  const std::vector<std::string> expected = {
      "C_Collection (id 22) @0",
      "  Items @2 = 8",
      "  [0]: C_String (id 13) @6",
      "    length @8 = 4 (text and terminator)",
      "    text @12 = \"a\\\"b\"",
      "  [1]: none (id 0) @16",
      "  [2]: C_Collection (id 22) @18",
      "    Items @20 = 1",
      "    [0]: C_Resource (id 24) @24",
      "      length @26 = 6 (text and terminator)",
      "      Name @30 = \"sheet\"",
      "  [3]: C_Size (id 27) @36",
      "    Width @38 = 2.5",
      "    Height @42 = -1",
      "  [4]: C_Complex (id 16) @46",
      "    Real @48 = 0x3F800000",
      "    Imaginary @52 = 0x00000007",
      "  [5]: C_Vector2D (id 18) @56",
      "    X @58 = 1",
      "    Y @62 = 2",
      "    Anchor @66 = 0x12",
      "  [6]: C_Vector3D (id 19) @67",
      "    X @69 = 0.5",
      "    Y @73 = 0",
      "    Z @77 = -2",
      "  [7]: C_Vector4D (id 20) @81",
      "    X @83 = 1",
      "    Y @87 = 2",
      "    Z @91 = 3",
      "    W @95 = 4",
  };
  EXPECT_EQ(dump.Lines, expected);

  // An array stands alone: a container would create a plain C_Object for its id.
  C_Array array;
  array.Resize(3, 0);
  array.Data[0] = 1;
  array.Data[1] = 2;
  array.Data[2] = 0xFF;
  const std::vector<std::string> arrayLines = {
      "C_Array (id 21) @0",
      "  length @2 = 3",
      "  reserved @6 = 0x00000000",
      "  data @10 = 3 bytes: 01 02 FF",
  };
  EXPECT_EQ(DumpBytes(SaveToBytes(array)).Lines, arrayLines);
}

TEST(Pakdump, GraphicsAndImageRecords) {
  C_Color red(1, 0, 0, 1);
  const std::vector<uint8_t> surface = SurfaceRecord(
      {{2, ImageRecord(3, 2, 8, 6)}, {1, ImageRecord(2, 1, 24, 21)}}, SaveToBytes(red), 4, 2);
  std::vector<uint8_t> bytes = {22, 0};
  PutU32(bytes, 4);
  Append(bytes, RectRecord(0, 0.25f, 10, -0.5f, 0x24, 0x60, Vector2DRecord(0, 0, 0x22)));
  Append(bytes, CircleRecord(Vector2DRecord(3, 4, 0), 5));
  Append(bytes, surface);
  Append(bytes, PaletteImageRecord(2, 2, 6));
  const Dump dump = DumpBytes(bytes);
  ASSERT_TRUE(dump.Result.Ok) << dump.Result.Error;
  auto has = [&](const std::string& line) {
    return std::find(dump.Lines.begin(), dump.Lines.end(), line) != dump.Lines.end();
  };
  EXPECT_TRUE(has("  [0]: C_Rect (id 11) @6"));
  EXPECT_TRUE(has("    Y1 @12 = 0.25"));
  EXPECT_TRUE(has("    Anchor1 @24 = 0x24"));
  EXPECT_TRUE(has("    Anchor2 @25 = 0x60"));
  EXPECT_TRUE(has("    Pivot: C_Vector2D (id 18) @26"));
  EXPECT_TRUE(has("      Anchor @36 = 0x22"));
  EXPECT_TRUE(has("  [1]: C_Circle (id 10) @37"));
  EXPECT_TRUE(has("    Center: C_Vector2D (id 18) @39"));
  EXPECT_TRUE(has("    Radius @50 = 5"));
  EXPECT_TRUE(has("  [2]: C_Surface (id 15) @54"));
  EXPECT_TRUE(has("    list marker @58 = 0x7F"));
  EXPECT_TRUE(has("    channel @59 = 0x81"));
  EXPECT_TRUE(has("      Key @60 = 2"));
  EXPECT_TRUE(has("      Image: C_Image (id 8) @64"));
  EXPECT_TRUE(has("        Format @88 = 6"));
  EXPECT_TRUE(has("        pixels @96 = 2 rows of 3 bytes (6 bytes, not shown)"));
  EXPECT_TRUE(has("        pixels @139 = 1 row of 6 bytes (6 bytes, not shown)"));
  EXPECT_TRUE(has("    end marker @145 = 0x80"));
  EXPECT_TRUE(has("    Extra: C_Color (id 1) @146"));
  EXPECT_TRUE(has("    Columns @164 = 4"));
  EXPECT_TRUE(has("    Rows @168 = 2"));
  EXPECT_TRUE(has("    PaletteFormat @204 = 21"));
  EXPECT_TRUE(has("    palette @212 = 6 bytes: 00 01 02 03 04 05"));
  EXPECT_TRUE(has("    pixels @218 = 2 rows of 2 bytes (4 bytes, not shown)"));
  EXPECT_EQ(dump.Lines.back(), "    pixels @218 = 2 rows of 2 bytes (4 bytes, not shown)");
}

TEST(Pakdump, SurfaceQuirksAndVersionsAreShown) {
  // Bytes other than the two markers are passed over inside the channel list.
  std::vector<uint8_t> bytes = {15, 0, 100, 0, 0x7F, 1, 2, 3, 0x80, 0, 0};
  PutU32(bytes, 1);
  PutU32(bytes, 1);
  Dump dump = DumpBytes(bytes);
  ASSERT_TRUE(dump.Result.Ok) << dump.Result.Error;
  EXPECT_EQ(dump.Lines[3],
            "  skipped @5 = 3 bytes that are neither a channel nor an end marker, first 0x01");
  EXPECT_EQ(dump.Lines[5], "  Extra: none (id 0) @9");

  // Another version ends the contents; the rest is trailing data the loader never reads.
  const std::vector<uint8_t> old = {8, 0, 99, 0, 1, 2, 3};
  dump = DumpBytes(old);
  ASSERT_TRUE(dump.Result.Ok);
  EXPECT_EQ(dump.Lines[1], "  version @2 = 99");
  EXPECT_EQ(dump.Lines.back(), "3 trailing bytes after the record @4 (never read)");
}

TEST(Pakdump, TruncatedFileGivesPartialTreeAndOffset) {
  const std::vector<uint8_t> whole = CoreCollectionBytes();
  const Dump full = DumpBytes(whole);
  // Cut inside the Size record's Height field (offset 42).
  const Dump cut = DumpBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + 44));
  EXPECT_FALSE(cut.Result.Ok);
  EXPECT_EQ(cut.Result.ErrorOffset, 42);
  ASSERT_EQ(cut.Lines.size(), 14u);
  EXPECT_TRUE(std::equal(cut.Lines.begin(), cut.Lines.end() - 1, full.Lines.begin()));
  EXPECT_EQ(cut.Lines.back(), "malformed at offset 42: Height needs 4 bytes but only 2 remain");

  // Every cut: the tree so far is the start of the whole tree, the error points
  // inside the file, and the last line is the malformed line.
  for (size_t n = 0; n < whole.size(); ++n) {
    const Dump part = DumpBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + n));
    ASSERT_FALSE(part.Result.Ok) << n;
    EXPECT_LE(part.Result.ErrorOffset, static_cast<int64_t>(n));
    ASSERT_FALSE(part.Lines.empty());
    EXPECT_EQ(part.Lines.back().rfind("malformed at offset ", 0), 0u);
    EXPECT_TRUE(std::equal(part.Lines.begin(), part.Lines.end() - 1, full.Lines.begin())) << n;
  }
}

TEST(Pakdump, MalformedRecordsNameTheFaultAndOffset) {
  struct Case {
    std::vector<uint8_t> Bytes;
    int64_t Offset;
    std::string Error;
  };
  std::vector<Case> cases;
  {
    std::vector<uint8_t> b = {22, 0};
    PutU32(b, 2);
    PutU16(b, 0);
    PutU16(b, 300);
    cases.push_back({b, 8, "unknown class id 300"});
  }
  {
    std::vector<uint8_t> b = {22, 0};
    PutU32(b, 0x40000000);
    PutU16(b, 0);
    cases.push_back({b, 2, "Items count 1073741824 needs at least 2147483648 bytes"});
  }
  {
    std::vector<uint8_t> b = {13, 0};
    PutU32(b, 0);
    cases.push_back({b, 2, "text length is 0"});
  }
  {
    std::vector<uint8_t> b = {13, 0};
    PutU32(b, 0xFFFFFFF0u);
    b.push_back('x');
    cases.push_back({b, 6, "text needs 4294967280 bytes but only 1 remain"});
  }
  cases.push_back({RectRecord(0, 0, 1, 1, 0, 0, CircleRecord(Vector2DRecord(0, 0, 0), 1)), 20,
                   "Pivot must be a C_Vector2D (id 18) but has class id 10"});
  cases.push_back({ImageRecord(2, 2, 8, 48), 32, "the pixel format has no description"});
  {
    std::vector<uint8_t> b = ImageRecord(4, 2, 8, 6);
    b[4] = 7;  // PixelBytes 7 cannot hold two rows of 4
    cases.push_back({b, 32, "the rows do not fit in PixelBytes"});
  }
  {
    std::vector<uint8_t> b = ImageRecord(4, 1, 8, 6);
    b[4] = 0xA0;  // PixelBytes 4000
    b[5] = 0x0F;
    b[12] = 0xE8;  // Height 1000, with one row of data present
    b[13] = 0x03;
    cases.push_back({b, 32, "needs 4000 bytes but only 4 remain"});
  }
  {
    std::vector<uint8_t> b = SurfaceRecord({{1, ImageRecord(1, 1, 8, 6)}}, {}, 1, 1);
    b[10] = 13;  // the channel image is no image
    cases.push_back({b, 10, "Image must be a C_Image (id 8) but has class id 13"});
  }
  cases.push_back({{}, 0, "the file is empty"});
  cases.push_back({{22}, 0, "class id needs 2 bytes but only 1 remain"});
  {
    std::vector<uint8_t> b;
    for (int i = 0; i < 70; ++i) {
      PutU16(b, 22);
      PutU32(b, 1);
    }
    cases.push_back({b, 6 * 65, "nested more than 64 deep"});
  }
  for (const Case& c : cases) {
    const Dump dump = DumpBytes(c.Bytes);
    EXPECT_FALSE(dump.Result.Ok) << c.Error;
    EXPECT_EQ(dump.Result.ErrorOffset, c.Offset) << dump.Result.Error;
    EXPECT_NE(dump.Result.Error.find(c.Error), std::string::npos) << dump.Result.Error;
    EXPECT_EQ(dump.Lines.back(),
              "malformed at offset " + std::to_string(c.Offset) + ": " + dump.Result.Error);
  }
}

TEST(Pakdump, SurvivesDamagedBytes) {
  C_Color color(0.5f, 0.25f, 1, 1);
  std::vector<uint8_t> base = CoreCollectionBytes();
  base[2] = 11;  // three more items follow
  Append(base, SurfaceRecord({{1, ImageRecord(2, 2, 16, 7)}}, SaveToBytes(color), 1, 1));
  Append(base, RectRecord(1, 2, 3, 4, 0x44, 0x44, Vector2DRecord(0, 0, 0x44)));
  Append(base, PaletteImageRecord(2, 1, 3));
  ASSERT_TRUE(DumpBytes(base).Result.Ok);
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes = base;
    const int flips = 1 + next() % 6;
    for (int i = 0; i < flips; ++i) {
      const uint32_t at = next() % bytes.size();
      bytes[at] = (next() % 3 == 0) ? 0xFF : static_cast<uint8_t>(next());
    }
    if (next() % 4 == 0) bytes.resize(next() % bytes.size());
    std::ostringstream out;
    const DumpResult result = DumpObjectBytes(bytes.data(), bytes.size(), out);
    if (!result.Ok) {
      EXPECT_GE(result.ErrorOffset, 0);
      EXPECT_LE(result.ErrorOffset, static_cast<int64_t>(bytes.size()));
    }
  }
}

#ifdef PAKDUMP_EXE
namespace {
int RunPakdump(const std::string& arguments, std::string* output = nullptr) {
  const std::string command = std::string(PAKDUMP_EXE) + " " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
  const int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string WriteFile(const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = std::string(DF_TEST_OUTPUT_DIR) + "/" + name;
  std::system(("mkdir -p '" + std::string(DF_TEST_OUTPUT_DIR) + "'").c_str());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}
}  // namespace

TEST(PakdumpProgram, ExitStatusTellsWholeMalformedAndUnreadable) {
  std::string output;
  const std::vector<uint8_t> whole = CoreCollectionBytes();
  EXPECT_EQ(RunPakdump(WriteFile("whole.pak", whole), &output), 0);
  EXPECT_EQ(output.rfind("C_Collection (id 22) @0\n", 0), 0u);
  EXPECT_EQ(
      RunPakdump(WriteFile("cut.pak", std::vector<uint8_t>(whole.begin(), whole.begin() + 44)),
                 &output),
      1);
  EXPECT_NE(output.find("  [3]: C_Size (id 27) @36"), std::string::npos);
  EXPECT_NE(output.find("\nmalformed at offset 42: Height needs 4 bytes but only 2 remain\n"),
            std::string::npos);
  EXPECT_EQ(RunPakdump(""), 2);
  EXPECT_EQ(RunPakdump("a b"), 2);
  EXPECT_EQ(RunPakdump(std::string(DF_TEST_OUTPUT_DIR) + "/no-such-file.pak", &output), 2);
  EXPECT_NE(output.find("cannot open"), std::string::npos);
}
#endif
