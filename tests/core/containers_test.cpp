#include <gtest/gtest.h>

#include <memory>

#include "core/array.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/memory_counter.h"
#include "core/resource.h"
#include "core/string.h"
#include "tests/core/stream_helpers.h"

namespace {
constexpr uint64_t kSlot = sizeof(void*);

C_Object* Tag(uintptr_t n) {
  return reinterpret_cast<C_Object*>(n);
}
}  // namespace

TEST(Collection, InsertPositionsAndDoubling) {
  C_Collection c;
  EXPECT_TRUE(c.Insert(7, Tag(1)));  // index ignored on an empty collection
  EXPECT_EQ(c.Capacity, 1u);
  c.Insert(0, Tag(2));  // prepends
  EXPECT_EQ(c.Capacity, 2u);
  c.Insert(5, Tag(3));  // appends
  EXPECT_EQ(c.Capacity, 4u);
  c.Insert(1, Tag(4));
  EXPECT_EQ(c.Capacity, 4u);
  c.Insert(99, Tag(5));
  EXPECT_EQ(c.Capacity, 8u);
  const uintptr_t expected[] = {2, 4, 1, 3, 5};
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(c.GetAt(i), Tag(expected[i])) << i;
  EXPECT_EQ(c.GetAt(5), nullptr);
  c.Release();
  c.Init();
}

TEST(Collection, MemoryCounterMovesSlotBySlot) {
  const uint64_t base = MemoryInUse;
  MemoryPeak = MemoryInUse.load();
  C_Collection c;
  c.Append(Tag(1));
  EXPECT_EQ(MemoryInUse - base, 1 * kSlot);
  c.Append(Tag(2));
  EXPECT_EQ(MemoryInUse - base, 2 * kSlot);
  c.Append(Tag(3));
  EXPECT_EQ(MemoryInUse - base, 4 * kSlot);
  // The old array leaves the count before the new one arrives.
  EXPECT_EQ(MemoryPeak - base, 4 * kSlot);
  EXPECT_EQ(c.RemoveAt(0), Tag(1));
  EXPECT_EQ(c.RemoveAt(0), Tag(2));
  EXPECT_EQ(c.Capacity, 4u);
  EXPECT_EQ(c.RemoveAt(0), Tag(3));
  EXPECT_EQ(c.Items, nullptr);
  EXPECT_EQ(c.Capacity, 0u);
  EXPECT_EQ(MemoryInUse, base);
  EXPECT_EQ(c.RemoveAt(0), nullptr);
}

TEST(Collection, FindByNameSkipsNullsAndUnnamed) {
  C_Collection c;
  EXPECT_EQ(c.FindByName("a"), -1);
  C_Resource unnamed, a, b;
  a.SetName("a");
  b.SetName("b");
  C_String notAResource("b");
  c.Append(nullptr);
  c.Append(&unnamed);
  c.Append(&notAResource);
  c.Append(&a);
  c.Append(&b);
  EXPECT_EQ(c.FindByName("b"), 4);
  EXPECT_EQ(c.FindByName("a"), 3);
  EXPECT_EQ(c.FindByName("A"), -1);
}

TEST(Collection, RecordsAndCloning) {
  C_Collection empty;
  EXPECT_EQ(SaveToBytes(empty), (std::vector<uint8_t>{22, 0, 0, 0, 0, 0}));

  C_Collection c;
  c.Append(new C_String("x"));
  c.Append(nullptr);
  std::vector<uint8_t> bytes = SaveToBytes(c);
  EXPECT_EQ(bytes.size(), 6u + 8u + 2u);

  C_Collection read;
  ASSERT_TRUE(LoadFromBytes(read, bytes));
  EXPECT_EQ(read.Capacity, 2u);
  read.Append(nullptr);
  EXPECT_EQ(read.Capacity, 4u);

  C_Collection copy;
  copy.Append(nullptr);
  c.CopyTo(&copy);
  ASSERT_EQ(copy.Count, 3u);
  EXPECT_STREQ(static_cast<C_String*>(copy.GetAt(1))->Text, "x");
  EXPECT_NE(copy.GetAt(1), c.GetAt(1));
  EXPECT_EQ(copy.GetAt(2), nullptr);

  read.DeleteItems();
  copy.DeleteItems();
  c.DeleteItems();
}

