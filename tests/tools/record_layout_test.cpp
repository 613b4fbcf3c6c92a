// Every stored class against bytes written here from its record layout, not by
// its Save: the bytes load to the expected fields and save back to the same bytes.
// Each field holds a value of its own, so that two same-sized fields swapped in
// both Load and Save (which a round trip cannot see) show up as a wrong field.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/array.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/complex.h"
#include "core/resource.h"
#include "core/size.h"
#include "core/string.h"
#include "core/vector3d.h"
#include "core/vector4d.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/glyph.h"
#include "graphics/geometry/circle.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"
#include "skin/decal.h"
#include "skin/layers.h"
#include "tests/tools/record_bytes.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

// A little-endian record written field by field.
struct Bytes {
  std::vector<uint8_t> Out;
  Bytes& U8(uint8_t v) {
    Out.push_back(v);
    return *this;
  }
  Bytes& U16(uint16_t v) {
    PutU16(Out, v);
    return *this;
  }
  Bytes& U32(uint32_t v) {
    PutU32(Out, v);
    return *this;
  }
  Bytes& F32(float v) {
    PutF32(Out, v);
    return *this;
  }
  Bytes& Text(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()) + 1);
    Out.insert(Out.end(), text.begin(), text.end());
    Out.push_back(0);
    return *this;
  }
  Bytes& Record(const std::vector<uint8_t>& record) {
    Append(Out, record);
    return *this;
  }
};

std::vector<uint8_t> StringRecord(const std::string& text) {
  return Bytes().U16(13).Text(text).Out;
}
std::vector<uint8_t> ColorRecord(float r, float g, float b, float a) {
  return Bytes().U16(1).F32(r).F32(g).F32(b).F32(a).Out;
}
std::vector<uint8_t> Rect(float base) {
  return RectRecord(base, base + 1, base + 2, base + 3, 0x12, 0x34,
                    Vector2DRecord(base + 4, base + 5, 0x56));
}
std::vector<uint8_t> FontTypeRecord() {
  return Bytes()
      .U16(2)
      .U16(100)
      .Record(StringRecord("Face"))
      .U8(10)
      .U8(1)
      .U8(0)
      .U8(0)
      .F32(11)
      .U8(1)
      .U8(0)
      .Out;
}
std::vector<uint8_t> TextFormatRecord() {
  return Bytes()
      .U16(2)
      .U16(100)
      .U8(2)
      .U8(1)
      .U8(3)
      .F32(4)
      .F32(5)
      .U8(6)
      .F32(7)
      .U8(8)
      .F32(9)
      .U8(10)
      .U8(11)
      .U32(12)
      .U32(13)
      .U32(14)
      .Out;
}
std::vector<uint8_t> BitmapGlyphRecord() {
  Bytes b;
  b.U16(5).U16(100).U16(12).U8(10).U8(5).U32(3);
  for (uint16_t v : {1, 2, 3, 4, 5, 6, 7, 0xFFFF}) b.U16(v);
  return b.Out;
}
std::vector<uint8_t> ZoneRecord() {
  return Bytes().U16(107).U16(100).Record(Rect(1)).U8(12).U8(65).U32(7).Out;
}
std::vector<uint8_t> DecalRecord() {
  Bytes b;
  b.U16(108).U16(100).U8(1).U16(22).U32(1).Record(ZoneRecord()).U8(0).Record(Rect(20));
  return b.Out;
}
// The widget part of a widget record: one decal in slot 3, no extras, no children.
Bytes WidgetContents(uint16_t id) {
  Bytes b;
  b.U16(id).U16(100).U8(0x7F).U8(0x81).U8(3).Record(DecalRecord()).U8(0x80);
  b.Record(StringRecord("name")).U32(0x11223344).U16(14).U16(8);
  b.Record(Rect(1)).Record(Rect(10)).Record(Rect(20));
  b.Record(ColorRecord(0.25f, 0.5f, 0.75f, 1)).U32(5).Record(ColorRecord(1, 0, 0, 1)).U32(34);
  b.Record(StringRecord("text")).U8(1).U8(2).U8(3).U8(4).U8(5);
  b.U32(0xFFFFFFFF).F32(6).F32(7).F32(0.5f).U8(8).U8(9).U8(10).U16(11).Record(Rect(30));
  b.U16(0).U16(0);
  return b;
}

