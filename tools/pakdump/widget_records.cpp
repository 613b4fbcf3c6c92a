// Record layouts of the widget classes: the widget with its decal slots, fields,
// extras, children and drawing order, and the blocks forms, scroll bars and text
// boxes append. Kinds and part ids are named beside their numbers.
#include <cstdint>
#include <string>

#include "core/class_id.h"
#include "tools/pakdump/record_dumper.h"

namespace {

constexpr uint16_t kVersion = 100;
constexpr uint8_t kListStart = 0x7F;
constexpr uint8_t kListEnd = 0x80;
constexpr uint8_t kEntry = 0x81;
constexpr uint8_t kSlots = 10;

const char* KindName(uint16_t kind) {
  switch (kind) {
    case 0:
      return "plain";
    case 1:
      return "push button";
    case 2:
      return "form";
    case 14:
      return "option button";
    case 15:
      return "check box";
    case 16:
      return "horizontal scroll bar";
    case 17:
      return "vertical scroll bar";
    case 23:
      return "text box";
    case 27:
      return "scroll space";
    case 31:
      return "group separator";
    case 32:
      return "press option";
    default:
      return "no kind the system acts on";
  }
}

const char* PartName(uint16_t part) {
  switch (part) {
    case 0:
      return "no part";
    case 4:
      return "frame, normal";
    case 5:
      return "frame, minimised";
    case 6:
      return "frame, maximised";
    case 7:
      return "frame, rolled up";
    case 8:
      return "minimise";
    case 9:
      return "restore";
    case 10:
      return "maximise";
    case 11:
      return "roll up";
    case 18:
      return "thumb";
    case 19:
      return "step to minimum";
    case 20:
      return "step to maximum";
    case 21:
      return "page to minimum";
    case 22:
      return "page to maximum";
    case 24:
      return "text area";
    case 25:
      return "text box's horizontal bar";
    case 26:
      return "text box's vertical bar";
    case 28:
      return "scrolled content";
    case 29:
      return "scroll space's horizontal bar";
    case 30:
      return "scroll space's vertical bar";
    default:
      return "no part the system acts on";
  }
}

int64_t PeekU16(const RecordDumper& d, int64_t ahead) {
  const int lo = d.PeekByte(ahead), hi = d.PeekByte(ahead + 1);
  return lo < 0 || hi < 0 ? -1 : lo | (hi << 8);
}

int64_t PeekU32(const RecordDumper& d, int64_t ahead) {
  int64_t v = 0;
  for (int i = 0; i < 4; ++i) {
    const int b = d.PeekByte(ahead + i);
    if (b < 0) return -1;
    v |= static_cast<int64_t>(b) << (8 * i);
  }
  return v;
}

bool DecalList(RecordDumper& d) {
  uint8_t byte = 0;
  if (!d.U8("decal list", &byte)) return false;
  if (byte != kListStart) {
    d.Note("  (not the list start 0x7F: no decals, and this byte is lost)");
    return true;
  }
  // Bytes until the end marker or the end of the data; entries carry a slot and a decal.
  while (d.PeekByte() >= 0) {
    if (!d.U8("marker", &byte)) return false;
    if (byte == kListEnd) return true;
    if (byte != kEntry) {
      d.Note("  (skipped)");
      continue;
    }
    uint8_t slot = 0;
    if (!d.U8("slot", &slot, Shown::Decimal)) return false;
    if (slot >= kSlots) d.Note("  (outside the ten slots: read and dropped)");
    if (!d.Record("decal", RecordRole::Member, class_id::Decal)) return false;
  }
  d.Note("(the data ends inside the decal list)");
  return true;
}

// An optional held object: a u16 0 for none, else a record.
bool Optional(RecordDumper& d, const char* name) {
  if (PeekU16(d, 0) == 0) return d.U16((std::string(name) + " (none)").c_str());
  return d.Record(name, RecordRole::Held);
}

bool WidgetContents(RecordDumper& d, bool& current) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  current = version == kVersion;
  if (!current) {
    d.Note("(version is not 100: the loader reads nothing more of this widget)");
    return true;
  }
  uint16_t kind = 0, part = 0;
  if (!DecalList(d) || !d.Record("Name", RecordRole::Member, class_id::String) || !d.U32("Tag") ||
      !d.U16("Kind", &kind)) {
    return false;
  }
  d.Note(std::string("  (") + KindName(kind) + ")");
  if (!d.U16("PartId", &part)) return false;
  d.Note(std::string("  (") + PartName(part) + ")");
  for (const char* rect : {"Rect", "ClientRect", "DragLimits"})
    if (!d.Record(rect, RecordRole::Member, class_id::Rect)) return false;
  if (!d.Record("AltColor", RecordRole::Member, class_id::Color) || !d.U32("AltSource") ||
      !d.Record("Color", RecordRole::Member, class_id::Color) || !d.U32("ColorSource") ||
      !d.Record("Text", RecordRole::Member, class_id::String) || !d.U8("Flag0") ||
      !d.U8("Visible") || !d.U8("Flag2") || !d.U8("Checked") || !d.U8("Movable") ||
      !d.I32("Page") || !d.F32("MinWidth") || !d.F32("MinHeight") || !d.F32("Opacity") ||
      !d.U8("Resizable") || !d.U8("BringToFront") || !d.U8("Remembered") ||
      !d.U16("ActivationMode") || !d.Record("Rect4", RecordRole::Member, class_id::Rect) ||
      !Optional(d, "Extras")) {
    return false;
  }
  // The order list has one index per child; the count is the collection's.
  const int64_t children = PeekU16(d, 0) == class_id::Collection ? PeekU32(d, 2) : 0;
  if (!Optional(d, "Children")) return false;
  for (int64_t k = 0; k < children; ++k) {
    if (!d.I32(("drawn " + std::to_string(k)).c_str())) return false;
  }
  return true;
}

