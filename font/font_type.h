// C_FontType: what a caller asks a font for: face name, size in pixels, kind and
// two style flags. Embedded in text layers and text boxes and stored with them.
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/string.h"

// Kinds of pre-rendered variants. A variant is used only for requests of its kind.
inline constexpr uint8_t kKindDefault = 0;  // the default font type: smooth widget text
inline constexpr uint8_t kKindNamed = 10;   // a type made from a name and a size: crisp UI text

// Style codes of variants: 4 + StyleFlag1 + 2 x StyleFlag2.
inline constexpr uint8_t kStyleRegular = 4;
inline constexpr uint8_t kStyleBold = 5;        // StyleFlag1
inline constexpr uint8_t kStyleItalic = 6;      // StyleFlag2
inline constexpr uint8_t kStyleBoldItalic = 7;  // both

class C_FontType : public C_Object {
 public:
  C_FontType();  // "MS Sans Serif", size 10, kind 0, no style flags
  // Name and size as given, kind 10, no style flags.
  C_FontType(const char* name, float size);

  // Record: id 2, version 100, the name's own record, Kind, StyleFlag1, StyleFlag2,
  // a spare byte, f32 Size, then both style flags again; the second copies are
  // the ones read back. A failing name load fails the font type.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::FontType; }

  uint8_t StyleCode() const { return static_cast<uint8_t>(4 + StyleFlag1 + 2 * StyleFlag2); }

  C_String Name;           // face name matched against a font's resource name
  float Size = 10;         // requested size in pixels
  uint8_t Kind = 0;        // must equal a variant's Kind
  uint8_t StyleFlag1 = 0;  // 1: bold
  uint8_t StyleFlag2 = 0;  // 1: italic
};
