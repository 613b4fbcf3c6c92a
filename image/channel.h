// C_Channel: one entry of a surface, pairing a source image and its key with the
// display copy a drawing interface makes of it.
#pragma once

#include <cstdint>

#include "core/object.h"

class C_Image;

// Conventional channel keys; other values are allowed.
inline constexpr int32_t kColorChannel = 1;
inline constexpr int32_t kAlphaChannel = 2;

class C_Channel : public C_Object {
 public:
  C_Channel() = default;
  C_Channel(const C_Channel&) = delete;
  C_Channel& operator=(const C_Channel&) = delete;
  ~C_Channel() override;

  void Init() override;        // Image null, Key 0, SharedImage 0
  void Release() override;     // deletes Image unless shared, without resetting
  C_Object* Clone() override;  // a new empty channel given to CopyTo
  // Copies Key and SharedImage; an owned image is cloned, a shared one referred to.
  // The display copy is not copied. False when the image could not be cloned.
  virtual bool CopyTo(C_Channel* target) const;

  C_Image* Image = nullptr;      // the source image
  int32_t Key = 0;               // 1 colour, 2 alpha
  C_Image* Converted = nullptr;  // display copy, owned by the drawing interface's hook
  uint8_t SharedImage = 0;       // 1: Image belongs to someone else
};
