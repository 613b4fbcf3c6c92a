// The display-mode switch for full-screen drawing.
#pragma once

#include <cstdint>

// Switches the display to width x height at bits per pixel and makes the most
// recently opened window full-screen. When the current mode cannot be read, shows
// "Could Not Enum Display Settings" and returns false. When the switch fails,
// shows "Display Mode Not Compatible", posts the quit message (exit code 0) and
// returns true, as it does on success.
bool SetDisplayMode(int32_t width, int32_t height, int32_t bits);
