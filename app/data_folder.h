// Finding the folder of the demo's data files, whatever the working directory.
#pragma once

#include <cstdint>

// The build assembles the data files into this folder of the build tree.
inline constexpr const char* kDataFolderName = "data";

// Writes the data folder, ending in '/', into out: the given folder when one is
// given; otherwise "data/" beside the executable, or in the folder above it (the
// build tree keeps the program in app/ and the data beside app/); otherwise the
// one beside the executable, so that the loading lines name where it was looked
// for. False when the result does not fit.
bool FindDataFolder(const char* given, const char* programFolder, char* out, int32_t size);
