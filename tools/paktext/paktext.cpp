#include "tools/paktext/paktext.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "core/byte_stream.h"
#include "core/class_names.h"
#include "core/collection.h"
#include "tools/paktext/text_form.h"

using json = nlohmann::ordered_json;

namespace {

namespace fs = std::filesystem;

// Deeper texts are refused before they are parsed; the records nest far less.
constexpr int kMaxTextDepth = 4 * kMaxRecordDepth;
constexpr const char* kObjectText = "object.json";

using ObjectPtr = std::unique_ptr<C_Object, void (*)(C_Object*)>;

bool ReadWhole(const std::string& path, std::string& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  bytes.clear();
  char chunk[65536];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  if (!read) error = "cannot read " + path;
  return read;
}

bool WriteWhole(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string temporary = path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = file && std::fclose(file) == 0 && written;
  std::error_code ignored;
  if (written) {
    fs::rename(temporary, path, ignored);
    written = !ignored;
  }
  if (!written) {
    fs::remove(temporary, ignored);
    error = "cannot write " + path;
  }
  return written;
}

// Parses without exceptions: first a pass that finds the first syntax fault and
// bounds the nesting (whose depth the parser would otherwise follow), then the
// document itself.
class Syntax : public nlohmann::json_sax<json> {
 public:
  std::string Error;
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return Deeper(); }
  bool key(string_t&) override { return true; }
  bool end_object() override { return --depth_ >= 0; }
  bool start_array(std::size_t) override { return Deeper(); }
  bool end_array() override { return --depth_ >= 0; }
  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& fault) override {
    Error = "not JSON at byte " + std::to_string(position) + ": " + fault.what();
    return false;
  }

 private:
  bool Deeper() {
    if (++depth_ <= kMaxTextDepth) return true;
    Error = "nested more than " + std::to_string(kMaxTextDepth) + " deep";
    return false;
  }
  int depth_ = 0;
};

bool ParseText(const char* text, size_t size, json& document, std::string& error) {
  Syntax syntax;
  if (!json::sax_parse(text, text + size, &syntax, nlohmann::detail::input_format_t::json, true,
                       false) ||
      !syntax.Error.empty()) {
    error = syntax.Error.empty() ? "not JSON" : syntax.Error;
    return false;
  }
  document = json::parse(text, text + size, nullptr, false);
  if (document.is_discarded()) {
    error = "not JSON";
    return false;
  }
  return true;
}

// The text as a person reads it: a value whose one-line form is short (a point, a
// rectangle's edges, a colour) stands on one line, anything longer opens one line
// per member, indented by a tab.
constexpr size_t kShortLine = 128;

std::string OneLine(const json& value) {
  if (!value.is_structured() || value.empty()) return value.dump();
  std::string line = value.is_object() ? "{" : "[";
  for (auto it = value.begin(); it != value.end(); ++it) {
    if (it != value.begin()) line += ", ";
    if (value.is_object()) line += json(it.key()).dump() + ": ";
    line += OneLine(*it);
  }
  return line + (value.is_object() ? "}" : "]");
}

void WriteReadable(const json& value, int depth, std::string& out) {
  const std::string compact = OneLine(value);
  if (compact.size() <= kShortLine || !value.is_structured()) {
    out += compact;
    return;
  }
  const std::string inner(static_cast<size_t>(depth) + 1, '\t');
  out += value.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (auto it = value.begin(); it != value.end(); ++it) {
    if (!first) out += ",\n";
    first = false;
    out += inner;
    if (value.is_object()) out += json(it.key()).dump() + ": ";
    WriteReadable(*it, depth + 1, out);
  }
  out += "\n" + std::string(static_cast<size_t>(depth), '\t') + (value.is_object() ? "}" : "]");
}

bool SaveToBytes(C_Object& object, std::string& bytes, std::string& error) {
  ByteStream* stream = NewMemoryWriter();
  const bool saved = stream && object.Save(stream, 0);
  if (saved) bytes.assign(reinterpret_cast<const char*>(stream->Buffer), stream->Total);
  FreeStream(stream);
  if (!saved) error = "the object cannot be saved";
  return saved;
}

}  // namespace

bool ExportObjectFile(const std::string& file, const std::string& folder, std::string& error) {
  std::string bytes;
  if (!ReadWhole(file, bytes, error)) return false;
  if (bytes.size() < 2 || bytes.size() > INT32_MAX) {
    error = file + " holds no record";
    return false;
  }
  const uint16_t id =
      static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8);
  ObjectPtr object(NewObjectForRecord(id), DeleteOwnedObject);
  if (!object || !ClassNameOf(id)) {
    error = file + " starts with class id " + std::to_string(id) + ", which no class has";
    return false;
  }
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  const bool loaded = stream && object->Load(stream, 0) && !stream->Broken;
  FreeStream(stream);
  if (!loaded) {
    error = file + " does not load (run pakdump on it to see where)";
    return false;
  }
  std::error_code code;
  fs::create_directories(folder, code);
  if (code) {
    error = "cannot create " + folder;
    return false;
  }
  json document;
  TextWriter writer(document, folder);
  if (!writer.TopRecord(*object)) {
    error = writer.Error();
    return false;
  }
  std::string text;
  WriteReadable(document, 0, text);
  return WriteWhole(folder + "/" + kObjectText, text + "\n", error);
}

bool BuildObjectBytes(const char* text, size_t size, const std::string& folder, std::string& bytes,
                      std::string& error, uint64_t byteLimit) {
  json document;
  if (!ParseText(text, size, document, error)) return false;
  TextReader reader(document, folder, byteLimit);
  ObjectPtr object(reader.TopRecord(), DeleteOwnedObject);
  if (!object) {
    error = reader.Error();
    return false;
  }
  return SaveToBytes(*object, bytes, error);
}

bool BuildObjectFile(const std::string& source, const std::string& file, std::string& error) {
  // A folder holds object.json; a .json file stands for itself, with its pictures
  // in its own folder.
  std::error_code code;
  const bool single = fs::is_regular_file(source, code) && fs::path(source).extension() == ".json";
  const std::string textPath = single ? source : source + "/" + kObjectText;
  const std::string folder = single ? fs::path(source).parent_path().string() : source;
  std::string text;
  if (!ReadWhole(textPath, text, error)) return false;
  std::string bytes;
  if (!BuildObjectBytes(text.data(), text.size(), folder.empty() ? "." : folder, bytes, error)) {
    error = textPath + ": " + error;
    return false;
  }
  return WriteWhole(file, bytes, error);
}
