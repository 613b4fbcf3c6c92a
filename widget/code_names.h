// Names of the widget codes that the system acts on, for record descriptions.
#pragma once

#include <cstdint>

// What a widget Kind makes of the widget ("push button").
const char* WidgetKindName(uint32_t kind);
// The role a PartId gives a widget inside its composite parent ("thumb").
const char* WidgetPartName(uint32_t part);
