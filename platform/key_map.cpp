// Keyboard translation tables: SDL key codes to virtual-key codes and characters.
#include "platform/key_map.h"

#include <SDL.h>

namespace {

struct KeyPair {
  SDL_Keycode Sdl;
  int32_t Virtual;
};

// Keys whose SDL code is not their virtual-key code. Letters, digits and space
// are computed in VirtualKeyFromSdl.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, 8},
    {SDLK_TAB, 9},
    {SDLK_RETURN, 13},
    {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},
    {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},
    {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},
    {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},
    {SDLK_HOME, 36},
    {SDLK_LEFT, 37},
    {SDLK_UP, 38},
    {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},  // SDL's code is 127
    {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},
    {SDLK_KP_0, 96},
    {SDLK_KP_1, 97},
    {SDLK_KP_2, 98},
    {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},
    {SDLK_KP_5, 101},
    {SDLK_KP_6, 102},
    {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},
    {SDLK_KP_9, 105},
    {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111},
    {SDLK_F1, 112},
    {SDLK_F2, 113},
    {SDLK_F3, 114},
    {SDLK_F4, 115},
    {SDLK_F5, 116},
    {SDLK_F6, 117},
    {SDLK_F7, 118},
    {SDLK_F8, 119},
    {SDLK_F9, 120},
    {SDLK_F10, 121},
    {SDLK_F11, 122},
    {SDLK_F12, 123},
    {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
    {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

// Keypad keys and the characters they type (digits only with Num Lock on).
struct KeypadChar {
  SDL_Keycode Sdl;
  char Character;
};

constexpr KeypadChar kKeypad[] = {
    {SDLK_KP_MULTIPLY, '*'}, {SDLK_KP_PLUS, '+'}, {SDLK_KP_MINUS, '-'},
    {SDLK_KP_DIVIDE, '/'},   {SDLK_KP_ENTER, 13},
};

}  // namespace

int32_t VirtualKeyFromSdl(int32_t sdlKey) {
  if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) return 'A' + (sdlKey - SDLK_a);
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return sdlKey;  // 48..57 in both
  if (sdlKey == SDLK_SPACE) return 32;
  for (const KeyPair& key : kKeys) {
    if (key.Sdl == sdlKey) return key.Virtual;
  }
  return 0;
}

int32_t CharacterFromSdl(int32_t sdlKey, uint16_t modifiers) {
  const bool shift = (modifiers & KMOD_SHIFT) != 0;
  const bool control = (modifiers & KMOD_CTRL) != 0;
  if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) {
    const int32_t index = sdlKey - SDLK_a;
    if (control) return 1 + index;
    const bool capitals = shift != ((modifiers & KMOD_CAPS) != 0);
    return (capitals ? 'A' : 'a') + index;
  }
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return sdlKey;
  switch (sdlKey) {
    case SDLK_SPACE:
      return ' ';
    case SDLK_RETURN:
      return 13;
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_ESCAPE:
      return 27;
    default:
      break;
  }
  if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_0) {
    if ((modifiers & KMOD_NUM) == 0) return 0;
    return sdlKey == SDLK_KP_0 ? '0' : '1' + (sdlKey - SDLK_KP_1);
  }
  for (const KeypadChar& key : kKeypad) {
    if (key.Sdl == sdlKey) return key.Character;
  }
  return 0;
}

int32_t CharacterFromText(const char* utf8) {
  if (!utf8) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(utf8);
  if (b[0] < 0x80) return b[0];
  // Two-byte sequences up to U+00FF: 0xC2 or 0xC3 followed by a continuation byte.
  if ((b[0] == 0xC2 || b[0] == 0xC3) && (b[1] & 0xC0) == 0x80) {
    return ((b[0] & 0x1F) << 6) | (b[1] & 0x3F);
  }
  return 0;
}
