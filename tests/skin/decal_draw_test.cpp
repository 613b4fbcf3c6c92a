// Drawing decals: colour sources, list choice, margins, order, opacity, the text,
// image and brush layers and their missing resources, and the zone hit rule.
#include "skin/decal_draw.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/collection.h"
#include "core/string.h"
#include "graphics/geometry/anchor.h"
#include "platform/system_color.h"
#include "skin/decal.h"
#include "tests/font/font_test_support.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skin_test::Canvas;
using skin_test::Rgb;

constexpr uint32_t kWhite = Rgb(255, 255, 255);
constexpr uint8_t kFill = MakeAnchor(AnchorEnd, AnchorEnd);  // 0x11: from the far edges

// A rectangle layer covering the decal's area inset by `inset`.
C_Layer_Rect* Box(float inset, C_Color fill, C_Color border, uint32_t fillSource = 33,
                  uint32_t borderSource = 33) {
  auto* l = new C_Layer_Rect();
  l->Area = C_Rect(inset, inset, -inset, -inset, 0x00, kFill);
  l->FillColor = fill;
  l->FillSource = fillSource;
  l->BorderColor = border;
  l->BorderSource = borderSource;
  return l;
}

DecalWidget WidgetAt(float x1, float y1, float x2, float y2) {
  DecalWidget w;
  w.Rect = C_Rect(x1, y1, x2, y2, kAnchorResolved, kAnchorResolved);
  return w;
}

// The box font as the one font of the resources.
struct BoxFontResources {
  std::unique_ptr<C_Font> font = font_test::MakeBoxFont();
  C_Collection fonts;
  DecalResources resources;
  BoxFontResources() {
    fonts.Append(font.get());
    resources.Fonts = &fonts;
  }
  ~BoxFontResources() { fonts.RemoveAt(0); }
};

// A text layer over the whole decal in the box font, blue, appended to decal.
C_Layer_Text* AddBoxText(C_Decal& decal, const char* text) {
  if (!decal.Layers) decal.Layers = new C_Collection();
  auto* layer = new C_Layer_Text();
  layer->Font = font_test::RegularType();
  layer->Font.Name.Assign(C_String("Boxes"));
  layer->Text.Assign(C_String(text));
  layer->TextColor = C_Color(0, 0, 1, 1);
  layer->TextSource = 33;
  layer->Area = C_Rect(0.0f, 0.0f, 0.0f, 0.0f, 0x00, kFill);
  decal.Layers->Append(layer);
  return layer;
}

uint32_t SystemRgb(int32_t index) {
  uint8_t r, g, b;
  GetSystemColorBytes(index, r, g, b);
  return Rgb(r, g, b);
}

}  // namespace

