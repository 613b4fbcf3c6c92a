// The six layer classes: one drawing step of a decal (a framed rectangle, a line, a
// text, a picture, a piece of a graphics sheet) or one input zone. Layers place
// themselves in the decal's area with anchored rectangles, so one definition fits
// any widget size. Each stores its fields after the version word, in the order
// its Load reads them.
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/string.h"
#include "core/vector2d.h"
#include "font/font_type.h"
#include "font/render_text.h"
#include "font/text_format.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "skin/color_source.h"

// Frame anchor that makes an image layer use its widget's ImageRect.
inline constexpr uint8_t kFrameFromWidget = 255;

// Image references: the top four bits select a collection, the low 28 the item.
inline constexpr uint32_t kImageSelectorShift = 28;
inline constexpr uint32_t kImageIndexMask = 0x0FFFFFFFu;
enum ImageSelector : uint32_t {
  ImageFromSheets = 0x0,       // the graphics sheets of "guigfx.pak"
  ImageFromWidget = 0x1,       // the drawn widget's own image reference
  ImageFromCollection2 = 0x2,  // the desktop's second image collection
  ImageFromCollection3 = 0x3,  // its third
  ImageNone = 0xF,             // selects nothing (a new widget's reference)
};
constexpr uint32_t MakeImageRef(ImageSelector selector, uint32_t index) {
  return (static_cast<uint32_t>(selector) << kImageSelectorShift) | (index & kImageIndexMask);
}

// Zone actions: what a press in a zone does.
enum ZoneAction : uint8_t {
  ZoneNone = 0,
  ZoneMove = 1,
  ZoneLeftEdge = 2,
  ZoneTopEdge = 3,
  ZoneRightEdge = 4,
  ZoneBottomEdge = 5,
  ZoneTopLeft = 6,
  ZoneTopRight = 7,
  ZoneBottomLeft = 8,
  ZoneBottomRight = 9,
  ZoneMoveHorizontal = 10,
  ZoneMoveVertical = 11,
  ZoneClick = 12,
  ZoneEditText = 13,
};

// The cursor shown where no zone is hit.
inline constexpr uint8_t kDefaultZoneCursor = 65;

class C_Layer_Rect : public C_Object {
 public:
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::LayerRect; }
  virtual void CopyTo(C_Layer_Rect* target) const;

  C_Rect Area;
  C_Color FillColor;
  uint32_t FillSource = 0;
  C_Color BorderColor;
  uint32_t BorderSource = 0;
  uint8_t Mode = 0;  // handed to the drawing interface with both rectangles
  uint32_t Spare1 = 0;
  uint8_t Spare2 = 0;
  uint32_t Spare3 = 0;
};

class C_Layer_Line : public C_Object {
 public:
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::LayerLine; }
  virtual void CopyTo(C_Layer_Line* target) const;

  C_Vector2D From;
  C_Vector2D To;
  C_Color LineColor;
  uint32_t LineSource = 0;
  uint8_t Spare1 = 0;
  uint32_t Spare2 = 0;
  uint32_t Spare3 = 0;
  uint32_t Spare4 = 0;
};

class C_Layer_Text : public C_Object {
 public:
  C_Object* Clone() override;
  // The stored order differs from the field order: MultiLine, Editable and
  // Password come before Color3.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::LayerText; }
  // Stored fields only; the run-time layout state stays the target's.
  virtual void CopyTo(C_Layer_Text* target) const;

  C_String Text;
  C_FontType Font;  // its Name selects one of the desktop's fonts
  C_TextFormat Format;
  C_Color TextColor;
  uint32_t TextSource = 0;
  C_Color Color2;  // stored and copied
  uint32_t Source2 = 0;
  uint8_t Mode2 = 0;
  C_Vector2D Scroll;  // the text's offset; text boxes scroll by writing it
  C_Rect Area;        // the rectangle the text is laid out in
  // The text routine's three flag bytes: any of them set takes the full layout
  // path; WrapX and WrapY wrap every glyph's x and y position.
  uint8_t LayoutFlag = 0, WrapX = 0, WrapY = 0;
  uint8_t UseWidgetText = 0;  // 1: shows and edits the widget's Text
  uint32_t Spare1 = 0;
  C_Color Color3;  // stored and copied
  uint32_t Source3 = 0;
  uint8_t MultiLine = 0;     // 1: Enter and Tab insert characters while editing
  uint8_t Editable = 0;      // 1: edited in place, with a caret while focused
  uint8_t Password = 0;      // 1: drawn as '*'
  uint32_t GrowContent = 0;  // 1: the laid-out extent enlarges the widget's content

  // Run-time state, neither stored nor copied: the text routine's layout record
  // (caret index, line metrics, visible size) and the laid-out extent.
  TextLayout Layout;
  C_Rect Extent;
};

class C_Layer_Image : public C_Object {
 public:
  C_Layer_Image();  // Opacity 1
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::LayerImage; }
  virtual void CopyTo(C_Layer_Image* target) const;

  C_Vector2D Position;
  C_Rect Frame;  // source rectangle; Anchor1 kFrameFromWidget: the widget's ImageRect
  uint32_t Image = 0;
  C_String ImageName;      // stored and copied, not used for lookup
  C_Vector2D SparePoint1;  // stored and copied, not read by the drawing
  float Angle = 0;
  float Opacity = 1;
  uint8_t MirrorVertical = 0;
  uint8_t MirrorHorizontal = 0;
  C_Vector2D Pivot;
  uint8_t SpareByte4 = 0;  // stored and copied, not read by the drawing
  C_Color TintColor;
  uint32_t TintSource = 0;
  uint8_t TintMode = 0;  // nonzero: the picture is drawn in the tint colour
  uint32_t GrowContent = 0;
};

class C_Layer_Brush : public C_Object {
 public:
  C_Layer_Brush();  // Opacity 1
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::LayerBrush; }
  virtual void CopyTo(C_Layer_Brush* target) const;

  C_Rect Area;        // the target, placed in the decal's area
  C_Rect SourceRect;  // the part of the sheet copied
  uint32_t Sheet = 0;
  C_String SheetName;      // stored and copied, not used for lookup
  C_Vector2D SparePoint1;  // the spare fields are stored and copied, not read by the drawing
  float Angle = 0;
  float Opacity = 1;
  C_Vector2D SparePoint3;
  uint8_t MirrorVertical = 0;
  uint8_t MirrorHorizontal = 0;
  uint8_t TileAcross = 0;  // tiles across instead of stretching
  uint8_t TileDown = 0;    // tiles down instead of stretching
  C_Vector2D SparePoint4;
  uint8_t SpareByte5 = 0;
  C_Color TintColor;
  uint32_t TintSource = 0;
  uint8_t TintMode = 0;  // nonzero: the sheet's pixels are drawn in the tint colour
  uint32_t Spare1 = 0;
};

class C_Layer_Zone : public C_Object {
 public:
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::LayerZone; }
  virtual void CopyTo(C_Layer_Zone* target) const;

  C_Rect Area;
  uint8_t Action = ZoneNone;  // a ZoneAction
  uint8_t Cursor = kDefaultZoneCursor;
  uint32_t Spare1 = 0;
};
