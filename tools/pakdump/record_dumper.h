// RecordDumper: prints the object records of a memory stream as an indented tree,
// one line per record and per field, with byte offsets.
//
// The format carries no lengths, so a record can only be read by knowing its
// class's layout. The dumper walks the same field lists that the classes load and
// save through (`Fields`), as a reading visitor over the bytes: every field it
// meets is read, shown and stored in a scratch object of the class, so that the
// layout's conditions (versions, counts, formats) decide what comes next exactly
// as they do for the loader. The first short read, bad size or unknown class id
// becomes one "malformed" report, after which every field fails so that the walk
// unwinds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "core/byte_stream.h"
#include "core/record_visitor.h"

struct ByteStream;

struct DumpResult {
  bool Ok = true;
  std::string Error;         // what is wrong; empty when Ok
  int64_t ErrorOffset = -1;  // byte offset the error refers to
};

class RecordDumper : public RecordVisitor {
 public:
  RecordDumper(ByteStream* stream, std::ostream& out);
  RecordDumper(const RecordDumper&) = delete;
  RecordDumper& operator=(const RecordDumper&) = delete;

  // The one record of a file: its class id, its line and its fields.
  bool TopRecord();

  bool Reading() const override { return true; }
  bool Number(const char* name, FieldRef field, Shown shown) override;
  bool NamedCode(const char* name, FieldRef field, CodeNames names) override;
  bool Version(bool& current) override;
  bool Text(const char* name, char*& text, int32_t* length) override;
  bool Bytes(const char* name, uint8_t* data, uint32_t size) override;
  bool PixelRows(const char* name, const PixelRowsRef& rows) override;
  bool Member(const char* name, C_Object& object) override;
  bool Held(const char* name, C_Object*& object, HeldRule rule) override;
  bool Presence(const char* name, bool& present) override;
  bool BeginList(const char* name, uint32_t& count, ListCount how, uint32_t minItemBytes) override;
  bool Element(uint32_t index) override;
  void EndElement() override;
  void EndList() override;
  bool BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) override;
  bool NextEntry(const ListMarkers& markers, bool& more) override;
  bool Refuse(const char* what) override;
  bool CanHold(uint64_t bytes) override;

  // Reports the data malformed at the current offset (or at `offset`); only the
  // first report counts. Always returns false.
  bool Malformed(const std::string& what);
  bool MalformedAt(int64_t offset, const std::string& what);

  int64_t Offset() const;
  int64_t Remaining() const;
  bool Failed() const { return !result_.Ok; }
  const DumpResult& Result() const { return result_; }

 private:
  struct ListState {
    uint32_t Count = 0;
    uint32_t Index = 0;
    bool Marked = false;  // a list between markers: its entries are indented
    uint32_t Hidden = 0;  // entries walked without being shown
  };
  // Lists inside lists, across every record walked: a held record holds at most
  // two levels of them.
  static constexpr int kMaxLists = 4 * kMaxRecordDepth;

  bool Need(uint64_t bytes, const std::string& name);
  const uint8_t* Take(uint64_t bytes);
  // The label of a field: its name, or "[i]" for the current list entry itself.
  std::string Label(const char* name) const;
  void Line(const std::string& text);
  void FieldLine(const std::string& name, int64_t offset, const std::string& value);
  // A record's class id and line, then its fields one level deeper.
  bool Walk(const std::string& label, C_Object& object, uint16_t id, int64_t at);

  ByteStream* stream_;
  std::ostream& out_;
  int depth_ = 0;      // indentation: records entered
  int heldDepth_ = 0;  // held records entered, bounded like the loader bounds them
  int quiet_ = 0;      // > 0 while entries beyond those shown are walked
  ListState lists_[kMaxLists];
  int listDepth_ = 0;
  DumpResult result_;
};

// Dumps the single top-level record held in data, notes any trailing bytes (the
// loaders never read them) and ends with "malformed at offset N: ..." when the bytes
// do not form a whole record. Survives any input: nothing is allocated beyond what
// the bytes themselves justify, and nesting is bounded.
DumpResult DumpObjectBytes(const uint8_t* data, size_t size, std::ostream& out);

// Text helpers.
std::string FormatFloat(float value);  // shortest form that reads back exactly
std::string FormatHex(uint64_t value, int digits);
