// The desktop's passes over the gallery allocate nothing once it has been painted
// once: layout, paint and the hit test, at every widget of the tree.
#include <gtest/gtest.h>

#include <vector>

#include "core/memory_counter.h"
#include "desktop_test_support.h"
#include "tests/counting_new.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;

void CollectCentres(const C_Widget* w, std::vector<C_Vector2D>& points) {
  points.push_back(Centre(w));
  for (uint32_t i = 0; i < w->ChildCount(); ++i) {
    if (const C_Widget* child = w->ChildAt(i)) CollectCentres(child, points);
  }
}

TEST_F(DesktopTest, LayoutPaintAndHitTestAllocateNothing) {
  std::vector<C_Vector2D> points;
  CollectCentres(desktop.Root, points);
  points.emplace_back(-5.0f, 700.0f);  // outside everything
  ASSERT_GT(points.size(), 40u);
  const auto passes = [&] {
    desktop.Layout();
    desktop.Paint();
    for (const C_Vector2D& at : points) desktop.HitTest(at);
  };
  passes();  // the first paint makes what later ones reuse
  const uint64_t news = g_newCalls.load();
  const uint64_t memory = MemoryInUse.load();
  for (int round = 0; round < 3; ++round) passes();
  EXPECT_EQ(g_newCalls.load() - news, 0u);
  EXPECT_EQ(MemoryInUse.load(), memory);
}

}  // namespace
