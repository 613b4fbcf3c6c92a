// RecordVisitor: the one walk over a class's stored fields.
//
// Every class with a stored form lists its fields once, in stored order, in its
// `Fields(RecordVisitor&)` operation. The same list is walked to load a record from
// a byte stream, to save it, to describe its bytes (pakdump) and to write or read
// its text form (paktext). A visitor either fills the fields (Reading) or takes
// them from the object; the irregular parts of a layout (version stops, lists,
// optional objects, pixel rows) are calls of their own so that every visitor
// treats them alike.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/object.h"

// How a number is shown in descriptions and in the text form.
enum class Shown : uint8_t {
  Decimal,
  Hex,   // bit fields, anchors and markers
  Code,  // decimal for small codes, hex for marker values such as 0x80000001
  // Read and dropped, or written from other fields: described (in hex), but left
  // out of the text form, where an edit could change nothing.
  Dropped,
};

enum class WireType : uint8_t { U8, U16, I16, U32, I32, F32 };

// The name of each value of a code field ("push button"), for descriptions.
using CodeNames = const char* (*)(uint32_t code);

// One number field of the object.
struct FieldRef {
  WireType Type;
  void* Value;
};

inline FieldRef RefOf(uint8_t& v) {
  return {WireType::U8, &v};
}
inline FieldRef RefOf(uint16_t& v) {
  return {WireType::U16, &v};
}
inline FieldRef RefOf(int16_t& v) {
  return {WireType::I16, &v};
}
inline FieldRef RefOf(uint32_t& v) {
  return {WireType::U32, &v};
}
inline FieldRef RefOf(int32_t& v) {
  return {WireType::I32, &v};
}
inline FieldRef RefOf(float& v) {
  return {WireType::F32, &v};
}

// Rows of pixel data: `Rows` rows of `RowBytes` bytes each, `Pitch` apart from
// `Base` (row y at Base + (Height - 1 - y) x Pitch when BottomUp). A null Base is
// written as zero bytes. Width and Format let the text form store the rows as a
// picture.
struct PixelRowsRef {
  uint8_t* Base = nullptr;
  uint32_t Rows = 0;
  uint32_t RowBytes = 0;
  uint32_t Pitch = 0;
  bool BottomUp = false;
  int32_t Width = 0;
  int32_t Format = 0;
};

// The framing of a list whose entries are announced by marker bytes.
struct ListMarkers {
  uint8_t Start;  // begins the list; any other first byte means no list
  uint8_t Entry;  // comes before each entry
  uint8_t End;    // ends the list (and stands alone for no list)
  const char* EntryName;
};

// What a held object's loader does with an unregistered class id or a failed load.
enum class HeldRule : uint8_t {
  Optional,  // unregistered: null (its id stays unread); a failed load fails the walk
  Known,     // unregistered: the walk fails; a failed load fails the walk
  ListItem,  // as Optional, but an item whose load fails stays and the list goes on
             // while the bytes can still be read
};

// How a counted list gives its length.
enum class ListCount : uint8_t {
  Stored,   // a u32 count before the items
  Implied,  // known from fields read before; nothing stored
};

class RecordVisitor {
 public:
  virtual ~RecordVisitor() = default;

  // True when the walk fills the object's fields (loading, reading text).
  virtual bool Reading() const = 0;
  // True for the text form, whose lists stand in file order both ways: lists that
  // a byte stream gives back reversed (each entry read is put at the front) are
  // appended when read from text and written from their last entry.
  virtual bool TextForm() const { return false; }
  // The context handed to every held object.
  virtual int32_t Context() const { return 0; }

  // A number. A null name is the current list entry itself.
  virtual bool Number(const char* name, FieldRef field, Shown shown) = 0;
  // A number whose values have names (kinds, zone actions, colour sources):
  // descriptions show the name beside the number; otherwise it is a number.
  virtual bool NamedCode(const char* name, FieldRef field, CodeNames names) {
    (void)names;
    return Number(name, field, Shown::Decimal);
  }
  // The version word that starts the contents of the larger records; `current` is
  // false when a stored record carries another version, and the walk then stops
  // with success, leaving the object as it was reset.
  virtual bool Version(bool& current) = 0;
  // A counted text: a u32 n, then n bytes ending in a zero byte. `text` is an owned
  // malloc'd copy (null reads as the empty text); `length` receives its strlen.
  virtual bool Text(const char* name, char*& text, int32_t* length) = 0;
  // A block of `size` bytes whose size fields before it gave.
  virtual bool Bytes(const char* name, uint8_t* data, uint32_t size) = 0;
  virtual bool PixelRows(const char* name, const PixelRowsRef& rows) = 0;
  // The complete record of an object of known class (its class id is checked).
  virtual bool Member(const char* name, C_Object& object) = 0;
  // An optional object of any registered class, announced by its class id (0 is
  // none). Reading creates it; `object` receives it even when loading it fails so
  // that the owner frees it.
  virtual bool Held(const char* name, C_Object*& object, HeldRule rule) = 0;

  // A u8 flag that says whether the field `name` follows: 1 it does, any other
  // value (0 when written) it does not.
  virtual bool Presence(const char* name, bool& present) = 0;

  // A counted list. Reading sets `count`; `minItemBytes` bounds it by the bytes
  // left. Each item is walked between Element and EndElement; EndList closes it.
  virtual bool BeginList(const char* name, uint32_t& count, ListCount how,
                         uint32_t minItemBytes) = 0;
  virtual bool Element(uint32_t index) = 0;
  virtual void EndElement() = 0;
  virtual void EndList() = 0;

  // A list between markers. `present` says whether the list is there at all.
  // Then NextEntry is called until it gives `more` false; each entry it opens is
  // walked and closed with EndElement.
  virtual bool BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) = 0;
  virtual bool NextEntry(const ListMarkers& markers, bool& more) = 0;

  // Refuses what was read: the record cannot be loaded. Always false.
  virtual bool Refuse(const char* what) = 0;
  // Checks that `bytes` more can be read (always true when nothing is read from bytes).
  virtual bool CanHold(uint64_t bytes) = 0;

  template <class T>
  bool Code(const char* name, T& value, CodeNames names) {
    return NamedCode(name, RefOf(value), names);
  }

  // The common case: a number by its own type, or a member record.
  template <class T>
  bool Field(const char* name, T& value, Shown shown = Shown::Decimal) {
    if constexpr (std::is_base_of_v<C_Object, T>) {
      return Member(name, value);
    } else {
      return Number(name, RefOf(value), shown);
    }
  }
};
