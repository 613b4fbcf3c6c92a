// Keyboard translation: SDL key codes to the virtual-key codes and single-byte
// characters the key handlers receive. Internal to platform/ (and its tests).
#pragma once

#include <cstdint>

// The virtual-key code of an SDL key code (SDL_Keycode); 0 for keys without one.
int32_t VirtualKeyFromSdl(int32_t sdlKey);

// The character a key gives when no text-input event names it: letters by Shift
// and Caps Lock, digits, space, Enter 13, Backspace 8, Tab 9, Escape 27, Ctrl with
// a letter 1..26, the keypad's digits and operators; 0 for the rest. modifiers is
// an SDL_Keymod mask.
int32_t CharacterFromSdl(int32_t sdlKey, uint16_t modifiers);

// The single-byte character of UTF-8 text's first code point (0..255), or 0 when
// the text is empty, malformed or starts beyond Latin-1.
int32_t CharacterFromText(const char* utf8);
