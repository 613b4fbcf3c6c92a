// Cursor shapes on SDL's system cursors, with three drawn here that SDL lacks.
#include "platform/cursor.h"

#include <cstring>

#include "platform/window_record.h"

namespace {

constexpr int32_t kFirstCode = CursorAppStarting;
constexpr int32_t kCodeCount = CursorWait - CursorAppStarting + 1;

// Drawn cursors: 'X' black, '.' white, ' ' transparent; 16 pixels wide.
struct DrawnCursor {
  const char* Rows[16];
  int32_t HotX;
  int32_t HotY;
};

constexpr DrawnCursor kHelp = {
    {"X               ", "XX              ", "X.X      XXXX   ", "X..X    X....X  ",
     "X...X  X..XX..X ", "X....X X..XX..X ", "X.....X XX X..X ", "X......X  X..X  ",
     "X.......X X..X  ", "X....XXXX  XX   ", "X.XX.X    X..X  ", "XX X..X   X..X  ",
     "X  X..X    XX   ", "    X..X        ", "    X..X        ", "     XX         "},
    0,
    0};

constexpr DrawnCursor kIcon = {
    {"                ", " XXXXXXXXXXXXXX ", " X............X ", " X.XXXXXXXXXX.X ",
     " X.X        X.X ", " X.X        X.X ", " X.X        X.X ", " X.X        X.X ",
     " X.X        X.X ", " X.X        X.X ", " X.X        X.X ", " X.X        X.X ",
     " X.XXXXXXXXXX.X ", " X............X ", " XXXXXXXXXXXXXX ", "                "},
    7,
    7};

constexpr DrawnCursor kUpArrow = {
    {"       X        ", "      X.X       ", "     X...X      ", "    X.....X     ",
     "   X.......X    ", "  X.........X   ", " XXXXX...XXXXX  ", "     X...X      ",
     "     X...X      ", "     X...X      ", "     X...X      ", "     X...X      ",
     "     X...X      ", "     X...X      ", "     XXXXX      ", "                "},
    7,
    0};

SDL_Cursor* cursors[kCodeCount] = {};
bool attempted[kCodeCount] = {};
SDL_Cursor* shown = nullptr;

SDL_Cursor* MakeDrawnCursor(const DrawnCursor& drawn) {
  Uint8 data[16 * 2] = {};
  Uint8 mask[16 * 2] = {};
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16 && drawn.Rows[y][x]; ++x) {
      const char c = drawn.Rows[y][x];
      const int32_t byte = y * 2 + x / 8;
      const Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
      if (c == 'X') data[byte] |= bit;
      if (c != ' ') mask[byte] |= bit;
    }
  }
  return SDL_CreateCursor(data, mask, 16, 16, drawn.HotX, drawn.HotY);
}

SDL_Cursor* MakeCursor(int32_t code) {
  switch (code) {
    case CursorAppStarting:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAITARROW);
    case CursorArrow:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    case CursorCross:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR);
    case CursorHelp:
      return MakeDrawnCursor(kHelp);
    case CursorIcon:
      return MakeDrawnCursor(kIcon);
    case CursorNo:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
    case CursorSize:
    case CursorSizeAll:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEALL);
    case CursorSizeNESW:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENESW);
    case CursorSizeNS:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS);
    case CursorSizeNWSE:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE);
    case CursorSizeWE:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEWE);
    case CursorUpArrow:
      return MakeDrawnCursor(kUpArrow);
    case CursorWait:
      return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    default:
      return nullptr;
  }
}

}  // namespace

// Each cursor is made once; a driver that cannot make one (the dummy driver makes
// none) is not asked again, and the pointer keeps its look.
bool SetCursorShape(int32_t code) {
  if (code < kFirstCode || code >= kFirstCode + kCodeCount) return true;
  if (!EnsureVideo()) return true;
  const int32_t slot = code - kFirstCode;
  if (!attempted[slot]) {
    attempted[slot] = true;
    cursors[slot] = MakeCursor(code);
  }
  // Setting the shown cursor again would cost a round trip to the display on
  // every pointer move.
  if (cursors[slot] && cursors[slot] != shown) {
    SDL_SetCursor(cursors[slot]);
    shown = cursors[slot];
  }
  return true;
}

void FreeCursors() {
  for (int32_t i = 0; i < kCodeCount; ++i) {
    if (cursors[i]) SDL_FreeCursor(cursors[i]);
    cursors[i] = nullptr;
    attempted[i] = false;
  }
  shown = nullptr;
}
