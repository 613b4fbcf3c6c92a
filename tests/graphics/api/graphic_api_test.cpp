// The drawing interface: its state machine, the back buffer and resizing, child
// viewport and clip rules, target redirection, display copies, presentation, and
// what an interface frees and detaches when it goes.
#include "graphics/api/graphic_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/memory_counter.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_hook.h"
#include "image/image_ops.h"
#include "image/surface.h"
#include "platform/window.h"

namespace {

uint32_t PixelAt(const C_Surface* surface, int32_t x, int32_t y) {
  const C_Image* image = surface->FindImage(kColorChannel);
  return reinterpret_cast<const uint32_t*>(image->RowAddress(y))[x];
}

// A root interface on a window that is never shown, configured as the demo does.
struct RootFixture : ::testing::Test {
  void SetUp() override {
    api.Configure(800, 600, 32, 0, 1, 0);
    api.SetPlacement(0x22, 0x22, 0);
    window.Owner.Area = C_Rect(0.0f, 0.0f, 800.0f, 600.0f, 0, 0);
    api.Attach(&window.Owner);
  }
  C_Window window;
  C_GraphicApi api;
};

int paints = 0;
bool CountPaint(C_GraphicApi*) {
  ++paints;
  return true;
}

}  // namespace

TEST_F(RootFixture, StatesGateConfigurationAndDrawing) {
  EXPECT_EQ(api.State, ApiAttached);
  EXPECT_EQ(window.Api, &api);
  EXPECT_EQ(api.DrawingApi, &api);
  api.Configure(10, 10, 8, 1, 0, 1);  // ignored once attached
  EXPECT_EQ(api.Width, 800u);
  EXPECT_EQ(api.WithMask, 0);

  const C_Vector2D point(1, 1);
  const C_Color white(1, 1, 1, 1);
  EXPECT_FALSE(api.DrawPixel(&point, &white, 0));
  api.Open();
  ASSERT_EQ(api.State, ApiOpen);
  EXPECT_FALSE(api.DrawPixel(&point, &white, 0));
  api.BeginDraw();
  EXPECT_EQ(api.State, ApiDrawing);
  EXPECT_TRUE(api.DrawPixel(&point, &white, 0));
  api.EndDraw();
  EXPECT_FALSE(api.DrawPixel(&point, &white, 0));
  EXPECT_EQ(PixelAt(api.Target, 1, 1), 0xFFFFFFFFu);
  api.Close();
  EXPECT_EQ(api.State, ApiAttached);
  EXPECT_EQ(api.Target, nullptr);
}

TEST_F(RootFixture, OpenCreatesABottomUpOpaqueBlackBackBuffer) {
  api.Open();
  const C_Image* image = api.Target->FindImage(kColorChannel);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width, 800);
  EXPECT_EQ(image->Height, 600);
  EXPECT_EQ(image->Format, pixel_format::A8R8G8B8);
  EXPECT_EQ(image->BottomUp, 1);
  EXPECT_EQ(PixelAt(api.Target, 0, 0), 0xFF000000u);
  EXPECT_EQ(api.GetPixelFormat(), pixel_format::A8R8G8B8);
  EXPECT_EQ(api.Target->FindImage(kAlphaChannel), nullptr);
}

TEST(GraphicApi, KeepAspectFitsTheConfiguredRatioIntoTheWindow) {
  struct Case {
    float width, height;
    int32_t expectWidth, expectHeight;
  };
  for (const Case c :
       {Case{1000, 600, 800, 600}, Case{800, 1000, 800, 600}, Case{400, 400, 400, 300}}) {
    C_Window window;
    C_GraphicApi api;
    api.Configure(800, 600, 32, 1, 1, 1);
    window.Owner.Area = C_Rect(0.0f, 0.0f, c.width, c.height, 0, 0);
    api.Attach(&window.Owner);
    api.Open();
    const C_Image* color = api.Target->FindImage(kColorChannel);
    const C_Image* mask = api.Target->FindImage(kAlphaChannel);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(color->Width, c.expectWidth) << c.width << "x" << c.height;
    EXPECT_EQ(color->Height, c.expectHeight) << c.width << "x" << c.height;
    EXPECT_EQ(mask->Width, c.expectWidth);
    EXPECT_EQ(api.Target->Width, c.expectWidth);
  }
}

