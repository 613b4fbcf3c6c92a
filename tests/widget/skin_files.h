// The files the skin builder writes, read from the build tree, and a small painter
// that draws a template tree's decals the way a page shows them: each widget's rect
// resolved in its parent's client area, a paged widget showing its selected child
// and then child 0 over it, hidden widgets left out.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/collection.h"
#include "skin/decal_draw.h"
#include "widget/widget.h"

namespace skin_files {

// The eleven files, in the order the builder writes them.
inline constexpr const char* kWidgetFiles[] = {
    "form",     "vseparator", "hseparator", "frame",   "button",      "option",
    "checkbox", "hscroll",    "vscroll",    "textbox", "scrollspace",
};

std::string PathOf(const char* name);    // "<build>/widgets/<name>.wgt"
std::string PackPath(const char* pack);  // "<build>/<pack>"

// The sheets and fonts, read once; null when the files are missing.
C_Collection* Sheets();
C_Collection* Fonts();

// A template read from its file (through the registry, as its class), or null.
C_Widget* LoadTemplate(const char* name);

// Draws the tree with every widget in `slot` (slot 0 where a widget has none) and
// the checked flag given, the top widget at `rect`.
void DrawTree(C_GraphicApi* api, const DecalResources& resources, C_Widget* widget,
              const C_Rect& rect, uint32_t slot, uint8_t checked);

}  // namespace skin_files
