#include "tools/pakdump/record_dumper.h"

#include <charconv>
#include <cstdio>

#include "core/byte_stream.h"
#include "core/class_registry.h"

namespace {

// Texts longer than this are shown cut short; byte runs show this many bytes.
constexpr size_t kShownTextBytes = 120;
constexpr uint64_t kShownDataBytes = 16;
// Member records nest only as deep as the class layouts do; this bounds a describer
// that recurses through members in spite of that.
constexpr int kMaxDumpDepth = 2 * kMaxRecordDepth;

DescriberEntry* Describers() {
  static DescriberEntry table[kClassRegistrySize];
  return table;
}

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

}  // namespace

bool RegisterDescriber(uint16_t classId, const char* className, RecordDescriber describe) {
  if (classId >= kClassRegistrySize) return true;
  Describers()[classId] = DescriberEntry{className, describe};
  return true;
}

const DescriberEntry* FindDescriber(uint16_t classId) {
  if (classId >= kClassRegistrySize) return nullptr;
  const DescriberEntry* entry = &Describers()[classId];
  return entry->Describe ? entry : nullptr;
}

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
  out_ << std::string(2 * static_cast<size_t>(depth_), ' ') << text << '\n';
}

void RecordDumper::FieldLine(const char* name, int64_t offset, const std::string& value) {
  Line(std::string(name) + " @" + std::to_string(offset) + " = " + value);
}

