// The widget record: the decal list bytes, children and drawing order, the
// derived classes' blocks, and what a hostile record ends in.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/byte_stream.h"
#include "core/error.h"
#include "tests/skin/skin_test_support.h"
#include "tests/widget/widget_test_support.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

using skin_test::LoadBytes;
using skin_test::SaveBytes;
using widget_test::Named;
using widget_test::Ptr;
using widget_test::ZoneDecal;

std::vector<uint8_t> DecalBytes(uint8_t action) {
  Ptr<C_Decal> d(ZoneDecal(action));
  return SaveBytes(*d);
}

size_t Find(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle, size_t from = 0) {
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    if (std::memcmp(&hay[i], needle.data(), needle.size()) == 0) return i;
  }
  return std::string::npos;
}

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// The record of a plain widget with the decal list replaced by `list`.
std::vector<uint8_t> WithDecalList(const std::vector<uint8_t>& list) {
  C_Widget plain;
  std::vector<uint8_t> b = SaveBytes(plain);
  // id, version, 0x7F, 0x80, then the fields.
  std::vector<uint8_t> out(b.begin(), b.begin() + 4);
  out.insert(out.end(), list.begin(), list.end());
  out.insert(out.end(), b.begin() + 6, b.end());
  return out;
}

}  // namespace

TEST(WidgetRecord, DecalsInSlotsZeroAndThree) {
  C_Widget w;
  w.Decals[0] = ZoneDecal(ZoneMove);
  w.Decals[3] = ZoneDecal(ZoneClick);
  const std::vector<uint8_t> b = SaveBytes(w);
  const std::vector<uint8_t> expected =
      Cat({{0x7F, 0x81, 0}, DecalBytes(ZoneMove), {0x81, 3}, DecalBytes(ZoneClick), {0x80}});
  EXPECT_EQ(Find(b, expected), 4u);
  C_Widget back;
  ASSERT_TRUE(LoadBytes(back, b));
  EXPECT_NE(back.Decals[0], nullptr);
  EXPECT_EQ(back.Decals[1], nullptr);
  EXPECT_NE(back.Decals[3], nullptr);
  EXPECT_EQ(SaveBytes(back), b);
}

TEST(WidgetRecord, ChildrenAndDrawingOrder) {
  C_Widget leaf;
  std::vector<uint8_t> b = SaveBytes(leaf);
  EXPECT_EQ(b[b.size() - 2], 0);  // no extras before it
  EXPECT_EQ(b[b.size() - 1], 0);
  EXPECT_EQ(b[b.size() - 3], 0);
  EXPECT_EQ(b[b.size() - 4], 0);

  C_Widget parent;
  parent.AddChild(Named("a"));
  parent.AddChild(Named("b"));
  parent.AddChild(Named("c"));
  // Drawn in the order 2, 0, 1.
  C_Object* last = parent.DrawOrder->RemoveAt(2);
  parent.DrawOrder->Insert(0, last);
  b = SaveBytes(parent);
  const int32_t tail[3] = {2, 0, 1};
  EXPECT_EQ(std::memcmp(&b[b.size() - 12], tail, 12), 0);
  C_Widget back;
  ASSERT_TRUE(LoadBytes(back, b));
  ASSERT_EQ(back.ChildCount(), 3u);
  EXPECT_STREQ(DrawOrderAt(back, 0)->Name.c_str(), "c");
  EXPECT_EQ(DrawOrderAt(back, 0)->OrderIndex, 0);
  EXPECT_EQ(back.ChildAt(1)->Parent, &back);
  EXPECT_EQ(SaveBytes(back), b);
}

