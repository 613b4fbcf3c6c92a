// Data files of the wrong kind: every pair of the demo's data files swapped, and
// packs whose first item is of another class. None may crash the demo; a file that
// does not hold what its name promises is refused with its failure line, as a
// missing one is, and a refused widget file ends start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/string.h"
#include "tests/app/demo_run.h"

namespace {

using demo_run::DataFolder;
using demo_run::DemoRun;

// What a data file holds, as far as the demo reads it.
enum Holds {
  FontPackFile,
  SheetPackFile,
  FormFile,
  WidgetFile,
  ScrollBarFile,
  TextBoxFile,
  Picture
};

struct DataFile {
  const char* Name;
  Holds Kind;
};

// In the order start-up reads them.
constexpr DataFile kDataFiles[] = {
    {"fonts.pak", FontPackFile},
    {"guigfx.pak", SheetPackFile},
    {"widgets/form.wgt", FormFile},
    {"widgets/vseparator.wgt", WidgetFile},
    {"widgets/hseparator.wgt", WidgetFile},
    {"widgets/frame.wgt", FormFile},
    {"widgets/button.wgt", WidgetFile},
    {"widgets/option.wgt", WidgetFile},
    {"widgets/checkbox.wgt", WidgetFile},
    {"widgets/hscroll.wgt", ScrollBarFile},
    {"widgets/vscroll.wgt", ScrollBarFile},
    {"widgets/textbox.wgt", TextBoxFile},
    {"widgets/scrollspace.wgt", WidgetFile},
    {"light.pcx", Picture},
    {"light_a.pcx", Picture},
};
constexpr int kFileCount = sizeof kDataFiles / sizeof kDataFiles[0];

bool IsWidgetFile(Holds kind) {
  return kind != FontPackFile && kind != SheetPackFile && kind != Picture;
}

std::string FailureLine(const char* name) {
  return std::string("\nThe file < ") + name + " > cannot be opened, contact";
}

std::string LoadingLine(const char* name) {
  return std::string(">>>loading < ") + name + " >";
}

// Files a and b trade places. A widget file that gets a file of another kind ends
// start-up with its failure line (the later one is then never read); a pack that
// gets another file is refused with its failure line and the frames still run; the
// light maps are read without a report.
TEST(DataFiles, EveryPairSwappedRunsOrStopsWithTheFailureLine) {
  int swaps = 0;
  for (int a = 0; a < kFileCount; ++a) {
    for (int b = a + 1; b < kFileCount; ++b) {
      const DataFile& first = kDataFiles[a];
      const DataFile& second = kDataFiles[b];
      SCOPED_TRACE(std::string(first.Name) + " <-> " + second.Name);
      const std::string folder =
          DataFolder("swapped", {{first.Name, second.Name}, {second.Name, first.Name}});
      DemoRun run(folder.c_str());
      run.options.MaxFrames = 1;
      const int result = run.Run();
      ++swaps;

      const bool differ = first.Kind != second.Kind;
      // The first of the two read that is refused and ends start-up, if any.
      const DataFile* stop = differ && IsWidgetFile(first.Kind)    ? &first
                             : differ && IsWidgetFile(second.Kind) ? &second
                                                                   : nullptr;
      EXPECT_EQ(result, stop ? 0 : 1);
      EXPECT_EQ(run.frames, stop ? 0 : 1);
      EXPECT_EQ(run.memoryAfter, run.memoryBefore);
      for (const DataFile* file : {&first, &second}) {
        const bool read = !stop || !IsWidgetFile(file->Kind) || file == stop;
        const bool refused = differ && read && file->Kind != Picture;
        EXPECT_EQ(run.output.find(FailureLine(file->Name)) != std::string::npos, refused)
            << file->Name << "\n"
            << run.output;
        if (!read) {
          EXPECT_EQ(run.output.find(LoadingLine(file->Name)), std::string::npos);
        }
      }
    }
  }
  EXPECT_EQ(swaps, kFileCount * (kFileCount - 1) / 2);
}

// A pack of the built items with one item of another class put first.
std::string PackWithStrangerFirst(const char* packName, C_Object* stranger, uint32_t keep) {
  C_Collection built;
  EXPECT_TRUE(LoadObjectFile(&built, (std::string(DF_DEMO_DATA) + packName).c_str()));
  C_Collection mixed;
  mixed.Append(stranger);
  for (uint32_t i = 0; i < built.Count && i < keep; ++i) mixed.Append(built.GetAt(i));
  const std::string path = std::string(DF_TEST_OUTPUT_DIR) + "/app/stranger-first-" + packName;
  std::filesystem::create_directories(std::string(DF_TEST_OUTPUT_DIR) + "/app");
  EXPECT_TRUE(SaveObjectFile(&mixed, path.c_str()));
  built.DeleteItems();
  DeleteOwnedObject(stranger);
  return path;
}

TEST(DataFiles, APackWhoseFirstItemIsOfAnotherClassIsRefusedAndTheFramesRun) {
  C_Collection sheets;
  ASSERT_TRUE(LoadObjectFile(&sheets, (std::string(DF_DEMO_DATA) + "guigfx.pak").c_str()));
  C_Object* sheet = sheets.RemoveAt(0);
  sheets.DeleteItems();
  struct Case {
    const char* Pack;
    C_Object* Stranger;
  };
  // A graphics sheet before the first font, and a string before the first sheet.
  const Case cases[] = {{"fonts.pak", sheet}, {"guigfx.pak", new C_String("not a sheet")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Pack);
    const std::string pack = PackWithStrangerFirst(c.Pack, c.Stranger, 1);
    const std::string folder = DataFolder("stranger-first", {{c.Pack, pack}});
    DemoRun run(folder.c_str());
    run.options.MaxFrames = 2;
    EXPECT_EQ(run.Run(), 1);
    EXPECT_EQ(run.frames, 2);
    EXPECT_NE(run.output.find(FailureLine(c.Pack)), std::string::npos) << run.output;
    EXPECT_EQ(run.memoryAfter, run.memoryBefore);
  }
}

}  // namespace
