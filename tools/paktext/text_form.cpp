#include "tools/paktext/text_form.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/byte_stream.h"
#include "core/class_names.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/record_stream.h"
#include "tools/paktext/pictures.h"

using json = nlohmann::ordered_json;

namespace {

std::string HexText(uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int i = digits - 1; i >= 0; --i) text += kDigits[(value >> (4 * i)) & 0xF];
  return text;
}

// The stored bytes of a text as UTF-8: byte b is the character U+00bb.
std::string BytesToUtf8(const char* bytes) {
  std::string text;
  for (const char* p = bytes; *p; ++p) {
    const auto b = static_cast<uint8_t>(*p);
    if (b < 0x80) {
      text += static_cast<char>(b);
    } else {
      text += static_cast<char>(0xC0 | (b >> 6));
      text += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return text;
}

// The reverse; false for a character above U+00FF or a zero byte, which a stored
// text cannot hold.
bool Utf8ToBytes(const std::string& text, std::string& bytes) {
  bytes.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (b == 0) return false;
    if (b < 0x80) {
      bytes += static_cast<char>(b);
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < text.size()) {
      const auto next = static_cast<uint8_t>(text[++i]);
      if ((next & 0xC0) != 0x80) return false;
      bytes += static_cast<char>(((b & 0x03) << 6) | (next & 0x3F));
    } else {
      return false;
    }
  }
  return true;
}

bool ParseHex(const std::string& text, uint64_t& value) {
  if (text.size() < 3 || text.size() > 18 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
    return false;
  const char* first = text.data() + 2;
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(first, last, value, 16);
  return error == std::errc() && end == last;
}

struct WireRange {
  int64_t Low;
  int64_t High;
};

WireRange RangeOf(WireType type) {
  switch (type) {
    case WireType::U8:
      return {0, 0xFF};
    case WireType::U16:
      return {0, 0xFFFF};
    case WireType::I16:
      return {-0x8000, 0x7FFF};
    case WireType::U32:
      return {0, 0xFFFFFFFF};
    default:
      return {INT32_MIN, INT32_MAX};
  }
}

void StoreWhole(FieldRef field, int64_t value) {
  switch (field.Type) {
    case WireType::U8:
      *static_cast<uint8_t*>(field.Value) = static_cast<uint8_t>(value);
      break;
    case WireType::U16:
      *static_cast<uint16_t*>(field.Value) = static_cast<uint16_t>(value);
      break;
    case WireType::I16:
      *static_cast<int16_t*>(field.Value) = static_cast<int16_t>(value);
      break;
    case WireType::U32:
      *static_cast<uint32_t*>(field.Value) = static_cast<uint32_t>(value);
      break;
    case WireType::I32:
      *static_cast<int32_t*>(field.Value) = static_cast<int32_t>(value);
      break;
    case WireType::F32:
      break;
  }
}

}  // namespace

// --- Writing ---------------------------------------------------------------------

TextWriter::TextWriter(json& root, std::string folder) : folder_(std::move(folder)) {
  scopes_.push_back(&root);
}

bool TextWriter::Fail(const std::string& what) {
  if (error_.empty()) error_ = what;
  return false;
}

// The field's place: a member of the current record, or the list entry itself.
json& TextWriter::Slot(const char* name) {
  json& scope = *scopes_.back();
  return name ? scope[name] : scope;
}

bool TextWriter::TopRecord(C_Object& object) {
  const char* name = ClassNameOf(object.GetClassId());
  if (!name) return Fail("the record's class has no name");
  json& root = *scopes_.back();
  root = json::object();
  root["class"] = name;
  return object.Fields(*this);
}

bool TextWriter::Number(const char* name, FieldRef field, Shown shown) {
  if (shown == Shown::Dropped) return true;
  json& slot = Slot(name);
  if (field.Type == WireType::F32) {
    const float value = *static_cast<float*>(field.Value);
    if (!std::isfinite(value) || shown == Shown::Hex) {
      slot = HexText(std::bit_cast<uint32_t>(value), 8);
      return true;
    }
    // The shortest text that reads back as this f32, as a JSON number.
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error != std::errc()) return Fail("a number cannot be written");
    slot = std::strtod(std::string(text, end).c_str(), nullptr);
    return true;
  }
  const int64_t value = WholeValue(field);
  if (shown == Shown::Hex) {
    const int digits = 2 * static_cast<int>(WireSize(field.Type));
    slot = HexText(static_cast<uint64_t>(value) & ((uint64_t{1} << (4 * digits)) - 1), digits);
  } else {
    slot = value;
  }
  return true;
}