struct Row {
  const char* Name;
  std::function<C_Object*()> Make;
  std::vector<uint8_t> Bytes;
  std::function<void(C_Object&)> Check;
};

template <class T>
std::function<C_Object*()> Make() {
  return [] { return new T(); };
}

template <class T>
std::function<void(C_Object&)> Check(std::function<void(T&)> check) {
  return [check](C_Object& object) {
    T* typed = dynamic_cast<T*>(&object);
    ASSERT_NE(typed, nullptr);
    check(*typed);
  };
}

std::vector<Row> Rows() {
  std::vector<Row> rows;
  rows.push_back(
      {"C_Size", Make<C_Size>(), Bytes().U16(27).F32(1).F32(2).Out, Check<C_Size>([](C_Size& s) {
         EXPECT_EQ(s.Width, 1);
         EXPECT_EQ(s.Height, 2);
       })});
  rows.push_back({"C_Complex", Make<C_Complex>(), Bytes().U16(16).U32(3).U32(4).Out,
                  Check<C_Complex>([](C_Complex& c) {
                    EXPECT_EQ(c.Real, 3);
                    EXPECT_EQ(c.Imaginary, 4);
                  })});
  rows.push_back({"C_Vector3D", Make<C_Vector3D>(), Bytes().U16(19).F32(1).F32(2).F32(3).Out,
                  Check<C_Vector3D>([](C_Vector3D& v) {
                    EXPECT_EQ(v.X, 1);
                    EXPECT_EQ(v.Z, 3);
                  })});
  rows.push_back({"C_Vector4D", Make<C_Vector4D>(), Bytes().U16(20).F32(1).F32(2).F32(3).F32(4).Out,
                  Check<C_Vector4D>([](C_Vector4D& v) {
                    EXPECT_EQ(v.Y, 2);
                    EXPECT_EQ(v.W, 4);
                  })});
  rows.push_back({"C_String", Make<C_String>(), StringRecord("abc"),
                  Check<C_String>([](C_String& s) { EXPECT_STREQ(s.c_str(), "abc"); })});
  rows.push_back({"C_Resource", Make<C_Resource>(), Bytes().U16(24).Text("sheet").Out,
                  Check<C_Resource>([](C_Resource& r) { EXPECT_STREQ(r.Name, "sheet"); })});
  rows.push_back({"C_Array", Make<C_Array>(), Bytes().U16(21).U32(2).U32(0).U8(7).U8(8).Out,
                  Check<C_Array>([](C_Array& a) {
                    ASSERT_EQ(a.Length, 2u);
                    EXPECT_EQ(a.Data[1], 8);
                  })});
  rows.push_back({"C_Collection", Make<C_Collection>(),
                  Bytes().U16(22).U32(2).U16(0).Record(Bytes().U16(27).F32(5).F32(6).Out).Out,
                  Check<C_Collection>([](C_Collection& c) {
                    ASSERT_EQ(c.Count, 2u);
                    EXPECT_EQ(c.Items[0], nullptr);
                    EXPECT_EQ(dynamic_cast<C_Size*>(c.Items[1])->Height, 6);
                  })});
  rows.push_back({"C_Color", Make<C_Color>(), ColorRecord(0.25f, 0.5f, 0.75f, 1),
                  Check<C_Color>([](C_Color& c) {
                    EXPECT_EQ(c.Green, 0.5f);
                    EXPECT_EQ(c.Blue, 0.75f);
                  })});
  rows.push_back({"C_Rect", Make<C_Rect>(), Rect(1), Check<C_Rect>([](C_Rect& r) {
                    EXPECT_EQ(r.Y1, 2);
                    EXPECT_EQ(r.X2, 3);
                    EXPECT_EQ(r.Anchor1, 0x12);
                    EXPECT_EQ(r.Anchor2, 0x34);
                    EXPECT_EQ(r.Pivot.Y, 6);
                    EXPECT_EQ(r.Pivot.Anchor, 0x56);
                  })});
  rows.push_back({"C_Circle", Make<C_Circle>(), CircleRecord(Vector2DRecord(1, 2, 3), 4),
                  Check<C_Circle>([](C_Circle& c) {
                    EXPECT_EQ(c.Center.Y, 2);
                    EXPECT_EQ(c.Radius, 4);
                  })});
  rows.push_back(
      {"C_Image", Make<C_Image>(), PaletteImageRecord(3, 2, 6), Check<C_Image>([](C_Image& i) {
         EXPECT_EQ(i.Width, 3);
         EXPECT_EQ(i.Height, 2);
         EXPECT_EQ(i.PaletteFormat, 21);
         EXPECT_EQ(i.PaletteEntryBits, 24);
         EXPECT_EQ(i.Palette[5], 5);
         EXPECT_EQ(i.RowAddress(1)[0], 1);
       })});
  rows.push_back({"C_Surface", Make<C_Surface>(),
                  SurfaceRecord({{1, ImageRecord(2, 1, 8, 6)}}, ColorRecord(0, 0, 1, 1), 3, 4),
                  Check<C_Surface>([](C_Surface& s) {
                    EXPECT_EQ(s.Width, 2);
                    EXPECT_EQ(s.Columns, 3u);
                    EXPECT_EQ(s.Rows, 4u);
                    EXPECT_NE(dynamic_cast<C_Color*>(s.Extra), nullptr);
                  })});
  rows.push_back(
      {"C_FontType", Make<C_FontType>(), FontTypeRecord(), Check<C_FontType>([](C_FontType& f) {
         EXPECT_STREQ(f.Name.c_str(), "Face");
         EXPECT_EQ(f.Kind, 10);
         EXPECT_EQ(f.Size, 11);
         EXPECT_EQ(f.StyleFlag1, 1);
         EXPECT_EQ(f.StyleFlag2, 0);
       })});
  rows.push_back({"C_TextFormat", Make<C_TextFormat>(), TextFormatRecord(),
                  Check<C_TextFormat>([](C_TextFormat& f) {
                    EXPECT_EQ(f.Align, 2);
                    EXPECT_EQ(f.Ellipsis, 1);
                    EXPECT_EQ(f.SpareFlag1, 3);
                    EXPECT_EQ(f.Leading, 4);
                    EXPECT_EQ(f.LeftEdge, 5);
                    EXPECT_EQ(f.LeftAnchor, 6);
                    EXPECT_EQ(f.RightEdge, 7);
                    EXPECT_EQ(f.RightAnchor, 8);
                    EXPECT_EQ(f.Extra, 9);
                    EXPECT_EQ(f.ExtraAnchor, 10);
                    EXPECT_EQ(f.SpareFlag2, 11);
                    EXPECT_EQ(f.Spare1, 12u);
                    EXPECT_EQ(f.Spare3, 14u);
                  })});
  rows.push_back({"C_BitmapGlyph", Make<C_BitmapGlyph>(), BitmapGlyphRecord(),
                  Check<C_BitmapGlyph>([](C_BitmapGlyph& g) {
                    EXPECT_EQ(g.PixelSize, 12);
                    EXPECT_EQ(g.Kind, 10);
                    EXPECT_EQ(g.Style, 5);
                    EXPECT_EQ(g.Page, 3u);
                    EXPECT_EQ(g.Source.Y1, 2);
                    EXPECT_EQ(g.Source.X2, 3);
                    EXPECT_EQ(g.Advance.X, 5);
                    EXPECT_EQ(g.Offset.Y, -1);
                  })});
  rows.push_back({"C_Glyph", Make<C_Glyph>(),
                  Bytes().U16(6).U16(100).U32(1).Record(BitmapGlyphRecord()).U32(65).Out,
                  Check<C_Glyph>([](C_Glyph& g) {
                    EXPECT_EQ(g.Code, 65);
                    ASSERT_EQ(g.VariantCount(), 1u);
                    EXPECT_EQ(g.VariantAt(0)->PixelSize, 12);
                  })});
  rows.push_back(
      {"C_Font", Make<C_Font>(),
       Bytes()
           .U16(7)
           .Text("Face")
           .U16(100)
           .U32(1)
           .Record(Bytes().U16(6).U16(100).U32(1).Record(BitmapGlyphRecord()).U32(65).Out)
           .U32(1)
           .Record(SurfaceRecord({{1, ImageRecord(1, 1, 8, 6)}}, {}, 1, 1))
           .Out,
       Check<C_Font>([](C_Font& f) {
         EXPECT_STREQ(f.Name, "Face");
         EXPECT_EQ(f.PageCount(), 1u);
         ASSERT_NE(f.Glyphs, nullptr);
         EXPECT_EQ(dynamic_cast<C_Glyph*>(f.Glyphs->Items[0])->Code, 65);
       })});
  rows.push_back({"C_Layer_Rect", Make<C_Layer_Rect>(),
                  Bytes()
                      .U16(101)
                      .U16(100)
                      .Record(Rect(1))
                      .Record(ColorRecord(1, 0, 0, 1))
                      .U32(2)
                      .Record(ColorRecord(0, 1, 0, 1))
                      .U32(3)
                      .U8(4)
                      .U32(5)
                      .U8(6)
                      .U32(7)
                      .Out,
                  Check<C_Layer_Rect>([](C_Layer_Rect& l) {
                    EXPECT_EQ(l.FillColor.Red, 1);
                    EXPECT_EQ(l.FillSource, 2u);
                    EXPECT_EQ(l.BorderColor.Green, 1);
                    EXPECT_EQ(l.BorderSource, 3u);
                    EXPECT_EQ(l.Mode, 4);
                    EXPECT_EQ(l.Spare1, 5u);
                    EXPECT_EQ(l.Spare2, 6);
                    EXPECT_EQ(l.Spare3, 7u);
                  })});
  rows.push_back({"C_Layer_Line", Make<C_Layer_Line>(),
                  Bytes()
                      .U16(102)
                      .U16(100)
                      .Record(Vector2DRecord(1, 2, 0))
                      .Record(Vector2DRecord(3, 4, 0))
                      .Record(ColorRecord(0, 0, 1, 1))
                      .U32(5)
                      .U8(6)
                      .U32(7)
                      .U32(8)
                      .U32(9)
                      .Out,
                  Check<C_Layer_Line>([](C_Layer_Line& l) {
                    EXPECT_EQ(l.From.Y, 2);
                    EXPECT_EQ(l.To.X, 3);
                    EXPECT_EQ(l.LineSource, 5u);
                    EXPECT_EQ(l.Spare1, 6);
                    EXPECT_EQ(l.Spare2, 7u);
                    EXPECT_EQ(l.Spare3, 8u);
                    EXPECT_EQ(l.Spare4, 9u);
                  })});
  rows.push_back({"C_Layer_Text", Make<C_Layer_Text>(),
                  Bytes()
                      .U16(103)
                      .U16(100)
                      .Record(StringRecord("label"))
                      .Record(FontTypeRecord())
                      .Record(TextFormatRecord())
                      .Record(ColorRecord(1, 1, 1, 1))
                      .U32(2)
                      .Record(ColorRecord(0, 0, 0, 1))
                      .U32(3)
                      .U8(4)
                      .Record(Vector2DRecord(5, 6, 0))
                      .Record(Rect(7))
                      .U8(1)
                      .U8(2)
                      .U8(3)
                      .U8(1)
                      .U32(9)
                      .U8(1)
                      .U8(0)
                      .U8(1)
                      .Record(ColorRecord(0.5f, 0.5f, 0.5f, 1))
                      .U32(10)
                      .U32(1)
                      .Out,
                  Check<C_Layer_Text>([](C_Layer_Text& l) {
                    EXPECT_STREQ(l.Text.c_str(), "label");
                    EXPECT_EQ(l.TextSource, 2u);
                    EXPECT_EQ(l.Source2, 3u);
                    EXPECT_EQ(l.Mode2, 4);
                    EXPECT_EQ(l.Scroll.Y, 6);
                    EXPECT_EQ(l.LayoutFlag, 1);
                    EXPECT_EQ(l.WrapX, 2);
                    EXPECT_EQ(l.WrapY, 3);
                    EXPECT_EQ(l.UseWidgetText, 1);
                    EXPECT_EQ(l.Spare1, 9u);
                    EXPECT_EQ(l.MultiLine, 1);
                    EXPECT_EQ(l.Editable, 0);
                    EXPECT_EQ(l.Password, 1);
                    EXPECT_EQ(l.Color3.Red, 0.5f);
                    EXPECT_EQ(l.Source3, 10u);
                    EXPECT_EQ(l.GrowContent, 1u);
                  })});
  rows.push_back({"C_Layer_Image", Make<C_Layer_Image>(),
                  Bytes()
                      .U16(105)
                      .U16(100)
                      .Record(Vector2DRecord(1, 2, 0))
                      .Record(Rect(3))
                      .U32(4)
                      .Record(StringRecord("pic"))
                      .Record(Vector2DRecord(5, 6, 0))
                      .F32(7)
                      .F32(0.5f)
                      .U8(1)
                      .U8(2)
                      .Record(Vector2DRecord(8, 9, 0))
                      .U8(3)
                      .Record(ColorRecord(1, 0, 1, 1))
                      .U32(10)
                      .U8(4)
                      .U32(1)
                      .Out,
                  Check<C_Layer_Image>([](C_Layer_Image& l) {
                    EXPECT_EQ(l.Image, 4u);
                    EXPECT_EQ(l.SparePoint1.X, 5);
                    EXPECT_EQ(l.Angle, 7);
                    EXPECT_EQ(l.Opacity, 0.5f);
                    EXPECT_EQ(l.MirrorVertical, 1);
                    EXPECT_EQ(l.MirrorHorizontal, 2);
                    EXPECT_EQ(l.Pivot.Y, 9);
                    EXPECT_EQ(l.SpareByte4, 3);
                    EXPECT_EQ(l.TintSource, 10u);
                    EXPECT_EQ(l.TintMode, 4);
                    EXPECT_EQ(l.GrowContent, 1u);
                  })});
  rows.push_back({"C_Layer_Brush", Make<C_Layer_Brush>(),
                  Bytes()
                      .U16(106)
                      .U16(100)
                      .Record(Rect(1))
                      .Record(Rect(2))
                      .U32(3)
                      .Record(StringRecord("sheet"))
                      .Record(Vector2DRecord(4, 5, 0))
                      .F32(6)
                      .F32(0.25f)
                      .Record(Vector2DRecord(7, 8, 0))
                      .U8(1)
                      .U8(2)
                      .U8(3)
                      .U8(4)
                      .Record(Vector2DRecord(9, 10, 0))
                      .U8(5)
                      .Record(ColorRecord(0, 1, 1, 1))
                      .U32(11)
                      .U8(6)
                      .U32(12)
                      .Out,
                  Check<C_Layer_Brush>([](C_Layer_Brush& l) {
                    EXPECT_EQ(l.SourceRect.X1, 2);
                    EXPECT_EQ(l.Sheet, 3u);
                    EXPECT_EQ(l.Angle, 6);
                    EXPECT_EQ(l.Opacity, 0.25f);
                    EXPECT_EQ(l.SparePoint3.X, 7);
                    EXPECT_EQ(l.MirrorVertical, 1);
                    EXPECT_EQ(l.MirrorHorizontal, 2);
                    EXPECT_EQ(l.TileAcross, 3);
                    EXPECT_EQ(l.TileDown, 4);
                    EXPECT_EQ(l.SparePoint4.Y, 10);
                    EXPECT_EQ(l.SpareByte5, 5);
                    EXPECT_EQ(l.TintSource, 11u);
                    EXPECT_EQ(l.TintMode, 6);
                    EXPECT_EQ(l.Spare1, 12u);
                  })});
  rows.push_back(
      {"C_Layer_Zone", Make<C_Layer_Zone>(), ZoneRecord(), Check<C_Layer_Zone>([](C_Layer_Zone& l) {
         EXPECT_EQ(l.Action, 12);
         EXPECT_EQ(l.Cursor, 65);
         EXPECT_EQ(l.Spare1, 7u);
       })});
  rows.push_back({"C_Decal", Make<C_Decal>(), DecalRecord(), Check<C_Decal>([](C_Decal& d) {
                    ASSERT_NE(d.Layers, nullptr);
                    EXPECT_EQ(d.Layers->Count, 1u);
                    EXPECT_EQ(d.CheckedLayers, nullptr);
                    EXPECT_EQ(d.Margins.X1, 20);
                  })});
  auto widget = [](C_Widget& w) {
    EXPECT_NE(w.Decals[3], nullptr);
    EXPECT_STREQ(w.Name.c_str(), "name");
    EXPECT_EQ(w.Tag, 0x11223344u);
    EXPECT_EQ(w.Kind, 14);
    EXPECT_EQ(w.PartId, 8);
    EXPECT_EQ(w.ClientRect.X1, 10);
    EXPECT_EQ(w.DragLimits.X1, 20);
    EXPECT_EQ(w.AltSource, 5u);
    EXPECT_EQ(w.ColorSource, 34u);
    EXPECT_STREQ(w.Text.c_str(), "text");
    EXPECT_EQ(w.SetUpFlag, 1);
    EXPECT_EQ(w.Visible, 2);
    EXPECT_EQ(w.SpareFlag, 3);
    EXPECT_EQ(w.Checked, 4);
    EXPECT_EQ(w.Movable, 5);
    EXPECT_EQ(w.Page, -1);
    EXPECT_EQ(w.MinWidth, 6);
    EXPECT_EQ(w.MinHeight, 7);
    EXPECT_EQ(w.Opacity, 0.5f);
    EXPECT_EQ(w.Resizable, 8);
    EXPECT_EQ(w.BringToFront, 9);
    EXPECT_EQ(w.Remembered, 10);
    EXPECT_EQ(w.ActivationMode, 11);
    EXPECT_EQ(w.SpareRect.X1, 30);
  };
  rows.push_back({"C_Widget", Make<C_Widget>(), WidgetContents(109).Out, Check<C_Widget>(widget)});
  rows.push_back({"C_Form", Make<C_Form>(), WidgetContents(110).U16(100).U8(3).Out,
                  Check<C_Form>([widget](C_Form& f) {
                    widget(f);
                    EXPECT_EQ(f.Mode, 3);
                  })});
  rows.push_back({"C_ScrollBar", Make<C_ScrollBar>(),
                  WidgetContents(111).U16(100).F32(1).F32(2).F32(3).F32(4).F32(5).Out,
                  Check<C_ScrollBar>([widget](C_ScrollBar& s) {
                    widget(s);
                    EXPECT_EQ(s.Value, 1);
                    EXPECT_EQ(s.Minimum, 2);
                    EXPECT_EQ(s.Maximum, 3);
                    EXPECT_EQ(s.PageSize, 4);
                    EXPECT_EQ(s.Step, 5);
                  })});
  rows.push_back({"C_TextBox", Make<C_TextBox>(),
                  WidgetContents(112)
                      .U16(100)
                      .Record(FontTypeRecord())
                      .Record(TextFormatRecord())
                      .U8(1)
                      .U8(2)
                      .U8(3)
                      .Out,
                  Check<C_TextBox>([widget](C_TextBox& t) {
                    widget(t);
                    EXPECT_STREQ(t.Font.Name.c_str(), "Face");
                    EXPECT_EQ(t.Format.Leading, 4);
                    EXPECT_EQ(t.ScrollBars, 1);
                    EXPECT_EQ(t.BoxFlag2, 2);
                    EXPECT_EQ(t.BoxFlag3, 3);
                  })});
  return rows;
}

