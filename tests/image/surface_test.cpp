// C_Surface channels, the image hook and copies.
#include "image/surface.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/collection.h"
#include "core/memory_counter.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"

namespace {

struct HookLog {
  C_Surface* Surface = nullptr;
  int32_t Key = 0;
  int Updates = 0;
  int Releases = 0;
};
HookLog g_log;

bool LogUpdate(C_Surface* surface, int32_t key) {
  g_log.Surface = surface;
  g_log.Key = key;
  ++g_log.Updates;
  return true;
}

bool LogRelease(C_Surface* surface, int32_t key) {
  g_log.Surface = surface;
  g_log.Key = key;
  ++g_log.Releases;
  return true;
}

std::unique_ptr<C_Image> MakeImage(int32_t width, int32_t height) {
  auto image = std::make_unique<C_Image>();
  EXPECT_TRUE(image->Create(width, pixel_format::Grey8, height));
  return image;
}

TEST(Surface, NewSurfaceDefaults) {
  C_Surface surface;
  EXPECT_EQ(surface.Channels, nullptr);
  EXPECT_EQ(surface.Columns, 1u);
  EXPECT_EQ(surface.Rows, 1u);
  EXPECT_EQ(surface.FindImage(kColorChannel), nullptr);
  EXPECT_FALSE(surface.Prepare());  // never attached
}

TEST(Surface, WrapImageSharesTheImage) {
  auto image = MakeImage(7, 3);
  {
    C_Surface surface(image.get());
    ASSERT_NE(surface.Channels, nullptr);
    EXPECT_EQ(surface.Channels->Count, 1u);
    EXPECT_EQ(surface.FindImage(kColorChannel), image.get());
    EXPECT_EQ(surface.FindChannel(kColorChannel)->SharedImage, 1);
    EXPECT_EQ(surface.Width, 7);
    EXPECT_EQ(surface.Height, 3);
    EXPECT_EQ(surface.SharedImages, 1);
  }
  EXPECT_EQ(image->Width, 7);  // the surface did not delete it

  std::unique_ptr<C_Surface> empty(C_Surface::WrapImage(nullptr));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->Channels->Count, 0u);
  EXPECT_EQ(empty->SharedImages, 1);
}

TEST(Surface, SetChannelInsertsAtFrontAndReplacesInPlace) {
  const uint64_t before = MemoryInUse;
  {
    C_Surface surface;
    C_Image* colour = MakeImage(4, 2).release();
    C_Image* alpha = MakeImage(4, 2).release();
    ASSERT_TRUE(surface.SetChannel(colour, kColorChannel));
    ASSERT_TRUE(surface.SetChannel(alpha, kAlphaChannel));
    EXPECT_EQ(static_cast<C_Channel*>(surface.Channels->GetAt(0))->Key, kAlphaChannel);
    EXPECT_EQ(surface.Width, 4);

    C_Image* larger = MakeImage(9, 5).release();
    ASSERT_TRUE(surface.SetChannel(larger, kColorChannel));  // the owned 4x2 image goes
    EXPECT_EQ(surface.Channels->Count, 2u);
    EXPECT_EQ(static_cast<C_Channel*>(surface.Channels->GetAt(1))->Image, larger);
    EXPECT_EQ(surface.Width, 9);
    EXPECT_EQ(surface.Height, 5);
    // Setting the image a channel already owns keeps it alive.
    ASSERT_TRUE(surface.SetChannel(larger, kColorChannel));
    EXPECT_EQ(surface.FindImage(kColorChannel)->Width, 9);
    EXPECT_EQ(surface.FindImage(3), nullptr);
  }
  EXPECT_EQ(MemoryInUse, before);  // every owned image was freed once
}

TEST(Surface, ReplacingASharedChannelKeepsTheImage) {
  auto first = MakeImage(2, 2);
  auto second = MakeImage(3, 3);
  C_Surface surface(first.get());
  ASSERT_TRUE(surface.SetChannel(second.get(), kColorChannel));
  EXPECT_EQ(first->Width, 2);
  EXPECT_EQ(surface.FindChannel(kColorChannel)->SharedImage, 1);
}

TEST(Surface, HookAttachPrepareAndRelease) {
  g_log = {};
  ImageHook hook{LogUpdate, LogRelease, nullptr};
  {
    C_Surface surface;
    EXPECT_FALSE(surface.Attach(nullptr));
    ASSERT_TRUE(surface.Attach(&hook));
    EXPECT_TRUE(surface.Prepare());
    EXPECT_EQ(g_log.Updates, 1);
    EXPECT_EQ(g_log.Key, kAllChannels);
    EXPECT_EQ(g_log.Surface, &surface);
  }
  EXPECT_EQ(g_log.Releases, 1);  // the destructor dropped the display copies
}

TEST(Surface, CloneCopiesChannelsButNotExtra) {
  auto shared = MakeImage(3, 1);
  C_Surface surface;
  surface.SetName("sheet");
  surface.SharedImages = 1;
  ASSERT_TRUE(surface.SetChannel(shared.get(), kAlphaChannel));
  surface.SharedImages = 0;
  C_Image* owned = MakeImage(5, 2).release();
  owned->Pixels[0] = 42;
  ASSERT_TRUE(surface.SetChannel(owned, kColorChannel));
  surface.Extra = new C_Color(1, 0, 1, 1);
  surface.Columns = 4;
  ImageHook hook{LogUpdate, nullptr, nullptr};
  surface.Attach(&hook);

  std::unique_ptr<C_Surface> copy(static_cast<C_Surface*>(surface.Clone()));
  ASSERT_TRUE(copy);
  EXPECT_STREQ(copy->Name, "sheet");
  EXPECT_NE(copy->Name, surface.Name);
  EXPECT_EQ(copy->Extra, nullptr);
  EXPECT_EQ(copy->Columns, 4u);
  EXPECT_EQ(copy->UpdateHook, LogUpdate);
  EXPECT_EQ(copy->FindImage(kAlphaChannel), shared.get());  // shared: same image
  C_Image* cloned = copy->FindImage(kColorChannel);
  ASSERT_NE(cloned, nullptr);
  EXPECT_NE(cloned, owned);  // owned: a deep copy
  EXPECT_EQ(cloned->Pixels[0], 42);
  EXPECT_EQ(copy->Width, 5);
}

TEST(Channel, CloneOwnsACopy) {
  C_Channel channel;
  channel.Image = MakeImage(2, 2).release();
  channel.Key = 9;
  channel.Converted = channel.Image;  // display copies are never carried over
  std::unique_ptr<C_Channel> copy(static_cast<C_Channel*>(channel.Clone()));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Key, 9);
  EXPECT_EQ(copy->SharedImage, 0);
  EXPECT_NE(copy->Image, channel.Image);
  EXPECT_EQ(copy->Converted, nullptr);
  channel.Converted = nullptr;
}

}  // namespace
