// paktext: every built data file and every loadable corpus seed goes to text and
// back to the same bytes (and the text it builds exports to the same text); bad
// texts fail with one line naming the JSON path and leave no file behind.
#include "tools/paktext/paktext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/byte_stream.h"
#include "core/class_names.h"
#include "core/collection.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

fs::path Scratch(const std::string& name) {
  const fs::path path = fs::path(DF_TEST_OUTPUT_DIR) / "paktext" / name;
  fs::remove_all(path);
  fs::create_directories(path);
  return path;
}

// The bytes Save writes for what the file loads to, or empty when it does not load.
std::string Resaved(const std::string& bytes) {
  if (bytes.size() < 2) return {};
  const uint16_t id =
      static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8);
  C_Object* object = NewObjectForRecord(id);
  if (!object || !ClassNameOf(id)) {
    delete object;
    return {};
  }
  ByteStream* in = NewMemoryReader(bytes.data(), bytes.size());
  std::string saved;
  if (object->Load(in, 0) && !in->Broken) {
    ByteStream* out = NewMemoryWriter();
    if (object->Save(out, 0)) saved.assign(reinterpret_cast<char*>(out->Buffer), out->Total);
    FreeStream(out);
  }
  FreeStream(in);
  DeleteOwnedObject(object);
  return saved;
}

// Export, build, compare; then export the built file and compare the texts.
void ExpectRoundTrip(const fs::path& file, const std::string& expected) {
  SCOPED_TRACE(file.string());
  const fs::path folder = Scratch(file.filename().string());
  std::string error;
  ASSERT_TRUE(ExportObjectFile(file.string(), folder.string(), error)) << error;
  const fs::path built = folder / "built";
  ASSERT_TRUE(BuildObjectFile(folder.string(), built.string(), error)) << error;
  EXPECT_TRUE(ReadText(built) == expected);
  const fs::path again = folder / "again";
  ASSERT_TRUE(ExportObjectFile(built.string(), again.string(), error)) << error;
  EXPECT_EQ(ReadText(again / "object.json"), ReadText(folder / "object.json"));
}

TEST(Paktext, BuiltFilesRoundTripToTheSameBytes) {
  std::vector<fs::path> files = {fs::path(DF_BUILT_FILES_DIR) / "fonts.pak",
                                 fs::path(DF_BUILT_FILES_DIR) / "guigfx.pak"};
  for (const auto& entry : fs::directory_iterator(fs::path(DF_BUILT_FILES_DIR) / "widgets")) {
    files.push_back(entry.path());
  }
  ASSERT_EQ(files.size(), 13u);
  for (const fs::path& file : files) ExpectRoundTrip(file, ReadText(file));
}

// A seed that loads goes back to its own bytes, also where Load and Save alone
// would not give them back (a surface's channels come back from Load reversed).
TEST(Paktext, CorpusSeedsThatLoadRoundTrip) {
  int loaded = 0;
  for (const auto& entry : fs::directory_iterator(DF_CORPUS_DIR)) {
    const std::string bytes = ReadText(entry.path());
    if (Resaved(bytes).empty()) continue;
    ++loaded;
    ExpectRoundTrip(entry.path(), bytes);
  }
  EXPECT_GE(loaded, 15);
}