bool TextWriter::Version(bool& current) {
  current = true;
  return true;
}

// A record that is only a text (a C_String) is the string itself, unless it is
// held by class id, when the text stands beside its "class".
bool TextWriter::Text(const char* name, char*& text, int32_t*) {
  json& scope = *scopes_.back();
  const bool held = !name && scope.is_object() && scope.contains("class");
  json& slot = held ? scope["text"] : Slot(name);
  slot = BytesToUtf8(text ? text : "");
  return true;
}

bool TextWriter::Bytes(const char* name, uint8_t* data, uint32_t size) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(2 * size_t{size});
  for (uint32_t i = 0; i < size; ++i) {
    hex += kDigits[data[i] >> 4];
    hex += kDigits[data[i] & 0xF];
  }
  Slot(name) = hex;
  return true;
}

bool TextWriter::PixelRows(const char* name, const PixelRowsRef& rows) {
  const char* encoding = PictureEncoding(rows);
  const std::string file = "image" + std::to_string(++pictures_) + "." + encoding;
  std::string error;
  if (!WritePicture(folder_ + "/" + file, rows, error)) return Fail(error);
  Slot(name) = json{{"file", file}, {"encoding", encoding}};
  return true;
}

bool TextWriter::Member(const char* name, C_Object& object) {
  json& slot = Slot(name);
  slot = json::object();
  scopes_.push_back(&slot);
  const bool walked = object.Fields(*this);
  scopes_.pop_back();
  return walked;
}

bool TextWriter::Held(const char* name, C_Object*& object, HeldRule) {
  json& slot = Slot(name);
  const char* className = object ? ClassNameOf(object->GetClassId()) : nullptr;
  if (!object || !className) {
    slot = nullptr;
    return true;
  }
  slot = json::object();
  slot["class"] = className;
  scopes_.push_back(&slot);
  const bool walked = object->Fields(*this);
  scopes_.pop_back();
  return walked;
}

bool TextWriter::Presence(const char* name, bool& present) {
  if (!present) Slot(name) = nullptr;
  return true;
}

bool TextWriter::BeginList(const char* name, uint32_t&, ListCount, uint32_t) {
  json& slot = Slot(name);
  slot = json::array();
  scopes_.push_back(&slot);
  return true;
}

bool TextWriter::Element(uint32_t) {
  json& list = *scopes_.back();
  list.push_back(nullptr);
  scopes_.push_back(&list.back());
  return true;
}

void TextWriter::EndElement() {
  scopes_.pop_back();
}

void TextWriter::EndList() {
  scopes_.pop_back();
}

bool TextWriter::BeginMarkedList(const char* name, const ListMarkers&, bool& present) {
  json& slot = Slot(name);
  if (!present) {
    slot = nullptr;
    return true;
  }
  slot = json::array();
  scopes_.push_back(&slot);
  return true;
}

bool TextWriter::NextEntry(const ListMarkers&, bool& more) {
  if (!more) {
    scopes_.pop_back();
    return true;
  }
  json& list = *scopes_.back();
  list.push_back(json::object());
  scopes_.push_back(&list.back());
  return true;
}

bool TextWriter::Refuse(const char* what) {
  return Fail(what);
}

// --- Reading ---------------------------------------------------------------------

TextReader::TextReader(const json& root, std::string folder, uint64_t byteBudget)
    : folder_(std::move(folder)), budget_(byteBudget) {
  scopes_.push_back(Scope{&root, "", 0});
  used_.emplace_back();
}

