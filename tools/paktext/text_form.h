// The text form of an object file: the object tree as JSON, every stored field by
// the name its class declares, with the pixel rows of images as picture files
// beside it. TextWriter and TextReader walk the same field lists as Load and Save
// (`Fields`), so the text holds exactly what the record holds:
//
//   { "class": "C_Collection", "Items": [ { "class": "C_Surface", ... }, null ] }
//
// - A record held by class id is an object with "class"; null is a missing one. A
//   member record of known class is an object without "class".
// - Numbers are JSON numbers; fields shown in hex are "0x..." strings (either form
//   is read). A non-finite f32 is the "0x..." string of its bits.
// - Texts are strings whose characters U+0001 to U+00FF are the stored bytes.
// - Byte blocks are strings of hex digits. Pixel rows are {"file", "encoding"}: a
//   PNG where the pixel format maps onto one byte for byte, else raw rows.
// - Lists stand in stored order; a list that may be absent is null when it is.
// - Fields that are stored but read and dropped are left out.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/record_visitor.h"

// Writes an object's fields into JSON, and its pixel rows as files in `folder`.
class TextWriter : public RecordVisitor {
 public:
  TextWriter(nlohmann::ordered_json& root, std::string folder);

  // The top-level record: {"class": name, fields...}.
  bool TopRecord(C_Object& object);
  // The first failure, empty when there was none.
  const std::string& Error() const { return error_; }

  bool Reading() const override { return false; }
  bool TextForm() const override { return true; }
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
  void EndElement() override;
  void EndList() override;
  bool BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) override;
  bool NextEntry(const ListMarkers& markers, bool& more) override;
  bool Refuse(const char* what) override;
  bool CanHold(uint64_t) override { return true; }

 private:
  nlohmann::ordered_json& Slot(const char* name);
  bool Fail(const std::string& what);

  std::vector<nlohmann::ordered_json*> scopes_;
  std::string folder_;
  int pictures_ = 0;
  std::string error_;
};

// Fills an object's fields from JSON, and pixel rows from the files in `folder`.
// Every fault names the JSON path: ".Items[2].Channels[0].Image.Width: ...".
class TextReader : public RecordVisitor {
 public:
  // `byteBudget` bounds what the sizes that the text claims may make the records
  // allocate, all together: the pictures are compressed, so their own sizes
  // cannot bound the pixels they give.
  TextReader(const nlohmann::ordered_json& root, std::string folder, uint64_t byteBudget);

  // A new object of the top-level record's class with its fields filled; null
  // (with Error set) when the text does not describe a whole record.
  C_Object* TopRecord();
  const std::string& Error() const { return error_; }

  bool Reading() const override { return true; }
  bool TextForm() const override { return true; }
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
  void EndElement() override;
  void EndList() override;
  bool BeginMarkedList(const char* name, const ListMarkers& markers, bool& present) override;
  bool NextEntry(const ListMarkers& markers, bool& more) override;
  bool Refuse(const char* what) override;
  bool CanHold(uint64_t bytes) override;

 private:
  struct Scope {
    const nlohmann::ordered_json* Value;
    std::string Path;
    uint32_t Next = 0;  // the next entry of a marked list
  };
  // The value of a field in the current scope, or null (with the fault reported)
  // when it is missing.
  const nlohmann::ordered_json* Find(const char* name, std::string& path);
  // Walks a record object's fields and then refuses any member the class does not
  // declare.
  bool WalkRecord(const nlohmann::ordered_json& value, const std::string& path, C_Object& object,
                  bool withClass);
  bool Fail(const std::string& path, const std::string& what);

  std::vector<Scope> scopes_;
  std::vector<std::vector<std::string>> used_;  // declared fields met, per record walked
  std::string folder_;
  uint64_t budget_;
  int heldDepth_ = 0;
  std::string error_;
};