void RecordDumper::Note(const std::string& text) {
  if (!Failed()) Line(text);
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
bool RecordDumper::Need(uint64_t bytes, const char* name) {
  if (Failed()) return false;
  const int64_t left = Remaining();
  if (static_cast<uint64_t>(left) >= bytes) return true;
  return Malformed(std::string(name) + " needs " + std::to_string(bytes) + " byte" +
                   (bytes == 1 ? "" : "s") + " but only " + std::to_string(left) + " remain");
}

// Steps over bytes that Need has vouched for; the dumper's stream is always a memory
// reader, so they are read in place.
const uint8_t* RecordDumper::Take(uint64_t bytes) {
  const uint8_t* at = stream_->Buffer + stream_->Position;
  stream_->Position += static_cast<int32_t>(bytes);
  return at;
}

bool RecordDumper::U8(const char* name, uint8_t* value, Shown shown) {
  const int64_t at = Offset();
  uint8_t v = 0;
  if (!Need(1, name) || !ReadField(stream_, v)) return Malformed(name);
  FieldLine(name, at, shown == Shown::Hex ? "0x" + FormatHex(v, 2) : std::to_string(v));
  if (value) *value = v;
  return true;
}

bool RecordDumper::U16(const char* name, uint16_t* value) {
  const int64_t at = Offset();
  uint16_t v = 0;
  if (!Need(2, name) || !ReadField(stream_, v)) return Malformed(name);
  FieldLine(name, at, std::to_string(v));
  if (value) *value = v;
  return true;
}

bool RecordDumper::U32(const char* name, uint32_t* value, Shown shown) {
  const int64_t at = Offset();
  uint32_t v = 0;
  if (!Need(4, name) || !ReadField(stream_, v)) return Malformed(name);
  const bool hex = shown == Shown::Hex || (shown == Shown::Code && v >= 0x10000);
  FieldLine(name, at, hex ? "0x" + FormatHex(v, 8) : std::to_string(v));
  if (value) *value = v;
  return true;
}

bool RecordDumper::I32(const char* name, int32_t* value) {
  const int64_t at = Offset();
  int32_t v = 0;
  if (!Need(4, name) || !ReadField(stream_, v)) return Malformed(name);
  FieldLine(name, at, std::to_string(v));
  if (value) *value = v;
  return true;
}

bool RecordDumper::F32(const char* name, float* value) {
  const int64_t at = Offset();
  float v = 0;
  if (!Need(4, name) || !ReadField(stream_, v)) return Malformed(name);
  FieldLine(name, at, FormatFloat(v));
  if (value) *value = v;
  return true;
}

bool RecordDumper::CountedText(const char* name) {
  const int64_t at = Offset();
  uint32_t n = 0;
  if (!Need(4, name) || !ReadField(stream_, n)) return Malformed(name);
  FieldLine("length", at, std::to_string(n) + " (text and terminator)");
  // The loaders refuse a record without room for its terminator.
  if (n == 0)
    return MalformedAt(at, std::string(name) + " length is 0 (no room for the terminator)");
  const int64_t textAt = Offset();
  if (!Need(n, name)) return false;
  const uint8_t* text = Take(n);
  std::string shown = QuoteText(text, n - 1);
  if (text[n - 1] != 0) shown += " (terminator byte is 0x" + FormatHex(text[n - 1], 2) + ", not 0)";
  FieldLine(name, textAt, shown);
  return true;
}

bool RecordDumper::Bytes(const char* name, uint64_t count) {
  const int64_t at = Offset();
  if (!Need(count, name)) return false;
  const uint8_t* bytes = Take(count);
  std::string shown = std::to_string(count);
  shown += count == 1 ? " byte" : " bytes";
  if (count > 0) shown += ":";
  for (uint64_t i = 0; i < count && i < kShownDataBytes; ++i) {
    shown += ' ';
    shown += FormatHex(bytes[i], 2);
  }
  if (count > kShownDataBytes) shown += " ...";
  FieldLine(name, at, shown);
  return true;
}

bool RecordDumper::Skip(const char* name, uint64_t count, const std::string& what) {
  const int64_t at = Offset();
  if (!Need(count, name)) return false;
  Take(count);
  FieldLine(name, at, what);
  return true;
}

int RecordDumper::PeekByte(int64_t ahead) const {
  if (Failed() || ahead < 0 || Remaining() <= ahead) return -1;
  return stream_->Buffer[stream_->Position + ahead];
}

bool RecordDumper::Record(const char* label, RecordRole role, uint16_t expectedId) {
  if (Failed()) return false;
  const int64_t at = Offset();
  const std::string prefix = role == RecordRole::Top ? "" : std::string(label) + ": ";
  uint16_t id = 0;
  const std::string idName =
      role == RecordRole::Top ? "class id" : "class id of " + std::string(label);
  if (!Need(2, idName.c_str()) || !ReadField(stream_, id)) {
    return Malformed("class id");
  }
  if (role == RecordRole::Held && id == 0) {
    Line(prefix + "none (id 0) @" + std::to_string(at));
    return true;
  }
  const DescriberEntry* entry = FindDescriber(id);
  if (role == RecordRole::Member && id != expectedId) {
    const DescriberEntry* expected = FindDescriber(expectedId);
    return MalformedAt(
        at, std::string(label) + " must be a " + (expected ? expected->ClassName : "record") +
                " (id " + std::to_string(expectedId) + ") but has class id " + std::to_string(id));
  }
  if (!entry) {
    return MalformedAt(at, "unknown class id " + std::to_string(id) +
                               ": no layout is known for it and records carry no length "
                               "by which to skip it");
  }
  if (role == RecordRole::Held && heldDepth_ >= kMaxRecordDepth) {
    return MalformedAt(at, "objects nested more than " + std::to_string(kMaxRecordDepth) +
                               " deep (the loader stops here)");
  }
  if (depth_ >= kMaxDumpDepth) return MalformedAt(at, "records nested too deep");
  std::string line =
      prefix + entry->ClassName + " (id " + std::to_string(id) + ") @" + std::to_string(at);
  // A container creates the object of id 21 as a plain root object, which reads
  // nothing: its loader would meet the same id again as its next item.
  if (role == RecordRole::Held && id == 21)
    line += " (a container loads this id as an empty C_Object)";
  Line(line);
  ++depth_;
  if (role == RecordRole::Held) ++heldDepth_;
  const bool described = entry->Describe(*this) && !Failed();
  if (role == RecordRole::Held) --heldDepth_;
  --depth_;
  return described;
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
  } else if (dumper.Record("", RecordRole::Top) && dumper.Remaining() > 0) {
    out << dumper.Remaining() << " trailing bytes after the record @" << dumper.Offset()
        << " (never read)\n";
  }
  DumpResult result = dumper.Result();
  FreeStream(stream);
  if (!result.Ok)
    out << "malformed at offset " << result.ErrorOffset << ": " << result.Error << '\n';
  return result;
}
