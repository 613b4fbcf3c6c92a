// Building surfaces from picture files: a colour channel and an alpha channel,
// each read with LoadImageFile.
#pragma once

#include <cstdint>

class C_Surface;

// Loads fileName into a new image and stores it in the surface under key, naming
// the surface after the file. On failure the image is deleted, the surface is left
// as it was and the result is false.
bool LoadChannel(C_Surface* surface, const char* fileName, int32_t key);

// A new surface with the colour file under key 1 and the alpha file under key 2,
// each allowed to fail on its own (the surface is then named after the last file
// that loaded). Null only when the surface itself cannot be allocated.
C_Surface* NewSurfaceFromFiles(const char* colourFile, const char* alphaFile);
