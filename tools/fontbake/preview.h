// The sample sheet of a font pack, drawn through the text routine.
#pragma once

class C_Collection;

// Draws every font, kind, style and size of the pack (a label, a pangram and the
// codes 160 to 255) onto a white sheet and writes it as PNG. False with a message.
bool WritePreview(C_Collection& fonts, const char* path);