TEST(Paktext, BadTextsFailWithOneLineNamingThePath) {
  struct Case {
    const char* Text;
    const char* Error;
  };
  const Case cases[] = {
      {"", "not JSON"},
      {"{\"class\": \"C_Size\", \"Width\": 1,}", "not JSON at byte"},
      {"[1]", "(top): must be an object"},
      {"{\"Width\": 1}", ".class: is missing"},
      {"{\"class\": \"C_Nothing\"}", ".class: \"C_Nothing\" is not a class"},
      {"{\"class\": \"C_Size\", \"Width\": 1}", ".Height: is missing"},
      {"{\"class\": \"C_Size\", \"Width\": \"wide\", \"Height\": 2}", ".Width: must be a number"},
      {"{\"class\": \"C_Size\", \"Width\": 1e300, \"Height\": 2}", ".Width: is out of the range"},
      {"{\"class\": \"C_Size\", \"Width\": 1, \"Height\": 2, \"Depth\": 3}",
       ".Depth: is not a field"},
      {"{\"class\": \"C_Vector2D\", \"X\": 1, \"Y\": 2, \"Anchor\": 256}",
       ".Anchor: is out of range"},
      {"{\"class\": \"C_Vector2D\", \"X\": 1, \"Y\": 2, \"Anchor\": \"0x100\"}",
       ".Anchor: has more bits"},
      {"{\"class\": \"C_Complex\", \"Real\": 1.5, \"Imaginary\": 0}", ".Real: must be a whole"},
      {"{\"class\": \"C_Collection\", \"Items\": [{\"class\": \"C_Size\", \"Width\": 1}]}",
       ".Items[0].Height: is missing"},
      {"{\"class\": \"C_Collection\", \"Items\": [{\"Width\": 1}]}", ".Items[0].class: is missing"},
      {"{\"class\": \"C_String\", \"text\": \"\\u0100\"}", "outside U+0001 to U+00FF"},
      {"{\"class\": \"C_Array\", \"length\": 2, \"data\": \"01\"}",
       ".data: holds 1 bytes, but the record says 2"},
      {"{\"class\": \"C_Image\", \"PixelBytes\": 8, \"Width\": 2, \"Height\": 2, \"Pitch\": 4,"
       " \"BitsPerPixel\": 16, \"Format\": 7, \"PaletteBytes\": 0,"
       " \"pixels\": {\"file\": \"missing.raw\", \"encoding\": \"raw\"}}",
       ".pixels: cannot open the picture file"},
      {"{\"class\": \"C_Image\", \"PixelBytes\": 8, \"Width\": 2, \"Height\": 2, \"Pitch\": 4,"
       " \"BitsPerPixel\": 16, \"Format\": 7, \"PaletteBytes\": 0,"
       " \"pixels\": {\"file\": \"three.raw\", \"encoding\": \"raw\"}}",
       "three.raw holds 3 bytes, but 2 rows of 4 bytes are 8"},
      {"{\"class\": \"C_Image\", \"PixelBytes\": 4, \"Width\": 2, \"Height\": 2, \"Pitch\": 2,"
       " \"BitsPerPixel\": 8, \"Format\": 6, \"PaletteBytes\": 0,"
       " \"pixels\": {\"file\": \"three.raw\", \"encoding\": \"raw\"}}",
       ".pixels: the encoding of this pixel format is \"png\""},
      {"{\"class\": \"C_Image\", \"PixelBytes\": 4, \"Width\": 2, \"Height\": 2, \"Pitch\": 2,"
       " \"BitsPerPixel\": 8, \"Format\": 6, \"PaletteBytes\": 0,"
       " \"pixels\": {\"file\": \"../x.raw\", \"encoding\": \"raw\"}}",
       ".pixels.file: must name a file in the text's folder"},
      {"{\"class\": \"C_Image\", \"PixelBytes\": 1, \"Width\": 2, \"Height\": 2, \"Pitch\": 2,"
       " \"BitsPerPixel\": 8, \"Format\": 6, \"PaletteBytes\": 0}",
       "the rows do not fit in PixelBytes"},
      {"{\"class\": \"C_Image\", \"PixelBytes\": 1073741824, \"Width\": 16384, \"Height\": 16384,"
       " \"Pitch\": 65536, \"BitsPerPixel\": 32, \"Format\": 24, \"PaletteBytes\": 0}",
       "more than the text form allows"},
  };
  const fs::path folder = Scratch("bad");
  WriteText(folder / "three.raw", "abc");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    std::string bytes, error;
    const std::string text = c.Text;
    EXPECT_FALSE(BuildObjectBytes(text.data(), text.size(), folder.string(), bytes, error));
    EXPECT_NE(error.find(c.Error), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }

  // Deep nesting is refused before it is parsed.
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  std::string bytes, error;
  EXPECT_FALSE(BuildObjectBytes(deep.data(), deep.size(), folder.string(), bytes, error));
  EXPECT_NE(error.find("nested more than"), std::string::npos) << error;
}

#ifdef PAKTEXT_EXE
int RunPaktext(const std::string& arguments, std::string* output = nullptr) {
  const std::string command = std::string(PAKTEXT_EXE) + " " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char chunk[4096];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
  const int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PaktextProgram, ExitStatusAndNoPartialFile) {
  std::string output;
  EXPECT_EQ(RunPaktext("build only-one", &output), 2);

  const fs::path folder = Scratch("program");
  WriteText(folder / "object.json", "{\"class\": \"C_Size\", \"Width\": 1}");
  const fs::path out = folder / "out.pak";
  EXPECT_EQ(RunPaktext("build " + folder.string() + " " + out.string(), &output), 1);
  EXPECT_NE(output.find("object.json: .Height: is missing"), std::string::npos) << output;
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(fs::exists(out.string() + ".part"));

  WriteText(folder / "object.json", "{\"class\": \"C_Size\", \"Width\": 1, \"Height\": 2}");
  EXPECT_EQ(RunPaktext("build " + folder.string() + " " + out.string()), 0);
  EXPECT_EQ(fs::file_size(out), 10u);
  // One text file names its own folder for the pictures.
  EXPECT_EQ(RunPaktext("build " + (folder / "object.json").string() + " " + out.string()), 0);
}
#endif

}  // namespace