bool TextReader::Fail(const std::string& path, const std::string& what) {
  if (error_.empty()) error_ = (path.empty() ? std::string("(top)") : path) + ": " + what;
  return false;
}

const json* TextReader::Find(const char* name, std::string& path) {
  if (!error_.empty()) return nullptr;
  const Scope& scope = scopes_.back();
  if (!name) {
    path = scope.Path;
    return scope.Value;
  }
  path = scope.Path + "." + name;
  used_.back().push_back(name);
  if (!scope.Value->is_object()) {
    Fail(scope.Path, "must be an object");
    return nullptr;
  }
  auto found = scope.Value->find(name);
  if (found == scope.Value->end()) {
    Fail(path, "is missing");
    return nullptr;
  }
  return &*found;
}

bool TextReader::WalkRecord(const json& value, const std::string& path, C_Object& object,
                            bool withClass) {
  // A member that is only a text is written as the string itself.
  if (!value.is_object() && !(value.is_string() && !withClass)) {
    return Fail(path, "must be an object");
  }
  scopes_.push_back(Scope{&value, path, 0});
  used_.emplace_back();
  if (withClass) used_.back().push_back("class");
  bool walked = object.Fields(*this) && error_.empty();
  // A member the class does not declare is most likely a misspelt one, whose value
  // would otherwise be lost without a word.
  for (auto it = value.begin(); walked && value.is_object() && it != value.end(); ++it) {
    bool known = false;
    for (const std::string& name : used_.back()) known = known || name == it.key();
    if (!known) walked = Fail(path + "." + it.key(), "is not a field of this record");
  }
  used_.pop_back();
  scopes_.pop_back();
  return walked;
}

C_Object* TextReader::TopRecord() {
  const json& root = *scopes_.front().Value;
  if (!root.is_object()) {
    Fail("", "must be an object with a \"class\"");
    return nullptr;
  }
  auto found = root.find("class");
  if (found == root.end() || !found->is_string()) {
    Fail(".class", found == root.end() ? "is missing" : "must be a string");
    return nullptr;
  }
  const std::string name = found->get<std::string>();
  const uint16_t id = ClassIdNamed(name.c_str());
  C_Object* object = id ? NewObjectForRecord(id) : nullptr;
  if (!object) {
    Fail(".class", "\"" + name + "\" is not a class with a stored form");
    return nullptr;
  }
  if (!WalkRecord(root, "", *object, true)) {
    DeleteOwnedObject(object);
    return nullptr;
  }
  return object;
}

bool TextReader::Number(const char* name, FieldRef field, Shown shown) {
  if (shown == Shown::Dropped) return error_.empty();
  std::string path;
  const json* value = Find(name, path);
  if (!value) return false;
  uint64_t bits = 0;
  const bool hex = value->is_string() && ParseHex(value->get<std::string>(), bits);
  if (field.Type == WireType::F32) {
    float f = 0;
    if (hex) {
      if (bits > 0xFFFFFFFFu) return Fail(path, "the bits of an f32 take 8 hex digits");
      f = std::bit_cast<float>(static_cast<uint32_t>(bits));
    } else if (value->is_number()) {
      const double d = value->get<double>();
      if (std::fabs(d) > std::numeric_limits<float>::max())
        return Fail(path, "is out of the range of an f32");
      f = static_cast<float>(d);
    } else {
      return Fail(path, "must be a number");
    }
    *static_cast<float*>(field.Value) = f;
    return true;
  }
  int64_t whole = 0;
  const WireRange range = RangeOf(field.Type);
  if (hex) {
    // Hex gives the stored bits, so a signed field's negative values are written
    // as their two's complement.
    const int digits = 2 * static_cast<int>(WireSize(field.Type));
    if (bits >> (4 * digits) != 0) return Fail(path, "has more bits than the field holds");
    whole = static_cast<int64_t>(bits);
    if (range.Low < 0 && whole > range.High) whole -= int64_t{1} << (4 * digits);
  } else if (value->is_number_integer()) {
    if (value->is_number_unsigned()) {
      const uint64_t u = value->get<uint64_t>();
      if (u > static_cast<uint64_t>(range.High)) return Fail(path, "is out of range");
      whole = static_cast<int64_t>(u);
    } else {
      whole = value->get<int64_t>();
    }
  } else {
    return Fail(path, "must be a whole number");
  }
  if (whole < range.Low || whole > range.High) {
    return Fail(path, "is out of range (" + std::to_string(range.Low) + " to " +
                          std::to_string(range.High) + ")");
  }
  StoreWhole(field, whole);
  return true;
}

