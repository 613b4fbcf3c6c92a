// Record layouts of the object-model classes: strings, resources, collections,
// arrays and the five value classes.
#include "core/byte_stream.h"
#include "core/class_id.h"
#include "tools/pakdump/record_dumper.h"

namespace {

bool DescribeString(RecordDumper& d) {
  return d.CountedText("text");
}

bool DescribeResource(RecordDumper& d) {
  return d.CountedText("name");
}

bool DescribeCollection(RecordDumper& d) {
  uint32_t count = 0;
  const int64_t countAt = d.Offset();
  if (!d.U32("count", &count)) return false;
  // Every item takes at least its 2-byte class id; the loader refuses a count the
  // remaining bytes cannot hold before it allocates the slot array.
  if (2ull * count > static_cast<uint64_t>(d.Remaining())) {
    return d.MalformedAt(countAt, "collection count " + std::to_string(count) + " needs at least " +
                                      std::to_string(2ull * count) + " bytes but only " +
                                      std::to_string(d.Remaining()) + " remain");
  }
  for (uint32_t i = 0; i < count; ++i) {
    // Appended piece by piece: GCC 12 at -O3 misreads "[" + std::string as an
    // overlapping copy (-Wrestrict).
    std::string label = "[";
    label += std::to_string(i);
    label += ']';
    if (!d.Record(label.c_str(), RecordRole::Held)) return false;
  }
  return true;
}

// Written by C_Array under the root's id 21.
bool DescribeArray(RecordDumper& d) {
  uint32_t length = 0;
  return d.U32("length", &length) && d.U32("reserved", nullptr, Shown::Hex) &&
         d.Bytes("data", length);
}

bool DescribeSize(RecordDumper& d) {
  return d.F32("Width") && d.F32("Height");
}

// The two parts are stored and copied as raw 32-bit words.
bool DescribeComplex(RecordDumper& d) {
  return d.U32("Real", nullptr, Shown::Hex) && d.U32("Imaginary", nullptr, Shown::Hex);
}

bool DescribeVector2D(RecordDumper& d) {
  return d.F32("X") && d.F32("Y") && d.U8("Anchor");
}

bool DescribeVector3D(RecordDumper& d) {
  return d.F32("X") && d.F32("Y") && d.F32("Z");
}

bool DescribeVector4D(RecordDumper& d) {
  return d.F32("X") && d.F32("Y") && d.F32("Z") && d.F32("W");
}

const bool registered =
    RegisterDescriber(class_id::String, "C_String", DescribeString) &&
    RegisterDescriber(class_id::Resource, "C_Resource", DescribeResource) &&
    RegisterDescriber(class_id::Collection, "C_Collection", DescribeCollection) &&
    RegisterDescriber(class_id::Object, "C_Array", DescribeArray) &&
    RegisterDescriber(class_id::Size, "C_Size", DescribeSize) &&
    RegisterDescriber(class_id::Complex, "C_Complex", DescribeComplex) &&
    RegisterDescriber(class_id::Vector2D, "C_Vector2D", DescribeVector2D) &&
    RegisterDescriber(class_id::Vector3D, "C_Vector3D", DescribeVector3D) &&
    RegisterDescriber(class_id::Vector4D, "C_Vector4D", DescribeVector4D);

}  // namespace
