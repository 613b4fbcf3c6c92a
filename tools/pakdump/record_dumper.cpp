#include "tools/pakdump/record_dumper.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/byte_stream.h"
#include "core/class_names.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/record_stream.h"

namespace {

// Texts longer than this are shown cut short; byte runs show this many bytes.
constexpr size_t kShownTextBytes = 120;
constexpr uint64_t kShownDataBytes = 16;
// A list longer than kLongList shows its first kShownEntries entries, and the rest
// are walked without being shown (a baked font holds thousands of variants).
constexpr uint32_t kLongList = 64;
constexpr uint32_t kShownEntries = 16;
// Member records nest only as deep as the class layouts do; this bounds a layout
// that recurses through members in spite of that.
constexpr int kMaxDumpDepth = 2 * kMaxRecordDepth;

std::string QuoteText(const uint8_t* bytes, size_t size) {
  std::string quoted = "\"";
  const size_t shown = size < kShownTextBytes ? size : kShownTextBytes;
  for (size_t i = 0; i < shown; ++i) {
    const uint8_t c = bytes[i];
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (c < 0x20 || c >= 0x7F) {
      quoted += "\\x" + FormatHex(c, 2);
    } else {
      quoted += static_cast<char>(c);
    }
  }
  quoted += '"';
  if (shown < size) quoted += "... (" + std::to_string(size) + " bytes)";
  return quoted;
}

std::string ShowNumber(FieldRef field, Shown shown) {
  const bool asBits = shown == Shown::Hex || shown == Shown::Dropped;
  if (field.Type == WireType::F32 && !asBits) return FormatFloat(*static_cast<float*>(field.Value));
  const int64_t whole = field.Type == WireType::F32
                            ? std::bit_cast<uint32_t>(*static_cast<float*>(field.Value))
                            : WholeValue(field);
  const int digits = 2 * static_cast<int>(WireSize(field.Type));
  const uint64_t bits = static_cast<uint64_t>(whole) & ((uint64_t{1} << (4 * digits)) - 1);
  const bool hex = asBits || (shown == Shown::Code && whole > 0xFFFF);
  return hex ? "0x" + FormatHex(bits, digits) : std::to_string(whole);
}

}  // namespace

std::string FormatFloat(float value) {
  char text[32];
  auto [end, error] = std::to_chars(text, text + sizeof text, value);
  if (error != std::errc()) return "?";
  return std::string(text, end);
}

