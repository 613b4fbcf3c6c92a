// The data folder: the given one, else the first existing place of the search
// (build tree beside, above and two above the program; the installed share
// folder), else the one beside the program.
#include "program/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(DataFolder, GivenFolderGetsItsSlash) {
  char out[512];
  ASSERT_TRUE(FindDataFolder("given", "/x/", out, sizeof out));
  EXPECT_STREQ(out, "given/");
  ASSERT_TRUE(FindDataFolder("given/", "/x/", out, sizeof out));
  EXPECT_STREQ(out, "given/");
  EXPECT_FALSE(FindDataFolder(std::string(600, 'a').c_str(), "", out, sizeof out));
  EXPECT_FALSE(FindDataFolder(nullptr, std::string(600, 'a').c_str(), out, sizeof out));
}

// Each row makes one more folder of the search; the nearest existing one wins.
TEST(DataFolder, SearchPrefersTheNearestPlace) {
  const fs::path root = fs::path(DF_TEST_OUTPUT_DIR) / "program" / "data-search";
  fs::remove_all(root);
  const fs::path bin = root / "prefix" / "bin";
  fs::create_directories(bin);
  const std::string program = bin.string() + "/";
  struct Case {
    fs::path Made;         // created before the search
    const char* Expected;  // relative to the program's folder
  };
  const Case cases[] = {
      {{}, "data/"},  // nothing exists: the one beside the program is named
      {root / "prefix" / "share" / "dappleforge", "../share/dappleforge/"},
      {root / "data", "../../data/"},          // a tool in the build tree: tools/<name>/
      {root / "prefix" / "data", "../data/"},  // the demo in the build tree: app/
      {bin / "data", "data/"},
  };
  char out[512];
  for (const Case& c : cases) {
    if (!c.Made.empty()) fs::create_directories(c.Made);
    ASSERT_TRUE(FindDataFolder(nullptr, program.c_str(), out, sizeof out));
    EXPECT_EQ(std::string(out), program + c.Expected) << c.Expected;
  }
}

}  // namespace
