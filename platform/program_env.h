// What a program learns from and asks of the platform around its windows: the
// folder of its executable, a video driver that needs no display, whether a
// display that shows windows can be opened, and why not, and the end of video.
// SDL wants its video started, its events pumped and itself shut down on one
// thread: a program calls all but ProgramFolder on the thread of its windows.
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

// Shuts the platform's video and events down (they start again when next used).
// A program calls it on the thread that used them; otherwise it happens at exit.
void CloseVideo();
