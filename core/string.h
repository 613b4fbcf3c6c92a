// C_String: an owned heap copy of a NUL-terminated single-byte text and its length.
#pragma once

#include <cstdint>

#include "core/object.h"

class C_String : public C_Object {
 public:
  static constexpr int32_t kNotFound = static_cast<int32_t>(0x80000001u);

  C_String();  // the empty text: a 1-byte buffer holding only the terminator
  explicit C_String(const char* text);
  explicit C_String(int32_t value);  // the "%d" text of value
  C_String(const C_String& other);
  C_String& operator=(const C_String& other);
  ~C_String() override;

  void Init() override;     // Text null, Length 0 (the reset state, unlike the empty text)
  void Release() override;  // frees Text; Text null and Length 0 afterwards
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::String; }
  virtual void CopyTo(C_String* target) const;

  // Replaces the buffer pointer with a copy of text; null changes nothing. The old
  // buffer is not freed (callers that reassign use Assign).
  void SetText(const char* text);
  void Assign(const C_String& other);
  static C_String* Concat(const C_String& left, const C_String& right);
  // Byte-for-byte equality including the terminator; a reset string equals nothing.
  bool Equals(const char* text) const;
  C_String* Right(int32_t count) const;
  // Index of the last case-insensitive match of needle, or kNotFound.
  int32_t FindLastNoCase(const char* needle) const;
  C_String* GetExtension() const;             // text after the last ".", else the empty text
  void InsertChar(int32_t position, char c);  // position 0..Length
  void DeleteChar(int32_t position);          // position 0..Length-1

  const char* c_str() const { return Text ? Text : ""; }

  char* Text = nullptr;  // owned, with terminator; null in the reset state
  int32_t Length = 0;    // bytes before the terminator
};
