// Writing the demo's current 512 x 512 view as a picture file.
#pragma once

#include <cstdint>

// Writes the view of viewMode as a PNG: the height field as 16-bit grey, the
// normal map and the bump-shaded view as 8-bit RGB. False when the view's image
// does not exist or the file cannot be written.
bool ExportViewPng(const char* path, int32_t viewMode);
