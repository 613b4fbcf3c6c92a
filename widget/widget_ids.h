// The small numbers that say what a widget is (Kind) and what role it plays inside
// a composite parent (PartId), and the visual state slots of its decals.
#pragma once

#include <cstdint>

enum WidgetKind : uint16_t {
  KindPlain = 0,  // part of a composite, or the root page
  KindButton = 1,
  KindForm = 2,
  KindOption = 14,
  KindCheckBox = 15,
  KindHScrollBar = 16,
  KindVScrollBar = 17,
  KindTextBox = 23,
  KindScrollSpace = 27,
  KindGroupSeparator = 31,
  KindPressOption = 32,
};

enum WidgetPart : uint16_t {
  PartNone = 0,
  PartFrameNormal = 4,     // form frame for mode 0
  PartFrameMinimised = 5,  // mode 1
  PartFrameMaximised = 6,  // mode 2
  PartFrameRolledUp = 7,   // mode 3
  PartMinimise = 8,        // caption buttons: the form commands
  PartRestore = 9,
  PartMaximise = 10,
  PartRollUp = 11,
  PartThumb = 18,
  PartStepDown = 19,  // towards Minimum
  PartStepUp = 20,    // towards Maximum
  PartPageDown = 21,
  PartPageUp = 22,
  PartTextArea = 24,
  PartTextHScroll = 25,
  PartTextVScroll = 26,
  PartContent = 28,
  PartSpaceHScroll = 29,
  PartSpaceVScroll = 30,
};

// Decal slots, one per visual state.
inline constexpr int32_t kDecalSlots = 10;
enum DecalSlot : uint32_t {
  SlotNormal = 0,
  SlotActive = 1,  // state 0 of a widget on the active path
  SlotPressed = 3,
  SlotHovered = 4,
};