std::string FormatHex(uint64_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

RecordDumper::RecordDumper(ByteStream* stream, std::ostream& out) : stream_(stream), out_(out) {}

int64_t RecordDumper::Offset() const {
  return StreamOffset(stream_);
}
int64_t RecordDumper::Remaining() const {
  return RemainingBytes(stream_);
}

void RecordDumper::Line(const std::string& text) {
  if (quiet_ > 0 || Failed()) return;
  out_ << std::string(2 * static_cast<size_t>(depth_), ' ') << text << '\n';
}

void RecordDumper::FieldLine(const std::string& name, int64_t offset, const std::string& value) {
  Line(name + " @" + std::to_string(offset) + " = " + value);
}

std::string RecordDumper::Label(const char* name) const {
  if (name) return name;
  if (listDepth_ > 0) return "[" + std::to_string(lists_[listDepth_ - 1].Index) + "]";
  return "entry";
}

bool RecordDumper::Malformed(const std::string& what) {
  return MalformedAt(Offset(), what);
}

bool RecordDumper::MalformedAt(int64_t offset, const std::string& what) {
  if (result_.Ok) {
    result_.Ok = false;
    result_.Error = what;
    result_.ErrorOffset = offset;
  }
  return false;
}

// Checks that `bytes` more can be read before anything is read or allocated.
bool RecordDumper::Need(uint64_t bytes, const std::string& name) {
  if (Failed()) return false;
  const int64_t left = Remaining();
  if (static_cast<uint64_t>(left) >= bytes) return true;
  return Malformed(name + " needs " + std::to_string(bytes) + " byte" + (bytes == 1 ? "" : "s") +
                   " but only " + std::to_string(left) + " remain");
}

// Steps over bytes that Need has vouched for; the dumper's stream is always a memory
// reader, so they are read in place.
const uint8_t* RecordDumper::Take(uint64_t bytes) {
  const uint8_t* at = stream_->Buffer + stream_->Position;
  stream_->Position += static_cast<int32_t>(bytes);
  return at;
}

bool RecordDumper::Number(const char* name, FieldRef field, Shown shown) {
  const int64_t at = Offset();
  const std::string label = Label(name);
  if (!Need(WireSize(field.Type), label) || !ReadWireNumber(stream_, field)) return false;
  FieldLine(label, at, ShowNumber(field, shown));
  return true;
}

bool RecordDumper::NamedCode(const char* name, FieldRef field, CodeNames names) {
  const int64_t at = Offset();
  const std::string label = Label(name);
  if (!Need(WireSize(field.Type), label) || !ReadWireNumber(stream_, field)) return false;
  const int64_t code = WholeValue(field);
  FieldLine(label, at, std::to_string(code) + " (" + names(static_cast<uint32_t>(code)) + ")");
  return true;
}

bool RecordDumper::Version(bool& current) {
  const int64_t at = Offset();
  uint16_t version = 0;
  if (!Need(2, "version") || !ReadField(stream_, version)) return false;
  FieldLine("version", at, std::to_string(version));
  current = version == FormatVersion;
  if (!current) Line("(version is not 100: the loader reads nothing more of this record)");
  return true;
}

bool RecordDumper::Text(const char* name, char*& text, int32_t* length) {
  const int64_t at = Offset();
  const std::string label = name ? name : "text";
  uint32_t n = 0;
  if (!Need(4, label) || !ReadField(stream_, n)) return false;
  FieldLine("length", at, std::to_string(n) + " (text and terminator)");
  // The loaders refuse a record without room for its terminator.
  if (n == 0) return MalformedAt(at, label + " length is 0 (no room for the terminator)");
  const int64_t textAt = Offset();
  if (!Need(n, label)) return false;
  const uint8_t* bytes = Take(n);
  std::string shown = QuoteText(bytes, n - 1);
  if (bytes[n - 1] != 0)
    shown += " (terminator byte is 0x" + FormatHex(bytes[n - 1], 2) + ", not 0)";
  FieldLine(label, textAt, shown);
  auto* copy = static_cast<char*>(std::malloc(n));
  if (!copy) return Malformed("out of memory");
  std::memcpy(copy, bytes, n);
  copy[n - 1] = '\0';
  std::free(text);
  text = copy;
  if (length) *length = static_cast<int32_t>(std::strlen(copy));
  return true;
}

bool RecordDumper::Bytes(const char* name, uint8_t* data, uint32_t size) {
  const int64_t at = Offset();
  const std::string label = Label(name);
  if (!Need(size, label)) return false;
  const uint8_t* bytes = Take(size);
  if (size > 0 && data) std::memcpy(data, bytes, size);
  std::string shown = std::to_string(size) + (size == 1 ? " byte" : " bytes");
  if (size > 0) shown += ":";
  for (uint64_t i = 0; i < size && i < kShownDataBytes; ++i) shown += " " + FormatHex(bytes[i], 2);
  if (size > kShownDataBytes) shown += " ...";
  FieldLine(label, at, shown);
  return true;
}

// The rows are stepped over, not copied: nothing reads the scratch image's pixels.
bool RecordDumper::PixelRows(const char* name, const PixelRowsRef& rows) {
  const int64_t at = Offset();
  const std::string label = Label(name);
  const uint64_t total = uint64_t{rows.Rows} * rows.RowBytes;
  if (!Need(total, std::to_string(rows.Rows) + " pixel rows of " + std::to_string(rows.RowBytes) +
                       " bytes")) {
    return false;
  }
  Take(total);
  FieldLine(label, at,
            std::to_string(rows.Rows) + (rows.Rows == 1 ? " row of " : " rows of ") +
                std::to_string(rows.RowBytes) + " bytes (" + std::to_string(total) +
                " bytes, not shown)");
  return true;
}

bool RecordDumper::Walk(const std::string& label, C_Object& object, uint16_t id, int64_t at) {
  if (depth_ >= kMaxDumpDepth) return MalformedAt(at, "records nested too deep");
  const char* className = ClassNameOf(id);
  std::string line = label.empty() ? "" : label + ": ";
  line += std::string(className ? className : "record") + " (id " + std::to_string(id) + ") @" +
          std::to_string(at);
  Line(line);
  ++depth_;
  const bool walked = object.Fields(*this) && !Failed();
  --depth_;
  return walked;
}

bool RecordDumper::TopRecord() {
  const int64_t at = Offset();
  uint16_t id = 0;
  if (!Need(2, "class id") || !ReadField(stream_, id)) return false;
  std::unique_ptr<C_Object, void (*)(C_Object*)> object(NewObjectForRecord(id), DeleteOwnedObject);
  if (!object || !ClassNameOf(id)) {
    return MalformedAt(at, "unknown class id " + std::to_string(id) +
                               ": no layout is known for it and records carry no length "
                               "by which to skip it");
  }
  return Walk("", *object, id, at);
}

bool RecordDumper::Member(const char* name, C_Object& object) {
  if (Failed()) return false;
  const int64_t at = Offset();
  const std::string label = Label(name);
  uint16_t id = 0;
  if (!Need(2, "class id of " + label) || !ReadField(stream_, id)) return false;
  const uint16_t expected = object.GetClassId();
  if (id != expected) {
    const char* expectedName = ClassNameOf(expected);
    return MalformedAt(at, label + " must be a " + (expectedName ? expectedName : "record") +
                               " (id " + std::to_string(expected) + ") but has class id " +
                               std::to_string(id));
  }
  return Walk(label, object, id, at);
}

bool RecordDumper::Held(const char* name, C_Object*& object, HeldRule rule) {
  object = nullptr;
  if (Failed()) return false;
  const int64_t at = Offset();
  const std::string label = Label(name);
  uint16_t id = 0;
  if (!Need(2, "class id of " + label) || !ReadField(stream_, id)) return false;
  if (id == class_id::None) {
    Line(label + ": none (id 0) @" + std::to_string(at));
    return true;
  }
  object = CreateObject(id);
  if (!object || !ClassNameOf(id)) {
    return MalformedAt(at, "unknown class id " + std::to_string(id) +
                               ": no layout is known for it and records carry no length "
                               "by which to skip it");
  }
  if (heldDepth_ >= kMaxRecordDepth) {
    return MalformedAt(at, "objects nested more than " + std::to_string(kMaxRecordDepth) +
                               " deep (the loader stops here)");
  }
  ++heldDepth_;
  const bool walked = Walk(label, *object, id, at);
  --heldDepth_;
  if (!walked) return false;
  // A container creates a plain C_Object for id 21, which reads nothing: the next
  // item would meet the same id again, and the loader refuses the list.
  if (rule == HeldRule::ListItem && id == class_id::Object && listDepth_ > 0) {
    const ListState& list = lists_[listDepth_ - 1];
    if (list.Index + 1 < list.Count) {
      return MalformedAt(at,
                         "a container loads id 21 as an empty C_Object, which reads "
                         "nothing, so the items after it cannot be read");
    }
  }
  return true;
}

bool RecordDumper::Presence(const char* name, bool& present) {
  const int64_t at = Offset();
  const std::string label = std::string(name) + " follows";
  uint8_t flag = 0;
  if (!Need(1, label) || !ReadField(stream_, flag)) return false;
  present = flag == 1;
  FieldLine(label, at, std::to_string(flag) + (present ? " (yes)" : " (no)"));
  return true;
}

bool RecordDumper::BeginList(const char* name, uint32_t& count, ListCount how,
                             uint32_t minItemBytes) {
  if (Failed()) return false;
  const int64_t at = Offset();
  if (how == ListCount::Stored) {
    if (!Need(4, name) || !ReadField(stream_, count)) return false;
    FieldLine(name, at, std::to_string(count));
  } else {
    Line(std::string(name) + ": " + std::to_string(count) + " entries");
  }
  const uint64_t least = uint64_t{minItemBytes} * count;
  if (least > static_cast<uint64_t>(Remaining())) {
    return MalformedAt(at, std::string(name) + " count " + std::to_string(count) +
                               " needs at least " + std::to_string(least) + " bytes but only " +
                               std::to_string(Remaining()) + " remain");
  }
  if (listDepth_ >= kMaxLists) return MalformedAt(at, "lists nested too deep");
  lists_[listDepth_++] = ListState{count, 0, false, 0};
  return true;
}

bool RecordDumper::Element(uint32_t index) {
  if (listDepth_ == 0) return !Failed();
  ListState& list = lists_[listDepth_ - 1];
  list.Index = index;
  if (list.Count <= kLongList || index < kShownEntries) return !Failed();
  if (index == kShownEntries) ++quiet_;
  ++list.Hidden;
  return !Failed();
}

// An entry of a marked list was entered by NextEntry; a counted list's element
// stays at the list's depth.
void RecordDumper::EndElement() {
  if (listDepth_ == 0 || !lists_[listDepth_ - 1].Marked) return;
  --listDepth_;
  --depth_;
}

void RecordDumper::EndList() {
  if (listDepth_ == 0) return;
  const ListState list = lists_[--listDepth_];
  if (list.Hidden == 0) return;
  --quiet_;
  Line("(" + std::to_string(list.Hidden) + " more entries not shown)");
}

bool RecordDumper::BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) {
  const int64_t at = Offset();
  uint8_t first = 0;
  if (!Need(1, name) || !ReadField(stream_, first)) return false;
  present = first == markers.Start;
  FieldLine(present ? "list marker" : std::string(name) + ": no list", at,
            "0x" + FormatHex(first, 2));
  return true;
}

