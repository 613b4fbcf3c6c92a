#include "skin/code_names.h"

const char* ColorSourceName(uint32_t code) {
  static const char* const kSystem[] = {"3-D dark shadow",
                                        "3-D face",
                                        "button face",
                                        "3-D highlight",
                                        "3-D highlight",
                                        "button highlight",
                                        "button highlight",
                                        "3-D light",
                                        "3-D shadow",
                                        "button shadow",
                                        "active border",
                                        "active caption",
                                        "app workspace",
                                        "desktop",
                                        "desktop",
                                        "button text",
                                        "caption text",
                                        "grey text",
                                        "highlight",
                                        "highlight text",
                                        "inactive border",
                                        "inactive caption",
                                        "inactive caption text",
                                        "tooltip",
                                        "tooltip text",
                                        "menu",
                                        "menu text",
                                        "scroll bar",
                                        "black",
                                        "black",
                                        "window",
                                        "window frame",
                                        "window text",
                                        "own colour",
                                        "parent's colour"};
  if (code < sizeof kSystem / sizeof kSystem[0]) return kSystem[code];
  return "black";
}

const char* ZoneActionName(uint32_t action) {
  static const char* const kActions[] = {"none",
                                         "move",
                                         "left edge",
                                         "top edge",
                                         "right edge",
                                         "bottom edge",
                                         "top-left corner",
                                         "top-right corner",
                                         "bottom-left corner",
                                         "bottom-right corner",
                                         "move horizontally",
                                         "move vertically",
                                         "click",
                                         "text-edit focus"};
  if (action < sizeof kActions / sizeof kActions[0]) return kActions[action];
  return "no action";
}

const char* CursorName(uint32_t cursor) {
  static const char* const kCursors[] = {"arrow with hourglass",
                                         "arrow",
                                         "cross-hair",
                                         "arrow with question mark",
                                         "icon",
                                         "slashed circle",
                                         "size",
                                         "move",
                                         "resize NE-SW",
                                         "resize N-S",
                                         "resize NW-SE",
                                         "resize W-E",
                                         "up arrow",
                                         "hourglass"};
  if (cursor >= 64 && cursor < 64 + sizeof kCursors / sizeof kCursors[0])
    return kCursors[cursor - 64];
  return "unknown cursor";
}