bool TextReader::Version(bool& current) {
  current = true;
  return error_.empty();
}

bool TextReader::Text(const char* name, char*& text, int32_t* length) {
  std::string path;
  const json* value = Find(name, path);
  if (value && !name && value->is_object()) value = Find("text", path);
  if (!value) return false;
  if (!value->is_string()) return Fail(path, "must be a string");
  std::string bytes;
  if (!Utf8ToBytes(value->get<std::string>(), bytes)) {
    return Fail(path, "holds a character outside U+0001 to U+00FF");
  }
  auto* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
  if (!copy) return Fail(path, "out of memory");
  std::memcpy(copy, bytes.c_str(), bytes.size() + 1);
  std::free(text);
  text = copy;
  if (length) *length = static_cast<int32_t>(bytes.size());
  return true;
}

bool TextReader::Bytes(const char* name, uint8_t* data, uint32_t size) {
  std::string path;
  const json* value = Find(name, path);
  if (!value) return false;
  if (!value->is_string()) return Fail(path, "must be a string of hex digits");
  const std::string& hex = value->get_ref<const std::string&>();
  if (hex.size() != 2 * uint64_t{size}) {
    return Fail(path, "holds " + std::to_string(hex.size() / 2) + " bytes, but the record says " +
                          std::to_string(size));
  }
  for (uint32_t i = 0; i < size; ++i) {
    uint8_t byte = 0;
    auto [end, error] = std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, byte, 16);
    if (error != std::errc() || end != hex.data() + 2 * i + 2) {
      return Fail(path, "must be a string of hex digits");
    }
    data[i] = byte;
  }
  return true;
}

bool TextReader::PixelRows(const char* name, const PixelRowsRef& rows) {
  std::string path;
  const json* value = Find(name, path);
  if (!value) return false;
  if (!value->is_object()) return Fail(path, "must be an object with \"file\" and \"encoding\"");
  auto file = value->find("file");
  auto encoding = value->find("encoding");
  if (file == value->end() || !file->is_string()) return Fail(path + ".file", "must be a string");
  if (encoding == value->end() || !encoding->is_string())
    return Fail(path + ".encoding", "must be a string");
  if (value->size() != 2) return Fail(path, "holds fields other than \"file\" and \"encoding\"");
  const std::string fileName = file->get<std::string>();
  // The pictures stand beside the text: a name that leaves the folder is refused.
  if (fileName.empty() || fileName.find('/') != std::string::npos || fileName[0] == '.') {
    return Fail(path + ".file", "must name a file in the text's folder");
  }
  std::string error;
  if (!ReadPicture(folder_ + "/" + fileName, encoding->get<std::string>(), rows, error)) {
    return Fail(path, error);
  }
  return true;
}

bool TextReader::Member(const char* name, C_Object& object) {
  std::string path;
  const json* value = Find(name, path);
  return value && WalkRecord(*value, path, object, false);
}

bool TextReader::Held(const char* name, C_Object*& object, HeldRule) {
  object = nullptr;
  std::string path;
  const json* value = Find(name, path);
  if (!value) return false;
  if (value->is_null()) return true;
  if (!value->is_object()) return Fail(path, "must be an object with a \"class\", or null");
  auto found = value->find("class");
  if (found == value->end() || !found->is_string()) {
    return Fail(path + ".class", found == value->end() ? "is missing" : "must be a string");
  }
  const std::string className = found->get<std::string>();
  const uint16_t id = ClassIdNamed(className.c_str());
  object = id ? CreateObject(id) : nullptr;
  if (!object) return Fail(path + ".class", "\"" + className + "\" is not a registered class");
  if (heldDepth_ >= kMaxRecordDepth) {
    return Fail(path, "objects nest more than " + std::to_string(kMaxRecordDepth) + " deep");
  }
  ++heldDepth_;
  const bool walked = WalkRecord(*value, path, *object, true);
  --heldDepth_;
  return walked;
}