TEST(ColorSources, Table) {
  const C_Color own(0.2f, 0.4f, 0.6f, 0.5f);
  InheritedColor none;
  InheritedColor parentOwn{true, C_Color(1, 0, 0, 1), 33};
  InheritedColor parentSystem{true, C_Color(1, 0, 0, 1), SysColorActiveCaption};
  InheritedColor parentInherits{true, C_Color(1, 0, 0, 1), 34};
  struct Case {
    uint32_t source;
    const InheritedColor* parent;
    C_Color expected;
  } cases[] = {
      {33, &none, own},
      {34, &parentOwn, C_Color(1, 0, 0, 1)},
      {34, &parentSystem, C_Color(0, 0, 128 / 255.0f, 1)},
      {34, &none, C_Color(0, 0, 0, 0)},                   // no parent: transparent black
      {34, &parentInherits, C_Color(0, 0, 0, 1)},         // 34 as a system colour: black
      {SysColorButtonText, &none, C_Color(0, 0, 0, 1)},   // 15
      {SysColorCaptionText, &none, C_Color(1, 1, 1, 1)},  // 16
      {1, &none, C_Color(192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 1)},
      {28, &none, C_Color(0, 0, 0, 1)},
      {35, &none, C_Color(0, 0, 0, 1)},
      {0xFFFFFFFFu, &none, C_Color(0, 0, 0, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    const C_Color got = ResolveColorSource(own, c.source, *c.parent);
    EXPECT_FLOAT_EQ(got.Red, c.expected.Red);
    EXPECT_FLOAT_EQ(got.Green, c.expected.Green);
    EXPECT_FLOAT_EQ(got.Blue, c.expected.Blue);
    EXPECT_FLOAT_EQ(got.Alpha, c.expected.Alpha);
  }
}

// Fill source 15 (button text) inside, border source 16 (caption text) around;
// margins of 2 on a widget at (10, 10, 50, 30) give the area (8, 8, 52, 32).
TEST(DecalDraw, SystemColoursAndMargins) {
  Canvas canvas(64, 40);
  C_Decal decal;
  decal.Layers = new C_Collection();
  decal.Layers->Append(Box(0, C_Color(), C_Color(), SysColorButtonText, SysColorCaptionText));
  decal.Margins = C_Rect(2.0f, 2.0f, 2.0f, 2.0f, 0, 0);
  // The caption text colour is white, so the frame is drawn over a grey page.
  const C_Color grey(0.5f, 0.5f, 0.5f, 1);
  canvas.api.Clear(&grey);
  const uint32_t back = canvas.At(0, 0);
  ASSERT_TRUE(DrawDecal(&canvas.api, DecalResources(), &decal, WidgetAt(10, 10, 50, 30)));
  const uint32_t border = SystemRgb(SysColorCaptionText), fill = SystemRgb(SysColorButtonText);
  EXPECT_EQ(canvas.At(8, 8), border);
  EXPECT_EQ(canvas.At(51, 31), border);
  EXPECT_EQ(canvas.At(30, 8), border);
  EXPECT_EQ(canvas.At(9, 9), fill);
  EXPECT_EQ(canvas.At(50, 30), fill);
  EXPECT_EQ(canvas.At(7, 8), back);
  EXPECT_EQ(canvas.At(52, 20), back);
  EXPECT_EQ(canvas.At(20, 32), back);
}

TEST(DecalDraw, TheListFollowsTheCheckedFlagAndNeedsLayers) {
  const C_Color red(1, 0, 0, 1), blue(0, 0, 1, 1);
  struct Case {
    bool layers, checkedLayers;
    uint8_t checked;
    uint32_t expected;
  } cases[] = {
      {true, true, 0, Rgb(255, 0, 0)}, {true, true, 1, Rgb(0, 0, 255)},
      {true, false, 1, kWhite},  // a missing checked list counts as empty
      {false, true, 1, kWhite},  // no Layers: nothing, whatever the flag
      {false, true, 0, kWhite},
  };
  for (const Case& c : cases) {
    Canvas canvas(20, 20);
    C_Decal decal;
    if (c.layers) {
      decal.Layers = new C_Collection();
      decal.Layers->Append(Box(0, red, red));
    }
    if (c.checkedLayers) {
      decal.CheckedLayers = new C_Collection();
      decal.CheckedLayers->Append(Box(0, blue, blue));
    }
    DecalWidget w = WidgetAt(2, 2, 18, 18);
    w.Checked = c.checked;
    DrawDecal(&canvas.api, DecalResources(), &decal, w);
    EXPECT_EQ(canvas.At(10, 10), c.expected) << c.layers << c.checkedLayers << int(c.checked);
  }
}

TEST(DecalDraw, LaterLayersCoverEarlierOnesAndOpacityBlends) {
  Canvas canvas(40, 20);
  C_Decal decal;
  decal.Layers = new C_Collection();
  decal.Layers->Append(Box(0, C_Color(1, 0, 0, 1), C_Color(1, 0, 0, 1)));
  auto* green = Box(0, C_Color(0, 1, 0, 1), C_Color(0, 1, 0, 1));
  green->Area = C_Rect(10.0f, 0.0f, 30.0f, 20.0f, 0, 0);
  decal.Layers->Append(green);
  ASSERT_TRUE(DrawDecal(&canvas.api, DecalResources(), &decal, WidgetAt(0, 0, 40, 20)));
  EXPECT_EQ(canvas.At(5, 10), Rgb(255, 0, 0));
  EXPECT_EQ(canvas.At(20, 10), Rgb(0, 255, 0));
  EXPECT_EQ(canvas.At(35, 10), Rgb(255, 0, 0));

  // Half opacity over white: red alone keeps its red and halves the rest.
  Canvas faded(40, 20);
  DecalWidget w = WidgetAt(0, 0, 40, 20);
  w.Opacity = 0.5f;
  DrawDecal(&faded.api, DecalResources(), &decal, w);
  const uint32_t p = faded.At(5, 10);
  EXPECT_EQ((p >> 16) & 0xFF, 255u);
  EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 128, 2);
}

TEST(DecalDraw, ParentColourThroughSource34) {
  Canvas canvas(20, 20);
  C_Decal decal;
  decal.Layers = new C_Collection();
  decal.Layers->Append(Box(0, C_Color(), C_Color(), 34, 34));
  DecalWidget w = WidgetAt(0, 0, 20, 20);
  w.Parent = InheritedColor{true, C_Color::FromBytes(0, 128, 0), 33};
  DrawDecal(&canvas.api, DecalResources(), &decal, w);
  EXPECT_EQ(canvas.At(10, 10), Rgb(0, 128, 0));
  Canvas orphan(20, 20);
  DrawDecal(&orphan.api, DecalResources(), &decal, WidgetAt(0, 0, 20, 20));
  EXPECT_EQ(orphan.At(10, 10), kWhite) << "without a parent the colour is transparent";
}

TEST(DecalDraw, TextNeedsItsFontAndGrowsTheContent) {
  BoxFontResources box;
  const DecalResources& resources = box.resources;
  C_Decal decal;
  C_Layer_Text* text = AddBoxText(decal, "abc");
  text->GrowContent = 1;

  C_Rect content(100.0f, 100.0f, 0.0f, 0.0f, kAnchorResolved, kAnchorResolved);
  DecalWidget w = WidgetAt(4, 4, 60, 24);
  w.ContentExtent = &content;
  Canvas canvas(64, 32);
  DrawDecal(&canvas.api, resources, &decal, w);
  EXPECT_EQ(canvas.At(4, 7), Rgb(0, 0, 255)) << "first letter's box starts 3 below the top";
  EXPECT_EQ(content.X1, 4);
  EXPECT_EQ(content.X2, 4 + 18);  // three letters of advance 6

  // The widget's text replaces the layer's when asked for.
  C_String widgetText("abcdef");
  text->UseWidgetText = 1;
  w.Text = &widgetText;
  Canvas second(64, 32);
  DrawDecal(&second.api, resources, &decal, w);
  EXPECT_EQ(second.At(4 + 30, 7), Rgb(0, 0, 255));

  // Another font name: nothing drawn, the rest of the decal still is.
  text->Font.Name.Assign(C_String("Missing"));
  decal.Layers->Append(Box(0, C_Color(0, 0, 0, 0), C_Color(1, 0, 0, 1)));
  Canvas third(64, 32);
  DrawDecal(&third.api, resources, &decal, w);
  EXPECT_EQ(third.At(4 + 30, 7), kWhite);
  EXPECT_EQ(third.At(4, 4), Rgb(255, 0, 0));
}

// The caret is drawn only for an editable layer of the focused widget on an active
// interface; its index is kept either way.
TEST(DecalDraw, CaretOnlyWithFocusEditableAndActive) {
  BoxFontResources box;
  struct Case {
    bool focus, editable, active, caret;
  } cases[] = {{true, true, true, true},
               {false, true, true, false},
               {true, false, true, false},
               {true, true, false, false}};
  for (const Case& c : cases) {
    C_Decal decal;
    C_Layer_Text* text = AddBoxText(decal, "ab");
    text->Editable = c.editable;
    text->Layout.CaretIndex = 1;
    Canvas canvas(40, 24);
    canvas.window.Owner.Active = c.active;
    DecalWidget w = WidgetAt(0, 0, 40, 24);
    w.EditFocus = c.focus;
    DrawDecal(&canvas.api, box.resources, &decal, w);
    // The caret stands at x 6 (before the second letter), in the gap row above
    // the letters.
    EXPECT_EQ(canvas.At(6, 1) == Rgb(0, 0, 0), c.caret) << c.focus << c.editable << c.active;
    EXPECT_EQ(text->Layout.CaretIndex, 1);
  }
}

// A focused text box whose text the user deleted shows its caret at the start and
// no longer reports the extent of the text it had.
TEST(DecalDraw, AnEmptiedTextShowsItsCaretAndDropsItsOldExtent) {
  BoxFontResources box;
  const DecalResources& resources = box.resources;
  C_Decal decal;
  C_Layer_Text* text = AddBoxText(decal, "");
  text->UseWidgetText = 1;
  text->Editable = 1;
  C_String typed("abcd");
  DecalWidget w = WidgetAt(0, 0, 40, 24);
  w.EditFocus = true;
  w.Text = &typed;
  text->Layout.CaretIndex = 4;
  Canvas before(40, 24);
  DrawDecal(&before.api, resources, &decal, w);
  EXPECT_EQ(text->Extent.X2, 24);
  C_String emptied("");
  w.Text = &emptied;
  text->Layout.CaretIndex = 0;
  Canvas after(40, 24);
  DrawDecal(&after.api, resources, &decal, w);
  EXPECT_EQ(after.At(0, 1), Rgb(0, 0, 0)) << "the caret";
  EXPECT_EQ(text->Extent.X1, 0);
  EXPECT_EQ(text->Extent.X2, 0);
  EXPECT_EQ(text->Layout.CaretX, 0);
}

TEST(DecalDraw, ImageReferences) {
  C_Collection sheets, second, third;
  auto* a = font_test::MakePage(4, 4);
  auto* b = font_test::MakePage(4, 4);
  auto* c = font_test::MakePage(4, 4);
  sheets.Append(a);
  sheets.Append(new C_String("not a picture"));
  second.Append(b);
  third.Append(c);
  DecalResources r;
  r.Sheets = &sheets;
  r.Images2 = &second;
  r.Images3 = &third;
  const uint32_t none = MakeImageRef(ImageNone, 0);
  struct Case {
    uint32_t ref, widgetRef;
    C_Surface* expected;
  } cases[] = {
      {MakeImageRef(ImageFromSheets, 0), none, a},
      {MakeImageRef(ImageFromSheets, 1), none, nullptr},  // not a surface
      {MakeImageRef(ImageFromSheets, 5), none, nullptr},  // past the end
      {MakeImageRef(ImageFromCollection2, 0), none, b},
      {MakeImageRef(ImageFromCollection3, 0), none, c},
      {MakeImageRef(ImageFromWidget, 9), MakeImageRef(ImageFromCollection3, 0), c},
      {MakeImageRef(ImageFromWidget, 0), MakeImageRef(ImageFromWidget, 0), nullptr},
      {MakeImageRef(ImageFromWidget, 0), none, nullptr},
      {0x40000000u, none, nullptr},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(ResolveImageRef(r, k.ref, k.widgetRef), k.expected) << std::hex << k.ref;
  }
  DecalResources empty;
  EXPECT_EQ(ResolveImageRef(empty, 0, none), nullptr);
  sheets.DeleteItems();
  second.DeleteItems();
  third.DeleteItems();
}

TEST(DecalDraw, BrushesAndImagesDrawFromTheSheets) {
  // A 4 x 4 sheet whose colour image is red; full coverage in its top-left 2 x 2.
  C_Collection sheets;
  C_Surface* sheet = font_test::MakePage(4, 4);
  C_Image* colour = sheet->FindImage(kColorChannel);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x)
      reinterpret_cast<uint32_t*>(colour->RowAddress(y))[x] = 0xFFFF0000u;
  font_test::FillCoverage(sheet, 0, 0, 2, 2);
  sheets.Append(sheet);
  DecalResources r;
  r.Sheets = &sheets;

  C_Decal decal;
  decal.Layers = new C_Collection();
  auto* brush = new C_Layer_Brush();
  brush->Area = C_Rect(0.0f, 0.0f, 10.0f, 10.0f, 0, 0);
  brush->SourceRect = C_Rect(0.0f, 0.0f, 2.0f, 2.0f, 0, 0);
  decal.Layers->Append(brush);
  auto* image = new C_Layer_Image();
  image->Position = C_Vector2D(20, 0);
  image->Frame = C_Rect(0.0f, 0.0f, 2.0f, 2.0f, 0, 0);
  image->Image = MakeImageRef(ImageFromSheets, 0);
  decal.Layers->Append(image);
  auto* missing = new C_Layer_Brush();
  missing->Area = C_Rect(30.0f, 0.0f, 40.0f, 10.0f, 0, 0);
  missing->SourceRect = brush->SourceRect;
  missing->Sheet = 4;
  decal.Layers->Append(missing);

  Canvas canvas(48, 16);
  DrawDecal(&canvas.api, r, &decal, WidgetAt(0, 0, 48, 16));
  EXPECT_EQ(canvas.At(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(canvas.At(9, 9), Rgb(255, 0, 0)) << "stretched to the area";
  EXPECT_EQ(canvas.At(10, 10), kWhite);
  EXPECT_EQ(canvas.At(35, 5), kWhite) << "a missing sheet draws nothing";
  bool imageDrawn = false;
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 16; x < 24; ++x) imageDrawn |= canvas.At(x, y) == Rgb(255, 0, 0);
  EXPECT_TRUE(imageDrawn);
  sheets.DeleteItems();
}

TEST(ZoneHits, LastZoneWinsEdgesCountAndTheClipShrinks) {
  C_Decal decal;
  decal.Layers = new C_Collection();
  auto zone = [&](C_Rect area, uint8_t action) {
    auto* z = new C_Layer_Zone();
    z->Area = area;
    z->Action = action;
    decal.Layers->Append(z);
  };
  zone(C_Rect(0.0f, 0.0f, 0.0f, 0.0f, 0x00, kFill), ZoneMove);          // the whole area
  zone(C_Rect(30.0f, 20.0f, 10.0f, 5.0f, 0, 0), ZoneClick);             // corners reversed
  zone(C_Rect(-6.0f, -6.0f, 0.0f, 0.0f, 0x11, 0x11), ZoneBottomRight);  // a corner
  decal.Layers->Append(Box(0, C_Color(), C_Color()));                   // not a zone
  const C_Rect widget(0.0f, 0.0f, 50.0f, 40.0f, kAnchorResolved, kAnchorResolved);
  const C_Rect clip(0.0f, 0.0f, 100.0f, 100.0f, kAnchorResolved, kAnchorResolved);
  const C_Rect tight(0.0f, 0.0f, 20.0f, 20.0f, kAnchorResolved, kAnchorResolved);
  struct Case {
    float x, y;
    const C_Rect* clip;
    uint8_t action;
  } cases[] = {
      {2, 2, &clip, ZoneMove},   {10, 5, &clip, ZoneClick},        {30, 20, &clip, ZoneClick},
      {31, 20, &clip, ZoneMove}, {47, 37, &clip, ZoneBottomRight}, {50, 40, &clip, ZoneBottomRight},
      {51, 40, &clip, ZoneNone}, {0, 0, &clip, ZoneNone},  // clip shrunk by one
      {1, 1, &clip, ZoneMove},   {19, 19, &tight, ZoneClick},      {20, 10, &tight, ZoneNone},
  };
  for (const Case& c : cases) {
    const C_Layer_Zone* hit = HitZone(&decal, widget, *c.clip, C_Vector2D(c.x, c.y));
    EXPECT_EQ(hit ? hit->Action : uint8_t{ZoneNone}, c.action) << c.x << "," << c.y;
  }
  C_Decal empty;
  EXPECT_EQ(HitZone(&empty, widget, clip, C_Vector2D(2, 2)), nullptr);
}
