// Loading and saving records through their field lists: the byte-stream visitors.
#pragma once

#include <cstdint>

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/object.h"
#include "core/record_visitor.h"

// Walks the object's fields from the stream, after its class id was read. A field
// that cannot be read fails with LastError set (ErrorUnexpectedData then -1 for
// short or refused data); fields read before keep their new values.
bool LoadFields(ByteStream* stream, int32_t context, C_Object& object);
// Writes the object's class id, then walks its fields to the stream.
bool SaveRecord(ByteStream* stream, int32_t context, C_Object& object);

// The walk that reads fields from a byte stream.
class StreamLoader : public RecordVisitor {
 public:
  StreamLoader(ByteStream* stream, int32_t context) : stream_(stream), context_(context) {}
  bool Reading() const override { return true; }
  int32_t Context() const override { return context_; }
  bool Number(const char* name, FieldRef field, Shown shown) override;
  bool Version(bool& current) override;
  bool Text(const char* name, char*& text, int32_t* length) override;
  bool Bytes(const char* name, uint8_t* data, uint32_t size) override;
  bool PixelRows(const char* name, const PixelRowsRef& rows) override;
  bool Member(const char* name, C_Object& object) override;
  bool Held(const char* name, C_Object*& object, HeldRule rule) override;
  bool Presence(const char* name, bool& present) override;
  bool BeginList(const char* name, uint32_t& count, ListCount how, uint32_t minItemBytes) override;
  bool Element(uint32_t index) override;
  void EndElement() override {}
  void EndList() override;
  bool BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) override;
  bool NextEntry(const ListMarkers& markers, bool& more) override;
  bool Refuse(const char* what) override;
  bool CanHold(uint64_t bytes) override;

 private:
  struct ListState {
    uint32_t Count = 0;
    uint32_t MinItemBytes = 0;
    uint32_t Index = 0;
    int64_t CommittedOutside = 0;
    int64_t ElementStart = 0;
  };
  static constexpr int kMaxLists = 8;

  ByteStream* stream_;
  int32_t context_;
  ListState lists_[kMaxLists];
  int listDepth_ = 0;
};

// The walk that writes fields to a byte stream.
class StreamSaver : public RecordVisitor {
 public:
  StreamSaver(ByteStream* stream, int32_t context) : stream_(stream), context_(context) {}
  bool Reading() const override { return false; }
  int32_t Context() const override { return context_; }
  bool Number(const char* name, FieldRef field, Shown shown) override;
  bool Version(bool& current) override;
  bool Text(const char* name, char*& text, int32_t* length) override;
  bool Bytes(const char* name, uint8_t* data, uint32_t size) override;
  bool PixelRows(const char* name, const PixelRowsRef& rows) override;
  bool Member(const char* name, C_Object& object) override;
  bool Held(const char* name, C_Object*& object, HeldRule rule) override;
  bool Presence(const char* name, bool& present) override;
  bool BeginList(const char* name, uint32_t& count, ListCount how, uint32_t minItemBytes) override;
  bool Element(uint32_t) override { return true; }
  void EndElement() override {}
  void EndList() override {}
  bool BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) override;
  bool NextEntry(const ListMarkers& markers, bool& more) override;
  bool Refuse(const char* what) override;
  bool CanHold(uint64_t) override { return true; }

 private:
  ByteStream* stream_;
  int32_t context_;
};

// Reads or writes one number of the given wire type at `value`.
bool ReadWireNumber(ByteStream* stream, FieldRef field);
bool WriteWireNumber(ByteStream* stream, FieldRef field);
// Bytes a number of the wire type takes.
uint32_t WireSize(WireType type);
// The value of a whole-number field (0 for an f32 one).
int64_t WholeValue(FieldRef field);