bool TextReader::Presence(const char* name, bool& present) {
  if (!error_.empty()) return false;
  const Scope& scope = scopes_.back();
  auto found = scope.Value->is_object() ? scope.Value->find(name) : scope.Value->end();
  present = scope.Value->is_object() && found != scope.Value->end() && !found->is_null();
  if (!present) used_.back().push_back(name);
  return true;
}

bool TextReader::BeginList(const char* name, uint32_t& count, ListCount how, uint32_t) {
  std::string path;
  const json* value = Find(name, path);
  if (!value) return false;
  if (!value->is_array()) return Fail(path, "must be a list");
  if (value->size() > 0xFFFFFFFFu) return Fail(path, "is too long");
  const auto size = static_cast<uint32_t>(value->size());
  if (how == ListCount::Implied && size != count) {
    return Fail(path, "must have " + std::to_string(count) + " entries, one per child");
  }
  count = size;
  scopes_.push_back(Scope{value, path, 0});
  return true;
}

bool TextReader::Element(uint32_t index) {
  if (!error_.empty()) return false;
  const Scope& list = scopes_.back();
  const json& entry = (*list.Value)[index];
  scopes_.push_back(Scope{&entry, list.Path + "[" + std::to_string(index) + "]", 0});
  used_.emplace_back();
  return true;
}

void TextReader::EndElement() {
  // An entry of a marked list is an object of named fields: the same check as for
  // a record's fields.
  const Scope& entry = scopes_.back();
  if (error_.empty() && entry.Value->is_object() && !used_.back().empty()) {
    for (auto it = entry.Value->begin(); it != entry.Value->end(); ++it) {
      bool known = false;
      for (const std::string& name : used_.back()) known = known || name == it.key();
      if (!known) {
        Fail(entry.Path + "." + it.key(), "is not a field of this entry");
        break;
      }
    }
  }
  used_.pop_back();
  scopes_.pop_back();
}

void TextReader::EndList() {
  scopes_.pop_back();
}

bool TextReader::BeginMarkedList(const char* name, const ListMarkers&, bool& present) {
  if (!error_.empty()) return false;
  const Scope& scope = scopes_.back();
  std::string path = scope.Path + "." + name;
  used_.back().push_back(name);
  auto found = scope.Value->is_object() ? scope.Value->find(name) : scope.Value->end();
  present = scope.Value->is_object() && found != scope.Value->end() && !found->is_null();
  if (!present) return true;
  if (!found->is_array()) return Fail(path, "must be a list, or null");
  scopes_.push_back(Scope{&*found, path, 0});
  return true;
}

bool TextReader::NextEntry(const ListMarkers&, bool& more) {
  if (!error_.empty()) return false;
  Scope& list = scopes_.back();
  more = list.Next < list.Value->size();
  if (!more) {
    scopes_.pop_back();
    return true;
  }
  const uint32_t index = list.Next++;
  const json& entry = (*list.Value)[index];
  const std::string path = list.Path + "[" + std::to_string(index) + "]";
  if (!entry.is_object()) return Fail(path, "must be an object");
  scopes_.push_back(Scope{&entry, path, 0});
  used_.emplace_back();
  return true;
}

bool TextReader::Refuse(const char* what) {
  return Fail(scopes_.back().Path, what);
}

// What the records claim to hold is bounded all together, as a byte stream bounds
// it by its own length.
bool TextReader::CanHold(uint64_t bytes) {
  if (bytes <= budget_) {
    budget_ -= bytes;
    return error_.empty();
  }
  return Fail(scopes_.back().Path, "claims " + std::to_string(bytes) +
                                       " bytes, more than the text form allows (" +
                                       std::to_string(budget_) + " bytes left of its limit)");
}
