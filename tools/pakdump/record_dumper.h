// RecordDumper: walks the object records of a memory stream without creating any
// object and prints them as an indented tree, one line per record and per field.
//
// The format carries no lengths, so a record can only be read by knowing its class's
// layout. Each library contributes those layouts as describers keyed by class id
// (tools/pakdump/<library>_records.cpp); the dumper gives them field readers that print
// the byte offset and value of every field and that turn the first short read, bad
// size or unknown class id into one "malformed" report, after which every reader
// returns false so the describers unwind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

struct ByteStream;
class RecordDumper;

// Prints the contents of one record after its class id. Returns false once the
// dumper has reported the data malformed (a describer returns what its readers return).
using RecordDescriber = bool (*)(RecordDumper& dumper);

struct DescriberEntry {
  const char* ClassName = nullptr;  // e.g. "C_String"; null for an empty entry
  RecordDescriber Describe = nullptr;
};

// Stores the describer of a class id (ids of 4096 and above are ignored). Called from
// the static initialisers of the *_records.cpp files; returns true so that it can
// initialise a namespace-scope constant.
bool RegisterDescriber(uint16_t classId, const char* className, RecordDescriber describe);
// The describer of a class id, or null when none is registered.
const DescriberEntry* FindDescriber(uint16_t classId);

// How a nested record is reached, which decides what its class id may be.
enum class RecordRole {
  Top,     // the one record of a file: any class with a describer
  Held,    // created by its container from the id: 0 stands for a missing object, and
           // these count toward the loader's nesting limit
  Member,  // loaded by its owner as a known class: the id must be the expected one
};

enum class Shown {
  Decimal,
  Hex,
  Code,  // decimal for small codes, hex for marker values such as 0x80000001
};

struct DumpResult {
  bool Ok = true;
  std::string Error;         // what is wrong; empty when Ok
  int64_t ErrorOffset = -1;  // byte offset the error refers to
};

class RecordDumper {
 public:
  RecordDumper(ByteStream* stream, std::ostream& out);
  RecordDumper(const RecordDumper&) = delete;
  RecordDumper& operator=(const RecordDumper&) = delete;

  // Field readers: each reads one little-endian field, prints "name @offset = value"
  // and stores the value when asked. A short read reports the record malformed.
  bool U8(const char* name, uint8_t* value = nullptr, Shown shown = Shown::Hex);
  bool U16(const char* name, uint16_t* value = nullptr);
  bool U32(const char* name, uint32_t* value = nullptr, Shown shown = Shown::Decimal);
  bool I32(const char* name, int32_t* value = nullptr);
  bool F32(const char* name, float* value = nullptr);
  // A u32 n (text length plus 1) and the n bytes of text with their terminator, the
  // way strings and resource names are stored; the text is printed quoted.
  bool CountedText(const char* name);
  // Skips count bytes, printing their number and the first few of them in hex.
  bool Bytes(const char* name, uint64_t count);
  // Steps over count bytes without showing them: "name @offset = what".
  bool Skip(const char* name, uint64_t count, const std::string& what);
  // The byte `ahead` bytes past the current offset without reading it; -1 past the
  // end of the data or after a failure.
  int PeekByte(int64_t ahead = 0) const;
  // A nested record: "label: C_Name (id N) @offset", then its fields one level deeper.
  // For RecordRole::Member, expectedId is the class the owner loads.
  bool Record(const char* label, RecordRole role, uint16_t expectedId = 0);

  // Lines between Enter and Leave are indented one level deeper.
  void Enter() { ++depth_; }
  void Leave() { --depth_; }
  // An extra line at the current depth.
  void Note(const std::string& text);
  // Reports the data malformed at the current offset (or at `offset`); only the
  // first report counts. Always returns false.
  bool Malformed(const std::string& what);
  bool MalformedAt(int64_t offset, const std::string& what);

  int64_t Offset() const;
  int64_t Remaining() const;
  bool Failed() const { return !result_.Ok; }
  const DumpResult& Result() const { return result_; }

 private:
  bool Need(uint64_t bytes, const char* name);
  const uint8_t* Take(uint64_t bytes);
  void Line(const std::string& text);
  void FieldLine(const char* name, int64_t offset, const std::string& value);

  ByteStream* stream_;
  std::ostream& out_;
  int depth_ = 0;      // indentation: records entered
  int heldDepth_ = 0;  // held records entered, bounded like the loader bounds them
  DumpResult result_;
};

// Dumps the single top-level record held in data, notes any trailing bytes (the
// loaders never read them) and ends with "malformed at offset N: ..." when the bytes
// do not form a whole record. Survives any input: nothing is allocated beyond what
// the bytes themselves hold, and nesting is bounded.
DumpResult DumpObjectBytes(const uint8_t* data, size_t size, std::ostream& out);

// Text helpers shared by the describers.
std::string FormatFloat(float value);  // shortest form that reads back exactly
std::string FormatHex(uint64_t value, int digits);
