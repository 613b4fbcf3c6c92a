// The text operations of the drawing interface: only while drawing, and a child's
// text is narrowed to the child's area like every other drawing call.
#include <gtest/gtest.h>

#include "core/string.h"
#include "font/render_text.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"
#include "platform/window.h"
#include "tests/font/font_test_support.h"

namespace {

uint32_t At(const C_Surface* surface, int32_t x, int32_t y) {
  return reinterpret_cast<const uint32_t*>(surface->FindImage(kColorChannel)->RowAddress(y))[x];
}

}  // namespace

TEST(GraphicApiText, ChildTextIsClippedToTheChildAndOnlyDrawnWhileDrawing) {
  C_Window window;
  C_GraphicApi api;
  api.Configure(100, 40, 32, 0, 0, 0);
  window.Owner.Area = C_Rect(0.0f, 0.0f, 100.0f, 40.0f, 0, 0);
  api.Attach(&window.Owner);
  api.Open();
  DrawOwner childOwner;
  childOwner.ParentApi = &api;
  childOwner.Area = C_Rect(20.0f, 10.0f, 35.0f, 30.0f, 0, 0);
  C_GraphicApi child;
  child.Attach(&childOwner);
  child.Open();

  auto font = font_test::MakeBoxFont();
  const C_String text("abcdef");
  const C_FontType type = font_test::RegularType();
  const C_Color blue(0, 0, 1, 1);
  const C_Color black(0, 0, 0, 1);
  const C_Vector2D origin(0, 0);
  EXPECT_FALSE(child.DrawText(&text, font.get(), &type, &blue, &black, &origin, 1, 0, 0));
  api.BeginDraw();
  child.BeginDraw();
  // In the child's viewport the text starts at the child's corner (20, 10); its
  // letters (4 x 7, top 3 below the line) are cut at the child's right edge, 35.
  EXPECT_TRUE(child.DrawText(&text, font.get(), &type, &blue, &black, &origin, 1, 0, 0));
  C_Rect extent;
  const C_Rect box(0.0f, 0.0f, 0.0f, 0.0f, 0x00, 0x11);
  EXPECT_TRUE(child.DrawTextFormatted(&text, font.get(), &type, &blue, &black, &origin, 1, 0, 0,
                                      &box, &extent));
  EXPECT_EQ(extent.X1, 20);
  EXPECT_EQ(extent.X2, 20 + 36);
  child.EndDraw();
  api.EndDraw();
  EXPECT_EQ(At(api.Target, 20, 13), 0xFF0000FFu);
  EXPECT_EQ(At(api.Target, 32, 19), 0xFF0000FFu);
  EXPECT_EQ(At(api.Target, 34, 13), 0xFF0000FFu);  // the third letter, 32..35
  EXPECT_EQ(At(api.Target, 38, 13), 0xFF000000u);  // the fourth letter lies outside
  EXPECT_EQ(At(api.Target, 20, 12), 0xFF000000u);
  EXPECT_EQ(api.UserClip, nullptr);
}
