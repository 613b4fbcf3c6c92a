// LoadImageFile's choice of reader by extension, its failures, and surfaces built
// from a colour file and an alpha file.
#include "image/picture_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/error.h"
#include "core/memory_counter.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"
#include "image/surface_files.h"
#include "tests/image/picture_bytes.h"

namespace {

std::vector<uint8_t> SmallBmp() {
  return MakeBmp(1, 1, 24, 0, {1, 2, 3});
}
std::vector<uint8_t> SmallPcx() {
  return PcxHeader(2, 1, 1, 2).Raw({5, 6}).Raw(PcxPalette()).Bytes;
}
std::vector<uint8_t> SmallTga() {
  return TgaHeader(2, 1, 1, 24).Raw({7, 8, 9}).Bytes;
}

TEST(PictureFile, ExtensionChoosesTheReaderWhateverItsCase) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t format;
    uint8_t first;
  };
  const Case cases[] = {
      {"photo.Bmp", SmallBmp(), pixel_format::R8G8B8, 1},
      {"PHOTO.BMP", SmallBmp(), pixel_format::R8G8B8, 1},
      {"light.pcx", SmallPcx(), pixel_format::Index8, 5},
      {"sprite.TgA", SmallTga(), pixel_format::R8G8B8, 7},
      {"dotted.name.tga", SmallTga(), pixel_format::R8G8B8, 7},
  };
  for (const Case& c : cases) {
    C_Image image;
    ASSERT_TRUE(LoadImageFile(WritePictureFile(c.name, c.bytes).c_str(), &image)) << c.name;
    EXPECT_EQ(image.Format, c.format) << c.name;
    EXPECT_EQ(image.Pixels[0], c.first) << c.name;
  }
  // A BMP's bytes under a PCX name go to the PCX reader, which refuses them.
  C_Image image;
  EXPECT_FALSE(LoadImageFile(WritePictureFile("wrong.pcx", SmallBmp()).c_str(), &image));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
}

TEST(PictureFile, UnreadableNamesFailAndEmptyTheImage) {
  C_Image image;
  ASSERT_TRUE(LoadImageFile(WritePictureFile("held.tga", SmallTga()).c_str(), &image));
  const uint64_t held = MemoryInUse;
  // JPEG names are recognised but not decoded, and that is not an error.
  for (const char* name : {"a.jpeg", "a.jpg", "b.JPG"}) {
    LastError = {0, 0, 0, 0};
    EXPECT_FALSE(LoadImageFile(WritePictureFile(name, SmallTga()).c_str(), &image)) << name;
    EXPECT_EQ(LastError.Code, 0) << name;
    EXPECT_TRUE(IsEmptyImage(image)) << name;
  }
  EXPECT_EQ(held - MemoryInUse, 3u);
  for (const char* name : {"a.png", "noextension", "trailingdot."}) {
    LastError = {0, 0, 0, 0};
    EXPECT_FALSE(LoadImageFile(WritePictureFile(name, SmallTga()).c_str(), &image)) << name;
    EXPECT_EQ(LastError.Code, -1) << name;
  }
  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadImageFile((PictureTempDir() / "missing.pcx").c_str(), &image));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorCannotOpen);
  EXPECT_TRUE(IsEmptyImage(image));
}

TEST(PictureFile, SurfaceFromColourAndAlphaFiles) {
  const std::string colour = WritePictureFile("light.pcx", SmallPcx());
  const std::string alpha = WritePictureFile("light_a.tga", SmallTga());
  C_Surface* surface = NewSurfaceFromFiles(colour.c_str(), alpha.c_str());
  ASSERT_NE(surface, nullptr);
  ASSERT_NE(surface->FindImage(kColorChannel), nullptr);
  ASSERT_NE(surface->FindImage(kAlphaChannel), nullptr);
  EXPECT_EQ(surface->FindImage(kColorChannel)->Pixels[0], 5);
  EXPECT_EQ(surface->FindImage(kAlphaChannel)->Pixels[0], 7);
  EXPECT_EQ(surface->Width, 2);
  EXPECT_EQ(surface->Height, 1);
  EXPECT_EQ(surface->Columns, 1u);
  EXPECT_EQ(surface->Rows, 1u);
  EXPECT_STREQ(surface->Name, alpha.c_str());  // named after the last file that loaded
  delete surface;
}

TEST(PictureFile, SurfaceKeepsWhatLoadedWhenTheAlphaFileFails) {
  const uint64_t before = MemoryInUse;
  const std::string colour = WritePictureFile("only.bmp", SmallBmp());
  const std::string alpha = WritePictureFile("broken_a.pcx", SmallBmp());
  C_Surface* surface = NewSurfaceFromFiles(colour.c_str(), alpha.c_str());
  ASSERT_NE(surface, nullptr);
  EXPECT_NE(surface->FindImage(kColorChannel), nullptr);
  EXPECT_EQ(surface->FindImage(kAlphaChannel), nullptr);
  EXPECT_STREQ(surface->Name, colour.c_str());
  EXPECT_FALSE(LoadChannel(surface, "absent.tga", 1));
  EXPECT_EQ(surface->FindImage(kColorChannel)->Pixels[0], 1);  // the failed load replaced nothing
  delete surface;
  EXPECT_EQ(MemoryInUse, before);
}

}  // namespace