TEST(Array, ResizeModes) {
  const uint64_t base = MemoryInUse;
  C_Array a;
  ASSERT_TRUE(a.Resize(16, ResizeExact));
  for (int i = 0; i < 16; ++i) a.Data[i] = static_cast<uint8_t>(i + 1);
  EXPECT_EQ(MemoryInUse - base, 16u);
  EXPECT_TRUE(a.Resize(10, ResizeAtLeast));
  EXPECT_EQ(a.Capacity, 16u);
  EXPECT_EQ(a.Length, 10u);
  EXPECT_TRUE(a.Resize(20, ResizeExact | ResizeZeroFill | ResizeKeep));
  EXPECT_EQ(a.Capacity, 20u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a.Data[i], i + 1);
  for (int i = 16; i < 20; ++i) EXPECT_EQ(a.Data[i], 0);
  EXPECT_EQ(MemoryInUse - base, 20u);
  EXPECT_FALSE(a.Resize(8, 3));
  EXPECT_EQ(a.Length, 20u);
  EXPECT_TRUE(a.Resize(20, ResizeExact | ResizeZeroFill));  // same size: the buffer is cleared
  EXPECT_EQ(a.Data[0], 0);
  EXPECT_TRUE(a.Resize(25, ResizeGrowBySum));
  EXPECT_EQ(a.Capacity, 45u);
  EXPECT_EQ(a.Length, 25u);
  a.Release();
  a.Init();
  EXPECT_EQ(MemoryInUse, base);
}

TEST(Array, RecordCloneAndTags) {
  C_Array a;
  a.Resize(3, ResizeExact);
  a.Data[0] = 'x', a.Data[1] = 'y', a.Data[2] = 'z';
  a.Tag1 = 5;
  a.Tag2 = -6;
  const std::vector<uint8_t> bytes = SaveToBytes(a);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{21, 0, 3, 0, 0, 0, 0, 0, 0, 0, 'x', 'y', 'z'}));
  std::unique_ptr<C_Object> clone(a.Clone());
  auto* copy = dynamic_cast<C_Array*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Length, 3u);
  EXPECT_EQ(copy->Data[2], 'z');
  EXPECT_EQ(copy->Tag1, 5);
  EXPECT_EQ(copy->Tag2, -6);
  C_Array read;
  ASSERT_TRUE(LoadFromBytes(read, bytes));
  EXPECT_EQ(read.Length, 3u);
  EXPECT_EQ(read.Data[1], 'y');
  EXPECT_EQ(read.Tag1, 0);
}

TEST(Resource, NameRecordAndDefaults) {
  C_Resource r;
  EXPECT_FALSE(r.Prepare());
  EXPECT_FALSE(r.Attach(nullptr));
  EXPECT_EQ(SaveToBytes(r), (std::vector<uint8_t>{24, 0, 1, 0, 0, 0, 0}));
  r.SetName("font");
  const std::vector<uint8_t> bytes = SaveToBytes(r);
  EXPECT_EQ(bytes.size(), 2u + 4u + 5u);
  C_Resource read;
  ASSERT_TRUE(LoadFromBytes(read, bytes));
  EXPECT_STREQ(read.Name, "font");
  std::unique_ptr<C_Object> clone(read.Clone());
  EXPECT_STREQ(static_cast<C_Resource*>(clone.get())->Name, "font");
  r.SetName(nullptr);
  EXPECT_EQ(r.Name, nullptr);
}

TEST(Collection, ItemsThatStoreNothingAreSavedAsMissing) {
  // A plain object (the clone of any value class) writes no bytes of its own; the
  // collection stores it as a missing item so that the record reads back.
  C_Collection c;
  C_Object plain;
  C_String text("a");
  c.Append(&plain);
  c.Append(&text);
  const std::vector<uint8_t> bytes = SaveToBytes(c);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{22, 0, 2, 0, 0, 0, 0, 0, 13, 0, 2, 0, 0, 0, 'a', 0}));
  C_Collection read;
  ASSERT_TRUE(LoadFromBytes(read, bytes));
  EXPECT_EQ(read.GetAt(0), nullptr);
  EXPECT_STREQ(static_cast<C_String*>(read.GetAt(1))->Text, "a");
  read.DeleteItems();
}

TEST(Containers, ReleasedObjectsStayUsable) {
  // Release frees the buffers and their sizes with them, so later use is safe.
  C_String s("hello");
  s.Release();
  EXPECT_EQ(SaveToBytes(s), (std::vector<uint8_t>{13, 0, 1, 0, 0, 0, 0}));
  s.InsertChar(0, 'x');
  EXPECT_STREQ(s.Text, "x");

  const uint64_t base = MemoryInUse;
  C_Array a;
  a.Resize(16, ResizeExact);
  a.Release();
  EXPECT_EQ(MemoryInUse, base);
  EXPECT_TRUE(a.Resize(10, ResizeAtLeast));
  ASSERT_NE(a.Data, nullptr);
  EXPECT_EQ(SaveToBytes(a).size(), 20u);

  C_Collection c;
  c.Append(nullptr);
  c.Release();
  C_Collection copy;
  c.CopyTo(&copy);
  EXPECT_EQ(copy.Count, 0u);
  EXPECT_EQ(MemoryInUse, base + 10);  // the array's new buffer only
}