TEST_F(RootFixture, ResizeFollowsTheWindowAndRepaints) {
  paints = 0;
  api.PaintHandler = &CountPaint;
  api.Open();
  EXPECT_EQ(paints, 1);  // Open ends with the resize handler, which repaints
  window.Owner.Area = C_Rect(10.0f, 20.0f, 330.0f, 260.0f, 0, 0);
  window.Owner.ResizeHandler(&window.Owner);
  EXPECT_EQ(api.Target->FindImage(kColorChannel)->Width, 320);
  EXPECT_EQ(api.Target->FindImage(kColorChannel)->Height, 240);
  EXPECT_EQ(api.Target->FindImage(kColorChannel)->BottomUp, 1);
  EXPECT_EQ(PixelAt(api.Target, 319, 239), 0xFF000000u);  // no stale heap contents
  EXPECT_EQ(paints, 2);
  window.Owner.Area = C_Rect(0.0f, 0.0f, -5.0f, 1e30f, 0, 0);  // nonsense sizes stay harmless
  window.Owner.ResizeHandler(&window.Owner);
  EXPECT_EQ(api.State, ApiOpen);
  api.BeginDraw();
  const C_Rect all(0, 0, 100, 100);
  const C_Color red(1, 0, 0, 1);
  api.DrawRect(&all, &red, 1, 1, 0);
  api.EndDraw();
}

