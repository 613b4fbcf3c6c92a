// The demo's GUI: the option list built from the templates, and PaintOverlay, the
// paint handler that composes every frame (background, view, light sprite, status
// lines, widgets) and presents it.
#pragma once

#include <cstdint>

class C_Collection;
class C_Desktop;
class C_FontType;
class C_GraphicApi;
class C_String;
class C_Surface;
class C_Widget;

// The shell's objects that the overlay reads (owned by the window shell; null
// outside its run).
extern C_Desktop* DemoDesktop;         // the desktop with the root page
extern C_Collection* FontPack;         // fonts read from "fonts.pak"
extern C_Collection* GuiGraphicsPack;  // sheets read from "guigfx.pak", held by the desktop
extern C_Surface* LightSurface;        // the light sprite (colour and alpha)
extern C_FontType* StatusFontType;     // "Arial" size 10: the status lines' type
extern C_String* StatusText;           // holds the status lines while they are drawn

// The option widgets: six option buttons in two groups of three, split by one
// separator, in the order they are appended to the root page.
inline constexpr int32_t kOptionCount = 6;
inline constexpr const char* kOptionNames[kOptionCount] = {"Option1", "Option2", "Option3",
                                                           "Option4", "Option5", "Option6"};
inline constexpr const char* kOptionLabels[kOptionCount] = {
    "Lumps", "Blobs", "Perlin Noise", "Height Map", "Normal Map", "BumpMapping"};
// The kind the option step looks for, and the separator's group-separator kind.
inline constexpr uint16_t kOptionKind = 14;
inline constexpr uint16_t kGroupSeparatorKind = 31;

// Clones the option list and separator from the two templates onto the desktop's
// root page, with Lumps (or the option of initialShape) and Height Map (or that of
// initialView) checked. False when a clone cannot be made or appended.
bool BuildOptionList(C_Desktop* desktop, C_Widget* optionTemplate, C_Widget* separatorTemplate,
                     int32_t initialShape, int32_t initialView);

// Sets the modes from the checked options; a group with none checked keeps its mode,
// and of several checked the last wins.
void ReadOptions(const C_Desktop* desktop, int32_t& shapeMode, int32_t& viewMode);

// The paint handler: draws the frame into api's back buffer and presents it;
// that is DrawOverlay, PaintWidgets, then the interface's Present.
bool PaintOverlay(C_GraphicApi* api);
// The background, the view, the light sprite in the bump view and the status lines.
void DrawOverlay(C_GraphicApi* api);
// The desktop's layout, the root page's update and the widgets' paint pass.
void PaintWidgets();

// The text of a status line ("Generation: 152 fps") into buffer, without allocating.
void FormatStatusLine(char* buffer, int32_t size, const char* prefix, float rate);
