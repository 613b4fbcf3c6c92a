// What a program learns from and asks of the platform before its first window:
// the folder of its executable, a video driver that needs no display, whether a
// display that shows windows can be opened, and why not.
#pragma once

#include "core/string.h"

// The folder holding the running executable, ending in '/'; empty when the
// platform cannot tell.
C_String ProgramFolder();

// Makes the next video start-up use the driver that shows nothing and needs no
// display. Only effective before video has started; false afterwards.
bool UseHeadlessVideo();

// Starts video and tells whether its windows can be seen: false when no driver
// starts, or when the only one that does draws off screen (no display at all),
// unless the user chose that driver through the environment.
bool OpenVisibleDisplay();

// The platform's last message about why video could not start (never null).
const char* VideoErrorText();