bool RecordDumper::NextEntry(const ListMarkers& markers, bool& more) {
  more = false;
  if (Failed()) return false;
  const int64_t start = Offset();
  uint64_t skipped = 0;
  int first = -1;
  while (Remaining() > 0) {
    const int64_t at = Offset();
    const uint8_t byte = *Take(1);
    if (byte == markers.End || byte == markers.Entry) {
      if (skipped > 0) {
        FieldLine("skipped", start,
                  std::to_string(skipped) + " byte" + (skipped == 1 ? "" : "s") +
                      " that are neither a " + markers.EntryName + " nor an end marker, first 0x" +
                      FormatHex(static_cast<uint8_t>(first), 2));
      }
      more = byte == markers.Entry;
      FieldLine(more ? markers.EntryName : "end marker", at, "0x" + FormatHex(byte, 2));
      if (more) {
        ++depth_;
        if (listDepth_ >= kMaxLists) return MalformedAt(at, "lists nested too deep");
        lists_[listDepth_++] = ListState{0, 0, true, 0};
      }
      return true;
    }
    if (first < 0) first = byte;
    ++skipped;
  }
  if (skipped > 0) {
    FieldLine("skipped", start, std::to_string(skipped) + " bytes up to the end of the data");
  }
  Line("(the list ends with the data, without its end marker)");
  return true;
}

bool RecordDumper::Refuse(const char* what) {
  return Malformed(std::string(what) + " (the loader fails here)");
}

bool RecordDumper::CanHold(uint64_t bytes) {
  return Need(bytes, "the data that follows");
}

DumpResult DumpObjectBytes(const uint8_t* data, size_t size, std::ostream& out) {
  ByteStream* stream = NewMemoryReader(data, size);
  if (!stream) {
    DumpResult refused;
    refused.Ok = false;
    refused.Error = "the bytes cannot be held in memory";
    refused.ErrorOffset = 0;
    out << "malformed at offset 0: " << refused.Error << '\n';
    return refused;
  }
  RecordDumper dumper(stream, out);
  if (size == 0) {
    dumper.Malformed("the file is empty (no class id)");
  } else if (dumper.TopRecord() && dumper.Remaining() > 0) {
    out << dumper.Remaining() << " trailing bytes after the record @" << dumper.Offset()
        << " (never read)\n";
  }
  DumpResult result = dumper.Result();
  FreeStream(stream);
  if (!result.Ok)
    out << "malformed at offset " << result.ErrorOffset << ": " << result.Error << '\n';
  return result;
}