TEST_F(RootFixture, ChildrenDrawOnlyInsideTheirAreaAndTheParentsClip) {
  api.Open();
  DrawOwner childOwner;
  childOwner.ParentApi = &api;
  childOwner.Area = C_Rect(100.0f, 50.0f, 200.0f, 150.0f, 0, 0);
  C_GraphicApi child;
  child.Attach(&childOwner);
  EXPECT_EQ(childOwner.ChildApi, &child);
  EXPECT_EQ(child.DrawingApi, &api);
  child.Open();

  const C_Rect parentClip(0.0f, 0.0f, 150.0f, 600.0f, 0, 0);
  api.SetClip(&parentClip);
  api.BeginDraw();
  child.BeginDraw();
  EXPECT_FLOAT_EQ(child.Viewport.X1, 100);
  EXPECT_FLOAT_EQ(child.ClipRect.X2, 150);  // the parent's clip cuts the child's area
  const C_Rect everything(-1000.0f, -1000.0f, 5000.0f, 5000.0f, 0, 0);
  const C_Color white(1, 1, 1, 1);
  EXPECT_TRUE(child.DrawRect(&everything, &white, 1, 1, 0));
  child.EndDraw();
  api.EndDraw();
  // A child's call hands the root its own rectangles and resets them afterwards, so
  // the root's user clip does not survive its children's drawing.
  EXPECT_EQ(api.UserViewport, nullptr);
  EXPECT_EQ(api.UserClip, nullptr);

  for (int32_t y = 0; y < 600; y += 7) {
    for (int32_t x = 0; x < 800; x += 3) {
      const bool inside = x >= 100 && x < 150 && y >= 50 && y < 150;
      EXPECT_EQ(PixelAt(api.Target, x, y), inside ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
  }
}

TEST_F(RootFixture, UserRectanglesOfAChildAreRelativeToItsPlace) {
  api.Open();
  DrawOwner childOwner;
  childOwner.ParentApi = &api;
  childOwner.Area = C_Rect(100.0f, 50.0f, 200.0f, 150.0f, 0, 0);
  C_GraphicApi child;
  child.Attach(&childOwner);
  child.Open();
  const C_Rect user(10.0f, 10.0f, 20.0f, 30.0f, 0, 0);
  child.SetViewport(&user);
  child.SetClip(&user);
  api.BeginDraw();
  child.BeginDraw();
  EXPECT_FLOAT_EQ(child.Viewport.X1, 110);
  EXPECT_FLOAT_EQ(child.Viewport.Y2, 80);
  // A user clip is relative to the parent's viewport origin, then cut to the area.
  EXPECT_FLOAT_EQ(child.ClipRect.X1, 100);
  EXPECT_FLOAT_EQ(child.ClipRect.X2, 20);
  child.EndDraw();
  api.EndDraw();
}

TEST(GraphicApi, RedirectTargetRestoresTheFirstTargetOnce) {
  C_GraphicApi api;
  C_Surface* first = new C_Surface();
  C_Surface second;
  api.Target = first;
  api.RedirectTarget(&second);
  EXPECT_EQ(api.Target, &second);
  api.RedirectTarget(nullptr);
  EXPECT_EQ(api.Target, first);
  api.RedirectTarget(nullptr);
  EXPECT_EQ(api.Target, first);

  C_Rect clip(1.0f, 2.0f, 3.0f, 4.0f, 0, 0);
  api.Target = nullptr;
  api.GetClip(&clip);
  EXPECT_EQ(clip.X2, 0);
  EXPECT_EQ(clip.Y2, 0);
  delete first;
}

TEST(GraphicApi, ImageHooksBuildAndDropDisplayCopies) {
  C_GraphicApi api;
  C_Image* color = new C_Image();
  ASSERT_TRUE(color->CreateFilled(4, pixel_format::R8G8B8A8, 2, C_Color(1, 0, 0, 1)));
  C_Image* alpha = new C_Image();
  ASSERT_TRUE(alpha->CreateFilled(4, pixel_format::Grey8, 2, C_Color(1, 1, 1, 1)));
  C_Surface surface;
  ASSERT_TRUE(surface.SetChannel(color, kColorChannel));
  ASSERT_TRUE(surface.SetChannel(alpha, kAlphaChannel));
  ImageHook* hook = api.CreateImageHook();
  ASSERT_TRUE(surface.Attach(hook));
  delete hook;

  ASSERT_TRUE(surface.Prepare());
  const C_Image* colorCopy = surface.FindChannel(kColorChannel)->Converted;
  const C_Image* alphaCopy = surface.FindChannel(kAlphaChannel)->Converted;
  ASSERT_NE(colorCopy, nullptr);
  ASSERT_NE(alphaCopy, nullptr);
  EXPECT_EQ(colorCopy->Format, pixel_format::A8R8G8B8);
  EXPECT_EQ(alphaCopy->Format, pixel_format::Grey8);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(colorCopy->Pixels)[0] & 0xFFFFFF, 0xFF0000u);

  // The image changes size: the copy follows instead of keeping stale dimensions.
  ASSERT_TRUE(color->CreateFilled(8, pixel_format::R8G8B8A8, 3, C_Color(0, 0, 1, 1)));
  ASSERT_TRUE(surface.Prepare());
  EXPECT_EQ(surface.FindChannel(kColorChannel)->Converted->Width, 8);
  EXPECT_EQ(
      reinterpret_cast<const uint32_t*>(surface.FindChannel(kColorChannel)->Converted->Pixels)[0] &
          0xFFFFFF,
      0x0000FFu);
  // Releasing the surface drops the copies through the hook (no leak under ASan).
}

// Rows of a display copy are rebuilt on their own, from existing copies only:
// before the first whole refresh, and after the image changed size, the rows
// refresh makes nothing and says so; the rows it rebuilds give the whole
// refresh's bytes and the other rows keep theirs.
TEST(GraphicApi, RowRefreshRebuildsOnlyItsRowsOfExistingCopies) {
  C_GraphicApi api;
  C_Image* color = new C_Image();
  ASSERT_TRUE(color->CreateFilled(6, pixel_format::R8G8B8A8, 5, C_Color(1, 0, 0, 1)));
  C_Surface surface;
  ASSERT_TRUE(surface.SetChannel(color, kColorChannel));
  ImageHook* hook = api.CreateImageHook();
  ASSERT_TRUE(surface.Attach(hook));
  delete hook;
  C_Channel* channel = surface.FindChannel(kColorChannel);

  EXPECT_FALSE(surface.PrepareRows(0, 5));
  EXPECT_EQ(channel->Converted, nullptr);
  ASSERT_TRUE(surface.Prepare());
  const C_Image* copy = channel->Converted;
  ASSERT_NE(copy, nullptr);

  // Rows 1 and 2 of the image turn blue; refreshing rows 1..3 of the copy alone
  // shows them, and row 3 stays red.
  ASSERT_TRUE(FillImageArea(color, PixelRect{0, 1, 6, 3}, C_Color(0, 0, 1, 1)));
  ASSERT_TRUE(surface.PrepareRows(1, 3));
  EXPECT_EQ(channel->Converted, copy);
  const auto rgb = [&](int32_t y) {
    return reinterpret_cast<const uint32_t*>(copy->RowAddress(y))[5] & 0xFFFFFF;
  };
  EXPECT_EQ(rgb(0), 0xFF0000u);
  EXPECT_EQ(rgb(1), 0x0000FFu);
  EXPECT_EQ(rgb(2), 0x0000FFu);
  ASSERT_TRUE(FillImageArea(color, PixelRect{0, 3, 6, 4}, C_Color(0, 1, 0, 1)));
  EXPECT_EQ(rgb(3), 0xFF0000u);
  C_Image whole;
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &whole, color));
  ASSERT_TRUE(surface.PrepareRows(3, 4));
  for (int32_t y = 0; y < 5; ++y) {
    EXPECT_EQ(std::memcmp(copy->RowAddress(y), whole.RowAddress(y), size_t(whole.RowBytes)), 0)
        << y;
  }

  // A key the surface does not hold asks for nothing; an image of another size
  // waits for the whole refresh.
  EXPECT_TRUE(api.RefreshImageRows(&surface, kAlphaChannel, 0, 5));
  ASSERT_TRUE(color->CreateFilled(7, pixel_format::R8G8B8A8, 5, C_Color(1, 1, 1, 1)));
  EXPECT_FALSE(surface.PrepareRows(0, 5));
  EXPECT_EQ(channel->Converted->Width, 6);
  ASSERT_TRUE(surface.Prepare());
  EXPECT_EQ(channel->Converted->Width, 7);
  EXPECT_TRUE(surface.PrepareRows(0, 5));
}