// After the start byte, unknown bytes are skipped; slots of 10 and more are read
// and dropped; a start byte that is not 0x7F means no list and is lost.
TEST(WidgetRecord, DecalListEdgeCases) {
  const std::vector<uint8_t> zone = DecalBytes(ZoneClick);
  struct Case {
    const char* name;
    std::vector<uint8_t> list;
    bool loads;
    int slot;  // slot expected to hold a decal, or -1 for none
  } cases[] = {
      {"skipped bytes", Cat({{0x7F, 0x05, 0x90, 0x81, 2}, zone, {0x80}}), true, 2},
      {"slot 10", Cat({{0x7F, 0x81, 10}, zone, {0x80}}), true, -1},
      {"slot 255", Cat({{0x7F, 0x81, 255}, zone, {0x80}}), true, -1},
      {"twice", Cat({{0x7F, 0x81, 4}, zone, {0x81, 4}, zone, {0x80}}), true, 4},
      // Without the start byte the list is empty and that byte is lost.
      {"no start", {0x80}, true, -1},
      {"bad decal", {0x7F, 0x81, 0, 0x6D, 0x00, 0x64, 0x00}, false, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = WithDecalList(c.list);
    C_Widget w;
    EXPECT_EQ(LoadBytes(w, bytes), c.loads);
    for (int s = 0; s < kDecalSlots; ++s) EXPECT_EQ(w.Decals[s] != nullptr, s == c.slot) << s;
  }
}

TEST(WidgetRecord, DrawingOrderIndexesOutOfRangeOrRepeatedLeaveGaps) {
  C_Widget parent;
  parent.AddChild(Named("a"));
  parent.AddChild(Named("b"));
  std::vector<uint8_t> b = SaveBytes(parent);
  struct Case {
    int32_t first, second;
    const char* drawn0;
    const char* drawn1;
  } cases[] = {
      {1, 0, "b", "a"},
      {5, 0, nullptr, "a"},
      {-1, 1, nullptr, "b"},
      {0, 0, "a", nullptr},
  };
  for (const auto& c : cases) {
    std::memcpy(&b[b.size() - 8], &c.first, 4);
    std::memcpy(&b[b.size() - 4], &c.second, 4);
    C_Widget w;
    ASSERT_TRUE(LoadBytes(w, b));
    C_Widget* d0 = DrawOrderAt(w, 0);
    C_Widget* d1 = DrawOrderAt(w, 1);
    EXPECT_STREQ(d0 ? d0->Name.c_str() : nullptr, c.drawn0);
    EXPECT_STREQ(d1 ? d1->Name.c_str() : nullptr, c.drawn1);
    // A gap is saved as an index that reads back as a gap.
    C_Widget again;
    ASSERT_TRUE(LoadBytes(again, SaveBytes(w)));
    EXPECT_EQ(DrawOrderAt(again, 0) == nullptr, d0 == nullptr);
  }
}

TEST(WidgetRecord, HostileRecordsFailCleanly) {
  C_Widget parent;
  parent.AddChild(Named("a"));
  const std::vector<uint8_t> good = SaveBytes(parent);
  // The children collection: find the collection id (22) followed by count 1.
  const size_t at = Find(good, {22, 0, 1, 0, 0, 0});
  ASSERT_NE(at, std::string::npos);

  std::vector<uint8_t> huge = good;
  huge[at + 5] = 0x7F;  // 0x7F000001 children
  std::vector<uint8_t> notWidget = good;
  // Replace the child record by a colour record of the same collection.
  notWidget.resize(at + 6);
  const std::vector<uint8_t> colour = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  notWidget.insert(notWidget.end(), colour.begin(), colour.end());
  notWidget.insert(notWidget.end(), {0, 0, 0, 0});
  std::vector<uint8_t> unregistered = good;
  unregistered[at] = 0x77;
  unregistered[at + 1] = 0x07;
  std::vector<uint8_t> cut(good.begin(), good.end() - 2);

  for (const auto* bytes : {&huge, &notWidget, &unregistered, &cut}) {
    C_Widget w;
    w.Name.Assign(C_String("kept?"));
    SetError(0);
    EXPECT_FALSE(LoadBytes(w, *bytes));
    EXPECT_EQ(LastError.Code, -1);
    EXPECT_EQ(w.ChildCount(), 0u);
    EXPECT_STREQ(w.Name.c_str(), "") << "a failed load leaves the defaults";
  }
}

// Widgets nested far deeper than the loader allows end in a failure, not a crash.
TEST(WidgetRecord, DeepNestingIsRefused) {
  std::vector<uint8_t> prefix, suffix;
  C_Widget plain;
  const std::vector<uint8_t> leaf = SaveBytes(plain);
  // A widget with one child: everything up to the children, the collection header,
  // the child, then the order index.
  C_Widget one;
  one.AddChild(new C_Widget());
  const std::vector<uint8_t> wrap = SaveBytes(one);
  const size_t childAt = wrap.size() - 4 - leaf.size();
  std::vector<uint8_t> head(wrap.begin(), wrap.begin() + static_cast<long>(childAt));
  std::vector<uint8_t> tail(wrap.end() - 4, wrap.end());
  std::vector<uint8_t> bytes = leaf;
  for (int i = 0; i < 200; ++i) bytes = Cat({head, bytes, tail});
  C_Widget w;
  EXPECT_FALSE(LoadBytes(w, bytes));
  std::vector<uint8_t> shallow = leaf;
  for (int i = 0; i < 10; ++i) shallow = Cat({head, shallow, tail});
  EXPECT_TRUE(LoadBytes(w, shallow));
  EXPECT_EQ(SaveBytes(w), shallow);
}

TEST(WidgetRecord, DerivedClassesKeepTheirFields) {
  C_Form form;
  form.Mode = FormRolledUp;
  C_ScrollBar bar;
  bar.Value = 12;
  bar.Minimum = -3;
  bar.Maximum = 40;
  bar.PageSize = 7;
  bar.Step = 2;
  C_TextBox box;
  box.Font = C_FontType("Liberation Serif", 14);
  box.Font.StyleFlag2 = 1;
  box.Format.Align = AlignJustify;
  box.Format.Spare3 = 77;
  box.ScrollBars = 1;
  box.BoxFlag2 = 2;
  box.BoxFlag3 = 3;
  C_Form loadedForm;
  C_ScrollBar loadedBar;
  C_TextBox loadedBox;
  ASSERT_TRUE(LoadBytes(loadedForm, SaveBytes(form)));
  ASSERT_TRUE(LoadBytes(loadedBar, SaveBytes(bar)));
  ASSERT_TRUE(LoadBytes(loadedBox, SaveBytes(box)));
  EXPECT_EQ(loadedForm.Mode, FormRolledUp);
  EXPECT_EQ(loadedBar.Value, 12);
  EXPECT_EQ(loadedBar.Minimum, -3);
  EXPECT_EQ(loadedBar.Maximum, 40);
  EXPECT_EQ(loadedBar.PageSize, 7);
  EXPECT_EQ(loadedBar.Step, 2);
  EXPECT_STREQ(loadedBox.Font.Name.c_str(), "Liberation Serif");
  EXPECT_EQ(loadedBox.Font.Size, 14);
  EXPECT_EQ(loadedBox.Font.StyleFlag2, 1);
  EXPECT_EQ(loadedBox.Format.Align, AlignJustify);
  EXPECT_EQ(loadedBox.Format.Spare3, 77u);
  EXPECT_EQ(loadedBox.ScrollBars, 1);
  EXPECT_EQ(loadedBox.BoxFlag3, 3);
  // Each class checks its own id.
  C_Widget plain;
  EXPECT_FALSE(LoadBytes(plain, SaveBytes(form)));
  EXPECT_FALSE(LoadBytes(loadedBar, SaveBytes(box)));
}

// A scroll bar block of another version keeps the defaults.
TEST(WidgetRecord, ScrollBarOfAnotherVersionKeepsDefaults) {
  C_ScrollBar bar;
  bar.Maximum = 5;
  std::vector<uint8_t> b = SaveBytes(bar);
  b[b.size() - 22] = 99;  // the version before the five values
  C_ScrollBar back;
  ASSERT_TRUE(LoadBytes(back, b));
  EXPECT_EQ(back.Maximum, 300);
  EXPECT_EQ(back.PageSize, 50);
}

TEST(WidgetDefaults, NewWidgets) {
  C_Widget w;
  EXPECT_EQ(w.Page, -1);
  EXPECT_EQ(w.Opacity, 1);
  EXPECT_EQ(w.Remembered, 1);
  EXPECT_EQ(w.Visible, 0);
  EXPECT_EQ(w.DragLimits.X1, -65535);
  EXPECT_EQ(w.DragLimits.Y2, 65535);
  EXPECT_EQ(w.DragLimits.Anchor1, 0x00);
  EXPECT_EQ(w.DragLimits.Anchor2, 0x11);
  EXPECT_EQ(w.ImageRef >> 28, 0xFu);
  C_ScrollBar bar;
  EXPECT_EQ(bar.Maximum, 300);
  EXPECT_EQ(bar.PageSize, 50);
  EXPECT_EQ(bar.Step, 1);
  C_TextBox box;
  EXPECT_STREQ(box.Font.Name.c_str(), "MS Sans Serif");
  EXPECT_EQ(box.Font.Size, 10);
  EXPECT_EQ(box.Format.RightAnchor, 1);
  C_Form form;
  EXPECT_EQ(form.Mode, FormNormal);
}
