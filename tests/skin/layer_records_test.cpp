// The stored forms of the layers and the decal: byte layouts, the text layer's
// out-of-order flags, the version stop, wrong ids, copies.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "core/class_registry.h"
#include "core/collection.h"
#include "core/error.h"
#include "skin/decal.h"
#include "skin/layers.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skin_test::LoadBytes;
using skin_test::SaveBytes;

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, &b[at], 4);
  return v;
}

// Every layer class with all its fields set to values that differ from the
// defaults; a copy or a reload must save the same bytes.
struct LayerCase {
  const char* name;
  std::function<C_Object*()> make;
};

C_Rect SomeRect(float base) {
  return C_Rect(base, base + 1, base + 2, base + 3, 0x10, 0x31, C_Vector2D(1, 2, 0x22));
}

C_Object* FullRect() {
  auto* l = new C_Layer_Rect();
  l->Area = SomeRect(1);
  l->FillColor = C_Color(0.1f, 0.2f, 0.3f, 0.4f);
  l->FillSource = 33;
  l->BorderColor = C_Color(0.5f, 0.6f, 0.7f, 0.8f);
  l->BorderSource = 16;
  l->Mode = 3;
  l->Spare1 = 0xA1A2A3A4;
  l->Spare2 = 0xB5;
  l->Spare3 = 0xC6C7C8C9;
  return l;
}

C_Object* FullLine() {
  auto* l = new C_Layer_Line();
  l->From = C_Vector2D(1, 2, 0x01);
  l->To = C_Vector2D(3, 4, 0x11);
  l->LineColor = C_Color(1, 0, 0, 1);
  l->LineSource = 34;
  l->Spare1 = 7;
  l->Spare2 = 8;
  l->Spare3 = 9;
  l->Spare4 = 10;
  return l;
}

C_Layer_Text* FullText() {
  auto* l = new C_Layer_Text();
  l->Text.Assign(C_String("Caption"));
  l->Font = C_FontType("DejaVu Sans", 12);
  l->Font.StyleFlag1 = 1;
  l->Format.Align = AlignCentre;
  l->Format.Leading = 2;
  l->TextColor = C_Color(0, 0, 1, 1);
  l->TextSource = 33;
  l->Color2 = C_Color(0, 1, 0, 1);
  l->Source2 = 5;
  l->Mode2 = 6;
  l->Scroll = C_Vector2D(-4, -5);
  l->Area = SomeRect(2);
  l->LayoutFlag = 1;
  l->WrapX = 2;
  l->WrapY = 3;
  l->UseWidgetText = 1;
  l->Spare1 = 0x11223344;
  l->MultiLine = 0xE1;
  l->Editable = 0xE2;
  l->Password = 0xE3;
  l->Color3 = C_Color(0.25f, 0.5f, 0.75f, 1);
  l->Source3 = 0x55667788;
  l->GrowContent = 1;
  return l;
}

C_Object* FullImage() {
  auto* l = new C_Layer_Image();
  l->Position = C_Vector2D(3, 4, 0x22);
  l->Frame = SomeRect(3);
  l->Image = MakeImageRef(ImageFromCollection2, 7);
  l->ImageName.Assign(C_String("light"));
  l->SparePoint1 = C_Vector2D(5, 6);
  l->Angle = 45;
  l->Opacity = 0.5f;
  l->MirrorVertical = 1;
  l->MirrorHorizontal = 2;
  l->Pivot = C_Vector2D(7, 8, 0x22);
  l->SpareByte4 = 9;
  l->TintColor = C_Color(1, 1, 0, 1);
  l->TintSource = 33;
  l->TintMode = 1;
  l->GrowContent = 1;
  return l;
}

C_Object* FullBrush() {
  auto* l = new C_Layer_Brush();
  l->Area = SomeRect(4);
  l->SourceRect = SomeRect(5);
  l->Sheet = 3;
  l->SheetName.Assign(C_String("bevels"));
  l->SparePoint1 = C_Vector2D(1, 1);
  l->Angle = 90;
  l->Opacity = 0.75f;
  l->SparePoint3 = C_Vector2D(2, 2);
  l->MirrorVertical = 1;
  l->MirrorHorizontal = 2;
  l->TileAcross = 3;
  l->TileDown = 4;
  l->SparePoint4 = C_Vector2D(3, 3);
  l->SpareByte5 = 5;
  l->TintColor = C_Color(0, 1, 1, 1);
  l->TintSource = 18;
  l->TintMode = 1;
  l->Spare1 = 99;
  return l;
}

