#include <gtest/gtest.h>

#include <memory>

#include "core/array.h"
#include "core/byte_stream.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/pointer.h"
#include "core/random.h"
#include "core/size.h"
#include "core/string.h"

TEST(ClassRegistry, SignatureIsWrittenByStaticInitialisation) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(RegistrySignature[i], kRegistrySignatureWords[i]);
  EXPECT_EQ(RegistryLock.load(), 0);
}

TEST(ClassRegistry, CreatesTheRegisteredClassForEachId) {
  struct Case {
    uint16_t id;
    uint16_t reportedId;
  };
  // 23 holds the array factory; the array itself reports the root id 21.
  const Case cases[] = {{13, 13}, {16, 16}, {18, 18}, {19, 19}, {20, 20}, {21, 21},
                        {22, 22}, {23, 21}, {24, 24}, {26, 26}, {27, 27}};
  for (const Case& c : cases) {
    std::unique_ptr<C_Object> object(CreateObject(c.id));
    ASSERT_NE(object, nullptr) << c.id;
    EXPECT_EQ(object->GetClassId(), c.reportedId) << c.id;
  }
  std::unique_ptr<C_Object> array(CreateObject(class_id::ArrayFactory));
  EXPECT_NE(dynamic_cast<C_Array*>(array.get()), nullptr);
  std::unique_ptr<C_Object> pointer(CreateObject(class_id::Pointer));
  EXPECT_NE(dynamic_cast<C_Pointer*>(pointer.get()), nullptr);
}

TEST(ClassRegistry, EmptyAndOutOfRangeIdsCreateNothingWithoutError) {
  SetError(7);
  EXPECT_EQ(CreateObject(0), nullptr);
  EXPECT_EQ(CreateObject(3), nullptr);
  EXPECT_EQ(CreateObject(4095), nullptr);
  EXPECT_EQ(CreateObject(4096), nullptr);
  EXPECT_EQ(CreateObject(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(LastError.Code, 7);
}

TEST(ClassRegistry, EnsureClearsOnlyOnce) {
  ClassFactory saved = ClassRegistry[class_id::String];
  EnsureClassRegistry();
  EXPECT_EQ(ClassRegistry[class_id::String], saved);
}

TEST(ObjectRoot, BaseCloneIsAPlainObject) {
  C_Size size(3, 4);
  std::unique_ptr<C_Object> copy(size.Clone());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetClassId(), class_id::Object);
  EXPECT_EQ(dynamic_cast<C_Size*>(copy.get()), nullptr);
}

TEST(ObjectRoot, DefaultLoadAndSaveNeedOnlyAStream) {
  C_Object object;
  EXPECT_FALSE(object.Load(nullptr, 0));
  EXPECT_FALSE(object.Save(nullptr, 0));
  ByteStream* stream = NewMemoryWriter();
  EXPECT_TRUE(object.Save(stream, 0));
  EXPECT_EQ(stream->Total, 0);
  FreeStream(stream);
}

TEST(ErrorRecord, FailStoresTheCodeThenMinusOne) {
  EXPECT_EQ(SetError(10, 0, 0), 10);
  EXPECT_EQ(LastError.Code, 10);
  EXPECT_FALSE(Fail(ErrorUnexpectedData));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_EQ(LastError.Value1, 0);
  EXPECT_EQ(LastError.Value2, 0);
  // A later failure without a code of its own keeps the cause; a new code replaces it.
  EXPECT_FALSE(Fail());
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_FALSE(Fail(ErrorAllocation));
  EXPECT_EQ(LastError.Cause, ErrorAllocation);
  LastError = {};
  EXPECT_EQ(LastError.Cause, 0);
}

TEST(Random, ReproducesTheClassicSequence) {
  RandomSource source;
  EXPECT_EQ(source.Next(), 41);
  EXPECT_EQ(source.Next(), 18467);
  EXPECT_EQ(source.Next(), 6334);
  EXPECT_EQ(source.Next(), 26500);
  for (int i = 0; i < 10000; ++i) {
    const int32_t v = source.Next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, RandomSource::kMax);
  }
}
