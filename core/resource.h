// C_Resource: the base of named, loadable resources (surfaces and fonts), with the
// set-up hooks Prepare and Attach that the drawing interface drives.
#pragma once

#include <cstdint>

#include "core/object.h"

// The record through which a drawing interface rebuilds and drops display copies.
struct ImageHook;

class C_Resource : public C_Object {
 public:
  C_Resource() = default;
  C_Resource(const C_Resource&) = delete;
  C_Resource& operator=(const C_Resource&) = delete;
  ~C_Resource() override;

  void Init() override;     // Name null
  void Release() override;  // frees Name; Name null afterwards
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Resource; }
  // Gives target a copy of this name when this resource has one.
  virtual void CopyTo(C_Resource* target) const;
  // Finishes set-up after loading; false unless a resource overrides it.
  virtual bool Prepare() { return false; }
  // Binds the resource to a drawing interface through its image hook; false by default.
  virtual bool Attach(const ImageHook* hook) {
    (void)hook;
    return false;
  }

  void SetName(const char* text);  // frees Name, stores a copy of text (or null)

  char* Name = nullptr;  // owned, NUL-terminated; null when unnamed

 protected:
  // The name contents (length and bytes); derived records that hold the name
  // inside their own record walk it there.
  bool NameField(RecordVisitor& visitor);
};