TEST(RecordLayout, HandBuiltBytesLoadToTheirFieldsAndSaveBack) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.Name);
    std::unique_ptr<C_Object> object(row.Make());
    int32_t consumed = 0;
    ASSERT_TRUE(LoadFromBytes(*object, row.Bytes, &consumed));
    EXPECT_EQ(consumed, static_cast<int32_t>(row.Bytes.size()));
    row.Check(*object);
    EXPECT_EQ(SaveToBytes(*object), row.Bytes);
    if (auto* collection = dynamic_cast<C_Collection*>(object.get())) collection->DeleteItems();
  }
}

// Lists that a byte stream gives back reversed: the loaded order is the stored
// order turned round, and Save writes the list as it stands.
TEST(RecordLayout, SurfaceChannelsAndGlyphVariantsLoadInReverse) {
  C_Surface surface;
  ASSERT_TRUE(LoadFromBytes(
      surface,
      SurfaceRecord({{1, ImageRecord(1, 1, 8, 6)}, {2, ImageRecord(2, 1, 8, 6)}}, {}, 1, 1)));
  ASSERT_EQ(surface.Channels->Count, 2u);
  EXPECT_EQ(static_cast<C_Object*>(surface.FindChannel(2)), surface.Channels->Items[0]);

  Bytes glyph;
  glyph.U16(6).U16(100).U32(2).Record(BitmapGlyphRecord());
  std::vector<uint8_t> second = BitmapGlyphRecord();
  second[4] = 20;  // PixelSize of the second stored variant
  glyph.Record(second).U32(66);
  C_Glyph loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, glyph.Out));
  EXPECT_EQ(loaded.VariantAt(0)->PixelSize, 20);
  EXPECT_EQ(loaded.VariantAt(1)->PixelSize, 12);
}

}  // namespace
