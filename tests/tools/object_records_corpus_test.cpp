// The seed corpus of the object-record fuzzer: valid records written by the classes'
// own Save (hand-built for the geometry and image classes), kept in step with the
// committed files. DF_WRITE_CORPUS=1 rewrites the files instead of comparing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>

#include "core/array.h"
#include "core/collection.h"
#include "core/complex.h"
#include "core/resource.h"
#include "core/size.h"
#include "core/string.h"
#include "core/vector2d.h"
#include "core/vector3d.h"
#include "core/vector4d.h"
#include "graphics/geometry/color.h"
#include "tests/tools/record_bytes.h"
#include "tools/pakdump/record_dumper.h"

namespace {

using Seed = std::pair<std::string, std::vector<uint8_t>>;

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  C_String abc("abc");
  C_String empty("");
  seeds.emplace_back("string_abc", SaveToBytes(abc));
  seeds.emplace_back("string_empty", SaveToBytes(empty));
  C_Resource font;
  font.SetName("font");
  seeds.emplace_back("resource_named", SaveToBytes(font));
  C_Collection none;
  seeds.emplace_back("collection_empty", SaveToBytes(none));
  C_Array array;
  array.Resize(3, 0);
  array.Data[0] = 7;
  array.Data[1] = 8;
  array.Data[2] = 9;
  seeds.emplace_back("array_3", SaveToBytes(array));
  C_Size size(640, 480);
  seeds.emplace_back("size", SaveToBytes(size));
  C_Complex complex;
  complex.Real = 1;
  complex.Imaginary = 2;
  seeds.emplace_back("complex", SaveToBytes(complex));
  C_Vector2D v2(0.5f, -1, 0x21);
  C_Vector3D v3(1, 2, 3);
  C_Vector4D v4(1, 0, 0, 1);
  seeds.emplace_back("vector2d", SaveToBytes(v2));
  seeds.emplace_back("vector3d", SaveToBytes(v3));
  seeds.emplace_back("vector4d", SaveToBytes(v4));
  C_Color color(1, 0.5f, 0, 1);
  seeds.emplace_back("color", SaveToBytes(color));

  C_Collection inner;
  inner.Append(&font);
  C_Collection mixed;
  for (C_Object* item : std::initializer_list<C_Object*>{&abc, nullptr, &v2, &inner, &size}) {
    mixed.Append(item);
  }
  seeds.emplace_back("collection_mixed", SaveToBytes(mixed));

  const std::vector<uint8_t> rect =
      RectRecord(0, 0, 0.5f, 20, 0x62, 0x44, Vector2DRecord(0, 0, 0x22));
  seeds.emplace_back("rect", rect);
  seeds.emplace_back("circle", CircleRecord(Vector2DRecord(8, 8, 0), 4));
  seeds.emplace_back("image_rgb", ImageRecord(2, 1, 24, 21));
  seeds.emplace_back("image_grey16", ImageRecord(2, 2, 16, 7));
  seeds.emplace_back("image_palette", PaletteImageRecord(2, 2, 6));
  const std::vector<uint8_t> surface = SurfaceRecord(
      {{2, ImageRecord(2, 1, 8, 6)}, {1, ImageRecord(2, 1, 32, 23)}}, SaveToBytes(color), 2, 1);
  seeds.emplace_back("surface_channels", surface);
  seeds.emplace_back("surface_no_list", SurfaceRecord({}, {}, 1, 1));
  std::vector<uint8_t> pak = {22, 0};
  PutU32(pak, 2);
  Append(pak, surface);
  Append(pak, SurfaceRecord({{1, ImageRecord(1, 1, 24, 21)}}, rect, 1, 1));
  seeds.emplace_back("pak_surfaces", pak);
  return seeds;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(ObjectRecordCorpus, SeedsAreValidAndCommitted) {
  const bool write = std::getenv("DF_WRITE_CORPUS") != nullptr;
  for (const auto& [name, bytes] : Seeds()) {
    std::ostringstream out;
    const DumpResult dumped = DumpObjectBytes(bytes.data(), bytes.size(), out);
    EXPECT_TRUE(dumped.Ok) << name << ": " << dumped.Error;
    const std::string path = std::string(DF_CORPUS_DIR) + "/" + name;
    if (write) {
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    } else {
      EXPECT_EQ(ReadFile(path), bytes)
          << name << " differs from its Save; rerun with DF_WRITE_CORPUS=1";
    }
  }
}