TEST_F(RootFixture, PresentCentresTheBackBufferInTheWindow) {
  api.Configure(0, 0, 0, 0, 0, 0);  // ignored: attached
  api.Open();
  window.Owner.Area = C_Rect(0.0f, 0.0f, 1000.0f, 700.0f, 0, 0);
  api.ResizeWithWindow = 0;
  // The window is not open: the frame reaches no screen, and Present says so,
  // though the image is bound and placed all the same.
  EXPECT_FALSE(api.Present());
  EXPECT_EQ(window.PresentImage->Pixels, api.Target->FindImage(kColorChannel)->Pixels);
  // The window is not open, so the client area keeps what the test set.
  EXPECT_FLOAT_EQ(window.PresentPosition.X, 100);
  EXPECT_FLOAT_EQ(window.PresentPosition.Y, 50);

  api.WindowAnchor = 0x11;
  api.SurfaceAnchor = 0x11;
  EXPECT_FALSE(api.Present());
  EXPECT_FLOAT_EQ(window.PresentPosition.X, 200);
  EXPECT_FLOAT_EQ(window.PresentPosition.Y, 100);
}

TEST_F(RootFixture, PreparedSurfacesOfAnyFormatAreDrawnFromTheirDisplayCopy) {
  api.Open();
  C_Image height;  // a 16-bit grey image, as the height map is
  ASSERT_TRUE(height.CreateFilled(8, pixel_format::Grey16, 4, C_Color(1, 1, 1, 1)));
  C_Surface* surface = C_Surface::WrapImage(&height);
  ImageHook* hook = api.CreateImageHook();
  surface->Attach(hook);
  delete hook;

  api.BeginDraw();
  const C_Vector2D at(10, 20);
  api.DrawSurface(surface, nullptr, &at, 0, nullptr, nullptr);  // no display copy yet
  EXPECT_EQ(PixelAt(api.Target, 10, 20), 0xFF000000u);
  ASSERT_TRUE(surface->Prepare());
  api.DrawSurface(surface, nullptr, &at, 0, nullptr, nullptr);
  api.EndDraw();
  EXPECT_EQ(PixelAt(api.Target, 10, 20) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(PixelAt(api.Target, 17, 23) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(PixelAt(api.Target, 18, 23), 0xFF000000u);
  delete surface;
}

namespace {

// How an interface gives up what it owns.
enum class Ending { Destructor, Close, Release };

void End(std::unique_ptr<C_GraphicApi>& api, Ending ending) {
  switch (ending) {
    case Ending::Destructor:
      api.reset();
      break;
    case Ending::Close:
      api->Close();
      break;
    case Ending::Release:
      api->Release();
      break;
  }
}

}  // namespace

TEST(GraphicApi, ARedirectedInterfaceFreesItsOwnBufferAndNeverTheLentSurface) {
  struct Case {
    const char* name;
    Ending ending;
    bool lendBeforeOpen;
    int lends;     // surfaces lent in turn
    bool restore;  // RedirectTarget(null) before the end
  };
  const Case cases[] = {
      {"destructor while lent", Ending::Destructor, false, 1, false},
      {"close while lent", Ending::Close, false, 1, false},
      {"release while lent", Ending::Release, false, 1, false},
      {"lent before open, destructor", Ending::Destructor, true, 1, false},
      {"lent before open, close", Ending::Close, true, 1, false},
      {"lent twice, destructor", Ending::Destructor, false, 2, false},
      {"lent twice and restored, close", Ending::Close, false, 2, true},
      {"restored, destructor", Ending::Destructor, false, 1, true},
  };
  for (const Case& c : cases) {
    const uint64_t before = MemoryInUse.load();
    // The lent surfaces live on the stack: deleting one would not go unnoticed.
    C_Surface lent[2];
    for (C_Surface& surface : lent) {
      auto* image = new C_Image();
      ASSERT_TRUE(image->CreateFilled(4, pixel_format::A8R8G8B8, 4, C_Color(1, 1, 1, 1)));
      ASSERT_TRUE(surface.SetChannel(image, kColorChannel));
    }
    const uint64_t lentBytes = MemoryInUse.load() - before;
    C_Window window;
    window.Owner.Area = C_Rect(0.0f, 0.0f, 64.0f, 32.0f, 0, 0);
    auto api = std::make_unique<C_GraphicApi>();
    api->Configure(64, 32, 32, 1, 1, 0);
    api->Attach(&window.Owner);
    if (c.lendBeforeOpen) api->RedirectTarget(&lent[0]);
    api->Open();
    ASSERT_GT(MemoryInUse.load() - before, lentBytes) << c.name;  // the back buffer
    for (int i = c.lendBeforeOpen ? 1 : 0; i < c.lends; ++i) api->RedirectTarget(&lent[i]);
    EXPECT_EQ(api->Target, &lent[c.lends - 1]) << c.name;
    // The window's size goes to the back buffer, not to a lent surface.
    window.Owner.Area = C_Rect(0.0f, 0.0f, 48.0f, 16.0f, 0, 0);
    window.Owner.ResizeHandler(&window.Owner);
    EXPECT_EQ(lent[c.lends - 1].Width, 4) << c.name;
    if (c.restore) {
      api->RedirectTarget(nullptr);
      ASSERT_NE(api->Target, nullptr) << c.name;
      EXPECT_NE(api->Target, &lent[0]) << c.name;
      EXPECT_EQ(api->Target->Width, 48) << c.name;
    }
    End(api, c.ending);
    EXPECT_EQ(MemoryInUse.load() - before, lentBytes) << c.name;
    if (api) {
      EXPECT_EQ(api->GetTarget(), nullptr) << c.name;
    }
    api.reset();  // nothing is freed twice
    EXPECT_EQ(lent[0].FindImage(kColorChannel)->Width, 4) << c.name;
  }
}

TEST(GraphicApi, ADeletedInterfaceLeavesNoPointerToItselfBehind) {
  // Root: the window's Api and the two handlers; child: the record's ChildApi and
  // the handlers; an interface attached since keeps its place.
  for (const bool root : {true, false}) {
    for (const bool replaced : {false, true}) {
      C_Window window;
      window.Owner.Area = C_Rect(0.0f, 0.0f, 64.0f, 32.0f, 0, 0);
      DrawOwner childOwner;
      DrawOwner& owner = root ? window.Owner : childOwner;
      C_GraphicApi* const& attached = root ? window.Api : childOwner.ChildApi;
      auto first = std::make_unique<C_GraphicApi>();
      first->Configure(64, 32, 32, 0, 0, 0);
      first->Attach(&owner);
      first->Open();
      ASSERT_EQ(attached, first.get());
      C_GraphicApi second;
      if (replaced) second.Attach(&owner);
      first.reset();
      const bool kept = replaced;
      EXPECT_EQ(attached, kept ? &second : nullptr) << root << replaced;
      EXPECT_EQ(owner.ResizeHandler != nullptr, kept) << root << replaced;
      EXPECT_EQ(owner.RepaintHandler != nullptr, kept) << root << replaced;
      // What the window calls on a size change finds nothing freed.
      if (owner.ResizeHandler) owner.ResizeHandler(&owner);
      if (owner.RepaintHandler) owner.RepaintHandler(&owner);
    }
  }
}

TEST(GraphicApi, ReplacingAPreparedChannelFreesItsDisplayCopy) {
  const auto image = [](int32_t key, float level) {
    auto* made = new C_Image();
    const int32_t format = key == kColorChannel ? pixel_format::R8G8B8A8 : pixel_format::Grey8;
    EXPECT_TRUE(made->CreateFilled(16, format, 16, C_Color(level, 0, 0, 1)));
    return made;
  };
  C_GraphicApi api;
  C_Surface surface;
  ImageHook* hook = api.CreateImageHook();
  ASSERT_TRUE(surface.Attach(hook));
  delete hook;
  ASSERT_TRUE(surface.SetChannel(image(kColorChannel, 1), kColorChannel));
  ASSERT_TRUE(surface.SetChannel(image(kAlphaChannel, 1), kAlphaChannel));
  ASSERT_TRUE(surface.Prepare());
  const uint64_t prepared = MemoryInUse.load();
  // Each channel replaced in turn: its old image and display copy go, the other
  // channel keeps its copy, and preparing again comes back to the same bytes.
  for (const int32_t key : {kColorChannel, kAlphaChannel, kColorChannel}) {
    const int32_t otherKey = key == kColorChannel ? kAlphaChannel : kColorChannel;
    const C_Image* otherCopy = surface.FindChannel(otherKey)->Converted;
    ASSERT_NE(otherCopy, nullptr);
    ASSERT_TRUE(surface.SetChannel(image(key, 0.5f), key));
    EXPECT_EQ(surface.FindChannel(key)->Converted, nullptr) << key;
    EXPECT_EQ(surface.FindChannel(otherKey)->Converted, otherCopy) << key;
    ASSERT_TRUE(surface.Prepare());
    EXPECT_EQ(MemoryInUse.load(), prepared) << key;
  }
}