C_Object* FullZone() {
  auto* l = new C_Layer_Zone();
  l->Area = SomeRect(6);
  l->Action = ZoneBottomRight;
  l->Cursor = 3;
  l->Spare1 = 12;
  return l;
}

C_Object* FullDecal() {
  auto* d = new C_Decal();
  d->Layers = new C_Collection();
  d->Layers->Append(FullRect());
  d->Layers->Append(FullText());
  d->CheckedLayers = new C_Collection();
  d->CheckedLayers->Append(FullZone());
  d->Margins = C_Rect(2.0f, 2.0f, 2.0f, 2.0f, 0, 0);
  return d;
}

const LayerCase kCases[] = {
    {"rect", FullRect},   {"line", FullLine},   {"text", [] { return FullText(); }},
    {"image", FullImage}, {"brush", FullBrush}, {"zone", FullZone},
    {"decal", FullDecal},
};

struct Owned {
  void operator()(C_Object* o) const { DeleteOwnedObject(o); }
};
using Ptr = std::unique_ptr<C_Object, Owned>;

}  // namespace

TEST(LayerRecords, EveryClassSavesLoadsAndClonesToTheSameBytes) {
  for (const LayerCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Ptr original(c.make());
    const std::vector<uint8_t> bytes = SaveBytes(*original);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(U16At(bytes, 0), original->GetClassId());
    EXPECT_EQ(U16At(bytes, 2), FormatVersion);

    Ptr loaded(CreateObject(original->GetClassId()));
    ASSERT_NE(loaded, nullptr) << "registered";
    int64_t consumed = 0;
    ASSERT_TRUE(LoadBytes(*loaded, bytes, &consumed));
    EXPECT_EQ(consumed, static_cast<int64_t>(bytes.size())) << "Load reads what Save writes";
    EXPECT_EQ(SaveBytes(*loaded), bytes);

    Ptr clone(original->Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetClassId(), original->GetClassId());
    EXPECT_EQ(SaveBytes(*clone), bytes);
  }
}

TEST(LayerRecords, ZoneLayoutByteForByte) {
  C_Layer_Zone zone;
  zone.Area = C_Rect(1.0f, 2.0f, 3.0f, 4.0f, 0x00, 0x11);
  zone.Action = ZoneClick;
  zone.Cursor = 65;
  zone.Spare1 = 0x01020304;
  const std::vector<uint8_t> b = SaveBytes(zone);
  // id, version, rect record (id, 4 f32, 2 anchors, pivot record of id, 2 f32, anchor),
  // action, cursor, spare.
  constexpr size_t kRect = 2 + 16 + 2 + 2 + 8 + 1;
  ASSERT_EQ(b.size(), 4 + kRect + 1 + 1 + 4);
  EXPECT_EQ(U16At(b, 4), class_id::Rect);
  EXPECT_EQ(b[4 + kRect], ZoneClick);
  EXPECT_EQ(b[4 + kRect + 1], 65);
  EXPECT_EQ(U32At(b, 4 + kRect + 2), 0x01020304u);
}

// MultiLine, Editable and Password are stored before Color3 and its source.
TEST(LayerRecords, TextLayerStoresItsFlagBytesBeforeColor3) {
  std::unique_ptr<C_Layer_Text> text(FullText());
  const std::vector<uint8_t> b = SaveBytes(*text);
  // The end: three flag bytes, the Color3 record (id + 4 f32), u32 Source3, u32
  // GrowContent.
  const size_t end = b.size();
  EXPECT_EQ(U32At(b, end - 4), 1u);
  EXPECT_EQ(U32At(b, end - 8), 0x55667788u);
  EXPECT_EQ(U16At(b, end - 8 - 18), class_id::Color);
  EXPECT_EQ(b[end - 8 - 18 - 3], 0xE1);
  EXPECT_EQ(b[end - 8 - 18 - 2], 0xE2);
  EXPECT_EQ(b[end - 8 - 18 - 1], 0xE3);
  EXPECT_EQ(U32At(b, end - 8 - 18 - 7), 0x11223344u);  // Spare1 just before them
}

