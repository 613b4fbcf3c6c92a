// Names of the codes stored in skin records, for record descriptions.
#pragma once

#include <cstdint>

// A colour source code: the system colour, "own colour" or "parent's colour".
const char* ColorSourceName(uint32_t code);
// What a press in a zone does ("click").
const char* ZoneActionName(uint32_t action);
// The cursor a zone shows ("resize NW-SE").
const char* CursorName(uint32_t cursor);
