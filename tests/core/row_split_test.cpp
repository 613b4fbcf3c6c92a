// SplitRows: when it hands rows to the installed splitter and when it keeps them.
#include "core/row_split.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Band {
  int32_t First, End;
  bool operator==(const Band&) const = default;
};
std::vector<Band> splitterBands;

// Two bands, the second first.
void TwoBandsBackwards(int32_t rows, RowBandTask task, void* context) {
  const int32_t middle = rows / 2;
  splitterBands.push_back({middle, rows});
  task(context, middle, rows);
  splitterBands.push_back({0, middle});
  task(context, 0, middle);
}

TEST(RowSplit, LargeWorkGoesToTheSplitterSmallWorkStaysHere) {
  std::vector<Band> seen;
  auto record = [&](int32_t first, int32_t end) { seen.push_back({first, end}); };
  const RowSplitter before = SetRowSplitter(TwoBandsBackwards);
  EXPECT_EQ(before, nullptr);
  const struct {
    int32_t Rows;
    int64_t PixelsPerRow;
    bool Split;
  } cases[] = {
      {512, 512, true},                    // the display copy
      {256, kMinSplitPixels / 256, true},  // exactly the limit
      {256, kMinSplitPixels / 256 - 1, false},
      {1, kMinSplitPixels * 4, false},  // one row has no bands to share
      {0, 1000, false},                 // nothing to do: no call at all
  };
  for (const auto& c : cases) {
    seen.clear();
    splitterBands.clear();
    SplitRowsWith(c.Rows, c.PixelsPerRow, record);
    if (c.Rows == 0) {
      EXPECT_TRUE(seen.empty());
    } else if (c.Split) {
      EXPECT_EQ(seen, splitterBands) << c.Rows;
      EXPECT_EQ(seen.size(), 2u);
    } else {
      EXPECT_TRUE(splitterBands.empty()) << c.Rows;
      EXPECT_EQ(seen, (std::vector<Band>{{0, c.Rows}})) << c.Rows;
    }
  }
  EXPECT_EQ(SetRowSplitter(before), TwoBandsBackwards);
  // With none installed, everything runs here.
  seen.clear();
  SplitRowsWith(512, 512, record);
  EXPECT_EQ(seen, (std::vector<Band>{{0, 512}}));
}

}  // namespace