TEST(LayerRecords, ACopyOfATextLayerKeepsItsOwnLayoutState) {
  std::unique_ptr<C_Layer_Text> from(FullText());
  from->Layout.CaretIndex = 3;
  C_Layer_Text to;
  to.Layout.CaretIndex = 7;
  from->CopyTo(&to);
  EXPECT_EQ(to.Layout.CaretIndex, 7);
  EXPECT_STREQ(to.Text.c_str(), "Caption");
  from->Text.Assign(C_String("Changed"));
  EXPECT_STREQ(to.Text.c_str(), "Caption") << "the copy owns its text";
}

// A version other than 100 stops the reader, which reports success with the
// fields left as they were and the rest unread.
TEST(LayerRecords, AnotherVersionStopsTheReader) {
  for (const LayerCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Ptr original(c.make());
    std::vector<uint8_t> bytes = SaveBytes(*original);
    bytes[2] = 99;
    Ptr fresh(CreateObject(original->GetClassId()));
    const std::vector<uint8_t> defaults = SaveBytes(*fresh);
    int64_t consumed = 0;
    EXPECT_TRUE(LoadBytes(*fresh, bytes, &consumed));
    EXPECT_EQ(consumed, 4);
    EXPECT_EQ(SaveBytes(*fresh), defaults);
  }
}

TEST(LayerRecords, AWrongClassIdOrAShortRecordFails) {
  for (const LayerCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Ptr original(c.make());
    std::vector<uint8_t> bytes = SaveBytes(*original);
    Ptr other(CreateObject(original->GetClassId()));
    std::vector<uint8_t> wrong = bytes;
    wrong[0] ^= 0x40;
    SetError(0);
    EXPECT_FALSE(LoadBytes(*other, wrong));
    EXPECT_EQ(LastError.Code, -1);
    for (size_t cut : {size_t{3}, bytes.size() / 2, bytes.size() - 1}) {
      std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + static_cast<long>(cut));
      EXPECT_FALSE(LoadBytes(*other, shorter)) << "cut at " << cut;
    }
  }
}

TEST(DecalRecords, AFlagOtherThanOneMeansNoList) {
  std::unique_ptr<C_Object, Owned> decal(FullDecal());
  std::vector<uint8_t> bytes = SaveBytes(*decal);
  ASSERT_EQ(bytes[4], 1);
  // Without the first list: flag 0 and the bytes of the second list and margins.
  C_Decal plain;
  plain.CheckedLayers = new C_Collection();
  plain.Margins = C_Rect(1.0f, 1.0f, 1.0f, 1.0f, 0, 0);
  std::vector<uint8_t> b = SaveBytes(plain);
  ASSERT_EQ(b[4], 0);
  b[4] = 2;  // not 1: still no list
  C_Decal loaded;
  ASSERT_TRUE(LoadBytes(loaded, b));
  EXPECT_EQ(loaded.Layers, nullptr);
  ASSERT_NE(loaded.CheckedLayers, nullptr);
  EXPECT_EQ(loaded.Margins.X1, 1);
  // Loading over a decal with lists drops them (the sanitizers see any leak).
  auto* full = static_cast<C_Decal*>(decal.get());
  ASSERT_TRUE(LoadBytes(*full, b));
  EXPECT_EQ(full->Layers, nullptr);
}

TEST(DecalRecords, AClonedDecalOwnsItsLayers) {
  std::unique_ptr<C_Object, Owned> decal(FullDecal());
  auto* original = static_cast<C_Decal*>(decal.get());
  std::unique_ptr<C_Object, Owned> copy(original->Clone());
  auto* clone = static_cast<C_Decal*>(copy.get());
  ASSERT_NE(clone->Layers, nullptr);
  ASSERT_EQ(clone->Layers->Count, 2u);
  EXPECT_NE(clone->Layers->Items[0], original->Layers->Items[0]);
  static_cast<C_Layer_Rect*>(original->Layers->Items[0])->Mode = 9;
  EXPECT_EQ(static_cast<C_Layer_Rect*>(clone->Layers->Items[0])->Mode, 3);
  // Copying into a decal that has lists replaces them.
  C_Decal target;
  target.Layers = new C_Collection();
  target.Layers->Append(FullZone());
  original->CopyTo(&target);
  EXPECT_EQ(target.Layers->Count, 2u);
}
