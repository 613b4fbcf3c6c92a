// C_Widget: the one class every element of the user interface is made of. Kind and
// PartId say what it is, its decals how it looks, its anchored rectangles where it
// is; it owns its children, and composite widgets are widgets whose children carry
// agreed part ids.
//
// Sections: stored fields; run-time fields; operations (life cycle, persistence,
// copying, tree, set-up).
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/record_visitor.h"
#include "core/string.h"
#include "core/vector2d.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "platform/draw_owner.h"
#include "skin/layers.h"
#include "widget/widget_ids.h"

class C_Collection;
class C_Decal;
class C_GraphicApi;
class C_Widget;

// Called on each widget by Prepare and Unprepare.
using WidgetHook = void (*)(C_Widget* widget);

// Bytes of the decal list in a widget record.
inline constexpr uint8_t kDecalListStart = 0x7F;
inline constexpr uint8_t kDecalListEnd = 0x80;
inline constexpr uint8_t kDecalEntry = 0x81;
// Page value that shows every child.
inline constexpr int32_t kAllPages = -1;
// Visual states.
enum WidgetState : uint32_t { StateNormal = 0, StatePressed = 3, StateHovered = 4 };

class C_Widget : public C_Object {
 public:
  C_Widget();
  C_Widget(const C_Widget&) = delete;
  C_Widget& operator=(const C_Widget&) = delete;
  ~C_Widget() override;

  // --- life cycle and persistence ---------------------------------------------------
  void Init() override;  // the defaults; owned objects forgotten, not freed
  // Frees children, decals, extras, docked list, draw order and the drawing interface.
  void Release() override;
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Widget; }
  // Relinks this tree, then copies the stored fields, clones of the decals, extras,
  // attachment and children into target (whose own are freed first) and rebuilds
  // the target's drawing order.
  virtual void CopyTo(C_Widget* target);
  // Once: the hook on this widget, then every child; Rect into the working copy.
  virtual void Prepare(WidgetHook hook);
  // Once prepared: the hook on this widget, then every child.
  virtual void Unprepare(WidgetHook hook);

  // --- tree ---------------------------------------------------------------------------
  // Parent, ParentList, Index of every child (recursively) and OrderIndex of every
  // entry of DrawOrder.
  void Relink();
  // Adds child (a scroll space passes it to its content part, a paged widget to
  // its first child), appending it to Children and DrawOrder. False when child is
  // none, already has a parent, is this widget or one of its ancestors, or memory
  // runs out.
  bool AddChild(C_Widget* child);
  // Depth-first over Children: name, tag and kind must all match; deep searches
  // each child's subtree right after the child.
  C_Widget* FindWidget(const char* name, uint32_t tag, uint16_t kind, bool deep) const;
  C_Widget* FindPart(uint16_t partId, uint16_t kind) const;
  C_Widget* ChildAt(uint32_t index) const;
  uint32_t ChildCount() const;
  // The first text layer of decal slot 0's Layers, or none.
  C_Layer_Text* FindTextLayer() const;
  // Sets Text; a form also sets its frames' (parts 4 to 7), a text box its text
  // area's (part 24).
  void SetText(const char* text);
  // Gives a freshly cloned widget its place, name and text.
  void Setup(const C_Rect& rect, const char* name, const char* text);
  // Sets up the root page: rect, client rectangle and name, kind and part 0.
  void SetupPage(const C_Rect& rect, const C_Rect& client, const char* name);

  // --- stored fields ------------------------------------------------------------------
  C_String Name;
  uint32_t Tag = 0;
  uint16_t Kind = KindPlain;
  uint16_t PartId = PartNone;
  C_Rect Rect;
  C_Rect ClientRect;
  C_Rect DragLimits;
  C_Decal* Decals[kDecalSlots] = {};  // owned, one per state slot
  C_Collection* Children = nullptr;   // owned widgets, in creation order
  int32_t Page = kAllPages;
  float MinWidth = 0;
  float MinHeight = 0;
  C_Rect SpareRect;                // stored and copied, not read
  C_Collection* Extras = nullptr;  // owned, stored and copied
  C_Color AltColor;                // stored and copied
  uint32_t AltSource = 0;
  C_Color Color;  // inherited by child layers through colour source 34
  uint32_t ColorSource = 0;
  float Opacity = 1;
  C_String Text;
  uint8_t SetUpFlag = 0;  // set by Setup; stored and copied, not read
  uint8_t Visible = 0;
  uint8_t SpareFlag = 0;  // stored and copied, not read
  uint8_t Checked = 0;
  uint8_t Movable = 0;
  uint8_t Resizable = 0;
  uint8_t BringToFront = 0;
  uint8_t Remembered = 1;
  uint16_t ActivationMode = 0;

  // --- run-time fields ----------------------------------------------------------------
  C_Widget* Parent = nullptr;
  C_Collection* ParentList = nullptr;  // the parent's Children
  int32_t Index = 0;                   // in the parent's Children
  int32_t OrderIndex = 0;              // in the parent's DrawOrder
  C_Collection* DrawOrder = nullptr;   // owned list (not items): children, last on top
  uint32_t State = StateNormal;
  uint8_t Inactive = 0;
  C_Widget* ActiveChild = nullptr;
  uint32_t EditEvent = 0;
  uint8_t Prepared = 0;
  C_Object* Attachment = nullptr;  // the caller's; a copy's clone belongs to the copy
  uint8_t OwnsAttachment = 0;      // 1: Attachment is a clone made by CopyTo
  uint32_t ImageRef = MakeImageRef(ImageNone, 0);
  C_Rect ImageRect;
  DrawOwner Owner;                 // the record the widget's own interface attaches to
  C_GraphicApi* Api = nullptr;     // the widget's own drawing interface
  C_Rect Resolved;                 // resolved rectangle
  C_Rect ResolvedClient;           // resolved client rectangle
  C_Rect WorkRect;                 // working copy of Rect during layout
  C_Rect ContentExtent;            // enlarged by GrowContent layers while drawn
  C_Vector2D ScrollOffset;         // a scroll space content's offset
  C_Collection* Docked = nullptr;  // owned list (not items): forms minimised in here
  float BaseX2 = 0;
  float BaseY2 = 0;

 protected:
  // The widget part of a record's fields; `stopped` is set when the version word
  // is not the current one (nothing more is read, success).
  bool WidgetFields(RecordVisitor& v, bool& stopped);
  // A derived widget's fields: the widget part, then its own version word; false
  // in `current` when either version stops the walk (the derived fields then
  // keep their defaults).
  bool DerivedVersion(RecordVisitor& v, bool& current);
  // Loads a record of this widget's class: a failed load leaves the widget
  // emptied, with -1 stored.
  bool LoadWidgetRecord(ByteStream* stream, int32_t context);
  // Frees what the widget owns and resets the widget fields to their defaults.
  void ClearWidget();

 private:
  bool DecalsField(RecordVisitor& v);
  bool HeldListField(RecordVisitor& v, const char* name, C_Collection*& list);
  bool DrawOrderField(RecordVisitor& v);
  void ReleaseWidget();
  void InitWidget();
  bool IsSelfOrAncestor(const C_Widget* widget) const;
};

// The widget drawing-order entry at index, or none.
C_Widget* DrawOrderAt(const C_Widget& widget, uint32_t index);
