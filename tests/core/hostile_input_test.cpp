// Object records built to hurt: huge counts, deep nesting, truncation, unknown ids.
#include <gtest/gtest.h>

#include "core/array.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/memory_counter.h"
#include "core/resource.h"
#include "tests/core/stream_helpers.h"

TEST(HostileInput, HugeCountsAllocateNothing) {
  const uint64_t peak = MemoryPeak;
  std::vector<uint8_t> collection = {22, 0};
  PutU32(collection, 0xFFFFFFFFu);
  PutU16(collection, 0);
  C_Collection c;
  EXPECT_FALSE(LoadFromBytes(c, collection));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_EQ(c.Items, nullptr);

  std::vector<uint8_t> array = {21, 0};
  PutU32(array, 0xFFFFFFF0u);
  PutU32(array, 0);
  C_Array a;
  EXPECT_FALSE(LoadFromBytes(a, array));
  EXPECT_EQ(a.Data, nullptr);

  std::vector<uint8_t> resource = {24, 0};
  PutU32(resource, 0x7FFFFFFFu);
  C_Resource r;
  EXPECT_FALSE(LoadFromBytes(r, resource));
  EXPECT_EQ(r.Name, nullptr);
  EXPECT_EQ(MemoryPeak, peak);
}

TEST(HostileInput, DeepNestingEndsCleanly) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 100000; ++i) {
    PutU16(bytes, 22);
    PutU32(bytes, 1);
  }
  C_Collection c;
  EXPECT_FALSE(LoadFromBytes(c, bytes));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  // Whatever was built is owned by its parent and goes with it (LeakSanitizer checks).
  c.DeleteItems();
}

TEST(HostileInput, TruncatedCollectionKeepsItsItemsFreeable) {
  C_Collection written;
  written.Append(new C_Resource());
  static_cast<C_Resource*>(written.GetAt(0))->SetName("one");
  written.Append(new C_Resource());
  static_cast<C_Resource*>(written.GetAt(1))->SetName("two");
  std::vector<uint8_t> bytes = SaveToBytes(written);
  written.DeleteItems();
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
    C_Collection c;
    EXPECT_FALSE(LoadFromBytes(c, part)) << cut;
    EXPECT_EQ(LastError.Code, -1);
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
    EXPECT_LE(c.Count, c.Capacity);
    c.DeleteItems();
  }
}

TEST(HostileInput, AnItemThatReadsNothingEndsTheCollection) {
  // Alone, an unregistered id is a missing item.
  std::vector<uint8_t> single = {22, 0};
  PutU32(single, 1);
  PutU16(single, 0xFFFF);
  C_Collection one;
  EXPECT_TRUE(LoadFromBytes(one, single));
  ASSERT_EQ(one.Count, 1u);
  EXPECT_EQ(one.GetAt(0), nullptr);

  // With more items to come, every further item would re-read the same id (an
  // unregistered one, or 21 whose plain object reads nothing): refused, not looped.
  for (uint16_t id : {uint16_t{4000}, uint16_t{21}}) {
    std::vector<uint8_t> bytes = {22, 0};
    PutU32(bytes, 100000);
    for (int i = 0; i < 100000; ++i) PutU16(bytes, id);
    C_Collection c;
    EXPECT_FALSE(LoadFromBytes(c, bytes)) << id;
    EXPECT_EQ(LastError.Code, -1);
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
    EXPECT_EQ(c.Count, 1u);
    c.DeleteItems();
  }
}

TEST(HostileInput, NestedCollectionsCannotClaimTheSameBytes) {
  // Each level claims 1000 items over bytes that only hold about 1000 ids: the
  // first nested claim no longer fits beside what its parent still needs.
  const uint64_t peak = MemoryPeak;
  std::vector<uint8_t> bytes;
  for (int level = 0; level < 40; ++level) {
    PutU16(bytes, 22);
    PutU32(bytes, 1000);
  }
  for (int i = 0; i < 1000; ++i) PutU16(bytes, 0);
  C_Collection c;
  EXPECT_FALSE(LoadFromBytes(c, bytes));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_LE(MemoryPeak - peak, 2 * 1000 * sizeof(void*));
  c.DeleteItems();
}
