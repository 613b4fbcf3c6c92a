// Finding the folder of the demo's data files, whatever the working directory.
#pragma once

#include <cstdint>

// The build assembles the data files into this folder of the build tree.
inline constexpr const char* kDataFolderName = "data";
// An installed program reads them from this folder under the installation prefix
// (/usr/share/dappleforge beside /usr/bin/dappleforge).
inline constexpr const char* kInstalledDataFolder = "share/dappleforge";

// Writes the data folder, ending in '/', into out: the given folder when one is
// given; otherwise the first that exists of "data/" beside the executable, in the
// folder above it or the one above that (the build tree keeps the demo in app/,
// the tools in tools/<name>/ and the data in data/), and "../share/dappleforge/"
// from it (an installed program); otherwise the one beside the executable, so
// that the loading lines name where it was looked for. False when the result
// does not fit.
bool FindDataFolder(const char* given, const char* programFolder, char* out, int32_t size);