bool DescribeWidget(RecordDumper& d) {
  bool current = false;
  return WidgetContents(d, current);
}

// The widget contents, then a derived block of its own version.
template <bool (*Block)(RecordDumper&)>
bool Derived(RecordDumper& d) {
  bool current = false;
  if (!WidgetContents(d, current)) return false;
  if (!current) return true;
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  if (version != kVersion) {
    d.Note("(version is not 100: the loader keeps the defaults of this block)");
    return true;
  }
  return Block(d);
}

bool FormBlock(RecordDumper& d) {
  return d.U8("Mode", nullptr, Shown::Decimal);
}

bool ScrollBarBlock(RecordDumper& d) {
  return d.F32("Value") && d.F32("Minimum") && d.F32("Maximum") && d.F32("PageSize") &&
         d.F32("Step");
}

// The text format carries the font type's class id (2) but its own layout.
bool TextBoxBlock(RecordDumper& d) {
  if (!d.Record("Font", RecordRole::Member, class_id::FontType)) return false;
  uint16_t id = 0, version = 0;
  const int64_t at = d.Offset();
  if (!d.U16("Format: class id", &id)) return false;
  if (id != class_id::FontType) return d.MalformedAt(at, "Format must carry class id 2");
  d.Enter();
  bool ok = d.U16("version", &version);
  if (ok && version == kVersion) {
    ok = d.U8("Align", nullptr, Shown::Decimal) && d.U8("Ellipsis") && d.U8("SpareFlag1") &&
         d.F32("Leading") && d.F32("LeftEdge") && d.U8("LeftAnchor") && d.F32("RightEdge") &&
         d.U8("RightAnchor") && d.F32("Extra") && d.U8("ExtraAnchor") && d.U8("SpareFlag2") &&
         d.U32("Spare1") && d.U32("Spare2") && d.U32("Spare3");
  }
  d.Leave();
  return ok && d.U8("ScrollBars") && d.U8("BoxFlag2") && d.U8("BoxFlag3");
}

const bool registered =
    RegisterDescriber(class_id::Widget, "C_Widget", DescribeWidget) &&
    RegisterDescriber(class_id::Form, "C_Form", Derived<FormBlock>) &&
    RegisterDescriber(class_id::ScrollBar, "C_ScrollBar", Derived<ScrollBarBlock>) &&
    RegisterDescriber(class_id::TextBox, "C_TextBox", Derived<TextBoxBlock>);

}  // namespace
