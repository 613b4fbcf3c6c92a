// C_Decal: one visual state of a widget: the layers drawn normally, the layers
// drawn while the widget is checked, and the margins by which the decal's area
// exceeds the widget's rectangle.
#pragma once

#include <cstdint>

#include "core/object.h"
#include "graphics/geometry/rect.h"

class C_Collection;

class C_Decal : public C_Object {
 public:
  C_Decal() = default;
  C_Decal(const C_Decal&) = delete;
  C_Decal& operator=(const C_Decal&) = delete;
  ~C_Decal() override;

  void Init() override;     // both lists none, margins zero
  void Release() override;  // frees both lists and every layer in them
  C_Object* Clone() override;
  // Contents: version, u8 1 and the Layers collection (another flag: no list), u8
  // 1 and the CheckedLayers collection, the Margins record. The old lists are
  // dropped before reading.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Decal; }
  // The target's lists are freed and replaced by clones of this decal's.
  virtual void CopyTo(C_Decal* target) const;

  // The decal's area: rect grown by X1 to the left, Y1 up, X2 right, Y2 down.
  C_Rect AreaFor(const C_Rect& rect) const;

  C_Collection* Layers = nullptr;         // owned layers, or none
  C_Collection* CheckedLayers = nullptr;  // owned layers, or none
  C_Rect Margins;
};
